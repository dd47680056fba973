#include "pages/BuildingInfoDialog.h"

#include "app/Lifecycle.h"

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

void CBuildingInfoDialog::UpdateDimensionValues(int) {}

void CBuildingInfoDialog::ConvertDimensionUnits(double, int) {}

CString CBuildingInfoDialog::WriteToFile() const
{
    return CString();
}

void CBuildingInfoDialog::ReadFromFile(int) {}
