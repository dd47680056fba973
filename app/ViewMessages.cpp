// The view's message boxes and the filter of numeric edit fields.
#include <cwchar>

#include "app/MessageDialog.h"
#include "app/SizableMessageDialog.h"
#include "app/Simbrel1View.h"

namespace {
// The building-pressure warning: its box carries "Turn off this warning".
constexpr int kPressureWarningId = 4041;
constexpr int kNoHelpTopic = 255;

CString LoadText(int nID)
{
    CString str;
    if (nID > 0)
        str.LoadString(static_cast<UINT>(nID));
    return str;
}

// Applies the minus and point rules to one line; the index of the
// removal, or -1 when the line was right.
int RemoveMisplacedSigns(CString& strLine)
{
    const int nMinus = CSimbrel1View::RemoveExtraChar(1, strLine, L'-');
    if (nMinus >= 0)
        return nMinus;
    return CSimbrel1View::RemoveExtraChar(0, strLine, L'.');
}
}  // namespace

int CSimbrel1View::ShowMessage(int nIDText, const CString& strText, int nIcon, int nKind, int nHelpTopic)
{
    CMessageDialog dlg;
    dlg.m_pView = this;
    if (nIDText == kPressureWarningId)
        dlg.m_bShowTurnOff = m_bShowPressureWarning;
    dlg.m_nIcon = nIcon;
    dlg.m_strText = strText.IsEmpty() ? LoadText(nIDText) : strText;
    dlg.m_nKind = nKind;
    dlg.m_nHelpTopic = nHelpTopic;
    dlg.m_nIDText = nIDText;
    const INT_PTR nResult = dlg.DoModal();
    if (nIDText == kPressureWarningId && m_bShowPressureWarning)
        m_bShowPressureWarning = dlg.m_bTurnOffWarning ? 0 : 1;
    return static_cast<int>(nResult);
}

int CSimbrel1View::ShowSizableMessage(int nIDText, const CString& strText, int x, int y, int nWidth, int nHeight,
                                      int nIcon, int nKind, int nHelpTopic)
{
    CSizableMessageDialog dlg;
    dlg.m_pView = this;
    dlg.m_strText = strText.IsEmpty() ? LoadText(nIDText) : strText;
    dlg.m_nX = x;
    dlg.m_nY = y;
    dlg.m_nWidth = nWidth;
    dlg.m_nHeight = nHeight;
    dlg.m_nIcon = nIcon;
    dlg.m_nKind = nKind;
    dlg.m_nHelpTopic = nHelpTopic;
    dlg.m_nIDText = nIDText;
    return static_cast<int>(dlg.DoModal());
}

int CSimbrel1View::RemoveExtraChar(int bMustBeFirst, CString& strText, wchar_t ch)
{
    const int p = strText.Find(ch);
    if (p < 0)
        return -1;
    int nResult = -1;
    if (bMustBeFirst && p > 0) {
        strText.Delete(p);
        nResult = p;
    }
    const int q = strText.Find(ch, p + 1);
    if (q > 0) {
        strText.Delete(q);
        nResult = q;
    }
    return nResult;
}

int CSimbrel1View::CleanNumericText(CString& strText, int bNoMinus, int bNoPoint, int& nCaret)
{
    nCaret = 0;
    const int nComma = strText.Find(L',');
    if (nComma >= 0) {
        strText.Remove(L',');
        nCaret = nComma;
        return 2;
    }

    const wchar_t* pszAllowed = bNoMinus ? (bNoPoint ? L"0123456789\r\n" : L".0123456789\r\n")
                                         : (bNoPoint ? L"-0123456789\r\n" : L"-.0123456789\r\n");
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; ++i) {
        if (std::wcschr(pszAllowed, strText[i]) == nullptr) {
            strText.Delete(i);
            nCaret = i;
            return 1;
        }
    }

    if (strText.Find(L'\n') < 0) {
        const int nRemoved = RemoveMisplacedSigns(strText);
        if (nRemoved < 0)
            return 0;
        nCaret = nRemoved;
        return 1;
    }
    // Line by line (each line with its CR LF), up to the first that changes.
    for (int nStart = 0; nStart < nLength;) {
        const int nBreak = strText.Find(L"\r\n", nStart);
        const int nEnd = nBreak < 0 ? nLength : nBreak + 2;
        CString strLine = strText.Mid(nStart, nEnd - nStart);
        const int nRemoved = RemoveMisplacedSigns(strLine);
        if (nRemoved >= 0) {
            strText = strText.Left(nStart) + strLine + strText.Mid(nEnd);
            nCaret = nStart + nRemoved;
            return 1;
        }
        nStart = nEnd;
    }
    return 0;
}

int CSimbrel1View::FilterNumericEdit(CWnd* pDialog, int bWarn, int bNoMinus, int bNoPoint)
{
    const HWND hFocus = ::GetFocus();
    if (hFocus == nullptr || pDialog == nullptr)
        return 0;
    // Only the edit being typed in is filtered. A change notification of
    // another edit (its text set by the program while the user types in a
    // name field) would otherwise "clean" the focused field, which is not
    // numeric at all.
    const MSG* pMsg = CWnd::GetCurrentMessage();
    if (pMsg->message != WM_COMMAND || reinterpret_cast<HWND>(pMsg->lParam) != hFocus ||
        !::IsChild(pDialog->GetSafeHwnd(), hFocus))
        return 0;

    const int nID = ::GetDlgCtrlID(hFocus);
    CString strText;
    pDialog->GetDlgItemText(nID, strText);
    int nCaret = 0;
    const int nChange = CleanNumericText(strText, bNoMinus, bNoPoint, nCaret);
    if (nChange == 0)
        return 0;
    // Writing the text back notifies again, and the next correction, if
    // any, is made then; but a multi-line edit sends no change notification
    // for a text set by the program, so its remaining corrections are made
    // now (a paste would otherwise keep them).
    if (::GetWindowLongW(hFocus, GWL_STYLE) & ES_MULTILINE) {
        int nNextCaret = 0;
        while (CleanNumericText(strText, bNoMinus, bNoPoint, nNextCaret) != 0) {
        }
    }

    pDialog->SetDlgItemText(nID, strText.GetString());
    ::SendMessageW(hFocus, EM_SETSEL, static_cast<WPARAM>(nCaret), static_cast<LPARAM>(nCaret));
    ::SendMessageW(hFocus, EM_SCROLLCARET, 0, 0);
    if (nChange == 2 && bWarn)
        ShowMessage(IDS_MSG_COMMA_IN_NUMBER, L"", IDI_MESSAGE_EXCLAMATION, 0, kNoHelpTopic);
    return 1;
}
