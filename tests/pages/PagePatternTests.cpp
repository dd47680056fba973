// What every test information page shares, on a page of the running
// program made from a template in memory: the record outlives its window,
// the buttons and keys ask the view to move on, the focus comes back to
// the field the user left, Enter walks the entry fields, the default
// button follows the focused owner-drawn button, texts and layout, Clear.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/MainFrm.h"
#include "app/PageDialog.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

class CPatternPage : public CPageDialog {
public:
    static constexpr UINT kTemplate = 133;
    enum {
        kFieldA = 2010,   // entry field
        kFieldB = 2011,   // an edit that is not an entry field
        kFieldC = 2012,   // entry field, hidden
        kFieldD = 2013,   // entry field
        kHelp = 2020,
        kNext = 2021,
        kClear = 2022,
        kLabel = 2030,
        kNoAction = 2040,
    };

    explicit CPatternPage(CSimbrel1View* pView)
        : CPageDialog(kTemplate, pView), m_template(WS_POPUP | WS_CAPTION, 300, 160, L"Page")
    {
        m_nNoActionId = kNoAction;
        m_EntryFields = {kFieldA, kFieldC, kFieldD};
        const DWORD dwEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
        const DWORD dwButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
        m_template.AddControl(L"STATIC", kLabel, WS_CHILD | WS_VISIBLE, 10, 4, 200, 10, L"placeholder");
        m_template.AddControl(L"EDIT", kFieldA, dwEdit, 10, 20, 100, 14);
        m_template.AddControl(L"EDIT", kFieldB, dwEdit, 10, 40, 100, 14);
        m_template.AddControl(L"EDIT", kFieldC, dwEdit & ~WS_VISIBLE, 10, 60, 100, 14);
        m_template.AddControl(L"EDIT", kFieldD, dwEdit, 10, 80, 100, 14);
        m_template.AddControl(L"BUTTON", kHelp, dwButton, 10, 130, 50, 20, L"Help");
        m_template.AddControl(L"BUTTON", kClear, dwButton, 120, 130, 50, 20, L"Clear");
        m_template.AddControl(L"BUTTON", kNext, dwButton, 230, 130, 50, 20, L"Next");
        m_template.AddControl(L"BUTTON", kNoAction, WS_CHILD | BS_PUSHBUTTON, 200, 110, 20, 10, L"No Action");
        m_template.AddControl(L"BUTTON", IDOK, WS_CHILD | BS_PUSHBUTTON, 230, 110, 20, 10, L"OK");
        m_template.AddControl(L"BUTTON", IDCANCEL, WS_CHILD | BS_PUSHBUTTON, 260, 110, 20, 10, L"Cancel");
    }

    BOOL Create(UINT, CWnd* pParentWnd) override { return CreateIndirect(m_template.Get(), pParentWnd); }
    void ClearData() override
    {
        for (CString& strText : m_strField)
            strText.Empty();
    }
    void SetTexts() override
    {
        SetControlText(0, IDS_CUSTOM_PRESSURES_CAPTION);
        SetControlText(kLabel, IDS_CLEAR);
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        for (int i = 0; i < 4; ++i)
            DDX_Text(pDX, kFieldA + i, m_strField[i]);
    }
    void OnNext() { PostPageAction(3); }

    CString m_strField[4];

private:
    CMemoryDialogTemplate m_template;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPatternPage, CPageDialog)
    ON_BN_CLICKED(kNoAction, OnNoAction)
    ON_BN_CLICKED(kClear, OnClearButton)
    ON_BN_CLICKED(kNext, OnNext)
END_MESSAGE_MAP()

using Requests = std::vector<std::pair<WPARAM, LPARAM>>;

}  // namespace

class PagePatternTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        page = new CPatternPage(m_pView);
    }
    void TearDown() override
    {
        if (page->GetSafeHwnd() != nullptr)
            page->DestroyWindow();
        delete page;
        m_pView->m_bPdfRunning = 0;
        CloseProgram();
    }

    void Open()
    {
        ASSERT_TRUE(page->ShowPage());
        ASSERT_NE(page->GetSafeHwnd(), nullptr);
        PumpPending();
    }
    HWND Page() const { return page->GetSafeHwnd(); }
    HWND Item(int nID) const { return ::GetDlgItem(Page(), nID); }
    int FocusId() const { return ::GetDlgCtrlID(::GetFocus()); }
    void Focus(int nID)
    {
        ::SetFocus(Item(nID));
        PumpCollectingRequests();
    }
    // The BN_CLICKED a click on the button sends.
    void PressButton(int nID)
    {
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
    }
    Requests PressAndCollect(UINT nKey)
    {
        PressKey(nKey);
        return PumpCollectingRequests();
    }

    CPatternPage* page = nullptr;
};

TEST_F(PagePatternTest, TheRecordKeepsTheTypedTextsHoweverTheWindowGoes)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(page->m_bCreated, 1);
    ::SetDlgItemTextW(Page(), CPatternPage::kFieldA, L"Main Street 5");
    page->DestroyWindow();
    EXPECT_EQ(page->m_strField[0], L"Main Street 5");
    EXPECT_EQ(page->m_bCreated, 0);

    // Destroyed behind the record's back (the main window going, say).
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(ItemText(Page(), CPatternPage::kFieldA), L"Main Street 5");
    ::SetDlgItemTextW(Page(), CPatternPage::kFieldD, L"Leeds");
    ::DestroyWindow(Page());
    EXPECT_EQ(page->m_strField[3], L"Leeds");
    EXPECT_EQ(page->m_bCreated, 0);
}

TEST_F(PagePatternTest, ButtonsAndKeysStoreThenAskTheViewWithTheTemplateAndCode)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    const WPARAM nPage = CPatternPage::kTemplate;

    ::SetDlgItemTextW(Page(), CPatternPage::kFieldA, L"typed before Next");
    PressButton(CPatternPage::kNext);
    EXPECT_EQ(PumpCollectingRequests(), (Requests{{nPage, 3}}));
    EXPECT_EQ(page->m_strField[0], L"typed before Next");

    Focus(CPatternPage::kFieldA);
    EXPECT_EQ(PressAndCollect(VK_ESCAPE), (Requests{{nPage, 2}}));
    PressButton(IDOK);
    EXPECT_EQ(PumpCollectingRequests(), (Requests{{nPage, 1}}));

    for (const int nCode : {4, 10, 11}) {
        ::SetDlgItemTextW(Page(), CPatternPage::kFieldD, std::to_wstring(nCode).c_str());
        page->PostPageAction(nCode);
        EXPECT_EQ(PumpCollectingRequests(), (Requests{{nPage, nCode}}));
        EXPECT_EQ(page->m_strField[3], std::to_wstring(nCode).c_str());
    }

    // Without a view the page stores but asks nobody.
    page->m_pView = nullptr;
    ::SetDlgItemTextW(Page(), CPatternPage::kFieldB, L"no view");
    page->PostPageAction(3);
    EXPECT_TRUE(PumpCollectingRequests().empty());
    EXPECT_EQ(page->m_strField[1], L"no view");
    page->m_pView = m_pView;
}

TEST_F(PagePatternTest, NextThenPreviousPutsTheFocusBackInTheFieldLeft)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(CPatternPage::kFieldA);
    PressAndCollect(VK_TAB);   // the dialog keys move on to B
    ASSERT_EQ(FocusId(), CPatternPage::kFieldB);
    EXPECT_EQ(page->m_nFocusCtrlId, CPatternPage::kFieldB);

    // The view closes the page on Next and opens it again on Previous.
    PressButton(CPatternPage::kNext);
    EXPECT_EQ(PumpCollectingRequests(), (Requests{{CPatternPage::kTemplate, 3}}));
    page->DestroyWindow();
    Focus(0);
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(FocusId(), CPatternPage::kFieldB);

    // Refreshing the open page does the same.
    ::SetFocus(Item(CPatternPage::kFieldD));
    page->RefreshPage();
    EXPECT_EQ(FocusId(), CPatternPage::kFieldB);
}

TEST_F(PagePatternTest, AnAltCombinationGivesTheFocusToTheMainWindow)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(CPatternPage::kFieldD);
    // Alt and Shift: a key down that makes no menu character.
    ::PostMessageW(Item(CPatternPage::kFieldD), WM_SYSKEYDOWN, VK_SHIFT, 0x20000001);
    PumpCollectingRequests();
    // The frame passes the focus on to its view.
    EXPECT_EQ(::GetAncestor(::GetFocus(), GA_ROOT), m_pFrame->GetSafeHwnd());
    EXPECT_EQ(page->m_nFocusCtrlId, CPatternPage::kFieldD);
}

TEST_F(PagePatternTest, EnterWalksTheEntryFieldsInTabOrder)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_EQ(LOWORD(page->GetDefID()), CPatternPage::kNoAction);
    struct WalkCase {
        int nFrom;
        int nTo;
    } cases[] = {
        {CPatternPage::kFieldA, CPatternPage::kFieldD},   // B is no entry field, C is hidden
        {CPatternPage::kFieldB, CPatternPage::kFieldD},
        {CPatternPage::kFieldD, CPatternPage::kFieldA},   // past the buttons and round
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.nFrom);
        Focus(c.nFrom);
        EXPECT_TRUE(PressAndCollect(VK_RETURN).empty());
        EXPECT_EQ(FocusId(), c.nTo);
    }

    // No entry field can take the focus: the walk ends where it began.
    ::EnableWindow(Item(CPatternPage::kFieldA), FALSE);
    ::EnableWindow(Item(CPatternPage::kFieldD), FALSE);
    Focus(CPatternPage::kFieldB);
    EXPECT_TRUE(PressAndCollect(VK_RETURN).empty());
    EXPECT_EQ(FocusId(), CPatternPage::kFieldB);
}

TEST_F(PagePatternTest, TheDefaultButtonFollowsTheFocusedOwnerDrawnButton)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(CPatternPage::kHelp);
    EXPECT_EQ(LOWORD(page->GetDefID()), CPatternPage::kHelp);
    Focus(CPatternPage::kNext);
    EXPECT_EQ(LOWORD(page->GetDefID()), CPatternPage::kNext);
    // Enter now presses the focused button.
    EXPECT_EQ(PressAndCollect(VK_RETURN), (Requests{{CPatternPage::kTemplate, 3}}));
    Focus(CPatternPage::kFieldA);
    EXPECT_EQ(LOWORD(page->GetDefID()), CPatternPage::kNoAction);
}

TEST_F(PagePatternTest, TextsWaitWhileAPdfIsPrintedAndTheFirstLayoutClearsTheRequest)
{
    m_pView->m_bPdfRunning = 1;
    m_pView->m_bLayoutPending = 1;
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(ItemText(Page(), CPatternPage::kLabel), L"placeholder");
    EXPECT_EQ(WindowText(Page()), L"Page");
    EXPECT_EQ(m_pView->m_bLayoutPending, 1);

    m_pView->m_bPdfRunning = 0;
    const CRect rcBefore = ItemRect(Page(), CPatternPage::kFieldA);
    Focus(CPatternPage::kFieldA);
    page->RefreshPage();
    EXPECT_EQ(ItemText(Page(), CPatternPage::kLabel), L"Clear");
    EXPECT_EQ(WindowText(Page()), L"Custom Pressures");
    EXPECT_EQ(m_pView->m_bLayoutPending, 0);
    // The page was scaled over the view, its controls with it; the hidden
    // field stays hidden.
    EXPECT_NE(ItemRect(Page(), CPatternPage::kFieldA), rcBefore);
    EXPECT_FALSE(::IsWindowVisible(Item(CPatternPage::kFieldC)));
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(Item(CPatternPage::kFieldA), WM_GETFONT, 0, 0)),
              static_cast<HFONT>(m_pView->m_pPageFont->GetSafeHandle()));
}

TEST_F(PagePatternTest, ClearAsksAndClearsOnlyOnYes)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    ::SetDlgItemTextW(Page(), CPatternPage::kFieldA, L"keep me");
    page->UpdateData(TRUE);

    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDNO);
    PressButton(CPatternPage::kClear);
    EXPECT_EQ(page->m_strField[0], L"keep me");
    EXPECT_EQ(ItemText(Page(), CPatternPage::kFieldA), L"keep me");

    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDYES);
    PressButton(CPatternPage::kClear);
    EXPECT_TRUE(page->m_strField[0].IsEmpty());
    EXPECT_EQ(ItemText(Page(), CPatternPage::kFieldA), L"");

    ASSERT_EQ(m_answerer.programMessages.size(), 2u);
    for (const auto& shown : m_answerer.programMessages) {
        EXPECT_EQ(shown.text,
                  L"WARNING!  All entries will be cleared.\r\n\r\nDo you wish for all entries to be cleared?");
        EXPECT_EQ(shown.nIcon, 176);
        EXPECT_EQ(shown.nKind, 4);
        EXPECT_EQ(shown.nHelpTopic, 255);
    }
}
