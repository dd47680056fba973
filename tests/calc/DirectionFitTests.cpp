// Fits of a test direction and of its tests: result codes and fallbacks,
// baseline correction, the flow factor of each test, and the fits that
// cannot be made.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/calc/DirectionFitFixture.h"

using namespace dirfit;

namespace {

constexpr double kNotChecked = std::numeric_limits<double>::quiet_NaN();

double Mean(std::initializer_list<double> values)
{
    double sum = 0.0;
    for (double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

void ExpectRelativelyNear(double expected, double actual, double tolerance)
{
    EXPECT_NEAR(expected, actual, std::fabs(expected) * tolerance) << "expected " << expected;
}

double L(double p)
{
    return Law(50.0, 0.6, p);
}

}  // namespace

class DirectionFit : public DirectionFitFixture {};

TEST_F(DirectionFit, ResultCodesAndFallbacks)
{
    struct Case {
        std::string name;
        int d;
        int standard;
        std::vector<Entry> entries;
        int code;
        double n, C;     // kNotChecked: not checked
        int nFixed, twoPoint;
        double r;        // -1, 1 (a perfect regression) or kNotChecked
    };
    const double meanQ3 = Mean({300.0, 310.0, 330.0});
    const double meanP3 = Mean({20.0, 22.0, 25.0});
    const Case cases[] = {
        {"no entries", 0, 0, {}, 1, -1.0, -1.0, 1, 0, -1.0},
        {"markers only", 0, 0, {Marker(0), Marker(0)}, 1, -1.0, -1.0, 1, 0, -1.0},
        {"a flow of 0", 0, 0, {Marker(0), Point(10, 10, L(10)), Point(20, 20, 0.0), Point(30, 30, L(30)), Marker(0)},
         2, -1.0, -1.0, 0, 0, -1.0},
        {"a negative flow", 0, 0, {Marker(0), Point(10, 10, -5.0), Point(20, 20, L(20)), Point(30, 30, L(30)), Marker(0)},
         2, -1.0, -1.0, 0, 0, -1.0},
        {"a pressure below its baseline", 0, 0,
         {Marker(1), Point(10, 0.5, 100), Point(20, 21, 200), Point(30, 31, 300), Marker(1)}, 3, -1.0, -1.0, 0, 0, -1.0},
        {"flow 0, then a wrong sign", 0, 0, {Marker(1), Point(10, 11, 0.0), Point(20, 0.5, 200), Marker(1)}, 3, -1.0,
         -1.0, 0, 0, -1.0},
        {"a wrong sign, then flow 0", 0, 0, {Marker(1), Point(10, 0.5, 100), Point(20, 21, 0.0), Marker(1)}, 2, -1.0,
         -1.0, 0, 0, -1.0},
        {"one point", 0, 0, {Marker(0), Point(50, 50, 1000), Marker(0)}, 0, 0.65, 1000.0 / std::pow(50.0, 0.65), 1, 0,
         -1.0},
        {"one point exactly at its baseline", 0, 0, {Marker(5), Point(10, 5, 100), Marker(5)}, 0, 0.65,
         100.0 / std::pow(0.01, 0.65), 1, 0, -1.0},
        {"two points, exact solution", 0, 0, {Marker(0), Point(10, 10, L(10)), Point(40, 40, L(40)), Marker(0)}, 0, 0.6,
         50.0, 0, 1, -1.0},
        {"two points 4 Pa apart", 0, 0, {Marker(0), Point(20, 20, 300), Point(24, 24, 330), Marker(0)}, 5, 0.65,
         315.0 / std::pow(22.0, 0.65), 1, 0, -1.0},
        {"two points 5 Pa apart", 0, 0, {Marker(0), Point(20, 20, 300), Point(25, 25, 330), Marker(0)}, 5, 0.65,
         315.0 / std::pow(22.5, 0.65), 1, 0, -1.0},
        {"three points within 5 Pa", 0, 0,
         {Marker(0), Point(20, 20, 300), Point(22, 22, 310), Point(25, 25, 330), Marker(0)}, 5, 0.65,
         meanQ3 / std::pow(meanP3, 0.65), 1, 0, -1.0},
        {"regression", 0, 0,
         {Marker(0), Point(10, 10, L(10)), Point(20, 20, L(20)), Point(30, 30, L(30)), Point(50, 50, L(50)), Marker(0)},
         0, 0.6, 50.0, 0, 0, 1.0},
        {"equal targets, three points", 0, 0,
         {Marker(0), Point(50, 40, L(40)), Point(50, 50, L(50)), Point(50, 60, L(60)), Marker(0)}, 0, 0.65,
         Mean({L(40), L(50), L(60)}) / std::pow(50.0, 0.65), 1, 0, -1.0},
        {"equal targets, two points far apart", 0, 0, {Marker(0), Point(50, 30, L(30)), Point(50, 60, L(60)), Marker(0)},
         0, 0.65, Mean({L(30), L(60)}) / std::pow(45.0, 0.65), 1, 0, -1.0},
        {"regression with n = 1.25", 0, 0,
         {Marker(0), Point(10, 10, Law(50, 1.25, 10)), Point(20, 20, Law(50, 1.25, 20)),
          Point(40, 40, Law(50, 1.25, 40)), Marker(0)},
         4, 1.25, 50.0, 0, 0, 1.0},
        {"regression with n = 0.3", 0, 0,
         {Marker(0), Point(10, 10, Law(50, 0.3, 10)), Point(20, 20, Law(50, 0.3, 20)), Point(40, 40, Law(50, 0.3, 40)),
          Marker(0)},
         4, 0.3, 50.0, 0, 0, 1.0},
        {"regression with n = 0.301", 0, 0,
         {Marker(0), Point(10, 10, Law(50, 0.301, 10)), Point(20, 20, Law(50, 0.301, 20)),
          Point(40, 40, Law(50, 0.301, 40)), Marker(0)},
         0, 0.301, 50.0, 0, 0, 1.0},
        {"regression with r below 0.5", 0, 1,
         {Marker(0), Point(10, 10, 300), Point(20, 20, 100), Point(30, 30, 500), Point(40, 40, 200), Point(50, 50, 600),
          Marker(0)},
         4, kNotChecked, kNotChecked, 0, 0, kNotChecked},
        {"two points with n = 1.5", 0, 0,
         {Marker(0), Point(10, 10, Law(50, 1.5, 10)), Point(40, 40, Law(50, 1.5, 40)), Marker(0)}, 4, 1.5, 50.0, 0, 1,
         -1.0},
        // Depressurization: baselines -2 and -4 make -27 and -54 into -24
        // and -51, fitted as 24 and 51.
        {"depressurization, two points", 1, 0,
         {Marker(-2), Point(25, -27, L(24)), Point(50, -54, L(51)), Marker(-4)}, 0, 0.6, 50.0, 0, 1, -1.0},
        {"depressurization, a point above its baseline", 1, 0,
         {Marker(-2), Point(25, -27, L(25)), Point(50, 1, L(50)), Marker(-2)}, 3, -1.0, -1.0, 0, 0, -1.0},
        {"depressurization, a point exactly at its baseline", 1, 0, {Marker(-3), Point(25, -3, 100), Marker(-3)}, 0,
         0.65, 100.0 / std::pow(0.01, 0.65), 1, 0, -1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->m_nStandard = c.standard;
        Lay(c.d, c.entries);
        math->m_dCorrelation[c.d][0] = 0.123;
        double n = 0.0, C = 0.0;
        EXPECT_EQ(c.code, FitSlot(c.d, n, C));
        if (!std::isnan(c.n)) {
            EXPECT_NEAR(c.n, n, 1e-12);
        }
        if (!std::isnan(c.C)) {
            ExpectRelativelyNear(c.C, C, 1e-10);
        }
        EXPECT_EQ(c.nFixed, s->m_NFixed[c.d]);
        EXPECT_EQ(c.twoPoint, s->m_TwoPointFit[c.d]);
        const double r = math->m_dCorrelation[c.d][0];
        if (c.r == -1.0) {
            EXPECT_EQ(-1.0, r);
        } else if (c.r == 1.0) {
            EXPECT_NEAR(1.0, r, 1e-12);
        } else {
            EXPECT_TRUE(r >= 0.0 && r < 0.5) << r;
        }
    }
}

// Every point gets the baseline of its own test: the mean of the markers
// around it, only the opening one while the test runs, and the next marker
// for a point before the first. Flows from one exact law over the corrected
// pressures give that law back only when each baseline is right.
TEST_F(DirectionFit, EachPointIsCorrectedByTheBaselineOfItsTest)
{
    const std::vector<Entry> entries = {
        Point(15, 16, L(15)),     // before any marker: 16 - 1 = 15
        Marker(1.0),
        Point(10, 12, L(10)),     // 12 - (1 + 3) / 2 = 10
        Point(30, 32, L(30)),
        Marker(3.0),
        Marker(-1.0),
        Point(20, 19, L(20)),     // 19 - (-1) = 20
        Point(40, 39, L(40)),
        Marker(-1.0),
        Marker(5.0),              // running test: 55 - 5 = 50
        Point(50, 55, L(50)),
    };
    for (int d = 0; d < 2; ++d) {
        SCOPED_TRACE(d == 0 ? "pressurization" : "depressurization");
        std::vector<Entry> laid = entries;
        if (d == 1) {
            for (Entry& e : laid)
                e.p = -e.p;
        }
        Lay(d, laid);
        EXPECT_EQ(2, s->m_CompletedTests[d]);
        double n = 0.0, C = 0.0;
        EXPECT_EQ(0, FitSlot(d, n, C));
        EXPECT_NEAR(0.6, n, 1e-12);
        ExpectRelativelyNear(50.0, C, 1e-11);
        EXPECT_NEAR(1.0, math->m_dCorrelation[d][0], 1e-12);

        // The second test alone: its own markers, its own two points.
        EXPECT_EQ(0, FitOneTest(d, 1, n, C));
        EXPECT_NEAR(0.6, n, 1e-12);
        ExpectRelativelyNear(50.0, C, 1e-11);
        EXPECT_EQ(1, s->m_TestTwoPointFit[d][1]);
    }
}

// A store holds 32 tests; entries after the 32nd closing marker belong to
// none and must not enter the fit (here their flow of 0 would end it).
TEST_F(DirectionFit, EntriesAfterTheLastTestAreNotFitted)
{
    std::vector<Entry> entries;
    for (int t = 0; t < CTestGraph1::kMaxTests; ++t) {
        const double p = 10.0 + t;
        entries.insert(entries.end(), {Marker(0), Point(p, p, L(p)), Marker(0)});
    }
    entries.insert(entries.end(), {Marker(0), Point(60, 60, 0.0), Marker(0)});
    Lay(0, entries);
    EXPECT_EQ(CTestGraph1::kMaxTests, s->m_CompletedTests[0]);
    double n = 0.0, C = 0.0;
    EXPECT_EQ(0, FitSlot(0, n, C));
    EXPECT_NEAR(0.6, n, 1e-12);
    ExpectRelativelyNear(50.0, C, 1e-11);
}

// When the regression itself refuses the points (here pressures so large
// that their logarithms coincide) it leaves n and C as they were passed in;
// the fit must not hand those back as a result.
TEST_F(DirectionFit, RefusedRegressionLeavesNoStaleFit)
{
    Lay(0, {Marker(0), Point(10, 1e17, 100), Point(20, 1e17 + 16, 200), Point(30, 1e17 + 32, 300), Marker(0)});
    s->m_FitN[0] = 0.7;
    s->m_FitC[0] = 123.0;
    EXPECT_EQ(4, FitSlot(0, s->m_FitN[0], s->m_FitC[0]));
    EXPECT_EQ(-1.0, s->m_FitN[0]);
    EXPECT_EQ(-1.0, s->m_FitC[0]);
    EXPECT_EQ(-1.0, math->m_dCorrelation[0][0]);
}

// Each test's flows are multiplied by that test's own factor, computed for
// the fit with the exponent of the fit before it (0.65 for the first).
TEST_F(DirectionFit, FlowsAreCorrectedWithTheFactorOfTheirTest)
{
    settings->m_nStandard = 1;
    SetEnvironment(0, 0, 20.0, 0.0, 101325.0, 0.0);
    SetEnvironment(0, 1, 20.0, 20.0, 101325.0, 0.0);
    const double f0 = math->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 0);
    const double f1 = math->DensityFlowFactor(0.65, 1, 20.0, 20.0, 101325.0, 0);
    EXPECT_NEAR(1.035963, f0, 5e-7);
    EXPECT_NEAR(0.99999996, f1, 5e-9);
    Lay(0, {Marker(0), Point(10, 10, L(10) / f0), Point(30, 30, L(30) / f0), Marker(0), Marker(0),
            Point(20, 20, L(20) / f1), Point(50, 50, L(50) / f1), Marker(0)});

    double n = 0.0, C = 0.0;
    EXPECT_EQ(0, FitSlot(0, n, C));
    EXPECT_EQ(f0, s->m_FlowFactor[0][0]);
    EXPECT_EQ(f1, s->m_FlowFactor[0][1]);
    EXPECT_NEAR(0.6, n, 1e-12);
    ExpectRelativelyNear(50.0, C, 1e-11);

    // The next fit corrects with this fit's exponent.
    s->m_FitN[0] = n;
    s->ComputeFlowCorrections(0);
    EXPECT_DOUBLE_EQ(math->DensityFlowFactor(n, 1, 20.0, 0.0, 101325.0, 0), s->m_FlowFactor[0][0]);
    EXPECT_NE(f0, s->m_FlowFactor[0][0]);
}

// Environment data that describe no real air leave a flow factor or an air
// density of 0 (or worse); a fit over such a test is refused with code 2,
// never reported as valid.
TEST_F(DirectionFit, EnvironmentWithoutRealAirRefusesTheFit)
{
    struct Case {
        const char* name;
        int standard;
        int tempUnit;
        double tIn, tOut, pBaro, altitude;
    };
    const Case cases[] = {
        {"EN 13829, no barometric pressure", 1, 1, 20.0, 0.0, 0.0, 0.0},
        {"ISO 9972, indoor temperature below absolute zero", 3, 1, -280.0, 0.0, 101325.0, 0.0},
        {"ASTM E779, no barometric pressure", 2, 1, 20.0, 0.0, 0.0, 0.0},
        {"ASTM E779, above the barometric formula", 2, 1, 20.0, 0.0, 101325.0, 50000.0},
        {"CGSB, outdoor temperature below absolute zero", 0, 1, 20.0, -300.0, 101325.0, 0.0},
        {"CGSB, -500 degrees F", 0, 0, -500.0, 32.0, 101325.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->m_nStandard = c.standard;
        m_pView->m_nTemperatureUnit = c.tempUnit;
        // A sound first test and the unsound second.
        SetEnvironment(0, 0, 20.0, 20.0, 101325.0, 0.0);
        SetEnvironment(0, 1, c.tIn, c.tOut, c.pBaro, c.altitude);
        if (c.tempUnit == 0)
            SetEnvironment(0, 0, 68.0, 68.0, 101325.0, 0.0);
        Lay(0, {Marker(0), Point(10, 10, L(10)), Point(20, 20, L(20)), Point(30, 30, L(30)), Marker(0), Marker(0),
                Point(40, 40, L(40)), Point(50, 50, L(50)), Marker(0)});
        double n = 0.0, C = 0.0;
        EXPECT_EQ(2, FitSlot(0, n, C));
        EXPECT_EQ(-1.0, n);
        EXPECT_EQ(-1.0, C);
        EXPECT_EQ(-1.0, math->m_dCorrelation[0][0]);

        s->FitAllTests();
        EXPECT_NEAR(0.6, s->m_TestN[0][0], 1e-9);
        EXPECT_EQ(-1.0, s->m_TestN[0][1]);
        EXPECT_EQ(-1.0, s->m_TestC[0][1]);
        EXPECT_EQ(-1.0, s->m_TestR[0][1]);
        EXPECT_EQ(2, FitOneTest(0, 1, n, C));
    }
}

// Blocks that are no test (a running test without its closing marker, a
// first row below 0, fewer than two entries, outside the store) give code 1
// with n = C = r = -1, reading nothing.
TEST_F(DirectionFit, TestFitOfABlockThatIsNoTest)
{
    Lay(0, {Marker(0), Point(10, 10, L(10)), Point(30, 30, L(30)), Marker(0), Marker(0), Point(20, 20, L(20))});
    EXPECT_EQ(4, s->m_TestFirstRow[0][1]);
    EXPECT_EQ(0, s->m_TestRowCount[0][1]);
    struct Case {
        int first, count;
        bool bArrays;
    };
    const Case cases[] = {
        {4, 0, true}, {-1, 4, true}, {-1, 4, false}, {0, 1, true}, {1, 1, true}, {0, -3, true}, {128, 3, true},
        {1000, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ", " + std::to_string(c.count));
        s->m_TestR[0][1] = 0.5;
        math->m_dCorrelation[0][1] = 0.5;
        double n = 0.0, C = 0.0;
        const int code = c.bArrays ? s->FitTest(s->m_Pavg[0], s->m_Qavg[0], s->m_Ring[0], c.first, c.count, n, C, 0, 1)
                                   : s->FitTest(nullptr, nullptr, nullptr, c.first, c.count, n, C, 0, 1);
        EXPECT_EQ(1, code);
        EXPECT_EQ(-1.0, n);
        EXPECT_EQ(-1.0, C);
        EXPECT_EQ(-1.0, s->m_TestR[0][1]);
        EXPECT_EQ(-1.0, math->m_dCorrelation[0][1]);
    }
    // No test index of the store: nothing to write, no fit.
    for (int t : {-1, CTestGraph1::kMaxTests}) {
        double n = 0.0, C = 0.0;
        EXPECT_EQ(1, s->FitTest(s->m_Pavg[0], s->m_Qavg[0], s->m_Ring[0], 0, 4, n, C, 0, t));
        EXPECT_EQ(-1.0, n);
    }
}

// A test fit has no clamp to 0.01 Pa, except for a point exactly at its
// baseline, whose logarithm would not exist.
TEST_F(DirectionFit, TestFitKeepsSmallPressuresButNotZero)
{
    for (int d = 0; d < 2; ++d) {
        SCOPED_TRACE(d);
        const double sign = d == 0 ? 1.0 : -1.0;
        double n = 0.0, C = 0.0;

        Lay(d, {Marker(sign * 5.0), Point(10, sign * 5.0, 100), Marker(sign * 5.0)});
        EXPECT_EQ(0, FitOneTest(d, 0, n, C));
        ExpectRelativelyNear(100.0 / std::pow(0.01, 0.65), C, 1e-12);

        Lay(d, {Marker(sign * 5.0), Point(10, sign * 5.005, 100), Marker(sign * 5.0)});
        EXPECT_EQ(0, FitOneTest(d, 0, n, C));
        ExpectRelativelyNear(100.0 / std::pow(5.005 - 5.0, 0.65), C, 1e-12);
        EXPECT_EQ(0, FitSlot(d, n, C));
        ExpectRelativelyNear(100.0 / std::pow(0.01, 0.65), C, 1e-12);
    }
}

// Fit slot 0 and the fit flags belong to the direction: fitting the tests
// afterwards (test 0 shares slot 0) changes neither, so what the results
// read later is still the direction's fit.
TEST_F(DirectionFit, TestFitsKeepTheirOwnCorrelationAndFlags)
{
    Lay(0, {Marker(0), Point(10, 10, L(10)), Point(40, 40, L(40)), Marker(0), Marker(0),
            Point(20, 20, L(20) * 1.05), Point(30, 30, L(30) * 0.97), Point(50, 50, L(50)), Marker(0)});
    double n = 0.0, C = 0.0;
    ASSERT_EQ(0, FitSlot(0, n, C));
    const double rDirection = math->m_dCorrelation[0][0];
    const double cErrorDirection = math->m_dCErrorPct[0][0];
    EXPECT_GT(rDirection, 0.9);
    EXPECT_LT(rDirection, 1.0);
    EXPECT_EQ(0, s->m_NFixed[0]);
    EXPECT_EQ(0, s->m_TwoPointFit[0]);

    s->FitAllTests();
    EXPECT_EQ(rDirection, math->m_dCorrelation[0][0]);
    EXPECT_EQ(cErrorDirection, math->m_dCErrorPct[0][0]);
    EXPECT_EQ(0, s->m_NFixed[0]);
    EXPECT_EQ(0, s->m_TwoPointFit[0]);

    EXPECT_EQ(1, s->m_TestTwoPointFit[0][0]);
    EXPECT_EQ(0, s->m_TestNFixed[0][0]);
    EXPECT_NEAR(0.6, s->m_TestN[0][0], 1e-12);
    EXPECT_EQ(-1.0, s->m_TestR[0][0]);
    EXPECT_EQ(1.0, s->m_TestR2[0][0]);
    EXPECT_EQ(0, s->m_TestTwoPointFit[0][1]);
    EXPECT_GT(s->m_TestR[0][1], 0.5);
    EXPECT_LT(s->m_TestR[0][1], 1.0);
    EXPECT_EQ(s->m_TestR[0][1], math->m_dCorrelation[0][1]);
    EXPECT_DOUBLE_EQ(s->m_TestR[0][1] * s->m_TestR[0][1], s->m_TestR2[0][1]);
}

// Every completed test of both directions gets its own fit, with its own
// flow factor and its own target list.
TEST_F(DirectionFit, FitAllTestsFitsEveryTestOfBothDirections)
{
    settings->m_nStandard = 1;
    SetEnvironment(0, 0, 20.0, 0.0, 101325.0, 0.0);
    SetEnvironment(0, 1, 20.0, 20.0, 101325.0, 0.0);
    SetEnvironment(1, 0, 20.0, 0.0, 101325.0, 0.0);
    const double f00 = math->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 0);
    const double f01 = math->DensityFlowFactor(0.65, 1, 20.0, 20.0, 101325.0, 0);
    const double f10 = math->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 1);
    EXPECT_NEAR(0.955108, f10, 5e-7);
    auto q = [](double C, double n, double p, double f) { return Law(C, n, p) / f; };
    Lay(0, {Marker(0), Point(10, 10, q(40, 0.55, 10, f00)), Point(25, 25, q(40, 0.55, 25, f00)),
            Point(50, 50, q(40, 0.55, 50, f00)), Marker(0),
            // All at one target: the exponent is fixed, whatever the span.
            Marker(0), Point(50, 40, q(60, 0.7, 40, f01)), Point(50, 50, q(60, 0.7, 50, f01)),
            Point(50, 60, q(60, 0.7, 60, f01)), Marker(0),
            // Different targets within 5 Pa.
            Marker(0), Point(20, 20, 300), Point(22, 22, 310), Point(24, 24, 320), Marker(0),
            Marker(0), Point(10, 10, 100), Point(20, 20, 0.0), Point(30, 30, 300), Marker(0)});
    Lay(1, {Marker(-1), Point(10, -11, q(30, 0.8, 10, f10)), Point(25, -26, q(30, 0.8, 25, f10)),
            Point(50, -51, q(30, 0.8, 50, f10)), Marker(-1)});
    s->FitAllTests();

    struct Expected {
        int d, t;
        double n, C, r;
        int nFixed;
    };
    const Expected expected[] = {
        {0, 0, 0.55, 40.0, 1.0, 0},
        {0, 1, 0.65, Mean({Law(60, 0.7, 40), Law(60, 0.7, 50), Law(60, 0.7, 60)}) / std::pow(50.0, 0.65), -1.0, 1},
        {0, 2, 0.65, 310.0 * f01 / std::pow(22.0, 0.65), -1.0, 1},
        {0, 3, -1.0, -1.0, -1.0, 0},
        {1, 0, 0.8, 30.0, 1.0, 0},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(std::to_string(e.d) + "/" + std::to_string(e.t));
        EXPECT_NEAR(e.n, s->m_TestN[e.d][e.t], 1e-11);
        ExpectRelativelyNear(e.C, s->m_TestC[e.d][e.t], 1e-10);
        EXPECT_NEAR(e.r, s->m_TestR[e.d][e.t], 1e-12);
        EXPECT_NEAR(e.r * e.r, s->m_TestR2[e.d][e.t], 1e-12);
        EXPECT_EQ(e.nFixed, s->m_TestNFixed[e.d][e.t]);
    }
    double n = 0.0, C = 0.0;
    EXPECT_EQ(0, FitOneTest(0, 1, n, C));
    EXPECT_EQ(5, FitOneTest(0, 2, n, C));
    EXPECT_EQ(2, FitOneTest(0, 3, n, C));
}

TEST_F(DirectionFit, SlotsWithData)
{
    struct Case {
        int tests0, tests1, shown;
        int withData, other;
    };
    const Case cases[] = {
        {0, 0, 0, -1, 0}, {0, 0, 1, -1, 0}, {2, 0, 0, 0, 0}, {2, 0, 1, 0, 1},
        {0, 1, 0, 1, 1},  {0, 1, 1, 1, 0},  {1, 3, 0, 2, 1}, {1, 3, 1, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tests0) + " " + std::to_string(c.tests1) + " shown " + std::to_string(c.shown));
        s->m_CompletedTests[0] = c.tests0;
        s->m_CompletedTests[1] = c.tests1;
        g_nCurrentDirection = c.shown;
        EXPECT_EQ(c.withData, s->GetDirectionsWithData());
        EXPECT_EQ(c.other, s->OtherDirectionHasTests());
    }
}
