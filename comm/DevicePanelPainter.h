// CDevicePanelPainter: paints the panels of the device data pages; its
// titled group frame also serves the results page. Holds no state: a local
// object of the code that paints.
#pragma once

#include <vector>

#include "framework/Dc.h"
#include "framework/GdiObject.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CQarCommunications;

// One grid table of a device panel, as CTextTable draws it: first column
// right-aligned labels, every row 1.2 row units high.
struct CPanelTable {
    CRect rcArea;
    int nRows = 0;
    int nColumns = 0;
    std::vector<double> columnFractions;
    CString strTitle;                        // mark-up; empty: none
    std::vector<std::vector<CString>> cells; // [row][column] mark-up
};

struct CPanelLayout {
    int nTextHeight = 0;  // the font's character height in pixels
    std::vector<CPanelTable> tables;
};

class CDevicePanelPainter {
public:
    // A rectangle with the DC's pen, filled with the button-face colour, and
    // the mark-up caption (one blank added on each side) over its top edge.
    // The DC's font and brush are put back.
    void DrawGroupFrame(CDC* pDC, CRect rc, const CString& strCaption, CFont* pFont);

    // The panel of the view's gauge link nLink (0 primary, 1-3 aux) in the
    // client area of the DC's window. The device is identified again and
    // its texts rebuilt first; a link that is not identified shows nothing.
    void DrawDevicePanel(CDC* pDC, int nLink);
    void DrawLinkPanel(CDC* pDC, const CRect& rcClient, CQarCommunications* pLink);

    // Where the tables of a gauge's or a box's panel go and what they show,
    // from the link's display texts, for a client rectangle.
    static CPanelLayout LayoutDevicePanel(const CQarCommunications& link, const CRect& rcClient);
};
