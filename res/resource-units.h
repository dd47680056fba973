// Ids of the units of measure: the names of each unit and the building
// page's area and volume labels.
#pragma once

#define IDS_UNIT_FT                     4062
#define IDS_UNIT_M                      4063
#define IDS_UNIT_IN                     4064
#define IDS_UNIT_CM                     4065
#define IDS_UNIT_F                      4066
#define IDS_UNIT_C                      4067
#define IDS_UNIT_FT2                    4073
#define IDS_UNIT_M2                     4074
#define IDS_UNIT_FT3                    4075
#define IDS_UNIT_M3                     4076
#define IDS_UNIT_CFM                    4233
#define IDS_UNIT_M3H                    4234
#define IDS_UNIT_LS                     4235
