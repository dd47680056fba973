// The manual data grid: cell checks and conversions on their own, and the
// modal grid with real focus moves, its messages, checks and tabs.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "pages/BaselineDataEntry.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"

#include <cmath>

TEST(ManualCell, LimitsAndMessagesAsATable)
{
    struct Case {
        ManualCell cell;
        double v;
        bool bHasRing;
        int nRing;
        wchar_t chFan;
        double dMin;
        int nFlowSource;
        int nMessage;   // 0 accepted
    };
    using C = ManualCell;
    const Case cases[] = {
        {C::BuildingPressure, -150.0, false, -1, L'3', 0.0, 0, 0},
        {C::BuildingPressure, -151.0, false, -1, L'3', 0.0, 0, IDS_MANUAL_BUILDING_P_OUT_OF_RANGE},
        {C::BuildingPressure, 150.5, false, -1, L'3', 0.0, 0, IDS_MANUAL_BUILDING_P_OUT_OF_RANGE},
        {C::BaselineAverage, 500.0, false, -1, L'3', 0.0, 0, 0},
        {C::BaselineAverage, 501.0, false, -1, L'3', 0.0, 0, IDS_MANUAL_BUILDING_P_OUT_OF_RANGE},
        // Open fan '3' up to 209487 Pa; duct fans stay at 500 Pa.
        {C::FanPressure, 209487.0, true, 0, L'3', 10.0, 0, 0},
        {C::FanPressure, 209488.0, true, 0, L'3', 10.0, 0, IDS_MANUAL_FAN_PRESSURE_ABOVE_MAX},
        {C::FanPressure, 196261.0, true, 0, L'5', 10.0, 0, 0},
        {C::FanPressure, 305106.0, true, 0, L'4', 10.0, 0, 0},
        {C::FanPressure, 501.0, true, 0, L'A', 10.0, 0, IDS_MANUAL_FAN_PRESSURE_ABOVE_MAX},
        {C::FanPressure, 501.0, true, 0, L'B', 10.0, 0, IDS_MANUAL_FAN_PRESSURE_ABOVE_MAX},
        {C::FanPressure, 501.0, true, 1, L'3', 10.0, 0, IDS_MANUAL_FAN_PRESSURE_ABOVE_MAX},
        {C::FanPressure, 500.0, true, 1, L'3', 10.0, 0, 0},
        // Below the ring's minimum.
        {C::FanPressure, 9.9, true, 1, L'3', 10.0, 0, IDS_MANUAL_FLOW_BELOW_MINIMUM},
        {C::Flow, 9.9, true, 1, L'3', 10.0, 1, IDS_MANUAL_FLOW_BELOW_MINIMUM},
        {C::Flow, 600.0, true, 2, L'3', 10.0, 1, IDS_MANUAL_FLOW_ABOVE_MAX},
        // A ring list left with no fan pressure checks 0 Pa.
        {C::Ring, 0.0, true, 2, L'3', 10.0, 0, IDS_MANUAL_FLOW_BELOW_MINIMUM},
        {C::Ring, 0.0, true, 2, L'3', 0.0, 0, 0},
        {C::Ring, 600.0, true, 2, L'3', 10.0, 0, IDS_MANUAL_RING_ABOVE_MAX_P},
        {C::Ring, 600.0, true, 2, L'3', 10.0, 1, IDS_MANUAL_RING_ABOVE_MAX_Q},
        // No ring: the conversion reports it, not the check.
        {C::FanPressure, 1.0, false, -1, L'3', 10.0, 0, 0},
        {C::Flow, 99999.0, false, -1, L'3', 10.0, 1, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const ManualCellCheck check =
            CheckManualCellValue(c.cell, c.v, c.bHasRing, c.nRing, c.chFan, c.dMin, true, c.nFlowSource);
        EXPECT_EQ(check.bAccepted, c.nMessage == 0) << "case " << i;
        EXPECT_EQ(check.nMessageId, c.nMessage) << "case " << i;
    }
    // A calibration with C or n of 0 refuses fan pressures and flows.
    EXPECT_EQ(CheckManualCellValue(C::Flow, 100.0, true, 1, L'3', 0.0, false, 1).nMessageId,
              IDS_MANUAL_CALIBRATION_NOT_USABLE);
    EXPECT_EQ(CheckManualCellValue(C::FanPressure, 100.0, true, 1, L'3', 0.0, false, 0).nMessageId,
              IDS_MANUAL_CALIBRATION_NOT_USABLE);
}

TEST(ManualCell, ConversionsFormatsAndUnusableCalibrations)
{
    double q = 0.0;
    ASSERT_TRUE(ManualFlowFromFanPressure(-100.0, 20.0, 0.5, q));
    EXPECT_DOUBLE_EQ(q, 200.0);
    EXPECT_EQ(FormatManualFlow(q, L'3', 1).str(), L"200");
    EXPECT_EQ(FormatManualFlow(12.34, L'B', 4).str(), L"12.3");
    EXPECT_EQ(FormatManualFlow(12.34, L'B', 3).str(), L"12");
    EXPECT_EQ(FormatManualFlow(12.34, L'A', 4).str(), L"12");
    double p = 0.0;
    ASSERT_TRUE(ManualFanPressureFromFlow(200.0, 20.0, 0.5, p));
    EXPECT_DOUBLE_EQ(p, 100.0);
    EXPECT_EQ(FormatManualFanPressure(p).str(), L"100.0");
    EXPECT_EQ(FormatManualFanPressure(3.14159).str(), L"3.1");
    // C or n not above 0: no number at all, never "inf" or "nan".
    for (const auto& cn : {std::pair{0.0, 0.5}, std::pair{20.0, 0.0}, std::pair{-1.0, 0.5}}) {
        double x = -7.0;
        EXPECT_FALSE(ManualFanPressureFromFlow(200.0, cn.first, cn.second, x));
        EXPECT_FALSE(ManualFlowFromFanPressure(100.0, cn.first, cn.second, x));
        EXPECT_EQ(x, -7.0);
    }
    EXPECT_EQ(GetManualRingItemCount(L'3'), 6);
    EXPECT_EQ(GetManualRingItemCount(L'B'), 5);
    EXPECT_EQ(GetManualRingItemCount(L'A'), 4);
    EXPECT_TRUE(IsManualRingOfFan(4, L'B'));
    EXPECT_FALSE(IsManualRingOfFan(4, L'A'));
    EXPECT_FALSE(IsManualRingOfFan(-1, L'3'));
}

TEST(ManualCell, RowStatusAsATable)
{
    struct Case {
        const wchar_t* bp;
        const wchar_t* ring;
        const wchar_t* fan;
        const wchar_t* flow;
        int nSource;
        int nStatus;
    };
    const Case cases[] = {
        {L"50", L"Ring A", L"100", L"900", 0, 0}, {L"", L"", L"", L"", 0, -1},   {L"-", L"", L"", L"", 0, -1},
        {L"-", L"Ring A", L"", L"", 0, -1},       {L"", L"Ring A", L"100", L"", 0, 1},
        {L"50", L"", L"100", L"", 0, 2},          {L"50", L"Ring A", L"", L"", 0, 3},
        {L"50", L"Ring A", L"", L"", 1, 4},       {L"50", L"Ring A", L"0", L"900", 0, 3},
        {L"50", L"Ring A", L"100", L"", 0, 0},    {L"50", L"Ring A", L"", L"900", 0, 3},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(GetManualRowStatus(c.bp, c.ring, c.fan, c.flow, c.nSource), c.nStatus) << "case " << i;
    }
}

namespace {

class ManualGridTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        m_nSavedDirection = g_nCurrentDirection;
        Grid().m_chFanCode = L'3';
        Grid().m_chDirection = L'D';
        g_nCurrentDirection = 1;
        m_pView->m_pSettings->m_nStandard = 0;
    }
    void TearDown() override
    {
        g_nCurrentDirection = m_nSavedDirection;
        CloseProgram();
    }

    CManualDataEntryDialog& Grid() const { return *m_pView->m_pManualEntry; }
    INT_PTR Run(std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(IDD_MANUAL_DATA, m_driver.Run(std::move(steps)));
        return Grid().DoModal();
    }
    static int FocusId() { return ::GetDlgCtrlID(::GetFocus()); }
    static void Focus(HWND h, int nId) { ::SetFocus(::GetDlgItem(h, nId)); }
    static std::wstring ComboItem(HWND h, int nId, int i)
    {
        wchar_t sz[64] = {};
        ::SendDlgItemMessageW(h, nId, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(sz));
        return sz;
    }
    int m_nSavedDirection = 1;
    CDialogDriver m_driver;
};

constexpr int kRow1Bp = 1241;
constexpr int kRow1Ring = 1261;
constexpr int kRow1Fan = 1243;
constexpr int kRow1Flow = 1244;
constexpr int kRow2Bp = 1246;

}  // namespace

TEST_F(ManualGridTest, CheckCountsContiguousRowsClearsTheRestAndHandsBothSlotsToTheStore)
{
    CManualDataEntryDialog& g = Grid();
    g.m_nGauge[1] = 0;
    const wchar_t* const rows[4][3] = {
        {L"-50", L"100", L"2000"}, {L"-40", L"90", L"1800"}, {L"", L"", L""}, {L"-30", L"80", L"1700"}};
    for (int r = 1; r <= 4; ++r) {
        g.m_strBuildingP[1][r] = rows[r - 1][0];
        g.m_strFanP[1][r] = rows[r - 1][1];
        g.m_strFlow[1][r] = rows[r - 1][2];
        g.m_nRing[1][r] = r == 3 ? -1 : 1;
    }
    // Pressurization already holds a checked grid.
    g.m_strBuildingP[0][0] = L"0.1";
    g.m_strBuildingP[0][1] = L"50";
    g.m_strFanP[0][1] = L"100";
    g.m_nRing[0][1] = 1;
    g.m_nRowCount[0] = 1;
    m_pView->m_pTemperature->m_strTestIndoorTemp[1][0] = L"20";
    m_pView->m_pTemperature->m_strTestOutdoorTemp[1][0] = L"5";
    m_answerer.ReplyToProgramMessage(IDS_MANUAL_PRETEST_REQUIRED, IDOK);
    const INT_PTR nResult = Run({
        [](HWND h) { ClickItem(h, IDOK); },
        [](HWND h) {
            EXPECT_EQ(FocusId(), IDC_MANUAL_PRE_AVG);
            ::SetDlgItemTextW(h, IDC_MANUAL_PRE_AVG, L"-0.4");
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(g.m_nRowCount[1], 2);
    EXPECT_TRUE(g.m_strBuildingP[1][4].IsEmpty());
    EXPECT_EQ(g.m_nRing[1][4], -1);
    EXPECT_EQ(g.m_strBuildingP[1][0].str(), L"-0.4");
    // CGSB: an empty post-test average passes and the pre-test value serves.
    EXPECT_EQ(g.m_dPostBaseline[1], -0.4);
    CTestGraph1& store = *m_pView->m_pTestGraph;
    EXPECT_EQ(store.m_StationCount[1], 4);
    EXPECT_EQ(store.m_StationCount[0], 3);
    EXPECT_EQ(store.m_CompletedTests[0], 1);
    EXPECT_EQ(store.m_CompletedTests[1], 1);
}

TEST_F(ManualGridTest, PostTestBaselineIsRequiredOutsideCgsbAndEmptyGridPasses)
{
    m_pView->m_pSettings->m_nStandard = 2;
    CManualDataEntryDialog& g = Grid();
    g.m_nGauge[1] = 0;
    g.m_strBuildingP[1][0] = L"-0.2";
    g.m_strBuildingP[1][1] = L"-50";
    g.m_strFanP[1][1] = L"100";
    g.m_strFlow[1][1] = L"2000";
    g.m_nRing[1][1] = 1;
    m_answerer.ReplyToProgramMessage(IDS_MANUAL_POSTTEST_REQUIRED, IDOK);
    const INT_PTR nResult = Run({
        [](HWND h) { ClickItem(h, IDOK); },
        [](HWND h) {
            EXPECT_EQ(FocusId(), IDC_MANUAL_POST_AVG);
            // With no rows no baseline or environment check is made.
            ::SetDlgItemTextW(h, kRow1Bp, L"");
            ::SetDlgItemTextW(h, kRow1Fan, L"");
            ::SetDlgItemTextW(h, kRow1Flow, L"");
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(g.m_nRowCount[1], 0);
    EXPECT_EQ(g.m_nRing[1][1], -1);
    EXPECT_EQ(m_pView->m_pTestGraph->m_StationCount[1], 0);
}
