// Ids of the test settings record's texts.
#pragma once

#define IDS_ZONE_WORD                   4098
