// The text table: allocation defaults and limits, cell texts, and the grid,
// title band, margins and bottom edge it draws in twips and in pixels; the
// multi-line cells it draws through the mark-up renderer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "report/MarkupText.h"
#include "report/TextTable.h"
#include "tests/MetafileRecorder.h"

namespace {

// The row unit the table uses in a DC: 1.24 times a blank's height.
int RowUnit(CDC& dc, CFont& font, const CRect& rc)
{
    CFont* pOld = dc.SelectObject(&font);
    CRect rcBlank = rc;
    const int nHeight = dc.DrawText(L" ", 1, &rcBlank, DT_CENTER | DT_NOPREFIX);
    dc.SelectObject(pOld);
    return static_cast<int>(1.24 * nHeight);
}

}  // namespace

TEST(TextTableTest, AllocateGivesDefaultsAndRefusesSizesBeyondItsArrays)
{
    CTextTable table;
    EXPECT_EQ(0, table.FreeRows());
    table.m_nRows = 3;
    table.m_nColumns = 4;
    ASSERT_EQ(1, table.Allocate());
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(1.0, table.m_dRowFactor[r]);
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(1, table.m_nAlign[r][c]);
            EXPECT_TRUE(table.m_pRowTexts[r][c].IsEmpty());
        }
    }
    for (int c = 0; c < 4; ++c)
        EXPECT_DOUBLE_EQ(0.25, table.m_dColumnFraction[c]);

    table.SetCell(1, 2, 0, L"Volume", 1, 0, 0);
    EXPECT_EQ(CString(L"\\bold Volume"), table.m_pRowTexts[1][2]);
    EXPECT_EQ(0, table.m_nAlign[1][2]);
    table.SetCell(2, 0, 0, L"x", 0, 2, 2);
    EXPECT_EQ(CString(L"   x"), table.m_pRowTexts[2][0]);
    table.SetColumnAlignment(1, 3, 2);
    EXPECT_EQ(1, table.m_nAlign[0][3]);
    EXPECT_EQ(2, table.m_nAlign[1][3]);
    EXPECT_EQ(2, table.m_nAlign[2][3]);
    EXPECT_EQ(1, table.FreeRows());
    EXPECT_EQ(0, table.FreeRows());

    struct Size {
        int nRows, nColumns;
    };
    for (const Size& s : {Size{0, 1}, Size{50, 1}, Size{1, 0}, Size{1, 18}, Size{49, 17}}) {
        CTextTable other;
        other.m_nRows = s.nRows;
        other.m_nColumns = s.nColumns;
        const int nExpected = s.nRows == 49 ? 1 : 0;
        EXPECT_EQ(nExpected, other.Allocate()) << s.nRows << " x " << s.nColumns;
        EXPECT_EQ(nExpected == 1, other.m_pRowTexts != nullptr);
    }
}

// Columns of 0.6 and 0.4 on 10200 twips: 6120 and 4080; the title band is
// (5u)/4 and each row u x factor; the result is the bottom edge.
TEST(TextTableTest, GridTitleAndBottomInTwips)
{
    CMetafileRecorder recorder(MM_TWIPS);
    ASSERT_TRUE(recorder.IsReady());
    CFont font;
    font.CreateFont(-200, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    const CRect rcArea(1000, -1000, 11200, -5000);
    const int u = RowUnit(recorder.Dc(), font, rcArea);
    ASSERT_LT(u, 0) << "twips run upward";

    CTextTable table;
    table.m_rcArea = rcArea;
    table.m_nRows = 2;
    table.m_nColumns = 2;
    table.m_pTitleFont = &font;
    table.m_pCellFont = &font;
    ASSERT_EQ(1, table.Allocate());
    table.m_dColumnFraction[0] = 0.6;
    table.m_dColumnFraction[1] = 0.4;
    table.m_dRowFactor[1] = 1.5;
    table.m_strTitle = L"\\boldTitle";
    table.m_pRowTexts[0][0] = L"Left";
    table.m_pRowTexts[0][1] = L"Right";
    table.m_nAlign[0][0] = 0;
    table.m_nAlign[0][1] = 2;
    const int nBottom = table.Draw(&recorder.Dc());
    const int nGridTop = rcArea.top + (5 * u) / 4;
    EXPECT_EQ(nGridTop + u + static_cast<int>(u * 1.5), nBottom);

    const CRecordedDrawing drawing = recorder.Finish();
    ASSERT_EQ(1u, drawing.rectangles.size());
    // The metafile keeps the frame ordered from the smaller y.
    EXPECT_EQ(std::min(nGridTop, nBottom), drawing.rectangles[0].rc.top);
    EXPECT_EQ(std::max(nGridTop, nBottom), drawing.rectangles[0].rc.bottom);
    bool bRowRule = false, bColumnRule = false;
    for (const CRecordedLine& line : drawing.lines) {
        bRowRule |= line.from.y == nGridTop + u && line.to.y == nGridTop + u && line.from.x == 1000;
        bColumnRule |= line.from.x == 1000 + 6120 && line.to.x == 1000 + 6120 && line.from.y == nGridTop;
    }
    EXPECT_TRUE(bRowRule);
    EXPECT_TRUE(bColumnRule);

    // Margins of |u|/4: the left text starts right of its column's edge, the
    // right text ends left of the table's edge.
    const CRecordedText* pLeft = drawing.Find(L"Left");
    const CRecordedText* pTitle = drawing.Find(L"Title");
    ASSERT_NE(nullptr, pLeft);
    ASSERT_NE(nullptr, pTitle);
    EXPECT_EQ(1000 + std::abs(u) / 4, pLeft->pt.x);
    EXPECT_EQ(nGridTop + u / 8, pLeft->pt.y);
    EXPECT_EQ(700, pTitle->font.lfWeight);
    EXPECT_GT(pTitle->pt.x, 1000 + 3000) << "the title is centred";
}

TEST(TextTableTest, OneRowTakesTheAreasHeightAndCellsDrawSeveralLines)
{
    CMetafileRecorder recorder;
    ASSERT_TRUE(recorder.IsReady());
    CFont font;
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    CTextTable table;
    table.m_rcArea = CRect(10, 20, 410, 220);
    table.m_nRows = 1;
    table.m_nColumns = 1;
    table.m_dRowFactor[0] = 7.0;
    table.m_pTitleFont = &font;
    table.m_pCellFont = &font;
    ASSERT_EQ(1, table.Allocate());
    table.m_pRowTexts[0][0] = L"first\\n\\nsecond\\normal";
    EXPECT_EQ(220, table.Draw(&recorder.Dc()));
    const CRecordedDrawing drawing = recorder.Finish();
    const CRecordedText* pFirst = drawing.Find(L"first");
    const CRecordedText* pSecond = drawing.Find(L"second");
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_GT(pSecond->pt.y, pFirst->pt.y);
    EXPECT_LT(pSecond->pt.y - pFirst->pt.y, 2 * 20) << "the empty piece between separators is skipped";
    EXPECT_NE(nullptr, drawing.Find(L"al")) << "\\norm is a keyword, not a line break";
}

TEST(MarkupTextTest, MultiLineTextsSplitAtLineBreaksOnly)
{
    struct Case {
        const wchar_t* pszText;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {L"a\\nb", {L"a", L"b"}},
        {L"a\\n\\nb", {L"a", L"b"}},
        {L"a\\n", {L"a", L""}},
        {L"\\normx\\ny", {L"\\normx", L"y"}},
        {L"", {L""}},
        {L"1\\n2\\n3\\n4\\n5\\n6\\n7\\n8\\n9\\n10\\n11\\n12", {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> lines;
        for (const CString& line : CMarkupText::SplitLines(c.pszText))
            lines.push_back(line.GetString());
        EXPECT_EQ(c.lines, lines) << c.pszText;
    }
}
