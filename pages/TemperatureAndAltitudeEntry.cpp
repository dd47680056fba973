#include "pages/TemperatureAndAltitudeEntry.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "calc/QarMathFunctions.h"
#include "app/TestSettingsDialog.h"
#include "framework/Ddx.h"
#include "pages/TemperatureKeys.h"
#include "res/resource.h"
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

namespace {
constexpr int kHelpTopicAltitude = 208;
// The hint of stage 3 and of test-data mode; the text is the manual grid's.
constexpr UINT kAllValuesHint = 16019;
}  // namespace

BEGIN_MESSAGE_MAP(CTemperatureAndAltitudeEntry, CEnvironmentDialog)
    ON_EN_CHANGE(IDC_ENV_PRE_INDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_PRE_OUTDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_POST_INDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_POST_OUTDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_ALTITUDE, FilterSigned)
END_MESSAGE_MAP()

CTemperatureAndAltitudeEntry::CTemperatureAndAltitudeEntry()
    : CEnvironmentDialog(IDD, IDC_ENV_NO_ACTION_ALTITUDE, kHelpTopicAltitude,
                         {IDC_ENV_PRE_INDOOR, IDC_ENV_PRE_OUTDOOR, IDC_ENV_POST_INDOOR, IDC_ENV_POST_OUTDOOR})
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
    for (int d = 0; d < 2; ++d) {
        const int nTests = ReadableTests(*m_pView, d);
        for (int t = 0; t < nTests; ++t) {
            // No old keys: these files were always prefixed.
            m_strTestPretestIndoorTemp[d][t] = ReadValue(*m_pView, kPretestIndoor, d, t, 0);
            m_strTestPretestOutdoorTemp[d][t] = ReadValue(*m_pView, kPretestOutdoor, d, t, 0);
            m_strTestPosttestIndoorTemp[d][t] = ReadValue(*m_pView, kPosttestIndoor, d, t, 0);
            m_strTestPosttestOutdoorTemp[d][t] = ReadValue(*m_pView, kPosttestOutdoor, d, t, 0);
            m_strTestAltitude[d][t] = ReadValue(*m_pView, kAltitude, d, t, 0);

            StoreNumberOfText(m_strTestPretestIndoorTemp[d][t], store.m_TestTin[kPre][d][t]);
            StoreNumberOfText(m_strTestPretestOutdoorTemp[d][t], store.m_TestTout[kPre][d][t]);
            StoreNumberOfText(m_strTestPosttestIndoorTemp[d][t], store.m_TestTin[kPost][d][t]);
            StoreNumberOfText(m_strTestPosttestOutdoorTemp[d][t], store.m_TestTout[kPost][d][t]);
            StoreNumberOfText(m_strTestAltitude[d][t], store.m_TestAltitude[d][t]);
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

void CTemperatureAndAltitudeEntry::DoDataExchange(CDataExchange* pDX)
{
    CEnvironmentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ENV_PRE_INDOOR, m_strPretestIndoorTemp);
    DDX_Text(pDX, IDC_ENV_PRE_OUTDOOR, m_strPretestOutdoorTemp);
    DDX_Text(pDX, IDC_ENV_POST_INDOOR, m_strPosttestIndoorTemp);
    DDX_Text(pDX, IDC_ENV_POST_OUTDOOR, m_strPosttestOutdoorTemp);
    DDX_Text(pDX, IDC_ENV_ALTITUDE, m_strAltitude);
}

void CTemperatureAndAltitudeEntry::SetTexts()
{
    if (m_bEditMode)
        SetDlgItemTextFromString(0, IDS_ENV_EDIT_ALTITUDE);
    else if (m_pView != nullptr)
        SetItemText(0, m_pView->m_pSettings->GetStandardName() + L" " + LoadText(IDS_ENV_ALTITUDE_ENTRY));
    SetButtonTexts();
    SetItemText(IDC_ENV_INDOOR_ROW_LABEL, TemperatureLabel(IDS_ENV_INDOOR_TEMPERATURE));
    SetItemText(IDC_ENV_OUTDOOR_ROW_LABEL, TemperatureLabel(IDS_ENV_OUTDOOR_TEMPERATURE));
    SetDlgItemTextFromString(IDC_ENV_PRE_HEAD, IDS_ENV_PRE_TEST);
    SetDlgItemTextFromString(IDC_ENV_POST_HEAD, IDS_ENV_POST_TEST);
    SetDlgItemTextFromString(IDC_ENV_ALTITUDE_LABEL, IDS_ENV_ALTITUDE);
    SetItemText(IDC_ENV_ALTITUDE_UNIT, LoadText(GetBuildingUnit() == 1 ? IDS_UNIT_M : IDS_UNIT_FT));

    const BOOL bPosttest = m_nStage != kPretest ? TRUE : FALSE;
    for (int nID : {IDC_ENV_POST_INDOOR, IDC_ENV_POST_OUTDOOR}) {
        if (CWnd* pEdit = GetDlgItem(nID))
            pEdit->EnableWindow(bPosttest);
    }
    if (m_nStage == kPosttest && !m_bEditMode)
        ShowControl(SW_HIDE, IDCANCEL);
    UINT nHint = kAllValuesHint;
    if (!m_bTestDataMode && m_nStage == kPretest)
        nHint = IDS_ENV_HINT_PRETEST;
    else if (!m_bTestDataMode && m_nStage == kPosttest)
        nHint = IDS_ENV_HINT_POSTTEST;
    SetDlgItemTextFromString(IDC_ENV_HINT, nHint);
}

int CTemperatureAndAltitudeEntry::GetFirstFocus() const
{
    return m_nStage == kPretest || m_nStage == kBothStages || m_bTestDataMode ? IDC_ENV_PRE_INDOOR
                                                                             : IDC_ENV_POST_INDOOR;
}

void CTemperatureAndAltitudeEntry::LoadTest(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strPretestIndoorTemp = m_strTestPretestIndoorTemp[nSlot][nTestIndex];
    m_strPretestOutdoorTemp = m_strTestPretestOutdoorTemp[nSlot][nTestIndex];
    m_strPosttestIndoorTemp = m_strTestPosttestIndoorTemp[nSlot][nTestIndex];
    m_strPosttestOutdoorTemp = m_strTestPosttestOutdoorTemp[nSlot][nTestIndex];
    m_strAltitude = m_strTestAltitude[nSlot][nTestIndex];
}

void CTemperatureAndAltitudeEntry::StoreTest(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strTestPretestIndoorTemp[nSlot][nTestIndex] = m_strPretestIndoorTemp;
    m_strTestPretestOutdoorTemp[nSlot][nTestIndex] = m_strPretestOutdoorTemp;
    m_strTestPosttestIndoorTemp[nSlot][nTestIndex] = m_strPosttestIndoorTemp;
    m_strTestPosttestOutdoorTemp[nSlot][nTestIndex] = m_strPosttestOutdoorTemp;
    m_strTestAltitude[nSlot][nTestIndex] = m_strAltitude;
}

std::vector<CEnvironmentDialog::CTestedText> CTemperatureAndAltitudeEntry::GetTestedTexts()
{
    const CRange range = TemperatureRange(GetTemperatureUnit());
    return {{&m_strPretestIndoorTemp, IDS_ENV_PRE_INDOOR, IDC_ENV_PRE_INDOOR, range},
            {&m_strPretestOutdoorTemp, IDS_ENV_PRE_OUTDOOR, IDC_ENV_PRE_OUTDOOR, range},
            {&m_strPosttestIndoorTemp, IDS_ENV_POST_INDOOR, IDC_ENV_POST_INDOOR, range},
            {&m_strPosttestOutdoorTemp, IDS_ENV_POST_OUTDOOR, IDC_ENV_POST_OUTDOOR, range},
            {&m_strAltitude, IDS_ENV_ALTITUDE, IDC_ENV_ALTITUDE, AltitudeRange(GetBuildingUnit())}};
}
