// The test screen's window: opening and closing it, its data exchange, the
// keys it reads, the status line, the run buttons and the message pump of
// the long operations.
#include <commctrl.h>

#include <algorithm>
#include <ctime>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/QarCommunications.h"
#include "framework/Ddx.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

bool IsFanKey(UINT nKey)
{
    switch (nKey) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        return true;
    default:
        return false;
    }
}

}  // namespace

int CTestGraph1::ShowTestGraph()
{
    if (m_bOpenFails)
        return 0;
    if (m_pView != nullptr)
        m_pManualEntry = m_pView->m_pManualEntry;
    if (GetSafeHwnd() == nullptr) {
        m_bShown = 1;
        SetDefaultTargets();
        if (m_CompletedTests[0] == 0 && m_StationCount[1] == 0)
            m_bCurveValid = 0;
        // The fan slider is a common control.
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        if (!Create(IDD)) {
            m_bShown = 0;
            return 0;
        }
    }
    ShowWindow(SW_SHOW);
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
    m_nStatusId = 0;
    return 1;
}

BOOL CTestGraph1::DestroyWindow()
{
    // In the semi-automatic method the technician moves the slider: its
    // position then is not the program's to keep.
    const HWND hSlider = GetSafeHwnd() != nullptr ? ::GetDlgItem(m_hWnd, IDC_TG_FAN_SLIDER) : nullptr;
    if (GetCurrentMethod() != L'S' && hSlider != nullptr)
        m_dSavedSliderPos = static_cast<double>(::SendMessageW(hSlider, TBM_GETPOS, 0, 0));
    m_bShown = 0;
    return CDialog::DestroyWindow();
}

void CTestGraph1::RefreshControls()
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
    UpdateControlTexts();
}

void CTestGraph1::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TG_FAN_SPEED, m_strFanSpeed);
    DDX_Text(pDX, IDC_TG_BUILDING_PRESSURE, m_strBuildingPressure);
    DDX_Text(pDX, IDC_TG_FAN_TYPE, m_strFanType);
    DDX_Text(pDX, IDC_TG_FAN_PRESSURE, m_strFanPressure);
    DDX_Text(pDX, IDC_TG_FLOW, m_strFlow);
    DDX_Text(pDX, IDC_TG_BASELINE, m_strBaseline);
    DDX_Text(pDX, IDC_TG_COMPLETED_TESTS, m_strCompletedTests);
    DDX_Text(pDX, IDC_TG_SAMPLE_COUNT, m_strSampleCount);
    DDX_Text(pDX, IDC_TG_ELAPSED, m_strElapsedSeconds);
    DDX_Text(pDX, IDC_TG_FLOW_CAPTION, m_strFlowCaption);
    DDX_Text(pDX, IDC_TG_RESULTS, m_strResults);
    DDX_Text(pDX, IDC_TG_STATUS, m_strStatus);
    for (int z = 0; z < kZoneChannels; ++z)
        DDX_Text(pDX, IDC_TG_ZONE_READOUT_FIRST + z, m_strZoneReadout[z]);
    DDX_CBIndex(pDX, IDC_TG_RING_LIST, m_nRingIndex);
}

wchar_t CTestGraph1::GetCurrentMethod() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr)
        return 0;
    return pSettings->m_chMethodLetter[g_nCurrentDirection == 0 ? 0 : 1];
}

int CTestGraph1::GetRingForKey(wchar_t chFanCode, UINT nKeyCode)
{
    int nRing = -1;
    if (nKeyCode == L'0' || nKeyCode == L'O' || nKeyCode == L'o')
        return 0;
    const bool bBlowerDoorFan = chFanCode == L'3' || chFanCode == L'5' || chFanCode == L'4';
    if (bBlowerDoorFan) {
        if (nKeyCode >= L'A' && nKeyCode <= L'E')
            nRing = static_cast<int>(nKeyCode - L'A') + 1;
        else if (nKeyCode >= L'a' && nKeyCode <= L'e')
            nRing = static_cast<int>(nKeyCode - L'a') + 1;
    } else if (nKeyCode >= L'1' && nKeyCode <= L'4') {
        nRing = static_cast<int>(nKeyCode - L'1') + 1;
    }
    // A ring the fan does not have would leave the ring list without a
    // selection, and the run would install ring -1 (the baseline marker).
    const int nRow = CFanCalibrationDialog::GetFanRow(chFanCode);
    if (nRing < 0 || nRow < 0 || nRing >= CFanCalibrationDialog::GetRingCount(nRow))
        return -1;
    return nRing;
}

BOOL CTestGraph1::PreTranslateMessage(MSG* pMsg)
{
    if (GetSafeHwnd() == nullptr)
        return TRUE;
    if (!IsWindowVisible())
        return CDialog::PreTranslateMessage(pMsg);
    if (!::IsDialogMessageW(m_hWnd, pMsg))
        return CDialog::PreTranslateMessage(pMsg);

    const HWND hFocus = ::GetFocus();
    const bool bFocusOnControl = hFocus != nullptr && ::IsChild(m_hWnd, hFocus);
    if (bFocusOnControl) {
        m_nFocusCtrlId = ::GetDlgCtrlID(hFocus);
        if (pMsg->message == WM_SYSKEYDOWN) {
            if (CWnd* pParent = GetParent())
                pParent->SetFocus();
            return TRUE;
        }
    }
    if (GetCurrentMethod() == L'M')
        return TRUE;

    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
        if (bFocusOnControl && m_nFocusCtrlId == IDC_TG_FAN_SLIDER)
            m_bSliderDragging = 1;
        break;
    case WM_LBUTTONUP:
        m_bSliderDragging = 0;
        break;
    case WM_KEYDOWN: {
        if (!bFocusOnControl)
            break;
        const UINT nKey = static_cast<UINT>(pMsg->wParam);
        if (nKey == 0x46 || nKey == 0x66) {
            m_bFanValueShown = !m_bFanValueShown;
            if (CWnd* pValue = GetDlgItem(IDC_TG_FAN_SPEED))
                pValue->ShowWindow(m_bFanValueShown ? SW_SHOW : SW_HIDE);
            if (m_CompletedTests[g_nCurrentDirection == 0 ? 0 : 1] > 0)
                m_bCurveValid = 1;
            RedrawGraph();
            break;
        }
        if (m_bSamplingDisplay)
            break;
        const wchar_t chFan = m_pEquipment != nullptr
                                  ? m_pEquipment->m_chFanCode
                                  : (m_pView != nullptr && m_pView->m_pEquipment != nullptr
                                         ? m_pView->m_pEquipment->m_chFanCode
                                         : L'\0');
        const int nRing = GetRingForKey(chFan, nKey);
        if (nRing >= 0) {
            m_nRingIndex = nRing;
            SendDlgItemMessage(IDC_TG_RING_LIST, CB_SETCURSEL, static_cast<WPARAM>(nRing));
            Invalidate();
            OnRingCloseUp();
        } else if (IsFanKey(nKey)) {
            CQarCommunications* pLink = Link(0);
            if (m_nFocusCtrlId != IDC_TG_RING_LIST && pLink != nullptr && pLink->m_bIdentified) {
                OnFanSpeedKey(nKey);
                m_bFanKeyDown = 1;
                m_nFanKeyStep = std::min(m_nFanKeyStep + 2, 100);
            }
        } else if (nKey == VK_RETURN && m_nFocusCtrlId == IDC_TG_RING_LIST) {
            OnRingCloseUp();
        }
        break;
    }
    case WM_KEYUP:
        m_bFanKeyDown = 0;
        m_nFanKeyStep = 1;
        break;
    default:
        break;
    }
    return TRUE;
}

// Id -1 is the free-text form as well as 0: m_nStatusId is -1 while a free
// text shows, and a text given with -1 must not be taken for "already shown".
void CTestGraph1::SetStatusText(int nID, const CString& strText)
{
    if (nID == 0 || nID == -1) {
        m_strStatus = strText;
        m_nStatusId = -1;
    } else {
        if (nID == m_nStatusId)
            return;
        m_strStatus.LoadString(static_cast<UINT>(nID));
        m_nStatusId = nID;
    }
    if (m_bShown && GetSafeHwnd() != nullptr) {
        SetDlgItemText(IDC_TG_STATUS, m_strStatus.GetString());
        Invalidate(FALSE);
    }
}

CTestGraph1::CRunControlPlan CTestGraph1::PlanRunControls(const CRunControlInput& in)
{
    // Order: Sample, Pause, Start, Cruise, Clear, Next, Previous, 2344.
    enum { kSample, kPause, kStart, kCruise, kClear, kNext, kPrevious, kEnvironment };
    CRunControlPlan plan;
    int* e = plan.nEnable;
    const bool bCruise = in.nCruiseMode != 0;
    if (in.bRestored) {
        if (!in.bRunning && !in.bBaseline) {
            e[kPrevious] = 1;
            e[kSample] = e[kPause] = 0;
            e[kClear] = e[kNext] = e[kEnvironment] = in.bHasCompletedTests ? 1 : 0;
        } else if (in.bBaseline) {
            e[kSample] = e[kPause] = e[kClear] = e[kNext] = e[kPrevious] = e[kEnvironment] = 0;
            e[kStart] = bCruise ? 0 : 1;
            e[kCruise] = bCruise ? 1 : 0;
            plan.nStatusId = IDS_MEASURING_BASELINE;
        } else if (bCruise) {
            e[kPause] = e[kCruise] = 1;
            e[kSample] = e[kClear] = e[kNext] = e[kPrevious] = e[kEnvironment] = e[kStart] = 0;
        } else if (in.bSampling) {
            e[kSample] = e[kPause] = e[kClear] = e[kNext] = e[kPrevious] = e[kEnvironment] = e[kCruise] = 0;
            plan.nStatusId = IDS_SAMPLING_DATA;
        } else {
            e[kSample] = e[kPause] = 1;
            e[kClear] = e[kNext] = e[kPrevious] = e[kEnvironment] = e[kCruise] = 0;
            plan.nStatusId = IDS_ADJUSTING_FAN_FOR_TARGET;
        }
    } else if (bCruise) {
        e[kCruise] = e[kPause] = 1;
        e[kSample] = 0;
    } else if (in.bSampling) {
        e[kSample] = e[kPause] = 0;
        plan.nStatusId = IDS_SAMPLING_DATA;
    } else {
        e[kSample] = 1;
        e[kPause] = in.chMethod == L'S' ? 0 : 1;
    }
    return plan;
}

void CTestGraph1::UpdateRunControls()
{
    CRunControlInput in;
    in.bRestored = m_bRestored;
    in.bRunning = m_bTestRunning;
    in.bBaseline = m_bBaselineRunning;
    in.nCruiseMode = m_CruiseMode;
    in.bSampling = m_bSamplingDisplay;
    in.bHasCompletedTests = m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0;
    in.chMethod = GetCurrentMethod();
    const CRunControlPlan plan = PlanRunControls(in);
    for (int k = 0; k < 8; ++k) {
        if (plan.nEnable[k] >= 0)
            EnableControl(kRunControls[k], plan.nEnable[k]);
    }
    if (plan.nEnable[0] >= 0)
        m_bSampleEnabled = plan.nEnable[0];
    if (plan.nEnable[1] >= 0)
        m_bPauseEnabled = plan.nEnable[1];
    if (plan.nStatusId == IDS_ADJUSTING_FAN_FOR_TARGET) {
        const int d = g_nCurrentDirection == 0 ? 0 : 1;
        const int nTarget = std::clamp(m_nPointIndex, 0, kMaxTargets);
        CString strFormat;
        strFormat.LoadString(IDS_ADJUSTING_FAN_FOR_TARGET);
        CString strText;
        strText.Format(strFormat.GetString(), m_Targets[d][nTarget]);
        SetStatusText(0, strText);
    } else if (plan.nStatusId != 0) {
        SetStatusText(plan.nStatusId, CString());
    }
}

int CTestGraph1::EnableControl(int nID, int bEnable)
{
    if (m_bShown && GetSafeHwnd() != nullptr) {
        if (CWnd* pControl = GetDlgItem(nID))
            pControl->EnableWindow(bEnable ? TRUE : FALSE);
    }
    return bEnable;
}

int CTestGraph1::EnableControlIfDisabled(int nID)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return 0;
    CWnd* pControl = GetDlgItem(nID);
    if (pControl == nullptr || pControl->IsWindowEnabled())
        return 0;
    pControl->EnableWindow(TRUE);
    return 1;
}

void CTestGraph1::WaitMs(int nMs)
{
    const std::clock_t nStart = std::clock();
    const std::clock_t nTicks = static_cast<std::clock_t>(static_cast<double>(nMs) * CLOCKS_PER_SEC / 1000.0);
    while (std::clock() - nStart < nTicks) {
    }
}

void CTestGraph1::ShowCommunicationLost(const CString& strDetail, int bTest)
{
    CString strText;
    strText.LoadString(IDS_COMMUNICATION_LOST);
    CString strMore;
    strMore.LoadString(bTest ? IDS_TEST_WILL_BE_TERMINATED : IDS_IDLE_MONITORING_TERMINATED);
    strText += L"\n\n";
    strText += strMore;
    if (g_bVerboseWifiErrors && !strDetail.IsEmpty()) {
        strText += L"\n\n";
        strText += strDetail;
    }
    const int nHelp = m_CruiseMode != 0 && m_bTestRunning ? 122 : (m_bTestRunning ? 106 : 255);
    if (m_pView != nullptr)
        m_pView->ShowMessage(0, strText, 176, 0, nHelp);
}

// Key probes.

int CTestGraph1::PeekEscapeOrEnter()
{
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE))
        return 0;
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN))
        return 0;
    ::PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
    return static_cast<int>(msg.wParam);
}

int CTestGraph1::PeekKeyInSet(const wchar_t* pszKeys)
{
    MSG msg;
    if (pszKeys == nullptr || !::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE))
        return 0;
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR)
        return 0;
    for (const wchar_t* p = pszKeys; *p != 0; ++p) {
        if (msg.wParam == static_cast<WPARAM>(*p)) {
            ::PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
            return static_cast<int>(*p);
        }
    }
    return 0;
}

int CTestGraph1::IsSampleKeyPressed()
{
    return PeekKeyInSet(L"Ss") != 0 ? 1 : 0;
}

// Message pump of the long operations.
int CTestGraph1::PumpMessages()
{
    MSG msg;
    int bDispatched = 0;
    int bQuit = 0;
    int nQuitCode = 0;
    const HWND hMain = m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr
                           ? ::GetAncestor(m_pView->GetSafeHwnd(), GA_ROOT)
                           : nullptr;
    ++m_nPumpDepth;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        // A click waiting is the caller's: the sequence looks for it itself.
        if (msg.message == WM_LBUTTONDOWN)
            break;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        // A timer tick would re-enter the test step.
        if (msg.message == WM_TIMER)
            continue;
        // The program's end belongs to the main message loop: kept and put
        // back once the queue has been emptied.
        if (msg.message == WM_QUIT) {
            bQuit = 1;
            nQuitCode = static_cast<int>(msg.wParam);
            continue;
        }
        // Closing the main window now would delete this screen under the
        // loop that pumps: the loop sees the shut-down flag and returns, and
        // the close follows then.
        if (hMain != nullptr && msg.hwnd == hMain &&
            (msg.message == WM_CLOSE || (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE))) {
            m_bCloseDeferred = 1;
            m_hDeferredClose = hMain;
            m_pView->m_bShuttingDown = 1;
            continue;
        }
        // The screen's dialog handling has already delivered what it takes;
        // dispatching it again would hand a key to its control twice.
        if (GetSafeHwnd() == nullptr || !PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        bDispatched = 1;
    }
    --m_nPumpDepth;
    if (bQuit)
        ::PostQuitMessage(nQuitCode);
    if (msg.message == WM_LBUTTONDOWN && !bDispatched)
        return 1;
    return bDispatched;
}

void CTestGraph1::FinishDeferredClose()
{
    if (!m_bCloseDeferred || m_nPumpDepth > 0)
        return;
    m_bCloseDeferred = 0;
    if (m_pView != nullptr)
        m_pView->m_bShuttingDown = 0;
    const HWND hMain = m_hDeferredClose;
    m_hDeferredClose = nullptr;
    if (hMain != nullptr && ::IsWindow(hMain))
        ::PostMessageW(hMain, WM_CLOSE, 0, 0);
}

// Calls into the run, fan and ring operations.

int CTestGraph1::IsOnStopButton(CPoint pt) const
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return 0;
    const CWnd* pButton = GetDlgItem(m_CruiseMode != 0 ? IDC_TG_CRUISE : IDC_TG_START);
    if (pButton == nullptr)
        return 0;
    CRect rc;
    pButton->GetWindowRect(&rc);
    return ::PtInRect(&rc, pt) ? 1 : 0;
}
