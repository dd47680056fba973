// The graph report: one page with the building leakage graph of both
// directions, drawn by the test screen's graph operations on the printer.
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "report/PrintFrame.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

void CSimbrel1View::PrintGraphPage(CDC* pDC, CPrintInfo* pInfo, int x, int y)
{
    const int nBothSlots = m_pTestGraph->GetDirectionsWithData() == 2 ? 1 : 0;
    const int nBody = GetBodyFontHeight(nBothSlots, m_pSettings->m_nStandard);
    CFont titleFont, boldFont, regularFont;
    CreateReportFont(titleFont, kTitleFontHeight, FW_BOLD, false);
    CreateReportFont(boldFont, nBody, FW_BOLD, false);
    CreateReportFont(regularFont, nBody, FW_NORMAL, false);
    CFont* pOldFont = pDC->SelectObject(&boldFont);
    const int L = GetLineHeight(pDC);

    const CPoint pt = PrintPageHeader(pDC, pInfo, IDS_BUILDING_LEAKAGE_CURVE, &titleFont, &regularFont, x, y);
    x = pt.x;
    y = pt.y - L;
    pDC->SelectObject(&regularFont);
    CRect rcHead(x, y, x + kReportColumnWidth, y - 15 * L);
    pDC->DrawText(m_strRunningHead, &rcHead, DT_CENTER | DT_NOPREFIX);
    y -= L;

    const int W = MillimetresToTwips(m_PageCaps.Get(pDC, HORZSIZE));
    const int H = MillimetresToTwips(m_PageCaps.Get(pDC, VERTSIZE));
    PrintGraph(pDC, TwipsToDeviceRect(pDC, CRect(720, y, 15 * W / 16, -15 * H / 16)));
    pDC->SelectObject(pOldFont);
}

void CSimbrel1View::PrintGraph(CDC* pDC, const CRect& rc)
{
    CTestGraph1& g = *m_pTestGraph;
    const int nDirection = g_nCurrentDirection;
    const int s = m_PageCaps.Get(pDC, HORZRES);
    const int bLargeMeters = g.m_bLargeMeters;
    g.m_bLargeMeters = 0;

    const int nOldMode = pDC->SetMapMode(MM_ISOTROPIC);
    ::SetWindowExtEx(pDC->GetSafeHdc(), s, s, nullptr);
    ::SetViewportExtEx(pDC->GetSafeHdc(), s, s, nullptr);
    const CPoint ptOldOrigin = pDC->SetViewportOrg(0, 0);

    for (int d = 0; d < 2; ++d)
        if (m_pSettings->m_chDirectionLetter[d] == L'P' || m_pSettings->m_chDirectionLetter[d] == L'D')
            g.m_DensityMode[d] = 0;
    g.ComputeFlowCorrections(nDirection);
    const int mx = static_cast<int>(rc.Width() / 20.0);
    const int my = static_cast<int>(rc.Height() / 20.0);
    const CRect rcPlot(rc.left + 4 * mx, rc.top + static_cast<int>(1.4 * my), rc.right - mx, rc.bottom - 4 * my);
    m_bPrintingGraph = 1;
    // The graph operations draw their printer form on a printing DC only.
    const bool bWasPrinting = pDC->m_bPrinting;
    pDC->m_bPrinting = true;
    g.RecalculateGraph(nDirection);
    const bool bSlot0 = g.m_CompletedTests[0] > 0;
    const bool bSlot1 = g.m_CompletedTests[1] > 0;
    if (bSlot0 || bSlot1) {
        if (bSlot0)
            g.RecalculateGraph(0);
        if (bSlot1)
            g.RecalculateGraph(1);
        double dPmin, dPmax, dQmin, dQmax;
        if (bSlot0 && bSlot1) {
            dPmin = std::min(g.m_AxisPmin[0], g.m_AxisPmin[1]);
            dPmax = std::max(g.m_AxisPmax[0], g.m_AxisPmax[1]);
            dQmin = std::min(g.m_AxisQmin[0], g.m_AxisQmin[1]);
            dQmax = std::max(g.m_AxisQmax[0], g.m_AxisQmax[1]);
        } else {
            const int d = bSlot0 ? 0 : 1;
            dPmin = g.m_AxisPmin[d];
            dPmax = g.m_AxisPmax[d];
            dQmin = g.m_AxisQmin[d];
            dQmax = g.m_AxisQmax[d];
        }
        g.DrawLeakageGraph(pDC, rcPlot, 0, dPmin, dPmax, dQmin, dQmax);
        for (int d = 0; d < 2; ++d) {
            if (g.m_CompletedTests[d] > 0) {
                g.DrawLeakageCurve(pDC, rcPlot, d);
                g.DrawDataPoints(pDC, rcPlot, d);
            }
        }
    }
    pDC->m_bPrinting = bWasPrinting;
    m_bPrintingGraph = 0;
    pDC->SetViewportOrg(ptOldOrigin.x, ptOldOrigin.y);
    pDC->SetMapMode(nOldMode);
    g.m_bLargeMeters = bLargeMeters;
}
