// Message maps: each handler signature gets its arguments decoded from the
// real messages, a derived class's map comes before its base's, and what no
// map handles reaches the window's previous procedure.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Dc.h"
#include "framework/Wnd.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const UINT kMsgSum = WM_APP + 1;
const UINT kMsgDerivedOnly = WM_APP + 2;
// Registered at static initialisation, as the program's own are; the map
// reads the variable when it looks the message up.
UINT g_nRegisteredMessage = ::RegisterWindowMessageW(L"VudadarFrameworkTests.Registered");
UINT g_nOtherRegisteredMessage = ::RegisterWindowMessageW(L"VudadarFrameworkTests.Other");

const COLORREF kCtlBackground = RGB(255, 0, 0);

class CTestWnd : public CWnd {
public:
    struct SizeCall {
        UINT nType;
        int cx;
        int cy;
    };
    struct ClickCall {
        UINT nFlags;
        CPoint point;
    };
    struct CtlColorCall {
        HDC hDC;
        HWND hCtrl;
        UINT nCtlColor;
    };

    ~CTestWnd() override
    {
        DestroyWindow();
        ::DeleteObject(m_hBrush);
    }

    BOOL CreateTopLevel()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"Message map test", WS_OVERLAPPEDWINDOW,
                        CRect(20, 20, 420, 320), nullptr, 0);
    }

    std::vector<UINT_PTR> timers;
    std::vector<SizeCall> sizes;
    std::vector<ClickCall> clicks;
    std::vector<CtlColorCall> ctlColors;
    std::vector<std::pair<WPARAM, LPARAM>> registered;
    HBRUSH m_hBrush = ::CreateSolidBrush(kCtlBackground);

protected:
    void OnTimer(UINT_PTR nIDEvent)
    {
        timers.push_back(nIDEvent);
        KillTimer(nIDEvent);
    }
    void OnSize(UINT nType, int cx, int cy) { sizes.push_back({nType, cx, cy}); }
    void OnLButtonDown(UINT nFlags, CPoint point) { clicks.push_back({nFlags, point}); }
    LRESULT OnSum(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) * 1000 + lParam; }
    LRESULT OnRegistered(WPARAM wParam, LPARAM lParam)
    {
        registered.emplace_back(wParam, lParam);
        return 0x5A5A;
    }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        ctlColors.push_back({pDC->GetSafeHdc(), pWnd != nullptr ? pWnd->m_hWnd : nullptr, nCtlColor});
        pDC->SetBkColor(kCtlBackground);
        return m_hBrush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(kMsgSum, OnSum)
    ON_REGISTERED_MESSAGE(g_nRegisteredMessage, OnRegistered)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Takes WM_SIZE and one message of the base over, adds one of its own.
class CDerivedWnd : public CTestWnd {
public:
    std::vector<SizeCall> derivedSizes;
    std::vector<WPARAM> derivedOnly;

protected:
    void OnSize(UINT nType, int cx, int cy) { derivedSizes.push_back({nType, cx, cy}); }
    LRESULT OnDerivedSum(WPARAM wParam, LPARAM lParam) { return -static_cast<LRESULT>(wParam + lParam); }
    LRESULT OnDerivedOnly(WPARAM wParam, LPARAM)
    {
        derivedOnly.push_back(wParam);
        return 1;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CTestWnd)
    ON_WM_SIZE()
    ON_MESSAGE(kMsgSum, OnDerivedSum)
    ON_MESSAGE(kMsgDerivedOnly, OnDerivedOnly)
END_MESSAGE_MAP()

// An edit control that counts the characters typed and lets the edit
// control itself insert them.
class CCountingEdit : public CWnd {
public:
    struct CharCall {
        UINT nChar;
        UINT nRepCnt;
        UINT nFlags;
    };
    std::vector<CharCall> chars;
    int m_nLengthBefore = -1;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        chars.push_back({nChar, nRepCnt, nFlags});
        // A message sent to the window meanwhile must not become the one
        // Default passes on.
        m_nLengthBefore = GetWindowTextLength();
        Default();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingEdit, CWnd)
    ON_WM_CHAR()
END_MESSAGE_MAP()

// Handles one message of its own and nothing the control knows.
class CSumWnd : public CWnd {
protected:
    LRESULT OnSum(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSumWnd, CWnd)
    ON_MESSAGE(kMsgSum, OnSum)
END_MESSAGE_MAP()

CRect ClientRect(HWND hWnd)
{
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    return rc;
}

}  // namespace

TEST(MessageMap, HandlersGetTheirArgumentsDecoded)
{
    CTestWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    wnd.ShowWindow(SW_SHOWNA);

    // WM_SIZE: the new client size, and how it came about.
    wnd.sizes.clear();
    wnd.MoveWindow(30, 40, 300, 200);
    ASSERT_FALSE(wnd.sizes.empty());
    CRect rcClient = ClientRect(wnd);
    EXPECT_EQ(wnd.sizes.back().nType, static_cast<UINT>(SIZE_RESTORED));
    EXPECT_EQ(wnd.sizes.back().cx, rcClient.Width());
    EXPECT_EQ(wnd.sizes.back().cy, rcClient.Height());
    wnd.ShowWindow(SW_MAXIMIZE);
    ASSERT_FALSE(wnd.sizes.empty());
    EXPECT_EQ(wnd.sizes.back().nType, static_cast<UINT>(SIZE_MAXIMIZED));
    EXPECT_EQ(wnd.sizes.back().cx, ClientRect(wnd).Width());
    wnd.ShowWindow(SW_RESTORE);

    // Mouse: key flags, and a point left of the client area stays negative.
    wnd.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(-5, 300));
    PumpMessages();
    ASSERT_EQ(wnd.clicks.size(), 1u);
    EXPECT_EQ(wnd.clicks[0].nFlags, static_cast<UINT>(MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(wnd.clicks[0].point.x, -5);
    EXPECT_EQ(wnd.clicks[0].point.y, 300);

    // A real timer tick gives its id.
    ASSERT_NE(wnd.SetTimer(7, 10), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !wnd.timers.empty(); }));
    ASSERT_EQ(wnd.timers.size(), 1u);
    EXPECT_EQ(wnd.timers[0], 7u);

    // A user message's handler result is the message's result.
    EXPECT_EQ(wnd.SendMessage(kMsgSum, 12, 34), 12034);

    // A registered message by the id the system gave it; another one is not handled.
    EXPECT_EQ(wnd.SendMessage(g_nRegisteredMessage, 3, 4), 0x5A5A);
    EXPECT_EQ(wnd.SendMessage(g_nOtherRegisteredMessage, 5, 6), 0);
    ASSERT_EQ(wnd.registered.size(), 1u);
    EXPECT_EQ(wnd.registered[0], (std::pair<WPARAM, LPARAM>(3, 4)));
}

TEST(MessageMap, CtlColorHandlerServesEveryControlColourMessage)
{
    CTestWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    HWND hCtrl = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 60, 20, wnd, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(hCtrl, nullptr);
    HDC hDC = ::GetDC(hCtrl);

    struct Case {
        UINT message;
        UINT nCtlColor;
    };
    const Case cases[] = {
        {WM_CTLCOLORMSGBOX, CTLCOLOR_MSGBOX}, {WM_CTLCOLOREDIT, CTLCOLOR_EDIT},
        {WM_CTLCOLORLISTBOX, CTLCOLOR_LISTBOX}, {WM_CTLCOLORBTN, CTLCOLOR_BTN},
        {WM_CTLCOLORDLG, CTLCOLOR_DLG}, {WM_CTLCOLORSCROLLBAR, CTLCOLOR_SCROLLBAR},
        {WM_CTLCOLORSTATIC, CTLCOLOR_STATIC},
    };
    for (const Case& c : cases) {
        wnd.ctlColors.clear();
        LRESULT lResult = wnd.SendMessage(c.message, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hCtrl));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(lResult), wnd.m_hBrush) << "message " << c.message;
        ASSERT_EQ(wnd.ctlColors.size(), 1u) << "message " << c.message;
        EXPECT_EQ(wnd.ctlColors[0].nCtlColor, c.nCtlColor) << "message " << c.message;
        EXPECT_EQ(wnd.ctlColors[0].hDC, hDC);
        EXPECT_EQ(wnd.ctlColors[0].hCtrl, hCtrl);
    }
    // The colour set on the DC stays there for the control to draw with.
    EXPECT_EQ(::GetBkColor(hDC), kCtlBackground);
    ::ReleaseDC(hCtrl, hDC);

    // Painted for real, the static asks its parent and fills with the brush it got.
    wnd.ShowWindow(SW_SHOWNA);
    wnd.ctlColors.clear();
    ::RedrawWindow(hCtrl, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_FALSE(wnd.ctlColors.empty());
    EXPECT_EQ(wnd.ctlColors[0].hCtrl, hCtrl);
    EXPECT_EQ(wnd.ctlColors[0].nCtlColor, static_cast<UINT>(CTLCOLOR_STATIC));
    HDC hCtrlDC = ::GetDC(hCtrl);
    EXPECT_EQ(::GetPixel(hCtrlDC, 30, 10), kCtlBackground);
    ::ReleaseDC(hCtrl, hCtrlDC);
}

TEST(MessageMap, DerivedMapComesFirstAndFallsBackToItsBase)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    wnd.sizes.clear();
    wnd.derivedSizes.clear();

    wnd.MoveWindow(0, 0, 250, 150);
    EXPECT_FALSE(wnd.derivedSizes.empty());
    EXPECT_TRUE(wnd.sizes.empty()) << "the base's WM_SIZE handler ran too";

    EXPECT_EQ(wnd.SendMessage(kMsgSum, 2, 3), -5) << "the derived entry replaces the base's";
    EXPECT_EQ(wnd.SendMessage(kMsgDerivedOnly, 9, 0), 1);
    EXPECT_EQ(wnd.derivedOnly, std::vector<WPARAM>{9});

    // Entries only the base has are still reached.
    EXPECT_EQ(wnd.SendMessage(g_nRegisteredMessage, 1, 2), 0x5A5A);
    wnd.PostMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(4, 5));
    PumpMessages();
    ASSERT_EQ(wnd.clicks.size(), 1u);
    EXPECT_EQ(wnd.clicks[0].point, CPoint(4, 5));

    // A plain CTestWnd does not see the derived class's message.
    CTestWnd base;
    ASSERT_TRUE(base.CreateTopLevel());
    EXPECT_EQ(base.SendMessage(kMsgDerivedOnly, 9, 0), 0);
    EXPECT_EQ(base.SendMessage(kMsgSum, 2, 3), 2003);
}

TEST(MessageMap, UnhandledMessagesReachTheControlsOwnProcedure)
{
    CTestWnd parent;
    ASSERT_TRUE(parent.CreateTopLevel());

    // A system edit control created through the library.
    CCountingEdit edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"start", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                              CRect(10, 10, 200, 34), &parent, 100));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &edit);
    EXPECT_EQ(edit.GetWindowText().ToAnsi(), "start");
    edit.SendMessage(EM_SETSEL, 5, 5);
    edit.SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"ed"));
    EXPECT_EQ(edit.GetWindowText().ToAnsi(), "started");
    // A handler that calls Default lets the control do its part.
    edit.PostMessage(WM_CHAR, L'X', MAKELPARAM(3, 0x2D));
    PumpMessages();
    ASSERT_EQ(edit.chars.size(), 1u);
    EXPECT_EQ(edit.chars[0].nChar, static_cast<UINT>(L'X'));
    EXPECT_EQ(edit.chars[0].nRepCnt, 3u);
    EXPECT_EQ(edit.chars[0].nFlags, 0x2Du);
    EXPECT_EQ(edit.m_nLengthBefore, 7);
    EXPECT_EQ(edit.GetWindowText().ToAnsi(), "startedX");
    EXPECT_EQ(::GetDlgCtrlID(edit), 100);

    // A static made by someone else and subclassed afterwards.
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"label", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 40, 100, 20,
                                     parent, nullptr, nullptr, nullptr);
    CSumWnd label;
    ASSERT_TRUE(label.SubclassWindow(hStatic));
    EXPECT_EQ(label.GetWindowText().ToAnsi(), "label");
    label.SetWindowText(L"changed");
    EXPECT_EQ(label.GetWindowText().ToAnsi(), "changed");
    EXPECT_EQ(label.SendMessage(WM_GETTEXTLENGTH), 7);
    EXPECT_EQ(label.SendMessage(kMsgSum, 40, 2), 42);
}

// The run-time class records the document template creates objects from.
class CSerialThing : public CObject {
    DECLARE_SERIAL(CSerialThing)
};
IMPLEMENT_SERIAL(CSerialThing, CObject, 1)

TEST(RuntimeClass, CreatesByClassAndKnowsItsBases)
{
    std::unique_ptr<CObject> pFrame(RUNTIME_CLASS(CFrameWnd)->CreateObject());
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(pFrame->GetRuntimeClass(), RUNTIME_CLASS(CFrameWnd));
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(pFrame->IsKindOf(RUNTIME_CLASS(CView)));
    // Only dynamically creatable classes can be made.
    EXPECT_EQ(RUNTIME_CLASS(CWnd)->CreateObject(), nullptr);

    EXPECT_EQ(CRuntimeClass::FromName("CSerialThing"), RUNTIME_CLASS(CSerialThing));
    EXPECT_EQ(CRuntimeClass::FromName("CFrameWnd"), nullptr);
    std::unique_ptr<CObject> pThing(CRuntimeClass::FromName("CSerialThing")->CreateObject());
    ASSERT_NE(pThing, nullptr);
    EXPECT_TRUE(pThing->IsKindOf(RUNTIME_CLASS(CSerialThing)));
}
