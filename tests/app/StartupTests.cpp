// Start-up and shut-down: command line, window placement, data folder,
// the view's object graph, the verbose-errors key and the welcome panel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/PersistentFrame.h"
#include "app/Simbrel1App.h"
#include "app/Simbrel1View.h"
#include "app/WelcomePanel.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"

namespace {
std::string Narrow(const CString& s)
{
    return s.ToAnsi();
}
}  // namespace

TEST(CommandLine, TakesTheFileNameWhole)
{
    struct Case {
        const wchar_t* raw;
        const wchar_t* parsed;
        const wchar_t* expected;
    };
    const Case cases[] = {
        // Quoted program path, unquoted file path with blanks: all of it.
        {L"\"C:\\Program Files\\Vudadar.exe\" C:\\My Tests\\house 1.bld", L"C:\\My", L"C:\\My Tests\\house 1.bld"},
        // Quoted file path: the closing quote is dropped.
        {L"\"C:\\Vudadar\\Vudadar.exe\" \"C:\\My Tests\\house.bld\"", L"C:\\My Tests\\house.bld",
         L"C:\\My Tests\\house.bld"},
        // The parsed name also occurs inside the quoted program path.
        {L"\"C:\\Tests\\Vudadar.exe\" Tests", L"Tests", L"Tests"},
        // Unquoted program path (as Wine and Windows give it without blanks).
        {L"C:\\Vudadar\\Vudadar.exe D:\\a b\\c.bld", L"D:\\a", L"D:\\a b\\c.bld"},
        // A name the raw line does not hold is kept as parsed.
        {L"Vudadar.exe x", L"y", L"y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Narrow(TakeWholeFileName(c.raw, c.parsed)), Narrow(CString(c.expected))) << Narrow(CString(c.raw));
}

TEST(WindowPlacement, StoredRectangleIsReadAsFourNumbers)
{
    struct Case {
        const wchar_t* text;
        bool ok;
        RECT rect;
    };
    const Case cases[] = {
        {L"0001 0001 0640 0480", true, {1, 1, 640, 480}},
        {L"-1920 0010 -0200 1000", true, {-1920, 10, -200, 1000}},  // a five-character first coordinate
        {L"-005 -008 1930 1050", true, {-5, -8, 1930, 1050}},
        {L"12 34", false, {}},
        {L"abc", false, {}},
        {L"1 2 3 4 5", false, {}},
    };
    for (const Case& c : cases) {
        RECT rect{};
        EXPECT_EQ(ParsePlacementRect(c.text, rect), c.ok) << Narrow(CString(c.text));
        if (c.ok) {
            EXPECT_EQ(rect.left, c.rect.left);
            EXPECT_EQ(rect.top, c.rect.top);
            EXPECT_EQ(rect.right, c.rect.right);
            EXPECT_EQ(rect.bottom, c.rect.bottom);
        }
    }
}

TEST(WindowPlacement, RestoresWhatWasStored)
{
    const POINT ptMax = {-1, -1};
    // Nothing stored: maximised over the default rectangle.
    WINDOWPLACEMENT wp = MakeRestoredPlacement(CStoredPlacement{}, false, ptMax);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(wp.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 1);
    EXPECT_EQ(wp.rcNormalPosition.top, 1);
    EXPECT_EQ(wp.rcNormalPosition.right, 640);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 480);
    EXPECT_EQ(wp.ptMaxPosition.x, -1);

    // Minimised from maximised: shown minimised, restoring to maximised.
    CStoredPlacement stored;
    stored.strRect = L"0010 0020 0800 0600";
    stored.nIcon = 1;
    stored.nMax = 1;
    wp = MakeRestoredPlacement(stored, true, ptMax);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINNOACTIVE));
    EXPECT_EQ(wp.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 10);

    stored.nIcon = 0;
    stored.nMax = 0;
    wp = MakeRestoredPlacement(stored, true, ptMax);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(wp.flags, static_cast<UINT>(WPF_SETMINPOSITION));
    EXPECT_EQ(wp.rcNormalPosition.bottom, 600);
}

TEST(WindowPlacement, StoresTheStateOfTheWindow)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.rcNormalPosition = {-5, 7, 1930, 1050};

    wp.showCmd = SW_SHOWMINIMIZED;
    wp.flags = WPF_RESTORETOMAXIMIZED;
    CStoredPlacement stored = MakeStoredPlacement(wp);
    EXPECT_EQ(stored.nIcon, 1);
    EXPECT_EQ(stored.nMax, 1);
    EXPECT_EQ(Narrow(stored.strRect), "-005 0007 1930 1050");

    wp.flags = 0;
    stored = MakeStoredPlacement(wp);
    EXPECT_EQ(stored.nIcon, 1);
    EXPECT_EQ(stored.nMax, 0);

    wp.showCmd = SW_SHOWMAXIMIZED;
    stored = MakeStoredPlacement(wp);
    EXPECT_EQ(stored.nIcon, 0);
    EXPECT_EQ(stored.nMax, 1);

    wp.showCmd = SW_SHOWNORMAL;
    stored = MakeStoredPlacement(wp);
    EXPECT_EQ(stored.nIcon, 0);
    EXPECT_EQ(stored.nMax, 0);
}

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = MakeTempFolder(L"userdata");
        m_program = MakeTempFolder(L"program");
        m_dataFolder = m_root + L"\\Quillmar\\QARSEAL Vudadar 5.1\\";
    }
    CString Prepare()
    {
        m_imported.clear();
        return PrepareDataFolder(m_root.c_str(), m_program.c_str(), L"QARSEAL Vudadar 5.1",
                                 [this](const CString& path) { m_imported.push_back(path.str()); });
    }

    std::wstring m_root;
    std::wstring m_program;
    std::wstring m_dataFolder;
    std::vector<std::wstring> m_imported;
};

TEST_F(DataFolderTest, FirstStartCopiesTheDefaultFilesTheProgramFolderHas)
{
    WriteBytes(m_program + L"DefaultUnits.dat", "units");
    WriteBytes(m_program + L"DefaultSettings.dat", "settings");
    WriteBytes(m_program + L"PartnerLogo.jpg", "jpeg");

    EXPECT_EQ(Prepare().str(), m_dataFolder);
    EXPECT_EQ(ReadBytes(m_dataFolder + L"DefaultUnits.dat"), "units");
    EXPECT_EQ(ReadBytes(m_dataFolder + L"DefaultSettings.dat"), "settings");
    EXPECT_FALSE(FileExists(m_dataFolder + L"DefaultEquipmentInfo.dat"));
    ASSERT_EQ(m_imported.size(), 1u);
    EXPECT_EQ(m_imported[0], m_program + L"PartnerLogo.jpg");

    // Once the units file is there, nothing more happens.
    WriteBytes(m_program + L"DefaultEquipmentInfo.dat", "equipment");
    Prepare();
    EXPECT_FALSE(FileExists(m_dataFolder + L"DefaultEquipmentInfo.dat"));
    EXPECT_TRUE(m_imported.empty());
}

TEST_F(DataFolderTest, RepeatedFirstStartKeepsTheUsersOwnFiles)
{
    // The program folder lacks the units file, so every start is a first start.
    WriteBytes(m_program + L"DefaultEquipmentInfo.dat", "factory equipment");
    WriteBytes(m_program + L"PartnerLogo.jpg", "jpeg");
    Prepare();
    EXPECT_FALSE(FileExists(m_dataFolder + L"DefaultUnits.dat"));
    EXPECT_EQ(ReadBytes(m_dataFolder + L"DefaultEquipmentInfo.dat"), "factory equipment");

    WriteBytes(m_dataFolder + L"DefaultEquipmentInfo.dat", "my equipment");
    WriteBytes(m_dataFolder + L"ReportLogo-Header.bmp", "my logo");
    Prepare();
    EXPECT_EQ(ReadBytes(m_dataFolder + L"DefaultEquipmentInfo.dat"), "my equipment");
    EXPECT_TRUE(m_imported.empty());
}

TEST_F(DataFolderTest, ExistingDataFolderIsLeftAlone)
{
    std::wstring company = m_root + L"\\Quillmar\\";
    CreateDirectoryW(company.c_str(), nullptr);
    CreateDirectoryW(m_dataFolder.c_str(), nullptr);
    WriteBytes(m_dataFolder + L"DefaultUnits.dat", "mine");
    WriteBytes(m_program + L"DefaultUnits.dat", "factory");
    WriteBytes(m_program + L"DefaultSettings.dat", "factory");
    Prepare();
    EXPECT_EQ(ReadBytes(m_dataFolder + L"DefaultUnits.dat"), "mine");
    EXPECT_FALSE(FileExists(m_dataFolder + L"DefaultSettings.dat"));
}

class ViewLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"viewroot").c_str();
        m_pOldSink = SetLifecycleSink(&m_events);
    }
    void TearDown() override
    {
        SetLifecycleSink(m_pOldSink);
        g_strUserDataRoot = m_savedRoot;
    }
    // The events whose name starts with '+' or '-' and the device closings.
    std::vector<std::string> m_events;
    std::vector<std::string>* m_pOldSink = nullptr;
    CString m_savedRoot;
};

TEST_F(ViewLifecycleTest, BuildsAndTearsDownItsRecordsInOrder)
{
    auto* pView = new CSimbrel1View;
    const std::vector<std::string> created = {
        "+CBusinessInfoDialog", "+CFanCalibrationDialog", "+CTestSettingsDialog", "+CCommentsDialog",
        "+CTestGraph1", "+CQarMathFunctions", "+CDeviationsFromStandard", "+CManualDataEntryDialog",
        "+CCustomPressuresDialog", "+CQarCommunications", "+CQarCommunications", "+CQarCommunications",
        "+CQarCommunications", "+CZoneDataDialog", "+CEquipmentInfoDialogIntl", "+CTestResultsDialog",
        "+CBaselineDataEntry", "+CBuildingInfoDialog", "+CEN13829DataEntryDialog", "+CISO9972DataEntryDialog",
        "+CTemperatureEntryDialog", "+CTemperatureAndBarometricPressure", "+CTemperatureAndAltitudeEntry"};
    EXPECT_EQ(m_events, created);
    EXPECT_EQ(pView->m_bPdfDriverAvailable, 1);
    EXPECT_EQ(pView->m_bNewFormatFile, 1);
    EXPECT_EQ(pView->m_bAnnounceScan, 1);
    EXPECT_EQ(pView->m_pTestGraph->m_pSettings, pView->m_pSettings);
    EXPECT_EQ(pView->m_pSettings->m_pTestGraph, pView->m_pTestGraph);
    EXPECT_EQ(pView->m_pResults->m_pBuildingInfo, pView->m_pBuildingInfo);
    EXPECT_EQ(pView->m_pZoneData->m_pTestGraph, pView->m_pTestGraph);
    EXPECT_EQ(pView->m_pTestGraph->m_pEquipment, pView->m_pEquipment);
    EXPECT_FALSE(pView->m_strProgramFolder.IsEmpty());
    EXPECT_EQ(pView->m_strProgramFolder[pView->m_strProgramFolder.GetLength() - 1], L'\\');
    EXPECT_EQ(pView->m_strDataFolder.str(), std::wstring(g_strUserDataRoot.GetString()) +
                                                L"\\Quillmar\\QARSEAL Vudadar 5.1\\");

    // A connected primary gauge is closed before its link goes.
    pView->m_pLink[0]->m_bConnected = 1;
    m_events.clear();
    delete pView;
    const std::vector<std::string> destroyed = {
        "-CManualDataEntryDialog", "-CQarMathFunctions", "-CTestGraph1", "-CCommentsDialog",
        "-CTestSettingsDialog", "-CFanCalibrationDialog", "-CBusinessInfoDialog", "-CDeviationsFromStandard",
        "CloseDevice", "-CQarCommunications", "-CQarCommunications", "-CQarCommunications",
        "-CQarCommunications", "-CCustomPressuresDialog", "-CZoneDataDialog", "-CEquipmentInfoDialogIntl",
        "-CBuildingInfoDialog", "-CTestResultsDialog", "-CBaselineDataEntry", "-CEN13829DataEntryDialog",
        "-CISO9972DataEntryDialog", "-CTemperatureEntryDialog", "-CTemperatureAndBarometricPressure",
        "-CTemperatureAndAltitudeEntry"};
    EXPECT_EQ(m_events, destroyed);
}

TEST_F(ViewLifecycleTest, VOrF7AsksForVerboseNetworkErrorsOnEveryPress)
{
    CSimbrel1View* pView = new CSimbrel1View;
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    g_bVerboseWifiErrors = 0;
    MSG msg{};
    msg.message = WM_KEYDOWN;

    msg.wParam = 'V';
    answerer.ReplyToMessage(IDNO, L"Verbose WIFI Error Messages");
    EXPECT_FALSE(pView->PreTranslateMessage(&msg));
    EXPECT_EQ(g_bVerboseWifiErrors, 0);

    msg.wParam = VK_F7;
    answerer.ReplyToMessage(IDYES, L"Verbose WIFI Error Messages");
    EXPECT_FALSE(pView->PreTranslateMessage(&msg));
    EXPECT_EQ(g_bVerboseWifiErrors, 1);

    // Asked again; No does not switch the texts off.
    msg.wParam = 'V';
    answerer.ReplyToMessage(IDNO);
    pView->PreTranslateMessage(&msg);
    EXPECT_EQ(g_bVerboseWifiErrors, 1);
    EXPECT_EQ(answerer.messages.size(), 3u);
    EXPECT_EQ(answerer.messages[0].nType & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));

    // Other keys ask nothing.
    msg.wParam = 'W';
    pView->PreTranslateMessage(&msg);
    EXPECT_EQ(answerer.messages.size(), 3u);
    delete pView;
    g_bVerboseWifiErrors = 0;
}

TEST(WelcomePanel, FitsEightyPercentOfTheScreen)
{
    // The template's pixel size at the dialog font of the test prefix varies,
    // so the rule is checked for several panel shapes.
    for (const SIZE panel : {SIZE{579, 380}, SIZE{600, 300}, SIZE{386, 400}}) {
        const CPanelFit fit = FitPanelToScreen(panel.cx, panel.cy, 1920, 1080);
        EXPECT_EQ(fit.x, 192);
        EXPECT_EQ(fit.y, 108);
        EXPECT_LE(fit.cx, 1536);
        EXPECT_LE(fit.cy, 864);
        EXPECT_TRUE(fit.cx >= 1535 || fit.cy >= 863) << panel.cx << "x" << panel.cy;
        EXPECT_NEAR(static_cast<double>(fit.cx) / fit.cy, static_cast<double>(panel.cx) / panel.cy, 0.01);
    }
}

TEST(WelcomePanel, VersionComesFromTheVersionResource)
{
    EXPECT_EQ(Narrow(CWelcomePanel::GetVersionText()), "5.1.1.0");
}

class WelcomePanelWindowTest : public ::testing::Test {
protected:
    void Open(int bAbout)
    {
        m_panel.m_bAbout = bAbout;
        ASSERT_TRUE(m_panel.Create(CWelcomePanel::IDD));
        // The test ticks the clock itself.
        ::KillTimer(m_panel.m_hWnd, 1);
        m_panel.ShowWindow(SW_SHOW);
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i)
            m_panel.SendMessage(WM_TIMER, 1);
    }
    bool Closed() const { return !m_panel.IsWindowVisible(); }

    CWelcomePanel m_panel;
};

TEST_F(WelcomePanelWindowTest, FillsTheRealScreenAndClosesAfterFiveSeconds)
{
    Open(0);
    CRect rc;
    m_panel.GetWindowRect(&rc);
    const int sw = ::GetSystemMetrics(SM_CXSCREEN);
    const int sh = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rc.left, sw / 10);
    EXPECT_EQ(rc.top, sh / 10);
    EXPECT_LE(rc.Width(), sw * 8 / 10);
    EXPECT_LE(rc.Height(), sh * 8 / 10);
    EXPECT_FALSE(m_panel.GetDlgItem(IDOK)->IsWindowVisible());
    EXPECT_EQ(Narrow(m_panel.m_strVersion), "5.1.1.0");

    Tick(4);
    EXPECT_FALSE(Closed());
    Tick(1);
    EXPECT_TRUE(Closed());
}

TEST_F(WelcomePanelWindowTest, RightClickKeepsItTwoMinutesLeftClickClosesAtNextTick)
{
    Open(0);
    Tick(3);
    m_panel.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10));
    Tick(116);
    EXPECT_FALSE(Closed());
    Tick(1);
    EXPECT_TRUE(Closed());
}

TEST_F(WelcomePanelWindowTest, LeftClickClosesAtTheNextTick)
{
    Open(0);
    Tick(1);
    m_panel.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(Closed());
    Tick(1);
    EXPECT_TRUE(Closed());
}

TEST_F(WelcomePanelWindowTest, AboutModeStaysUntilOk)
{
    Open(1);
    EXPECT_TRUE(m_panel.GetDlgItem(IDOK)->IsWindowVisible());
    m_panel.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    Tick(200);
    EXPECT_FALSE(Closed());
    m_panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(Closed());
}
