// Ids of the Test Settings page (template IDD_TEST_SETTINGS, 148) and its
// texts.
#pragma once

// Controls.
#define IDC_SETTINGS_STANDARD_LIST      2304
#define IDC_SETTINGS_STANDARD_LABEL     2305
#define IDC_SETTINGS_DEFAULT_PRESSURES  1132
#define IDC_SETTINGS_CUSTOM_PRESSURES   1115
#define IDC_SETTINGS_EDIT_CUSTOM        1116
#define IDC_SETTINGS_PRESSURES_GROUP    1362
#define IDC_SETTINGS_MANUAL             1133
#define IDC_SETTINGS_AUTO               1067
#define IDC_SETTINGS_SEMI_AUTO          1068
#define IDC_SETTINGS_METHOD_GROUP       1699
#define IDC_SETTINGS_SAMPLES            1143
#define IDC_SETTINGS_SAMPLES_LABEL      1377
#define IDC_SETTINGS_FAN_ADJUST         1144
#define IDC_SETTINGS_FAN_ADJUST_LABEL   1378
#define IDC_SETTINGS_TOLERANCE          1145
#define IDC_SETTINGS_TOLERANCE_LABEL    1379
#define IDC_SETTINGS_LIMIT              1395
#define IDC_SETTINGS_LIMIT_LABEL        1396
#define IDC_SETTINGS_FAN_START          1397
#define IDC_SETTINGS_FAN_START_LABEL    1398
#define IDC_SETTINGS_AUTO_GROUP         1382
#define IDC_SETTINGS_FACTORY            1381
#define IDC_SETTINGS_ZONAL_ACTIVE       1519
#define IDC_SETTINGS_ZONAL_SETTINGS     1520
#define IDC_SETTINGS_ZONAL_GROUP        1657
#define IDC_SETTINGS_SET_AS_DEFAULTS    1442
#define IDC_SETTINGS_MODE_GROUP         1777
#define IDC_SETTINGS_PRESSURIZE         1273
#define IDC_SETTINGS_DEPRESSURIZE       1065
#define IDC_SETTINGS_HELP               1177
#define IDC_SETTINGS_PREVIOUS           1114
#define IDC_SETTINGS_PREVIOUS_LABEL     1812
#define IDC_SETTINGS_NEXT               1113
#define IDC_SETTINGS_NEXT_LABEL         1813
#define IDC_SETTINGS_NO_ACTION          1393
// Further controls of the template that the page keeps hidden.
#define IDC_SETTINGS_LIST_1             2036
#define IDC_SETTINGS_LIST_2             2037
#define IDC_SETTINGS_LIST_3             2038
#define IDC_SETTINGS_LIST_4             2039
#define IDC_SETTINGS_LABEL_1            2251
#define IDC_SETTINGS_LABEL_2            2257
#define IDC_SETTINGS_LABEL_3            2258
#define IDC_SETTINGS_LABEL_4            2259
#define IDC_SETTINGS_FIELD_1            2525
#define IDC_SETTINGS_FIELD_2            2526
#define IDC_SETTINGS_FIELD_3            2527
#define IDC_SETTINGS_FIELD_4            2528
#define IDC_SETTINGS_FRAME              2320

// Texts.
#define IDS_MSG_HIGH_PRESSURE_WARNING   4045
#define IDS_MSG_HIGH_PRESSURE_RANGE     4046
#define IDS_ZONAL_PRESSURE_SETTINGS     4092
#define IDS_CUSTOM                      4284
#define IDS_MSG_CHANGE_CLEARS_DATA      4342
#define IDS_TEST_METHOD_LOWER           4365
#define IDS_DEFAULT                     4416
#define IDS_MSG_FAN_START_RANGE         4638
#define IDS_EDIT_CUSTOM_PRESSURES       5025
#define IDS_TO_EN_DATA_ENTRY            5104
#define IDS_PRESSURIZE                  7004
#define IDS_DEPRESSURIZE                7003
#define IDS_TO_COMMENTS                 10020
#define IDS_FAN_ADJUST_RATE             10061
#define IDS_TARGET_TOLERANCE_PA         10062
#define IDS_HIGH_PRESSURE_LIMIT_PA      10063
#define IDS_FAN_START_PERCENT           10064
#define IDS_TEST_SETTINGS_CAPTION       10220
#define IDS_STANDARD                    10221
#define IDS_TEST_MODE                   10223
#define IDS_METHOD                      10224
#define IDS_MANUAL                      10225
#define IDS_AUTO                        10226
#define IDS_ZONAL_PRESSURES             10227
#define IDS_ACTIVE                      10228
#define IDS_SETTINGS                    10229
#define IDS_AUTO_TEST_PARAMETERS        10230
#define IDS_SAMPLES_PER_STATION         10231
#define IDS_RESTORE_FACTORY_SETTINGS    10232
#define IDS_TEST_PRESSURES              10233
#define IDS_SEMI_AUTO                   16011
