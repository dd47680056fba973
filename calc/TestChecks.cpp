// Checks of each test against the rules of its standard: the rules on plain
// data, and the store's members that run them and keep what they find.
#include "calc/TestChecks.h"

#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "pages/BuildingInfoDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace TestChecks {

namespace {

CDeviationFinding Finding(int nPosition, UINT nStringId, bool bRecordWide = false)
{
    CDeviationFinding finding;
    finding.nPosition = nPosition;
    finding.nStringId = nStringId;
    finding.strText.LoadString(nStringId);
    finding.bRecordWide = bRecordWide;
    return finding;
}

CDeviationFinding FormattedFinding(int nPosition, UINT nStringId, double dValue)
{
    CDeviationFinding finding = Finding(nPosition, nStringId);
    CString strFormat = finding.strText;
    finding.strText.Format(strFormat.GetString(), dValue);
    return finding;
}

int PointCount(const CTestCheckInput& in)
{
    return static_cast<int>(in.pressures.size());
}

double BaselineMean(const CTestCheckInput& in)
{
    return (in.dPreBaseline + in.dPostBaseline) / 2.0;
}

double LargestBaselineMean(const CTestCheckInput& in)
{
    double dLargest = 0.0;
    for (double dMean : in.dBaselineMeans)
        dLargest = std::max(dLargest, std::fabs(dMean));
    return dLargest;
}

// The gap rule shared by EN 13829, ISO 9972 and ASTM E779; also gives the
// smallest and largest pressure magnitude.
bool HasLargeGap(const CTestCheckInput& in, double& dMin, double& dMax)
{
    return CTestGraph1::FindLargePressureInterval(in.pressures.data(), PointCount(in), dMin, dMax) >= 10.0;
}

void AddGapAndCountRules(const CTestCheckInput& in, bool bLargeGap, std::vector<CDeviationFinding>& findings)
{
    if (bLargeGap && PointCount(in) > 1)
        findings.push_back(Finding(kPressureGap, IDS_DEV_PRESSURE_GAP));
    if (PointCount(in) < 5)
        findings.push_back(Finding(kTooFewPoints, IDS_DEV_FEWER_THAN_5_POINTS));
}

}  // namespace

std::vector<CDeviationFinding> CheckFitLimits(const CTestCheckInput& in)
{
    std::vector<CDeviationFinding> findings;
    // A failed test fit leaves n at -1: always a deviation.
    if (in.dTestN <= 0.0 || (in.n.m_bValid && (in.dTestN < 0.495 || in.dTestN > 1.0)))
        findings.push_back(FormattedFinding(kNValue, IDS_DEV_N_VALUE, in.dTestN));
    const bool bCorrelationRule = in.r.m_bValid && PointCount(in) > 2;
    if (in.nStandard == 3) {
        if (bCorrelationRule && in.dTestR2 < 0.98)
            findings.push_back(FormattedFinding(kCorrelation, IDS_DEV_DETERMINATION, in.dTestR2));
    } else if (in.nStandard != 1) {
        if (bCorrelationRule && in.dTestR <= 0.99)
            findings.push_back(FormattedFinding(kCorrelation, IDS_DEV_CORRELATION, in.dTestR));
    }
    return findings;
}

std::vector<CDeviationFinding> CheckCgsb(const CTestCheckInput& in)
{
    std::vector<CDeviationFinding> findings;
    const int nPoints = PointCount(in);
    const double dBaseline = BaselineMean(in);

    // Without a valid direction fit there is no curve to compare with (the
    // results show the failed fit). A point whose curve flow is 0 or not a
    // number cannot be judged and counts as deviating.
    if (in.C.m_bValid && in.n.m_bValid) {
        for (int i = 0; i < nPoints; ++i) {
            const double dPressure = in.pressures[i] - dBaseline;
            const double dFlow = in.flows[i] * in.dFlowFactor;
            const double dCurveFlow = in.C.m_dValue * std::pow(std::fabs(dPressure), in.n.m_dValue);
            const bool bJudged = std::isfinite(dCurveFlow) && dCurveFlow != 0.0;
            const double dDeviation =
                bJudged ? CSimbrel1View::PercentDeviationFromCurve(dPressure, dFlow, in.C.m_dValue, in.n.m_dValue)
                        : 0.0;
            if (!bJudged || !std::isfinite(dDeviation) || std::fabs(dDeviation) >= 6.0) {
                findings.push_back(Finding(kPointFlowError, IDS_DEV_POINT_FLOW_ERROR));
                break;
            }
        }
    }

    if (in.eqla.m_dError >= 7.0)
        findings.push_back(Finding(kEqlaError, IDS_DEV_EQLA_ERROR));

    if (in.chMethod == L'A' || in.chMethod == L'S') {
        for (int i = 0; i < nPoints; ++i) {
            if (std::fabs(std::fabs(in.pressures[i] - dBaseline) - in.targets[i]) > 2.5) {
                findings.push_back(Finding(kOffTarget, IDS_DEV_OFF_TARGET));
                break;
            }
        }
    }

    if (nPoints < 8)
        findings.push_back(Finding(kTooFewCgsbPoints, IDS_DEV_NOT_ALL_8_TARGETS));
    return findings;
}

std::vector<CDeviationFinding> CheckEn13829(const CTestCheckInput& in)
{
    std::vector<CDeviationFinding> findings;
    double dMin = 0.0;
    double dMax = 0.0;
    const bool bLargeGap = HasLargeGap(in, dMin, dMax);
    if (LargestBaselineMean(in) > 5.0)
        findings.push_back(Finding(kBaseline, IDS_DEV_BASELINE));
    AddGapAndCountRules(in, bLargeGap, findings);
    return findings;
}

std::vector<CDeviationFinding> CheckIso9972(const CTestCheckInput& in)
{
    std::vector<CDeviationFinding> findings;
    double dMin = 0.0;
    double dMax = 0.0;
    const bool bLargeGap = HasLargeGap(in, dMin, dMax);
    if (LargestBaselineMean(in) > 5.05)
        findings.push_back(Finding(kBaseline, IDS_DEV_BASELINE));

    // The lowest pressure belongs at the greater of 10 Pa and five times the
    // zero-flow pressure, within 3 Pa.
    const double dExpected = std::max(10.0, 5.0 * std::fabs(in.dPreBaseline));
    if (dMin < dExpected - 3.0 || dMin > dExpected + 3.0)
        findings.push_back(Finding(kLowestPressure, IDS_DEV_LOWEST_PRESSURE));

    if (dMax < 25.0)
        findings.push_back(Finding(kHighestBelow25, IDS_DEV_HIGHEST_BELOW_25));
    if (dMax > 25.0 && dMax < 50.0)
        findings.push_back(Finding(kHighestBelow50, IDS_DEV_HIGHEST_BELOW_50));
    AddGapAndCountRules(in, bLargeGap, findings);
    return findings;
}

std::vector<CDeviationFinding> CheckAstmE779(const CTestCheckInput& in)
{
    std::vector<CDeviationFinding> findings;
    double dMin = 0.0;
    double dMax = 0.0;
    AddGapAndCountRules(in, HasLargeGap(in, dMin, dMax), findings);
    if (in.nCompletedTests[0] < 1)
        findings.push_back(Finding(kNoPressurization, IDS_DEV_NO_PRESSURIZATION, true));
    if (in.nCompletedTests[1] < 1)
        findings.push_back(Finding(kNoDepressurization, IDS_DEV_NO_DEPRESSURIZATION, true));
    return findings;
}

std::vector<CDeviationFinding> CheckTest(const CTestCheckInput& in)
{
    std::vector<CDeviationFinding> findings = CheckFitLimits(in);
    std::vector<CDeviationFinding> own;
    switch (in.nStandard) {
    case 0: own = CheckCgsb(in); break;
    case 1: own = CheckEn13829(in); break;
    case 2: own = CheckAstmE779(in); break;
    case 3: own = CheckIso9972(in); break;
    default: break;
    }
    findings.insert(findings.end(), own.begin(), own.end());
    return findings;
}

}  // namespace TestChecks

namespace {

bool IsTestOfSlot(int d, int t)
{
    return (d == 0 || d == 1) && t >= 0 && t < CTestGraph1::kMaxTests;
}

}  // namespace

int CTestGraph1::GetTestPointCount(int d, int t) const
{
    if (!IsTestOfSlot(d, t))
        return 0;
    // A group a damaged file left unclosed, or one that runs past the used
    // entries, has no points to check.
    const int nFirst = m_TestFirstRow[d][t];
    const int nCount = m_TestRowCount[d][t];
    if (nFirst < 0 || nCount < 2 || nFirst + nCount > UsedEntries(d))
        return 0;
    return nCount - 2;
}

int CTestGraph1::GetCheckStandard() const
{
    return m_pSettings != nullptr ? m_pSettings->m_nStandard : -1;
}

CTestCheckInput CTestGraph1::GatherCheckInput(int d, int t) const
{
    CTestCheckInput in;
    in.nStandard = GetCheckStandard();
    in.chMethod = m_pSettings != nullptr ? m_pSettings->m_chMethodLetter[d] : L'A';
    const int nPoints = GetTestPointCount(d, t);
    const int nFirstPoint = m_TestFirstRow[d][t] + 1;
    for (int i = nFirstPoint; i < nFirstPoint + nPoints; ++i) {
        in.pressures.push_back(m_Pavg[d][i]);
        in.targets.push_back(m_TargetP[d][i]);
        in.flows.push_back(m_Qavg[d][i]);
    }
    in.dFlowFactor = m_FlowFactor[d][t];
    in.dTestN = m_TestN[d][t];
    in.dTestR = m_TestR[d][t];
    in.dTestR2 = m_TestR2[d][t];
    in.dPreBaseline = m_TestPreBaseline[d][t];
    in.dPostBaseline = m_TestPostBaseline[d][t];
    in.dBaselineMeans[0] = m_TestBaselinePlusPre[d][t];
    in.dBaselineMeans[1] = m_TestBaselineMinusPre[d][t];
    in.dBaselineMeans[2] = m_TestBaselinePlusPost[d][t];
    in.dBaselineMeans[3] = m_TestBaselineMinusPost[d][t];
    if (m_pView != nullptr && m_pView->m_pResults != nullptr) {
        const CResultValue* pResults = m_pView->m_pResults->m_Results[d];
        in.C = pResults[CTestResultsDialog::kC];
        in.n = pResults[CTestResultsDialog::kN];
        in.r = pResults[CTestResultsDialog::kR];
        in.eqla = pResults[CTestResultsDialog::kEqla];
    }
    in.nCompletedTests[0] = UsedTests(0);
    in.nCompletedTests[1] = UsedTests(1);
    return in;
}

void CTestGraph1::StoreFindings(int d, int t, const std::vector<CDeviationFinding>& findings)
{
    if (m_pView == nullptr || m_pView->m_pDeviations == nullptr)
        return;
    for (const CDeviationFinding& finding : findings) {
        if (finding.bRecordWide)
            m_pView->m_pDeviations->SetDeviation(finding.nPosition, finding.strText, 0, 0);
        else
            m_pView->m_pDeviations->SetDeviation(finding.nPosition, finding.strText, d, t);
    }
}

void CTestGraph1::CheckTestAgainstStandard(int d, int t, int bRecompute)
{
    if (bRecompute && m_pView != nullptr && m_pView->m_pResults != nullptr)
        m_pView->m_pResults->ComputeResults(g_nCurrentDirection);
    switch (GetCheckStandard()) {
    case 0: CheckCgsbTest(d, t); break;
    case 1: CheckEn13829Test(d, t); break;
    case 2: CheckAstmE779Test(d, t); break;
    case 3: CheckIso9972Test(d, t); break;
    default: break;
    }
}

bool CTestGraph1::BeginTestCheck(int d, int t, bool bStandardFits)
{
    if (!bStandardFits || GetTestPointCount(d, t) <= 0)
        return false;
    ClearTestDeviations(d, t);
    if (m_pView != nullptr && m_pView->m_pResults != nullptr)
        m_pView->m_pResults->ComputeResults(d);
    CheckFitLimits(d, t);
    return true;
}

void CTestGraph1::CheckFitLimits(int d, int t)
{
    if (IsTestOfSlot(d, t))
        StoreFindings(d, t, TestChecks::CheckFitLimits(GatherCheckInput(d, t)));
}

void CTestGraph1::CheckCgsbTest(int d, int t)
{
    if (BeginTestCheck(d, t, GetCheckStandard() == 0))
        StoreFindings(d, t, TestChecks::CheckCgsb(GatherCheckInput(d, t)));
}

void CTestGraph1::CheckEn13829Test(int d, int t)
{
    const int nStandard = GetCheckStandard();
    if (BeginTestCheck(d, t, nStandard == 1 || nStandard == 3))
        StoreFindings(d, t, TestChecks::CheckEn13829(GatherCheckInput(d, t)));
}

void CTestGraph1::CheckIso9972Test(int d, int t)
{
    if (BeginTestCheck(d, t, true))
        StoreFindings(d, t, TestChecks::CheckIso9972(GatherCheckInput(d, t)));
}

void CTestGraph1::CheckAstmE779Test(int d, int t)
{
    if (!BeginTestCheck(d, t, GetCheckStandard() == 2))
        return;
    // The stack effect is the store's own rule; the rules about the whole
    // record go to the list of slot 0, test 0.
    std::vector<CDeviationFinding> recordWide;
    for (const CDeviationFinding& finding : TestChecks::CheckAstmE779(GatherCheckInput(d, t))) {
        if (finding.bRecordWide)
            recordWide.push_back(finding);
        else
            StoreFindings(d, t, {finding});
    }
    CheckStackEffect(d, t);
    StoreFindings(d, t, recordWide);
}

void CTestGraph1::ClearTestDeviations(int d, int t)
{
    if (!IsTestOfSlot(d, t) || m_pView == nullptr || m_pView->m_pDeviations == nullptr ||
        m_pView->m_pDeviations->m_pLists[d][t] == nullptr)
        return;
    static constexpr int kClearedPositions[] = {0, 1, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                                                34, 35, 36, 37, 38};
    for (int nPosition : kClearedPositions)
        m_pView->m_pDeviations->SetDeviation(nPosition, CString(), d, t);
}

int CTestGraph1::CheckBuildingHeight()
{
    CBuildingInfoDialog* pBuilding = m_pView != nullptr ? m_pView->m_pBuildingInfo : nullptr;
    if (pBuilding == nullptr || !pBuilding->m_strHeight.IsEmpty())
        return 1;
    m_pView->ShowMessage(IDS_BUILDING_HEIGHT_REQUIRED, CString(), IDI_MESSAGE_EXCLAMATION, 0, 255);
    pBuilding->m_bFromTestGraph = 1;
    m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, 10);
    pBuilding->m_nFocusCtrlId = 1036;
    return 0;
}
