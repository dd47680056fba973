// The mark-up line renderer, recorded on enhanced-metafile DCs: which
// segments it draws, in which font and colour, and where.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/MarkupText.h"
#include "tests/MetafileRecorder.h"

namespace {

CFont MakeArial(int nHeight)
{
    CFont font;
    font.CreateFont(nHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    return font;
}

// Widths as the metafile's reference device (the screen) measures them.
class CMeasure {
public:
    explicit CMeasure(int nMapMode)
    {
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SetMapMode(nMapMode);
    }
    int Width(const std::wstring& text, int nHeight, int nWeight = FW_NORMAL)
    {
        LOGFONTW lf{};
        lf.lfHeight = nHeight;
        lf.lfWeight = nWeight;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
        wcscpy(lf.lfFaceName, L"Arial");
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* pOld = m_dc.SelectObject(&font);
        CRect rc(0, 0, 0, 0);
        m_dc.DrawText(text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
        m_dc.SelectObject(pOld);
        return rc.Width();
    }

private:
    CDC m_dc;
};

struct Segment {
    std::wstring text;
    int nWeight;
    bool bItalic;
    bool bUnderline;
    COLORREF colour;
};

struct SegmentCase {
    const wchar_t* pszMarkup;
    std::vector<Segment> segments;
};

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);

}  // namespace

TEST(MarkupTextTest, KeywordsSwitchTheFontAndColourOfWhatFollows)
{
    const SegmentCase cases[] = {
        {L"plain text", {{L"plain text", 400, false, false, kBlack}}},
        // A backslash that begins no keyword is text.
        {L"a\\qb \\ c", {{L"a\\qb \\ c", 400, false, false, kBlack}}},
        // "\norm" is taken before "\n": weight 400 and the letters, one line.
        {L"\\boldx\\normal", {{L"x", 700, false, false, kBlack}, {L"al", 400, false, false, kBlack}}},
        {L"\\bold  %s word\\ital it", {{L"  %s word", 700, false, false, kBlack}, {L" it", 700, true, false, kBlack}}},
        {L"\\light a\\ul b\\xul c\\ital d\\xital e",
         {{L" a", 300, false, false, kBlack},
          {L" b", 300, false, true, kBlack},
          {L" c", 300, false, false, kBlack},
          {L" d", 300, true, false, kBlack},
          {L" e", 300, false, false, kBlack}}},
        {L"\\colredhot\\colblucold\\colgrnx",
         {{L"hot", 400, false, false, kRed}, {L"cold", 400, false, false, kBlack}, {L"x", 400, false, false, kBlack}}},
        // "\sp" takes two characters as a decimal number: "05" is 5, "3x" is 3, letters 0.
        {L"a\\sp05b\\sp3xc\\spqqd",
         {{L"a", 400, false, false, kBlack},
          {L"     ", 400, false, false, kBlack},
          {L"b", 400, false, false, kBlack},
          {L"   ", 400, false, false, kBlack},
          {L"c", 400, false, false, kBlack},
          {L"", 400, false, false, kBlack},
          {L"d", 400, false, false, kBlack}}},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "markup: " << CString(c.pszMarkup).ToAnsi());
        CMetafileRecorder recorder;
        ASSERT_TRUE(recorder.IsReady());
        CFont font = MakeArial(-16);
        CMarkupText markup;
        markup.DrawLine(&recorder.Dc(), CRect(10, 20, 400, 40), &font, c.pszMarkup, CMarkupText::kAlignLeft);
        const CRecordedDrawing drawing = recorder.Finish();
        // An empty segment may or may not leave an empty text record.
        std::vector<CRecordedText> texts;
        for (const CRecordedText& t : drawing.texts)
            texts.push_back(t);
        std::vector<Segment> expected;
        for (const Segment& s : c.segments)
            if (!s.text.empty())
                expected.push_back(s);
        std::erase_if(texts, [](const CRecordedText& t) { return t.text.empty(); });
        ASSERT_EQ(texts.size(), expected.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(texts[i].text, expected[i].text);
            EXPECT_EQ(texts[i].font.lfWeight, expected[i].nWeight);
            EXPECT_EQ(texts[i].font.lfItalic != 0, expected[i].bItalic);
            EXPECT_EQ(texts[i].font.lfUnderline != 0, expected[i].bUnderline);
            EXPECT_EQ(texts[i].font.lfHeight, -16);
            EXPECT_EQ(texts[i].colour, expected[i].colour);
            if (i > 0) {   // one line, each segment where the one before ended
                EXPECT_EQ(texts[i].pt.y, texts[0].pt.y);
            }
        }
    }
}

TEST(MarkupTextTest, SubscriptAndSuperscriptMoveByTheBaseHeightInTwips)
{
    CMeasure measure(MM_TWIPS);
    CFont font = MakeArial(-200);
    const CRect rc(1000, -1000, 9000, -1400);
    {
        CMetafileRecorder recorder(MM_TWIPS);
        CMarkupText markup;
        markup.DrawLine(&recorder.Dc(), rc, &font, L"q \\sub50 \\reg:", CMarkupText::kAlignLeft);
        const CRecordedDrawing drawing = recorder.Finish();
        const CRecordedText* pQ = drawing.Find(L"q ");
        const CRecordedText* p50 = drawing.Find(L"50 ");
        const CRecordedText* pColon = drawing.Find(L":");
        ASSERT_TRUE(pQ != nullptr && p50 != nullptr && pColon != nullptr) << CString(drawing.AllText().c_str()).ToAnsi();
        EXPECT_EQ(pQ->font.lfHeight, -200);
        EXPECT_EQ(p50->font.lfHeight, -180);
        EXPECT_EQ(pColon->font.lfHeight, -200);
        const int nQ = measure.Width(L"q ", -200);
        EXPECT_EQ(p50->pt.x, pQ->pt.x + nQ - 28);   // 28 twips to the left
        EXPECT_EQ(p50->pt.y, pQ->pt.y - 50);        // 50 twips down (y grows upward)
        EXPECT_EQ(pColon->pt.y, pQ->pt.y);          // back on the base line
        EXPECT_EQ(pColon->pt.x, p50->pt.x + measure.Width(L"50 ", -180));
    }
    {
        CMetafileRecorder recorder(MM_TWIPS);
        CMarkupText markup;
        markup.DrawLine(&recorder.Dc(), rc, &font, L"r \\super2 \\reg", CMarkupText::kAlignLeft);
        const CRecordedDrawing drawing = recorder.Finish();
        const CRecordedText* pR = drawing.Find(L"r ");
        const CRecordedText* p2 = drawing.Find(L"2 ");
        ASSERT_TRUE(pR != nullptr && p2 != nullptr);
        EXPECT_EQ(p2->font.lfHeight, -160);
        EXPECT_EQ(p2->pt.y, pR->pt.y + 25);
        EXPECT_EQ(p2->pt.x, pR->pt.x + measure.Width(L"r ", -200));
    }
}

TEST(MarkupTextTest, SubscriptMovesRightAndDownInPixels)
{
    CMeasure measure(MM_TEXT);
    CFont font = MakeArial(-16);
    CMetafileRecorder recorder;
    CMarkupText markup;
    markup.DrawLine(&recorder.Dc(), CRect(5, 50, 300, 70), &font, L"q\\sub50", CMarkupText::kAlignLeft);
    const CRecordedDrawing drawing = recorder.Finish();
    const CRecordedText* pQ = drawing.Find(L"q");
    const CRecordedText* p50 = drawing.Find(L"50");
    ASSERT_TRUE(pQ != nullptr && p50 != nullptr);
    EXPECT_EQ(pQ->pt.x, 5);
    EXPECT_EQ(pQ->pt.y, 50);
    EXPECT_EQ(p50->pt.x, 5 + measure.Width(L"q", -16) + 2);
    EXPECT_EQ(p50->pt.y, 54);
    EXPECT_EQ(p50->font.lfHeight, -14);   // 0.9 x -16, truncated
}

TEST(MarkupTextTest, AlignmentPlacesTheMeasuredLineAndTheBoundCoversIt)
{
    CMeasure measure(MM_TEXT);
    CFont font = MakeArial(-16);
    const CRect rc(100, 10, 500, 30);
    const std::wstring markup = L"ab\\boldcd";
    const int nWidth = measure.Width(L"ab", -16) + measure.Width(L"cd", -16, FW_BOLD);
    struct AlignCase {
        int nAlign;
        int nLeft;
    } cases[] = {
        {CMarkupText::kAlignLeft, 100},
        {CMarkupText::kAlignCentre, 300 - nWidth / 2},
        {CMarkupText::kAlignRight, 500 - nWidth},
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.nAlign);
        CMetafileRecorder recorder;
        CMarkupText renderer;
        const CRect rcBound = renderer.DrawLine(&recorder.Dc(), rc, &font, markup.c_str(), c.nAlign);
        const CRecordedDrawing drawing = recorder.Finish();
        ASSERT_EQ(drawing.texts.size(), 2u);   // the measuring pass draws nothing
        EXPECT_EQ(drawing.texts[0].pt.x, c.nLeft);
        EXPECT_EQ(drawing.texts[1].pt.x, c.nLeft + measure.Width(L"ab", -16));
        EXPECT_EQ(rcBound.left, c.nLeft);
        EXPECT_EQ(rcBound.right, c.nLeft + nWidth);
        EXPECT_EQ(rcBound.top, 10);
        EXPECT_GT(rcBound.bottom, rcBound.top);
    }
    // A line wider than its rectangle is not clipped: it runs out on the left.
    CMetafileRecorder recorder;
    CMarkupText renderer;
    const CRect rcBound = renderer.DrawLine(&recorder.Dc(), CRect(100, 10, 110, 30), &font, markup.c_str(),
                                            CMarkupText::kAlignRight);
    EXPECT_EQ(rcBound.left, 110 - nWidth);
    EXPECT_EQ(recorder.Finish().texts.size(), 2u);
}

TEST(MarkupTextTest, EmptyTextDrawsNothing)
{
    CFont font = MakeArial(-16);
    CMetafileRecorder recorder;
    CMarkupText renderer;
    const CRect rcBound = renderer.DrawLine(&recorder.Dc(), CRect(40, 50, 60, 77), &font, L"", 1);
    EXPECT_EQ(rcBound, CRect(0, 0, 0, 77));
    EXPECT_TRUE(recorder.Finish().texts.empty());
    EXPECT_EQ(renderer.m_pBaseFont, &font);
}

TEST(MarkupTextTest, NewLineStartsBelowAtTheIndentKeptFromAnEarlierCall)
{
    CMeasure measure(MM_TEXT);
    CFont font = MakeArial(-16);
    CMarkupText renderer;
    {
        CMetafileRecorder recorder;
        renderer.DrawLine(&recorder.Dc(), CRect(20, 100, 400, 120), &font, L"\\indent03x", 0);
        EXPECT_EQ(renderer.m_nIndent, 3);
        recorder.Finish();
    }
    CMetafileRecorder recorder;
    const CRect rcBound = renderer.DrawLine(&recorder.Dc(), CRect(20, 100, 400, 120), &font, L"first\\nsecond", 0);
    const CRecordedDrawing drawing = recorder.Finish();
    const CRecordedText* pFirst = drawing.Find(L"first");
    const CRecordedText* pSecond = drawing.Find(L"second");
    ASSERT_TRUE(pFirst != nullptr && pSecond != nullptr);
    CRect rcLine(0, 0, 0, 0);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CFont* pOld = dc.SelectObject(&font);
        dc.DrawText(L"first", 5, &rcLine, DT_CALCRECT | DT_NOPREFIX);
        dc.SelectObject(pOld);
    }
    EXPECT_EQ(pSecond->pt.x, 20 + 3 * measure.Width(L" ", -16));
    EXPECT_EQ(pSecond->pt.y, 100 + static_cast<int>(0.92 * rcLine.Height()));
    EXPECT_EQ(rcBound.bottom, pSecond->pt.y + rcLine.Height());
}

TEST(MarkupTextTest, TheCallLeavesTheDcsFontAndNoFontOfItsOwn)
{
    CFont font = MakeArial(-16);
    CFont other = MakeArial(-30);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CFont* pBefore = dc.SelectObject(&other);
    ASSERT_NE(pBefore, nullptr);
    dc.SetTextColor(RGB(0, 0, 255));
    const long nLive = CGdiObject::GetLiveObjectCount();
    CMarkupText renderer;
    for (int i = 0; i < 50; ++i)
        renderer.DrawLine(&dc, CRect(0, 0, 300, 20), &font, L"\\boldq \\sub50 \\reg\\colred: \\ital x", i % 3);
    EXPECT_EQ(CGdiObject::GetLiveObjectCount(), nLive);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), other.GetSafeHandle());
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));   // black after a call, whatever it was before
    dc.SelectObject(pBefore);
}

TEST(MarkupTextTest, NextTokenSplitsTextAndKeywords)
{
    CMarkupText renderer;
    CString strRemaining = L"ab\\sub1\\colred";
    CString strSegment = L"old";
    CString strColour = L"blk";
    struct Step {
        int n;
        int nCode;
        const wchar_t* pszSegment;
        const wchar_t* pszRemaining;
    } steps[] = {
        {2, -1, L"ab", L"\\sub1\\colred"},
        {-1, CMarkupText::kSub, L"", L"1\\colred"},
        {1, -1, L"1", L"\\colred"},
        {0, CMarkupText::kColour, L"", L""},
        {0, -1, L"", L""},
    };
    for (const Step& s : steps) {
        const auto [n, nCode] = renderer.NextToken(strRemaining, strSegment, strColour);
        EXPECT_EQ(n, s.n);
        EXPECT_EQ(nCode, s.nCode);
        EXPECT_EQ(strSegment, CString(s.pszSegment));
        EXPECT_EQ(strRemaining, CString(s.pszRemaining));
    }
    EXPECT_EQ(strColour, CString(L"red"));
    // An argument cut short by the end of the text takes what is there.
    strRemaining = L"\\col";
    EXPECT_EQ(renderer.NextToken(strRemaining, strSegment, strColour).second, CMarkupText::kColour);
    EXPECT_EQ(strColour, CString());
    strRemaining = L"\\sp7";
    EXPECT_EQ(renderer.NextToken(strRemaining, strSegment, strColour), std::make_pair(7, 11));
    EXPECT_EQ(strSegment, CString(L"       "));
}
