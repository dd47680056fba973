// Air density and viscosity corrections: the worked numbers of each
// standard's correction, the unit flags, and inputs that describe no real
// air, which give the "no value" 0 rather than NaN or infinity.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "calc/QarMathFunctions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class AirCorrections : public testing::Test {
protected:
    std::unique_ptr<CQarMathFunctions> m = std::make_unique<CQarMathFunctions>();
};

TEST_F(AirCorrections, BarometricPressureFromAltitude)
{
    EXPECT_EQ(101325.0, m->BarometricPressureFromAltitude(1, 0.0));
    EXPECT_NEAR(90061.8, m->BarometricPressureFromAltitude(1, 1000.0), 0.05);
    EXPECT_NEAR(97777.6, m->BarometricPressureFromAltitude(0, 1000.0), 0.05);
    EXPECT_GT(m->BarometricPressureFromAltitude(1, -400.0), 101325.0);
    // Beyond the top of the formula (45100 m) or not a number: no pressure.
    for (double h : {45100.0, 60000.0, kNaN, kInf, -kInf})
        EXPECT_EQ(0.0, m->BarometricPressureFromAltitude(1, h)) << h;
}

TEST_F(AirCorrections, TemperatureFlowFactorOfCgsb)
{
    struct Case {
        int flag;
        double tIn, tOut;
        int mode;
        double factor;
    };
    const Case cases[] = {
        {1, 20.0, 0.0, 0, 1.035963}, {1, 20.0, 0.0, 1, 0.965285},
        {0, 68.0, 32.0, 0, 1.035963}, {0, 68.0, 32.0, 1, 0.965285},
        {1, 20.0, 20.0, 0, 1.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.factor, m->TemperatureFlowFactor(c.flag, c.tIn, c.tOut, c.mode), 5e-7)
            << c.tIn << " " << c.tOut << " mode " << c.mode;
    EXPECT_EQ(-1.0, m->TemperatureFlowFactor(1, 20.0, 0.0, 2));
    EXPECT_EQ(-1.0, m->TemperatureFlowFactor(1, 20.0, 0.0, -1));
}

TEST_F(AirCorrections, DensityFlowFactorOfEnAndIso)
{
    EXPECT_NEAR(1.035963, m->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 0), 5e-7);
    EXPECT_NEAR(0.955108, m->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 1), 5e-7);
    EXPECT_NEAR(0.99999996, m->DensityFlowFactor(0.65, 1, 20.0, 20.0, 101325.0, 0), 5e-9);
    EXPECT_NEAR(1.035963, m->DensityFlowFactor(0.65, 0, 68.0, 32.0, 101325.0, 0), 5e-7);
    EXPECT_NEAR(0.955108, m->DensityFlowFactor(0.65, 0, 68.0, 32.0, 101325.0, 1), 5e-7);
    EXPECT_EQ(-1.0, m->DensityFlowFactor(0.65, 1, 20.0, 0.0, 101325.0, 3));

    double rhoIn = 0.0, rhoOut = 0.0;
    m->AirDensities(1, 20.0, 0.0, 101325.0, rhoIn, rhoOut);
    EXPECT_NEAR(1.2040973, rhoIn, 5e-8);
    EXPECT_NEAR(101325.0 / (287.055 * 273.15), rhoOut, 1e-12);
    m->AirDensities(0, 68.0, 32.0, 101325.0, rhoIn, rhoOut);
    EXPECT_NEAR(1.2040973, rhoIn, 5e-8);
}

TEST_F(AirCorrections, DensityViscosityFlowFactorOfAstm)
{
    double envelope = -5.0;
    EXPECT_NEAR(1.0, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, 20.0, 0.0, 0, envelope), 5e-8);
    EXPECT_NEAR(1.8134059e-05, m->m_dViscosity[0], 5e-13);
    EXPECT_NEAR(1.0, envelope, 5e-8);

    EXPECT_NEAR(1.017833, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, 20.0, 1000.0, 0, envelope), 5e-7);
    EXPECT_NEAR(0.959596, envelope, 5e-7);
    // 1000 m given in feet with the length flag 0.
    EXPECT_NEAR(1.017833, m->DensityViscosityFlowFactor(0.65, 1, 0, 20.0, 20.0, 1000.0 / 0.3048, 0, envelope),
                5e-7);

    EXPECT_NEAR(1.035963, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, 0.0, 0.0, 0, envelope), 5e-7);
    EXPECT_NEAR(0.939431, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, 0.0, 0.0, 1, envelope), 5e-7);
    EXPECT_NEAR(1.7160793e-05, m->m_dViscosity[1], 5e-13);
    EXPECT_NEAR(1.008216, envelope, 5e-7);
    EXPECT_NEAR(1.8134059e-05, m->m_dViscosity[0], 5e-13);

    // Degrees F with the temperature flag 0 give the same factors.
    EXPECT_NEAR(1.035963, m->DensityViscosityFlowFactor(0.65, 0, 1, 68.0, 32.0, 0.0, 0, envelope), 5e-7);
    EXPECT_NEAR(0.939431, m->DensityViscosityFlowFactor(0.65, 0, 1, 68.0, 32.0, 0.0, 1, envelope), 5e-7);
}

// A forgotten barometric pressure or a temperature below absolute zero
// yields 0, which no fit accepts as a flow factor; the viscosity of the
// correction is never left from an earlier call.
TEST_F(AirCorrections, AirThatCannotExistGivesNoValue)
{
    struct Case {
        const char* name;
        double tIn, tOut, pressure;
    };
    const Case cases[] = {
        {"pressure 0", 20.0, 0.0, 0.0},
        {"negative pressure", 20.0, 0.0, -5.0},
        {"NaN pressure", 20.0, 0.0, kNaN},
        {"indoor at absolute zero", -273.15, 0.0, 101325.0},
        {"outdoor below absolute zero", 20.0, -300.0, 101325.0},
        {"NaN temperature", kNaN, 0.0, 101325.0},
        {"infinite temperature", 20.0, kInf, 101325.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int mode = 0; mode <= 1; ++mode) {
            const double density = m->DensityFlowFactor(0.65, 1, c.tIn, c.tOut, c.pressure, mode);
            EXPECT_EQ(0.0, density);
            if (c.pressure > 0.0) {
                EXPECT_EQ(0.0, m->TemperatureFlowFactor(1, c.tIn, c.tOut, mode));
            }
        }
        double rhoIn = -1.0, rhoOut = -1.0;
        m->AirDensities(1, c.tIn, c.tOut, c.pressure, rhoIn, rhoOut);
        EXPECT_FALSE(rhoIn > 0.0 && rhoOut > 0.0);
        EXPECT_TRUE(rhoIn >= 0.0 && rhoOut >= 0.0 && std::isfinite(rhoIn) && std::isfinite(rhoOut));
    }

    double rhoIn = -1.0, rhoOut = -1.0;
    m->AirDensities(1, -280.0, 10.0, 101325.0, rhoIn, rhoOut);
    EXPECT_EQ(0.0, rhoIn);
    EXPECT_NEAR(101325.0 / (287.055 * 283.15), rhoOut, 1e-12);

    m->m_dViscosity[0] = m->m_dViscosity[1] = 1.0;
    double envelope = 1.0;
    EXPECT_EQ(0.0, m->DensityViscosityFlowFactor(0.65, 1, 1, -280.0, 0.0, 0.0, 0, envelope));
    EXPECT_EQ(0.0, m->m_dViscosity[0]);
    EXPECT_EQ(0.0, envelope);
    EXPECT_EQ(0.0, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, kNaN, 0.0, 1, envelope));
    EXPECT_EQ(0.0, m->m_dViscosity[1]);
    envelope = 1.0;
    EXPECT_EQ(0.0, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, 0.0, 46000.0, 0, envelope));
    EXPECT_EQ(0.0, envelope);
    EXPECT_EQ(0.0, m->DensityViscosityFlowFactor(0.65, 1, 1, 20.0, 0.0, kNaN, 1, envelope));
    EXPECT_EQ(0.0, m->DensityViscosityFlowFactor(kNaN, 1, 1, 20.0, 0.0, 0.0, 1, envelope));
}

TEST_F(AirCorrections, TemperatureConversions)
{
    EXPECT_NEAR(20.0, m->CelsiusFromFahrenheit(68.0), 1e-12);
    EXPECT_EQ(0.0, m->CelsiusFromFahrenheit(32.0));
    EXPECT_NEAR(-40.0, m->CelsiusFromFahrenheit(-40.0), 1e-12);
    EXPECT_EQ(212.0, m->FahrenheitFromCelsius(100.0));
    EXPECT_EQ(-40.0, m->FahrenheitFromCelsius(-40.0));
}

}  // namespace
