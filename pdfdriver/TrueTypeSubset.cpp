#include "pdfdriver/TrueTypeSubset.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace {

uint32_t Read32(const std::string& s, size_t at)
{
    return (static_cast<uint32_t>(static_cast<unsigned char>(s[at])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3]));
}

uint16_t Read16(const std::string& s, size_t at)
{
    return static_cast<uint16_t>((static_cast<unsigned char>(s[at]) << 8) | static_cast<unsigned char>(s[at + 1]));
}

void Put32(std::string& s, size_t at, uint32_t v)
{
    s[at] = static_cast<char>(v >> 24);
    s[at + 1] = static_cast<char>(v >> 16);
    s[at + 2] = static_cast<char>(v >> 8);
    s[at + 3] = static_cast<char>(v);
}

void Append32(std::string& s, uint32_t v)
{
    s.resize(s.size() + 4);
    Put32(s, s.size() - 4, v);
}

void Append16(std::string& s, uint16_t v)
{
    s += static_cast<char>(v >> 8);
    s += static_cast<char>(v);
}

uint32_t CheckSum(const std::string& table)
{
    uint32_t nSum = 0;
    std::string padded = table;
    padded.resize((padded.size() + 3) & ~size_t{3}, '\0');
    for (size_t at = 0; at < padded.size(); at += 4)
        nSum += Read32(padded, at);
    return nSum;
}

// The tables a viewer reads from an embedded TrueType font.
bool IsKeptTable(const std::string& tag)
{
    return tag == "cvt " || tag == "fpgm" || tag == "glyf" || tag == "head" || tag == "hhea" || tag == "hmtx" ||
           tag == "loca" || tag == "maxp" || tag == "prep";
}

}  // namespace

std::string SubsetTrueTypeFont(const std::string& font, const std::set<WORD>& glyphs)
{
    if (font.size() < 12)
        return font;
    const uint32_t nVersion = Read32(font, 0);
    if (nVersion != 0x00010000u && nVersion != 0x74727565u)   // 1.0 or 'true'; not a collection
        return font;
    const uint16_t nTables = Read16(font, 4);
    if (12 + size_t{nTables} * 16 > font.size())
        return font;
    std::map<std::string, std::string> tables;
    for (uint16_t i = 0; i < nTables; ++i) {
        const size_t at = 12 + size_t{i} * 16;
        const std::string tag = font.substr(at, 4);
        const uint32_t nOffset = Read32(font, at + 8);
        const uint32_t nLength = Read32(font, at + 12);
        if (nOffset > font.size() || nLength > font.size() - nOffset)
            return font;
        tables[tag] = font.substr(nOffset, nLength);
    }
    for (const char* tag : {"head", "maxp", "loca", "glyf", "hhea", "hmtx"})
        if (tables.count(tag) == 0)
            return font;
    std::string& head = tables["head"];
    const std::string& maxp = tables["maxp"];
    const std::string& loca = tables["loca"];
    const std::string& glyf = tables["glyf"];
    if (head.size() < 54 || maxp.size() < 6)
        return font;
    const int16_t nLocFormat = static_cast<int16_t>(Read16(head, 50));
    const size_t nGlyphs = Read16(maxp, 4);
    if (nGlyphs == 0 || (nLocFormat != 0 && nLocFormat != 1) || loca.size() < (nGlyphs + 1) * (nLocFormat ? 4 : 2))
        return font;
    std::vector<uint32_t> offsets(nGlyphs + 1);
    for (size_t g = 0; g <= nGlyphs; ++g)
        offsets[g] = nLocFormat ? Read32(loca, g * 4) : 2u * Read16(loca, g * 2);
    for (size_t g = 0; g < nGlyphs; ++g)
        if (offsets[g] > offsets[g + 1] || offsets[g + 1] > glyf.size())
            return font;

    // The glyphs shown, glyph 0, and every part of a composite glyph.
    std::vector<bool> bKeep(nGlyphs, false);
    std::vector<size_t> pending{0};
    for (WORD g : glyphs)
        if (g < nGlyphs)
            pending.push_back(g);
    while (!pending.empty()) {
        const size_t g = pending.back();
        pending.pop_back();
        if (bKeep[g])
            continue;
        bKeep[g] = true;
        const size_t nStart = offsets[g], nEnd = offsets[g + 1];
        if (nEnd - nStart < 10 || static_cast<int16_t>(Read16(glyf, nStart)) >= 0)
            continue;
        size_t at = nStart + 10;
        for (;;) {
            if (at + 4 > nEnd)
                return font;
            const uint16_t nFlags = Read16(glyf, at);
            const uint16_t nPart = Read16(glyf, at + 2);
            if (nPart >= nGlyphs)
                return font;
            pending.push_back(nPart);
            at += 4 + ((nFlags & 0x0001) ? 4 : 2);
            if (nFlags & 0x0008)
                at += 2;
            else if (nFlags & 0x0040)
                at += 4;
            else if (nFlags & 0x0080)
                at += 8;
            if (!(nFlags & 0x0020))
                break;
        }
    }

    std::string newGlyf, newLoca;
    for (size_t g = 0; g < nGlyphs; ++g) {
        Append32(newLoca, static_cast<uint32_t>(newGlyf.size()));
        if (bKeep[g]) {
            newGlyf.append(glyf, offsets[g], offsets[g + 1] - offsets[g]);
            newGlyf.resize((newGlyf.size() + 3) & ~size_t{3}, '\0');
        }
    }
    Append32(newLoca, static_cast<uint32_t>(newGlyf.size()));
    tables["glyf"] = newGlyf;
    tables["loca"] = newLoca;
    head[50] = 0;
    head[51] = 1;                 // long offsets
    Put32(head, 8, 0);            // checkSumAdjustment, set below

    std::vector<std::string> tags;
    for (const auto& [tag, data] : tables)
        if (IsKeptTable(tag))
            tags.push_back(tag);   // std::map: in tag order, as the directory wants
    const uint16_t nCount = static_cast<uint16_t>(tags.size());
    uint16_t nEntrySelector = 0;
    while ((2u << nEntrySelector) <= nCount)
        ++nEntrySelector;
    const uint16_t nSearchRange = static_cast<uint16_t>(16u << nEntrySelector);

    std::string out;
    Append32(out, 0x00010000u);
    Append16(out, nCount);
    Append16(out, nSearchRange);
    Append16(out, nEntrySelector);
    Append16(out, static_cast<uint16_t>(nCount * 16 - nSearchRange));
    size_t nOffset = 12 + size_t{nCount} * 16;
    std::string body;
    size_t nHeadOffset = 0;
    for (const std::string& tag : tags) {
        const std::string& data = tables[tag];
        out += tag;
        Append32(out, CheckSum(data));
        Append32(out, static_cast<uint32_t>(nOffset + body.size()));
        Append32(out, static_cast<uint32_t>(data.size()));
        if (tag == "head")
            nHeadOffset = nOffset + body.size();
        body += data;
        body.resize((body.size() + 3) & ~size_t{3}, '\0');
    }
    out += body;
    Put32(out, nHeadOffset + 8, 0xB1B0AFBAu - CheckSum(out));
    return out;
}
