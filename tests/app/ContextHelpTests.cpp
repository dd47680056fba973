// Context help: decoding and searching the help text file, the help panel
// shown by the view, and the two small helpers that come with it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <string>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/HelpDialog.h"
#include "app/Simbrel1View.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

std::string Utf16Bytes(const std::wstring& text, bool bWithMark)
{
    std::string bytes;
    if (bWithMark)
        bytes += "\xFF\xFE";
    for (const wchar_t ch : text) {
        bytes += static_cast<char>(ch & 0xFF);
        bytes += static_cast<char>((ch >> 8) & 0xFF);
    }
    return bytes;
}

const wchar_t kHelpText[] =
    L"@@50 Test Settings details\r\nSection fifty.\r\n"
    L"@@5 Test Settings\r\nSection five.\r\n"
    L"@@16\r\nUnits text.\r\n"
    L"@@210 Standard Selection\r\nChoose a standard: \x00e9t\x00e9.\r\n"
    L"@@";

TEST(HelpFileTest, DecodesUtf16WithOrWithoutMarkAndEightBitText)
{
    const std::wstring text = L"@@5 Title\r\nCaf\x00e9 \x0141\r\n@@";
    EXPECT_EQ(CString(text), DecodeHelpFile(Utf16Bytes(text, false)));
    EXPECT_EQ(CString(text), DecodeHelpFile(Utf16Bytes(text, true)));

    // 8-bit text: each byte one character, up to the first NUL.
    EXPECT_EQ(CString(L"@@5 Caf\x00e9\r\nx"), DecodeHelpFile(std::string("@@5 Caf\xE9\r\nx\0tail", 15)));
    // Wide text ends at its first NUL; an odd last byte is a character of its own.
    EXPECT_EQ(CString(L"@@5"), DecodeHelpFile(Utf16Bytes(L"@@5", false) + std::string("\0\0x\0", 4)));
    EXPECT_EQ(CString(L"@@5A"), DecodeHelpFile(Utf16Bytes(L"@@5", false) + "A"));
    // A file that only starts like wide text is 8-bit text.
    EXPECT_EQ(CString(L"@"), DecodeHelpFile(std::string("@\0@", 3)));
    EXPECT_EQ(CString(), DecodeHelpFile(std::string()));
}

TEST(HelpFileTest, FindsTopicsByTheFirstMarkerThatStartsWithTheirNumber)
{
    struct Case {
        const char* name;
        const wchar_t* help;
        int nTopic;
        bool bFound;
        const wchar_t* title;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"a longer number coming first matches", kHelpText, 5, true, L"0 Test Settings details", L"Section fifty.\r\n"},
        {"exact marker", kHelpText, 210, true, L" Standard Selection", L"Choose a standard: \x00e9t\x00e9.\r\n"},
        {"empty title", kHelpText, 16, true, L"", L"Units text.\r\n"},
        {"absent topic", kHelpText, 17, false, L"", L""},
        {"no marker after the last section", L"@@7 Last\r\nno end marker", 7, true, L" Last", L""},
        {"marker line without a line end", L"text @@7 Title", 7, true, L" Title", L""},
        {"bare LF line ends keep the first character", L"@@7 T\nText\n@@", 7, true, L" T", L"Text\n"},
        {"bare CR line ends", L"@@7 T\rText\r@@", 7, true, L" T", L"Text\r"},
        {"next marker right after the title line", L"@@7 T\r\n@@8 U\r\nx@@", 7, true, L" T", L""},
        {"empty file", L"", 5, false, L"", L""},
    };
    for (const Case& c : cases) {
        CString strTitle, strText;
        EXPECT_EQ(c.bFound, FindHelpTopic(c.help, c.nTopic, strTitle, strText)) << c.name;
        EXPECT_EQ(CString(c.title), strTitle) << c.name;
        EXPECT_EQ(CString(c.text), strText) << c.name;
    }
}

TEST(HelpFileTest, LoadsFromAFileOrReportsItMissing)
{
    const std::wstring folder = MakeTempFolder(L"helpload");
    const std::wstring path = folder + L"\\QEhelp.txt";
    CString strTitle, strText;
    EXPECT_FALSE(LoadHelpTopic(path.c_str(), 5, strTitle, strText));

    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(kHelpText, false)));
    ASSERT_TRUE(LoadHelpTopic(path.c_str(), 210, strTitle, strText));
    EXPECT_EQ(CString(L" Standard Selection"), strTitle);

    ASSERT_TRUE(WriteBytes(path, std::string("@@16 Units\r\nUnits text.\r\n@@")));
    ASSERT_TRUE(LoadHelpTopic(path.c_str(), 16, strTitle, strText));
    EXPECT_EQ(CString(L"Units text.\r\n"), strText);

    // Binary rubbish is no help file, and nothing breaks.
    std::string rubbish;
    for (int i = 0; i < 4096; ++i)
        rubbish += static_cast<char>(((i + 1) * 7919) & 0xFF);
    for (const std::string& bytes : {rubbish, std::string("@\0@\0", 4) + rubbish + "@"}) {
        ASSERT_TRUE(WriteBytes(path, bytes));
        EXPECT_FALSE(LoadHelpTopic(path.c_str(), 5, strTitle, strText));
    }
}

TEST(HelpFileTest, EveryTopicOfTheShippedFileFindsItsOwnSection)
{
    const char* pszSource = std::getenv("VUDADAR_SOURCE_DIR");
    if (pszSource == nullptr)
        GTEST_SKIP() << "VUDADAR_SOURCE_DIR is not set";
    // The source folder is a Unix path; Wine maps it under drive Z:.
    CString strPath = CString(L"Z:") + CString(pszSource) + L"/res/QEhelp.txt";
    strPath.Replace(L'/', L'\\');
    CFile file;
    ASSERT_TRUE(file.Open(strPath.GetString(), CFile::modeRead)) << strPath.ToAnsi();
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    ASSERT_EQ(bytes.size(), file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    const CString strHelp = DecodeHelpFile(bytes);

    int nSections = 0;
    for (int nAt = strHelp.Find(L"@@"); nAt >= 0; nAt = strHelp.Find(L"@@", nAt + 2)) {
        int nEnd = nAt + 2;
        while (nEnd < strHelp.GetLength() && std::iswdigit(strHelp[nEnd]))
            ++nEnd;
        if (nEnd == nAt + 2)
            continue;  // the closing marker
        const int nTopic = std::wcstol(strHelp.Mid(nAt + 2, nEnd - nAt - 2).GetString(), nullptr, 10);
        CString strTitle, strText;
        ASSERT_TRUE(FindHelpTopic(strHelp, nTopic, strTitle, strText)) << nTopic;
        const int nEol = strHelp.Find(L"\r\n", nAt);
        EXPECT_EQ(strHelp.Mid(nEnd, nEol - nEnd), strTitle) << "topic " << nTopic << " finds another section";
        EXPECT_FALSE(strText.IsEmpty()) << nTopic;
        ++nSections;
    }
    EXPECT_GT(nSections, 3);
    for (const int nTopic : {5, 16, 105, 210}) {
        CString strTitle, strText;
        EXPECT_TRUE(FindHelpTopic(strHelp, nTopic, strTitle, strText)) << nTopic;
    }
}

TEST(HelpPanelTest, ScalesToTheViewsWidthOrHeightWhicheverIsTighter)
{
    // Width decides: 1180 / 364.
    EXPECT_DOUBLE_EQ(1180.0 / 364.0, CHelpDialog::GetPanelScale(364, 191, 1180, 760));
    // Height decides: the panel is relatively taller than the view.
    EXPECT_DOUBLE_EQ(400.0 / 300.0, CHelpDialog::GetPanelScale(400, 300, 800, 400));
    EXPECT_DOUBLE_EQ(1.0, CHelpDialog::GetPanelScale(364, 191, 0, 0));
    EXPECT_DOUBLE_EQ(1.0, CHelpDialog::GetPanelScale(0, 191, 800, 600));
}

class ContextHelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder(L"helpprogram");
        m_view->m_strProgramFolder = (m_folder + L"\\").c_str();
    }

    // Shows the topic; the steps act on the open panel; returns what the
    // panel showed as caption and text at the first step.
    void Show(int nTopic, std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(IDD_HELP_PANEL, m_driver.Run(std::move(steps)));
        m_view->ShowContextHelp(nTopic);
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
    }

    CTestView m_view{L"helproot"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CDialogDriver m_driver;
    std::wstring m_folder;
    std::wstring m_caption;
    std::wstring m_text;
};

TEST_F(ContextHelpTest, MissingFileOrTopicShowsHelpIsNotAvailable)
{
    for (const bool bWithFile : {false, true}) {
        if (bWithFile) {
            ASSERT_TRUE(WriteBytes(m_folder + L"\\QEhelp.txt", Utf16Bytes(kHelpText, false)));
        }
        Show(bWithFile ? 999 : 5, {[this](HWND h) {
                                       m_caption = WindowText(h);
                                       m_text = ItemText(h, IDC_HELP_TEXT);
                                       ClickItem(h, IDOK);
                                   }});
        EXPECT_EQ(L"Help", m_caption) << bWithFile;
        EXPECT_EQ(L"Help is not available for this dialog.", m_text) << bWithFile;
    }
}

TEST_F(ContextHelpTest, ShowsTheTopicReadOnlyIgnoresEscAndClosesWithExitHelp)
{
    ASSERT_TRUE(WriteBytes(m_folder + L"\\QEhelp.txt", Utf16Bytes(kHelpText, true)));
    std::wstring button;
    int bLiveDuring = -1;
    bool bStillOpenAfterEsc = false;
    g_bLiveReadings = 1;
    Show(210, {[&](HWND h) {
                   m_caption = WindowText(h);
                   m_text = ItemText(h, IDC_HELP_TEXT);
                   button = ItemText(h, IDOK);
                   bLiveDuring = g_bLiveReadings;
                   // Even with the edit made writable, typing changes nothing.
                   const HWND hEdit = ::GetDlgItem(h, IDC_HELP_TEXT);
                   EXPECT_TRUE(::GetWindowLongW(hEdit, GWL_STYLE) & ES_READONLY);
                   ::SendMessageW(hEdit, EM_SETREADONLY, FALSE, 0);
                   ::SendMessageW(hEdit, WM_CHAR, L'x', 0);
                   ::SetFocus(::GetDlgItem(h, IDOK));
                   PressKey(VK_ESCAPE);
               },
               [&](HWND h) {
                   bStillOpenAfterEsc = ::IsWindowVisible(h) != FALSE;
                   EXPECT_EQ(m_text, ItemText(h, IDC_HELP_TEXT));
                   ClickItem(h, IDOK);
               }});
    EXPECT_TRUE(bStillOpenAfterEsc) << "Esc closed the panel";
    EXPECT_EQ(L" Standard Selection", m_caption);
    EXPECT_EQ(L"Choose a standard: \x00e9t\x00e9.\r\n", m_text);
    EXPECT_EQ(L"Exit Help", button);
    EXPECT_EQ(0, bLiveDuring);
    EXPECT_EQ(1, g_bLiveReadings);
    // The panel made the page font the view lacked.
    EXPECT_NE(nullptr, m_view->m_pPageFont);
}

TEST_F(ContextHelpTest, FitsThePanelAndItsControlsToTheView)
{
    // Lend the view a window three times as wide as it is high.
    const HWND hView = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1200, 400, nullptr, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(m_view->Attach(hView));
    CRect rcPanel, rcEdit, rcClient;
    Show(5, {[&](HWND h) {
        ::GetWindowRect(h, &rcPanel);
        ::GetClientRect(h, &rcClient);
        rcEdit = ItemRect(h, IDC_HELP_TEXT);
        ClickItem(h, IDOK);
    }});
    m_view->Detach();
    ::DestroyWindow(hView);

    // The template is wider than high, but not three times: the height decides.
    EXPECT_NEAR(400, rcPanel.Height(), 1);
    EXPECT_LT(rcPanel.Width(), 1200);
    EXPECT_GT(rcPanel.Width(), rcPanel.Height());
    // The text keeps its place in the panel: a small margin, most of the width.
    EXPECT_GT(rcEdit.left, 0);
    EXPECT_GT(rcEdit.Width(), rcClient.Width() * 9 / 10);
    EXPECT_LE(rcEdit.right, rcClient.right);
}

TEST(StripLeadingBlanksTest, RemovesOnlyLeadingBlanks)
{
    EXPECT_EQ(CString(L"two words "), CSimbrel1View::StripLeadingBlanks(L"   two words "));
    EXPECT_EQ(CString(), CSimbrel1View::StripLeadingBlanks(L""));
    EXPECT_EQ(CString(), CSimbrel1View::StripLeadingBlanks(L"   "));
    EXPECT_EQ(CString(L"\t x"), CSimbrel1View::StripLeadingBlanks(L" \t x"));
}

TEST(DelayTest, WaitsOnTheProgramClockUntilItHasAdvancedEnough)
{
    CSteppingClock clock(10);
    {
        CScopedProgramClock scope(clock);
        CSimbrel1View::DelayMs(1000);
    }
    // One reading at the start, then readings until 1000 ms have passed.
    EXPECT_EQ(101, clock.m_nReadings);
    EXPECT_EQ(1010, clock.m_nNowMs);

    clock.m_nReadings = 0;
    {
        CScopedProgramClock scope(clock);
        CSimbrel1View::DelayMs(0);
        CSimbrel1View::DelayMs(-50);
    }
    EXPECT_EQ(4, clock.m_nReadings);

    // The real clock: no shorter than asked, measured on a fine clock.
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    CSimbrel1View::DelayMs(40);
    ::QueryPerformanceCounter(&end);
    EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 39);
}

}  // namespace
