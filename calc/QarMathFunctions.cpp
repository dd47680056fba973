#include "calc/QarMathFunctions.h"

#include <algorithm>
#include <cmath>

#include "app/Lifecycle.h"

namespace {

// Pressures at which the confidence of the predicted flow is reported.
const double kFlowErrorPressure[CQarMathFunctions::kFlowErrorPressures] = {4.0, 10.0, 50.0, 75.0};

// The equivalent-leakage-area coefficient has always been kept in single
// precision; the printed areas depend on that exact value.
constexpr double kEqlaCoefficient = static_cast<double>(0.2938f);
constexpr double kElaCoefficient = 0.2838;

bool IsFinite(double x)
{
    return std::isfinite(x);
}

// m * 10^e with exact powers of ten where a double holds them (up to 1e22),
// so that 5 and -1 give exactly 0.5.
double ScaleByPowerOfTen(int m, int e)
{
    const int k = e < 0 ? -e : e;
    double p = 1.0;
    if (k <= 22) {
        for (int i = 0; i < k; ++i)
            p *= 10.0;
    } else {
        p = std::pow(10.0, k);
    }
    return e < 0 ? m / p : m * p;
}

}  // namespace

CQarMathFunctions::CQarMathFunctions()
{
    TraceLifecycle("CQarMathFunctions", true);
}

CQarMathFunctions::~CQarMathFunctions()
{
    TraceLifecycle("CQarMathFunctions", false);
}

// Weighted least squares on ln Q = ln C + n ln|dP|. Every result is computed
// into locals first: when the data cannot carry the fit (too few points, a
// flow not above 0, a value that is not finite, all pressures alike) only
// the slot's r becomes -1 and n, C and the statistics keep what they held,
// so a caller never reads NaN or infinity as a fit.
void CQarMathFunctions::FitLeakageCurve(int d, int s, int bWithStatistics, int bWeightBySquaredFlow,
                                        int nStandardCode, double* pPressures, const double* pFlows, int N,
                                        double& n, double& C)
{
    if (d < 0 || d >= kDirections || s < 0 || s >= kFitSlots)
        return;
    double& r = m_dCorrelation[d][s];
    if (pPressures == nullptr || pFlows == nullptr || N < (bWithStatistics ? 3 : 2)) {
        r = -1.0;
        return;
    }
    for (int i = 1; i <= N; ++i) {
        if (!IsFinite(pPressures[i]) || !IsFinite(pFlows[i]) || !(pFlows[i] > 0.0)) {
            r = -1.0;
            return;
        }
    }

    double W = 0.0, Sx = 0.0, Sxx = 0.0, Sy = 0.0, Syy = 0.0, Sxy = 0.0;
    bool bAllXEqual = true, bAllFlowsEqual = true;
    double xFirst = 0.0;
    for (int i = 1; i <= N; ++i) {
        if (std::fabs(pPressures[i]) == 0.0)
            pPressures[i] = 0.001;
        const double w = bWeightBySquaredFlow ? pFlows[i] * pFlows[i] : 1.0;
        const double x = std::log(std::fabs(pPressures[i]));
        const double y = std::log(pFlows[i]);
        W += w;
        Sx += w * x;
        Sxx += w * x * x;
        Sy += w * y;
        Syy += w * y * y;
        Sxy += w * x * y;
        if (i == 1) {
            xFirst = x;
        } else {
            bAllXEqual = bAllXEqual && x == xFirst;
            bAllFlowsEqual = bAllFlowsEqual && pFlows[i] == pFlows[1];
        }
    }
    const double Dxx = W * Sxx - Sx * Sx;
    double Dyy = W * Syy - Sy * Sy;
    double Dxy = W * Sxy - Sx * Sy;
    // Equal pressures can leave a rounding residue in Dxx that would pass for
    // a real spread, so they are recognised by their values.
    if (bAllXEqual || !(W > 0.0) || !(Dxx > 0.0)) {
        r = -1.0;
        return;
    }
    // Equal flows make Dyy and Dxy zero in exact arithmetic; take them so,
    // rather than dividing rounding residues (r would be 0/0).
    if (bAllFlowsEqual) {
        Dyy = 0.0;
        Dxy = 0.0;
    }

    const double nFit = Dxy / Dxx;
    const double CFit = std::exp(Sy / W - nFit * Sx / W);
    // By Cauchy-Schwarz r cannot exceed 1; rounding could push it past.
    const double rFit = Dyy > 0.0 ? std::min(1.0, std::sqrt(Dxy * Dxy / Dxx / Dyy)) : 0.0;
    if (!IsFinite(nFit) || !IsFinite(CFit) || !(CFit > 0.0) || !IsFinite(rFit)) {
        r = -1.0;
        return;
    }
    if (!bWithStatistics) {
        n = nFit;
        C = CFit;
        r = rFit;
        return;
    }

    const double residual = Dyy - nFit * Dxy;
    const double sr = residual < 0.0 ? 0.0 : std::sqrt(residual / W / (N - 2));
    const double nStdError = sr / std::sqrt(Dxx / W);
    double cErrorPct = 100.0 * std::sqrt(Sxx / W) * nStdError;
    double flowErrorPct[kFlowErrorPressures];
    for (int k = 0; k < kFlowErrorPressures; ++k) {
        const double centred = std::log(kFlowErrorPressure[k]) * W - Sx;
        flowErrorPct[k] = 100.0 * sr * std::sqrt(1.0 / W + centred * centred / W / Dxx);
    }
    const bool bStudentT = nStandardCode >= 1 && nStandardCode <= 3;
    double nError95 = 0.0;
    if (bStudentT) {
        const double t = StudentT95(N - 2);
        nError95 = t * nStdError;
        cErrorPct *= t;
        for (double& e : flowErrorPct)
            e *= t;
    }
    bool bFinite = IsFinite(Dyy) && IsFinite(Dxy) && IsFinite(nStdError) && IsFinite(cErrorPct) && IsFinite(nError95);
    for (double e : flowErrorPct)
        bFinite = bFinite && IsFinite(e);
    if (!bFinite) {
        r = -1.0;
        return;
    }

    n = nFit;
    C = CFit;
    r = rFit;
    m_dSumXX[d][s] = Dxx;
    m_dSumYY[d][s] = Dyy;
    m_dSumXY[d][s] = Dxy;
    m_dNStdError[d][s] = nStdError;
    m_dCErrorPct[d][s] = cErrorPct;
    for (int k = 0; k < kFlowErrorPressures; ++k)
        m_dFlowErrorPct[k][d][s] = flowErrorPct[k];
    if (bStudentT)
        m_dNError95[d][s] = nError95;
}

// Outputs are written only with codes 0 and 2, and only when they are
// finite; code 3 covers every input a straight line cannot be drawn through
// (equal x values, a sum D not above 0, values that are not finite).
int CQarMathFunctions::LinearRegression(const double* y, const double* x, int N, double& a, double& seA,
                                        double& b, double& seB)
{
    if (N < 1 || y == nullptr || x == nullptr) {
        a = seA = b = seB = 0.0;
        return 1;
    }
    for (int i = 0; i < N; ++i) {
        if (!IsFinite(x[i]) || !IsFinite(y[i]))
            return 3;
    }
    if (N == 1) {
        if (x[0] == 0.0)
            return 3;
        const double slope = y[0] / x[0];
        if (!IsFinite(slope))
            return 3;
        a = 0.0;
        seA = 0.0;
        b = slope;
        seB = 0.0;
        return 2;
    }
    if (N == 2) {
        if (x[0] == x[1])
            return 3;
        const double slope = (y[1] - y[0]) / (x[1] - x[0]);
        const double intercept = y[0] - slope * x[0];
        if (!IsFinite(slope) || !IsFinite(intercept))
            return 3;
        b = slope;
        a = intercept;
        seA = 0.0;
        seB = 0.0;
        return 0;
    }

    double Sx = 0.0, Sxx = 0.0, Sy = 0.0, Sxy = 0.0;
    bool bAllXEqual = true;
    for (int i = 0; i < N; ++i) {
        Sx += x[i];
        Sxx += x[i] * x[i];
        Sy += y[i];
        Sxy += x[i] * y[i];
        bAllXEqual = bAllXEqual && x[i] == x[0];
    }
    // Five times 0.1 leaves D = 5.6e-17 and six times 0.7 a negative D: equal
    // x values are recognised by their values, not by D alone.
    const double D = N * Sxx - Sx * Sx;
    if (bAllXEqual || !(D > 0.0))
        return 3;
    const double intercept = (Sxx * Sy - Sx * Sxy) / D;
    const double slope = (N * Sxy - Sx * Sy) / D;
    double sumSquares = 0.0;
    for (int i = 0; i < N; ++i) {
        const double e = y[i] - (slope * x[i] + intercept);
        sumSquares += e * e;
    }
    const double s2 = sumSquares / (N - 2);
    const double interceptError = std::sqrt(s2 * Sxx / D);
    const double slopeError = std::sqrt(N * s2 / D);
    if (!IsFinite(intercept) || !IsFinite(slope) || !IsFinite(interceptError) || !IsFinite(slopeError))
        return 3;
    a = intercept;
    seA = interceptError;
    b = slope;
    seB = slopeError;
    return 0;
}

// One significant digit, for axis ends. 0 and values that are not finite
// have no decade: they give 0 with mantissa 0 and exponent 0.
double CQarMathFunctions::NiceNumber(double x, int bRoundUp, int& nMantissa, int& nExponent)
{
    double a = std::fabs(x);
    if (a == 0.0 || !IsFinite(a)) {
        nMantissa = 0;
        nExponent = 0;
        return 0.0;
    }
    int e = 0;
    if (a < 1.0) {
        while (a < 1.0) {
            a *= 10.0;
            --e;
        }
    } else {
        while (a >= 10.0) {
            a /= 10.0;
            ++e;
        }
    }
    int m = static_cast<int>(a);
    int eOut = e;
    if (bRoundUp && m != a) {
        ++m;
        if (m == 10) {
            m = 1;
            ++eOut;
        }
    }
    double result = ScaleByPowerOfTen(m, eOut);
    // Rounding up next to the largest double would overflow; keep the digit.
    if (!IsFinite(result)) {
        m = static_cast<int>(a);
        eOut = e;
        result = ScaleByPowerOfTen(m, eOut);
    }
    nMantissa = m;
    nExponent = eOut;
    return result;
}

// An infinite C is no fit either, although it passes C > 0.0001.
int CQarMathFunctions::IsValidFit(double C, double n)
{
    return n >= 0.1 && n <= 10.0 && C > 0.0001 && IsFinite(C) ? 1 : 0;
}

int CQarMathFunctions::CalcEqla(double& area, double C, double n, double flowUnitFactor, double areaLengthFactor)
{
    area = 0.0;
    if (!IsValidFit(C, n))
        return 0;
    const double divisor = flowUnitFactor * (areaLengthFactor * areaLengthFactor);
    const double value = std::pow(10.0, n) * C * kEqlaCoefficient / divisor;
    if (!(divisor > 0.0) || !IsFinite(value))
        return 0;
    area = value;
    return 1;
}

int CQarMathFunctions::CalcEla(double& area, double C, double n, double flowUnitFactor, double areaLengthFactor)
{
    area = 0.0;
    if (!IsValidFit(C, n))
        return 0;
    const double divisor = flowUnitFactor * (areaLengthFactor * areaLengthFactor);
    const double value = std::pow(4.0, n) * C * kElaCoefficient / divisor;
    if (!(divisor > 0.0) || !IsFinite(value))
        return 0;
    area = value;
    return 1;
}

// A reference pressure of 0 or below (a text that is not a number reads as
// 0) has no leakage area; it would give infinity or 0 as a valid value.
int CQarMathFunctions::CalcIsoLeakageArea(double& area, double C, double n, double refPressure)
{
    area = 0.0;
    if (!IsValidFit(C, n) || !(refPressure > 0.0) || !IsFinite(refPressure))
        return 0;
    const double value = C / 3600.0 * std::sqrt(kReferenceDensity / 2.0) * std::pow(refPressure, n - 0.5);
    if (!IsFinite(value))
        return 0;
    area = value;
    return 1;
}

// A density that is not a positive number (no barometric pressure entered,
// a mean over no tests) gives 0, the program's "no value", never NaN or inf.
double CQarMathFunctions::CorrectCToStandardDensity(wchar_t chDirection, double C, double n, double rhoIn,
                                                    double rhoOut)
{
    if (!(n > 0.0))
        return 0.0;
    const double rho = chDirection == L'P' ? rhoIn : rhoOut;
    if (!(rho > 0.0) || !IsFinite(rho))
        return 0.0;
    const double value = C / std::pow(rho / kReferenceDensity, 1.0 - n);
    return IsFinite(value) ? value : 0.0;
}

double CQarMathFunctions::RunningMean(double mean, int k, double x)
{
    if (k <= 0)
        return x;
    return (k * mean + x) / (k + 1);
}

// Sample standard deviation (divisor k for k + 1 values) kept without the
// values: the mean of squares is recovered from the previous mean and
// deviation. The absolute value keeps rounding noise out of the root.
void CQarMathFunctions::RunningMeanAndStdDev(double& mean, double& stdDev, int k, double x)
{
    if (k <= 0) {
        mean = x;
        stdDev = 0.0;
        return;
    }
    const double kd = k;
    const double meanOfSquares = (kd - 1.0) / kd * (stdDev * stdDev) + mean * mean;
    const double newMeanOfSquares = (kd * meanOfSquares + x * x) / (kd + 1.0);
    const double newMean = (kd * mean + x) / (kd + 1.0);
    mean = newMean;
    stdDev = std::sqrt(std::fabs((kd + 1.0) / kd * (newMeanOfSquares - newMean * newMean)));
}

// The mean of no values is 0: the mean density of a direction whose first
// test is still running must not be 0/0.
double CQarMathFunctions::Mean(const double* values, int N)
{
    if (N <= 0 || values == nullptr)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < N; ++i)
        sum += values[i];
    return sum / N;
}

double CQarMathFunctions::Square(double x)
{
    return x * x;
}
