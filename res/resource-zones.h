// Ids of the zone pressures: the zonal set-up dialog, the zone data page and
// their texts.
#pragma once

#define IDD_ZONAL_PRESSURE_SETUP        181
#define IDD_ZONE_DATA                   182

// Zonal set-up: Activate checks, names and the Outside/Inside radio pairs of
// P3 to P8 (there is no 1487).
#define IDC_ZONE_ACTIVE_P3              1479
#define IDC_ZONE_ACTIVE_P4              1480
#define IDC_ZONE_ACTIVE_P5              1481
#define IDC_ZONE_ACTIVE_P6              1482
#define IDC_ZONE_ACTIVE_P7              1483
#define IDC_ZONE_ACTIVE_P8              1484
#define IDC_ZONE_NAME_P3                1485
#define IDC_ZONE_NAME_P4                1486
#define IDC_ZONE_NAME_P5                1488
#define IDC_ZONE_NAME_P6                1489
#define IDC_ZONE_NAME_P7                1490
#define IDC_ZONE_NAME_P8                1491
#define IDC_ZONE_OUTSIDE_P3             1492
#define IDC_ZONE_OUTSIDE_P4             1494
#define IDC_ZONE_OUTSIDE_P5             1495
#define IDC_ZONE_OUTSIDE_P6             1496
#define IDC_ZONE_OUTSIDE_P7             1497
#define IDC_ZONE_OUTSIDE_P8             1498
#define IDC_ZONE_INSIDE_P3              1493
#define IDC_ZONE_INSIDE_P4              1499
#define IDC_ZONE_INSIDE_P5              1500
#define IDC_ZONE_INSIDE_P6              1501
#define IDC_ZONE_INSIDE_P7              1502
#define IDC_ZONE_INSIDE_P8              1503
#define IDC_ZONE_SETUP_HELP             1518
#define IDC_ZONE_SETUP_NO_ACTION        1681
#define IDC_ZONE_ACTIVATE_HEAD          2158
#define IDC_ZONE_NAME_HEAD              2159
#define IDC_ZONE_REFERENCE_GROUP        2160
#define IDC_ZONE_OUTSIDE_HEAD           2161
#define IDC_ZONE_INSIDE_HEAD            2162
#define IDC_ZONE_AUX1_DEVICE            2538
#define IDC_ZONE_AUX2_DEVICE            2539
#define IDC_ZONE_AUX3_DEVICE            2540

// Zone data page.
#define IDC_ZONE_GRAPH_AREA             1535
#define IDC_ZONE_GRAPHED_P3             1536
#define IDC_ZONE_GRAPHED_P8             1541
#define IDC_ZONE_REF_P3                 1542
#define IDC_ZONE_BUILDING_TO_ZONE_P3    1548
#define IDC_ZONE_TO_OUTSIDE_P3          1554
#define IDC_ZONE_PRESSURE_ERROR_P3      1560
#define IDC_ZONE_RATIO_P3               1658
#define IDC_ZONE_RATIO_ERROR_P3         1664
#define IDC_ZONE_PAGE_HELP              1579
#define IDC_ZONE_PREVIOUS               1670
#define IDC_ZONE_NEXT                   1671
#define IDC_ZONE_PAGE_NO_ACTION         1775
#define IDC_ZONE_HEAD_ZONE              1874
#define IDC_ZONE_HEAD_GRAPHED           1875
#define IDC_ZONE_HEAD_REF               1876
#define IDC_ZONE_HEAD_BUILDING          1877
#define IDC_ZONE_HEAD_TO_ZONE           1878
#define IDC_ZONE_HEAD_OUTSIDE           1883
#define IDC_ZONE_HEAD_ZONE_TO           1884
#define IDC_ZONE_HEAD_PRESSURE          1887
#define IDC_ZONE_HEAD_RATIO             1888
#define IDC_ZONE_PREVIOUS_LABEL         1889
#define IDC_ZONE_NEXT_LABEL             1890

// Texts.
#define IDS_BUILDING_PRESSURE_PA        4003
#define IDS_ZONAL_PRESSURES_PA          4464
#define IDS_ZONE_SETUP_CAPTION          14100
#define IDS_ZONE_ACTIVATE               14101
#define IDS_ZONE_NAME                   14102
#define IDS_ZONE_WITH_REFERENCE_TO      14103
#define IDS_ZONE_OUTSIDE                14104
#define IDS_ZONE_INSIDE                 14105
#define IDS_ZONE_DATA_CAPTION           14110
#define IDS_ZONE_GRAPH_AREA             14111
#define IDS_ZONE_HEAD_ZONE              14112
#define IDS_ZONE_HEAD_GRAPHED           14113
#define IDS_ZONE_HEAD_REF               14114
#define IDS_ZONE_HEAD_BUILDING          14115
#define IDS_ZONE_HEAD_TO_ZONE           14116
#define IDS_ZONE_HEAD_ZONE_TO           14117
#define IDS_ZONE_HEAD_OUTSIDE           14118
#define IDS_ZONE_HEAD_PRESSURE          14119
#define IDS_ZONE_HEAD_RATIO             14120
#define IDS_ZONE_PREVIOUS               14121
#define IDS_ZONE_NEXT                   14122
#define IDS_ZONE_TO_TEST_RESULTS        14123
#define IDS_ZONE_TO_DEV_FROM_STD        14124
#define IDS_ZONE_TO_INFORMATION         14125
#define IDS_ZONE_REF_IN                 14126
#define IDS_ZONE_REF_OUT                14127
