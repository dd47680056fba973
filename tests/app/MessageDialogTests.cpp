// The program's message boxes, run for real under Wine: every kind with its
// buttons and result codes answered by the click a user makes, the keys,
// the icons, the Help button, the "Turn off this warning" check box, the
// automatic close, the modeless wait window, the sizable box, the owner
// window, and the test answerer's replies per string id.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <string>

#include "app/MessageDialog.h"
#include "app/Simbrel1View.h"
#include "app/SizableMessageDialog.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr int kNoHelp = 255;
constexpr int kPressureWarning = 4041;
const wchar_t* const kPressureWarningText = L"WARNING! Not Detecting building pressure on A/P1.";
const wchar_t* const kCaption = L"QARSEAL Vudadar 5.1 Message";

bool IsShown(HWND hDialog, int nID)
{
    return ::IsWindowVisible(::GetDlgItem(hDialog, nID)) != FALSE;
}

// A template rectangle's left edge in pixels.
int DialogUnitsX(HWND hDialog, int x)
{
    CRect rc(x, 0, x, 0);
    ::MapDialogRect(hDialog, &rc);
    return rc.left;
}

UINT DefaultId(HWND hDialog)
{
    const auto dw = static_cast<DWORD>(::SendMessageW(hDialog, DM_GETDEFID, 0, 0));
    return HIWORD(dw) == DC_HASDEFID ? LOWORD(dw) : 0;
}

void FocusItem(HWND hDialog, int nID)
{
    ::SendMessageW(hDialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hDialog, nID)), TRUE);
}

class MessageDialogTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(m_answerer.AllRepliesUsed()); }

    // Shows a message through the view and lets the steps drive its box.
    int Run(int nIDText, const wchar_t* pszText, int nIcon, int nKind, int nHelpTopic,
            std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunProgramMessage(static_cast<UINT>(nIDText), m_driver.Run(std::move(steps)));
        return m_view->ShowMessage(nIDText, pszText, nIcon, nKind, nHelpTopic);
    }

    CTestView m_view{L"messageroot"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CDialogDriver m_driver;
};

struct KindCase {
    int nKind;
    const wchar_t* pszButton1;
    int nResult1;
    const wchar_t* pszButton2;  // nullptr: hidden
    int nResult2;
    bool bCentred;
};

const KindCase kKinds[] = {
    {0, L"OK", IDOK, nullptr, 0, true},
    {1, L"OK", IDOK, L"Cancel", IDCANCEL, false},
    {2, L"OK", IDOK, nullptr, 0, false},
    {3, L"OK", IDOK, nullptr, 0, false},
    {4, L"Yes", IDYES, L"No", IDNO, false},
    {5, L"Retry", IDRETRY, L"Cancel", IDCANCEL, false},
    {7, L"Proceed with Test", IDYES, L"Cancel Test", IDNO, false},
    {8, L"End Test", IDOK, nullptr, 0, true},
    {9, L"Reenter", IDRETRY, L"Proceed", IDCANCEL, false},
    {10, L"Select Primary Device", IDYES, L"Set to AUTO SELECT", IDNO, false},
    {11, L"Select Connected Devices", IDYES, L"Set to OFF LINE", IDNO, false},
    {12, L"OK", IDOK, nullptr, 0, false},
    {-1, L"OK", IDOK, nullptr, 0, false},
};

// The buttons of the kind, where they stand, and the result of each.
void ExpectKindButtons(HWND h, const KindCase& c)
{
    EXPECT_EQ(WindowText(h), kCaption);
    ASSERT_TRUE(IsShown(h, IDOK));
    EXPECT_EQ(ItemText(h, IDOK), c.pszButton1);
    EXPECT_EQ(IsShown(h, IDCANCEL), c.pszButton2 != nullptr);
    if (c.pszButton2 != nullptr) {
        EXPECT_EQ(ItemText(h, IDCANCEL), c.pszButton2);
    }
    const CRect rc1 = ItemRect(h, IDOK);
    CRect rcWindow;
    ::GetWindowRect(h, &rcWindow);
    const int nExpectedLeft = c.bCentred ? rcWindow.Width() / 2 - rc1.Width() / 2 : DialogUnitsX(h, 24);
    EXPECT_EQ(rc1.left, nExpectedLeft);
}

}  // namespace

TEST_F(MessageDialogTest, EachKindShowsItsButtonsAndReturnsTheCodeOfTheOneClicked)
{
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE("kind " + std::to_string(c.nKind));
        int nResult = Run(0, L"Kind test", IDI_MESSAGE_NOTE, c.nKind, kNoHelp,
                          {[&](HWND h) { ExpectKindButtons(h, c); }, [](HWND h) { ClickItem(h, IDOK); }});
        EXPECT_EQ(nResult, c.nResult1);
        if (c.pszButton2 != nullptr) {
            nResult = Run(0, L"Kind test", IDI_MESSAGE_NOTE, c.nKind, kNoHelp,
                          {[](HWND h) { ClickItem(h, IDCANCEL); }});
            EXPECT_EQ(nResult, c.nResult2);
        }
        ASSERT_FALSE(m_answerer.programMessages.empty());
        EXPECT_EQ(m_answerer.programMessages.back().nKind, c.nKind);
    }
}

TEST_F(MessageDialogTest, KindSixHasNoButtonsIgnoresEscAndClosesItselfWithOk)
{
    int nAutoCloseMs = 0;
    const int nResult = Run(0, L"Zeroing the gauge", IDI_MESSAGE_NOTE, 6, kNoHelp,
                            {[&](HWND h) {
                                 EXPECT_FALSE(IsShown(h, IDOK));
                                 EXPECT_FALSE(IsShown(h, IDCANCEL));
                                 auto* pDialog = dynamic_cast<CMessageDialog*>(CWnd::FromHandlePermanent(h));
                                 ASSERT_NE(pDialog, nullptr);
                                 nAutoCloseMs = pDialog->m_nAutoCloseMs;
                                 PressKey(VK_ESCAPE);
                                 PressKey(VK_RETURN);
                             },
                             [](HWND h) {
                                 ASSERT_TRUE(::IsWindowVisible(h));
                                 // The close timer runs; stand in for its tick.
                                 EXPECT_TRUE(::KillTimer(h, 1));
                                 ::PostMessageW(h, WM_TIMER, 1, 0);
                             }});
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(nAutoCloseMs, 4000);
}

TEST_F(MessageDialogTest, YesNoLettersAnswerWhateverTheShiftStateOtherKeysDoNothing)
{
    struct KeyCase {
        int nKind;
        std::vector<UINT> ignoredKeys;
        UINT nAnswerKey;  // 0: clicks button 2 instead
        int nExpected;
    };
    const KeyCase cases[] = {
        {4, {'X', VK_ESCAPE, 'O'}, 'Y', IDYES},
        {4, {'E', VK_ESCAPE}, 'N', IDNO},
        {1, {'Y', 'N', VK_ESCAPE}, 0, IDCANCEL},
        {7, {'Y', 'N'}, 0, IDNO},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.nKind) + " key " + std::to_string(c.nAnswerKey));
        const int nResult = Run(0, L"Delete this point?", IDI_MESSAGE_NOTE, c.nKind, kNoHelp,
                                {[&](HWND) {
                                     for (UINT nKey : c.ignoredKeys)
                                         PressKey(nKey);
                                 },
                                 [&](HWND h) {
                                     ASSERT_TRUE(::IsWindowVisible(h)) << "closed by a key that must do nothing";
                                     if (c.nAnswerKey != 0) {
                                         // Shift held: the key-down carries the same virtual key.
                                         PressKey(c.nAnswerKey);
                                     } else {
                                         ClickItem(h, IDCANCEL);
                                     }
                                 }});
        EXPECT_EQ(nResult, c.nExpected);
    }
}

TEST_F(MessageDialogTest, EnterPressesTheFocusedButtonAndNothingWhileAnotherControlHasTheFocus)
{
    m_view->m_bShowPressureWarning = 1;
    std::vector<UINT> defaults;
    m_answerer.RunProgramMessage(
        kPressureWarning,
        m_driver.Run({[&](HWND h) {
                          // The dialog manager focused button 1 at the opening.
                          defaults.push_back(DefaultId(h));
                          FocusItem(h, IDCANCEL);
                      },
                      [&](HWND h) {
                          defaults.push_back(DefaultId(h));
                          FocusItem(h, IDC_MESSAGE_TURN_OFF_WARNING);
                      },
                      [&](HWND h) {
                          defaults.push_back(DefaultId(h));
                          EXPECT_EQ(::GetWindowLongW(::GetDlgItem(h, IDCANCEL), GWL_STYLE) & BS_TYPEMASK,
                                    BS_OWNERDRAW);
                          PressKey(VK_RETURN);
                      },
                      [&](HWND h) {
                          ASSERT_TRUE(::IsWindowVisible(h)) << "Enter with the check box focused closed the box";
                          FocusItem(h, IDCANCEL);
                      },
                      [](HWND) { PressKey(VK_RETURN); }}));
    const int nResult = m_view->ShowMessage(kPressureWarning, kPressureWarningText, IDI_MESSAGE_NOTE, 1, kNoHelp);
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(defaults, (std::vector<UINT>{IDOK, IDCANCEL, IDC_MESSAGE_NO_ACTION}));
}

TEST_F(MessageDialogTest, DrawsTheSystemExclamationOrTheProgramsNoteIcon)
{
    struct IconCase {
        int nIcon;
        HICON hIcon;
    };
    const IconCase cases[] = {
        {IDI_MESSAGE_EXCLAMATION, ::LoadIconW(nullptr, IDI_EXCLAMATION)},
        {IDI_MESSAGE_NOTE, static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                           MAKEINTRESOURCEW(IDI_MESSAGE_NOTE), IMAGE_ICON, 0, 0,
                                                           LR_DEFAULTSIZE | LR_SHARED))},
    };
    ASSERT_NE(cases[1].hIcon, nullptr) << "no note icon resource";
    const int cx = ::GetSystemMetrics(SM_CXICON);
    const int cy = ::GetSystemMetrics(SM_CYICON);
    int nDifferentPixels[2] = {-1, -1};
    for (int i = 0; i < 2; ++i) {
        Run(0, L"Icon test", cases[i].nIcon, 0, kNoHelp,
            {[&](HWND h) {
                 CRect rcClient;
                 ::GetClientRect(h, &rcClient);
                 CCanvas shown(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
                 shown.CopyFromWindow(h, true);
                 // The icon as drawn on the box's own background at (18, 15).
                 CCanvas expected(cx, cy, shown.Pixel(2, 2));
                 ::DrawIcon(expected.DC().GetSafeHdc(), 0, 0, cases[i].hIcon);
                 int nDiffer = 0;
                 int nIconPixels = 0;
                 for (int y = 0; y < cy; ++y) {
                     for (int x = 0; x < cx; ++x) {
                         nDiffer += shown.Pixel(18 + x, 15 + y) != expected.Pixel(x, y) ? 1 : 0;
                         nIconPixels += expected.Pixel(x, y) != shown.Pixel(2, 2) ? 1 : 0;
                     }
                 }
                 EXPECT_GT(nIconPixels, cx * cy / 4);
                 nDifferentPixels[i] = nDiffer;
                 ClickItem(h, IDOK);
             }});
    }
    EXPECT_EQ(nDifferentPixels[0], 0);
    EXPECT_EQ(nDifferentPixels[1], 0);
}

TEST_F(MessageDialogTest, HelpButtonShowsForATopicStaysOpenWhenPressedAndHidesWhileAPdfIsWritten)
{
    // No topic: no Help button.
    Run(0, L"Help test", IDI_MESSAGE_EXCLAMATION, 1, kNoHelp,
        {[](HWND h) {
            EXPECT_FALSE(IsShown(h, IDC_MESSAGE_HELP));
            ClickItem(h, IDOK);
        }});

    // A topic: the Help button at the top right; pressing it opens the help
    // panel over the box, which stays open.
    m_answerer.ReplyToDialog(IDD_HELP_PANEL, IDOK);
    const int nResult = Run(0, L"Help test", IDI_MESSAGE_EXCLAMATION, 4, 105,
                            {[](HWND h) {
                                 ASSERT_TRUE(IsShown(h, IDC_MESSAGE_HELP));
                                 EXPECT_EQ(ItemText(h, IDC_MESSAGE_HELP), L"Help");
                                 CRect rcClient;
                                 ::GetClientRect(h, &rcClient);
                                 const CRect rcHelp = ItemRect(h, IDC_MESSAGE_HELP);
                                 EXPECT_GT(rcHelp.left, rcClient.Width() / 2);
                                 EXPECT_LT(rcHelp.bottom, ItemRect(h, IDOK).top);
                                 ClickItem(h, IDC_MESSAGE_HELP);
                             },
                             [](HWND h) {
                                 EXPECT_TRUE(::IsWindowVisible(h));
                                 ClickItem(h, IDCANCEL);
                             }});
    EXPECT_EQ(nResult, IDNO);
    EXPECT_EQ(m_answerer.programMessages.back().nHelpTopic, 105);
    ASSERT_EQ(m_answerer.dialogs.size(), 1u);
    EXPECT_EQ(m_answerer.dialogs[0].nIDTemplate, static_cast<UINT>(IDD_HELP_PANEL));

    // While a PDF file is written neither Help nor button 1 shows.
    m_view->m_bPdfRunning = 1;
    Run(0, L"Help test", IDI_MESSAGE_EXCLAMATION, 1, 105,
        {[](HWND h) {
            EXPECT_FALSE(IsShown(h, IDC_MESSAGE_HELP));
            EXPECT_FALSE(IsShown(h, IDOK));
            EXPECT_TRUE(IsShown(h, IDCANCEL));
            ClickItem(h, IDCANCEL);
        }});
    m_view->m_bPdfRunning = 0;
}

TEST_F(MessageDialogTest, TickingTurnOffWarningOnThePressureWarningClearsTheViewsFlag)
{
    struct CheckCase {
        const char* name;
        int nIDText;
        int bFlagBefore;
        int nTicks;
        int nButton;
        bool bCheckBoxShown;
        int bFlagAfter;
        int nResult;
    };
    const CheckCase cases[] = {
        {"ticked, End Test", kPressureWarning, 1, 1, IDOK, true, 0, IDOK},
        {"not ticked", kPressureWarning, 1, 0, IDOK, true, 1, IDOK},
        {"ticked and unticked", kPressureWarning, 1, 2, IDOK, true, 1, IDOK},
        {"flag already off", kPressureWarning, 0, 0, IDOK, false, 0, IDOK},
        {"another message", 4040, 1, 0, IDOK, false, 1, IDOK},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_view->m_bShowPressureWarning = c.bFlagBefore;
        std::vector<CDialogDriver::Step> steps;
        steps.push_back([&](HWND h) {
            EXPECT_EQ(IsShown(h, IDC_MESSAGE_TURN_OFF_WARNING), c.bCheckBoxShown);
            EXPECT_EQ(ItemText(h, IDC_MESSAGE_TURN_OFF_WARNING), L"Turn off this warning");
        });
        for (int i = 0; i < c.nTicks; ++i)
            steps.push_back([](HWND h) { ClickItem(h, IDC_MESSAGE_TURN_OFF_WARNING); });
        steps.push_back([&](HWND h) { ClickItem(h, c.nButton); });
        const int nResult = Run(c.nIDText, kPressureWarningText, IDI_MESSAGE_NOTE, 8, 131, std::move(steps));
        EXPECT_EQ(nResult, c.nResult);
        EXPECT_EQ(m_view->m_bShowPressureWarning, c.bFlagAfter);
    }
}

TEST_F(MessageDialogTest, ABoxWithoutParentIsOwnedByTheMainWindowWhichIsDisabledWhileItIsOpen)
{
    CWinApp app(L"Message Tests");
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"Main window", WS_OVERLAPPEDWINDOW,
                                 CRect(0, 0, 400, 300), nullptr, 0));
    app.m_pMainWnd = &mainWnd;
    HWND hOwner = nullptr;
    BOOL bMainEnabled = TRUE;
    Run(0, L"Owner test", IDI_MESSAGE_EXCLAMATION, 0, kNoHelp,
        {[&](HWND h) {
            hOwner = ::GetWindow(h, GW_OWNER);
            bMainEnabled = mainWnd.IsWindowEnabled();
            ClickItem(h, IDOK);
        }});
    EXPECT_EQ(hOwner, mainWnd.m_hWnd);
    EXPECT_FALSE(bMainEnabled);
    EXPECT_TRUE(mainWnd.IsWindowEnabled());
    app.m_pMainWnd = nullptr;
}

TEST_F(MessageDialogTest, ModelessWaitWindowShowsItsTextAndTakesANewTextAtOnce)
{
    m_view->m_bPdfRunning = 1;
    CMessageDialog wait;
    wait.m_pView = m_view.Get();
    wait.m_strText = L"Printing Test Report to PDF File";
    wait.m_nHelpTopic = 12;
    ASSERT_TRUE(wait.Create());
    EXPECT_TRUE(wait.IsWindowVisible());
    EXPECT_FALSE(wait.IsModal());
    EXPECT_EQ(WindowText(wait.m_hWnd), kCaption);
    EXPECT_FALSE(IsShown(wait.m_hWnd, IDOK));
    EXPECT_FALSE(IsShown(wait.m_hWnd, IDC_MESSAGE_HELP));
    PumpPending();

    CRect rcClient;
    wait.GetClientRect(&rcClient);
    const CRect rcText = GetMessageTextLayout(rcClient.Width(), rcClient.Height(), 16).rcText;
    CCanvas before(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
    before.CopyFromWindow(wait.m_hWnd, true);
    const COLORREF crBack = before.Pixel(rcClient.Width() - 2, 2);
    EXPECT_FALSE(before.InkBox(crBack, rcText).IsRectEmpty());

    wait.SetMessageText(L"Done");
    EXPECT_EQ(wait.m_strText, CString(L"Done"));
    CCanvas after(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
    after.CopyFromWindow(wait.m_hWnd, true);
    int nChanged = 0;
    for (int y = rcText.top; y < rcText.bottom; ++y)
        for (int x = rcText.left; x < rcText.right; ++x)
            nChanged += before.Pixel(x, y) != after.Pixel(x, y) ? 1 : 0;
    EXPECT_GT(nChanged, 0);
    EXPECT_TRUE(m_answerer.programMessages.empty());
    wait.DestroyWindow();
    m_view->m_bPdfRunning = 0;
}

TEST_F(MessageDialogTest, SizableBoxOpensAtItsPositionWithTheKindsOfTheMessageBox)
{
    struct SizableCase {
        int nKind;
        const wchar_t* pszButton1;
        bool bButton2;
        bool bCentred;
        UINT nKey;      // 0: click button 1
        int nExpected;
    };
    const SizableCase cases[] = {
        {4, L"Yes", true, false, 'N', IDNO},
        {4, L"Yes", true, false, 'Y', IDYES},
        {0, L"OK", false, true, 0, IDOK},
        {9, L"Reenter", true, false, 0, IDRETRY},
        {10, L"OK", false, false, 0, IDOK},
        {11, L"OK", false, false, 0, IDOK},
    };
    for (const SizableCase& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.nKind));
        m_answerer.RunProgramMessage(
            17037, m_driver.Run({[&](HWND h) {
                                     CRect rcWindow;
                                     ::GetWindowRect(h, &rcWindow);
                                     EXPECT_EQ(rcWindow.TopLeft(), CPoint(40, 60));
                                     CRect rcClient;
                                     ::GetClientRect(h, &rcClient);
                                     CRect rcTemplate(0, 0, 200, 93);
                                     ::MapDialogRect(h, &rcTemplate);
                                     EXPECT_EQ(rcClient.Size(), rcTemplate.Size());
                                     EXPECT_EQ(WindowText(h), kCaption);
                                     EXPECT_EQ(ItemText(h, IDOK), c.pszButton1);
                                     EXPECT_EQ(IsShown(h, IDCANCEL), c.bButton2);
                                     const CRect rc1 = ItemRect(h, IDOK);
                                     const int nExpectedLeft = c.bCentred
                                                                   ? rcWindow.Width() / 2 - rc1.Width() / 2
                                                                   : DialogUnitsX(h, 15);
                                     EXPECT_EQ(rc1.left, nExpectedLeft);
                                     PressKey(VK_ESCAPE);
                                 },
                                 [&](HWND h) {
                                     ASSERT_TRUE(::IsWindowVisible(h));
                                     if (c.nKey != 0)
                                         PressKey(c.nKey);
                                     else
                                         ClickItem(h, IDOK);
                                 }}));
        const int nResult =
            m_view->ShowSizableMessage(17037, L"Are you sure?", 40, 60, 300, 200, IDI_MESSAGE_NOTE, c.nKind, kNoHelp);
        EXPECT_EQ(nResult, c.nExpected);
        EXPECT_EQ(m_answerer.programMessages.back().nIDTemplate, static_cast<UINT>(IDD_SIZABLE_MESSAGE_DIALOG));
    }
}

TEST_F(MessageDialogTest, SizableBoxWithoutButtonsClosesItselfLikeTheMessageBox)
{
    // Without its own close such a box could never be closed: Esc is swallowed.
    m_answerer.RunProgramMessage(0, m_driver.Run({[](HWND h) {
                                                      EXPECT_FALSE(IsShown(h, IDOK));
                                                      EXPECT_FALSE(IsShown(h, IDCANCEL));
                                                      EXPECT_TRUE(::KillTimer(h, 1));
                                                      ::PostMessageW(h, WM_TIMER, 1, 0);
                                                  }}));
    EXPECT_EQ(m_view->ShowSizableMessage(0, L"Wait", 10, 10, 0, 0, IDI_MESSAGE_NOTE, 6, kNoHelp), IDOK);
}

TEST_F(MessageDialogTest, TheAnswererRepliesByStringIdAndRecordsWhatWasShown)
{
    CString strComma;
    strComma.LoadString(IDS_MSG_COMMA_IN_NUMBER);
    ASSERT_FALSE(strComma.IsEmpty());

    m_answerer.ReplyToProgramMessage(IDS_MSG_COMMA_IN_NUMBER, IDOK);
    m_answerer.ReplyToProgramMessage(4342, IDNO, L"Test Standard");
    EXPECT_EQ(m_view->ShowMessage(IDS_MSG_COMMA_IN_NUMBER, L"", IDI_MESSAGE_EXCLAMATION, 0, kNoHelp), IDOK);
    EXPECT_EQ(m_view->ShowMessage(4342, L"WARNING! If you change Test Standard", IDI_MESSAGE_EXCLAMATION, 4, 105),
              IDNO);

    ASSERT_EQ(m_answerer.programMessages.size(), 2u);
    const auto& first = m_answerer.programMessages[0];
    EXPECT_EQ(first.nIDTemplate, static_cast<UINT>(IDD_MESSAGE_DIALOG));
    EXPECT_EQ(first.nIDText, static_cast<UINT>(IDS_MSG_COMMA_IN_NUMBER));
    EXPECT_EQ(first.text, strComma.GetString());
    EXPECT_EQ(first.nIcon, IDI_MESSAGE_EXCLAMATION);
    EXPECT_EQ(first.nKind, 0);
    EXPECT_EQ(first.nHelpTopic, kNoHelp);
    const auto& second = m_answerer.programMessages[1];
    EXPECT_EQ(second.text, L"WARNING! If you change Test Standard");
    EXPECT_EQ(second.nKind, 4);
    EXPECT_EQ(second.nHelpTopic, 105);
    EXPECT_TRUE(m_answerer.dialogs.empty());
}

TEST_F(MessageDialogTest, AnUnansweredOrUnexpectedMessageFailsTheTestInsteadOfWaiting)
{
    int nResult = 0;
    EXPECT_NONFATAL_FAILURE(nResult = m_view->ShowMessage(IDS_MSG_COMMA_IN_NUMBER, L"", 175, 0, kNoHelp),
                            "unanswered program message 4641");
    EXPECT_EQ(nResult, IDCANCEL);

    m_answerer.ReplyToProgramMessage(4342, IDYES);
    EXPECT_NONFATAL_FAILURE(nResult = m_view->ShowMessage(4040, L"End?", 175, 8, kNoHelp),
                            "unanswered program message 4040");
    EXPECT_EQ(m_view->ShowMessage(4342, L"Change?", 175, 4, 105), IDYES);
}

// Pictures for a person to look at, saved when VUDADAR_SCREENS names a
// folder; the question still answers Yes, the warning closes with OK and
// stays on.
TEST_F(MessageDialogTest, ScreenshotOfAQuestionWithHelpAndOfTheWarningWithItsCheckBox)
{
    std::wstring questionPicture;
    std::wstring warningPicture;
    EXPECT_EQ(IDYES, Run(4342,
                        L"WARNING! If you change Test Standard\r\nall current test data will be cleared\r\n\r\n"
                        L"Do you wish to change Test Standard\r\nand clear test data? ",
                        IDI_MESSAGE_EXCLAMATION, 4, 105,
                        {[&](HWND h) { questionPicture = SaveScreenshot(h, L"message-question.png"); },
                         [](HWND h) { ClickItem(h, IDOK); }}));
    m_view->m_bShowPressureWarning = 1;
    EXPECT_EQ(IDOK, Run(kPressureWarning, kPressureWarningText, IDI_MESSAGE_NOTE, 8, 131,
                        {[](HWND h) { FocusItem(h, IDC_MESSAGE_TURN_OFF_WARNING); },
                         [&](HWND h) { warningPicture = SaveScreenshot(h, L"message-warning.png"); },
                         [](HWND h) { ClickItem(h, IDOK); }}));
    EXPECT_EQ(1, m_view->m_bShowPressureWarning);
    if (ScreensFolder().empty())
        return;
    EXPECT_TRUE(FileExists(questionPicture));
    EXPECT_TRUE(FileExists(warningPicture));
}

// The text's place and size, and what is drawn for texts that measure empty.
TEST(MessagePaintTest, TextAreaAndFontHeightFollowTheClientSize)
{
    const CMessageTextLayout box = GetMessageTextLayout(480, 320, 16);
    EXPECT_EQ(box.rcText, CRect(30, 53, 450, 320 - 53 - 26));
    EXPECT_EQ(box.nFirstHeight, 16);
    EXPECT_EQ(box.nMaxHeight, 20);
    EXPECT_EQ(GetMessageTextLayout(480, 320, 12).nMaxHeight, 26);

    struct FitCase {
        const char* name;
        CSize szExtent;
        int nExpected;
    };
    const CSize szText(420, 188);
    const FitCase cases[] = {
        {"a long line: the width decides", CSize(840, 16), 8},
        {"many lines: the height decides", CSize(100, 188), 16},
        {"a short text: the cap decides", CSize(100, 16), 20},
        {"an empty text", CSize(0, 16), 0},
        {"no height", CSize(50, 0), 0},
        {"nothing", CSize(0, 0), 0},
    };
    for (const FitCase& c : cases)
        EXPECT_EQ(FitMessageFontHeight(szText, c.szExtent, 16, 20), c.nExpected) << c.name;
}

TEST(MessagePaintTest, TextStandsCentredInItsAreaAndAnAmpersandPrintsAsItself)
{
    const COLORREF crBack = RGB(255, 255, 255);
    const CRect rcClient(0, 0, 480, 320);
    const CRect rcArea = GetMessageTextLayout(480, 320, 16).rcText;
    struct PaintCase {
        const wchar_t* text;
        bool bInk;
    };
    const PaintCase cases[] = {
        {L"Short", true},
        {L"A much longer warning text that has to be made smaller to fit on its line", true},
        {L"&", true},
        {L"", false},
        {L"\n\n", false},
    };
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + wcslen(c.text)));
        CCanvas canvas(480, 320, crBack);
        PaintMessage(canvas.DC(), rcClient, 0, c.text, 16);  // icon 0: none
        const CRect ink = canvas.InkBox(crBack, rcClient);
        EXPECT_EQ(!ink.IsRectEmpty(), c.bInk);
        if (!c.bInk || ink.IsRectEmpty())
            continue;
        EXPECT_GE(ink.left, rcArea.left);
        EXPECT_LE(ink.right, rcArea.right);
        EXPECT_NEAR((ink.left + ink.right) / 2.0, rcArea.CenterPoint().x, 4.0);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, rcArea.CenterPoint().y, 6.0);
        EXPECT_LE(ink.Height(), 320 / 16);
    }
}
