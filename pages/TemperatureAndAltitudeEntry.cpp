#include "pages/TemperatureAndAltitudeEntry.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "calc/QarMathFunctions.h"
#include "pages/TemperatureKeys.h"
#include "testrun/TestGraph1.h"

using namespace EnvironmentKeys;

namespace {
int IsComplete(int nStage, const CString& strPreIndoor, const CString& strPreOutdoor, const CString& strPostIndoor,
               const CString& strPostOutdoor, const CString& strAltitude)
{
    if (strPreIndoor.IsEmpty() || strPreOutdoor.IsEmpty() || strAltitude.IsEmpty())
        return 0;
    const bool bPosttest = nStage == CTemperatureAndAltitudeEntry::kPosttest ||
                           nStage == CTemperatureAndAltitudeEntry::kBothStages;
    if (bPosttest && (strPostIndoor.IsEmpty() || strPostOutdoor.IsEmpty()))
        return 0;
    return 1;
}
}  // namespace

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

void CTemperatureAndAltitudeEntry::ClearTestValues(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    for (CString* pTexts : {m_strTestPretestIndoorTemp[nSlot], m_strTestPretestOutdoorTemp[nSlot],
                            m_strTestPosttestIndoorTemp[nSlot], m_strTestPosttestOutdoorTemp[nSlot],
                            m_strTestAltitude[nSlot]})
        pTexts[nTestIndex].Empty();
}

void CTemperatureAndAltitudeEntry::ClearDirection(int nSlot)
{
    for (CString* pText : {&m_strPretestIndoorTemp, &m_strPretestOutdoorTemp, &m_strPosttestIndoorTemp,
                           &m_strPosttestOutdoorTemp, &m_strAltitude})
        pText->Empty();
    for (int t = 0; t < kMaxTests; ++t)
        ClearTestValues(nSlot, t);
}

CString CTemperatureAndAltitudeEntry::WriteToFile(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex) || m_strTestPretestIndoorTemp[nSlot][nTestIndex].IsEmpty())
        return CString();
    const int d = nSlot;
    const int t = nTestIndex;
    return MakeLine(kPretestIndoor, d, t, m_strTestPretestIndoorTemp[d][t]) +
           MakeLine(kPretestOutdoor, d, t, m_strTestPretestOutdoorTemp[d][t]) +
           MakeLine(kPosttestIndoor, d, t, m_strTestPosttestIndoorTemp[d][t]) +
           MakeLine(kPosttestOutdoor, d, t, m_strTestPosttestOutdoorTemp[d][t]) +
           MakeLine(kAltitude, d, t, m_strTestAltitude[d][t]);
}

void CTemperatureAndAltitudeEntry::ReadFromFile()
{
    if (m_pView == nullptr || m_pView->m_pTestGraph == nullptr || m_pView->m_pMath == nullptr)
        return;
    CTestGraph1& store = *m_pView->m_pTestGraph;
    constexpr int kPre = 0;
    constexpr int kPost = 1;
    auto number = [](const CString& strText) { return CSimbrel1View::TextToDouble(strText); };
    for (int d = 0; d < 2; ++d) {
        const int nTests = ReadableTests(*m_pView, d);
        for (int t = 0; t < nTests; ++t) {
            // No old keys: these files were always prefixed.
            m_strTestPretestIndoorTemp[d][t] = ReadValue(*m_pView, kPretestIndoor, d, t, 0);
            m_strTestPretestOutdoorTemp[d][t] = ReadValue(*m_pView, kPretestOutdoor, d, t, 0);
            m_strTestPosttestIndoorTemp[d][t] = ReadValue(*m_pView, kPosttestIndoor, d, t, 0);
            m_strTestPosttestOutdoorTemp[d][t] = ReadValue(*m_pView, kPosttestOutdoor, d, t, 0);
            m_strTestAltitude[d][t] = ReadValue(*m_pView, kAltitude, d, t, 0);

            store.m_TestTin[kPre][d][t] = number(m_strTestPretestIndoorTemp[d][t]);
            store.m_TestTout[kPre][d][t] = number(m_strTestPretestOutdoorTemp[d][t]);
            store.m_TestTin[kPost][d][t] = number(m_strTestPosttestIndoorTemp[d][t]);
            store.m_TestTout[kPost][d][t] = number(m_strTestPosttestOutdoorTemp[d][t]);
            store.m_TestAltitude[d][t] = number(m_strTestAltitude[d][t]);
            const double dPressure =
                m_pView->m_pMath->BarometricPressureFromAltitude(m_pView->m_nBuildingUnit, store.m_TestAltitude[d][t]);
            store.m_TestPbaro[kPre][d][t] = dPressure;
            store.m_TestPbaro[kPost][d][t] = dPressure;
        }
    }
    const int d = CurrentSlot();
    m_strPretestIndoorTemp = m_strTestPretestIndoorTemp[d][0];
    m_strPretestOutdoorTemp = m_strTestPretestOutdoorTemp[d][0];
    m_strPosttestIndoorTemp = m_strTestPosttestIndoorTemp[d][0];
    m_strPosttestOutdoorTemp = m_strTestPosttestOutdoorTemp[d][0];
    m_strAltitude = m_strTestAltitude[d][0];
}

int CTemperatureAndAltitudeEntry::HasRequiredValues(int nStage) const
{
    return IsComplete(nStage, m_strPretestIndoorTemp, m_strPretestOutdoorTemp, m_strPosttestIndoorTemp,
                      m_strPosttestOutdoorTemp, m_strAltitude);
}

int CTemperatureAndAltitudeEntry::HasTestValues(int nStage, int nSlot) const
{
    if (nSlot < 0 || nSlot > 1)
        return 0;
    return IsComplete(nStage, m_strTestPretestIndoorTemp[nSlot][0], m_strTestPretestOutdoorTemp[nSlot][0],
                      m_strTestPosttestIndoorTemp[nSlot][0], m_strTestPosttestOutdoorTemp[nSlot][0],
                      m_strTestAltitude[nSlot][0]);
}
