#include "calc/QarGraphGenerator.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsFinite(double d)
{
    return std::isfinite(d);
}

// A logical coordinate from a double that may lie far outside the plot.
int ToLogical(double d)
{
    const double dLimit = 1.0e9;
    return static_cast<int>(std::trunc(std::clamp(d, -dLimit, dLimit)));
}

// Clips the segment (x0, y0)-(x1, y1) to the box in place; false when no
// part of it lies inside. Works for lines of any slope, vertical and
// horizontal ones included, without dividing by a zero rise or run.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double dLeft, double dTop, double dRight,
                 double dBottom)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - dLeft, dRight - x0, y0 - dTop, dBottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;   // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double xs = x0;
    const double ys = y0;
    x0 = xs + t0 * dx;
    y0 = ys + t0 * dy;
    x1 = xs + t1 * dx;
    y1 = ys + t1 * dy;
    return true;
}

}  // namespace

CQarGraphGenerator::CQarGraphGenerator() = default;

CQarGraphGenerator::~CQarGraphGenerator() = default;

double CQarGraphGenerator::StepForSpan(double dSpan)
{
    if (dSpan < 0.8)
        return 0.1;
    if (dSpan < 2.5)
        return 0.5;
    if (dSpan < 8.0)
        return 1.0;
    if (dSpan < 40.0)
        return 5.0;
    if (dSpan < 80.0)
        return 10.0;
    return 25.0;
}

int CQarGraphGenerator::ComputeDataRange()
{
    // The start values only seed the search; without a finite point of a
    // visible series there is no range, and nothing is made up from them.
    m_dMinX = 1000.0;
    m_dMinY = 1000.0;
    m_dMaxX = -1000.0;
    m_dMaxY = -1000.0;
    bool bAnyPoint = false;
    for (int i = 0; i < kMaxSeries; ++i) {
        if (!m_bVisible[i])
            continue;
        const int nCount = std::clamp(m_nPointCount[i], 0, kMaxPoints);
        for (int j = 0; j < nCount; ++j) {
            const double x = m_dX[i][j];
            const double y = m_dY[i][j];
            if (!IsFinite(x) || !IsFinite(y))
                continue;
            bAnyPoint = true;
            m_dMinX = std::min(m_dMinX, x);
            m_dMaxX = std::max(m_dMaxX, x);
            m_dMinY = std::min(m_dMinY, y);
            m_dMaxY = std::max(m_dMaxY, y);
        }
    }
    if (!bAnyPoint)
        return 0;
    if (m_dMinX > 0.0)
        m_dMinX = 0.0;
    if (m_dMinY > 0.0)
        m_dMinY = 0.0;
    return 1;
}

CQarGraphGenerator::AxisScale CQarGraphGenerator::ScaleAxis(double dMin, double dMax)
{
    double dStep = StepForSpan(dMax - dMin);
    for (;;) {
        const double dZero = std::trunc(std::fabs(dMin) / dStep) + 1.0;
        const double dTicks = std::max(1.0, dZero + std::trunc(dMax / dStep) + 1.0);
        // Ticks 0 to max(n, z) need a position each: z lies past the last
        // tick when every value is negative.
        if (std::max(dTicks, dZero) + 1.0 <= kMaxTicks)
            return {dStep, static_cast<int>(dZero), static_cast<int>(dTicks)};
        dStep *= 10.0;
    }
}

void CQarGraphGenerator::FillTicks(const AxisScale& scale, int nStart, int nSize, int bNegate, int* pPos,
                                   double* pValues, double& dUnitsPerLogical)
{
    double dPerTick = static_cast<double>(nSize) / scale.nTicks;
    if (bNegate)
        dPerTick = -dPerTick;
    dUnitsPerLogical = scale.dStep / dPerTick;
    const int nLast = std::max(scale.nTicks, scale.nZero);
    double dSum = nStart;
    pPos[0] = nStart;
    for (int i = 1; i <= nLast; ++i) {
        dSum += dPerTick;
        pPos[i] = static_cast<int>(std::trunc(dSum));
    }
    // From the zero index, so tick z is exactly 0 and no label reads "-0.0".
    for (int i = 0; i <= nLast; ++i)
        pValues[i] = (i - scale.nZero) * scale.dStep;
}

void CQarGraphGenerator::ComputeScaling(const CRect& rc)
{
    const AxisScale x = ScaleAxis(m_dMinX, m_dMaxX);
    const AxisScale y = ScaleAxis(m_dMinY, m_dMaxY);
    m_dXStep = x.dStep;
    m_dYStep = y.dStep;
    m_nXZero = x.nZero;
    m_nXTicks = x.nTicks;
    m_nYZero = y.nZero;
    m_nYTicks = y.nTicks;
    FillTicks(x, rc.left, rc.right - rc.left, 0, m_nXTickPos, m_dXTick, m_dXUnitsPerLogical);
    FillTicks(y, rc.bottom, rc.bottom - rc.top, rc.bottom > rc.top, m_nYTickPos, m_dYTick, m_dYUnitsPerLogical);
}

int CQarGraphGenerator::XToLogical(double x) const
{
    return ToLogical(std::trunc(x / m_dXUnitsPerLogical) + m_nXTickPos[m_nXZero]);
}

int CQarGraphGenerator::YToLogical(double y) const
{
    return ToLogical(std::trunc(y / m_dYUnitsPerLogical) + m_nYTickPos[m_nYZero]);
}

void CQarGraphGenerator::Draw(CDC* pDC, CRect rc)
{
    if (pDC == nullptr || rc.IsRectEmpty() || !ComputeDataRange())
        return;
    ComputeScaling(rc);
    const int nSaved = pDC->SaveDC();
    pDC->Rectangle(&rc);
    DrawGridAndLabels(pDC, rc);
    DrawSeries(pDC, rc);
    if (m_bLegend)
        DrawLegend(pDC, rc);
    pDC->RestoreDC(nSaved);
    m_LabelFont.DeleteObject();
}

void CQarGraphGenerator::DrawGridAndLabels(CDC* pDC, const CRect& rc)
{
    const int nWidth = rc.right - rc.left;
    const int nHeight = rc.bottom - rc.top;
    const int fh = pDC->IsPrinting() ? (nWidth + nHeight) / 48 : (nWidth + nHeight) / 36;
    m_nFontHeight = fh;
    m_LabelFont.DeleteObject();
    m_LabelFont.CreateFont(fh, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    pDC->SelectObject(&m_LabelFont);
    pDC->SetBkMode(TRANSPARENT);

    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    pDC->TextOut((rc.left + rc.right) / 2, rc.bottom + fh, m_strXTitle);
    const CSize szYTitle = pDC->GetTextExtent(m_strYTitle);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(rc.left - szYTitle.cx / 5, rc.top - fh / 2 - szYTitle.cy, m_strYTitle);

    CPen gridPen(PS_SOLID, std::max(1, nWidth / 450), RGB(100, 100, 100));
    CPen axisPen(PS_SOLID, std::max(1, nWidth / 300), RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&gridPen);
    // The last tick lies on the frame and gets no line of its own.
    for (int i = 0; i < m_nXTicks; ++i) {
        pDC->SelectObject(i == m_nXZero ? &axisPen : &gridPen);
        pDC->MoveTo(m_nXTickPos[i], rc.top);
        pDC->LineTo(m_nXTickPos[i], rc.bottom);
    }
    for (int i = 0; i < m_nYTicks; ++i) {
        pDC->SelectObject(i == m_nYZero ? &axisPen : &gridPen);
        pDC->MoveTo(rc.left, m_nYTickPos[i]);
        pDC->LineTo(rc.right, m_nYTickPos[i]);
    }
    pDC->SelectObject(pOldPen);

    CString strLabel;
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    for (int i = 0; i <= m_nXTicks; ++i) {
        strLabel.Format(m_dXStep >= 1.0 ? L"%3.0f" : L"%3.1f", m_dXTick[i]);
        pDC->TextOut(m_nXTickPos[i], rc.bottom, strLabel);
    }
    pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    for (int i = 0; i <= m_nYTicks; ++i) {
        strLabel.Format(m_dYStep >= 1.0 ? L"%3.0f" : L"%3.1f", m_dYTick[i]);
        const CSize sz = pDC->GetTextExtent(strLabel);
        pDC->TextOut(rc.left - (fh / 2 + 3), m_nYTickPos[i] + 2 - sz.cy / 2, strLabel);
    }
    pDC->SetTextAlign(TA_LEFT | TA_TOP);

    // The legend keeps clear of the data: at the top while the zero line
    // lies in the lower half.
    m_bLegendAtTop = static_cast<double>(m_nYZero) / m_nYTicks <= 0.5;
}

void CQarGraphGenerator::DrawSeries(CDC* pDC, const CRect& rc)
{
    const int nWidth = rc.right - rc.left;
    const int nHeight = rc.bottom - rc.top;
    m_nMarkerSize = static_cast<int>(std::trunc((nWidth + nHeight) / 200.0 + 0.5));
    const double dTop = std::min(rc.top, rc.bottom);
    const double dBottom = std::max(rc.top, rc.bottom);
    for (int i = 0; i < kMaxSeries; ++i) {
        if (!m_bVisible[i])
            continue;
        const double dSlope = m_dSlope[i];
        const double dIntercept = m_dIntercept[i];
        // A fit that failed leaves a line that is not a number: no line.
        if (IsFinite(dSlope) && IsFinite(dIntercept)) {
            double xs = m_nXTickPos[m_nXZero];
            double ys = std::trunc(dIntercept / m_dYUnitsPerLogical) + m_nYTickPos[m_nYZero];
            double xe = std::trunc(m_dMaxX / m_dXUnitsPerLogical) + m_nXTickPos[m_nXZero];
            double ye = ys + std::trunc((xe - xs) * dSlope * m_dXUnitsPerLogical / m_dYUnitsPerLogical);
            if (IsFinite(ys) && IsFinite(ye) && ClipSegment(xs, ys, xe, ye, rc.left, dTop, rc.right, dBottom)) {
                CPen pen(PS_SOLID, 1, m_crColor[i]);
                CPen* pOldPen = pDC->SelectObject(&pen);
                // Rounded, so that an end clipped to an edge lies on it.
                pDC->MoveTo(ToLogical(std::round(xs)), ToLogical(std::round(ys)));
                pDC->LineTo(ToLogical(std::round(xe)), ToLogical(std::round(ye)));
                pDC->SelectObject(pOldPen);
            }
        }
        const int nCount = std::clamp(m_nPointCount[i], 0, kMaxPoints);
        for (int j = 0; j < nCount; ++j) {
            if (!IsFinite(m_dX[i][j]) || !IsFinite(m_dY[i][j]))
                continue;
            DrawMarker(pDC, i, XToLogical(m_dX[i][j]), YToLogical(m_dY[i][j]), m_nMarkerSize, m_crColor[i]);
        }
    }
}

void CQarGraphGenerator::DrawMarker(CDC* pDC, int nShape, int x, int y, int m, COLORREF crColor)
{
    const int d = static_cast<int>(std::trunc(1.4 * m));
    POINT pts[12];
    int nCount = 0;
    auto add = [&](int px, int py) { pts[nCount++] = POINT{px, py}; };
    switch (nShape) {
    case 0:
        add(x - m, y - m), add(x + m, y - m), add(x + m, y + m), add(x - m, y + m);
        break;
    case 1:
        add(x, y - d), add(x + d, y), add(x, y + d), add(x - d, y);
        break;
    case 2:
        add(x, y - d), add(x + d, y + m), add(x - d, y + m);
        break;
    case 3:
        add(x, y + d), add(x + d, y - m), add(x - d, y - m);
        break;
    case 4:
        add(x + d, y - m), add(x + d, y + m), add(x + m, y + d), add(x - m, y + d);
        add(x - d, y + m), add(x - d, y - m), add(x - m, y - d), add(x + m, y - d);
        break;
    case 5:
        add(x + m, y - m), add(x + d, y - m), add(x + d, y + m), add(x + m, y + m);
        add(x + m, y + d), add(x - m, y + d), add(x - m, y + m), add(x - d, y + m);
        add(x - d, y - m), add(x - m, y - m), add(x - m, y - d), add(x + m, y - d);
        break;
    default:
        // The small fixed square, whatever the plot size.
        add(x - 3, y - 3), add(x + 3, y - 3), add(x + 3, y + 3), add(x - 3, y + 3);
        break;
    }
    CBrush brush(crColor);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Polygon(pts, nCount);
    pDC->SelectObject(pOldBrush);
}

void CQarGraphGenerator::DrawLegend(CDC* pDC, const CRect& rc)
{
    const int m = m_nMarkerSize;
    int k = 0;
    int nWidest = 0;
    for (int i = 0; i < kMaxSeries; ++i) {
        if (!m_bVisible[i])
            continue;
        ++k;
        nWidest = std::max(nWidest, static_cast<int>(pDC->GetTextExtent(m_strLegend[i]).cx));
    }
    if (k == 0)
        return;
    const int nBoxWidth = nWidest + 16 * m;
    const int nBoxHeight = 4 * m * k + 2 * m;
    const int nLeft = rc.left + 2 * m;
    const int nTop = m_bLegendAtTop ? rc.top + 2 * m : rc.bottom - 2 * m - nBoxHeight;
    pDC->Rectangle(nLeft, nTop, nLeft + nBoxWidth, nTop + nBoxHeight);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    int j = 0;
    for (int i = 0; i < kMaxSeries; ++i) {
        if (!m_bVisible[i])
            continue;
        const int cx = nLeft + 3 * m;
        const int cy = nTop + (4 * j + 3) * m;
        DrawMarker(pDC, i, cx, cy, m, m_crColor[i]);
        const CSize sz = pDC->GetTextExtent(m_strLegend[i]);
        pDC->TextOut(cx + 3 * m, cy - sz.cy / 2, m_strLegend[i]);
        ++j;
    }
}
