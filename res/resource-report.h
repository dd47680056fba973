// Ids of the print frame's texts: report titles, the running head and the
// letterhead labels.
#pragma once

#define IDS_REPORT_BUILDING_LEAKAGE_TEST 4255
#define IDS_REPORT_ZONE_DATA_REPORT      4138
#define IDS_REPORT_DATE_OF_TEST          4257
#define IDS_REPORT_TEST_FILE             4434
#define IDS_REPORT_PAGE                  4308
#define IDS_REPORT_PHONE                 4085
#define IDS_REPORT_FAX                   4133
#define IDS_REPORT_EMAIL                 17064
#define IDS_REPORT_WEBSITE               17065
