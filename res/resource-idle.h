// Ids of the test screen's live readings, device status line, battery
// check and large meters.
#pragma once

#define IDS_START_TEST_CAPTION          4394
#define IDS_FAN_BLOWER_DOOR_R_110       4009
#define IDS_WRONG_SIGN_BUILDING         4402
#define IDS_MAX_BUILDING_PRESSURE       4037
#define IDS_IDLE_MONITORING             4090
#define IDS_FAN_BLOWER_DOOR_R_230       4079
#define IDS_FAN_BLOWER_DOOR_S_230       4080
#define IDS_ACH50                       4474
#define IDS_BOX_BATTERY_LOW             8025
#define IDS_INSUFFICIENT_CHANNELS       8037
#define IDS_OFF_LINE                    17041
#define IDS_FLOW_LOW                    17076
#define IDS_IS_NOT_CONNECTED            17085
#define IDS_GAUGE_BATTERY_TOO_LOW       21601
