// Ids of the device scan, the device selection of AUTO SELECT, the Device
// Connection dialog and its Port Test, and their texts.
#pragma once

#define IDD_COM_PORT_SELECT             177
#define IDD_PORT_TEST                   231
#define IDD_SCAN_FOR_DEVICES            232
#define IDD_DEVICE_SELECTION            284

// Scan for Devices.
#define IDC_SCAN_START                  2183
#define IDC_SCAN_INSTRUCTIONS           2184
#define IDC_SCAN_REPORT                 2187
#define IDC_SCAN_CONFIGURE              2505
#define IDC_SCAN_NO_ACTION              2003

// Device selection.
#define IDC_DEVICE_SELECTION_LIST       2535
#define IDC_DEVICE_SELECTION_TEXT       2536

// Device Connection.
#define IDC_PORT_PRIMARY                1407
#define IDC_PORT_HELP                   1408
#define IDC_PORT_AUX1                   1410
#define IDC_PORT_AUX2                   1411
#define IDC_PORT_AUX3                   1412
#define IDC_PORT_PRIMARY_LABEL          2133
#define IDC_PORT_AUX1_LABEL             2134
#define IDC_PORT_AUX2_LABEL             2135
#define IDC_PORT_AUX3_LABEL             2136
#define IDC_PORT_SCAN                   2177
#define IDC_PORT_TEST_PRIMARY           2182
#define IDC_PORT_TEST_AUX1              2183
#define IDC_PORT_TEST_AUX2              2184
#define IDC_PORT_TEST_AUX3              2185
#define IDC_PORT_AUTO_SELECT            2186
#define IDC_PORT_OFF_LINE               2187
#define IDC_PORT_AUX_GROUP              2322
#define IDC_PORT_NO_ACTION              1769

// Port Test.
#define IDC_PORT_TEST_TITLE             2176
#define IDC_PORT_TEST_RESULT            2177

// Texts.
#define IDS_SCAN_CAPTION                16300
#define IDS_SCAN_START                  16301
#define IDS_SCAN_CONFIGURE              16302
#define IDS_SCAN_INSTRUCTIONS           16303
#define IDS_SCAN_IN_PROCESS             16304
#define IDS_SCAN_PLEASE_WAIT            16305
#define IDS_SCAN_NETWORK_DEVICES        16306
#define IDS_SCAN_NONE                   16307
#define IDS_SCAN_NET_BUSY               16308
#define IDS_SCAN_NET_AVAILABLE          16309
#define IDS_SCAN_NET_REFUSED            16310
#define IDS_SCAN_COM_CONNECTIONS        16311
#define IDS_SCAN_COM_DEVICE             16312
#define IDS_SCAN_PORT_AVAILABLE         16313
#define IDS_SCAN_PORT_MODEM             16314
#define IDS_SCAN_PORT_DENIED            16315
#define IDS_SCAN_NO_DEVICES             16316
#define IDS_SCAN_FAILED                 16317
#define IDS_SCAN_WIFI_CHANGED           16318
#define IDS_SELECT_CAPTION              16320
#define IDS_SELECT_TEXT                 16321
#define IDS_SELECT_REQUIRED             16322
#define IDS_PORTS_CAPTION               16330
#define IDS_PORTS_OFF_LINE              16331
#define IDS_PORTS_AUTO_SELECT           16332
#define IDS_PORTS_PRIMARY               16333
#define IDS_PORTS_AUX1                  16334
#define IDS_PORTS_AUX2                  16335
#define IDS_PORTS_AUX3                  16336
#define IDS_PORTS_TEST                  16337
#define IDS_PORTS_SCAN                  16338
#define IDS_PORTS_HELP                  16339
#define IDS_PORTS_OK                    16340
#define IDS_PORTS_CANCEL                16341
#define IDS_PORTS_NONE                  16342
#define IDS_PORTS_AUX_NOTE              16343
#define IDS_PORTS_DUPLICATED            16344
#define IDS_PORT_TEST_CAPTION           16350
#define IDS_PORT_TEST_PRIMARY           16351
#define IDS_PORT_TEST_AUX1              16352
#define IDS_PORT_TEST_AUX2              16353
#define IDS_PORT_TEST_AUX3              16354
#define IDS_PORT_FREE                   16355
#define IDS_PORT_NOT_FOUND              16356
#define IDS_PORT_NOT_FOUND_DETAIL       16357
#define IDS_PORT_DENIED                 16358
#define IDS_PORT_DENIED_DETAIL          16359
#define IDS_PORT_UNKNOWN                16360
#define IDS_PORT_UNKNOWN_DETAIL         16361
