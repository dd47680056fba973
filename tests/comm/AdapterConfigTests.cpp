// The network adapter configuration against the adapter model on 127.0.0.1:
// the settings text, the exact commands written and what the adapter keeps,
// the checks of "Apply and Exit" on the real dialog (their order, the
// focus, nothing sent on a refusal), and the temporary link closed on every
// way out. The 2-second pause after each connection runs on a stepping clock.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "comm/QarWifiLinkConfigDialog.h"
#include "res/resource.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"

namespace {

using Requests = std::vector<std::string>;

class AdapterConfig : public testing::Test {
protected:
    void SetUp() override
    {
        m_model.Apply("cc first");
        ASSERT_TRUE(m_model.Start());
        m_dialog.m_Device = Descriptor();
    }
    void TearDown() override { m_model.Stop(); }

    CWifiDeviceInfo Descriptor() const
    {
        CWifiDeviceInfo device;
        device.m_strAddress = L"127.0.0.1";
        device.m_nPort = m_model.GetPort();
        device.m_nSerialNumber = 4321;
        device.m_nDeviceType = 7;
        return device;
    }
    void Control(const std::string& line) { ASSERT_EQ("ok", m_model.Apply(line)) << line; }
    // The adapter's settings text as a fresh "GW" gives it.
    std::string Settings()
    {
        CQarWifiLinkConfigDialog reader;
        reader.m_Device = Descriptor();
        EXPECT_TRUE(reader.ReadWifiLinkSettings());
        m_model.TakeRequests();
        std::wstring text = reader.m_strChannel.GetString();
        text += L"," + std::to_wstring(reader.m_nMode) + L"," + reader.m_strSsid.GetString() + L"," +
                reader.m_strPassword.GetString();
        return std::string(text.begin(), text.end());
    }
    // The temporary link has gone: the model serves no client any more.
    testing::AssertionResult LinkClosed()
    {
        for (CStopwatch watch; watch.ElapsedMs() < 1000.0; Sleep(5)) {
            if (!m_model.IsServingClient())
                return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the adapter still has a client";
    }

    CSteppingClock m_clock{1000};
    CScopedProgramClock m_scopedClock{m_clock};
    CNetworkGaugeModel m_model{CNetworkGaugeModel::kRQ40Adapter};
    CQarWifiLinkConfigDialog m_dialog;
};

}  // namespace

TEST(AdapterSettingsText, FieldsAreTakenAsFarAsTheCommasGo)
{
    struct Case {
        const wchar_t* pszText;
        bool bResult;
        const wchar_t* pszChannel;
        int nMode;
        const wchar_t* pszSsid;
        const wchar_t* pszPassword;
    };
    const Case cases[] = {
        {L"6,0,HomeNet,secret", true, L"6", 0, L"HomeNet", L"secret"},
        {L"11,1,Office,pa,ss,word", true, L"11", 1, L"Office", L"pa,ss,word"},
        {L"3,2,Net,", true, L"3", 1, L"Net", L""},
        {L"1,00,Net,x", true, L"1", 1, L"Net", L"x"},
        {L"6,0,HomeNet", false, L"6", 0, L"", L""},
        {L"6,1", false, L"6", -1, L"", L""},
        {L"6", false, L"", -1, L"", L""},
        {L"", false, L"", -1, L"", L""},
    };
    for (const Case& c : cases) {
        CQarWifiLinkConfigDialog dialog;
        EXPECT_EQ(c.bResult, dialog.ParseWifiLinkSettings(c.pszText)) << c.pszText;
        EXPECT_EQ(CString(c.pszChannel), dialog.m_strChannel) << c.pszText;
        EXPECT_EQ(c.nMode, dialog.m_nMode) << c.pszText;
        EXPECT_EQ(CString(c.pszSsid), dialog.m_strSsid) << c.pszText;
        EXPECT_EQ(dialog.m_strSsid, dialog.m_strSsidConfirm) << c.pszText;
        EXPECT_EQ(CString(c.pszPassword), dialog.m_strPassword) << c.pszText;
        EXPECT_EQ(dialog.m_strPassword, dialog.m_strPasswordConfirm) << c.pszText;
    }
}

// "CH ", "SS " or "PW " with the value and CR LF must fit 31 characters;
// only the fields the mode lets the user edit are checked.
TEST(AdapterSettingsText, ValuesTooLongForOneRequestAreFoundInFieldOrder)
{
    const CString s26(L'a', 26), s27(L'a', 27);
    struct Case {
        int nMode;
        CString strChannel, strSsid, strPassword;
        int nField;
    };
    const Case cases[] = {
        {0, s26, s27, s27, 0},
        {0, s27, L"", L"", IDC_WIFI_CHANNEL},
        {1, s27, s26, s26, 0},
        {1, L"6", s27, s27, IDC_WIFI_SSID},
        {1, L"6", s26, s27, IDC_WIFI_PASSWORD},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nField, CQarWifiLinkConfigDialog::FindTooLongField(c.nMode, c.strChannel, c.strSsid,
                                                                       c.strPassword))
            << c.nMode << " " << c.strChannel.GetLength() << " " << c.strSsid.GetLength();
}

TEST_F(AdapterConfig, ReadingAsksForTheSettingsAndClosesTheLink)
{
    Control("settings 9,1,Barn Net,p,w,d");
    ASSERT_TRUE(m_dialog.ReadWifiLinkSettings());
    EXPECT_EQ(CString(L"9"), m_dialog.m_strChannel);
    EXPECT_EQ(1, m_dialog.m_nMode);
    EXPECT_EQ(CString(L"Barn Net"), m_dialog.m_strSsidConfirm);
    EXPECT_EQ(CString(L"p,w,d"), m_dialog.m_strPasswordConfirm);
    EXPECT_EQ((Requests{"GW", "UD"}), m_model.TakeRequests());
    EXPECT_TRUE(LinkClosed());

    // A reply the adapter cut short, and an adapter nobody can reach.
    Control("fault close GW");
    CQarWifiLinkConfigDialog broken;
    broken.m_Device = Descriptor();
    EXPECT_FALSE(broken.ReadWifiLinkSettings());
    EXPECT_TRUE(LinkClosed());
    m_model.Stop();
    EXPECT_FALSE(broken.ReadWifiLinkSettings());
}

// What is sent for each choice, and what the adapter keeps after "RS".
TEST_F(AdapterConfig, WritingSendsTheCommandsInOrderAndTheAdapterKeepsThem)
{
    struct Case {
        const char* pszName;
        int nMode;
        const wchar_t* pszChannel;
        const wchar_t* pszSsid;
        const wchar_t* pszPassword;
        bool bCcSecond;
        Requests sent;
        std::string kept;
    };
    const Case cases[] = {
        {"router", 1, L"6", L"Home Net", L"pw,with,commas", false,
         {"CC", "CH 6", "RT 1", "SS Home Net", "PW pw,with,commas", "RS"}, "6,1,Home Net,pw,with,commas"},
        {"access point", 0, L"11", L"Home Net", L"pw", false,
         {"CC", "CH 11", "RT 0", "SS Home Net", "PW pw", "RS"}, "11,0,Home Net,pw"},
        {"empty password keeps the old one", 1, L"6", L"Shop", L"", false,
         {"CC", "CH 6", "RT 1", "SS Shop", "RS"}, "6,1,Shop,pw"},
        {"CC confirmed at the second try", 1, L"6", L"Shop", L"new", true,
         {"CC", "CC", "CH 6", "RT 1", "SS Shop", "PW new", "RS"}, "6,1,Shop,new"},
    };
    for (const Case& c : cases) {
        Control(c.bCcSecond ? "cc second" : "cc first");
        m_dialog.m_nMode = c.nMode;
        m_dialog.m_strChannel = c.pszChannel;
        m_dialog.m_strSsid = c.pszSsid;
        m_dialog.m_strPassword = c.pszPassword;
        EXPECT_TRUE(m_dialog.WriteWifiLinkSettings()) << c.pszName;
        // "RS" has no reply: the adapter has it once it sees the link close.
        EXPECT_TRUE(LinkClosed()) << c.pszName;
        EXPECT_EQ(c.sent, m_model.TakeRequests()) << c.pszName;
        EXPECT_EQ(c.kept, Settings()) << c.pszName;
    }

    // In access-point mode a router value the adapter reported but that
    // cannot be sent whole is left as the adapter has it.
    Control("cc first");
    m_dialog.m_nMode = 0;
    m_dialog.m_strChannel = L"1";
    m_dialog.m_strSsid = CString(L's', 27);
    m_dialog.m_strPassword = CString(L'p', 27);
    EXPECT_TRUE(m_dialog.WriteWifiLinkSettings());
    EXPECT_TRUE(LinkClosed());
    EXPECT_EQ((Requests{"CC", "CH 1", "RT 0", "RS"}), m_model.TakeRequests());
}

TEST_F(AdapterConfig, AWriteThatStopsNamesTheCommandAndSendsNothingMore)
{
    struct Case {
        std::vector<std::string> faults;
        std::string failed;
        Requests sent;
    };
    // "CCERR" twice: the adapter never enters its command mode.
    const Case cases[] = {
        {{"fault raw CC count=2 CCERR\\r\\n"}, "CC", {"CC", "CC"}},
        {{"fault raw SS SSERR\\r\\n"}, "SS", {"CC", "CH 6", "RT 1", "SS Shop"}},
        {{"fault close PW"}, "PW", {"CC", "CH 6", "RT 1", "SS Shop", "PW pw"}},
    };
    for (const Case& c : cases) {
        Control("clear");
        for (const std::string& fault : c.faults)
            Control(fault);
        m_dialog.m_nMode = 1;
        m_dialog.m_strChannel = L"6";
        m_dialog.m_strSsid = L"Shop";
        m_dialog.m_strPassword = L"pw";
        EXPECT_FALSE(m_dialog.WriteWifiLinkSettings()) << c.failed;
        EXPECT_EQ(CString(std::wstring(c.failed.begin(), c.failed.end()).c_str()), m_dialog.m_strFailedCommand);
        EXPECT_EQ(c.sent, m_model.TakeRequests()) << c.failed;
        EXPECT_TRUE(LinkClosed()) << c.failed;
        Control("clear");
        EXPECT_EQ("6,0,RQ40-4321,secret", Settings()) << c.failed;
    }
    m_model.Stop();
    EXPECT_FALSE(m_dialog.WriteWifiLinkSettings());
    EXPECT_TRUE(m_dialog.m_strFailedCommand.IsEmpty());
}

// The real dialog: what it shows after a good read, the router checks in
// order with the focus on the field named, a too-long SSID, and nothing
// sent until every check passes.
TEST_F(AdapterConfig, ApplyChecksRouterEntriesInOrderBeforeAnythingIsSent)
{
    Control("settings 6,0,RQ40-4321,secret");
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver driver;
    auto focusIs = [](HWND h, int nID) { return ::GetFocus() == ::GetDlgItem(h, nID); };
    auto expectRefused = [&](HWND h, const wchar_t* pszText, int nField) {
        ASSERT_FALSE(answerer.messages.empty());
        EXPECT_EQ(std::wstring(pszText), answerer.messages.back().text);
        EXPECT_TRUE(focusIs(h, nField)) << "focus for " << std::string(pszText, pszText + 12);
        EXPECT_TRUE(::IsWindowVisible(h));
        EXPECT_TRUE(m_model.TakeRequests().empty()) << "sent before the checks passed";
    };
    for (int i = 0; i < 4; ++i)
        answerer.ReplyToMessage(IDOK);
    answerer.RunDialog(
        IDD_WIFI_LINK_CONFIG,
        driver.Run({
            [&](HWND h) {
                EXPECT_EQ(L"Configure QAR Wifi Link", WindowText(h));
                EXPECT_EQ(L"RQ40 - 4321", ItemText(h, IDC_WIFI_TITLE));
                EXPECT_EQ(L"6", ItemText(h, IDC_WIFI_CHANNEL));
                EXPECT_EQ(L"secret", ItemText(h, IDC_WIFI_PASSWORD_CONFIRM));
                EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(h, IDC_WIFI_MODE_AP));
                EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_WIFI_CHANNEL)));
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_WIFI_SSID)));
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_WIFI_PASSWORD_CONFIRM_LABEL)));
                EXPECT_EQ((Requests{"GW", "UD"}), m_model.TakeRequests());
                SaveScreenshot(h, L"adapter-config.png");
                ClickItem(h, IDC_WIFI_MODE_ROUTER);
            },
            [&](HWND h) {
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_WIFI_CHANNEL)));
                EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_WIFI_SSID)));
                ::SetDlgItemTextW(h, IDC_WIFI_SSID, L"");
                ClickItem(h, IDOK);
            },
            [&](HWND h) {
                expectRefused(h, L"The SSID must be entered.", IDC_WIFI_SSID);
                ::SetDlgItemTextW(h, IDC_WIFI_SSID, L"Shop");
                ClickItem(h, IDOK);
            },
            [&](HWND h) {
                expectRefused(h, L"The SSID must be confirmed.", IDC_WIFI_SSID_CONFIRM);
                ::SetDlgItemTextW(h, IDC_WIFI_SSID_CONFIRM, L"Shop");
                ::SetDlgItemTextW(h, IDC_WIFI_PASSWORD, L"new one");
                ClickItem(h, IDOK);
            },
            [&](HWND h) {
                expectRefused(h, L"The Password must be confirmed.", IDC_WIFI_PASSWORD_CONFIRM);
                const std::wstring longSsid(27, L's');
                ::SetDlgItemTextW(h, IDC_WIFI_SSID, longSsid.c_str());
                ::SetDlgItemTextW(h, IDC_WIFI_SSID_CONFIRM, longSsid.c_str());
                ::SetDlgItemTextW(h, IDC_WIFI_PASSWORD_CONFIRM, L"new one");
                ClickItem(h, IDOK);
            },
            [&](HWND h) {
                expectRefused(h, L"The SSID can have at most 26 characters.", IDC_WIFI_SSID);
                ::SetDlgItemTextW(h, IDC_WIFI_SSID, L"Shop");
                ::SetDlgItemTextW(h, IDC_WIFI_SSID_CONFIRM, L"Shop");
                ClickItem(h, IDOK);
            },
        }));
    EXPECT_EQ(IDOK, m_dialog.DoModal());
    EXPECT_EQ(4u, answerer.messages.size());
    EXPECT_TRUE(LinkClosed());
    EXPECT_EQ((Requests{"CC", "CH 6", "RT 1", "SS Shop", "PW new one", "RS"}), m_model.TakeRequests());
    EXPECT_EQ(CString(L"Shop"), m_dialog.m_strSsid);
    EXPECT_EQ("6,1,Shop,new one", Settings());
}

// Access-point mode skips the router checks (the SSID fields disagree here)
// and sends the values that were read.
TEST_F(AdapterConfig, AccessPointModeSkipsTheRouterChecks)
{
    Control("settings 4,0,Old Net,old");
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver driver;
    answerer.RunDialog(IDD_WIFI_LINK_CONFIG, driver.Run({
                                                 [](HWND h) {
                                                     ::SetDlgItemTextW(h, IDC_WIFI_SSID_CONFIRM, L"other");
                                                     ::SetDlgItemTextW(h, IDC_WIFI_CHANNEL, L"9");
                                                     ClickItem(h, IDOK);
                                                 },
                                             }));
    EXPECT_EQ(IDOK, m_dialog.DoModal());
    EXPECT_TRUE(answerer.messages.empty());
    EXPECT_TRUE(LinkClosed());
    EXPECT_EQ((Requests{"GW", "UD", "CC", "CH 9", "RT 0", "SS Old Net", "PW old", "RS"}), m_model.TakeRequests());
    EXPECT_EQ(0, m_dialog.m_nMode);
}

// Settings that cannot be read: empty fields, no mode, everything enabled;
// Apply asks for a mode first. A write that stops keeps the dialog open with
// the failed command named, and Cancel leaves it; the link is closed each time.
TEST_F(AdapterConfig, WithoutSettingsAModeIsAskedForAndAFailedWriteKeepsTheDialogOpen)
{
    Control("settings no commas here");
    Control("fault raw RT RTERR\\r\\n");
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver driver;
    answerer.ReplyToMessage(IDOK, L"Please choose a Connection Mode.");
    answerer.ReplyToMessage(IDOK, L"did not accept the RT command");
    answerer.RunDialog(
        IDD_WIFI_LINK_CONFIG,
        driver.Run({
            [&](HWND h) {
                for (int nID : {IDC_WIFI_CHANNEL, IDC_WIFI_SSID, IDC_WIFI_SSID_CONFIRM, IDC_WIFI_PASSWORD,
                                IDC_WIFI_PASSWORD_CONFIRM}) {
                    EXPECT_EQ(L"", ItemText(h, nID)) << nID;
                    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, nID))) << nID;
                }
                EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(h, IDC_WIFI_MODE_AP));
                EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(h, IDC_WIFI_MODE_ROUTER));
                m_model.TakeRequests();
                ::SetDlgItemTextW(h, IDC_WIFI_CHANNEL, L"6");
                ::SetDlgItemTextW(h, IDC_WIFI_SSID, L"Shop");
                ::SetDlgItemTextW(h, IDC_WIFI_SSID_CONFIRM, L"Shop");
                ClickItem(h, IDOK);
            },
            [&](HWND h) {
                EXPECT_TRUE(::IsWindowVisible(h));
                EXPECT_TRUE(m_model.TakeRequests().empty());
                ClickItem(h, IDC_WIFI_MODE_ROUTER);
                ClickItem(h, IDOK);
            },
            [&](HWND h) {
                EXPECT_TRUE(::IsWindowVisible(h)) << "closed after a failed write";
                EXPECT_EQ((Requests{"CC", "CH 6", "RT 1"}), m_model.TakeRequests());
                EXPECT_TRUE(LinkClosed());
                ClickItem(h, IDCANCEL);
            },
        }));
    EXPECT_EQ(IDCANCEL, m_dialog.DoModal());
    EXPECT_TRUE(answerer.AllRepliesUsed());
    ASSERT_EQ(2u, answerer.messages.size());
    EXPECT_EQ(L"The Wifi Link did not accept the RT command; its settings may not have been changed.\n\n"
              L"Please try again, or press Cancel.",
              answerer.messages[1].text);
}
