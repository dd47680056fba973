#include "pages/TemperatureEntryDialog.h"

#include "app/Lifecycle.h"

CTemperatureEntryDialog::CTemperatureEntryDialog() : CDialog(IDD)
{
    TraceLifecycle("CTemperatureEntryDialog", true);
    ClearDirection(0);
    ClearDirection(1);
}

CTemperatureEntryDialog::~CTemperatureEntryDialog()
{
    TraceLifecycle("CTemperatureEntryDialog", false);
}

void CTemperatureEntryDialog::ClearDirection(int nSlot)
{
    if (nSlot < 0 || nSlot > 1)
        return;
    for (int t = 0; t < kMaxTests; ++t) {
        m_strTestIndoorTemp[nSlot][t].Empty();
        m_strTestOutdoorTemp[nSlot][t].Empty();
    }
}

CString CTemperatureEntryDialog::WriteToFile(int /*nSlot*/, int /*nTestIndex*/)
{
    return CString();
}

void CTemperatureEntryDialog::ReadFromFile() {}
