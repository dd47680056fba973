// Ids of the business letterhead dialog and the comments page.
#pragma once

// The business letterhead dialog (template 149).
#define IDD_BUSINESS_INFO               149
#define IDC_BUS_NAME                    1122
#define IDC_BUS_NAME2                   1124
#define IDC_BUS_ADDRESS                 1117
#define IDC_BUS_ADDRESS2                1399
#define IDC_BUS_CITY                    1118
#define IDC_BUS_STATE                   1119
#define IDC_BUS_ZIP                     1120
#define IDC_BUS_PHONE                   1121
#define IDC_BUS_FAX                     1448
#define IDC_BUS_EMAIL                   1449
#define IDC_BUS_WEBSITE                 1450
#define IDC_BUS_NAME_LABEL              2122
#define IDC_BUS_NAME2_LABEL             2123
#define IDC_BUS_ADDRESS_LABEL           2124
#define IDC_BUS_ADDRESS2_LABEL          2125
#define IDC_BUS_CITY_LABEL              2126
#define IDC_BUS_STATE_LABEL             2127
#define IDC_BUS_ZIP_LABEL               2128
#define IDC_BUS_PHONE_LABEL             2129
#define IDC_BUS_FAX_LABEL               2130
#define IDC_BUS_EMAIL_LABEL             2131
#define IDC_BUS_WEBSITE_LABEL           2132
#define IDC_BUS_LOAD_LOGO               2339
#define IDC_BUS_DELETE_LOGO             2340
#define IDC_BUS_HEADER_LOGO_LABEL       2341
#define IDC_BUS_LOGO_POSITION_LABEL     2342
#define IDC_BUS_LOGO_POSITION           2343
#define IDC_BUS_HELP                    1229
#define IDC_BUS_CLEAR                   1123
#define IDC_BUS_NO_ACTION               1387

#define IDS_BUS_NAME                    10040
#define IDS_BUS_NAME2                   10041
#define IDS_BUS_CAPTION                 10042
#define IDS_BUS_ADDRESS                 10043
#define IDS_BUS_ADDRESS2                10044
#define IDS_BUS_HEADER_LOGO             17049
#define IDS_BUS_REPORT_LOGO             17050
#define IDS_BUS_LOAD_LOGO               17051
#define IDS_BUS_DELETE_LOGO             17052
#define IDS_BUS_REPLACE_LOGO            17053
#define IDS_BUS_DELETE_LOGO_QUESTION    17055
#define IDS_BUS_LOGO_NOT_USABLE         17090

// The comments page (template 134).
#define IDD_COMMENTS                    134
#define IDC_COMMENTS_TEXT               1051
#define IDC_COMMENTS_NEXT               1052
#define IDC_COMMENTS_PREVIOUS           1053
#define IDC_COMMENTS_CLEAR              1127
#define IDC_COMMENTS_HELP               1175
#define IDC_COMMENTS_NEXT_LABEL         1838
#define IDC_COMMENTS_PREVIOUS_LABEL     1680
#define IDC_COMMENTS_NO_ACTION          1765
// The building preparation block the page never shows.
#define IDC_COMMENTS_PREP_GROUP         2289
#define IDC_COMMENTS_PREP_LABEL         2290
#define IDC_COMMENTS_PREP_TEXT          1054
#define IDC_COMMENTS_PREP_1             2523
#define IDC_COMMENTS_PREP_2             2525
#define IDC_COMMENTS_PREP_3             2526
#define IDC_COMMENTS_PREP_4             2527
#define IDC_COMMENTS_PREP_5             2528
#define IDC_COMMENTS_PREP_6             2529
#define IDC_COMMENTS_PREP_7             2530
#define IDC_COMMENTS_PREP_8             2531

#define IDS_COMMENTS_TO_BLDG_INFO       4478
