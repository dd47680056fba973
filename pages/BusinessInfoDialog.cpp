#include "pages/BusinessInfoDialog.h"

#include "app/Lifecycle.h"

CBusinessInfoDialog::CBusinessInfoDialog() : CDialog(IDD)
{
    TraceLifecycle("CBusinessInfoDialog", true);
}

CBusinessInfoDialog::~CBusinessInfoDialog()
{
    TraceLifecycle("CBusinessInfoDialog", false);
}

void CBusinessInfoDialog::ClearData()
{
    for (CString* pText : {&m_strBusinessName, &m_strNameLine2, &m_strAddress, &m_strAddressLine2, &m_strCity,
                           &m_strState, &m_strZip, &m_strPhone, &m_strFax, &m_strEmail, &m_strWebsite})
        pText->Empty();
}

void CBusinessInfoDialog::ImportLogoFile(const CString&) {}

CString CBusinessInfoDialog::WriteToFile() const
{
    return CString();
}

void CBusinessInfoDialog::ReadFromFile() {}
