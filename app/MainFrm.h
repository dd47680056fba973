// The main window: always shown maximised, shows the welcome panel before
// the view exists, forwards its moves and size changes to the view, and
// stops the fan and closes the gauge ports when the program is closed.
#pragma once

#include "app/PersistentFrame.h"

class CSimbrel1View;

class CMainFrame : public CPersistentFrame {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();

    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    CDocument* GetActiveDocument() override;
    void ActivateFrame(int nCmdShow = -1) override;

    // The first view of the active document, or nullptr.
    CSimbrel1View* GetMainView();

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void RunWelcomePanel();

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnMove(int x, int y);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();

    DECLARE_MESSAGE_MAP()
};
