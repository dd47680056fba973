// CView: the child window that shows a document inside a frame.
#pragma once

#include "framework/Print.h"
#include "framework/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
struct CPrintPreviewState;
struct CRuntimeClass;

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
    // The end of a preview: OnEndPrinting, then the preview view pView
    // closes and this view is back in the frame.
    virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CView* pView);
    // Starts a print preview of pPrintView in this view's frame: a view of
    // class pPreviewViewClass (a CPreviewView) with the toolbar of dialog
    // template nIDResource takes this view's place, after OnPreparePrinting
    // and OnBeginPrinting of the print view. On success the preview owns
    // pState; FALSE leaves everything as it was and pState to the caller.
    BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, const CRuntimeClass* pPreviewViewClass,
                        CPrintPreviewState* pState);
    // The standard print command (ID_FILE_PRINT): OnPreparePrinting (which
    // calls DoPreparePrinting for the print dialog), then OnBeginPrinting,
    // the pages From to To (OnPrepareDC, OnPrint each) and OnEndPrinting
    // with the printer's DC. Returns true when the document was printed.
    bool OnFilePrint();
    // Shows the print dialog for the page range the print info holds,
    // unless previewing (a preview takes its pages without asking) or
    // printing to the page writer (all pages, on its DC); FALSE when it is
    // cancelled or no printer DC can be had.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // A test's or the preview's hook: the print info OnFilePrint starts
    // from (job sink, page caps); nullptr for a fresh one.
    CPrintInfo* m_pPrintInfoTemplate = nullptr;
    // Set while the view prints to a page writer of its own (a PDF file):
    // the print preparation then asks no one and the pages go to it.
    CPrintPageWriter* m_pPageWriter = nullptr;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo) override;
    void PostNcDestroy() override;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    void OnFilePrintCommand();

    CDocument* m_pDocument = nullptr;

    friend class CDocument;
    DECLARE_MESSAGE_MAP()
};

// The class library's print command (File > Print, Ctrl+P).
constexpr UINT ID_AFX_FILE_PRINT = 0xE107;

// Sent by the frame to its view when the document is ready to be shown.
constexpr UINT WM_AFX_INITIALUPDATE = WM_APP + 0x3F00;
