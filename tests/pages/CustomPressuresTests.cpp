// The custom target pressures: the standards' presets, parsing into both
// direction rows, the file keys, and the modal dialog run for real.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/Simbrel1View.h"
#include "pages/CustomPressuresDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

using Pressures = CCustomPressuresDialog;

std::vector<std::wstring> Texts(const Pressures& p)
{
    std::vector<std::wstring> texts;
    for (const CString& strText : p.m_strPressure)
        texts.emplace_back(strText.GetString());
    return texts;
}

// Both rows hold the same twelve values.
void ExpectRows(const Pressures& p, const std::vector<double>& expected)
{
    for (int d = 0; d < 2; ++d)
        for (int i = 0; i < Pressures::kPressureCount; ++i)
            EXPECT_EQ(p.m_dPressure[d][i], expected[i]) << "row " << d << " entry " << i;
}

// What the test sequence takes: the entries up to the first below 0.1.
int TargetCount(const Pressures& p, int d)
{
    int n = 0;
    while (n < Pressures::kPressureCount && p.m_dPressure[d][n] >= 0.1)
        ++n;
    return n;
}

}  // namespace

TEST(CustomPressures, PresetsFillTheTextsAndBothRows)
{
    struct PresetCase {
        void (Pressures::*pSet)();
        std::vector<std::wstring> texts;
    } cases[] = {
        {&Pressures::SetCgsbPressures, {L"50", L"45", L"40", L"35", L"30", L"25", L"20", L"15", L"", L"", L"", L""}},
        {&Pressures::SetEn13829Pressures,
         {L"65", L"59", L"53", L"47", L"41", L"35", L"29", L"23", L"17", L"11", L"", L""}},
        {&Pressures::SetAstmE779Pressures,
         {L"60", L"55", L"50", L"45", L"40", L"35", L"30", L"25", L"20", L"15", L"", L""}},
        {&Pressures::SetIso9972Pressures,
         {L"64", L"58", L"52", L"46", L"40", L"34", L"28", L"22", L"16", L"10", L"", L""}},
    };
    Pressures p;
    for (const PresetCase& c : cases) {
        // A longer list before shows that the preset empties the rest.
        for (CString& strText : p.m_strPressure)
            strText = L"99";
        p.ParsePressures();
        (p.*c.pSet)();
        EXPECT_EQ(Texts(p), c.texts);
        std::vector<double> values;
        for (const std::wstring& text : c.texts)
            values.push_back(text.empty() ? 0.0 : std::stod(text));
        ExpectRows(p, values);
    }
    p.ClearData();
    EXPECT_EQ(Texts(p), std::vector<std::wstring>(12));
    ExpectRows(p, std::vector<double>(12, 0.0));
}

TEST(CustomPressures, ParsingKeepsTheTextsAndEndsTheListAtTheFirstValueBelowATenth)
{
    Pressures p;
    const wchar_t* texts[12] = {L"50", L"12.5", L"40", L"35", L"", L"30", L"nan", L"inf", L"1e999", L"0.05", L"20", L"-1e999"};
    for (int i = 0; i < 12; ++i)
        p.m_strPressure[i] = texts[i];
    p.ParsePressures();
    // Nothing that is not a finite number reaches the targets.
    ExpectRows(p, {50, 12.5, 40, 35, 0, 30, 0, 0, 0, 0.05, 20, 0});
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(p.m_strPressure[i], texts[i]);
    EXPECT_EQ(TargetCount(p, 0), 4);
    EXPECT_EQ(TargetCount(p, 1), 4);
    EXPECT_EQ(p.m_dPressure[0][12], 0.0);
}

TEST(CustomPressures, NormalizeTurnsExactlyMinusOneIntoZero)
{
    struct NormalizeCase {
        const wchar_t* pszValue;
        const wchar_t* pszText;
    } cases[] = {
        {L"-1", L"0.0"}, {L"-1.0", L"0.0"}, {L"-1.5", L"-1.5"}, {L"-10", L"-10"},
        {L"", L""},      {L"12.5", L"12.5"}, {L"1", L"1"},       {L"abc", L"abc"},
    };
    for (const NormalizeCase& c : cases)
        EXPECT_EQ(Pressures::NormalizePressureText(c.pszValue), c.pszText) << c.pszValue;
}

class CustomPressuresFileTest : public ::testing::Test {
protected:
    CTestView m_view{L"custom-pressures"};
    Pressures& P() const { return *m_view->m_pCustomPressures; }
};

TEST_F(CustomPressuresFileTest, WritesEveryKeyAndReadsItBack)
{
    P().SetIso9972Pressures();
    P().m_strPressure[4].Empty();   // #5 left empty while #6 still holds 34
    P().m_strPressure[11] = L"12.5";
    const CString strWritten = P().WriteToFile();
    EXPECT_EQ(strWritten,
              L"Build_Press_#1: 64\nBuild_Press_#2: 58\nBuild_Press_#3: 52\nBuild_Press_#4: 46\n"
              L"Build_Press_#5: \nBuild_Press_#6: 34\nBuild_Press_#7: 28\nBuild_Press_#8: 22\n"
              L"Build_Press_#9: 16\nBuild_Press_#10: 10\nBuild_Press_#11: \nBuild_Press_#12: 12.5\n");

    m_view->m_strFileText = CString(L"QARSEAL_Vudadar_Version: 5.1.1.0\n\nCUSTOM PRESSURES INFO\n") + strWritten;
    P().ClearData();
    P().ReadFromFile();
    EXPECT_EQ(P().WriteToFile(), strWritten);
    ExpectRows(P(), {64, 58, 52, 46, 0, 34, 28, 22, 16, 10, 0, 12.5});
    EXPECT_EQ(TargetCount(P(), 0), 4);
}

TEST_F(CustomPressuresFileTest, ReadingNormalizesAndTakesOnlyKeysAtALineStart)
{
    m_view->m_strFileText =
        L"Note_Build_Press_#1: 77\n"   // not a key of this list
        L"Build_Press_#2: 45\r\n"
        L"Build_Press_#3: -1\n"
        L"Build_Press_#4: 35\n"
        L"Build_Press_#12: 15\n";
    P().SetCgsbPressures();   // what was there before a file is opened goes
    P().ClearData();
    P().ReadFromFile();
    EXPECT_EQ(Texts(P()), (std::vector<std::wstring>{L"", L"45", L"0.0", L"35", L"", L"", L"", L"", L"", L"", L"",
                                                     L"15"}));
    ExpectRows(P(), {0, 45, 0, 35, 0, 0, 0, 0, 0, 0, 0, 15});

    // A manual test's file has no such section: the list stays empty.
    m_view->m_strFileText = L"QARSEAL_Vudadar_Version: 5.1.1.0\n\nTEST UNITS INFO\nFlow_Units: cfm\n";
    P().SetCgsbPressures();
    P().ClearData();
    P().ReadFromFile();
    EXPECT_EQ(Texts(P()), std::vector<std::wstring>(12));
}

class CustomPressuresDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        P().SetIso9972Pressures();
    }
    void TearDown() override { CloseProgram(); }

    Pressures& P() const { return *m_pView->m_pCustomPressures; }
    // Runs the dialog with the steps acting inside its modal loop.
    INT_PTR Run(std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(IDD_CUSTOM_PRESSURES, m_driver.Run(std::move(steps)));
        return P().DoModal();
    }
    static int FocusId() { return ::GetDlgCtrlID(::GetFocus()); }

    CDialogDriver m_driver;
};

TEST_F(CustomPressuresDialogTest, OpensWithTheTextsAndTheListAndSavesAScreenshot)
{
    const INT_PTR nResult = Run({[](HWND h) {
        EXPECT_EQ(WindowText(h), L"Custom Pressures");
        EXPECT_EQ(ItemText(h, IDC_CUSTOM_PRESSURES_GROUP), L"Custom Pressures (Pa)");
        EXPECT_EQ(ItemText(h, IDC_CUSTOM_PRESSURES_HELP), L"Help");
        EXPECT_EQ(ItemText(h, IDC_CUSTOM_PRESSURES_CLEAR), L"Clear");
        EXPECT_EQ(ItemText(h, IDOK), L"OK");
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDCANCEL)));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDCANCEL)));
        EXPECT_EQ(LOWORD(::SendMessageW(h, DM_GETDEFID, 0, 0)), IDC_CUSTOM_PRESSURES_NO_ACTION);
        const wchar_t* expected[12] = {L"64", L"58", L"52", L"46", L"40", L"34", L"28", L"22", L"16", L"10", L"", L""};
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(ItemText(h, Pressures::kFieldIds[i]), expected[i]) << i;
        SaveScreenshot(h, L"custom-pressures-iso9972.png");
        ClickItem(h, IDOK);
    }});
    EXPECT_EQ(nResult, IDOK);
}

TEST_F(CustomPressuresDialogTest, OkStoresOnlyDigitsAndParses)
{
    const INT_PTR nResult = Run({
        [](HWND h) {
            ::SetDlgItemTextW(h, IDC_CUSTOM_PRESSURE_11, L"");
            ::SetFocus(::GetDlgItem(h, IDC_CUSTOM_PRESSURE_11));
            for (const wchar_t ch : std::wstring(L"7a.-5"))
                ::PostMessageW(::GetFocus(), WM_CHAR, ch, 1);
        },
        [](HWND h) {
            EXPECT_EQ(ItemText(h, IDC_CUSTOM_PRESSURE_11), L"75");
            ::SetDlgItemTextW(h, IDC_CUSTOM_PRESSURE_1, L"");
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(P().m_strPressure[0], L"");
    EXPECT_EQ(P().m_strPressure[10], L"75");
    ExpectRows(P(), {0, 58, 52, 46, 40, 34, 28, 22, 16, 10, 75, 0});
    EXPECT_EQ(TargetCount(P(), 1), 0);
}

TEST_F(CustomPressuresDialogTest, EscapeKeepsTheTexts)
{
    const INT_PTR nResult = Run({
        [](HWND h) {
            ::SetDlgItemTextW(h, IDC_CUSTOM_PRESSURE_1, L"99");
            ::SetFocus(::GetDlgItem(h, IDC_CUSTOM_PRESSURE_1));
            PressKey(VK_ESCAPE);
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(P().m_strPressure[0], L"64");
    EXPECT_EQ(P().m_dPressure[0][0], 64.0);
}

TEST_F(CustomPressuresDialogTest, EnterMovesThroughThePressureFieldsAndPressesAFocusedButton)
{
    const INT_PTR nResult = Run({
        [](HWND h) {
            ::SetFocus(::GetDlgItem(h, IDC_CUSTOM_PRESSURE_6));
            PressKey(VK_RETURN);
        },
        [](HWND h) {
            EXPECT_EQ(FocusId(), IDC_CUSTOM_PRESSURE_7);
            ::SetFocus(::GetDlgItem(h, IDC_CUSTOM_PRESSURE_12));
            PressKey(VK_RETURN);
        },
        [](HWND h) {
            // Past Help, Clear and OK and round to #1.
            EXPECT_EQ(FocusId(), IDC_CUSTOM_PRESSURE_1);
            ::SetFocus(::GetDlgItem(h, IDOK));
        },
        [](HWND h) {
            EXPECT_EQ(LOWORD(::SendMessageW(h, DM_GETDEFID, 0, 0)), IDOK);
            PressKey(VK_RETURN);
        },
    });
    EXPECT_EQ(nResult, IDOK);
}

TEST_F(CustomPressuresDialogTest, ClearEmptiesTheListOnlyOnYes)
{
    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDNO);
    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDYES);
    const INT_PTR nResult = Run({
        [](HWND h) { ClickItem(h, IDC_CUSTOM_PRESSURES_CLEAR); },
        [](HWND h) {
            EXPECT_EQ(ItemText(h, IDC_CUSTOM_PRESSURE_1), L"64");
            ClickItem(h, IDC_CUSTOM_PRESSURES_CLEAR);
        },
        [](HWND h) {
            for (const int nID : Pressures::kFieldIds)
                EXPECT_EQ(ItemText(h, nID), L"") << nID;
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(Texts(P()), std::vector<std::wstring>(12));
    ExpectRows(P(), std::vector<double>(12, 0.0));
}
