// The PDF printer's writer: metafile pages turned into PDF, read back here
// as bytes (positions, fonts, character maps, images) and, outside Wine,
// with pdftotext (tests/report/check-printed-pages reads the .pdf and
// .expect files left in VUDADAR_PRINT_OUT).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/Dc.h"
#include "pdfdriver/PdfPrinter.h"
#include "pdfdriver/TrueTypeSubset.h"
#include "tests/TestSupport.h"
#include "tests/report/PictureFixtures.h"

namespace {

std::wstring PrintOutFolder()
{
    return FolderFromEnvironment(L"VUDADAR_PRINT_OUT", L"pdfprinted");
}

// A page of the letter geometry the printer uses, drawn by the test.
class CPage {
public:
    CPage()
    {
        const RECT rcFrame{0, 0, 21590, 27940};
        m_dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, &rcFrame, nullptr));
    }
    ~CPage()
    {
        if (m_hMeta != nullptr)
            ::DeleteEnhMetaFile(m_hMeta);
    }
    CDC& Dc() { return m_dc; }
    HENHMETAFILE Finish()
    {
        m_hMeta = ::CloseEnhMetaFile(m_dc.Detach());
        return m_hMeta;
    }

private:
    CDC m_dc;
    HENHMETAFILE m_hMeta = nullptr;
};

HFONT MakeArial(int nHeight, bool bBold = false)
{
    LOGFONTW lf{};
    lf.lfHeight = nHeight;
    lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, L"Arial");
    return ::CreateFontIndirectW(&lf);
}

void TextAt(CDC& dc, int x, int y, const std::wstring& text)
{
    ::ExtTextOutW(dc.GetSafeHdc(), x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

// The numbers of the text matrix set just before the first text showing
// the glyphs; empty when there is no such text.
std::string MatrixBefore(const std::string& pdf, size_t nTextAt)
{
    const size_t nTm = pdf.rfind(" Tm", nTextAt);
    const size_t nTf = pdf.rfind(" Tf ", nTm);
    if (nTm == std::string::npos || nTf == std::string::npos)
        return {};
    return pdf.substr(nTf + 4, nTm - nTf - 4);
}

std::vector<double> Numbers(const std::string& s)
{
    std::vector<double> v;
    size_t at = 0;
    while (at < s.size()) {
        size_t n = 0;
        v.push_back(std::stod(s.substr(at), &n));
        at += n;
        while (at < s.size() && s[at] == ' ')
            ++at;
    }
    return v;
}

const CPdfPageGeometry kLetter600;

// Text drawn in twips, in isotropic pixels and in isotropic units that the
// viewport extent squeezes lands where the page's mapping puts it: one inch
// in from the left and one inch down from the top, on the baseline.
TEST(PdfWriter, EveryMappingModeLandsTextAtTheSamePlace)
{
    struct Case {
        const char* name;
        void (*map)(HDC);
        POINT pt;
    };
    const Case cases[] = {
        {"twips", [](HDC h) { ::SetMapMode(h, MM_TWIPS); }, {1440, -1440}},
        {"isotropic pixels",
         [](HDC h) {
             ::SetMapMode(h, MM_ISOTROPIC);
             ::SetWindowExtEx(h, 600, 600, nullptr);
             ::SetViewportExtEx(h, 600, 600, nullptr);
         },
         {600, 600}},
        // The viewport is made isotropic: 300 x 300 for 1000 x 1000.
        {"isotropic squeezed",
         [](HDC h) {
             ::SetMapMode(h, MM_ISOTROPIC);
             ::SetWindowExtEx(h, 1000, 1000, nullptr);
             ::SetViewportExtEx(h, 600, 300, nullptr);
         },
         {2000, 2000}},
        {"twips then pixels by window origin",
         [](HDC h) {
             ::SetMapMode(h, MM_TWIPS);
             ::SetMapMode(h, MM_ANISOTROPIC);
             ::SetWindowExtEx(h, 1, 1, nullptr);
             ::SetViewportExtEx(h, 1, 1, nullptr);
             ::SetWindowOrgEx(h, -100, -100, nullptr);
         },
         {500, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPage page;
        HDC h = page.Dc().GetSafeHdc();
        c.map(h);
        ::SetTextAlign(h, TA_BASELINE | TA_LEFT);
        HFONT hFont = MakeArial(-200);
        HGDIOBJ hOld = ::SelectObject(h, hFont);
        TextAt(page.Dc(), c.pt.x, c.pt.y, L"Q");
        ::SelectObject(h, hOld);
        ::DeleteObject(hFont);
        const std::string pdf = CPdfPrinter::MakePdf({page.Finish()}, kLetter600, L"t");
        ASSERT_FALSE(pdf.empty());
        const size_t nText = pdf.find("TJ");
        ASSERT_NE(nText, std::string::npos);
        const std::vector<double> m = Numbers(MatrixBefore(pdf, nText));
        ASSERT_EQ(m.size(), 6u);
        EXPECT_NEAR(m[4], 72.0, 0.01);
        EXPECT_NEAR(m[5], 720.0, 0.01);
    }
}

// The twips font of -200 is 10 points; each glyph of a spaced-out text
// keeps the advance recorded for it.
TEST(PdfWriter, TextKeepsItsSizeAndRecordedAdvances)
{
    CPage page;
    HDC h = page.Dc().GetSafeHdc();
    ::SetMapMode(h, MM_TWIPS);
    ::SetTextAlign(h, TA_BASELINE);
    HFONT hFont = MakeArial(-200);
    HGDIOBJ hOld = ::SelectObject(h, hFont);
    const INT dx[] = {1440, 1440};
    ::ExtTextOutW(h, 1440, -1440, 0, nullptr, L"AB", 2, dx);
    ::SelectObject(h, hOld);
    ::DeleteObject(hFont);
    const std::string pdf = CPdfPrinter::MakePdf({page.Finish()}, kLetter600, L"t");
    const size_t nText = pdf.find("TJ");
    ASSERT_NE(nText, std::string::npos);
    const std::vector<double> m = Numbers(MatrixBefore(pdf, nText));
    ASSERT_EQ(m.size(), 6u);
    EXPECT_NEAR(m[0], 10.0, 0.01);
    EXPECT_NEAR(m[3], 10.0, 0.01);
    // "A" is followed by a shift that makes its advance one inch: 7.2 ems.
    const size_t nOpen = pdf.rfind("[<", nText);
    const std::string shown = pdf.substr(nOpen, nText - nOpen);
    const size_t nClose = shown.find('>');
    const double dAdjust = std::stod(shown.substr(nClose + 1));
    const double dNatural = dAdjust + 7200.0;   // the glyph's own width, thousandths of an em
    EXPECT_GT(dNatural, 500.0);
    EXPECT_LT(dNatural, 800.0);
}

// Symbols come back as the characters they were: the font is embedded and
// its glyphs map back through the ToUnicode table.
TEST(PdfWriter, SymbolsAreEmbeddedWithTheirCharacters)
{
    CPage page;
    HDC h = page.Dc().GetSafeHdc();
    ::SetMapMode(h, MM_TWIPS);
    HFONT hFont = MakeArial(-240, true);
    HGDIOBJ hOld = ::SelectObject(h, hFont);
    TextAt(page.Dc(), 1440, -1440, L"q \u2264 50 m\u00B3/h \u0394p 20 \u00B0C");
    ::SelectObject(h, hOld);
    ::DeleteObject(hFont);
    const std::string pdf = CPdfPrinter::MakePdf({page.Finish()}, kLetter600, L"Symbols");
    EXPECT_NE(pdf.find("/FontFile2"), std::string::npos);
    EXPECT_NE(pdf.find("/Length1 "), std::string::npos);
    EXPECT_NE(pdf.find("/ToUnicode"), std::string::npos);
    for (const char* code : {"><2264>", "><0394>", "><00B3>", "><00B0>"})
        EXPECT_NE(pdf.find(code), std::string::npos) << code;
    const std::wstring folder = PrintOutFolder();
    ASSERT_TRUE(WriteBytes(folder + L"pdf-symbols.pdf", pdf));
    ASSERT_TRUE(WriteBytes(folder + L"pdf-symbols.expect", "q \xE2\x89\xA4 50 m\xC2\xB3/h \xCE\x94p 20 \xC2\xB0" "C\n"));
}

// A bitmap drawn with a negative height in twips (downward on the page)
// is an upright image: its top row is the DIB's top row, and its matrix
// has a positive height.
TEST(PdfWriter, BitmapIsAnUprightImage)
{
    CPage page;
    HDC h = page.Dc().GetSafeHdc();
    ::SetMapMode(h, MM_TWIPS);
    // 2 x 2, bottom-up: the first row in memory is the bottom one (blue).
    struct {
        BITMAPINFOHEADER bih;
    } bmi{};
    bmi.bih.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bih.biWidth = 2;
    bmi.bih.biHeight = 2;
    bmi.bih.biPlanes = 1;
    bmi.bih.biBitCount = 24;
    const BYTE bits[] = {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0};
    ::StretchDIBits(h, 1440, -1440, 1440, -720, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&bmi),
                    DIB_RGB_COLORS, SRCCOPY);
    const std::string pdf = CPdfPrinter::MakePdf({page.Finish()}, kLetter600, L"t");
    const size_t nImage = pdf.find("/Subtype/Image");
    ASSERT_NE(nImage, std::string::npos);
    const size_t nData = pdf.find("stream\n", nImage) + 7;
    EXPECT_EQ(pdf.substr(nData, 3), std::string("\xFF\x00\x00", 3));        // top row red
    EXPECT_EQ(pdf.substr(nData + 6, 3), std::string("\x00\x00\xFF", 3));    // bottom row blue
    const size_t nCm = pdf.find(" cm /Im0 Do");
    ASSERT_NE(nCm, std::string::npos);
    const size_t nQ = pdf.rfind("q ", nCm);
    const std::vector<double> m = Numbers(pdf.substr(nQ + 2, nCm - nQ - 2));
    ASSERT_EQ(m.size(), 6u);
    EXPECT_NEAR(m[0], 72.0, 0.01);
    EXPECT_NEAR(m[3], 36.0, 0.01);
    EXPECT_NEAR(m[4], 72.0, 0.01);
    EXPECT_NEAR(m[5], 684.0, 0.01);
}

// Lines and fills stay vectors in the pen's and brush's colours.
TEST(PdfWriter, LinesAndFillsAreVectors)
{
    CPage page;
    HDC h = page.Dc().GetSafeHdc();
    ::SetMapMode(h, MM_TWIPS);
    HPEN hPen = ::CreatePen(PS_SOLID, 20, RGB(255, 0, 0));
    HBRUSH hBrush = ::CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ hOldPen = ::SelectObject(h, hPen);
    HGDIOBJ hOldBrush = ::SelectObject(h, hBrush);
    ::MoveToEx(h, 1440, -1440, nullptr);
    ::LineTo(h, 2880, -1440);
    ::Rectangle(h, 1440, -2880, 2880, -4320);
    ::SelectObject(h, hOldPen);
    ::SelectObject(h, hOldBrush);
    ::DeleteObject(hPen);
    ::DeleteObject(hBrush);
    const std::string pdf = CPdfPrinter::MakePdf({page.Finish()}, kLetter600, L"t");
    EXPECT_NE(pdf.find("72 720 m\n144 720 l\nS"), std::string::npos);
    EXPECT_NE(pdf.find("1 0 0 RG"), std::string::npos);
    EXPECT_NE(pdf.find("0 0 1 rg"), std::string::npos);
    // The pen is one point wide (20 twips).
    EXPECT_NE(pdf.find("\n1 w "), std::string::npos);
    EXPECT_EQ(pdf.find("/Subtype/Image"), std::string::npos);
}

// The file is written beside the target and then put in its place: a
// target that cannot be replaced keeps what it had and no temporary file
// stays behind; a folder that does not exist gets nothing.
TEST(PdfWriter, FileIsReplacedWholeOrNotAtAll)
{
    const std::wstring folder = MakeTempFolder(L"pdfsafe");
    const std::wstring target = folder + L"report.pdf";
    ASSERT_TRUE(WriteBytes(target, "old"));
    EXPECT_TRUE(CPdfPrinter::WriteFileSafely(target, "%PDF-new"));
    EXPECT_EQ(ReadBytes(target), "%PDF-new");

    HANDLE hLock = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CPdfPrinter::WriteFileSafely(target, "%PDF-newer"));
    ::CloseHandle(hLock);
    EXPECT_EQ(ReadBytes(target), "%PDF-new");
    EXPECT_FALSE(FileExists(target + L".writing"));

    EXPECT_FALSE(CPdfPrinter::WriteFileSafely(folder + L"missing\\report.pdf", "%PDF"));
}

}  // namespace

namespace {

// The whole Arial program, as the writer takes it from the system.
std::string ArialProgram(HFONT hFont, WORD* pGlyphA)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    std::string font;
    const DWORD nSize = ::GetFontData(hDC, 0, 0, nullptr, 0);
    if (nSize != GDI_ERROR && nSize > 0) {
        font.resize(nSize);
        if (::GetFontData(hDC, 0, 0, font.data(), nSize) != nSize)
            font.clear();
    }
    ::GetGlyphIndicesW(hDC, L"A", 1, pGlyphA, 0);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return font;
}

uint32_t Big32(const std::string& s, size_t at)
{
    return (uint32_t(uint8_t(s[at])) << 24) | (uint32_t(uint8_t(s[at + 1])) << 16) | (uint32_t(uint8_t(s[at + 2])) << 8) |
           uint32_t(uint8_t(s[at + 3]));
}

// The offset and length of a table of a font file; (0, 0) when absent.
std::pair<uint32_t, uint32_t> FindTable(const std::string& font, const char* tag)
{
    const int n = (uint8_t(font[4]) << 8) | uint8_t(font[5]);
    for (int i = 0; i < n; ++i)
        if (font.compare(12 + 16 * i, 4, tag) == 0)
            return {Big32(font, 12 + 16 * i + 8), Big32(font, 12 + 16 * i + 12)};
    return {0, 0};
}

}  // namespace

// The embedded font keeps the outlines of the glyphs shown only, at their
// own glyph ids, in a well-formed file; what cannot be read is left whole.
TEST(PdfWriter, EmbeddedFontHoldsTheGlyphsShown)
{
    HFONT hFont = MakeArial(-2048);
    WORD nGlyphA = 0;
    const std::string font = ArialProgram(hFont, &nGlyphA);
    ::DeleteObject(hFont);
    ASSERT_GT(font.size(), 10000u);
    ASSERT_NE(nGlyphA, 0);

    const std::string subset = SubsetTrueTypeFont(font, {nGlyphA});
    EXPECT_LT(subset.size() * 4, font.size()) << subset.size() << " of " << font.size();
    // The whole file sums to the magic number once head's adjustment is in.
    uint32_t nSum = 0;
    std::string padded = subset;
    padded.resize((padded.size() + 3) & ~size_t{3}, '\0');
    for (size_t at = 0; at < padded.size(); at += 4)
        nSum += Big32(padded, at);
    EXPECT_EQ(nSum, 0xB1B0AFBAu);
    for (const char* tag : {"head", "hhea", "hmtx", "loca", "glyf", "maxp"})
        EXPECT_NE(FindTable(subset, tag).second, 0u) << tag;
    EXPECT_EQ(FindTable(subset, "name").second, 0u);
    // Long offsets: glyph A has its outline, the glyph after it none unless
    // it is A itself again (a composite's part would be kept too).
    const auto [locaAt, locaLength] = FindTable(subset, "loca");
    const auto [glyfAt, glyfLength] = FindTable(subset, "glyf");
    ASSERT_GE(locaLength, 4u * (nGlyphA + 2u));
    const uint32_t a0 = Big32(subset, locaAt + 4u * nGlyphA), a1 = Big32(subset, locaAt + 4u * (nGlyphA + 1));
    EXPECT_GT(a1, a0);
    EXPECT_LE(a1, glyfLength);
    // A's outline is the same bytes as in the whole font.
    const auto [oldHeadAt, oldHeadLength] = FindTable(font, "head");
    ASSERT_GE(oldHeadLength, 54u);
    const bool bLong = font[oldHeadAt + 51] == 1;
    const auto [oldLocaAt, oldLocaLength] = FindTable(font, "loca");
    const auto [oldGlyfAt, oldGlyfLength] = FindTable(font, "glyf");
    ASSERT_GT(oldLocaLength, 0u);
    auto OldOffset = [&](uint32_t g) {
        return bLong ? Big32(font, oldLocaAt + 4 * g)
                     : 2u * ((uint32_t(uint8_t(font[oldLocaAt + 2 * g])) << 8) | uint8_t(font[oldLocaAt + 2 * g + 1]));
    };
    const uint32_t o0 = OldOffset(nGlyphA), o1 = OldOffset(nGlyphA + 1u);
    ASSERT_LE(o1, oldGlyfLength);
    EXPECT_EQ(subset.substr(glyfAt + a0, o1 - o0), font.substr(oldGlyfAt + o0, o1 - o0));

    // Not a font it can read: unchanged.
    for (const std::string& bad : {font.substr(0, 200), std::string("ttcf") + font.substr(4), std::string()})
        EXPECT_EQ(SubsetTrueTypeFont(bad, {nGlyphA}), bad);
}
