#include "pages/CustomPressuresDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "res/resource.h"

namespace {

constexpr int kHelpTopic = 8;
constexpr int kOkText = 4407;
constexpr int kHelpText = 4619;

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

CString PressureKey(int i)
{
    CString strKey;
    strKey.Format(L"Build_Press_#%d:", i + 1);
    return strKey;
}

}  // namespace

const int CCustomPressuresDialog::kFieldIds[kPressureCount] = {
    IDC_CUSTOM_PRESSURE_1, IDC_CUSTOM_PRESSURE_2, IDC_CUSTOM_PRESSURE_3,  IDC_CUSTOM_PRESSURE_4,
    IDC_CUSTOM_PRESSURE_5, IDC_CUSTOM_PRESSURE_6, IDC_CUSTOM_PRESSURE_7,  IDC_CUSTOM_PRESSURE_8,
    IDC_CUSTOM_PRESSURE_9, IDC_CUSTOM_PRESSURE_10, IDC_CUSTOM_PRESSURE_11, IDC_CUSTOM_PRESSURE_12,
};

BEGIN_MESSAGE_MAP(CCustomPressuresDialog, CPageDialog)
    ON_BN_CLICKED(IDC_CUSTOM_PRESSURES_NO_ACTION, OnNoAction)
    ON_BN_CLICKED(IDC_CUSTOM_PRESSURES_CLEAR, OnClearButton)
    ON_BN_CLICKED(IDC_CUSTOM_PRESSURES_HELP, OnHelpButton)
END_MESSAGE_MAP()

CCustomPressuresDialog::CCustomPressuresDialog() : CPageDialog(IDD, nullptr)
{
    TraceLifecycle("CCustomPressuresDialog", true);
    m_nNoActionId = IDC_CUSTOM_PRESSURES_NO_ACTION;
    m_EntryFields.assign(std::begin(kFieldIds), std::end(kFieldIds));
    m_nHelpTopic = kHelpTopic;
}

CCustomPressuresDialog::~CCustomPressuresDialog()
{
    TraceLifecycle("CCustomPressuresDialog", false);
}

void CCustomPressuresDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < kPressureCount; ++i)
        DDX_Text(pDX, kFieldIds[i], m_strPressure[i]);
}

void CCustomPressuresDialog::SetTexts()
{
    SetControlText(0, IDS_CUSTOM_PRESSURES_CAPTION);
    SetControlText(IDC_CUSTOM_PRESSURES_HELP, kHelpText);
    SetControlText(IDC_CUSTOM_PRESSURES_GROUP, IDS_CUSTOM_PRESSURES_GROUP);
    SetControlText(IDC_CUSTOM_PRESSURES_CLEAR, IDS_CLEAR);
    SetControlText(IDOK, kOkText);
}

BOOL CCustomPressuresDialog::DestroyWindow()
{
    ParsePressures();
    return CPageDialog::DestroyWindow();
}

void CCustomPressuresDialog::ClearData()
{
    for (CString& strPressure : m_strPressure)
        strPressure.Empty();
    ParsePressures();
}

CString CCustomPressuresDialog::WriteToFile() const
{
    CString strText;
    for (int i = 0; i < kPressureCount; ++i)
        strText += CSimbrel1View::MakeKeyLine(L"", PressureKey(i), m_strPressure[i]);
    return strText;
}

CString CCustomPressuresDialog::NormalizePressureText(const CString& strValue)
{
    return CSimbrel1View::TextToDouble(strValue) == -1.0 ? CString(L"0.0") : strValue;
}

void CCustomPressuresDialog::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    for (int i = 0; i < kPressureCount; ++i)
        m_strPressure[i] = NormalizePressureText(m_pView->GetPrefixedFileValue(L"", PressureKey(i)));
    ParsePressures();
}

void CCustomPressuresDialog::ParsePressures()
{
    // A hand-edited "nan" or "1e999" would pass the end-of-list test and
    // reach the fan as a target: the parser reads what is not a finite
    // number as 0.
    for (auto& row : m_dPressure)
        for (int i = 0; i < kPressureCount; ++i)
            row[i] = CSimbrel1View::TextToDouble(m_strPressure[i]);
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
