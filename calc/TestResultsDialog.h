// CTestResultsDialog: the results page and the store of the results.
#pragma once

#include "framework/Dialog.h"

class CBuildingInfoDialog;
class CSimbrel1View;
class CTestGraph1;

class CTestResultsDialog : public CDialog {
public:
    // The page is created modeless from this template when it is shown.
    enum { IDD = 146 };

    explicit CTestResultsDialog(CSimbrel1View* pView);
    ~CTestResultsDialog() override;

    CSimbrel1View* m_pView = nullptr;
    CBuildingInfoDialog* m_pBuildingInfo = nullptr;   // not owned
    CTestGraph1* m_pTestGraph = nullptr;              // not owned
    int m_bHiddenForPrint = 0;   // the window was closed for printing; re-create it afterwards
};
