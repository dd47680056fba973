#include "tests/framework/WindowTestSupport.h"

#include "framework/DocTemplate.h"
#include "res/resource.h"

CTrioLog g_trio;

namespace {
void Log(const char* pszWho, UINT nID)
{
    g_trio.handled.push_back(std::string(pszWho) + " " + std::to_string(nID));
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    // The system's input-method window comes with the thread's first window.
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (::lstrcmpiW(szClass, L"IME") != 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}
}  // namespace

bool PumpMessages(int* pnExitCode)
{
    bool bQuit = false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            bQuit = true;
            if (pnExitCode != nullptr)
                *pnExitCode = static_cast<int>(msg.wParam);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return bQuit;
}

bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwTimeoutMs - dwElapsed, QS_ALLINPUT);
    }
}

std::vector<HWND> ThreadTopLevelWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(kIdAppOnly, OnAppOnly)
END_MESSAGE_MAP()

CTestApp::CTestApp() : CWinApp(kTestAppName)
{
    m_hInstance = ::GetModuleHandleW(nullptr);
    SetRegistryKey(kTestRegistryKey);
}

void CTestApp::OnAppOnly()
{
    Log("app", kIdAppOnly);
}

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(kIdDocOnly, OnDocOnly)
END_MESSAGE_MAP()

CTestDoc::~CTestDoc()
{
    ++g_trio.nDocsDeleted;
}

void CTestDoc::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
        ++g_trio.nSerializeLoads;
}

void CTestDoc::OnDocOnly()
{
    Log("doc", kIdDocOnly);
}

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(kIdViewOnly, OnViewOnly)
    ON_COMMAND(kIdShared, OnShared)
    ON_COMMAND(kIdUpdateDisables, OnCommandDisabled)
    ON_UPDATE_COMMAND_UI(kIdUpdateRouted, OnUpdateRouted)
END_MESSAGE_MAP()

CTestView::~CTestView()
{
    ++g_trio.nViewsDeleted;
}

void CTestView::OnInitialUpdate()
{
    ++g_trio.nInitialUpdates;
    CView::OnInitialUpdate();
}

void CTestView::OnViewOnly()
{
    Log("view", kIdViewOnly);
}

void CTestView::OnCommandDisabled()
{
    Log("view", kIdUpdateDisables);
}

void CTestView::OnShared()
{
    Log("view", kIdShared);
}

void CTestView::OnUpdateRouted(CCmdUI* pCmdUI)
{
    Log("view update", pCmdUI->m_nID);
    pCmdUI->ContinueRouting();
}

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(kIdShared, OnShared)
    ON_COMMAND(kIdFrameOnly, OnFrameOnly)
    ON_COMMAND_RANGE(kIdRangeFirst, kIdRangeLast, OnRange)
    ON_UPDATE_COMMAND_UI(kIdUpdateOnly, OnUpdateOnly)
    ON_UPDATE_COMMAND_UI(kIdUpdateDisables, OnUpdateDisables)
    ON_UPDATE_COMMAND_UI(kIdUpdateRouted, OnUpdateRouted)
END_MESSAGE_MAP()

CTestFrame::~CTestFrame()
{
    ++g_trio.nFramesDeleted;
}

BOOL CTestFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (g_trio.bFailCreateClient)
        return FALSE;
    return CFrameWnd::OnCreateClient(lpcs, pContext);
}

void CTestFrame::OnShared()
{
    Log("frame", kIdShared);
}

void CTestFrame::OnFrameOnly()
{
    Log("frame", kIdFrameOnly);
}

void CTestFrame::OnRange(UINT nID)
{
    Log("frame range", nID);
}

void CTestFrame::OnUpdateOnly(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(1);
    pCmdUI->SetText(L"Updated text");
}

void CTestFrame::OnUpdateDisables(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CTestFrame::OnUpdateRouted(CCmdUI* pCmdUI)
{
    Log("frame update", pCmdUI->m_nID);
    pCmdUI->Enable(TRUE);
}

CSingleDocTemplate* MakeTestTemplate()
{
    return new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                  RUNTIME_CLASS(CTestView));
}

void DeleteTestRegistryKey()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\") + kTestRegistryKey).c_str());
}

void DocViewFixture::SetUp()
{
    DeleteTestRegistryKey();
    g_trio = CTrioLog{};
    m_pTemplate = MakeTestTemplate();
    m_app.AddDocTemplate(m_pTemplate);
    m_nWindowsBefore = ThreadTopLevelWindows().size();
}

void DocViewFixture::TearDown()
{
    if (m_app.m_pMainWnd != nullptr)
        m_app.m_pMainWnd->DestroyWindow();
    PumpMessages();  // the main window's quit request included
    EXPECT_EQ(ThreadTopLevelWindows().size(), m_nWindowsBefore) << "a window was left behind";
    DeleteTestRegistryKey();
}
