#include "pdfdriver/PdfWriter.h"

#include <cmath>
#include <cstdio>
#include <set>

#include "pdfdriver/TrueTypeSubset.h"

namespace {

constexpr DWORD TableTag(char a, char b, char c, char d)
{
    return static_cast<DWORD>(static_cast<unsigned char>(a)) | (static_cast<DWORD>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<DWORD>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<DWORD>(static_cast<unsigned char>(d)) << 24);
}

std::string Hex4(unsigned n)
{
    char sz[8];
    std::snprintf(sz, sizeof sz, "%04X", n & 0xFFFF);
    return sz;
}

// A PDF text string (UTF-16BE with its mark) for the document information.
std::string PdfTextString(const std::wstring& s)
{
    std::string out = "<FEFF";
    for (wchar_t ch : s)
        out += Hex4(static_cast<unsigned>(ch));
    return out + ">";
}

// A PDF name made of the face's letters and digits only.
std::string FontName(const CPdfFont& font, int nIndex)
{
    std::string name;
    for (wchar_t ch : font.strFace)
        if ((ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9'))
            name += static_cast<char>(ch);
    if (font.bBold)
        name += font.bItalic ? "-BoldItalic" : "-Bold";
    else if (font.bItalic)
        name += "-Italic";
    // Each embedded copy carries a tag of its own.
    std::string tag = "AAAAAA+";
    tag[5] = static_cast<char>('A' + nIndex % 26);
    tag[4] = static_cast<char>('A' + nIndex / 26 % 26);
    return tag + (name.empty() ? std::string("Font") : name);
}

}  // namespace

void AppendPdfNumber(std::string& s, double d)
{
    if (!std::isfinite(d))
        d = 0;
    char sz[32];
    const double r = std::round(d * 1000.0) / 1000.0;
    if (r == std::floor(r) && std::fabs(r) < 1e15)
        std::snprintf(sz, sizeof sz, "%lld", static_cast<long long>(r));
    else {
        std::snprintf(sz, sizeof sz, "%.3f", r);
        // Trailing zeros say nothing.
        char* p = sz + std::char_traits<char>::length(sz) - 1;
        while (*p == '0')
            *p-- = 0;
    }
    s += sz;
}

CPdfDocument::CPdfDocument(const std::wstring& strTitle) : m_strTitle(strTitle)
{
    m_hDC = ::CreateCompatibleDC(nullptr);
}

CPdfDocument::~CPdfDocument()
{
    if (m_hDC != nullptr) {
        if (m_hOldFont != nullptr)
            ::SelectObject(m_hDC, m_hOldFont);
        ::DeleteDC(m_hDC);
    }
    for (auto& pFont : m_fonts)
        if (pFont->hFont != nullptr)
            ::DeleteObject(pFont->hFont);
}

void CPdfDocument::Select(int nFont)
{
    if (m_nSelected == nFont)
        return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, m_fonts[static_cast<size_t>(nFont)]->hFont);
    if (m_hOldFont == nullptr)
        m_hOldFont = hOld;
    m_nSelected = nFont;
}

int CPdfDocument::GetFont(const LOGFONTW& lfIn)
{
    const std::wstring strFace = lfIn.lfFaceName[0] != 0 ? lfIn.lfFaceName : L"Arial";
    const bool bBold = lfIn.lfWeight >= FW_SEMIBOLD;
    const bool bItalic = lfIn.lfItalic != 0;
    for (size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i]->strFace == strFace && m_fonts[i]->bBold == bBold && m_fonts[i]->bItalic == bItalic)
            return static_cast<int>(i);
    if (m_hDC == nullptr)
        return -1;

    LOGFONTW lf{};
    lf.lfHeight = -1000;
    lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = bItalic ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lf.lfPitchAndFamily = lfIn.lfPitchAndFamily;
    wcsncpy_s(lf.lfFaceName, strFace.c_str(), _TRUNCATE);
    auto pFont = std::make_unique<CPdfFont>();
    pFont->strFace = strFace;
    pFont->bBold = bBold;
    pFont->bItalic = bItalic;

    // The em size first, then the font at it so that every metric is in font units.
    HFONT hProbe = ::CreateFontIndirectW(&lf);
    if (hProbe == nullptr)
        return -1;
    HGDIOBJ hOld = ::SelectObject(m_hDC, hProbe);
    OUTLINETEXTMETRICW otm{};
    otm.otmSize = sizeof otm;
    const bool bOutline = ::GetOutlineTextMetricsW(m_hDC, sizeof otm, &otm) != 0;
    ::SelectObject(m_hDC, hOld);
    ::DeleteObject(hProbe);
    if (!bOutline)
        return -1;
    pFont->nEm = otm.otmEMSquare > 0 ? static_cast<int>(otm.otmEMSquare) : 2048;
    lf.lfHeight = -pFont->nEm;
    pFont->hFont = ::CreateFontIndirectW(&lf);
    if (pFont->hFont == nullptr)
        return -1;
    hOld = ::SelectObject(m_hDC, pFont->hFont);
    ::GetOutlineTextMetricsW(m_hDC, sizeof otm, &otm);
    pFont->nAscent = otm.otmTextMetrics.tmAscent;
    pFont->nDescent = otm.otmTextMetrics.tmDescent;
    pFont->nCapHeight = otm.otmsCapEmHeight > 0 ? static_cast<int>(otm.otmsCapEmHeight) : pFont->nAscent;
    pFont->nUnderlinePos = otm.otmsUnderscorePosition;
    pFont->nUnderlineSize = static_cast<int>(otm.otmsUnderscoreSize);
    pFont->nItalicAngle = otm.otmItalicAngle / 10;
    pFont->rcBox = otm.otmrcFontBox;

    DWORD nSize = ::GetFontData(m_hDC, 0, 0, nullptr, 0);
    if (nSize != GDI_ERROR && nSize > 0) {
        pFont->program.resize(nSize);
        if (::GetFontData(m_hDC, 0, 0, pFont->program.data(), nSize) != nSize)
            pFont->program.clear();
    }
    const DWORD nCff = ::GetFontData(m_hDC, TableTag('C', 'F', 'F', ' '), 0, nullptr, 0);
    pFont->bCff = nCff != GDI_ERROR && nCff > 0;
    ::SelectObject(m_hDC, hOld);
    if (pFont->program.empty()) {
        ::DeleteObject(pFont->hFont);
        return -1;
    }
    m_fonts.push_back(std::move(pFont));
    m_nSelected = -1;
    return static_cast<int>(m_fonts.size() - 1);
}

int CPdfDocument::Advance(CPdfFont& font, WORD glyph)
{
    auto it = font.widths.find(glyph);
    if (it != font.widths.end())
        return it->second;
    ABC abc{};
    int nWidth = 0;
    if (::GetCharABCWidthsI(m_hDC, glyph, 1, nullptr, &abc))
        nWidth = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    font.widths[glyph] = nWidth;
    return nWidth;
}

void CPdfDocument::MapText(int nFont, const wchar_t* pText, int nChars, std::vector<WORD>& glyphs,
                           std::vector<int>& advances)
{
    glyphs.assign(static_cast<size_t>(nChars), 0);
    advances.assign(static_cast<size_t>(nChars), 0);
    if (nChars <= 0)
        return;
    Select(nFont);
    CPdfFont& font = *m_fonts[static_cast<size_t>(nFont)];
    ::GetGlyphIndicesW(m_hDC, pText, nChars, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    for (int i = 0; i < nChars; ++i) {
        WORD& g = glyphs[static_cast<size_t>(i)];
        if (g == 0xFFFF)
            g = 0;
        advances[static_cast<size_t>(i)] = Advance(font, g);
        if (g != 0 && font.text.find(g) == font.text.end())
            font.text[g] = std::wstring(1, pText[i]);
    }
}

void CPdfDocument::UseGlyphs(int nFont, const WORD* pGlyphs, int nGlyphs, std::vector<int>& advances)
{
    Select(nFont);
    CPdfFont& font = *m_fonts[static_cast<size_t>(nFont)];
    advances.assign(static_cast<size_t>(std::max(nGlyphs, 0)), 0);
    for (int i = 0; i < nGlyphs; ++i)
        advances[static_cast<size_t>(i)] = Advance(font, pGlyphs[i]);
}

int CPdfDocument::AddImage(int nWidth, int nHeight, std::string rgb)
{
    m_images.push_back(Image{nWidth, nHeight, std::move(rgb)});
    return static_cast<int>(m_images.size() - 1);
}

void CPdfDocument::AddPage(double dWidth, double dHeight, std::string content)
{
    m_pages.push_back(Page{dWidth, dHeight, std::move(content)});
}

std::string CPdfDocument::Finish()
{
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets(1, 0);
    auto begin = [&](int nObject) {
        if (offsets.size() <= static_cast<size_t>(nObject))
            offsets.resize(static_cast<size_t>(nObject) + 1, 0);
        offsets[static_cast<size_t>(nObject)] = out.size();
        out += std::to_string(nObject) + " 0 obj\n";
    };
    auto stream = [&](const std::string& dict, const std::string& data) {
        out += "<<" + dict + "/Length " + std::to_string(data.size()) + ">>\nstream\n";
        out += data;
        out += "\nendstream\nendobj\n";
    };
    auto ref = [](int n) { return std::to_string(n) + " 0 R"; };

    // 1 catalog, 2 page tree, 3 information, 4 resources; then fonts (5
    // objects each), images, and pages (2 each).
    int nNext = 5;
    const int nFirstFont = nNext;
    nNext += 5 * static_cast<int>(m_fonts.size());
    const int nFirstImage = nNext;
    nNext += static_cast<int>(m_images.size());
    const int nFirstPage = nNext;

    begin(1);
    out += "<</Type/Catalog/Pages 2 0 R>>\nendobj\n";
    begin(2);
    out += "<</Type/Pages/Count " + std::to_string(m_pages.size()) + "/Kids[";
    for (size_t i = 0; i < m_pages.size(); ++i)
        out += ref(nFirstPage + 2 * static_cast<int>(i)) + " ";
    out += "]>>\nendobj\n";
    begin(3);
    out += "<</Title" + PdfTextString(m_strTitle) + "/Producer" + PdfTextString(L"Quillmar PDF Writer") + ">>\nendobj\n";
    begin(4);
    out += "<</ProcSet[/PDF/Text/ImageC]/Font<<";
    for (size_t i = 0; i < m_fonts.size(); ++i)
        out += "/F" + std::to_string(i) + " " + ref(nFirstFont + 5 * static_cast<int>(i));
    out += ">>/XObject<<";
    for (size_t i = 0; i < m_images.size(); ++i)
        out += "/Im" + std::to_string(i) + " " + ref(nFirstImage + static_cast<int>(i));
    out += ">>>>\nendobj\n";

    for (size_t i = 0; i < m_fonts.size(); ++i) {
        const CPdfFont& f = *m_fonts[i];
        const int n = nFirstFont + 5 * static_cast<int>(i);
        const std::string name = FontName(f, static_cast<int>(i));
        auto units = [&](int v) { std::string s; AppendPdfNumber(s, v * 1000.0 / f.nEm); return s; };
        begin(n);
        out += "<</Type/Font/Subtype/Type0/BaseFont/" + name + "/Encoding/Identity-H/DescendantFonts[" + ref(n + 1) +
               "]/ToUnicode " + ref(n + 4) + ">>\nendobj\n";
        begin(n + 1);
        out += "<</Type/Font/Subtype/" + std::string(f.bCff ? "CIDFontType0" : "CIDFontType2") + "/BaseFont/" + name +
               "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor " + ref(n + 2) +
               "/DW " + units(f.nEm / 2) + "/W[";
        for (const auto& [g, w] : f.widths)
            out += std::to_string(g) + "[" + units(w) + "]";
        out += "]";
        if (!f.bCff)
            out += "/CIDToGIDMap/Identity";
        out += ">>\nendobj\n";
        begin(n + 2);
        int nFlags = 32;
        if (f.bItalic)
            nFlags |= 64;
        out += "<</Type/FontDescriptor/FontName/" + name + "/Flags " + std::to_string(nFlags) + "/FontBBox[" +
               units(f.rcBox.left) + " " + units(f.rcBox.bottom) + " " + units(f.rcBox.right) + " " +
               units(f.rcBox.top) + "]/ItalicAngle " + std::to_string(f.nItalicAngle) + "/Ascent " +
               units(f.nAscent) + "/Descent -" + units(f.nDescent) + "/CapHeight " + units(f.nCapHeight) +
               "/StemV " + std::string(f.bBold ? "140" : "80") + (f.bCff ? "/FontFile3 " : "/FontFile2 ") +
               ref(n + 3) + ">>\nendobj\n";
        begin(n + 3);
        if (f.bCff) {
            stream("/Subtype/OpenType", f.program);
        } else {
            // Only the outlines of the glyphs shown go into the file.
            std::set<WORD> used;
            for (const auto& [g, w] : f.widths)
                used.insert(g);
            const std::string program = SubsetTrueTypeFont(f.program, used);
            stream("/Length1 " + std::to_string(program.size()), program);
        }
        begin(n + 4);
        std::string cmap =
            "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo<</Registry(Adobe)/"
            "Ordering(UCS)/Supplement 0>>def\n/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
            "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
        std::vector<std::pair<WORD, std::wstring>> entries(f.text.begin(), f.text.end());
        for (size_t k = 0; k < entries.size(); k += 100) {
            const size_t nCount = std::min<size_t>(100, entries.size() - k);
            cmap += std::to_string(nCount) + " beginbfchar\n";
            for (size_t j = k; j < k + nCount; ++j) {
                cmap += '<';
                cmap += Hex4(entries[j].first);
                cmap += "><";
                for (wchar_t ch : entries[j].second)
                    cmap += Hex4(static_cast<unsigned>(ch));
                cmap += ">\n";
            }
            cmap += "endbfchar\n";
        }
        cmap += "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
        stream("", cmap);
    }

    for (size_t i = 0; i < m_images.size(); ++i) {
        const Image& im = m_images[i];
        begin(nFirstImage + static_cast<int>(i));
        stream("/Type/XObject/Subtype/Image/Width " + std::to_string(im.nWidth) + "/Height " +
                   std::to_string(im.nHeight) + "/ColorSpace/DeviceRGB/BitsPerComponent 8",
               im.rgb);
    }

    for (size_t i = 0; i < m_pages.size(); ++i) {
        const Page& p = m_pages[i];
        const int n = nFirstPage + 2 * static_cast<int>(i);
        begin(n);
        std::string box;
        AppendPdfNumber(box, p.dWidth);
        box += " ";
        AppendPdfNumber(box, p.dHeight);
        out += "<</Type/Page/Parent 2 0 R/MediaBox[0 0 " + box + "]/Resources 4 0 R/Contents " + ref(n + 1) +
               ">>\nendobj\n";
        begin(n + 1);
        stream("", p.content);
    }

    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size()) + "\n0000000000 65535 f \n";
    for (size_t i = 1; i < offsets.size(); ++i) {
        char sz[24];
        std::snprintf(sz, sizeof sz, "%010zu 00000 n \n", offsets[i]);
        out += sz;
    }
    out += "trailer\n<</Size " + std::to_string(offsets.size()) + "/Root 1 0 R/Info 3 0 R>>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return out;
}
