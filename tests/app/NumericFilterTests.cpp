// The filter of numeric edit fields: its rules on the text alone, then
// characters typed through WM_CHAR into real edits of a dialog whose change
// notifications call the view's filter, as the program's pages do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Simbrel1View.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

TEST(NumericFilterTest, RemoveExtraCharRemovesAMisplacedFirstAndASecondOccurrence)
{
    struct Case {
        int bMustBeFirst;
        const wchar_t* text;
        wchar_t ch;
        const wchar_t* expected;
        int nResult;
    };
    const Case cases[] = {
        {1, L"5-", L'-', L"5", 1},
        {1, L"-5", L'-', L"-5", -1},
        {1, L"-5-", L'-', L"-5", 2},
        {1, L"--5", L'-', L"-5", 1},
        {1, L"5-3-", L'-', L"53", 2},  // both go in one call
        {1, L"", L'-', L"", -1},
        {0, L"1.2.3", L'.', L"1.23", 3},
        {0, L".5", L'.', L".5", -1},
        {0, L"12", L'.', L"12", -1},
        {0, L"1..", L'.', L"1.", 2},
    };
    for (const Case& c : cases) {
        CString strText = c.text;
        const int nResult = CSimbrel1View::RemoveExtraChar(c.bMustBeFirst, strText, c.ch);
        EXPECT_EQ(strText, CString(c.expected)) << strText.ToAnsi();
        EXPECT_EQ(nResult, c.nResult) << CString(c.text).ToAnsi();
    }
}

TEST(NumericFilterTest, EachRunMakesOneCorrectionForTheFieldsFlags)
{
    struct Case {
        const char* name;
        const wchar_t* text;
        int bNoMinus;
        int bNoPoint;
        const wchar_t* expected;
        int nChange;
        int nCaret;
    };
    const Case cases[] = {
        {"commas go first, all of them", L"1,2,3a", 0, 0, L"123a", 2, 1},
        {"a letter", L"12a3", 0, 0, L"123", 1, 2},
        {"the first disallowed character only", L"a1b", 0, 0, L"1b", 1, 0},
        {"a blank", L"1 5", 0, 0, L"15", 1, 1},
        {"minus allowed", L"-1.5", 0, 0, L"-1.5", 0, 0},
        {"minus not allowed", L"-1.5", 1, 0, L"1.5", 1, 0},
        {"point not allowed", L"1.5", 0, 1, L"15", 1, 1},
        {"point and minus not allowed", L".5", 1, 1, L"5", 1, 0},
        {"minus not first", L"5-", 0, 0, L"5", 1, 1},
        {"a second minus", L"-5-", 0, 1, L"-5", 1, 2},
        {"a second point", L"1.2.3", 0, 0, L"1.23", 1, 3},
        {"minus rule before point rule", L"1.2.3-", 0, 0, L"1.2.3", 1, 5},
        {"nothing to do", L"12.5", 0, 0, L"12.5", 0, 0},
        {"empty", L"", 1, 1, L"", 0, 0},
        {"lines: first line right, second fixed", L"-1.5\r\n2-", 0, 0, L"-1.5\r\n2", 1, 7},
        {"lines: stops after the first line that changes", L"1.2.\r\n3..", 0, 0, L"1.2\r\n3..", 1, 3},
        {"lines: each line may start with minus", L"-1\r\n-2", 0, 0, L"-1\r\n-2", 0, 0},
        {"lines: a letter anywhere", L"1\r\nx", 0, 0, L"1\r\n", 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CString strText = c.text;
        int nCaret = -1;
        EXPECT_EQ(CSimbrel1View::CleanNumericText(strText, c.bNoMinus, c.bNoPoint, nCaret), c.nChange);
        EXPECT_EQ(strText, CString(c.expected)) << strText.ToAnsi();
        if (c.nChange != 0) {
            EXPECT_EQ(nCaret, c.nCaret);
        }
    }
}

namespace {

enum : WORD {
    IDC_ANY = 1001,       // warns about commas
    IDC_NO_MINUS = 1002,  // warns about commas
    IDC_NO_POINT = 1003,
    IDC_DIGITS = 1004,
    IDC_LINES = 1005,
    IDC_NAME = 1006,  // not numeric; typing in it sets IDC_DIGITS
};

// A page with numeric fields whose change notifications call the filter.
class CNumericDialog : public CDialog {
public:
    explicit CNumericDialog(CSimbrel1View* pView)
        : m_pView(pView), m_template(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 130, L"Numbers")
    {
        const DWORD V = WS_VISIBLE | WS_TABSTOP | WS_BORDER;
        m_template.AddControl(L"EDIT", IDC_ANY, V | ES_AUTOHSCROLL, 10, 10, 80, 14);
        m_template.AddControl(L"EDIT", IDC_NO_MINUS, V | ES_AUTOHSCROLL, 10, 28, 80, 14);
        m_template.AddControl(L"EDIT", IDC_NO_POINT, V | ES_AUTOHSCROLL, 10, 46, 80, 14);
        m_template.AddControl(L"EDIT", IDC_DIGITS, V | ES_AUTOHSCROLL, 10, 64, 80, 14);
        m_template.AddControl(L"EDIT", IDC_LINES, V | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 100, 10, 90,
                              50);
        m_template.AddControl(L"EDIT", IDC_NAME, V | ES_AUTOHSCROLL, 10, 82, 80, 14);
    }

    BOOL CreateModeless() { return CreateIndirect(m_template.Get(), nullptr); }
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

    std::vector<int> m_results;

protected:
    void OnAnyChange() { m_results.push_back(m_pView->FilterNumericEdit(this, 1, 0, 0)); }
    void OnNoMinusChange() { m_results.push_back(m_pView->FilterNumericEdit(this, 1, 1, 0)); }
    void OnNoPointChange() { m_results.push_back(m_pView->FilterNumericEdit(this, 0, 0, 1)); }
    void OnDigitsChange() { m_results.push_back(m_pView->FilterNumericEdit(this, 0, 1, 1)); }
    void OnLinesChange() { m_results.push_back(m_pView->FilterNumericEdit(this, 0, 0, 0)); }
    // The program fills a numeric field from what is typed elsewhere.
    void OnNameChange() { SetDlgItemText(IDC_DIGITS, std::to_wstring(GetWindowTextLengthOf(IDC_NAME)).c_str()); }

private:
    int GetWindowTextLengthOf(int nID) const { return ::GetWindowTextLengthW(Item(nID)); }

    CSimbrel1View* m_pView;
    CMemoryDialogTemplate m_template;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNumericDialog, CDialog)
    ON_EN_CHANGE(IDC_ANY, OnAnyChange)
    ON_EN_CHANGE(IDC_NO_MINUS, OnNoMinusChange)
    ON_EN_CHANGE(IDC_NO_POINT, OnNoPointChange)
    ON_EN_CHANGE(IDC_DIGITS, OnDigitsChange)
    ON_EN_CHANGE(IDC_LINES, OnLinesChange)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

class NumericEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.CreateModeless());
        m_dialog.ShowWindow(SW_SHOW);
        PumpPending();
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
    }

    void Focus(int nID)
    {
        if (::GetFocus() != m_dialog.Item(nID)) {
            m_dialog.GotoDlgCtrl(m_dialog.GetDlgItem(nID));
            PumpPending();
        }
    }
    // Focuses the field and types the characters one by one, as a user does.
    void Type(int nID, const wchar_t* pszChars)
    {
        Focus(nID);
        for (; *pszChars != 0; ++pszChars) {
            ::PostMessageW(m_dialog.Item(nID), WM_CHAR, *pszChars, 1);
            PumpPending();
        }
    }
    std::wstring Text(int nID) const { return WindowText(m_dialog.Item(nID)); }
    int Caret(int nID) const
    {
        DWORD dwStart = 0;
        DWORD dwEnd = 0;
        ::SendMessageW(m_dialog.Item(nID), EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                       reinterpret_cast<LPARAM>(&dwEnd));
        EXPECT_EQ(dwStart, dwEnd) << "a selection instead of a caret";
        return static_cast<int>(dwStart);
    }
    void PutCaret(int nID, int nIndex)
    {
        ::SendMessageW(m_dialog.Item(nID), EM_SETSEL, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(nIndex));
    }
    size_t CommaWarnings() const
    {
        size_t n = 0;
        for (const auto& shown : m_answerer.programMessages) {
            if (shown.nIDText != IDS_MSG_COMMA_IN_NUMBER)
                continue;
            ++n;
            EXPECT_EQ(shown.text,
                      L"WARNING! You have entered\na comma in a numeric field.\nCommas are not allowed.\n\n"
                      L"Use periods to denote decimal points. ");
            EXPECT_EQ(shown.nIcon, 175);
            EXPECT_EQ(shown.nKind, 0);
            EXPECT_EQ(shown.nHelpTopic, 255);
        }
        return n;
    }

    CTestView m_view{L"numericroot"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CNumericDialog m_dialog{m_view.Get()};
};

}  // namespace

TEST_F(NumericEditTest, ATypedCommaIsRemovedWithTheWarningAndTheCaretStaysWhereItWasTyped)
{
    m_answerer.ReplyToProgramMessage(IDS_MSG_COMMA_IN_NUMBER, IDOK);
    Type(IDC_ANY, L"1,");
    EXPECT_EQ(Text(IDC_ANY), L"1");
    EXPECT_EQ(Caret(IDC_ANY), 1);
    EXPECT_EQ(CommaWarnings(), 1u);
    Type(IDC_ANY, L"5");
    EXPECT_EQ(Text(IDC_ANY), L"15");

    // In the middle of the text.
    m_answerer.ReplyToProgramMessage(IDS_MSG_COMMA_IN_NUMBER, IDOK);
    PutCaret(IDC_ANY, 1);
    Type(IDC_ANY, L",");
    EXPECT_EQ(Text(IDC_ANY), L"15");
    EXPECT_EQ(Caret(IDC_ANY), 1);
    EXPECT_EQ(CommaWarnings(), 2u);

    // A pasted "1,5" as one change.
    m_answerer.ReplyToProgramMessage(IDS_MSG_COMMA_IN_NUMBER, IDOK);
    ::SetWindowTextW(m_dialog.Item(IDC_NO_MINUS), L"");
    m_dialog.GotoDlgCtrl(m_dialog.GetDlgItem(IDC_NO_MINUS));
    ::SendMessageW(m_dialog.Item(IDC_NO_MINUS), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"1,5"));
    EXPECT_EQ(Text(IDC_NO_MINUS), L"15");
    EXPECT_EQ(Caret(IDC_NO_MINUS), 1);
    EXPECT_EQ(CommaWarnings(), 3u);

    // Fields without the warning flag lose the comma silently.
    Type(IDC_NO_POINT, L"2,5");
    Type(IDC_DIGITS, L"3,5");
    EXPECT_EQ(Text(IDC_NO_POINT), L"25");
    EXPECT_EQ(Text(IDC_DIGITS), L"35");
    EXPECT_EQ(CommaWarnings(), 3u);
}

TEST_F(NumericEditTest, TypedCharactersThatAreNotAllowedAreRemovedWhereTheyWereTyped)
{
    struct TypeCase {
        const char* name;
        int nID;
        const wchar_t* initial;
        int nCaretBefore;
        const wchar_t* typed;
        const wchar_t* expected;
        int nCaretAfter;
    };
    const TypeCase cases[] = {
        {"a letter between digits", IDC_ANY, L"123", 1, L"a", L"123", 1},
        {"digits after a removed letter", IDC_ANY, L"", 0, L"12a3", L"123", 3},
        {"minus after the first character", IDC_ANY, L"", 0, L"5-", L"5", 1},
        {"a second minus", IDC_ANY, L"", 0, L"--5", L"-5", 2},
        {"minus first", IDC_ANY, L"", 0, L"-5.25", L"-5.25", 5},
        {"a second point", IDC_ANY, L"", 0, L"1.2.3", L"1.23", 4},
        {"no minus at all", IDC_NO_MINUS, L"", 0, L"-7.5", L"7.5", 3},
        {"no point at all", IDC_NO_POINT, L"", 0, L"-7.5", L"-75", 3},
        {"digits only", IDC_DIGITS, L"", 0, L".5-", L"5", 1},
        // The earlier point is the second one now, and it goes.
        {"a point typed before the first", IDC_ANY, L"1.5", 0, L".", L".15", 2},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ::SetWindowTextW(m_dialog.Item(c.nID), c.initial);
        Focus(c.nID);
        PutCaret(c.nID, c.nCaretBefore);
        Type(c.nID, c.typed);
        EXPECT_EQ(Text(c.nID), c.expected);
        EXPECT_EQ(Caret(c.nID), c.nCaretAfter);
    }
}

TEST_F(NumericEditTest, MultiLineFieldsAreFilteredLineByLine)
{
    Type(IDC_LINES, L"1-2\r3.4.5\r-6");
    EXPECT_EQ(Text(IDC_LINES), L"12\r\n3.45\r\n-6");
    EXPECT_EQ(Caret(IDC_LINES), 12);

    ::SetWindowTextW(m_dialog.Item(IDC_LINES), L"");
    PutCaret(IDC_LINES, 0);
    ::SendMessageW(m_dialog.Item(IDC_LINES), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"1-2\r\n3-4"));
    EXPECT_EQ(Text(IDC_LINES), L"12\r\n34");
}

TEST_F(NumericEditTest, OnlyTheFocusedEditThatNotifiedIsFiltered)
{
    // Typing in the name field makes the program set a numeric field; the
    // filter it calls must not touch the name being typed.
    Type(IDC_NAME, L"Smith");
    EXPECT_EQ(Text(IDC_NAME), L"Smith");
    EXPECT_EQ(Text(IDC_DIGITS), L"5");

    // A numeric field set by the program while another field has the focus
    // is left as it is.
    Focus(IDC_ANY);
    const size_t nBefore = m_dialog.m_results.size();
    ::SetWindowTextW(m_dialog.Item(IDC_NO_POINT), L"1.5x");
    EXPECT_EQ(Text(IDC_NO_POINT), L"1.5x");
    ASSERT_EQ(m_dialog.m_results.size(), nBefore + 1);
    EXPECT_EQ(m_dialog.m_results.back(), 0);

    // Called outside a change notification, it changes nothing either.
    Focus(IDC_NAME);
    ::SetWindowTextW(m_dialog.Item(IDC_ANY), L"1a");
    Focus(IDC_ANY);
    EXPECT_EQ(m_view->FilterNumericEdit(&m_dialog, 0, 0, 0), 0);
    EXPECT_EQ(Text(IDC_ANY), L"1a");
}
