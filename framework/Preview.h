// The print preview: a view that takes the place of the printing view in
// its frame, with a toolbar of buttons along its top, and draws the pages
// of the printing view through the same OnPrint as a print job. Each page
// is drawn into an enhanced metafile of the default paper and shown scaled
// into the window, so no printer is needed.
#pragma once

#include <memory>

#include "framework/Dialog.h"
#include "framework/View.h"

// The class library's preview command and toolbar buttons.
constexpr UINT ID_AFX_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
constexpr UINT AFX_ID_PREVIEW_NUMPAGE = 0xE301;
constexpr UINT AFX_ID_PREVIEW_NEXT = 0xE302;
constexpr UINT AFX_ID_PREVIEW_PREV = 0xE303;
constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE304;
constexpr UINT AFX_ID_PREVIEW_ZOOMIN = 0xE305;
constexpr UINT AFX_ID_PREVIEW_ZOOMOUT = 0xE306;

// The page a preview draws on: the default printer's paper when there is
// a printer, else Letter or A4 by the user's measurement system, at the
// resolution of the reference device hRef (the screen for nullptr), so
// that the metafile's device units are the page's pixels.
CPageCaps AfxGetPreviewPageCaps(HDC hRef = nullptr);

// What a preview needs to put the printing view back when it ends.
struct CPrintPreviewState {
    HWND hWndPrintView = nullptr;
    UINT nIDPrintView = 0;
};

class CPreviewView;

// The row of buttons; its commands and the paging keys go to the preview.
class CPreviewToolBar : public CDialog {
public:
    explicit CPreviewToolBar(CPreviewView* pPreview) : m_pPreview(pPreview) {}
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override {}
    void OnCancel() override {}

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    CPreviewView* m_pPreview;
};

class CPreviewView : public CView {
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView() = default;
    ~CPreviewView() override;

    // Called when the preview becomes the frame's view: the keyboard focus
    // goes to the toolbar.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

    CPreviewToolBar* GetToolBar() const { return m_pToolBar; }
    CPrintInfo* GetPrintInfo() const { return m_pPreviewInfo.get(); }
    CView* GetPrintView() const { return m_pPrintView; }
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    // Pages side by side when zoomed out (1 or 2), and the zoom (0 out).
    int GetZoomOutPages() const { return m_nZoomOutPages; }
    int GetZoomState() const { return m_nZoomState; }
    // The pages on screen now.
    int GetPagesShown() const;
    UINT GetPageCount() const;

    // Draws page nPage of the printing view into a new metafile of the
    // preview's paper; the caller deletes it. nullptr when it cannot be made.
    HENHMETAFILE RenderPage(UINT nPage);
    // Sets the toolbar's button states and texts through the command
    // enabling handlers.
    void UpdateToolBar();
    // Ends the preview: the printing view back in the frame, the toolbar
    // and the preview window gone (the object with it).
    void ClosePreview();

    void OnDraw(CDC* pDC) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The paging keys of the toolbar and the view: true when taken.
    bool HandlePreviewKey(UINT nKey);

protected:
    friend class CView;
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);

    void OnPreviewClose();
    void OnNumPageChange();
    void OnNextPage();
    void OnPrevPage();
    void OnPreviewPrint();
    void OnZoomIn();
    void OnZoomOut();
    void OnUpdateNumPageChange(CCmdUI* pCmdUI);
    void OnUpdateNextPage(CCmdUI* pCmdUI);
    void OnUpdatePrevPage(CCmdUI* pCmdUI);
    void OnUpdateZoomIn(CCmdUI* pCmdUI);
    void OnUpdateZoomOut(CCmdUI* pCmdUI);

    void SetCurrentPage(UINT nPage);
    int GetToolBarHeight() const;

    CView* m_pPrintView = nullptr;
    std::unique_ptr<CPrintInfo> m_pPreviewInfo;
    CPrintPreviewState* m_pPreviewState = nullptr;
    CPreviewToolBar* m_pToolBar = nullptr;
    UINT m_nCurrentPage = 1;
    int m_nZoomOutPages = 1;
    int m_nZoomState = 0;     // 0 whole pages, 1 page width, 2 twice the page width
    int m_nScrollY = 0;       // zoomed in: pixels of the page scrolled past

    DECLARE_MESSAGE_MAP()
};
