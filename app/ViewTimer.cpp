// The view's timers: timer 1 (10 ms) drives the test step, the idle
// readings and the channel check; timer 2 (6 s) keeps idle network gauges
// connected.
#include "app/Simbrel1View.h"

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr UINT_PTR kTimerTick = 1;
constexpr UINT_PTR kTimerKeepAlive = 2;
constexpr int kChannelCheckTicks = 240;

bool IsLiveMethod(wchar_t chMethod)
{
    return chMethod == L'A' || chMethod == L'S';
}

}  // namespace

CSimbrel1View::TickGate CSimbrel1View::PlanTickGate(const CTickInput& in)
{
    if (in.bPdfRunning || in.bReidentifying)
        return TickGate::Ignore;
    if (in.bSkipNext)
        return TickGate::Skip;
    if (in.bScreenShown && in.bOffLine)
        return TickGate::OffLineStatus;
    if (in.bCheckBusy || in.bIdleRunning || in.bStepRunning || in.bFanListDropped || in.bDeviceDialogOpen ||
        in.bStarting)
        return TickGate::Ignore;
    return TickGate::Proceed;
}

CSimbrel1View::TickWork CSimbrel1View::PlanTickWork(const CTickInput& in)
{
    const bool bLive = IsLiveMethod(in.chMethod);
    if (in.nTickCount >= kChannelCheckTicks) {
        if (bLive && (in.bScreenShown || in.bHiddenForPrint) && !in.bTestRunning && in.bPrimaryLink)
            return TickWork::ChannelCheck;
        return TickWork::None;
    }
    if (in.bAllConnected && in.bTestRunning && in.bLiveReadings && bLive && !in.bFanListDropped)
        return TickWork::Step;
    if (in.bAllConnected && !in.bTestRunning && in.bScreenShown && bLive && in.bLiveReadings &&
        !in.bFanListDropped && in.bPrimaryLink)
        return TickWork::Idle;
    return TickWork::None;
}

int CSimbrel1View::SendKeepAlives()
{
    int nSent = 0;
    for (CQarCommunications* pLink : m_pLink) {
        if (pLink == nullptr || !pLink->m_bNetwork || !pLink->m_bSocketOpen || !pLink->m_bIdentified ||
            pLink->m_bBusy.load())
            continue;
        if (pLink->SendWifiCommand(L"KA\r\n"))
            ++nSent;
    }
    return nSent;
}

void CSimbrel1View::RunChannelCheck()
{
    CTestGraph1& screen = *m_pTestGraph;
    m_bChannelCheckRunning = 1;
    const int bHadChannels = screen.m_DevicesInUse > 0 ? 1 : 0;
    int nResult = screen.CheckChannelCounts();
    if (!nResult) {
        if (m_bAnnounceScan) {
            screen.SetStatusText(IDS_SCANNING_FOR_DEVICES, CString());
            m_bAnnounceScan = 0;
        }
        nResult = screen.ConnectDevices();
    }
    screen.UpdateDeviceStatus(1);
    if (nResult && !bHadChannels) {
        screen.UpdateZoneLabels();
        m_bChannelsAllocated = 1;
    } else {
        m_bChannelsAllocated = 0;
    }
    m_bChannelCheckRunning = 0;
}

void CSimbrel1View::OnTimer(UINT_PTR nIDEvent)
{
    if (m_pTestGraph == nullptr)
        return;
    CTestGraph1& screen = *m_pTestGraph;
    // 1.
    if (m_bDisconnecting || screen.m_Reconnecting)
        return;
    // 2.
    if (nIDEvent == kTimerKeepAlive) {
        SendKeepAlives();
        return;
    }
    if (nIDEvent != kTimerTick)
        return;

    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    auto gather = [&]() {
        CTickInput in;
        in.bPdfRunning = m_bPdfRunning;
        in.bReidentifying = m_bReidentifying;
        in.bSkipNext = m_bAfterIdleReading;
        in.bScreenShown = screen.m_bShown;
        in.bOffLine = m_bOffLine;
        in.bCheckBusy = m_bChannelCheckRunning;
        in.bIdleRunning = m_bIdleRunning;
        in.bStepRunning = m_bStepRunning;
        in.bFanListDropped = screen.m_bShown && screen.GetSafeHwnd() != nullptr &&
                             screen.SendDlgItemMessage(IDC_TG_RING_LIST, CB_GETDROPPEDSTATE) != 0;
        in.bDeviceDialogOpen = m_bDeviceDialogOpen;
        in.bStarting = screen.m_bTestStarting;
        in.nTickCount = m_nTickCount;
        in.bHiddenForPrint = screen.m_bHiddenForPrint;
        in.bTestRunning = screen.m_bTestRunning;
        in.bPrimaryLink = m_pLink[0] != nullptr;
        in.bLiveReadings = g_bLiveReadings;
        in.chMethod = m_pSettings != nullptr ? m_pSettings->m_chMethodLetter[d] : 0;
        return in;
    };

    // 3. to 5.
    CTickInput in = gather();
    switch (PlanTickGate(in)) {
    case TickGate::Ignore:
        return;
    case TickGate::Skip:
        m_bAfterIdleReading = 0;
        return;
    case TickGate::OffLineStatus:
        screen.UpdateDeviceStatus(0);
        return;
    case TickGate::Proceed:
        break;
    }
    // 6.
    if (screen.m_bShown) {
        if (m_bRecheckDevices) {
            screen.DestroyWindow();
            screen.ShowTestGraph();
            m_bRecheckDevices = 0;
            m_nTickCount = kChannelCheckTicks;
        } else {
            screen.UpdateDeviceStatus(0);
        }
    }
    // 7. to 10.
    in = gather();
    in.bAllConnected = AreAllPortsConnected();
    switch (PlanTickWork(in)) {
    case TickWork::ChannelCheck:
        RunChannelCheck();
        break;
    case TickWork::Step:
        m_bStepRunning = 1;
        screen.TestStep();
        break;
    case TickWork::Idle:
        m_bIdleRunning = 1;
        screen.IdleMonitorTick();
        m_bAfterIdleReading = 1;
        break;
    case TickWork::None:
        break;
    }
    // 11.
    m_bIdleRunning = 0;
    m_bStepRunning = 0;
    if (++m_nTickCount > kChannelCheckTicks)
        m_nTickCount = 0;
}
