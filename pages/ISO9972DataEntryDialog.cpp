#include "pages/ISO9972DataEntryDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"

CISO9972DataEntryDialog::CISO9972DataEntryDialog(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
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

// The page window.

void CISO9972DataEntryDialog::ShowPage()
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

BOOL CISO9972DataEntryDialog::DestroyWindow()
{
    m_bCreated = 0;
    return CDialog::DestroyWindow();
}

void CISO9972DataEntryDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId))
        pControl->SetFocus();
}

BOOL CISO9972DataEntryDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pView != nullptr)
        m_pView->LayoutPageIfPending(this, 1.0);
    return TRUE;
}

CString CISO9972DataEntryDialog::WriteToFile() const
{
    return CString();
}

void CISO9972DataEntryDialog::ReadFromFile() {}
