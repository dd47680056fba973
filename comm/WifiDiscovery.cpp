#include "comm/WifiDiscovery.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>
#include <cstring>
#include <cwctype>
#include <functional>

namespace {

const wchar_t kJsonLeader[] = L"{\"qar\":{";
const char kBeaconSignature[] = "wifilinkRQ";
constexpr int kBeaconSize = 28;

// The decimal number at the start of a text (after blanks, with an optional
// sign), 0 when there is none; kept within the range of int.
int ReadLeadingInt(const CString& strText)
{
    int i = 0;
    while (strText[i] == L' ' || strText[i] == L'\t')
        ++i;
    bool bNegative = false;
    if (strText[i] == L'-' || strText[i] == L'+')
        bNegative = strText[i++] == L'-';
    long long nValue = 0;
    for (; strText[i] >= L'0' && strText[i] <= L'9'; ++i) {
        nValue = nValue * 10 + (strText[i] - L'0');
        if (nValue > INT_MAX)
            nValue = static_cast<long long>(INT_MAX) + 1;
    }
    if (bNegative)
        nValue = -nValue;
    if (nValue > INT_MAX)
        return INT_MAX;
    return nValue < INT_MIN ? INT_MIN : static_cast<int>(nValue);
}

// Bytes of a datagram as characters, one each (the hex fields are ASCII).
CString BytesAsText(const char* pBytes, int nBytes)
{
    CString strText;
    for (int i = 0; i < nBytes; ++i)
        strText += static_cast<wchar_t>(static_cast<unsigned char>(pBytes[i]));
    return strText;
}

}  // namespace

bool CWifiDiscovery::IsTimeUp(int nSeconds) const
{
    return std::time(nullptr) - m_StartTime > nSeconds;
}

CString CWifiDiscovery::GetWsaErrorText(int nError)
{
    const wchar_t* pszFormat = L"%d";
    switch (nError) {
    case 10048: pszFormat = L"%d WSAEADDRINUSE"; break;
    case 10053: pszFormat = L"%d WSAECONNABORTED"; break;
    case 10054: pszFormat = L"%d WSAECONNRESET"; break;
    case 10060: pszFormat = L"%d WSAETIMEDOUT"; break;
    default: break;
    }
    CString strText;
    strText.Format(pszFormat, nError);
    return strText;
}

CString CWifiDiscovery::GetJsonValue(const CString& strKey, const CString& strText)
{
    const int nKey = strText.Find(strKey.GetString());
    if (nKey < 0)
        return L"doesn't exist";
    // Skip the key's closing quote, the colon and the value's opening quote.
    const int nStart = nKey + strKey.GetLength() + 3;
    const int nEnd = strText.Find(L'"', nStart);
    if (nEnd < 0)
        return L"invalid Json";
    return strText.Mid(nStart, nEnd - nStart);
}

unsigned char CWifiDiscovery::HexPairToByte(const wchar_t* pszPair)
{
    int nDigits[2] = {};
    for (int i = 0; i < 2; ++i) {
        const int ch = static_cast<int>(std::towupper(pszPair[i]));
        nDigits[i] = ch >= L'A' ? ch - 55 : ch - 48;
    }
    return static_cast<unsigned char>((16 * nDigits[0] + nDigits[1]) & 0xFF);
}

int CWifiDiscovery::HexTextToInt(const CString& strHex)
{
    const int nPairs = strHex.GetLength() / 2;
    unsigned long long nValue = 0;
    for (int i = 0; i < nPairs; ++i) {
        const int nShift = 8 * (nPairs - 1 - i);
        if (nShift < 64)
            nValue += static_cast<unsigned long long>(HexPairToByte(strHex.GetString() + 2 * i)) << nShift;
    }
    return static_cast<int>(static_cast<unsigned int>(nValue & 0xFFFFFFFFu));
}

CWifiDiscovery::DatagramKind CWifiDiscovery::ParseDatagram(const char* pBytes, int nBytes,
                                                           const CString& strAddress, CWifiDeviceInfo& device)
{
    if (nBytes <= 0)
        return kNotAnnouncement;
    const CString strText(pBytes, nBytes);
    if (strText.Left(static_cast<int>(std::wcslen(kJsonLeader))) == kJsonLeader) {
        device.m_strAddress = strAddress;
        device.m_nSerialNumber = ReadLeadingInt(GetJsonValue(L"sn", strText));
        device.m_nPort = ReadLeadingInt(GetJsonValue(L"port", strText));
        device.m_nBusy = GetJsonValue(L"status", strText) == L"free" ? 0 : 1;
        device.m_nExtra = 0;
        device.m_nDeviceType = GetJsonValue(L"type", strText).Left(4) == L"1000" ? 0 : 10;
        return kJsonAnnouncement;
    }
    // A beacon needs all of its 28 bytes; a shorter one names no device.
    if (nBytes >= kBeaconSize && std::memcmp(pBytes, kBeaconSignature, 10) == 0) {
        const CString strFields = BytesAsText(pBytes + 10, kBeaconSize - 10);
        const int nSerialNumber = HexTextToInt(strFields.Mid(0, 8));
        if (nSerialNumber <= 0)
            return kNotAnnouncement;
        // The type is sent as the character code of one decimal digit.
        const unsigned char nTypeChar = HexPairToByte(strFields.GetString() + 16);
        device.m_strAddress = strAddress;
        device.m_nSerialNumber = nSerialNumber;
        device.m_nPort = HexTextToInt(strFields.Mid(8, 4));
        device.m_nBusy = HexTextToInt(strFields.Mid(12, 2));
        device.m_nExtra = HexTextToInt(strFields.Mid(14, 2));
        device.m_nDeviceType = nTypeChar >= '0' && nTypeChar <= '9' ? nTypeChar - '0' : 0;
        return kBeacon;
    }
    return kNotAnnouncement;
}

int CWifiDiscovery::EnterDevice(int nCount, DatagramKind kind, const CWifiDeviceInfo& device)
{
    for (int i = 0; i < nCount; ++i) {
        if (kind == kJsonAnnouncement && m_nSerialNumber[i] == device.m_nSerialNumber)
            return nCount;
        if (kind == kBeacon && m_strAddress[i] == device.m_strAddress && m_nPort[i] == device.m_nPort)
            return nCount;
    }
    if (nCount >= kMaxDevices)
        return nCount;
    m_strAddress[nCount] = device.m_strAddress;
    m_nSerialNumber[nCount] = device.m_nSerialNumber;
    m_nPort[nCount] = device.m_nPort;
    m_nBusy[nCount] = device.m_nBusy;
    m_nExtra[nCount] = device.m_nExtra;
    m_nDeviceType[nCount] = device.m_nDeviceType;
    return nCount + 1;
}

CWifiDeviceInfo CWifiDiscovery::GetDevice(int i) const
{
    CWifiDeviceInfo device;
    if (i < 0 || i >= kMaxDevices)
        return device;
    device.m_strAddress = m_strAddress[i];
    device.m_nSerialNumber = m_nSerialNumber[i];
    device.m_nPort = m_nPort[i];
    device.m_nBusy = m_nBusy[i];
    device.m_nExtra = m_nExtra[i];
    device.m_nDeviceType = m_nDeviceType[i];
    return device;
}

namespace {

// One listen on the discovery port: each announcement heard goes to onHeard,
// which returns true to stop listening. False on a socket failure, with the
// failure's text in strError.
bool ListenForAnnouncements(CWifiDiscovery& discovery, int nSeconds, const wchar_t* pszOperation,
                            std::time_t& startTime, CString& strError,
                            const std::function<bool(CWifiDiscovery::DatagramKind, const CWifiDeviceInfo&)>& onHeard)
{
    auto fail = [&](const wchar_t* pszCall, const wchar_t* pszEnd) {
        strError.Format(L"WSA %s failed in %s with error %s%s", pszCall, pszOperation,
                        CWifiDiscovery::GetWsaErrorText(WSAGetLastError()).GetString(), pszEnd);
    };
    SOCKET hSocket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (hSocket == INVALID_SOCKET) {
        fail(L"socket()", L".");
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(CWifiDiscovery::kDiscoveryPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(hSocket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
        fail(L"bind()", L".");
        closesocket(hSocket);
        return false;
    }

    startTime = std::time(nullptr);
    char buffer[CWifiDiscovery::kDatagramSize];
    bool bStop = false;
    while (!bStop && !discovery.IsTimeUp(nSeconds)) {
        fd_set readSet;
        FD_ZERO(&readSet);
        FD_SET(hSocket, &readSet);
        timeval wait{0, 500};
        const int nReady = select(0, &readSet, nullptr, nullptr, &wait);
        if (nReady == SOCKET_ERROR) {
            fail(L"select()", L".");
            closesocket(hSocket);
            return false;
        }
        if (nReady == 0)
            continue;
        sockaddr_in sender{};
        int nSenderSize = sizeof sender;
        const int nBytes = recvfrom(hSocket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sender),
                                    &nSenderSize);
        if (nBytes == SOCKET_ERROR) {
            // A datagram too long for the buffer is no announcement; the
            // devices behind it may still be heard.
            if (WSAGetLastError() == WSAEMSGSIZE)
                continue;
            fail(L"recvfrom()", L".");
            closesocket(hSocket);
            return false;
        }
        if (nBytes <= 0)
            continue;
        wchar_t szAddress[INET_ADDRSTRLEN] = {};
        InetNtopW(AF_INET, &sender.sin_addr, szAddress, INET_ADDRSTRLEN);
        CWifiDeviceInfo device;
        const CWifiDiscovery::DatagramKind kind =
            CWifiDiscovery::ParseDatagram(buffer, nBytes, CString(szAddress), device);
        if (kind != CWifiDiscovery::kNotAnnouncement)
            bStop = onHeard(kind, device);
    }
    if (closesocket(hSocket) == SOCKET_ERROR) {
        fail(L"closesocket()", L".\n");
        return false;
    }
    return true;
}

}  // namespace

int CWifiDiscovery::DiscoverWifiDevices(int nSeconds)
{
    m_strErrorText.Empty();
    int nCount = 0;
    const bool bListened = ListenForAnnouncements(
        *this, nSeconds, L"DiscoverWifiDevices()", m_StartTime, m_strErrorText,
        [&](DatagramKind kind, const CWifiDeviceInfo& device) {
            nCount = EnterDevice(nCount, kind, device);
            return false;
        });
    return bListened ? nCount : 0;
}

CWifiDeviceInfo CWifiDiscovery::DiscoverWifiDevice(int nSeconds, int nSerialNumber)
{
    m_strErrorText.Empty();
    CWifiDeviceInfo found;
    ListenForAnnouncements(*this, nSeconds, L"DiscoverWifiDevice()", m_StartTime, m_strErrorText,
                           [&](DatagramKind, const CWifiDeviceInfo& device) {
                               if (device.m_nSerialNumber != nSerialNumber)
                                   return false;
                               found = device;
                               return true;
                           });
    return found;
}
