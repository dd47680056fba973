#include "app/TestSettingsDialog.h"

#include "app/Globals.h"
#include "app/Lifecycle.h"

#include <cwchar>

namespace {
// The text of string 4098 ("Zone").
constexpr UINT kZoneWordId = 4098;

double FactoryNumber(const CString& strText)
{
    return std::wcstod(strText.GetString(), nullptr);
}
}  // namespace

CTestSettingsDialog::CTestSettingsDialog(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CTestSettingsDialog", true);
    SetFactoryDefaults();
}

CTestSettingsDialog::~CTestSettingsDialog()
{
    TraceLifecycle("CTestSettingsDialog", false);
}

void CTestSettingsDialog::SetFactoryDefaults()
{
    m_chStandardLetter = L'I';
    m_nStandard = 3;
    m_nPressuresChoice = 0;
    for (int d = 0; d < 2; ++d)
        m_chMethodLetter[d] = L'A';
    m_nMethodIndex = 1;
    m_chDirectionLetter[0] = L'P';
    m_chDirectionLetter[1] = L'D';

    m_strTargetTolerance = g_strDefaultTargetTolerance;
    // ISO 9972 averages twice the readings of the other standards.
    m_strDataSamples = L"200";
    m_strFanAdjust = g_strDefaultFanAdjust;
    m_strHighPressureLimit = g_strDefaultHighPressureLimit;
    m_strFanStartPercent = g_strDefaultFanStartPercent;
    m_dTargetTolerance = FactoryNumber(m_strTargetTolerance);
    m_dDataSamples = FactoryNumber(m_strDataSamples);
    m_dFanAdjust = FactoryNumber(m_strFanAdjust);
    m_dHighPressureLimit = FactoryNumber(m_strHighPressureLimit);
    m_dFanStartPercent = FactoryNumber(m_strFanStartPercent);

    m_bZonalActive = 0;
    CString strZone;
    strZone.LoadString(kZoneWordId);
    for (int d = 0; d < 2; ++d) {
        for (int z = kFirstZone; z <= kLastZone; ++z) {
            m_nZoneActive[d][z] = 0;
            m_nZoneReference[d][z] = 0;
            m_strZoneName[d][z].Format(L"%s %c", strZone.GetString(), static_cast<wchar_t>(L'A' + z - kFirstZone));
        }
    }
}

void CTestSettingsDialog::ReadDefaultsFile() {}
