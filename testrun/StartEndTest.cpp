// The start and end of a test: opening and closing baselines, the
// one-second averages of the European standards, the environment check,
// the lowest-target checks and the checks the Start button makes.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "comm/QarCommunications.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/PauseDialogs.h"
#include "testrun/RingDialogs.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kExclamationIcon = 175;
constexpr int kKindOk = 0;
constexpr int kKindYesNo = 4;
constexpr int kAnswerYes = 6;
constexpr int kNoHelp = 255;
constexpr UINT kPointerDown = 0x0246;
constexpr int kFirstZoneChannel = 3;
constexpr int kCgsb = 0;
constexpr int kEn13829 = 1;
constexpr int kAstmE779 = 2;
constexpr int kIso9972 = 3;

int Slot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

bool IsEnIso(int nStandard)
{
    return nStandard == kEn13829 || nStandard == kIso9972;
}

}  // namespace

// Plain decisions.

void CTestGraph1::CBaselineSides::Add(double v)
{
    if (v > 0.0) {
        dSumPlus += v;
        ++nPlus;
    } else if (v < 0.0) {
        dSumMinus += v;
        ++nMinus;
    }
}

double CTestGraph1::LowestTarget(const double* pTargets)
{
    double dLowest = 1000.0;
    for (int k = 0; k < kMaxTargets; ++k) {
        if (pTargets[k] < 0.1)
            break;
        dLowest = std::min(dLowest, pTargets[k]);
    }
    return dLowest;
}

int CTestGraph1::SuggestLowestTarget(int nStandard, double dPlus, double dMinus, double dZeroFlow, int bDepress,
                                     const double* pTargets)
{
    const double dLowest = LowestTarget(pTargets);
    if (nStandard == kEn13829) {
        const double m = std::max(std::fabs(dPlus), std::fabs(dMinus));
        if (dLowest < 5.0 * m)
            return static_cast<int>(5.0 * m + 1.5);
        return 0;
    }
    if (nStandard != kIso9972)
        return 0;
    CString strRounded;
    strRounded.Format(L"%0.1f", dZeroFlow);
    const double v = std::wcstod(strRounded.GetString(), nullptr);
    const double g = 5.0 * std::fabs(v);
    const bool bOff = g <= 10.0 ? (dLowest < 8.5 || dLowest > 11.5) : (dLowest < g - 1.5 || dLowest >= g + 1.5);
    if (!bOff)
        return 0;
    int r = 10;
    if (g > 10.0) {
        const double x = bDepress ? g + v : g - v;
        r = static_cast<int>(x);
        if (x - r > 0.5)
            ++r;
        r = std::max(r, 10);
    }
    if (dLowest < r - 1.5 || dLowest > r + 1.5)
        return r;
    return 0;
}

// Start of a test.

int CTestGraph1::StartTest()
{
    if (m_pView == nullptr)
        return 0;
    CSimbrel1View& view = *m_pView;
    CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : view.m_pSettings;
    if (pSettings == nullptr)
        return 0;
    const int d = Slot();
    // The store has room for 32 tests and 128 entries per direction: a test
    // that could not be stored and closed is not started.
    if (m_CruiseMode == 0 && !HasRoomForTest(d)) {
        view.ShowMessage(IDS_NO_ROOM_FOR_TEST, CString(), kExclamationIcon, kKindOk, kNoHelp);
        RestartFluctuationWatch();
        return 0;
    }
    // 1.
    m_bTestStarting = 1;
    m_bFaultStop = 0;
    m_bBaselineRunning = 0;
    m_bSampleRequest = 0;
    m_nPointIndex = 0;
    m_dBaseline = 0.0;
    m_nEntriesAtStart = m_StationCount[d];
    if (AreZonesShown()) {
        for (int c = kFirstZoneChannel; c <= GetHighestChannel() && c < kFirstZoneChannel + kZoneChannels; ++c)
            m_ZoneReading[1][c - kFirstZoneChannel] = 0.0;
    }
    m_nLowPressureCount = 0;
    // 2.
    m_DensityMode[d] = IsDepressurization(d);
    SetDefaultTargets();
    ComputeFlowCorrections(d);
    UpdateRingCalibration(d);
    RecalculateGraph(d);
    RedrawGraph();
    // 3. The running test's opening marker goes at the end of the slot.
    if (m_CruiseMode == 0)
        m_nFirstEntryOfTest[d] = m_StationCount[d];
    if (m_CompletedTests[d] > 0 && m_CruiseMode == 0) {
        FitDirection(m_Pavg[d], m_Qavg[d], m_Ring[d], UsedEntries(d), m_FitN[d], m_FitC[d], d);
        m_bCurveValid = 1;
        RedrawGraph();
    }
    // 4.
    SetFanSpeed(0.0);
    m_bLiveMarkerErased = 1;
    m_nPreviousRing = -1;
    m_bStopPending = 0;
    m_bUserStop = 0;
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    // 5.
    const int nStandard = pSettings->m_nStandard;
    auto refuse = [this]() {
        m_bTestStarting = 0;
        return 0;
    };
    if (m_CruiseMode == 0) {
        if (m_Targets[d][0] == 0.0) {
            view.ShowMessage(IDS_NO_TEST_PRESSURES, CString(), kExclamationIcon, kKindOk, 112);
            RestartFluctuationWatch();
            return refuse();
        }
        if (nStandard == kEn13829)
            CheckLowTargets();
        if (nStandard == kAstmE779 && !CheckBuildingHeight())
            return refuse();
        const int t = m_CompletedTests[d];
        if (!CheckEnvironmentData(0, 1, d, t))
            return refuse();
        CQarMathFunctions math;
        const int nTempFlag = view.m_nTemperatureUnit;
        const int bDepress = IsDepressurization(d);
        double dFactor = 1.0;
        if (nStandard == kCgsb) {
            dFactor = math.TemperatureFlowFactor(nTempFlag, m_TestTin[0][d][t], m_TestTout[0][d][t], bDepress);
        } else if (IsEnIso(nStandard)) {
            dFactor = math.DensityFlowFactor(0.65, nTempFlag, m_TestTin[0][d][t], m_TestTout[0][d][t],
                                             m_TestPbaro[0][d][t], bDepress);
        } else if (nStandard == kAstmE779) {
            double dEnvelope = 0.0;
            dFactor = math.DensityViscosityFlowFactor(0.65, nTempFlag, view.m_nBuildingUnit, m_TestTin[0][d][t],
                                                      m_TestTout[0][d][t], m_TestAltitude[d][t], bDepress, dEnvelope);
        }
        m_FlowFactor[d][t] = dFactor;
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        ShowPrompt(IDS_COVER_FAN_INLET_START, 102);
        m_bBaselineRunning = 1;
        if (!AutoZeroAll()) {
            m_bBaselineRunning = 0;
            m_bStopPending = 1;
        } else {
            const int k = m_StationCount[d];
            m_nBaselineCount = 0;
            m_Pavg[d][k] = MeasureBaseline(m_dBaseline, m_PStdDev[d][k], m_nBaselineCount, 1);
            m_bBaselineRunning = 0;
            if (!m_bStopPending) {
                SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
                if (IsEnIso(nStandard)) {
                    m_TestBaselinePlusPre[d][t] = m_dBaselinePlus;
                    m_TestBaselineMinusPre[d][t] = m_dBaselineMinus;
                    ShowBaselinePrompt(1);
                } else {
                    ShowPrompt(IDS_REMOVE_INLET_COVER, 103);
                }
            }
        }
    } else if (m_CruiseMode == 2) {
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        ShowPrompt(IDS_COVER_FAN_INLET_START, 102);
        m_bBaselineRunning = 1;
        if (!AutoZeroAll()) {
            m_bStopPending = 1;
        } else {
            int nCount = 0;
            double dStdDev = 0.0;
            MeasureBaseline(m_dBaseline, dStdDev, nCount, 1);
        }
        m_bBaselineRunning = 0;
        if (!m_bStopPending) {
            SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
            ShowPrompt(IDS_REMOVE_INLET_COVER, 103);
        }
    } else if (!AutoZeroAll()) {
        m_bStopPending = 1;
    }
    // 6.
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    if (m_bStopPending)
        return refuse();
    // 7.
    CRingTypeDialog ringDialog(this);
    ringDialog.m_pView = m_pView;
    ringDialog.m_chFanCode = GetFanCode();
    ringDialog.m_nInstalledRing = m_CurrentRing[d];
    const INT_PTR nRing = ringDialog.DoModal();
    if (GetCurrentMethod() == L'S')
        WaitMs(3000);
    if (nRing == CRingTypeDialog::kResultTerminate || nRing < 0) {
        if (m_CruiseMode != 0) {
            m_CruiseMode = 0;
            if (m_CompletedTests[d] > 0)
                m_bCurveValid = 1;
            RedrawGraph();
        }
        return refuse();
    }
    // 8.
    m_CurrentRing[d] = ringDialog.m_nInstalledRing;
    UpdateFanLabels();
    if (m_CruiseMode == 0) {
        const int k = m_StationCount[d];
        m_Ring[d][k] = -1;
        m_TargetP[d][k] = 0.0;
        ++m_StationCount[d];
    }
    // 9.
    UpdateRingCalibration(d);
    RecalculateGraph(d);
    RedrawGraph();
    RestartFluctuationWatch();
    StartDisplayWatch();
    EmptyReadingWindow();
    m_dGain = 1.0;
    m_nSpeedSignBefore = -1;
    m_nSpeedSignAfter = -1;
    m_nSampleCount = 0;
    m_dBuilding = 0.1;
    m_dFlow = 0.1;
    m_dPreviousSpeed = 0.0;
    m_bSettled = 0;
    m_bSamplingDisplay = 0;
    m_dMaxBuildingChange = 0.0;
    m_bCollectAtHighest = 0;
    m_bSpeedPredictionArmed = 0;
    m_nRequestedRing = -1;
    m_nControllerState = 0;
    // 10.
    StartFanAtPercent(pSettings->m_dFanStartPercent);
    m_bTestRunning = 1;
    EnableControl(m_CruiseMode != 0 ? IDC_TG_START : IDC_TG_CRUISE, 0);
    m_bTestStarting = 0;
    return 1;
}

// Baselines.

double CTestGraph1::MeasureBaseline(double& dMean, double& dStdDev, int& nCount, int bPreTest)
{
    CSimbrel1View& view = *m_pView;
    const int d = Slot();
    const int nStandard = GetStandard();
    const bool bSeconds = IsEnIso(nStandard) && m_CruiseMode != 2;
    CQarMathFunctions math;
    // 1.
    m_bBaselineFailed = 0;
    const int nDevices = m_DevicesInUse;
    SetStatusText(IDS_MEASURING_BASELINE, CString());
    m_bBaselineRunning = 1;
    m_strFlow.Empty();
    m_strBuildingPressure.Empty();
    m_strFanPressure.Empty();
    m_strBaseline.Empty();
    if (m_bShown && GetSafeHwnd() != nullptr)
        UpdateData(FALSE);
    // 2.
    dStdDev = 1.0;
    double dSum = nCount * dMean;
    double dZoneSum[kZoneChannels] = {};
    for (int z = 0; z < kZoneChannels; ++z)
        dZoneSum[z] = nCount * m_ZoneReading[1][z];
    const double dStartMean = dMean;
    const int nStartCount = nCount;
    const double dStartSum = dSum;
    PeekEscapeOrEnter();
    CBaselineSides sides;
    m_dBaselinePlus = 0.0;
    m_dBaselineMinus = 0.0;
    if (nStandard == kAstmE779)
        StartAstmWatch();
    const CString strStatus = m_strStatus;
    const int t = std::clamp(m_CompletedTests[d], 0, kMaxTests - 1);
    double dRunMean = 0.0, dRunSd = 0.0;
    double dZoneRunMean[kZoneChannels] = {}, dZoneRunSd[kZoneChannels] = {};

    auto cancel = [&]() {
        m_strSampleCount = L"0";
        m_strBaseline = L"0.0";
        SetItemText(m_strSampleCount, IDC_TG_SAMPLE_COUNT);
        SetItemText(m_strBaseline, IDC_TG_BASELINE);
        m_CruiseMode = 0;
        if (m_CompletedTests[d] > 0)
            m_bCurveValid = 1;
        RedrawGraph();
        m_bStopPending = 1;
        m_bBaselineRunning = 0;
        return 0.0;
    };

    // 3.
    for (int i = 0;;) {
        // 3.1 A stop asked for with the Start button or Esc/Enter.
        bool bAsk = false;
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, kPointerDown, kPointerDown, PM_NOREMOVE)) {
            const CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            if (IsOnStopButton(pt)) {
                ::PeekMessageW(&msg, nullptr, kPointerDown, kPointerDown, PM_REMOVE);
                bAsk = true;
            }
        }
        if (!bAsk && ::PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE)) {
            CPoint pt(msg.pt);
            if (IsOnStopButton(pt)) {
                ::PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
                bAsk = true;
            }
        }
        if (!bAsk && PeekEscapeOrEnter())
            bAsk = true;
        if (bAsk) {
            const bool bCruise = m_CruiseMode != 0;
            const int nAnswer = view.ShowMessage(bCruise ? IDS_END_CRUISING_QUESTION : IDS_END_TESTING_QUESTION,
                                                 CString(), kExclamationIcon, kKindYesNo, bCruise ? 127 : 126);
            DrainAllNetworkInput();
            RestartFluctuationWatch();
            if (nAnswer == kAnswerYes)
                return cancel();
        } else {
            PumpMessages();
        }
        // 3.2 One reading.
        double dReading = 0.0;
        int bRead = 0;
        int nFailed = 0;
        if (bSeconds) {
            bRead = OneSecondAverage(dReading);
        } else {
            double dFan = 0.0;
            bRead = ReadAllChannels(dReading, dFan, nFailed, 1);
        }
        if (!bRead) {
            CQarCommunications* pFailed = Link(nFailed);
            // 3.3 A network gauge comes back: this measurement starts again.
            if (pFailed != nullptr && pFailed->m_bNetwork && nDevices > 0 &&
                ReconnectWifiDevice(nFailed, pFailed->m_nSerial, nDevices) == nDevices) {
                dMean = dStartMean;
                nCount = nStartCount;
                dSum = dStartSum;
                i = 0;
                sides = CBaselineSides();
                AutoZeroAll();
                m_bStopPending = 0;
                WaitMs(500);
                if (nStandard == kAstmE779)
                    StartAstmWatch();
                RestartFluctuationWatch();
                SetStatusText(-1, strStatus);
                continue;
            }
            // 3.4
            ShowCommunicationLost(g_bVerboseWifiErrors && Link(0) != nullptr ? Link(0)->m_strLastError : CString(),
                                  1);
            if (CQarCommunications* pLink = Link(0))
                pLink->m_bNetwork = 0;
            DrainAllNetworkInput();
            m_bStopPending = 1;
            m_bBaselineFailed = 1;
            m_bBaselineRunning = 0;
            return 0.0;
        }
        // 3.5 Above the building pressure limit.
        CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : view.m_pSettings;
        if (pSettings != nullptr && std::fabs(dReading) > pSettings->m_dHighPressureLimit) {
            CTestPauseDialog dialog(this);
            dialog.m_strMessage = LoadText(IDS_MAX_PRESSURE_EXCEEDED);
            dialog.m_nHelpTopic = 130;
            dialog.m_bTest = m_CruiseMode == 0 ? 1 : 0;
            const INT_PTR nResult = dialog.DoModal();
            m_bPauseRequest = 0;
            RestartFluctuationWatch();
            if (nResult == CTestPauseDialog::kResultStop) {
                m_bUserStop = 1;
                m_bStopPending = 1;
                m_bBaselineRunning = 0;
                ResetRunControls();
                return 0.0;
            }
        }
        // 3.6
        if (bSeconds && i < kBaselineSeconds) {
            if (bPreTest)
                m_PreBaselineSeconds[d][t][i] = dReading;
            else
                m_PostBaselineSeconds[d][t][i] = dReading;
        }
        // 3.7
        math.RunningMeanAndStdDev(dRunMean, dRunSd, i, dReading);
        dStdDev = dRunSd;
        dSum += dReading;
        nCount += 1;
        dMean = dSum / nCount;
        if (bSeconds) {
            m_dEnIsoBaselineMean = dMean;
            sides.Add(dReading);
            m_dBaselinePlus = sides.Plus();
            m_dBaselineMinus = sides.Minus();
        }
        // 3.8 Zones.
        if (AreZonesShown()) {
            for (int c = kFirstZoneChannel; c <= GetHighestChannel() && c < kFirstZoneChannel + kZoneChannels; ++c) {
                if (!IsZoneActive(c))
                    continue;
                const int z = c - kFirstZoneChannel;
                math.RunningMeanAndStdDev(dZoneRunMean[z], dZoneRunSd[z], i, m_ZoneReading[1][z]);
                dZoneSum[z] += m_ZoneReading[1][z];
                m_strZoneReadout[z].Format(L"%3.1f", dZoneSum[z] / nCount);
            }
        }
        // 3.9
        m_strSampleCount.Format(L"%d", i + 1);
        m_strBaseline.Format(L"%3.1f", dMean);
        SetItemText(m_strSampleCount, IDC_TG_SAMPLE_COUNT);
        SetItemText(m_strBaseline, IDC_TG_BASELINE);
        ++i;
        // 3.10
        if (bSeconds ? i > kBaselineSeconds - 1 : IsSamplingComplete(i) != 0)
            break;
    }
    // 4.
    const int k = std::clamp(m_StationCount[d], 0, kMaxEntries - 1);
    if (AreZonesShown()) {
        for (int c = kFirstZoneChannel; c <= GetHighestChannel() && c < kFirstZoneChannel + kZoneChannels; ++c) {
            if (!IsZoneActive(c))
                continue;
            const int z = c - kFirstZoneChannel;
            m_ZonePavg[d][z][k] = dZoneRunMean[z];
            m_ZoneStdDev[d][z][k] = dZoneRunSd[z];
            m_ZoneReading[1][z] = nCount > 0 ? dZoneSum[z] / nCount : 0.0;
        }
    }
    m_bBaselineRunning = 0;
    return dRunMean;
}

int CTestGraph1::OneSecondAverage(double& dMean)
{
    StartSecondWatch();
    double dSum = 0.0;
    double dZoneSum[kZoneChannels] = {};
    int n = 0;
    do {
        double dBuilding = 0.0, dFan = 0.0;
        int nFailed = 0;
        if (!ReadAllChannels(dBuilding, dFan, nFailed, 1)) {
            dMean = 0.0;
            return 0;
        }
        dSum += dBuilding;
        for (int z = 0; z < kZoneChannels; ++z)
            dZoneSum[z] += m_ZoneReading[1][z];
        ++n;
    } while (!IsSecondElapsed());
    dMean = dSum / n;
    for (int z = 0; z < kZoneChannels; ++z)
        m_ZoneReading[1][z] = dZoneSum[z] / n;
    return 1;
}

// Environment data.

int CTestGraph1::CheckEnvironmentData(int bEdit, int nStage, int d, int t)
{
    if (m_pView == nullptr || (d != 0 && d != 1) || t < 0 || t >= kMaxTests)
        return 0;
    CSimbrel1View& view = *m_pView;
    const int nStandard = GetStandard();
    auto parse = [](const CString& s) { return CSimbrel1View::TextToDouble(s); };
    if (nStandard == kCgsb || IsEnIso(nStandard)) {
        const bool bCgsb = nStandard == kCgsb;
        CEnvironmentDialog* pPage = bCgsb ? static_cast<CEnvironmentDialog*>(view.m_pTemperature)
                                          : static_cast<CEnvironmentDialog*>(view.m_pTempBaro);
        if (pPage == nullptr)
            return 1;
        if (!bEdit && nStage == 2)
            return 0;
        if (!bEdit && nStage == 1) {
            if (bCgsb)
                view.m_pTemperature->ClearTestValues(d, t);
            else
                view.m_pTempBaro->ClearTestValues(d, t);
        }
        for (;;) {
            pPage->m_bEditMode = bEdit;
            pPage->m_nEditDirection = d;
            pPage->m_nEditTest = t;
            if (pPage->DoModal() == IDCANCEL) {
                m_bStopPending = 1;
                RestartFluctuationWatch();
                return 0;
            }
            RestartFluctuationWatch();
            if (bCgsb) {
                m_TestTin[0][d][t] = parse(view.m_pTemperature->m_strIndoorTemp);
                m_TestTout[0][d][t] = parse(view.m_pTemperature->m_strOutdoorTemp);
                if (view.m_pTemperature->HasRequiredValues())
                    return 1;
                view.ShowMessage(IDS_MANUAL_ALL_TEMPERATURE, CString(), kExclamationIcon, kKindOk, kNoHelp);
            } else {
                m_TestTin[0][d][t] = parse(view.m_pTempBaro->m_strIndoorTemp);
                m_TestTout[0][d][t] = parse(view.m_pTempBaro->m_strOutdoorTemp);
                m_TestPbaro[0][d][t] = parse(view.m_pTempBaro->m_strBaroPressure);
                if (view.m_pTempBaro->HasRequiredValues())
                    return 1;
                view.ShowMessage(IDS_MANUAL_ALL_TEMP_BARO, CString(), kExclamationIcon, kKindOk, kNoHelp);
            }
            RestartFluctuationWatch();
        }
    }
    if (nStandard != kAstmE779)
        return 1;
    CTemperatureAndAltitudeEntry* pPage = view.m_pTempAltitude;
    if (pPage == nullptr)
        return 1;
    if (!bEdit && nStage == 1)
        pPage->ClearTestValues(d, t);
    for (;;) {
        pPage->m_bEditMode = bEdit;
        pPage->m_nEditDirection = d;
        pPage->m_nEditTest = t;
        pPage->m_nStage = bEdit ? CTemperatureAndAltitudeEntry::kBothStages : nStage;
        if (nStage == 2) {
            pPage->m_strPretestIndoorTemp = m_strKeptPretestTexts[0];
            pPage->m_strPretestOutdoorTemp = m_strKeptPretestTexts[1];
            pPage->m_strAltitude = m_strKeptPretestTexts[2];
        }
        if (pPage->DoModal() == IDCANCEL) {
            m_bStopPending = 1;
            RestartFluctuationWatch();
            return 0;
        }
        RestartFluctuationWatch();
        if (nStage == 2 || bEdit) {
            m_TestTin[0][d][t] = parse(pPage->m_strPretestIndoorTemp);
            m_TestTout[0][d][t] = parse(pPage->m_strPretestOutdoorTemp);
            m_TestTin[1][d][t] = parse(pPage->m_strPosttestIndoorTemp);
            m_TestTout[1][d][t] = parse(pPage->m_strPosttestOutdoorTemp);
            m_TestAltitude[d][t] = parse(pPage->m_strAltitude);
            CQarMathFunctions math;
            const double dBaro = math.BarometricPressureFromAltitude(view.m_nBuildingUnit, m_TestAltitude[d][t]);
            m_TestPbaro[0][d][t] = dBaro;
            m_TestPbaro[1][d][t] = dBaro;
            if (pPage->HasRequiredValues(CTemperatureAndAltitudeEntry::kPosttest))
                return 1;
            view.ShowMessage(IDS_MANUAL_ALL_TEMP_ALTITUDE, CString(), kExclamationIcon, kKindOk, kNoHelp);
        } else {
            m_strKeptPretestTexts[0] = pPage->m_strPretestIndoorTemp;
            m_strKeptPretestTexts[1] = pPage->m_strPretestOutdoorTemp;
            m_strKeptPretestTexts[2] = pPage->m_strAltitude;
            if (pPage->HasRequiredValues(CTemperatureAndAltitudeEntry::kPretest)) {
                m_TestTin[0][d][t] = parse(pPage->m_strPretestIndoorTemp);
                m_TestTout[0][d][t] = parse(pPage->m_strPretestOutdoorTemp);
                m_TestAltitude[d][t] = parse(pPage->m_strAltitude);
                return 1;
            }
            view.ShowMessage(IDS_ALL_PRETEST_TEMP_ALTITUDE, CString(), kExclamationIcon, kKindOk, kNoHelp);
        }
        RestartFluctuationWatch();
    }
}

// Baseline result and target checks.

void CTestGraph1::ShowBaselinePrompt(int bPreTest)
{
    const int nStandard = GetStandard();
    const int d = Slot();
    if (IsEnIso(nStandard) && m_CruiseMode != 2 && m_pView != nullptr) {
        const int k = std::clamp(m_StationCount[d], 0, kMaxEntries - 1);
        CString strText;
        strText.Format(LoadText(IDS_BASELINE_RESULT).GetString(), m_Pavg[d][k], m_dBaselinePlus, m_dBaselineMinus);
        m_pView->ShowMessage(IDS_BASELINE_RESULT, strText, kExclamationIcon, kKindOk, 135);
        RestartFluctuationWatch();
    }
    if (bPreTest) {
        if (IsEnIso(nStandard) && m_CruiseMode != 2)
            CheckLowestTargetPressure(m_dBaselinePlus, m_dBaselineMinus, m_dEnIsoBaselineMean);
        ShowPrompt(IDS_REMOVE_INLET_COVER, 103);
    }
}

int CTestGraph1::CheckLowestTargetPressure(double dPlus, double dMinus, double dZeroFlow)
{
    const int d = Slot();
    const int nSuggested =
        SuggestLowestTarget(GetStandard(), dPlus, dMinus, dZeroFlow, IsDepressurization(d), m_Targets[d]);
    if (nSuggested == 0 || !AskCustomizeTargets(nSuggested))
        return 0;
    SwitchToCustomTargets();
    CheckLowTargets();
    return 1;
}

int CTestGraph1::CheckLowTargets()
{
    const int d = Slot();
    if (LowestTarget(m_Targets[d]) >= 10.0 || !AskCustomizeTargetsPlain())
        return 0;
    SwitchToCustomTargets();
    return 1;
}

void CTestGraph1::SwitchToCustomTargets()
{
    if (m_pView == nullptr)
        return;
    CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : m_pView->m_pSettings;
    if (pSettings != nullptr) {
        pSettings->m_nPressuresChoice = 1;
        pSettings->m_chStandardLetter = L'U';
    }
    if (CCustomPressuresDialog* pCustom = m_pView->m_pCustomPressures) {
        pCustom->DoModal();
        pCustom->ParsePressures();
    }
    RestartFluctuationWatch();
    SetDefaultTargets();
    RedrawGraph();
}

int CTestGraph1::AskCustomizeTargets(int nValue)
{
    CChangeRingDialog dialog(this);
    dialog.m_pView = m_pView;
    dialog.m_bFiveTimesBaseline = 1;
    dialog.m_nSuggestedMinimumTarget = nValue;
    dialog.m_strFirstButton = LoadText(IDS_YES_CUSTOMIZE_TARGETS);
    dialog.m_strSecondButton = LoadText(IDS_NO_PROCEED_WITH_TEST);
    const INT_PTR nResult = dialog.DoModal();
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    RestartFluctuationWatch();
    return nResult == 1 ? 1 : 0;
}

int CTestGraph1::AskCustomizeTargetsPlain()
{
    CChangeRingDialog dialog(this);
    dialog.m_pView = m_pView;
    dialog.m_bBelow10Pa = 1;
    dialog.m_strFirstButton = LoadText(IDS_YES_CUSTOMIZE_TARGETS);
    dialog.m_strSecondButton = LoadText(IDS_NO_PROCEED_WITH_TEST);
    const INT_PTR nResult = dialog.DoModal();
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    RestartFluctuationWatch();
    return nResult == 1 ? 1 : 0;
}

// End of a test.

void CTestGraph1::EndTest()
{
    const int d = Slot();
    // 1.
    if (!m_bLiveMarkerErased)
        DrawLiveMarker(m_dLiveMarkerP, m_dLiveMarkerQ);
    m_bLiveMarkerErased = 1;
    // 2.
    if (m_nFirstEntryOfTest[d] + 1 < m_StationCount[d] && HasRoomForEntry(d)) {
        const int nStandard = GetStandard();
        const int t = std::clamp(m_CompletedTests[d], 0, kMaxTests - 1);
        // 2.1
        SetFanSpeed(0.0);
        m_dManualSpeed = 0.0;
        SetControlText(IDC_TG_START, IDS_START_TEST_CAPTION);
        m_dGain = 1.0;
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        ShowPrompt(IDS_COVER_FAN_INLET_END, 123);
        // 2.2
        if (!AutoZeroAll())
            m_bStopPending = 1;
        const int k = m_StationCount[d];
        if (m_bStopPending) {
            // 2.3 The test is closed with a baseline of 0.
            m_Pavg[d][k] = 0.0;
            for (int z = 0; z < kZoneChannels; ++z)
                m_ZonePavg[d][z][k] = 0.0;
            ResetRunControls();
        } else {
            // 2.4
            m_bBaselineRunning = 1;
            m_nBaselineCount = 0;
            double dMean = 0.0;
            m_Pavg[d][k] = MeasureBaseline(dMean, m_PStdDev[d][k], m_nBaselineCount, 0);
            m_bBaselineRunning = 0;
            ResetRunControls();
            if (m_bBaselineFailed) {
                // A gauge lost during the closing baseline: the links close
                // and the test goes like one lost at a station, never left
                // open without its closing marker.
                if (m_pView != nullptr)
                    m_pView->CloseAllDevicePorts();
                m_DevicesInUse = 0;
                m_ChannelsInUse = 0;
                m_StationCount[d] = m_nEntriesAtStart;
                m_nFirstEntryOfTest[d] = m_StationCount[d];
                m_nPointIndex = 0;
                RecalculateGraph(d);
                RedrawGraph();
                if (m_pView != nullptr)
                    m_pView->m_strFileVersionTag = m_pView->GetProgramVersionTag();
                // With no gauge left the timer steps no more, so the stop
                // would never be handled: the run ends here, the fan's last
                // command 0 and no question asked.
                m_bFaultStop = 1;
                m_bStopPending = 1;
                if (m_bTestRunning)
                    HandleStop();
                return;
            }
            if (m_bStopPending) {
                m_StationCount[d] = m_nEntriesAtStart;
                m_nFirstEntryOfTest[d] = m_StationCount[d];
                m_nPointIndex = 0;
                RecalculateGraph(d);
                RedrawGraph();
                ResetRunControls();
                if (m_pView != nullptr)
                    m_pView->m_strFileVersionTag = m_pView->GetProgramVersionTag();
                return;
            }
            CaptureDeviceInfo();
            if ((IsEnIso(nStandard) || nStandard == kAstmE779) && m_CruiseMode != 2) {
                m_TestBaselinePlusPost[d][t] = m_dBaselinePlus;
                m_TestBaselineMinusPost[d][t] = m_dBaselineMinus;
                ShowBaselinePrompt(0);
                CheckEnvironmentData(0, 2, d, t);
            }
        }
        // 2.5 Close the test.
        m_nPointIndex = 0;
        ++m_CompletedTests[d];
        m_Ring[d][k] = -1;
        m_TargetP[d][k] = 0.0;
        ++m_StationCount[d];
        m_nFirstEntryOfTest[d] = m_StationCount[d];
        // A closed test is counted: a later drop of the running test's
        // entries goes back to here, not to before it.
        m_nEntriesAtStart = m_StationCount[d];
        FitDirection(m_Pavg[d], m_Qavg[d], m_Ring[d], UsedEntries(d), m_FitN[d], m_FitC[d], d);
        // 2.6
        m_strFanPressure = L" ";
        m_strBuildingPressure = L" ";
        SetItemText(m_strFanPressure, IDC_TG_FAN_PRESSURE);
        SetItemText(m_strBuildingPressure, IDC_TG_BUILDING_PRESSURE);
        ClearIdleMeans();
        RecalculateGraph(d);
        m_bCurveValid = 1;
        RedrawGraph();
        m_nPreviousRing = -1;
        m_bSettled = 0;
        EmptyReadingWindow();
        m_dGain = 1.0;
        m_bLiveMarkerErased = 1;
        if (m_pView != nullptr) {
            m_pView->UpdateResults(d);
            if (m_CruiseMode != 2 && m_pView->m_pDeviations != nullptr)
                m_pView->m_pDeviations->RecheckAllTests(1);
        }
        ResetRunControls();
    }
    // 3.
    if (m_pView != nullptr)
        m_pView->m_strFileVersionTag = m_pView->GetProgramVersionTag();
}

// Checks of the Start button.

int CTestGraph1::CheckDevicesBeforeStart()
{
    if (m_pView == nullptr)
        return 0;
    const int bWasRunning = m_bTestRunning;
    m_bTestRunning = 1;
    m_pView->m_bChannelCheckRunning = 1;
    int nResult = CheckChannelCounts();
    if (!nResult)
        nResult = ConnectDevices();
    m_pView->m_bChannelCheckRunning = 0;
    UpdateDeviceStatus(1);
    m_bTestRunning = bWasRunning;
    return nResult;
}

int CTestGraph1::AreZoneChannelsAvailable() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr)
        return 1;
    const int d = Slot();
    const int nHighest = GetHighestChannel();
    for (int c = kFirstZoneChannel; c < kFirstZoneChannel + kZoneChannels; ++c) {
        if (pSettings->m_nZoneActive[d][c - kFirstZoneChannel] && c > nHighest)
            return 0;
    }
    return 1;
}
