// Reports printed to the end, on the PostScript printer that
// tools/add-printer.exe installs in the test prefix (port FILE:, output
// into a file named in the print dialog's answer): the print command, the
// dialog, StartDoc to EndDoc, and the driver's file. Each job leaves
// <name>.ps and <name>.expect (the texts the page must show, one a line)
// in VUDADAR_PRINT_OUT, where tests/report/check-printed-pages turns the
// pages into PDF, looks for the texts and renders page 1 as PNG.
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "framework/Print.h"
#include "framework/UiAnswerer.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "testrun/TestGraph1.h"
#include "report/MarkupText.h"
#include "report/PrintFrame.h"
#include "report/ReportLogos.h"
#include "report/TextTable.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/report/PictureFixtures.h"

namespace {

constexpr const wchar_t* kPrinter = L"Vudadar PostScript";

std::wstring OutputFolder()
{
    return FolderFromEnvironment(L"VUDADAR_PRINT_OUT", L"printed");
}

// The page count the driver wrote ("%%Pages: n"), or -1 for a file that is
// no PostScript document.
int CountPostScriptPages(const std::wstring& path)
{
    const std::string text = ReadBytes(path);
    if (text.rfind("%!PS-Adobe", 0) != 0)
        return -1;
    int nPages = 0;
    for (size_t at = text.find("%%Page: "); at != std::string::npos; at = text.find("%%Page: ", at + 1))
        ++nPages;
    return nPages;
}

void WriteExpectedTexts(const std::wstring& path, const std::vector<std::string>& texts)
{
    std::string bytes;
    for (const std::string& s : texts)
        bytes += s + "\n";
    ASSERT_TRUE(WriteBytes(path, bytes));
}

// The view prints on the installed printer into a file of the output folder.
class PostScriptPrintTest : public ::testing::Test {
protected:
    class CAnswerer : public CTestAnswerer, public CUiPrintAnswerer {
    public:
        std::wstring strOutput;
        int nDialogs = 0;
        INT_PTR AnswerPrintDialog(const CUiPrintDialog&, CUiPrintAnswer& a) override
        {
            ++nDialogs;
            a.strPrinter = kPrinter;
            a.strOutputFile = strOutput.c_str();
            return IDOK;
        }
    };

    void SetUp() override
    {
        HDC hPrinter = ::CreateDCW(L"WINSPOOL", kPrinter, nullptr, nullptr);
        ASSERT_NE(hPrinter, nullptr)
            << "no printer \"Vudadar PostScript\": run tools/add-printer.exe in this prefix (the test run does)";
        ::DeleteDC(hPrinter);
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_nToken, &input, nullptr));
        m_savedRoot = g_strUserDataRoot;
        m_folder = MakeTempFolder(L"postscriptprint");
        g_strUserDataRoot = m_folder.c_str();
        m_pView = new CSimbrel1View;
        m_pView->m_strDataFolder = m_folder.c_str();
        m_pOld = AfxSetUiAnswerer(&m_answerer);
    }
    void TearDown() override
    {
        AfxSetUiAnswerer(m_pOld);
        delete m_pView;
        g_strUserDataRoot = m_savedRoot;
        if (m_nToken != 0)
            Gdiplus::GdiplusShutdown(m_nToken);
    }

    // Prints through the standard print command into <name>.ps.
    std::wstring Print(const std::wstring& name)
    {
        const std::wstring path = OutputFolder() + name + L".ps";
        ::DeleteFileW(path.c_str());
        m_answerer.strOutput = path;
        EXPECT_TRUE(m_pView->OnFilePrint()) << std::string(name.begin(), name.end());
        return path;
    }

    ULONG_PTR m_nToken = 0;
    CString m_savedRoot;
    std::wstring m_folder;
    CSimbrel1View* m_pView = nullptr;
    CAnswerer m_answerer;
    CUiAnswerer* m_pOld = nullptr;
};

// The first page's letterhead beside each kind of header logo the program
// accepts: a bitmap as it is, a JPEG and a TIFF converted to one when they
// are imported, and an enhanced metafile.
TEST_F(PostScriptPrintTest, TestReportHeadWithEachKindOfLogo)
{
    CBusinessInfoDialog& business = *m_pView->m_pBusinessInfo;
    business.m_strBusinessName = L"Tight Homes Testing";
    business.m_strAddress = L"12 Main Street";
    business.m_strCity = L"Springfield";
    business.m_strPhone = L"555-0100";

    std::vector<WORD> rgb8;
    for (int i = 0; i < 60 * 30; ++i)
        rgb8.insert(rgb8.end(), {WORD((i % 60) * 4), WORD((i / 60) * 8), WORD(160)});
    const std::wstring source = m_folder + L"source";
    ASSERT_TRUE(WriteBytes(source + L".tif", MakeTiff(60, 30, 3, 8, rgb8)));
    ASSERT_TRUE(WriteJpeg(source + L".jpg", 64, 32));

    const std::wstring logo = m_folder + L"ReportLogo-Header";
    struct Case { const wchar_t* name; const wchar_t* kind; };
    for (const Case& c : {Case{L"head-bmp", L"bmp"}, Case{L"head-jpeg", L"jpg"}, Case{L"head-tiff", L"tif"},
                          Case{L"head-emf", L"emf"}}) {
        SCOPED_TRACE(c.name);
        ::DeleteFileW((logo + L".bmp").c_str());
        ::DeleteFileW((logo + L".emf").c_str());
        const std::wstring kind = c.kind;
        if (kind == L"bmp") {
            ASSERT_TRUE(WriteBytes(logo + L".bmp", SolidBitmap(40, 20, 0, 90, 170)));
        } else if (kind == L"emf") {
            ASSERT_TRUE(WriteSolidMetafile(logo + L".emf", 4000, 2000, RGB(200, 40, 40)));
        } else {
            // Importing converts the picture to the header's bitmap.
            ASSERT_TRUE(::CopyFileW((source + L"." + kind).c_str(), (logo + L"." + kind).c_str(), FALSE));
            ASSERT_TRUE(ConvertImageToDib(CString((logo + L"." + kind).c_str()), nullptr, true));
            ::DeleteFileW((logo + L"." + kind).c_str());
        }
        ASSERT_FALSE(GetReportLogoFile(m_folder.c_str(), kLogoHeader).IsEmpty());

        m_pView->m_nReportType = kReportTest;
        const std::wstring path = Print(c.name);
        EXPECT_EQ(CountPostScriptPages(path), m_pView->m_nTotalPages);
        EXPECT_TRUE(m_pView->m_strReportLogoProblem.IsEmpty());
        WriteExpectedTexts(OutputFolder() + c.name + L".expect",
                           {"BUILDING LEAKAGE TEST", "Tight Homes Testing", "12 Main Street", "555-0100"});
    }
    EXPECT_EQ(m_answerer.nDialogs, 4);
}

// The zone data report on paper: chart, zone table and data rows on page 1,
// the remaining rows and the ZPD input table on page 2.
TEST_F(PostScriptPrintTest, ZoneDataReportOverTwoPages)
{
    CTestSettingsDialog& s = *m_pView->m_pSettings;
    s.m_bZonalActive = 1;
    s.m_chMethodLetter[1] = L'A';
    s.m_chDirectionLetter[1] = L'D';
    for (int z = 3; z <= 8; ++z) {
        s.m_strZoneName[1][z] = CString::FormatText(L"Attic%d", z);
        s.m_nZoneActive[1][z] = z == 3 || z == 6;
    }
    CTestGraph1& g = *m_pView->m_pTestGraph;
    const int n = 30;
    for (int e = 0; e < n; ++e) {
        const bool bMarker = e == 0 || e == n - 1;
        g.m_Ring[1][e] = bMarker ? -1 : 1;
        g.m_PStdDev[1][e] = bMarker ? 0.25 : 2.0;
        const double dP = bMarker ? -0.5 : -(15.0 + 2.0 * e);
        g.m_Pavg[1][e] = dP;
        g.m_ZonePavg[1][0][e] = 0.4 * dP;
        g.m_ZonePavg[1][3][e] = 0.7 * dP;
        g.m_Qavg[1][e] = bMarker ? 0.0 : 40.0 * std::pow(-dP, 0.65);
    }
    g.m_StationCount[1] = n;
    g.m_CompletedTests[1] = 1;
    g.m_TestRowCount[1][0] = n;
    g.m_FlowFactor[1][0] = 1.0;
    m_pView->m_pResults->m_Results[1][CTestResultsDialog::kFlowAtRef].m_dValue = 1234.0;
    const int nSavedDirection = g_nCurrentDirection;
    g_nCurrentDirection = 1;
    m_pView->m_nReportType = kReportZoneData;
    const std::wstring path = Print(L"zone-report");
    g_nCurrentDirection = nSavedDirection;
    EXPECT_EQ(m_pView->m_nTotalPages, 2);
    EXPECT_EQ(CountPostScriptPages(path), 2);
    WriteExpectedTexts(OutputFolder() + L"zone-report.expect",
                       {"Zone Data Report", "Attic3-P3", "Attic6-P6", "Nominal", "ZPD Input Table",
                        "Building Baseline Standard Deviation:", "0.25 Pa", "Blower Door Flow:", "1234 cfm",
                        "Largest Ring Used:", "Ring A", "-43.00"});
}

// A view whose page is a few lines of mark-up and a table, printed through
// the same job as the reports.
class CMarkupPageView : public CSimbrel1View {
public:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(2);
        return DoPreparePrinting(pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        pDC->SetMapMode(MM_TWIPS);
        CFont font;
        CreateReportFont(font, kBodyFontHeight, FW_NORMAL, false);
        CMarkupText markup;
        markup.DrawMultiLine(pDC, CRect(720, -720, 10800, -1000), &font,
                             L"\\boldAirflow at 50 Pa: q\\sub50 \\reg= 1234 m\\super3 \\reg/h"
                             L"\\n\\colredAir changes: n\\sub50 \\reg= 3.1 h\\super-1 \\reg",
                             CMarkupText::kAlignLeft);
        CTextTable table;
        table.m_rcArea = CRect(720, -1800, 10800, -5000);
        table.m_nRows = 3;
        table.m_nColumns = 3;
        table.m_pTitleFont = &font;
        table.m_pCellFont = &font;
        table.m_strTitle = L"\\boldBuilding information";
        if (table.Allocate() != 1)
            return;
        table.SetCell(0, 0, 0, L"Volume", TRUE, 0, 1);
        table.SetCell(0, 2, 0, L"512 m\\super3", FALSE, 2, 0);
        table.SetCell(1, 0, 0, L"Floor area", TRUE, 0, 1);
        table.SetCell(1, 2, 0, L"180 m\\super2", FALSE, 2, 0);
        CString strPage;
        strPage.Format(L"Sheet %u", pInfo->m_nCurPage);
        table.SetCell(2, 0, 0, strPage, TRUE, 0, 1);
        table.Draw(pDC);
    }
};

TEST_F(PostScriptPrintTest, PagesOfMarkupAndATable)
{
    CMarkupPageView view;
    const std::wstring path = OutputFolder() + L"markup-table.ps";
    ::DeleteFileW(path.c_str());
    m_answerer.strOutput = path;
    ASSERT_TRUE(view.OnFilePrint());
    EXPECT_EQ(CountPostScriptPages(path), 2);
    WriteExpectedTexts(OutputFolder() + L"markup-table.expect",
                       {"Airflow at 50 Pa", "1234 m", "Air changes", "Building information", "Volume", "512 m",
                        "Floor area", "Sheet 1", "Sheet 2"});
}

// A cancelled dialog prints nothing and leaves no file.
TEST_F(PostScriptPrintTest, CancelledDialogWritesNoFile)
{
    class CCancel : public CTestAnswerer, public CUiPrintAnswerer {
        INT_PTR AnswerPrintDialog(const CUiPrintDialog&, CUiPrintAnswer&) override { return IDCANCEL; }
    } cancel;
    CScopedAnswerer scoped(cancel);
    const std::wstring path = OutputFolder() + L"cancelled.ps";
    ::DeleteFileW(path.c_str());
    m_pView->m_nReportType = kReportTest;
    EXPECT_FALSE(m_pView->OnFilePrint());
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

// ---------------------------------------------------------------------------
// Whole test and graph reports of the committed test files in
// tests/report/files, printed as the user prints them after opening the file.

std::wstring ReportFixture(const wchar_t* pszName)
{
    const char* pszSource = std::getenv("VUDADAR_SOURCE_DIR");
    EXPECT_NE(pszSource, nullptr) << "VUDADAR_SOURCE_DIR must name the source folder";
    CString strPath = CString(L"Z:") + CString(pszSource != nullptr ? pszSource : "") + L"/tests/report/files/" + pszName;
    strPath.Replace(L'/', L'\\');
    return strPath.str();
}

// The text as pdftotext gives it back: trimmed, runs of blanks as one.
std::string Utf8(const CString& strText)
{
    CString s = strText;
    s.Trim();
    while (s.Replace(L"  ", L" ") > 0) {
    }
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

class PrintedReportTest : public PostScriptPrintTest {
protected:
    void SetUp() override
    {
        PostScriptPrintTest::SetUp();
        m_strSavedVersion = g_strProgramVersion;
        g_strProgramVersion = L"5.1.1.0";
        if (m_pView != nullptr)
            m_pView->m_strProgramFolder = m_folder.c_str();
    }
    void TearDown() override
    {
        g_nCurrentDirection = m_nSavedDirection;
        g_strProgramVersion = m_strSavedVersion;
        PostScriptPrintTest::TearDown();
    }
    // Opens the fixture, prints the report and checks that printing left
    // every record as it was: the whole test file text, the points and
    // the device snapshots.
    void PrintFixture(const wchar_t* pszFile, const std::wstring& name, int nReportType = kReportTest)
    {
        m_pView->OpenFile(0, ReportFixture(pszFile).c_str());
        ASSERT_EQ(m_pView->m_bTestOpen, 1) << CString(pszFile).ToAnsi();
        const CTestGraph1& g = *m_pView->m_pTestGraph;
        const CString strBefore = m_pView->BuildFileText(0);
        const int nStations[2] = {g.m_StationCount[0], g.m_StationCount[1]};
        const int nDevices = g.m_DevicesCaptured;
        m_pView->m_nReportType = nReportType;
        const std::wstring path = Print(name);
        EXPECT_EQ(CountPostScriptPages(path), m_pView->m_nTotalPages);
        EXPECT_EQ(m_pView->BuildFileText(0).str(), strBefore.str());
        EXPECT_EQ(g.m_StationCount[0], nStations[0]);
        EXPECT_EQ(g.m_StationCount[1], nStations[1]);
        EXPECT_EQ(g.m_DevicesCaptured, nDevices);
    }
    // The texts every test report shows, with the results the program
    // holds for one direction or both.
    std::vector<std::string> ReportTexts(std::vector<std::string> texts) const
    {
        const CTestResultsDialog& r = *m_pView->m_pResults;
        texts.push_back("Test Results at " + Utf8(r.m_strRefPressure) + " Pascals:");
        texts.insert(texts.end(), {"BUILDING LEAKAGE TEST", "Technician:", "R. Tester",
                                   "A. Customer", "Test House", "Building Information", "Year of Construction",
                                   "1987", "Equipment Information", "Micromanometer", "Environmental Data",
                                   "Data Points", "Comments", "None"});
        if (m_pView->m_pTestGraph->GetDirectionsWithData() == 2) {
            for (const CString* p : {&r.m_strTabFlowSlot0, &r.m_strTabFlowSlot1, &r.m_strTabFlowMean})
                texts.push_back(Utf8(*p));
            texts.insert(texts.end(), {"Depressurization", "Pressurization", "Average"});
        } else {
            texts.push_back(Utf8(r.m_strFlowAtRefValue));
        }
        return texts;
    }
    int m_nSavedDirection = g_nCurrentDirection;
    CString m_strSavedVersion;
};

TEST_F(PrintedReportTest, CgsbOneDirection)
{
    PrintFixture(L"cgsb-pressurization.bld", L"report-cgsb-one-direction");
    EXPECT_EQ(m_pView->m_nTotalPages, 4);
    WriteExpectedTexts(OutputFolder() + L"report-cgsb-one-direction.expect",
                       ReportTexts({"CGSB", "Pressurization Test:", "Data Points - Automated Test", "60.7", "RingA",
                                    "RingB", "Deviations from Standard CGSB", "RQ40", "5678", "1/15/2024"}));
}

TEST_F(PrintedReportTest, CgsbBothDirectionsWithAHundredCommentLines)
{
    PrintFixture(L"cgsb-both-directions.bld", L"report-cgsb-both-directions");
    EXPECT_EQ(m_pView->m_nTotalPages, 5);
    WriteExpectedTexts(OutputFolder() + L"report-cgsb-both-directions.expect",
                       ReportTexts({"Depressurization Test 1:", "Pressurization Test 1:"}));

    // The comments are typed after opening: 48, 48 and 4 lines on three pages.
    CString strComments;
    for (int i = 0; i < 100; ++i)
        strComments += CString::FormatText(L"Comment line %d\r\n", i + 1);
    m_pView->m_pComments->m_strComments = strComments;
    m_pView->m_nReportType = kReportTest;
    const std::wstring path = Print(L"report-hundred-comment-lines");
    EXPECT_EQ(m_pView->m_nTotalPages, 4 + 3);
    EXPECT_EQ(CountPostScriptPages(path), 7);
    EXPECT_EQ(m_pView->m_pComments->m_strComments, strComments);
    WriteExpectedTexts(OutputFolder() + L"report-hundred-comment-lines.expect",
                       {"Comment line 1", "Comment line 48", "Comment line 49", "Comment line 96", "Comment line 97",
                        "Comment line 100", "(Continued)", "Comments continued on the next page"});
}

TEST_F(PrintedReportTest, En13829BothDirections)
{
    PrintFixture(L"en13829-both-directions.bld", L"report-en13829-both-directions");
    WriteExpectedTexts(OutputFolder() + L"report-en13829-both-directions.expect",
                       ReportTexts({"EN 13829", "Depressurization and Pressurization", "Type of Test Method:",
                                    "Regulation complied with:", "EnEV 2014", "Uncertainty of Dimensions",
                                    "Gas boiler", "Split unit", "Exhaust fans", "Partly Exposed Building",
                                    "Gentle Breeze", "Baseline Pressure Data", "Barometric Pressure", "101300.0",
                                    "Deviations from Standard EN 13829"}));
}

TEST_F(PrintedReportTest, En13829OneDirection)
{
    PrintFixture(L"en13829-pressurization.bld", L"report-en13829-one-direction");
    EXPECT_EQ(m_pView->m_pDeviations->m_bIncludeInReport, 0);
    WriteExpectedTexts(OutputFolder() + L"report-en13829-one-direction.expect",
                       ReportTexts({"EN 13829", "Pressurization Test:", "Baseline Pressure Data"}));
}

TEST_F(PrintedReportTest, Iso9972WithItsSymbols)
{
    PrintFixture(L"iso9972-both-directions.bld", L"report-iso9972-both-directions");
    WriteExpectedTexts(OutputFolder() + L"report-iso9972-both-directions.expect",
                       ReportTexts({"ISO 9972", "Purpose of Test:", "Method 2", "Building code check",
                                    "Internal Volume", "according to national regulation", "according to ISO",
                                    "Heat pump", "Highly Protected Building", "Calm", "Baseline Pressure Data"}));
    PrintFixture(L"iso9972-depressurization.bld", L"report-iso9972-one-direction");
    WriteExpectedTexts(OutputFolder() + L"report-iso9972-one-direction.expect",
                       ReportTexts({"ISO 9972", "Depressurization Test:", "Envelope Area"}));
}

TEST_F(PrintedReportTest, AstmE779)
{
    PrintFixture(L"astm-e779-depressurization.bld", L"report-astm-one-direction");
    WriteExpectedTexts(OutputFolder() + L"report-astm-one-direction.expect",
                       ReportTexts({"E779-10", "ACH50", "Height", "Altitude", "250.0", "Pre-Test", "Post-Test"}));
    PrintFixture(L"astm-e779-both-directions.bld", L"report-astm-both-directions");
    EXPECT_EQ(m_pView->m_pTestGraph->m_DevicesCaptured, 2);
    WriteExpectedTexts(OutputFolder() + L"report-astm-both-directions.expect",
                       ReportTexts({"E779-10", "Depressurization Test 2:", "RQ80", "9012", "2/20/2024"}));
}

TEST_F(PrintedReportTest, ManualTest)
{
    PrintFixture(L"manual-cgsb-pressurization.bld", L"report-manual");
    WriteExpectedTexts(OutputFolder() + L"report-manual.expect",
                       ReportTexts({"Data Points - Data Entered Manually", "LZT", "7701", "9/5/2023"}));
}

TEST_F(PrintedReportTest, TestOnTwoPages)
{
    PrintFixture(L"two-page-depressurization.bld", L"report-two-page-test");
    EXPECT_EQ(m_pView->m_bTestOnTwoPages[1][0], 1);
    EXPECT_EQ(m_pView->m_nTotalPages, 5);
    WriteExpectedTexts(OutputFolder() + L"report-two-page-test.expect",
                       ReportTexts({"Depressurization Test: Continued on next page",
                                    "Depressurization Test (Continued):", "Deviations from Standard CGSB"}));
}

TEST_F(PrintedReportTest, FileFromTheLoggingProgram)
{
    PrintFixture(L"logger-export-cgsb.bld", L"report-logging-program");
    EXPECT_EQ(m_pView->m_bExportedFile, 1);
    WriteExpectedTexts(OutputFolder() + L"report-logging-program.expect",
                       ReportTexts({"Data Points - Collected using QARMIX - Automated Test"}));
}

TEST_F(PrintedReportTest, GraphReport)
{
    PrintFixture(L"en13829-both-directions.bld", L"graph-report-both-directions", kReportGraph);
    EXPECT_EQ(m_pView->m_nTotalPages, 1);
    WriteExpectedTexts(OutputFolder() + L"graph-report-both-directions.expect",
                       {"Building Leakage Curve", "Depressurize", "Pressurize", "Building Pressure (Pa)"});
    PrintFixture(L"cgsb-pressurization.bld", L"graph-report-one-direction", kReportGraph);
    WriteExpectedTexts(OutputFolder() + L"graph-report-one-direction.expect", {"Building Leakage Curve"});
}

}   // namespace
