// CKeyedText: a whole file text of "key value" lines together with an index
// of the keys that start its lines, so that reading a file key by key costs
// one pass over the text instead of one pass per key.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "framework/String.h"

// Where the first line that starts with strKey begins in text (at the text's
// start or right after a CR or LF), npos when none: the plain scan.
size_t FindKeyAtLineStart(std::wstring_view text, std::wstring_view key);
// The value of the first line that starts with key: the text after the key
// up to the first CR or LF, without its leading blanks; "" when the key
// starts no line or no line break follows it.
CString LookUpKeyValue(std::wstring_view key, std::wstring_view text, size_t nKeyPos);

class CKeyedText {
public:
    CKeyedText() = default;
    CKeyedText(const CKeyedText& other) : m_strText(other.m_strText) {}
    CKeyedText& operator=(const CKeyedText& other);
    CKeyedText& operator=(const CString& strText);
    CKeyedText& operator=(CString&& strText) noexcept;
    CKeyedText& operator=(const wchar_t* pszText);

    // Every change goes through assignment or Empty, each of which drops the
    // index; the next lookup builds it again.
    void Empty();
    void Swap(CString& strText) noexcept;

    operator const CString&() const { return m_strText; }
    const CString& GetText() const { return m_strText; }
    const std::wstring& str() const { return m_strText.str(); }
    const wchar_t* GetString() const { return m_strText.GetString(); }
    int GetLength() const { return m_strText.GetLength(); }
    bool IsEmpty() const { return m_strText.IsEmpty(); }
    int Find(const wchar_t* psz, int nStart = 0) const { return m_strText.Find(psz, nStart); }
    friend bool operator==(const CKeyedText& a, const CString& b) { return a.m_strText == b; }
    friend bool operator==(const CString& a, const CKeyedText& b) { return a == b.m_strText; }

    // The lookup of the key-value format, the same as the plain scan gives.
    CString GetValue(std::wstring_view key) const;
    // Where the key's line starts, npos when no line starts with it.
    size_t FindKey(std::wstring_view key) const;

private:
    void BuildIndex() const;

    CString m_strText;
    // First line start of each line head: the line's characters up to and
    // including its first colon (a line whose colon comes after a line break,
    // or never, has no head). Views into m_strText.
    mutable std::unordered_map<std::wstring_view, size_t> m_index;
    mutable bool m_bIndexed = false;
};
