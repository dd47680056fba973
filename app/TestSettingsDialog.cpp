#include "app/TestSettingsDialog.h"

#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/ZonalPressureSetupDialog.h"
#include "calc/ZoneDataDialog.h"
#include "pages/BaselineDataEntry.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/ISO9972DataEntryDialog.h"
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
    m_nNoActionId = IDC_SETTINGS_NO_ACTION;
    // Enter moves on to the next of these that can take the focus.
    m_EntryFields = {1065, 1067, 1068, 1115, 1132, 1133, 1143, 1144, 1145,
                     1273, 1395, 1397, 1519, 2036, 2037, 2038, 2525, 2527};
    m_nHelpTopic = 5;
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
    return GetLetterOfStandard(m_nStandard);
}

wchar_t CTestSettingsDialog::GetLetterOfStandard(int nStandard)
{
    switch (nStandard) {
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

    RefreshFanSetup(nSlot);
}

void CTestSettingsDialog::RefreshFanSetup(int nSlot)
{
    if (m_pView == nullptr || !IsSlot(nSlot))
        return;
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

// ---------------------------------------------------------------------------
// The Test Settings page.

namespace {
constexpr int kWarningIcon = 175;   // the system's exclamation icon
constexpr int kNoEntryIcon = 176;
constexpr int kKindOk = 0;
constexpr int kKindYesNo = 4;
constexpr int kNoHelpTopic = 255;
constexpr int kDataClearingHelpTopic = 105;
constexpr int kHighPressureHelpTopic = 132;

// Controls that follow the method (manual disables them).
constexpr int kMethodControls[] = {
    IDC_SETTINGS_PRESSURES_GROUP, IDC_SETTINGS_DEFAULT_PRESSURES, IDC_SETTINGS_CUSTOM_PRESSURES,
    IDC_SETTINGS_SAMPLES_LABEL,   IDC_SETTINGS_SAMPLES,           IDC_SETTINGS_LIMIT_LABEL,
    IDC_SETTINGS_LIMIT,           IDC_SETTINGS_FACTORY,           IDC_SETTINGS_AUTO_GROUP,
    IDC_SETTINGS_ZONAL_GROUP,     IDC_SETTINGS_ZONAL_ACTIVE,
};
// The fan is not driven by the program in semi-automatic tests either.
constexpr int kAutoOnlyControls[] = {
    IDC_SETTINGS_FAN_ADJUST_LABEL, IDC_SETTINGS_FAN_ADJUST, IDC_SETTINGS_TOLERANCE_LABEL,
    IDC_SETTINGS_TOLERANCE,        IDC_SETTINGS_FAN_START_LABEL, IDC_SETTINGS_FAN_START,
};
constexpr int kHiddenControls[] = {
    IDC_SETTINGS_PRESSURIZE, IDC_SETTINGS_DEPRESSURIZE, IDC_SETTINGS_MODE_GROUP, IDC_SETTINGS_LIST_1,
    IDC_SETTINGS_LIST_2,     IDC_SETTINGS_LIST_3,       IDC_SETTINGS_LIST_4,     IDC_SETTINGS_LABEL_1,
    IDC_SETTINGS_LABEL_2,    IDC_SETTINGS_LABEL_3,      IDC_SETTINGS_LABEL_4,    IDC_SETTINGS_FIELD_1,
    IDC_SETTINGS_FIELD_2,    IDC_SETTINGS_FIELD_3,      IDC_SETTINGS_FIELD_4,
};
struct ControlText {
    int nID;
    int nIDText;
};
constexpr ControlText kControlTexts[] = {
    {IDC_SETTINGS_DEFAULT_PRESSURES, IDS_DEFAULT},
    {IDC_SETTINGS_CUSTOM_PRESSURES, IDS_CUSTOM},
    {IDC_SETTINGS_EDIT_CUSTOM, IDS_EDIT_CUSTOM_PRESSURES},
    {IDC_SETTINGS_PRESSURES_GROUP, IDS_TEST_PRESSURES},
    {IDC_SETTINGS_MANUAL, IDS_MANUAL},
    {IDC_SETTINGS_AUTO, IDS_AUTO},
    {IDC_SETTINGS_SEMI_AUTO, IDS_SEMI_AUTO},
    {IDC_SETTINGS_METHOD_GROUP, IDS_METHOD},
    {IDC_SETTINGS_SAMPLES_LABEL, IDS_SAMPLES_PER_STATION},
    {IDC_SETTINGS_FAN_ADJUST_LABEL, IDS_FAN_ADJUST_RATE},
    {IDC_SETTINGS_TOLERANCE_LABEL, IDS_TARGET_TOLERANCE_PA},
    {IDC_SETTINGS_LIMIT_LABEL, IDS_HIGH_PRESSURE_LIMIT_PA},
    {IDC_SETTINGS_FAN_START_LABEL, IDS_FAN_START_PERCENT},
    {IDC_SETTINGS_AUTO_GROUP, IDS_AUTO_TEST_PARAMETERS},
    {IDC_SETTINGS_FACTORY, IDS_RESTORE_FACTORY_SETTINGS},
    {IDC_SETTINGS_ZONAL_ACTIVE, IDS_ACTIVE},
    {IDC_SETTINGS_ZONAL_SETTINGS, IDS_SETTINGS},
    {IDC_SETTINGS_ZONAL_GROUP, IDS_ZONAL_PRESSURES},
    {IDC_SETTINGS_SET_AS_DEFAULTS, IDS_SET_AS_DEFAULTS_NEW_TESTS},
    {IDC_SETTINGS_STANDARD_LABEL, IDS_STANDARD},
    {IDC_SETTINGS_MODE_GROUP, IDS_TEST_MODE},
    {IDC_SETTINGS_PRESSURIZE, IDS_PRESSURIZE},
    {IDC_SETTINGS_DEPRESSURIZE, IDS_DEPRESSURIZE},
    {IDC_SETTINGS_HELP, IDS_MSG_HELP},
    {IDC_SETTINGS_PREVIOUS, IDS_PREVIOUS},
    {IDC_SETTINGS_PREVIOUS_LABEL, IDS_TO_COMMENTS},
    {IDC_SETTINGS_NEXT, IDS_NEXT},
};
// The controls the page scales, in the order it scales them.
constexpr int kScaledControls[] = {
    1442, 1377, 1382, 1143, 1067, 1133, 1362, 1132, 1115, 1395, 1144, 1145, 1396, 1378, 1379, 1068,
    1657, 1519, 1520, 1381, 1699, 1116, 1398, 1397, 2305, 2304, 2320, 1113, 1177, 1114, 1812, 1813,
};

}  // namespace

BEGIN_MESSAGE_MAP(CTestSettingsDialog, CPageDialog)
    ON_WM_DESTROY()
    ON_CBN_SELCHANGE(IDC_SETTINGS_STANDARD_LIST, OnStandardChanged)
    ON_BN_CLICKED(IDC_SETTINGS_DEFAULT_PRESSURES, OnDefaultPressures)
    ON_BN_CLICKED(IDC_SETTINGS_CUSTOM_PRESSURES, OnCustomPressures)
    ON_BN_CLICKED(IDC_SETTINGS_EDIT_CUSTOM, OnEditCustomPressures)
    ON_BN_CLICKED(IDC_SETTINGS_MANUAL, OnManual)
    ON_BN_CLICKED(IDC_SETTINGS_AUTO, OnAuto)
    ON_BN_CLICKED(IDC_SETTINGS_SEMI_AUTO, OnSemiAuto)
    ON_BN_CLICKED(IDC_SETTINGS_PRESSURIZE, OnDirectionRadio)
    ON_BN_CLICKED(IDC_SETTINGS_DEPRESSURIZE, OnDirectionRadio)
    ON_BN_CLICKED(IDC_SETTINGS_ZONAL_ACTIVE, OnZonalActive)
    ON_BN_CLICKED(IDC_SETTINGS_ZONAL_SETTINGS, OnZonalSettings)
    ON_EN_KILLFOCUS(IDC_SETTINGS_LIMIT, OnLimitKillFocus)
    ON_EN_KILLFOCUS(IDC_SETTINGS_FAN_START, OnFanStartKillFocus)
    ON_EN_CHANGE(IDC_SETTINGS_SAMPLES, OnSamplesChange)
    ON_EN_CHANGE(IDC_SETTINGS_FAN_ADJUST, OnDecimalEditChange)
    ON_EN_CHANGE(IDC_SETTINGS_TOLERANCE, OnDecimalEditChange)
    ON_EN_CHANGE(IDC_SETTINGS_LIMIT, OnDecimalEditChange)
    ON_EN_CHANGE(IDC_SETTINGS_FAN_START, OnDecimalEditChange)
    ON_BN_CLICKED(IDC_SETTINGS_FACTORY, OnFactorySettings)
    ON_BN_CLICKED(IDC_SETTINGS_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_SETTINGS_NEXT, OnNext)
    ON_BN_CLICKED(IDC_SETTINGS_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_SETTINGS_NO_ACTION, OnNoAction)
END_MESSAGE_MAP()

CTestSettingsDialog::CControlStates CTestSettingsDialog::GetControlStates(wchar_t chMethodLetter,
                                                                          wchar_t chStandardLetter,
                                                                          int bNewFormatFile, int bZonalActive)
{
    CControlStates states{};
    const bool bEnabled = chMethodLetter != L'M';
    states.bMethodEntries = bEnabled;
    states.bAutoOnlyEntries = bEnabled && chMethodLetter != L'S';
    // Old files wrote 'E' for EN 13829 with custom targets, whatever the method.
    states.bEditCustom = (!bNewFormatFile && chStandardLetter == L'E') || (chStandardLetter == L'U' && bEnabled);
    states.bZoneSettings = bZonalActive != 0 && (chMethodLetter == L'A' || chMethodLetter == L'S');
    return states;
}

CTestSettingsDialog::LimitCheck CTestSettingsDialog::CheckHighPressureLimit(double dValue)
{
    if (dValue < 0.0 || dValue > 150.0)
        return LimitCheck::Refused;
    return dValue > 90.0 ? LimitCheck::Warned : LimitCheck::Accepted;
}

CTestSettingsDialog::LimitCheck CTestSettingsDialog::CheckFanStartPercent(double dValue)
{
    return dValue < 0.0 || dValue > 50.0 ? LimitCheck::Refused : LimitCheck::Accepted;
}

void CTestSettingsDialog::DoDataExchange(CDataExchange* pDX)
{
    CPageDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_SETTINGS_STANDARD_LIST, m_nStandard);
    DDX_Radio(pDX, IDC_SETTINGS_DEFAULT_PRESSURES, m_nPressuresChoice);
    DDX_Radio(pDX, IDC_SETTINGS_MANUAL, m_nMethodIndex);
    DDX_Text(pDX, IDC_SETTINGS_SAMPLES, m_strDataSamples);
    DDX_Text(pDX, IDC_SETTINGS_FAN_ADJUST, m_strFanAdjust);
    DDX_Text(pDX, IDC_SETTINGS_TOLERANCE, m_strTargetTolerance);
    DDX_Text(pDX, IDC_SETTINGS_LIMIT, m_strHighPressureLimit);
    DDX_Text(pDX, IDC_SETTINGS_FAN_START, m_strFanStartPercent);
    DDX_Check(pDX, IDC_SETTINGS_ZONAL_ACTIVE, m_bZonalActive);
    DDX_Check(pDX, IDC_SETTINGS_SET_AS_DEFAULTS, m_bSetAsDefaults);
}

BOOL CTestSettingsDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    m_bCheckingLimit = 0;
    SetDefID(IDC_SETTINGS_NO_ACTION);
    // The list's index is the standard code; it is filled before the
    // controls take the record's values so that the code selects its item.
    if (CWnd* pList = GetDlgItem(IDC_SETTINGS_STANDARD_LIST)) {
        const CString names[] = {L"CGSB", L"EN 13829", CString(L"E779") + L"-10", L"ISO 9972-15"};
        for (const CString& strName : names)
            pList->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.GetString()));
    }
    CDialog::OnInitDialog();
    RefreshControls();
    if (m_pView != nullptr)
        m_pView->PlacePageDialog(this);
    FocusNext();
    return FALSE;
}

void CTestSettingsDialog::SetTexts()
{
    SetControlText(0, IDS_TEST_SETTINGS_CAPTION);
    for (const ControlText& text : kControlTexts)
        SetControlText(text.nID, text.nIDText);
    CString strNextLabel = LoadText(IDS_TO_TEST_GRAPH);
    if (m_nStandard == 1) {
        strNextLabel = LoadText(IDS_TO_EN_DATA_ENTRY);
    } else if (m_nStandard == 3) {
        strNextLabel = LoadText(IDS_TO_EN_DATA_ENTRY);
        strNextLabel.Replace(L"EN", L"ISO");
    }
    if (CWnd* pLabel = GetDlgItem(IDC_SETTINGS_NEXT_LABEL))
        pLabel->SetWindowText(strNextLabel.GetString());

    const int nSlot = IsSlot(g_nCurrentDirection) ? g_nCurrentDirection : 1;
    const CControlStates states = GetControlStates(m_chMethodLetter[nSlot], m_chStandardLetter,
                                                   m_pView != nullptr ? m_pView->m_bNewFormatFile : 1, m_bZonalActive);
    auto enable = [this](int nID, bool bEnable) {
        if (CWnd* pControl = GetDlgItem(nID))
            pControl->EnableWindow(bEnable ? TRUE : FALSE);
    };
    for (int nID : kMethodControls)
        enable(nID, states.bMethodEntries);
    for (int nID : kAutoOnlyControls)
        enable(nID, states.bAutoOnlyEntries);
    enable(IDC_SETTINGS_EDIT_CUSTOM, states.bEditCustom);
    enable(IDC_SETTINGS_ZONAL_SETTINGS, states.bZoneSettings);

    ShowControl(SW_SHOW, IDC_SETTINGS_SET_AS_DEFAULTS);
    for (int nID : kHiddenControls)
        ShowControl(SW_HIDE, nID);
}

void CTestSettingsDialog::RefreshControls()
{
    if (GetSafeHwnd() == nullptr || (m_pView != nullptr && m_pView->m_bPdfRunning))
        return;
    SetTexts();
    if (m_pView != nullptr && m_pView->m_bLayoutPending) {
        LayoutPage();
        m_pView->m_bLayoutPending = 0;
    }
}

void CTestSettingsDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
    RefreshControls();
}

void CTestSettingsDialog::LayoutPage()
{
    if (m_pView == nullptr || GetSafeHwnd() == nullptr)
        return;
    m_pView->PlacePageDialog(this);
    m_pView->CreatePageFont(this, 1.0);
    for (int nID : kScaledControls) {
        ScaleControl(nID);
        if (nID != IDC_SETTINGS_STANDARD_LIST)
            continue;
        // A combo box's window height is that of its open list: the closed
        // height scaled alone would leave no room for the items.
        if (CWnd* pList = GetDlgItem(nID)) {
            CRect rc;
            pList->GetWindowRect(&rc);
            ScreenToClient(&rc);
            pList->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height() * 21, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CTestSettingsDialog::StoreControls()
{
    if (GetSafeHwnd() != nullptr)
        UpdateData(TRUE);
}

void CTestSettingsDialog::PutRecordIntoControls()
{
    if (GetSafeHwnd() != nullptr)
        UpdateData(FALSE);
}

void CTestSettingsDialog::FocusNext()
{
    if (CWnd* pNext = GetSafeHwnd() != nullptr ? GetDlgItem(IDC_SETTINGS_NEXT) : nullptr)
        pNext->SetFocus();
}

bool CTestSettingsDialog::ConfirmDataClearing(int nIDWhat)
{
    if (m_pView == nullptr)
        return false;
    const CString strWhat = LoadText(static_cast<UINT>(nIDWhat));
    const CString strText =
        CString::FormatText(LoadText(IDS_MSG_CHANGE_CLEARS_DATA).GetString(), strWhat.GetString(), strWhat.GetString());
    return m_pView->ShowMessage(IDS_MSG_CHANGE_CLEARS_DATA, strText, kWarningIcon, kKindYesNo,
                                kDataClearingHelpTopic) == IDYES;
}

void CTestSettingsDialog::OnStandardChanged()
{
    CWnd* pList = GetDlgItem(IDC_SETTINGS_STANDARD_LIST);
    if (pList == nullptr || m_pView == nullptr)
        return;
    const int s = static_cast<int>(pList->SendMessage(CB_GETCURSEL));
    if (s == m_nStandard || s < 0)
        return;
    const bool bHasTests =
        m_pTestGraph != nullptr && (m_pTestGraph->m_CompletedTests[0] > 0 || m_pTestGraph->m_CompletedTests[1] > 0);
    if (bHasTests && !ConfirmDataClearing(IDS_TEST_STANDARD)) {
        pList->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(m_nStandard));
        PutRecordIntoControls();
        return;
    }
    if (m_pTestGraph != nullptr)
        m_pTestGraph->ClearAllTestData();
    m_nStandard = s;
    if (m_pView->m_pEn13829 != nullptr)
        m_pView->m_pEn13829->ClearData();
    if (m_pView->m_pIso9972 != nullptr)
        m_pView->m_pIso9972->ClearData();

    m_nPressuresChoice = 0;
    m_chStandardLetter = GetStandardLetter(0);
    if (CCustomPressuresDialog* pPressures = m_pView->m_pCustomPressures) {
        switch (s) {
        case 0: pPressures->SetCgsbPressures(); break;
        case 1: pPressures->SetEn13829Pressures(); break;
        case 2: pPressures->SetAstmE779Pressures(); break;
        case 3: pPressures->SetIso9972Pressures(); break;
        default: break;
        }
    }
    m_pView->m_bLayoutPending = 0;
    RefreshControls();
    m_strDataSamples = GetDefaultDataSamples(s);
    PutRecordIntoControls();
}

void CTestSettingsDialog::OnDefaultPressures()
{
    m_nPressuresChoice = 0;
    m_chStandardLetter = GetStandardLetter(m_nPressuresChoice);
    if (m_pView != nullptr)
        m_pView->m_bLayoutPending = 0;
    RefreshControls();
}

void CTestSettingsDialog::OnCustomPressures()
{
    m_nPressuresChoice = 1;
    m_chStandardLetter = GetStandardLetter(m_nPressuresChoice);
    if (m_pView != nullptr)
        m_pView->m_bLayoutPending = 0;
    RefreshControls();
}

void CTestSettingsDialog::OnEditCustomPressures()
{
    if (m_pView == nullptr || m_pView->m_pCustomPressures == nullptr)
        return;
    m_pView->m_pCustomPressures->DoModal();
    m_pView->m_pCustomPressures->ParsePressures();
}

int CTestSettingsDialog::SetMethod(int n)
{
    if (n == m_nMethodIndex)
        return 0;
    const int nOld = m_nMethodIndex;
    m_nMethodIndex = n;
    const bool bHasTests =
        m_pTestGraph != nullptr && (m_pTestGraph->m_CompletedTests[0] > 0 || m_pTestGraph->m_CompletedTests[1] > 0);
    // Manual points are not comparable with measured ones: only a change
    // into or out of manual throws the data away.
    if (bHasTests && (n == 0 || nOld == 0)) {
        if (!ConfirmDataClearing(IDS_TEST_METHOD_LOWER)) {
            m_nMethodIndex = nOld;
            PutRecordIntoControls();
            FocusNext();
            return 0;
        }
        m_pTestGraph->ClearAllTestData();
        if (m_pView != nullptr && m_pView->m_pBaseline != nullptr) {
            m_pView->m_pBaseline->ClearData(0);
            m_pView->m_pBaseline->ClearData(1);
        }
        FocusNext();
    }
    if (m_pTestGraph != nullptr) {
        m_pTestGraph->m_bLargeMeters = n == 0 ? 0 : m_pTestGraph->m_bDisplayLargeMeters;
        m_pTestGraph->m_FanSpeed = 0.0;
    }
    m_chMethodLetter[0] = m_chMethodLetter[1] = GetMethodLetter(n);
    return 1;
}

void CTestSettingsDialog::OnManual()
{
    const int bChanged = SetMethod(0);
    if (m_pView != nullptr)
        m_pView->m_bLayoutPending = 0;
    RefreshControls();
    if (bChanged)
        m_bZonalActive = 0;
    PutRecordIntoControls();
}

void CTestSettingsDialog::OnAuto()
{
    SetMethod(1);
    if (m_pView != nullptr)
        m_pView->m_bLayoutPending = 0;
    RefreshControls();
}

void CTestSettingsDialog::OnSemiAuto()
{
    SetMethod(2);
    if (m_pView != nullptr)
        m_pView->m_bLayoutPending = 0;
    RefreshControls();
}

void CTestSettingsDialog::OnZonalActive()
{
    if (m_pView == nullptr)
        return;
    m_pView->DisconnectAllDevices();
    if (m_pTestGraph != nullptr)
        m_pTestGraph->m_bDeviceSetupChanged = 1;
    const int nSlot = IsSlot(g_nCurrentDirection) ? g_nCurrentDirection : 1;
    if (m_pTestGraph != nullptr && m_pTestGraph->m_CompletedTests[nSlot] > 0) {
        if (!ConfirmDataClearing(IDS_ZONAL_PRESSURE_SETTINGS)) {
            PutRecordIntoControls();
            return;
        }
        m_pTestGraph->ClearAllTestData();
    }
    m_bZonalActive = m_bZonalActive ? 0 : 1;
    if (GetSafeHwnd() != nullptr) {
        if (CWnd* pButton = GetDlgItem(IDC_SETTINGS_ZONAL_SETTINGS))
            pButton->EnableWindow(GetControlStates(m_chMethodLetter[nSlot], m_chStandardLetter,
                                                   m_pView->m_bNewFormatFile, m_bZonalActive)
                                          .bZoneSettings
                                      ? TRUE
                                      : FALSE);
    }
}

void CTestSettingsDialog::OnZonalSettings()
{
    if (m_pView == nullptr)
        return;
    CZonalPressureSetupDialog dialog;
    dialog.m_pView = m_pView;
    m_pView->DisconnectAllDevices();
    const int nSlot = IsSlot(g_nCurrentDirection) ? g_nCurrentDirection : 1;
    for (int z = kFirstZone; z <= kLastZone; ++z) {
        dialog.SetZoneActive(z, m_nZoneActive[nSlot][z]);
        dialog.SetZoneName(z, m_strZoneName[nSlot][z]);
        dialog.SetZoneReference(z, m_nZoneReference[nSlot][z]);
    }
    if (dialog.DoModal() == IDOK) {
        bool bStructural = false;
        bool bNames = false;
        for (int z = kFirstZone; z <= kLastZone; ++z) {
            bStructural = bStructural || dialog.GetZoneActive(z) != m_nZoneActive[nSlot][z] ||
                          dialog.GetZoneReference(z) != m_nZoneReference[nSlot][z];
            bNames = bNames || dialog.GetZoneName(z) != m_strZoneName[nSlot][z];
        }
        const bool bHasTests = m_pTestGraph != nullptr &&
                               (m_pTestGraph->m_CompletedTests[0] > 0 || m_pTestGraph->m_CompletedTests[1] > 0);
        if (bStructural && bHasTests) {
            if (ConfirmDataClearing(IDS_ZONAL_PRESSURE_SETTINGS)) {
                m_pTestGraph->ClearAllTestData();
            } else {
                bStructural = false;
                bNames = false;
            }
        }
        if (bStructural) {
            if (m_pTestGraph != nullptr)
                m_pTestGraph->m_bDeviceSetupChanged = 1;
            for (int z = kFirstZone; z <= kLastZone; ++z) {
                m_nZoneActive[nSlot][z] = dialog.GetZoneActive(z);
                m_nZoneReference[nSlot][z] = dialog.GetZoneReference(z);
            }
        }
        if (bNames) {
            if (m_pTestGraph != nullptr)
                m_pTestGraph->m_bDeviceSetupChanged = 1;
            for (int z = kFirstZone; z <= kLastZone; ++z)
                m_strZoneName[nSlot][z] = dialog.GetZoneName(z);
        }
        if (bStructural || bNames)
            CopyDirectionSettings(1 - nSlot, nSlot, 0);
    }
    if (m_pView->m_pZoneData != nullptr) {
        m_pView->m_pZoneData->m_bResetGraphed = 1;
        m_pView->m_pZoneData->UpdateZoneData(0);
    }
}

void CTestSettingsDialog::CheckTypedLimit(int nID, CString& strText, double& dNumber, bool bStoreNumber,
                                          LimitCheck (*check)(double), int nIDRange)
{
    // The message of one check and the focus it gives back move the focus
    // out of the other edit: that must not start the other check, or two
    // refused values would hand the focus back and forth for ever.
    if (m_bCheckingLimit || m_pView == nullptr)
        return;
    m_bCheckingLimit = 1;
    const CString strOld = strText;
    StoreControls();
    const double x = CSimbrel1View::TextToDouble(strText);
    if (x != dNumber) {
        const LimitCheck result = check(x);
        if (result == LimitCheck::Refused) {
            m_pView->ShowMessage(nIDRange, CString(), kWarningIcon, kKindOk, kNoHelpTopic);
            strText = strOld;
            PutRecordIntoControls();
            if (CWnd* pEdit = GetSafeHwnd() != nullptr ? GetDlgItem(nID) : nullptr)
                pEdit->SetFocus();
        } else {
            if (result == LimitCheck::Warned)
                m_pView->ShowMessage(IDS_MSG_HIGH_PRESSURE_WARNING, CString(), kNoEntryIcon, kKindOk,
                                     kHighPressureHelpTopic);
            if (bStoreNumber)
                dNumber = x;
        }
    }
    m_bCheckingLimit = 0;
}

void CTestSettingsDialog::OnLimitKillFocus()
{
    CheckTypedLimit(IDC_SETTINGS_LIMIT, m_strHighPressureLimit, m_dHighPressureLimit, true, CheckHighPressureLimit,
                    IDS_MSG_HIGH_PRESSURE_RANGE);
}

void CTestSettingsDialog::OnFanStartKillFocus()
{
    CheckTypedLimit(IDC_SETTINGS_FAN_START, m_strFanStartPercent, m_dFanStartPercent, false, CheckFanStartPercent,
                    IDS_MSG_FAN_START_RANGE);
}

void CTestSettingsDialog::OnSamplesChange()
{
    if (m_pView != nullptr)
        m_pView->FilterNumericEdit(this, 0, 1, 1);
}

void CTestSettingsDialog::OnDecimalEditChange()
{
    if (m_pView != nullptr)
        m_pView->FilterNumericEdit(this, 1, 1, 0);
}

void CTestSettingsDialog::RestoreFactorySettings()
{
    m_strTargetTolerance = g_strDefaultTargetTolerance;
    m_strDataSamples = GetDefaultDataSamples(m_nStandard);
    m_strHighPressureLimit = g_strDefaultHighPressureLimit;
    m_strFanAdjust = g_strDefaultFanAdjust;
    m_strFanStartPercent = g_strDefaultFanStartPercent;
}

void CTestSettingsDialog::OnFactorySettings()
{
    // Only the five texts: what the controls show of the rest (a standard
    // chosen, a method clicked) is not taken into the record here.
    RestoreFactorySettings();
    if (GetSafeHwnd() == nullptr)
        return;
    SetDlgItemText(IDC_SETTINGS_TOLERANCE, m_strTargetTolerance);
    SetDlgItemText(IDC_SETTINGS_SAMPLES, m_strDataSamples);
    SetDlgItemText(IDC_SETTINGS_LIMIT, m_strHighPressureLimit);
    SetDlgItemText(IDC_SETTINGS_FAN_ADJUST, m_strFanAdjust);
    SetDlgItemText(IDC_SETTINGS_FAN_START, m_strFanStartPercent);
}

void CTestSettingsDialog::ApplyRadioChoices()
{
    m_chStandardLetter = GetStandardLetter(m_nPressuresChoice);
    if (IsSlot(g_nCurrentDirection))
        m_chMethodLetter[g_nCurrentDirection] = GetMethodLetter(m_nMethodIndex);
}

void CTestSettingsDialog::OnNext()
{
    StoreControls();
    ApplyRadioChoices();
    ParseNumericSettings();
    RefreshFanSetup(IsSlot(g_nCurrentDirection) ? g_nCurrentDirection : 1);
    PostPageAction(CSimbrel1View::kPageNext);
}

void CTestSettingsDialog::OnPrevious()
{
    StoreControls();
    ApplyRadioChoices();
    ParseNumericSettings();
    PostPageAction(CSimbrel1View::kPagePrevious);
}

void CTestSettingsDialog::OnOK()
{
    PostPageAction(CSimbrel1View::kPageOK);
}

void CTestSettingsDialog::OnCancel()
{
    PostPageAction(CSimbrel1View::kPageCancel);
}

void CTestSettingsDialog::OnDestroy()
{
    // The controls reach the record first, so that the defaults file holds
    // what the page showed when it closed.
    if (!IsModal() && GetSafeHwnd() != nullptr && m_nModalResult == -1)
        UpdateData(TRUE);
    if (m_bSetAsDefaults) {
        WriteDefaultsFile();
        m_bSetAsDefaults = 0;
    }
    if (m_pView != nullptr) {
        delete m_pView->m_pPageFont;
        m_pView->m_pPageFont = nullptr;
    }
    m_bCreated = 0;
}
