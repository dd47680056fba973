// The calculations-data sections: their lines, which standard gets which,
// and where a saved test file carries them (only with the marker file in
// the program folder).
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <limits>
#include <string>
#include <vector>

#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "calc/TestResultsDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

class CalculationsData : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder(L"CalculationsData");
        V()->m_strProgramFolder = m_folder.c_str();
        CQarMathFunctions& math = *V()->m_pMath;
        CTestGraph1& store = *V()->m_pTestGraph;
        // Distinct numbers per direction, so a line shows which slot it read.
        const double sums[2][3] = {{1.5, 2.25, -0.125}, {0.75, 3.5, 0.0625}};
        for (int d = 0; d < 2; ++d) {
            math.m_dSumXX[d][0] = sums[d][0];
            math.m_dSumYY[d][0] = sums[d][1];
            math.m_dSumXY[d][0] = sums[d][2];
            math.m_dNStdError[d][0] = d == 0 ? 0.0123 : 0.0456;
            math.m_dILnC[d][0] = 0.0;
            math.m_dSLnC[d][0] = 0.0;
            store.m_TestRhoIn[d][0] = d == 0 ? 1.2041 : 1.1987;
            store.m_TestRhoOut[d][0] = d == 0 ? 1.1893 : 1.2256;
            // Other tests of the direction must not be read.
            store.m_TestRhoIn[d][1] = 9.0;
            store.m_TestRhoOut[d][1] = 9.0;
        }
        math.m_dViscosity[0] = 1.81e-5;
        math.m_dViscosity[1] = 1.72e-5;
        CTestResultsDialog& results = *V()->m_pResults;
        results.m_dMeanN = 0.65121;
        results.m_dMeanNError = 0.00831;
        results.m_dMeanC = 126.8;
        results.m_dMeanCErrorPct = 2.13;
        results.m_dMeanEqla = 126.76;
        results.m_dMeanEqlaErrorPct = 2.84;
        results.m_dMeanEla = 67.77;
        results.m_dMeanElaErrorPct = 3.71;
    }

    CSimbrel1View* V() const { return m_view.Get(); }

    CTestView m_view{L"CalculationsDataView"};
    std::wstring m_folder;
};

// The lines of the section that starts with header, up to the next blank
// line or the end of the text.
std::vector<std::wstring> SectionLines(const CString& strText, const wchar_t* pszHeader)
{
    std::vector<std::wstring> lines;
    const std::wstring& text = strText.str();
    const std::wstring header = std::wstring(L"\n") + pszHeader + L"\n";
    const size_t nStart = text.find(header);
    if (nStart == std::wstring::npos)
        return lines;
    for (size_t p = nStart + header.size(); p < text.size();) {
        const size_t nEnd = text.find(L'\n', p);
        if (nEnd == std::wstring::npos || nEnd == p)
            break;
        lines.push_back(text.substr(p, nEnd - p));
        p = nEnd + 1;
    }
    return lines;
}

}  // namespace

TEST_F(CalculationsData, DirectionSectionHasTheSumsAndForAstmTheAirData)
{
    const struct {
        const char* name;
        int standard;
        int slot;
        const wchar_t* expected;
    } cases[] = {
        {"CGSB pressurization", 0, 0,
         L"\nPRESSURIZATION TEST CALCULATIONS DATA\n"
         L"Sxx                :  1.50000000\n"
         L"Syy                :  2.25000000\n"
         L"Sxy                :  -0.12500000\n"},
        {"EN 13829 depressurization", 1, 1,
         L"\nDEPRESSURIZATION TEST CALCULATIONS DATA\n"
         L"Sxx                :  0.75000000\n"
         L"Syy                :  3.50000000\n"
         L"Sxy                :  0.06250000\n"},
        {"ISO 9972 pressurization", 3, 0,
         L"\nPRESSURIZATION TEST CALCULATIONS DATA\n"
         L"Sxx                :  1.50000000\n"
         L"Syy                :  2.25000000\n"
         L"Sxy                :  -0.12500000\n"},
        {"ASTM E779 pressurization: inside viscosity", 2, 0,
         L"\nPRESSURIZATION TEST CALCULATIONS DATA\n"
         L"Sxx                :  1.50000000\n"
         L"Syy                :  2.25000000\n"
         L"Sxy                :  -0.12500000\n"
         L"Inside Air Density :  1.20410000\n"
         L"Outside Air Density:  1.18930000\n"
         L"Inside Viscosity   :  0.00001810\n"
         L"Sn                 :  0.01230000\n"
         L"IlnC               :  0.00000000\n"
         L"SlnC               :  0.00000000\n"},
        {"ASTM E779 depressurization: outside viscosity", 2, 1,
         L"\nDEPRESSURIZATION TEST CALCULATIONS DATA\n"
         L"Sxx                :  0.75000000\n"
         L"Syy                :  3.50000000\n"
         L"Sxy                :  0.06250000\n"
         L"Inside Air Density :  1.19870000\n"
         L"Outside Air Density:  1.22560000\n"
         L"Outside Viscosity  :  0.00001720\n"
         L"Sn                 :  0.04560000\n"
         L"IlnC               :  0.00000000\n"
         L"SlnC               :  0.00000000\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        V()->m_pSettings->m_nStandard = c.standard;
        EXPECT_EQ(c.expected, V()->WriteCalculationsData(c.slot).str());
    }
}

TEST_F(CalculationsData, CombinedSectionOnlyForAstm)
{
    V()->m_pSettings->m_nStandard = 2;
    EXPECT_EQ(L"\nCOMBINED TEST CALCULATIONS DATA\n"
              L"n_comb             :  0.65121000\n"
              L"In_comb            :  0.00831000\n"
              L"C_comb             :  126.80000000\n"
              L"C_Error_comb       :  2.13000000\n"
              L"EQLA_comb          :  126.76000000\n"
              L"EQLA_Error_comb    :  2.84000000\n"
              L"ELA_comb           :  67.77000000\n"
              L"ELA_Error_comb     :  3.71000000\n",
              V()->WriteCombinedCalculationsData().str());
    for (int nStandard : {0, 1, 3}) {
        V()->m_pSettings->m_nStandard = nStandard;
        EXPECT_TRUE(V()->WriteCombinedCalculationsData().IsEmpty()) << nStandard;
    }
}

// A value far out of range is written whole, digit for digit, and reads
// back as itself; one that is not a number is named.
TEST_F(CalculationsData, HugeAndNotANumberValuesComeOutWhole)
{
    const CString strLabel = L"Sxx                ";
    for (double dValue : {1e300, -1e300}) {
        const std::wstring line = CSimbrel1View::FormatCalculationLine(strLabel, dValue).str();
        const std::wstring head = L"Sxx                :  ";
        ASSERT_EQ(head, line.substr(0, head.size()));
        const std::wstring number = line.substr(head.size(), line.size() - head.size() - 1);
        EXPECT_EQ(L'\n', line.back());
        // 301 integer digits, the point and eight decimals, and the sign.
        EXPECT_EQ((dValue < 0 ? 1u : 0u) + 301u + 1u + 8u, number.size()) << number;
        EXPECT_EQ(std::wstring(dValue < 0 ? L"-1000000000000000052504760255" : L"1000000000000000052504760255"),
                  number.substr(0, dValue < 0 ? 29 : 28));
        EXPECT_EQ(L".00000000", number.substr(number.size() - 9));
        EXPECT_EQ(dValue, std::wcstod(number.c_str(), nullptr));
    }
    EXPECT_EQ(L"Sxx                :  nan\n",
              CSimbrel1View::FormatCalculationLine(strLabel, std::numeric_limits<double>::quiet_NaN()).str());

    // Through a section, whole as well.
    V()->m_pSettings->m_nStandard = 2;
    V()->m_pMath->m_dSumYY[0][0] = std::numeric_limits<double>::quiet_NaN();
    V()->m_pTestGraph->m_TestRhoIn[0][0] = 1e300;
    const std::vector<std::wstring> lines =
        SectionLines(V()->WriteCalculationsData(0), L"PRESSURIZATION TEST CALCULATIONS DATA");
    ASSERT_EQ(9u, lines.size());
    EXPECT_EQ(L"Syy                :  nan", lines[1]);
    EXPECT_EQ(19u + 3u + 301u + 9u, lines[3].size());
}

TEST_F(CalculationsData, TestFileCarriesTheSectionsOnlyWithTheMarkerFile)
{
    struct Case {
        const char* name;
        bool bMarker;
        int nStandard;
        int nCompleted0, nCompleted1;
        int bAsConfiguration;
        size_t nPressLines, nDepressLines;   // 0: no such section
        bool bCombined;
    };
    const Case cases[] = {
        {"no marker", false, 2, 1, 1, 0, 0, 0, false},
        {"ASTM E779, both directions", true, 2, 1, 1, 0, 9, 9, true},
        {"ASTM E779, pressurization only", true, 2, 1, 0, 0, 9, 0, false},
        {"ASTM E779, depressurization only", true, 2, 0, 3, 0, 0, 9, false},
        {"EN 13829, both directions", true, 1, 2, 2, 0, 3, 3, false},
        {"CGSB, both directions", true, 0, 1, 1, 0, 3, 3, false},
        {"a configuration file", true, 2, 1, 1, 1, 0, 0, false},
    };
    const std::wstring marker = m_folder + L"FitErrorData.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bMarker)
            ASSERT_TRUE(WriteBytes(marker, ""));
        else
            DeleteFileW(marker.c_str());
        V()->m_pSettings->m_nStandard = c.nStandard;
        V()->m_pTestGraph->m_CompletedTests[0] = c.nCompleted0;
        V()->m_pTestGraph->m_CompletedTests[1] = c.nCompleted1;
        const CString strText = V()->BuildFileText(c.bAsConfiguration);
        if (!c.bMarker || c.bAsConfiguration) {
            EXPECT_EQ(-1, strText.Find(L"CALCULATIONS DATA"));
        }
        EXPECT_EQ(c.nPressLines, SectionLines(strText, L"PRESSURIZATION TEST CALCULATIONS DATA").size());
        EXPECT_EQ(c.nDepressLines, SectionLines(strText, L"DEPRESSURIZATION TEST CALCULATIONS DATA").size());
        EXPECT_EQ(c.bCombined ? 8u : 0u, SectionLines(strText, L"COMBINED TEST CALCULATIONS DATA").size());
        if (c.nPressLines > 0) {
            EXPECT_EQ(L"Sxx                :  1.50000000",
                      SectionLines(strText, L"PRESSURIZATION TEST CALCULATIONS DATA")[0]);
        }

        // Each section follows its direction's deviations; the combined one
        // follows the pressurization section.
        const int nDepressDeviations = strText.Find(L"\nDEPRESSURIZATION TEST DEVIATIONS FROM STANDARD\n");
        const int nDepressCalc = strText.Find(L"\nDEPRESSURIZATION TEST CALCULATIONS DATA\n");
        const int nPressData = strText.Find(L"\nPRESSURIZATION TEST DATA\n");
        const int nPressDeviations = strText.Find(L"\nPRESSURIZATION TEST DEVIATIONS FROM STANDARD\n");
        const int nPressCalc = strText.Find(L"\nPRESSURIZATION TEST CALCULATIONS DATA\n");
        const int nCombined = strText.Find(L"\nCOMBINED TEST CALCULATIONS DATA\n");
        const int nEquipment = strText.Find(L"\nEQUIPMENT INFO\n");
        if (nDepressCalc >= 0) {
            EXPECT_LT(nDepressDeviations, nDepressCalc);
            EXPECT_TRUE(nPressData < 0 || nDepressCalc < nPressData);
        }
        if (nPressCalc >= 0) {
            EXPECT_LT(nPressDeviations, nPressCalc);
            EXPECT_LT(nPressCalc, nEquipment);
        }
        if (nCombined >= 0) {
            EXPECT_LT(nPressCalc, nCombined);
            EXPECT_LT(nCombined, nEquipment);
        }
    }
    DeleteFileW(marker.c_str());
}
