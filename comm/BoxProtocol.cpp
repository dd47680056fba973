// The data-acquisition box branches of CQarCommunications. Until the box
// protocol is built, each gives its failure value without device traffic.
#include "comm/QarCommunications.h"

int CQarCommunications::read_box(int /*nRegister*/, int /*nRangeFlag*/)
{
    return 0;
}

double CQarCommunications::ReadBoxDecimal(int /*nRegister*/, int /*nRangeFlag*/)
{
    return m_bGauge ? 1.0 : 0.0;
}

short CQarCommunications::IdentifyBox()
{
    return 0;
}

double CQarCommunications::ReadBoxChannel(const CChannelCalibration& /*channel*/)
{
    m_bFailed = 1;
    return 0.0;
}

void CQarCommunications::ZeroBoxChannel(CChannelCalibration& /*channel*/)
{
    m_bFailed = 1;
}

int CQarCommunications::SetBoxFanSpeed(short /*nValue*/)
{
    return -1;
}

int CQarCommunications::ReadCalibrationDateBox()
{
    m_nCalDate = 0;
    return 0;
}
