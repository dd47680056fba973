// Ids of the test information pages' shared texts and of the custom
// pressures dialog.
#pragma once

#define IDS_CLEAR_ALL_ENTRIES           4024
#define IDS_CLEAR                       10034
#define IDS_CUSTOM_PRESSURES_CAPTION    10120
#define IDS_CUSTOM_PRESSURES_GROUP      10121

#define IDD_CUSTOM_PRESSURES            154
// The twelve pressure fields, #1 to #12.
#define IDC_CUSTOM_PRESSURE_1           1051
#define IDC_CUSTOM_PRESSURE_2           1150
#define IDC_CUSTOM_PRESSURE_3           1151
#define IDC_CUSTOM_PRESSURE_4           1152
#define IDC_CUSTOM_PRESSURE_5           1153
#define IDC_CUSTOM_PRESSURE_6           1154
#define IDC_CUSTOM_PRESSURE_7           1155
#define IDC_CUSTOM_PRESSURE_8           1156
#define IDC_CUSTOM_PRESSURE_9           1157
#define IDC_CUSTOM_PRESSURE_10          1158
#define IDC_CUSTOM_PRESSURE_11          1052
#define IDC_CUSTOM_PRESSURE_12          1159
#define IDC_CUSTOM_PRESSURES_GROUP      2137
#define IDC_CUSTOM_PRESSURES_HELP       1228
#define IDC_CUSTOM_PRESSURES_CLEAR      1188
#define IDC_CUSTOM_PRESSURES_NO_ACTION  1390
