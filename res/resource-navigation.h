// Ids of the page dialogs that the view moves between, until each page's
// own area gives it its full template.
#pragma once

#define IDD_BUILDING_INFO               133
#define IDD_COMMENTS                    134
#define IDD_TEST_SETTINGS               148
#define IDD_EN13829_DATA                210
#define IDD_ISO9972_DATA                283

// The one entry field of these pages.
#define IDC_PAGE_FIELD                  1000
