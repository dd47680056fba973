// Shrinks a TrueType font program for embedding: the outlines of glyphs the
// document does not show are left out (their glyph ids keep their places,
// so glyph ids still address the same glyphs), and only the tables a PDF
// viewer reads are kept.
#pragma once

#include <windows.h>

#include <set>
#include <string>

// The shrunk font, or the font as it was when it is not a plain TrueType
// font with outlines that can be read safely. Glyph 0 and the parts of
// composite glyphs are always kept.
std::string SubsetTrueTypeFont(const std::string& font, const std::set<WORD>& glyphs);
