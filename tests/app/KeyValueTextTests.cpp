// The key-value lines every file is made of: lookups, line writers, number
// reading, and the cost of reading a whole large test file.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "tests/TestSupport.h"

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// The lookup as a straightforward reader writes it: its own copy of the
// text, a find, a look at the character before, and the line cut out.
CString NaiveLookup(const CString& strKey, const CString& strFileText)
{
    const CString strText = strFileText;
    int nPos = strText.Find(strKey.GetString());
    while (nPos > 0 && strText[nPos - 1] != L'\r' && strText[nPos - 1] != L'\n')
        nPos = strText.Find(strKey.GetString(), nPos + 1);
    if (nPos < 0)
        return CString();
    CString strRest = strText.Mid(nPos + strKey.GetLength());
    const int nEnd = strRest.FindOneOf(L"\r\n");
    if (nEnd < 0)
        return CString();
    CString strValue = strRest.Left(nEnd);
    strValue.TrimLeft(L' ');
    return strValue;
}

struct LookupCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* key;
    const wchar_t* expected;
};

}  // namespace

TEST(KeyValueText, LookupRules)
{
    const LookupCase cases[] = {
        {"line ending in LF", L"A: 1\nFlow_Units: CFM\nB: 2\n", L"Flow_Units:", L"CFM"},
        {"line ending in CR LF", L"A: 1\r\nFlow_Units: CFM\r\nB: 2\r\n", L"Flow_Units:", L"CFM"},
        {"no blank after the key", L"Flow_Units:CFM\n", L"Flow_Units:", L"CFM"},
        {"key and blank alone", L"Flow_Units: \nB: 2\n", L"Flow_Units:", L""},
        {"key as the text's first characters", L"Flow_Units: m3/h\n", L"Flow_Units:", L"m3/h"},
        {"key inside a longer key of an earlier line", L"Old_Flow_Units: 7\nFlow_Units: 3\n", L"Flow_Units:", L"3"},
        {"key inside an earlier value", L"Note: Flow_Units: 9\nFlow_Units: 3\n", L"Flow_Units:", L"3"},
        {"key only inside other lines", L"Note: Flow_Units: 9\nX_Flow_Units: 8\n", L"Flow_Units:", L""},
        {"key after a CR alone", L"A: 1\rFlow_Units: 4\r", L"Flow_Units:", L"4"},
        {"last line without a line break", L"A: 1\nFlow_Units: 5", L"Flow_Units:", L""},
        {"key at the very end", L"A: 1\nFlow_Units:", L"Flow_Units:", L""},
        {"missing key", L"A: 1\nB: 2\n", L"Flow_Units:", L""},
        {"empty text", L"", L"Flow_Units:", L""},
        {"leading blanks go, trailing blanks stay", L"K:   v w  \n", L"K:", L"v w  "},
        {"tabs are not blanks", L"K: \t v\n", L"K:", L"\t v"},
        {"first line-start occurrence wins", L"K: 1\nK: 2\n", L"K:", L"1"},
        {"value cut at a CR before an LF", L"K: a\rb\nc\n", L"K:", L"a"},
        {"value cut at an LF before a CR", L"K: a\nb\rc\n", L"K:", L"a"},
        {"keys compare case included", L"flow_units: 1\n", L"Flow_Units:", L""},
        {"a blank line before the key", L"\nTEST UNITS INFO\nK: x\n", L"K:", L"x"},
        {"a section name is not a key", L"\nTEST UNITS INFO\nK: x\n", L"TEST UNITS INFO", L""},
        {"direction-prefixed key", L"D_Completed_Tests: 4\nP_Completed_Tests: 2\n", L"P_Completed_Tests:", L"2"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CString(c.expected), CSimbrel1View::GetTextValue(c.key, c.text));
    }
}

// Short texts of key fragments, blanks and line breaks in every order: the
// lookup finds what a plain scan from the start finds.
TEST(KeyValueText, LookupAgreesWithAPlainScan)
{
    const wchar_t* const pieces[] = {L"K:", L"AK:", L"K", L":", L" ", L"\n", L"\r", L"x", L"K:K:", L"P_K:"};
    const wchar_t* const keys[] = {L"K:", L"AK:", L"P_K:", L"K:K:", L":"};
    std::mt19937 random(20240612);
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int n = 0; n < 3000; ++n) {
        CString strText;
        for (int i = length(random); i > 0; --i)
            strText += pieces[pick(random)];
        for (const wchar_t* pszKey : keys) {
            ASSERT_EQ(NaiveLookup(pszKey, strText), CSimbrel1View::GetTextValue(pszKey, strText))
                << CString(pszKey).ToAnsi() << " in \"" << strText.ToAnsi() << "\"";
        }
    }
}

TEST(KeyValueText, LineWriters)
{
    struct WriterCase {
        const char* name;
        CString actual;
        const wchar_t* expected;
    };
    const WriterCase cases[] = {
        {"key line", CSimbrel1View::MakeKeyLine(L"", L"Flow_Units:", L"CFM"), L"Flow_Units: CFM\n"},
        {"prefixed key line", CSimbrel1View::MakeKeyLine(L"P_", L"Fan_Ring:", L"2"), L"P_Fan_Ring: 2\n"},
        {"key line with an empty value", CSimbrel1View::MakeKeyLine(L"", L"Comments:", L""), L"Comments: \n"},
        {"direction 0 line", CSimbrel1View::MakeDirectionKeyLine(0, L"Fan_Ring:", L"2"), L"P_Fan_Ring: 2\n"},
        {"direction 1 line", CSimbrel1View::MakeDirectionKeyLine(1, L"Fan_Ring:", L"2"), L"D_Fan_Ring: 2\n"},
        {"direction line with an empty value", CSimbrel1View::MakeDirectionKeyLine(0, L"Fan_Ring:", L""), L""},
        {"prefix of direction 0", CSimbrel1View::PrefixKeyByDirection(0, L"K:"), L"P_K:"},
        {"prefix of direction 1", CSimbrel1View::PrefixKeyByDirection(1, L"K:"), L"D_K:"},
        {"prefix of direction 2", CSimbrel1View::PrefixKeyByDirection(2, L"K:"), L"D_K:"},
        {"prefix of direction -1", CSimbrel1View::PrefixKeyByDirection(-1, L"K:"), L"D_K:"},
        {"per-test key, first pressurization test",
         CSimbrel1View::MakePerTestKey(L"Manual_Entry_Pretest_Outdoor_Temperature:", 0, 0),
         L"P_Manual_Entry_Pretest_Outdoor_Temperature_for_Test_1:"},
        {"per-test key, third depressurization test",
         CSimbrel1View::MakePerTestKey(L"Manual_Entry_Pretest_Indoor_Temperature:", 1, 2),
         L"D_Manual_Entry_Pretest_Indoor_Temperature_for_Test_3:"},
        {"per-test key, test 32", CSimbrel1View::MakePerTestKey(L"Flow_Factor:", 1, 31), L"D_Flow_Factor_for_Test_32:"},
        {"four CRs", CSimbrel1View::CollapseDoubleCR(L"a\r\r\r\rb"), L"a\r\rb"},
        {"three CRs", CSimbrel1View::CollapseDoubleCR(L"a\r\r\rb"), L"a\r\rb"},
        {"two CRs and CR LF", CSimbrel1View::CollapseDoubleCR(L"a\r\r\nb\r\n"), L"a\r\nb\r\n"},
        {"no double CR", CSimbrel1View::CollapseDoubleCR(L"a\r\nb\rc"), L"a\r\nb\rc"},
    };
    for (const WriterCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CString(c.expected), c.actual);
    }
}

// Lines written by the writers read back the same, wherever they stand.
TEST(KeyValueText, WrittenLinesReadBack)
{
    const CString strValues[] = {L"1.25", L"Zone A", L"a  b  ", L"-0.00", L"12,5 Pa", L"\tindented"};
    CString strText = L"Default Settings\r\n";
    for (int d = 0; d < 2; ++d)
        for (int t = 0; t < 6; ++t)
            strText += CSimbrel1View::MakeKeyLine(L"", CSimbrel1View::MakePerTestKey(L"Value:", d, t), strValues[t]);
    strText += L"\nTEST UNITS INFO\n";
    strText += CSimbrel1View::MakeDirectionKeyLine(1, L"Value:", L"last");
    for (int d = 0; d < 2; ++d)
        for (int t = 0; t < 6; ++t)
            EXPECT_EQ(strValues[t], CSimbrel1View::GetTextValue(CSimbrel1View::MakePerTestKey(L"Value:", d, t), strText))
                << d << " " << t;
    EXPECT_EQ(CString(L"last"), CSimbrel1View::GetTextValue(L"D_Value:", strText));
    EXPECT_EQ(CString(), CSimbrel1View::GetTextValue(L"P_Value:", strText));
}

namespace {

struct NumberCase {
    const wchar_t* text;
    double expected;
};

const NumberCase kNumberCases[] = {
    {L"2.5", 2.5},
    {L"90", 90.0},
    {L"  -1.25e2", -125.0},
    {L"\t\r\n+3", 3.0},
    {L"2E3", 2000.0},
    {L".5", 0.5},
    {L"5.", 5.0},
    {L"3.0 Pa", 3.0},
    {L"1,5", 1.0},
    {L"12,000", 12.0},
    {L"1e", 1.0},
    {L"1e+", 1.0},
    {L"7.5e-1x", 0.75},
    {L"0x1A", 26.0},
    {L"-0x.8p1", -1.0},
    {L"0x", 0.0},
    {L"", 0.0},
    {L"abc", 0.0},
    {L".", 0.0},
    {L"-", 0.0},
    {L"- 1", 0.0},
    {L"inf", 0.0},
    {L"-infinity", 0.0},
    {L"nan", 0.0},
    {L"1e999", 0.0},
    {L"-1e999", 0.0},
    {L"1e-999", 0.0},
};

void ExpectNumbers()
{
    for (const NumberCase& c : kNumberCases) {
        const double dValue = CSimbrel1View::TextToDouble(c.text);
        EXPECT_EQ(c.expected, dValue) << "\"" << CString(c.text).ToAnsi() << "\"";
    }
}

}  // namespace

TEST(KeyValueText, TextToDoubleReadsTheLeadingNumber)
{
    ExpectNumbers();
}

TEST(KeyValueText, TextToDoubleKeepsTheDecimalPointUnderACommaLocale)
{
    CScopedCommaLocale commaLocale;
    if (!commaLocale.Switched())
        GTEST_SKIP() << "no German locale to switch to";
    ASSERT_STREQ(",", localeconv()->decimal_point);
    ExpectNumbers();
}

// ---------------------------------------------------------------------------
// Lookups in the view's loaded file text.

namespace {

class ViewFileTextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_savedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"kv-view").c_str();
        s_pView = new CSimbrel1View;
    }
    static void TearDownTestSuite()
    {
        delete s_pView;
        s_pView = nullptr;
        g_strUserDataRoot = s_savedRoot;
    }

    static CSimbrel1View* s_pView;
    static CString s_savedRoot;
};

CSimbrel1View* ViewFileTextTest::s_pView = nullptr;
CString ViewFileTextTest::s_savedRoot;

// A test file as the program writes it: two directions of 32 completed
// tests, each with its per-test keys and data rows, and the sections
// around them. Returns the text and fills the keys it holds.
CString MakeLargeTestFile(std::vector<CString>& keys)
{
    CString strText = L"Building Test File\r\nProgram_Version: 5.1.0.12\nTest_Date: 20240612\n";
    auto addLine = [&](const CString& strKey, const CString& strValue) {
        strText += CSimbrel1View::MakeKeyLine(L"", strKey, strValue);
        keys.push_back(strKey);
    };
    CString strValue;
    strText += L"\nBUSINESS INFO\n";
    for (int i = 0; i < 40; ++i) {
        strValue.Format(L"Business line %d of the letterhead", i);
        addLine(CString::FormatText(L"Business_Line_%02d:", i), strValue);
    }
    strText += L"\nTEST UNITS INFO\n";
    for (const wchar_t* pszKey : {L"Flow_Units:", L"Dimension_Units:", L"Leakage_Area_Units:", L"Temperature_Units:"})
        addLine(pszKey, L"1");
    static const wchar_t* const kPerTestKeys[] = {
        L"Manual_Entry_Pretest_Indoor_Temperature:", L"Manual_Entry_Pretest_Outdoor_Temperature:",
        L"Manual_Entry_Posttest_Indoor_Temperature:", L"Manual_Entry_Posttest_Outdoor_Temperature:",
        L"Barometric_Pressure_Pretest:", L"Barometric_Pressure_Posttest:", L"Altitude:", L"Flow_Factor:",
        L"Baseline_Plus_Pretest:", L"Baseline_Minus_Pretest:", L"Baseline_Plus_Posttest:",
        L"Baseline_Minus_Posttest:", L"Test_N:", L"Test_C:", L"Test_R:", L"Test_R2:", L"Rho_In:", L"Rho_Out:",
        L"Start_Time:", L"End_Time:"};
    for (int d = 0; d < 2; ++d) {
        strText += d == 0 ? L"\nPRESSURIZATION TEST DATA\n" : L"\nDEPRESSURIZATION TEST DATA\n";
        for (int t = 0; t < 32; ++t) {
            for (const wchar_t* pszKey : kPerTestKeys) {
                strValue.Format(L"%0.2f", 20.0 + d + t * 0.37);
                addLine(CSimbrel1View::MakePerTestKey(pszKey, d, t), strValue);
            }
            for (int row = 0; row < 12; ++row) {
                strValue.Format(L"%d %0.2f %0.2f %0.2f", row % 6, 10.0 + row * 6.5, 1520.25 + row * 31.5, 0.35);
                addLine(CString::FormatText(L"%sData_Row_%d_%d:", d == 0 ? L"P_" : L"D_", t + 1, row + 1), strValue);
            }
            for (int k = 0; k < 8; ++k)
                addLine(CString::FormatText(L"%sDeviation_%d_for_Test_%d:", d == 0 ? L"P_" : L"D_", k * 5, t + 1),
                        L"Test pressure range is less than required by the standard.");
        }
    }
    strText += L"\nTEST RESULTS\n";
    for (int i = 0; i < 120; ++i) {
        strValue.Format(L"%0.3f", i * 1.5);
        addLine(CString::FormatText(L"Result_%03d:", i), strValue);
    }
    return strText;
}

}  // namespace

TEST_F(ViewFileTextTest, FileValuesComeFromTheLoadedText)
{
    s_pView->m_strFileText = L"Test_Date: 20240612\r\nP_Completed_Tests: 2\r\nD_Completed_Tests:  5 \r\nTail: x";
    EXPECT_EQ(CString(L"20240612"), s_pView->GetFileValue(L"Test_Date:"));
    EXPECT_EQ(CString(L"2"), s_pView->GetPrefixedFileValue(L"P_", L"Completed_Tests:"));
    EXPECT_EQ(CString(L"5 "), s_pView->GetPrefixedFileValue(L"D_", L"Completed_Tests:"));
    EXPECT_EQ(CString(), s_pView->GetPrefixedFileValue(L"", L"Completed_Tests:"));
    EXPECT_EQ(CString(), s_pView->GetFileValue(L"Tail:"));
    s_pView->m_strFileText.Empty();
    EXPECT_EQ(CString(), s_pView->GetFileValue(L"Test_Date:"));
}

TEST_F(ViewFileTextTest, BenchmarkReadingALargeTestFile)
{
    std::vector<CString> keys;
    s_pView->m_strFileText = MakeLargeTestFile(keys);
    const CString strText = s_pView->m_strFileText;

    using Clock = std::chrono::steady_clock;
    std::vector<CString> values(keys.size());
    const auto start = Clock::now();
    for (size_t i = 0; i < keys.size(); ++i)
        values[i] = s_pView->GetFileValue(keys[i]);
    const double dPrimitiveMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    // The naive reader copies the whole text for every key: time it on one
    // key in 16 and scale up, which keeps this test short.
    constexpr size_t kNaiveStep = 16;
    std::vector<CString> naive;
    const auto naiveStart = Clock::now();
    for (size_t i = 0; i < keys.size(); i += kNaiveStep)
        naive.push_back(NaiveLookup(keys[i], strText));
    const double dNaiveMs = std::chrono::duration<double, std::milli>(Clock::now() - naiveStart).count() *
                            static_cast<double>(keys.size()) / static_cast<double>(naive.size());

    // Every key of the file is found, and both readers agree.
    size_t nEmpty = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        nEmpty += values[i].IsEmpty();
        if (i % kNaiveStep == 0) {
            ASSERT_EQ(naive[i / kNaiveStep], values[i]) << keys[i].ToAnsi();
        }
    }
    EXPECT_EQ(0u, nEmpty);
    std::printf("[ benchmark ] reading %zu keys of a %d-character test file: primitives %.1f ms, "
                "naive lookup about %.0f ms\n",
                keys.size(), strText.GetLength(), dPrimitiveMs, dNaiveMs);
    s_pView->m_strFileText.Empty();
}
