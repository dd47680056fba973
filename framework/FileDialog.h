// CFileDialog: the system's Open and Save As dialogs.
//
// The filter is given in the "Name (*.ext)|*.ext||" form and turned into the
// system's NUL-separated list. Callers may set further fields of m_ofn
// (lpstrTitle, lpstrInitialDir) before DoModal; the texts they point to must
// live until DoModal returns. An installed answerer (framework/UiAnswerer.h)
// answers in place of a person.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "framework/String.h"

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const wchar_t* pszDefExt = nullptr, const wchar_t* pszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* pszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with a name chosen, IDCANCEL when the person cancelled (or the
    // system dialog failed).
    INT_PTR DoModal();

    // The chosen full path, its last part, and that part's extension
    // (without the dot) and name without the extension.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    OPENFILENAMEW m_ofn{};

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    CString m_strFilter;      // as the caller gave it
    std::wstring m_filter;    // NUL-separated, for the system
    CString m_strDefExt;
    wchar_t m_szFile[MAX_PATH * 2] = {};
};
