#include "framework/Dc.h"

#include "framework/Wnd.h"

#include <utility>

CDC::~CDC()
{
    DeleteDC();
}

HWND CDC::GetWindowHandle() const
{
    return m_hDC != nullptr ? ::WindowFromDC(m_hDC) : nullptr;
}

bool CDC::Attach(HDC hDC)
{
    if (hDC == nullptr)
        return false;
    if (hDC != m_hDC)
        DeleteDC();
    m_hDC = hDC;
    m_bOwner = false;
    return true;
}

HDC CDC::Detach()
{
    m_bOwner = false;
    return std::exchange(m_hDC, nullptr);
}

bool CDC::CreateCompatibleDC(CDC* pDC)
{
    HDC hDC = ::CreateCompatibleDC(pDC != nullptr ? pDC->GetSafeHdc() : nullptr);
    if (hDC == nullptr)
        return false;
    Attach(hDC);
    m_bOwner = true;
    return true;
}

bool CDC::CreateDC(const wchar_t* pszDriverName, const wchar_t* pszDeviceName, const wchar_t* pszOutput,
                   const DEVMODEW* pInitData)
{
    HDC hDC = ::CreateDCW(pszDriverName, pszDeviceName, pszOutput, pInitData);
    if (hDC == nullptr)
        return false;
    Attach(hDC);
    m_bOwner = true;
    return true;
}

bool CDC::DeleteDC()
{
    HDC hDC = std::exchange(m_hDC, nullptr);
    const bool bOwner = std::exchange(m_bOwner, false);
    if (hDC == nullptr)
        return false;
    return !bOwner || ::DeleteDC(hDC) != FALSE;
}

namespace {
// SelectObject's previous handle, or nullptr when nothing could be selected.
HGDIOBJ SelectHandle(HDC hDC, const CGdiObject* pObject)
{
    if (hDC == nullptr || pObject == nullptr || pObject->GetSafeHandle() == nullptr)
        return nullptr;
    HGDIOBJ hOld = ::SelectObject(hDC, pObject->GetSafeHandle());
    return hOld == HGDI_ERROR ? nullptr : hOld;
}
}  // namespace

CPen* CDC::SelectObject(CPen* pPen)
{
    return CPen::FromHandle(static_cast<HPEN>(SelectHandle(m_hDC, pPen)));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectHandle(m_hDC, pBrush)));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle(static_cast<HFONT>(SelectHandle(m_hDC, pFont)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectHandle(m_hDC, pBitmap)));
}

// Selecting a region answers with a region kind, not a previous object;
// there is nothing to hand back then.
CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (pObject != nullptr && pObject->GetObjectType() == OBJ_REGION) {
        if (m_hDC != nullptr)
            ::SelectObject(m_hDC, pObject->GetSafeHandle());
        return nullptr;
    }
    return CGdiObject::FromHandle(SelectHandle(m_hDC, pObject));
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    HGDIOBJ hStock = ::GetStockObject(nIndex);
    if (m_hDC == nullptr || hStock == nullptr)
        return nullptr;
    HGDIOBJ hOld = ::SelectObject(m_hDC, hStock);
    return CGdiObject::FromHandle(hOld == HGDI_ERROR ? nullptr : hOld);
}

int CDC::SaveDC()
{
    return ::SaveDC(m_hDC);
}

bool CDC::RestoreDC(int nSavedDC)
{
    return ::RestoreDC(m_hDC, nSavedDC) != FALSE;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hDC, nIndex);
}

int CDC::SetMapMode(int nMapMode)
{
    return ::SetMapMode(m_hDC, nMapMode);
}

int CDC::GetMapMode() const
{
    return ::GetMapMode(m_hDC);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint ptOld;
    ::SetViewportOrgEx(m_hDC, x, y, &ptOld);
    return ptOld;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    CPoint ptOld;
    ::SetWindowOrgEx(m_hDC, x, y, &ptOld);
    return ptOld;
}

int CDC::SetBkMode(int nBkMode)
{
    return ::SetBkMode(m_hDC, nBkMode);
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return ::SetBkColor(m_hDC, crColor);
}

COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hDC);
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return ::SetTextColor(m_hDC, crColor);
}

COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hDC);
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    return ::SetTextAlign(m_hDC, nFlags);
}

CPoint CDC::MoveTo(int x, int y)
{
    CPoint ptOld;
    ::MoveToEx(m_hDC, x, y, &ptOld);
    return ptOld;
}

bool CDC::LineTo(int x, int y)
{
    return ::LineTo(m_hDC, x, y) != FALSE;
}

bool CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2) != FALSE;
}

bool CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2) != FALSE;
}

bool CDC::Polygon(const POINT* pPoints, int nCount)
{
    return ::Polygon(m_hDC, pPoints, nCount) != FALSE;
}

bool CDC::Polyline(const POINT* pPoints, int nCount)
{
    return ::Polyline(m_hDC, pPoints, nCount) != FALSE;
}

// An opaque ExtTextOut with no text fills with the background colour: one
// call, no brush to create.
void CDC::FillSolidRect(LPCRECT pRect, COLORREF crColor)
{
    const COLORREF crOld = ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, pRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, crOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor)
{
    const CRect rc(x, y, x + cx, y + cy);
    FillSolidRect(&rc, crColor);
}

void CDC::FillRect(LPCRECT pRect, CBrush* pBrush)
{
    if (pBrush != nullptr)
        ::FillRect(m_hDC, pRect, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

void CDC::FrameRect(LPCRECT pRect, CBrush* pBrush)
{
    if (pBrush != nullptr)
        ::FrameRect(m_hDC, pRect, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

void CDC::Draw3dRect(LPCRECT pRect, COLORREF crTopLeft, COLORREF crBottomRight)
{
    Draw3dRect(pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top, crTopLeft,
               crBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF crTopLeft, COLORREF crBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, crTopLeft);
    FillSolidRect(x, y, 1, cy - 1, crTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, crBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, crBottomRight);
}

bool CDC::DrawIcon(int x, int y, HICON hIcon)
{
    return ::DrawIcon(m_hDC, x, y, hIcon) != FALSE;
}

bool CDC::TextOut(int x, int y, const wchar_t* pszString, int nCount)
{
    if (pszString == nullptr)
        return false;
    if (nCount < 0)
        nCount = static_cast<int>(wcslen(pszString));
    return ::TextOutW(m_hDC, x, y, pszString, nCount) != FALSE;
}

bool CDC::TextOut(int x, int y, const CString& str)
{
    return TextOut(x, y, str.GetString(), str.GetLength());
}

bool CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT pRect, const wchar_t* pszString, UINT nCount,
                     const int* pDxWidths)
{
    return ::ExtTextOutW(m_hDC, x, y, nOptions, pRect, pszString, nCount, pDxWidths) != FALSE;
}

bool CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT pRect, const CString& str, const int* pDxWidths)
{
    return ExtTextOut(x, y, nOptions, pRect, str.GetString(), static_cast<UINT>(str.GetLength()), pDxWidths);
}

int CDC::DrawText(const wchar_t* pszString, int nCount, LPRECT pRect, UINT nFormat)
{
    if (pszString == nullptr)
        return 0;
    return ::DrawTextW(m_hDC, pszString, nCount, pRect, nFormat & ~static_cast<UINT>(DT_MODIFYSTRING));
}

int CDC::DrawText(const CString& str, LPRECT pRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), pRect, nFormat);
}

CSize CDC::GetTextExtent(const wchar_t* pszString, int nCount) const
{
    CSize size;
    if (pszString == nullptr)
        return size;
    if (nCount < 0)
        nCount = static_cast<int>(wcslen(pszString));
    ::GetTextExtentPoint32W(m_hDC, pszString, nCount, &size);
    return size;
}

CSize CDC::GetTextExtent(const CString& str) const
{
    return GetTextExtent(str.GetString(), str.GetLength());
}

bool CDC::GetTextMetrics(LPTEXTMETRICW pMetrics) const
{
    return ::GetTextMetricsW(m_hDC, pMetrics) != FALSE;
}

bool CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->GetSafeHdc() : nullptr, xSrc, ySrc,
                    dwRop) != FALSE;
}

bool CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->GetSafeHdc() : nullptr, xSrc,
                        ySrc, nSrcWidth, nSrcHeight, dwRop) != FALSE;
}

void CDC::TakeSystemDC(HDC hDC)
{
    m_hSystemDC = hDC;
    m_nSavedState = hDC != nullptr ? ::SaveDC(hDC) : 0;
    Attach(hDC);
}

// The DC goes back in the state it came in even if drawing code detached
// it from this object or left saved states of its own on the stack.
HDC CDC::ReturnSystemDC()
{
    HDC hDC = std::exchange(m_hSystemDC, nullptr);
    if (hDC != nullptr && m_nSavedState > 0)
        ::RestoreDC(hDC, m_nSavedState);
    m_nSavedState = 0;
    Detach();
    return hDC;
}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd)
{
    TakeSystemDC(::BeginPaint(hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (ReturnSystemDC() != nullptr)
        ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd)
{
    TakeSystemDC(::GetDC(hWnd));
}

CClientDC::~CClientDC()
{
    if (HDC hDC = ReturnSystemDC())
        ::ReleaseDC(m_hWnd, hDC);
}

CWindowDC::CWindowDC(HWND hWnd) : m_hWnd(hWnd)
{
    TakeSystemDC(::GetWindowDC(hWnd));
}

CWindowDC::~CWindowDC()
{
    if (HDC hDC = ReturnSystemDC())
        ::ReleaseDC(m_hWnd, hDC);
}

CPaintDC::CPaintDC(CWnd* pWnd) : CPaintDC(pWnd->m_hWnd) {}

CClientDC::CClientDC(CWnd* pWnd) : CClientDC(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {}

CWindowDC::CWindowDC(CWnd* pWnd) : CWindowDC(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {}
