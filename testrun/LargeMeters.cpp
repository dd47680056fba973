// The test screen's large meters, the captions beside the zone readouts,
// the flow and fan labels and the ring and direction lists.
#include "testrun/LargeDigitalMeter.h"

#include <algorithm>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

bool IsRunMethod(wchar_t chMethod)
{
    return chMethod == L'A' || chMethod == L'S';
}

}  // namespace

// One meter.

CRect CLargeDigitalMeter::GetLabelRect(const CRect& rc, int bLeft)
{
    const int w = rc.Width();
    const int h = rc.Height();
    const int nShift = w + h / 8 + 2;
    if (bLeft)
        return CRect(rc.left - nShift - w / 2, rc.top, rc.right - nShift, rc.bottom);
    return CRect(rc.left + nShift, rc.top, rc.right + nShift + w / 2, rc.bottom);
}

CRect CLargeDigitalMeter::GetValueTextRect(const CRect& rc)
{
    const int h = rc.Height();
    return CRect(rc.left, rc.top - h / 8, rc.right - h / 8, rc.bottom + h / 16);
}

void CLargeDigitalMeter::DrawFrame(CDC* pDC, const CRect& rc)
{
    if (pDC == nullptr)
        return;
    CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
    CGdiObject* pOldBrush = pDC->SelectStockObject(WHITE_BRUSH);
    pDC->Rectangle(rc);
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    const POINT shadow[6] = {{l - 2, b + 2}, {l - 2, t - 2}, {r + 2, t - 2}, {r, t}, {l, t}, {l, b}};
    const POINT light[6] = {{r, t}, {r, b}, {l, b}, {l - 2, b + 2}, {r + 2, b + 2}, {r + 2, t - 2}};
    {
        CBrush dark(::GetSysColor(COLOR_3DDKSHADOW));
        pDC->SelectObject(&dark);
        pDC->Polygon(shadow, 6);
        pDC->SelectStockObject(WHITE_BRUSH);
    }
    {
        CBrush highlight(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->SelectObject(&highlight);
        pDC->Polygon(light, 6);
        pDC->SelectStockObject(WHITE_BRUSH);
    }
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CLargeDigitalMeter::DrawLabel(CDC* pDC, const CRect& rc, const CString& strText, int bLeft, double dFraction)
{
    if (pDC == nullptr)
        return;
    CFont font;
    font.CreateFont(-static_cast<int>(rc.Height() * dFraction), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    CFont* pOld = pDC->SelectObject(&font);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcLabel = GetLabelRect(rc, bLeft);
    pDC->DrawText(strText, rcLabel, (bLeft ? DT_RIGHT : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
}

void CLargeDigitalMeter::DrawValue(CDC* pDC, const CRect& rc, const CString& strText)
{
    if (pDC == nullptr)
        return;
    {
        CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
        CGdiObject* pOldBrush = pDC->SelectStockObject(WHITE_BRUSH);
        pDC->Rectangle(rc);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }
    const int h = rc.Height();
    CFont font;
    font.CreateFont(-(h + h / 8), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    CFont* pOld = pDC->SelectObject(&font);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcText = GetValueTextRect(rc);
    pDC->DrawText(strText, rcText, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
}

// The three meters of the test screen.

CTestGraph1::CLargeMeterLayout CTestGraph1::ComputeLargeMeterLayout(const CRect& rcPlot)
{
    CLargeMeterLayout layout;
    const int h = rcPlot.Height();
    const int nUnit = h / 6;
    const int nWidth = static_cast<int>(nUnit * 5 * 0.66);
    CRect rc(rcPlot.right - h / 12 - nWidth, rcPlot.top + h / 12, rcPlot.right - h / 12, rcPlot.top + h / 12 + nUnit);
    for (CRect& rcMeter : layout.rcMeter) {
        rcMeter = rc;
        rc.OffsetRect(0, nUnit + nUnit / 4);
    }
    return layout;
}

CString CTestGraph1::GetFlowLabel() const
{
    const int nUnit = m_pView != nullptr ? std::clamp(m_pView->m_nFlowUnit, 0, 2) : 0;
    return LoadText(IDS_FLOW) + L" (" + LoadText(IDS_UNIT_CFM + nUnit) + L")";
}

CString CTestGraph1::GetLargeMeterLabel(int k) const
{
    if (k == 0) {
        const CTestSettingsDialog* pSettings =
            m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
        if (pSettings != nullptr && pSettings->IsEnOrIsoStandard()) {
            CString str;
            str.Format(L"n50 (%s)", LoadText(IDS_UNIT_PER_HOUR).GetString());
            return str;
        }
        return LoadText(IDS_ACH50);
    }
    if (k == 1)
        return GetFlowLabel();
    return LoadText(IDS_BUILDING_PRESSURE_PA);
}

CString CTestGraph1::GetLargeMeterValue(int k) const
{
    return k == 0 ? m_strResults : (k == 1 ? m_strFlow : m_strBuildingPressure);
}

void CTestGraph1::DrawLargeMeters(CDC* pDC)
{
    DrawLargeMeters(pDC, m_rcPlot);
}

void CTestGraph1::DrawLargeMeters(CDC* pDC, const CRect& rcPlot)
{
    if (pDC == nullptr || pDC->IsPrinting() || rcPlot.IsRectEmpty())
        return;
    const CLargeMeterLayout layout = ComputeLargeMeterLayout(rcPlot);
    CLargeDigitalMeter meter;
    for (int k = 0; k < 3; ++k) {
        m_rcLargeMeter[k] = layout.rcMeter[k];
        meter.DrawFrame(pDC, m_rcLargeMeter[k]);
        meter.DrawLabel(pDC, m_rcLargeMeter[k], GetLargeMeterLabel(k), 1, 0.4);
        meter.DrawValue(pDC, m_rcLargeMeter[k], GetLargeMeterValue(k));
    }
}

void CTestGraph1::UpdateLargeMeterValues(CDC* pDC)
{
    if (pDC == nullptr || !m_bLargeMeters || !IsRunMethod(GetCurrentMethod()))
        return;
    CLargeDigitalMeter meter;
    for (int k = 0; k < 3; ++k) {
        if (!m_rcLargeMeter[k].IsRectEmpty())
            meter.DrawValue(pDC, m_rcLargeMeter[k], GetLargeMeterValue(k));
    }
}

void CTestGraph1::DrawZoneLabels(CDC* pDC)
{
    if (pDC == nullptr || !m_bShown || GetSafeHwnd() == nullptr)
        return;
    CWnd* pFirst = GetDlgItem(IDC_TG_ZONE_READOUT_FIRST);
    CRect rcFirst(0, 0, 0, 0);
    int h = 0;
    if (pFirst != nullptr) {
        pFirst->GetWindowRect(&rcFirst);
        ScreenToClient(&rcFirst);
        h = rcFirst.Height();
    }
    CFont font;
    font.CreateFont(pFirst != nullptr ? -((7 * h) / 8) : -12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    CFont* pOld = pDC->SelectObject(&font);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    if (pFirst != nullptr) {
        const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
        pDC->TextOut(rcFirst.left, rcFirst.top - (6 * h) / 5, LoadText(IDS_ZONAL_PRESSURES_PA));
        pDC->SetTextAlign(nOldAlign);
    }
    for (int nChannel = 3; nChannel <= 8 && IsZoneActive(nChannel); ++nChannel) {
        CWnd* pReadout = GetDlgItem(GetZoneReadoutId(nChannel));
        if (pReadout == nullptr)
            continue;
        CRect rc;
        pReadout->GetWindowRect(&rc);
        ScreenToClient(&rc);
        const int w = rc.Width();
        const int hz = rc.Height();
        rc.OffsetRect(-(w + hz / 2), -(hz / 8));
        pDC->DrawText(m_strZoneCaption[nChannel - 3], rc, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
    }
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
}

void CTestGraph1::UpdateFlowUnitLabel()
{
    m_strFlowCaption = GetFlowLabel();
    if (m_bShown && GetSafeHwnd() != nullptr) {
        SetItemText(m_strFlowCaption, IDC_TG_FLOW_CAPTION);
        ShowControl(IDC_TG_FLOW_CAPTION, SW_SHOW);
    }
}

wchar_t CTestGraph1::GetFanCode() const
{
    const CEquipmentInfoDialogIntl* pEquipment =
        m_pEquipment != nullptr ? m_pEquipment : (m_pView != nullptr ? m_pView->m_pEquipment : nullptr);
    return pEquipment != nullptr ? pEquipment->m_chFanCode : L'\0';
}

UINT CTestGraph1::GetFanTypeStringId(wchar_t chFanCode)
{
    switch (chFanCode) {
    case L'3':
        return IDS_FAN_BLOWER_DOOR_R_110;
    case L'5':
        return IDS_FAN_BLOWER_DOOR_R_230;
    case L'4':
        return IDS_FAN_BLOWER_DOOR_S_230;
    case L'A':
        return IDS_FAN_AIRVANE_A;
    case L'B':
        return IDS_FAN_AIRVANE_B;
    default:
        return 0;
    }
}

void CTestGraph1::UpdateFanLabels()
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    if (const UINT nID = GetFanTypeStringId(GetFanCode()); nID != 0)
        m_strFanType = LoadText(nID);
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    m_nRingIndex = m_CurrentRing[d];
    SendDlgItemMessage(IDC_TG_RING_LIST, CB_SETCURSEL, static_cast<WPARAM>(m_nRingIndex));
    SetItemText(m_strFanType, IDC_TG_FAN_TYPE);
    ShowControl(IDC_TG_FAN_TYPE, SW_SHOW);
    ShowControl(IDC_TG_RING_LIST, SW_SHOW);
}

std::vector<CString> CTestGraph1::GetRingListItems(wchar_t chFanCode)
{
    std::vector<CString> items{LoadText(IDS_OPEN)};
    const CString strRing = LoadText(IDS_RING);
    const bool bBlowerDoor = chFanCode == L'3' || chFanCode == L'5' || chFanCode == L'4';
    const wchar_t* pszNames = bBlowerDoor ? L"ABCDE" : (chFanCode == L'B' ? L"1234" : L"123");
    for (const wchar_t* p = pszNames; *p != 0; ++p) {
        CString strItem = strRing + L" ";
        strItem += *p;
        items.push_back(strItem);
    }
    return items;
}

void CTestGraph1::FillRingCombo()
{
    if (GetSafeHwnd() == nullptr || GetDlgItem(IDC_TG_RING_LIST) == nullptr)
        return;
    SendDlgItemMessage(IDC_TG_RING_LIST, CB_RESETCONTENT);
    for (const CString& strItem : GetRingListItems(GetFanCode()))
        SendDlgItemMessage(IDC_TG_RING_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
    SendDlgItemMessage(IDC_TG_RING_LIST, CB_SETCURSEL, 0);
}

void CTestGraph1::FillDirectionCombo()
{
    if (GetSafeHwnd() == nullptr || GetDlgItem(IDC_TG_DIRECTION_LIST) == nullptr)
        return;
    SendDlgItemMessage(IDC_TG_DIRECTION_LIST, CB_RESETCONTENT);
    for (UINT nID : {UINT(IDS_PRESSURIZATION), UINT(IDS_DEPRESSURIZATION)}) {
        const CString strItem = LoadText(nID);
        SendDlgItemMessage(IDC_TG_DIRECTION_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
    }
    SendDlgItemMessage(IDC_TG_DIRECTION_LIST, CB_SETCURSEL, static_cast<WPARAM>(g_nCurrentDirection == 0 ? 0 : 1));
}

void CTestGraph1::SetDropDownHeight(int nID)
{
    if (GetSafeHwnd() == nullptr)
        return;
    CWnd* pList = GetDlgItem(nID);
    if (pList == nullptr)
        return;
    CRect rc;
    pList->GetWindowRect(&rc);
    ScreenToClient(&rc);
    const int h = rc.Height();
    ::MoveWindow(pList->GetSafeHwnd(), rc.left, rc.top, rc.Width(), h + 20 * h, TRUE);
}
