// The test screen's gauge links against the simulators: identification and
// the split of channels over two links, the channel count check, auto-zero
// of every link in use, a link whose device does not answer, and the
// reconnection of a network gauge that stops answering and announces itself
// again; auto-selection of network gauges; four gauges re-identified at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "comm/WifiDeviceInfo.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"
#include "res/resource.h"

namespace {

// The pairs that tools/serial-pair joins: link port, far end.
constexpr int kPairs[4][2] = {{201, 202}, {203, 204}, {205, 206}, {207, 208}};

int Count(const std::vector<int>& log, int nCommand)
{
    return static_cast<int>(std::count(log.begin(), log.end(), nCommand));
}

void DrainQueue()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// The view's links with simulated devices on the far ends of their pairs,
// the test screen not shown, direction 0.
class TestScreenConnection : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SerialPortsReady());
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pScreen = m_view->m_pTestGraph;
        m_view->m_bAutoSelect = 0;
    }
    void TearDown() override
    {
        if (m_pScreen->GetSafeHwnd() != nullptr)
            m_pScreen->DestroyWindow();
        m_view->CloseAllDevicePorts();
        for (int& nPort : m_view->m_nComPort)
            nPort = 0;
        DrainQueue();
        g_nCurrentDirection = m_nSavedDirection;
    }

    // Zonal testing with the first nZones zones of the direction active.
    void SetZones(int nZones)
    {
        CTestSettingsDialog& settings = *m_view->m_pSettings;
        settings.m_bZonalActive = nZones > 0 ? 1 : 0;
        for (int z = 0; z < CTestGraph1::kZoneChannels; ++z)
            settings.m_nZoneActive[0][z] = z < nZones ? 1 : 0;
    }
    // Link i on its COM port, a simulated device with this setup on the far end.
    void Attach(int i, const std::vector<std::string>& setup)
    {
        ASSERT_TRUE(m_devices[i].Start(kPairs[i][1], setup));
        m_view->m_nComPort[i] = kPairs[i][0];
    }
    CQarCommunications& Link(int i) const { return *m_view->m_pLink[i]; }

    CTestView m_view{L"screen-connection"};
    CTestGraph1* m_pScreen = nullptr;
    CGaugeSimulator m_devices[4];
    int m_nSavedDirection = 0;
};

}  // namespace

TEST_F(TestScreenConnection, TwoGaugesIdentifiedAndTheirChannelsSplit)
{
    struct Case {
        const char* pszName;
        int nChannels[2];  // each gauge's type code
        int nZones;
        int bSuccess, nDevices, nInUse, bInsufficient;
        int nCut[2];
        int bConnected[2];  // afterwards
    } cases[] = {
        // The second gauge's two channels carry zones P3 and P4.
        {"two zones over 2 + 4", {2, 4}, 2, 1, 2, 4, 0, {2, 2}, {1, 1}},
        {"three zones, the second cut to 3", {2, 4}, 3, 1, 2, 5, 0, {2, 3}, {1, 1}},
        {"two zones, the first alone suffices", {4, 2}, 2, 1, 1, 4, 0, {4, 2}, {1, 0}},
        {"four zones over 2 + 1", {2, 1}, 4, 0, 0, 0, 1, {2, 1}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        for (int i = 0; i < 2; ++i)
            ASSERT_NO_FATAL_FAILURE(Attach(i, {"channels " + std::to_string(c.nChannels[i])}));
        SetZones(c.nZones);
        m_pScreen->m_InsufficientChannels = 0;
        EXPECT_EQ(c.bSuccess, m_pScreen->AllocateChannels());
        EXPECT_EQ(c.nDevices, m_pScreen->m_DevicesInUse);
        EXPECT_EQ(c.nInUse, m_pScreen->m_ChannelsInUse);
        EXPECT_EQ(c.bInsufficient, m_pScreen->m_InsufficientChannels);
        EXPECT_EQ(0, m_view->m_bReidentifying);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(c.bConnected[i], Link(i).m_bConnected) << "link " << i;
            if (m_pScreen->m_DeviceUsed[i]) {
                EXPECT_EQ(c.nCut[i], m_pScreen->m_DeviceChannels[i]) << "link " << i;
            }
        }
        EXPECT_EQ(c.bSuccess, m_pScreen->m_GaugeFamilyInUse);
        m_view->CloseAllDevicePorts();
        for (CGaugeSimulator& device : m_devices)
            device.Stop();
    }
}

TEST_F(TestScreenConnection, ChannelCountCheckClosesTheLinksWhenAGaugeReportsFewer)
{
    ASSERT_NO_FATAL_FAILURE(Attach(0, {"channels 2"}));
    ASSERT_NO_FATAL_FAILURE(Attach(1, {"channels 4"}));
    SetZones(2);
    ASSERT_EQ(1, m_pScreen->AllocateChannels());
    EXPECT_EQ(1, m_pScreen->CheckChannelCounts());
    EXPECT_EQ(1, Link(1).m_bConnected);

    // Still more than allocated: fine; fewer: every link in use closed.
    m_devices[1].Set({"channels 3"});
    EXPECT_EQ(1, m_pScreen->CheckChannelCounts());
    m_devices[1].Set({"channels 1"});
    EXPECT_EQ(0, m_pScreen->CheckChannelCounts());
    EXPECT_EQ(0, Link(0).m_bConnected);
    EXPECT_EQ(0, Link(1).m_bConnected);
}

TEST_F(TestScreenConnection, AutoZeroReachesEveryLinkInUse)
{
    ASSERT_NO_FATAL_FAILURE(Attach(0, {"channels 2"}));
    ASSERT_NO_FATAL_FAILURE(Attach(1, {"channels 4"}));
    SetZones(2);
    ASSERT_EQ(1, m_pScreen->AllocateChannels());
    for (CGaugeSimulator& device : m_devices)
        if (device.IsRunning())
            device.TakeLog();

    m_view->m_nTickCount = 17;
    EXPECT_EQ(1, m_pScreen->AutoZeroAll());
    EXPECT_EQ(0, m_pScreen->m_AutoZeroing);
    EXPECT_EQ(0, m_view->m_nTickCount);
    EXPECT_EQ(2, m_pScreen->m_DevicesInUse);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const std::vector<int> log = m_devices[i].TakeLog();
        // One autozero command per gauge, and the dash display asked for.
        EXPECT_EQ(1, Count(log, 8));
        EXPECT_EQ(1, Count(log, 11));
        EXPECT_EQ(1, m_devices[i].Stats()["zeros"]);
    }

    // A gauge that never acknowledges its zeroing fails the whole auto-zero.
    m_devices[1].Set({"fault silent 8 0 0"});
    EXPECT_EQ(0, m_pScreen->AutoZeroAll());
    EXPECT_EQ(0, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(0, m_pScreen->m_AutoZeroing);
    EXPECT_EQ(2, m_devices[0].Stats()["zeros"]);
    EXPECT_EQ(1, m_devices[1].Stats()["zeros"]);
}

TEST_F(TestScreenConnection, AuxiliaryBoxZeroesEachChannelWithItsSecondAtZoneRange)
{
    ASSERT_NO_FATAL_FAILURE(Attach(0, {"channels 2"}));
    ASSERT_NO_FATAL_FAILURE(Attach(1, {"box 8"}));
    SetZones(3);
    ASSERT_EQ(1, m_pScreen->AllocateChannels());
    ASSERT_EQ(0, Link(1).m_bGauge);
    EXPECT_EQ(3, m_pScreen->m_DeviceChannels[1]);
    Link(1).m_Channels[1].m_nRange = 0;
    const int nGaugeRange = Link(0).m_Channels[1].m_nRange;
    m_devices[0].TakeLog();
    const long long nBoxZeros = m_devices[1].Stats()["zeros"];

    EXPECT_EQ(1, m_pScreen->AutoZeroAll());
    EXPECT_EQ(1, Link(1).m_Channels[1].m_nRange);
    // Link 0's second channel measures the fan: left as it was.
    EXPECT_EQ(nGaugeRange, Link(0).m_Channels[1].m_nRange);
    EXPECT_EQ(1, Count(m_devices[0].TakeLog(), 8));
    // One zeroing for each of the box's three allocated channels.
    EXPECT_EQ(3, m_devices[1].Stats()["zeros"] - nBoxZeros);
}

TEST_F(TestScreenConnection, BatteriesStopTheAutoZeroBeforeAnyZeroing)
{
    CTestAnswerer answerer;
    CScopedAnswerer scoped(answerer);
    // A gauge's battery too low (5.48 V): the links are closed, nothing zeroed.
    ASSERT_NO_FATAL_FAILURE(Attach(0, {"channels 2", "battery 124"}));
    ASSERT_NO_FATAL_FAILURE(Attach(1, {"box 8", "lowbattery on"}));
    SetZones(3);
    ASSERT_EQ(1, m_pScreen->AllocateChannels());
    answerer.ReplyToProgramMessage(IDS_GAUGE_BATTERY_TOO_LOW, IDOK);
    EXPECT_EQ(0, m_pScreen->AutoZeroAll());
    EXPECT_EQ(1, m_pScreen->m_bBatteryTooLow);
    EXPECT_EQ(0, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(0, m_pScreen->m_ChannelsInUse);
    EXPECT_EQ(0, Link(0).m_bConnected);
    EXPECT_EQ(0, Link(1).m_bConnected);
    EXPECT_EQ(0, m_devices[0].Stats()["zeros"]);
    EXPECT_EQ(0, m_devices[1].Stats()["zeros"]);

    // The gauge charged, the auxiliary box's battery low: its message ends
    // this auto-zero; it is shown once, and the next auto-zero goes on.
    m_devices[0].Set({"battery 140"});
    ASSERT_EQ(1, m_pScreen->AllocateChannels());
    answerer.ReplyToProgramMessage(IDS_BOX_BATTERY_LOW, IDOK);
    EXPECT_EQ(0, m_pScreen->AutoZeroAll());
    EXPECT_EQ(0, m_pScreen->m_bBatteryTooLow);
    EXPECT_EQ(2, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(0, m_devices[0].Stats()["zeros"]);
    EXPECT_EQ(1, m_pScreen->AutoZeroAll());
    EXPECT_EQ(1, m_devices[0].Stats()["zeros"]);
    EXPECT_EQ(3, m_devices[1].Stats()["zeros"]);
    ASSERT_EQ(2u, answerer.programMessages.size());
    EXPECT_EQ(static_cast<UINT>(IDS_GAUGE_BATTERY_TOO_LOW), answerer.programMessages[0].nIDText);
    EXPECT_EQ(static_cast<UINT>(IDS_BOX_BATTERY_LOW), answerer.programMessages[1].nIDText);
    EXPECT_TRUE(answerer.AllRepliesUsed());
}

TEST_F(TestScreenConnection, ALinkWhoseDeviceDoesNotAnswerFailsCleanly)
{
    ASSERT_NO_FATAL_FAILURE(Attach(0, {"channels 2"}));
    // Link 1's port is joined, but nothing listens on the far end.
    m_view->m_nComPort[1] = kPairs[1][0];
    SetZones(2);
    m_pScreen->m_InsufficientChannels = 0;
    CStopwatch stopwatch;
    EXPECT_EQ(0, m_pScreen->AllocateChannels());
    EXPECT_LT(stopwatch.ElapsedMs(), 10000.0);
    EXPECT_EQ(0, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(0, m_pScreen->m_ChannelsInUse);
    EXPECT_EQ(0, m_pScreen->m_GaugeFamilyInUse);
    // Not a shortage of channels: a link that is not there.
    EXPECT_EQ(0, m_pScreen->m_InsufficientChannels);
    EXPECT_EQ(0, Link(0).m_bConnected);
    EXPECT_EQ(0, Link(1).m_bConnected);
    EXPECT_EQ(0, m_view->m_bReidentifying);
    // Nothing was allocated, so there is nothing to zero.
    EXPECT_EQ(0, m_pScreen->AutoZeroAll());
    EXPECT_EQ(0, m_devices[0].Stats()["zeros"]);
}

namespace {

// Two network gauges on loopback and links 0 and 1 connected to them.
class TestScreenConnectionNetwork : public TestScreenConnection {
protected:
    void SetUp() override
    {
        TestScreenConnection::SetUp();
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(m_models[i].Start());
            ASSERT_EQ("ok", m_models[i].Apply("serial " + std::to_string(kSerials[i])));
            m_deviceInfo[i].m_strAddress = L"127.0.0.1";
            m_deviceInfo[i].m_nPort = m_models[i].GetPort();
            m_deviceInfo[i].m_nDeviceType = m_models[i].GetDeviceType();
            m_deviceInfo[i].m_nSerialNumber = kSerials[i];
            ASSERT_EQ(1, m_pScreen->ConnectNetworkDevice(i, m_deviceInfo[i]));
            ASSERT_EQ(1, Link(i).m_bGauge);
        }
    }
    void TearDown() override
    {
        for (int i = 0; i < 2; ++i)
            if (Link(i).m_bSocketOpen)
                Link(i).CloseWifiConnection();
        for (CNetworkGaugeModel& model : m_models)
            model.Stop();
        TestScreenConnection::TearDown();
    }
    long long KeepAlives(int i)
    {
        const std::string stats = m_models[i].Apply("stats");
        const size_t nAt = stats.find("keepalives=");
        return nAt == std::string::npos ? -1 : std::stoll(stats.substr(nAt + 11));
    }
    // The keep-alives the model has taken, once it has taken nAtLeast
    // (it counts them on its own thread) or after two seconds.
    long long WaitForKeepAlives(int i, long long nAtLeast)
    {
        for (int t = 0; t < 200 && KeepAlives(i) < nAtLeast; ++t)
            Sleep(10);
        return KeepAlives(i);
    }

    static constexpr int kSerials[2] = {5150, 6262};
    // The waits after opening a connection pass on a clock that steps.
    CSteppingClock m_clock{1000};
    CScopedProgramClock m_scopedClock{m_clock};
    CNetworkGaugeModel m_models[2];
    CWifiDeviceInfo m_deviceInfo[2];
};

// Lets the model announce itself on loopback after a delay, as a gauge back in reach.
class CLateAnnouncer {
public:
    CLateAnnouncer(CNetworkGaugeModel& model, int nDelayMs)
        : m_worker([&model, nDelayMs, this] {
              for (int t = 0; t < nDelayMs && !m_bStop; t += 10)
                  Sleep(10);
              if (!m_bStop)
                  model.Apply("announce every 100");
          })
    {
    }
    ~CLateAnnouncer()
    {
        m_bStop = true;
        m_worker.join();
    }

private:
    std::atomic<bool> m_bStop{false};
    std::thread m_worker;
};

}  // namespace

TEST_F(TestScreenConnectionNetwork, ReconnectsAGaugeThatDroppedAndCameBack)
{
    struct Case {
        const char* pszName;
        int n;
        int bOtherKeptAlive;
    } cases[] = {
        {"one link: no keep-alive to others", 1, 0},
        {"two links: the other kept alive", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        // The gauge drops the connection in the middle of a reply.
        ASSERT_EQ("ok", m_models[0].Apply("fault close any"));
        double dA = 0.0, dB = 0.0;
        Link(0).ReadBothChannelsWifi(dA, dB);
        ASSERT_EQ(1, Link(0).m_bFailed);
        ASSERT_EQ("ok", m_models[0].Apply("clear"));
        ASSERT_EQ("ok", m_models[0].Apply("announce off"));
        const long long nKeepAlives[2] = {KeepAlives(0), KeepAlives(1)};

        int nResult = -1;
        CStopwatch stopwatch;
        {
            // Silent for the first attempt, announced from the second.
            CLateAnnouncer announcer(m_models[0], 1300);
            nResult = m_pScreen->ReconnectWifiDevice(0, kSerials[0], c.n);
        }
        EXPECT_EQ(c.n, nResult);
        EXPECT_GT(stopwatch.ElapsedMs(), 1000.0);
        EXPECT_EQ(0, Link(0).m_bFailed);
        EXPECT_EQ(1, Link(0).m_bSocketOpen);
        EXPECT_EQ(0, m_pScreen->m_Reconnecting);
        EXPECT_EQ(1, WaitForKeepAlives(0, nKeepAlives[0] + 1) - nKeepAlives[0]);
        // Sent before link 0's own, so taken by now if it was sent at all.
        if (c.bOtherKeptAlive)
            EXPECT_GE(WaitForKeepAlives(1, nKeepAlives[1] + 1) - nKeepAlives[1], 1);
        else
            EXPECT_EQ(0, KeepAlives(1) - nKeepAlives[1]);
        // The link answers again.
        ASSERT_EQ("ok", m_models[0].Apply("announce off"));
        EXPECT_EQ(1, Link(0).ReadBothChannelsWifi(dA, dB));
    }
}

TEST_F(TestScreenConnectionNetwork, EscOrStopEndsTheReconnectionAtTheNextAttempt)
{
    ASSERT_NE(0, m_pScreen->ShowTestGraph());
    const HWND hStop = ::GetDlgItem(m_pScreen->GetSafeHwnd(), IDC_TG_START);
    ASSERT_NE(nullptr, hStop);
    const DWORD dwThread = ::GetCurrentThreadId();
    struct Case {
        const char* pszName;
        int nDelayMs;   // when the request comes, on the real clock
        bool bClick;    // a click on Stop, else Esc
    } cases[] = {
        {"Esc waiting before the first attempt", 0, false},
        {"Esc during the attempts", 1300, false},
        {"a click on Stop during the attempts", 1300, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        if (!Link(0).m_bSocketOpen) {
            ASSERT_EQ(1, m_pScreen->ConnectNetworkDevice(0, m_deviceInfo[0]));
        }
        // Waiting before the first attempt, the request wins over a gauge
        // in reach; during the attempts the gauge stays silent.
        ASSERT_EQ("ok", m_models[0].Apply(c.nDelayMs == 0 ? "announce every 100" : "announce off"));
        const long long nKeepAlives = KeepAlives(0);
        auto request = [&c, dwThread, hStop] {
            if (c.bClick)
                ::PostMessageW(hStop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            else
                ::PostThreadMessageW(dwThread, WM_KEYDOWN, VK_ESCAPE, 1);
        };
        if (c.nDelayMs == 0)
            request();
        // Real time: the program clock of this fixture steps by a second a reading.
        const ULONGLONG nStart = ::GetTickCount64();
        std::thread requester([&c, &request] {
            if (c.nDelayMs > 0) {
                Sleep(static_cast<DWORD>(c.nDelayMs));
                request();
            }
        });
        const int nResult = m_pScreen->ReconnectWifiDevice(0, kSerials[0], 2);
        const ULONGLONG nElapsed = ::GetTickCount64() - nStart;
        requester.join();
        EXPECT_EQ(0, nResult);
        EXPECT_GE(nElapsed, static_cast<ULONGLONG>(c.nDelayMs));
        // The attempt under way (a listen of a second or two) ends; no further one begins.
        EXPECT_LT(nElapsed, static_cast<ULONGLONG>(c.nDelayMs) + 2600u);
        EXPECT_EQ(0, m_pScreen->m_Reconnecting);
        EXPECT_EQ(nKeepAlives, KeepAlives(0));
        EXPECT_EQ(0, Link(0).m_bSocketOpen);
        MSG msg;
        EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
        EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    }
}

TEST_F(TestScreenConnectionNetwork, ViewTimersIdleWhileAGaugeIsReconnected)
{
    for (int i = 0; i < 2; ++i)
        Link(i).m_bIdentified = 1;
    const long long nKeepAlives = KeepAlives(1);
    m_pScreen->m_Reconnecting = 1;
    m_view->m_nTickCount = 5;
    m_view->OnTimer(2);   // keep-alive
    m_view->OnTimer(1);   // tick
    EXPECT_EQ(5, m_view->m_nTickCount);
    Sleep(200);   // the model counts on its own thread
    EXPECT_EQ(nKeepAlives, KeepAlives(1));
    m_pScreen->m_Reconnecting = 0;
    // The keep-alive timer once the reconnection is over.
    m_view->OnTimer(2);
    EXPECT_EQ(1, WaitForKeepAlives(1, nKeepAlives + 1) - nKeepAlives);
}

TEST_F(TestScreenConnectionNetwork, ThirtyAttemptsThenGivesUp)
{
    ASSERT_EQ("ok", m_models[0].Apply("announce off"));
    const long long nKeepAlives[2] = {KeepAlives(0), KeepAlives(1)};
    const ULONGLONG nStart = ::GetTickCount64();
    EXPECT_EQ(0, m_pScreen->ReconnectWifiDevice(0, kSerials[0], 2));
    const ULONGLONG nElapsed = ::GetTickCount64() - nStart;
    std::printf("Reconnection given up after %.1f s\n", static_cast<double>(nElapsed) / 1000.0);
    // Each attempt listens for a second and keeps the other gauge alive once.
    EXPECT_GT(nElapsed, 30000u);
    EXPECT_EQ(30, WaitForKeepAlives(1, nKeepAlives[1] + 30) - nKeepAlives[1]);
    EXPECT_EQ(nKeepAlives[0], KeepAlives(0));
    EXPECT_EQ(0, m_pScreen->m_Reconnecting);
    EXPECT_EQ(0, Link(0).m_bSocketOpen);
}

TEST_F(TestScreenConnectionNetwork, AutoSelectionTakesTheKnownNetworkGauge)
{
    // The gauge known from an earlier run, its link not connected now.
    Link(0).CloseWifiConnection();
    Link(1).CloseWifiConnection();
    m_view->m_bAutoSelect = 1;
    m_view->m_nPrimaryPort = -1;
    m_view->m_NetDevice = m_deviceInfo[0];
    SetZones(0);
    m_models[0].TakeRequests();
    EXPECT_EQ(1, m_pScreen->AllocateChannels());
    EXPECT_EQ(1, Link(0).m_bConnected);
    EXPECT_EQ(1, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(2, m_pScreen->m_ChannelsInUse);
    EXPECT_EQ(2, m_pScreen->m_DeviceChannels[0]);
    EXPECT_EQ(1, m_pScreen->CheckChannelCounts());
    m_view->m_bAutoSelect = 0;
}

TEST_F(TestScreenConnection, ALinkAfterOneWithoutAPortIsNotTaken)
{
    // Every reader counts the links in use from link 0: link 2 behind an
    // empty link 1 would be counted as link 1, so it is not taken, and the
    // channels of link 0 alone do not suffice.
    ASSERT_NO_FATAL_FAILURE(Attach(0, {"channels 2"}));
    ASSERT_NO_FATAL_FAILURE(Attach(2, {"channels 4"}));
    SetZones(2);
    m_pScreen->m_InsufficientChannels = 0;
    EXPECT_EQ(0, m_pScreen->AllocateChannels());
    EXPECT_EQ(1, m_pScreen->m_InsufficientChannels);
    EXPECT_EQ(0, m_pScreen->m_DeviceUsed[2]);
    EXPECT_EQ(0, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(0, Link(0).m_bConnected);
    EXPECT_EQ(0, Link(2).m_bConnected);

    // Four channels on link 0 suffice; link 2 is closed.
    m_devices[0].Set({"channels 4"});
    EXPECT_EQ(1, m_pScreen->AllocateChannels());
    EXPECT_EQ(1, m_pScreen->m_DevicesInUse);
    EXPECT_EQ(0, Link(2).m_bConnected);
    EXPECT_EQ(1, m_pScreen->AutoZeroAll());
    EXPECT_EQ(1, m_devices[0].Stats()["zeros"]);
    EXPECT_EQ(0, m_devices[2].Stats()["zeros"]);
}

TEST_F(TestScreenConnection, AutoSelectionScansForNetworkGaugesAndListsSeveral)
{
    struct Case {
        const char* pszName;
        int nGauges;
        const wchar_t* pszChoose;  // the row to choose; nullptr: Esc
        int nTakenSerial;          // 0: none
    } cases[] = {
        {"one gauge: taken without a list", 1, L"", 5150},
        {"two gauges: the chosen one", 2, L"RQ40-6262", 6262},
        {"two gauges, the list closed: none", 2, nullptr, 0},
    };
    CSteppingClock clock(1000);
    CScopedProgramClock scopedClock(clock);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CNetworkGaugeModel models[2] = {CNetworkGaugeModel(CNetworkGaugeModel::kRQ80),
                                        CNetworkGaugeModel(CNetworkGaugeModel::kRQ40Adapter)};
        const int nSerials[2] = {5150, 6262};
        for (int k = 0; k < c.nGauges; ++k) {
            ASSERT_TRUE(models[k].Start());
            ASSERT_EQ("ok", models[k].Apply("serial " + std::to_string(nSerials[k])));
            ASSERT_EQ("ok", models[k].Apply("announce every 100"));
        }
        m_view->m_bAutoSelect = 1;
        m_view->m_nPrimaryPort = -1;
        m_view->ResetNetDeviceRecord(m_view->m_NetDevice);
        SetZones(0);

        CTestAnswerer answerer;
        CScopedAnswerer scoped(answerer);
        CDialogDriver driver;
        std::vector<std::wstring> rows;
        if (c.nGauges > 1) {
            answerer.RunDialog(IDD_DEVICE_SELECTION, driver.Run({[&](HWND h) {
                const int nRows =
                    static_cast<int>(SendDlgItemMessageW(h, IDC_DEVICE_SELECTION_LIST, LB_GETCOUNT, 0, 0));
                int nChoose = -1;
                for (int r = 0; r < nRows; ++r) {
                    wchar_t szRow[64] = {};
                    SendDlgItemMessageW(h, IDC_DEVICE_SELECTION_LIST, LB_GETTEXT, r, reinterpret_cast<LPARAM>(szRow));
                    rows.push_back(szRow);
                    if (c.pszChoose != nullptr && rows.back() == c.pszChoose)
                        nChoose = r;
                }
                if (nChoose < 0) {
                    PressKey(VK_ESCAPE);
                    return;
                }
                SendDlgItemMessageW(h, IDC_DEVICE_SELECTION_LIST, LB_SETCURSEL, nChoose, 0);
                ClickItem(h, IDOK);
            }}));
        }
        EXPECT_EQ(c.nTakenSerial != 0 ? 1 : 0, m_pScreen->AllocateChannels());
        EXPECT_EQ(c.nTakenSerial, m_view->m_NetDevice.m_nSerialNumber);
        EXPECT_EQ(c.nTakenSerial != 0 ? 1 : 0, Link(0).m_bConnected);
        EXPECT_EQ(c.nTakenSerial != 0 ? 1 : 0, m_pScreen->m_DevicesInUse);
        if (c.nGauges > 1) {
            std::sort(rows.begin(), rows.end());
            EXPECT_EQ((std::vector<std::wstring>{L"RQ40-6262", L"RQ80-5150"}), rows);
        }
        EXPECT_TRUE(answerer.AllRepliesUsed());
        if (Link(0).m_bSocketOpen)
            Link(0).CloseDevice();
        for (CNetworkGaugeModel& model : models)
            model.Stop();
    }
    m_view->m_bAutoSelect = 0;
}

// Prints the time of re-identifying four gauges at once against one alone
// (goal: at most twice; one after another would cost four times).
TEST_F(TestScreenConnection, BenchmarkFourGaugesReidentifiedAtOnce)
{
    // Gauges that answer at the line rate, so that each identification
    // takes a time worth comparing.
    for (int i = 0; i < 4; ++i)
        ASSERT_NO_FATAL_FAILURE(Attach(i, {"channels 2", "pace on"}));
    auto timeConnect = [this](int nLinks) {
        for (int i = 0; i < 4; ++i)
            m_view->m_nComPort[i] = i < nLinks ? kPairs[i][0] : 0;
        CStopwatch stopwatch;
        EXPECT_EQ(1, m_pScreen->ConnectDevices());
        const double dMs = stopwatch.ElapsedMs();
        for (int i = 0; i < nLinks; ++i)
            EXPECT_EQ(2, m_pScreen->m_DeviceChannels[i]) << "link " << i;
        m_view->CloseAllDevicePorts();
        return dMs;
    };
    timeConnect(1);  // the first opening of a port costs more under Wine
    const double dOne = timeConnect(1);
    const double dFour = timeConnect(4);
    std::printf("Re-identifying: one gauge %.0f ms, four gauges at once %.0f ms, ratio %.2f (goal at most 2)\n",
                dOne, dFour, dOne > 0.0 ? dFour / dOne : 0.0);
}

