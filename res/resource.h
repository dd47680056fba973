// Numeric ids of the program's resources. Plain #defines only, so that both
// the C++ sources and windres can read this file.
#pragma once

// Version resource (the system headers define it too, with the same value).
#ifndef VS_VERSION_INFO
#define VS_VERSION_INFO                 1
#endif

// Main frame: menu, accelerators, icon and document string share one id.
#define IDR_MAINFRAME                   128

// Dialog templates
#define IDD_WELCOME_PANEL               174

// Bitmaps
#define IDB_WELCOME_LOGO_MAKER          281
#define IDB_WELCOME_LOGO_PARTNER        270

// File menu
#define ID_FILE_NEW_TEST                32804
#define ID_FILE_NEW                     57600
#define ID_FILE_OPEN                    57601
#define ID_FILE_SAVE                    57603
#define ID_FILE_SAVE_CURRENT_TEST       32805
#define ID_FILE_PRINT                   57607
#define ID_APP_EXIT                     57665

// File > Print Report / Preview Report / Print Report to PDF File
#define ID_PRINT_TEST_REPORT            32887
#define ID_PRINT_ZONE_DATA_REPORT       32864
#define ID_PRINT_GRAPH                  32865
#define ID_PREVIEW_TEST_REPORT          32891
#define ID_PREVIEW_ZONE_DATA_REPORT     32870
#define ID_PREVIEW_GRAPH                32871
#define ID_PDF_TEST_REPORT              32895
#define ID_PDF_ZONE_DATA_REPORT         32876
#define ID_PDF_GRAPH                    32882

// Options menu
#define ID_OPTIONS_BUSINESS_INFO        32785
#define ID_OPTIONS_EQUIPMENT_INFO       32803
#define ID_OPTIONS_DEVICE_CONNECTION    32807
#define ID_OPTIONS_UNITS_SELECTION      32808
#define ID_OPTIONS_LARGE_METERS         32815

// Goto menu
#define ID_GOTO_BUILDING_TEST_INFO      32819
#define ID_GOTO_COMMENTS                32820
#define ID_GOTO_TEST_SETTINGS           32821
#define ID_GOTO_STANDARD_DATA_ENTRY     211
#define ID_GOTO_TEST_GRAPH              32822
#define ID_GOTO_TEST_RESULTS            32823
#define ID_GOTO_ZONE_DATA               32824
#define ID_GOTO_TEST_INFORMATION        32844

// Help menu; the PDF entries are added at run time, one per file found.
#define ID_APP_ABOUT                    57664
#define ID_HELP_PDF_1                   1031
#define ID_HELP_PDF_2                   1032
#define ID_HELP_PDF_3                   1033
#define ID_HELP_PDF_4                   1034
#define ID_HELP_PDF_5                   1035
#define ID_HELP_PDF_6                   1036

// String table
#define IDS_OPEN                        4005
#define IDS_TEST_FILE_NOT_OPEN          4415
#define IDS_VERSION                     4472
#define IDS_BUILDING_AIRTIGHTNESS       22000
#define IDS_APP_TITLE                   57344
#include "resource-units.h"
#include "resource-teststore.h"
#include "resource-settings.h"
#include "resource-messages.h"
#include "resource-help.h"
#include "resource-fancal.h"
#include "resource-navigation.h"
#include "resource-zones.h"
#include "resource-deviations.h"
#include "resource-filesave.h"
#include "resource-results.h"
#include "resource-fileopen.h"
#include "resource-resultspage.h"
#include "resource-adapter.h"
#include "resource-devicescan.h"
#include "resource-selection.h"
#include "resource-commands.h"
#include "resource-testrun.h"
#include "resource-report.h"
#include "resource-pages.h"
#include "resource-testsettings.h"
#include "resource-graph.h"
#include "resource-manualdata.h"
#include "resource-testreport.h"
#include "resource-idle.h"
#include "resource-standarddata.h"
#include "resource-environment.h"
#include "resource-fancontrol.h"
#include "resource-teststep.h"
#include "resource-cruise.h"
#include "resource-pdf.h"
#include "resource-zonereport.h"
#include "resource-preview.h"
#include "resource-infopages.h"
