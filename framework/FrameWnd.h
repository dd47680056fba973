// CFrameWnd: a main window with a menu, accelerators and one view filling
// its client area. Commands go first to the active view (and its document),
// then to the frame, then to the application.
#pragma once

#include "framework/Wnd.h"

class CView;
class CDocument;
struct CCreateContext;

// The child id of the view that fills the frame.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
// Frame style flag: the caption shows the document title before the frame title.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Creates the window with the menu, accelerators, icon and title
    // (first field of the document string) of resource nIDResource. A
    // frame that fails has deleted itself (PostNcDestroy), as CreateEx says.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual CDocument* GetActiveDocument();
    // Null once the view's window is gone (the view deletes itself then).
    CView* GetActiveView() const;
    void SetActiveView(CView* pView);
    virtual void RecalcLayout();
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(const wchar_t* pszTitle) { m_strTitle = pszTitle; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo) override;
    // A shortcut key's command runs only when the command's state allows
    // it, as its menu entry would.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnSetFocus(CWnd* pOldWnd);
    void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);

    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDResource = 0;
    CString m_strTitle;
    // Kept by window: a view destroyed on its own leaves no dangling pointer here.
    HWND m_hWndActiveView = nullptr;
    DWORD m_dwFrameStyle = 0;

    DECLARE_MESSAGE_MAP()
};
