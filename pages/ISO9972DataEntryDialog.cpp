#include "pages/ISO9972DataEntryDialog.h"

#include "app/Lifecycle.h"

CISO9972DataEntryDialog::CISO9972DataEntryDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CISO9972DataEntryDialog", true);
}

CISO9972DataEntryDialog::~CISO9972DataEntryDialog()
{
    TraceLifecycle("CISO9972DataEntryDialog", false);
}

void CISO9972DataEntryDialog::ClearData()
{
    for (CString* pText : {&m_strLimitValueName, &m_strLimitValue, &m_strRegulation, &m_strHeatingType,
                           &m_strAirConditioningType, &m_strVentilationType, &m_strIsoTestMethod})
        pText->Empty();
    m_nWindExposure = 0;
    m_nWindClass = 0;
    m_nVentilationSelection = 0;
    m_nLimitValueType = 0;
}

void CISO9972DataEntryDialog::ConvertLimitValueUnits(double, double) {}

void CISO9972DataEntryDialog::GetLimitValueUnits() {}

CString CISO9972DataEntryDialog::WriteToFile() const
{
    return CString();
}

void CISO9972DataEntryDialog::ReadFromFile() {}
