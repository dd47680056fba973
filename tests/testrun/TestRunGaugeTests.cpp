// Whole automated tests against the serial gauge simulator's building and
// fan: the view's timer runs the steps from the first to the last target, a
// technician answers every prompt and installs the rings asked for, and the
// stored test must carry the simulated building's law. Then the faults and
// stops a technician meets, and a cruise held against the same building.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "comm/QarCommunications.h"
#include "framework/UiAnswerer.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/CruiseDialogs.h"
#include "testrun/PauseDialogs.h"
#include "testrun/RingDialogs.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"

namespace {

constexpr double kBuildingC = 100.0;
constexpr double kBuildingN = 0.65;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
constexpr int kFanOff = 40;   // what a serial link sends for a speed of 0
// A run of the simulated building takes 15 to 60 s; the fluctuation time-out
// (120 s) would end one that never settles well before this.
constexpr double kRunLimitMs = 180000.0;


// Dispatches what the tick left queued (paints above all).
void DrainMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring ItemText(CTestGraph1& s, int nID)
{
    wchar_t szText[64] = {};
    ::GetDlgItemTextW(s.GetSafeHwnd(), nID, szText, 64);
    return szText;
}

// The calibration line of a ring of fan '3' as the program has it.
std::string RingLine(CFanCalibrationDialog& cal, int nRing)
{
    cal.LoadFanRingCalibration(L'3', nRing);
    std::ostringstream line;
    line << "plant ring " << cal.m_dSelC << ' ' << cal.m_dSelN;
    return line.str();
}

// The string a composed message starts with, among those a run composes;
// 0 for none of them.
UINT ComposedId(const wchar_t* pszText)
{
    for (UINT nID : {IDS_COMMUNICATION_LOST, IDS_WRONG_SIGN_FAN, IDS_WRONG_SIGN_BUILDING}) {
        CString strStart;
        strStart.LoadString(nID);
        if (!strStart.IsEmpty() && pszText != nullptr &&
            std::wcsncmp(pszText, strStart.GetString(), strStart.GetLength()) == 0)
            return nID;
    }
    return 0;
}

// A technician: OK to every prompt, the ring asked for installed on the
// simulated fan, the ring type as it is, Yes/No questions as scripted. Every
// message and dialog is recorded in order, with the last fan command the
// gauge had when it appeared.
class CTechnician : public CUiAnswerer {
public:
    CTechnician(CGaugeSimulator& sim, CSimbrel1View& view) : m_sim(sim), m_view(view) {}

    bool AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult) override
    {
        // A run that keeps asking (a page refused again and again) is a
        // fault: it is cancelled rather than left to ask for ever.
        if (shown.size() >= kMostShown) {
            ADD_FAILURE() << "more than " << kMostShown << " prompts; the last was " << nIDTemplate;
            *pResult = IDCANCEL;
            return true;
        }
        const std::vector<int> log = m_sim.TakeFanLog();
        if (!log.empty())
            m_nLastFan = log.back();
        fanAtShown.push_back(m_nLastFan);
        if (const auto* pSource = dynamic_cast<const CUiMessageSource*>(pDialog)) {
            const CUiMessage message = pSource->GetUiMessage();
            shown.push_back(message.nIDText != 0 ? message.nIDText : ComposedId(message.pszText));
            INT_PTR nResult = message.nKind == 4 ? kAnswerNo : IDOK;
            auto it = answers.find(message.nIDText);
            if (it != answers.end() && !it->second.empty()) {
                nResult = it->second.front();
                it->second.erase(it->second.begin());
            }
            // The inlet covered: no flow through the fan from the next reading on.
            if (message.nIDText == IDS_COVER_FAN_INLET_END || message.nIDText == IDS_COVER_FAN_INLET_START)
                m_sim.Control("plant lag 1");
            if (onShown)
                onShown(message.nIDText);
            *pResult = nResult;
            if (message.nIDText == IDS_REMOVE_INLET_COVER)
                m_sim.Control("plant lag 0.5");
            return true;
        }
        shown.push_back(nIDTemplate);
        if (onShown)
            onShown(nIDTemplate);
        switch (nIDTemplate) {
        case CChangeRingDialog::IDD: {
            CTestGraph1& s = *m_view.m_pTestGraph;
            const int d = g_nCurrentDirection == 0 ? 0 : 1;
            int nRing = s.m_nRequestedRing;
            if (nRing < 0)
                nRing = s.m_nOperatorRingRequest;
            if (nRing < 0)
                nRing = s.m_CurrentRing[d] + 1;
            rings.push_back(nRing);
            m_sim.Control(RingLine(*m_view.m_pFanCalibration, nRing));
            s.UpdateRingCalibration(d);
            *pResult = 1;
            return true;
        }
        case CTestPauseDialog::IDD:
            *pResult = pauseResult;
            return true;
        // The environment pages: the technician types what was measured.
        case CTemperatureEntryDialog::IDD: {
            auto& page = static_cast<CTemperatureEntryDialog&>(*pDialog);
            page.m_strIndoorTemp = indoor;
            page.m_strOutdoorTemp = outdoor;
            *pResult = IDOK;
            return true;
        }
        case CTemperatureAndBarometricPressure::IDD: {
            auto& page = static_cast<CTemperatureAndBarometricPressure&>(*pDialog);
            page.m_strIndoorTemp = indoor;
            page.m_strOutdoorTemp = outdoor;
            page.m_strBaroPressure = baro;
            *pResult = IDOK;
            return true;
        }
        case CTemperatureAndAltitudeEntry::IDD: {
            auto& page = static_cast<CTemperatureAndAltitudeEntry&>(*pDialog);
            page.m_strPretestIndoorTemp = indoor;
            page.m_strPretestOutdoorTemp = outdoor;
            page.m_strAltitude = altitude;
            if (page.m_nStage != CTemperatureAndAltitudeEntry::kPretest) {
                page.m_strPosttestIndoorTemp = indoor;
                page.m_strPosttestOutdoorTemp = outdoor;
            }
            *pResult = IDOK;
            return true;
        }
        case CCruiseDialog::IDD: {
            auto& cruise = static_cast<CCruiseDialog&>(*pDialog);
            cruise.m_nBaseline = cruiseBaseline;
            cruise.m_dCruisePressure = cruisePressure;
            cruise.m_strCruisePressure.Format(L"%g", cruisePressure);
            *pResult = IDOK;
            return true;
        }
        default:
            *pResult = IDOK;
            return true;
        }
    }
    INT_PTR AnswerFileDialog(const CUiFileDialog&, CString&) override { return IDCANCEL; }
    int AnswerMessageBox(const wchar_t*, UINT) override { return IDOK; }

    static constexpr size_t kMostShown = 200;
    std::vector<UINT> shown;
    std::vector<int> fanAtShown;
    std::vector<int> rings;
    std::map<UINT, std::vector<INT_PTR>> answers;
    INT_PTR pauseResult = CTestPauseDialog::kResultProceed;
    int cruiseBaseline = 0;
    double cruisePressure = 0.0;
    CString indoor = L"20";
    CString outdoor = L"20";
    CString baro = L"101325";
    CString altitude = L"0";
    std::function<void(UINT)> onShown;

private:
    CGaugeSimulator& m_sim;
    CSimbrel1View& m_view;
    int m_nLastFan = -1;
};

// The real clock run faster, from the moment it is made.
class CFastClock : public CClock {
public:
    explicit CFastClock(int nFactor) : m_nFactor(nFactor), m_nStartMs(m_real.GetMilliseconds()) {}
    std::int64_t GetMilliseconds() override
    {
        return m_nStartMs + (m_real.GetMilliseconds() - m_nStartMs) * m_nFactor;
    }

private:
    CRunTimeClock m_real;
    std::int64_t m_nFactor;
    std::int64_t m_nStartMs;
};

// Installs an answerer for one scope.
class CInstalledAnswerer {
public:
    explicit CInstalledAnswerer(CUiAnswerer& answerer) : m_pOld(AfxSetUiAnswerer(&answerer)) {}
    ~CInstalledAnswerer() { AfxSetUiAnswerer(m_pOld); }
    CInstalledAnswerer(const CInstalledAnswerer&) = delete;
    CInstalledAnswerer& operator=(const CInstalledAnswerer&) = delete;

private:
    CUiAnswerer* m_pOld;
};

class TestRunGauge : public testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(SerialPortsReady());
        m_nSavedDirection = g_nCurrentDirection;
        m_bSavedLive = g_bLiveReadings;
        g_nCurrentDirection = 0;
        g_bLiveReadings = 1;
        CSimbrel1View& view = View();
        view.m_bAutoSelect = 0;
        CTestSettingsDialog& settings = *view.m_pSettings;
        for (int d = 0; d < 2; ++d)
            settings.m_chMethodLetter[d] = L'A';
        settings.m_nMethodIndex = 1;
        settings.m_nStandard = 0;
        settings.m_chStandardLetter = L'C';
        settings.m_dHighPressureLimit = 150.0;
        settings.m_dFanStartPercent = 10.0;
        settings.m_dFanAdjust = 1.0;
        settings.m_dTargetTolerance = 2.0;
        settings.m_dDataSamples = 5.0;
        view.m_pEquipment->m_chFanCode = L'3';
        view.m_pTemperature->m_strIndoorTemp = L"20";
        view.m_pTemperature->m_strOutdoorTemp = L"20";
        m_pStore = view.m_pTestGraph;
        m_pStore->m_CurrentRing[0] = 1;
        m_pStore->m_CurrentRing[1] = 1;
    }
    void TearDown() override
    {
        m_pStore->m_DevicesInUse = 0;
        DisconnectLink(View());
        g_nCurrentDirection = m_nSavedDirection;
        g_bLiveReadings = m_bSavedLive;
    }
    CSimbrel1View& View() const { return *m_view.Get(); }
    void CloseLink()
    {
        // A gauge job that outlived its wait (an auto-zero that never
        // completed) still reads the port: the next connection waits for it.
        EXPECT_TRUE(m_pStore->m_WorkerGroup.WaitForStragglers(30000));
        DisconnectLink(View());
        m_gauge.Stop();
    }

    void ConnectPlant(const std::string& direction, int nRing = 1, double dNoise = 0.2)
    {
        std::ostringstream plant;
        plant << "plant on cb " << kBuildingC << " nb " << kBuildingN << " baseline 0 noise " << dNoise
              << " seed 11 flow 0.3 lag 0.5 dir " << direction;
        ASSERT_TRUE(m_gauge.Start(kGaugePort, {plant.str(), RingLine(*View().m_pFanCalibration, nRing)}));
        ASSERT_NO_FATAL_FAILURE(ConnectPrimaryGauge(View(), *m_pStore));
        m_gauge.TakeFanLog();
    }

    // One completed test already in slot 0: markers around two points.
    void AddEarlierTest()
    {
        CTestGraph1& s = *m_pStore;
        const double pavg[4] = {0.5, 50.0, 25.0, 0.7};
        const int rings[4] = {-1, 1, 1, -1};
        for (int k = 0; k < 4; ++k) {
            s.m_Pavg[0][k] = pavg[k];
            s.m_Ring[0][k] = rings[k];
            s.m_Qavg[0][k] = k == 1 ? 1500.0 : (k == 2 ? 1000.0 : 0.0);
            s.m_TargetP[0][k] = rings[k] == -1 ? 0.0 : pavg[k];
        }
        s.m_StationCount[0] = 4;
        s.m_CompletedTests[0] = 1;
        s.m_FlowFactor[0][0] = 1.0;
        m_strEarlier = EarlierText();
    }
    // The earlier test as the file would hold it.
    std::wstring EarlierText()
    {
        CTestGraph1& s = *m_pStore;
        const int nCount = s.m_StationCount[0], nCompleted = s.m_CompletedTests[0];
        s.m_StationCount[0] = 4;
        s.m_CompletedTests[0] = 1;
        const std::wstring text = s.WriteTestData(0, L"P_").GetString();
        s.m_StationCount[0] = nCount;
        s.m_CompletedTests[0] = nCompleted;
        return text;
    }

    // Ticks the view's timer until the run ends; false when it did not end
    // within the time. onTick runs after each tick.
    bool RunToTheEnd(double dLimitMs, const std::function<void()>& onTick = nullptr)
    {
        CStopwatch watch;
        while (m_pStore->m_bTestRunning && watch.ElapsedMs() < dLimitMs) {
            View().OnTimer(1);
            if (onTick)
                onTick();
        }
        return m_pStore->m_bTestRunning == 0;
    }

    // Where a run stands, for a run that did not end.
    std::string RunState() const
    {
        const CTestGraph1& s = *m_pStore;
        const int d = g_nCurrentDirection == 0 ? 0 : 1;
        char szState[256];
        std::snprintf(szState, sizeof szState,
                      "point %d, settled %d, samples %d, controller state %d, ring %d, building %.2f Pa, fan %.2f Pa, "
                      "speed %.0f, stop pending %d, gauges %d, entries %d",
                      s.m_nPointIndex, s.m_bSettled, s.m_nSampleCount, s.m_nControllerState, s.m_CurrentRing[d],
                      s.m_dBuilding, s.m_dFan, s.m_FanSpeed, s.m_bStopPending, s.m_DevicesInUse, s.m_StationCount[d]);
        return szState;
    }

    int TargetCount(int d) const
    {
        int n = 0;
        while (n < CTestGraph1::kMaxTargets && m_pStore->m_Targets[d][n] != 0.0)
            ++n;
        return n;
    }

    CTestView m_view{L"test-run-gauge"};
    CTestGraph1* m_pStore = nullptr;
    CGaugeSimulator m_gauge;
    std::wstring m_strEarlier;
    int m_nSavedDirection = 0;
    int m_bSavedLive = 0;
};

// The prompts of a run without the ring dialogs and the 4-second notes.
std::vector<UINT> Prompts(const std::vector<UINT>& shown)
{
    std::vector<UINT> prompts;
    for (UINT id : shown) {
        if (id != CChangeRingDialog::IDD && id != IDS_CANNOT_REACH_TARGET_RING && id != IDS_CANNOT_REACH_TARGET_OPEN)
            prompts.push_back(id);
    }
    return prompts;
}

// Whole runs, one per standard, in both directions and one with a ring
// change. The program's clock runs five times faster than real time, so the
// European 30-second baselines and the ASTM stations of more than 10 s cost
// seconds, on the production code path.
TEST_F(TestRunGauge, AutomatedRunsFromTheFirstToTheLastTarget)
{
    constexpr UINT kTempPage = CTemperatureEntryDialog::IDD;
    constexpr UINT kBaroPage = CTemperatureAndBarometricPressure::IDD;
    constexpr UINT kAltitudePage = CTemperatureAndAltitudeEntry::IDD;
    constexpr UINT kRingType = CRingTypeDialog::IDD;
    struct Case {
        const char* name;
        int nStandard;
        wchar_t chLetter;
        int d;
        const char* direction;
        int nStartRing;
        int nTargets;
        std::vector<UINT> prompts;   // without the ring dialogs and the 4-second notes
    } cases[] = {
        {"CGSB pressurization on ring A", 0, L'C', 0, "P", 1, 8,
         {kTempPage, IDS_COVER_FAN_INLET_START, IDS_REMOVE_INLET_COVER, kRingType, IDS_COVER_FAN_INLET_END}},
        {"CGSB depressurization on ring A", 0, L'C', 1, "D", 1, 8,
         {kTempPage, IDS_COVER_FAN_INLET_START, IDS_REMOVE_INLET_COVER, kRingType, IDS_COVER_FAN_INLET_END}},
        // The open fan cannot measure the flows of this building: the run
        // asks for a ring on the way.
        {"CGSB pressurization from the open fan", 0, L'C', 0, "P", 0, 8,
         {kTempPage, IDS_COVER_FAN_INLET_START, IDS_REMOVE_INLET_COVER, kRingType, IDS_COVER_FAN_INLET_END}},
        // The European baselines show their p(+) and p(-) before and after.
        {"EN 13829 depressurization", 1, L'E', 1, "D", 1, 10,
         {kBaroPage, IDS_COVER_FAN_INLET_START, IDS_BASELINE_RESULT, IDS_REMOVE_INLET_COVER, kRingType,
          IDS_COVER_FAN_INLET_END, IDS_BASELINE_RESULT}},
        {"ISO 9972 pressurization", 3, L'I', 0, "P", 1, 10,
         {kBaroPage, IDS_COVER_FAN_INLET_START, IDS_BASELINE_RESULT, IDS_REMOVE_INLET_COVER, kRingType,
          IDS_COVER_FAN_INLET_END, IDS_BASELINE_RESULT}},
        // ASTM E779 asks for the post-test temperatures after the closing
        // baseline.
        {"ASTM E779 pressurization", 2, L'A', 0, "P", 1, 10,
         {kAltitudePage, IDS_COVER_FAN_INLET_START, IDS_REMOVE_INLET_COVER, kRingType, IDS_COVER_FAN_INLET_END,
          kAltitudePage}},
    };
    CFastClock clock(5);
    CScopedProgramClock scopedClock(clock);
    CTestSettingsDialog& settings = *View().m_pSettings;
    View().m_pBuildingInfo->m_strHeight = L"5";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseLink();
        g_nCurrentDirection = c.d;
        settings.m_nStandard = c.nStandard;
        settings.m_chStandardLetter = c.chLetter;
        m_pStore->ClearAllTestData();
        m_pStore->m_CurrentRing[c.d] = c.nStartRing;
        ConnectPlant(c.direction, c.nStartRing);
        CTestGraph1& s = *m_pStore;
        CTechnician technician(m_gauge, View());
        CInstalledAnswerer scoped(technician);

        // The first run on the shown screen, photographed at its third station.
        const bool bShown = &c == &cases[0];
        bool bPhotographed = false;
        if (bShown) {
            ASSERT_NE(0, s.ShowTestGraph());
        }
        ASSERT_EQ(1, s.StartTest());
        ASSERT_EQ(1, s.m_bTestRunning);
        const bool bEnded = RunToTheEnd(kRunLimitMs, [&]() {
            if (bShown && !bPhotographed && s.m_nPointIndex == 2 && s.m_bSamplingDisplay && s.m_nSampleCount >= 3) {
                bPhotographed = true;
                SaveScreenshot(s.GetSafeHwnd(), L"test-screen-third-station.png");
            }
        });
        if (bShown) {
            EXPECT_TRUE(bPhotographed);
            s.DestroyWindow();
        }
        ASSERT_TRUE(bEnded) << "still running: " << RunState();

        EXPECT_EQ(c.prompts, Prompts(technician.shown));
        if (c.nStartRing == 0) {
            ASSERT_FALSE(technician.rings.empty()) << "no ring change";
            EXPECT_EQ(technician.rings.back(), s.m_CurrentRing[c.d]);
        }

        // One point per target between two markers; one completed test.
        const int d = c.d;
        EXPECT_EQ(1, s.m_CompletedTests[d]);
        const int nTargets = TargetCount(d);
        ASSERT_EQ(c.nTargets, nTargets);
        ASSERT_EQ(nTargets + 2, s.m_StationCount[d]);
        EXPECT_EQ(-1, s.m_Ring[d][0]);
        EXPECT_EQ(-1, s.m_Ring[d][nTargets + 1]);
        const double dSign = d == 0 ? 1.0 : -1.0;
        for (int k = 1; k <= nTargets; ++k) {
            EXPECT_NE(-1, s.m_Ring[d][k]) << k;
            EXPECT_DOUBLE_EQ(s.m_Targets[d][k - 1], s.m_TargetP[d][k]) << k;
            EXPECT_NEAR(s.m_Targets[d][k - 1], dSign * (s.m_Pavg[d][k] - s.m_Pavg[d][0]), 3.0) << k;
        }
        // Baselines of a building at 0 Pa with 0.2 Pa of noise; the
        // European ones keep the means of each side.
        EXPECT_NEAR(0.0, s.m_Pavg[d][0], 0.3);
        EXPECT_NEAR(0.0, s.m_Pavg[d][nTargets + 1], 0.3);
        if (c.nStandard == 1 || c.nStandard == 3) {
            EXPECT_GT(s.m_TestBaselinePlusPre[d][0], 0.0);
            EXPECT_LT(s.m_TestBaselineMinusPre[d][0], 0.0);
            EXPECT_GT(s.m_TestBaselinePlusPost[d][0], 0.0);
            EXPECT_LT(s.m_TestBaselineMinusPost[d][0], 0.0);
        }

        // The flow factor of the entered environment, by the standard's
        // rule. The density rules take the exponent of the fit before the
        // last one, which the last fit moves by less than 0.03: that shifts
        // the factor by under 1e-3, the standards' rules differ by 1e-2.
        CQarMathFunctions math;
        const double n = s.m_FitN[d];
        const int nUnit = View().m_nTemperatureUnit;
        const double dIn = CSimbrel1View::TextToDouble(technician.indoor);
        const double dOut = CSimbrel1View::TextToDouble(technician.outdoor);
        double dFactor = 1.0, dEnvelope = 0.0;
        if (c.nStandard == 0)
            dFactor = math.TemperatureFlowFactor(nUnit, dIn, dOut, d);
        else if (c.nStandard == 2)
            dFactor = math.DensityViscosityFlowFactor(n, nUnit, View().m_nBuildingUnit, dIn, dOut,
                                                      CSimbrel1View::TextToDouble(technician.altitude), d, dEnvelope);
        else
            dFactor = math.DensityFlowFactor(n, nUnit, dIn, dOut, CSimbrel1View::TextToDouble(technician.baro), d);
        EXPECT_NEAR(dFactor, s.m_FlowFactor[d][0], 1e-3);
        // The fit carries the simulated law. With 0.2 Pa of noise on
        // pressures of 10 to 65 Pa averaged over 5 samples, n stays within
        // 0.03 and C within 10 %.
        EXPECT_NEAR(kBuildingN, s.m_FitN[d], 0.03);
        EXPECT_NEAR(kBuildingC, s.m_FitC[d] / s.m_FlowFactor[d][0], 0.10 * kBuildingC);

        // The fan is left stopped.
        const std::vector<int> log = m_gauge.TakeFanLog();
        if (!log.empty()) {
            EXPECT_EQ(kFanOff, log.back());
        } else {
            ASSERT_FALSE(technician.fanAtShown.empty());
            EXPECT_EQ(kFanOff, technician.fanAtShown.back());
        }
    }
}

// Faults and stops during a run after an earlier test: messages, the fan's
// last command, the entries, and the earlier test as it was.
TEST_F(TestRunGauge, FaultsAndStopsTable)
{
    // When the act comes: at the first or second station once sampling
    // began, right after the first point (before the next station's first
    // sample), when the closing prompt shows, or before the start.
    enum Trigger { kAtSecondStation, kAtFirstStation, kAfterFirstPoint, kAtClosingPrompt, kBeforeStart };
    struct Case {
        const char* name;
        Trigger trigger;
        std::function<void(TestRunGauge&)> act;
        std::map<UINT, std::vector<INT_PTR>> answers;
        INT_PTR pauseResult;
        std::vector<UINT> questions;   // shown after the run started, in order
        int nCompleted;                // tests in the slot afterwards
        int nPoints;                   // points of the new test when kept (-1 every target)
        bool bFanAnswers;              // the link still answers at the end
        std::function<void(TestRunGauge&)> then = nullptr;   // on every tick after the act
    };
    auto stop = [](TestRunGauge& t) { t.m_pStore->OnStartTest(); };
    auto pause = [](TestRunGauge& t) { t.m_pStore->m_bPauseRequest = 1; };
    auto lose = [](TestRunGauge& t) { t.m_gauge.Control("plant fault silent"); };
    auto fault = [](const char* kind) {
        return [kind](TestRunGauge& t) { t.m_gauge.Control(std::string("plant fault ") + kind); };
    };
    // The Sample button once the fan pressure reads below 0.2 Pa.
    auto sampleWhenNoFanPressure = [](TestRunGauge& t) {
        if (t.m_pStore->m_dFan < 0.2)
            t.m_pStore->m_bSampleRequest = 1;
    };
    // A building so leaky that the fan never raises its pressure.
    auto leaky = [](TestRunGauge& t) { t.m_gauge.Control("plant cb 1000000"); };
    const Case cases[] = {
        {"gauge lost at a station", kAtSecondStation, lose, {}, 0, {}, 1, 0, false},
        {"building channel over range", kAtSecondStation, fault("overrange"), {}, 0, {}, 1, 0, true},
        {"auto-zero failing at the first sample", kAfterFirstPoint, fault("zerofail"), {}, 0, {}, 1, 0, true},
        {"no fan pressure at a sample request (4026)", kAtSecondStation, fault("wrongsign"), {}, 0,
         {IDS_NO_FAN_PRESSURE}, 1, 0, true, sampleWhenNoFanPressure},
        {"no building pressure (4041)", kBeforeStart, leaky, {}, 0, {IDS_NO_BUILDING_PRESSURE}, 1, 0, true},
        {"stop in the first station", kAtFirstStation, stop, {{IDS_END_TESTING_QUESTION, {kAnswerYes}}}, 0,
         {IDS_END_TESTING_QUESTION}, 1, 0, true},
        {"stop, then No: the test goes on", kAtSecondStation, stop, {{IDS_END_TESTING_QUESTION, {kAnswerNo}}}, 0,
         {IDS_END_TESTING_QUESTION, IDS_COVER_FAN_INLET_END}, 2, -1, true},
        {"stop after points, kept", kAtSecondStation, stop,
         {{IDS_END_TESTING_QUESTION, {kAnswerYes}}, {IDS_RETAIN_TEST_DATA, {kAnswerYes}}}, 0,
         {IDS_END_TESTING_QUESTION, IDS_RETAIN_TEST_DATA, IDS_COVER_FAN_INLET_END}, 2, 1, true},
        {"stop after points, dropped", kAtSecondStation, stop,
         {{IDS_END_TESTING_QUESTION, {kAnswerYes}}, {IDS_RETAIN_TEST_DATA, {kAnswerNo}}}, 0,
         {IDS_END_TESTING_QUESTION, IDS_RETAIN_TEST_DATA}, 1, 0, true},
        {"pause, then Proceed", kAtSecondStation, pause, {}, CTestPauseDialog::kResultProceed,
         {CTestPauseDialog::IDD, IDS_COVER_FAN_INLET_END}, 2, -1, true},
        {"pause, then Stop Test", kAtSecondStation, pause,
         {{IDS_END_TESTING_QUESTION, {kAnswerYes}}, {IDS_RETAIN_TEST_DATA, {kAnswerNo}}},
         CTestPauseDialog::kResultStop, {CTestPauseDialog::IDD, IDS_END_TESTING_QUESTION, IDS_RETAIN_TEST_DATA}, 1,
         0, true},
        // The closing baseline cannot be measured: the test is dropped, never
        // left open, and the program says the gauge is lost.
        {"gauge lost in the closing baseline", kAtClosingPrompt, lose, {}, 0,
         {IDS_COVER_FAN_INLET_END, IDS_COMMUNICATION_LOST}, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseLink();
        g_nCurrentDirection = 0;
        m_pStore->ClearAllTestData();
        m_pStore->m_CurrentRing[0] = 1;
        ConnectPlant("P");
        AddEarlierTest();
        CTestGraph1& s = *m_pStore;
        CTechnician technician(m_gauge, View());
        technician.answers = c.answers;
        technician.pauseResult = c.pauseResult;
        bool bDone = false;
        if (c.trigger == kAtClosingPrompt) {
            technician.onShown = [&](UINT id) {
                if (id == IDS_COVER_FAN_INLET_END && !bDone) {
                    bDone = true;
                    c.act(*this);
                }
            };
        } else if (c.trigger == kBeforeStart) {
            bDone = true;
            c.act(*this);
        }
        CInstalledAnswerer scoped(technician);

        ASSERT_EQ(1, s.StartTest());
        const size_t nStartPrompts = technician.shown.size();
        const int nStation = c.trigger == kAtFirstStation ? 0 : 1;
        const bool bInTime = RunToTheEnd(kRunLimitMs, [&]() {
            if (bDone) {
                if (c.then)
                    c.then(*this);
                return;
            }
            const bool bSampling = s.m_nPointIndex == nStation && s.m_bSettled && s.m_nSampleCount >= 1;
            if ((c.trigger == kAtFirstStation || c.trigger == kAtSecondStation) && bSampling) {
                bDone = true;
                c.act(*this);
            } else if (c.trigger == kAfterFirstPoint && s.m_nPointIndex == 1 && !s.m_bSettled) {
                bDone = true;
                c.act(*this);
            }
        });
        ASSERT_TRUE(bInTime) << "still running: " << RunState();
        EXPECT_TRUE(bDone);

        std::vector<UINT> after(technician.shown.begin() + static_cast<std::ptrdiff_t>(nStartPrompts),
                                technician.shown.end());
        EXPECT_EQ(c.questions, Prompts(after));
        // The fan was stopped before every question.
        for (size_t i = nStartPrompts; i < technician.shown.size(); ++i) {
            if (technician.shown[i] == IDS_END_TESTING_QUESTION || technician.shown[i] == CTestPauseDialog::IDD) {
                EXPECT_EQ(kFanOff, technician.fanAtShown[i]) << "at " << technician.shown[i];
            }
        }
        if (c.bFanAnswers) {
            const std::vector<int> log = m_gauge.TakeFanLog();
            if (!log.empty()) {
                EXPECT_EQ(kFanOff, log.back());
            }
        }

        // Never an unclosed test: the entries are whole tests.
        EXPECT_EQ(0, s.m_bTestRunning);
        EXPECT_EQ(c.nCompleted, s.m_CompletedTests[0]);
        s.IndexTestGroups();
        int nEntries = 0;
        for (int t = 0; t < s.m_CompletedTests[0]; ++t)
            nEntries += s.m_TestRowCount[0][t];
        EXPECT_EQ(s.m_StationCount[0], nEntries);
        EXPECT_EQ(4, s.m_TestRowCount[0][0]);
        if (c.nCompleted == 2) {
            EXPECT_EQ((c.nPoints < 0 ? TargetCount(0) : c.nPoints) + 2, s.m_TestRowCount[0][1]);
        }
        EXPECT_EQ(m_strEarlier, EarlierText());
    }
}

// Cruises held against the simulated building: the pressure held in both
// directions with the gain never above 20, a ring chosen meanwhile, a stop
// answered No and then Yes, and the store untouched.
TEST_F(TestRunGauge, CruiseHoldsThePressureAndStopsTheFanAtEveryQuestion)
{
    struct Case {
        const char* name;
        int d;
        const char* direction;
        int nBaseline;   // 1 measures a baseline (mode 2)
    } cases[] = {
        {"pressurization without baseline", 0, "P", 0},
        {"depressurization with baseline", 1, "D", 1},
    };
    constexpr double kCruise = 30.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseLink();
        g_nCurrentDirection = c.d;
        m_pStore->ClearAllTestData();
        m_pStore->m_CurrentRing[c.d] = 1;
        ConnectPlant(c.direction);
        AddEarlierTest();
        CTestGraph1& s = *m_pStore;
        const std::wstring before[2] = {s.WriteTestData(0, L"P_").GetString(), s.WriteTestData(1, L"D_").GetString()};
        CTechnician technician(m_gauge, View());
        technician.cruiseBaseline = c.nBaseline;
        technician.cruisePressure = kCruise;
        technician.answers[IDS_END_CRUISING_QUESTION] = {kAnswerNo, kAnswerYes};
        CInstalledAnswerer scoped(technician);

        const bool bShown = &c == &cases[0];
        if (bShown) {
            ASSERT_NE(0, s.ShowTestGraph());
        }
        s.OnCruise();
        ASSERT_EQ(1, s.m_bTestRunning);
        EXPECT_EQ(c.nBaseline == 1 ? 2 : 1, s.m_CruiseMode);
        const std::vector<UINT> starts =
            c.nBaseline == 1
                ? std::vector<UINT>{CCruiseDialog::IDD, IDS_COVER_FAN_INLET_START, IDS_REMOVE_INLET_COVER,
                                    CRingTypeDialog::IDD}
                : std::vector<UINT>{CCruiseDialog::IDD, CRingTypeDialog::IDD};
        EXPECT_EQ(starts, technician.shown);
        const double dSign = c.d == 0 ? 1.0 : -1.0;

        // Held: the mean of the last 50 of 200 steps within 2 Pa of the cruise
        // pressure (a step takes about 0.1 s against the simulator).
        auto hold = [&](int nTicks) {
            double dMaxGain = 0.0, dSum = 0.0;
            int n = 0;
            for (int i = 0; i < nTicks && s.m_bTestRunning; ++i) {
                View().OnTimer(1);
                dMaxGain = std::max(dMaxGain, s.m_dGain);
                if (i >= nTicks - 50) {
                    dSum += s.m_dBuilding - s.m_dBaseline;
                    ++n;
                }
            }
            EXPECT_LE(dMaxGain, 20.0);
            ASSERT_GT(n, 0);
            EXPECT_NEAR(dSign * kCruise, dSum / n, 2.0);
        };
        hold(200);
        EXPECT_EQ(c.d == 0 ? 4 : 0, s.m_StationCount[c.d]) << "a cruise stores no entry";
        if (bShown) {
            EXPECT_EQ(L"Stop Cruise", ItemText(s, IDC_TG_CRUISE));
            for (int nID : {IDC_TG_START, IDC_TG_NEXT, IDC_TG_TO_RESULTS_LABEL, IDC_TG_PREVIOUS, IDC_TG_CLEAR})
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(s.GetSafeHwnd(), nID))) << nID;
            SaveScreenshot(s.GetSafeHwnd(), L"test-screen-cruise.png");
        }

        // A ring chosen during the cruise: the fan stops for the prompt and
        // starts again at the start percentage.
        // Shown, the choice is the list's own (the close-up reads it back).
        if (bShown)
            ::SendDlgItemMessageW(s.GetSafeHwnd(), IDC_TG_RING_LIST, CB_SETCURSEL, 2, 0);
        else
            s.m_nRingIndex = 2;
        s.OnRingCloseUp();
        for (int i = 0; i < 50 && technician.rings.empty(); ++i)
            View().OnTimer(1);
        ASSERT_FALSE(technician.rings.empty());
        EXPECT_EQ(2, technician.rings.back());
        EXPECT_EQ(kFanOff, technician.fanAtShown.back());
        EXPECT_EQ(2, s.m_CurrentRing[c.d]);
        hold(200);

        // Stop: No goes on at the speed before the stop, Yes ends.
        const double dSpeed = s.m_FanSpeed;
        const size_t nShown = technician.shown.size();
        s.OnCruise();
        for (int i = 0; i < 50 && technician.shown.size() == nShown; ++i)
            View().OnTimer(1);
        EXPECT_EQ(IDS_END_CRUISING_QUESTION, technician.shown.back());
        EXPECT_EQ(kFanOff, technician.fanAtShown.back());
        EXPECT_EQ(1, s.m_bTestRunning);
        EXPECT_NEAR(dSpeed, s.m_FanSpeed, 1e-9);
        // The fan runs again after No: the gauge is sent a speed, not the stop.
        View().OnTimer(1);
        const std::vector<int> resumed = m_gauge.TakeFanLog();
        ASSERT_FALSE(resumed.empty());
        EXPECT_NE(kFanOff, resumed.front());
        s.OnCruise();
        ASSERT_TRUE(RunToTheEnd(20000));
        EXPECT_EQ(IDS_END_CRUISING_QUESTION, technician.shown.back());
        EXPECT_EQ(0, s.m_CruiseMode);
        for (UINT id : technician.shown)
            EXPECT_NE(IDS_RETAIN_TEST_DATA, id);
        // Every prompt after the conditions found the fan stopped.
        ASSERT_EQ(technician.shown.size(), technician.fanAtShown.size());
        for (size_t i = 1; i < technician.fanAtShown.size(); ++i)
            EXPECT_EQ(kFanOff, technician.fanAtShown[i]) << "prompt " << technician.shown[i];
        const std::vector<int> log = m_gauge.TakeFanLog();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(kFanOff, log.back());
        if (bShown)
            s.DestroyWindow();
        EXPECT_EQ(before[0], std::wstring(s.WriteTestData(0, L"P_").GetString()));
        EXPECT_EQ(before[1], std::wstring(s.WriteTestData(1, L"D_").GetString()));
    }
}

// Prints the cost of the view's 10 ms tick while the screen is shown and
// nothing runs, the wait for the worker threads left out, as a share of the
// period. It fails on no figure: the machine's load decides them.
TEST_F(TestRunGauge, BenchmarkIdleTickThroughTheViewTimer)
{
    ConnectPlant("P");
    CTestGraph1& s = *m_pStore;
    ASSERT_NE(0, s.ShowTestGraph());
    ::RedrawWindow(s.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    View().m_nTickCount = 0;
    constexpr int kCalls = 1500;
    std::vector<double> readingTicks, displayTicks, otherTicks;
    CStopwatch cadence;
    for (int k = 0; k < kCalls; ++k) {
        while (cadence.ElapsedMs() < 10.0 * k) {
        }
        const long long nWatch = s.m_nDisplayWatchMs;
        s.m_dLastReadWaitMs = -1.0;
        CStopwatch watch;
        View().OnTimer(1);
        double dMs = watch.ElapsedMs();
        if (s.m_dLastReadWaitMs >= 0.0) {
            dMs -= s.m_dLastReadWaitMs;
            (s.m_nDisplayWatchMs != nWatch ? displayTicks : readingTicks).push_back(dMs);
        } else {
            otherTicks.push_back(dMs);
        }
        DrainMessages();
    }
    s.DestroyWindow();
    ASSERT_FALSE(readingTicks.empty());
    auto share = [](std::vector<double>& v, size_t nPercent) {
        if (v.empty())
            return 0.0;
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1, v.size() * nPercent / 100)] / 10.0;
    };
    const size_t nReading = readingTicks.size(), nDisplay = displayTicks.size(), nOther = otherTicks.size();
    const double dMedian = share(readingTicks, 50), d99 = share(readingTicks, 99);
    const double dDisplay = share(displayTicks, 50), dOther = share(otherTicks, 50);
    std::printf("[ BENCH    ] OnTimer idle over %d ticks at 10 ms, share of the period (worker wait left out): "
                "reading ticks (%zu) median %.3f, 99th percentile %.3f; display ticks (%zu) median %.3f; "
                "ticks without a reading (%zu) median %.3f; goal below 0.1\n",
                kCalls, nReading, dMedian, d99, nDisplay, dDisplay, nOther, dOther);
}

// The screen in each method: every control the method shows is shown, no two
// shown controls overlap, and a screenshot of each for a person to look at.
TEST_F(TestRunGauge, ScreenInEachMethodShowsItsControlsWithoutOverlap)
{
    CTestGraph1& s = *m_pStore;
    s.m_DevicesInUse = 1;
    for (wchar_t chMethod : {L'A', L'S', L'M'}) {
        SCOPED_TRACE(static_cast<char>(chMethod));
        View().m_pSettings->m_chMethodLetter[0] = chMethod;
        ASSERT_NE(0, s.ShowTestGraph());
        s.UpdateControlTexts();
        const HWND hWnd = s.GetSafeHwnd();
        const CTestGraph1::CControlPlan plan = s.PlanControls(s.GatherControlInput());
        std::vector<std::pair<int, CRect>> shown;
        for (int i = 0; i < plan.nCount; ++i) {
            const HWND hItem = ::GetDlgItem(hWnd, plan.control[i].nID);
            ASSERT_NE(nullptr, hItem) << "control " << plan.control[i].nID << " is missing";
            EXPECT_EQ(plan.control[i].bShown != 0, ::IsWindowVisible(hItem) != FALSE) << plan.control[i].nID;
            if (::IsWindowVisible(hItem)) {
                CRect rc;
                ::GetWindowRect(hItem, &rc);
                shown.emplace_back(plan.control[i].nID, rc);
            }
        }
        for (size_t i = 0; i < shown.size(); ++i) {
            for (size_t j = i + 1; j < shown.size(); ++j) {
                CRect rcBoth;
                EXPECT_FALSE(rcBoth.IntersectRect(&shown[i].second, &shown[j].second))
                    << shown[i].first << " overlaps " << shown[j].first;
            }
        }
        // Zones are off: no zone readout stands over the graph.
        for (int nID = IDC_TG_ZONE_READOUT_FIRST; nID < IDC_TG_ZONE_READOUT_FIRST + CTestGraph1::kZoneChannels; ++nID)
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hWnd, nID))) << nID;
        // Every caption fits its control.
        const HDC hdc = ::GetDC(hWnd);
        const HGDIOBJ hOldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)));
        for (const auto& [nID, rc] : shown) {
            const std::wstring text = ItemText(s, nID);
            wchar_t szClass[32] = {};
            ::GetClassNameW(::GetDlgItem(hWnd, nID), szClass, 32);
            if (text.empty() || std::wstring(szClass) == L"ComboBox")
                continue;
            SIZE size{};
            ::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
            EXPECT_LE(size.cx, rc.Width() - 4) << nID << " \"" << std::string(text.begin(), text.end()) << "\"";
        }
        ::SelectObject(hdc, hOldFont);
        ::ReleaseDC(hWnd, hdc);
        const std::wstring name = std::wstring(L"test-screen-method-") + chMethod + L".png";
        SaveScreenshot(hWnd, name.c_str());
        s.DestroyWindow();
    }
    s.m_DevicesInUse = 0;
    View().m_pSettings->m_chMethodLetter[0] = L'A';

    // During a test started by its button: "Stop Test", and nothing that
    // changes the run's data or page can be pressed; the stop puts it back.
    ConnectPlant("P");
    CTechnician technician(m_gauge, View());
    technician.answers[IDS_END_TESTING_QUESTION] = {kAnswerYes};
    CInstalledAnswerer scoped(technician);
    ASSERT_NE(0, s.ShowTestGraph());
    const HWND hWnd = s.GetSafeHwnd();
    s.OnStartTest();
    ASSERT_EQ(1, s.m_bTestRunning);
    for (int i = 0; i < 30 && s.m_bTestRunning; ++i)
        View().OnTimer(1);
    EXPECT_EQ(L"Stop Test", ItemText(s, IDC_TG_START));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hWnd, IDC_TG_START)));
    for (int nID : {IDC_TG_CRUISE, IDC_TG_CLEAR, IDC_TG_EDIT_ENVIRONMENT, IDC_TG_NEXT, IDC_TG_PREVIOUS,
                    IDC_TG_DIRECTION_LIST})
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hWnd, nID))) << nID;
    SaveScreenshot(hWnd, L"test-screen-test-running.png");
    s.OnStartTest();
    ASSERT_TRUE(RunToTheEnd(20000));
    EXPECT_EQ(L"Start Test", ItemText(s, IDC_TG_START));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hWnd, IDC_TG_PREVIOUS)));
    s.DestroyWindow();
}

}  // namespace
