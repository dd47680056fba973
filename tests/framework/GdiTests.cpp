// CPoint/CSize/CRect, the GDI object owners and views, and CDC with its
// scoped window DCs. Drawing is checked on the pixels of a DIB section;
// leaks are checked by the process's GDI object count.
#include <gtest/gtest.h>

#include "framework/Dc.h"
#include "framework/GdiObject.h"
#include "framework/Geometry.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Show(const RECT& rc)
{
    char sz[64];
    snprintf(sz, sizeof sz, "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}

// The GDI objects this process holds. Windows counts them with
// GetGuiResources; Wine leaves that unimplemented (it returns 0), but maps
// the process's GDI handle table where the PEB's GdiSharedHandleTable
// points, in the Windows x64 layout: 24-byte entries whose type byte is
// zero for a free slot.
int GdiObjectCount()
{
    const DWORD nCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (nCount != 0)
        return static_cast<int>(nCount);
#if defined(_WIN64)
    // The PEB comes from NtQueryInformationProcess: GCC 12 takes the
    // segment read inside NtCurrentTeb for an out-of-bounds access.
    struct BasicInformation {
        LONG_PTR exitStatus;
        const uint8_t* pPeb;
        ULONG_PTR affinityMask;
        LONG_PTR basePriority;
        ULONG_PTR uniqueProcessId;
        ULONG_PTR parentProcessId;
    };
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto pfnQuery = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation info{};
    if (pfnQuery == nullptr || pfnQuery(GetCurrentProcess(), 0, &info, sizeof info, nullptr) != 0 ||
        info.pPeb == nullptr)
        return -1;
    struct HandleEntry {
        uint64_t kernelObject;
        uint32_t owner;
        uint16_t extType;
        uint8_t type;
        uint8_t generation;
        uint64_t userPointer;
    };
    static_assert(sizeof(HandleEntry) == 24);
    const auto* pTable = *reinterpret_cast<const HandleEntry* const*>(info.pPeb + 0xF8);
    if (pTable == nullptr)
        return -1;
    int n = 0;
    for (int i = 0; i < 0x10000; ++i)
        n += pTable[i].type != 0 ? 1 : 0;
    return n;
#else
    return -1;
#endif
}

// A memory DC drawing into a 32-bit top-down DIB section whose pixels the
// test reads back; white to begin with.
class CDibCanvas {
public:
    CDibCanvas(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight)
    {
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = nWidth;
        bmi.bmiHeader.biHeight = -nHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        EXPECT_TRUE(bitmap.Attach(CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0)));
        m_pBits = static_cast<const uint32_t*>(pBits);
        m_hOldBitmap = static_cast<HBITMAP>(dc.SelectObject(&bitmap)->GetSafeHandle());
        Clear();
    }
    ~CDibCanvas() { dc.SelectObject(CBitmap::FromHandle(m_hOldBitmap)); }

    void Clear(COLORREF cr = RGB(255, 255, 255)) { dc.FillSolidRect(0, 0, m_nWidth, m_nHeight, cr); }

    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        const uint32_t v = m_pBits[y * m_nWidth + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    // The smallest rectangle holding every pixel that is not crBackground,
    // and how many there are.
    CRect ChangedArea(int* pnChanged = nullptr, COLORREF crBackground = RGB(255, 255, 255)) const
    {
        CRect rc(m_nWidth, m_nHeight, 0, 0);
        int n = 0;
        for (int y = 0; y < m_nHeight; ++y)
            for (int x = 0; x < m_nWidth; ++x)
                if (Pixel(x, y) != crBackground) {
                    ++n;
                    rc.SetRect(std::min<int>(rc.left, x), std::min<int>(rc.top, y), std::max<int>(rc.right, x + 1),
                               std::max<int>(rc.bottom, y + 1));
                }
        if (pnChanged != nullptr)
            *pnChanged = n;
        return n > 0 ? rc : CRect();
    }

    std::vector<uint32_t> Pixels() const
    {
        GdiFlush();
        return std::vector<uint32_t>(m_pBits, m_pBits + m_nWidth * m_nHeight);
    }

    CBitmap bitmap;
    CDC dc;

private:
    int m_nWidth;
    int m_nHeight;
    const uint32_t* m_pBits = nullptr;
    HBITMAP m_hOldBitmap = nullptr;
};

bool CreateArial(CFont& font, int nHeight, int nWeight = FW_NORMAL)
{
    return font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
}

bool IsLive(HGDIOBJ h)
{
    return GetObjectType(h) != 0;
}

}  // namespace

// ---------------------------------------------------------------- geometry

TEST(GeometryTest, RectOperationsGiveTheExpectedRectangle)
{
    struct Case {
        const char* name;
        std::function<void(CRect&)> apply;
        CRect expected;
    };
    const CRect start(10, 20, 30, 40);
    const Case cases[] = {
        {"InflateRect(dx,dy)", [](CRect& rc) { rc.InflateRect(2, 3); }, CRect(8, 17, 32, 43)},
        {"InflateRect(SIZE)", [](CRect& rc) { rc.InflateRect(CSize(2, 3)); }, CRect(8, 17, 32, 43)},
        {"InflateRect(RECT)", [](CRect& rc) { rc.InflateRect(CRect(1, 2, 3, 4)); }, CRect(9, 18, 33, 44)},
        {"InflateRect(l,t,r,b)", [](CRect& rc) { rc.InflateRect(1, 2, 3, 4); }, CRect(9, 18, 33, 44)},
        {"DeflateRect(dx,dy)", [](CRect& rc) { rc.DeflateRect(2, 3); }, CRect(12, 23, 28, 37)},
        {"DeflateRect(SIZE)", [](CRect& rc) { rc.DeflateRect(CSize(2, 3)); }, CRect(12, 23, 28, 37)},
        {"DeflateRect(RECT)", [](CRect& rc) { rc.DeflateRect(CRect(1, 2, 3, 4)); }, CRect(11, 22, 27, 36)},
        {"DeflateRect(l,t,r,b)", [](CRect& rc) { rc.DeflateRect(1, 2, 3, 4); }, CRect(11, 22, 27, 36)},
        {"DeflateRect past empty", [](CRect& rc) { rc.DeflateRect(15, 0); }, CRect(25, 20, 15, 40)},
        {"OffsetRect(dx,dy)", [](CRect& rc) { rc.OffsetRect(5, -25); }, CRect(15, -5, 35, 15)},
        {"OffsetRect(POINT)", [](CRect& rc) { rc.OffsetRect(CPoint(5, -25)); }, CRect(15, -5, 35, 15)},
        {"OffsetRect(SIZE)", [](CRect& rc) { rc.OffsetRect(CSize(5, -25)); }, CRect(15, -5, 35, 15)},
        {"+= POINT", [](CRect& rc) { rc += CPoint(1, 2); }, CRect(11, 22, 31, 42)},
        {"-= SIZE", [](CRect& rc) { rc -= CSize(1, 2); }, CRect(9, 18, 29, 38)},
        {"+= RECT inflates", [](CRect& rc) { rc += CRect(1, 2, 3, 4); }, CRect(9, 18, 33, 44)},
        {"-= RECT deflates", [](CRect& rc) { rc -= CRect(1, 2, 3, 4); }, CRect(11, 22, 27, 36)},
        {"+ SIZE", [](CRect& rc) { rc = rc + CSize(-10, -20); }, CRect(0, 0, 20, 20)},
        {"&= overlapping", [](CRect& rc) { rc &= CRect(25, 0, 50, 30); }, CRect(25, 20, 30, 30)},
        {"&= touching only", [](CRect& rc) { rc &= CRect(30, 20, 50, 40); }, CRect(0, 0, 0, 0)},
        {"|= disjoint", [](CRect& rc) { rc |= CRect(40, 0, 50, 5); }, CRect(10, 0, 50, 40)},
        {"|= empty ignored", [](CRect& rc) { rc |= CRect(0, 0, 0, 100); }, CRect(10, 20, 30, 40)},
        {"NormalizeRect flipped", [](CRect& rc) { rc.SetRect(30, 40, 10, 20); rc.NormalizeRect(); },
         CRect(10, 20, 30, 40)},
        {"NormalizeRect x only", [](CRect& rc) { rc.SetRect(30, 20, 10, 40); rc.NormalizeRect(); },
         CRect(10, 20, 30, 40)},
        {"SetRect(POINT,POINT)", [](CRect& rc) { rc.SetRect(CPoint(1, 2), CPoint(3, 4)); }, CRect(1, 2, 3, 4)},
        {"SetRectEmpty", [](CRect& rc) { rc.SetRectEmpty(); }, CRect(0, 0, 0, 0)},
        {"TopLeft() = pt", [](CRect& rc) { rc.TopLeft() = CPoint(0, 5); }, CRect(0, 5, 30, 40)},
        {"BottomRight() = pt", [](CRect& rc) { rc.BottomRight() = CPoint(50, 60); }, CRect(10, 20, 50, 60)},
        {"BottomRight() += size", [](CRect& rc) { rc.BottomRight() += CSize(1, 1); }, CRect(10, 20, 31, 41)},
        {"IntersectRect with itself as source",
         [](CRect& rc) { rc.IntersectRect(rc, CRect(0, 30, 20, 100)); }, CRect(10, 30, 20, 40)},
        {"UnionRect with itself as source", [](CRect& rc) { rc.UnionRect(CRect(0, 0, 1, 1), rc); },
         CRect(0, 0, 30, 40)},
    };
    for (const Case& c : cases) {
        CRect rc = start;
        c.apply(rc);
        EXPECT_EQ(rc, c.expected) << c.name << ": got " << Show(rc) << ", expected " << Show(c.expected);
    }
}

TEST(GeometryTest, RectMeasuresAndTests)
{
    const CRect rc(10, 20, 30, 60);
    EXPECT_EQ(rc.Width(), 20);
    EXPECT_EQ(rc.Height(), 40);
    EXPECT_EQ(rc.Size(), CSize(20, 40));
    EXPECT_EQ(rc.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(rc.BottomRight(), CPoint(30, 60));
    EXPECT_EQ(rc.CenterPoint(), CPoint(20, 40));
    EXPECT_EQ(CRect(CPoint(10, 20), CSize(20, 40)), rc);
    EXPECT_EQ(CRect(CPoint(10, 20), CPoint(30, 60)), rc);
    EXPECT_NE(rc, CRect(10, 20, 30, 61));

    // Right and bottom edges lie outside, as everywhere in GDI.
    EXPECT_TRUE(rc.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(rc.PtInRect(CPoint(29, 59)));
    EXPECT_FALSE(rc.PtInRect(CPoint(30, 40)));
    EXPECT_FALSE(rc.PtInRect(CPoint(20, 60)));
    EXPECT_FALSE(rc.PtInRect(CPoint(9, 40)));

    EXPECT_FALSE(rc.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 10, 5).IsRectEmpty());
    EXPECT_TRUE(CRect(10, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_FALSE(CRect(5, 5, 5, 5).IsRectNull());
}

// Our IntersectRect and UnionRect must agree with user32's, including the
// return value and the empty cases, for rectangles that overlap, touch,
// nest, are empty or inside out.
TEST(GeometryTest, IntersectAndUnionAgreeWithUser32)
{
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> coordinate(-5, 5);
    auto next = [&] { return CRect(coordinate(random), coordinate(random), coordinate(random), coordinate(random)); };
    for (int i = 0; i < 2000; ++i) {
        const CRect a = next();
        const CRect b = next();
        CRect ours(1, 2, 3, 4);
        RECT theirs{1, 2, 3, 4};
        const bool bOurs = ours.IntersectRect(a, b);
        const bool bTheirs = ::IntersectRect(&theirs, a, b) != FALSE;
        ASSERT_EQ(bOurs, bTheirs) << "intersect " << Show(a) << " " << Show(b);
        ASSERT_EQ(ours, theirs) << "intersect " << Show(a) << " " << Show(b);

        ours.SetRect(1, 2, 3, 4);
        theirs = RECT{1, 2, 3, 4};
        const bool bOursU = ours.UnionRect(a, b);
        const bool bTheirsU = ::UnionRect(&theirs, a, b) != FALSE;
        ASSERT_EQ(bOursU, bTheirsU) << "union " << Show(a) << " " << Show(b);
        ASSERT_EQ(ours, theirs) << "union " << Show(a) << " " << Show(b);
    }
}

TEST(GeometryTest, PointAndSizeArithmetic)
{
    CPoint pt(3, 4);
    pt += CSize(1, 1);
    EXPECT_EQ(pt, CPoint(4, 5));
    pt -= CPoint(4, 5);
    EXPECT_EQ(pt, CPoint(0, 0));
    pt.Offset(-2, 7);
    EXPECT_EQ(pt, CPoint(-2, 7));
    EXPECT_EQ(CPoint(10, 10) - CPoint(4, 3), CSize(6, 7));
    EXPECT_EQ(CPoint(10, 10) - CSize(4, 3), CPoint(6, 7));
    EXPECT_EQ(CPoint(1, 2) + CSize(3, 4), CPoint(4, 6));
    EXPECT_EQ(-CPoint(1, -2), CPoint(-1, 2));
    EXPECT_NE(CPoint(1, 2), CPoint(2, 1));

    CSize size(5, 6);
    size += CSize(1, 2);
    EXPECT_EQ(size, CSize(6, 8));
    size -= CSize(6, 8);
    EXPECT_EQ(size, CSize(0, 0));
    EXPECT_EQ(CSize(1, 2) + CSize(3, 4) - CSize(1, 1), CSize(3, 5));

    // The structs pass straight to Win32.
    CRect rc(0, 0, 10, 10);
    ::InflateRect(rc, 1, 2);
    EXPECT_EQ(rc, CRect(-1, -2, 11, 12));
    CPoint ptWin(5, 5);
    EXPECT_TRUE(::PtInRect(rc, ptWin));
}

// ------------------------------------------------------------ GDI objects

TEST(GdiObjectTest, OwnerDeletesAndDetachKeepsTheHandle)
{
    HGDIOBJ hDeleted = nullptr;
    HGDIOBJ hKept = nullptr;
    {
        CPen pen(PS_SOLID, 2, RGB(255, 0, 0));
        hDeleted = pen.GetSafeHandle();
        ASSERT_TRUE(IsLive(hDeleted));
        EXPECT_TRUE(pen.IsOwner());
        EXPECT_EQ(pen.GetObjectType(), static_cast<UINT>(OBJ_PEN));

        CBrush brush(RGB(0, 0, 255));
        hKept = brush.Detach();
        EXPECT_EQ(brush.GetSafeHandle(), nullptr);
        EXPECT_FALSE(brush.IsOwner());
    }
    EXPECT_FALSE(IsLive(hDeleted));
    ASSERT_TRUE(IsLive(hKept));
    EXPECT_TRUE(::DeleteObject(hKept));
}

TEST(GdiObjectTest, AttachAndCreateReleaseWhatWasHeldBefore)
{
    const int nBefore = GdiObjectCount();
    HGDIOBJ hFirst = nullptr;
    HGDIOBJ hAttached = CreateSolidBrush(RGB(1, 2, 3));
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(9, 9, 9)));
        hFirst = brush.GetSafeHandle();
        ASSERT_TRUE(brush.Attach(hAttached));
        EXPECT_FALSE(IsLive(hFirst));
        EXPECT_TRUE(brush.IsOwner());
        ASSERT_TRUE(brush.CreateHatchBrush(HS_CROSS, RGB(0, 0, 0)));
        EXPECT_FALSE(IsLive(hAttached));
        LOGBRUSH lb{};
        ASSERT_EQ(brush.GetLogBrush(&lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
        EXPECT_FALSE(brush.Attach(nullptr));
        EXPECT_TRUE(IsLive(brush.GetSafeHandle()));
    }
    EXPECT_EQ(GdiObjectCount(), nBefore);
}

TEST(GdiObjectTest, DeleteObjectFreesTheHandleOnce)
{
    CPen pen;
    EXPECT_FALSE(pen.DeleteObject());
    ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
    HGDIOBJ h = pen;
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_FALSE(IsLive(h));
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
    EXPECT_FALSE(pen.DeleteObject());
    EXPECT_EQ(pen.GetObjectType(), 0u);
}

TEST(GdiObjectTest, StockObjectsAreNeverOwned)
{
    const HGDIOBJ hStock = GetStockObject(WHITE_BRUSH);
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateStockObject(WHITE_BRUSH));
        EXPECT_EQ(brush.GetSafeHandle(), hStock);
        EXPECT_FALSE(brush.IsOwner());
        CFont font;
        ASSERT_TRUE(font.CreateStockObject(DEFAULT_GUI_FONT));
        EXPECT_FALSE(font.IsOwner());
        // A stock object taken over by a created one is not deleted either.
        CPen pen;
        ASSERT_TRUE(pen.CreateStockObject(BLACK_PEN));
        ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, RGB(1, 1, 1)));
        EXPECT_TRUE(pen.IsOwner());
        EXPECT_TRUE(brush.DeleteObject());
        EXPECT_EQ(brush.GetSafeHandle(), nullptr);
    }
    EXPECT_EQ(GetObjectType(hStock), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), hStock);
    EXPECT_FALSE(CBrush().CreateStockObject(-1));
}

TEST(GdiObjectTest, MovingTransfersOwnership)
{
    CFont a;
    ASSERT_TRUE(CreateArial(a, -12));
    const HGDIOBJ hA = a;
    CFont b(std::move(a));
    EXPECT_EQ(a.GetSafeHandle(), nullptr);
    EXPECT_EQ(b.GetSafeHandle(), hA);
    EXPECT_TRUE(b.IsOwner());

    CFont c;
    ASSERT_TRUE(CreateArial(c, -14));
    const HGDIOBJ hC = c;
    c = std::move(b);
    EXPECT_FALSE(IsLive(hC));
    EXPECT_EQ(c.GetSafeHandle(), hA);
    EXPECT_TRUE(IsLive(hA));
    c = CFont();
    EXPECT_FALSE(IsLive(hA));
}

// Each step names the change of the live count it must make: only handles a
// wrapper owns count, and each leaves the count exactly once.
TEST(GdiObjectTest, LiveObjectCountFollowsOwnership)
{
    const long nStart = CGdiObject::GetLiveObjectCount();
    auto live = [nStart] { return CGdiObject::GetLiveObjectCount() - nStart; };
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        EXPECT_EQ(live(), 1);
        CPen moved(std::move(pen));
        EXPECT_EQ(live(), 1);
        ASSERT_TRUE(moved.CreatePen(PS_DOT, 1, RGB(1, 1, 1)));   // the old one is deleted
        EXPECT_EQ(live(), 1);

        const HGDIOBJ hLoose = moved.Detach();
        EXPECT_EQ(live(), 0);
        CPen* pView = CPen::FromHandle(static_cast<HPEN>(hLoose));
        ASSERT_NE(pView, nullptr);
        EXPECT_EQ(live(), 0);
        CPen owner;
        ASSERT_TRUE(owner.Attach(hLoose));
        ASSERT_TRUE(owner.Attach(hLoose));   // the same handle again is still one
        EXPECT_EQ(live(), 1);

        CBrush stock;
        ASSERT_TRUE(stock.CreateStockObject(BLACK_BRUSH));
        EXPECT_EQ(live(), 1);
        CFont font;
        ASSERT_TRUE(CreateArial(font, -12));
        EXPECT_EQ(live(), 2);
        EXPECT_TRUE(font.DeleteObject());
        EXPECT_FALSE(font.DeleteObject());
        EXPECT_EQ(live(), 1);
        CGdiObject::DeleteTempMap();
    }
    EXPECT_EQ(live(), 0);
}

TEST(GdiObjectTest, FromHandleGivesOneNonOwningViewPerHandleAndClass)
{
    CPen pen(PS_SOLID, 1, RGB(0, 128, 0));
    const HPEN hPen = pen;
    CPen* pView = CPen::FromHandle(hPen);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetSafeHandle(), hPen);
    EXPECT_FALSE(pView->IsOwner());
    EXPECT_EQ(CPen::FromHandle(hPen), pView);
    CGdiObject* pPlain = CGdiObject::FromHandle(hPen);
    EXPECT_NE(static_cast<CGdiObject*>(pView), pPlain);
    EXPECT_EQ(pPlain->GetSafeHandle(), hPen);
    EXPECT_EQ(CPen::FromHandle(nullptr), nullptr);

    // A view let go or emptied never deletes; the next lookup sees the handle again.
    EXPECT_TRUE(pView->DeleteObject());
    EXPECT_TRUE(IsLive(hPen));
    EXPECT_EQ(CPen::FromHandle(hPen)->GetSafeHandle(), hPen);
    CGdiObject::DeleteTempMap();
    EXPECT_TRUE(IsLive(hPen));
    EXPECT_TRUE(pen.IsOwner());
}

TEST(GdiObjectTest, FontCreationRoundTripsThroughLogFont)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-20, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x24, L"Arial"));
    LOGFONTW lf{};
    ASSERT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfPitchAndFamily, 0x24);
    EXPECT_STREQ(lf.lfFaceName, L"Arial");

    CFont copy;
    ASSERT_TRUE(copy.CreateFontIndirect(&lf));
    LOGFONTW lfCopy{};
    ASSERT_TRUE(copy.GetLogFont(&lfCopy));
    EXPECT_EQ(memcmp(&lf, &lfCopy, sizeof lf), 0);
    EXPECT_NE(copy.GetSafeHandle(), font.GetSafeHandle());
}

TEST(GdiObjectTest, PointFontHeightFollowsTheDcsResolutionAndMapping)
{
    CDibCanvas canvas(4, 4);
    const int nDpi = canvas.dc.GetDeviceCaps(LOGPIXELSY);
    CFont screenFont;
    ASSERT_TRUE(screenFont.CreatePointFont(120, L"Arial", &canvas.dc));
    LOGFONTW lf{};
    screenFont.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -MulDiv(nDpi, 12, 72));
    EXPECT_STREQ(lf.lfFaceName, L"Arial");

    // Twips run y up; the height is still a character height (negative).
    canvas.dc.SetMapMode(MM_TWIPS);
    CFont twipsFont;
    ASSERT_TRUE(twipsFont.CreatePointFont(120, L"Arial", &canvas.dc));
    twipsFont.GetLogFont(&lf);
    EXPECT_NEAR(lf.lfHeight, -240, 240 / nDpi + 1);

    CFont defaultFont;
    ASSERT_TRUE(defaultFont.CreatePointFont(100, L"Arial"));
    defaultFont.GetLogFont(&lf);
    EXPECT_LT(lf.lfHeight, 0);
}

TEST(GdiObjectTest, CompatibleBitmapHasTheRequestedSize)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.CreateCompatibleBitmap(nullptr, 5, 5));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 17, 9));
    BITMAP bm{};
    ASSERT_TRUE(bitmap.GetBitmap(&bm));
    EXPECT_EQ(bm.bmWidth, 17);
    EXPECT_EQ(bm.bmHeight, 9);
}

// -------------------------------------------------------------------- CDC

TEST(DcTest, OwnerDeletesItsDcAndAViewDoesNot)
{
    HDC hOwned = nullptr;
    HDC hViewed = CreateCompatibleDC(nullptr);
    {
        CDC owner;
        ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
        hOwned = owner;
        CDC view;
        ASSERT_TRUE(view.Attach(hViewed));
        EXPECT_EQ(view.GetSafeHdc(), hViewed);
        EXPECT_EQ(owner.GetWindowHandle(), nullptr);
    }
    EXPECT_EQ(GetObjectType(hOwned), 0u);
    EXPECT_EQ(GetObjectType(hViewed), static_cast<DWORD>(OBJ_MEMDC));

    // Detached from its owner, a DC outlives the object.
    HDC hDetached = nullptr;
    {
        CDC owner;
        ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
        hDetached = owner.Detach();
        EXPECT_EQ(owner.GetSafeHdc(), nullptr);
    }
    EXPECT_EQ(GetObjectType(hDetached), static_cast<DWORD>(OBJ_MEMDC));
    ::DeleteDC(hDetached);
    ::DeleteDC(hViewed);
}

namespace {
// Selecting a then b hands back the DC's original object and then a, each
// as a view of the same class; selecting the original back leaves it current.
template <class T>
void ExpectSelectReturnsPrevious(CDC& dc, T& a, T& b, UINT nObjType)
{
    const HGDIOBJ hOriginal = GetCurrentObject(dc, nObjType);
    T* pOld = dc.SelectObject(&a);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(pOld->GetSafeHandle(), hOriginal);
    EXPECT_FALSE(pOld->IsOwner());
    EXPECT_EQ(GetCurrentObject(dc, nObjType), a.GetSafeHandle());
    T* pA = dc.SelectObject(&b);
    ASSERT_NE(pA, nullptr);
    EXPECT_EQ(pA->GetSafeHandle(), a.GetSafeHandle());
    EXPECT_EQ(dc.SelectObject(static_cast<T*>(nullptr)), nullptr);
    EXPECT_EQ(GetCurrentObject(dc, nObjType), b.GetSafeHandle());
    T empty;
    EXPECT_EQ(dc.SelectObject(&empty), nullptr);
    dc.SelectObject(pOld);
    EXPECT_EQ(GetCurrentObject(dc, nObjType), hOriginal);
}
}  // namespace

TEST(DcTest, SelectObjectReturnsThePreviousObjectOfTheSameClass)
{
    const int nBefore = GdiObjectCount();
    {
        CDibCanvas canvas(8, 8);
        CDC& dc = canvas.dc;
        CPen pen1(PS_SOLID, 1, RGB(1, 0, 0)), pen2(PS_DOT, 1, RGB(2, 0, 0));
        ExpectSelectReturnsPrevious(dc, pen1, pen2, OBJ_PEN);
        CBrush brush1(RGB(3, 0, 0)), brush2(RGB(4, 0, 0));
        ExpectSelectReturnsPrevious(dc, brush1, brush2, OBJ_BRUSH);
        CFont font1, font2;
        ASSERT_TRUE(CreateArial(font1, -10));
        ASSERT_TRUE(CreateArial(font2, -20));
        ExpectSelectReturnsPrevious(dc, font1, font2, OBJ_FONT);
        CBitmap bitmap1, bitmap2;
        ASSERT_TRUE(bitmap1.CreateCompatibleBitmap(&dc, 4, 4));
        ASSERT_TRUE(bitmap2.CreateCompatibleBitmap(&dc, 4, 4));
        ExpectSelectReturnsPrevious(dc, bitmap1, bitmap2, OBJ_BITMAP);

        CGdiObject* pOldBrush = dc.SelectStockObject(NULL_BRUSH);
        ASSERT_NE(pOldBrush, nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(NULL_BRUSH));
        CGdiObject* pStock = dc.SelectObject(pOldBrush);
        ASSERT_NE(pStock, nullptr);
        EXPECT_EQ(pStock->GetSafeHandle(), GetStockObject(NULL_BRUSH));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), pOldBrush->GetSafeHandle());
        CGdiObject::DeleteTempMap();
    }
    // Everything selected was put back, so every owner could delete its object.
    EXPECT_EQ(GdiObjectCount(), nBefore);
}

TEST(DcTest, SaveAndRestoreBringBackTheSelection)
{
    CDibCanvas canvas(8, 8);
    CFont font1, font2;
    ASSERT_TRUE(CreateArial(font1, -10));
    ASSERT_TRUE(CreateArial(font2, -20));
    CFont* pOld = canvas.dc.SelectObject(&font1);
    canvas.dc.SetTextColor(RGB(1, 2, 3));
    const int nSaved = canvas.dc.SaveDC();
    ASSERT_GT(nSaved, 0);
    canvas.dc.SelectObject(&font2);
    canvas.dc.SetTextColor(RGB(4, 5, 6));
    EXPECT_TRUE(canvas.dc.RestoreDC(nSaved));
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), font1.GetSafeHandle());
    EXPECT_EQ(canvas.dc.GetTextColor(), RGB(1, 2, 3));
    canvas.dc.SelectObject(pOld);
}

TEST(DcTest, TextOutChangesPixelsInsideTheTextExtent)
{
    CDibCanvas canvas(200, 60);
    CDC& dc = canvas.dc;
    CFont font;
    ASSERT_TRUE(CreateArial(font, -24));
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    const CSize extent = dc.GetTextExtent(L"Hg", 2);
    ASSERT_GT(extent.cx, 0);
    TEXTMETRICW tm{};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(extent.cy, tm.tmHeight);

    ASSERT_TRUE(dc.TextOut(10, 10, L"Hg", 2));
    int nChanged = 0;
    const CRect area = canvas.ChangedArea(&nChanged);
    EXPECT_GT(nChanged, 20);
    // A glyph may overhang its advance by a pixel or two, never more.
    EXPECT_GE(area.left, 10 - 2);
    EXPECT_LE(area.right, 10 + extent.cx + 2);
    EXPECT_GE(area.top, 10);
    EXPECT_LE(area.bottom, 10 + extent.cy);
    const std::vector<uint32_t> hg = canvas.Pixels();

    // The CString form and a count of -1 draw the same; a count of 1 draws "H" only.
    canvas.Clear();
    ASSERT_TRUE(dc.TextOut(10, 10, CString(L"Hg")));
    EXPECT_EQ(canvas.Pixels(), hg);
    canvas.Clear();
    ASSERT_TRUE(dc.TextOut(10, 10, L"Hg", -1));
    EXPECT_EQ(canvas.Pixels(), hg);
    canvas.Clear();
    ASSERT_TRUE(dc.TextOut(10, 10, L"Hg", 1));
    const CRect areaH = canvas.ChangedArea();
    EXPECT_LE(areaH.right, 10 + dc.GetTextExtent(L"H", 1).cx + 2);
    EXPECT_LT(areaH.right, area.right);
    EXPECT_LT(areaH.bottom, area.bottom);  // no descender

    dc.SelectObject(pOldFont);
}

TEST(DcTest, DrawTextMeasuresAndPlacesText)
{
    CDibCanvas canvas(200, 100);
    CDC& dc = canvas.dc;
    CFont font;
    ASSERT_TRUE(CreateArial(font, -16));
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    TEXTMETRICW tm{};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    const CString text(L"Leakage at 50 Pa");

    CRect rcCalc(0, 0, 1000, 0);
    const int nHeight = dc.DrawText(text, rcCalc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(nHeight, tm.tmHeight);
    EXPECT_EQ(rcCalc.Width(), dc.GetTextExtent(text).cx);
    EXPECT_EQ(canvas.ChangedArea(), CRect());  // measuring draws nothing

    // Word-wrapped into a narrow box it takes several lines.
    CRect rcNarrow(0, 0, rcCalc.Width() / 2, 0);
    const int nWrapped = dc.DrawText(text.GetString(), -1, rcNarrow, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_GE(nWrapped, 2 * tm.tmHeight);
    EXPECT_EQ(rcNarrow.Height(), nWrapped);

    // Centred in a box, the ink's middle is the box's middle. With
    // DT_VCENTER the answer is where the text ends below the box's top.
    CRect rcBox(20, 10, 180, 90);
    EXPECT_NEAR(dc.DrawText(text, rcBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX),
                (rcBox.Height() + tm.tmHeight) / 2, 1);
    const CRect ink = canvas.ChangedArea();
    EXPECT_NEAR(ink.CenterPoint().x, rcBox.CenterPoint().x, 3);
    EXPECT_NEAR(ink.CenterPoint().y, rcBox.CenterPoint().y, tm.tmHeight / 2);

    dc.SelectObject(pOldFont);
}

TEST(DcTest, FillsLinesAndShapesLandOnTheirPixels)
{
    CDibCanvas canvas(100, 100);
    CDC& dc = canvas.dc;
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF green = RGB(0, 255, 0);

    dc.SetBkColor(green);
    dc.FillSolidRect(CRect(10, 10, 20, 15), red);
    EXPECT_EQ(dc.GetBkColor(), green);  // left as it was
    EXPECT_EQ(canvas.ChangedArea(), CRect(10, 10, 20, 15));
    EXPECT_EQ(canvas.Pixel(10, 10), red);
    EXPECT_EQ(canvas.Pixel(19, 14), red);

    canvas.Clear();
    CBrush blueBrush(blue);
    dc.FillRect(CRect(0, 0, 5, 5), &blueBrush);
    dc.FrameRect(CRect(10, 10, 20, 20), &blueBrush);
    dc.FillRect(CRect(50, 50, 60, 60), nullptr);
    EXPECT_EQ(canvas.Pixel(4, 4), blue);
    EXPECT_EQ(canvas.Pixel(5, 5), white);
    EXPECT_EQ(canvas.Pixel(10, 15), blue);
    EXPECT_EQ(canvas.Pixel(19, 15), blue);
    EXPECT_EQ(canvas.Pixel(15, 15), white);
    EXPECT_EQ(canvas.ChangedArea(), CRect(0, 0, 20, 20));

    canvas.Clear();
    dc.Draw3dRect(CRect(10, 10, 20, 20), red, blue);
    EXPECT_EQ(canvas.Pixel(10, 10), red);
    EXPECT_EQ(canvas.Pixel(18, 10), red);
    EXPECT_EQ(canvas.Pixel(10, 18), red);
    EXPECT_EQ(canvas.Pixel(19, 10), blue);
    EXPECT_EQ(canvas.Pixel(10, 19), blue);
    EXPECT_EQ(canvas.Pixel(19, 19), blue);
    EXPECT_EQ(canvas.Pixel(15, 15), white);
    EXPECT_EQ(canvas.ChangedArea(), CRect(10, 10, 20, 20));

    canvas.Clear();
    CPen redPen(PS_SOLID, 1, red);
    CPen* pOldPen = dc.SelectObject(&redPen);
    CBrush* pOldBrush = dc.SelectObject(&blueBrush);
    EXPECT_TRUE(dc.Rectangle(10, 10, 30, 30));
    EXPECT_EQ(canvas.Pixel(10, 20), red);
    EXPECT_EQ(canvas.Pixel(29, 20), red);
    EXPECT_EQ(canvas.Pixel(20, 20), blue);
    EXPECT_EQ(canvas.ChangedArea(), CRect(10, 10, 30, 30));

    canvas.Clear();
    dc.MoveTo(5, 50);
    EXPECT_EQ(dc.MoveTo(CPoint(10, 50)), CPoint(5, 50));
    EXPECT_TRUE(dc.LineTo(40, 50));
    EXPECT_EQ(canvas.ChangedArea(), CRect(10, 50, 40, 51));

    canvas.Clear();
    const POINT triangle[] = {{50, 10}, {90, 10}, {50, 50}};
    EXPECT_TRUE(dc.Polygon(triangle, 3));
    EXPECT_EQ(canvas.Pixel(55, 15), blue);
    EXPECT_EQ(canvas.Pixel(85, 45), white);
    canvas.Clear();
    EXPECT_TRUE(dc.Polyline(triangle, 3));
    EXPECT_EQ(canvas.Pixel(55, 15), white);  // a polyline does not fill
    EXPECT_EQ(canvas.Pixel(70, 10), red);

    canvas.Clear();
    EXPECT_TRUE(dc.Ellipse(CRect(10, 10, 50, 30)));
    EXPECT_EQ(canvas.Pixel(30, 20), blue);
    EXPECT_EQ(canvas.Pixel(11, 11), white);  // outside the curve
    EXPECT_EQ(canvas.ChangedArea(), CRect(10, 10, 50, 30));

    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

TEST(DcTest, ExtTextOutFillsItsOpaqueRectangle)
{
    CDibCanvas canvas(100, 40);
    CFont font;
    ASSERT_TRUE(CreateArial(font, -16));
    CFont* pOld = canvas.dc.SelectObject(&font);
    canvas.dc.SetBkColor(RGB(0, 0, 255));
    const CRect rc(5, 5, 95, 35);
    EXPECT_TRUE(canvas.dc.ExtTextOut(10, 10, ETO_OPAQUE, rc, CString(L"Zone"), nullptr));
    EXPECT_EQ(canvas.Pixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(94, 34), RGB(0, 0, 255));
    EXPECT_EQ(canvas.ChangedArea(), rc);
    int nNotBackground = 0;
    canvas.ChangedArea(&nNotBackground, RGB(0, 0, 255));
    EXPECT_GT(nNotBackground, 10);  // the text itself
    canvas.dc.SelectObject(pOld);
}

TEST(DcTest, MappingAndOriginsMoveWhereDrawingLands)
{
    CDibCanvas canvas(50, 50);
    CDC& dc = canvas.dc;
    EXPECT_GT(dc.GetDeviceCaps(LOGPIXELSX), 0);
    EXPECT_EQ(dc.SetViewportOrg(10, 20), CPoint(0, 0));
    dc.FillSolidRect(0, 0, 2, 2, RGB(0, 0, 0));
    EXPECT_EQ(canvas.ChangedArea(), CRect(10, 20, 12, 22));
    EXPECT_EQ(dc.SetViewportOrg(CPoint(0, 0)), CPoint(10, 20));

    canvas.Clear();
    EXPECT_EQ(dc.SetWindowOrg(5, 5), CPoint(0, 0));
    dc.FillSolidRect(5, 5, 1, 1, RGB(0, 0, 0));
    EXPECT_EQ(canvas.ChangedArea(), CRect(0, 0, 1, 1));
    dc.SetWindowOrg(0, 0);

    EXPECT_EQ(dc.SetMapMode(MM_TWIPS), MM_TEXT);
    EXPECT_EQ(dc.GetMapMode(), MM_TWIPS);
    EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_TWIPS);
}

TEST(DcTest, BitBltAndStretchBltCopyPixels)
{
    CDibCanvas source(10, 10);
    source.dc.FillSolidRect(2, 3, 2, 2, RGB(200, 0, 0));
    CDibCanvas target(40, 40);
    EXPECT_TRUE(target.dc.BitBlt(20, 20, 10, 10, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(target.ChangedArea(), CRect(22, 23, 24, 25));
    target.Clear();
    EXPECT_TRUE(target.dc.StretchBlt(0, 0, 20, 20, &source.dc, 0, 0, 10, 10, SRCCOPY));
    EXPECT_EQ(target.ChangedArea(), CRect(4, 6, 8, 10));
    // A raster operation without a source needs no source DC.
    target.Clear();
    EXPECT_TRUE(target.dc.BitBlt(0, 0, 3, 3, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(target.ChangedArea(), CRect(0, 0, 3, 3));
}

TEST(DcTest, DrawIconAndPrintingFlag)
{
    CDibCanvas canvas(64, 64);
    EXPECT_FALSE(canvas.dc.IsPrinting());
    canvas.dc.m_bPrinting = true;
    EXPECT_TRUE(canvas.dc.IsPrinting());
    HICON hIcon = LoadIcon(nullptr, IDI_EXCLAMATION);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_TRUE(canvas.dc.DrawIcon(CPoint(18, 15), hIcon));
    const CRect area = canvas.ChangedArea();
    EXPECT_FALSE(area.IsRectEmpty());
    EXPECT_GE(area.left, 18);
    EXPECT_GE(area.top, 15);
}

// ------------------------------------------------------------- scoped DCs

namespace {
// A window with its own DC (CS_OWNDC): what is selected into it stays
// selected between GetDC calls, so it shows whether a scoped DC put the
// state back. The null graphics driver paints without a display.
class COwnDcWindow {
public:
    COwnDcWindow()
    {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.style = CS_OWNDC;
            wc.lpfnWndProc = &COwnDcWindow::WndProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"VudadarGdiTestOwnDc";
            return RegisterClassW(&wc);
        }();
        EXPECT_NE(atom, 0);
        m_hWnd = CreateWindowExW(0, L"VudadarGdiTestOwnDc", L"GDI test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 120, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        EXPECT_NE(m_hWnd, nullptr);
    }
    ~COwnDcWindow() { DestroyWindow(m_hWnd); }

    // Runs onPaint inside WM_PAINT; false if WM_PAINT never came.
    bool Paint(std::function<void(HWND)> onPaint)
    {
        m_onPaint = std::move(onPaint);
        m_bPainted = false;
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        m_onPaint = nullptr;
        return m_bPainted;
    }

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* pThis = reinterpret_cast<COwnDcWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (message == WM_PAINT && pThis != nullptr && pThis->m_onPaint) {
            pThis->m_bPainted = true;
            pThis->m_onPaint(hWnd);
            return 0;
        }
        return DefWindowProcW(hWnd, message, wParam, lParam);
    }

    std::function<void(HWND)> m_onPaint;
    bool m_bPainted = false;
};

struct ScopedDcKind {
    const char* name;
    bool bOwnDc;
    // Makes the scoped DC for hWnd and hands it to draw for its whole life.
    std::function<void(HWND hWnd, const std::function<void(CDC&)>& draw)> run;
};

const ScopedDcKind kScopedDcKinds[] = {
    {"CClientDC", true, [](HWND hWnd, const std::function<void(CDC&)>& draw) { CClientDC dc(hWnd); draw(dc); }},
    {"CWindowDC", false, [](HWND hWnd, const std::function<void(CDC&)>& draw) { CWindowDC dc(hWnd); draw(dc); }},
};
}  // namespace

// Drawing code that selects its objects and never selects the old ones
// back: the scoped DC must deselect them as it lets go, or the objects
// could not be deleted and the window's own DC would keep them.
TEST(ScopedDcTest, ObjectsLeftSelectedAreDeselectedAtScopeEnd)
{
    COwnDcWindow window;
    ASSERT_NE(window.m_hWnd, nullptr);
    auto kinds = std::vector<ScopedDcKind>(std::begin(kScopedDcKinds), std::end(kScopedDcKinds));
    kinds.push_back({"CPaintDC", true, [&window](HWND, const std::function<void(CDC&)>& draw) {
                         EXPECT_TRUE(window.Paint([&](HWND hWnd) {
                             CPaintDC dc(hWnd);
                             EXPECT_EQ(dc.m_ps.hdc, dc.GetSafeHdc());
                             draw(dc);
                         }));
                     }});

    for (const ScopedDcKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const int nBefore = GdiObjectCount();
        HDC hDC = nullptr;
        HGDIOBJ hPenBefore = nullptr;
        HGDIOBJ hFontBefore = nullptr;
        {
            CPen pen(PS_SOLID, 3, RGB(255, 0, 0));
            CBrush brush(RGB(0, 0, 255));
            CFont font;
            ASSERT_TRUE(CreateArial(font, -14, FW_BOLD));
            kind.run(window.m_hWnd, [&](CDC& dc) {
                hDC = dc.GetSafeHdc();
                ASSERT_NE(hDC, nullptr);
                EXPECT_EQ(dc.GetWindowHandle(), window.m_hWnd);
                hPenBefore = GetCurrentObject(hDC, OBJ_PEN);
                hFontBefore = GetCurrentObject(hDC, OBJ_FONT);
                dc.SelectObject(&pen);
                dc.SelectObject(&brush);
                dc.SelectObject(&font);
                dc.SetTextColor(RGB(0, 255, 0));
                dc.Rectangle(2, 2, 50, 30);
                dc.TextOut(4, 4, CString(L"Q"));
            });
            ASSERT_NE(hDC, nullptr);
            // The window's own DC lives on and must be as it was. The
            // whole-window DC is a cache DC even for an own-DC window, and
            // unusable once released; for it the count below tells.
            if (kind.bOwnDc) {
                EXPECT_EQ(GetCurrentObject(hDC, OBJ_PEN), hPenBefore);
                EXPECT_EQ(GetCurrentObject(hDC, OBJ_FONT), hFontBefore);
                EXPECT_NE(GetCurrentObject(hDC, OBJ_BRUSH), brush.GetSafeHandle());
                EXPECT_NE(GetTextColor(hDC), RGB(0, 255, 0));
            }
        }
        CGdiObject::DeleteTempMap();
        EXPECT_EQ(GdiObjectCount(), nBefore);
    }
}

// The usual paint: select, draw, select the old objects back, with the GDI
// objects made and destroyed inside the paint.
TEST(ScopedDcTest, PaintWithRestoredSelectionLeavesNoObjectBehind)
{
    COwnDcWindow window;
    ASSERT_NE(window.m_hWnd, nullptr);
    window.Paint([](HWND) {});  // first paint may set up per-window state
    const int nBefore = GdiObjectCount();
    ASSERT_GT(nBefore, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(window.Paint([](HWND hWnd) {
            CPaintDC dc(hWnd);
            CFont font;
            ASSERT_TRUE(CreateArial(font, -12));
            CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
            CBrush brush;
            ASSERT_TRUE(brush.CreateSysColorBrush(COLOR_BTNFACE));
            CFont* pOldFont = dc.SelectObject(&font);
            CPen* pOldPen = dc.SelectObject(&pen);
            CBrush* pOldBrush = dc.SelectObject(&brush);
            dc.Rectangle(0, 0, 40, 40);
            dc.DrawText(CString(L"Zone 1"), CRect(0, 0, 100, 20), DT_SINGLELINE);
            dc.SelectObject(pOldBrush);
            dc.SelectObject(pOldPen);
            dc.SelectObject(pOldFont);
        }));
        CGdiObject::DeleteTempMap();
        EXPECT_EQ(GdiObjectCount(), nBefore) << "paint " << i;
    }
}
