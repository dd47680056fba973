// The Deviations from Standard page in the running program: its texts per
// standard, what its buttons and keys ask of the view, the check box stored
// at once, and the focus kept from one opening to the next.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1App.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

class DeviationsPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        dev = m_pView->m_pDeviations;
        dev->ClearAllDeviations();
    }
    void TearDown() override
    {
        if (dev != nullptr && dev->GetSafeHwnd() != nullptr)
            dev->DestroyWindow();
        CloseProgram();
        g_pView = nullptr;
    }

    void Open()
    {
        dev->ShowPage();
        ASSERT_NE(dev->GetSafeHwnd(), nullptr);
        PumpPending();
    }
    HWND Page() const { return dev->GetSafeHwnd(); }
    bool Visible(int nID) const { return (::GetWindowLongPtrW(::GetDlgItem(Page(), nID), GWL_STYLE) & WS_VISIBLE) != 0; }

    CDeviationsFromStandard* dev = nullptr;
};

TEST_F(DeviationsPageTest, TextsFollowTheStandardAndTheZoneSwitch)
{
    struct PageCase {
        int nStandard;
        bool bZones;
        const wchar_t* pszTitle;
        bool bCheckBox;
        const wchar_t* pszPreviousLabel;
    } cases[] = {
        {0, false, L"Deviations from CGSB Standard", false, L"to Test Results"},
        {1, true, L"Deviations from EN 13829 Standard", true, L"to Zone Data"},
        {2, false, L"Deviations from ASTM E779-10 Standard", false, L"to Test Results"},
        {3, true, L"Deviations from ISO 9972 Standard", true, L"to Zone Data"},
    };
    m_pView->m_pTestGraph->m_CompletedTests[1] = 1;
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.nStandard);
        m_pView->m_pSettings->m_nStandard = c.nStandard;
        m_pView->m_pSettings->m_bZonalActive = c.bZones ? 1 : 0;
        Open();
        EXPECT_EQ(WindowText(Page()), L"Deviation from Standard - Measurement Data");
        EXPECT_EQ(ItemText(Page(), IDC_DEVIATIONS_TITLE), c.pszTitle);
        EXPECT_EQ(Visible(IDC_DEVIATIONS_INCLUDE), c.bCheckBox);
        EXPECT_EQ(ItemText(Page(), IDC_DEVIATIONS_INCLUDE), L"Include deviations in test report");
        EXPECT_EQ(ItemText(Page(), IDC_DEVIATIONS_PREVIOUS), L"Previous");
        EXPECT_EQ(ItemText(Page(), IDC_DEVIATIONS_HELP), L"Help");
        EXPECT_EQ(ItemText(Page(), IDC_DEVIATIONS_PREVIOUS_LABEL), c.pszPreviousLabel);
        EXPECT_FALSE(Visible(IDC_DEVIATIONS_NEXT));
        EXPECT_FALSE(Visible(IDC_DEVIATIONS_NEXT_LABEL));
        EXPECT_EQ(ItemText(Page(), IDC_DEVIATIONS_TEXT), L"\r\n  Depressurization Test 1:\r\n\r\n    None\r\n");
        EXPECT_EQ(dev->m_bCreated, 1);
        dev->DestroyWindow();
        EXPECT_EQ(dev->m_bCreated, 0);
    }
}

TEST_F(DeviationsPageTest, ButtonsAndKeysAskTheViewToMoveOn)
{
    m_pView->m_pSettings->m_nStandard = 0;
    Open();
    struct Step {
        const char* pszName;
        std::function<void()> act;
        LPARAM nAction;
    } steps[] = {
        {"Previous", [&] { ClickItem(Page(), IDC_DEVIATIONS_PREVIOUS); }, CSimbrel1View::kPagePrevious},
        {"Esc", [&] { ::SetFocus(::GetDlgItem(Page(), IDC_DEVIATIONS_TEXT)); PressKey(VK_ESCAPE); },
         CSimbrel1View::kPageCancel},
        {"hidden OK", [&] { ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); },
         CSimbrel1View::kPageOK},
        {"hidden Next", [&] { ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_DEVIATIONS_NEXT, BN_CLICKED), 0); },
         CSimbrel1View::kPageNext},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.pszName);
        s.act();
        const auto requests = PumpCollectingRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].first, 240u);
        EXPECT_EQ(requests[0].second, s.nAction);
    }
    // Help shows topic 205 modally and asks nothing of the view.
    m_answerer.ReplyToDialog(IDD_HELP_PANEL, IDOK);
    ClickItem(Page(), IDC_DEVIATIONS_HELP);
    EXPECT_TRUE(PumpCollectingRequests().empty());
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(DeviationsPageTest, CheckBoxIsStoredAtOnce)
{
    m_pView->m_pSettings->m_nStandard = 3;
    dev->m_bIncludeInReport = 1;
    Open();
    EXPECT_EQ(::IsDlgButtonChecked(Page(), IDC_DEVIATIONS_INCLUDE), static_cast<UINT>(BST_CHECKED));
    ClickItem(Page(), IDC_DEVIATIONS_INCLUDE);
    PumpCollectingRequests();
    EXPECT_EQ(dev->m_bIncludeInReport, 0);   // while the page is still open
    ClickItem(Page(), IDC_DEVIATIONS_INCLUDE);
    PumpCollectingRequests();
    EXPECT_EQ(dev->m_bIncludeInReport, 1);
}

TEST_F(DeviationsPageTest, FocusComesBackAtEveryOpeningAndAltGoesToTheMainWindow)
{
    m_pView->m_pSettings->m_nStandard = 1;
    Open();
    ::SetFocus(::GetDlgItem(Page(), IDC_DEVIATIONS_TEXT));
    PressKey(VK_TAB);   // the dialog manager moves on and the page notes where to
    PumpCollectingRequests();
    const HWND hFocus = ::GetFocus();
    ASSERT_TRUE(::IsChild(Page(), hFocus));
    const int nFocusId = ::GetDlgCtrlID(hFocus);
    EXPECT_EQ(dev->m_nFocusId, nFocusId);
    EXPECT_NE(nFocusId, IDC_DEVIATIONS_TEXT);
    const long nLive = CGdiObject::GetLiveObjectCount();
    for (int i = 0; i < 20; ++i) {
        dev->DestroyWindow();
        Open();
        ASSERT_EQ(::GetDlgCtrlID(::GetFocus()), nFocusId) << "opening " << i;
    }
    EXPECT_EQ(CGdiObject::GetLiveObjectCount(), nLive);

    const UINT nScan = ::MapVirtualKeyW(VK_MENU, MAPVK_VK_TO_VSC);
    ::PostMessageW(::GetFocus(), WM_SYSKEYDOWN, VK_MENU, static_cast<LPARAM>(1 | (nScan << 16) | (1u << 29)));
    PumpCollectingRequests();
    // The frame hands its focus on to its view.
    const HWND hAfterAlt = ::GetFocus();
    EXPECT_TRUE(hAfterAlt == m_pFrame->GetSafeHwnd() || ::IsChild(m_pFrame->GetSafeHwnd(), hAfterAlt));
    EXPECT_FALSE(::IsChild(Page(), hAfterAlt));
}

// A picture for a person to look at (saved when VUDADAR_SCREENS names a
// folder): a wrapped line, a record-wide text and "None".
TEST_F(DeviationsPageTest, ScreenshotWithAWrappedLineAndNone)
{
    m_pView->m_pSettings->m_nStandard = 3;
    m_pView->m_pTestGraph->m_CompletedTests[0] = 2;
    m_pView->m_pTestGraph->m_CompletedTests[1] = 1;
    CString strText;
    ASSERT_TRUE(strText.LoadString(IDS_DEV_OFF_TARGET));
    dev->SetDeviation(16, strText, 0, 1);
    ASSERT_TRUE(strText.LoadString(IDS_DEV_LOWEST_PRESSURE));
    dev->SetDeviation(34, strText, 0, 1);
    dev->SetDeviation(0, L"n value (0.494) outside of acceptable limits (0,5 \u2264 n \u2264 1).", 0, 1);
    m_pView->m_bLayoutPending = 1;
    Open();
    const std::wstring text = ItemText(Page(), IDC_DEVIATIONS_TEXT);
    EXPECT_NE(text.find(L"    None\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\r\n        Pascals from the target pressure."), std::wstring::npos) << CString(text.c_str()).ToAnsi();
    const std::wstring picture = SaveScreenshot(Page(), L"deviations-page.png");
    if (!ScreensFolder().empty()) {
        EXPECT_TRUE(FileExists(picture));
    }
}
