// The environment records of CGSB, EN 13829/ISO 9972 and ASTM E779: their
// per-test lines, the readers' key fallbacks, the copy into the store of
// measured data, the complete-value rules, and round trips.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "calc/QarMathFunctions.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr int kPre = 0;
constexpr int kPost = 1;

class EnvironmentRecordTest : public ::testing::Test {
protected:
    EnvironmentRecordTest() : m_view(L"environment-record") {}
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        m_view->m_bNewFormatFile = 1;
    }
    void TearDown() override { g_nCurrentDirection = m_nSavedDirection; }

    CTemperatureEntryDialog& Cgsb() const { return *m_view->m_pTemperature; }
    CTemperatureAndBarometricPressure& Baro() const { return *m_view->m_pTempBaro; }
    CTemperatureAndAltitudeEntry& Astm() const { return *m_view->m_pTempAltitude; }
    CTestGraph1& Store() const { return *m_view->m_pTestGraph; }

    void SetFile(const CString& strText, int nTestsP, int nTestsD) const
    {
        m_view->m_strFileText = strText;
        Store().m_CompletedTests[0] = nTestsP;
        Store().m_CompletedTests[1] = nTestsD;
    }

    CTestView m_view;
    int m_nSavedDirection = 1;
};

// The lines of one test: per-test keys, CR LF, empty texts as empty values,
// the pressure source as its digit; nothing at all without an indoor text.
TEST_F(EnvironmentRecordTest, WritesPerTestLines)
{
    Cgsb().m_strTestIndoorTemp[0][2] = L"21.5";
    EXPECT_EQ(Cgsb().WriteToFile(0, 2).str(),
              L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_3: 21.5\r\n"
              L"P_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_3: \r\n");

    Baro().m_strTestIndoorTemp[1][0] = L"20";
    Baro().m_strTestOutdoorTemp[1][0] = L"-3";
    Baro().m_strTestAltitude[1][0] = L"300";
    Baro().m_nTestPressureSource[1][0] = 2;
    EXPECT_EQ(Baro().WriteToFile(1, 0).str(),
              L"D_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 20\r\n"
              L"D_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_1: -3\r\n"
              L"D_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_1: 2\r\n"
              L"D_Manual_Entry_Pretest_Barometric_Pressure_for_Test_1: \r\n"
              L"D_Manual_Entry_Altitude_for_Test_1: 300\r\n");

    Astm().m_strTestPretestIndoorTemp[0][31] = L"68";
    Astm().m_strTestPretestOutdoorTemp[0][31] = L"50";
    Astm().m_strTestPosttestIndoorTemp[0][31] = L"69";
    Astm().m_strTestPosttestOutdoorTemp[0][31] = L"49";
    Astm().m_strTestAltitude[0][31] = L"1000";
    EXPECT_EQ(Astm().WriteToFile(0, 31).str(),
              L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_32: 68\r\n"
              L"P_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_32: 50\r\n"
              L"P_Manual_Entry_Posttest_Indoor_Temperature_for_Test_32: 69\r\n"
              L"P_Manual_Entry_Posttest_Outdoor_Temperature_for_Test_32: 49\r\n"
              L"P_Manual_Entry_Altitude_for_Test_32: 1000\r\n");

    // An outdoor text alone writes nothing; neither does a test out of range.
    Cgsb().m_strTestOutdoorTemp[1][4] = L"5";
    Baro().m_strTestOutdoorTemp[1][4] = L"5";
    Baro().m_nTestPressureSource[1][4] = 1;
    Astm().m_strTestPretestOutdoorTemp[1][4] = L"5";
    Astm().m_strTestAltitude[1][4] = L"5";
    EXPECT_TRUE(Cgsb().WriteToFile(1, 4).IsEmpty());
    EXPECT_TRUE(Baro().WriteToFile(1, 4).IsEmpty());
    EXPECT_TRUE(Astm().WriteToFile(1, 4).IsEmpty());
    EXPECT_TRUE(Cgsb().WriteToFile(0, 32).IsEmpty());
    EXPECT_TRUE(Astm().WriteToFile(2, 0).IsEmpty());
}

// New-format files: the per-test key, else the direction key.
TEST_F(EnvironmentRecordTest, NewFormatFallsBackToTheDirectionKey)
{
    SetFile(L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 20\n"
            L"P_Manual_Entry_Pretest_Indoor_Temperature: 18\n"
            L"P_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_2: 4\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_Source: 1\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure: 99000\n"
            L"Inside_Temp: 68\n",
            3, 0);
    Baro().ReadFromFile();
    EXPECT_EQ(Baro().m_strTestIndoorTemp[0][0].str(), L"20");
    EXPECT_EQ(Baro().m_strTestIndoorTemp[0][1].str(), L"18");
    EXPECT_EQ(Baro().m_strTestIndoorTemp[0][2].str(), L"18");
    EXPECT_EQ(Baro().m_strTestOutdoorTemp[0][1].str(), L"4");
    EXPECT_TRUE(Baro().m_strTestOutdoorTemp[0][0].IsEmpty());
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(Baro().m_nTestPressureSource[0][t], 1);
        EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPre][0][t], 99000.0);
    }
    // The old key is never looked at in a new-format file, nor a slot
    // without completed tests.
    EXPECT_TRUE(Baro().m_strTestIndoorTemp[1][0].IsEmpty());
}

// Older files: the unprefixed keys, the same for every test of both slots.
// The ASTM record has no old keys and always takes the prefixed ones.
TEST_F(EnvironmentRecordTest, OlderFilesUseTheOldKeys)
{
    const CString strText = L"Inside_Temp: 68\nOutside_Temp: 30\nBarometric_Pressure_Source: 1\n"
                            L"Barometric_Pressure: 100500\nAltitude: 250\n"
                            L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 99\n"
                            L"D_Manual_Entry_Altitude: 400\n";
    m_view->m_bNewFormatFile = 0;
    SetFile(strText, 2, 3);
    Cgsb().ReadFromFile();
    Baro().ReadFromFile();
    Astm().ReadFromFile();
    for (int d = 0; d < 2; ++d) {
        for (int t = 0; t < Store().m_CompletedTests[d]; ++t) {
            SCOPED_TRACE(d * 100 + t);
            EXPECT_EQ(Cgsb().m_strTestIndoorTemp[d][t].str(), L"68");
            EXPECT_EQ(Cgsb().m_strTestOutdoorTemp[d][t].str(), L"30");
            EXPECT_EQ(Baro().m_strTestIndoorTemp[d][t].str(), L"68");
            EXPECT_EQ(Baro().m_nTestPressureSource[d][t], 1);
            EXPECT_EQ(Baro().m_strTestBaroPressure[d][t].str(), L"100500");
            EXPECT_EQ(Baro().m_strTestAltitude[d][t].str(), L"250");
            EXPECT_EQ(Astm().m_strTestAltitude[d][t].str(), d == 1 ? L"400" : L"");
        }
    }
    EXPECT_EQ(Astm().m_strTestPretestIndoorTemp[0][0].str(), L"99");
    EXPECT_TRUE(Astm().m_strTestPretestIndoorTemp[1][0].IsEmpty());
    EXPECT_TRUE(Cgsb().m_strTestIndoorTemp[0][2].IsEmpty());
}

// CGSB: a typed text gives the store its number; a test without keys shows
// the store's value with one decimal.
TEST_F(EnvironmentRecordTest, CgsbCopiesIntoTheStoreOrFromIt)
{
    Store().m_TestTin[kPre][1][0] = 99.0;
    Store().m_TestTin[kPre][1][1] = 21.26;
    Store().m_TestTout[kPre][1][1] = -4.0;
    SetFile(L"D_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 22.5\n"
            L"D_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_1: 1,5\n",
            0, 2);
    Cgsb().ReadFromFile();
    EXPECT_DOUBLE_EQ(Store().m_TestTin[kPre][1][0], 22.5);
    EXPECT_DOUBLE_EQ(Store().m_TestTout[kPre][1][0], 1.0);
    EXPECT_EQ(Cgsb().m_strTestOutdoorTemp[1][0].str(), L"1,5");
    EXPECT_EQ(Cgsb().m_strTestIndoorTemp[1][1].str(), L"21.3");
    EXPECT_EQ(Cgsb().m_strTestOutdoorTemp[1][1].str(), L"-4.0");
    EXPECT_DOUBLE_EQ(Store().m_TestTin[kPre][1][1], 21.26);
}

// EN/ISO: the pre-test pressure by source, only a digit 0 to 2 changes the
// source, and the altitude stays out of the store.
TEST_F(EnvironmentRecordTest, EnIsoPressureBySource)
{
    m_view->m_nBuildingUnit = 1;
    const double dFromAltitude = m_view->m_pMath->BarometricPressureFromAltitude(1, 300.0);
    SetFile(L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 20\n"
            L"P_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_1: 5\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_1: 0\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_for_Test_1: 95000\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_2: 1\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_for_Test_2: 95000\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_3: 2\n"
            L"P_Manual_Entry_Altitude_for_Test_3: 300\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_4: 7\n"
            L"P_Manual_Entry_Pretest_Barometric_Pressure_for_Test_4: 97000\n",
            4, 0);
    Baro().m_nTestPressureSource[0][3] = 1;
    Store().m_TestAltitude[0][2] = -1.0;
    Baro().ReadFromFile();
    EXPECT_DOUBLE_EQ(Store().m_TestTin[kPre][0][0], 20.0);
    EXPECT_DOUBLE_EQ(Store().m_TestTout[kPre][0][0], 5.0);
    EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPre][0][0], 101325.0);
    EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPre][0][1], 95000.0);
    EXPECT_EQ(Baro().m_nTestPressureSource[0][2], 2);
    EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPre][0][2], dFromAltitude);
    EXPECT_LT(dFromAltitude, 101325.0);
    EXPECT_DOUBLE_EQ(Store().m_TestAltitude[0][2], -1.0);
    // "7" is no source: the one held stays.
    EXPECT_EQ(Baro().m_nTestPressureSource[0][3], 1);
    EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPre][0][3], 97000.0);
}

// ASTM: five numbers into the store, both pressures from the altitude.
TEST_F(EnvironmentRecordTest, AstmCopiesTemperaturesAndAltitude)
{
    m_view->m_nBuildingUnit = 0;
    SetFile(L"D_Manual_Entry_Pretest_Indoor_Temperature_for_Test_2: 70\n"
            L"D_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_2: 40\n"
            L"D_Manual_Entry_Posttest_Indoor_Temperature_for_Test_2: 71\n"
            L"D_Manual_Entry_Posttest_Outdoor_Temperature_for_Test_2: 39\n"
            L"D_Manual_Entry_Altitude_for_Test_2: 1000\n",
            0, 2);
    Astm().ReadFromFile();
    const double dPressure = m_view->m_pMath->BarometricPressureFromAltitude(0, 1000.0);
    EXPECT_DOUBLE_EQ(Store().m_TestTin[kPre][1][1], 70.0);
    EXPECT_DOUBLE_EQ(Store().m_TestTout[kPre][1][1], 40.0);
    EXPECT_DOUBLE_EQ(Store().m_TestTin[kPost][1][1], 71.0);
    EXPECT_DOUBLE_EQ(Store().m_TestTout[kPost][1][1], 39.0);
    EXPECT_DOUBLE_EQ(Store().m_TestAltitude[1][1], 1000.0);
    EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPre][1][1], dPressure);
    EXPECT_DOUBLE_EQ(Store().m_TestPbaro[kPost][1][1], dPressure);
    EXPECT_NEAR(dPressure, 97777.6, 0.05);
}

// After reading, the current texts are those of test 0 of the current
// direction.
TEST_F(EnvironmentRecordTest, CurrentTextsFollowTheCurrentDirection)
{
    const CString strText = L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 10\n"
                            L"D_Manual_Entry_Pretest_Indoor_Temperature_for_Test_1: 20\n"
                            L"D_Manual_Entry_Pretest_Indoor_Temperature_for_Test_2: 30\n"
                            L"P_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_1: 2\n"
                            L"D_Manual_Entry_Pretest_Barometric_Pressure_Source_for_Test_1: 1\n"
                            L"P_Manual_Entry_Altitude_for_Test_1: 5\n";
    for (const int nDirection : {0, 1}) {
        SCOPED_TRACE(nDirection);
        g_nCurrentDirection = nDirection;
        SetFile(strText, 1, 2);
        Cgsb().ReadFromFile();
        Baro().ReadFromFile();
        Astm().ReadFromFile();
        const wchar_t* pszExpected = nDirection == 0 ? L"10" : L"20";
        EXPECT_EQ(Cgsb().m_strIndoorTemp.str(), pszExpected);
        EXPECT_EQ(Baro().m_strIndoorTemp.str(), pszExpected);
        EXPECT_EQ(Baro().m_nPressureSource, nDirection == 0 ? 2 : 1);
        EXPECT_EQ(Baro().m_strAltitude.str(), nDirection == 0 ? L"5" : L"");
        EXPECT_EQ(Astm().m_strPretestIndoorTemp.str(), pszExpected);
        EXPECT_EQ(Astm().m_strAltitude.str(), nDirection == 0 ? L"5" : L"");
    }
}

// A count beyond the records, or below 0, reads only what they hold.
TEST_F(EnvironmentRecordTest, ReadingNeverPassesTheLastTest)
{
    CString strText;
    for (int t = 0; t < 40; ++t) {
        CString strLine;
        strLine.Format(L"P_Manual_Entry_Pretest_Indoor_Temperature_for_Test_%d: %d\n", t + 1, t + 1);
        strText += strLine;
    }
    SetFile(strText, 40, -5);
    Cgsb().ReadFromFile();
    Baro().ReadFromFile();
    Astm().ReadFromFile();
    EXPECT_EQ(Cgsb().m_strTestIndoorTemp[0][31].str(), L"32");
    EXPECT_EQ(Baro().m_strTestIndoorTemp[0][31].str(), L"32");
    EXPECT_EQ(Astm().m_strTestPretestIndoorTemp[0][31].str(), L"32");
    EXPECT_TRUE(Cgsb().m_strTestIndoorTemp[1][0].IsEmpty());
}

// The complete-value rules over the three records and the ASTM stages,
// on the current texts and on test 0 of a slot.
TEST_F(EnvironmentRecordTest, CompleteValueRules)
{
    const struct {
        const wchar_t* pszIndoor;
        const wchar_t* pszOutdoor;
        int bCgsb;
    } cgsbCases[] = {{L"20", L"5", 1}, {L"", L"5", 0}, {L"20", L"", 0}};
    for (const auto& c : cgsbCases) {
        Cgsb().m_strIndoorTemp = c.pszIndoor;
        Cgsb().m_strOutdoorTemp = c.pszOutdoor;
        Cgsb().m_strTestIndoorTemp[1][0] = c.pszIndoor;
        Cgsb().m_strTestOutdoorTemp[1][0] = c.pszOutdoor;
        EXPECT_EQ(Cgsb().HasRequiredValues(), c.bCgsb);
        EXPECT_EQ(Cgsb().HasTestValues(1), c.bCgsb);
        EXPECT_EQ(Cgsb().HasTestValues(0), 0);
    }

    const struct {
        int nSource;
        const wchar_t* pszPressure;
        const wchar_t* pszAltitude;
        const wchar_t* pszOutdoor;
        int bComplete;
    } baroCases[] = {
        {0, L"", L"", L"5", 1},      {1, L"", L"300", L"5", 0}, {1, L"98000", L"", L"5", 1},
        {2, L"98000", L"", L"5", 0}, {2, L"", L"300", L"5", 1}, {0, L"", L"", L"", 0},
    };
    for (const auto& c : baroCases) {
        SCOPED_TRACE(c.nSource);
        Baro().m_strIndoorTemp = L"20";
        Baro().m_strOutdoorTemp = c.pszOutdoor;
        Baro().m_nPressureSource = c.nSource;
        Baro().m_strBaroPressure = c.pszPressure;
        Baro().m_strAltitude = c.pszAltitude;
        Baro().m_strTestIndoorTemp[0][0] = L"20";
        Baro().m_strTestOutdoorTemp[0][0] = c.pszOutdoor;
        Baro().m_nTestPressureSource[0][0] = c.nSource;
        Baro().m_strTestBaroPressure[0][0] = c.pszPressure;
        Baro().m_strTestAltitude[0][0] = c.pszAltitude;
        EXPECT_EQ(Baro().HasRequiredValues(), c.bComplete);
        EXPECT_EQ(Baro().HasTestValues(0), c.bComplete);
    }

    const struct {
        int nStage;
        const wchar_t* pszAltitude;
        const wchar_t* pszPostIndoor;
        int bComplete;
    } astmCases[] = {
        {1, L"100", L"", 1}, {2, L"100", L"", 0}, {3, L"100", L"", 0},
        {3, L"100", L"70", 1}, {2, L"100", L"70", 1}, {1, L"", L"70", 0},
    };
    for (const auto& c : astmCases) {
        SCOPED_TRACE(c.nStage);
        Astm().m_strPretestIndoorTemp = L"68";
        Astm().m_strPretestOutdoorTemp = L"50";
        Astm().m_strPosttestIndoorTemp = c.pszPostIndoor;
        Astm().m_strPosttestOutdoorTemp = L"49";
        Astm().m_strAltitude = c.pszAltitude;
        Astm().m_strTestPretestIndoorTemp[1][0] = L"68";
        Astm().m_strTestPretestOutdoorTemp[1][0] = L"50";
        Astm().m_strTestPosttestIndoorTemp[1][0] = c.pszPostIndoor;
        Astm().m_strTestPosttestOutdoorTemp[1][0] = L"49";
        Astm().m_strTestAltitude[1][0] = c.pszAltitude;
        EXPECT_EQ(Astm().HasRequiredValues(c.nStage), c.bComplete);
        EXPECT_EQ(Astm().HasTestValues(c.nStage, 1), c.bComplete);
    }
}

// Clearing a test or a slot; on the EN/ISO record the source goes back to
// the standard pressure.
TEST_F(EnvironmentRecordTest, ClearingTestsAndSlots)
{
    Baro().m_strTestIndoorTemp[0][3] = L"20";
    Baro().m_nTestPressureSource[0][3] = 2;
    Baro().m_strTestIndoorTemp[0][4] = L"21";
    Baro().m_strTestIndoorTemp[1][3] = L"22";
    Baro().ClearTestValues(0, 3);
    EXPECT_TRUE(Baro().m_strTestIndoorTemp[0][3].IsEmpty());
    EXPECT_EQ(Baro().m_nTestPressureSource[0][3], 0);
    EXPECT_EQ(Baro().m_strTestIndoorTemp[0][4].str(), L"21");

    Baro().m_strIndoorTemp = L"20";
    Baro().m_nPressureSource = 1;
    Baro().ClearDirection(0);
    EXPECT_TRUE(Baro().m_strIndoorTemp.IsEmpty());
    EXPECT_EQ(Baro().m_nPressureSource, 0);
    EXPECT_TRUE(Baro().m_strTestIndoorTemp[0][4].IsEmpty());
    EXPECT_EQ(Baro().m_strTestIndoorTemp[1][3].str(), L"22");

    Astm().m_strPosttestIndoorTemp = L"70";
    Astm().m_strTestAltitude[1][31] = L"5";
    Astm().ClearDirection(1);
    EXPECT_TRUE(Astm().m_strPosttestIndoorTemp.IsEmpty());
    EXPECT_TRUE(Astm().m_strTestAltitude[1][31].IsEmpty());
}

// Parsing the current pressure and altitude, and the pressure by source.
TEST_F(EnvironmentRecordTest, PressureAndAltitudeNumbers)
{
    Baro().m_strBaroPressure = L"98,500";
    Baro().m_strAltitude = L"1,000";
    Baro().ParsePressureAndAltitude(0);
    EXPECT_EQ(Baro().m_strBaroPressure.str(), L"98500");
    EXPECT_DOUBLE_EQ(Baro().m_dBaroPressure, 0.0);
    Baro().m_bAltitudeEdited = 1;
    Baro().ParsePressureAndAltitude(0);
    EXPECT_DOUBLE_EQ(Baro().m_dAltitude, 1000.0);
    EXPECT_EQ(Baro().m_bAltitudeEdited, 0);
    Baro().ParsePressureAndAltitude(1);
    EXPECT_DOUBLE_EQ(Baro().m_dBaroPressure, 98500.0);

    m_view->m_nBuildingUnit = 1;
    Baro().m_nPressureSource = 0;
    EXPECT_DOUBLE_EQ(Baro().ComputeBarometricPressure(), 101325.0);
    Baro().m_nPressureSource = 1;
    EXPECT_DOUBLE_EQ(Baro().ComputeBarometricPressure(), 98500.0);
    Baro().m_nPressureSource = 2;
    EXPECT_NEAR(Baro().ComputeBarometricPressure(), 90061.8, 0.05);
    EXPECT_DOUBLE_EQ(Baro().m_dBaroPressure, m_view->m_pMath->BarometricPressureFromAltitude(1, 1000.0));
}

// Each record written and read back after clearing both slots gives the
// same texts for every test whose (pre-test) indoor text is set.
TEST_F(EnvironmentRecordTest, RoundTrips)
{
    // The text of one field of (d, t); some empty, to be written as empty values.
    auto text = [](const wchar_t* pszTag, int d, int t, bool bEmpty = false) {
        CString str;
        if (!bEmpty)
            str.Format(L"%s%d.%d", pszTag, d, t);
        return str;
    };
    const int nTests[2] = {5, 32};
    auto isSet = [](int t) { return t % 3 != 1; };
    auto fill = [&](int d, int t) {
        Cgsb().m_strTestIndoorTemp[d][t] = text(L"1", d, t);
        Cgsb().m_strTestOutdoorTemp[d][t] = text(L"-", d, t);
        Baro().m_strTestIndoorTemp[d][t] = text(L"2", d, t);
        Baro().m_strTestOutdoorTemp[d][t] = text(L"3", d, t);
        Baro().m_nTestPressureSource[d][t] = t % 3;
        Baro().m_strTestBaroPressure[d][t] = text(L"9", d, t, t % 2 == 0);
        Baro().m_strTestAltitude[d][t] = text(L"4", d, t);
        Astm().m_strTestPretestIndoorTemp[d][t] = text(L"5", d, t);
        Astm().m_strTestPretestOutdoorTemp[d][t] = text(L"6", d, t);
        Astm().m_strTestPosttestIndoorTemp[d][t] = text(L"7", d, t, t % 2 == 1);
        Astm().m_strTestPosttestOutdoorTemp[d][t] = text(L"8", d, t);
        Astm().m_strTestAltitude[d][t] = text(L"9", d, t);
    };
    for (int d = 0; d < 2; ++d)
        for (int t = 0; t < nTests[d]; ++t)
            if (isSet(t))
                fill(d, t);

    // The records share key names: each goes through a file of its own.
    CString strFile[3];
    for (int d = 0; d < 2; ++d) {
        for (int t = 0; t < nTests[d]; ++t) {
            strFile[0] += Cgsb().WriteToFile(d, t);
            strFile[1] += Baro().WriteToFile(d, t);
            strFile[2] += Astm().WriteToFile(d, t);
        }
    }
    for (int d = 0; d < 2; ++d) {
        Cgsb().ClearDirection(d);
        Baro().ClearDirection(d);
        Astm().ClearDirection(d);
    }
    SetFile(strFile[0], nTests[0], nTests[1]);
    Cgsb().ReadFromFile();
    SetFile(strFile[1], nTests[0], nTests[1]);
    Baro().ReadFromFile();
    SetFile(strFile[2], nTests[0], nTests[1]);
    Astm().ReadFromFile();
    for (int d = 0; d < 2; ++d) {
        for (int t = 0; t < nTests[d]; ++t) {
            if (!isSet(t))
                continue;
            SCOPED_TRACE(d * 100 + t);
            EXPECT_EQ(Cgsb().m_strTestIndoorTemp[d][t].str(), text(L"1", d, t).str());
            EXPECT_EQ(Cgsb().m_strTestOutdoorTemp[d][t].str(), text(L"-", d, t).str());
            EXPECT_EQ(Baro().m_strTestIndoorTemp[d][t].str(), text(L"2", d, t).str());
            EXPECT_EQ(Baro().m_strTestOutdoorTemp[d][t].str(), text(L"3", d, t).str());
            EXPECT_EQ(Baro().m_nTestPressureSource[d][t], t % 3);
            EXPECT_EQ(Baro().m_strTestBaroPressure[d][t].str(), text(L"9", d, t, t % 2 == 0).str());
            EXPECT_EQ(Baro().m_strTestAltitude[d][t].str(), text(L"4", d, t).str());
            EXPECT_EQ(Astm().m_strTestPretestIndoorTemp[d][t].str(), text(L"5", d, t).str());
            EXPECT_EQ(Astm().m_strTestPretestOutdoorTemp[d][t].str(), text(L"6", d, t).str());
            EXPECT_EQ(Astm().m_strTestPosttestIndoorTemp[d][t].str(), text(L"7", d, t, t % 2 == 1).str());
            EXPECT_EQ(Astm().m_strTestPosttestOutdoorTemp[d][t].str(), text(L"8", d, t).str());
            EXPECT_EQ(Astm().m_strTestAltitude[d][t].str(), text(L"9", d, t).str());
        }
    }
}

}  // namespace
