// The flow corrections of each completed test of a direction: which
// environment values each standard takes, the worked numbers of each
// correction, the unit flags, and the air densities kept per test.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/calc/DirectionFitFixture.h"

using namespace dirfit;

namespace {

double Density(double p, double celsius)
{
    return p / (287.055 * (273.15 + celsius));
}

}  // namespace

class TestFlowCorrections : public DirectionFitFixture {};

TEST_F(TestFlowCorrections, EachStandardCorrectsWithItsOwnValues)
{
    struct Case {
        const char* name;
        int standard;
        int tempUnit, buildingUnit;
        wchar_t letter;   // direction letter of slot 0
        double tInPre, tInPost, tOutPre, tOutPost, pPre, pPost, altitude;
        double factor, tolerance;
        // The densities' pressure and temperatures (degrees C).
        double rhoP, rhoTIn, rhoTOut;
    };
    const Case cases[] = {
        // CGSB: pre-test temperatures, standard pressure.
        {"CGSB pressurization", 0, 1, 1, L'P', 20, 30, 0, 10, 90000, 90000, 0, 1.035963, 5e-7, 101325, 20, 0},
        {"CGSB depressurization", 0, 1, 1, L'D', 20, 30, 0, 10, 90000, 90000, 0, 0.965285, 5e-7, 101325, 20, 0},
        {"CGSB in degrees F", 0, 0, 1, L'P', 68, 80, 32, 40, 0, 0, 0, 1.035963, 5e-7, 101325, 20, 0},
        // EN 13829 and ISO 9972: pre-test temperatures and pressure.
        {"EN 13829 pressurization", 1, 1, 1, L'P', 20, 30, 0, 10, 101325, 90000, 0, 1.035963, 5e-7, 101325, 20, 0},
        {"EN 13829 depressurization", 1, 1, 1, L'D', 20, 30, 0, 10, 101325, 90000, 0, 0.955108, 5e-7, 101325, 20, 0},
        {"EN 13829, equal temperatures", 1, 1, 1, L'P', 20, 20, 20, 20, 101325, 101325, 0, 0.99999996, 5e-9, 101325,
         20, 20},
        {"ISO 9972 depressurization", 3, 1, 1, L'D', 20, 30, 0, 10, 101325, 90000, 0, 0.955108, 5e-7, 101325, 20, 0},
        {"ISO 9972 in degrees F", 3, 0, 1, L'D', 68, 80, 32, 40, 101325, 90000, 0, 0.955108, 5e-7, 101325, 20, 0},
        // ASTM E779: means of pre-test and post-test values, the altitude.
        {"ASTM E779 at sea level", 2, 1, 1, L'P', 20, 20, 20, 20, 101325, 101325, 0, 1.0, 5e-8, 101325, 20, 20},
        {"ASTM E779 at 1000 m", 2, 1, 1, L'P', 20, 20, 20, 20, 101325, 101325, 1000, 1.017833, 5e-7, 101325, 20, 20},
        {"ASTM E779 at 1000 m in feet", 2, 1, 0, L'P', 20, 20, 20, 20, 101325, 101325, 1000 / 0.3048, 1.017833, 5e-7,
         101325, 20, 20},
        {"ASTM E779 pressurization, means", 2, 1, 1, L'P', 18, 22, 2, -2, 100000, 102650, 0, 1.035963, 5e-7, 101325,
         20, 0},
        {"ASTM E779 depressurization", 2, 1, 1, L'D', 20, 20, 0, 0, 101325, 101325, 0, 0.939431, 5e-7, 101325, 20, 0},
        {"ASTM E779 in degrees F", 2, 0, 1, L'D', 66.2, 69.8, 30.2, 33.8, 101325, 101325, 0, 0.939431, 5e-7, 101325,
         20, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->m_nStandard = c.standard;
        settings->m_chDirectionLetter[0] = c.letter;
        m_pView->m_nTemperatureUnit = c.tempUnit;
        m_pView->m_nBuildingUnit = c.buildingUnit;
        s->m_FitN[0] = 0.0;
        // The second test shows that every completed test is corrected.
        for (int t = 0; t < 2; ++t) {
            s->m_TestTin[0][0][t] = c.tInPre;
            s->m_TestTin[1][0][t] = c.tInPost;
            s->m_TestTout[0][0][t] = c.tOutPre;
            s->m_TestTout[1][0][t] = c.tOutPost;
            s->m_TestPbaro[0][0][t] = c.pPre;
            s->m_TestPbaro[1][0][t] = c.pPost;
            s->m_TestAltitude[0][t] = c.altitude;
            s->m_FlowFactor[0][t] = 9.0;
        }
        s->m_FlowFactor[0][2] = 9.0;
        s->m_CompletedTests[0] = 2;
        s->ComputeFlowCorrections(0);
        EXPECT_EQ(c.letter == L'D' ? 1 : 0, s->m_DensityMode[0]);
        for (int t = 0; t < 2; ++t) {
            EXPECT_NEAR(c.factor, s->m_FlowFactor[0][t], c.tolerance) << t;
            EXPECT_NEAR(Density(c.rhoP, c.rhoTIn), s->m_TestRhoIn[0][t], 1e-7) << t;
            EXPECT_NEAR(Density(c.rhoP, c.rhoTOut), s->m_TestRhoOut[0][t], 1e-7) << t;
        }
        EXPECT_EQ(9.0, s->m_FlowFactor[0][2]);   // no completed test there
    }
}

TEST_F(TestFlowCorrections, ViscosityOfTheAstmCorrectionIsKept)
{
    settings->m_nStandard = 2;
    Lay(1, {Marker(0), Point(10, -10, 100), Marker(0)});
    SetEnvironment(1, 0, 20.0, 0.0, 101325.0, 0.0);
    s->ComputeFlowCorrections(1);
    EXPECT_NEAR(1.7160793e-05, math->m_dViscosity[1], 5e-13);
    SetEnvironment(0, 0, 20.0, 20.0, 101325.0, 0.0);
    Lay(0, {Marker(0), Point(10, 10, 100), Marker(0)});
    s->ComputeFlowCorrections(0);
    EXPECT_NEAR(1.8134059e-05, math->m_dViscosity[0], 5e-13);
}

// The factor depends on n: a direction without a fit of its own is
// corrected with 0.65, afterwards with the exponent of its latest fit.
TEST_F(TestFlowCorrections, ExponentOfTheLatestFitIsUsed)
{
    settings->m_nStandard = 1;
    SetEnvironment(0, 0, 20.0, 0.0, 101325.0, 0.0);
    s->m_CompletedTests[0] = 1;
    struct Case {
        double fitN, used;
    };
    for (const Case& c : {Case{0.0, 0.65}, Case{-1.0, 0.65}, Case{0.5, 0.5}, Case{0.8, 0.8}}) {
        SCOPED_TRACE(c.fitN);
        s->m_FitN[0] = c.fitN;
        s->ComputeFlowCorrections(0);
        EXPECT_EQ(math->DensityFlowFactor(c.used, 1, 20.0, 0.0, 101325.0, 0), s->m_FlowFactor[0][0]);
    }
    EXPECT_NE(math->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 0),
              math->DensityFlowFactor(0.5, 1, 20.0, 0.0, 101325.0, 0));
}

// A standard code the program does not know leaves the factors as they
// were; the densities are still those of the test's pre-test values.
TEST_F(TestFlowCorrections, UnknownStandardLeavesTheFactor)
{
    settings->m_nStandard = 7;
    SetEnvironment(0, 0, 20.0, 0.0, 95000.0, 0.0);
    s->m_CompletedTests[0] = 1;
    s->m_FlowFactor[0][0] = 3.0;
    s->ComputeFlowCorrections(0);
    EXPECT_EQ(3.0, s->m_FlowFactor[0][0]);
    EXPECT_NEAR(Density(95000.0, 20.0), s->m_TestRhoIn[0][0], 1e-12);
    EXPECT_NEAR(Density(95000.0, 0.0), s->m_TestRhoOut[0][0], 1e-12);
}
