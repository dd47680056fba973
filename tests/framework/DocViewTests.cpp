// The single-document template with a document, frame and view made from
// their run-time classes and resource 128: creation, caption, layout,
// opening a file, and the frame's closing.
#include <gtest/gtest.h>

#include <string>

#include "framework/DocTemplate.h"
#include "tests/TestSupport.h"
#include "tests/framework/WindowTestSupport.h"

namespace {
// "<document title> - <first field of the document string>", trailing blank included.
std::string ExpectedCaption(const char* pszDocTitle)
{
    std::string strCaption = pszDocTitle;
    strCaption += " - QARSEAL Vudadar Airtightness Test ";
    return strCaption;
}

std::string Caption(CWnd* pWnd)
{
    return pWnd->GetWindowText().ToAnsi();
}

CRect ViewRectInFrame(CView* pView, CFrameWnd* pFrame)
{
    CRect rc;
    pView->GetWindowRect(&rc);
    pFrame->ScreenToClient(&rc);
    return rc;
}

CRect ClientRect(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    return rc;
}

using DocViewTest = DocViewFixture;
}  // namespace

TEST_F(DocViewTest, NewDocumentGetsAFrameAndAViewFillingIt)
{
    CDocument* pDoc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CTestDoc)));
    EXPECT_EQ(m_pTemplate->GetDocument(), pDoc);
    CTestFrame* pFrame = Frame();
    ASSERT_NE(pFrame, nullptr) << "the first frame becomes the main window";
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_NE(pFrame->GetMenu(), nullptr);

    CView* pView = pFrame->GetActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CTestView)));
    EXPECT_EQ(pView->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_EQ(pView->GetParent(), pFrame);
    EXPECT_EQ(pView->GetDocument(), pDoc);
    EXPECT_EQ(pView->GetParentFrame(), pFrame);
    EXPECT_EQ(pFrame->GetActiveDocument(), pDoc);
    POSITION pos = pDoc->GetFirstViewPosition();
    EXPECT_EQ(pDoc->GetNextView(pos), pView);
    EXPECT_EQ(pos, nullptr) << "one view";
    EXPECT_EQ(g_trio.nInitialUpdates, 1);

    EXPECT_EQ(pDoc->GetTitle().ToAnsi(), "Untitled");
    EXPECT_EQ(Caption(pFrame), ExpectedCaption("Untitled"));

    EXPECT_EQ(ViewRectInFrame(pView, pFrame), ClientRect(pFrame));
    pFrame->ShowWindow(SW_RESTORE);
    pFrame->MoveWindow(20, 20, 520, 330);
    EXPECT_EQ(ViewRectInFrame(pView, pFrame), ClientRect(pFrame)) << "the view did not follow the frame's size";
    EXPECT_EQ(ClientRect(pFrame).Width(), ClientRect(pView).Width());
}

TEST_F(DocViewTest, SetTitleChangesTheCaptionAtOnce)
{
    CDocument* pDoc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    pDoc->SetTitle(L"House 12");
    EXPECT_EQ(Caption(Frame()), ExpectedCaption("House 12"));
}

TEST_F(DocViewTest, OpeningAFileReadsItAndNamesTheDocumentAfterIt)
{
    m_app.LoadStdProfileSettings(4);
    std::wstring folder = MakeTempFolder(L"framework-docview");
    std::wstring path = folder + L"house.bld";
    ASSERT_TRUE(WriteBytes(path, "contents"));

    CDocument* pDoc = m_pTemplate->OpenDocumentFile(path.c_str());
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(g_trio.nSerializeLoads, 1);
    EXPECT_EQ(pDoc->GetPathName().CompareNoCase(path.c_str()), 0) << pDoc->GetPathName().ToAnsi();
    EXPECT_EQ(pDoc->GetTitle().ToAnsi(), "house.bld");
    EXPECT_EQ(Caption(Frame()), ExpectedCaption("house.bld"));
    EXPECT_FALSE(pDoc->IsModified());
    // Opened from the shell, the file is a recent file.
    ASSERT_EQ(m_app.GetRecentFileList()->GetSize(), 1);
    EXPECT_EQ((*m_app.GetRecentFileList())[0].CompareNoCase(path.c_str()), 0);

    // A new document reuses the one document and its frame, named anew.
    CFrameWnd* pFrame = Frame();
    EXPECT_EQ(m_pTemplate->OpenDocumentFile(nullptr), pDoc);
    EXPECT_EQ(Frame(), pFrame);
    EXPECT_TRUE(pDoc->GetPathName().IsEmpty());
    EXPECT_EQ(pDoc->GetTitle().ToAnsi(), "Untitled");
    EXPECT_EQ(Caption(pFrame), ExpectedCaption("Untitled"));
}

TEST_F(DocViewTest, MissingFileShowsTheStandardMessageAndLeavesNothing)
{
    const wchar_t* pszMissing = L"C:\\no-such-folder\\missing.bld";
    m_answerer.ReplyToMessage(IDOK, pszMissing);
    EXPECT_EQ(m_pTemplate->OpenDocumentFile(pszMissing), nullptr);
    ASSERT_EQ(m_answerer.messages.size(), 1u);
    EXPECT_NE(m_answerer.messages[0].text.find(L"Failed to open document."), std::wstring::npos);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(m_pTemplate->GetDocument(), nullptr);
    EXPECT_EQ(g_trio.nFramesDeleted, 1);
    EXPECT_EQ(g_trio.nViewsDeleted, 1);
    EXPECT_EQ(g_trio.nDocsDeleted, 1);
    EXPECT_EQ(g_trio.nInitialUpdates, 0);
    EXPECT_FALSE(PumpMessages()) << "a frame that never was the main window asked to quit";
}

TEST_F(DocViewTest, FrameThatCannotMakeItsClientIsDeletedOnce)
{
    g_trio.bFailCreateClient = true;
    EXPECT_EQ(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(g_trio.nFramesDeleted, 1);
    EXPECT_EQ(g_trio.nDocsDeleted, 1);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(m_pTemplate->GetDocument(), nullptr);
}

TEST_F(DocViewTest, ClosingTheMainFrameDeletesFrameAndViewAndQuits)
{
    CDocument* pDoc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    HWND hFrame = *Frame();
    HWND hView = *Frame()->GetActiveView();

    ::SendMessageW(hFrame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_FALSE(::IsWindow(hView));
    EXPECT_EQ(g_trio.nFramesDeleted, 1);
    EXPECT_EQ(g_trio.nViewsDeleted, 1);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    int nExitCode = -1;
    EXPECT_TRUE(PumpMessages(&nExitCode)) << "no quit request for the outer loop";
    EXPECT_EQ(nExitCode, 0);
    // The document belongs to the template and lives on without views.
    EXPECT_EQ(g_trio.nDocsDeleted, 0);
    EXPECT_EQ(m_pTemplate->GetDocument(), pDoc);
    EXPECT_EQ(pDoc->GetFirstViewPosition(), nullptr);
}

TEST_F(DocViewTest, ViewDestroyedOnItsOwnIsNoLongerTheActiveView)
{
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    CTestFrame* pFrame = Frame();
    pFrame->GetActiveView()->DestroyWindow();
    EXPECT_EQ(g_trio.nViewsDeleted, 1);
    EXPECT_EQ(pFrame->GetActiveView(), nullptr);
    EXPECT_EQ(pFrame->GetActiveDocument(), nullptr);
    // Commands still find the frame's own handlers, and none of the view's.
    pFrame->SendMessage(WM_COMMAND, kIdViewOnly);
    pFrame->SendMessage(WM_COMMAND, kIdFrameOnly);
    EXPECT_EQ(g_trio.handled, std::vector<std::string>{"frame " + std::to_string(kIdFrameOnly)});
    pFrame->SendMessage(WM_SETFOCUS);  // passes the focus on to no view
}
