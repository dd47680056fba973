#include "framework/View.h"

#include "framework/Dc.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_AFX_INITIALUPDATE, OnInitialUpdateMessage)
    ON_COMMAND(ID_AFX_FILE_PRINT, OnFilePrintCommand)
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (HWND hWnd = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd)))
            return pFrame;
    }
    return nullptr;
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (DefWindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(lpcs)) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    return FALSE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    // Without a page count of its own a job prints one page.
    if (pInfo != nullptr && !pInfo->m_bPreview && pInfo->GetMaxPage() == 0xFFFF)
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (pInfo->m_bPreview) {
        // A preview takes every page of the document.
        pInfo->m_pPD->m_nFromPage = pInfo->GetMinPage();
        pInfo->m_pPD->m_nToPage = pInfo->GetMaxPage();
        return TRUE;
    }
    if (m_pPageWriter != nullptr) {
        CPageCaps caps;
        const HDC hDC = m_pPageWriter->BeginJob(caps);
        if (hDC == nullptr)
            return FALSE;
        pInfo->m_pPD->UsePageWriterDC(hDC, caps);
        pInfo->m_pJobSink = m_pPageWriter;
        pInfo->m_PageCaps = caps;
        return TRUE;
    }
    return pInfo->m_pPD->DoModal() == IDOK && pInfo->m_pPD->GetPrinterDC() != nullptr;
}

void CView::OnFilePrintCommand()
{
    OnFilePrint();
}

bool CView::OnFilePrint()
{
    CPrintInfo info;
    if (m_pPrintInfoTemplate != nullptr) {
        info.m_pJobSink = m_pPrintInfoTemplate->m_pJobSink;
        info.m_PageCaps = m_pPrintInfoTemplate->m_PageCaps;
    }
    if (!OnPreparePrinting(&info))
        return false;
    if (!info.m_PageCaps.IsSet())
        info.m_PageCaps = info.m_pPD->GetPageCaps();

    bool bOwnsDC = false;
    CDC dc;
    dc.Attach(info.m_pPD->TakePrinterDC(bOwnsDC));
    if (dc.GetSafeHdc() == nullptr)
        return false;
    dc.m_bPrinting = true;

    CString strDocName = AfxGetAppName();
    if (m_pDocument != nullptr && !m_pDocument->GetTitle().IsEmpty())
        strDocName = m_pDocument->GetTitle();

    OnBeginPrinting(&dc, &info);
    const bool bPrinted = AfxRunPrintPages(this, &dc, &info, strDocName);
    OnEndPrinting(&dc, &info);

    HDC hDC = dc.Detach();
    if (bOwnsDC)
        ::DeleteDC(hDC);
    return bPrinted;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::PostNcDestroy()
{
    delete this;
}
