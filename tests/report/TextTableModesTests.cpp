// The text table drawn the same way on a twips page (y up), a pixel screen
// (y down) and a page in hundredths of an inch: every step runs down the
// page by the signed row unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "report/MarkupText.h"
#include "report/TextTable.h"
#include "tests/MetafileRecorder.h"

namespace {

struct TableMode {
    int nMapMode;
    int nFontHeight;
    int nDown;   // +1 where y grows downward
    int nWidth;  // area width
};

class TextTableModes : public ::testing::TestWithParam<TableMode> {};

int TextWidth(CDC& dc, CFont& font, const wchar_t* psz)
{
    CFont* pOld = dc.SelectObject(&font);
    CRect rc(0, 0, 0, 0);
    dc.DrawText(psz, static_cast<int>(wcslen(psz)), &rc, DT_CALCRECT | DT_NOPREFIX);
    dc.SelectObject(pOld);
    return rc.Width();
}

TEST_P(TextTableModes, ColumnsRowsTitleMarginsCellsAndBottom)
{
    const TableMode m = GetParam();
    CMetafileRecorder recorder(m.nMapMode);
    CDC measure;
    measure.CreateCompatibleDC(nullptr);
    measure.SetMapMode(m.nMapMode);
    CFont font;
    font.CreateFont(m.nFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    const CRect rcArea(100, 100 * m.nDown, 100 + m.nWidth, 9000 * m.nDown);

    CFont* pOld = measure.SelectObject(&font);
    CRect rcBlank = rcArea;
    const int u = CTextTable::GetRowUnit(measure.DrawText(L" ", 1, &rcBlank, DT_CENTER | DT_NOPREFIX));
    measure.SelectObject(pOld);
    ASSERT_EQ(m.nDown, u > 0 ? 1 : -1);

    CTextTable table;
    table.m_rcArea = rcArea;
    table.m_nRows = 3;
    table.m_nColumns = 2;
    table.m_pTitleFont = &font;
    table.m_pCellFont = &font;
    table.m_strTitle = L"Title";
    ASSERT_EQ(1, table.Allocate());
    table.m_dColumnFraction[0] = 0.6;
    table.m_dColumnFraction[1] = 0.4;
    table.m_dRowFactor[2] = 2.5;
    table.SetCell(0, 0, 0, L"L", FALSE, CMarkupText::kAlignLeft, 0);
    table.SetCell(0, 1, 0, L"R", FALSE, CMarkupText::kAlignRight, 0);
    table.SetCell(1, 0, 0, L"C", TRUE, CMarkupText::kAlignCentre, 2);
    table.SetCell(5, 0, 0, L"outside", FALSE, 0, 0);   // ignored
    table.SetCell(0, 17, 0, L"outside", FALSE, 0, 0);
    EXPECT_STREQ(L"\\bold   C", table.m_pRowTexts[1][0].GetString());
    EXPECT_STREQ(L" L", table.m_pRowTexts[0][0].GetString());

    const int nBottom = table.Draw(&recorder.Dc());
    const int nGridTop = rcArea.top + (5 * u) / 4;
    EXPECT_EQ(nGridTop + u + u + static_cast<int>(u * 2.5), nBottom);
    const int nColumn0 = static_cast<int>(m.nWidth * 0.6);

    const CRecordedDrawing drawing = recorder.Finish();
    ASSERT_EQ(1u, drawing.rectangles.size());
    EXPECT_EQ(std::min(nGridTop, nBottom), std::min(drawing.rectangles[0].rc.top, drawing.rectangles[0].rc.bottom));
    EXPECT_EQ(std::max(nGridTop, nBottom), std::max(drawing.rectangles[0].rc.top, drawing.rectangles[0].rc.bottom));
    int nRowRules = 0, nColumnRules = 0;
    for (const CRecordedLine& line : drawing.lines) {
        nRowRules += line.from.y == line.to.y && (line.from.y == nGridTop + u || line.from.y == nGridTop + 2 * u);
        nColumnRules += line.from.x == 100 + nColumn0 && line.to.x == 100 + nColumn0 && line.from.y == nGridTop &&
                        line.to.y == nBottom;
    }
    EXPECT_EQ(2, nRowRules);
    EXPECT_EQ(1, nColumnRules);

    const CRecordedText* pTitle = drawing.Find(L"Title");
    const CRecordedText* pL = drawing.Find(L" L");
    const CRecordedText* pR = drawing.Find(L" R");
    const CRecordedText* pC = drawing.Find(L"   C");
    ASSERT_TRUE(pTitle && pL && pR && pC) << CString(drawing.AllText().c_str()).ToAnsi();
    EXPECT_EQ(rcArea.top, pTitle->pt.y);
    EXPECT_NEAR((rcArea.left + rcArea.right) / 2, pTitle->pt.x + TextWidth(measure, font, L"Title") / 2, 1);
    EXPECT_EQ(100 + std::abs(u) / 4, pL->pt.x);
    EXPECT_EQ(nGridTop + u / 8, pL->pt.y);
    EXPECT_EQ(rcArea.right - std::abs(u) / 4, pR->pt.x + TextWidth(measure, font, L" R"));
    CFont bold;
    bold.CreateFont(m.nFontHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    EXPECT_NEAR(100 + nColumn0 / 2, pC->pt.x + TextWidth(measure, bold, L"   C") / 2, 1);
    EXPECT_EQ(nGridTop + u + u / 8, pC->pt.y);
    EXPECT_EQ(700, pC->font.lfWeight);
    EXPECT_EQ(nullptr, drawing.Find(L" outside"));
}

TEST_P(TextTableModes, OneRowFillsTheAreaAndRefusedSizesDrawNothing)
{
    const TableMode m = GetParam();
    CFont font;
    font.CreateFont(m.nFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    const CRect rcArea(0, 50 * m.nDown, m.nWidth, 2050 * m.nDown);
    CTextTable table;
    table.m_rcArea = rcArea;
    table.m_nRows = 1;
    table.m_nColumns = 3;
    table.m_pTitleFont = &font;
    table.m_pCellFont = &font;
    ASSERT_EQ(1, table.Allocate());
    table.m_dRowFactor[0] = 9.0;   // one row takes the area's height whatever its factor
    {
        CMetafileRecorder recorder(m.nMapMode);
        EXPECT_EQ(rcArea.bottom, table.Draw(&recorder.Dc()));
    }

    // A refused size frees the rows allocated before, and nothing is drawn.
    for (auto [nRows, nColumns] : {std::pair{0, 2}, std::pair{50, 2}, std::pair{2, 0}, std::pair{2, 18}}) {
        table.m_nRows = nRows;
        table.m_nColumns = nColumns;
        EXPECT_EQ(0, table.Allocate());
        EXPECT_EQ(nullptr, table.m_pRowTexts);
        table.SetCell(0, 0, 0, L"x", FALSE, 0, 0);
        CMetafileRecorder recorder(m.nMapMode);
        EXPECT_EQ(rcArea.top, table.Draw(&recorder.Dc()));
        const CRecordedDrawing drawing = recorder.Finish();
        EXPECT_TRUE(drawing.rectangles.empty() && drawing.lines.empty() && drawing.texts.empty());
    }
    // Counts raised after Allocate are held to the rows that exist.
    table.m_nRows = 2;
    table.m_nColumns = 2;
    ASSERT_EQ(1, table.Allocate());
    table.m_nRows = 49;
    table.m_nColumns = 17;
    CMetafileRecorder recorder(m.nMapMode);
    table.Draw(&recorder.Dc());
    EXPECT_EQ(1u, recorder.Finish().rectangles.size());
}

INSTANTIATE_TEST_SUITE_P(MappingModes, TextTableModes,
                         ::testing::Values(TableMode{MM_TWIPS, -200, -1, 10200}, TableMode{MM_TEXT, -16, 1, 700},
                                           TableMode{MM_LOENGLISH, -14, -1, 700}),
                         [](const ::testing::TestParamInfo<TableMode>& info) {
                             return info.param.nMapMode == MM_TWIPS   ? std::string("Twips")
                                    : info.param.nMapMode == MM_TEXT ? std::string("Pixels")
                                                                      : std::string("LoEnglish");
                         });

}   // namespace
