// The leakage graph of the test screen: log-log axes, ticks, grid, target
// marks, legend, fitted curves, data point markers and the live trace. The
// same drawing serves the graph report on a printer.
#include "testrun/TestGraph1.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "framework/Dc.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CTestGraph1, CDialog)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_TG_START, OnStartTest)
    ON_BN_CLICKED(IDC_TG_CRUISE, OnCruise)
    ON_BN_CLICKED(IDC_TG_PAUSE, OnPause)
    ON_BN_CLICKED(IDC_TG_SAMPLE, OnSample)
    ON_BN_CLICKED(IDC_TG_CLEAR, OnClear)
    ON_BN_CLICKED(IDC_TG_NEXT, OnNext)
    ON_BN_CLICKED(IDC_TG_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_TG_HELP, OnHelp)
    ON_BN_CLICKED(IDC_TG_DATA_TABLE, OnDataTable)
    ON_BN_CLICKED(IDC_TG_DATA_BOX_INFO, OnDataBoxInfo)
    ON_BN_CLICKED(IDC_TG_EDIT_ENVIRONMENT, OnEditEnvData)
    ON_CBN_DROPDOWN(IDC_TG_RING_LIST, OnRingDropDown)
    ON_CBN_CLOSEUP(IDC_TG_RING_LIST, OnRingCloseUp)
    ON_CBN_SELCHANGE(IDC_TG_DIRECTION_LIST, OnDirectionChange)
    ON_MESSAGE(WM_HSCROLL, OnHScrollMessage)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

bool IsGraphSlot(int d)
{
    return d == 0 || d == 1;
}

bool IsRunMethod(wchar_t chMethod)
{
    return chMethod == L'A' || chMethod == L'S';
}

// Positive, finite and increasing: the only bounds a logarithmic axis can
// take.
bool IsValidRange(double dMin, double dMax)
{
    return std::isfinite(dMin) && std::isfinite(dMax) && dMin > 0.0 && dMax > dMin;
}

// A pixel coordinate from a double that may lie far outside the plot: held
// to a range int can take, so the conversion never overflows.
int ToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6));
}

CString FormatAxisNumber(double v)
{
    CString str;
    str.Format(L"%-3.0f", v);
    return str;
}

struct CAxisTick {
    int nPos;
    double dValue;
};

// The ticks 1 to 9 times each power of ten from the rounded minimum to the
// rounded maximum, each power of ten once. nPosOf maps a value to a pixel.
template <class TMap>
std::vector<CAxisTick> MakeTicks(int nDigit, int nExp, int nMaxDigit, int nMaxExp, TMap nPosOf)
{
    std::vector<CAxisTick> ticks;
    int d = nDigit;
    int e = nExp;
    // Far more than any real range needs; only stops a runaway loop.
    for (int nGuard = 0; nGuard < 1000; ++nGuard) {
        const double v = d * std::pow(10.0, e);
        ticks.push_back({nPosOf(e + std::log10(static_cast<double>(d))), v});
        if (d == 10) {
            d = 1;
            ++e;
        }
        if (e >= nMaxExp && d >= nMaxDigit)
            break;
        ++d;
    }
    return ticks;
}

// Dashed grid line from nFrom towards nTo (nFrom < nTo): dashes of nDash,
// gaps of nGap; the dash crossing nStop ends at nDashEnd.
template <class TLine>
void DrawGridDashes(int nFrom, int nStop, int nDashEnd, int nDash, int nGap, TLine line)
{
    nDash = std::max(nDash, 1);
    nGap = std::max(nGap, 1);
    for (int p = nFrom; p <= nStop;) {
        if (p + nDash > nStop) {
            if (nDashEnd > p)
                line(p, nDashEnd);
            return;
        }
        line(p, p + nDash);
        p += nDash + nGap;
    }
}

}  // namespace

COLORREF CTestGraph1::GetTestColour(int t)
{
    static const COLORREF kColours[6] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                                         RGB(128, 128, 0), RGB(128, 0, 128), RGB(0, 128, 128)};
    if (t < 0)
        t = 0;
    while (t > 5)
        t -= 5;
    return kColours[t];
}

int CTestGraph1::CanDrawGraph(const CDC* pDC) const
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return 0;
    return m_bShown || pDC->IsPrinting() ? 1 : 0;
}

int CTestGraph1::IsInsideAxes(double dP, double dQ) const
{
    if (!IsValidRange(m_dDrawnPmin, m_dDrawnPmax) || !IsValidRange(m_dDrawnQmin, m_dDrawnQmax))
        return 0;
    const double p = std::fabs(dP);
    return p >= m_dDrawnPmin && p <= m_dDrawnPmax && dQ >= m_dDrawnQmin && dQ <= m_dDrawnQmax ? 1 : 0;
}

CPoint CTestGraph1::MapToPlot(const CRect& rcPlot, double dP, double dQ) const
{
    const double x = (std::log10(std::fabs(dP)) - std::log10(m_dDrawnPmin)) / m_dLogPRange * m_dPlotWidth;
    const double y = (std::log10(dQ) - std::log10(m_dDrawnQmin)) / m_dLogQRange * m_dPlotHeight;
    return CPoint(rcPlot.left + ToPixel(x), rcPlot.bottom - ToPixel(y));
}

void CTestGraph1::DrawLeakageGraph(CDC* pDC, const CRect& rcPlot, int bDrawMarks, double dPmin, double dPmax,
                                   double dQmin, double dQmax)
{
    if (!CanDrawGraph(pDC))
        return;
    const int w = rcPlot.Width();
    const int nHeight = rcPlot.Height();
    if (w <= 0 || nHeight <= 0)
        return;

    std::optional<CQarMathFunctions> localMath;
    CQarMathFunctions* pMath = m_pView != nullptr ? m_pView->m_pMath : nullptr;
    if (pMath == nullptr)
        pMath = &localMath.emplace();
    int nPd = 0, nPe = 0, nPmaxD = 0, nPmaxE = 0, nQd = 0, nQe = 0, nQmaxD = 0, nQmaxE = 0;
    const double pmin = pMath->NiceNumber(dPmin, 0, nPd, nPe);
    const double pmax = pMath->NiceNumber(dPmax, 1, nPmaxD, nPmaxE);
    const double qmin = pMath->NiceNumber(dQmin, 0, nQd, nQe);
    const double qmax = pMath->NiceNumber(dQmax, 1, nQmaxD, nQmaxE);
    // Ranges a logarithmic axis cannot show are not drawn, and no marker
    // may use the scales of an earlier graph against this one's plot.
    if (dPmin <= 0.0 || dQmin <= 0.0 || !IsValidRange(pmin, pmax) || !IsValidRange(qmin, qmax)) {
        m_dDrawnPmin = m_dDrawnPmax = m_dDrawnQmin = m_dDrawnQmax = 0.0;
        return;
    }

    const bool bPrinting = pDC->IsPrinting();
    const double m = std::max(1.0, w / 400.0);
    const int h = static_cast<int>(14 * m);
    const int nWeight = bPrinting ? FW_NORMAL : FW_BOLD;
    const double dLogP = std::log10(pmax / pmin);
    const double dLogQ = std::log10(qmax / qmin);

    CPen axisPen(PS_SOLID, std::max(1, w / 300), RGB(0, 0, 0));
    CPen gridPen(PS_SOLID, std::max(1, w / 450), RGB(92, 92, 92));
    CFont axisFont;
    axisFont.CreateFont(h, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    const int nSaved = pDC->SaveDC();
    pDC->SelectObject(&axisPen);
    pDC->SelectObject(&axisFont);
    pDC->SetBkMode(TRANSPARENT);
    pDC->Rectangle(rcPlot);

    // Pressure axis.
    const double dLogPmin = std::log10(pmin);
    const std::vector<CAxisTick> pTicks = MakeTicks(nPd, nPe, nPmaxD, nPmaxE, [&](double dLog) {
        return rcPlot.left + ToPixel((dLog - dLogPmin) * w / dLogP);
    });
    const int nTick = static_cast<int>(4 * m);
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    for (const CAxisTick& tick : pTicks) {
        pDC->MoveTo(tick.nPos, rcPlot.bottom);
        pDC->LineTo(tick.nPos, rcPlot.bottom + nTick);
        pDC->TextOut((tick.nPos + 1 + tick.nPos + static_cast<int>(2 * m)) / 2, rcPlot.bottom + static_cast<int>(5 * m),
                     FormatAxisNumber(tick.dValue));
    }
    CString strTitle;
    strTitle.LoadString(IDS_BUILDING_PRESSURE_PA);
    pDC->TextOut((rcPlot.left + rcPlot.right) / 2, rcPlot.bottom + static_cast<int>(h * 1.4), strTitle);

    // Flow axis.
    const double dLogQmin = std::log10(qmin);
    const std::vector<CAxisTick> qTicks = MakeTicks(nQd, nQe, nQmaxD, nQmaxE, [&](double dLog) {
        return rcPlot.bottom - ToPixel((dLog - dLogQmin) * nHeight / dLogQ);
    });
    TEXTMETRICW tm{};
    pDC->GetTextMetrics(&tm);
    pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    const int nNumberRight = rcPlot.left - static_cast<int>(6 * m) + 1;
    for (const CAxisTick& tick : qTicks) {
        pDC->MoveTo(rcPlot.left, tick.nPos);
        pDC->LineTo(rcPlot.left - nTick, tick.nPos);
        const int nBandMiddle = (tick.nPos + static_cast<int>(m) + tick.nPos + static_cast<int>(2 * m)) / 2;
        pDC->TextOut(nNumberRight, nBandMiddle - tm.tmHeight / 2, FormatAxisNumber(tick.dValue));
    }
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    const int nLastWidth = qTicks.empty() ? 0 : pDC->GetTextExtent(FormatAxisNumber(qTicks.back().dValue)).cx;
    const int L = static_cast<int>(6 * m) + nLastWidth;
    CString strFlowTitle;
    strFlowTitle.LoadString(IDS_GRAPH_FLOW_TITLE);
    CString strUnit;
    if (m_pView != nullptr)
        strUnit.LoadString(IDS_UNIT_CFM + std::clamp(m_pView->m_nFlowUnit, 0, 2));
    strFlowTitle += L"\r\n(" + strUnit + L")";
    const int nTitleTop = (rcPlot.top + rcPlot.bottom) / 2 - static_cast<int>(30 * m);
    CRect rcFlowTitle(8, nTitleTop, rcPlot.left - L, nTitleTop + 4 * h);
    if (bPrinting) {
        // The gap is 145 pixels of a 600 dpi printer; the preview draws the
        // page at the screen's resolution and needs it in proportion.
        const int nDpi = m_pView != nullptr ? m_pView->m_PageCaps.Get(pDC, LOGPIXELSX) : pDC->GetDeviceCaps(LOGPIXELSX);
        const int nGap = nDpi > 0 ? ::MulDiv(145, nDpi, 600) : 145;
        const int xc = rcPlot.left - L - nLastWidth - nGap;
        rcFlowTitle = CRect(xc - 4000, nTitleTop, xc + 4000, nTitleTop + 4 * h);
    }
    pDC->DrawText(strFlowTitle, rcFlowTitle, DT_CENTER | DT_TOP | DT_NOCLIP);

    // Grid, without the first and last tick of each axis.
    pDC->SelectObject(&gridPen);
    const int nDash = static_cast<int>(5 * m);
    const int nGap = static_cast<int>(2 * m);
    for (size_t i = 1; i + 1 < pTicks.size(); ++i) {
        const int x = pTicks[i].nPos;
        DrawGridDashes(rcPlot.top + 1, rcPlot.bottom, rcPlot.bottom, nDash, nGap, [&](int a, int b) {
            pDC->MoveTo(x, a);
            pDC->LineTo(x, b);
        });
    }
    for (size_t i = 1; i + 1 < qTicks.size(); ++i) {
        const int y = qTicks[i].nPos;
        DrawGridDashes(rcPlot.left + static_cast<int>(m), rcPlot.right, rcPlot.right - static_cast<int>(m), nDash, nGap,
                       [&](int a, int b) {
                           pDC->MoveTo(a, y);
                           pDC->LineTo(b, y);
                       });
    }

    // The scales every later marker uses.
    m_dDrawnPmin = pmin;
    m_dDrawnPmax = pmax;
    m_dDrawnQmin = qmin;
    m_dDrawnQmax = qmax;
    m_dGraphQmin = qmin;
    m_dGraphQmax = qmax;
    m_dLogPRange = dLogP;
    m_dLogQRange = dLogQ;
    m_dPlotWidth = w;
    m_dPlotHeight = nHeight;
    m_rcDrawnPlot = rcPlot;

    if (bDrawMarks && IsRunMethod(GetCurrentMethod())) {
        DrawTargetLines(pDC, pmin, pmax);
        if (m_CruiseMode != 0)
            DrawCruiseLine(pDC, pmin, pmax);
    }

    // Legend, with the grid pen.
    const bool bHasP = m_CompletedTests[0] > 0;
    const bool bHasD = m_CompletedTests[1] > 0;
    if (bHasP || bHasD) {
        pDC->SelectObject(&gridPen);
        const int nBoxHeight = bHasP && bHasD ? 3 * h : 3 * h - (3 * h) / 2;
        const CRect rcBox(rcPlot.left + h, rcPlot.top + h, rcPlot.left + 11 * h, rcPlot.top + h + nBoxHeight);
        pDC->Rectangle(rcBox);
        CFont rowFont;
        rowFont.CreateFont(static_cast<int>(12 * m), 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
        pDC->SelectObject(&rowFont);
        pDC->SelectStockObject(LTGRAY_BRUSH);
        const int nSquare = 2 * h / 3;
        CRect rcSquare(rcBox.left + h / 2, rcBox.top + h / 2, rcBox.left + h / 2 + nSquare,
                       rcBox.top + h / 2 + nSquare);
        auto drawRow = [&](UINT nLabel, const wchar_t* pszSample) {
            CString strLabel;
            strLabel.LoadString(nLabel);
            CRect rcLabel(rcSquare.left + h, rcSquare.top, rcBox.right, rcSquare.bottom);
            pDC->DrawText(strLabel, rcLabel, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
            CRect rcSample(rcSquare.left + h, rcSquare.top - h / 3, rcBox.right - h, rcSquare.bottom - h / 3);
            pDC->DrawText(pszSample, -1, rcSample, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        };
        if (bHasD) {
            pDC->Ellipse(rcSquare);
            drawRow(IDS_DEPRESSURIZE, L"____  ");
            rcSquare.OffsetRect(0, (5 * h) / 4);
        }
        if (bHasP) {
            pDC->Rectangle(rcSquare.left, rcSquare.top, rcSquare.right - 1, rcSquare.bottom - 1);
            drawRow(IDS_PRESSURIZE, L"_ _ _  ");
        }
    }

    pDC->RestoreDC(nSaved);
    m_bGraphDrawn = 1;
    m_bLiveMarkerErased = 1;
}

void CTestGraph1::DrawPressureLines(CDC* pDC, const double* pPressures, int nCount, COLORREF crColour, int nWidth,
                                    double dPmin, double dPmax)
{
    if (!CanDrawGraph(pDC) || !IsValidRange(m_dDrawnPmin, m_dDrawnPmax))
        return;
    CPen pen(PS_SOLID, nWidth, crColour);
    CPen* pOld = pDC->SelectObject(&pen);
    for (int i = 0; i < nCount; ++i) {
        const double p = pPressures[i];
        // A mark left of the axis (or right of it) would fall outside the box.
        if (!(p >= dPmin) || p > dPmax)
            continue;
        const int x = MapToPlot(m_rcDrawnPlot, p, m_dDrawnQmin).x;
        pDC->MoveTo(x, m_rcDrawnPlot.top + 1);
        pDC->LineTo(x, m_rcDrawnPlot.bottom);
    }
    pDC->SelectObject(pOld);
}

void CTestGraph1::DrawTargetLines(CDC* pDC, double dPmin, double dPmax)
{
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    int nCount = 0;
    while (nCount <= kMaxTargets && m_Targets[d][nCount] > 0.001)
        ++nCount;
    DrawPressureLines(pDC, m_Targets[d], nCount, RGB(0, 0, 255), 1, dPmin, dPmax);
}

void CTestGraph1::DrawCruiseLine(CDC* pDC, double dPmin, double dPmax)
{
    DrawPressureLines(pDC, &m_dCruisePressure, 1, RGB(255, 0, 0), 2, dPmin, dPmax);
}

void CTestGraph1::DrawDashedLine(CDC* pDC, int x1, int y1, int x2, int y2)
{
    if (pDC == nullptr || x1 > x2)
        return;
    const double dx = (x2 - x1) / 60.0;
    const double dy = (y2 - y1) / 60.0;
    // Positions are counted in steps, so that rounding never adds a dash.
    for (int nStep = 0; nStep <= 60; nStep += 3) {
        pDC->MoveTo(static_cast<int>(x1 + nStep * dx), static_cast<int>(y1 + nStep * dy + 0.5));
        if (nStep + 2 >= 59) {
            pDC->LineTo(x2, y2);
            return;
        }
        pDC->LineTo(static_cast<int>(x1 + (nStep + 2) * dx), static_cast<int>(y1 + (nStep + 2) * dy + 0.5));
    }
}

void CTestGraph1::DrawLeakageCurve(CDC* pDC, const CRect& rcPlot, int d)
{
    if (m_bLargeMeters || !IsGraphSlot(d) || !CanDrawGraph(pDC))
        return;
    // A failed fit holds n = C = -1: there is no curve to draw.
    const double n = m_FitN[d];
    const double C = m_FitC[d];
    if (!(n > 0.0) || !(C > 0.0) || !std::isfinite(n) || !std::isfinite(C))
        return;
    if (!IsValidRange(m_dDrawnPmin, m_dDrawnPmax) || !IsValidRange(m_dDrawnQmin, m_dDrawnQmax))
        return;
    const double q1 = C * std::pow(m_dDrawnPmin, n);
    const double q2 = C * std::pow(m_dDrawnPmax, n);
    if (!(q1 > 0.0) || !(q2 > 0.0) || !std::isfinite(q1) || !std::isfinite(q2))
        return;
    int x1 = rcPlot.left;
    int x2 = rcPlot.right;
    int y1 = MapToPlot(rcPlot, m_dDrawnPmin, q1).y;
    int y2 = MapToPlot(rcPlot, m_dDrawnPmax, q2).y;
    // The line rises to the right; wholly above or below the box it is not
    // drawn at all (this also covers a horizontal line).
    if (y1 < rcPlot.top || y2 > rcPlot.bottom || x2 <= x1)
        return;
    const double s = static_cast<double>(y1 - y2) / (x2 - x1);
    if (s > 0.0) {
        if (y2 < rcPlot.top) {
            x2 = x1 + ToPixel((y1 - rcPlot.top) / s);
            y2 = rcPlot.top;
        }
        if (y1 > rcPlot.bottom) {
            x1 = x1 + ToPixel((y1 - rcPlot.bottom) / s);
            y1 = rcPlot.bottom - 1;
        }
    }
    CPen pen(PS_SOLID, std::max(1, rcPlot.Width() / 400), RGB(0, 0, 0));
    CPen* pOld = pDC->SelectObject(&pen);
    if (d == 0) {
        DrawDashedLine(pDC, x1, y1, x2, y2);
    } else {
        pDC->MoveTo(x1, y1);
        pDC->LineTo(x2, y2);
    }
    pDC->SelectObject(pOld);
}

CRect CTestGraph1::DrawPointMarker(CDC* pDC, int bCircle, int t, const CRect& rcPlot, double dP, double dQ)
{
    if (m_bLargeMeters || !CanDrawGraph(pDC) || !IsInsideAxes(dP, dQ))
        return CRect(0, 0, 0, 0);
    const CPoint pt = MapToPlot(rcPlot, dP, dQ);
    const int u = static_cast<int>(m_dPlotWidth / 120 + 0.5);
    const CRect rc(pt.x - u, pt.y - u, pt.x + u + 1, pt.y + u + 1);
    CBrush brush(GetTestColour(t));
    CBrush* pOld = pDC->SelectObject(&brush);
    if (bCircle)
        pDC->Ellipse(rc);
    else
        pDC->Rectangle(rc.left, rc.top, rc.right - 1, rc.bottom - 1);
    pDC->SelectObject(pOld);
    return rc;
}

void CTestGraph1::DrawDataPoints(CDC* pDC, const CRect& rcPlot, int d)
{
    if (!IsGraphSlot(d))
        return;
    // A marker rectangle is only kept for a point drawn now, so that a click
    // never selects a point that is not on the graph.
    for (CRect& rc : m_rcMarker[d])
        rc.SetRectEmpty();
    if (m_bLargeMeters || !CanDrawGraph(pDC))
        return;

    const int nEntries = UsedEntries(d);
    int nTests = UsedTests(d);
    if (m_bTestRunning && d == (g_nCurrentDirection == 0 ? 0 : 1) && m_nPointIndex > 0)
        ++nTests;
    nTests = std::min(nTests, static_cast<int>(kMaxTests));
    auto nextMarker = [&](int nFrom) {
        for (int i = nFrom; i < nEntries; ++i) {
            if (m_Ring[d][i] == -1)
                return i;
        }
        return nEntries;
    };
    int nPos = 0;
    for (int t = 0; t < nTests; ++t) {
        const int o = nextMarker(nPos);
        if (o >= nEntries)
            break;
        const int c = nextMarker(o + 1);
        const double dBaseline = c < nEntries ? (m_Pavg[d][o] + m_Pavg[d][c]) / 2.0 : m_Pavg[d][o];
        for (int i = o + 1; i < c; ++i) {
            const double dP = std::fabs(m_Pavg[d][i] - dBaseline);
            if (dP > 1.0)
                m_rcMarker[d][i] = DrawPointMarker(pDC, d == 1, t, rcPlot, dP, m_FlowFactor[d][t] * m_Qavg[d][i]);
        }
        nPos = c + 1;
    }
}

void CTestGraph1::DrawSelectedMarker(CDC* pDC, int bCircle, const CRect& rcMarker)
{
    if (pDC == nullptr || rcMarker.IsRectEmpty())
        return;
    CGdiObject* pOldBrush = pDC->SelectStockObject(WHITE_BRUSH);
    CGdiObject* pOldPen = pDC->SelectStockObject(BLACK_PEN);
    if (bCircle)
        pDC->Ellipse(rcMarker);
    else
        pDC->Rectangle(rcMarker.left, rcMarker.top, rcMarker.right - 1, rcMarker.bottom - 1);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void CTestGraph1::DrawSelectedMarker(int bCircle, const CRect& rcMarker)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    DrawSelectedMarker(&dc, bCircle, rcMarker);
}

void CTestGraph1::PlotLivePixel(CDC* pDC, double dP, double dQ)
{
    if (pDC == nullptr || m_bLargeMeters || !IsInsideAxes(dP, dQ))
        return;
    const CPoint pt = MapToPlot(m_rcDrawnPlot, dP, dQ);
    ::SetPixel(pDC->GetSafeHdc(), pt.x, pt.y, RGB(0, 0, 128));
}

void CTestGraph1::DrawLiveMarker(CDC* pDC, double dP, double dQ)
{
    if (pDC == nullptr || m_bLargeMeters || !m_bGraphDrawn || !IsInsideAxes(dP, dQ))
        return;
    const CPoint pt = MapToPlot(m_rcDrawnPlot, dP, dQ);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* pOld = pDC->SelectObject(&pen);
    const int nOldRop = ::SetROP2(pDC->GetSafeHdc(), R2_XORPEN);
    pDC->MoveTo(pt.x - 3, pt.y - 3);
    pDC->LineTo(pt.x + 3, pt.y - 3);
    pDC->LineTo(pt.x + 3, pt.y + 3);
    pDC->LineTo(pt.x - 3, pt.y + 3);
    pDC->LineTo(pt.x - 3, pt.y - 3);
    ::SetROP2(pDC->GetSafeHdc(), nOldRop);
    pDC->SelectObject(pOld);
}

void CTestGraph1::PlotLivePixel(double dP, double dQ)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    PlotLivePixel(&dc, dP, dQ);
}

void CTestGraph1::DrawLiveMarker(double dP, double dQ)
{
    if (!m_bShown || GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    DrawLiveMarker(&dc, dP, dQ);
}

CTestGraph1::CGraphLayout CTestGraph1::ComputeGraphLayout(int cx, int cy, wchar_t chMethod, int bZoneRoom)
{
    CGraphLayout layout;
    const bool bManual = chMethod == L'M';
    layout.nMargin[0] = static_cast<int>(0.14 * cx);
    layout.nMargin[1] = static_cast<int>(0.05 * cy);
    layout.nMargin[2] = static_cast<int>((bManual ? 0.35 : 0.42) * cx);
    layout.nMargin[3] = static_cast<int>((bManual ? 0.21 : 0.26) * cy);
    if (bZoneRoom && IsRunMethod(chMethod))
        layout.nMargin[1] *= 4;
    layout.rcPlot = CRect(layout.nMargin[0], layout.nMargin[1], cx - layout.nMargin[2], cy - layout.nMargin[3]);
    if (!(layout.rcPlot.Width() > 49 && layout.rcPlot.Height() > 49))
        layout.rcPlot = CRect(0, 0, 0, 0);
    return layout;
}

void CTestGraph1::LayoutGraph()
{
    CRect rcClient(0, 0, 0, 0);
    if (GetSafeHwnd() != nullptr)
        GetClientRect(&rcClient);
    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    const int bZoneRoom =
        pSettings != nullptr && pSettings->m_bZonalActive && m_pView != nullptr && !m_pView->m_bAutoSelect ? 1 : 0;
    const CGraphLayout layout = ComputeGraphLayout(rcClient.Width(), rcClient.Height(), GetCurrentMethod(), bZoneRoom);
    std::copy(std::begin(layout.nMargin), std::end(layout.nMargin), m_nGraphMargin);
    m_rcPlot = layout.rcPlot;
}

int CTestGraph1::IsDirectionPresent(int d) const
{
    if (m_CompletedTests[d] > 0)
        return 1;
    return m_bTestRunning && d == (g_nCurrentDirection == 0 ? 0 : 1) && m_nPointIndex > 0 ? 1 : 0;
}

void CTestGraph1::PaintGraph(CDC* pDC)
{
    if (pDC == nullptr || m_rcPlot.IsRectEmpty())
        return;
    for (int d = 0; d < 2; ++d) {
        if (m_CompletedTests[d] > 0)
            ComputeFlowCorrections(d);
    }

    const wchar_t chMethod = GetCurrentMethod();
    const CRect& rc = m_rcPlot;
    CRect rcBack(rc.left - m_nGraphMargin[0], rc.top - rc.Height() / 40, rc.right + rc.Height() / 40,
                 rc.bottom + m_nGraphMargin[3]);
    if (IsRunMethod(chMethod) && GetSafeHwnd() != nullptr) {
        if (CWnd* pStatus = GetDlgItem(1475)) {
            CRect rcStatus;
            pStatus->GetWindowRect(&rcStatus);
            ScreenToClient(&rcStatus);
            rcBack.bottom = rcStatus.top;
        }
    }
    pDC->FillSolidRect(rcBack, ::GetSysColor(COLOR_BTNFACE));

    if (m_bLargeMeters && !pDC->IsPrinting() && IsRunMethod(chMethod)) {
        DrawLargeMeters(pDC);
        return;
    }

    {
        CBrush white(RGB(255, 255, 255));
        CBrush* pOldBrush = pDC->SelectObject(&white);
        CGdiObject* pOldPen = pDC->SelectStockObject(BLACK_PEN);
        pDC->Rectangle(rc);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }

    const int nCurrent = g_nCurrentDirection == 0 ? 0 : 1;
    if (m_CompletedTests[0] > 0 || m_CompletedTests[1] > 0) {
        int nLast = 0;
        for (int d = 0; d < 2; ++d) {
            if (m_CompletedTests[d] > 0) {
                RecalculateGraph(d);
                nLast = d;
            }
        }
        double pmin = m_AxisPmin[nLast], pmax = m_AxisPmax[nLast];
        double qmin = m_AxisQmin[nLast], qmax = m_AxisQmax[nLast];
        if (IsDirectionPresent(0) && IsDirectionPresent(1)) {
            pmin = std::min(m_AxisPmin[0], m_AxisPmin[1]);
            pmax = std::max(m_AxisPmax[0], m_AxisPmax[1]);
            qmin = std::min(m_AxisQmin[0], m_AxisQmin[1]);
            qmax = std::max(m_AxisQmax[0], m_AxisQmax[1]);
        } else {
            m_bCurveValid = 1;
        }
        DrawLeakageGraph(pDC, rc, 1, pmin, pmax, qmin, qmax);
        for (int d = 0; d < 2; ++d) {
            if (m_CompletedTests[d] > 0 && m_bCurveValid)
                DrawLeakageCurve(pDC, rc, d);
            DrawDataPoints(pDC, rc, d);
        }
    } else {
        DrawLeakageGraph(pDC, rc, 1, m_AxisPmin[nCurrent], m_AxisPmax[nCurrent], m_AxisQmin[nCurrent],
                         m_AxisQmax[nCurrent]);
        DrawDataPoints(pDC, rc, nCurrent);
    }

    const CTestSettingsDialog* pSettings =
        m_pSettings != nullptr ? m_pSettings : (m_pView != nullptr ? m_pView->m_pSettings : nullptr);
    if (pSettings != nullptr && pSettings->m_bZonalActive && m_pView != nullptr && !m_pView->m_bAutoSelect &&
        IsRunMethod(chMethod))
        DrawZoneLabels(pDC);
}

void CTestGraph1::OnPaint()
{
    CPaintDC dc(this);
    PaintGraph(&dc);
}

void CTestGraph1::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/)
{
    RecalculateGraph(g_nCurrentDirection == 0 ? 0 : 1);
    LayoutGraph();
    Invalidate();
}
