// The ring and settle decision after each fan adjustment, the controller's
// warnings and the ring change prompt.
#include "testrun/TestGraph1.h"

#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "calc/FanCalibrationDialog.h"
#include "res/resource.h"
#include "testrun/RingDialogs.h"

namespace {

constexpr int kWarningIcon = 176;
constexpr int kKindOk = 0;
constexpr int kFlowTooSmallHelp = 114;

bool IsBlowerDoorFan(wchar_t chFanCode)
{
    return chFanCode == L'3' || chFanCode == L'5' || chFanCode == L'4';
}

}  // namespace

int CTestGraph1::GetLastRing(wchar_t chFanCode)
{
    if (IsBlowerDoorFan(chFanCode))
        return 5;
    return chFanCode == L'B' ? 4 : 3;
}

double CTestGraph1::MinValue(const double* pValues, int n)
{
    if (pValues == nullptr || n <= 0)
        return 0.0;
    return *std::min_element(pValues, pValues + n);
}

double CTestGraph1::MaxValue(const double* pValues, int n)
{
    if (pValues == nullptr || n <= 0)
        return 0.0;
    return *std::max_element(pValues, pValues + n);
}

int CTestGraph1::DecideRing(const CRingInput& in, int& nPreviousRing, int& nOperatorRequest, int& nState)
{
    if (nOperatorRequest != -1) {
        nState = 0;
        nPreviousRing = in.nRing;
        const int nRequested = nOperatorRequest;
        nOperatorRequest = -1;
        return nRequested;
    }
    const double dTarget = in.bDepress ? -in.dTarget : in.dTarget;
    const double lo = MinValue(in.pWindow, in.nWindow);
    const double hi = MaxValue(in.pWindow, in.nWindow);
    // A ring left over beyond this fan's last (after a change of fan) is
    // taken as the last: the fan has nothing smaller to offer.
    const int nLast = GetLastRing(in.chFanCode);
    const int nRing = std::min(in.nRing, nLast);

    const bool bSettled = in.bWindowFull && lo >= dTarget - in.dTolerance && hi <= dTarget + in.dTolerance &&
                          lo < dTarget && dTarget < hi;
    if (bSettled) {
        if (in.dFanPressure >= in.dRingMinimum) {
            nState = 1;
            nPreviousRing = -1;
            return -1;
        }
        if (in.dFanPressure < 2.0) {
            nState = 6;
            return -1;
        }
        if (nRing >= nLast) {
            nState = 3;
            return -1;
        }
        if (nRing + 1 == nPreviousRing) {
            nState = 1;
            nPreviousRing = -1;
            return -1;
        }
        nState = 0;
        nPreviousRing = nRing;
        return nRing + 1;
    }
    nState = 0;
    if (!in.bWindowFull)
        return -1;
    const double dHalf = in.bGaugeFamily ? 8063.5 : 2047.5;
    const double dFull = in.bGaugeFamily ? 16126.0 : 4094.0;
    if (in.dSpeed > dHalf && std::fabs(in.dFanPressure) < 2.0) {
        nState = 9;
    } else if (in.dSpeed > dFull) {
        const bool bNoBuilding = in.bDepress ? in.dP > -2.0 : in.dP < 2.0;
        if (bNoBuilding) {
            nState = std::fabs(in.dFanPressure) >= 10.0 ? 7 : 8;
        } else if (nRing == 0) {
            nState = 2;
        } else if (nPreviousRing == nRing - 1) {
            nState = 2;
            nPreviousRing = -1;
        } else {
            nPreviousRing = nRing;
            return nRing - 1;
        }
    }
    return -1;
}

int CTestGraph1::DecideRing(double dFanPressure, double dP, int bDepress, int nRing, double dTarget, double dTolerance,
                            const double* pWindow, int nWindow, int bWindowFull, int& nState, double& dRingMinimum)
{
    CRingInput in;
    in.dFanPressure = dFanPressure;
    in.dP = dP;
    in.bDepress = bDepress;
    in.nRing = nRing;
    in.dTarget = dTarget;
    in.dTolerance = dTolerance;
    in.pWindow = pWindow;
    in.nWindow = nWindow;
    in.bWindowFull = bWindowFull;
    CFanCalibrationDialog* pCalibration =
        m_pFanCalibration != nullptr ? m_pFanCalibration : (m_pView != nullptr ? m_pView->m_pFanCalibration : nullptr);
    dRingMinimum = pCalibration != nullptr ? pCalibration->m_dSelMinFanPressure : 0.0;
    in.dRingMinimum = dRingMinimum;
    in.dSpeed = m_FanSpeed;
    in.bGaugeFamily = IsGaugeFamilyPrimary();
    in.chFanCode = GetFanCode();
    return DecideRing(in, m_nPreviousRing, m_nOperatorRingRequest, nState);
}

void CTestGraph1::ShowControllerWarning(int nState)
{
    UINT nText = 0;
    int nHelp = 0;
    switch (nState) {
    case 3: nText = IDS_FLOW_TOO_SMALL; nHelp = kFlowTooSmallHelp; break;
    case 6: nText = IDS_NO_FAN_PRESSURE; nHelp = 117; break;
    case 7: nText = IDS_FULL_SPEED_NO_BUILDING; nHelp = 121; break;
    case 8: nText = IDS_NO_FAN_OR_BUILDING; nHelp = 120; break;
    case 9: nText = IDS_NO_FAN_PRESSURE; nHelp = 117; break;
    default: return;
    }
    SetFanSpeed(0.0);
    const CString strText = LoadText(nText) + L"\r\n\r\n" +
                            LoadText(m_CruiseMode != 0 ? IDS_PRESS_OK_TERMINATE_CRUISE : IDS_PRESS_OK_TERMINATE_TEST);
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    if (m_pView != nullptr)
        m_pView->ShowMessage(0, strText, kWarningIcon, kKindOk, nHelp);
    RestartFluctuationWatch();
}

CString CTestGraph1::GetRingPromptText(int nRing, wchar_t chFanCode, int& nHelpTopic)
{
    CString strText;
    if (nRing == 0) {
        strText = LoadText(IDS_REMOVE_ALL_RINGS);
        nHelpTopic = 125;
    } else {
        const wchar_t chLabel = IsBlowerDoorFan(chFanCode) ? static_cast<wchar_t>(L'A' + nRing - 1)
                                                           : static_cast<wchar_t>(L'0' + nRing);
        strText = LoadText(IDS_INSTALL_RING) + L" " + CString(chLabel);
        nHelpTopic = 124;
    }
    return strText + L" " + LoadText(IDS_PRESS_TO_CONTINUE_TEST);
}

int CTestGraph1::RingChangePrompt(int nRing, wchar_t chFanCode)
{
    CChangeRingDialog dialog(this);
    dialog.m_pView = m_pView;
    dialog.m_strFirstButton = GetRingPromptText(nRing, chFanCode, dialog.m_nHelpTopic);
    dialog.m_strSecondButton = LoadText(m_CruiseMode != 0 ? IDS_PRESS_TO_END_CRUISE : IDS_PRESS_TO_END_AT_PREVIOUS);
    SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
    return dialog.DoModal() == 1 ? 1 : 0;
}

int CTestGraph1::CheckFlowMeasurable()
{
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    const wchar_t chFan = GetFanCode();
    const int nRing = m_CurrentRing[d];
    if (nRing >= GetLastRing(chFan)) {
        SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        if (m_pView != nullptr)
            m_pView->ShowMessage(0, LoadText(IDS_FLOW_TOO_SMALL) + L"\r\n\r\n" + LoadText(IDS_PRESS_OK_TERMINATE_TEST),
                                 kWarningIcon, kKindOk, kFlowTooSmallHelp);
        return 0;
    }
    if (!RingChangePrompt(nRing + 1, chFan))
        return 0;
    m_nPreviousRing = nRing;
    m_CurrentRing[d] = nRing + 1;
    return 1;
}
