// CString: the program's wide (UTF-16) string, a value type over std::wstring.
//
// Buffer contract: GetBuffer(n) returns the text in a buffer with room for at
// least n characters plus a terminating zero; after writing, call
// ReleaseBuffer(len) with the length written, or ReleaseBuffer() (-1) to take
// the length up to the first zero (never beyond the buffer). No other member
// may be called between GetBuffer and ReleaseBuffer. GetBufferSetLength(n)
// makes the length n at once (new characters are zeros).
//
// Never pass a CString itself through "..." (Format, printf, ...): GCC copies
// the object bit by bit. Pass GetString(); the build rejects the former
// (-Werror=conditionally-supported).
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>
#include <vector>

class CString {
public:
    CString() = default;
    CString(const wchar_t* psz);
    CString(const wchar_t* pch, int nLength);
    CString(wchar_t ch, int nRepeat = 1);
    // 8-bit text in the system code page (gauge replies, datagrams, old files).
    explicit CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const std::wstring& s) : m_str(s) {}
    CString(std::wstring&& s) noexcept : m_str(std::move(s)) {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* psz);
    CString& operator=(wchar_t ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }

    // Out of range, GetAt gives 0 and SetAt changes nothing.
    wchar_t GetAt(int i) const;
    wchar_t operator[](int i) const { return GetAt(i); }
    void SetAt(int i, wchar_t ch);

    // These clamp their arguments to the string and never throw.
    CString Left(int n) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int n) const;
    CString SpanExcluding(const wchar_t* pszCharSet) const;

    // Index of the first occurrence at or after start (a negative start counts
    // as 0), -1 when none.
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* psz, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* pszCharSet) const;

    // Each returns the number of replacements or removals made.
    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(const wchar_t* pszOld, const wchar_t* pszNew);
    int Remove(wchar_t ch);
    // Return the new length; the index is clamped to the string.
    int Insert(int i, wchar_t ch);
    int Insert(int i, const wchar_t* psz);
    int Delete(int i, int count = 1);

    // Without an argument these trim white space (blank, tab, CR, LF, VT, FF).
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* pszChars);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* pszChars);
    CString& Trim();
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Ordinal comparisons: < 0, 0 or > 0; a null pointer counts as "".
    int Compare(const wchar_t* psz) const;
    int CompareNoCase(const wchar_t* psz) const;

    // printf-style formatting with the Microsoft meaning of the conversions:
    // %s and %c take wide arguments (%S, %hs, %C and %hc narrow ones), %I64d
    // and %lld take 64-bit integers, exponents always have at least two
    // digits ("1.5e+03"), and numbers always use a decimal point.
    // Infinities and NaN print as "inf", "-inf" and "nan" ("INF", "NAN" for
    // %E, %F, %G, %A). The string may be one of the arguments.
    void Format(const wchar_t* pszFormat, ...);
    void FormatV(const wchar_t* pszFormat, va_list args);
    void AppendFormat(const wchar_t* pszFormat, ...);
    static CString FormatText(const wchar_t* pszFormat, ...);

    // Loads a string-table text of the program's resources; false (and the
    // string emptied) when the id has no text.
    bool LoadString(unsigned int nID);

    wchar_t* GetBuffer(int nMinLength);
    wchar_t* GetBuffer();
    wchar_t* GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

    // 8-bit copy in the system code page.
    std::string ToAnsi() const;

    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(const wchar_t* psz);
    CString& operator+=(wchar_t ch) { m_str += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const wchar_t* b);
    friend CString operator+(const wchar_t* a, const CString& b);
    friend CString operator+(const CString& a, wchar_t b);
    friend CString operator+(wchar_t a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b);
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    std::wstring m_str;
};

// A growable array of strings, as the records keep their lists of texts.
// An index outside the array throws std::out_of_range, except that SetAtGrow
// and InsertAt grow the array to reach an index beyond its end.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(int nNewSize) { m_items.resize(nNewSize < 0 ? 0 : nNewSize); }
    const CString& GetAt(int i) const { return m_items.at(i); }
    void SetAt(int i, const CString& s) { m_items.at(i) = s; }
    void SetAtGrow(int i, const CString& s);
    CString& ElementAt(int i) { return m_items.at(i); }
    const CString& operator[](int i) const { return m_items.at(i); }
    CString& operator[](int i) { return m_items.at(i); }
    int Add(const CString& s) { m_items.push_back(s); return GetSize() - 1; }
    void InsertAt(int i, const CString& s);
    void RemoveAt(int i, int count = 1);
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<CString> m_items;
};

// The module whose resources LoadString and the dialogs use: the program
// itself, or a test program that links the same resources.
HINSTANCE AfxGetResourceHandle();

// The string-table text nID as a value ("" when the id has no text).
CString LoadText(unsigned int nID);
