// CScanForDevices: finds every device that can be reached now. All COM
// ports are probed at once in worker threads while the network is listened
// to for announcements; every announced device that is free is tried over
// TCP. With its window (the "Scan for Devices" dialog) the scan writes a
// report and manages the buttons; without one (the test screen's AUTO
// SELECT) it only fills the result fields. Nothing stays open afterwards.
#pragma once

#include <vector>

#include "comm/WifiDeviceInfo.h"
#include "framework/Dialog.h"

class CGaugeJobGroup;
class CQarCommThreads;
class CQarCommunications;
class CSimbrel1View;

class CScanForDevices : public CDialog {
public:
    enum { IDD = 232 };
    static constexpr int kPorts = 256;
    static constexpr int kNetDevices = 10;
    static constexpr int kListenSeconds = 4;
    static constexpr unsigned long kProbeWaitMs = 10000;

    explicit CScanForDevices(CWnd* pParent = nullptr);
    ~CScanForDevices() override;

    // The whole scan; returns m_nComDevices.
    int ScanForDevices();

    // 5 "RQ20", 7 "RQ40", 10 "RQ80", any other "RQXX".
    static CString GetModelName(int nDeviceType);
    // "IP <address>:<port>:  <name>".
    static CString FormatNetworkLine(const CString& strAddress, int nPort, const CString& strName);

    CSimbrel1View* m_pView = nullptr;
    CQarCommunications* m_pProbeLink[kPorts] = {};  // the probes' links while the scan runs
    CString m_strDeviceText[kPorts];                // model and serial of an identified device
    int m_nFoundPort[kPorts];                       // COM number with a device, else -1
    int m_nComDevices = 0;
    CString m_strErrorText[10];
    int m_nNetDevices = 0;
    CString m_strNetDeviceName[kNetDevices];
    CWifiDeviceInfo m_NetDevices[kNetDevices];

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnStartScan();
    void OnConfigure();
    void OnNoAction() {}
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Seams of the system: the port check of step 3 (0 free, 2 no such
    // port, 5 access denied, -1 no serial port) and the start of one probe
    // thread (false when the thread could not be created).
    virtual int CheckComPort(int nPortIndex);
    virtual bool StartProbe(CQarCommThreads& probe);

    int m_nFocusButtonId = 0;

private:
    struct CPortProbe;
    // Step 7: every device heard; bWindow says whether the report is written.
    CString ScanNetwork(bool bWindow, bool& bAdapterSeen);
    // Dispatches waiting messages through the test screen's pump.
    void PumpMessages();
    // Hands a probe to the keeper of unfinished probes, which deletes it
    // (and its link) once its thread has ended.
    void ReleaseProbe(CPortProbe* pProbe);
    CGaugeJobGroup& GetProbeKeeper();
    void SetReport(const CString& strReport);
    void EnableScanButtons(bool bEnable);

    // The keeper when there is no view (a scan on its own, as in tests).
    CGaugeJobGroup* m_pOwnKeeper = nullptr;

    DECLARE_MESSAGE_MAP()
};

// CDeviceSelectionDialog: AUTO SELECT found several devices; the technician
// picks the one for the test. m_nSelected stays -1 unless OK is pressed
// with a row selected.
class CDeviceSelectionDialog : public CDialog {
public:
    enum { IDD = 284 };

    explicit CDeviceSelectionDialog(CWnd* pParent = nullptr);

    CString m_strDeviceName[10];  // empty names are not listed
    int m_nSelected = -1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
