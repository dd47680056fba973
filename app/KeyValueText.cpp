// Key-value text: the lines every file of the program is made of, and the
// lookups that find a value again anywhere in a whole text.
#include "app/Simbrel1View.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "app/Globals.h"

// Where the first line that starts with key begins, npos when there is
// none. A key preceded by any character other than CR or LF is part of
// another line (a longer key or a value) and does not count.
//
// Horspool's search: the skip table is indexed by a character's low byte;
// characters that share it share the smallest skip, which keeps every shift
// safe.
size_t FindKeyAtLineStart(std::wstring_view text, std::wstring_view key)
{
    const size_t m = key.size();
    if (m == 0)
        return std::wstring_view::npos;
    size_t skip[256];
    for (size_t& n : skip)
        n = m;
    for (size_t i = 0; i + 1 < m; ++i)
        skip[key[i] & 0xFF] = m - 1 - i;
    const wchar_t chLast = key[m - 1];
    const std::wstring_view head = key.substr(0, m - 1);
    for (size_t nPos = 0; nPos + m <= text.size();) {
        const wchar_t ch = text[nPos + m - 1];
        if (ch == chLast && text.compare(nPos, m - 1, head) == 0 &&
            (nPos == 0 || text[nPos - 1] == L'\r' || text[nPos - 1] == L'\n'))
            return nPos;
        nPos += skip[ch & 0xFF];
    }
    return std::wstring_view::npos;
}

CString LookUpKeyValue(std::wstring_view key, std::wstring_view text, size_t nKeyPos)
{
    if (nKeyPos == std::wstring_view::npos)
        return CString();
    size_t nStart = nKeyPos + key.size();
    const size_t nEnd = text.find_first_of(L"\r\n", nStart);
    // A value that no line break closes is not taken: the file may have
    // been cut off in the middle of it.
    if (nEnd == std::wstring_view::npos)
        return CString();
    while (nStart < nEnd && text[nStart] == L' ')
        ++nStart;
    return CString(text.data() + nStart, static_cast<int>(nEnd - nStart));
}

// ---------------------------------------------------------------------------
// The indexed text.

CKeyedText& CKeyedText::operator=(const CKeyedText& other)
{
    if (this != &other)
        *this = other.m_strText;
    return *this;
}

CKeyedText& CKeyedText::operator=(const CString& strText)
{
    Empty();
    m_strText = strText;
    return *this;
}

CKeyedText& CKeyedText::operator=(CString&& strText) noexcept
{
    Empty();
    m_strText = std::move(strText);
    return *this;
}

CKeyedText& CKeyedText::operator=(const wchar_t* pszText)
{
    return *this = CString(pszText);
}

void CKeyedText::Empty()
{
    m_index.clear();
    m_bIndexed = false;
    m_strText.Empty();
}

void CKeyedText::Swap(CString& strText) noexcept
{
    m_index.clear();
    m_bIndexed = false;
    std::swap(m_strText, strText);
}

// One pass: at every line start, the characters up to the first colon make
// the line's head, unless a line break comes first. The first line start of
// a head wins, as the scan from the text's start finds it.
void CKeyedText::BuildIndex() const
{
    m_index.clear();
    const std::wstring_view text = m_strText.str();
    const size_t n = text.size();
    size_t nLineStart = 0;
    while (nLineStart < n) {
        size_t i = nLineStart;
        while (i < n && text[i] != L':' && text[i] != L'\r' && text[i] != L'\n')
            ++i;
        if (i < n && text[i] == L':')
            m_index.try_emplace(text.substr(nLineStart, i + 1 - nLineStart), nLineStart);
        // The next line start: right after the next CR or LF.
        while (i < n && text[i] != L'\r' && text[i] != L'\n')
            ++i;
        nLineStart = i + 1;
    }
    m_bIndexed = true;
}

size_t CKeyedText::FindKey(std::wstring_view key) const
{
    // The index answers for keys that end in their only colon and hold no
    // line break, which every key of the format does: a line starts with
    // such a key exactly when its head is the key. Any other text is
    // searched for the plain way.
    const size_t nColon = key.find(L':');
    if (key.empty() || nColon != key.size() - 1 || key.find_first_of(L"\r\n") != std::wstring_view::npos)
        return FindKeyAtLineStart(m_strText.str(), key);
    if (!m_bIndexed)
        BuildIndex();
    const auto it = m_index.find(key);
    return it == m_index.end() ? std::wstring_view::npos : it->second;
}

CString CKeyedText::GetValue(std::wstring_view key) const
{
    return LookUpKeyValue(key, m_strText.str(), FindKey(key));
}

namespace {

bool IsCrtSpace(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

bool IsHexDigit(wchar_t ch)
{
    return IsDigit(ch) || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

// Appends the run of digits at p (decimal or hexadecimal) and returns where
// it ends.
const wchar_t* TakeDigits(const wchar_t* p, bool bHex, std::string& out)
{
    while (bHex ? IsHexDigit(*p) : IsDigit(*p))
        out += static_cast<char>(*p++);
    return p;
}

}  // namespace

CString CSimbrel1View::GetFileValue(const CString& strKey) const
{
    return m_strFileText.GetValue(strKey.str());
}

CString CSimbrel1View::GetPrefixedFileValue(const CString& strPrefix, const CString& strKey) const
{
    return GetFileValue(strPrefix + strKey);
}

CString CSimbrel1View::GetTextValue(const CString& strKey, const CString& strText)
{
    // A default file is small and read for a few keys: no index.
    return LookUpKeyValue(strKey.str(), strText.str(), FindKeyAtLineStart(strText.str(), strKey.str()));
}

CString CSimbrel1View::MakeKeyLine(const CString& strPrefix, const CString& strKey, const CString& strValue)
{
    return strPrefix + strKey + L" " + strValue + L"\n";
}

CString CSimbrel1View::MakeDirectionKeyLine(int nDirection, const CString& strKey, const CString& strValue)
{
    if (strValue.IsEmpty())
        return CString();
    return PrefixKeyByDirection(nDirection, strKey) + L" " + strValue + L"\n";
}

CString CSimbrel1View::PrefixKeyByDirection(int nDirection, const CString& strKey)
{
    return (nDirection == 0 ? g_strPressKeyPrefix : g_strDepressKeyPrefix) + strKey;
}

CString CSimbrel1View::MakePerTestKey(const CString& strKey, int nDirection, int nTestIndex)
{
    const CString strPrefixed = PrefixKeyByDirection(nDirection, strKey);
    CString strResult;
    strResult.Format(L"%s_for_Test_%d:", strPrefixed.Left(strPrefixed.GetLength() - 1).GetString(), nTestIndex + 1);
    return strResult;
}

CString CSimbrel1View::CollapseDoubleCR(const CString& strText)
{
    CString strResult = strText;
    strResult.Replace(L"\r\r", L"\r");
    return strResult;
}

// Reads what the C run-time's wide string-to-double conversion reads
// (leading white space, a sign, decimal digits with a point and an exponent,
// or a hexadecimal number), but always with a decimal point: the C
// run-time's own conversion follows the user's locale and would stop at the
// point of "2.5" under a locale that writes "2,5".
double CSimbrel1View::TextToDouble(const CString& strText)
{
    const wchar_t* p = strText.GetString();
    while (IsCrtSpace(*p))
        ++p;
    std::string number;
    bool bNegative = false;
    if (*p == L'+' || *p == L'-')
        bNegative = *p++ == L'-';

    const bool bHex = p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') &&
                      (IsHexDigit(p[2]) || (p[2] == L'.' && IsHexDigit(p[3])));
    if (bHex)
        p += 2;
    const size_t nBefore = number.size();
    p = TakeDigits(p, bHex, number);
    bool bHasDigits = number.size() > nBefore;
    if (*p == L'.') {
        const size_t nPoint = number.size();
        number += '.';
        p = TakeDigits(p + 1, bHex, number);
        bHasDigits = bHasDigits || number.size() > nPoint + 1;
    }
    if (!bHasDigits)
        return 0.0;
    // An exponent counts only with at least one digit: "1e" reads as 1.
    const wchar_t chExponent = bHex ? L'p' : L'e';
    if (*p == chExponent || *p == (chExponent - L'a' + L'A')) {
        const wchar_t* q = p + 1;
        std::string exponent(1, 'e');
        if (bHex)
            exponent[0] = 'p';
        if (*q == L'+' || *q == L'-')
            exponent += static_cast<char>(*q++);
        if (IsDigit(*q)) {
            TakeDigits(q, false, exponent);
            number += exponent;
        }
    }

    double dValue = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), dValue,
                                        bHex ? std::chars_format::hex : std::chars_format::general);
    // Out of range means overflow (not finite) or an underflow towards 0.
    if (result.ec != std::errc() || !std::isfinite(dValue))
        return 0.0;
    return bNegative ? -dValue : dValue;
}
