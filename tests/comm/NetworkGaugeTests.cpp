// The gauge link over TCP against the network gauge model on 127.0.0.1:
// the reply reader with its exact failure texts, both identifications, the
// reading limits, the confirmed commands, the bounds on requests and replies,
// and the busy mark of every exchange. The 2-second pause after a connection
// and the total time of a reply run on a stepping program clock.
#include <gtest/gtest.h>

#include <clocale>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/Clock.h"
#include "comm/QarCommunications.h"
#include "comm/WifiDiscovery.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"

namespace {

using Kind = CNetworkGaugeModel::Kind;
using Requests = std::vector<std::string>;

class NetworkGauge : public testing::Test {
protected:
    void SetUp() override { m_link.InitChannelTable(); }
    void TearDown() override
    {
        if (m_link.m_ConnectSocket != INVALID_SOCKET)
            m_link.CloseWifiConnection();
        if (m_pModel)
            m_pModel->Stop();
    }

    void StartModel(Kind kind, const std::vector<std::string>& setup = {})
    {
        m_pModel = std::make_unique<CNetworkGaugeModel>(kind);
        for (const std::string& line : setup)
            ASSERT_EQ("ok", m_pModel->Apply(line)) << line;
        ASSERT_TRUE(m_pModel->Start());
    }
    void Control(const std::string& line) { ASSERT_EQ("ok", m_pModel->Apply(line)) << line; }

    CWifiDeviceInfo Descriptor() const
    {
        CWifiDeviceInfo device;
        device.m_strAddress = L"127.0.0.1";
        device.m_nPort = m_pModel->GetPort();
        device.m_nSerialNumber = 4321;
        device.m_nDeviceType = m_pModel->GetDeviceType();
        return device;
    }
    // (Re)connects the link; a socket still open is closed by the open.
    void Open()
    {
        ASSERT_EQ(1, m_link.OpenWifiConnection(Descriptor())) << m_link.m_strLastError.GetString();
        m_pModel->TakeRequests();
    }
    bool IsOpen() const { return m_link.m_bSocketOpen && m_link.m_bConnected; }

    CSteppingClock m_clock{1000};
    CScopedProgramClock m_scopedClock{m_clock};
    std::unique_ptr<CNetworkGaugeModel> m_pModel;
    CQarCommunications m_link;
};

const wchar_t kNoConnection[] = L"WiflyDataString() returned a No Connection response. RQ40 is not On.";
const wchar_t kLeaderMissing[] = L"Command Leader missing in RecvWiflyDataString()";

}  // namespace

TEST(NetworkHelpers, HexPairToByteTakesTwoCharactersInEitherCase)
{
    struct Case {
        const wchar_t* pszText;
        int nByte;
    };
    // Beyond the hex digits the arithmetic stays: a character below 'A'
    // counts from '0', any other from 'A' (+10), and the byte keeps 8 bits.
    const Case cases[] = {{L"1F", 31}, {L"1f", 31}, {L"d4", 212}, {L"00", 0}, {L"FF", 255}, {L"1F7", 31},
                          {L"G0", 0},   {L"9:", 154}, {L"zz", 83}};
    for (const Case& c : cases)
        EXPECT_EQ(c.nByte, CQarCommunications::HexPairToByte(c.pszText)) << c.pszText;
}

TEST(NetworkHelpers, GetJsonValueNeverSkipsPastTheEnd)
{
    struct Case {
        const wchar_t* pszJson;
        const wchar_t* pszKey;
        const wchar_t* pszValue;
    };
    const Case cases[] = {
        {LR"({"qar":{"month":"3"}})", L"month", L"3"},
        {LR"({"qar":{"month":"3"}})", L"day", L"doesn't exist"},
        {LR"({"qar":{"port":2000}})", L"port", L"invalid Json"},
        {LR"({"qar":{"today":"x","day":"5"}})", L"day", L"x"},
        {LR"({"qar":{"day":"")", L"day", L""},
        {LR"({"qar":{"day":")", L"day", L"invalid Json"},
        {LR"({"qar":{"day)", L"day", L"invalid Json"},
        {LR"({"qar":{"day":)", L"day", L"invalid Json"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.pszValue), CQarCommunications::GetJsonValue(c.pszJson, c.pszKey)) << c.pszJson;
}

// The link puts the code in brackets; discovery puts the name after it.
TEST(NetworkHelpers, WsaErrorTextsOfTheLinkAndOfDiscoveryDiffer)
{
    struct Case {
        int nError;
        const wchar_t* pszLink;
        const wchar_t* pszDiscovery;
    };
    const Case cases[] = {
        {10053, L"(10053) WSAECONNABORTED", L"10053 WSAECONNABORTED"},
        {10054, L"(10054) WSAECONNRESET", L"10054 WSAECONNRESET"},
        {10060, L"(10060) WSAETIMEDOUT", L"10060 WSAETIMEDOUT"},
        {10048, L"10048", L"10048 WSAEADDRINUSE"},
        {10061, L"10061", L"10061"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CString(c.pszLink), CQarCommunications::GetWsaErrorText(c.nError));
        EXPECT_EQ(CString(c.pszDiscovery), CWifiDiscovery::GetWsaErrorText(c.nError));
    }
}

TEST_F(NetworkGauge, RefusedConnectionLeavesItsTextAndNoLink)
{
    StartModel(Kind::kRQ80);
    const CWifiDeviceInfo device = Descriptor();
    m_pModel->Stop();  // nothing listens on the port any more

    EXPECT_EQ(0, m_link.OpenWifiConnection(device));
    EXPECT_EQ(CString(L"WSA Connect() failed in OpenWifiConnection() with error 10061."), m_link.m_strLastError);
    EXPECT_EQ(0, m_link.m_bConnected + m_link.m_bSocketOpen + m_link.m_bNetwork);
    EXPECT_EQ(INVALID_SOCKET, m_link.m_ConnectSocket);
    EXPECT_TRUE(m_link.m_Device.m_strAddress.IsEmpty());
    EXPECT_EQ(0, m_link.m_Device.m_nPort);
}

TEST_F(NetworkGauge, OpeningTakesTheDescriptorAndClosingForgetsIt)
{
    for (Kind kind : {Kind::kRQ80, Kind::kRQ40Adapter}) {
        StartModel(kind);
        // The port search passes the link's own descriptor, which the open clears first.
        m_link.m_bNetwork = 1;
        m_link.m_Device = Descriptor();
        m_link.m_strLastError = L"earlier failure";
        ASSERT_EQ(1, m_link.OpenDevicePort());
        EXPECT_TRUE(m_link.m_strLastError.IsEmpty());
        EXPECT_EQ(1, m_link.m_bSocketOpen);
        EXPECT_EQ(1, m_link.m_bConnected);
        EXPECT_EQ(1, m_link.m_bGauge);
        EXPECT_EQ(kind == Kind::kRQ80 ? 1 : 0, m_link.m_bRQ80);
        EXPECT_EQ(CString(L"127.0.0.1"), m_link.m_Device.m_strAddress);
        EXPECT_EQ(m_pModel->GetPort(), m_link.m_Device.m_nPort);
        EXPECT_EQ(4321, m_link.m_Device.m_nSerialNumber);

        EXPECT_TRUE(m_link.CloseWifiConnection());
        EXPECT_EQ(0, m_link.m_bSocketOpen + m_link.m_bConnected);
        EXPECT_EQ(INVALID_SOCKET, m_link.m_ConnectSocket);
        EXPECT_TRUE(m_link.m_Device.m_strAddress.IsEmpty());
        EXPECT_EQ(0, m_link.m_Device.m_nPort + m_link.m_Device.m_nSerialNumber);
        EXPECT_EQ(m_pModel->GetDeviceType(), m_link.m_Device.m_nDeviceType);
        // A second close finds no socket.
        EXPECT_FALSE(m_link.CloseWifiConnection());
        m_pModel->Stop();
    }
}

TEST_F(NetworkGauge, ReplyReaderOverTheRepliesOfTheProtocol)
{
    StartModel(Kind::kRQ80);
    struct Case {
        const wchar_t* pszCommand;
        int nNumber;
        int bRaw;
        const char* pszFault;  // the model's reply, as a control line
        short nResult;
        const wchar_t* pszValue;
        const wchar_t* pszError;
    };
    const Case cases[] = {
        {L"GE", 248, 0, "fault raw GE GE 1F\\r\\n", 2, L"1F", L""},
        {L"GE", 5, 0, "fault raw GE GEOK\\r\\nGE 05\\r\\n", 2, L"05", L""},
        {L"GB", -1, 0, "fault raw GB GB2 5.91\\r\\n", 8, L"GB2 5.91", L""},
        {L"GB", -1, 0, "fault raw GB GB D4\\r\\n", 2, L"D4", L""},
        {L"CG", -1, 0, R"(fault raw CG CG {"qar":{"month":"3"}}\r\n)", 21, LR"({"qar":{"month":"3"}})", L""},
        // Three pieces, 100 ms apart, are joined before parsing.
        {L"G0", -1, 0, "fault raw G0 G0 87\\p4800\\p874800\\r\\n", 12, L"874800874800", L""},
        // Six characters complete a raw reply (line feed at index 5).
        {L"SF", 10, 1, "fault raw SF SFOK\\r\\n", 6, L"SFOK\r\n", L""},
        {L"GE", 248, 0, "fault nc GE", 9999, L"", kNoConnection},
        {L"GE", 248, 0, "fault raw GE ABNC 12\\r\\n", 9999, L"", kNoConnection},
        // "NC" only counts inside one piece of four characters or more.
        {L"GE", 248, 0, "fault raw GE ABN\\pC 12\\r\\n", 9999, L"", kLeaderMissing},
        {L"GE", 248, 0, "fault raw GE XY 1F\\r\\n", 9999, L"", kLeaderMissing},
        {L"GE", 248, 0, "fault raw GE ab GE\\r\\n", 9999, L"", L"CR/LF missing in RecvWiflyDataString()"},
        {L"GE", 248, 0, "fault close GE", 9999, L"",
         L"WSA recv() reported connection gracefully closed in RecvWiflyDataString()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszFault);
        Control("clear");
        Control(c.pszFault);
        Open();
        ASSERT_EQ(0, m_link.SendWifiRequest(c.pszCommand, c.nNumber));
        CString strValue = L"stale";
        EXPECT_EQ(c.nResult, m_link.RecvWiflyDataString(c.bRaw ? L"" : c.pszCommand, strValue, c.bRaw));
        EXPECT_EQ(CString(c.pszValue), strValue);
        EXPECT_EQ(CString(c.pszError), m_link.m_strLastError);
    }
}

// A pause of more than 5 s within a reply is a time-out (0), and the six
// characters of a confirmation do not complete a normal reply.
TEST_F(NetworkGauge, ReplyThatStopsShortTimesOutAfterFiveSeconds)
{
    StartModel(Kind::kRQ80, {"fault raw SF SFOK\\r\\n"});
    Open();
    ASSERT_EQ(0, m_link.SendWifiRequest(L"SF", 10));
    CString strValue;
    CStopwatch watch;
    EXPECT_EQ(0, m_link.RecvWiflyDataString(L"SF", strValue, 0));
    EXPECT_GE(watch.ElapsedMs(), 4900.0);
    EXPECT_EQ(CString(L"WSA select() timed out in RecvWiflyDataString() in response to SF Command."),
              m_link.m_strLastError);
}

// A device that babbles without ever ending its line holds the caller
// neither past a length nor past a total time; the link is closed.
TEST_F(NetworkGauge, EndlessRepliesAreCutByLengthAndByTotalTime)
{
    struct Case {
        const char* pszFault;
        const wchar_t* pszError;
        std::int64_t nClockStepMs;
    };
    const Case cases[] = {
        // A flood: the program clock stands still, so only the length can end it,
        // however small the pieces arrive on a busy machine.
        {"fault babble GE 0",
         L"Reply too long in RecvWiflyDataString() in response to GE Command; connection closed.", 0},
        // One byte every 50 ms; each piece read advances the program clock a second.
        {"fault babble GE 50",
         L"Reply not complete in time in RecvWiflyDataString() in response to GE Command; connection closed.", 1000},
    };
    StartModel(Kind::kRQ40Adapter);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszFault);
        Control("clear");
        Control(c.pszFault);
        // The pause after connecting runs on the fixture's clock; a clock
        // that stands still would never end it.
        Open();
        CSteppingClock clock(c.nClockStepMs);
        CScopedProgramClock scopedClock(clock);
        CStopwatch watch;
        EXPECT_EQ(9999, m_link.ReadEeprom(248));
        EXPECT_LT(watch.ElapsedMs(), 5000.0);
        EXPECT_EQ(CString(c.pszError), m_link.m_strLastError);
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(0, m_link.m_bBusy.load());
    }
}

TEST_F(NetworkGauge, IdentifiesAnRQ80FromItsCalibrationRecord)
{
    StartModel(Kind::kRQ80, {"cal 3 5 2019", "constant 0 1.5", "constant 5 -0.25", "constant 11 1024", "volts 5.91",
                             "firmware 17"});
    const LCID previousLocale = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(1033));
    // The short date follows the run-time's time locale, which a view
    // built by an earlier test sets to the user's.
    const std::string previousTime = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    m_link.m_bNetwork = 1;
    m_link.m_Device = Descriptor();
    m_link.ConnectDevice();
    SetThreadLocale(previousLocale);
    std::setlocale(LC_TIME, previousTime.c_str());

    ASSERT_EQ(1, m_link.m_bIdentified);
    EXPECT_EQ(Requests({"CG", "GB", "GF"}), m_pModel->TakeRequests());
    EXPECT_EQ(1, m_link.m_bRQ80);
    EXPECT_EQ(CString(L"RQ80"), m_link.m_strModel);
    EXPECT_EQ(2, m_link.m_nTypeCode);
    EXPECT_EQ(3, m_link.m_nCalMonth);
    EXPECT_EQ(5, m_link.m_nCalDay);
    EXPECT_EQ(19, m_link.m_nCalYear);
    EXPECT_EQ(30519, m_link.m_nCalDate);
    EXPECT_EQ(CString(L"3/5/2019"), m_link.m_strCalDateLocale);
    EXPECT_EQ(CString(L"20190305"), m_link.m_strCalDateNumeric);
    EXPECT_EQ(CString(L"03/05/19"), m_link.m_strCalDateShort);
    EXPECT_EQ(1.5f, m_link.m_fConstants[0]);
    EXPECT_EQ(-0.25f, m_link.m_fConstants[5]);
    EXPECT_EQ(1024.0f, m_link.m_fConstants[11]);
    EXPECT_DOUBLE_EQ(5.91, m_link.m_dBattery);
    EXPECT_EQ(CString(L"5.91 Volts"), m_link.m_strSupply);
    EXPECT_EQ(17, m_link.m_nFirmware);
    EXPECT_EQ(0, m_link.m_bBusy.load());
}

TEST_F(NetworkGauge, BadCalibrationRecordsOfAnRQ80)
{
    struct Case {
        const char* pszRecord;
        short nResult;
        const wchar_t* pszNumericDate;
        int nCalDate;
    };
    const Case cases[] = {
        {R"( {"qar":{"day":"5","month":"3","year":"2019","a_pos_l":"2"}})", 0, L"", 0},
        {R"({"qar":{"day":"5","month":"3","year":"19","a_pos_l":"2"}})", 2, L"20190305", 30519},
        // Missing keys read as 0: no date to show, the number raised to 1 January 1990.
        {R"({"qar":{"day":"5"}})", 2, L"", 10190},
        {R"({"qar":{"day":"5","month":"13","year":"2019","a_pos_l":"2"}})", 2, L"", 130519},
        {R"({"qar":{"day":"32","month":"12","year":"2019","a_pos_l":"2"}})", 2, L"", 123219},
    };
    StartModel(Kind::kRQ80);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszRecord);
        Control(std::string("record ") + c.pszRecord);
        Open();
        m_link.m_nCalDate = 0;
        EXPECT_EQ(c.nResult, m_link.IdentifyDevice());
        EXPECT_EQ(CString(c.pszNumericDate), m_link.m_strCalDateNumeric);
        EXPECT_EQ(c.nCalDate, m_link.m_nCalDate);
        if (c.nResult == 0) {
            EXPECT_TRUE(m_link.m_strModel.IsEmpty());
            EXPECT_EQ(0, m_link.m_nTypeCode);
            EXPECT_EQ(Requests({"CG"}), m_pModel->TakeRequests());
            continue;
        }
        EXPECT_EQ(std::string(c.pszRecord).find("a_pos_l") != std::string::npos ? 2.0f : 0.0f,
                  m_link.m_fConstants[0]);
        // A date the formatter refuses leaves every date text empty.
        EXPECT_EQ(m_link.m_strCalDateNumeric.IsEmpty(), m_link.m_strCalDateLocale.IsEmpty());
        EXPECT_EQ(m_link.m_strCalDateNumeric.IsEmpty(), m_link.m_strCalDateShort.IsEmpty());
    }
}

TEST_F(NetworkGauge, IdentifiesAnRQ40BehindItsAdapterFromGaugeMemory)
{
    StartModel(Kind::kRQ40Adapter, {"serial 1234", "cal 12 31 1", "battery 212", "firmware 17", "constant 0 1.25",
                                    "constant 11 -2.5", "okline on"});
    m_link.m_bNetwork = 1;
    m_link.m_Device = Descriptor();
    m_link.ConnectDevice();

    ASSERT_EQ(1, m_link.m_bIdentified) << m_link.m_strLastError.GetString();
    const Requests requests = m_pModel->TakeRequests();
    ASSERT_EQ(51u, requests.size());
    EXPECT_EQ(Requests({"GE 248", "GE 249", "GE 250", "GE 251", "GE 252", "GE 243"}),
              Requests(requests.begin(), requests.begin() + 6));
    EXPECT_EQ(Requests({"GE 255", "GB", "GF", "GE 0"}), Requests(requests.begin() + 12, requests.begin() + 16));
    EXPECT_EQ("GE 35", requests.back());
    EXPECT_EQ(0, m_link.m_bRQ80);
    EXPECT_EQ(CString(L"RQ40"), m_link.m_strModel);
    EXPECT_EQ(2, m_link.m_nTypeCode);
    EXPECT_EQ(1234, m_link.m_nSerial);
    EXPECT_EQ(123101, m_link.m_nCalDate);
    EXPECT_EQ(CString(L"20011231"), m_link.m_strCalDateNumeric);
    EXPECT_DOUBLE_EQ(9.0, m_link.m_dBattery);
    EXPECT_EQ(17, m_link.m_nFirmware);
    EXPECT_EQ(1.25f, m_link.m_fConstants[0]);
    EXPECT_EQ(-2.5f, m_link.m_fConstants[11]);
    EXPECT_EQ(CString(L"RQ40 - 1234"), m_link.m_strModelSerial);

    // Over the network the channel count has no upper bound; an impossible
    // date still identifies, without date texts.
    Control("channels 200");
    Control("cal 13 40 99");
    m_link.m_bTextsFormatted = 0;
    m_link.ConnectDevice();
    EXPECT_EQ(1, m_link.m_bIdentified);
    EXPECT_EQ(200, m_link.m_nTypeCode);
    EXPECT_EQ(200, m_link.ReadChannelCount());
    EXPECT_EQ(134099, m_link.m_nCalDate);
    EXPECT_EQ(CString(L"134099"), m_link.m_strCalDateDigits);
    EXPECT_TRUE(m_link.m_strCalDateNumeric.IsEmpty());
    EXPECT_TRUE(m_link.m_strCalDateLocale.IsEmpty());
    EXPECT_TRUE(m_link.m_strCalDateShort.IsEmpty());
}

TEST_F(NetworkGauge, FailedIdentificationClearsTheIdentityAndTheLink)
{
    struct Case {
        Kind kind;
        std::vector<std::string> setup;
        const wchar_t* pszError;
        int nSerial;  // kept, or as far as the gauge's memory was read
    };
    const Case cases[] = {
        {Kind::kRQ40Adapter, {"fault nc GE skip=2"}, kNoConnection, 77},
        {Kind::kRQ40Adapter, {"fault raw GB GB2 0\\r\\n"}, L"", 4321},
        {Kind::kRQ80, {"volts 0"}, L"", 77},
        {Kind::kRQ80, {"fault raw GF GF x!\\r\\n"}, L"Invalid value in response to GF Command.", 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup.front());
        StartModel(c.kind, c.setup);
        CQarCommunications link;
        link.m_nSerial = 77;
        link.m_bNetwork = 1;
        link.m_Device = Descriptor();
        ASSERT_EQ(1, link.OpenDevicePort());
        EXPECT_EQ(0, link.IdentifyDevice());
        EXPECT_EQ(0, link.m_nTypeCode);
        EXPECT_TRUE(link.m_strModel.IsEmpty());
        EXPECT_EQ(0, link.m_nCalMonth + link.m_nCalDay + link.m_nCalYear + link.m_nFirmware);
        EXPECT_EQ(0.0, link.m_dBattery);
        EXPECT_EQ(0.0f, link.m_fConstants[0]);
        EXPECT_EQ(c.nSerial, link.m_nSerial);
        if (*c.pszError != L'\0') {
            EXPECT_EQ(CString(c.pszError), link.m_strLastError);
        }
        if (link.m_ConnectSocket != INVALID_SOCKET)
            link.CloseWifiConnection();
        m_pModel->Stop();
    }
}

TEST_F(NetworkGauge, ReadingLimitsOfBothModels)
{
    struct Case {
        Kind kind;
        double dA, dB;
        int nResult, bFailed, bOverRange, bStaysOpen;
    };
    const Case cases[] = {
        {Kind::kRQ40Adapter, 100.0, -25.5, 1, 0, 0, 1},  {Kind::kRQ40Adapter, 1250.0, -1250.0, 1, 0, 0, 1},
        {Kind::kRQ40Adapter, 1300.0, 0.0, 0, 0, 1, 1},   {Kind::kRQ40Adapter, 0.0, -1300.0, 0, 0, 1, 1},
        {Kind::kRQ40Adapter, 5000.0, 0.0, 0, 0, 1, 1},   {Kind::kRQ40Adapter, 5100.0, 0.0, 0, 1, 0, 0},
        {Kind::kRQ40Adapter, 0.0, -5100.0, 0, 1, 0, 0},  {Kind::kRQ80, 2500.0, -2500.0, 1, 0, 0, 1},
        {Kind::kRQ80, 2600.0, 0.0, 0, 0, 1, 1},          {Kind::kRQ80, 5100.0, 0.0, 0, 0, 1, 1},
        {Kind::kRQ80, 0.0, -5500.0, 0, 0, 1, 1},          {Kind::kRQ80, 5600.0, 0.0, 0, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.kind == Kind::kRQ80 ? "RQ80 " : "RQ40 ") << c.dA << " " << c.dB);
        StartModel(c.kind, {"pressure 1 " + std::to_string(c.dA), "pressure 2 " + std::to_string(c.dB)});
        Open();
        double dA = -1.0, dB = -1.0;
        EXPECT_EQ(c.nResult, m_link.ReadBothChannelsWifi(dA, dB));
        EXPECT_EQ(c.bFailed, m_link.m_bFailed);
        EXPECT_EQ(c.bOverRange, m_link.m_bOverRange);
        EXPECT_EQ(c.bStaysOpen, IsOpen());
        EXPECT_EQ(c.nResult ? c.dA : 0.0, dA);
        EXPECT_EQ(c.nResult ? c.dB : 0.0, dB);
        if (IsOpen()) {
            // A channel reading takes its value from the same pair; beyond
            // the range is no failure of the exchange.
            const double dValue = m_link.ReadChannel(m_link.m_Channels[1]);
            EXPECT_EQ(c.nResult ? c.dB : 0.0, dValue);
            EXPECT_EQ(c.bOverRange, m_link.m_bOverRange);
            EXPECT_EQ(0, m_link.m_bFailed);
            EXPECT_EQ(Requests({"G0", "G0"}), m_pModel->TakeRequests());
            m_link.CloseWifiConnection();
        }
        m_pModel->Stop();
    }
}

// A value short of its hex digits, or with a character that is no hex digit
// in either case, fails its request and closes the link.
TEST_F(NetworkGauge, ShortOrNonHexValuesFailTheirRequest)
{
    enum Operation { kReadBoth, kMemory, kFirmware, kBattery };
    struct Case {
        const char* pszFault;
        Operation operation;
        double dResult;  // channel A, the memory byte, the firmware or the volts
        const wchar_t* pszError;
    };
    const Case cases[] = {
        {"fault raw G0 G0 8748008748\\r\\n", kReadBoth, 0.0, L"Invalid value in response to G0 Command."},
        {"fault raw G0 G0 87480087480G\\r\\n", kReadBoth, 0.0, L"Invalid value in response to G0 Command."},
        {"fault raw G0 G0 87c800874800\\r\\n", kReadBoth, -100.0, L""},
        {"fault raw GE GE 1 \\r\\n", kMemory, 9999.0, L"Invalid value in response to GE Command."},
        {"fault raw GE GE 1g\\r\\n", kMemory, 9999.0, L"Invalid value in response to GE Command."},
        {"fault raw GE GE 1f\\r\\n", kMemory, 31.0, L""},
        {"fault raw GF GF x1\\r\\n", kFirmware, 9999.0, L"Invalid value in response to GF Command."},
        {"fault raw GB GB zz\\r\\n", kBattery, 0.0, L"Invalid value in response to GB Command."},
        {"fault raw GB GB d4\\r\\n", kBattery, 9.0, L""},
    };
    StartModel(Kind::kRQ40Adapter, {"pressure 2 100"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszFault);
        Control("clear");
        Control(c.pszFault);
        Open();
        m_link.m_strLastError.Empty();
        double dResult = 0.0;
        switch (c.operation) {
        case kReadBoth: {
            double dB = 0.0;
            const int nRead = m_link.ReadBothChannelsWifi(dResult, dB);
            EXPECT_EQ(nRead, m_link.m_bFailed ? 0 : 1);
            break;
        }
        case kMemory: dResult = m_link.ReadEeprom(7); break;
        case kFirmware: dResult = m_link.ReadFirmwareVersion(); break;
        case kBattery: dResult = m_link.ReadBatteryVoltage(); break;
        }
        EXPECT_DOUBLE_EQ(c.dResult, dResult);
        EXPECT_EQ(CString(c.pszError), m_link.m_strLastError);
        EXPECT_EQ(*c.pszError == L'\0', IsOpen());
    }
}

TEST_F(NetworkGauge, ConfirmedCommandsAndAnUnconfirmedAutozero)
{
    enum Action { kAutoZero, kFan, kDashOn, kDashOff };
    struct Case {
        const char* pszFault;  // empty: the device confirms
        Action action;
        int nResult;           // autozero: m_bFailed
        const char* pszRequest;
    };
    const Case cases[] = {
        {"", kAutoZero, 0, "FZ"},
        {"fault raw FZ FZNO\\r\\n", kAutoZero, 1, "FZ"},
        {"fault raw FZ \\r\\nNC\\r\\n", kAutoZero, 1, "FZ"},
        {"", kFan, 10, "SF 10"},  // no minimum over the network
        {"fault raw SF SFNO\\r\\n", kFan, -1, "SF 10"},
        {"", kDashOn, 1, "DD"},
        {"fault raw DD DDNO\\r\\n", kDashOn, 0, "DD"},
        {"", kDashOff, 1, "UD"},
    };
    StartModel(Kind::kRQ40Adapter);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pszRequest << " " << c.pszFault);
        Control("clear");
        if (*c.pszFault != '\0')
            Control(c.pszFault);
        Open();
        int nResult = 0;
        switch (c.action) {
        case kAutoZero:
            m_link.AutoZeroChannel(m_link.m_Channels[0]);
            nResult = m_link.m_bFailed;
            break;
        case kFan: nResult = m_link.SetFanSpeed(10); break;
        case kDashOn: nResult = m_link.EnableDashRQ40Display(); break;
        case kDashOff: nResult = m_link.DisableDashRQ40Display(); break;
        }
        EXPECT_EQ(c.nResult, nResult);
        EXPECT_EQ(Requests({c.pszRequest}), m_pModel->TakeRequests());
        // A confirmation that does not come leaves the link open.
        EXPECT_TRUE(IsOpen());
    }
    EXPECT_EQ("ok requests=8 connections=8 fan=10 zeros=3 dash=0 keepalives=0", m_pModel->Apply("stats"));
}

TEST_F(NetworkGauge, ClosingSwitchesTheDashOffExceptOnAnRQ80)
{
    for (Kind kind : {Kind::kRQ40Adapter, Kind::kRQ80}) {
        StartModel(kind);
        CQarCommunications link;
        link.m_bNetwork = 1;
        link.m_Device = Descriptor();
        ASSERT_EQ(1, link.OpenDevicePort());
        EXPECT_EQ(1, link.EnableDashRQ40Display());
        EXPECT_EQ(1, link.CloseDevice());
        EXPECT_EQ(0, link.m_bConnected + link.m_bSocketOpen);
        EXPECT_EQ(kind == Kind::kRQ80 ? Requests() : Requests({"DD", "UD"}), m_pModel->TakeRequests());
        // Without a socket there is nothing to switch.
        link.m_bRQ80 = 0;
        EXPECT_EQ(0, link.EnableDashRQ40Display());
        m_pModel->Stop();
    }
}

TEST_F(NetworkGauge, RequestsOfMoreThanThirtyOneCharactersAreRefusedWhole)
{
    StartModel(Kind::kRQ40Adapter);
    Open();
    const CString strFits = L"SS " + CString(L'x', 26) + L"\r\n";
    const CString strTooLong = L"SS " + CString(L'x', 27) + L"\r\n";
    ASSERT_EQ(31, strFits.GetLength());
    EXPECT_EQ(1, m_link.SendWifiCommand(strFits));
    EXPECT_EQ(1, m_link.ExpectWifiConfirmation(L"SSOK"));
    EXPECT_EQ(0, m_link.SendWifiCommand(strTooLong));
    EXPECT_EQ(CString(L"Request of 32 characters refused in SendWifiCommand(); at most 31 are allowed."),
              m_link.m_strLastError);
    EXPECT_TRUE(IsOpen());
    // A round trip after it shows what reached the device: not a byte of the long one.
    EXPECT_NE(9999, m_link.ReadEeprom(248));
    EXPECT_EQ(Requests({std::string("SS ").append(26, 'x'), "GE 248"}), m_pModel->TakeRequests());
}

// The socket does not block: while the device reads nothing, a request that
// finds the line full waits for room and goes out whole.
TEST_F(NetworkGauge, RequestsThatFindTheLineFullStillGoOutWhole)
{
    StartModel(Kind::kRQ40Adapter, {"fault pieces GV 2,2500", "rcvbuf 4096"});
    Open();
    const int nSmallBuffer = 4096;
    setsockopt(m_link.m_ConnectSocket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&nSmallBuffer),
               sizeof nSmallBuffer);
    ASSERT_EQ(1, m_link.SendWifiCommand(L"GV\r\n"));  // the device now pauses within its reply
    constexpr int kRequests = 4000;
    const CString strKeepAlive = L"KA " + CString(L'0', 26) + L"\r\n";  // 31 characters
    int nSent = 0;
    CStopwatch watch;
    for (int i = 0; i < kRequests; ++i)
        nSent += m_link.SendWifiCommand(strKeepAlive);
    const double dSendingMs = watch.ElapsedMs();
    EXPECT_EQ(kRequests, nSent) << m_link.m_strLastError.GetString();
    // The line was full until the device read again.
    EXPECT_GE(dSendingMs, 2000.0);
    CString strVersion;
    EXPECT_EQ(4, m_link.RecvWiflyDataString(L"GV", strVersion, 0));
    // The round trip comes after every keep-alive.
    EXPECT_NE(0, m_link.ReadFirmwareVersion());
    const std::string strCount = std::string(" keepalives=").append(std::to_string(kRequests));
    EXPECT_NE(std::string::npos, m_pModel->Apply("stats").find(strCount));
}

TEST_F(NetworkGauge, SingleBytesOverTheNetwork)
{
    StartModel(Kind::kRQ40Adapter, {"fault raw GV Z", "fault close GF"});
    Open();
    for (unsigned char nByte : {'K', 'A', '\r', '\n'})
        EXPECT_EQ(1, m_link.sendbyte(nByte));
    EXPECT_EQ(0, m_link.GetWifiByte(50));
    EXPECT_EQ(CString(L"WSA select() Timed Out."), m_link.m_strLastError);

    ASSERT_EQ(0, m_link.SendWifiRequest(L"GV", -1));
    EXPECT_EQ('Z', m_link.ReadByte(1000));
    ASSERT_EQ(0, m_link.SendWifiRequest(L"GF", -1));
    // Half of "GF 11" CR LF, then the device closes.
    for (char ch : std::string("GF ")) {
        m_link.m_strLastError.Empty();
        EXPECT_EQ(static_cast<unsigned char>(ch), m_link.GetWifiByte(1000));
    }
    EXPECT_EQ(9999, m_link.GetWifiByte(1000));
    EXPECT_EQ(CString(L"WSA recv() failed in GetWifiByte()\r\n Connection has been gracefully closed."),
              m_link.m_strLastError);
    EXPECT_EQ(Requests({"KA", "GV", "GF"}), m_pModel->TakeRequests());
}

TEST_F(NetworkGauge, BusyForTheLengthOfEachExchangeAndClearedOnEveryWayOut)
{
    StartModel(Kind::kRQ40Adapter, {"pressure 1 100", "fault pieces G0 2,300"});
    Open();
    std::atomic<bool> bDone{false};
    std::atomic<bool> bSeenBusy{false};
    std::thread watcher([&] {
        while (!bDone) {
            if (m_link.m_bBusy.load())
                bSeenBusy = true;
            Sleep(1);
        }
    });
    double dA = 0.0, dB = 0.0;
    EXPECT_EQ(1, m_link.ReadBothChannelsWifi(dA, dB));
    bDone = true;
    watcher.join();
    EXPECT_TRUE(bSeenBusy);
    EXPECT_EQ(0, m_link.m_bBusy.load());

    // Failures of every kind: no connection, closed mid-reply, a bad value,
    // beyond the range (1300), beyond the hard limit (6528).
    const char* faults[] = {"fault nc G0", "fault close G0", "fault raw G0 G0 12\\r\\nxx\\r\\n",
                            "fault raw G0 G0 8B2280874800\\r\\n", "fault raw G0 G0 8D4C00874800\\r\\n"};
    for (const char* pszFault : faults) {
        SCOPED_TRACE(pszFault);
        Control("clear");
        Control(pszFault);
        Open();
        EXPECT_EQ(0, m_link.ReadBothChannelsWifi(dA, dB));
        EXPECT_EQ(1, m_link.m_bFailed + m_link.m_bOverRange);
        EXPECT_EQ(0, m_link.m_bBusy.load());
    }
    // An unconfirmed command, then no socket at all.
    Control("fault raw FZ FZNO\\r\\n");
    Open();
    m_link.AutoZeroChannel(m_link.m_Channels[0]);
    EXPECT_EQ(1, m_link.m_bFailed);
    EXPECT_EQ(0, m_link.m_bBusy.load());
    m_link.CloseWifiConnection();
    EXPECT_EQ(0, m_link.ReadBothChannelsWifi(dA, dB));
    EXPECT_EQ(9999, m_link.ReadEeprom(248));
    EXPECT_EQ(0, m_link.m_bBusy.load());
}

// The announcement reaches discovery on the loopback broadcast address.
TEST_F(NetworkGauge, ModelAnnouncesItselfForDiscovery)
{
    for (Kind kind : {Kind::kRQ80, Kind::kRQ40Adapter}) {
        StartModel(kind, {"serial 1234", "announce every 200"});
        CWifiDiscovery discovery;
        const CWifiDeviceInfo found = discovery.DiscoverWifiDevice(2, 1234);
        EXPECT_EQ(CString(L"127.0.0.1"), found.m_strAddress) << discovery.m_strErrorText.GetString();
        EXPECT_EQ(m_pModel->GetPort(), found.m_nPort);
        EXPECT_EQ(m_pModel->GetDeviceType(), found.m_nDeviceType);
        EXPECT_EQ(0, found.m_nBusy);
        m_pModel->Stop();
    }
}
