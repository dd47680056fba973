// The print job of the class library: print dialog through the answerer,
// the page loop with its document calls, page ranges, cancel and abort.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Framework.h"
#include "tests/MetafileRecorder.h"
#include "tests/TestSupport.h"

namespace {

// Records the document calls; a call can be made to fail.
class CRecordingSink : public CPrintJobSink {
public:
    std::vector<std::string> calls;
    int nFailStartPage = 0;   // the StartPage call (1-based) that fails; 0 none

    int StartDoc(CDC*, const DOCINFOW* pInfo) override
    {
        calls.push_back("StartDoc");
        docName = pInfo->lpszDocName != nullptr ? pInfo->lpszDocName : L"";
        return 1;
    }
    int StartPage(CDC*) override
    {
        calls.push_back("StartPage");
        return ++nStartPages == nFailStartPage ? -1 : 1;
    }
    int EndPage(CDC*) override
    {
        calls.push_back("EndPage");
        return 1;
    }
    int EndDoc(CDC*) override
    {
        calls.push_back("EndDoc");
        return 1;
    }
    int AbortDoc(CDC*) override
    {
        calls.push_back("AbortDoc");
        return 1;
    }
    std::wstring docName;
    int nStartPages = 0;
};

// Answers the print dialog with a metafile DC and a page range.
class CPrintAnswerer : public CUiAnswerer, public CUiPrintAnswerer {
public:
    INT_PTR nResult = IDOK;
    HDC hDC = nullptr;
    UINT nFrom = 0, nTo = 0;
    CUiPrintDialog shown{0, 0};
    int nAsked = 0;

    int AnswerMessageBox(const wchar_t*, UINT) override
    {
        ADD_FAILURE() << "unexpected message box";
        return IDCANCEL;
    }
    bool AnswerDialog(CDialog*, UINT nID, INT_PTR* pResult) override
    {
        ADD_FAILURE() << "unexpected dialog " << nID;
        *pResult = IDCANCEL;
        return true;
    }
    INT_PTR AnswerFileDialog(const CUiFileDialog&, CString&) override { return IDCANCEL; }
    INT_PTR AnswerPrintDialog(const CUiPrintDialog& dialog, CUiPrintAnswer& answer) override
    {
        ++nAsked;
        shown = dialog;
        answer.hDC = hDC;
        answer.nFromPage = nFrom;
        answer.nToPage = nTo;
        answer.caps = CPageCaps{216, 279, 2550, 3300, 300, 300};
        return nResult;
    }
};

// An answerer that knows nothing of print dialogs.
class CPlainAnswerer : public CUiAnswerer {
public:
    int AnswerMessageBox(const wchar_t*, UINT) override { return IDCANCEL; }
    bool AnswerDialog(CDialog*, UINT, INT_PTR* pResult) override
    {
        *pResult = IDCANCEL;
        return true;
    }
    INT_PTR AnswerFileDialog(const CUiFileDialog&, CString&) override { return IDCANCEL; }
};

class CPrintingView : public CView {
public:
    UINT nPages = 3;
    bool bPrepared = false;
    std::vector<std::string> events;
    std::vector<UINT> printedPages;
    std::vector<int> pageWidths;   // HORZRES as OnPrint sees it through the print info

    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        events.push_back("Prepare");
        pInfo->SetMaxPage(nPages);
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo*) override
    {
        events.push_back(pDC->IsPrinting() ? "Begin(printing)" : "Begin");
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        printedPages.push_back(pInfo->m_nCurPage);
        pageWidths.push_back(pInfo->GetPageCaps(pDC, HORZRES));
        pDC->SetMapMode(MM_TWIPS);
        CString str;
        str.Format(L"page %u", pInfo->m_nCurPage);
        pDC->TextOut(720, -720, str);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { events.push_back("End"); }
};

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_answerer.hDC = m_recorder.Dc().GetSafeHdc();
        m_pPrevious = AfxSetUiAnswerer(&m_answerer);
        m_template.m_pJobSink = &m_sink;
        m_view.m_pPrintInfoTemplate = &m_template;
    }
    void TearDown() override
    {
        AfxSetUiAnswerer(m_pPrevious);
        AfxSetPrintAbortCheck({});
    }

    CMetafileRecorder m_recorder;
    CPrintAnswerer m_answerer;
    CUiAnswerer* m_pPrevious = nullptr;
    CRecordingSink m_sink;
    CPrintInfo m_template;
    CPrintingView m_view;
};

TEST_F(PrintJobTest, AllPagesRunInOrderBetweenTheDocumentCalls)
{
    ASSERT_TRUE(m_recorder.IsReady());
    EXPECT_TRUE(m_view.OnFilePrint());

    EXPECT_EQ(m_answerer.nAsked, 1);
    EXPECT_EQ(m_answerer.shown.nMinPage, 1u);
    EXPECT_EQ(m_answerer.shown.nMaxPage, 3u);
    EXPECT_EQ(m_view.printedPages, (std::vector<UINT>{1, 2, 3}));
    EXPECT_EQ(m_view.events, (std::vector<std::string>{"Prepare", "Begin(printing)", "End"}));
    EXPECT_EQ(m_sink.calls, (std::vector<std::string>{"StartDoc", "StartPage", "EndPage", "StartPage", "EndPage",
                                                      "StartPage", "EndPage", "EndDoc"}));
    // The page the answer stood for, not the metafile's reference screen.
    EXPECT_EQ(m_view.pageWidths, (std::vector<int>{2550, 2550, 2550}));

    const CRecordedDrawing drawing = m_recorder.Finish();
    EXPECT_EQ(drawing.AllText(), L"page 1page 2page 3");
}

TEST_F(PrintJobTest, TheChosenRangeIsHeldToTheDocument)
{
    struct Case {
        UINT nFrom, nTo;
        std::vector<UINT> pages;
    };
    const Case cases[] = {
        {2, 3, {2, 3}},
        {2, 2, {2}},
        {0, 0, {1, 2, 3}},   // All
        {2, 9, {2, 3}},      // past the last page
        {3, 1, {3}},         // To before From
    };
    for (const Case& c : cases) {
        m_view.printedPages.clear();
        m_answerer.nFrom = c.nFrom;
        m_answerer.nTo = c.nTo;
        EXPECT_TRUE(m_view.OnFilePrint());
        EXPECT_EQ(m_view.printedPages, c.pages) << c.nFrom << "-" << c.nTo;
    }
}

TEST_F(PrintJobTest, CancelledOrUnansweredDialogPrintsNothing)
{
    m_answerer.nResult = IDCANCEL;
    EXPECT_FALSE(m_view.OnFilePrint());
    EXPECT_TRUE(m_view.printedPages.empty());
    EXPECT_EQ(m_view.events, (std::vector<std::string>{"Prepare"}));
    EXPECT_TRUE(m_sink.calls.empty());

    // An installed answerer that does not answer print dialogs cancels them:
    // an unattended run never waits for a person.
    CPlainAnswerer plain;
    AfxSetUiAnswerer(&plain);
    EXPECT_FALSE(m_view.OnFilePrint());
    EXPECT_TRUE(m_view.printedPages.empty());
    AfxSetUiAnswerer(&m_answerer);
}

TEST_F(PrintJobTest, AFailedPageOrAnAbortEndsTheDocumentWithAbortDoc)
{
    m_sink.nFailStartPage = 2;
    EXPECT_FALSE(m_view.OnFilePrint());
    EXPECT_EQ(m_view.printedPages, (std::vector<UINT>{1}));
    EXPECT_EQ(m_sink.calls.back(), "AbortDoc");
    EXPECT_EQ(m_view.events.back(), "End");   // the view still ends its printing

    m_sink = CRecordingSink();
    m_view.printedPages.clear();
    int nChecks = 0;
    AfxSetPrintAbortCheck({[](void* p) { return ++*static_cast<int*>(p) > 2; }, &nChecks});
    EXPECT_FALSE(m_view.OnFilePrint());
    EXPECT_EQ(m_view.printedPages, (std::vector<UINT>{1}));
    EXPECT_EQ(m_sink.calls.back(), "AbortDoc");
    EXPECT_EQ(std::count(m_sink.calls.begin(), m_sink.calls.end(), std::string("EndDoc")), 0);
}

TEST_F(PrintJobTest, AJobWithoutAPageCountPrintsOnePage)
{
    struct CUncountedView : CPrintingView {
        BOOL OnPreparePrinting(CPrintInfo* pInfo) override { return DoPreparePrinting(pInfo); }
    } view;
    view.m_pPrintInfoTemplate = &m_template;
    EXPECT_TRUE(view.OnFilePrint());
    EXPECT_EQ(view.printedPages, (std::vector<UINT>{1}));
}

TEST(PrintInfoTest, PageCapsComeFromTheDcUnlessTheJobGivesThem)
{
    CMetafileRecorder recorder;
    ASSERT_TRUE(recorder.IsReady());
    CPrintInfo info;
    EXPECT_EQ(info.GetPageCaps(&recorder.Dc(), HORZRES), recorder.Dc().GetDeviceCaps(HORZRES));
    info.m_PageCaps = CPageCaps{210, 297, 4960, 7016, 600, 600};
    EXPECT_EQ(info.GetPageCaps(&recorder.Dc(), HORZSIZE), 210);
    EXPECT_EQ(info.GetPageCaps(&recorder.Dc(), VERTRES), 7016);
    EXPECT_EQ(info.GetPageCaps(&recorder.Dc(), LOGPIXELSY), 600);
    EXPECT_EQ(info.GetPageCaps(&recorder.Dc(), BITSPIXEL), recorder.Dc().GetDeviceCaps(BITSPIXEL));
    // A preview takes its pages without a dialog.
    struct CView1 : CView {
        void OnDraw(CDC*) override {}
    } view;
    CPlainAnswerer plain;
    CUiAnswerer* pPrevious = AfxSetUiAnswerer(&plain);
    info.m_bPreview = TRUE;
    EXPECT_TRUE(view.DoPreparePrinting(&info));
    info.m_bPreview = FALSE;
    EXPECT_FALSE(view.DoPreparePrinting(&info));
    AfxSetUiAnswerer(pPrevious);
}

}  // namespace
