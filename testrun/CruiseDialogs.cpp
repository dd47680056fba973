#include "testrun/CruiseDialogs.h"

#include <cwchar>

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "res/resource.h"

namespace {

constexpr int kCruiseHelpTopic = 9;
constexpr int kSelectionHelpTopic = 209;
constexpr int kRowButtons[CDataPointSelected::kMaxRows] = {IDC_SELECTED_ROW1, IDC_SELECTED_ROW2, IDC_SELECTED_ROW3,
                                                           IDC_SELECTED_ROW4};

}  // namespace

// Cruise conditions.

BEGIN_MESSAGE_MAP(CCruiseDialog, CDialog)
    ON_BN_CLICKED(IDC_CRUISE_HELP, OnHelpButton)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CCruiseDialog::CCruiseDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

double CCruiseDialog::ParsePressure(const CString& strText)
{
    // wcstod stops at the first character that is not part of a number and
    // gives 0 when there is none, which is the meaning of an empty field.
    return std::wcstod(strText.GetString(), nullptr);
}

BOOL CCruiseDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    SetDefID(IDC_CRUISE_NO_ACTION);
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_CRUISE_TEST_CONDITIONS).GetString());
    SetDlgItemText(IDC_CRUISE_HELP, LoadText(IDS_MSG_HELP).GetString());
    SetDlgItemText(IDC_CRUISE_GROUP, LoadText(IDS_CRUISE_BASELINE).GetString());
    SetDlgItemText(IDC_CRUISE_BASELINE_NO, LoadText(IDS_MSG_NO).GetString());
    SetDlgItemText(IDC_CRUISE_BASELINE_YES, LoadText(IDS_MSG_YES).GetString());
    SetDlgItemText(IDC_CRUISE_PRESSURE_LABEL, LoadText(IDS_CRUISE_PRESSURE_PA).GetString());
    SetDlgItemText(IDCANCEL, LoadText(IDS_CANCEL_CRUISE).GetString());
    SetDlgItemText(IDOK, LoadText(IDS_MSG_OK).GetString());
    return TRUE;
}

void CCruiseDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_CRUISE_BASELINE_NO, m_nBaseline);
    DDX_Text(pDX, IDC_CRUISE_PRESSURE, m_strCruisePressure);
}

BOOL CCruiseDialog::PreTranslateMessage(MSG* pMsg)
{
    // Esc would cancel the cruise without the technician pressing "Cancel Cruise".
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CCruiseDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_dCruisePressure = ParsePressure(m_strCruisePressure);
    if (IsPressureAccepted(m_dCruisePressure)) {
        EndDialog(IDOK);
        return;
    }
    if (m_pView != nullptr)
        m_pView->ShowMessage(IDS_CRUISE_PRESSURE_RANGE, CString(), 175, 0, 255);
    if (CWnd* pEdit = GetDlgItem(IDC_CRUISE_PRESSURE))
        GotoDlgCtrl(pEdit);
}

void CCruiseDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kCruiseHelpTopic);
}

void CCruiseDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_CRUISE_NO_ACTION);
}

// Data point selection.

BEGIN_MESSAGE_MAP(CDataPointSelected, CDialog)
    ON_COMMAND_RANGE(IDC_SELECTED_ROW1, IDC_SELECTED_ROW4, OnSelectPoint)
    ON_BN_CLICKED(IDC_SELECTED_HELP, OnHelpButton)
END_MESSAGE_MAP()

CDataPointSelected::CDataPointSelected(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CDataPointSelected::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_nRows < 1)
        m_nRows = 1;
    if (m_nRows > kMaxRows)
        m_nRows = kMaxRows;
    if (m_nSelectedRow < 0 || m_nSelectedRow >= m_nRows)
        m_nSelectedRow = 0;

    SetWindowText(LoadText(IDS_DATA_POINT_SELECTED).GetString());
    SetDlgItemText(IDC_SELECTED_PRESSURE_LABEL, LoadText(IDS_BUILDING_PRESSURE_PA).GetString());
    CString strFlowUnit;
    if (m_pView != nullptr)
        strFlowUnit = m_pView->m_strFlowUnitName[m_nDirection[m_nSelectedRow] == 1 ? 1 : 0];
    CString strFlowLabel;
    strFlowLabel.Format(L"%s (%s)", LoadText(IDS_FAN_FLOW).GetString(), strFlowUnit.GetString());
    SetDlgItemText(IDC_SELECTED_FLOW_LABEL, strFlowLabel.GetString());
    SetDlgItemText(IDC_SELECTED_RING_LABEL, LoadText(IDS_RING).GetString());
    SetDlgItemText(IDC_SELECTED_DELETE, LoadText(IDS_DELETE_DATA_POINT).GetString());
    SetDlgItemText(IDC_SELECTED_HELP, LoadText(IDS_MSG_HELP).GetString());

    if (m_nRows == 1) {
        SetDlgItemText(IDC_SELECTED_SINGLE_LABEL, m_strLabel[0].GetString());
    } else {
        if (CWnd* pLabel = GetDlgItem(IDC_SELECTED_SINGLE_LABEL))
            pLabel->ShowWindow(SW_HIDE);
        for (int r = 0; r < m_nRows; ++r) {
            SetDlgItemText(kRowButtons[r], m_strLabel[r].GetString());
            CheckDlgButton(kRowButtons[r], r == m_nSelectedRow ? BST_CHECKED : BST_UNCHECKED);
            if (CWnd* pButton = GetDlgItem(kRowButtons[r]))
                pButton->ShowWindow(SW_SHOW);
        }
    }
    ShowRowValues();
    return TRUE;
}

void CDataPointSelected::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SELECTED_DELETE, m_bDelete);
}

void CDataPointSelected::ShowRowValues()
{
    SetDlgItemText(IDC_SELECTED_PRESSURE, m_strPressure[m_nSelectedRow].GetString());
    SetDlgItemText(IDC_SELECTED_FLOW, m_strFlow[m_nSelectedRow].GetString());
    SetDlgItemText(IDC_SELECTED_RING, m_strRing[m_nSelectedRow].GetString());
}

void CDataPointSelected::OnSelectPoint(UINT nID)
{
    const int r = static_cast<int>(nID) - IDC_SELECTED_ROW1;
    if (r < 0 || r >= m_nRows)
        return;
    if (r == m_nSelectedRow) {
        // The row buttons act as radio buttons: a click never leaves none checked.
        CheckDlgButton(kRowButtons[r], BST_CHECKED);
        return;
    }
    CheckDlgButton(kRowButtons[m_nSelectedRow], BST_UNCHECKED);
    m_nSelectedRow = r;
    CheckDlgButton(kRowButtons[r], BST_CHECKED);
    ShowRowValues();
}

void CDataPointSelected::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kSelectionHelpTopic);
}

void CDataPointSelected::OnOK()
{
    RECT rc;
    if (::GetWindowRect(m_hWnd, &rc)) {
        m_x = rc.left;
        m_y = rc.top;
    }
    UpdateData(TRUE);
    EndDialog(IDOK);
}
