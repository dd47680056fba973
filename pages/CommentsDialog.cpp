#include "pages/CommentsDialog.h"

#include "app/Lifecycle.h"

CCommentsDialog::CCommentsDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
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

void CCommentsDialog::UpdateCommentText() {}

CString CCommentsDialog::WriteToFile() const
{
    return CString();
}

void CCommentsDialog::ReadFromFile() {}
