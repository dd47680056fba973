// The test and configuration file format, and saving.
#include "app/Simbrel1View.h"

bool CSimbrel1View::OfferToSaveChanges()
{
    return true;
}
