// Ids of the Test Results page: its template, controls and texts.
#pragma once

#define IDD_TEST_RESULTS                146

#define IDC_RESULTS_SAVE                1087
#define IDC_RESULTS_PREVIOUS            1116
#define IDC_RESULTS_HELP                1179
#define IDC_RESULTS_NEXT                1628
#define IDC_RESULTS_NEXT_LABEL          1673
#define IDC_RESULTS_NO_ACTION           1809
#define IDC_RESULTS_PREVIOUS_LABEL      1867
#define IDC_REFERENCE_PRESSURE          2349
#define IDC_REFERENCE_PRESSURE_LABEL    2530

#define IDS_BUILDING_LEAKAGE_CURVE      4038
#define IDS_DEPRESSURIZATION            4285
#define IDS_PRESSURIZATION              4286
#define IDS_TO_TEST_GRAPH               5033
#define IDS_NEXT                        5035
#define IDS_AVERAGE                     7009
#define IDS_RESULTS_CAPTION             14200
#define IDS_RESULTS_TO_DEV_FROM_STD     14201
#define IDS_RESULTS_TO_INFORMATION      14202
#define IDS_REFERENCE_PRESSURE          14203
#define IDS_AIRFLOW_AT_50_PASCALS       14204
#define IDS_LEAKAGE_AREAS               14205
