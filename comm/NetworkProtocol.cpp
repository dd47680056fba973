// The network branches of CQarCommunications. Until the network gauge
// protocol is built, each gives its failure value without network traffic.
#include "comm/QarCommunications.h"

int CQarCommunications::OpenWifiConnection(const CWifiDeviceInfo& /*device*/)
{
    return 0;
}

bool CQarCommunications::CloseWifiConnection()
{
    return false;
}

int CQarCommunications::SendWifiCommand(const CString& /*strCommand*/)
{
    return 0;
}

short CQarCommunications::RecvWiflyDataString(const CString& /*strCommand*/, CString& strValue, int /*bRaw*/)
{
    strValue.Empty();
    return 9999;
}

short CQarCommunications::GetWifiByte(int /*nTimeoutMs*/)
{
    return 9999;
}

CString CQarCommunications::GetWifiLinkSettings()
{
    m_bFailed = 1;
    return CString();
}

CString CQarCommunications::GetCalibrationRecord()
{
    m_bFailed = 1;
    return CString();
}

short CQarCommunications::IdentifyRQ80()
{
    ClearIdentity();
    return 0;
}

short CQarCommunications::IdentifyWifiGauge()
{
    ClearIdentity();
    return 0;
}

unsigned short CQarCommunications::ReadEepromWifi(unsigned short /*nAddress*/)
{
    return 9999;
}

double CQarCommunications::ReadBatteryWifi()
{
    m_dBattery = 0.0;
    return 0.0;
}

int CQarCommunications::ReadFirmwareWifi(short& /*nFirmware*/)
{
    return 0;
}

int CQarCommunications::ReadChannelWifi(int /*nChannel*/, double& dValue)
{
    dValue = 0.0;
    return 0;
}

int CQarCommunications::WifiAutoZero()
{
    return 0;
}

int CQarCommunications::SetWifiFanSpeed(short /*nValue*/)
{
    return -1;
}

int CQarCommunications::SetWifiDashDisplay(bool /*bOn*/)
{
    return 0;
}

int CQarCommunications::SendWifiByte(unsigned char /*nByte*/)
{
    return 0;
}
