#include "framework/UiAnswerer.h"

#include "framework/String.h"

namespace {
CUiAnswerer* g_pAnswerer = nullptr;

// The standard message box belongs to the window the user is working in.
HWND MessageBoxOwner()
{
    HWND hWnd = GetActiveWindow();
    if (hWnd != nullptr) {
        HWND hPopup = GetLastActivePopup(hWnd);
        if (hPopup != nullptr && IsWindowEnabled(hPopup))
            hWnd = hPopup;
    }
    return hWnd;
}
}  // namespace

CUiAnswerer* AfxSetUiAnswerer(CUiAnswerer* pAnswerer)
{
    CUiAnswerer* pOld = g_pAnswerer;
    g_pAnswerer = pAnswerer;
    return pOld;
}

CUiAnswerer* AfxGetUiAnswerer()
{
    return g_pAnswerer;
}

int AfxMessageBox(const wchar_t* pszText, UINT nType)
{
    if (g_pAnswerer != nullptr)
        return g_pAnswerer->AnswerMessageBox(pszText, nType);
    CString strCaption;
    strCaption.LoadString(57344);  // the application title
    if ((nType & MB_ICONMASK) == 0)
        nType |= (nType & MB_TYPEMASK) == MB_YESNO ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
    return MessageBoxW(MessageBoxOwner(), pszText, strCaption.GetString(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType)
{
    CString strText;
    strText.LoadString(nIDPrompt);
    return AfxMessageBox(strText.GetString(), nType);
}
