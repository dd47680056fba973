// The test screen's live readings against the serial gauge simulator: the
// reading of all gauges through the worker threads and its channel map, the
// idle tick with its running means, display, warnings and re-zeroing, the
// device status line and the battery check; and the idle tick's cost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/GdiPlus.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"

namespace {

// A clock that stands where the test puts it.
class CManualClock : public CClock {
public:
    std::int64_t GetMilliseconds() override { return m_nNowMs; }
    std::int64_t m_nNowMs = 0;
};

// The window's pixels as they are now, without the repaint SaveScreenshot
// makes first (which would erase the live marker drawn over the graph).
std::wstring SaveWindowAsIs(HWND hWnd, const wchar_t* pszName)
{
    const std::wstring folder = ScreensFolder();
    if (folder.empty())
        return {};
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC hdcWindow = ::GetWindowDC(hWnd);
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hdcWindow, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HDC hdcMemory = ::CreateCompatibleDC(hdcWindow);
    HGDIOBJ hOld = ::SelectObject(hdcMemory, hBitmap);
    ::BitBlt(hdcMemory, 0, 0, cx, cy, hdcWindow, 0, 0, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(hdcMemory, hOld);
    ::DeleteDC(hdcMemory);
    ::ReleaseDC(hWnd, hdcWindow);
    const std::wstring path = folder + pszName;
    bool bSaved = false;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            Gdiplus::Bitmap image(cx, cy, (cx * 3 + 3) & ~3, PixelFormat24bppRGB, static_cast<BYTE*>(pBits));
            UINT nCount = 0, nSize = 0;
            Gdiplus::GetImageEncodersSize(&nCount, &nSize);
            std::vector<BYTE> buffer(nSize);
            auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
            if (nSize != 0 && Gdiplus::GetImageEncoders(nCount, nSize, pCodecs) == Gdiplus::Ok) {
                for (UINT i = 0; i < nCount; ++i) {
                    if (std::wstring(pCodecs[i].MimeType) == L"image/png")
                        bSaved = image.Save(path.c_str(), &pCodecs[i].Clsid, nullptr) == Gdiplus::Ok;
                }
            }
        }
        Gdiplus::GdiplusShutdown(token);
    }
    ::DeleteObject(hBitmap);
    return bSaved ? path : std::wstring();
}

void DrainQueue()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_PAINT) {
            ::DispatchMessageW(&msg);
            ::ValidateRect(msg.hwnd, nullptr);
        }
    }
}

class IdleMonitoringGauge : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SerialPortsReady());
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        CSimbrel1View& view = View();
        view.m_bAutoSelect = 0;
        view.m_pSettings->m_chMethodLetter[0] = L'A';
        view.m_pSettings->m_chDirectionLetter[0] = L'P';
        view.m_pSettings->m_dHighPressureLimit = 60.0;
        view.m_pEquipment->m_chFanCode = L'4';
        CFanCalibrationDialog& cal = *view.m_pFanCalibration;
        cal.m_dSelC = 100.0;
        cal.m_dSelN = 0.5;
        cal.m_dSelMinFanPressure = 100.0;
        m_pStore = view.m_pTestGraph;
        m_pStore->m_CompletedTests[0] = 0;
        m_pStore->m_FlowFactor[0][0] = 1.0;
    }
    void TearDown() override
    {
        SetProgramClock(m_pSavedClock);
        if (m_pStore->GetSafeHwnd() != nullptr)
            m_pStore->DestroyWindow();
        DrainQueue();
        m_pStore->m_DevicesInUse = 0;
        for (int i = 0; i < 4; ++i)
            DisconnectLink(View(), i);
        g_nCurrentDirection = m_nSavedDirection;
    }

    CSimbrel1View& View() const { return *m_view.Get(); }

    // Link i connected to a simulator on the far end of its pair, taking
    // part with nChannels channels.
    void Connect(int i, CGaugeSimulator& sim, int nLinkPort, int nSimPort, int nChannels,
                 const std::vector<std::string>& setup)
    {
        ASSERT_TRUE(sim.Start(nSimPort, setup));
        Attach(i, nLinkPort, nChannels);
    }
    // Link i connected again to the simulator already running there.
    void Attach(int i, int nLinkPort, int nChannels)
    {
        CQarCommunications& link = *View().m_pLink[i];
        link.InitChannelTable();
        link.m_nFirstPort = static_cast<short>(nLinkPort);
        link.m_nLastPort = static_cast<short>(nLinkPort);
        link.ConnectDevice();
        ASSERT_EQ(1, link.m_bIdentified) << "link " << i;
        View().m_nComPort[i] = nLinkPort;
        m_pStore->m_DeviceUsed[i] = 1;
        m_pStore->m_DeviceChannels[i] = nChannels;
        m_pStore->m_DevicesInUse = std::max(m_pStore->m_DevicesInUse, i + 1);
        m_pStore->m_ChannelsInUse = 0;
        for (int j = 0; j < 4; ++j)
            m_pStore->m_ChannelsInUse += m_pStore->m_DeviceUsed[j] ? m_pStore->m_DeviceChannels[j] : 0;
    }

    // The screen shown with a drawn graph, on the clock of the test.
    void ShowScreenOnClock()
    {
        m_pSavedClock = SetProgramClock(&m_clock);
        CTestGraph1& s = *m_pStore;
        s.m_AxisPmin[0] = 4, s.m_AxisPmax[0] = 70, s.m_AxisQmin[0] = 100, s.m_AxisQmax[0] = 6000;
        ASSERT_NE(0, s.ShowTestGraph());
        ::RedrawWindow(s.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        s.StartDisplayWatch();
        s.StartRezeroWatch();
    }

    CTestView m_view{L"idle-gauge"};
    CTestGraph1* m_pStore = nullptr;
    CGaugeSimulator m_gauge;
    CGaugeSimulator m_second;
    CManualClock m_clock;
    CClock* m_pSavedClock = nullptr;
    int m_nSavedDirection = 0;
};

TEST_F(IdleMonitoringGauge, ChannelMapOfTwoGaugesAndBothBanks)
{
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 12.5", "pressure 2 -150"});
    Connect(1, m_second, kSecondLinkPort, kSecondGaugePort, 2, {"pressure 1 7.25", "pressure 2 -3.5"});
    CTestGraph1& s = *m_pStore;
    double dBuilding = 0.0, dFan = 0.0;
    int nFailed = -1;
    View().m_nTickCount = 100;
    ASSERT_EQ(1, s.ReadAllChannels(dBuilding, dFan, nFailed));
    EXPECT_EQ(0, nFailed);
    EXPECT_DOUBLE_EQ(12.5, dBuilding);
    EXPECT_DOUBLE_EQ(150.0, dFan);   // the fan channel's sign is turned
    // The second gauge gives zones 3 and 4.
    EXPECT_DOUBLE_EQ(7.25, s.m_ZoneReading[0][0]);
    EXPECT_DOUBLE_EQ(-3.5, s.m_ZoneReading[0][1]);
    EXPECT_EQ(0, View().m_nTickCount);

    // The baseline bank, while the channel check runs: the counter stays.
    m_second.Set({"pressure 1 2", "pressure 2 -1"});
    View().m_nTickCount = 100;
    View().m_bChannelCheckRunning = 1;
    ASSERT_EQ(1, s.ReadAllChannels(dBuilding, dFan, nFailed, 1));
    View().m_bChannelCheckRunning = 0;
    EXPECT_EQ(100, View().m_nTickCount);
    EXPECT_DOUBLE_EQ(2.0, s.m_ZoneReading[1][0]);
    EXPECT_DOUBLE_EQ(-1.0, s.m_ZoneReading[1][1]);
    EXPECT_DOUBLE_EQ(7.25, s.m_ZoneReading[0][0]);
    EXPECT_EQ(0, s.m_bStopPending);
}

TEST_F(IdleMonitoringGauge, ZoneReadingsStopAtChannelEight)
{
    // A two-channel gauge and an eight-channel box: eight zone channels
    // read, six zone readouts (3 to 8) filled, in the box's order.
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 5", "pressure 2 -120"});
    std::vector<std::string> box = {"box 8"};
    for (int c = 1; c <= 8; ++c)
        box.push_back("count " + std::to_string(c) + " " + std::to_string(100 * c));
    Connect(1, m_second, kSecondLinkPort, kSecondGaugePort, 8, box);
    CTestGraph1& s = *m_pStore;
    for (double& v : s.m_ZoneReading[1])
        v = -77.0;
    double dBuilding = 0.0, dFan = 0.0;
    int nFailed = -1;
    ASSERT_EQ(1, s.ReadAllChannels(dBuilding, dFan, nFailed));
    const CQarCommThreads& worker = *s.m_Workers[1];
    ASSERT_EQ(8, worker.m_nChannels);
    for (int z = 0; z < CTestGraph1::kZoneChannels; ++z)
        EXPECT_DOUBLE_EQ(worker.m_dValues[z], s.m_ZoneReading[0][z]) << z;
    EXPECT_NE(s.m_ZoneReading[0][0], s.m_ZoneReading[0][1]);
    // Nothing spilled into the baseline bank.
    for (double v : s.m_ZoneReading[1])
        EXPECT_EQ(-77.0, v);
}

TEST_F(IdleMonitoringGauge, AFailedReadingStopsAndNamesTheLink)
{
    CTestGraph1& s = *m_pStore;
    double dBuilding = 0.0, dFan = 0.0;
    int nFailed = -1;
    // No link in use: a failure, not the readings of before.
    s.m_DevicesInUse = 0;
    EXPECT_EQ(0, s.ReadAllChannels(dBuilding, dFan, nFailed));
    EXPECT_EQ(1, s.m_bStopPending);
    s.m_bStopPending = 0;

    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 10", "pressure 2 -200"});
    Connect(1, m_second, kSecondLinkPort, kSecondGaugePort, 2, {});
    m_second.Set({"fault silent any 0 0"});
    dBuilding = 99.0;
    EXPECT_EQ(0, s.ReadAllChannels(dBuilding, dFan, nFailed));
    EXPECT_EQ(1, nFailed);
    EXPECT_EQ(1, s.m_bStopPending);
    EXPECT_EQ(0, s.m_DevicesInUse);
}

TEST_F(IdleMonitoringGauge, DeviceStatusLineNamesTheFailingLinkAndDisconnects)
{
    CTestGraph1& s = *m_pStore;
    ASSERT_NE(0, s.ShowTestGraph());
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 10"});
    Connect(1, m_second, kSecondLinkPort, kSecondGaugePort, 2, {});
    m_second.Set({"fault silent any 0 0"});
    double dBuilding = 0.0, dFan = 0.0;
    int nFailed = -1;
    ASSERT_EQ(0, s.ReadAllChannels(dBuilding, dFan, nFailed));
    s.UpdateDeviceStatus(1);
    EXPECT_STREQ(L"Aux 1 Device IS NOT CONNECTED", s.m_strStatus.GetString());
    EXPECT_EQ(0, View().m_pLink[1]->m_bIdentified);
    EXPECT_EQ(-1, View().m_nConnectionState);
    EXPECT_EQ(1, s.m_bResetAfterFailure);
    EXPECT_EQ(1, s.m_bRezeroAfterFailure);
    EXPECT_EQ(0, View().m_pLink[0]->m_bConnected);   // all links closed
    EXPECT_EQ(0, View().m_pLink[1]->m_bConnected);

    // Too few channels, then off line.
    s.m_InsufficientChannels = 1;
    s.UpdateDeviceStatus(1);
    EXPECT_STREQ(L"Insufficient channels for test", s.m_strStatus.GetString());
    s.m_InsufficientChannels = 0;
    View().m_bOffLine = 1;
    s.UpdateDeviceStatus(0);
    EXPECT_STREQ(L"OFF LINE: Communication with devices disabled", s.m_strStatus.GetString());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(s.GetSafeHwnd(), IDC_TG_START)));
    View().m_bOffLine = 0;
    s.m_bResetAfterFailure = 0;
    s.m_bRezeroAfterFailure = 0;
}

TEST_F(IdleMonitoringGauge, AChannelBeyondItsRangeFailsTheReadingAndIsNamed)
{
    CTestGraph1& s = *m_pStore;
    ASSERT_NE(0, s.ShowTestGraph());
    ASSERT_TRUE(m_gauge.Start(kGaugePort, {"pressure 1 10", "pressure 2 -200"}));
    struct Case {
        const char* pszName;
        std::vector<std::string> setup;
    } cases[] = {
        {"building channel, the fan channel read well after it", {"fault beyond 1 0 0 1300"}},
        {"fan channel", {"fault beyond 2 0 0 1300"}},
        {"the simulated building's over-range", {"plant on", "plant fault overrange"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_gauge.Set({"plant off", "plant clear", "clear"});
        ASSERT_NO_FATAL_FAILURE(Attach(0, kLinkPort, 2));
        s.m_strStatus.Empty();
        s.m_bStopPending = 0;
        m_gauge.Set(c.setup);
        double dBuilding = 0.0, dFan = 0.0;
        int nFailed = -1;
        EXPECT_EQ(0, s.ReadAllChannels(dBuilding, dFan, nFailed));
        EXPECT_EQ(0, nFailed);
        EXPECT_EQ(1, s.m_bStopPending);
        EXPECT_EQ(0, s.m_DevicesInUse);
        EXPECT_EQ(1, View().m_pLink[0]->m_bOverRange);
        EXPECT_EQ(0, View().m_pLink[0]->m_bFailed);
        s.UpdateDeviceStatus(1);
        EXPECT_STREQ(L"Primary Device IS OVER RANGE", s.m_strStatus.GetString());
        EXPECT_EQ(0, View().m_pLink[0]->m_bConnected);
    }
    m_gauge.Set({"plant off", "plant clear", "clear"});
    s.m_bResetAfterFailure = 0;
    s.m_bRezeroAfterFailure = 0;
}

TEST_F(IdleMonitoringGauge, IdleTickMeansDisplayAndTheLowFlow)
{
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 30", "pressure 2 -144"});
    ShowScreenOnClock();
    CTestGraph1& s = *m_pStore;
    ::EnableWindow(::GetDlgItem(s.GetSafeHwnd(), IDC_TG_START), FALSE);
    for (int k = 0; k < 5; ++k)
        s.IdleMonitorTick();
    EXPECT_EQ(5, s.m_nIdleCount);
    EXPECT_DOUBLE_EQ(30.0, s.m_dIdleBuildingMean);
    EXPECT_DOUBLE_EQ(144.0, s.m_dIdleFanMean);
    EXPECT_DOUBLE_EQ(1200.0, s.m_dIdleFlowMean);   // 100 x 144^0.5
    EXPECT_TRUE(s.m_strBuildingPressure.IsEmpty());
    EXPECT_STREQ(L"Idle - Monitoring", s.m_strStatus.GetString());

    // A second on: the means are shown and the marker drawn.
    m_clock.m_nNowMs = 1001;
    s.IdleMonitorTick();
    EXPECT_STREQ(L"30.0", s.m_strBuildingPressure.GetString());
    EXPECT_STREQ(L"144.0", s.m_strFanPressure.GetString());
    EXPECT_STREQ(L"1200", s.m_strFlow.GetString());
    EXPECT_EQ(0, s.m_bLiveMarkerErased);
    EXPECT_DOUBLE_EQ(30.0, s.m_dLiveMarkerP);
    EXPECT_DOUBLE_EQ(1200.0, s.m_dLiveMarkerQ);
    EXPECT_EQ(0, s.m_nIdleCount);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(s.GetSafeHwnd(), IDC_TG_START)));
    // The picture: a repaint erases the marker (the next display tick draws
    // it again), so the window is painted first and the marker put back.
    ::RedrawWindow(s.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    s.DrawLiveMarker(s.m_dLiveMarkerP, s.m_dLiveMarkerQ);
    const std::wstring path = SaveWindowAsIs(s.GetSafeHwnd(), L"test-screen-idle-live-marker.png");
    if (!path.empty())
        std::wcout << L"screenshot: " << path << std::endl;

    // A fan pressure at the ring minimum exactly is too low to measure.
    m_gauge.Set({"pressure 2 -100"});
    s.IdleMonitorTick();
    m_clock.m_nNowMs = 2002;
    s.IdleMonitorTick();
    EXPECT_STREQ(L"Low", s.m_strFlow.GetString());
    EXPECT_EQ(1, s.m_bLiveMarkerErased);
    m_gauge.Set({"pressure 2 -100.5"});
    s.IdleMonitorTick();
    m_clock.m_nNowMs = 3003;
    s.IdleMonitorTick();
    EXPECT_EQ(0, s.m_bLiveMarkerErased);
    EXPECT_STREQ(L"1002", s.m_strFlow.GetString());
}

TEST_F(IdleMonitoringGauge, PressureWarningsStopTheFanFirst)
{
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 -25", "pressure 2 -144"});
    ShowScreenOnClock();
    CTestGraph1& s = *m_pStore;
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    struct Case {
        const char* pszPressure;
        int nDirection;
        UINT nID;
        int nHelp;
    } cases[] = {
        {"pressure 1 -25", 0, IDS_WRONG_SIGN_BUILDING, 113},
        {"pressure 1 25", 1, IDS_WRONG_SIGN_BUILDING, 113},
        {"pressure 1 61", 0, IDS_MAX_BUILDING_PRESSURE, 130},
        {"pressure 1 -61", 1, IDS_MAX_BUILDING_PRESSURE, 130},
    };
    for (const Case& c : cases) {
        g_nCurrentDirection = c.nDirection;
        View().m_pSettings->m_chDirectionLetter[c.nDirection] = c.nDirection == 0 ? L'P' : L'D';
        m_gauge.Set({c.pszPressure});
        s.m_FanSpeed = 800.0;
        double dSpeedAtMessage = -1.0;
        CDialogDriver driver;
        answerer.RunProgramMessage(c.nID, [&](CDialog* pDialog) {
            dSpeedAtMessage = s.m_FanSpeed;
            driver.Run({[](HWND h) { ::PostMessageW(h, WM_COMMAND, IDOK, 0); }})(pDialog);
        });
        const size_t nBefore = answerer.programMessages.size();
        s.IdleMonitorTick();
        ASSERT_EQ(nBefore + 1, answerer.programMessages.size()) << c.pszPressure;
        const auto& shown = answerer.programMessages.back();
        EXPECT_EQ(c.nID, shown.nIDText);
        EXPECT_EQ(176, shown.nIcon);
        EXPECT_EQ(0, shown.nKind);
        EXPECT_EQ(c.nHelp, shown.nHelpTopic);
        EXPECT_EQ(0.0, dSpeedAtMessage) << c.pszPressure;
        EXPECT_EQ(0, s.m_nIdleCount);
        EXPECT_EQ(c.nDirection, s.m_DensityMode[c.nDirection]);
    }
    // Within the limits and of the right sign: no message.
    g_nCurrentDirection = 0;
    m_gauge.Set({"pressure 1 -19.9"});
    s.IdleMonitorTick();
    m_gauge.Set({"pressure 1 59"});
    s.IdleMonitorTick();
    EXPECT_EQ(4u, answerer.programMessages.size());
    EXPECT_TRUE(answerer.AllRepliesUsed());
}

TEST_F(IdleMonitoringGauge, RezeroOnRequestAndAfterSixtySeconds)
{
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 10", "pressure 2 -144", "battery 140"});
    ShowScreenOnClock();
    CTestGraph1& s = *m_pStore;
    auto zeros = [this] { return m_gauge.Stats()["zeros"]; };
    const long long nStart = zeros();
    s.IdleMonitorTick();
    EXPECT_EQ(nStart, zeros());
    s.m_bRezeroRequested = 1;
    s.IdleMonitorTick();
    EXPECT_GT(zeros(), nStart);
    EXPECT_EQ(0, s.m_bRezeroRequested);
    const long long nAfterRequest = zeros();
    m_clock.m_nNowMs = 60000;
    s.IdleMonitorTick();
    EXPECT_EQ(nAfterRequest, zeros());   // due only after more than 60 s
    m_clock.m_nNowMs = 60001;
    s.IdleMonitorTick();
    EXPECT_GT(zeros(), nAfterRequest);
    const long long nAfterDue = zeros();
    m_clock.m_nNowMs = 90000;
    s.IdleMonitorTick();
    EXPECT_EQ(nAfterDue, zeros());   // the watch restarted with the auto-zero

    // A user stop or a reset after a failure: nothing is read.
    const long long nReadings = m_gauge.Stats()["readings"];
    s.m_bUserStop = 1;
    s.m_FanSpeed = 500.0;
    s.IdleMonitorTick();
    EXPECT_EQ(nReadings, m_gauge.Stats()["readings"]);
    EXPECT_EQ(0, s.m_bUserStop);
    EXPECT_EQ(0.0, s.m_FanSpeed);

    // The gauge stops answering: stop pending, no link in use.
    m_gauge.Set({"fault silent any 0 0"});
    s.IdleMonitorTick();
    EXPECT_EQ(1, s.m_bStopPending);
    EXPECT_EQ(0, s.m_DevicesInUse);
}

TEST_F(IdleMonitoringGauge, GaugeBatteryTooLowAtEveryCheckBoxMessageOnce)
{
    CTestGraph1& s = *m_pStore;
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    // (124 + 13) / 25 = 5.48 V: below 5.52.
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"battery 124"});
    for (int k = 0; k < 2; ++k) {
        answerer.ReplyToProgramMessage(IDS_GAUGE_BATTERY_TOO_LOW, 1);
        EXPECT_EQ(0, s.CheckBatteries());
        EXPECT_EQ(1, s.m_bBatteryTooLow);
    }
    ASSERT_EQ(2u, answerer.programMessages.size());
    EXPECT_EQ(L"Primary Device RQ40 battery voltage is too low.\r\n\r\nThe test will be terminated.",
              answerer.programMessages[0].text);
    EXPECT_EQ(175, answerer.programMessages[0].nIcon);
    EXPECT_EQ(107, answerer.programMessages[0].nHelpTopic);
    // 5.52 V is low, not too low: the mark, no message.
    m_gauge.Set({"battery 125"});
    EXPECT_EQ(0, s.CheckBatteries());
    EXPECT_EQ(0, s.m_bBatteryTooLow);
    EXPECT_EQ(1, s.m_bLowBatteryShown);
    m_gauge.Set({"battery 140"});
    EXPECT_EQ(0, s.CheckBatteries());
    EXPECT_EQ(0, s.m_bLowBatteryShown);
    EXPECT_EQ(2u, answerer.programMessages.size());
    View().m_pLink[0]->ClosePort();
    m_gauge.Stop();

    // A box with its low-battery flag: the message once for this screen.
    s.m_DevicesInUse = 0;
    s.m_ChannelsInUse = 0;
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"box 2", "lowbattery on"});
    answerer.ReplyToProgramMessage(IDS_BOX_BATTERY_LOW, 1);
    EXPECT_EQ(1, s.CheckBatteries());
    EXPECT_EQ(0, s.CheckBatteries());
    ASSERT_EQ(3u, answerer.programMessages.size());
    EXPECT_NE(std::wstring::npos, answerer.programMessages[2].text.find(L"Primary Device ZEB battery voltage is low."));
    EXPECT_TRUE(answerer.AllRepliesUsed());
}

// Prints the cost of the idle tick on the user-interface thread, the wait
// for the worker threads left out, as a share of the 10 ms timer period.
TEST_F(IdleMonitoringGauge, BenchmarkIdleTick)
{
    Connect(0, m_gauge, kLinkPort, kGaugePort, 2, {"pressure 1 30", "pressure 2 -144"});
    CTestGraph1& s = *m_pStore;
    s.m_AxisPmin[0] = 4, s.m_AxisPmax[0] = 70, s.m_AxisQmin[0] = 100, s.m_AxisQmax[0] = 6000;
    ASSERT_NE(0, s.ShowTestGraph());
    ::RedrawWindow(s.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    s.StartDisplayWatch();
    s.StartRezeroWatch();
    constexpr int kCalls = 2000;
    std::vector<double> ticks, displayTicks;
    CStopwatch cadence;
    for (int k = 0; k < kCalls; ++k) {
        while (cadence.ElapsedMs() < 20.0 * k) {
        }
        const long long nWatch = s.m_nDisplayWatchMs;
        CStopwatch watch;
        s.IdleMonitorTick();
        const double dMs = watch.ElapsedMs() - s.m_dLastReadWaitMs;
        (s.m_nDisplayWatchMs != nWatch ? displayTicks : ticks).push_back(dMs);
        DrainQueue();
    }
    ASSERT_EQ(0, s.m_bStopPending);
    std::sort(ticks.begin(), ticks.end());
    std::sort(displayTicks.begin(), displayTicks.end());
    ASSERT_FALSE(ticks.empty());
    const double dMedian = ticks[ticks.size() / 2];
    const double d99 = ticks[std::min(ticks.size() - 1, ticks.size() * 99 / 100)];
    const double dDisplay = displayTicks.empty() ? 0.0 : displayTicks[displayTicks.size() / 2];
    std::printf("[ BENCH    ] IdleMonitorTick over %d calls at 20 ms (worker wait left out), share of 10 ms: "
                "median %.3f, 99th percentile %.3f, display tick (median of %zu) %.3f; goal below 0.1\n",
                kCalls, dMedian / 10.0, d99 / 10.0, displayTicks.size(), dDisplay / 10.0);
}

}  // namespace
