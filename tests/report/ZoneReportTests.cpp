// The zone data report: which rows each page holds (and that the pages
// agree with the page plan), the ZPD input table's figures, and the pages
// drawn into a metafile page and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "report/PrintFrame.h"
#include "report/ZoneReport.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/MetafileRecorder.h"
#include "tests/TestSupport.h"

namespace {

TEST(ZoneReportPlanTest, PagesHoldTheRowsTheCasesName)
{
    struct Case {
        int nPage, nEntries, nLines;
        CZoneReportPage want;
    };
    const Case cases[] = {
        {1, 12, 14, {0, 12, 1, 0}},  {2, 12, 14, {12, 0, 0, 1}},   // table alone on page 2
        {1, 52, 14, {0, 12, 1, 0}},  {2, 52, 14, {12, 40, 1, 0}},  // a full page leaves the table
        {3, 52, 14, {52, 0, 0, 1}},  {2, 30, 11, {12, 18, 1, 1}},  // 11 < 22: under the rows
        {2, 30, 22, {12, 18, 1, 0}}, {3, 30, 22, {52, 0, 0, 1}},   // 22 lines do not fit in 22
        {1, 5, 11, {0, 5, 1, 0}},    {1, 0, 11, {0, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        const CZoneReportPage p = GetZoneReportPage(c.nPage, c.nEntries, c.nLines);
        EXPECT_TRUE(p.nFirstRow == c.want.nFirstRow && p.nRows == c.want.nRows && p.bDataTable == c.want.bDataTable &&
                    p.bZpdTable == c.want.bZpdTable)
            << "page " << c.nPage << " of " << c.nEntries << " entries, " << c.nLines << " lines: first "
            << p.nFirstRow << " rows " << p.nRows << " table " << p.bZpdTable;
    }
}

// Whatever the entries and table size, the plan's pages draw every row
// once and the ZPD input table once, on the last of them.
TEST(ZoneReportPlanTest, PagesAgreeWithThePagePlan)
{
    for (int nLines : {11, 14, 17, 19, 25, 31, 39}) {
        // From one entry: without any the report is not offered.
        for (int n = 1; n <= 2 * CTestGraph1::kMaxEntries; ++n) {
            const int nPages = PlanZoneDataReport(n, nLines);
            int nRowsDrawn = 0, nTables = 0, nTablePage = 0;
            for (int p = 1; p <= nPages; ++p) {
                const CZoneReportPage page = GetZoneReportPage(p, n, nLines);
                if (page.nRows > 0) {
                    EXPECT_EQ(page.nFirstRow, nRowsDrawn) << "page " << p;
                }
                nRowsDrawn += page.nRows;
                if (page.bZpdTable) {
                    ++nTables;
                    nTablePage = p;
                }
            }
            ASSERT_EQ(nRowsDrawn, n) << nLines << " lines";
            ASSERT_EQ(nTables, 1) << n << " entries, " << nLines << " lines";
            ASSERT_EQ(nTablePage, nPages) << n << " entries, " << nLines << " lines";
        }
    }
}

TEST(ZoneReportTextTest, ZoneToOutsideSignUnderDepressurization)
{
    struct Case {
        const wchar_t* in;
        wchar_t chDirection;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"12.3", L'D', L"-12.3"}, {L"-4.0", L'D', L"4.0"}, {L"0.00", L'D', L"-0.00"},
        {L" -4.0", L'D', L" 4.0"},  // the sign goes, not a leading blank
        {L"12.3", L'P', L"12.3"},  {L"-4.0", L'P', L"-4.0"}, {L"", L'D', L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TurnZoneToOutsideSign(c.in, c.chDirection), CString(c.out)) << c.in << " " << char(c.chDirection);
}

TEST(ZoneReportTextTest, BaselineMeanAndLargestRing)
{
    // A test store as the view has one; only its arrays are used.
    auto pStore = std::make_unique<CTestGraph1>(nullptr);
    CTestGraph1& g = *pStore;
    const int rings[] = {-1, 3, 2, 4, -1, 2};
    const double dev[] = {0.4, 9, 9, 9, 0.2, 9};
    for (int e = 0; e < 6; ++e) {
        g.m_Ring[1][e] = rings[e];
        g.m_PStdDev[1][e] = dev[e];
    }
    g.m_StationCount[1] = 6;
    EXPECT_NEAR(GetAverageBaselineMarkerValue(g, 1), 0.3, 1e-12);
    EXPECT_EQ(GetLargestRing(g, 1), 2);
    // A slot without markers has no mean: the line says so instead of 0/0.
    EXPECT_TRUE(std::isnan(GetAverageBaselineMarkerValue(g, 0)));
    EXPECT_EQ(FormatBaselineValue(GetAverageBaselineMarkerValue(g, 0), L"Pa", L"n/a"), CString(L"   n/a"));
    EXPECT_EQ(FormatBaselineValue(0.3, L"Pa", L"n/a"), CString(L"   0.30 Pa"));
    EXPECT_EQ(GetLargestRing(g, 0), -1);

    const CString strOpen = L"Open", strRing = L"Ring";
    EXPECT_EQ(FormatLargestRingText(0, L'3', strOpen, strRing), strOpen);
    EXPECT_EQ(FormatLargestRingText(2, L'3', strOpen, strRing), CString(L"Ring B"));
    EXPECT_EQ(FormatLargestRingText(2, L'5', strOpen, strRing), CString(L"Ring B"));
    EXPECT_EQ(FormatLargestRingText(2, L'A', strOpen, strRing), CString(L"Ring 2"));
    EXPECT_EQ(FormatLargestRingText(-1, L'3', strOpen, strRing), CString());
    g.m_Ring[1][3] = 0;
    EXPECT_EQ(GetLargestRing(g, 1), 0);
}

// The view with zonal tests, drawing one zone report page at a time into a
// metafile in twips.
class ZoneReportPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedRoot = g_strUserDataRoot;
        m_nSavedDirection = g_nCurrentDirection;
        g_strUserDataRoot = MakeTempFolder(L"zonereportroot").c_str();
        m_pView = new CSimbrel1View;
        m_pView->m_PageCaps = CPageCaps{216, 279, 2550, 3300, 300, 300};
        CTestSettingsDialog& s = *m_pView->m_pSettings;
        s.m_chDirectionLetter[0] = L'P';
        s.m_chDirectionLetter[1] = L'D';
        s.m_chMethodLetter[0] = s.m_chMethodLetter[1] = L'A';
        s.m_bZonalActive = 1;
        for (int d = 0; d < 2; ++d) {
            for (int z = 3; z <= 8; ++z) {
                s.m_strZoneName[d][z] = CString::FormatText(L"Zone%d", z);
                s.m_nZoneActive[d][z] = 0;
            }
            // Zone 4 off: zone 5's column closes up to the left.
            s.m_nZoneActive[d][3] = s.m_nZoneActive[d][5] = 1;
        }
        m_pView->m_strRunningHead = L"Date of Test: 1  Test File: x";
        CreateReportFont(m_bold, kBodyFontHeight, FW_BOLD, false);
        CreateReportFont(m_regular, kBodyFontHeight, FW_NORMAL, false);
    }
    void TearDown() override
    {
        delete m_pView;
        g_strUserDataRoot = m_savedRoot;
        g_nCurrentDirection = m_nSavedDirection;
    }
    // n entries into slot d: markers at both ends, building pressure
    // 100 d + e + 0.25 so that every entry is told apart by its text.
    void AddEntries(int d, int n, int nRing = 2)
    {
        CTestGraph1& g = *m_pView->m_pTestGraph;
        for (int e = 0; e < n; ++e) {
            const bool bMarker = e == 0 || e == n - 1;
            g.m_Ring[d][e] = bMarker ? -1 : nRing;
            g.m_PStdDev[d][e] = bMarker ? 0.5 : 3.0;
            g.m_Pavg[d][e] = 100.0 * d + e + 0.25;
            g.m_ZonePavg[d][0][e] = 0.5 * e;
            g.m_ZonePavg[d][2][e] = 0.1 * e + 1000.0;
            g.m_Qavg[d][e] = bMarker ? 0.0 : 500.0 + e;
        }
        g.m_StationCount[d] = n;
        g.m_CompletedTests[d] = 1;
        g.m_TestRowCount[d][0] = n;
        g.m_FlowFactor[d][0] = 1.0;
    }
    CRecordedDrawing DrawPage(int nPage)
    {
        CMetafileRecorder recorder(MM_TWIPS);
        CDC& dc = recorder.Dc();
        dc.m_bPrinting = true;
        CPrintInfo info;
        info.m_nCurPage = static_cast<UINT>(nPage);
        CFont* pOld = dc.SelectObject(&m_bold);
        m_pView->ComposeZoneDataReportPage(&dc, &info, &m_bold, &m_regular, kReportOriginX, -3600);
        dc.SelectObject(pOld);
        return recorder.Finish();
    }
    // The building pressures of the data rows, top to bottom.
    static std::vector<std::wstring> DataRows(const CRecordedDrawing& page)
    {
        std::vector<std::pair<LONG, std::wstring>> rows;
        for (const CRecordedText& t : page.texts)
            if (t.text.size() > 3 && t.text.compare(t.text.size() - 3, 3, L".25") == 0)
                rows.emplace_back(t.pt.y, t.text);
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<std::wstring> texts;
        for (const auto& r : rows)
            texts.push_back(r.second);
        return texts;
    }
    static std::vector<std::wstring> Expected(int nBase, int nFirst, int nCount)
    {
        std::vector<std::wstring> texts;
        for (int e = nFirst; e < nFirst + nCount; ++e)
            texts.push_back(CString::FormatText(L"%3.2f", nBase + e + 0.25).GetString());
        return texts;
    }

    CString m_savedRoot;
    int m_nSavedDirection = 0;
    CSimbrel1View* m_pView = nullptr;
    CFont m_bold, m_regular;
};

TEST_F(ZoneReportPageTest, TwelveEntriesThenTheTableAlone)
{
    g_nCurrentDirection = 0;
    AddEntries(0, 12);
    const CRecordedDrawing p1 = DrawPage(1);
    EXPECT_EQ(DataRows(p1), Expected(0, 0, 12));
    EXPECT_NE(p1.Find(L"Date of Test: 1  Test File: x"), nullptr);
    EXPECT_EQ(p1.AllText().find(L"ZPD Input Table"), std::wstring::npos);
    // Zone table: a row per active zone, nothing of the inactive one.
    EXPECT_NE(p1.Find(L"Zone3-P3"), nullptr);
    EXPECT_EQ(p1.AllText().find(L"Zone4-P4"), std::wstring::npos);
    // Data columns close up: zone 5's pressures in column 3, centred on 4320.
    const CRecordedText* pZone5 = p1.Find(L"1001.10");   // entry 11: 0.1 x 11 + 1000
    ASSERT_NE(pZone5, nullptr);
    const CRecordedText* pZone3 = p1.Find(L"5.50");      // entry 11: 0.5 x 11
    ASSERT_NE(pZone3, nullptr);
    EXPECT_LT(pZone3->pt.x, 2880 + 1440);
    EXPECT_GT(pZone3->pt.x, 2880 - 1440);
    EXPECT_GT(pZone5->pt.x, 4320 - 1440);
    EXPECT_LT(pZone5->pt.x, 4320 + 1440);
    // The zone table starts at -7800 whatever the header took.
    const CRecordedText* pHeading = p1.Find(L"Zone");
    ASSERT_NE(pHeading, nullptr);
    EXPECT_LT(pHeading->pt.y, -7800);
    EXPECT_GT(pHeading->pt.y, -7800 - 2000);

    const CRecordedDrawing p2 = DrawPage(2);
    EXPECT_TRUE(DataRows(p2).empty());
    EXPECT_NE(p2.Find(L"ZPD Input Table"), nullptr);
    EXPECT_EQ(p2.AllText().find(L"Depressurization"), std::wstring::npos);
    EXPECT_EQ(PlanZoneDataReport(12, m_pView->CountZoneReportRows(0)), 2);
}

TEST_F(ZoneReportPageTest, FiftyTwoEntriesFillPageTwoAndPushTheTable)
{
    g_nCurrentDirection = 0;
    AddEntries(0, 52);
    EXPECT_EQ(DataRows(DrawPage(1)), Expected(0, 0, 12));
    const CRecordedDrawing p2 = DrawPage(2);
    EXPECT_EQ(DataRows(p2), Expected(0, 12, 40));
    EXPECT_EQ(p2.AllText().find(L"ZPD Input Table"), std::wstring::npos);
    const CRecordedDrawing p3 = DrawPage(3);
    EXPECT_TRUE(DataRows(p3).empty());
    EXPECT_NE(p3.Find(L"ZPD Input Table"), nullptr);
}

TEST_F(ZoneReportPageTest, ThirtyEntriesWithAnElevenLineTableShareThePage)
{
    g_nCurrentDirection = 0;
    for (int z = 3; z <= 8; ++z)
        m_pView->m_pSettings->m_nZoneActive[0][z] = 0;
    AddEntries(0, 30);
    ASSERT_EQ(m_pView->CountZoneReportRows(0), 11);
    const CRecordedDrawing p2 = DrawPage(2);
    EXPECT_EQ(DataRows(p2), Expected(0, 12, 18));
    const CRecordedText* pTable = p2.Find(L"ZPD Input Table");
    ASSERT_NE(pTable, nullptr);
    // Under the last row.
    const CRecordedText* pLast = p2.Find(Expected(0, 29, 1)[0]);
    ASSERT_NE(pLast, nullptr);
    EXPECT_LT(pTable->pt.y, pLast->pt.y);
}

TEST_F(ZoneReportPageTest, BothDirectionsSlotOneFirstAndTwoIndentedBlocks)
{
    g_nCurrentDirection = 0;
    AddEntries(1, 10, 0);
    AddEntries(0, 5, 3);
    m_pView->m_pEquipment->m_chFanCode = L'3';
    std::vector<std::wstring> want = Expected(100, 0, 10);
    const std::vector<std::wstring> slot0 = Expected(0, 0, 5);
    want.insert(want.end(), slot0.begin(), slot0.end());
    EXPECT_EQ(DataRows(DrawPage(1)), std::vector<std::wstring>(want.begin(), want.begin() + 12));
    // Page 1 fitted the zones; the texts each slot's fit left for the table:
    m_pView->m_pZoneData->m_strReportText[1][0] = L"12.3";   // zone 3, depressurization
    m_pView->m_pZoneData->m_strReportText[0][0] = L"-4.0";   // zone 3, pressurization
    const CRecordedDrawing p2 = DrawPage(2);
    EXPECT_EQ(DataRows(p2), std::vector<std::wstring>(want.begin() + 12, want.end()));

    const CRecordedText* pDep = p2.Find(L"Depressurization");
    const CRecordedText* pPre = p2.Find(L"Pressurization");
    ASSERT_TRUE(pDep != nullptr && pPre != nullptr);
    EXPECT_GT(pDep->pt.y, pPre->pt.y);
    // Slot 1 is 'D': 12.3 turns to -12.3; slot 0 is 'P': -4.0 stays.
    const CRecordedText* pTurned = p2.Find(L"-12.3");
    const CRecordedText* pKept = p2.Find(L"-4.0");
    ASSERT_TRUE(pTurned != nullptr && pKept != nullptr);
    EXPECT_GT(pTurned->pt.y, pPre->pt.y);
    EXPECT_LT(pKept->pt.y, pPre->pt.y);
    // Block bodies indented by 1000; largest ring: slot 1 open, slot 0 "Ring C".
    const CRecordedText* pFlow = p2.Find(L"Blower Door Flow:");
    ASSERT_NE(pFlow, nullptr);
    EXPECT_EQ(pFlow->pt.x, 720 + 1000);
    EXPECT_NE(p2.Find(L"Open"), nullptr);
    EXPECT_NE(p2.Find(L"Ring C"), nullptr);
}

TEST_F(ZoneReportPageTest, SlotWithoutMarkersPrintsNotAvailable)
{
    g_nCurrentDirection = 0;
    AddEntries(0, 6);
    CTestGraph1& g = *m_pView->m_pTestGraph;
    g.m_Ring[0][0] = g.m_Ring[0][5] = 1;
    const CRecordedDrawing p2 = DrawPage(2);
    const std::wstring all = p2.AllText();
    EXPECT_NE(all.find(L"Building Baseline Standard Deviation:   n/a"), std::wstring::npos) << std::string(all.begin(), all.end());
    EXPECT_EQ(all.find(L"nan"), std::wstring::npos);
    EXPECT_NE(p2.Find(L"Ring A"), nullptr);
}

// The chart takes the same share of the page at 300 and at 600 dpi.
TEST_F(ZoneReportPageTest, ChartAtTheSamePlaceAtAnyResolution)
{
    g_nCurrentDirection = 0;
    AddEntries(0, 12);
    double dLeft[2] = {}, dTop[2] = {};
    const CPageCaps caps[2] = {{216, 279, 2550, 3300, 300, 300}, {216, 279, 5100, 6600, 600, 600}};
    for (int i = 0; i < 2; ++i) {
        m_pView->m_PageCaps = caps[i];
        const CRecordedDrawing p1 = DrawPage(1);
        LONG nLeft = LONG_MAX, nTop = LONG_MAX;
        // The chart is the only drawing in positive coordinates (pixels, y down).
        for (const CRecordedLine& l : p1.lines)
            if (l.from.y > 0 && l.to.y > 0) {
                nLeft = std::min({nLeft, l.from.x, l.to.x});
                nTop = std::min({nTop, l.from.y, l.to.y});
            }
        ASSERT_NE(nLeft, LONG_MAX) << "no chart lines at " << caps[i].nLogPixelsX << " dpi";
        dLeft[i] = nLeft / static_cast<double>(caps[i].nHorzRes);
        dTop[i] = nTop / static_cast<double>(caps[i].nHorzRes);
    }
    EXPECT_NEAR(dLeft[0], dLeft[1], 0.002);
    EXPECT_NEAR(dTop[0], dTop[1], 0.002);
    EXPECT_NEAR(dLeft[0], 0.18, 0.02);
    EXPECT_NEAR(dTop[0], 0.32, 0.02);
}

}  // namespace

// A preview that cannot start (here: a view with no frame) says so and
// leaves no preview flag set behind it.
TEST(PreviewStartTest, FailedStartClearsThePreviewFlag)
{
    const CString savedRoot = g_strUserDataRoot;
    g_strUserDataRoot = MakeTempFolder(L"previewfail").c_str();
    {
        CSimbrel1View view;
        CTestAnswerer answerer;
        CScopedAnswerer scoped(answerer);
        answerer.ReplyToMessage(IDOK, L"Command failed.");
        view.m_nReportType = kReportGraph;
        view.StartPrintPreview();
        EXPECT_EQ(view.m_bPreviewShowing, 0);
        EXPECT_EQ(view.m_bPreviewJustStarted, 1);
        EXPECT_TRUE(answerer.AllRepliesUsed());
    }
    g_strUserDataRoot = savedRoot;
}
