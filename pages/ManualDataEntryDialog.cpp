#include "pages/ManualDataEntryDialog.h"

#include "app/Lifecycle.h"

CManualDataEntryDialog::CManualDataEntryDialog() : CDialog(IDD)
{
    TraceLifecycle("CManualDataEntryDialog", true);
    ClearData(0);
    ClearData(1);
}

CManualDataEntryDialog::~CManualDataEntryDialog()
{
    TraceLifecycle("CManualDataEntryDialog", false);
}

void CManualDataEntryDialog::ClearData(int nSlot)
{
    for (CString* pText : {&m_strPretestAvg, &m_strPretestPlus, &m_strPretestMinus, &m_strPosttestAvg,
                           &m_strPosttestPlus, &m_strPosttestMinus})
        pText->Empty();
    if (nSlot < 0 || nSlot > 1)
        return;
    m_nRowCount[nSlot] = 0;
    for (int r = 0; r < kRows; ++r) {
        m_strBuildingP[nSlot][r].Empty();
        m_strFanP[nSlot][r].Empty();
        m_strFlow[nSlot][r].Empty();
        m_nRing[nSlot][r] = -1;
    }
}

void CManualDataEntryDialog::ScaleFlowTexts(double) {}

CString CManualDataEntryDialog::WriteToFile(int /*nSlot*/)
{
    return CString();
}

void CManualDataEntryDialog::ReadFromFile() {}
