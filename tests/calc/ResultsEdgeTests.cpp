// Inputs at the edges of the arithmetic: each gives "no value" (or a refused
// fit), never NaN, infinity, -1 or a value of an earlier computation shown
// as a result, on the results page or in the test file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "tests/calc/DirectionFitFixture.h"

using namespace dirfit;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::wstring Lower(const CString& str)
{
    std::wstring s = str.GetString();
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(towlower(c));
    return s;
}

// A text a result belongs in never holds these.
void ExpectNoBadNumber(const CString& str, const std::string& what)
{
    const std::wstring s = Lower(str);
    EXPECT_EQ(std::wstring::npos, s.find(L"nan")) << what << ": " << str.ToAnsi();
    EXPECT_EQ(std::wstring::npos, s.find(L"inf")) << what << ": " << str.ToAnsi();
    EXPECT_EQ(std::wstring::npos, s.find(L"-1")) << what << ": " << str.ToAnsi();
}

// Five points of Q = C * P^n between two baselines of 0 Pa.
std::vector<Entry> Curve(double C, double n, double sign = 1.0)
{
    std::vector<Entry> entries{Marker(0.0)};
    for (double p : {15.0, 25.0, 35.0, 45.0, 55.0})
        entries.push_back(Point(p, sign * p, Law(C, n, p)));
    entries.push_back(Marker(0.0));
    return entries;
}

}  // namespace

// Regression and fit statistics: the value kept for each input at the edge.
TEST(FitStatisticsEdges, EveryEdgeInputKeepsNoValueOrItsOwnResult)
{
    CQarMathFunctions math;
    int m = 7, e = 7;
    struct NiceCase {
        double x;
        double expected;
    } niceCases[] = {{0.0, 0.0}, {-0.0, 0.0}, {kInf, 0.0}, {-kInf, 0.0}, {kNaN, 0.0}, {0.034, 0.04}};
    for (const NiceCase& c : niceCases) {
        EXPECT_EQ(c.expected, math.NiceNumber(c.x, 1, m, e)) << c.x;
        if (c.expected == 0.0) {
            EXPECT_EQ(0, m) << c.x;
            EXPECT_EQ(0, e) << c.x;
        }
    }

    EXPECT_EQ(0.0, math.Mean(nullptr, 0));
    const double one = 3.0;
    EXPECT_EQ(0.0, math.Mean(&one, 0));

    // Equal x values, however D rounds, are no line: outputs untouched.
    struct LineCase {
        const char* name;
        std::vector<double> x;
        int code;
    } lineCases[] = {
        {"five times 0.1", std::vector<double>(5, 0.1), 3},
        {"six times 0.7", std::vector<double>(6, 0.7), 3},
        {"two equal", {2.0, 2.0}, 3},
        {"one at 0", {0.0}, 3},
        {"a NaN", {1.0, kNaN, 3.0}, 3},
        {"an ordinary line", {1.0, 2.0, 3.0}, 0},
    };
    for (const LineCase& c : lineCases) {
        std::vector<double> y(c.x.size());
        for (size_t i = 0; i < y.size(); ++i)
            y[i] = 1.0 + 2.0 * static_cast<double>(i);
        double a = 11.0, seA = 12.0, b = 13.0, seB = 14.0;
        EXPECT_EQ(c.code, math.LinearRegression(y.data(), c.x.data(), static_cast<int>(c.x.size()), a, seA, b, seB))
            << c.name;
        if (c.code == 3) {
            EXPECT_EQ(11.0, a) << c.name;
            EXPECT_EQ(12.0, seA) << c.name;
            EXPECT_EQ(13.0, b) << c.name;
            EXPECT_EQ(14.0, seB) << c.name;
        } else {
            EXPECT_DOUBLE_EQ(2.0, b) << c.name;
        }
    }

    // The leakage curve: refused inputs set r = -1 and keep n and C.
    struct FitCase {
        const char* name;
        int bWithStatistics;
        std::vector<double> p, q;   // from index 1
        double r;                   // -1: refused
    } fitCases[] = {
        {"two points with statistics", 1, {0, 10, 20}, {0, 100, 150}, -1.0},
        {"one point without", 0, {0, 10}, {0, 100}, -1.0},
        {"equal pressures", 1, {0, 10, 10, 10}, {0, 100, 110, 120}, -1.0},
        {"a flow of 0", 1, {0, 10, 20, 30}, {0, 100, 0, 120}, -1.0},
        {"a negative flow", 1, {0, 10, 20, 30}, {0, 100, -5, 120}, -1.0},
        {"a NaN flow", 1, {0, 10, 20, 30}, {0, 100, kNaN, 120}, -1.0},
        {"an infinite pressure", 1, {0, 10, kInf, 30}, {0, 100, 110, 120}, -1.0},
        {"all flows equal", 1, {0, 10, 20, 30}, {0, 100, 100, 100}, 0.0},
    };
    for (const FitCase& c : fitCases) {
        double n = 0.77, C = 88.0;
        std::vector<double> p = c.p;
        const int N = static_cast<int>(p.size()) - 1;
        math.FitLeakageCurve(0, 3, c.bWithStatistics, 0, 1, p.data(), c.q.data(), N, n, C);
        EXPECT_EQ(c.r, math.m_dCorrelation[0][3]) << c.name;
        if (c.r < 0.0) {
            EXPECT_EQ(0.77, n) << c.name;
            EXPECT_EQ(88.0, C) << c.name;
        } else {
            EXPECT_EQ(0.0, n) << c.name;
            EXPECT_DOUBLE_EQ(100.0, C) << c.name;
            EXPECT_TRUE(std::isfinite(math.m_dCErrorPct[0][3])) << c.name;
            EXPECT_TRUE(std::isfinite(math.m_dFlowErrorPct[2][0][3])) << c.name;
        }
    }

    // Areas and C at standard density: no value is 0 and "not computed".
    double area = 5.0;
    EXPECT_EQ(0, math.CalcIsoLeakageArea(area, 100.0, 0.65, 0.0));
    EXPECT_EQ(0.0, area);
    EXPECT_EQ(0, math.CalcIsoLeakageArea(area, 100.0, 0.65, -10.0));
    EXPECT_EQ(0, math.CalcEqla(area, kInf, 0.65, 1.0, 1.0));
    EXPECT_EQ(1, math.CalcIsoLeakageArea(area, 100.0, 0.65, 50.0));
    EXPECT_GT(area, 0.0);
    const double rho[] = {0.0, -1.0, kNaN, kInf};
    for (double r : rho) {
        EXPECT_EQ(0.0, math.CorrectCToStandardDensity(L'P', 100.0, 0.65, r, 1.2)) << r;
        EXPECT_EQ(0.0, math.CorrectCToStandardDensity(L'D', 100.0, 0.65, 1.2, r)) << r;
    }
    EXPECT_EQ(12.706, CQarMathFunctions::StudentT95(0));
    EXPECT_EQ(12.706, CQarMathFunctions::StudentT95(-3));
}

// Density and viscosity corrections: air that cannot exist gives 0 for the
// factor and the densities, and a fit on such data is refused (code 2).
class CorrectionEdges : public DirectionFitFixture {};

TEST_F(CorrectionEdges, AirThatCannotExistGivesNoFactorAndNoFit)
{
    struct Case {
        const char* name;
        int standard;
        double tIn, tOut, pBaro;   // degrees C, Pa
        bool bUsable;
    } cases[] = {
        {"EN 13829, ordinary air", 1, 20.0, 5.0, 98000.0, true},
        {"EN 13829, barometric pressure never entered", 1, 20.0, 5.0, 0.0, false},
        {"ISO 9972, barometric pressure NaN", 3, 20.0, 5.0, kNaN, false},
        {"ISO 9972, indoor at absolute zero", 3, -273.15, 5.0, 98000.0, false},
        {"EN 13829, outdoor below absolute zero", 1, 20.0, -300.0, 98000.0, false},
        {"CGSB, indoor below absolute zero", 0, -280.0, 5.0, 101325.0, false},
        {"ASTM E779, outdoor below absolute zero", 2, 20.0, -300.0, 98000.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->m_nStandard = c.standard;
        Lay(0, Curve(100.0, 0.65));
        SetEnvironment(0, 0, c.tIn, c.tOut, c.pBaro, 0.0);
        s->m_FitN[0] = 0.0;
        double n = 0.0, C = 0.0;
        const int nCode = FitSlot(0, n, C);
        const double f = s->m_FlowFactor[0][0];
        EXPECT_TRUE(std::isfinite(f));
        EXPECT_TRUE(std::isfinite(s->m_TestRhoIn[0][0]));
        EXPECT_TRUE(std::isfinite(s->m_TestRhoOut[0][0]));
        if (c.bUsable) {
            EXPECT_GT(f, 0.0);
            EXPECT_EQ(0, nCode);
            EXPECT_GT(C, 0.0);
        } else {
            EXPECT_EQ(2, nCode);
            EXPECT_EQ(-1.0, n);
            EXPECT_EQ(-1.0, C);
            EXPECT_EQ(-1.0, math->m_dCorrelation[0][0]);
        }
    }
}

// The results of a direction at the edges: the entries kept, and the
// page's texts and the file's results keys for them.
class ResultsEdges : public DirectionFitFixture {
protected:
    void SetUp() override
    {
        DirectionFitFixture::SetUp();
        results = m_pView->m_pResults;
        building = m_pView->m_pBuildingInfo;
        for (int d = 0; d < 2; ++d) {
            building->m_dVolume[d] = 400.0;
            building->m_dFloorArea[d] = 150.0;
            building->m_dSurfaceArea[d] = 500.0;
        }
    }

    std::vector<std::pair<std::string, CString>> Texts() const
    {
        const CTestResultsDialog& r = *results;
        return {{"flow", r.m_strFlowAtRefValue}, {"ach", r.m_strAchValue},  {"floor", r.m_strFlowPerFloorValue},
                {"envelope", r.m_strFlowPerEnvelopeValue},                   {"eqla", r.m_strEqla},
                {"ela", r.m_strEla},                 {"C", r.m_strC},        {"n", r.m_strN},
                {"r", r.m_strR},                     {"r2", r.m_strR2},      {"Cenv", r.m_strCenv},
                {"tab flow 0", r.m_strTabFlowSlot0}, {"tab flow 1", r.m_strTabFlowSlot1},
                {"tab flow mean", r.m_strTabFlowMean}, {"tab C mean", r.m_strTabCMean},
                {"tab n mean", r.m_strTabNMean},     {"tab eqla mean", r.m_strTabEqlaMean},
                {"tab ela mean", r.m_strTabElaMean}, {"tab Cenv 0", r.m_strTabCenvSlot0},
                {"tab Cenv 1", r.m_strTabCenvSlot1}, {"file P", r.WriteResultKeys(0, L"P_")},
                {"file D", r.WriteResultKeys(1, L"D_")}};
    }

    void ExpectCleanTexts()
    {
        for (const auto& [what, text] : Texts())
            ExpectNoBadNumber(text, what);
    }

    CTestResultsDialog* results = nullptr;
    CBuildingInfoDialog* building = nullptr;
};

TEST_F(ResultsEdges, EdgeInputsKeepNoValueAndShowNone)
{
    struct Case {
        const char* name;
        int standard;
        double pBaro0;               // pressurization's barometric pressure
        bool bDepressurization;      // slot 1 has a test too
        double q1;                   // flow scale of slot 1 (0: a stopped direction)
        const wchar_t* refPressure;
        bool bSlot0Results;
        bool bIsoArea;
        bool bMeans;                 // ASTM E779 averages of both
    } cases[] = {
        {"EN 13829, ordinary", 1, 98000.0, false, 0.0, L"50", true, false, false},
        {"EN 13829, barometric pressure never entered", 1, 0.0, false, 0.0, L"50", false, false, false},
        {"ISO 9972, ordinary at 10 Pa", 3, 98000.0, false, 0.0, L"10", true, true, false},
        {"ISO 9972, a reference text that is no number", 3, 98000.0, false, 0.0, L"abc", true, false, false},
        {"ISO 9972, no barometric pressure", 3, 0.0, false, 0.0, L"50", false, false, false},
        {"ASTM E779, both directions", 2, 98000.0, true, 1.0, L"50", true, false, true},
        {"ASTM E779, depressurization stopped", 2, 98000.0, true, 0.0, L"50", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->m_nStandard = c.standard;
        Lay(0, Curve(120.0, 0.63));
        SetEnvironment(0, 0, 20.0, 5.0, c.pBaro0, 0.0);
        if (c.bDepressurization) {
            std::vector<Entry> entries = Curve(110.0, 0.66, -1.0);
            for (Entry& e : entries)
                e.q *= c.q1;
            Lay(1, entries);
            SetEnvironment(1, 0, 20.0, 5.0, 98000.0, 0.0);
        } else {
            Lay(1, {});
        }
        results->m_strRefPressure = c.refPressure;
        s->m_FitN[0] = s->m_FitN[1] = 0.0;
        results->ComputeResults(0);
        if (c.bDepressurization) {
            results->ComputeResults(1);
            results->AverageDirections();
        }
        results->FormatResults();

        const CResultValue* r = results->m_Results[0];
        EXPECT_EQ(c.bSlot0Results ? 1 : 0, r[CTestResultsDialog::kC].m_bValid);
        EXPECT_EQ(c.bSlot0Results ? 1 : 0, r[CTestResultsDialog::kFlowAtRef].m_bValid);
        for (int e = 0; e < CTestResultsDialog::kEntries; ++e) {
            if (r[e].m_bValid) {
                EXPECT_TRUE(std::isfinite(r[e].m_dValue)) << e;
                EXPECT_GT(r[e].m_dValue, 0.0) << e;
            }
            if (r[e].m_bErrorValid) {
                EXPECT_TRUE(std::isfinite(r[e].m_dError)) << e;
                EXPECT_GE(r[e].m_dError, 0.0) << e;
            }
        }
        EXPECT_TRUE(std::isfinite(r[CTestResultsDialog::kCStandard].m_dValue));
        if (c.standard == 3) {
            EXPECT_EQ(c.bIsoArea ? 1 : 0, r[CTestResultsDialog::kEla].m_bValid);
            EXPECT_EQ(c.bIsoArea, !results->m_strEla.IsEmpty());
        }
        if (!c.bSlot0Results && !c.bDepressurization) {
            EXPECT_TRUE(results->m_strC.IsEmpty());
            EXPECT_TRUE(results->m_strFlowAtRefValue.IsEmpty());
            EXPECT_TRUE(results->m_strCenv.IsEmpty());
        }
        if (c.standard == 2) {
            EXPECT_EQ(c.bMeans, results->m_dMeanC > 0.0);
            EXPECT_EQ(c.bMeans, results->m_dMeanN > 0.0);
            EXPECT_EQ(c.bMeans, !results->m_strTabCMean.IsEmpty());
            EXPECT_TRUE(std::isfinite(results->m_dMeanCErrorPct));
            EXPECT_TRUE(std::isfinite(results->m_dMeanEqlaErrorPct));
            EXPECT_GE(results->m_dMeanCErrorPct, 0.0);
        }
        ExpectCleanTexts();
    }
}

// C at standard density without a mean density (first test still running,
// no barometric pressure) is 0: its texts are empty, not "0.0" or "nan".
TEST_F(ResultsEdges, CAtStandardDensityWithoutADensityShowsNothing)
{
    settings->m_nStandard = 1;
    Lay(0, Curve(120.0, 0.63));
    Lay(1, {});
    SetEnvironment(0, 0, 20.0, 5.0, 98000.0, 0.0);
    SetEnvironment(1, 0, 20.0, 5.0, 98000.0, 0.0);
    results->ComputeResults(0);
    results->FormatResults();
    ASSERT_GT(results->m_Results[0][CTestResultsDialog::kCStandard].m_dValue, 0.0);
    EXPECT_FALSE(results->m_strCenv.IsEmpty());

    // What the computation keeps when the mean density is 0/0 or C/0.
    const double dNoDensity = math->CorrectCToStandardDensity(L'P', 120.0, 0.63, math->Mean(nullptr, 0), 1.2);
    EXPECT_EQ(0.0, dNoDensity);
    results->m_Results[0][CTestResultsDialog::kCStandard].m_dValue = dNoDensity;
    results->FormatResults();
    EXPECT_TRUE(results->m_strCenv.IsEmpty()) << results->m_strCenv.ToAnsi();
    EXPECT_FALSE(results->m_strC.IsEmpty());

    // Both directions: the table's slot without a density is empty too.
    Lay(1, Curve(110.0, 0.66, -1.0));
    results->ComputeResults(0);
    results->ComputeResults(1);
    results->m_Results[1][CTestResultsDialog::kCStandard].m_dValue = dNoDensity;
    results->FormatResults();
    EXPECT_FALSE(results->m_strTabCenvSlot0.IsEmpty());
    EXPECT_TRUE(results->m_strTabCenvSlot1.IsEmpty()) << results->m_strTabCenvSlot1.ToAnsi();
    EXPECT_FALSE(results->m_strTabCSlot1.IsEmpty());
    ExpectCleanTexts();
}

// After both directions are computed, the page's way of changing the
// reference pressure (select, derive) gives, entry by entry, what a fresh
// computation at the new pressure gives, in both slots.
TEST_F(ResultsEdges, ReferencePressureChangeAfterBothDirectionsMatchesAFreshComputation)
{
    for (int standard : {0, 3}) {
        SCOPED_TRACE(standard);
        settings->m_nStandard = standard;
        // Two tests per slot: test 0 shares fit slot 0 with its direction.
        std::vector<Entry> p0 = Curve(120.0, 0.63);
        std::vector<Entry> p1 = Curve(118.0, 0.61);
        p0.insert(p0.end(), p1.begin(), p1.end());
        std::vector<Entry> d0 = Curve(110.0, 0.66, -1.0);
        std::vector<Entry> d1 = Curve(113.0, 0.69, -1.0);
        d0.insert(d0.end(), d1.begin(), d1.end());
        Lay(0, p0);
        Lay(1, d0);
        for (int d = 0; d < 2; ++d) {
            for (int t = 0; t < 2; ++t)
                SetEnvironment(d, t, 20.0, 5.0, 98000.0, 0.0);
        }
        results->m_strRefPressure = L"50";
        results->ComputeResults(0);
        results->ComputeResults(1);

        for (const wchar_t* pszPressure : {L"10", L"75", L"4", L"50"}) {
            SCOPED_TRACE(CString(pszPressure).ToAnsi());
            results->m_strRefPressure = pszPressure;
            for (int d = 0; d < 2; ++d) {
                results->SelectReferencePressure(d);
                results->ComputeDerivedResults(d, results->m_dRefPressure);
            }
            CResultValue changed[2][CTestResultsDialog::kEntries];
            for (int d = 0; d < 2; ++d) {
                for (int e = 0; e < CTestResultsDialog::kEntries; ++e)
                    changed[d][e] = results->m_Results[d][e];
            }
            results->ComputeResults(0);
            results->ComputeResults(1);
            for (int d = 0; d < 2; ++d) {
                for (int e = 0; e < CTestResultsDialog::kEntries; ++e) {
                    const CResultValue& fresh = results->m_Results[d][e];
                    const CResultValue& got = changed[d][e];
                    SCOPED_TRACE(testing::Message() << "slot " << d << " entry " << e);
                    EXPECT_EQ(fresh.m_bValid, got.m_bValid);
                    EXPECT_EQ(fresh.m_bErrorValid, got.m_bErrorValid);
                    if (fresh.m_bValid || e == CTestResultsDialog::kCStandard) {
                        EXPECT_DOUBLE_EQ(fresh.m_dValue, got.m_dValue);
                    }
                    if (fresh.m_bErrorValid) {
                        EXPECT_DOUBLE_EQ(fresh.m_dError, got.m_dError);
                    }
                }
            }
            EXPECT_EQ(1, results->m_Results[0][CTestResultsDialog::kFlowAtRef].m_bErrorValid);
        }
    }
}
