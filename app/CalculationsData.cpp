// The calculations-data sections of a test file: the intermediate numbers
// of the fit and of the air corrections, for checking a fit by hand. They
// are written only, never read back, and building them computes nothing.
#include "app/Simbrel1View.h"

#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "calc/TestResultsDialog.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kAstmE779 = 2;
// Every label is padded to this width so that the values line up.
constexpr int kLabelWidth = 19;

CString Label(const wchar_t* pszName)
{
    CString str = pszName;
    if (str.GetLength() < kLabelWidth)
        str += CString(L' ', kLabelWidth - str.GetLength());
    return str;
}

}  // namespace

CString CSimbrel1View::FormatCalculationLine(const CString& strLabel, double dValue)
{
    return strLabel + CString::FormatText(L":  %0.8f\n", dValue);
}

CString CSimbrel1View::WriteCalculationsData(int d) const
{
    if (d != 0 && d != 1)
        return CString();
    const CQarMathFunctions& math = *m_pMath;
    CString strText = d == 0 ? L"\nPRESSURIZATION TEST CALCULATIONS DATA\n" : L"\nDEPRESSURIZATION TEST CALCULATIONS DATA\n";
    strText += FormatCalculationLine(Label(L"Sxx"), math.m_dSumXX[d][0]);
    strText += FormatCalculationLine(Label(L"Syy"), math.m_dSumYY[d][0]);
    strText += FormatCalculationLine(Label(L"Sxy"), math.m_dSumXY[d][0]);
    if (m_pSettings->m_nStandard != kAstmE779)
        return strText;
    strText += FormatCalculationLine(Label(L"Inside Air Density"), m_pTestGraph->m_TestRhoIn[d][0]);
    strText += FormatCalculationLine(Label(L"Outside Air Density"), m_pTestGraph->m_TestRhoOut[d][0]);
    strText += FormatCalculationLine(Label(d == 0 ? L"Inside Viscosity" : L"Outside Viscosity"), math.m_dViscosity[d]);
    strText += FormatCalculationLine(Label(L"Sn"), math.m_dNStdError[d][0]);
    strText += FormatCalculationLine(Label(L"IlnC"), math.m_dILnC[d][0]);
    strText += FormatCalculationLine(Label(L"SlnC"), math.m_dSLnC[d][0]);
    return strText;
}

CString CSimbrel1View::WriteCombinedCalculationsData() const
{
    if (m_pSettings->m_nStandard != kAstmE779)
        return CString();
    const CTestResultsDialog& results = *m_pResults;
    CString strText = L"\nCOMBINED TEST CALCULATIONS DATA\n";
    strText += FormatCalculationLine(Label(L"n_comb"), results.m_dMeanN);
    strText += FormatCalculationLine(Label(L"In_comb"), results.m_dMeanNError);
    strText += FormatCalculationLine(Label(L"C_comb"), results.m_dMeanC);
    strText += FormatCalculationLine(Label(L"C_Error_comb"), results.m_dMeanCErrorPct);
    strText += FormatCalculationLine(Label(L"EQLA_comb"), results.m_dMeanEqla);
    strText += FormatCalculationLine(Label(L"EQLA_Error_comb"), results.m_dMeanEqlaErrorPct);
    strText += FormatCalculationLine(Label(L"ELA_comb"), results.m_dMeanEla);
    strText += FormatCalculationLine(Label(L"ELA_Error_comb"), results.m_dMeanElaErrorPct);
    return strText;
}
