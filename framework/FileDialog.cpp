#include "framework/FileDialog.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "framework/Dialog.h"
#include "framework/UiAnswerer.h"
#include "framework/Wnd.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const wchar_t* pszDefExt, const wchar_t* pszFileName, DWORD dwFlags,
                         const wchar_t* pszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_strFilter(pszFilter != nullptr ? pszFilter : L""),
      m_strDefExt(pszDefExt != nullptr ? pszDefExt : L"")
{
    // "A|*.a||" becomes "A\0*.a\0\0"; the string's own terminator ends the list.
    m_filter = m_strFilter.str();
    for (wchar_t& ch : m_filter) {
        if (ch == L'|')
            ch = L'\0';
    }
    if (!m_filter.empty() && m_filter.back() != L'\0')
        m_filter.push_back(L'\0');

    if (pszFileName != nullptr)
        wcsncpy(m_szFile, pszFileName, std::size(m_szFile) - 1);

    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = static_cast<DWORD>(std::size(m_szFile));
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString();
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
}

INT_PTR CFileDialog::DoModal()
{
    if (CUiAnswerer* pAnswerer = AfxGetUiAnswerer()) {
        const CUiFileDialog dialog{m_bOpenFileDialog,
                                   m_ofn.lpstrTitle != nullptr ? m_ofn.lpstrTitle : L"",
                                   m_strFilter.GetString(),
                                   m_strDefExt.GetString(),
                                   m_szFile,
                                   m_ofn.lpstrInitialDir != nullptr ? m_ofn.lpstrInitialDir : L"",
                                   m_ofn.Flags};
        CString strPath;
        const INT_PTR nResult = pAnswerer->AnswerFileDialog(dialog, strPath);
        if (nResult != IDOK)
            return IDCANCEL;
        m_szFile[0] = L'\0';
        wcsncpy(m_szFile, strPath.GetString(), std::size(m_szFile) - 1);
        return IDOK;
    }

    HWND hOwner = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : AfxGetMainWndHandle();
    m_ofn.hwndOwner = hOwner;
    const BOOL bChosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return bChosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_szFile);
}

CString CFileDialog::GetFileName() const
{
    const CString strPath(m_szFile);
    const int nSlash = std::max(strPath.ReverseFind(L'\\'), strPath.ReverseFind(L'/'));
    return strPath.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind(L'.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind(L'.');
    return nDot < 0 ? strName : strName.Left(nDot);
}
