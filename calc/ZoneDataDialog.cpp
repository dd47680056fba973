#include "calc/ZoneDataDialog.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/DrawButton.h"
#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

static_assert(CZoneDataDialog::kReadingsPerSlot == CTestGraph1::kMaxEntries,
              "one slot of zone readings holds every entry of a test slot");
static_assert(CZoneDataDialog::kMaxReadings <= CQarGraphGenerator::kMaxPoints,
              "the chart takes every reading of a zone");

namespace {

constexpr int kHelpTopic = 17;
constexpr int kPreviousAction = 4;
constexpr int kNextAction = 3;

const COLORREF kZoneColors[CZoneDataDialog::kZones] = {
    RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(255, 128, 0), RGB(255, 0, 255), RGB(0, 128, 128),
};

int RowOfControl(int nID, int nFirst)
{
    return nID >= nFirst && nID < nFirst + CZoneDataDialog::kZones ? nID - nFirst : -1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CZoneDataDialog, CPageDialog)
    ON_COMMAND_RANGE(IDC_ZONE_GRAPHED_P3, IDC_ZONE_GRAPHED_P8, OnZoneCheck)
    ON_BN_CLICKED(IDC_ZONE_PAGE_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_ZONE_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_ZONE_NEXT, OnNext)
    ON_BN_CLICKED(IDC_ZONE_PAGE_NO_ACTION, OnNoAction)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CZoneDataDialog::CZoneDataDialog(CSimbrel1View* pView) : CPageDialog(IDD, pView)
{
    TraceLifecycle("CZoneDataDialog", true);
}

CZoneDataDialog::~CZoneDataDialog()
{
    TraceLifecycle("CZoneDataDialog", false);
}

COLORREF CZoneDataDialog::GetZoneColor(int nRow)
{
    return nRow >= 0 && nRow < kZones ? kZoneColors[nRow] : RGB(0, 0, 0);
}

void CZoneDataDialog::OrientReading(wchar_t chDirectionLetter, int nReference, double dP, double dZ, double& x,
                                    double& y)
{
    const bool bDepress = chDirectionLetter == L'D';
    const bool bInside = IsInsideReference(nReference);
    x = bDepress ? -dP : dP;
    y = bDepress != bInside ? -dZ : dZ;
}

// Reading and fitting.

int CZoneDataDialog::LoadZoneReadings(int bAppend, int nSlot)
{
    if (m_pTestGraph == nullptr || m_pView == nullptr || m_pView->m_pSettings == nullptr || nSlot < 0 || nSlot > 1)
        return 0;
    const CTestSettingsDialog& settings = *m_pView->m_pSettings;
    const CTestGraph1& store = *m_pTestGraph;
    const int nCount = std::min(store.UsedEntries(nSlot), kReadingsPerSlot);
    const int nAppended = bAppend ? std::min(store.UsedEntries(1), kMaxReadings - nCount) : 0;
    for (int i = 0; i < kZones; ++i) {
        const int z = kFirstZone + i;
        if (!settings.m_nZoneActive[nSlot][z])
            continue;
        for (int e = 0; e < nCount; ++e) {
            OrientReading(settings.m_chDirectionLetter[nSlot], settings.m_nZoneReference[nSlot][z],
                          store.m_Pavg[nSlot][e], store.m_ZonePavg[nSlot][i][e], m_dBuildingPressure[nSlot][i][e],
                          m_dZonePressure[nSlot][i][e]);
        }
        // Slot 1's readings keep their own direction and reference side.
        for (int e = 0; e < nAppended; ++e) {
            OrientReading(settings.m_chDirectionLetter[1], settings.m_nZoneReference[1][z], store.m_Pavg[1][e],
                          store.m_ZonePavg[1][i][e], m_dBuildingPressure[nSlot][i][nCount + e],
                          m_dZonePressure[nSlot][i][nCount + e]);
        }
    }
    return nCount + nAppended;
}

void CZoneDataDialog::EmptyRow(int nRow)
{
    m_strBuildingToZone[nRow].Empty();
    m_strZoneToOutside[nRow].Empty();
    m_strReference[nRow].Empty();
    m_strPressureError[nRow].Empty();
    m_strRatio[nRow].Empty();
    m_strRatioError[nRow].Empty();
}

void CZoneDataDialog::FormatZoneRow(int nRow, int bInside, double b, double seB)
{
    const double dP = kReferencePressure;
    m_strBuildingToZone[nRow].Format(L"%3.2f", bInside ? dP * b : dP * (1.0 - b));
    m_strZoneToOutside[nRow].Format(L"%3.2f", bInside ? dP * (1.0 - b) : dP * b);
    m_strPressureError[nRow].Format(L"%3.2f", dP * seB);
    m_strRatio[nRow].Format(L"%0.3f", bInside ? 1.0 - b : b);
    m_strRatioError[nRow].Format(L"%0.3f", seB);
    m_strReference[nRow] = LoadText(bInside ? IDS_ZONE_REF_IN : IDS_ZONE_REF_OUT);
}

void CZoneDataDialog::FitZones(int nSlot, int bReport, int nCount)
{
    if (m_pView == nullptr || m_pView->m_pSettings == nullptr || nSlot < 0 || nSlot > 1)
        return;
    m_pMath = m_pView->m_pMath;
    const CTestSettingsDialog& settings = *m_pView->m_pSettings;
    nCount = std::clamp(nCount, 0, kMaxReadings);
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < kZones; ++i) {
        const int z = kFirstZone + i;
        EmptyRow(i);
        if (!settings.m_nZoneActive[nSlot][z]) {
            if (bReport)
                m_strReportText[nSlot][i].Empty();
            continue;
        }
        double a = 0.0;
        double seA = 0.0;
        double b = 0.0;
        double seB = 0.0;
        int nResult = 3;
        if (m_pMath != nullptr)
            nResult = m_pMath->LinearRegression(m_dZonePressure[nSlot][i], m_dBuildingPressure[nSlot][i], nCount, a,
                                                seA, b, seB);
        // Equal building pressures (or a lone reading at 0 Pa) give no
        // line: the row stays empty and the chart draws no line for it.
        const bool bFitted = nResult != 3 && std::isfinite(a) && std::isfinite(b) && std::isfinite(seB);
        const int bInside = IsInsideReference(settings.m_nZoneReference[nSlot][z]);
        m_Chart.m_dIntercept[i] = bFitted ? a : dNaN;
        if (bReport) {
            if (bFitted)
                m_strReportText[nSlot][i].Format(L"%3.2f",
                                                 bInside ? kReferencePressure * (1.0 - b) : kReferencePressure * b);
            else
                m_strReportText[nSlot][i].Empty();
            continue;
        }
        m_Chart.m_dSlope[i] = bFitted ? b : dNaN;
        if (bFitted)
            FormatZoneRow(i, bInside, b, seB);
    }
}

void CZoneDataDialog::RefreshRowLabels(int nSlot)
{
    if (m_pView == nullptr || m_pView->m_pSettings == nullptr || nSlot < 0 || nSlot > 1)
        return;
    const CTestSettingsDialog& settings = *m_pView->m_pSettings;
    for (int i = 0; i < kZones; ++i) {
        const int z = kFirstZone + i;
        m_strZoneLabel[nSlot][z] = settings.m_strZoneName[nSlot][z] + CString::FormatText(L"-P%d", z);
        if (settings.m_nZoneActive[nSlot][z])
            m_strReference[i] =
                LoadText(IsInsideReference(settings.m_nZoneReference[nSlot][z]) ? IDS_ZONE_REF_IN : IDS_ZONE_REF_OUT);
    }
}

void CZoneDataDialog::UpdateZoneData(int bSetControls)
{
    if (m_pTestGraph == nullptr || m_pView == nullptr || m_pView->m_pSettings == nullptr)
        return;
    const CTestSettingsDialog& settings = *m_pView->m_pSettings;
    int d = m_pTestGraph->GetDirectionsWithData();
    if (d != 0 && d != 1)
        d = g_nCurrentDirection == 1 ? 1 : 0;
    int nCount = 0;
    if (m_pTestGraph->OtherDirectionHasTests()) {
        // Each slot's own fit for the report, then one fit over both.
        FitZones(1, 1, LoadZoneReadings(0, 1));
        FitZones(0, 1, LoadZoneReadings(0, 0));
        d = 0;
        nCount = LoadZoneReadings(1, 0);
    } else {
        nCount = LoadZoneReadings(0, d);
    }
    FitZones(d, 0, nCount);
    m_Chart.m_strXTitle = LoadText(IDS_BUILDING_PRESSURE_PA);
    m_Chart.m_strYTitle = LoadText(IDS_ZONAL_PRESSURES_PA);

    RefreshRowLabels(d);
    for (int i = 0; i < kZones; ++i) {
        const int z = kFirstZone + i;
        const int bActive = settings.m_nZoneActive[d][z] != 0;
        const CString& strLabel = m_strZoneLabel[d][z];
        if (bSetControls && GetSafeHwnd() != nullptr) {
            if (CWnd* pCheck = GetDlgItem(IDC_ZONE_GRAPHED_P3 + i)) {
                pCheck->EnableWindow(bActive);
                pCheck->SetWindowText(strLabel.GetString());
            }
        }
        if (m_bResetGraphed)
            m_bGraphed[i] = bActive;
        m_Chart.m_crColor[i] = kZoneColors[i];
        m_Chart.m_bVisible[i] = bActive && m_bGraphed[i];
        // Every active zone keeps its readings, so that ticking its Graphed
        // box later shows them without a new update.
        if (bActive) {
            const int nPoints = std::min(nCount, CQarGraphGenerator::kMaxPoints);
            std::copy(m_dBuildingPressure[d][i], m_dBuildingPressure[d][i] + nPoints, m_Chart.m_dX[i]);
            std::copy(m_dZonePressure[d][i], m_dZonePressure[d][i] + nPoints, m_Chart.m_dY[i]);
            m_Chart.m_nPointCount[i] = nPoints;
            m_Chart.m_strLegend[i] = strLabel;
        } else {
            m_Chart.m_nPointCount[i] = 0;
        }
    }
    m_bResetGraphed = 0;
}

// The row texts.

CString CZoneDataDialog::GetBuildingToZoneText(int nRow, int) const
{
    return nRow >= 0 && nRow < kZones ? m_strBuildingToZone[nRow] : CString();
}

CString CZoneDataDialog::GetZoneToOutsideText(int nRow, int) const
{
    return nRow >= 0 && nRow < kZones ? m_strZoneToOutside[nRow] : CString();
}

CString CZoneDataDialog::GetPressureErrorText(int nRow, int) const
{
    return nRow >= 0 && nRow < kZones ? m_strPressureError[nRow] : CString();
}

CString CZoneDataDialog::GetZoneRatioText(int nRow, int) const
{
    return nRow >= 0 && nRow < kZones ? m_strRatio[nRow] : CString();
}

CString CZoneDataDialog::GetRatioErrorText(int nRow, int) const
{
    return nRow >= 0 && nRow < kZones ? m_strRatioError[nRow] : CString();
}

CString CZoneDataDialog::GetReferenceText(int nRow, int) const
{
    return nRow >= 0 && nRow < kZones ? m_strReference[nRow] : CString();
}

// The page window.

void CZoneDataDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId)) {
        pControl->SetFocus();
        SetPageTexts();
    }
}

void CZoneDataDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < kZones; ++i) {
        DDX_Check(pDX, IDC_ZONE_GRAPHED_P3 + i, m_bGraphed[i]);
        DDX_Text(pDX, IDC_ZONE_REF_P3 + i, m_strReference[i]);
        DDX_Text(pDX, IDC_ZONE_BUILDING_TO_ZONE_P3 + i, m_strBuildingToZone[i]);
        DDX_Text(pDX, IDC_ZONE_TO_OUTSIDE_P3 + i, m_strZoneToOutside[i]);
        DDX_Text(pDX, IDC_ZONE_PRESSURE_ERROR_P3 + i, m_strPressureError[i]);
        DDX_Text(pDX, IDC_ZONE_RATIO_P3 + i, m_strRatio[i]);
        DDX_Text(pDX, IDC_ZONE_RATIO_ERROR_P3 + i, m_strRatioError[i]);
    }
}

BOOL CZoneDataDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    SetDefID(IDC_ZONE_PAGE_NO_ACTION);
    UpdateZoneData(1);
    // Not the page's own: the layout waits until SetPageTexts has set the texts.
    CDialog::OnInitDialog();
    SetPageTexts();
    return TRUE;
}

void CZoneDataDialog::SetPageTexts()
{
    if (GetSafeHwnd() == nullptr || (m_pView != nullptr && m_pView->m_bPdfRunning))
        return;
    SetWindowText(LoadText(IDS_ZONE_DATA_CAPTION).GetString());
    const int nStandard = m_pView != nullptr && m_pView->m_pSettings != nullptr ? m_pView->m_pSettings->m_nStandard : 0;
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_ZONE_GRAPH_AREA, IDS_ZONE_GRAPH_AREA},
        {IDC_ZONE_HEAD_ZONE, IDS_ZONE_HEAD_ZONE},
        {IDC_ZONE_HEAD_GRAPHED, IDS_ZONE_HEAD_GRAPHED},
        {IDC_ZONE_HEAD_REF, IDS_ZONE_HEAD_REF},
        {IDC_ZONE_HEAD_BUILDING, IDS_ZONE_HEAD_BUILDING},
        {IDC_ZONE_HEAD_TO_ZONE, IDS_ZONE_HEAD_TO_ZONE},
        {IDC_ZONE_HEAD_ZONE_TO, IDS_ZONE_HEAD_ZONE_TO},
        {IDC_ZONE_HEAD_OUTSIDE, IDS_ZONE_HEAD_OUTSIDE},
        {IDC_ZONE_HEAD_PRESSURE, IDS_ZONE_HEAD_PRESSURE},
        {IDC_ZONE_HEAD_RATIO, IDS_ZONE_HEAD_RATIO},
        {IDC_ZONE_PAGE_HELP, IDS_MSG_HELP},
        {IDC_ZONE_PREVIOUS, IDS_ZONE_PREVIOUS},
        {IDC_ZONE_PREVIOUS_LABEL, IDS_ZONE_TO_TEST_RESULTS},
        {IDC_ZONE_NEXT, IDS_ZONE_NEXT},
        {IDC_ZONE_NEXT_LABEL, nStandard == 1 ? static_cast<UINT>(IDS_ZONE_TO_INFORMATION)
                                              : static_cast<UINT>(IDS_ZONE_TO_DEV_FROM_STD)},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    for (int nID : {static_cast<int>(IDOK), static_cast<int>(IDCANCEL)}) {
        if (CWnd* pButton = GetDlgItem(nID))
            pButton->ShowWindow(SW_HIDE);
    }
    ApplyPageLayout();
}

void CZoneDataDialog::ApplyPageLayout()
{
    if (m_pView == nullptr || !m_pView->m_bLayoutPending)
        return;
    m_pView->LayoutPageIfPending(this, 1.0);
    // The chart's frame stays hidden, so the layout passes it by; it is
    // scaled here like every other control.
    if (CWnd* pFrame = GetDlgItem(IDC_ZONE_GRAPH_AREA)) {
        CRect rc;
        pFrame->GetWindowRect(&rc);
        ScreenToClient(&rc);
        const double s = m_pView->m_dPageScale;
        pFrame->MoveWindow(CRect(static_cast<int>(rc.left * s), static_cast<int>(rc.top * s),
                                 static_cast<int>(rc.right * s), static_cast<int>(rc.bottom * s)),
                           FALSE);
    }
    Invalidate();
}

CRect CZoneDataDialog::GetChartRect() const
{
    CRect rc;
    CWnd* pFrame = GetDlgItem(IDC_ZONE_GRAPH_AREA);
    if (pFrame == nullptr)
        return rc;
    pFrame->GetWindowRect(&rc);
    ScreenToClient(&rc);
    return rc;
}

// Messages and commands.

void CZoneDataDialog::OnZoneCheck(UINT nID)
{
    const int nRow = RowOfControl(static_cast<int>(nID), IDC_ZONE_GRAPHED_P3);
    if (nRow < 0)
        return;
    m_bGraphed[nRow] = !m_bGraphed[nRow];
    if (m_bCreated && GetSafeHwnd() != nullptr)
        UpdateData(FALSE);
    m_Chart.m_bVisible[nRow] = m_bGraphed[nRow];
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

void CZoneDataDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

void CZoneDataDialog::OnPrevious()
{
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, kPreviousAction);
}

void CZoneDataDialog::OnNext()
{
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, kNextAction);
}

void CZoneDataDialog::OnPaint()
{
    CPaintDC dc(this);
    const CRect rc = GetChartRect();
    dc.FillSolidRect(CRect(0, 0, rc.right + 10, rc.bottom + 30), ::GetSysColor(COLOR_BTNFACE));
    m_Chart.m_bLegend = 1;
    m_Chart.Draw(&dc, rc);
}

// The default brush of the dialog is returned: no brush is made per call.
HBRUSH CZoneDataDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    const int nID = pWnd != nullptr ? ::GetDlgCtrlID(pWnd->GetSafeHwnd()) : 0;
    int nRow = RowOfControl(nID, IDC_ZONE_GRAPHED_P3);
    bool bColour = nRow >= 0;
    if (!bColour && m_pView != nullptr && m_pView->m_pSettings != nullptr) {
        // The colour marks the column that the zone gauge measures.
        const int* pReference = m_pView->m_pSettings->m_nZoneReference[0];
        if ((nRow = RowOfControl(nID, IDC_ZONE_BUILDING_TO_ZONE_P3)) >= 0)
            bColour = IsInsideReference(pReference[kFirstZone + nRow]);
        else if ((nRow = RowOfControl(nID, IDC_ZONE_TO_OUTSIDE_P3)) >= 0)
            bColour = !IsInsideReference(pReference[kFirstZone + nRow]);
    }
    if (bColour) {
        pDC->SetTextColor(kZoneColors[nRow]);
        pDC->SetBkMode(TRANSPARENT);
    }
    return hbr;
}

void CZoneDataDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_ZONE_PAGE_NO_ACTION);
}

BOOL CZoneDataDialog::PreTranslateMessage(MSG* pMsg)
{
    // A menu key belongs to the main window.
    if (pMsg->message == WM_SYSKEYDOWN) {
        if (HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER))
            ::SetFocus(hOwner);
    }
    const BOOL bHandled = CDialog::PreTranslateMessage(pMsg);
    HWND hFocus = ::GetFocus();
    if (hFocus != nullptr && m_hWnd != nullptr && ::IsChild(m_hWnd, hFocus))
        m_nFocusCtrlId = ::GetDlgCtrlID(hFocus);
    return bHandled;
}
