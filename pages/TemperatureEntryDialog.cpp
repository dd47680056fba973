#include "pages/TemperatureEntryDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "framework/Ddx.h"
#include "pages/TemperatureKeys.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

using namespace EnvironmentKeys;

namespace {
constexpr int kHelpTopic = 206;
}  // namespace

BEGIN_MESSAGE_MAP(CTemperatureEntryDialog, CEnvironmentDialog)
    ON_EN_CHANGE(IDC_ENV_INDOOR, FilterSigned)
    ON_EN_CHANGE(IDC_ENV_OUTDOOR, FilterSigned)
END_MESSAGE_MAP()

CTemperatureEntryDialog::CTemperatureEntryDialog()
    : CEnvironmentDialog(IDD, IDC_ENV_NO_ACTION, kHelpTopic, {IDC_ENV_INDOOR, IDC_ENV_OUTDOOR})
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

void CTemperatureEntryDialog::DoDataExchange(CDataExchange* pDX)
{
    CEnvironmentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ENV_INDOOR, m_strIndoorTemp);
    DDX_Text(pDX, IDC_ENV_OUTDOOR, m_strOutdoorTemp);
}

void CTemperatureEntryDialog::SetTexts()
{
    if (m_bEditMode)
        SetDlgItemTextFromString(0, IDS_ENV_EDIT_TEMPERATURE);
    else if (m_pView != nullptr)
        SetItemText(0, m_pView->m_pSettings->GetStandardName() + L" " + LoadText(IDS_ENV_TEMPERATURE_ENTRY));
    SetDlgItemTextFromString(IDC_ENV_HINT, IDS_ENV_HINT_TEMPERATURE);
    SetButtonTexts();
    SetItemText(IDC_ENV_INDOOR_LABEL, TemperatureLabel(IDS_ENV_INDOOR_TEMPERATURE));
    SetItemText(IDC_ENV_OUTDOOR_LABEL, TemperatureLabel(IDS_ENV_OUTDOOR_TEMPERATURE));
}

void CTemperatureEntryDialog::LoadTest(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strIndoorTemp = m_strTestIndoorTemp[nSlot][nTestIndex];
    m_strOutdoorTemp = m_strTestOutdoorTemp[nSlot][nTestIndex];
}

void CTemperatureEntryDialog::StoreTest(int nSlot, int nTestIndex)
{
    if (!IsTest(nSlot, nTestIndex))
        return;
    m_strTestIndoorTemp[nSlot][nTestIndex] = m_strIndoorTemp;
    m_strTestOutdoorTemp[nSlot][nTestIndex] = m_strOutdoorTemp;
}

std::vector<CEnvironmentDialog::CTestedText> CTemperatureEntryDialog::GetTestedTexts()
{
    const CRange range = TemperatureRange(GetTemperatureUnit());
    return {{&m_strIndoorTemp, IDS_ENV_INDOOR_TEMPERATURE, IDC_ENV_INDOOR, range},
            {&m_strOutdoorTemp, IDS_ENV_OUTDOOR_TEMPERATURE, IDC_ENV_OUTDOOR, range}};
}
