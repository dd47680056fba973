// A PDF document put together in memory: pages of drawing operators, the
// TrueType fonts their texts use (embedded whole, from GetFontData, with a
// map back to the characters so the text can be searched and copied), and
// RGB images.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// One font of the document: a GDI font realised at its em size, whose glyph
// numbers are the codes of the PDF text.
struct CPdfFont {
    std::wstring strFace;
    bool bBold = false;
    bool bItalic = false;
    HFONT hFont = nullptr;       // at -nEm, selected when glyphs are looked up
    int nEm = 2048;              // font units per em
    int nAscent = 0;             // font units
    int nDescent = 0;
    int nCapHeight = 0;
    int nUnderlinePos = 0;       // below the baseline is negative
    int nUnderlineSize = 0;
    int nItalicAngle = 0;
    RECT rcBox{};
    std::string program;         // the font file
    bool bCff = false;           // an OpenType font with PostScript outlines
    std::map<WORD, int> widths;  // glyph -> advance in font units
    std::map<WORD, std::wstring> text;   // glyph -> characters it shows
};

class CPdfDocument {
public:
    explicit CPdfDocument(const std::wstring& strTitle);
    ~CPdfDocument();
    CPdfDocument(const CPdfDocument&) = delete;
    CPdfDocument& operator=(const CPdfDocument&) = delete;

    // The font for a logical font's face, weight and slant (size apart);
    // -1 when no TrueType data can be had for it.
    int GetFont(const LOGFONTW& lf);
    const CPdfFont& Font(int nFont) const { return *m_fonts[static_cast<size_t>(nFont)]; }
    // The glyphs that show the text in the font, with their advances in
    // font units; a character the font has no glyph for shows glyph 0.
    void MapText(int nFont, const wchar_t* pText, int nChars, std::vector<WORD>& glyphs, std::vector<int>& advances);
    // The glyphs as given (no characters known).
    void UseGlyphs(int nFont, const WORD* pGlyphs, int nGlyphs, std::vector<int>& advances);

    // An image of 8-bit RGB rows, top row first; returns its number.
    int AddImage(int nWidth, int nHeight, std::string rgb);

    // A page of the given size in points with its drawing operators.
    void AddPage(double dWidth, double dHeight, std::string content);
    size_t PageCount() const { return m_pages.size(); }

    // The whole file.
    std::string Finish();

private:
    struct Image {
        int nWidth;
        int nHeight;
        std::string rgb;
    };
    struct Page {
        double dWidth;
        double dHeight;
        std::string content;
    };
    std::wstring m_strTitle;
    HDC m_hDC = nullptr;
    HGDIOBJ m_hOldFont = nullptr;
    int m_nSelected = -1;
    std::vector<std::unique_ptr<CPdfFont>> m_fonts;
    std::vector<Image> m_images;
    std::vector<Page> m_pages;

    void Select(int nFont);
    int Advance(CPdfFont& font, WORD glyph);
};

// Appends a number with at most 3 decimals, as PDF operators take them.
void AppendPdfNumber(std::string& s, double d);
