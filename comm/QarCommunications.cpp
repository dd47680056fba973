#include "comm/QarCommunications.h"

#include "app/Lifecycle.h"

CQarCommunications::CQarCommunications()
{
    TraceLifecycle("CQarCommunications", true);
}

CQarCommunications::~CQarCommunications()
{
    TraceLifecycle("CQarCommunications", false);
}

int CQarCommunications::CloseDevice()
{
    TraceLifecycleEvent("CloseDevice");
    m_bConnected = 0;
    return 1;
}

int CQarCommunications::SetFanSpeed(short nValue)
{
    if (m_bIoDisabled)
        return nValue;
    // The serial, box and network fan commands are added with their protocols.
    m_nLastFanSpeed = nValue;
    return nValue;
}
