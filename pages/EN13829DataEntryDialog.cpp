#include "pages/EN13829DataEntryDialog.h"

#include "app/Lifecycle.h"

CEN13829DataEntryDialog::CEN13829DataEntryDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CEN13829DataEntryDialog", true);
}

CEN13829DataEntryDialog::~CEN13829DataEntryDialog()
{
    TraceLifecycle("CEN13829DataEntryDialog", false);
}

void CEN13829DataEntryDialog::ClearData()
{
    for (CString* pText : {&m_strLimitValueName, &m_strLimitValue, &m_strRegulation, &m_strHeatingType,
                           &m_strAirConditioningType, &m_strVentilationType})
        pText->Empty();
    m_nTestMethod = 0;
    m_nWindExposure = 0;
    m_nWindClass = 0;
    m_nVentilationSelection = 0;
    m_nLimitValueType = 0;
}

void CEN13829DataEntryDialog::ConvertLimitValueUnits(double, double) {}

void CEN13829DataEntryDialog::GetLimitValueUnits() {}

CString CEN13829DataEntryDialog::WriteToFile() const
{
    return CString();
}

void CEN13829DataEntryDialog::ReadFromFile() {}
