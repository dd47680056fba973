// Ids of the test screen: its template, its controls and its texts.
#pragma once

#define IDD_TEST_GRAPH                  135

#define IDC_TG_START                    1054
#define IDC_TG_FAN_PRESSURE             1056
#define IDC_TG_FLOW                     1057
#define IDC_TG_BUILDING_PRESSURE        1058
#define IDC_TG_FAN_TYPE                 1059
#define IDC_TG_COMPLETED_TESTS          1061
#define IDC_TG_CLEAR                    1063
#define IDC_TG_RING_LIST                1064
#define IDC_TG_DIRECTION_LIST           1065
#define IDC_TG_FAN_SLIDER               1070
#define IDC_TG_FAN_SPEED                1071
#define IDC_TG_BASELINE                 1074
#define IDC_TG_SAMPLE_COUNT             1081
#define IDC_TG_ELAPSED                  1082
#define IDC_TG_NEXT                     1134
#define IDC_TG_PREVIOUS                 1135
#define IDC_TG_CRUISE                   1182
#define IDC_TG_RESULTS                  1196
#define IDC_TG_FLOW_CAPTION             1278
#define IDC_TG_FAN_READOUT              1279
#define IDC_TG_BUILDING_READOUT         1280
#define IDC_TG_SAMPLE                   1473
#define IDC_TG_PAUSE                    1474
#define IDC_TG_STATUS                   1475
#define IDC_TG_ZONE_READOUT_FIRST       1528
#define IDC_TG_ZONE_READOUT_LAST        1533
#define IDC_TG_EDIT_ENVIRONMENT         2344

#define IDS_COMMUNICATION_LOST          4343
#define IDS_MEASURING_BASELINE          4055
#define IDS_AUTO_ZEROING                4083
#define IDS_SAMPLING_DATA               4089
#define IDS_ADJUSTING_FAN_FOR_TARGET    4091
#define IDS_STOP_TEST_CAPTION           4571
#define IDS_PRIMARY_DEVICE              8020
#define IDS_AUX1_DEVICE                 8021
#define IDS_AUX2_DEVICE                 8022
#define IDS_AUX3_DEVICE                 8023
#define IDS_LOW_BATTERY_LINE            8026
#define IDS_TEST_WILL_BE_TERMINATED     21507
#define IDS_IDLE_MONITORING_TERMINATED  21515
#define IDS_LOST_CONNECTION_RECONNECT   22204
