// The test screen's window core: ring and fan keys, the status line, the
// run buttons, the message pump and key probes, and the link allocation
// plan and labels that need no gauge.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

// Empties the thread's queue so that one test's messages do not reach the next.
// A window with an update region keeps answering WM_PAINT until it has
// painted, so that one is dispatched (and validated, should it not paint).
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

// Paints what is waiting to be painted in the window and its controls: the
// WM_PAINT that showing or resizing leaves, which a pump would otherwise
// dispatch as the first message it finds.
void PaintNow(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

TEST(TestScreenKeys, RingKeysByFanCode)
{
    struct Case {
        wchar_t chFan;
        UINT nKey;
        int nRing;
    } cases[] = {
        {L'4', L'c', 3}, {L'4', L'C', 3}, {L'3', L'E', 5}, {L'5', L'a', 1}, {L'3', L'1', -1},
        {L'A', L'5', -1}, {L'A', L'4', -1},  // fan 'A' has rings 1 to 3 only
        {L'A', L'3', 3}, {L'B', L'4', 4},   {L'B', L'A', -1}, {L'B', L'b', -1},
        {L'3', L'x', -1}, {L'B', VK_RIGHT, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nRing, CTestGraph1::GetRingForKey(c.chFan, c.nKey)) << char(c.chFan) << " key " << c.nKey;
    for (wchar_t chFan : {L'3', L'5', L'4', L'A', L'B'})
        for (UINT nKey : {UINT(L'0'), UINT(L'O'), UINT(L'o')})
            EXPECT_EQ(0, CTestGraph1::GetRingForKey(chFan, nKey)) << char(chFan);
}

TEST(TestScreenRunControls, EightCases)
{
    using Input = CTestGraph1::CRunControlInput;
    // Sample, Pause, Start, Cruise, Clear, Next, Previous, 2344; -1 unchanged.
    struct Case {
        const char* name;
        Input in;
        int nEnable[8];
        int nStatusId;
    } cases[] = {
        {"restored idle, tests", {1, 0, 0, 0, 0, 1, L'A'}, {0, 0, -1, -1, 1, 1, 1, 1}, 0},
        {"restored idle, none", {1, 0, 0, 0, 0, 0, L'A'}, {0, 0, -1, -1, 0, 0, 1, 0}, 0},
        {"restored baseline test", {1, 1, 1, 0, 0, 0, L'A'}, {0, 0, 1, 0, 0, 0, 0, 0}, IDS_MEASURING_BASELINE},
        {"restored baseline cruise", {1, 1, 1, 2, 0, 0, L'A'}, {0, 0, 0, 1, 0, 0, 0, 0}, IDS_MEASURING_BASELINE},
        {"restored cruise", {1, 1, 0, 1, 0, 0, L'A'}, {0, 1, 0, 1, 0, 0, 0, 0}, 0},
        {"restored test", {1, 1, 0, 0, 0, 0, L'A'}, {1, 1, -1, 0, 0, 0, 0, 0}, IDS_ADJUSTING_FAN_FOR_TARGET},
        {"restored sampling", {1, 1, 0, 0, 1, 0, L'A'}, {0, 0, -1, 0, 0, 0, 0, 0}, IDS_SAMPLING_DATA},
        {"cruise", {0, 1, 0, 1, 0, 0, L'A'}, {0, 1, -1, 1, -1, -1, -1, -1}, 0},
        {"not sampling 'A'", {0, 1, 0, 0, 0, 0, L'A'}, {1, 1, -1, -1, -1, -1, -1, -1}, 0},
        {"not sampling 'S'", {0, 1, 0, 0, 0, 0, L'S'}, {1, 0, -1, -1, -1, -1, -1, -1}, 0},
        {"sampling", {0, 1, 0, 0, 1, 0, L'S'}, {0, 0, -1, -1, -1, -1, -1, -1}, IDS_SAMPLING_DATA},
    };
    for (const Case& c : cases) {
        const CTestGraph1::CRunControlPlan plan = CTestGraph1::PlanRunControls(c.in);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(c.nEnable[k], plan.nEnable[k]) << c.name << ", control " << CTestGraph1::kRunControls[k];
        EXPECT_EQ(c.nStatusId, plan.nStatusId) << c.name;
    }
}

TEST(TestScreenChannels, AllocationPlan)
{
    struct Case {
        const char* name;
        int nChannels[4];  // -1 no COM port, -2 not connected and identified
        int nLinks;
        int nZones;
        int bSuccess, nDevices, nInUse, bInsufficient;
        int nCut[4];
    } cases[] = {
        {"two zones, link 0 has 4", {4, 8, -1, -1}, 4, 2, 1, 1, 4, 0, {4, 0, 0, 0}},
        {"three zones, 2 + 8", {2, 8, -1, -1}, 4, 3, 1, 2, 5, 0, {2, 3, 0, 0}},
        {"three zones, link 0 alone", {2, -1, -1, -1}, 4, 3, 0, 1, 2, 1, {2, 0, 0, 0}},
        {"link 1 not connected", {2, -2, -1, -1}, 4, 3, 0, 1, 2, 0, {2, 0, 0, 0}},
        {"link 0 not connected", {-2, 8, -1, -1}, 4, 0, 0, 0, 0, 0, {0, 0, 0, 0}},
        {"no zones, box of 8", {8, -1, -1, -1}, 4, 0, 1, 1, 2, 0, {2, 0, 0, 0}},
        {"auto-selection looks at link 0 only", {2, 8, -1, -1}, 1, 3, 0, 1, 2, 1, {2, 0, 0, 0}},
        {"zones over three links", {4, 1, 2, -1}, 4, 5, 1, 3, 7, 0, {4, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        const CTestGraph1::CChannelPlan plan = CTestGraph1::PlanChannels(c.nChannels, c.nLinks, c.nZones);
        EXPECT_EQ(c.bSuccess, plan.bSuccess) << c.name;
        EXPECT_EQ(c.nDevices, plan.nDevicesInUse) << c.name;
        EXPECT_EQ(c.nInUse, plan.nChannelsInUse) << c.name;
        EXPECT_EQ(c.bInsufficient, plan.bInsufficient) << c.name;
        for (int j = 0; j < 4; ++j) {
            if (plan.nUsed[j]) {
                EXPECT_EQ(c.nCut[j], plan.nChannels[j]) << c.name << ", link " << j;
            }
        }
    }
}

// The screen opened over a whole view, method 'A', fan '4', with what
// showing it invalidated painted already.
class TestScreen : public testing::Test {
protected:
    void SetUp() override
    {
        DrainQueue();
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pView->m_pSettings->m_chMethodLetter[0] = L'A';
        m_pView->m_pEquipment->m_chFanCode = L'4';
        m_pScreen = m_pView->m_pTestGraph;
        ASSERT_NE(0, m_pScreen->ShowTestGraph());
        m_hWnd = m_pScreen->GetSafeHwnd();
        ASSERT_NE(nullptr, m_hWnd);
        PaintNow(m_hWnd);
    }
    void TearDown() override
    {
        if (m_pScreen->GetSafeHwnd() != nullptr)
            m_pScreen->DestroyWindow();
        DrainQueue();
        g_nCurrentDirection = m_nSavedDirection;
    }
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    // A key as the keyboard sends it to the control with the focus.
    void PressKey(int nFocusID, UINT nKey, UINT nMessage = WM_KEYDOWN)
    {
        ::SetFocus(Item(nFocusID));
        ::PostMessageW(Item(nFocusID), nMessage, nKey, 1);
        m_pScreen->PumpMessages();
    }

    CTestView m_pView{L"test-screen"};
    CTestGraph1* m_pScreen = nullptr;
    HWND m_hWnd = nullptr;
    int m_nSavedDirection = 0;
};

TEST_F(TestScreen, RingKeyChoosesOnlyRingsOfTheFan)
{
    PressKey(IDC_TG_START, L'C');
    EXPECT_EQ(3, m_pScreen->m_nRingIndex);
    m_pView->m_pEquipment->m_chFanCode = L'A';
    PressKey(IDC_TG_START, L'4');
    EXPECT_EQ(3, m_pScreen->m_nRingIndex) << "fan 'A' has no ring 4";
    PressKey(IDC_TG_START, L'O');
    EXPECT_EQ(0, m_pScreen->m_nRingIndex);
}

TEST_F(TestScreen, FanValueKeyTogglesWhileSamplingButNotInManual)
{
    m_pScreen->m_bFanValueShown = 0;
    m_pScreen->m_bSamplingDisplay = 1;
    PressKey(IDC_TG_START, 'F');
    EXPECT_EQ(1, m_pScreen->m_bFanValueShown);
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_TG_FAN_SPEED)));
    // Sampling holds every other key.
    PressKey(IDC_TG_START, L'C');
    EXPECT_EQ(0, m_pScreen->m_nRingIndex);
    PressKey(IDC_TG_START, 'F');
    EXPECT_EQ(0, m_pScreen->m_bFanValueShown);

    m_pView->m_pSettings->m_chMethodLetter[0] = L'M';
    PressKey(IDC_TG_START, 'F');
    EXPECT_EQ(0, m_pScreen->m_bFanValueShown);
}

TEST_F(TestScreen, FanKeyStepGrowsToHundredAndKeyUpResets)
{
    m_pView->m_pLink[0]->m_bIdentified = 1;
    std::vector<int> steps;
    for (int k = 0; k < 52; ++k) {
        PressKey(IDC_TG_FAN_SLIDER, VK_RIGHT);
        steps.push_back(m_pScreen->m_nFanKeyStep);
    }
    EXPECT_EQ(1, m_pScreen->m_bFanKeyDown);
    EXPECT_EQ(3, steps[0]);
    EXPECT_EQ(99, steps[48]);
    EXPECT_EQ(100, steps[49]);
    EXPECT_EQ(100, steps[51]);
    PressKey(IDC_TG_FAN_SLIDER, VK_RIGHT, WM_KEYUP);
    EXPECT_EQ(0, m_pScreen->m_bFanKeyDown);
    EXPECT_EQ(1, m_pScreen->m_nFanKeyStep);

    // Not while link 0 is unidentified.
    m_pView->m_pLink[0]->m_bIdentified = 0;
    PressKey(IDC_TG_FAN_SLIDER, VK_RIGHT);
    EXPECT_EQ(1, m_pScreen->m_nFanKeyStep);
}

TEST_F(TestScreen, RedrawPaintsTheGraphAtOnceOnlyWhileShown)
{
    // Nothing waits to be painted; the redraw must paint without a pump.
    m_pScreen->m_bGraphDrawn = 0;
    m_pScreen->RedrawGraph();
    EXPECT_EQ(1, m_pScreen->m_bGraphDrawn);
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, nullptr, FALSE));

    m_pScreen->m_bGraphDrawn = 0;
    m_pScreen->m_bShown = 0;
    m_pScreen->RedrawGraph();
    m_pScreen->m_bShown = 1;
    EXPECT_EQ(0, m_pScreen->m_bGraphDrawn);
}

TEST_F(TestScreen, PumpedKeyReachesTheControlOnce)
{
    const HWND hSlider = Item(IDC_TG_FAN_SLIDER);
    ::SendMessageW(hSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    ::SendMessageW(hSlider, TBM_SETLINESIZE, 0, 1);
    ::SendMessageW(hSlider, TBM_SETPOS, TRUE, 50);
    PressKey(IDC_TG_FAN_SLIDER, VK_RIGHT);
    EXPECT_EQ(51, ::SendMessageW(hSlider, TBM_GETPOS, 0, 0));
}

TEST_F(TestScreen, SameStatusIdLeavesNothingToRepaint)
{
    m_pScreen->SetStatusText(IDS_AUTO_ZEROING, CString());
    EXPECT_STREQ(L"Auto Zeroing Pressure Sensors", m_pScreen->m_strStatus.GetString());
    ::ValidateRect(m_hWnd, nullptr);
    m_pScreen->SetStatusText(IDS_AUTO_ZEROING, CString());
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, nullptr, FALSE));
    m_pScreen->SetStatusText(IDS_SAMPLING_DATA, CString());
    EXPECT_TRUE(::GetUpdateRect(m_hWnd, nullptr, FALSE));

    // A free text always replaces the one shown, with 0 or -1 alike.
    m_pScreen->SetStatusText(-1, L"first");
    m_pScreen->SetStatusText(-1, L"second");
    EXPECT_STREQ(L"second", m_pScreen->m_strStatus.GetString());
    m_pScreen->SetStatusText(0, L"third");
    EXPECT_STREQ(L"third", m_pScreen->m_strStatus.GetString());
    EXPECT_EQ(-1, m_pScreen->m_nStatusId);
}

TEST_F(TestScreen, RunControlsFollowTheRunningTest)
{
    m_pScreen->m_bRestored = 1;
    m_pScreen->m_bTestRunning = 1;
    m_pScreen->m_nPointIndex = 1;
    m_pScreen->m_Targets[0][1] = 50.0;
    m_pScreen->UpdateRunControls();
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_TG_SAMPLE)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_TG_CLEAR)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_TG_CRUISE)));
    EXPECT_EQ(1, m_pScreen->m_bSampleEnabled);
    EXPECT_STREQ(L"Adjusting Fan for 50.0 Pa Target Pressure", m_pScreen->m_strStatus.GetString());
    m_pScreen->m_bRestored = 0;
}

TEST_F(TestScreen, PumpLeavesAWaitingClickAndDropsTimers)
{
    ::PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(m_hWnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(1, m_pScreen->PumpMessages());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_LBUTTONDOWN), msg.message);
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_USER + 7), msg.message);

    ::PostMessageW(m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(0, m_pScreen->PumpMessages());
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));

    // A resize leaves the screen to repaint: the pump paints it like any
    // other waiting message, and nothing stays behind.
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left + 40, rcWindow.bottom - rcWindow.top + 20,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(::GetUpdateRect(m_hWnd, nullptr, FALSE));
    EXPECT_EQ(1, m_pScreen->PumpMessages());
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, nullptr, FALSE));
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));

    // The program's end is put back for the main loop.
    ::PostQuitMessage(7);
    ::PostMessageW(m_hWnd, WM_USER + 8, 0, 0);
    EXPECT_EQ(1, m_pScreen->PumpMessages());
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(TestScreen, SampleKeyProbeRemovesOnlyS)
{
    MSG msg;
    ::PostMessageW(Item(IDC_TG_START), WM_KEYDOWN, 'X', 1);
    EXPECT_EQ(0, m_pScreen->IsSampleKeyPressed());
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(WPARAM('X'), msg.wParam);

    ::PostMessageW(Item(IDC_TG_START), WM_KEYDOWN, 'S', 1);
    ::PostMessageW(Item(IDC_TG_START), WM_KEYDOWN, 'Q', 1);
    EXPECT_EQ(1, m_pScreen->IsSampleKeyPressed());
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(WPARAM('Q'), msg.wParam);

    ::PostMessageW(Item(IDC_TG_START), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(VK_ESCAPE, m_pScreen->PeekEscapeOrEnter());
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(TestScreen, SliderPositionKeptOnCloseExceptSemiAutomatic)
{
    const HWND hSlider = Item(IDC_TG_FAN_SLIDER);
    ::SendMessageW(hSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 16000));
    ::SendMessageW(hSlider, TBM_SETPOS, TRUE, 500);
    m_pScreen->DestroyWindow();
    EXPECT_EQ(500.0, m_pScreen->m_dSavedSliderPos);

    m_pView->m_pSettings->m_chMethodLetter[0] = L'S';
    ASSERT_NE(0, m_pScreen->ShowTestGraph());
    m_hWnd = m_pScreen->GetSafeHwnd();
    ::SendMessageW(Item(IDC_TG_FAN_SLIDER), TBM_SETRANGE, TRUE, MAKELPARAM(0, 16000));
    ::SendMessageW(Item(IDC_TG_FAN_SLIDER), TBM_SETPOS, TRUE, 900);
    m_pScreen->DestroyWindow();
    EXPECT_EQ(500.0, m_pScreen->m_dSavedSliderPos);
}

TEST_F(TestScreen, AbortByEscapeOrClickOnStop)
{
    EXPECT_EQ(0, m_pScreen->IsAbortRequested());
    ::PostMessageW(Item(IDC_TG_START), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(1, m_pScreen->IsAbortRequested());

    // A click elsewhere stays for its window; one on Start/Stop aborts.
    RECT rc;
    ::GetClientRect(Item(IDC_TG_CLEAR), &rc);
    ::PostMessageW(Item(IDC_TG_CLEAR), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(0, m_pScreen->IsAbortRequested());
    DrainQueue();
    ::PostMessageW(Item(IDC_TG_START), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(1, m_pScreen->IsAbortRequested());
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(TestScreen, RoleNamesPortsAndScreenshot)
{
    EXPECT_STREQ(L"Primary Device", m_pScreen->GetDeviceRoleName(0).GetString());
    EXPECT_STREQ(L"Aux 2 Device", m_pScreen->GetDeviceRoleName(2).GetString());
    EXPECT_STREQ(L"Primary Device", m_pScreen->GetDeviceRoleName(7).GetString());

    CSimbrel1View& view = *m_pView.Get();
    view.m_bAutoSelect = 0;
    m_pScreen->m_DevicesInUse = 0;
    EXPECT_EQ(0, view.AreAllPortsConnected());
    m_pScreen->m_DevicesInUse = 2;
    view.m_nComPort[0] = 201;
    view.m_nComPort[1] = 0;  // no port: not asked
    view.m_pLink[0]->m_bConnected = 1;
    EXPECT_EQ(1, view.AreAllPortsConnected());
    // Under auto-selection every link in use is asked, port or not.
    view.m_bAutoSelect = 1;
    EXPECT_EQ(0, view.AreAllPortsConnected());
    view.m_bAutoSelect = 0;
    view.m_nComPort[1] = 203;
    EXPECT_EQ(0, view.AreAllPortsConnected());
    view.m_pLink[1]->m_bConnected = 1;
    EXPECT_EQ(1, view.AreAllPortsConnected());

    view.m_pLink[0]->m_strModelSerial = L"RQ40 - 1234";
    view.m_pLink[0]->m_bGauge = 1;
    m_pScreen->SetStatusText(IDS_LOST_CONNECTION_RECONNECT, CString());
    m_pScreen->UpdateWindow();
    m_pScreen->RefreshChannelLabels();
    m_pScreen->ShowLowBatteryWarning(1, 0);
    EXPECT_FALSE(m_pScreen->m_rcChannelLabel[0].IsRectEmpty());
    SaveScreenshot(m_hWnd, L"test-screen-core.png");
    for (int i = 0; i < 2; ++i)
        view.m_pLink[i]->m_bConnected = 0;
    m_pScreen->m_DevicesInUse = 0;
}

}  // namespace
