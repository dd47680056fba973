// Helpers of the zone tests: a recording of what the chart draws on an
// enhanced-metafile DC (texts with their font, lines with their pen,
// rectangles, and filled polygons with their brush), and a PNG of a canvas.
#pragma once

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/GdiPlus.h"
#include "framework/Dc.h"
#include "tests/app/MessageTestSupport.h"

struct CChartRecording {
    struct Text {
        std::wstring text;
        POINT pt{};
        LOGFONTW font{};
    };
    struct Line {
        POINT from{};
        POINT to{};
        LOGPEN pen{};
    };
    struct Polygon {
        std::vector<POINT> points;
        COLORREF brush = CLR_INVALID;
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
    std::vector<Text> texts;
    std::vector<Line> lines;
    std::vector<RECT> rectangles;
    std::vector<Polygon> polygons;
};

class CChartRecorder {
public:
    CChartRecorder() { m_dc.Attach(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr)); }
    ~CChartRecorder()
    {
        if (m_dc.GetSafeHdc() != nullptr)
            ::DeleteEnhMetaFile(::CloseEnhMetaFile(m_dc.Detach()));
    }
    CChartRecorder(const CChartRecorder&) = delete;
    CChartRecorder& operator=(const CChartRecorder&) = delete;
    CDC& Dc() { return m_dc; }

    CChartRecording Finish()
    {
        CChartRecording rec;
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(m_dc.Detach());
        if (hMeta == nullptr)
            return rec;
        std::vector<BYTE> bits(::GetEnhMetaFileBits(hMeta, 0, nullptr));
        ::GetEnhMetaFileBits(hMeta, static_cast<UINT>(bits.size()), bits.data());
        ::DeleteEnhMetaFile(hMeta);
        std::map<DWORD, LOGFONTW> fonts;
        std::map<DWORD, LOGPEN> pens;
        std::map<DWORD, COLORREF> brushes;
        LOGFONTW font{};
        LOGPEN pen{PS_SOLID, {1, 0}, RGB(0, 0, 0)};
        COLORREF brush = CLR_INVALID;
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
                    font = fonts[ih];
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
                    else
                        font = LOGFONTW{};
                }
                break;
            }
            case EMR_DELETEOBJECT: {
                const DWORD ih = reinterpret_cast<const EMRDELETEOBJECT*>(pRecord)->ihObject;
                fonts.erase(ih), pens.erase(ih), brushes.erase(ih);
                break;
            }
            case EMR_EXTTEXTOUTW: {
                const auto* p = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
                CChartRecording::Text t;
                const auto* pChars = reinterpret_cast<const wchar_t*>(bits.data() + off + p->emrtext.offString);
                t.text.assign(pChars, p->emrtext.nChars);
                t.pt = {p->emrtext.ptlReference.x, p->emrtext.ptlReference.y};
                t.font = font;
                rec.texts.push_back(t);
                break;
            }
            case EMR_RECTANGLE: {
                const RECTL& box = reinterpret_cast<const EMRRECTANGLE*>(pRecord)->rclBox;
                rec.rectangles.push_back(RECT{box.left, box.top, box.right, box.bottom});
                break;
            }
            case EMR_MOVETOEX: {
                const POINTL& ptl = reinterpret_cast<const EMRMOVETOEX*>(pRecord)->ptl;
                pos = {ptl.x, ptl.y};
                break;
            }
            case EMR_LINETO: {
                const POINTL& ptl = reinterpret_cast<const EMRLINETO*>(pRecord)->ptl;
                rec.lines.push_back({pos, POINT{ptl.x, ptl.y}, pen});
                pos = {ptl.x, ptl.y};
                break;
            }
            case EMR_POLYGON16: {
                const auto* p = reinterpret_cast<const EMRPOLYGON16*>(pRecord);
                CChartRecording::Polygon poly;
                for (DWORD i = 0; i < p->cpts; ++i)
                    poly.points.push_back(POINT{p->apts[i].x, p->apts[i].y});
                poly.brush = brush;
                rec.polygons.push_back(poly);
                break;
            }
            case EMR_POLYGON: {
                const auto* p = reinterpret_cast<const EMRPOLYGON*>(pRecord);
                CChartRecording::Polygon poly;
                for (DWORD i = 0; i < p->cptl; ++i)
                    poly.points.push_back(POINT{p->aptl[i].x, p->aptl[i].y});
                poly.brush = brush;
                rec.polygons.push_back(poly);
                break;
            }
            default:
                break;
            }
            off += pRecord->nSize;
        }
        return rec;
    }

private:
    CDC m_dc;
};

// Saves the canvas as a PNG in the screenshot folder (VUDADAR_SCREENS);
// returns the path, or "" when nothing was saved.
inline std::wstring SaveCanvasPng(CCanvas& canvas, const wchar_t* pszName)
{
    const std::wstring folder = ScreensFolder();
    if (folder.empty())
        return {};
    const std::wstring path = folder + pszName;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool bSaved = false;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            HBITMAP hBitmap = static_cast<HBITMAP>(::GetCurrentObject(canvas.DC(), OBJ_BITMAP));
            Gdiplus::Bitmap image(hBitmap, nullptr);
            UINT nCount = 0;
            UINT nSize = 0;
            Gdiplus::GetImageEncodersSize(&nCount, &nSize);
            std::vector<BYTE> buffer(nSize);
            auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
            if (nSize != 0 && Gdiplus::GetImageEncoders(nCount, nSize, pCodecs) == Gdiplus::Ok) {
                for (UINT i = 0; i < nCount && !bSaved; ++i) {
                    if (std::wstring(pCodecs[i].MimeType) == L"image/png")
                        bSaved = image.Save(path.c_str(), &pCodecs[i].Clsid, nullptr) == Gdiplus::Ok;
                }
            }
        }
        Gdiplus::GdiplusShutdown(token);
    }
    return bSaved ? path : std::wstring();
}
