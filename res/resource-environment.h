// Ids of the environment entry dialogs (temperatures, barometric pressure,
// altitude), included by resource.h.
#pragma once

#define IDD_TEMPERATURE_ENTRY           159
#define IDD_TEMPERATURE_BAROMETRIC      221
#define IDD_TEMPERATURE_ALTITUDE        253

// Controls the dialogs share.
#define IDC_ENV_INDOOR                  1051
#define IDC_ENV_OUTDOOR                 1227
#define IDC_ENV_INDOOR_LABEL            1441
#define IDC_ENV_OUTDOOR_LABEL           1440
#define IDC_ENV_HINT                    2153
#define IDC_ENV_HINT_BAROMETRIC         2047
#define IDC_ENV_HELP                    1165
#define IDC_ENV_TEST_LIST               2345
#define IDC_ENV_TEST_LIST_LABEL         2346
#define IDC_ENV_NO_ACTION               1392
#define IDC_ENV_NO_ACTION_BAROMETRIC    2088
#define IDC_ENV_NO_ACTION_ALTITUDE      2202
#define IDC_ENV_ALTITUDE                2027
#define IDC_ENV_ALTITUDE_UNIT           2313

// Barometric pressure dialog.
#define IDC_ENV_TEMPERATURE_GROUP       2048
#define IDC_ENV_PRESSURE_GROUP          2023
#define IDC_ENV_PRESSURE                2026
#define IDC_ENV_SOURCE_STANDARD         2030
#define IDC_ENV_SOURCE_PRESSURE         2024
#define IDC_ENV_SOURCE_ALTITUDE         2025
#define IDC_ENV_STANDARD_VALUE          2071
#define IDC_ENV_STANDARD_UNIT           2072
#define IDC_ENV_PRESSURE_UNIT           2028

// Altitude dialog.
#define IDC_ENV_PRE_INDOOR              2189
#define IDC_ENV_PRE_OUTDOOR             2190
#define IDC_ENV_POST_INDOOR             2191
#define IDC_ENV_POST_OUTDOOR            2192
#define IDC_ENV_PRE_HEAD                2308
#define IDC_ENV_POST_HEAD               2309
#define IDC_ENV_ALTITUDE_LABEL          2310
#define IDC_ENV_INDOOR_ROW_LABEL        2311
#define IDC_ENV_OUTDOOR_ROW_LABEL       2312

#define IDS_ENV_INDOOR_TEMPERATURE      4077
#define IDS_ENV_OUTDOOR_TEMPERATURE     4078
#define IDS_ENV_DEGREE                  4426
#define IDS_ENV_BAROMETRIC_PRESSURE     5026
#define IDS_ENV_ALTITUDE                5027
#define IDS_ENV_PRE_TEST                5060
#define IDS_ENV_POST_TEST               5061
#define IDS_ENV_STANDARD                5098
#define IDS_ENV_TEMPERATURE_ENTRY       10180
#define IDS_ENV_PRE_INDOOR              11026
#define IDS_ENV_PRE_OUTDOOR             11027
#define IDS_ENV_POST_INDOOR             11028
#define IDS_ENV_POST_OUTDOOR            11029
#define IDS_ENV_HINT_TEMPERATURE        16032
#define IDS_ENV_HINT_BAROMETRIC         16033
#define IDS_ENV_BAROMETRIC_ENTRY        16035
#define IDS_ENV_ALTITUDE_ENTRY          16036
#define IDS_ENV_HINT_PRETEST            16041
#define IDS_ENV_HINT_POSTTEST           16042
#define IDS_ENV_CLEAR_ENTRIES           17033
#define IDS_ENV_EDIT_TEMPERATURE        17058
#define IDS_ENV_TEST_NUMBER             17059
#define IDS_ENV_KEEP_CHANGES            17060
#define IDS_ENV_EDIT_BAROMETRIC         17061
#define IDS_ENV_EDIT_ALTITUDE           17062
