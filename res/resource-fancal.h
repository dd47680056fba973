// Ids of the fan calibration editor: its dialog, controls and texts.
#pragma once

#define IDD_FAN_CALIBRATION             163

// C fields of rings 0..5, n fields of rings 0..5.
#define IDC_FANCAL_C_RING0              1051
#define IDC_FANCAL_C_RING1              1312
#define IDC_FANCAL_C_RING2              1313
#define IDC_FANCAL_C_RING3              1314
#define IDC_FANCAL_C_RING4              1315
#define IDC_FANCAL_C_RING5              1316
#define IDC_FANCAL_N_RING0              1317
#define IDC_FANCAL_N_RING1              1318
#define IDC_FANCAL_N_RING2              1319
#define IDC_FANCAL_N_RING3              1320
#define IDC_FANCAL_N_RING4              1321
#define IDC_FANCAL_N_RING5              1322
#define IDC_FANCAL_SET_TO_DEFAULTS      1340
#define IDC_FANCAL_FAN_TITLE            1343
// Labels of rings 1..5; ring 0 is labelled by IDC_FANCAL_OPEN.
#define IDC_FANCAL_RING1_LABEL          1344
#define IDC_FANCAL_RING2_LABEL          1345
#define IDC_FANCAL_RING3_LABEL          1346
#define IDC_FANCAL_RING4_LABEL          1347
#define IDC_FANCAL_RING5_LABEL          1348
#define IDC_FANCAL_HELP                 1086
#define IDC_FANCAL_NO_ACTION            1391
#define IDC_FANCAL_COEFFICIENT          2146
#define IDC_FANCAL_EXPONENT             2147
#define IDC_FANCAL_CUSTOM_NOTE          2148
#define IDC_FANCAL_OPEN                 2149
#define IDC_FANCAL_DATE                 2350
#define IDC_FANCAL_DATE_LABEL           2351

// Texts.
#define IDS_FAN_AIRVANE_A               4010
#define IDS_FAN_AIRVANE_B               4011
#define IDS_FAN_TYPE_R_110V             4384
#define IDS_FAN_TYPE_R_230V             4439
#define IDS_FAN_TYPE_S_230V             4440
#define IDS_FANCAL_CAPTION              10150
#define IDS_FANCAL_COEFFICIENT          10151
#define IDS_FANCAL_EXPONENT             10152
#define IDS_FANCAL_CUSTOM_NOTE          10153
#define IDS_FANCAL_SET_TO_DEFAULTS      10154
#define IDS_OUT_OF_RANGE                11025
#define IDS_FANCAL_DATE_LABEL           17066
