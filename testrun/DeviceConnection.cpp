// The gauge links of a test: which links take part, their identification,
// the split of their channels, auto-zero, the reconnection of a network
// gauge, and the captions and warnings about them on the test screen.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "comm/ScanForDevices.h"
#include "comm/WifiDiscovery.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

// The channel count a link found when it was identified: a gauge's type
// code is its channel count, a two-channel network gauge has 2, a box
// reports its count in its channel register.
int IdentifiedChannels(const CQarCommunications& link)
{
    if (link.m_bRQ80)
        return 2;
    return link.m_bGauge ? static_cast<int>(link.m_nTypeCode) : static_cast<int>(link.m_nChannelCount);
}

}  // namespace

CQarCommunications* CTestGraph1::Link(int i) const
{
    if (m_pView == nullptr || i < 0 || i > 3)
        return nullptr;
    return m_pView->m_pLink[i];
}

int CTestGraph1::ActiveZoneCount() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr || !pSettings->m_bZonalActive)
        return 0;
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    int nZones = 0;
    for (int z = 0; z < kZoneChannels; ++z)
        nZones += pSettings->m_nZoneActive[d][z] ? 1 : 0;
    return nZones;
}

int CTestGraph1::RunWorkers(const int* pLinks, int nLinks, int nJob, int nPriority)
{
    std::vector<CQarCommThreads*> jobs;
    for (int k = 0; k < nLinks; ++k) {
        const int i = pLinks[k];
        CQarCommThreads*& pWorker = m_Workers[i];
        if (pWorker != nullptr && pWorker->IsThreadRunning()) {
            // Its thread outlived an earlier wait: the object stays its own
            // until it ends, and this reading gets a new one.
            m_WorkerGroup.DeleteWhenEnded(pWorker);
            pWorker = nullptr;
        }
        if (pWorker == nullptr)
            pWorker = new CQarCommThreads;
        pWorker->m_pLink = Link(i);
        pWorker->m_nJob = nJob;
        if (nJob == CQarCommThreads::kAutoZero) {
            pWorker->m_nChannels = m_DeviceChannels[i];
            pWorker->m_bEnableDash = 1;
        }
        jobs.push_back(pWorker);
    }
    const bool bAllEnded = m_WorkerGroup.Run(jobs, nPriority);
    const std::vector<CGaugeJobGroup::Outcome>& outcomes = m_WorkerGroup.GetOutcomes();
    bool bStartFailed = false;
    for (const CGaugeJobGroup::Outcome& outcome : outcomes)
        bStartFailed = bStartFailed || outcome.state == CGaugeJobGroup::State::NotStarted;
    if (bStartFailed) {
        for (CQarCommThreads*& pWorker : m_Workers) {
            m_WorkerGroup.DeleteWhenEnded(pWorker);
            pWorker = nullptr;
        }
        m_DevicesInUse = 0;
        return 0;
    }
    int bResult = bAllEnded ? 1 : 0;
    for (size_t k = 0; k < jobs.size() && bResult; ++k) {
        const CQarCommunications* pLink = jobs[k]->m_pLink;
        if (pLink == nullptr || pLink->m_bFailed || (nJob == CQarCommThreads::kAutoZero && pLink->m_bOverRange))
            bResult = 0;
    }
    if (!bResult)
        m_DevicesInUse = 0;
    return bResult;
}

int CTestGraph1::ConnectNetworkDevice(int i, const CWifiDeviceInfo& device)
{
    CQarCommunications* pLink = Link(i);
    if (pLink == nullptr)
        return 0;
    if (pLink->m_bConnected)
        return 1;
    pLink->OpenWifiConnection(device);
    if (pLink->m_bConnected)
        return 1;
    pLink->m_bIdentified = 0;
    pLink->m_bConnected = 0;
    return 0;
}

int CTestGraph1::ConnectDevices()
{
    CSimbrel1View& view = *m_pView;
    if (view.m_bShuttingDown)
        return 0;
    auto resetTick = [&view]() {
        if (!view.m_bChannelCheckRunning)
            view.m_nTickCount = 0;
    };

    if (!view.m_bAutoSelect) {
        int nLinks[4];
        int nCount = 0;
        for (int i = 0; i < 4; ++i) {
            CQarCommunications* pLink = Link(i);
            if (view.m_nComPort[i] == 0 || pLink == nullptr)
                continue;
            pLink->m_nPortIndex = view.m_nComPort[i] - 1;
            pLink->m_bIdentified = 0;
            nLinks[nCount++] = i;
        }
        if (!RunWorkers(nLinks, nCount, CQarCommThreads::kReidentify, THREAD_PRIORITY_TIME_CRITICAL))
            return 0;
        for (int k = 0; k < nCount; ++k)
            m_DeviceChannels[nLinks[k]] = m_Workers[nLinks[k]]->m_nDeviceCode;
        resetTick();
        return 1;
    }

    CQarCommunications* pLink0 = Link(0);
    if (pLink0 == nullptr)
        return 0;
    if (view.m_nPrimaryPort < 0) {
        if (!view.m_NetDevice.m_strAddress.IsEmpty() && ConnectNetworkDevice(0, view.m_NetDevice)) {
            // As for a gauge the scan finds: an RQ80 tells its serial number
            // only in its announcement, so the link takes it from there.
            pLink0->m_nSerial = view.m_NetDevice.m_nSerialNumber;
            // A connection opened just now is not identified yet, and the
            // allocation takes only identified links.
            if (!pLink0->m_bIdentified)
                pLink0->ConnectDevice();
            if (!pLink0->m_bIdentified) {
                m_DevicesInUse = 0;
                return 0;
            }
            m_DeviceChannels[0] = pLink0->m_bRQ80 ? 2 : IdentifiedChannels(*pLink0);
            resetTick();
            return 1;
        }
        m_strDeviceError.Empty();
        CScanForDevices scan;
        scan.m_pView = &view;
        scan.ScanForDevices();
        CSimbrel1View::DelayMs(800);
        PumpMessages();
        if (scan.m_nComDevices > 0) {
            for (int p = 0; p < CScanForDevices::kPorts; ++p) {
                if (scan.m_nFoundPort[p] > 0) {
                    view.m_nPrimaryPort = scan.m_nFoundPort[p];
                    break;
                }
            }
        } else {
            if (scan.m_nNetDevices <= 0) {
                if (!scan.m_strErrorText[0].IsEmpty())
                    m_strDeviceError = scan.m_strErrorText[0];
                return 0;
            }
            int nChoice = 0;
            if (scan.m_nNetDevices > 1) {
                CDeviceSelectionDialog dialog;
                for (int k = 0; k < scan.m_nNetDevices && k < CScanForDevices::kNetDevices; ++k) {
                    const CWifiDeviceInfo& device = scan.m_NetDevices[k];
                    dialog.m_strDeviceName[k].Format(L"%s-%d", device.m_nDeviceType == 10 ? L"RQ80" : L"RQ40",
                                                     device.m_nSerialNumber);
                }
                dialog.DoModal();
                nChoice = dialog.m_nSelected;
            }
            // The list closed without a choice takes no device.
            if (nChoice < 0 || nChoice >= scan.m_nNetDevices || nChoice >= CScanForDevices::kNetDevices)
                return 0;
            if (!scan.m_strErrorText[0].IsEmpty()) {
                if (g_bVerboseWifiErrors)
                    m_strDeviceError = scan.m_strErrorText[0];
                return 0;
            }
            const CWifiDeviceInfo device = scan.m_NetDevices[nChoice];
            view.m_NetDevice = device;
            pLink0->m_Device = device;
            pLink0->m_nSerial = device.m_nSerialNumber;
            if (device.m_nDeviceType == 10)
                pLink0->m_bRQ80 = 1;
            if (!ConnectNetworkDevice(0, device)) {
                if (g_bVerboseWifiErrors && !pLink0->m_strLastError.IsEmpty())
                    m_strDeviceError = pLink0->m_strLastError;
                view.ResetNetDeviceRecord(view.m_NetDevice);
                pLink0->m_bRQ80 = 0;
                return 0;
            }
        }
    }

    if (view.m_nPrimaryPort > 0)
        pLink0->m_nPortIndex = view.m_nPrimaryPort - 1;
    pLink0->m_bIdentified = 0;
    pLink0->ConnectDevice();
    m_DevicesInUse = 0;
    if (!pLink0->m_bIdentified)
        return 0;
    m_DeviceChannels[0] = IdentifiedChannels(*pLink0);
    resetTick();
    return 1;
}

CTestGraph1::CChannelPlan CTestGraph1::PlanChannels(const int (&nChannels)[4], int nLinks, int nZones)
{
    CChannelPlan plan;
    const int nNeeded = nZones + 2;
    int nZonesLeft = nZones;
    bool bLoopFailed = false;
    for (int j = 0; j < nLinks && j < 4; ++j) {
        plan.nChannels[j] = nChannels[j] < 0 ? 0 : nChannels[j];
        if (nChannels[j] == -1)
            continue;
        if (nChannels[j] == -2) {
            bLoopFailed = true;
            break;
        }
        plan.nUsed[j] = 1;
        ++plan.nDevicesInUse;
        const int nHas = nChannels[j];
        if (j == 0) {
            if (nHas >= nNeeded) {
                plan.nChannels[0] = nNeeded;
                plan.nChannelsInUse = nNeeded;
                break;
            }
            if (nHas >= 2) {
                plan.nChannelsInUse += nHas;
                nZonesLeft -= nHas - 2;
            }
        } else {
            if (nHas >= nZonesLeft) {
                plan.nChannels[j] = nZonesLeft;
                plan.nChannelsInUse += nZonesLeft;
                break;
            }
            plan.nChannelsInUse += nHas;
            nZonesLeft -= nHas;
        }
    }
    plan.bSuccess = !bLoopFailed && plan.nChannelsInUse >= nNeeded;
    plan.bInsufficient = !bLoopFailed && plan.nChannelsInUse < nNeeded && plan.nChannelsInUse > 0;
    return plan;
}

int CTestGraph1::AllocateChannels()
{
    CSimbrel1View& view = *m_pView;
    view.m_bReidentifying = 1;
    std::fill_n(m_DeviceUsed, 4, 0);
    if (!ConnectDevices()) {
        // Not every way out of the identification says so: no link is in
        // use after it failed, whatever an earlier allocation took.
        m_DevicesInUse = 0;
        m_ChannelsInUse = 0;
        if (!m_strDeviceError.IsEmpty())
            view.ShowMessage(0, m_strDeviceError, 176, 0, 255);
        view.m_bReidentifying = 0;
        return 0;
    }
    m_DevicesInUse = 0;
    m_ChannelsInUse = 0;
    m_GaugeFamilyInUse = 0;
    const int nLinks = view.m_bAutoSelect ? 1 : 4;
    int nChannels[4] = {-1, -1, -1, -1};
    for (int j = 0; j < nLinks; ++j) {
        const CQarCommunications* pLink = Link(j);
        // The links in use are counted from link 0 by everything that reads
        // or zeroes them, so a link after one without a port is not taken.
        if (!view.m_bAutoSelect && view.m_nComPort[j] == 0)
            break;
        nChannels[j] = pLink != nullptr && pLink->m_bConnected && pLink->m_bIdentified ? m_DeviceChannels[j] : -2;
    }
    const CChannelPlan plan = PlanChannels(nChannels, nLinks, ActiveZoneCount());
    for (int j = 0; j < 4; ++j) {
        m_DeviceUsed[j] = plan.nUsed[j];
        if (plan.nUsed[j]) {
            m_DeviceChannels[j] = plan.nChannels[j];
            if (Link(j) != nullptr && Link(j)->m_bGauge)
                m_GaugeFamilyInUse = 1;
        }
    }
    m_DevicesInUse = plan.nDevicesInUse;
    m_ChannelsInUse = plan.nChannelsInUse;
    m_InsufficientChannels = plan.bInsufficient;
    if (plan.bSuccess) {
        for (int j = std::clamp(m_DevicesInUse, 0, 4); j < 4; ++j) {
            CQarCommunications* pLink = Link(j);
            if (view.m_nComPort[j] != 0 && pLink != nullptr && pLink->m_bConnected)
                pLink->CloseDevice();
        }
        if (!view.m_bChannelCheckRunning)
            view.m_nTickCount = 0;
    } else {
        view.CloseAllDevicePorts();
        m_DevicesInUse = 0;
        m_ChannelsInUse = 0;
        m_GaugeFamilyInUse = 0;
    }
    view.m_bReidentifying = 0;
    return plan.bSuccess;
}

int CTestGraph1::CheckChannelCounts()
{
    CSimbrel1View& view = *m_pView;
    CQarCommunications* pLink0 = Link(0);
    if (view.m_bAutoSelect && pLink0 != nullptr && pLink0->m_bNetwork) {
        if (pLink0->ReadChannelCount() == 2)
            return 1;
        pLink0->CloseDevice();
        return 0;
    }
    if (m_DevicesInUse <= 0)
        return 0;
    for (int i = 0; i < m_DevicesInUse && i < 4; ++i) {
        CQarCommunications* pLink = Link(i);
        if (pLink == nullptr || pLink->ReadChannelCount() < m_DeviceChannels[i]) {
            for (int k = 0; k < m_DevicesInUse && k < 4; ++k) {
                if (Link(k) != nullptr)
                    Link(k)->CloseDevice();
            }
            return 0;
        }
    }
    return 1;
}

int CTestGraph1::AutoZeroAll()
{
    CSimbrel1View& view = *m_pView;
    // The check sets m_bBatteryTooLow when a gauge's battery stops the
    // test, and returns 1 when it has just shown the box's message.
    const int bBoxMessageShown = CheckBatteries();
    if (m_bBatteryTooLow) {
        view.CloseAllDevicePorts();
        m_DevicesInUse = 0;
        m_ChannelsInUse = 0;
        return 0;
    }
    if (bBoxMessageShown) {
        CheckBatteries();
        return 0;
    }
    EnableControl(IDC_TG_SAMPLE, 0);
    EnableControl(IDC_TG_PAUSE, 0);
    m_AutoZeroing = 1;
    SetStatusText(IDS_AUTO_ZEROING, CString());
    if (view.m_bShuttingDown) {
        m_AutoZeroing = 0;
        return 0;
    }
    int nLinks[4];
    int nCount = 0;
    for (int i = 0; i < m_DevicesInUse && i < 4; ++i) {
        CQarCommunications* pLink = Link(i);
        if (pLink == nullptr)
            continue;
        // Only link 0's second channel measures the fan; an auxiliary box's
        // second channel is a zone.
        if (i > 0 && !pLink->m_bGauge)
            pLink->m_Channels[1].m_nRange = 1;
        nLinks[nCount++] = i;
    }
    const int bResult = nCount > 0 ? RunWorkers(nLinks, nCount, CQarCommThreads::kAutoZero, THREAD_PRIORITY_NORMAL) : 0;
    m_AutoZeroing = 0;
    StartRezeroWatch();
    if (!bResult) {
        m_DevicesInUse = 0;
        return 0;
    }
    if (!view.m_bChannelCheckRunning)
        view.m_nTickCount = 0;
    return 1;
}

int CTestGraph1::IsAbortRequested()
{
    if (PeekKeyInSet(L"\x1b") != 0)
        return 1;
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE)) {
        // The click's own position, as it was when the button went down.
        POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        ::ClientToScreen(msg.hwnd, &pt);
        if (IsOnStopButton(CPoint(pt.x, pt.y))) {
            ::PeekMessageW(&msg, msg.hwnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
            return 1;
        }
    }
    return 0;
}

int CTestGraph1::ReconnectWifiDevice(int i, int nSerialNumber, int n)
{
    CQarCommunications* pLink = Link(i);
    if (pLink == nullptr || !pLink->m_bGauge)
        return 0;
    m_Reconnecting = 1;
    DrainNetworkInput(i);
    pLink->CloseWifiConnection();
    CSimbrel1View::DelayMs(20);
    int nResult = 0;
    for (int nAttempt = 0; nAttempt < 30; ++nAttempt) {
        RestartFluctuationWatch();
        if (IsAbortRequested() || (m_pView != nullptr && m_pView->m_bShuttingDown))
            break;
        PumpMessages();
        if (n > 1) {
            for (int k = 0; k < n && k < 4; ++k) {
                CQarCommunications* pOther = Link(k);
                if (k == i || pOther == nullptr || !pOther->m_bGauge)
                    continue;
                if (!pOther->SendWifiCommand(L"KA\r\n"))
                    break;
            }
        }
        if (m_bShown && GetSafeHwnd() != nullptr)
            UpdateWindow();
        SetStatusText(IDS_LOST_CONNECTION_RECONNECT, CString());
        EnableControl(IDC_TG_START, 1);
        if (m_bShown && GetSafeHwnd() != nullptr) {
            CString strStop;
            strStop.LoadString(IDS_STOP_TEST_CAPTION);
            SetDlgItemText(IDC_TG_START, strStop.GetString());
        }
        CWifiDiscovery discovery;
        const CWifiDeviceInfo device = discovery.DiscoverWifiDevice(1, nSerialNumber);
        CSimbrel1View::DelayMs(100);
        if (device.m_nSerialNumber > 0 && ConnectNetworkDevice(i, device)) {
            pLink->m_bFailed = 0;
            pLink->m_bSocketOpen = 1;
            if (pLink->SendWifiCommand(L"KA\r\n")) {
                nResult = n;
                break;
            }
        }
    }
    m_bDeviceWarningShown = 0;
    m_Reconnecting = 0;
    FinishDeferredClose();
    return nResult;
}

// Labels and warnings.

CString CTestGraph1::GetDeviceRoleName(int i) const
{
    CString strName;
    strName.LoadString(i == 1 ? IDS_AUX1_DEVICE : i == 2 ? IDS_AUX2_DEVICE : i == 3 ? IDS_AUX3_DEVICE : IDS_PRIMARY_DEVICE);
    return strName;
}

void CTestGraph1::ShowLowBatteryWarning(int bShow, int i)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    CWnd* pStatus = GetDlgItem(IDC_TG_STATUS);
    if (pStatus == nullptr)
        return;
    CRect rc;
    pStatus->GetWindowRect(&rc);
    ScreenToClient(&rc);
    const int nHeight = rc.Height();
    rc.OffsetRect(0, nHeight);
    rc.left += rc.Width() / 6;
    const HDC hdc = ::GetDC(m_hWnd);
    if (!bShow) {
        ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        ::ReleaseDC(m_hWnd, hdc);
        return;
    }
    const HBRUSH hYellow = ::CreateSolidBrush(RGB(255, 228, 0));
    ::FillRect(hdc, &rc, hYellow);
    ::DeleteObject(hYellow);
    HFONT hOld = nullptr;
    HFONT hPageFont = nullptr;
    if (m_pView != nullptr && m_pView->m_PageLogFont.lfHeight != 0) {
        hPageFont = ::CreateFontIndirectW(&m_pView->m_PageLogFont);
        hOld = static_cast<HFONT>(::SelectObject(hdc, hPageFont));
    }
    CString strFormat;
    strFormat.LoadString(IDS_LOW_BATTERY_LINE);
    CString strText;
    const CQarCommunications* pLink = Link(i);
    strText.Format(strFormat.GetString(), pLink != nullptr ? pLink->m_strModelSerial.GetString() : L"");
    ::SetBkMode(hdc, TRANSPARENT);
    RECT rcText = rc;
    ::DrawTextW(hdc, strText.GetString(), -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (hPageFont != nullptr) {
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hPageFont);
    }
    ::ReleaseDC(m_hWnd, hdc);
}

void CTestGraph1::RefreshChannelLabels()
{
    if (m_pView == nullptr || m_pView->m_bOffLine || GetCurrentMethod() == L'M')
        return;
    if (m_pView->AreAllPortsConnected())
        DrawChannelLabels();
    else
        EraseChannelLabels();
}

HBRUSH CTestGraph1::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd == nullptr || pWnd->GetDlgCtrlID() != IDC_TG_STATUS)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (m_pView != nullptr && !m_pView->m_bOffLine && m_pView->AreAllPortsConnected()) {
        DrawChannelLabels();
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(m_hStatusBrush);
    }
    EraseChannelLabels();
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CTestGraph1::DrawChannelLabels()
{
    const CQarCommunications* pLink = Link(0);
    if (!m_bShown || GetSafeHwnd() == nullptr || pLink == nullptr)
        return;
    const int nReadouts[2] = {IDC_TG_BUILDING_READOUT, IDC_TG_FAN_READOUT};
    const wchar_t* pszChannels[2] = {pLink->m_bGauge ? L"A" : L"1", pLink->m_bGauge ? L"B" : L"2"};
    const HDC hdc = ::GetDC(m_hWnd);
    ::SetBkMode(hdc, TRANSPARENT);
    for (int k = 0; k < 2; ++k) {
        CWnd* pReadout = GetDlgItem(nReadouts[k]);
        if (pReadout == nullptr)
            continue;
        CRect rc;
        pReadout->GetWindowRect(&rc);
        ScreenToClient(&rc);
        const HFONT hFont = ::CreateFontW(-(rc.Height() * 6 / 10), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                          0, FF_SWISS, L"Arial");
        const HGDIOBJ hOld = ::SelectObject(hdc, hFont);
        CString strText;
        strText.Format(L"%s Ch %s", pLink->m_strModelSerial.GetString(), pszChannels[k]);
        RECT rcText{0, rc.top, rc.left - 2, rc.bottom};
        RECT rcExtent = rcText;
        ::DrawTextW(hdc, strText.GetString(), -1, &rcExtent, DT_RIGHT | DT_SINGLELINE | DT_CALCRECT);
        const int nWidth = rcExtent.right - rcExtent.left;
        rcText.left = rcText.right - nWidth;
        ::DrawTextW(hdc, strText.GetString(), -1, &rcText, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        m_rcChannelLabel[k] = CRect(rcText.left, rcText.top, rcText.right, rcText.bottom);
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hFont);
    }
    ::ReleaseDC(m_hWnd, hdc);
}

void CTestGraph1::EraseChannelLabels()
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    const HDC hdc = ::GetDC(m_hWnd);
    for (const CRect& rc : m_rcChannelLabel) {
        if (!rc.IsRectEmpty())
            ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    ::ReleaseDC(m_hWnd, hdc);
}
