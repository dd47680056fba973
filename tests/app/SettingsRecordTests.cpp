// The test settings record: its section of the test files in both key
// layouts, "DefaultSettings.dat", the letter and code forms of standard,
// method and direction, and the direction slots.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "testrun/TestGraph1.h"
#include "calc/FanCalibrationDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "tests/TestSupport.h"

#include <clocale>
#include <memory>
#include <string>

namespace {

// UTF-16 little-endian bytes of a text, as the defaults file holds them.
std::string Utf16Bytes(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t ch : text) {
        bytes += static_cast<char>(ch & 0xFF);
        bytes += static_cast<char>((ch >> 8) & 0xFF);
    }
    return bytes;
}

class SettingsRecordTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_savedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"kv-settings").c_str();
        s_pView = new CSimbrel1View;
    }
    static void TearDownTestSuite()
    {
        delete s_pView;
        s_pView = nullptr;
        g_strUserDataRoot = s_savedRoot;
    }

    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        s_pView->m_bNewFormatFile = 1;
        s_pView->m_strFileText.Empty();
        m_defaultsPath = std::wstring(s_pView->m_strDataFolder.GetString()) + L"DefaultSettings.dat";
        ::DeleteFileW(m_defaultsPath.c_str());
        m_pSettings = std::make_unique<CTestSettingsDialog>(s_pView);
        m_pSettings->m_pTestGraph = s_pView->m_pTestGraph;
    }
    void TearDown() override
    {
        g_nCurrentDirection = m_nSavedDirection;
        s_pView->m_strFileText.Empty();
        s_pView->m_bNewFormatFile = 1;
        s_pView->m_pTestGraph->m_CurrentRing[0] = s_pView->m_pTestGraph->m_CurrentRing[1] = 0;
        ::DeleteFileW(m_defaultsPath.c_str());
    }

    // A settings record that differs from the factory one in every member
    // the section holds.
    void SetNonFactoryValues(CTestSettingsDialog& s, int nSlot)
    {
        s.m_chStandardLetter = L'U';
        s.m_nStandard = 2;
        s.m_chMethodLetter[nSlot] = L'S';
        s.m_strTargetTolerance = L"2.5";
        s.m_strFanAdjust = L"0.75";
        s.m_strDataSamples = L"150";
        s.m_strHighPressureLimit = L"75";
        s.m_strFanStartPercent = L"12.5";
        s.m_bZonalActive = 1;
        for (int z = 3; z <= 8; ++z) {
            s.m_nZoneActive[nSlot][z] = z % 2;
            s.m_nZoneReference[nSlot][z] = z > 5 ? 1 : 0;
            s.m_strZoneName[nSlot][z] = CString::FormatText(L"Room %d", z * 11);
        }
    }

    void ReadSection(CTestSettingsDialog& s, const CString& strSection, int nSlot, const wchar_t* pszPrefix = L"")
    {
        s_pView->m_strFileText = L"Building Test File\r\nTest_Date: 20240612\n\nTEST SETTINGS INFO\n" + strSection +
                                 L"\nTEST UNITS INFO\nFlow_Units: 0\n";
        s.ReadFromFile(nSlot, pszPrefix);
    }

    static CSimbrel1View* s_pView;
    static CString s_savedRoot;
    int m_nSavedDirection = 1;
    std::wstring m_defaultsPath;
    std::unique_ptr<CTestSettingsDialog> m_pSettings;
};

CSimbrel1View* SettingsRecordTest::s_pView = nullptr;
CString SettingsRecordTest::s_savedRoot;

}  // namespace

// ---------------------------------------------------------------------------
// Letters, codes and names.

TEST_F(SettingsRecordTest, StandardCodesNamesAndLetters)
{
    struct NameCase {
        const wchar_t* name;
        int code;
    };
    for (const NameCase& c : {NameCase{L"CGSB", 0}, NameCase{L"EN 13829", 1}, NameCase{L"ASTM E779-10", 2},
                              NameCase{L"ASTM E779", 2}, NameCase{L"ISO 9972", 3}, NameCase{L"ISO 9972-15", 3},
                              NameCase{L"iso 9972", 0}, NameCase{L"EN 13829-2000", 0}, NameCase{L"ASTM E77", 0},
                              NameCase{L"", 0}, NameCase{L" ", 0}}) {
        EXPECT_EQ(c.code, CTestSettingsDialog::GetStandardCode(c.name)) << CString(c.name).ToAnsi();
    }

    CTestSettingsDialog& s = *m_pSettings;
    const wchar_t* const names[] = {L" ", L"CGSB", L"EN 13829", L"ASTM E779-10", L"ISO 9972", L" "};
    const wchar_t lettersForChoice0[] = {L'C', L'C', L'E', L'A', L'I', L'C'};
    for (int code = -1; code <= 4; ++code) {
        SCOPED_TRACE("standard code " + std::to_string(code));
        s.m_nStandard = code;
        EXPECT_EQ(CString(names[code + 1]), s.GetStandardName());
        EXPECT_EQ(lettersForChoice0[code + 1], s.GetStandardLetter(0));
        EXPECT_EQ(L'U', s.GetStandardLetter(1));
        EXPECT_EQ(L'C', s.GetStandardLetter(2));
        EXPECT_EQ(L'C', s.GetStandardLetter(-1));
        EXPECT_EQ(code == 1 || code == 3, s.IsEnOrIsoStandard());
        EXPECT_EQ(CString(code == 3 ? L"200" : L"100"), CTestSettingsDialog::GetDefaultDataSamples(code));
        // Each name reads back as its code.
        if (code >= 0 && code <= 3) {
            EXPECT_EQ(code, CTestSettingsDialog::GetStandardCode(s.GetStandardName()));
        }
    }
}

TEST_F(SettingsRecordTest, LetterForms)
{
    CTestSettingsDialog& s = *m_pSettings;
    struct ChoiceCase {
        wchar_t letter;
        int newLayout;
        int oldLayout;
    };
    for (const ChoiceCase& c : {ChoiceCase{L'U', 1, 1}, ChoiceCase{L'A', 0, 0}, ChoiceCase{L'C', 0, 0},
                                ChoiceCase{L'I', 0, 0}, ChoiceCase{L'E', 0, 1}, ChoiceCase{L'e', -1, -1},
                                ChoiceCase{L'X', -1, -1}, ChoiceCase{L'\0', -1, -1}}) {
        s_pView->m_bNewFormatFile = 1;
        EXPECT_EQ(c.newLayout, s.GetPressuresChoiceFromLetter(c.letter)) << static_cast<char>(c.letter);
        s_pView->m_bNewFormatFile = 0;
        EXPECT_EQ(c.oldLayout, s.GetPressuresChoiceFromLetter(c.letter)) << static_cast<char>(c.letter);
    }

    EXPECT_EQ(0, CTestSettingsDialog::GetMethodIndex(L'M'));
    EXPECT_EQ(1, CTestSettingsDialog::GetMethodIndex(L'A'));
    EXPECT_EQ(2, CTestSettingsDialog::GetMethodIndex(L'S'));
    EXPECT_EQ(-1, CTestSettingsDialog::GetMethodIndex(L'a'));
    EXPECT_EQ(-1, CTestSettingsDialog::GetMethodIndex(L'?'));
    EXPECT_EQ(L'M', CTestSettingsDialog::GetMethodLetter(0));
    EXPECT_EQ(L'A', CTestSettingsDialog::GetMethodLetter(1));
    EXPECT_EQ(L'S', CTestSettingsDialog::GetMethodLetter(2));
    EXPECT_EQ(L'A', CTestSettingsDialog::GetMethodLetter(3));
    EXPECT_EQ(L'A', CTestSettingsDialog::GetMethodLetter(-1));
    EXPECT_EQ(0, CTestSettingsDialog::GetDirectionIndex(L'P'));
    EXPECT_EQ(1, CTestSettingsDialog::GetDirectionIndex(L'D'));
    EXPECT_EQ(-1, CTestSettingsDialog::GetDirectionIndex(L'p'));
    EXPECT_EQ(-1, CTestSettingsDialog::GetDirectionIndex(L'X'));
    EXPECT_EQ(L'?', CTestSettingsDialog::GetFirstLetter(L""));
    EXPECT_EQ(L'D', CTestSettingsDialog::GetFirstLetter(L"Depressurize"));
}

TEST_F(SettingsRecordTest, SetStandardFromLetterKeepsTheCodeForCustomPressures)
{
    CTestSettingsDialog& s = *m_pSettings;
    struct LetterCase {
        wchar_t letter;
        int newFormat;
        int expectedStandard;
        int expectedChoice;
    };
    for (const LetterCase& c : {LetterCase{L'C', 1, 0, 0}, LetterCase{L'E', 1, 1, 0}, LetterCase{L'E', 0, 1, 1},
                                LetterCase{L'A', 1, 2, 0}, LetterCase{L'I', 1, 3, 0}, LetterCase{L'U', 1, 2, 1},
                                LetterCase{L'Q', 1, 2, -1}}) {
        s_pView->m_bNewFormatFile = c.newFormat;
        s.m_nStandard = 2;
        s.m_chStandardLetter = c.letter;
        s.m_chMethodLetter[0] = L'M';
        s.m_chMethodLetter[1] = L'S';
        s.SetStandardFromLetter(1);
        EXPECT_EQ(c.expectedStandard, s.m_nStandard) << static_cast<char>(c.letter);
        EXPECT_EQ(c.expectedChoice, s.m_nPressuresChoice) << static_cast<char>(c.letter);
        EXPECT_EQ(2, s.m_nMethodIndex);
    }
}

// ---------------------------------------------------------------------------
// Section "TEST SETTINGS INFO".

TEST_F(SettingsRecordTest, SectionLinesInOrder)
{
    CTestSettingsDialog& s = *m_pSettings;
    // Zonal pressures off: the switch and no zone lines.
    EXPECT_EQ(CString(L"Build_Standard: I\nBuild_Test_Method: A\nTarget_Tolerance: 2.0\nFan_adjust: 1.0\n"
                      L"Data_samples: 200\nBuilding_High_Pressure_Limit: 90\nFan_Start_Percent: 0.0\n"
                      L"Test_Standard_QSE: ISO 9972\nZonal_Pressures_Active: 0\n"),
              s.WriteToFile(1, L""));

    SetNonFactoryValues(s, 0);
    s.m_chMethodLetter[1] = L'M';
    const CString strSection = s.WriteToFile(0, L"");
    EXPECT_EQ(CString(L"Build_Standard: U\nBuild_Test_Method: S\nTarget_Tolerance: 2.5\nFan_adjust: 0.75\n"
                      L"Data_samples: 150\nBuilding_High_Pressure_Limit: 75\nFan_Start_Percent: 12.5\n"
                      L"Test_Standard_QSE: ASTM E779-10\nZonal_Pressures_Active: 1\n"
                      L"Zone3_Active: 1\nZone3_Name: Room 33\nZone3_Reference: 0\n"
                      L"Zone4_Active: 0\nZone4_Name: Room 44\nZone4_Reference: 0\n"
                      L"Zone5_Active: 1\nZone5_Name: Room 55\nZone5_Reference: 0\n"
                      L"Zone6_Active: 0\nZone6_Name: Room 66\nZone6_Reference: 1\n"
                      L"Zone7_Active: 1\nZone7_Name: Room 77\nZone7_Reference: 1\n"
                      L"Zone8_Active: 0\nZone8_Name: Room 88\nZone8_Reference: 1\n"),
              strSection);
    // The other slot's method letter and zones.
    EXPECT_NE(-1, s.WriteToFile(1, L"").Find(L"Build_Test_Method: M\n"));
    EXPECT_NE(-1, s.WriteToFile(1, L"").Find(L"Zone3_Name: Zone A\n"));
    // The standard's name never takes the prefix.
    const CString strPrefixed = s.WriteToFile(0, L"P_");
    EXPECT_EQ(0, strPrefixed.Find(L"P_Build_Standard: U\n"));
    EXPECT_NE(-1, strPrefixed.Find(L"\nTest_Standard_QSE: ASTM E779-10\n"));
}

TEST_F(SettingsRecordTest, SectionRoundTripInEitherSlot)
{
    for (int nSlot = 0; nSlot < 2; ++nSlot) {
        SCOPED_TRACE("slot " + std::to_string(nSlot));
        CTestSettingsDialog written(s_pView);
        SetNonFactoryValues(written, nSlot);
        CTestSettingsDialog& s = *m_pSettings;
        s.SetFactoryDefaults();
        s.m_chDirectionLetter[nSlot] = L'?';
        // The prefix the opener passes for a direction plays no part.
        ReadSection(s, written.WriteToFile(nSlot, L""), nSlot, nSlot == 0 ? L"P_" : L"D_");

        EXPECT_EQ(L'U', s.m_chStandardLetter);
        EXPECT_EQ(2, s.m_nStandard);
        EXPECT_EQ(1, s.m_nPressuresChoice);
        EXPECT_EQ(L'S', s.m_chMethodLetter[nSlot]);
        EXPECT_EQ(L'A', s.m_chMethodLetter[1 - nSlot]);
        EXPECT_EQ(2, s.m_nMethodIndex);
        EXPECT_EQ(nSlot == 0 ? L'P' : L'D', s.m_chDirectionLetter[nSlot]);
        EXPECT_EQ(CString(L"2.5"), s.m_strTargetTolerance);
        EXPECT_EQ(CString(L"0.75"), s.m_strFanAdjust);
        EXPECT_EQ(CString(L"150"), s.m_strDataSamples);
        EXPECT_EQ(CString(L"75"), s.m_strHighPressureLimit);
        EXPECT_EQ(CString(L"12.5"), s.m_strFanStartPercent);
        EXPECT_EQ(2.5, s.m_dTargetTolerance);
        EXPECT_EQ(0.75, s.m_dFanAdjust);
        EXPECT_EQ(150.0, s.m_dDataSamples);
        EXPECT_EQ(75.0, s.m_dHighPressureLimit);
        EXPECT_EQ(12.5, s.m_dFanStartPercent);
        EXPECT_EQ(1, s.m_bZonalActive);
        for (int z = 3; z <= 8; ++z) {
            EXPECT_EQ(written.m_nZoneActive[nSlot][z], s.m_nZoneActive[nSlot][z]) << z;
            EXPECT_EQ(written.m_nZoneReference[nSlot][z], s.m_nZoneReference[nSlot][z]) << z;
            EXPECT_EQ(written.m_strZoneName[nSlot][z], s.m_strZoneName[nSlot][z]) << z;
            // The other slot keeps its own zones.
            EXPECT_EQ(CString::FormatText(L"Zone %c", L'A' + z - 3), s.m_strZoneName[1 - nSlot][z]) << z;
        }
    }
}

// Each standard letter written in the current layout, read back as a file of
// either layout: the old layout knew no "U" and marked custom EN 13829
// pressures with "E", and named its standard by the letter.
TEST_F(SettingsRecordTest, StandardLetterRoundTripInBothLayouts)
{
    struct LayoutCase {
        wchar_t letter;
        int standard;  // of the written record
        int newStandard, newChoice;
        int oldStandard, oldChoice;
    };
    const LayoutCase cases[] = {
        {L'C', 0, 0, 0, 0, 0}, {L'E', 1, 1, 0, 1, 1}, {L'A', 2, 2, 0, 2, 0},
        {L'I', 3, 3, 0, 3, 0}, {L'U', 2, 2, 1, 0, 1}, {L'U', 3, 3, 1, 0, 1},
    };
    for (const LayoutCase& c : cases) {
        for (int bNewFormat = 0; bNewFormat < 2; ++bNewFormat) {
            SCOPED_TRACE(std::string("letter ") + static_cast<char>(c.letter) + " standard " +
                         std::to_string(c.standard) + (bNewFormat ? " new layout" : " old layout"));
            CTestSettingsDialog written(s_pView);
            written.m_chStandardLetter = c.letter;
            written.m_nStandard = c.standard;
            s_pView->m_bNewFormatFile = bNewFormat;
            CTestSettingsDialog& s = *m_pSettings;
            s.SetFactoryDefaults();
            ReadSection(s, written.WriteToFile(1, L""), 1);
            EXPECT_EQ(c.letter, s.m_chStandardLetter);
            EXPECT_EQ(bNewFormat ? c.newStandard : c.oldStandard, s.m_nStandard);
            EXPECT_EQ(bNewFormat ? c.newChoice : c.oldChoice, s.m_nPressuresChoice);
        }
    }
}

TEST_F(SettingsRecordTest, SectionReadingEdgeCases)
{
    struct ReadCase {
        const char* name;
        int bNewFormat;
        int recordStandard;  // the code the record holds before reading
        const wchar_t* section;
        wchar_t letter;
        int standard;
        int choice;
        const wchar_t* dataSamples;
    };
    const ReadCase cases[] = {
        {"no data samples after the opening's clearing", 1, 3,
         L"Build_Standard: C\nTest_Standard_QSE: CGSB\n", L'C', 0, 0, L"200"},
        {"no data samples with another standard held", 1, 0,
         L"Build_Standard: I\nTest_Standard_QSE: ISO 9972\n", L'I', 3, 0, L"100"},
        {"custom pressures keep the named standard", 1, 3,
         L"Build_Standard: U\nTest_Standard_QSE: ASTM E779-10\nData_samples: 80\n", L'U', 2, 1, L"80"},
        {"old layout E means custom EN 13829", 0, 3, L"Build_Standard: E\nData_samples: 100\n", L'E', 1, 1, L"100"},
        {"old layout without standard ends as CGSB", 0, 3, L"Data_samples: 100\n", L'C', 0, 0, L"100"},
        {"old layout C", 0, 3, L"Build_Standard: C\n", L'C', 0, 0, L"200"},
        {"old layout ignores the standard's name", 0, 3,
         L"Build_Standard: U\nTest_Standard_QSE: ISO 9972\n", L'U', 0, 1, L"200"},
        {"the letter decides over the name", 1, 3,
         L"Build_Standard: I\nTest_Standard_QSE: EN 13829\n", L'I', 3, 0, L"200"},
        {"a year after the name", 1, 0, L"Build_Standard: U\nTest_Standard_QSE: ISO 9972-15\n", L'U', 3, 1, L"100"},
        {"a name in small letters", 1, 3, L"Build_Standard: U\nTest_Standard_QSE: iso 9972\n", L'U', 0, 1, L"200"},
        {"no name in the new layout", 1, 3, L"Build_Standard: U\n", L'U', 0, 1, L"200"},
        {"an unknown letter", 1, 3, L"Build_Standard: Xyz\nTest_Standard_QSE: EN 13829\n", L'X', 1, -1, L"200"},
        {"an empty section", 1, 3, L"", L'C', 0, 0, L"200"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        s_pView->m_bNewFormatFile = c.bNewFormat;
        CTestSettingsDialog& s = *m_pSettings;
        s.SetFactoryDefaults();
        s.m_nStandard = c.recordStandard;
        ReadSection(s, c.section, 0);
        EXPECT_EQ(c.letter, s.m_chStandardLetter);
        EXPECT_EQ(c.standard, s.m_nStandard);
        EXPECT_EQ(c.choice, s.m_nPressuresChoice);
        EXPECT_EQ(CString(c.dataSamples), s.m_strDataSamples);
        EXPECT_EQ(CSimbrel1View::TextToDouble(c.dataSamples), s.m_dDataSamples);
    }
}

TEST_F(SettingsRecordTest, MissingKeysTakeTheirStatedValues)
{
    CTestSettingsDialog& s = *m_pSettings;
    SetNonFactoryValues(s, 1);
    s.m_dTargetTolerance = s.m_dFanAdjust = s.m_dHighPressureLimit = s.m_dFanStartPercent = -1.0;
    ReadSection(s, L"Build_Test_Method: \nZonal_Pressures_Active: on\nZone4_Active: 1\nZone4_Name:   Attic \n", 1);
    EXPECT_EQ(L'A', s.m_chMethodLetter[1]);
    EXPECT_EQ(1, s.m_nMethodIndex);
    EXPECT_EQ(CString(L"2.0"), s.m_strTargetTolerance);
    EXPECT_EQ(CString(L"1.0"), s.m_strFanAdjust);
    EXPECT_EQ(CString(L"90"), s.m_strHighPressureLimit);
    EXPECT_EQ(CString(L"0.0"), s.m_strFanStartPercent);
    EXPECT_EQ(2.0, s.m_dTargetTolerance);
    EXPECT_EQ(1.0, s.m_dFanAdjust);
    EXPECT_EQ(90.0, s.m_dHighPressureLimit);
    EXPECT_EQ(0.0, s.m_dFanStartPercent);
    // Not a number: zonal pressures off. Zones without keys: inactive, no name.
    EXPECT_EQ(0, s.m_bZonalActive);
    for (int z = 3; z <= 8; ++z) {
        EXPECT_EQ(z == 4 ? 1 : 0, s.m_nZoneActive[1][z]) << z;
        EXPECT_EQ(0, s.m_nZoneReference[1][z]) << z;
        EXPECT_EQ(CString(z == 4 ? L"Attic " : L""), s.m_strZoneName[1][z]) << z;
    }
    // An unknown method letter is kept; its index says so.
    ReadSection(s, L"Build_Test_Method: Quick\n", 1);
    EXPECT_EQ(L'Q', s.m_chMethodLetter[1]);
    EXPECT_EQ(-1, s.m_nMethodIndex);
}

TEST_F(SettingsRecordTest, AZoneNameWithALineBreakCannotBreakTheSection)
{
    CTestSettingsDialog& s = *m_pSettings;
    s.m_bZonalActive = 1;
    s.m_strZoneName[1][3] = L"Attic\r\nBuild_Standard: C";
    s.m_strTargetTolerance = L"3.5\nData_samples: 1";
    const CString strSection = s.WriteToFile(1, L"");
    EXPECT_NE(-1, strSection.Find(L"\nZone3_Name: Attic\n"));
    EXPECT_EQ(-1, strSection.Find(L"Build_Standard: C"));

    CTestSettingsDialog r(s_pView);
    ReadSection(r, strSection, 1);
    EXPECT_EQ(CString(L"Attic"), r.m_strZoneName[1][3]);
    EXPECT_EQ(CString(L"3.5"), r.m_strTargetTolerance);
    EXPECT_EQ(CString(L"200"), r.m_strDataSamples);
    EXPECT_EQ(L'I', r.m_chStandardLetter);
}

TEST_F(SettingsRecordTest, NumbersKeepTheDecimalPointUnderACommaLocale)
{
    CScopedCommaLocale commaLocale;
    if (!commaLocale.Switched())
        GTEST_SKIP() << "no German locale to switch to";
    ASSERT_STREQ(",", localeconv()->decimal_point);

    CTestSettingsDialog& s = *m_pSettings;
    s.SetFactoryDefaults();
    EXPECT_EQ(2.0, s.m_dTargetTolerance);
    s.m_strTargetTolerance = L"2.75";
    s.m_strFanAdjust = L"0.5";
    s.m_strDataSamples = L"120";
    s.m_strHighPressureLimit = L"62.5";
    s.m_strFanStartPercent = L"7.25";
    s.ParseNumericSettings();
    EXPECT_EQ(2.75, s.m_dTargetTolerance);
    EXPECT_EQ(0.5, s.m_dFanAdjust);
    EXPECT_EQ(120.0, s.m_dDataSamples);
    EXPECT_EQ(62.5, s.m_dHighPressureLimit);
    EXPECT_EQ(7.25, s.m_dFanStartPercent);

    ReadSection(s, L"Target_Tolerance: 1.5\nFan_adjust: 0.25\nBuilding_High_Pressure_Limit: 55.5\n", 0);
    EXPECT_EQ(1.5, s.m_dTargetTolerance);
    EXPECT_EQ(0.25, s.m_dFanAdjust);
    EXPECT_EQ(55.5, s.m_dHighPressureLimit);
}

// ---------------------------------------------------------------------------
// "DefaultSettings.dat".

TEST_F(SettingsRecordTest, DefaultsFileRoundTrip)
{
    CTestSettingsDialog& s = *m_pSettings;
    g_nCurrentDirection = 0;
    s.m_nStandard = 2;
    s.m_chStandardLetter = L'U';
    s.m_nMethodIndex = 2;
    s.m_strDataSamples = L"150";
    s.m_strTargetTolerance = L"2.5";
    s.m_strFanAdjust = L"0.75";
    s.m_strHighPressureLimit = L"75";
    s.m_strFanStartPercent = L"12.5";
    ASSERT_TRUE(s.WriteDefaultsFile());

    const std::wstring expected =
        L"Default Settings\r\nTest_Standard_QSE: ASTM E779-10\nBuild_Test_Mode: P\nBuild_Test_Method: S\n"
        L"Data_samples: 150\nTarget_Tolerance: 2.5\nFan_adjust: 0.75\nBuilding_High_Pressure_Limit: 75\n"
        L"Fan_Start_Percent: 12.5\n";
    // UTF-16LE, no byte-order mark, no terminating zero.
    EXPECT_EQ(Utf16Bytes(expected), ReadBytes(m_defaultsPath));
    EXPECT_FALSE(FileExists(m_defaultsPath + L".new"));

    // Written again over the old file: replaced, not appended to.
    s.m_strDataSamples = L"9";
    ASSERT_TRUE(s.WriteDefaultsFile());
    std::wstring shorter = expected;
    shorter.replace(shorter.find(L"150"), 3, L"9");
    EXPECT_EQ(Utf16Bytes(shorter), ReadBytes(m_defaultsPath));

    g_nCurrentDirection = 1;
    CTestSettingsDialog r(s_pView);
    r.ReadDefaultsFile();
    EXPECT_EQ(2, r.m_nStandard);
    EXPECT_EQ(L'P', r.m_chDirectionLetter[0]);
    EXPECT_EQ(L'P', r.m_chDirectionLetter[1]);
    EXPECT_EQ(0, g_nCurrentDirection);
    EXPECT_EQ(L'S', r.m_chMethodLetter[0]);
    EXPECT_EQ(L'S', r.m_chMethodLetter[1]);
    EXPECT_EQ(2, r.m_nMethodIndex);
    EXPECT_EQ(CString(L"9"), r.m_strDataSamples);
    EXPECT_EQ(CString(L"2.5"), r.m_strTargetTolerance);
    EXPECT_EQ(CString(L"0.75"), r.m_strFanAdjust);
    EXPECT_EQ(CString(L"75"), r.m_strHighPressureLimit);
    EXPECT_EQ(CString(L"12.5"), r.m_strFanStartPercent);
    // Not in the file: the letter and the zones; and the numbers are not parsed here.
    EXPECT_EQ(L'I', r.m_chStandardLetter);
    EXPECT_EQ(200.0, r.m_dDataSamples);
    EXPECT_EQ(2.0, r.m_dTargetTolerance);
}

TEST_F(SettingsRecordTest, DamagedDefaultsFilesNeverReadPastTheirEnd)
{
    const std::wstring full =
        L"Default Settings\r\nTest_Standard_QSE: EN 13829\nBuild_Test_Mode: P\nBuild_Test_Method: M\n"
        L"Data_samples: 150\nTarget_Tolerance: 2.5\nFan_adjust: 0.75\nBuilding_High_Pressure_Limit: 75\n"
        L"Fan_Start_Percent: 12.5\n";
    const std::string fullBytes = Utf16Bytes(full);
    const size_t nCutInLastValue = Utf16Bytes(full.substr(0, full.size() - 3)).size();

    struct FileCase {
        const char* name;
        std::string bytes;
        int standard;
        wchar_t direction0, direction1;
        int currentDirection;
        wchar_t method;
        int methodIndex;
        const wchar_t* samples;
        const wchar_t* startPercent;
    };
    const FileCase cases[] = {
        {"whole file", fullBytes, 1, L'P', L'P', 0, L'M', 0, L"150", L"12.5"},
        {"odd byte count", fullBytes + "\x41", 1, L'P', L'P', 0, L'M', 0, L"150", L"12.5"},
        {"cut in the last value", fullBytes.substr(0, nCutInLastValue), 1, L'P', L'P', 0, L'M', 0, L"150", L""},
        {"cut inside a character", fullBytes.substr(0, nCutInLastValue + 1), 1, L'P', L'P', 0, L'M', 0, L"150", L""},
        {"cut after the header", fullBytes.substr(0, 36), 0, L'P', L'D', 1, L'A', 1, L"", L""},
        {"empty file", "", 0, L'P', L'D', 1, L'A', 1, L"", L""},
        {"one byte", "D", 0, L'P', L'D', 1, L'A', 1, L"", L""},
        {"8-bit text", "Default Settings\r\nTest_Standard_QSE: EN 13829\nBuild_Test_Mode: P\n", 0, L'P', L'D', 1,
         L'A', 1, L"", L""},
        {"a zero in the text", Utf16Bytes(L"Default Settings\r\nBuild_Test_Mode: P\n") + std::string(2, '\0') +
                                   Utf16Bytes(L"Build_Test_Method: M\nData_samples: 7\n"),
         0, L'P', L'P', 0, L'A', 1, L"", L""},
        {"no direction letter", Utf16Bytes(L"x\r\nBuild_Test_Mode: \nBuild_Test_Method: S\nData_samples: 7\n"), 0,
         L'P', L'D', 1, L'S', 2, L"7", L""},
        {"a direction letter that names no slot",
         Utf16Bytes(L"x\r\nBuild_Test_Mode: X\nBuild_Test_Method: S\nData_samples: 7\n"), 0, L'P', L'D', 1, L'S', 2,
         L"7", L""},
        {"a small direction letter", Utf16Bytes(L"x\r\nBuild_Test_Mode: d\n"), 0, L'P', L'D', 1, L'A', 1, L"", L""},
        {"an unknown method letter", Utf16Bytes(L"x\r\nBuild_Test_Mode: D\nBuild_Test_Method: Z\n"), 0, L'D', L'D',
         1, L'Z', -1, L"", L""},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(m_defaultsPath, c.bytes));
        g_nCurrentDirection = 1;
        CTestSettingsDialog s(s_pView);
        s.ReadDefaultsFile();
        EXPECT_EQ(c.standard, s.m_nStandard);
        EXPECT_EQ(c.direction0, s.m_chDirectionLetter[0]);
        EXPECT_EQ(c.direction1, s.m_chDirectionLetter[1]);
        EXPECT_EQ(c.currentDirection, g_nCurrentDirection);
        EXPECT_EQ(c.method, s.m_chMethodLetter[0]);
        EXPECT_EQ(c.method, s.m_chMethodLetter[1]);
        EXPECT_EQ(c.methodIndex, s.m_nMethodIndex);
        EXPECT_EQ(CString(c.samples), s.m_strDataSamples);
        EXPECT_EQ(CString(c.startPercent), s.m_strFanStartPercent);
    }
}

TEST_F(SettingsRecordTest, MissingOrUnreadableDefaultsFileChangesNothing)
{
    CTestSettingsDialog& s = *m_pSettings;
    SetNonFactoryValues(s, 1);
    g_nCurrentDirection = 1;
    const CString strBefore = s.WriteToFile(1, L"");
    s.ReadDefaultsFile();
    EXPECT_EQ(strBefore, s.WriteToFile(1, L""));
    EXPECT_EQ(2, s.m_nStandard);

    // A folder in the file's place cannot be read as a file.
    ASSERT_TRUE(::CreateDirectoryW(m_defaultsPath.c_str(), nullptr));
    s.ReadDefaultsFile();
    EXPECT_EQ(strBefore, s.WriteToFile(1, L""));
    EXPECT_EQ(1, g_nCurrentDirection);
    ::RemoveDirectoryW(m_defaultsPath.c_str());
}

TEST_F(SettingsRecordTest, AFailedDefaultsWriteIsReportedAndKeepsTheOldFile)
{
    CTestSettingsDialog& s = *m_pSettings;
    ASSERT_TRUE(s.WriteDefaultsFile());
    const std::string oldBytes = ReadBytes(m_defaultsPath);
    s.m_strDataSamples = L"321";
    const CString strRecord = s.WriteToFile(1, L"");

    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    {
        // The disk fills up half-way through the text.
        CScopedFileFailure failure(CFile::FailWritesAfter(40));
        answerer.ReplyToMessage(IDOK, L"DefaultSettings.dat");
        EXPECT_FALSE(s.WriteDefaultsFile());
    }
    {
        CScopedFileFailure failure(CFile::RenameFailureHook([](const wchar_t*, const wchar_t*) { return true; }));
        answerer.ReplyToMessage(IDOK, L"DefaultSettings.dat");
        EXPECT_FALSE(s.WriteDefaultsFile());
    }
    EXPECT_EQ(2u, answerer.messages.size());
    EXPECT_TRUE(answerer.AllRepliesUsed());
    EXPECT_EQ(oldBytes, ReadBytes(m_defaultsPath));
    EXPECT_FALSE(FileExists(m_defaultsPath + L".new"));
    EXPECT_EQ(strRecord, s.WriteToFile(1, L""));

    // No data folder at all: reported, nothing written, the record unchanged.
    const CString strSavedFolder = s_pView->m_strDataFolder;
    s_pView->m_strDataFolder = strSavedFolder + L"missing\\";
    answerer.ReplyToMessage(IDOK, L"DefaultSettings.dat");
    EXPECT_FALSE(s.WriteDefaultsFile());
    s_pView->m_strDataFolder = strSavedFolder;
    EXPECT_EQ(3u, answerer.messages.size());
    EXPECT_TRUE(answerer.AllRepliesUsed());
    EXPECT_EQ(strRecord, s.WriteToFile(1, L""));
}

// ---------------------------------------------------------------------------
// Direction slots.

TEST_F(SettingsRecordTest, CopyDirectionSettingsCopiesMethodRingAndZones)
{
    CTestSettingsDialog& s = *m_pSettings;
    CTestGraph1& graph = *s_pView->m_pTestGraph;
    SetNonFactoryValues(s, 0);
    for (int z = 0; z < 3; ++z)
        s.m_strZoneName[0][z] = CString::FormatText(L"unused %d", z);
    s.m_chDirectionLetter[0] = L'P';
    s.m_chDirectionLetter[1] = L'D';
    graph.m_CurrentRing[0] = 3;
    graph.m_CurrentRing[1] = 1;
    graph.m_AxisPmin[0] = 5;
    graph.m_AxisPmax[0] = 80;
    graph.m_AxisQmin[0] = 200;
    graph.m_AxisQmax[0] = 9000;

    s.CopyDirectionSettings(1, 0, 1);
    EXPECT_EQ(L'S', s.m_chMethodLetter[1]);
    EXPECT_EQ(3, graph.m_CurrentRing[1]);
    EXPECT_EQ(5, graph.m_AxisPmin[1]);
    EXPECT_EQ(80, graph.m_AxisPmax[1]);
    EXPECT_EQ(200, graph.m_AxisQmin[1]);
    EXPECT_EQ(9000, graph.m_AxisQmax[1]);
    for (int z = 0; z < 9; ++z) {
        EXPECT_EQ(s.m_nZoneActive[0][z], s.m_nZoneActive[1][z]) << z;
        EXPECT_EQ(s.m_nZoneReference[0][z], s.m_nZoneReference[1][z]) << z;
        EXPECT_EQ(s.m_strZoneName[0][z], s.m_strZoneName[1][z]) << z;
    }
    EXPECT_EQ(L'D', s.m_chDirectionLetter[1]);

    // Without the ring the target gets the open fan.
    s.m_chMethodLetter[0] = L'M';
    s.CopyDirectionSettings(1, 0, 0);
    EXPECT_EQ(L'M', s.m_chMethodLetter[1]);
    EXPECT_EQ(0, graph.m_CurrentRing[1]);
    EXPECT_EQ(3, graph.m_CurrentRing[0]);
}

TEST_F(SettingsRecordTest, SetTestDirectionTakesOverTheCurrentDirection)
{
    CTestSettingsDialog& s = *m_pSettings;
    CTestGraph1& graph = *s_pView->m_pTestGraph;
    SetNonFactoryValues(s, 0);
    graph.m_CurrentRing[0] = 2;
    g_nCurrentDirection = 0;

    // The current letter: nothing changes.
    s.SetTestDirection(L'P');
    EXPECT_EQ(0, g_nCurrentDirection);
    EXPECT_EQ(L'A', s.m_chMethodLetter[1]);
    EXPECT_EQ(0, graph.m_CurrentRing[1]);

    // A letter that names no direction: nothing changes either.
    s.SetTestDirection(L'X');
    EXPECT_EQ(0, g_nCurrentDirection);
    EXPECT_EQ(L'A', s.m_chMethodLetter[1]);

    // The reminder for the new direction, and the screen learns whether it
    // holds tests.
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    answerer.ReplyToProgramMessage(4502, IDOK, L"Depressurize mode");
    graph.m_CompletedTests[1] = 2;
    graph.m_bCurveValid = 0;
    s.SetTestDirection(L'D');
    EXPECT_TRUE(answerer.AllRepliesUsed());
    EXPECT_EQ(1, graph.m_bCurveValid);
    EXPECT_EQ(1, g_nCurrentDirection);
    EXPECT_EQ(L'D', s.m_chDirectionLetter[1]);
    EXPECT_EQ(L'P', s.m_chDirectionLetter[0]);
    EXPECT_EQ(L'S', s.m_chMethodLetter[1]);
    EXPECT_EQ(2, graph.m_CurrentRing[1]);
    EXPECT_EQ(s.m_strZoneName[0][5], s.m_strZoneName[1][5]);
}

TEST_F(SettingsRecordTest, ReadingASlotSetsUpItsFanAndRing)
{
    CTestSettingsDialog& s = *s_pView->m_pSettings;
    CTestGraph1& graph = *s_pView->m_pTestGraph;
    CFanCalibrationDialog& fan = *s_pView->m_pFanCalibration;
    s_pView->m_pEquipment->m_chFanCode = L'3';
    graph.m_CurrentRing[1] = 1;
    graph.m_AxisQmin[1] = graph.m_AxisQmax[1] = -1;
    fan.m_dSelC = 0;

    ReadSection(s, L"", 1);

    double dMin = 0;
    double dMax = 0;
    fan.GetNominalFlowRange(L'3', 1, dMin, dMax);
    EXPECT_GT(dMax, dMin);
    EXPECT_EQ(dMin, graph.m_AxisQmin[1]);
    EXPECT_EQ(dMax, graph.m_AxisQmax[1]);
    EXPECT_GT(fan.m_dSelC, 0);
}
