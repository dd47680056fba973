// Ids of the network adapter configuration dialog and of the Data Box Info
// dialog with its device pages, and their texts.
#pragma once

#define IDD_WIFI_LINK_CONFIG            282
#define IDD_DEVICE_DATA                 245
#define IDD_PRIMARY_PORT_TAB            248
#define IDD_AUX1_PORT_TAB               249
#define IDD_AUX2_PORT_TAB               250
#define IDD_AUX3_PORT_TAB               251

// Adapter configuration.
#define IDC_WIFI_CHANNEL                2498
#define IDC_WIFI_SSID                   2499
#define IDC_WIFI_SSID_LABEL             2500
#define IDC_WIFI_PASSWORD               2501
#define IDC_WIFI_PASSWORD_LABEL         2502
#define IDC_WIFI_TITLE                  2503
#define IDC_WIFI_SSID_CONFIRM           2504
#define IDC_WIFI_SSID_CONFIRM_LABEL     2505
#define IDC_WIFI_CHANNEL_LABEL          2506
#define IDC_WIFI_PASSWORD_CONFIRM       2507
#define IDC_WIFI_MODE_AP                2508
#define IDC_WIFI_MODE_ROUTER            2509
#define IDC_WIFI_PASSWORD_CONFIRM_LABEL 2510
#define IDC_WIFI_MODE_GROUP             2513

// Data Box Info.
#define IDC_DEVICE_DATA_TABS            2302
#define IDC_DEVICE_DATA_NO_ACTION       2003

// Texts.
#define IDS_WIFI_CONFIG_CAPTION         16400
#define IDS_WIFI_TITLE_FORMAT           16401
#define IDS_WIFI_CONNECTION_MODE        16402
#define IDS_WIFI_AP_DIRECT              16403
#define IDS_WIFI_ROUTER                 16404
#define IDS_WIFI_AP_CHANNEL             16405
#define IDS_WIFI_CONFIRM_SSID           16406
#define IDS_WIFI_PASSWORD               16407
#define IDS_WIFI_CONFIRM_PASSWORD       16408
#define IDS_WIFI_APPLY_AND_EXIT         16409
#define IDS_WIFI_SSID_REQUIRED          16410
#define IDS_WIFI_SSID_NOT_CONFIRMED     16411
#define IDS_WIFI_PASSWORD_NOT_CONFIRMED 16412
#define IDS_WIFI_CHANNEL_TOO_LONG       16413
#define IDS_WIFI_SSID_TOO_LONG          16414
#define IDS_WIFI_PASSWORD_TOO_LONG      16415
#define IDS_WIFI_MODE_REQUIRED          16416
#define IDS_WIFI_NOT_REACHED            16417
#define IDS_WIFI_COMMAND_FAILED         16418

#define IDS_DEVICE_DATA_CAPTION         16430
#define IDS_DEVICE_TAB_PRIMARY          16431
#define IDS_DEVICE_TAB_AUX1             16432
#define IDS_DEVICE_TAB_AUX2             16433
#define IDS_DEVICE_TAB_AUX3             16434
#define IDS_PANEL_SERIAL_NUMBER         16435
#define IDS_PANEL_CALIBRATION_DATE      16436
#define IDS_PANEL_FIRMWARE_VERSION      16437
#define IDS_PANEL_PRESSURE_SENSORS      16438
#define IDS_PANEL_BATTERY_VOLTAGE       16439
#define IDS_PANEL_WIFI_ADDRESS          16440
#define IDS_PANEL_SERIAL_PORT           16441
#define IDS_PANEL_CALIBRATION_READINGS  16442
#define IDS_PANEL_VOLTAGE               16443
#define IDS_PANEL_LO_RANGE              16444
#define IDS_PANEL_HI_RANGE              16445
#define IDS_PANEL_ANALOG                16446
#define IDS_PANEL_PRESSURE_1            16447
// 16448 to 16454: "Pressure #2:" to "Pressure #8:"
