// Strings of the printed test report and the graph report.
#pragma once

// First page.
#define IDS_TR_AIRFLOW                  7010
#define IDS_TR_RESULTS_AT_50            7008
#define IDS_TR_V50                      7012
#define IDS_TR_N50                      7013
#define IDS_TR_W50                      7014
#define IDS_TR_Q50                      7015
#define IDS_TR_TECHNICIAN_COLON         4441
#define IDS_TR_CUSTOMER                 4262
#define IDS_TR_BUILDING_ADDRESS         4568
#define IDS_TR_LEAKAGE_AREAS            4265
#define IDS_TR_LEAKAGE_CURVE            4267
#define IDS_TR_TEST_MODE                4269
#define IDS_TR_CGSB                     4283
#define IDS_TR_EN13829                  5000
#define IDS_TR_E779                     16009
#define IDS_TR_AND                      5062
#define IDS_TR_TEST_METHOD_TYPE         5069
#define IDS_TR_PURPOSE_OF_TEST          22311
#define IDS_TR_REGULATION               5070

// Building and equipment page.
#define IDS_TR_SURFACE_AREA             4335
#define IDS_TR_FLOOR_AREA               4337
#define IDS_TR_UNCERTAINTY              17028
#define IDS_TR_HEATING                  5071
#define IDS_TR_AIR_CONDITIONING         5072
#define IDS_TR_VENTILATION              5077
#define IDS_TR_WIND_EXPOSURE            5020
#define IDS_TR_EXPOSURE_PROTECTED       5021
#define IDS_TR_EXPOSURE_PARTLY          5022
#define IDS_TR_EXPOSURE_HIGHLY          5023
#define IDS_TR_WIND_CLASS               5001
#define IDS_TR_WIND_CALM                5002
#define IDS_TR_ACCORDING_TO_ISO         22305
#define IDS_TR_ACCORDING_TO_NATIONAL    22306
#define IDS_TR_EQUIPMENT_INFORMATION    16001
#define IDS_TR_TYPE                     17029
#define IDS_TR_MANUFACTURER             16002
#define IDS_TR_MODEL                    16007
#define IDS_TR_SERIAL_NUMBER            6001
#define IDS_TR_FAN                      16003
#define IDS_TR_MICROMANOMETER           16004

// Test data and comments pages.
#define IDS_TR_ENVIRONMENTAL_DATA       17026
#define IDS_TR_DEVIATIONS_TITLE         17027
#define IDS_TR_INDOOR_TEMPERATURE       4077
#define IDS_TR_OUTDOOR_TEMPERATURE      4078
#define IDS_TR_BAROMETRIC_PRESSURE      5026
#define IDS_TR_ALTITUDE                 5027
#define IDS_TR_PRE_TEST                 5060
#define IDS_TR_POST_TEST                5061
#define IDS_TR_BASELINE_DATA            17088
#define IDS_TR_BASELINE_PRE             17086
#define IDS_TR_BASELINE_POST            17087
#define IDS_TR_DATA_POINTS              4340
#define IDS_TR_COLLECTED_USING          17075
#define IDS_TR_METHOD_MANUAL            4417
#define IDS_TR_METHOD_AUTOMATED         22223
#define IDS_TR_METHOD_SEMI              22224
#define IDS_TR_COL_NOMINAL_PRESSURE     4377
#define IDS_TR_COL_ADJUSTED_PRESSURE    17056
#define IDS_TR_COL_FAN_PRESSURE         4378
#define IDS_TR_COL_NOMINAL_FLOW         4379
#define IDS_TR_COL_ADJUSTED_FLOW        17047
#define IDS_TR_COL_ERROR                4381
#define IDS_TR_COL_FAN_CONFIGURATION    4382
#define IDS_TR_NOT_AVAILABLE            4341
#define IDS_TR_COMMENTS                 4339
#define IDS_TR_CONTINUED                4404
#define IDS_TR_COMMENTS_CONTINUED       17084
