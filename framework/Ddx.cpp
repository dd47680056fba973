#include "framework/Ddx.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "framework/UiAnswerer.h"
#include "framework/Wnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr)
        throw CDataExchangeFailure{};
    m_hWndLastControl = hWndCtrl;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CDataExchangeFailure{};
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nLen = ::GetWindowTextLengthW(hWndCtrl);
        wchar_t* p = value.GetBuffer(nLen + 1);
        int nGot = ::GetWindowTextW(hWndCtrl, p, nLen + 1);
        value.ReleaseBuffer(nGot);
    } else {
        ::SetWindowTextW(hWndCtrl, value.GetString());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    if (pDX->m_bSaveAndValidate) {
        CString strText;
        DDX_Text(pDX, nIDC, strText);
        // Blanks around the number are allowed; a field without digits, with
        // anything else, or with a number out of range is refused.
        const wchar_t* pszText = strText.GetString();
        wchar_t* pEnd = nullptr;
        errno = 0;
        long long n = std::wcstoll(pszText, &pEnd, 10);
        bool bDigits = pEnd != pszText;
        while (*pEnd == L' ' || *pEnd == L'\t')
            ++pEnd;
        if (!bDigits || *pEnd != 0 || errno == ERANGE || n < INT_MIN || n > INT_MAX) {
            AfxMessageBox(L"Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = static_cast<int>(n);
    } else {
        HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
        wchar_t text[32];
        swprintf(text, 32, L"%d", value);
        ::SetWindowTextW(hWndCtrl, text);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nButton = 0;
    // The group runs from the first button to the next control that starts a group.
    do {
        LONG_PTR style = ::GetWindowLongPtrW(hWndCtrl, GWL_STYLE);
        UINT nType = static_cast<UINT>(style & BS_TYPEMASK);
        bool bRadio = (::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) ||
                      nType == BS_RADIOBUTTON || nType == BS_AUTORADIOBUTTON;
        if (bRadio) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = nButton;
            } else {
                ::SendMessageW(hWndCtrl, BM_SETCHECK, nButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nButton;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != nullptr && !(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr) {
        HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
        if (!rControl.SubclassWindow(hWndCtrl))
            pDX->Fail();
    }
}
