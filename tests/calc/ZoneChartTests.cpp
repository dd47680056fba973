// The XY chart: axis ranges, tick steps and labels for real and damaged
// data, the fitted lines clipped to the plot, the ten marker shapes, the
// legend, the printer's font, and drawing without leaking GDI objects. What
// the chart draws is recorded on an enhanced-metafile DC and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/QarGraphGenerator.h"
#include "calc/ZoneDataDialog.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/calc/ZoneTestSupport.h"

namespace {

const CRect kPageRect(60, 40, 560, 340);

using Points = std::vector<std::pair<double, double>>;

std::unique_ptr<CQarGraphGenerator> MakeChart(const std::vector<Points>& series)
{
    auto pChart = std::make_unique<CQarGraphGenerator>();
    for (size_t i = 0; i < series.size(); ++i) {
        pChart->m_bVisible[i] = 1;
        pChart->m_crColor[i] = CZoneDataDialog::GetZoneColor(static_cast<int>(i) % 6);
        pChart->m_nPointCount[i] = static_cast<int>(series[i].size());
        for (size_t j = 0; j < series[i].size(); ++j) {
            pChart->m_dX[i][j] = series[i][j].first;
            pChart->m_dY[i][j] = series[i][j].second;
        }
        pChart->m_strLegend[i] = CString::FormatText(L"Zone %c-P%d", static_cast<wchar_t>(L'A' + i), 3 + i);
    }
    pChart->m_strXTitle = L"Building Pressure (Pa)";
    pChart->m_strYTitle = L"Zonal Pressures (Pa)";
    return pChart;
}

std::wstring Trimmed(const std::wstring& s)
{
    const size_t b = s.find_first_not_of(L' ');
    return b == std::wstring::npos ? std::wstring() : s.substr(b);
}

bool HasText(const CRecordedDrawing& rec, const std::wstring& text)
{
    for (const CRecordedText& t : rec.texts)
        if (Trimmed(t.text) == text)
            return true;
    return false;
}

}  // namespace

// One table of data sets: the step, the first and last tick and the zero
// index of each axis, the label format and the legend's side.
TEST(ZoneChartTest, AxesFollowTheDataInEveryCaseOfTheTable)
{
    const double kInf = std::numeric_limits<double>::infinity();
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        Points points;
        double xStep, xFirst, xLast;
        double yStep, yFirst, yLast;
        int yZero, yTicks;
        const wchar_t* sampleLabel;   // one y label as drawn
        int bLegendAtTop;
    };
    const Case cases[] = {
        {"x 0 to 50, y 0 to 20", {{0, 0}, {25, 10}, {50, 20}}, 10, -10, 60, 5, -5, 25, 1, 6, L"25", 1},
        {"y from -30 to -5: zero line on the top frame", {{10, -30}, {50, -5}}, 10, -10, 60, 5, -35, 0, 7, 7, L"-35",
         0},
        {"a span below 0.8: one decimal", {{10, 0.5}, {50, 0.2}}, 10, -10, 60, 0.1, -0.1, 0.6, 1, 7, L"0.3", 1},
        {"data beyond 1000 on the positive side", {{1200, 5}, {1500, 20}}, 25, -25, 1525, 5, -5, 25, 1, 6, L"20", 1},
        {"y from -30 to -10: the zero tick lies past the last", {{10, -30}, {50, -10}}, 10, -10, 60, 5, -35, -5, 7,
         6, L"-10", 0},
        {"a wild reading widens the step tenfold until the ticks fit",
         {{10, 5}, {50, -1.0e9}}, 10, -10, 60, 2.5e6, -1.0025e9, 2.5e6, 401, 402, L"-1002500000", 0},
        {"points that are not numbers are skipped", {{kNaN, 3}, {10, kInf}, {0, 0}, {50, 20}}, 10, -10, 60, 5, -5, 25,
         1, 6, L"-5", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pChart = MakeChart({c.points});
        pChart->m_bLegend = 1;
        CMetafileRecorder recorder;
        pChart->Draw(&recorder.Dc(), kPageRect);
        const CRecordedDrawing rec = recorder.Finish();
        const CQarGraphGenerator& g = *pChart;
        EXPECT_DOUBLE_EQ(g.m_dXStep, c.xStep);
        EXPECT_DOUBLE_EQ(g.m_dXTick[0], c.xFirst);
        EXPECT_DOUBLE_EQ(g.m_dXTick[g.m_nXTicks], c.xLast);
        EXPECT_DOUBLE_EQ(g.m_dYStep, c.yStep);
        EXPECT_NEAR(g.m_dYTick[0], c.yFirst, 1e-9 * std::fabs(c.yFirst) + 1e-12);
        EXPECT_NEAR(g.m_dYTick[g.m_nYTicks], c.yLast, 1e-9 * std::fabs(c.yLast) + 1e-12);
        EXPECT_EQ(g.m_nYZero, c.yZero);
        EXPECT_EQ(g.m_nYTicks, c.yTicks);
        EXPECT_EQ(g.m_dYTick[g.m_nYZero], 0.0);
        EXPECT_LE(std::max(g.m_nYTicks, g.m_nYZero) + 1, CQarGraphGenerator::kMaxTicks);
        EXPECT_EQ(g.m_bLegendAtTop, c.bLegendAtTop);
        // Labels: every tick 0 to n of both axes, with or without a decimal.
        EXPECT_TRUE(HasText(rec, c.sampleLabel)) << "no label " << testing::PrintToString(std::wstring(c.sampleLabel));
        size_t nLabels = 0;
        bool bDecimals = false;
        for (const CRecordedText& t : rec.texts) {
            const std::wstring s = Trimmed(t.text);
            if (!s.empty() && (iswdigit(s[0]) || s[0] == L'-')) {
                ++nLabels;
                bDecimals = bDecimals || s.find(L'.') != std::wstring::npos;
                EXPECT_EQ(s.find(L"-0.0"), std::wstring::npos) << "a negative zero label";
            }
        }
        EXPECT_EQ(nLabels, static_cast<size_t>(g.m_nXTicks + 1 + g.m_nYTicks + 1));
        EXPECT_EQ(bDecimals, c.yStep < 1.0);
        // The zero lines are drawn; every point lies inside the frame.
        const POINT ptZero = {g.XToLogical(0.0), g.YToLogical(0.0)};
        EXPECT_EQ(ptZero.x, g.m_nXTickPos[g.m_nXZero]);
        for (const CRecordedPolygon& p : rec.polygons) {
            const POINT centre = p.Centre();
            EXPECT_GE(centre.x, kPageRect.left);
            EXPECT_LE(centre.x, kPageRect.right);
            EXPECT_GE(centre.y, kPageRect.top);
            EXPECT_LE(centre.y, kPageRect.bottom);
        }
        // The legend box lies in the half the table says.
        ASSERT_FALSE(rec.rectangles.empty());
        const RECT& legend = rec.rectangles.back().rc;
        EXPECT_EQ(legend.top < (kPageRect.top + kPageRect.bottom) / 2, c.bLegendAtTop != 0);
    }
}

TEST(ZoneChartTest, TheZeroLinesAreTheSecondGridLinesAndUseTheAxisPen)
{
    // 900 wide: grid pen 2 (900 / 450), axis pen 3 (900 / 300).
    const CRect rc(60, 40, 960, 640);
    auto pChart = MakeChart({{{0, 0}, {25, 10}, {50, 20}}});
    CMetafileRecorder recorder;
    pChart->Draw(&recorder.Dc(), rc);
    const CRecordedDrawing rec = recorder.Finish();
    const int xZero = pChart->m_nXTickPos[1];
    const int yZero = pChart->m_nYTickPos[1];
    int nAxisLines = 0;
    int nGridLines = 0;
    for (const CRecordedLine& l : rec.lines) {
        const bool bVerticalZero = l.from.x == xZero && l.to.x == xZero && l.from.y == rc.top;
        const bool bHorizontalZero = l.from.y == yZero && l.to.y == yZero && l.from.x == rc.left;
        if (bVerticalZero || bHorizontalZero) {
            ++nAxisLines;
            EXPECT_EQ(l.pen.lopnColor, RGB(0, 0, 0));
            EXPECT_EQ(l.pen.lopnWidth.x, 3);
        } else if (l.pen.lopnColor == RGB(100, 100, 100)) {
            ++nGridLines;
            EXPECT_EQ(l.pen.lopnWidth.x, 2);
        }
    }
    EXPECT_EQ(nAxisLines, 2);
    // Ticks 0 to n - 1 of both axes get a line; the last lies on the frame.
    EXPECT_EQ(nGridLines + nAxisLines, pChart->m_nXTicks + pChart->m_nYTicks);
    EXPECT_EQ(pChart->m_nXTickPos[0], rc.left);
    EXPECT_EQ(pChart->m_nYTickPos[0], rc.bottom);
}

// Nothing at all, not even the frame, without a point to show.
TEST(ZoneChartTest, NothingIsDrawnWithoutAVisiblePointOrWithAnEmptyPlot)
{
    struct Case {
        const char* name;
        std::vector<Points> series;
        int bVisible;
        CRect rc;
    };
    const Case cases[] = {
        {"no visible series", {{{0, 0}, {50, 20}}}, 0, kPageRect},
        {"visible series without points", {{}, {}}, 1, kPageRect},
        {"only points that are not numbers", {{{std::nan(""), 1}}}, 1, kPageRect},
        {"an empty plot rectangle", {{{0, 0}, {50, 20}}}, 1, CRect(100, 100, 100, 300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pChart = MakeChart(c.series);
        for (int i = 0; i < CQarGraphGenerator::kMaxSeries; ++i)
            pChart->m_bVisible[i] = c.bVisible && i < static_cast<int>(c.series.size());
        pChart->m_bLegend = 1;
        CMetafileRecorder recorder;
        pChart->Draw(&recorder.Dc(), c.rc);
        const CRecordedDrawing rec = recorder.Finish();
        EXPECT_TRUE(rec.texts.empty());
        EXPECT_TRUE(rec.rectangles.empty());
        EXPECT_TRUE(rec.lines.empty());
        EXPECT_TRUE(rec.polygons.empty());
    }
}

// The fitted line in the series colour: clipped to the plot wherever it
// starts or ends, never divided by a zero rise, and left out when it misses
// the plot.
TEST(ZoneChartTest, FittedLinesAreClippedToThePlot)
{
    const COLORREF cr = CZoneDataDialog::GetZoneColor(0);
    struct Case {
        const char* name;
        double slope, intercept;
        bool bDrawn;
        int nEndY;   // -1: not checked
    };
    // Data 0..50 by 0..10: the plot spans y -5..15.
    const Case cases[] = {
        {"leaves through the top edge", 1.0, 0.0, true, kPageRect.top},
        {"slope 0 inside the plot", 0.0, 5.0, true, -1},
        {"slope 0 above the plot", 0.0, 1000.0, false, -1},
        {"starts below the plot", 0.5, -20.0, true, -1},
        {"not a number after a failed fit", std::nan(""), 0.0, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pChart = MakeChart({{{0, 0}, {50, 10}}});
        pChart->m_dSlope[0] = c.slope;
        pChart->m_dIntercept[0] = c.intercept;
        CMetafileRecorder recorder;
        pChart->Draw(&recorder.Dc(), kPageRect);
        const CRecordedDrawing rec = recorder.Finish();
        std::vector<CRecordedLine> lines;
        for (const CRecordedLine& l : rec.lines)
            if (l.pen.lopnColor == cr)
                lines.push_back(l);
        ASSERT_EQ(lines.size(), c.bDrawn ? 1u : 0u);
        if (!c.bDrawn)
            continue;
        for (const POINT& pt : {lines[0].from, lines[0].to}) {
            EXPECT_GE(pt.x, kPageRect.left);
            EXPECT_LE(pt.x, kPageRect.right);
            EXPECT_GE(pt.y, kPageRect.top);
            EXPECT_LE(pt.y, kPageRect.bottom);
        }
        if (c.nEndY >= 0) {
            EXPECT_EQ(lines[0].to.y, c.nEndY);
        }
        if (c.slope == 0.0) {
            EXPECT_EQ(lines[0].from.y, lines[0].to.y);
        }
        if (c.intercept < -5.0) {
            EXPECT_EQ(lines[0].from.y, kPageRect.bottom);
        }
    }
}

// Shapes 0 to 5 scale with the plot; 6 to 9 are the small fixed square. The
// legend repeats each marker beside its label.
TEST(ZoneChartTest, TenSeriesGetTheirMarkerShapesAtPageAndPrinterSize)
{
    const int kCorners[10] = {4, 4, 3, 3, 8, 12, 4, 4, 4, 4};
    for (const CRect& rc : {kPageRect, CRect(300, 500, 2300, 1800)}) {
        std::vector<Points> series;
        for (int i = 0; i < 10; ++i)
            series.push_back({{5.0 * (i + 1), 2.0 * i - 6}});
        auto pChart = MakeChart(series);
        pChart->m_bLegend = 1;
        CMetafileRecorder recorder;
        pChart->Draw(&recorder.Dc(), rc);
        const CRecordedDrawing rec = recorder.Finish();
        const int m = static_cast<int>((rc.Width() + rc.Height()) / 200.0 + 0.5);
        EXPECT_EQ(pChart->m_nMarkerSize, m);
        ASSERT_EQ(rec.polygons.size(), 20u);   // ten points, ten legend markers
        for (int i = 0; i < 10; ++i) {
            SCOPED_TRACE(i);
            const CRecordedPolygon& p = rec.polygons[i];
            EXPECT_EQ(p.points.size(), static_cast<size_t>(kCorners[i]));
            EXPECT_EQ(p.brush, pChart->m_crColor[i]);
            const int nHalfWidth = p.Width() / 2;
            if (i == 0) {
                EXPECT_EQ(nHalfWidth, m);
            }
            if (i >= 6) {
                EXPECT_EQ(nHalfWidth, 3);
            }
            EXPECT_EQ(rec.polygons[10 + i].points.size(), p.points.size());
            EXPECT_TRUE(HasText(rec, pChart->m_strLegend[i].GetString()));
        }
        // The legend box: widest label + 16 m by 4 m per series + 2 m.
        const RECT& box = rec.rectangles.back().rc;
        EXPECT_EQ(box.bottom - box.top, 4 * m * 10 + 2 * m);
        EXPECT_EQ(box.left, rc.left + 2 * m);
    }
}

// The printer's font is smaller relative to the plot: (width + height) / 48.
TEST(ZoneChartTest, APrintingDcTakesTheSmallerFont)
{
    for (bool bPrinting : {false, true}) {
        auto pChart = MakeChart({{{0, 0}, {50, 20}}});
        CMetafileRecorder recorder;
        recorder.Dc().m_bPrinting = bPrinting;
        pChart->Draw(&recorder.Dc(), kPageRect);
        const CRecordedDrawing rec = recorder.Finish();
        ASSERT_FALSE(rec.texts.empty());
        const int nExpected = (kPageRect.Width() + kPageRect.Height()) / (bPrinting ? 48 : 36);
        for (const CRecordedText& t : rec.texts) {
            EXPECT_EQ(t.font.lfHeight, nExpected);
            EXPECT_EQ(std::wstring(t.font.lfFaceName), L"Arial");
        }
    }
}

// Many draws into a bitmap leave the DC with its own objects and the count
// of live GDI objects unchanged; the markers really reach the pixels.
TEST(ZoneChartTest, RepeatedDrawingLeaksNoGdiObject)
{
    std::vector<Points> series;
    for (int i = 0; i < 6; ++i)
        series.push_back({{10, 2.0 + i}, {30, 6.0 + 2 * i}, {50, 10.0 + 3 * i}});
    auto pChart = MakeChart(series);
    pChart->m_bLegend = 1;
    for (int i = 0; i < 6; ++i)
        pChart->m_dSlope[i] = 0.2 + 0.05 * i;
    CCanvas canvas(640, 420, RGB(255, 255, 255));
    CDC& dc = canvas.DC();
    const HGDIOBJ hPen = ::GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ hBrush = ::GetCurrentObject(dc, OBJ_BRUSH);
    const HGDIOBJ hFont = ::GetCurrentObject(dc, OBJ_FONT);
    const long nLive = CGdiObject::GetLiveObjectCount();
    for (int n = 0; n < 200; ++n)
        pChart->Draw(&dc, kPageRect);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), hPen);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), hBrush);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), hFont);
    EXPECT_EQ(CGdiObject::GetLiveObjectCount(), nLive);
    for (int i = 0; i < 6; ++i)
        EXPECT_GT(canvas.CountPixels(pChart->m_crColor[i], kPageRect), 0) << "series " << i;
}

// Pictures for a person: ten series at page and at printer-like size, with
// the legend at the top (zero line low) and at the bottom (zero line high).
TEST(ZoneChartTest, ScreenshotsOfTenSeries)
{
    if (ScreensFolder().empty())
        GTEST_SKIP() << "VUDADAR_SCREENS not set";
    struct Picture {
        const wchar_t* name;
        int nWidth, nHeight;
        CRect rc;
        double dSign;
    };
    const Picture pictures[] = {
        {L"zone-chart-page-legend-top.png", 640, 420, CRect(70, 40, 600, 340), 1.0},
        {L"zone-chart-page-legend-bottom.png", 640, 420, CRect(70, 40, 600, 340), -1.0},
        {L"zone-chart-printer-legend-top.png", 1600, 1100, CRect(180, 100, 1500, 880), 1.0},
    };
    for (const Picture& p : pictures) {
        std::vector<Points> series;
        for (int i = 0; i < 10; ++i) {
            const double b = 0.08 * (i + 1);
            Points pts;
            for (double x : {0.0, 15.0, 25.0, 35.0, 50.0})
                pts.push_back({x, p.dSign * b * x});
            series.push_back(pts);
        }
        auto pChart = MakeChart(series);
        for (int i = 0; i < 10; ++i) {
            pChart->m_dSlope[i] = p.dSign * 0.08 * (i + 1);
            pChart->m_crColor[i] = i < 6 ? CZoneDataDialog::GetZoneColor(i)
                                         : RGB(40 * (i - 5), 40 * (i - 5), 40 * (i - 5));
        }
        pChart->m_bLegend = 1;
        CCanvas canvas(p.nWidth, p.nHeight, RGB(255, 255, 255));
        canvas.DC().m_bPrinting = p.nWidth > 1000;
        pChart->Draw(&canvas.DC(), p.rc);
        EXPECT_FALSE(SaveCanvasPng(canvas, p.name).empty());
    }
}
