#include "testrun/RingDialogs.h"

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
        MoveItemDown(IDC_CHANGE_RING_WARNING, 0, 80);
        MoveItemDown(IDC_CHANGE_RING_FIRST, 86, 0);
        MoveItemDown(IDC_CHANGE_RING_OR, 80, 0);
        MoveItemDown(IDC_CHANGE_RING_SECOND, 74, 0);
        // The template fits the ring-change layout: without growing with its
        // second button, the dialog would cut off the "No" answer.
        RECT rcWindow;
        ::GetWindowRect(m_hWnd, &rcWindow);
        ::SetWindowPos(m_hWnd, nullptr, rcWindow.left, rcWindow.top - 74 / 2, rcWindow.right - rcWindow.left,
                       rcWindow.bottom - rcWindow.top + 74, SWP_NOZORDER | SWP_NOACTIVATE);
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
