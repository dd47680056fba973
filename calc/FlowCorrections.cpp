// The air-density and viscosity corrections of a direction's tests: each
// completed test gets the factor its measured flows are multiplied by before
// fitting, and the indoor and outdoor air densities it was measured in.
#include "testrun/TestGraph1.h"

#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"

namespace {

constexpr double kStandardPressure = 101325.0;   // Pa
// Exponent used while a direction has no fit of its own yet.
constexpr double kDefaultExponent = 0.65;

}  // namespace

void CTestGraph1::ComputeFlowCorrections(int d)
{
    if ((d != 0 && d != 1) || m_pView == nullptr || m_pView->m_pMath == nullptr)
        return;
    CQarMathFunctions& math = *m_pView->m_pMath;
    const wchar_t chDirection = m_pSettings != nullptr ? m_pSettings->m_chDirectionLetter[d] : (d == 0 ? L'P' : L'D');
    const int nStandard = m_pSettings != nullptr ? m_pSettings->m_nStandard : -1;
    const int nTempFlag = m_pView->m_nTemperatureUnit;
    const int nLengthFlag = m_pView->m_nBuildingUnit;

    m_DensityMode[d] = chDirection == L'D' ? 1 : 0;
    const int nMode = m_DensityMode[d];
    // The factor depends on n, so each fit corrects with the exponent of the
    // fit before it.
    const double n0 = m_FitN[d] > 0.0 ? m_FitN[d] : kDefaultExponent;

    const int nTests = UsedTests(d);
    for (int t = 0; t < nTests; ++t) {
        double tIn = m_TestTin[0][d][t];
        double tOut = m_TestTout[0][d][t];
        double p = m_TestPbaro[0][d][t];
        switch (nStandard) {
        case 0:
            p = kStandardPressure;
            m_FlowFactor[d][t] = math.TemperatureFlowFactor(nTempFlag, tIn, tOut, nMode);
            break;
        case 1:
        case 3:
            m_FlowFactor[d][t] = math.DensityFlowFactor(n0, nTempFlag, tIn, tOut, p, nMode);
            break;
        case 2: {
            tIn = (m_TestTin[0][d][t] + m_TestTin[1][d][t]) / 2.0;
            tOut = (m_TestTout[0][d][t] + m_TestTout[1][d][t]) / 2.0;
            p = (m_TestPbaro[0][d][t] + m_TestPbaro[1][d][t]) / 2.0;
            double envelopeTerm = 0.0;
            m_FlowFactor[d][t] = math.DensityViscosityFlowFactor(n0, nTempFlag, nLengthFlag, tIn, tOut,
                                                                 m_TestAltitude[d][t], nMode, envelopeTerm);
            break;
        }
        default:
            break;
        }
        // ASTM densities use the mean barometric pressure, not the altitude.
        math.AirDensities(nTempFlag, tIn, tOut, p, m_TestRhoIn[d][t], m_TestRhoOut[d][t]);
    }
}
