// The pause dialog of a running test or cruise (captions, its three choices,
// Esc swallowed, the message fitted to its area) and the adjust-settings
// dialog it opens (values written on OK only, after the settings page's
// checks).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"
#include "testrun/PauseDialogs.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

std::wstring Widen(const CString& str)
{
    return str.GetString();
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

void PostKey(HWND hDialog, UINT nKey)
{
    HWND hFocus = ::GetFocus();
    ::PostMessageW(hFocus != nullptr ? hFocus : hDialog, WM_KEYDOWN, nKey, 1);
}

const wchar_t kLongWarning[] =
    L"WARNING! Excessive building pressure fluctuation\r\nfor the current target pressure, and a second line "
    L"that is much longer than the first so that the width decides.";

class PauseDialog : public testing::Test {
protected:
    // The adjust dialog works on the program's view.
    void SetUp() override { g_pView = m_view.Get(); }
    void TearDown() override { g_pView = nullptr; }
    INT_PTR Run(CTestPauseDialog& dialog, std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(IDD_TEST_PAUSE, m_driver.Run(std::move(steps)));
        return dialog.DoModal();
    }

    CTestView m_view{L"pause-dialog"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scoped{m_answerer};
    CDialogDriver m_driver;
};

TEST_F(PauseDialog, CaptionsFollowTheTestFlag)
{
    struct Case {
        int bTest;
        std::wstring proceed, stop;
        const wchar_t* shot;
    } cases[] = {
        {1, Widen(LoadText(IDS_MSG_PROCEED_WITH_TEST)), Widen(LoadText(IDS_STOP_TEST_CAPTION)), L"pause-test.png"},
        {0, L"Proceed with Cruise", L"Stop Cruise", L"pause-cruise-long-warning.png"},
    };
    for (const Case& c : cases) {
        CTestPauseDialog dialog;
        dialog.m_bTest = c.bTest;
        dialog.m_strMessage = c.bTest ? LoadText(IDS_TEST_IS_PAUSED) : CString(kLongWarning);
        std::wstring caption, proceed, stop, adjust;
        const INT_PTR nResult = Run(dialog, {[&](HWND h) {
                                                 caption = WindowText(h);
                                                 proceed = ItemText(h, IDC_PAUSE_PROCEED);
                                                 stop = ItemText(h, IDC_PAUSE_STOP);
                                                 adjust = ItemText(h, IDC_PAUSE_ADJUST);
                                                 SaveScreenshot(h, c.shot);
                                             },
                                             [](HWND h) { SendClicked(h, IDC_PAUSE_PROCEED); }});
        EXPECT_EQ(CTestPauseDialog::kResultProceed, nResult);
        EXPECT_EQ(L"Test Pause", caption);
        EXPECT_EQ(L"Adjust Auto Test Settings", adjust);
        EXPECT_EQ(c.proceed, proceed);
        EXPECT_EQ(c.stop, stop);
        EXPECT_FALSE(c.proceed.empty());
        EXPECT_GT(dialog.m_nLastMessageHeight, 0);
    }
}

TEST_F(PauseDialog, ResultsOfTheChoicesAndEscSwallowed)
{
    struct Case {
        const char* name;
        CDialogDriver::Step act;
        INT_PTR nResult;
    } cases[] = {
        {"proceed", [](HWND h) { SendClicked(h, IDC_PAUSE_PROCEED); }, 11},
        {"stop", [](HWND h) { SendClicked(h, IDC_PAUSE_STOP); }, 12},
        {"close box", [](HWND h) { ::PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestPauseDialog dialog;
        bool bOpenAfterEsc = false;
        const INT_PTR nResult = Run(dialog, {[](HWND h) { PostKey(h, VK_ESCAPE); },
                                             [&](HWND h) { bOpenAfterEsc = ::IsWindowVisible(h) != FALSE; },
                                             c.act});
        EXPECT_TRUE(bOpenAfterEsc);
        EXPECT_EQ(c.nResult, nResult);
    }
}

// Every control of the dialog is a button, and the dialog hands its own
// focus back to the last one: Enter always has a focused button to press.
TEST_F(PauseDialog, EnterPressesTheFocusedButton)
{
    struct Case {
        int nFocus;
        INT_PTR nResult;
    } cases[] = {{IDC_PAUSE_STOP, 12}, {IDC_PAUSE_PROCEED, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nFocus);
        CTestPauseDialog dialog;
        EXPECT_EQ(c.nResult, Run(dialog, {[&](HWND h) {
                                              ::SendMessageW(h, WM_NEXTDLGCTL,
                                                             reinterpret_cast<WPARAM>(::GetDlgItem(h, c.nFocus)), TRUE);
                                          },
                                          [](HWND) { PressKey(VK_RETURN); }}));
    }
}

TEST(PauseDialogMessage, HeightFitsBothWaysAndNeverAboveASeventh)
{
    // Measured at height / 20 = 7 in a 600 x 140 area; the cap is 20.
    struct Case {
        int cx, cy, nExpected;
    } cases[] = {
        {300, 7, 14},   // the width decides
        {100, 70, 14},  // the height decides
        {100, 7, 20},   // a short text: the cap
        {0, 0, 20},     // nothing measured (a string that failed to load)
        {0, 7, 20},     // an empty text measured one line high
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, CTestPauseDialog::ChooseMessageHeight(600, 140, CSize(c.cx, c.cy)))
            << c.cx << " x " << c.cy;
}

TEST(PauseDialogMessage, DrawnTextFitsTheArea)
{
    const COLORREF crBack = RGB(255, 255, 255);
    const CRect rcArea(0, 0, 600, 280);
    struct Case {
        const wchar_t* text;
        bool bCapped;
    } cases[] = {{kLongWarning, false}, {L"Paused", true}, {L"", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << Narrow(c.text) << '"');
        CCanvas canvas(600, 280, crBack);
        CTestPauseDialog dialog;
        dialog.m_strMessage = c.text;
        const int nHeight = dialog.DrawMessage(&canvas.DC(), rcArea);
        if (c.bCapped)
            EXPECT_EQ(280 / 7, nHeight);
        else
            EXPECT_LT(nHeight, 280 / 7);
        const CRect ink = canvas.InkBox(crBack, rcArea);
        if (*c.text == L'\0') {
            EXPECT_TRUE(ink.IsRectEmpty());
            continue;
        }
        ASSERT_FALSE(ink.IsRectEmpty());
        EXPECT_GE(ink.left, 0);
        EXPECT_LE(ink.right, 600);
        // The font chosen is the one whose text fits: measured at that
        // height it is no wider than the area.
        CFont font;
        font.CreateFont(nHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
        CFont* pOld = canvas.DC().SelectObject(&font);
        CRect rcMeasure(0, 0, 600, 0);
        canvas.DC().DrawText(dialog.m_strMessage, &rcMeasure, DT_CENTER | DT_NOPREFIX | DT_CALCRECT);
        canvas.DC().SelectObject(pOld);
        EXPECT_LE(rcMeasure.Width(), 600);
        EXPECT_LE(rcMeasure.Height(), 280);
        if (!c.bCapped) {
            EXPECT_GT(rcMeasure.Width(), 600 / 2);   // a long text uses the width
        }
    }
}

class AdjustSettings : public PauseDialog {
protected:
    void SetUp() override
    {
        PauseDialog::SetUp();
        CTestSettingsDialog& s = Settings();
        s.m_strFanAdjust = L"1.0", s.m_dFanAdjust = 1.0;
        s.m_strTargetTolerance = L"2.0", s.m_dTargetTolerance = 2.0;
        s.m_strHighPressureLimit = L"60", s.m_dHighPressureLimit = 60.0;
        s.m_strFanStartPercent = L"10", s.m_dFanStartPercent = 10.0;
    }
    CTestSettingsDialog& Settings() { return *m_view->m_pSettings; }
    INT_PTR RunAdjust(std::vector<CDialogDriver::Step> steps)
    {
        CAdjustSettingsDialog dialog;
        m_answerer.RunDialog(IDD_ADJUST_SETTINGS, m_driver.Run(std::move(steps)));
        return dialog.DoModal();
    }
    static CDialogDriver::Step Fill(const wchar_t* pszAdjust, const wchar_t* pszTolerance, const wchar_t* pszLimit,
                                    const wchar_t* pszStart)
    {
        return [=](HWND h) {
            ::SetDlgItemTextW(h, IDC_ADJUST_FAN_ADJUST, pszAdjust);
            ::SetDlgItemTextW(h, IDC_ADJUST_TOLERANCE, pszTolerance);
            ::SetDlgItemTextW(h, IDC_ADJUST_LIMIT, pszLimit);
            ::SetDlgItemTextW(h, IDC_ADJUST_FAN_START, pszStart);
        };
    }
    void ExpectUnchanged()
    {
        CTestSettingsDialog& s = Settings();
        EXPECT_EQ(L"1.0", Widen(s.m_strFanAdjust));
        EXPECT_EQ(L"2.0", Widen(s.m_strTargetTolerance));
        EXPECT_EQ(L"60", Widen(s.m_strHighPressureLimit));
        EXPECT_EQ(L"10", Widen(s.m_strFanStartPercent));
        EXPECT_DOUBLE_EQ(1.0, s.m_dFanAdjust);
        EXPECT_DOUBLE_EQ(2.0, s.m_dTargetTolerance);
        EXPECT_DOUBLE_EQ(60.0, s.m_dHighPressureLimit);
        EXPECT_DOUBLE_EQ(10.0, s.m_dFanStartPercent);
    }
};

TEST_F(AdjustSettings, ShowsTheSettingsAndWritesOnOkOnly)
{
    std::wstring shown[4];
    EXPECT_EQ(IDOK, RunAdjust({[&](HWND h) {
                                   int i = 0;
                                   for (int nID : {IDC_ADJUST_FAN_ADJUST, IDC_ADJUST_TOLERANCE, IDC_ADJUST_LIMIT,
                                                   IDC_ADJUST_FAN_START})
                                       shown[i++] = ItemText(h, nID);
                                   SaveScreenshot(h, L"adjust-settings.png");
                               },
                               Fill(L"1.5", L"3", L"80", L"20"), [](HWND h) { SendClicked(h, IDOK); }}));
    EXPECT_EQ(L"1.0", shown[0]);
    EXPECT_EQ(L"2.0", shown[1]);
    EXPECT_EQ(L"60", shown[2]);
    EXPECT_EQ(L"10", shown[3]);
    CTestSettingsDialog& s = Settings();
    EXPECT_EQ(L"1.5", Widen(s.m_strFanAdjust));
    EXPECT_DOUBLE_EQ(1.5, s.m_dFanAdjust);
    EXPECT_DOUBLE_EQ(3.0, s.m_dTargetTolerance);
    EXPECT_DOUBLE_EQ(80.0, s.m_dHighPressureLimit);
    EXPECT_DOUBLE_EQ(20.0, s.m_dFanStartPercent);
    EXPECT_TRUE(m_answerer.programMessages.empty());

    // Cancel and Esc write nothing.
    SetUp();
    EXPECT_EQ(IDCANCEL, RunAdjust({Fill(L"9", L"9", L"90", L"40"), [](HWND h) { SendClicked(h, IDCANCEL); }}));
    ExpectUnchanged();
    EXPECT_EQ(IDCANCEL, RunAdjust({Fill(L"9", L"9", L"90", L"40"), [](HWND h) { PostKey(h, VK_ESCAPE); }}));
    ExpectUnchanged();
}

TEST_F(AdjustSettings, RefusedValueKeepsTheDialogOpenAndWritesNothing)
{
    struct Case {
        const wchar_t* limit;
        const wchar_t* start;
        UINT nMessage;
        int nFocus;
    } cases[] = {
        {L"1000", L"10", IDS_MSG_HIGH_PRESSURE_RANGE, IDC_ADJUST_LIMIT},
        {L"-1", L"10", IDS_MSG_HIGH_PRESSURE_RANGE, IDC_ADJUST_LIMIT},
        {L"60", L"500", IDS_MSG_FAN_START_RANGE, IDC_ADJUST_FAN_START},
        {L"60", L"-5", IDS_MSG_FAN_START_RANGE, IDC_ADJUST_FAN_START},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.limit) << " Pa, " << Narrow(c.start) << " %");
        SetUp();
        m_answerer.programMessages.clear();
        m_answerer.ReplyToProgramMessage(c.nMessage, IDOK);
        bool bStillOpen = false;
        int nFocus = 0;
        EXPECT_EQ(IDCANCEL, RunAdjust({Fill(L"1.5", L"3", c.limit, c.start), [](HWND h) { SendClicked(h, IDOK); },
                                       [&](HWND h) {
                                           bStillOpen = ::IsWindowVisible(h) != FALSE;
                                           nFocus = ::GetDlgCtrlID(::GetFocus());
                                       },
                                       [](HWND h) { SendClicked(h, IDCANCEL); }}));
        EXPECT_TRUE(bStillOpen);
        EXPECT_EQ(c.nFocus, nFocus);
        ASSERT_EQ(1u, m_answerer.programMessages.size());
        EXPECT_EQ(c.nMessage, m_answerer.programMessages[0].nIDText);
        ExpectUnchanged();
    }

    // Above 90 Pa is warned about and then taken.
    SetUp();
    m_answerer.programMessages.clear();
    m_answerer.ReplyToProgramMessage(IDS_MSG_HIGH_PRESSURE_WARNING, IDOK);
    EXPECT_EQ(IDOK, RunAdjust({Fill(L"1.0", L"2.0", L"95", L"10"), [](HWND h) { SendClicked(h, IDOK); }}));
    EXPECT_DOUBLE_EQ(95.0, Settings().m_dHighPressureLimit);
    EXPECT_EQ(1u, m_answerer.programMessages.size());
}

TEST_F(AdjustSettings, TypedTextIsFilteredAsANumber)
{
    struct Case {
        int nID;
        const wchar_t* typed;
        const wchar_t* shown;
        bool bCommaMessage;
    } cases[] = {
        {IDC_ADJUST_FAN_ADJUST, L"1,5", L"15", true},
        {IDC_ADJUST_FAN_START, L"-5", L"5", false},
        {IDC_ADJUST_LIMIT, L"6a0", L"60", false},
        {IDC_ADJUST_TOLERANCE, L"2.5", L"2.5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.typed));
        m_answerer.programMessages.clear();
        if (c.bCommaMessage)
            m_answerer.ReplyToProgramMessage(IDS_MSG_COMMA_IN_NUMBER, IDOK);
        std::wstring shown;
        EXPECT_EQ(IDCANCEL, RunAdjust({[&](HWND h) { TypeInto(h, c.nID, c.typed); },
                                       [&](HWND h) {
                                           shown = ItemText(h, c.nID);
                                           SendClicked(h, IDCANCEL);
                                       }}));
        EXPECT_EQ(std::wstring(c.shown), shown);
        EXPECT_EQ(c.bCommaMessage ? 1u : 0u, m_answerer.programMessages.size());
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
        ExpectUnchanged();
    }
}

TEST_F(AdjustSettings, EscCancelsItInsideThePauseDialog)
{
    CTestPauseDialog pause;
    CDialogDriver inner;
    HWND hPause = nullptr;
    m_answerer.RunDialog(IDD_TEST_PAUSE, m_driver.Run({[&](HWND h) {
                                                           hPause = h;
                                                           SendClicked(h, IDC_PAUSE_ADJUST);
                                                       }}));
    // Esc ends the adjust dialog; the pause dialog then still takes its choice.
    m_answerer.RunDialog(IDD_ADJUST_SETTINGS, inner.Run({[&](HWND h) {
                                                             ::SetDlgItemTextW(h, IDC_ADJUST_LIMIT, L"30");
                                                             PostKey(h, VK_ESCAPE);
                                                             SendClicked(hPause, IDC_PAUSE_STOP);
                                                         }}));
    EXPECT_EQ(CTestPauseDialog::kResultStop, pause.DoModal());
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    ASSERT_EQ(2u, m_answerer.dialogs.size());
    ExpectUnchanged();
}

}  // namespace
