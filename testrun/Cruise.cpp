// The cruise: the test step's branch that holds the building at the cruise
// pressure with the fan control of a test, without stations or stored
// points.
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "testrun/TestGraph1.h"

namespace {

int SpeedSign(double v)
{
    return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0);
}

}  // namespace

void CTestGraph1::CruiseStep()
{
    CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings == nullptr)
        return;
    const int d = g_nCurrentDirection == 0 ? 0 : 1;

    // 1. A ring chosen in the fan list meanwhile: the fan stops for the change.
    if (m_nOperatorRingRequest >= 0) {
        SetFanSpeed(0.0);
        const int nRing = m_nOperatorRingRequest;
        const int bGoOn = RingChangePrompt(nRing, GetFanCode());
        RestartFluctuationWatch();
        m_nOperatorRingRequest = -1;
        if (!bGoOn) {
            m_bStopPending = 1;
            ResetRunControls();
            return;
        }
        StartFanAtPercent(pSettings->m_dFanStartPercent);
    } else {
        m_nSpeedSignBefore = SpeedSign(m_FanSpeed - m_dPreviousSpeed);
    }

    // 2. The adjustment negates the pressure for a depressurization slot.
    m_dPreviousSpeed = m_FanSpeed;
    AdjustFanStep(m_dFan, m_dBuilding, m_dBaseline, m_dCruisePressure, m_dGain * pSettings->m_dFanAdjust,
                  IsDepressurization(d));
    // 3.
    if (m_bStopPending)
        return;
    // 4. A cruise caps the gain at 20 whatever the device.
    m_nSpeedSignAfter = SpeedSign(m_FanSpeed - m_dPreviousSpeed);
    m_dGain = AdaptGain(m_dGain, m_nSpeedSignBefore, m_nSpeedSignAfter, IsGaugeFamilyPrimary(), 1);
}
