// Ids of the Deviations from Standard page and of the texts the standard
// checks leave in a test's deviation list.
#pragma once

#define IDD_DEVIATIONS                  240

#define IDC_DEVIATIONS_TEXT             1054
#define IDC_DEVIATIONS_NO_ACTION        2003
#define IDC_DEVIATIONS_TITLE            2290
#define IDC_DEVIATIONS_PREVIOUS         2291
#define IDC_DEVIATIONS_NEXT             2292
#define IDC_DEVIATIONS_PREVIOUS_LABEL   2293
#define IDC_DEVIATIONS_NEXT_LABEL       2294
#define IDC_DEVIATIONS_HELP             2295
#define IDC_DEVIATIONS_INCLUDE          2537

#define IDS_PREVIOUS                    5036
#define IDS_NONE                        5079
#define IDS_TO_ZONE_DATA                10033
#define IDS_TO_TEST_RESULTS             10092
#define IDS_DEVIATIONS_FROM_STANDARD    17025
#define IDS_DEVIATIONS_CAPTION          17072
#define IDS_INCLUDE_DEVIATIONS          22326
#define IDS_BUILDING_HEIGHT_REQUIRED    17015

#define IDS_DEV_NOT_ALL_8_TARGETS       17000
#define IDS_DEV_OFF_TARGET              17001
#define IDS_DEV_POINT_FLOW_ERROR        17002
#define IDS_DEV_PRESSURE_GAP            17003
#define IDS_DEV_FEWER_THAN_5_POINTS     17004
#define IDS_DEV_N_VALUE                 17005
#define IDS_DEV_CORRELATION             17006
#define IDS_DEV_NO_PRESSURIZATION       17010
#define IDS_DEV_NO_DEPRESSURIZATION     17011
#define IDS_DEV_EQLA_ERROR              17012
#define IDS_DEV_BASELINE                17014
#define IDS_DEV_LOWEST_PRESSURE         22312
#define IDS_DEV_HIGHEST_BELOW_25        22314
#define IDS_DEV_HIGHEST_BELOW_50        22315
#define IDS_DEV_DETERMINATION           22322
