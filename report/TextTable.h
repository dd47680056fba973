// CTextTable: a ruled grid of mark-up texts with an optional centred title
// band, drawn in the logical units of any mapping mode (MM_TWIPS on report
// pages, MM_TEXT on screen). A local object of the routine that draws it:
// fill the public members, Allocate, set fractions, row factors, alignments
// and cell texts, then Draw.
#pragma once

#include <memory>

#include "framework/Dc.h"
#include "framework/GdiObject.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CTextTable {
public:
    static constexpr int kMaxRows = 49;
    static constexpr int kMaxColumns = 17;

    CTextTable() = default;
    ~CTextTable() = default;
    CTextTable(const CTextTable&) = delete;
    CTextTable& operator=(const CTextTable&) = delete;

    // Rows of empty texts, equal column shares, centred cells, row factors
    // 1.0; 1. Rows allocated before are freed first. A row or column count
    // outside 1 to kMaxRows / kMaxColumns allocates nothing and gives 0 (Draw
    // then draws nothing), so no array is ever written past its end.
    int Allocate();
    // Deletes the row texts; 0 when there were none, else 1.
    int FreeRows();
    // The column's alignment (0 left, 1 centred, 2 right) from nFirstRow down.
    void SetColumnAlignment(int nFirstRow, int nColumn, int nAlign);
    // indent + 1 blanks and the string nIDString (when not 0) or strText;
    // with bBold the whole behind "\bold".
    void SetCell(int nRow, int nColumn, UINT nIDString, const CString& strText, int bBold, int nAlign, int nIndent);
    // Draws title band, frame, grid and cells; returns the y of the bottom
    // edge (the area's top, with nothing drawn, when no rows are allocated).
    int Draw(CDC* pDC);

    // The row unit: 1.24 times the height of a blank in the title font,
    // signed like the mapping mode's y axis.
    static int GetRowUnit(int nTextHeight) { return static_cast<int>(1.24 * nTextHeight); }

    CRect m_rcArea;                // the bottom counts only for a table of one row
    int m_nRows = 0;
    int m_nColumns = 0;
    CFont* m_pTitleFont = nullptr; // not owned
    CFont* m_pCellFont = nullptr;  // not owned
    CString m_strTitle;            // empty: no title band
    std::unique_ptr<CStringArray[]> m_pRowTexts;  // [row][column]
    double m_dColumnFraction[kMaxColumns] = {};
    int m_nAlign[kMaxRows][kMaxColumns] = {};
    double m_dRowFactor[kMaxRows] = {};

private:
    int m_nAllocatedRows = 0;      // the size of m_pRowTexts
    int m_nAllocatedColumns = 0;
};
