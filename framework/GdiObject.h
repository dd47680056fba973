// CGdiObject and the pens, brushes, fonts and bitmaps derived from it.
//
// An object made with a Create... member or Attach owns its handle and
// deletes it in its destructor. Two kinds only view a handle and never
// delete it: stock objects (CreateStockObject) and the temporary objects
// returned by FromHandle and by CDC::SelectObject.
//
// Temporary objects belong to the calling thread. They stay valid until
// DeleteTempMap is called on that thread (meant for the idle time of its
// message loop), so keep the pointer only for the drawing code at hand:
// CFont* pOld = dc.SelectObject(&font); ... dc.SelectObject(pOld);
#pragma once

#include <windows.h>

class CDC;

class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept;
    CGdiObject& operator=(CGdiObject&& other) noexcept;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    // True when the destructor will delete the handle.
    bool IsOwner() const { return m_bOwner && m_hObject != nullptr; }

    // Takes ownership of hObject, releasing what this object held before.
    bool Attach(HGDIOBJ hObject);
    // Gives the handle up without deleting it; the caller owns it now.
    HGDIOBJ Detach();
    // Deletes an owned handle; a stock or temporary one is only let go.
    bool DeleteObject();
    // A stock object (GetStockObject index), held without being owned.
    bool CreateStockObject(int nIndex);
    int GetObject(int nCount, void* pObject) const;
    // OBJ_PEN, OBJ_BRUSH, ...; 0 for no handle or one that was deleted.
    UINT GetObjectType() const;

    static CGdiObject* FromHandle(HGDIOBJ hObject);
    // Deletes the calling thread's temporary objects (not their handles).
    static void DeleteTempMap();
    // Handles owned by wrapper objects right now, over all threads. Leak
    // tests compare it before and after drawing: Wine gives no count of a
    // process's GDI objects (GetGuiResources returns 0).
    static long GetLiveObjectCount();

protected:
    // Holds hObject as a view: the destructor leaves it alone.
    void AttachView(HGDIOBJ hObject);

    bool m_bOwner = false;

    friend class CGdiTempMap;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    // Creates the pen; check GetSafeHandle() when it matters that it worked.
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    CPen(CPen&&) noexcept = default;
    CPen& operator=(CPen&&) noexcept = default;

    bool CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    bool CreatePenIndirect(const LOGPEN* pLogPen);
    int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    static CPen* FromHandle(HPEN hPen);
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    // Creates a solid brush; check GetSafeHandle() when it matters that it worked.
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    CBrush(CBrush&&) noexcept = default;
    CBrush& operator=(CBrush&&) noexcept = default;

    bool CreateSolidBrush(COLORREF crColor);
    // A solid brush of the system colour's current value, owned like any other.
    bool CreateSysColorBrush(int nIndex);
    bool CreateHatchBrush(int nIndex, COLORREF crColor);
    bool CreateBrushIndirect(const LOGBRUSH* pLogBrush);
    int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    static CBrush* FromHandle(HBRUSH hBrush);
};

class CFont : public CGdiObject {
public:
    CFont() = default;
    CFont(CFont&&) noexcept = default;
    CFont& operator=(CFont&&) noexcept = default;

    bool CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, const wchar_t* pszFacename);
    bool CreateFontIndirect(const LOGFONTW* pLogFont);
    // nPointSize is in tenths of a point. The height is converted to the
    // logical units of pDC (its resolution and mapping mode), or of the
    // screen when pDC is nullptr.
    bool CreatePointFont(int nPointSize, const wchar_t* pszFaceName, CDC* pDC = nullptr);
    bool CreatePointFontIndirect(const LOGFONTW* pLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTW* pLogFont) const { return GetObject(sizeof(LOGFONTW), pLogFont); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    static CFont* FromHandle(HFONT hFont);
};

class CBitmap : public CGdiObject {
public:
    CBitmap() = default;
    CBitmap(CBitmap&&) noexcept = default;
    CBitmap& operator=(CBitmap&&) noexcept = default;

    // A bitmap of pDC's format, for drawing off screen and copying to pDC.
    bool CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitmap) const { return GetObject(sizeof(BITMAP), pBitmap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    static CBitmap* FromHandle(HBITMAP hBitmap);
};
