// The results store and the results computation: from the fitted leakage
// curve of a direction to C, n, r, the flow and air change rate at the
// reference pressure, the flows per area, the leakage areas and, for ASTM
// E779, the averages of both directions.
#include "calc/TestResultsDialog.h"

#include <cmath>

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "pages/BuildingInfoDialog.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kIsoStandard = 3;
constexpr int kCgsbStandard = 0;
// A building dimension not above this was not entered.
constexpr double kMinDimension = 0.1;
// Flow unit to m³/h for the ISO 9972 leakage area, and m² to ft².
constexpr double kCfmToCubicMetresPerHour = 1.699010796;
constexpr double kLitresPerSecondToCubicMetresPerHour = 3.6;
constexpr double kSquareFeetPerSquareMetre = 10.7639104;

// Index of the flow-error pressures of the maths object (4, 10, 50, 75 Pa).
enum { kErr4Pa = 0, kErr10Pa = 1, kErr50Pa = 2, kErr75Pa = 3 };

struct RefPressureChoice {
    double dPressure;
    int nErrorIndex;
};

// Compared exactly: a text the page never offers counts as 50 Pa.
RefPressureChoice ChooseRefPressure(const CString& strText)
{
    if (strText == L"75")
        return {75.0, kErr75Pa};
    if (strText == L"10")
        return {10.0, kErr10Pa};
    if (strText == L"4")
        return {4.0, kErr4Pa};
    return {50.0, kErr50Pa};
}

bool IsSlot(int d)
{
    return d == 0 || d == 1;
}

// The fit codes that still give results: fitted, implausible, narrow span.
bool GivesResults(int nCode)
{
    return nCode == 0 || nCode == 4 || nCode == 5;
}

}  // namespace

CTestResultsDialog::CTestResultsDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CTestResultsDialog", true);
    ClearResultTexts();
    m_strRefPressure = L"50";
    // The view is still being built, and its maths object's statistics are
    // all 0 then: selecting the pressure keeps 0 as the error of either slot.
    m_dRefPressure = ChooseRefPressure(m_strRefPressure).dPressure;
    m_dRefPressureFlowErrorPct[0] = 0.0;
    m_dRefPressureFlowErrorPct[1] = 0.0;
}

CTestResultsDialog::~CTestResultsDialog()
{
    TraceLifecycle("CTestResultsDialog", false);
}

int CTestResultsDialog::StandardCode() const
{
    return m_pView != nullptr && m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_nStandard : -1;
}

int CTestResultsDialog::IsEnOrIsoStandard() const
{
    const int nStandard = StandardCode();
    return nStandard == 1 || nStandard == 3 ? 1 : 0;
}

void CTestResultsDialog::SelectReferencePressure(int d)
{
    const RefPressureChoice choice = ChooseRefPressure(m_strRefPressure);
    m_dRefPressure = choice.dPressure;
    if (IsSlot(d) && m_pView != nullptr && m_pView->m_pMath != nullptr)
        m_dRefPressureFlowErrorPct[d] = m_pView->m_pMath->m_dFlowErrorPct[choice.nErrorIndex][d][0];
}

void CTestResultsDialog::ComputeResults(int d)
{
    if (!IsSlot(d) || m_pView == nullptr || m_pView->m_pMath == nullptr || m_pTestGraph == nullptr)
        return;
    CQarMathFunctions& math = *m_pView->m_pMath;
    CTestGraph1& graph = *m_pTestGraph;
    const int nStandard = StandardCode();

    math.m_dCErrorPct[d][0] = -1.0;
    for (int k = 0; k < CQarMathFunctions::kFlowErrorPressures; ++k)
        math.m_dFlowErrorPct[k][d][0] = -1.0;

    graph.IndexTestGroups();
    graph.FitAllTests();

    // Baselines: markers alternate between opening and closing a test. The
    // store holds 32 tests; markers after them belong to no test.
    const int nEntries = graph.UsedEntries(d);
    bool bOpening = true;
    for (int i = 0, k = 0; i < nEntries && k < CTestGraph1::kMaxTests; ++i) {
        if (graph.m_Ring[d][i] != -1)
            continue;
        if (bOpening) {
            graph.m_TestPreBaseline[d][k] = graph.m_Pavg[d][i];
        } else {
            graph.m_TestPostBaseline[d][k] = graph.m_Pavg[d][i];
            ++k;
        }
        bOpening = !bOpening;
    }

    CResultValue* pEntries = m_Results[d];
    for (int e = 0; e < kEntries; ++e) {
        pEntries[e].m_bValid = 0;
        pEntries[e].m_bErrorValid = 0;
    }

    // Twice: the flow corrections depend on n, so the second pass corrects
    // with the exponent of the first (0.65 for the first).
    double n = 0.0;
    double C = 0.0;
    graph.m_FitN[d] = 0.0;
    graph.m_FitC[d] = 0.0;
    graph.FitDirection(graph.m_Pavg[d], graph.m_Qavg[d], graph.m_Ring[d], nEntries, n, C, d);
    graph.m_FitN[d] = n;
    const int nCode = graph.FitDirection(graph.m_Pavg[d], graph.m_Qavg[d], graph.m_Ring[d], nEntries, n, C, d);
    graph.m_FitN[d] = n;
    graph.m_FitC[d] = C;
    graph.m_FitR[d] = math.m_dCorrelation[d][0];
    if (!GivesResults(nCode))
        return;

    // A fallback fit (fixed exponent, one point, two points) has no errors.
    const bool bWithErrors = graph.m_TwoPointFit[d] == 0 && graph.m_NFixed[d] == 0;

    pEntries[kC].m_dValue = C;
    pEntries[kN].m_dValue = n;
    if (C > 0.0 && n > 0.0) {
        const int nTests = graph.UsedTests(d);
        const wchar_t chDirection =
            m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_chDirectionLetter[d] : (d == 0 ? L'P' : L'D');
        pEntries[kCStandard].m_dValue =
            math.CorrectCToStandardDensity(chDirection, C, n, math.Mean(graph.m_TestRhoIn[d], nTests),
                                           math.Mean(graph.m_TestRhoOut[d], nTests));
        pEntries[kC].m_bValid = 1;
        if (bWithErrors) {
            pEntries[kC].m_dError = math.m_dCErrorPct[d][0];
            pEntries[kC].m_bErrorValid = 1;
        }
    }
    if (n > 0.0) {
        graph.m_FitN[d] = n;
        pEntries[kN].m_bValid = 1;
        if (bWithErrors) {
            pEntries[kN].m_dError = nStandard == kCgsbStandard ? math.m_dNStdError[d][0] : math.m_dNError95[d][0];
            pEntries[kN].m_bErrorValid = 1;
        }
    }
    if (graph.m_FitR[d] > 0.0) {
        const double r = graph.m_FitR[d];
        pEntries[kR].m_dValue = nStandard == kIsoStandard ? r * r : r;
        pEntries[kR].m_bValid = 1;
    }

    SelectReferencePressure(d);
    ComputeDerivedResults(d, m_dRefPressure);

    if (!pEntries[kFlowAtRef].m_bValid)
        return;
    const double F = m_pView->m_dFlowFactor;
    const double dLeakageFactor = m_pView->m_dLeakageFactor;
    double dArea = 0.0;
    if (math.CalcEqla(dArea, C, n, F, dLeakageFactor)) {
        pEntries[kEqla].m_dValue = dArea;
        pEntries[kEqla].m_bValid = 1;
        if (pEntries[kFlowAtRef].m_bErrorValid) {
            pEntries[kEqla].m_dError = math.m_dFlowErrorPct[kErr10Pa][d][0];
            pEntries[kEqla].m_bErrorValid = 1;
        }
    }
    // ISO 9972 has its leakage area at the reference pressure in entry 6.
    if (nStandard != kIsoStandard && math.CalcEla(dArea, C, n, F, dLeakageFactor)) {
        pEntries[kEla].m_dValue = dArea;
        pEntries[kEla].m_bValid = 1;
        if (pEntries[kFlowAtRef].m_bErrorValid) {
            pEntries[kEla].m_dError = math.m_dFlowErrorPct[kErr4Pa][d][0];
            pEntries[kEla].m_bErrorValid = 1;
        }
    }
}

// Rebuilds only what depends on the reference pressure. C and n count only
// while valid: after a fit that gave no results their values are those of an
// earlier fit, which must not come back at a new reference pressure.
void CTestResultsDialog::ComputeDerivedResults(int d, double dRefPressure)
{
    if (!IsSlot(d) || m_pView == nullptr || m_pView->m_pMath == nullptr || m_pTestGraph == nullptr)
        return;
    CQarMathFunctions& math = *m_pView->m_pMath;
    const int nStandard = StandardCode();
    CResultValue* pEntries = m_Results[d];
    const int nDerived[] = {kFlowAtRef, kAch, kFlowPerFloor, kFlowPerEnvelope};
    for (int e : nDerived) {
        pEntries[e].m_bValid = 0;
        pEntries[e].m_bErrorValid = 0;
    }
    if (nStandard == kIsoStandard) {
        pEntries[kEla].m_bValid = 0;
        pEntries[kEla].m_bErrorValid = 0;
    }
    if (!pEntries[kC].m_bValid || !pEntries[kN].m_bValid)
        return;
    const double C = pEntries[kC].m_dValue;
    const double n = pEntries[kN].m_dValue;
    if (!(C > 0.0 && n > 0.0))
        return;

    const double Q = C * std::pow(dRefPressure, n);
    if (!std::isfinite(Q))
        return;
    pEntries[kFlowAtRef].m_dValue = Q;
    pEntries[kFlowAtRef].m_bValid = 1;
    if (m_pTestGraph->m_TwoPointFit[d] == 0 && m_pTestGraph->m_NFixed[d] == 0) {
        pEntries[kFlowAtRef].m_dError = m_dRefPressureFlowErrorPct[d];
        pEntries[kFlowAtRef].m_bErrorValid = 1;
    }

    const double F = m_pView->m_dFlowFactor;
    const double L = m_pView->m_dBuildingFactor;
    if (m_pBuildingInfo != nullptr) {
        const double dVolume = m_pBuildingInfo->m_dVolume[d];
        const double dFloorArea = m_pBuildingInfo->m_dFloorArea[d];
        const double dEnvelopeArea = m_pBuildingInfo->m_dSurfaceArea[d];
        // Always the flow in cfm per volume in ft³, times 60, whatever the units.
        if (dVolume > kMinDimension) {
            pEntries[kAch].m_dValue = 60.0 * Q / dVolume * (L * L * L) / F;
            pEntries[kAch].m_bValid = 1;
        }
        if (dFloorArea > kMinDimension) {
            pEntries[kFlowPerFloor].m_dValue = Q / dFloorArea;
            pEntries[kFlowPerFloor].m_bValid = 1;
        }
        if (dEnvelopeArea > kMinDimension) {
            pEntries[kFlowPerEnvelope].m_dValue = Q / dEnvelopeArea;
            pEntries[kFlowPerEnvelope].m_bValid = 1;
        }
    }

    if (nStandard != kIsoStandard)
        return;
    double dCubicMetresPerHour = C;
    if (m_pView->m_nFlowUnit == 0)
        dCubicMetresPerHour = C * kCfmToCubicMetresPerHour;
    else if (m_pView->m_nFlowUnit == 2)
        dCubicMetresPerHour = C * kLitresPerSecondToCubicMetresPerHour;
    // The area is taken at the pressure the text names, even one the page
    // never offers; its error is that of the pressure selected for the flow.
    const double p = CSimbrel1View::TextToDouble(m_strRefPressure);
    double dArea = 0.0;
    if (math.CalcIsoLeakageArea(dArea, dCubicMetresPerHour, n, p)) {
        if (m_pView->m_nLeakageUnit == 0)
            dArea *= kSquareFeetPerSquareMetre;
        pEntries[kEla].m_dValue = dArea;
        pEntries[kEla].m_bValid = 1;
        if (pEntries[kFlowAtRef].m_bErrorValid) {
            pEntries[kEla].m_dError = math.m_dFlowErrorPct[ChooseRefPressure(m_strRefPressure).nErrorIndex][d][0];
            pEntries[kEla].m_bErrorValid = 1;
        }
    }
}

// Only what both directions hold enters a mean: a direction without results
// has n = C = -1 and errors of -1 or of an earlier fit. A mean that cannot
// be made is 0, the value the texts and the file show as none.
void CTestResultsDialog::AverageDirections()
{
    const CQarMathFunctions* pMath = m_pView != nullptr ? m_pView->m_pMath : nullptr;
    if (pMath == nullptr || m_pTestGraph == nullptr)
        return;
    const CResultValue* p = m_Results[0];
    const CResultValue* q = m_Results[1];
    auto bothValid = [&](int e) { return p[e].m_bValid && q[e].m_bValid; };
    auto bothErrorsValid = [&](int e) { return bothValid(e) && p[e].m_bErrorValid && q[e].m_bErrorValid; };

    m_dMeanN = bothValid(kN) ? (m_pTestGraph->m_FitN[0] + m_pTestGraph->m_FitN[1]) / 2.0 : 0.0;
    m_dMeanC = bothValid(kC) ? (m_pTestGraph->m_FitC[0] + m_pTestGraph->m_FitC[1]) / 2.0 : 0.0;
    m_dMeanNError = 0.0;
    if (bothErrorsValid(kN)) {
        const double a = pMath->m_dNError95[0][0];
        const double b = pMath->m_dNError95[1][0];
        m_dMeanNError = 0.5 * std::sqrt(a * a + b * b);
    }
    m_dMeanCErrorPct = bothErrorsValid(kC) ? CombinedError(pMath->m_dCErrorPct[0][0], m_pTestGraph->m_FitC[0],
                                                           pMath->m_dCErrorPct[1][0], m_pTestGraph->m_FitC[1])
                                           : 0.0;
    m_dMeanEqla = bothValid(kEqla) ? (p[kEqla].m_dValue + q[kEqla].m_dValue) / 2.0 : 0.0;
    m_dMeanEla = bothValid(kEla) ? (p[kEla].m_dValue + q[kEla].m_dValue) / 2.0 : 0.0;
    m_dMeanEqlaErrorPct = bothErrorsValid(kEqla) ? CombinedError(p[kEqla].m_dError, p[kEqla].m_dValue,
                                                                 q[kEqla].m_dError, q[kEqla].m_dValue)
                                                 : 0.0;
    m_dMeanElaErrorPct = bothErrorsValid(kEla)
                             ? CombinedError(p[kEla].m_dError, p[kEla].m_dValue, q[kEla].m_dError, q[kEla].m_dValue)
                             : 0.0;
}

// The two absolute errors combined in quadrature and halved (the error of a
// mean of two), in percent of the mean. Values whose mean is 0 have no
// percent error: 0.
double CTestResultsDialog::CombinedError(double dError1, double dValue1, double dError2, double dValue2)
{
    const double dMean = (dValue1 + dValue2) / 2.0;
    const double a = dError1 / 100.0 * dValue1;
    const double b = dError2 / 100.0 * dValue2;
    const double dError = 100.0 * (0.5 * std::sqrt(a * a + b * b)) / dMean;
    return dMean != 0.0 && std::isfinite(dError) ? dError : 0.0;
}
