// CMarkupText: draws a line of report mark-up text: plain text with
// backslash keywords that switch weight, slant, underline, subscript and
// superscript, colour, blanks and line breaks ("q \sub50 \reg:"). Works in
// any mapping mode (MM_TEXT on screen, MM_TWIPS on report pages). A
// short-lived local object of the code that paints.
#pragma once

#include <utility>
#include <vector>

#include "framework/Dc.h"
#include "framework/GdiObject.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CMarkupText {
public:
    // Keyword codes: the index into the keyword table.
    enum Keyword {
        kLight, kNorm, kBold, kItal, kXItal, kUl, kXUl, kReg, kSub, kSuper, kNewLine, kSpace, kIndent, kColour,
        kKeywordCount
    };
    static const wchar_t* const MarkupKeywords[kKeywordCount];

    // Alignment of a line.
    enum { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

    CMarkupText() = default;
    ~CMarkupText() = default;
    CMarkupText(const CMarkupText&) = delete;
    CMarkupText& operator=(const CMarkupText&) = delete;

    // Draws the text on one line from the rectangle's top left (centred or
    // right-aligned lines are measured first) in the base font and returns
    // the bound of what was drawn; (0, 0, 0, rc.bottom) for an empty text.
    // Leaves the DC's font as it was and its text colour black.
    CRect DrawLine(CDC* pDC, CRect rc, CFont* pBaseFont, CString strText, int nAlign);

    // Draws the lines of a text separated by "\n" one below the other (at
    // most ten; an empty line between two separators is skipped, the piece
    // after the last one is drawn even when empty).
    void DrawMultiLine(CDC* pDC, CRect rc, CFont* pFont, const CString& strText, int nAlign);
    // The lines DrawMultiLine draws. "\n" separates lines only where it is
    // not the start of "\norm".
    static std::vector<CString> SplitLines(const CString& strText);

    // Takes the next token off the front of strRemaining. Returns (n, code):
    // a text segment in strSegment gives (position of the next keyword or 0
    // at the end, -1); "\sp" gives (blank count, kSpace) with the blanks in
    // strSegment; "\indent" (0, kIndent); "\col" (0, kColour) with the colour
    // name in strColour; other keywords (-1, code); nothing left (0, -1).
    std::pair<int, int> NextToken(CString& strRemaining, CString& strSegment, CString& strColour);

    CFont* m_pBaseFont = nullptr;   // base font of the latest DrawLine
    int m_nIndent = 0;              // blanks before a line started by "\n"; kept between calls

private:
    // The leading decimal digits of up to two characters; 0 when none.
    static int ReadTwoDigitNumber(const CString& strText);
};
