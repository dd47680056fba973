// CWnd: a C++ object attached to a window handle. Every window the program
// creates through the class library is subclassed at creation so its
// messages reach the object's message map, then its previous procedure.
// An object created with Create/CreateEx owns its window (the destructor
// destroys a window that still exists); one attached with Attach or
// SubclassWindow only views it and gives it back with Detach/UnsubclassWindow.
#pragma once

#include "framework/CmdTarget.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CDC;
class CFont;
class CMenu;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Null for a null object too (pWnd->GetSafeHwnd() with pWnd from GetDlgItem).
    HWND GetSafeHwnd() const;
    operator HWND() const { return GetSafeHwnd(); }

    // The object attached to hWnd; for a window without one, a temporary
    // object that views it and lives until the next idle clean-up.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();

    bool Attach(HWND hWnd);
    HWND Detach();
    // Routes an existing window's messages through this object.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // On failure the object has been through PostNcDestroy, whether or not
    // the window ever existed: one that deletes itself there is gone.
    virtual BOOL CreateEx(DWORD dwExStyle, const wchar_t* pszClassName, const wchar_t* pszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = nullptr);
    virtual BOOL Create(const wchar_t* pszClassName, const wchar_t* pszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Message flow.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PreSubclassWindow() {}
    // Called after the window is gone; windows that delete themselves do so here.
    virtual void PostNcDestroy() {}
    // Offers the message to hWnd's object and to the objects of its parents
    // and owners up to hWndStop; true when one of them consumed it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Window state and geometry.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRect = nullptr, HRGN hRgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // Texts, children and relatives.
    void SetWindowText(const wchar_t* pszString) { ::SetWindowTextW(m_hWnd, pszString); }
    void GetWindowText(CString& rString) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetDlgItemText(int nID, const wchar_t* pszString) { ::SetDlgItemTextW(m_hWnd, nID, pszString); }
    int GetDlgItemText(int nID, CString& rString) const;
    // String nIDString of the program's string table as the text of the
    // child control nID (0: this window's own text). FALSE, changing
    // nothing, when the string or the control is missing.
    BOOL SetDlgItemTextFromString(int nID, UINT nIDString);
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    // For a pop-up window this is its owner, as with the system call.
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetOwner() const;
    static CWnd* GetFocus();
    CWnd* SetFocus();
    static CWnd* GetForegroundWindow();
    static CWnd* GetActiveWindow();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

    // Fonts, timers, device contexts, menus.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    BOOL SetMenu(HMENU hMenu) { return ::SetMenu(m_hWnd, hMenu); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);

    // The message currently processed by this thread's window procedure.
    static const MSG* GetCurrentMessage();

protected:
    WNDPROC m_pfnSuper = nullptr;  // the procedure the window had before it was subclassed
    bool m_bOwnsWindow = false;    // created through this object

    // Default handlers reached through the message map, and the default
    // processing a derived handler falls back to.
    void OnNcDestroy();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    LRESULT Default();

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);
    friend class CDialog;

    DECLARE_MESSAGE_MAP()
};

// Sends WM_COMMAND / WM_NOTIFY from the hooks to the right object and lets
// the class library subclass a window it is about to create.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
void AfxHookWindowCreate(CWnd* pWnd);
// True when the hook attached the object to the window being created.
bool AfxUnhookWindowCreate();
// After a creation that failed: runs PostNcDestroy when the window's own
// destruction did not (bAttached: AfxUnhookWindowCreate's result).
void AfxEndFailedCreate(CWnd* pWnd, bool bAttached);

// Registers (once) a window class of the class library with the given
// style, cursor, background and icon, and returns its name.
const wchar_t* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                   HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor() : m_hOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hOld); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }

private:
    HCURSOR m_hOld;
};
