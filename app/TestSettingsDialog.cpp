#include "app/TestSettingsDialog.h"

#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "calc/FanCalibrationDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

#include <climits>
#include <cwchar>
#include <string>
#include <vector>

namespace {
const wchar_t kDefaultsFileName[] = L"DefaultSettings.dat";

bool IsSlot(int nSlot)
{
    return nSlot == 0 || nSlot == 1;
}

// The standard wide-string to integer reading: leading white space, a sign
// and digits; 0 when there are none. Out of range saturates.
int TextToInt(const CString& strText)
{
    const long long nValue = std::wcstoll(strText.GetString(), nullptr, 10);
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nValue);
}

// A value is one line: a line break would end it early and make the rest
// of it a line of its own when the file is read again.
CString OneLine(const CString& strValue)
{
    const int nBreak = strValue.FindOneOf(L"\r\n");
    return nBreak < 0 ? strValue : strValue.Left(nBreak);
}
}  // namespace

CTestSettingsDialog::CTestSettingsDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CTestSettingsDialog", true);
    m_bCreated = 0;
    SetFactoryDefaults();
    m_nFocusCtrlId = 0;
    m_nStandard = 3;
    m_strDataSamples = GetDefaultDataSamples(m_nStandard);
    m_bSetAsDefaults = 0;
}

CTestSettingsDialog::~CTestSettingsDialog()
{
    TraceLifecycle("CTestSettingsDialog", false);
}

void CTestSettingsDialog::SetFactoryDefaults()
{
    m_chStandardLetter = L'I';
    for (int d = 0; d < 2; ++d)
        m_chMethodLetter[d] = L'A';
    m_chDirectionLetter[0] = L'P';
    m_chDirectionLetter[1] = L'D';
    SetStandardFromLetter(0);

    m_strTargetTolerance = g_strDefaultTargetTolerance;
    m_strDataSamples = GetDefaultDataSamples(m_nStandard);
    m_strFanAdjust = g_strDefaultFanAdjust;
    m_strHighPressureLimit = g_strDefaultHighPressureLimit;
    m_strFanStartPercent = g_strDefaultFanStartPercent;
    ParseNumericSettings();

    m_bZonalActive = 0;
    SetDefaultZones(0);
    SetDefaultZones(1);
}

void CTestSettingsDialog::SetDefaultZones(int nSlot)
{
    if (!IsSlot(nSlot))
        return;
    CString strZone;
    strZone.LoadString(IDS_ZONE_WORD);
    for (int z = kFirstZone; z <= kLastZone; ++z) {
        m_nZoneActive[nSlot][z] = 0;
        m_nZoneReference[nSlot][z] = 0;
        m_strZoneName[nSlot][z].Format(L"%s %c", strZone.GetString(), static_cast<wchar_t>(L'A' + z - kFirstZone));
    }
}

void CTestSettingsDialog::ParseNumericSettings()
{
    m_dTargetTolerance = CSimbrel1View::TextToDouble(m_strTargetTolerance);
    m_dDataSamples = CSimbrel1View::TextToDouble(m_strDataSamples);
    m_dHighPressureLimit = CSimbrel1View::TextToDouble(m_strHighPressureLimit);
    m_dFanStartPercent = CSimbrel1View::TextToDouble(m_strFanStartPercent);
    m_dFanAdjust = CSimbrel1View::TextToDouble(m_strFanAdjust);
}

// ---------------------------------------------------------------------------
// Letters, codes and names.

CString CTestSettingsDialog::GetDefaultDataSamples(int nStandard)
{
    // ISO 9972 averages twice the readings of the other standards.
    return nStandard == 3 ? CString(L"200") : g_strDefaultDataSamples;
}

CString CTestSettingsDialog::GetStandardName() const
{
    switch (m_nStandard) {
    case 0:
        return L"CGSB";
    case 1:
        return L"EN 13829";
    case 2:
        return CString(L"ASTM E779") + L"-10";
    case 3:
        return L"ISO 9972";
    default:
        return L" ";
    }
}

int CTestSettingsDialog::GetStandardCode(const CString& strName)
{
    if (strName == L"CGSB")
        return 0;
    if (strName == L"EN 13829")
        return 1;
    // Names may carry the standard's year ("ASTM E779-10", "ISO 9972-15").
    if (strName.Left(9) == L"ASTM E779")
        return 2;
    if (strName.Left(8) == L"ISO 9972")
        return 3;
    return 0;
}

wchar_t CTestSettingsDialog::GetStandardLetter(int nPressuresChoice) const
{
    if (nPressuresChoice == 1)
        return L'U';
    if (nPressuresChoice != 0)
        return L'C';
    switch (m_nStandard) {
    case 1:
        return L'E';
    case 2:
        return L'A';
    case 3:
        return L'I';
    default:
        return L'C';
    }
}

void CTestSettingsDialog::SetStandardFromLetter(int nSlot)
{
    m_nPressuresChoice = GetPressuresChoiceFromLetter(m_chStandardLetter);
    switch (m_chStandardLetter) {
    case L'C':
        m_nStandard = 0;
        break;
    case L'E':
        m_nStandard = 1;
        break;
    case L'A':
        m_nStandard = 2;
        break;
    case L'I':
        m_nStandard = 3;
        break;
    default:
        break;  // 'U' keeps the standard the file named
    }
    if (IsSlot(nSlot))
        m_nMethodIndex = GetMethodIndex(m_chMethodLetter[nSlot]);
}

int CTestSettingsDialog::GetPressuresChoiceFromLetter(wchar_t chLetter) const
{
    switch (chLetter) {
    case L'U':
        return 1;
    case L'A':
    case L'C':
    case L'I':
        return 0;
    case L'E':
        // Files of the old key layout marked EN 13829 with custom target
        // pressures this way; it had no letter of its own for them.
        return m_pView != nullptr && m_pView->m_bNewFormatFile == 0 ? 1 : 0;
    default:
        return -1;
    }
}

int CTestSettingsDialog::GetMethodIndex(wchar_t chLetter)
{
    switch (chLetter) {
    case L'M':
        return 0;
    case L'A':
        return 1;
    case L'S':
        return 2;
    default:
        return -1;
    }
}

wchar_t CTestSettingsDialog::GetMethodLetter(int nMethodIndex)
{
    switch (nMethodIndex) {
    case 0:
        return L'M';
    case 2:
        return L'S';
    default:
        return L'A';
    }
}

int CTestSettingsDialog::GetDirectionIndex(wchar_t chLetter)
{
    if (chLetter == L'P')
        return 0;
    if (chLetter == L'D')
        return 1;
    return -1;
}

wchar_t CTestSettingsDialog::GetFirstLetter(const CString& strText)
{
    return strText.IsEmpty() ? L'?' : strText[0];
}

bool CTestSettingsDialog::IsEnOrIsoStandard() const
{
    return m_nStandard == 1 || m_nStandard == 3;
}

// ---------------------------------------------------------------------------
// Section "TEST SETTINGS INFO".

CString CTestSettingsDialog::WriteToFile(int nSlot, const CString& strPrefix) const
{
    if (!IsSlot(nSlot))
        return CString();
    auto line = [&strPrefix](const wchar_t* pszKey, const CString& strValue) {
        return CSimbrel1View::MakeKeyLine(strPrefix, pszKey, OneLine(strValue));
    };
    CString strText;
    strText += line(L"Build_Standard:", CString(m_chStandardLetter, 1));
    strText += line(L"Build_Test_Method:", CString(m_chMethodLetter[nSlot], 1));
    strText += line(L"Target_Tolerance:", m_strTargetTolerance);
    strText += line(L"Fan_adjust:", m_strFanAdjust);
    strText += line(L"Data_samples:", m_strDataSamples);
    strText += line(L"Building_High_Pressure_Limit:", m_strHighPressureLimit);
    strText += line(L"Fan_Start_Percent:", m_strFanStartPercent);
    strText += CSimbrel1View::MakeKeyLine(L"", L"Test_Standard_QSE:", GetStandardName());
    strText += line(L"Zonal_Pressures_Active:", CString::FormatText(L"%d", m_bZonalActive));
    if (m_bZonalActive != 0) {
        for (int z = kFirstZone; z <= kLastZone; ++z) {
            strText += line(CString::FormatText(L"Zone%d_Active:", z), CString::FormatText(L"%d", m_nZoneActive[nSlot][z]));
            strText += line(CString::FormatText(L"Zone%d_Name:", z), m_strZoneName[nSlot][z]);
            strText += line(CString::FormatText(L"Zone%d_Reference:", z),
                            CString::FormatText(L"%d", m_nZoneReference[nSlot][z]));
        }
    }
    return strText;
}

void CTestSettingsDialog::ReadFromFile(int nSlot, const CString& /*strPrefix*/)
{
    if (m_pView == nullptr || !IsSlot(nSlot))
        return;
    // The section is always written without prefix: every key is read so.
    auto value = [this](const wchar_t* pszKey) { return m_pView->GetFileValue(pszKey); };
    auto text = [&value](const wchar_t* pszKey, const CString& strWhenEmpty) {
        CString strValue = value(pszKey);
        return strValue.IsEmpty() ? strWhenEmpty : strValue;
    };

    m_chDirectionLetter[nSlot] = nSlot == 0 ? L'P' : L'D';

    const CString strStandard = value(L"Build_Standard:");
    m_chStandardLetter = strStandard.IsEmpty() ? L'C' : strStandard[0];
    const CString strMethod = value(L"Build_Test_Method:");
    m_chMethodLetter[nSlot] = strMethod.IsEmpty() ? L'A' : strMethod[0];

    m_strTargetTolerance = text(L"Target_Tolerance:", g_strDefaultTargetTolerance);
    m_dTargetTolerance = CSimbrel1View::TextToDouble(m_strTargetTolerance);
    m_strFanAdjust = text(L"Fan_adjust:", g_strDefaultFanAdjust);
    m_dFanAdjust = CSimbrel1View::TextToDouble(m_strFanAdjust);
    // The file's own standard comes below: an empty value takes the samples
    // of the standard the record holds now.
    m_strDataSamples = text(L"Data_samples:", GetDefaultDataSamples(m_nStandard));
    m_dDataSamples = CSimbrel1View::TextToDouble(m_strDataSamples);
    m_strHighPressureLimit = text(L"Building_High_Pressure_Limit:", g_strDefaultHighPressureLimit);
    m_dHighPressureLimit = CSimbrel1View::TextToDouble(m_strHighPressureLimit);

    CString strStandardName;
    if (m_pView->m_bNewFormatFile) {
        strStandardName = value(L"Test_Standard_QSE:");
    } else if (strStandard.IsEmpty() || strStandard == L"E") {
        strStandardName = L"EN 13829";
    } else if (strStandard == L"C") {
        strStandardName = L"CGSB";
    } else {
        strStandardName = strStandard;
    }
    m_nStandard = GetStandardCode(strStandardName);

    m_strFanStartPercent = text(L"Fan_Start_Percent:", g_strDefaultFanStartPercent);
    m_dFanStartPercent = CSimbrel1View::TextToDouble(m_strFanStartPercent);

    if (m_bCreated)
        UpdateData(FALSE);

    m_bZonalActive = TextToInt(value(L"Zonal_Pressures_Active:"));
    for (int z = kFirstZone; z <= kLastZone; ++z) {
        m_nZoneActive[nSlot][z] = TextToInt(value(CString::FormatText(L"Zone%d_Active:", z)));
        m_strZoneName[nSlot][z] = value(CString::FormatText(L"Zone%d_Name:", z));
        m_nZoneReference[nSlot][z] = TextToInt(value(CString::FormatText(L"Zone%d_Reference:", z)));
    }

    SetStandardFromLetter(nSlot);

    // The slot's fan set-up: the flow axis spans the nominal range of the
    // equipment's fan with the slot's installed ring, whose calibration is
    // selected.
    if (m_pFanCalibration != nullptr && m_pTestGraph != nullptr && m_pView->m_pEquipment != nullptr) {
        const wchar_t chFan = m_pView->m_pEquipment->m_chFanCode;
        const int nRing = m_pTestGraph->m_CurrentRing[nSlot];
        m_pFanCalibration->GetNominalFlowRange(chFan, nRing, m_pTestGraph->m_AxisQmin[nSlot],
                                               m_pTestGraph->m_AxisQmax[nSlot]);
        m_pFanCalibration->LoadFanRingCalibration(chFan, nRing);
    }
}

// ---------------------------------------------------------------------------
// "DefaultSettings.dat".

CString CTestSettingsDialog::BuildDefaultsText() const
{
    const int nCurrent = IsSlot(g_nCurrentDirection) ? g_nCurrentDirection : 1;
    CString strText = L"Default Settings\r\n";
    strText += CSimbrel1View::MakeKeyLine(L"", L"Test_Standard_QSE:", GetStandardName());
    strText += CSimbrel1View::MakeKeyLine(L"", L"Build_Test_Mode:", CString(m_chDirectionLetter[nCurrent], 1));
    strText += CSimbrel1View::MakeKeyLine(L"", L"Build_Test_Method:", CString(GetMethodLetter(m_nMethodIndex), 1));
    strText += CSimbrel1View::MakeKeyLine(L"", L"Data_samples:", OneLine(m_strDataSamples));
    strText += CSimbrel1View::MakeKeyLine(L"", L"Target_Tolerance:", OneLine(m_strTargetTolerance));
    strText += CSimbrel1View::MakeKeyLine(L"", L"Fan_adjust:", OneLine(m_strFanAdjust));
    strText += CSimbrel1View::MakeKeyLine(L"", L"Building_High_Pressure_Limit:", OneLine(m_strHighPressureLimit));
    strText += CSimbrel1View::MakeKeyLine(L"", L"Fan_Start_Percent:", OneLine(m_strFanStartPercent));
    return strText;
}

void CTestSettingsDialog::ApplyDefaultsText(const CString& strText)
{
    auto value = [&strText](const wchar_t* pszKey) { return CSimbrel1View::GetTextValue(pszKey, strText); };

    m_nStandard = GetStandardCode(value(L"Test_Standard_QSE:"));

    // A letter that names no direction would leave no valid current slot:
    // it counts as no letter at all.
    const CString strMode = value(L"Build_Test_Mode:");
    if (!strMode.IsEmpty() && GetDirectionIndex(strMode[0]) >= 0) {
        m_chDirectionLetter[0] = m_chDirectionLetter[1] = strMode[0];
        g_nCurrentDirection = GetDirectionIndex(strMode[0]);
    }
    const CString strMethod = value(L"Build_Test_Method:");
    if (!strMethod.IsEmpty()) {
        m_chMethodLetter[0] = m_chMethodLetter[1] = strMethod[0];
        if (IsSlot(g_nCurrentDirection))
            m_nMethodIndex = GetMethodIndex(m_chMethodLetter[g_nCurrentDirection]);
    }

    m_strDataSamples = value(L"Data_samples:");
    m_strTargetTolerance = value(L"Target_Tolerance:");
    m_strFanAdjust = value(L"Fan_adjust:");
    m_strHighPressureLimit = value(L"Building_High_Pressure_Limit:");
    m_strFanStartPercent = value(L"Fan_Start_Percent:");
}

void CTestSettingsDialog::ReadDefaultsFile()
{
    if (m_pView == nullptr)
        return;
    CString strText;
    if (CSimbrel1View::ReadUtf16TextFile(m_pView->m_strDataFolder + kDefaultsFileName, strText))
        ApplyDefaultsText(strText);
}

// A write that fails keeps the defaults file the user had.
bool CTestSettingsDialog::WriteDefaultsFile() const
{
    if (m_pView == nullptr)
        return false;
    CFileException error;
    if (CSimbrel1View::WriteUtf16TextFile(m_pView->m_strDataFolder + kDefaultsFileName, BuildDefaultsText(), &error))
        return true;
    error.ReportError();
    return false;
}

// ---------------------------------------------------------------------------
// Direction slots.

void CTestSettingsDialog::CopyDirectionSettings(int nTargetSlot, int nSourceSlot, int bCopyRing)
{
    if (!IsSlot(nTargetSlot) || !IsSlot(nSourceSlot))
        return;
    m_chMethodLetter[nTargetSlot] = m_chMethodLetter[nSourceSlot];
    if (m_pTestGraph != nullptr) {
        CTestGraph1& graph = *m_pTestGraph;
        graph.m_AxisPmin[nTargetSlot] = graph.m_AxisPmin[nSourceSlot];
        graph.m_AxisPmax[nTargetSlot] = graph.m_AxisPmax[nSourceSlot];
        graph.m_AxisQmin[nTargetSlot] = graph.m_AxisQmin[nSourceSlot];
        graph.m_AxisQmax[nTargetSlot] = graph.m_AxisQmax[nSourceSlot];
        graph.m_CurrentRing[nTargetSlot] = bCopyRing ? graph.m_CurrentRing[nSourceSlot] : 0;
    }
    for (int z = 0; z < kZoneSlots; ++z) {
        m_nZoneActive[nTargetSlot][z] = m_nZoneActive[nSourceSlot][z];
        m_strZoneName[nTargetSlot][z] = m_strZoneName[nSourceSlot][z];
        m_nZoneReference[nTargetSlot][z] = m_nZoneReference[nSourceSlot][z];
    }
}

void CTestSettingsDialog::SetTestDirection(wchar_t chDirectionLetter)
{
    const int nSlot = GetDirectionIndex(chDirectionLetter);
    // Only 'P' and 'D' name a slot; any other letter would leave none current.
    if (nSlot < 0)
        return;
    if (IsSlot(g_nCurrentDirection) && chDirectionLetter == m_chDirectionLetter[g_nCurrentDirection])
        return;
    if (CSimbrel1View* pView = m_pView != nullptr ? m_pView : g_pView)
        pView->ShowMessage(chDirectionLetter == L'P' ? IDS_REMINDER_PRESSURIZE : IDS_REMINDER_DEPRESSURIZE, CString(),
                           175, 0, 255);
    g_nCurrentDirection = nSlot;
    m_chDirectionLetter[nSlot] = chDirectionLetter;
    // The fitted curves may be drawn when the new direction holds tests.
    if (m_pTestGraph != nullptr)
        m_pTestGraph->m_bCurveValid = m_pTestGraph->m_CompletedTests[nSlot] > 0 ? 1 : 0;
    // The new direction starts with what the other one was set up with.
    CopyDirectionSettings(nSlot, 1 - nSlot, 1);
}
