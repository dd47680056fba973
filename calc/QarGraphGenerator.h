// CQarGraphGenerator: a small XY chart of up to ten series of points, each
// with a colour, a legend label, a visible flag and a straight line. It
// picks its own axis ranges and tick steps and draws into a rectangle of any
// device context (the zone data page and the zone data report).
#pragma once

#include "framework/Framework.h"

class CQarGraphGenerator {
public:
    static constexpr int kMaxSeries = 10;
    static constexpr int kMaxPoints = 2000;
    static constexpr int kMaxTicks = 2000;

    CQarGraphGenerator();
    virtual ~CQarGraphGenerator();
    CQarGraphGenerator(const CQarGraphGenerator&) = delete;
    CQarGraphGenerator& operator=(const CQarGraphGenerator&) = delete;

    // Draws the chart with its plot area rc (logical units of pDC); labels
    // and titles go outside rc. Nothing at all is drawn when no visible
    // series holds a point, or rc is empty.
    void Draw(CDC* pDC, CRect rc);

    // 1 when a visible series holds at least one finite point, with the
    // range of those points (reaching down to 0 on both axes); else 0.
    int ComputeDataRange();
    // Tick steps, tick values and positions and the data units per logical
    // unit of both axes, from the data range and rc.
    void ComputeScaling(const CRect& rc);
    void DrawGridAndLabels(CDC* pDC, const CRect& rc);
    void DrawSeries(CDC* pDC, const CRect& rc);
    // A filled polygon of shape nShape (0 to 9) centred on (x, y), outlined
    // with the DC's current pen.
    void DrawMarker(CDC* pDC, int nShape, int x, int y, int nSize, COLORREF crColor);
    void DrawLegend(CDC* pDC, const CRect& rc);

    // The logical position of a data value on each axis (after ComputeScaling).
    int XToLogical(double x) const;
    int YToLogical(double y) const;
    // The tick step chosen for a span, before any widening.
    static double StepForSpan(double dSpan);

    // Series, set by the owner.
    int m_nPointCount[kMaxSeries] = {};
    double m_dX[kMaxSeries][kMaxPoints] = {};
    double m_dY[kMaxSeries][kMaxPoints] = {};
    double m_dSlope[kMaxSeries] = {};       // the line of series i: y = intercept + slope * x
    double m_dIntercept[kMaxSeries] = {};
    int m_bVisible[kMaxSeries] = {};
    COLORREF m_crColor[kMaxSeries] = {};
    CString m_strXTitle;
    CString m_strYTitle;
    int m_bLegend = 0;
    CString m_strLegend[kMaxSeries];

    // Results of the last Draw.
    int m_nXTickPos[kMaxTicks] = {};
    int m_nYTickPos[kMaxTicks] = {};
    double m_dXTick[kMaxTicks] = {};
    double m_dYTick[kMaxTicks] = {};
    double m_dMinX = 0.0;
    double m_dMinY = 0.0;
    double m_dMaxX = 0.0;
    double m_dMaxY = 0.0;
    double m_dXUnitsPerLogical = 0.0;
    double m_dYUnitsPerLogical = 0.0;     // negative when y grows upward
    int m_nXTicks = 0;
    int m_nXZero = 0;
    int m_nYTicks = 0;
    int m_nYZero = 0;
    int m_nMarkerSize = 0;
    int m_bLegendAtTop = 0;
    double m_dXStep = 0.0;
    double m_dYStep = 0.0;

private:
    struct AxisScale {
        double dStep;
        int nZero;
        int nTicks;
    };
    // Step, zero index and tick count of one axis; the step is widened
    // tenfold until every tick position needed fits the tick arrays.
    static AxisScale ScaleAxis(double dMin, double dMax);
    static void FillTicks(const AxisScale& scale, int nStart, int nSize, int bNegate, int* pPos, double* pValues,
                          double& dUnitsPerLogical);

    CFont m_LabelFont;   // grid, tick and legend texts; lives for one Draw
    int m_nFontHeight = 0;
};
