#include "pages/EquipmentInfoDialogIntl.h"

#include <vector>

#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "framework/Ddx.h"
#include "framework/File.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

const wchar_t* const kDefaultsFileName = L"DefaultEquipmentInfo.dat";
const wchar_t* const kDefaultsTitle = L"Default Equipment Info";
const wchar_t* const kFanKey = L"Build_Fan_Model:";
const wchar_t* const kFanSerialKey = L"Fan_Serial_Number:";
const wchar_t* const kGaugeModelKey = L"Micromanometer_Model:";
const wchar_t* const kGaugeSerialKey = L"Micromanometer_Serial_Number:";
const wchar_t* const kDateUnivKey = L"Manual_Test_Micromanometer_Calibration_Date_QAR_Univ:";
const wchar_t* const kOldDateKey = L"Manual_Test_Micromanometer_Calibration_Date:";
const wchar_t* const kDateLocalKey = L"Manual_Test_Micromanometer_Calibration_Date_Local:";

const wchar_t kFanCodes[CEquipmentInfoDialogIntl::kFans] = {L'3', L'5', L'4', L'A', L'B'};
const UINT kFanItems[CEquipmentInfoDialogIntl::kFans] = {IDS_FAN_TYPE_R_110V, IDS_FAN_TYPE_R_230V, IDS_FAN_TYPE_S_230V,
                                                         IDS_FAN_AIRVANE_A, IDS_FAN_AIRVANE_B};
const wchar_t* const kGaugeNames[CEquipmentInfoDialogIntl::kGauges] = {L"RQ80", L"RQ40", L"RQ10", L"LZT"};
const wchar_t* const kGaugeItems[CEquipmentInfoDialogIntl::kGauges] = {L"RQ-80", L"RQ-40", L"RQ-10", L"LZT"};
constexpr int kDefaultGauge = 1;

constexpr int kNoEntryIcon = 176;
constexpr int kKindOkCancel = 1;
constexpr int kKindYesNo = 4;
constexpr int kDataClearingHelpTopic = 105;
constexpr int kHelpTopic = 14;
constexpr int kMaxErrorText = 1024;

// The gauge's controls, shown for a manual test only.
constexpr int kGaugeControls[] = {IDC_EQUIP_MANUAL_LABEL, IDC_EQUIP_GAUGE_LABEL, IDC_EQUIP_GAUGE_MAKER,
                                  IDC_EQUIP_GAUGE,        IDC_EQUIP_GAUGE_SERIAL, IDC_EQUIP_DATE_LABEL,
                                  IDC_EQUIP_DATE_PICKER};

bool IsFanRow(int nRow)
{
    return nRow >= 0 && nRow < CEquipmentInfoDialogIntl::kFans;
}

CString SystemErrorText(LONG lError)
{
    wchar_t szText[kMaxErrorText] = {};
    if (lError < 0 || ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                       static_cast<DWORD>(lError), 0, szText, kMaxErrorText, nullptr) == 0) {
        CString strCode;
        strCode.Format(L"error %ld", static_cast<long>(lError));
        return strCode;
    }
    CString strText(szText);
    strText.TrimRight();
    return strText;
}

}  // namespace

// ---------------------------------------------------------------------------
// The calibration snapshot.

void CFanCalibrationSnapshot::Take(const CFanCalibrationDialog& calibration)
{
    for (int nRow = 0; nRow < kRows; ++nRow) {
        for (int nRing = 0; nRing < kRings; ++nRing) {
            strC[nRow][nRing] = calibration.m_strFanC[nRow][nRing];
            strN[nRow][nRing] = calibration.m_strFanN[nRow][nRing];
            dC[nRow][nRing] = calibration.m_dFanC[nRow][nRing];
            dN[nRow][nRing] = calibration.m_dFanN[nRow][nRing];
            bCustomC[nRow][nRing] = calibration.m_bCustomC[nRow][nRing];
            bCustomN[nRow][nRing] = calibration.m_bCustomN[nRow][nRing];
        }
    }
    bAnyCustom = calibration.m_bAnyCustom;
    strDateUniv = calibration.m_strCalDateUniv;
    strDateLocal = calibration.m_strCalDateLocal;
}

void CFanCalibrationSnapshot::RestoreAll(CFanCalibrationDialog& calibration) const
{
    for (int nRow = 0; nRow < kRows; ++nRow) {
        for (int nRing = 0; nRing < kRings; ++nRing) {
            calibration.m_strFanC[nRow][nRing] = strC[nRow][nRing];
            calibration.m_strFanN[nRow][nRing] = strN[nRow][nRing];
            calibration.m_dFanC[nRow][nRing] = CSimbrel1View::TextToDouble(strC[nRow][nRing]);
            calibration.m_dFanN[nRow][nRing] = CSimbrel1View::TextToDouble(strN[nRow][nRing]);
            calibration.m_bCustomC[nRow][nRing] = bCustomC[nRow][nRing];
            calibration.m_bCustomN[nRow][nRing] = bCustomN[nRow][nRing];
        }
    }
}

void CFanCalibrationSnapshot::RestoreRow(CFanCalibrationDialog& calibration, int nRow) const
{
    if (nRow < 0 || nRow >= kRows)
        return;
    for (int nRing = 0; nRing < kRings; ++nRing) {
        calibration.m_strFanC[nRow][nRing] = strC[nRow][nRing];
        calibration.m_strFanN[nRow][nRing] = strN[nRow][nRing];
        calibration.m_dFanC[nRow][nRing] = dC[nRow][nRing];
        calibration.m_dFanN[nRow][nRing] = dN[nRow][nRing];
        calibration.m_bCustomC[nRow][nRing] = bCustomC[nRow][nRing];
        calibration.m_bCustomN[nRow][nRing] = bCustomN[nRow][nRing];
    }
    calibration.m_bAnyCustom = bAnyCustom;
    calibration.m_strCalDateUniv = strDateUniv;
    calibration.m_strCalDateLocal = strDateLocal;
}

bool CFanCalibrationSnapshot::TextsDiffer(const CFanCalibrationDialog& calibration) const
{
    for (int nRow = 0; nRow < kRows; ++nRow) {
        for (int nRing = 0; nRing < kRings; ++nRing) {
            if (strC[nRow][nRing] != calibration.m_strFanC[nRow][nRing] ||
                strN[nRow][nRing] != calibration.m_strFanN[nRow][nRing])
                return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// The record.

BEGIN_MESSAGE_MAP(CEquipmentInfoDialogIntl, CPageDialog)
    ON_CBN_SELCHANGE(IDC_EQUIP_FAN, OnFanChange)
    ON_CBN_SELCHANGE(IDC_EQUIP_GAUGE, OnGaugeChange)
    ON_BN_CLICKED(IDC_EQUIP_CALIBRATION, EditFanCalibration)
    ON_BN_CLICKED(IDC_EQUIP_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_EQUIP_NO_ACTION, OnNoAction)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_EQUIP_DATE_PICKER, OnDateChange)
    ON_NOTIFY(NM_SETFOCUS, IDC_EQUIP_DATE_PICKER, OnDateSetFocus)
END_MESSAGE_MAP()

CEquipmentInfoDialogIntl::CEquipmentInfoDialogIntl() : CPageDialog(IDD, nullptr)
{
    TraceLifecycle("CEquipmentInfoDialogIntl", true);
    m_nNoActionId = IDC_EQUIP_NO_ACTION;
    m_EntryFields = {IDC_EQUIP_FAN, IDC_EQUIP_FAN_SERIAL, IDC_EQUIP_GAUGE_SERIAL};
    m_nHelpTopic = kHelpTopic;
}

CEquipmentInfoDialogIntl::~CEquipmentInfoDialogIntl()
{
    TraceLifecycle("CEquipmentInfoDialogIntl", false);
}

int CEquipmentInfoDialogIntl::GetFanIndex(wchar_t chFanCode)
{
    for (int i = 0; i < kFans; ++i) {
        if (kFanCodes[i] == chFanCode)
            return i;
    }
    return -1;
}

wchar_t CEquipmentInfoDialogIntl::GetFanCode(int nIndex)
{
    return nIndex >= 1 && nIndex < kFans ? kFanCodes[nIndex] : L'3';
}

int CEquipmentInfoDialogIntl::GetGaugeModelIndex(const CString& strName)
{
    if (strName == L"RQ40")
        return 1;
    if (strName == L"RQ80")
        return 0;
    if (strName == L"RQ10")
        return 2;
    if (strName == L"LZT")
        return 3;
    return kDefaultGauge;
}

CString CEquipmentInfoDialogIntl::GetGaugeModelName(int nIndex)
{
    return nIndex >= 0 && nIndex < kGauges ? CString(kGaugeNames[nIndex]) : CString();
}

void CEquipmentInfoDialogIntl::ClearData()
{
    m_strFanSerial.Empty();
    m_chFanCode = L'4';
    m_nFanIndex = 2;
    m_nGaugeModel = kDefaultGauge;
    m_strGaugeModel = kGaugeNames[kDefaultGauge];
    m_strGaugeSerial.Empty();
}

bool CEquipmentInfoDialogIntl::IsManualTest() const
{
    if (m_pView == nullptr || m_pView->m_pSettings == nullptr)
        return false;
    return m_pView->m_pSettings->m_chMethodLetter[g_nCurrentDirection == 0 ? 0 : 1] == L'M';
}

bool CEquipmentInfoDialogIntl::HasCompletedTests() const
{
    if (m_pView == nullptr || m_pView->m_pTestGraph == nullptr)
        return false;
    return m_pView->m_pTestGraph->m_CompletedTests[g_nCurrentDirection == 0 ? 0 : 1] > 0;
}

void CEquipmentInfoDialogIntl::SetCalibrationRow(int nIndex)
{
    if (IsFanRow(nIndex) && m_pView != nullptr && m_pView->m_pFanCalibration != nullptr)
        m_pView->m_pFanCalibration->m_nFanRow = nIndex;
}

CString CEquipmentInfoDialogIntl::WriteToFile()
{
    CString strText = CSimbrel1View::MakeKeyLine(L"", kFanKey, CString(m_chFanCode));
    strText += CSimbrel1View::MakeKeyLine(L"", kFanSerialKey, m_strFanSerial);
    if (IsManualTest()) {
        if (m_strGaugeModel.IsEmpty())
            m_strGaugeModel = GetGaugeModelName(m_nGaugeModel);
        CString strLocal = m_strCalDateLocal;
        strLocal.Replace(L".", L"/");
        strText += CSimbrel1View::MakeKeyLine(L"", kGaugeModelKey, m_strGaugeModel);
        strText += CSimbrel1View::MakeKeyLine(L"", kGaugeSerialKey, m_strGaugeSerial);
        strText += CSimbrel1View::MakeKeyLine(L"", kDateUnivKey, m_strCalDateUniv);
        strText += CSimbrel1View::MakeKeyLine(L"", kDateLocalKey, strLocal);
    }
    return strText;
}

void CEquipmentInfoDialogIntl::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    auto value = [this](const wchar_t* pszKey) { return m_pView->GetPrefixedFileValue(L"", pszKey); };
    CString strFan = value(kFanKey);
    if (strFan.IsEmpty())
        strFan = L"3";
    m_chFanCode = strFan[0];
    m_nFanIndex = GetFanIndex(m_chFanCode);
    SetCalibrationRow(m_nFanIndex);
    m_strFanSerial = value(kFanSerialKey);
    m_strGaugeModel = value(kGaugeModelKey);
    if (m_strGaugeModel.IsEmpty()) {
        m_nGaugeModel = kDefaultGauge;
        m_strGaugeModel = kGaugeNames[kDefaultGauge];
    } else {
        m_nGaugeModel = GetGaugeModelIndex(m_strGaugeModel);
    }
    m_strGaugeSerial = value(kGaugeSerialKey);
    m_strCalDateUniv = value(kDateUnivKey);
    if (m_strCalDateUniv.IsEmpty())
        m_strCalDateUniv = value(kOldDateKey);
    m_strCalDateLocal.Empty();
    if (!m_strCalDateUniv.IsEmpty())
        CSimbrel1View::SetDatePickerFromKey(m_datePicker.GetSafeHwnd() != nullptr ? &m_datePicker : nullptr,
                                            m_strCalDateUniv, m_strCalDateLocal);
}

CString CEquipmentInfoDialogIntl::GetDefaultsPath() const
{
    return m_pView != nullptr ? m_pView->m_strDataFolder + kDefaultsFileName : CString(kDefaultsFileName);
}

CString CEquipmentInfoDialogIntl::MakeDefaultsText() const
{
    auto line = [](const wchar_t* pszKey, const CString& strValue) {
        return CString(pszKey) + L" " + strValue + L"\n";
    };
    CString strText = CString(kDefaultsTitle) + L"\r\n";
    strText += line(kFanKey, CString(m_chFanCode));
    strText += line(kFanSerialKey, m_strFanSerial);
    strText += line(kGaugeModelKey, m_strGaugeModel);
    strText += line(kGaugeSerialKey, m_strGaugeSerial);
    strText += line(kDateUnivKey, m_strCalDateUniv);
    return strText;
}

void CEquipmentInfoDialogIntl::ReadDefaultsText(const CString& strText)
{
    const CString strFan = CSimbrel1View::GetTextValue(kFanKey, strText);
    m_chFanCode = strFan.IsEmpty() ? L'?' : strFan[0];
    m_nFanIndex = GetFanIndex(m_chFanCode);
    SetCalibrationRow(m_nFanIndex);
    m_strFanSerial = CSimbrel1View::GetTextValue(kFanSerialKey, strText);
    m_strGaugeModel = CSimbrel1View::GetTextValue(kGaugeModelKey, strText);
    if (m_strGaugeModel.IsEmpty()) {
        m_nGaugeModel = kDefaultGauge;
        m_strGaugeModel = kGaugeNames[kDefaultGauge];
    } else {
        m_nGaugeModel = GetGaugeModelIndex(m_strGaugeModel);
    }
    m_strGaugeSerial = CSimbrel1View::GetTextValue(kGaugeSerialKey, strText);
    m_strCalDateUniv = CSimbrel1View::GetTextValue(kDateUnivKey, strText);
    m_strCalDateLocal.Empty();
    if (!m_strCalDateUniv.IsEmpty())
        CSimbrel1View::SetDatePickerFromKey(m_datePicker.GetSafeHwnd() != nullptr ? &m_datePicker : nullptr,
                                            m_strCalDateUniv, m_strCalDateLocal);
}

void CEquipmentInfoDialogIntl::ReadDefaultsFile()
{
    const CString strPath = GetDefaultsPath();
    if (::GetFileAttributesW(strPath.GetString()) == INVALID_FILE_ATTRIBUTES)
        return;
    CFile file;
    CFileException error;
    if (!file.Open(strPath.GetString(), CFile::modeRead | CFile::shareDenyWrite, &error)) {
        const CString strMessage = CString::FormatText(L"DefaultEquipmentInfo.dat file could not be opened: %s",
                                                       SystemErrorText(error.m_lOsError).GetString());
        AfxMessageBox(strMessage.GetString(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<wchar_t> text;
    try {
        const ULONGLONG nBytes = file.GetLength();
        text.assign(static_cast<size_t>(nBytes / sizeof(wchar_t)) + 1, L'\0');
        file.Read(text.data(), static_cast<UINT>((text.size() - 1) * sizeof(wchar_t)));
        file.Close();
    } catch (const CFileException& e) {
        file.Abort();
        e.ReportError();
        return;
    }
    ReadDefaultsText(CString(text.data()));
}

bool CEquipmentInfoDialogIntl::WriteDefaultsFile()
{
    CFileException error;
    if (CSimbrel1View::WriteUtf16TextFile(GetDefaultsPath(), MakeDefaultsText(), &error, false))
        return true;
    error.ReportError(MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// ---------------------------------------------------------------------------
// The dialog.

void CEquipmentInfoDialogIntl::DoDataExchange(CDataExchange* pDX)
{
    CPageDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EQUIP_DATE_PICKER, m_datePicker);
    DDX_Text(pDX, IDC_EQUIP_FAN_SERIAL, m_strFanSerial);
    DDX_Text(pDX, IDC_EQUIP_GAUGE_SERIAL, m_strGaugeSerial);
    DDX_Check(pDX, IDC_EQUIP_SET_AS_DEFAULTS, m_bSetAsDefaults);
}

BOOL CEquipmentInfoDialogIntl::OnInitDialog()
{
    CPageDialog::OnInitDialog();
    if (IsManualTest()) {
        SendDlgItemMessage(IDC_EQUIP_GAUGE, CB_RESETCONTENT);
        for (const wchar_t* pszItem : kGaugeItems)
            SendDlgItemMessage(IDC_EQUIP_GAUGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
        SendDlgItemMessage(IDC_EQUIP_GAUGE, CB_SETCURSEL, static_cast<WPARAM>(m_nGaugeModel));
        CSimbrel1View::InitDatePicker(1, &m_datePicker, m_strCalDateUniv, m_strCalDateLocal);
    }
    // Undo copies: the gauge's too, so Cancel gives back what opened.
    m_nUndoGaugeModel = m_nGaugeModel;
    m_strUndoGaugeModel = m_strGaugeModel;
    m_strUndoGaugeSerial = m_strGaugeSerial;
    m_strUndoDateUniv = m_strCalDateUniv;
    m_strUndoDateLocal = m_strCalDateLocal;

    SendDlgItemMessage(IDC_EQUIP_FAN, CB_RESETCONTENT);
    for (UINT nItem : kFanItems) {
        const CString strItem = LoadText(nItem);
        SendDlgItemMessage(IDC_EQUIP_FAN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
    }
    m_nFanIndex = GetFanIndex(m_chFanCode);
    m_nUndoFanIndex = m_nFanIndex;
    m_chUndoFanCode = m_chFanCode;
    m_strUndoFanSerial = m_strFanSerial;
    m_bUndoTaken = false;
    if (m_pView != nullptr && m_pView->m_pFanCalibration != nullptr) {
        m_undoCalibration.Take(*m_pView->m_pFanCalibration);
        m_bUndoTaken = true;
    }
    m_bCalibrationChanged = 0;
    SendDlgItemMessage(IDC_EQUIP_FAN, CB_SETCURSEL, static_cast<WPARAM>(m_nFanIndex));
    UpdateControlStates();
    return TRUE;
}

void CEquipmentInfoDialogIntl::SetPageTexts()
{
    // A dialog of its own: it is neither placed nor scaled with the pages.
    if (GetSafeHwnd() == nullptr)
        return;
    SetControlText(0, IDS_EQUIP_CAPTION);
    SetControlText(IDCANCEL, IDS_MSG_CANCEL);
    SetControlText(IDC_EQUIP_GROUP, IDS_EQUIP_EQUIPMENT);
    SetControlText(IDC_EQUIP_FAN_LABEL, IDS_EQUIP_FAN);
    SetControlText(IDC_EQUIP_SET_AS_DEFAULTS, IDS_SET_AS_DEFAULTS_NEW_TESTS);
    SetControlText(IDC_EQUIP_MODEL_LABEL, IDS_EQUIP_MODEL);
    SetControlText(IDC_EQUIP_SERIAL_LABEL, IDS_EQUIP_SERIAL_NUMBER);
    SetControlText(IDC_EQUIP_MAKER_LABEL, IDS_EQUIP_MANUFACTURER);
    SetControlText(IDC_EQUIP_HELP, IDS_MSG_HELP);
    SetControlText(IDC_EQUIP_CALIBRATION, IDS_EQUIP_CUSTOM_CALIBRATION);
    if (IsManualTest()) {
        SetControlText(IDC_EQUIP_MANUAL_LABEL, IDS_EQUIP_MANUAL_TEST);
        SetControlText(IDC_EQUIP_DATE_LABEL, IDS_EQUIP_CALIBRATION_DATE);
        SetControlText(IDC_EQUIP_GAUGE_LABEL, IDS_EQUIP_MICROMANOMETER);
    }
}

void CEquipmentInfoDialogIntl::UpdateControlStates()
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (CWnd* pButton = GetDlgItem(IDC_EQUIP_CALIBRATION))
        pButton->EnableWindow(m_nFanIndex != -1);
    const int nShow = IsManualTest() ? SW_SHOW : SW_HIDE;
    for (int nID : kGaugeControls)
        ShowControl(nShow, nID);
}

BOOL CEquipmentInfoDialogIntl::PreTranslateMessage(MSG* pMsg)
{
    // Esc does not leave the dialog: only Cancel does.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CPageDialog::PreTranslateMessage(pMsg);
}

void CEquipmentInfoDialogIntl::SetFanIndex(int nIndex)
{
    if (nIndex == m_nFanIndex)
        return;
    const int nOldIndex = m_nFanIndex;
    m_nFanIndex = nIndex;
    if (HasCompletedTests()) {
        const CString strWhat = LoadText(IDS_EQUIP_FAN_TYPE);
        const CString strText = CString::FormatText(LoadText(IDS_MSG_CHANGE_CLEARS_DATA).GetString(),
                                                    strWhat.GetString(), strWhat.GetString());
        if (m_pView->ShowMessage(IDS_MSG_CHANGE_CLEARS_DATA, strText, kNoEntryIcon, kKindYesNo,
                                 kDataClearingHelpTopic) != IDYES) {
            m_nFanIndex = nOldIndex;
            if (GetSafeHwnd() != nullptr)
                SendDlgItemMessage(IDC_EQUIP_FAN, CB_SETCURSEL, static_cast<WPARAM>(m_nFanIndex));
            return;
        }
        m_pView->m_pTestGraph->ClearAllTestData();
    }
    m_chFanCode = GetFanCode(m_nFanIndex);
    m_strFanSerial.Empty();
    if (GetSafeHwnd() != nullptr) {
        SetDlgItemText(IDC_EQUIP_FAN_SERIAL, m_strFanSerial.GetString());
        SendDlgItemMessage(IDC_EQUIP_FAN, CB_SETCURSEL, static_cast<WPARAM>(m_nFanIndex));
    }
    SetCalibrationRow(m_nFanIndex);
    UpdateControlStates();
}

void CEquipmentInfoDialogIntl::OnFanChange()
{
    // The typed texts stay when the fields are refilled.
    UpdateData(TRUE);
    SetFanIndex(static_cast<int>(SendDlgItemMessage(IDC_EQUIP_FAN, CB_GETCURSEL)));
}

void CEquipmentInfoDialogIntl::SetGaugeModel(int nIndex)
{
    if (nIndex < 0 || nIndex == m_nGaugeModel)
        return;
    m_nGaugeModel = nIndex;
    m_strGaugeModel = GetGaugeModelName(nIndex);
    m_strGaugeSerial.Empty();
    if (GetSafeHwnd() != nullptr)
        SetDlgItemText(IDC_EQUIP_GAUGE_SERIAL, m_strGaugeSerial.GetString());
}

void CEquipmentInfoDialogIntl::OnGaugeChange()
{
    UpdateData(TRUE);
    SetGaugeModel(static_cast<int>(SendDlgItemMessage(IDC_EQUIP_GAUGE, CB_GETCURSEL)));
}

void CEquipmentInfoDialogIntl::EditFanCalibration()
{
    if (m_pView == nullptr || m_pView->m_pFanCalibration == nullptr || !IsFanRow(m_nFanIndex))
        return;
    CFanCalibrationDialog& calibration = *m_pView->m_pFanCalibration;
    calibration.m_nFanRow = m_nFanIndex;
    CFanCalibrationSnapshot before;
    before.Take(calibration);
    calibration.DoModal();
    m_bCalibrationChanged = before.TextsDiffer(calibration) ? 1 : 0;
    if (!m_bCalibrationChanged || !HasCompletedTests())
        return;
    const CString strText = LoadText(IDS_EQUIP_CALIBRATION_CHANGED);
    if (m_pView->ShowMessage(IDS_EQUIP_CALIBRATION_CHANGED, strText, kNoEntryIcon, kKindOkCancel,
                             kDataClearingHelpTopic) == IDOK) {
        m_pView->m_pTestGraph->ClearAllTestData();
        return;
    }
    before.RestoreAll(calibration);
    m_bCalibrationChanged = 0;
}

void CEquipmentInfoDialogIntl::OnDateChange(NMHDR*, LRESULT* pResult)
{
    CSimbrel1View::ReadDatePicker(&m_datePicker, m_strCalDateUniv, m_strCalDateLocal);
    *pResult = 0;
}

void CEquipmentInfoDialogIntl::OnDateSetFocus(NMHDR*, LRESULT* pResult)
{
    if (m_strCalDateUniv.IsEmpty()) {
        CSimbrel1View::ResetDatePickerFormat(&m_datePicker);
        CSimbrel1View::ReadDatePicker(&m_datePicker, m_strCalDateUniv, m_strCalDateLocal);
    }
    *pResult = 0;
}

void CEquipmentInfoDialogIntl::OnOK()
{
    UpdateData(TRUE);
    if (m_bSetAsDefaults)
        WriteDefaultsFile();
    CDialog::OnOK();
}

void CEquipmentInfoDialogIntl::OnCancel()
{
    m_nFanIndex = m_nUndoFanIndex;
    m_chFanCode = m_chUndoFanCode;
    SetCalibrationRow(m_nFanIndex);
    if (IsManualTest()) {
        m_nGaugeModel = m_nUndoGaugeModel;
        m_strGaugeModel = m_strUndoGaugeModel;
        m_strGaugeSerial = m_strUndoGaugeSerial;
        m_strCalDateUniv = m_strUndoDateUniv;
        m_strCalDateLocal = m_strUndoDateLocal;
    }
    m_strFanSerial = m_strUndoFanSerial;
    // Every row as it opened: also a fan chosen meanwhile and edited loses
    // its edit, as nothing of the dialog stands after Cancel.
    if (m_bUndoTaken && m_pView != nullptr && m_pView->m_pFanCalibration != nullptr) {
        for (int nRow = 0; nRow < kFans; ++nRow)
            m_undoCalibration.RestoreRow(*m_pView->m_pFanCalibration, nRow);
    }
    m_bCalibrationChanged = 0;
    CDialog::OnCancel();
}
