// One step of a running test or cruise: pause, stop handling, the sample
// request, the reading, building pressure detection, the ten-reading
// window, the live point, keys and touches, fan adjustment, ring change and
// sampling; and the stopwatches the run reads.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/QarCommunications.h"
#include "res/resource.h"
#include "testrun/PauseDialogs.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kExclamationIcon = 175;
constexpr int kWarningIcon = 176;
constexpr int kKindOk = 0;
constexpr int kKindYesNo = 4;
constexpr int kKindAutoClose = 6;
constexpr int kKindEndTest = 8;
constexpr int kAnswerYes = 6;
constexpr int kNoHelp = 255;
constexpr UINT kPointerDown = 0x0246;
constexpr long long kFluctuationMs = 120000;
constexpr long long kAstmMs = 10000;
constexpr long long kSecondMs = 1000;
// Longer than an auto-zero's three attempts of 3.5 s and their drains.
constexpr DWORD kStragglerWaitMs = 20000;

long long NowMs()
{
    return static_cast<long long>(GetProgramClock().GetMilliseconds());
}

int Slot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

int Sign(double v)
{
    return v > 0.0 ? 1 : -1;
}

}  // namespace

// Plain decisions.

void CTestGraph1::PushWindowValue(double (&window)[10], int& nIndex, int& nFill, int& bFull, double dValue)
{
    nIndex = std::clamp(nIndex, 0, 9);
    window[nIndex] = dValue;
    nIndex = (nIndex + 1) % 10;
    if (nFill < 10) {
        ++nFill;
        bFull = 0;
    } else {
        bFull = 1;
    }
}

double CTestGraph1::WindowMean(const double (&window)[10], int nFill)
{
    if (nFill < 1)
        return 0.0;
    const int n = std::min(nFill, 10);
    double dSum = 0.0;
    for (int i = 0; i < n; ++i)
        dSum += window[i];
    return dSum / n;
}

int CTestGraph1::IsBuildingPressureMissing(double dFan, double dSpeed, int bWarningOn, double dMaxChange,
                                           double dBuilding, int& nLowCount)
{
    if (!(dFan > 50.0 && dSpeed >= 1.0 && bWarningOn))
        return 0;
    if (dMaxChange < 1.0)
        return 1;
    if (std::fabs(dBuilding) < 0.3)
        ++nLowCount;
    else
        nLowCount = 0;
    return nLowCount >= 5 ? 1 : 0;
}

// Run state helpers.

void CTestGraph1::RestartFluctuationWatch()
{
    m_nFluctuationWatchMs = NowMs();
}

int CTestGraph1::IsFluctuationTimeout() const
{
    return NowMs() - m_nFluctuationWatchMs > kFluctuationMs ? 1 : 0;
}

void CTestGraph1::StartAstmWatch()
{
    m_nAstmWatchMs = NowMs();
    m_nAstmElapsedSeconds = 0;
}

int CTestGraph1::IsAstmTimeElapsed()
{
    const long long nElapsed = NowMs() - m_nAstmWatchMs;
    m_nAstmElapsedSeconds = static_cast<int>(nElapsed / 1000);
    return nElapsed > kAstmMs ? 1 : 0;
}

void CTestGraph1::StartSecondWatch()
{
    m_nSecondWatchMs = NowMs();
}

int CTestGraph1::IsSecondElapsed() const
{
    return NowMs() - m_nSecondWatchMs > kSecondMs ? 1 : 0;
}

void CTestGraph1::ShowPrompt(UINT nID, int nHelpTopic)
{
    if (m_pView != nullptr)
        m_pView->ShowMessage(static_cast<int>(nID), CString(), kExclamationIcon, kKindOk, nHelpTopic);
    RestartFluctuationWatch();
}

void CTestGraph1::EmptyReadingWindow()
{
    m_nWindowIndex = 0;
    m_nWindowFill = 0;
    m_bWindowFull = 0;
}

int CTestGraph1::GetStandard() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    return pSettings != nullptr ? pSettings->m_nStandard : 0;
}

double CTestGraph1::GetDataSamples() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    return pSettings != nullptr ? pSettings->m_dDataSamples : 0.0;
}

void CTestGraph1::ResetRunControls()
{
    SetControlText(IDC_TG_START, IDS_START_TEST_CAPTION);
    SetControlText(IDC_TG_CRUISE, IDS_WORD_CRUISE);
    UpdateRunControls();
    // Once the run is over, Previous, Clear, Next and the direction list
    // follow the data again.
    if (!IsRunBusy())
        UpdateControlTexts();
    if (m_bShown && GetSafeHwnd() != nullptr) {
        if (CWnd* pNext = GetDlgItem(IDC_TG_NEXT))
            pNext->SetFocus();
    }
}

// The step.

void CTestGraph1::TestStep()
{
    CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (m_pView == nullptr || pSettings == nullptr)
        return;
    CSimbrel1View& view = *m_pView;
    const int d = Slot();
    const double dStartPercent = pSettings->m_dFanStartPercent;
    const wchar_t chMethod = GetCurrentMethod();
    const bool bCruise = m_CruiseMode != 0;

    // 1. Pause.
    if (m_bPauseRequest) {
        SetFanSpeed(0.0);
        CTestPauseDialog dialog(this);
        dialog.m_strMessage = LoadText(bCruise ? IDS_CRUISING_IS_PAUSED : IDS_TEST_IS_PAUSED);
        dialog.m_nHelpTopic = 136;
        dialog.m_bTest = bCruise ? 0 : 1;
        const INT_PTR nResult = dialog.DoModal();
        RestartFluctuationWatch();
        if (nResult == CTestPauseDialog::kResultStop) {
            m_bUserStop = 1;
            m_bStopPending = 1;
        } else {
            StartFanAtPercent(dStartPercent);
        }
        m_bPauseRequest = 0;
        return;
    }
    // 2.
    m_DensityMode[d] = IsDepressurization(d);
    // 3.
    if (m_bStopPending) {
        HandleStop();
        return;
    }
    // 4.
    UpdateRunControls();

    CFanCalibrationDialog* pCal =
        m_pFanCalibration != nullptr ? m_pFanCalibration : view.m_pFanCalibration;
    const double dRingMinimum = pCal != nullptr ? pCal->m_dSelMinFanPressure : 0.0;
    // 5. Sample request.
    if (m_bSampleRequest) {
        if (m_dFan < dRingMinimum) {
            if (chMethod == L'A')
                SetFanSpeed(0.0);
            if (m_dFan < 0.2) {
                SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
                view.ShowMessage(IDS_NO_FAN_PRESSURE, CString(), kWarningIcon, kKindEndTest, 117);
                RestartFluctuationWatch();
                m_bFaultStop = 1;
                m_bStopPending = 1;
                return;
            }
            if (!CheckFlowMeasurable()) {
                EndTest();
                if (m_nFirstEntryOfTest[d] + 1 >= m_StationCount[d])
                    RedrawGraph();
                m_bStopPending = 1;
                return;
            }
            RestartFluctuationWatch();
            UpdateFanLabels();
            RefreshAfterRingChange();
            m_bSampleRequest = 0;
        } else {
            m_bSettled = 1;
            m_nSampleCount = 0;
            m_bSampleRequest = 0;
            EnableControl(IDC_TG_SAMPLE, 0);
            EnableControl(IDC_TG_PAUSE, 0);
            m_bSampleEnabled = 0;
            m_bPauseEnabled = 0;
        }
    }

    // 6. Re-zero.
    PumpMessages();
    if (IsRezeroDue() && !AutoZeroAll()) {
        m_bStopPending = 1;
        ResetRunControls();
        // As after a failed reading: no step would come to handle the stop.
        if (m_DevicesInUse == 0)
            HandleStop();
        return;
    }

    // 7. Reading.
    int nFailed = 0;
    if (!ReadAllChannels(m_dBuilding, m_dFan, nFailed)) {
        CQarCommunications* pFailed = Link(nFailed);
        if (pFailed != nullptr && pFailed->m_bNetwork) {
            const int nDevices = m_DevicesInUse;
            if (ReconnectWifiDevice(nFailed, pFailed->m_nSerial, nDevices) == nDevices && nDevices > 0) {
                PumpMessages();
                if (m_bSamplingDisplay) {
                    RedrawGraph();
                    m_bSamplingDisplay = 0;
                    m_bSettled = 0;
                }
                WaitMs(500);
                SendFanCommand(m_FanSpeed);
                EmptyReadingWindow();
                m_bStopPending = 0;
                RestartFluctuationWatch();
                return;
            }
        }
        m_bStopPending = 1;
        ResetRunControls();
        // The timer steps only while every link in use is connected, so the
        // stop is handled now: left for the next step it would never come
        // and the run would stay open for ever.
        if (m_DevicesInUse == 0)
            HandleStop();
        return;
    }

    // 8. Building pressure detection.
    const double dP = m_dBuilding - m_dBaseline;
    m_dMaxBuildingChange = std::max(m_dMaxBuildingChange, std::fabs(dP));
    if (IsBuildingPressureMissing(m_dFan, m_FanSpeed, view.m_bShowPressureWarning, m_dMaxBuildingChange, m_dBuilding,
                                  m_nLowPressureCount)) {
        // The fan stops before the message, whichever check fired.
        SetFanSpeed(0.0);
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        view.ShowMessage(IDS_NO_BUILDING_PRESSURE, CString(), kWarningIcon, kKindEndTest, 131);
        RestartFluctuationWatch();
        m_bFaultStop = 1;
        m_bStopPending = 1;
        ResetRunControls();
        return;
    }

    // 9. Window and flow.
    PushWindowValue(m_dReadingWindow, m_nWindowIndex, m_nWindowFill, m_bWindowFull, dP);
    if (m_nWindowFill >= 1)
        m_dWindowMean = WindowMean(m_dReadingWindow, m_nWindowFill);
    m_dFlow = pCal != nullptr ? pCal->m_dSelC * std::pow(std::fabs(m_dFan), pCal->m_dSelN) : 0.0;
    m_bFlowTooSmall = (m_dFlow < 0.1 || std::fabs(dP) < 0.1) ? 1 : 0;

    // 10. Live point.
    const int t = std::clamp(m_CompletedTests[d], 0, kMaxTests - 1);
    if (!m_bFlowTooSmall && !m_bSamplingDisplay) {
        const double dCorrected = m_FlowFactor[d][t] * m_dFlow;
        bool bDraw = chMethod != L'S';
        if (!bDraw && IsDisplayWatchElapsed()) {
            StartDisplayWatch();
            bDraw = true;
        }
        if (bDraw) {
            if (!m_bLiveMarkerErased)
                DrawLiveMarker(m_dLiveMarkerP, m_dLiveMarkerQ);
            m_dLiveMarkerP = dP;
            m_dLiveMarkerQ = dCorrected;
            DrawLiveMarker(dP, dCorrected);
            m_bLiveMarkerErased = 0;
            UpdateReadouts(0, dP, m_dBaseline, m_dFan, dCorrected, bCruise ? 1 : 0);
        }
    }

    // 11. Touch and keys.
    MSG msg;
    if (m_bSamplingDisplay && ::PeekMessageW(&msg, nullptr, kPointerDown, kPointerDown, PM_NOREMOVE)) {
        const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        if (IsOnStopButton(pt)) {
            ::PeekMessageW(&msg, nullptr, kPointerDown, kPointerDown, PM_REMOVE);
            m_bUserStop = 1;
            m_bStopPending = 1;
            return;
        }
    }
    if (m_bSamplingDisplay || (chMethod == L'S' && !m_bSettled)) {
        if (PeekEscapeOrEnter()) {
            m_bStopPending = 1;
            m_bUserStop = 1;
            return;
        }
    }
    if (!bCruise && chMethod == L'S' && !m_AutoZeroing && !m_bSettled && IsSampleKeyPressed()) {
        m_bSampleRequest = 1;
        return;
    }
    PumpMessages();

    // 12. The cruise branch is the cruise's own.
    if (bCruise) {
        CruiseStep();
        return;
    }
    const int i = std::clamp(m_nPointIndex, 0, kMaxTargets);
    const double dTarget = m_Targets[d][i];
    if (!m_bSettled) {
        if (chMethod == L'S') {
            m_nRequestedRing = -1;
            CString strStatus;
            strStatus.Format(LoadText(IDS_ADJUSTING_FAN_FOR_TARGET).GetString(), dTarget);
            SetStatusText(-1, strStatus);
            const bool bOverLimit = std::fabs(dP) > pSettings->m_dHighPressureLimit;
            const int bDepress = IsDepressurization(d);
            const bool bWrongSign = (!bDepress && dP < -20.0) || (bDepress && dP > 20.0);
            const bool bFanWrongSign = m_dFan < -20.0;
            if (bWrongSign || bFanWrongSign) {
                const CString strText = LoadText(bFanWrongSign ? IDS_WRONG_SIGN_FAN : IDS_WRONG_SIGN_BUILDING) +
                                        L"\r\n\r\n" + LoadText(IDS_TERMINATE_TEST_QUESTION);
                const int nAnswer =
                    view.ShowMessage(0, strText, kWarningIcon, kKindYesNo, bFanWrongSign ? 116 : 113);
                RestartFluctuationWatch();
                if (nAnswer == kAnswerYes) {
                    m_bStopPending = 1;
                    m_bUserStop = 1;
                    return;
                }
            } else if (bOverLimit) {
                CTestPauseDialog dialog(this);
                dialog.m_strMessage = LoadText(IDS_MAX_PRESSURE_EXCEEDED);
                dialog.m_nHelpTopic = 130;
                dialog.m_bTest = 1;
                const INT_PTR nResult = dialog.DoModal();
                RestartFluctuationWatch();
                if (nResult == CTestPauseDialog::kResultStop) {
                    m_bStopPending = 1;
                    m_bUserStop = 1;
                    return;
                }
            }
        } else {
            // (a), (b) speed prediction towards the next target.
            m_nSpeedSignBefore = Sign(m_FanSpeed - m_dPreviousSpeed);
            m_dPreviousSpeed = m_FanSpeed;
            if (m_bSpeedPredictionArmed && m_nPointIndex >= 1) {
                ApplySpeedPrediction(m_Targets[d][i], m_Targets[d][i - 1], m_FitN[d]);
                m_nSpeedSignBefore = Sign(m_FanSpeed - m_dPreviousSpeed);
                m_dPreviousSpeed = m_FanSpeed;
                SetFanSpeed(m_FanSpeed);
            }
            m_bSpeedPredictionArmed = 0;
            // (c)
            const int nAdjust = AdjustFanStep(m_dFan, m_dBuilding, m_dBaseline, dTarget,
                                              m_dGain * pSettings->m_dFanAdjust, IsDepressurization(d));
            if (nAdjust == 2 || m_bStopPending)
                return;
            // (d)
            m_nSpeedSignAfter = Sign(m_FanSpeed - m_dPreviousSpeed);
            m_dGain = AdaptGain(m_dGain, m_nSpeedSignBefore, m_nSpeedSignAfter, IsGaugeFamilyPrimary(), 0);
            // (e)
            double dMinimum = 0.0;
            m_nRequestedRing = DecideRing(m_dFan, m_dLastDP, IsDepressurization(d), m_CurrentRing[d], dTarget,
                                          pSettings->m_dTargetTolerance, m_dReadingWindow,
                                          std::clamp(m_nWindowFill, 0, 10), m_bWindowFull, m_nControllerState,
                                          dMinimum);
            // (f)
            const int nState = m_nControllerState;
            if (nState == 2) {
                view.ShowMessage(m_CurrentRing[d] > 0 ? IDS_CANNOT_REACH_TARGET_RING : IDS_CANNOT_REACH_TARGET_OPEN,
                                 CString(), kWarningIcon, kKindAutoClose, kNoHelp);
                RestartFluctuationWatch();
                m_nControllerState = 1;
                m_bCollectAtHighest = 1;
            } else if (nState == 3 || (nState >= 6 && nState <= 9)) {
                ShowControllerWarning(nState);
                SetFanSpeed(0.0);
                if (nState != 3) {
                    m_bCurveValid = 0;
                    RedrawGraph();
                    m_bStopPending = 1;
                    ResetRunControls();
                    m_bFaultStop = 1;
                    EmptyReadingWindow();
                    m_dGain = 1.0;
                    return;
                }
            }
            if (nState >= 2 && nState <= 9) {
                EmptyReadingWindow();
                m_dGain = 1.0;
            }
            if (nState == 3) {
                EndTest();
                m_bStopPending = 1;
                return;
            }
            // (g) Unsettled for too long.
            if (IsFluctuationTimeout()) {
                SetFanSpeed(0.0);
                EmptyReadingWindow();
                m_dGain = 1.0;
                if (m_nControllerState == 1)
                    m_nControllerState = 0;
                CTestPauseDialog dialog(this);
                dialog.m_strMessage = LoadText(IDS_EXCESSIVE_FLUCTUATION);
                dialog.m_nHelpTopic = 118;
                dialog.m_bTest = 1;
                const INT_PTR nResult = dialog.DoModal();
                RestartFluctuationWatch();
                if (nResult != CTestPauseDialog::kResultProceed) {
                    m_bStopPending = 1;
                    m_bUserStop = 1;
                    SetControlText(IDC_TG_START, IDS_START_TEST_CAPTION);
                    return;
                }
                StartFanAtPercent(dStartPercent);
            }
            // (h) Settle test.
            if (m_nControllerState == 1 && m_dGain <= 1.4 &&
                (m_bCollectAtHighest ||
                 std::fabs(std::fabs(m_dLastDP) - std::fabs(dTarget)) <= pSettings->m_dTargetTolerance)) {
                m_bSettled = 1;
                m_nSampleCount = 0;
            }
        }
    }

    // 13. Ring change.
    if (m_nRequestedRing != -1) {
        SetFanSpeed(0.0);
        m_nPreviousRing = m_CurrentRing[d];
        const int nRing = m_nRequestedRing;
        const int bChange = RingChangePrompt(nRing, GetFanCode());
        m_nRequestedRing = -1;
        if (!bChange) {
            EndTest();
            if (m_nFirstEntryOfTest[d] + 1 >= m_StationCount[d])
                RedrawGraph();
            m_bStopPending = 1;
            return;
        }
        RestartFluctuationWatch();
        m_CurrentRing[d] = nRing;
        UpdateFanLabels();
        UpdateRingCalibration(d);
        RecalculateGraph(d);
        if (m_nPointIndex > 0)
            m_bCurveValid = (m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0) ? 1 : 0;
        else
            m_bCurveValid = 0;
        RedrawGraph();
        EmptyReadingWindow();
        m_dGain = 1.0;
        m_bLiveMarkerErased = 1;
        StartFanAtPercent(dStartPercent);
    }

    // 14. Sampling.
    if (m_bSettled)
        SampleStation();
}

void CTestGraph1::HandleStop()
{
    if (m_pView == nullptr || m_pView->m_bShuttingDown)
        return;
    CSimbrel1View& view = *m_pView;
    const int d = Slot();
    CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : view.m_pSettings;
    const double dStartPercent = pSettings != nullptr ? pSettings->m_dFanStartPercent : 0.0;
    m_strCompletedTests.Format(L"%d", m_CompletedTests[0] + m_CompletedTests[1]);
    SetItemText(m_strCompletedTests, IDC_TG_COMPLETED_TESTS);
    const double dRemembered = m_FanSpeed;
    // A gauge job that outlived its wait (an auto-zero that never completed)
    // still talks on the link and would take the fan command's replies: the
    // stop waits for it, or the fan would go on running.
    if (CQarCommunications* pLink = Link(0); pLink != nullptr && m_WorkerGroup.IsLinkInUse(pLink))
        m_WorkerGroup.WaitForStragglers(kStragglerWaitMs);
    if (GetCurrentMethod() != L'S')
        SetFanSpeed(0.0);
    const bool bCruise = m_CruiseMode != 0;

    if (m_bUserStop || m_bFaultStop) {
        if (bCruise) {
            int nAnswer = kAnswerYes;
            if (!m_bFaultStop)
                nAnswer = view.ShowMessage(IDS_END_CRUISING_QUESTION, CString(), kExclamationIcon, kKindYesNo, 127);
            RestartFluctuationWatch();
            if (nAnswer != kAnswerYes) {
                SetFanSpeed(dRemembered);
                m_bUserStop = 0;
                m_bStopPending = 0;
                return;
            }
            SetFanSpeed(0.0);
            ResetRunControls();
            m_CruiseMode = 0;
            UpdateRingCalibration(d);
            if (m_CompletedTests[d] > 0)
                m_bCurveValid = 1;
            RedrawGraph();
            m_bLiveMarkerErased = 1;
            m_bFaultStop = 0;
        } else {
            int nAnswer = kAnswerYes;
            if (m_bFaultStop) {
                nAnswer = kAnswerYes;
            } else if (m_bStopConfirmed) {
                m_bStopConfirmed = 0;
            } else {
                nAnswer = view.ShowMessage(IDS_END_TESTING_QUESTION, CString(), kExclamationIcon, kKindYesNo, 126);
            }
            RestartFluctuationWatch();
            if (nAnswer != kAnswerYes) {
                if (m_bSamplingDisplay) {
                    m_bSamplingDisplay = 0;
                    EnableFanControls(1);
                    m_bLiveMarkerErased = 1;
                    m_bSettled = 0;
                    RedrawGraph();
                }
                SetControlText(IDC_TG_START, IDS_STOP_TEST_CAPTION);
                m_bUserStop = 0;
                m_bStopPending = 0;
                StartFanAtPercent(dStartPercent);
                return;
            }
            int bRetain = 0;
            if (!m_bFaultStop && m_nPointIndex >= 1) {
                bRetain = view.ShowMessage(IDS_RETAIN_TEST_DATA, CString(), kExclamationIcon, kKindYesNo, 133) ==
                                  kAnswerYes
                              ? 1
                              : 0;
                RestartFluctuationWatch();
            }
            if (bRetain) {
                m_bStopPending = 0;
                EndTest();
                m_strCompletedTests.Format(L"%d", m_CompletedTests[0] + m_CompletedTests[1]);
                SetItemText(m_strCompletedTests, IDC_TG_COMPLETED_TESTS);
            } else {
                SetFanSpeed(0.0);
                SetControlText(IDC_TG_START, IDS_START_TEST_CAPTION);
                m_bSamplingDisplay = 0;
                // The opening marker and the points; never below the count
                // the test started from.
                m_StationCount[d] = std::max(m_nEntriesAtStart, m_StationCount[d] - (m_nPointIndex + 1));
                m_nPointIndex = 0;
                RecalculateGraph(d);
                m_bCurveValid = (m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0) ? 1 : 0;
                RedrawGraph();
                m_nPreviousRing = -1;
                m_bSettled = 0;
                EmptyReadingWindow();
                m_dGain = 1.0;
                m_bLiveMarkerErased = 1;
                m_bFaultStop = 0;
            }
        }
    }

    // The run ends.
    if (!m_bLiveMarkerErased) {
        DrawLiveMarker(m_dLiveMarkerP, m_dLiveMarkerQ);
        m_bLiveMarkerErased = 1;
    }
    // A run that ends without closing its test (a lost gauge, a failed
    // re-zero) drops the test's opening marker and points, whatever came
    // before them: an unclosed group would pair with the next test's
    // opening marker and shift every later test.
    if (!bCruise && m_nFirstEntryOfTest[d] >= 0 && m_nFirstEntryOfTest[d] < m_StationCount[d] &&
        m_Ring[d][m_nFirstEntryOfTest[d]] == -1) {
        const bool bHadPoints = m_nFirstEntryOfTest[d] + 1 < m_StationCount[d];
        m_StationCount[d] = std::max(m_nFirstEntryOfTest[d], m_nEntriesAtStart);
        if (bHadPoints) {
            RecalculateGraph(d);
            m_bCurveValid = (m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0) ? 1 : 0;
            RedrawGraph();
        }
    }
    m_bTestRunning = 0;
    m_bStopPending = 0;
    m_bUserStop = 0;
    m_bFaultStop = 0;
    m_bSettled = 0;
    m_bSamplingDisplay = 0;
    m_nPointIndex = 0;
    ResetRunControls();
    m_CruiseMode = 0;
}
