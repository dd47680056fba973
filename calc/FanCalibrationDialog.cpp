#include "calc/FanCalibrationDialog.h"

#include "app/Lifecycle.h"

CFanCalibrationDialog::CFanCalibrationDialog() : CDialog(IDD)
{
    TraceLifecycle("CFanCalibrationDialog", true);
}

CFanCalibrationDialog::~CFanCalibrationDialog()
{
    TraceLifecycle("CFanCalibrationDialog", false);
}

void CFanCalibrationDialog::ResetToFactory()
{
}

void CFanCalibrationDialog::LoadFanRingCalibration(wchar_t /*chFanCode*/, int /*nRing*/)
{
}

void CFanCalibrationDialog::RescaleCustomC(double) {}
