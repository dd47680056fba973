#include "pages/CommentsDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"

CCommentsDialog::CCommentsDialog(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CCommentsDialog", true);
    ClearData();
}

CCommentsDialog::~CCommentsDialog()
{
    TraceLifecycle("CCommentsDialog", false);
}

void CCommentsDialog::ClearData()
{
    m_strComments.Empty();
}

// The page window.

void CCommentsDialog::ShowPage()
{
    if (GetSafeHwnd() == nullptr) {
        m_bCreated = 1;
        if (!Create(IDD)) {
            m_bCreated = 0;
            return;
        }
    }
    ShowWindow(SW_SHOW);
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
}

BOOL CCommentsDialog::DestroyWindow()
{
    m_bCreated = 0;
    return CDialog::DestroyWindow();
}

void CCommentsDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
}

BOOL CCommentsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pView != nullptr)
        m_pView->LayoutPageIfPending(this, 1.0);
    return TRUE;
}

void CCommentsDialog::UpdateCommentText() {}

CString CCommentsDialog::WriteToFile() const
{
    return CString();
}

void CCommentsDialog::ReadFromFile() {}
