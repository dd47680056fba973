#include "pages/TemperatureEntryDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "pages/TemperatureKeys.h"
#include "testrun/TestGraph1.h"

using namespace EnvironmentKeys;

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

void CTemperatureEntryDialog::ClearTestValues(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strTestIndoorTemp[nSlot][nTestIndex].Empty();
    m_strTestOutdoorTemp[nSlot][nTestIndex].Empty();
}

void CTemperatureEntryDialog::ClearDirection(int nSlot)
{
    m_strIndoorTemp.Empty();
    m_strOutdoorTemp.Empty();
    for (int t = 0; t < kMaxTests; ++t)
        ClearTestValues(nSlot, t);
}

CString CTemperatureEntryDialog::WriteToFile(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex) || m_strTestIndoorTemp[nSlot][nTestIndex].IsEmpty())
        return CString();
    return MakeLine(kPretestIndoor, nSlot, nTestIndex, m_strTestIndoorTemp[nSlot][nTestIndex]) +
           MakeLine(kPretestOutdoor, nSlot, nTestIndex, m_strTestOutdoorTemp[nSlot][nTestIndex]);
}

void CTemperatureEntryDialog::ReadFromFile()
{
    if (m_pView == nullptr || m_pView->m_pTestGraph == nullptr)
        return;
    CTestGraph1& store = *m_pView->m_pTestGraph;
    // The text of a test without a key shows the store's value; a typed text
    // gives the store its number.
    auto take = [](CString& strText, double& dStored) {
        if (strText.IsEmpty())
            strText.Format(L"%0.1f", dStored);
        else
            dStored = CSimbrel1View::TextToDouble(strText);
    };
    for (int d = 0; d < 2; ++d) {
        const int nTests = ReadableTests(*m_pView, d);
        for (int t = 0; t < nTests; ++t) {
            m_strTestIndoorTemp[d][t] = ReadValue(*m_pView, kPretestIndoor, d, t, 1);
            m_strTestOutdoorTemp[d][t] = ReadValue(*m_pView, kPretestOutdoor, d, t, 1);
            take(m_strTestIndoorTemp[d][t], store.m_TestTin[0][d][t]);
            take(m_strTestOutdoorTemp[d][t], store.m_TestTout[0][d][t]);
        }
    }
    const int d = CurrentSlot();
    m_strIndoorTemp = m_strTestIndoorTemp[d][0];
    m_strOutdoorTemp = m_strTestOutdoorTemp[d][0];
}

int CTemperatureEntryDialog::HasRequiredValues() const
{
    return !m_strIndoorTemp.IsEmpty() && !m_strOutdoorTemp.IsEmpty() ? 1 : 0;
}

int CTemperatureEntryDialog::HasTestValues(int nSlot) const
{
    if (nSlot < 0 || nSlot > 1)
        return 0;
    return !m_strTestIndoorTemp[nSlot][0].IsEmpty() && !m_strTestOutdoorTemp[nSlot][0].IsEmpty() ? 1 : 0;
}
