#include "report/TextTable.h"

#include <algorithm>
#include <cstdlib>

#include "report/MarkupText.h"

int CTextTable::Allocate()
{
    // An earlier allocation goes in any case, so that a refused count never
    // meets rows of another size.
    FreeRows();
    if (m_nRows < 1 || m_nRows > kMaxRows || m_nColumns < 1 || m_nColumns > kMaxColumns)
        return 0;
    m_pRowTexts = std::make_unique<CStringArray[]>(static_cast<size_t>(m_nRows));
    m_nAllocatedRows = m_nRows;
    m_nAllocatedColumns = m_nColumns;
    for (int r = 0; r < m_nRows; ++r) {
        m_pRowTexts[r].SetSize(m_nColumns);
        m_dRowFactor[r] = 1.0;
        for (int c = 0; c < m_nColumns; ++c)
            m_nAlign[r][c] = 1;
    }
    for (int c = 0; c < m_nColumns; ++c)
        m_dColumnFraction[c] = 1.0 / m_nColumns;
    return 1;
}

int CTextTable::FreeRows()
{
    if (m_pRowTexts == nullptr)
        return 0;
    m_pRowTexts.reset();
    m_nAllocatedRows = 0;
    m_nAllocatedColumns = 0;
    return 1;
}

void CTextTable::SetColumnAlignment(int nFirstRow, int nColumn, int nAlign)
{
    if (nColumn < 0 || nColumn >= kMaxColumns)
        return;
    for (int r = nFirstRow < 0 ? 0 : nFirstRow; r < m_nRows && r < kMaxRows; ++r)
        m_nAlign[r][nColumn] = nAlign;
}

void CTextTable::SetCell(int nRow, int nColumn, UINT nIDString, const CString& strText, int bBold, int nAlign,
                         int nIndent)
{
    if (m_pRowTexts == nullptr || nRow < 0 || nRow >= m_nAllocatedRows || nColumn < 0 || nColumn >= m_nAllocatedColumns)
        return;
    CString strCell(L' ', nIndent + 1);
    if (nIDString != 0) {
        CString strLoaded;
        strLoaded.LoadString(nIDString);
        strCell += strLoaded;
    } else {
        strCell += strText;
    }
    if (bBold)
        strCell = L"\\bold" + strCell;
    m_pRowTexts[nRow][nColumn] = strCell;
    m_nAlign[nRow][nColumn] = nAlign;
}

int CTextTable::Draw(CDC* pDC)
{
    CRect r = m_rcArea;
    // Without rows (never allocated, or refused) there is no table to draw.
    if (m_pRowTexts == nullptr)
        return r.top;
    CFont* pOldFont = pDC->SelectObject(m_pTitleFont);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);

    CRect rcBlank = r;
    const int u = GetRowUnit(pDC->DrawText(L" ", 1, &rcBlank, DT_CENTER | DT_NOPREFIX));

    // Counts changed after Allocate are held to the rows that exist.
    const int nColumns = std::min(m_nColumns, m_nAllocatedColumns);
    const int nRows = std::min(m_nRows, m_nAllocatedRows);
    int nColumnLeft[kMaxColumns] = {};
    int nColumnWidth[kMaxColumns] = {};
    int x = r.left;
    for (int c = 0; c < nColumns; ++c) {
        nColumnLeft[c] = x;
        nColumnWidth[c] = static_cast<int>(r.Width() * m_dColumnFraction[c]);
        x += nColumnWidth[c];
    }

    CMarkupText markup;
    if (!m_strTitle.IsEmpty()) {
        const CRect rcBand(r.left, r.top, r.right, r.top + (5 * u) / 4);
        r.OffsetRect(0, (5 * u) / 4);
        markup.DrawLine(pDC, rcBand, m_pTitleFont, m_strTitle, CMarkupText::kAlignCentre);
    }

    int nRowTop[kMaxRows + 1] = {};
    r.bottom = r.top;
    for (int i = 0; i < nRows; ++i) {
        nRowTop[i] = r.bottom;
        r.bottom += nRows == 1 ? m_rcArea.Height() : static_cast<int>(u * m_dRowFactor[i]);
    }
    nRowTop[nRows] = r.bottom;

    pDC->Rectangle(&r);
    for (int i = 1; i < nRows; ++i) {
        pDC->MoveTo(r.left, nRowTop[i]);
        pDC->LineTo(r.right, nRowTop[i]);
    }
    for (int c = 1; c < nColumns; ++c) {
        pDC->MoveTo(nColumnLeft[c], r.top);
        pDC->LineTo(nColumnLeft[c], r.bottom);
    }

    const int nMargin = std::abs(u) / 4;
    for (int i = 0; i < nRows; ++i) {
        for (int c = 0; c < nColumns; ++c) {
            CRect rcCell(nColumnLeft[c], nRowTop[i], nColumnLeft[c] + nColumnWidth[c], nRowTop[i + 1]);
            if (m_nAlign[i][c] == CMarkupText::kAlignLeft)
                rcCell.left += nMargin;
            else if (m_nAlign[i][c] == CMarkupText::kAlignRight)
                rcCell.right -= nMargin;
            rcCell.OffsetRect(0, u / 8);
            markup.DrawMultiLine(pDC, rcCell, m_pCellFont, m_pRowTexts[i][c], m_nAlign[i][c]);
        }
    }

    pDC->SetBkMode(nOldMode);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    return r.bottom;
}
