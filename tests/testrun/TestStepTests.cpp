// The test step's decisions on plain values (the reading window, building
// pressure detection, the stopwatches) and the stop handling of a running
// test on a view without gauges: questions, kept and dropped tests, and
// earlier tests left as they were.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "res/resource.h"
#include "testrun/PauseDialogs.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

TEST(TestStepWindow, FillsToTenThenWrapsAndMeansOverTheFill)
{
    double w[10] = {};
    int nIndex = 0, nFill = 0, bFull = 0;
    EXPECT_EQ(0.0, CTestGraph1::WindowMean(w, nFill));
    for (int i = 1; i <= 10; ++i) {
        CTestGraph1::PushWindowValue(w, nIndex, nFill, bFull, i);
        EXPECT_DOUBLE_EQ((1.0 + i) / 2.0, CTestGraph1::WindowMean(w, nFill)) << i;
    }
    // Ten values: the count is 10 but the full flag waits for one more.
    EXPECT_EQ(10, nFill);
    EXPECT_EQ(0, bFull);
    CTestGraph1::PushWindowValue(w, nIndex, nFill, bFull, 21.0);
    EXPECT_EQ(1, bFull);
    EXPECT_EQ(1, nIndex);
    EXPECT_DOUBLE_EQ((55.0 - 1.0 + 21.0) / 10.0, CTestGraph1::WindowMean(w, nFill));
}

TEST(TestStepWindow, AfterTheHighestStationTheWindowNeedsElevenReadings)
{
    double w[10] = {};
    int nIndex = 0, nFill = -1, bFull = 0;
    // The mean is not taken while the count is below 1.
    EXPECT_EQ(0.0, CTestGraph1::WindowMean(w, nFill));
    CTestGraph1::PushWindowValue(w, nIndex, nFill, bFull, 5.0);
    EXPECT_EQ(0, nFill);
    EXPECT_EQ(0.0, CTestGraph1::WindowMean(w, nFill));
    int nReadings = 1;
    while (!bFull) {
        CTestGraph1::PushWindowValue(w, nIndex, nFill, bFull, 5.0);
        ++nReadings;
    }
    EXPECT_EQ(12, nReadings);   // eleven to fill the count, one more to flag it full
}

TEST(TestStepDetection, BuildingPressureDetectionTable)
{
    struct Case {
        const char* name;
        double dFan, dSpeed;
        int bOn;
        double dMaxChange, dBuilding;
        int nLowBefore, nExpected, nLowAfter;
    } cases[] = {
        {"fan low: no check", 50.0, 100, 1, 0.0, 0.0, 2, 0, 2},
        {"fan stopped: no check", 80.0, 0.5, 1, 0.0, 0.0, 2, 0, 2},
        {"warning off", 80.0, 100, 0, 0.0, 0.0, 2, 0, 2},
        {"never 1 Pa of change", 80.0, 100, 1, 0.99, 5.0, 0, 1, 0},
        {"fourth low step", 80.0, 100, 1, 3.0, 0.29, 3, 0, 4},
        {"fifth low step", 80.0, 100, 1, 3.0, -0.29, 4, 1, 5},
        {"a step at 0.3 resets", 80.0, 100, 1, 3.0, 0.3, 4, 0, 0},
    };
    for (const Case& c : cases) {
        int nLow = c.nLowBefore;
        EXPECT_EQ(c.nExpected,
                  CTestGraph1::IsBuildingPressureMissing(c.dFan, c.dSpeed, c.bOn, c.dMaxChange, c.dBuilding, nLow))
            << c.name;
        EXPECT_EQ(c.nLowAfter, nLow) << c.name;
    }
}

// A view without gauges: every auto-zero and reading fails at once, so the
// stop handling runs its questions and its data paths as they are.
class TestStepStops : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pScreen = m_view->m_pTestGraph;
        m_view->m_pLink[0]->m_bIoDisabled = 1;
        m_view->m_pLink[0]->m_bGauge = 1;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
        m_view->m_pSettings->m_nMethodIndex = 1;
        m_view->m_pSettings->m_nStandard = 0;
        m_view->m_pSettings->m_dFanStartPercent = 10.0;
        CTestGraph1& s = *m_pScreen;
        // One completed test: markers around two points.
        const double pavg[4] = {0.5, 50.0, 25.0, 0.7};
        const int rings[4] = {-1, 0, 0, -1};
        for (int k = 0; k < 4; ++k) {
            s.m_Pavg[0][k] = pavg[k];
            s.m_Ring[0][k] = rings[k];
            s.m_Qavg[0][k] = k == 1 ? 1500.0 : (k == 2 ? 1000.0 : 0.0);
            s.m_TargetP[0][k] = rings[k] == -1 ? 0.0 : pavg[k];
        }
        s.m_StationCount[0] = 4;
        s.m_CompletedTests[0] = 1;
        m_strEarlier = s.WriteTestData(0, L"P_");
        // A running test: its opening marker at 4.
        s.m_nEntriesAtStart = 4;
        s.m_nFirstEntryOfTest[0] = 4;
        s.m_Ring[0][4] = -1;
        s.m_StationCount[0] = 5;
        s.m_nPointIndex = 0;
        s.m_bTestRunning = 1;
        s.m_bStopPending = 1;
        s.m_bUserStop = 0;
        s.m_bFaultStop = 0;
        s.m_CruiseMode = 0;
    }
    void TearDown() override
    {
        m_view->m_pLink[0]->m_bIoDisabled = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    void AddPoint(double p)
    {
        CTestGraph1& s = *m_pScreen;
        const int k = s.m_StationCount[0]++;
        s.m_Ring[0][k] = 0;
        s.m_Pavg[0][k] = p;
        s.m_Qavg[0][k] = 30.0 * p;
        s.m_TargetP[0][k] = p;
        ++s.m_nPointIndex;
    }
    CTestView m_view{L"test-step-stops"};
    CTestGraph1* m_pScreen = nullptr;
    CString m_strEarlier;
    int m_nSavedDirection = 0;
};

TEST_F(TestStepStops, StopCasesTable)
{
    struct Case {
        const char* name;
        int bUser, bFault, nPoints;
        std::vector<std::pair<UINT, int>> replies;   // program message and answer
        std::vector<UINT> shown;
        int nCount, nCompleted, bRunning;
    } cases[] = {
        {"No to 4355 continues", 1, 0, 1, {{IDS_END_TESTING_QUESTION, 7}}, {IDS_END_TESTING_QUESTION}, 6, 1, 1},
        {"Yes without points drops the marker", 1, 0, 0, {{IDS_END_TESTING_QUESTION, 6}},
         {IDS_END_TESTING_QUESTION}, 4, 1, 0},
        {"Yes then No to 4482 drops the test", 1, 0, 2,
         {{IDS_END_TESTING_QUESTION, 6}, {IDS_RETAIN_TEST_DATA, 7}},
         {IDS_END_TESTING_QUESTION, IDS_RETAIN_TEST_DATA}, 4, 1, 0},
        // Kept: the closing baseline's auto-zero fails without gauges, so
        // the test closes with a closing baseline of 0.
        {"Yes then Yes to 4482 keeps the test", 1, 0, 2,
         {{IDS_END_TESTING_QUESTION, 6}, {IDS_RETAIN_TEST_DATA, 6}, {IDS_COVER_FAN_INLET_END, 1}},
         {IDS_END_TESTING_QUESTION, IDS_RETAIN_TEST_DATA, IDS_COVER_FAN_INLET_END}, 8, 2, 0},
        {"fault stop asks nothing and drops", 0, 1, 2, {}, {}, 4, 1, 0},
        {"stop without a flag after earlier tests drops the lone marker", 0, 0, 0, {}, {}, 4, 1, 0},
        // A gauge lost at a station: the test is dropped, never left open
        // to pair with the next test's opening marker.
        {"stop without a flag drops stored points", 0, 0, 2, {}, {}, 4, 1, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        CTestAnswerer answerer;
        CScopedAnswerer scoped(answerer);
        for (const auto& r : c.replies)
            answerer.ReplyToProgramMessage(r.first, r.second);
        CTestGraph1& s = *m_pScreen;
        for (int i = 0; i < c.nPoints; ++i)
            AddPoint(50.0 - 10.0 * i);
        s.m_bUserStop = c.bUser;
        s.m_bFaultStop = c.bFault;
        s.HandleStop();
        std::vector<UINT> shown;
        for (const auto& m : answerer.programMessages)
            shown.push_back(m.nIDText);
        EXPECT_EQ(c.shown, shown) << c.name;
        EXPECT_TRUE(answerer.AllRepliesUsed()) << c.name;
        EXPECT_EQ(c.nCount, s.m_StationCount[0]) << c.name;
        EXPECT_EQ(c.nCompleted, s.m_CompletedTests[0]) << c.name;
        EXPECT_EQ(c.bRunning, s.m_bTestRunning) << c.name;
        EXPECT_EQ(0, s.m_bFaultStop) << c.name;
        // The test that was complete before is written as it was.
        if (s.m_CompletedTests[0] == 1) {
            const int nSaved = s.m_StationCount[0];
            s.m_StationCount[0] = 4;
            EXPECT_EQ(std::wstring(m_strEarlier.GetString()), std::wstring(s.WriteTestData(0, L"P_").GetString()))
                << c.name;
            s.m_StationCount[0] = nSaved;
        }
        if (c.bRunning) {
            // Continued: the fan restarts at the start percentage.
            EXPECT_EQ(0, s.m_bStopPending) << c.name;
            EXPECT_DOUBLE_EQ(1612.7, s.m_FanSpeed) << c.name;
        }
        if (c.nCompleted == 2) {
            EXPECT_EQ(-1, s.m_Ring[0][7]) << c.name;
            EXPECT_EQ(0.0, s.m_Pavg[0][7]) << c.name;
            EXPECT_EQ(8, s.m_nFirstEntryOfTest[0]) << c.name;
            EXPECT_EQ(8, s.m_nEntriesAtStart) << c.name;
        }
        TearDown();
    }
}

TEST_F(TestStepStops, PauseProceedRestartsTheFanAndStopEnds)
{
    CTestGraph1& s = *m_pScreen;
    s.m_bStopPending = 0;
    struct Case {
        INT_PTR nResult;
        int bStop;
    } cases[] = {{CTestPauseDialog::kResultProceed, 0}, {CTestPauseDialog::kResultStop, 1}};
    for (const Case& c : cases) {
        CTestAnswerer answerer;
        CScopedAnswerer scoped(answerer);
        answerer.ReplyToDialog(CTestPauseDialog::IDD, c.nResult);
        s.m_bPauseRequest = 1;
        s.m_bStopPending = 0;
        s.m_bUserStop = 0;
        s.m_FanSpeed = 3000.0;
        s.TestStep();
        EXPECT_TRUE(answerer.AllRepliesUsed());
        EXPECT_EQ(0, s.m_bPauseRequest);
        EXPECT_EQ(c.bStop, s.m_bStopPending);
        EXPECT_EQ(c.bStop, s.m_bUserStop);
        // 0 while the dialog shows, then the start percentage on Proceed.
        EXPECT_DOUBLE_EQ(c.bStop ? 0.0 : 1612.7, s.m_FanSpeed);
    }
}

TEST(TestStepWatches, FluctuationWatchRunsOnTheProgramClock)
{
    CSteppingClock clock(0);
    CScopedProgramClock scoped(clock);
    CTestGraph1 screen(nullptr);
    screen.RestartFluctuationWatch();
    clock.m_nNowMs += 120000;
    EXPECT_EQ(0, screen.IsFluctuationTimeout());
    clock.m_nNowMs += 1;
    EXPECT_EQ(1, screen.IsFluctuationTimeout());
    screen.StartAstmWatch();
    clock.m_nNowMs += 10000;
    EXPECT_EQ(0, screen.IsAstmTimeElapsed());
    EXPECT_EQ(10, screen.m_nAstmElapsedSeconds);
    clock.m_nNowMs += 1;
    EXPECT_EQ(1, screen.IsAstmTimeElapsed());
}

}  // namespace
