// Ids of the EN 13829 and ISO 9972 data pages and the equipment dialog.
#pragma once

#define IDD_EQUIPMENT_INFO              252

// The EN 13829 and ISO 9972 data pages.
#define IDC_STD_WIND_CLASS              2015
#define IDC_STD_WIND_CLASS_LABEL        2016
#define IDC_STD_NO_ACTION               2017
#define IDC_STD_NEXT                    2018
#define IDC_STD_PREVIOUS                2019
#define IDC_STD_WIND_EXPOSURE           2020
#define IDC_STD_WIND_EXPOSURE_LABEL     2021
#define IDC_STD_HELP                    2022
#define IDC_STD_PREVIOUS_LABEL          2030
#define IDC_STD_NEXT_LABEL              2031
#define IDC_STD_EN_METHOD               2036
#define IDC_STD_METHOD_LABEL            2038
#define IDC_STD_ISO_METHOD              2040
#define IDC_STD_HEATING                 2074
#define IDC_STD_HEATING_LABEL           2075
#define IDC_STD_AIR_CONDITIONING        2076
#define IDC_STD_AIR_CONDITIONING_LABEL  2077
#define IDC_STD_VENTILATION_NONE        2078
#define IDC_STD_REGULATION              2079
#define IDC_STD_REGULATION_LABEL        2080
#define IDC_STD_VENTILATION_DESCRIBED   2081
#define IDC_STD_VENTILATION             2082
#define IDC_STD_VENTILATION_GROUP       2083
#define IDC_STD_LIMIT_TYPE              2354
#define IDC_STD_LIMIT_LABEL             2356
#define IDC_STD_LIMIT_VALUE             2357
#define IDC_STD_LIMIT_UNIT              2358
#define IDC_STD_LIMIT_SIGN              2359
#define IDC_STD_REQUIREMENT_GROUP       2360
#define IDC_STD_ISO_VENTILATION_LABEL   2532

// The equipment dialog.
#define IDC_EQUIP_NO_ACTION             2203
#define IDC_EQUIP_FAN                   2258
#define IDC_EQUIP_GAUGE                 2259
#define IDC_EQUIP_FAN_SERIAL            2260
#define IDC_EQUIP_CALIBRATION           2261
#define IDC_EQUIP_GAUGE_SERIAL          2264
#define IDC_EQUIP_GAUGE_MAKER           2267
#define IDC_EQUIP_HELP                  2284
#define IDC_EQUIP_GROUP                 2303
#define IDC_EQUIP_FAN_LABEL             2304
#define IDC_EQUIP_GAUGE_LABEL           2305
#define IDC_EQUIP_MAKER_LABEL           2308
#define IDC_EQUIP_MODEL_LABEL           2309
#define IDC_EQUIP_SERIAL_LABEL          2310
#define IDC_EQUIP_DATE_PICKER           2350
#define IDC_EQUIP_DATE_LABEL            2361
#define IDC_EQUIP_MANUAL_LABEL          2362
#define IDC_EQUIP_SET_AS_DEFAULTS       1442
#define IDC_EQUIP_FAN_MAKER             2268

// Texts of the data pages.
#define IDS_STD_WIND_CLASS              5001
#define IDS_STD_WIND_CALM               5002
#define IDS_STD_WIND_LIGHT_AIR          5003
#define IDS_STD_WIND_LIGHT_BREEZE       5004
#define IDS_STD_WIND_GENTLE_BREEZE      5005
#define IDS_STD_WIND_MODERATE_BREEZE    5006
#define IDS_STD_WIND_FRESH_BREEZE       5007
#define IDS_STD_WIND_STRONG_BREEZE      5008
#define IDS_STD_WIND_MODERATE_GALE      5009
#define IDS_STD_WIND_FRESH_GALE         5010
#define IDS_STD_WIND_EXPOSURE           5020
#define IDS_STD_EXPOSURE_PROTECTED      5021
#define IDS_STD_EXPOSURE_PARTLY         5022
#define IDS_STD_EXPOSURE_HIGHLY         5023
#define IDS_STD_EN_CAPTION              5032
#define IDS_STD_TO_TEST_SETTINGS        5034
#define IDS_STD_TEST_METHOD             5069
#define IDS_STD_REGULATION              5070
#define IDS_STD_HEATING                 5071
#define IDS_STD_AIR_CONDITIONING        5072
#define IDS_STD_VENTILATION             5077
#define IDS_STD_REQUIREMENT             17070
#define IDS_STD_LIMITING_VALUE          17071
#define IDS_STD_PREPARATION_METHOD      22307
#define IDS_STD_ISO_METHOD_1            22308
#define IDS_STD_ISO_METHOD_2            22309
#define IDS_STD_ISO_METHOD_3            22310
#define IDS_STD_PURPOSE                 22311

// Texts of the equipment dialog.
#define IDS_EQUIP_CAPTION               16001
#define IDS_EQUIP_MANUFACTURER          16002
#define IDS_EQUIP_FAN                   16003
#define IDS_EQUIP_MICROMANOMETER        16004
#define IDS_EQUIP_MODEL                 16007
#define IDS_EQUIP_EQUIPMENT             4270
#define IDS_EQUIP_SERIAL_NUMBER         6001
#define IDS_EQUIP_CALIBRATION_DATE      6002
#define IDS_EQUIP_CUSTOM_CALIBRATION    10163
#define IDS_EQUIP_MANUAL_TEST           17074
#define IDS_EQUIP_FAN_TYPE              4393
#define IDS_EQUIP_CALIBRATION_CHANGED   4053
