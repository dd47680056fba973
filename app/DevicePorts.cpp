// The view's view of the gauge links of a test.
#include "app/Simbrel1View.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"

int CSimbrel1View::AreAllPortsConnected() const
{
    const int nInUse = m_pTestGraph != nullptr ? m_pTestGraph->m_DevicesInUse : 0;
    if (nInUse <= 0)
        return 0;
    for (int i = 0; i < nInUse && i < 4; ++i) {
        if (!m_bAutoSelect && m_nComPort[i] == 0)
            continue;
        if (m_pLink[i] == nullptr || !m_pLink[i]->m_bConnected)
            return 0;
    }
    return 1;
}
