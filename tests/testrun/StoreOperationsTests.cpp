// The test data store on its own: room for its writers, the pairing and
// numbering of tests, flow scaling and the small helpers of the checks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kEntries = CTestGraph1::kMaxEntries;
constexpr int kTests = CTestGraph1::kMaxTests;

// The store is large; keep it off the stack.
std::unique_ptr<CTestGraph1> MakeStore()
{
    return std::make_unique<CTestGraph1>(nullptr);
}

// Lays out slot d from a pattern: 'M' a baseline marker, a digit a data
// point on that ring. Entry i gets Pavg i + 1 and Qavg 10 (i + 1).
void Lay(CTestGraph1& s, int d, const std::string& pattern)
{
    for (size_t i = 0; i < pattern.size() && i < static_cast<size_t>(kEntries); ++i) {
        s.m_Ring[d][i] = pattern[i] == 'M' ? -1 : pattern[i] - '0';
        s.m_Pavg[d][i] = static_cast<double>(i + 1);
        s.m_Qavg[d][i] = 10.0 * static_cast<double>(i + 1);
        s.m_QStdDev[d][i] = 0.5;
    }
    s.m_StationCount[d] = static_cast<int>(pattern.size());
}

std::string Repeat(const std::string& unit, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += unit;
    return s;
}

}  // namespace

TEST(StoreRoom, ChecksFollowTheCountsOfTheSlot)
{
    struct Case {
        int nStations, nCompleted, nLastDeleted;
        bool bTest, bPoint, bEntry, bDeleted;
    };
    const Case cases[] = {
        {0, 0, -1, true, true, true, true},
        {125, 0, 10, true, true, true, true},     // opening marker, one point, closing marker still fit
        {126, 0, 11, false, true, true, false},   // a point and the closing marker fit; no new test
        {127, 0, 0, false, false, true, true},    // only the kept closing marker
        {128, 0, 0, false, false, false, true},
        {10, 31, 0, true, true, true, true},
        {10, 32, 0, false, true, true, true},
        // Counts no writer should have left behind never give room.
        {-1, 0, -2, false, false, false, false},
        {300, -1, 12, false, false, false, false},
        {0, 40, -1, false, true, true, true},
    };
    auto pStore = MakeStore();
    CTestGraph1& s = *pStore;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nStations) + " entries, " + std::to_string(c.nCompleted) + " tests");
        for (int d = 0; d < 2; ++d) {
            s.m_StationCount[d] = c.nStations;
            s.m_CompletedTests[d] = c.nCompleted;
            s.m_LastDeletedIndex[d] = c.nLastDeleted;
            EXPECT_EQ(c.bTest, s.HasRoomForTest(d));
            EXPECT_EQ(c.bPoint, s.HasRoomForDataPoint(d));
            EXPECT_EQ(c.bEntry, s.HasRoomForEntry(d));
            EXPECT_EQ(c.bDeleted, s.HasRoomForDeletedPoint(d));
        }
    }
    s.m_StationCount[0] = 0;
    for (int d : {-1, 2}) {
        EXPECT_FALSE(s.HasRoomForTest(d));
        EXPECT_FALSE(s.HasRoomForDataPoint(d));
        EXPECT_FALSE(s.HasRoomForEntry(d));
        EXPECT_FALSE(s.HasRoomForDeletedPoint(d));
        EXPECT_EQ(0, s.UsedEntries(d));
        EXPECT_EQ(0, s.UsedTests(d));
    }
}

// A run that asks before every store, as the test sequence does, fills a
// slot to its limits: every test it starts is closed, nothing lands past
// entry 128 or test 32, and the other slot is never touched.
TEST(StoreRoom, AWriterThatAsksFirstAlwaysClosesItsTests)
{
    for (int nPointsPerTest : {1, 2, 5, 9, 40, 130}) {
        SCOPED_TRACE(std::to_string(nPointsPerTest) + " points a test");
        auto pStore = MakeStore();
        CTestGraph1& s = *pStore;
        Lay(s, 1, "M11M");
        s.m_CompletedTests[1] = 1;
        int nRefusedStarts = 0;
        for (int nAttempt = 0; nAttempt < 200; ++nAttempt) {
            if (!s.HasRoomForTest(0)) {
                ++nRefusedStarts;
                continue;
            }
            s.m_Ring[0][s.m_StationCount[0]++] = -1;
            for (int p = 0; p < nPointsPerTest && s.HasRoomForDataPoint(0); ++p)
                s.m_Ring[0][s.m_StationCount[0]++] = 2;
            ASSERT_TRUE(s.HasRoomForEntry(0));
            s.m_Ring[0][s.m_StationCount[0]++] = -1;
            ++s.m_CompletedTests[0];
        }
        EXPECT_GT(nRefusedStarts, 0);
        EXPECT_LE(s.m_StationCount[0], kEntries);
        EXPECT_LE(s.m_CompletedTests[0], kTests);
        s.IndexTestGroups();
        const int nLast = s.m_CompletedTests[0] - 1;
        EXPECT_EQ(s.m_StationCount[0], s.m_TestFirstRow[0][nLast] + s.m_TestRowCount[0][nLast]);
        for (int t = 0; t <= nLast; ++t)
            EXPECT_GE(s.m_TestRowCount[0][t], 3) << "test " << t;
        EXPECT_EQ(std::vector<int>({-1, 1, 1, -1}), std::vector<int>(s.m_Ring[1], s.m_Ring[1] + 4));
        EXPECT_EQ(4, s.m_TestRowCount[1][0]);
    }
}

TEST(StoreGroups, IndexTestGroupsPairsMarkersPerSlot)
{
    struct Case {
        const char* name;
        std::string pattern0, pattern1;
        std::vector<std::pair<int, int>> groups0, groups1;   // first row and row count per test
    };
    const Case cases[] = {
        {"empty slots", "", "", {}, {}},
        {"two tests", "M123MM11M", "M4M", {{0, 5}, {5, 4}}, {{0, 3}}},
        // An opening marker without its closing one keeps its row, count 0;
        // slot 1 starts expecting an opening marker all the same.
        {"truncated", "M11MM22", "M3M", {{0, 4}, {4, 0}}, {{0, 3}}},
        {"interleaved", "MM", "11M22M3", {{0, 2}}, {{2, 4}}},
        {"points before the first marker", "22M1M", "", {{2, 3}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pStore = MakeStore();
        CTestGraph1& s = *pStore;
        // Groups from an earlier layout must not survive.
        for (int d = 0; d < 2; ++d)
            for (int t = 0; t < kTests; ++t) {
                s.m_TestFirstRow[d][t] = 99;
                s.m_TestRowCount[d][t] = 99;
            }
        Lay(s, 0, c.pattern0);
        Lay(s, 1, c.pattern1);
        s.IndexTestGroups();
        const std::vector<std::pair<int, int>>* expected[2] = {&c.groups0, &c.groups1};
        for (int d = 0; d < 2; ++d) {
            for (int t = 0; t < kTests; ++t) {
                const bool bExists = t < static_cast<int>(expected[d]->size());
                EXPECT_EQ(bExists ? (*expected[d])[t].first : -1, s.m_TestFirstRow[d][t]) << d << "/" << t;
                EXPECT_EQ(bExists ? (*expected[d])[t].second : 0, s.m_TestRowCount[d][t]) << d << "/" << t;
            }
        }
    }
}

TEST(StoreGroups, WalksStopAtTheLastEntryAndTheThirtySecondTest)
{
    auto pStore = MakeStore();
    CTestGraph1& s = *pStore;
    // 42 tests of one point: 126 entries, more tests than a slot keeps.
    Lay(s, 0, Repeat("M1M", 42));
    Lay(s, 1, "M2M");
    s.IndexTestGroups();
    EXPECT_EQ(93, s.m_TestFirstRow[0][31]);
    EXPECT_EQ(3, s.m_TestRowCount[0][31]);
    EXPECT_EQ(0, s.m_TestFirstRow[1][0]);
    EXPECT_EQ(-1, s.m_TestFirstRow[1][1]);

    s.NumberTestGroups(0);
    EXPECT_EQ(32, s.m_EntryTestNumber[0][95]);
    for (int i = 96; i < kEntries; ++i)
        ASSERT_EQ(0, s.m_EntryTestNumber[0][i]) << i;

    // A count beyond the arrays walks the 128 entries and nothing of slot 1.
    for (int i = 0; i < kEntries; ++i)
        s.m_EntryTestNumber[1][i] = 7;
    s.m_StationCount[0] = 100000;
    s.NumberTestGroups(0);
    s.IndexTestGroups();
    EXPECT_EQ(7, s.m_EntryTestNumber[1][0]);
    EXPECT_EQ(0, s.m_TestFirstRow[1][0]);
    EXPECT_EQ(3, s.m_TestRowCount[1][0]);
    s.m_StationCount[0] = -4;
    s.IndexTestGroups();
    EXPECT_EQ(-1, s.m_TestFirstRow[0][0]);
}

TEST(StoreGroups, NumberTestGroupsMarksOpeningAndClosingMarkers)
{
    struct Case {
        std::string pattern;
        std::vector<int> numbers;
    };
    const Case cases[] = {
        {"M111MM22M", {-1, 0, 0, 0, 1, -1, 0, 0, 2}},
        {"MM1M", {-1, -1, 0, 1}},
        {"M11", {-1, 0, 0}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        auto pStore = MakeStore();
        CTestGraph1& s = *pStore;
        for (int d = 0; d < 2; ++d)
            for (int i = 0; i < kEntries; ++i)
                s.m_EntryTestNumber[d][i] = 5;
        Lay(s, 1, c.pattern);
        s.NumberTestGroups(1);
        std::vector<int> expected = c.numbers;
        expected.resize(kEntries, 0);
        EXPECT_EQ(expected, std::vector<int>(s.m_EntryTestNumber[1], s.m_EntryTestNumber[1] + kEntries));
        EXPECT_EQ(5, s.m_EntryTestNumber[0][0]);
        s.NumberTestGroups(2);
        s.NumberTestGroups(-1);
    }
}

TEST(StoreFlows, ScaleFlowsScalesTheUsedFlowsOfADirectionWithTests)
{
    auto pStore = MakeStore();
    CTestGraph1& s = *pStore;
    Lay(s, 0, "M12M");
    Lay(s, 1, "M3M");
    s.m_Qavg[0][4] = 77.0;   // beyond the used entries

    s.ScaleFlows(2.0, 0);   // no completed test yet
    EXPECT_EQ(20.0, s.m_Qavg[0][1]);

    s.m_CompletedTests[0] = 1;
    s.ScaleFlows(0.5, 0);
    EXPECT_EQ(std::vector<double>({5.0, 10.0, 15.0, 20.0, 77.0}), std::vector<double>(s.m_Qavg[0], s.m_Qavg[0] + 5));
    EXPECT_EQ(0.5, s.m_QStdDev[0][1]);
    EXPECT_EQ(20.0, s.m_Qavg[1][1]);

    // A count beyond the arrays scales 128 entries and not slot 1's.
    s.m_StationCount[0] = 5000;
    s.ScaleFlows(3.0, 0);
    EXPECT_EQ(15.0, s.m_Qavg[0][0]);
    EXPECT_EQ(std::vector<double>({10.0, 20.0, 30.0}), std::vector<double>(s.m_Qavg[1], s.m_Qavg[1] + 3));
    s.ScaleFlows(3.0, 2);
}

TEST(StoreHelpers, MinAndMaxAbsValueSkipMarkers)
{
    struct Case {
        const char* name;
        std::vector<double> values;
        std::vector<int> rings;
        int nCount;
        double dMin, dMax;
    };
    const Case cases[] = {
        {"points and markers", {0.2, -50.0, 12.0, -3.0, 0.1}, {-1, 0, 2, 1, -1}, 5, 3.0, 50.0},
        {"first entry a point", {-7.5, 2.0}, {4, 4}, 2, 2.0, 7.5},
        {"count shorter than the arrays", {9.0, 1.0, 100.0}, {0, 0, 0}, 2, 1.0, 9.0},
        {"only markers", {1.0, 2.0}, {-1, -1}, 2, 0.0, 0.0},
        {"no entries", {1.0}, {0}, 0, 0.0, 0.0},
        {"negative count", {1.0}, {0}, -3, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.dMin, CTestGraph1::MinAbsValue(c.values.data(), c.rings.data(), c.nCount));
        EXPECT_EQ(c.dMax, CTestGraph1::MaxAbsValue(c.values.data(), c.rings.data(), c.nCount));
    }
    // Entries past the 128th are not part of a slot.
    std::vector<double> values(200, 5.0);
    std::vector<int> rings(200, 1);
    values[150] = 1000.0;
    values[170] = 0.5;
    EXPECT_EQ(5.0, CTestGraph1::MaxAbsValue(values.data(), rings.data(), 200));
    EXPECT_EQ(5.0, CTestGraph1::MinAbsValue(values.data(), rings.data(), 200));
}

TEST(StoreHelpers, FindLargePressureIntervalGivesTheLastGapAboveTenPa)
{
    struct Case {
        std::vector<double> pressures;
        double dGap, dMin, dMax;
    };
    const Case cases[] = {
        {{10, 20, 50}, 30, 10, 50},
        {{10, 20, 30}, 0, 10, 30},
        {{10, 150}, 0, 10, 150},          // 100 Pa or more is no gap
        {{10, 109.5}, 99.5, 10, 109.5},
        {{20, 10}, 0, 10, 20},            // exactly 10 is not above 10
        {{-50, -20, -10}, 30, 10, 50},    // magnitudes
        {{10, 60, 30}, 20, 10, 60},       // the last qualifying point, not the largest gap
        {{40, 40, 10}, 30, 10, 40},       // equal magnitudes are no gap to each other
        {{}, 0, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.pressures));
        double dMin = -1.0;
        double dMax = -1.0;
        EXPECT_DOUBLE_EQ(c.dGap, CTestGraph1::FindLargePressureInterval(c.pressures.data(),
                                                                         static_cast<int>(c.pressures.size()),
                                                                         dMin, dMax));
        EXPECT_EQ(c.dMin, dMin);
        EXPECT_EQ(c.dMax, dMax);
    }
}

TEST(StoreHelpers, RingLabelsByFan)
{
    struct Case {
        int nRing;
        wchar_t chFan;
        const wchar_t* label;
    };
    const Case cases[] = {
        {3, L'5', L"C"}, {1, L'4', L"A"}, {5, L'3', L"E"}, {6, L'3', L"Open"},
        {3, L'A', L"3"}, {4, L'B', L"4"}, {5, L'B', L"Open"}, {0, L'3', L"Open"},
        {0, L'B', L"Open"}, {-1, L'5', L"Open"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.label, CTestGraph1::GetRingLabel(c.nRing, c.chFan).GetString()) << c.nRing << " " << char(c.chFan);
}

TEST(StoreHelpers, FlowPrecisionFormatOnlyForTheSmallDuctFanRing)
{
    auto pStore = MakeStore();
    CTestGraph1& s = *pStore;
    CEquipmentInfoDialogIntl equipment;
    EXPECT_TRUE(s.GetFlowPrecisionFormat(L"%6.0f", 0).IsEmpty());   // no equipment record
    s.m_pEquipment = &equipment;
    equipment.m_chFanCode = L'B';
    Lay(s, 0, "M44M");
    s.m_Ring[0][4] = 3;   // beyond the used entries: not a point of the slot
    EXPECT_STREQ(L"%6.1f", s.GetFlowPrecisionFormat(L"%6.0f", 0).GetString());
    EXPECT_STREQ(L"%5.1f %5.0f", s.GetFlowPrecisionFormat(L"%5.0f %5.0f", 0).GetString());
    EXPECT_STREQ(L"%d", s.GetFlowPrecisionFormat(L"%d", 0).GetString());
    Lay(s, 0, "M434M");
    EXPECT_TRUE(s.GetFlowPrecisionFormat(L"%6.0f", 0).IsEmpty());
    Lay(s, 0, "M44M");
    equipment.m_chFanCode = L'3';
    EXPECT_TRUE(s.GetFlowPrecisionFormat(L"%6.0f", 0).IsEmpty());
    equipment.m_chFanCode = L'B';
    EXPECT_TRUE(s.GetFlowPrecisionFormat(L"%6.0f", 2).IsEmpty());
}

TEST(StoreLifecycle, ConstructionAndResetSetTheRunStateIdle)
{
    g_bLiveReadings = 1;
    auto pStore = MakeStore();
    CTestGraph1& s = *pStore;
    EXPECT_EQ(0, g_bLiveReadings);
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(0.0, s.m_FitN[d]);
        EXPECT_EQ(0, s.m_NFixed[d]);
        EXPECT_EQ(0, s.m_TwoPointFit[d]);
        for (int t = 0; t < kTests; ++t) {
            EXPECT_EQ(0.0, s.m_TestRhoIn[d][t]);
            EXPECT_EQ(0.0, s.m_TestRhoOut[d][t]);
            EXPECT_EQ(CTestGraph1::kNotMeasured, s.m_PreBaselineSeconds[d][t][0]);
            EXPECT_EQ(CTestGraph1::kNotMeasured, s.m_PostBaselineSeconds[d][t][29]);
        }
    }
    EXPECT_NE(nullptr, s.m_hStatusBrush.GetSafeHandle());
    LOGBRUSH lb{};
    s.m_hStatusBrush.GetLogBrush(&lb);
    EXPECT_EQ(static_cast<COLORREF>(65280), lb.lbColor);
    EXPECT_STREQ(L"0", s.m_strCompletedTests.GetString());

    s.m_FanSpeed = 2500.0;
    s.m_dBaseline = -0.4;
    s.m_CruiseMode = 2;
    s.m_bCurveValid = 1;
    s.m_dSavedSliderPos = 40.0;
    s.m_ZoneLiveMean[5] = 3.0;
    s.m_CompletedTests[1] = 3;
    s.m_PreBaselineSeconds[1][2][0] = 0.25;
    s.m_TestRhoIn[0][0] = 1.2;
    s.m_strCompletedTests = L"3";
    s.ResetTestData();
    EXPECT_EQ(0.0, s.m_FanSpeed);
    EXPECT_EQ(0.0, s.m_dBaseline);
    EXPECT_EQ(0, s.m_CruiseMode);
    EXPECT_EQ(0, s.m_bCurveValid);
    EXPECT_EQ(0.0, s.m_dSavedSliderPos);
    EXPECT_EQ(0.0, s.m_ZoneLiveMean[5]);
    EXPECT_STREQ(L"0", s.m_strCompletedTests.GetString());
    // What a test or a file overwrites stays.
    EXPECT_EQ(0.25, s.m_PreBaselineSeconds[1][2][0]);
    EXPECT_EQ(1.2, s.m_TestRhoIn[0][0]);
}
