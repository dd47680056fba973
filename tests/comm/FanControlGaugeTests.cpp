// The fan adjustment in a closed loop against the serial gauge simulator's
// building and fan: reaching a target both ways, the steps left out while the
// pressure already moves towards the target, the clamp, the operator's hold,
// the warnings (fan stopped before each question) and the keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/PauseDialogs.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"

namespace {


// Takes the simulator's fan log at the moment each dialog or message appears,
// then lets the scripted answers answer it; onDialog may change the plant
// (the operator fixing a tube before answering).
class CFanLogAnswerer : public CTestAnswerer {
public:
    explicit CFanLogAnswerer(CGaugeSimulator& sim) : m_sim(sim) {}
    bool AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult) override
    {
        logsAtDialog.push_back(m_sim.TakeFanLog());
        if (onDialog)
            onDialog(pDialog);
        return CTestAnswerer::AnswerDialog(pDialog, nIDTemplate, pResult);
    }
    std::vector<std::vector<int>> logsAtDialog;
    std::function<void(CDialog*)> onDialog;

private:
    CGaugeSimulator& m_sim;
};

class FanControlGauge : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SerialPortsReady());
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        CSimbrel1View& view = View();
        SetAutomaticTestOnFanThree(view);
        CTestSettingsDialog& settings = *view.m_pSettings;
        settings.m_dFanAdjust = 1.0;
        settings.m_dTargetTolerance = 2.0;
        m_pStore = view.m_pTestGraph;
    }
    void TearDown() override
    {
        m_pStore->m_DevicesInUse = 0;
        DisconnectLink(View());
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
        g_nCurrentDirection = m_nSavedDirection;
    }

    CSimbrel1View& View() const { return *m_view.Get(); }

    // The installed ring's calibration as the program has it (fan '3').
    std::string RingLine(int nRing)
    {
        CFanCalibrationDialog& cal = *View().m_pFanCalibration;
        cal.LoadFanRingCalibration(L'3', nRing);
        std::ostringstream line;
        line << "plant ring " << cal.m_dSelC << ' ' << cal.m_dSelN;
        return line.str();
    }

    // The primary link on a simulator with these control lines.
    void Connect(const std::vector<std::string>& setup)
    {
        ASSERT_TRUE(m_gauge.Start(kGaugePort, setup));
        ASSERT_NO_FATAL_FAILURE(ConnectPrimaryGauge(View(), *m_pStore));
    }
    // A building and fan '3' with ring A, calibrated as the program has it:
    // 5000 counts give about 34 Pa, 1612 (10 %) about 6 Pa.
    void ConnectPlant(const std::string& direction, const std::vector<std::string>& more = {})
    {
        std::vector<std::string> setup = {"plant on cb 100 nb 0.65 baseline 0 noise 0.2 seed 7 flow 0.2 lag 0.5 dir " +
                                              direction,
                                          RingLine(1)};
        setup.insert(setup.end(), more.begin(), more.end());
        Connect(setup);
    }

    // Adjustment calls as a test step makes them (gain adapted after each);
    // the dP of each call's last pass.
    std::vector<double> RunCalls(int nCalls, double dTarget, int bDepress)
    {
        CTestGraph1& s = *m_pStore;
        std::vector<double> dPs;
        for (int i = 0; i < nCalls; ++i) {
            const int nBefore = s.m_FanSpeed - s.m_dPreviousSpeed >= 0.0 ? 1 : -1;
            s.m_dPreviousSpeed = s.m_FanSpeed;
            EXPECT_EQ(1, s.AdjustFanStep(100.0, s.m_dLastDP, 0.0, dTarget, m_dGain, bDepress)) << "call " << i;
            const int nAfter = s.m_FanSpeed - s.m_dPreviousSpeed >= 0.0 ? 1 : -1;
            m_dGain = CTestGraph1::AdaptGain(m_dGain, nBefore, nAfter, 1, 0);
            dPs.push_back(s.m_dLastDP);
        }
        return dPs;
    }

    CTestView m_view{L"fan-gauge"};
    CTestGraph1* m_pStore = nullptr;
    CGaugeSimulator m_gauge;
    double m_dGain = 1.0;
    int m_nSavedDirection = 0;
};

TEST_F(FanControlGauge, ReachesTheTargetBothWays)
{
    struct Case {
        const char* direction;
        int bDepress;
    } cases[] = {{"P", 0}, {"D", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        // A stronger fan: the target within reach in a few calls.
        ConnectPlant(c.direction, {"plant flow 0.5"});
        CTestGraph1& s = *m_pStore;
        m_dGain = 1.0;
        s.m_dLastDP = 0.0;
        s.StartFanAtPercent(10.0);
        ASSERT_EQ((std::vector<int>{1612}), m_gauge.TakeFanLog());

        // The first pass sends the speed it was given.
        RunCalls(1, 50.0, c.bDepress);
        std::vector<int> log = m_gauge.TakeFanLog();
        ASSERT_EQ(10u, log.size());
        EXPECT_EQ(1612, log[0]);

        const std::vector<double> dPs = RunCalls(30, 50.0, c.bDepress);
        log = m_gauge.TakeFanLog();
        const double dSign = c.bDepress ? -1.0 : 1.0;
        // Settled within the tolerance over the last calls, at a speed
        // the device has, without overshooting on the way.
        for (size_t i = dPs.size() - 3; i < dPs.size(); ++i)
            EXPECT_NEAR(dSign * 50.0, dPs[i], 3.0) << "call " << i;
        for (double dP : dPs)
            EXPECT_LT(dSign * dP, 55.0);
        for (int n : log) {
            EXPECT_GE(n, 40);
            EXPECT_LE(n, 16127);
        }
        EXPECT_GT(s.m_FanSpeed, 1612.0);
        m_gauge.Stop();
        View().m_pLink[0]->ClosePort();
    }
}

TEST_F(FanControlGauge, NoStepWhileThePressureMovesTowardsTheTarget)
{
    // Fixed readings, so that every step is known: start at 1000 counts,
    // gain 1, target 50 Pa (-50 when depressurizing); steps are half the
    // error, at most 5 counts.
    struct Case {
        const char* name;
        int bDepress;
        double dPrevious;
        const char* readings;
        int nStep;   // per pass after the first
    } cases[] = {
        {"below, rising", 0, 9.0, "10 20 30 40 45 46 47 48 49 49.5", 0},
        {"below, falling", 0, 41.0, "40 39 38 37 36 35 34 33 32 31", 5},
        {"above, falling", 0, 71.0, "70 65 60 58 56 55 54 53 52 51", 0},
        {"above, rising", 0, 59.0, "60 61 62 63 64 65 66 67 68 69", -5},
        {"depress, short and falling", 1, -9.0, "-10 -20 -30 -40 -45 -46 -47 -48 -49 -49.5", 0},
        {"depress, short and rising", 1, -41.0, "-40 -39 -38 -37 -36 -35 -34 -33 -32 -31", 5},
        {"depress, beyond and rising", 1, -71.0, "-70 -65 -60 -58 -56 -55 -54 -53 -52 -51", 0},
        {"depress, beyond and falling", 1, -59.0, "-60 -61 -62 -63 -64 -65 -66 -67 -68 -69", -5},
    };
    Connect({"pressure 2 -100"});
    CTestGraph1& s = *m_pStore;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_gauge.Set({std::string("pressure 1 seq ") + c.readings});
        s.m_FanSpeed = 1000.0;
        ASSERT_EQ(1, s.AdjustFanStep(100.0, c.dPrevious, 0.0, 50.0, 1.0, c.bDepress));
        const std::vector<int> log = m_gauge.TakeFanLog();
        ASSERT_EQ(10u, log.size());
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(1000 + c.nStep * i, log[static_cast<size_t>(i)]) << "pass " << i;
        EXPECT_EQ(0, s.m_bStopPending);
    }
}

TEST_F(FanControlGauge, SpeedIsClampedToTheDevice)
{
    // A leak the fan cannot fill: the speed climbs to the gauge's maximum
    // and stays there, never wrapping round.
    ConnectPlant("P", {"plant cb 5000"});
    CTestGraph1& s = *m_pStore;
    s.m_FanSpeed = 15000.0;
    m_dGain = 20.0;
    RunCalls(3, 50.0, 0);
    std::vector<int> log = m_gauge.TakeFanLog();
    EXPECT_EQ(16127, *std::max_element(log.begin(), log.end()));
    EXPECT_EQ(16127, log.back());
    EXPECT_DOUBLE_EQ(16127.0, s.m_FanSpeed);

}

TEST_F(FanControlGauge, OperatorHoldEndsTheCallAfterOnePass)
{
    ConnectPlant("P");
    CTestGraph1& s = *m_pStore;
    for (int* pHold : {&s.m_bSliderDragging, &s.m_bFanKeyDown}) {
        s.m_FanSpeed = 2000.0;
        *pHold = 1;
        EXPECT_EQ(1, s.AdjustFanStep(100.0, 0.0, 0.0, 50.0, 5.0, 0));
        *pHold = 0;
        EXPECT_EQ((std::vector<int>{2000}), m_gauge.TakeFanLog());
        EXPECT_DOUBLE_EQ(2000.0, s.m_FanSpeed);
    }
}

TEST_F(FanControlGauge, WrongSignStopsTheFanBeforeAsking)
{
    // Depressurizing while the test pressurizes: about -34 Pa at 5000 counts.
    struct Case {
        int nAnswer;
        int bStops;
    } cases[] = {{IDYES, 1}, {IDNO, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nAnswer);
        ConnectPlant("D", {"plant lag 1"});
        CTestGraph1& s = *m_pStore;
        s.m_bStopPending = s.m_bUserStop = s.m_bStopConfirmed = 0;
        s.SetFanSpeed(5000.0);
        m_gauge.TakeFanLog();
        CFanLogAnswerer answerer(m_gauge);
        CScopedAnswerer scoped(answerer);
        answerer.ReplyToProgramMessage(0, c.nAnswer, L"building pressure. Check A/P1.");
        // The operator turns the fan round before answering.
        answerer.onDialog = [this](CDialog*) { m_gauge.Set({"plant dir P"}); };
        EXPECT_EQ(1, s.AdjustFanStep(100.0, 0.0, 0.0, 50.0, 1.0, 0));
        ASSERT_EQ(1u, answerer.logsAtDialog.size());
        EXPECT_EQ((std::vector<int>{40}), answerer.logsAtDialog[0]);
        ASSERT_EQ(1u, answerer.programMessages.size());
        EXPECT_EQ(113, answerer.programMessages[0].nHelpTopic);
        EXPECT_EQ(4, answerer.programMessages[0].nKind);
        EXPECT_NE(std::wstring::npos, answerer.programMessages[0].text.find(L"Do you wish to terminate test?"));
        const std::vector<int> after = m_gauge.TakeFanLog();
        ASSERT_FALSE(after.empty());
        EXPECT_EQ(c.bStops, s.m_bStopPending);
        EXPECT_EQ(c.bStops, s.m_bUserStop);
        EXPECT_EQ(c.bStops, s.m_bStopConfirmed);
        if (c.bStops) {
            EXPECT_EQ((std::vector<int>{40}), after);
        } else {
            // Continued from the start percentage, then adjusted on.
            EXPECT_EQ(1612, after[0]);
            EXPECT_EQ(10u, after.size());
        }
        EXPECT_TRUE(answerer.AllRepliesUsed());
        m_gauge.Stop();
        View().m_pLink[0]->ClosePort();
    }
}

TEST_F(FanControlGauge, WrongSignOfTheFanPressure)
{
    // Tubes swapped at the fan: its pressure reads with the wrong sign.
    ConnectPlant("P", {"plant lag 1", "plant fault wrongsign"});
    CTestGraph1& s = *m_pStore;
    s.SetFanSpeed(8000.0);
    double dBuilding = 0.0, dFan = 0.0;
    int nFailed = 0;
    ASSERT_EQ(1, s.ReadAllChannels(dBuilding, dFan, nFailed));
    ASSERT_LT(dFan, -20.0);
    m_gauge.TakeFanLog();
    {
        // In a test, No continues at the start percentage and ends the call.
        CFanLogAnswerer answerer(m_gauge);
        CScopedAnswerer scoped(answerer);
        answerer.ReplyToProgramMessage(0, IDNO, L"fan pressure.  Check B/P2.");
        EXPECT_EQ(1, s.AdjustFanStep(dFan, dBuilding, 0.0, 50.0, 1.0, 0));
        ASSERT_EQ(1u, answerer.logsAtDialog.size());
        EXPECT_EQ((std::vector<int>{40}), answerer.logsAtDialog[0]);
        EXPECT_EQ(116, answerer.programMessages.at(0).nHelpTopic);
        EXPECT_EQ((std::vector<int>{1612}), m_gauge.TakeFanLog());
        EXPECT_EQ(0, s.m_bStopPending);
    }
    {
        // In a cruise it is a notice; the cruise ends.
        s.m_CruiseMode = 1;
        CFanLogAnswerer answerer(m_gauge);
        CScopedAnswerer scoped(answerer);
        answerer.ReplyToProgramMessage(0, IDOK, L"Press OK to terminate cruise.");
        EXPECT_EQ(1, s.AdjustFanStep(dFan, dBuilding, 0.0, 50.0, 1.0, 0));
        s.m_CruiseMode = 0;
        ASSERT_EQ(1u, answerer.programMessages.size());
        EXPECT_EQ(0, answerer.programMessages[0].nKind);
        EXPECT_EQ(255, answerer.programMessages[0].nHelpTopic);
        EXPECT_EQ(40, answerer.logsAtDialog.at(0).back());
        EXPECT_EQ(1, s.m_bFaultStop);
        EXPECT_EQ(1, s.m_bStopPending);
        for (int n : m_gauge.TakeFanLog())
            EXPECT_EQ(40, n);
    }
}

TEST_F(FanControlGauge, OverLimitAsksThroughThePauseDialog)
{
    // About 34 Pa at 5000 counts against a limit of 30 Pa.
    struct Case {
        INT_PTR nResult;
        int bStops;
    } cases[] = {{CTestPauseDialog::kResultStop, 1}, {CTestPauseDialog::kResultProceed, 0}, {IDCANCEL, 0}};
    View().m_pSettings->m_dHighPressureLimit = 30.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nResult);
        ConnectPlant("P", {"plant lag 1"});
        CTestGraph1& s = *m_pStore;
        s.m_bStopPending = s.m_bUserStop = 0;
        s.m_bPauseRequest = 1;
        s.SetFanSpeed(5000.0);
        m_gauge.TakeFanLog();
        CFanLogAnswerer answerer(m_gauge);
        CScopedAnswerer scoped(answerer);
        answerer.ReplyToDialog(CTestPauseDialog::IDD, c.nResult);
        int bTestFlag = -1, nHelp = -1;
        answerer.onDialog = [&](CDialog* pDialog) {
            auto* pPause = dynamic_cast<CTestPauseDialog*>(pDialog);
            ASSERT_NE(nullptr, pPause);
            bTestFlag = pPause->m_bTest;
            nHelp = pPause->m_nHelpTopic;
            // A leakier building: the restarted fan stays below the limit.
            m_gauge.Set({"plant cb 400"});
        };
        EXPECT_EQ(1, s.AdjustFanStep(100.0, 0.0, 0.0, 50.0, 1.0, 0));
        EXPECT_EQ(1, bTestFlag);
        EXPECT_EQ(130, nHelp);
        ASSERT_EQ(1u, answerer.logsAtDialog.size());
        EXPECT_EQ((std::vector<int>{40}), answerer.logsAtDialog[0]);
        EXPECT_EQ(0, s.m_bPauseRequest);
        EXPECT_EQ(c.bStops, s.m_bStopPending);
        EXPECT_EQ(c.bStops, s.m_bUserStop);
        const std::vector<int> after = m_gauge.TakeFanLog();
        ASSERT_FALSE(after.empty());
        EXPECT_EQ(c.bStops ? 40 : 1612, after[0]);
        EXPECT_TRUE(answerer.AllRepliesUsed());
        m_gauge.Stop();
        View().m_pLink[0]->ClosePort();
    }
}

TEST_F(FanControlGauge, EscapeAndSampleKeys)
{
    ConnectPlant("P");
    CTestGraph1& s = *m_pStore;
    s.m_FanSpeed = 2000.0;
    const DWORD nThread = ::GetCurrentThreadId();
    struct Case {
        const char* name;
        WPARAM nKey;
        int bPauseEnabled, nCruise, nAutoZeroing;
        int nResult, bStop, bPause, bSample;
    } cases[] = {
        {"Esc stops", VK_ESCAPE, 0, 0, 0, 0, 1, 0, 0},
        {"Esc pauses", VK_ESCAPE, 1, 0, 0, 0, 0, 1, 0},
        {"S samples", 'S', 0, 0, 0, 0, 0, 0, 1},
        {"S not in a cruise", 'S', 0, 1, 0, 1, 0, 0, 0},
        {"S not while zeroing", 'S', 0, 0, 1, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.m_bStopPending = s.m_bUserStop = s.m_bPauseRequest = s.m_bSampleRequest = 0;
        s.m_bPauseEnabled = c.bPauseEnabled;
        s.m_CruiseMode = c.nCruise;
        s.m_AutoZeroing = c.nAutoZeroing;
        ASSERT_TRUE(::PostThreadMessageW(nThread, WM_KEYDOWN, c.nKey, 0));
        EXPECT_EQ(c.nResult, s.AdjustFanStep(100.0, 0.0, 0.0, 20.0, 1.0, 0));
        EXPECT_EQ(c.bStop, s.m_bStopPending);
        EXPECT_EQ(c.bStop, s.m_bUserStop);
        EXPECT_EQ(c.bPause, s.m_bPauseRequest);
        EXPECT_EQ(c.bSample, s.m_bSampleRequest);
        // Interrupted before any reading: no fan command either.
        EXPECT_EQ(c.nResult == 0, m_gauge.TakeFanLog().empty());
    }
    s.m_CruiseMode = 0;
    s.m_AutoZeroing = 0;
}

}  // namespace
