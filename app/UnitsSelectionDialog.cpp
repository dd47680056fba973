#include "app/UnitsSelectionDialog.h"

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"

namespace {

constexpr int kHelpTopic = 16;
constexpr int kIso9972 = 3;

}  // namespace

BEGIN_MESSAGE_MAP(CUnitsSelectionDialog, CDialog)
    ON_BN_CLICKED(IDC_UNITS_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_UNITS_NO_ACTION, OnNoAction)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CUnitsSelectionDialog::CUnitsSelectionDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CUnitsSelectionDialog::~CUnitsSelectionDialog() = default;

UINT CUnitsSelectionDialog::GetLeakageLabel(int nStandard, int nChoice)
{
    if (nStandard == kIso9972)
        return nChoice == 0 ? IDS_UNITS_FEET : IDS_UNITS_METERS;
    return nChoice == 0 ? IDS_UNITS_INCHES : IDS_UNITS_CENTIMETERS;
}

void CUnitsSelectionDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_UNITS_FLOW_CFM, m_nFlowUnit);
    DDX_Radio(pDX, IDC_UNITS_BUILDING_FT, m_nBuildingUnit);
    DDX_Radio(pDX, IDC_UNITS_LEAKAGE_IN, m_nLeakageUnit);
    DDX_Radio(pDX, IDC_UNITS_TEMPERATURE_F, m_nTemperatureUnit);
    DDX_Check(pDX, IDC_UNITS_SET_DEFAULTS, m_bSetAsDefaults);
}

BOOL CUnitsSelectionDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    SetDefID(IDC_UNITS_NO_ACTION);
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_UNITS_SELECTION_CAPTION).GetString());
    const int nStandard = m_pView != nullptr && m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_nStandard : 0;
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_UNITS_FLOW_GROUP, IDS_FLOW},
        {IDC_UNITS_FLOW_CFM, IDS_UNITS_CFM_LONG},
        {IDC_UNITS_FLOW_M3H, IDS_UNITS_M3H_LONG},
        {IDC_UNITS_FLOW_LS, IDS_UNITS_LS_LONG},
        {IDC_UNITS_TEMPERATURE_GROUP, IDS_TEMPERATURE},
        {IDC_UNITS_TEMPERATURE_F, IDS_UNITS_FAHRENHEIT_LONG},
        {IDC_UNITS_TEMPERATURE_C, IDS_UNITS_CENTIGRADE_LONG},
        {IDC_UNITS_BUILDING_GROUP, IDS_BUILDING_DIMENSIONS},
        {IDC_UNITS_BUILDING_FT, IDS_UNITS_FEET},
        {IDC_UNITS_BUILDING_M, IDS_UNITS_METERS},
        {IDC_UNITS_LEAKAGE_GROUP, IDS_LEAKAGE_DIMENSIONS},
        {IDC_UNITS_LEAKAGE_IN, GetLeakageLabel(nStandard, 0)},
        {IDC_UNITS_LEAKAGE_CM, GetLeakageLabel(nStandard, 1)},
        {IDC_UNITS_SET_DEFAULTS, IDS_SET_AS_DEFAULTS_NEW_TESTS},
        {IDOK, IDS_MSG_OK},
        {IDCANCEL, IDS_MSG_CANCEL},
        {IDC_UNITS_HELP, IDS_MSG_HELP},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    return TRUE;
}

void CUnitsSelectionDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

void CUnitsSelectionDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_UNITS_NO_ACTION);
}

// Only the Cancel button cancels.
BOOL CUnitsSelectionDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
