// The two small dialogs of the test screen: the conditions of a cruise
// (baseline or not, and the pressure to hold) and the values of the data
// points under a click on the graph, one of which may be marked for
// deletion.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CCruiseDialog : public CDialog {
public:
    enum { IDD = 160 };
    static constexpr double kLimit = 100.0;   // Pa either way

    explicit CCruiseDialog(CWnd* pParent = nullptr);

    // The pressure a text gives: its leading number, 0 when it has none.
    static double ParsePressure(const CString& strText);
    static bool IsPressureAccepted(double dPressure) { return dPressure >= -kLimit && dPressure <= kLimit; }

    int m_nBaseline = -1;          // 0 zero only, 1 measure a baseline; -1 none chosen
    CString m_strCruisePressure;   // as typed
    double m_dCruisePressure = 0.0;
    CSimbrel1View* m_pView = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnHelpButton();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};

class CDataPointSelected : public CDialog {
public:
    enum { IDD = 256 };
    static constexpr int kMaxRows = 4;

    explicit CDataPointSelected(CWnd* pParent = nullptr);

    int m_nRows = 1;
    int m_bDelete = 0;
    int m_nSelectedRow = 0;
    int m_x = 0;                   // screen position of the top-left corner
    int m_y = 0;
    CString m_strLabel[kMaxRows];
    CString m_strPressure[kMaxRows];
    CString m_strFlow[kMaxRows];
    CString m_strRing[kMaxRows];
    int m_nDirection[kMaxRows] = {};
    CSimbrel1View* m_pView = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnSelectPoint(UINT nID);
    void OnHelpButton();
    void ShowRowValues();

    DECLARE_MESSAGE_MAP()
};
