// The ring change dialog in its two modes (ring change; target check with a
// warning, moved buttons and Y/N keys) and the installed-ring dialog (ring
// buttons per fan, captions by test or cruise, results, preselection).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"
#include "testrun/RingDialogs.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

void PostKey(HWND hDialog, UINT nKey)
{
    HWND hFocus = ::GetFocus();
    ::PostMessageW(hFocus != nullptr ? hFocus : hDialog, WM_KEYDOWN, nKey, 1);
}

std::wstring Text(UINT nID)
{
    return LoadText(nID).GetString();
}

// The height a static control's text takes when wrapped in the control's
// width, in its own font.
int WrappedTextHeight(HWND hStatic)
{
    const int nLength = ::GetWindowTextLengthW(hStatic);
    std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
    ::GetWindowTextW(hStatic, text.data(), nLength + 1);
    RECT rc;
    ::GetClientRect(hStatic, &rc);
    const HDC hdc = ::GetDC(hStatic);
    const HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HFONT>(::SendMessageW(hStatic, WM_GETFONT, 0, 0)));
    ::DrawTextW(hdc, text.c_str(), nLength, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hStatic, hdc);
    return rc.bottom - rc.top;
}

constexpr int kRingIds[5] = {IDC_RING_TYPE_RING1, IDC_RING_TYPE_RING2, IDC_RING_TYPE_RING3, IDC_RING_TYPE_RING4,
                             IDC_RING_TYPE_RING5};

class RingDialogs : public testing::Test {
protected:
    INT_PTR Run(CDialog& dialog, UINT nIDD, std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(nIDD, m_driver.Run(std::move(steps)));
        return dialog.DoModal();
    }

    CTestView m_view{L"ring-dialogs"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scoped{m_answerer};
    CDialogDriver m_driver;
};

TEST(RingDialogTexts, TargetCheckTextAndCaption)
{
    struct Case {
        int bFive, nStandard;
        UINT nText, nCaption;
    } cases[] = {
        {1, 3, IDS_ISO_MIN_TARGET_CHECK, IDS_MIN_TARGET_CAPTION},
        {1, 0, IDS_BASELINE_MIN_TARGET_CHECK, IDS_HIGH_BASELINE_CAPTION},
        {1, 2, IDS_BASELINE_MIN_TARGET_CHECK, IDS_HIGH_BASELINE_CAPTION},
        {0, 3, IDS_BELOW_10_PA_TARGET_CHECK, IDS_MIN_TARGET_CAPTION},
        {0, 0, IDS_BELOW_10_PA_TARGET_CHECK, IDS_MIN_TARGET_CAPTION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bFive << ", standard " << c.nStandard);
        const std::wstring text = CChangeRingDialog::GetTargetCheckText(c.bFive, c.nStandard, 25).GetString();
        CString strExpected;
        strExpected.Format(LoadText(c.nText).GetString(), 25);
        EXPECT_EQ(std::wstring(strExpected.GetString()), text);
        EXPECT_EQ(c.bFive != 0, text.find(L"25 Pa") != std::wstring::npos);
        EXPECT_EQ(c.nCaption, CChangeRingDialog::GetTargetCheckCaptionId(c.bFive, c.nStandard));
    }
    EXPECT_EQ(22321u, static_cast<UINT>(IDS_ISO_MIN_TARGET_CHECK));
    EXPECT_EQ(17077u, static_cast<UINT>(IDS_BASELINE_MIN_TARGET_CHECK));
    EXPECT_EQ(17081u, static_cast<UINT>(IDS_BELOW_10_PA_TARGET_CHECK));
}

TEST_F(RingDialogs, TargetCheckModeMovesTheButtonsDown)
{
    struct Layout {
        std::wstring caption, warning;
        CRect first, orText, second, warningRect, client;
        bool bWarningShown = false, bHelpShown = false;
        int nWarningTextHeight = 0;   // the warning wrapped in its own width
    };
    auto layoutOf = [this](int bFive, int nStandard, const wchar_t* pszShot) {
        m_view->m_pSettings->m_nStandard = nStandard;
        CChangeRingDialog dialog;
        dialog.m_pView = m_view.Get();
        dialog.m_bFiveTimesBaseline = bFive;
        dialog.m_nSuggestedMinimumTarget = 25;
        int nHelp = 0;
        dialog.m_strFirstButton = CTestGraph1::GetRingPromptText(2, L'3', nHelp);
        dialog.m_strSecondButton = LoadText(IDS_PRESS_TO_END_AT_PREVIOUS);
        Layout layout;
        EXPECT_EQ(1, Run(dialog, IDD_CHANGE_RING, {[&](HWND h) {
                                                       layout.caption = WindowText(h);
                                                       layout.warning = ItemText(h, IDC_CHANGE_RING_WARNING);
                                                       layout.first = ItemRect(h, IDC_CHANGE_RING_FIRST);
                                                       layout.orText = ItemRect(h, IDC_CHANGE_RING_OR);
                                                       layout.second = ItemRect(h, IDC_CHANGE_RING_SECOND);
                                                       layout.warningRect = ItemRect(h, IDC_CHANGE_RING_WARNING);
                                                       ::GetClientRect(h, &layout.client);
                                                       layout.bWarningShown = ::IsWindowVisible(
                                                           ::GetDlgItem(h, IDC_CHANGE_RING_WARNING));
                                                       layout.bHelpShown = ::IsWindowVisible(
                                                           ::GetDlgItem(h, IDC_CHANGE_RING_HELP));
                                                       layout.nWarningTextHeight = WrappedTextHeight(
                                                           ::GetDlgItem(h, IDC_CHANGE_RING_WARNING));
                                                       SaveScreenshot(h, pszShot);
                                                   },
                                                   [](HWND h) { SendClicked(h, IDC_CHANGE_RING_FIRST); }}));
        return layout;
    };
    const Layout ring = layoutOf(0, 3, L"ring-change.png");
    // The target check: five times the baseline under ISO 9972.
    const Layout target = layoutOf(1, 3, L"ring-change-target-check.png");
    // Its longest text, under other standards.
    const Layout baseline = layoutOf(1, 0, L"ring-change-baseline-check.png");
    EXPECT_EQ(Text(IDS_HIGH_BASELINE_CAPTION), baseline.caption);
    // The whole warning shows, the question at its end included.
    for (const Layout* pLayout : {&target, &baseline}) {
        EXPECT_GT(pLayout->nWarningTextHeight, 0);
        EXPECT_LE(pLayout->nWarningTextHeight, pLayout->warningRect.Height());
        EXPECT_NE(std::wstring::npos, pLayout->warning.find(L"customize the list"));
        EXPECT_NEAR(pLayout->client.right - pLayout->second.right, pLayout->second.left - pLayout->client.left, 1);
        EXPECT_EQ(ring.client.bottom - ring.second.bottom, pLayout->client.bottom - pLayout->second.bottom);
        EXPECT_GE(pLayout->first.top, pLayout->warningRect.bottom);
    }
    EXPECT_EQ(Text(IDS_CHANGE_RING_CAPTION), ring.caption);
    EXPECT_FALSE(ring.bWarningShown);
    EXPECT_TRUE(ring.bHelpShown);
    EXPECT_EQ(Text(IDS_MIN_TARGET_CAPTION), target.caption);
    EXPECT_TRUE(target.bWarningShown);
    EXPECT_FALSE(target.bHelpShown);
    EXPECT_NE(std::wstring::npos, target.warning.find(L"25 Pa"));
    EXPECT_EQ(86, target.first.top - ring.first.top);
    EXPECT_EQ(80, target.orText.top - ring.orText.top);
    EXPECT_EQ(74, target.second.top - ring.second.top);
    EXPECT_EQ(80, target.warningRect.Height() - ring.warningRect.Height());
    EXPECT_EQ(ring.first.Height(), target.first.Height());
    // Both answers stay inside the dialog, with the same margin below.
    EXPECT_LE(target.second.bottom, target.client.bottom);
    EXPECT_EQ(ring.client.bottom - ring.second.bottom, target.client.bottom - target.second.bottom);
}

TEST_F(RingDialogs, YesAndNoKeysOnlyInTheTargetCheck)
{
    const wchar_t chYes = CSimbrel1View::GetStringInitial(IDS_MSG_YES, 1);
    const wchar_t chNo = CSimbrel1View::GetStringInitial(IDS_MSG_NO, 1);
    ASSERT_NE(L'\0', chYes);
    ASSERT_NE(L'\0', chNo);
    const UINT nYes = static_cast<UINT>(chYes), nNo = static_cast<UINT>(chNo);
    const UINT nSmallYes = static_cast<UINT>(::towlower(chYes)), nSmallNo = static_cast<UINT>(::towlower(chNo));
    struct Case {
        const char* name;
        int bBelow10;
        UINT nMessage, nKey;
        INT_PTR nResult;   // 0: the key is ignored, the second button then ends it
    } cases[] = {
        {"yes key", 1, WM_KEYDOWN, nYes, 1},
        {"no key", 1, WM_KEYDOWN, nNo, 2},
        {"small yes typed", 1, WM_CHAR, nSmallYes, 1},
        {"capital no typed", 1, WM_CHAR, nNo, 2},
        {"small no typed", 1, WM_CHAR, nSmallNo, 2},
        {"esc swallowed in the check", 1, WM_KEYDOWN, VK_ESCAPE, 0},
        // The key code of a small letter is another key (F10 for 'y').
        {"small letter's code is another key", 1, WM_KEYDOWN, nSmallYes, 0},
        {"yes ignored in a ring change", 0, WM_KEYDOWN, nYes, 0},
        {"no typed ignored in a ring change", 0, WM_CHAR, nSmallNo, 0},
        {"esc swallowed in a ring change", 0, WM_KEYDOWN, VK_ESCAPE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CChangeRingDialog dialog;
        dialog.m_pView = m_view.Get();
        dialog.m_bBelow10Pa = c.bBelow10;
        bool bOpenAfterKey = false;
        const INT_PTR nResult = Run(dialog, IDD_CHANGE_RING,
                                    {[&](HWND h) {
                                         HWND hFocus = ::GetFocus();
                                         ::PostMessageW(hFocus != nullptr ? hFocus : h, c.nMessage, c.nKey, 1);
                                     },
                                     [&](HWND h) {
                                         bOpenAfterKey = ::IsWindowVisible(h) != FALSE;
                                         SendClicked(h, IDC_CHANGE_RING_SECOND);
                                     }});
        EXPECT_EQ(c.nResult == 0, bOpenAfterKey);
        EXPECT_EQ(c.nResult != 0 ? c.nResult : 2, nResult);
    }
}

TEST(RingDialogTexts, RingButtonsPerFan)
{
    struct Case {
        wchar_t chFan;
        const wchar_t* labels;
        int nRings;
    } cases[] = {
        {L'3', L"ABCDE", 5}, {L'5', L"ABCDE", 5}, {L'4', L"ABCDE", 5},
        {L'A', L"123", 3},   {L'B', L"1234", 4},  {L'C', L"123", 3},
    };
    for (const Case& c : cases) {
        const CRingTypeDialog::CRingButtons buttons = CRingTypeDialog::GetRingButtons(c.chFan);
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(testing::Message() << "fan " << static_cast<char>(c.chFan) << " ring " << i + 1);
            EXPECT_EQ(i < c.nRings, buttons.bShown[i] != 0);
            EXPECT_EQ(i < c.nRings, buttons.bEnabled[i] != 0);
            if (i < c.nRings) {
                EXPECT_EQ(c.labels[i], buttons.chLabel[i]);
            }
        }
        EXPECT_EQ(c.nRings, CTestGraph1::GetLastRing(c.chFan));
    }
}

TEST_F(RingDialogs, InstalledRingDialog)
{
    struct Case {
        wchar_t chFan;
        int nCruise;
        int nGiven, nPreselected;
        int nChoose;   // -1: keep; else the radio to check before OK
        bool bTerminate;
        INT_PTR nResult;
        int nStored;
        const wchar_t* shot;
    } cases[] = {
        {L'4', 0, 2, 2, 3, false, IDOK, 3, L"ring-type-fan-4.png"},
        {L'A', 1, 1, 1, -1, false, IDOK, 1, L"ring-type-fan-A.png"},
        // A ring the fan lacks (left from another fan): the open fan.
        {L'A', 0, 5, 0, -1, false, IDOK, 0, nullptr},
        {L'B', 0, 5, 0, -1, true, CRingTypeDialog::kResultTerminate, 0, nullptr},
        {L'3', 0, -1, 0, -1, true, CRingTypeDialog::kResultTerminate, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "fan " << static_cast<char>(c.chFan) << " ring " << c.nGiven);
        m_view->m_pTestGraph->m_CruiseMode = c.nCruise;
        CRingTypeDialog dialog;
        dialog.m_pView = m_view.Get();
        dialog.m_chFanCode = c.chFan;
        dialog.m_nInstalledRing = c.nGiven;
        std::wstring terminate, proceed, labels;
        int nChecked = -1;
        bool bShown[5] = {};
        const INT_PTR nResult = Run(
            dialog, IDD_RING_TYPE,
            {[&](HWND h) {
                 terminate = ItemText(h, IDC_RING_TYPE_TERMINATE);
                 proceed = ItemText(h, IDOK);
                 for (int i = 0; i < 5; ++i) {
                     bShown[i] = ::IsWindowVisible(::GetDlgItem(h, kRingIds[i])) != FALSE;
                     labels += ItemText(h, kRingIds[i]);
                 }
                 const int ids[6] = {IDC_RING_TYPE_NONE, kRingIds[0], kRingIds[1], kRingIds[2], kRingIds[3],
                                     kRingIds[4]};
                 for (int i = 0; i < 6; ++i)
                     if (::IsDlgButtonChecked(h, ids[i]) == BST_CHECKED)
                         nChecked = i;
                 if (c.shot != nullptr)
                     SaveScreenshot(h, c.shot);
             },
             [](HWND h) { PostKey(h, VK_ESCAPE); },
             [&](HWND h) {
                 // The ring's button clicked, as a user does.
                 if (c.nChoose >= 1)
                     ::SendMessageW(::GetDlgItem(h, kRingIds[c.nChoose - 1]), BM_CLICK, 0, 0);
                 SendClicked(h, c.bTerminate ? IDC_RING_TYPE_TERMINATE : IDOK);
             }});
        EXPECT_EQ(c.nResult, nResult);
        EXPECT_EQ(c.nPreselected, nChecked);
        const std::wstring what = c.nCruise ? L"Cruise" : L"Test";
        EXPECT_EQ(L"Terminate " + what, terminate);
        EXPECT_EQ(L"Proceed with " + what, proceed);
        const int nRings = CTestGraph1::GetLastRing(c.chFan);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(i < nRings, bShown[i]) << "ring " << i + 1;
        EXPECT_EQ(c.chFan == L'A' ? L"12345" : (c.chFan == L'B' ? L"12345" : L"ABCDE"), labels);
        if (!c.bTerminate) {
            EXPECT_EQ(c.nStored, dialog.m_nInstalledRing);
        }
    }
    m_view->m_pTestGraph->m_CruiseMode = 0;
}

}  // namespace
