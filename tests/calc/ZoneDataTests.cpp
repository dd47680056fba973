// The zone data page and its fit: the signs of every direction and reference
// side, which slot's readings the page shows (alone or both together), the
// Graphed checks, rows without a fit, and the real page window: its
// controls, colours, painting without leaks, and a zone unchecked by a click.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/calc/ZoneTestSupport.h"

namespace {

struct RowTexts {
    std::wstring buildingToZone, zoneToOutside, error, ratio, ratioError, reference;
};

class ZoneDataTest : public testing::Test {
protected:
    ZoneDataTest() : m_view(L"zones") {}
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        Settings().SetFactoryDefaults();
        Store().ResetTestData();
    }
    void TearDown() override
    {
        if (Page().GetSafeHwnd() != nullptr)
            Page().DestroyWindow();
        g_nCurrentDirection = m_nSavedDirection;
    }

    CTestSettingsDialog& Settings() { return *m_view->m_pSettings; }
    CTestGraph1& Store() { return *m_view->m_pTestGraph; }
    CZoneDataDialog& Page() { return *m_view->m_pZoneData; }

    // Zone z of both slots, as the set-up dialog leaves them.
    void SetZone(int z, int bActive, int nReference, const wchar_t* pszName = nullptr)
    {
        for (int d = 0; d < 2; ++d) {
            Settings().m_nZoneActive[d][z] = bActive;
            Settings().m_nZoneReference[d][z] = nReference;
            if (pszName != nullptr)
                Settings().m_strZoneName[d][z] = pszName;
        }
    }
    // One completed test in slot d: building pressures and the readings of
    // each zone row (rows not given read 0).
    void SetSlot(int d, const std::vector<double>& p, const std::vector<std::vector<double>>& zones)
    {
        Store().m_CompletedTests[d] = p.empty() ? 0 : 1;
        Store().m_StationCount[d] = static_cast<int>(p.size());
        for (size_t e = 0; e < p.size(); ++e) {
            Store().m_Pavg[d][e] = p[e];
            for (size_t r = 0; r < zones.size(); ++r)
                Store().m_ZonePavg[d][r][e] = zones[r][e];
        }
    }
    RowTexts Row(int nRow)
    {
        const CZoneDataDialog& page = Page();
        return {page.GetBuildingToZoneText(nRow, 0).GetString(), page.GetZoneToOutsideText(nRow, 0).GetString(),
                page.GetPressureErrorText(nRow, 0).GetString(),  page.GetZoneRatioText(nRow, 0).GetString(),
                page.GetRatioErrorText(nRow, 0).GetString(),     page.GetReferenceText(nRow, 0).GetString()};
    }
    static void ExpectRow(const RowTexts& row, const RowTexts& expected)
    {
        EXPECT_EQ(row.buildingToZone, expected.buildingToZone);
        EXPECT_EQ(row.zoneToOutside, expected.zoneToOutside);
        EXPECT_EQ(row.error, expected.error);
        EXPECT_EQ(row.ratio, expected.ratio);
        EXPECT_EQ(row.ratioError, expected.ratioError);
        EXPECT_EQ(row.reference, expected.reference);
    }

    CTestView m_view;
    int m_nSavedDirection = 0;
};

std::vector<double> Scaled(const std::vector<double>& v, double k)
{
    std::vector<double> out;
    for (double x : v)
        out.push_back(k * x);
    return out;
}

}  // namespace

TEST(ZoneSignTest, ReadingsAreOrientedByDirectionLetterAndReferenceSide)
{
    struct Case {
        wchar_t chLetter;
        int nReference;
        double x, y;   // for P = -50 or 50 and Z = 20
    };
    // P = 50, Z = 20 in every case; 'D' turns the building pressure, and the
    // zone pressure is turned once for 'D' and once for an inside reference.
    const Case cases[] = {
        {L'P', 0, 50, 20},  {L'P', 1, 50, -20}, {L'D', 0, -50, -20}, {L'D', 1, -50, 20},
        {L'A', 0, 50, 20},   // any letter but 'D' counts as pressurization
        {L'D', 7, -50, -20}, // a reference other than 0 or 1 reads as outside
        {L'P', -1, 50, 20},
    };
    for (const Case& c : cases) {
        double x = 0.0;
        double y = 0.0;
        CZoneDataDialog::OrientReading(c.chLetter, c.nReference, 50.0, 20.0, x, y);
        EXPECT_EQ(x, c.x) << static_cast<char>(c.chLetter) << " reference " << c.nReference;
        EXPECT_EQ(y, c.y) << static_cast<char>(c.chLetter) << " reference " << c.nReference;
    }
}

// The worked example in every direction and reference side: 50 Pa across
// the building divide into 30 Pa to the zone and 20 Pa to the outside.
TEST_F(ZoneDataTest, TheWorkedExampleGivesTheSameRowForEveryDirectionAndSide)
{
    struct Case {
        const char* name;
        int nSlot;
        int nReference;
        double dBuildingSign;
        double dZoneAt50;   // gauge reading at 50 Pa across the building
        const wchar_t* reference;
    };
    const Case cases[] = {
        {"depressurization, outside", 1, 0, -1, -20, L"out"},
        {"depressurization, inside", 1, 1, -1, 30, L"in"},
        {"pressurization, outside", 0, 0, 1, 20, L"out"},
        {"pressurization, inside", 0, 1, 1, -30, L"in"},
        {"depressurization, a damaged reference 7", 1, 7, -1, -20, L"out"},
    };
    const std::vector<double> steps = {0, 10, 25, 40, 50};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store().ResetTestData();
        g_nCurrentDirection = c.nSlot;
        SetZone(3, 1, c.nReference);
        SetSlot(c.nSlot, Scaled(steps, c.dBuildingSign), {Scaled(steps, c.dZoneAt50 / 50.0)});
        Page().UpdateZoneData(0);
        ExpectRow(Row(0), {L"30.00", L"20.00", L"0.00", L"0.400", L"0.000", c.reference});
    }
}

// Which readings the page shows: the current slot alone, or both slots in
// one fit while the report keeps each slot's own zone-to-outside pressure.
TEST_F(ZoneDataTest, ShownDataFollowTheSlotsThatHoldTests)
{
    const std::vector<double> steps = {10, 20, 30, 40, 50};
    struct Case {
        const char* name;
        int nCurrent;
        int nSlot0Points, nSlot1Points;   // slot 0: ratio 0.4, pressurization; slot 1: 0.6, depressurization
        const wchar_t* zoneToOutside;
        const wchar_t* report0;
        const wchar_t* report1;
        int nChartPoints;
    };
    const Case cases[] = {
        {"one slot, the current one", 1, 0, 5, L"30.00", L"keep", L"keep", 5},
        {"only the other slot: combined with slot 0 empty", 0, 0, 5, L"30.00", L"0.00", L"30.00", 5},
        {"both slots: one fit over both", 0, 5, 5, L"25.00", L"20.00", L"30.00", 10},
        {"both slots full: 256 readings per zone", 1, 128, 128, L"25.00", L"20.00", L"30.00", 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store().ResetTestData();
        g_nCurrentDirection = c.nCurrent;
        SetZone(3, 1, 0);
        std::vector<double> p0;
        std::vector<double> p1;
        for (int i = 0; i < c.nSlot0Points; ++i)
            p0.push_back(steps[i % 5]);
        for (int i = 0; i < c.nSlot1Points; ++i)
            p1.push_back(steps[i % 5]);
        SetSlot(0, p0, {Scaled(p0, 0.4)});
        SetSlot(1, Scaled(p1, -1.0), {Scaled(p1, -0.6)});
        for (int d = 0; d < 2; ++d)
            Page().m_strReportText[d][0] = L"keep";
        Page().UpdateZoneData(0);
        EXPECT_EQ(Row(0).zoneToOutside, c.zoneToOutside);
        EXPECT_EQ(std::wstring(Page().m_strReportText[0][0].GetString()), c.report0);
        EXPECT_EQ(std::wstring(Page().m_strReportText[1][0].GetString()), c.report1);
        EXPECT_EQ(Page().m_Chart.m_nPointCount[0], c.nChartPoints);
        // Every reading the chart shows is oriented: positive building pressure.
        for (int j = 0; j < Page().m_Chart.m_nPointCount[0]; ++j)
            ASSERT_GT(Page().m_Chart.m_dX[0][j], 0.0) << j;
    }
}

// New Test, opening a file and a change of the set-up tick every active
// zone's Graphed box; otherwise the user's choice stays.
TEST_F(ZoneDataTest, ResettingTheGraphedChecksTicksEveryActiveZone)
{
    g_nCurrentDirection = 1;
    SetZone(3, 1, 0);
    SetZone(4, 1, 1);
    SetSlot(1, {-10, -30, -50}, {{-4, -12, -20}, {6, 18, 30}});
    struct Step {
        const char* name;
        int bReset;
        int bGraphedBefore;
        int bGraphedAfter;
    };
    const Step steps[] = {
        {"first update after construction", -1, 0, 1},
        {"the user's unticked box stays", 0, 0, 0},
        {"a reset ticks it again", 1, 0, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.bReset >= 0) {
            Page().m_bGraphed[1] = s.bGraphedBefore;
            Page().m_bResetGraphed = s.bReset;
        }
        Page().UpdateZoneData(0);
        EXPECT_EQ(Page().m_bGraphed[0], 1);
        EXPECT_EQ(Page().m_bGraphed[1], s.bGraphedAfter);
        EXPECT_EQ(Page().m_Chart.m_bVisible[1], s.bGraphedAfter);
        EXPECT_EQ(Page().m_bGraphed[2], 0);   // inactive zone
        EXPECT_EQ(Page().m_bResetGraphed, 0);
    }
}

// An active zone without readings has the line through the origin with
// slope 0; building pressures that are all equal give no fit: an empty row
// and no line, never "nan".
TEST_F(ZoneDataTest, RowsWithoutAFitAreEmptyAndDrawNoLine)
{
    g_nCurrentDirection = 1;
    SetZone(3, 1, 0);
    SetZone(4, 1, 1);
    Page().UpdateZoneData(0);
    ExpectRow(Row(0), {L"50.00", L"0.00", L"0.00", L"0.000", L"0.000", L"out"});
    ExpectRow(Row(1), {L"0.00", L"50.00", L"0.00", L"1.000", L"0.000", L"in"});

    SetSlot(1, {-50, -50, -50}, {{-20, -21, -19}, {30, 31, 29}});
    Page().UpdateZoneData(0);
    for (int nRow : {0, 1}) {
        const RowTexts row = Row(nRow);
        ExpectRow(row, {L"", L"", L"", L"", L"", nRow == 0 ? L"out" : L"in"});
    }
    CMetafileRecorder recorder;
    Page().m_Chart.m_bLegend = 1;
    Page().m_Chart.Draw(&recorder.Dc(), CRect(50, 30, 450, 330));
    const CRecordedDrawing rec = recorder.Finish();
    int nMarkers = 0;
    for (const CRecordedPolygon& p : rec.polygons)
        nMarkers += p.brush == CZoneDataDialog::GetZoneColor(0) ? 1 : 0;
    EXPECT_EQ(nMarkers, 3 + 1);   // the readings and the legend marker
    for (const CRecordedLine& l : rec.lines)
        EXPECT_NE(l.pen.lopnColor, CZoneDataDialog::GetZoneColor(0));
    for (const CRecordedText& t : rec.texts)
        EXPECT_EQ(t.text.find(L"nan"), std::wstring::npos);
}

// The page as a real window: the three zones of a depressurization test,
// P4 referenced inside; a click on P5's Graphed box hides its points, line
// and legend entry at once while its row stays, and a second click shows
// them again.
TEST_F(ZoneDataTest, ThePageShowsTheRowsAndAClickHidesAZoneFromTheChart)
{
    g_nCurrentDirection = 1;
    Settings().m_bZonalActive = 1;
    SetZone(3, 1, 0, L"Attic");
    SetZone(4, 1, 1, L"Garage");
    SetZone(5, 1, 0, L"Crawlspace");
    const std::vector<double> p = {-0.4, -15.2, -24.8, -35.1, -44.9, -55.3, 0.3};
    SetSlot(1, p, {{-0.1, -9.4, -15.1, -21.3, -27.2, -33.4, 0.1},
                   {0.2, 4.1, 6.8, 9.4, 12.2, 15.0, -0.1},
                   {-0.2, -3.0, -4.8, -7.1, -8.9, -11.2, 0.0}});
    Page().m_bResetGraphed = 1;
    ASSERT_TRUE(Page().CreateModeless());
    HWND h = Page().GetSafeHwnd();
    PumpPending();

    EXPECT_EQ(ItemText(h, IDC_ZONE_GRAPHED_P3), L"Attic-P3");
    EXPECT_EQ(ItemText(h, IDC_ZONE_GRAPHED_P3 + 1), L"Garage-P4");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_ZONE_GRAPHED_P3 + 2)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_ZONE_GRAPHED_P3 + 3)));
    EXPECT_EQ(ItemText(h, IDC_ZONE_REF_P3 + 1), L"in");
    EXPECT_EQ(ItemText(h, IDC_ZONE_TO_OUTSIDE_P3), Row(0).zoneToOutside);
    EXPECT_EQ(ItemText(h, IDC_ZONE_NEXT_LABEL), L"to Dev from Std");
    EXPECT_EQ(Page().GetChartRect(), ItemRect(h, IDC_ZONE_GRAPH_AREA));

    const CRect rcChart = Page().GetChartRect();
    const COLORREF crP5 = CZoneDataDialog::GetZoneColor(2);
    auto chartPixelsOfP5 = [&] {
        ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        CRect rcClient;
        ::GetClientRect(h, &rcClient);
        CCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(255, 255, 255));
        canvas.CopyFromWindow(h, true);
        return canvas.CountPixels(crP5, rcChart);
    };
    EXPECT_GT(chartPixelsOfP5(), 0);

    ClickItem(h, IDC_ZONE_GRAPHED_P3 + 2);
    ASSERT_TRUE(PumpUntil([&] { return Page().m_bGraphed[2] == 0; }));
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_ZONE_GRAPHED_P3 + 2), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(Page().m_Chart.m_bVisible[2], 0);
    EXPECT_EQ(chartPixelsOfP5(), 0);
    EXPECT_FALSE(ItemText(h, IDC_ZONE_TO_OUTSIDE_P3 + 2).empty());
    {
        CMetafileRecorder recorder;
        Page().m_Chart.m_bLegend = 1;
        Page().m_Chart.Draw(&recorder.Dc(), rcChart);
        const CRecordedDrawing rec = recorder.Finish();
        for (const CRecordedText& t : rec.texts)
            EXPECT_NE(t.text, L"Crawlspace-P5");
        for (const CRecordedPolygon& poly : rec.polygons)
            EXPECT_NE(poly.brush, crP5);
        for (const CRecordedLine& l : rec.lines)
            EXPECT_NE(l.pen.lopnColor, crP5);
    }
    SaveScreenshot(h, L"zone-page-depressurization.png");

    ClickItem(h, IDC_ZONE_GRAPHED_P3 + 2);
    ASSERT_TRUE(PumpUntil([&] { return Page().m_bGraphed[2] == 1; }));
    EXPECT_GT(chartPixelsOfP5(), 0);
}

// The colours mark the column the zone's gauge measures (by slot 0's
// reference side) and the check texts; the dialog's own brush is returned,
// none is made per call, and painting leaves no GDI object behind.
TEST_F(ZoneDataTest, ColoursAndPaintingMakeNoGdiObjects)
{
    g_nCurrentDirection = 1;
    SetZone(3, 1, 0);
    SetZone(4, 1, 1);
    SetSlot(1, {-10, -30, -50}, {{-4, -12, -20}, {6, 18, 30}});
    ASSERT_TRUE(Page().CreateModeless());
    HWND h = Page().GetSafeHwnd();
    PumpPending();

    struct Case {
        int nID;
        COLORREF crExpected;   // CLR_INVALID: the dialog's colour is left alone
    };
    const COLORREF crP3 = CZoneDataDialog::GetZoneColor(0);
    const COLORREF crP4 = CZoneDataDialog::GetZoneColor(1);
    const Case cases[] = {
        {IDC_ZONE_GRAPHED_P3, crP3},
        {IDC_ZONE_GRAPHED_P3 + 1, crP4},
        {IDC_ZONE_TO_OUTSIDE_P3, crP3},               // outside: zone to outside
        {IDC_ZONE_BUILDING_TO_ZONE_P3, CLR_INVALID},
        {IDC_ZONE_BUILDING_TO_ZONE_P3 + 1, crP4},     // inside: building to zone
        {IDC_ZONE_TO_OUTSIDE_P3 + 1, CLR_INVALID},
        {IDC_ZONE_RATIO_P3, CLR_INVALID},
    };
    const COLORREF crSentinel = RGB(1, 2, 3);
    CCanvas canvas(8, 8, RGB(255, 255, 255));
    const long nLive = CGdiObject::GetLiveObjectCount();
    HBRUSH hFirst = nullptr;
    for (int n = 0; n < 50; ++n) {
        for (const Case& c : cases) {
            ::SetTextColor(canvas.DC(), crSentinel);
            const auto hbr = reinterpret_cast<HBRUSH>(::SendMessageW(
                h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.DC().GetSafeHdc()),
                reinterpret_cast<LPARAM>(::GetDlgItem(h, c.nID))));
            hFirst = hFirst == nullptr ? hbr : hFirst;
            EXPECT_EQ(hbr, hFirst);
            const COLORREF crText = ::GetTextColor(canvas.DC());
            if (c.crExpected != CLR_INVALID) {
                EXPECT_EQ(crText, c.crExpected) << c.nID;
                EXPECT_EQ(::GetBkMode(canvas.DC()), TRANSPARENT) << c.nID;
            } else {
                EXPECT_NE(crText, crP3) << c.nID;
                EXPECT_NE(crText, crP4) << c.nID;
            }
        }
    }
    for (int n = 0; n < 40; ++n)
        ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(CGdiObject::GetLiveObjectCount(), nLive);
}

TEST_F(ZoneDataTest, TheNextLabelNamesTheInformationPageUnderEn13829)
{
    ASSERT_TRUE(Page().CreateModeless());
    HWND h = Page().GetSafeHwnd();
    for (int nStandard : {0, 1, 2, 3}) {
        Settings().m_nStandard = nStandard;
        Page().SetPageTexts();
        EXPECT_EQ(ItemText(h, IDC_ZONE_NEXT_LABEL), nStandard == 1 ? L"to Information" : L"to Dev from Std");
    }
    EXPECT_EQ(WindowText(h), L"Zone Data");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDOK)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDC_ZONE_GRAPH_AREA)));
}
