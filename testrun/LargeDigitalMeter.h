// CLargeDigitalMeter: draws one large digital meter of the test screen (a
// white box with a sunken bevel, its label beside it and its value inside),
// readable from across a room. It keeps no data; the screen keeps the boxes.
#pragma once

#include "framework/Dc.h"

class CLargeDigitalMeter {
public:
    void DrawFrame(CDC* pDC, const CRect& rc);
    // The label beside the box: on its left (right-aligned) or on its right
    // (left-aligned), at dFraction of the box's height.
    void DrawLabel(CDC* pDC, const CRect& rc, const CString& strText, int bLeft, double dFraction);
    void DrawValue(CDC* pDC, const CRect& rc, const CString& strText);

    // Where DrawLabel and DrawValue put their text.
    static CRect GetLabelRect(const CRect& rc, int bLeft);
    static CRect GetValueTextRect(const CRect& rc);
};
