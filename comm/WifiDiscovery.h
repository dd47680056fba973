// CWifiDiscovery: listens on UDP port 60417 for the announcements of network
// gauges (a JSON text) and of network adapters (a fixed-layout beacon). A
// local object of its caller, used for one listen; it blocks the calling
// thread for the listening time and dispatches no messages.
#pragma once

#include <ctime>

#include "comm/WifiDeviceInfo.h"
#include "framework/String.h"

class CWifiDiscovery {
public:
    enum { kMaxDevices = 32, kDiscoveryPort = 60417, kDatagramSize = 1024 };
    enum DatagramKind { kNotAnnouncement = 0, kJsonAnnouncement = 1, kBeacon = 2 };

    // Listens for the given seconds and returns the number of distinct
    // devices entered in the found-device table; 0 on a socket failure,
    // with m_strErrorText set.
    int DiscoverWifiDevices(int nSeconds);
    // Listens until the device with this serial number is heard or the time
    // is up; an empty descriptor (serial number 0) when it was not heard.
    CWifiDeviceInfo DiscoverWifiDevice(int nSeconds, int nSerialNumber);
    // True when more whole seconds than given have passed since the listen began.
    bool IsTimeUp(int nSeconds) const;

    // One datagram of nBytes bytes from the sender at strAddress, as a
    // descriptor; kNotAnnouncement when it is neither kind (or a beacon that
    // cannot name a device), leaving the descriptor as it was.
    static DatagramKind ParseDatagram(const char* pBytes, int nBytes, const CString& strAddress,
                                      CWifiDeviceInfo& device);
    // The quoted value after "key" in the text; "doesn't exist" when the key
    // is absent, "invalid Json" when no closing quote follows.
    static CString GetJsonValue(const CString& strKey, const CString& strText);
    static int HexTextToInt(const CString& strHex);
    static unsigned char HexPairToByte(const wchar_t* pszPair);
    static CString GetWsaErrorText(int nError);

    // The found-device table, filled from entry 0.
    CString m_strErrorText;
    CString m_strAddress[kMaxDevices];
    int m_nSerialNumber[kMaxDevices] = {};
    int m_nPort[kMaxDevices] = {};
    int m_nBusy[kMaxDevices] = {};
    int m_nExtra[kMaxDevices] = {};
    int m_nDeviceType[kMaxDevices] = {};

    // The descriptor of table entry i.
    CWifiDeviceInfo GetDevice(int i) const;

private:
    // Enters a device unless it is already in the table or the table is
    // full; returns the new count.
    int EnterDevice(int nCount, DatagramKind kind, const CWifiDeviceInfo& device);

    std::time_t m_StartTime = 0;
};
