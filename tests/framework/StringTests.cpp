#include <gtest/gtest.h>

#include "tests/TestSupport.h"

#include "framework/String.h"

#include <clocale>
#include <climits>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

struct FormatCase {
    const wchar_t* format;
    CString actual;
    const wchar_t* expected;
};

// Formats once with the given arguments and keeps the format for the message.
#define FMT(expected, format, ...) FormatCase{format, CString::FormatText(format, __VA_ARGS__), expected}

void ExpectCases(std::initializer_list<FormatCase> cases)
{
    for (const FormatCase& c : cases)
        EXPECT_STREQ(c.expected, c.actual.GetString()) << "format \"" << CString(c.format).ToAnsi() << "\"";
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(StringFormat, Integers)
{
    ExpectCases({
        FMT(L"42", L"%d", 42),
        FMT(L"-42", L"%i", -42),
        FMT(L"-2147483648", L"%d", INT_MIN),
        FMT(L"0005", L"%04d", 5),
        FMT(L"-005", L"%04d", -5),
        FMT(L"12345", L"%04d", 12345),
        FMT(L"0010 -020 0300 -1920", L"%04d %04d %04d %04d", 10, -20, 300, -1920),
        FMT(L"192.168.0.1", L"%d.%d.%d.%d", 192, 168, 0, 1),
        FMT(L"Pretest_for_Test_3:", L"%s_for_Test_%d:", L"Pretest", 3),
        FMT(L"42   |", L"%-5d|", 42),
        FMT(L"-7  |", L"%-04d|", -7),
        FMT(L"+5 -5", L"%+d %+d", 5, -5),
        FMT(L" 5", L"% d", 5),
        FMT(L"007", L"%.3d", 7),
        FMT(L" -007", L"%5.3d", -7),
        FMT(L"  007", L"%05.3d", 7),
        FMT(L"[]", L"[%.0d]", 0),
        FMT(L"4294967295 4294967295", L"%u %u", 4294967295u, -1),
        FMT(L"ff FF 0xff 0XFF 0", L"%x %X %#x %#X %#x", 255, 255, 255, 255, 0),
        FMT(L"0000BEEF 0x000000ff", L"%08X %#010x", 0xBEEF, 255),
        FMT(L"10 010 0", L"%o %#o %#o", 8, 8, 0),
        FMT(L"-2147483648 4294967295", L"%ld %lu", LONG_MIN, ULONG_MAX),
        FMT(L"-1 1 -1", L"%hd %hu %hhd", 65535, 65537, 255),
    });
}

TEST(StringFormat, SixtyFourBitIntegersKeepTheFollowingArgumentsInStep)
{
    ExpectCases({
        FMT(L"9223372036854775807 7", L"%I64d %d", LLONG_MAX, 7),
        FMT(L"-9223372036854775808 8", L"%lld %d", LLONG_MIN, 8),
        FMT(L"18446744073709551615", L"%I64u", ULLONG_MAX),
        FMT(L"123456789abcdef0 x", L"%llx %c", 0x123456789abcdef0ULL, L'x'),
        FMT(L"1099511627776 -3 -5 123", L"%I64d %I32d %Id %zu", 1LL << 40, -3, static_cast<intptr_t>(-5),
            static_cast<size_t>(123)),
        FMT(L"0000000000001234", L"%p", reinterpret_cast<void*>(0x1234)),
    });
}

TEST(StringFormat, WidthAndPrecisionFromArguments)
{
    ExpectCases({
        FMT(L"   42", L"%*d", 5, 42),
        FMT(L"7   |", L"%-*d|", 4, 7),
        FMT(L"7   |", L"%*d|", -4, 7),  // a negative width means left-justified
        FMT(L"007", L"%.*d", 3, 7),
        FMT(L"  -007", L"%*.*d", 6, 3, -7),
        FMT(L"  3.14", L"%*.*f", 6, 2, 3.14159),
        FMT(L"3.141593", L"%.*f", -1, 3.14159265),  // a negative precision counts as none
        FMT(L"ab   |", L"%-*.*s|", 5, 2, L"abc"),
    });
}

TEST(StringFormat, FixedPoint)
{
    ExpectCases({
        FMT(L"3.141593", L"%f", 3.14159265),
        FMT(L" 2.500000", L" %f", 2.5),
        FMT(L"0.000000 -0.000000", L"%f %f", 0.0, -0.0),
        FMT(L"2.50", L"%0.2f", 2.5),
        FMT(L"1.00", L"%0.2f", 1.005),  // 1.005 is stored a little below
        FMT(L"   42", L"%5.0f", 42.4),
        FMT(L"   43 ", L"%5.0f ", 42.6),
        FMT(L"1.5000000", L"%5.7f", 1.5),
        FMT(L"0.10000000", L"%0.8f", 0.1),
        FMT(L"   -3.3", L"%7.1f", -3.26),
        FMT(L"0.1235", L"%4.4f", 0.12345),
        FMT(L"7.3 100.0", L"%3.1f %3.1f", 7.26, 100.04),
        FMT(L" 12.3 (+/- 0.6 %)", L"%5.1f (+/- %3.1f %c)", 12.34, 0.56, L'%'),
        FMT(L" (+/- 2.5 %)", L" (+/- %3.1f %c)", 2.45, L'%'),
        FMT(L"-00003.142", L"%010.3f", -3.14159),
        FMT(L"+2.0  2.0", L"%+.1f % .1f", 2.0, 2.0),
        FMT(L"1.50    |", L"%-8.2f|", 1.5),
        FMT(L"3 3.", L"%.0f %#.0f", 3.0, 3.0),
        FMT(L"-0.0", L"%.1f", -0.01),
        // Exact halves round to even, as the current Microsoft library does.
        FMT(L"2 4 0.12", L"%.0f %.0f %0.2f", 2.5, 3.5, 0.125),
        FMT(L"100000000000000000000.000000", L"%f", 1e20),
        FMT(L"0.10000000000000000555", L"%.20f", 0.1),
        FMT(L"0.000000", L"%f", 1e-7),
        FMT(L"1.500000", L"%Lf", 1.5L),
    });

    CString huge = CString::FormatText(L"%f", 1e300);
    EXPECT_EQ(L"1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375080447864043704443832883878176942523235360430575644792184786706982848387200926575803737830233794788090059368953234970799945081119038967640880074652742780142494579258788820056842838115669472196386865459400540160.000000", huge);
}

TEST(StringFormat, ExponentHasAtLeastTwoDigits)
{
    ExpectCases({
        FMT(L"1.500000e+03", L"%0.6e", 1500.0),
        FMT(L"1.500000e+03", L"%e", 1500.0),
        FMT(L"1.230000E-04", L"%E", 0.000123),
        FMT(L"0.000000e+00", L"%e", 0.0),
        FMT(L"1.000000e+300 1.000000e-300", L"%e %e", 1e300, 1e-300),
        FMT(L"-1.23e+04", L"%.2e", -12345.678),
        FMT(L"   1.235e+03", L"%12.3e", 1234.6),
        FMT(L"-0001.5e+00", L"%011.1e", -1.5),
        FMT(L"3.e+00", L"%#.0e", 3.0),
        FMT(L"4.940656e-324", L"%e", 4.9406564584124654e-324),
        FMT(L"0x1.8000000000000p+0 0X1.8P+0", L"%a %.1A", 1.5, 1.5),
    });
}

TEST(StringFormat, General)
{
    ExpectCases({
        FMT(L"1e-05", L"%.5g", 1e-05),
        FMT(L"1.2346e+05", L"%.5g", 123456.0),
        FMT(L"0.0001 12.5", L"%.5g %.5g", 0.0001, 12.5),
        FMT(L"100000 1e+06", L"%g %g", 100000.0, 1000000.0),
        FMT(L"1E-10", L"%G", 1e-10),
        FMT(L"0 1.5 0.5", L"%g %g %.0g", 0.0, 1.5, 0.5),
        FMT(L"1.23e+06", L"%.3g", 1234567.0),
        FMT(L"10", L"%g", 9.9999995),  // rounds up into the next decade
        FMT(L"1.00000 1.e+06", L"%#g %#.1g", 1.0, 1e6),
        FMT(L"9.99989e-321", L"%g", 1e-320),
        FMT(L"   -2.5", L"%7g", -2.5),
    });
}

TEST(StringFormat, InfinityAndNaN)
{
    ExpectCases({
        FMT(L"inf -inf nan nan", L"%f %f %f %f", kInf, -kInf, kNaN, -kNaN),
        FMT(L"INF -INF NAN", L"%F %E %G", kInf, -kInf, kNaN),
        FMT(L"inf -inf", L"%e %g", kInf, -kInf),
        FMT(L"   inf   -inf", L"%6.1f %06.1f", kInf, -kInf),  // never zero-padded
        FMT(L"nan   |+inf", L"%-6f|%+f", kNaN, kInf),
    });
}

TEST(StringFormat, TextAndCharacters)
{
    ExpectCases({
        FMT(L"abc", L"%s", L"abc"),
        FMT(L"one two", L"%s %s", L"one", L"two"),
        FMT(L"\\bold  Volume (m\u00b3)", L"\\bold  %s (%s)", L"Volume", L"m\u00b3"),
        FMT(L"       abc|abc       |", L"%10s|%-10s|", L"abc", L"abc"),
        FMT(L"ab", L"%.2s", L"abc"),
        FMT(L"000ab", L"%05s", L"ab"),  // Microsoft pads text with zeros too
        FMT(L"(null) (null) (nu", L"%s %S %.3s", static_cast<const wchar_t*>(nullptr),
            static_cast<const char*>(nullptr), static_cast<const wchar_t*>(nullptr)),
        FMT(L"narrow narrow wide wide", L"%S %hs %ls %ws", "narrow", "narrow", L"wide", L"wide"),
        FMT(L"x n n \u00e9", L"%c %C %hc %lc", L'x', 'n', 'n', L'\u00e9'),
        FMT(L"  x|x  |", L"%3c|%-3c|", L'x', L'x'),
        FMT(L"%", L"%%", 0),
        FMT(L"100% done", L"%d%% done", 100),
        FMT(L"\\bold  Fan (%)", L"\\bold  %s (%%)", L"Fan"),
    });

    // A precision lets the argument be a buffer without a terminating zero.
    const wchar_t wide[3] = {L'a', L'b', L'c'};
    const char narrow[3] = {'d', 'e', 'f'};
    EXPECT_STREQ(L"ab de", CString::FormatText(L"%.2s %.2hs", wide, narrow).GetString());
}

TEST(StringFormat, UnknownOrIncompleteConversionsAreCopied)
{
    int nWritten = 99;
    ExpectCases({
        FMT(L"Fan %) 100%", L"Fan %) 100%", 0),
        FMT(L"%y%5", L"%y%5", 0),
        FMT(L"abcd", L"ab%ncd", &nWritten),
        FMT(L"abc 7", L"abc %d", 7),
    });
    EXPECT_EQ(99, nWritten);

    CString s(L"old");
    s.Format(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StringFormat, LongTexts)
{
    std::wstring a(3000, L'a');
    std::wstring b(2000, L'b');
    CString s;
    s.Format(L"[%s|%s]", a.c_str(), b.c_str());
    EXPECT_EQ(L"[" + a + L"|" + b + L"]", s.str());

    s.Format(L"%-2000d|", 5);
    ASSERT_EQ(2001, s.GetLength());
    EXPECT_EQ(L'5', s[0]);
    EXPECT_EQ(L' ', s[1999]);
    EXPECT_EQ(L'|', s[2000]);

    s.Format(L"%.1500f", 1.0);
    EXPECT_EQ(1502, s.GetLength());
    EXPECT_EQ(0, s.Find(L"1.000"));

    // Absurd fields neither overflow nor exhaust memory.
    s.Format(L"%99999999999d|%.*s", 1, INT_MAX, L"abc");
    EXPECT_EQ((1 << 20) + 4, s.GetLength());
    EXPECT_EQ(L"1|abc", s.Right(5));
    s.Format(L"%*d|", INT_MIN, 1);
    EXPECT_EQ(L'1', s[0]);
    EXPECT_EQ((1 << 20) + 1, s.GetLength());
}

TEST(StringFormat, DecimalPointDoesNotFollowTheLocale)
{
    CScopedCommaLocale commaLocale;
    if (!commaLocale.Switched())
        GTEST_SKIP() << "no German locale to switch to";
    ASSERT_STREQ(",", localeconv()->decimal_point);

    ExpectCases({
        FMT(L"1.50 -2.5 1.500000e+03 0.0001 1e-05", L"%0.2f %g %e %.5g %.5g", 1.5, -2.5, 1500.0, 0.0001, 1e-05),
        FMT(L"0x1.8p+0", L"%.1a", 1.5),
    });
}

TEST(StringFormat, ArgumentMayBeTheStringItself)
{
    CString s(L"abc");
    s.Format(L"%s-%s", s.GetString(), s.GetString());
    EXPECT_EQ(L"abc-abc", s);

    s = L"ab";
    s.AppendFormat(L"[%s]", s.GetString());
    EXPECT_EQ(L"ab[ab]", s);

    s.AppendFormat(L"%d%s", 7, L"x");
    EXPECT_EQ(L"ab[ab]7x", s);
}

namespace {
CString FormatThroughVaList(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    CString s;
    s.FormatV(pszFormat, args);
    va_end(args);
    return s;
}
}  // namespace

TEST(StringFormat, FormatVTakesTheCallersArguments)
{
    EXPECT_EQ(L"COM3: Gauge 2.50", FormatThroughVaList(L"COM%d: %s %0.2f", 3, L"Gauge", 2.5));
}

TEST(String, ConstructionAndConversion)
{
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_EQ(L"ab", CString(L"abcdef", 2));
    EXPECT_TRUE(CString(L"abc", -1).IsEmpty());
    EXPECT_EQ(L"---", CString(L'-', 3));
    EXPECT_TRUE(CString(L'-', 0).IsEmpty());
    EXPECT_EQ(L"reply 42", CString("reply 42"));
    EXPECT_EQ(L"rep", CString("reply", 3));

    // Embedded zeros in a length-given buffer are kept.
    CString withZero("a\0b", 3);
    EXPECT_EQ(3, withZero.GetLength());
    EXPECT_EQ(L'b', withZero[2]);

    EXPECT_EQ("Volume 12.5", CString(L"Volume 12.5").ToAnsi());
    EXPECT_EQ("", CString().ToAnsi());
    if (GetACP() == 1252) {
        EXPECT_EQ(L"m\u00b3 \u00e9", CString("m\xb3 \xe9"));
        EXPECT_EQ("m\xb3 \xe9", CString(L"m\u00b3 \u00e9").ToAnsi());
        EXPECT_EQ("?", CString(L"\u4e2d").ToAnsi());  // no such character in the code page
    }
}

TEST(String, AssignmentAndConcatenation)
{
    CString s;
    s = L"abc";
    s = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = L'x';
    EXPECT_EQ(L"x", s);

    s = L"abcdef";
    s = s.GetString() + 2;  // a pointer into the string itself
    EXPECT_EQ(L"cdef", s);
    s += s.GetString();
    EXPECT_EQ(L"cdefcdef", s);
    s += static_cast<const wchar_t*>(nullptr);
    s += L'!';
    EXPECT_EQ(L"cdefcdef!", s);

    CString a(L"ab"), b(L"cd");
    EXPECT_EQ(L"abcd", a + b);
    EXPECT_EQ(L"ab.", a + L".");
    EXPECT_EQ(L".ab", L"." + a);
    EXPECT_EQ(L"ab-", a + L'-');
    EXPECT_EQ(L"-ab", L'-' + a);
    EXPECT_EQ(L"ab", a + static_cast<const wchar_t*>(nullptr));

    EXPECT_TRUE(CString() == static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(a != L"abc");
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);
}

TEST(String, ElementAccessOutOfRange)
{
    CString s(L"abc");
    EXPECT_EQ(L'a', s.GetAt(0));
    EXPECT_EQ(L'c', s[2]);
    EXPECT_EQ(L'\0', s.GetAt(3));
    EXPECT_EQ(L'\0', s.GetAt(-1));
    s.SetAt(1, L'X');
    s.SetAt(3, L'Y');
    s.SetAt(-1, L'Z');
    EXPECT_EQ(L"aXc", s);
}

TEST(String, ExtractionClampsItsArguments)
{
    struct Case {
        int first;
        int count;
        const wchar_t* mid;
    };
    const CString s(L"abcdef");
    for (const Case& c : {Case{0, 6, L"abcdef"}, Case{2, 2, L"cd"}, Case{4, 10, L"ef"}, Case{-3, 2, L"ab"},
                          Case{6, 1, L""}, Case{7, 1, L""}, Case{2, -1, L""}, Case{1, INT_MAX, L"bcdef"},
                          Case{INT_MAX, INT_MAX, L""}}) {
        EXPECT_EQ(c.mid, s.Mid(c.first, c.count)) << c.first << ", " << c.count;
    }
    EXPECT_EQ(L"cdef", s.Mid(2));
    EXPECT_EQ(L"abcdef", s.Mid(-1));
    EXPECT_EQ(L"", s.Mid(6));
    EXPECT_EQ(L"", s.Mid(100));

    EXPECT_EQ(L"ab", s.Left(2));
    EXPECT_EQ(L"", s.Left(-2));
    EXPECT_EQ(L"abcdef", s.Left(100));
    EXPECT_EQ(L"ef", s.Right(2));
    EXPECT_EQ(L"", s.Right(-2));
    EXPECT_EQ(L"abcdef", s.Right(100));

    EXPECT_EQ(L"Volume", CString(L"Volume (m3)").SpanExcluding(L"( "));
    EXPECT_EQ(L"abc", CString(L"abc").SpanExcluding(L"xyz"));
    EXPECT_EQ(L"abc", CString(L"abc").SpanExcluding(nullptr));
}

TEST(String, Searching)
{
    const CString path(L"C:\\data\\test.file.cfa");
    EXPECT_EQ(2, path.Find(L'\\'));
    EXPECT_EQ(7, path.Find(L'\\', 3));
    EXPECT_EQ(-1, path.Find(L'\\', 8));
    EXPECT_EQ(-1, path.Find(L'C', path.GetLength()));
    EXPECT_EQ(-1, path.Find(L'C', 1000));
    EXPECT_EQ(0, path.Find(L'C', -5));
    EXPECT_EQ(8, path.Find(L"test"));
    EXPECT_EQ(12, path.Find(L".", 10));
    EXPECT_EQ(-1, path.Find(L"test", 9));
    EXPECT_EQ(-1, path.Find(L"a", 1000));
    EXPECT_EQ(-1, path.Find(static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(17, path.ReverseFind(L'.'));
    EXPECT_EQ(7, path.ReverseFind(L'\\'));
    EXPECT_EQ(-1, path.ReverseFind(L'#'));
    EXPECT_EQ(12, path.FindOneOf(L".#"));
    EXPECT_EQ(-1, path.FindOneOf(L"#$"));
    EXPECT_EQ(-1, path.FindOneOf(L""));
}

TEST(String, ReplaceAndRemove)
{
    CString s(L"1.2.3");
    EXPECT_EQ(2, s.Replace(L".", L"/"));
    EXPECT_EQ(L"1/2/3", s);

    s = L"%5.0f %5.0f";
    EXPECT_EQ(2, s.Replace(L".0f", L".1f"));
    EXPECT_EQ(L"%5.1f %5.1f", s);

    // The inserted text is not searched again.
    s = L"aaa";
    EXPECT_EQ(3, s.Replace(L"a", L"aa"));
    EXPECT_EQ(L"aaaaaa", s);
    s = L"aaaa";
    EXPECT_EQ(2, s.Replace(L"aa", L"b"));
    EXPECT_EQ(L"bb", s);

    s = L"abc";
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(0, s.Replace(nullptr, L"x"));
    EXPECT_EQ(1, s.Replace(L"b", nullptr));
    EXPECT_EQ(L"ac", s);
    EXPECT_EQ(0, s.Replace(L"q", L"x"));

    // The old text may be a part of the string itself.
    s = L"abab";
    EXPECT_EQ(2, s.Replace(s.GetString() + 2, L"x"));
    EXPECT_EQ(L"xx", s);

    s = L"a,b,c";
    EXPECT_EQ(2, s.Replace(L',', L';'));
    EXPECT_EQ(L"a;b;c", s);
    EXPECT_EQ(0, s.Replace(L';', L';'));
    EXPECT_EQ(2, s.Remove(L';'));
    EXPECT_EQ(L"abc", s);
    EXPECT_EQ(0, s.Remove(L','));
}

TEST(String, InsertAndDeleteClamp)
{
    CString s(L"ace");
    EXPECT_EQ(4, s.Insert(1, L'b'));
    EXPECT_EQ(L"abce", s);
    EXPECT_EQ(5, s.Insert(100, L'!'));
    EXPECT_EQ(6, s.Insert(-4, L'^'));
    EXPECT_EQ(L"^abce!", s);
    EXPECT_EQ(8, s.Insert(4, L"dd"));
    EXPECT_EQ(L"^abcdde!", s);
    EXPECT_EQ(8, s.Insert(0, static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(16, s.Insert(0, s.GetString()));
    EXPECT_EQ(L"^abcdde!^abcdde!", s);

    s = L"abcdef";
    EXPECT_EQ(5, s.Delete(1));
    EXPECT_EQ(L"acdef", s);
    EXPECT_EQ(3, s.Delete(3, 100));
    EXPECT_EQ(L"acd", s);
    EXPECT_EQ(3, s.Delete(3, 1));
    EXPECT_EQ(3, s.Delete(100, 1));
    EXPECT_EQ(3, s.Delete(1, -2));
    EXPECT_EQ(2, s.Delete(-5, 1));
    EXPECT_EQ(L"cd", s);
    EXPECT_EQ(0, s.Delete(0, INT_MAX));
}

TEST(String, Trimming)
{
    CString s(L" \t\r\n\v\fvalue \t\r\n");
    EXPECT_EQ(L"value \t\r\n", CString(s).TrimLeft());
    EXPECT_EQ(L" \t\r\n\v\fvalue", CString(s).TrimRight());
    EXPECT_EQ(L"value", s.Trim());
    EXPECT_EQ(L"", CString(L" \t ").Trim());

    EXPECT_EQ(L"12.5  ", CString(L"  12.5  ").TrimLeft(L' '));
    EXPECT_EQ(L"\t12.5", CString(L" \t12.5").TrimLeft(L' '));
    EXPECT_EQ(L"  12.5", CString(L"  12.5  ").TrimRight(L' '));
    EXPECT_EQ(L"", CString(L"xxx").TrimRight(L'x'));
    EXPECT_EQ(L"5.", CString(L"005.00").TrimLeft(L'0').TrimRight(L'0'));
    EXPECT_EQ(L"abc", CString(L"-+abc+-").TrimLeft(L"+-").TrimRight(L"-+"));
    EXPECT_EQ(L" a ", CString(L" a ").TrimLeft(L"").TrimRight(static_cast<const wchar_t*>(nullptr)));
}

TEST(String, CaseAndComparison)
{
    EXPECT_EQ(L"TEST.CFA \u00c9", CString(L"test.cfa \u00e9").MakeUpper());
    EXPECT_EQ(L"test.cfa \u00e9", CString(L"TEST.CFA \u00c9").MakeLower());
    EXPECT_EQ(L"cba", CString(L"abc").MakeReverse());

    EXPECT_EQ(0, CString(L"abc").Compare(L"abc"));
    EXPECT_EQ(-1, CString(L"abc").Compare(L"abd"));
    EXPECT_EQ(1, CString(L"abc").Compare(L"ab"));
    EXPECT_EQ(1, CString(L"a").Compare(nullptr));
    EXPECT_EQ(0, CString().Compare(nullptr));
    EXPECT_EQ(-1, CString(L"B").Compare(L"a"));  // ordinal, not linguistic

    EXPECT_EQ(0, CString(L".CFA").CompareNoCase(L".cfa"));
    EXPECT_EQ(0, CString(L"\u00c9t\u00e9").CompareNoCase(L"\u00e9T\u00c9"));
    EXPECT_EQ(-1, CString(L"abc").CompareNoCase(L"ABD"));
    EXPECT_EQ(1, CString(L"abcd").CompareNoCase(L"ABC"));
    EXPECT_EQ(1, CString(L"a").CompareNoCase(nullptr));
}

TEST(String, BufferContract)
{
    CString s(L"abc");
    wchar_t* p = s.GetBuffer(10);
    wcscpy_s(p, 11, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(L"0123456789", s);

    p = s.GetBuffer(4);  // shorter than the text: the text stays
    EXPECT_STREQ(L"0123456789", p);
    p[2] = L'\0';
    s.ReleaseBuffer();
    EXPECT_EQ(L"01", s);

    p = s.GetBuffer(8);
    wmemcpy(p, L"xy\0z", 4);
    s.ReleaseBuffer(4);  // an explicit length keeps an embedded zero
    EXPECT_EQ(4, s.GetLength());
    EXPECT_EQ(L'z', s[3]);

    s = L"abc";
    s.GetBuffer(20);
    s.ReleaseBuffer();  // nothing written: the text is unchanged
    EXPECT_EQ(L"abc", s);
    s.GetBuffer();
    s.ReleaseBuffer(100);  // clamped to what the buffer holds
    EXPECT_EQ(L"abc", s);

    p = s.GetBufferSetLength(2);
    EXPECT_EQ(2, s.GetLength());
    EXPECT_EQ(L'\0', p[2]);
    p[1] = L'Z';
    EXPECT_EQ(L"aZ", s);
    s.GetBufferSetLength(-1);
    EXPECT_TRUE(s.IsEmpty());

    // The usual pattern with a Win32 call that writes into the buffer.
    DWORD n = GetModuleFileNameW(nullptr, s.GetBuffer(MAX_PATH), MAX_PATH);
    s.ReleaseBuffer(static_cast<int>(n));
    EXPECT_EQ(static_cast<int>(n), s.GetLength());
    EXPECT_EQ(0, s.Right(4).CompareNoCase(L".exe"));
}

TEST(String, LoadString)
{
    CString s(L"previous");
    EXPECT_FALSE(s.LoadString(65000));
    EXPECT_TRUE(s.IsEmpty());

    ASSERT_TRUE(s.LoadString(57344));
    EXPECT_EQ(L"QARSEAL Vudadar 5.1", s);
}

TEST(StringArray, GrowsAndChecksIndexes)
{
    CStringArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(0, a.Add(L"one"));
    EXPECT_EQ(1, a.Add(L"three"));
    a.InsertAt(1, L"two");
    EXPECT_EQ(3, a.GetSize());
    EXPECT_EQ(L"two", a[1]);
    EXPECT_EQ(L"three", a.GetAt(2));

    a.SetAtGrow(5, L"six");
    EXPECT_EQ(6, a.GetCount());
    EXPECT_TRUE(a[4].IsEmpty());
    a.InsertAt(8, L"nine");
    EXPECT_EQ(9, a.GetSize());
    EXPECT_EQ(L"nine", a[8]);

    a.RemoveAt(3, 5);
    ASSERT_EQ(4, a.GetSize());
    EXPECT_EQ(L"nine", a[3]);
    a.SetAt(0, L"first");
    a.ElementAt(1) += L"!";
    a[2] = L"3";
    EXPECT_EQ(L"first", a[0]);
    EXPECT_EQ(L"two!", a[1]);
    EXPECT_EQ(L"3", a[2]);

    EXPECT_THROW(a.GetAt(4), std::out_of_range);
    EXPECT_THROW(a.SetAt(-1, L"x"), std::out_of_range);
    EXPECT_THROW(a.SetAtGrow(-1, L"x"), std::out_of_range);
    EXPECT_THROW(a.InsertAt(-1, L"x"), std::out_of_range);
    EXPECT_THROW(a.RemoveAt(3, 2), std::out_of_range);
    EXPECT_THROW(a.RemoveAt(-1), std::out_of_range);
    EXPECT_EQ(4, a.GetSize());

    a.SetSize(40);
    EXPECT_EQ(40, a.GetSize());
    EXPECT_EQ(L"first", a[0]);
    a.SetSize(-1);
    EXPECT_TRUE(a.IsEmpty());
    a.Add(L"x");
    a.RemoveAll();
    EXPECT_EQ(0, a.GetSize());
}
