#include "framework/DocTemplate.h"

#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int nStart = 0;
    for (int i = 0; i < index; ++i) {
        int nNext = m_strDocStrings.Find(L'\n', nStart);
        if (nNext < 0)
            return FALSE;
        nStart = nNext + 1;
    }
    int nEnd = m_strDocStrings.Find(L'\n', nStart);
    rString = nEnd < 0 ? m_strDocStrings.Mid(nStart) : m_strDocStrings.Mid(nStart, nEnd - nStart);
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    auto* pDoc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (pDoc != nullptr)
        pDoc->m_pDocTemplate = this;
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd*)
{
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    auto* pFrame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (pFrame == nullptr)
        return nullptr;
    // A frame that failed has deleted itself (PostNcDestroy).
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::SetDefaultTitle(CDocument* pDoc) const
{
    CString strTitle;
    GetDocString(strTitle, docName);
    pDoc->SetTitle(strTitle.IsEmpty() ? L"Untitled" : strTitle.GetString());
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc != nullptr) {
        CDocument* pDoc = m_pOnlyDoc;
        m_pOnlyDoc = nullptr;
        pDoc->m_pDocTemplate = nullptr;
        delete pDoc;
    }
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const wchar_t* pszPathName, BOOL bMakeVisible)
{
    if (m_pOnlyDoc != nullptr) {
        // The one document is reused; its frame stays.
        BOOL bOk = pszPathName == nullptr ? m_pOnlyDoc->OnNewDocument() : m_pOnlyDoc->OnOpenDocument(pszPathName);
        if (!bOk)
            return nullptr;
        if (pszPathName != nullptr)
            m_pOnlyDoc->SetPathName(pszPathName);
        else
            SetDefaultTitle(m_pOnlyDoc);  // not the name of the file it held before
        return m_pOnlyDoc;
    }

    CDocument* pDoc = CreateNewDocument();
    if (pDoc == nullptr)
        return nullptr;
    m_pOnlyDoc = pDoc;
    CFrameWnd* pFrame = CreateNewFrame(pDoc, nullptr);
    if (pFrame == nullptr) {
        delete pDoc;
        return nullptr;
    }
    if (pszPathName == nullptr) {
        SetDefaultTitle(pDoc);
        if (!pDoc->OnNewDocument()) {
            pFrame->DestroyWindow();
            delete pDoc;
            return nullptr;
        }
    } else {
        if (!pDoc->OnOpenDocument(pszPathName)) {
            pFrame->DestroyWindow();
            delete pDoc;
            return nullptr;
        }
        pDoc->SetPathName(pszPathName);
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == nullptr)
        pApp->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
    return pDoc;
}
