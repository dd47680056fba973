// The class library's print preview: its page, a start that fails, and a
// view's pages drawn in the preview window and the view back at the end.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/Framework.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

// A view of five pages that notes which pages it drew and on what page.
class CPagesView : public CView {
public:
    std::vector<UINT> printed;
    CPageCaps caps;
    int nBegin = 0, nEnd = 0;

    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(5);
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { ++nBegin; }
    void OnEndPrinting(CDC*, CPrintInfo*) override { ++nEnd; }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        printed.push_back(pInfo->m_nCurPage);
        caps = pInfo->m_PageCaps;
        pDC->SetMapMode(MM_TWIPS);
        pDC->TextOut(720, -720, CString::FormatText(L"Page %u", pInfo->m_nCurPage));
    }
};

using PreviewTest = DocViewFixture;

}  // namespace

// The preview's page is the paper, in pixels of the reference device, so
// that a metafile's device units are the page's pixels.
TEST(PreviewPageTest, PaperInTheReferenceDevicesPixels)
{
    HDC hScreen = ::GetDC(nullptr);
    const double dPerMm = ::GetDeviceCaps(hScreen, HORZRES) / double(::GetDeviceCaps(hScreen, HORZSIZE));
    const CPageCaps caps = AfxGetPreviewPageCaps(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    ASSERT_TRUE(caps.IsSet());
    EXPECT_GT(caps.nVertSize, caps.nHorzSize);
    EXPECT_GT(caps.nHorzSize, 100);   // the default printer's page, or Letter or A4
    EXPECT_NEAR(caps.nHorzRes, caps.nHorzSize * dPerMm, 1.0);
    EXPECT_NEAR(caps.nLogPixelsX, 25.4 * dPerMm, 1.0);
}

TEST_F(PreviewTest, ViewThatCannotPrepareKeepsItsPlace)
{
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    CView* pView = Frame()->GetActiveView();
    ASSERT_NE(pView, nullptr);
    CPrintPreviewState state;
    EXPECT_FALSE(pView->DoPrintPreview(IDD_AFX_PREVIEW_TOOLBAR, pView, RUNTIME_CLASS(CPreviewView), &state));
    EXPECT_EQ(Frame()->GetActiveView(), pView);
    EXPECT_EQ(pView->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_TRUE(pView->IsWindowVisible());
}

TEST_F(PreviewTest, PagesShownAreDrawnAndTheViewComesBack)
{
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    CFrameWnd* pFrame = Frame();
    RECT rc;
    pFrame->GetClientRect(&rc);
    auto* pView = new CPagesView;
    ASSERT_TRUE(pView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rc, pFrame, AFX_IDW_PANE_FIRST + 1));
    auto* pState = new CPrintPreviewState;
    ASSERT_TRUE(pView->DoPrintPreview(IDD_AFX_PREVIEW_TOOLBAR, pView, RUNTIME_CLASS(CPreviewView), pState));
    auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(pView->nBegin, 1);
    EXPECT_FALSE(pView->IsWindowVisible());
    EXPECT_EQ(pPreview->GetPageCount(), 5u);

    pPreview->UpdateWindow();
    EXPECT_EQ(pView->printed, std::vector<UINT>{1});
    EXPECT_TRUE(pView->caps.IsSet());
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    pView->printed.clear();
    pPreview->UpdateWindow();
    EXPECT_EQ(pView->printed, (std::vector<UINT>{2, 3}));
    // Two pages shown from page 4: Next goes no further than the last page.
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(pPreview->GetCurrentPage(), 4u);
    HENHMETAFILE hPage = pPreview->RenderPage(5);
    ASSERT_NE(hPage, nullptr);
    ENHMETAHEADER header{};
    ::GetEnhMetaFileHeader(hPage, sizeof header, &header);
    ::DeleteEnhMetaFile(hPage);
    EXPECT_EQ(header.rclFrame.right, pView->caps.nHorzSize * 100);
    EXPECT_EQ(header.rclFrame.bottom, pView->caps.nVertSize * 100);

    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(pView->nEnd, 1);
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    EXPECT_TRUE(pView->IsWindowVisible());
    EXPECT_EQ(pView->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST + 1));
    pView->DestroyWindow();
}
