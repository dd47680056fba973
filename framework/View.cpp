#include "framework/View.h"

#include "framework/Dc.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_AFX_INITIALUPDATE, OnInitialUpdateMessage)
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

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnEndPrintPreview(CDC*, CPrintInfo*, POINT, CView*) {}

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
