// CWnd lifetime: who owns a window, what views it, how subclassing is undone,
// what happens when the system destroys a window under its object, and the
// pre-translation walk through parents and owners.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Wnd.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const UINT kMsgPing = WM_APP + 7;

struct CLifeLog {
    int nPreSubclass = 0;
    int nPostNcDestroy = 0;
    int nDeleted = 0;
    int nPings = 0;
};

enum class Refuse { Nothing, InPreCreateWindow, InCreate };

// Counts its life's events; optionally deletes itself when its window goes
// (as frames and views do) or refuses to be created.
class CLifeWnd : public CWnd {
public:
    explicit CLifeWnd(CLifeLog& log, bool bDeleteSelf = false, Refuse refuse = Refuse::Nothing)
        : m_log(log), m_bDeleteSelf(bDeleteSelf), m_refuse(refuse)
    {
    }
    ~CLifeWnd() override { ++m_log.nDeleted; }

    BOOL CreateTopLevel(const wchar_t* pszClass = nullptr)
    {
        return CreateEx(0, pszClass != nullptr ? pszClass : AfxRegisterWndClass(0), L"Life", WS_OVERLAPPEDWINDOW,
                        CRect(0, 0, 200, 100), nullptr, 0);
    }
    BOOL CreateChild(CWnd* pParent, UINT nID)
    {
        return Create(nullptr, L"Child", WS_VISIBLE, CRect(0, 0, 50, 20), pParent, nID);
    }

    void PreSubclassWindow() override { ++m_log.nPreSubclass; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        return m_refuse != Refuse::InPreCreateWindow && CWnd::PreCreateWindow(cs);
    }

protected:
    int OnCreate(LPCREATESTRUCT) { return m_refuse == Refuse::InCreate ? -1 : 0; }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        ++m_log.nPings;
        return 77;
    }
    void PostNcDestroy() override
    {
        ++m_log.nPostNcDestroy;
        if (m_bDeleteSelf)
            delete this;
    }

    CLifeLog& m_log;
    bool m_bDeleteSelf;
    Refuse m_refuse;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLifeWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(kMsgPing, OnPing)
END_MESSAGE_MAP()

// Records the order in which the walk offers a message; one of them may consume it.
class CWalkWnd : public CWnd {
public:
    CWalkWnd(std::vector<std::string>& visits, const char* pszName) : m_visits(visits), m_strName(pszName) {}
    BOOL PreTranslateMessage(MSG*) override
    {
        m_visits.push_back(m_strName);
        return m_bConsume;
    }
    bool m_bConsume = false;

private:
    std::vector<std::string>& m_visits;
    std::string m_strName;
};

HWND MakeRawWindow(const wchar_t* pszClass, DWORD dwStyle, HWND hParent)
{
    return ::CreateWindowExW(0, pszClass, L"raw", dwStyle, 0, 0, 80, 30, hParent, nullptr, nullptr, nullptr);
}

WNDPROC ProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

}  // namespace

TEST(WndLifetime, CreatedWindowGoesWithItsObject)
{
    CLifeLog log;
    HWND hWnd = nullptr;
    {
        CLifeWnd wnd(log);
        ASSERT_TRUE(wnd.CreateTopLevel());
        hWnd = wnd;
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
        EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
        EXPECT_EQ(wnd.SendMessage(kMsgPing), 77);
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WndLifetime, ForeignWindowIsOnlyViewed)
{
    HWND hWnd = MakeRawWindow(L"STATIC", WS_OVERLAPPED, nullptr);
    ASSERT_NE(hWnd, nullptr);
    WNDPROC pfnOriginal = ProcOf(hWnd);

    CWnd* pView = CWnd::FromHandle(hWnd);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pView) << "one temporary object per window";
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(ProcOf(hWnd), pfnOriginal) << "a view does not subclass";
    EXPECT_EQ(pView->GetWindowText().ToAnsi(), "raw");

    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(hWnd)) << "dropping the view destroyed the window";
    ::DestroyWindow(hWnd);

    // The familiar null-tolerant calls.
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    CWnd* pMissing = CWnd::FromHandle(nullptr);
    EXPECT_EQ(pMissing->GetSafeHwnd(), nullptr);
}

TEST(WndLifetime, AttachAndDetachLeaveTheWindowAlone)
{
    HWND hWnd = MakeRawWindow(L"STATIC", WS_OVERLAPPED, nullptr);
    HWND hOther = MakeRawWindow(L"STATIC", WS_OVERLAPPED, nullptr);
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.Attach(hWnd));
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
        EXPECT_FALSE(wnd.Attach(hOther)) << "an object holds one window";
        EXPECT_EQ(wnd.Detach(), hWnd);
        EXPECT_EQ(wnd.m_hWnd, nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

        ASSERT_TRUE(wnd.Attach(hOther));
    }
    // The attached object went without destroying its window or leaving itself in the map.
    EXPECT_TRUE(::IsWindow(hOther));
    EXPECT_EQ(CWnd::FromHandlePermanent(hOther), nullptr);
    EXPECT_TRUE(::IsWindow(hWnd));
    ::DestroyWindow(hWnd);
    ::DestroyWindow(hOther);
}

TEST(WndLifetime, SubclassingIsUndoneByUnsubclassAndByTheDestructor)
{
    HWND hEdit = MakeRawWindow(L"EDIT", WS_OVERLAPPED, nullptr);
    ASSERT_NE(hEdit, nullptr);
    WNDPROC pfnEdit = ProcOf(hEdit);
    CLifeLog log;
    {
        CLifeWnd wnd(log);
        ASSERT_TRUE(wnd.SubclassWindow(hEdit));
        EXPECT_EQ(log.nPreSubclass, 1);
        EXPECT_EQ(ProcOf(hEdit), &AfxWndProc);
        EXPECT_EQ(wnd.SendMessage(kMsgPing), 77);
        EXPECT_EQ(wnd.UnsubclassWindow(), hEdit);
        EXPECT_EQ(ProcOf(hEdit), pfnEdit);
        EXPECT_EQ(wnd.m_hWnd, nullptr);
        EXPECT_EQ(::SendMessageW(hEdit, kMsgPing, 0, 0), 0) << "the object still gets messages";
        EXPECT_EQ(log.nPings, 1);

        ASSERT_TRUE(wnd.SubclassWindow(hEdit));
    }
    EXPECT_TRUE(::IsWindow(hEdit));
    EXPECT_EQ(ProcOf(hEdit), pfnEdit);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    // The edit control still works on its own.
    ::SetWindowTextW(hEdit, L"abc");
    EXPECT_EQ(::GetWindowTextLengthW(hEdit), 3);
    ::DestroyWindow(hEdit);
    EXPECT_EQ(log.nPostNcDestroy, 0);
}

TEST(WndLifetime, WindowDestroyedBySystemDetachesItsObject)
{
    CLifeLog parentLog;
    CLifeLog childLog;
    CLifeLog selfLog;
    CLifeWnd parent(parentLog);
    ASSERT_TRUE(parent.CreateTopLevel());
    CLifeWnd child(childLog);
    ASSERT_TRUE(child.CreateChild(&parent, 5));
    EXPECT_EQ(child.GetDlgCtrlID(), 5);
    EXPECT_EQ(child.GetParent(), &parent);
    // A window that deletes its object when it goes, as frames and views do.
    auto* pSelf = new CLifeWnd(selfLog, true);
    ASSERT_TRUE(pSelf->CreateChild(&parent, 6));
    HWND hParent = parent;
    HWND hChild = child;

    ::DestroyWindow(hParent);
    EXPECT_EQ(parent.m_hWnd, nullptr);
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hParent), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hChild), nullptr);
    EXPECT_EQ(parentLog.nPostNcDestroy, 1);
    EXPECT_EQ(childLog.nPostNcDestroy, 1);
    EXPECT_EQ(selfLog.nPostNcDestroy, 1);
    EXPECT_EQ(selfLog.nDeleted, 1);

    // The objects live on and can make a window again.
    ASSERT_TRUE(parent.CreateTopLevel());
    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(parentLog.nPostNcDestroy, 2);
}

// Whether or not the window ever existed, a failed creation has run
// PostNcDestroy once, so an object that deletes itself there is gone, once.
TEST(WndLifetime, FailedCreationEndsInPostNcDestroyOnce)
{
    struct Case {
        const char* what;
        Refuse refuse;
        const wchar_t* pszClass;
    };
    const Case cases[] = {
        {"refused in WM_CREATE", Refuse::InCreate, nullptr},
        {"refused by PreCreateWindow", Refuse::InPreCreateWindow, nullptr},
        {"unknown window class", Refuse::Nothing, L"VudadarFrameworkTests.NoSuchClass"},
    };
    for (const Case& c : cases) {
        CLifeLog log;
        auto* pWnd = new CLifeWnd(log, true, c.refuse);
        size_t nWindows = ThreadTopLevelWindows().size();
        EXPECT_FALSE(pWnd->CreateTopLevel(c.pszClass)) << c.what;
        EXPECT_EQ(log.nPostNcDestroy, 1) << c.what;
        EXPECT_EQ(log.nDeleted, 1) << c.what;
        EXPECT_EQ(ThreadTopLevelWindows().size(), nWindows) << c.what;
    }
}

TEST(WndPreTranslate, WalksChildToParentToOwnerUpToTheStopWindow)
{
    std::vector<std::string> visits;
    CWalkWnd owner(visits, "owner");
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200),
                               nullptr, 0));
    CWalkWnd popup(visits, "popup");
    ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), L"popup", WS_POPUP | WS_CAPTION, CRect(10, 10, 200, 150),
                               &owner, 0));
    CWalkWnd child(visits, "child");
    ASSERT_TRUE(child.Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 100, 50), &popup, 1));
    // A control the library does not know sits between the target and its object parent.
    HWND hGrandChild = MakeRawWindow(L"EDIT", WS_CHILD | WS_VISIBLE, child);
    // A top-level window that is owned without being a pop-up.
    CWalkWnd tool(visits, "tool");
    ASSERT_TRUE(tool.CreateEx(0, AfxRegisterWndClass(0), L"tool", WS_OVERLAPPED | WS_CAPTION, CRect(0, 0, 100, 80),
                              &owner, 0));
    ASSERT_EQ(::GetWindow(tool, GW_OWNER), owner.m_hWnd);

    struct Case {
        const char* what;
        HWND hTarget;
        HWND hStop;
        CWalkWnd* pConsumer;
        std::vector<std::string> visits;
        bool bConsumed;
    };
    const Case cases[] = {
        {"to the top", hGrandChild, nullptr, nullptr, {"child", "popup", "owner"}, false},
        {"stop at the owner", hGrandChild, owner, nullptr, {"child", "popup", "owner"}, false},
        {"stop at the pop-up", hGrandChild, popup, nullptr, {"child", "popup"}, false},
        {"pop-up consumes", hGrandChild, nullptr, &popup, {"child", "popup"}, true},
        {"target consumes", child, nullptr, &child, {"child"}, true},
        {"owned overlapped window", tool, nullptr, nullptr, {"tool", "owner"}, false},
    };
    for (const Case& c : cases) {
        visits.clear();
        for (CWalkWnd* p : {&owner, &popup, &child, &tool})
            p->m_bConsume = p == c.pConsumer;
        MSG msg{c.hTarget, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
        EXPECT_EQ(CWnd::WalkPreTranslateTree(c.hStop, &msg) != FALSE, c.bConsumed) << c.what;
        EXPECT_EQ(visits, c.visits) << c.what;
    }
}
