#include "comm/ScanForDevices.h"

#include <memory>
#include <new>

#include "app/DrawButton.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "comm/GaugeJobs.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "comm/QarWifiLinkConfigDialog.h"
#include "comm/WifiDiscovery.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

const wchar_t* const kIndent = L"          ";  // ten blanks before each report line

CString FormatText(UINT nID, const wchar_t* pszArgument)
{
    CString strText;
    strText.Format(LoadText(nID).GetString(), pszArgument);
    return strText;
}

}  // namespace

// A port probe owns the temporary gauge link it works on, so that a probe
// that outlives the scan takes its link along until its thread has ended.
struct CScanForDevices::CPortProbe : public CQarCommThreads {
    std::unique_ptr<CQarCommunications> m_pOwnLink;
};

BEGIN_MESSAGE_MAP(CScanForDevices, CDialog)
    ON_BN_CLICKED(IDC_SCAN_START, OnStartScan)
    ON_BN_CLICKED(IDC_SCAN_CONFIGURE, OnConfigure)
    ON_BN_CLICKED(IDC_SCAN_NO_ACTION, OnNoAction)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CScanForDevices::CScanForDevices(CWnd* pParent) : CDialog(IDD, pParent)
{
    for (int& nPort : m_nFoundPort)
        nPort = -1;
}

CScanForDevices::~CScanForDevices()
{
    // Waits for probes that outlived a scan without a view.
    delete m_pOwnKeeper;
}

CString CScanForDevices::GetModelName(int nDeviceType)
{
    switch (nDeviceType) {
    case 5: return L"RQ20";
    case 7: return L"RQ40";
    case 10: return L"RQ80";
    default: return L"RQXX";
    }
}

CString CScanForDevices::FormatNetworkLine(const CString& strAddress, int nPort, const CString& strName)
{
    CString strLine;
    strLine.Format(L"IP %s:%d%s:  %s", strAddress.GetString(), nPort, L"", strName.GetString());
    return strLine;
}

BOOL CScanForDevices::OnInitDialog()
{
    m_nFocusButtonId = 0;
    CDialog::OnInitDialog();
    SetDefID(IDC_SCAN_NO_ACTION);
    SetWindowText(LoadText(IDS_SCAN_CAPTION).GetString());
    SetDlgItemText(IDC_SCAN_START, LoadText(IDS_SCAN_START).GetString());
    SetDlgItemText(IDC_SCAN_CONFIGURE, LoadText(IDS_SCAN_CONFIGURE).GetString());
    SetDlgItemText(IDC_SCAN_INSTRUCTIONS, LoadText(IDS_SCAN_INSTRUCTIONS).GetString());
    if (CWnd* pConfigure = GetDlgItem(IDC_SCAN_CONFIGURE)) {
        pConfigure->ShowWindow(SW_SHOW);
        pConfigure->EnableWindow(FALSE);
    }
    return TRUE;
}

// Only OK closes the dialog.
BOOL CScanForDevices::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CScanForDevices::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_SCAN_NO_ACTION);
}

void CScanForDevices::OnStartScan()
{
    m_nComDevices = ScanForDevices();
}

void CScanForDevices::OnConfigure()
{
    CQarWifiLinkConfigDialog dialog;
    dialog.m_Device = m_NetDevices[0];
    if (dialog.DoModal() != IDOK)
        return;
    const CString& strNetwork =
        dialog.m_nMode == CQarWifiLinkConfigDialog::kAccessPoint ? dialog.m_strTitle : dialog.m_strSsid;
    const CString strMessage = FormatText(IDS_SCAN_WIFI_CHANGED, strNetwork.GetString());
    if (m_pView != nullptr)
        m_pView->ShowMessage(0, strMessage, 175, 0, 255);
    // The devices listed are no longer reachable as listed.
    SetReport(L"");
    if (CWnd* pConfigure = GetDlgItem(IDC_SCAN_CONFIGURE))
        pConfigure->EnableWindow(FALSE);
}

int CScanForDevices::CheckComPort(int nPortIndex)
{
    CQarCommunications link;
    return link.CheckPort(nPortIndex);
}

bool CScanForDevices::StartProbe(CQarCommThreads& probe)
{
    if (!probe.CreateThread(CREATE_SUSPENDED))
        return false;
    probe.SetThreadPriority(THREAD_PRIORITY_TIME_CRITICAL);
    probe.m_bAutoDelete = FALSE;
    probe.ResumeThread();
    return true;
}

CGaugeJobGroup& CScanForDevices::GetProbeKeeper()
{
    if (m_pView != nullptr)
        return m_pView->m_ScanProbes;
    if (m_pOwnKeeper == nullptr)
        m_pOwnKeeper = new CGaugeJobGroup();
    return *m_pOwnKeeper;
}

void CScanForDevices::ReleaseProbe(CPortProbe* pProbe)
{
    if (pProbe == nullptr)
        return;
    if (pProbe->m_hThread == nullptr) {
        delete pProbe;
        return;
    }
    GetProbeKeeper().DeleteWhenEnded(pProbe);
}

void CScanForDevices::PumpMessages()
{
    if (m_pView != nullptr && m_pView->m_pTestGraph != nullptr)
        m_pView->m_pTestGraph->PumpMessages();
}

void CScanForDevices::SetReport(const CString& strReport)
{
    if (CWnd* pReport = GetDlgItem(IDC_SCAN_REPORT)) {
        pReport->SetWindowText(strReport.GetString());
        pReport->UpdateWindow();
    }
}

void CScanForDevices::EnableScanButtons(bool bEnable)
{
    for (int nID : {IDOK, IDC_SCAN_START})
        if (CWnd* pButton = GetDlgItem(nID))
            pButton->EnableWindow(bEnable ? TRUE : FALSE);
}

int CScanForDevices::ScanForDevices()
{
    const bool bWindow = GetSafeHwnd() != nullptr;
    CWaitCursor wait;
    EnableScanButtons(false);
    if (bWindow) {
        if (CWnd* pConfigure = GetDlgItem(IDC_SCAN_CONFIGURE))
            pConfigure->EnableWindow(FALSE);
        SendDlgItemMessage(IDC_SCAN_REPORT, EM_SETREADONLY, TRUE);
        CString strWait;
        strWait.Format(L"\r\n    %s - %s", LoadText(IDS_SCAN_IN_PROCESS).GetString(),
                       LoadText(IDS_SCAN_PLEASE_WAIT).GetString());
        SetReport(strWait);
    }
    m_nComDevices = 0;
    m_nNetDevices = 0;

    // Probes of an earlier scan that have ended since go now.
    CGaugeJobGroup& keeper = GetProbeKeeper();
    keeper.WaitForStragglers(0);

    // Port check, then the probes of all free ports at once.
    int nCheck[kPorts];
    CPortProbe* pProbes[kPorts] = {};
    bool bPrepared = true;
    for (int i = 0; i < kPorts; ++i) {
        nCheck[i] = CheckComPort(i);
        m_pProbeLink[i] = nullptr;
        if (nCheck[i] == 0) {
            pProbes[i] = new (std::nothrow) CPortProbe();
            if (pProbes[i] == nullptr) {
                bPrepared = false;
                break;
            }
        }
    }
    std::vector<HANDLE> handles;
    for (int i = 0; bPrepared && i < kPorts; ++i) {
        CPortProbe* pProbe = pProbes[i];
        if (pProbe == nullptr)
            continue;
        pProbe->m_pOwnLink.reset(new (std::nothrow) CQarCommunications());
        CQarCommunications* pLink = pProbe->m_pOwnLink.get();
        if (pLink == nullptr) {
            bPrepared = false;
            break;
        }
        pLink->m_nPortIndex = i;
        pLink->m_nPortCount = kPorts;
        pLink->InitChannelTable();
        pProbe->m_pLink = pLink;
        pProbe->m_nJob = CQarCommThreads::kProbePort;
        pProbe->m_nScanIndex = i;
        m_pProbeLink[i] = pLink;
        if (!StartProbe(*pProbe)) {
            bPrepared = false;
            break;
        }
        handles.push_back(pProbe->m_hThread);
    }
    if (!bPrepared) {
        // The probes already running still use their links and ports: they
        // are given their time, and any still running go to the keeper.
        WaitForAllObjects(handles.data(), handles.size(), kProbeWaitMs);
        for (int i = 0; i < kPorts; ++i) {
            m_pProbeLink[i] = nullptr;
            ReleaseProbe(pProbes[i]);
        }
        m_nComDevices = 0;
        EnableScanButtons(true);
        return 0;
    }

    // The network, while the probes run.
    PumpMessages();
    for (CWifiDeviceInfo& device : m_NetDevices) {
        if (m_pView != nullptr) {
            m_pView->ResetNetDeviceRecord(device);
        } else {
            device.m_strAddress.Empty();
            device.m_nPort = device.m_nSerialNumber = device.m_nBusy = device.m_nExtra = 0;
        }
    }
    for (CString& strName : m_strNetDeviceName)
        strName.Empty();
    bool bAdapterSeen = false;
    const CString strNetSection = ScanNetwork(bWindow, bAdapterSeen);

    CString strComSection = L"\r\n\r\n    " + LoadText(IDS_SCAN_COM_CONNECTIONS) + L": \r\n";
    WaitForAllObjects(handles.data(), handles.size(), kProbeWaitMs);
    bool bFailed = false;
    bool bListed = false;
    for (int i = 0; i < kPorts; ++i) {
        m_nFoundPort[i] = -1;
        m_strDeviceText[i].Empty();
        CString strLine;
        if (CPortProbe* pProbe = pProbes[i]) {
            // A probe still running has found nothing that can be used: its
            // link and port stay its own.
            if (::WaitForSingleObject(pProbe->m_hThread, 0) != WAIT_OBJECT_0)
                continue;
            DWORD dwExitCode = 0;
            if (!::GetExitCodeThread(pProbe->m_hThread, &dwExitCode)) {
                m_nComDevices = 0;
                bFailed = true;
                break;
            }
            CQarCommunications& link = *pProbe->m_pOwnLink;
            if (link.m_bIdentified) {
                m_strDeviceText[i] = link.m_strModelSerial;
                m_nFoundPort[i] = i + 1;
                strLine.Format(L"          COM%d:  ", i + 1);
                strLine += FormatText(IDS_SCAN_COM_DEVICE, m_strDeviceText[i].GetString()) + L"\r\n";
                if (link.m_bConnected)
                    link.CloseDevice();
                ++m_nComDevices;
            } else if (pProbe->m_nProbeResult == 0 || pProbe->m_nProbeResult == 1) {
                const UINT nText = pProbe->m_nProbeResult == 0 ? IDS_SCAN_PORT_AVAILABLE : IDS_SCAN_PORT_MODEM;
                strLine.Format(L"          COM%d:  %s\r\n", i + 1, LoadText(nText).GetString());
            }
        } else if (nCheck[i] == 5) {
            strLine.Format(L"\r\n          COM%d:  %s\r\n", i + 1, LoadText(IDS_SCAN_PORT_DENIED).GetString());
        }
        if (!strLine.IsEmpty()) {
            strComSection += strLine;
            bListed = true;
        }
    }
    if (!bListed)
        strComSection += CString(kIndent) + LoadText(IDS_SCAN_NONE) + L"\r\n";

    if (bWindow) {
        CString strReport = strComSection + strNetSection;
        if (m_nComDevices == 0 && m_nNetDevices == 0) {
            if (bFailed)
                strReport.Format(L"\r\n   %s", LoadText(IDS_SCAN_FAILED).GetString());
            else
                strReport.Format(L"\r\n          %s\r\n  %s", LoadText(IDS_SCAN_NO_DEVICES).GetString(),
                                 (strComSection + strNetSection).GetString());
        }
        SetReport(strReport);
    }

    for (int i = 0; i < kPorts; ++i) {
        m_pProbeLink[i] = nullptr;
        ReleaseProbe(pProbes[i]);
    }
    if (bFailed)
        m_nComDevices = 0;

    if (bWindow) {
        // Only a free adapter can take the adapter's commands: an RQ80
        // listed first must not get them even when an adapter was seen.
        const CWifiDeviceInfo& first = m_NetDevices[0];
        const bool bConfigurable = first.m_nSerialNumber >= 1 && first.m_nBusy == 0 && bAdapterSeen &&
                                   (first.m_nDeviceType == 5 || first.m_nDeviceType == 7);
        if (CWnd* pConfigure = GetDlgItem(IDC_SCAN_CONFIGURE))
            pConfigure->EnableWindow(bConfigurable ? TRUE : FALSE);
    }
    EnableScanButtons(true);
    return m_nComDevices;
}

CString CScanForDevices::ScanNetwork(bool bWindow, bool& bAdapterSeen)
{
    CString strSection;
    strSection.Format(L"\r\n    %s:\r\n", LoadText(IDS_SCAN_NETWORK_DEVICES).GetString());
    PumpMessages();
    CWifiDiscovery discovery;
    const int nFound = discovery.DiscoverWifiDevices(kListenSeconds);
    PumpMessages();

    if (nFound == 0) {
        if (!bWindow)
            m_strErrorText[0].Empty();
        if (discovery.m_strErrorText.IsEmpty()) {
            if (bWindow)
                strSection += CString(kIndent) + LoadText(IDS_SCAN_NONE);
        } else if (bWindow) {
            strSection += CString(kIndent) + discovery.m_strErrorText;
        } else if (g_bVerboseWifiErrors) {
            m_strErrorText[0] = discovery.m_strErrorText;
        }
        return strSection;
    }

    bool bAvailable = false;
    bool bUnusable = false;
    for (int p = 0; p < nFound; ++p) {
        const CWifiDeviceInfo device = discovery.GetDevice(p);
        // Every device heard is reported; the tables keep the first ten.
        if (p < kNetDevices)
            m_NetDevices[p] = device;
        if (device.m_nDeviceType < 10)
            bAdapterSeen = true;
        CString strName;
        strName.Format(L"%s - %d", GetModelName(device.m_nDeviceType).GetString(), device.m_nSerialNumber);
        const CString strLine = FormatNetworkLine(device.m_strAddress, device.m_nPort, strName);
        if (device.m_nBusy == 1) {
            strSection += CString(kIndent) + FormatText(IDS_SCAN_NET_BUSY, strLine.GetString()) + L"\r\n";
            bUnusable = true;
            continue;
        }
        CQarCommunications link;
        const int bOpened = link.OpenWifiConnection(device);
        PumpMessages();
        if (bOpened) {
            bAvailable = true;
            if (bWindow)
                strSection +=
                    CString(kIndent) + FormatText(IDS_SCAN_NET_AVAILABLE, strLine.GetString()) + L"\r\n";
            if (m_nNetDevices < kNetDevices) {
                m_NetDevices[m_nNetDevices] = device;
                m_strNetDeviceName[m_nNetDevices] = strName;
                ++m_nNetDevices;
            }
            link.CloseWifiConnection();
        } else if (!link.m_strLastError.IsEmpty()) {
            bUnusable = true;
            if (bWindow) {
                strSection +=
                    CString(kIndent) + FormatText(IDS_SCAN_NET_REFUSED, strLine.GetString()) + L"\r\n";
                if (g_bVerboseWifiErrors)
                    strSection += CString(kIndent) + kIndent + link.m_strLastError + L"\r\n";
            }
        }
    }
    CSimbrel1View::DelayMs(20);
    if (!bAvailable && m_nNetDevices == 0 && !bUnusable)
        strSection += CString(kIndent) + LoadText(IDS_SCAN_NONE);
    return strSection;
}

// Device selection of AUTO SELECT.

BEGIN_MESSAGE_MAP(CDeviceSelectionDialog, CDialog)
END_MESSAGE_MAP()

CDeviceSelectionDialog::CDeviceSelectionDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CDeviceSelectionDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_SELECT_CAPTION).GetString());
    SetDlgItemText(IDC_DEVICE_SELECTION_TEXT, LoadText(IDS_SELECT_TEXT).GetString());
    for (const CString& strName : m_strDeviceName)
        if (!strName.IsEmpty())
            SendDlgItemMessage(IDC_DEVICE_SELECTION_LIST, LB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(strName.GetString()));
    return TRUE;
}

void CDeviceSelectionDialog::OnOK()
{
    const int nRow = static_cast<int>(SendDlgItemMessage(IDC_DEVICE_SELECTION_LIST, LB_GETCURSEL));
    if (nRow == LB_ERR) {
        AfxMessageBox(LoadText(IDS_SELECT_REQUIRED).GetString(), MB_OK);
        return;
    }
    m_nSelected = nRow;
    EndDialog(IDOK);
}
