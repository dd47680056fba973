// The "Data Box Info" dialog: one tab per gauge link in use, each a child
// page that paints its link's panel (identity, calibration, connection).
#pragma once

#include "framework/Dialog.h"
#include "framework/TabCtrl.h"

// A device page: paints the panel of one of the view's gauge links.
class CDevicePortTab : public CDialog {
public:
    CDevicePortTab(UINT nIDTemplate, int nLinkIndex) : CDialog(nIDTemplate), m_nLinkIndex(nLinkIndex) {}
    int GetLinkIndex() const { return m_nLinkIndex; }

protected:
    // A page is part of its dialog: Enter and Esc inside it end nothing.
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint();

    int m_nLinkIndex;

    DECLARE_MESSAGE_MAP()
};

class CPrimaryPortTab : public CDevicePortTab {
public:
    CPrimaryPortTab() : CDevicePortTab(248, 0) {}
};
class CAux1PortTab : public CDevicePortTab {
public:
    CAux1PortTab() : CDevicePortTab(249, 1) {}
};
class CAux2PortTab : public CDevicePortTab {
public:
    CAux2PortTab() : CDevicePortTab(250, 2) {}
};
class CAux3PortTab : public CDevicePortTab {
public:
    CAux3PortTab() : CDevicePortTab(251, 3) {}
};

class CDevicesDataTabCtrl : public CTabCtrl {
public:
    CDevicesDataTabCtrl();

    // Shows the page of the selected tab in place of the one shown.
    void OnSelChange();

    CWnd* m_pParent = nullptr;
    int m_nShownTab = 0;
    CPrimaryPortTab m_PrimaryPage;
    CAux1PortTab m_Aux1Page;
    CAux2PortTab m_Aux2Page;
    CAux3PortTab m_Aux3Page;
    CDevicePortTab* m_pPages[4] = {};
    int m_nMaxWidth = 0;
    int m_nMaxHeight = 0;
    int m_nTabCount = 0;  // gauge links in use, 1 to 4; set before the dialog runs

protected:
    // Inserts the tabs, creates their pages and fits the control to the
    // largest page.
    void PreSubclassWindow() override;
};

class CDeviceDataDialog : public CDialog {
public:
    enum { IDD = 245 };
    explicit CDeviceDataDialog(CWnd* pParent = nullptr);

    CDevicesDataTabCtrl m_TabCtrl;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
