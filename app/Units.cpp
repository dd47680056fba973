// Units of measure and the default units file.
#include "app/Simbrel1View.h"

void CSimbrel1View::ApplyUnits() {}

void CSimbrel1View::ReadDefaultUnitsFile() {}
