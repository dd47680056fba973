// The leakage curve of a test direction and of each of its tests, and the
// axis ranges of the leakage graph that follow from the data and the fit.
//
// A direction's entries are tests laid end to end, each between two
// baseline markers. The fits subtract each test's baseline from the
// building pressures, multiply each flow by its test's flow factor, check
// the signs, and then run the regression or, where the points cannot carry
// one, fall back to the exponent 0.65 or to the exact two-point solution.
#include "testrun/TestGraph1.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"

namespace {

constexpr double kFixedExponent = 0.65;
// Plausible exponents. The bounds have always been single precision, so an
// exponent of exactly 0.3 counts as implausible.
constexpr double kMinPlausibleN = static_cast<double>(0.3f);
constexpr double kMaxPlausibleN = static_cast<double>(1.2f);
constexpr double kMinPlausibleR = 0.5;
// A corrected pressure is held at least this far from 0 in the direction's
// sign, so that its logarithm exists.
constexpr double kMinCorrectedPressure = 0.01;
constexpr double kEqualTargetsTolerance = 0.001;
// Points spanning no more than this cannot show the exponent.
constexpr double kNarrowSpan = 5.0;          // Pa, three or more points
constexpr double kNarrowSquaredGap = 25.0;   // Pa², two points
// The target list ends at the first value not above 0.001 (single precision).
constexpr double kTargetListEnd = static_cast<double>(0.001f);
// Only the first 11 targets widen the planned pressure range.
constexpr int kPlannedTargets = 11;

enum FitCode { kFitted = 0, kNoPoint = 1, kFlowNotPositive = 2, kWrongSign = 3, kImplausible = 4, kNarrow = 5 };

bool IsSlot(int d)
{
    return d == 0 || d == 1;
}

bool IsPositiveFinite(double x)
{
    return x > 0.0 && std::isfinite(x);
}

CQarMathFunctions* MathOf(const CTestGraph1& store)
{
    return store.m_pView != nullptr ? store.m_pView->m_pMath : nullptr;
}

// Without a settings record the slots keep their usual directions.
wchar_t DirectionLetter(const CTestGraph1& store, int d)
{
    if (store.m_pSettings != nullptr)
        return store.m_pSettings->m_chDirectionLetter[d];
    return d == 0 ? L'P' : L'D';
}

int StandardCode(const CTestGraph1& store)
{
    return store.m_pSettings != nullptr ? store.m_pSettings->m_nStandard : -1;
}

// Environment data that describe no real air (a barometric pressure of 0, a
// temperature at or below absolute zero) leave a test's flow factor or its
// densities 0; its points must not enter a fit. A test still running has no
// densities of its own yet, only the factor its start gave it.
bool IsCorrectionUsable(const CTestGraph1& store, int d, int t)
{
    if (!IsPositiveFinite(store.m_FlowFactor[d][t]))
        return false;
    if (t < store.UsedTests(d))
        return IsPositiveFinite(store.m_TestRhoIn[d][t]) && IsPositiveFinite(store.m_TestRhoOut[d][t]);
    return true;
}

// True when every data point among entries nFirst .. nLast has the same
// target pressure (within 0.001 Pa); also true when there is none.
bool HaveEqualTargets(const double* pTargets, const int* pRings, int nFirst, int nLast)
{
    double dLargest = -999.9;
    double dSmallest = 999.9;
    for (int i = nFirst; i <= nLast; ++i) {
        if (pRings[i] == -1)
            continue;
        dLargest = std::max(dLargest, pTargets[i]);
        dSmallest = std::min(dSmallest, pTargets[i]);
    }
    return dLargest - dSmallest < kEqualTargetsTolerance;
}

// Corrected points, used from index 1 as the regression expects.
struct CorrectedPoints {
    std::vector<double> P{0.0};
    std::vector<double> Q{0.0};

    int Count() const { return static_cast<int>(P.size()) - 1; }
    void Add(double p, double q)
    {
        P.push_back(p);
        Q.push_back(q);
    }
    void Negate()
    {
        for (size_t j = 1; j < P.size(); ++j)
            P[j] = -P[j];
    }
};

// Sign check of one corrected pressure: code 3 when it points against the
// direction. The latest offending point decides between codes 2 and 3.
void CheckSign(wchar_t chDirection, double p, int& nCode)
{
    if ((chDirection == L'P' && p < 0.0) || (chDirection == L'D' && p > 0.0))
        nCode = kWrongSign;
}

struct FitOutcome {
    double n = -1.0;
    double C = -1.0;
    double r = -1.0;
    int bNFixed = 0;
    int bTwoPoint = 0;
};

// Fits Q = C * P^n to points whose pressures are already positive. A
// regression runs in fit slot s and leaves its r there too.
int SolveFit(CQarMathFunctions& math, int d, int s, int bWithStatistics, int nStandard, CorrectedPoints& pts,
             bool bEqualTargets, FitOutcome& out)
{
    std::vector<double>& P = pts.P;
    std::vector<double>& Q = pts.Q;
    const int N = pts.Count();
    int nCode = kFitted;
    bool bRegression = false;
    out = FitOutcome();

    auto fixExponent = [&](double dMeanP, double dMeanQ) {
        out.n = kFixedExponent;
        out.C = dMeanQ / std::pow(dMeanP, kFixedExponent);
        out.bNFixed = 1;
        nCode = bEqualTargets ? kFitted : kNarrow;
    };

    if (N >= 3) {
        double dLargest = static_cast<double>(-9999.9f);
        double dSmallest = static_cast<double>(9999.9f);
        for (int j = 1; j <= N; ++j) {
            dLargest = std::max(dLargest, P[j]);
            dSmallest = std::min(dSmallest, P[j]);
        }
        if (dLargest - dSmallest <= kNarrowSpan || bEqualTargets) {
            fixExponent(math.Mean(P.data() + 1, N), math.Mean(Q.data() + 1, N));
        } else {
            double n = 0.0, C = 0.0;
            math.FitLeakageCurve(d, s, bWithStatistics, nStandard == 0 ? 1 : 0, nStandard, P.data(), Q.data(), N, n,
                                 C);
            // A refused regression leaves n and C as they were passed in:
            // no fit was made, and none may be shown.
            if (math.m_dCorrelation[d][s] < 0.0)
                return kImplausible;
            out.n = n;
            out.C = C;
            out.r = math.m_dCorrelation[d][s];
            bRegression = true;
        }
    } else if (N == 2) {
        const double dGap = P[1] - P[2];
        if (dGap * dGap <= kNarrowSquaredGap || bEqualTargets) {
            P[1] = (P[1] + P[2]) / 2.0;
            Q[1] = (Q[1] + Q[2]) / 2.0;
            fixExponent(P[1], Q[1]);
        } else {
            out.n = std::log(Q[1] / Q[2]) / std::log(P[1] / P[2]);
            out.C = Q[1] / std::pow(P[1], out.n);
            out.bTwoPoint = 1;
        }
    } else {
        fixExponent(P[1], Q[1]);
        nCode = kFitted;
    }

    if (out.n < kMinPlausibleN || out.n > kMaxPlausibleN || (bRegression && out.r < kMinPlausibleR))
        nCode = kImplausible;
    // Pressures that are not numbers get through every comparison above.
    if (!std::isfinite(out.n) || !IsPositiveFinite(out.C)) {
        out = FitOutcome();
        nCode = kImplausible;
    }
    return nCode;
}

}  // namespace

int CTestGraph1::FitDirection(const double* pPressures, const double* pFlows, const int* pRings, int nCount,
                              double& n, double& C, int d)
{
    CQarMathFunctions* pMath = MathOf(*this);
    if (!IsSlot(d) || pMath == nullptr || pPressures == nullptr || pFlows == nullptr || pRings == nullptr) {
        n = -1.0;
        C = -1.0;
        return kNoPoint;
    }
    CQarMathFunctions& math = *pMath;
    m_NFixed[d] = 0;
    m_TwoPointFit[d] = 0;
    const int nEntries = std::clamp(nCount, 0, kMaxEntries);

    const bool bEqualTargets = HaveEqualTargets(m_TargetP[d], pRings, 0, nEntries - 1);
    if (bEqualTargets)
        m_NFixed[d] = 1;

    ComputeFlowCorrections(d);
    const wchar_t chDirection = DirectionLetter(*this, d);

    std::vector<int> nextMarker(static_cast<size_t>(nEntries), -1);
    for (int i = nEntries - 2, next = -1; i >= 0; --i) {
        if (pRings[i + 1] == -1)
            next = i + 1;
        nextMarker[static_cast<size_t>(i)] = next;
    }

    CorrectedPoints pts;
    int nCode = kFitted;
    int t = 0;
    bool bInTest = false;
    int nPrevMarker = -1;
    for (int i = 0; i < nEntries; ++i) {
        if (pRings[i] == -1) {
            nPrevMarker = i;
            // The first marker of a pair opens test t, the second closes it.
            if (bInTest) {
                bInTest = false;
                // Entries after the last test the store can hold belong to no test.
                if (++t >= kMaxTests)
                    break;
            } else {
                bInTest = true;
            }
            continue;
        }
        const double q = pFlows[i] * m_FlowFactor[d][t];
        if (!(pFlows[i] > 0.0) || !IsCorrectionUsable(*this, d, t) || !IsPositiveFinite(q))
            nCode = kFlowNotPositive;

        const int nNextMarker = nextMarker[static_cast<size_t>(i)];
        double p = pPressures[i];
        if (nPrevMarker >= 0 && nNextMarker >= 0)
            p -= (pPressures[nPrevMarker] + pPressures[nNextMarker]) * 0.5;
        else if (nPrevMarker >= 0)
            p -= pPressures[nPrevMarker];
        else if (nNextMarker >= 0)
            p -= pPressures[nNextMarker];

        CheckSign(chDirection, p, nCode);
        if (chDirection == L'P' && p < kMinCorrectedPressure)
            p = kMinCorrectedPressure;
        else if (chDirection == L'D' && p > -kMinCorrectedPressure)
            p = -kMinCorrectedPressure;
        pts.Add(p, q);
    }

    if (pts.Count() == 0)
        nCode = kNoPoint;
    if (nCode == kNoPoint || nCode == kFlowNotPositive || nCode == kWrongSign) {
        n = -1.0;
        C = -1.0;
        math.m_dCorrelation[d][0] = -1.0;
        return nCode;
    }
    if (chDirection == L'D')
        pts.Negate();

    FitOutcome out;
    nCode = SolveFit(math, d, 0, 1, StandardCode(*this), pts, bEqualTargets, out);
    n = out.n;
    C = out.C;
    math.m_dCorrelation[d][0] = out.r;
    m_NFixed[d] = (m_NFixed[d] != 0 || out.bNFixed != 0) ? 1 : 0;
    m_TwoPointFit[d] = out.bTwoPoint;
    return nCode;
}

int CTestGraph1::FitTest(const double* pPressures, const double* pFlows, const int* pRings, int nFirst,
                         int nCount, double& n, double& C, int d, int t)
{
    n = -1.0;
    C = -1.0;
    CQarMathFunctions* pMath = MathOf(*this);
    if (!IsSlot(d) || t < 0 || t >= kMaxTests || pMath == nullptr)
        return kNoPoint;
    CQarMathFunctions& math = *pMath;
    m_TestNFixed[d][t] = 0;
    m_TestTwoPointFit[d][t] = 0;

    // Fit slot 0 is also the direction's: the test's r must not replace it.
    auto setTestR = [&](double r) {
        if (t != 0)
            math.m_dCorrelation[d][t] = r;
        m_TestR[d][t] = r;
        m_TestR2[d][t] = r * r;
    };
    auto notFitted = [&](int nCode) {
        n = -1.0;
        C = -1.0;
        setTestR(-1.0);
        return nCode;
    };

    // A test that was never closed has no block to read.
    if (nFirst < 0 || nFirst >= kMaxEntries || nCount < 2 || pPressures == nullptr || pFlows == nullptr ||
        pRings == nullptr)
        return notFitted(kNoPoint);
    const int nLast = nCount > kMaxEntries - nFirst ? kMaxEntries - 1 : nFirst + nCount - 1;

    const bool bEqualTargets = HaveEqualTargets(m_TargetP[d], pRings, nFirst, nLast);
    if (bEqualTargets)
        m_TestNFixed[d][t] = 1;

    ComputeFlowCorrections(d);
    const wchar_t chDirection = DirectionLetter(*this, d);
    const double dBaseline = (pPressures[nFirst] + pPressures[nLast]) * 0.5;
    const double dFactor = m_FlowFactor[d][t];
    const bool bCorrectionUsable = IsCorrectionUsable(*this, d, t);

    CorrectedPoints pts;
    int nCode = kFitted;
    for (int i = nFirst; i <= nLast; ++i) {
        if (pRings[i] == -1)
            continue;
        const double q = pFlows[i] * dFactor;
        if (!(pFlows[i] > 0.0) || !bCorrectionUsable || !IsPositiveFinite(q))
            nCode = kFlowNotPositive;
        double p = pPressures[i] - dBaseline;
        CheckSign(chDirection, p, nCode);
        // A point exactly at the baseline would give C = infinity.
        if (p == 0.0 && chDirection == L'P')
            p = kMinCorrectedPressure;
        else if (p == 0.0 && chDirection == L'D')
            p = -kMinCorrectedPressure;
        pts.Add(p, q);
    }

    if (pts.Count() == 0)
        nCode = kNoPoint;
    if (nCode == kNoPoint || nCode == kFlowNotPositive || nCode == kWrongSign)
        return notFitted(nCode);
    if (chDirection == L'D')
        pts.Negate();

    const double dDirectionR = math.m_dCorrelation[d][0];
    FitOutcome out;
    nCode = SolveFit(math, d, t, 0, StandardCode(*this), pts, bEqualTargets, out);
    math.m_dCorrelation[d][0] = dDirectionR;
    n = out.n;
    C = out.C;
    setTestR(out.r);
    m_TestNFixed[d][t] = (m_TestNFixed[d][t] != 0 || out.bNFixed != 0) ? 1 : 0;
    m_TestTwoPointFit[d][t] = out.bTwoPoint;
    return nCode;
}

// The codes of the single test fits are not needed: a test that cannot be
// fitted keeps n = C = r = -1.
void CTestGraph1::FitAllTests()
{
    for (int d = 0; d < 2; ++d) {
        ComputeFlowCorrections(d);
        const int nTests = UsedTests(d);
        for (int t = 0; t < nTests; ++t)
            FitTest(m_Pavg[d], m_Qavg[d], m_Ring[d], m_TestFirstRow[d][t], m_TestRowCount[d][t], m_TestN[d][t],
                    m_TestC[d][t], d, t);
    }
}

void CTestGraph1::RecalculateGraph(int d)
{
    if (!IsSlot(d))
        return;

    // The range the plan will reach.
    double dPmin = 4.0;
    double dPmax = 50.0;
    for (int k = 0; k < kPlannedTargets && m_Targets[d][k] > kTargetListEnd; ++k) {
        const double dTarget = std::fabs(m_Targets[d][k]);
        dPmin = std::min(dPmin, dTarget - 1.0);
        dPmax = std::max(dPmax, dTarget + 10.0);
    }
    if (m_CruiseMode == 1 || m_CruiseMode == 2) {
        dPmin = std::min(dPmin, m_dCruisePressure - 1.0);
        dPmax = std::max(dPmax, m_dCruisePressure + 10.0);
    }
    if (dPmin < 1.0)
        dPmin = 1.0;
    const double dPlannedMin = dPmin;
    const double dPlannedMax = dPmax;

    // Widened to the measured pressure differences, test by test; a test
    // still running has only its opening baseline.
    const int nEntries = UsedEntries(d);
    const double* pP = m_Pavg[d];
    const int* pRings = m_Ring[d];
    auto nextMarker = [&](int from) {
        for (int i = from; i < nEntries; ++i) {
            if (pRings[i] == -1)
                return i;
        }
        return nEntries;
    };
    for (int nTests = 0, o = nextMarker(0); o < nEntries && nTests < kMaxTests; ++nTests) {
        const int c = nextMarker(o + 1);
        const double dBaseline = c < nEntries ? (pP[o] + pP[c]) * 0.5 : pP[o];
        for (int i = o + 1; i < c; ++i) {
            const double v = std::fabs(pP[i] - dBaseline);
            dPmax = std::max(dPmax, v + 10.0);
            dPmin = std::min(dPmin, v);
        }
        if (c >= nEntries)
            break;
        o = nextMarker(c + 1);
    }
    if (dPmin < 1.0)
        dPmin = 1.0;

    double dQmin = m_AxisQmin[d];
    double dQmax = m_AxisQmax[d];
    if (nEntries < 2) {
        const int nShown = g_nCurrentDirection;
        const wchar_t chMethod =
            m_pSettings != nullptr && IsSlot(nShown) ? m_pSettings->m_chMethodLetter[nShown] : L'\0';
        if (chMethod == L'A' || chMethod == L'S') {
            dPmin = dPlannedMin;
            dPmax = dPlannedMax;
        } else {
            dPmin = 4.0;
            dPmax = 70.0;
        }
    } else {
        const int nCode = FitDirection(pP, m_Qavg[d], pRings, nEntries, m_FitN[d], m_FitC[d], d);
        const double dMinFlow = MinAbsValue(m_Qavg[d], pRings, nEntries);
        const double dMaxFlow = MaxAbsValue(m_Qavg[d], pRings, nEntries);
        if (nCode == kNoPoint || nCode == kFlowNotPositive || nCode == kWrongSign) {
            // No curve: the data flows alone set the range.
            dQmin = dMinFlow;
            dQmax = dMaxFlow;
        } else {
            if (nCode != kImplausible) {
                dQmin = m_FitC[d] * std::pow(dPmin, m_FitN[d]);
                dQmax = m_FitC[d] * std::pow(dPmax, m_FitN[d]);
            }
            dQmin = std::min(dQmin, dMinFlow);
            dQmax = std::max(dQmax, dMaxFlow);
        }
    }
    if (dQmin < 1.0)
        dQmin = 1.0;

    m_AxisPmin[d] = dPmin;
    m_AxisPmax[d] = dPmax;
    m_AxisQmin[d] = dQmin;
    m_AxisQmax[d] = dQmax;
}

int CTestGraph1::OtherDirectionHasTests() const
{
    const bool bSlot0 = m_CompletedTests[0] > 0;
    const bool bSlot1 = m_CompletedTests[1] > 0;
    if (bSlot0 && bSlot1)
        return 1;
    if (bSlot0 && g_nCurrentDirection == 1)
        return 1;
    if (bSlot1 && g_nCurrentDirection == 0)
        return 1;
    return 0;
}

int CTestGraph1::GetDirectionsWithData() const
{
    const bool bSlot0 = m_CompletedTests[0] > 0;
    const bool bSlot1 = m_CompletedTests[1] > 0;
    if (bSlot0 && bSlot1)
        return 2;
    if (bSlot0)
        return 0;
    if (bSlot1)
        return 1;
    return -1;
}
