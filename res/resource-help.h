// Ids of the help panel and of the texts of the view's small services.
#pragma once

#define IDD_HELP_PANEL                  158
#define IDC_HELP_TEXT                   1168

#define IDS_HELP_NOT_AVAILABLE          4356
#define IDS_HELP_EXIT                   10165
#define IDS_RING                        4086
#define IDS_ADJUSTED_PRESSURE_WARNING   4637
#define IDS_PRESSURIZATION_TEST         17034
#define IDS_DEPRESSURIZATION_TEST       17035
