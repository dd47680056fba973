// The cruise conditions dialog (pressure range, an empty text, Cancel
// Cruise, Esc swallowed, captions) and the data point selection dialog
// (one row as a plain label, four as buttons, switching rows, the position
// kept on OK).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Simbrel1View.h"
#include "res/resource.h"
#include "testrun/CruiseDialogs.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

bool IsShown(HWND hDialog, int nID)
{
    return (::GetWindowLongW(::GetDlgItem(hDialog, nID), GWL_STYLE) & WS_VISIBLE) != 0;
}

class CruiseDialog : public testing::Test {
protected:
    INT_PTR Run(CDialog& dialog, UINT nIDD, std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(nIDD, m_driver.Run(std::move(steps)));
        return dialog.DoModal();
    }

    CTestView m_view{L"cruise-dialog"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scoped{m_answerer};
    CDialogDriver m_driver;
};

TEST_F(CruiseDialog, PressureRangeAndEmptyText)
{
    struct Case {
        const wchar_t* text;
        bool bAccepted;
        double dValue;
    } cases[] = {
        {L"-100", true, -100.0}, {L"100", true, 100.0}, {L"", true, 0.0}, {L"25.5", true, 25.5},
        {L"-100.1", false, 0.0}, {L"100.5", false, 0.0},
    };
    for (const Case& c : cases) {
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        CDialogDriver driver;
        CCruiseDialog dialog;
        dialog.m_pView = m_view.Get();
        dialog.m_nBaseline = 0;
        dialog.m_strCruisePressure = c.text;
        if (!c.bAccepted)
            answerer.ReplyToProgramMessage(IDS_CRUISE_PRESSURE_RANGE, IDOK);
        bool bStillOpen = false;
        int nFocusId = 0;
        std::vector<CDialogDriver::Step> steps = {[](HWND h) { SendClicked(h, IDOK); }};
        if (!c.bAccepted) {
            // Still open after the message: the field has the focus, and Cancel ends it.
            steps.push_back([&](HWND h) {
                bStillOpen = ::IsWindow(h) != FALSE;
                nFocusId = ::GetDlgCtrlID(::GetFocus());
                SendClicked(h, IDCANCEL);
            });
        }
        answerer.RunDialog(IDD_CRUISE, driver.Run(std::move(steps)));
        const INT_PTR nResult = dialog.DoModal();
        if (c.bAccepted) {
            EXPECT_EQ(IDOK, nResult) << c.text;
            EXPECT_DOUBLE_EQ(c.dValue, dialog.m_dCruisePressure) << c.text;
            EXPECT_TRUE(answerer.programMessages.empty()) << c.text;
        } else {
            EXPECT_EQ(IDCANCEL, nResult) << c.text;
            EXPECT_TRUE(bStillOpen) << c.text;
            EXPECT_EQ(IDC_CRUISE_PRESSURE, nFocusId) << c.text;
            ASSERT_EQ(1u, answerer.programMessages.size()) << c.text;
            EXPECT_EQ(175, answerer.programMessages[0].nIcon);
            EXPECT_EQ(0, answerer.programMessages[0].nKind);
        }
        EXPECT_TRUE(answerer.AllRepliesUsed()) << c.text;
    }
}

TEST_F(CruiseDialog, CancelCruiseIsNotCheckedAndEscIsSwallowed)
{
    CCruiseDialog dialog;
    dialog.m_pView = m_view.Get();
    dialog.m_nBaseline = 1;
    dialog.m_strCruisePressure = L"500";   // out of range, but Cancel Cruise checks nothing
    bool bOpenAfterEsc = false;
    std::wstring caption, cancel, group, label, yes, no;
    int nBaselineShown = -1;
    const INT_PTR nResult = Run(dialog, IDD_CRUISE,
                                {[&](HWND h) {
                                     caption = WindowText(h);
                                     cancel = ItemText(h, IDCANCEL);
                                     group = ItemText(h, IDC_CRUISE_GROUP);
                                     label = ItemText(h, IDC_CRUISE_PRESSURE_LABEL);
                                     yes = ItemText(h, IDC_CRUISE_BASELINE_YES);
                                     no = ItemText(h, IDC_CRUISE_BASELINE_NO);
                                     nBaselineShown = ::IsDlgButtonChecked(h, IDC_CRUISE_BASELINE_YES);
                                     SaveScreenshot(h, L"cruise-dialog.png");
                                     ::SetFocus(::GetDlgItem(h, IDC_CRUISE_PRESSURE));
                                     PressKey(VK_ESCAPE);
                                 },
                                 [&](HWND h) {
                                     bOpenAfterEsc = ::IsWindow(h) != FALSE;
                                     SendClicked(h, IDCANCEL);
                                 }});
    EXPECT_TRUE(bOpenAfterEsc);
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_TRUE(m_answerer.programMessages.empty());
    EXPECT_EQ(L"Cruise Test Conditions", caption);
    EXPECT_EQ(L"Cancel Cruise", cancel);
    EXPECT_EQ(L"Baseline", group);
    EXPECT_EQ(L"Cruise Pressure (Pa)", label);
    EXPECT_EQ(L"Yes", yes);
    EXPECT_EQ(L"No", no);
    EXPECT_EQ(BST_CHECKED, nBaselineShown);
}

TEST_F(CruiseDialog, BaselineChoiceIsTakenOnOk)
{
    CCruiseDialog dialog;
    dialog.m_pView = m_view.Get();
    dialog.m_nBaseline = -1;
    dialog.m_strCruisePressure = L"50";
    const INT_PTR nResult = Run(dialog, IDD_CRUISE, {[](HWND h) {
                                                         ::CheckDlgButton(h, IDC_CRUISE_BASELINE_YES, BST_CHECKED); ::CheckDlgButton(h, IDC_CRUISE_BASELINE_NO, BST_UNCHECKED);
                                                         ::SetDlgItemTextW(h, IDC_CRUISE_PRESSURE, L"-35");
                                                         SendClicked(h, IDOK);
                                                     }});
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(1, dialog.m_nBaseline);
    EXPECT_EQ(std::wstring(L"-35"), dialog.m_strCruisePressure.GetString());
    EXPECT_DOUBLE_EQ(-35.0, dialog.m_dCruisePressure);
}

TEST(CruisePressure, LeadingNumberOrZero)
{
    EXPECT_DOUBLE_EQ(0.0, CCruiseDialog::ParsePressure(L"abc"));
    EXPECT_DOUBLE_EQ(12.5, CCruiseDialog::ParsePressure(L"12.5 Pa"));
    EXPECT_DOUBLE_EQ(-7.0, CCruiseDialog::ParsePressure(L" -7"));
}

void FillRows(CDataPointSelected& dialog, int nRows)
{
    dialog.m_nRows = nRows;
    for (int r = 0; r < nRows; ++r) {
        dialog.m_strLabel[r].Format(L"Pressurization Test: %d    Target Pressure: %d.0 Pa", r + 1, 10 * (r + 2));
        dialog.m_strPressure[r].Format(L"%d.5", 10 * (r + 2));
        dialog.m_strFlow[r].Format(L"%d.0", 1000 + r);
        dialog.m_strRing[r] = CString(static_cast<wchar_t>(L'A' + r));
        dialog.m_nDirection[r] = 0;
    }
}

TEST_F(CruiseDialog, SelectionWithOneRowShowsAPlainLabel)
{
    CDataPointSelected dialog;
    dialog.m_pView = m_view.Get();
    m_view->m_strFlowUnitName[0] = L"CFM";
    FillRows(dialog, 1);
    bool bLabelShown = false, bAnyButtonShown = true;
    std::wstring label, pressure, flowLabel, caption;
    const INT_PTR nResult = Run(dialog, IDD_DATA_POINT_SELECTED, {[&](HWND h) {
                                                                      bLabelShown = IsShown(h, IDC_SELECTED_SINGLE_LABEL);
                                                                      bAnyButtonShown = false;
                                                                      for (int id = IDC_SELECTED_ROW1;
                                                                           id <= IDC_SELECTED_ROW4; ++id)
                                                                          bAnyButtonShown |= IsShown(h, id);
                                                                      label = ItemText(h, IDC_SELECTED_SINGLE_LABEL);
                                                                      pressure = ItemText(h, IDC_SELECTED_PRESSURE);
                                                                      flowLabel = ItemText(h, IDC_SELECTED_FLOW_LABEL);
                                                                      caption = WindowText(h);
                                                                      SendClicked(h, IDOK);
                                                                  }});
    EXPECT_EQ(IDOK, nResult);
    EXPECT_TRUE(bLabelShown);
    EXPECT_FALSE(bAnyButtonShown);
    EXPECT_EQ(std::wstring(dialog.m_strLabel[0].GetString()), label);
    EXPECT_EQ(L"20.5", pressure);
    EXPECT_EQ(L"Fan Flow (CFM)", flowLabel);
    EXPECT_EQ(L"Data Point Selected", caption);
    EXPECT_EQ(0, dialog.m_bDelete);
}

TEST_F(CruiseDialog, SelectionWithFourRowsSwitchesAndKeepsItsPosition)
{
    CDataPointSelected dialog;
    dialog.m_pView = m_view.Get();
    FillRows(dialog, 4);
    dialog.m_x = 120;
    dialog.m_y = 90;
    int nShown = 0;
    bool bLabelShown = true;
    RECT rcStart{};
    std::wstring ringAfter, flowAfter;
    int nChecked[4] = {};
    const INT_PTR nResult = Run(dialog, IDD_DATA_POINT_SELECTED,
                                {[&](HWND h) {
                                     ::GetWindowRect(h, &rcStart);
                                     bLabelShown = IsShown(h, IDC_SELECTED_SINGLE_LABEL);
                                     for (int id = IDC_SELECTED_ROW1; id <= IDC_SELECTED_ROW4; ++id)
                                         nShown += IsShown(h, id) ? 1 : 0;
                                     SaveScreenshot(h, L"data-point-selected-four.png");
                                     SendClicked(h, IDC_SELECTED_ROW3);
                                 },
                                 [&](HWND h) {
                                     for (int r = 0; r < 4; ++r)
                                         nChecked[r] = ::IsDlgButtonChecked(h, IDC_SELECTED_ROW1 + r);
                                     ringAfter = ItemText(h, IDC_SELECTED_RING);
                                     flowAfter = ItemText(h, IDC_SELECTED_FLOW);
                                     // Clicking the selected row again keeps it selected.
                                     SendClicked(h, IDC_SELECTED_ROW3);
                                 },
                                 [&](HWND h) {
                                     EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(h, IDC_SELECTED_ROW3));
                                     ::CheckDlgButton(h, IDC_SELECTED_DELETE, BST_CHECKED);
                                     ::SetWindowPos(h, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                                     SendClicked(h, IDOK);
                                 }});
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(120, rcStart.left);
    EXPECT_EQ(90, rcStart.top);
    EXPECT_FALSE(bLabelShown);
    EXPECT_EQ(4, nShown);
    EXPECT_EQ(BST_UNCHECKED, nChecked[0]);
    EXPECT_EQ(BST_UNCHECKED, nChecked[1]);
    EXPECT_EQ(BST_CHECKED, nChecked[2]);
    EXPECT_EQ(BST_UNCHECKED, nChecked[3]);
    EXPECT_EQ(L"C", ringAfter);
    EXPECT_EQ(L"1002.0", flowAfter);
    EXPECT_EQ(2, dialog.m_nSelectedRow);
    EXPECT_EQ(1, dialog.m_bDelete);
    EXPECT_EQ(300, dialog.m_x);
    EXPECT_EQ(200, dialog.m_y);
}

}  // namespace
