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

    void ComputeResults(int d);
    void AverageDirections();
    void FormatResults();

    CSimbrel1View* m_pView = nullptr;
    CString m_strRefPressure = L"50";   // reference pressure of the results, Pa
    CBuildingInfoDialog* m_pBuildingInfo = nullptr;   // not owned
    CTestGraph1* m_pTestGraph = nullptr;              // not owned
    int m_bHiddenForPrint = 0;   // the window was closed for printing; re-create it afterwards
};
