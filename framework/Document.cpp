#include "framework/Document.h"

#include <algorithm>

#include "framework/DocTemplate.h"
#include "framework/File.h"
#include "framework/FrameWnd.h"
#include "framework/UiAnswerer.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* pView : m_views)
        pView->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const wchar_t* pszTitle)
{
    m_strTitle = pszTitle;
    for (CView* pView : m_views) {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(const wchar_t* pszPathName, BOOL bAddToMRU)
{
    wchar_t full[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameW(pszPathName, MAX_PATH * 2, full, nullptr);
    m_strPathName = (n > 0 && n < MAX_PATH * 2) ? CString(full) : CString(pszPathName);
    int nSlash = m_strPathName.ReverseFind(L'\\');
    SetTitle(m_strPathName.Mid(nSlash + 1).GetString());
    if (bAddToMRU && AfxGetApp() != nullptr)
        AfxGetApp()->AddToRecentFileList(m_strPathName.GetString());
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_views.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1));
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    auto nIndex = reinterpret_cast<UINT_PTR>(rPosition);
    if (nIndex == 0 || nIndex > m_views.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    CView* pView = m_views[nIndex - 1];
    rPosition = nIndex < m_views.size() ? reinterpret_cast<POSITION>(nIndex + 1) : nullptr;
    return pView;
}

void CDocument::AddView(CView* pView)
{
    m_views.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (CView* pView : m_views)
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const wchar_t* pszPathName)
{
    CFile file;
    CFileException error;
    if (!file.Open(pszPathName, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        CString strText;
        strText.Format(L"Failed to open document.\n\n%s", pszPathName);
        AfxMessageBox(strText.GetString(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::Serialize(CArchive&) {}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
