// Ids of the pause, adjust-settings and ring dialogs and of the fan and
// ring messages of a running test (res/fancontrol.rc).
#pragma once

#define IDD_TEST_PAUSE                  224
#define IDD_ADJUST_SETTINGS             225
#define IDD_CHANGE_RING                 166
#define IDD_RING_TYPE                   139

#define IDC_PAUSE_ADJUST                2101
#define IDC_PAUSE_PROCEED               2102
#define IDC_PAUSE_STOP                  2103
#define IDC_PAUSE_HELP                  1165
#define IDC_PAUSE_NO_ACTION             2003

#define IDC_ADJUST_FAN_ADJUST           2106
#define IDC_ADJUST_FAN_ADJUST_LABEL     2107
#define IDC_ADJUST_TOLERANCE            2108
#define IDC_ADJUST_TOLERANCE_LABEL      2109
#define IDC_ADJUST_LIMIT                2110
#define IDC_ADJUST_LIMIT_LABEL          2111
#define IDC_ADJUST_FAN_START            2112
#define IDC_ADJUST_FAN_START_LABEL      2188
#define IDC_ADJUST_HELP                 1165
#define IDC_ADJUST_NO_ACTION            2003

#define IDC_CHANGE_RING_FIRST           1355
#define IDC_CHANGE_RING_SECOND          1086
#define IDC_CHANGE_RING_OR              2131
#define IDC_CHANGE_RING_HELP            1384
#define IDC_CHANGE_RING_WARNING         2363
#define IDC_CHANGE_RING_NO_ACTION       1767

#define IDC_RING_TYPE_QUESTION          2151
#define IDC_RING_TYPE_GROUP             2152
#define IDC_RING_TYPE_NONE              1064
#define IDC_RING_TYPE_RING1             1226
#define IDC_RING_TYPE_RING2             1066
#define IDC_RING_TYPE_RING3             1225
#define IDC_RING_TYPE_RING4             1072
#define IDC_RING_TYPE_RING5             1073
#define IDC_RING_TYPE_TERMINATE         1190
#define IDC_RING_TYPE_HELP              1086
#define IDC_RING_TYPE_NO_ACTION         1758

#define IDS_TEST_PAUSE_CAPTION          10070
#define IDS_ADJUST_AUTO_SETTINGS        10071
#define IDS_PROCEED_WITH_CRUISE         7002
#define IDS_STOP_CRUISE                 4429
#define IDS_TEST_IS_PAUSED              7000
#define IDS_CRUISING_IS_PAUSED          7001
#define IDS_ADJUST_SETTINGS_CAPTION     10060
#define IDS_CHANGE_RING_CAPTION         10050
#define IDS_RING_OR                     10051
#define IDS_ISO_MIN_TARGET_CHECK        22321
#define IDS_BASELINE_MIN_TARGET_CHECK   17077
#define IDS_BELOW_10_PA_TARGET_CHECK    17081
#define IDS_HIGH_BASELINE_CAPTION       17080
#define IDS_MIN_TARGET_CAPTION          22324
#define IDS_RING_TYPE_CAPTION           10170
#define IDS_RING_TYPE_QUESTION          10171
#define IDS_RING_TYPE_GROUP             10173
#define IDS_RING_TYPE_NONE              10174
#define IDS_WORD_CRUISE                 4428
#define IDS_WORD_TEST                   4430
#define IDS_WORD_TERMINATE              4431
#define IDS_WORD_PROCEED_WITH           4432
#define IDS_REMOVE_ALL_RINGS            4021
#define IDS_INSTALL_RING                4022
#define IDS_PRESS_TO_CONTINUE_TEST      4027
#define IDS_PRESS_TO_END_AT_PREVIOUS    4042
#define IDS_PRESS_TO_END_CRUISE         4043
#define IDS_FLOW_TOO_SMALL              4016
#define IDS_PRESS_OK_TERMINATE_TEST     4017
#define IDS_PRESS_OK_TERMINATE_CRUISE   4039
#define IDS_NO_FAN_PRESSURE             4026
#define IDS_FULL_SPEED_NO_BUILDING      4020
#define IDS_NO_FAN_OR_BUILDING          4025
#define IDS_WRONG_SIGN_FAN              4018
#define IDS_WRONG_SIGN_BUILDING         4402
#define IDS_TERMINATE_TEST_QUESTION     4051
#define IDS_MAX_PRESSURE_EXCEEDED       4037
#define IDS_CANNOT_REACH_TARGET_RING    4061
#define IDS_CANNOT_REACH_TARGET_OPEN    4015
