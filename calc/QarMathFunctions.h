// CQarMathFunctions: the maths object of the view (regressions, air
// properties, barometric pressure), one instance for the program's life.
#pragma once

class CQarMathFunctions {
public:
    // Reference air density, kg/m3; the program has always held it in single
    // precision, and certificates carry numbers computed with that value.
    static constexpr double kReferenceDensity = static_cast<double>(1.204097f);
    static constexpr int kDirections = 2;
    static constexpr int kFitSlots = 32;
    static constexpr int kFlowErrorPressures = 4;
    static constexpr int kStudentTRows = 1000;

    CQarMathFunctions();
    virtual ~CQarMathFunctions();
    CQarMathFunctions(const CQarMathFunctions&) = delete;
    CQarMathFunctions& operator=(const CQarMathFunctions&) = delete;

    // Leakage curve Q = C * dP^n by least squares on logarithms. pPressures
    // and pFlows are used from index 1 to N; a pressure of exactly 0 is
    // replaced by 0.001 in the caller's array.
    void FitLeakageCurve(int d, int s, int bWithStatistics, int bWeightBySquaredFlow, int nStandardCode,
                         double* pPressures, const double* pFlows, int N, double& n, double& C);
    // y = a + b * x over index 0 to N - 1; returns 0 fitted, 1 no point,
    // 2 through the origin from one point, 3 not computable.
    int LinearRegression(const double* y, const double* x, int N, double& a, double& seA, double& b,
                         double& seB);
    double NiceNumber(double x, int bRoundUp, int& nMantissa, int& nExponent);
    int IsValidFit(double C, double n);
    int CalcEqla(double& area, double C, double n, double flowUnitFactor, double areaLengthFactor);
    int CalcEla(double& area, double C, double n, double flowUnitFactor, double areaLengthFactor);
    int CalcIsoLeakageArea(double& area, double C, double n, double refPressure);
    double CorrectCToStandardDensity(wchar_t chDirection, double C, double n, double rhoIn, double rhoOut);
    double RunningMean(double mean, int k, double x);
    void RunningMeanAndStdDev(double& mean, double& stdDev, int k, double x);
    double Mean(const double* values, int N);
    double Square(double x);

    // Air density and viscosity corrections. Temperature flag 0: degrees F;
    // length flag 0: feet. Modes: 0 pressurization, 1 depressurization.
    double BarometricPressureFromAltitude(int nLengthFlag, double altitude);
    double TemperatureFlowFactor(int nTempFlag, double tIn, double tOut, int nMode);
    double DensityFlowFactor(double n, int nTempFlag, double tIn, double tOut, double pressure, int nMode);
    double DensityViscosityFlowFactor(double n, int nTempFlag, int nLengthFlag, double tIn, double tOut,
                                      double altitude, int nMode, double& envelopeTerm);
    void AirDensities(int nTempFlag, double tIn, double tOut, double pressure, double& rhoIn, double& rhoOut);
    double CelsiusFromFahrenheit(double x);
    double FahrenheitFromCelsius(double x);

    // Two-sided 95 % Student's t for df degrees of freedom (clamped to 1..1000).
    static double StudentT95(int df);

    // Statistics per [direction slot][fit slot]; slot 0 is the whole direction.
    double m_dCorrelation[kDirections][kFitSlots] = {};
    double m_dFlowErrorPct[kFlowErrorPressures][kDirections][kFitSlots] = {};
    double m_dCErrorPct[kDirections][kFitSlots] = {};
    double m_dNError95[kDirections][kFitSlots] = {};
    double m_dILnC[kDirections][kFitSlots] = {};
    double m_dSumXX[kDirections][kFitSlots] = {};
    double m_dSumYY[kDirections][kFitSlots] = {};
    double m_dSumXY[kDirections][kFitSlots] = {};
    double m_dNStdError[kDirections][kFitSlots] = {};
    double m_dSLnC[kDirections][kFitSlots] = {};
    // Air viscosity of the latest viscosity correction: [0] indoor, [1] outdoor.
    double m_dViscosity[kDirections] = {};

private:
    static const double s_StudentT95[kStudentTRows];
};
