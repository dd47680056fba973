#include "report/LangPreviewView.h"

#include "res/resource.h"

IMPLEMENT_DYNCREATE(CLangPreviewView, CPreviewView)

BEGIN_MESSAGE_MAP(CLangPreviewView, CPreviewView)
    ON_UPDATE_COMMAND_UI(ID_AFX_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
END_MESSAGE_MAP()

void CLangPreviewView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    if (bActivate && m_pToolBar != nullptr && m_pToolBar->GetSafeHwnd() != nullptr) {
        struct Button {
            UINT nID;
            UINT nText;
        };
        static const Button kButtons[] = {
            {ID_AFX_PREVIEW_PRINT, IDS_PREVIEW_PRINT},     {ID_AFX_PREVIEW_NEXT, IDS_PREVIEW_NEXT_PAGE},
            {ID_AFX_PREVIEW_PREV, IDS_PREVIEW_PREV_PAGE},  {ID_AFX_PREVIEW_ZOOMIN, IDS_PREVIEW_ZOOM_IN},
            {ID_AFX_PREVIEW_ZOOMOUT, IDS_PREVIEW_ZOOM_OUT}, {ID_AFX_PREVIEW_CLOSE, IDS_PREVIEW_CLOSE},
        };
        for (const Button& b : kButtons)
            if (CWnd* pButton = m_pToolBar->GetDlgItem(static_cast<int>(b.nID)))
                pButton->SetWindowText(LoadText(b.nText).GetString());
    }
    CPreviewView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CLangPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI)
{
    const int n = GetZoomOutPages();
    if (n == m_nNumPagesText)
        return;
    pCmdUI->SetText(LoadText(n == 1 ? IDS_PREVIEW_TWO_PAGE : IDS_PREVIEW_ONE_PAGE).GetString());
    m_nNumPagesText = n;
}
