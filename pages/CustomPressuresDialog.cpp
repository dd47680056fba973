#include "pages/CustomPressuresDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"

namespace {

template <size_t N>
void SetPreset(CCustomPressuresDialog& pressures, const int (&values)[N])
{
    static_assert(N <= CCustomPressuresDialog::kPressureCount);
    for (int i = 0; i < CCustomPressuresDialog::kPressureCount; ++i) {
        if (i < static_cast<int>(N))
            pressures.m_strPressure[i].Format(L"%d", values[i]);
        else
            pressures.m_strPressure[i].Empty();
    }
    pressures.ParsePressures();
}

}  // namespace

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

void CCustomPressuresDialog::ParsePressures()
{
    for (auto& row : m_dPressure) {
        for (int i = 0; i < kPressureCount; ++i)
            row[i] = CSimbrel1View::TextToDouble(m_strPressure[i]);
        row[kPressureCount] = 0.0;
    }
}

void CCustomPressuresDialog::SetCgsbPressures()
{
    SetPreset(*this, {50, 45, 40, 35, 30, 25, 20, 15});
}

void CCustomPressuresDialog::SetEn13829Pressures()
{
    SetPreset(*this, {65, 59, 53, 47, 41, 35, 29, 23, 17, 11});
}

void CCustomPressuresDialog::SetAstmE779Pressures()
{
    SetPreset(*this, {60, 55, 50, 45, 40, 35, 30, 25, 20, 15});
}

void CCustomPressuresDialog::SetIso9972Pressures()
{
    SetPreset(*this, {64, 58, 52, 46, 40, 34, 28, 22, 16, 10});
}
