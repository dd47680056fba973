#include "pages/CustomPressuresDialog.h"

#include "app/Lifecycle.h"

CCustomPressuresDialog::CCustomPressuresDialog() : CDialog(IDD)
{
    TraceLifecycle("CCustomPressuresDialog", true);
}

CCustomPressuresDialog::~CCustomPressuresDialog()
{
    TraceLifecycle("CCustomPressuresDialog", false);
}

void CCustomPressuresDialog::ClearData()
{
    for (CString& strPressure : m_strPressure)
        strPressure.Empty();
    for (auto& row : m_dPressure)
        for (double& dPressure : row)
            dPressure = 0.0;
}

CString CCustomPressuresDialog::WriteToFile() const
{
    return CString();
}

void CCustomPressuresDialog::ReadFromFile() {}
