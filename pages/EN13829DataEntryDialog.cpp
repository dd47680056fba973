#include "pages/EN13829DataEntryDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"

CEN13829DataEntryDialog::CEN13829DataEntryDialog(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
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

// The page window.

void CEN13829DataEntryDialog::ShowPage()
{
    if (GetSafeHwnd() == nullptr) {
        m_bCreated = 1;
        if (!Create(IDD)) {
            m_bCreated = 0;
            return;
        }
    }
    ShowWindow(SW_SHOW);
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
}

BOOL CEN13829DataEntryDialog::DestroyWindow()
{
    m_bCreated = 0;
    return CDialog::DestroyWindow();
}

void CEN13829DataEntryDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
}

BOOL CEN13829DataEntryDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pView != nullptr)
        m_pView->LayoutPageIfPending(this, 1.0);
    return TRUE;
}

CString CEN13829DataEntryDialog::WriteToFile() const
{
    return CString();
}

void CEN13829DataEntryDialog::ReadFromFile() {}
