// The leakage graph: axes and ticks, the point mapping on the marker
// rectangles, baseline and colour rules, the legend, target marks, fitted
// curves (failed fits included), printing weights and the live trace.
// Drawn into an enhanced metafile (records) and a memory bitmap (pixels).
#include <gtest/gtest.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/MetafileRecorder.h"

namespace {

const CRect kPlot(100, 50, 500, 350);   // 400 wide: size unit 1, h = 14
const COLORREF kGrid = RGB(92, 92, 92);

std::wstring Trim(const std::wstring& s)
{
    const size_t a = s.find_first_not_of(L' ');
    const size_t b = s.find_last_not_of(L' ');
    return a == std::wstring::npos ? std::wstring() : s.substr(a, b - a + 1);
}

int ExpectedX(double p, double pmin, double pmax, const CRect& rc = kPlot)
{
    return rc.left + static_cast<int>(std::log10(p / pmin) / std::log10(pmax / pmin) * rc.Width());
}

int ExpectedY(double q, double qmin, double qmax, const CRect& rc = kPlot)
{
    return rc.bottom - static_cast<int>(std::log10(q / qmin) / std::log10(qmax / qmin) * rc.Height());
}

bool IsDiagonal(const CRecordedLine& l)
{
    return l.from.x != l.to.x && l.from.y != l.to.y;
}

// A 32-bit top-down memory bitmap selected into a memory DC.
class CPixels {
public:
    CPixels(int cx, int cy) : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_pBits = static_cast<DWORD*>(pBits);
        m_dc.Attach(::CreateCompatibleDC(nullptr));
        m_hOld = ::SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
    }
    ~CPixels()
    {
        ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
        ::DeleteDC(m_dc.Detach());
        ::DeleteObject(m_hBitmap);
    }
    CDC& Dc() { return m_dc; }
    std::vector<DWORD> Snapshot()
    {
        ::GdiFlush();
        return std::vector<DWORD>(m_pBits, m_pBits + m_cx * m_cy);
    }
    COLORREF Pixel(int x, int y)
    {
        ::GdiFlush();
        const DWORD v = m_pBits[y * m_cx + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Saves the bitmap as a PNG in the VUDADAR_SCREENS folder; "" when it is
    // not set or the save failed.
    std::wstring SavePng(const wchar_t* pszName)
    {
        const wchar_t* pszFolder = _wgetenv(L"VUDADAR_SCREENS");
        if (pszFolder == nullptr || *pszFolder == 0)
            return std::wstring();
        std::wstring path = pszFolder;
        if (path.back() != L'\\' && path.back() != L'/')
            path += L'\\';
        path += pszName;
        ::GdiFlush();
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        bool bSaved = false;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
            {
                Gdiplus::Bitmap image(m_cx, m_cy, m_cx * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(m_pBits));
                UINT nCount = 0, nSize = 0;
                Gdiplus::GetImageEncodersSize(&nCount, &nSize);
                std::vector<BYTE> buffer(nSize);
                auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
                if (nSize != 0 && Gdiplus::GetImageEncoders(nCount, nSize, pCodecs) == Gdiplus::Ok) {
                    for (UINT i = 0; i < nCount; ++i) {
                        if (std::wstring(pCodecs[i].MimeType) == L"image/png")
                            bSaved = image.Save(path.c_str(), &pCodecs[i].Clsid, nullptr) == Gdiplus::Ok;
                    }
                }
            }
            Gdiplus::GdiplusShutdown(token);
        }
        return bSaved ? path : std::wstring();
    }

private:
    int m_cx;
    int m_cy;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    DWORD* m_pBits = nullptr;
    CDC m_dc;
};

class LeakageGraph : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pSettings = std::make_unique<CTestSettingsDialog>(nullptr);
        m_pSettings->m_chMethodLetter[0] = L'A';
        m_pSettings->m_chMethodLetter[1] = L'A';
        m_pStore = std::make_unique<CTestGraph1>(nullptr);
        m_pStore->m_pSettings = m_pSettings.get();
        m_pStore->m_bShown = 1;   // drawing needs a shown screen or a printer
        for (int d = 0; d < 2; ++d)
            for (int t = 0; t < CTestGraph1::kMaxTests; ++t)
                m_pStore->m_FlowFactor[d][t] = 1.0;
    }
    void TearDown() override
    {
        m_pStore.reset();
        m_pSettings.reset();
        g_nCurrentDirection = m_nSavedDirection;
    }

    // Appends a closed test: opening marker at dBaseline, the points
    // (pressure, flow) and a closing marker at dBaseline.
    void AddTest(int d, double dBaseline, const std::vector<std::pair<double, double>>& points, bool bClosed = true)
    {
        CTestGraph1& s = *m_pStore;
        auto add = [&](int nRing, double p, double q) {
            const int i = s.m_StationCount[d]++;
            s.m_Ring[d][i] = nRing;
            s.m_Pavg[d][i] = p;
            s.m_Qavg[d][i] = q;
        };
        add(-1, dBaseline, 0.0);
        for (const auto& [p, q] : points)
            add(1, p, q);
        if (bClosed) {
            add(-1, dBaseline, 0.0);
            ++s.m_CompletedTests[d];
        }
    }

    CRecordedDrawing DrawGraph(double pmin, double pmax, double qmin, double qmax, int bMarks = 1,
                               bool bPrinting = false)
    {
        CMetafileRecorder recorder;
        recorder.Dc().m_bPrinting = bPrinting;
        m_pStore->DrawLeakageGraph(&recorder.Dc(), kPlot, bMarks, pmin, pmax, qmin, qmax);
        return recorder.Finish();
    }

    int m_nSavedDirection = 0;
    std::unique_ptr<CTestSettingsDialog> m_pSettings;
    std::unique_ptr<CTestGraph1> m_pStore;
};

struct AxisCase {
    double pmin, pmax, qmin, qmax;
    std::vector<double> pTicks, qTicks;
};

std::vector<double> Range(std::initializer_list<std::pair<int, int>> decades, std::vector<double> extra = {})
{
    std::vector<double> v;
    for (const auto& [from, decade] : decades)
        for (int d = from; d <= 9; ++d)
            v.push_back(d * static_cast<double>(decade));
    v.insert(v.end(), extra.begin(), extra.end());
    return v;
}

}  // namespace

TEST_F(LeakageGraph, AxisTicksLabelsAndGridFollowTheRoundedBounds)
{
    const std::vector<AxisCase> cases = {
        // Defaults: 4..9, 10..70 and 100..900, 1000..6000.
        {4, 70, 100, 6000, Range({{4, 1}}, {10, 20, 30, 40, 50, 60, 70}),
         Range({{1, 100}}, {1000, 2000, 3000, 4000, 5000, 6000})},
        // 71 rounds up to 80, 96 up to 100; 3.5 down to 3.
        {3.5, 71, 150, 96 * 10, Range({{3, 1}}, {10, 20, 30, 40, 50, 60, 70, 80}), Range({{1, 100}}, {1000})},
        // Bounds 10 and 100: each power of ten labelled once.
        {10, 100, 10, 100, Range({{1, 10}}, {100}), Range({{1, 10}}, {100})},
    };
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pmin << "-" << c.pmax << " / " << c.qmin << "-" << c.qmax);
        const CRecordedDrawing drawing = DrawGraph(c.pmin, c.pmax, c.qmin, c.qmax);
        const double pmin = c.pTicks.front(), pmax = c.pTicks.back();
        const double qmin = c.qTicks.front(), qmax = c.qTicks.back();
        EXPECT_DOUBLE_EQ(m_pStore->m_dDrawnPmin, pmin);
        EXPECT_DOUBLE_EQ(m_pStore->m_dDrawnPmax, pmax);
        EXPECT_DOUBLE_EQ(m_pStore->m_dDrawnQmin, qmin);
        EXPECT_DOUBLE_EQ(m_pStore->m_dDrawnQmax, qmax);

        // The numbers in order: pressure labels below the axis, flow labels
        // left of it.
        std::vector<double> pLabels, qLabels;
        for (const CRecordedText& t : drawing.texts) {
            const std::wstring s = Trim(t.text);
            if (s.empty() || s.find_first_not_of(L"0123456789") != std::wstring::npos)
                continue;
            if (t.pt.y > kPlot.bottom) {
                pLabels.push_back(std::stod(s));
                const int x = ExpectedX(std::stod(s), pmin, pmax);
                EXPECT_EQ(t.pt.x, (x + 1 + x + 2) / 2) << "label " << s;
                EXPECT_EQ(t.pt.y, kPlot.bottom + 5);
                EXPECT_EQ(t.font.lfWeight, FW_BOLD);
                EXPECT_EQ(t.font.lfHeight, 14);
            } else {
                qLabels.push_back(std::stod(s));
            }
        }
        EXPECT_EQ(pLabels, c.pTicks);
        EXPECT_EQ(qLabels, c.qTicks);

        // Tick marks at the mapped positions; grid lines at all but the
        // first and last tick of each axis.
        std::set<int> tickX, gridX, gridY;
        for (const CRecordedLine& l : drawing.lines) {
            if (l.pen.lopnColor == RGB(0, 0, 0) && l.from.y == kPlot.bottom && l.to.y == kPlot.bottom + 4)
                tickX.insert(l.from.x);
            if (l.pen.lopnColor == kGrid && l.from.x == l.to.x)
                gridX.insert(l.from.x);
            if (l.pen.lopnColor == kGrid && l.from.y == l.to.y)
                gridY.insert(l.from.y);
        }
        std::set<int> wantTicks, wantGridX, wantGridY;
        for (size_t i = 0; i < c.pTicks.size(); ++i) {
            wantTicks.insert(ExpectedX(c.pTicks[i], pmin, pmax));
            if (i != 0 && i + 1 != c.pTicks.size())
                wantGridX.insert(ExpectedX(c.pTicks[i], pmin, pmax));
        }
        for (size_t i = 1; i + 1 < c.qTicks.size(); ++i)
            wantGridY.insert(ExpectedY(c.qTicks[i], qmin, qmax));
        EXPECT_EQ(tickX, wantTicks);
        EXPECT_EQ(gridX, wantGridX);
        EXPECT_EQ(gridY, wantGridY);
    }
}

TEST_F(LeakageGraph, GridDashesStayInsideThePlot)
{
    const CRecordedDrawing drawing = DrawGraph(4, 70, 100, 6000);
    int nVertical = 0;
    for (const CRecordedLine& l : drawing.lines) {
        if (l.pen.lopnColor != kGrid || l.from.x != l.to.x || l.from.y < kPlot.top)
            continue;
        ++nVertical;
        EXPECT_GE(l.from.y, kPlot.top + 1);
        EXPECT_LE(l.to.y, kPlot.bottom);
        EXPECT_LE(l.to.y - l.from.y, 5);
    }
    EXPECT_GT(nVertical, 0);
    for (const CRecordedLine& l : drawing.lines) {
        if (l.pen.lopnColor == kGrid && l.from.y == l.to.y && l.from.y > kPlot.top + 3 * 14 + 14) {
            EXPECT_GE(l.from.x, kPlot.left + 1);
            EXPECT_LE(l.to.x, kPlot.right - 1);
        }
    }
}

TEST_F(LeakageGraph, TitlesAndThePrintingWeight)
{
    const CRecordedDrawing screen = DrawGraph(4, 70, 100, 6000);
    const CRecordedText* pTitle = screen.Find(L"Building Pressure (Pa)");
    ASSERT_NE(pTitle, nullptr);
    EXPECT_EQ(pTitle->pt.x, (kPlot.left + kPlot.right) / 2);
    EXPECT_EQ(pTitle->pt.y, kPlot.bottom + static_cast<int>(14 * 1.4));
    ASSERT_NE(screen.Find(L"Building"), nullptr);
    ASSERT_NE(screen.Find(L"Leakage"), nullptr);
    ASSERT_NE(screen.Find(L"()"), nullptr);   // no view: no unit name

    // On a printer the graph draws although the screen is not shown, with
    // normal-weight fonts; neither shown nor printing draws nothing.
    m_pStore->m_bShown = 0;
    EXPECT_TRUE(DrawGraph(4, 70, 100, 6000).texts.empty());
    const CRecordedDrawing printed = DrawGraph(4, 70, 100, 6000, 0, true);
    ASSERT_FALSE(printed.texts.empty());
    for (const CRecordedText& t : printed.texts)
        EXPECT_EQ(t.font.lfWeight, FW_NORMAL) << std::string(t.text.begin(), t.text.end());
}

TEST_F(LeakageGraph, MarkerRectanglesFollowThePixelMapping)
{
    // Slot 0 with baselines 2 and 4 (mean 3); slot 1 depressurization with
    // negative pressures about a baseline of -1.
    AddTest(0, 2.0, {{13.0, 1000.0}, {53.0, 3000.0}, {7.0, 150.0}});
    AddTest(1, -1.0, {{-11.0, 800.0}, {-41.0, 2500.0}});
    m_pStore->m_Pavg[0][4] = 4.0;
    CMetafileRecorder recorder;
    CTestGraph1& s = *m_pStore;
    s.DrawLeakageGraph(&recorder.Dc(), kPlot, 0, 4, 70, 100, 6000);
    s.DrawDataPoints(&recorder.Dc(), kPlot, 0);
    s.DrawDataPoints(&recorder.Dc(), kPlot, 1);
    const CRecordedDrawing drawing = recorder.Finish();

    const int u = static_cast<int>(400 / 120.0 + 0.5);
    struct Point {
        int d, i;
        double p, q;
    };
    const Point points[] = {{0, 1, 10, 1000}, {0, 2, 50, 3000}, {0, 3, 4, 150}, {1, 1, 10, 800}, {1, 2, 40, 2500}};
    for (const Point& pt : points) {
        const int x = ExpectedX(pt.p, 4, 70), y = ExpectedY(pt.q, 100, 6000);
        EXPECT_EQ(s.m_rcMarker[pt.d][pt.i], CRect(x - u, y - u, x + u + 1, y + u + 1)) << pt.d << "/" << pt.i;
    }
    // Squares are one pixel narrower and lower, filled with the test colour.
    const CRect& rc = s.m_rcMarker[0][1];
    const auto it = std::find_if(drawing.rectangles.begin(), drawing.rectangles.end(), [&](const CRecordedRectangle& r) {
        return CRect(r.rc) == CRect(rc.left, rc.top, rc.right - 1, rc.bottom - 1);
    });
    ASSERT_NE(it, drawing.rectangles.end());
    EXPECT_EQ(it->brush, RGB(255, 0, 0));
    // The markers themselves get no rectangle.
    EXPECT_TRUE(s.m_rcMarker[0][0].IsRectEmpty());
    EXPECT_TRUE(s.m_rcMarker[0][4].IsRectEmpty());
}

TEST_F(LeakageGraph, PointsWithinOnePascalOfTheBaselineAreNotDrawnAndLoseTheirRectangle)
{
    AddTest(0, 5.0, {{6.0, 1000.0}, {6.01, 1000.0}, {4.0, 1000.0}, {3.99, 1000.0}});
    CTestGraph1& s = *m_pStore;
    for (CRect& rc : s.m_rcMarker[0])
        rc = CRect(1, 1, 9, 9);   // stale rectangles of an earlier drawing
    CMetafileRecorder recorder;
    s.DrawLeakageGraph(&recorder.Dc(), kPlot, 0, 1, 70, 100, 6000);
    s.DrawDataPoints(&recorder.Dc(), kPlot, 0);
    EXPECT_TRUE(s.m_rcMarker[0][1].IsRectEmpty());    // exactly 1.0 Pa
    EXPECT_FALSE(s.m_rcMarker[0][2].IsRectEmpty());   // 1.01 Pa
    EXPECT_TRUE(s.m_rcMarker[0][3].IsRectEmpty());    // -1.0 Pa
    EXPECT_FALSE(s.m_rcMarker[0][4].IsRectEmpty());   // -1.01 Pa
    // Entries past the used ones (a point since deleted) hold nothing.
    for (int i = s.m_StationCount[0]; i < CTestGraph1::kMaxEntries; ++i)
        ASSERT_TRUE(s.m_rcMarker[0][i].IsRectEmpty()) << i;

    // A point outside the drawn axes draws nothing and gives an empty rectangle.
    EXPECT_TRUE(s.DrawPointMarker(&recorder.Dc(), 0, 0, kPlot, 80.0, 1000.0).IsRectEmpty());
    EXPECT_TRUE(s.DrawPointMarker(&recorder.Dc(), 0, 0, kPlot, 10.0, 99.0).IsRectEmpty());
    EXPECT_FALSE(s.DrawPointMarker(&recorder.Dc(), 0, 0, kPlot, -70.0, 6000.0).IsRectEmpty());
}

TEST_F(LeakageGraph, TestColoursRepeatAfterSix)
{
    const std::pair<int, COLORREF> cases[] = {
        {0, RGB(255, 0, 0)},   {1, RGB(0, 255, 0)},     {2, RGB(0, 0, 255)},   {3, RGB(128, 128, 0)},
        {4, RGB(128, 0, 128)}, {5, RGB(0, 128, 128)},   {6, RGB(0, 255, 0)},   {10, RGB(0, 128, 128)},
        {11, RGB(0, 255, 0)},  {31, RGB(0, 255, 0)},
    };
    for (const auto& [t, cr] : cases)
        EXPECT_EQ(CTestGraph1::GetTestColour(t), cr) << t;

    // Drawn: eleven tests of one point each; tests 6 and 10 are green and teal.
    for (int t = 0; t < 11; ++t)
        AddTest(0, 0.0, {{10.0 + 3 * t, 1000.0 + 100 * t}});
    CMetafileRecorder recorder;
    m_pStore->DrawLeakageGraph(&recorder.Dc(), kPlot, 0, 4, 70, 100, 6000);
    m_pStore->DrawDataPoints(&recorder.Dc(), kPlot, 0);
    const CRecordedDrawing drawing = recorder.Finish();
    auto brushOf = [&](int nEntry) {
        const CRect& rc = m_pStore->m_rcMarker[0][nEntry];
        for (const CRecordedRectangle& r : drawing.rectangles)
            if (CRect(r.rc) == CRect(rc.left, rc.top, rc.right - 1, rc.bottom - 1))
                return r.brush;
        return static_cast<COLORREF>(CLR_INVALID);
    };
    EXPECT_EQ(brushOf(6 * 3 + 1), RGB(0, 255, 0));
    EXPECT_EQ(brushOf(10 * 3 + 1), RGB(0, 128, 128));
}

TEST_F(LeakageGraph, LegendShowsOneRowPerDirectionWithTests)
{
    const int h = 14;
    auto legendBox = [&](const CRecordedDrawing& drawing) {
        for (const CRecordedRectangle& r : drawing.rectangles)
            if (r.rc.left == kPlot.left + h && r.rc.top == kPlot.top + h)
                return CRect(r.rc);
        return CRect(0, 0, 0, 0);
    };
    // No completed test: no legend.
    EXPECT_TRUE(legendBox(DrawGraph(4, 70, 100, 6000)).IsRectEmpty());

    m_pStore->m_CompletedTests[1] = 1;
    CRecordedDrawing drawing = DrawGraph(4, 70, 100, 6000);
    EXPECT_EQ(legendBox(drawing), CRect(kPlot.left + h, kPlot.top + h, kPlot.left + 11 * h, kPlot.top + h + 3 * h - (3 * h) / 2));
    EXPECT_NE(drawing.Find(L"Depressurize"), nullptr);
    EXPECT_EQ(drawing.Find(L"Pressurize"), nullptr);
    EXPECT_NE(drawing.Find(L"____  "), nullptr);
    EXPECT_EQ(drawing.Find(L"Depressurize")->font.lfHeight, 12);

    m_pStore->m_CompletedTests[0] = 1;
    drawing = DrawGraph(4, 70, 100, 6000);
    EXPECT_EQ(legendBox(drawing).Height(), 3 * h);
    const CRecordedText* pD = drawing.Find(L"Depressurize");
    const CRecordedText* pP = drawing.Find(L"Pressurize");
    ASSERT_NE(pD, nullptr);
    ASSERT_NE(pP, nullptr);
    EXPECT_EQ(pP->pt.y - pD->pt.y, (5 * h) / 4);
    EXPECT_NE(drawing.Find(L"_ _ _  "), nullptr);
}

TEST_F(LeakageGraph, TargetAndCruiseMarksAtOrAboveTheAxisMinimumOnly)
{
    CTestGraph1& s = *m_pStore;
    const double targets[] = {3.0, 10.0, 50.0, 0.0, 30.0};   // the 0 ends the list
    std::copy(std::begin(targets), std::end(targets), s.m_Targets[0]);
    auto marks = [&](COLORREF cr) {
        std::set<int> xs;
        for (const CRecordedLine& l : DrawGraph(4, 70, 100, 6000).lines)
            if (l.pen.lopnColor == cr) {
                EXPECT_EQ(l.from.y, kPlot.top + 1);
                EXPECT_EQ(l.to.y, kPlot.bottom);
                xs.insert(l.from.x);
            }
        return xs;
    };
    EXPECT_EQ(marks(RGB(0, 0, 255)), (std::set<int>{ExpectedX(10, 4, 70), ExpectedX(50, 4, 70)}));
    EXPECT_TRUE(marks(RGB(255, 0, 0)).empty());   // no cruise set up

    s.m_CruiseMode = 1;
    const std::pair<double, bool> cruises[] = {{20.0, true}, {3.9, false}, {-20.0, false}, {4.0, true}};
    for (const auto& [dCruise, bMark] : cruises) {
        s.m_dCruisePressure = dCruise;
        std::set<int> xs;
        for (const CRecordedLine& l : DrawGraph(4, 70, 100, 6000).lines)
            if (l.pen.lopnColor == RGB(255, 0, 0)) {
                EXPECT_EQ(l.pen.lopnWidth.x, 2);
                xs.insert(l.from.x);
            }
        EXPECT_EQ(xs, bMark ? std::set<int>{ExpectedX(dCruise, 4, 70)} : std::set<int>{}) << dCruise;
    }

    // Not with the draw-marks flag off, nor for a manual test.
    bool bAny = false;
    for (const CRecordedLine& l : DrawGraph(4, 70, 100, 6000, 0).lines)
        bAny = bAny || l.pen.lopnColor == RGB(0, 0, 255);
    m_pSettings->m_chMethodLetter[0] = L'M';
    for (const CRecordedLine& l : DrawGraph(4, 70, 100, 6000).lines)
        bAny = bAny || l.pen.lopnColor == RGB(0, 0, 255);
    EXPECT_FALSE(bAny);
}

TEST_F(LeakageGraph, CurvesAreDashedForPressurizationAndNotDrawnForFailedFits)
{
    CTestGraph1& s = *m_pStore;
    auto curve = [&](int d, double n, double C) {
        s.m_FitN[d] = n;
        s.m_FitC[d] = C;
        CMetafileRecorder recorder;
        s.DrawLeakageGraph(&recorder.Dc(), kPlot, 0, 4, 70, 100, 6000);
        s.DrawLeakageCurve(&recorder.Dc(), kPlot, d);
        std::vector<CRecordedLine> lines;
        for (const CRecordedLine& l : recorder.Finish().lines)
            if (IsDiagonal(l))
                lines.push_back(l);
        return lines;
    };
    // Q = 50 dP^0.65 lies within the axes from end to end.
    std::vector<CRecordedLine> solid = curve(1, 0.65, 50.0);
    ASSERT_EQ(solid.size(), 1u);
    EXPECT_EQ(CPoint(solid[0].from), CPoint(kPlot.left, ExpectedY(50 * std::pow(4.0, 0.65), 100, 6000)));
    EXPECT_EQ(CPoint(solid[0].to), CPoint(kPlot.right, ExpectedY(50 * std::pow(70.0, 0.65), 100, 6000)));
    std::vector<CRecordedLine> dashed = curve(0, 0.65, 50.0);
    ASSERT_EQ(dashed.size(), 20u);
    EXPECT_EQ(CPoint(dashed.front().from), CPoint(solid[0].from));
    EXPECT_EQ(CPoint(dashed.back().to), CPoint(solid[0].to));

    // A steep curve leaves through the top: it ends there.
    std::vector<CRecordedLine> steep = curve(1, 1.0, 100.0);
    ASSERT_EQ(steep.size(), 1u);
    EXPECT_EQ(steep[0].to.y, kPlot.top);
    EXPECT_LT(steep[0].to.x, kPlot.right);
    // A curve starting below the bottom starts on it.
    std::vector<CRecordedLine> low = curve(1, 1.0, 10.0);
    ASSERT_EQ(low.size(), 1u);
    EXPECT_EQ(low[0].from.y, kPlot.bottom - 1);
    EXPECT_GT(low[0].from.x, kPlot.left);

    // Failed fits (n = C = -1), a zero or non-finite value, and curves
    // wholly outside the axes draw nothing.
    const std::pair<double, double> failed[] = {{-1.0, -1.0}, {0.65, -1.0}, {-1.0, 50.0}, {0.0, 50.0}, {0.65, 0.0},
                                                {NAN, 50.0}, {0.65, INFINITY}, {0.65, 1.0}, {0.65, 1.0e6}};
    for (const auto& [n, C] : failed)
        EXPECT_TRUE(curve(1, n, C).empty()) << n << " " << C;
}

TEST_F(LeakageGraph, BoundsALogAxisCannotTakeDrawNothing)
{
    CTestGraph1& s = *m_pStore;
    DrawGraph(4, 70, 100, 6000);
    s.m_FitN[1] = 0.65;
    s.m_FitC[1] = 50.0;
    const double bad[][4] = {{0, 70, 100, 6000}, {4, 70, -100, 6000}, {70, 4, 100, 6000},
                             {4, 70, 6000, 100}, {NAN, 70, 100, 6000}, {4, INFINITY, 100, 6000}};
    for (const auto& b : bad) {
        const CRecordedDrawing drawing = DrawGraph(b[0], b[1], b[2], b[3]);
        EXPECT_TRUE(drawing.lines.empty() && drawing.texts.empty()) << b[0] << " " << b[1] << " " << b[2];
        // Nothing may be placed with the scales of the graph before.
        CMetafileRecorder recorder;
        s.DrawLeakageCurve(&recorder.Dc(), kPlot, 1);
        EXPECT_TRUE(s.DrawPointMarker(&recorder.Dc(), 0, 0, kPlot, 10, 1000).IsRectEmpty());
        EXPECT_TRUE(recorder.Finish().lines.empty());
    }
}

TEST_F(LeakageGraph, TestInProgressIsDrawnAgainstItsOpeningMarkerWithoutCurve)
{
    CTestGraph1& s = *m_pStore;
    AddTest(0, 5.0, {{15.0, 1000.0}, {25.0, 2000.0}}, false);
    s.m_bTestRunning = 1;
    s.m_nPointIndex = 2;
    s.m_FitN[0] = 0.65;
    s.m_FitC[0] = 50.0;
    s.m_bCurveValid = 1;
    s.m_rcPlot = kPlot;
    s.m_AxisPmin[0] = 4;
    s.m_AxisPmax[0] = 70;
    s.m_AxisQmin[0] = 100;
    s.m_AxisQmax[0] = 6000;
    CMetafileRecorder recorder;
    s.PaintGraph(&recorder.Dc());
    const CRecordedDrawing drawing = recorder.Finish();
    const int u = 3;
    const int x = ExpectedX(10, 4, 70), y = ExpectedY(1000, 100, 6000);
    EXPECT_EQ(s.m_rcMarker[0][1], CRect(x - u, y - u, x + u + 1, y + u + 1));
    EXPECT_FALSE(s.m_rcMarker[0][2].IsRectEmpty());
    EXPECT_EQ(std::count_if(drawing.lines.begin(), drawing.lines.end(), IsDiagonal), 0);

    // Not running (no points of a test in progress): nothing is scanned.
    s.m_bTestRunning = 0;
    CMetafileRecorder again;
    s.PaintGraph(&again.Dc());
    EXPECT_TRUE(s.m_rcMarker[0][1].IsRectEmpty());
}

TEST_F(LeakageGraph, LayoutMarginsAndTheSmallestPlot)
{
    struct Case {
        int cx, cy;
        wchar_t chMethod;
        int bZones;
        CRect rc;
    };
    const Case cases[] = {
        {1000, 800, L'A', 0, CRect(140, 40, 580, 592)},
        {1000, 800, L'M', 0, CRect(140, 40, 650, 632)},
        {1000, 800, L'S', 1, CRect(140, 160, 580, 592)},
        {1000, 800, L'M', 1, CRect(140, 40, 650, 632)},   // no zone room for a manual test
        {111, 400, L'A', 0, CRect(15, 20, 65, 296)},      // 50 wide
        {110, 400, L'A', 0, CRect(0, 0, 0, 0)},           // 49 wide
        {1000, 70, L'A', 0, CRect(0, 0, 0, 0)},           // 49 high
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTestGraph1::ComputeGraphLayout(c.cx, c.cy, c.chMethod, c.bZones).rcPlot, c.rc)
            << c.cx << "x" << c.cy << " " << static_cast<char>(c.chMethod);

    // An empty plot paints nothing; a larger one paints the graph again.
    CTestGraph1& s = *m_pStore;
    s.m_AxisPmin[0] = 4, s.m_AxisPmax[0] = 70, s.m_AxisQmin[0] = 100, s.m_AxisQmax[0] = 6000;
    s.m_rcPlot = CTestGraph1::ComputeGraphLayout(110, 400, L'A', 0).rcPlot;
    CMetafileRecorder small;
    s.PaintGraph(&small.Dc());
    const CRecordedDrawing none = small.Finish();
    EXPECT_TRUE(none.lines.empty() && none.texts.empty() && none.rectangles.empty());
    s.m_rcPlot = CTestGraph1::ComputeGraphLayout(1000, 800, L'A', 0).rcPlot;
    CMetafileRecorder large;
    s.PaintGraph(&large.Dc());
    EXPECT_NE(large.Finish().Find(L"Building Pressure (Pa)"), nullptr);
}

TEST_F(LeakageGraph, LiveMarkerTwiceLeavesTheBitmapUnchanged)
{
    CTestGraph1& s = *m_pStore;
    CPixels pixels(640, 480);
    s.DrawLeakageGraph(&pixels.Dc(), kPlot, 1, 4, 70, 100, 6000);
    const std::vector<DWORD> before = pixels.Snapshot();
    s.DrawLiveMarker(&pixels.Dc(), -22.0, 1500.0);
    const std::vector<DWORD> marked = pixels.Snapshot();
    // The outline of a 6 x 6 square: 24 pixels inverted, none twice.
    int nChanged = 0;
    for (size_t i = 0; i < before.size(); ++i)
        nChanged += marked[i] != before[i] ? 1 : 0;
    EXPECT_EQ(nChanged, 24);
    const int x = ExpectedX(22, 4, 70), y = ExpectedY(1500, 100, 6000);
    EXPECT_EQ(marked[(y - 3) * 640 + x - 3], before[(y - 3) * 640 + x - 3] ^ 0x00FFFFFFu);
    s.DrawLiveMarker(&pixels.Dc(), -22.0, 1500.0);
    EXPECT_EQ(pixels.Snapshot(), before);

    // Outside the axes, without a drawn graph, or in large-meter mode: nothing.
    s.DrawLiveMarker(&pixels.Dc(), 80.0, 1500.0);
    s.DrawLiveMarker(&pixels.Dc(), 20.0, 7000.0);
    s.m_bLargeMeters = 1;
    s.DrawLiveMarker(&pixels.Dc(), 22.0, 1500.0);
    s.PlotLivePixel(&pixels.Dc(), 22.0, 1500.0);
    s.m_bLargeMeters = 0;
    s.m_bGraphDrawn = 0;
    s.DrawLiveMarker(&pixels.Dc(), 22.0, 1500.0);
    EXPECT_EQ(pixels.Snapshot(), before);

    // The live pixel is navy at the mapped point.
    s.PlotLivePixel(&pixels.Dc(), -22.0, 1500.0);
    EXPECT_EQ(pixels.Pixel(x, y), RGB(0, 0, 128));
}

TEST_F(LeakageGraph, ScreenshotOfBothDirectionsWithTwoTestsEach)
{
    CTestGraph1& s = *m_pStore;
    AddTest(0, 0.5, {{55.0, 2900.0}, {45.0, 2550.0}, {35.0, 2150.0}, {25.0, 1700.0}, {15.0, 1180.0}});
    AddTest(0, 0.2, {{52.0, 2750.0}, {42.0, 2400.0}, {32.0, 2000.0}, {22.0, 1550.0}, {12.0, 1030.0}});
    AddTest(1, -0.4, {{-58.0, 3300.0}, {-48.0, 2920.0}, {-38.0, 2480.0}, {-28.0, 2000.0}, {-18.0, 1480.0}});
    AddTest(1, -0.3, {{-54.0, 3150.0}, {-44.0, 2750.0}, {-34.0, 2300.0}, {-24.0, 1820.0}, {-14.0, 1280.0}});
    s.m_FitN[0] = 0.62;
    s.m_FitC[0] = 240.0;
    s.m_FitN[1] = 0.64;
    s.m_FitC[1] = 250.0;
    const double targets[] = {15, 25, 35, 45, 55, 0};
    std::copy(std::begin(targets), std::end(targets), s.m_Targets[0]);
    for (int d = 0; d < 2; ++d)
        s.m_AxisPmin[d] = 4, s.m_AxisPmax[d] = 70, s.m_AxisQmin[d] = 800, s.m_AxisQmax[d] = 4000;
    s.m_rcPlot = CTestGraph1::ComputeGraphLayout(1100, 800, L'A', 0).rcPlot;
    s.m_nGraphMargin[0] = 154;
    s.m_nGraphMargin[3] = 208;
    s.m_bCurveValid = 1;

    CPixels pixels(1100, 800);
    s.DrawLeakageGraph(&pixels.Dc(), s.m_rcPlot, 1, 4, 70, 800, 4000);
    for (int d = 0; d < 2; ++d) {
        s.DrawLeakageCurve(&pixels.Dc(), s.m_rcPlot, d);
        s.DrawDataPoints(&pixels.Dc(), s.m_rcPlot, d);
    }
    // Both tests of each direction drawn: red and green markers of both shapes.
    int nDrawn = 0;
    for (int d = 0; d < 2; ++d)
        for (int i = 0; i < s.m_StationCount[d]; ++i)
            nDrawn += s.m_rcMarker[d][i].IsRectEmpty() ? 0 : 1;
    EXPECT_EQ(nDrawn, 20);
    const CRect& rcGreen = s.m_rcMarker[1][8];
    EXPECT_EQ(pixels.Pixel(rcGreen.CenterPoint().x, rcGreen.CenterPoint().y), RGB(0, 255, 0));
    const std::wstring path = pixels.SavePng(L"leakage-graph-both-directions.png");
    if (!path.empty())
        std::wcout << L"screenshot: " << path << std::endl;
}
