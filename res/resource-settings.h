// Ids of the test settings record's texts.
#pragma once

#define IDS_ZONE_WORD                   4098
#define IDS_REMINDER_PRESSURIZE         4487
#define IDS_REMINDER_DEPRESSURIZE       4502
