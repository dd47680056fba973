// The ring and settle decision as a table over its rules, the controller
// warnings, the ring prompt's texts and the flow check at the last ring.
#include <gtest/gtest.h>

#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/RingDialogs.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr double kStraddling[10] = {49.0, 51.0, 50.5, 49.5, 50.2, 49.8, 50.1, 49.9, 50.3, 49.7};
constexpr double kAllAbove[10] = {50.1, 50.5, 50.9, 50.2, 50.4, 50.3, 50.6, 50.8, 50.7, 50.2};
constexpr double kDepressStraddling[10] = {-49.0, -51.0, -50.5, -49.5, -50.2, -49.8, -50.1, -49.9, -50.3, -49.7};
constexpr double kLow[10] = {30, 30, 31, 30, 30, 31, 30, 30, 31, 30};

TEST(RingDecision, EveryRule)
{
    struct Case {
        const char* name;
        double dFan, dP;
        int bDepress, nRing;
        const double* pWindow;
        int bFull;
        double dRingMin, dSpeed;
        int bGauge;
        wchar_t chFan;
        int nPrevious, nRequest;
        // expected
        int nReturn, nState, nPreviousAfter, nRequestAfter;
    } cases[] = {
        {"operator request wins", 100, 50, 0, 1, kStraddling, 1, 10, 100, 1, L'3', 3, 4, 4, 0, 1, -1},
        {"settled", 100, 50, 0, 1, kStraddling, 1, 10, 100, 1, L'3', 2, -1, -1, 1, -1, -1},
        {"window not full never settles", 100, 50, 0, 1, kStraddling, 0, 10, 100, 1, L'3', 2, -1, -1, 0, 2, -1},
        {"all above the target does not settle", 100, 50, 0, 1, kAllAbove, 1, 10, 100, 1, L'3', 2, -1, -1, 0, 2,
         -1},
        {"depressurization settles on the negated target", 100, -50, 1, 1, kDepressStraddling, 1, 10, 100, 1, L'3',
         -1, -1, -1, 1, -1, -1},
        {"below ring minimum: next ring", 5, 50, 0, 1, kStraddling, 1, 10, 100, 1, L'3', -1, -1, 2, 0, 1, -1},
        {"below ring minimum, below 2 Pa", 1.5, 50, 0, 1, kStraddling, 1, 10, 100, 1, L'3', -1, -1, -1, 6, -1, -1},
        {"fan B ring 4 is the last", 5, 50, 0, 4, kStraddling, 1, 10, 100, 1, L'B', -1, -1, -1, 3, -1, -1},
        {"fan B ring 4 below 2 Pa", 1.0, 50, 0, 4, kStraddling, 1, 10, 100, 1, L'B', -1, -1, -1, 6, -1, -1},
        {"ring beyond the last counts as the last", 5, 50, 0, 5, kStraddling, 1, 10, 100, 1, L'A', -1, -1, -1, 3, -1,
         -1},
        {"smaller would undo the last change", 5, 50, 0, 1, kStraddling, 1, 10, 100, 1, L'3', 2, -1, -1, 1, -1, -1},
        {"open fan at full speed short of target", 100, 30, 0, 0, kLow, 1, 10, 16127, 1, L'3', -1, -1, -1, 2, -1, -1},
        {"ring at full speed: larger ring", 100, 30, 0, 2, kLow, 1, 10, 16127, 1, L'3', -1, -1, 1, 0, 2, -1},
        {"larger would undo the last change", 100, 30, 0, 2, kLow, 1, 10, 16127, 1, L'3', 1, -1, -1, 2, -1, -1},
        {"ring beyond the last at full speed goes to the last but one", 100, 30, 0, 5, kLow, 1, 10, 16127, 1, L'A', -1,
         -1, 2, 0, 3, -1},
        {"full speed, no building pressure, fan pressure", 50, 1, 0, 1, kLow, 1, 10, 16127, 1, L'3', -1, -1, -1, 7,
         -1, -1},
        {"full speed, neither pressure", 5, 1, 0, 1, kLow, 1, 10, 16127, 1, L'3', -1, -1, -1, 8, -1, -1},
        {"depressurization, full speed, no building pressure", 50, -1, 1, 1, kLow, 1, 10, 16127, 1, L'3', -1, -1, -1,
         7, -1, -1},
        {"box at 3000 with 1 Pa fan pressure", 1, 30, 0, 1, kLow, 1, 10, 3000, 0, L'3', -1, -1, -1, 9, -1, -1},
        {"gauge at 3000 with 1 Pa fan pressure", 1, 30, 0, 1, kLow, 1, 10, 3000, 1, L'3', -1, -1, -1, 0, -1, -1},
        {"box at full speed", 100, 30, 0, 0, kLow, 1, 10, 4095, 0, L'3', -1, -1, -1, 2, -1, -1},
    };
    for (const Case& c : cases) {
        CTestGraph1::CRingInput in;
        in.dFanPressure = c.dFan;
        in.dP = c.dP;
        in.bDepress = c.bDepress;
        in.nRing = c.nRing;
        in.dTarget = 50.0;
        in.dTolerance = 2.0;
        in.pWindow = c.pWindow;
        in.nWindow = 10;
        in.bWindowFull = c.bFull;
        in.dRingMinimum = c.dRingMin;
        in.dSpeed = c.dSpeed;
        in.bGaugeFamily = c.bGauge;
        in.chFanCode = c.chFan;
        int nPrevious = c.nPrevious, nRequest = c.nRequest, nState = -99;
        EXPECT_EQ(c.nReturn, CTestGraph1::DecideRing(in, nPrevious, nRequest, nState)) << c.name;
        EXPECT_EQ(c.nState, nState) << c.name;
        EXPECT_EQ(c.nPreviousAfter, nPrevious) << c.name;
        EXPECT_EQ(c.nRequestAfter, nRequest) << c.name;
    }
}

TEST(RingDecision, LastRingOfEachFan)
{
    EXPECT_EQ(5, CTestGraph1::GetLastRing(L'3'));
    EXPECT_EQ(5, CTestGraph1::GetLastRing(L'5'));
    EXPECT_EQ(5, CTestGraph1::GetLastRing(L'4'));
    EXPECT_EQ(4, CTestGraph1::GetLastRing(L'B'));
    EXPECT_EQ(3, CTestGraph1::GetLastRing(L'A'));
}

TEST(RingDecision, PromptTexts)
{
    int nHelp = 0;
    EXPECT_EQ(std::wstring(L"Install Ring C and press here to continue test."),
              CTestGraph1::GetRingPromptText(3, L'5', nHelp).GetString());
    EXPECT_EQ(124, nHelp);
    EXPECT_EQ(std::wstring(L"Install Ring 2 and press here to continue test."),
              CTestGraph1::GetRingPromptText(2, L'A', nHelp).GetString());
    EXPECT_EQ(std::wstring(L"Install Ring 4 and press here to continue test."),
              CTestGraph1::GetRingPromptText(4, L'B', nHelp).GetString());
    EXPECT_EQ(std::wstring(L"Remove All Rings. and press here to continue test."),
              CTestGraph1::GetRingPromptText(0, L'4', nHelp).GetString());
    EXPECT_EQ(125, nHelp);
}

class RingPrompts : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pScreen = m_view->m_pTestGraph;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
        m_view->m_pLink[0]->m_bIoDisabled = 1;
        m_view->m_pLink[0]->m_bGauge = 1;
    }
    void TearDown() override
    {
        m_view->m_pLink[0]->m_bIoDisabled = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    CTestView m_view{L"ring-prompts"};
    CTestGraph1* m_pScreen = nullptr;
    int m_nSavedDirection = 0;
};

TEST_F(RingPrompts, ControllerWarningsStopTheFanAndNameTheirTopic)
{
    struct Case {
        int nState;
        UINT nText;
        int nHelp;
        int bCruise;
    } cases[] = {
        {3, IDS_FLOW_TOO_SMALL, 114, 0}, {6, IDS_NO_FAN_PRESSURE, 117, 0}, {7, IDS_FULL_SPEED_NO_BUILDING, 121, 0},
        {8, IDS_NO_FAN_OR_BUILDING, 120, 0}, {9, IDS_NO_FAN_PRESSURE, 117, 1},
    };
    for (const Case& c : cases) {
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        answerer.ReplyToProgramMessage(0, IDOK);
        m_pScreen->m_CruiseMode = c.bCruise;
        m_pScreen->SetFanSpeed(3000.0);
        m_pScreen->ShowControllerWarning(c.nState);
        EXPECT_EQ(0, m_pScreen->m_nLastFanCommand) << c.nState;
        ASSERT_EQ(1u, answerer.programMessages.size()) << c.nState;
        const auto& shown = answerer.programMessages[0];
        const std::wstring expected = std::wstring(LoadText(c.nText).GetString()) + L"\r\n\r\n" +
                                      LoadText(c.bCruise ? IDS_PRESS_OK_TERMINATE_CRUISE : IDS_PRESS_OK_TERMINATE_TEST)
                                          .GetString();
        EXPECT_EQ(expected, shown.text) << c.nState;
        EXPECT_EQ(c.nHelp, shown.nHelpTopic) << c.nState;
        EXPECT_EQ(176, shown.nIcon);
        EXPECT_EQ(0, shown.nKind);
        EXPECT_EQ(static_cast<int>(IDS_WAITING_FOR_OPERATOR), m_pScreen->m_nStatusId) << c.nState;
        m_pScreen->m_nStatusId = 0;
    }
    m_pScreen->m_CruiseMode = 0;
    // Other states show nothing.
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    m_pScreen->ShowControllerWarning(2);
    EXPECT_TRUE(answerer.programMessages.empty());
}

TEST_F(RingPrompts, RingChangePromptButtonsAndAnswer)
{
    struct Case {
        int nRing;
        wchar_t chFan;
        int nCruise;
        int nButton;   // the button pressed
        const wchar_t* first;
        const wchar_t* second;
        int nHelp, nResult;
    } cases[] = {
        {3, L'5', 0, IDC_CHANGE_RING_FIRST, L"Install Ring C and press here to continue test.",
         L"Press here to end test at previous test pressure", 124, 1},
        {2, L'A', 1, IDC_CHANGE_RING_SECOND, L"Install Ring 2 and press here to continue test.",
         L"Press here to end cruise", 124, 0},
        {0, L'4', 0, IDC_CHANGE_RING_SECOND, L"Remove All Rings. and press here to continue test.",
         L"Press here to end test at previous test pressure", 125, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ring " << c.nRing << " fan " << static_cast<char>(c.chFan));
        m_pScreen->m_CruiseMode = c.nCruise;
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        CDialogDriver driver;
        std::wstring first, second, caption;
        int nHelp = -1;
        auto run = driver.Run({[&](HWND h) {
                                   caption = WindowText(h);
                                   first = ItemText(h, IDC_CHANGE_RING_FIRST);
                                   second = ItemText(h, IDC_CHANGE_RING_SECOND);
                               },
                               [&](HWND h) { SendClicked(h, c.nButton); }});
        answerer.RunDialog(CChangeRingDialog::IDD, [&](CDialog* pDialog) {
            if (auto* pRing = dynamic_cast<CChangeRingDialog*>(pDialog))
                nHelp = pRing->m_nHelpTopic;
            run(pDialog);
        });
        EXPECT_EQ(c.nResult, m_pScreen->RingChangePrompt(c.nRing, c.chFan));
        EXPECT_EQ(std::wstring(c.first), first);
        EXPECT_EQ(std::wstring(c.second), second);
        EXPECT_EQ(std::wstring(L"Change Fan Ring Dialog"), caption);
        EXPECT_EQ(c.nHelp, nHelp);
        EXPECT_EQ(static_cast<int>(IDS_WAITING_FOR_OPERATOR), m_pScreen->m_nStatusId);
        m_pScreen->m_nStatusId = 0;
    }
    m_pScreen->m_CruiseMode = 0;
}

TEST_F(RingPrompts, FlowCheckAtAndBeforeTheLastRing)
{
    m_view->m_pEquipment->m_chFanCode = L'A';
    // At the last ring, and beyond it after a change of fan: the message.
    for (int nRing : {3, 5}) {
        m_pScreen->m_CurrentRing[0] = nRing;
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        answerer.ReplyToProgramMessage(0, IDOK);
        EXPECT_EQ(0, m_pScreen->CheckFlowMeasurable());
        ASSERT_EQ(1u, answerer.programMessages.size());
        EXPECT_EQ(114, answerer.programMessages[0].nHelpTopic);
        EXPECT_TRUE(answerer.dialogs.empty());
        EXPECT_EQ(nRing, m_pScreen->m_CurrentRing[0]);
    }
    // Before it: the prompt for the next ring.
    m_pScreen->m_CurrentRing[0] = 1;
    {
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        answerer.ReplyToDialog(CChangeRingDialog::IDD, 2);
        EXPECT_EQ(0, m_pScreen->CheckFlowMeasurable());
        EXPECT_EQ(1, m_pScreen->m_CurrentRing[0]);
    }
    {
        CTestAnswerer answerer;
        CScopedAnswerer scope(answerer);
        answerer.ReplyToDialog(CChangeRingDialog::IDD, 1);
        EXPECT_EQ(1, m_pScreen->CheckFlowMeasurable());
        EXPECT_EQ(2, m_pScreen->m_CurrentRing[0]);
        EXPECT_EQ(1, m_pScreen->m_nPreviousRing);
    }
}

}  // namespace
