// The test screen's controls: their captions, visibility and enabling, the
// screen's initialisation, the command of every button and list, and the
// selection and deletion of data points on the graph.
#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/DeviceDataDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "res/resource.h"
#include "testrun/CruiseDialogs.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kExclamationIcon = 175;
constexpr int kWarningIcon = 176;
constexpr int kNoHelp = 255;
constexpr int kKindOk = 0;
constexpr int kKindYesNo = 4;
constexpr int kKindProceedCancelTest = 7;
constexpr int kKindReenterProceed = 9;
constexpr int kEn13829 = 1;
constexpr int kAstmE779 = 2;
constexpr int kIso9972 = 3;

int CurrentSlot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

// The controls that show the live readings and run the test (methods 'A'
// and 'S'); 1082 and 1284 are added for ASTM E779 only.
constexpr int kLiveControls[] = {IDC_TG_BUILDING_PRESSURE, IDC_TG_BASELINE, IDC_TG_FAN_PRESSURE,
                                 IDC_TG_SAMPLE_COUNT, IDC_TG_COMPLETED_TESTS, IDC_TG_START,
                                 IDC_TG_CRUISE, IDC_TG_CLEAR, IDC_TG_FLOW,
                                 IDC_TG_BASELINE_LABEL, IDC_TG_BUILDING_READOUT, IDC_TG_COMPLETED_LABEL,
                                 IDC_TG_FAN_READOUT, IDC_TG_FLOW_CAPTION, IDC_TG_SAMPLES_LABEL,
                                 IDC_TG_DATA_BOX_INFO, IDC_TG_STATUS, IDC_TG_STATUS_LABEL,
                                 IDC_TG_RING_LIST, IDC_TG_DIRECTION_LIST, IDC_TG_RESULTS,
                                 IDC_TG_N50_LABEL, IDC_TG_SAMPLE, IDC_TG_PAUSE,
                                 IDC_TG_EDIT_ENVIRONMENT};

}  // namespace

// Captions, visibility and enabling.

const CTestGraph1::CControlState* CTestGraph1::CControlPlan::Find(int nID) const
{
    for (int i = 0; i < nCount; ++i) {
        if (control[i].nID == nID)
            return &control[i];
    }
    return nullptr;
}

CTestGraph1::CControlPlan CTestGraph1::PlanControls(const CControlInput& in)
{
    CControlPlan plan;
    const bool bLive = in.chMethod == L'A' || in.chMethod == L'S';
    const bool bSemi = in.chMethod == L'S';
    const bool bCruise = in.nCruiseMode != 0;
    const bool bRun = in.bTestRunning || bCruise;
    const bool bAstm = in.nStandard == kAstmE779;
    auto add = [&plan](int nID, UINT nCaption, bool bShown, int nEnabled) {
        if (plan.nCount >= kPlannedControls)
            return;
        CControlState& s = plan.control[plan.nCount++];
        s.nID = nID;
        s.nCaptionId = nCaption;
        s.bShown = bShown ? 1 : 0;
        s.bEnabled = nEnabled;
    };
    // The live controls first, in the order of the list they come from.
    for (int nID : kLiveControls) {
        UINT nCaption = 0;
        int nEnabled = 1;
        switch (nID) {
        case IDC_TG_START:
            nCaption = in.bTestRunning ? IDS_STOP_TEST_CAPTION : IDS_START_TEST_CAPTION;
            nEnabled = in.bDevicesInUse && !bCruise;
            break;
        case IDC_TG_CRUISE:
            nCaption = bCruise ? IDS_STOP_CRUISE : IDS_WORD_CRUISE;
            nEnabled = !bSemi && in.bDevicesInUse && !in.bTestRunning;
            break;
        case IDC_TG_PAUSE:
            nCaption = IDS_PAUSE;
            nEnabled = -1;   // the run state's (UpdateRunControls)
            break;
        case IDC_TG_SAMPLE:
            nCaption = IDS_SAMPLE;
            nEnabled = -1;
            break;
        case IDC_TG_CLEAR:
            nCaption = IDS_CLEAR;
            nEnabled = in.bAnyTests && !bRun;
            break;
        case IDC_TG_EDIT_ENVIRONMENT:
            nCaption = IDS_EDIT_ENVIRONMENTAL_DATA;
            nEnabled = in.bCurrentTests && !bRun;
            break;
        case IDC_TG_DATA_BOX_INFO:
            nCaption = IDS_DATA_BOX_INFO;
            break;
        case IDC_TG_RING_LIST:
            nEnabled = -1;   // the fan controls' (EnableFanControls)
            break;
        case IDC_TG_DIRECTION_LIST:
            nEnabled = !bRun;
            break;
        case IDC_TG_FAN_READOUT:
            nCaption = IDS_FAN_PRESSURE_PA;
            break;
        case IDC_TG_BUILDING_READOUT:
            nCaption = IDS_BLDG_PRESSURE_PA;
            break;
        case IDC_TG_BASELINE_LABEL:
            nCaption = IDS_BLDG_BASELINE_PA;
            break;
        case IDC_TG_COMPLETED_LABEL:
            nCaption = IDS_COMPLETED_TESTS;
            break;
        case IDC_TG_SAMPLES_LABEL:
            nCaption = IDS_NUMBER_OF_SAMPLES;
            break;
        case IDC_TG_STATUS_LABEL:
            nCaption = IDS_TG_STATUS_LABEL;
            break;
        default:
            break;
        }
        add(nID, nCaption, bLive, nEnabled);
    }
    add(IDC_TG_SECONDS_LABEL, IDS_SECONDS, bLive && bAstm, 1);
    add(IDC_TG_ELAPSED, 0, bLive && bAstm, 1);
    add(IDC_TG_DATA_TABLE, IDS_DATA_TABLE, !bLive, 1);
    add(IDC_TG_FAN_SLIDER, 0, bLive && !bSemi, !bSemi);
    add(IDC_TG_FAN_SPEED_LABEL, IDS_FAN_SPEED_LABEL, bLive && !bSemi, !bSemi);
    add(IDC_TG_FAN_SPEED, 0, bLive && in.bFanValueShown, !bSemi);
    add(IDC_TG_NEXT, IDS_NEXT, true, in.bAnyTests && !bRun);
    add(IDC_TG_TO_RESULTS_LABEL, IDS_TO_TEST_RESULTS, true, in.bAnyTests && !bRun);
    add(IDC_TG_PREVIOUS, IDS_PREVIOUS, true, !bRun);
    add(IDC_TG_HELP, IDS_MSG_HELP, true, 1);
    add(IDC_TG_TO_SETTINGS_LABEL, 0, true, 1);
    add(IDC_TG_FAN_TYPE, 0, true, 1);
    add(IDC_TG_HIDDEN_LABEL, 0, false, 1);
    add(IDC_TG_NO_ACTION, 0, false, 1);

    if (in.nStandard == kEn13829) {
        plan.strDataEntryCaption = LoadText(IDS_TO_EN_DATA_ENTRY);
    } else if (in.nStandard == kIso9972) {
        plan.strDataEntryCaption = LoadText(IDS_TO_EN_DATA_ENTRY);
        plan.strDataEntryCaption.Replace(L"EN", L"ISO");
    } else {
        plan.strDataEntryCaption = LoadText(IDS_STD_TO_TEST_SETTINGS);
    }
    return plan;
}

CTestGraph1::CControlInput CTestGraph1::GatherControlInput() const
{
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    CControlInput in;
    in.chMethod = GetCurrentMethod();
    in.nStandard = pSettings != nullptr ? pSettings->m_nStandard : 0;
    in.bAnyTests = m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0;
    in.bCurrentTests = m_CompletedTests[CurrentSlot()] > 0;
    in.bDevicesInUse = m_DevicesInUse > 0;
    const bool bBusy = IsRunBusy() != 0;
    in.bTestRunning = bBusy && m_CruiseMode == 0;
    in.nCruiseMode = bBusy ? m_CruiseMode : 0;
    in.bFanValueShown = m_bFanValueShown;
    return in;
}

int CTestGraph1::IsRunBusy() const
{
    return m_bTestRunning || m_bTestStarting || m_bBaselineRunning ? 1 : 0;
}

void CTestGraph1::UpdateControlTexts()
{
    if (m_pView != nullptr && m_pView->m_bPdfRunning)
        return;
    const CControlInput in = GatherControlInput();
    const CControlPlan plan = PlanControls(in);
    const bool bLiveMethod = in.chMethod == L'A' || in.chMethod == L'S';
    for (int i = 0; i < plan.nCount; ++i) {
        const CControlState& s = plan.control[i];
        if (s.nCaptionId != 0)
            SetControlText(s.nID, s.nCaptionId);
        ShowControl(s.nID, s.bShown ? SW_SHOW : SW_HIDE);
        if (s.bEnabled >= 0)
            EnableControl(s.nID, s.bEnabled);
    }
    // The screen keeps the captions the Start and Cruise buttons show.
    if (const CControlState* pStart = plan.Find(IDC_TG_START))
        m_strStartCaption = LoadText(pStart->nCaptionId);
    if (const CControlState* pCruise = plan.Find(IDC_TG_CRUISE))
        m_strCruiseCaption = LoadText(pCruise->nCaptionId);
    // Zone readouts appear only through the zone labels; zones switched off
    // (or the manual method) leave none standing over the graph.
    if (!AreZonesShown() || !bLiveMethod) {
        for (int nID = IDC_TG_ZONE_READOUT_FIRST; nID < IDC_TG_ZONE_READOUT_FIRST + kZoneChannels; ++nID)
            ShowControl(nID, SW_HIDE);
    }
    UpdateZoneLabels();
    if (m_bShown && GetSafeHwnd() != nullptr) {
        const CTestSettingsDialog* pSettings =
            m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
        const int nStandard = pSettings != nullptr ? pSettings->m_nStandard : 0;
        CString strN50;
        strN50.Format(L"n50 (%s)",
                      LoadText(nStandard == kEn13829 || nStandard == kIso9972 ? IDS_UNIT_PER_HOUR : IDS_ACH50)
                          .GetString());
        SetDlgItemText(IDC_TG_N50_LABEL, strN50.GetString());
        SetDlgItemText(IDC_TG_TO_SETTINGS_LABEL, plan.strDataEntryCaption.GetString());
        if (m_pView != nullptr)
            m_pView->LayoutPageIfPending(this, 1.0);
    }
}

BOOL CTestGraph1::OnInitDialog()
{
    const int d = CurrentSlot();
    FillRingCombo();
    FillDirectionCombo();
    m_strCompletedTests.Format(L"%d", m_CompletedTests[0] + m_CompletedTests[1]);
    CDialog::OnInitDialog();
    SetDefID(IDC_TG_NO_ACTION);
    if (m_strStartCaption.IsEmpty())
        m_strStartCaption = LoadText(IDS_START_TEST_CAPTION);
    if (m_strCruiseCaption.IsEmpty())
        m_strCruiseCaption = LoadText(IDS_WORD_CRUISE);
    UpdateControlTexts();

    const wchar_t chMethod = GetCurrentMethod();
    // The fan keys step the slider themselves.
    if (chMethod != L'S') {
        SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_SETPAGESIZE, 0, 0);
        SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_SETLINESIZE, 0, 0);
    }
    const UINT nTitle = chMethod == L'S' ? IDS_TEST_GRAPH_SEMI_AUTO
                                         : (chMethod == L'M' ? IDS_TEST_GRAPH_MANUAL : IDS_TEST_GRAPH_AUTO);
    CString strCaption;
    GetWindowText(strCaption);
    // The template's own caption stays in front; a second opening must not
    // add the title again.
    const int nBlank = strCaption.Find(L' ');
    if (nBlank >= 0)
        strCaption = strCaption.Left(nBlank);
    SetWindowText((strCaption + L" " + LoadText(nTitle)).GetString());

    m_strFlowCaption = GetFlowLabel();
    UpdateFanLabels();
    m_strFanSpeed.Format(L"%d", static_cast<int>(m_FanSpeed / 100.0));
    UpdateData(FALSE);
    if (m_pView != nullptr)
        m_pView->LayoutPageIfPending(this, 1.0);

    if (m_bShown && m_bRestored) {
        UpdateRunControls();
        SetDlgItemText(IDC_TG_START, m_strStartCaption.GetString());
        SetDlgItemText(IDC_TG_CRUISE, m_strCruiseCaption.GetString());
        UpdateSpeedSliderRange(m_FanSpeed);
        m_bLiveMarkerErased = 1;
    }

    m_bGraphDrawn = 0;
    RecalculateGraph(d);
    if (AreZoneBaselinesSet())
        StartRezeroWatch();
    else
        m_bRezeroRequested = 1;
    UpdateZoneReadouts();
    g_bLiveReadings = 1;
    m_InsufficientChannels = 0;
    m_bTestStarting = 0;
    m_strElapsedSeconds.Empty();
    SetDlgItemText(IDC_TG_ELAPSED, L"");
    // The next tick checks the gauges' channels.
    if (m_pView != nullptr)
        m_pView->m_nTickCount = 240;
    return TRUE;
}

// Start Test and Cruise.

int CTestGraph1::ConfirmStart()
{
    CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr || m_pView == nullptr)
        return 0;
    const int d = CurrentSlot();
    const bool bZonesChecked = pSettings->m_bZonalActive && !m_pView->m_bAutoSelect;
    if (m_CompletedTests[d] == 0 && bZonesChecked && !AreZoneChannelsAvailable()) {
        const int nAnswer = m_pView->ShowMessage(IDS_DEACTIVATE_ZONAL_TESTING, CString(), kExclamationIcon,
                                                 kKindYesNo, 30);
        RestartFluctuationWatch();
        if (nAnswer != IDYES)
            return 0;
        pSettings->m_bZonalActive = 0;
    }
    if (m_CompletedTests[d] > 0) {
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        if (pSettings->m_bZonalActive && !m_pView->m_bAutoSelect && !AreZoneChannelsAvailable()) {
            const int nAnswer = m_pView->ShowMessage(IDS_NOT_ENOUGH_ZONE_CHANNELS, CString(), kExclamationIcon,
                                                     kKindYesNo, 18);
            RestartFluctuationWatch();
            if (nAnswer != IDYES)
                return 0;
            ResetTestData();
            pSettings->m_bZonalActive = 0;
            if (m_bShown && GetSafeHwnd() != nullptr) {
                UpdateData(FALSE);
                if (m_bLargeMeters)
                    Invalidate(FALSE);
            }
            m_bCurveValid = 0;
            RedrawGraph();
        } else {
            const int nAnswer = m_pView->ShowMessage(IDS_DATA_COMBINED_ON_GRAPH, CString(), kExclamationIcon,
                                                     kKindProceedCancelTest, 129);
            RestartFluctuationWatch();
            if (nAnswer != IDYES)
                return 0;
        }
    }
    return 1;
}

double CTestGraph1::GetLargestTarget(int d) const
{
    double dMax = 0.0;
    for (int i = 0; i < kMaxTargets && m_Targets[d][i] > 0.001; ++i)
        dMax = std::max(dMax, m_Targets[d][i]);
    return dMax;
}

void CTestGraph1::OnStartTest()
{
    g_bLiveReadings = 0;
    const bool bCruise = m_CruiseMode != 0;
    if (m_bTestRunning && !bCruise) {
        m_bUserStop = 1;
        m_bStopPending = 1;
        g_bLiveReadings = 1;
        return;
    }
    // Every refusal leaves no cruise behind: the next Start Test must run a test.
    auto refuse = [this] {
        m_CruiseMode = 0;
        g_bLiveReadings = 1;
    };
    // A start already under way (its baseline pumps messages) takes no second one.
    if (m_bTestStarting || m_bBaselineRunning || m_bTestRunning) {
        g_bLiveReadings = 1;
        return;
    }
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr || m_pView == nullptr) {
        refuse();
        return;
    }
    const int d = CurrentSlot();
    if (!bCruise) {
        const double dLargest = GetLargestTarget(d);
        if (dLargest > pSettings->m_dHighPressureLimit) {
            CString strText;
            strText.Format(LoadText(IDS_TARGET_ABOVE_LIMIT).GetString(), dLargest, pSettings->m_dHighPressureLimit);
            m_pView->ShowMessage(IDS_TARGET_ABOVE_LIMIT, strText, kExclamationIcon, kKindOk, kNoHelp);
            RestartFluctuationWatch();
            refuse();
            return;
        }
        if (!CheckDevicesBeforeStart()) {
            refuse();
            return;
        }
    }
    if (m_bShown && GetSafeHwnd() != nullptr)
        UpdateData(TRUE);
    if (!bCruise && !ConfirmStart()) {
        refuse();
        return;
    }
    if (!bCruise) {
        m_strStartCaption = LoadText(IDS_STOP_TEST_CAPTION);
        SetItemText(m_strStartCaption, IDC_TG_START);
        EnableControl(IDC_TG_CRUISE, 0);
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    } else {
        m_strCruiseCaption = LoadText(IDS_STOP_CRUISE);
        SetItemText(m_strCruiseCaption, IDC_TG_CRUISE);
        EnableControl(IDC_TG_START, 0);
    }
    // "to Test Results" goes grey with the Next button it stands under.
    for (int nID : {IDC_TG_EDIT_ENVIRONMENT, IDC_TG_CLEAR, IDC_TG_NEXT, IDC_TG_TO_RESULTS_LABEL, IDC_TG_PREVIOUS,
                    IDC_TG_DIRECTION_LIST})
        EnableControl(nID, 0);
    if (StartTest()) {
        m_bTestRunning = 1;
    } else {
        m_CruiseMode = 0;
        ResetRunControls();
    }
    if (m_bShown && GetSafeHwnd() != nullptr && GetCurrentMethod() != L'S') {
        if (CWnd* pSlider = GetDlgItem(IDC_TG_FAN_SLIDER))
            pSlider->SetFocus();
    }
    g_bLiveReadings = 1;
    m_nIdleCount = 0;
}

int CTestGraph1::AskCruiseConditions()
{
    CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr || m_pView == nullptr)
        return 0;
    CCruiseDialog dialog(this);
    dialog.m_pView = m_pView;
    for (;;) {
        dialog.m_nBaseline = m_pView->m_nCruiseBaseline;
        dialog.m_strCruisePressure = m_pView->m_strCruisePressure;
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        if (dialog.DoModal() != IDOK)
            return 0;
        m_dCruisePressure = dialog.m_dCruisePressure;
        // The dialog's choices are the next cruise's defaults, a re-entry included.
        m_pView->m_nCruiseBaseline = dialog.m_nBaseline;
        m_pView->m_strCruisePressure = dialog.m_strCruisePressure;
        if (std::fabs(m_dCruisePressure) <= pSettings->m_dHighPressureLimit)
            break;
        const int nAnswer =
            m_pView->ShowMessage(IDS_CRUISE_ABOVE_LIMIT, CString(), kWarningIcon, kKindReenterProceed, 130);
        RestartFluctuationWatch();
        if (nAnswer != IDRETRY)
            break;
    }
    m_CruiseMode = dialog.m_nBaseline == 1 ? 2 : 1;
    return 1;
}

void CTestGraph1::OnCruise()
{
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    if (m_CruiseMode != 0 && m_bTestRunning) {
        m_bStopPending = 1;
        m_bUserStop = 1;
        return;
    }
    if (IsRunBusy())
        return;
    g_bLiveReadings = 0;
    if (!CheckDevicesBeforeStart()) {
        g_bLiveReadings = 1;
        return;
    }
    if (!AskCruiseConditions()) {
        m_CruiseMode = 0;
        g_bLiveReadings = 1;
        return;
    }
    const int d = CurrentSlot();
    if (m_dCruisePressure > m_AxisPmin[d]) {
        RecalculateGraph(d);
        m_bLiveMarkerErased = 1;
        RedrawGraph();
    }
    OnStartTest();
}

void CTestGraph1::OnPause()
{
    m_bPauseRequest = 1;
}

void CTestGraph1::OnSample()
{
    m_bSampleRequest = 1;
}

void CTestGraph1::OnClear()
{
    g_bLiveReadings = 0;
    const int nAnswer =
        m_pView != nullptr
            ? m_pView->ShowMessage(IDS_CLEAR_CURRENT_TEST_DATA, CString(), kExclamationIcon, kKindYesNo, 105)
            : IDNO;
    RestartFluctuationWatch();
    if (nAnswer == IDYES) {
        ResetTestData();
        const int d = CurrentSlot();
        if (m_bShown && GetSafeHwnd() != nullptr) {
            m_strSampleCount.Empty();
            UpdateData(FALSE);
            if (m_bLargeMeters)
                Invalidate(FALSE);
            UpdateControlTexts();
        }
        CFanCalibrationDialog* pCal =
            m_pFanCalibration != nullptr ? m_pFanCalibration
                                         : (m_pView != nullptr ? m_pView->m_pFanCalibration : nullptr);
        if (pCal != nullptr) {
            const wchar_t chFan = GetFanCode();
            pCal->GetNominalFlowRange(chFan, m_CurrentRing[d], m_AxisQmin[d], m_AxisQmax[d]);
            pCal->LoadFanRingCalibration(chFan, m_CurrentRing[d]);
        }
        RecalculateGraph(d);
        m_bCurveValid = 0;
        RedrawGraph();
    }
    g_bLiveReadings = 1;
}

// Leaving the screen.

void CTestGraph1::LeaveScreen(int nAction)
{
    g_bLiveReadings = 0;
    if (m_bShown && GetSafeHwnd() != nullptr)
        UpdateData(TRUE);
    if (GetCurrentMethod() != L'S')
        SetFanSpeed(0.0);
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, nAction);
}

void CTestGraph1::OnNext()
{
    LeaveScreen(CSimbrel1View::kPageNext);
}

void CTestGraph1::OnPrevious()
{
    LeaveScreen(CSimbrel1View::kPagePrevious);
}

// Enter and Esc reach OK and Cancel through the dialog manager, the run's
// own message pump included: during a run the screen stays, and Esc acts as
// it does in the fan adjustment.
void CTestGraph1::OnOK()
{
    if (IsRunBusy())
        return;
    LeaveScreen(CSimbrel1View::kPageOK);
    g_bLiveReadings = 1;
}

void CTestGraph1::OnCancel()
{
    if (IsRunBusy()) {
        if (m_bPauseEnabled) {
            m_bPauseRequest = 1;
        } else {
            m_bStopPending = 1;
            m_bUserStop = 1;
        }
        return;
    }
    LeaveScreen(CSimbrel1View::kPageCancel);
    g_bLiveReadings = 1;
}

void CTestGraph1::OnHelp()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(GetCurrentMethod() == L'M' ? 12 : 6);
}

void CTestGraph1::OnDataTable()
{
    if (m_pView == nullptr || m_pManualEntry == nullptr)
        return;
    const CTestSettingsDialog* pSettings = m_pSettings != nullptr ? m_pSettings : m_pView->m_pSettings;
    if (pSettings != nullptr && pSettings->m_nStandard == kAstmE779 && !CheckBuildingHeight())
        return;
    const int d = CurrentSlot();
    m_pManualEntry->m_pFanCalibration =
        m_pFanCalibration != nullptr ? m_pFanCalibration : m_pView->m_pFanCalibration;
    m_pManualEntry->m_chFanCode = GetFanCode();
    m_pManualEntry->m_chDirection = d == 0 ? L'P' : L'D';
    for (int s = 0; s < 2; ++s) {
        if (m_StationCount[s] > 2)
            m_pManualEntry->m_nRowCount[s] = m_StationCount[s] - 2;
    }
    m_pManualEntry->DoModal();
    const int bLargeMeters = m_bLargeMeters;
    m_bLargeMeters = 0;
    RecalculateGraph(d);
    m_bCurveValid = m_CompletedTests[d] > 0 ? 1 : 0;
    RedrawGraph();
    UpdateControlTexts();
    m_bLargeMeters = bLargeMeters;
    if (m_pView->m_pDeviations != nullptr)
        m_pView->m_pDeviations->RecheckAllTests(0);
    if (m_CompletedTests[d] > 0)
        m_pView->m_strFileVersionTag = m_pView->GetProgramVersionTag();
}

void CTestGraph1::OnDataBoxInfo()
{
    if (m_pView == nullptr)
        return;
    g_bLiveReadings = 0;
    m_pView->m_bDeviceDialogOpen = 1;
    if (m_pView->m_bOffLine) {
        m_pView->ShowContextHelp(31);
    } else if (m_DevicesInUse > 0) {
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        CDeviceDataDialog dialog(this);
        dialog.DoModal();
    } else {
        m_pView->ShowContextHelp(104);
    }
    m_pView->m_bDeviceDialogOpen = 0;
    g_bLiveReadings = 1;
}

void CTestGraph1::OnEditEnvData()
{
    if (IsRunBusy())
        return;
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (CheckEnvironmentData(1, 0, CurrentSlot(), 0) == 1 && pSettings != nullptr &&
        pSettings->m_nStandard == kAstmE779)
        CheckStackEffectAll();
    RedrawGraph();
    RefreshChannelLabels();
}

// Lists and slider.

void CTestGraph1::OnRingDropDown()
{
    m_bRingListDropped = 1;
}

void CTestGraph1::OnRingCloseUp()
{
    const bool bWindow = m_bShown && GetSafeHwnd() != nullptr;
    if (bWindow)
        UpdateData(TRUE);
    const int d = CurrentSlot();
    if (m_nRingIndex != m_CurrentRing[d] && m_nRingIndex >= 0) {
        m_CurrentRing[d] = m_nRingIndex;
        UpdateRingCalibration(d);
        if (m_bTestRunning) {
            // The run prompts for the change itself.
            m_nOperatorRingRequest = m_nRingIndex;
        } else {
            RecalculateGraph(d);
            m_bLiveMarkerErased = 1;
            RedrawGraph();
        }
    }
    RecalculateGraph(d);
    RedrawGraph();
    m_bRingListDropped = 0;
    if (bWindow && GetCurrentMethod() != L'S') {
        if (CWnd* pSlider = GetDlgItem(IDC_TG_FAN_SLIDER))
            pSlider->SetFocus();
    }
}

void CTestGraph1::OnDirectionChange()
{
    if (IsRunBusy())
        return;
    const int nIndex = static_cast<int>(SendDlgItemMessage(IDC_TG_DIRECTION_LIST, CB_GETCURSEL));
    if (nIndex != 0 && nIndex != 1)
        return;
    CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings != nullptr)
        pSettings->SetTestDirection(nIndex == 0 ? L'P' : L'D');
    EnableControl(IDC_TG_EDIT_ENVIRONMENT, m_CompletedTests[nIndex] > 0 ? 1 : 0);
}

LRESULT CTestGraph1::OnHScrollMessage(WPARAM wParam, LPARAM)
{
    OnHScroll(LOWORD(wParam));
    return 0;
}

void CTestGraph1::OnHScroll(UINT nSBCode)
{
    if ((m_pView != nullptr && m_pView->m_bInTick) || m_bAdjustingFan)
        return;
    if (nSBCode == SB_LINELEFT || nSBCode == SB_LINERIGHT)
        return;
    CQarCommunications* pLink = Link(0);
    if (pLink == nullptr || !pLink->m_bIdentified || !m_bShown || GetSafeHwnd() == nullptr)
        return;
    if (m_bSamplingDisplay || GetCurrentMethod() == L'S')
        return;
    const double dPosition = std::clamp(static_cast<double>(SendDlgItemMessage(IDC_TG_FAN_SLIDER, TBM_GETPOS)),
                                        0.0, GetFanMaximum());
    m_FanSpeed = dPosition;
    m_dManualSpeed = dPosition;
    m_strFanSpeed.Format(L"%d", static_cast<int>(dPosition));
    SetDlgItemText(IDC_TG_FAN_SPEED, m_strFanSpeed.GetString());
    SendFanCommand(dPosition);
    m_dPreviousSpeed = m_FanSpeed;
}

// Data point selection.

std::vector<CTestGraph1::CPointHit> CTestGraph1::FindPointsAt(CPoint point) const
{
    std::vector<CPointHit> hits;
    for (int d = 0; d < 2; ++d) {
        const int nTests = UsedTests(d);
        if (nTests <= 0)
            continue;
        const int nEntries = UsedEntries(d);
        int t = 0;
        for (int k = 0; k < nEntries; ++k) {
            if (m_Ring[d][k] != -1 && m_TestRowCount[d][t] > 3 && ::PtInRect(&m_rcMarker[d][k], point)) {
                if (hits.size() >= 4)
                    break;
                hits.push_back({d, t, k});
            }
            if (t + 1 < nTests && k + 1 == m_TestFirstRow[d][t + 1])
                ++t;
        }
    }
    return hits;
}

void CTestGraph1::FillSelectedPointRow(CDataPointSelected& dialog, int nRow, const CString& strLabel, int d, int t,
                                       int i) const
{
    if (nRow < 0 || nRow >= CDataPointSelected::kMaxRows || d < 0 || d > 1 || t < 0 || t >= kMaxTests || i < 0 ||
        i >= kMaxEntries)
        return;
    dialog.m_strLabel[nRow] = strLabel;
    dialog.m_nDirection[nRow] = d;
    const double dBaseline = (m_TestPreBaseline[d][t] + m_TestPostBaseline[d][t]) / 2.0;
    dialog.m_strPressure[nRow].Format(L"%0.1f", m_Pavg[d][i] - dBaseline);
    dialog.m_strFlow[nRow].Format(L"%0.1f", m_FlowFactor[d][t] * m_Qavg[d][i]);
    dialog.m_strRing[nRow] = GetRingLabel(m_Ring[d][i], GetFanCode());
}

void CTestGraph1::DeleteSelectedPoint(const CPointHit& hit)
{
    const int d = hit.d;
    if (HasRoomForDeletedPoint(d)) {
        const int n = m_LastDeletedIndex[d] + 1;
        CString strTest;
        strTest.Format(L"-%d", hit.t + 1);
        m_DeletedPoints[d][n] = FormatDataPointLine(d, hit.k) + strTest;
        m_LastDeletedIndex[d] = n;
    }
    DeleteDataPoint(d, hit.k);
    if (m_pView != nullptr && m_pView->m_pDeviations != nullptr)
        m_pView->m_pDeviations->RecheckAllTests(0);
}

void CTestGraph1::OnLButtonDown(UINT, CPoint point)
{
    // A click queued during a run reaches here only when the run has
    // returned; while it goes on, the data under the click are the run's.
    if (IsRunBusy() || m_bTestStepping)
        return;
    const std::vector<CPointHit> hits = FindPointsAt(point);
    if (hits.empty())
        return;
    const wchar_t chMethod = GetCurrentMethod();
    CDataPointSelected dialog(this);
    dialog.m_pView = m_pView;
    dialog.m_nRows = static_cast<int>(hits.size());
    for (size_t r = 0; r < hits.size(); ++r) {
        const CPointHit& hit = hits[r];
        DrawSelectedMarker(1, m_rcMarker[hit.d][hit.k]);
        CString strLabel = CSimbrel1View::GetTestLabel(hit.d, hit.t);
        if (chMethod == L'A' || chMethod == L'S') {
            CString strTarget;
            strTarget.Format(L"    %s: %0.1f %s", LoadText(IDS_TARGET_PRESSURE).GetString(), m_TargetP[hit.d][hit.k],
                             LoadText(IDS_UNIT_PA).GetString());
            strLabel += strTarget;
        }
        FillSelectedPointRow(dialog, static_cast<int>(r), strLabel, hit.d, hit.t, hit.k);
    }
    POINT ptScreen = point;
    if (GetSafeHwnd() != nullptr)
        ::ClientToScreen(m_hWnd, &ptScreen);
    dialog.m_x = ptScreen.x + 20;
    dialog.m_y = ptScreen.y + 20;
    g_bLiveReadings = 0;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK && dialog.m_bDelete && m_pView != nullptr) {
        const int nAnswer = m_pView->ShowSizableMessage(IDS_ARE_YOU_SURE, CString(), dialog.m_x, dialog.m_y, 0, 0,
                                                        kWarningIcon, kKindYesNo, kNoHelp);
        const int r = std::clamp(dialog.m_nSelectedRow, 0, dialog.m_nRows - 1);
        if (nAnswer == IDYES)
            DeleteSelectedPoint(hits[static_cast<size_t>(r)]);
    }
    g_bLiveReadings = 1;
    RedrawGraph();
}
