#include "pages/CommentsDialog.h"

#include <cstdlib>
#include <vector>

#include "app/KeyValueText.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "res/resource.h"

namespace {

constexpr int kHelpTopic = 4;
constexpr int kCaptionText = 4339;
constexpr int kNextText = 5035;
constexpr int kPreviousText = 5036;
constexpr int kToTestSettingsText = 5034;
constexpr int kHelpText = 4619;
// The wrapping width at first, in heights of the page font.
constexpr int kWrapHeights = 44;
constexpr int kOldCommentKeys = 20;

const wchar_t* const kCommentsKey = L"Comments:";
const wchar_t* const kEndOfComments = L"END OF COMMENTS";

const int kPreparationBlock[] = {IDC_COMMENTS_PREP_GROUP, IDC_COMMENTS_PREP_LABEL, IDC_COMMENTS_PREP_TEXT,
                                 IDC_COMMENTS_PREP_1,     IDC_COMMENTS_PREP_2,     IDC_COMMENTS_PREP_3,
                                 IDC_COMMENTS_PREP_4,     IDC_COMMENTS_PREP_5,     IDC_COMMENTS_PREP_6,
                                 IDC_COMMENTS_PREP_7,     IDC_COMMENTS_PREP_8};

// Line nLine of a text whose lines end with CR, LF or CR LF; past the end,
// the last line again.
CString GetTextLine(const CString& strText, int nLine)
{
    const std::wstring& text = strText.str();
    size_t nStart = 0;
    CString strLine;
    for (int i = 0; i <= nLine; ++i) {
        size_t nEnd = text.find_first_of(L"\r\n", nStart);
        if (nEnd == std::wstring::npos)
            nEnd = text.size();
        strLine = CString(text.substr(nStart, nEnd - nStart).c_str());
        if (nEnd >= text.size())
            break;
        nStart = nEnd + (text.compare(nEnd, 2, L"\r\n") == 0 ? 2 : 1);
        if (nStart >= text.size())
            break;
    }
    return strLine;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCommentsDialog, CPageDialog)
    ON_BN_CLICKED(IDC_COMMENTS_NEXT, OnNext)
    ON_BN_CLICKED(IDC_COMMENTS_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_COMMENTS_CLEAR, OnClearButton)
    ON_BN_CLICKED(IDC_COMMENTS_HELP, OnHelpButton)
END_MESSAGE_MAP()

CCommentsDialog::CCommentsDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CCommentsDialog", true);
    // No Enter walk: Enter in the comment field is a line break.
    m_nNoActionId = IDC_COMMENTS_NO_ACTION;
    m_nHelpTopic = kHelpTopic;
    ClearData();
}

CCommentsDialog::~CCommentsDialog()
{
    TraceLifecycle("CCommentsDialog", false);
}

void CCommentsDialog::ClearData()
{
    m_strComments.Empty();
    if (m_bCreated && GetSafeHwnd() != nullptr)
        UpdateData(FALSE);
}

void CCommentsDialog::DoDataExchange(CDataExchange* pDX)
{
    CPageDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COMMENTS_TEXT, m_editComments);
    DDX_Text(pDX, IDC_COMMENTS_TEXT, m_strComments);
}

BOOL CCommentsDialog::OnInitDialog()
{
    CPageDialog::OnInitDialog();
    SetSoftLineBreaks(1);
    FitCommentEdit();
    if (m_bFirstShow) {
        if (CWnd* pField = GetDlgItem(IDC_COMMENTS_TEXT))
            pField->SetFocus();
        m_nFocusCtrlId = 0;
        m_bFirstShow = 0;
        return FALSE;
    }
    return TRUE;
}

void CCommentsDialog::SetTexts()
{
    SetControlText(0, kCaptionText);
    SetControlText(IDC_COMMENTS_NEXT, kNextText);
    SetControlText(IDC_COMMENTS_PREVIOUS, kPreviousText);
    SetControlText(IDC_COMMENTS_CLEAR, IDS_CLEAR);
    SetControlText(IDC_COMMENTS_HELP, kHelpText);
    SetControlText(IDC_COMMENTS_NEXT_LABEL, kToTestSettingsText);
    SetControlText(IDC_COMMENTS_PREVIOUS_LABEL, IDS_COMMENTS_TO_BLDG_INFO);
    for (int nID : kPreparationBlock)
        ShowControl(SW_HIDE, nID);
}

bool CCommentsDialog::GetControlInsets(int nID, RECT& rcInsets) const
{
    if (nID != IDC_COMMENTS_TEXT)
        return false;
    // The field reaches down over the preparation block.
    rcInsets = RECT{0, 5, 0, 154};
    return true;
}

void CCommentsDialog::SetSoftLineBreaks(int bOn)
{
    if (CWnd* pField = GetSafeHwnd() != nullptr ? GetDlgItem(IDC_COMMENTS_TEXT) : nullptr)
        pField->SendMessage(EM_FMTLINES, bOn ? TRUE : FALSE);
}

void CCommentsDialog::FitCommentEdit()
{
    CWnd* pField = GetSafeHwnd() != nullptr ? GetDlgItem(IDC_COMMENTS_TEXT) : nullptr;
    if (pField == nullptr)
        return;
    CFont* pFont = m_pView != nullptr && m_pView->m_pPageFont != nullptr && m_pView->m_pPageFont->m_hObject != nullptr
                       ? m_pView->m_pPageFont
                       : pField->GetFont();
    HFONT hFont = pFont != nullptr ? static_cast<HFONT>(pFont->m_hObject) : nullptr;
    HDC hDC = ::GetDC(m_hWnd);
    if (hDC == nullptr)
        return;
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;

    LOGFONTW logFont{};
    int h = 0;
    if (hFont != nullptr && ::GetObjectW(hFont, sizeof logFont, &logFont) != 0)
        h = std::abs(static_cast<int>(logFont.lfHeight));
    if (h == 0) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(hDC, &metrics);
        h = metrics.tmHeight;
    }

    RECT rcField{};
    pField->GetClientRect(&rcField);
    RECT rcPage{};
    GetClientRect(&rcPage);
    const int nPageWidth = rcPage.right - rcPage.left;
    const int W = rcField.right - rcField.left;
    const int Lm = LOWORD(pField->SendMessage(EM_GETMARGINS));
    // A field narrower than the wrapping width wraps at its own width.
    int Rm = W - kWrapHeights * h;
    if (Rm < 0)
        Rm = 0;
    pField->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Lm, Rm));
    int T = W - Lm - Rm;

    const int nLines = static_cast<int>(pField->SendMessage(EM_GETLINECOUNT));
    for (int i = 0; i < nLines; ++i) {
        const CString strLine = GetTextLine(m_strComments, i);
        RECT rcText{0, 0, 0, 0};
        ::DrawTextW(hDC, strLine.GetString(), strLine.GetLength(), &rcText,
                    DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX);
        const int w = rcText.right - rcText.left;
        if (w <= T)
            continue;
        const int e = w - T;
        if (e < Rm) {
            Rm -= e;
        } else {
            const int half = (e + 1) / 2;
            if (Lm + T + Rm + 2 * half >= nPageWidth)
                break;
            WINDOWPLACEMENT wp{};
            wp.length = sizeof wp;
            if (pField->GetWindowPlacement(&wp)) {
                wp.rcNormalPosition.left -= half;
                wp.rcNormalPosition.right += half;
                pField->SetWindowPlacement(&wp);
            }
        }
        T += e;
        pField->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Lm, Rm));
        pField->SetWindowText(m_strComments.GetString());
    }

    if (hOldFont != nullptr)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
}

void CCommentsDialog::UpdateCommentText()
{
    if (GetSafeHwnd() == nullptr)
        return;
    SetSoftLineBreaks(1);
    UpdateData(TRUE);
    // An edit control that does not report its soft breaks (some do not
    // implement EM_FMTLINES) still tells where each of its lines starts.
    if (m_strComments.Find(L"\r\r\n") < 0) {
        std::vector<int> lineStarts;
        if (CWnd* pField = GetDlgItem(IDC_COMMENTS_TEXT)) {
            const int nLines = static_cast<int>(pField->SendMessage(EM_GETLINECOUNT));
            for (int i = 0; i < nLines; ++i)
                lineStarts.push_back(static_cast<int>(pField->SendMessage(EM_LINEINDEX, static_cast<WPARAM>(i))));
        }
        m_strComments = MarkSoftLineBreaks(m_strComments, lineStarts);
    }
    if (!m_strComments.IsEmpty())
        m_strComments = CSimbrel1View::CollapseDoubleCR(m_strComments);
    m_strComments.TrimRight(L" \t\r\n");
    UpdateData(FALSE);
}

CString CCommentsDialog::MarkSoftLineBreaks(const CString& strText, const std::vector<int>& lineStarts)
{
    const std::wstring& text = strText.str();
    std::wstring marked;
    size_t nDone = 0;
    for (int nStart : lineStarts) {
        if (nStart <= 0 || static_cast<size_t>(nStart) <= nDone || static_cast<size_t>(nStart) >= text.size())
            continue;
        const wchar_t chBefore = text[static_cast<size_t>(nStart) - 1];
        if (chBefore == L'\n' || chBefore == L'\r')
            continue;
        marked.append(text, nDone, static_cast<size_t>(nStart) - nDone);
        marked += L"\r\r\n";
        nDone = static_cast<size_t>(nStart);
    }
    marked.append(text, nDone, std::wstring::npos);
    return CString(marked);
}

void CCommentsDialog::OnNext()
{
    PostPageAction(CSimbrel1View::kPageNext);
}

void CCommentsDialog::OnPrevious()
{
    PostPageAction(CSimbrel1View::kPagePrevious);
}

CString CCommentsDialog::WriteToFile()
{
    if (!m_strComments.IsEmpty())
        m_strComments = CSimbrel1View::CollapseDoubleCR(m_strComments);
    CString strText;
    if (!m_strComments.IsEmpty())
        strText = CString(kCommentsKey) + L" " + m_strComments + L"\f\r\n";
    strText += kEndOfComments;
    strText += L"\r\n";
    return strText;
}

CString CCommentsDialog::ParseCommentsBlock(const CString& strFileText)
{
    const std::wstring& text = strFileText.str();
    const size_t nKey = FindKeyAtLineStart(text, kCommentsKey);
    if (nKey == std::wstring::npos)
        return CString();
    const size_t nStart = nKey + std::wstring(kCommentsKey).size();
    size_t nEnd = text.find(L'\f', nStart);
    if (nEnd == std::wstring::npos)
        nEnd = text.find(kEndOfComments, nStart);
    if (nEnd == std::wstring::npos)
        return CString();
    return CSimbrel1View::StripLeadingBlanks(CString(text.substr(nStart, nEnd - nStart).c_str()));
}

void CCommentsDialog::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    const CString& strFileText = m_pView->m_strFileText;
    if (FindKeyAtLineStart(strFileText.str(), kCommentsKey) != std::wstring::npos) {
        m_strComments = ParseCommentsBlock(strFileText);
    } else {
        m_strComments.Empty();
        for (int i = 1; i <= kOldCommentKeys; ++i) {
            CString strKey;
            strKey.Format(L"Comment_%d:", i);
            const CString strValue = m_pView->GetFileValue(strKey);
            if (!strValue.IsEmpty())
                m_strComments += strValue + L"\r\n";
        }
    }
    if (m_bCreated && GetSafeHwnd() != nullptr)
        UpdateData(FALSE);
}
