// The small numeric services of the maths object: straight-line regression,
// axis rounding, fit validity, leakage areas, the density correction of C,
// running statistics and the Student's t table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "calc/QarMathFunctions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kSentinel = 777.0;

class NumericServices : public testing::Test {
protected:
    std::unique_ptr<CQarMathFunctions> m = std::make_unique<CQarMathFunctions>();
};

// --- LinearRegression -------------------------------------------------------

struct Line {
    double a = kSentinel, seA = kSentinel, b = kSentinel, seB = kSentinel;
    bool Untouched() const { return a == kSentinel && seA == kSentinel && b == kSentinel && seB == kSentinel; }
};

TEST_F(NumericServices, LinearRegressionCodesAtTheEdges)
{
    struct Case {
        const char* name;
        std::vector<double> x, y;
        int code;
    };
    const Case refused[] = {
        {"one point at x = 0", {0.0}, {5.0}, 3},
        {"two points of equal x", {2.5, 2.5}, {1.0, 4.0}, 3},
        {"five times 0.1 (D = 5.6e-17)", {0.1, 0.1, 0.1, 0.1, 0.1}, {1.0, 2.0, 3.0, 4.0, 5.0}, 3},
        {"six times 0.7 (D below 0)", {0.7, 0.7, 0.7, 0.7, 0.7, 0.7}, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}, 3},
        {"NaN x", {1.0, kNaN, 3.0}, {1.0, 2.0, 3.0}, 3},
        {"infinite y", {1.0, 2.0, 3.0}, {1.0, kInf, 3.0}, 3},
        {"NaN y of one point", {2.0}, {kNaN}, 3},
        {"one point, slope overflows", {1e-300}, {1e300}, 3},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        Line l;
        EXPECT_EQ(c.code, m->LinearRegression(c.y.data(), c.x.data(), static_cast<int>(c.x.size()), l.a, l.seA,
                                              l.b, l.seB));
        EXPECT_TRUE(l.Untouched());
    }

    Line none;
    EXPECT_EQ(1, m->LinearRegression(nullptr, nullptr, 0, none.a, none.seA, none.b, none.seB));
    EXPECT_EQ(0.0, none.a);
    EXPECT_EQ(0.0, none.seA);
    EXPECT_EQ(0.0, none.b);
    EXPECT_EQ(0.0, none.seB);

    const double x1[] = {4.0}, y1[] = {10.0};
    Line one;
    EXPECT_EQ(2, m->LinearRegression(y1, x1, 1, one.a, one.seA, one.b, one.seB));
    EXPECT_EQ(0.0, one.a);
    EXPECT_EQ(2.5, one.b);
    EXPECT_EQ(0.0, one.seA);
    EXPECT_EQ(0.0, one.seB);

    const double x2[] = {1.0, 3.0}, y2[] = {5.0, 11.0};
    Line two;
    EXPECT_EQ(0, m->LinearRegression(y2, x2, 2, two.a, two.seA, two.b, two.seB));
    EXPECT_EQ(3.0, two.b);
    EXPECT_EQ(2.0, two.a);
    EXPECT_EQ(0.0, two.seA);
    EXPECT_EQ(0.0, two.seB);

    const double x4[] = {-2.0, 0.0, 1.0, 5.0}, y4[] = {-4.0, 2.0, 5.0, 17.0};
    Line exact;
    EXPECT_EQ(0, m->LinearRegression(y4, x4, 4, exact.a, exact.seA, exact.b, exact.seB));
    EXPECT_NEAR(2.0, exact.a, 1e-12);
    EXPECT_NEAR(3.0, exact.b, 1e-12);
    EXPECT_NEAR(0.0, exact.seA, 1e-7);
    EXPECT_NEAR(0.0, exact.seB, 1e-7);
}

TEST(LinearRegressionComparison, AgreesWithATwoPassComputationOnSeededData)
{
    std::mt19937 rng(77031u);
    std::uniform_int_distribution<int> count(3, 30);
    std::uniform_real_distribution<double> xs(-20.0, 60.0);
    std::uniform_real_distribution<double> coef(-5.0, 5.0);
    std::normal_distribution<double> noise(0.0, 1.5);
    auto m = std::make_unique<CQarMathFunctions>();
    for (int set = 0; set < 300; ++set) {
        SCOPED_TRACE(testing::Message() << "data set " << set);
        const int N = count(rng);
        const double a0 = coef(rng) * 10.0, b0 = coef(rng);
        std::vector<double> x(N), y(N);
        for (int i = 0; i < N; ++i) {
            x[i] = xs(rng);
            y[i] = a0 + b0 * x[i] + noise(rng);
        }
        double xBar = 0.0, yBar = 0.0;
        for (int i = 0; i < N; ++i) {
            xBar += x[i] / N;
            yBar += y[i] / N;
        }
        double cxx = 0.0, cxy = 0.0, sumSquaresX = 0.0;
        for (int i = 0; i < N; ++i) {
            cxx += (x[i] - xBar) * (x[i] - xBar);
            cxy += (x[i] - xBar) * (y[i] - yBar);
            sumSquaresX += x[i] * x[i];
        }
        const double b = cxy / cxx, a = yBar - b * xBar;
        double rss = 0.0;
        for (int i = 0; i < N; ++i)
            rss += (y[i] - a - b * x[i]) * (y[i] - a - b * x[i]);
        const double s2 = rss / (N - 2);
        const double seB = std::sqrt(s2 / cxx);
        const double seA = std::sqrt(s2 * sumSquaresX / (N * cxx));

        Line l;
        ASSERT_EQ(0, m->LinearRegression(y.data(), x.data(), N, l.a, l.seA, l.b, l.seB));
        EXPECT_NEAR(a, l.a, 1e-9 * (1.0 + std::fabs(a)));
        EXPECT_NEAR(b, l.b, 1e-9 * (1.0 + std::fabs(b)));
        EXPECT_NEAR(seA, l.seA, 1e-7 * seA + 1e-12);
        EXPECT_NEAR(seB, l.seB, 1e-7 * seB + 1e-12);
    }
}

// --- NiceNumber ---------------------------------------------------------------

TEST_F(NumericServices, NiceNumberRoundsToOneSignificantDigit)
{
    struct Case {
        double x;
        int roundUp;
        double result;
        int mantissa, exponent;
    };
    const Case cases[] = {
        {0.0034, 1, 0.004, 4, -3},
        {9.2, 1, 10.0, 1, 1},
        {250.0, 0, 200.0, 2, 2},
        {200.0, 1, 200.0, 2, 2},
        {0.5, 0, 0.5, 5, -1},
        {5.0, 0, 5.0, 5, 0},
        {5.0, 1, 5.0, 5, 0},
        {1.0, 1, 1.0, 1, 0},
        {9.99, 0, 9.0, 9, 0},
        {6000.0, 1, 6000.0, 6, 3},
        {6001.0, 1, 7000.0, 7, 3},
        {-250.0, 0, 200.0, 2, 2},
        {0.0, 1, 0.0, 0, 0},
        {-0.0, 0, 0.0, 0, 0},
        {kInf, 1, 0.0, 0, 0},
        {-kInf, 0, 0.0, 0, 0},
        {kNaN, 1, 0.0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " up " << c.roundUp);
        int mantissa = -99, exponent = -99;
        EXPECT_EQ(c.result, m->NiceNumber(c.x, c.roundUp, mantissa, exponent));
        EXPECT_EQ(c.mantissa, mantissa);
        EXPECT_EQ(c.exponent, exponent);
    }
}

TEST_F(NumericServices, NiceNumberReturnsFiniteAtTheEndsOfTheDoubleRange)
{
    int mantissa = 0, exponent = 0;
    const double big = m->NiceNumber(1.7e308, 1, mantissa, exponent);
    EXPECT_TRUE(std::isfinite(big));
    EXPECT_EQ(1, mantissa);
    EXPECT_EQ(308, exponent);

    const double tiny = m->NiceNumber(std::numeric_limits<double>::denorm_min(), 1, mantissa, exponent);
    EXPECT_TRUE(std::isfinite(tiny));
    EXPECT_EQ(-324, exponent);
}

// --- IsValidFit and the leakage areas -----------------------------------------

TEST_F(NumericServices, IsValidFitBoundaries)
{
    struct Case {
        double C, n;
        int valid;
    };
    const Case cases[] = {
        {1.0, 0.1, 1},        {1.0, 10.0, 1},       {1.0, 0.0999999, 0}, {1.0, 10.000001, 0},
        {0.0001, 0.65, 0},    {0.00010001, 0.65, 1}, {-1.0, -1.0, 0},    {kInf, 0.65, 0},
        {kNaN, 0.65, 0},      {100.0, kNaN, 0},     {100.0, kInf, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, m->IsValidFit(c.C, c.n)) << "C " << c.C << " n " << c.n;
}

TEST_F(NumericServices, LeakageAreasUseTheirCoefficients)
{
    double area = 0.0;
    // 0.2938 is held in single precision: the area uses 0.2937999963760376.
    ASSERT_EQ(1, m->CalcEqla(area, 100.0, 0.65, 1.0, 1.0));
    EXPECT_DOUBLE_EQ(std::pow(10.0, 0.65) * 100.0 * 0.2937999963760376, area);
    EXPECT_GT(std::fabs(area - std::pow(10.0, 0.65) * 100.0 * 0.2938), 1e-7);

    ASSERT_EQ(1, m->CalcEqla(area, 100.0, 0.65, 1.699, 2.54));
    EXPECT_DOUBLE_EQ(std::pow(10.0, 0.65) * 100.0 * 0.2937999963760376 / (1.699 * 2.54 * 2.54), area);

    ASSERT_EQ(1, m->CalcEla(area, 250.0, 0.6, 0.4719, 0.0254));
    EXPECT_DOUBLE_EQ(std::pow(4.0, 0.6) * 250.0 * 0.2838 / (0.4719 * 0.0254 * 0.0254), area);

    ASSERT_EQ(1, m->CalcIsoLeakageArea(area, 500.0, 0.65, 50.0));
    EXPECT_DOUBLE_EQ(500.0 / 3600.0 * std::sqrt(1.204097032546997 / 2.0) * std::pow(50.0, 0.15), area);
}

TEST_F(NumericServices, LeakageAreasWithoutAValueAreZero)
{
    struct Case {
        const char* name;
        double C, n, factor;
    };
    const Case cases[] = {
        {"failed fit", -1.0, -1.0, 1.0},
        {"n too small", 100.0, 0.05, 1.0},
        {"infinite C", kInf, 0.65, 1.0},
        {"factor 0", 100.0, 0.65, 0.0},
        {"negative factor", 100.0, 0.65, -1.0},
        {"NaN factor", 100.0, 0.65, kNaN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double area = kSentinel;
        EXPECT_EQ(0, m->CalcEqla(area, c.C, c.n, c.factor, 1.0));
        EXPECT_EQ(0.0, area);
        area = kSentinel;
        EXPECT_EQ(0, m->CalcEla(area, c.C, c.n, c.factor, 1.0));
        EXPECT_EQ(0.0, area);
    }
    double lengthZero = kSentinel;
    EXPECT_EQ(0, m->CalcEqla(lengthZero, 100.0, 0.65, 1.0, 0.0));
    EXPECT_EQ(0.0, lengthZero);
    // A reference pressure typed as text reads as 0: no area, not inf or 0 as
    // a value.
    for (double p : {0.0, -50.0, kNaN, kInf}) {
        double area = kSentinel;
        EXPECT_EQ(0, m->CalcIsoLeakageArea(area, 500.0, 0.65, p)) << p;
        EXPECT_EQ(0.0, area);
    }
    double area = kSentinel;
    EXPECT_EQ(0, m->CalcIsoLeakageArea(area, -1.0, -1.0, 50.0));
    EXPECT_EQ(0.0, area);
}

// --- CorrectCToStandardDensity -------------------------------------------------

TEST_F(NumericServices, CorrectCToStandardDensity)
{
    const double rho0 = CQarMathFunctions::kReferenceDensity;
    EXPECT_EQ(1.204097032546997, rho0);
    EXPECT_NE(1.204097, rho0);

    EXPECT_EQ(123.4, m->CorrectCToStandardDensity(L'P', 123.4, 1.0, 1.1, 1.3));
    EXPECT_EQ(0.0, m->CorrectCToStandardDensity(L'P', 123.4, 0.0, 1.1, 1.3));
    EXPECT_EQ(0.0, m->CorrectCToStandardDensity(L'D', 123.4, -1.0, 1.1, 1.3));
    EXPECT_EQ(0.0, m->CorrectCToStandardDensity(L'D', 123.4, kNaN, 1.1, 1.3));
    EXPECT_DOUBLE_EQ(123.4, m->CorrectCToStandardDensity(L'P', 123.4, 0.6, rho0, 1.3));

    // 'P' takes the indoor density, every other letter the outdoor one.
    EXPECT_DOUBLE_EQ(100.0 / std::pow(1.1 / rho0, 0.4), m->CorrectCToStandardDensity(L'P', 100.0, 0.6, 1.1, 1.3));
    EXPECT_DOUBLE_EQ(100.0 / std::pow(1.3 / rho0, 0.4), m->CorrectCToStandardDensity(L'D', 100.0, 0.6, 1.1, 1.3));
    EXPECT_DOUBLE_EQ(100.0 / std::pow(1.3 / rho0, 0.4), m->CorrectCToStandardDensity(L'X', 100.0, 0.6, 1.1, 1.3));

    // No barometric pressure entered (density 0) or a mean over no tests.
    for (double rho : {0.0, -1.2, kNaN, kInf})
        EXPECT_EQ(0.0, m->CorrectCToStandardDensity(L'P', 100.0, 0.6, rho, 1.2)) << rho;
}

// --- Running statistics and Mean -----------------------------------------------

TEST_F(NumericServices, RunningStatisticsMatchTheirDefinitions)
{
    double mean = kSentinel, sd = kSentinel;
    m->RunningMeanAndStdDev(mean, sd, 0, 1.0);
    EXPECT_EQ(1.0, mean);
    EXPECT_EQ(0.0, sd);
    m->RunningMeanAndStdDev(mean, sd, 1, 3.0);
    EXPECT_DOUBLE_EQ(2.0, mean);
    EXPECT_DOUBLE_EQ(std::sqrt(2.0), sd);

    const double values[] = {2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0};
    double runningMean = 0.0;
    for (int k = 0; k < 8; ++k) {
        m->RunningMeanAndStdDev(mean, sd, k, values[k]);
        runningMean = m->RunningMean(runningMean, k, values[k]);
    }
    EXPECT_NEAR(5.0, mean, 1e-12);
    EXPECT_NEAR(std::sqrt(32.0 / 7.0), sd, 1e-12);
    EXPECT_NEAR(5.0, runningMean, 1e-12);
    EXPECT_EQ(42.0, m->RunningMean(kSentinel, 0, 42.0));

    // Equal readings: rounding noise never turns into NaN.
    for (int k = 0; k < 200; ++k)
        m->RunningMeanAndStdDev(mean, sd, k, 0.1);
    EXPECT_TRUE(std::isfinite(sd));
    EXPECT_NEAR(0.0, sd, 1e-6);
}

TEST_F(NumericServices, MeanIsDefinedForNoValues)
{
    const double values[] = {1.0, 2.0, 3.0, 4.0};
    EXPECT_EQ(2.5, m->Mean(values, 4));
    EXPECT_EQ(1.0, m->Mean(values, 1));
    EXPECT_EQ(0.0, m->Mean(values, 0));
    EXPECT_EQ(0.0, m->Mean(nullptr, 0));
    EXPECT_EQ(6.25, m->Square(-2.5));
}

// --- Student's t -----------------------------------------------------------------

TEST(StudentT, TellingRowsAndClamping)
{
    const std::pair<int, double> rows[] = {
        {1, 12.706}, {2, 4.303},   {3, 3.182},   {4, 2.776},   {5, 2.571},   {6, 2.447},   {8, 2.306},
        {10, 2.228}, {15, 2.131},  {20, 2.086},  {30, 2.042},  {40, 2.021},  {60, 2.000},  {100, 1.984},
        {120, 1.980}, {126, 1.979}, {200, 1.972}, {500, 1.965}, {1000, 1.962},
    };
    for (auto [df, t] : rows)
        EXPECT_EQ(t, CQarMathFunctions::StudentT95(df)) << "df " << df;
    EXPECT_EQ(12.706, CQarMathFunctions::StudentT95(0));
    EXPECT_EQ(12.706, CQarMathFunctions::StudentT95(-5));
    EXPECT_EQ(1.962, CQarMathFunctions::StudentT95(1001));
}

// Fisher's expansion of the t quantile in powers of 1/df is good to 1e-4
// from df = 6; with the rounding to three decimals every entry must lie
// within 0.0006 of it, which a slipped digit would not.
TEST(StudentT, EveryEntryAgreesWithTheAsymptoticExpansion)
{
    const double z = 1.959963984540054;
    const double z3 = z * z * z, z5 = z3 * z * z, z7 = z5 * z * z, z9 = z7 * z * z;
    const double g1 = (z3 + z) / 4.0;
    const double g2 = (5.0 * z5 + 16.0 * z3 + 3.0 * z) / 96.0;
    const double g3 = (3.0 * z7 + 19.0 * z5 + 17.0 * z3 - 15.0 * z) / 384.0;
    const double g4 = (79.0 * z9 + 776.0 * z7 + 1482.0 * z5 - 1920.0 * z3 - 945.0 * z) / 92160.0;
    double previous = CQarMathFunctions::StudentT95(1);
    for (int df = 2; df <= 1000; ++df) {
        const double t = CQarMathFunctions::StudentT95(df);
        EXPECT_LE(t, previous) << "df " << df;
        EXPECT_EQ(t, std::round(t * 1000.0) / 1000.0) << "df " << df;
        previous = t;
        if (df >= 6) {
            const double v = df;
            const double expansion = z + g1 / v + g2 / (v * v) + g3 / (v * v * v) + g4 / (v * v * v * v);
            EXPECT_NEAR(expansion, t, 0.0006) << "df " << df;
        }
    }
}

}  // namespace
