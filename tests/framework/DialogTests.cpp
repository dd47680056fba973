// CDialog from a template built in memory: the modal loop and what it must
// do around the dialog (owner, quit request, answerer, dialog keys), the
// modeless dialog and its owner, and dialog data exchange both ways.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Ddx.h"
#include "framework/Dialog.h"
#include "tests/TestSupport.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const UINT kTestDialogId = 9100;
const UINT kMsgRunStep = WM_APP + 20;
const INT_PTR kWatchdogResult = 9999;

enum : WORD {
    IDC_NAME = 1001,
    IDC_CHECK = 1002,
    IDC_RADIO_A1 = 1003,
    IDC_RADIO_A2 = 1004,
    IDC_RADIO_A3 = 1005,
    IDC_RADIO_B1 = 1006,
    IDC_RADIO_B2 = 1007,
    IDC_COMBO = 1008,
    IDC_NUMBER = 1009,
    IDC_LABEL = 1010,
};

CMemoryDialogTemplate MakeTestTemplate(bool bButtonsVisible)
{
    CMemoryDialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 200, 170, L"Dialog test");
    const DWORD V = WS_VISIBLE;
    t.AddControl(L"EDIT", IDC_NAME, V | WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 7, 7, 100, 14);
    t.AddControl(L"BUTTON", IDC_CHECK, V | WS_TABSTOP | BS_AUTOCHECKBOX, 7, 25, 100, 10, L"Check");
    // Two radio groups side by side; each starts with WS_GROUP, and so
    // does the control after the second.
    t.AddControl(L"BUTTON", IDC_RADIO_A1, V | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 7, 40, 40, 10, L"A1");
    t.AddControl(L"BUTTON", IDC_RADIO_A2, V | BS_AUTORADIOBUTTON, 7, 52, 40, 10, L"A2");
    t.AddControl(L"BUTTON", IDC_RADIO_A3, V | BS_AUTORADIOBUTTON, 7, 64, 40, 10, L"A3");
    t.AddControl(L"BUTTON", IDC_RADIO_B1, V | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 60, 40, 40, 10, L"B1");
    t.AddControl(L"BUTTON", IDC_RADIO_B2, V | BS_AUTORADIOBUTTON, 60, 52, 40, 10, L"B2");
    t.AddControl(L"COMBOBOX", IDC_COMBO, V | WS_GROUP | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 7, 80, 100, 60);
    t.AddControl(L"EDIT", IDC_NUMBER, V | WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 7, 98, 60, 14);
    t.AddControl(L"STATIC", IDC_LABEL, V | WS_GROUP | SS_LEFT, 7, 116, 100, 10);
    const DWORD dwButtons = (bButtonsVisible ? V : 0) | WS_TABSTOP;
    t.AddControl(L"BUTTON", IDOK, dwButtons | WS_GROUP | BS_DEFPUSHBUTTON, 40, 150, 50, 14, L"OK");
    t.AddControl(L"BUTTON", IDCANCEL, dwButtons | BS_PUSHBUTTON, 100, 150, 50, 14, L"Cancel");
    return t;
}

// The edit control of the name, subclassed by DDX_Control.
class CNameEdit : public CWnd {
public:
    int m_nPreSubclass = 0;
    std::vector<UINT> m_chars;
    void PreSubclassWindow() override { ++m_nPreSubclass; }

protected:
    void OnChar(UINT nChar, UINT, UINT)
    {
        m_chars.push_back(nChar);
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNameEdit, CWnd)
    ON_WM_CHAR()
END_MESSAGE_MAP()

class CTestDialog : public CDialog {
public:
    using Step = std::function<void(CTestDialog&)>;

    explicit CTestDialog(bool bButtonsVisible = true, CWnd* pParent = nullptr)
        : m_template(MakeTestTemplate(bButtonsVisible))
    {
        m_nIDTemplate = kTestDialogId;
        InitModalIndirect(m_template.Get(), pParent);
    }
    ~CTestDialog() override { std::erase(s_running, this); }

    BOOL CreateModeless(CWnd* pParent = nullptr) { return CreateIndirect(m_template.Get(), pParent); }
    // Steps run one by one from the dialog's own queue, each after what
    // the step before it posted.
    void AddStep(Step step) { m_steps.push_back(std::move(step)); }
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

    CString m_strName;
    int m_bCheck = 0;
    int m_nRadioA = -1;
    int m_nRadioB = -1;
    int m_nCombo = -1;
    int m_nNumber = 0;
    CString m_strLabel;
    CNameEdit m_nameEdit;

    int m_nInitDialogs = 0;
    int m_nEndInInit = 0;  // non-zero: EndDialog with it from OnInitDialog
    std::vector<MSG> m_keyMessages;

    // The dialogs that were started, innermost last, for the watchdog.
    static std::vector<CTestDialog*> s_running;

protected:
    BOOL OnInitDialog() override
    {
        ++m_nInitDialogs;
        std::erase(s_running, this);
        s_running.push_back(this);
        for (const wchar_t* psz : {L"zero", L"one", L"two"})
            ::SendMessageW(Item(IDC_COMBO), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
        CDialog::OnInitDialog();
        if (m_nEndInInit != 0)
            EndDialog(m_nEndInInit);
        if (!m_steps.empty())
            PostMessage(kMsgRunStep);
        return TRUE;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_NAME, m_nameEdit);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Check(pDX, IDC_CHECK, m_bCheck);
        DDX_Radio(pDX, IDC_RADIO_A1, m_nRadioA);
        DDX_Radio(pDX, IDC_RADIO_B1, m_nRadioB);
        DDX_CBIndex(pDX, IDC_COMBO, m_nCombo);
        DDX_Text(pDX, IDC_NUMBER, m_nNumber);
        DDX_Text(pDX, IDC_LABEL, m_strLabel);
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
            m_keyMessages.push_back(*pMsg);
        return CDialog::PreTranslateMessage(pMsg);
    }

    LRESULT OnRunStep(WPARAM, LPARAM)
    {
        if (m_steps.empty())
            return 0;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(*this);
        if (!m_steps.empty() && m_hWnd != nullptr)
            PostMessage(kMsgRunStep);
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    CMemoryDialogTemplate m_template;
    std::deque<Step> m_steps;
};

std::vector<CTestDialog*> CTestDialog::s_running;

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
    ON_MESSAGE(kMsgRunStep, OnRunStep)
END_MESSAGE_MAP()

CString TextOf(HWND hWnd)
{
    CString s;
    CWnd::FromHandle(hWnd)->GetWindowText(s);
    return s;
}

bool Checked(HWND hButton)
{
    return ::SendMessageW(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A dialog test never hangs: a modal loop still running after a few seconds
// is ended with kWatchdogResult.
void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD)
{
    for (CTestDialog* pDialog : CTestDialog::s_running)
        if (pDialog->IsModal())
            pDialog->EndDialog(static_cast<int>(kWatchdogResult));
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_nWatchdog = ::SetTimer(nullptr, 0, 5000, &WatchdogProc);
        m_nWindowsBefore = ThreadTopLevelWindows().size();
    }
    void TearDown() override
    {
        ::KillTimer(nullptr, m_nWatchdog);
        PumpMessages();
        EXPECT_EQ(ThreadTopLevelWindows().size(), m_nWindowsBefore) << "a window was left behind";
    }
    // Lets the next modal run of the test dialog really run.
    void ExpectRun() { m_answerer.RunDialog(kTestDialogId); }

    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    UINT_PTR m_nWatchdog = 0;
    size_t m_nWindowsBefore = 0;
};

}  // namespace

TEST_F(DialogTest, OkCopiesWhatTheUserSetIntoTheMembers)
{
    CTestDialog dlg;
    dlg.m_strName = L"initial";
    dlg.m_bCheck = 0;
    dlg.m_nRadioA = 1;
    dlg.m_nRadioB = -1;
    dlg.m_nCombo = 2;
    dlg.m_nNumber = 42;
    dlg.m_strLabel = L"Label text";

    struct Shown {
        std::string name, number, label, combo;
        bool bCheck = true, a1 = true, a2 = false, a3 = true, b1 = true, b2 = true;
    } shown;
    dlg.AddStep([&](CTestDialog& d) {
        shown.name = TextOf(d.Item(IDC_NAME)).ToAnsi();
        shown.number = TextOf(d.Item(IDC_NUMBER)).ToAnsi();
        shown.label = TextOf(d.Item(IDC_LABEL)).ToAnsi();
        shown.combo = TextOf(d.Item(IDC_COMBO)).ToAnsi();
        shown.bCheck = Checked(d.Item(IDC_CHECK));
        shown.a1 = Checked(d.Item(IDC_RADIO_A1));
        shown.a2 = Checked(d.Item(IDC_RADIO_A2));
        shown.a3 = Checked(d.Item(IDC_RADIO_A3));
        shown.b1 = Checked(d.Item(IDC_RADIO_B1));
        shown.b2 = Checked(d.Item(IDC_RADIO_B2));
        // What a user does: type, click, choose.
        ::SetWindowTextW(d.Item(IDC_NAME), L"typed");
        ::SendMessageW(d.Item(IDC_CHECK), BM_CLICK, 0, 0);
        ::SendMessageW(d.Item(IDC_RADIO_A3), BM_CLICK, 0, 0);
        ::SendMessageW(d.Item(IDC_RADIO_B2), BM_CLICK, 0, 0);
        ::SendMessageW(d.Item(IDC_COMBO), CB_SETCURSEL, 0, 0);
        ::SetWindowTextW(d.Item(IDC_NUMBER), L" -17 ");
        ::SetWindowTextW(d.Item(IDC_LABEL), L"Changed label");
        ::SendMessageW(d.Item(IDOK), BM_CLICK, 0, 0);
    });
    ExpectRun();
    EXPECT_EQ(dlg.DoModal(), IDOK);

    EXPECT_EQ(shown.name, "initial");
    EXPECT_EQ(shown.number, "42");
    EXPECT_EQ(shown.label, "Label text");
    EXPECT_EQ(shown.combo, "two");
    EXPECT_FALSE(shown.bCheck);
    EXPECT_FALSE(shown.a1);
    EXPECT_TRUE(shown.a2);
    EXPECT_FALSE(shown.a3);
    EXPECT_FALSE(shown.b1 || shown.b2) << "-1 leaves the whole group unchecked";

    EXPECT_EQ(dlg.m_strName.ToAnsi(), "typed");
    EXPECT_EQ(dlg.m_bCheck, 1);
    EXPECT_EQ(dlg.m_nRadioA, 2);
    EXPECT_EQ(dlg.m_nRadioB, 1);
    EXPECT_EQ(dlg.m_nCombo, 0);
    EXPECT_EQ(dlg.m_nNumber, -17);
    EXPECT_EQ(dlg.m_strLabel.ToAnsi(), "Changed label");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_nameEdit.m_hWnd, nullptr) << "the subclassed control went with the dialog";
}

TEST_F(DialogTest, CancelKeepsTheMembers)
{
    CTestDialog dlg;
    dlg.m_strName = L"kept";
    dlg.AddStep([](CTestDialog& d) {
        ::SetWindowTextW(d.Item(IDC_NAME), L"discarded");
        ::SendMessageW(d.Item(IDCANCEL), BM_CLICK, 0, 0);
    });
    ExpectRun();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strName.ToAnsi(), "kept");
}

TEST_F(DialogTest, DoModalReturnsTheEndDialogCode)
{
    struct Case {
        const char* what;
        int nEndInInit;
        int nEndInLoop;
    };
    const Case cases[] = {
        {"ended in the loop", 0, 1234},
        {"ended by OnInitDialog", 55, 0},
    };
    for (const Case& c : cases) {
        CTestDialog dlg;
        dlg.m_nEndInInit = c.nEndInInit;
        if (c.nEndInLoop != 0)
            dlg.AddStep([&](CTestDialog& d) { d.EndDialog(c.nEndInLoop); });
        ExpectRun();
        EXPECT_EQ(dlg.DoModal(), c.nEndInInit != 0 ? c.nEndInInit : c.nEndInLoop) << c.what;
        EXPECT_EQ(dlg.m_nInitDialogs, 1) << c.what;
        EXPECT_FALSE(dlg.IsModal()) << c.what;
    }
}

// The dialog manager turns Enter into IDOK and Esc into IDCANCEL even when
// the buttons are hidden, because the modal loop offers the keys to the
// dialog's PreTranslateMessage, which hands them to IsDialogMessage.
TEST_F(DialogTest, EnterAndEscapeReachOkAndCancelWithHiddenButtons)
{
    struct Case {
        WPARAM vk;
        INT_PTR nResult;
        const char* name;
    };
    const Case cases[] = {
        {VK_RETURN, IDOK, "typed"},
        {VK_ESCAPE, IDCANCEL, "before"},
    };
    for (const Case& c : cases) {
        CTestDialog dlg(false);
        dlg.m_strName = L"before";
        HWND hEdit = nullptr;
        dlg.AddStep([&](CTestDialog& d) {
            ASSERT_FALSE(::IsWindowVisible(d.Item(IDOK)));
            hEdit = d.Item(IDC_NAME);
            d.GotoDlgCtrl(CWnd::FromHandle(hEdit));
            ::SetWindowTextW(hEdit, L"typed");
            ::PostMessageW(hEdit, WM_KEYDOWN, c.vk, 1);
            ::PostMessageW(hEdit, WM_KEYUP, c.vk, 0xC0000001);
        });
        ExpectRun();
        EXPECT_EQ(dlg.DoModal(), c.nResult) << "key " << c.vk;
        EXPECT_EQ(dlg.m_strName.ToAnsi(), c.name) << "key " << c.vk;
        // The dialog saw its control's keyboard message before anyone else.
        bool bSeen = false;
        for (const MSG& msg : dlg.m_keyMessages)
            bSeen = bSeen || (msg.hwnd == hEdit && msg.message == WM_KEYDOWN && msg.wParam == c.vk);
        EXPECT_TRUE(bSeen) << "key " << c.vk;
    }
}

TEST_F(DialogTest, TypingInTheModalLoopGoesThroughTheDialogToTheControl)
{
    CTestDialog dlg;
    dlg.AddStep([](CTestDialog& d) {
        d.GotoDlgCtrl(CWnd::FromHandle(d.Item(IDC_NAME)));
        ::SetWindowTextW(d.Item(IDC_NAME), L"");
        for (wchar_t ch : std::wstring(L"ab"))
            ::PostMessageW(d.Item(IDC_NAME), WM_CHAR, ch, 1);
    });
    dlg.AddStep([](CTestDialog& d) { d.PostMessage(WM_COMMAND, IDOK); });
    ExpectRun();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName.ToAnsi(), "ab");
    EXPECT_EQ(dlg.m_nameEdit.m_chars, (std::vector<UINT>{L'a', L'b'}));
    int nCharsSeen = 0;
    for (const MSG& msg : dlg.m_keyMessages)
        nCharsSeen += msg.message == WM_CHAR ? 1 : 0;
    EXPECT_EQ(nCharsSeen, 2);
}

TEST_F(DialogTest, BadNumberKeepsTheDialogOpenUntilCorrected)
{
    CTestDialog dlg;
    dlg.m_nNumber = 5;
    bool bStillOpen = false;
    bool bFocusOnNumber = false;
    dlg.AddStep([](CTestDialog& d) {
        ::SetWindowTextW(d.Item(IDC_NUMBER), L"12x");
        d.PostMessage(WM_COMMAND, IDOK);
    });
    dlg.AddStep([&](CTestDialog& d) {
        bStillOpen = ::IsWindow(d.m_hWnd) && d.IsModal();
        bFocusOnNumber = ::GetFocus() == d.Item(IDC_NUMBER);
        ::SetWindowTextW(d.Item(IDC_NUMBER), L"12");
        d.PostMessage(WM_COMMAND, IDOK);
    });
    m_answerer.ReplyToMessage(IDOK, L"Please enter an integer.");
    ExpectRun();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bStillOpen);
    EXPECT_TRUE(bFocusOnNumber);
    EXPECT_EQ(dlg.m_nNumber, 12);
    EXPECT_EQ(m_answerer.messages.size(), 1u);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

namespace {
struct OwnerState {
    HWND hMain = nullptr;
    bool bTimerRan = false;
    bool bMainEnabled = true;
    HWND hOwner = nullptr;
    HWND hActive = nullptr;
};
OwnerState g_ownerState;

// A one-shot thread timer, as a person's click would come: whatever
// window is active gets OK.
void CALLBACK ClickOkProc(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(nullptr, nIDEvent);
    g_ownerState.bTimerRan = true;
    g_ownerState.bMainEnabled = ::IsWindowEnabled(g_ownerState.hMain) != FALSE;
    g_ownerState.hActive = ::GetActiveWindow();
    g_ownerState.hOwner = ::GetWindow(g_ownerState.hActive, GW_OWNER);
    ::PostMessageW(g_ownerState.hActive, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST_F(DialogTest, OwnerIsDisabledWhileTheModalLoopRuns)
{
    CTestApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 400, 300), nullptr, 0));
    app.m_pMainWnd = &mainWnd;
    CWnd childOfMain;
    ASSERT_TRUE(childOfMain.Create(nullptr, L"", WS_VISIBLE, CRect(0, 0, 50, 50), &mainWnd, 1));

    // Without a parent the main window owns the dialog; with a child
    // window as parent, the child's top-level window does.
    for (CWnd* pParent : {static_cast<CWnd*>(nullptr), &childOfMain}) {
        g_ownerState = OwnerState{};
        g_ownerState.hMain = mainWnd;
        CTestDialog dlg(true, pParent);
        ASSERT_NE(::SetTimer(nullptr, 0, 10, &ClickOkProc), 0u);
        ExpectRun();
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(g_ownerState.bTimerRan);
        EXPECT_FALSE(g_ownerState.bMainEnabled) << "the owner took input during the modal loop";
        EXPECT_EQ(g_ownerState.hOwner, mainWnd.m_hWnd);
        EXPECT_TRUE(mainWnd.IsWindowEnabled()) << "the owner stayed disabled";
    }
    app.m_pMainWnd = nullptr;
}

// A dialog started from inside another modal dialog must not leave that
// one open to input, even without a parent: it belongs to the dialog the
// user is working in.
TEST_F(DialogTest, NestedModalDialogDisablesTheDialogItWasStartedFrom)
{
    CTestApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 400, 300), nullptr, 0));
    app.m_pMainWnd = &mainWnd;

    struct Seen {
        HWND hInnerOwner = nullptr;
        bool bOuterEnabled = true;
        bool bMainEnabled = true;
        INT_PTR nInnerResult = 0;
        bool bOuterEnabledAfter = false;
    } seen;
    CTestDialog outer;
    HWND hOuter = nullptr;
    outer.AddStep([&](CTestDialog& o) {
        hOuter = o;
        CTestDialog inner;
        inner.AddStep([&](CTestDialog& i) {
            seen.hInnerOwner = ::GetWindow(i, GW_OWNER);
            seen.bOuterEnabled = ::IsWindowEnabled(hOuter) != FALSE;
            seen.bMainEnabled = mainWnd.IsWindowEnabled() != FALSE;
            i.EndDialog(IDYES);
        });
        ExpectRun();
        seen.nInnerResult = inner.DoModal();
        seen.bOuterEnabledAfter = ::IsWindowEnabled(hOuter) != FALSE;
        o.EndDialog(IDNO);
    });
    ExpectRun();
    EXPECT_EQ(outer.DoModal(), IDNO);
    EXPECT_EQ(seen.nInnerResult, IDYES);
    EXPECT_EQ(seen.hInnerOwner, hOuter);
    EXPECT_FALSE(seen.bOuterEnabled) << "the outer dialog took input while the inner one ran";
    EXPECT_FALSE(seen.bMainEnabled);
    EXPECT_TRUE(seen.bOuterEnabledAfter);
    EXPECT_TRUE(mainWnd.IsWindowEnabled());
    app.m_pMainWnd = nullptr;
}

TEST_F(DialogTest, QuitInsideTheModalLoopEndsItAndIsKeptForTheOuterLoop)
{
    CTestDialog dlg;
    dlg.AddStep([](CTestDialog&) { ::PostQuitMessage(7); });
    ExpectRun();
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    int nExitCode = 0;
    EXPECT_TRUE(PumpMessages(&nExitCode)) << "the quit request was lost";
    EXPECT_EQ(nExitCode, 7);
}

TEST_F(DialogTest, AnswererRepliesWithoutShowingTheDialog)
{
    CTestDialog dlg;
    m_answerer.ReplyToDialog(kTestDialogId, IDNO);
    EXPECT_EQ(dlg.DoModal(), IDNO);
    EXPECT_EQ(dlg.m_nInitDialogs, 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    ASSERT_EQ(m_answerer.dialogs.size(), 1u);
    EXPECT_EQ(m_answerer.dialogs[0].nIDTemplate, kTestDialogId);

    // A dialog nobody scripted fails the test that shows it, and is cancelled.
    CTestAnswerer nobody;
    CScopedAnswerer scope(nobody);
    INT_PTR nResult = 0;
    EXPECT_NONFATAL_FAILURE(nResult = dlg.DoModal(), "unanswered modal dialog 9100");
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(dlg.m_nInitDialogs, 0);
}

TEST_F(DialogTest, ModelessDialogIsOwnedByTheMainWindowWhenThereIsOne)
{
    {
        CTestDialog dlg;
        ASSERT_TRUE(dlg.CreateModeless());
        EXPECT_EQ(::GetWindow(dlg, GW_OWNER), nullptr);
        EXPECT_FALSE(dlg.IsModal());
    }
    CTestApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300),
                                 nullptr, 0));
    app.m_pMainWnd = &mainWnd;
    {
        CTestDialog dlg;
        ASSERT_TRUE(dlg.CreateModeless());
        EXPECT_EQ(::GetWindow(dlg, GW_OWNER), mainWnd.m_hWnd);
        EXPECT_EQ(dlg.GetParent(), &mainWnd) << "GetParent gives a pop-up's owner";
        EXPECT_TRUE(mainWnd.IsWindowEnabled());
    }
    app.m_pMainWnd = nullptr;
}

TEST_F(DialogTest, DdxControlSubclassesOnceForEachWindow)
{
    CTestDialog dlg;
    dlg.m_strName = L"abc";
    for (int nRound = 1; nRound <= 2; ++nRound) {
        ASSERT_TRUE(dlg.CreateModeless());
        HWND hEdit = dlg.Item(IDC_NAME);
        EXPECT_EQ(dlg.m_nameEdit.m_hWnd, hEdit);
        EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &dlg.m_nameEdit);
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        EXPECT_EQ(dlg.m_nameEdit.m_nPreSubclass, nRound) << "subclassed again for the same window";

        // Messages go through the control's object to the edit control.
        dlg.m_nameEdit.m_chars.clear();
        const int nEnd = ::GetWindowTextLengthW(hEdit);
        ::SendMessageW(hEdit, EM_SETSEL, nEnd, nEnd);
        ::PostMessageW(hEdit, WM_CHAR, L'z', 1);
        PumpMessages();
        EXPECT_EQ(dlg.m_nameEdit.m_chars, std::vector<UINT>{L'z'});
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_strName.ToAnsi(), nRound == 1 ? "abcz" : "abczz");

        EXPECT_TRUE(dlg.DestroyWindow());
        EXPECT_EQ(dlg.m_hWnd, nullptr);
        EXPECT_EQ(dlg.m_nameEdit.m_hWnd, nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    }
}

TEST_F(DialogTest, RadioGroupsEndAtTheNextGroup)
{
    struct Case {
        int nA;
        int nB;
    };
    const Case cases[] = {{-1, -1}, {0, 1}, {2, -1}, {-1, 0}, {1, 1}};
    CTestDialog dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    const int idsA[] = {IDC_RADIO_A1, IDC_RADIO_A2, IDC_RADIO_A3};
    const int idsB[] = {IDC_RADIO_B1, IDC_RADIO_B2};
    for (const Case& c : cases) {
        dlg.m_nRadioA = c.nA;
        dlg.m_nRadioB = c.nB;
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Checked(dlg.Item(idsA[i])), i == c.nA) << "A" << i + 1 << " for " << c.nA;
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(Checked(dlg.Item(idsB[i])), i == c.nB) << "B" << i + 1 << " for " << c.nB;
        dlg.m_nRadioA = 99;
        dlg.m_nRadioB = 99;
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_nRadioA, c.nA);
        EXPECT_EQ(dlg.m_nRadioB, c.nB);
    }
}

TEST_F(DialogTest, IntegerFieldTakesOnlyAnIntegerThatFits)
{
    struct Case {
        const wchar_t* text;
        bool bValid;
        int nValue;
    };
    const Case cases[] = {
        {L"12", true, 12},
        {L" -17 ", true, -17},
        {L"+5", true, 5},
        {L"2147483647", true, 2147483647},
        {L"12x", false, 0},
        {L"", false, 0},
        {L"   ", false, 0},
        {L"2147483648", false, 0},
        {L"-99999999999999999999", false, 0},
        // Longer than any number: read whole, not cut to a number.
        {L"1234567890123456789012345678901234567890123456789012345678901234567890", false, 0},
    };
    CTestDialog dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    for (const Case& c : cases) {
        const std::string what = CString(c.text).ToAnsi();
        dlg.m_nNumber = 4321;
        ::SetWindowTextW(dlg.Item(IDC_NUMBER), c.text);
        if (!c.bValid)
            m_answerer.ReplyToMessage(IDOK, L"Please enter an integer.");
        EXPECT_EQ(dlg.UpdateData(TRUE) != FALSE, c.bValid) << what;
        EXPECT_EQ(dlg.m_nNumber, c.bValid ? c.nValue : 4321) << what;
        EXPECT_TRUE(m_answerer.AllRepliesUsed()) << what;
    }
}

TEST_F(DialogTest, ObjectWithoutWindowFailsDataExchangeQuietly)
{
    CTestDialog dlg;
    dlg.m_strName = L"kept";
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strName.ToAnsi(), "kept");
    EXPECT_TRUE(m_answerer.messages.empty());
}
