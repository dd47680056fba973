#include "framework/Preview.h"

#include <winspool.h>

#include <algorithm>
#include <string>

#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

namespace {

constexpr int kPageGap = 12;          // pixels around and between pages
constexpr int kShadow = 3;
constexpr int kScrollStep = 40;

// A toolbar button as the command enabling handlers see it.
class CPreviewButtonUI : public CCmdUI {
public:
    explicit CPreviewButtonUI(CWnd* pButton) : m_pButton(pButton) {}
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        if (m_pButton != nullptr)
            m_pButton->EnableWindow(bOn);
    }
    void SetText(const wchar_t* pszText) override
    {
        if (m_pButton == nullptr)
            return;
        CString strOld;
        m_pButton->GetWindowText(strOld);
        if (strOld != pszText)
            m_pButton->SetWindowText(pszText);
    }

private:
    CWnd* m_pButton;
};

// The paper of the default printer in millimetres; false without one.
bool GetDefaultPrinterPaper(int& nWidthMm, int& nHeightMm)
{
    DWORD nSize = 0;
    ::GetDefaultPrinterW(nullptr, &nSize);
    if (nSize == 0)
        return false;
    std::wstring name(nSize, L'\0');
    if (!::GetDefaultPrinterW(name.data(), &nSize))
        return false;
    HDC hDC = ::CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
    if (hDC == nullptr)
        return false;
    nWidthMm = ::GetDeviceCaps(hDC, HORZSIZE);
    nHeightMm = ::GetDeviceCaps(hDC, VERTSIZE);
    ::DeleteDC(hDC);
    return nWidthMm > 0 && nHeightMm > 0;
}

}  // namespace

CPageCaps AfxGetPreviewPageCaps(HDC hRef)
{
    int nWidthMm = 0, nHeightMm = 0;
    if (!GetDefaultPrinterPaper(nWidthMm, nHeightMm)) {
        wchar_t szMeasure[4] = {};
        ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, szMeasure, 4);
        const bool bMetric = szMeasure[0] == L'0';
        nWidthMm = bMetric ? 210 : 216;
        nHeightMm = bMetric ? 297 : 279;
    }
    HDC hScreen = hRef != nullptr ? hRef : ::GetDC(nullptr);
    const double dPxPerMmX = static_cast<double>(::GetDeviceCaps(hScreen, HORZRES)) /
                             std::max(1, ::GetDeviceCaps(hScreen, HORZSIZE));
    const double dPxPerMmY = static_cast<double>(::GetDeviceCaps(hScreen, VERTRES)) /
                             std::max(1, ::GetDeviceCaps(hScreen, VERTSIZE));
    if (hRef == nullptr)
        ::ReleaseDC(nullptr, hScreen);
    CPageCaps caps;
    caps.nHorzSize = nWidthMm;
    caps.nVertSize = nHeightMm;
    caps.nHorzRes = std::max(1, static_cast<int>(nWidthMm * dPxPerMmX + 0.5));
    caps.nVertRes = std::max(1, static_cast<int>(nHeightMm * dPxPerMmY + 0.5));
    caps.nLogPixelsX = std::max(1, static_cast<int>(25.4 * dPxPerMmX + 0.5));
    caps.nLogPixelsY = std::max(1, static_cast<int>(25.4 * dPxPerMmY + 0.5));
    return caps;
}

// The toolbar.

BOOL CPreviewToolBar::OnCommand(WPARAM wParam, LPARAM)
{
    if (m_pPreview == nullptr || m_pPreview->GetSafeHwnd() == nullptr)
        return FALSE;
    // As a command of the preview itself, run from the message loop: closing
    // the preview destroys this toolbar.
    m_pPreview->PostMessage(WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
    return TRUE;
}

BOOL CPreviewToolBar::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && m_pPreview != nullptr && m_pPreview->HandlePreviewKey(static_cast<UINT>(pMsg->wParam)))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CPreviewToolBar::PostNcDestroy()
{
    delete this;
}

// The preview view.

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

CPreviewView::~CPreviewView()
{
    // The document is the print view's, which never listed the preview.
    m_pDocument = nullptr;
    delete m_pPreviewState;
}

int CPreviewView::OnCreate(LPCREATESTRUCT lpcs)
{
    // No document: the preview shows the print view's.
    return DefWindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(lpcs)) == -1 ? -1 : 0;
}

UINT CPreviewView::GetPageCount() const
{
    if (m_pPreviewInfo == nullptr)
        return 1;
    const UINT nMax = m_pPreviewInfo->GetMaxPage();
    // A view without a page count previews one page.
    return nMax == 0xFFFF || nMax < 1 ? 1 : nMax;
}

int CPreviewView::GetPagesShown() const
{
    if (m_nZoomState != 0)
        return 1;
    const UINT nLeft = GetPageCount() - m_nCurrentPage + 1;
    return static_cast<int>(std::min<UINT>(static_cast<UINT>(m_nZoomOutPages), nLeft));
}

int CPreviewView::GetToolBarHeight() const
{
    if (m_pToolBar == nullptr || m_pToolBar->GetSafeHwnd() == nullptr)
        return 0;
    RECT rc;
    ::GetWindowRect(m_pToolBar->GetSafeHwnd(), &rc);
    return rc.bottom - rc.top;
}

void CPreviewView::OnSize(UINT, int cx, int)
{
    if (m_pToolBar != nullptr && m_pToolBar->GetSafeHwnd() != nullptr)
        ::SetWindowPos(m_pToolBar->GetSafeHwnd(), nullptr, 0, 0, cx, GetToolBarHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(TRUE);
}

BOOL CPreviewView::OnEraseBkgnd(CDC*)
{
    return TRUE;   // OnDraw paints every pixel
}

void CPreviewView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (bActivate && m_pToolBar != nullptr && m_pToolBar->GetSafeHwnd() != nullptr) {
        UpdateToolBar();
        // The first enabled button takes the focus, as the keys are the toolbar's.
        HWND hFirst = ::GetNextDlgTabItem(m_pToolBar->GetSafeHwnd(), nullptr, FALSE);
        ::SetFocus(hFirst != nullptr ? hFirst : m_pToolBar->GetSafeHwnd());
    }
}

HENHMETAFILE CPreviewView::RenderPage(UINT nPage)
{
    if (m_pPrintView == nullptr || m_pPreviewInfo == nullptr)
        return nullptr;
    CPrintInfo& info = *m_pPreviewInfo;
    const CPageCaps& caps = info.m_PageCaps;
    // The frame is the paper in 0.01 mm.
    const RECT rcFrame{0, 0, caps.nHorzSize * 100, caps.nVertSize * 100};
    CDC dc;
    if (!dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, &rcFrame, nullptr)))
        return nullptr;
    dc.m_bPrinting = true;
    info.m_nCurPage = nPage;
    info.m_bContinuePrinting = TRUE;
    info.m_rectDraw.SetRect(0, 0, caps.nHorzRes, caps.nVertRes);
    m_pPrintView->OnPrepareDC(&dc, &info);
    const int nSaved = dc.SaveDC();
    m_pPrintView->OnPrint(&dc, &info);
    dc.RestoreDC(nSaved);
    return ::CloseEnhMetaFile(dc.Detach());
}

void CPreviewView::OnDraw(CDC* pDC)
{
    RECT rcClient;
    GetClientRect(&rcClient);
    const int nTop = GetToolBarHeight();
    CRect rcArea(0, nTop, rcClient.right, rcClient.bottom);
    pDC->FillSolidRect(&rcArea, ::GetSysColor(COLOR_APPWORKSPACE));
    if (m_pPreviewInfo == nullptr || rcArea.Width() <= 2 * kPageGap || rcArea.Height() <= 2 * kPageGap)
        return;
    const CPageCaps& caps = m_pPreviewInfo->m_PageCaps;
    const int nShown = GetPagesShown();
    const double dAspect = static_cast<double>(caps.nVertSize) / std::max(1, caps.nHorzSize);
    int cx = 0, cy = 0;
    const int nAvailX = (rcArea.Width() - (std::max(1, nShown) + 1) * kPageGap) / std::max(1, nShown);
    const int nAvailY = rcArea.Height() - 2 * kPageGap;
    if (m_nZoomState == 0) {
        cx = std::min(nAvailX, static_cast<int>(nAvailY / dAspect));
        cy = static_cast<int>(cx * dAspect);
    } else {
        cx = (rcArea.Width() - 2 * kPageGap) * m_nZoomState;
        cy = static_cast<int>(cx * dAspect);
        m_nScrollY = std::clamp(m_nScrollY, 0, std::max(0, cy + 2 * kPageGap - rcArea.Height()));
    }
    if (cx <= 0 || cy <= 0)
        return;
    const int nTotalWidth = nShown * cx + (nShown - 1) * kPageGap;
    int x = std::max(kPageGap, (rcArea.Width() - nTotalWidth) / 2) - (m_nZoomState != 0 ? 0 : 0);
    const int y = nTop + kPageGap - (m_nZoomState != 0 ? m_nScrollY : 0);
    for (int i = 0; i < nShown; ++i, x += cx + kPageGap) {
        const CRect rcPage(x, y, x + cx, y + cy);
        pDC->FillSolidRect(rcPage.left + kShadow, rcPage.top + kShadow, cx, cy, RGB(64, 64, 64));
        pDC->FillSolidRect(&rcPage, RGB(255, 255, 255));
        if (HENHMETAFILE hPage = RenderPage(m_nCurrentPage + static_cast<UINT>(i))) {
            ::PlayEnhMetaFile(pDC->GetSafeHdc(), hPage, &rcPage);
            ::DeleteEnhMetaFile(hPage);
        }
    }
}

void CPreviewView::UpdateToolBar()
{
    if (m_pToolBar == nullptr || m_pToolBar->GetSafeHwnd() == nullptr)
        return;
    for (UINT nID : {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_NEXT, AFX_ID_PREVIEW_PREV, AFX_ID_PREVIEW_NUMPAGE,
                     AFX_ID_PREVIEW_ZOOMIN, AFX_ID_PREVIEW_ZOOMOUT, AFX_ID_PREVIEW_CLOSE}) {
        CPreviewButtonUI ui(m_pToolBar->GetDlgItem(static_cast<int>(nID)));
        ui.m_nID = nID;
        ui.DoUpdate(this, false);
    }
}

void CPreviewView::SetCurrentPage(UINT nPage)
{
    m_nCurrentPage = std::clamp<UINT>(nPage, 1, GetPageCount());
    m_nScrollY = 0;
    UpdateToolBar();
    Invalidate(TRUE);
}

bool CPreviewView::HandlePreviewKey(UINT nKey)
{
    switch (nKey) {
    case VK_NEXT: OnNextPage(); return true;
    case VK_PRIOR: OnPrevPage(); return true;
    case VK_ESCAPE: PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0); return true;
    case VK_DOWN:
    case VK_UP:
        if (m_nZoomState == 0)
            return false;
        m_nScrollY += nKey == VK_DOWN ? kScrollStep : -kScrollStep;
        Invalidate(TRUE);
        return true;
    default: return false;
    }
}

BOOL CPreviewView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && HandlePreviewKey(static_cast<UINT>(pMsg->wParam)))
        return TRUE;
    return CView::PreTranslateMessage(pMsg);
}

void CPreviewView::OnNextPage()
{
    if (m_nCurrentPage + static_cast<UINT>(GetPagesShown()) <= GetPageCount())
        SetCurrentPage(m_nCurrentPage + 1);
}

void CPreviewView::OnPrevPage()
{
    if (m_nCurrentPage > 1)
        SetCurrentPage(m_nCurrentPage - 1);
}

void CPreviewView::OnNumPageChange()
{
    m_nZoomOutPages = m_nZoomOutPages == 1 ? 2 : 1;
    m_nZoomState = 0;
    SetCurrentPage(m_nCurrentPage);
}

void CPreviewView::OnZoomIn()
{
    if (m_nZoomState < 2) {
        ++m_nZoomState;
        SetCurrentPage(m_nCurrentPage);
    }
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoomState > 0) {
        --m_nZoomState;
        SetCurrentPage(m_nCurrentPage);
    }
}

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(m_nZoomOutPages == 1 ? L"&Two Page" : L"&One Page");
    pCmdUI->Enable(m_nZoomState == 0);
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nCurrentPage + static_cast<UINT>(GetPagesShown()) <= GetPageCount());
}

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nCurrentPage > 1);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nZoomState < 2);
}

void CPreviewView::OnUpdateZoomOut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nZoomState > 0);
}

void CPreviewView::OnPreviewClose()
{
    CView* pPrintView = m_pPrintView;
    if (pPrintView == nullptr) {
        ClosePreview();
        return;
    }
    CClientDC dc(this);
    POINT pt{0, 0};
    // The print view ends the preview; this object is gone afterwards.
    pPrintView->OnEndPrintPreview(&dc, m_pPreviewInfo.get(), pt, this);
}

void CPreviewView::OnPreviewPrint()
{
    CView* pPrintView = m_pPrintView;
    OnPreviewClose();
    // The standard print command of the view that was previewed.
    if (pPrintView != nullptr && pPrintView->GetSafeHwnd() != nullptr)
        pPrintView->SendMessage(WM_COMMAND, ID_AFX_FILE_PRINT, 0);
}

void CPreviewView::ClosePreview()
{
    CFrameWnd* pFrame = GetParentFrame();
    CView* pPrintView = m_pPrintView;
    if (m_pPreviewState != nullptr && m_pPreviewState->hWndPrintView != nullptr &&
        ::IsWindow(m_pPreviewState->hWndPrintView)) {
        ::SetWindowLongPtrW(GetSafeHwnd(), GWLP_ID, 0);
        ::SetWindowLongPtrW(m_pPreviewState->hWndPrintView, GWLP_ID, static_cast<LONG_PTR>(m_pPreviewState->nIDPrintView));
        ::ShowWindow(m_pPreviewState->hWndPrintView, SW_SHOW);
    }
    if (pFrame != nullptr) {
        pFrame->SetActiveView(pPrintView);
        pFrame->RecalcLayout();
    }
    if (pPrintView != nullptr && pPrintView->GetSafeHwnd() != nullptr)
        pPrintView->SetFocus();
    // The toolbar goes with its parent; then the object (PostNcDestroy).
    m_pToolBar = nullptr;
    DestroyWindow();
}

// Starting and ending a preview.

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, const CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr || pPrintView == nullptr || pState == nullptr || pPreviewViewClass == nullptr ||
        pPrintView->GetSafeHwnd() == nullptr)
        return FALSE;
    CObject* pObject = pPreviewViewClass->CreateObject();
    auto* pPreview = dynamic_cast<CPreviewView*>(pObject);
    if (pPreview == nullptr) {
        delete pObject;
        return FALSE;
    }
    pPreview->m_pPrintView = pPrintView;
    // The frame's document stays that of the print view.
    pPreview->m_pDocument = pPrintView->GetDocument();
    pPreview->m_pPreviewInfo = std::make_unique<CPrintInfo>();
    CPrintInfo* pInfo = pPreview->m_pPreviewInfo.get();
    pInfo->m_bPreview = TRUE;
    pInfo->m_PageCaps = AfxGetPreviewPageCaps();
    if (!pPrintView->OnPreparePrinting(pInfo)) {
        delete pPreview;
        return FALSE;
    }

    // The print view steps aside: hidden, and no longer the frame's pane.
    pState->hWndPrintView = pPrintView->GetSafeHwnd();
    pState->nIDPrintView = static_cast<UINT>(pPrintView->GetDlgCtrlID());
    ::SetWindowLongPtrW(pState->hWndPrintView, GWLP_ID, 0);
    RECT rc;
    pFrame->GetClientRect(&rc);
    if (!pPreview->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rc, pFrame, AFX_IDW_PANE_FIRST)) {
        // The failed window has taken the object with it.
        ::SetWindowLongPtrW(pState->hWndPrintView, GWLP_ID, static_cast<LONG_PTR>(pState->nIDPrintView));
        return FALSE;
    }
    auto* pToolBar = new CPreviewToolBar(pPreview);
    if (!pToolBar->Create(nIDResource, pPreview)) {
        delete pToolBar;
        pPreview->DestroyWindow();
        ::SetWindowLongPtrW(pState->hWndPrintView, GWLP_ID, static_cast<LONG_PTR>(pState->nIDPrintView));
        return FALSE;
    }
    pPreview->m_pToolBar = pToolBar;
    pPreview->m_pPreviewState = pState;
    ::ShowWindow(pState->hWndPrintView, SW_HIDE);
    pFrame->SetActiveView(pPreview);
    pFrame->RecalcLayout();
    pPreview->OnSize(0, rc.right - rc.left, rc.bottom - rc.top);

    CClientDC dc(pPreview);
    pPrintView->OnBeginPrinting(&dc, pInfo);
    pPreview->m_nZoomOutPages = pInfo->m_nNumPreviewPages == 2 ? 2 : 1;
    pPreview->m_nCurrentPage = std::clamp<UINT>(pInfo->GetMinPage(), 1, pPreview->GetPageCount());
    pPreview->OnActivateView(TRUE, pPreview, pPrintView);
    return TRUE;
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CView* pView)
{
    OnEndPrinting(pDC, pInfo);
    if (auto* pPreview = dynamic_cast<CPreviewView*>(pView))
        pPreview->ClosePreview();
}
