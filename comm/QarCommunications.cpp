#include "comm/QarCommunications.h"

#include <climits>
#include <cmath>
#include <ctime>
#include <cwchar>

#include "app/Lifecycle.h"
#include "comm/DateFormatter.h"

namespace {

// After an autozero that went unanswered: a gauge has at most a few bytes
// left to send, so anything beyond these is a device that keeps talking.
constexpr int kAutoZeroDrainMaxBytes = 1024;
constexpr ULONGLONG kAutoZeroDrainMaxMs = 2000;

}  // namespace

CQarCommunications::CQarCommunications()
{
    TraceLifecycle("CQarCommunications", true);
}

CQarCommunications::~CQarCommunications()
{
    TraceLifecycle("CQarCommunications", false);
}

void CQarCommunications::InitChannelTable()
{
    static const short kAuxiliaryChannels[8] = {20, 19, 18, 17, 24, 23, 22, 21};
    for (int i = 0; i < 16; ++i) {
        CChannelCalibration& channel = m_Channels[i];
        channel.m_nChannel = i < 8 ? static_cast<short>(i + 1) : kAuxiliaryChannels[i - 8];
        channel.m_nRange = i == 1 ? 0 : 1;
        channel.m_dGain[0] = 1.0;
        channel.m_dGain[1] = 1.0;
    }
}

std::vector<int> CQarCommunications::GetPortSearchOrder(short nFirstPort, short nLastPort, int nPortIndex,
                                                       int nPortCount)
{
    std::vector<int> ports;
    if (nFirstPort >= 0) {
        if (nLastPort < nFirstPort)
            nLastPort = nFirstPort;
        for (int nPort = nFirstPort; nPort <= nLastPort; ++nPort)
            ports.push_back(nPort);
        return ports;
    }
    int nIndex = nPortIndex >= 0 && nPortIndex < nPortCount ? nPortIndex : 0;
    for (int i = 0; i < nPortCount; ++i) {
        ports.push_back(nIndex + 1);
        nIndex = (nIndex + 1) % nPortCount;
    }
    return ports;
}

HANDLE CQarCommunications::OpenComHandle(int nComNumber, DWORD* pError)
{
    CString strPath;
    strPath.Format(L"\\\\.\\COM%d", nComNumber);
    HANDLE hPort = CreateFileW(strPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hPort == INVALID_HANDLE_VALUE) {
        if (pError != nullptr)
            *pError = GetLastError();
        return nullptr;
    }
    return hPort;
}

bool CQarCommunications::SetLineSettings(HANDLE hPort)
{
    // A port whose state cannot be read is no serial port (Wine opens a
    // mapped port whose device is gone; only the state query fails then).
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(hPort, &dcb))
        return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    return SetCommState(hPort, &dcb) != FALSE;
}

int CQarCommunications::OpenDevicePort()
{
    if (m_bNetwork)
        return OpenWifiConnection(m_Device);

    // A port still open from an earlier search would otherwise be lost.
    if (m_hPort != nullptr)
        ReleasePort();

    bool bSinglePort = false;
    if (m_nFirstPort >= 0) {
        if (m_nLastPort < m_nFirstPort)
            m_nLastPort = m_nFirstPort;
        bSinglePort = m_nFirstPort == m_nLastPort;
    }
    for (int nComNumber : GetPortSearchOrder(m_nFirstPort, m_nLastPort, m_nPortIndex, m_nPortCount)) {
        if (TryPort(nComNumber)) {
            m_nPortIndex = nComNumber - 1;
            return 1;
        }
        if (bSinglePort) {
            m_nPortIndex = -1;
            return 0;
        }
    }
    return 0;
}

// Opens one port of the search, tells a gauge from a box and identifies the
// device; the port stays open only when something was identified.
int CQarCommunications::TryPort(int nComNumber)
{
    HANDLE hPort = OpenComHandle(nComNumber, nullptr);
    if (hPort == nullptr)
        return 0;
    COMMTIMEOUTS standing{};
    standing.ReadTotalTimeoutConstant = 100;
    standing.WriteTotalTimeoutConstant = 100;
    if (!SetLineSettings(hPort) || !GetCommTimeouts(hPort, &m_SavedTimeouts) ||
        !SetCommTimeouts(hPort, &standing)) {
        CloseHandle(hPort);
        return 0;
    }
    m_hPort = hPort;
    m_nPerByteTimeout = 0;

    short nIdentity = 0;
    switch (GaugeHandshake()) {
    case 1:
        m_bGauge = 1;
        m_bRQ80 = 0;
        nIdentity = IdentifyDevice();
        break;
    case 0:
        m_bGauge = 0;
        m_bRQ80 = 0;
        PurgeReceive();
        nIdentity = IdentifyDevice();
        if (nIdentity != 0)
            PurgeReceive();
        break;
    default:
        break;
    }
    if (nIdentity != 0)
        return 1;
    SetCommTimeouts(m_hPort, &m_SavedTimeouts);
    CloseHandle(m_hPort);
    m_hPort = nullptr;
    m_nPerByteTimeout = 0;
    return 0;
}

short CQarCommunications::IdentifyDevice()
{
    if (m_bIoDisabled)
        return 0;
    if (m_bRQ80)
        return IdentifyRQ80();
    if (!m_bGauge)
        return IdentifyBox();
    if (!m_bNetwork)
        return IdentifySerialGauge();
    return IdentifyWifiGauge();
}

void CQarCommunications::ConnectDevice()
{
    m_bOverRange = 0;
    m_bLowBattery = 0;
    m_bFailed = 0;
    // Only an identity that the last identification filled marks the link
    // identified: a device that opened but then failed to identify is not.
    short nIdentity = 0;
    if (!m_bConnected) {
        m_bConnected = OpenDevicePort();
        nIdentity = IdentifyDevice();
    } else {
        for (int nAttempt = 0; nAttempt < 10 && nIdentity <= 0; ++nAttempt)
            nIdentity = IdentifyDevice();
        if (nIdentity <= 0) {
            CloseDevice();
            m_bConnected = OpenDevicePort();
            // The search identified whatever it found.
            nIdentity = static_cast<short>(m_bConnected);
        }
    }
    if (m_bConnected && nIdentity > 0) {
        m_bIdentified = 1;
        // The device may not be the one identified on this link before (a
        // gauge changed at the port, another network gauge chosen): its
        // channel count and texts are this identification's.
        if (m_bGauge)
            m_nChannelCount = m_bRQ80 ? 2 : static_cast<short>(m_nTypeCode);
        m_bTextsFormatted = 0;
        FormatDeviceInfo();
    } else {
        if (!m_bConnected)
            m_nPortIndex = -1;
        m_bIdentified = 0;
    }
}

int CQarCommunications::CloseDevice()
{
    TraceLifecycleEvent("CloseDevice");
    if (m_bGauge && m_bNetwork && m_bConnected) {
        if (!m_bRQ80)
            DisableDashRQ40Display();
        if (!CloseWifiConnection())
            return 0;
        m_bConnected = 0;
        return 1;
    }
    if (m_bGauge && !m_bRQ80) {
        DisableDashRQ40Display();
        SendCommand(10, m_nReplyTimeout, L"re-enable autozero");
    }
    ReleasePort();
    m_bConnected = 0;
    return 1;
}

int CQarCommunications::ClosePort()
{
    ReleasePort();
    m_bConnected = 0;
    return 1;
}

void CQarCommunications::ReleasePort()
{
    if (m_hPort == nullptr)
        return;
    PurgeBoth();
    SetCommTimeouts(m_hPort, &m_SavedTimeouts);
    CloseHandle(m_hPort);
    m_hPort = nullptr;
    m_nPerByteTimeout = 0;
}

int CQarCommunications::ResetIdentified()
{
    m_bIdentified = 0;
    return 0;
}

short CQarCommunications::ReadChannelCount()
{
    if (m_bIoDisabled)
        return 0;
    short nCount;
    if (!m_bGauge) {
        // Seven register digits would wrap into a short, perhaps into a
        // box's count: such a value is no count.
        const int nRegister = read_box(18, 0);
        nCount = static_cast<short>(nRegister > SHRT_MAX ? 0 : nRegister);
    } else if (!m_bRQ80) {
        const unsigned short nValue = ReadEeprom(248);
        nCount = nValue == 9999 ? 0 : static_cast<short>(nValue);
    } else {
        nCount = m_bConnected ? 2 : 0;
    }
    m_nChannelCount = nCount;
    return nCount;
}

double CQarCommunications::CheckGaugeLimits(double dValue)
{
    if (!std::isfinite(dValue) || std::fabs(dValue) > 5000.0) {
        m_bFailed = 1;
        return 0.0;
    }
    if (std::fabs(dValue) > (m_bRQ80 ? 2500.0 : 1250.0)) {
        m_bOverRange = 1;
        return 0.0;
    }
    return dValue;
}

double CQarCommunications::ReadChannel(const CChannelCalibration& channel)
{
    m_bOverRange = 0;
    m_bLowBattery = 0;
    m_bFailed = 0;
    if (!m_bGauge)
        return ReadBoxChannel(channel);

    double dValue = 0.0;
    if (m_bNetwork) {
        // The request leaves m_bOverRange for a reading beyond the range
        // and m_bFailed for anything else.
        if (!ReadChannelWifi(channel.m_nChannel, dValue)) {
            if (!m_bOverRange)
                m_bFailed = 1;
            return 0.0;
        }
        return CheckGaugeLimits(dValue);
    }

    // A gauge has two channels; without a command there is no reply to wait for.
    if (channel.m_nChannel != 1 && channel.m_nChannel != 2) {
        m_bFailed = 1;
        return 0.0;
    }
    // Bytes left over from an exchange that failed (a late or wrong reply)
    // would otherwise shift every later reading out of step.
    PurgeReceive();
    if (!SendCommand(static_cast<unsigned char>(channel.m_nChannel), m_nReplyTimeout,
                     channel.m_nChannel == 1 ? L"initiate channel 1 reading" : L"initiate channel 2 reading")) {
        m_bFailed = 1;
        return 0.0;
    }
    unsigned short nBytes[3];
    for (unsigned short& nByte : nBytes) {
        nByte = ReadByte(m_nReplyTimeout);
        if (nByte == 9999) {
            m_bFailed = 1;
            return 0.0;
        }
    }
    dValue = DecodeGaugeFloat(static_cast<unsigned char>(nBytes[0]), static_cast<unsigned char>(nBytes[1]),
                              static_cast<unsigned char>(nBytes[2]));
    return CheckGaugeLimits(dValue);
}

void CQarCommunications::AutoZeroChannel(CChannelCalibration& channel)
{
    m_bOverRange = 0;
    m_bLowBattery = 0;
    m_bFailed = 0;
    if (!m_bGauge) {
        ZeroBoxChannel(channel);
        return;
    }
    if (m_bNetwork) {
        // Unconfirmed counts as failed, as a missing acknowledgement does on
        // a serial gauge, so that the autozero job tries again.
        if (!WifiAutoZero())
            m_bFailed = 1;
        return;
    }
    channel.m_dZero[0] = 0.0;
    channel.m_dZero[1] = 0.0;
    // One command zeroes both channels of the gauge.
    if (channel.m_nChannel == 2)
        return;
    PurgeBoth();
    if (!SendCommand(8, m_nReplyTimeout, L"start autozero")) {
        m_bFailed = 1;
        return;
    }
    if (ReadByte(3500) == 9999) {
        DrainReceive(m_nReplyTimeout, kAutoZeroDrainMaxBytes, kAutoZeroDrainMaxMs);
        m_bFailed = 1;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (ReadByte(m_nReplyTimeout) == 9999) {
            PurgeBoth();
            m_bFailed = 1;
            return;
        }
    }
}

int CQarCommunications::SetFanSpeed(short nValue)
{
    if (m_bIoDisabled)
        return nValue;
    int nResult;
    if (!m_bGauge) {
        nResult = SetBoxFanSpeed(nValue);
    } else if (m_bNetwork) {
        nResult = SetWifiFanSpeed(nValue);
    } else {
        const int nSent = nValue < 40 ? 40 : nValue;
        const unsigned char nLow = static_cast<unsigned char>(nSent & 0xFF);
        const unsigned char nHigh = static_cast<unsigned char>((nSent >> 8) & 0xFF);
        if (!SendCommand(16, m_nReplyTimeout, L"fan speed") || !SendCommand(nLow, m_nReplyTimeout, L"fan speed low") ||
            !SendCommand(nHigh, m_nReplyTimeout, L"fan speed high") ||
            !SendCommand(176, m_nReplyTimeout, L"fan speed end") || ReadByte(m_nReplyTimeout) != 176)
            return -1;
        nResult = nSent;
    }
    return nResult;
}

double CQarCommunications::ReadBatteryVoltage()
{
    if (!m_bGauge)
        return 0.0;
    if (m_bNetwork)
        return ReadBatteryWifi();
    m_dBattery = 0.0;
    if (!SendCommand(7, m_nReplyTimeout, L"read battery"))
        return 0.0;
    const unsigned short nByte = ReadByte(m_nReplyTimeout);
    if (nByte != 9999)
        m_dBattery = (nByte + 13) / 25.0;
    return m_dBattery;
}

int CQarCommunications::EnableDashRQ40Display()
{
    if (m_bRQ80)
        return 1;
    if (m_bNetwork)
        return SetWifiDashDisplay(true);
    if (!m_bConnected || !m_bGauge)
        return 0;
    PurgeBoth();
    return SendCommand(11, m_nReplyTimeout, L"dash display on");
}

int CQarCommunications::DisableDashRQ40Display()
{
    if (m_bRQ80)
        return 1;
    if (m_bNetwork)
        return SetWifiDashDisplay(false);
    if (!m_bConnected || !m_bGauge)
        return 0;
    PurgeBoth();
    return SendCommand(12, m_nReplyTimeout, L"dash display off");
}

int CQarCommunications::CheckPort(int nPortIndex)
{
    DWORD nError = 0;
    HANDLE hPort = OpenComHandle(nPortIndex + 1, &nError);
    if (hPort == nullptr)
        return static_cast<int>(nError);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    const int nResult = GetCommState(hPort, &dcb) ? 0 : -1;
    CloseHandle(hPort);
    return nResult;
}

void CQarCommunications::OpenPortNumber(int nComNumber)
{
    if (m_hPort != nullptr)
        ReleasePort();
    HANDLE hPort = OpenComHandle(nComNumber, nullptr);
    if (hPort == nullptr)
        return;
    // The time-outs stay as they are; closing puts back these very ones.
    if (!SetLineSettings(hPort) || !GetCommTimeouts(hPort, &m_SavedTimeouts)) {
        CloseHandle(hPort);
        return;
    }
    m_hPort = hPort;
    m_nPerByteTimeout = 0;
}

void CQarCommunications::FormatDeviceInfo()
{
    if (m_bTextsFormatted)
        return;
    if (!m_bConnected) {
        m_strTypeText.Empty();
        m_strModelSerial.Empty();
        m_strCalDateDigits.Empty();
        m_strSupply.Empty();
        if (m_bGauge) {
            for (CString& strConstant : m_strConstants)
                strConstant.Empty();
        } else {
            m_strRangeGain[0].Empty();
            m_strRangeGain[1].Empty();
            for (CString& strGain : m_strChannelGain)
                strGain.Empty();
        }
        return;
    }
    if (m_bGauge) {
        m_strTypeText.Format(L"%d", m_nTypeCode);
        m_strModelSerial.Format(L"%s - %d", m_strModel.GetString(), m_nSerial);
        CString strMonth, strDay, strYear;
        strMonth.Format(L"%d", m_nCalMonth);
        strDay.Format(L"%d", m_nCalDay);
        strYear.Format(L"%d", m_nCalYear);
        m_strCalDateDigits = strMonth + PadTwoDigits(strDay) + PadTwoDigits(strYear);
        m_strCalDateDigits.TrimLeft(L' ');
        m_strSupply.Format(m_bRQ80 ? L"%0.2f Volts" : L"%0.1f Volts", m_dBattery);
        m_strFirmware.Format(L"%d", m_nFirmware);
        for (int i = 0; i < 12; ++i)
            m_strConstants[i].Format(i % 3 == 0 ? L"%0.6f" : L"%0.6e", static_cast<double>(m_fConstants[i]));
    } else {
        m_strTypeText.Format(L"%d", m_nChannelCount);
        m_strModelSerial.Format(L"LZT%d - %d", m_nChannelCount > 2 ? 8 : 2, m_nBoxSerial);
        m_strCalDateDigits.Format(L"%d", m_nCalDate);
        m_strRangeGain[0].Format(L"%f", m_dBoxGain[0]);
        m_strRangeGain[1].Format(L"%f", m_dBoxGain[1]);
        m_strSupply.Format(L"%0.2f Volts", m_dReferenceVolts);
        for (int k = 0; k < 8; ++k) {
            m_strChannelGain[2 * k].Empty();
            m_strChannelGain[2 * k + 1].Empty();
            if (k < 2 || m_nChannelCount > k) {
                m_strChannelGain[2 * k].Format(L"%f", m_Channels[k].m_dGain[1]);
                m_strChannelGain[2 * k + 1].Format(L"%f", m_Channels[k].m_dGain[0]);
            }
        }
    }
    m_bTextsFormatted = 1;
}

void CQarCommunications::ClearIdentity()
{
    m_nTypeCode = 0;
    m_nMemory249 = 0;
    m_nMemory250 = 0;
    m_nCalMonth = 0;
    m_nCalDay = 0;
    m_nCalYear = 0;
    m_dBattery = 0.0;
    m_nFirmware = 0;
    for (float& fConstant : m_fConstants)
        fConstant = 0.0f;
    m_strModel.Empty();
}

void CQarCommunications::ClearIdentityAndPurge()
{
    PurgeBoth();
    ClearIdentity();
}

CString CQarCommunications::FormatNumericDate(int nYear, int nMonth, int nDay)
{
    if (!CDateFormatter::IsPlausibleDate(nYear, nMonth, nDay))
        return CString();
    CString strDate;
    strDate.Format(nMonth < 10 ? L"%d0%d" : L"%d%d", nYear, nMonth);
    strDate.AppendFormat(nDay < 10 ? L"0%d" : L"%d", nDay);
    return strDate;
}

CString CQarCommunications::FormatShortDate(const CString& strNumericDate)
{
    // Only a real calendar date is formatted: the C run-time ends the
    // program on a date it cannot represent, and a device may report any
    // bytes as its calibration date.
    if (strNumericDate.GetLength() != 8)
        return CString();
    for (int i = 0; i < 8; ++i)
        if (strNumericDate[i] < L'0' || strNumericDate[i] > L'9')
            return CString();
    const int nYear = _wtoi(strNumericDate.Left(4));
    const int nMonth = _wtoi(strNumericDate.Mid(4, 2));
    const int nDay = _wtoi(strNumericDate.Right(2));
    static const int kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > kDaysInMonth[nMonth - 1])
        return CString();
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    if (nMonth == 2 && nDay == 29 && !bLeap)
        return CString();
    std::tm date{};
    date.tm_year = nYear - 1900;
    date.tm_mon = nMonth - 1;
    date.tm_mday = nDay;
    date.tm_isdst = -1;
    wchar_t szText[64] = {};
    if (std::wcsftime(szText, 64, L"%x", &date) == 0)
        return CString();
    return CString(szText);
}

CString CQarCommunications::FormatLocaleDate(int nYear, int nMonth, int nDay)
{
    return CDateFormatter().FormatDate(nYear, nMonth, nDay);
}

CString CQarCommunications::PadTwoDigits(const CString& strText)
{
    if (strText.GetLength() < 2)
        return L"0" + strText;
    return strText;
}
