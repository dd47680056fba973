// The test report's pages and the graph report, drawn into a metafile page
// of 216 x 279 mm at 300 dpi and read back: which text, where, in which
// font and colour.
#include <gtest/gtest.h>
#include <gdiplus.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/TestResultsDialog.h"
#include "comm/DeviceInfoStrings.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "report/PrintFrame.h"
#include "report/TestReport.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/MetafileRecorder.h"
#include "tests/TestSupport.h"

namespace {

const CPageCaps kLetter300{216, 279, 2550, 3300, 300, 300};

// One closed test of slot d: opening marker, five points on Q = C P^n from
// the baseline, closing marker.
void AddTest(CTestGraph1& g, int d, double dBaseline, double dC, double dN, int nRing = 1)
{
    int i = g.m_StationCount[d];
    const int t = g.m_CompletedTests[d];
    auto Entry = [&](int nRingOf, double dP, double dQ) {
        g.m_Ring[d][i] = nRingOf;
        g.m_Pavg[d][i] = dP;
        g.m_Qavg[d][i] = dQ;
        g.m_Pfan[d][i] = nRingOf < 0 ? 0.0 : 100.0 + dP;
        ++i;
    };
    const double dSign = d == 1 ? -1.0 : 1.0;
    Entry(-1, dBaseline, 0.0);
    for (double dP : {60.0, 50.0, 40.0, 30.0, 20.0})
        Entry(nRing, dBaseline + dSign * dP, dC * std::pow(dP, dN));
    Entry(-1, dBaseline, 0.0);
    g.m_StationCount[d] = i;
    g.m_FlowFactor[d][t] = 1.0;
    g.m_TestRowCount[d][t] = 7;
    g.m_CompletedTests[d] = t + 1;
}

int MeasureWidth(CFont& font, const CString& strText)
{
    CDC dc;
    dc.Attach(::CreateCompatibleDC(nullptr));
    dc.SetMapMode(MM_TWIPS);
    CFont* pOld = dc.SelectObject(&font);
    const int n = dc.GetTextExtent(strText).cx;
    dc.SelectObject(pOld);
    ::DeleteDC(dc.Detach());
    return n;
}

int MeasureLineHeight(CFont& font)
{
    CDC dc;
    dc.Attach(::CreateCompatibleDC(nullptr));
    dc.SetMapMode(MM_TWIPS);
    CFont* pOld = dc.SelectObject(&font);
    const int n = GetLineHeight(&dc);
    dc.SelectObject(pOld);
    ::DeleteDC(dc.Detach());
    return n;
}

const CRecordedText* FindStarting(const CRecordedDrawing& drawing, const std::wstring& strStart)
{
    for (const CRecordedText& t : drawing.texts)
        if (t.text.rfind(strStart, 0) == 0)
            return &t;
    return nullptr;
}

std::vector<const CRecordedText*> FindAll(const CRecordedDrawing& drawing, const std::wstring& strText)
{
    std::vector<const CRecordedText*> found;
    for (const CRecordedText& t : drawing.texts)
        if (t.text == strText)
            found.push_back(&t);
    return found;
}

size_t CountOf(const std::wstring& strAll, const std::wstring& strPart)
{
    size_t n = 0;
    for (size_t at = strAll.find(strPart); at != std::wstring::npos; at = strAll.find(strPart, at + 1))
        ++n;
    return n;
}

// Saves a metafile page as a PNG in VUDADAR_SCREENS (nothing when unset).
void SavePagePng(HENHMETAFILE hMeta, const wchar_t* pszName)
{
    const wchar_t* pszFolder = _wgetenv(L"VUDADAR_SCREENS");
    if (pszFolder == nullptr || *pszFolder == 0 || hMeta == nullptr)
        return;
    std::wstring folder = pszFolder;
    if (folder[0] == L'/')
        folder = L"Z:" + folder;
    for (wchar_t& ch : folder)
        ch = ch == L'/' ? L'\\' : ch;
    if (folder.back() != L'\\')
        folder += L'\\';
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // 100 dpi: 850 x 1100 pixels for the letter page.
    const int cx = 850, cy = 1100;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    RECT rc{0, 0, cx, cy};
    ::FillRect(hMem, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::PlayEnhMetaFile(hMem, hMeta, &rc);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            Gdiplus::Bitmap image(hBitmap, nullptr);
            UINT nCount = 0, nSize = 0;
            Gdiplus::GetImageEncodersSize(&nCount, &nSize);
            std::vector<BYTE> buffer(nSize);
            auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
            if (nSize > 0 && Gdiplus::GetImageEncoders(nCount, nSize, pCodecs) == Gdiplus::Ok)
                for (UINT i = 0; i < nCount; ++i)
                    if (std::wstring(pCodecs[i].MimeType) == L"image/png")
                        image.Save((folder + pszName).c_str(), &pCodecs[i].Clsid, nullptr);
        }
        Gdiplus::GdiplusShutdown(token);
    }
    ::DeleteObject(hBitmap);
}

// A view as the program builds it, drawing one report page at a time into
// a metafile in twips.
class TestReportPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedRoot = g_strUserDataRoot;
        m_nSavedDirection = g_nCurrentDirection;
        g_strUserDataRoot = MakeTempFolder(L"testreportroot").c_str();
        m_pView = new CSimbrel1View;
        m_pView->m_PageCaps = kLetter300;
        m_pView->m_pSettings->m_chDirectionLetter[0] = L'P';
        m_pView->m_pSettings->m_chDirectionLetter[1] = L'D';
        m_pView->m_pSettings->m_chMethodLetter[0] = L'A';
        m_pView->m_pSettings->m_chMethodLetter[1] = L'A';
        m_pView->m_strRunningHead = L"Date of Test: 1  Test File: x";
        CreateReportFont(m_bold, kBodyFontHeight, FW_BOLD, false);
        CreateReportFont(m_regular, kBodyFontHeight, FW_NORMAL, false);
        CreateReportFont(m_underlined, kBodyFontHeight, FW_NORMAL, true);
        L = MeasureLineHeight(m_regular);
    }
    void TearDown() override
    {
        delete m_pView;
        g_strUserDataRoot = m_savedRoot;
        g_nCurrentDirection = m_nSavedDirection;
    }
    void Compose(CDC& dc, int nPage)
    {
        dc.m_bPrinting = true;
        dc.SetMapMode(MM_TWIPS);
        CPrintInfo info;
        info.m_nCurPage = static_cast<UINT>(nPage);
        CFont* pOld = dc.SelectObject(&m_bold);
        m_pView->ComposeTestReportPage(&dc, &info, &m_bold, &m_regular, &m_underlined, kReportOriginX, -3600);
        dc.SelectObject(pOld);
    }
    // The page read back; with a name also saved as a picture for a person.
    CRecordedDrawing DrawPage(int nPage, const wchar_t* pszPng = nullptr)
    {
        if (pszPng != nullptr) {
            CDC dc;
            dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
            Compose(dc, nPage);
            HENHMETAFILE h = ::CloseEnhMetaFile(dc.Detach());
            SavePagePng(h, pszPng);
            ::DeleteEnhMetaFile(h);
        }
        CMetafileRecorder recorder;
        Compose(recorder.Dc(), nPage);
        return recorder.Finish();
    }
    void OneDirectionResults()
    {
        CTestResultsDialog& r = *m_pView->m_pResults;
        r.m_strFlowAtRefValue = L"1234";
        r.m_strAchValue = L"5.67";
        r.m_strFlowPerFloorUnit = L"cfm/ft\u00B2 (Floor Area)";
        r.m_strFlowPerFloorValue = L"0.61";
        r.m_strFlowPerEnvelopeUnit = L"cfm/ft\u00B2 (Surface Area)";
        r.m_strFlowPerEnvelopeValue = L"0.33";
        r.m_strEqla = L"EqLA @ 10 Pa = 120.1 in\u00B2";
        r.m_strEla = L"ELA @ 4 Pa = 65.4 in\u00B2";
        r.m_strC = L"C = 110.2";
        r.m_strN = L"n = 0.650";
        r.m_strR = L"r = 0.99950";
    }

    CString m_savedRoot;
    int m_nSavedDirection = 0;
    CSimbrel1View* m_pView = nullptr;
    CFont m_bold, m_regular, m_underlined;
    int L = 0;
};

TEST(TestReportTextTest, CustomerAndBuildingBlocks)
{
    CBuildingInfoDialog b(nullptr);
    b.m_strCustomerAddress = L"1 Main St";
    b.m_strCustomerPhone = L"555";
    EXPECT_EQ(BuildCustomerBlockText(b), CString(L" "));   // no name: nothing of the rest
    b.m_strCustomerName = L"Ann Lee";
    b.m_strCustomerCity = L"Springfield";
    b.m_strCustomerState = L"OR";
    b.m_strCustomerZip = L"97477";
    b.m_strCustomerFax = L"556";
    EXPECT_EQ(BuildCustomerBlockText(b), CString(L"Ann Lee\n1 Main St\nSpringfield, OR 97477\nPhone: 555\nFax: 556"));
    b.m_strCustomerNameLine2 = L"c/o Bob";
    b.m_strCustomerAddressLine2 = L"Suite 4";
    b.m_strCustomerWebsite = L"example.org";
    EXPECT_EQ(BuildCustomerBlockText(b), CString(L"Ann Lee\nc/o Bob\n1 Main St\nSuite 4\nSpringfield, OR 97477\n"
                                                 L"Phone: 555\nFax: 556\nWebsite: example.org"));

    EXPECT_EQ(BuildBuildingBlockText(b), CString(L" "));
    b.m_strBuildingAddress = L"9 Elm";
    b.m_strApartmentNumber = L"Apt 3";
    EXPECT_EQ(BuildBuildingBlockText(b), CString(L"\n9 Elm\n"));   // no apartment without a building name
    b.m_strBuilding = L"Tower";
    b.m_strBuildingCity = L"Eugene";
    b.m_strBuildingState = L"OR";
    b.m_strBuildingZip = L"97401";
    EXPECT_EQ(BuildBuildingBlockText(b), CString(L"Tower\nApt 3\n9 Elm\nEugene, OR 97401"));
}

TEST(TestReportTextTest, WhichTestADataPageShows)
{
    int nTests[2] = {1, 2};
    int bTwo[2][32] = {};
    struct Case {
        int nPage, bFound, d, t, bCont;
    };
    for (const Case& c : {Case{3, 1, 1, 0, 0}, Case{4, 1, 1, 1, 0}, Case{5, 1, 0, 0, 0}, Case{6, 0, 0, 0, 0}}) {
        const CTestDataPageChoice p = ChooseTestDataPage(c.nPage, nTests, bTwo);
        EXPECT_EQ(p.bFound, c.bFound) << c.nPage;
        if (c.bFound) {
            EXPECT_TRUE(p.d == c.d && p.t == c.t && p.bContinuation == c.bCont) << c.nPage;
        }
    }
    bTwo[1][0] = 1;
    for (const Case& c : {Case{3, 1, 1, 0, 0}, Case{4, 1, 1, 0, 1}, Case{5, 1, 1, 1, 0}, Case{6, 1, 0, 0, 0}}) {
        const CTestDataPageChoice p = ChooseTestDataPage(c.nPage, nTests, bTwo);
        EXPECT_TRUE(p.bFound && p.d == c.d && p.t == c.t && p.bContinuation == c.bCont) << c.nPage;
    }
}

TEST(TestReportTextTest, ErrorCellNeverShowsInfinityOrNan)
{
    const CString na = L"n/a";
    // Q = 2 x 16^0.5 = 8 at |P - b| = 16: the fit's own flow gives 0 %.
    EXPECT_EQ(FormatDataPointError(8.0, 17.0, 1.0, 2.0, 1, 0.5, 1, na), CString(L"  0.0"));
    EXPECT_EQ(FormatDataPointError(8.8, 17.0, 1.0, 2.0, 1, 0.5, 1, na), CString(L" 10.0"));
    struct Case {
        const char* name;
        double dP, dB, dC;
        int bC;
        double dN;
        int bN;
    };
    const Case cases[] = {
        {"no valid C", 17, 1, 2, 0, 0.5, 1},  {"no valid n", 17, 1, 2, 1, 0.5, 0},
        {"point at the baseline", 1, 1, 2, 1, 0.5, 1}, {"C is 0", 17, 1, 0, 1, 0.5, 1},
        {"C not finite", 17, 1, INFINITY, 1, 0.5, 1},  {"C is nan", 17, 1, NAN, 1, 0.5, 1},
        {"huge n", 1e6, 0, 1, 1, 400, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDataPointError(8.0, c.dP, c.dB, c.dC, c.bC, c.dN, c.bN, na), na) << c.name;
    EXPECT_EQ(FormatIsoStandardFlow(10.0, 3.0, 2.0, 1, L"%6.0f", na), CString(L"    15"));
    EXPECT_EQ(FormatIsoStandardFlow(10.0, 3.0, 0.0, 1, L"%6.0f", na), na);
    EXPECT_EQ(FormatIsoStandardFlow(10.0, 3.0, 2.0, 0, L"%6.0f", na), na);
}

TEST(TestReportTextTest, RingTextsAndFlowFormats)
{
    const CString strOpen = L"Open", strRing = L"Ring";
    EXPECT_EQ(FormatRingText(0, L'3', strOpen, strRing), strOpen);
    EXPECT_EQ(FormatRingText(1, L'3', strOpen, strRing), CString(L"RingA"));
    EXPECT_EQ(FormatRingText(3, L'5', strOpen, strRing), CString(L"RingC"));
    EXPECT_EQ(FormatRingText(2, L'4', strOpen, strRing), CString(L"RingB"));
    EXPECT_EQ(FormatRingText(1, L'A', strOpen, strRing), CString(L"Ring1"));
    EXPECT_EQ(FormatRingText(4, L'B', strOpen, strRing), CString(L"Ring4"));
    EXPECT_STREQ(GetReportFlowFormat(L'B', 4), L"%6.1f");
    EXPECT_STREQ(GetReportFlowFormat(L'B', 3), L"%6.0f");
    EXPECT_STREQ(GetReportFlowFormat(L'A', 4), L"%6.0f");
}

TEST(TestReportTextTest, CommentPagesOfAHundredLines)
{
    CString strComments;
    for (int i = 0; i < 100; ++i)
        strComments += CString::FormatText(L"line %d\r\n", i);
    const CString p1 = GetCommentPageText(strComments, 0, 48);
    const CString p2 = GetCommentPageText(strComments, 48, 48);
    const CString p3 = GetCommentPageText(strComments, 96, 4);
    EXPECT_EQ(CountTextLines(p1), 48);
    EXPECT_EQ(p1.Left(7), CString(L"line 0\r"));
    EXPECT_EQ(p1.Right(9), CString(L"line 47\r\n"));
    EXPECT_EQ(p2.Left(8), CString(L"line 48\r"));   // not the previous page's line feed
    EXPECT_EQ(p3, CString(L"line 96\r\nline 97\r\nline 98\r\nline 99\r\n"));
    EXPECT_EQ(p1 + p2 + p3, strComments);
}

TEST_F(TestReportPageTest, OneDirectionCgsbAtSeventyFivePascals)
{
    AddTest(*m_pView->m_pTestGraph, 0, 0.5, 110.0, 0.65);
    m_pView->m_pSettings->m_nStandard = 0;
    m_pView->m_pResults->m_strRefPressure = L"75";
    OneDirectionResults();
    CBuildingInfoDialog& b = *m_pView->m_pBuildingInfo;
    b.m_strTechnician = L"Pat Doe";
    b.m_strCustomerAddress = L"Hidden Road 1";   // no name: not printed
    b.m_strBuilding = L"Lab";
    const CRecordedDrawing drawing = DrawPage(1, L"test-report-page1-one-direction.png");

    const int Lp = L + 10;
    const CString strTitle = L"Test Results at 75 Pascals:";
    const CRecordedText* pTitle = drawing.Find(strTitle.GetString());
    ASSERT_NE(pTitle, nullptr);
    EXPECT_EQ(pTitle->pt.x, 720);
    EXPECT_EQ(pTitle->font.lfWeight, FW_BOLD);
    const int vx = MeasureWidth(m_bold, strTitle) + 6 * Lp;
    const CRecordedText* pFlowLabel = drawing.Find(L"cfm75 Airflow");
    const CRecordedText* pFlow = drawing.Find(L"1234");
    ASSERT_TRUE(pFlowLabel != nullptr && pFlow != nullptr);
    EXPECT_EQ(pFlowLabel->pt.x, 960);
    EXPECT_EQ(pFlow->pt.x, vx);
    EXPECT_EQ(pFlow->pt.y, pTitle->pt.y - Lp);
    EXPECT_EQ(pFlow->font.lfWeight, FW_NORMAL);
    const CRecordedText* pAch = drawing.Find(L"ACH75");
    ASSERT_NE(pAch, nullptr);
    EXPECT_EQ(pAch->pt.y, pFlow->pt.y - L * 6 / 5);   // S from the unincreased L
    EXPECT_EQ(drawing.Find(L"5.67")->pt.x, vx);
    EXPECT_EQ(drawing.Find(L"EqLA @ 10 Pa = 120.1 in\u00B2")->pt.x, vx);
    EXPECT_NE(drawing.Find(L"r = 0.99950"), nullptr);
    EXPECT_EQ(drawing.Find(L"Technician:")->pt.x, 720);
    EXPECT_NE(drawing.Find(L"Pat Doe"), nullptr);
    EXPECT_EQ(drawing.Find(L"Hidden Road 1"), nullptr);
    // The results start below the two lines of the building block.
    const CRecordedText* pBuilding = drawing.Find(L"Lab");
    ASSERT_NE(pBuilding, nullptr);
    EXPECT_LE(pTitle->pt.y, pBuilding->pt.y - 2 * L);
    const CRecordedText* pStandard = drawing.Find(L"CGSB");
    ASSERT_NE(pStandard, nullptr);
    EXPECT_EQ(pStandard->pt.x, vx);
    EXPECT_NE(drawing.Find(L"Pressurization"), nullptr);
    EXPECT_EQ(drawing.Find(L"Type of Test Method:"), nullptr);
    EXPECT_EQ(drawing.Find(L"Depressurization"), nullptr);   // no column headings
    for (const CRecordedText& t : drawing.texts)
        EXPECT_EQ(t.colour, RGB(0, 0, 0)) << CString(t.text.c_str()).ToAnsi();
}

TEST_F(TestReportPageTest, TwoDirectionEn13829ColumnsAndStandardBlock)
{
    AddTest(*m_pView->m_pTestGraph, 0, 0.5, 110.0, 0.65);
    AddTest(*m_pView->m_pTestGraph, 1, -0.4, 120.0, 0.64);
    m_pView->m_pSettings->m_nStandard = 1;
    m_pView->m_pResults->m_strRefPressure = L"50";
    m_pView->m_nFlowUnit = 1;
    CTestResultsDialog& r = *m_pView->m_pResults;
    r.m_strTabFlowSlot0 = L"P-flow";
    r.m_strTabFlowSlot1 = L"D-flow";
    r.m_strTabFlowMean = L"M-flow";
    r.m_strTabAchSlot1 = L"";   // empty EN value: the label is cut after its colon
    r.m_strTabCLabel = L"CL";
    r.m_strTabCSlot1 = L"D-C";
    r.m_strTabCMean = L"M-C";   // not printed under EN 13829
    CEN13829DataEntryDialog& en = *m_pView->m_pEn13829;
    en.m_nTestMethod = 2;
    en.m_strRegulation = L"EnEV";
    en.m_strLimitValueName = L"n50";
    en.m_nLimitValueType = 1;
    en.m_strLimitValue = L"3.0";
    const CRecordedDrawing drawing = DrawPage(1, L"test-report-page1-two-directions.png");

    const CRecordedText* pDep = drawing.Find(L"Depressurization");
    const CRecordedText* pPress = drawing.Find(L"Pressurization");
    const CRecordedText* pAvg = drawing.Find(L"Average");
    ASSERT_TRUE(pDep != nullptr && pPress != nullptr && pAvg != nullptr);
    EXPECT_EQ(pDep->pt.x, 5020);
    EXPECT_EQ(pPress->pt.x, 7020);
    EXPECT_EQ(pAvg->pt.x, 9020);
    EXPECT_EQ(pDep->font.lfUnderline, 1);
    EXPECT_EQ(drawing.Find(L"D-flow")->pt.x, 5020);
    EXPECT_EQ(drawing.Find(L"P-flow")->pt.x, 7020);
    EXPECT_EQ(drawing.Find(L"M-flow")->pt.x, 9220);
    EXPECT_EQ(drawing.Find(L"D-flow")->pt.y, drawing.Find(L"M-flow")->pt.y);
    EXPECT_NE(drawing.Find(L"V50: m\u00B3/h50 (Airflow)"), nullptr);
    EXPECT_NE(drawing.Find(L"n50:"), nullptr);
    EXPECT_EQ(drawing.Find(L"D-C")->pt.x, 5020);
    EXPECT_EQ(drawing.Find(L"M-C"), nullptr);
    EXPECT_EQ(drawing.Find(L"EN 13829")->pt.x, 5020);
    EXPECT_NE(drawing.Find(L"Depressurization and Pressurization"), nullptr);
    EXPECT_EQ(drawing.Find(L"B")->pt.x, 5020);
    const CRecordedText* pRegulation = drawing.Find(L"EnEV    n50 \u2264 3.0 1/h");   // the limit with its unit
    ASSERT_NE(pRegulation, nullptr);
    EXPECT_EQ(drawing.Find(L"Regulation complied with:")->pt.y, pRegulation->pt.y);
}

TEST_F(TestReportPageTest, IsoStandardBlockLiesAThousandTwipsLeftOfTheValues)
{
    AddTest(*m_pView->m_pTestGraph, 1, -0.4, 120.0, 0.64);
    m_pView->m_pSettings->m_nStandard = 3;
    m_pView->m_nLeakageUnit = 0;
    OneDirectionResults();
    m_pView->m_pResults->m_strEla = L"0.1234 ft\u00B2";
    m_pView->m_pIso9972->m_strIsoTestMethod = L"Method 1";
    m_pView->m_pIso9972->m_strRegulation = L"Code";
    m_pView->m_pIso9972->m_strLimitValueName = L"qE50";
    m_pView->m_pIso9972->m_nLimitValueType = 9;
    m_pView->m_pIso9972->m_strLimitValue = L"2.5";
    m_pView->m_pBuildingInfo->m_strVolume.Empty();
    g_nCurrentDirection = 1;
    const CRecordedDrawing drawing = DrawPage(1);
    const int Lp = L + 10;
    const int vx = MeasureWidth(m_bold, L"Test Results at 50 Pascals:") + 6 * Lp;
    EXPECT_EQ(drawing.Find(L"1234")->pt.x, vx + 2 * Lp);
    EXPECT_EQ(drawing.Find(L"ISO 9972")->pt.x, vx - 1000);
    EXPECT_EQ(drawing.Find(L"Method 1")->pt.x, vx - 1000);
    EXPECT_NE(drawing.Find(L"Depressurization"), nullptr);   // the test mode of slot 1
    EXPECT_NE(drawing.Find(L"Purpose of Test:"), nullptr);
    // The limit of a flow per envelope area carries the per-area flow unit.
    const CRecordedText* pLimit = FindStarting(drawing, L"Code    qE50 \u2264 2.5 ");
    ASSERT_NE(pLimit, nullptr);
    EXPECT_EQ(pLimit->text, L"Code    qE50 \u2264 2.5 " + std::wstring(m_pView->m_pResults->FormatPerAreaUnit(0).GetString()));
    EXPECT_FALSE(m_pView->m_pResults->FormatPerAreaUnit(0).IsEmpty());
    EXPECT_NE(drawing.Find(L"ft\u00B2"), nullptr);           // leakage-area unit in inches
    EXPECT_NE(drawing.Find(L"0.1234"), nullptr);              // the unit taken off the value
    EXPECT_EQ(drawing.Find(L"1/h (Air Change Rate)"), nullptr);   // no volume: no unit text
}

TEST_F(TestReportPageTest, AstmStandardName)
{
    AddTest(*m_pView->m_pTestGraph, 0, 0.5, 110.0, 0.65);
    m_pView->m_pSettings->m_nStandard = 2;
    m_pView->m_pResults->m_strRefPressure = L"50";
    OneDirectionResults();
    const CRecordedDrawing drawing = DrawPage(1);
    EXPECT_NE(drawing.Find(L"E779-10"), nullptr);
    EXPECT_NE(drawing.Find(L"ACH50"), nullptr);
}

TEST_F(TestReportPageTest, FirstPagePrintsTheComputedResults)
{
    AddTest(*m_pView->m_pTestGraph, 0, 0.5, 110.0, 0.65);
    m_pView->m_pSettings->m_nStandard = 0;
    m_pView->UpdateResults(0);
    const CString strFlow = m_pView->m_pResults->m_strFlowAtRefValue;
    ASSERT_FALSE(strFlow.IsEmpty());
    const CRecordedDrawing drawing = DrawPage(1);
    const CRecordedText* pFlow = drawing.Find(strFlow.GetString());
    ASSERT_NE(pFlow, nullptr);
    EXPECT_EQ(pFlow->pt.x, MeasureWidth(m_bold, L"Test Results at 50 Pascals:") + 6 * (L + 10));
}

TEST_F(TestReportPageTest, BuildingTablesPerStandard)
{
    CBuildingInfoDialog& b = *m_pView->m_pBuildingInfo;
    b.m_strVolumeUnit = L"m\u00B3";
    b.m_strSurfaceAreaUnit = L"m\u00B2";
    b.m_strFloorAreaUnit = L"m\u00B2";
    b.m_strSurfaceArea = L"321";
    b.m_strFloorArea = L"123";
    m_pView->m_pSettings->m_nStandard = 0;
    CRecordedDrawing drawing = DrawPage(2);
    ASSERT_NE(drawing.Find(L"321"), nullptr);
    ASSERT_NE(drawing.Find(L"123"), nullptr);
    EXPECT_GT(drawing.Find(L"321")->pt.y, drawing.Find(L"123")->pt.y);   // surface above floor
    EXPECT_NE(drawing.AllText().find(L"Building Information"), std::wstring::npos);

    m_pView->m_pSettings->m_nStandard = 3;
    b.m_bCountrySpecificVolume = TRUE;
    m_pView->m_pIso9972->m_strVentilationType = L"Exhaust";
    m_pView->m_pIso9972->m_nVentilationSelection = 0;
    m_pView->m_pIso9972->m_nWindClass = 12;
    m_pView->m_pIso9972->m_nWindExposure = 7;
    drawing = DrawPage(2, L"test-report-page2-iso.png");
    EXPECT_GT(drawing.Find(L"321")->pt.y, -100000);
    EXPECT_LT(drawing.Find(L"321")->pt.y, drawing.Find(L"123")->pt.y);   // floor first
    const std::wstring all = drawing.AllText();
    EXPECT_NE(all.find(L"(according to national regulation)"), std::wstring::npos);
    EXPECT_NE(all.find(L"(according to ISO)"), std::wstring::npos);
    EXPECT_NE(all.find(L"None"), std::wstring::npos);
    EXPECT_NE(all.find(L"Calm"), std::wstring::npos);
    EXPECT_NE(all.find(L"Highly Protected Building"), std::wstring::npos);
    EXPECT_EQ(all.find(L"Exhaust"), std::wstring::npos);

    m_pView->m_pSettings->m_nStandard = 9;
    drawing = DrawPage(2);
    EXPECT_EQ(drawing.Find(L"321"), nullptr);
    EXPECT_NE(drawing.AllText().find(L"Equipment Information"), std::wstring::npos);
}

TEST_F(TestReportPageTest, EquipmentRowsOfManualAndAutomaticTests)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    g.m_DevicesCaptured = 2;
    g.m_DeviceInfo[0].m_strText[CDeviceInfoStrings::kModel] = L"RQ80";
    g.m_DeviceInfo[0].m_strText[CDeviceInfoStrings::kSerialNumber] = L"1001";
    g.m_DeviceInfo[1].m_strText[CDeviceInfoStrings::kModel] = L"RQ40";
    g.m_DeviceInfo[1].m_strText[CDeviceInfoStrings::kSerialNumber] = L"1002";
    m_pView->m_pEquipment->m_strGaugeModel = L"LZT";
    m_pView->m_pEquipment->m_strGaugeSerial = L"77";
    m_pView->m_pEquipment->m_strCalDateLocal = L"9/5/2023";
    m_pView->m_pFanCalibration->ResetToFactory();
    m_pView->m_pFanCalibration->m_strCalDateLocal.Empty();
    g_nCurrentDirection = 0;
    CRecordedDrawing drawing = DrawPage(2);
    EXPECT_EQ(CountOf(drawing.AllText(), L"Micromanometer"), 2u);
    EXPECT_EQ(drawing.AllText().find(L"9/5/2023"), std::wstring::npos);
    EXPECT_NE(drawing.Find(L" -"), nullptr);   // fan without custom values or date
    EXPECT_NE(drawing.AllText().find(L"RQ40"), std::wstring::npos);

    m_pView->m_pSettings->m_chMethodLetter[0] = L'M';
    drawing = DrawPage(2);
    const std::wstring all = drawing.AllText();
    EXPECT_NE(all.find(L"LZT"), std::wstring::npos);
    EXPECT_NE(all.find(L"9/5/2023"), std::wstring::npos);   // the manual gauge's own date
    EXPECT_EQ(all.find(L"RQ80"), std::wstring::npos);
    EXPECT_EQ(CountOf(all, L"Micromanometer"), 1u);
    EXPECT_EQ(g.m_DevicesCaptured, 2);   // the store keeps every device
}

TEST_F(TestReportPageTest, DataPageRowsAndDeviations)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    m_pView->m_pSettings->m_nStandard = 0;
    m_pView->m_pEquipment->m_chFanCode = L'3';
    m_pView->m_nFirstCommentsPage = 4;
    // No fit: the error column says so.
    const CRecordedDrawing drawing = DrawPage(3);
    EXPECT_NE(drawing.Find(L"Pressurization Test:"), nullptr);
    EXPECT_EQ(FindAll(drawing, L"n/a").size(), 2u * 2u + 5u);   // two baseline rows, five errors
    EXPECT_EQ(FindAll(drawing, L"RingA").size(), 5u);
    const std::wstring all = drawing.AllText();
    EXPECT_EQ(all.find(L"inf"), std::wstring::npos);
    EXPECT_EQ(all.find(L"nan"), std::wstring::npos);
    const CRecordedText* pNone = drawing.Find(L"None");
    ASSERT_NE(pNone, nullptr);
    EXPECT_EQ(pNone->colour, RGB(200, 0, 0));
    const CRecordedText* pRow = drawing.Find(L"   60.5");
    ASSERT_NE(pRow, nullptr);
    EXPECT_EQ(pRow->pt.x, 6 * L);
    // The rows lie below the heading and every line of the column titles.
    const CRecordedText* pHeading = FindStarting(drawing, L"Data Points");
    ASSERT_NE(pHeading, nullptr);
    EXPECT_LT(pRow->pt.y, pHeading->pt.y);
    for (const CRecordedText& t : drawing.texts) {
        if (t.text == L"(Pa)") {
            EXPECT_LT(pRow->pt.y, t.pt.y);
        }
    }

    // With the fit the errors are numbers.
    m_pView->UpdateResults(0);
    const CRecordedDrawing fitted = DrawPage(3);
    EXPECT_EQ(FindAll(fitted, L"n/a").size(), 4u);
}

TEST_F(TestReportPageTest, CommentsPagesOfAHundredLines)
{
    CString strComments;
    for (int i = 0; i < 100; ++i)
        strComments += CString::FormatText(L"comment %d\r\n", i);
    m_pView->m_pComments->m_strComments = strComments;
    m_pView->m_nFirstCommentsPage = 4;
    m_pView->m_nCommentLinesOnPage = {48, 48, 4};
    const CRecordedDrawing p1 = DrawPage(4);
    const CRecordedDrawing p3 = DrawPage(6);
    EXPECT_NE(p1.Find(L"Comments"), nullptr);
    EXPECT_NE(p1.Find(L"comment 47"), nullptr);
    EXPECT_EQ(p1.Find(L"comment 48"), nullptr);
    const CRecordedText* pContinued = p1.Find(L"Comments continued on the next page");
    ASSERT_NE(pContinued, nullptr);
    EXPECT_LT(pContinued->pt.y, p1.Find(L"comment 47")->pt.y);   // below the text, not over it
    EXPECT_NE(p3.Find(L"Comments  (Continued)"), nullptr);
    EXPECT_NE(p3.Find(L"comment 99"), nullptr);
    EXPECT_EQ(p3.Find(L"Comments continued on the next page"), nullptr);
    // A page past the plan draws no comment and reads nothing past it.
    EXPECT_EQ(DrawPage(7).Find(L"comment 0"), nullptr);

    m_pView->m_pComments->m_strComments.Empty();
    m_pView->m_nCommentLinesOnPage = {0};
    EXPECT_NE(DrawPage(4).Find(L"None"), nullptr);
}

TEST_F(TestReportPageTest, PrintingLeavesTheTestDataAsTheyWere)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    AddTest(g, 1, -0.4, 120.0, 0.64);
    g.m_DevicesCaptured = 3;
    m_pView->m_pSettings->m_chMethodLetter[0] = L'M';
    m_pView->m_pComments->m_strComments = L"one\r\ntwo\r\n";
    m_pView->m_nFirstCommentsPage = 5;
    m_pView->m_nCommentLinesOnPage = {2};
    const std::vector<double> pavg(&g.m_Pavg[0][0], &g.m_Pavg[0][0] + 2 * CTestGraph1::kMaxEntries);
    const std::vector<double> qavg(&g.m_Qavg[0][0], &g.m_Qavg[0][0] + 2 * CTestGraph1::kMaxEntries);
    const int nStations[2] = {g.m_StationCount[0], g.m_StationCount[1]};
    for (int nPage = 1; nPage <= 5; ++nPage)
        DrawPage(nPage);
    EXPECT_EQ(std::vector<double>(&g.m_Pavg[0][0], &g.m_Pavg[0][0] + 2 * CTestGraph1::kMaxEntries), pavg);
    EXPECT_EQ(std::vector<double>(&g.m_Qavg[0][0], &g.m_Qavg[0][0] + 2 * CTestGraph1::kMaxEntries), qavg);
    EXPECT_EQ(g.m_StationCount[0], nStations[0]);
    EXPECT_EQ(g.m_StationCount[1], nStations[1]);
    EXPECT_EQ(g.m_DevicesCaptured, 3);
    EXPECT_EQ(m_pView->m_pComments->m_strComments, CString(L"one\r\ntwo\r\n"));
}

const CRecordedText* FindContaining(const CRecordedDrawing& drawing, const std::wstring& strPart)
{
    for (const CRecordedText& t : drawing.texts)
        if (t.text.find(strPart) != std::wstring::npos)
            return &t;
    return nullptr;
}

// Two tests of slot 1, the first on two pages, and one of slot 0: the
// numbered headings, the first part without deviations and the
// continuation with them only.
TEST_F(TestReportPageTest, TwoPageTestAndNumberedHeadings)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 1, -0.4, 120.0, 0.64);
    AddTest(g, 1, -0.3, 121.0, 0.64);
    AddTest(g, 0, 0.5, 110.0, 0.65);
    m_pView->m_pSettings->m_nStandard = 0;
    m_pView->m_bTestOnTwoPages[1][0] = 1;
    m_pView->m_nFirstCommentsPage = 7;
    const CRecordedDrawing first = DrawPage(3, L"test-report-two-page-test-part1.png");
    const CRecordedDrawing second = DrawPage(4, L"test-report-two-page-test-part2.png");
    ASSERT_NE(first.Find(L"Depressurization Test 1:"), nullptr);
    const CRecordedText* pNote = first.Find(L"Depressurization Test 1: Continued on next page");
    ASSERT_NE(pNote, nullptr);
    EXPECT_EQ(pNote->font.lfWeight, FW_BOLD);
    EXPECT_NE(first.Find(L"Environmental Data"), nullptr);
    EXPECT_EQ(FindContaining(first, L"Deviations from Standard"), nullptr);

    const CRecordedText* pContinued = second.Find(L"Depressurization Test 1 (Continued):");
    ASSERT_NE(pContinued, nullptr);
    EXPECT_EQ(pContinued->pt.x, 720);
    EXPECT_EQ(second.Find(L"Environmental Data"), nullptr);
    EXPECT_EQ(FindContaining(second, L"Data Points"), nullptr);
    EXPECT_NE(FindContaining(second, L"Deviations from Standard CGSB"), nullptr);

    EXPECT_NE(DrawPage(5).Find(L"Depressurization Test 2:"), nullptr);
    EXPECT_NE(DrawPage(6).Find(L"Pressurization Test 1:"), nullptr);

    // A single test in all carries no number, also on its continuation.
    CTestGraph1& h = *m_pView->m_pTestGraph;
    h.ResetTestData();
    AddTest(h, 0, 0.5, 110.0, 0.65);
    m_pView->m_bTestOnTwoPages[1][0] = 0;
    m_pView->m_bTestOnTwoPages[0][0] = 1;
    EXPECT_NE(DrawPage(3).Find(L"Pressurization Test: Continued on next page"), nullptr);
    EXPECT_NE(DrawPage(4).Find(L"Pressurization Test (Continued):"), nullptr);
}

// The environment table of each standard: barometric pressure under EN
// 13829 and ISO 9972, the pre- and post-test rows and the altitude in the
// Average row only under ASTM E779, the temperatures alone under CGSB.
TEST_F(TestReportPageTest, EnvironmentTablePerStandard)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    g.m_TestTin[0][0][0] = 21.5;
    g.m_TestTout[0][0][0] = 4.5;
    g.m_TestTin[1][0][0] = 22.5;
    g.m_TestTout[1][0][0] = 6.5;
    g.m_TestPbaro[0][0][0] = 101300.0;
    g.m_TestAltitude[0][0] = 250.0;
    m_pView->m_nFirstCommentsPage = 4;
    m_pView->m_nTemperatureUnit = 1;
    for (int nStandard : {0, 1, 2, 3}) {
        SCOPED_TRACE(nStandard);
        m_pView->m_pSettings->m_nStandard = nStandard;
        const CRecordedDrawing drawing = DrawPage(3);
        const std::wstring all = drawing.AllText();
        EXPECT_NE(all.find(L"Indoor Temperature (\u00B0C)"), std::wstring::npos);
        EXPECT_NE(drawing.Find(L"21.5"), nullptr);
        EXPECT_NE(drawing.Find(L"4.5"), nullptr);
        const bool bEnOrIso = nStandard == 1 || nStandard == 3;
        EXPECT_EQ(drawing.Find(L"101300.0") != nullptr, bEnOrIso);
        EXPECT_EQ(all.find(L"Barometric Pressure (Pa)") != std::wstring::npos, bEnOrIso);
        EXPECT_EQ(drawing.Find(L"Baseline Pressure Data") != nullptr, bEnOrIso);
        EXPECT_EQ(all.find(L"Altitude") != std::wstring::npos, nStandard == 2);
        if (nStandard == 2) {
            const std::vector<const CRecordedText*> altitude = FindAll(drawing, L"250.0");
            ASSERT_EQ(altitude.size(), 1u);
            const CRecordedText* pAverage = FindContaining(drawing, L"Average");
            const CRecordedText* pPost = FindContaining(drawing, L"Post-Test");
            ASSERT_TRUE(pAverage != nullptr && pPost != nullptr);
            EXPECT_EQ(altitude[0]->pt.y, pAverage->pt.y);
            EXPECT_EQ(drawing.Find(L"22.0")->pt.y, pAverage->pt.y);   // mean of 21.5 and 22.5
            EXPECT_EQ(drawing.Find(L"22.5")->pt.y, pPost->pt.y);
        } else {
            EXPECT_EQ(drawing.Find(L"22.5"), nullptr);   // no post-test row
        }
    }
}

// A file exported by the logging program: its mark in the heading and not
// the version, a minus for the fan pressure, no ring texts and no "n/a" in
// the baseline rows.
TEST_F(TestReportPageTest, DataPointsOfAFileFromTheLoggingProgram)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    m_pView->m_pSettings->m_nStandard = 0;
    m_pView->m_pEquipment->m_chFanCode = L'3';
    m_pView->m_nFirstCommentsPage = 4;
    m_pView->m_strFileVersionTag = L"Vudadar 5.1.1.0";
    m_pView->UpdateResults(0);

    const CRecordedDrawing own = DrawPage(3);
    EXPECT_NE(own.Find(L"Data Points - Automated Test (Vudadar 5.1.1.0)"), nullptr);
    EXPECT_EQ(FindAll(own, L"n/a").size(), 4u);
    EXPECT_EQ(FindAll(own, L"RingA").size(), 5u);

    m_pView->m_bExportedFile = 1;
    const CRecordedDrawing drawing = DrawPage(3, L"test-report-logging-program.png");
    EXPECT_NE(drawing.Find(L"Data Points - Collected using QARMIX - Automated Test"), nullptr);
    EXPECT_EQ(FindContaining(drawing, L"Vudadar 5.1.1.0"), nullptr);
    EXPECT_EQ(FindAll(drawing, L"n/a").size(), 0u);
    EXPECT_EQ(FindContaining(drawing, L"Ring"), nullptr);
    const std::vector<const CRecordedText*> fan = FindAll(drawing, L"     -");
    ASSERT_EQ(fan.size(), 5u);
    EXPECT_EQ(fan[0]->pt.x, 21 * L);
    EXPECT_NE(drawing.Find(L"   60.5"), nullptr);
}

// The deviations section: left out under EN 13829 and ISO 9972 unless the
// include flag is set, always printed under CGSB; "None" in red without any
// list, in black when the list of the whole set is there but empty.
TEST_F(TestReportPageTest, DeviationsSectionIncludeFlagAndNone)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    m_pView->m_nFirstCommentsPage = 4;
    CDeviationsFromStandard& dev = *m_pView->m_pDeviations;
    const auto Title = [](const CRecordedDrawing& drawing) { return FindContaining(drawing, L"Deviations from Standard"); };

    for (int nStandard : {1, 3}) {
        m_pView->m_pSettings->m_nStandard = nStandard;
        dev.m_bIncludeInReport = 0;
        EXPECT_EQ(Title(DrawPage(3)), nullptr) << nStandard;
        dev.m_bIncludeInReport = 1;
        EXPECT_NE(Title(DrawPage(3)), nullptr) << nStandard;
    }
    m_pView->m_pSettings->m_nStandard = 0;
    dev.m_bIncludeInReport = 0;
    CRecordedDrawing drawing = DrawPage(3);
    ASSERT_NE(Title(drawing), nullptr);
    EXPECT_EQ(Title(drawing)->colour, RGB(0, 0, 0));
    ASSERT_NE(drawing.Find(L"None"), nullptr);
    EXPECT_EQ(drawing.Find(L"None")->colour, RGB(200, 0, 0));

    dev.ClearAllDeviations();
    drawing = DrawPage(3);
    ASSERT_NE(drawing.Find(L"None"), nullptr);
    EXPECT_EQ(drawing.Find(L"None")->colour, RGB(0, 0, 0));

    dev.SetDeviation(5, L"Fewer than five data points", 0, 0);
    drawing = DrawPage(3, L"test-report-deviations.png");
    EXPECT_EQ(drawing.Find(L"None"), nullptr);
    const CRecordedText* pText = drawing.Find(L"Fewer than five data points");
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->colour, RGB(0, 0, 0));
    EXPECT_GT(pText->pt.x, 1320);
}

TEST_F(TestReportPageTest, GraphReportKeepsLargeMetersAndFillsFifteenSixteenths)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    AddTest(g, 1, -0.4, 120.0, 0.64);
    g.m_bLargeMeters = 1;
    m_pView->m_nReportType = kReportGraph;
    CPrintInfo info;
    info.m_nCurPage = 1;
    {
        CDC dc;
        dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
        dc.SetMapMode(MM_TWIPS);
        m_pView->PrintGraphPage(&dc, &info, 720, -720);
        HENHMETAFILE h = ::CloseEnhMetaFile(dc.Detach());
        SavePagePng(h, L"graph-report.png");
        ::DeleteEnhMetaFile(h);
    }
    CMetafileRecorder recorder(MM_TWIPS);
    m_pView->PrintGraphPage(&recorder.Dc(), &info, 720, -720);
    EXPECT_EQ(g.m_bLargeMeters, 1);
    EXPECT_EQ(m_pView->m_bPrintingGraph, 0);
    EXPECT_EQ(recorder.Dc().GetMapMode(), MM_TWIPS);
    const CRecordedDrawing drawing = recorder.Finish();
    EXPECT_NE(drawing.Find(L"Building Leakage Curve"), nullptr);
    // The graph's lines lie in pixels left of 15/16 of the page width.
    int nMaxX = 0;
    for (const CRecordedLine& line : drawing.lines)
        if (line.from.y > 0)   // pixels, y down; the header's rule is in twips
            nMaxX = std::max<int>(nMaxX, std::max(line.from.x, line.to.x));
    EXPECT_GT(nMaxX, 0);
    EXPECT_LE(nMaxX, 2550 * 15 / 16 + 1);
}

// The graph takes the same share of the page at 300 and at 600 dpi and in
// the preview's screen resolution: the layout follows the page, not the
// printer's pixels, and the flow axis title stays on the page.
TEST_F(TestReportPageTest, GraphLayoutIsTheSameAtAnyResolution)
{
    CTestGraph1& g = *m_pView->m_pTestGraph;
    AddTest(g, 0, 0.5, 110.0, 0.65);
    AddTest(g, 1, -0.4, 120.0, 0.64);
    CPrintInfo info;
    info.m_nCurPage = 1;
    double dRight[3] = {}, dBottom[3] = {};
    const CPageCaps caps[3] = {kLetter300, CPageCaps{216, 279, 5100, 6600, 600, 600},
                               CPageCaps{216, 279, 816, 1054, 96, 96}};
    for (int k = 0; k < 3; ++k) {
        m_pView->m_PageCaps = caps[k];
        CMetafileRecorder recorder(MM_TWIPS);
        m_pView->PrintGraphPage(&recorder.Dc(), &info, 720, -720);
        const CRecordedDrawing drawing = recorder.Finish();
        int nRight = 0, nBottom = 0;
        for (const CRecordedLine& line : drawing.lines) {
            if (line.from.y > 0) {   // the graph's pixels, y down
                nRight = std::max<int>(nRight, std::max(line.from.x, line.to.x));
                nBottom = std::max<int>(nBottom, std::max(line.from.y, line.to.y));
            }
        }
        const CRecordedText* pTitle = nullptr;
        for (const CRecordedText& t : drawing.texts)
            if (t.text == L"Building" && t.pt.y > 0)
                pTitle = &t;
        ASSERT_NE(pTitle, nullptr) << caps[k].nLogPixelsX << " dpi";
        EXPECT_GT(pTitle->pt.x, 0) << "flow title off the page at " << caps[k].nLogPixelsX << " dpi";
        dRight[k] = static_cast<double>(nRight) / caps[k].nHorzRes;
        dBottom[k] = static_cast<double>(nBottom) / caps[k].nVertRes;
        EXPECT_GT(dRight[k], 0.8);
        EXPECT_LE(dRight[k], 15.0 / 16.0 + 0.001);
        EXPECT_LE(dBottom[k], 15.0 / 16.0 + 0.001);
    }
    EXPECT_NEAR(dRight[0], dRight[1], 0.002);
    EXPECT_NEAR(dBottom[0], dBottom[1], 0.002);
    EXPECT_NEAR(dRight[0], dRight[2], 0.005);
}

}  // namespace
