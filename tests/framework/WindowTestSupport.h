// Shared by the window tests of the class library: message pumping, a test
// application object, and a tiny document/frame/view trio made by the
// single-document template from resource 128.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "tests/TestSupport.h"

// Dispatches every message queued for this thread. A WM_QUIT is taken out
// of the queue; the result says whether one came (and *pnExitCode its code).
bool PumpMessages(int* pnExitCode = nullptr);
// Pumps until done() holds or the time-out passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs = 2000);
// The windows of this thread that are top-level (owned ones included), but
// for the system's input-method window.
std::vector<HWND> ThreadTopLevelWindows();

// The registry key of the tests' profile, below HKEY_CURRENT_USER\Software.
inline constexpr const wchar_t* kTestRegistryKey = L"VudadarFrameworkTests";
inline constexpr const wchar_t* kTestAppName = L"Framework Tests";

// Command ids of the routing tests and what handles them.
enum : UINT {
    kIdViewOnly = 0xA001,      // view
    kIdShared = 0xA002,        // view and frame; the view must win
    kIdDocOnly = 0xA003,       // document
    kIdFrameOnly = 0xA004,     // frame
    kIdAppOnly = 0xA005,       // application
    kIdNoHandler = 0xA006,     // nobody
    kIdRangeFirst = 0xA010,    // frame, one handler for the range
    kIdRangeLast = 0xA014,
    kIdUpdateOnly = 0xA020,    // an enabling handler (frame) and no command handler
    kIdUpdateDisables = 0xA021,  // a command handler (view) whose enabling handler (frame) disables it
    kIdUpdateRouted = 0xA022,  // the view's enabling handler passes it on to the frame's
};

// What the trio's objects did; reset by each test.
struct CTrioLog {
    int nDocsDeleted = 0;
    int nFramesDeleted = 0;
    int nViewsDeleted = 0;
    int nInitialUpdates = 0;
    int nSerializeLoads = 0;
    bool bFailCreateClient = false;
    // "view 40961", "frame range 40976", ... in the order handled.
    std::vector<std::string> handled;
};
extern CTrioLog g_trio;

// The one application object of a test; create it inside the test.
class CTestApp : public CWinApp {
public:
    CTestApp();
    void OnAppOnly();

    DECLARE_MESSAGE_MAP()
};

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    ~CTestDoc() override;
    void Serialize(CArchive& ar) override;
    void OnDocOnly();

    DECLARE_MESSAGE_MAP()
};

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    ~CTestView() override;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override;
    void OnViewOnly();
    void OnShared();
    void OnCommandDisabled();
    void OnUpdateRouted(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    ~CTestFrame() override;
    void OnShared();
    void OnFrameOnly();
    void OnRange(UINT nID);
    void OnUpdateOnly(CCmdUI* pCmdUI);
    void OnUpdateDisables(CCmdUI* pCmdUI);
    void OnUpdateRouted(CCmdUI* pCmdUI);

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    DECLARE_MESSAGE_MAP()
};

// The trio's template: resource 128 (menu, accelerators, document string).
CSingleDocTemplate* MakeTestTemplate();

// A test application with the trio's template; the test opens a document.
// At the end no window of the test may be left.
class DocViewFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    CTestFrame* Frame() const { return dynamic_cast<CTestFrame*>(m_app.m_pMainWnd); }

    CTestApp m_app;
    CSingleDocTemplate* m_pTemplate = nullptr;  // owned by m_app
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    size_t m_nWindowsBefore = 0;
};

// Removes the tests' registry key (HKEY_CURRENT_USER\Software\<key>).
void DeleteTestRegistryKey();
