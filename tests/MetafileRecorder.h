// Records drawing on an enhanced-metafile DC and reads the records back:
// each text with its reference point, font and colour, each rectangle and
// filled polygon with the brush colour it was filled with, and each line
// with its pen. Header-only so that every test program can use it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/Dc.h"

struct CRecordedText {
    std::wstring text;
    POINT pt{};            // reference point, logical units
    LOGFONTW font{};       // the font selected when it was drawn (zeros: none of ours)
    COLORREF colour = 0;   // text colour
};

struct CRecordedRectangle {
    RECT rc{};
    COLORREF brush = CLR_INVALID;   // colour of the selected solid brush, CLR_INVALID for a stock one
};

struct CRecordedLine {
    POINT from{};
    POINT to{};
    LOGPEN pen{};
};

struct CRecordedPolygon {
    std::vector<POINT> points;
    COLORREF brush = CLR_INVALID;   // as for a rectangle

    int Width() const
    {
        LONG lo = points.empty() ? 0 : points[0].x;
        LONG hi = lo;
        for (const POINT& pt : points)
            lo = std::min(lo, pt.x), hi = std::max(hi, pt.x);
        return hi - lo;
    }
    POINT Centre() const
    {
        LONG x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
        for (const POINT& pt : points) {
            x0 = std::min(x0, pt.x), x1 = std::max(x1, pt.x);
            y0 = std::min(y0, pt.y), y1 = std::max(y1, pt.y);
        }
        return POINT{(x0 + x1) / 2, (y0 + y1) / 2};
    }
};

struct CRecordedDrawing {
    std::vector<CRecordedText> texts;
    std::vector<CRecordedRectangle> rectangles;
    std::vector<CRecordedLine> lines;
    std::vector<CRecordedPolygon> polygons;

    // The texts joined in the order drawn, for finding words across segments.
    std::wstring AllText() const
    {
        std::wstring s;
        for (const CRecordedText& t : texts)
            s += t.text;
        return s;
    }
    const CRecordedText* Find(const std::wstring& text) const
    {
        for (const CRecordedText& t : texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
};

class CMetafileRecorder {
public:
    // A metafile of the screen's resolution; nMapMode is set on it before
    // the test draws.
    explicit CMetafileRecorder(int nMapMode = MM_TEXT)
    {
        m_dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
        if (m_dc.GetSafeHdc() != nullptr)
            m_dc.SetMapMode(nMapMode);
    }
    ~CMetafileRecorder()
    {
        if (m_dc.GetSafeHdc() != nullptr)
            ::DeleteEnhMetaFile(::CloseEnhMetaFile(m_dc.Detach()));
    }
    CMetafileRecorder(const CMetafileRecorder&) = delete;
    CMetafileRecorder& operator=(const CMetafileRecorder&) = delete;

    CDC& Dc() { return m_dc; }
    bool IsReady() const { return m_dc.GetSafeHdc() != nullptr; }

    // Ends the recording and reads it.
    CRecordedDrawing Finish()
    {
        CRecordedDrawing drawing;
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(m_dc.Detach());
        if (hMeta == nullptr)
            return drawing;
        std::vector<BYTE> bits(::GetEnhMetaFileBits(hMeta, 0, nullptr));
        ::GetEnhMetaFileBits(hMeta, static_cast<UINT>(bits.size()), bits.data());
        ::DeleteEnhMetaFile(hMeta);

        std::map<DWORD, LOGFONTW> fonts;
        std::map<DWORD, LOGPEN> pens;
        std::map<DWORD, COLORREF> brushes;
        LOGFONTW current{};
        LOGPEN pen{PS_SOLID, {1, 0}, RGB(0, 0, 0)};
        COLORREF brush = CLR_INVALID;
        COLORREF textColour = 0;
        POINT pos{};
        for (size_t off = 0; off + sizeof(EMR) <= bits.size();) {
            const auto* pRecord = reinterpret_cast<const EMR*>(bits.data() + off);
            if (pRecord->nSize < sizeof(EMR) || off + pRecord->nSize > bits.size())
                break;
            switch (pRecord->iType) {
            case EMR_EXTCREATEFONTINDIRECTW: {
                const auto* p = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(pRecord);
                fonts[p->ihFont] = p->elfw.elfLogFont;
                break;
            }
            case EMR_CREATEPEN: {
                const auto* p = reinterpret_cast<const EMRCREATEPEN*>(pRecord);
                pens[p->ihPen] = p->lopn;
                break;
            }
            case EMR_CREATEBRUSHINDIRECT: {
                const auto* p = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(pRecord);
                brushes[p->ihBrush] = p->lb.lbColor;
                break;
            }
            case EMR_SELECTOBJECT: {
                const DWORD ih = reinterpret_cast<const EMRSELECTOBJECT*>(pRecord)->ihObject;
                if (fonts.count(ih) != 0)
                    current = fonts[ih];
                else if (pens.count(ih) != 0)
                    pen = pens[ih];
                else if (brushes.count(ih) != 0)
                    brush = brushes[ih];
                else if ((ih & 0x80000000u) != 0) {
                    const DWORD nStock = ih & 0x7FFFFFFFu;
                    if (nStock <= NULL_BRUSH)
                        brush = CLR_INVALID;
                    else if (nStock >= WHITE_PEN && nStock <= NULL_PEN)
                        pen = LOGPEN{PS_SOLID, {1, 0}, nStock == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0)};
                    else if (nStock >= OEM_FIXED_FONT && nStock <= DEFAULT_GUI_FONT)
                        current = LOGFONTW{};
                }
                break;
            }
            case EMR_DELETEOBJECT: {
                const DWORD ih = reinterpret_cast<const EMRDELETEOBJECT*>(pRecord)->ihObject;
                fonts.erase(ih);
                pens.erase(ih);
                brushes.erase(ih);
                break;
            }
            case EMR_SETTEXTCOLOR:
                textColour = reinterpret_cast<const EMRSETTEXTCOLOR*>(pRecord)->crColor;
                break;
            case EMR_EXTTEXTOUTW: {
                const auto* p = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
                CRecordedText t;
                const auto* pChars = reinterpret_cast<const wchar_t*>(bits.data() + off + p->emrtext.offString);
                t.text.assign(pChars, p->emrtext.nChars);
                t.pt = {p->emrtext.ptlReference.x, p->emrtext.ptlReference.y};
                t.font = current;
                t.colour = textColour;
                drawing.texts.push_back(t);
                break;
            }
            case EMR_RECTANGLE: {
                // The record's box includes its right and bottom edges; the
                // call's rectangle does not.
                const RECTL& box = reinterpret_cast<const EMRRECTANGLE*>(pRecord)->rclBox;
                drawing.rectangles.push_back({RECT{box.left, box.top, box.right + 1, box.bottom + 1}, brush});
                break;
            }
            case EMR_MOVETOEX: {
                const POINTL& ptl = reinterpret_cast<const EMRMOVETOEX*>(pRecord)->ptl;
                pos = {ptl.x, ptl.y};
                break;
            }
            case EMR_LINETO: {
                const POINTL& ptl = reinterpret_cast<const EMRLINETO*>(pRecord)->ptl;
                drawing.lines.push_back({pos, POINT{ptl.x, ptl.y}, pen});
                pos = {ptl.x, ptl.y};
                break;
            }
            case EMR_POLYGON16: {
                const auto* p = reinterpret_cast<const EMRPOLYGON16*>(pRecord);
                drawing.polygons.push_back(Polygon(p->apts, p->cpts, brush));
                break;
            }
            case EMR_POLYGON: {
                const auto* p = reinterpret_cast<const EMRPOLYGON*>(pRecord);
                drawing.polygons.push_back(Polygon(p->aptl, p->cptl, brush));
                break;
            }
            default:
                break;
            }
            off += pRecord->nSize;
        }
        return drawing;
    }

private:
    // The record's points are POINTS or POINTL.
    template <class TPoint>
    static CRecordedPolygon Polygon(const TPoint* pPoints, DWORD nCount, COLORREF brush)
    {
        CRecordedPolygon polygon;
        for (DWORD i = 0; i < nCount; ++i)
            polygon.points.push_back(POINT{pPoints[i].x, pPoints[i].y});
        polygon.brush = brush;
        return polygon;
    }

    CDC m_dc;
};
