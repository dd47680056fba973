// Message maps: each class that handles messages or commands declares a
// static table binding a message (or a command id and notification code) to
// a member function with a typed signature. Lookup walks from the object's
// own table to its base classes' tables; an unhandled message goes to the
// default window procedure.
#pragma once

#include <windows.h>

class CCmdTarget;
class CCmdUI;
class CDC;
class CWnd;
class CPoint;

using AfxPmsg = void (CCmdTarget::*)();

// A handler as a member of its own signature, chosen by the entry's MsgSig;
// a derived class's handler is stored as a pointer to member of CCmdTarget.
union MsgHandler {
    AfxPmsg v_v;
    void (CCmdTarget::*v_u)(UINT);
    BOOL (CCmdTarget::*b_v)();
    int (CCmdTarget::*i_cs)(LPCREATESTRUCT);
    void (CCmdTarget::*v_ut)(UINT_PTR);
    void (CCmdTarget::*v_uii)(UINT, int, int);
    void (CCmdTarget::*v_ii)(int, int);
    void (CCmdTarget::*v_upt)(UINT, CPoint);
    void (CCmdTarget::*v_uuu)(UINT, UINT, UINT);
    LRESULT (CCmdTarget::*l_wl)(WPARAM, LPARAM);
    void (CCmdTarget::*cmdui)(CCmdUI*);
    HBRUSH (CCmdTarget::*hbr_dwu)(CDC*, CWnd*, UINT);
    void (CCmdTarget::*v_idis)(int, LPDRAWITEMSTRUCT);
    BOOL (CCmdTarget::*b_dc)(CDC*);
    void (CCmdTarget::*v_bu)(BOOL, UINT);
    void (CCmdTarget::*v_notify)(NMHDR*, LRESULT*);
    void (CCmdTarget::*v_uuw)(UINT, UINT, CWnd*);
    void (CCmdTarget::*v_w)(CWnd*);
    void (CCmdTarget::*v_hmenu)(HMENU, UINT, BOOL);
};

enum class MsgSig : unsigned char {
    End,
    v_v,        // void f()
    v_u,        // void f(UINT)                      command ranges
    b_v,        // BOOL f()
    i_cs,       // int f(LPCREATESTRUCT)             WM_CREATE
    v_ut,       // void f(UINT_PTR)                  WM_TIMER
    v_uii,      // void f(UINT, int, int)            WM_SIZE
    v_ii,       // void f(int, int)                  WM_MOVE
    v_upt,      // void f(UINT, CPoint)              mouse messages
    v_uuu,      // void f(UINT, UINT, UINT)          key messages
    l_wl,       // LRESULT f(WPARAM, LPARAM)         user and registered messages
    cmdui,      // void f(CCmdUI*)                   command enabling
    hbr_dwu,    // HBRUSH f(CDC*, CWnd*, UINT)       WM_CTLCOLOR*
    v_idis,     // void f(int, LPDRAWITEMSTRUCT)     WM_DRAWITEM
    b_dc,       // BOOL f(CDC*)                      WM_ERASEBKGND
    v_bu,       // void f(BOOL, UINT)                WM_SHOWWINDOW
    v_notify,   // void f(NMHDR*, LRESULT*)          WM_NOTIFY
    v_uuw,      // void f(UINT, UINT, CWnd*)         WM_ACTIVATE
    v_w,        // void f(CWnd*)                     WM_SETFOCUS, WM_KILLFOCUS
    v_hmenu,    // void f(HMENU, UINT, BOOL)         WM_INITMENUPOPUP
};

struct MsgMapEntry {
    UINT nMessage;       // window message, or WM_COMMAND / WM_NOTIFY
    UINT nCode;          // notification code of commands and notifications
    UINT nID;            // first control or command id
    UINT nLastID;        // last id of a range
    MsgSig sig;
    MsgHandler pfn;
    const UINT* pnRegisteredMessage;  // for registered messages: where the id is kept
};

struct MsgMap {
    const MsgMap* (*pfnGetBaseMap)();
    const MsgMapEntry* lpEntries;
};

// Pseudo notification code under which command-enabling handlers are kept.
constexpr UINT CN_UPDATE_COMMAND_UI = static_cast<UINT>(-1);
constexpr UINT CN_COMMAND = 0;

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const MsgMap* GetThisMessageMap();              \
    const MsgMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const MsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MsgMap* theClass::GetThisMessageMap()                                 \
    {                                                                           \
        using ThisClass = theClass;                                             \
        using TheBaseClass = baseClass;                                         \
        static const MsgMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                 \
            {0, 0, 0, 0, MsgSig::End, {nullptr}, nullptr}};                 \
        static const MsgMap messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &messageMap;                                               \
    }

// One entry; the handler's signature is checked where the entry is made.
#define AFX_ENTRY_(msg, code, id, lastId, sigName, type, fn, pnReg)                         \
    {.nMessage = (UINT)(msg), .nCode = (UINT)(code), .nID = (UINT)(id), .nLastID = (UINT)(lastId), \
     .sig = MsgSig::sigName, .pfn = {.sigName = static_cast<type>(fn)}, .pnRegisteredMessage = pnReg},

#define ON_MESSAGE_ENTRY_(msg, sig, type, fn) AFX_ENTRY_(msg, 0, 0, 0, sig, type, &ThisClass::fn, nullptr)

// Commands and notifications.
#define ON_COMMAND(id, fn) \
    AFX_ENTRY_(WM_COMMAND, CN_COMMAND, id, id, v_v, void (CCmdTarget::*)(), &ThisClass::fn, nullptr)
#define ON_COMMAND_RANGE(idFirst, idLast, fn) \
    AFX_ENTRY_(WM_COMMAND, CN_COMMAND, idFirst, idLast, v_u, void (CCmdTarget::*)(UINT), &ThisClass::fn, nullptr)
#define ON_UPDATE_COMMAND_UI(id, fn) \
    AFX_ENTRY_(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, cmdui, void (CCmdTarget::*)(CCmdUI*), &ThisClass::fn, nullptr)
#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, fn) \
    AFX_ENTRY_(WM_COMMAND, CN_UPDATE_COMMAND_UI, idFirst, idLast, cmdui, void (CCmdTarget::*)(CCmdUI*), &ThisClass::fn, nullptr)
#define ON_CONTROL(code, id, fn) \
    AFX_ENTRY_(WM_COMMAND, code, id, id, v_v, void (CCmdTarget::*)(), &ThisClass::fn, nullptr)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_NOTIFY(code, id, fn) \
    AFX_ENTRY_(WM_NOTIFY, code, id, id, v_notify, void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::fn, nullptr)

// User-defined and registered window messages.
#define ON_MESSAGE(msg, fn) \
    AFX_ENTRY_(msg, 0, 0, 0, l_wl, LRESULT (CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::fn, nullptr)
#define ON_REGISTERED_MESSAGE(nMessageVariable, fn) \
    AFX_ENTRY_(0xC000, 0, 0, 0, l_wl, LRESULT (CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::fn, &(nMessageVariable))

// Window messages, with the handler names and signatures the classes use.
#define ON_WM_CREATE() ON_MESSAGE_ENTRY_(WM_CREATE, i_cs, int (CCmdTarget::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() ON_MESSAGE_ENTRY_(WM_DESTROY, v_v, void (CCmdTarget::*)(), OnDestroy)
#define ON_WM_CLOSE() ON_MESSAGE_ENTRY_(WM_CLOSE, v_v, void (CCmdTarget::*)(), OnClose)
#define ON_WM_PAINT() ON_MESSAGE_ENTRY_(WM_PAINT, v_v, void (CCmdTarget::*)(), OnPaint)
#define ON_WM_TIMER() ON_MESSAGE_ENTRY_(WM_TIMER, v_ut, void (CCmdTarget::*)(UINT_PTR), OnTimer)
#define ON_WM_SIZE() ON_MESSAGE_ENTRY_(WM_SIZE, v_uii, void (CCmdTarget::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() ON_MESSAGE_ENTRY_(WM_MOVE, v_ii, void (CCmdTarget::*)(int, int), OnMove)
#define ON_WM_LBUTTONDOWN() ON_MESSAGE_ENTRY_(WM_LBUTTONDOWN, v_upt, void (CCmdTarget::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() ON_MESSAGE_ENTRY_(WM_LBUTTONUP, v_upt, void (CCmdTarget::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() ON_MESSAGE_ENTRY_(WM_LBUTTONDBLCLK, v_upt, void (CCmdTarget::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() ON_MESSAGE_ENTRY_(WM_RBUTTONDOWN, v_upt, void (CCmdTarget::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_MOUSEMOVE() ON_MESSAGE_ENTRY_(WM_MOUSEMOVE, v_upt, void (CCmdTarget::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_KEYDOWN() ON_MESSAGE_ENTRY_(WM_KEYDOWN, v_uuu, void (CCmdTarget::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() ON_MESSAGE_ENTRY_(WM_KEYUP, v_uuu, void (CCmdTarget::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() ON_MESSAGE_ENTRY_(WM_CHAR, v_uuu, void (CCmdTarget::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_CTLCOLOR() ON_MESSAGE_ENTRY_(WM_CTLCOLORSTATIC, hbr_dwu, HBRUSH (CCmdTarget::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() ON_MESSAGE_ENTRY_(WM_DRAWITEM, v_idis, void (CCmdTarget::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_ERASEBKGND() ON_MESSAGE_ENTRY_(WM_ERASEBKGND, b_dc, BOOL (CCmdTarget::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SHOWWINDOW() ON_MESSAGE_ENTRY_(WM_SHOWWINDOW, v_bu, void (CCmdTarget::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_ACTIVATE() ON_MESSAGE_ENTRY_(WM_ACTIVATE, v_uuw, void (CCmdTarget::*)(UINT, UINT, CWnd*), OnActivate)
#define ON_WM_SETFOCUS() ON_MESSAGE_ENTRY_(WM_SETFOCUS, v_w, void (CCmdTarget::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() ON_MESSAGE_ENTRY_(WM_KILLFOCUS, v_w, void (CCmdTarget::*)(CWnd*), OnKillFocus)
#define ON_WM_INITMENUPOPUP() ON_MESSAGE_ENTRY_(WM_INITMENUPOPUP, v_hmenu, void (CCmdTarget::*)(HMENU, UINT, BOOL), OnInitMenuPopup)
