// Ids of the texts of opening test and configuration files.
#pragma once

#define IDS_SELECT_BUILDING_TEST_FILE   4396
#define IDS_SELECT_CONFIGURATION_FILE   4422
#define IDS_FILE_FORMAT_INVALID         4480
