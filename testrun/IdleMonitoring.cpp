// Live readings of the test screen while no test runs: the idle tick of the
// view's timer, the reading of all gauges that the run also uses, the device
// status line, the default target lists, the readouts with the 50 Pa
// estimate, the zone readouts and the battery check.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kFirstZoneChannel = 3;
constexpr int kLastZoneChannel = 8;
// The display shows the running means once they cover this long.
constexpr long long kDisplayMs = 1000;
constexpr long long kRezeroMs = 60000;
// Gauge battery limits (V): low, and too low to go on; the two-channel
// network gauge runs on fewer cells.
constexpr double kGaugeLow = 5.82;
constexpr double kGaugeTooLow = 5.52;
constexpr double kNetworkGaugeLow = 3.49;
constexpr double kNetworkGaugeTooLow = 3.33;
// A network peer that keeps sending is read no longer than this.
constexpr int kDrainMaxBytes = 4096;
constexpr long long kDrainMaxMs = 3000;

long long NowMs()
{
    return static_cast<long long>(GetProgramClock().GetMilliseconds());
}

int Slot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

bool IsZoneChannel(int nChannel)
{
    return nChannel >= kFirstZoneChannel && nChannel <= kLastZoneChannel;
}

CString FormatValue(const wchar_t* pszFormat, double v)
{
    CString str;
    str.Format(pszFormat, v);
    return str;
}

}  // namespace

// Stopwatches of the idle display and the periodic re-zero.

void CTestGraph1::StartDisplayWatch()
{
    m_nDisplayWatchMs = NowMs();
}

int CTestGraph1::IsDisplayWatchElapsed() const
{
    return NowMs() - m_nDisplayWatchMs > kDisplayMs ? 1 : 0;
}

void CTestGraph1::StartRezeroWatch()
{
    m_nRezeroWatchMs = NowMs();
}

int CTestGraph1::IsRezeroDue() const
{
    // Never while the operator holds the fan slider or a fan key.
    if (m_bSliderDragging || m_bFanKeyDown)
        return 0;
    return NowMs() - m_nRezeroWatchMs > kRezeroMs ? 1 : 0;
}

void CTestGraph1::ClearIdleMeans()
{
    m_nIdleCount = 0;
    m_dIdleFanMean = 0.0;
    m_dIdleBuildingMean = 0.0;
    m_dIdleFlowMean = 0.0;
}

int CTestGraph1::IsDepressurization(int d) const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr || (d != 0 && d != 1))
        return 0;
    return pSettings->m_chDirectionLetter[d] == L'D' ? 1 : 0;
}

double CTestGraph1::GetNextTestFlowFactor(int d) const
{
    if (d != 0 && d != 1)
        return 1.0;
    // A slot that holds all its tests has no next test: its factor is 1.0,
    // never one past the end of the list.
    const int t = m_CompletedTests[d];
    if (t < 0 || t >= kMaxTests)
        return 1.0;
    return m_FlowFactor[d][t];
}

double CTestGraph1::GetCorrectedFlow(double dFan) const
{
    const CFanCalibrationDialog* pCal =
        m_pFanCalibration != nullptr ? m_pFanCalibration : (m_pView != nullptr ? m_pView->m_pFanCalibration : nullptr);
    if (pCal == nullptr)
        return 0.0;
    return GetNextTestFlowFactor(Slot()) * pCal->m_dSelC * std::pow(std::fabs(dFan), pCal->m_dSelN);
}

void CTestGraph1::IdleMonitorTick()
{
    if (m_pView == nullptr)
        return;
    CSimbrel1View& view = *m_pView;
    const int d = Slot();
    const wchar_t chMethod = GetCurrentMethod();
    SetStatusText(IDS_IDLE_MONITORING, CString());
    if (AreZonesShown() && (chMethod == L'A' || chMethod == L'S'))
        UpdateZoneReadouts();

    if (m_bUserStop || m_bResetAfterFailure) {
        ClearIdleMeans();
        SetFanSpeed(0.0);
        StartDisplayWatch();
        m_bUserStop = 0;
        m_bResetAfterFailure = 0;
        return;
    }

    m_DensityMode[d] = IsDepressurization(d);
    if (m_bRezeroRequested || m_bRezeroAfterFailure) {
        if (m_bReidentified && (view.m_bChannelsAllocated || m_bRezeroAfterFailure)) {
            CSimbrel1View::DelayMs(2000);
            view.m_bChannelsAllocated = 0;
        }
        if (!AutoZeroAll())
            return;
        m_bRezeroRequested = 0;
        m_bRezeroAfterFailure = 0;
    }
    if (IsRezeroDue() && !AutoZeroAll())
        return;

    double dBuilding = 0.0, dFan = 0.0;
    int nFailed = 0;
    if (!ReadAllChannels(dBuilding, dFan, nFailed)) {
        if (CQarCommunications* pLink = Link(0))
            pLink->m_bNetwork = 0;
        m_bStopPending = 1;
        return;
    }
    const double dFlow = GetCorrectedFlow(dFan);

    const CFanCalibrationDialog* pCal =
        m_pFanCalibration != nullptr ? m_pFanCalibration : view.m_pFanCalibration;
    const double dMinFan = pCal != nullptr ? pCal->m_dSelMinFanPressure : 0.0;
    if (IsDisplayWatchElapsed()) {
        if (m_DevicesInUse > 0) {
            EnableControl(IDC_TG_START, 1);
            if (chMethod == L'A')
                EnableControl(IDC_TG_CRUISE, 1);
        }
        if (!m_bLiveMarkerErased)
            DrawLiveMarker(m_dLiveMarkerP, m_dLiveMarkerQ);
        if (std::fabs(m_dIdleFanMean) > dMinFan) {
            m_dLiveMarkerP = m_dIdleBuildingMean;
            m_dLiveMarkerQ = m_dIdleFlowMean;
            DrawLiveMarker(m_dLiveMarkerP, m_dLiveMarkerQ);
            m_bLiveMarkerErased = 0;
            m_strFlow = FormatValue(L"%4.0f", m_dIdleFlowMean);
        } else {
            m_bLiveMarkerErased = 1;
            m_strFlow.Empty();
        }
        UpdateReadouts(1, m_dIdleBuildingMean, 0.0, m_dIdleFanMean, m_dIdleFlowMean, 1);
        ClearIdleMeans();
        StartDisplayWatch();
    } else {
        std::optional<CQarMathFunctions> localMath;
        CQarMathFunctions* pMath = view.m_pMath != nullptr ? view.m_pMath : &localMath.emplace();
        m_dIdleFanMean = pMath->RunningMean(m_dIdleFanMean, m_nIdleCount, dFan);
        m_dIdleBuildingMean = pMath->RunningMean(m_dIdleBuildingMean, m_nIdleCount, dBuilding);
        m_dIdleFlowMean = pMath->RunningMean(m_dIdleFlowMean, m_nIdleCount, dFlow);
        ++m_nIdleCount;
    }

    const CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : view.m_pSettings;
    const double dLimit = pSettings != nullptr ? pSettings->m_dHighPressureLimit : 0.0;
    const double dMean = m_dIdleBuildingMean;
    const bool bWrongSign = (d == 0 && dMean < -20.0) || (d == 1 && dMean > 20.0);
    const bool bTooHigh = dLimit > 0.0 && std::fabs(dMean) > dLimit;
    if (bWrongSign || bTooHigh) {
        SetFanSpeed(0.0);
        m_strFanPressure = FormatValue(L"%3.1f", m_dIdleFanMean);
        m_strBuildingPressure = FormatValue(L"%3.1f", dMean);
        if (m_bShown && GetSafeHwnd() != nullptr) {
            UpdateData(FALSE);
            UpdateWindow();
        }
        if (AreZonesShown())
            UpdateZoneReadouts();
        view.ShowMessage(bWrongSign ? IDS_WRONG_SIGN_BUILDING : IDS_MAX_BUILDING_PRESSURE, CString(), 176, 0,
                         bWrongSign ? 113 : 130);
        RestartFluctuationWatch();
        ClearIdleMeans();
        SetFanSpeed(0.0);
        StartDisplayWatch();
    }
}

int CTestGraph1::IsDeviceFailed(int i) const
{
    const CQarCommunications* pLink = Link(i);
    return pLink == nullptr || pLink->m_bFailed || pLink->m_bOverRange ? 1 : 0;
}

int CTestGraph1::ReadAllChannels(double& dBuilding, double& dFan, int& nFailed, int nBank)
{
    nFailed = 0;
    if (m_pView == nullptr || m_pView->m_bShuttingDown)
        return 0;
    const int nDevices = std::clamp(m_DevicesInUse, 0, 4);
    auto fail = [this]() {
        m_bStopPending = 1;
        m_DevicesInUse = 0;
        return 0;
    };
    // Nothing to read is no reading: the readings the caller holds are old.
    if (nDevices == 0)
        return fail();

    std::vector<CQarCommThreads*> jobs;
    for (int i = 0; i < nDevices; ++i) {
        CQarCommThreads*& pWorker = m_Workers[i];
        if (pWorker != nullptr && pWorker->IsThreadRunning()) {
            m_WorkerGroup.DeleteWhenEnded(pWorker);
            pWorker = nullptr;
        }
        if (pWorker == nullptr)
            pWorker = new CQarCommThreads;
        pWorker->m_pLink = Link(i);
        pWorker->m_nJob = CQarCommThreads::kReadChannels;
        pWorker->m_nChannels = std::clamp(m_DeviceChannels[i], 0, CQarCommThreads::kMaxValues);
        jobs.push_back(pWorker);
    }
    LARGE_INTEGER nFrequency{}, nStart{}, nEnd{};
    ::QueryPerformanceFrequency(&nFrequency);
    ::QueryPerformanceCounter(&nStart);
    m_WorkerGroup.Run(jobs, THREAD_PRIORITY_TIME_CRITICAL);
    ::QueryPerformanceCounter(&nEnd);
    m_dLastReadWaitMs = nFrequency.QuadPart > 0 ? 1000.0 * static_cast<double>(nEnd.QuadPart - nStart.QuadPart) /
                                                      static_cast<double>(nFrequency.QuadPart)
                                                : 0.0;
    const std::vector<CGaugeJobGroup::Outcome>& outcomes = m_WorkerGroup.GetOutcomes();
    for (const CGaugeJobGroup::Outcome& outcome : outcomes) {
        if (outcome.state == CGaugeJobGroup::State::NotStarted) {
            for (CQarCommThreads*& pWorker : m_Workers) {
                m_WorkerGroup.DeleteWhenEnded(pWorker);
                pWorker = nullptr;
            }
            return fail();
        }
    }

    double* pZones = m_ZoneReading[nBank == 0 ? 0 : 1];
    int nZone = 0;
    for (int i = 0; i < nDevices; ++i) {
        const bool bEnded = static_cast<size_t>(i) < outcomes.size() &&
                            outcomes[static_cast<size_t>(i)].state == CGaugeJobGroup::State::Ended;
        if (!bEnded || IsDeviceFailed(i)) {
            nFailed = i;
            return fail();
        }
        const CQarCommThreads& worker = *jobs[static_cast<size_t>(i)];
        for (int c = 0; c < worker.m_nChannels; ++c) {
            const double v = worker.m_dValues[c];
            if (i == 0 && c == 0)
                dBuilding = v;
            else if (i == 0 && c == 1)
                dFan = -v;
            else if (nZone < kZoneChannels)   // channels past 8 have no readout
                pZones[nZone++] = v;
        }
    }
    if (!m_pView->m_bChannelCheckRunning)
        m_pView->m_nTickCount = 0;
    return 1;
}

void CTestGraph1::UpdateDeviceStatus(int bForce)
{
    if (!m_bShown || GetSafeHwnd() == nullptr || m_pView == nullptr || m_pView->m_bShuttingDown)
        return;
    CSimbrel1View& view = *m_pView;
    if (view.m_bOffLine) {
        EnableControl(IDC_TG_START, 0);
        EnableControl(IDC_TG_CRUISE, 0);
        SetStatusText(IDS_OFF_LINE, CString());
        return;
    }
    const int bHasDevices = m_DevicesInUse >= 1 ? 1 : 0;
    if (bHasDevices == m_bHadDevices && !bForce)
        return;
    m_bHadDevices = bHasDevices;
    const wchar_t chMethod = GetCurrentMethod();
    if (bHasDevices && (chMethod == L'A' || chMethod == L'S')) {
        if (!m_bPrinting)
            SetStatusText(IDS_IDLE_MONITORING, CString());
        ShowControl(1402, SW_SHOW);
        if (chMethod != L'S')
            EnableControl(IDC_TG_FAN_SLIDER, 1);
        if (!m_bTestStarting && !m_bTestRunning && !m_bPrinting) {
            EnableControl(IDC_TG_START, 1);
            if (chMethod != L'S')
                EnableControl(IDC_TG_CRUISE, 1);
        }
        return;
    }

    CString strText;
    int nFailing = -1;
    if (m_InsufficientChannels) {
        strText.LoadString(IDS_INSUFFICIENT_CHANNELS);
    } else {
        for (int i = 0; i < 4; ++i) {
            const CQarCommunications* pLink = Link(i);
            if (pLink == nullptr || !(m_DeviceUsed[i] || m_DeviceChannels[i] > 0) || !IsDeviceFailed(i))
                continue;
            nFailing = i;
            break;
        }
        if (nFailing >= 0) {
            CQarCommunications* pLink = Link(nFailing);
            const CString strLabel = GetDeviceRoleName(nFailing);
            if (pLink->m_bOverRange) {
                strText.Format(L"%s IS OVER RANGE", strLabel.GetString());
            } else {
                CString strNot;
                strNot.LoadString(IDS_IS_NOT_CONNECTED);
                strText.Format(L"%s %s", strLabel.GetString(), strNot.GetString());
            }
            pLink->m_bIdentified = 0;
            view.m_nConnectionState = -1;
            m_bResetAfterFailure = 1;
            m_bRezeroAfterFailure = 1;
        }
    }
    if (strText == m_strStatus)
        return;
    SetStatusText(-1, strText);
    if (m_Reconnecting)
        return;
    if (nFailing >= 0 && g_bVerboseWifiErrors)
        m_strKeptDeviceError = Link(nFailing)->m_strLastError;
    view.DisconnectAllDevices();
    view.ResetNetDeviceRecord(view.m_NetDevice);
    if (m_bRezeroAfterFailure) {
        m_strFlow.Empty();
        m_strFanPressure.Empty();
        m_strBuildingPressure.Empty();
        m_strBaseline.Empty();
        m_strResults.Empty();
        if (GetSafeHwnd() != nullptr)
            UpdateData(FALSE);
    }
    const int bWasRunning = m_bTestRunning;
    if (bWasRunning) {
        ShowCommunicationLost(g_bVerboseWifiErrors ? m_strKeptDeviceError : CString(), 1);
        if (CQarCommunications* pLink = Link(0))
            pLink->m_bNetwork = 0;
        m_strKeptDeviceError.Empty();
    }
    m_CruiseMode = 0;
    m_bTestRunning = 0;
    UpdateRunControls();
    m_nPointIndex = 0;
    SetFanSpeed(0.0);
    SetControlText(IDC_TG_START, IDS_START_TEST_CAPTION);
    if (m_bSamplingDisplay) {
        m_bSamplingDisplay = 0;
        EnableControl(IDC_TG_FAN_SLIDER, 1);
        m_bLiveMarkerErased = 1;
    }
    RecalculateGraph(Slot());
    if (m_CompletedTests[Slot()] > 0)
        m_bCurveValid = 1;
    RedrawGraph();
}

bool CTestGraph1::GetStandardTargets(wchar_t chLetter, double (&targets)[kMaxTargets + 1])
{
    struct Row {
        wchar_t chLetter;
        double dFirst;
        double dStep;
        int nCount;
    };
    static const Row kRows[] = {
        {L'C', 50, 5, 8}, {L'E', 65, 6, 10}, {L'A', 60, 5, 10}, {L'I', 64, 6, 10},
    };
    for (const Row& row : kRows) {
        if (row.chLetter != chLetter)
            continue;
        std::fill(std::begin(targets), std::end(targets), 0.0);
        for (int k = 0; k < row.nCount; ++k)
            targets[k] = row.dFirst - k * row.dStep;
        return true;
    }
    return false;
}

void CTestGraph1::SetDefaultTargets()
{
    const int d = Slot();
    const int o = 1 - d;
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    const wchar_t chLetter = pSettings != nullptr ? pSettings->m_chStandardLetter : 0;
    if (chLetter == L'U') {
        const CCustomPressuresDialog* pCustom = m_pView != nullptr ? m_pView->m_pCustomPressures : nullptr;
        if (pCustom != nullptr) {
            for (int k = 0; k < kMaxTargets; ++k)
                m_Targets[d][k] = pCustom->m_dPressure[d][k];
            m_Targets[d][kMaxTargets] = 0.0;
        }
    } else {
        GetStandardTargets(chLetter, m_Targets[d]);
    }
    std::copy(std::begin(m_Targets[d]), std::end(m_Targets[d]), m_Targets[o]);
}

bool CTestGraph1::EstimateAirChanges(double dP, double dFlow, double n, double dVolume, double dLengthFactor,
                                     double dFlowFactor, double& dEstimate)
{
    const double p = std::fabs(dP);
    if (!(dVolume > 0.01) || !(p > 40.0 && p < 60.0) || !(dFlowFactor > 0.0))
        return false;
    // A failed fit leaves n at -1: the usual exponent stands in.
    const double e = n > 0.0 ? n : 0.65;
    dEstimate = 60.0 * dFlow / dVolume * std::pow(50.0 / p, e) * std::pow(dLengthFactor, 3.0) / dFlowFactor;
    return std::isfinite(dEstimate);
}

void CTestGraph1::UpdateFlowEstimate(double dP, double dFlow, double n, int bFlowValid)
{
    const double dVolume = m_pView != nullptr && m_pView->m_pBuildingInfo != nullptr ? m_pView->GetBuildingVolume() : 0.0;
    const double L = m_pView != nullptr ? m_pView->m_dBuildingFactor : 1.0;
    const double F = m_pView != nullptr ? m_pView->m_dFlowFactor : 1.0;
    const double e = m_CompletedTests[Slot()] > 0 ? n : 0.65;
    double dEstimate = 0.0;
    if (bFlowValid && EstimateAirChanges(dP, dFlow, e, dVolume, L, F, dEstimate)) {
        m_strResults.Format(L"%3.2f", dEstimate);
        m_strResults.TrimLeft();
    } else {
        m_strResults.Empty();
    }
}

void CTestGraph1::UpdateReadouts(int bNoBaseline, double dP, double dBaseline, double dFan, double dFlow,
                                 int bResultsBox)
{
    const int d = Slot();
    const CFanCalibrationDialog* pCal =
        m_pFanCalibration != nullptr ? m_pFanCalibration : (m_pView != nullptr ? m_pView->m_pFanCalibration : nullptr);
    const double dMinFan = pCal != nullptr ? pCal->m_dSelMinFanPressure : 0.0;
    if (std::fabs(dFan) > dMinFan) {
        const bool bSmall = GetFanCode() == L'B' && m_CurrentRing[d] == 4;
        m_strFlow = FormatValue(bSmall ? L"%4.1f" : L"%4.0f", dFlow);
        m_bFlowValid = 1;
    } else {
        m_strFlow.LoadString(IDS_FLOW_LOW);
        m_bFlowValid = 0;
    }
    if (bResultsBox)
        UpdateFlowEstimate(dP, dFlow, m_FitN[d], m_bFlowValid);
    m_strFanPressure = FormatValue(L"%3.1f", dFan);
    m_strBuildingPressure = FormatValue(L"%3.1f", dP);
    if (bNoBaseline)
        m_strBaseline.Empty();
    else
        m_strBaseline = FormatValue(L"%3.1f", dBaseline);
    if (AreZonesShown())
        UpdateZoneReadouts();
    m_nIdleCount = 0;
    if (m_bShown && GetSafeHwnd() != nullptr) {
        UpdateData(FALSE);
        if (m_bLargeMeters) {
            CClientDC dc(this);
            UpdateLargeMeterValues(&dc);
        }
    }
}

// Zone readouts.

int CTestGraph1::AreZonesShown() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    // The view's zone switch is its auto-selection of one gauge: the zone
    // channels need the gauges chosen by port.
    return pSettings != nullptr && pSettings->m_bZonalActive && (m_pView == nullptr || !m_pView->m_bAutoSelect) ? 1
                                                                                                                 : 0;
}

int CTestGraph1::GetHighestChannel() const
{
    return std::clamp(m_ChannelsInUse, 0, kLastZoneChannel);
}

int CTestGraph1::IsZoneActive(int nChannel) const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr || !IsZoneChannel(nChannel))
        return 0;
    return pSettings->m_nZoneActive[Slot()][nChannel - kFirstZoneChannel] ? 1 : 0;
}

int CTestGraph1::GetZoneReadoutId(int nChannel)
{
    return IsZoneChannel(nChannel) ? IDC_TG_ZONE_READOUT_FIRST + nChannel - kFirstZoneChannel
                                   : IDC_TG_ZONE_READOUT_FIRST;
}

CString& CTestGraph1::GetZoneReadoutText(int nChannel)
{
    return m_strZoneReadout[GetZoneReadoutId(nChannel) - IDC_TG_ZONE_READOUT_FIRST];
}

void CTestGraph1::FormatZoneReadout(int nChannel, const double* pValues)
{
    if (!IsZoneChannel(nChannel) || pValues == nullptr)
        return;
    GetZoneReadoutText(nChannel) = FormatValue(L"%3.1f", pValues[nChannel]);
}

void CTestGraph1::UpdateZoneReadout(int nChannel)
{
    if (!IsZoneChannel(nChannel))
        return;
    const int z = nChannel - kFirstZoneChannel;
    CString& strText = GetZoneReadoutText(nChannel);
    if (IsZoneActive(nChannel)) {
        strText = FormatValue(L"%3.1f", m_ZoneReading[0][z] - m_ZoneReading[1][z]);
        if (m_bShown && GetSafeHwnd() != nullptr) {
            SetItemText(strText, GetZoneReadoutId(nChannel));
            if (CWnd* pControl = GetDlgItem(GetZoneReadoutId(nChannel)))
                pControl->Invalidate();
        }
    } else {
        strText.Empty();
    }
}

void CTestGraph1::UpdateZoneReadouts()
{
    for (int c = kFirstZoneChannel; c <= GetHighestChannel(); ++c)
        UpdateZoneReadout(c);
}

int CTestGraph1::AreZoneBaselinesSet() const
{
    if (!AreZonesShown())
        return 1;
    for (int c = kFirstZoneChannel; c <= GetHighestChannel(); ++c) {
        if (IsZoneActive(c) && !m_bZoneBaselineSet[c - kFirstZoneChannel])
            return 0;
    }
    return 1;
}

void CTestGraph1::UpdateZoneLabels()
{
    const wchar_t chMethod = GetCurrentMethod();
    if (!AreZonesShown() || (chMethod != L'A' && chMethod != L'S') || m_pView == nullptr)
        return;
    const CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : m_pView->m_pSettings;
    const int bConnected = m_pView->AreAllPortsConnected() && m_bShown;
    const int nHighest = GetHighestChannel();
    int nChannel = kFirstZoneChannel;
    for (int i = 0; i < 4 && nChannel <= nHighest; ++i) {
        const CQarCommunications* pLink = Link(i);
        const int nChannels = std::clamp(m_DeviceChannels[i], 0, CQarCommThreads::kMaxValues);
        for (int c = i == 0 ? 2 : 0; c < nChannels && nChannel <= nHighest; ++c, ++nChannel) {
            const int z = nChannel - kFirstZoneChannel;
            const int bActive = IsZoneActive(nChannel);
            const int nID = GetZoneReadoutId(nChannel);
            if (bConnected && pLink != nullptr) {
                CString strChannel;
                if (pLink->m_bGauge)
                    strChannel = c == 0 ? L"A" : L"B";
                else
                    strChannel.Format(L"P%d", c + 1);
                if (bActive && pSettings != nullptr) {
                    m_strZoneLabel[z] = pSettings->m_strZoneName[Slot()][nChannel - kFirstZoneChannel];
                    m_strZoneCaption[z].Format(L"%s Ch %s", pLink->m_strModelSerial.GetString(),
                                               strChannel.GetString());
                    static const COLORREF kColours[4] = {0, 0xc00000, 0x8000, 128};
                    if (i > 0)
                        m_crZoneColour[z] = kColours[i];
                }
                ShowControl(nID, SW_SHOW);
                EnableControl(nID, bActive);
            } else {
                m_strZoneReadout[z].Empty();
                if (bActive)
                    SetItemText(CString(), nID);
            }
        }
    }
}

// Battery and device helpers.

int CTestGraph1::CheckBatteries()
{
    m_bBatteryTooLow = 0;
    int nLow = -1;
    bool bLowGauge = false;
    int nGaugeLevel = 0;
    for (int i = 0; i < std::clamp(m_DevicesInUse, 0, 4) && nLow < 0; ++i) {
        CQarCommunications* pLink = Link(i);
        if (pLink == nullptr)
            continue;
        if (pLink->m_bGauge) {
            pLink->ReadBatteryVoltage();
            nGaugeLevel = GetBatteryLevel(pLink->m_dBattery, pLink->m_bRQ80);
            if (nGaugeLevel < 0)
                return 0;
            if (nGaugeLevel > 0) {
                nLow = i;
                bLowGauge = true;
            }
        } else {
            double dValue = 0.0;
            ReadDeviceValueWithRetry(i, dValue);
            if (pLink->m_bLowBattery)
                nLow = i;
        }
    }
    if (nLow < 0) {
        if (m_bLowBatteryShown) {
            ShowLowBatteryWarning(0, 0);
            m_bLowBatteryShown = 0;
        }
        return 0;
    }
    const CString strLabel = GetDeviceRoleName(nLow);
    if (bLowGauge) {
        if (nGaugeLevel == 2) {
            CString strFormat, strText;
            strFormat.LoadString(IDS_GAUGE_BATTERY_TOO_LOW);
            strText.Format(strFormat.GetString(), strLabel.GetString());
            if (m_pView != nullptr)
                m_pView->ShowMessage(IDS_GAUGE_BATTERY_TOO_LOW, strText, 175, 0, 107);
            RestartFluctuationWatch();
            // Read by the auto-zero: the low battery stops it.
            m_bBatteryTooLow = 1;
            return 0;
        }
        ShowLowBatteryWarning(1, nLow);
        m_bLowBatteryShown = 1;
        return 0;
    }
    ShowLowBatteryWarning(1, nLow);
    m_bLowBatteryShown = 1;
    if (m_bBoxBatteryWarned)
        return 0;
    m_bBoxBatteryWarned = 1;
    CString strFormat, strText;
    strFormat.LoadString(IDS_BOX_BATTERY_LOW);
    strText.Format(strFormat.GetString(), strLabel.GetString());
    if (m_pView != nullptr)
        m_pView->ShowMessage(IDS_BOX_BATTERY_LOW, strText, 175, 0, 107);
    RestartFluctuationWatch();
    return 1;
}

int CTestGraph1::GetBatteryLevel(double dVolts, int bTwoChannelNetworkGauge)
{
    if (!(dVolts >= 0.1))
        return -1;
    const double dLow = bTwoChannelNetworkGauge ? kNetworkGaugeLow : kGaugeLow;
    const double dTooLow = bTwoChannelNetworkGauge ? kNetworkGaugeTooLow : kGaugeTooLow;
    if (dVolts > dLow)
        return 0;
    return dVolts < dTooLow ? 2 : 1;
}

int CTestGraph1::ReadDeviceValueWithRetry(int i, double& dValue)
{
    CQarCommunications* pLink = Link(i);
    if (m_pView == nullptr || m_pView->m_bShuttingDown || pLink == nullptr)
        return 0;
    for (int nAttempt = 0; nAttempt < 3; ++nAttempt) {
        if (pLink->m_hPort != nullptr)
            ::PurgeComm(pLink->m_hPort, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        dValue = pLink->ReadChannel(pLink->m_Channels[0]);
        if ((!pLink->m_bFailed && !pLink->m_bOverRange) || pLink->m_bNetwork)
            break;
    }
    if (!pLink->m_bFailed && !pLink->m_bOverRange) {
        if (!m_pView->m_bChannelCheckRunning)
            m_pView->m_nTickCount = 0;
        return 1;
    }
    if (pLink->m_bIdentified)
        pLink->ConnectDevice();
    m_DevicesInUse = 0;
    return 0;
}

void CTestGraph1::DrainNetworkInput(int i)
{
    CQarCommunications* pLink = Link(i);
    if (pLink == nullptr || !pLink->m_bNetwork)
        return;
    // Bounded: a peer that keeps sending must not hold this thread.
    const long long nStart = NowMs();
    for (int nBytes = 0; nBytes < kDrainMaxBytes && NowMs() - nStart < kDrainMaxMs; ++nBytes) {
        const short nByte = pLink->GetWifiByte(1000);
        if (nByte == 0 || nByte == 9999)
            break;
    }
}

void CTestGraph1::DrainAllNetworkInput()
{
    for (int i = 0; i < 4; ++i)
        DrainNetworkInput(i);
}

// Ring and control helpers.

void CTestGraph1::UpdateRingCalibration(int d)
{
    if (d != 0 && d != 1)
        return;
    CFanCalibrationDialog* pCal =
        m_pFanCalibration != nullptr ? m_pFanCalibration : (m_pView != nullptr ? m_pView->m_pFanCalibration : nullptr);
    if (pCal == nullptr)
        return;
    const wchar_t chFan = GetFanCode();
    const int nRing = std::clamp(m_CurrentRing[d], 0, 5);
    pCal->GetNominalFlowRange(chFan, nRing, m_AxisQmin[d], m_AxisQmax[d]);
    pCal->LoadFanRingCalibration(chFan, nRing);
}

void CTestGraph1::RefreshAfterRingChange()
{
    UpdateRingCalibration(Slot());
    RecalculateGraph(Slot());
    m_bLiveMarkerErased = 1;
    RedrawGraph();
}

void CTestGraph1::SetControlText(int nID, UINT nIDString)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    CString strText;
    strText.LoadString(nIDString);
    SetDlgItemText(nID, strText.GetString());
}

void CTestGraph1::SetItemText(const CString& strText, int nID)
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (CWnd* pControl = GetDlgItem(nID))
        pControl->SetWindowText(strText.GetString());
}

void CTestGraph1::ShowControl(int nID, int nCmdShow)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    if (CWnd* pControl = GetDlgItem(nID))
        pControl->ShowWindow(nCmdShow);
}

void CTestGraph1::FillRectWithPen(CDC* pDC, const CRect& rc, COLORREF crPen, COLORREF crBrush)
{
    if (pDC == nullptr)
        return;
    CPen pen(PS_SOLID, 1, crPen);
    CBrush brush(crBrush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Rectangle(rc);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}
