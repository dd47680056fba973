#include "pages/EN13829DataEntryDialog.h"

#include <cmath>
#include <cstdlib>

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "calc/TestResultsDialog.h"
#include "framework/Ddx.h"
#include "res/resource.h"

namespace {

const wchar_t* const kLimitNames[2][CStandardDataPage::kLimitTypes] = {
    {L" ", L"n50", L"n4", L"n10", L"n75", L"w50", L"w4", L"w10", L"w75", L"q50", L"q4", L"q10", L"q75"},
    {L" ", L"n50", L"n4", L"n10", L"n75", L"qF50", L"qF4", L"qF10", L"qF75", L"qE50", L"qE4", L"qE10", L"qE75"},
};
// Types 1 to 4 are rates of air change, the rest flows per area.
constexpr int kLastAirChangeType = 4;
constexpr int kWindClasses = 9;
constexpr int kWindExposures = 3;
constexpr int kEnHelpTopic = 28;
constexpr int kIsoHelpTopic = 41;
// The drop-down lists open this many of their own heights further down.
constexpr int kDropDownStretch = 20;

const wchar_t* const kRegulationKey = L"Regulation_complied_with:";
const wchar_t* const kVentilationSelectionKey = L"Type_Of_Ventilation_Selection:";
const wchar_t* const kLimitNameKey = L"Limiting Value:";
const wchar_t* const kLimitValueKey = L"Limit Value:";
const wchar_t* const kWindClassKey = L"Wind_Class:";
const wchar_t* const kWindExposureKey = L"Building_Wind_Exposure:";
const wchar_t* const kHeatingKey = L"Type_of_Heating:";
const wchar_t* const kAirConditioningKey = L"Type_of_Air_Conditioning:";
const wchar_t* const kVentilationKey = L"Type_of_Ventilation:";
const wchar_t* const kEnMethodKey = L"Type_of_Test_Method:";

// Leading digits of a text (after blanks and a sign); 0 for none.
int TextToInt(const CString& strText)
{
    return static_cast<int>(std::wcstol(strText.GetString(), nullptr, 10));
}

void SetItemText(CWnd* pPage, int nID, const wchar_t* pszText)
{
    if (CWnd* pControl = pPage->GetDlgItem(nID))
        pControl->SetWindowText(pszText);
}

}  // namespace

// ---------------------------------------------------------------------------
// What both pages share.

BEGIN_MESSAGE_MAP(CStandardDataPage, CPageDialog)
    ON_BN_CLICKED(IDC_STD_NEXT, OnNext)
    ON_BN_CLICKED(IDC_STD_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_STD_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_STD_NO_ACTION, OnNoAction)
    ON_BN_CLICKED(IDC_STD_VENTILATION_NONE, OnVentilationNone)
    ON_BN_CLICKED(IDC_STD_VENTILATION_DESCRIBED, OnVentilationDescribed)
    ON_CBN_SELCHANGE(IDC_STD_WIND_CLASS, OnStoreSelection)
    ON_CBN_SELCHANGE(IDC_STD_WIND_EXPOSURE, OnStoreSelection)
    ON_CBN_SELCHANGE(IDC_STD_LIMIT_TYPE, OnLimitTypeChange)
    ON_EN_CHANGE(IDC_STD_LIMIT_VALUE, OnLimitValueChange)
    ON_EN_KILLFOCUS(IDC_STD_LIMIT_VALUE, OnStoreSelection)
    ON_EN_KILLFOCUS(IDC_STD_REGULATION, OnStoreSelection)
END_MESSAGE_MAP()

CStandardDataPage::CStandardDataPage(UINT nIDTemplate, CSimbrel1View* pView, bool bIso)
    : CPageDialog(nIDTemplate, pView), m_bIso(bIso)
{
    m_nNoActionId = IDC_STD_NO_ACTION;
    m_EntryFields = {IDC_STD_WIND_CLASS,       IDC_STD_WIND_EXPOSURE,  bIso ? IDC_STD_ISO_METHOD : IDC_STD_EN_METHOD,
                     IDC_STD_HEATING,          IDC_STD_AIR_CONDITIONING, IDC_STD_REGULATION,
                     IDC_STD_VENTILATION};
    m_nHelpTopic = bIso ? kIsoHelpTopic : kEnHelpTopic;
}

CString CStandardDataPage::GetLimitName(bool bIso, int nType)
{
    if (nType < 0 || nType >= kLimitTypes)
        return CString();
    return kLimitNames[bIso ? 1 : 0][nType];
}

int CStandardDataPage::FindLimitType(bool bIso, const CString& strName)
{
    for (int nType = 1; nType < kLimitTypes; ++nType) {
        if (strName == kLimitNames[bIso ? 1 : 0][nType])
            return nType;
    }
    return 0;
}

CString CStandardDataPage::FormatLimitValue(double dValue)
{
    if (!std::isfinite(dValue))
        return L"0";
    CString strText;
    const double dMagnitude = std::fabs(dValue);
    if (dMagnitude >= 1000.0 || dMagnitude == 0.0) {
        strText.Format(L"%.0f", dValue);
    } else {
        const int nIntegerDigits = static_cast<int>(std::floor(std::log10(dMagnitude))) + 1;
        const int nDecimals = nIntegerDigits >= 4 ? 0 : 4 - nIntegerDigits;
        strText.Format(L"%.*f", nDecimals, dValue);
    }
    if (strText.Find(L'.') >= 0) {
        strText.TrimRight(L'0');
        strText.TrimRight(L'.');
    }
    if (strText == L"-0")
        strText = L"0";
    return strText;
}

CString CStandardDataPage::ConvertLimitText(const CString& strValue, int nType, double dFlowRatio,
                                            double dLengthRatio)
{
    if (strValue.IsEmpty() || nType <= kLastAirChangeType || nType >= kLimitTypes || dLengthRatio == 0.0)
        return strValue;
    const double dValue = CSimbrel1View::TextToDouble(strValue) * dFlowRatio / (dLengthRatio * dLengthRatio);
    return FormatLimitValue(dValue);
}

CString CStandardDataPage::GetWindClassItem(int nIndex)
{
    CString strItem;
    strItem.Format(L"%d  ", nIndex);
    return strItem + LoadText(static_cast<unsigned int>(IDS_STD_WIND_CALM + nIndex));
}

void CStandardDataPage::ClearData()
{
    for (CString* pText : {&m_strLimitValueName, &m_strLimitValue, &m_strRegulation, &m_strHeatingType,
                           &m_strAirConditioningType, &m_strVentilationType})
        pText->Empty();
    ClearMethod();
    m_nWindExposure = 0;
    m_nWindClass = 0;
    m_nVentilationSelection = 0;
    m_nLimitValueType = 0;
}

CString CStandardDataPage::WriteToFile() const
{
    auto line = [](const wchar_t* pszKey, const CString& strValue) {
        return CSimbrel1View::MakeKeyLine(L"", pszKey, strValue);
    };
    CString strNumber;
    auto number = [&strNumber](int nValue) -> const CString& {
        strNumber.Format(L"%d", nValue);
        return strNumber;
    };
    CString strText = WriteMethodLine();
    strText += line(kRegulationKey, m_strRegulation);
    strText += line(kVentilationSelectionKey, number(m_nVentilationSelection));
    strText += line(kLimitNameKey, m_strLimitValueName);
    strText += line(kLimitValueKey, m_strLimitValue);
    strText += line(kWindClassKey, number(m_nWindClass));
    strText += line(kWindExposureKey, number(m_nWindExposure));
    strText += line(kHeatingKey, m_strHeatingType);
    strText += line(kAirConditioningKey, m_strAirConditioningType);
    strText += line(kVentilationKey, m_strVentilationType);
    return strText;
}

void CStandardDataPage::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    auto value = [this](const wchar_t* pszKey) { return m_pView->GetPrefixedFileValue(L"", pszKey); };
    m_strRegulation = value(kRegulationKey);
    m_strHeatingType = value(kHeatingKey);
    m_strAirConditioningType = value(kAirConditioningKey);
    m_strVentilationType = value(kVentilationKey);
    m_strLimitValueName = value(kLimitNameKey);
    m_strLimitValue = value(kLimitValueKey);
    m_nLimitValueType = FindLimitType(m_bIso, m_strLimitValueName);
    ReadMethod();
    m_nVentilationSelection = TextToInt(value(kVentilationSelectionKey));
    m_nWindClass = TextToInt(value(kWindClassKey));
    m_nWindExposure = TextToInt(value(kWindExposureKey));
    if (m_bCreated && GetSafeHwnd() != nullptr) {
        UpdateData(FALSE);
        SendDlgItemMessage(IDC_STD_LIMIT_TYPE, CB_SETCURSEL, static_cast<WPARAM>(m_nLimitValueType));
        GetLimitValueUnits();
        EnableVentilationEdit();
    }
}

void CStandardDataPage::ConvertLimitValueUnits(double dFlowRatio, double dLengthRatio)
{
    if (m_strLimitValue.IsEmpty() || m_nLimitValueType <= kLastAirChangeType)
        return;
    m_strLimitValue = ConvertLimitText(m_strLimitValue, m_nLimitValueType, dFlowRatio, dLengthRatio);
    GetLimitValueUnits();
    // The open page shows the converted value.
    if (m_bCreated && GetSafeHwnd() != nullptr)
        SetItemText(this, IDC_STD_LIMIT_VALUE, m_strLimitValue.GetString());
}

CString CStandardDataPage::GetLimitValueUnits()
{
    CString strUnit;
    if (m_nLimitValueType >= 1 && m_nLimitValueType <= kLastAirChangeType)
        strUnit = LoadText(IDS_UNIT_PER_HOUR);
    else if (m_nLimitValueType > kLastAirChangeType && m_nLimitValueType < kLimitTypes && m_pView != nullptr &&
             m_pView->m_pResults != nullptr)
        strUnit = m_pView->m_pResults->FormatPerAreaUnit(0);
    if (m_bCreated && GetSafeHwnd() != nullptr)
        SetItemText(this, IDC_STD_LIMIT_UNIT, strUnit.GetString());
    return strUnit;
}

void CStandardDataPage::DoDataExchange(CDataExchange* pDX)
{
    CPageDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STD_LIMIT_TYPE, m_comboLimitType);
    DDX_Text(pDX, IDC_STD_LIMIT_VALUE, m_strLimitValue);
    DDX_Text(pDX, IDC_STD_REGULATION, m_strRegulation);
    DDX_Text(pDX, IDC_STD_HEATING, m_strHeatingType);
    DDX_Text(pDX, IDC_STD_AIR_CONDITIONING, m_strAirConditioningType);
    DDX_Text(pDX, IDC_STD_VENTILATION, m_strVentilationType);
    DDX_Radio(pDX, IDC_STD_VENTILATION_NONE, m_nVentilationSelection);
    DDX_CBIndex(pDX, IDC_STD_WIND_CLASS, m_nWindClass);
    DDX_CBIndex(pDX, IDC_STD_WIND_EXPOSURE, m_nWindExposure);
    ExchangeMethod(pDX);
}

BOOL CStandardDataPage::OnInitDialog()
{
    // The ISO page's own method combo and ventilation label.
    if (m_bIso) {
        ShowControl(SW_SHOW, IDC_STD_ISO_METHOD);
        ShowControl(SW_SHOW, IDC_STD_ISO_VENTILATION_LABEL);
    }
    const bool bLayout = m_pView != nullptr && m_pView->m_bLayoutPending;
    CPageDialog::OnInitDialog();
    if (bLayout)
        LayoutPage();
    FillCombos();
    GetLimitValueUnits();
    m_comboLimitType.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(m_nLimitValueType));
    EnableVentilationEdit();
    return TRUE;
}

void CStandardDataPage::SetTexts()
{
    if (m_bIso) {
        CString strCaption = LoadText(IDS_STD_EN_CAPTION);
        strCaption.Replace(L"EN 13829", L"ISO 9972");
        SetWindowText(strCaption.GetString());
        SetControlText(IDC_STD_REGULATION_LABEL, IDS_STD_PURPOSE);
        SetControlText(IDC_STD_METHOD_LABEL, IDS_STD_PREPARATION_METHOD);
        SetControlText(IDC_STD_ISO_VENTILATION_LABEL, IDS_STD_VENTILATION);
    } else {
        SetControlText(0, IDS_STD_EN_CAPTION);
        SetControlText(IDC_STD_REQUIREMENT_GROUP, IDS_STD_REQUIREMENT);
        SetControlText(IDC_STD_REGULATION_LABEL, IDS_STD_REGULATION);
        SetControlText(IDC_STD_METHOD_LABEL, IDS_STD_TEST_METHOD);
        SetControlText(IDC_STD_VENTILATION_GROUP, IDS_STD_VENTILATION);
    }
    SetControlText(IDC_STD_NEXT, IDS_NEXT);
    SetControlText(IDC_STD_PREVIOUS, IDS_PREVIOUS);
    SetControlText(IDC_STD_NEXT_LABEL, IDS_TO_TEST_GRAPH);
    SetControlText(IDC_STD_PREVIOUS_LABEL, IDS_STD_TO_TEST_SETTINGS);
    SetControlText(IDC_STD_HELP, IDS_MSG_HELP);
    SetControlText(IDC_STD_WIND_CLASS_LABEL, IDS_STD_WIND_CLASS);
    SetControlText(IDC_STD_WIND_EXPOSURE_LABEL, IDS_STD_WIND_EXPOSURE);
    SetControlText(IDC_STD_HEATING_LABEL, IDS_STD_HEATING);
    SetControlText(IDC_STD_VENTILATION_NONE, IDS_NONE);
    SetControlText(IDC_STD_AIR_CONDITIONING_LABEL, IDS_STD_AIR_CONDITIONING);
    SetControlText(IDC_STD_LIMIT_LABEL, IDS_STD_LIMITING_VALUE);
    SetItemText(this, IDC_STD_LIMIT_SIGN, L"\x2264");
    EnableVentilationEdit();
}

void CStandardDataPage::LayoutPage()
{
    for (int nID : {IDC_STD_WIND_CLASS, IDC_STD_WIND_EXPOSURE, IDC_STD_LIMIT_TYPE, MethodComboId()})
        ExtendDropDownList(nID);
}

void CStandardDataPage::ExtendDropDownList(int nID)
{
    CWnd* pCombo = GetDlgItem(nID);
    if (pCombo == nullptr)
        return;
    RECT rcDropped{};
    pCombo->SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcDropped));
    const int nHeight = rcDropped.bottom - rcDropped.top;
    if (nHeight <= 0)
        return;
    RECT rcCombo{};
    ::GetWindowRect(pCombo->m_hWnd, &rcCombo);
    ::SetWindowPos(pCombo->m_hWnd, nullptr, 0, 0, rcCombo.right - rcCombo.left, nHeight * (kDropDownStretch + 1),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CStandardDataPage::FillCombos()
{
    auto fill = [this](int nID, auto itemText, int nCount, int nSelect) {
        SendDlgItemMessage(nID, CB_RESETCONTENT);
        for (int i = 0; i < nCount; ++i) {
            const CString strItem = itemText(i);
            SendDlgItemMessage(nID, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
        }
        SendDlgItemMessage(nID, CB_SETCURSEL, static_cast<WPARAM>(nSelect));
    };
    fill(IDC_STD_WIND_CLASS, [](int i) { return GetWindClassItem(i); }, kWindClasses, m_nWindClass);
    fill(IDC_STD_WIND_EXPOSURE, [](int i) { return LoadText(static_cast<unsigned int>(IDS_STD_EXPOSURE_PROTECTED + i)); },
         kWindExposures, m_nWindExposure);
    FillMethodCombo();
    fill(IDC_STD_LIMIT_TYPE, [this](int i) { return GetLimitName(m_bIso, i); }, kLimitTypes, m_nLimitValueType);
}

void CStandardDataPage::EnableVentilationEdit()
{
    if (CWnd* pEdit = GetDlgItem(IDC_STD_VENTILATION))
        pEdit->EnableWindow(m_nVentilationSelection == 1);
}

void CStandardDataPage::OnVentilationNone()
{
    m_nVentilationSelection = 0;
    ::CheckRadioButton(m_hWnd, IDC_STD_VENTILATION_NONE, IDC_STD_VENTILATION_DESCRIBED, IDC_STD_VENTILATION_NONE);
    EnableVentilationEdit();
}

void CStandardDataPage::OnVentilationDescribed()
{
    m_nVentilationSelection = 1;
    ::CheckRadioButton(m_hWnd, IDC_STD_VENTILATION_NONE, IDC_STD_VENTILATION_DESCRIBED, IDC_STD_VENTILATION_DESCRIBED);
    EnableVentilationEdit();
}

void CStandardDataPage::OnLimitValueChange()
{
    if (m_pView != nullptr)
        m_pView->FilterNumericEdit(this, 1, 1, 0);
}

void CStandardDataPage::OnLimitTypeChange()
{
    const int nIndex = static_cast<int>(m_comboLimitType.SendMessage(CB_GETCURSEL));
    if (nIndex < 0 || nIndex == m_nLimitValueType)
        return;
    // What was typed elsewhere on the page stays when the fields are refilled.
    UpdateData(TRUE);
    m_nLimitValueType = nIndex;
    m_strLimitValueName = GetLimitName(m_bIso, nIndex);
    m_strLimitValue.Empty();
    GetLimitValueUnits();
    UpdateData(FALSE);
}

// ---------------------------------------------------------------------------
// The EN 13829 page.

CEN13829DataEntryDialog::CEN13829DataEntryDialog(CSimbrel1View* pView) : CStandardDataPage(IDD, pView, false)
{
    TraceLifecycle("CEN13829DataEntryDialog", true);
}

CEN13829DataEntryDialog::~CEN13829DataEntryDialog()
{
    TraceLifecycle("CEN13829DataEntryDialog", false);
}

CString CEN13829DataEntryDialog::WriteMethodLine() const
{
    const wchar_t* pszLetter = m_nTestMethod == 1 ? L"A" : m_nTestMethod == 2 ? L"B" : L" ";
    return CSimbrel1View::MakeKeyLine(L"", kEnMethodKey, pszLetter);
}

void CEN13829DataEntryDialog::ReadMethod()
{
    const CString strLetter = m_pView->GetPrefixedFileValue(L"", kEnMethodKey);
    m_nTestMethod = strLetter == L"A" ? 1 : strLetter == L"B" ? 2 : 0;
}

void CEN13829DataEntryDialog::ExchangeMethod(CDataExchange* pDX)
{
    DDX_CBIndex(pDX, IDC_STD_EN_METHOD, m_nTestMethod);
}

void CEN13829DataEntryDialog::FillMethodCombo()
{
    SendDlgItemMessage(IDC_STD_EN_METHOD, CB_RESETCONTENT);
    for (const wchar_t* pszItem : {L" ", L"A", L"B"})
        SendDlgItemMessage(IDC_STD_EN_METHOD, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    SendDlgItemMessage(IDC_STD_EN_METHOD, CB_SETCURSEL, static_cast<WPARAM>(m_nTestMethod));
}

int CEN13829DataEntryDialog::MethodComboId() const
{
    return IDC_STD_EN_METHOD;
}
