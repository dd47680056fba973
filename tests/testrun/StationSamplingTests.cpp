// Station sampling and data points: when a station is complete, what is
// stored and what is drawn, the end of the target list and of the store's
// room, deleting entries, and the smallest and largest value of a slot.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "pages/ManualDataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

TEST(StationSampling, CompletionTable)
{
    struct Case {
        const char* name;
        int nSamples;
        double dDataSamples;
        int bAstm, bElapsed, nExpected;
    } cases[] = {
        {"one short", 9, 10.0, 0, 0, 0},
        {"count reached", 10, 10.0, 0, 0, 1},
        {"count passed", 11, 10.0, 0, 0, 1},
        {"ASTM count reached, 10 s not passed", 10, 10.0, 1, 0, 0},
        {"ASTM 10 s passed, count short", 9, 10.0, 1, 1, 0},
        {"ASTM both", 10, 10.0, 1, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, CTestGraph1::IsStationComplete(c.nSamples, c.dDataSamples, c.bAstm, c.bElapsed))
            << c.name;
}

TEST(StationSampling, SmallMeansAreDrawnClamped)
{
    struct Case {
        double dFlow, dBuilding, dDrawnFlow, dDrawnBuilding;
    } cases[] = {
        {0.05, 50.0, 0.1, 50.0}, {1500.0, 0.0, 1500.0, 0.1}, {1500.0, -0.1, 1500.0, -0.1},
        {1500.0, -0.05, 1500.0, 0.1}, {0.1, 0.1, 0.1, 0.1}, {-3.0, -50.0, 0.1, -50.0},
    };
    for (const Case& c : cases) {
        double q = c.dFlow, p = c.dBuilding;
        CTestGraph1::ClampForDisplay(q, p);
        EXPECT_DOUBLE_EQ(c.dDrawnFlow, q) << c.dFlow;
        EXPECT_DOUBLE_EQ(c.dDrawnBuilding, p) << c.dBuilding;
    }
}

TEST(StationSampling, MinAndMaxSkipMarkersAndAreZeroWithoutPoints)
{
    const double values[5] = {-0.5, -40.0, 12.0, -60.0, 99.0};
    const int rings[5] = {-1, 0, 1, 0, -1};
    EXPECT_DOUBLE_EQ(12.0, CTestGraph1::MinAbsValue(values, rings, 5));
    EXPECT_DOUBLE_EQ(60.0, CTestGraph1::MaxAbsValue(values, rings, 5));
    const int markers[2] = {-1, -1};
    EXPECT_EQ(0.0, CTestGraph1::MinAbsValue(values, markers, 2));
    EXPECT_EQ(0.0, CTestGraph1::MaxAbsValue(values, markers, 2));
    EXPECT_EQ(0.0, CTestGraph1::MinAbsValue(values, rings, 0));
}

// A view without gauges and a running test whose station was just sampled.
class StationStore : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        s = m_view->m_pTestGraph;
        m_view->m_pLink[0]->m_bIoDisabled = 1;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
        m_view->m_pSettings->m_nStandard = 0;
        const double targets[4] = {50.0, 45.0, 40.0, 0.0};
        for (int k = 0; k < 4; ++k)
            s->m_Targets[0][k] = targets[k];
        s->m_Ring[0][0] = -1;
        s->m_StationCount[0] = 1;
        s->m_nFirstEntryOfTest[0] = 0;
        s->m_nEntriesAtStart = 0;
        s->m_bTestRunning = 1;
        s->m_CurrentRing[0] = 1;
    }
    void TearDown() override
    {
        m_view->m_pLink[0]->m_bIoDisabled = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    void Station(double dFlow, double dBuilding)
    {
        s->m_dMeanFlow = dFlow;
        s->m_dMeanBuilding = dBuilding;
        s->m_dMeanFan = 120.0;
        s->m_dSdFlow = 2.0;
        s->m_dSdBuilding = 0.3;
        s->m_bSettled = 1;
        s->m_bSamplingDisplay = 1;
        s->StoreStationPoint();
    }

    CTestView m_view{L"station-store"};
    CTestGraph1* s = nullptr;
    int m_nSavedDirection = 0;
};

TEST_F(StationStore, PointsAreStoredAsMeasuredAndTheLastTargetEndsTheTest)
{
    Station(0.05, 0.0);
    EXPECT_EQ(2, s->m_StationCount[0]);
    EXPECT_DOUBLE_EQ(0.05, s->m_Qavg[0][1]);
    EXPECT_DOUBLE_EQ(0.0, s->m_Pavg[0][1]);
    EXPECT_DOUBLE_EQ(120.0, s->m_Pfan[0][1]);
    EXPECT_DOUBLE_EQ(2.0, s->m_QStdDev[0][1]);
    EXPECT_DOUBLE_EQ(0.3, s->m_PStdDev[0][1]);
    EXPECT_EQ(1, s->m_Ring[0][1]);
    EXPECT_DOUBLE_EQ(50.0, s->m_TargetP[0][1]);
    EXPECT_EQ(1, s->m_nPointIndex);
    EXPECT_EQ(0, s->m_bSettled);
    EXPECT_EQ(0, s->m_bSamplingDisplay);
    EXPECT_EQ(0, s->m_CompletedTests[0]);

    Station(1000.0, 45.0);
    CTestAnswerer answerer;
    CScopedAnswerer scoped(answerer);
    answerer.ReplyToProgramMessage(IDS_COVER_FAN_INLET_END, 1);
    Station(800.0, 40.0);
    // The target after the third is 0: the test is closed (the closing
    // baseline's auto-zero fails without gauges: baseline 0).
    EXPECT_TRUE(answerer.AllRepliesUsed());
    EXPECT_EQ(1, s->m_CompletedTests[0]);
    EXPECT_EQ(5, s->m_StationCount[0]);
    EXPECT_EQ(-1, s->m_Ring[0][4]);
    EXPECT_EQ(1, s->m_bStopPending);
    EXPECT_EQ(0, s->m_nPointIndex);
}

TEST_F(StationStore, APointLeavingRoomOnlyForTheClosingMarkerEndsTheTest)
{
    // 126 entries: a point at 126 leaves one entry for the closing marker.
    for (int k = 1; k < 126; ++k)
        s->m_Ring[0][k] = 0;
    s->m_StationCount[0] = 126;
    CTestAnswerer answerer;
    CScopedAnswerer scoped(answerer);
    answerer.ReplyToProgramMessage(IDS_COVER_FAN_INLET_END, 1);
    Station(1000.0, 50.0);
    EXPECT_TRUE(answerer.AllRepliesUsed());
    EXPECT_EQ(CTestGraph1::kMaxEntries, s->m_StationCount[0]);
    EXPECT_EQ(-1, s->m_Ring[0][CTestGraph1::kMaxEntries - 1]);
    EXPECT_EQ(1, s->m_CompletedTests[0]);
}

TEST_F(StationStore, DeletingEntries)
{
    const double p[5] = {0.5, 50.0, 40.0, 30.0, 0.7};
    const int rings[5] = {-1, 0, 1, 2, -1};
    for (int k = 0; k < 5; ++k) {
        s->m_Pavg[0][k] = p[k];
        s->m_Ring[0][k] = rings[k];
        s->m_Qavg[0][k] = 10.0 * k;
    }
    s->m_StationCount[0] = 5;
    s->m_CompletedTests[0] = 1;
    // The last entry: nothing moves.
    EXPECT_EQ(4, s->DeleteDataPoint(0, 4));
    EXPECT_DOUBLE_EQ(0.7, s->m_Pavg[0][4]);
    EXPECT_DOUBLE_EQ(30.0, s->m_Pavg[0][3]);
    // A middle entry: the later ones move down with their rings.
    EXPECT_EQ(3, s->DeleteDataPoint(0, 1));
    EXPECT_DOUBLE_EQ(40.0, s->m_Pavg[0][1]);
    EXPECT_EQ(1, s->m_Ring[0][1]);
    EXPECT_DOUBLE_EQ(20.0, s->m_Qavg[0][1]);
    EXPECT_EQ(2, s->m_Ring[0][2]);
    // Out of range: nothing happens.
    EXPECT_EQ(3, s->DeleteDataPoint(0, 7));
    EXPECT_EQ(3, s->DeleteDataPoint(0, -1));
}

TEST_F(StationStore, DeletingAPointPairsTheTestsOfTheShortenedSlot)
{
    // Two tests of two points each; the first loses a point.
    const int rings[8] = {-1, 0, 0, -1, -1, 1, 1, -1};
    for (int k = 0; k < 8; ++k)
        s->m_Ring[0][k] = rings[k];
    s->m_StationCount[0] = 8;
    s->m_CompletedTests[0] = 2;
    EXPECT_EQ(7, s->DeleteDataPoint(0, 1));
    EXPECT_EQ(0, s->m_TestFirstRow[0][0]);
    EXPECT_EQ(3, s->m_TestRowCount[0][0]);
    EXPECT_EQ(3, s->m_TestFirstRow[0][1]);
    EXPECT_EQ(4, s->m_TestRowCount[0][1]);
    // The stale copy of the last closing marker opens no third test.
    EXPECT_EQ(-1, s->m_TestFirstRow[0][2]);
}

TEST_F(StationStore, DeletingAManualPointMovesItsGridRow)
{
    m_view->m_pSettings->m_chMethodLetter[0] = L'M';
    CManualDataEntryDialog& grid = *m_view->m_pManualEntry;
    for (int k = 0; k < 4; ++k) {
        s->m_Ring[0][k] = k == 0 || k == 3 ? -1 : 0;
        grid.m_strBuildingP[0][k].Format(L"%d", 10 * k);
        grid.m_nRing[0][k] = k;
    }
    s->m_StationCount[0] = 4;
    EXPECT_EQ(3, s->DeleteDataPoint(0, 1));
    EXPECT_EQ(L"20", std::wstring(grid.m_strBuildingP[0][1].GetString()));
    EXPECT_EQ(2, grid.m_nRing[0][1]);
    EXPECT_TRUE(grid.m_strBuildingP[0][2].IsEmpty());
    EXPECT_EQ(-1, grid.m_nRing[0][2]);
}

}  // namespace
