// Air density and viscosity corrections of the measured fan flow. Inputs that
// describe no real air (an absolute temperature of 0 or below, a barometric
// pressure not above 0, an altitude above the top of the barometric formula,
// values that are not finite) give 0 for a pressure, density, viscosity or
// flow factor: the program's "no value", which the fits refuse, never NaN.
#include "calc/QarMathFunctions.h"

#include <cmath>

namespace {

constexpr double kGasConstantOfAir = 287.055;        // J/(kg K)
constexpr double kCelsiusZero = 273.15;
constexpr double kStandardPressure = 101325.0;       // Pa
constexpr double kMetresPerFoot = 0.3048;
constexpr double kAltitudeCoefficient = 2.2172949002217295e-05;  // 1/45100 per metre
constexpr double kBarometricExponent = 5.2553;
constexpr double kLapseRate = 0.0065;                // K/m
constexpr double kLapseReferenceTemperature = 293.15;
// The viscosity constants have always been single precision.
constexpr double kSutherlandFactor = static_cast<double>(1.458e-6f);
constexpr double kSutherlandTemperature = static_cast<double>(110.4f);
constexpr double kViscosityReferenceTemperature = static_cast<double>(293.15f);

bool IsPositiveFinite(double x)
{
    return x > 0.0 && std::isfinite(x);
}

double ToCelsius(int nTempFlag, double t)
{
    return nTempFlag == 0 ? (t - 32.0) * 0.5555555555555556 : t;
}

double AbsoluteTemperature(int nTempFlag, double t)
{
    return kCelsiusZero + ToCelsius(nTempFlag, t);
}

double ToMetres(int nLengthFlag, double h)
{
    return nLengthFlag == 0 ? h * kMetresPerFoot : h;
}

double Density(double pressure, double kelvin)
{
    if (!IsPositiveFinite(pressure) || !IsPositiveFinite(kelvin))
        return 0.0;
    return pressure / (kGasConstantOfAir * kelvin);
}

// Sutherland's law.
double Viscosity(double kelvin)
{
    if (!IsPositiveFinite(kelvin))
        return 0.0;
    return std::sqrt(kelvin) * kSutherlandFactor / (kSutherlandTemperature / kelvin + 1.0);
}

double OrNoValue(double factor)
{
    return IsPositiveFinite(factor) ? factor : 0.0;
}

}  // namespace

double CQarMathFunctions::BarometricPressureFromAltitude(int nLengthFlag, double altitude)
{
    const double base = 1.0 - kAltitudeCoefficient * ToMetres(nLengthFlag, altitude);
    if (!IsPositiveFinite(base))
        return 0.0;
    return OrNoValue(kStandardPressure * std::pow(base, kBarometricExponent));
}

double CQarMathFunctions::TemperatureFlowFactor(int nTempFlag, double tIn, double tOut, int nMode)
{
    if (nMode != 0 && nMode != 1)
        return -1.0;
    const double kIn = AbsoluteTemperature(nTempFlag, tIn);
    const double kOut = AbsoluteTemperature(nTempFlag, tOut);
    if (!IsPositiveFinite(kIn) || !IsPositiveFinite(kOut))
        return 0.0;
    return OrNoValue(nMode == 0 ? std::sqrt(kIn / kOut) : std::sqrt(kOut / kIn));
}

double CQarMathFunctions::DensityFlowFactor(double n, int nTempFlag, double tIn, double tOut, double pressure,
                                            int nMode)
{
    if (nMode != 0 && nMode != 1)
        return -1.0;
    double rhoIn = 0.0, rhoOut = 0.0;
    AirDensities(nTempFlag, tIn, tOut, pressure, rhoIn, rhoOut);
    if (rhoIn <= 0.0 || rhoOut <= 0.0)
        return 0.0;
    const double rho0 = kReferenceDensity;
    const double f = nMode == 0
                         ? std::sqrt(rho0 / rhoOut) * (rhoOut / rhoIn) * std::pow(rhoIn / rho0, 1.0 - n)
                         : std::sqrt(rho0 / rhoIn) * (rhoIn / rhoOut) * std::pow(rhoOut / rho0, 1.0 - n);
    return OrNoValue(f);
}

// ASTM densities come from the altitude and the temperatures, not from a
// measured barometric pressure; the envelope side's air also changes the
// flow through its viscosity.
double CQarMathFunctions::DensityViscosityFlowFactor(double n, int nTempFlag, int nLengthFlag, double tIn,
                                                     double tOut, double altitude, int nMode,
                                                     double& envelopeTerm)
{
    const double rho0 = kReferenceDensity;
    const double kIn = AbsoluteTemperature(nTempFlag, tIn);
    const double kOut = AbsoluteTemperature(nTempFlag, tOut);
    const bool bPressurization = nMode == 0;
    const double mu = Viscosity(bPressurization ? kIn : kOut);
    m_dViscosity[bPressurization ? 0 : 1] = mu;
    envelopeTerm = 0.0;

    const double base = 1.0 - kLapseRate * ToMetres(nLengthFlag, altitude) / kLapseReferenceTemperature;
    if (!IsPositiveFinite(base) || !IsPositiveFinite(kIn) || !IsPositiveFinite(kOut) || mu <= 0.0)
        return 0.0;
    const double rhoAltitude = std::pow(base, kBarometricExponent) * rho0;
    const double rhoIn = kLapseReferenceTemperature / kIn * rhoAltitude;
    const double rhoOut = kLapseReferenceTemperature / kOut * rhoAltitude;
    const double muRef = Viscosity(kViscosityReferenceTemperature);
    const double viscosityTerm = std::pow(mu / muRef, 2.0 * n - 1.0);

    double f = 0.0, term = 0.0;
    if (bPressurization) {
        f = std::sqrt(rho0 / rhoOut) * (rhoOut / rhoIn) * viscosityTerm * std::pow(rhoIn / rho0, 1.0 - n);
        term = viscosityTerm * std::pow(rhoIn / rho0, 1.0 - n);
    } else {
        f = std::sqrt(rho0 / rhoIn) * (rhoIn / rhoOut) * viscosityTerm * std::pow(rhoOut / rho0, 1.0 - n);
        term = viscosityTerm * std::pow(rhoOut / rho0, 1.0 - n);
    }
    if (!IsPositiveFinite(f) || !IsPositiveFinite(term))
        return 0.0;
    envelopeTerm = term;
    return f;
}

void CQarMathFunctions::AirDensities(int nTempFlag, double tIn, double tOut, double pressure, double& rhoIn,
                                     double& rhoOut)
{
    rhoIn = Density(pressure, AbsoluteTemperature(nTempFlag, tIn));
    rhoOut = Density(pressure, AbsoluteTemperature(nTempFlag, tOut));
}

double CQarMathFunctions::CelsiusFromFahrenheit(double x)
{
    return ToCelsius(0, x);
}

double CQarMathFunctions::FahrenheitFromCelsius(double x)
{
    return 1.8 * x + 32.0;
}
