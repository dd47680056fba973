// Program-wide values that exist before anything else starts.
#pragma once

#include "framework/Framework.h"

class CSimbrel1View;

// File named on the command line; opened at the view's first paint.
extern CString g_strStartupFile;
// Prefixes of the per-direction keys of test files.
extern const CString g_strDepressKeyPrefix;   // "D_"
extern const CString g_strPressKeyPrefix;     // "P_"
// Messages of the PDF printer driver.
extern const UINT g_nPdfFileSavedMessage;
extern const UINT g_nPdfPrintErrorMessage;
// The program's version "a.b.c.d", written into every saved file.
extern CString g_strProgramVersion;
// The user's application-data and documents folders (empty when unknown).
extern CString g_strUserDataRoot;
extern CString g_strDocumentsFolder;
// The main window's normal rectangle when no placement is stored.
extern const CRect g_rcDefaultFrame;
// Factory texts of the test settings: target tolerance, samples per
// station, fan adjust rate, building high-pressure limit, fan start percentage.
extern const CString g_strDefaultTargetTolerance;
extern const CString g_strDefaultDataSamples;
extern const CString g_strDefaultFanAdjust;
extern const CString g_strDefaultHighPressureLimit;
extern const CString g_strDefaultFanStartPercent;

// The one view, valid from the end of its initial update.
extern CSimbrel1View* g_pView;
// 1 after the user asked to see the network error texts.
extern int g_bVerboseWifiErrors;
// Live gauge readings are allowed (the test screen sets it).
extern int g_bLiveReadings;
// The direction slot the pages show: 0 pressurization, 1 depressurization.
extern int g_nCurrentDirection;
