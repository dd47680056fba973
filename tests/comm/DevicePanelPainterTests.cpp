// The titled group frame of the device panel painter, recorded on an
// enhanced-metafile DC.
#include <gtest/gtest.h>

#include "comm/DevicePanelPainter.h"
#include "tests/MetafileRecorder.h"

TEST(DevicePanelPainterTest, GroupFrameIsAFilledRectangleWithItsCaptionOnTheTopEdge)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    // The text height the frame measures its caption offsets by.
    int nHeight = 0;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        CFont* pOld = dc.SelectObject(&font);
        CRect rc(0, 0, 100, 100);
        nHeight = dc.DrawText(L"XX", 2, &rc, DT_CALCRECT | DT_NOPREFIX);
        dc.SelectObject(pOld);
    }
    ASSERT_GT(nHeight, 0);

    CMetafileRecorder recorder;
    CDC& dc = recorder.Dc();
    const HGDIOBJ hFontBefore = ::GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ hBrushBefore = ::GetCurrentObject(dc, OBJ_BRUSH);
    const long nLive = CGdiObject::GetLiveObjectCount();
    CDevicePanelPainter painter;
    painter.DrawGroupFrame(&dc, CRect(40, 60, 340, 200), L"Flow at \\sub50", &font);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), hFontBefore);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), hBrushBefore);
    EXPECT_EQ(CGdiObject::GetLiveObjectCount(), nLive);
    const CRecordedDrawing drawing = recorder.Finish();

    ASSERT_EQ(drawing.rectangles.size(), 1u);
    EXPECT_EQ(CRect(drawing.rectangles[0].rc), CRect(40, 60, 340, 200));
    EXPECT_EQ(drawing.rectangles[0].brush, ::GetSysColor(COLOR_BTNFACE));

    // The caption is mark-up: a blank on each side, the subscript in the
    // smaller font, starting a quarter height in and half a height up.
    const CRecordedText* pCaption = drawing.Find(L" Flow at ");
    const CRecordedText* pSub = drawing.Find(L"50 ");
    ASSERT_TRUE(pCaption != nullptr && pSub != nullptr) << CString(drawing.AllText().c_str()).ToAnsi();
    EXPECT_EQ(pCaption->pt.x, 40 + nHeight / 4);
    EXPECT_EQ(pCaption->pt.y, 60 - nHeight / 2);
    EXPECT_EQ(pCaption->font.lfHeight, -20);
    EXPECT_EQ(pSub->font.lfHeight, -18);
}
