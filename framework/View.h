// CView: the child window that shows a document inside a frame.
#pragma once

#include "framework/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;

// What a print or preview job tells the view's printing overrides.
struct CPrintInfo {
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    CRect m_rectDraw;
    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;

    // Printing: the print and preview jobs call these in this order.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CView* pView);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo) override;
    void PostNcDestroy() override;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument = nullptr;

    friend class CDocument;
    DECLARE_MESSAGE_MAP()
};

// Sent by the frame to its view when the document is ready to be shown.
constexpr UINT WM_AFX_INITIALUPDATE = WM_APP + 0x3F00;
