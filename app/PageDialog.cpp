#include "app/PageDialog.h"

#include <algorithm>

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"

namespace {

// The question of every Clear button and the no-entry icon it shows.
constexpr int kClearQuestion = 4024;
constexpr int kNoEntryIcon = 176;
constexpr int kYesNo = 4;
constexpr int kNoHelpTopic = 255;

}  // namespace

BEGIN_MESSAGE_MAP(CPageDialog, CDialog)
    ON_WM_DESTROY()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CPageDialog::CPageDialog(UINT nIDTemplate, CSimbrel1View* pView) : CDialog(nIDTemplate), m_pView(pView) {}

BOOL CPageDialog::CreateModeless()
{
    if (GetSafeHwnd() == nullptr) {
        m_bCreated = 1;
        if (!Create(GetTemplateID())) {
            m_bCreated = 0;
            return FALSE;
        }
    }
    ShowWindow(SW_SHOW);
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
    return TRUE;
}

BOOL CPageDialog::DestroyWindow()
{
    m_bCreated = 0;
    return CDialog::DestroyWindow();
}

void CPageDialog::OnDestroy()
{
    // The typed texts outlive the window, however it goes away. A modal
    // dialog stores only through OK, so Esc leaves its record as it was.
    if (!m_bOpenedModal && GetSafeHwnd() != nullptr)
        UpdateData(TRUE);
    m_bCreated = 0;
}

void CPageDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId)) {
        pControl->SetFocus();
        SetPageTexts();
    }
}

BOOL CPageDialog::OnInitDialog()
{
    m_bOpenedModal = IsModal();
    m_nFocusButtonId = 0;
    if (m_nNoActionId != 0)
        SetDefID(static_cast<UINT>(m_nNoActionId));
    CDialog::OnInitDialog();
    // Laid out (placed and scaled) only when the view asks for a layout: a
    // page opened without one keeps the placement it was given.
    SetPageTexts();
    return TRUE;
}

HWND CPageDialog::GetPageChild(HWND hWnd) const
{
    if (m_hWnd == nullptr)
        return nullptr;
    while (hWnd != nullptr && ::GetParent(hWnd) != m_hWnd) {
        if (!::IsChild(m_hWnd, hWnd))
            return nullptr;
        hWnd = ::GetParent(hWnd);
    }
    return hWnd;
}

BOOL CPageDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd == nullptr || IsModal())
        return CDialog::PreTranslateMessage(pMsg);
    if (!::IsDialogMessageW(m_hWnd, pMsg))
        return CDialog::PreTranslateMessage(pMsg);
    // The dialog's keys may have closed the page meanwhile.
    if (m_bCreated && m_hWnd != nullptr) {
        if (HWND hChild = GetPageChild(::GetFocus())) {
            m_nFocusCtrlId = ::GetDlgCtrlID(hChild);
            if (pMsg->message == WM_SYSKEYDOWN) {
                if (HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER))
                    ::SetFocus(hOwner);
            }
        }
    }
    return TRUE;
}

void CPageDialog::OnOK()
{
    if (IsModal())
        CDialog::OnOK();
    else
        PostPageAction(1);
}

void CPageDialog::OnCancel()
{
    if (IsModal())
        CDialog::OnCancel();
    else
        PostPageAction(2);
}

void CPageDialog::PostPageAction(int nAction)
{
    StoreTypedValues();
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, GetTemplateID(), nAction);
}

void CPageDialog::SetPageTexts()
{
    if (GetSafeHwnd() == nullptr || (m_pView != nullptr && m_pView->m_bPdfRunning))
        return;
    if (m_pView != nullptr && m_pView->m_bLayoutPending) {
        LayoutControls();
        m_pView->m_bLayoutPending = 0;
    }
    SetTexts();
}

void CPageDialog::LayoutControls()
{
    if (m_pView == nullptr || GetSafeHwnd() == nullptr)
        return;
    m_pView->PlacePageDialog(this);
    m_pView->CreatePageFont(this, 1.0);
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ScaleChild(hChild);
}

void CPageDialog::ScaleControl(int nID)
{
    if (CWnd* pControl = GetDlgItem(nID))
        ScaleChild(pControl->m_hWnd);
}

void CPageDialog::ScaleChild(HWND hChild)
{
    if (m_pView == nullptr || hChild == nullptr)
        return;
    CWnd* pControl = CWnd::FromHandle(hChild);
    const int nID = ::GetDlgCtrlID(hChild);
    m_pView->ClearPageInsets();
    RECT rcInsets{};
    if (GetControlInsets(nID, rcInsets))
        m_pView->SetPageInsets(rcInsets.left, rcInsets.top, rcInsets.right, rcInsets.bottom);
    // Placing a control would show it: a hidden one keeps its visibility.
    const bool bVisible = pControl->IsWindowVisible() != FALSE;
    m_pView->ScalePageDialog(pControl);
    if (!bVisible)
        pControl->ShowWindow(SW_HIDE);
    m_pView->ClearPageInsets();
    pControl->SetFont(m_pView->m_pPageFont, TRUE);
}

void CPageDialog::SetControlText(int nID, int nStringId)
{
    if (m_pView == nullptr || GetSafeHwnd() == nullptr)
        return;
    CWnd* pControl = nID == 0 ? static_cast<CWnd*>(this) : GetDlgItem(nID);
    if (pControl == nullptr)
        return;
    CString strText;
    strText.LoadString(static_cast<unsigned int>(nStringId));
    pControl->SetWindowText(strText.GetString());
}

void CPageDialog::ShowControl(int nShowCommand, int nID)
{
    if (CWnd* pControl = GetDlgItem(nID))
        pControl->ShowWindow(nShowCommand);
}

bool CPageDialog::IsEntryField(int nID) const
{
    return std::find(m_EntryFields.begin(), m_EntryFields.end(), nID) != m_EntryFields.end();
}

void CPageDialog::OnNoAction()
{
    if (m_hWnd == nullptr)
        return;
    HWND hStart = GetPageChild(::GetFocus());
    HWND hFirst = nullptr;
    HWND hCurrent = hStart;
    // The tab order is a ring: the walk ends when it comes round again.
    for (;;) {
        HWND hNext = ::GetNextDlgTabItem(m_hWnd, hCurrent, FALSE);
        if (hNext == nullptr || hNext == hStart || hNext == hFirst)
            return;
        if (hFirst == nullptr)
            hFirst = hNext;
        if (IsEntryField(::GetDlgCtrlID(hNext)) && ::IsWindowEnabled(hNext) && ::IsWindowVisible(hNext)) {
            ::SetFocus(hNext);
            return;
        }
        hCurrent = hNext;
    }
}

void CPageDialog::OnClearButton()
{
    if (m_pView == nullptr)
        return;
    const int nAnswer = m_pView->ShowMessage(kClearQuestion, CString(), kNoEntryIcon, kYesNo, kNoHelpTopic);
    if (nAnswer != IDYES)
        return;
    ClearData();
    if (GetSafeHwnd() != nullptr && (IsModal() || m_bCreated)) {
        UpdateData(FALSE);
        AfterClear();
    }
}

void CPageDialog::OnHelpButton()
{
    if (m_pView != nullptr && m_nHelpTopic >= 0)
        m_pView->ShowContextHelp(m_nHelpTopic);
}

void CPageDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, m_nNoActionId);
}
