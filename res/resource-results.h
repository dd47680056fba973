// Ids of the result texts: labels, units and formats of the results.
#pragma once

#define IDS_UNIT_PER_HOUR                   4081
#define IDS_AIR_CHANGE_RATE                 7023
#define IDS_FLOOR_AREA                      10018
#define IDS_SURFACE_AREA                    10019
#define IDS_UNIT_PA                         22205
#define IDS_ENVELOPE_AREA                   22304
#define IDS_UNIT_IN2                        7101
#define IDS_UNIT_CM2                        7102
#define IDS_CANADIAN_EQLA                   7103
#define IDS_LBL_ELA                         7104
#define IDS_OR                              7105
#define IDS_FLOW_COEFFICIENT                7106
#define IDS_FLOW_COEFFICIENT_FORMAT         7107
#define IDS_AIR_LEAKAGE_COEFFICIENT         7108
#define IDS_AIR_LEAKAGE_COEFFICIENT_FORMAT  7109
#define IDS_AIR_FLOW_COEFFICIENT            7110
#define IDS_EXPONENT                        7111
#define IDS_EXPONENT_FORMAT                 7112
#define IDS_ASSUMED                         7113
#define IDS_CORRELATION_COEFFICIENT         7114
#define IDS_CORRELATION_COEFFICIENT_FORMAT  7115
#define IDS_COEFFICIENT_OF_DETERMINATION    7116
#define IDS_UNIT_HOUR                       7117
