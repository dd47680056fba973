// Units of measure: names, factors and labels of each unit, the default
// units file, the units section of test files, and the conversion of the
// stored values when the user changes units.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"

namespace {

const double kM3hPerCfm = 1.6990107955200004;

std::string Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string Narrow(const CString& s)
{
    return s.ToAnsi();
}

// A view built as the program builds it, over a fresh per-user data folder.
class UnitsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedRoot = g_strUserDataRoot;
        m_nSavedDirection = g_nCurrentDirection;
        g_strUserDataRoot = MakeTempFolder(L"unitsroot").c_str();
        g_nCurrentDirection = 0;
        m_pView = new CSimbrel1View;
        m_defaultsPath = std::wstring(m_pView->m_strDataFolder.GetString()) + L"DefaultUnits.dat";
    }
    void TearDown() override
    {
        delete m_pView;
        g_strUserDataRoot = m_savedRoot;
        g_nCurrentDirection = m_nSavedDirection;
    }
    void SetUnits(int nFlow, int nBuilding, int nLeakage, int nTemperature)
    {
        m_pView->m_nFlowUnit = nFlow;
        m_pView->m_nBuildingUnit = nBuilding;
        m_pView->m_nLeakageUnit = nLeakage;
        m_pView->m_nTemperatureUnit = nTemperature;
        m_pView->ApplyUnits();
    }
    void ExpectUnits(int nFlow, int nBuilding, int nLeakage, int nTemperature) const
    {
        EXPECT_EQ(m_pView->m_nFlowUnit, nFlow);
        EXPECT_EQ(m_pView->m_nBuildingUnit, nBuilding);
        EXPECT_EQ(m_pView->m_nLeakageUnit, nLeakage);
        EXPECT_EQ(m_pView->m_nTemperatureUnit, nTemperature);
    }

    CSimbrel1View* m_pView = nullptr;
    std::wstring m_defaultsPath;
    CString m_savedRoot;
    int m_nSavedDirection = 0;
};

}  // namespace

TEST_F(UnitsTest, EachIndexHasItsNameFactorAndBuildingLabels)
{
    struct FlowCase {
        int nIndex;
        int nExpected;
        const wchar_t* name;
        double dFactor;
    };
    const FlowCase flows[] = {{0, 0, L"cfm", 1.0},
                              {1, 1, L"m³/h", 1.6990107955200004},
                              {2, 2, L"l/s", 0.4719474432000001},
                              {3, 0, L"cfm", 1.0},   // outside the table: the first unit
                              {-1, 0, L"cfm", 1.0}};
    for (const FlowCase& c : flows) {
        SetUnits(c.nIndex, 0, 0, 0);
        EXPECT_EQ(m_pView->m_strFlowUnitName[0].str(), c.name) << c.nIndex;
        EXPECT_EQ(m_pView->m_strFlowUnitName[1].str(), c.name) << c.nIndex;
        EXPECT_EQ(m_pView->m_dFlowFactor, c.dFactor) << c.nIndex;
        EXPECT_EQ(m_pView->m_nFlowUnit, c.nExpected) << c.nIndex;
    }

    struct OtherCase {
        int nIndex;
        const wchar_t* building;
        double dBuildingFactor;
        const wchar_t* area;
        const wchar_t* volume;
        const wchar_t* leakage;
        double dLeakageFactor;
        const wchar_t* temperature;
    };
    const OtherCase others[] = {
        {0, L"ft", 1.0, L"ft²", L"ft³", L"in", 1.0, L"F"},
        {1, L"m", 0.3048, L"m²", L"m³", L"cm", 0.39370078740157477, L"C"},
        {2, L"ft", 1.0, L"ft²", L"ft³", L"in", 1.0, L"F"},
    };
    for (const OtherCase& c : others) {
        SetUnits(0, c.nIndex, c.nIndex, c.nIndex);
        for (int d = 0; d < 2; ++d) {
            EXPECT_EQ(m_pView->m_strBuildingUnitName[d].str(), c.building);
            EXPECT_EQ(m_pView->m_strLeakageUnitName[d].str(), c.leakage);
            EXPECT_EQ(m_pView->m_strTemperatureUnitName[d].str(), c.temperature);
        }
        EXPECT_EQ(m_pView->m_dBuildingFactor, c.dBuildingFactor);
        EXPECT_EQ(m_pView->m_dLeakageFactor, c.dLeakageFactor);
        const CBuildingInfoDialog& page = *m_pView->m_pBuildingInfo;
        EXPECT_EQ(page.m_strLengthUnit.str(), c.building);
        EXPECT_EQ(page.m_strFloorAreaUnit.str(), c.area);
        EXPECT_EQ(page.m_strSurfaceAreaUnit.str(), c.area);
        EXPECT_EQ(page.m_strVolumeUnit.str(), c.volume);
    }
}

TEST_F(UnitsTest, NamesChooseUnitsByTheirFirstCharacter)
{
    struct Case {
        const wchar_t* flow;
        const wchar_t* building;
        const wchar_t* leakage;
        const wchar_t* temperature;
        int expected[4];
    };
    const Case cases[] = {
        {L"cfm", L"ft", L"in", L"F", {0, 0, 0, 0}},
        {L"m³/h", L"m", L"cm", L"C", {1, 1, 1, 1}},
        {L"l/s", L"meters", L"centimetres", L"Celsius", {2, 1, 1, 1}},
        {L"L/s", L"M", L"CM", L"c", {0, 0, 0, 0}},   // case counts: no match
        {L"cubic metres", L"feet", L"inches", L"Fahrenheit", {0, 0, 0, 0}},
        {L"", L"", L"", L"", {0, 0, 0, 0}},
        {L"gallons", L"yards", L"mm", L"K", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        // Something else before, so that each index is really set.
        SetUnits(2, 1, 1, 1);
        m_pView->m_nPrevFlowUnit = 2;
        m_pView->SetUnitsFromNames(c.flow, c.building, c.leakage, c.temperature);
        ExpectUnits(c.expected[0], c.expected[1], c.expected[2], c.expected[3]);
        // Nothing is pending conversion afterwards.
        EXPECT_EQ(m_pView->m_nPrevFlowUnit, c.expected[0]);
        EXPECT_EQ(m_pView->m_nPrevBuildingUnit, c.expected[1]);
        EXPECT_EQ(m_pView->m_nPrevLeakageUnit, c.expected[2]);
        EXPECT_EQ(m_pView->m_nPrevTemperatureUnit, c.expected[3]);
        EXPECT_EQ(m_pView->m_dPrevFlowFactor, m_pView->m_dFlowFactor);
        EXPECT_EQ(m_pView->m_dPrevBuildingFactor, m_pView->m_dBuildingFactor);
    }
}

TEST(UnitConversion, TemperatureAndAltitudeTexts)
{
    struct Case {
        bool bTemperature;
        int bToMetric;
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {true, 1, L"68", L"20.0"},
        {true, 0, L"20", L"68.0"},
        {true, 1, L"41", L" 5.0"},        // "%4.1f" keeps its width
        {true, 1, L"-40", L"-40.0"},
        {true, 1, L"0", L"-17.8"},
        {true, 1, L"abc", L"-17.8"},      // not a number: taken as 0
        {true, 1, L"72.5 F", L"22.5"},
        {true, 1, L"", L""},              // left empty by the user: stays empty
        {true, 0, L"", L""},
        {true, 1, L"  ", L"  "},
        {false, 1, L"1000", L"304.8"},
        {false, 0, L"304.8", L"1000.0"},
        {false, 1, L"", L""},
        {false, 0, L"", L""},
    };
    for (const Case& c : cases) {
        CString strText = c.text;
        if (c.bTemperature)
            CSimbrel1View::ConvertTemperatureText(c.bToMetric, strText);
        else
            CSimbrel1View::ConvertAltitudeText(c.bToMetric, strText);
        EXPECT_EQ(strText.str(), c.expected) << Narrow(CString(c.text));
    }

    double dValue = 212.0;
    CSimbrel1View::ConvertFahrenheitToCelsius(dValue);
    EXPECT_NEAR(dValue, 100.0, 1e-12);
    CSimbrel1View::ConvertCelsiusToFahrenheit(dValue);
    EXPECT_NEAR(dValue, 212.0, 1e-12);
}

TEST_F(UnitsTest, TemperaturesOfCompletedTestsOnlyAreConverted)
{
    CTestGraph1& graph = *m_pView->m_pTestGraph;
    graph.m_CompletedTests[0] = 1;
    graph.m_CompletedTests[1] = 2;
    for (int nStandard = 0; nStandard < 4; ++nStandard) {
        m_pView->m_pSettings->m_nStandard = nStandard;
        CTemperatureEntryDialog& cgsb = *m_pView->m_pTemperature;
        CTemperatureAndBarometricPressure& baro = *m_pView->m_pTempBaro;
        CTemperatureAndAltitudeEntry& astm = *m_pView->m_pTempAltitude;
        for (int d = 0; d < 2; ++d) {
            for (int t = 0; t < 3; ++t) {
                graph.m_TestTin[0][d][t] = graph.m_TestTin[1][d][t] = 68.0;
                graph.m_TestTout[0][d][t] = graph.m_TestTout[1][d][t] = 32.0;
                for (CString* pText : {&cgsb.m_strTestIndoorTemp[d][t], &cgsb.m_strTestOutdoorTemp[d][t],
                                       &baro.m_strTestIndoorTemp[d][t], &baro.m_strTestOutdoorTemp[d][t],
                                       &astm.m_strTestPretestIndoorTemp[d][t],
                                       &astm.m_strTestPretestOutdoorTemp[d][t],
                                       &astm.m_strTestPosttestIndoorTemp[d][t],
                                       &astm.m_strTestPosttestOutdoorTemp[d][t]})
                    *pText = L"68";
            }
        }
        // An outdoor text left empty stays empty.
        baro.m_strTestOutdoorTemp[1][1].Empty();
        cgsb.m_strTestOutdoorTemp[1][1].Empty();
        astm.m_strTestPosttestOutdoorTemp[1][1].Empty();

        m_pView->ConvertStoredTemperatures(1);

        // Slot 0 has one completed test, slot 1 two; test 2 of slot 1 and
        // test 1 of slot 0 are not completed. Indexes: pre/post, slot, test.
        EXPECT_NEAR(graph.m_TestTin[0][0][0], 20.0, 1e-9);
        EXPECT_NEAR(graph.m_TestTin[1][0][0], 20.0, 1e-9);
        EXPECT_NEAR(graph.m_TestTout[1][1][1], 0.0, 1e-9);
        EXPECT_NEAR(graph.m_TestTout[0][1][1], 0.0, 1e-9);
        EXPECT_EQ(graph.m_TestTin[0][0][1], 68.0);
        EXPECT_EQ(graph.m_TestTin[1][0][1], 68.0);
        EXPECT_EQ(graph.m_TestTin[0][1][2], 68.0);

        const bool bCgsb = nStandard == 0;
        const bool bBaro = nStandard == 1 || nStandard == 3;
        const bool bAstm = nStandard == 2;
        auto expect = [](bool bConverted) { return std::wstring(bConverted ? L"20.0" : L"68"); };
        for (int d = 0; d < 2; ++d) {
            for (int t = 0; t < 3; ++t) {
                const bool bCompleted = t < graph.m_CompletedTests[d];
                EXPECT_EQ(cgsb.m_strTestIndoorTemp[d][t].str(), expect(bCompleted && bCgsb)) << nStandard;
                EXPECT_EQ(baro.m_strTestIndoorTemp[d][t].str(), expect(bCompleted && bBaro)) << nStandard;
                EXPECT_EQ(astm.m_strTestPretestIndoorTemp[d][t].str(), expect(bCompleted && bAstm)) << nStandard;
                EXPECT_EQ(astm.m_strTestPosttestIndoorTemp[d][t].str(), expect(bCompleted && bAstm)) << nStandard;
            }
        }
        EXPECT_EQ(baro.m_strTestOutdoorTemp[1][1].str(), L"");
        EXPECT_EQ(cgsb.m_strTestOutdoorTemp[1][1].str(), L"");
        EXPECT_EQ(astm.m_strTestPosttestOutdoorTemp[1][1].str(), L"");
        EXPECT_EQ(astm.m_strTestPretestOutdoorTemp[1][1].str(), expect(bAstm));
    }

    // Back to Fahrenheit.
    m_pView->m_pSettings->m_nStandard = 1;
    m_pView->m_pTempBaro->m_strTestIndoorTemp[0][0] = L"20.0";
    graph.m_TestTin[0][0][0] = 20.0;
    m_pView->ConvertStoredTemperatures(0);
    EXPECT_EQ(m_pView->m_pTempBaro->m_strTestIndoorTemp[0][0].str(), L"68.0");
    EXPECT_NEAR(graph.m_TestTin[0][0][0], 68.0, 1e-9);
}

TEST_F(UnitsTest, AltitudesOfCompletedTestsAreConverted)
{
    CTestGraph1& graph = *m_pView->m_pTestGraph;
    graph.m_CompletedTests[0] = 1;
    graph.m_CompletedTests[1] = 0;
    for (int nStandard = 0; nStandard < 4; ++nStandard) {
        m_pView->m_pSettings->m_nStandard = nStandard;
        for (int t = 0; t < 2; ++t) {
            graph.m_TestAltitude[0][t] = 1000.0;
            m_pView->m_pTempBaro->m_strTestAltitude[0][t] = L"1000";
            m_pView->m_pTempAltitude->m_strTestAltitude[0][t] = L"1000";
        }
        m_pView->m_pTempAltitude->m_strTestAltitude[1][0] = L"1000";

        m_pView->ConvertStoredAltitudes(1);
        EXPECT_NEAR(graph.m_TestAltitude[0][0], 304.8, 1e-9);
        EXPECT_EQ(graph.m_TestAltitude[0][1], 1000.0);
        const bool bBaro = nStandard == 1 || nStandard == 3;
        EXPECT_EQ(m_pView->m_pTempBaro->m_strTestAltitude[0][0].str(), bBaro ? L"304.8" : L"1000") << nStandard;
        EXPECT_EQ(m_pView->m_pTempAltitude->m_strTestAltitude[0][0].str(), nStandard == 2 ? L"304.8" : L"1000");
        EXPECT_EQ(m_pView->m_pTempBaro->m_strTestAltitude[0][1].str(), L"1000");
        EXPECT_EQ(m_pView->m_pTempAltitude->m_strTestAltitude[1][0].str(), L"1000");

        m_pView->ConvertStoredAltitudes(0);
        EXPECT_NEAR(graph.m_TestAltitude[0][0], 1000.0, 1e-9);
    }
}

TEST_F(UnitsTest, DefaultUnitsFileRoundTrip)
{
    SetUnits(1, 1, 1, 1);
    g_nCurrentDirection = 1;
    m_pView->WriteDefaultUnitsFile();
    const std::wstring expected = L"Default Units\r\n"
                                  L"Flow_Units: m³/h\n"
                                  L"Building_Dimension_Units: m\n"
                                  L"Leakage_Dimension_Units: cm\n"
                                  L"Temperature_Units: C\n";
    EXPECT_EQ(ReadBytes(m_defaultsPath), Utf16(expected));   // no byte-order mark

    SetUnits(0, 0, 0, 0);
    m_pView->m_nPrevBuildingUnit = 0;
    m_pView->ReadDefaultUnitsFile();
    ExpectUnits(1, 1, 1, 1);
    EXPECT_EQ(m_pView->m_nPrevFlowUnit, 1);
    EXPECT_EQ(m_pView->m_nPrevBuildingUnit, 1);
    EXPECT_EQ(m_pView->m_dPrevFlowFactor, kM3hPerCfm);
    EXPECT_EQ(m_pView->m_dPrevBuildingFactor, 0.3048);
    // The defaults text is the loaded text until a file is opened.
    EXPECT_EQ(m_pView->m_strFileText.str(), expected);

    // The names of the current direction's slot are written.
    m_pView->m_strFlowUnitName[0] = L"cfm";
    m_pView->m_strFlowUnitName[1] = L"l/s";
    m_pView->WriteDefaultUnitsFile();
    EXPECT_NE(ReadBytes(m_defaultsPath).find(Utf16(L"Flow_Units: l/s\n")), std::string::npos);
    g_nCurrentDirection = 0;
    m_pView->WriteDefaultUnitsFile();
    EXPECT_NE(ReadBytes(m_defaultsPath).find(Utf16(L"Flow_Units: cfm\n")), std::string::npos);
}

TEST_F(UnitsTest, DamagedDefaultUnitsFilesFallBackPerValue)
{
    const std::string full = Utf16(L"Default Units\r\nFlow_Units: l/s\nBuilding_Dimension_Units: m\n"
                                   L"Leakage_Dimension_Units: cm\nTemperature_Units: C\n");
    struct Case {
        const char* name;
        std::string bytes;
        int expected[4];
    };
    const Case cases[] = {
        {"whole file", full, {2, 1, 1, 1}},
        {"odd length: the last byte is dropped", full + "X", {2, 1, 1, 1}},
        {"cut inside the last line break", full.substr(0, full.size() - 1), {2, 1, 1, 0}},
        {"cut before the last line break", full.substr(0, full.size() - 2), {2, 1, 1, 0}},
        {"cut after the building line", full.substr(0, 2 * (15 + 16 + 28)), {2, 1, 0, 0}},
        {"cut inside a key", full.substr(0, 2 * (15 + 16 + 10)), {2, 0, 0, 0}},
        {"empty", "", {0, 0, 0, 0}},
        {"one byte", "F", {0, 0, 0, 0}},
        {"8-bit text", "Default Units\r\nFlow_Units: l/s\nBuilding_Dimension_Units: m\n", {0, 0, 0, 0}},
        {"CR LF line ends", Utf16(L"Default Units\r\nFlow_Units: l/s\r\nTemperature_Units: C\r\n"), {2, 0, 0, 1}},
        {"binary", std::string("\xff\xfe\x00\xd8\x41\x00\x0a", 7), {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteBytes(m_defaultsPath, c.bytes));
        SetUnits(2, 1, 1, 1);
        m_pView->ReadDefaultUnitsFile();
        SCOPED_TRACE(c.name);
        ExpectUnits(c.expected[0], c.expected[1], c.expected[2], c.expected[3]);
    }

    // No file: the units stay as they are.
    ::DeleteFileW(m_defaultsPath.c_str());
    SetUnits(2, 1, 0, 1);
    m_pView->m_strFileText = L"Flow_Units: cfm\n";
    m_pView->ReadDefaultUnitsFile();
    ExpectUnits(2, 1, 0, 1);
    EXPECT_EQ(m_pView->m_strFileText.str(), L"Flow_Units: cfm\n");
}

TEST_F(UnitsTest, DefaultUnitsThatCannotBeWrittenAreReported)
{
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    ASSERT_TRUE(WriteBytes(m_defaultsPath, Utf16(L"Default Units\r\nFlow_Units: l/s\n")));

    // A failing disk: the message names the file; the chosen units stay.
    {
        CScopedFileFailure failure(CFile::FailWritesAfter(0));
        answerer.ReplyToMessage(IDOK, L"DefaultUnits.dat");
        m_pView->ChangeUnits(1, 1, 0, 0, 1, 0);
    }
    ASSERT_EQ(answerer.messages.size(), 1u);
    ExpectUnits(1, 1, 0, 0);
    EXPECT_EQ(m_pView->m_strFlowUnitName[0].str(), L"m³/h");

    // A data folder that is gone.
    m_pView->m_strDataFolder += L"missing\\";
    answerer.ReplyToMessage(IDOK, L"DefaultUnits.dat");
    m_pView->WriteDefaultUnitsFile();
    EXPECT_EQ(answerer.messages.size(), 2u);
    EXPECT_TRUE(answerer.AllRepliesUsed());
}

TEST_F(UnitsTest, UnitsSectionRoundTrip)
{
    SetUnits(2, 1, 1, 1);
    const CString strKeys = m_pView->WriteUnitsKeys(0);
    EXPECT_EQ(strKeys.str(), L"Flow_Units: l/s\nBuilding_Dimension_Units: m\n"
                             L"Leakage_Dimension_Units: cm\nTemperature_Units: C\n");

    // The keys carry no prefix in either layout, and land in the slot read.
    const CString strFile = L"QARSEAL_Vudadar_Version: 5.1.1.0\n\nTEST UNITS INFO\n" + strKeys +
                            L"\nPRESSURIZATION TEST DATA\nP_Completed_Tests: 1\n";
    for (int bNewFormat = 0; bNewFormat < 2; ++bNewFormat) {
        for (int d = 0; d < 2; ++d) {
            SetUnits(0, 0, 0, 0);
            m_pView->m_bNewFormatFile = bNewFormat;
            m_pView->m_strFileText = strFile;
            m_pView->ReadUnitsKeys(d);
            ExpectUnits(2, 1, 1, 1);
            EXPECT_EQ(m_pView->m_nPrevFlowUnit, 2);
            EXPECT_EQ(m_pView->m_strFlowUnitName[d].str(), L"l/s");
            EXPECT_EQ(m_pView->WriteUnitsKeys(d).str(), strKeys.str());
        }
    }

    // A file without the keys (or with prefixed ones only) opens in cfm, ft, in and F.
    SetUnits(2, 1, 1, 1);
    m_pView->m_strFileText = L"QARSEAL_Version: 3.0.0.0\nP_Flow_Units: l/s\nD_Temperature_Units: C\n";
    m_pView->ReadUnitsKeys(1);
    ExpectUnits(0, 0, 0, 0);

    // Each slot writes its own names.
    m_pView->m_strTemperatureUnitName[0] = L"F";
    m_pView->m_strTemperatureUnitName[1] = L"C";
    EXPECT_NE(m_pView->WriteUnitsKeys(0).Find(L"Temperature_Units: F\n"), -1);
    EXPECT_NE(m_pView->WriteUnitsKeys(1).Find(L"Temperature_Units: C\n"), -1);
}

TEST_F(UnitsTest, DirectionConvertedWhenOnlyOneIsConcerned)
{
    struct Case {
        int nPress;
        int nDepress;
        int nCurrent;
        int expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0}, {0, 0, 1, 1}, {2, 0, 1, 0}, {0, 3, 0, 1}, {1, 1, 0, 0}, {1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        m_pView->m_pTestGraph->m_CompletedTests[0] = c.nPress;
        m_pView->m_pTestGraph->m_CompletedTests[1] = c.nDepress;
        g_nCurrentDirection = c.nCurrent;
        EXPECT_EQ(m_pView->GetUnitsDirection(), c.expected) << c.nPress << c.nDepress << c.nCurrent;
    }
}

TEST_F(UnitsTest, ChangingUnitsConvertsTheStoredValues)
{
    CTestGraph1& graph = *m_pView->m_pTestGraph;
    m_pView->m_pSettings->m_nStandard = 1;
    SetUnits(0, 0, 0, 0);
    m_pView->SetUnitsFromNames(L"cfm", L"ft", L"in", L"F");
    graph.m_CompletedTests[1] = 1;
    graph.m_StationCount[1] = 4;
    for (int i = 0; i < 4; ++i)
        graph.m_Qavg[1][i] = 100.0 * (i + 1);
    graph.m_TestTin[0][1][0] = 68.0;
    graph.m_TestAltitude[1][0] = 1000.0;
    m_pView->m_pTempBaro->m_strTestIndoorTemp[1][0] = L"68";
    m_pView->m_pTempBaro->m_strTestIndoorTemp[1][1] = L"68";   // a test not yet run
    m_pView->m_pTempBaro->m_strTestAltitude[1][0] = L"1000";

    // Flow only.
    m_pView->ChangeUnits(1, 0, 0, 0, 0, m_pView->GetUnitsDirection());
    EXPECT_DOUBLE_EQ(graph.m_Qavg[1][0], 100.0 * kM3hPerCfm);
    EXPECT_DOUBLE_EQ(graph.m_Qavg[1][3], 400.0 * kM3hPerCfm);
    EXPECT_EQ(m_pView->m_nPrevFlowUnit, 1);
    EXPECT_EQ(m_pView->m_dPrevFlowFactor, kM3hPerCfm);
    EXPECT_EQ(graph.m_TestTin[0][1][0], 68.0);
    EXPECT_EQ(graph.m_TestAltitude[1][0], 1000.0);

    // And back: the flows are where they were.
    m_pView->ChangeUnits(0, 0, 0, 0, 0, m_pView->GetUnitsDirection());
    EXPECT_NEAR(graph.m_Qavg[1][0], 100.0, 1e-9);
    EXPECT_NEAR(graph.m_Qavg[1][3], 400.0, 1e-9);

    // Temperature, building and leakage at once; the flows stay.
    m_pView->ChangeUnits(0, 1, 1, 1, 0, m_pView->GetUnitsDirection());
    EXPECT_NEAR(graph.m_Qavg[1][0], 100.0, 1e-9);
    EXPECT_NEAR(graph.m_TestTin[0][1][0], 20.0, 1e-9);
    EXPECT_EQ(m_pView->m_pTempBaro->m_strTestIndoorTemp[1][0].str(), L"20.0");
    EXPECT_EQ(m_pView->m_pTempBaro->m_strTestIndoorTemp[1][1].str(), L"68");
    EXPECT_NEAR(graph.m_TestAltitude[1][0], 304.8, 1e-9);
    EXPECT_EQ(m_pView->m_pTempBaro->m_strTestAltitude[1][0].str(), L"304.8");
    EXPECT_EQ(m_pView->m_nPrevTemperatureUnit, 1);
    EXPECT_EQ(m_pView->m_nPrevBuildingUnit, 1);
    EXPECT_EQ(m_pView->m_dPrevBuildingFactor, 0.3048);
    EXPECT_EQ(m_pView->m_nPrevLeakageUnit, 1);
    EXPECT_EQ(m_pView->m_pBuildingInfo->m_strVolumeUnit.str(), L"m³");

    // The same choice again converts nothing.
    m_pView->ChangeUnits(0, 1, 1, 1, 0, m_pView->GetUnitsDirection());
    EXPECT_NEAR(graph.m_TestTin[0][1][0], 20.0, 1e-9);
    EXPECT_NEAR(graph.m_TestAltitude[1][0], 304.8, 1e-9);
    EXPECT_FALSE(FileExists(m_defaultsPath));

    // "Set as Defaults" with the current direction 1 writes slot 1's names.
    g_nCurrentDirection = 1;
    m_pView->ChangeUnits(2, 1, 1, 1, 1, m_pView->GetUnitsDirection());
    EXPECT_EQ(ReadBytes(m_defaultsPath), Utf16(L"Default Units\r\nFlow_Units: l/s\nBuilding_Dimension_Units: m\n"
                                               L"Leakage_Dimension_Units: cm\nTemperature_Units: C\n"));
    EXPECT_NEAR(graph.m_Qavg[1][0], 100.0 * 0.4719474432000001, 1e-9);
}
