// The manual data grid: cell checks and conversions on their own, and the
// modal grid with real focus moves, its messages, checks and tabs.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BaselineDataEntry.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <cwchar>
#include <string>

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

namespace {

constexpr int kRow1FlowId = 1244;
constexpr int kRow2Ring = 1267;
constexpr int kRow2Fan = 1248;

// Key presses and typing inside the grid's own loop: posted to the focused
// control, then handled with the dialog keys before the next action.
void Keys(UINT nKey, int nTimes = 1)
{
    for (int i = 0; i < nTimes; ++i) {
        PressKey(nKey);
        PumpPending();
    }
}
void Type(const wchar_t* pszText)
{
    const HWND hFocus = ::GetFocus();
    for (const wchar_t* p = pszText; *p != 0; ++p)
        ::PostMessageW(hFocus, WM_CHAR, *p, 1);
    PumpPending();
}
void ReplaceText(const wchar_t* pszText)
{
    ::SendMessageW(::GetFocus(), EM_SETSEL, 0, -1);
    Type(pszText);
}
void Wait(DWORD dwMs)
{
    PumpUntil([] { return false; }, dwMs);
}
// A mouse click on a control as the user makes it: the button goes down,
// and is let go only once what the press set off has been handled.
void MouseClick(HWND h, int nId)
{
    const HWND hItem = ::GetDlgItem(h, nId);
    ::PostMessageW(hItem, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PumpPending();
    ::PostMessageW(hItem, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    PumpPending();
}
// Ends the dialog after a look at it (the grid's own Cancel does nothing).
void EndNow(HWND h)
{
    if (CDialog* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(h)))
        pDialog->EndDialog(IDCANCEL);
}

}  // namespace

// With a complete row the check asks for the post-test baseline outside
// CGSB, then for the environment page of the standard; CGSB takes the
// pre-test value for an empty post-test average.
TEST_F(ManualGridTest, BaselineAndEnvironmentChecksPerStandard)
{
    struct Case {
        int nStandard;
        const wchar_t* pszPosttest;
        UINT nIDMessage;
        int nFocusId;
    };
    const Case cases[] = {
        {0, L"", IDS_MANUAL_ALL_TEMPERATURE, 0},
        {1, L"", IDS_MANUAL_POSTTEST_REQUIRED, IDC_MANUAL_POST_AVG},
        {1, L"-0.3", IDS_MANUAL_ALL_TEMP_BARO, 0},
        {2, L"-0.3", IDS_MANUAL_ALL_TEMP_ALTITUDE, 0},
        {3, L"-0.3", IDS_MANUAL_ALL_TEMP_BARO, 0},
    };
    CManualDataEntryDialog& g = Grid();
    CBaselineDataEntry& b = *m_pView->m_pBaseline;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nStandard << " '" << CString(c.pszPosttest).GetString() << "'");
        m_pView->m_pSettings->m_nStandard = c.nStandard;
        g.m_nGauge[1] = 0;
        g.m_strBuildingP[1][1] = L"-50";
        g.m_nRing[1][1] = 1;
        g.m_strFanP[1][1] = L"100";
        // CGSB and ASTM keep the averages in the grid, EN 13829 and ISO 9972
        // on the baseline page.
        g.m_strBuildingP[1][0] = L"-0.2";
        g.m_strBuildingP[1][CManualDataEntryDialog::kRows - 1] = c.pszPosttest;
        b.m_nDataSource[1] = 1;
        b.m_strPretestAvg[1] = L"-0.2";
        b.m_strPosttestAvg[1] = c.pszPosttest;
        // Answered at once, so the next step sees where the check left the
        // focus.
        m_answerer.ReplyToProgramMessage(c.nIDMessage, IDOK);
        const size_t nBefore = m_answerer.programMessages.size();
        int nFocus = -1;
        const INT_PTR nResult = Run({
            [](HWND h) { ClickItem(h, IDOK); },
            [&](HWND h) {
                nFocus = FocusId();
                // The environment button's text, whichever the standard,
                // fits on the button in the grid's font.
                const HWND hButton = ::GetDlgItem(h, IDC_MANUAL_ENVIRONMENT);
                const std::wstring text = WindowText(hButton);
                HDC hDC = ::GetDC(hButton);
                HGDIOBJ hOld = ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(::SendMessageW(hButton, WM_GETFONT, 0, 0)));
                SIZE size{};
                ::GetTextExtentPoint32W(hDC, text.c_str(), static_cast<int>(text.size()), &size);
                ::SelectObject(hDC, hOld);
                ::ReleaseDC(hButton, hDC);
                EXPECT_LE(size.cx, ItemRect(h, IDC_MANUAL_ENVIRONMENT).Width() - 4) << text;
                // The EN 13829 grid with its baseline page fields.
                if (c.nStandard == 1 && c.nFocusId == 0)
                    SaveScreenshot(h, L"manual-grid-en13829.png");
                EndNow(h);
            },
        });
        EXPECT_EQ(nResult, IDCANCEL);
        ASSERT_EQ(m_answerer.programMessages.size(), nBefore + 1);
        EXPECT_EQ(m_answerer.programMessages.back().nIDText, c.nIDMessage);
        if (c.nFocusId != 0) {
            EXPECT_EQ(nFocus, c.nFocusId);
        }
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
    }
}

// The cell checks run when the focus really leaves a cell (Tab keys and the
// dialog's own focus moves), with the messages answered through their
// buttons: the minus prefill and its caret, one message per 150 ms, the
// sign check, a flow typed without a ring, the ring chosen with the arrow
// keys and the flow converted through that ring's calibration, and Clear
// Data giving the focus back to the cell it took it from.
TEST_F(ManualGridTest, CellChecksFollowRealFocusMoves)
{
    CManualDataEntryDialog& g = Grid();
    g.m_nGauge[1] = 1;   // flows typed
    CDialogDriver okDriver;
    auto answerOk = [&](UINT nIDText) {
        m_answerer.RunProgramMessage(nIDText, okDriver.Run({[](HWND h) { ClickItem(h, IDOK); }}));
    };
    answerOk(0);                                 // -151 refused
    answerOk(0);                                 // refused again after the guard
    answerOk(IDS_MANUAL_RING_FIRST);             // a flow without a ring
    answerOk(IDS_MANUAL_PRESSURE_MUST_BE_NEG);   // +20 while depressurizing
    // The question's second button says No.
    m_answerer.RunProgramMessage(IDS_CLEAR_ALL_ENTRIES, okDriver.Run({[](HWND h) { ClickItem(h, IDCANCEL); }}));

    CFanCalibrationDialog& cal = *m_pView->m_pFanCalibration;
    cal.LoadFanRingCalibration(L'3', 1);
    const double dC = cal.m_dSelC;
    const double dN = cal.m_dSelN;
    ASSERT_GT(dC, 0.0);
    // The flow of 100 Pa through ring A, as a user reads it off a table.
    wchar_t szFlow[32] = {};
    ::swprintf(szFlow, 32, L"%.3f", dC * std::pow(100.0, dN));
    const std::wstring flowText = szFlow;

    size_t nMessages = 0;
    auto shown = [&] { return m_answerer.programMessages.size() - nMessages; };
    const INT_PTR nResult = Run({[&](HWND h) {
        // Entering an empty building pressure while depressurizing: "-" with
        // the caret after it once the 25 ms timer has run.
        Focus(h, kRow1Bp);
        EXPECT_TRUE(PumpUntil([&] {
            DWORD dwStart = 0, dwEnd = 0;
            ::SendDlgItemMessageW(h, kRow1Bp, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                                  reinterpret_cast<LPARAM>(&dwEnd));
            return g.m_nPendingFocusId == 0 && FocusId() == kRow1Bp && dwStart == 1 && dwEnd == 1;
        }, 1000));
        EXPECT_EQ(ItemText(h, kRow1Bp), L"-");
        Type(L"151");
        EXPECT_EQ(ItemText(h, kRow1Bp), L"-151");

        nMessages = m_answerer.programMessages.size();
        Keys(VK_TAB);
        EXPECT_EQ(FocusId(), kRow1Bp);
        ASSERT_EQ(shown(), 1u);
        EXPECT_EQ(m_answerer.programMessages.back().text,
                  L"Building Pressure Out of Range.\r\n\r\nPlease reenter the value for\r\nBuilding Pressure 1.");
        EXPECT_EQ(m_answerer.programMessages.back().nHelpTopic, 111);
        // Within 150 ms the same refusal shows no second message.
        Keys(VK_TAB);
        EXPECT_EQ(FocusId(), kRow1Bp);
        EXPECT_EQ(shown(), 1u);
        Wait(250);
        Keys(VK_TAB);
        EXPECT_EQ(FocusId(), kRow1Bp);
        EXPECT_EQ(shown(), 2u);

        // Accepted: on to the ring list, whose check passes towards its own
        // row's flow (the fan pressure is disabled for typed flows).
        ReplaceText(L"-50");
        Keys(VK_TAB);
        EXPECT_EQ(FocusId(), kRow1Ring);
        Keys(VK_TAB);
        EXPECT_EQ(FocusId(), kRow1FlowId);
        EXPECT_EQ(shown(), 2u);

        // A flow with no ring chosen is removed and the ring list focused.
        Type(L"2000");
        Keys(VK_TAB);
        EXPECT_EQ(shown(), 3u);
        EXPECT_EQ(FocusId(), kRow1Ring);
        EXPECT_EQ(ItemText(h, kRow1FlowId), L"");
        EXPECT_TRUE(g.m_strFlow[1][1].IsEmpty());

        // The arrow keys choose ring A in the real list.
        for (int i = 0; i < 3 && ItemText(h, kRow1Ring) != L"Ring A"; ++i)
            Keys(VK_DOWN);
        EXPECT_EQ(ItemText(h, kRow1Ring), L"Ring A");
        EXPECT_EQ(g.m_nRing[1][1], 1);
        Keys(VK_TAB);
        EXPECT_EQ(FocusId(), kRow1FlowId);
        Type(flowText.c_str());
        Keys(VK_TAB);
        EXPECT_EQ(shown(), 3u);
        EXPECT_EQ(ItemText(h, kRow1Fan), L"100.0");
        EXPECT_EQ(g.m_strFanP[1][1], L"100.0");
        EXPECT_EQ(FocusId(), kRow2Bp);

        // Row 2: a positive pressure while depressurizing is refused.
        EXPECT_TRUE(PumpUntil([&] { return g.m_nPendingFocusId == 0 && FocusId() == kRow2Bp; }, 1000));
        ReplaceText(L"20");
        Keys(VK_TAB);
        EXPECT_EQ(shown(), 4u);
        EXPECT_EQ(FocusId(), kRow2Bp);
        EXPECT_EQ(m_answerer.programMessages.back().nIDText, static_cast<UINT>(IDS_MANUAL_PRESSURE_MUST_BE_NEG));

        // Clear Data takes the focus from the cell and, on No, gives it back.
        ReplaceText(L"-40");
        Wait(200);
        Focus(h, IDC_MANUAL_CLEAR);
        EXPECT_EQ(g.m_nReturnFocusId, kRow2Bp);
        ClickItem(h, IDC_MANUAL_CLEAR);
        PumpPending();
        EXPECT_EQ(shown(), 5u);
        EXPECT_EQ(FocusId(), kRow2Bp);
        EXPECT_EQ(ItemText(h, kRow2Bp), L"-40");

        // Help does the same around its topic.
        Focus(h, IDC_MANUAL_HELP);
        EXPECT_EQ(g.m_nReturnFocusId, kRow2Bp);
        m_answerer.ReplyToDialog(IDD_HELP_PANEL, IDOK);
        ClickItem(h, IDC_MANUAL_HELP);
        PumpPending();
        EXPECT_EQ(m_answerer.dialogs.back().nIDTemplate, static_cast<UINT>(IDD_HELP_PANEL));
        EXPECT_EQ(FocusId(), kRow2Bp);
        EXPECT_EQ(shown(), 5u);
        EndNow(h);
    }});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// The sign check of a building pressure in both directions, through real
// focus moves: the wrong sign is refused once with the focus back in the
// cell, nothing more shows while the focus stays there, a value still wrong
// is refused again on leaving, and the corrected value moves on.
TEST_F(ManualGridTest, SignMessageOnceThenTheCorrectedCellMovesOn)
{
    struct Case {
        wchar_t chDirection;
        const wchar_t* pszWrong;
        const wchar_t* pszRight;
        UINT nIDMessage;
        const wchar_t* pszMessage;
    };
    const Case cases[] = {
        {L'P', L"-20", L"20", IDS_MANUAL_PRESSURE_MUST_BE_POS,
         L"Building pressure must be positive\r\nfor Pressurization Mode."},
        {L'D', L"20", L"-20", IDS_MANUAL_PRESSURE_MUST_BE_NEG,
         L"Building pressure must be negative\r\nfor Depressurization Mode."},
    };
    // How the focus leaves the cell: Tab, Enter (the grid's next-cell
    // button), the focus set into the next row's building pressure, and a
    // mouse press and release on a flow source button.
    struct Leave {
        const char* name;
        int nNextId;
        std::function<void(HWND)> leave;
    };
    const Leave leaves[] = {
        {"tab", kRow1Ring, [](HWND) { Keys(VK_TAB); }},
        {"enter", kRow1Ring, [](HWND) { Keys(VK_RETURN); }},
        {"click", kRow2Bp, [](HWND h) { Focus(h, kRow2Bp); PumpPending(); }},
        {"mouse", IDC_MANUAL_SOURCE_FAN_P, [](HWND h) { MouseClick(h, IDC_MANUAL_SOURCE_FAN_P); }},
    };
    CManualDataEntryDialog& g = Grid();
    for (const Case& c : cases) {
        for (const Leave& l : leaves) {
            SCOPED_TRACE(testing::Message() << static_cast<char>(c.chDirection) << " " << l.name);
            const int d = c.chDirection == L'P' ? 0 : 1;
            g.m_chDirection = c.chDirection;
            g_nCurrentDirection = d;
            g.m_nGauge[d] = 0;
            g.ClearData(d);
            CDialogDriver okDriver;
            for (int i = 0; i < 3; ++i)
                m_answerer.RunProgramMessage(c.nIDMessage, okDriver.Run({[](HWND h) { ClickItem(h, IDOK); }}));
            const size_t nBefore = m_answerer.programMessages.size();
            auto shown = [&] { return m_answerer.programMessages.size() - nBefore; };
            auto enter = [&](HWND h) {
                Focus(h, kRow1Bp);
                EXPECT_TRUE(PumpUntil([&] { return g.m_nPendingFocusId == 0 && FocusId() == kRow1Bp; }, 1000));
            };
            Run({[&](HWND h) {
                enter(h);
                ReplaceText(c.pszWrong);
                l.leave(h);
                ASSERT_EQ(shown(), 1u);
                EXPECT_EQ(m_answerer.programMessages.back().text, c.pszMessage);
                EXPECT_EQ(FocusId(), kRow1Bp);
                // Corrected at once: the focus moves on without a message.
                ReplaceText(c.pszRight);
                l.leave(h);
                EXPECT_EQ(shown(), 1u);
                EXPECT_EQ(FocusId(), l.nNextId);

                enter(h);
                ReplaceText(c.pszWrong);
                l.leave(h);
                ASSERT_EQ(shown(), 2u);
                // The answered message and the focus put back raise nothing
                // further while the focus stays in the cell.
                Wait(200);
                EXPECT_EQ(shown(), 2u);
                EXPECT_EQ(FocusId(), kRow1Bp);
                // Still wrong: refused again when the focus leaves.
                l.leave(h);
                EXPECT_EQ(shown(), 3u);
                EXPECT_EQ(FocusId(), kRow1Bp);
                Wait(200);
                ReplaceText(c.pszRight);
                l.leave(h);
                Wait(200);
                EXPECT_EQ(shown(), 3u);
                EXPECT_EQ(FocusId(), l.nNextId);
                EXPECT_EQ(g.m_strBuildingP[d][1], c.pszRight);
                EndNow(h);
            }});
            EXPECT_TRUE(m_answerer.AllRepliesUsed());
        }
    }
}

// The direction tabs check the slot they leave: an incomplete row keeps the
// grid where it is with 4420 and the focus on what is missing; a checked
// slot goes to the store and the other direction shows.
TEST_F(ManualGridTest, TabsCheckTheSlotLeftAndHandItToTheStore)
{
    CManualDataEntryDialog& g = Grid();
    g.m_nGauge[1] = 0;
    g.m_strBuildingP[1][1] = L"-50";
    g.m_nRing[1][1] = 1;
    g.m_strFanP[1][1] = L"100";
    g.m_strBuildingP[1][2] = L"-40";   // ring, but no fan pressure
    g.m_nRing[1][2] = 1;
    m_pView->m_pTemperature->m_strTestIndoorTemp[1][0] = L"20";
    m_pView->m_pTemperature->m_strTestOutdoorTemp[1][0] = L"5";
    CDialogDriver okDriver;
    m_answerer.RunProgramMessage(0, okDriver.Run({[](HWND h) { ClickItem(h, IDOK); }}));
    // Switching to pressurization reminds of the mode (4487).
    m_answerer.RunProgramMessage(4487, okDriver.Run({[](HWND h) { ClickItem(h, IDOK); }}));
    CTestGraph1& store = *m_pView->m_pTestGraph;
    const INT_PTR nResult = Run({[&](HWND h) {
        ClickItem(h, IDC_MANUAL_TAB_PRESS);
        PumpPending();
        ASSERT_EQ(m_answerer.programMessages.size(), 1u);
        EXPECT_EQ(m_answerer.programMessages.back().text, L"The data in Row 2 is incomplete.");
        EXPECT_EQ(FocusId(), kRow2Fan);
        EXPECT_EQ(g.m_chDirection, L'D');
        EXPECT_EQ(g_nCurrentDirection, 1);

        ::SetDlgItemTextW(h, kRow2Bp, L"");
        ::SetDlgItemTextW(h, IDC_MANUAL_PRE_AVG, L"-0.2");
        ClickItem(h, IDC_MANUAL_TAB_PRESS);
        PumpPending();
        EXPECT_EQ(m_answerer.programMessages.size(), 2u);
        EXPECT_EQ(g.m_chDirection, L'P');
        EXPECT_EQ(g_nCurrentDirection, 0);
        EXPECT_EQ(g.m_nRowCount[1], 1);
        EXPECT_EQ(g.m_strBuildingP[1][0], L"-0.2");
        EXPECT_EQ(store.m_StationCount[1], 3);
        EXPECT_EQ(store.m_CompletedTests[1], 1);
        EXPECT_EQ(ItemText(h, kRow1Bp), L"");

        EndNow(h);
    }});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// The grid as shown for a depressurization with fan '3' (lettered rings)
// and with the duct fan 'B' (numbered rings, four of them), scaled to fill
// its parent window and named after its fan; pictures of both when
// VUDADAR_SCREENS names a folder.
TEST_F(ManualGridTest, RingListsAndPicturesPerFan)
{
    struct Case {
        wchar_t chFan;
        int nItems;
        const wchar_t* pszFirstRing;
        const wchar_t* pszLastRing;
        const wchar_t* pszFan;
        const wchar_t* pszPicture;
    };
    const Case cases[] = {
        {L'3', 6, L"Ring A", L"Ring E", L"Blower Door R (110V)", L"manual-grid-fan3.png"},
        {L'B', 5, L"Ring 1", L"Ring 4", L"Airvane B", L"manual-grid-fanB.png"},
    };
    CManualDataEntryDialog& g = Grid();
    g.m_strBuildingP[1][1] = L"-50";
    g.m_nRing[1][1] = 1;
    g.m_strFanP[1][1] = L"120.0";
    g.m_strFlow[1][1] = L"2100";
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.chFan));
        g.m_chFanCode = c.chFan;
        int nItems = 0;
        std::wstring first, last, open, ring, caption, fanShown;
        Run({[&](HWND h) {
            // Scaled to the parent: at its top-left corner, inside it, as
            // large as one of its sides allows (the frame aside), every
            // control inside the client area and in the page font.
            CRect rcParent, rcGrid, rcClient;
            ::GetWindowRect(::GetParent(h), &rcParent);
            ::GetWindowRect(h, &rcGrid);
            ::GetClientRect(h, &rcClient);
            EXPECT_GT(g.m_dLayoutScale, 1.0);
            EXPECT_EQ(rcGrid.TopLeft(), rcParent.TopLeft());
            EXPECT_LE(rcGrid.right, rcParent.right);
            EXPECT_LE(rcGrid.bottom, rcParent.bottom);
            EXPECT_GE(std::max(static_cast<double>(rcGrid.Width()) / rcParent.Width(),
                               static_cast<double>(rcGrid.Height()) / rcParent.Height()),
                      0.95);
            for (const int nId : {kRow1Bp, kRow1Ring, static_cast<int>(CManualDataEntryDialog::kFlowIds[11]), IDOK,
                                  IDC_MANUAL_TAB_DEPRESS}) {
                const CRect rc = ItemRect(h, nId);
                EXPECT_TRUE(rcClient.PtInRect(rc.TopLeft()) && rc.right <= rcClient.right && rc.bottom <= rcClient.bottom)
                    << nId;
                EXPECT_EQ(reinterpret_cast<HFONT>(::SendDlgItemMessageW(h, nId, WM_GETFONT, 0, 0)),
                          static_cast<HFONT>(*m_pView->m_pPageFont))
                    << nId;
            }
            fanShown = ItemText(h, IDC_MANUAL_FAN_TYPE);
            nItems = static_cast<int>(::SendDlgItemMessageW(h, kRow1Ring, CB_GETCOUNT, 0, 0));
            open = ComboItem(h, kRow1Ring, 0);
            first = ComboItem(h, kRow1Ring, 1);
            last = ComboItem(h, kRow1Ring, nItems - 1);
            ring = ItemText(h, kRow1Ring);
            caption = WindowText(h);
            SaveScreenshot(h, c.pszPicture);
            EndNow(h);
        }});
        EXPECT_EQ(nItems, c.nItems);
        EXPECT_EQ(open, L"Open");
        EXPECT_EQ(first, c.pszFirstRing);
        EXPECT_EQ(last, c.pszLastRing);
        EXPECT_EQ(ring, c.pszFirstRing);
        EXPECT_EQ(caption, L"Manual Text Data Entry");
        EXPECT_EQ(g.m_strFanLabel, c.pszFan);
        EXPECT_EQ(fanShown, c.pszFan);
    }
}

namespace {

class ManualRoundTripTest : public ViewFileTest {
protected:
    ManualRoundTripTest() : ViewFileTest(L"ManualRoundTripView", L"ManualRoundTrip") {}
    void SetUp() override
    {
        ViewFileTest::SetUp();
        g_nCurrentDirection = 0;
        V()->m_strTestTitle = L"Untitled";
        V()->m_bTestOpen = 1;
    }
    void TearDown() override
    {
        V()->CloseAllPages();
        ViewFileTest::TearDown();
    }
    // New Test with its standard and equipment dialogs answered; a saved
    // test asks nothing about changes.
    void NewTest()
    {
        m_answerer.ReplyToDialog(IDD_STANDARD_SELECTION, IDOK);
        m_answerer.ReplyToDialog(IDD_EQUIPMENT_INFO, IDCANCEL);
        V()->OnFileNewTest();
    }

    // A manual test of both directions as the grid leaves it: three rows
    // through rings A and B of fan '3', fan pressures typed in slot 0 and
    // flows in slot 1, the store loaded from the grid.
    void FillManualTest(int nStandard)
    {
        CTestSettingsDialog& settings = Settings();
        settings.m_nStandard = nStandard;
        settings.m_chStandardLetter = CTestSettingsDialog::GetLetterOfStandard(nStandard);
        settings.m_nMethodIndex = 0;
        settings.m_chDirectionLetter[0] = L'P';
        settings.m_chDirectionLetter[1] = L'D';
        CManualDataEntryDialog& m = *V()->m_pManualEntry;
        m.m_chFanCode = L'3';
        m.m_pFanCalibration = V()->m_pFanCalibration;
        const wchar_t* const kRows[3][4] = {{L"50", L"1", L"120.5", L"2710"},
                                            {L"40", L"1", L"85.25", L"2270"},
                                            {L"30", L"2", L"140", L"1180"}};
        for (int d = 0; d < 2; ++d) {
            settings.m_chMethodLetter[d] = CTestSettingsDialog::GetMethodLetter(0);
            const wchar_t* pszSign = d == 0 ? L"" : L"-";
            for (int r = 1; r <= 3; ++r) {
                m.m_strBuildingP[d][r] = CString(pszSign) + kRows[r - 1][0];
                m.m_nRing[d][r] = kRows[r - 1][1][0] - L'0';
                m.m_strFanP[d][r] = kRows[r - 1][2];
                m.m_strFlow[d][r] = kRows[r - 1][3];
            }
            m.m_nGauge[d] = d;
            m.m_nRowCount[d] = 3;
        }
        CBaselineDataEntry& b = *V()->m_pBaseline;
        if (nStandard == 1) {
            // Readings in slot 0, the gauge's averages in slot 1.
            b.m_nDataSource[0] = 0;
            b.m_strPretestReadings[0] = L"1.2\r\n-0.5\r\n0.8";
            b.m_strPosttestReadings[0] = L"0.4\r\n0.6";
            b.ComputePretestAverages(0);
            b.ComputePosttestAverages(0);
            b.m_nDataSource[1] = 1;
            b.m_strPretestAvg[1] = L"-0.3";
            b.m_strPretestPlus[1] = L"0.1";
            b.m_strPretestMinus[1] = L"-0.4";
            b.m_strPosttestAvg[1] = L"-0.2";
            b.m_strPosttestPlus[1] = L"0.2";
            b.m_strPosttestMinus[1] = L"-0.5";
            for (int d = 0; d < 2; ++d) {
                m.m_strBuildingP[d][0] = b.m_strPretestAvg[d];
                m.m_strBuildingP[d][CManualDataEntryDialog::kRows - 1] = b.m_strPosttestAvg[d];
            }
        } else {
            m.m_strBuildingP[0][0] = L"0.5";
            m.m_strBuildingP[0][CManualDataEntryDialog::kRows - 1] = L"0.7";
            m.m_strBuildingP[1][0] = L"-0.25";
            m.m_strBuildingP[1][CManualDataEntryDialog::kRows - 1] = L"-0.75";
        }
        CTestGraph1& s = Store();
        for (int d = 0; d < 2; ++d) {
            m.m_dPreBaseline[d] = CSimbrel1View::TextToDouble(m.m_strBuildingP[d][0]);
            m.m_dPostBaseline[d] = CSimbrel1View::TextToDouble(m.m_strBuildingP[d][CManualDataEntryDialog::kRows - 1]);
            if (nStandard == 0) {
                V()->m_pTemperature->m_strTestIndoorTemp[d][0] = L"21";
                V()->m_pTemperature->m_strTestOutdoorTemp[d][0] = L"4.5";
            } else {
                V()->m_pTempBaro->m_strTestIndoorTemp[d][0] = L"21";
                V()->m_pTempBaro->m_strTestOutdoorTemp[d][0] = L"4.5";
                V()->m_pTempBaro->m_nTestPressureSource[d][0] = 0;
            }
            s.LoadManualEntryData(d);
            for (int phase = 0; phase < 2; ++phase) {
                s.m_TestTin[phase][d][0] = 21.0;
                s.m_TestTout[phase][d][0] = 4.5;
                s.m_TestPbaro[phase][d][0] = 101325.0;
            }
        }
    }
};

}  // namespace

// A manual test saved, followed by New Test and opened through the
// program's own writer and reader: the same rows, rings, flow sources,
// baseline texts and averages, and the same results.
TEST_F(ManualRoundTripTest, RowsBaselinesAndResultsComeBackAfterNewTestAndOpen)
{
    for (const int nStandard : {0, 1}) {
        SCOPED_TRACE(nStandard);
        FillManualTest(nStandard);
        CManualDataEntryDialog& m = *V()->m_pManualEntry;
        CBaselineDataEntry& b = *V()->m_pBaseline;
        CManualDataEntryDialog expected;
        for (int d = 0; d < 2; ++d) {
            for (int r = 0; r < CManualDataEntryDialog::kRows; ++r) {
                expected.m_strBuildingP[d][r] = m.m_strBuildingP[d][r];
                expected.m_strFanP[d][r] = m.m_strFanP[d][r];
                expected.m_strFlow[d][r] = m.m_strFlow[d][r];
                expected.m_nRing[d][r] = m.m_nRing[d][r];
            }
        }
        CBaselineDataEntry expectedBaseline;
        for (int d = 0; d < 2; ++d) {
            expectedBaseline.m_nDataSource[d] = b.m_nDataSource[d];
            expectedBaseline.m_strPretestAvg[d] = b.m_strPretestAvg[d];
            expectedBaseline.m_strPosttestMinus[d] = b.m_strPosttestMinus[d];
            expectedBaseline.m_strPretestReadings[d] = b.m_strPretestReadings[d];
        }
        CTestResultsDialog& results = *V()->m_pResults;
        std::vector<CResultValue> before[2];
        for (int d = 0; d < 2; ++d) {
            V()->UpdateResults(d);
            before[d].assign(results.m_Results[d], results.m_Results[d] + CTestResultsDialog::kEntries);
            ASSERT_EQ(before[d][CTestResultsDialog::kC].m_bValid, 1) << d;
        }

        const std::wstring path = m_folder + (nStandard == 0 ? L"manual-cgsb.bld" : L"manual-en.bld");
        m_answerer.ReplyToFileDialog(path);
        ASSERT_EQ(V()->SaveCurrentTestFile(), CSimbrel1View::kSaveWritten);
        NewTest();
        ASSERT_TRUE(m.m_strBuildingP[0][1].IsEmpty());
        ASSERT_EQ(Store().m_CompletedTests[1], 0);
        V()->OpenFile(0, path.c_str());

        for (int d = 0; d < 2; ++d) {
            SCOPED_TRACE(d);
            for (int r = 0; r < CManualDataEntryDialog::kRows; ++r) {
                EXPECT_EQ(m.m_strBuildingP[d][r], expected.m_strBuildingP[d][r]) << r;
                EXPECT_EQ(m.m_nRing[d][r], expected.m_nRing[d][r]) << r;
                if (r >= 1 && r < CManualDataEntryDialog::kRows - 1) {
                    EXPECT_EQ(m.m_strFanP[d][r], expected.m_strFanP[d][r]) << r;
                    EXPECT_EQ(m.m_strFlow[d][r], expected.m_strFlow[d][r]) << r;
                }
            }
            EXPECT_EQ(m.m_nGauge[d], d);
            if (nStandard == 1) {
                EXPECT_EQ(b.m_nDataSource[d], expectedBaseline.m_nDataSource[d]);
                EXPECT_EQ(b.m_strPretestAvg[d], expectedBaseline.m_strPretestAvg[d]);
                EXPECT_EQ(b.m_strPosttestMinus[d], expectedBaseline.m_strPosttestMinus[d]);
                EXPECT_EQ(b.m_strPretestReadings[d], expectedBaseline.m_strPretestReadings[d]);
            }
            V()->UpdateResults(d);
            for (const int e : {CTestResultsDialog::kC, CTestResultsDialog::kN, CTestResultsDialog::kFlowAtRef}) {
                const CResultValue& now = results.m_Results[d][e];
                EXPECT_EQ(now.m_bValid, before[d][e].m_bValid) << "entry " << e;
                // The file holds the measured points to the digits it writes.
                EXPECT_NEAR(now.m_dValue, before[d][e].m_dValue, 1e-7 * std::fabs(before[d][e].m_dValue)) << "entry " << e;
            }
        }
        NewTest();
    }
}
