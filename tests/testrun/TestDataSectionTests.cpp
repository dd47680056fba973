// The test-data and connected-device sections of the store: the lines they
// write, the reader with its fallbacks, and the device snapshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "comm/QarCommunications.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

class TestDataSection : public testing::Test {
protected:
    void SetUp() override
    {
        m_strSavedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"test-data-section").c_str();
        m_pView = std::make_unique<CSimbrel1View>();
        m_pStore = m_pView->m_pTestGraph;
        m_pSettings = m_pView->m_pSettings;
        m_pStore->ResetTestData();
    }
    void TearDown() override
    {
        m_pView.reset();
        g_strUserDataRoot = m_strSavedRoot;
    }

    CTestGraph1& S() const { return *m_pStore; }

    void Use(int nStandard, int nMethodIndex, wchar_t chMethod)
    {
        m_pSettings->m_nStandard = nStandard;
        m_pSettings->m_nMethodIndex = nMethodIndex;
        m_pSettings->m_chMethodLetter[0] = chMethod;
        m_pSettings->m_chMethodLetter[1] = chMethod;
    }
    // Appends one entry to slot d.
    void Entry(int d, int nRing, double dTarget, double dPavg, double dPfan, double dQavg, double dPStd, double dQStd)
    {
        const int i = S().m_StationCount[d]++;
        S().m_Ring[d][i] = nRing;
        S().m_TargetP[d][i] = dTarget;
        S().m_Pavg[d][i] = dPavg;
        S().m_Pfan[d][i] = dPfan;
        S().m_Qavg[d][i] = dQavg;
        S().m_PStdDev[d][i] = dPStd;
        S().m_QStdDev[d][i] = dQStd;
    }
    // The text written for slot d read back into a reset store.
    void ReadBack(const CString& strText, int d, int nVersion = 5010100)
    {
        m_pView->m_strFileText = strText;
        m_pView->m_nFileVersion = nVersion;
        S().ResetTestData();
        for (int i = 0; i < CTestGraph1::kMaxEntries; ++i) {
            S().m_Ring[d][i] = 9;
            S().m_Pavg[d][i] = -7.0;
        }
        S().ReadTestData(d, d == 0 ? L"P_" : L"D_");
    }

    std::unique_ptr<CSimbrel1View> m_pView;
    CTestGraph1* m_pStore = nullptr;
    CTestSettingsDialog* m_pSettings = nullptr;
    CString m_strSavedRoot;
};

}  // namespace

TEST_F(TestDataSection, CgsbSampleComesOutByteForByteWithTheMarkersZeroed)
{
    Use(0, 1, L'A');
    Entry(0, -1, 0.0, 0.4, 3.0, 55.0, 0.12, 4.0);  // a marker's fan values are not kept
    Entry(0, 0, 50.0, 50.3, 120.5, 2950.0, 0.9, 21.0);
    Entry(0, -1, 0.0, 0.35, 0.0, 0.0, 0.11, 0.0);
    S().m_CompletedTests[0] = 1;
    S().m_TestTin[0][0][0] = 20.0;
    S().m_TestTout[0][0][0] = 5.0;

    const CString strText = S().WriteTestData(0, L"P_");

    const CString strExpected = CString(L"P_Station_count: 3\nP_Completed_Tests: 1\n\nPRESSURIZATION TEST 1\n") +
                                m_pView->GetTestEnvironmentText(0, 0) +
                                L"P_Pretest_InTemp_OutTemp_for_Test_1:  20.0 5.0\n"
                                L"\nDATA FORMAT: Ring TargetP   Pavg      Pfan      Qavg      PStdDev  QStdDev\n"
                                L"P_Data_pt_0: -1 0.000000 0.400000 0.000000 0.000000 0.120000 0.000000 END\n"
                                L"P_Data_pt_1: 0 50.000000 50.300000 120.500000 2950.000000 0.900000 21.000000 END\n"
                                L"P_Data_pt_2: -1 0.000000 0.350000 0.000000 0.000000 0.110000 0.000000 END\n";
    EXPECT_EQ(strExpected.str(), strText.str());
    EXPECT_EQ(0.0, S().m_Pfan[0][0]);
    EXPECT_EQ(0.0, S().m_Qavg[0][0]);
    EXPECT_EQ(0.0, S().m_QStdDev[0][0]);

    ReadBack(strText, 0);
    ASSERT_EQ(3, S().m_StationCount[0]);
    EXPECT_EQ(1, S().m_CompletedTests[0]);
    EXPECT_EQ(0, S().m_Ring[0][1]);
    EXPECT_DOUBLE_EQ(2950.0, S().m_Qavg[0][1]);
    EXPECT_DOUBLE_EQ(0.35, S().m_Pavg[0][2]);
    EXPECT_DOUBLE_EQ(20.0, S().m_TestTin[0][0][0]);
    EXPECT_DOUBLE_EQ(5.0, S().m_TestTout[0][0][0]);
    // Entries beyond the count keep what the store held.
    EXPECT_EQ(9, S().m_Ring[0][3]);
}

TEST_F(TestDataSection, En13829WritesBothOneSecondLinesAndSkipsTheUnmeasured)
{
    Use(1, 1, L'A');
    for (int t = 0; t < 2; ++t) {
        Entry(1, -1, 0.0, 0.5, 0, 0, 0.1, 0);
        Entry(1, 2, 50.0, -50.2, 100.0, 1500.0, 0.5, 3.0);
        Entry(1, -1, 0.0, 0.6, 0, 0, 0.1, 0);
        S().m_TestPbaro[0][1][t] = 101000.0;
        S().m_TestBaselinePlusPre[1][t] = 0.25;
        S().m_TestBaselineMinusPre[1][t] = -0.125;
        S().m_TestBaselinePlusPost[1][t] = 0.5;
        S().m_TestBaselineMinusPost[1][t] = -1.5;
    }
    S().m_CompletedTests[1] = 2;
    for (int s = 0; s < CTestGraph1::kBaselineSeconds; ++s) {
        S().m_PreBaselineSeconds[1][0][s] = 0.1 * s - 1.0;
        S().m_PostBaselineSeconds[1][0][s] = 0.25;
        S().m_PreBaselineSeconds[1][1][s] = CTestGraph1::kNotMeasured;
        S().m_PostBaselineSeconds[1][1][s] = CTestGraph1::kNotMeasured;
    }

    const CString strText = S().WriteTestData(1, L"D_");
    const std::wstring text = strText.str();
    const std::wstring pre = L"D_Pretest_Baseline_One_Second_Averages_For_Test_1:";
    const size_t nPre = text.find(pre);
    ASSERT_NE(std::wstring::npos, nPre);
    const std::wstring preLine = text.substr(nPre, text.find(L'\n', nPre) - nPre);
    EXPECT_EQ(30, std::count(preLine.begin(), preLine.end(), L' ') - 1);  // 30 values and the closing blank
    EXPECT_NE(std::wstring::npos, preLine.find(L" -1.000000 -0.900000"));
    EXPECT_NE(std::wstring::npos, text.find(L"D_Posttest_Baseline_One_Second_Averages_For_Test_1: 0.250000"));
    EXPECT_EQ(std::wstring::npos, text.find(L"One_Second_Averages_For_Test_2"));
    EXPECT_NE(std::wstring::npos,
              text.find(L"D_Baseline_Plus_Minus_for_Test_1: 0.250000 -0.125000 0.500000 -1.500000 \n"));
    EXPECT_NE(std::wstring::npos, text.find(L"D_Baseline_Plus_Minus_for_Test_2:"));
    EXPECT_NE(std::wstring::npos, text.find(L"D_Pretest_InTemp_OutTemp_BarPr_for_Test_1:  0.0 0.0 101000.0\n"));

    ReadBack(strText, 1);
    EXPECT_DOUBLE_EQ(-1.0, S().m_PreBaselineSeconds[1][0][0]);
    EXPECT_DOUBLE_EQ(1.9, S().m_PreBaselineSeconds[1][0][29]);
    EXPECT_NEAR(0.45, S().m_TestPreBaseline[1][0], 1e-9);
    EXPECT_DOUBLE_EQ(0.25, S().m_TestPostBaseline[1][0]);
    EXPECT_EQ(CTestGraph1::kNotMeasured, S().m_PreBaselineSeconds[1][1][0]);
    EXPECT_EQ(CTestGraph1::kNotMeasured, S().m_PostBaselineSeconds[1][1][29]);
    EXPECT_EQ(0.0, S().m_TestPreBaseline[1][1]);
    EXPECT_DOUBLE_EQ(-1.5, S().m_TestBaselineMinusPost[1][1]);
    EXPECT_DOUBLE_EQ(101000.0, S().m_TestPbaro[0][1][0]);
    // What was read writes the same section again, also while a cruise with
    // baseline runs.
    S().m_CruiseMode = 2;
    EXPECT_EQ(strText.str(), S().WriteTestData(1, L"D_").str());
}

TEST_F(TestDataSection, BaselineLinesAreAveragedOverTheValuesTheyHold)
{
    struct Case {
        const wchar_t* line;
        double dMean;
        double dSecond;  // the second value stored
    };
    const Case cases[] = {
        {L"1.0 2.0 3.0 \n", 2.0, 2.0},
        {L"", 0.0, CTestGraph1::kNotMeasured},
        {L"4.0", 0.0, CTestGraph1::kNotMeasured},   // no blank after it: not read
        {L"nan 3.0 ", 1.5, 3.0},                    // not finite reads as 0
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(c.dMean, S().ParseBaselineSeconds(c.line, 1, 0, 3)) << CString(c.line).ToAnsi();
        EXPECT_EQ(c.dSecond, S().m_PreBaselineSeconds[0][3][1]) << CString(c.line).ToAnsi();
        EXPECT_EQ(CTestGraph1::kNotMeasured, S().m_PreBaselineSeconds[0][3][29]);
    }
}

TEST_F(TestDataSection, ZoneHeaderStopsAtTheFirstInactiveZoneWhileEveryLineHasSixPairs)
{
    Use(0, 1, L'A');
    m_pSettings->m_bZonalActive = 1;
    m_pView->m_bAutoSelect = 0;
    m_pSettings->m_nZoneActive[0][3] = 1;
    m_pSettings->m_nZoneActive[0][5] = 1;
    Entry(0, -1, 0, 0.2, 0, 0, 0.1, 0);
    Entry(0, 1, 50.0, 50.0, 90.0, 800.0, 0.3, 2.0);
    Entry(0, -1, 0, 0.1, 0, 0, 0.1, 0);
    S().m_ZonePavg[0][0][1] = 12.5;
    S().m_ZoneStdDev[0][0][1] = 0.25;
    S().m_ZonePavg[0][2][1] = -7.75;
    S().m_ZoneStdDev[0][2][1] = 0.5;
    S().m_CompletedTests[0] = 1;

    const std::wstring text = S().WriteTestData(0, L"P_").str();
    EXPECT_NE(std::wstring::npos,
              text.find(L"DATA FORMAT: Ring TargetP   Pavg      Pfan      Qavg      PStdDev  QStdDev  Zn1Pavg Zn1StdDev\n"));
    EXPECT_NE(std::wstring::npos,
              text.find(L"P_Data_pt_1: 1 50.000000 50.000000 90.000000 800.000000 0.300000 2.000000 12.500000 0.250000"
                        L" P4-Inactive P4-Inactive -7.750000 0.500000 P6-Inactive P6-Inactive P7-Inactive P7-Inactive"
                        L" P8-Inactive P8-Inactive END\n"));

    ReadBack(text.c_str(), 0);
    EXPECT_DOUBLE_EQ(12.5, S().m_ZonePavg[0][0][1]);
    EXPECT_DOUBLE_EQ(0.0, S().m_ZonePavg[0][1][1]);
    EXPECT_DOUBLE_EQ(-7.75, S().m_ZonePavg[0][2][1]);
    EXPECT_DOUBLE_EQ(0.5, S().m_ZoneStdDev[0][2][1]);
    // With the device auto-selection on, no zone columns.
    m_pView->m_bAutoSelect = 1;
    S().m_StationCount[0] = 3;
    S().m_CompletedTests[0] = 1;
    EXPECT_EQ(std::wstring::npos, S().WriteTestData(0, L"P_").str().find(L"Inactive"));
}

TEST_F(TestDataSection, DeletedPointsSplitAtTheLastDashAndLoseTheirLeadingBlank)
{
    Use(0, 1, L'A');
    for (int t = 0; t < 2; ++t) {
        Entry(0, -1, 0, -0.2, 0, 0, 0.1, 0);
        Entry(0, 1, 50.0, -50.0, 90.0, 800.0, 0.3, 2.0);
        Entry(0, -1, 0, -0.1, 0, 0, 0.1, 0);
    }
    S().m_CompletedTests[0] = 2;
    Entry(0, 3, 25.0, -25.5, -1.0, 400.0, 0.1, 1.0);
    const CString strLine = S().FormatDataPointLine(0, 6);
    S().m_StationCount[0] = 6;
    S().m_DeletedPoints[0][0] = strLine + L"-2";
    S().m_DeletedPoints[0][1] = strLine + L"-1";
    S().m_LastDeletedIndex[0] = 1;

    const std::wstring text = S().WriteTestData(0, L"P_").str();
    EXPECT_NE(std::wstring::npos,
              text.find(L"\nDELETED PRESSURIZATION TEST DATA POINTS\nP_Test2_Deleted_Data_Point_0:  3 25.000000 -25.500000"
                        L" -1.000000 400.000000 0.100000 1.000000 END\nP_Test1_Deleted_Data_Point_1:  3 "));

    ReadBack(text.c_str(), 0);
    EXPECT_EQ(1, S().m_LastDeletedIndex[0]);
    EXPECT_EQ((strLine.Mid(1) + L"-2").str(), S().m_DeletedPoints[0][0].str());
    EXPECT_EQ((strLine.Mid(1) + L"-1").str(), S().m_DeletedPoints[0][1].str());
}

TEST_F(TestDataSection, DeletedPointsNeverPassTheListAndRepeatedKeysAreIgnored)
{
    Use(0, 0, L'M');
    CString strText = L"P_Station_count: 0\nP_Completed_Tests: 3\n";
    for (int t = 1; t <= 3; ++t)
        for (int k = 0; k < 12; ++k)
            strText += CString::FormatText(L"P_Test%d_Deleted_Data_Point_%d: 1 2 3 END\n", t, k);
    ReadBack(strText, 0);
    EXPECT_EQ(11, S().m_LastDeletedIndex[0]);
    EXPECT_EQ(CString(L"1 2 3 END-1").str(), S().m_DeletedPoints[0][11].str());
}

TEST_F(TestDataSection, ManualCgsbWithoutPosttestWritesOneEntryLessAndGetsItBack)
{
    Use(0, 0, L'M');
    Entry(0, -1, 0, 0.3, 0, 0, 0.05, 0);
    Entry(0, 1, 50.0, 50.0, 90.0, 800.0, 0.3, 2.0);
    Entry(0, 2, 25.0, 25.0, 60.0, 500.0, 0.3, 2.0);
    Entry(0, -1, 0, 0.3, 0, 0, 0.05, 0);
    S().m_CompletedTests[0] = 1;
    const CString strText = S().WriteTestData(0, L"P_");
    EXPECT_EQ(0, strText.Find(L"P_Station_count: 3\n"));
    EXPECT_LT(strText.Find(L"P_Data_pt_3:"), 0);

    ReadBack(strText, 0);
    ASSERT_EQ(4, S().m_StationCount[0]);
    EXPECT_EQ(-1, S().m_Ring[0][3]);
    EXPECT_DOUBLE_EQ(0.3, S().m_Pavg[0][3]);
    EXPECT_DOUBLE_EQ(0.05, S().m_PStdDev[0][3]);

    // With a post-test baseline typed, the closing marker is written.
    m_pView->m_pManualEntry->m_strBuildingP[0][13] = L"0.4";
    EXPECT_EQ(0, S().WriteTestData(0, L"P_").Find(L"P_Station_count: 4\n"));
}

// A manual test of each standard: the entries come back to the written
// precision, and what was read writes the same section again. A manual CGSB
// test without a post-test baseline ends with a copy of its opening marker,
// which is left out and restored.
TEST_F(TestDataSection, ManualTestsOfEveryStandardComeBackAndWriteTheSameAgain)
{
    for (int nStandard = 0; nStandard < 4; ++nStandard) {
        SCOPED_TRACE(nStandard);
        Use(nStandard, 0, L'M');
        S().ResetTestData();
        Entry(1, -1, 0, -0.375, 0, 0, 0.0625, 0);
        Entry(1, 1, 60.0, -60.123456, 110.5, 2100.25, 0.5, 3.5);
        Entry(1, 2, 45.0, -45.5, 80.125, 1700.5, 0.25, 2.75);
        Entry(1, 3, 30.0, -30.25, 150.0, 1200.75, 0.125, 1.5);
        Entry(1, -1, 0, -0.375, 0, 0, 0.0625, 0);
        S().m_CompletedTests[1] = 1;
        const CString strFirst = S().WriteTestData(1, L"D_");
        EXPECT_EQ(nStandard == 0 ? 0 : -1, strFirst.Find(L"D_Station_count: 4\n"));

        ReadBack(strFirst, 1);
        ASSERT_EQ(5, S().m_StationCount[1]);
        EXPECT_EQ(1, S().m_CompletedTests[1]);
        const int nRings[] = {-1, 1, 2, 3, -1};
        const double dPavg[] = {-0.375, -60.123456, -45.5, -30.25, -0.375};
        const double dQavg[] = {0.0, 2100.25, 1700.5, 1200.75, 0.0};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(nRings[i], S().m_Ring[1][i]) << i;
            EXPECT_DOUBLE_EQ(dPavg[i], S().m_Pavg[1][i]) << i;
            EXPECT_DOUBLE_EQ(dQavg[i], S().m_Qavg[1][i]) << i;
        }
        EXPECT_DOUBLE_EQ(80.125, S().m_Pfan[1][2]);
        EXPECT_DOUBLE_EQ(0.0625, S().m_PStdDev[1][4]);
        EXPECT_DOUBLE_EQ(1.5, S().m_QStdDev[1][3]);
        EXPECT_EQ(strFirst.str(), S().WriteTestData(1, L"D_").str());
    }
}

TEST_F(TestDataSection, OlderKeysAndVersionsAreReadAsTheyWereMeant)
{
    Use(0, 1, L'A');
    const CString strBody = L"P_Station_count: 3\n"
                            L"P_Pretest_InTemp_OutTemp_for_Test_1:  21.0 4.0\n"
                            L"P_Data_pt_0: -1 0 0.4 0 0 0.12 0 P3-Inactive 0.7 END\n"
                            L"P_Data_pt_1: 0 50 50.3 120 2950 0.9 21 END\n"
                            L"P_Data_pt_2: -1 0 0.35 0 0 0.11 0 END\n";
    struct Case {
        const wchar_t* countLine;
        int nVersion;
        int nTests;
        double dMarkerStdDev;
    };
    const Case cases[] = {
        {L"P_Completed_Tests: 1\n", 2000505, 1, 0.12},
        {L"P_Complete_test: 1\n", 2000505, 1, 0.12},
        {L"P_Completed_Tests: 1\n", 2000504, 1, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.countLine).ToAnsi() + " " + std::to_string(c.nVersion));
        m_pSettings->m_bZonalActive = 1;
        ReadBack(c.countLine + strBody, 0, c.nVersion);
        EXPECT_EQ(c.nTests, S().m_CompletedTests[0]);
        EXPECT_DOUBLE_EQ(c.dMarkerStdDev, S().m_PStdDev[0][0]);
        EXPECT_DOUBLE_EQ(c.dMarkerStdDev == 0.0 ? 0.0 : 0.7, S().m_ZoneStdDev[0][0][0]);
        EXPECT_DOUBLE_EQ(0.9, S().m_PStdDev[0][1]);
        EXPECT_DOUBLE_EQ(21.0, S().m_TestTin[0][0][0]);
    }
}

TEST_F(TestDataSection, EnvironmentLinesFollowTheStandard)
{
    struct Case {
        int nStandard;
        int bPre;
        const wchar_t* value;
        double dTin, dTout, dBaro, dAltitude;
    };
    const Case cases[] = {
        {0, 1, L"20.0 5.0", 20.0, 5.0, 0.0, 0.0},
        {0, 1, L"20.0 5.0 99.0", 20.0, 5.0, 0.0, 0.0},     // CGSB ignores a third value
        {1, 1, L"20.0 5.0 101000.0", 20.0, 5.0, 101000.0, 0.0},
        {3, 0, L"20.0 5.0 101000.0", 0.0, 0.0, 0.0, 0.0},  // post-test only for ASTM E779
        {2, 0, L"22.0 -3.0 350.0", 22.0, -3.0, 0.0, 350.0},
        // A leading blank: no indoor value, and the outdoor value is the
        // empty text before the next blank.
        {1, 1, L" 5.0", 0.0, 0.0, 5.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.value).ToAnsi());
        S().ResetTestData();
        S().m_TestAltitude[0][2] = 0.0;
        m_pSettings->m_nStandard = c.nStandard;
        S().ParseEnvironmentLine(c.value, c.bPre, 0, 2);
        const int nPhase = c.bPre ? 0 : 1;
        EXPECT_DOUBLE_EQ(c.dTin, S().m_TestTin[nPhase][0][2]);
        EXPECT_DOUBLE_EQ(c.dTout, S().m_TestTout[nPhase][0][2]);
        EXPECT_DOUBLE_EQ(c.dBaro, S().m_TestPbaro[nPhase][0][2]);
        EXPECT_DOUBLE_EQ(c.dAltitude, S().m_TestAltitude[0][2]);
    }
}

// The check the opening makes before it reads a test: the key that makes a
// section damaged, or nothing. A manual CGSB test is saved without its
// closing marker, which still closes its test.
TEST_F(TestDataSection, DamagedSectionsAreNamedByTheirKey)
{
    const CString strTwoTests = L"P_Station_count: 6\nP_Completed_Tests: 2\n"
                                L"P_Data_pt_0: -1 0 0.1 0 0 0.1 0 END\nP_Data_pt_1: 1 50 50 90 800 0.3 2 END\n"
                                L"P_Data_pt_2: -1 0 0.1 0 0 0.1 0 END\nP_Data_pt_3: -1 0 0.1 0 0 0.1 0 END\n"
                                L"P_Data_pt_4: 2 25 25 60 500 0.3 2 END\nP_Data_pt_5: -1 0 0.1 0 0 0.1 0 END\n";
    const CString strManualCgsb = L"Build_Standard: C\nBuild_Test_Method: M\nP_Station_count: 3\n"
                                  L"P_Data_pt_0: -1 0 0.3 0 0 0.05 0 END\nP_Data_pt_1: 1 50 50 90 800 0.3 2 END\n"
                                  L"P_Data_pt_2: 2 25 25 60 500 0.3 2 END\n";
    struct Case {
        const char* pszName;
        CString strText;
        const wchar_t* pszKey;  // "" when sound
    };
    const Case cases[] = {
        {"two closed tests", strTwoTests, L""},
        {"no section at all", L"Build_Standard: C\n", L""},
        {"station count 129", L"D_Station_count: 129\n", L"D_Station_count:"},
        {"station count -1", L"Station_count: -1\n", L"Station_count:"},
        {"completed tests 33", L"D_Completed_Tests: 33\n", L"D_Completed_Tests:"},
        {"completed tests -1 in the older key", L"P_Complete_test: -1\n", L"P_Complete_test:"},
        {"more tests than markers close",
         L"P_Station_count: 6\nP_Completed_Tests: 3\n" + strTwoTests.Mid(strTwoTests.Find(L"P_Data")),
         L"P_Completed_Tests:"},
        {"ring 6", strTwoTests + L"P_Data_pt_6: 6 0 0 0 0 0 0 END\n", L""},  // beyond the count: not read
        {"ring -2 within the count", L"P_Station_count: 1\nP_Data_pt_0: -2 0 0 0 0 0 0 END\n", L"P_Data_pt_0:"},
        {"ring 6 within the count", L"P_Station_count: 1\nP_Data_pt_0: 6 0 0 0 0 0 0 END\n", L"P_Data_pt_0:"},
        {"entry missing within the count", L"P_Station_count: 2\nP_Data_pt_0: -1 0 0 0 0 0 0 END\n",
         L"P_Data_pt_1:"},
        {"manual CGSB, one test without its closing marker", strManualCgsb + L"P_Completed_Tests: 1\n", L""},
        {"manual CGSB claiming two tests", strManualCgsb + L"P_Completed_Tests: 2\n", L"P_Completed_Tests:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CKeyedText text;
        text = c.strText;
        EXPECT_EQ(CString(c.pszKey), CTestGraph1::FindDamagedTestData(text));
    }
}

// A number that is not finite reads as 0 wherever the section holds one.
TEST_F(TestDataSection, NumbersThatAreNotFiniteReadAsZero)
{
    Use(1, 1, L'A');
    ReadBack(L"P_Station_count: 3\nP_Completed_Tests: 1\n"
             L"P_Pretest_InTemp_OutTemp_BarPr_for_Test_1: nan inf 1e999\n"
             L"P_Baseline_Plus_Minus_for_Test_1: -inf nan 0.5 -1e999 \n"
             L"P_Data_pt_0: -1 0 nan 0 0 inf 0 END\n"
             L"P_Data_pt_1: 1 -inf 1e999 nan 2950 -nan 21 END\n"
             L"P_Data_pt_2: -1 0 0.35 0 0 0.11 0 END\n",
             0);
    ASSERT_EQ(3, S().m_StationCount[0]);
    const double values[] = {S().m_Pavg[0][0],   S().m_PStdDev[0][0],          S().m_TargetP[0][1],
                             S().m_Pavg[0][1],   S().m_Pfan[0][1],             S().m_PStdDev[0][1],
                             S().m_TestTin[0][0][0], S().m_TestTout[0][0][0],  S().m_TestPbaro[0][0][0],
                             S().m_TestBaselinePlusPre[0][0], S().m_TestBaselineMinusPre[0][0],
                             S().m_TestBaselineMinusPost[0][0]};
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(0.0, values[i]) << i;
    EXPECT_DOUBLE_EQ(2950.0, S().m_Qavg[0][1]);
    EXPECT_DOUBLE_EQ(0.5, S().m_TestBaselinePlusPost[0][0]);
}

// Older files have no per-test environment lines. The reader takes the old
// keys when the file has them; otherwise the standard's environment page
// asks for each test, and the technician types the values and clicks OK.
// The depressurization tests are read while pressurization is current, so
// the values must reach the test asked for, not the page's current one.
TEST_F(TestDataSection, OlderFilesTakeTheOldKeysOrAskForEachTestsEnvironment)
{
    using Typed = std::vector<std::pair<int, const wchar_t*>>;
    struct Case {
        const char* pszName;
        int nStandard;
        const wchar_t* pszOldKeys;  // nullptr: none, the page asks
        int nSource;                // the pressure source clicked, 0: none
        Typed typed;                // field, text; "#" becomes the test number
        // Of the first test, pre- and post-test; the second test's typed
        // values are one higher (one lower below 0).
        double dTin[2], dTout[2], dBaro;
        double dAltitude;           // < 0: the pressure comes from this altitude
    };
    const Case cases[] = {
        {"CGSB, old keys", 0, L"Inside_Temp: 20.5\nOutside_Temp: 4.5\nBarometric_Pressure: 99000\n", 0, {},
         {20.5, 20.5}, {4.5, 4.5}, 99000.0, 0.0},
        {"CGSB, asked", 0, nullptr, 0, {{IDC_ENV_INDOOR, L"2#"}, {IDC_ENV_OUTDOOR, L"-#"}},
         {21.0, 21.0}, {-1.0, -1.0}, 0.0, 0.0},
        {"EN 13829, old keys, typed pressure", 1,
         L"Inside_Temp: 19\nOutside_Temp: 7\nBarometric_Pressure_Source: 1\nBarometric_Pressure: 98500\n", 0, {},
         {19.0, 19.0}, {7.0, 7.0}, 98500.0, 0.0},
        {"ISO 9972, old keys, standard pressure", 3,
         L"Inside_Temp: 19\nOutside_Temp: 7\nBarometric_Pressure_Source: 0\nBarometric_Pressure: 98500\n", 0, {},
         {19.0, 19.0}, {7.0, 7.0}, 101325.0, 0.0},
        {"EN 13829, old keys, pressure from the altitude", 1,
         L"Inside_Temp: 19\nOutside_Temp: 7\nBarometric_Pressure_Source: 2\nAltitude: 300\n", 0, {},
         {19.0, 19.0}, {7.0, 7.0}, 0.0, -300.0},
        {"EN 13829, asked", 1, nullptr, IDC_ENV_SOURCE_PRESSURE,
         {{IDC_ENV_INDOOR, L"2#"}, {IDC_ENV_OUTDOOR, L"#"}, {IDC_ENV_PRESSURE, L"9850#"}},
         {21.0, 21.0}, {1.0, 1.0}, 98501.0, 0.0},
        {"ISO 9972, asked", 3, nullptr, IDC_ENV_SOURCE_STANDARD, {{IDC_ENV_INDOOR, L"2#"}, {IDC_ENV_OUTDOOR, L"#"}},
         {21.0, 21.0}, {1.0, 1.0}, 101325.0, 0.0},
        {"ASTM E779, asked", 2, nullptr, 0,
         {{IDC_ENV_PRE_INDOOR, L"2#"}, {IDC_ENV_PRE_OUTDOOR, L"#"}, {IDC_ENV_POST_INDOOR, L"3#"},
          {IDC_ENV_POST_OUTDOOR, L"1#"}, {IDC_ENV_ALTITUDE, L"35#"}},
         {21.0, 31.0}, {1.0, 11.0}, 0.0, -351.0},
    };
    CString strData = L"D_Station_count: 6\nD_Completed_Tests: 2\n";
    for (int i = 0; i < 6; ++i)
        strData += CString::FormatText(L"D_Data_pt_%d: %d 0 -0.2 0 0 0.1 0 END\n", i, i % 3 == 1 ? 1 : -1);
    const int nSavedDirection = g_nCurrentDirection;
    g_nCurrentDirection = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        Use(c.nStandard, 1, L'A');
        CTestAnswerer answerer;
        CScopedAnswerer scoped(answerer);
        CDialogDriver drivers[2];
        std::wstring listed[2];  // the test the page shows it asks for
        if (c.pszOldKeys == nullptr) {
            const UINT nTemplate = c.nStandard == 0   ? IDD_TEMPERATURE_ENTRY
                                   : c.nStandard == 2 ? IDD_TEMPERATURE_ALTITUDE
                                                      : IDD_TEMPERATURE_BAROMETRIC;
            for (int t = 0; t < 2; ++t) {
                std::vector<CDialogDriver::Step> steps;
                steps.push_back([&listed, &c, t](HWND h) {
                    listed[t] = WindowText(::GetDlgItem(h, IDC_ENV_TEST_LIST));
                    if (t == 0)
                        SaveScreenshot(h, CString::FormatText(L"older-file-environment-%d.png", c.nStandard).GetString());
                });
                if (c.nSource != 0)
                    steps.push_back([&c](HWND h) { ClickItem(h, c.nSource); });
                for (const auto& [nField, pszText] : c.typed) {
                    std::wstring text = pszText;
                    text.back() = static_cast<wchar_t>(L'1' + t);
                    steps.push_back([nField, text](HWND h) { TypeInto(h, nField, text.c_str()); });
                }
                steps.push_back([](HWND h) { ClickItem(h, IDOK); });
                answerer.RunDialog(nTemplate, drivers[t].Run(std::move(steps)));
            }
        }
        // The page's record of each test: the one typed for, and another.
        auto indoorText = [this, &c](int d, int t) -> CString& {
            if (c.nStandard == 0)
                return m_pView->m_pTemperature->m_strTestIndoorTemp[d][t];
            if (c.nStandard == 2)
                return m_pView->m_pTempAltitude->m_strTestPretestIndoorTemp[d][t];
            return m_pView->m_pTempBaro->m_strTestIndoorTemp[d][t];
        };
        indoorText(0, 0) = L"15";
        ReadBack(CString(c.pszOldKeys != nullptr ? c.pszOldKeys : L"") + strData, 1);
        EXPECT_EQ(CString(L"15"), indoorText(0, 0));
        if (c.pszOldKeys == nullptr) {
            EXPECT_EQ(L"Depressurization Test 1", listed[0]);
            EXPECT_EQ(L"Depressurization Test 2", listed[1]);
            EXPECT_EQ(CString(L"21"), indoorText(1, 0));
            EXPECT_EQ(CString(L"22"), indoorText(1, 1));
        }
        EXPECT_TRUE(answerer.AllRepliesUsed());
        EXPECT_TRUE(answerer.programMessages.empty());
        ASSERT_EQ(2, S().m_CompletedTests[1]);
        for (int t = 0; t < 2; ++t) {
            SCOPED_TRACE(t);
            // Typed values end in the test number; the old keys serve every test.
            const double dTyped = c.pszOldKeys == nullptr ? t : 0.0;
            for (int nPhase = 0; nPhase < 2; ++nPhase) {
                EXPECT_DOUBLE_EQ(c.dTin[nPhase] + dTyped, S().m_TestTin[nPhase][1][t]) << nPhase;
                const double dTout = c.dTout[nPhase] < 0.0 ? c.dTout[nPhase] - dTyped : c.dTout[nPhase] + dTyped;
                EXPECT_DOUBLE_EQ(dTout, S().m_TestTout[nPhase][1][t]) << nPhase;
            }
            if (c.dAltitude < 0.0) {
                const double dAltitude = -c.dAltitude + dTyped;
                EXPECT_NEAR(m_pView->m_pMath->BarometricPressureFromAltitude(m_pView->m_nBuildingUnit, dAltitude),
                            S().m_TestPbaro[0][1][t], 1e-6);
                if (c.nStandard == 2) {
                    EXPECT_DOUBLE_EQ(dAltitude, S().m_TestAltitude[1][t]);
                }
            } else {
                const double dBaro = c.dBaro + (c.nSource == IDC_ENV_SOURCE_PRESSURE ? dTyped : 0.0);
                EXPECT_DOUBLE_EQ(dBaro, S().m_TestPbaro[0][1][t]);
            }
        }
    }
    g_nCurrentDirection = nSavedDirection;
}

// ---------------------------------------------------------------------------
// Connected devices.

TEST_F(TestDataSection, DeviceKeysCarryTheAuxiliaryPrefix)
{
    EXPECT_EQ(CString(L"Micromanometer_Model:"), CTestGraph1::MakeAuxKey(0, L"Micromanometer_Model:"));
    EXPECT_EQ(CString(L"Aux2_Micromanometer_Model:"), CTestGraph1::MakeAuxKey(2, L"Micromanometer_Model:"));
    const wchar_t* const kGaugeKeys[12] = {
        L"PrA_Pos_C1_Calibration:", L"PrA_Pos_C2_Calibration:", L"PrA_Pos_C3_Calibration:",
        L"PrA_Neg_C1_Calibration:", L"PrA_Neg_C2_Calibration:", L"PrA_Neg_C3_Calibration:",
        L"PrB_Pos_C1_Calibration:", L"PrB_Pos_C2_Calibration:", L"PrB_Pos_C3_Calibration:",
        L"PrB_Neg_C1_Calibration:", L"PrB_Neg_C2_Calibration:", L"PrB_Neg_C3_Calibration:"};
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(CString(kGaugeKeys[c]), CTestGraph1::MakeGaugeCalibrationKey(c, 0));
        EXPECT_EQ(CString(L"Aux1_") + kGaugeKeys[c], CTestGraph1::MakeGaugeCalibrationKey(c, 1));
    }
    EXPECT_EQ(CString(L"Aux2_Pr#3_HiRange_Calibration:"), CTestGraph1::MakeChannelCalibrationKey(0, 1, 3, 2));
    EXPECT_EQ(CString(L"Pr#0_LoRange_Calibration:"), CTestGraph1::MakeChannelCalibrationKey(0, 0, 0, 0));
    EXPECT_EQ(CString(L"Aux1_Analog_HiRange_Calibration:"), CTestGraph1::MakeChannelCalibrationKey(1, 1, 5, 1));
    EXPECT_EQ(CString(L"Analog_LoRange_Calibration:"), CTestGraph1::MakeChannelCalibrationKey(1, 0, 0, 0));
}

namespace {
// A link as identification leaves it; its display texts are its own.
void MakeGauge(CQarCommunications* pLink, const wchar_t* pszModel, int nSerial, int bRq80)
{
    pLink->m_bTextsFormatted = 0;
    pLink->m_bConnected = 1;
    pLink->m_bGauge = 1;
    pLink->m_bRQ80 = bRq80;
    pLink->m_strModel = pszModel;
    pLink->m_nSerial = nSerial;
    pLink->m_nChannelCount = 2;
    pLink->m_nTypeCode = 2;
    pLink->m_dBattery = 8.75;
    pLink->m_nFirmware = 14;
    pLink->m_strCalDateLocale = L"05.07.2018";
    pLink->m_strCalDateNumeric = L"20180705";
    for (int c = 0; c < 12; ++c)
        pLink->m_fConstants[c] = 0.5f + c;
}
void MakeBox(CQarCommunications* pLink, int nChannels)
{
    pLink->m_bTextsFormatted = 0;
    pLink->m_bConnected = 1;
    pLink->m_bGauge = 0;
    pLink->m_nChannelCount = static_cast<short>(nChannels);
    pLink->m_nBoxSerial = 4711;
    pLink->m_dReferenceVolts = 12.5;
    pLink->m_dBoxGain[0] = 1.25;
    pLink->m_dBoxGain[1] = 2.5;
    pLink->m_strCalDateNumeric = L"20190102";
    for (int k = 0; k < 8; ++k) {
        pLink->m_Channels[k].m_dGain[0] = 10.0 + k;
        pLink->m_Channels[k].m_dGain[1] = 20.0 + k;
    }
}
}  // namespace

TEST_F(TestDataSection, CapturedGaugesAndBoxesAreWrittenWithTheirKeys)
{
    MakeGauge(m_pView->m_pLink[0], L"RQ80", 1234, 1);
    MakeBox(m_pView->m_pLink[1], 3);
    S().m_DevicesInUse = 2;
    S().CaptureDeviceInfo();
    EXPECT_EQ(2, S().m_DevicesCaptured);
    EXPECT_EQ(CString(L"RQ80"), S().m_DeviceInfo[0].m_strText[0]);
    EXPECT_EQ(CString(L"1234"), S().m_DeviceInfo[0].m_strText[1]);

    const std::wstring text = S().WriteDeviceInfo().str();
    const std::wstring expectedGauge = L"Micromanometer_Model: RQ80\nMicromanometer_Serial_Number: 1234\n"
                                       L"Micromanometer_Custom_Calibration_Date_QAR_Univ: 20180705\n"
                                       L"Micromanometer_Custom_Calibration_Date_Local: 05/07/2018\n"
                                       L"Pr_Channels: 2\nDevice_Type: 2\nBattery_Voltage: 8.75 Volts\n"
                                       L"Firmware_Version: 14\nPrA_Pos_C1_Calibration: 0.500000\n"
                                       L"PrA_Pos_C2_Calibration: 1.500000e+00\n";
    EXPECT_EQ(0u, text.find(expectedGauge)) << CString(text.c_str()).ToAnsi();
    EXPECT_NE(std::wstring::npos, text.find(L"\nPrB_Neg_C3_Calibration: 1.150000e+01\nAux1_Micromanometer_Model: LZT8\n"));
    EXPECT_NE(std::wstring::npos,
              text.find(L"Aux1_Device_Type: 1\nAux1_Measured_DcVolt: 12.50 Volts\n"
                        L"Aux1_Analog_LoRange_Calibration: 2.500000\nAux1_Analog_HiRange_Calibration: 1.250000\n"
                        L"Aux1_Pr#0_LoRange_Calibration: 20.000000\nAux1_Pr#0_HiRange_Calibration: 10.000000\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"Aux1_Pr#2_HiRange_Calibration: 12.000000\n"));
    EXPECT_EQ(std::wstring::npos, text.find(L"Aux1_Pr#3_"));

    // Read back in the reader's own date form (the file's local date is not
    // used), under two short-date forms in turn.
    wchar_t szSaved[80] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, szSaved, 80);
    m_pSettings->m_chMethodLetter[1] = L'A';
    for (const wchar_t* pszForm : {L"yyyy-MM-dd", L"d/M/yyyy"}) {
        ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pszForm));
        m_pView->m_strFileText = CString(text.c_str());
        for (CDeviceInfoStrings& info : S().m_DeviceInfo)
            info.Reset();
        EXPECT_EQ(2, S().ReadDeviceInfo(1));
        EXPECT_EQ(CString(pszForm[0] == L'y' ? L"2018-07-05" : L"5/7/2018"), S().m_DeviceInfo[0].m_strText[2]);
        EXPECT_EQ(CString(L"0.500000"), S().m_DeviceInfo[0].m_strText[8]);
        EXPECT_EQ(CString(L"1.150000e+01"), S().m_DeviceInfo[0].m_strText[19]);
        EXPECT_EQ(CString(L"12.50 Volts"), S().m_DeviceInfo[1].m_strText[7]);
        EXPECT_EQ(CString(L"12.000000"), S().m_DeviceInfo[1].m_strText[27]);
        EXPECT_TRUE(S().m_DeviceInfo[1].m_strText[28].IsEmpty());
    }
    ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, szSaved);
    // A manual direction reads no devices.
    m_pSettings->m_chMethodLetter[1] = L'M';
    EXPECT_EQ(0, S().ReadDeviceInfo(1));
}

TEST_F(TestDataSection, BrokenIdentitiesEndTheDeviceSection)
{
    struct Case {
        const wchar_t* modelSerial;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"RQ40", L""},
        {L"-RQ40", L""},
        {L"RQ40 - ", L"Micromanometer_Model: RQ40\nMicromanometer_Serial_Number: \n"
                     L"Micromanometer_Custom_Calibration_Date_QAR_Univ: 20180705\n"
                     L"Micromanometer_Custom_Calibration_Date_Local: 05/07/2018\n"
                     L"Aux1_Micromanometer_Model: RQ40\nAux1_Micromanometer_Serial_Number: 2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.modelSerial).ToAnsi());
        MakeGauge(m_pView->m_pLink[0], L"RQ40", 1, 0);
        MakeGauge(m_pView->m_pLink[1], L"RQ40", 2, 0);
        m_pView->m_pLink[0]->FormatDeviceInfo();
        m_pView->m_pLink[0]->m_strModelSerial = c.modelSerial;
        S().m_DevicesInUse = 2;
        S().CaptureDeviceInfo();
        const std::wstring text = S().WriteDeviceInfo().str();
        if (*c.expected == 0)
            EXPECT_TRUE(text.empty()) << CString(text.c_str()).ToAnsi();
        else
            EXPECT_EQ(0u, text.find(c.expected)) << CString(text.c_str()).ToAnsi();
    }
}

TEST_F(TestDataSection, DamagedDeviceDatesAndChannelCountsStayInBounds)
{
    m_pSettings->m_chMethodLetter[0] = L'A';
    m_pView->m_strFileText = CString(L"Micromanometer_Model: LZT8\nMicromanometer_Serial_Number: 9\n"
                                     L"Micromanometer_Custom_Calibration_Date_QAR_Univ: 2019x102\n"
                                     L"Pr_Channels: 4000\nPr#7_HiRange_Calibration: 7.5\n");
    EXPECT_EQ(1, S().ReadDeviceInfo(0));
    EXPECT_TRUE(S().m_DeviceInfo[0].m_strText[2].IsEmpty());
    EXPECT_EQ(CString(L"2019x102"), S().m_DeviceInfo[0].m_strText[3]);
    EXPECT_EQ(CString(L"7.5"), S().m_DeviceInfo[0].m_strText[37]);
    S().m_DevicesCaptured = 1;
    const std::wstring text = S().WriteDeviceInfo().str();
    EXPECT_NE(std::wstring::npos, text.find(L"Micromanometer_Custom_Calibration_Date_QAR_Univ: 2019x102\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"Pr#7_HiRange_Calibration: 7.5\n"));
    EXPECT_EQ(std::wstring::npos, text.find(L"Pr#8_"));
}
