#include "framework/Geometry.h"

#include <algorithm>

void CRect::InflateRect(int l, int t, int r, int b)
{
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void CRect::OffsetRect(int dx, int dy)
{
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

// Either argument may be this rectangle itself, so the result is computed
// before anything is stored.
bool CRect::IntersectRect(LPCRECT prc1, LPCRECT prc2)
{
    CRect rc(std::max(prc1->left, prc2->left), std::max(prc1->top, prc2->top),
             std::min(prc1->right, prc2->right), std::min(prc1->bottom, prc2->bottom));
    if (CRect(prc1).IsRectEmpty() || CRect(prc2).IsRectEmpty() || rc.IsRectEmpty()) {
        SetRectEmpty();
        return false;
    }
    *this = rc;
    return true;
}

bool CRect::UnionRect(LPCRECT prc1, LPCRECT prc2)
{
    const bool bEmpty1 = CRect(prc1).IsRectEmpty();
    const bool bEmpty2 = CRect(prc2).IsRectEmpty();
    if (bEmpty1 && bEmpty2) {
        SetRectEmpty();
        return false;
    }
    if (bEmpty1) {
        *this = *prc2;
        return true;
    }
    if (bEmpty2) {
        *this = *prc1;
        return true;
    }
    *this = CRect(std::min(prc1->left, prc2->left), std::min(prc1->top, prc2->top),
                  std::max(prc1->right, prc2->right), std::max(prc1->bottom, prc2->bottom));
    return true;
}
