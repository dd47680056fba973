// The print frame: page plans, the report commands' enabling, fonts,
// letterhead lines, the drawing routines, and the view's page header and
// print job on a metafile page.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "report/PrintFrame.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/MetafileRecorder.h"
#include "tests/TestSupport.h"

namespace {

TEST(PrintFramePlanTest, TestReportPages)
{
    struct Case {
        const char* name;
        int nRows;
        int nDeviations;
        int nStandard;
        int nCommentLines;
        int nPages;
        std::vector<int> commentPages;
        int bTwoPages;
    };
    const Case cases[] = {
        {"20 rows, 10 comment lines", 20, 0, 0, 10, 4, {10}, 0},
        {"30 rows stay on one page", 30, 0, 0, 10, 4, {10}, 0},
        {"31 rows with deviations", 25, 6, 0, 10, 5, {10}, 1},
        {"EN 13829 does not count deviations", 25, 6, 1, 10, 4, {10}, 0},
        {"31 data rows under EN 13829", 31, 0, 1, 10, 5, {10}, 1},
        {"no comments", 20, 0, 0, 0, 4, {0}, 0},
        {"48 comment lines", 20, 0, 0, 48, 4, {48}, 0},
        {"49 comment lines", 20, 0, 0, 49, 5, {48, 1}, 0},
        {"720 comment lines", 20, 0, 0, 720, 18, std::vector<int>(15, 48), 0},
    };
    for (const Case& c : cases) {
        CTestReportPlanInput input;
        input.nCompletedTests[0] = 1;
        input.nRowCount[0][0] = c.nRows;
        input.nDeviations[0][0] = c.nDeviations;
        input.nStandard = c.nStandard;
        input.nCommentLines = c.nCommentLines;
        const CTestReportPlan plan = PlanTestReport(input);
        EXPECT_EQ(plan.nPages, c.nPages) << c.name;
        EXPECT_EQ(plan.commentLinesOnPage, c.commentPages) << c.name;
        EXPECT_EQ(plan.bTestOnTwoPages[0][0], c.bTwoPages) << c.name;
        EXPECT_EQ(plan.nFirstCommentsPage, 3 + c.bTwoPages + 1) << c.name;
    }
}

TEST(PrintFramePlanTest, CommentsPastSevenHundredTwentyLinesAreNotDropped)
{
    CTestReportPlanInput input;
    input.nCompletedTests[0] = 1;
    input.nRowCount[0][0] = 10;
    input.nCommentLines = 721;
    const CTestReportPlan plan = PlanTestReport(input);
    ASSERT_EQ(plan.commentLinesOnPage.size(), 16u);
    EXPECT_EQ(plan.commentLinesOnPage.back(), 1);
    EXPECT_EQ(plan.nPages, 4 + 15);
    int nSum = 0;
    for (int n : plan.commentLinesOnPage)
        nSum += n;
    EXPECT_EQ(nSum, 721);
    // And far more: every line has a page.
    input.nCommentLines = 48 * 40 + 7;
    const CTestReportPlan big = PlanTestReport(input);
    EXPECT_EQ(big.commentLinesOnPage.size(), 41u);
    EXPECT_EQ(big.nPages, 3 + 41);
}

TEST(PrintFramePlanTest, TestsOfBothSlotsEachGetTheirPages)
{
    CTestReportPlanInput input;
    input.nCompletedTests[0] = 2;
    input.nCompletedTests[1] = 1;
    input.nRowCount[0][0] = 12;
    input.nRowCount[0][1] = 40;
    input.nRowCount[1][0] = 31;
    const CTestReportPlan plan = PlanTestReport(input);
    EXPECT_EQ(plan.bTestOnTwoPages[0][0], 0);
    EXPECT_EQ(plan.bTestOnTwoPages[0][1], 1);
    EXPECT_EQ(plan.bTestOnTwoPages[1][0], 1);
    // 2 + 3 tests + 2 second pages, then the comments page.
    EXPECT_EQ(plan.nFirstCommentsPage, 8);
    EXPECT_EQ(plan.nPages, 8);
}

TEST(PrintFramePlanTest, ZoneDataReportPages)
{
    struct Case {
        int nEntries, nTableLines, nPages;
    };
    const Case cases[] = {
        {12, 14, 2},   // r = 0: the table gets a page of its own
        {52, 14, 3},   // r = 40, then 0
        {41, 11, 3},   // r = 29, then -11: exactly 11 free rows are not enough
        {41, 10, 2},   // 11 free rows hold 10 lines
        {5, 14, 2},    // 7 free rows on page 1 do not hold 14 lines
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanZoneDataReport(c.nEntries, c.nTableLines), c.nPages) << c.nEntries << " " << c.nTableLines;
}

TEST(PrintFramePlanTest, ZoneTableLines)
{
    EXPECT_EQ(GetZoneReportTableLines(3, 0), 14);
    EXPECT_EQ(GetZoneReportTableLines(0, 0), 11);
    EXPECT_EQ(GetZoneReportTableLines(3, 1), 25);
}

TEST(PrintFrameCommandTest, NineCommandsByTheirThreeRules)
{
    const UINT kStandardIds[] = {ID_PRINT_TEST_REPORT, ID_PRINT_GRAPH, ID_PREVIEW_TEST_REPORT, ID_PREVIEW_GRAPH};
    const UINT kZoneIds[] = {ID_PRINT_ZONE_DATA_REPORT, ID_PREVIEW_ZONE_DATA_REPORT};
    const UINT kPdfIds[] = {ID_PDF_TEST_REPORT, ID_PDF_GRAPH};

    CReportCommandInput ready;
    ready.bTestOpen = 1;
    ready.nDirectionsWithData = 0;
    ready.bZonal = 1;
    ready.chMethod[0] = L'A';
    ready.chMethod[1] = L'M';
    ready.bPdfDriverAvailable = 1;

    struct Case {
        const char* name;
        CReportCommandInput input;
        bool bStandard, bZone, bPdf, bPdfZone;
    };
    std::vector<Case> cases;
    cases.push_back({"all hold", ready, true, true, true, true});
    CReportCommandInput in = ready;
    in.bTestOpen = 0;
    cases.push_back({"no test open", in, false, false, false, false});
    in = ready;
    in.nDirectionsWithData = -1;
    cases.push_back({"no completed tests", in, false, false, false, false});
    in = ready;
    in.bTestInProgress = 1;
    cases.push_back({"a test runs", in, false, false, false, false});
    in = ready;
    in.bZonal = 0;
    cases.push_back({"no zonal pressures", in, true, false, true, false});
    in = ready;
    in.nDirectionsWithData = 1;   // slot 1 is manual
    cases.push_back({"manual slot", in, true, false, true, false});
    in = ready;
    in.nDirectionsWithData = 2;
    in.nCurrentDirection = 1;
    cases.push_back({"both slots, current manual", in, true, false, true, false});
    in.nCurrentDirection = 0;
    cases.push_back({"both slots, current automatic", in, true, true, true, true});
    in = ready;
    in.chMethod[0] = L'S';
    cases.push_back({"semi-automatic", in, true, true, true, true});
    in = ready;
    in.bPdfDriverAvailable = 0;
    cases.push_back({"no PDF driver", in, true, true, false, false});

    for (const Case& c : cases) {
        for (UINT nID : kStandardIds)
            EXPECT_EQ(IsReportCommandEnabled(nID, c.input), c.bStandard) << c.name << " " << nID;
        for (UINT nID : kZoneIds)
            EXPECT_EQ(IsReportCommandEnabled(nID, c.input), c.bZone) << c.name << " " << nID;
        for (UINT nID : kPdfIds)
            EXPECT_EQ(IsReportCommandEnabled(nID, c.input), c.bPdf) << c.name << " " << nID;
        EXPECT_EQ(IsReportCommandEnabled(ID_PDF_ZONE_DATA_REPORT, c.input), c.bPdfZone) << c.name;
    }
    EXPECT_FALSE(IsReportCommand(ID_FILE_PRINT));
    EXPECT_EQ(GetReportCommandType(ID_PREVIEW_ZONE_DATA_REPORT), kReportZoneData);
    EXPECT_EQ(GetReportCommandType(ID_PDF_GRAPH), kReportGraph);
    EXPECT_EQ(GetReportCommandAction(ID_PDF_TEST_REPORT), 3);
}

TEST(PrintFrameTextTest, FontsLinesAndLabels)
{
    EXPECT_EQ(GetBodyFontHeight(1, 1), -180);
    EXPECT_EQ(GetBodyFontHeight(0, 1), -200);
    EXPECT_EQ(GetBodyFontHeight(1, 0), -200);
    EXPECT_EQ(GetBodyFontHeight(1, 2), -200);

    EXPECT_EQ(GetLaterPageTitle(L"BUILDING LEAKAGE TEST", 2, 5), CString(L"BUILDING LEAKAGE TEST   Page 2 of 5"));
    EXPECT_EQ(CutLabelAfterColon(L"Volume: (m3)", L""), CString(L"Volume:"));
    EXPECT_EQ(CutLabelAfterColon(L"Volume: (m3)", L"12"), CString(L"Volume: (m3)"));
    EXPECT_EQ(CutLabelAfterColon(L"Volume", L""), CString(L"Volume"));
    EXPECT_EQ(GetTestDirectionText(L'D'), CString(L"Depressurization"));
    EXPECT_EQ(GetTestDirectionText(L'P'), CString(L"Pressurization"));
    EXPECT_TRUE(GetTestDirectionText(L'X').IsEmpty());
    EXPECT_EQ(MillimetresToTwips(216), 12245);

    struct Count {
        const wchar_t* text;
        int n;
    };
    const Count counts[] = {{L"", 0}, {L"one", 1}, {L"one\r\n", 1}, {L"one\r\ntwo", 2}, {L"a\fb\rc", 3},
                            {L"\r\n\r\n", 2}, {L"a\r", 1}};
    for (const Count& c : counts)
        EXPECT_EQ(CountTextLines(c.text), c.n) << CString(c.text).ToAnsi();
}

TEST(PrintFrameTextTest, LetterheadLines)
{
    CBusinessInfoDialog b;
    b.m_strBusinessName = L"Tight Homes";
    b.m_strAddress = L"1 Main St";
    b.m_strCity = L"Springfield";
    b.m_strState = L"OR";
    b.m_strZip = L"97477";
    b.m_strPhone = L"555-0100";
    EXPECT_EQ(GetLetterheadLines(b), (std::vector<CString>{L"Tight Homes", L"1 Main St", L"Springfield, OR 97477",
                                                           L"Phone: 555-0100"}));
    b.m_strPhone.Empty();
    b.m_strCity.Empty();
    b.m_strAddress.Empty();
    b.m_strWebsite = L"example.org";
    EXPECT_EQ(GetLetterheadLines(b), (std::vector<CString>{L"Tight Homes", L"", L" ", L"Website: example.org"}));
    b.m_strPhone = L"1";
    b.m_strFax = L"2";
    b.m_strEmail = L"a@b";
    const std::vector<CString> lines = GetLetterheadLines(b);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], CString(L"Phone: 1 Fax: 2"));
    EXPECT_EQ(lines[4], CString(L"Email: a@b   Website: example.org"));
}

TEST(PrintFrameDrawTest, RulePenLineTextAndDeviceRect)
{
    CMetafileRecorder recorder(MM_TWIPS);
    ASSERT_TRUE(recorder.IsReady());
    CFont font;
    ASSERT_TRUE(CreateReportFont(font, -200, FW_NORMAL, false));
    recorder.Dc().SelectObject(&font);
    PrintReportRule(&recorder.Dc(), 230, 720, -3000);
    DrawReportPenLine(&recorder.Dc(), 4, 0, 0, 100, 0);
    const CSize extent = PrintReportText(&recorder.Dc(), 5000, 720, -4000, L"Flow\tat 50 Pa");
    EXPECT_GT(extent.cx, 0);
    const CRecordedDrawing drawing = recorder.Finish();
    ASSERT_EQ(drawing.lines.size(), 2u);
    EXPECT_EQ(drawing.lines[0].from.x, 720);
    EXPECT_EQ(drawing.lines[0].from.y, -3115);
    EXPECT_EQ(drawing.lines[0].to.x, 720 + 10080);
    EXPECT_EQ(drawing.lines[0].to.y, -3115);
    EXPECT_EQ(drawing.lines[0].pen.lopnWidth.x, 23);
    EXPECT_EQ(drawing.lines[1].pen.lopnWidth.x, 1);   // never thinner than 1
    ASSERT_FALSE(drawing.texts.empty());
    EXPECT_EQ(drawing.texts[0].pt.x, 720);
    EXPECT_EQ(drawing.texts[0].font.lfHeight, -200);
    EXPECT_EQ(std::wstring(drawing.texts[0].font.lfFaceName), L"Arial");

    // 2550 pixels across 12245 twips; y changes sign.
    const CRect rc = TwipsToDevice(CRect(720, -612, 3960, -2592), 2550, 12245);
    EXPECT_EQ(rc, CRect(149, 127, 824, 539));
    EXPECT_EQ(TwipsToDevice(CRect(1, 1, 2, 2), 100, 0), CRect(0, 0, 0, 0));
}

// A view as the program builds it, printing through a metafile page that
// stands for a 216 x 279 mm sheet at 300 dpi.
class PrintFrameViewTest : public ::testing::Test, public CUiPrintAnswerer {
protected:
    class CAnswerer : public CTestAnswerer, public CUiPrintAnswerer {
    public:
        PrintFrameViewTest* pTest = nullptr;
        INT_PTR AnswerPrintDialog(const CUiPrintDialog& d, CUiPrintAnswer& a) override
        {
            return pTest->AnswerPrintDialog(d, a);
        }
    };
    void SetUp() override
    {
        m_savedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"printframeroot").c_str();
        m_pView = new CSimbrel1View;
        m_answerer.pTest = this;
        m_pOld = AfxSetUiAnswerer(&m_answerer);
        m_template.m_pJobSink = &m_sink;
        m_pView->m_pPrintInfoTemplate = &m_template;
        m_pRecorder = std::make_unique<CMetafileRecorder>();
    }
    void TearDown() override
    {
        AfxSetUiAnswerer(m_pOld);
        delete m_pView;
        g_strUserDataRoot = m_savedRoot;
    }
    INT_PTR AnswerPrintDialog(const CUiPrintDialog& d, CUiPrintAnswer& a) override
    {
        m_shown = d;
        a.hDC = m_pRecorder->Dc().GetSafeHdc();
        a.caps = CPageCaps{216, 279, 2550, 3300, 300, 300};
        a.nFromPage = m_nFrom;
        a.nToPage = m_nTo;
        return IDOK;
    }
    struct CSink : CPrintJobSink {
        int nPages = 0;
        int StartDoc(CDC*, const DOCINFOW*) override { return 1; }
        int StartPage(CDC*) override { return ++nPages; }
        int EndPage(CDC*) override { return 1; }
        int EndDoc(CDC*) override { return 1; }
        int AbortDoc(CDC*) override { return 1; }
    };

    CString m_savedRoot;
    CSimbrel1View* m_pView = nullptr;
    CAnswerer m_answerer;
    CUiAnswerer* m_pOld = nullptr;
    CSink m_sink;
    CPrintInfo m_template;
    std::unique_ptr<CMetafileRecorder> m_pRecorder;
    CUiPrintDialog m_shown{0, 0};
    UINT m_nFrom = 0, m_nTo = 0;
};

TEST_F(PrintFrameViewTest, PrintBeforeAnyReportGivesOneBlankPage)
{
    const int nLive = g_bLiveReadings;
    EXPECT_TRUE(m_pView->OnFilePrint());
    EXPECT_EQ(m_shown.nMaxPage, 1u);
    EXPECT_EQ(m_sink.nPages, 1);
    const CRecordedDrawing drawing = m_pRecorder->Finish();
    EXPECT_TRUE(drawing.texts.empty());
    EXPECT_TRUE(drawing.lines.empty());
    EXPECT_EQ(g_bLiveReadings, nLive);
}

TEST_F(PrintFrameViewTest, FirstPageHeaderWithoutLogoCentresTheLetterheadInTheFullColumn)
{
    m_pView->m_pBusinessInfo->m_strBusinessName = L"Tight Homes";
    m_pView->m_pBusinessInfo->m_strAddress = L"1 Main St";
    m_pView->m_nReportType = kReportTest;
    m_pView->m_nTotalPages = 4;
    CPrintInfo info;
    info.m_nCurPage = 1;
    info.m_PageCaps = CPageCaps{216, 279, 2550, 3300, 300, 300};
    m_pView->m_PageCaps = info.m_PageCaps;
    CDC& dc = m_pRecorder->Dc();
    dc.SetMapMode(MM_TWIPS);
    CFont title, text;
    CreateReportFont(title, kTitleFontHeight, FW_BOLD, false);
    CreateReportFont(text, kBodyFontHeight, FW_NORMAL, false);
    CFont* pOld = dc.SelectObject(&text);
    TEXTMETRICW tm{};
    dc.GetTextMetrics(&tm);
    const int h = tm.tmHeight + tm.tmExternalLeading;
    const CPoint pt = m_pView->PrintPageHeader(&dc, &info, IDS_REPORT_BUILDING_LEAKAGE_TEST, &title, &text, 720, -720);
    dc.SelectObject(pOld);
    const CRecordedDrawing drawing = m_pRecorder->Finish();

    const int T = -12245 / 20;
    const CRecordedText* pTitle = drawing.Find(L"BUILDING LEAKAGE TEST");
    ASSERT_NE(pTitle, nullptr);
    EXPECT_EQ(pTitle->font.lfHeight, -220);
    EXPECT_EQ(pTitle->font.lfWeight, 700);
    EXPECT_EQ(pTitle->pt.y, T);
    const CRecordedText* pName = drawing.Find(L"Tight Homes");
    ASSERT_NE(pName, nullptr);
    EXPECT_EQ(pName->font.lfWeight, 400);
    // Centred in 720..10800: the text's middle lies at 5760.
    dc.Attach(::CreateCompatibleDC(nullptr));
    dc.SetMapMode(MM_TWIPS);
    dc.SelectObject(&text);
    const int nWidth = dc.GetTextExtent(CString(L"Tight Homes")).cx;
    ::DeleteDC(dc.Detach());
    EXPECT_NEAR(pName->pt.x + nWidth / 2, 720 + 10080 / 2, 30);
    // The rule lies at least 180 below the logo box.
    ASSERT_EQ(drawing.lines.size(), 1u);
    EXPECT_LE(drawing.lines[0].from.y, T - 1980 - 180 - h / 2);
    EXPECT_EQ(drawing.lines[0].from.x, 720);
    EXPECT_EQ(pt.x, 720);
    EXPECT_EQ(pt.y, T - 1980 - 180 - h);
}

TEST_F(PrintFrameViewTest, LaterPagesCarryTheTitleAndPageCount)
{
    m_pView->m_nReportType = kReportZoneData;
    m_pView->m_nTotalPages = 5;
    CPrintInfo info;
    info.m_nCurPage = 2;
    CDC& dc = m_pRecorder->Dc();
    dc.SetMapMode(MM_TWIPS);
    CFont title, text;
    CreateReportFont(title, kTitleFontHeight, FW_BOLD, false);
    CreateReportFont(text, kBodyFontHeight, FW_NORMAL, false);
    m_pView->PrintPageHeader(&dc, &info, IDS_REPORT_ZONE_DATA_REPORT, &title, &text, 720, -720);
    const CRecordedDrawing drawing = m_pRecorder->Finish();
    const CRecordedText* pHead = drawing.Find(L"Zone Data Report   Page 2 of 5");
    ASSERT_NE(pHead, nullptr);
    EXPECT_EQ(pHead->pt.y, -720);
    EXPECT_EQ(pHead->font.lfHeight, -220);
    EXPECT_EQ(drawing.lines.size(), 1u);   // the zone report's rule
}

TEST_F(PrintFrameViewTest, TestReportPlanFromTheViewsRecords)
{
    m_pView->m_bTestOpen = 1;
    CTestGraph1* g = m_pView->m_pTestGraph;
    g->m_CompletedTests[0] = 1;
    g->m_StationCount[0] = 20;
    g->m_TestRowCount[0][0] = 20;
    m_pView->m_pComments->m_strComments = L"one\r\ntwo\r\n";
    m_pView->m_nReportType = kReportTest;
    CPrintInfo info;
    m_nFrom = 0;
    EXPECT_TRUE(m_pView->OnPreparePrinting(&info));
    EXPECT_EQ(m_shown.nMaxPage, 4u);
    EXPECT_EQ(m_pView->m_nTotalPages, 4);
    EXPECT_EQ(m_pView->m_nFirstCommentsPage, 4);
    EXPECT_EQ(m_pView->m_nCommentLinesOnPage, std::vector<int>{2});
    EXPECT_EQ(info.GetMinPage(), 1u);
    EXPECT_EQ(info.GetMaxPage(), 4u);
}

}  // namespace
