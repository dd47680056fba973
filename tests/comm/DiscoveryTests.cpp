// Network discovery: the datagram parsing, and listens on UDP port 60417 to
// announcements that the test sends to 127.0.0.1 and to the loopback
// broadcast address 127.255.255.255.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "comm/WifiDiscovery.h"
#include "tests/comm/CommTestSupport.h"

namespace {

CWifiDiscovery::DatagramKind Parse(const std::string& datagram, CWifiDeviceInfo& device)
{
    return CWifiDiscovery::ParseDatagram(datagram.data(), static_cast<int>(datagram.size()), L"10.0.0.7", device);
}

std::string Beacon(const std::string& fields)
{
    return "wifilinkRQ" + fields;
}

}  // namespace

TEST(DiscoveryParsing, JsonAnnouncement)
{
    CWifiDeviceInfo device;
    ASSERT_EQ(CWifiDiscovery::kJsonAnnouncement,
              Parse(R"({"qar":{"type":"RQ80","sn":"4321","port":"2000","status":"free","ver":"1.2"}})", device));
    EXPECT_EQ(CString(L"10.0.0.7"), device.m_strAddress);
    EXPECT_EQ(4321, device.m_nSerialNumber);
    EXPECT_EQ(2000, device.m_nPort);
    EXPECT_EQ(0, device.m_nBusy);
    EXPECT_EQ(0, device.m_nExtra);
    EXPECT_EQ(10, device.m_nDeviceType);
}

TEST(DiscoveryParsing, JsonFieldRules)
{
    struct Case {
        const char* pszText;
        int nSerial, nPort, nBusy, nType;
    };
    const Case cases[] = {
        {R"({"qar":{"type":"1000-A","sn":"5","port":"80","status":"free"}})", 5, 80, 0, 0},
        {R"({"qar":{"type":"X1000","sn":"5","port":"80","status":"free"}})", 5, 80, 0, 10},
        {R"({"qar":{"sn":"5","port":"80","status":"Free"}})", 5, 80, 1, 10},
        {R"({"qar":{"sn":"5","port":"80"}})", 5, 80, 1, 10},
        {R"({"qar":{"port":"80","status":"busy"}})", 0, 80, 1, 10},
        {R"({"qar":{"sn":"77abc","port":"x"}})", 77, 0, 1, 10},
        // An unquoted number as the last field has no closing quote to find.
        {R"({"qar":{"sn":"12","status":"free","port":2000}})", 12, 0, 0, 10},
        // The first occurrence of a key wins, even inside another key.
        {R"({"qar":{"psn":"1","sn":"2"}})", 1, 0, 1, 10},
    };
    for (const Case& c : cases) {
        CWifiDeviceInfo device;
        ASSERT_EQ(CWifiDiscovery::kJsonAnnouncement, Parse(c.pszText, device)) << c.pszText;
        EXPECT_EQ(c.nSerial, device.m_nSerialNumber) << c.pszText;
        EXPECT_EQ(c.nPort, device.m_nPort) << c.pszText;
        EXPECT_EQ(c.nBusy, device.m_nBusy) << c.pszText;
        EXPECT_EQ(c.nType, device.m_nDeviceType) << c.pszText;
    }
}

TEST(DiscoveryParsing, AdapterBeacon)
{
    CWifiDeviceInfo device;
    ASSERT_EQ(CWifiDiscovery::kBeacon, Parse(Beacon("000004D2" "07D0" "01" "2A" "37"), device));
    EXPECT_EQ(CString(L"10.0.0.7"), device.m_strAddress);
    EXPECT_EQ(1234, device.m_nSerialNumber);
    EXPECT_EQ(2000, device.m_nPort);
    EXPECT_EQ(1, device.m_nBusy);
    EXPECT_EQ(42, device.m_nExtra);
    EXPECT_EQ(7, device.m_nDeviceType);

    // Lower-case digits, a type of 5 and bytes beyond 28 that nothing reads.
    ASSERT_EQ(CWifiDiscovery::kBeacon, Parse(Beacon("0001e240" "1f90" "00" "ff" "35" "trailing"), device));
    EXPECT_EQ(123456, device.m_nSerialNumber);
    EXPECT_EQ(8080, device.m_nPort);
    EXPECT_EQ(0, device.m_nBusy);
    EXPECT_EQ(255, device.m_nExtra);
    EXPECT_EQ(5, device.m_nDeviceType);

    // A type that is no digit is no known type.
    ASSERT_EQ(CWifiDiscovery::kBeacon, Parse(Beacon("00000001" "0050" "00" "00" "41"), device));
    EXPECT_EQ(0, device.m_nDeviceType);
}

TEST(DiscoveryParsing, WhatIsNoAnnouncementLeavesTheDescriptorAlone)
{
    const std::string datagrams[] = {
        R"( {"qar":{"sn":"5"}})",                      // a leading blank
        R"({"QAR":{"sn":"5"}})",
        Beacon("00000000" "07D0" "00" "00" "37"),      // serial number 0
        Beacon("FFFFFFFF" "07D0" "00" "00" "37"),      // not above 0
        Beacon("000004D2" "07D0" "00" "00" "3"),       // 27 bytes: truncated
        Beacon("000004D2"),
        "wifilinkrq000004D207D0000037",                 // the signature is case-sensitive
        "hello",
        std::string("\0\0\0\xff\xfe", 5),
        std::string(1, '{'),
    };
    for (const std::string& datagram : datagrams) {
        CWifiDeviceInfo device;
        device.m_nSerialNumber = 99;
        EXPECT_EQ(CWifiDiscovery::kNotAnnouncement, Parse(datagram, device)) << datagram;
        EXPECT_EQ(99, device.m_nSerialNumber) << datagram;
        EXPECT_TRUE(device.m_strAddress.IsEmpty()) << datagram;
    }
}

TEST(DiscoveryParsing, TheTextIsMadeOfExactlyTheBytesReceived)
{
    CWifiDeviceInfo device;
    const std::string withZero = std::string(R"({"qar":{"port":"81")") + '\0' + R"(,"sn":"66"}})";
    ASSERT_EQ(CWifiDiscovery::kJsonAnnouncement, Parse(withZero, device));
    EXPECT_EQ(66, device.m_nSerialNumber);
    EXPECT_EQ(81, device.m_nPort);
    // Only the first n bytes of the buffer count.
    const std::string buffer = R"({"qar":{"sn":"12"}})" "3456";
    ASSERT_EQ(CWifiDiscovery::kJsonAnnouncement,
              CWifiDiscovery::ParseDatagram(buffer.data(), 19, L"10.0.0.7", device));
    EXPECT_EQ(12, device.m_nSerialNumber);
}

TEST(DiscoveryParsing, JsonValueLookup)
{
    EXPECT_EQ(CString(L"3"), CWifiDiscovery::GetJsonValue(L"month", LR"({"qar":{"month":"3"}})"));
    EXPECT_EQ(CString(L"doesn't exist"), CWifiDiscovery::GetJsonValue(L"day", LR"({"qar":{"month":"3"}})"));
    EXPECT_EQ(CString(L"invalid Json"), CWifiDiscovery::GetJsonValue(L"sn", LR"({"qar":{"sn":"12)"));
    EXPECT_EQ(CString(L"invalid Json"), CWifiDiscovery::GetJsonValue(L"sn", L"sn"));
    EXPECT_EQ(CString(L""), CWifiDiscovery::GetJsonValue(L"sn", LR"({"sn":""})"));
}

TEST(DiscoveryParsing, HexDecoding)
{
    EXPECT_EQ(1234, CWifiDiscovery::HexTextToInt(L"000004D2"));
    EXPECT_EQ(2000, CWifiDiscovery::HexTextToInt(L"07d0"));
    EXPECT_EQ(0xAB, CWifiDiscovery::HexTextToInt(L"ABC"));  // an odd last character is ignored
    EXPECT_EQ(0, CWifiDiscovery::HexTextToInt(L""));
    EXPECT_EQ(-1, CWifiDiscovery::HexTextToInt(L"FFFFFFFF"));
    EXPECT_EQ(0x01020304, CWifiDiscovery::HexTextToInt(L"FF01020304"));  // kept to 32 bits
    EXPECT_EQ(127, CWifiDiscovery::HexPairToByte(L"7f"));
    EXPECT_EQ(255, CWifiDiscovery::HexPairToByte(L"FF"));
    EXPECT_EQ(0x37, CWifiDiscovery::HexPairToByte(L"37"));
    EXPECT_EQ(0, CWifiDiscovery::HexPairToByte(L"G0"));  // 'G' counts 16: 256 kept to 8 bits
}

TEST(DiscoveryParsing, SocketErrorTexts)
{
    EXPECT_EQ(CString(L"10048 WSAEADDRINUSE"), CWifiDiscovery::GetWsaErrorText(10048));
    EXPECT_EQ(CString(L"10053 WSAECONNABORTED"), CWifiDiscovery::GetWsaErrorText(10053));
    EXPECT_EQ(CString(L"10054 WSAECONNRESET"), CWifiDiscovery::GetWsaErrorText(10054));
    EXPECT_EQ(CString(L"10060 WSAETIMEDOUT"), CWifiDiscovery::GetWsaErrorText(10060));
    EXPECT_EQ(CString(L"10040"), CWifiDiscovery::GetWsaErrorText(10040));
}

namespace {

// Sends its datagrams over and over, from its own thread, until destroyed:
// the listener is heard only from its bind on, and repeats must not count.
class CAnnouncer {
public:
    struct Datagram {
        std::string bytes;
        bool bBroadcast;  // to 127.255.255.255 rather than 127.0.0.1
    };
    explicit CAnnouncer(std::vector<Datagram> datagrams) : m_datagrams(std::move(datagrams))
    {
        m_thread = std::thread([this] { Run(); });
    }
    ~CAnnouncer()
    {
        m_bStop = true;
        m_thread.join();
    }

private:
    void Run()
    {
        SOCKET hSocket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        BOOL bBroadcast = TRUE;
        setsockopt(hSocket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&bBroadcast), sizeof bBroadcast);
        sockaddr_in local{}, broadcast{};
        local.sin_family = broadcast.sin_family = AF_INET;
        local.sin_port = broadcast.sin_port = htons(CWifiDiscovery::kDiscoveryPort);
        inet_pton(AF_INET, "127.0.0.1", &local.sin_addr);
        inet_pton(AF_INET, "127.255.255.255", &broadcast.sin_addr);
        while (!m_bStop) {
            for (const Datagram& datagram : m_datagrams) {
                const sockaddr_in& to = datagram.bBroadcast ? broadcast : local;
                sendto(hSocket, datagram.bytes.data(), static_cast<int>(datagram.bytes.size()), 0,
                       reinterpret_cast<const sockaddr*>(&to), sizeof to);
            }
            Sleep(20);
        }
        closesocket(hSocket);
    }

    std::vector<Datagram> m_datagrams;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

// Entries heard from this machine; a device elsewhere on the network may
// announce itself during a test too.
std::vector<CWifiDeviceInfo> LocalEntries(const CWifiDiscovery& discovery, int nCount)
{
    std::vector<CWifiDeviceInfo> entries;
    for (int i = 0; i < nCount && i < CWifiDiscovery::kMaxDevices; ++i)
        if (discovery.m_strAddress[i] == L"127.0.0.1")
            entries.push_back(discovery.GetDevice(i));
    return entries;
}

}  // namespace

TEST(Discovery, ListeningWithNoDeviceLastsMoreThanTheSecondsAndFindsNothing)
{
    CWifiDiscovery discovery;
    CStopwatch watch;
    const int nCount = discovery.DiscoverWifiDevices(1);
    const double dElapsedMs = watch.ElapsedMs();
    EXPECT_TRUE(discovery.m_strErrorText.IsEmpty()) << discovery.m_strErrorText.ToAnsi();
    EXPECT_TRUE(LocalEntries(discovery, nCount).empty());
    EXPECT_GT(dElapsedMs, 1000.0 - 20.0);  // whole calendar seconds: more than one
    EXPECT_LT(dElapsedMs, 2000.0 + 300.0);
}

TEST(Discovery, EachDeviceIsEnteredOnceAndEverythingElseIsIgnored)
{
    const std::string json = R"({"qar":{"type":"RQ80","sn":"4321","port":"3000","status":"free"}})";
    CAnnouncer announcer({
        {std::string(1500, 'x'), false},  // too long for the buffer: skipped, listening goes on
        {json, false},
        {json, true},
        {R"({"qar":{"type":"RQ80","sn":"4321","port":"3001","status":"busy"}})", false},  // same serial
        {Beacon("000004D2" "07D0" "00" "05" "37"), true},
        {Beacon("00000929" "07D0" "01" "06" "35"), false},  // same address and port: one entry
        {Beacon("000004D2" "07D1" "00" "05" "37"), false},  // the same adapter on another port
        {Beacon("000004D2" "07D0" "00" "05" "3"), false},   // truncated
        {"M-SEARCH * HTTP/1.1\r\n\r\n", true},              // foreign
        {std::string("\x01\x02\x00\x04", 4), false},
        {R"({"qar":{"sn")", false},                          // malformed: serial 0, a device after all
    });
    CWifiDiscovery discovery;
    const int nCount = discovery.DiscoverWifiDevices(1);
    EXPECT_TRUE(discovery.m_strErrorText.IsEmpty()) << discovery.m_strErrorText.ToAnsi();
    const std::vector<CWifiDeviceInfo> entries = LocalEntries(discovery, nCount);
    ASSERT_EQ(4u, entries.size()) << [&] {
        std::string text;
        for (const CWifiDeviceInfo& device : entries)
            text += " (serial " + std::to_string(device.m_nSerialNumber) + " port " + std::to_string(device.m_nPort) +
                    ")";
        return text;
    }();
    // Which of two duplicates comes first depends on when the listen began.
    int nJson = 0, nBeaconPort2000 = 0, nBeaconPort2001 = 0, nNoSerial = 0;
    for (const CWifiDeviceInfo& device : entries) {
        if (device.m_nSerialNumber == 4321) {
            ++nJson;
            EXPECT_EQ(10, device.m_nDeviceType);
            EXPECT_EQ(0, device.m_nExtra);
        } else if (device.m_nPort == 2000 && (device.m_nSerialNumber == 1234 || device.m_nSerialNumber == 2345)) {
            ++nBeaconPort2000;
            EXPECT_EQ(device.m_nSerialNumber == 1234 ? 7 : 5, device.m_nDeviceType);
        } else if (device.m_nPort == 2001 && device.m_nSerialNumber == 1234) {
            ++nBeaconPort2001;
            EXPECT_EQ(5, device.m_nExtra);
        } else if (device.m_nSerialNumber == 0) {
            ++nNoSerial;
        }
    }
    EXPECT_EQ(1, nJson);
    EXPECT_EQ(1, nBeaconPort2000);
    EXPECT_EQ(1, nBeaconPort2001);
    EXPECT_EQ(1, nNoSerial);
}

TEST(Discovery, TheTableTakesThirtyTwoDevicesAndNothingBeyond)
{
    std::vector<CAnnouncer::Datagram> datagrams;
    for (int i = 1; i <= 40; ++i)
        datagrams.push_back({R"({"qar":{"sn":")" + std::to_string(i) + R"(","port":")" +
                                 std::to_string(1000 + i) + R"(","status":"free"}})",
                             false});
    CAnnouncer announcer(std::move(datagrams));
    CWifiDiscovery discovery;
    const int nCount = discovery.DiscoverWifiDevices(1);
    EXPECT_EQ(CWifiDiscovery::kMaxDevices, nCount);
    std::vector<bool> seen(41, false);
    for (int i = 0; i < CWifiDiscovery::kMaxDevices; ++i) {
        const int nSerial = discovery.m_nSerialNumber[i];
        if (discovery.m_strAddress[i] != L"127.0.0.1")
            continue;
        ASSERT_TRUE(nSerial >= 1 && nSerial <= 40) << i;
        EXPECT_FALSE(seen[nSerial]) << nSerial;
        seen[nSerial] = true;
        // Every entry holds its own device's fields: nothing was written across entries.
        EXPECT_EQ(1000 + nSerial, discovery.m_nPort[i]) << i;
        EXPECT_EQ(0, discovery.m_nBusy[i]) << i;
        EXPECT_EQ(10, discovery.m_nDeviceType[i]) << i;
    }
}

TEST(Discovery, LookingForOneDeviceReturnsAsSoonAsItIsHeard)
{
    CAnnouncer announcer({
        {Beacon("00000001" "0050" "00" "00" "37"), true},
        {Beacon("000004D2" "07D0" "01" "2A" "35"), true},
    });
    CWifiDiscovery discovery;
    CStopwatch watch;
    const CWifiDeviceInfo device = discovery.DiscoverWifiDevice(5, 1234);
    EXPECT_LT(watch.ElapsedMs(), 1500.0);
    EXPECT_EQ(CString(L"127.0.0.1"), device.m_strAddress);
    EXPECT_EQ(1234, device.m_nSerialNumber);
    EXPECT_EQ(2000, device.m_nPort);
    EXPECT_EQ(1, device.m_nBusy);
    EXPECT_EQ(42, device.m_nExtra);
    EXPECT_EQ(5, device.m_nDeviceType);
}

TEST(Discovery, ADeviceNotHeardGivesAnEmptyDescriptor)
{
    CAnnouncer announcer({{R"({"qar":{"sn":"4321","port":"2000"}})", false}});
    CWifiDiscovery discovery;
    const CWifiDeviceInfo device = discovery.DiscoverWifiDevice(1, 999);
    EXPECT_TRUE(device.m_strAddress.IsEmpty());
    EXPECT_EQ(0, device.m_nSerialNumber);
    EXPECT_TRUE(discovery.m_strErrorText.IsEmpty());
}

TEST(Discovery, APortHeldElsewhereEndsTheListenWithTheBindText)
{
    SOCKET hHolder = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(CWifiDiscovery::kDiscoveryPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(0, bind(hHolder, reinterpret_cast<const sockaddr*>(&local), sizeof local));

    CWifiDiscovery discovery;
    EXPECT_EQ(0, discovery.DiscoverWifiDevices(1));
    EXPECT_EQ(CString(L"WSA bind() failed in DiscoverWifiDevices() with error 10048 WSAEADDRINUSE."),
              discovery.m_strErrorText);
    const CWifiDeviceInfo device = discovery.DiscoverWifiDevice(1, 1234);
    EXPECT_EQ(0, device.m_nSerialNumber);
    EXPECT_EQ(CString(L"WSA bind() failed in DiscoverWifiDevice() with error 10048 WSAEADDRINUSE."),
              discovery.m_strErrorText);
    closesocket(hHolder);
}
