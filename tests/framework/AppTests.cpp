// CWinApp: the profile in the registry, the recent-file list, the command
// line, the message loop and the start-up entry. Each test makes its own
// application object; only one may exist at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const std::wstring kAppKey = std::wstring(L"Software\\") + kTestRegistryKey + L"\\" + kTestAppName;

// The raw registry value, read past the class library; "<missing>" when there is none.
std::wstring RawString(const wchar_t* pszSection, const wchar_t* pszEntry)
{
    wchar_t buffer[256] = {};
    DWORD cb = sizeof buffer;
    std::wstring key = kAppKey + L"\\" + pszSection;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), pszEntry, RRF_RT_REG_SZ, nullptr, buffer, &cb) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

std::string Narrow(const std::wstring& s)
{
    return CString(s).ToAnsi();
}

std::vector<std::string> ListOf(const CRecentFileList& list)
{
    std::vector<std::string> files;
    for (int i = 0; i < list.GetSize(); ++i)
        files.push_back(list[i].ToAnsi());
    return files;
}

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteTestRegistryKey(); }
    void TearDown() override { DeleteTestRegistryKey(); }
};

}  // namespace

TEST_F(ProfileTest, ValuesRoundTripUnderTheApplicationsKey)
{
    CTestApp app;
    const std::wstring strLong(3000, L'x');
    EXPECT_TRUE(app.WriteProfileString(L"Section A", L"Name", L"Value with blanks"));
    EXPECT_TRUE(app.WriteProfileString(L"Section A", L"Long", strLong.c_str()));
    EXPECT_TRUE(app.WriteProfileString(L"Section A", L"Empty", L""));
    EXPECT_TRUE(app.WriteProfileInt(L"Section A", L"Count", -5));
    EXPECT_TRUE(app.WriteProfileInt(L"Section B", L"Big", INT_MAX));

    EXPECT_EQ(app.GetProfileString(L"Section A", L"Name").ToAnsi(), "Value with blanks");
    EXPECT_EQ(app.GetProfileString(L"Section A", L"Long").str(), strLong);
    EXPECT_EQ(app.GetProfileString(L"Section A", L"Empty", L"default").ToAnsi(), "") << "an empty value is a value";
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Section A", L"Count", 0)), -5);
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Section B", L"Big", 0)), INT_MAX);

    // Where they are: HKEY_CURRENT_USER\Software\<key>\<application name>\<section>.
    EXPECT_EQ(Narrow(RawString(L"Section A", L"Name")), "Value with blanks");
    DWORD dwCount = 0;
    DWORD cb = sizeof dwCount;
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, (kAppKey + L"\\Section A").c_str(), L"Count", RRF_RT_REG_DWORD,
                             nullptr, &dwCount, &cb),
              ERROR_SUCCESS);
    EXPECT_EQ(dwCount, 0xFFFFFFFBu);
}

TEST_F(ProfileTest, MissingOrMistypedValuesGiveTheDefault)
{
    CTestApp app;
    app.WriteProfileString(L"Present", L"Text", L"12");
    app.WriteProfileInt(L"Present", L"Number", 12);

    struct StringCase {
        const wchar_t* section;
        const wchar_t* entry;
        const wchar_t* def;
        const char* expected;
    };
    const StringCase strings[] = {
        {L"Present", L"Missing", L"fallback", "fallback"},
        {L"Present", L"Missing", nullptr, ""},
        {L"No such section", L"Text", L"fallback", "fallback"},
        {L"Present", L"Number", L"not a string", "not a string"},
    };
    for (const StringCase& c : strings)
        EXPECT_EQ(app.GetProfileString(c.section, c.entry, c.def).ToAnsi(), c.expected) << Narrow(c.entry);

    EXPECT_EQ(app.GetProfileInt(L"Present", L"Missing", 77), 77u);
    EXPECT_EQ(app.GetProfileInt(L"Present", L"Text", 77), 77u) << "a string is not read as a number";
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"No such section", L"Number", -1)), -1);
}

TEST_F(ProfileTest, WritingNoTextDeletesTheValue)
{
    CTestApp app;
    ASSERT_TRUE(app.WriteProfileString(L"Section", L"Entry", L"text"));
    EXPECT_TRUE(app.WriteProfileString(L"Section", L"Entry", nullptr));
    EXPECT_EQ(Narrow(RawString(L"Section", L"Entry")), "<missing>");
    EXPECT_EQ(app.GetProfileString(L"Section", L"Entry", L"default").ToAnsi(), "default");
    EXPECT_TRUE(app.WriteProfileString(L"Section", L"Entry", nullptr)) << "deleting what is not there is no failure";
}

TEST_F(ProfileTest, WithoutARegistryKeyThereIsNoProfile)
{
    CWinApp app(L"No Key");
    EXPECT_FALSE(app.WriteProfileString(L"Section", L"Entry", L"text"));
    EXPECT_FALSE(app.WriteProfileInt(L"Section", L"Number", 1));
    EXPECT_EQ(app.GetProfileString(L"Section", L"Entry", L"default").ToAnsi(), "default");
    EXPECT_EQ(app.GetProfileInt(L"Section", L"Number", 5), 5u);
}

TEST_F(ProfileTest, RecentFilesKeepTheFourLatestNewestFirstAndPersist)
{
    {
        CTestApp app;
        app.LoadStdProfileSettings(4);
        CRecentFileList* pList = app.GetRecentFileList();
        ASSERT_NE(pList, nullptr);
        EXPECT_EQ(pList->GetSize(), 0);
        for (const wchar_t* psz : {L"C:\\t\\a.bld", L"C:\\t\\b.bld", L"C:\\t\\c.bld", L"C:\\t\\d.bld", L"C:\\t\\e.bld"})
            app.AddToRecentFileList(psz);
        EXPECT_EQ(ListOf(*pList), (std::vector<std::string>{"C:\\t\\e.bld", "C:\\t\\d.bld", "C:\\t\\c.bld",
                                                            "C:\\t\\b.bld"}));
        // Added again in other letters: moved to the front, not listed twice.
        app.AddToRecentFileList(L"c:\\T\\C.BLD");
        EXPECT_EQ(ListOf(*pList), (std::vector<std::string>{"c:\\T\\C.BLD", "C:\\t\\e.bld", "C:\\t\\d.bld",
                                                            "C:\\t\\b.bld"}));
        app.AddToRecentFileList(L"C:\\t\\b.bld");
        EXPECT_EQ(ListOf(*pList), (std::vector<std::string>{"C:\\t\\b.bld", "c:\\T\\C.BLD", "C:\\t\\e.bld",
                                                            "C:\\t\\d.bld"}));
        // The list is saved when the application ends.
        app.ExitInstance();
    }
    EXPECT_EQ(Narrow(RawString(L"Recent File List", L"File1")), "C:\\t\\b.bld");
    {
        CTestApp app;
        app.LoadStdProfileSettings(4);
        EXPECT_EQ(ListOf(*app.GetRecentFileList()), (std::vector<std::string>{"C:\\t\\b.bld", "c:\\T\\C.BLD",
                                                                              "C:\\t\\e.bld", "C:\\t\\d.bld"}));

        // A shorter list leaves no stale entries behind.
        CRecentFileList shorter(L"Recent File List", L"File%d", 4);
        shorter.Add(L"C:\\t\\x.bld");
        shorter.WriteList();
        app.LoadStdProfileSettings(4);
        EXPECT_EQ(ListOf(*app.GetRecentFileList()), std::vector<std::string>{"C:\\t\\x.bld"});
        EXPECT_EQ(Narrow(RawString(L"Recent File List", L"File2")), "<missing>");
    }
}

TEST(CommandLine, FirstArgumentThatIsNoFlagIsTheFile)
{
    struct Param {
        const wchar_t* text;
        bool bFlag;
    };
    struct Case {
        std::vector<Param> params;
        const char* file;
        int nShellCommand;
    };
    const Case cases[] = {
        {{}, "", CCommandLineInfo::FileNew},
        {{{L"house.bld", false}}, "house.bld", CCommandLineInfo::FileOpen},
        {{{L"nologo", true}}, "", CCommandLineInfo::FileNew},
        {{{L"p", true}, {L"C:\\My Tests\\house 1.bld", false}}, "C:\\My Tests\\house 1.bld",
         CCommandLineInfo::FileOpen},
        {{{L"first.bld", false}, {L"second.bld", false}}, "first.bld", CCommandLineInfo::FileOpen},
        {{{L"first.bld", false}, {L"x", true}}, "first.bld", CCommandLineInfo::FileOpen},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.params.size(); ++i)
            info.ParseParam(c.params[i].text, c.params[i].bFlag, i + 1 == c.params.size());
        std::string what = c.params.empty() ? std::string("(none)") : Narrow(c.params.back().text);
        EXPECT_EQ(info.m_strFileName.ToAnsi(), c.file) << what;
        EXPECT_EQ(info.m_nShellCommand, c.nShellCommand) << what;
    }
}

namespace {

const UINT kMsgDispatched = WM_APP + 30;
const UINT kMsgConsumedByMain = WM_APP + 31;

// The main window consumes one message in its pre-translation.
class CMainWnd : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override { return pMsg->message == kMsgConsumedByMain; }
};

class CRecordingChild : public CWnd {
public:
    std::vector<UINT> received;

protected:
    LRESULT OnAny(WPARAM, LPARAM)
    {
        received.push_back(GetCurrentMessage()->message);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingChild, CWnd)
    ON_MESSAGE(kMsgDispatched, OnAny)
    ON_MESSAGE(kMsgConsumedByMain, OnAny)
END_MESSAGE_MAP()

class CLoopApp : public CTestApp {
public:
    std::vector<LONG> idleCounts;
    std::vector<UINT> preTranslated;

    BOOL OnIdle(LONG lCount) override
    {
        CTestApp::OnIdle(lCount);
        idleCounts.push_back(lCount);
        if (lCount == 0)
            return TRUE;  // more idle work to do
        ::PostQuitMessage(0);
        return FALSE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        preTranslated.push_back(pMsg->message);
        return CTestApp::PreTranslateMessage(pMsg);
    }
    int ExitInstance() override
    {
        CTestApp::ExitInstance();
        return 3;
    }
};

}  // namespace

TEST(AppLoop, RunPreTranslatesThroughTheMainWindowIdlesAndEnds)
{
    PumpMessages();
    CLoopApp app;
    CMainWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200),
                                 nullptr, 0));
    app.m_pMainWnd = &mainWnd;
    CRecordingChild child;
    ASSERT_TRUE(child.Create(nullptr, L"", WS_VISIBLE, CRect(0, 0, 50, 50), &mainWnd, 1));

    child.PostMessage(kMsgConsumedByMain);
    child.PostMessage(kMsgDispatched);
    EXPECT_EQ(app.Run(), 3) << "Run returns what ExitInstance returns";

    EXPECT_EQ(child.received, std::vector<UINT>{kMsgDispatched}) << "the main window's pre-translation was skipped";
    EXPECT_NE(std::find(app.preTranslated.begin(), app.preTranslated.end(), kMsgConsumedByMain),
              app.preTranslated.end());
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1})) << "idle runs while the queue is empty, counting up";
    app.m_pMainWnd = nullptr;
}

namespace {
class CFailingApp : public CWinApp {
public:
    CWnd m_mainWnd;
    BOOL InitInstance() override
    {
        if (!m_mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200),
                                nullptr, 0))
            return TRUE;  // the test sees no window and fails
        m_pMainWnd = &m_mainWnd;
        return FALSE;
    }
    int ExitInstance() override
    {
        CWinApp::ExitInstance();
        return 9;
    }
};
}  // namespace

TEST(AppStartUp, FailedInitInstanceDestroysTheMainWindowAndEnds)
{
    CFailingApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr), SW_HIDE), 9);
    EXPECT_EQ(app.m_nCmdShow, SW_HIDE);
    EXPECT_EQ(app.m_mainWnd.m_hWnd, nullptr);
    // Constructed without a name, the application is named by its title string.
    CString strTitle;
    ASSERT_TRUE(strTitle.LoadString(57344));
    EXPECT_EQ(CString(AfxGetAppName()).ToAnsi(), strTitle.ToAnsi());
}

TEST(AppStartUp, OnlyTheLivingApplicationIsTheApplication)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CTestApp app;
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(CString(AfxGetAppName()).ToAnsi(), CString(kTestAppName).ToAnsi());
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}
