#include "framework/GdiObject.h"

#include "framework/Dc.h"

#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <memory>
#include <typeinfo>
#include <utility>

// The calling thread's temporary view objects, one per handle and class, so
// that FromHandle gives the same pointer for the same handle until the map
// is emptied. They never delete a handle; a handle that was deleted and
// whose value comes back later simply gets the old view again.
class CGdiTempMap {
public:
    template <class T>
    static T* Get(HGDIOBJ hObject)
    {
        if (hObject == nullptr)
            return nullptr;
        std::unique_ptr<CGdiObject>& slot = Views()[Key(hObject, &typeid(T))];
        if (!slot)
            slot = std::make_unique<T>();
        // The view may have been emptied by DeleteObject or Detach since.
        slot->AttachView(hObject);
        return static_cast<T*>(slot.get());
    }

    static void Clear() { Views().clear(); }

private:
    using Key = std::pair<HGDIOBJ, const std::type_info*>;

    static std::map<Key, std::unique_ptr<CGdiObject>>& Views()
    {
        thread_local std::map<Key, std::unique_ptr<CGdiObject>> views;
        return views;
    }
};

namespace {

std::atomic<long> g_nLiveGdiObjects{0};

}  // namespace

long CGdiObject::GetLiveObjectCount()
{
    return g_nLiveGdiObjects.load();
}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject::CGdiObject(CGdiObject&& other) noexcept
    : m_hObject(std::exchange(other.m_hObject, nullptr)), m_bOwner(std::exchange(other.m_bOwner, false))
{
}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept
{
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
        m_bOwner = std::exchange(other.m_bOwner, false);
    }
    return *this;
}

bool CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == nullptr)
        return false;
    if (hObject != m_hObject)
        DeleteObject();
    if (!m_bOwner)
        ++g_nLiveGdiObjects;
    m_hObject = hObject;
    m_bOwner = true;
    return true;
}

void CGdiObject::AttachView(HGDIOBJ hObject)
{
    if (hObject != m_hObject)
        DeleteObject();
    else if (m_bOwner)
        --g_nLiveGdiObjects;   // the same handle, no longer ours to delete
    m_hObject = hObject;
    m_bOwner = false;
}

HGDIOBJ CGdiObject::Detach()
{
    if (m_bOwner && m_hObject != nullptr)
        --g_nLiveGdiObjects;
    m_bOwner = false;
    return std::exchange(m_hObject, nullptr);
}

bool CGdiObject::DeleteObject()
{
    HGDIOBJ hObject = std::exchange(m_hObject, nullptr);
    const bool bOwner = std::exchange(m_bOwner, false);
    if (hObject == nullptr)
        return false;
    if (!bOwner)
        return true;
    --g_nLiveGdiObjects;
    return ::DeleteObject(hObject) != FALSE;
}

bool CGdiObject::CreateStockObject(int nIndex)
{
    HGDIOBJ hObject = ::GetStockObject(nIndex);
    if (hObject == nullptr)
        return false;
    AttachView(hObject);
    return true;
}

int CGdiObject::GetObject(int nCount, void* pObject) const
{
    return m_hObject != nullptr ? ::GetObjectW(m_hObject, nCount, pObject) : 0;
}

UINT CGdiObject::GetObjectType() const
{
    return m_hObject != nullptr ? static_cast<UINT>(::GetObjectType(m_hObject)) : 0;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return CGdiTempMap::Get<CGdiObject>(hObject);
}

void CGdiObject::DeleteTempMap()
{
    CGdiTempMap::Clear();
}

bool CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

bool CPen::CreatePenIndirect(const LOGPEN* pLogPen)
{
    return Attach(::CreatePenIndirect(pLogPen));
}

CPen* CPen::FromHandle(HPEN hPen)
{
    return CGdiTempMap::Get<CPen>(hPen);
}

bool CBrush::CreateSolidBrush(COLORREF crColor)
{
    return Attach(::CreateSolidBrush(crColor));
}

// GetSysColorBrush would give a shared system brush that must never be
// deleted; a brush of our own keeps ownership simple.
bool CBrush::CreateSysColorBrush(int nIndex)
{
    return Attach(::CreateSolidBrush(::GetSysColor(nIndex)));
}

bool CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    return Attach(::CreateHatchBrush(nIndex, crColor));
}

bool CBrush::CreateBrushIndirect(const LOGBRUSH* pLogBrush)
{
    return Attach(::CreateBrushIndirect(pLogBrush));
}

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return CGdiTempMap::Get<CBrush>(hBrush);
}

bool CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, const wchar_t* pszFacename)
{
    return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                                pszFacename));
}

bool CFont::CreateFontIndirect(const LOGFONTW* pLogFont)
{
    return Attach(::CreateFontIndirectW(pLogFont));
}

bool CFont::CreatePointFont(int nPointSize, const wchar_t* pszFaceName, CDC* pDC)
{
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (pszFaceName != nullptr)
        wcsncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}

// lfHeight comes in tenths of a point. It is turned into device pixels by
// the DC's vertical resolution and then into logical units through the
// mapping mode, measured as a distance so that it holds for y-up modes too;
// negative asks for the character height rather than the cell height.
bool CFont::CreatePointFontIndirect(const LOGFONTW* pLogFont, CDC* pDC)
{
    HDC hDC = pDC != nullptr ? pDC->GetSafeHdc() : nullptr;
    HDC hScreenDC = hDC == nullptr ? ::GetDC(nullptr) : nullptr;
    if (hDC == nullptr)
        hDC = hScreenDC;
    if (hDC == nullptr)
        return false;
    LOGFONTW lf = *pLogFont;
    POINT pts[2] = {{0, 0}, {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), pLogFont->lfHeight, 720)}};
    ::DPtoLP(hDC, pts, 2);
    lf.lfHeight = -std::abs(pts[1].y - pts[0].y);
    if (hScreenDC != nullptr)
        ::ReleaseDC(nullptr, hScreenDC);
    return CreateFontIndirect(&lf);
}

CFont* CFont::FromHandle(HFONT hFont)
{
    return CGdiTempMap::Get<CFont>(hFont);
}

bool CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return false;
    return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return CGdiTempMap::Get<CBitmap>(hBitmap);
}
