// CDC: a device context and the GDI calls made on it.
//
// A CDC only views the HDC it is given with Attach. It owns (and deletes in
// its destructor) a DC it made itself with CreateCompatibleDC or CreateDC.
// CPaintDC, CClientDC and CWindowDC borrow a window's DC from the system for
// one scope; they save the DC's state on taking it and restore it before
// giving it back, so no object selected during the scope stays selected.
#pragma once

#include <windows.h>

#include "framework/GdiObject.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CWnd;

class CDC {
public:
    HDC m_hDC = nullptr;
    // True while drawing for the printer or the print preview.
    bool m_bPrinting = false;

    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    bool IsPrinting() const { return m_bPrinting; }
    // The window the DC belongs to; nullptr for memory and printer DCs.
    HWND GetWindowHandle() const;

    // Views hDC, releasing what this object held before.
    bool Attach(HDC hDC);
    HDC Detach();
    // pDC nullptr: compatible with the screen.
    bool CreateCompatibleDC(CDC* pDC);
    bool CreateDC(const wchar_t* pszDriverName, const wchar_t* pszDeviceName, const wchar_t* pszOutput,
                  const DEVMODEW* pInitData);
    // Deletes a DC this object made; one it only views is let go.
    bool DeleteDC();

    // Each returns the object that was selected before, as a temporary view
    // of the same class (see GdiObject.h); nullptr when pObject is nullptr
    // or has no handle, or when the selection failed.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CGdiObject* SelectStockObject(int nIndex);

    int SaveDC();
    bool RestoreDC(int nSavedDC);

    int GetDeviceCaps(int nIndex) const;
    int SetMapMode(int nMapMode);
    int GetMapMode() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT pt) { return SetWindowOrg(pt.x, pt.y); }

    int SetBkMode(int nBkMode);
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    UINT SetTextAlign(UINT nFlags);

    // Lines and shapes, with the current pen and brush.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    bool LineTo(int x, int y);
    bool LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    bool Rectangle(int x1, int y1, int x2, int y2);
    bool Rectangle(LPCRECT pRect) { return Rectangle(pRect->left, pRect->top, pRect->right, pRect->bottom); }
    bool Ellipse(int x1, int y1, int x2, int y2);
    bool Ellipse(LPCRECT pRect) { return Ellipse(pRect->left, pRect->top, pRect->right, pRect->bottom); }
    bool Polygon(const POINT* pPoints, int nCount);
    bool Polyline(const POINT* pPoints, int nCount);

    // Fills without the current pen or brush. FillSolidRect leaves the
    // background colour as it was.
    void FillSolidRect(LPCRECT pRect, COLORREF crColor);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    void FillRect(LPCRECT pRect, CBrush* pBrush);
    void FrameRect(LPCRECT pRect, CBrush* pBrush);
    // A one-pixel frame: top and left in one colour, bottom and right in the other.
    void Draw3dRect(LPCRECT pRect, COLORREF crTopLeft, COLORREF crBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF crTopLeft, COLORREF crBottomRight);
    bool DrawIcon(int x, int y, HICON hIcon);
    bool DrawIcon(POINT pt, HICON hIcon) { return DrawIcon(pt.x, pt.y, hIcon); }

    // Text. nCount -1 means up to the terminating zero.
    bool TextOut(int x, int y, const wchar_t* pszString, int nCount);
    bool TextOut(int x, int y, const CString& str);
    bool ExtTextOut(int x, int y, UINT nOptions, LPCRECT pRect, const wchar_t* pszString, UINT nCount,
                    const int* pDxWidths);
    bool ExtTextOut(int x, int y, UINT nOptions, LPCRECT pRect, const CString& str, const int* pDxWidths);
    // Returns the height of the text (negative in y-up mapping modes, as
    // DrawText gives it); with DT_CALCRECT, pRect receives the text's extent
    // and nothing is drawn. DT_MODIFYSTRING is ignored: the text is const.
    int DrawText(const wchar_t* pszString, int nCount, LPRECT pRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT pRect, UINT nFormat);
    CSize GetTextExtent(const wchar_t* pszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;
    bool GetTextMetrics(LPTEXTMETRICW pMetrics) const;

    // pSrcDC may be nullptr for raster operations that use no source.
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    bool StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop);

protected:
    // For the DCs borrowed from a window: takes hDC and saves its state.
    void TakeSystemDC(HDC hDC);
    // Restores the state saved by TakeSystemDC and returns the DC to give
    // back to the system (nullptr when none was taken).
    HDC ReturnSystemDC();

private:
    bool m_bOwner = false;
    HDC m_hSystemDC = nullptr;
    int m_nSavedState = 0;
};

// Painting in response to WM_PAINT: BeginPaint/EndPaint for one scope.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hWnd);
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// The client area of a window: GetDC/ReleaseDC for one scope.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hWnd);
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// The whole window, frame included: GetWindowDC/ReleaseDC for one scope.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(HWND hWnd);
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
