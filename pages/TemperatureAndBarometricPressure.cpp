#include "pages/TemperatureAndBarometricPressure.h"

#include "app/Lifecycle.h"

CTemperatureAndBarometricPressure::CTemperatureAndBarometricPressure() : CDialog(IDD)
{
    TraceLifecycle("CTemperatureAndBarometricPressure", true);
    ClearDirection(0);
    ClearDirection(1);
}

CTemperatureAndBarometricPressure::~CTemperatureAndBarometricPressure()
{
    TraceLifecycle("CTemperatureAndBarometricPressure", false);
}

void CTemperatureAndBarometricPressure::ClearDirection(int nSlot)
{
    if (nSlot < 0 || nSlot > 1)
        return;
    for (int t = 0; t < kMaxTests; ++t) {
        m_strTestIndoorTemp[nSlot][t].Empty();
        m_strTestOutdoorTemp[nSlot][t].Empty();
        m_strTestAltitude[nSlot][t].Empty();
    }
}

CString CTemperatureAndBarometricPressure::WriteToFile(int /*nSlot*/, int /*nTestIndex*/)
{
    return CString();
}

void CTemperatureAndBarometricPressure::ReadFromFile() {}
