// CComPortSelectDialog: the Device Connection dialog. The technician picks
// the COM port of the primary device and of auxiliary devices 1 to 3, or
// lets the primary device be found (AUTO SELECT), or works without devices
// (OFF-LINE); a port can be tested and all ports scanned from here. While it
// is open no gauge link is open.
//
// CPortScanningMessageDialog: the Port Test of one port for one gauge link;
// the whole test runs when the dialog starts, which then shows its result.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;
class CQarCommunications;

class CComPortSelectDialog : public CDialog {
public:
    enum { IDD = 177 };
    static constexpr int kPorts = 256;
    static constexpr int kHelpTopic = 15;

    explicit CComPortSelectDialog(CWnd* pParent = nullptr);
    ~CComPortSelectDialog() override;

    // The first COM number other than 0 chosen twice among primary, aux 1,
    // aux 2 and aux 3 (primary against the others first, then aux 1, then
    // aux 2); 0 when there is none.
    static int FindDuplicatePort(int nPrimary, int nAux1, int nAux2, int nAux3);

    // Which controls are enabled, from the members and the view's state.
    struct ControlStates {
        bool bAutoSelect;     // the AUTO SELECT box
        bool bOffLine;        // the OFF-LINE box
        bool bCombos;         // the four combos and their labels
        bool bTest[4];        // the Test buttons, primary first
    };
    static ControlStates ComputeControlStates(int bAutoSelect, int bOffLine, int bExportedFile,
                                              const int nPorts[4]);

    int m_nPrimaryPort = 0;
    int m_nAux1Port = 0;
    int m_nAux2Port = 0;
    int m_nAux3Port = 0;
    CSimbrel1View* m_pView = nullptr;
    int m_bAutoSelect = 1;
    int m_bOffLine = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnOffLine();
    void OnAutoSelect();
    void OnPrimaryChanged();
    void OnAuxChanged();
    void OnTestPort(UINT nID);
    void OnScanForDevices();
    void OnHelpButton();
    void OnNoAction() {}
    void OnPaint();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Reads the controls into the members, then enables and checks them.
    void UpdateControls();
    // Reads the controls; shows the duplicate message and returns the COM
    // number when one is chosen twice, else 0.
    int CheckDuplicates();

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};

class CPortScanningMessageDialog : public CDialog {
public:
    enum { IDD = 231 };

    explicit CPortScanningMessageDialog(CWnd* pParent = nullptr);

    // "COM%d:   <heading>\r\n<detail>" for a port check's result (0 free,
    // 2 not found, 5 access denied, anything else unknown).
    static CString FormatCheckResult(int nComNumber, int nResult);
    // Runs the test on the view's gauge link m_nLinkIndex and returns the
    // result text; the window need not exist.
    CString RunPortTest();

    CSimbrel1View* m_pView = nullptr;
    int m_nComNumber = 0;
    int m_nLinkIndex = 0;  // 0 primary, 1-3 auxiliary
    CString m_strTitle;
    CString m_strResult;

protected:
    BOOL OnInitDialog() override;
    // The port check (0 free, 2 no such port, 5 access denied, -1 no serial port).
    virtual int CheckComPort(CQarCommunications& link, int nPortIndex);

    DECLARE_MESSAGE_MAP()
};
