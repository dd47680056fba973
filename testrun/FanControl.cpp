// Fan speed control of the test screen: the fan commands, the adaptive
// steps towards a target pressure, the speed prediction and the fan keys.
#include "testrun/TestGraph1.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "res/resource.h"
#include "testrun/PauseDialogs.h"

namespace {

constexpr int kWarningIcon = 176;
constexpr int kKindOk = 0;
constexpr int kKindYesNo = 4;
constexpr int kAnswerYes = 6;
constexpr int kNoHelp = 255;
constexpr int kAdjustPasses = 10;
constexpr double kWrongSignPa = 20.0;
// WM_POINTERDOWN, declared by the headers only for Windows 8 and later.
constexpr UINT kPointerDown = 0x0246;

// Whether the screen point lies on the dialog's control.
bool IsOnControl(const CWnd* pDialog, int nID, POINT pt)
{
    if (pDialog == nullptr || pDialog->GetSafeHwnd() == nullptr)
        return false;
    const HWND hControl = ::GetDlgItem(pDialog->GetSafeHwnd(), nID);
    RECT rc;
    return hControl != nullptr && ::GetWindowRect(hControl, &rc) && ::PtInRect(&rc, pt);
}

}  // namespace

unsigned short CTestGraph1::ToFanCommand(double dSpeed, double dMaximum)
{
    if (!(dSpeed > 0.0))   // NaN too
        return 0;
    if (dSpeed > dMaximum)
        dSpeed = dMaximum;
    return static_cast<unsigned short>(dSpeed);
}

double CTestGraph1::GetFanStepSize(double dError)
{
    const double dMagnitude = std::fabs(dError);
    return dMagnitude >= 10.0 ? 5.0 : 0.5 * dMagnitude;
}

double CTestGraph1::AdaptGain(double dGain, int nSignBefore, int nSignAfter, int bGaugeFamily, int bCruise)
{
    if (nSignBefore != nSignAfter)
        return 1.0;
    const double dCap = bGaugeFamily && !bCruise ? 80.0 : 20.0;
    return std::min(dGain * 1.2, dCap);
}

double CTestGraph1::PredictFanSpeed(double dSpeed, double dTarget, double dPreviousTarget, double dExponent)
{
    // Without a previous target there is no ratio to scale by.
    if (dPreviousTarget == 0.0 || !std::isfinite(dTarget / dPreviousTarget))
        return dSpeed;
    double e = dExponent > 0.0 ? dExponent : 0.65;
    e = std::clamp(e, 0.5, 1.0);
    return dSpeed * std::pow(std::fabs(dTarget / dPreviousTarget), e);
}

int CTestGraph1::IsGaugeFamilyPrimary() const
{
    const CQarCommunications* pLink = Link(0);
    return pLink != nullptr && pLink->m_bGauge ? 1 : 0;
}

double CTestGraph1::GetFanMaximum() const
{
    return IsGaugeFamilyPrimary() ? kGaugeFanMaximum : kBoxFanMaximum;
}

int CTestGraph1::IsSemiAutomaticMethod() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    return pSettings != nullptr && pSettings->m_nMethodIndex == 2 ? 1 : 0;
}

void CTestGraph1::SendFanCommand(double dSpeed)
{
    CQarCommunications* pLink = Link(0);
    if (pLink == nullptr)
        return;
    const unsigned short nCommand = ToFanCommand(dSpeed, GetFanMaximum());
    // Every value fits a short: the maximum is 16127.
    pLink->SetFanSpeed(static_cast<short>(nCommand));
    ++m_nFanCommandsSent;
    m_nLastFanCommand = nCommand;
}

void CTestGraph1::SetFanSpeed(double dSpeed)
{
    if (GetCurrentMethod() == L'S')
        return;
    m_FanSpeed = dSpeed;
    SendFanCommand(dSpeed);
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    const int nPosition = ToFanCommand(dSpeed, GetFanMaximum());
    SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_SETPOS, TRUE, nPosition);
    if (m_bFanValueShown) {
        m_strFanSpeed.Format(L"%d", nPosition);
        SetDlgItemText(IDC_TG_FAN_SPEED, m_strFanSpeed.GetString());
    }
    UpdateWindow();
}

void CTestGraph1::StartFanAtPercent(double dPercent)
{
    if (GetCurrentMethod() == L'S')
        return;
    SetFanSpeed(GetFanMaximum() * dPercent / 100.0);
}

void CTestGraph1::UpdateSpeedSliderRange(double dSpeed)
{
    if (GetCurrentMethod() == L'S' || !m_bShown || GetSafeHwnd() == nullptr)
        return;
    const LRESULT nMaximum = static_cast<LRESULT>(GetFanMaximum());
    if (SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_GETRANGEMAX) == nMaximum)
        return;
    SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, nMaximum));
    SetFanSpeed(dSpeed);
}

void CTestGraph1::EnableFanControls(int bEnable)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    const bool bSemi = GetCurrentMethod() == L'S';
    if (!bSemi)
        EnableControl(IDC_TG_FAN_SLIDER, bEnable);
    EnableControl(IDC_TG_RING_LIST, bEnable);
    if (CWnd* pFocus = GetDlgItem(bEnable && !bSemi ? IDC_TG_FAN_SLIDER : IDC_TG_START))
        pFocus->SetFocus();
}

void CTestGraph1::ApplySpeedPrediction(double dTarget, double dPreviousTarget, double dExponent)
{
    // The stored speed may lie above the maximum until the next pass
    // clamps it; what goes to the fan never does.
    m_FanSpeed = PredictFanSpeed(m_FanSpeed, dTarget, dPreviousTarget, dExponent);
    SendFanCommand(m_FanSpeed);
}

void CTestGraph1::OnFanSpeedKey(UINT nKeyCode)
{
    if (m_bSamplingDisplay || GetCurrentMethod() == L'S')
        return;
    const bool bWindow = m_bShown && GetSafeHwnd() != nullptr;
    double dPosition = bWindow ? static_cast<double>(SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_GETPOS))
                               : m_FanSpeed;
    switch (nKeyCode) {
    case VK_RIGHT:
    case VK_UP:
        dPosition += m_nFanKeyStep;
        break;
    case VK_LEFT:
    case VK_DOWN:
        dPosition -= m_nFanKeyStep;
        break;
    case VK_NEXT:
        dPosition -= 20;
        break;
    case VK_PRIOR:
        dPosition += 20;
        break;
    default:
        return;
    }
    dPosition = std::clamp(dPosition, 0.0, GetFanMaximum());
    m_FanSpeed = dPosition;
    m_dManualSpeed = dPosition;
    m_strFanSpeed.Format(L"%d", static_cast<int>(dPosition));
    if (bWindow) {
        SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_SETPOS, TRUE, static_cast<LPARAM>(dPosition));
        SetDlgItemText(IDC_TG_FAN_SPEED, m_strFanSpeed.GetString());
        UpdateWindow();
    }
    SendFanCommand(dPosition);
    m_dPreviousSpeed = m_FanSpeed;
    if (bWindow) {
        if (CWnd* pSlider = GetDlgItem(IDC_TG_FAN_SLIDER))
            pSlider->SetFocus();
    }
}

int CTestGraph1::AdjustFanStep(double dFanPressure, double dBuilding, double dBaseline, double dTarget,
                               double dStepGain, int bDepress)
{
    CString strStatus;
    strStatus.Format(LoadText(IDS_ADJUSTING_FAN_FOR_TARGET).GetString(), dTarget);
    SetStatusText(-1, strStatus);
    if (IsSemiAutomaticMethod())
        return 0;
    const double dSign = bDepress == 1 ? -1.0 : 1.0;
    if (dTarget < -9999.900390625) {
        SetFanSpeed(0.0);
        return 1;
    }
    CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    const bool bCruise = m_CruiseMode != 0;
    const bool bWindow = m_bShown && GetSafeHwnd() != nullptr;
    const HWND hFanList = bWindow ? ::GetDlgItem(m_hWnd, IDC_TG_RING_LIST) : nullptr;
    auto focusOnFanList = [hFanList] { return hFanList != nullptr && ::GetFocus() == hFanList; };

    for (int nPass = 0; nPass < kAdjustPasses; ++nPass) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, kPointerDown, kPointerDown, PM_REMOVE)) {
            const POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            if (IsOnControl(this, bCruise ? IDC_TG_CRUISE : IDC_TG_START, pt)) {
                if (!focusOnFanList()) {
                    m_bStopPending = 1;
                    m_bUserStop = 1;
                    return 0;
                }
            } else if (IsOnControl(this, IDC_TG_PAUSE, pt)) {
                ::PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
                if (m_bPauseEnabled && !focusOnFanList()) {
                    m_bPauseRequest = 1;
                    return 0;
                }
            } else if (IsOnControl(this, IDC_TG_SAMPLE, pt)) {
                ::PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
                if (!m_AutoZeroing && !bCruise && !focusOnFanList()) {
                    m_bSampleRequest = 1;
                    return 0;
                }
            }
        }
        if (!focusOnFanList()) {
            const int nKey = PeekEscapeOrEnter();
            if (nKey == VK_ESCAPE) {
                if (m_bPauseEnabled) {
                    m_bPauseRequest = 1;
                } else {
                    m_bStopPending = 1;
                    m_bUserStop = 1;
                }
                return 0;
            }
        }
        if (!m_AutoZeroing && !bCruise && IsSampleKeyPressed()) {
            m_bSampleRequest = 1;
            return 0;
        }
        if (hFanList == nullptr || !::SendMessageW(hFanList, CB_GETDROPPEDSTATE, 0, 0))
            PumpMessages();
        if (nPass == 0 && bDepress == 1)
            dTarget = -dTarget;

        const double dPrevious = nPass == 0 ? dBuilding : m_dLastDP;
        double dReadBuilding = 0.0, dReadFan = 0.0;
        int nFailed = 0;
        if (!ReadAllChannels(dReadBuilding, dReadFan, nFailed)) {
            CQarCommunications* pFailed = Link(nFailed);
            if (pFailed != nullptr && pFailed->m_bNetwork) {
                const int nDevices = m_DevicesInUse;
                if (ReconnectWifiDevice(nFailed, pFailed->m_nSerial, nDevices) == nDevices) {
                    SetStatusText(-1, strStatus);
                    WaitMs(500);
                    SendFanCommand(m_FanSpeed);
                    m_nWindowIndex = 0;
                    m_nWindowFill = 0;
                    m_bWindowFull = 0;
                    m_bStopPending = 0;
                    RestartFluctuationWatch();
                    return 2;
                }
            }
            m_bStopPending = 1;
            return 0;
        }
        const double dP = dReadBuilding - dBaseline;
        const double dChange = dP - dPrevious;
        const double dError = dP - dTarget;
        m_dLastDP = dP;

        const bool bOperatorHolds = m_bSliderDragging || m_bFanKeyDown;
        if (!bOperatorHolds) {
            double dStep = 0.0;
            if (dError > 0.0)
                dStep = dChange < 0.0 ? 0.0 : -dSign * dStepGain * GetFanStepSize(dError);
            else
                dStep = dChange > 0.0 ? 0.0 : dSign * dStepGain * GetFanStepSize(dError);
            if (nPass > 0)
                m_FanSpeed += dStep;
            m_FanSpeed = std::clamp(m_FanSpeed, 0.0, GetFanMaximum());
        }

        const double dLimit = pSettings != nullptr ? pSettings->m_dHighPressureLimit : 0.0;
        const bool bOverLimit = std::fabs(dP) > dLimit;
        const bool bWrongSign = (bDepress != 1 && dP < -kWrongSignPa) || (bDepress == 1 && dP > kWrongSignPa);
        const bool bFanWrongSign = dFanPressure < -kWrongSignPa;
        if (bOverLimit || bWrongSign || bFanWrongSign) {
            m_bSamplingDisplay = 1;
            SetFanSpeed(0.0);
            bool bYes = false;
            if (bWrongSign || bFanWrongSign) {
                const UINT nText = bFanWrongSign ? IDS_WRONG_SIGN_FAN : IDS_WRONG_SIGN_BUILDING;
                const int nHelp = bFanWrongSign ? (bCruise ? kNoHelp : 116) : 113;
                CString strText = LoadText(nText) + L"\r\n\r\n";
                if (bCruise) {
                    strText += LoadText(IDS_PRESS_OK_TERMINATE_CRUISE);
                    SetFanSpeed(0.0);
                    if (m_pView != nullptr)
                        m_pView->ShowMessage(0, strText, kWarningIcon, kKindOk, nHelp);
                    m_bFaultStop = 1;
                    bYes = true;
                } else {
                    strText += LoadText(IDS_TERMINATE_TEST_QUESTION);
                    const int nAnswer =
                        m_pView != nullptr ? m_pView->ShowMessage(0, strText, kWarningIcon, kKindYesNo, nHelp) : 0;
                    if (nAnswer == kAnswerYes) {
                        m_bUserStop = 1;
                        m_bStopConfirmed = 1;
                        bYes = true;
                    }
                }
                RestartFluctuationWatch();
            } else {
                CTestPauseDialog dialog(this);
                dialog.m_strMessage = LoadText(IDS_MAX_PRESSURE_EXCEEDED);
                dialog.m_nHelpTopic = 130;
                dialog.m_bTest = bCruise ? 0 : 1;
                if (dialog.DoModal() == CTestPauseDialog::kResultStop) {
                    m_bUserStop = 1;
                    bYes = true;
                }
                m_bPauseRequest = 0;
                RestartFluctuationWatch();
            }
            m_bSamplingDisplay = 0;
            if (bYes) {
                m_bStopPending = 1;
                SetFanSpeed(m_FanSpeed);
                return 1;
            }
            StartFanAtPercent(pSettings != nullptr ? pSettings->m_dFanStartPercent : 0.0);
            if (bFanWrongSign)
                return 1;
        } else {
            SetFanSpeed(m_FanSpeed);
        }
        if (bOperatorHolds)
            return 1;
    }
    return 1;
}
