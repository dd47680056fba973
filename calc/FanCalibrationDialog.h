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

    CSimbrel1View* m_pView = nullptr;
};
