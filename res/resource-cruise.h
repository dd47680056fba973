// Ids of the cruise dialog, the data point selection dialog and the test
// screen's control captions and command messages (res/cruise.rc).
#pragma once

#define IDD_CRUISE                      160
#define IDC_CRUISE_PRESSURE             1051
#define IDC_CRUISE_BASELINE_YES         1065
#define IDC_CRUISE_BASELINE_NO          1072
#define IDC_CRUISE_HELP                 1230
#define IDC_CRUISE_NO_ACTION            1761
#define IDC_CRUISE_GROUP                2134
#define IDC_CRUISE_PRESSURE_LABEL       2135

#define IDD_DATA_POINT_SELECTED         256
#define IDC_SELECTED_HELP               1165
#define IDC_SELECTED_PRESSURE_LABEL     1727
#define IDC_SELECTED_RING_LABEL         1729
#define IDC_SELECTED_DELETE             2323
#define IDC_SELECTED_FLOW_LABEL         2326
#define IDC_SELECTED_SINGLE_LABEL       2327
#define IDC_SELECTED_PRESSURE           2328
#define IDC_SELECTED_FLOW               2329
#define IDC_SELECTED_RING               2330
#define IDC_SELECTED_ROW1               2331
#define IDC_SELECTED_ROW2               2332
#define IDC_SELECTED_ROW3               2333
#define IDC_SELECTED_ROW4               2334

#define IDS_TEST_GRAPH_AUTO             4031
#define IDS_TEST_GRAPH_MANUAL           4032
#define IDS_DATA_COMBINED_ON_GRAPH      4035
#define IDS_CRUISE_PRESSURE_RANGE       4056
#define IDS_CRUISE_ABOVE_LIMIT          4057
#define IDS_NOT_ENOUGH_ZONE_CHANNELS    4097
#define IDS_FAN_FLOW                    4372
#define IDS_CLEAR_CURRENT_TEST_DATA     4395
#define IDS_DEACTIVATE_ZONAL_TESTING    4640
#define IDS_TEST_GRAPH_SEMI_AUTO        16012
#define IDS_SECONDS                     17031
#define IDS_ARE_YOU_SURE                17037
#define IDS_DATA_POINT_SELECTED         17038
#define IDS_DELETE_DATA_POINT           17039
#define IDS_TARGET_PRESSURE             17040
#define IDS_EDIT_ENVIRONMENTAL_DATA     17057
#define IDS_TG_STATUS_LABEL             10082
#define IDS_DATA_BOX_INFO               10083
#define IDS_FAN_SPEED_LABEL             10084
#define IDS_FAN_PRESSURE_PA             10085
#define IDS_BLDG_PRESSURE_PA            10086
#define IDS_BLDG_BASELINE_PA            10087
#define IDS_COMPLETED_TESTS             10088
#define IDS_NUMBER_OF_SAMPLES           10089
#define IDS_PAUSE                       10090
#define IDS_SAMPLE                      10091
#define IDS_DATA_TABLE                  10093
#define IDS_CRUISE_TEST_CONDITIONS      10110
#define IDS_CRUISE_BASELINE             10111
#define IDS_CRUISE_PRESSURE_PA          10112
#define IDS_CANCEL_CRUISE               10113
#define IDS_TARGET_ABOVE_LIMIT          22100

// Controls of the test screen (template 135) that only the captions and
// commands name.
#define IDC_TG_HELP                     1165
#define IDC_TG_DATA_TABLE               1253
#define IDC_TG_N50_LABEL                1450
#define IDC_TG_DATA_BOX_INFO            1402
#define IDC_TG_NO_ACTION                1412
#define IDC_TG_HIDDEN_LABEL             1270
#define IDC_TG_FAN_SPEED_LABEL          1276
#define IDC_TG_BASELINE_LABEL           1281
#define IDC_TG_COMPLETED_LABEL          1282
#define IDC_TG_SAMPLES_LABEL            1283
#define IDC_TG_SECONDS_LABEL            1284
#define IDC_TG_STATUS_LABEL             1476
#define IDC_TG_TO_RESULTS_LABEL         1861
#define IDC_TG_TO_SETTINGS_LABEL        1862
