// A test measured through a fan ring with a small custom calibration
// constant, saved and opened again: the calibration comes back as its value,
// so the flows through it and every result computed from them are those
// before saving, and the results section of the file holds those results.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr double kSmallC = 0.000204;
constexpr wchar_t kFan = L'4';   // fan row 2
constexpr int kRow = 2;
constexpr int kRing = 5;

// One reading: raw building pressure and fan pressure, Pa.
struct Reading {
    double building;
    double fan;
};
const Reading kReadings[] = {{20.6, 41.0}, {30.6, 58.0}, {40.6, 77.0}, {50.6, 93.0}, {60.6, 112.0}, {70.6, 128.0}};
constexpr double kBaselineBefore = 0.4;
constexpr double kBaselineAfter = 0.8;

class CalibrationRoundTripTest : public ViewFileTest {
protected:
    CalibrationRoundTripTest() : ViewFileTest(L"CalibrationRoundTripView", L"CalibrationRoundTrip") {}

    void SetUp() override
    {
        ViewFileTest::SetUp();
        g_nCurrentDirection = 0;
        V()->m_strTestTitle = L"Untitled";
        V()->m_bTestOpen = 1;
    }
    void TearDown() override
    {
        V()->CloseAllPages();
        ViewFileTest::TearDown();
    }

    CFanCalibrationDialog& Cal() const { return *V()->m_pFanCalibration; }
    CTestResultsDialog& Results() const { return *V()->m_pResults; }

    // The flow through the fan ring at a fan pressure, as the test screen
    // computes it from the calibration in force.
    double Flow(double dFanPressure) const
    {
        Cal().LoadFanRingCalibration(kFan, kRing);
        return Cal().m_dSelC * std::pow(dFanPressure, Cal().m_dSelN);
    }

    // One completed pressurization test measured through the ring: the
    // store as the test screen leaves it, flows from the calibration in
    // force.
    void Measure()
    {
        CTestGraph1& s = Store();
        int i = 0;
        auto put = [&s, &i](int nRing, double dTarget, double dPressure, double dFlow) {
            s.m_Ring[0][i] = nRing;
            s.m_TargetP[0][i] = dTarget;
            s.m_Pavg[0][i] = dPressure;
            s.m_Qavg[0][i] = dFlow;
            ++i;
        };
        put(-1, 0.0, kBaselineBefore, 0.0);
        for (const Reading& r : kReadings)
            put(kRing, std::round(r.building), r.building, Flow(r.fan));
        put(-1, 0.0, kBaselineAfter, 0.0);
        s.m_StationCount[0] = i;
        s.m_CompletedTests[0] = 1;
        s.IndexTestGroups();
        for (int phase = 0; phase < 2; ++phase) {
            s.m_TestTin[phase][0][0] = 21.0;
            s.m_TestTout[phase][0][0] = 4.0;
            s.m_TestPbaro[phase][0][0] = 99800.0;
        }
        s.m_TestAltitude[0][0] = 0.0;
    }

    std::wstring Save(const wchar_t* pszName)
    {
        const std::wstring path = m_folder + pszName;
        m_answerer.ReplyToFileDialog(path);
        V()->m_bSaveAsTest = 1;
        EXPECT_EQ(V()->SaveFileAs(), CSimbrel1View::kSaveWritten);
        V()->CloseAllPages();
        return path;
    }
};

// The keys of the results section, with the entry each holds.
struct ResultKey {
    int nEntry;
    const wchar_t* pszKey;
    const wchar_t* pszErrorKey;   // the 95 % half-width of EN 13829
};
const ResultKey kResultKeys[] = {
    {CTestResultsDialog::kFlowAtRef, L"Q_at_Selected_Pressure:", L"Q_at_Selected_Pressure_err95:"},
    {CTestResultsDialog::kAch, L"ACH_at_Selected_Pressure:", nullptr},
    {CTestResultsDialog::kFlowPerFloor, L"Q_at_Selected_Pressure_per_unit_floor_area:", nullptr},
    {CTestResultsDialog::kFlowPerEnvelope, L"TLR:", nullptr},
    {CTestResultsDialog::kEqla, L"EqLA:", L"EqLA_err95:"},
    {CTestResultsDialog::kEla, L"ELA:", L"ELA_err95:"},
    {CTestResultsDialog::kC, L"C:", L"C_err95:"},
    {CTestResultsDialog::kN, L"n:", L"n_err95:"},
    {CTestResultsDialog::kR, L"r:", nullptr},
};

}  // namespace

TEST_F(CalibrationRoundTripTest, ResultsThroughASmallCustomConstantAreThoseBeforeSaving)
{
    // EN 13829 in m³/h and metres.
    Settings().m_nStandard = 1;
    Settings().m_chStandardLetter = Settings().GetStandardLetter(0);
    Settings().m_chDirectionLetter[0] = L'P';
    Settings().m_chDirectionLetter[1] = L'D';
    Settings().m_chMethodLetter[0] = L'A';
    Settings().m_chMethodLetter[1] = L'A';
    V()->m_nFlowUnit = 1;
    V()->m_nBuildingUnit = 1;
    V()->m_nLeakageUnit = 1;
    V()->m_nTemperatureUnit = 1;
    V()->ApplyUnits();
    V()->AcceptCurrentUnits();
    CBuildingInfoDialog& building = *V()->m_pBuildingInfo;
    building.m_strTestDateUniv = L"20261211";
    building.m_strTestDateLocal = CSimbrel1View::FormatDateKeyLocal(L"20261211");
    building.m_strVolume = L"0.42";
    building.m_strFloorArea = L"0.16";
    building.m_strSurfaceArea = L"0.51";
    building.UpdateDimensionValues(1);

    Cal().m_dFanC[kRow][kRing] = kSmallC;
    Cal().m_strFanC[kRow][kRing] = CFanCalibrationDialog::FormatC(kSmallC);
    Cal().m_bCustomC[kRow][kRing] = 1;
    const double dFactoryN = Cal().m_dFanN[kRow][kRing];
    std::vector<double> flows;
    for (const Reading& r : kReadings)
        flows.push_back(Flow(r.fan));
    ASSERT_GT(flows.front(), 0.0);

    Measure();
    V()->UpdateResults(0);
    // The end of a test checks it against the standard; the file keeps the
    // deviations found.
    V()->m_pDeviations->RecheckAllTests(0);
    const std::vector<CResultValue> before(Results().m_Results[0], Results().m_Results[0] + CTestResultsDialog::kEntries);
    const CString strRefPressure = Results().m_strRefPressure;
    // The comparison below means something only with results to compare.
    ASSERT_EQ(before[CTestResultsDialog::kC].m_bValid, 1);
    ASSERT_EQ(before[CTestResultsDialog::kFlowAtRef].m_bValid, 1);
    ASSERT_EQ(before[CTestResultsDialog::kAch].m_bValid, 1);
    ASSERT_EQ(before[CTestResultsDialog::kFlowAtRef].m_bErrorValid, 1);

    const std::wstring path = Save(L"small-constant.bld");
    g_bLiveReadings = 1;
    V()->OpenFile(0, path.c_str());

    // The calibration as it was: the custom constant, not the factory one
    // and not a text that reads back as 0.
    EXPECT_EQ(Cal().m_dFanC[kRow][kRing], kSmallC);
    EXPECT_EQ(Cal().m_bCustomC[kRow][kRing], 1);
    EXPECT_EQ(Cal().m_dFanN[kRow][kRing], dFactoryN);
    EXPECT_EQ(CSimbrel1View::TextToDouble(Cal().m_strFanC[kRow][kRing]), kSmallC);
    for (size_t i = 0; i < flows.size(); ++i)
        EXPECT_EQ(Flow(kReadings[i].fan), flows[i]) << "reading " << i;

    // The results section of the file holds each valid entry of the record
    // to the six decimals the section is written with, and nothing else.
    const CString strPrefix = g_strPressKeyPrefix;
    for (const ResultKey& key : kResultKeys) {
        SCOPED_TRACE(CString(key.pszKey).ToAnsi());
        const CResultValue& r = before[key.nEntry];
        const CString strValue = V()->GetFileValue(strPrefix + key.pszKey);
        EXPECT_EQ(strValue.IsEmpty(), r.m_bValid == 0);
        if (r.m_bValid) {
            EXPECT_NEAR(CSimbrel1View::TextToDouble(strValue), r.m_dValue, 5e-7);
        }
        if (key.pszErrorKey == nullptr)
            continue;
        const CString strError = V()->GetFileValue(strPrefix + key.pszErrorKey);
        EXPECT_EQ(strError.IsEmpty(), r.m_bValid == 0 || r.m_bErrorValid == 0);
        if (r.m_bValid && r.m_bErrorValid) {
            EXPECT_NEAR(CSimbrel1View::TextToDouble(strError), r.m_dError, 5e-7);
        }
    }
    EXPECT_EQ(V()->GetFileValue(L"Selected_Pressure_of_Airflow_Data_Pa:"), strRefPressure);

    // The same readings taken through the reopened calibration give every
    // entry as before, bit for bit.
    ASSERT_EQ(building.m_dVolume[0], 0.42);
    Measure();
    V()->UpdateResults(0);
    for (int e = 0; e < CTestResultsDialog::kEntries; ++e) {
        SCOPED_TRACE(testing::Message() << "entry " << e);
        const CResultValue& was = before[e];
        const CResultValue& now = Results().m_Results[0][e];
        EXPECT_EQ(now.m_bValid, was.m_bValid);
        EXPECT_EQ(now.m_bErrorValid, was.m_bErrorValid);
        if (was.m_bValid || e == CTestResultsDialog::kCStandard) {
            EXPECT_EQ(now.m_dValue, was.m_dValue);
        }
        if (was.m_bErrorValid) {
            EXPECT_EQ(now.m_dError, was.m_dError);
        }
    }
    EXPECT_EQ(Results().m_strRefPressure, strRefPressure);

    // Saved again, the test is the file it was opened from.
    const std::wstring again = Save(L"small-constant-again.bld");
    EXPECT_EQ(ReadBytes(again), ReadBytes(path));
}
