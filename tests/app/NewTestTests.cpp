// The whole program: New Test from a used program gives what New Test gives
// on a program just started; the first paint; the help PDFs beside the
// program, opened through the shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1View.h"
#include "app/StandardSelectionDialog.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

// The standards as the settings record numbers them.
constexpr int kCgsb = 0;
constexpr int kEn13829 = 1;
constexpr int kIso9972 = 3;

// What New Test leaves, as far as a later save or the screen shows it.
struct NewTestState {
    std::wstring text;
    std::wstring title;
    int nDirection;
    std::wstring letters;
    int bOffLine;
    int bExportedFile;
    int bTestOpen;
    std::vector<std::wstring> shownPages;

    bool operator==(const NewTestState&) const = default;
};

void PrintTo(const NewTestState& s, std::ostream* os)
{
    *os << "title " << CString(s.title.c_str()).ToAnsi() << ", direction " << s.nDirection << ", letters "
        << CString(s.letters.c_str()).ToAnsi() << ", off-line " << s.bOffLine << ", exported " << s.bExportedFile
        << ", open " << s.bTestOpen << ", " << s.shownPages.size() << " pages shown";
}

BOOL CALLBACK CollectShownPage(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (std::wstring(szClass) == L"#32770" && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(WindowText(hWnd));
    return TRUE;
}

class NewTestCommand : public ProgramTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartProgram()); }
    void TearDown() override
    {
        CloseProgram();
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
    }

    NewTestState RunNewTest()
    {
        m_answerer.ReplyToDialog(CTestStandardSelection::IDD, IDOK);
        m_answerer.ReplyToDialog(CEquipmentInfoDialogIntl::IDD, IDCANCEL);
        m_pView->OnFileNewTest();
        PumpPending();
        NewTestState state;
        state.text = m_pView->BuildFileText(0).GetString();
        state.title = m_pView->m_strTestTitle.GetString();
        state.nDirection = g_nCurrentDirection;
        state.letters = {m_pView->m_pSettings->m_chDirectionLetter[0], m_pView->m_pSettings->m_chDirectionLetter[1]};
        state.bOffLine = m_pView->m_bOffLine;
        state.bExportedFile = m_pView->m_bExportedFile;
        state.bTestOpen = m_pView->m_bTestOpen;
        ::EnumThreadWindows(::GetCurrentThreadId(), CollectShownPage, reinterpret_cast<LPARAM>(&state.shownPages));
        ::EnumChildWindows(m_pFrame->GetSafeHwnd(), CollectShownPage, reinterpret_cast<LPARAM>(&state.shownPages));
        std::sort(state.shownPages.begin(), state.shownPages.end());
        return state;
    }
};

}  // namespace

// The default settings file wins over the factory values; the deviations'
// include flag is the one thing kept across New Test.
TEST_F(NewTestCommand, FromAUsedProgramAsOnAFreshOne)
{
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    settings.m_nStandard = kCgsb;
    ASSERT_TRUE(settings.WriteDefaultsFile());
    settings.m_nStandard = kIso9972;

    const NewTestState fresh = RunNewTest();
    EXPECT_EQ(settings.m_nStandard, kCgsb) << "the default file holds over the factory standard";
    EXPECT_EQ(fresh.title, L"Untitled");
    EXPECT_EQ(fresh.nDirection, 1);
    EXPECT_EQ(fresh.letters, L"PD");
    EXPECT_EQ(fresh.bOffLine, 0);
    EXPECT_EQ(fresh.bTestOpen, 1);
    EXPECT_EQ(fresh.shownPages.size(), 1u) << "only the building page";
    EXPECT_EQ(std::wstring(m_pView->m_strSavedText.GetString()), fresh.text);

    // Use the program: tests in both directions, the other direction and
    // letters, an exported file, off-line, another standard and title.
    CTestGraph1& store = *m_pView->m_pTestGraph;
    store.m_CompletedTests[0] = 2;
    store.m_CompletedTests[1] = 3;
    store.m_bHasTestData = 1;
    g_nCurrentDirection = 0;
    settings.m_chDirectionLetter[0] = L'D';
    settings.m_chDirectionLetter[1] = L'P';
    settings.m_nStandard = kEn13829;
    m_pView->m_bExportedFile = 1;
    m_pView->m_bOffLine = 1;
    m_pView->m_strTestTitle = L"Smith house";
    m_pView->m_pDeviations->m_bIncludeInReport = 0;

    // The changes are offered for saving first; declined, they go.
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDNO);
    const NewTestState used = RunNewTest();
    EXPECT_EQ(used, fresh);
    EXPECT_EQ(m_answerer.programMessages.size(), 1u);
    EXPECT_EQ(store.m_CompletedTests[0], 0);
    EXPECT_EQ(store.m_CompletedTests[1], 0);
    EXPECT_EQ(m_pView->m_pDeviations->m_bIncludeInReport, 0) << "kept across New Test";
}

// The first paint starts the timers once and opens the start-up file; the
// message the opening shows repaints the view without opening it again.
class FirstPaint : public ProgramTest {
protected:
    void TearDown() override
    {
        g_strStartupFile.Empty();
        CloseProgram();
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
    }
};

TEST_F(FirstPaint, StartsTheTimersAndOpensTheStartupFileOnce)
{
    ASSERT_NO_FATAL_FAILURE(PrepareApplication());
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    m_pView = m_pFrame->GetMainView();
    ASSERT_NE(nullptr, m_pView);
    ASSERT_EQ(m_pView->m_bFirstPaint, 1);

    const std::wstring path = MakeTempFolder(L"first-paint") + L"not a test.bld";
    ASSERT_TRUE(WriteBytes(path, "\xFF\xFEn\0o\0t\0 \0a\0 \0t\0e\0s\0t\0"));
    g_strStartupFile = path.c_str();
    // Only one reply: a second opening would find none and fail the test.
    CDialogDriver driver;
    m_answerer.RunProgramMessage(IDS_FILE_FORMAT_INVALID, driver.Run({[this](HWND h) {
                                     EXPECT_EQ(m_pView->m_bFirstPaint, 0) << "cleared before the opening";
                                     // Repaints while the message is up, as a moved message box causes.
                                     m_pView->Invalidate();
                                     m_pView->UpdateWindow();
                                     ClickItem(h, IDOK);
                                 }}));
    m_pView->Invalidate();
    m_pView->UpdateWindow();
    PumpPending();

    EXPECT_EQ(m_pView->m_bFirstPaint, 0);
    EXPECT_NE(m_pView->m_nTimer1, 0u) << "the tick timer runs";
    EXPECT_EQ(m_answerer.programMessages.size(), 1u);
    m_pView->Invalidate();
    m_pView->UpdateWindow();
    EXPECT_EQ(m_answerer.programMessages.size(), 1u);
}

// Help PDFs: the first six files of "HelpPdfs" beside the program become
// the entries 1031 to 1036, named up to their first dot; an entry opens its
// file through the shell's association, and a file the shell cannot open
// asks for a reader.
class HelpPdfMenu : public ProgramTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartProgram()); }
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VudadarTest.HelpPdf");
        CloseProgram();
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
    }
    static bool SetDefault(const std::wstring& key, const std::wstring& value)
    {
        return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
};

TEST_F(HelpPdfMenu, SixEntriesOpenedThroughTheShell)
{
    const std::wstring folder = MakeTempFolder(L"help-pdfs");
    ASSERT_TRUE(::CreateDirectoryW((folder + L"HelpPdfs").c_str(), nullptr));
    const wchar_t* files[] = {L"A Quick Start.v2.pdf", L"B Manual.pdf",  L"C Gauges.pdf", L"D Fans.pdf",
                              L"E Standards.pdf",      L"F Reports.pdf", L"G Extra.pdf"};
    for (const wchar_t* pszFile : files)
        ASSERT_TRUE(WriteBytes(folder + L"HelpPdfs\\" + pszFile, "%PDF-1.4\n"));
    ASSERT_TRUE(WriteBytes(folder + L"HelpPdfs\\notes.txt", "not a pdf"));

    // An association whose open command only records what it was given.
    const std::wstring record = folder + L"opened.txt";
    ASSERT_TRUE(SetDefault(L".pdf", L"VudadarTest.HelpPdf"));
    ASSERT_TRUE(SetDefault(L"VudadarTest.HelpPdf\\shell\\open\\command",
                           L"C:\\windows\\system32\\cmd.exe /c echo %1> \"" + record + L"\""));

    m_pView->m_strProgramFolder = folder.c_str();
    m_pView->AddHelpPdfMenu();
    HMENU hHelp = ::GetSubMenu(::GetMenu(m_pFrame->GetSafeHwnd()), 3);
    ASSERT_NE(hHelp, nullptr);
    std::vector<std::wstring> entries;
    for (UINT nID = 1031; nID <= 1037; ++nID) {
        wchar_t szText[64] = {};
        if (::GetMenuStringW(hHelp, nID, szText, 64, MF_BYCOMMAND) > 0)
            entries.push_back(szText);
    }
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"A Quick Start", L"B Manual", L"C Gauges", L"D Fans",
                                                  L"E Standards", L"F Reports"}));

    m_pFrame->SendMessage(WM_COMMAND, 1031);
    std::string opened;
    for (int i = 0; i < 200 && opened.empty(); ++i) {
        ::Sleep(50);
        opened = ReadBytes(record);
    }
    EXPECT_NE(opened.find(".pdf"), std::string::npos) << "the shell ran the association: " << opened;

    // A file gone since the menu was made: the shell cannot open it.
    m_answerer.ReplyToMessage(IDOK);
    m_pView->OpenHelpPdf((folder + L"HelpPdfs\\Gone.pdf").c_str());
    ASSERT_EQ(m_answerer.messages.size(), 1u);
    CString strExpected;
    ASSERT_TRUE(strExpected.LoadString(IDS_PDF_READER_REQUIRED));
    EXPECT_EQ(m_answerer.messages[0].text, strExpected.GetString());
}
