#include "testrun/RingDialogs.h"

#include <algorithm>
#include <string>

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kIso9972 = 3;
constexpr int kRingTypeHelpTopic = 10;
constexpr int kRingButtons[5] = {IDC_RING_TYPE_RING1, IDC_RING_TYPE_RING2, IDC_RING_TYPE_RING3, IDC_RING_TYPE_RING4,
                                 IDC_RING_TYPE_RING5};

}  // namespace

BEGIN_MESSAGE_MAP(CChangeRingDialog, CDialog)
    ON_BN_CLICKED(IDC_CHANGE_RING_FIRST, OnFirstButton)
    ON_BN_CLICKED(IDC_CHANGE_RING_SECOND, OnSecondButton)
    ON_BN_CLICKED(IDC_CHANGE_RING_HELP, OnHelpButton)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CChangeRingDialog::CChangeRingDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CString CChangeRingDialog::GetTargetCheckText(int bFiveTimesBaseline, int nStandard, int nSuggested)
{
    CString strText;
    if (bFiveTimesBaseline)
        strText.Format(LoadText(nStandard == kIso9972 ? IDS_ISO_MIN_TARGET_CHECK : IDS_BASELINE_MIN_TARGET_CHECK)
                           .GetString(),
                       nSuggested);
    else
        strText = LoadText(IDS_BELOW_10_PA_TARGET_CHECK);
    return strText;
}

UINT CChangeRingDialog::GetTargetCheckCaptionId(int bFiveTimesBaseline, int nStandard)
{
    return bFiveTimesBaseline && nStandard != kIso9972 ? IDS_HIGH_BASELINE_CAPTION : IDS_MIN_TARGET_CAPTION;
}

void CChangeRingDialog::MoveItemDown(int nID, int nPixels, int nTaller)
{
    CWnd* pItem = GetDlgItem(nID);
    if (pItem == nullptr)
        return;
    RECT rc;
    ::GetWindowRect(pItem->GetSafeHwnd(), &rc);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    ::MoveWindow(pItem->GetSafeHwnd(), rc.left, rc.top + nPixels, rc.right - rc.left, rc.bottom - rc.top + nTaller,
                 TRUE);
}

// The warning's lines are written to fit the template in the font it was
// designed with; in a larger dialog font a line wraps or the lines need more
// height, and the question at the end falls below the warning's area. The
// dialog widens until the longest line fits (everything else stays
// centred); returns the height the lines need beyond the area the warning
// gets when nTaller pixels are added to it, 0 when they fit.
int CChangeRingDialog::FitWarning(int nTaller)
{
    const HWND hWarning = ::GetDlgItem(m_hWnd, IDC_CHANGE_RING_WARNING);
    if (hWarning == nullptr)
        return 0;
    const int nLength = ::GetWindowTextLengthW(hWarning);
    std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
    ::GetWindowTextW(hWarning, text.data(), nLength + 1);
    const HDC hdc = ::GetDC(hWarning);
    const HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HFONT>(::SendMessageW(hWarning, WM_GETFONT, 0, 0)));
    RECT rcText{0, 0, 0, 0};
    ::DrawTextW(hdc, text.c_str(), nLength, &rcText, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hWarning, hdc);
    RECT rcWarning;
    ::GetClientRect(hWarning, &rcWarning);
    const int nMore = std::max(0, static_cast<int>(rcText.bottom - rcWarning.bottom) - nTaller);
    const int nExtra = rcText.right - rcWarning.right;
    if (nExtra <= 0)
        return nMore;
    for (HWND hItem = ::GetWindow(m_hWnd, GW_CHILD); hItem != nullptr; hItem = ::GetWindow(hItem, GW_HWNDNEXT)) {
        RECT rc;
        ::GetWindowRect(hItem, &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        if (hItem == hWarning)
            rc.right += nExtra;
        else
            ::OffsetRect(&rc, nExtra / 2, 0);
        ::MoveWindow(hItem, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    }
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::SetWindowPos(m_hWnd, nullptr, rcWindow.left - nExtra / 2, rcWindow.top, rcWindow.right - rcWindow.left + nExtra,
                   rcWindow.bottom - rcWindow.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return nMore;
}

BOOL CChangeRingDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    CDialog::OnInitDialog();
    SetDefID(IDC_CHANGE_RING_NO_ACTION);
    if (IsTargetCheckMode()) {
        const int nStandard =
            m_pView != nullptr && m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_nStandard : 0;
        if (CWnd* pHelp = GetDlgItem(IDC_CHANGE_RING_HELP))
            pHelp->ShowWindow(SW_HIDE);
        SetDlgItemText(IDC_CHANGE_RING_WARNING,
                       GetTargetCheckText(m_bFiveTimesBaseline, nStandard, m_nSuggestedMinimumTarget).GetString());
        if (CWnd* pWarning = GetDlgItem(IDC_CHANGE_RING_WARNING))
            pWarning->ShowWindow(SW_SHOW);
        const int nMore = FitWarning(80);
        MoveItemDown(IDC_CHANGE_RING_WARNING, 0, 80 + nMore);
        MoveItemDown(IDC_CHANGE_RING_FIRST, 86 + nMore, 0);
        MoveItemDown(IDC_CHANGE_RING_OR, 80 + nMore, 0);
        MoveItemDown(IDC_CHANGE_RING_SECOND, 74 + nMore, 0);
        // The template fits the ring-change layout: without growing with its
        // second button, the dialog would cut off the "No" answer.
        RECT rcWindow;
        ::GetWindowRect(m_hWnd, &rcWindow);
        ::SetWindowPos(m_hWnd, nullptr, rcWindow.left, rcWindow.top - (74 + nMore) / 2, rcWindow.right - rcWindow.left,
                       rcWindow.bottom - rcWindow.top + 74 + nMore, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowText(LoadText(GetTargetCheckCaptionId(m_bFiveTimesBaseline, nStandard)).GetString());
    } else {
        SetWindowText(LoadText(IDS_CHANGE_RING_CAPTION).GetString());
    }
    SetDlgItemText(IDC_CHANGE_RING_OR, LoadText(IDS_RING_OR).GetString());
    SetDlgItemText(IDC_CHANGE_RING_HELP, LoadText(IDS_MSG_HELP).GetString());
    SetDlgItemText(IDC_CHANGE_RING_FIRST, m_strFirstButton.GetString());
    SetDlgItemText(IDC_CHANGE_RING_SECOND, m_strSecondButton.GetString());
    return TRUE;
}

BOOL CChangeRingDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    // Y and N by the first letters of the localised Yes and No, typed in
    // either case. A key's code is its capital letter whatever the case (the
    // code of a small letter is another key: 'y' is F10); a typed character
    // comes in its own case.
    if (IsTargetCheckMode() && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_CHAR)) {
        wchar_t chKey = static_cast<wchar_t>(pMsg->wParam);
        if (pMsg->message == WM_CHAR) {
            CString strKey(chKey);
            strKey.MakeUpper();
            chKey = strKey[0];
        }
        if (chKey == CSimbrel1View::GetStringInitial(IDS_MSG_YES, 1)) {
            EndDialog(1);
            return TRUE;
        }
        if (chKey == CSimbrel1View::GetStringInitial(IDS_MSG_NO, 1)) {
            EndDialog(2);
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CChangeRingDialog::OnFirstButton()
{
    EndDialog(1);
}

void CChangeRingDialog::OnSecondButton()
{
    EndDialog(2);
}

void CChangeRingDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(m_nHelpTopic);
}

void CChangeRingDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_CHANGE_RING_NO_ACTION);
}

BEGIN_MESSAGE_MAP(CRingTypeDialog, CDialog)
    ON_BN_CLICKED(IDC_RING_TYPE_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_RING_TYPE_TERMINATE, OnTerminate)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CRingTypeDialog::CRingTypeDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CRingTypeDialog::CRingButtons CRingTypeDialog::GetRingButtons(wchar_t chFanCode)
{
    CRingButtons buttons;
    const bool bBlowerDoor = chFanCode == L'3' || chFanCode == L'5' || chFanCode == L'4';
    for (int i = 0; i < 5; ++i) {
        buttons.chLabel[i] = static_cast<wchar_t>((bBlowerDoor ? L'A' : L'1') + i);
        const bool bHas = bBlowerDoor || i < 3 || (i == 3 && chFanCode == L'B');
        buttons.bShown[i] = bHas ? 1 : 0;
        buttons.bEnabled[i] = bHas ? 1 : 0;
    }
    return buttons;
}

void CRingTypeDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_RING_TYPE_NONE, m_nInstalledRing);
}

BOOL CRingTypeDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    // A ring this fan does not have (left over from another fan) would
    // select a hidden button: the open fan is offered instead.
    if (m_nInstalledRing < 0 || m_nInstalledRing > CTestGraph1::GetLastRing(m_chFanCode))
        m_nInstalledRing = 0;
    CDialog::OnInitDialog();
    SetDefID(IDC_RING_TYPE_NO_ACTION);
    SetWindowText(LoadText(IDS_RING_TYPE_CAPTION).GetString());
    SetDlgItemText(IDC_RING_TYPE_HELP, LoadText(IDS_MSG_HELP).GetString());
    SetDlgItemText(IDC_RING_TYPE_QUESTION, LoadText(IDS_RING_TYPE_QUESTION).GetString());
    SetDlgItemText(IDC_RING_TYPE_GROUP, LoadText(IDS_RING_TYPE_GROUP).GetString());
    SetDlgItemText(IDC_RING_TYPE_NONE, LoadText(IDS_RING_TYPE_NONE).GetString());
    const CRingButtons buttons = GetRingButtons(m_chFanCode);
    for (int i = 0; i < 5; ++i) {
        CWnd* pButton = GetDlgItem(kRingButtons[i]);
        if (pButton == nullptr)
            continue;
        CString strLabel;
        strLabel.Format(L"%c", buttons.chLabel[i]);
        pButton->SetWindowText(strLabel.GetString());
        pButton->EnableWindow(buttons.bEnabled[i]);
        pButton->ShowWindow(buttons.bShown[i] ? SW_SHOW : SW_HIDE);
    }
    const bool bCruise = m_pView != nullptr && m_pView->m_pTestGraph != nullptr && m_pView->m_pTestGraph->m_CruiseMode != 0;
    const CString strWhat = LoadText(bCruise ? IDS_WORD_CRUISE : IDS_WORD_TEST);
    SetDlgItemText(IDC_RING_TYPE_TERMINATE, (LoadText(IDS_WORD_TERMINATE) + L" " + strWhat).GetString());
    SetDlgItemText(IDOK, (LoadText(IDS_WORD_PROCEED_WITH) + L" " + strWhat).GetString());
    return TRUE;
}

BOOL CRingTypeDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CRingTypeDialog::OnTerminate()
{
    EndDialog(kResultTerminate);
}

void CRingTypeDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kRingTypeHelpTopic);
}

void CRingTypeDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_RING_TYPE_NO_ACTION);
}
