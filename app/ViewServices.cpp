// Small services of the view: dates, labels, channel tables.
#include "app/Simbrel1View.h"

void CSimbrel1View::ResetChannelTables() {}
