#include "pages/BuildingInfoDialog.h"

#include <cmath>

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "framework/Ddx.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {
// Standard codes of the test settings.
constexpr int kCgsb = 0;
constexpr int kEn13829 = 1;
constexpr int kAstmE779 = 2;
constexpr int kIso9972 = 3;

struct CTextKey {
    const wchar_t* pszKey;
    CString CBuildingInfoDialog::*pText;
};

const CTextKey kCustomerKeys[] = {
    {L"Project_Name:", &CBuildingInfoDialog::m_strProjectName},
    {L"Name:", &CBuildingInfoDialog::m_strCustomerName},
    {L"Name_Line2:", &CBuildingInfoDialog::m_strCustomerNameLine2},
    {L"Address:", &CBuildingInfoDialog::m_strCustomerAddress},
    {L"Address_Line2:", &CBuildingInfoDialog::m_strCustomerAddressLine2},
    {L"City:", &CBuildingInfoDialog::m_strCustomerCity},
    {L"State:", &CBuildingInfoDialog::m_strCustomerState},
    {L"Zip:", &CBuildingInfoDialog::m_strCustomerZip},
    {L"Phone:", &CBuildingInfoDialog::m_strCustomerPhone},
    {L"Fax:", &CBuildingInfoDialog::m_strCustomerFax},
    {L"Email:", &CBuildingInfoDialog::m_strCustomerEmail},
    {L"Website:", &CBuildingInfoDialog::m_strCustomerWebsite},
};

const CTextKey kBuildingKeys[] = {
    {L"Building:", &CBuildingInfoDialog::m_strBuilding},
    {L"Building_Address:", &CBuildingInfoDialog::m_strBuildingAddress},
    {L"Building_Address_Line2:", &CBuildingInfoDialog::m_strBuildingAddressLine2},
    {L"Building_Apartment_Number:", &CBuildingInfoDialog::m_strApartmentNumber},
    {L"Building_City:", &CBuildingInfoDialog::m_strBuildingCity},
    {L"Building_State:", &CBuildingInfoDialog::m_strBuildingState},
    {L"Building_Zip:", &CBuildingInfoDialog::m_strBuildingZip},
    {L"Year_of_Construction:", &CBuildingInfoDialog::m_strYearOfConstruction},
};

const CTextKey kDimensionKeys[] = {
    {L"Volume:", &CBuildingInfoDialog::m_strVolume},
    {L"Floor:", &CBuildingInfoDialog::m_strFloorArea},
    {L"Surface:", &CBuildingInfoDialog::m_strSurfaceArea},
};

struct CCountrySpecificKey {
    const wchar_t* pszKey;
    BOOL CBuildingInfoDialog::*pFlag;
    CString CBuildingInfoDialog::*pDimension;
};

const CCountrySpecificKey kCountrySpecificKeys[] = {
    {L"Country_Specific_Volume:", &CBuildingInfoDialog::m_bCountrySpecificVolume, &CBuildingInfoDialog::m_strVolume},
    {L"Country_Specific_Floor_Area:", &CBuildingInfoDialog::m_bCountrySpecificFloorArea,
     &CBuildingInfoDialog::m_strFloorArea},
    {L"Country_Specific_Surface_Area:", &CBuildingInfoDialog::m_bCountrySpecificSurfaceArea,
     &CBuildingInfoDialog::m_strSurfaceArea},
};

// The page's Help topic and the Help button's text.
constexpr int kHelpTopic = 3;
constexpr int kHelpText = 4619;

// Labels and buttons whose text is one string of the table.
struct CControlText {
    int nID;
    int nIDText;
};

const CControlText kControlTexts[] = {
    {IDC_BLDG_DATE_LABEL, IDS_BLDG_TEST_DATE},
    {IDC_BLDG_TECHNICIAN_LABEL, IDS_BLDG_TECHNICIAN},
    {IDC_BLDG_PROJECT_LABEL, IDS_BLDG_PROJECT_NUMBER},
    {IDC_BLDG_CUSTOMER_GROUP, IDS_BLDG_CUSTOMER_INFO},
    {IDC_BLDG_CUSTOMER_NAME_LABEL, IDS_BLDG_CUSTOMER_NAME},
    {IDC_BLDG_CUSTOMER_NAME2_LABEL, IDS_BLDG_NAME_LINE2},
    {IDC_BLDG_CUSTOMER_ADDRESS_LABEL, IDS_BLDG_ADDRESS},
    {IDC_BLDG_CUSTOMER_ADDRESS2_LABEL, IDS_BLDG_ADDRESS_LINE2},
    {IDC_BLDG_CUSTOMER_CITY_LABEL, IDS_BLDG_CITY},
    {IDC_BLDG_CUSTOMER_STATE_LABEL, IDS_BLDG_STATE},
    {IDC_BLDG_CUSTOMER_ZIP_LABEL, IDS_BLDG_ZIP},
    {IDC_BLDG_CUSTOMER_PHONE_LABEL, IDS_BLDG_PHONE},
    {IDC_BLDG_CUSTOMER_FAX_LABEL, IDS_BLDG_FAX},
    {IDC_BLDG_CUSTOMER_EMAIL_LABEL, IDS_BLDG_EMAIL},
    {IDC_BLDG_CUSTOMER_WEBSITE_LABEL, IDS_BLDG_WEBSITE},
    {IDC_BLDG_BUILDING_GROUP, IDS_BLDG_BUILDING_INFO},
    {IDC_BLDG_NAME_LABEL, IDS_BLDG_BUILDING},
    {IDC_BLDG_ADDRESS_LABEL, IDS_BLDG_BUILDING_ADDRESS},
    {IDC_BLDG_ADDRESS2_LABEL, IDS_BLDG_ADDRESS_LINE2},
    {IDC_BLDG_APARTMENT_LABEL, IDS_BLDG_APARTMENT},
    {IDC_BLDG_CITY_LABEL, IDS_BLDG_CITY},
    {IDC_BLDG_STATE_LABEL, IDS_BLDG_STATE},
    {IDC_BLDG_ZIP_LABEL, IDS_BLDG_ZIP},
    {IDC_BLDG_YEAR_LABEL, IDS_BLDG_YEAR},
    {IDC_BLDG_DIMENSIONS_GROUP, IDS_BUILDING_DIMENSIONS},
    {IDC_BLDG_ISO_REFERENCE_LABEL, IDS_BLDG_REFERENCE_ISO},
    {IDC_BLDG_COUNTRY_VOLUME, IDS_BLDG_SPECIFIC_COUNTRY},
    {IDC_BLDG_COUNTRY_FLOOR_AREA, IDS_BLDG_SPECIFIC_COUNTRY},
    {IDC_BLDG_COUNTRY_SURFACE_AREA, IDS_BLDG_SPECIFIC_COUNTRY},
    {IDC_BLDG_NEXT, IDS_NEXT},
    {IDC_BLDG_NEXT_LABEL, IDS_TO_COMMENTS},
    {IDC_BLDG_CLEAR, IDS_BLDG_CLEAR},
    {IDC_BLDG_HELP, kHelpText},
    {IDC_BLDG_TO_TEST_GRAPH, IDS_TO_TEST_GRAPH},
};

const wchar_t* const kHeightKey = L"Height:";
const wchar_t* const kUncertaintyKey = L"Percent_Uncertainty_In_Measured_Dimensions:";
}  // namespace

BEGIN_MESSAGE_MAP(CBuildingInfoDialog, CPageDialog)
    ON_BN_CLICKED(IDC_BLDG_NEXT, OnNext)
    ON_BN_CLICKED(IDC_BLDG_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_BLDG_CLEAR, OnClearButton)
    ON_BN_CLICKED(IDC_BLDG_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_BLDG_NO_ACTION, OnNoAction)
    ON_EN_UPDATE(IDC_BLDG_VOLUME, OnVolumeUpdate)
    ON_EN_UPDATE(IDC_BLDG_FLOOR_AREA, OnFloorAreaUpdate)
    ON_EN_UPDATE(IDC_BLDG_SURFACE_AREA, OnSurfaceAreaUpdate)
    ON_EN_UPDATE(IDC_BLDG_HEIGHT, OnHeightUpdate)
    ON_EN_CHANGE(IDC_BLDG_VOLUME, OnDimensionChange)
    ON_EN_CHANGE(IDC_BLDG_FLOOR_AREA, OnDimensionChange)
    ON_EN_CHANGE(IDC_BLDG_SURFACE_AREA, OnDimensionChange)
    ON_EN_CHANGE(IDC_BLDG_UNCERTAINTY, OnDimensionChange)
    ON_EN_CHANGE(IDC_BLDG_HEIGHT, OnHeightChange)
    ON_EN_KILLFOCUS(IDC_BLDG_HEIGHT, OnHeightKillFocus)
    ON_BN_CLICKED(IDC_BLDG_TO_TEST_GRAPH, OnToTestGraph)
    ON_NOTIFY(NM_SETFOCUS, IDC_BLDG_DATE_PICKER, OnDateSetFocus)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_BLDG_DATE_PICKER, OnDateChange)
END_MESSAGE_MAP()

CBuildingInfoDialog::CBuildingInfoDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CBuildingInfoDialog", true);
    m_nNoActionId = IDC_BLDG_NO_ACTION;
    m_EntryFields = {1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1385, 1413, 1414, 1415,
                     1416, 1417, 1418, 1419, 1420, 1421, 1424, 1427, 1449, 2031, 2086, 2288};
    m_nHelpTopic = kHelpTopic;
    ClearData();
}

CBuildingInfoDialog::~CBuildingInfoDialog()
{
    TraceLifecycle("CBuildingInfoDialog", false);
}

void CBuildingInfoDialog::ClearData()
{
    for (CString* pText : {&m_strTestDate, &m_strTestDateUniv, &m_strTestDateLocal, &m_strTechnician,
                           &m_strProjectName, &m_strCustomerName, &m_strCustomerNameLine2,
                           &m_strCustomerAddress, &m_strCustomerAddressLine2, &m_strCustomerCity,
                           &m_strCustomerState, &m_strCustomerZip, &m_strCustomerPhone, &m_strCustomerFax,
                           &m_strCustomerEmail, &m_strCustomerWebsite, &m_strBuilding, &m_strBuildingAddress,
                           &m_strBuildingAddressLine2, &m_strApartmentNumber, &m_strBuildingCity,
                           &m_strBuildingState, &m_strBuildingZip, &m_strYearOfConstruction, &m_strVolume,
                           &m_strFloorArea, &m_strSurfaceArea, &m_strHeight, &m_strUncertainty})
        pText->Empty();
    for (int d = 0; d < 2; ++d) {
        m_dVolume[d] = 0.0;
        m_dFloorArea[d] = 0.0;
        m_dSurfaceArea[d] = 0.0;
        m_dHeight[d] = 0.0;
    }
    m_bCountrySpecificVolume = FALSE;
    m_bCountrySpecificFloorArea = FALSE;
    m_bCountrySpecificSurfaceArea = FALSE;
}

void CBuildingInfoDialog::UpdateDimensionValues(int bForce)
{
    struct CDimension {
        CString* pText;
        double* pValues;
        int* pChanged;
    };
    const CDimension dimensions[] = {
        {&m_strVolume, m_dVolume, &m_bVolumeChanged},
        {&m_strFloorArea, m_dFloorArea, &m_bFloorAreaChanged},
        {&m_strSurfaceArea, m_dSurfaceArea, &m_bSurfaceAreaChanged},
        {&m_strHeight, m_dHeight, &m_bHeightChanged},
    };
    for (const CDimension& dimension : dimensions) {
        *dimension.pText = CSimbrel1View::RemoveCommas(*dimension.pText);
        if (*dimension.pChanged || bForce) {
            const double dValue = CSimbrel1View::TextToDouble(*dimension.pText);
            dimension.pValues[0] = dValue;
            dimension.pValues[1] = dValue;
        }
        *dimension.pChanged = 0;
    }
}

CString CBuildingInfoDialog::FormatConvertedDimension(double dValue)
{
    CString strText;
    const double dMagnitude = std::fabs(dValue);
    if (dMagnitude >= 1000.0 || dMagnitude == 0.0) {
        strText.Format(L"%7.0f", dValue);
        return CSimbrel1View::StripLeadingBlanks(strText);
    }
    // Decimals for four significant digits; a value that rounds up to the
    // next power of ten keeps one decimal less.
    int nDecimals = 3 - static_cast<int>(std::floor(std::log10(dMagnitude)));
    const double dScale = std::pow(10.0, nDecimals);
    if (std::round(dMagnitude * dScale) >= 10000.0)
        --nDecimals;
    if (nDecimals < 0)
        nDecimals = 0;
    strText.Format(L"%.*f", nDecimals, dValue);
    if (strText.Find(L'.') >= 0) {
        strText.TrimRight(L'0');
        strText.TrimRight(L'.');
    }
    return strText;
}

void CBuildingInfoDialog::ConvertDimensionUnits(double dRatio, int nSlot)
{
    if (nSlot < 0 || nSlot > 1)
        return;
    struct CDimension {
        CString* pText;
        double* pValues;
        int nPower;
    };
    const CDimension dimensions[] = {
        {&m_strVolume, m_dVolume, 3},
        {&m_strFloorArea, m_dFloorArea, 2},
        {&m_strSurfaceArea, m_dSurfaceArea, 2},
        {&m_strHeight, m_dHeight, 1},
    };
    for (const CDimension& dimension : dimensions) {
        if (dimension.pText->IsEmpty())
            continue;
        *dimension.pText = FormatConvertedDimension(dimension.pValues[nSlot] * std::pow(dRatio, dimension.nPower));
        dimension.pValues[nSlot] = CSimbrel1View::TextToDouble(*dimension.pText);
    }
    if (m_bCreated && GetSafeHwnd() != nullptr)
        UpdateData(FALSE);
}

BOOL CBuildingInfoDialog::DestroyWindow()
{
    m_bFromTestGraph = 0;
    if (GetSafeHwnd() != nullptr)
        UpdateData(TRUE);
    UpdateDimensionValues(0);
    return CPageDialog::DestroyWindow();
}

void CBuildingInfoDialog::DoDataExchange(CDataExchange* pDX)
{
    CPageDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BLDG_DATE_PICKER, m_datePicker);
    DDX_Text(pDX, IDC_BLDG_DATE_TEXT, m_strTestDate);
    DDX_Text(pDX, IDC_BLDG_TECHNICIAN, m_strTechnician);
    DDX_Text(pDX, IDC_BLDG_PROJECT, m_strProjectName);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_NAME, m_strCustomerName);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_NAME2, m_strCustomerNameLine2);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_ADDRESS, m_strCustomerAddress);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_ADDRESS2, m_strCustomerAddressLine2);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_CITY, m_strCustomerCity);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_STATE, m_strCustomerState);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_ZIP, m_strCustomerZip);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_PHONE, m_strCustomerPhone);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_FAX, m_strCustomerFax);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_EMAIL, m_strCustomerEmail);
    DDX_Text(pDX, IDC_BLDG_CUSTOMER_WEBSITE, m_strCustomerWebsite);
    DDX_Text(pDX, IDC_BLDG_NAME, m_strBuilding);
    DDX_Text(pDX, IDC_BLDG_ADDRESS, m_strBuildingAddress);
    DDX_Text(pDX, IDC_BLDG_ADDRESS2, m_strBuildingAddressLine2);
    DDX_Text(pDX, IDC_BLDG_APARTMENT, m_strApartmentNumber);
    DDX_Text(pDX, IDC_BLDG_CITY, m_strBuildingCity);
    DDX_Text(pDX, IDC_BLDG_STATE, m_strBuildingState);
    DDX_Text(pDX, IDC_BLDG_ZIP, m_strBuildingZip);
    DDX_Text(pDX, IDC_BLDG_YEAR, m_strYearOfConstruction);
    DDX_Text(pDX, IDC_BLDG_VOLUME, m_strVolume);
    DDX_Text(pDX, IDC_BLDG_FLOOR_AREA, m_strFloorArea);
    DDX_Text(pDX, IDC_BLDG_SURFACE_AREA, m_strSurfaceArea);
    DDX_Text(pDX, IDC_BLDG_HEIGHT, m_strHeight);
    DDX_Text(pDX, IDC_BLDG_UNCERTAINTY, m_strUncertainty);
    DDX_Check(pDX, IDC_BLDG_COUNTRY_VOLUME, m_bCountrySpecificVolume);
    DDX_Check(pDX, IDC_BLDG_COUNTRY_FLOOR_AREA, m_bCountrySpecificFloorArea);
    DDX_Check(pDX, IDC_BLDG_COUNTRY_SURFACE_AREA, m_bCountrySpecificSurfaceArea);
}

BOOL CBuildingInfoDialog::OnInitDialog()
{
    // Laying the page out shows it, and the dialog manager then focuses its
    // first tab stop, the date picker: that is no entry by the user.
    m_bOpening = true;
    CPageDialog::OnInitDialog();
    m_bVolumeChanged = 0;
    m_bFloorAreaChanged = 0;
    m_bSurfaceAreaChanged = 0;
    m_bHeightChanged = 0;
    CSimbrel1View::InitDatePicker(1, &m_datePicker, m_strTestDateUniv, m_strTestDateLocal);
    // The dialog manager would focus the first tab stop, the date picker,
    // and entering the picker sets today's date: opening the page is no
    // entry, so the page opens in the field it was left in, or else in the
    // technician field.
    CWnd* pFirst = GetDlgItem(m_nFocusCtrlId != 0 ? m_nFocusCtrlId : IDC_BLDG_TECHNICIAN);
    // The page may not be shown yet: the control's own style tells.
    if (pFirst == nullptr || (pFirst->GetStyle() & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE)
        pFirst = GetDlgItem(IDC_BLDG_TECHNICIAN);
    if (pFirst == nullptr) {
        m_bOpening = false;
        return TRUE;
    }
    pFirst->SetFocus();
    m_bOpening = false;
    return FALSE;
}

void CBuildingInfoDialog::AfterClear()
{
    CSimbrel1View::InitDatePicker(1, &m_datePicker, m_strTestDateUniv, m_strTestDateLocal);
}

bool CBuildingInfoDialog::GetControlInsets(int nID, RECT& rcInsets) const
{
    if (nID != IDC_BLDG_DIMENSIONS_GROUP || m_pView == nullptr)
        return false;
    const int nStandard = m_pView->m_pSettings->m_nStandard;
    // The group box ends above the buttons that are not there.
    if (nStandard == kAstmE779 && !m_bFromTestGraph)
        rcInsets = RECT{0, 0, 0, -22};
    else if (nStandard == kCgsb)
        rcInsets = RECT{0, 0, 0, -42};
    else
        return false;
    return true;
}

void CBuildingInfoDialog::SetTexts()
{
    if (m_pView == nullptr)
        return;
    const int nStandard = m_pView->m_pSettings->m_nStandard;
    const bool bEnOrIso = nStandard == kEn13829 || nStandard == kIso9972;
    const bool bIsoOnly = nStandard == kIso9972;
    auto show = [this](int nID, bool bShow) { ShowControl(bShow ? SW_SHOW : SW_HIDE, nID); };
    show(IDC_BLDG_UNCERTAINTY_LABEL, bEnOrIso);
    show(IDC_BLDG_UNCERTAINTY, bEnOrIso);
    show(IDC_BLDG_TO_TEST_GRAPH, m_bFromTestGraph != 0);
    if (CWnd* pButton = GetDlgItem(IDC_BLDG_TO_TEST_GRAPH))
        pButton->EnableWindow(m_bFromTestGraph && !m_strHeight.IsEmpty() ? TRUE : FALSE);
    for (int nID : {IDC_BLDG_CUSTOMER_EMAIL_LABEL, IDC_BLDG_CUSTOMER_EMAIL, IDC_BLDG_CUSTOMER_WEBSITE_LABEL,
                    IDC_BLDG_CUSTOMER_WEBSITE})
        show(nID, true);
    // A free-text date from an old file shows as it was read.
    const bool bPicker = m_pView->m_bNewFormatFile && m_strTestDate.IsEmpty();
    show(IDC_BLDG_DATE_PICKER, bPicker);
    show(IDC_BLDG_DATE_TEXT, !bPicker);
    show(IDC_BLDG_UNIT_LABEL, false);
    show(IDC_BLDG_UNIT_LABEL2, false);
    const bool bHeight = nStandard != kCgsb;
    show(IDC_BLDG_HEIGHT, bHeight);
    show(IDC_BLDG_HEIGHT_LABEL, bHeight);
    for (int nID : {IDC_BLDG_ISO_REFERENCE_LABEL, IDC_BLDG_COUNTRY_VOLUME, IDC_BLDG_COUNTRY_FLOOR_AREA,
                    IDC_BLDG_COUNTRY_SURFACE_AREA})
        show(nID, bIsoOnly);
    show(IDC_BLDG_DIMENSIONS_GROUP, !bIsoOnly);

    SetControlText(0, IDS_BLDG_CAPTION);
    for (const CControlText& text : kControlTexts)
        SetControlText(text.nID, text.nIDText);

    const bool bIso = m_pView->m_pSettings->m_nStandard == kIso9972;
    auto setWithUnit = [this](int nID, int nIDText, const CString& strUnit) {
        if (CWnd* pLabel = GetDlgItem(nID))
            pLabel->SetWindowText((LoadText(static_cast<unsigned int>(nIDText)) + L" (" + strUnit + L")").GetString());
    };
    setWithUnit(IDC_BLDG_VOLUME_LABEL, bIso ? IDS_BLDG_INTERNAL_VOLUME : IDS_BLDG_VOLUME, m_strVolumeUnit);
    setWithUnit(IDC_BLDG_FLOOR_AREA_LABEL, bIso ? IDS_BLDG_NET_FLOOR_AREA : IDS_FLOOR_AREA, m_strFloorAreaUnit);
    setWithUnit(IDC_BLDG_SURFACE_AREA_LABEL, bIso ? IDS_ENVELOPE_AREA : IDS_SURFACE_AREA, m_strSurfaceAreaUnit);
    setWithUnit(IDC_BLDG_HEIGHT_LABEL, IDS_BLDG_HEIGHT, m_strLengthUnit);
    setWithUnit(IDC_BLDG_UNCERTAINTY_LABEL, IDS_BLDG_UNCERTAINTY, L"%");
}

void CBuildingInfoDialog::OnDimensionChange()
{
    if (m_pView != nullptr)
        m_pView->FilterNumericEdit(this, 1, 1, 0);
}

void CBuildingInfoDialog::OnHeightChange()
{
    OnDimensionChange();
    CString strHeight;
    if (CWnd* pHeight = GetDlgItem(IDC_BLDG_HEIGHT))
        strHeight = pHeight->GetWindowText();
    if (m_bFromTestGraph) {
        if (CWnd* pButton = GetDlgItem(IDC_BLDG_TO_TEST_GRAPH))
            pButton->EnableWindow(strHeight.IsEmpty() ? FALSE : TRUE);
    }
    if (m_pView != nullptr && m_pView->m_pSettings->m_nStandard == kAstmE779) {
        m_strHeight = strHeight;
        const double dHeight = CSimbrel1View::TextToDouble(CSimbrel1View::RemoveCommas(strHeight));
        m_dHeight[0] = dHeight;
        m_dHeight[1] = dHeight;
    }
}

void CBuildingInfoDialog::OnHeightKillFocus()
{
    if (m_pView != nullptr && m_pView->m_pSettings->m_nStandard == kAstmE779 && m_pView->m_pTestGraph != nullptr)
        m_pView->m_pTestGraph->CheckStackEffectAll();
}

void CBuildingInfoDialog::OnToTestGraph()
{
    m_bFromTestGraph = 0;
    PostPageAction(CSimbrel1View::kPageBuildingToTestScreen);
}

void CBuildingInfoDialog::OnDateSetFocus(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bOpening)
        return;
    if (m_strTestDateUniv.IsEmpty())
        CSimbrel1View::ResetDatePickerFormat(&m_datePicker);
    else
        CSimbrel1View::SetDatePickerFromKey(&m_datePicker, m_strTestDateUniv, m_strTestDateLocal);
    CSimbrel1View::ReadDatePicker(&m_datePicker, m_strTestDateUniv, m_strTestDateLocal);
    *pResult = 0;
}

void CBuildingInfoDialog::OnDateChange(NMHDR*, LRESULT* pResult)
{
    CSimbrel1View::ReadDatePicker(&m_datePicker, m_strTestDateUniv, m_strTestDateLocal);
    *pResult = 0;
}

void CBuildingInfoDialog::OnNext()
{
    PostPageAction(CSimbrel1View::kPageNext);
}

void CBuildingInfoDialog::OnPrevious()
{
    PostPageAction(CSimbrel1View::kPagePrevious);
}

CString CBuildingInfoDialog::WriteToFile() const
{
    const int nStandard = m_pView != nullptr ? m_pView->m_pSettings->m_nStandard : kCgsb;
    const bool bEnOrIso = nStandard == kEn13829 || nStandard == kIso9972;
    const bool bNewFormat = m_pView == nullptr || m_pView->m_bNewFormatFile;
    auto line = [](const wchar_t* pszKey, const CString& strValue) {
        return CSimbrel1View::MakeKeyLine(CString(), pszKey, strValue);
    };

    CString strText = L"\nTEST INFO\n";
    // A free-text date (from an old file) goes back as it came.
    if (bNewFormat && m_strTestDate.IsEmpty()) {
        strText += line(L"Test_Date_QAR_Univ:", m_strTestDateUniv);
        strText += line(L"Test_Date_Local:", CSimbrel1View::DotsToSlashes(m_strTestDateLocal));
    } else {
        strText += line(L"Test_Date:", m_strTestDate);
    }
    strText += line(L"Technician:", m_strTechnician);
    if (bEnOrIso) {
        // The flag is the deviations page's; its line stands here.
        CString strInclude;
        strInclude.Format(L"%s %d", L"IncludeDeviationsInTestReport:", m_pView->m_pDeviations->m_bIncludeInReport);
        strText += strInclude + L"\n";
    }

    strText += L"\nCUSTOMER INFO\n";
    for (const CTextKey& key : kCustomerKeys)
        strText += line(key.pszKey, this->*key.pText);
    strText += L"\nBUILDING INFO\n";
    for (const CTextKey& key : kBuildingKeys)
        strText += line(key.pszKey, this->*key.pText);
    strText += L"\nBUILDING DIMENSIONS\n";
    for (const CTextKey& key : kDimensionKeys)
        strText += line(key.pszKey, this->*key.pText);
    if (nStandard == kIso9972) {
        for (const CCountrySpecificKey& key : kCountrySpecificKeys)
            strText += line(key.pszKey, this->*key.pFlag ? L"True" : L"False");
    }
    if (nStandard != kCgsb)
        strText += line(kHeightKey, m_strHeight);
    if (bEnOrIso)
        strText += line(kUncertaintyKey, m_strUncertainty);
    return strText;
}

void CBuildingInfoDialog::ReadFromFile(int bWithDate)
{
    if (m_pView == nullptr)
        return;
    auto value = [this](const wchar_t* pszKey) { return m_pView->GetPrefixedFileValue(CString(), pszKey); };

    // Year_of_Construction comes after the height.
    for (const CTextKey& key : kBuildingKeys)
        if (key.pText != &CBuildingInfoDialog::m_strYearOfConstruction)
            this->*key.pText = value(key.pszKey);
    for (const CTextKey& key : kDimensionKeys)
        this->*key.pText = value(key.pszKey);
    if (m_pView->m_pSettings->m_nStandard == kIso9972) {
        for (const CCountrySpecificKey& key : kCountrySpecificKeys) {
            this->*key.pFlag = FALSE;
            if (!(this->*key.pDimension).IsEmpty() && value(key.pszKey) == L"True")
                this->*key.pFlag = TRUE;
        }
    }
    m_strHeight = value(kHeightKey);
    m_strYearOfConstruction = value(L"Year_of_Construction:");

    if (bWithDate) {
        if (m_pView->m_bNewFormatFile) {
            m_strTestDate.Empty();
            m_strTestDateUniv = value(L"Test_Date_QAR_Univ:");
            if (m_strTestDateUniv.IsEmpty()) {
                m_strTestDate = value(L"Test_Date:");
            } else if (!CSimbrel1View::IsValidDateKey(m_strTestDateUniv)) {
                // A damaged date key: kept whole as a free-text date.
                m_strTestDate = m_strTestDateUniv;
                m_strTestDateUniv.Empty();
                m_strTestDateLocal.Empty();
            } else {
                CSimbrel1View::SetDatePickerFromKey(&m_datePicker, m_strTestDateUniv, m_strTestDateLocal);
            }
        } else {
            m_strTestDate = value(L"Test_Date:");
        }
    }

    m_strTechnician = value(L"Technician:");
    for (const CTextKey& key : kCustomerKeys)
        this->*key.pText = value(key.pszKey);
    m_strUncertainty = value(kUncertaintyKey);

    UpdateDimensionValues(1);
    if (m_bCreated)
        UpdateData(FALSE);
}
