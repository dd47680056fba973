#include "pages/TemperatureAndAltitudeEntry.h"

#include "app/Lifecycle.h"

CTemperatureAndAltitudeEntry::CTemperatureAndAltitudeEntry() : CDialog(IDD)
{
    TraceLifecycle("CTemperatureAndAltitudeEntry", true);
    ClearDirection(0);
    ClearDirection(1);
}

CTemperatureAndAltitudeEntry::~CTemperatureAndAltitudeEntry()
{
    TraceLifecycle("CTemperatureAndAltitudeEntry", false);
}

void CTemperatureAndAltitudeEntry::ClearDirection(int nSlot)
{
    if (nSlot < 0 || nSlot > 1)
        return;
    for (int t = 0; t < kMaxTests; ++t) {
        for (CString* pTexts : {m_strTestPretestIndoorTemp[nSlot], m_strTestPretestOutdoorTemp[nSlot],
                                m_strTestPosttestIndoorTemp[nSlot], m_strTestPosttestOutdoorTemp[nSlot],
                                m_strTestAltitude[nSlot]})
            pTexts[t].Empty();
    }
}

CString CTemperatureAndAltitudeEntry::WriteToFile(int /*nSlot*/, int /*nTestIndex*/)
{
    return CString();
}

void CTemperatureAndAltitudeEntry::ReadFromFile() {}
