#include "app/MainFrm.h"

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/WelcomePanel.h"
#include "comm/QarCommunications.h"

IMPLEMENT_DYNCREATE(CMainFrame, CPersistentFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CPersistentFrame)
    ON_WM_CREATE()
    ON_WM_MOVE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {
CString ShellFolder(int nFolder)
{
    wchar_t szPath[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, nFolder | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, szPath)))
        return CString(szPath);
    return CString();
}
}  // namespace

CMainFrame::CMainFrame()
{
    // A failing query leaves the global empty; the data folder then hangs
    // off an empty root.
    CString strFolder = ShellFolder(CSIDL_APPDATA);
    if (!strFolder.IsEmpty())
        g_strUserDataRoot = strFolder;
    strFolder = ShellFolder(CSIDL_PERSONAL);
    if (!strFolder.IsEmpty())
        g_strDocumentsFolder = strFolder;
}

BOOL CMainFrame::DestroyWindow()
{
    return CPersistentFrame::DestroyWindow();
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    return CPersistentFrame::PreCreateWindow(cs);
}

CDocument* CMainFrame::GetActiveDocument()
{
    return CPersistentFrame::GetActiveDocument();
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    // No tool bar and no status bar.
    return CPersistentFrame::OnCreate(lpcs);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    RunWelcomePanel();
    return CPersistentFrame::OnCreateClient(lpcs, pContext);
}

void CMainFrame::RunWelcomePanel()
{
    CWelcomePanel panel;
    panel.DoModal();
    g_strProgramVersion = panel.m_strVersion;
}

void CMainFrame::ActivateFrame(int)
{
    CPersistentFrame::ActivateFrame(SW_SHOWMAXIMIZED);
}

CSimbrel1View* CMainFrame::GetMainView()
{
    CDocument* pDoc = GetActiveDocument();
    if (pDoc == nullptr) {
        // Before the first activation the view is the frame's pane.
        return dynamic_cast<CSimbrel1View*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)));
    }
    POSITION pos = pDoc->GetFirstViewPosition();
    return dynamic_cast<CSimbrel1View*>(pDoc->GetNextView(pos));
}

void CMainFrame::OnMove(int x, int y)
{
    DefWindowProc(WM_MOVE, 0, MAKELPARAM(x, y));
    if (CSimbrel1View* pView = GetMainView())
        pView->OnFrameMoved(x, y);
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    CPersistentFrame::OnSize(nType, cx, cy);
    if (CSimbrel1View* pView = GetMainView())
        pView->OnFrameSized(nType, cx, cy);
}

void CMainFrame::OnClose()
{
    CSimbrel1View* pView = GetMainView();
    if (pView != nullptr) {
        if (pView->m_pLink[0] != nullptr && pView->m_pLink[0]->m_bConnected) {
            pView->m_pLink[0]->SetFanSpeed(0);
            pView->CloseAllDevicePorts();
            for (CQarCommunications* pLink : pView->m_pLink)
                if (pLink != nullptr)
                    pLink->m_bIoDisabled = 1;
        }
        pView->CommitOpenPages();
        // A test that was to be saved and could not be stays open.
        if (!pView->OfferToSaveChanges())
            return;
        pView->CloseAllPages();
    }
    CPersistentFrame::OnClose();
}
