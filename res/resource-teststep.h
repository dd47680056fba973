// Ids of the messages of a test run: its start, baselines, stops and end
// (res/teststep.rc).
#pragma once

#define IDS_COVER_FAN_INLET_START       4001
#define IDS_REMOVE_INLET_COVER          4004
#define IDS_COVER_FAN_INLET_END         4012
#define IDS_NO_BUILDING_PRESSURE        4041
#define IDS_END_TESTING_QUESTION        4355
#define IDS_NO_TEST_PRESSURES           4401
#define IDS_EXCESSIVE_FLUCTUATION       4403
#define IDS_END_CRUISING_QUESTION       4412
#define IDS_RETAIN_TEST_DATA            4482
#define IDS_BASELINE_RESULT             5050
#define IDS_ALL_PRETEST_TEMP_ALTITUDE   16040
#define IDS_SCANNING_FOR_DEVICES        17044
#define IDS_YES_CUSTOMIZE_TARGETS       17078
#define IDS_NO_PROCEED_WITH_TEST        17079
#define IDS_NO_ROOM_FOR_TEST            21660
