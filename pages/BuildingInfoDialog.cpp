#include "pages/BuildingInfoDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"

namespace {
// Standard codes of the test settings.
constexpr int kCgsb = 0;
constexpr int kEn13829 = 1;
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

const wchar_t* const kHeightKey = L"Height:";
const wchar_t* const kUncertaintyKey = L"Percent_Uncertainty_In_Measured_Dimensions:";
}  // namespace

CBuildingInfoDialog::CBuildingInfoDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CBuildingInfoDialog", true);
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

void CBuildingInfoDialog::ConvertDimensionUnits(double, int) {}

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
