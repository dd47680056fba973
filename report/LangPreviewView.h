// The program's print preview: the class library's preview with the
// toolbar's button texts from the program's string table, so that they
// follow the program's language.
#pragma once

#include "framework/Preview.h"

class CLangPreviewView : public CPreviewView {
    DECLARE_DYNCREATE(CLangPreviewView)
public:
    CLangPreviewView() = default;
    ~CLangPreviewView() override = default;

    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

protected:
    void OnUpdateNumPageChange(CCmdUI* pCmdUI);

    // The page count the one/two-page text was last set for.
    int m_nNumPagesText = -1;

    DECLARE_MESSAGE_MAP()
};
