// The view's menu commands: the enabling of every entry over the states of a
// test, a shortcut key that must not run a disabled command, Device
// Connection confirmed and cancelled, the background picture's fit and the
// help entries' texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/ComPortSelectDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

using Input = CSimbrel1View::CCommandInput;

// Open, not busy, both slots automatic, no data, CGSB.
Input OpenTest()
{
    return Input{1, 0, -1, {L'A', L'A'}, 1, 0, 0, 0};
}

TEST(ViewCommandState, EnablingTable)
{
    struct Case {
        const char* what;
        UINT nID;
        Input in;
        bool bEnabled;
    };
    Input closed = OpenTest();
    closed.bTestOpen = 0;
    Input busy = OpenTest();
    busy.bTestInProgress = 1;
    Input data = OpenTest();
    data.nDirectionsWithData = 0;
    Input zonal = data;
    zonal.bZonal = 1;
    Input zonalManualShown = zonal;   // slot 0 has the data and is manual
    zonalManualShown.chMethod[0] = L'M';
    Input zonalBothCurrentManual = zonal;
    zonalBothCurrentManual.nDirectionsWithData = 2;
    zonalBothCurrentManual.chMethod[1] = L'M';
    Input zonalOtherManual = zonal;   // slot 0 shown; current slot 1 manual
    zonalOtherManual.chMethod[1] = L'M';
    Input manual = OpenTest();
    manual.chMethod[1] = L'M';
    Input semi = closed;
    semi.chMethod[1] = L'S';
    Input en = OpenTest();
    en.nStandard = 1;
    Input iso = OpenTest();
    iso.nStandard = 3;
    Input astm = OpenTest();
    astm.nStandard = 2;
    Input isoBusy = iso;
    isoBusy.bTestInProgress = 1;

    const Case cases[] = {
        {"new test closed", ID_FILE_NEW_TEST, closed, true},
        {"new test busy", ID_FILE_NEW_TEST, busy, false},
        {"new with config closed", ID_FILE_NEW, closed, true},
        {"new with config busy", ID_FILE_NEW, busy, false},
        {"retrieve busy", ID_FILE_OPEN, busy, false},
        {"retrieve open", ID_FILE_OPEN, OpenTest(), true},
        {"save config closed", ID_FILE_SAVE, closed, false},
        {"save config busy", ID_FILE_SAVE, busy, false},
        {"save config open", ID_FILE_SAVE, OpenTest(), true},
        {"save current closed", ID_FILE_SAVE_CURRENT_TEST, closed, false},
        {"save current busy", ID_FILE_SAVE_CURRENT_TEST, busy, false},
        {"save current open", ID_FILE_SAVE_CURRENT_TEST, OpenTest(), true},
        {"business closed", ID_OPTIONS_BUSINESS_INFO, closed, false},
        {"business busy", ID_OPTIONS_BUSINESS_INFO, busy, false},
        {"business open", ID_OPTIONS_BUSINESS_INFO, OpenTest(), true},
        {"equipment closed", ID_OPTIONS_EQUIPMENT_INFO, closed, false},
        {"equipment open", ID_OPTIONS_EQUIPMENT_INFO, OpenTest(), true},
        {"device closed", ID_OPTIONS_DEVICE_CONNECTION, closed, true},
        {"device busy", ID_OPTIONS_DEVICE_CONNECTION, busy, false},
        {"units closed", ID_OPTIONS_UNITS_SELECTION, closed, true},
        {"units busy", ID_OPTIONS_UNITS_SELECTION, busy, false},
        {"meters auto", ID_OPTIONS_LARGE_METERS, OpenTest(), true},
        {"meters manual current", ID_OPTIONS_LARGE_METERS, manual, false},
        {"meters semi closed", ID_OPTIONS_LARGE_METERS, semi, true},
        {"building closed", ID_GOTO_BUILDING_TEST_INFO, closed, false},
        {"building busy", ID_GOTO_BUILDING_TEST_INFO, busy, false},
        {"building open", ID_GOTO_BUILDING_TEST_INFO, OpenTest(), true},
        {"comments open", ID_GOTO_COMMENTS, OpenTest(), true},
        {"settings busy", ID_GOTO_TEST_SETTINGS, busy, false},
        {"graph open", ID_GOTO_TEST_GRAPH, OpenTest(), true},
        {"graph closed", ID_GOTO_TEST_GRAPH, closed, false},
        {"results no data", ID_GOTO_TEST_RESULTS, OpenTest(), false},
        {"results data", ID_GOTO_TEST_RESULTS, data, true},
        {"information no data", ID_GOTO_TEST_INFORMATION, OpenTest(), false},
        {"information data", ID_GOTO_TEST_INFORMATION, data, true},
        {"zones not zonal", ID_GOTO_ZONE_DATA, data, false},
        {"zones zonal", ID_GOTO_ZONE_DATA, zonal, true},
        {"zones shown slot manual", ID_GOTO_ZONE_DATA, zonalManualShown, false},
        {"zones both, current manual", ID_GOTO_ZONE_DATA, zonalBothCurrentManual, false},
        {"zones other slot manual", ID_GOTO_ZONE_DATA, zonalOtherManual, true},
        {"standard data CGSB", ID_GOTO_STANDARD_DATA_ENTRY, OpenTest(), false},
        {"standard data ASTM", ID_GOTO_STANDARD_DATA_ENTRY, astm, false},
        {"standard data EN", ID_GOTO_STANDARD_DATA_ENTRY, en, true},
        {"standard data ISO", ID_GOTO_STANDARD_DATA_ENTRY, iso, true},
        {"standard data ISO busy", ID_GOTO_STANDARD_DATA_ENTRY, isoBusy, false},
        {"help pdf busy", ID_HELP_PDF_1, busy, true},
        {"help pdf 6 closed", ID_HELP_PDF_6, closed, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSimbrel1View::GetCommandState(c.nID, c.in).bEnabled, c.bEnabled) << c.what;
}

TEST(ViewCommandState, CheckMarkAndTexts)
{
    Input on = OpenTest();
    on.bLargeMeters = 1;
    EXPECT_EQ(CSimbrel1View::GetCommandState(ID_OPTIONS_LARGE_METERS, on).nCheck, 1);
    EXPECT_EQ(CSimbrel1View::GetCommandState(ID_OPTIONS_LARGE_METERS, OpenTest()).nCheck, 0);
    EXPECT_EQ(CSimbrel1View::GetCommandState(ID_GOTO_TEST_RESULTS, OpenTest()).nCheck, -1);

    // The information entry takes its text whatever its state.
    EXPECT_EQ(std::wstring(CSimbrel1View::GetCommandState(ID_GOTO_TEST_INFORMATION, OpenTest()).strText.GetString()),
              L"&Deviations from Standard...");

    Input en = OpenTest();
    en.nStandard = 1;
    Input iso = OpenTest();
    iso.nStandard = 3;
    Input isoClosed = iso;
    isoClosed.bTestOpen = 0;
    EXPECT_EQ(std::wstring(CSimbrel1View::GetCommandState(ID_GOTO_STANDARD_DATA_ENTRY, en).strText.GetString()),
              L"EN 13829 Data Entry...");
    EXPECT_EQ(std::wstring(CSimbrel1View::GetCommandState(ID_GOTO_STANDARD_DATA_ENTRY, iso).strText.GetString()),
              L"ISO 9972 Data Entry...");
    // Disabled: the entry keeps the text it had.
    EXPECT_TRUE(CSimbrel1View::GetCommandState(ID_GOTO_STANDARD_DATA_ENTRY, isoClosed).strText.IsEmpty());
}

TEST(ViewCommandState, BackgroundPictureFit)
{
    const struct {
        int W, H, pw, ph;
        bool bDraws;
        CRect rc;
    } cases[] = {
        // 800 x 600: area (100, 75) 600 x 450, ratio 0.75, lifted by 450 / 32 = 14.
        {800, 600, 200, 100, true, CRect(100, 136, 700, 436)},  // flatter: full width, 300 high
        {800, 600, 100, 200, true, CRect(287, 61, 512, 511)},   // taller: full height, 225 wide
        {800, 0, 200, 100, false, CRect()},                     // flattened view
        {0, 600, 200, 100, false, CRect()},                     // no width
        {800, 600, 0, 100, false, CRect()},                     // broken picture
    };
    for (const auto& c : cases) {
        CRect rc;
        const bool bDraws = CSimbrel1View::GetBackgroundPictureRect(c.W, c.H, c.pw, c.ph, rc);
        EXPECT_EQ(bDraws, c.bDraws) << c.W << "x" << c.H;
        if (c.bDraws) {
            EXPECT_EQ(rc, c.rc) << c.W << "x" << c.H << " picture " << c.pw << "x" << c.ph;
        }
    }
}

TEST(ViewCommandState, HelpEntryTextEndsAtTheFirstDot)
{
    const struct {
        const wchar_t* file;
        const wchar_t* text;
    } cases[] = {
        {L"Manual.pdf", L"Manual"},
        {L"Quick.Start.pdf", L"Quick"},
        {L"No extension", L"No extension"},
        {L".pdf", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(CSimbrel1View::GetHelpPdfEntryText(c.file).GetString()), c.text) << c.file;
}

// Device Connection run through the view's command, the dialog a real window.
class DeviceConnectionCommand : public testing::Test {
protected:
    DeviceConnectionCommand() : m_scoped(m_answerer), m_view(L"device-connection-command") {}
    void SetUp() override
    {
        m_view->m_bAutoSelect = 0;
        m_view->m_bOffLine = 0;
        for (int i = 0; i < 4; ++i)
            m_view->m_nComPort[i] = 0;
        m_view->m_nComPort[0] = 3;
    }
    void TearDown() override { EXPECT_TRUE(m_answerer.AllRepliesUsed()); }

    CTestAnswerer m_answerer;
    CScopedAnswerer m_scoped;
    CDialogDriver m_driver;
    CTestView m_view;
};

TEST_F(DeviceConnectionCommand, OkTakesTheDialogsValues)
{
    int nDialogPrimary = -1;
    m_answerer.RunDialog(IDD_COM_PORT_SELECT, m_driver.Run({
        [&](HWND h) {
            SaveScreenshot(h, L"device-connection.png");
            nDialogPrimary = static_cast<int>(SendDlgItemMessageW(h, IDC_PORT_PRIMARY, CB_GETCURSEL, 0, 0));
            SendDlgItemMessageW(h, IDC_PORT_PRIMARY, CB_SETCURSEL, 7, 0);
            SendDlgItemMessageW(h, IDC_PORT_AUX2, CB_SETCURSEL, 9, 0);
            EXPECT_EQ(m_view->m_bDeviceDialogOpen, 1);
            EXPECT_NE(m_view->m_pDeviceDialog, nullptr);
            ClickItem(h, IDOK);
        },
    }));
    m_view->m_bLayoutPending = 1;
    m_view->OnOptionsDeviceConnection();
    EXPECT_EQ(nDialogPrimary, 3) << "the dialog starts from the view's ports";
    EXPECT_EQ(m_view->m_nComPort[0], 7);
    EXPECT_EQ(m_view->m_nComPort[2], 9);
    EXPECT_EQ(m_view->m_bDeviceDialogOpen, 0);
    EXPECT_EQ(m_view->m_pDeviceDialog, nullptr);
    EXPECT_EQ(m_view->m_bLayoutPending, 0);
    EXPECT_EQ(m_view->m_pTestGraph->m_bDeviceSetupChanged, 1);
    EXPECT_EQ(m_view->m_bRecheckDevices, 0) << "the test screen is not open";
}

TEST_F(DeviceConnectionCommand, CancelPutsTheViewsValuesBack)
{
    m_answerer.RunDialog(IDD_COM_PORT_SELECT, m_driver.Run({
        [&](HWND h) {
            // What a scan inside the dialog does to the view.
            m_view->m_nComPort[0] = 12;
            m_view->m_nComPort[1] = 13;
            m_view->m_bAutoSelect = 1;
            m_view->m_bOffLine = 1;
            SendDlgItemMessageW(h, IDC_PORT_PRIMARY, CB_SETCURSEL, 8, 0);
            PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
        },
    }));
    m_view->OnOptionsDeviceConnection();
    EXPECT_EQ(m_view->m_nComPort[0], 3);
    EXPECT_EQ(m_view->m_nComPort[1], 0);
    EXPECT_EQ(m_view->m_bAutoSelect, 0);
    EXPECT_EQ(m_view->m_bOffLine, 0);
    EXPECT_EQ(m_view->m_bDeviceDialogOpen, 0);
}

// The program itself: a command whose state is disabled does nothing when
// it comes from a shortcut key, and runs when enabled.
class ShortcutState : public ProgramTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartProgram()); }
    void TearDown() override { CloseProgram(); }
    void SendShortcutCommand(UINT nID)
    {
        ::SendMessageW(m_pFrame->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(nID, 1), 0);
    }
};

TEST_F(ShortcutState, DisabledCommandDoesNothingFromItsKey)
{
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    settings.m_chMethodLetter[d] = L'M';
    m_pView->m_pTestGraph->m_bDisplayLargeMeters = 0;
    SendShortcutCommand(ID_OPTIONS_LARGE_METERS);
    EXPECT_EQ(m_pView->m_pTestGraph->m_bDisplayLargeMeters, 0);

    settings.m_chMethodLetter[d] = L'A';
    SendShortcutCommand(ID_OPTIONS_LARGE_METERS);
    EXPECT_EQ(m_pView->m_pTestGraph->m_bDisplayLargeMeters, 1);
    EXPECT_EQ(m_pView->m_pTestGraph->m_bLargeMeters, 1);

    // A test in progress: New Test (no dialog may open) stays out.
    m_pView->m_pTestGraph->m_bTestRunning = 1;
    SendShortcutCommand(ID_FILE_NEW_TEST);
    EXPECT_EQ(m_pView->m_bTestOpen, 0);
    m_pView->m_pTestGraph->m_bTestRunning = 0;
}

// The keys themselves: Ctrl+O with Ctrl marked down on the program's
// thread goes through the accelerators; enabled, it opens the file dialog,
// during a test it does nothing.
TEST_F(ShortcutState, CtrlOOpensTheFileDialogOnlyWhenEnabled)
{
    BYTE keys[256] = {};
    ASSERT_TRUE(::GetKeyboardState(keys));
    BYTE ctrlDown[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(ctrlDown));
    ctrlDown[VK_CONTROL] = ctrlDown[VK_LCONTROL] = 0x80;
    auto pressCtrlO = [&] {
        ASSERT_TRUE(::SetKeyboardState(ctrlDown));
        ::PostMessageW(m_pView->GetSafeHwnd(), WM_KEYDOWN, 'O', 1);
        PumpPending();
        ::SetKeyboardState(keys);
    };
    m_answerer.ReplyToFileDialog(std::wstring());
    pressCtrlO();
    EXPECT_EQ(m_answerer.fileDialogs.size(), 1u) << "enabled: the open dialog ran";

    m_pView->m_pTestGraph->m_bTestRunning = 1;
    pressCtrlO();
    EXPECT_EQ(m_answerer.fileDialogs.size(), 1u) << "during a test: nothing";
    m_pView->m_pTestGraph->m_bTestRunning = 0;
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(ShortcutState, MenuShowsTheStatesThroughItsPopup)
{
    HMENU hMenu = ::GetMenu(m_pFrame->GetSafeHwnd());
    ASSERT_NE(hMenu, nullptr);
    HMENU hGoto = ::GetSubMenu(hMenu, 2);
    HMENU hFile = ::GetSubMenu(hMenu, 0);
    m_pView->m_bTestOpen = 1;
    m_pView->m_pSettings->m_nStandard = 3;
    ::SendMessageW(m_pFrame->GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hGoto), 2);
    ::SendMessageW(m_pFrame->GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile), 0);
    EXPECT_EQ(::GetMenuState(hGoto, ID_GOTO_COMMENTS, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(::GetMenuState(hGoto, ID_GOTO_TEST_RESULTS, MF_BYCOMMAND) & MF_GRAYED, 0u);
    wchar_t szText[64] = {};
    ::GetMenuStringW(hGoto, ID_GOTO_STANDARD_DATA_ENTRY, szText, 64, MF_BYCOMMAND);
    EXPECT_STREQ(szText, L"ISO 9972 Data Entry...");
    ::GetMenuStringW(hGoto, ID_GOTO_TEST_INFORMATION, szText, 64, MF_BYCOMMAND);
    EXPECT_STREQ(szText, L"&Deviations from Standard...");
    EXPECT_EQ(::GetMenuState(hFile, ID_FILE_SAVE_CURRENT_TEST, MF_BYCOMMAND) & MF_GRAYED, 0u);
    m_pView->m_bTestOpen = 0;
}

}  // namespace
