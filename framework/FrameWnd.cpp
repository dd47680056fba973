#include "framework/FrameWnd.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd()
{
    if (m_hAccelTable != nullptr)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr) {
        HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDResource));
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), hIcon);
    }
    // The frame title is not a window style; the system must not see it.
    cs.style &= ~FWS_ADDTOTITLE;
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    m_dwFrameStyle = dwDefaultStyle;
    CString strDocString;
    strDocString.LoadString(nIDResource);
    int nNewline = strDocString.Find(L'\n');
    m_strTitle = nNewline < 0 ? strDocString : strDocString.Left(nNewline);

    HINSTANCE hInst = AfxGetResourceHandle();
    m_hMenuDefault = ::LoadMenuW(hInst, MAKEINTRESOURCEW(nIDResource));
    if (m_hAccelTable == nullptr)
        m_hAccelTable = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(nIDResource));

    CREATESTRUCT cs{};
    cs.style = dwDefaultStyle;
    cs.lpszName = m_strTitle.GetString();
    cs.x = CW_USEDEFAULT;
    cs.y = CW_USEDEFAULT;
    cs.cx = CW_USEDEFAULT;
    cs.cy = CW_USEDEFAULT;
    if (!PreCreateWindow(cs)) {
        AfxEndFailedCreate(this, false);
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, m_hMenuDefault,
                                  ::GetModuleHandleW(nullptr), pContext);
    bool bAttached = AfxUnhookWindowCreate();
    if (hWnd == nullptr) {
        AfxEndFailedCreate(this, bAttached);
        return FALSE;
    }
    m_bOwnsWindow = true;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (DefWindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(lpcs)) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    auto* pView = dynamic_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
    if (pView == nullptr)
        return nullptr;
    RECT rect = {0, 0, 0, 0};
    // A view that failed has deleted itself (PostNcDestroy).
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, this, nID, pContext))
        return nullptr;
    return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    auto* pView = dynamic_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)));
    if (pView != nullptr)
        SetActiveView(pView);
    // Every view below the frame gets its initial update.
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageW(hChild, WM_AFX_INITIALUPDATE, 0, 0);
    if (bMakeVisible) {
        CWinApp* pApp = AfxGetApp();
        ActivateFrame(pApp != nullptr && pApp->m_pMainWnd == this ? pApp->m_nCmdShow : -1);
        if (pView != nullptr)
            pView->SetFocus();
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW;
    ShowWindow(nCmdShow);
    ::BringWindowToTop(m_hWnd);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView != nullptr ? pView->GetDocument() : nullptr;
}

CView* CFrameWnd::GetActiveView() const
{
    return m_hWndActiveView != nullptr ? dynamic_cast<CView*>(CWnd::FromHandlePermanent(m_hWndActiveView)) : nullptr;
}

void CFrameWnd::SetActiveView(CView* pView)
{
    m_hWndActiveView = pView != nullptr ? pView->m_hWnd : nullptr;
}

void CFrameWnd::RecalcLayout()
{
    HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (hPane == nullptr)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::MoveWindow(hPane, 0, 0, rc.right, rc.bottom, TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (m_hWnd == nullptr)
        return;
    CString strCaption = m_strTitle;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDoc != nullptr)
        strCaption = pDoc->GetTitle() + L" - " + m_strTitle;
    if (GetWindowText() != strCaption)
        SetWindowText(strCaption.GetString());
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    // No accelerators while a modal dialog has disabled the frame.
    if (m_hAccelTable != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::IsWindowEnabled(m_hWnd))
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg) != 0;
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo)
{
    CView* pView = GetActiveView();
    if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Code 1 without a control: an accelerator. Its menu entry may be greyed
    // while the key still works, so the command state is asked first.
    if (lParam == 0 && HIWORD(wParam) == 1) {
        CCmdUI state;
        state.m_nID = LOWORD(wParam);
        state.DoUpdate(this, true);
        if (!state.m_bEnabled)
            return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    DefWindowProc(WM_SIZE, nType, MAKELPARAM(cx, cy));
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    DefWindowProc(WM_DESTROY, 0, 0);
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (CView* pView = GetActiveView())
        pView->SetFocus();
}

void CFrameWnd::OnInitMenuPopup(HMENU hPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu)
        return;
    CCmdUI state;
    state.m_hMenu = hPopupMenu;
    state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(hPopupMenu));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        UINT nID = ::GetMenuItemID(hPopupMenu, static_cast<int>(state.m_nIndex));
        if (nID == 0 || nID == static_cast<UINT>(-1))
            continue;  // separators and sub-menus
        state.m_nID = nID;
        state.DoUpdate(this, true);
    }
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}
