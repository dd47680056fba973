#include "pages/TemperatureAndBarometricPressure.h"

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
// The source written as its digit; anything else read leaves the source as it was.
bool ParseSource(const CString& strValue, int& nSource)
{
    for (int nCode = 0; nCode <= 2; ++nCode) {
        CString strCode;
        strCode.Format(L"%d", nCode);
        if (strValue == strCode) {
            nSource = nCode;
            return true;
        }
    }
    return false;
}

int IsComplete(const CString& strIndoor, const CString& strOutdoor, int nSource, const CString& strPressure,
               const CString& strAltitude)
{
    if (strIndoor.IsEmpty() || strOutdoor.IsEmpty())
        return 0;
    if (nSource == CTemperatureAndBarometricPressure::kTypedPressure && strPressure.IsEmpty())
        return 0;
    if (nSource == CTemperatureAndBarometricPressure::kPressureFromAltitude && strAltitude.IsEmpty())
        return 0;
    return 1;
}
}  // namespace

namespace {
constexpr int kHelpTopicBarometric = 207;
const int kSourceButtons[] = {IDC_ENV_SOURCE_STANDARD, IDC_ENV_SOURCE_PRESSURE, IDC_ENV_SOURCE_ALTITUDE};
}  // namespace

BEGIN_MESSAGE_MAP(CTemperatureAndBarometricPressure, CEnvironmentDialog)
    ON_EN_CHANGE(IDC_ENV_INDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_OUTDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_PRESSURE, OnPressureChange)
    ON_EN_CHANGE(IDC_ENV_ALTITUDE, OnAltitudeChange)
    ON_BN_CLICKED(IDC_ENV_SOURCE_STANDARD, OnSourceStandard)
    ON_BN_CLICKED(IDC_ENV_SOURCE_PRESSURE, OnSourcePressure)
    ON_BN_CLICKED(IDC_ENV_SOURCE_ALTITUDE, OnSourceAltitude)
END_MESSAGE_MAP()

CTemperatureAndBarometricPressure::CTemperatureAndBarometricPressure()
    : CEnvironmentDialog(IDD, IDC_ENV_NO_ACTION_BAROMETRIC, kHelpTopicBarometric, {IDC_ENV_INDOOR, IDC_ENV_OUTDOOR})
{
    TraceLifecycle("CTemperatureAndBarometricPressure", true);
    ClearDirection(0);
    ClearDirection(1);
}

CTemperatureAndBarometricPressure::~CTemperatureAndBarometricPressure()
{
    TraceLifecycle("CTemperatureAndBarometricPressure", false);
}

void CTemperatureAndBarometricPressure::ClearTestValues(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strTestIndoorTemp[nSlot][nTestIndex].Empty();
    m_strTestOutdoorTemp[nSlot][nTestIndex].Empty();
    m_strTestBaroPressure[nSlot][nTestIndex].Empty();
    m_strTestAltitude[nSlot][nTestIndex].Empty();
    m_nTestPressureSource[nSlot][nTestIndex] = kStandardPressure;
}

void CTemperatureAndBarometricPressure::ClearDirection(int nSlot)
{
    m_strIndoorTemp.Empty();
    m_strOutdoorTemp.Empty();
    m_strBaroPressure.Empty();
    m_strAltitude.Empty();
    m_nPressureSource = kStandardPressure;
    for (int t = 0; t < kMaxTests; ++t)
        ClearTestValues(nSlot, t);
}

CString CTemperatureAndBarometricPressure::WriteToFile(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex) || m_strTestIndoorTemp[nSlot][nTestIndex].IsEmpty())
        return CString();
    const int d = nSlot;
    const int t = nTestIndex;
    CString strSource;
    strSource.Format(L"%d", m_nTestPressureSource[d][t]);
    return MakeLine(kPretestIndoor, d, t, m_strTestIndoorTemp[d][t]) +
           MakeLine(kPretestOutdoor, d, t, m_strTestOutdoorTemp[d][t]) + MakeLine(kPressureSource, d, t, strSource) +
           MakeLine(kPretestPressure, d, t, m_strTestBaroPressure[d][t]) +
           MakeLine(kAltitude, d, t, m_strTestAltitude[d][t]);
}

void CTemperatureAndBarometricPressure::ReadFromFile()
{
    if (m_pView == nullptr || m_pView->m_pTestGraph == nullptr || m_pView->m_pMath == nullptr)
        return;
    CTestGraph1& store = *m_pView->m_pTestGraph;
    for (int d = 0; d < 2; ++d) {
        const int nTests = ReadableTests(*m_pView, d);
        for (int t = 0; t < nTests; ++t) {
            m_strTestIndoorTemp[d][t] = ReadValue(*m_pView, kPretestIndoor, d, t, 1);
            StoreNumberOfText(m_strTestIndoorTemp[d][t], store.m_TestTin[0][d][t]);
            m_strTestOutdoorTemp[d][t] = ReadValue(*m_pView, kPretestOutdoor, d, t, 1);
            StoreNumberOfText(m_strTestOutdoorTemp[d][t], store.m_TestTout[0][d][t]);
            m_strTestBaroPressure[d][t] = ReadValue(*m_pView, kPretestPressure, d, t, 1);
            m_strTestAltitude[d][t] = ReadValue(*m_pView, kAltitude, d, t, 1);
            double& dPressure = store.m_TestPbaro[0][d][t];
            // No source in the file: the pressure of the test-data line stands.
            const CString strSource = ReadValue(*m_pView, kPressureSource, d, t, 1);
            if (strSource.IsEmpty())
                continue;
            ParseSource(strSource, m_nTestPressureSource[d][t]);
            switch (m_nTestPressureSource[d][t]) {
            case kTypedPressure:
                dPressure = CSimbrel1View::TextToDouble(m_strTestBaroPressure[d][t]);
                break;
            case kPressureFromAltitude:
                dPressure = m_pView->m_pMath->BarometricPressureFromAltitude(
                    m_pView->m_nBuildingUnit, CSimbrel1View::TextToDouble(m_strTestAltitude[d][t]));
                break;
            default:
                dPressure = kStandardPressurePa;
                break;
            }
        }
    }
    const int d = CurrentSlot();
    m_strIndoorTemp = m_strTestIndoorTemp[d][0];
    m_strOutdoorTemp = m_strTestOutdoorTemp[d][0];
    m_strBaroPressure = m_strTestBaroPressure[d][0];
    m_strAltitude = m_strTestAltitude[d][0];
    m_nPressureSource = m_nTestPressureSource[d][0];
}

int CTemperatureAndBarometricPressure::HasRequiredValues() const
{
    return IsComplete(m_strIndoorTemp, m_strOutdoorTemp, m_nPressureSource, m_strBaroPressure, m_strAltitude);
}

int CTemperatureAndBarometricPressure::HasTestValues(int nSlot) const
{
    if (nSlot < 0 || nSlot > 1)
        return 0;
    return IsComplete(m_strTestIndoorTemp[nSlot][0], m_strTestOutdoorTemp[nSlot][0], m_nTestPressureSource[nSlot][0],
                      m_strTestBaroPressure[nSlot][0], m_strTestAltitude[nSlot][0]);
}

void CTemperatureAndBarometricPressure::ParsePressureAndAltitude(int bForce)
{
    m_strBaroPressure = CSimbrel1View::RemoveCommas(m_strBaroPressure);
    if (m_bPressureEdited || bForce)
        m_dBaroPressure = CSimbrel1View::TextToDouble(m_strBaroPressure);
    m_strAltitude = CSimbrel1View::RemoveCommas(m_strAltitude);
    if (m_bAltitudeEdited || bForce)
        m_dAltitude = CSimbrel1View::TextToDouble(m_strAltitude);
    m_bPressureEdited = 0;
    m_bAltitudeEdited = 0;
}

double CTemperatureAndBarometricPressure::ComputeBarometricPressure()
{
    switch (m_nPressureSource) {
    case kTypedPressure:
        m_dBaroPressure = CSimbrel1View::TextToDouble(m_strBaroPressure);
        break;
    case kPressureFromAltitude:
        if (m_pView != nullptr && m_pView->m_pMath != nullptr)
            m_dBaroPressure = m_pView->m_pMath->BarometricPressureFromAltitude(m_pView->m_nBuildingUnit, m_dAltitude);
        break;
    default:
        m_dBaroPressure = kStandardPressurePa;
        break;
    }
    return m_dBaroPressure;
}

void CTemperatureAndBarometricPressure::DoDataExchange(CDataExchange* pDX)
{
    CEnvironmentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ENV_INDOOR, m_strIndoorTemp);
    DDX_Text(pDX, IDC_ENV_OUTDOOR, m_strOutdoorTemp);
    DDX_Text(pDX, IDC_ENV_PRESSURE, m_strBaroPressure);
    DDX_Text(pDX, IDC_ENV_ALTITUDE, m_strAltitude);
    // The source follows the buttons' handlers; the controls only show it.
    if (!pDX->m_bSaveAndValidate) {
        for (int nSource = 0; nSource < 3; ++nSource)
            SendDlgItemMessage(kSourceButtons[nSource], BM_SETCHECK,
                               nSource == m_nPressureSource ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CTemperatureAndBarometricPressure::SetTexts()
{
    if (m_bEditMode)
        SetDlgItemTextFromString(0, IDS_ENV_EDIT_BAROMETRIC);
    else if (m_pView != nullptr)
        SetItemText(0, m_pView->m_pSettings->GetStandardName() + L" " + LoadText(IDS_ENV_BAROMETRIC_ENTRY));
    SetDlgItemTextFromString(IDC_ENV_HINT_BAROMETRIC, IDS_ENV_HINT_BAROMETRIC);
    SetButtonTexts();
    SetItemText(IDC_ENV_INDOOR_LABEL, TemperatureLabel(IDS_ENV_INDOOR_TEMPERATURE));
    SetItemText(IDC_ENV_OUTDOOR_LABEL, TemperatureLabel(IDS_ENV_OUTDOOR_TEMPERATURE));
    SetDlgItemTextFromString(IDC_ENV_TEMPERATURE_GROUP, IDS_TEMPERATURE);
    SetDlgItemTextFromString(IDC_ENV_PRESSURE_GROUP, IDS_ENV_BAROMETRIC_PRESSURE);
    SetDlgItemTextFromString(IDC_ENV_SOURCE_PRESSURE, IDS_ENV_BAROMETRIC_PRESSURE);
    SetDlgItemTextFromString(IDC_ENV_SOURCE_STANDARD, IDS_ENV_STANDARD);
    SetDlgItemTextFromString(IDC_ENV_SOURCE_ALTITUDE, IDS_ENV_ALTITUDE);
    SetItemText(IDC_ENV_ALTITUDE_UNIT, LoadText(GetBuildingUnit() == 1 ? IDS_UNITS_METERS : IDS_UNITS_FEET));
}

void CTemperatureAndBarometricPressure::LoadTest(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strIndoorTemp = m_strTestIndoorTemp[nSlot][nTestIndex];
    m_strOutdoorTemp = m_strTestOutdoorTemp[nSlot][nTestIndex];
    m_strBaroPressure = m_strTestBaroPressure[nSlot][nTestIndex];
    m_strAltitude = m_strTestAltitude[nSlot][nTestIndex];
    m_nPressureSource = m_nTestPressureSource[nSlot][nTestIndex];
}

void CTemperatureAndBarometricPressure::StoreTest(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strTestIndoorTemp[nSlot][nTestIndex] = m_strIndoorTemp;
    m_strTestOutdoorTemp[nSlot][nTestIndex] = m_strOutdoorTemp;
    m_strTestBaroPressure[nSlot][nTestIndex] = m_strBaroPressure;
    m_strTestAltitude[nSlot][nTestIndex] = m_strAltitude;
    m_nTestPressureSource[nSlot][nTestIndex] = m_nPressureSource;
}

std::vector<CEnvironmentDialog::CTestedText> CTemperatureAndBarometricPressure::GetTestedTexts()
{
    const CRange range = TemperatureRange(GetTemperatureUnit());
    std::vector<CTestedText> texts = {{&m_strIndoorTemp, IDS_ENV_INDOOR_TEMPERATURE, IDC_ENV_INDOOR, range},
                                      {&m_strOutdoorTemp, IDS_ENV_OUTDOOR_TEMPERATURE, IDC_ENV_OUTDOOR, range}};
    if (m_nPressureSource == kTypedPressure)
        texts.push_back({&m_strBaroPressure, IDS_ENV_BAROMETRIC_PRESSURE, IDC_ENV_PRESSURE, kPressureRange});
    if (m_nPressureSource == kPressureFromAltitude)
        texts.push_back({&m_strAltitude, IDS_ENV_ALTITUDE, IDC_ENV_ALTITUDE, AltitudeRange(GetBuildingUnit())});
    return texts;
}

void CTemperatureAndBarometricPressure::AfterLoad()
{
    auto enable = [this](int nID, bool bEnable) {
        if (CWnd* pControl = GetDlgItem(nID))
            pControl->EnableWindow(bEnable ? TRUE : FALSE);
    };
    enable(IDC_ENV_PRESSURE, m_nPressureSource == kTypedPressure);
    enable(IDC_ENV_PRESSURE_UNIT, m_nPressureSource == kTypedPressure);
    enable(IDC_ENV_ALTITUDE, m_nPressureSource == kPressureFromAltitude);
    enable(IDC_ENV_STANDARD_VALUE, m_nPressureSource == kStandardPressure);
    enable(IDC_ENV_STANDARD_UNIT, m_nPressureSource == kStandardPressure);
}

void CTemperatureAndBarometricPressure::BeforeAccept()
{
    ParsePressureAndAltitude(1);
    ComputeBarometricPressure();
}

void CTemperatureAndBarometricPressure::OnPressureChange()
{
    m_bPressureEdited = 1;
    FilterUnsigned();
}

void CTemperatureAndBarometricPressure::OnAltitudeChange()
{
    m_bAltitudeEdited = 1;
    FilterUnsigned();
}

void CTemperatureAndBarometricPressure::OnSource(int nSource)
{
    m_nPressureSource = nSource;
    UpdateData(TRUE);
    ParsePressureAndAltitude(1);
    ComputeBarometricPressure();
    UpdateData(FALSE);
    AfterLoad();
}
