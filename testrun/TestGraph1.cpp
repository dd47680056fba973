#include "testrun/TestGraph1.h"

#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/QarCommThreads.h"
#include "pages/BaselineDataEntry.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "res/resource.h"

namespace {

bool IsSlot(int d)
{
    return d == 0 || d == 1;
}

}  // namespace

CTestGraph1::CTestGraph1(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CTestGraph1", true);
    for (int d = 0; d < 2; ++d) {
        m_NFixed[d] = 0;
        m_TwoPointFit[d] = 0;
    }
    ResetTestData();
    m_hStatusBrush.CreateSolidBrush(RGB(0, 255, 0));
    for (int d = 0; d < 2; ++d) {
        m_FitN[d] = 0.0;
        for (int t = 0; t < kMaxTests; ++t) {
            m_FlowFactor[d][t] = 1.0;
            m_TestRhoIn[d][t] = 0.0;
            m_TestRhoOut[d][t] = 0.0;
            // Nothing was measured yet; a reader must not take zeros for readings.
            std::fill_n(m_PreBaselineSeconds[d][t], kBaselineSeconds, kNotMeasured);
            std::fill_n(m_PostBaselineSeconds[d][t], kBaselineSeconds, kNotMeasured);
        }
    }
    m_DevicesInUse = 0;
    m_ChannelsInUse = 0;
    for (CQarCommThreads*& pWorker : m_Workers)
        pWorker = new CQarCommThreads;
    g_bLiveReadings = 0;
}

CTestGraph1::~CTestGraph1()
{
    TraceLifecycle("CTestGraph1", false);
    // A worker whose thread outlived its wait still uses its object: the
    // group deletes it once it has ended (its destructor waits for that).
    for (CQarCommThreads*& pWorker : m_Workers) {
        m_WorkerGroup.DeleteWhenEnded(pWorker);
        pWorker = nullptr;
    }
}

void CTestGraph1::ResetTestData()
{
    for (int d = 0; d < 2; ++d) {
        m_StationCount[d] = 0;
        m_CompletedTests[d] = 0;
        m_CurrentRing[d] = 0;
        m_LastDeletedIndex[d] = -1;
        for (CString& point : m_DeletedPoints[d])
            point.Empty();
        m_AxisPmin[d] = 4.0;
        m_AxisPmax[d] = 70.0;
        m_AxisQmin[d] = 100.0;
        m_AxisQmax[d] = 6000.0;
        for (int t = 0; t < kMaxTests; ++t) {
            // No test exists any more, so none keeps its place in the entries.
            m_TestFirstRow[d][t] = -1;
            m_TestRowCount[d][t] = 0;
            for (int phase = 0; phase < 2; ++phase) {
                m_TestTin[phase][d][t] = 0.0;
                m_TestTout[phase][d][t] = 0.0;
                m_TestPbaro[phase][d][t] = 0.0;
            }
        }
    }
    std::fill_n(m_ZoneLiveMean, kZoneChannels, 0.0);

    m_FanSpeed = 0.0;
    m_dBaseline = 0.0;
    m_CruiseMode = 0;
    m_bCurveValid = 0;
    m_dSavedSliderPos = 0.0;
    m_strCompletedTests.Format(L"%d", m_CompletedTests[0] + m_CompletedTests[1]);
}

void CTestGraph1::ClearAllTestData()
{
    ResetTestData();
    if (m_pView == nullptr)
        return;
    if (m_pView->m_pDeviations != nullptr)
        m_pView->m_pDeviations->ClearAllDeviations();
    if (m_pView->m_pManualEntry != nullptr) {
        m_pView->m_pManualEntry->ClearData(0);
        m_pView->m_pManualEntry->ClearData(1);
    }
}

// The counts are checked as they are, not as UsedEntries holds them: a
// writer stores at index m_StationCount, which must lie inside the arrays.
bool CTestGraph1::HasRoomForTest(int d) const
{
    return IsSlot(d) && m_CompletedTests[d] >= 0 && m_CompletedTests[d] < kMaxTests && m_StationCount[d] >= 0 &&
           m_StationCount[d] + 3 <= kMaxEntries;
}

bool CTestGraph1::HasRoomForDataPoint(int d) const
{
    return IsSlot(d) && m_StationCount[d] >= 0 && m_StationCount[d] + 2 <= kMaxEntries;
}

bool CTestGraph1::HasRoomForEntry(int d) const
{
    return IsSlot(d) && m_StationCount[d] >= 0 && m_StationCount[d] < kMaxEntries;
}

bool CTestGraph1::HasRoomForDeletedPoint(int d) const
{
    return IsSlot(d) && m_LastDeletedIndex[d] >= -1 && m_LastDeletedIndex[d] + 1 < kMaxDeletedPoints;
}

int CTestGraph1::UsedEntries(int d) const
{
    return IsSlot(d) ? std::clamp(m_StationCount[d], 0, kMaxEntries) : 0;
}

int CTestGraph1::UsedTests(int d) const
{
    return IsSlot(d) ? std::clamp(m_CompletedTests[d], 0, kMaxTests) : 0;
}

void CTestGraph1::IndexTestGroups()
{
    for (int d = 0; d < 2; ++d) {
        std::fill_n(m_TestFirstRow[d], kMaxTests, -1);
        std::fill_n(m_TestRowCount[d], kMaxTests, 0);
    }
    for (int d = 0; d < 2; ++d) {
        const int nEntries = UsedEntries(d);
        int t = 0;
        bool bExpectOpening = true;
        // Entries after the 32nd closing marker belong to no test.
        for (int i = 0; i < nEntries && t < kMaxTests; ++i) {
            if (m_Ring[d][i] != -1)
                continue;
            if (bExpectOpening) {
                m_TestFirstRow[d][t] = i;
            } else {
                m_TestRowCount[d][t] = i - m_TestFirstRow[d][t] + 1;
                ++t;
            }
            bExpectOpening = !bExpectOpening;
        }
    }
}

void CTestGraph1::NumberTestGroups(int d)
{
    if (!IsSlot(d))
        return;
    std::fill_n(m_EntryTestNumber[d], kMaxEntries, 0);
    const int nEntries = UsedEntries(d);
    bool bPointSeen = false;
    int nClosed = 0;
    for (int i = 0; i < nEntries && nClosed < kMaxTests; ++i) {
        if (m_Ring[d][i] != -1) {
            bPointSeen = true;
        } else if (bPointSeen) {
            m_EntryTestNumber[d][i] = ++nClosed;
            bPointSeen = false;
        } else {
            m_EntryTestNumber[d][i] = -1;
        }
    }
}

void CTestGraph1::ScaleFlows(double x, int d)
{
    if (!IsSlot(d) || m_CompletedTests[d] < 1)
        return;
    const int nEntries = UsedEntries(d);
    for (int i = 0; i < nEntries; ++i)
        m_Qavg[d][i] *= x;
}

void CTestGraph1::LoadManualEntryData(int d)
{
    if (!IsSlot(d) || m_pView == nullptr || m_pView->m_pManualEntry == nullptr)
        return;
    const CManualDataEntryDialog& manual = *m_pView->m_pManualEntry;
    // The grid has rows 1 to 12 for points; a larger count would read its
    // post-test row and beyond as points.
    const int nRows = std::clamp(manual.m_nRowCount[d], 0, CManualDataEntryDialog::kRows - 2);
    if (nRows == 0) {
        m_StationCount[d] = 0;
        m_CompletedTests[d] = 0;
        m_LastDeletedIndex[d] = -1;
        return;
    }
    m_CompletedTests[d] = 1;

    auto setMarker = [this, d](int i, double dPavg) {
        m_Pavg[d][i] = dPavg;
        m_Ring[d][i] = -1;
        m_TargetP[d][i] = 0.0;
        m_PStdDev[d][i] = 0.0;
        m_QStdDev[d][i] = 0.0;
    };
    setMarker(0, CSimbrel1View::TextToDouble(manual.m_strBuildingP[d][0]));

    const double dBaselineMean = (manual.m_dPreBaseline[d] + manual.m_dPostBaseline[d]) / 2.0;
    const wchar_t chDirection = m_pSettings != nullptr ? m_pSettings->m_chDirectionLetter[d] : L'\0';
    for (int i = 1; i <= nRows; ++i) {
        const double dP = CSimbrel1View::TextToDouble(manual.m_strBuildingP[d][i]);
        m_TargetP[d][i] = dP;
        m_Pavg[d][i] = dP;
        // A point exactly at the baseline would have no pressure difference
        // to fit; move it a little in the direction's sign.
        if (dP - dBaselineMean == 0.0) {
            if (chDirection == L'P')
                m_Pavg[d][i] = dP + 0.01;
            else if (chDirection == L'D')
                m_Pavg[d][i] = dP - 0.01;
        }
        m_Pfan[d][i] = CSimbrel1View::TextToDouble(manual.m_strFanP[d][i]);
        m_Ring[d][i] = manual.m_nRing[d][i];
        m_Qavg[d][i] = 0.0;
        if (m_pFanCalibration != nullptr) {
            m_pFanCalibration->LoadFanRingCalibration(manual.m_chFanCode, m_Ring[d][i]);
            m_Qavg[d][i] = m_pFanCalibration->m_dSelC * std::pow(std::fabs(m_Pfan[d][i]), m_pFanCalibration->m_dSelN);
        }
        m_PStdDev[d][i] = 0.0;
        m_QStdDev[d][i] = 0.0;
    }

    const CString& strPost = manual.m_strBuildingP[d][CManualDataEntryDialog::kRows - 1];
    setMarker(nRows + 1, strPost.IsEmpty() ? m_Pavg[d][0] : CSimbrel1View::TextToDouble(strPost));
    m_StationCount[d] = nRows + 2;

    if (m_pView->m_pBaseline != nullptr) {
        const CBaselineDataEntry& baseline = *m_pView->m_pBaseline;
        m_TestBaselinePlusPre[d][0] = CSimbrel1View::TextToDouble(baseline.m_strPretestPlus[d]);
        m_TestBaselineMinusPre[d][0] = CSimbrel1View::TextToDouble(baseline.m_strPretestMinus[d]);
        m_TestBaselinePlusPost[d][0] = CSimbrel1View::TextToDouble(baseline.m_strPosttestPlus[d]);
        m_TestBaselineMinusPost[d][0] = CSimbrel1View::TextToDouble(baseline.m_strPosttestMinus[d]);
    }
}

double CTestGraph1::MinAbsValue(const double* pValues, const int* pRings, int nCount)
{
    const int n = std::clamp(nCount, 0, kMaxEntries);
    bool bFound = false;
    double dMin = 0.0;
    for (int i = 0; i < n; ++i) {
        if (pRings[i] == -1)
            continue;
        const double a = std::fabs(pValues[i]);
        if (!bFound || a < dMin)
            dMin = a;
        bFound = true;
    }
    return dMin;
}

double CTestGraph1::MaxAbsValue(const double* pValues, const int* pRings, int nCount)
{
    const int n = std::clamp(nCount, 0, kMaxEntries);
    bool bFound = false;
    double dMax = 0.0;
    for (int i = 0; i < n; ++i) {
        if (pRings[i] == -1)
            continue;
        const double a = std::fabs(pValues[i]);
        if (!bFound || a > dMax)
            dMax = a;
        bFound = true;
    }
    return dMax;
}

double CTestGraph1::FindLargePressureInterval(const double* pPressures, int nCount, double& dMin, double& dMax)
{
    const int n = std::clamp(nCount, 0, kMaxEntries);
    dMin = 1000.0;
    dMax = 0.0;
    double dResult = 0.0;
    for (int i = 0; i < n; ++i) {
        const double a = std::fabs(pPressures[i]);
        dMin = std::min(dMin, a);
        dMax = std::max(dMax, a);
        // Distance down to the nearest smaller magnitude; 100 Pa or more
        // counts as no gap at all.
        double dGap = 100.0;
        for (int j = 0; j < n; ++j) {
            const double dDiff = a - std::fabs(pPressures[j]);
            if (j != i && dDiff > 0.0 && dDiff < dGap)
                dGap = dDiff;
        }
        if (dGap >= 100.0)
            dGap = 0.0;
        if (dGap > 10.0)
            dResult = dGap;
    }
    return dResult;
}

void CTestGraph1::CheckStackEffectAll()
{
    for (int d = 0; d < 2; ++d) {
        const int nTests = UsedTests(d);
        for (int t = 0; t < nTests; ++t)
            CheckStackEffect(d, t);
    }
}

void CTestGraph1::CheckStackEffect(int d, int t)
{
    if (!IsSlot(d) || t < 0 || t >= kMaxTests || m_pView == nullptr)
        return;
    CDeviationsFromStandard* pDeviations = m_pView->m_pDeviations;
    if (pDeviations != nullptr && pDeviations->m_pLists[d][t] != nullptr)
        pDeviations->SetDeviation(kStackEffectPosition, CString(), d, t);

    double dTemperatureDiff = std::fabs((m_TestTin[0][d][t] + m_TestTin[1][d][t]) / 2.0 -
                                        (m_TestTout[0][d][t] + m_TestTout[1][d][t]) / 2.0);
    if (m_pView->m_nTemperatureUnit == 0)
        dTemperatureDiff *= 0.5555555555555556;
    double dHeight = m_pView->m_pBuildingInfo != nullptr ? m_pView->m_pBuildingInfo->m_dHeight[d] : 0.0;
    if (m_pView->m_nBuildingUnit == 0)
        dHeight *= 0.3048;
    if (dTemperatureDiff * dHeight > 200.0)
        AddDeviation(kStackEffectPosition, IDS_STACK_EFFECT_EXCEEDED, d, t);
}

void CTestGraph1::AddDeviation(int nPosition, UINT nStringId, int d, int t)
{
    if (m_pView == nullptr || m_pView->m_pDeviations == nullptr)
        return;
    CString strText;
    strText.LoadString(nStringId);
    m_pView->m_pDeviations->SetDeviation(nPosition, strText, d, t);
}

CString CTestGraph1::GetRingLabel(int nRing, wchar_t chFanCode)
{
    const bool bBlowerDoorFan = chFanCode == L'3' || chFanCode == L'4' || chFanCode == L'5';
    if (bBlowerDoorFan && nRing >= 1 && nRing <= 5)
        return CString(static_cast<wchar_t>(L'A' + nRing - 1));
    if (!bBlowerDoorFan && nRing >= 1 && nRing <= 4)
        return CString(static_cast<wchar_t>(L'1' + nRing - 1));
    CString strOpen;
    strOpen.LoadString(IDS_OPEN);
    return strOpen;
}

CString CTestGraph1::GetFlowPrecisionFormat(const CString& strFormat, int d) const
{
    if (!IsSlot(d) || m_pEquipment == nullptr || m_pEquipment->m_chFanCode != L'B')
        return CString();
    const int nEntries = UsedEntries(d);
    for (int i = 0; i < nEntries; ++i) {
        if (m_Ring[d][i] != -1 && m_Ring[d][i] != 4)
            return CString();
    }
    CString strResult = strFormat;
    const int nPos = strResult.Find(L".0f");
    if (nPos >= 0)
        strResult = strResult.Left(nPos) + L".1f" + strResult.Mid(nPos + 3);
    return strResult;
}

void CTestGraph1::RedrawGraph()
{
    // The run draws between its own message pumps: paint now, not when the
    // queue next drains.
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
