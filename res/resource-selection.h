// Ids of the standard selection and units selection dialogs.
#pragma once

// Standard selection of a new test.
#define IDD_STANDARD_SELECTION          259
#define IDC_STANDARD_LIST               2335
#define IDC_STANDARD_LABEL              2336
#define IDC_STANDARD_SET_DEFAULT        2331
#define IDC_STANDARD_HELP               1165
#define IDS_TEST_STANDARD               4268
#define IDS_SET_AS_DEFAULT_NEW_TESTS    17045
#define IDS_STANDARD_SELECTION_CAPTION  17046

// Units selection.
#define IDD_UNITS_SELECTION             179
#define IDC_UNITS_FLOW_GROUP            2154
#define IDC_UNITS_TEMPERATURE_GROUP     2155
#define IDC_UNITS_BUILDING_GROUP        2156
#define IDC_UNITS_LEAKAGE_GROUP         2157
#define IDC_UNITS_FLOW_CFM              1426
#define IDC_UNITS_FLOW_M3H              1427
#define IDC_UNITS_FLOW_LS               1428
#define IDC_UNITS_TEMPERATURE_F         1429
#define IDC_UNITS_TEMPERATURE_C         1430
#define IDC_UNITS_BUILDING_FT           1431
#define IDC_UNITS_BUILDING_M            1432
#define IDC_UNITS_LEAKAGE_IN            1433
#define IDC_UNITS_LEAKAGE_CM            1434
#define IDC_UNITS_SET_DEFAULTS          1442
#define IDC_UNITS_HELP                  1447
#define IDC_UNITS_NO_ACTION             1773
#define IDS_FLOW                        4260
#define IDS_TEMPERATURE                 5065
#define IDS_BUILDING_DIMENSIONS         10016
#define IDS_UNITS_SELECTION_CAPTION     10190
#define IDS_UNITS_CFM_LONG              10191
#define IDS_UNITS_M3H_LONG              10192
#define IDS_UNITS_LS_LONG               10193
#define IDS_UNITS_FEET                  10194
#define IDS_LEAKAGE_DIMENSIONS          10195
#define IDS_SET_AS_DEFAULTS_NEW_TESTS   10196
#define IDS_UNITS_INCHES                10197
#define IDS_UNITS_CENTIMETERS           10198
#define IDS_UNITS_FAHRENHEIT_LONG       10199
#define IDS_UNITS_CENTIGRADE_LONG       10200
#define IDS_UNITS_METERS                5029
