// Ids of the zone data report's texts.
#pragma once

#define IDS_ZR_NOMINAL_BUILDING_PRESSURE 4465
#define IDS_ZR_ZONE_PRESSURE_PA          4466
#define IDS_ZR_ZONE_NAME                 4468
#define IDS_ZR_BUILDING_TO_ZONE          4469
#define IDS_ZR_ZONE_TO_OUTSIDE           4470
#define IDS_ZR_ZONE_PRESSURE_ERROR       4471
#define IDS_ZR_REFERENCE                 4473
#define IDS_ZR_PRESSURE_RATIO            4475
#define IDS_ZR_PRESSURE_RATIO_ERROR      4476
#define IDS_ZR_ZPD_INPUT_TABLE           4631
#define IDS_ZR_BASELINE_STD_DEVIATION    4632
#define IDS_ZR_ZONE_TO_OUTSIDE_AT_50     4633
#define IDS_ZR_BLOWER_DOOR_FLOW          4634
#define IDS_ZR_LARGEST_RING_USED         4635
