// Axis ranges of the leakage graph: the planned pressure range from the
// targets and a cruise, the measured pressure differences, and the flow
// range from the fitted curve or, where there is none, from the data.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/calc/DirectionFitFixture.h"

using namespace dirfit;

class GraphAxisRange : public DirectionFitFixture {
protected:
    void SetTargets(int d, std::initializer_list<double> targets)
    {
        int k = 0;
        for (double t : targets)
            s->m_Targets[d][k++] = t;
        for (; k <= CTestGraph1::kMaxTargets; ++k)
            s->m_Targets[d][k] = 0.0;
    }
    void SetAxes(int d, double pMin, double pMax, double qMin, double qMax)
    {
        s->m_AxisPmin[d] = pMin;
        s->m_AxisPmax[d] = pMax;
        s->m_AxisQmin[d] = qMin;
        s->m_AxisQmax[d] = qMax;
    }
};

// With fewer than two entries only the plan sets the pressure range, and
// only for the automatic methods of the slot shown; the flow range stays.
TEST_F(GraphAxisRange, PlannedPressureRange)
{
    struct Case {
        const char* name;
        std::vector<double> targets;
        wchar_t method;      // of the slot shown
        int cruiseMode;
        double cruise;
        double pMin, pMax;
    };
    const Case cases[] = {
        {"the standard's targets", {10, 20, 30, 40, 50}, L'A', 0, 0, 4, 60},
        {"semi-automatic", {3, 80}, L'S', 0, 0, 2, 90},
        {"manual method", {10, 20, 30, 40, 50}, L'M', 0, 0, 4, 70},
        {"a low target", {1.5}, L'A', 0, 0, 1, 50},
        {"no targets", {}, L'A', 0, 0, 4, 50},
        {"the 12th target is not planned", {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 150, 200}, L'A', 0, 0, 4, 160},
        {"a target of 0 ends the list", {10, 0, 90}, L'A', 0, 0, 4, 50},
        {"cruise without baseline", {10, 20}, L'A', 1, 80, 4, 90},
        {"cruise with baseline, low", {10, 20}, L'A', 2, 2.5, 1.5, 50},
        {"no cruise", {10, 20}, L'A', 0, 80, 4, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s->m_Targets[0][0] = 0.0;
        for (size_t k = 0; k < c.targets.size(); ++k)
            s->m_Targets[0][k] = c.targets[k];
        s->m_Targets[0][c.targets.size()] = 0.0;
        settings->m_chMethodLetter[0] = c.method;
        s->m_CruiseMode = c.cruiseMode;
        s->m_dCruisePressure = c.cruise;
        Lay(0, {Marker(0.5)});
        SetAxes(0, 0, 0, 100, 6000);
        s->RecalculateGraph(0);
        EXPECT_DOUBLE_EQ(c.pMin, s->m_AxisPmin[0]);
        EXPECT_DOUBLE_EQ(c.pMax, s->m_AxisPmax[0]);
        EXPECT_EQ(100.0, s->m_AxisQmin[0]);
        EXPECT_EQ(6000.0, s->m_AxisQmax[0]);
    }
}

// The method that decides is the one of the slot the pages show.
TEST_F(GraphAxisRange, MethodOfTheShownSlotDecides)
{
    SetTargets(0, {10, 20, 30, 40, 50});
    settings->m_chMethodLetter[0] = L'A';
    settings->m_chMethodLetter[1] = L'M';
    Lay(0, {});
    g_nCurrentDirection = 1;
    SetAxes(0, 0, 0, 0.5, 6000);
    s->RecalculateGraph(0);
    EXPECT_EQ(4.0, s->m_AxisPmin[0]);
    EXPECT_EQ(70.0, s->m_AxisPmax[0]);
    EXPECT_EQ(1.0, s->m_AxisQmin[0]);   // the kept flow range still starts at 1 at least
    g_nCurrentDirection = 0;
    s->RecalculateGraph(0);
    EXPECT_EQ(60.0, s->m_AxisPmax[0]);
}

// Measured differences widen the range test by test; a running test has
// only its opening baseline, and points before the first marker are no
// test's.
TEST_F(GraphAxisRange, MeasuredPressuresWidenTheRange)
{
    SetTargets(0, {10, 20, 30, 40, 50});
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        double pMin, pMax;
    };
    const Case cases[] = {
        {"a closed test", {Marker(0), Point(10, 4.5, 50), Point(50, 62, 400), Marker(4)}, 2.5, 70},
        {"a point near its baseline", {Marker(1), Point(10, 1.3, 50), Point(50, 30, 400), Marker(1)}, 1, 60},
        {"a running test", {Marker(6), Point(10, 9, 50), Point(70, 60, 400)}, 3, 64},
        {"a point before the first marker", {Point(10, 200, 900), Marker(0), Point(20, 20, 300), Marker(0)}, 4, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lay(0, c.entries);
        s->RecalculateGraph(0);
        EXPECT_DOUBLE_EQ(c.pMin, s->m_AxisPmin[0]);
        EXPECT_DOUBLE_EQ(c.pMax, s->m_AxisPmax[0]);
    }
    // In depressurization the differences are taken by magnitude.
    Lay(1, {Marker(-1), Point(10, -3.5, 50), Point(75, -86, 400), Marker(-1)});
    SetTargets(1, {10, 20, 30, 40, 50});
    s->RecalculateGraph(1);
    EXPECT_DOUBLE_EQ(2.5, s->m_AxisPmin[1]);
    EXPECT_DOUBLE_EQ(95.0, s->m_AxisPmax[1]);
}

// The flow range follows the fitted curve over the pressure range and
// takes in every data flow; implausible fits keep the old range, and where
// no fit was made the data flows alone set it.
TEST_F(GraphAxisRange, FlowRangeFollowsTheFit)
{
    SetTargets(0, {10, 20, 30, 40, 50});
    auto L = [](double p) { return Law(50.0, 0.6, p); };
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        double qMin, qMax;
    };
    const Case cases[] = {
        {"fitted", {Marker(0), Point(10, 10, L(10)), Point(20, 20, L(20)), Point(40, 40, L(40)), Marker(0)}, L(4), L(60)},
        // Exponent fixed at 0.65 from the mean of 300 and 310 at 21 Pa.
        {"narrow span", {Marker(0), Point(20, 20, 300), Point(22, 22, 310), Marker(0)},
         305.0 / std::pow(21.0, 0.65) * std::pow(4.0, 0.65), 305.0 / std::pow(21.0, 0.65) * std::pow(60.0, 0.65)},
        {"implausible fit", {Marker(0), Point(10, 10, Law(200, 1.25, 10)), Point(40, 40, Law(200, 1.25, 40)), Marker(0)},
         100, Law(200, 1.25, 40)},
        {"implausible fit within the old range", {Marker(0), Point(10, 10, 500), Point(40, 40, 600), Marker(0)}, 100,
         6000},
        {"a wrong sign", {Marker(0), Point(10, -2, 200), Point(40, 40, 500), Marker(0)}, 200, 500},
        {"a flow of 0", {Marker(0), Point(10, 10, 0), Point(40, 40, 500), Marker(0)}, 1, 500},
        {"all flows 0", {Marker(0), Point(10, 10, 0), Point(40, 40, 0), Marker(0)}, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lay(0, c.entries);
        SetAxes(0, 4, 70, 100, 6000);
        s->RecalculateGraph(0);
        EXPECT_NEAR(c.qMin, s->m_AxisQmin[0], 1e-9 * c.qMax);
        EXPECT_NEAR(c.qMax, s->m_AxisQmax[0], 1e-9 * c.qMax);
    }
}

// The graph's recalculation is the direction's fit: it leaves n and C in
// the store, -1 after a fit that could not be made.
TEST_F(GraphAxisRange, RecalculationStoresTheDirectionFit)
{
    auto L = [](double p) { return Law(50.0, 0.6, p); };
    Lay(0, {Marker(0), Point(10, 10, L(10)), Point(20, 20, L(20)), Point(40, 40, L(40)), Marker(0)});
    s->RecalculateGraph(0);
    EXPECT_NEAR(0.6, s->m_FitN[0], 1e-12);
    EXPECT_NEAR(50.0, s->m_FitC[0], 1e-9);
    Lay(0, {Marker(0), Point(10, 10, 0), Point(40, 40, 500), Marker(0)});
    s->RecalculateGraph(0);
    EXPECT_EQ(-1.0, s->m_FitN[0]);
    EXPECT_EQ(-1.0, s->m_FitC[0]);
}
