#include "calc/ZonalPressureSetupDialog.h"

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"
#include "res/resource.h"

namespace {

constexpr int kHelpTopic = 19;

const int kActiveIds[6] = {IDC_ZONE_ACTIVE_P3, IDC_ZONE_ACTIVE_P4, IDC_ZONE_ACTIVE_P5,
                           IDC_ZONE_ACTIVE_P6, IDC_ZONE_ACTIVE_P7, IDC_ZONE_ACTIVE_P8};
const int kNameIds[6] = {IDC_ZONE_NAME_P3, IDC_ZONE_NAME_P4, IDC_ZONE_NAME_P5,
                         IDC_ZONE_NAME_P6, IDC_ZONE_NAME_P7, IDC_ZONE_NAME_P8};
const int kOutsideIds[6] = {IDC_ZONE_OUTSIDE_P3, IDC_ZONE_OUTSIDE_P4, IDC_ZONE_OUTSIDE_P5,
                            IDC_ZONE_OUTSIDE_P6, IDC_ZONE_OUTSIDE_P7, IDC_ZONE_OUTSIDE_P8};

}  // namespace

BEGIN_MESSAGE_MAP(CZonalPressureSetupDialog, CDialog)
    ON_COMMAND_RANGE(IDC_ZONE_ACTIVE_P3, IDC_ZONE_ACTIVE_P8, OnActivate)
    ON_BN_CLICKED(IDC_ZONE_SETUP_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_ZONE_SETUP_NO_ACTION, OnNoAction)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CZonalPressureSetupDialog::CZonalPressureSetupDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CZonalPressureSetupDialog::~CZonalPressureSetupDialog() = default;

int CZonalPressureSetupDialog::ZoneRow(int nZone)
{
    return nZone >= 4 && nZone <= 8 ? nZone - 3 : 0;
}

void CZonalPressureSetupDialog::SetZoneActive(int nZone, int bActive)
{
    m_bActive[ZoneRow(nZone)] = bActive;
}

int CZonalPressureSetupDialog::GetZoneActive(int nZone) const
{
    return m_bActive[ZoneRow(nZone)];
}

void CZonalPressureSetupDialog::SetZoneName(int nZone, const CString& strName)
{
    m_strName[ZoneRow(nZone)] = JoinLines(strName);
}

CString CZonalPressureSetupDialog::GetZoneName(int nZone) const
{
    return m_strName[ZoneRow(nZone)];
}

void CZonalPressureSetupDialog::SetZoneReference(int nZone, int nSide)
{
    m_nReference[ZoneRow(nZone)] = nSide == 1 ? 1 : 0;
}

int CZonalPressureSetupDialog::GetZoneReference(int nZone) const
{
    return m_nReference[ZoneRow(nZone)] == 1 ? 1 : 0;
}

CString CZonalPressureSetupDialog::JoinLines(const CString& strText)
{
    CString strResult;
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; ++i) {
        const wchar_t ch = strText[i];
        if (ch == L'\r' || ch == L'\n') {
            if (ch == L'\r' && i + 1 < nLength && strText[i + 1] == L'\n')
                ++i;
            strResult += L' ';
        } else {
            strResult += ch;
        }
    }
    return strResult;
}

void CZonalPressureSetupDialog::ApplyContiguousActivation(int* pActive, int nRow, int bTicked)
{
    if (nRow < 0 || nRow >= kZones)
        return;
    if (bTicked) {
        for (int i = 0; i < nRow; ++i)
            pActive[i] = 1;
    } else {
        for (int i = nRow + 1; i < kZones; ++i)
            pActive[i] = 0;
    }
}

void CZonalPressureSetupDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < kZones; ++i) {
        DDX_Check(pDX, kActiveIds[i], m_bActive[i]);
        DDX_Text(pDX, kNameIds[i], m_strName[i]);
        DDX_Radio(pDX, kOutsideIds[i], m_nReference[i]);
        if (pDX->m_bSaveAndValidate)
            m_strName[i] = JoinLines(m_strName[i]);
    }
}

BOOL CZonalPressureSetupDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    CDialog::OnInitDialog();
    SetDefID(IDC_ZONE_SETUP_NO_ACTION);
    SetWindowText(LoadText(IDS_ZONE_SETUP_CAPTION).GetString());
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_ZONE_ACTIVATE_HEAD, IDS_ZONE_ACTIVATE},
        {IDC_ZONE_NAME_HEAD, IDS_ZONE_NAME},
        {IDC_ZONE_REFERENCE_GROUP, IDS_ZONE_WITH_REFERENCE_TO},
        {IDC_ZONE_OUTSIDE_HEAD, IDS_ZONE_OUTSIDE},
        {IDC_ZONE_INSIDE_HEAD, IDS_ZONE_INSIDE},
        {IDC_ZONE_SETUP_HELP, IDS_MSG_HELP},
        {IDOK, IDS_MSG_OK},
        {IDCANCEL, IDS_MSG_CANCEL},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    for (int nID : {IDC_ZONE_AUX1_DEVICE, IDC_ZONE_AUX2_DEVICE, IDC_ZONE_AUX3_DEVICE}) {
        if (CWnd* pLabel = GetDlgItem(nID))
            pLabel->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void CZonalPressureSetupDialog::OnActivate(UINT nID)
{
    UpdateData(TRUE);
    const int nRow = static_cast<int>(nID) - IDC_ZONE_ACTIVE_P3;
    ApplyContiguousActivation(m_bActive, nRow, m_bActive[nRow]);
    UpdateData(FALSE);
}

void CZonalPressureSetupDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

void CZonalPressureSetupDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_ZONE_SETUP_NO_ACTION);
}

// Only the Cancel button cancels.
BOOL CZonalPressureSetupDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
