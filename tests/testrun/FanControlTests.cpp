// Fan speed control that needs no gauge: the fan command conversion, the
// step size, the gain table, the speed prediction, the semi-automatic
// method and the fan keys on the shown screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
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

namespace {

TEST(FanControl, StepSizeFollowsTheError)
{
    struct Case {
        double dError, dStep;
    } cases[] = {{10.0, 5.0}, {-10.0, 5.0}, {9.9, 4.95}, {-9.9, 4.95}, {0.0, 0.0}, {50.0, 5.0}, {2.0, 1.0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(c.dStep, CTestGraph1::GetFanStepSize(c.dError)) << c.dError;
}

TEST(FanControl, GainTable)
{
    struct Case {
        const char* name;
        double dGain;
        int nBefore, nAfter, bGauge, bCruise;
        double dExpected;
    } cases[] = {
        {"same way grows", 1.0, 1, 1, 1, 0, 1.2},
        {"same way down grows", 2.0, -1, -1, 1, 0, 2.4},
        {"gauge test capped at 80", 70.0, 1, 1, 1, 0, 80.0},
        {"gauge below cap", 60.0, 1, 1, 1, 0, 72.0},
        {"box capped at 20", 19.0, 1, 1, 0, 0, 20.0},
        {"cruise on a gauge capped at 20", 19.0, 1, 1, 1, 1, 20.0},
        {"cruise stays at 20", 20.0, -1, -1, 1, 1, 20.0},
        {"turn resets", 50.0, 1, -1, 1, 0, 1.0},
        {"turn resets in a cruise", 15.0, -1, 1, 0, 1, 1.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(c.dExpected, CTestGraph1::AdaptGain(c.dGain, c.nBefore, c.nAfter, c.bGauge, c.bCruise))
            << c.name;
}

TEST(FanControl, OneClampedConversionForEveryCommand)
{
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    const double dInf = std::numeric_limits<double>::infinity();
    struct Case {
        double dSpeed, dMax;
        int nExpected;
    } cases[] = {
        {-5.0, 16127.0, 0},     {dNaN, 16127.0, 0},     {-dInf, 16127.0, 0}, {dInf, 16127.0, 16127},
        {16127.9, 16127.0, 16127}, {70000.0, 16127.0, 16127}, {5000.0, 4095.0, 4095}, {1234.99, 4095.0, 1234},
        {0.5, 4095.0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, CTestGraph1::ToFanCommand(c.dSpeed, c.dMax)) << c.dSpeed << " of " << c.dMax;
}

TEST(FanControl, SpeedPredictionScalesByTheExpectedRatio)
{
    // n = 0.65 (fitted, inside the limits).
    EXPECT_NEAR(1000.0 * std::pow(0.5, 0.65), CTestGraph1::PredictFanSpeed(1000.0, 25.0, 50.0, 0.65), 1e-9);
    // An exponent not above 0 counts as 0.65; one outside 0.5..1.0 is held there.
    EXPECT_NEAR(1000.0 * std::pow(0.5, 0.65), CTestGraph1::PredictFanSpeed(1000.0, 25.0, 50.0, 0.0), 1e-9);
    EXPECT_NEAR(1000.0 * std::pow(0.5, 0.5), CTestGraph1::PredictFanSpeed(1000.0, 25.0, 50.0, 0.2), 1e-9);
    EXPECT_NEAR(1000.0 * 0.5, CTestGraph1::PredictFanSpeed(1000.0, 25.0, 50.0, 1.7), 1e-9);
    // No previous target: nothing to scale by.
    EXPECT_DOUBLE_EQ(1000.0, CTestGraph1::PredictFanSpeed(1000.0, 25.0, 0.0, 0.65));
}

class FanCommands : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pScreen = m_view->m_pTestGraph;
        m_pLink = m_view->m_pLink[0];
        ASSERT_NE(nullptr, m_pLink);
        // Commands are counted by the screen; nothing goes on a wire.
        m_pLink->m_bIoDisabled = 1;
        m_pLink->m_bGauge = 1;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
        m_view->m_pSettings->m_nMethodIndex = 1;
    }
    void TearDown() override
    {
        m_pLink->m_bIoDisabled = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    CTestView m_view{L"fan-commands"};
    CTestGraph1* m_pScreen = nullptr;
    CQarCommunications* m_pLink = nullptr;
    int m_nSavedDirection = 0;
};

TEST_F(FanCommands, SemiAutomaticSendsNothing)
{
    m_view->m_pSettings->m_chMethodLetter[0] = L'S';
    m_view->m_pSettings->m_nMethodIndex = 2;
    m_pScreen->m_FanSpeed = 100.0;
    m_pScreen->SetFanSpeed(5000.0);
    m_pScreen->StartFanAtPercent(20.0);
    m_pScreen->OnFanSpeedKey(VK_UP);
    EXPECT_EQ(0, m_pScreen->m_nFanCommandsSent);
    EXPECT_DOUBLE_EQ(100.0, m_pScreen->m_FanSpeed);
    EXPECT_EQ(0, m_pScreen->AdjustFanStep(0.0, 0.0, 0.0, 50.0, 1.0, 0));
    EXPECT_EQ(0, m_pScreen->m_nFanCommandsSent);
}

TEST_F(FanCommands, StartPercentOfTheDeviceMaximum)
{
    m_pScreen->StartFanAtPercent(10.0);
    EXPECT_DOUBLE_EQ(1612.7, m_pScreen->m_FanSpeed);
    EXPECT_EQ(1612, m_pScreen->m_nLastFanCommand);
    m_pLink->m_bGauge = 0;
    m_pScreen->StartFanAtPercent(50.0);
    EXPECT_DOUBLE_EQ(2047.5, m_pScreen->m_FanSpeed);
    EXPECT_EQ(2047, m_pScreen->m_nLastFanCommand);
    EXPECT_EQ(2, m_pScreen->m_nFanCommandsSent);
}

TEST_F(FanCommands, OutOfRangeSpeedsAreClampedOnEveryPath)
{
    m_pScreen->SetFanSpeed(-5.0);
    EXPECT_EQ(0, m_pScreen->m_nLastFanCommand);
    m_pScreen->SetFanSpeed(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(0, m_pScreen->m_nLastFanCommand);
    // Above the maximum the stored speed stays as given until the next
    // adjustment pass; the command never wraps.
    m_pScreen->SetFanSpeed(70000.0);
    EXPECT_EQ(16127, m_pScreen->m_nLastFanCommand);
    EXPECT_DOUBLE_EQ(70000.0, m_pScreen->m_FanSpeed);

    m_pScreen->m_FanSpeed = 16000.0;
    m_pScreen->ApplySpeedPrediction(60.0, 30.0, 1.0);
    EXPECT_DOUBLE_EQ(32000.0, m_pScreen->m_FanSpeed);
    EXPECT_EQ(16127, m_pScreen->m_nLastFanCommand);

    m_pScreen->m_FanSpeed = 16120.0;
    m_pScreen->m_nFanKeyStep = 99;
    m_pScreen->OnFanSpeedKey(VK_UP);
    EXPECT_EQ(16127, m_pScreen->m_nLastFanCommand);
    EXPECT_DOUBLE_EQ(16127.0, m_pScreen->m_FanSpeed);
}

TEST_F(FanCommands, NoTargetStopsTheFanWithoutAReading)
{
    // No gauge in use: a reading would fail and set stop pending.
    m_pScreen->m_DevicesInUse = 0;
    m_pScreen->m_FanSpeed = 3000.0;
    EXPECT_EQ(1, m_pScreen->AdjustFanStep(100.0, 0.0, 0.0, -10000.0, 1.0, 0));
    EXPECT_DOUBLE_EQ(0.0, m_pScreen->m_FanSpeed);
    EXPECT_EQ(0, m_pScreen->m_nLastFanCommand);
    EXPECT_EQ(0, m_pScreen->m_bStopPending);
    EXPECT_EQ(std::wstring(L"Adjusting Fan for -10000.0 Pa Target Pressure"),
              std::wstring(m_pScreen->m_strStatus.GetString()));
}

// The fan keys on the shown screen, as the keyboard sends them to the
// slider: each held key's step is 2 more than the last, from 1 up to 100;
// the Page keys move 20.
class ShownScreenFanKeys : public FanCommands {
protected:
    void SetUp() override
    {
        FanCommands::SetUp();
        m_pLink->m_bIdentified = 1;
        ASSERT_NE(0, m_pScreen->ShowTestGraph());
        m_hWnd = m_pScreen->GetSafeHwnd();
        ASSERT_NE(nullptr, m_hWnd);
    }
    void TearDown() override
    {
        if (m_pScreen->GetSafeHwnd() != nullptr)
            m_pScreen->DestroyWindow();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        m_pLink->m_bIdentified = 0;
        FanCommands::TearDown();
    }
    HWND Slider() const { return ::GetDlgItem(m_hWnd, IDC_TG_FAN_SLIDER); }
    LRESULT Position() const { return ::SendMessageW(Slider(), TBM_GETPOS, 0, 0); }
    void Press(UINT nKey, UINT nMessage = WM_KEYDOWN)
    {
        ::SetFocus(Slider());
        ::PostMessageW(Slider(), nMessage, nKey, 1);
        m_pScreen->PumpMessages();
    }
    HWND m_hWnd = nullptr;
};

TEST_F(ShownScreenFanKeys, HeldKeyStepsGrowByTwoAndPageKeysMoveTwenty)
{
    m_pScreen->UpdateSpeedSliderRange(5000.0);
    m_pScreen->SetFanSpeed(5000.0);
    ASSERT_EQ(16127, ::SendMessageW(Slider(), TBM_GETRANGEMAX, 0, 0));
    ASSERT_EQ(5000, Position());
    std::vector<LRESULT> moves;
    for (int i = 0; i < 53; ++i) {
        const LRESULT nBefore = Position();
        Press(VK_UP);
        moves.push_back(Position() - nBefore);
    }
    for (size_t i = 0; i < moves.size(); ++i)
        EXPECT_EQ(std::min<LRESULT>(1 + 2 * static_cast<LRESULT>(i), 100), moves[i]) << "key " << i;
    // What the fan got and what the screen shows follow the slider.
    EXPECT_EQ(Position(), m_pScreen->m_nLastFanCommand);
    EXPECT_DOUBLE_EQ(static_cast<double>(Position()), m_pScreen->m_FanSpeed);
    EXPECT_DOUBLE_EQ(m_pScreen->m_FanSpeed, m_pScreen->m_dManualSpeed);
    EXPECT_EQ(std::to_wstring(Position()), std::wstring(m_pScreen->m_strFanSpeed.GetString()));

    // The key let go: the next one moves 1 again, down this time.
    Press(VK_UP, WM_KEYUP);
    LRESULT nBefore = Position();
    Press(VK_DOWN);
    EXPECT_EQ(-1, Position() - nBefore);
    Press(VK_DOWN, WM_KEYUP);

    nBefore = Position();
    Press(VK_NEXT);
    EXPECT_EQ(-20, Position() - nBefore);
    Press(VK_NEXT, WM_KEYUP);
    nBefore = Position();
    Press(VK_PRIOR);
    EXPECT_EQ(20, Position() - nBefore);
    Press(VK_PRIOR, WM_KEYUP);

    // Clamped at the ends of the range.
    m_pScreen->SetFanSpeed(10.0);
    Press(VK_NEXT);
    EXPECT_EQ(0, Position());
    EXPECT_EQ(0, m_pScreen->m_nLastFanCommand);
    Press(VK_NEXT, WM_KEYUP);
}


TEST_F(ShownScreenFanKeys, FanControlsEnabledAndTheSliderRangeOfTheDevice)
{
    struct Case {
        const char* name;
        wchar_t chMethod;
        int bEnable;
        bool bSlider, bList;
        int nFocus;
    } cases[] = {
        {"enabled", L'A', 1, true, true, IDC_TG_FAN_SLIDER},
        {"disabled", L'A', 0, false, false, IDC_TG_START},
        // The technician sets the fan by hand: the slider stays as it was.
        {"semi-automatic", L'S', 1, false, true, IDC_TG_START},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_view->m_pSettings->m_chMethodLetter[0] = c.chMethod;
        // Start is the Stop of a running test: enabled.
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TG_START), TRUE);
        ::EnableWindow(Slider(), FALSE);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TG_RING_LIST), !c.bEnable);
        m_pScreen->EnableFanControls(c.bEnable);
        EXPECT_EQ(c.bSlider, ::IsWindowEnabled(Slider()) != FALSE);
        EXPECT_EQ(c.bList, ::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_TG_RING_LIST)) != FALSE);
        EXPECT_EQ(c.nFocus, ::GetDlgCtrlID(::GetFocus()));
    }
    m_view->m_pSettings->m_chMethodLetter[0] = L'A';

    // A box's fan takes 12 bits: the range follows the device and the speed
    // is sent again within it; an unchanged range sends nothing.
    m_pLink->m_bGauge = 0;
    m_pScreen->UpdateSpeedSliderRange(5000.0);
    EXPECT_EQ(4095, ::SendMessageW(Slider(), TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(4095, m_pScreen->m_nLastFanCommand);
    EXPECT_EQ(4095, Position());
    const int nSent = m_pScreen->m_nFanCommandsSent;
    m_pScreen->UpdateSpeedSliderRange(1000.0);
    EXPECT_EQ(nSent, m_pScreen->m_nFanCommandsSent);
    m_pLink->m_bGauge = 1;
    m_pScreen->UpdateSpeedSliderRange(5000.0);
    EXPECT_EQ(16127, ::SendMessageW(Slider(), TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(5000, Position());

    // The speed number shows once switched on (the F key).
    m_pScreen->m_bFanValueShown = 1;
    m_pScreen->SetFanSpeed(1234.7);
    EXPECT_EQ(std::wstring(L"1234"), ItemText(m_hWnd, IDC_TG_FAN_SPEED));
    m_pScreen->m_bFanValueShown = 0;
}


}  // namespace
