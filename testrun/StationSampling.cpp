// Sampling a settled station and storing its data point; deleting a stored
// entry.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "pages/ManualDataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kFirstZoneChannel = 3;
constexpr int kAstmStandard = 2;

int Slot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

}  // namespace

int CTestGraph1::IsStationComplete(int nSamples, double dDataSamples, int bAstm, int bAstmElapsed)
{
    if (static_cast<double>(nSamples) < dDataSamples)
        return 0;
    return !bAstm || bAstmElapsed ? 1 : 0;
}

void CTestGraph1::ClampForDisplay(double& dFlow, double& dBuilding)
{
    if (dFlow < 0.1)
        dFlow = 0.1;
    if (dBuilding > -0.1 && dBuilding < 0.1)
        dBuilding = 0.1;
}

int CTestGraph1::IsSamplingComplete(int nSamples)
{
    const int bAstm = GetStandard() == kAstmStandard ? 1 : 0;
    const int bElapsed = bAstm ? IsAstmTimeElapsed() : 0;
    const int bComplete = IsStationComplete(nSamples, GetDataSamples(), bAstm, bElapsed);
    if (bComplete) {
        DrainAllNetworkInput();
    } else if (bAstm) {
        m_strElapsedSeconds.Format(L"%d", m_nAstmElapsedSeconds);
        SetItemText(m_strElapsedSeconds, IDC_TG_ELAPSED);
    }
    return bComplete;
}

void CTestGraph1::SampleStation()
{
    const int d = Slot();
    CQarMathFunctions math;
    // 1. The first sample: a fresh zero and reading.
    if (m_nSampleCount == 0) {
        if (!m_bFlowTooSmall && !m_bLiveMarkerErased) {
            DrawLiveMarker(m_dLiveMarkerP, m_dLiveMarkerQ);
            m_bLiveMarkerErased = 1;
        }
        m_bSamplingDisplay = 1;
        EnableFanControls(0);
        if (!AutoZeroAll()) {
            m_bStopPending = 1;
            ResetRunControls();
            // The failed gauges are out of use and the timer steps no more:
            // the stop is handled now, or the run stays open with the fan on.
            if (m_DevicesInUse == 0)
                HandleStop();
            return;
        }
        if (GetStandard() == kAstmStandard)
            StartAstmWatch();
        int nFailed = 0;
        if (!ReadAllChannels(m_dBuilding, m_dFan, nFailed)) {
            m_bStopPending = 1;
            ResetRunControls();
            if (m_DevicesInUse == 0)
                HandleStop();
            return;
        }
        CFanCalibrationDialog* pCal =
            m_pFanCalibration != nullptr ? m_pFanCalibration : (m_pView != nullptr ? m_pView->m_pFanCalibration : nullptr);
        m_dFlow = pCal != nullptr ? pCal->m_dSelC * std::pow(std::fabs(m_dFan), pCal->m_dSelN) : 0.0;
    }
    // 2. Running means.
    const int k = m_nSampleCount;
    m_dMeanFan = math.RunningMean(m_dMeanFan, k, m_dFan);
    math.RunningMeanAndStdDev(m_dMeanBuilding, m_dSdBuilding, k, m_dBuilding);
    math.RunningMeanAndStdDev(m_dMeanFlow, m_dSdFlow, k, m_dFlow);
    if (AreZonesShown()) {
        const int nHighest = GetHighestChannel();
        for (int c = kFirstZoneChannel; c <= nHighest && c < kFirstZoneChannel + kZoneChannels; ++c) {
            if (!IsZoneActive(c))
                continue;
            const int z = c - kFirstZoneChannel;
            math.RunningMeanAndStdDev(m_dZoneMean[z], m_dZoneSd[z], k, m_ZoneReading[0][z]);
        }
    }
    // 3. The sample on the graph.
    const int t = std::clamp(m_CompletedTests[d], 0, kMaxTests - 1);
    if (!m_bFlowTooSmall) {
        PlotLivePixel(m_dBuilding - m_dBaseline, m_FlowFactor[d][t] * m_dFlow);
        if (IsDisplayWatchElapsed()) {
            UpdateReadouts(0, m_dBuilding - m_dBaseline, m_dBaseline, m_dFan, m_FlowFactor[d][t] * m_dFlow, 0);
            StartDisplayWatch();
        }
    }
    // 4.
    ++m_nSampleCount;
    m_strSampleCount.Format(L"%d", m_nSampleCount);
    SetItemText(m_strSampleCount, IDC_TG_SAMPLE_COUNT);
    // 5.
    if (!IsSamplingComplete(m_nSampleCount))
        return;
    StoreStationPoint();
}

void CTestGraph1::StoreStationPoint()
{
    const int d = Slot();
    // 1. The fan's limit on the adjusted pressure.
    if (m_pView != nullptr)
        m_pView->CheckAdjustedPressureLimit(std::fabs(m_dWindowMean), GetFanCode());
    RestartFluctuationWatch();
    // 2.
    m_bSamplingDisplay = 0;
    EmptyReadingWindow();
    m_dGain = 1.0;
    EnableFanControls(1);
    m_bLiveMarkerErased = 1;
    // The store keeps one entry for the closing marker; a point that cannot
    // be stored with room to close the test ends the test instead.
    if (!HasRoomForDataPoint(d)) {
        m_bSettled = 0;
        EndTest();
        m_bStopPending = 1;
        return;
    }
    // 3. The point, as measured.
    const int k = m_StationCount[d];
    m_Qavg[d][k] = m_dMeanFlow;
    m_Pavg[d][k] = m_dMeanBuilding;
    if (AreZonesShown()) {
        const int nHighest = GetHighestChannel();
        for (int c = kFirstZoneChannel; c <= nHighest && c < kFirstZoneChannel + kZoneChannels; ++c) {
            if (!IsZoneActive(c))
                continue;
            const int z = c - kFirstZoneChannel;
            m_ZonePavg[d][z][k] = m_dZoneMean[z];
            m_ZoneStdDev[d][z][k] = m_dZoneSd[z];
        }
    }
    m_Pfan[d][k] = m_dMeanFan;
    m_Ring[d][k] = m_CurrentRing[d];
    m_TargetP[d][k] = m_Targets[d][std::clamp(m_nPointIndex, 0, kMaxTargets)];
    // 4. Drawn clamped.
    ClampForDisplay(m_dMeanFlow, m_dMeanBuilding);
    // 5.
    m_QStdDev[d][k] = m_dSdFlow;
    m_PStdDev[d][k] = m_dSdBuilding;
    ++m_nPointIndex;
    ++m_StationCount[d];
    m_bSettled = 0;
    // 6. Axis check.
    const int t = std::clamp(m_CompletedTests[d], 0, kMaxTests - 1);
    const double Q = m_FlowFactor[d][t] * m_dMeanFlow;
    const double P = std::fabs(m_dMeanBuilding - m_dBaseline);
    if (Q > m_AxisQmax[d] || Q < m_AxisQmin[d] || P > m_AxisPmax[d] || P < m_AxisPmin[d]) {
        RecalculateGraph(d);
        if (m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0)
            m_bCurveValid = 1;
        RedrawGraph();
        m_bLiveMarkerErased = 1;
    }
    // 7. The point on the screen.
    if (!m_bFlowTooSmall && m_bShown && GetSafeHwnd() != nullptr) {
        if (Q > m_dDrawnQmax || Q < m_dDrawnQmin) {
            RecalculateGraph(d);
            m_bCurveValid = 0;
            RedrawGraph();
        }
        CClientDC dc(this);
        m_rcMarker[d][k] = DrawPointMarker(&dc, d == 1, t, m_rcPlot, m_dMeanBuilding - m_dBaseline, Q);
    }
    // 8. After the highest pressure the next window is full only after
    // eleven readings.
    if (m_bCollectAtHighest) {
        m_nWindowFill -= 1;
        m_bWindowFull = 0;
        m_bCollectAtHighest = 0;
    }
    // 9. The next target, or the end of the list.
    const double dNext = m_Targets[d][std::clamp(m_nPointIndex, 0, kMaxTargets)];
    // A slot with room only for the closing marker ends the test as if its
    // targets were exhausted.
    if (dNext == 0.0 || m_nPointIndex >= kMaxTargets || !HasRoomForDataPoint(d)) {
        EndTest();
        m_bStopPending = 1;
        return;
    }
    if (IsGaugeFamilyPrimary())
        m_bSpeedPredictionArmed = 1;
}

int CTestGraph1::DeleteDataPoint(int d, int k)
{
    if (d != 0 && d != 1)
        return 0;
    const int nCount = UsedEntries(d);
    if (k < 0 || k >= nCount)
        return nCount;
    const bool bZones = AreZonesShown() != 0;
    for (int i = k; i <= nCount - 2; ++i) {
        m_TargetP[d][i] = m_TargetP[d][i + 1];
        m_Pavg[d][i] = m_Pavg[d][i + 1];
        m_Qavg[d][i] = m_Qavg[d][i + 1];
        m_Pfan[d][i] = m_Pfan[d][i + 1];
        m_PStdDev[d][i] = m_PStdDev[d][i + 1];
        m_QStdDev[d][i] = m_QStdDev[d][i + 1];
        m_Ring[d][i] = m_Ring[d][i + 1];
        if (bZones) {
            for (int z = 0; z < kZoneChannels; ++z) {
                m_ZonePavg[d][z][i] = m_ZonePavg[d][z][i + 1];
                m_ZoneStdDev[d][z][i] = m_ZoneStdDev[d][z][i + 1];
            }
        }
    }
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    CManualDataEntryDialog* pManual =
        m_pManualEntry != nullptr ? m_pManualEntry : (m_pView != nullptr ? m_pView->m_pManualEntry : nullptr);
    if (pSettings != nullptr && pManual != nullptr && pSettings->m_chMethodLetter[d] == L'M') {
        // The grid's rows follow the entries; the row after the last moved
        // one is emptied.
        const int nRows = CManualDataEntryDialog::kRows;
        for (int i = k; i <= nCount - 2 && i < nRows; ++i) {
            if (i < nCount - 2 && i + 1 < nRows) {
                pManual->m_strBuildingP[d][i] = pManual->m_strBuildingP[d][i + 1];
                pManual->m_strFanP[d][i] = pManual->m_strFanP[d][i + 1];
                pManual->m_strFlow[d][i] = pManual->m_strFlow[d][i + 1];
                pManual->m_nRing[d][i] = pManual->m_nRing[d][i + 1];
            } else {
                pManual->m_strBuildingP[d][i].Empty();
                pManual->m_strFanP[d][i].Empty();
                pManual->m_strFlow[d][i].Empty();
                pManual->m_nRing[d][i] = -1;
            }
        }
    }
    // The groups are paired over the shortened slot, not the old count.
    m_StationCount[d] = nCount - 1;
    IndexTestGroups();
    return m_StationCount[d];
}
