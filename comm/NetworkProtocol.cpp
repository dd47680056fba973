// The network side of CQarCommunications: an RQ80, or an RQ40 behind its
// network adapter, over one TCP connection. Requests are two letters, maybe a
// blank and a number, and CR LF; the device answers with a line that repeats
// the letters, or with the letters and "OK". Every failure leaves its text in
// m_strLastError; a request that fails closes the connection.
#include "comm/QarCommunications.h"

#include <ws2tcpip.h>

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "app/Clock.h"
#include "comm/DateFormatter.h"

namespace {

constexpr short kFailed = 9999;
constexpr int kReceiveSize = 511;

// Marks the link busy for one exchange that waits for a reply, so that the
// keep-alive of the user-interface thread stays off the line meanwhile; the
// mark goes on every way out.
class CBusyScope {
public:
    explicit CBusyScope(std::atomic<int>& bBusy) : m_bBusy(bBusy) { m_bBusy = 1; }
    ~CBusyScope() { m_bBusy = 0; }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    std::atomic<int>& m_bBusy;
};

// The first nDigits characters are hexadecimal digits in either case.
bool IsHexText(const CString& strText, int nDigits)
{
    if (strText.GetLength() < nDigits)
        return false;
    for (int i = 0; i < nDigits; ++i) {
        const wint_t ch = std::towupper(strText[i]);
        if (!((ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'F')))
            return false;
    }
    return true;
}

// Each byte of the reply becomes one character.
CString BytesAsText(const char* pBytes, int nBytes)
{
    CString strText;
    for (int i = 0; i < nBytes; ++i)
        strText += static_cast<wchar_t>(static_cast<unsigned char>(pBytes[i]));
    return strText;
}

// Waits until the socket is readable (or writable); 1 ready, 0 time-out,
// SOCKET_ERROR a failed wait, 2 ready but the socket not in the set.
int WaitForSocket(SOCKET hSocket, int nTimeoutMs, bool bWrite)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(hSocket, &set);
    timeval wait{nTimeoutMs / 1000, (nTimeoutMs % 1000) * 1000};
    const int nReady = select(0, bWrite ? nullptr : &set, bWrite ? &set : nullptr, nullptr, &wait);
    if (nReady == SOCKET_ERROR || nReady == 0)
        return nReady;
    return FD_ISSET(hSocket, &set) ? 1 : 2;
}

void WaitProgramMs(int nMs)
{
    CClock& clock = GetProgramClock();
    const std::int64_t nEnd = clock.GetMilliseconds() + nMs;
    while (clock.GetMilliseconds() < nEnd)
        Sleep(5);
}

}  // namespace

CString CQarCommunications::GetWsaErrorText(int nError)
{
    const wchar_t* pszFormat = L"%d";
    switch (nError) {
    case 10053: pszFormat = L"(%d) WSAECONNABORTED"; break;
    case 10054: pszFormat = L"(%d) WSAECONNRESET"; break;
    case 10060: pszFormat = L"(%d) WSAETIMEDOUT"; break;
    default: break;
    }
    CString strText;
    strText.Format(pszFormat, nError);
    return strText;
}

unsigned char CQarCommunications::HexPairToByte(const CString& strPair)
{
    int nDigits[2];
    for (int i = 0; i < 2; ++i) {
        const int ch = static_cast<int>(std::towupper(strPair[i]));
        nDigits[i] = ch < L'A' ? ch - L'0' : ch - L'A' + 10;
    }
    return static_cast<unsigned char>((16 * nDigits[0] + nDigits[1]) & 0xFF);
}

CString CQarCommunications::GetJsonValue(const CString& strJson, const CString& strKey)
{
    const int nKey = strJson.Find(strKey.GetString());
    if (nKey < 0)
        return L"doesn't exist";
    // Past the key: its closing quote, the colon and the value's opening quote.
    const int nStart = nKey + strKey.GetLength() + 3;
    if (nStart > strJson.GetLength())
        return L"invalid Json";
    const int nEnd = strJson.Find(L'"', nStart);
    if (nEnd < 0)
        return L"invalid Json";
    return strJson.Mid(nStart, nEnd - nStart);
}

int CQarCommunications::OpenWifiConnection(const CWifiDeviceInfo& device)
{
    // The descriptor may be m_Device itself, which is cleared below.
    const CWifiDeviceInfo taken = device;
    m_Device.m_strAddress.Empty();
    m_Device.m_nPort = 0;
    m_Device.m_nSerialNumber = 0;
    m_strLastError.Empty();
    // A socket of an earlier connection would otherwise be lost.
    if (m_ConnectSocket != INVALID_SOCKET) {
        closesocket(m_ConnectSocket);
        m_ConnectSocket = INVALID_SOCKET;
        m_bSocketOpen = 0;
        m_bConnected = 0;
    }

    CString strPort;
    strPort.Format(L"%d", taken.m_nPort);
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* pAddresses = nullptr;
    if (GetAddrInfoW(taken.m_strAddress, strPort, &hints, &pAddresses) != 0)
        return 0;

    SOCKET hSocket = INVALID_SOCKET;
    for (ADDRINFOW* pAddress = pAddresses; pAddress != nullptr; pAddress = pAddress->ai_next) {
        hSocket = socket(pAddress->ai_family, pAddress->ai_socktype, pAddress->ai_protocol);
        if (hSocket == INVALID_SOCKET) {
            m_strLastError.Format(L"WSA socket() failed in OpenWifiConnection() with error %s.",
                                  GetWsaErrorText(WSAGetLastError()).GetString());
            FreeAddrInfoW(pAddresses);
            return 0;
        }
        if (connect(hSocket, pAddress->ai_addr, static_cast<int>(pAddress->ai_addrlen)) != SOCKET_ERROR)
            break;
        m_strLastError.Format(L"WSA Connect() failed in OpenWifiConnection() with error %s.",
                              GetWsaErrorText(WSAGetLastError()).GetString());
        closesocket(hSocket);
        hSocket = INVALID_SOCKET;
    }
    FreeAddrInfoW(pAddresses);
    if (hSocket == INVALID_SOCKET)
        return 0;

    u_long nNonBlocking = 1;
    if (ioctlsocket(hSocket, FIONBIO, &nNonBlocking) == SOCKET_ERROR) {
        m_strLastError.Format(L"WSA ioctlsocket() failed in OpenWifiConnection() with error %s.",
                              GetWsaErrorText(WSAGetLastError()).GetString());
        closesocket(hSocket);
        return 0;
    }
    m_ConnectSocket = hSocket;
    m_Device = taken;
    m_bSocketOpen = 1;
    m_bNetwork = 1;
    m_bConnected = 1;
    m_bGauge = 1;
    m_bFailed = 0;
    m_bLowBattery = 0;
    m_bRQ80 = m_Device.m_nDeviceType == 10 ? 1 : 0;
    // The device needs a moment after the connection before it answers.
    WaitProgramMs(2000);
    return 1;
}

bool CQarCommunications::CloseWifiConnection()
{
    if (shutdown(m_ConnectSocket, SD_SEND) != SOCKET_ERROR) {
        closesocket(m_ConnectSocket);
        m_ConnectSocket = INVALID_SOCKET;
        m_bSocketOpen = 0;
        m_bConnected = 0;
        m_Device.m_strAddress.Empty();
        m_Device.m_nPort = 0;
        m_Device.m_nSerialNumber = 0;
        return true;
    }
    // The socket is gone either way. A link that still counted it as open
    // would send its keep-alive to a closed handle, which the system may
    // already have given to another link's new connection.
    if (m_ConnectSocket != INVALID_SOCKET)
        closesocket(m_ConnectSocket);
    m_ConnectSocket = INVALID_SOCKET;
    m_bSocketOpen = 0;
    m_bConnected = 0;
    return false;
}

bool CQarCommunications::SendAllBytes(const char* pBytes, int nBytes, int& nError)
{
    // The socket does not block, so a send may take only part of the
    // request; the rest follows once the socket takes more.
    int nSent = 0;
    while (nSent < nBytes) {
        const int nResult = send(m_ConnectSocket, pBytes + nSent, nBytes - nSent, 0);
        if (nResult != SOCKET_ERROR) {
            nSent += nResult;
            continue;
        }
        nError = WSAGetLastError();
        if (nError != WSAEWOULDBLOCK)
            return false;
        const int nReady = WaitForSocket(m_ConnectSocket, kReplyWaitMs, true);
        if (nReady == SOCKET_ERROR) {
            nError = WSAGetLastError();
            return false;
        }
        if (nReady != 1) {
            nError = WSAETIMEDOUT;
            return false;
        }
    }
    return true;
}

int CQarCommunications::SendWifiCommand(const CString& strCommand)
{
    const int nLength = strCommand.GetLength();
    // A longer request does not fit the device's buffer; cut, it would be
    // another request.
    if (nLength > kMaxRequestLength) {
        m_strLastError.Format(L"Request of %d characters refused in SendWifiCommand(); at most %d are allowed.",
                              nLength, static_cast<int>(kMaxRequestLength));
        return 0;
    }
    char buffer[kMaxRequestLength];
    for (int i = 0; i < nLength; ++i)
        buffer[i] = static_cast<char>(strCommand[i] & 0xFF);
    int nError = 0;
    if (!SendAllBytes(buffer, nLength, nError)) {
        m_strLastError.Format(L"WSA send() failed in SendWifiCommand() with error %s.",
                              GetWsaErrorText(nError).GetString());
        return 0;
    }
    return 1;
}

short CQarCommunications::SendWifiRequest(const wchar_t* pszCommand, int nNumber)
{
    CString strRequest;
    if (nNumber >= 0)
        strRequest.Format(L"%s %d\r\n", pszCommand, nNumber);
    else
        strRequest.Format(L"%s\r\n", pszCommand);
    return SendWifiCommand(strRequest) ? 0 : kFailed;
}

short CQarCommunications::RecvWiflyDataString(const CString& strCommand, CString& strValue, int bRaw)
{
    strValue.Empty();
    // A device that babbles or trickles bytes without ever ending its line
    // must not hold the thread that asked: the reply is bounded in length
    // and in total time as well as per piece.
    auto failUnbounded = [&](const wchar_t* pszFormat) {
        m_strLastError.Format(pszFormat, strCommand.GetString());
        if (m_bSocketOpen)
            CloseWifiConnection();
        return kFailed;
    };
    CClock& clock = GetProgramClock();
    const std::int64_t nDeadline = clock.GetMilliseconds() + kReplyTotalMs;
    CString strReply;
    for (;;) {
        const std::int64_t nLeft = nDeadline - clock.GetMilliseconds();
        if (nLeft <= 0)
            return failUnbounded(L"Reply not complete in time in RecvWiflyDataString() in response to %s Command; "
                                 L"connection closed.");
        const int nWait = nLeft < kReplyWaitMs ? static_cast<int>(nLeft) : static_cast<int>(kReplyWaitMs);
        const int nReady = WaitForSocket(m_ConnectSocket, nWait, false);
        if (nReady == SOCKET_ERROR) {
            m_strLastError.Format(L"WSA select() failed in RecvWiflyDataString()\r\nwith error %s.",
                                  GetWsaErrorText(WSAGetLastError()).GetString());
            return kFailed;
        }
        if (nReady == 0) {
            if (nWait < kReplyWaitMs)
                continue;  // the total time is up: reported above
            m_strLastError.Format(L"WSA select() timed out in RecvWiflyDataString() in response to %s Command.",
                                  strCommand.GetString());
            return 0;
        }
        if (nReady != 1) {
            m_strLastError = L"m_ConnectSocket is missing in the Read Set in RecvWiflyDataString()";
            return kFailed;
        }
        char buffer[kReceiveSize];
        const int nReceived = recv(m_ConnectSocket, buffer, kReceiveSize, 0);
        if (nReceived == SOCKET_ERROR) {
            m_strLastError.Format(L"WSA recv() failed in RecvWiflyDataString()\r\n with error %s.",
                                  GetWsaErrorText(WSAGetLastError()).GetString());
            return kFailed;
        }
        if (nReceived == 0) {
            m_strLastError = L"WSA recv() reported connection gracefully closed in RecvWiflyDataString()";
            return kFailed;
        }
        strReply += BytesAsText(buffer, nReceived);
        // "NC" stands where the adapter would repeat the command; a shorter
        // piece holds no such answer.
        if (nReceived >= 4 && buffer[2] == 'N' && buffer[3] == 'C') {
            m_strLastError = L"WiflyDataString() returned a No Connection response. RQ40 is not On.";
            return kFailed;
        }
        const int nLength = strReply.GetLength();
        if (nLength >= 2 && strReply[nLength - 2] == L'\r' && strReply[nLength - 1] == L'\n' &&
            nLength - 1 >= (bRaw ? 5 : 6))
            break;
        if (nLength > kMaxReplyLength)
            return failUnbounded(L"Reply too long in RecvWiflyDataString() in response to %s Command; "
                                 L"connection closed.");
    }

    if (bRaw) {
        strValue = strReply;
        return static_cast<short>(strReply.GetLength());
    }
    const CString strConfirmation = strCommand + L"OK\r\n";
    const int nConfirmation = strReply.Find(strConfirmation.GetString());
    if (nConfirmation >= 0)
        strReply = strReply.Mid(nConfirmation + strConfirmation.GetLength());
    const int nLeader = strReply.Find(strCommand.Left(2).GetString());
    if (nLeader < 0) {
        m_strLastError = L"Command Leader missing in RecvWiflyDataString()";
        return kFailed;
    }
    if (strReply[2] == L' ')
        strReply = strReply.Mid(nLeader + 3);
    const int nEnd = strReply.Find(L"\r\n");
    if (nEnd < 0) {
        m_strLastError = L"CR/LF missing in RecvWiflyDataString()";
        return kFailed;
    }
    strValue = strReply.Left(nEnd);
    return static_cast<short>(strValue.GetLength());
}

int CQarCommunications::ExpectWifiConfirmation(const wchar_t* pszExpected)
{
    CString strReply;
    const short nLength = RecvWiflyDataString(CString(), strReply, 1);
    if (nLength == 0 || nLength == kFailed)
        return 0;
    return strReply.Left(4) == pszExpected ? 1 : 0;
}

short CQarCommunications::GetWifiByte(int nTimeoutMs)
{
    const int nReady = WaitForSocket(m_ConnectSocket, nTimeoutMs, false);
    if (nReady == SOCKET_ERROR) {
        m_strLastError.Format(L"WSA select() failed in GetWifiByte() with error %s.",
                              GetWsaErrorText(WSAGetLastError()).GetString());
        return kFailed;
    }
    if (nReady == 0) {
        m_strLastError = L"WSA select() Timed Out.";
        return 0;
    }
    if (nReady != 1) {
        m_strLastError = L"WSA recv() failed in GetWifiByte()\r\n FD_ISSET socket not in recv set.";
        return kFailed;
    }
    char nByte = 0;
    int nReceived = recv(m_ConnectSocket, &nByte, 1, 0);
    if (nReceived == SOCKET_ERROR)
        nReceived = recv(m_ConnectSocket, &nByte, 1, 0);
    if (nReceived == SOCKET_ERROR) {
        m_strLastError.Format(L"WSA recv() failed in GetWifiByte()\r\n with error %s.",
                              GetWsaErrorText(WSAGetLastError()).GetString());
        return kFailed;
    }
    if (nReceived == 0) {
        m_strLastError = L"WSA recv() failed in GetWifiByte()\r\n Connection has been gracefully closed.";
        return kFailed;
    }
    return static_cast<unsigned char>(nByte);
}

int CQarCommunications::SendWifiByte(unsigned char nByte)
{
    if (!m_bSocketOpen)
        return 0;
    const char chByte = static_cast<char>(nByte);
    int nError = 0;
    if (!SendAllBytes(&chByte, 1, nError)) {
        m_strLastError.Format(L"WSA send() failed in sendbyte() with error %s.", GetWsaErrorText(nError).GetString());
        return 0;
    }
    return 1;
}

bool CQarCommunications::WifiRequest(const wchar_t* pszCommand, int nNumber, CString& strValue)
{
    strValue.Empty();
    short nResult = SendWifiRequest(pszCommand, nNumber);
    if (nResult == 0)
        nResult = RecvWiflyDataString(pszCommand, strValue, 0);
    else
        nResult = kFailed;
    if (nResult != 0 && nResult != kFailed)
        return true;
    if (m_bSocketOpen)
        CloseWifiConnection();
    return false;
}

void CQarCommunications::RejectWifiValue(const wchar_t* pszCommand)
{
    m_strLastError.Format(L"Invalid value in response to %s Command.", pszCommand);
    if (m_bSocketOpen)
        CloseWifiConnection();
}

unsigned short CQarCommunications::ReadEepromWifi(unsigned short nAddress)
{
    CBusyScope busy(m_bBusy);
    CString strValue;
    if (!WifiRequest(L"GE", nAddress, strValue))
        return static_cast<unsigned short>(kFailed);
    if (!IsHexText(strValue, 2)) {
        RejectWifiValue(L"GE");
        return static_cast<unsigned short>(kFailed);
    }
    return HexPairToByte(strValue);
}

int CQarCommunications::ReadFirmwareWifi(short& nFirmware)
{
    CBusyScope busy(m_bBusy);
    CString strValue;
    if (!WifiRequest(L"GF", -1, strValue))
        return 0;
    if (!IsHexText(strValue, 2)) {
        RejectWifiValue(L"GF");
        return 0;
    }
    nFirmware = HexPairToByte(strValue);
    return 1;
}

double CQarCommunications::ReadBatteryWifi()
{
    CBusyScope busy(m_bBusy);
    m_dBattery = 0.0;
    CString strValue;
    if (!WifiRequest(L"GB", -1, strValue))
        return 0.0;
    double dVolts = 0.0;
    if (strValue.Left(3) == L"GB2") {
        // The RQ80 sends the volts as a decimal number after a blank.
        const int nBlank = strValue.Find(L' ');
        if (nBlank > 0)
            dVolts = std::wcstod(strValue.Mid(nBlank + 1), nullptr);
        if (!std::isfinite(dVolts))
            dVolts = 0.0;
    } else {
        if (!IsHexText(strValue, 2)) {
            RejectWifiValue(L"GB");
            return 0.0;
        }
        dVolts = (HexPairToByte(strValue) + 13) / 25.0;
    }
    m_dBattery = dVolts;
    return m_dBattery;
}

CString CQarCommunications::GetCalibrationRecord()
{
    CBusyScope busy(m_bBusy);
    CString strRecord;
    if (!WifiRequest(L"CG", -1, strRecord)) {
        m_bFailed = 1;
        return CString();
    }
    return strRecord;
}

CString CQarCommunications::GetWifiLinkSettings()
{
    CBusyScope busy(m_bBusy);
    m_bOverRange = 0;
    m_bLowBattery = 0;
    m_bFailed = 0;
    CString strSettings;
    if (!WifiRequest(L"GW", -1, strSettings)) {
        m_bFailed = 1;
        return CString();
    }
    return strSettings;
}

CString CQarCommunications::GetWifiVersion()
{
    CBusyScope busy(m_bBusy);
    CString strVersion;
    if (!WifiRequest(L"GV", -1, strVersion))
        return CString();
    return strVersion;
}

int CQarCommunications::ReadZeroValuesWifi(CString& strZeros)
{
    CBusyScope busy(m_bBusy);
    strZeros.Empty();
    CString strValue;
    if (!WifiRequest(L"GZ", -1, strValue))
        return 0;
    if (strValue.Left(3) != L"GZ2" && !IsHexText(strValue, 8)) {
        RejectWifiValue(L"GZ");
        return 0;
    }
    strZeros = strValue;
    return 1;
}

int CQarCommunications::ReadBothChannelsWifi(double& dChannelA, double& dChannelB)
{
    CBusyScope busy(m_bBusy);
    m_bOverRange = 0;
    m_bLowBattery = 0;
    m_bFailed = 0;
    dChannelA = 0.0;
    dChannelB = 0.0;
    CString strValue;
    if (!WifiRequest(L"G0", -1, strValue)) {
        m_bFailed = 1;
        return 0;
    }
    if (!IsHexText(strValue, 12)) {
        RejectWifiValue(L"G0");
        m_bFailed = 1;
        return 0;
    }
    unsigned char nBytes[6];
    for (int i = 0; i < 6; ++i)
        nBytes[i] = HexPairToByte(strValue.Mid(2 * i, 2));
    const double dA = DecodeGaugeFloat(nBytes[0], nBytes[1], nBytes[2]);
    const double dB = DecodeGaugeFloat(nBytes[3], nBytes[4], nBytes[5]);
    const double dHardLimit = m_bRQ80 ? 5500.0 : 5000.0;
    const double dRange = m_bRQ80 ? 2500.0 : 1250.0;
    // A value that is no number at all counts as beyond the hard limit.
    if (!std::isfinite(dA) || !std::isfinite(dB) || std::fabs(dA) > dHardLimit || std::fabs(dB) > dHardLimit) {
        CloseWifiConnection();
        m_bFailed = 1;
        return 0;
    }
    if (std::fabs(dA) > dRange || std::fabs(dB) > dRange) {
        m_bOverRange = 1;
        return 0;
    }
    dChannelA = dA;
    dChannelB = dB;
    return 1;
}

int CQarCommunications::ReadChannelWifi(int nChannel, double& dValue)
{
    double dChannelA = 0.0, dChannelB = 0.0;
    const int nResult = ReadBothChannelsWifi(dChannelA, dChannelB);
    dValue = nChannel == 1 ? dChannelA : dChannelB;
    return nResult;
}

int CQarCommunications::WifiAutoZero()
{
    CBusyScope busy(m_bBusy);
    if (!SendWifiCommand(L"FZ\r\n"))
        return 0;
    return ExpectWifiConfirmation(L"FZOK");
}

int CQarCommunications::SetWifiFanSpeed(short nValue)
{
    CBusyScope busy(m_bBusy);
    CString strRequest;
    strRequest.Format(L"SF %d\r\n", nValue);
    if (!SendWifiCommand(strRequest) || !ExpectWifiConfirmation(L"SFOK"))
        return -1;
    return nValue;
}

int CQarCommunications::SendFanSetting(short nValue)
{
    if (!m_bNetwork || m_bIoDisabled)
        return -1;
    CBusyScope busy(m_bBusy);
    CString strRequest;
    strRequest.Format(L"FS %d\r\n", nValue);
    if (!SendWifiCommand(strRequest) || !ExpectWifiConfirmation(L"FSOK"))
        return -1;
    return nValue;
}

int CQarCommunications::SetWifiDashDisplay(bool bOn)
{
    if (!m_bSocketOpen)
        return 0;
    CBusyScope busy(m_bBusy);
    const char* pszRequest = bOn ? "DD\r\n" : "UD\r\n";
    int nError = 0;
    if (!SendAllBytes(pszRequest, 4, nError)) {
        m_strLastError.Format(bOn ? L"WSA send() failed in EnableDashRQ40Display() with error %s."
                                  : L"WSA send() failed in DisableDashRQ40Display() with error %s.",
                              GetWsaErrorText(nError).GetString());
        return 0;
    }
    return ExpectWifiConfirmation(bOn ? L"DDOK" : L"UDOK");
}

short CQarCommunications::IdentifyRQ80()
{
    const CString strRecord = GetCalibrationRecord();
    if (strRecord.Left(8) != L"{\"qar\":{") {
        ClearIdentity();
        return 0;
    }
    int nYear = _wtoi(GetJsonValue(strRecord, L"year"));
    if (nYear > 2000)
        nYear -= 2000;
    m_nCalDay = static_cast<unsigned short>(_wtoi(GetJsonValue(strRecord, L"day")));
    m_nCalMonth = static_cast<unsigned short>(_wtoi(GetJsonValue(strRecord, L"month")));
    m_nCalYear = static_cast<unsigned short>(nYear);
    m_strCalDateLocale = FormatLocaleDate(m_nCalYear + 2000, m_nCalMonth, m_nCalDay);
    m_strCalDateNumeric = FormatNumericDate(m_nCalYear + 2000, m_nCalMonth, m_nCalDay);
    m_strCalDateShort = FormatShortDate(m_strCalDateNumeric);
    m_nCalDate = m_nCalMonth * 10000 + m_nCalDay * 100 + m_nCalYear;
    if (m_nCalDate >= 0 && m_nCalDate < 10190)
        m_nCalDate = 10190;

    static const wchar_t* const kKeys[12] = {L"a_pos_l", L"a_pos_q", L"a_pos_c", L"a_neg_l", L"a_neg_q", L"a_neg_c",
                                             L"b_pos_l", L"b_pos_q", L"b_pos_c", L"b_neg_l", L"b_neg_q", L"b_neg_c"};
    for (int i = 0; i < 12; ++i)
        m_fConstants[i] = static_cast<float>(std::wcstod(GetJsonValue(strRecord, kKeys[i]), nullptr));

    if (ReadBatteryWifi() == 0.0 || !ReadFirmwareWifi(m_nFirmware)) {
        ClearIdentity();
        return 0;
    }
    m_strModel = L"RQ80";
    m_nTypeCode = 2;
    return 2;
}

short CQarCommunications::IdentifyWifiGauge()
{
    auto fail = [this]() -> short {
        ClearIdentity();
        return 0;
    };
    // The gauge's memory map, as on a COM port, but each byte is one "GE"
    // request. The channel count has no upper bound here.
    if (!ReadGaugeMemoryMap(0xFFFF))
        return fail();
    m_nCalDate = m_nCalMonth * 10000 + m_nCalDay * 100 + m_nCalYear;

    if (ReadBatteryWifi() == 0.0 || !ReadFirmwareWifi(m_nFirmware))
        return fail();
    for (int i = 0; i < 12; ++i)
        if (!ReadMemoryFloat(3 * i, m_fConstants[i]))
            return fail();
    return static_cast<short>(m_nTypeCode);
}
