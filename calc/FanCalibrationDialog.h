// CFanCalibrationDialog: the fan calibration table (factory and custom C and
// n of every fan and ring) and its editor dialog.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CFanCalibrationDialog : public CDialog {
public:
    enum { IDD = 163 };

    CFanCalibrationDialog();
    ~CFanCalibrationDialog() override;

    void ResetToFactory();
    void LoadFanRingCalibration(wchar_t chFanCode, int nRing);
    // After a change of flow unit (factor = new unit factor / old one).
    void RescaleCustomC(double dFactor);

    // The selected fan and ring: Q = C * |Pfan|^n.
    double m_dSelN = 0.0;
    double m_dSelC = 0.0;                  // current flow unit
    double m_dSelMinFanPressure = 0.0;     // Pa

    CSimbrel1View* m_pView = nullptr;
};
