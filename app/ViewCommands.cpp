// The view's menu commands, first paint and help menu.
#include "app/Simbrel1View.h"

void CSimbrel1View::AddHelpPdfMenu() {}

void CSimbrel1View::ClearViewBackground() {}
