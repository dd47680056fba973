// The print preview in the running program, with no printer needed: the
// toolbar's texts from the string table, paging, the one/two-page button,
// zoom, Esc bringing the page dialogs back, pages drawn in any order, and
// Print from the preview going to the printer of the print dialog.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "framework/Preview.h"
#include "pages/CommentsDialog.h"
#include "report/LangPreviewView.h"
#include "report/PrintFrame.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/TestSupport.h"
#include "tests/report/PictureFixtures.h"

namespace {

// Each text of a metafile page with its reference point, in the order drawn.
std::vector<std::wstring> MetafileTexts(HENHMETAFILE h)
{
    std::vector<BYTE> bits(::GetEnhMetaFileBits(h, 0, nullptr));
    ::GetEnhMetaFileBits(h, static_cast<UINT>(bits.size()), bits.data());
    std::vector<std::wstring> texts;
    for (size_t off = 0; off + sizeof(EMR) <= bits.size();) {
        const auto* pRecord = reinterpret_cast<const EMR*>(bits.data() + off);
        if (pRecord->nSize < sizeof(EMR) || off + pRecord->nSize > bits.size())
            break;
        if (pRecord->iType == EMR_EXTTEXTOUTW) {
            const auto* p = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
            const auto* pText = reinterpret_cast<const wchar_t*>(bits.data() + off + p->emrtext.offString);
            texts.push_back(std::to_wstring(p->emrtext.ptlReference.x) + L"," +
                            std::to_wstring(p->emrtext.ptlReference.y) + L" " +
                            std::wstring(pText, p->emrtext.nChars));
        }
        off += pRecord->nSize;
    }
    return texts;
}

class PreviewTest : public ProgramTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartProgram()); }
    void TearDown() override
    {
        // The test data the tests put in are not saved.
        m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDNO);
        CloseProgram();
        g_pView = nullptr;
    }
    CLangPreviewView* Preview() const
    {
        return dynamic_cast<CLangPreviewView*>(m_pFrame->GetActiveView());
    }
    HWND ToolBar() const
    {
        CLangPreviewView* p = Preview();
        return p != nullptr && p->GetToolBar() != nullptr ? p->GetToolBar()->GetSafeHwnd() : nullptr;
    }
    // A test report of several pages: three closed tests in slot 0.
    void AddTests()
    {
        CTestGraph1& g = *m_pView->m_pTestGraph;
        for (int t = 0; t < 3; ++t) {
            int i = g.m_StationCount[0];
            auto Entry = [&](int nRing, double dP, double dQ) {
                g.m_Ring[0][i] = nRing;
                g.m_Pavg[0][i] = dP;
                g.m_Qavg[0][i] = dQ;
                g.m_Pfan[0][i] = nRing < 0 ? 0.0 : 100.0 + dP;
                ++i;
            };
            Entry(-1, 0.5, 0.0);
            for (double dP : {60.0, 50.0, 40.0, 30.0, 20.0})
                Entry(1, dP + 0.5, 110.0 * std::pow(dP, 0.65));
            Entry(-1, 0.5, 0.0);
            g.m_StationCount[0] = i;
            g.m_FlowFactor[0][t] = 1.0;
            g.m_TestRowCount[0][t] = 7;
            g.m_CompletedTests[0] = t + 1;
        }
        g_nCurrentDirection = 0;
        m_pView->m_bTestOpen = 1;
    }
    void StartPreview(int nType)
    {
        m_pView->PreviewReport(nType);
        PumpPending();
        ASSERT_NE(Preview(), nullptr) << "the preview did not start";
        ASSERT_NE(ToolBar(), nullptr);
    }
};

TEST_F(PreviewTest, ToolbarTextsPagingZoomAndEscBringsThePagesBack)
{
    AddTests();
    // Open pages stay where they are while the preview shows, and are put
    // back (made anew) when it ends.
    m_pView->OnGotoComments();
    PumpPending();
    HWND hComments = m_pView->m_pComments->GetSafeHwnd();
    ASSERT_NE(hComments, nullptr);
    ASSERT_TRUE(::IsWindowVisible(hComments));

    ASSERT_NO_FATAL_FAILURE(StartPreview(kReportTest));
    CLangPreviewView* p = Preview();
    HWND hBar = ToolBar();
    EXPECT_EQ(m_pView->m_bPreviewShowing, 1);
    EXPECT_EQ(m_pView->m_bPreviewJustStarted, 1);
    EXPECT_EQ(m_pView->m_bPreviewStarting, 0);
    ASSERT_GE(p->GetPageCount(), 3u);
    EXPECT_EQ(p->GetPagesShown(), 1);
    EXPECT_FALSE(::IsWindowVisible(m_pView->GetSafeHwnd()));
    struct Button {
        int nID;
        const wchar_t* text;
    };
    // The template says "&Print..."; the program's table "&Print".
    for (const Button& b : {Button{ID_AFX_PREVIEW_PRINT, L"&Print"}, Button{ID_AFX_PREVIEW_NEXT, L"&Next Page"},
                            Button{ID_AFX_PREVIEW_PREV, L"Pre&v Page"}, Button{ID_AFX_PREVIEW_NUMPAGE, L"&Two Page"},
                            Button{ID_AFX_PREVIEW_ZOOMIN, L"Zoom &In"}, Button{ID_AFX_PREVIEW_ZOOMOUT, L"Zoom &Out"},
                            Button{ID_AFX_PREVIEW_CLOSE, L"&Close"}})
        EXPECT_EQ(ItemText(hBar, b.nID), b.text) << b.nID;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hBar, ID_AFX_PREVIEW_PREV)));
    SaveScreenshot(m_pFrame->GetSafeHwnd(), L"preview-test-report.png");

    ClickItem(hBar, ID_AFX_PREVIEW_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return p->GetCurrentPage() == 2; }));
    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return p->GetCurrentPage() == 3; }));
    PressKey(VK_PRIOR);
    EXPECT_TRUE(PumpUntil([&] { return p->GetCurrentPage() == 2; }));
    ClickItem(hBar, ID_AFX_PREVIEW_PREV);
    EXPECT_TRUE(PumpUntil([&] { return p->GetCurrentPage() == 1; }));

    ClickItem(hBar, ID_AFX_PREVIEW_NUMPAGE);
    EXPECT_TRUE(PumpUntil([&] { return p->GetPagesShown() == 2; }));
    EXPECT_EQ(ItemText(hBar, ID_AFX_PREVIEW_NUMPAGE), L"&One Page");
    SaveScreenshot(m_pFrame->GetSafeHwnd(), L"preview-two-pages.png");
    ClickItem(hBar, ID_AFX_PREVIEW_NUMPAGE);
    EXPECT_TRUE(PumpUntil([&] { return p->GetPagesShown() == 1; }));
    EXPECT_EQ(ItemText(hBar, ID_AFX_PREVIEW_NUMPAGE), L"&Two Page");

    ClickItem(hBar, ID_AFX_PREVIEW_ZOOMIN);
    EXPECT_TRUE(PumpUntil([&] { return p->GetZoomState() == 1; }));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hBar, ID_AFX_PREVIEW_ZOOMOUT)));
    SaveScreenshot(m_pFrame->GetSafeHwnd(), L"preview-zoomed.png");
    ClickItem(hBar, ID_AFX_PREVIEW_ZOOMOUT);
    EXPECT_TRUE(PumpUntil([&] { return p->GetZoomState() == 0; }));

    ::SetFocus(::GetDlgItem(hBar, ID_AFX_PREVIEW_NEXT));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return m_pFrame->GetActiveView() == m_pView; }));
    EXPECT_EQ(m_pView->m_bPreviewShowing, 0);
    EXPECT_EQ(m_pFrame->GetMainView(), m_pView);
    EXPECT_TRUE(::IsWindowVisible(m_pView->GetSafeHwnd()));
    hComments = m_pView->m_pComments->GetSafeHwnd();
    ASSERT_NE(hComments, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hComments));
}

// The one-page graph shows "&Two Page" too, and the button stays enabled.
TEST_F(PreviewTest, OnePageGraphKeepsTheTwoPageButton)
{
    AddTests();
    ASSERT_NO_FATAL_FAILURE(StartPreview(kReportGraph));
    EXPECT_EQ(Preview()->GetPageCount(), 1u);
    EXPECT_EQ(ItemText(ToolBar(), ID_AFX_PREVIEW_NUMPAGE), L"&Two Page");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(ToolBar(), ID_AFX_PREVIEW_NUMPAGE)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(ToolBar(), ID_AFX_PREVIEW_NEXT)));
    SaveScreenshot(m_pFrame->GetSafeHwnd(), L"preview-graph.png");
    ClickItem(ToolBar(), ID_AFX_PREVIEW_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return m_pFrame->GetActiveView() == m_pView; }));
}

// The pages keep nothing between them: page 3 first gives the same pages.
TEST_F(PreviewTest, TestReportPagesInAnyOrder)
{
    AddTests();
    ASSERT_NO_FATAL_FAILURE(StartPreview(kReportTest));
    CLangPreviewView* p = Preview();
    std::vector<std::vector<std::wstring>> inOrder, reversed;
    for (UINT n : {1u, 3u}) {
        HENHMETAFILE h = p->RenderPage(n);
        ASSERT_NE(h, nullptr);
        inOrder.push_back(MetafileTexts(h));
        ::DeleteEnhMetaFile(h);
    }
    for (UINT n : {3u, 1u}) {
        HENHMETAFILE h = p->RenderPage(n);
        ASSERT_NE(h, nullptr);
        reversed.insert(reversed.begin(), MetafileTexts(h));
        ::DeleteEnhMetaFile(h);
    }
    EXPECT_GT(inOrder[0].size(), 10u);
    EXPECT_EQ(inOrder[0], reversed[0]) << "page 1 differs after page 3";
    EXPECT_EQ(inOrder[1], reversed[1]) << "page 3 differs after page 1";
    EXPECT_FALSE(inOrder[0] == inOrder[1]);
    ClickItem(ToolBar(), ID_AFX_PREVIEW_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return m_pFrame->GetActiveView() == m_pView; }));
}

// Print in the preview closes it and prints the same report through the
// print dialog, here to the PostScript printer on FILE:.
TEST_F(PreviewTest, PrintFromThePreviewPrintsTheSameReport)
{
    class CPrinterAnswer : public CTestAnswerer, public CUiPrintAnswerer {
    public:
        std::wstring strOutput;
        int nAsked = 0;
        INT_PTR AnswerPrintDialog(const CUiPrintDialog&, CUiPrintAnswer& a) override
        {
            ++nAsked;
            a.strPrinter = L"Vudadar PostScript";
            a.strOutputFile = strOutput.c_str();
            return IDOK;
        }
    } answer;
    HDC hPrinter = ::CreateDCW(L"WINSPOOL", L"Vudadar PostScript", nullptr, nullptr);
    ASSERT_NE(hPrinter, nullptr) << "no printer \"Vudadar PostScript\": run tools/add-printer.exe in this prefix";
    ::DeleteDC(hPrinter);
    AddTests();
    ASSERT_NO_FATAL_FAILURE(StartPreview(kReportGraph));
    CScopedAnswerer scoped(answer);
    const std::wstring folder = FolderFromEnvironment(L"VUDADAR_PRINT_OUT", L"printed");
    answer.strOutput = folder + L"preview-print.ps";
    ::DeleteFileW(answer.strOutput.c_str());
    ClickItem(ToolBar(), ID_AFX_PREVIEW_PRINT);
    EXPECT_TRUE(PumpUntil([&] { return answer.nAsked == 1 && m_pFrame->GetActiveView() == m_pView; }, 10000));
    EXPECT_EQ(m_pView->m_nReportType, kReportGraph);
    const std::string text = ReadBytes(answer.strOutput);
    EXPECT_EQ(text.rfind("%!PS-Adobe", 0), 0u) << "nothing printed";
    EXPECT_TRUE(WriteBytes(folder + L"preview-print.expect", "Building Leakage Curve\n"));
}

}  // namespace
