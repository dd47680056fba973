#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "tests/report/PictureFixtures.h"
#include "framework/Dc.h"
#include "framework/File.h"
#include "app/Simbrel1View.h"
#include "report/Dib.h"
#include "report/MarkupText.h"
#include "report/ReportLogos.h"
#include "report/TextTable.h"

namespace {

// The destination rectangles of the bitmaps a metafile DC received.
struct CStretchRecorder {
    CDC dc;
    CStretchRecorder()
    {
        dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
        dc.SetMapMode(MM_TWIPS);
    }
    std::vector<RECT> Finish()   // (x, y, cx, cy) of each StretchDIBits
    {
        std::vector<RECT> result;
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(dc.Detach());
        std::vector<BYTE> bits(::GetEnhMetaFileBits(hMeta, 0, nullptr));
        ::GetEnhMetaFileBits(hMeta, static_cast<UINT>(bits.size()), bits.data());
        ::DeleteEnhMetaFile(hMeta);
        for (size_t off = 0; off + sizeof(EMR) <= bits.size();) {
            const auto* pRecord = reinterpret_cast<const EMR*>(bits.data() + off);
            if (pRecord->iType == EMR_STRETCHDIBITS) {
                const auto* p = reinterpret_cast<const EMRSTRETCHDIBITS*>(pRecord);
                result.push_back(RECT{p->xDest, p->yDest, p->cxDest, p->cyDest});
            }
            if (pRecord->nSize == 0)
                break;
            off += pRecord->nSize;
        }
        return result;
    }
};

// A memory DC over 32-bit pixels, in MM_TWIPS with the origin at the top left.
class CPixelPage {
public:
    CPixelPage(int w, int h) : m_w(w), m_h(h)
    {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_pPixels = static_cast<DWORD*>(pBits);
        std::fill(m_pPixels, m_pPixels + static_cast<size_t>(w) * h, 0x00FFFFFF);
        m_dc.Attach(::CreateCompatibleDC(nullptr));
        m_hOld = ::SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
        m_dc.SetMapMode(MM_TWIPS);
    }
    ~CPixelPage()
    {
        ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
        ::DeleteDC(m_dc.Detach());
        ::DeleteObject(m_hBitmap);
    }
    CDC& Dc() { return m_dc; }
    // Device-pixel bounds of the pixels that are not white.
    RECT InkBounds() const
    {
        RECT rc{m_w, m_h, -1, -1};
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if ((m_pPixels[y * m_w + x] & 0xFFFFFF) != 0xFFFFFF) {
                    rc.left = std::min<LONG>(rc.left, x), rc.top = std::min<LONG>(rc.top, y);
                    rc.right = std::max<LONG>(rc.right, x + 1), rc.bottom = std::max<LONG>(rc.bottom, y + 1);
                }
        return rc;
    }
    DWORD Pixel(int x, int y) const { return m_pPixels[y * m_w + x] & 0xFFFFFF; }
    POINT ToDevice(int x, int y)
    {
        POINT pt{x, y};
        ::LPtoDP(m_dc.GetSafeHdc(), &pt, 1);
        return pt;
    }

private:
    int m_w, m_h;
    HBITMAP m_hBitmap = nullptr;
    DWORD* m_pPixels = nullptr;
    HGDIOBJ m_hOld = nullptr;
    CDC m_dc;
};

class LogoTest : public ::testing::Test {
protected:
    std::wstring m_folder = MakeTempFolder(L"LogoTests");
    CString Folder() const { return CString(m_folder.c_str()); }
    static constexpr RECT kBox{1000, -500, 4240, -2480};   // 3240 x 1980 twips
};

TEST_F(LogoTest, NamesAndLookupPreferTheBitmap)
{
    EXPECT_STREQ(L"ReportLogo-Header", GetReportLogoName(0).GetString());
    EXPECT_STREQ(L"ReportLogo-FooterLeft", GetReportLogoName(1).GetString());
    EXPECT_STREQ(L"ReportLogo-FooterCenter", GetReportLogoName(2).GetString());
    EXPECT_STREQ(L"ReportLogo-FooterRight", GetReportLogoName(3).GetString());
    EXPECT_STREQ(L"ReportLogo-Header", GetReportLogoName(7).GetString());

    EXPECT_TRUE(GetReportLogoFile(Folder(), 0).IsEmpty());
    ASSERT_TRUE(WriteSolidMetafile(m_folder + L"ReportLogo-Header.emf", 2000, 1000, RGB(255, 0, 0)));
    EXPECT_EQ(Folder() + L"ReportLogo-Header.emf", GetReportLogoFile(Folder(), 0));
    ASSERT_TRUE(WriteBytes(m_folder + L"ReportLogo-Header.bmp", SolidBitmap(4, 2, 0, 0, 255)));
    EXPECT_EQ(Folder() + L"ReportLogo-Header.bmp", GetReportLogoFile(Folder(), 0));
    EXPECT_EQ(Folder() + L"ReportLogo-Header.emf", GetReportLogoPath(Folder(), kLogoFormatEmf, 0));
    EXPECT_TRUE(GetReportLogoPath(Folder(), kLogoFormatBmp, 1).IsEmpty());

    // With both present the bitmap is drawn.
    CStretchRecorder recorder;
    const CSize size = DrawReportLogo(&recorder.dc, CRect(kBox), Folder(), 0);
    EXPECT_EQ(CSize(3240, -1620), size);
    const std::vector<RECT> drawn = recorder.Finish();
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(1000, drawn[0].left);
    EXPECT_EQ(-500, drawn[0].top);
    EXPECT_EQ(3240, drawn[0].right);
    EXPECT_EQ(-1620, drawn[0].bottom);

    // No logo: nothing drawn, nothing to make room for.
    CStretchRecorder none;
    EXPECT_EQ(CSize(0, 0), DrawReportLogo(&none.dc, CRect(kBox), Folder(), 2));
    EXPECT_TRUE(none.Finish().empty());
}

TEST_F(LogoTest, BitmapFitsTheBoxWithItsAspectKept)
{
    struct Case { CSize image; CSize expected; };
    for (const Case& c : {Case{CSize(400, 200), CSize(3240, -1620)}, Case{CSize(100, 300), CSize(660, -1980)},
                          Case{CSize(3240, 1980), CSize(3240, -1980)}}) {
        EXPECT_EQ(c.expected, FitBmpLogo(c.image, CRect(kBox)));
        const std::wstring path = m_folder + L"fit.bmp";
        ASSERT_TRUE(WriteBytes(path, SolidBitmap(c.image.cx, c.image.cy, 0, 0, 0)));
        CStretchRecorder recorder;
        EXPECT_EQ(c.expected, DrawBmpLogo(&recorder.dc, CRect(kBox), CString(path.c_str())));
        const std::vector<RECT> drawn = recorder.Finish();
        ASSERT_EQ(1u, drawn.size());
        EXPECT_EQ(c.expected.cx, drawn[0].right);
        EXPECT_EQ(c.expected.cy, drawn[0].bottom);
    }
}

TEST_F(LogoTest, UnreadableBitmapDrawsNothingButKeepsTheBoxWidth)
{
    std::string damaged = SolidBitmap(4, 4, 0, 0, 0);
    Put<LONG>(damaged, 18, 0);   // zero width: a = h / w would divide by zero
    const std::wstring path = m_folder + L"ReportLogo-Header.bmp";
    for (const std::string& bytes : {damaged, damaged.substr(0, 40), std::string("GIF89a-not-a-bitmap")}) {
        ASSERT_TRUE(WriteBytes(path, bytes));
        CStretchRecorder recorder;
        CString strProblem;
        EXPECT_EQ(CSize(3240, 0), DrawReportLogo(&recorder.dc, CRect(kBox), Folder(), 0, &strProblem));
        EXPECT_FALSE(strProblem.IsEmpty());
        EXPECT_TRUE(recorder.Finish().empty());
    }
}

// The view's logo operations read its data folder and keep the first
// problem of a job for its end.
TEST_F(LogoTest, ViewLogoOperationsUseTheDataFolderAndKeepTheFirstProblem)
{
    CSimbrel1View view;
    view.m_strDataFolder = Folder();
    EXPECT_TRUE(view.GetReportLogoFile(kLogoHeader).IsEmpty());
    const std::wstring path = m_folder + L"ReportLogo-Header.bmp";
    ASSERT_TRUE(WriteBytes(path, SolidBitmap(40, 20, 0, 90, 170)));
    EXPECT_EQ(view.GetReportLogoFile(kLogoHeader), CString(path.c_str()));
    EXPECT_EQ(view.GetReportLogoPath(kLogoFormatBmp, kLogoHeader), CString(path.c_str()));
    EXPECT_TRUE(view.GetReportLogoPath(kLogoFormatEmf, kLogoHeader).IsEmpty());
    {
        CStretchRecorder recorder;
        EXPECT_EQ(CSize(3240, -1620), view.DrawReportLogo(&recorder.dc, CRect(kBox), kLogoHeader));
        EXPECT_EQ(1u, recorder.Finish().size());
    }
    EXPECT_TRUE(view.m_strReportLogoProblem.IsEmpty());

    ASSERT_TRUE(WriteBytes(path, std::string("GIF89a-not-a-bitmap")));
    CStretchRecorder recorder;
    EXPECT_EQ(CSize(3240, 0), view.DrawReportLogo(&recorder.dc, CRect(kBox), kLogoHeader));
    const CString strFirst = view.m_strReportLogoProblem;
    EXPECT_FALSE(strFirst.IsEmpty());
    const std::wstring other = m_folder + L"other.bmp";
    ASSERT_TRUE(WriteBytes(other, std::string("BMtruncated")));
    EXPECT_EQ(CSize(3240, 0), view.DrawBmpLogo(&recorder.dc, CRect(kBox), CString(other.c_str())));
    EXPECT_EQ(view.m_strReportLogoProblem, strFirst);
    EXPECT_TRUE(recorder.Finish().empty());
}

TEST_F(LogoTest, MetafileFitsTheBoxAndDamagedOnesDrawNothing)
{
    EXPECT_EQ(CSize(3240, 1620), FitEmfLogo(CSize(2000, 1000), CRect(kBox)));
    EXPECT_EQ(CSize(660, 1980), FitEmfLogo(CSize(1000, 3000), CRect(kBox)));
    EXPECT_EQ(CSize(0, 0), FitEmfLogo(CSize(0, 1000), CRect(kBox)));

    const std::wstring path = m_folder + L"logo.emf";
    ASSERT_TRUE(WriteSolidMetafile(path, 2000, 1000, RGB(255, 0, 0)));
    CPixelPage page(400, 300);
    const CRect rcBox(150, -150, 3150, -3150);   // 3000 twips square
    EXPECT_EQ(CSize(3000, 1500), DrawEmfLogo(&page.Dc(), rcBox, CString(path.c_str())));
    const POINT topLeft = page.ToDevice(150, -150);
    const POINT bottomRight = page.ToDevice(3150, -1650);
    const RECT ink = page.InkBounds();
    EXPECT_NEAR(topLeft.x, ink.left, 1);
    EXPECT_NEAR(topLeft.y, ink.top, 1);
    EXPECT_NEAR(bottomRight.x, ink.right, 1);
    EXPECT_NEAR(bottomRight.y, ink.bottom, 1);
    EXPECT_EQ(0x00FF0000u, page.Pixel((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2));

    // Not a metafile, and a metafile whose frame is empty.
    ASSERT_TRUE(WriteBytes(m_folder + L"bad.emf", "not a metafile at all, just some bytes"));
    std::string flat = ReadBytes(path);
    ASSERT_GT(flat.size(), 40u);
    Put<LONG>(flat, 24, 0), Put<LONG>(flat, 32, 0);   // rclFrame left and right
    ASSERT_TRUE(WriteBytes(m_folder + L"flat.emf", flat));
    for (const wchar_t* pszName : {L"bad.emf", L"flat.emf", L"missing.emf"}) {
        CPixelPage blank(100, 100);
        EXPECT_EQ(CSize(0, 0), DrawEmfLogo(&blank.Dc(), rcBox, CString((m_folder + pszName).c_str()))) << pszName;
        EXPECT_EQ(-1, blank.InkBounds().right) << pszName;
    }
}

// Each pixel of the converted bitmap against what GDI+ decodes from the file.
void ExpectPixelsOfTheDecoder(const CDib& dib, const std::wstring& path)
{
    Gdiplus::Bitmap picture(path.c_str(), FALSE);
    ASSERT_EQ(Gdiplus::Ok, picture.GetLastStatus());
    const int w = static_cast<int>(picture.GetWidth()), h = static_cast<int>(picture.GetHeight());
    ASSERT_EQ(CSize(w, h), dib.GetImageSize());
    ASSERT_EQ(24, dib.GetHeader()->biBitCount);
    ASSERT_GT(dib.GetHeader()->biHeight, 0);   // bottom-up
    const int nRow = dib.GetRowSize();
    ASSERT_EQ(0, nRow % 4);
    for (int i = 0; i < h; ++i) {
        const BYTE* pRow = dib.GetBits() + static_cast<size_t>(h - 1 - i) * nRow;
        for (int j = 0; j < w; ++j) {
            Gdiplus::Color colour;
            picture.GetPixel(j, i, &colour);
            ASSERT_EQ(colour.GetB(), pRow[3 * j]) << i << "," << j;
            ASSERT_EQ(colour.GetG(), pRow[3 * j + 1]) << i << "," << j;
            ASSERT_EQ(colour.GetR(), pRow[3 * j + 2]) << i << "," << j;
        }
        for (int k = 3 * w; k < nRow; ++k)
            ASSERT_EQ(0, pRow[k]) << "padding of row " << i;
    }
}

class GdiplusTest : public LogoTest {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_nToken, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_nToken); }
    ULONG_PTR m_nToken = 0;
};

TEST_F(GdiplusTest, ConvertedPicturesAreBottomUpTwentyFourBitsWithThePixelsOfTheDecoder)
{
    // 5 x 3 pixels: rows of 15 bytes padded to 16.
    std::vector<WORD> rgb8, grey8, rgb16;
    for (int i = 0; i < 15; ++i) {
        rgb8.insert(rgb8.end(), {WORD(17 * i), WORD(255 - 9 * i), WORD((i * 37) & 0xFF)});
        grey8.push_back(WORD(i * 17));
        rgb16.insert(rgb16.end(), {WORD(i * 4000), WORD(65535 - i * 3000), WORD(i * 257)});
    }
    struct Fixture { const wchar_t* name; std::string bytes; };
    std::vector<Fixture> fixtures = {
        {L"rgb.tif", MakeTiff(5, 3, 3, 8, rgb8)},
        {L"grey.tif", MakeTiff(5, 3, 1, 8, grey8)},
        {L"deep.tif", MakeTiff(5, 3, 3, 16, rgb16)},
        {L"photo24.bmp", SolidBitmap(5, 3, 10, 200, 30)},
    };
    for (const Fixture& f : fixtures)
        ASSERT_TRUE(WriteBytes(m_folder + f.name, f.bytes));
    {
        // A JPEG made with the platform's own encoder.
        ASSERT_TRUE(WriteJpeg(m_folder + L"photo.jpg", 7, 5));
        fixtures.push_back({L"photo.jpg", {}});
    }

    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(std::string(f.name, f.name + wcslen(f.name)));
        const std::wstring path = m_folder + f.name;
        CDib dib;
        ASSERT_TRUE(ConvertImageToDib(CString(path.c_str()), &dib, false));
        ExpectPixelsOfTheDecoder(dib, path);
    }

    // The TIFF's own samples arrive unchanged (8 bits; 16 bits keep their high byte).
    CDib rgb;
    ASSERT_TRUE(ConvertImageToDib(CString((m_folder + L"rgb.tif").c_str()), &rgb, false));
    EXPECT_EQ(17 * 6, rgb.GetBits()[16 * 1 + 3 * 1 + 2]);   // row 1 from the top is row 1 from the bottom of 3

    // Saved beside the source as ".bmp", and read back the same.
    const std::wstring jpg = m_folder + L"photo.jpg";
    ASSERT_TRUE(ConvertImageToDib(CString(jpg.c_str()), nullptr, true));
    CDib back;
    CFile file;
    ASSERT_TRUE(file.Open((m_folder + L"photo.bmp").c_str(), CFile::modeRead | CFile::shareDenyWrite));
    ASSERT_TRUE(back.ReadFromFile(&file));
    ExpectPixelsOfTheDecoder(back, jpg);
}

TEST_F(GdiplusTest, PictureThatCannotBeLoadedWritesNoBitmap)
{
    const std::wstring path = m_folder + L"broken.jpg";
    ASSERT_TRUE(WriteBytes(path, "\xFF\xD8\xFF garbage, not a picture"));
    CDib dib;
    EXPECT_FALSE(ConvertImageToDib(CString(path.c_str()), &dib, true));
    EXPECT_EQ(nullptr, dib.GetHeader());
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus((m_folder + L"broken.bmp").c_str(), status));
    EXPECT_FALSE(ConvertImageToDib(CString((m_folder + L"absent.tif").c_str()), &dib, true));
    EXPECT_FALSE(CFile::GetStatus((m_folder + L"absent.bmp").c_str(), status));
}

// A page head of each logo kind, a few mark-up lines and a table, drawn in
// twips on a memory page and saved as PNG for a person to look at (in
// VUDADAR_SCREENS when set, else the test's temporary folder).
TEST_F(GdiplusTest, SamplePageOfLogosMarkupAndTableForAPerson)
{
    std::vector<WORD> rgb8;
    for (int i = 0; i < 40 * 20; ++i)
        rgb8.insert(rgb8.end(), {WORD((i % 40) * 6), WORD((i / 40) * 12), WORD(128)});
    ASSERT_TRUE(WriteBytes(m_folder + L"logo.tif", MakeTiff(40, 20, 3, 8, rgb8)));
    ASSERT_TRUE(ConvertImageToDib(CString((m_folder + L"logo.tif").c_str()), nullptr, true));
    ASSERT_TRUE(WriteBytes(m_folder + L"plain.bmp", SolidBitmap(30, 30, 0, 120, 200)));
    ASSERT_TRUE(WriteSolidMetafile(m_folder + L"logo.emf", 3000, 1000, RGB(200, 30, 30)));

    CPixelPage page(800, 520);   // 96 dpi: 15 twips a pixel
    CDC& dc = page.Dc();
    const CString paths[] = {CString((m_folder + L"plain.bmp").c_str()), CString((m_folder + L"logo.bmp").c_str()),
                             CString((m_folder + L"logo.emf").c_str())};
    for (int i = 0; i < 3; ++i) {
        const CRect rcBox(300 + 3600 * i, -300, 300 + 3600 * i + 3240, -300 - 1500);
        const CSize size = i < 2 ? DrawBmpLogo(&dc, rcBox, paths[i]) : DrawEmfLogo(&dc, rcBox, paths[i]);
        EXPECT_GT(size.cx, 0) << i;
        const POINT centre = page.ToDevice(rcBox.left + size.cx / 2, rcBox.top - std::abs(size.cy) / 2);
        EXPECT_NE(0xFFFFFFu, page.Pixel(centre.x, centre.y)) << i;
    }
    CFont font;
    font.CreateFont(-200, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    CMarkupText markup;
    markup.DrawMultiLine(&dc, CRect(300, -2100, 11000, -2400), &font,
                         L"\\boldq \\sub50 \\reg= 1234 m\\super3 \\reg/h\\n\\colredn\\sub50 \\reg= 3.1 h\\super-1 \\reg"
                         L"\\n\\italcentred line",
                         CMarkupText::kAlignLeft);
    CTextTable table;
    table.m_rcArea = CRect(300, -3300, 11700, -7000);
    table.m_nRows = 3;
    table.m_nColumns = 3;
    table.m_pTitleFont = &font;
    table.m_pCellFont = &font;
    table.m_strTitle = L"\\boldBuilding information";
    ASSERT_EQ(1, table.Allocate());
    table.SetCell(0, 0, 0, L"Volume", TRUE, 0, 1);
    table.SetCell(0, 1, 0, L"V\\sub50", FALSE, 1, 0);
    table.SetCell(0, 2, 0, L"512 m\\super3", FALSE, 2, 0);
    table.SetCell(1, 0, 0, L"Floor area", TRUE, 0, 1);
    table.SetCell(1, 2, 0, L"180 m\\super2", FALSE, 2, 0);
    const int nBottom = table.Draw(&dc);
    EXPECT_LT(nBottom, -3300);
    const RECT ink = page.InkBounds();
    EXPECT_GT(ink.bottom, page.ToDevice(0, nBottom).y - 2);

    const std::wstring folder = FolderFromEnvironment(L"VUDADAR_SCREENS", L"LogoTests");
    const CLSID pngClsid = GetEncoderClsid(L"image/png");
    HBITMAP hBitmap = static_cast<HBITMAP>(::GetCurrentObject(dc.GetSafeHdc(), OBJ_BITMAP));
    Gdiplus::Bitmap image(hBitmap, nullptr);
    EXPECT_EQ(Gdiplus::Ok, image.Save((folder + L"report-logos-markup-table.png").c_str(), &pngClsid, nullptr));
}

}   // namespace
