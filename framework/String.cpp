#include "framework/String.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <stdexcept>
#include <string_view>

namespace {

bool IsTrimSpace(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\v' || ch == L'\f';
}

std::wstring_view View(const wchar_t* psz)
{
    return psz != nullptr ? std::wstring_view(psz) : std::wstring_view();
}

std::wstring FromCodePage(const char* pch, int nLength)
{
    if (pch == nullptr || nLength <= 0)
        return {};
    int nWide = MultiByteToWideChar(CP_ACP, 0, pch, nLength, nullptr, 0);
    if (nWide <= 0)
        return {};
    std::wstring result(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, pch, nLength, result.data(), nWide);
    return result;
}

// Upper or lower case by the invariant locale, so the result does not depend
// on the user's language (no Turkish dotless i in file keys).
void MapCase(std::wstring& s, DWORD dwMapFlags)
{
    if (s.empty())
        return;
    std::wstring mapped(s.size(), L'\0');
    int n = LCMapStringEx(LOCALE_NAME_INVARIANT, dwMapFlags, s.data(), static_cast<int>(s.size()),
                          mapped.data(), static_cast<int>(mapped.size()), nullptr, nullptr, 0);
    if (n == static_cast<int>(s.size())) {
        s.swap(mapped);
        return;
    }
    for (wchar_t& ch : s)
        ch = dwMapFlags == LCMAP_UPPERCASE ? towupper(ch) : towlower(ch);
}

// ---------------------------------------------------------------------------
// printf-style formatting.
//
// mingw-w64 compiles C++ with its C99 printf family (__USE_MINGW_ANSI_STDIO),
// where a wide format's %s means a narrow string; the legacy Microsoft
// library it would otherwise call writes three exponent digits; and both take
// the decimal point from the C locale. The program's formats are
// written for the Microsoft meaning, so every conversion is rendered here:
// integers by hand, floating-point numbers through std::to_chars (exact,
// locale-independent, two-digit exponents). Choices where implementations
// differ:
// - %s %c %ls %lc %ws %wc are wide, %S %C %hs %hc narrow (system code page);
//   a null string prints "(null)". A '0' flag pads strings with zeros, as the
//   Microsoft library does.
// - %p prints 16 upper-case hexadecimal digits; %a defaults to 13 digits.
// - Infinity and NaN print "inf", "-inf", "nan" ("INF", "-INF", "NAN" for the
//   upper-case conversions), padded with blanks even under the '0' flag; NaN
//   is never signed "-".
// - %f digits are exact ("%.20f" of 0.1 gives 0.10000000000000000555).
// - L before a floating conversion takes a long double, printed with double
//   precision; L or q before an integer conversion means 64 bits.
// - %n writes nothing (its pointer is skipped); a conversion this walker does
//   not know is copied to the output as written.
// - Widths, and the precision of numbers, are capped at kMaxField characters.

constexpr int kMaxField = 1 << 20;

struct FieldFormat {
    bool bLeft = false;
    bool bPlus = false;
    bool bSpace = false;
    bool bAlternate = false;
    bool bZero = false;
    int nWidth = 0;
    int nPrecision = -1;  // -1: not given
};

enum class ArgSize { Default, Char, Short, Long, LongLong, Int32, Int64, Pointer, LongDouble, Wide };

// Writes prefix and body into the field; zero padding goes between them.
void EmitField(std::wstring& out, const FieldFormat& field, std::wstring_view prefix, std::wstring_view body,
               bool bZeroPadAllowed)
{
    size_t nText = prefix.size() + body.size();
    size_t nPad = field.nWidth > 0 && static_cast<size_t>(field.nWidth) > nText ? field.nWidth - nText : 0;
    if (field.bLeft) {
        out.append(prefix);
        out.append(body);
        out.append(nPad, L' ');
    } else if (field.bZero && bZeroPadAllowed) {
        out.append(prefix);
        out.append(nPad, L'0');
        out.append(body);
    } else {
        out.append(nPad, L' ');
        out.append(prefix);
        out.append(body);
    }
}

std::wstring Widen(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::wstring_view SignPrefix(bool bNegative, const FieldFormat& field)
{
    if (bNegative)
        return L"-";
    if (field.bPlus)
        return L"+";
    if (field.bSpace)
        return L" ";
    return {};
}

void EmitInteger(std::wstring& out, const FieldFormat& field, unsigned long long nMagnitude, bool bNegative,
                 wchar_t conversion)
{
    int nBase = 10;
    if (conversion == L'o')
        nBase = 8;
    else if (conversion == L'x' || conversion == L'X')
        nBase = 16;

    char buf[32];
    std::string digits;
    if (!(field.nPrecision == 0 && nMagnitude == 0)) {
        auto res = std::to_chars(buf, buf + sizeof buf, nMagnitude, nBase);
        digits.assign(buf, res.ptr);
    }
    if (conversion == L'X')
        std::transform(digits.begin(), digits.end(), digits.begin(), [](char c) { return static_cast<char>(toupper(c)); });
    if (field.nPrecision > 0 && digits.size() < static_cast<size_t>(field.nPrecision))
        digits.insert(0, field.nPrecision - digits.size(), '0');

    std::wstring prefix;
    if (conversion == L'd' || conversion == L'i')
        prefix = SignPrefix(bNegative, field);
    if (field.bAlternate) {
        if (nBase == 8 && (digits.empty() || digits[0] != '0'))
            digits.insert(0, 1, '0');
        else if (nBase == 16 && nMagnitude != 0)
            prefix += conversion == L'X' ? L"0X" : L"0x";
    }
    // An explicit precision turns zero padding off, as C and the Microsoft library agree.
    EmitField(out, field, prefix, Widen(digits), field.nPrecision < 0);
}

std::string ToChars(double value, std::chars_format fmt, int nPrecision)
{
    // Fixed notation of the largest double has 309 integer digits.
    std::string buf(static_cast<size_t>(nPrecision) + 400, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, fmt, nPrecision);
    buf.resize(res.ec == std::errc() ? static_cast<size_t>(res.ptr - buf.data()) : 0);
    return buf;
}

// C's %g rule: with P significant digits and X the decimal exponent after
// rounding, fixed notation when -4 <= X < P, else scientific; trailing zeros
// go unless '#' keeps them.
std::string FormatGeneral(double value, int nPrecision, bool bAlternate)
{
    int nSignificant = nPrecision < 0 ? 6 : (nPrecision == 0 ? 1 : nPrecision);
    std::string sci = ToChars(value, std::chars_format::scientific, nSignificant - 1);
    size_t ePos = sci.find('e');
    int nExponent = ePos == std::string::npos ? 0 : std::atoi(sci.c_str() + ePos + 1);
    std::string text;
    std::string exponent;
    if (nExponent < nSignificant && nExponent >= -4) {
        text = ToChars(value, std::chars_format::fixed, nSignificant - 1 - nExponent);
    } else {
        text = sci.substr(0, ePos);
        exponent = sci.substr(ePos);
    }
    size_t dot = text.find('.');
    if (!bAlternate) {
        if (dot != std::string::npos) {
            size_t end = text.find_last_not_of('0');
            text.erase(end == dot ? dot : end + 1);
        }
    } else if (dot == std::string::npos) {
        text += '.';
    }
    return text + exponent;
}

void EmitFloat(std::wstring& out, const FieldFormat& field, double value, wchar_t conversion)
{
    bool bUpper = conversion == L'E' || conversion == L'F' || conversion == L'G' || conversion == L'A';
    if (std::isnan(value)) {
        EmitField(out, field, SignPrefix(false, field), bUpper ? L"NAN" : L"nan", false);
        return;
    }
    std::wstring_view sign = SignPrefix(std::signbit(value), field);
    if (std::isinf(value)) {
        EmitField(out, field, sign, bUpper ? L"INF" : L"inf", false);
        return;
    }

    double magnitude = std::fabs(value);
    std::string text;
    std::wstring prefix(sign);
    switch (towlower(conversion)) {
    case L'f':
        text = ToChars(magnitude, std::chars_format::fixed, field.nPrecision < 0 ? 6 : field.nPrecision);
        if (field.bAlternate && field.nPrecision == 0)
            text += '.';
        break;
    case L'e':
        text = ToChars(magnitude, std::chars_format::scientific, field.nPrecision < 0 ? 6 : field.nPrecision);
        if (field.bAlternate && field.nPrecision == 0)
            text.insert(text.find('e'), 1, '.');
        break;
    case L'g':
        text = FormatGeneral(magnitude, field.nPrecision, field.bAlternate);
        break;
    default:  // 'a'
        text = ToChars(magnitude, std::chars_format::hex, field.nPrecision < 0 ? 13 : field.nPrecision);
        if (field.bAlternate && field.nPrecision == 0)
            text.insert(text.find('p'), 1, '.');
        prefix += bUpper ? L"0X" : L"0x";
        break;
    }
    if (bUpper)
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(toupper(c)); });
    EmitField(out, field, prefix, Widen(text), true);
}

long long ReadSigned(va_list& args, ArgSize size)
{
    switch (size) {
    case ArgSize::Char:
        return static_cast<signed char>(va_arg(args, int));
    case ArgSize::Short:
        return static_cast<short>(va_arg(args, int));
    case ArgSize::Long:
        return va_arg(args, long);
    case ArgSize::LongLong:
    case ArgSize::LongDouble:
    case ArgSize::Int64:
        return va_arg(args, long long);
    case ArgSize::Pointer:
        return va_arg(args, intptr_t);
    default:
        return va_arg(args, int);
    }
}

unsigned long long ReadUnsigned(va_list& args, ArgSize size)
{
    switch (size) {
    case ArgSize::Char:
        return static_cast<unsigned char>(va_arg(args, unsigned int));
    case ArgSize::Short:
        return static_cast<unsigned short>(va_arg(args, unsigned int));
    case ArgSize::Long:
        return va_arg(args, unsigned long);
    case ArgSize::LongLong:
    case ArgSize::LongDouble:
    case ArgSize::Int64:
        return va_arg(args, unsigned long long);
    case ArgSize::Pointer:
        return va_arg(args, uintptr_t);
    default:
        return va_arg(args, unsigned int);
    }
}

// Parses a run of digits, saturating instead of overflowing.
int ParseNumber(const wchar_t*& p)
{
    int n = 0;
    while (*p >= L'0' && *p <= L'9') {
        int digit = *p - L'0';
        n = n > (INT_MAX - digit) / 10 ? INT_MAX : n * 10 + digit;
        ++p;
    }
    return n;
}

ArgSize ParseSize(const wchar_t*& p)
{
    switch (*p) {
    case L'h':
        ++p;
        if (*p == L'h') {
            ++p;
            return ArgSize::Char;
        }
        return ArgSize::Short;
    case L'l':
        ++p;
        if (*p == L'l') {
            ++p;
            return ArgSize::LongLong;
        }
        return ArgSize::Long;
    case L'L':
        ++p;
        return ArgSize::LongDouble;
    case L'q':
        ++p;
        return ArgSize::LongLong;
    case L'w':
        ++p;
        return ArgSize::Wide;
    case L'z':
    case L't':
    case L'j':
        ++p;
        return ArgSize::Pointer;
    case L'I':
        if (p[1] == L'6' && p[2] == L'4') {
            p += 3;
            return ArgSize::Int64;
        }
        if (p[1] == L'3' && p[2] == L'2') {
            p += 3;
            return ArgSize::Int32;
        }
        ++p;
        return ArgSize::Pointer;
    default:
        return ArgSize::Default;
    }
}

void EmitText(std::wstring& out, const FieldFormat& field, std::wstring_view text)
{
    EmitField(out, field, {}, text, true);
}

// Reads flags, width and precision after a '%'; a '*' takes an int argument.
FieldFormat ParseFieldFormat(const wchar_t*& p, va_list& args)
{
    FieldFormat field;
    for (;; ++p) {
        if (*p == L'-')
            field.bLeft = true;
        else if (*p == L'+')
            field.bPlus = true;
        else if (*p == L' ')
            field.bSpace = true;
        else if (*p == L'#')
            field.bAlternate = true;
        else if (*p == L'0')
            field.bZero = true;
        else
            break;
    }
    if (*p == L'*') {
        ++p;
        int n = va_arg(args, int);
        if (n < 0) {
            field.bLeft = true;
            n = n == INT_MIN ? INT_MAX : -n;
        }
        field.nWidth = n;
    } else {
        field.nWidth = ParseNumber(p);
    }
    field.nWidth = std::min(field.nWidth, kMaxField);
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            ++p;
            int n = va_arg(args, int);
            field.nPrecision = n < 0 ? -1 : n;
        } else {
            field.nPrecision = ParseNumber(p);
        }
    }
    return field;
}

// Renders one conversion; false when the conversion character is unknown.
bool EmitConversion(std::wstring& out, wchar_t conversion, ArgSize size, const FieldFormat& field, va_list& args)
{
    // Text takes any precision; a number's precision is digits to write.
    FieldFormat numberField = field;
    numberField.nPrecision = std::min(field.nPrecision, kMaxField);
    bool bNarrow = size == ArgSize::Short || size == ArgSize::Char ||
                   ((conversion == L'C' || conversion == L'S') && size != ArgSize::Long && size != ArgSize::Wide);

    switch (conversion) {
    case L'%':
        out += L'%';
        return true;
    case L'd':
    case L'i': {
        long long n = ReadSigned(args, size);
        unsigned long long magnitude = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
        EmitInteger(out, numberField, magnitude, n < 0, conversion);
        return true;
    }
    case L'u':
    case L'o':
    case L'x':
    case L'X':
        EmitInteger(out, numberField, ReadUnsigned(args, size), false, conversion);
        return true;
    case L'p': {
        FieldFormat pointerField = field;
        pointerField.nPrecision = 2 * static_cast<int>(sizeof(void*));
        EmitInteger(out, pointerField, reinterpret_cast<uintptr_t>(va_arg(args, void*)), false, L'X');
        return true;
    }
    case L'e':
    case L'E':
    case L'f':
    case L'F':
    case L'g':
    case L'G':
    case L'a':
    case L'A': {
        double value = size == ArgSize::LongDouble ? static_cast<double>(va_arg(args, long double))
                                                   : va_arg(args, double);
        EmitFloat(out, numberField, value, conversion);
        return true;
    }
    case L'c':
    case L'C': {
        int ch = va_arg(args, int);
        if (bNarrow) {
            char narrow = static_cast<char>(ch);
            std::wstring wide = FromCodePage(&narrow, 1);
            EmitText(out, field, wide.empty() ? std::wstring_view(L"?") : std::wstring_view(wide));
        } else {
            wchar_t wide = static_cast<wchar_t>(ch);
            EmitText(out, field, std::wstring_view(&wide, 1));
        }
        return true;
    }
    case L's':
    case L'S':
        // With a precision the argument need not be zero-terminated.
        if (bNarrow) {
            const char* psz = va_arg(args, const char*);
            if (psz == nullptr)
                psz = "(null)";
            size_t n = field.nPrecision < 0 ? strlen(psz) : strnlen(psz, field.nPrecision);
            EmitText(out, field, FromCodePage(psz, static_cast<int>(n)));
        } else {
            const wchar_t* psz = va_arg(args, const wchar_t*);
            if (psz == nullptr)
                psz = L"(null)";
            size_t n = field.nPrecision < 0 ? wcslen(psz) : wcsnlen(psz, field.nPrecision);
            EmitText(out, field, std::wstring_view(psz, n));
        }
        return true;
    case L'n':
        // Writing through a format argument is a known attack path; only skip it.
        (void)va_arg(args, void*);
        return true;
    default:
        return false;
    }
}

void FormatInto(std::wstring& out, const wchar_t* pszFormat, va_list& args)
{
    if (pszFormat == nullptr)
        return;
    const wchar_t* p = pszFormat;
    while (*p != L'\0') {
        if (*p != L'%') {
            const wchar_t* start = p;
            while (*p != L'\0' && *p != L'%')
                ++p;
            out.append(start, p);
            continue;
        }
        const wchar_t* fieldStart = p++;
        FieldFormat field = ParseFieldFormat(p, args);
        ArgSize size = ParseSize(p);
        wchar_t conversion = *p;
        if (conversion != L'\0')
            ++p;
        if (!EmitConversion(out, conversion, size, field, args))
            out.append(fieldStart, p);
    }
}

std::wstring FormatToString(const wchar_t* pszFormat, va_list args)
{
    std::wstring out;
    va_list copy;
    va_copy(copy, args);
    FormatInto(out, pszFormat, copy);
    va_end(copy);
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------
// CString

CString::CString(const wchar_t* psz) : m_str(View(psz))
{
}

CString::CString(const wchar_t* pch, int nLength)
{
    if (pch != nullptr && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(wchar_t ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(const char* psz) : m_str(psz != nullptr ? FromCodePage(psz, static_cast<int>(strlen(psz))) : std::wstring())
{
}

CString::CString(const char* pch, int nLength) : m_str(FromCodePage(pch, nLength))
{
}

CString& CString::operator=(const wchar_t* psz)
{
    m_str.assign(View(psz));
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    m_str.assign(1, ch);
    return *this;
}

wchar_t CString::GetAt(int i) const
{
    return i >= 0 && i < GetLength() ? m_str[i] : L'\0';
}

void CString::SetAt(int i, wchar_t ch)
{
    if (i >= 0 && i < GetLength())
        m_str[i] = ch;
}

CString CString::Left(int n) const
{
    return CString(m_str.substr(0, static_cast<size_t>(std::clamp(n, 0, GetLength()))));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_str.substr(first, count));
}

CString CString::Right(int n) const
{
    n = std::clamp(n, 0, GetLength());
    return CString(m_str.substr(m_str.size() - n));
}

CString CString::SpanExcluding(const wchar_t* pszCharSet) const
{
    int n = FindOneOf(pszCharSet);
    return n < 0 ? *this : Left(n);
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0)
        start = 0;
    if (start >= GetLength())
        return -1;
    size_t pos = m_str.find(ch, start);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* psz, int start) const
{
    if (psz == nullptr)
        return -1;
    if (start < 0)
        start = 0;
    if (start > GetLength())
        return -1;
    size_t pos = m_str.find(psz, start);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* pszCharSet) const
{
    if (pszCharSet == nullptr || *pszCharSet == L'\0')
        return -1;
    size_t pos = m_str.find_first_of(pszCharSet);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(wchar_t chOld, wchar_t chNew)
{
    if (chOld == chNew)
        return 0;
    int n = 0;
    for (wchar_t& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++n;
        }
    }
    return n;
}

int CString::Replace(const wchar_t* pszOld, const wchar_t* pszNew)
{
    std::wstring_view oldText = View(pszOld);
    if (oldText.empty())
        return 0;
    // The new text may point into this string: take copies first.
    std::wstring oldCopy(oldText);
    std::wstring newText(View(pszNew));
    std::wstring result;
    int n = 0;
    size_t from = 0;
    for (size_t pos; (pos = m_str.find(oldCopy, from)) != std::wstring::npos; from = pos + oldCopy.size()) {
        result.append(m_str, from, pos - from);
        result += newText;
        ++n;
    }
    if (n > 0) {
        result.append(m_str, from, std::wstring::npos);
        m_str.swap(result);
    }
    return n;
}

int CString::Remove(wchar_t ch)
{
    size_t nOld = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(nOld - m_str.size());
}

int CString::Insert(int i, wchar_t ch)
{
    m_str.insert(static_cast<size_t>(std::clamp(i, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int i, const wchar_t* psz)
{
    std::wstring text(View(psz));
    m_str.insert(static_cast<size_t>(std::clamp(i, 0, GetLength())), text);
    return GetLength();
}

int CString::Delete(int i, int count)
{
    if (i < 0)
        i = 0;
    if (i < GetLength() && count > 0)
        m_str.erase(i, static_cast<size_t>(std::min(count, GetLength() - i)));
    return GetLength();
}

CString& CString::TrimLeft()
{
    auto it = std::find_if_not(m_str.begin(), m_str.end(), IsTrimSpace);
    m_str.erase(m_str.begin(), it);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch)
{
    m_str.erase(0, std::min(m_str.find_first_not_of(ch), m_str.size()));
    return *this;
}

CString& CString::TrimLeft(const wchar_t* pszChars)
{
    if (pszChars != nullptr && *pszChars != L'\0')
        m_str.erase(0, std::min(m_str.find_first_not_of(pszChars), m_str.size()));
    return *this;
}

CString& CString::TrimRight()
{
    auto it = std::find_if_not(m_str.rbegin(), m_str.rend(), IsTrimSpace);
    m_str.erase(it.base(), m_str.end());
    return *this;
}

CString& CString::TrimRight(wchar_t ch)
{
    size_t last = m_str.find_last_not_of(ch);
    m_str.erase(last == std::wstring::npos ? 0 : last + 1);
    return *this;
}

CString& CString::TrimRight(const wchar_t* pszChars)
{
    if (pszChars == nullptr || *pszChars == L'\0')
        return *this;
    size_t last = m_str.find_last_not_of(pszChars);
    m_str.erase(last == std::wstring::npos ? 0 : last + 1);
    return *this;
}

CString& CString::Trim()
{
    TrimRight();
    return TrimLeft();
}

CString& CString::MakeUpper()
{
    MapCase(m_str, LCMAP_UPPERCASE);
    return *this;
}

CString& CString::MakeLower()
{
    MapCase(m_str, LCMAP_LOWERCASE);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Compare(const wchar_t* psz) const
{
    int n = m_str.compare(View(psz));
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* psz) const
{
    // CompareStringOrdinal fails on a null pointer even with a zero length.
    std::wstring_view other = psz != nullptr ? psz : L"";
    int n = CompareStringOrdinal(m_str.c_str(), GetLength(), other.data(), static_cast<int>(other.size()), TRUE);
    return n == CSTR_LESS_THAN ? -1 : (n == CSTR_GREATER_THAN ? 1 : 0);
}

void CString::Format(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* pszFormat, va_list args)
{
    // Built apart and assigned at the end: an argument may be this string.
    m_str = FormatToString(pszFormat, args);
}

void CString::AppendFormat(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    m_str += FormatToString(pszFormat, args);
    va_end(args);
}

CString CString::FormatText(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    CString result(FormatToString(pszFormat, args));
    va_end(args);
    return result;
}

CString LoadText(unsigned int nID)
{
    CString str;
    str.LoadString(nID);
    return str;
}

bool CString::LoadString(unsigned int nID)
{
    // With a zero buffer size LoadStringW returns a pointer to the text in the
    // mapped resource (not zero-terminated) and its exact length.
    const wchar_t* pText = nullptr;
    int n = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pText), 0);
    if (n <= 0 || pText == nullptr) {
        m_str.clear();
        return false;
    }
    m_str.assign(pText, static_cast<size_t>(n));
    return true;
}

wchar_t* CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinLength));
    return m_str.data();
}

wchar_t* CString::GetBuffer()
{
    return m_str.data();
}

wchar_t* CString::GetBufferSetLength(int nLength)
{
    m_str.resize(static_cast<size_t>(std::max(nLength, 0)));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    size_t n = nNewLength < 0 ? wcsnlen(m_str.c_str(), m_str.size())
                              : std::min(static_cast<size_t>(nNewLength), m_str.size());
    m_str.resize(n);
}

std::string CString::ToAnsi() const
{
    if (m_str.empty())
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, m_str.data(), GetLength(), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, m_str.data(), GetLength(), result.data(), n, nullptr, nullptr);
    return result;
}

CString& CString::operator+=(const wchar_t* psz)
{
    m_str.append(View(psz));
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.m_str + b.m_str);
}

CString operator+(const CString& a, const wchar_t* b)
{
    std::wstring s(a.m_str);
    s.append(View(b));
    return CString(std::move(s));
}

CString operator+(const wchar_t* a, const CString& b)
{
    std::wstring s(View(a));
    s += b.m_str;
    return CString(std::move(s));
}

CString operator+(const CString& a, wchar_t b)
{
    return CString(a.m_str + b);
}

CString operator+(wchar_t a, const CString& b)
{
    return CString(a + b.m_str);
}

bool operator==(const CString& a, const wchar_t* b)
{
    return a.m_str == View(b);
}

// ---------------------------------------------------------------------------
// CStringArray

void CStringArray::SetAtGrow(int i, const CString& s)
{
    if (i < 0)
        throw std::out_of_range("CStringArray::SetAtGrow");
    if (i >= GetSize())
        m_items.resize(static_cast<size_t>(i) + 1);
    m_items[i] = s;
}

void CStringArray::InsertAt(int i, const CString& s)
{
    if (i < 0)
        throw std::out_of_range("CStringArray::InsertAt");
    if (i > GetSize())
        m_items.resize(static_cast<size_t>(i));
    m_items.insert(m_items.begin() + i, s);
}

void CStringArray::RemoveAt(int i, int count)
{
    if (i < 0 || count < 0 || i > GetSize() || count > GetSize() - i)
        throw std::out_of_range("CStringArray::RemoveAt");
    m_items.erase(m_items.begin() + i, m_items.begin() + i + count);
}

HINSTANCE AfxGetResourceHandle()
{
    return GetModuleHandleW(nullptr);
}
