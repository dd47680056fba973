// CPageDialog: a modeless page of the main window. The record object lives
// on while its page window comes and goes; m_bCreated says whether it is open.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CPageDialog : public CDialog {
public:
    CPageDialog(UINT nIDTemplate, CSimbrel1View* pView);

    // Creates the window unless it exists (one window per record: a second
    // would orphan the first), shows it and gives the remembered control the
    // focus. FALSE when the window cannot be created.
    BOOL CreateModeless();
    void ShowPage() { CreateModeless(); }
    BOOL DestroyWindow() override;
    // Gives the remembered control the focus again while the page is open.
    virtual void RefreshPage();
    // Takes the page's layout when the view asks for one.
    BOOL OnInitDialog() override;

    CSimbrel1View* m_pView = nullptr;
    int m_bCreated = 0;          // the page window exists
    int m_nFocusCtrlId = 0;      // control focused at the next opening
    int m_bHiddenForPrint = 0;   // closed for printing; shown again afterwards
};
