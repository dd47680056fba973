#include "app/PageDialog.h"

#include "app/Simbrel1View.h"

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

void CPageDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
}

BOOL CPageDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pView != nullptr)
        m_pView->LayoutPageIfPending(this, 1.0);
    return TRUE;
}
