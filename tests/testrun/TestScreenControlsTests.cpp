// The test screen's controls and commands: captions, visibility and
// enabling as one table over method, data and run state; the opening of the
// screen; Start Test, Cruise, Clear, Next, Previous, OK and Cancel; the ring
// list and the fan slider; the selection and deletion of data points.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/CruiseDialogs.h"
#include "testrun/RingDialogs.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"

namespace {

TEST(TestScreenControlPlan, ByMethodDataAndRunState)
{
    enum Run { kIdle, kTest, kCruise };
    enum Data { kNone, kOneDirection, kBoth };
    struct Case {
        wchar_t chMethod;
        Data data;
        Run run;
        // Start: shown, enabled, caption; Cruise: shown, enabled, caption.
        int bStartShown, bStartEnabled;
        UINT nStartCaption;
        int bCruiseShown, bCruiseEnabled;
        UINT nCruiseCaption;
        int bClear, bEnvironment, bNext, bPrevious, bDirection;
        int bDataTableShown, bSliderShown, bSliderEnabled;
    } cases[] = {
        {L'A', kNone, kIdle, 1, 1, IDS_START_TEST_CAPTION, 1, 1, IDS_WORD_CRUISE, 0, 0, 0, 1, 1, 0, 1, 1},
        {L'A', kOneDirection, kIdle, 1, 1, IDS_START_TEST_CAPTION, 1, 1, IDS_WORD_CRUISE, 1, 0, 1, 1, 1, 0, 1, 1},
        {L'A', kBoth, kIdle, 1, 1, IDS_START_TEST_CAPTION, 1, 1, IDS_WORD_CRUISE, 1, 1, 1, 1, 1, 0, 1, 1},
        {L'A', kBoth, kTest, 1, 1, IDS_STOP_TEST_CAPTION, 1, 0, IDS_WORD_CRUISE, 0, 0, 0, 0, 0, 0, 1, 1},
        {L'A', kOneDirection, kCruise, 1, 0, IDS_START_TEST_CAPTION, 1, 1, IDS_STOP_CRUISE, 0, 0, 0, 0, 0, 0, 1, 1},
        {L'S', kNone, kIdle, 1, 1, IDS_START_TEST_CAPTION, 1, 0, IDS_WORD_CRUISE, 0, 0, 0, 1, 1, 0, 0, 0},
        {L'S', kBoth, kIdle, 1, 1, IDS_START_TEST_CAPTION, 1, 0, IDS_WORD_CRUISE, 1, 1, 1, 1, 1, 0, 0, 0},
        {L'S', kOneDirection, kTest, 1, 1, IDS_STOP_TEST_CAPTION, 1, 0, IDS_WORD_CRUISE, 0, 0, 0, 0, 0, 0, 0, 0},
        {L'M', kNone, kIdle, 0, 1, IDS_START_TEST_CAPTION, 0, 1, IDS_WORD_CRUISE, 0, 0, 0, 1, 1, 1, 0, 1},
        {L'M', kOneDirection, kIdle, 0, 1, IDS_START_TEST_CAPTION, 0, 1, IDS_WORD_CRUISE, 1, 0, 1, 1, 1, 1, 0, 1},
        {L'M', kBoth, kIdle, 0, 1, IDS_START_TEST_CAPTION, 0, 1, IDS_WORD_CRUISE, 1, 1, 1, 1, 1, 1, 0, 1},
    };
    for (const Case& c : cases) {
        CTestGraph1::CControlInput in;
        in.chMethod = c.chMethod;
        in.nStandard = 0;
        // "One direction": the other direction than the current one holds the tests.
        in.bAnyTests = c.data != kNone;
        in.bCurrentTests = c.data == kBoth;
        in.bDevicesInUse = 1;
        in.bTestRunning = c.run == kTest;
        in.nCruiseMode = c.run == kCruise ? 1 : 0;
        const CTestGraph1::CControlPlan plan = CTestGraph1::PlanControls(in);
        const std::string name = std::string(1, static_cast<char>(c.chMethod)) + " data " + std::to_string(c.data) +
                                 " run " + std::to_string(c.run);
        auto state = [&plan, &name](int nID) {
            const CTestGraph1::CControlState* p = plan.Find(nID);
            EXPECT_NE(nullptr, p) << name << " control " << nID;
            return p != nullptr ? *p : CTestGraph1::CControlState{};
        };
        EXPECT_EQ(c.bStartShown, state(IDC_TG_START).bShown) << name;
        EXPECT_EQ(c.bStartEnabled, state(IDC_TG_START).bEnabled) << name;
        EXPECT_EQ(c.nStartCaption, state(IDC_TG_START).nCaptionId) << name;
        EXPECT_EQ(c.bCruiseShown, state(IDC_TG_CRUISE).bShown) << name;
        EXPECT_EQ(c.bCruiseEnabled, state(IDC_TG_CRUISE).bEnabled) << name;
        EXPECT_EQ(c.nCruiseCaption, state(IDC_TG_CRUISE).nCaptionId) << name;
        EXPECT_EQ(c.bClear, state(IDC_TG_CLEAR).bEnabled) << name;
        EXPECT_EQ(c.bEnvironment, state(IDC_TG_EDIT_ENVIRONMENT).bEnabled) << name;
        EXPECT_EQ(c.bNext, state(IDC_TG_NEXT).bEnabled) << name;
        EXPECT_EQ(c.bNext, state(IDC_TG_TO_RESULTS_LABEL).bEnabled) << name;
        EXPECT_EQ(c.bPrevious, state(IDC_TG_PREVIOUS).bEnabled) << name;
        EXPECT_EQ(c.bDirection, state(IDC_TG_DIRECTION_LIST).bEnabled) << name;
        EXPECT_EQ(c.bDataTableShown, state(IDC_TG_DATA_TABLE).bShown) << name;
        EXPECT_EQ(c.bSliderShown, state(IDC_TG_FAN_SLIDER).bShown) << name;
        EXPECT_EQ(c.bSliderEnabled, state(IDC_TG_FAN_SLIDER).bEnabled) << name;
        EXPECT_EQ(c.bSliderShown, state(IDC_TG_FAN_SPEED_LABEL).bShown) << name;
        // Always shown: Next, Previous, Help and the two page labels; never: 1270 and "No Action".
        for (int nID : {IDC_TG_NEXT, IDC_TG_PREVIOUS, IDC_TG_HELP, IDC_TG_TO_RESULTS_LABEL, IDC_TG_TO_SETTINGS_LABEL})
            EXPECT_EQ(1, state(nID).bShown) << name << " control " << nID;
        EXPECT_EQ(0, state(IDC_TG_HIDDEN_LABEL).bShown) << name;
        EXPECT_EQ(0, state(IDC_TG_NO_ACTION).bShown) << name;
        // The seconds of the ASTM stopwatch only for ASTM E779.
        EXPECT_EQ(0, state(IDC_TG_SECONDS_LABEL).bShown) << name;
        // Pause and Sample follow the run state elsewhere.
        EXPECT_EQ(-1, state(IDC_TG_PAUSE).bEnabled) << name;
        EXPECT_EQ(c.chMethod != L'M' ? 1 : 0, state(IDC_TG_PAUSE).bShown) << name;
    }
}

TEST(TestScreenControlPlan, NoGaugeStandardAndFanValue)
{
    CTestGraph1::CControlInput in;
    in.chMethod = L'A';
    in.bDevicesInUse = 0;
    CTestGraph1::CControlPlan plan = CTestGraph1::PlanControls(in);
    EXPECT_EQ(0, plan.Find(IDC_TG_START)->bEnabled);
    EXPECT_EQ(0, plan.Find(IDC_TG_CRUISE)->bEnabled);
    EXPECT_EQ(0, plan.Find(IDC_TG_FAN_SPEED)->bShown);
    EXPECT_EQ(std::wstring(L"to Test Settings"), plan.strDataEntryCaption.GetString());

    struct Case {
        int nStandard;
        const wchar_t* caption;
        int bSeconds;
    } cases[] = {{1, L"to EN Data Entry", 0}, {3, L"to ISO Data Entry", 0}, {2, L"to Test Settings", 1}};
    for (const Case& c : cases) {
        in.nStandard = c.nStandard;
        in.bFanValueShown = 1;
        plan = CTestGraph1::PlanControls(in);
        EXPECT_EQ(std::wstring(c.caption), plan.strDataEntryCaption.GetString()) << c.nStandard;
        EXPECT_EQ(c.bSeconds, plan.Find(IDC_TG_SECONDS_LABEL)->bShown) << c.nStandard;
        EXPECT_EQ(c.bSeconds, plan.Find(IDC_TG_ELAPSED)->bShown) << c.nStandard;
        EXPECT_EQ(IDS_SECONDS, plan.Find(IDC_TG_SECONDS_LABEL)->nCaptionId);
        EXPECT_EQ(1, plan.Find(IDC_TG_FAN_SPEED)->bShown);
    }
    // The fan speed figure is disabled in method 'S'.
    in.chMethod = L'S';
    plan = CTestGraph1::PlanControls(in);
    EXPECT_EQ(1, plan.Find(IDC_TG_FAN_SPEED)->bShown);
    EXPECT_EQ(0, plan.Find(IDC_TG_FAN_SPEED)->bEnabled);
}

// Slot 0: test 1 with three points (entries 0-4), test 2 with one point
// (5-7); slot 1: test 1 with two points (0-3). Every marker is drawn at
// the same spot, so a click there lies on all of them.
void FillKnownPoints(CTestGraph1& s)
{
    s.ResetTestData();
    const int rings0[8] = {-1, 1, 1, 2, -1, -1, 1, -1};
    const int rings1[4] = {-1, 0, 1, -1};
    for (int k = 0; k < 8; ++k) {
        s.m_Ring[0][k] = rings0[k];
        s.m_Pavg[0][k] = rings0[k] == -1 ? 0.5 : 10.0 * k + 0.5;
        s.m_Qavg[0][k] = rings0[k] == -1 ? 0.0 : 100.0 * k;
        s.m_TargetP[0][k] = rings0[k] == -1 ? 0.0 : 10.0 * k;
        s.m_rcMarker[0][k] = CRect(10, 10, 20, 20);
    }
    for (int k = 0; k < 4; ++k) {
        s.m_Ring[1][k] = rings1[k];
        s.m_Pavg[1][k] = rings1[k] == -1 ? -0.5 : -20.0 * k;
        s.m_Qavg[1][k] = rings1[k] == -1 ? 0.0 : 150.0 * k;
        s.m_TargetP[1][k] = rings1[k] == -1 ? 0.0 : 20.0 * k;
        s.m_rcMarker[1][k] = CRect(12, 12, 22, 22);
    }
    s.m_StationCount[0] = 8;
    s.m_CompletedTests[0] = 2;
    s.m_StationCount[1] = 4;
    s.m_CompletedTests[1] = 1;
    for (int t = 0; t < 2; ++t) {
        s.m_FlowFactor[0][t] = 1.0;
        s.m_TestPreBaseline[0][t] = 0.5;
        s.m_TestPostBaseline[0][t] = 0.5;
    }
    s.m_FlowFactor[1][0] = 2.0;
    s.m_TestPreBaseline[1][0] = -0.5;
    s.m_TestPostBaseline[1][0] = -0.5;
    s.IndexTestGroups();
}

// The screen opened over a whole view, method 'A', fan '4'.
class TestScreenControls : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        m_bSavedLive = g_bLiveReadings;
        g_nCurrentDirection = 0;
        m_pView->m_pSettings->m_chMethodLetter[0] = L'A';
        m_pView->m_pSettings->m_chMethodLetter[1] = L'A';
        m_pView->m_pEquipment->m_chFanCode = L'4';
        m_pView->m_pLink[0]->m_bIoDisabled = 1;
        m_pScreen = m_pView->m_pTestGraph;
    }
    void TearDown() override
    {
        if (m_pScreen->GetSafeHwnd() != nullptr)
            m_pScreen->DestroyWindow();
        PumpPending();
        m_pView->m_pLink[0]->m_bIoDisabled = 0;
        g_nCurrentDirection = m_nSavedDirection;
        g_bLiveReadings = m_bSavedLive;
    }
    void Open()
    {
        ASSERT_NE(0, m_pScreen->ShowTestGraph());
        m_hWnd = m_pScreen->GetSafeHwnd();
        ASSERT_NE(nullptr, m_hWnd);
    }
    // The page requests the view has waiting: (page, action) pairs.
    std::vector<std::pair<WPARAM, LPARAM>> TakeRequests()
    {
        std::vector<std::pair<WPARAM, LPARAM>> requests;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, CSimbrel1View::kPageNavigateMessage,
                              CSimbrel1View::kPageNavigateMessage, PM_REMOVE))
            requests.emplace_back(msg.wParam, msg.lParam);
        return requests;
    }

    CTestView m_pView{L"test-screen-controls"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CTestGraph1* m_pScreen = nullptr;
    HWND m_hWnd = nullptr;
    int m_nSavedDirection = 0;
    int m_bSavedLive = 0;
};

TEST_F(TestScreenControls, OpeningCaptionByMethodAndChannelCheckNext)
{
    struct Case {
        wchar_t chMethod;
        const wchar_t* title;
        const wchar_t* shot;
    } cases[] = {{L'A', L"Test Graph (Auto Method)", L"test-screen-method-A.png"},
                 {L'S', L"Test Graph (Semi-Auto Method)", L"test-screen-method-S.png"},
                 {L'M', L"Test Graph (Manual Method)", L"test-screen-method-M.png"}};
    for (const Case& c : cases) {
        m_pView->m_pSettings->m_chMethodLetter[0] = c.chMethod;
        m_pView->m_nTickCount = 7;
        g_bLiveReadings = 0;
        Open();
        const std::wstring caption = WindowText(m_hWnd);
        EXPECT_NE(std::wstring::npos, caption.find(c.title)) << caption;
        // The title once, also after a second opening.
        EXPECT_EQ(caption.find(c.title), caption.rfind(c.title)) << caption;
        EXPECT_EQ(240, m_pView->m_nTickCount);
        EXPECT_EQ(1, g_bLiveReadings);
        const bool bSliderShown =
            (::GetWindowLongW(::GetDlgItem(m_hWnd, IDC_TG_FAN_SLIDER), GWL_STYLE) & WS_VISIBLE) != 0;
        EXPECT_EQ(c.chMethod == L'A', bSliderShown) << static_cast<char>(c.chMethod);
        const bool bStartShown = (::GetWindowLongW(::GetDlgItem(m_hWnd, IDC_TG_START), GWL_STYLE) & WS_VISIBLE) != 0;
        EXPECT_EQ(c.chMethod != L'M', bStartShown);
        PumpPending();
        SaveScreenshot(m_hWnd, c.shot);
        m_pScreen->DestroyWindow();
    }
}

TEST_F(TestScreenControls, LabelsAndButtonsCarryTheirTexts)
{
    m_pView->m_pSettings->m_nStandard = 2;   // ASTM E779: the seconds too
    Open();
    struct Case {
        int nID;
        const wchar_t* text;
    } cases[] = {
        {IDC_TG_START, L"Start Test"},          {IDC_TG_CRUISE, L"Cruise"},
        {IDC_TG_PAUSE, L"Pause"},               {IDC_TG_SAMPLE, L"Sample"},
        {IDC_TG_CLEAR, L"Clear"},               {IDC_TG_EDIT_ENVIRONMENT, L"Edit Environmental Data"},
        {IDC_TG_DATA_TABLE, L"Data Table"},     {IDC_TG_DATA_BOX_INFO, L"Data Box Info"},
        {IDC_TG_NEXT, L"Next"},                 {IDC_TG_PREVIOUS, L"Previous"},
        {IDC_TG_HELP, L"Help"},                 {IDC_TG_TO_RESULTS_LABEL, L"to Test Results"},
        {IDC_TG_TO_SETTINGS_LABEL, L"to Test Settings"},
        {IDC_TG_FAN_SPEED_LABEL, L"Fan Speed"}, {IDC_TG_N50_LABEL, L"n50 (ACH50)"},
        {IDC_TG_FAN_READOUT, L"Fan Pressure (Pa)"},
        {IDC_TG_BUILDING_READOUT, L"Bldg Pressure (Pa)"},
        {IDC_TG_BASELINE_LABEL, L"Bldg Baseline (Pa)"},
        {IDC_TG_COMPLETED_LABEL, L"Completed Tests"},
        {IDC_TG_SAMPLES_LABEL, L"# Samples"},   {IDC_TG_SECONDS_LABEL, L"Seconds"},
        {IDC_TG_STATUS_LABEL, L"Status"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.text), ItemText(m_hWnd, c.nID)) << c.nID;
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(m_hWnd, IDC_TG_ELAPSED)));
    m_pView->m_pSettings->m_nStandard = 0;
}

TEST_F(TestScreenControls, StartTestExitsSetTheLiveReadingsAgain)
{
    Open();
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    // During a test the button only asks for the stop.
    m_pScreen->m_bTestRunning = 1;
    g_bLiveReadings = 0;
    m_pScreen->OnStartTest();
    EXPECT_EQ(1, m_pScreen->m_bUserStop);
    EXPECT_EQ(1, m_pScreen->m_bStopPending);
    EXPECT_EQ(1, g_bLiveReadings);
    EXPECT_TRUE(m_answerer.programMessages.empty());
    m_pScreen->m_bTestRunning = 0;
    m_pScreen->m_bUserStop = 0;
    m_pScreen->m_bStopPending = 0;

    // Targets above the building limit: 22100 with both figures, nothing started.
    m_pScreen->m_Targets[0][0] = 25.0;
    m_pScreen->m_Targets[0][1] = 60.0;
    m_pScreen->m_Targets[0][2] = 0.0;
    settings.m_dHighPressureLimit = 50.0;
    m_answerer.ReplyToProgramMessage(IDS_TARGET_ABOVE_LIMIT, IDOK);
    g_bLiveReadings = 0;
    m_pScreen->OnStartTest();
    ASSERT_EQ(1u, m_answerer.programMessages.size());
    const std::wstring& text = m_answerer.programMessages[0].text;
    EXPECT_NE(std::wstring::npos, text.find(L"(60.0 Pa)")) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"(50.0 Pa)")) << text;
    EXPECT_EQ(1, g_bLiveReadings);
    EXPECT_EQ(0, m_pScreen->m_bTestRunning);
    EXPECT_EQ(std::wstring(L"Start Test"), ItemText(m_hWnd, IDC_TG_START));

    // The gauges cannot be checked: nothing asked, nothing started.
    settings.m_dHighPressureLimit = 100.0;
    m_pView->m_bShuttingDown = 1;
    g_bLiveReadings = 0;
    m_pScreen->OnStartTest();
    m_pView->m_bShuttingDown = 0;
    EXPECT_EQ(1u, m_answerer.programMessages.size());
    EXPECT_EQ(1, g_bLiveReadings);
    EXPECT_EQ(0, m_pScreen->m_bTestRunning);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// The exits of Start Test past the gauge check, against the serial gauge
// simulator: each answer that starts nothing leaves the live readings on,
// no run, the "Start Test" caption and Previous enabled.
TEST_F(TestScreenControls, StartTestExitsPastTheGaugeCheckTable)
{
    ASSERT_TRUE(SerialPortsReady());
    CGaugeSimulator gauge;
    ASSERT_TRUE(gauge.Start(kGaugePort));
    m_pView->m_pLink[0]->m_bIoDisabled = 0;
    ASSERT_NO_FATAL_FAILURE(ConnectPrimaryGauge(*m_pView.Get(), *m_pScreen));
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    settings.m_nStandard = 0;
    settings.m_dHighPressureLimit = 150.0;
    settings.m_dDataSamples = 5.0;
    m_pView->m_bAutoSelect = 0;
    m_pView->m_pTemperature->m_strIndoorTemp = L"20";
    m_pView->m_pTemperature->m_strOutdoorTemp = L"20";
    struct Case {
        const char* name;
        int bData, bZones;
        std::vector<std::pair<UINT, INT_PTR>> messages;
        std::vector<std::pair<UINT, INT_PTR>> dialogs;
    } cases[] = {
        {"4640 No", 0, 1, {{IDS_DEACTIVATE_ZONAL_TESTING, IDNO}}, {}},
        {"4097 No", 1, 1, {{IDS_NOT_ENOUGH_ZONE_CHANNELS, IDNO}}, {}},
        {"4035 Cancel Test", 1, 0, {{IDS_DATA_COMBINED_ON_GRAPH, IDNO}}, {}},
        {"ring type dialog ends the test",
         0,
         0,
         {{IDS_COVER_FAN_INLET_START, IDOK}, {IDS_REMOVE_INLET_COVER, IDOK}},
         {{CTemperatureEntryDialog::IDD, IDOK}, {CRingTypeDialog::IDD, CRingTypeDialog::kResultTerminate}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        for (const auto& [nID, nAnswer] : c.messages)
            answerer.ReplyToProgramMessage(nID, nAnswer);
        for (const auto& [nID, nAnswer] : c.dialogs)
            answerer.ReplyToDialog(nID, nAnswer);
        FillKnownPoints(*m_pScreen);
        if (!c.bData)
            m_pScreen->ResetTestData();
        m_pScreen->m_ChannelsInUse = 2;
        settings.m_bZonalActive = c.bZones;
        settings.m_nZoneActive[0][0] = c.bZones;   // channel 3, beyond the two in use
        Open();
        g_bLiveReadings = 0;
        m_pScreen->OnStartTest();
        EXPECT_EQ(1, g_bLiveReadings);
        EXPECT_EQ(0, m_pScreen->m_bTestRunning);
        EXPECT_EQ(0, m_pScreen->IsRunBusy());
        EXPECT_EQ(std::wstring(L"Start Test"), ItemText(m_hWnd, IDC_TG_START));
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_TG_PREVIOUS)));
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_TG_DIRECTION_LIST)));
        EXPECT_TRUE(answerer.AllRepliesUsed());
        m_pScreen->DestroyWindow();
    }
    settings.m_bZonalActive = 0;
    settings.m_nZoneActive[0][0] = 0;
    m_pScreen->m_DevicesInUse = 0;
    m_pView->m_pLink[0]->ClosePort();
}

TEST_F(TestScreenControls, StartQuestionsOverZonesAndExistingData)
{
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    m_pView->m_bAutoSelect = 0;
    m_pScreen->m_ChannelsInUse = 2;
    struct Case {
        const char* name;
        int bData, bZones;
        UINT nText;
        INT_PTR nAnswer;
        int nHelp, nKind;
        int nResult, bZonesAfter, bDataKept;
    } cases[] = {
        {"4640 Yes", 0, 1, IDS_DEACTIVATE_ZONAL_TESTING, IDYES, 30, 4, 1, 0, 1},
        {"4640 No", 0, 1, IDS_DEACTIVATE_ZONAL_TESTING, IDNO, 30, 4, 0, 1, 1},
        {"4097 Yes", 1, 1, IDS_NOT_ENOUGH_ZONE_CHANNELS, IDYES, 18, 4, 1, 0, 0},
        {"4097 No", 1, 1, IDS_NOT_ENOUGH_ZONE_CHANNELS, IDNO, 18, 4, 0, 1, 1},
        {"4035 Proceed with Test", 1, 0, IDS_DATA_COMBINED_ON_GRAPH, IDYES, 129, 7, 1, 0, 1},
        {"4035 Cancel Test", 1, 0, IDS_DATA_COMBINED_ON_GRAPH, IDNO, 129, 7, 0, 0, 1},
    };
    for (const Case& c : cases) {
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        FillKnownPoints(*m_pScreen);
        if (!c.bData) {
            m_pScreen->m_StationCount[0] = 0;
            m_pScreen->m_CompletedTests[0] = 0;
        }
        settings.m_bZonalActive = c.bZones;
        settings.m_nZoneActive[0][0] = c.bZones;   // channel 3, beyond the two in use
        answerer.ReplyToProgramMessage(c.nText, c.nAnswer);
        EXPECT_EQ(c.nResult, m_pScreen->ConfirmStart()) << c.name;
        ASSERT_EQ(1u, answerer.programMessages.size()) << c.name;
        EXPECT_EQ(c.nHelp, answerer.programMessages[0].nHelpTopic) << c.name;
        EXPECT_EQ(c.nKind, answerer.programMessages[0].nKind) << c.name;
        EXPECT_EQ(c.bZonesAfter, settings.m_bZonalActive) << c.name;
        if (c.bData) {
            EXPECT_EQ(c.bDataKept ? 8 : 0, m_pScreen->m_StationCount[0]) << c.name;
        }
    }
    settings.m_bZonalActive = 0;
    settings.m_nZoneActive[0][0] = 0;
    // No data and no zones: no question at all.
    m_pScreen->ResetTestData();
    EXPECT_EQ(1, m_pScreen->ConfirmStart());
    EXPECT_TRUE(m_answerer.programMessages.empty());
}

TEST_F(TestScreenControls, EveryRefusedStartLeavesNoCruise)
{
    Open();
    // A cruise whose start is refused (no gauge to zero): the next Start Test is a test.
    m_pScreen->m_CruiseMode = 1;
    m_answerer.ReplyToProgramMessage(0, IDOK);   // whatever the failed zeroing reports
    g_bLiveReadings = 0;
    m_pScreen->OnStartTest();
    EXPECT_EQ(0, m_pScreen->m_CruiseMode);
    EXPECT_EQ(0, m_pScreen->m_bTestRunning);
    EXPECT_EQ(1, g_bLiveReadings);
    EXPECT_EQ(std::wstring(L"Cruise"), ItemText(m_hWnd, IDC_TG_CRUISE));
}

TEST_F(TestScreenControls, CruiseConditionsReenterProceedAndRemembered)
{
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    settings.m_dHighPressureLimit = 50.0;
    m_pView->m_nCruiseBaseline = 0;
    m_pView->m_strCruisePressure = L"80";
    CDialogDriver first, second;
    std::wstring shownFirst, shownSecond;
    m_answerer.RunDialog(CCruiseDialog::IDD, first.Run({[&](HWND h) {
                             shownFirst = ItemText(h, IDC_CRUISE_PRESSURE);
                             SendClicked(h, IDOK);
                         }}));
    m_answerer.ReplyToProgramMessage(IDS_CRUISE_ABOVE_LIMIT, IDRETRY);   // Reenter
    m_answerer.RunDialog(CCruiseDialog::IDD, second.Run({[&](HWND h) {
                             shownSecond = ItemText(h, IDC_CRUISE_PRESSURE);
                             ::CheckDlgButton(h, IDC_CRUISE_BASELINE_YES, BST_CHECKED); ::CheckDlgButton(h, IDC_CRUISE_BASELINE_NO, BST_UNCHECKED);
                             ::SetDlgItemTextW(h, IDC_CRUISE_PRESSURE, L"-70");
                             SendClicked(h, IDOK);
                         }}));
    m_answerer.ReplyToProgramMessage(IDS_CRUISE_ABOVE_LIMIT, IDCANCEL);  // Proceed
    EXPECT_EQ(1, m_pScreen->AskCruiseConditions());
    EXPECT_EQ(L"80", shownFirst);
    EXPECT_EQ(L"80", shownSecond);
    EXPECT_EQ(2, m_pScreen->m_CruiseMode);
    EXPECT_DOUBLE_EQ(-70.0, m_pScreen->m_dCruisePressure);
    EXPECT_EQ(1, m_pView->m_nCruiseBaseline);
    EXPECT_EQ(std::wstring(L"-70"), m_pView->m_strCruisePressure.GetString());
    ASSERT_EQ(2u, m_answerer.programMessages.size());
    EXPECT_EQ(176, m_answerer.programMessages[0].nIcon);
    EXPECT_EQ(9, m_answerer.programMessages[0].nKind);
    EXPECT_EQ(130, m_answerer.programMessages[0].nHelpTopic);

    // Without a baseline, within the limit: mode 1 and no question.
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver third;
    answerer.RunDialog(CCruiseDialog::IDD, third.Run({[](HWND h) {
                           ::CheckDlgButton(h, IDC_CRUISE_BASELINE_YES, BST_UNCHECKED); ::CheckDlgButton(h, IDC_CRUISE_BASELINE_NO, BST_CHECKED);
                           ::SetDlgItemTextW(h, IDC_CRUISE_PRESSURE, L"30");
                           SendClicked(h, IDOK);
                       }}));
    EXPECT_EQ(1, m_pScreen->AskCruiseConditions());
    EXPECT_EQ(1, m_pScreen->m_CruiseMode);
    EXPECT_TRUE(answerer.programMessages.empty());
    // Cancel Cruise: no cruise.
    answerer.ReplyToDialog(CCruiseDialog::IDD, IDCANCEL);
    EXPECT_EQ(0, m_pScreen->AskCruiseConditions());
    m_pScreen->m_CruiseMode = 0;
}

TEST_F(TestScreenControls, ClearAsksFirst)
{
    Open();
    FillKnownPoints(*m_pScreen);
    CFanCalibrationDialog& cal = *m_pView->m_pFanCalibration;
    m_pScreen->m_CurrentRing[0] = 2;
    cal.m_dSelC = -1.0;
    m_answerer.ReplyToProgramMessage(IDS_CLEAR_CURRENT_TEST_DATA, IDNO);
    m_pScreen->OnClear();
    EXPECT_EQ(8, m_pScreen->m_StationCount[0]);
    EXPECT_EQ(4, m_pScreen->m_StationCount[1]);
    EXPECT_DOUBLE_EQ(-1.0, cal.m_dSelC);
    EXPECT_EQ(105, m_answerer.programMessages[0].nHelpTopic);

    m_answerer.ReplyToProgramMessage(IDS_CLEAR_CURRENT_TEST_DATA, IDYES);
    g_bLiveReadings = 0;
    m_pScreen->OnClear();
    EXPECT_EQ(0, m_pScreen->m_StationCount[0]);
    EXPECT_EQ(0, m_pScreen->m_CompletedTests[1]);
    EXPECT_NE(-1.0, cal.m_dSelC);
    EXPECT_EQ(1, g_bLiveReadings);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_TG_NEXT)));
}

TEST_F(TestScreenControls, NextPreviousOkCancelLeaveTheScreen)
{
    Open();
    TakeRequests();
    struct Case {
        wchar_t chMethod;
        void (CTestGraph1::*pCommand)();
        LPARAM nAction;
        double dSpeedAfter;
    } cases[] = {
        {L'A', &CTestGraph1::OnNext, 3, 0.0},     {L'A', &CTestGraph1::OnPrevious, 4, 0.0},
        {L'S', &CTestGraph1::OnNext, 3, 2500.0},  {L'S', &CTestGraph1::OnPrevious, 4, 2500.0},
        {L'A', &CTestGraph1::OnOK, 1, 0.0},       {L'A', &CTestGraph1::OnCancel, 2, 0.0},
        {L'S', &CTestGraph1::OnCancel, 2, 2500.0},
    };
    for (const Case& c : cases) {
        m_pView->m_pSettings->m_chMethodLetter[0] = c.chMethod;
        m_pScreen->m_FanSpeed = 2500.0;
        (m_pScreen->*c.pCommand)();
        // The test view has no window to post the page request to.
        EXPECT_TRUE(TakeRequests().empty()) << c.nAction;
        EXPECT_DOUBLE_EQ(c.dSpeedAfter, m_pScreen->m_FanSpeed) << static_cast<char>(c.chMethod) << c.nAction;
    }
}

// On the running program, whose view has a window: each way off the screen
// asks the view for its page with the screen's id, leaves the live readings
// off (OK and Cancel set them again), and stops the fan outside method 'S'.
class TestScreenInProgram : public ProgramTest {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        m_bSavedLive = g_bLiveReadings;
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        g_nCurrentDirection = 0;
        m_pView->m_pLink[0]->m_bIoDisabled = 1;
    }
    void TearDown() override
    {
        CTestGraph1* pScreen = m_pView != nullptr ? m_pView->m_pTestGraph : nullptr;
        if (pScreen != nullptr && pScreen->GetSafeHwnd() != nullptr)
            pScreen->DestroyWindow();
        CloseProgram();
        g_pView = nullptr;
        g_nCurrentDirection = m_nSavedDirection;
        g_bLiveReadings = m_bSavedLive;
    }
    int m_nSavedDirection = 0;
    int m_bSavedLive = 0;
};

TEST_F(TestScreenInProgram, EveryWayOffTheScreenAsksTheViewForItsPage)
{
    CTestGraph1& s = *m_pView->m_pTestGraph;
    struct Case {
        wchar_t chMethod;
        int nButton;
        LPARAM nAction;
        int bLiveAfter;
        double dSpeedAfter;
    } cases[] = {
        {L'A', IDC_TG_NEXT, CSimbrel1View::kPageNext, 0, 0.0},
        {L'A', IDC_TG_PREVIOUS, CSimbrel1View::kPagePrevious, 0, 0.0},
        {L'S', IDC_TG_NEXT, CSimbrel1View::kPageNext, 0, 2500.0},
        {L'S', IDC_TG_PREVIOUS, CSimbrel1View::kPagePrevious, 0, 2500.0},
        {L'M', IDC_TG_NEXT, CSimbrel1View::kPageNext, 0, 0.0},
        {L'A', IDOK, CSimbrel1View::kPageOK, 1, 0.0},
        {L'A', IDCANCEL, CSimbrel1View::kPageCancel, 1, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.chMethod) << " button " << c.nButton);
        m_pView->m_pSettings->m_chMethodLetter[0] = c.chMethod;
        ASSERT_NE(0, s.ShowTestGraph());
        PumpCollectingRequests();
        s.m_FanSpeed = 2500.0;
        g_bLiveReadings = 1;
        ::SendMessageW(s.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(c.nButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(s.GetSafeHwnd(), c.nButton)));
        const auto requests = PumpCollectingRequests();
        ASSERT_EQ(1u, requests.size());
        EXPECT_EQ(static_cast<WPARAM>(CTestGraph1::IDD), requests[0].first);
        EXPECT_EQ(c.nAction, requests[0].second);
        EXPECT_EQ(c.bLiveAfter, g_bLiveReadings);
        EXPECT_DOUBLE_EQ(c.dSpeedAfter, s.m_FanSpeed);
        s.DestroyWindow();
    }
}

TEST_F(TestScreenControls, RefreshingTheControlsFollowsTheData)
{
    Open();
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_TG_NEXT)));
    FillKnownPoints(*m_pScreen);
    m_pScreen->RefreshControls();
    for (int nID : {IDC_TG_NEXT, IDC_TG_TO_RESULTS_LABEL, IDC_TG_CLEAR, IDC_TG_EDIT_ENVIRONMENT})
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_hWnd, nID))) << nID;
}

TEST_F(TestScreenControls, EnterAndEscDuringARunKeepTheScreen)
{
    Open();
    TakeRequests();
    m_pScreen->m_bTestRunning = 1;
    m_pScreen->m_FanSpeed = 3000.0;
    m_pScreen->m_bPauseEnabled = 1;
    m_pScreen->OnCancel();
    EXPECT_EQ(1, m_pScreen->m_bPauseRequest);
    EXPECT_EQ(0, m_pScreen->m_bStopPending);
    m_pScreen->m_bPauseRequest = 0;
    m_pScreen->m_bPauseEnabled = 0;
    m_pScreen->OnCancel();
    EXPECT_EQ(1, m_pScreen->m_bStopPending);
    EXPECT_EQ(1, m_pScreen->m_bUserStop);
    m_pScreen->OnOK();
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_DOUBLE_EQ(3000.0, m_pScreen->m_FanSpeed);
    EXPECT_NE(nullptr, m_pScreen->GetSafeHwnd());
    // Also while a start or its baseline runs.
    m_pScreen->m_bTestRunning = 0;
    m_pScreen->m_bStopPending = 0;
    m_pScreen->m_bTestStarting = 1;
    m_pScreen->OnOK();
    m_pScreen->m_bTestStarting = 0;
    m_pScreen->m_bBaselineRunning = 1;
    m_pScreen->OnOK();
    m_pScreen->m_bBaselineRunning = 0;
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(TestScreenControls, RingListDuringARunIdleAndUnchanged)
{
    Open();
    CFanCalibrationDialog& cal = *m_pView->m_pFanCalibration;
    m_pScreen->m_CurrentRing[0] = 1;
    // Idle: the calibration of the chosen ring.
    cal.m_dSelC = -1.0;
    ::SendMessageW(::GetDlgItem(m_hWnd, IDC_TG_RING_LIST), CB_SETCURSEL, 3, 0);
    m_pScreen->OnRingCloseUp();
    EXPECT_EQ(3, m_pScreen->m_CurrentRing[0]);
    EXPECT_EQ(-1, m_pScreen->m_nOperatorRingRequest);
    EXPECT_NE(-1.0, cal.m_dSelC);
    // The ring installed already: nothing changes.
    cal.m_dSelC = -1.0;
    m_pScreen->OnRingCloseUp();
    EXPECT_DOUBLE_EQ(-1.0, cal.m_dSelC);
    EXPECT_EQ(-1, m_pScreen->m_nOperatorRingRequest);
    // During a run: the run prompts for the change.
    m_pScreen->m_bTestRunning = 1;
    m_pScreen->m_bRingListDropped = 1;
    ::SendMessageW(::GetDlgItem(m_hWnd, IDC_TG_RING_LIST), CB_SETCURSEL, 2, 0);
    m_pScreen->OnRingCloseUp();
    m_pScreen->m_bTestRunning = 0;
    EXPECT_EQ(2, m_pScreen->m_nOperatorRingRequest);
    EXPECT_EQ(0, m_pScreen->m_bRingListDropped);
    m_pScreen->m_nOperatorRingRequest = -1;
}

TEST_F(TestScreenControls, SliderIgnoresTheOneLineCodes)
{
    Open();
    m_pView->m_pLink[0]->m_bIdentified = 1;
    ::SendMessageW(::GetDlgItem(m_hWnd, IDC_TG_FAN_SLIDER), TBM_SETRANGEMAX, TRUE, 16127);
    ::SendMessageW(::GetDlgItem(m_hWnd, IDC_TG_FAN_SLIDER), TBM_SETPOS, TRUE, 1200);
    const int nSent = m_pScreen->m_nFanCommandsSent;
    m_pScreen->OnHScroll(SB_LINELEFT);
    m_pScreen->OnHScroll(SB_LINERIGHT);
    EXPECT_EQ(nSent, m_pScreen->m_nFanCommandsSent);
    m_pScreen->OnHScroll(SB_THUMBPOSITION);
    EXPECT_EQ(nSent + 1, m_pScreen->m_nFanCommandsSent);
    EXPECT_DOUBLE_EQ(1200.0, m_pScreen->m_FanSpeed);
    m_pView->m_pLink[0]->m_bIdentified = 0;
}

TEST_F(TestScreenControls, FivePointsUnderAClickOfferTheFirstFour)
{
    FillKnownPoints(*m_pScreen);
    const std::vector<CTestGraph1::CPointHit> hits = m_pScreen->FindPointsAt(CPoint(15, 15));
    ASSERT_EQ(4u, hits.size());
    const int expected[4][3] = {{0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {1, 0, 1}};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(expected[r][0], hits[r].d) << r;
        EXPECT_EQ(expected[r][1], hits[r].t) << r;
        EXPECT_EQ(expected[r][2], hits[r].k) << r;
    }
    // The single point of slot 0's second test is never offered.
    for (int k = 0; k < 8; ++k)
        m_pScreen->m_rcMarker[0][k] = CRect(100, 100, 110, 110);
    m_pScreen->m_rcMarker[0][6] = CRect(200, 200, 210, 210);
    EXPECT_TRUE(m_pScreen->FindPointsAt(CPoint(205, 205)).empty());
    // Outside every marker: nothing.
    EXPECT_TRUE(m_pScreen->FindPointsAt(CPoint(400, 400)).empty());
}

TEST_F(TestScreenControls, DeletionIsRecordedTwelveTimesOnly)
{
    FillKnownPoints(*m_pScreen);
    m_pScreen->m_LastDeletedIndex[0] = -1;
    const CString strLine = m_pScreen->FormatDataPointLine(0, 2);
    m_pScreen->DeleteSelectedPoint({0, 0, 2});
    EXPECT_EQ(0, m_pScreen->m_LastDeletedIndex[0]);
    EXPECT_EQ(std::wstring((strLine + L"-1").GetString()), m_pScreen->m_DeletedPoints[0][0].GetString());
    EXPECT_EQ(7, m_pScreen->m_StationCount[0]);
    EXPECT_DOUBLE_EQ(30.5, m_pScreen->m_Pavg[0][2]);   // the next point moved up

    FillKnownPoints(*m_pScreen);
    m_pScreen->m_LastDeletedIndex[1] = 11;
    m_pScreen->m_DeletedPoints[1][11] = L"kept";
    m_pScreen->DeleteSelectedPoint({1, 0, 1});
    EXPECT_EQ(11, m_pScreen->m_LastDeletedIndex[1]);
    EXPECT_EQ(std::wstring(L"kept"), m_pScreen->m_DeletedPoints[1][11].GetString());
    EXPECT_EQ(3, m_pScreen->m_StationCount[1]);
    m_pScreen->m_LastDeletedIndex[1] = -1;
}

TEST_F(TestScreenControls, ClickSelectsAndDeletesWhereTheDialogWasLeft)
{
    Open();
    FillKnownPoints(*m_pScreen);
    m_pScreen->m_LastDeletedIndex[0] = -1;
    CDialogDriver selection, question;
    std::wstring label0, label3, flow;
    m_answerer.RunDialog(CDataPointSelected::IDD, selection.Run({[&](HWND h) {
                             label0 = ItemText(h, IDC_SELECTED_ROW1);
                             label3 = ItemText(h, IDC_SELECTED_ROW4);
                             SendClicked(h, IDC_SELECTED_ROW2);
                         },
                         [&](HWND h) {
                             flow = ItemText(h, IDC_SELECTED_FLOW);
                             ::CheckDlgButton(h, IDC_SELECTED_DELETE, BST_CHECKED);
                             ::SetWindowPos(h, nullptr, 250, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                             SendClicked(h, IDOK);
                         }}));
    RECT rcQuestion{};
    m_answerer.RunProgramMessage(IDS_ARE_YOU_SURE, question.Run({[&](HWND h) {
                                     ::GetWindowRect(h, &rcQuestion);
                                     SendClicked(h, IDOK);   // Yes
                                 }}));
    m_pScreen->OnLButtonDown(0, CPoint(15, 15));
    EXPECT_EQ(L"Pressurization Test: 1    Target Pressure: 10.0 Pa", label0);
    EXPECT_EQ(L"Depressurization Test: 1    Target Pressure: 20.0 Pa", label3);
    EXPECT_EQ(L"200.0", flow);
    EXPECT_EQ(250, rcQuestion.left);
    EXPECT_EQ(180, rcQuestion.top);
    EXPECT_EQ(7, m_pScreen->m_StationCount[0]);
    EXPECT_EQ(0, m_pScreen->m_LastDeletedIndex[0]);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(TestScreenControls, NoSelectionWhileARunOrStartIsUnderWay)
{
    Open();
    FillKnownPoints(*m_pScreen);
    for (int* pFlag : {&m_pScreen->m_bTestRunning, &m_pScreen->m_bTestStarting, &m_pScreen->m_bBaselineRunning}) {
        *pFlag = 1;
        m_pScreen->OnLButtonDown(0, CPoint(15, 15));
        *pFlag = 0;
    }
    EXPECT_TRUE(m_answerer.dialogs.empty());
    EXPECT_EQ(8, m_pScreen->m_StationCount[0]);
}

TEST_F(TestScreenControls, CruiseRingRequestStopsTheFanAndPrompts)
{
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    settings.m_dFanStartPercent = 10.0;
    m_pView->m_pLink[0]->m_bGauge = 1;
    m_pScreen->m_CruiseMode = 1;
    // Refused: the cruise stops.
    m_pScreen->m_nOperatorRingRequest = 2;
    m_pScreen->m_FanSpeed = 4000.0;
    m_answerer.ReplyToDialog(CChangeRingDialog::IDD, 2);
    m_pScreen->CruiseStep();
    EXPECT_EQ(1, m_pScreen->m_bStopPending);
    EXPECT_EQ(-1, m_pScreen->m_nOperatorRingRequest);
    EXPECT_DOUBLE_EQ(0.0, m_pScreen->m_FanSpeed);
    m_pScreen->m_bStopPending = 0;
    m_pScreen->m_CruiseMode = 0;
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

}  // namespace
