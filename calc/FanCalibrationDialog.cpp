#include "calc/FanCalibrationDialog.h"

#include <cmath>

#include "app/DrawButton.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "res/resource.h"

namespace {

// Factory C per flow unit (cfm, m³/h, l/s), [row][ring]; 0 marks a ring the
// fan does not have. The m³/h and l/s tables are the cfm one converted and
// rounded to four significant digits, kept as shipped.
constexpr double kFactoryC[3][5][6] = {
    {{506.8, 190.1, 60.67, 21.37, 7.216, 2.726},
     {498.9, 190.1, 60.35, 20.47, 6.87, 2.817},
     {438.7, 160.8, 48.08, 11.36, 7.246, 2.802},
     {104.4, 39.25, 15.31, 6.26, 0, 0},
     {108.7, 40.5, 15.27, 5.84, 1.064, 0}},
    {{861.1, 323.0, 103.1, 36.31, 12.26, 4.632},
     {847.6, 323.0, 102.5, 34.78, 11.67, 4.786},
     {745.4, 273.2, 81.69, 19.3, 12.31, 4.761},
     {177.4, 66.69, 26.01, 10.64, 0, 0},
     {184.7, 68.81, 25.94, 9.922, 1.808, 0}},
    {{239.2, 89.72, 28.63, 10.09, 3.406, 1.287},
     {235.5, 89.72, 28.48, 9.661, 3.242, 1.329},
     {207.0, 75.89, 22.69, 5.361, 3.42, 1.322},
     {49.27, 18.52, 7.226, 2.954, 0, 0},
     {51.3, 19.11, 7.207, 2.756, 0.502, 0}},
};

constexpr double kFactoryN[5][6] = {
    {0.4879, 0.4876, 0.4955, 0.5132, 0.4942, 0.5267},
    {0.4918, 0.4889, 0.4958, 0.5178, 0.5022, 0.5139},
    {0.4848, 0.4952, 0.4968, 0.5157, 0.5032, 0.5166},
    {0.5, 0.5, 0.5, 0.5, 0, 0},
    {0.5032, 0.5038, 0.5064, 0.514, 0.502, 0},
};

// Below these fan pressures (Pa) the ring's calibration is not trusted.
constexpr double kMinFanPressure[5][6] = {
    {25, 25, 25, 15, 15, 15},
    {25, 25, 25, 25, 15, 15},
    {25, 25, 20, 15, 15, 15},
    {25, 25, 25, 10, 0, 0},
    {25, 25, 25, 3, 5, 0},
};

// Nominal flow range per ring in cfm: fans '3', '4', '5'; 'A'; 'B'.
constexpr double kNominalRange[3][6][2] = {
    {{2000, 6000}, {800, 3000}, {200, 1100}, {100, 400}, {20, 200}, {10, 40}},
    {{500, 2000}, {100, 900}, {80, 400}, {20, 160}, {0, 0}, {0, 0}},
    {{500, 2000}, {200, 900}, {40, 400}, {20, 160}, {2, 30}, {0, 0}},
};

const wchar_t* const kFanKeyNames[5] = {L"TypeR", L"TypeR_230V", L"TypeS_230V", L"AVA", L"AVB"};
// Key forms of files from before the current names.
const wchar_t* const kOldFanKeyNames[5] = {nullptr, L"TypeR (230V)", L"TypeS (230V)", nullptr, nullptr};
const UINT kFanTitleIds[5] = {IDS_FAN_TYPE_R_110V, IDS_FAN_TYPE_R_230V, IDS_FAN_TYPE_S_230V, IDS_FAN_AIRVANE_A,
                              IDS_FAN_AIRVANE_B};

const int kCFieldIds[6] = {IDC_FANCAL_C_RING0, IDC_FANCAL_C_RING1, IDC_FANCAL_C_RING2,
                           IDC_FANCAL_C_RING3, IDC_FANCAL_C_RING4, IDC_FANCAL_C_RING5};
const int kNFieldIds[6] = {IDC_FANCAL_N_RING0, IDC_FANCAL_N_RING1, IDC_FANCAL_N_RING2,
                           IDC_FANCAL_N_RING3, IDC_FANCAL_N_RING4, IDC_FANCAL_N_RING5};
const int kRingLabelIds[5] = {IDC_FANCAL_RING1_LABEL, IDC_FANCAL_RING2_LABEL, IDC_FANCAL_RING3_LABEL,
                              IDC_FANCAL_RING4_LABEL, IDC_FANCAL_RING5_LABEL};

constexpr int kHelpTopic = 13;
constexpr int kNoHelpTopic = 255;
constexpr int kExclamationIcon = 175;

int FieldId(int nField)
{
    return nField < 6 ? kCFieldIds[nField] : kNFieldIds[nField - 6];
}

CString FormatG5(double dValue)
{
    CString str;
    str.Format(L"%.5g", dValue);
    return str;
}

// |value - factory| / factory above the tolerance; a ring without a
// factory value is never custom.
int DiffersFrom(double dValue, double dFactory, double dTolerance)
{
    if (dFactory == 0.0)
        return 0;
    return std::fabs(dValue - dFactory) / dFactory > dTolerance ? 1 : 0;
}

// The value to five significant digits as digits and at most one point.
CString PlainDecimal(double dValue)
{
    if (dValue == 0.0 || !std::isfinite(dValue))
        return L"0";
    const int nExponent = static_cast<int>(std::floor(std::log10(std::fabs(dValue))));
    const int nDecimals = nExponent >= 4 ? 0 : 4 - nExponent;
    CString str;
    str.Format(L"%.*f", nDecimals, dValue);
    if (str.Find(L'.') >= 0) {
        while (str.GetLength() > 0 && str[str.GetLength() - 1] == L'0')
            str.Delete(str.GetLength() - 1);
        if (str.GetLength() > 0 && str[str.GetLength() - 1] == L'.')
            str.Delete(str.GetLength() - 1);
    }
    return str;
}

}  // namespace

BEGIN_MESSAGE_MAP(CFanCalibrationDialog, CDialog)
    ON_EN_UPDATE(IDC_FANCAL_C_RING0, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_C_RING1, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_C_RING2, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_C_RING3, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_C_RING4, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_C_RING5, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_N_RING0, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_N_RING1, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_N_RING2, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_N_RING3, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_N_RING4, OnFieldUpdate)
    ON_EN_UPDATE(IDC_FANCAL_N_RING5, OnFieldUpdate)
    ON_BN_CLICKED(IDC_FANCAL_SET_TO_DEFAULTS, OnSetToDefaults)
    ON_BN_CLICKED(IDC_FANCAL_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_FANCAL_NO_ACTION, OnNoAction)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_FANCAL_DATE, OnDateChange)
    ON_NOTIFY(NM_SETFOCUS, IDC_FANCAL_DATE, OnDateSetFocus)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CFanCalibrationDialog::CFanCalibrationDialog() : CDialog(IDD)
{
    TraceLifecycle("CFanCalibrationDialog", true);
    for (int r = 0; r < kRings; ++r) {
        m_pFieldText[r] = &m_strFieldC[r];
        m_pFieldText[kRings + r] = &m_strFieldN[r];
    }
    // An unknown fan code keeps this selection: flow 0, never an
    // undefined number.
    m_dSelN = 0.0;
    m_dSelC = 0.0;
    m_dSelMinFanPressure = 0.0;
}

CFanCalibrationDialog::~CFanCalibrationDialog()
{
    TraceLifecycle("CFanCalibrationDialog", false);
}

int CFanCalibrationDialog::GetFanRow(wchar_t chFanCode)
{
    switch (chFanCode) {
    case L'3':
        return 0;
    case L'5':
        return 1;
    case L'4':
        return 2;
    case L'A':
        return 3;
    case L'B':
        return 4;
    default:
        return -1;
    }
}

int CFanCalibrationDialog::GetRingCount(int nRow)
{
    return nRow == 3 ? 4 : nRow == 4 ? 5 : 6;
}

const wchar_t* CFanCalibrationDialog::GetFanKeyName(int nRow)
{
    return nRow >= 0 && nRow < kFanRows ? kFanKeyNames[nRow] : L"";
}

static bool IsInTable(int nRow, int nRing)
{
    return nRow >= 0 && nRow < CFanCalibrationDialog::kFanRows && nRing >= 0 &&
           nRing < CFanCalibrationDialog::kRings;
}

double CFanCalibrationDialog::GetFactoryN(int nRow, int nRing)
{
    return IsInTable(nRow, nRing) ? kFactoryN[nRow][nRing] : 0.0;
}

double CFanCalibrationDialog::GetFactoryMinFanPressure(int nRow, int nRing)
{
    return IsInTable(nRow, nRing) ? kMinFanPressure[nRow][nRing] : 0.0;
}

double CFanCalibrationDialog::GetFactoryC(int nRow, int nRing) const
{
    const int nUnit = m_pView != nullptr ? m_pView->m_nFlowUnit : 0;
    if (nUnit < 0 || nUnit > 2 || !IsInTable(nRow, nRing))
        return 0.0;
    return kFactoryC[nUnit][nRow][nRing];
}

void CFanCalibrationDialog::LoadFanRingCalibration(wchar_t chFanCode, int nRing)
{
    const int nRow = GetFanRow(chFanCode);
    if (nRow < 0 || nRing < 0 || nRing >= GetRingCount(nRow))
        return;
    m_dSelC = m_dFanC[nRow][nRing];
    m_dSelN = m_dFanN[nRow][nRing];
    m_dSelMinFanPressure = kMinFanPressure[nRow][nRing];
}

void CFanCalibrationDialog::GetNominalFlowRange(wchar_t chFanCode, int nRing, double& dMin, double& dMax) const
{
    dMin = 0.0;
    dMax = 0.0;
    const int nRow = GetFanRow(chFanCode);
    if (nRow < 0 || nRing < 0 || nRing >= GetRingCount(nRow))
        return;
    const int nTable = nRow <= 2 ? 0 : nRow - 2;
    const double dFactor = m_pView != nullptr ? m_pView->m_dFlowFactor : 1.0;
    dMin = kNominalRange[nTable][nRing][0] * dFactor;
    dMax = kNominalRange[nTable][nRing][1] * dFactor;
}

void CFanCalibrationDialog::FormatToWidth(CString& strText, int nWidth)
{
    CString strWide = strText;
    if (strWide.GetLength() > nWidth) {
        strWide = strWide.Left(nWidth);
    } else {
        if (strWide.Find(L'.') < 0)
            strWide += L".";
        while (strWide.GetLength() < nWidth)
            strWide += L"0";
    }
    // A text cut short would read back as another number (0.000204 as
    // 0.000, 123456 as 1.234): such a value keeps its digits instead.
    const double dValue = CSimbrel1View::TextToDouble(strText);
    if (CSimbrel1View::TextToDouble(strWide) != dValue || strWide.Find(L'e') >= 0 || strWide.Find(L'E') >= 0)
        strWide = PlainDecimal(dValue);
    strText = strWide;
}

CString CFanCalibrationDialog::FormatC(double dValue)
{
    CString str = FormatG5(dValue);
    FormatToWidth(str, 5);
    return str;
}

CString CFanCalibrationDialog::FormatN(double dValue)
{
    CString str = FormatG5(dValue);
    FormatToWidth(str, 6);
    return str;
}

int CFanCalibrationDialog::IsCustomC(int nRow, int nRing) const
{
    return DiffersFrom(m_dFanC[nRow][nRing], GetFactoryC(nRow, nRing), 1e-5);
}

int CFanCalibrationDialog::IsCustomN(int nRow, int nRing) const
{
    return DiffersFrom(m_dFanN[nRow][nRing], kFactoryN[nRow][nRing], 1e-6);
}

int CFanCalibrationDialog::AnyCustomForCurrentFan() const
{
    if (m_nFanRow < 0 || m_nFanRow >= kFanRows)
        return 0;
    for (int r = 0; r < GetRingCount(m_nFanRow); ++r) {
        if (IsCustomC(m_nFanRow, r) || IsCustomN(m_nFanRow, r))
            return 1;
    }
    return 0;
}

void CFanCalibrationDialog::ResetFanRowToFactory(int nRow)
{
    if (nRow < 0 || nRow >= kFanRows)
        return;
    for (int r = 0; r < kRings; ++r) {
        m_dFanC[nRow][r] = GetFactoryC(nRow, r);
        m_dFanN[nRow][r] = kFactoryN[nRow][r];
        m_strFanC[nRow][r] = FormatC(m_dFanC[nRow][r]);
        m_strFanN[nRow][r] = FormatN(m_dFanN[nRow][r]);
        m_bCustomC[nRow][r] = 0;
        m_bCustomN[nRow][r] = 0;
    }
    if (nRow == m_nFanRow)
        RefreshFields();
}

void CFanCalibrationDialog::ResetToFactory()
{
    for (int nRow = 0; nRow < kFanRows; ++nRow)
        ResetFanRowToFactory(nRow);
    m_bAnyCustom = 0;
    m_strCalDateUniv.Empty();
    m_strCalDateLocal.Empty();
}

void CFanCalibrationDialog::RescaleCustomC(double dFactor)
{
    for (int nRow = 0; nRow < kFanRows; ++nRow) {
        for (int r = 0; r < kRings; ++r) {
            if (m_bCustomC[nRow][r])
                m_dFanC[nRow][r] *= dFactor;
            else
                m_dFanC[nRow][r] = GetFactoryC(nRow, r);
            m_strFanC[nRow][r] = FormatC(m_dFanC[nRow][r]);
        }
    }
}

CString CFanCalibrationDialog::WriteCalibrationKeys() const
{
    CString strText = CSimbrel1View::MakeKeyLine(L"", L"Custom_Calibration_Date_QAR_Univ:", m_strCalDateUniv);
    strText += CSimbrel1View::MakeKeyLine(L"", L"Custom_Calibration_Date_Local:",
                                          CSimbrel1View::DotsToSlashes(m_strCalDateLocal));
    for (int nRow = 0; nRow < kFanRows; ++nRow) {
        for (int r = 0; r < kRings; ++r) {
            CString strKey;
            strKey.Format(L"Fan_Calib_%s_Ring%d:", kFanKeyNames[nRow], r);
            strText += CSimbrel1View::MakeKeyLine(L"", strKey, m_strFanC[nRow][r] + L" " + m_strFanN[nRow][r]);
        }
    }
    return strText;
}

void CFanCalibrationDialog::ReadCalibrationKeys()
{
    m_strCalDateUniv = m_pView->GetFileValue(L"Custom_Calibration_Date_QAR_Univ:");
    // A date that is not a valid date key gives no local date and is
    // written back as it was read.
    m_strCalDateLocal.Empty();
    if (!m_strCalDateUniv.IsEmpty())
        CSimbrel1View::SetDatePickerFromKey(&m_DatePicker, m_strCalDateUniv, m_strCalDateLocal);

    for (int nRow = 0; nRow < kFanRows; ++nRow) {
        for (int r = 0; r < GetRingCount(nRow); ++r) {
            CString strKey;
            strKey.Format(L"Fan_Calib_%s_Ring%d:", kFanKeyNames[nRow], r);
            CString strValue = m_pView->GetFileValue(strKey);
            // Earlier versions wrote an empty last ring of the AVB fan.
            if (nRow == 4 && r == 4) {
                const int nPoint = strValue.ReverseFind(L'.');
                if (nPoint < 0 || strValue.Mid(nPoint + 1) == L"0000") {
                    CString strN = FormatG5(kFactoryN[nRow][r]);
                    FormatToWidth(strN, 6);
                    strValue = FormatG5(GetFactoryC(nRow, r)) + L" " + strN;
                }
            }
            if (strValue.IsEmpty() && kOldFanKeyNames[nRow] != nullptr) {
                strKey.Format(L"Fan_Calib_%s Ring%d:", kOldFanKeyNames[nRow], r);
                strValue = m_pView->GetFileValue(strKey);
            }
            if (strValue.IsEmpty())
                continue;
            int nSeparator = strValue.Find(L' ');
            int nSeparatorLength = 1;
            if (nSeparator < 0) {
                nSeparator = strValue.Find(L"\r\n");
                nSeparatorLength = 2;
            }
            if (nSeparator < 0)
                continue;
            m_strFanC[nRow][r] = strValue.Left(nSeparator);
            m_dFanC[nRow][r] = CSimbrel1View::TextToDouble(m_strFanC[nRow][r]);
            m_bCustomC[nRow][r] = IsCustomC(nRow, r);
            const CString strRest = strValue.Mid(nSeparator + nSeparatorLength);
            if (!strRest.IsEmpty())
                m_strFanN[nRow][r] = strRest;
            m_dFanN[nRow][r] = CSimbrel1View::TextToDouble(m_strFanN[nRow][r]);
            m_bCustomN[nRow][r] = IsCustomN(nRow, r);
        }
    }
    m_bAnyCustom = AnyCustomForCurrentFan();
}

// The editor.

void CFanCalibrationDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int r = 0; r < kRings; ++r) {
        DDX_Text(pDX, kCFieldIds[r], m_strFieldC[r]);
        DDX_Text(pDX, kNFieldIds[r], m_strFieldN[r]);
    }
    DDX_Text(pDX, IDC_FANCAL_FAN_TITLE, m_strFanTitle);
    for (int i = 0; i < kRings - 1; ++i)
        DDX_Text(pDX, kRingLabelIds[i], m_strRingLabel[i]);
    DDX_Control(pDX, IDC_FANCAL_DATE, m_DatePicker);
}

int CFanCalibrationDialog::FieldIndexOf(int nID)
{
    for (int i = 0; i < 2 * kRings; ++i) {
        if (FieldId(i) == nID)
            return i;
    }
    return -1;
}

int CFanCalibrationDialog::FieldIsCustom(int nField) const
{
    return nField < kRings ? m_bCustomC[m_nFanRow][nField] : m_bCustomN[m_nFanRow][nField - kRings];
}

void CFanCalibrationDialog::RefreshFields()
{
    if (m_nFanRow < 0 || m_nFanRow >= kFanRows)
        return;
    for (int r = 0; r < kRings; ++r) {
        m_strFieldC[r] = m_strFanC[m_nFanRow][r];
        m_strFieldN[r] = m_strFanN[m_nFanRow][r];
    }
    if (m_hWnd == nullptr)
        return;
    m_bFilling = 1;
    for (int i = 0; i < 2 * kRings; ++i) {
        SetDlgItemText(FieldId(i), m_pFieldText[i]->GetString());
        if (CWnd* pField = GetDlgItem(FieldId(i)))
            pField->Invalidate();
    }
    m_bFilling = 0;
}

BOOL CFanCalibrationDialog::OnInitDialog()
{
    m_nFanRow = m_nFanRow < 0 || m_nFanRow >= kFanRows ? 0 : m_nFanRow;
    m_nFocusButtonId = 0;
    const int nRings = GetRingCount(m_nFanRow);
    const CString strRing = LoadText(IDS_RING);
    m_strFanTitle = LoadText(kFanTitleIds[m_nFanRow]);
    const wchar_t* const pszLetters[5] = {L" A", L" B", L" C", L" D", L" E"};
    const wchar_t* const pszNumbers[5] = {L" 1", L" 2", L" 3", L" 4", L""};
    for (int i = 0; i < kRings - 1; ++i) {
        if (m_nFanRow <= 2)
            m_strRingLabel[i] = strRing + pszLetters[i];
        else
            m_strRingLabel[i] = i + 1 < nRings ? strRing + pszNumbers[i] : CString();
    }
    for (int r = 0; r < kRings; ++r) {
        m_strFieldC[r] = m_strFanC[m_nFanRow][r];
        m_strFieldN[r] = m_strFanN[m_nFanRow][r];
    }
    // What a field that is left empty or at 0 falls back to.
    for (int i = 0; i < 2 * kRings; ++i) {
        const int r = i % kRings;
        m_strOpenText[i] = *m_pFieldText[i];
        m_dOpenValue[i] = i < kRings ? m_dFanC[m_nFanRow][r] : m_dFanN[m_nFanRow][r];
        m_bOpenCustom[i] = FieldIsCustom(i);
    }

    m_bFilling = 1;
    CDialog::OnInitDialog();
    m_bFilling = 0;

    SetDefID(IDC_FANCAL_NO_ACTION);
    for (int r = nRings; r < kRings; ++r) {
        for (int nID : {kCFieldIds[r], kNFieldIds[r]}) {
            CWnd* pField = GetDlgItem(nID);
            pField->EnableWindow(FALSE);
            pField->ShowWindow(SW_HIDE);
        }
    }
    SetWindowText(LoadText(IDS_FANCAL_CAPTION).GetString());
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_FANCAL_HELP, IDS_MSG_HELP},
        {IDC_FANCAL_COEFFICIENT, IDS_FANCAL_COEFFICIENT},
        {IDC_FANCAL_EXPONENT, IDS_FANCAL_EXPONENT},
        {IDC_FANCAL_OPEN, IDS_OPEN},
        {IDC_FANCAL_CUSTOM_NOTE, IDS_FANCAL_CUSTOM_NOTE},
        {IDC_FANCAL_SET_TO_DEFAULTS, IDS_FANCAL_SET_TO_DEFAULTS},
        {IDC_FANCAL_DATE_LABEL, IDS_FANCAL_DATE_LABEL},
        {IDOK, IDS_MSG_OK},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    ShowDate();
    // The first field takes the focus, so the hidden button stays the
    // default and Enter moves from field to field.
    GotoDlgCtrl(GetDlgItem(IDC_FANCAL_C_RING0));
    return FALSE;
}

void CFanCalibrationDialog::ShowDate()
{
    // A key that is not a valid date shows a blank picker, as no date does;
    // the key itself is kept for the file. A blank picker holds today: a
    // custom calibration is entered right after it was made.
    CString strLocal;
    CSimbrel1View::InitDatePicker(1, &m_DatePicker, m_strCalDateUniv, strLocal);
}

void CFanCalibrationDialog::EmptyDates()
{
    m_strCalDateUniv.Empty();
    m_strCalDateLocal.Empty();
    if (m_hWnd != nullptr)
        ShowDate();
}

void CFanCalibrationDialog::StoreDateFromPicker()
{
    CSimbrel1View::ReadDatePicker(&m_DatePicker, m_strCalDateUniv, m_strCalDateLocal);
}

void CFanCalibrationDialog::OnFieldUpdate()
{
    if (m_bFilling)
        return;
    const MSG* pMsg = CWnd::GetCurrentMessage();
    const int nID = LOWORD(pMsg->wParam);
    const int nField = FieldIndexOf(nID);
    if (nField < 0)
        return;
    m_pView->FilterNumericEdit(this, 1, 1, 0);

    const int r = nField % kRings;
    CString strText;
    GetDlgItemText(nID, strText);
    *m_pFieldText[nField] = strText;
    if (nField < kRings) {
        m_strFanC[m_nFanRow][r] = strText;
        m_dFanC[m_nFanRow][r] = CSimbrel1View::TextToDouble(strText);
        m_bCustomC[m_nFanRow][r] = IsCustomC(m_nFanRow, r);
    } else {
        m_strFanN[m_nFanRow][r] = strText;
        m_dFanN[m_nFanRow][r] = CSimbrel1View::TextToDouble(strText);
        m_bCustomN[m_nFanRow][r] = IsCustomN(m_nFanRow, r);
    }
    if (CWnd* pField = GetDlgItem(nID))
        pField->Invalidate();
    m_bAnyCustom = AnyCustomForCurrentFan();
    if (!m_bAnyCustom)
        EmptyDates();
}

void CFanCalibrationDialog::OnSetToDefaults()
{
    ResetFanRowToFactory(m_nFanRow);
    EmptyDates();
    m_bAnyCustom = AnyCustomForCurrentFan();
    RefreshFields();
}

void CFanCalibrationDialog::OnHelpButton()
{
    m_pView->ShowContextHelp(kHelpTopic);
}

// Enter in a field: on to the next C or n field in the tab order.
void CFanCalibrationDialog::OnNoAction()
{
    HWND hFrom = ::GetFocus();
    for (int nStep = 0; nStep < 64; ++nStep) {
        HWND hNext = ::GetNextDlgTabItem(m_hWnd, hFrom, FALSE);
        if (hNext == nullptr || hNext == ::GetFocus())
            return;
        if (FieldIndexOf(::GetDlgCtrlID(hNext)) >= 0) {
            GotoDlgCtrl(CWnd::FromHandle(hNext));
            return;
        }
        hFrom = hNext;
    }
}

void CFanCalibrationDialog::OnDateChange(NMHDR*, LRESULT* pResult)
{
    StoreDateFromPicker();
    *pResult = 0;
}

void CFanCalibrationDialog::OnDateSetFocus(NMHDR*, LRESULT* pResult)
{
    if (m_strCalDateUniv.IsEmpty()) {
        CSimbrel1View::ResetDatePickerFormat(&m_DatePicker);
        StoreDateFromPicker();
    }
    *pResult = 0;
}

HBRUSH CFanCalibrationDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    const int nField = FieldIndexOf(::GetDlgCtrlID(pWnd->GetSafeHwnd()));
    if (nField >= 0 && FieldIsCustom(nField))
        pDC->SetTextColor(RGB(255, 0, 0));
    return hbr;
}

void CFanCalibrationDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_FANCAL_NO_ACTION);
}

BOOL CFanCalibrationDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

int CFanCalibrationDialog::FindInvalidField() const
{
    const int nRings = GetRingCount(m_nFanRow);
    for (int i = 0; i < 2 * kRings; ++i) {
        const CString& strText = *m_pFieldText[i];
        if (i % kRings < nRings && (strText.IsEmpty() || !(CSimbrel1View::TextToDouble(strText) > 0.0)))
            return i;
    }
    return -1;
}

void CFanCalibrationDialog::RestoreInvalidFields()
{
    const int nRings = GetRingCount(m_nFanRow);
    for (int nField = 0; nField < 2 * kRings; ++nField) {
        const int r = nField % kRings;
        const CString& strText = *m_pFieldText[nField];
        if (r >= nRings || (!strText.IsEmpty() && CSimbrel1View::TextToDouble(strText) > 0.0))
            continue;
        *m_pFieldText[nField] = m_strOpenText[nField];
        if (nField < kRings) {
            m_strFanC[m_nFanRow][r] = m_strOpenText[nField];
            m_dFanC[m_nFanRow][r] = m_dOpenValue[nField];
            m_bCustomC[m_nFanRow][r] = m_bOpenCustom[nField];
        } else {
            m_strFanN[m_nFanRow][r] = m_strOpenText[nField];
            m_dFanN[m_nFanRow][r] = m_dOpenValue[nField];
            m_bCustomN[m_nFanRow][r] = m_bOpenCustom[nField];
        }
    }
    m_bAnyCustom = AnyCustomForCurrentFan();
}

void CFanCalibrationDialog::OnOK()
{
    m_bFilling = 1;
    UpdateData(TRUE);
    m_bFilling = 0;
    const int nField = FindInvalidField();
    if (nField >= 0) {
        const CString strLabel = LoadText(nField < kRings ? IDS_FANCAL_COEFFICIENT : IDS_FANCAL_EXPONENT);
        m_pView->ShowMessage(IDS_OUT_OF_RANGE, strLabel + L" " + LoadText(IDS_OUT_OF_RANGE), kExclamationIcon, 0,
                             kNoHelpTopic);
        GotoDlgCtrl(GetDlgItem(FieldId(nField)));
        return;
    }
    for (int r = 0; r < kRings; ++r) {
        m_strFanC[m_nFanRow][r] = m_strFieldC[r];
        m_strFanN[m_nFanRow][r] = m_strFieldN[r];
    }
    EndDialog(IDOK);
}

void CFanCalibrationDialog::OnCancel()
{
    RestoreInvalidFields();
    EndDialog(IDCANCEL);
}
