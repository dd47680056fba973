#include "pages/CommentsDialog.h"

#include "app/Lifecycle.h"

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
