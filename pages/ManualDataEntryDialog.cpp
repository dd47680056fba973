#include "pages/ManualDataEntryDialog.h"

#include <cmath>

#include "app/DrawButton.h"
#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "framework/Ddx.h"
#include "pages/BaselineDataEntry.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kNoHelpTopic = 255;
constexpr int kGridHelpTopic = 11;
constexpr int kBelowMinimumHelpTopic = 110;
constexpr int kRangeHelpTopic = 111;
constexpr UINT_PTR kFocusTimer = 1;
constexpr UINT_PTR kMessageGuardTimer = 2;
constexpr UINT kFocusDelayMs = 25;
constexpr UINT kMessageGuardMs = 150;

const wchar_t* SlotPrefix(int d)
{
    return d == 0 ? L"P_" : L"D_";
}

bool IsSlot(int d)
{
    return d == 0 || d == 1;
}

}  // namespace

const int CManualDataEntryDialog::kBuildingIds[kGridRows] = {1241, 1246, 1051, 1257, 1291, 1292,
                                                             1293, 1294, 1295, 1237, 1275, 1276};
const int CManualDataEntryDialog::kRingIds[kGridRows] = {1261, 1267, 1268, 1269, 1284, 1285,
                                                         1286, 1287, 1288, 1252, 1273, 1274};
const int CManualDataEntryDialog::kFanPIds[kGridRows] = {1243, 1248, 1254, 1259, 1298, 1299,
                                                         1300, 1301, 1302, 1239, 2352, 2354};
const int CManualDataEntryDialog::kFlowIds[kGridRows] = {1244, 1249, 1255, 1260, 1305, 1306,
                                                         1307, 1308, 1309, 1240, 2353, 2355};

BEGIN_MESSAGE_MAP(CManualDataEntryDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_DRAWITEM()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CManualDataEntryDialog::CManualDataEntryDialog(CWnd* pParent) : CDialog(IDD, pParent)
{
    TraceLifecycle("CManualDataEntryDialog", true);
    m_nFlowSource = 1;
    ClearData(0);
    ClearData(1);
}

CManualDataEntryDialog::~CManualDataEntryDialog()
{
    TraceLifecycle("CManualDataEntryDialog", false);
}

// ---------------------------------------------------------------------------
// The record.

void CManualDataEntryDialog::ClearData(int nSlot)
{
    for (CString* pText : {&m_strPretestAvg, &m_strPretestPlus, &m_strPretestMinus, &m_strPosttestAvg,
                           &m_strPosttestPlus, &m_strPosttestMinus, &m_strBaselineRange})
        pText->Empty();
    m_bSettingFocus = 0;
    m_nReturnFocusId = 0;
    if (!IsSlot(nSlot))
        return;
    m_nRowCount[nSlot] = 0;
    for (int r = 0; r < kRows; ++r) {
        m_strBuildingP[nSlot][r].Empty();
        m_strFanP[nSlot][r].Empty();
        m_strFlow[nSlot][r].Empty();
        m_nRing[nSlot][r] = -1;
    }
    if (m_pView == nullptr)
        return;
    if (m_pView->m_pSettings != nullptr && m_pView->m_pSettings->IsEnOrIsoStandard() && m_pView->m_pBaseline != nullptr)
        m_pView->m_pBaseline->ClearData(nSlot);
    // The slot's temperatures, pressures and altitude belong to its points,
    // whatever the standard.
    for (CEnvironmentDialog* pPage : {static_cast<CEnvironmentDialog*>(m_pView->m_pTemperature),
                                      static_cast<CEnvironmentDialog*>(m_pView->m_pTempBaro),
                                      static_cast<CEnvironmentDialog*>(m_pView->m_pTempAltitude)})
        if (pPage != nullptr)
            pPage->ClearDirection(nSlot);
}

CString CManualDataEntryDialog::WriteToFile(int nSlot) const
{
    if (!IsSlot(nSlot) || m_strBuildingP[nSlot][1].IsEmpty())
        return CString();
    CString strText;
    bool bAnyRing = false;
    for (int r = 0; r < kRows; ++r) {
        const bool bBaseline = r == 0 || r == kRows - 1;
        if (!bBaseline && m_nRing[nSlot][r] == -1)
            continue;
        if (!bBaseline)
            bAnyRing = true;
        CString strLine;
        strLine.Format(L"%s %d %s %s %s\n", MakeManualRowKey(nSlot, r, true).GetString(), m_nRing[nSlot][r],
                       m_strBuildingP[nSlot][r].GetString(),
                       bBaseline ? L"0.0" : m_strFanP[nSlot][r].GetString(),
                       bBaseline ? L"0.0" : m_strFlow[nSlot][r].GetString());
        strText += strLine;
    }
    if (!bAnyRing)
        return CString();
    CString strGauge;
    strGauge.Format(L"%sManual_Gauge: %d\n", SlotPrefix(nSlot), m_nGauge[nSlot]);
    return strText + strGauge;
}

void CManualDataEntryDialog::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    ReadFromText(m_pView->m_strFileText.GetText(), m_pView->m_bNewFormatFile != 0, m_pView->IsNewFormatFile() != 0,
                 g_nCurrentDirection);
}

void CManualDataEntryDialog::ReadFromText(const CString& strFileText, bool bBothSlots, bool bNewFormat,
                                          int nCurrentSlot)
{
    for (int d = 0; d < 2; ++d) {
        if (!bBothSlots && d != nCurrentSlot)
            continue;
        for (int r = 0; r < kRows; ++r) {
            const CString strValue =
                CSimbrel1View::GetTextValue(MakeManualRowKey(d, r, bNewFormat), strFileText);
            if (strValue.IsEmpty())
                continue;
            const ManualRowValue value = ParseManualRowValue(strValue);
            if (!value.bRing)
                continue;
            // A ring no fan has is stored as none; it is then not taken for
            // the post-test row either.
            const bool bRingInRange = value.nRing >= -1 && value.nRing <= 5;
            const int nRing = bRingInRange ? value.nRing : -1;
            int nRow = r;
            bool bLast = false;
            if (bRingInRange && value.nRing == -1 && r >= 1 && r <= kGridRows) {
                nRow = kRows - 1;
                bLast = true;
            }
            m_nRing[d][nRow] = nRing;
            if (value.bBuildingP)
                m_strBuildingP[d][nRow] = value.strBuildingP;
            if (value.bFanAndFlow) {
                m_strFanP[d][nRow] = value.strFanP;
                m_strFlow[d][nRow] = value.strFlow;
            }
            if (bLast)
                break;
        }
        CString strGaugeKey;
        strGaugeKey.Format(L"%sManual_Gauge:", SlotPrefix(d));
        m_nGauge[d] = CSimbrel1View::GetTextValue(strGaugeKey, strFileText) == L"0" ? 0 : 1;
    }
}

void CManualDataEntryDialog::ScaleFlowTexts(double dFactor)
{
    for (auto& rows : m_strFlow)
        for (int r = 1; r <= kGridRows; ++r) {
            if (rows[r].IsEmpty())
                continue;
            rows[r].Format(L"%4.4f", CSimbrel1View::TextToDouble(rows[r]) * dFactor);
        }
}

int CManualDataEntryDialog::GetRowRing(int d, int nRow) const
{
    if (!IsSlot(d) || nRow < 0 || nRow >= kRows)
        return -1;
    const int nRing = m_nRing[d][nRow];
    return IsManualRingOfFan(nRing, m_chFanCode) ? nRing : -1;
}

bool CManualDataEntryDialog::LoadRowCalibration(int d, int nRow)
{
    const int nRing = GetRowRing(d, nRow);
    CFanCalibrationDialog* pCal = m_pFanCalibration;
    if (pCal == nullptr && m_pView != nullptr)
        pCal = m_pView->m_pFanCalibration;
    if (nRing < 0 || pCal == nullptr || CFanCalibrationDialog::GetFanRow(m_chFanCode) < 0)
        return false;
    pCal->LoadFanRingCalibration(m_chFanCode, nRing);
    m_dRowC = pCal->m_dSelC;
    m_dRowN = pCal->m_dSelN;
    m_dRowMinP = pCal->m_dSelMinFanPressure;
    return true;
}

// ---------------------------------------------------------------------------
// The grid.

int CManualDataEntryDialog::ShownSlot() const
{
    return m_chDirection == L'D' ? 1 : 0;
}

void CManualDataEntryDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    const int d = ShownSlot();
    for (int i = 0; i < kGridRows; ++i) {
        DDX_Text(pDX, kBuildingIds[i], m_strBuildingP[d][i + 1]);
        DDX_Text(pDX, kFanPIds[i], m_strFanP[d][i + 1]);
        DDX_Text(pDX, kFlowIds[i], m_strFlow[d][i + 1]);
    }
    DDX_Radio(pDX, IDC_MANUAL_SOURCE_FAN_P, m_nFlowSource);
    DDX_Text(pDX, IDC_MANUAL_PRE_AVG, m_strPretestAvg);
    DDX_Text(pDX, IDC_MANUAL_PRE_PLUS, m_strPretestPlus);
    DDX_Text(pDX, IDC_MANUAL_PRE_MINUS, m_strPretestMinus);
    DDX_Text(pDX, IDC_MANUAL_POST_AVG, m_strPosttestAvg);
    DDX_Text(pDX, IDC_MANUAL_POST_PLUS, m_strPosttestPlus);
    DDX_Text(pDX, IDC_MANUAL_POST_MINUS, m_strPosttestMinus);
    DDX_Text(pDX, IDC_MANUAL_BASELINE_RANGE, m_strBaselineRange);
    DDX_Text(pDX, IDC_MANUAL_HIDDEN_2408, m_strHidden2408);
}

int CManualDataEntryDialog::FindCell(int nId, ManualCell& cell) const
{
    for (int i = 0; i < kGridRows; ++i) {
        if (kBuildingIds[i] == nId) {
            cell = ManualCell::BuildingPressure;
            return i + 1;
        }
        if (kRingIds[i] == nId) {
            cell = ManualCell::Ring;
            return i + 1;
        }
        if (kFanPIds[i] == nId) {
            cell = ManualCell::FanPressure;
            return i + 1;
        }
        if (kFlowIds[i] == nId) {
            cell = ManualCell::Flow;
            return i + 1;
        }
    }
    if (nId == IDC_MANUAL_PRE_AVG || nId == IDC_MANUAL_POST_AVG) {
        cell = ManualCell::BaselineAverage;
        return 0;
    }
    return -1;
}

void CManualDataEntryDialog::FillRingLists()
{
    CString strOpen;
    strOpen.LoadString(IDS_OPEN);
    CString strRing;
    strRing.LoadString(IDS_RING);
    const bool bLettered = m_chFanCode == L'3' || m_chFanCode == L'5' || m_chFanCode == L'4';
    const int nItems = GetManualRingItemCount(m_chFanCode);
    for (const int nId : kRingIds) {
        SendDlgItemMessage(nId, CB_RESETCONTENT, 0, 0);
        SendDlgItemMessage(nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strOpen.GetString()));
        for (int k = 1; k < nItems; ++k) {
            CString strItem;
            strItem.Format(L"%s %c", strRing.GetString(), bLettered ? L'A' + k - 1 : L'1' + k - 1);
            SendDlgItemMessage(nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
        }
    }
}

void CManualDataEntryDialog::SelectRings(int d)
{
    for (int i = 0; i < kGridRows; ++i)
        SendDlgItemMessage(kRingIds[i], CB_SETCURSEL, static_cast<WPARAM>(GetRowRing(d, i + 1)), 0);
}

void CManualDataEntryDialog::LoadBaselineFields(int d)
{
    CTestSettingsDialog* pSettings = m_pView != nullptr ? m_pView->m_pSettings : nullptr;
    CBaselineDataEntry* pBaseline = m_pView != nullptr ? m_pView->m_pBaseline : nullptr;
    if (pSettings != nullptr && pSettings->IsEnOrIsoStandard() && pBaseline != nullptr) {
        const bool bAverages = pBaseline->m_nDataSource[d] == 1;
        const bool bPre = bAverages || !pBaseline->m_strPretestReadings[d].IsEmpty();
        const bool bPost = bAverages || !pBaseline->m_strPosttestReadings[d].IsEmpty();
        m_strPretestAvg = bPre ? pBaseline->m_strPretestAvg[d] : CString();
        m_strPretestPlus = bPre ? pBaseline->m_strPretestPlus[d] : CString();
        m_strPretestMinus = bPre ? pBaseline->m_strPretestMinus[d] : CString();
        m_strPosttestAvg = bPost ? pBaseline->m_strPosttestAvg[d] : CString();
        m_strPosttestPlus = bPost ? pBaseline->m_strPosttestPlus[d] : CString();
        m_strPosttestMinus = bPost ? pBaseline->m_strPosttestMinus[d] : CString();
    } else {
        m_strPretestAvg = m_strBuildingP[d][0];
        m_strPosttestAvg = m_strBuildingP[d][kRows - 1];
    }
}

void CManualDataEntryDialog::EnableCellsBySource()
{
    for (int i = 0; i < kGridRows; ++i) {
        if (CWnd* pFan = GetDlgItem(kFanPIds[i]))
            pFan->EnableWindow(m_nFlowSource == 0);
        if (CWnd* pFlow = GetDlgItem(kFlowIds[i]))
            pFlow->EnableWindow(m_nFlowSource == 1);
    }
}

void CManualDataEntryDialog::ApplyStandardLayout()
{
    const bool bEnIso = m_pView != nullptr && m_pView->m_pSettings != nullptr &&
                        m_pView->m_pSettings->IsEnOrIsoStandard();
    for (const int nId : {IDC_MANUAL_PRE_AVG, IDC_MANUAL_POST_AVG})
        SendDlgItemMessage(nId, EM_SETREADONLY, bEnIso ? TRUE : FALSE, 0);
    for (const int nId : {IDC_MANUAL_PRE_PLUS, IDC_MANUAL_PRE_MINUS, IDC_MANUAL_POST_PLUS, IDC_MANUAL_POST_MINUS,
                          IDC_MANUAL_PRE_AVG_LABEL, IDC_MANUAL_PRE_PLUS_LABEL, IDC_MANUAL_PRE_MINUS_LABEL,
                          IDC_MANUAL_POST_AVG_LABEL, IDC_MANUAL_POST_PLUS_LABEL, IDC_MANUAL_POST_MINUS_LABEL,
                          IDC_MANUAL_BASELINE_BUTTON})
        if (CWnd* p = GetDlgItem(nId))
            p->ShowWindow(bEnIso ? SW_SHOW : SW_HIDE);
    for (const int nId : {IDC_MANUAL_FAN_NAME, IDC_MANUAL_DIRECTION_LABEL})
        if (CWnd* p = GetDlgItem(nId))
            p->ShowWindow(SW_HIDE);
}

BOOL CManualDataEntryDialog::OnInitDialog()
{
    const int d = ShownSlot();
    LoadBaselineFields(d);
    m_nFlowSource = m_nGauge[d];
    m_nPendingFocusId = 0;
    m_bMessageShown = 0;
    m_bSettingFocus = 0;
    m_nReturnFocusId = 0;
    CDialog::OnInitDialog();

    SetDlgItemTextFromString(0, IDS_MANUAL_CAPTION);
    SetDlgItemTextFromString(IDC_MANUAL_TAB_PRESS, IDS_PRESSURIZATION);
    SetDlgItemTextFromString(IDC_MANUAL_TAB_DEPRESS, IDS_DEPRESSURIZATION);
    SetDlgItemTextFromString(IDC_MANUAL_HELP, IDS_MSG_HELP);
    SetDlgItemTextFromString(IDC_MANUAL_PRE_LABEL, IDS_MANUAL_PRETEST_BASELINE);
    SetDlgItemTextFromString(IDC_MANUAL_PRE_PLUS_LABEL, IDS_MANUAL_PLUS);
    SetDlgItemTextFromString(IDC_MANUAL_POST_PLUS_LABEL, IDS_MANUAL_PLUS);
    SetDlgItemTextFromString(IDC_MANUAL_PRE_MINUS_LABEL, IDS_MANUAL_MINUS);
    SetDlgItemTextFromString(IDC_MANUAL_POST_MINUS_LABEL, IDS_MANUAL_MINUS);
    SetDlgItemTextFromString(IDC_MANUAL_POST_LABEL, IDS_MANUAL_POSTTEST_BASELINE);
    SetDlgItemTextFromString(IDC_MANUAL_BP_HEADER, IDS_MANUAL_BUILDING_PRESSURE);
    SetDlgItemTextFromString(IDC_MANUAL_RING_HEADER, IDS_MANUAL_FAN_CONFIG);
    SetDlgItemTextFromString(IDC_MANUAL_FANP_HEADER, IDS_MANUAL_FAN_PRESSURE_HEADER);
    SetDlgItemTextFromString(IDC_MANUAL_SOURCE_GROUP, IDS_MANUAL_FLOW_SOURCE);
    SetDlgItemTextFromString(IDC_MANUAL_SOURCE_FAN_P, IDS_MANUAL_FAN_PRESSURE);
    SetDlgItemTextFromString(IDC_MANUAL_SOURCE_FLOW, IDS_MANUAL_FLOW);
    SetDlgItemTextFromString(IDC_MANUAL_FAN_CAPTION, IDS_MANUAL_FAN);
    SetDlgItemTextFromString(IDC_MANUAL_CLEAR, IDS_MANUAL_CLEAR_DATA);
    SetDlgItemTextFromString(IDOK, IDS_MSG_OK);
    const int nStandard = m_pView != nullptr && m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_nStandard : 0;
    SetDlgItemTextFromString(IDC_MANUAL_ENVIRONMENT, nStandard == 2                          ? IDS_MANUAL_EDIT_TEMP_ALTITUDE
                                                     : (nStandard == 1 || nStandard == 3) ? IDS_MANUAL_EDIT_TEMP_BARO
                                                                                          : IDS_MANUAL_EDIT_TEMPERATURE);
    // Fan name, as the equipment page names the fan.
    m_strFanLabel.Empty();
    const UINT nFanString = m_chFanCode == L'3'   ? IDS_FAN_BLOWER_DOOR_R_110
                            : m_chFanCode == L'4' ? IDS_FAN_BLOWER_DOOR_S_230
                            : m_chFanCode == L'5' ? IDS_FAN_BLOWER_DOOR_R_230
                            : m_chFanCode == L'A' ? IDS_FAN_AIRVANE_A
                            : m_chFanCode == L'B' ? IDS_FAN_AIRVANE_B
                                                  : 0;
    if (nFanString != 0)
        m_strFanLabel.LoadString(nFanString);
    SetDlgItemText(IDC_MANUAL_FAN_NAME, m_strFanLabel.GetString());
    SetDlgItemText(IDC_MANUAL_FAN_TYPE, m_strFanLabel.GetString());
    m_strDirectionLabel.LoadString(m_chDirection == L'D' ? IDS_DEPRESSURIZATION : IDS_PRESSURIZATION);
    SetDlgItemText(IDC_MANUAL_DIRECTION_LABEL, m_strDirectionLabel.GetString());

    FillRingLists();
    SelectRings(d);
    SetDefID(IDC_MANUAL_NO_ACTION);
    m_strFlowHeader.LoadString(IDS_MANUAL_FLOW_HEADER);
    if (m_pView != nullptr && m_pView->m_nFlowUnit >= 0 && m_pView->m_nFlowUnit < 3) {
        static const wchar_t* const kUnits[3] = {L"CFM", L"m³/h", L"l/s"};
        m_strFlowHeader += CString(L"(") + kUnits[m_pView->m_nFlowUnit] + L")";
    }
    SetDlgItemText(IDC_MANUAL_FLOW_HEADER, m_strFlowHeader.GetString());
    SetDlgItemTextFromString(IDC_MANUAL_BASELINE_BUTTON, IDS_BASELINE_EDIT_BUTTON);
    SetDlgItemTextFromString(IDC_MANUAL_PRE_AVG_LABEL, IDS_BASELINE_P_AVG);
    SetDlgItemTextFromString(IDC_MANUAL_POST_AVG_LABEL, IDS_BASELINE_P_AVG);
    ScaleToParent();
    ApplyStandardLayout();
    EnableCellsBySource();
    ShowRecord();
    return TRUE;
}

void CManualDataEntryDialog::ScaleToParent()
{
    m_dLayoutScale = 1.0;
    const HWND hParent = ::GetParent(m_hWnd);
    if (hParent == nullptr)
        return;
    CRect rcParent;
    CRect rcOwn;
    ::GetWindowRect(hParent, &rcParent);
    ::GetWindowRect(m_hWnd, &rcOwn);
    if (rcOwn.Width() <= 0 || rcOwn.Height() <= 0 || rcParent.Width() <= 0 || rcParent.Height() <= 0)
        return;
    const double f = std::min(static_cast<double>(rcParent.Width()) / rcOwn.Width(),
                              static_cast<double>(rcParent.Height()) / rcOwn.Height());
    m_dLayoutScale = f;
    auto scaled = [f](int n) { return static_cast<int>(n * f); };

    // The client area grows by the factor and the frame keeps its size, so
    // the whole grid stays inside the parent and nothing is cut at the
    // bottom.
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    CRect rcFrame(0, 0, scaled(rcClient.Width()), scaled(rcClient.Height()));
    ::AdjustWindowRectEx(&rcFrame, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    ::MoveWindow(m_hWnd, rcParent.left, rcParent.top, std::min(rcFrame.Width(), rcParent.Width()),
                 std::min(rcFrame.Height(), rcParent.Height()), FALSE);

    CFont* pFont = nullptr;
    if (m_pView != nullptr) {
        if (m_pView->m_pPageFont == nullptr)
            m_pView->CreatePageFont(this, 1.0);
        pFont = m_pView->m_pPageFont;
    }
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CRect rc;
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        const int nLeft = scaled(rc.left);
        const int nTop = scaled(rc.top);
        const int nWidth = scaled(rc.right) - nLeft;
        int nHeight = scaled(rc.bottom) - nTop;
        // A drop-down list's window height is that of its opened list.
        ManualCell cell = ManualCell::BuildingPressure;
        if (FindCell(::GetDlgCtrlID(hChild), cell) > 0 && cell == ManualCell::Ring)
            nHeight += 10 * nHeight;
        ::MoveWindow(hChild, nLeft, nTop, nWidth, nHeight, FALSE);
        if (pFont != nullptr)
            ::SendMessageW(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), FALSE);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CManualDataEntryDialog::OnCancel()
{
    // The grid is left only through OK.
}

BOOL CManualDataEntryDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

int CManualDataEntryDialog::ShowGridMessage(int nMessageId, const CString& strText, int nIcon, int nKind)
{
    if (m_pView == nullptr)
        return IDOK;
    return m_pView->ShowMessage(nMessageId, strText, nIcon, nKind, kNoHelpTopic);
}

void CManualDataEntryDialog::FocusControl(int nId)
{
    if (CWnd* p = GetDlgItem(nId))
        p->SetFocus();
}

void CManualDataEntryDialog::ShowCellMessage(int nMessageId, int nRow, int nHelpTopic)
{
    if (m_pView == nullptr)
        return;
    CString strFormat;
    strFormat.LoadString(static_cast<UINT>(nMessageId));
    CString strText;
    if (nMessageId == IDS_MANUAL_CALIBRATION_NOT_USABLE) {
        const CString strRing = CSimbrel1View::GetRingLabel(GetRowRing(ShownSlot(), nRow), m_chFanCode);
        strText.Format(strFormat.GetString(), m_strFanLabel.IsEmpty() ? L"the fan" : m_strFanLabel.GetString(),
                       strRing.GetString());
    } else if (nMessageId == IDS_MANUAL_FLOW_BELOW_MINIMUM) {
        strText = strFormat;
    } else {
        strText.Format(strFormat.GetString(), nRow, nRow);
    }
    m_pView->ShowMessage(0, strText, IDI_MESSAGE_EXCLAMATION, 0, nHelpTopic);
}

int CManualDataEntryDialog::CheckCell(int nCellId)
{
    if (m_bSettingFocus) {
        m_bSettingFocus = 0;
        return 0;
    }
    ReadRecord();
    m_nReturnFocusId = 0;
    const HWND hFocus = ::GetFocus();
    if (hFocus == nullptr)
        return 0;
    // A combo box's edit part has the focus as a child of the list.
    HWND hFocusCtrl = hFocus;
    if (::GetParent(hFocusCtrl) != GetSafeHwnd() && ::GetParent(hFocusCtrl) != nullptr &&
        ::GetParent(::GetParent(hFocusCtrl)) == GetSafeHwnd())
        hFocusCtrl = ::GetParent(hFocusCtrl);
    const int nFocusId = ::GetDlgCtrlID(hFocusCtrl);

    ManualCell cell = ManualCell::BuildingPressure;
    const int nRow = FindCell(nCellId, cell);
    if (nRow < 0)
        return 0;
    ManualCell focusCell = ManualCell::BuildingPressure;
    const int nFocusRow = FindCell(nFocusId, focusCell);
    if (nRow > 0 && nFocusRow == nRow &&
        ((cell == ManualCell::Ring && (focusCell == ManualCell::FanPressure || focusCell == ManualCell::Flow)) ||
         ((cell == ManualCell::FanPressure || cell == ManualCell::Flow) && focusCell == ManualCell::Ring)))
        return 1;
    if (nFocusId == IDC_MANUAL_HELP || nFocusId == IDC_MANUAL_CLEAR) {
        m_nReturnFocusId = nCellId;
        return 0;
    }

    const int d = ShownSlot();
    CString strText;
    if (cell != ManualCell::Ring)
        GetDlgItemText(nCellId, strText);
    if (cell != ManualCell::Ring && strText.IsEmpty()) {
        if (cell == ManualCell::Flow) {
            m_strFanP[d][nRow].Empty();
            ShowRecord();
            return 0;
        }
        if (cell == ManualCell::FanPressure) {
            m_strFlow[d][nRow].Empty();
            ShowRecord();
            return 0;
        }
    }
    if (nRow > 0)
        m_nRing[d][nRow] = cell == ManualCell::Ring
                               ? static_cast<int>(SendDlgItemMessage(nCellId, CB_GETCURSEL, 0, 0))
                               : m_nRing[d][nRow];
    const bool bCalibrated = cell == ManualCell::Ring || cell == ManualCell::FanPressure || cell == ManualCell::Flow;
    const bool bHasRing = nRow > 0 && GetRowRing(d, nRow) >= 0;
    bool bUsable = true;
    m_dRowMinP = 0.0;
    if (bCalibrated && bHasRing) {
        if (!LoadRowCalibration(d, nRow))
            bUsable = false;
        else
            bUsable = m_dRowC > 0.0 && m_dRowN > 0.0;
    }
    double v = CSimbrel1View::TextToDouble(strText);
    if (cell == ManualCell::Flow && bHasRing && bUsable)
        ManualFanPressureFromFlow(v, m_dRowC, m_dRowN, v);
    if (cell == ManualCell::Ring)
        v = CSimbrel1View::TextToDouble(m_strFanP[d][nRow]);
    const ManualCellCheck check = CheckManualCellValue(cell, v, bHasRing, nRow > 0 ? GetRowRing(d, nRow) : -1,
                                                       m_chFanCode, m_dRowMinP, bUsable, m_nFlowSource);
    if (check.bAccepted)
        return 1;

    m_bSettingFocus = 1;
    if (!m_bMessageShown)
        ShowCellMessage(check.nMessageId, nRow,
                        check.nMessageId == IDS_MANUAL_FLOW_BELOW_MINIMUM ? kBelowMinimumHelpTopic
                        : check.nMessageId == IDS_MANUAL_CALIBRATION_NOT_USABLE ? kNoHelpTopic
                                                                                : kRangeHelpTopic);
    m_bSettingFocus = 1;
    FocusControl(nCellId);
    m_bSettingFocus = 0;
    SetTimer(kMessageGuardTimer, kMessageGuardMs, nullptr);
    m_bMessageShown = 1;
    return 0;
}

void CManualDataEntryDialog::RefuseValueWithoutRing(CString& strValue, int nRow)
{
    strValue.Empty();
    // Shown before the message, whose focus change must neither read the
    // removed value back nor run a cell check.
    ShowRecord();
    m_bSettingFocus = 1;
    ShowGridMessage(IDS_MANUAL_RING_FIRST, L"", IDI_MESSAGE_EXCLAMATION, 0);
    m_bSettingFocus = 1;
    FocusControl(kRingIds[nRow - 1]);
    m_bSettingFocus = 0;
}

int CManualDataEntryDialog::UpdateFlowFromFanPressure(int nRow)
{
    const int d = ShownSlot();
    CString& strFanP = m_strFanP[d][nRow];
    strFanP = CSimbrel1View::StripLeadingBlanks(strFanP);
    int nResult = 0;
    if (strFanP.IsEmpty()) {
        m_strFlow[d][nRow].Empty();
    } else if (GetRowRing(d, nRow) < 0) {
        RefuseValueWithoutRing(strFanP, nRow);
    } else {
        double dFlow = 0.0;
        if (LoadRowCalibration(d, nRow) &&
            ManualFlowFromFanPressure(CSimbrel1View::TextToDouble(strFanP), m_dRowC, m_dRowN, dFlow)) {
            m_strFlow[d][nRow] = FormatManualFlow(dFlow, m_chFanCode, GetRowRing(d, nRow));
            nResult = 1;
        } else {
            m_strFlow[d][nRow].Empty();
            ShowCellMessage(IDS_MANUAL_CALIBRATION_NOT_USABLE, nRow, kNoHelpTopic);
        }
    }
    ShowRecord();
    return nResult;
}

int CManualDataEntryDialog::UpdateFanPressureFromFlow(int nRow)
{
    const int d = ShownSlot();
    CString& strFlow = m_strFlow[d][nRow];
    strFlow = CSimbrel1View::StripLeadingBlanks(strFlow);
    int nResult = 0;
    if (strFlow.IsEmpty()) {
        m_strFanP[d][nRow].Empty();
    } else if (GetRowRing(d, nRow) < 0) {
        RefuseValueWithoutRing(strFlow, nRow);
    } else {
        double dFanP = 0.0;
        if (LoadRowCalibration(d, nRow) &&
            ManualFanPressureFromFlow(CSimbrel1View::TextToDouble(strFlow), m_dRowC, m_dRowN, dFanP)) {
            m_strFanP[d][nRow] = FormatManualFanPressure(dFanP);
            nResult = 1;
        } else {
            m_strFanP[d][nRow].Empty();
            ShowCellMessage(IDS_MANUAL_CALIBRATION_NOT_USABLE, nRow, kNoHelpTopic);
        }
    }
    ShowRecord();
    return nResult;
}

int CManualDataEntryDialog::GetRowStatus(int nRow)
{
    if (nRow < 1 || nRow > kGridRows)
        return -1;
    CString strBuilding, strRing, strFan, strFlow;
    GetDlgItemText(kBuildingIds[nRow - 1], strBuilding);
    GetDlgItemText(kRingIds[nRow - 1], strRing);
    GetDlgItemText(kFanPIds[nRow - 1], strFan);
    GetDlgItemText(kFlowIds[nRow - 1], strFlow);
    return GetManualRowStatus(strBuilding, strRing, strFan, strFlow, m_nFlowSource);
}

int CManualDataEntryDialog::CheckData(int d)
{
    if (!IsSlot(d))
        return -1;
    ReadRecord();
    m_nRowCount[d] = 0;
    m_dPreBaseline[d] = CSimbrel1View::TextToDouble(m_strPretestAvg);
    m_dPostBaseline[d] =
        m_strPosttestAvg.IsEmpty() ? m_dPreBaseline[d] : CSimbrel1View::TextToDouble(m_strPosttestAvg);
    const double dBaseline = (m_dPreBaseline[d] + m_dPostBaseline[d]) / 2.0;
    bool bWarned = false;
    int nStop = kGridRows + 1;
    for (int r = 1; r <= kGridRows; ++r) {
        const int nStatus = GetRowStatus(r);
        if (nStatus == 0) {
            if (!bWarned && m_pView != nullptr)
                bWarned = m_pView->CheckAdjustedPressureLimit(
                              std::fabs(CSimbrel1View::TextToDouble(m_strBuildingP[d][r]) - dBaseline),
                              m_chFanCode) != 0;
            ++m_nRowCount[d];
            continue;
        }
        if (nStatus == -1) {
            nStop = r;
            break;
        }
        const int nIds[4] = {kBuildingIds[r - 1], kRingIds[r - 1], kFanPIds[r - 1], kFlowIds[r - 1]};
        FocusControl(nIds[nStatus - 1]);
        CString strFormat, strText;
        strFormat.LoadString(IDS_MANUAL_ROW_INCOMPLETE);
        strText.Format(strFormat.GetString(), r);
        ShowGridMessage(0, strText, IDI_MESSAGE_EXCLAMATION, 0);
        m_nRowCount[d] = 0;
        return -1;
    }
    if (m_nRowCount[d] > 0) {
        const int nStandard =
            m_pView != nullptr && m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_nStandard : 0;
        if (m_strPretestAvg.IsEmpty()) {
            FocusControl(IDC_MANUAL_PRE_AVG);
            ShowGridMessage(IDS_MANUAL_PRETEST_REQUIRED, L"", IDI_MESSAGE_EXCLAMATION, 0);
            return -1;
        }
        if (m_strPosttestAvg.IsEmpty() && nStandard != 0) {
            FocusControl(IDC_MANUAL_POST_AVG);
            ShowGridMessage(IDS_MANUAL_POSTTEST_REQUIRED, L"", IDI_MESSAGE_EXCLAMATION, 0);
            return -1;
        }
        int nMissing = 0;
        if (m_pView != nullptr) {
            if (nStandard == 0 && m_pView->m_pTemperature != nullptr && !m_pView->m_pTemperature->HasTestValues(d))
                nMissing = IDS_MANUAL_ALL_TEMPERATURE;
            else if ((nStandard == 1 || nStandard == 3) && m_pView->m_pTempBaro != nullptr &&
                     !m_pView->m_pTempBaro->HasTestValues(d))
                nMissing = IDS_MANUAL_ALL_TEMP_BARO;
            else if (nStandard == 2 && m_pView->m_pTempAltitude != nullptr &&
                     !m_pView->m_pTempAltitude->HasTestValues(3, d))
                nMissing = IDS_MANUAL_ALL_TEMP_ALTITUDE;
        }
        if (nMissing != 0) {
            ShowGridMessage(nMissing, L"", IDI_MESSAGE_EXCLAMATION, 0);
            return -1;
        }
    }
    for (int r = nStop; r <= kGridRows; ++r) {
        m_strBuildingP[d][r].Empty();
        m_strFanP[d][r].Empty();
        m_strFlow[d][r].Empty();
        m_nRing[d][r] = -1;
        SendDlgItemMessage(kRingIds[r - 1], CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    ShowRecord();
    m_strBuildingP[d][0] = m_strPretestAvg;
    m_strBuildingP[d][kRows - 1] = m_strPosttestAvg;
    m_nGauge[d] = m_nFlowSource;
    return 0;
}

void CManualDataEntryDialog::OnOK()
{
    const int d = ShownSlot();
    if (CheckData(d) != 0)
        return;
    CTestGraph1* pStore = m_pView != nullptr ? m_pView->m_pTestGraph : nullptr;
    if (pStore != nullptr) {
        pStore->LoadManualEntryData(0);
        pStore->LoadManualEntryData(1);
        const int nOther = 1 - d;
        if (!m_strBuildingP[nOther][1].IsEmpty())
            pStore->m_CompletedTests[nOther] = 1;
    }
    EndDialog(IDOK);
}

void CManualDataEntryDialog::ReturnFocus(bool& bReturned)
{
    bReturned = false;
    if (m_nReturnFocusId != 0) {
        FocusControl(m_nReturnFocusId);
        bReturned = true;
    }
}

void CManualDataEntryDialog::ChangeDirection(int nNewSlot)
{
    const int d = ShownSlot();
    if (nNewSlot == d || CheckData(d) != 0)
        return;
    if (m_pView != nullptr && m_pView->m_pSettings != nullptr)
        m_pView->m_pSettings->SetTestDirection(nNewSlot == 0 ? L'P' : L'D');
    else
        g_nCurrentDirection = nNewSlot;
    if (m_pView != nullptr && m_pView->m_pTestGraph != nullptr)
        m_pView->m_pTestGraph->LoadManualEntryData(d);
    m_chDirection = nNewSlot == 0 ? L'P' : L'D';
    SelectRings(nNewSlot);
    LoadBaselineFields(nNewSlot);
    m_nFlowSource = m_nGauge[nNewSlot];
    EnableCellsBySource();
    ShowRecord();
    Invalidate();
}

BOOL CManualDataEntryDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    const int d = ShownSlot();
    ManualCell cell = ManualCell::BuildingPressure;
    const int nRow = FindCell(nId, cell);
    if (nRow >= 0 && lParam != 0) {
        switch (nCode) {
        case EN_KILLFOCUS:
        case CBN_KILLFOCUS:
            if (CheckCell(nId) == 0)
                return TRUE;
            if (cell == ManualCell::BuildingPressure) {
                CString strText;
                GetDlgItemText(nId, strText);
                const double x = CSimbrel1View::TextToDouble(CSimbrel1View::StripLeadingBlanks(strText));
                const int nSign = m_chDirection == L'P' && x < 0.0   ? IDS_MANUAL_PRESSURE_MUST_BE_POS
                                  : m_chDirection == L'D' && x > 0.0 ? IDS_MANUAL_PRESSURE_MUST_BE_NEG
                                                                     : 0;
                if (nSign != 0) {
                    // The message's own focus change runs no check (nor this
                    // message) again.
                    m_bSettingFocus = 1;
                    ShowGridMessage(nSign, L"", IDI_MESSAGE_EXCLAMATION, 0);
                    m_bSettingFocus = 1;
                    FocusControl(nId);
                    m_bSettingFocus = 0;
                } else {
                    ShowRecord();
                }
            } else if (cell == ManualCell::Ring) {
                m_nRing[d][nRow] = static_cast<int>(SendDlgItemMessage(nId, CB_GETCURSEL, 0, 0));
                if (m_nFlowSource == 0 && CSimbrel1View::TextToDouble(m_strFanP[d][nRow]) != 0.0)
                    UpdateFlowFromFanPressure(nRow);
            } else if (cell == ManualCell::FanPressure) {
                UpdateFlowFromFanPressure(nRow);
            } else if (cell == ManualCell::Flow) {
                UpdateFanPressureFromFlow(nRow);
            } else {
                CString strText;
                GetDlgItemText(nId, strText);
                strText = CSimbrel1View::StripLeadingBlanks(strText);
                if (nId == IDC_MANUAL_PRE_AVG) {
                    m_strPretestAvg = strText;
                    m_dPreBaseline[d] = CSimbrel1View::TextToDouble(strText);
                } else {
                    m_strPosttestAvg = strText;
                    m_dPostBaseline[d] = CSimbrel1View::TextToDouble(strText);
                }
            }
            return TRUE;
        case EN_SETFOCUS:
            if (cell == ManualCell::BuildingPressure && m_chDirection == L'D') {
                CString strText;
                GetDlgItemText(nId, strText);
                if (strText.IsEmpty()) {
                    m_strBuildingP[d][nRow] = L"-";
                    ShowRecord();
                    m_nPendingFocusId = nId;
                    SetTimer(kFocusTimer, kFocusDelayMs, nullptr);
                }
            }
            return TRUE;
        case CBN_SETFOCUS:
            if (cell == ManualCell::Ring && nRow > 1 && GetRowRing(d, nRow) < 0)
                SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(GetRowRing(d, nRow - 1)), 0);
            return TRUE;
        case CBN_SELCHANGE:
            if (cell == ManualCell::Ring) {
                m_nRing[d][nRow] = static_cast<int>(SendDlgItemMessage(nId, CB_GETCURSEL, 0, 0));
                if (m_nFlowSource == 0 && CSimbrel1View::TextToDouble(m_strFanP[d][nRow]) != 0.0)
                    UpdateFlowFromFanPressure(nRow);
                else if (m_nFlowSource == 1 && CSimbrel1View::TextToDouble(m_strFlow[d][nRow]) != 0.0)
                    UpdateFanPressureFromFlow(nRow);
                LoadRowCalibration(d, nRow);
            }
            return TRUE;
        case EN_CHANGE:
            if (m_pView != nullptr && cell != ManualCell::Ring) {
                const bool bNoMinus = cell == ManualCell::FanPressure || cell == ManualCell::Flow;
                m_bSettingFocus = 1;
                m_pView->FilterNumericEdit(this, 1, bNoMinus ? 1 : 0, 0);
                m_bSettingFocus = 0;
            }
            return TRUE;
        default:
            break;
        }
    }
    if (lParam != 0 && nCode == EN_CHANGE) {
        if (m_pView != nullptr && (nId == IDC_MANUAL_PRE_PLUS || nId == IDC_MANUAL_PRE_MINUS ||
                                   nId == IDC_MANUAL_POST_PLUS || nId == IDC_MANUAL_POST_MINUS)) {
            m_bSettingFocus = 1;
            m_pView->FilterNumericEdit(this, 1, 0, 0);
            m_bSettingFocus = 0;
        } else if (nId == IDC_MANUAL_HIDDEN_2408) {
            GetDlgItemText(IDC_MANUAL_HIDDEN_2408, m_strHidden2408);
        }
        return TRUE;
    }
    if (nCode != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);

    bool bReturned = false;
    switch (nId) {
    case IDC_MANUAL_NO_ACTION: {
        // Enter: on to the next cell, baseline average or flow source button.
        HWND hStart = ::GetFocus();
        HWND hNext = hStart;
        for (int i = 0; i < 200; ++i) {
            hNext = ::GetNextDlgTabItem(GetSafeHwnd(), hNext, FALSE);
            if (hNext == nullptr || hNext == hStart)
                break;
            ManualCell nextCell = ManualCell::BuildingPressure;
            const int nNextId = ::GetDlgCtrlID(hNext);
            if (FindCell(nNextId, nextCell) >= 0 || nNextId == IDC_MANUAL_SOURCE_FAN_P ||
                nNextId == IDC_MANUAL_SOURCE_FLOW) {
                ::SetFocus(hNext);
                break;
            }
        }
        return TRUE;
    }
    case IDC_MANUAL_SOURCE_FAN_P:
    case IDC_MANUAL_SOURCE_FLOW:
        m_nFlowSource = nId == IDC_MANUAL_SOURCE_FAN_P ? 0 : 1;
        EnableCellsBySource();
        ReturnFocus(bReturned);
        return TRUE;
    case IDC_MANUAL_HELP:
        if (m_pView != nullptr)
            m_pView->ShowContextHelp(kGridHelpTopic);
        ReturnFocus(bReturned);
        return TRUE;
    case IDC_MANUAL_CLEAR:
        if (ShowGridMessage(IDS_CLEAR_ALL_ENTRIES, L"", IDI_MESSAGE_NOTE, 4) == IDYES) {
            const int nReturn = m_nReturnFocusId;
            ClearData(d);
            m_nReturnFocusId = nReturn;
            SelectRings(d);
            ShowRecord();
            ReturnFocus(bReturned);
            if (!bReturned)
                FocusControl(IDC_MANUAL_PRE_AVG);
        } else {
            ReturnFocus(bReturned);
        }
        return TRUE;
    case IDC_MANUAL_BASELINE_BUTTON:
        if (m_pView != nullptr && m_pView->m_pBaseline != nullptr) {
            CBaselineDataEntry& baseline = *m_pView->m_pBaseline;
            baseline.DoModal();
            m_strPretestAvg = baseline.m_strPretestAvg[d];
            m_strPretestPlus = baseline.m_strPretestPlus[d];
            m_strPretestMinus = baseline.m_strPretestMinus[d];
            m_strPosttestAvg = baseline.m_strPosttestAvg[d];
            m_strPosttestPlus = baseline.m_strPosttestPlus[d];
            m_strPosttestMinus = baseline.m_strPosttestMinus[d];
            m_dPreBaseline[d] = CSimbrel1View::TextToDouble(m_strPretestAvg);
            m_dPostBaseline[d] = CSimbrel1View::TextToDouble(m_strPosttestAvg);
            ShowRecord();
        }
        return TRUE;
    case IDC_MANUAL_ENVIRONMENT:
        RunEnvironmentPage(d);
        return TRUE;
    case IDC_MANUAL_TAB_PRESS:
        ChangeDirection(0);
        return TRUE;
    case IDC_MANUAL_TAB_DEPRESS:
        ChangeDirection(1);
        return TRUE;
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CManualDataEntryDialog::RunEnvironmentPage(int d)
{
    if (m_pView == nullptr || m_pView->m_pSettings == nullptr || m_pView->m_pTestGraph == nullptr)
        return;
    CTestGraph1& store = *m_pView->m_pTestGraph;
    auto number = [](const CString& s) { return CSimbrel1View::TextToDouble(s); };
    switch (m_pView->m_pSettings->m_nStandard) {
    case 0:
        if (m_pView->m_pTemperature != nullptr && m_pView->m_pTemperature->DoModal() == IDOK) {
            store.m_TestTin[0][d][0] = number(m_pView->m_pTemperature->m_strIndoorTemp);
            store.m_TestTout[0][d][0] = number(m_pView->m_pTemperature->m_strOutdoorTemp);
        }
        break;
    case 1:
    case 3:
        if (m_pView->m_pTempBaro != nullptr && m_pView->m_pTempBaro->DoModal() == IDOK) {
            CTemperatureAndBarometricPressure& page = *m_pView->m_pTempBaro;
            store.m_TestTin[0][d][0] = number(page.m_strIndoorTemp);
            store.m_TestTout[0][d][0] = number(page.m_strOutdoorTemp);
            page.ParsePressureAndAltitude(1);
            store.m_TestPbaro[0][d][0] = page.ComputeBarometricPressure();
        }
        break;
    case 2:
        if (m_pView->m_pTempAltitude != nullptr && m_pView->m_pTempAltitude->DoModal() == IDOK) {
            CTemperatureAndAltitudeEntry& page = *m_pView->m_pTempAltitude;
            store.m_TestTin[0][d][0] = number(page.m_strPretestIndoorTemp);
            store.m_TestTout[0][d][0] = number(page.m_strPretestOutdoorTemp);
            store.m_TestTin[1][d][0] = number(page.m_strPosttestIndoorTemp);
            store.m_TestTout[1][d][0] = number(page.m_strPosttestOutdoorTemp);
            store.m_TestAltitude[d][0] = number(page.m_strAltitude);
            if (m_pView->m_pMath != nullptr) {
                const double dBaro =
                    m_pView->m_pMath->BarometricPressureFromAltitude(m_pView->m_nBuildingUnit, store.m_TestAltitude[d][0]);
                store.m_TestPbaro[0][d][0] = dBaro;
                store.m_TestPbaro[1][d][0] = dBaro;
            }
        }
        break;
    default:
        break;
    }
}

void CManualDataEntryDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kFocusTimer) {
        KillTimer(kFocusTimer);
        const int nId = m_nPendingFocusId;
        m_nPendingFocusId = 0;
        // Only the caret of a cell that still has the focus is placed: a
        // focus moved on meanwhile (a message, the dialog's own move) stays.
        CWnd* pCell = GetDlgItem(nId);
        if (pCell == nullptr || ::GetFocus() != pCell->GetSafeHwnd())
            return;
        m_bSettingFocus = 1;
        FocusControl(IDC_MANUAL_POST_AVG);
        m_bSettingFocus = 1;
        FocusControl(nId);
        m_bSettingFocus = 0;
        SendDlgItemMessage(nId, EM_SETSEL, 1, 1);
    } else if (nIDEvent == kMessageGuardTimer) {
        KillTimer(kMessageGuardTimer);
        m_bMessageShown = 0;
    }
}

void CManualDataEntryDialog::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct == nullptr || lpDrawItemStruct->CtlType != ODT_BUTTON)
        return;
    CWnd* pButton = GetDlgItem(nIDCtl);
    if (pButton == nullptr)
        return;
    if (nIDCtl == IDC_MANUAL_TAB_PRESS || nIDCtl == IDC_MANUAL_TAB_DEPRESS) {
        const int bSelected = (nIDCtl == IDC_MANUAL_TAB_PRESS) == (ShownSlot() == 0) ? 1 : 0;
        CDrawButton drawer;
        drawer.DrawTab(nullptr, pButton, bSelected, lpDrawItemStruct);
        if (bSelected) {
            const RECT& rc = lpDrawItemStruct->rcItem;
            const int nWidth = std::max(1, static_cast<int>(std::lround((rc.bottom - rc.top) / 16.0)));
            HPEN hPen = ::CreatePen(PS_SOLID, nWidth, RGB(0, 0, 0));
            HGDIOBJ hOld = ::SelectObject(lpDrawItemStruct->hDC, hPen);
            ::MoveToEx(lpDrawItemStruct->hDC, rc.left, rc.bottom - 1, nullptr);
            ::LineTo(lpDrawItemStruct->hDC, rc.left, rc.top);
            ::LineTo(lpDrawItemStruct->hDC, rc.right - 1, rc.top);
            ::LineTo(lpDrawItemStruct->hDC, rc.right - 1, rc.bottom - 1);
            ::SelectObject(lpDrawItemStruct->hDC, hOld);
            ::DeleteObject(hPen);
        }
        return;
    }
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nDefaultFocusButton, IDC_MANUAL_NO_ACTION);
}

void CManualDataEntryDialog::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(GetSafeHwnd(), &ps);
    RECT rcClient;
    ::GetClientRect(GetSafeHwnd(), &rcClient);
    RECT rcTab = {};
    if (CWnd* pTab = GetDlgItem(IDC_MANUAL_TAB_PRESS)) {
        ::GetWindowRect(pTab->GetSafeHwnd(), &rcTab);
        ::MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&rcTab), 2);
    }
    RECT rcBand = {rcClient.left, rcClient.top, rcClient.right, rcTab.bottom};
    HBRUSH hBrush = ::CreateSolidBrush(::GetSysColor(COLOR_ACTIVECAPTION));
    ::FillRect(hDC, &rcBand, hBrush);
    ::DeleteObject(hBrush);
    ::EndPaint(GetSafeHwnd(), &ps);
}
