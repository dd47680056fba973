// The results of a test direction: one worked data set per standard with
// numbers checked by hand, the reference pressure, units, fits that give no
// results, fallback fits, and the averages of both directions.
//
// The expected numbers of the worked data sets were worked out on a desk
// calculator from the formulas of the corrections, the log-log regression
// and the results, independently of the program; each comment gives the
// steps and the intermediate numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "tests/calc/DirectionFitFixture.h"

using namespace dirfit;

namespace {

struct TestBlock {
    double pre, post;         // baseline markers, Pa
    double tin[2], tout[2];   // pre-test and post-test temperatures
    double pbaro[2];          // Pa
    double altitude;
    std::vector<std::pair<double, double>> points;   // raw building pressure, raw flow
};

struct DataSet {
    int standard;
    int flowUnit, buildingUnit, leakageUnit, temperatureUnit;
    const wchar_t* refPressure;
    double volume, floorArea, envelopeArea;
    std::vector<TestBlock> tests;
};

// Expected value and, where the error is valid, its error.
struct Expected {
    double value;
    double error;   // NaN: the error is not valid
};
constexpr double kNoError = std::numeric_limits<double>::quiet_NaN();
using ExpectedEntries = std::map<int, Expected>;

void ExpectRelNear(double expected, double actual, double tolerance, const std::string& what)
{
    EXPECT_NEAR(expected, actual, std::fabs(expected) * tolerance) << what;
}

// Every entry of the slot against the table: entries that are not listed
// must be invalid, and an error is valid exactly where one is listed.
// Entry 13 never has its flag set; its value is read beside entry 7's.
void ExpectEntries(const CTestResultsDialog& results, int d, const ExpectedEntries& expected, double tolerance)
{
    for (int e = 0; e < CTestResultsDialog::kEntries; ++e) {
        const CResultValue& r = results.m_Results[d][e];
        const std::string what = "slot " + std::to_string(d) + " entry " + std::to_string(e);
        auto it = expected.find(e);
        if (it == expected.end()) {
            EXPECT_EQ(0, r.m_bValid) << what;
            EXPECT_EQ(0, r.m_bErrorValid) << what;
            continue;
        }
        if (e == CTestResultsDialog::kCStandard) {
            EXPECT_EQ(0, r.m_bValid) << what;
            EXPECT_EQ(1, results.m_Results[d][CTestResultsDialog::kC].m_bValid) << what;
        } else {
            EXPECT_EQ(1, r.m_bValid) << what;
        }
        ExpectRelNear(it->second.value, r.m_dValue, tolerance, what + " value");
        const bool bError = !std::isnan(it->second.error);
        EXPECT_EQ(bError ? 1 : 0, r.m_bErrorValid) << what;
        if (bError)
            ExpectRelNear(it->second.error, r.m_dError, tolerance, what + " error");
    }
}

}  // namespace

class Results : public DirectionFitFixture {
protected:
    void SetUp() override
    {
        DirectionFitFixture::SetUp();
        results = m_pView->m_pResults;
        building = m_pView->m_pBuildingInfo;
    }

    // A new view for the next case of a table, set up as SetUp sets it.
    void FreshView()
    {
        m_pView.reset();
        m_pView = std::make_unique<CSimbrel1View>();
        s = m_pView->m_pTestGraph;
        math = m_pView->m_pMath;
        settings = m_pView->m_pSettings;
        settings->m_chDirectionLetter[0] = L'P';
        settings->m_chDirectionLetter[1] = L'D';
        settings->m_chMethodLetter[0] = L'A';
        settings->m_chMethodLetter[1] = L'A';
        results = m_pView->m_pResults;
        building = m_pView->m_pBuildingInfo;
    }

    void SetUnits(int flow, int bld, int leakage, int temperature)
    {
        m_pView->m_nFlowUnit = flow;
        m_pView->m_nBuildingUnit = bld;
        m_pView->m_nLeakageUnit = leakage;
        m_pView->m_nTemperatureUnit = temperature;
        m_pView->ApplyUnits();
        m_pView->AcceptCurrentUnits();
    }

    // Lays the data set into slot d, with the standard, units, building
    // dimensions and reference pressure it names.
    void Load(int d, const DataSet& set)
    {
        settings->m_nStandard = set.standard;
        SetUnits(set.flowUnit, set.buildingUnit, set.leakageUnit, set.temperatureUnit);
        std::vector<Entry> entries;
        for (size_t t = 0; t < set.tests.size(); ++t) {
            const TestBlock& b = set.tests[t];
            entries.push_back(Marker(b.pre));
            for (const auto& [p, q] : b.points)
                entries.push_back(Point(std::round(std::fabs(p)), p, q));
            entries.push_back(Marker(b.post));
            for (int phase = 0; phase < 2; ++phase) {
                s->m_TestTin[phase][d][t] = b.tin[phase];
                s->m_TestTout[phase][d][t] = b.tout[phase];
                s->m_TestPbaro[phase][d][t] = b.pbaro[phase];
            }
            s->m_TestAltitude[d][t] = b.altitude;
        }
        Lay(d, entries);
        SetDimensions(d, set.volume, set.floorArea, set.envelopeArea);
        results->m_strRefPressure = set.refPressure;
    }

    void SetDimensions(int d, double volume, double floorArea, double envelopeArea)
    {
        building->m_dVolume[d] = volume;
        building->m_dFloorArea[d] = floorArea;
        building->m_dSurfaceArea[d] = envelopeArea;
    }

    CTestResultsDialog* results = nullptr;
    CBuildingInfoDialog* building = nullptr;
};

namespace {

// CGSB, pressurization, cfm / ft / in, temperatures in °C; two tests.
// Test 1: baselines 0.3 and 0.5 Pa, 21 °C inside, 1 °C outside. Test 2:
// baselines -0.2 and 0.2 Pa, 20 °C on both sides.
const DataSet kCgsb{0, 0, 0, 0, 1, L"50", 24000.0, 2400.0, 7800.0,
                    {{0.3, 0.5, {21.0, 21.0}, {1.0, 1.0}, {101325.0, 101325.0}, 0.0,
                      {{15.4, 1210.0}, {25.4, 1650.0}, {35.4, 2030.0}, {45.4, 2330.0}, {55.4, 2640.0}}},
                     {-0.2, 0.2, {20.0, 20.0}, {20.0, 20.0}, {101325.0, 101325.0}, 0.0,
                      {{20.0, 1430.0}, {30.0, 1800.0}, {40.0, 2110.0}, {50.0, 2400.0}, {60.0, 2690.0}}}}};

// EN 13829, depressurization, m³/h / m / cm, °C; one test with baselines
// -0.6 and -0.2 Pa, 20 °C inside and 0 °C outside at 98500 Pa before the
// test (the post-test values differ and must not be used).
const DataSet kEn13829{1, 1, 1, 1, 1, L"50", 420.0, 160.0, 510.0,
                       {{-0.6, -0.2, {20.0, 18.0}, {0.0, 2.0}, {98500.0, 98400.0}, 0.0,
                         {{-20.4, 1480.0}, {-30.4, 1850.0}, {-40.4, 2190.0}, {-50.4, 2470.0}, {-60.4, 2760.0},
                          {-70.4, 3000.0}}}}};

// ASTM E779, cfm / ft / in, °F, altitude 1500 ft; both directions, one test
// each, 72 and 70 °F inside, 40 and 44 °F outside, 96000 and 96200 Pa.
const DataSet kAstmPress{2, 0, 0, 0, 0, L"50", 18000.0, 2000.0, 6200.0,
                         {{0.8, 1.2, {72.0, 70.0}, {40.0, 44.0}, {96000.0, 96200.0}, 1500.0,
                           {{16.0, 900.0}, {26.0, 1180.0}, {36.0, 1450.0}, {46.0, 1640.0}, {56.0, 1850.0}}}}};
const DataSet kAstmDepress{2, 0, 0, 0, 0, L"50", 18000.0, 2000.0, 6200.0,
                           {{-1.1, -0.9, {72.0, 70.0}, {40.0, 44.0}, {96000.0, 96200.0}, 1500.0,
                             {{-11.0, 760.0}, {-18.0, 1000.0}, {-26.0, 1240.0}, {-33.0, 1400.0}, {-41.0, 1590.0},
                              {-49.0, 1760.0}, {-57.0, 1880.0}}}}};

// ISO 9972, pressurization, l/s / ft / in, °C, reference pressure 10 Pa;
// one test with baselines 0.2 and 0.4 Pa, 22 °C inside, 8 °C outside,
// 100800 Pa.
const DataSet kIso9972{3, 2, 0, 0, 1, L"10", 15000.0, 1800.0, 5600.0,
                       {{0.2, 0.4, {22.0, 22.0}, {8.0, 8.0}, {100800.0, 100800.0}, 0.0,
                         {{10.3, 520.0}, {18.3, 690.0}, {26.3, 830.0}, {34.3, 960.0}, {42.3, 1060.0}, {50.3, 1170.0},
                          {58.3, 1260.0}, {66.3, 1350.0}}}}};

// The relative tolerance of the worked numbers: the desk calculation
// carries 10 to 12 digits.
constexpr double kWorked = 1e-9;

}  // namespace

// The view's own record has been given the stored preference since.
TEST_F(Results, FreshRecordSelects50PaAndHoldsNoResult)
{
    const CTestResultsDialog fresh(m_pView.get());
    EXPECT_EQ(L"50", fresh.m_strRefPressure.str());
    EXPECT_EQ(50.0, fresh.m_dRefPressure);
    for (int d = 0; d < 2; ++d)
        ExpectEntries(fresh, d, {}, 0.0);
}

// CGSB: flows weighted by Q², half-widths one standard error wide.
// Flow factors sqrt(T_in/T_out) of the pressurization: test 1
// sqrt(294.15/274.15) = 1.035834332, test 2 exactly 1; they do not depend on
// n, so both passes of the fit give the same curve. Corrected points
// (P - baseline, Q x factor): test 1 (15, 1253.36) (25, 1709.13)
// (35, 2102.74) (45, 2413.49) (55, 2734.60); test 2 (20, 1430) (30, 1800)
// (40, 2110) (50, 2400) (60, 2690).
// Weighted sums (w = Q²): W = 4.49497e7, Sx = 1.67247e8, Sxx = 6.28042e8,
// Sy = 3.46526e8; Dxx = 2.58727e14, Dxy = 1.48452e14, Dyy = 8.7322e13.
// n = Dxy/Dxx = 0.57377817877, C = exp(Sy/W - n Sx/W) = 263.569050875,
// r = sqrt(Dxy²/Dxx/Dyy) = 0.987649912521; s_r = 77.2073,
// SE(n) = s_r/sqrt(Dxx/W) = 0.03218110619, C error 100 sqrt(Sxx/W) SE(n)
// = 12.0290751 %, flow errors at 4/10/50/75 Pa 7.600326293, 4.706898263,
// 1.305749061, 2.239152938 %.
// Entry 0 = C 50^n = 2487.2894486; entry 1 = 60 Q / 24000 = 6.2182236215;
// entry 2 = Q/2400 = 1.03637060358; entry 3 = Q/7800 = 0.318883262641;
// EqLA = 10^n C 0.2938f = 290.218021806 in²; ELA = 4^n C 0.2838
// = 165.712660193 in². Entry 13: densities at 101325 Pa, mean indoor
// (1.200003862 + 1.204097343)/2 = 1.202050602, C / (1.202050602/ρ₀)^(1-n)
// = 263.760208794.
// Each test on its own (weighted, no statistics): n 0.596407840916 and
// 0.575058157475, C 250.481074915 and 254.198768644.
TEST_F(Results, CgsbWorkedDataSet)
{
    Load(0, kCgsb);
    m_pView->UpdateResults(0);

    ExpectEntries(*results, 0,
                  {{0, {2487.2894486, 1.305749061}},
                   {1, {6.2182236215, kNoError}},
                   {2, {1.03637060358, kNoError}},
                   {3, {0.318883262641, kNoError}},
                   {5, {290.218021806, 4.706898263}},
                   {6, {165.712660193, 7.600326293}},
                   {7, {263.569050875, 12.0290751}},
                   {8, {0.57377817877, 0.03218110619}},
                   {9, {0.987649912521, kNoError}},
                   {13, {263.760208794, kNoError}}},
                  kWorked);
    EXPECT_DOUBLE_EQ(results->m_Results[0][8].m_dValue, s->m_FitN[0]);
    EXPECT_DOUBLE_EQ(results->m_Results[0][7].m_dValue, s->m_FitC[0]);
    ExpectRelNear(0.987649912521, s->m_FitR[0], kWorked, "r of the direction");
    ExpectRelNear(0.596407840916, s->m_TestN[0][0], kWorked, "n of test 1");
    ExpectRelNear(0.575058157475, s->m_TestN[0][1], kWorked, "n of test 2");
    ExpectRelNear(250.481074915, s->m_TestC[0][0], kWorked, "C of test 1");
    ExpectRelNear(254.198768644, s->m_TestC[0][1], kWorked, "C of test 2");
    // The baselines of each test, collected from its markers.
    EXPECT_EQ(0.3, s->m_TestPreBaseline[0][0]);
    EXPECT_EQ(0.5, s->m_TestPostBaseline[0][0]);
    EXPECT_EQ(-0.2, s->m_TestPreBaseline[0][1]);
    EXPECT_EQ(0.2, s->m_TestPostBaseline[0][1]);
    EXPECT_EQ(50.0, results->m_dRefPressure);
    ExpectRelNear(1.305749061, results->m_dRefPressureFlowErrorPct[0], kWorked, "flow error kept for 50 Pa");
}

// EN 13829: unweighted, half-widths times Student's t (6 points, df 4,
// t = 2.776). Pre-test densities at 98500 Pa: ρ_in = 98500/(287.055 x
// 293.15) = 1.170526408, ρ_out = 98500/(287.055 x 273.15) = 1.256232167.
// Depressurization factor sqrt(ρ₀/ρ_in) (ρ_in/ρ_out) (ρ_out/ρ₀)^(1-n).
// Corrected pressures -(P - (-0.4)) = 20, 30, ... 70 Pa. The first pass
// corrects with n = 0.65 and gives n = 0.5660435649 (C 259.813753); one
// test means one factor for all points, so the second pass keeps n and only
// C changes: factor at that n 0.9625867853, points (20, 1424.63)
// (30, 1780.79) (40, 2108.07) (50, 2377.59) (60, 2656.74) (70, 2887.76).
// Sums: W = 6, Sx = 22.3407, Sxx = 84.2677, Sy = 46.0269, Dxx = 6.50046,
// Dxy = 3.67954, Dyy = 2.08312; n = 0.566043564872, C = 260.739988417 m³/h
// per Paⁿ, r = 0.999919745231; s_r = 0.00373244, SE(n) = 0.003585885565,
// t SE(n) = 0.00995441833; C error 3.730532107 %; flow errors (4, 10, 50,
// 75 Pa) 2.364639114, 1.476281559, 0.4627786284, 0.7270509651 %.
// Entry 0 = C 50^n = 2387.25427517 m³/h; entry 1 = 60 Q/V L³/F with
// V = 420 m³, L = 0.3048, F = 1.69901079552: 5.6839387504 (Q/V = 5.684 to
// within the two factors' rounding); entry 2 = Q/160 = 14.9203392198;
// entry 3 = Q/510 = 4.68089073563; EqLA = 10^n C 0.2938f / (F x
// 0.39370078740157477²) = 1070.96255806 cm²; ELA = 4^n C 0.2838 / (same)
// = 615.862146926 cm². Entry 13 uses the outdoor density (letter 'D'):
// C / (1.256232167/ρ₀)^(1-n) = 255.987752863.
TEST_F(Results, En13829WorkedDataSet)
{
    Load(1, kEn13829);
    results->ComputeResults(1);

    ExpectEntries(*results, 1,
                  {{0, {2387.25427517, 0.4627786284}},
                   {1, {5.6839387504, kNoError}},
                   {2, {14.9203392198, kNoError}},
                   {3, {4.68089073563, kNoError}},
                   {5, {1070.96255806, 1.476281559}},
                   {6, {615.862146926, 2.364639114}},
                   {7, {260.739988417, 3.730532107}},
                   {8, {0.566043564872, 0.00995441833}},
                   {9, {0.999919745231, kNoError}},
                   {13, {255.987752863, kNoError}}},
                  kWorked);
    EXPECT_EQ(-0.6, s->m_TestPreBaseline[1][0]);
    EXPECT_EQ(-0.2, s->m_TestPostBaseline[1][0]);
}

// ASTM E779, both directions (df 3, t = 3.182 for the 5 pressurization
// points; df 5, t = 2.571 for the 7 depressurization points). Temperatures
// and pressures are the means of pre and post: 71 °F (294.817 K) inside,
// 42 °F (278.706 K) outside, 96100 Pa; densities ρ_in = 1.135549944,
// ρ_out = 1.201192594 (entry 13 of 'P' uses ρ_in, of 'D' ρ_out). The flow
// factor uses the densities from altitude (1500 ft = 457.2 m) and the
// viscosity; with the exponent of the first pass it is 1.032350999
// (pressurization) and 0.9699925785 (depressurization).
// Pressurization: points (15, 929.116) (25, 1218.17) (35, 1496.91)
// (45, 1693.06) (55, 1909.85); first pass n 0.5550122457, final
// n = 0.555012245702, C = 206.022538074, r = 0.999621411886; SE(n)
// 0.008819902101, t SE(n) = 0.02806492848; C error 9.793381023 %; flow
// errors 5.958523872, 3.492211105, 1.809004166, 2.731176323 %. Entry 0
// = 1806.60784011, entry 1 = 60 Q/18000 = 6.0220261337, entry 2 = Q/2000
// = 0.903303920055, entry 3 = Q/6200 = 0.291388361308, EqLA 217.259494595,
// ELA 126.2053577, entry 13 = 211.466708656.
// Depressurization: points (10, 737.194) (17, 969.993) (25, 1202.79)
// (32, 1357.99) (40, 1542.29) (48, 1707.19) (56, 1823.59); n
// = 0.531294139699, C = 216.498905879, r = 0.999823749749; t SE(n)
// = 0.01147068579; C error 3.889873876 %; flow errors 2.337032965,
// 1.358916165, 0.9195015006, 1.291589708 %. Entry 0 = 1730.24862477,
// entry 1 = 5.76749541589, entry 2 = 0.865124312383, entry 3
// = 0.279072358833, EqLA 216.17309062, ELA 128.333205493, entry 13
// = 216.744109508.
// Averages: n (0.555012245702 + 0.531294139699)/2 = 0.5431531927; C
// 211.260721976; error of n 0.5 sqrt(0.02806492848² + 0.01147068579²)
// = 0.0151592945369; C: absolute errors 20.1767 and 8.4215, combined
// 0.5 sqrt(20.1767² + 8.4215²) = 10.9318, in percent of the mean C
// 5.17455014508; EqLA mean 216.716292608 with 1.8771094118 %; ELA mean
// 127.269281596 with 3.18065669268 %.
TEST_F(Results, AstmE779WorkedDataSetWithAverages)
{
    Load(0, kAstmPress);
    Load(1, kAstmDepress);
    results->ComputeResults(0);
    results->ComputeResults(1);
    results->AverageDirections();

    ExpectEntries(*results, 0,
                  {{0, {1806.60784011, 1.809004166}},
                   {1, {6.0220261337, kNoError}},
                   {2, {0.903303920055, kNoError}},
                   {3, {0.291388361308, kNoError}},
                   {5, {217.259494595, 3.492211105}},
                   {6, {126.2053577, 5.958523872}},
                   {7, {206.022538074, 9.793381023}},
                   {8, {0.555012245702, 0.02806492848}},
                   {9, {0.999621411886, kNoError}},
                   {13, {211.466708656, kNoError}}},
                  kWorked);
    ExpectEntries(*results, 1,
                  {{0, {1730.24862477, 0.9195015006}},
                   {1, {5.76749541589, kNoError}},
                   {2, {0.865124312383, kNoError}},
                   {3, {0.279072358833, kNoError}},
                   {5, {216.17309062, 1.358916165}},
                   {6, {128.333205493, 2.337032965}},
                   {7, {216.498905879, 3.889873876}},
                   {8, {0.531294139699, 0.01147068579}},
                   {9, {0.999823749749, kNoError}},
                   {13, {216.744109508, kNoError}}},
                  kWorked);
    ExpectRelNear(0.5431531927, results->m_dMeanN, kWorked, "mean n");
    ExpectRelNear(211.260721976, results->m_dMeanC, kWorked, "mean C");
    ExpectRelNear(0.0151592945369, results->m_dMeanNError, kWorked, "error of the mean n");
    ExpectRelNear(5.17455014508, results->m_dMeanCErrorPct, kWorked, "error of the mean C");
    ExpectRelNear(216.716292608, results->m_dMeanEqla, kWorked, "mean EqLA");
    ExpectRelNear(1.8771094118, results->m_dMeanEqlaErrorPct, kWorked, "error of the mean EqLA");
    ExpectRelNear(127.269281596, results->m_dMeanEla, kWorked, "mean ELA");
    ExpectRelNear(3.18065669268, results->m_dMeanElaErrorPct, kWorked, "error of the mean ELA");
}

// ISO 9972 at 10 Pa: unweighted, 8 points (df 6, t = 2.447). Densities at
// 100800 Pa: ρ_in (22 °C) = 1.189741549, ρ_out (8 °C) = 1.248985304;
// pressurization factor at the first pass's n: 1.024685467. Points (10,
// 532.836) (18, 707.033) (26, 850.489) (34, 983.698) (42, 1086.17)
// (50, 1198.88) (58, 1291.10) (66, 1383.33); W = 8, Sx = 27.8772, Sxx
// = 100.021, Sy = 54.9515, Dxx = 23.03, Dxy = 11.684, Dyy = 5.93003.
// n = 0.507338851338, C = 164.191887435 l/s per Paⁿ, r = 0.999807611866 and
// entry 9 = r² = 0.999615260745; t SE(n) = 0.009943133632; C error
// 3.515798783 %; flow error at 10 Pa 1.318026775 %.
// Entry 0 = C 10^n = 528.06884601 l/s; entry 1 = 60 Q / 15000 / 0.4719474432
// = 4.47565807268; entry 2 = Q/1800 = 0.293371581116; entry 3 = Q/5600
// = 0.094298008216; EqLA = 10^n C 0.2938f / 0.4719474432 = 328.737081383 in²
// with the 10 Pa error. Entry 6, the leakage area at 10 Pa: C in m³/h
// = 3.6 C = 591.0908, area = 591.0908/3600 sqrt(ρ₀/2) 10^(n-0.5)
// = 0.129569 m², in ft² x 10.7639104 = 1.39468575705, with the 10 Pa error.
// Entry 13 (indoor density) = 165.164952555.
TEST_F(Results, Iso9972WorkedDataSet)
{
    Load(0, kIso9972);
    results->ComputeResults(0);

    ExpectEntries(*results, 0,
                  {{0, {528.06884601, 1.318026775}},
                   {1, {4.47565807268, kNoError}},
                   {2, {0.293371581116, kNoError}},
                   {3, {0.094298008216, kNoError}},
                   {5, {328.737081383, 1.318026775}},
                   {6, {1.39468575705, 1.318026775}},
                   {7, {164.191887435, 3.515798783}},
                   {8, {0.507338851338, 0.009943133632}},
                   {9, {0.999615260745, kNoError}},
                   {13, {165.164952555, kNoError}}},
                  kWorked);
    EXPECT_EQ(10.0, results->m_dRefPressure);
    EXPECT_EQ(1, results->IsEnOrIsoStandard());
}

// The reference pressure, on the ISO 9972 data set (C and n above; flow
// errors at 4, 10, 50, 75 Pa: 2.17000592, 1.318026775, 0.7323511131,
// 1.02054616 %). A text the page does not offer counts as 50 Pa for the flow
// and its error, while the leakage area is taken at the pressure the text
// names: area = 3.6 C/3600 sqrt(ρ₀/2) p^(n-0.5) x 10.7639104 ft². The page's
// way (select, then derive only) must give what a whole recomputation gives.
TEST_F(Results, ReferencePressureChoosesFlowErrorAndIsoArea)
{
    struct Case {
        const wchar_t* text;
        double pressure;
        double flow;     // C p^n
        double error;    // flow error at the chosen pressure
        double area;     // NaN: no area
    };
    const Case cases[] = {
        {L"50", 50.0, 1194.82743391, 0.7323511131, 1.41125665438},
        {L"75", 75.0, 1467.71969778, 1.02054616, 1.41546231181},
        {L"10", 10.0, 528.06884601, 1.318026775, 1.39468575705},
        {L"4", 4.0, 331.741741108, 2.17000592, 1.38533862545},
        {L"25", 50.0, 1194.82743391, 0.7323511131, 1.40409595544},
        // Not a number: the area at 0 Pa does not exist.
        {L"abc", 50.0, 1194.82743391, 0.7323511131, kNoError},
    };
    Load(0, kIso9972);
    results->ComputeResults(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        results->m_strRefPressure = c.text;
        results->SelectReferencePressure(0);
        results->ComputeDerivedResults(0, results->m_dRefPressure);
        const CResultValue derived[2] = {results->m_Results[0][0], results->m_Results[0][6]};
        EXPECT_EQ(c.pressure, results->m_dRefPressure);
        ExpectRelNear(c.flow, derived[0].m_dValue, kWorked, "flow");
        EXPECT_EQ(1, derived[0].m_bErrorValid);
        ExpectRelNear(c.error, derived[0].m_dError, kWorked, "flow error");
        if (std::isnan(c.area)) {
            EXPECT_EQ(0, derived[1].m_bValid);
            EXPECT_EQ(0, derived[1].m_bErrorValid);
        } else {
            EXPECT_EQ(1, derived[1].m_bValid);
            ExpectRelNear(c.area, derived[1].m_dValue, kWorked, "area");
            ExpectRelNear(c.error, derived[1].m_dError, kWorked, "area error");
        }

        results->ComputeResults(0);
        for (int i = 0; i < 2; ++i) {
            const int e = i == 0 ? 0 : 6;
            const CResultValue& r = results->m_Results[0][e];
            EXPECT_EQ(derived[i].m_bValid, r.m_bValid) << e;
            EXPECT_EQ(derived[i].m_bErrorValid, r.m_bErrorValid) << e;
            if (r.m_bValid) {
                EXPECT_DOUBLE_EQ(derived[i].m_dValue, r.m_dValue) << e;
            }
            if (r.m_bErrorValid) {
                EXPECT_DOUBLE_EQ(derived[i].m_dError, r.m_dError) << e;
            }
        }
    }
}

// A change of units converts the stored data; the results must describe
// the same building: flows scale by the flow factor, flows per area also by
// the square of the length factor, leakage areas by the square of the area
// length factor (ISO 9972: ft² against m²), and n, r, the air change rate
// and every percent error stay.
TEST_F(Results, UnitChangesLeaveThePhysicalResults)
{
    struct Units {
        int flow, building, leakage, temperature;
    };
    struct Case {
        std::string name;
        const DataSet* sets[2];   // per slot; null: no tests
        Units to;
    };
    const Case cases[] = {
        {"CGSB to m³/h, m, cm, °F", {&kCgsb, nullptr}, {1, 1, 1, 0}},
        {"EN 13829 to cfm, ft, in, °F", {nullptr, &kEn13829}, {0, 0, 0, 0}},
        {"ASTM E779 to l/s, m, cm, °C", {&kAstmPress, &kAstmDepress}, {2, 1, 1, 1}},
        {"ISO 9972 to m³/h, m, cm, °F", {&kIso9972, nullptr}, {1, 1, 1, 0}},
    };
    const double kFlow[] = {1.0, 1.6990107955200004, 0.4719474432000001};
    const double kLength[] = {1.0, 0.3048};
    const double kAreaLength[] = {1.0, 0.39370078740157477};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshView();
        const DataSet& first = c.sets[0] != nullptr ? *c.sets[0] : *c.sets[1];
        for (int d = 0; d < 2; ++d)
            if (c.sets[d] != nullptr)
                Load(d, *c.sets[d]);
        CResultValue before[2][CTestResultsDialog::kEntries];
        for (int d = 0; d < 2; ++d) {
            if (c.sets[d] == nullptr)
                continue;
            results->ComputeResults(d);
            std::copy(results->m_Results[d], results->m_Results[d] + CTestResultsDialog::kEntries, before[d]);
        }

        m_pView->ChangeUnits(c.to.flow, c.to.building, c.to.leakage, c.to.temperature, 0, c.sets[0] ? 0 : 1);
        const double fr = kFlow[c.to.flow] / kFlow[first.flowUnit];
        const double lr = kLength[c.to.building] / kLength[first.buildingUnit];
        const double ar = kAreaLength[c.to.leakage] / kAreaLength[first.leakageUnit];
        // The building page converts its own dimensions; give them in the
        // new unit whatever it did.
        for (int d = 0; d < 2; ++d) {
            if (c.sets[d] == nullptr)
                continue;
            SetDimensions(d, c.sets[d]->volume * lr * lr * lr, c.sets[d]->floorArea * lr * lr,
                          c.sets[d]->envelopeArea * lr * lr);
            results->ComputeResults(d);
        }

        // The ISO 9972 area is in ft² with inches and in m² with cm.
        const double kSquareMetre = 1.0 / 10.7639104;
        double areaRatio = 1.0 / (ar * ar);
        if (first.standard == 3)
            areaRatio = (c.to.leakage == 1 ? kSquareMetre : 1.0) / (first.leakageUnit == 1 ? kSquareMetre : 1.0);
        std::map<int, double> scale{{0, fr}, {1, 1.0}, {2, fr / (lr * lr)}, {3, fr / (lr * lr)}, {5, 1.0 / (ar * ar)},
                                    {6, areaRatio}, {7, fr}, {8, 1.0}, {9, 1.0}, {13, fr}};
        for (int d = 0; d < 2; ++d) {
            if (c.sets[d] == nullptr)
                continue;
            for (const auto& [e, k] : scale) {
                const CResultValue& was = before[d][e];
                const CResultValue& now = results->m_Results[d][e];
                const std::string what = "slot " + std::to_string(d) + " entry " + std::to_string(e);
                EXPECT_EQ(was.m_bValid, now.m_bValid) << what;
                EXPECT_EQ(was.m_bErrorValid, now.m_bErrorValid) << what;
                ExpectRelNear(was.m_dValue * k, now.m_dValue, 1e-9, what);
                if (was.m_bErrorValid)
                    ExpectRelNear(was.m_dError, now.m_dError, 1e-9, what + " error");
            }
        }
    }
}

// The fits that fall back to a fixed or exact solution give results without
// errors; an implausible regression still gives results with errors. CGSB
// at 20 °C on both sides, so every flow factor is 1, zero baselines.
// Hand values: equal targets (49, 2000) (50, 2020) (51, 2040): n = 0.65,
// C = 2020/50^0.65, so the flow at 50 Pa is the mean flow 2020. Narrow span
// (20, 300) (22, 310) (24, 330): 313.333 (50/22)^0.65 = 534.271932076. Two
// points (10, 500) (40, 1200): n = ln 2.4 / ln 4 = 0.631517202917, flow at
// 50 Pa 500 x 5^n = 1381.59765172. One point (50, 1000): 1000. Points on
// Q = 10 P^1.5: n = 1.5 is implausible (code 4), flow 10 x 50^1.5
// = 3535.53390593, with the regression's errors.
TEST_F(Results, FallbackFitsGiveResultsWithoutErrors)
{
    struct Case {
        std::string name;
        std::vector<Entry> entries;
        double n;
        double flowAt50;
        bool bErrors;   // the regression ran: errors and r valid
    };
    const Case cases[] = {
        {"equal targets", {Marker(0), Point(50, 49, 2000), Point(50, 50, 2020), Point(50, 51, 2040), Marker(0)}, 0.65,
         2020.0, false},
        {"narrow span", {Marker(0), Point(20, 20, 300), Point(22, 22, 310), Point(24, 24, 330), Marker(0)}, 0.65,
         534.271932076, false},
        {"two points", {Marker(0), Point(10, 10, 500), Point(40, 40, 1200), Marker(0)}, 0.631517202917, 1381.59765172,
         false},
        {"one point", {Marker(0), Point(50, 50, 1000), Marker(0)}, 0.65, 1000.0, false},
        {"implausible exponent",
         {Marker(0), Point(10, 10, Law(10, 1.5, 10)), Point(20, 20, Law(10, 1.5, 20)), Point(40, 40, Law(10, 1.5, 40)),
          Marker(0)},
         1.5, 3535.53390593, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshView();
        settings->m_nStandard = 0;
        SetUnits(0, 0, 0, 1);
        for (int phase = 0; phase < 2; ++phase) {
            s->m_TestTin[phase][0][0] = 20.0;
            s->m_TestTout[phase][0][0] = 20.0;
            s->m_TestPbaro[phase][0][0] = 101325.0;
        }
        Lay(0, c.entries);
        SetDimensions(0, 20000.0, 2000.0, 6000.0);
        results->m_strRefPressure = L"50";
        results->ComputeResults(0);

        const CResultValue* r = results->m_Results[0];
        ExpectRelNear(c.n, r[8].m_dValue, 1e-9, "n");
        ExpectRelNear(c.flowAt50, r[0].m_dValue, 1e-9, "flow at 50 Pa");
        for (int e : {0, 1, 2, 3, 5, 6, 7, 8})
            EXPECT_EQ(1, r[e].m_bValid) << e;
        for (int e : {0, 5, 6, 7, 8})
            EXPECT_EQ(c.bErrors ? 1 : 0, r[e].m_bErrorValid) << e;
        EXPECT_EQ(c.bErrors ? 1 : 0, r[9].m_bValid);
        if (!c.bErrors) {
            // The fit wrote no statistics: the reset of the computation stays.
            EXPECT_EQ(-1.0, math->m_dCErrorPct[0][0]);
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(-1.0, math->m_dFlowErrorPct[k][0][0]) << k;
        }
    }
}

// A dimension of 0.1 or less was not entered: its entry stays invalid while
// the flow at the reference pressure is shown.
TEST_F(Results, MissingDimensionsLeaveTheirEntriesInvalid)
{
    struct Case {
        double volume, floorArea, envelopeArea;
        int ach, perFloor, perEnvelope;
    };
    const Case cases[] = {
        {0.0, 2400.0, 7800.0, 0, 1, 1},
        {24000.0, 0.1, 7800.0, 1, 0, 1},
        {24000.0, 2400.0, 0.11, 1, 1, 1},
        {-5.0, 0.0, 0.05, 0, 0, 0},
    };
    Load(0, kCgsb);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        SetDimensions(0, c.volume, c.floorArea, c.envelopeArea);
        results->ComputeResults(0);
        const CResultValue* r = results->m_Results[0];
        EXPECT_EQ(1, r[0].m_bValid);
        ExpectRelNear(2487.2894486, r[0].m_dValue, kWorked, "flow at 50 Pa");
        EXPECT_EQ(c.ach, r[1].m_bValid);
        EXPECT_EQ(c.perFloor, r[2].m_bValid);
        EXPECT_EQ(c.perEnvelope, r[3].m_bValid);
    }
}

// A direction whose fit stops on code 1, 2 or 3 shows no result at all, and
// nothing of its earlier results may come back: not through a new
// reference pressure, not in the averages of both directions. The other
// direction keeps its results.
TEST_F(Results, NoFitLeavesTheDirectionWithoutResults)
{
    struct Case {
        std::string name;
        std::vector<Entry> entries;   // slot 1 after its first, good computation
    };
    const Case cases[] = {
        {"no data point (code 1)", {Marker(-1.0), Marker(-1.0)}},
        {"a flow of 0 (code 2)",
         {Marker(-1.0), Point(20, -21, 1000), Point(30, -31, 0.0), Point(40, -41, 1500), Marker(-1.0)}},
        {"a pressure of the wrong sign (code 3)",
         {Marker(-1.0), Point(20, -21, 1000), Point(30, 4.0, 1200), Point(40, -41, 1500), Marker(-1.0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshView();
        Load(0, kAstmPress);
        Load(1, kAstmDepress);
        results->ComputeResults(0);
        results->ComputeResults(1);
        results->AverageDirections();
        CResultValue slot0[CTestResultsDialog::kEntries];
        std::copy(results->m_Results[0], results->m_Results[0] + CTestResultsDialog::kEntries, slot0);
        const double dErrorKept = results->m_dRefPressureFlowErrorPct[1];

        Lay(1, c.entries);
        results->m_strRefPressure = L"10";
        results->ComputeResults(1);
        ExpectEntries(*results, 1, {}, 0.0);
        EXPECT_EQ(-1.0, s->m_FitN[1]);
        EXPECT_EQ(-1.0, s->m_FitC[1]);
        EXPECT_EQ(-1.0, s->m_FitR[1]);
        // The computation stopped before the reference pressure.
        EXPECT_EQ(50.0, results->m_dRefPressure);
        EXPECT_EQ(dErrorKept, results->m_dRefPressureFlowErrorPct[1]);
        for (int e = 0; e < CTestResultsDialog::kEntries; ++e) {
            EXPECT_EQ(slot0[e].m_bValid, results->m_Results[0][e].m_bValid) << e;
            EXPECT_EQ(slot0[e].m_bErrorValid, results->m_Results[0][e].m_bErrorValid) << e;
            EXPECT_EQ(slot0[e].m_dValue, results->m_Results[0][e].m_dValue) << e;
        }

        // The page's reaction to a new reference pressure.
        results->SelectReferencePressure(1);
        results->ComputeDerivedResults(1, results->m_dRefPressure);
        ExpectEntries(*results, 1, {}, 0.0);

        // No mean from a direction without results, never -1.
        results->AverageDirections();
        for (double mean : {results->m_dMeanN, results->m_dMeanC, results->m_dMeanEqla, results->m_dMeanEla,
                            results->m_dMeanNError, results->m_dMeanCErrorPct, results->m_dMeanEqlaErrorPct,
                            results->m_dMeanElaErrorPct})
            EXPECT_EQ(0.0, mean);
    }
}

// ISO 9972 keeps its leakage area with the flow at the reference pressure:
// after a failed fit a new reference pressure must not bring it back.
TEST_F(Results, NoFitKeepsTheIsoLeakageAreaInvalidAtANewReferencePressure)
{
    Load(0, kIso9972);
    results->ComputeResults(0);
    ASSERT_EQ(1, results->m_Results[0][6].m_bValid);

    Lay(0, {Marker(0.2), Point(10, 10.3, 0.0), Point(20, 20.3, 700.0), Point(30, 30.3, 850.0), Marker(0.4)});
    results->ComputeResults(0);
    results->m_strRefPressure = L"50";
    results->SelectReferencePressure(0);
    results->ComputeDerivedResults(0, results->m_dRefPressure);
    ExpectEntries(*results, 0, {}, 0.0);
}

// The averages take a value only when both directions have it, and an error
// only when both have theirs: a fallback fit in one direction gives means of
// n and C (no errors), and an ELA mean is 0 when one ELA is missing.
TEST_F(Results, AveragesUseOnlyWhatBothDirectionsHold)
{
    Load(0, kAstmPress);
    Load(1, kAstmDepress);
    results->ComputeResults(0);
    results->ComputeResults(1);
    const double n0 = results->m_Results[0][8].m_dValue;
    const double C0 = results->m_Results[0][7].m_dValue;

    // Two depressurization points: n = ln(1200/500)/ln 4 exactly, no errors.
    Lay(1, {Marker(0.0), Point(10, -10, 500), Point(40, -40, 1200), Marker(0.0)});
    results->ComputeResults(1);
    results->AverageDirections();
    const double n1 = results->m_Results[1][8].m_dValue;
    const double C1 = results->m_Results[1][7].m_dValue;
    ASSERT_EQ(0, results->m_Results[1][7].m_bErrorValid);
    EXPECT_DOUBLE_EQ((n0 + n1) / 2.0, results->m_dMeanN);
    EXPECT_DOUBLE_EQ((C0 + C1) / 2.0, results->m_dMeanC);
    EXPECT_DOUBLE_EQ((results->m_Results[0][5].m_dValue + results->m_Results[1][5].m_dValue) / 2.0,
                     results->m_dMeanEqla);
    for (double error : {results->m_dMeanNError, results->m_dMeanCErrorPct, results->m_dMeanEqlaErrorPct,
                         results->m_dMeanElaErrorPct})
        EXPECT_EQ(0.0, error);

    // With one direction's ELA not valid there is no ELA mean.
    results->m_Results[1][6].m_bValid = 0;
    results->AverageDirections();
    EXPECT_EQ(0.0, results->m_dMeanEla);
}

TEST(ResultsCombinedError, IsThePercentErrorOfTheMeanOfTwoValues)
{
    struct Case {
        double e1, v1, e2, v2, expected;
    };
    const Case cases[] = {
        // Two equal 5 % errors on equal values: 5/sqrt(2) for the mean.
        {5.0, 100.0, 5.0, 100.0, 3.5355339059327378},
        // Absolute 2 and 12: 0.5 sqrt(4 + 144) = 6.0827625 of the mean 200.
        {2.0, 100.0, 4.0, 300.0, 3.04138126514911},
        {0.0, 250.0, 0.0, 260.0, 0.0},
        // A mean of 0 has no percent error.
        {5.0, 100.0, 5.0, -100.0, 0.0},
        {0.0, 0.0, 0.0, 0.0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.expected, CTestResultsDialog::CombinedError(c.e1, c.v1, c.e2, c.v2), 1e-12)
            << c.e1 << " " << c.v1 << " " << c.e2 << " " << c.v2;
}

TEST_F(Results, EnAndIsoStandardsAreRecognised)
{
    const int expected[] = {0, 1, 0, 1, 0};
    for (int code = 0; code < 5; ++code) {
        settings->m_nStandard = code;
        EXPECT_EQ(expected[code], results->IsEnOrIsoStandard()) << code;
    }
}

// 33 tests in a slot: the store holds 32, so the baselines of the 33rd are
// kept nowhere (they would land in the next slot's arrays).
TEST_F(Results, BaselinesOfTestsBeyondTheStoreAreNotKept)
{
    std::vector<Entry> entries;
    for (int t = 0; t < 33; ++t) {
        entries.push_back(Marker(0.01 * t));
        entries.push_back(Point(10.0 + t, 10.0 + t, Law(100.0, 0.6, 10.0 + t)));
        entries.push_back(Marker(7.0 + 0.01 * t));
    }
    Lay(0, entries);
    ASSERT_EQ(99, s->m_StationCount[0]);
    s->m_TestPreBaseline[1][0] = 123.0;
    s->m_TestPostBaseline[1][0] = 456.0;
    results->ComputeResults(0);

    EXPECT_DOUBLE_EQ(0.31, s->m_TestPreBaseline[0][31]);
    EXPECT_DOUBLE_EQ(7.31, s->m_TestPostBaseline[0][31]);
    EXPECT_EQ(123.0, s->m_TestPreBaseline[1][0]);
    EXPECT_EQ(456.0, s->m_TestPostBaseline[1][0]);
}
