// The program's one application object.
#include "app/Simbrel1App.h"

CSimbrel1App theApp;
