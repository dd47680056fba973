// The comments page: its section written and read (also the older forms),
// and the real page of the running program, where a long typed line comes
// back broken exactly where the comment field wrapped it, so that the
// report prints the lines the screen showed.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/CommentsDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

using Requests = std::vector<std::pair<WPARAM, LPARAM>>;

// The text's lines (CR LF between them).
std::vector<std::wstring> SplitLines(const CString& strText)
{
    std::vector<std::wstring> lines;
    const std::wstring& text = strText.str();
    size_t nStart = 0;
    for (;;) {
        const size_t nEnd = text.find(L"\r\n", nStart);
        lines.push_back(text.substr(nStart, nEnd == std::wstring::npos ? std::wstring::npos : nEnd - nStart));
        if (nEnd == std::wstring::npos)
            return lines;
        nStart = nEnd + 2;
    }
}

std::wstring TrimRight(std::wstring text)
{
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// The record and the files.

class CommentsRecordTest : public ViewFileTest {
protected:
    CommentsRecordTest() : ViewFileTest(L"CommentsView", L"Comments") {}
    CCommentsDialog& Page() const { return *V()->m_pComments; }
    CString Read(const wchar_t* pszFileText)
    {
        V()->m_strFileText = pszFileText;
        Page().ReadFromFile();
        return Page().m_strComments;
    }
};

TEST_F(CommentsRecordTest, TheSectionIsTheTextAFormFeedAndTheEndLine)
{
    Page().m_strComments.Empty();
    EXPECT_EQ(Page().WriteToFile(), L"END OF COMMENTS\r\n");
    Page().m_strComments = L"One line";
    EXPECT_EQ(Page().WriteToFile(), L"Comments: One line\f\r\nEND OF COMMENTS\r\n");
    // Soft line breaks left in the text are made real.
    Page().m_strComments = L"first \r\r\nsecond\r\nthird";
    EXPECT_EQ(Page().WriteToFile(), L"Comments: first \r\nsecond\r\nthird\f\r\nEND OF COMMENTS\r\n");
    EXPECT_EQ(Page().m_strComments, L"first \r\nsecond\r\nthird");
}

TEST(CommentsWrapping, LineStartsAfterNoLineBreakBecomeSoftBreaks)
{
    struct Case {
        const wchar_t* pszText;
        std::vector<int> starts;
        const wchar_t* pszMarked;
    };
    const Case cases[] = {
        {L"one two three", {0, 4, 8}, L"one \r\r\ntwo \r\r\nthree"},
        // A line that starts after a typed line break is no wrap.
        {L"ab\r\ncd ef", {0, 4, 7}, L"ab\r\ncd \r\r\nef"},
        // Starts out of order, repeated or outside the text change nothing.
        {L"abc", {0, 3, 7, -1}, L"abc"},
        {L"", {0}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCommentsDialog::MarkSoftLineBreaks(c.pszText, c.starts), c.pszMarked) << c.pszText;
}

TEST_F(CommentsRecordTest, TheReaderTakesTheBlockOrTheOlderKeys)
{
    struct Case {
        const wchar_t* pszText;
        const wchar_t* pszComments;
    };
    const Case cases[] = {
        // The form feed ends the block even before "END OF COMMENTS".
        {L"\nCOMMENTS\r\nComments:   Line 1\r\nLine 2\f\r\nEND OF COMMENTS\r\n", L"Line 1\r\nLine 2"},
        // Without a form feed the end line does; the line break stays.
        {L"\nCOMMENTS\r\nComments: Old style\r\nEND OF COMMENTS\r\n", L"Old style\r\n"},
        // Neither: no comment at all.
        {L"\nCOMMENTS\r\nComments: Cut short\r\n", L""},
        {L"\nCOMMENTS\r\nEND OF COMMENTS\r\n", L""},
        // Older files: one key per line, in number order, empty ones skipped.
        {L"Comment_7: seventh\r\nComment_3: third\r\nComment_5: \r\n", L"third\r\nseventh\r\n"},
        // A longer key ending in "Comments:" is another key.
        {L"Building_Comments: not these\f\r\nComment_1: first\r\n", L"first\r\n"},
        {L"Building_Comments: not these\f\r\nComments: these\f\r\nEND OF COMMENTS\r\n", L"these"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.pszText), c.pszComments) << c.pszText;
}

// Every page of this kind filled, saved, cleared as New Test clears, and
// opened again: the letterhead, the comments as stored, the standard's page
// and the equipment all come back.
TEST_F(CommentsRecordTest, EveryPageComesBackFromASavedTestFile)
{
    V()->m_strTestTitle = L"Untitled";
    V()->m_bTestOpen = 1;
    Settings().m_nStandard = 1;
    CBusinessInfoDialog& business = *V()->m_pBusinessInfo;
    CEN13829DataEntryDialog& en = *V()->m_pEn13829;
    CEquipmentInfoDialogIntl& equipment = *V()->m_pEquipment;
    business.m_strBusinessName = L"Leak Finders";
    business.m_strEmail = L"info@leak.example";
    Page().m_strComments = L"Windows closed, \r\nvents taped.\r\n\r\nÜberdruck first.";
    en.m_strRegulation = L"GEG";
    en.m_nLimitValueType = 1;
    en.m_strLimitValueName = L"n50";
    en.m_strLimitValue = L"1.5";
    en.m_nTestMethod = 2;
    equipment.m_strFanSerial = L"F-123";

    const std::wstring path = m_folder + L"all-pages.bld";
    m_answerer.ReplyToFileDialog(path);
    V()->m_bSaveAsTest = 1;
    ASSERT_EQ(V()->SaveFileAs(), CSimbrel1View::kSaveWritten);
    V()->ClearAllRecords();
    ASSERT_EQ(Page().m_strComments, L"");
    ASSERT_EQ(business.m_strBusinessName, L"");
    V()->OpenFile(0, path.c_str());

    EXPECT_EQ(Page().m_strComments, L"Windows closed, \r\nvents taped.\r\n\r\nÜberdruck first.");
    EXPECT_EQ(business.m_strBusinessName, L"Leak Finders");
    EXPECT_EQ(business.m_strEmail, L"info@leak.example");
    EXPECT_EQ(en.m_strRegulation, L"GEG");
    EXPECT_EQ(en.m_nLimitValueType, 1);
    EXPECT_EQ(en.m_strLimitValue, L"1.5");
    EXPECT_EQ(en.m_nTestMethod, 2);
    EXPECT_EQ(equipment.m_strFanSerial, L"F-123");
}

// ---------------------------------------------------------------------------
// The page of the running program.

class CommentsPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmar\\QARSEAL Vudadar 5.1\\Window size");
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }
    void TearDown() override
    {
        CloseProgram();
        g_pView = nullptr;
    }
    CCommentsDialog& Comments() const { return *m_pView->m_pComments; }
    void Open()
    {
        m_pView->CloseAllPages();
        m_pView->m_bLayoutPending = 1;
        ASSERT_TRUE(Comments().ShowPage());
        PumpCollectingRequests();
        ASSERT_TRUE(::IsWindow(Page()));
    }
    HWND Page() const { return Comments().GetSafeHwnd(); }
    HWND Field() const { return ::GetDlgItem(Page(), IDC_COMMENTS_TEXT); }
    void Type(const std::wstring& text)
    {
        for (wchar_t ch : text)
            ::PostMessageW(Field(), WM_CHAR, ch, 1);
        EXPECT_TRUE(PumpCollectingRequests().empty());
    }
    Requests Click(int nID)
    {
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(Page(), nID)));
        return PumpCollectingRequests();
    }
    // The lines as the field shows them.
    std::vector<std::wstring> FieldLines() const
    {
        std::vector<std::wstring> lines;
        const int nLines = static_cast<int>(::SendMessageW(Field(), EM_GETLINECOUNT, 0, 0));
        for (int i = 0; i < nLines; ++i) {
            wchar_t szLine[1024] = {};
            *reinterpret_cast<WORD*>(szLine) = 1000;
            const LRESULT nChars = ::SendMessageW(Field(), EM_GETLINE, static_cast<WPARAM>(i),
                                                  reinterpret_cast<LPARAM>(szLine));
            lines.emplace_back(szLine, static_cast<size_t>(nChars));
        }
        return lines;
    }
};

TEST_F(CommentsPageTest, ALongTypedLineComesBackBrokenWhereTheFieldWrappedIt)
{
    Comments().ClearData();
    Comments().m_bFirstShow = 1;
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(WindowText(Page()), L"Comments");
    EXPECT_EQ(ItemText(Page(), IDC_COMMENTS_NEXT_LABEL), L"to Test Settings");
    EXPECT_EQ(ItemText(Page(), IDC_COMMENTS_PREVIOUS_LABEL), L"to Bldg Test Info");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(Page(), IDC_COMMENTS_PREP_GROUP)));
    // The first opening lands in the comment field.
    EXPECT_EQ(::GetFocus(), Field());

    std::wstring typed;
    for (int i = 0; i < 12; ++i)
        typed += L"The fireplace damper was closed and taped before the test. ";
    Type(typed);
    const std::vector<std::wstring> shown = FieldLines();
    ASSERT_GE(shown.size(), 3u) << "the field wraps the line";
    SaveScreenshot(Page(), L"comments-page");

    EXPECT_EQ(Click(IDC_COMMENTS_NEXT), (Requests{{CCommentsDialog::IDD, CSimbrel1View::kPageNext}}));
    const std::vector<std::wstring> stored = SplitLines(Comments().m_strComments);
    ASSERT_EQ(stored.size(), shown.size());
    std::wstring joined;
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(TrimRight(stored[i]), TrimRight(shown[i])) << i;
        joined += stored[i];
    }
    EXPECT_EQ(TrimRight(joined), TrimRight(typed));
    // The report counts the lines the screen showed.
    EXPECT_EQ(m_pView->CountCommentLines(), static_cast<int>(shown.size()));
    // Leaving again changes nothing.
    const CString strStored = Comments().m_strComments;
    EXPECT_EQ(Click(IDC_COMMENTS_PREVIOUS), (Requests{{CCommentsDialog::IDD, CSimbrel1View::kPagePrevious}}));
    EXPECT_EQ(Comments().m_strComments, strStored);
}

TEST_F(CommentsPageTest, TrailingBlanksAndEmptyLinesGoWhenThePageIsLeft)
{
    const std::pair<int, LPARAM> buttons[] = {{IDC_COMMENTS_NEXT, CSimbrel1View::kPageNext},
                                              {IDC_COMMENTS_PREVIOUS, CSimbrel1View::kPagePrevious},
                                              {IDOK, CSimbrel1View::kPageOK},
                                              {IDCANCEL, CSimbrel1View::kPageCancel}};
    for (const auto& [nButton, nAction] : buttons) {
        Comments().ClearData();
        ASSERT_NO_FATAL_FAILURE(Open());
        ::SetFocus(Field());
        Type(L"Short note   \r\rSecond\t \r\r\r   ");
        EXPECT_EQ(Click(nButton), (Requests{{CCommentsDialog::IDD, nAction}})) << nButton;
        EXPECT_EQ(Comments().m_strComments, L"Short note   \r\n\r\nSecond") << nButton;
        EXPECT_EQ(ItemText(Page(), IDC_COMMENTS_TEXT), L"Short note   \r\n\r\nSecond") << nButton;
    }
}

// The comments as stored on leaving the page come back from a saved file,
// and the page shows them when it opens.
TEST_F(CommentsPageTest, TheStoredCommentsComeBackFromASavedFile)
{
    Comments().ClearData();
    ASSERT_NO_FATAL_FAILURE(Open());
    ::SetFocus(Field());
    std::wstring typed;
    for (int i = 0; i < 8; ++i)
        typed += L"Attic hatch sealed. ";
    Type(typed + L"\r\rMeasured by Jürgen.  ");
    Click(IDC_COMMENTS_NEXT);
    const CString strStored = Comments().m_strComments;
    ASSERT_FALSE(strStored.IsEmpty());

    m_pView->m_strFileText = CString(L"\nCOMMENTS\n") + Comments().WriteToFile();
    m_pView->CloseAllPages();
    Comments().ClearData();
    Comments().ReadFromFile();
    EXPECT_EQ(Comments().m_strComments, strStored);
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(ItemText(Page(), IDC_COMMENTS_TEXT), strStored.GetString());
}
