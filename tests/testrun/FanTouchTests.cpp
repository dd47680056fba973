// Touches and keys during the fan adjustment on the shown test screen, with
// the gauge simulator giving steady readings: a finger on Start (Cruise in a
// cruise), Pause or Sample interrupts the adjustment unless the fan list has
// the focus; Esc likewise; S samples wherever the focus is. What is ignored
// lets the adjustment run all its passes. And the speed held at 0, never
// below, while the pressure stays above the target.
//
// Nothing here may wait without a bound: the touches and keys are posted
// before the call (the adjustment peeks at them itself, no modal loop is
// involved), no click is left for the adjustment's message pump to hand to a
// button, every reading is bounded by the link's own time-out, and an
// unexpected dialog is answered by the test answerer and fails the test.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"

namespace {

// WM_POINTERDOWN and its flags (new, in range, in contact, primary), declared
// by the headers only for Windows 8 and later.
constexpr UINT kPointerDown = 0x0246;
constexpr WORD kPointerFlags = 0x0001 | 0x0002 | 0x0004 | 0x2000;
constexpr int kPasses = 10;


bool Waiting(UINT nMessage)
{
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, nMessage, nMessage, PM_NOREMOVE) != FALSE;
}

// Removes what a case may leave queued, without dispatching it: a click
// dispatched to Start starts a test, whose first question (the temperatures)
// is a modal dialog that waits for a person.
void DiscardInput()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, kPointerDown, kPointerDown, PM_REMOVE)) {
    }
    while (::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

class AdjustOnShownScreen : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SerialPortsReady());
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        CSimbrel1View& view = *m_view.Get();
        SetAutomaticTestOnFanThree(view);
        m_pScreen = view.m_pTestGraph;
        // 20 Pa in the building at every reading: below the target of 50 Pa,
        // no warning.
        ASSERT_TRUE(m_gauge.Start(kGaugePort, {"pressure 1 20", "pressure 2 100"}));
        ASSERT_NO_FATAL_FAILURE(ConnectPrimaryGauge(view, *m_pScreen));
        ASSERT_NE(0, m_pScreen->ShowTestGraph());
        m_hWnd = m_pScreen->GetSafeHwnd();
        ASSERT_NE(nullptr, m_hWnd);
    }
    void TearDown() override
    {
        DiscardInput();
        if (m_pScreen->GetSafeHwnd() != nullptr)
            m_pScreen->DestroyWindow();
        m_pScreen->m_CruiseMode = 0;
        m_pScreen->m_AutoZeroing = 0;
        m_pScreen->m_DevicesInUse = 0;
        DisconnectLink(*m_view.Get());
        m_gauge.Stop();
        g_nCurrentDirection = m_nSavedDirection;
    }

    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

    // A finger on the control, as the system posts it: the pointer message
    // with the screen position, then the left click it is mapped to.
    void Touch(int nID, bool bClick)
    {
        const HWND hItem = Item(nID);
        ASSERT_NE(nullptr, hItem) << nID;
        RECT rc;
        ::GetWindowRect(hItem, &rc);
        const POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ASSERT_TRUE(::PostMessageW(hItem, kPointerDown, MAKEWPARAM(1, kPointerFlags),
                                   MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
        if (bClick) {
            POINT ptClient = pt;
            ::ScreenToClient(hItem, &ptClient);
            ASSERT_TRUE(::PostMessageW(hItem, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y)));
        }
    }

    CTestView m_view{L"fan-touch"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scoped{m_answerer};
    CGaugeSimulator m_gauge;
    CTestGraph1* m_pScreen = nullptr;
    HWND m_hWnd = nullptr;
    int m_nSavedDirection = 0;
};

enum class Input { TouchStart, TouchCruise, TouchPause, TouchSample, TouchElsewhere, KeyEsc, KeyS };
enum class Focus { Slider, FanList, FanListDropped };

TEST_F(AdjustOnShownScreen, TouchesAndKeysWhileTheFanIsAdjusted)
{
    struct Case {
        const char* name;
        Input input;
        Focus focus;
        int nCruise, bPauseEnabled, nAutoZeroing;
        // expected: the adjustment's result (0 interrupted before any
        // reading, 1 all passes run) and the requests it set
        int nResult, bStop, bPause, bSample;
    } cases[] = {
        {"start stops", Input::TouchStart, Focus::Slider, 0, 1, 0, 0, 1, 0, 0},
        {"start ignored on the fan list", Input::TouchStart, Focus::FanList, 0, 1, 0, 1, 0, 0, 0},
        {"cruise button stops a cruise", Input::TouchCruise, Focus::Slider, 1, 1, 0, 0, 1, 0, 0},
        {"start is not the stop of a cruise", Input::TouchStart, Focus::Slider, 1, 1, 0, 1, 0, 0, 0},
        {"cruise button outside a cruise", Input::TouchCruise, Focus::Slider, 0, 1, 0, 1, 0, 0, 0},
        {"pause pauses", Input::TouchPause, Focus::Slider, 0, 1, 0, 0, 0, 1, 0},
        {"pause while disabled", Input::TouchPause, Focus::Slider, 0, 0, 0, 1, 0, 0, 0},
        {"pause ignored on the fan list", Input::TouchPause, Focus::FanList, 0, 1, 0, 1, 0, 0, 0},
        {"sample samples", Input::TouchSample, Focus::Slider, 0, 1, 0, 0, 0, 0, 1},
        {"sample not in a cruise", Input::TouchSample, Focus::Slider, 1, 1, 0, 1, 0, 0, 0},
        {"sample not while zeroing", Input::TouchSample, Focus::Slider, 0, 1, 1, 1, 0, 0, 0},
        {"sample ignored on the fan list", Input::TouchSample, Focus::FanList, 0, 1, 0, 1, 0, 0, 0},
        {"a touch beside the buttons", Input::TouchElsewhere, Focus::Slider, 0, 1, 0, 1, 0, 0, 0},
        {"esc pauses", Input::KeyEsc, Focus::Slider, 0, 1, 0, 0, 0, 1, 0},
        {"esc stops without pause", Input::KeyEsc, Focus::Slider, 0, 0, 0, 0, 1, 0, 0},
        {"esc left to the dropped fan list", Input::KeyEsc, Focus::FanListDropped, 0, 1, 0, 1, 0, 0, 0},
        {"touch ignored on the dropped fan list", Input::TouchPause, Focus::FanListDropped, 0, 1, 0, 1, 0, 0, 0},
        {"s samples on the fan list", Input::KeyS, Focus::FanList, 0, 1, 0, 0, 0, 0, 1},
    };
    CTestGraph1& s = *m_pScreen;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.m_bStopPending = s.m_bUserStop = s.m_bPauseRequest = s.m_bSampleRequest = 0;
        s.m_CruiseMode = c.nCruise;
        s.m_bPauseEnabled = c.bPauseEnabled;
        s.m_AutoZeroing = c.nAutoZeroing;
        s.m_FanSpeed = 2000.0;
        m_gauge.TakeFanLog();

        const HWND hFanList = Item(IDC_TG_RING_LIST);
        ::SetFocus(c.focus == Focus::Slider ? Item(IDC_TG_FAN_SLIDER) : hFanList);
        if (c.focus == Focus::FanListDropped)
            ::SendMessageW(hFanList, CB_SHOWDROPDOWN, TRUE, 0);
        ASSERT_EQ(c.focus == Focus::FanListDropped, ::SendMessageW(hFanList, CB_GETDROPPEDSTATE, 0, 0) != 0);
        ASSERT_EQ(c.focus == Focus::Slider ? Item(IDC_TG_FAN_SLIDER) : hFanList, ::GetFocus());

        // Pause and Sample come with the click the touch is mapped to; it
        // goes with the touch, whether taken or not.
        const bool bClick = c.input == Input::TouchPause || c.input == Input::TouchSample;
        switch (c.input) {
        case Input::TouchStart: Touch(IDC_TG_START, false); break;
        case Input::TouchCruise: Touch(IDC_TG_CRUISE, false); break;
        case Input::TouchPause: Touch(IDC_TG_PAUSE, true); break;
        case Input::TouchSample: Touch(IDC_TG_SAMPLE, true); break;
        case Input::TouchElsewhere: Touch(IDC_TG_STATUS, false); break;
        case Input::KeyEsc: ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); break;
        case Input::KeyS: ::PostMessageW(::GetFocus(), WM_KEYDOWN, 'S', 1); break;
        }

        EXPECT_EQ(c.nResult, s.AdjustFanStep(100.0, 20.0, 0.0, 50.0, 1.0, 0));
        EXPECT_EQ(c.bStop, s.m_bStopPending);
        EXPECT_EQ(c.bStop, s.m_bUserStop);
        EXPECT_EQ(c.bPause, s.m_bPauseRequest);
        EXPECT_EQ(c.bSample, s.m_bSampleRequest);
        // Interrupted: before the first reading, so the fan got nothing;
        // ignored: every pass read the gauge and sent the speed.
        EXPECT_EQ(c.nResult == 0 ? 0u : static_cast<size_t>(kPasses), m_gauge.TakeFanLog().size());
        // The touch is the adjustment's whatever it decided; so is the
        // click of Pause and Sample. Esc belongs to the dropped fan list.
        EXPECT_FALSE(Waiting(kPointerDown));
        if (bClick) {
            EXPECT_FALSE(Waiting(WM_LBUTTONDOWN));
        }
        if (c.focus == Focus::FanListDropped && c.input == Input::KeyEsc) {
            EXPECT_TRUE(Waiting(WM_KEYDOWN));
        }

        if (c.focus == Focus::FanListDropped)
            ::SendMessageW(hFanList, CB_SHOWDROPDOWN, FALSE, 0);
        DiscardInput();
    }
    EXPECT_TRUE(m_answerer.programMessages.empty());
    EXPECT_TRUE(m_answerer.dialogs.empty());
}

TEST_F(AdjustOnShownScreen, SpeedHeldAtZeroWhileThePressureStaysAbove)
{
    // Above the target and still rising: at a step gain of 3, 15 counts less
    // each pass after the first, down to 0 and no further.
    m_gauge.Set({"pressure 1 seq 60 61 62 63 64 65 66 67 68 69"});
    CTestGraph1& s = *m_pScreen;
    s.m_FanSpeed = 52.0;
    m_gauge.TakeFanLog();
    EXPECT_EQ(1, s.AdjustFanStep(100.0, 59.0, 0.0, 50.0, 3.0, 0));
    EXPECT_DOUBLE_EQ(0.0, s.m_FanSpeed);
    EXPECT_EQ(0, s.m_nLastFanCommand);
    // A serial gauge is never sent less than 40.
    EXPECT_EQ((std::vector<int>{52, 40, 40, 40, 40, 40, 40, 40, 40, 40}), m_gauge.TakeFanLog());
}

}  // namespace
