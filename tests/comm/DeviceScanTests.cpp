// The device scan against real ports and a real network: simulators on the
// far ends of pseudo-terminal pairs (tools/scan-ports: each group of ports
// is shown and hidden by renaming its folder, so a scan sees exactly the
// ports a test wants), network gauges and adapters of the network model
// announcing themselves on loopback; the report compared whole. Also the
// device selection of AUTO SELECT, the Port Test against devices, and the
// time a scan takes against what its parts cost alone.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "comm/ComPortSelectDialog.h"
#include "comm/GaugeJobs.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "comm/ScanForDevices.h"
#include "comm/WifiDiscovery.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"

namespace {

// The ports of tools/scan-ports (program end, far end).
constexpr int kGaugePortA = 211, kGaugePortB = 221;
constexpr int kBoxPortA = 212, kBoxPortB = 222;
constexpr int kSilentPort = 213;
constexpr int kModemPortA = 214, kModemPortB = 224;
constexpr int kGonePort = 215;
constexpr int kSlowPortA = 216, kSlowPortB = 226;
constexpr int kManyFirst = 100, kManyCount = 70;

std::wstring BuildFolder()
{
    // <build>\tests\comm_tests.exe
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath);
    path.erase(path.find_last_of(L"\\/"));
    path.erase(path.find_last_of(L"\\/") + 1);
    return path;
}

// Shows groups of scan ports for one test and hides the comm tests' own
// pairs, whose both ends a scan would otherwise probe; everything is put
// back at the end.
class CScanPorts {
public:
    CScanPorts() : m_dir(BuildFolder() + L"scan\\")
    {
        m_bSerialHidden = Rename(BuildFolder() + L"serial", BuildFolder() + L"serial.off");
    }
    ~CScanPorts()
    {
        for (const std::wstring& group : m_shown)
            Rename(m_dir + group, m_dir + group + L".off");
        if (m_bSerialHidden)
            Rename(BuildFolder() + L"serial.off", BuildFolder() + L"serial");
    }
    CScanPorts(const CScanPorts&) = delete;
    CScanPorts& operator=(const CScanPorts&) = delete;

    testing::AssertionResult Show(const std::wstring& group)
    {
        if (!Rename(m_dir + group + L".off", m_dir + group))
            return testing::AssertionFailure() << "no port group " << std::string(group.begin(), group.end())
                                               << "; run the comm tests through ctest (tools/scan-ports)";
        m_shown.push_back(group);
        return testing::AssertionSuccess();
    }
    void Hide(const std::wstring& group)
    {
        for (auto it = m_shown.begin(); it != m_shown.end(); ++it) {
            if (*it == group) {
                Rename(m_dir + group, m_dir + group + L".off");
                m_shown.erase(it);
                return;
            }
        }
    }

private:
    static bool Rename(const std::wstring& from, const std::wstring& to)
    {
        return MoveFileW(from.c_str(), to.c_str()) != FALSE;
    }

    std::wstring m_dir;
    std::vector<std::wstring> m_shown;
    bool m_bSerialHidden = false;
};

// A modem on a COM port: echoes what it gets and answers a carriage return
// with OK.
class CModemPeer {
public:
    ~CModemPeer() { Stop(); }
    testing::AssertionResult Start(int nComPort)
    {
        wchar_t szPath[32];
        swprintf(szPath, 32, L"\\\\.\\COM%d", nComPort);
        m_hPort = CreateFileW(szPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (m_hPort == INVALID_HANDLE_VALUE) {
            m_hPort = nullptr;
            return testing::AssertionFailure() << "cannot open COM" << nComPort;
        }
        COMMTIMEOUTS timeouts{};
        timeouts.ReadTotalTimeoutConstant = 10;
        SetCommTimeouts(m_hPort, &timeouts);
        m_worker = std::thread([this] {
            while (!m_bStop) {
                unsigned char nByte = 0;
                DWORD nRead = 0;
                if (!ReadFile(m_hPort, &nByte, 1, &nRead, nullptr) || nRead != 1)
                    continue;
                std::string answer(1, static_cast<char>(nByte));
                if (nByte == '\r')
                    answer += "\r\nOK\r\n";
                DWORD nWritten = 0;
                WriteFile(m_hPort, answer.data(), static_cast<DWORD>(answer.size()), &nWritten, nullptr);
            }
        });
        return testing::AssertionSuccess();
    }
    void Stop()
    {
        m_bStop = true;
        if (m_worker.joinable())
            m_worker.join();
        if (m_hPort != nullptr)
            CloseHandle(m_hPort);
        m_hPort = nullptr;
    }

private:
    HANDLE m_hPort = nullptr;
    std::atomic<bool> m_bStop{false};
    std::thread m_worker;
};

// Sends announcements to the discovery port of 127.0.0.1 and 127.255.255.255,
// in the given order, every 250 ms once told that the scan listens.
class CAnnouncer {
public:
    ~CAnnouncer() { Stop(); }
    void Start(std::vector<std::string> datagrams)
    {
        m_datagrams = std::move(datagrams);
        m_worker = std::thread([this] { Run(); });
    }
    // The scan is about to listen: announcements begin shortly after.
    void Go() { m_bGo = true; }
    void Stop()
    {
        m_bStop = true;
        if (m_worker.joinable())
            m_worker.join();
    }

private:
    void Run()
    {
        while (!m_bGo && !m_bStop)
            Sleep(2);
        // The probes start and the listen begins well within this.
        Sleep(500);
        SOCKET hSocket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        const BOOL bBroadcast = TRUE;
        setsockopt(hSocket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&bBroadcast),
                   sizeof bBroadcast);
        while (!m_bStop) {
            for (const std::string& datagram : m_datagrams) {
                for (const char* pszAddress : {"127.0.0.1", "127.255.255.255"}) {
                    sockaddr_in target{};
                    target.sin_family = AF_INET;
                    target.sin_port = htons(CWifiDiscovery::kDiscoveryPort);
                    inet_pton(AF_INET, pszAddress, &target.sin_addr);
                    sendto(hSocket, datagram.data(), static_cast<int>(datagram.size()), 0,
                           reinterpret_cast<const sockaddr*>(&target), sizeof target);
                }
            }
            for (int i = 0; i < 25 && !m_bStop; ++i)
                Sleep(10);
        }
        closesocket(hSocket);
    }

    std::vector<std::string> m_datagrams;
    std::atomic<bool> m_bGo{false};
    std::atomic<bool> m_bStop{false};
    std::thread m_worker;
};

// The scan with the system's seams opened: given port-check results, a
// probe start that fails, and a call when the port check is over.
class CScanSpy : public CScanForDevices {
public:
    std::map<int, int> m_givenChecks;  // by port index
    std::function<void()> m_onChecked;
    int m_nFailStartAt = -1;
    int m_nStarted = 0;
    std::vector<HANDLE> m_startedThreads;

    int CheckComPort(int nPortIndex) override
    {
        const auto given = m_givenChecks.find(nPortIndex);
        const int nResult = given != m_givenChecks.end() ? given->second : CScanForDevices::CheckComPort(nPortIndex);
        if (nPortIndex == kPorts - 1 && m_onChecked)
            m_onChecked();
        return nResult;
    }
    bool StartProbe(CQarCommThreads& probe) override
    {
        if (m_nStarted++ == m_nFailStartAt)
            return false;
        const bool bStarted = CScanForDevices::StartProbe(probe);
        HANDLE hCopy = nullptr;
        if (bStarted)
            DuplicateHandle(GetCurrentProcess(), probe.m_hThread, GetCurrentProcess(), &hCopy, SYNCHRONIZE, FALSE, 0);
        m_startedThreads.push_back(hCopy);
        return bStarted;
    }
    ~CScanSpy() override
    {
        for (HANDLE h : m_startedThreads)
            if (h != nullptr)
                CloseHandle(h);
    }
};

class CVerboseErrors {
public:
    explicit CVerboseErrors(int bOn) : m_bSaved(g_bVerboseWifiErrors) { g_bVerboseWifiErrors = bOn; }
    ~CVerboseErrors() { g_bVerboseWifiErrors = m_bSaved; }

private:
    int m_bSaved;
};

// The whole report of a scan dialog (it is longer than ItemText reads).
std::wstring ReportText(HWND hDialog)
{
    HWND hReport = ::GetDlgItem(hDialog, IDC_SCAN_REPORT);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hReport)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hReport, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The scan dialog's window for one windowed scan.
std::wstring ScanWithWindow(CScanSpy& scan)
{
    if (!scan.Create(IDD_SCAN_FOR_DEVICES))
        return L"(no window)";
    scan.ScanForDevices();
    return ReportText(scan.GetSafeHwnd());
}

bool IsConfigureEnabled(CScanSpy& scan)
{
    return IsWindowEnabled(::GetDlgItem(scan.GetSafeHwnd(), IDC_SCAN_CONFIGURE)) != FALSE;
}

std::wstring Widen(const CString& str)
{
    return str.GetString();
}

std::wstring NetLine(int nPort, const wchar_t* pszName, const wchar_t* pszWhat)
{
    wchar_t sz[256];
    swprintf(sz, 256, L"          IP 127.0.0.1:%d:  %ls %ls\r\n", nPort, pszName, pszWhat);
    return sz;
}

const std::wstring kComHead = L"\r\n\r\n    COM Port Connections: \r\n";
const std::wstring kNetHead = L"\r\n    QAR Network Devices (wired and wireless):\r\n";

TEST(DeviceScanTexts, ModelNamesAndNetworkLines)
{
    const struct {
        int nType;
        const wchar_t* pszName;
    } models[] = {{5, L"RQ20"}, {7, L"RQ40"}, {10, L"RQ80"}, {0, L"RQXX"}, {6, L"RQXX"}, {-1, L"RQXX"}};
    for (const auto& m : models)
        EXPECT_EQ(Widen(CScanForDevices::GetModelName(m.nType)), m.pszName) << m.nType;
    EXPECT_EQ(Widen(CScanForDevices::FormatNetworkLine(L"127.0.0.1", 2000, L"RQ80 - 4321")),
              L"IP 127.0.0.1:2000:  RQ80 - 4321");
    EXPECT_EQ(Widen(CScanForDevices::FormatNetworkLine(L"", 0, L"")), L"IP :0:  ");
}

// One scan covers most lines of the report: a gauge and a box identified, a
// free silent port, a modem, a port held by another program, a mapped port
// whose terminal is gone, a busy adapter that is never connected to, an
// available RQ80 and a device that refuses the connection; with and without
// verbose network errors.
TEST(DeviceScan, RichScanReportsEveryKindOfDevice)
{
    CScanPorts ports;
    ASSERT_TRUE(ports.Show(L"rich"));
    ASSERT_TRUE(ports.Show(L"devices"));
    CGaugeSimulator gauge, box;
    ASSERT_TRUE(gauge.Start(kGaugePortB, {"model RQ40", "serial 1234"}));
    ASSERT_TRUE(box.Start(kBoxPortB, {"box 8", "serial 4321"}));
    CModemPeer modem;
    ASSERT_TRUE(modem.Start(kModemPortB));
    // The far ends stay open in the simulators but are no longer there for the scan.
    ports.Hide(L"devices");

    CNetworkGaugeModel rq80(CNetworkGaugeModel::kRQ80);
    CNetworkGaugeModel adapter(CNetworkGaugeModel::kRQ40Adapter);
    CNetworkGaugeModel gone(CNetworkGaugeModel::kRQ80);
    ASSERT_TRUE(rq80.Start());
    ASSERT_TRUE(adapter.Start());
    ASSERT_TRUE(gone.Start());
    rq80.Apply("serial 8080");
    adapter.Apply("serial 777");
    adapter.Apply("status busy");
    gone.Apply("serial 9090");
    const int nGonePort = gone.GetPort();
    const std::string goneAnnouncement = gone.GetAnnouncement();
    gone.Stop();  // announced, but nobody listens on its port

    CTestView view(L"scan-rich");
    for (int bVerbose : {0, 1}) {
        SCOPED_TRACE(bVerbose ? "verbose network errors" : "plain network errors");
        CVerboseErrors verbose(bVerbose);
        CAnnouncer announcer;
        announcer.Start({adapter.GetAnnouncement(), rq80.GetAnnouncement(), goneAnnouncement});
        CScanSpy scan;
        scan.m_pView = view.Get();
        scan.m_givenChecks[229] = 5;  // COM230 held by another program
        scan.m_onChecked = [&announcer] { announcer.Go(); };
        const std::wstring report = ScanWithWindow(scan);
        announcer.Stop();

        std::wstring expected = kComHead +
                                L"          COM211:  Device RQ40 - 1234 is connected to this COM port.\r\n"
                                L"          COM212:  Device LZT8 - 4321 is connected to this COM port.\r\n"
                                L"          COM213:  Port exists and is available for use.\r\n"
                                L"          COM214:  Port exists but a modem is connected.\r\n"
                                L"\r\n          COM230:  Port exists but access is denied. This COM port may be "
                                L"in use by another program\r\n" +
                                kNetHead + NetLine(adapter.GetPort(), L"RQ40 - 777", L"has been detected, but is busy.") +
                                NetLine(rq80.GetPort(), L"RQ80 - 8080", L"is available for connection.") +
                                NetLine(nGonePort, L"RQ80 - 9090", L"has been detected, but can not be connected.");
        if (bVerbose)
            expected += L"                    WSA Connect() failed in OpenWifiConnection() with error " +
                        Widen(CQarCommunications::GetWsaErrorText(WSAECONNREFUSED)) + L".\r\n";
        EXPECT_EQ(report, expected);
        if (bVerbose && !ScreensFolder().empty()) {
            scan.ShowWindow(SW_SHOW);
            SaveScreenshot(scan.GetSafeHwnd(), L"scan-report.png");
        }

        EXPECT_EQ(scan.m_nComDevices, 2);
        EXPECT_EQ(scan.m_nFoundPort[kGaugePortA - 1], kGaugePortA);
        EXPECT_EQ(scan.m_nFoundPort[kBoxPortA - 1], kBoxPortA);
        EXPECT_EQ(scan.m_nFoundPort[kSilentPort - 1], -1);
        EXPECT_EQ(Widen(scan.m_strDeviceText[kGaugePortA - 1]), L"RQ40 - 1234");
        EXPECT_EQ(Widen(scan.m_strDeviceText[kModemPortA - 1]), L"");
        EXPECT_EQ(scan.m_nNetDevices, 1);
        EXPECT_EQ(Widen(scan.m_strNetDeviceName[0]), L"RQ80 - 8080");
        EXPECT_EQ(scan.m_NetDevices[0].m_nPort, rq80.GetPort());
        // An adapter was seen, but the first descriptor is the RQ80: the
        // adapter's commands must not go to it.
        EXPECT_FALSE(IsConfigureEnabled(scan));
        EXPECT_TRUE(IsWindowEnabled(::GetDlgItem(scan.GetSafeHwnd(), IDOK)));
        scan.DestroyWindow();
    }
    EXPECT_NE(adapter.Apply("stats").find("connections=0"), std::string::npos) << "the busy adapter was connected to";
    EXPECT_NE(rq80.Apply("stats").find("connections=2"), std::string::npos) << "one connection per scan";
    EXPECT_TRUE(view->m_ScanProbes.WaitForStragglers(0));

    // Every port is free again: the gauge is found by a link of its own.
    CQarCommunications link;
    link.InitChannelTable();
    link.m_nFirstPort = link.m_nLastPort = kGaugePortA;
    link.ConnectDevice();
    EXPECT_EQ(link.m_bIdentified, 1);
    link.CloseDevice();
    EXPECT_EQ(CQarCommunications().CheckPort(kGonePort - 1), -1) << "a mapped port whose terminal is gone";
}

// Nothing connected: both sections say "None" under the headline; a second
// "Start Scan" replaces the report; the windowless result fields.
TEST(DeviceScan, EmptyScanTwiceAndWithoutWindow)
{
    CScanPorts ports;
    const std::wstring expected = L"\r\n          No RQ40, RQ80, or LZT Devices are connected.\r\n  " + kComHead +
                                  L"          None\r\n" + kNetHead + L"          None";
    CScanSpy scan;
    EXPECT_EQ(ScanWithWindow(scan), expected);
    EXPECT_FALSE(IsConfigureEnabled(scan));
    ClickItem(scan.GetSafeHwnd(), IDC_SCAN_START);
    PumpPending();
    EXPECT_EQ(ReportText(scan.GetSafeHwnd()), expected);
    scan.DestroyWindow();

    CScanForDevices windowless;
    windowless.m_strErrorText[0] = L"left over";
    EXPECT_EQ(windowless.ScanForDevices(), 0);
    EXPECT_EQ(windowless.m_nNetDevices, 0);
    EXPECT_EQ(Widen(windowless.m_strErrorText[0]), L"");
    for (int i = 0; i < CScanForDevices::kPorts; ++i)
        ASSERT_EQ(windowless.m_nFoundPort[i], -1) << i;
}

// The listen fails (the port is taken): the window reports the error; a
// windowless scan passes it on only with verbose errors on.
TEST(DeviceScan, DiscoveryFailureReachesTheCallerOnlyWhenVerbose)
{
    CScanPorts ports;
    SOCKET hTaken = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(CWifiDiscovery::kDiscoveryPort);
    ASSERT_EQ(bind(hTaken, reinterpret_cast<const sockaddr*>(&local), sizeof local), 0);

    CScanSpy windowed;
    const std::wstring report = ScanWithWindow(windowed);
    windowed.DestroyWindow();
    const std::wstring prefix = L"\r\n          No RQ40, RQ80, or LZT Devices are connected.\r\n  " + kComHead +
                                L"          None\r\n" + kNetHead + L"          WSA ";
    EXPECT_EQ(report.substr(0, prefix.size()), prefix) << std::string(report.begin(), report.end());

    for (int bVerbose : {0, 1}) {
        CVerboseErrors verbose(bVerbose);
        CScanForDevices windowless;
        EXPECT_EQ(windowless.ScanForDevices(), 0);
        if (bVerbose)
            EXPECT_EQ(Widen(windowless.m_strErrorText[0]), report.substr(prefix.size() - 4));
        else
            EXPECT_EQ(Widen(windowless.m_strErrorText[0]), L"");
    }
    closesocket(hTaken);
}

// Configure is enabled only for a free adapter in the first descriptor.
TEST(DeviceScan, ConfigureOnlyForAFreeAdapterFirst)
{
    CScanPorts ports;
    const struct {
        const char* pszCase;
        CNetworkGaugeModel::Kind kind;
        const char* pszStatus;
        bool bEnabled;
    } cases[] = {
        {"a free adapter", CNetworkGaugeModel::kRQ40Adapter, "status free", true},
        {"a busy adapter", CNetworkGaugeModel::kRQ40Adapter, "status busy", false},
        {"an RQ80 alone", CNetworkGaugeModel::kRQ80, "status free", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        CNetworkGaugeModel device(c.kind);
        ASSERT_TRUE(device.Start());
        device.Apply(c.pszStatus);
        CAnnouncer announcer;
        announcer.Start({device.GetAnnouncement()});
        CScanSpy scan;
        scan.m_onChecked = [&announcer] { announcer.Go(); };
        ScanWithWindow(scan);
        announcer.Stop();
        EXPECT_EQ(IsConfigureEnabled(scan), c.bEnabled);
        scan.DestroyWindow();
    }
}

// Configure runs the adapter dialog for the first descriptor: a change
// made is announced with the network now used and the list, no longer
// reachable as shown, goes; a cancelled dialog leaves the scan as it was.
TEST(DeviceScan, ConfigureAnnouncesTheNewNetworkAndEmptiesTheList)
{
    CScanPorts ports;
    CTestView view(L"scan-configure");
    for (const bool bApply : {true, false}) {
        SCOPED_TRACE(bApply ? "applied" : "cancelled");
        CNetworkGaugeModel adapter(CNetworkGaugeModel::kRQ40Adapter);
        ASSERT_TRUE(adapter.Start());
        ASSERT_EQ("ok", adapter.Apply("cc first"));
        ASSERT_EQ("ok", adapter.Apply("settings 6,0,RQ40-4321,secret"));
        CAnnouncer announcer;
        announcer.Start({adapter.GetAnnouncement()});
        CScanSpy scan;
        scan.m_pView = view.Get();
        scan.m_onChecked = [&announcer] { announcer.Go(); };
        const std::wstring report = ScanWithWindow(scan);
        announcer.Stop();
        ASSERT_TRUE(IsConfigureEnabled(scan));
        adapter.TakeRequests();

        // The adapter's pause after each connection runs on a stepping clock.
        CSteppingClock clock(1000);
        CScopedProgramClock scopedClock(clock);
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        CDialogDriver driver;
        if (bApply) {
            answerer.RunDialog(IDD_WIFI_LINK_CONFIG, driver.Run({[](HWND h) {
                                   ClickItem(h, IDC_WIFI_MODE_ROUTER);
                                   for (int nID : {IDC_WIFI_SSID, IDC_WIFI_SSID_CONFIRM})
                                       ::SetDlgItemTextW(h, nID, L"Shop");
                                   ClickItem(h, IDOK);
                               }}));
            answerer.ReplyToProgramMessage(0, IDOK, L"Shop network");
        } else {
            answerer.ReplyToDialog(IDD_WIFI_LINK_CONFIG, IDCANCEL);
        }
        // The scan's window is not shown, so the button's notification is
        // sent as a click on it would send it.
        HWND hConfigure = ::GetDlgItem(scan.GetSafeHwnd(), IDC_SCAN_CONFIGURE);
        ::SendMessageW(scan.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_SCAN_CONFIGURE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hConfigure));

        EXPECT_TRUE(answerer.AllRepliesUsed());
        if (bApply) {
            ASSERT_EQ(1u, answerer.programMessages.size());
            EXPECT_EQ(L"The Wifi Link has been changed to the Shop network.\n\nPlease connect to this network.",
                      answerer.programMessages[0].text);
            EXPECT_EQ(L"", ReportText(scan.GetSafeHwnd()));
            EXPECT_FALSE(IsConfigureEnabled(scan));
            const std::vector<std::string> requests = adapter.TakeRequests();
            EXPECT_NE(std::find(requests.begin(), requests.end(), "SS Shop"), requests.end());
            EXPECT_EQ("RS", requests.empty() ? std::string() : requests.back());
        } else {
            EXPECT_TRUE(answerer.programMessages.empty());
            EXPECT_EQ(report, ReportText(scan.GetSafeHwnd()));
            EXPECT_TRUE(IsConfigureEnabled(scan));
        }
        scan.DestroyWindow();
        adapter.Stop();
    }
}

// More than 64 free ports: all are probed and waited for against one deadline.
TEST(DeviceScan, SeventyFreePortsAreAllReported)
{
    CScanPorts ports;
    ASSERT_TRUE(ports.Show(L"many"));
    CScanSpy scan;
    CStopwatch watch;
    const std::wstring report = ScanWithWindow(scan);
    const double dMs = watch.ElapsedMs();
    scan.DestroyWindow();
    std::wstring lines;
    for (int n = kManyFirst; n < kManyFirst + kManyCount; ++n)
        lines += L"          COM" + std::to_wstring(n) + L":  Port exists and is available for use.\r\n";
    EXPECT_EQ(report, L"\r\n          No RQ40, RQ80, or LZT Devices are connected.\r\n  " + kComHead + lines + kNetHead +
                          L"          None");
    EXPECT_EQ(scan.m_nStarted, kManyCount);
    std::printf("[ scan     ] %d silent ports probed at once: %.0f ms\n", kManyCount, dMs);
}

// A probe thread that cannot be created: nothing is reported, the scan
// returns 0, and the probes already started have ended before their links
// and threads go.
TEST(DeviceScan, FailedProbeStartWaitsForTheStartedProbes)
{
    CScanPorts ports;
    ASSERT_TRUE(ports.Show(L"rich"));
    CScanSpy scan;
    scan.m_nFailStartAt = 2;
    ASSERT_TRUE(scan.Create(IDD_SCAN_FOR_DEVICES));
    EXPECT_EQ(scan.ScanForDevices(), 0);
    const std::wstring report = ReportText(scan.GetSafeHwnd());
    EXPECT_EQ(report, L"\r\n    Scanning in Process - Please Wait");
    EXPECT_TRUE(IsWindowEnabled(::GetDlgItem(scan.GetSafeHwnd(), IDC_SCAN_START)));
    ASSERT_EQ(scan.m_startedThreads.size(), 2u);
    for (HANDLE h : scan.m_startedThreads)
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0) << "a started probe was left running";
    scan.DestroyWindow();
}

// A gauge that answers each byte just inside its time-out: its probe
// outlasts the wait. The port counts as having nothing identified, the scan
// ends on time, and the view keeps the probe until its thread has ended.
TEST(DeviceScan, ProbeOutlastingTheWaitIsKeptUntilItEnds)
{
    CScanPorts ports;
    ASSERT_TRUE(ports.Show(L"slow"));
    ASSERT_TRUE(ports.Show(L"devices"));
    CGaugeSimulator slow;
    ASSERT_TRUE(slow.Start(kSlowPortB, {"model RQ40", "serial 55", "pace 60"}));
    ports.Hide(L"devices");
    CTestView view(L"scan-slow");
    CScanSpy scan;
    scan.m_pView = view.Get();
    CStopwatch watch;
    EXPECT_EQ(scan.ScanForDevices(), 0);
    const double dMs = watch.ElapsedMs();
    EXPECT_EQ(scan.m_nFoundPort[kSlowPortA - 1], -1);
    EXPECT_FALSE(view->m_ScanProbes.WaitForStragglers(0)) << "the probe ended within the wait";
    std::printf("[ scan     ] with a probe outlasting the wait: %.0f ms (listen %d s + wait %lu ms)\n", dMs,
                CScanForDevices::kListenSeconds, CScanForDevices::kProbeWaitMs);
    EXPECT_LT(dMs, (CScanForDevices::kListenSeconds + 2) * 1000.0 + CScanForDevices::kProbeWaitMs);
    // Without its gauge the probe soon runs out of answers and ends.
    slow.Stop();
    EXPECT_TRUE(view->m_ScanProbes.WaitForStragglers(60000));
}

// Benchmark: a mixed scan against the longest single probe alone plus one
// listen plus the opens of the available network devices.
TEST(DeviceScan, BenchmarkMixedScanAgainstItsLongestPart)
{
    CScanPorts ports;
    ASSERT_TRUE(ports.Show(L"rich"));
    ASSERT_TRUE(ports.Show(L"devices"));
    CGaugeSimulator gauge, box;
    ASSERT_TRUE(gauge.Start(kGaugePortB, {"model RQ40", "serial 1234"}));
    ASSERT_TRUE(box.Start(kBoxPortB, {"box 8", "serial 4321"}));
    CModemPeer modem;
    ASSERT_TRUE(modem.Start(kModemPortB));
    ports.Hide(L"devices");
    CNetworkGaugeModel rq80(CNetworkGaugeModel::kRQ80);
    ASSERT_TRUE(rq80.Start());

    // Each probe alone, one after the other.
    double dLongestProbeMs = 0.0;
    double dSumProbesMs = 0.0;
    for (int nPort : {kGaugePortA, kBoxPortA, kSilentPort, kModemPortA}) {
        CQarCommunications link;
        link.m_nPortIndex = nPort - 1;
        link.InitChannelTable();
        CQarCommThreads probe;
        probe.m_pLink = &link;
        probe.m_nJob = CQarCommThreads::kProbePort;
        CGaugeJobGroup group;
        CStopwatch watch;
        ASSERT_TRUE(group.Run({&probe}, THREAD_PRIORITY_TIME_CRITICAL));
        const double dMs = watch.ElapsedMs();
        dSumProbesMs += dMs;
        dLongestProbeMs = std::max(dLongestProbeMs, dMs);
    }
    // One listen alone.
    CStopwatch listenWatch;
    CWifiDiscovery discovery;
    discovery.DiscoverWifiDevices(CScanForDevices::kListenSeconds);
    const double dListenMs = listenWatch.ElapsedMs();
    // The open of the available device alone.
    CWifiDeviceInfo device;
    device.m_strAddress = L"127.0.0.1";
    device.m_nPort = rq80.GetPort();
    device.m_nDeviceType = 10;
    CStopwatch openWatch;
    CQarCommunications netLink;
    ASSERT_TRUE(netLink.OpenWifiConnection(device));
    netLink.CloseWifiConnection();
    const double dOpenMs = openWatch.ElapsedMs();

    CAnnouncer announcer;
    announcer.Start({rq80.GetAnnouncement()});
    CScanSpy scan;
    scan.m_onChecked = [&announcer] { announcer.Go(); };
    CStopwatch scanWatch;
    scan.ScanForDevices();
    const double dScanMs = scanWatch.ElapsedMs();
    announcer.Stop();
    EXPECT_EQ(scan.m_nComDevices, 2);
    EXPECT_EQ(scan.m_nNetDevices, 1);

    const double dBaselineMs = dLongestProbeMs + dListenMs + dOpenMs;
    std::printf("[ scan     ] mixed scan %.0f ms; baseline %.0f ms (longest probe %.0f + listen %.0f + open %.0f); "
                "ratio %.2f (goal 1.25); port by port the probes alone cost %.0f ms\n",
                dScanMs, dBaselineMs, dLongestProbeMs, dListenMs, dOpenMs, dScanMs / dBaselineMs, dSumProbesMs);
}

// The Port Test of a free port: the device on it by its model and serial
// number, or a modem; the link is closed afterwards and keeps its range.
TEST(DeviceScan, PortTestNamesTheDeviceOrTheModem)
{
    CScanPorts ports;
    ASSERT_TRUE(ports.Show(L"rich"));
    ASSERT_TRUE(ports.Show(L"devices"));
    CGaugeSimulator gauge;
    ASSERT_TRUE(gauge.Start(kGaugePortB, {"model RQ40", "serial 1234"}));
    CModemPeer modem;
    ASSERT_TRUE(modem.Start(kModemPortB));
    ports.Hide(L"devices");
    CTestView view(L"port-test-devices");
    const struct {
        int nPort;
        const wchar_t* pszText;
    } cases[] = {
        {kGaugePortA, L"COM211:   Device RQ40 - 1234 is connected to this COM port."},
        {kModemPortA, L"COM214: Port exists but a modem is connected."},
        {kSilentPort, L"COM213:   Port free\r\nPort exists and is available for use."},
    };
    for (const auto& c : cases) {
        CQarCommunications& link = *view->m_pLink[1];
        link.m_nFirstPort = 7;
        link.m_nLastPort = 9;
        CPortScanningMessageDialog test;
        test.m_pView = view.Get();
        test.m_nComNumber = c.nPort;
        test.m_nLinkIndex = 1;
        EXPECT_EQ(Widen(test.RunPortTest()), c.pszText);
        EXPECT_EQ(link.m_bConnected, 0);
        EXPECT_EQ(link.m_hPort, nullptr);
        EXPECT_EQ(link.m_nFirstPort, 7);
        EXPECT_EQ(link.m_nLastPort, 9);
    }
}

// AUTO SELECT's choice among several devices: OK without a row asks for
// one and stays open; Esc leaves the index at -1; empty names are not listed.
TEST(DeviceSelection, OkNeedsARowAndEscChoosesNothing)
{
    CTestAnswerer answerer;
    CScopedAnswerer scoped(answerer);
    answerer.ReplyToMessage(IDOK, L"A device must be selected.");
    CDeviceSelectionDialog dialog;
    dialog.m_strDeviceName[0] = L"RQ80 - 1";
    dialog.m_strDeviceName[2] = L"RQ80 - 3";
    CDialogDriver driver;
    int nRows = 0;
    std::wstring text;
    answerer.RunDialog(IDD_DEVICE_SELECTION, driver.Run({
        [&](HWND h) {
            nRows = static_cast<int>(SendDlgItemMessageW(h, IDC_DEVICE_SELECTION_LIST, LB_GETCOUNT, 0, 0));
            text = ItemText(h, IDC_DEVICE_SELECTION_TEXT);
            ClickItem(h, IDOK);
        },
        [&](HWND h) {
            EXPECT_TRUE(IsWindow(h));
            SendDlgItemMessageW(h, IDC_DEVICE_SELECTION_LIST, LB_SETCURSEL, 1, 0);
            ClickItem(h, IDOK);
        },
    }));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(nRows, 2);
    EXPECT_EQ(text, L"A single device is required in AUTO SELECT mode.\n\nMultiple devices are currently "
                    L"connected.\n\nPlease select the device to be used for this test.");
    EXPECT_EQ(dialog.m_nSelected, 1);
    EXPECT_EQ(answerer.messages.size(), 1u);

    CDeviceSelectionDialog escaped;
    escaped.m_strDeviceName[0] = L"RQ80 - 1";
    CDialogDriver escDriver;
    answerer.RunDialog(IDD_DEVICE_SELECTION, escDriver.Run({
        [&](HWND h) {
            SendDlgItemMessageW(h, IDC_DEVICE_SELECTION_LIST, LB_SETCURSEL, 0, 0);
            PressKey(VK_ESCAPE);
        },
    }));
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    EXPECT_EQ(escaped.m_nSelected, -1);
    EXPECT_TRUE(answerer.AllRepliesUsed());
}

}  // namespace
