// A job on the program's own page writer (the PDF printer): no print dialog,
// all pages once, each page drawn on the DC the writer gives for it, with the
// writer's page figures; no printer is needed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/Framework.h"
#include "tests/TestSupport.h"

namespace {

class CRecordingWriter : public CPrintPageWriter {
public:
    std::vector<std::string> calls;
    std::vector<HENHMETAFILE> pages;
    HDC BeginJob(CPageCaps& caps) override
    {
        calls.push_back("BeginJob");
        caps = CPageCaps{200, 250, 4000, 5000, 500, 500};
        return NewDC();
    }
    int StartDoc(CDC*, const DOCINFOW*) override { calls.push_back("StartDoc"); return 1; }
    int StartPage(CDC*) override { calls.push_back("StartPage"); return 1; }
    int EndPage(CDC* pDC) override
    {
        calls.push_back("EndPage");
        pages.push_back(::CloseEnhMetaFile(pDC->Detach()));
        pDC->Attach(NewDC());
        return 1;
    }
    int EndDoc(CDC* pDC) override
    {
        calls.push_back("EndDoc");
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(pDC->Detach()));
        return 1;
    }
    int AbortDoc(CDC* pDC) override
    {
        calls.push_back("AbortDoc");
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(pDC->Detach()));
        return 1;
    }
    ~CRecordingWriter() override
    {
        for (HENHMETAFILE h : pages)
            ::DeleteEnhMetaFile(h);
    }

private:
    static HDC NewDC() { return ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr); }
};

class CThreePageView : public CView {
public:
    std::vector<HDC> dcs;
    std::vector<int> horzRes;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(3);
        return DoPreparePrinting(pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        dcs.push_back(pDC->GetSafeHdc());
        horzRes.push_back(pInfo->GetPageCaps(pDC, HORZRES));
        pDC->Rectangle(0, 0, 10, 10);
    }
    void OnDraw(CDC*) override {}
};

TEST(PageWriter, PrintsAllPagesOnTheWritersDcsWithoutADialog)
{
    // An answerer that answers no print dialog: one would cancel the job.
    CTestAnswerer answerer;
    CScopedAnswerer scoped(answerer);
    CRecordingWriter writer;
    CThreePageView view;
    view.m_pPageWriter = &writer;
    ASSERT_TRUE(view.OnFilePrint());
    EXPECT_EQ(writer.calls, (std::vector<std::string>{"BeginJob", "StartDoc", "StartPage", "EndPage", "StartPage",
                                                       "EndPage", "StartPage", "EndPage", "EndDoc"}));
    ASSERT_EQ(view.dcs.size(), 3u);
    EXPECT_EQ(std::set<HDC>(view.dcs.begin(), view.dcs.end()).size(), 3u);
    EXPECT_EQ(view.horzRes, (std::vector<int>{4000, 4000, 4000}));
    EXPECT_EQ(writer.pages.size(), 3u);
    EXPECT_TRUE(answerer.dialogs.empty());

    // Without the writer the same view asks the dialog, which is cancelled.
    view.m_pPageWriter = nullptr;
    EXPECT_FALSE(view.OnFilePrint());
}

}  // namespace
