// Start and end of a test: the lowest-target suggestions of EN 13829 and
// ISO 9972, the baseline's positive and negative means, and the starts a
// view without gauges refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

TEST(StartEndTest, LowestTargetSuggestions)
{
    struct Case {
        const char* name;
        int nStandard;
        double dPlus, dMinus, dZeroFlow;
        int bDepress;
        std::vector<double> targets;
        int nExpected;
    } cases[] = {
        {"EN: 5 x 1.3 above the lowest 5", 1, 0.8, -1.3, 0.0, 0, {50, 40, 30, 20, 10, 5}, 8},
        {"EN: lowest 10 is enough", 1, 0.8, -1.3, 0.0, 0, {50, 40, 30, 20, 10}, 0},
        {"EN: no baseline readings", 1, 0.0, 0.0, 0.0, 0, {50, 40, 5}, 0},
        {"ISO: 5 x 1.0 within 8.5..11.5", 3, 0.0, 0.0, 1.0, 0, {50, 30, 10}, 0},
        {"ISO: 5 x 1.0, lowest 5", 3, 0.0, 0.0, 1.0, 0, {50, 30, 5}, 10},
        {"ISO: 5 x 3.0 pressurization", 3, 0.0, 0.0, 3.0, 0, {50, 30, 10}, 12},
        {"ISO: 5 x 3.0 depressurization", 3, 0.0, 0.0, 3.0, 1, {50, 30, 10}, 18},
        {"ISO: rounded to one decimal first", 3, 0.0, 0.0, 2.96, 0, {50, 30, 10}, 12},
        {"ISO: within 1.5 of the suggestion", 3, 0.0, 0.0, 3.0, 0, {50, 30, 13}, 0},
        {"CGSB: never", 0, 5.0, -5.0, 5.0, 0, {50, 5}, 0},
    };
    for (const Case& c : cases) {
        double targets[CTestGraph1::kMaxTargets + 1] = {};
        for (size_t k = 0; k < c.targets.size(); ++k)
            targets[k] = c.targets[k];
        EXPECT_EQ(c.nExpected, CTestGraph1::SuggestLowestTarget(c.nStandard, c.dPlus, c.dMinus, c.dZeroFlow,
                                                                c.bDepress, targets))
            << c.name;
    }
}

TEST(StartEndTest, LowestTargetStopsAtTheEndOfTheList)
{
    double targets[CTestGraph1::kMaxTargets + 1] = {50, 40, 0.05, 3};
    EXPECT_DOUBLE_EQ(40.0, CTestGraph1::LowestTarget(targets));
    double none[CTestGraph1::kMaxTargets + 1] = {};
    EXPECT_DOUBLE_EQ(1000.0, CTestGraph1::LowestTarget(none));
}

TEST(StartEndTest, BaselineSidesWithoutReadingsStayZero)
{
    struct Case {
        std::vector<double> readings;
        double dPlus, dMinus;
    } cases[] = {
        {{-1.0, -2.0, -3.0}, 0.0, -2.0},
        {{0.5, 1.5}, 1.0, 0.0},
        {{0.0, 0.0}, 0.0, 0.0},
        {{0.0, 2.0, -1.0, 0.0}, 2.0, -1.0},
        {{}, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        CTestGraph1::CBaselineSides sides;
        for (double v : c.readings)
            sides.Add(v);
        EXPECT_FALSE(std::isnan(sides.Plus()));
        EXPECT_FALSE(std::isnan(sides.Minus()));
        EXPECT_DOUBLE_EQ(c.dPlus, sides.Plus());
        EXPECT_DOUBLE_EQ(c.dMinus, sides.Minus());
    }
}

class StartRefusals : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        s = m_view->m_pTestGraph;
        m_view->m_pLink[0]->m_bIoDisabled = 1;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
        m_view->m_pSettings->m_nMethodIndex = 1;
        m_view->m_pSettings->m_nStandard = 0;
        m_view->m_pSettings->m_chStandardLetter = L'C';
    }
    void TearDown() override
    {
        m_view->m_pLink[0]->m_bIoDisabled = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    std::vector<UINT> Shown() const
    {
        std::vector<UINT> ids;
        for (const auto& m : m_answerer.programMessages)
            ids.push_back(m.nIDText);
        return ids;
    }

    CTestView m_view{L"start-refusals"};
    CTestGraph1* s = nullptr;
    CTestAnswerer m_answerer;
    int m_nSavedDirection = 0;
};

TEST_F(StartRefusals, NoRoomForAnotherTest)
{
    CScopedAnswerer scoped(m_answerer);
    m_answerer.ReplyToProgramMessage(IDS_NO_ROOM_FOR_TEST, 1);
    s->m_CompletedTests[0] = CTestGraph1::kMaxTests;
    s->m_StationCount[0] = 100;
    EXPECT_EQ(0, s->StartTest());
    EXPECT_EQ(std::vector<UINT>{IDS_NO_ROOM_FOR_TEST}, Shown());
    EXPECT_EQ(0, s->m_bTestStarting);
    EXPECT_EQ(100, s->m_StationCount[0]);
    // Entries: an opening marker, a point and the closing marker must fit.
    s->m_CompletedTests[0] = 3;
    s->m_StationCount[0] = CTestGraph1::kMaxEntries - 2;
    m_answerer.ReplyToProgramMessage(IDS_NO_ROOM_FOR_TEST, 1);
    EXPECT_EQ(0, s->StartTest());
    EXPECT_EQ(CTestGraph1::kMaxEntries - 2, s->m_StationCount[0]);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(StartRefusals, AFailedAutoZeroBeforeTheOpeningBaselineStartsNothing)
{
    CScopedAnswerer scoped(m_answerer);
    CTemperatureEntryDialog& page = *m_view->m_pTemperature;
    m_answerer.ReplyToDialog(CTemperatureEntryDialog::IDD, IDOK);
    m_answerer.ReplyToProgramMessage(IDS_COVER_FAN_INLET_START, 1);
    page.m_strIndoorTemp = L"20";
    page.m_strOutdoorTemp = L"5";
    EXPECT_EQ(0, s->StartTest());
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    EXPECT_EQ(std::vector<UINT>{IDS_COVER_FAN_INLET_START}, Shown());
    EXPECT_EQ(0, s->m_StationCount[0]);
    EXPECT_EQ(0, s->m_bTestStarting);
    EXPECT_EQ(0, s->m_bTestRunning);
    EXPECT_EQ(0, s->m_bBaselineRunning);
    EXPECT_DOUBLE_EQ(20.0, s->m_TestTin[0][0][0]);
    EXPECT_DOUBLE_EQ(5.0, s->m_TestTout[0][0][0]);
    EXPECT_GT(s->m_FlowFactor[0][0], 0.0);
}

TEST_F(StartRefusals, NoTargetsNoStart)
{
    CScopedAnswerer scoped(m_answerer);
    m_answerer.ReplyToProgramMessage(IDS_NO_TEST_PRESSURES, 1);
    m_view->m_pSettings->m_chStandardLetter = L'U';
    m_view->m_pSettings->m_nPressuresChoice = 1;
    EXPECT_EQ(0, s->StartTest());
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    EXPECT_EQ(std::vector<UINT>{IDS_NO_TEST_PRESSURES}, Shown());
    EXPECT_EQ(0, s->m_bTestStarting);
}

TEST_F(StartRefusals, EndTestWithoutPointsClosesNothing)
{
    CScopedAnswerer scoped(m_answerer);
    s->m_Ring[0][0] = -1;
    s->m_StationCount[0] = 1;
    s->m_nFirstEntryOfTest[0] = 0;
    s->EndTest();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(0, s->m_CompletedTests[0]);
    EXPECT_EQ(1, s->m_StationCount[0]);
}

}  // namespace
