// The mark-up renderer's edge cases as one table, each run on a twips page
// (y up) and on a pixel screen (y down): offsets are written as "down" and
// "right" and turned into signed logical units per mapping mode.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "report/MarkupText.h"
#include "tests/MetafileRecorder.h"

namespace {

CFont MakeArialFont(int nHeight)
{
    CFont font;
    font.CreateFont(nHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    return font;
}

// Extents as the metafile's reference device measures them, in the mode.
CRect Extent(int nMapMode, const std::wstring& text, int nHeight)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SetMapMode(nMapMode);
    CFont font = MakeArialFont(nHeight);
    CFont* pOld = dc.SelectObject(&font);
    CRect rc(0, 0, 0, 0);
    dc.DrawText(text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
    dc.SelectObject(pOld);
    return rc;
}

struct ModeCase {
    int nMapMode;
    int h;          // base font height
    int nDown;      // +1 where y grows downward
};

class MarkupTextModes : public ::testing::TestWithParam<ModeCase> {
protected:
    CRecordedDrawing Draw(const wchar_t* pszText, int nAlign, CRect* pBound = nullptr, CMarkupText* pRenderer = nullptr)
    {
        CMetafileRecorder recorder(GetParam().nMapMode);
        CFont font = MakeArialFont(GetParam().h);
        CMarkupText own;
        CMarkupText& renderer = pRenderer != nullptr ? *pRenderer : own;
        const CRect rcBound = renderer.DrawLine(&recorder.Dc(), Area(), &font, pszText, nAlign);
        if (pBound != nullptr)
            *pBound = rcBound;
        return recorder.Finish();
    }
    // 1000 wide, 2 * |h| high, running down the page.
    CRect Area() const
    {
        const int a = std::abs(GetParam().h);
        return CRect(1000, 500 * GetParam().nDown, 1000 + 1000 * a / 10, (500 + 2 * a) * GetParam().nDown);
    }
    int Down(int n) const { return n * GetParam().nDown; }
    int Width(const std::wstring& text, int nHeight) const { return Extent(GetParam().nMapMode, text, nHeight).Width(); }
};

TEST_P(MarkupTextModes, OffsetsKeywordsAndResultsInEachMappingMode)
{
    const int h = GetParam().h;
    const int a = std::abs(h);
    const int nSubRight = GetParam().nMapMode == MM_TEXT ? a / 7 : -(a / 7);

    struct Expect {
        std::wstring text;
        int dx;         // from the end of the segment before
        int dyDown;     // against the first segment, positive downward
        int nHeight;
    };
    struct Case {
        const wchar_t* pszMarkup;
        std::vector<Expect> segments;
    };
    const std::vector<Case> cases = {
        {L"q \\sub50 \\reg:", {{L"q ", 0, 0, h}, {L"50 ", nSubRight, a / 4, static_cast<int>(0.9 * h)}, {L":", 0, 0, h}}},
        {L"r \\super2 \\reg", {{L"r ", 0, 0, h}, {L"2 ", 0, -(a / 8), (4 * h) / 5}}},
        {L"\\normal", {{L"al", 0, 0, h}}},   // weight 400, never a line break
        {L"x\\sp03y", {{L"x", 0, 0, h}, {L"   ", 0, 0, h}, {L"y", 0, 0, h}}},
        // Keywords at the very end take what is there and read no further.
        {L"end\\sp", {{L"end", 0, 0, h}}},
        {L"end\\sp4", {{L"end", 0, 0, h}, {L"    ", 0, 0, h}}},
        {L"end\\col", {{L"end", 0, 0, h}}},
        {L"end\\indent", {{L"end", 0, 0, h}}},
        {L"end\\sub", {{L"end", 0, 0, h}}},
        {L"end\\", {{L"end\\", 0, 0, h}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << CString(c.pszMarkup).ToAnsi());
        const CRecordedDrawing drawing = Draw(c.pszMarkup, CMarkupText::kAlignLeft);
        std::vector<CRecordedText> texts = drawing.texts;
        std::erase_if(texts, [](const CRecordedText& t) { return t.text.empty(); });
        ASSERT_EQ(c.segments.size(), texts.size()) << CString(drawing.AllText().c_str()).ToAnsi();
        ASSERT_EQ(Area().left, texts[0].pt.x);
        ASSERT_EQ(Area().top, texts[0].pt.y);
        for (size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(i);
            const Expect& e = c.segments[i];
            EXPECT_EQ(e.text, texts[i].text);
            EXPECT_EQ(e.nHeight, texts[i].font.lfHeight);
            EXPECT_EQ(texts[0].pt.y + Down(e.dyDown), texts[i].pt.y);
            if (i > 0) {
                EXPECT_EQ(texts[i - 1].pt.x + Width(texts[i - 1].text, texts[i - 1].font.lfHeight) + e.dx, texts[i].pt.x);
            }
        }
    }
}

TEST_P(MarkupTextModes, AlignmentColourEmptyTextAndIndentAcrossCalls)
{
    const int h = GetParam().h;
    const CRect rc = Area();
    const int w = Width(L"abc", h);
    for (int nAlign : {CMarkupText::kAlignLeft, CMarkupText::kAlignCentre, CMarkupText::kAlignRight}) {
        CRect rcBound;
        const CRecordedDrawing drawing = Draw(L"abc", nAlign, &rcBound);
        ASSERT_EQ(1u, drawing.texts.size());
        const int nLeft = nAlign == 0 ? rc.left : nAlign == 1 ? (rc.left + rc.right) / 2 - w / 2 : rc.right - w;
        EXPECT_EQ(nLeft, drawing.texts[0].pt.x) << nAlign;
        EXPECT_EQ(nLeft, rcBound.left);
        EXPECT_EQ(nLeft + w, rcBound.right);
        EXPECT_EQ(rc.top, rcBound.top);
        EXPECT_EQ(Extent(GetParam().nMapMode, L"abc", h).Height(), rcBound.Height());
    }

    const CRecordedDrawing coloured = Draw(L"\\colredhot\\colgrnx", 0);
    ASSERT_EQ(2u, coloured.texts.size());
    EXPECT_EQ(RGB(255, 0, 0), coloured.texts[0].colour);
    EXPECT_EQ(RGB(0, 0, 0), coloured.texts[1].colour);

    CRect rcEmpty;
    EXPECT_TRUE(Draw(L"", 1, &rcEmpty).texts.empty());
    EXPECT_EQ(CRect(0, 0, 0, rc.bottom), rcEmpty);

    CMarkupText renderer;
    Draw(L"\\indent03", 0, nullptr, &renderer);
    CRect rcBound;
    const CRecordedDrawing lines = Draw(L"one\\ntwo", 0, &rcBound, &renderer);
    const CRecordedText* pTwo = lines.Find(L"two");
    ASSERT_NE(nullptr, pTwo);
    const int nLine = Extent(GetParam().nMapMode, L"one", h).Height();
    EXPECT_EQ(rc.left + 3 * Width(L" ", h), pTwo->pt.x);
    EXPECT_EQ(rc.top + static_cast<int>(0.92 * nLine), pTwo->pt.y);
    EXPECT_EQ(pTwo->pt.y + nLine, rcBound.bottom);
}

TEST_P(MarkupTextModes, MultiLineTextsRunDownThePageAndStopAtTen)
{
    const int h = GetParam().h;
    const int nLine = Extent(GetParam().nMapMode, L"L", h).Height();   // signed like the y axis
    struct Case {
        const wchar_t* pszText;
        std::vector<std::wstring> lines;
    };
    const std::vector<Case> cases = {
        {L"A\\n\\nB", {L"A", L"B"}},
        {L"A\\nB\\n", {L"A", L"B", L""}},
        {L"0\\n1\\n2\\n3\\n4\\n5\\n6\\n7\\n8\\n9\\n10\\n11", {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << CString(c.pszText).ToAnsi());
        EXPECT_EQ(c.lines.size(), CMarkupText::SplitLines(c.pszText).size());
        CMetafileRecorder recorder(GetParam().nMapMode);
        CFont font = MakeArialFont(h);
        CMarkupText renderer;
        renderer.DrawMultiLine(&recorder.Dc(), Area(), &font, c.pszText, CMarkupText::kAlignLeft);
        std::vector<CRecordedText> texts = recorder.Finish().texts;
        std::erase_if(texts, [](const CRecordedText& t) { return t.text.empty(); });
        size_t nDrawn = 0;
        for (const std::wstring& line : c.lines)
            nDrawn += line.empty() ? 0 : 1;
        ASSERT_EQ(nDrawn, texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(c.lines[i], texts[i].text);
            EXPECT_EQ(Area().top + static_cast<int>(i) * nLine, texts[i].pt.y) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MappingModes, MarkupTextModes,
                         ::testing::Values(ModeCase{MM_TWIPS, -200, -1}, ModeCase{MM_TEXT, -16, 1},
                                           ModeCase{MM_LOENGLISH, -14, -1}),
                         [](const ::testing::TestParamInfo<ModeCase>& info) {
                             return info.param.nMapMode == MM_TWIPS   ? std::string("Twips")
                                    : info.param.nMapMode == MM_TEXT ? std::string("Pixels")
                                                                      : std::string("LoEnglish");
                         });

}   // namespace
