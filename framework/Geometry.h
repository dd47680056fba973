// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with arithmetic.
// Each derives from its Win32 struct and adds no data, so a pointer to one
// can be passed wherever the API wants the struct.
#pragma once

#include <windows.h>

#include <cstddef>

class CSize;
class CRect;

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    CPoint(const POINT& pt) : POINT(pt) {}
    explicit CPoint(const SIZE& size) : POINT{size.cx, size.cy} {}

    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(const POINT& pt) { Offset(pt.x, pt.y); }
    void Offset(const SIZE& size) { Offset(size.cx, size.cy); }
    void SetPoint(int newX, int newY) { x = newX; y = newY; }

    bool operator==(const POINT& pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(const POINT& pt) const { return !(*this == pt); }
    CPoint& operator+=(const SIZE& size) { Offset(size); return *this; }
    CPoint& operator-=(const SIZE& size) { Offset(-size.cx, -size.cy); return *this; }
    CPoint& operator+=(const POINT& pt) { Offset(pt); return *this; }
    CPoint& operator-=(const POINT& pt) { Offset(-pt.x, -pt.y); return *this; }

    CPoint operator+(const SIZE& size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(const SIZE& size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator+(const POINT& pt) const { return CPoint(x + pt.x, y + pt.y); }
    // The distance between two points is a size.
    CSize operator-(const POINT& pt) const;
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int initCX, int initCY) : SIZE{initCX, initCY} {}
    CSize(const SIZE& size) : SIZE(size) {}
    explicit CSize(const POINT& pt) : SIZE{pt.x, pt.y} {}

    void SetSize(int newCX, int newCY) { cx = newCX; cy = newCY; }

    bool operator==(const SIZE& size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(const SIZE& size) const { return !(*this == size); }
    CSize& operator+=(const SIZE& size) { cx += size.cx; cy += size.cy; return *this; }
    CSize& operator-=(const SIZE& size) { cx -= size.cx; cy -= size.cy; return *this; }
    CSize operator+(const SIZE& size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(const SIZE& size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

inline CSize CPoint::operator-(const POINT& pt) const
{
    return CSize(x - pt.x, y - pt.y);
}

// Empty means zero or negative width or height; a rectangle's right and
// bottom edges are outside it, as everywhere in GDI.
class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}
    CRect(LPCRECT prc) : RECT(*prc) {}
    CRect(const POINT& topLeft, const SIZE& size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(const POINT& topLeft, const POINT& bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    // The two corners as points that alias left/top and right/bottom, so
    // that rc.TopLeft() = pt moves the corner.
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    bool IsRectEmpty() const { return left >= right || top >= bottom; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const POINT& pt) const
    {
        return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRect(const POINT& topLeft, const POINT& bottomRight)
    {
        SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT prc) { *static_cast<RECT*>(this) = *prc; }
    bool EqualRect(LPCRECT prc) const { return *this == *prc; }

    // Grow (Inflate) or shrink (Deflate) each side outward by the amount
    // given for it; negative amounts do the opposite.
    void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    void InflateRect(const SIZE& size) { InflateRect(size.cx, size.cy); }
    void InflateRect(LPCRECT prc) { InflateRect(prc->left, prc->top, prc->right, prc->bottom); }
    void InflateRect(int l, int t, int r, int b);
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(const SIZE& size) { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(LPCRECT prc) { InflateRect(-prc->left, -prc->top, -prc->right, -prc->bottom); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }

    void OffsetRect(int dx, int dy);
    void OffsetRect(const POINT& pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(const SIZE& size) { OffsetRect(size.cx, size.cy); }
    // Swaps left/right and top/bottom where they are the wrong way round.
    void NormalizeRect();

    // Both store the result in this rectangle. IntersectRect leaves it empty
    // (all zero) and returns false when the two do not overlap; UnionRect
    // ignores empty rectangles and returns false when both are empty.
    bool IntersectRect(LPCRECT prc1, LPCRECT prc2);
    bool UnionRect(LPCRECT prc1, LPCRECT prc2);

    bool operator==(const RECT& rc) const
    {
        return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
    }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    // A point or size moves the rectangle; a RECT inflates (+=) or deflates
    // (-=) each side by its own member.
    CRect& operator+=(const POINT& pt) { OffsetRect(pt); return *this; }
    CRect& operator+=(const SIZE& size) { OffsetRect(size); return *this; }
    CRect& operator+=(LPCRECT prc) { InflateRect(prc); return *this; }
    CRect& operator-=(const POINT& pt) { OffsetRect(-pt.x, -pt.y); return *this; }
    CRect& operator-=(const SIZE& size) { OffsetRect(-size.cx, -size.cy); return *this; }
    CRect& operator-=(LPCRECT prc) { DeflateRect(prc); return *this; }
    CRect& operator&=(const RECT& rc) { IntersectRect(this, &rc); return *this; }
    CRect& operator|=(const RECT& rc) { UnionRect(this, &rc); return *this; }
    CRect operator+(const POINT& pt) const { CRect rc(*this); rc += pt; return rc; }
    CRect operator+(const SIZE& size) const { CRect rc(*this); rc += size; return rc; }
    CRect operator-(const POINT& pt) const { CRect rc(*this); rc -= pt; return rc; }
    CRect operator-(const SIZE& size) const { CRect rc(*this); rc -= size; return rc; }
    CRect operator&(const RECT& rc) const { CRect r; r.IntersectRect(this, &rc); return r; }
    CRect operator|(const RECT& rc) const { CRect r; r.UnionRect(this, &rc); return r; }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

static_assert(sizeof(CPoint) == sizeof(POINT) && sizeof(CSize) == sizeof(SIZE) && sizeof(CRect) == sizeof(RECT));
static_assert(offsetof(RECT, top) == offsetof(RECT, left) + sizeof(LONG) &&
              offsetof(RECT, bottom) == offsetof(RECT, right) + sizeof(LONG),
              "TopLeft/BottomRight alias two LONGs of RECT as a POINT");
