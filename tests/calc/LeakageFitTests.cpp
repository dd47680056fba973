// The leakage-curve fit and its statistics: exact data, the t multiplier of
// the standards, the squared-flow weights, refused inputs, and a seeded
// comparison against a plain two-pass computation of the same quantities.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/QarMathFunctions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kSentinel = 12345.0;
const double kErrorPressures[4] = {4.0, 10.0, 50.0, 75.0};

// The fit reads its arrays from index 1; index 0 holds a value that would
// spoil every sum if it were read.
struct Points {
    std::vector<double> p{kNaN};
    std::vector<double> q{kNaN};
    void Add(double pressure, double flow)
    {
        p.push_back(pressure);
        q.push_back(flow);
    }
    int N() const { return static_cast<int>(p.size()) - 1; }
};

Points PowerLaw(double C, double n, const std::vector<double>& pressures)
{
    Points pts;
    for (double P : pressures)
        pts.Add(P, C * std::pow(std::fabs(P), n));
    return pts;
}

// Everything the fit of one slot leaves behind.
struct SlotState {
    double r, flowErr[4], cErr, nErr95, dxx, dyy, dxy, nStdErr;
};

SlotState Read(const CQarMathFunctions& m, int d, int s)
{
    SlotState st{};
    st.r = m.m_dCorrelation[d][s];
    for (int k = 0; k < 4; ++k)
        st.flowErr[k] = m.m_dFlowErrorPct[k][d][s];
    st.cErr = m.m_dCErrorPct[d][s];
    st.nErr95 = m.m_dNError95[d][s];
    st.dxx = m.m_dSumXX[d][s];
    st.dyy = m.m_dSumYY[d][s];
    st.dxy = m.m_dSumXY[d][s];
    st.nStdErr = m.m_dNStdError[d][s];
    return st;
}

void FillSlot(CQarMathFunctions& m, int d, int s, double v)
{
    m.m_dCorrelation[d][s] = v;
    for (int k = 0; k < 4; ++k)
        m.m_dFlowErrorPct[k][d][s] = v;
    m.m_dCErrorPct[d][s] = v;
    m.m_dNError95[d][s] = v;
    m.m_dSumXX[d][s] = v;
    m.m_dSumYY[d][s] = v;
    m.m_dSumXY[d][s] = v;
    m.m_dNStdError[d][s] = v;
}

// Slightly scattered data with a known trend, deterministic.
Points Scattered(double C, double n)
{
    const double pressures[] = {12.0, 19.0, 27.0, 33.0, 41.0, 48.0, 56.0, 63.0};
    const double scatter[] = {1.04, 0.97, 1.02, 0.95, 1.05, 0.99, 0.96, 1.03};
    Points pts;
    for (int i = 0; i < 8; ++i)
        pts.Add(pressures[i], C * std::pow(pressures[i], n) * scatter[i]);
    return pts;
}

class LeakageFit : public testing::Test {
protected:
    std::unique_ptr<CQarMathFunctions> m = std::make_unique<CQarMathFunctions>();
};

TEST_F(LeakageFit, StartsWithEveryStatisticAtZero)
{
    for (int d = 0; d < 2; ++d) {
        for (int s = 0; s < 32; ++s) {
            const SlotState st = Read(*m, d, s);
            EXPECT_EQ(0.0, st.r + st.cErr + st.nErr95 + st.dxx + st.dyy + st.dxy + st.nStdErr + st.flowErr[0] +
                               st.flowErr[1] + st.flowErr[2] + st.flowErr[3] + m->m_dILnC[d][s] + m->m_dSLnC[d][s]);
        }
    }
    EXPECT_EQ(0.0, m->m_dViscosity[0]);
    EXPECT_EQ(0.0, m->m_dViscosity[1]);
}

TEST_F(LeakageFit, ExactPowerLawGivesUnitCorrelationAndZeroHalfWidths)
{
    for (int weighted = 0; weighted <= 1; ++weighted) {
        for (int code = 0; code <= 3; ++code) {
            SCOPED_TRACE(testing::Message() << "weighted " << weighted << " code " << code);
            Points pts = PowerLaw(83.7, 0.617, {-4.5, 10.0, 18.0, 25.0, 37.0, 50.0, 61.0, 75.0});
            double n = 0.0, C = 0.0;
            m->FitLeakageCurve(1, 3, 1, weighted, code, pts.p.data(), pts.q.data(), pts.N(), n, C);
            EXPECT_NEAR(0.617, n, 1e-12);
            EXPECT_NEAR(83.7, C, 83.7 * 1e-11);
            const SlotState st = Read(*m, 1, 3);
            EXPECT_NEAR(1.0, st.r, 1e-12);
            EXPECT_LE(st.r, 1.0);
            // The sums are taken in one pass, so the residual is a rounding
            // remainder whose root shows as some 1e-5 percent under squared
            // flow weights, far below any digit a report shows.
            EXPECT_NEAR(0.0, st.nStdErr, 1e-6);
            EXPECT_NEAR(0.0, st.cErr, 1e-4);
            for (double e : st.flowErr)
                EXPECT_NEAR(0.0, e, 1e-4);
            EXPECT_GT(st.dxx, 0.0);
        }
    }
}

TEST_F(LeakageFit, FallingCurveKeepsCorrelationPositive)
{
    Points pts = Scattered(500.0, -0.4);
    double n = 0.0, C = 0.0;
    m->FitLeakageCurve(0, 0, 1, 0, 2, pts.p.data(), pts.q.data(), pts.N(), n, C);
    EXPECT_NEAR(-0.4, n, 0.05);
    EXPECT_GT(m->m_dCorrelation[0][0], 0.9);
    EXPECT_LE(m->m_dCorrelation[0][0], 1.0);
}

// The standards other than CGSB state 95 % half-widths: t(N - 2) standard
// errors. Only they write the n error.
TEST_F(LeakageFit, StandardCodesWidenHalfWidthsByStudentT)
{
    for (int N : {3, 5, 8}) {
        for (int code : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << "N " << N << " code " << code);
            Points base = Scattered(120.0, 0.66);
            base.p.resize(N + 1);
            base.q.resize(N + 1);
            Points other = base;

            double n0 = 0.0, C0 = 0.0, n1 = 0.0, C1 = 0.0;
            FillSlot(*m, 0, 0, kSentinel);
            m->FitLeakageCurve(0, 0, 1, 0, 0, base.p.data(), base.q.data(), N, n0, C0);
            const SlotState cgsb = Read(*m, 0, 0);
            EXPECT_EQ(kSentinel, cgsb.nErr95);

            m->FitLeakageCurve(0, 1, 1, 0, code, other.p.data(), other.q.data(), N, n1, C1);
            const SlotState st = Read(*m, 0, 1);
            const double t = CQarMathFunctions::StudentT95(N - 2);
            EXPECT_EQ(n0, n1);
            EXPECT_EQ(C0, C1);
            EXPECT_EQ(cgsb.r, st.r);
            EXPECT_EQ(cgsb.nStdErr, st.nStdErr);
            EXPECT_GT(cgsb.cErr, 0.0);
            EXPECT_DOUBLE_EQ(t * cgsb.cErr, st.cErr);
            for (int k = 0; k < 4; ++k) {
                EXPECT_GT(cgsb.flowErr[k], 0.0);
                EXPECT_DOUBLE_EQ(t * cgsb.flowErr[k], st.flowErr[k]);
            }
            EXPECT_DOUBLE_EQ(t * cgsb.nStdErr, st.nErr95);
        }
    }
}

TEST_F(LeakageFit, SquaredFlowWeightsScaleOnlyC)
{
    Points base = Scattered(300.0, 0.58);
    Points scaled = base;
    const double k = 3.5;
    for (int i = 1; i <= scaled.N(); ++i)
        scaled.q[i] *= k;

    double n0 = 0.0, C0 = 0.0, n1 = 0.0, C1 = 0.0;
    m->FitLeakageCurve(0, 0, 1, 1, 2, base.p.data(), base.q.data(), base.N(), n0, C0);
    m->FitLeakageCurve(0, 1, 1, 1, 2, scaled.p.data(), scaled.q.data(), scaled.N(), n1, C1);
    const SlotState a = Read(*m, 0, 0), b = Read(*m, 0, 1);
    EXPECT_NEAR(n0, n1, 1e-12);
    EXPECT_NEAR(a.r, b.r, 1e-12);
    EXPECT_NEAR(k * C0, C1, C1 * 1e-12);
    // The percent half-widths do not depend on the flow unit either.
    EXPECT_NEAR(a.cErr, b.cErr, a.cErr * 1e-9);
    EXPECT_NEAR(a.nErr95, b.nErr95, a.nErr95 * 1e-9);
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(a.flowErr[j], b.flowErr[j], a.flowErr[j] * 1e-9);

    // The weights do act: unweighted, the same data give another fit.
    double n2 = 0.0, C2 = 0.0;
    m->FitLeakageCurve(0, 2, 1, 0, 2, base.p.data(), base.q.data(), base.N(), n2, C2);
    EXPECT_GT(std::fabs(n2 - n0), 1e-4);
}

TEST_F(LeakageFit, ZeroPressureBecomesOneThousandthInTheCallersArray)
{
    Points withZero;
    withZero.Add(0.0, 2.0);
    withZero.Add(10.0, 60.0);
    withZero.Add(40.0, 150.0);
    Points explicitValue = withZero;
    explicitValue.p[1] = 0.001;

    double n0 = 0.0, C0 = 0.0, n1 = 0.0, C1 = 0.0;
    m->FitLeakageCurve(0, 0, 1, 0, 1, withZero.p.data(), withZero.q.data(), 3, n0, C0);
    m->FitLeakageCurve(0, 1, 1, 0, 1, explicitValue.p.data(), explicitValue.q.data(), 3, n1, C1);
    EXPECT_EQ(0.001, withZero.p[1]);
    EXPECT_EQ(n1, n0);
    EXPECT_EQ(C1, C0);
    EXPECT_TRUE(std::isfinite(n0) && std::isfinite(C0));
}

TEST_F(LeakageFit, WithoutStatisticsOnlyNCAndRAreWritten)
{
    Points pts = Scattered(90.0, 0.7);
    pts.p.resize(3);
    pts.q.resize(3);
    FillSlot(*m, 1, 7, kSentinel);
    double n = 0.0, C = 0.0;
    m->FitLeakageCurve(1, 7, 0, 0, 2, pts.p.data(), pts.q.data(), 2, n, C);
    const SlotState st = Read(*m, 1, 7);
    EXPECT_NEAR(std::log(pts.q[2] / pts.q[1]) / std::log(pts.p[2] / pts.p[1]), n, 1e-12);
    EXPECT_NEAR(pts.q[1] / std::pow(pts.p[1], n), C, C * 1e-12);
    EXPECT_NEAR(1.0, st.r, 1e-12);
    EXPECT_EQ(kSentinel, st.cErr);
    EXPECT_EQ(kSentinel, st.nErr95);
    EXPECT_EQ(kSentinel, st.dxx);
    EXPECT_EQ(kSentinel, st.nStdErr);
    EXPECT_EQ(kSentinel, st.flowErr[2]);
}

// Data that cannot carry the fit leave n, C and the statistics as they were
// and mark the slot's r with -1, never NaN or infinity.
TEST_F(LeakageFit, RefusedInputsLeaveEverythingButRUntouched)
{
    struct Case {
        const char* name;
        int withStatistics;
        std::vector<double> p, q;  // from index 1
    };
    const Case cases[] = {
        {"no point", 0, {}, {}},
        {"one point without statistics", 0, {10.0}, {50.0}},
        {"two points with statistics", 1, {10.0, 50.0}, {50.0, 150.0}},
        {"zero flow", 1, {10.0, 20.0, 40.0}, {50.0, 0.0, 120.0}},
        {"negative flow", 0, {10.0, 20.0, 40.0}, {50.0, 80.0, -120.0}},
        {"NaN pressure", 1, {10.0, kNaN, 40.0}, {50.0, 80.0, 120.0}},
        {"infinite pressure", 1, {10.0, 20.0, kInf}, {50.0, 80.0, 120.0}},
        {"infinite flow", 1, {10.0, 20.0, 40.0}, {50.0, kInf, 120.0}},
        {"NaN flow", 0, {10.0, 20.0, 40.0}, {kNaN, 80.0, 120.0}},
        {"equal pressures", 1, {25.0, 25.0, 25.0, 25.0}, {50.0, 51.0, 52.0, 49.0}},
        {"equal magnitudes", 0, {-5.0, 5.0, 5.0}, {50.0, 60.0, 70.0}},
        {"five times 0.1", 1, {0.1, 0.1, 0.1, 0.1, 0.1}, {1.0, 2.0, 3.0, 4.0, 5.0}},
        {"squared weights underflow", 1, {10.0, 20.0, 40.0}, {1e-200, 2e-200, 3e-200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int weighted = 0; weighted <= 1; ++weighted) {
            if (std::string(c.name) == "squared weights underflow" && !weighted)
                continue;
            Points pts;
            for (size_t i = 0; i < c.p.size(); ++i)
                pts.Add(c.p[i], c.q[i]);
            FillSlot(*m, 1, 31, kSentinel);
            double n = kSentinel, C = kSentinel;
            m->FitLeakageCurve(1, 31, c.withStatistics, weighted, 3, pts.p.data(), pts.q.data(), pts.N(), n, C);
            const SlotState st = Read(*m, 1, 31);
            EXPECT_EQ(-1.0, st.r);
            EXPECT_EQ(kSentinel, n);
            EXPECT_EQ(kSentinel, C);
            EXPECT_EQ(kSentinel, st.dxx);
            EXPECT_EQ(kSentinel, st.dyy);
            EXPECT_EQ(kSentinel, st.nStdErr);
            EXPECT_EQ(kSentinel, st.nErr95);
            EXPECT_EQ(kSentinel, st.cErr);
            EXPECT_EQ(kSentinel, st.flowErr[0]);
        }
    }
}

TEST_F(LeakageFit, SlotsOutsideTheTablesAreNotWritten)
{
    Points pts = Scattered(90.0, 0.7);
    double n = kSentinel, C = kSentinel;
    for (auto [d, s] : {std::pair{2, 0}, std::pair{-1, 0}, std::pair{0, 32}, std::pair{1, -1}})
        m->FitLeakageCurve(d, s, 1, 0, 2, pts.p.data(), pts.q.data(), pts.N(), n, C);
    EXPECT_EQ(kSentinel, n);
    EXPECT_EQ(kSentinel, C);
}

TEST_F(LeakageFit, EqualFlowsGiveAFlatCurveWithZeroCorrelation)
{
    for (int weighted = 0; weighted <= 1; ++weighted) {
        Points pts;
        for (double P : {10.0, 17.0, 29.0, 43.0, 58.0})
            pts.Add(P, 1234.5);
        double n = kSentinel, C = kSentinel;
        m->FitLeakageCurve(0, 4, 1, weighted, 2, pts.p.data(), pts.q.data(), pts.N(), n, C);
        const SlotState st = Read(*m, 0, 4);
        EXPECT_EQ(0.0, st.r);
        EXPECT_EQ(0.0, n);
        EXPECT_NEAR(1234.5, C, 1e-9);
        EXPECT_EQ(0.0, st.nStdErr);
        EXPECT_EQ(0.0, st.flowErr[3]);
    }
}

// ---------------------------------------------------------------------------
// The seeded comparison: the same formulas computed the plain way, with
// centred sums over the points and residuals summed directly.

struct Reference {
    double n, C, r, Dxx, Dyy, Dxy, seN, cErr, flowErr[4], nErr95;
};

Reference TwoPass(const Points& pts, bool weighted, int code)
{
    const int N = pts.N();
    double W = 0.0, xBar = 0.0, yBar = 0.0;
    for (int i = 1; i <= N; ++i) {
        const double w = weighted ? pts.q[i] * pts.q[i] : 1.0;
        W += w;
        xBar += w * std::log(std::fabs(pts.p[i]));
        yBar += w * std::log(pts.q[i]);
    }
    xBar /= W;
    yBar /= W;
    double cxx = 0.0, cyy = 0.0, cxy = 0.0, meanSquareX = 0.0;
    for (int i = 1; i <= N; ++i) {
        const double w = weighted ? pts.q[i] * pts.q[i] : 1.0;
        const double dx = std::log(std::fabs(pts.p[i])) - xBar;
        const double dy = std::log(pts.q[i]) - yBar;
        cxx += w * dx * dx;
        cyy += w * dy * dy;
        cxy += w * dx * dy;
        meanSquareX += w * std::log(std::fabs(pts.p[i])) * std::log(std::fabs(pts.p[i]));
    }
    meanSquareX /= W;
    Reference ref{};
    ref.n = cxy / cxx;
    const double lnC = yBar - ref.n * xBar;
    ref.C = std::exp(lnC);
    ref.r = std::fabs(cxy) / std::sqrt(cxx * cyy);
    ref.Dxx = W * cxx;
    ref.Dyy = W * cyy;
    ref.Dxy = W * cxy;
    double rss = 0.0;
    for (int i = 1; i <= N; ++i) {
        const double w = weighted ? pts.q[i] * pts.q[i] : 1.0;
        const double e = std::log(pts.q[i]) - (lnC + ref.n * std::log(std::fabs(pts.p[i])));
        rss += w * e * e;
    }
    const double sr = std::sqrt(rss / (N - 2));
    ref.seN = sr / std::sqrt(cxx);
    const double t = code >= 1 && code <= 3 ? CQarMathFunctions::StudentT95(N - 2) : 1.0;
    ref.cErr = t * 100.0 * std::sqrt(meanSquareX) * ref.seN;
    for (int k = 0; k < 4; ++k) {
        const double dx0 = std::log(kErrorPressures[k]) - xBar;
        ref.flowErr[k] = t * 100.0 * sr * std::sqrt(1.0 / W + dx0 * dx0 / cxx);
    }
    ref.nErr95 = t * ref.seN;
    return ref;
}

void ExpectClose(double expected, double actual, double relative, const char* what)
{
    EXPECT_NEAR(expected, actual, relative * std::fabs(expected) + 1e-12) << what;
}

TEST(LeakageFitComparison, AgreesWithATwoPassComputationOnSeededData)
{
    std::mt19937 rng(20240611u);
    std::uniform_int_distribution<int> count(3, 40);
    std::uniform_real_distribution<double> pressure(2.0, 90.0);
    std::uniform_real_distribution<double> exponent(0.4, 1.0);
    std::uniform_real_distribution<double> coefficient(1.0, 800.0);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_int_distribution<int> slot(0, 31);

    auto m = std::make_unique<CQarMathFunctions>();
    for (int set = 0; set < 400; ++set) {
        SCOPED_TRACE(testing::Message() << "data set " << set);
        const int N = count(rng);
        const double C0 = coefficient(rng), n0 = exponent(rng);
        const bool depressurization = pick(rng) == 0;
        Points pts;
        for (int i = 0; i < N; ++i) {
            const double P = pressure(rng);
            pts.Add(depressurization ? -P : P, C0 * std::pow(P, n0) * std::exp(noise(rng)));
        }
        const bool weighted = pick(rng) < 2;
        const int code = pick(rng);
        const int d = pick(rng) % 2, s = slot(rng);
        FillSlot(*m, d, s, kSentinel);
        const Reference ref = TwoPass(pts, weighted, code);

        double n = 0.0, C = 0.0;
        m->FitLeakageCurve(d, s, 1, weighted, code, pts.p.data(), pts.q.data(), N, n, C);
        const SlotState st = Read(*m, d, s);
        ExpectClose(ref.n, n, 1e-9, "n");
        ExpectClose(ref.C, C, 1e-9, "C");
        ExpectClose(ref.r, st.r, 1e-9, "r");
        ExpectClose(ref.Dxx, st.dxx, 1e-9, "Dxx");
        ExpectClose(ref.Dyy, st.dyy, 1e-8, "Dyy");
        ExpectClose(ref.Dxy, st.dxy, 1e-8, "Dxy");
        ExpectClose(ref.seN, st.nStdErr, 1e-7, "SE(n)");
        ExpectClose(ref.cErr, st.cErr, 1e-7, "C error");
        for (int k = 0; k < 4; ++k)
            ExpectClose(ref.flowErr[k], st.flowErr[k], 1e-7, "flow error");
        if (code >= 1)
            ExpectClose(ref.nErr95, st.nErr95, 1e-7, "n error 95");
        else
            EXPECT_EQ(kSentinel, st.nErr95);
    }
}

}  // namespace
