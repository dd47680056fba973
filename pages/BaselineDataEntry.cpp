#include "pages/BaselineDataEntry.h"

#include "app/Lifecycle.h"

CBaselineDataEntry::CBaselineDataEntry() : CDialog(IDD)
{
    TraceLifecycle("CBaselineDataEntry", true);
    ClearData(0);
    ClearData(1);
}

CBaselineDataEntry::~CBaselineDataEntry()
{
    TraceLifecycle("CBaselineDataEntry", false);
}

void CBaselineDataEntry::ClearData(int nSlot)
{
    if (nSlot < 0 || nSlot > 1)
        return;
    for (CString* pTexts : {m_strPretestAvg, m_strPretestPlus, m_strPretestMinus, m_strPosttestAvg,
                            m_strPosttestPlus, m_strPosttestMinus, m_strPretestReadings, m_strPosttestReadings})
        pTexts[nSlot].Empty();
}

CString CBaselineDataEntry::WriteToFile(int /*nSlot*/)
{
    return CString();
}

void CBaselineDataEntry::ReadFromFile() {}
