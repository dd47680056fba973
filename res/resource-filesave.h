// Ids of the texts of saving test and configuration files.
#pragma once

#define IDS_TEST_CHANGED_SAVE_QUESTION  4212
#define IDS_BUILDING_TEST_FILES         4397
#define IDS_CONFIGURATION_FILES         4398
#define IDS_SAVE_BUILDING_TEST_FILE     4400
#define IDS_CONFIGURATION_NO_TEST_DATA  4423
#define IDS_UNTITLED                    4424
#define IDS_SAVE_CONFIGURATION_FILE     4427
// A save that could not create its file, and one that failed while writing.
#define IDS_SAVE_NOT_CREATED            30600
#define IDS_SAVE_NOT_WRITTEN            30601
