// The Test Settings page in the running program: which controls each method
// and standard leave enabled, the questions asked before measured data is
// thrown away, the refused and warned limits, the factory texts, and the
// defaults file written when the page closes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1App.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/ZonalPressureSetupDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {
constexpr int kMethodControls[] = {1362, 1132, 1115, 1377, 1143, 1396, 1395, 1381, 1382, 1657, 1519};
constexpr int kAutoOnlyControls[] = {1378, 1144, 1379, 1145, 1398, 1397};
// Never disabled by the page, whatever the method.
constexpr int kAlwaysEnabled[] = {2304, 1133, 1067, 1068, 1177, 1114, 1113, 1442};
}  // namespace

class TestSettingsPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        settings = m_pView->m_pSettings;
        graph = m_pView->m_pTestGraph;
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 1;
    }
    void TearDown() override
    {
        if (settings != nullptr && settings->GetSafeHwnd() != nullptr)
            settings->DestroyWindow();
        g_nCurrentDirection = m_nSavedDirection;
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
        CloseProgram();
        g_pView = nullptr;
    }

    void Open()
    {
        settings->ShowPage();
        ASSERT_NE(Page(), nullptr);
        PumpPending();
    }
    HWND Page() const { return settings->GetSafeHwnd(); }
    HWND Item(int nID) const { return ::GetDlgItem(Page(), nID); }
    bool Enabled(int nID) const { return ::IsWindowEnabled(Item(nID)) != FALSE; }
    bool Visible(int nID) const { return (::GetWindowLongPtrW(Item(nID), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Checked(int nID) const { return ::SendMessageW(Item(nID), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int nID)
    {
        ClickItem(Page(), nID);
        PumpPending();
    }
    // What choosing an item of the standard list sends.
    void ChooseStandard(int nIndex)
    {
        ::SendMessageW(Item(2304), CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(2304, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(2304)));
        PumpPending();
    }
    // Types into an edit while another control has the focus (so the
    // numeric filter leaves the text alone), then enters and leaves it.
    void EnterAndLeave(int nID, const wchar_t* pszText)
    {
        ::SetFocus(Item(1113));
        ::SetWindowTextW(Item(nID), pszText);
        ::SetFocus(Item(nID));
        ::SetFocus(Item(1113));
        PumpPending();
    }
    void GiveTestsToBothDirections()
    {
        graph->m_CompletedTests[0] = 2;
        graph->m_CompletedTests[1] = 3;
    }
    bool DataKept() const { return graph->m_CompletedTests[0] == 2 && graph->m_CompletedTests[1] == 3; }
    bool DataCleared() const { return graph->m_CompletedTests[0] == 0 && graph->m_CompletedTests[1] == 0; }

    CTestSettingsDialog* settings = nullptr;
    CTestGraph1* graph = nullptr;
    int m_nSavedDirection = 1;
};

TEST(TestSettingsStates, EnabledStatesFollowMethodStandardLayoutAndZones)
{
    struct StateCase {
        wchar_t chMethod;
        wchar_t chLetter;
        int bNewFormat;
        int bZonal;
        bool bMethodEntries, bAutoOnly, bEditCustom, bZoneSettings;
    } cases[] = {
        {L'A', L'I', 1, 0, true, true, false, false},
        {L'A', L'I', 1, 1, true, true, false, true},
        {L'S', L'C', 1, 1, true, false, false, true},
        {L'M', L'C', 1, 1, false, false, false, false},   // the zone button follows the method, not step 5
        {L'A', L'U', 1, 0, true, true, true, false},
        {L'M', L'U', 1, 0, false, false, false, false},
        {L'M', L'E', 0, 0, false, false, true, false},     // old files: 'E' meant custom targets
        {L'A', L'E', 1, 0, true, true, false, false},
        {L'X', L'A', 1, 1, true, true, false, false},      // an unknown method is not manual
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(testing::Message() << char(c.chMethod) << char(c.chLetter) << c.bNewFormat << c.bZonal);
        const CTestSettingsDialog::CControlStates s =
            CTestSettingsDialog::GetControlStates(c.chMethod, c.chLetter, c.bNewFormat, c.bZonal);
        EXPECT_EQ(s.bMethodEntries, c.bMethodEntries);
        EXPECT_EQ(s.bAutoOnlyEntries, c.bAutoOnly);
        EXPECT_EQ(s.bEditCustom, c.bEditCustom);
        EXPECT_EQ(s.bZoneSettings, c.bZoneSettings);
    }
}

TEST(TestSettingsStates, LimitChecks)
{
    using LC = CTestSettingsDialog::LimitCheck;
    EXPECT_EQ(CTestSettingsDialog::CheckHighPressureLimit(90.0), LC::Accepted);
    EXPECT_EQ(CTestSettingsDialog::CheckHighPressureLimit(120.0), LC::Warned);
    EXPECT_EQ(CTestSettingsDialog::CheckHighPressureLimit(150.0), LC::Warned);
    EXPECT_EQ(CTestSettingsDialog::CheckHighPressureLimit(160.0), LC::Refused);
    EXPECT_EQ(CTestSettingsDialog::CheckHighPressureLimit(-1.0), LC::Refused);
    EXPECT_EQ(CTestSettingsDialog::CheckFanStartPercent(50.0), LC::Accepted);
    EXPECT_EQ(CTestSettingsDialog::CheckFanStartPercent(50.5), LC::Refused);
    EXPECT_EQ(CTestSettingsDialog::CheckFanStartPercent(-0.5), LC::Refused);
}

TEST_F(TestSettingsPageTest, TheWindowShowsTextsAndEnabledStatesOfEachMethod)
{
    struct PageCase {
        wchar_t chMethod;
        int nStandard;
        wchar_t chLetter;
        int bZonal;
        const wchar_t* pszNextLabel;
    } cases[] = {
        {L'A', 3, L'I', 1, L"to ISO Data Entry"},
        {L'S', 1, L'E', 1, L"to EN Data Entry"},
        {L'M', 0, L'C', 1, L"to Test Graph"},
        {L'A', 2, L'U', 0, L"to Test Graph"},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(char(c.chMethod));
        settings->m_chMethodLetter[0] = settings->m_chMethodLetter[1] = c.chMethod;
        settings->m_nMethodIndex = CTestSettingsDialog::GetMethodIndex(c.chMethod);
        settings->m_nStandard = c.nStandard;
        settings->m_chStandardLetter = c.chLetter;
        settings->m_nPressuresChoice = c.chLetter == L'U' ? 1 : 0;
        settings->m_bZonalActive = c.bZonal;
        ASSERT_NO_FATAL_FAILURE(Open());
        EXPECT_EQ(WindowText(Page()), L"Test Settings");
        EXPECT_EQ(ItemText(Page(), 1377), L"Samples per Station ");
        EXPECT_EQ(ItemText(Page(), 1396), L"Building High Pressure Limit (Pa)");
        EXPECT_EQ(ItemText(Page(), 1068), L"Semi-Auto");
        EXPECT_EQ(ItemText(Page(), 1812), L"to Comments");
        EXPECT_EQ(ItemText(Page(), 1813), c.pszNextLabel);
        EXPECT_EQ(::SendMessageW(Item(2304), CB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(::SendMessageW(Item(2304), CB_GETCURSEL, 0, 0), c.nStandard);
        EXPECT_TRUE(Checked(c.chMethod == L'M' ? 1133 : c.chMethod == L'A' ? 1067 : 1068));
        EXPECT_EQ(Checked(1115), c.chLetter == L'U');
        EXPECT_EQ(Checked(1519), c.bZonal != 0);

        const CTestSettingsDialog::CControlStates s =
            CTestSettingsDialog::GetControlStates(c.chMethod, c.chLetter, m_pView->m_bNewFormatFile, c.bZonal);
        for (int nID : kMethodControls)
            EXPECT_EQ(Enabled(nID), s.bMethodEntries) << nID;
        for (int nID : kAutoOnlyControls)
            EXPECT_EQ(Enabled(nID), s.bAutoOnlyEntries) << nID;
        EXPECT_EQ(Enabled(1116), s.bEditCustom);
        EXPECT_EQ(Enabled(1520), s.bZoneSettings);
        for (int nID : kAlwaysEnabled)
            EXPECT_TRUE(Enabled(nID)) << nID;
        for (int nID : {1273, 1065, 1777, 2036, 2039, 2251, 2259, 2525, 2528})
            EXPECT_FALSE(Visible(nID)) << nID;
        EXPECT_TRUE(Visible(1442));
        EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), 1113);
        settings->DestroyWindow();
        EXPECT_EQ(settings->m_bCreated, 0);
    }
}

TEST_F(TestSettingsPageTest, ChangesThatWouldThrowDataAwayAskFirst)
{
    enum class Change { Standard, IntoManual, OutOfManual, AutoToSemi, Active };
    struct ConfirmCase {
        const char* pszName;
        Change change;
        bool bTests;
        int nAnswer;   // 0: no question expected
        bool bCleared;
    } cases[] = {
        {"standard, no tests", Change::Standard, false, 0, false},
        {"standard, yes", Change::Standard, true, IDYES, true},
        {"standard, no", Change::Standard, true, IDNO, false},
        {"into manual, yes", Change::IntoManual, true, IDYES, true},
        {"into manual, no", Change::IntoManual, true, IDNO, false},
        {"into manual, no tests", Change::IntoManual, false, 0, false},
        {"out of manual, no", Change::OutOfManual, true, IDNO, false},
        {"out of manual, yes", Change::OutOfManual, true, IDYES, true},
        {"auto to semi-auto", Change::AutoToSemi, true, 0, false},
        {"active, yes", Change::Active, true, IDYES, true},
        {"active, no", Change::Active, true, IDNO, false},
        {"active, no tests", Change::Active, false, 0, false},
    };
    const std::vector<std::pair<Change, std::wstring>> whats = {
        {Change::Standard, L"Test Standard"},   {Change::IntoManual, L"test method"},
        {Change::OutOfManual, L"test method"}, {Change::Active, L"zonal pressure settings"}};
    for (const ConfirmCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        settings->SetFactoryDefaults();   // ISO 9972, automatic, zones off
        if (c.change == Change::OutOfManual) {
            settings->m_chMethodLetter[0] = settings->m_chMethodLetter[1] = L'M';
            settings->m_nMethodIndex = 0;
        }
        graph->m_CompletedTests[0] = graph->m_CompletedTests[1] = 0;
        if (c.bTests)
            GiveTestsToBothDirections();
        settings->m_strDataSamples = L"321";
        m_answerer.programMessages.clear();
        if (c.nAnswer != 0)
            m_answerer.ReplyToProgramMessage(4342, c.nAnswer);
        ASSERT_NO_FATAL_FAILURE(Open());

        switch (c.change) {
        case Change::Standard: ChooseStandard(1); break;
        case Change::IntoManual: Click(1133); break;
        case Change::OutOfManual:
        case Change::AutoToSemi: Click(c.change == Change::AutoToSemi ? 1068 : 1067); break;
        case Change::Active: Click(1519); break;
        }

        if (c.nAnswer == 0) {
            EXPECT_TRUE(m_answerer.programMessages.empty());
        } else {
            ASSERT_EQ(m_answerer.programMessages.size(), 1u);
            const auto& shown = m_answerer.programMessages[0];
            std::wstring strWhat;
            for (const auto& w : whats)
                if (w.first == c.change)
                    strWhat = w.second;
            EXPECT_EQ(shown.text, L"WARNING! If you change " + strWhat +
                                      L"\r\nall current test data will be cleared\r\n\r\nDo you wish to change " +
                                      strWhat + L"\r\nand clear test data? ");
            EXPECT_EQ(shown.nIcon, 175);
            EXPECT_EQ(shown.nKind, 4);
            EXPECT_EQ(shown.nHelpTopic, 105);
        }
        const bool bApplied = c.nAnswer != IDNO;
        if (c.bTests) {
            EXPECT_EQ(DataCleared(), c.bCleared);
            EXPECT_EQ(DataKept(), !c.bCleared);
        }
        switch (c.change) {
        case Change::Standard:
            EXPECT_EQ(settings->m_nStandard, bApplied ? 1 : 3);
            EXPECT_EQ(::SendMessageW(Item(2304), CB_GETCURSEL, 0, 0), bApplied ? 1 : 3);
            // A new standard takes its own samples per station.
            EXPECT_EQ(ItemText(Page(), 1143), bApplied ? L"100" : L"321");
            EXPECT_EQ(settings->m_chStandardLetter, bApplied ? L'E' : L'I');
            EXPECT_EQ(ItemText(Page(), 1813), bApplied ? L"to EN Data Entry" : L"to ISO Data Entry");
            break;
        case Change::IntoManual:
            EXPECT_EQ(settings->m_chMethodLetter[0], bApplied ? L'M' : L'A');
            EXPECT_EQ(settings->m_chMethodLetter[1], bApplied ? L'M' : L'A');
            EXPECT_EQ(Checked(1133), bApplied);
            EXPECT_EQ(Checked(1067), !bApplied);
            EXPECT_EQ(Enabled(1143), !bApplied);
            break;
        case Change::OutOfManual:
            EXPECT_EQ(settings->m_chMethodLetter[1], bApplied ? L'A' : L'M');
            EXPECT_EQ(Checked(1133), !bApplied);
            EXPECT_EQ(Enabled(1395), bApplied);
            break;
        case Change::AutoToSemi:
            EXPECT_EQ(settings->m_chMethodLetter[1], L'S');
            EXPECT_FALSE(Enabled(1144));
            EXPECT_TRUE(Enabled(1143));
            break;
        case Change::Active:
            EXPECT_EQ(settings->m_bZonalActive, bApplied ? 1 : 0);
            EXPECT_EQ(Checked(1519), bApplied);
            EXPECT_EQ(Enabled(1520), bApplied);
            break;
        }
        settings->DestroyWindow();
    }
}

TEST_F(TestSettingsPageTest, ManualSwitchesZonalPressuresOffAndTheFanStops)
{
    settings->m_bZonalActive = 1;
    graph->m_FanSpeed = 500.0;
    graph->m_bDisplayLargeMeters = 1;
    graph->m_bLargeMeters = 1;
    ASSERT_NO_FATAL_FAILURE(Open());
    Click(1133);
    EXPECT_EQ(settings->m_bZonalActive, 0);
    EXPECT_FALSE(Checked(1519));
    EXPECT_EQ(graph->m_FanSpeed, 0.0);
    EXPECT_EQ(graph->m_bLargeMeters, 0);
    Click(1068);
    EXPECT_EQ(graph->m_bLargeMeters, 1);   // back to the technician's choice
    EXPECT_EQ(settings->m_nMethodIndex, 2);
}

TEST_F(TestSettingsPageTest, ZoneSettingsAskOnlyForStructuralChangesWithData)
{
    struct ZoneCase {
        const char* pszName;
        bool bStructural;
        bool bRename;
        bool bTests;
        int nAnswer;   // 0: no question expected
    } cases[] = {
        {"rename with tests", false, true, true, 0},
        {"activate without tests", true, false, false, 0},
        {"activate and rename, yes", true, true, true, IDYES},
        {"activate and rename, no", true, true, true, IDNO},
    };
    for (const ZoneCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        settings->SetFactoryDefaults();
        settings->m_bZonalActive = 1;
        graph->m_CompletedTests[0] = graph->m_CompletedTests[1] = 0;
        if (c.bTests)
            GiveTestsToBothDirections();
        graph->m_CurrentRing[0] = 3;
        graph->m_bDeviceSetupChanged = 0;
        m_answerer.programMessages.clear();
        CDialogDriver driver;
        auto run = driver.Run({[](HWND hDialog) { ClickItem(hDialog, IDOK); }});
        m_answerer.RunDialog(CZonalPressureSetupDialog::IDD, [&](CDialog* pDialog) {
            auto* pZones = static_cast<CZonalPressureSetupDialog*>(pDialog);
            if (c.bStructural) {
                pZones->m_bActive[0] = 1;
                pZones->m_nReference[0] = 1;
            }
            if (c.bRename)
                pZones->m_strName[0] = L"Attic";
            run(pDialog);
        });
        if (c.nAnswer != 0)
            m_answerer.ReplyToProgramMessage(4342, c.nAnswer);
        ASSERT_NO_FATAL_FAILURE(Open());
        Click(1520);
        ASSERT_TRUE(PumpUntil([&] { return m_answerer.AllRepliesUsed(); }));
        PumpPending();

        EXPECT_EQ(m_answerer.programMessages.size(), c.nAnswer != 0 ? 1u : 0u);
        const bool bTaken = c.nAnswer != IDNO;
        EXPECT_EQ(settings->m_nZoneActive[1][3], c.bStructural && bTaken ? 1 : 0);
        EXPECT_EQ(settings->m_nZoneReference[1][3], c.bStructural && bTaken ? 1 : 0);
        EXPECT_EQ(std::wstring(settings->m_strZoneName[1][3].GetString()),
                  c.bRename && bTaken ? L"Attic" : L"Zone A");
        // The other direction follows, with the open fan.
        EXPECT_EQ(settings->m_nZoneActive[0][3], settings->m_nZoneActive[1][3]);
        EXPECT_EQ(settings->m_strZoneName[0][3], settings->m_strZoneName[1][3]);
        EXPECT_EQ(graph->m_CurrentRing[0], bTaken ? 0 : 3);
        EXPECT_EQ(graph->m_bDeviceSetupChanged, bTaken ? 1 : 0);
        if (c.bTests) {
            EXPECT_EQ(DataCleared(), c.nAnswer == IDYES);
            EXPECT_EQ(DataKept(), c.nAnswer != IDYES);
        }
        settings->DestroyWindow();
    }
}

TEST_F(TestSettingsPageTest, LimitAndFanStartAreCheckedWhenLeft)
{
    struct LimitCase {
        int nID;
        const wchar_t* pszTyped;
        int nMessage;   // 0 none
        int nIcon;
        int nHelpTopic;
        const wchar_t* pszKept;
    } cases[] = {
        {1395, L"120", 4045, 176, 132, L"120"},
        {1395, L"160", 4046, 175, 255, L"90"},
        {1395, L"-1", 4046, 175, 255, L"90"},
        {1395, L"75", 0, 0, 0, L"75"},
        {1397, L"50", 0, 0, 0, L"50"},
        {1397, L"50.5", 4638, 175, 255, L"0.0"},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nID << " " << std::string(c.pszTyped, c.pszTyped + wcslen(c.pszTyped)));
        settings->SetFactoryDefaults();
        m_answerer.programMessages.clear();
        if (c.nMessage != 0)
            m_answerer.ReplyToProgramMessage(static_cast<UINT>(c.nMessage), IDOK);
        ASSERT_NO_FATAL_FAILURE(Open());
        EnterAndLeave(c.nID, c.pszTyped);
        ASSERT_EQ(m_answerer.programMessages.size(), c.nMessage != 0 ? 1u : 0u);
        if (c.nMessage != 0) {
            EXPECT_EQ(m_answerer.programMessages[0].nIcon, c.nIcon);
            EXPECT_EQ(m_answerer.programMessages[0].nKind, 0);
            EXPECT_EQ(m_answerer.programMessages[0].nHelpTopic, c.nHelpTopic);
        }
        EXPECT_EQ(ItemText(Page(), c.nID), c.pszKept);
        const CString& strRecord = c.nID == 1395 ? settings->m_strHighPressureLimit : settings->m_strFanStartPercent;
        EXPECT_EQ(std::wstring(strRecord.GetString()), c.pszKept);
        if (c.nMessage == 4046 || c.nMessage == 4638) {
            EXPECT_EQ(::GetFocus(), Item(c.nID));   // back to the refused value
        }
        if (c.nID == 1395) {
            EXPECT_EQ(settings->m_dHighPressureLimit, CSimbrel1View::TextToDouble(c.pszKept));
        } else {
            EXPECT_EQ(settings->m_dFanStartPercent, 0.0);   // taken at the next Next or Previous
        }
        settings->DestroyWindow();
    }
}

TEST_F(TestSettingsPageTest, TwoRefusedValuesDoNotHandTheFocusBackAndForth)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    ::SetFocus(Item(1113));
    ::SetWindowTextW(Item(1397), L"70");
    ::SetWindowTextW(Item(1395), L"200");
    ::SetFocus(Item(1395));
    m_answerer.ReplyToProgramMessage(4046, IDOK);
    ::SetFocus(Item(1397));   // leaving the limit for the other refused value
    PumpPending();
    ASSERT_EQ(m_answerer.programMessages.size(), 1u);
    EXPECT_EQ(m_answerer.programMessages[0].nIDText, 4046u);
    EXPECT_EQ(::GetFocus(), Item(1395));
    EXPECT_EQ(ItemText(Page(), 1395), L"90");
}

TEST_F(TestSettingsPageTest, RestoreFactorySettingsSetsOnlyTheFiveTexts)
{
    settings->m_nStandard = 1;
    settings->m_chStandardLetter = L'U';
    settings->m_nPressuresChoice = 1;
    settings->m_chMethodLetter[0] = settings->m_chMethodLetter[1] = L'S';
    settings->m_nMethodIndex = 2;
    settings->m_bZonalActive = 1;
    settings->m_strZoneName[1][4] = L"Garage";
    ASSERT_NO_FATAL_FAILURE(Open());
    for (int nID : {1143, 1144, 1145, 1395, 1397})
        ::SetWindowTextW(Item(nID), L"7");
    Click(1381);
    EXPECT_EQ(ItemText(Page(), 1145), L"2.0");
    EXPECT_EQ(ItemText(Page(), 1143), L"100");
    EXPECT_EQ(ItemText(Page(), 1395), L"90");
    EXPECT_EQ(ItemText(Page(), 1144), L"1.0");
    EXPECT_EQ(ItemText(Page(), 1397), L"0.0");
    EXPECT_EQ(std::wstring(settings->m_strDataSamples.GetString()), L"100");
    EXPECT_EQ(settings->m_nStandard, 1);
    EXPECT_EQ(settings->m_chStandardLetter, L'U');
    EXPECT_EQ(settings->m_chMethodLetter[1], L'S');
    EXPECT_EQ(settings->m_bZonalActive, 1);
    EXPECT_EQ(std::wstring(settings->m_strZoneName[1][4].GetString()), L"Garage");
    EXPECT_TRUE(Checked(1115));
    EXPECT_TRUE(Checked(1068));
}

TEST_F(TestSettingsPageTest, NextCommitsTheChoicesIntoTheRecord)
{
    settings->m_strTargetTolerance = L"2.0";
    ASSERT_NO_FATAL_FAILURE(Open());
    Click(1115);   // custom target pressures
    EXPECT_EQ(settings->m_chStandardLetter, L'U');
    ::SetWindowTextW(Item(1145), L"3.5");
    ::SetWindowTextW(Item(1144), L"1.5");
    ClickItem(Page(), 1113);
    const auto requests = PumpCollectingRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().first, 148u);
    EXPECT_EQ(requests.back().second, 3);
    EXPECT_EQ(std::wstring(settings->m_strTargetTolerance.GetString()), L"3.5");
    EXPECT_EQ(settings->m_dTargetTolerance, 3.5);
    EXPECT_EQ(settings->m_dFanAdjust, 1.5);
    EXPECT_EQ(settings->m_nPressuresChoice, 1);
}

TEST_F(TestSettingsPageTest, SetAsDefaultsWritesTheFileWhenThePageCloses)
{
    const CString strFile = m_pView->m_strDataFolder + L"DefaultSettings.dat";
    ::DeleteFileW(strFile.GetString());
    ASSERT_NO_FATAL_FAILURE(Open());
    Click(1442);
    EXPECT_EQ(::GetFileAttributesW(strFile.GetString()), INVALID_FILE_ATTRIBUTES);   // not yet
    // A value typed but not yet stored is what the page showed: it goes in.
    ::SetWindowTextW(Item(1143), L"150");
    settings->DestroyWindow();
    EXPECT_EQ(settings->m_bSetAsDefaults, 0);
    const std::string bytes = ReadBytes(strFile.GetString());
    ASSERT_FALSE(bytes.empty());
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_EQ(text.rfind(L"Default Settings\r\n", 0), 0u);
    const std::wstring standardLine = L"Test_Standard_QSE: " + std::wstring(settings->GetStandardName().GetString()) + L"\n";
    EXPECT_NE(text.find(standardLine), std::wstring::npos);
    EXPECT_NE(text.find(L"Data_samples: 150\n"), std::wstring::npos);
    // The box is unticked again: the next closing writes nothing.
    ::DeleteFileW(strFile.GetString());
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_FALSE(Checked(1442));
    settings->DestroyWindow();
    EXPECT_EQ(::GetFileAttributesW(strFile.GetString()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TestSettingsPageTest, Screenshot)
{
    settings->m_bZonalActive = 1;
    m_pView->m_bLayoutPending = 1;
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(m_pView->m_bLayoutPending, 0);
    SaveScreenshot(Page(), L"TestSettingsPage");
    // The standard list opens tall enough for its four items.
    CRect rcList;
    ::SendMessageW(Item(2304), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcList));
    const int nItem = static_cast<int>(::SendMessageW(Item(2304), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(rcList.Height(), 4 * nItem);
}
