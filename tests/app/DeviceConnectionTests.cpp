// The Device Connection dialog as a real window driven by a user's actions:
// its combos, the blank primary entry, the enabling under AUTO SELECT,
// OFF-LINE and an exported file, the duplicate check that keeps it open,
// the links closed when it opens and the Port Test behind the hidden Test
// buttons; and the rules behind them as plain functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "comm/ComPortSelectDialog.h"
#include "comm/QarCommunications.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

std::wstring Widen(const CString& str)
{
    return str.GetString();
}

TEST(DeviceConnectionRules, DuplicatePortIsTheFirstInCheckingOrder)
{
    const struct {
        int nPorts[4];
        int nDuplicate;
    } cases[] = {
        {{3, 0, 3, 0}, 3},  // primary and aux 2
        {{0, 0, 0, 0}, 0},  // "None" twice is no duplicate
        {{1, 0, 0, 0}, 0},
        {{4, 5, 6, 7}, 0},
        {{1, 2, 2, 0}, 2},
        {{0, 5, 0, 5}, 5},
        {{2, 3, 3, 2}, 2},  // primary is compared first
        {{9, 8, 7, 7}, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CComPortSelectDialog::FindDuplicatePort(c.nPorts[0], c.nPorts[1], c.nPorts[2], c.nPorts[3]),
                  c.nDuplicate)
            << c.nPorts[0] << " " << c.nPorts[1] << " " << c.nPorts[2] << " " << c.nPorts[3];
}

TEST(DeviceConnectionRules, ControlStates)
{
    const int nPorts[4] = {3, 0, 5, 0};
    const struct {
        int bAutoSelect, bOffLine, bExported;
        bool bAutoBox, bOffBox, bCombos;
        bool bTest[4];
    } cases[] = {
        {0, 0, 0, true, true, true, {true, false, true, false}},
        {1, 0, 0, true, true, false, {false, false, false, false}},
        {0, 1, 0, false, true, false, {false, false, false, false}},
        {1, 1, 0, false, true, false, {false, false, false, false}},
        {0, 0, 1, true, false, true, {true, false, true, false}},
    };
    for (const auto& c : cases) {
        const auto states = CComPortSelectDialog::ComputeControlStates(c.bAutoSelect, c.bOffLine, c.bExported, nPorts);
        SCOPED_TRACE(testing::Message() << "auto " << c.bAutoSelect << " off " << c.bOffLine << " exported "
                                        << c.bExported);
        EXPECT_EQ(states.bAutoSelect, c.bAutoBox);
        EXPECT_EQ(states.bOffLine, c.bOffBox);
        EXPECT_EQ(states.bCombos, c.bCombos);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(states.bTest[i], c.bTest[i]) << i;
    }
}

TEST(DeviceConnectionRules, PortTestTextPerCheckResult)
{
    const struct {
        int nResult;
        const wchar_t* pszText;
    } cases[] = {
        {0, L"COM7:   Port free\r\nPort exists and is available for use."},
        {2, L"COM7:   Port not found\r\nThis system does not appear to have a port COM 7"},
        {5, L"COM7:   Access denied\r\nThis system has a port COM7, but it cannot be opened.\r\n"
            L"It may be in use by another program._"},
        {-1, L"COM7:   Unknown\r\nPort either does not exist or is busy."},
        {87, L"COM7:   Unknown\r\nPort either does not exist or is busy."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Widen(CPortScanningMessageDialog::FormatCheckResult(7, c.nResult)), c.pszText) << c.nResult;
}

// The Port Test with a port check that gives a chosen result: every result
// but 0 ends the test with its text and leaves the link's port range on the
// tested port.
class CGivenCheckPortTest : public CPortScanningMessageDialog {
public:
    int m_nGiven = 0;

protected:
    int CheckComPort(CQarCommunications&, int) override { return m_nGiven; }
};

TEST(DeviceConnectionRules, PortTestOfAPortThatCannotBeUsed)
{
    CTestView view(L"port-test-given");
    for (int nGiven : {2, 5, -1}) {
        CGivenCheckPortTest test;
        test.m_pView = view.Get();
        test.m_nComNumber = 12;
        test.m_nLinkIndex = 2;
        test.m_nGiven = nGiven;
        EXPECT_EQ(Widen(test.RunPortTest()), Widen(CPortScanningMessageDialog::FormatCheckResult(12, nGiven)));
        EXPECT_EQ(view->m_pLink[2]->m_nFirstPort, 12);
        EXPECT_EQ(view->m_pLink[2]->m_nLastPort, 12);
        EXPECT_EQ(view->m_pLink[2]->m_bConnected, 0);
    }
}

class DeviceConnectionDialog : public testing::Test {
protected:
    DeviceConnectionDialog() : m_scoped(m_answerer), m_view(L"device-connection") {}
    void TearDown() override { EXPECT_TRUE(m_answerer.AllRepliesUsed()); }

    // Runs the dialog with the view's values, the steps acting on it.
    INT_PTR Run(CComPortSelectDialog& dialog, std::vector<CDialogDriver::Step> steps)
    {
        dialog.m_pView = m_view.Get();
        m_answerer.RunDialog(IDD_COM_PORT_SELECT, m_driver.Run(std::move(steps)));
        return dialog.DoModal();
    }
    static bool Enabled(HWND hDialog, int nID) { return IsWindowEnabled(GetDlgItem(hDialog, nID)) != FALSE; }
    static int Selection(HWND hDialog, int nID)
    {
        return static_cast<int>(SendDlgItemMessageW(hDialog, nID, CB_GETCURSEL, 0, 0));
    }
    static void Select(HWND hDialog, int nID, int nIndex)
    {
        SendDlgItemMessageW(hDialog, nID, CB_SETCURSEL, nIndex, 0);
        PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDialog, nID)));
    }

    CTestAnswerer m_answerer;
    CScopedAnswerer m_scoped;
    CDialogDriver m_driver;
    CTestView m_view;
};

TEST_F(DeviceConnectionDialog, CombosListEveryPortAndThePrimaryAlwaysHasOne)
{
    CComPortSelectDialog dialog;
    dialog.m_bAutoSelect = 0;
    dialog.m_nPrimaryPort = 4;
    dialog.m_nAux2Port = 256;
    std::wstring caption, note;
    const INT_PTR nResult = Run(dialog, {
        [&](HWND h) {
            caption = WindowText(h);
            for (int nID : {IDC_PORT_PRIMARY, IDC_PORT_AUX1, IDC_PORT_AUX2, IDC_PORT_AUX3})
                EXPECT_EQ(SendDlgItemMessageW(h, nID, CB_GETCOUNT, 0, 0), 257) << nID;
            wchar_t szItem[16] = {};
            SendDlgItemMessageW(h, IDC_PORT_PRIMARY, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(szItem));
            EXPECT_STREQ(szItem, L" ");
            SendDlgItemMessageW(h, IDC_PORT_AUX1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(szItem));
            EXPECT_STREQ(szItem, L"None");
            SendDlgItemMessageW(h, IDC_PORT_AUX3, CB_GETLBTEXT, 256, reinterpret_cast<LPARAM>(szItem));
            EXPECT_STREQ(szItem, L"COM256");
            EXPECT_EQ(Selection(h, IDC_PORT_PRIMARY), 4);
            EXPECT_EQ(Selection(h, IDC_PORT_AUX2), 256);
            EXPECT_EQ(ItemText(h, IDC_PORT_OFF_LINE), L"OFF LINE: Communication with devices disabled");
            EXPECT_EQ(ItemText(h, IDC_PORT_AUTO_SELECT), L"AUTO SELECT  (Primary Device Only)");
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, IDC_PORT_TEST_PRIMARY)));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, IDCANCEL)));
            Select(h, IDC_PORT_PRIMARY, 0);
        },
        [&](HWND h) {
            EXPECT_EQ(Selection(h, IDC_PORT_PRIMARY), 1) << "the blank entry selects COM1";
            PressKey(VK_ESCAPE);
        },
        [&](HWND h) {
            EXPECT_TRUE(IsWindow(h)) << "Esc closed the dialog";
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(caption, L"Device Connection");
    EXPECT_EQ(dialog.m_nPrimaryPort, 1);
    EXPECT_EQ(m_view->m_nComPort[0], 1);
    EXPECT_EQ(m_view->m_nComPort[2], 256);
}

TEST_F(DeviceConnectionDialog, EnablingUnderAutoSelectOffLineAndAnExportedFile)
{
    m_view->m_bExportedFile = 1;
    m_view->m_pLink[0]->m_nFirstPort = 5;
    m_view->m_pLink[0]->m_nLastPort = 5;
    CComPortSelectDialog dialog;
    dialog.m_bAutoSelect = 0;
    dialog.m_nPrimaryPort = 2;
    dialog.m_nAux1Port = 3;
    Run(dialog, {
        [&](HWND h) {
            EXPECT_FALSE(Enabled(h, IDC_PORT_OFF_LINE)) << "an exported file forces off-line work";
            EXPECT_TRUE(Enabled(h, IDC_PORT_AUTO_SELECT));
            for (int nID : {IDC_PORT_PRIMARY, IDC_PORT_AUX3, IDC_PORT_AUX1_LABEL, IDC_PORT_TEST_PRIMARY,
                            IDC_PORT_TEST_AUX1})
                EXPECT_TRUE(Enabled(h, nID)) << nID;
            EXPECT_FALSE(Enabled(h, IDC_PORT_TEST_AUX2)) << "no port: no test";
            ClickItem(h, IDC_PORT_AUTO_SELECT);
        },
        [&](HWND h) {
            for (int nID : {IDC_PORT_PRIMARY, IDC_PORT_AUX1, IDC_PORT_AUX2, IDC_PORT_AUX3, IDC_PORT_PRIMARY_LABEL,
                            IDC_PORT_TEST_PRIMARY, IDC_PORT_TEST_AUX1})
                EXPECT_FALSE(Enabled(h, nID)) << nID;
            EXPECT_EQ(m_view->m_pLink[0]->m_nFirstPort, -1) << "AUTO SELECT looks on any port";
            EXPECT_EQ(m_view->m_pLink[0]->m_nLastPort, -1);
            // OFF-LINE through its command, as the box is disabled here.
            CheckDlgButton(h, IDC_PORT_OFF_LINE, BST_CHECKED);
            PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_PORT_OFF_LINE, BN_CLICKED), 0);
        },
        [&](HWND h) {
            EXPECT_FALSE(Enabled(h, IDC_PORT_AUTO_SELECT)) << "OFF-LINE disables AUTO SELECT";
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(dialog.m_bAutoSelect, 1);
    EXPECT_EQ(dialog.m_bOffLine, 1);
}

TEST_F(DeviceConnectionDialog, DuplicateKeepsTheDialogOpen)
{
    CComPortSelectDialog dialog;
    dialog.m_bAutoSelect = 0;
    dialog.m_nPrimaryPort = 3;
    m_answerer.ReplyToProgramMessage(0, IDOK, L"COM3 is duplicated.\n\nPlease correct this duplicate designation.");
    m_answerer.ReplyToProgramMessage(0, IDOK, L"COM3 is duplicated.");
    int nShownAfterChange = 0;
    const INT_PTR nResult = Run(dialog, {
        [&](HWND h) { Select(h, IDC_PORT_AUX2, 3); },
        [&](HWND h) {
            nShownAfterChange = static_cast<int>(m_answerer.programMessages.size());
            ClickItem(h, IDOK);
        },
        [&](HWND h) {
            EXPECT_TRUE(IsWindow(h)) << "OK closed with a duplicate";
            EXPECT_EQ(m_view->m_nComPort[2], 3) << "OK writes the ports before the check";
            Select(h, IDC_PORT_AUX2, 0);
        },
        [&](HWND h) { ClickItem(h, IDOK); },
    });
    EXPECT_EQ(nShownAfterChange, 1);
    ASSERT_EQ(m_answerer.programMessages.size(), 2u);
    EXPECT_EQ(m_answerer.programMessages[0].nIcon, 176);
    EXPECT_EQ(m_answerer.programMessages[0].nKind, 0);
    EXPECT_EQ(m_answerer.programMessages[0].nHelpTopic, 255);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(m_view->m_nComPort[2], 0);
}

// Opening the dialog stops the fan and closes every open link; the hidden
// Test button tests its port (a mapped port that is no serial port here).
TEST_F(DeviceConnectionDialog, OpeningClosesTheLinksAndTestButtonsTestTheirPort)
{
    m_view->m_pTestGraph->m_FanSpeed = 40.0;
    m_view->m_pTestGraph->m_strStatus = L"Reading";
    m_view->m_pLink[0]->m_bConnected = 1;
    m_view->m_pLink[3]->m_bConnected = 1;
    std::vector<std::string> trace;
    std::vector<std::string>* pOldSink = SetLifecycleSink(&trace);
    CComPortSelectDialog dialog;
    dialog.m_bAutoSelect = 0;
    dialog.m_nAux1Port = 5;
    std::wstring title, result;
    CDialogDriver outer;
    dialog.m_pView = m_view.Get();
    m_answerer.RunDialog(IDD_COM_PORT_SELECT, outer.Run({
                                                  [&](HWND h) {
                                                      PostMessageW(h, WM_COMMAND,
                                                                   MAKEWPARAM(IDC_PORT_TEST_AUX1, BN_CLICKED), 0);
                                                  },
                                                  [&](HWND h) { ClickItem(h, IDOK); },
                                              }));
    // Replies are taken in the order the dialogs open.
    m_answerer.RunDialog(IDD_PORT_TEST, [&](CDialog* pTest) {
        m_driver.Drive(pTest, {[&](HWND h) {
                           title = ItemText(h, IDC_PORT_TEST_TITLE);
                           result = ItemText(h, IDC_PORT_TEST_RESULT);
                           ClickItem(h, IDOK);
                       }});
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    SetLifecycleSink(pOldSink);
    EXPECT_EQ(m_view->m_pTestGraph->m_FanSpeed, 0.0);
    EXPECT_EQ(Widen(m_view->m_pTestGraph->m_strStatus), L"");
    EXPECT_EQ(m_view->m_pLink[0]->m_bConnected, 0);
    EXPECT_EQ(m_view->m_pLink[3]->m_bConnected, 0);
    EXPECT_GE(std::count(trace.begin(), trace.end(), std::string("CloseDevice")), 2);
    EXPECT_EQ(title, L"Test for COM5 as Aux1 Port");
    EXPECT_EQ(result, L"COM5:   Unknown\r\nPort either does not exist or is busy.");
}

}  // namespace
