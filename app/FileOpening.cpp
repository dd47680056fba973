// Opening test and configuration files.
#include "app/Simbrel1View.h"

void CSimbrel1View::RestoreDevicePreferences() {}
