// Opening test and configuration files.
#include "app/Simbrel1View.h"

// An export file switches the device preferences off-line for as long as
// it is the open test; this puts the user's own choices back.
void CSimbrel1View::RestoreDevicePreferences()
{
    if (!m_bExportedFile)
        return;
    m_bAutoSelect = m_bSavedAutoSelect;
    m_bOffLine = m_bSavedOffLine;
    m_bExportedFile = 0;
}
