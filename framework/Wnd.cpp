#include "framework/Wnd.h"

#include <memory>
#include <unordered_map>

#include "framework/Dc.h"
#include "framework/GdiObject.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {
// Windows belong to the user-interface thread; these maps are only touched there.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TemporaryMap()
{
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCbt = nullptr;
thread_local MSG t_lastMessage{};

// A view of a window the class library did not create; never destroys it.
class CTempWnd : public CWnd {};
}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        if (m_bOwnsWindow && ::IsWindow(m_hWnd))
            DestroyWindow();
        else if (m_pfnSuper != nullptr)
            UnsubclassWindow();
        else
            Detach();
    }
}

// GCC takes `this` to be non-null and drops the test unless told not to;
// without it a null pWnd->GetSafeHwnd() reads through the null pointer.
__attribute__((optimize("no-delete-null-pointer-checks"))) HWND CWnd::GetSafeHwnd() const
{
    return this != nullptr ? m_hWnd : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = PermanentMap().find(hWnd);
    return it != PermanentMap().end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    auto& temps = TemporaryMap();
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second.get();
    auto pTemp = std::make_unique<CTempWnd>();
    pTemp->m_hWnd = hWnd;
    CWnd* p = pTemp.get();
    temps.emplace(hWnd, std::move(pTemp));
    return p;
}

void CWnd::DeleteTempMap()
{
    for (auto& entry : TemporaryMap())
        entry.second->m_hWnd = nullptr;
    TemporaryMap().clear();
}

bool CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr)
        return false;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return true;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    m_bOwnsWindow = false;
    return hWnd;
}

bool CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return false;
    PreSubclassWindow();
    auto oldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (oldProc != &AfxWndProc)
        m_pfnSuper = oldProc;
    return true;
}

bool CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hCtrl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hCtrl != nullptr && SubclassWindow(hCtrl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != nullptr && m_hWnd != nullptr)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// The hook sees every window this thread creates; the first one created
// after AfxHookWindowCreate is the object's window, subclassed before it
// gets its first message (WM_GETMINMAXINFO / WM_NCCREATE).
LRESULT CALLBACK AfxCbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && t_pWndInit != nullptr) {
        auto hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach(hWnd);
        pWnd->PreSubclassWindow();
        auto oldProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        pWnd->m_pfnSuper = oldProc != &AfxWndProc ? oldProc : &::DefWindowProcW;
    }
    return ::CallNextHookEx(t_hHookCbt, nCode, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    if (t_hHookCbt == nullptr)
        t_hHookCbt = ::SetWindowsHookExW(WH_CBT, &AfxCbtHook, nullptr, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
}

// A window that was attached and then failed has had its WM_NCDESTROY, which
// detached the object and ran PostNcDestroy; the object may be deleted, so
// it is not touched again. One that never got a window gets the same ending,
// so that after a failed creation the object is always PostNcDestroy's.
void AfxEndFailedCreate(CWnd* pWnd, bool bAttached)
{
    if (!bAttached)
        pWnd->PostNcDestroy();
}

bool AfxUnhookWindowCreate()
{
    if (t_hHookCbt != nullptr) {
        ::UnhookWindowsHookEx(t_hHookCbt);
        t_hHookCbt = nullptr;
    }
    bool bHooked = t_pWndInit == nullptr;
    t_pWndInit = nullptr;
    return bHooked;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    MSG saved = t_lastMessage;
    t_lastMessage = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT lResult = 0;
    // No exception may cross into the system's code.
    try {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        lResult = 0;
    }
    t_lastMessage = saved;
    return lResult;
}

const MSG* CWnd::GetCurrentMessage()
{
    return &t_lastMessage;
}

const wchar_t* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::map<std::wstring, std::wstring> registered;
    wchar_t name[96];
    swprintf(name, 96, L"Vudadar:%p:%x:%p:%p:%p", static_cast<void*>(::GetModuleHandleW(nullptr)),
             nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
             static_cast<void*>(hIcon));
    auto it = registered.find(name);
    if (it != registered.end())
        return it->second.c_str();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = nClassStyle;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
    return registered.emplace(name, name).first->second.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const wchar_t* pszClassName, const wchar_t* pszWindowName,
                    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = pszClassName;
    cs.lpszName = pszWindowName;
    cs.style = dwStyle;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    cs.hInstance = ::GetModuleHandleW(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        AfxEndFailedCreate(this, false);
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool bAttached = AfxUnhookWindowCreate();
    if (hWnd == nullptr) {
        AfxEndFailedCreate(this, bAttached);
        return FALSE;
    }
    m_bOwnsWindow = true;
    return TRUE;
}

BOOL CWnd::Create(const wchar_t* pszClassName, const wchar_t* pszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(0, pszClassName, pszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, lpParam);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    // The object may be deleted while the window goes (PostNcDestroy), so
    // nothing of it is touched afterwards unless it survived.
    HWND hWnd = m_hWnd;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (!bResult && FromHandlePermanent(hWnd) == this)
        Detach();
    return bResult;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    // A child goes on to its parent, any top-level window to its owner
    // (GetParent gives the owner of pop-ups only).
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr;
         hWnd = (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    auto hWndCtrl = reinterpret_cast<HWND>(lParam);
    // Menu and accelerator commands carry code 0 or 1; both are plain commands.
    if (hWndCtrl == nullptr)
        nCode = CN_COMMAND;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    const MsgMapEntry* pEntry = FindEntry(GetMessageMap(), WM_NOTIFY, pNMHDR->code,
                                          static_cast<UINT>(pNMHDR->idFrom));
    if (pEntry == nullptr)
        return FALSE;
    (this->*pEntry->pfn.v_notify)(pNMHDR, pResult);
    return TRUE;
}

void CWnd::OnNcDestroy()
{
    HWND hWnd = m_hWnd;
    DefWindowProc(WM_NCDESTROY, 0, 0);
    if (m_pfnSuper != nullptr && ::IsWindow(hWnd))
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) {
        LRESULT lResult = 0;
        if (OnNotify(wParam, lParam, &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        OnNcDestroy();
        return TRUE;
    }

    UINT nLookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        nLookup = WM_CTLCOLORSTATIC;  // one entry serves every control colour message
    const MsgMapEntry* pEntry = FindEntry(GetMessageMap(), nLookup, 0, 0);
    if (pEntry == nullptr)
        return FALSE;

    const MsgHandler& pfn = pEntry->pfn;
    LRESULT lResult = 0;
    switch (pEntry->sig) {
    case MsgSig::v_v:
        (this->*pfn.v_v)();
        break;
    case MsgSig::b_v:
        lResult = (this->*pfn.b_v)();
        break;
    case MsgSig::i_cs:
        lResult = (this->*pfn.i_cs)(
            reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case MsgSig::v_ut:
        (this->*pfn.v_ut)(wParam);
        break;
    case MsgSig::v_uii:
        (this->*pfn.v_uii)(
            static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        break;
    case MsgSig::v_ii:
        (this->*pfn.v_ii)(
            static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        break;
    case MsgSig::v_upt:
        (this->*pfn.v_upt)(
            static_cast<UINT>(wParam), CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        break;
    case MsgSig::v_uuu:
        (this->*pfn.v_uuu)(
            static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case MsgSig::l_wl:
        lResult = (this->*pfn.l_wl)(wParam, lParam);
        break;
    case MsgSig::hbr_dwu: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        HBRUSH hbr = (this->*pfn.hbr_dwu)(
            &dc, CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX);
        dc.Detach();
        lResult = reinterpret_cast<LRESULT>(hbr);
        break;
    }
    case MsgSig::v_idis:
        (this->*pfn.v_idis)(
            static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case MsgSig::b_dc: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        lResult = (this->*pfn.b_dc)(&dc);
        dc.Detach();
        break;
    }
    case MsgSig::v_bu:
        (this->*pfn.v_bu)(static_cast<BOOL>(wParam),
                                                                         static_cast<UINT>(lParam));
        break;
    case MsgSig::v_uuw:
        (this->*pfn.v_uuw)(
            LOWORD(wParam), HIWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case MsgSig::v_w:
        (this->*pfn.v_w)(
            CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case MsgSig::v_hmenu:
        (this->*pfn.v_hmenu)(
            reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    default:
        return FALSE;
    }
    *pResult = lResult;
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(const RECT& rect, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx,
                          cy, nFlags);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    WINDOWPLACEMENT wp = *lpwndpl;
    wp.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, &wp);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = GetStyle();
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::RedrawWindow(LPCRECT lpRect, HRGN hRgn, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRect, hRgn, flags);
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthW(m_hWnd);
    wchar_t* p = rString.GetBuffer(nLen + 1);
    int nGot = ::GetWindowTextW(m_hWnd, p, nLen + 1);
    rString.ReleaseBuffer(nGot);
}

CString CWnd::GetWindowText() const
{
    CString s;
    GetWindowText(s);
    return s;
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hCtrl = ::GetDlgItem(m_hWnd, nID);
    if (hCtrl == nullptr)
        return 0;
    int nLen = ::GetWindowTextLengthW(hCtrl);
    wchar_t* p = rString.GetBuffer(nLen + 1);
    int nGot = ::GetWindowTextW(hCtrl, p, nLen + 1);
    rString.ReleaseBuffer(nGot);
    return nGot;
}

BOOL CWnd::SetDlgItemTextFromString(int nID, UINT nIDString)
{
    HWND hTarget = nID == 0 ? m_hWnd : ::GetDlgItem(m_hWnd, nID);
    if (hTarget == nullptr)
        return FALSE;
    CString strText;
    if (!strText.LoadString(nIDString))
        return FALSE;
    ::SetWindowTextW(hTarget, strText.GetString());
    return TRUE;
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const
{
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND hWnd = m_hWnd;
    while (hWnd != nullptr && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return FromHandle(hWnd);
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetForegroundWindow()
{
    return FromHandle(::GetForegroundWindow());
}

CWnd* CWnd::GetActiveWindow()
{
    return FromHandle(::GetActiveWindow());
}

CWnd* CWnd::SetActiveWindow()
{
    return FromHandle(::SetActiveWindow(m_hWnd));
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont != nullptr ? pFont->GetSafeHandle() : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const
{
    auto hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    return hFont != nullptr ? CFont::FromHandle(hFont) : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

namespace {
// Wraps a DC the system lent the window; ReleaseDC puts back whatever the
// caller left selected and deletes the wrapper.
CDC* WrapWindowDC(HDC hDC)
{
    if (hDC == nullptr)
        return nullptr;
    auto* pDC = new CDC;
    pDC->Attach(hDC);
    pDC->SaveDC();
    return pDC;
}
}  // namespace

CDC* CWnd::GetDC()
{
    return WrapWindowDC(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC()
{
    return WrapWindowDC(::GetWindowDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    if (pDC == nullptr)
        return 0;
    pDC->RestoreDC(-1);
    int nResult = ::ReleaseDC(m_hWnd, pDC->Detach());
    delete pDC;
    return nResult;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = GetCurrentMessage();
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return reinterpret_cast<HBRUSH>(Default());
}
