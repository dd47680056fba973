#include "pdfdriver/EmfToPdf.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>

namespace {

struct Matrix {   // x' = a x + c y + e, y' = b x + d y + f
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

Matrix Multiply(const Matrix& m, const Matrix& n)   // m first, then n
{
    return Matrix{m.a * n.a + m.b * n.c, m.a * n.b + m.b * n.d, m.c * n.a + m.d * n.c,
                  m.c * n.b + m.d * n.d, m.e * n.a + m.f * n.c + n.e, m.e * n.b + m.f * n.d + n.f};
}

struct Object {
    enum Kind { kNone, kPen, kBrush, kFont } kind = kNone;
    int nStyle = 0;      // pen style or brush style
    double dWidth = 0;   // pen width, logical units (0: one pixel)
    bool bCosmetic = true;
    COLORREF colour = 0;
    LOGFONTW font{};
};

struct Rect {
    double x0, y0, x1, y1;   // device, x0 <= x1, y0 <= y1
};

struct State {
    int nMapMode = MM_TEXT;
    double wox = 0, woy = 0, wex = 1, wey = 1;
    double vox = 0, voy = 0, vex = 1, vey = 1;
    Matrix world;
    Object pen{Object::kPen, PS_SOLID, 0, true, RGB(0, 0, 0), {}};
    Object brush{Object::kBrush, BS_SOLID, 0, true, RGB(255, 255, 255), {}};
    Object font{Object::kFont, 0, 0, true, 0, {}};
    COLORREF textColour = 0;
    COLORREF bkColour = RGB(255, 255, 255);
    int nBkMode = OPAQUE;
    UINT nTextAlign = TA_LEFT | TA_TOP;
    int nFillMode = ALTERNATE;
    double curX = 0, curY = 0;   // logical
    std::optional<Rect> clip;
};

class Converter {
public:
    Converter(CPdfDocument& doc, const CPdfPageGeometry& page) : m_doc(doc), m_page(page)
    {
        m_k = 72.0 / page.nDpi;
        m_state.font.font.lfHeight = -13;
        wcscpy_s(m_state.font.font.lfFaceName, L"Arial");
    }

    bool Run(const std::vector<BYTE>& bits);
    std::string Content() { CloseClip(); return std::move(m_out); }

private:
    CPdfDocument& m_doc;
    CPdfPageGeometry m_page;
    double m_k;   // points per device pixel
    State m_state;
    std::vector<State> m_saved;
    std::map<DWORD, Object> m_objects;
    std::string m_out;
    bool m_bInPath = false;
    std::string m_path;
    bool m_bClipOpen = false;
    std::optional<Rect> m_openClip;

    // Logical to device to PDF.
    void ToDevice(double x, double y, double& dx, double& dy) const
    {
        const Matrix& w = m_state.world;
        const double wx = w.a * x + w.c * y + w.e, wy = w.b * x + w.d * y + w.f;
        dx = (wx - m_state.wox) * m_state.vex / m_state.wex + m_state.vox;
        dy = (wy - m_state.woy) * m_state.vey / m_state.wey + m_state.voy;
    }
    void ToPdf(double x, double y, double& px, double& py) const
    {
        double dx, dy;
        ToDevice(x, y, dx, dy);
        px = dx * m_k;
        py = (m_page.nHeightPx - dy) * m_k;
    }
    void DeviceToPdf(double dx, double dy, double& px, double& py) const
    {
        px = dx * m_k;
        py = (m_page.nHeightPx - dy) * m_k;
    }
    double ScaleX() const
    {
        const Matrix& w = m_state.world;
        return std::hypot(w.a, w.b) * std::fabs(m_state.vex / m_state.wex);
    }
    double ScaleY() const
    {
        const Matrix& w = m_state.world;
        return std::hypot(w.c, w.d) * std::fabs(m_state.vey / m_state.wey);
    }

    void Num(double d) { AppendPdfNumber(m_out, d); m_out += ' '; }
    void PathNum(std::string& s, double d) { AppendPdfNumber(s, d); s += ' '; }
    void Colour(COLORREF c, bool bStroke)
    {
        Num(GetRValue(c) / 255.0);
        Num(GetGValue(c) / 255.0);
        Num(GetBValue(c) / 255.0);
        m_out += bStroke ? "RG\n" : "rg\n";
    }

    void SetMapMode(int nMode);
    void FixIsotropic();
    void ApplyClip();
    void CloseClip()
    {
        if (m_bClipOpen)
            m_out += "Q\n";
        m_bClipOpen = false;
        m_openClip.reset();
    }

    // Path building in PDF units.
    void MoveTo(std::string& s, double x, double y)
    {
        double px, py;
        ToPdf(x, y, px, py);
        PathNum(s, px), PathNum(s, py), s += "m\n";
    }
    void LineTo(std::string& s, double x, double y)
    {
        double px, py;
        ToPdf(x, y, px, py);
        PathNum(s, px), PathNum(s, py), s += "l\n";
    }
    void CurveTo(std::string& s, const double* p)
    {
        for (int i = 0; i < 3; ++i) {
            double px, py;
            ToPdf(p[2 * i], p[2 * i + 1], px, py);
            PathNum(s, px), PathNum(s, py);
        }
        s += "c\n";
    }
    void RectPath(std::string& s, double l, double t, double r, double b)
    {
        MoveTo(s, l, t), LineTo(s, r, t), LineTo(s, r, b), LineTo(s, l, b);
        s += "h\n";
    }
    void EllipsePath(std::string& s, double l, double t, double r, double b)
    {
        const double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2, k = 0.5523;
        MoveTo(s, cx + rx, cy);
        const double q[4][6] = {{cx + rx, cy + k * ry, cx + k * rx, cy + ry, cx, cy + ry},
                                {cx - k * rx, cy + ry, cx - rx, cy + k * ry, cx - rx, cy},
                                {cx - rx, cy - k * ry, cx - k * rx, cy - ry, cx, cy - ry},
                                {cx + k * rx, cy - ry, cx + rx, cy - k * ry, cx + rx, cy}};
        for (const auto& seg : q)
            CurveTo(s, seg);
        s += "h\n";
    }

    bool HasPen() const { return m_state.pen.nStyle != PS_NULL; }
    bool HasBrush() const { return m_state.brush.nStyle != BS_NULL && m_state.brush.nStyle != BS_HOLLOW; }
    void StrokeSettings();
    // Paints a path: fill with the brush, stroke with the pen, as asked.
    void Paint(const std::string& path, bool bFill, bool bStroke);

    void Text(const EMREXTTEXTOUTW& r, const BYTE* pRecord, size_t nSize);
    void Image(double x, double y, double cx, double cy, const BYTE* pRecord, size_t nSize, DWORD offBmi, DWORD cbBmi,
               DWORD offBits, DWORD cbBits, int xSrc, int ySrc, int cxSrc, int cySrc, DWORD nUsage);
    void FillDeviceRect(const Rect& r, COLORREF c);
};

void Converter::SetMapMode(int nMode)
{
    m_state.nMapMode = nMode;
    const double dpi = m_page.nDpi;
    double dUnitsPerInch = 0;
    switch (nMode) {
    case MM_TEXT:
        m_state.wex = m_state.wey = m_state.vex = m_state.vey = 1;
        return;
    case MM_LOMETRIC: dUnitsPerInch = 254; break;
    case MM_HIMETRIC: dUnitsPerInch = 2540; break;
    case MM_LOENGLISH: dUnitsPerInch = 100; break;
    case MM_HIENGLISH: dUnitsPerInch = 1000; break;
    case MM_TWIPS: dUnitsPerInch = 1440; break;
    default: return;   // MM_ISOTROPIC and MM_ANISOTROPIC keep the extents they had
    }
    m_state.wex = m_state.wey = dUnitsPerInch;
    m_state.vex = dpi;
    m_state.vey = -dpi;
}

void Converter::FixIsotropic()
{
    if (m_state.nMapMode != MM_ISOTROPIC || m_state.wex == 0 || m_state.wey == 0)
        return;
    const double sx = std::fabs(m_state.vex / m_state.wex), sy = std::fabs(m_state.vey / m_state.wey);
    if (sx > sy)
        m_state.vex = std::copysign(sy * std::fabs(m_state.wex), m_state.vex);
    else if (sy > sx)
        m_state.vey = std::copysign(sx * std::fabs(m_state.wey), m_state.vey);
}

void Converter::ApplyClip()
{
    const std::optional<Rect>& c = m_state.clip;
    const bool bSame = m_bClipOpen == c.has_value() &&
                       (!c || (m_openClip && std::memcmp(&*m_openClip, &*c, sizeof(Rect)) == 0));
    if (bSame)
        return;
    CloseClip();
    if (!c)
        return;
    double x0, y0, x1, y1;
    DeviceToPdf(c->x0, c->y1, x0, y0);
    DeviceToPdf(c->x1, c->y0, x1, y1);
    m_out += "q ";
    Num(x0), Num(y0), Num(x1 - x0), Num(y1 - y0);
    m_out += "re W n\n";
    m_bClipOpen = true;
    m_openClip = c;
}

void Converter::StrokeSettings()
{
    const Object& pen = m_state.pen;
    double w = pen.bCosmetic || pen.dWidth <= 0 ? 1.0 : pen.dWidth * ScaleX();
    w = std::max(w, 1.0) * m_k;
    Num(w);
    m_out += "w 1 J 1 j ";
    switch (pen.nStyle & PS_STYLE_MASK) {
    case PS_DASH: m_out += "[4 2] 0 d\n"; break;
    case PS_DOT: m_out += "[1 2] 0 d\n"; break;
    case PS_DASHDOT: m_out += "[4 2 1 2] 0 d\n"; break;
    case PS_DASHDOTDOT: m_out += "[4 2 1 2 1 2] 0 d\n"; break;
    default: m_out += "[] 0 d\n"; break;
    }
    Colour(pen.colour, true);
}

void Converter::Paint(const std::string& path, bool bFill, bool bStroke)
{
    if (m_bInPath) {
        m_path += path;
        return;
    }
    bFill = bFill && HasBrush();
    bStroke = bStroke && HasPen();
    if (!bFill && !bStroke)
        return;
    ApplyClip();
    if (bFill)
        Colour(m_state.brush.colour, false);
    if (bStroke)
        StrokeSettings();
    m_out += path;
    const bool bEvenOdd = m_state.nFillMode == ALTERNATE;
    if (bFill && bStroke)
        m_out += bEvenOdd ? "B*\n" : "B\n";
    else if (bFill)
        m_out += bEvenOdd ? "f*\n" : "f\n";
    else
        m_out += "S\n";
}

void Converter::FillDeviceRect(const Rect& r, COLORREF c)
{
    ApplyClip();
    double x0, y0, x1, y1;
    DeviceToPdf(r.x0, r.y1, x0, y0);
    DeviceToPdf(r.x1, r.y0, x1, y1);
    Colour(c, false);
    Num(x0), Num(y0), Num(x1 - x0), Num(y1 - y0);
    m_out += "re f\n";
}

// A DIB of any of the usual formats as 8-bit RGB rows, top row first.
bool DibToRgb(const BITMAPINFO* pbmi, size_t cbBmi, const BYTE* pBits, size_t cbBits, DWORD nUsage, int& nWidth,
              int& nHeight, std::string& rgb)
{
    if (cbBmi < sizeof(BITMAPINFOHEADER))
        return false;
    const BITMAPINFOHEADER& h = pbmi->bmiHeader;
    nWidth = h.biWidth;
    nHeight = std::abs(h.biHeight);
    const int nBits = h.biBitCount;
    if (nWidth <= 0 || nHeight <= 0 || nWidth > 20000 || nHeight > 20000)
        return false;
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)
        return false;
    const size_t nStride = ((static_cast<size_t>(nWidth) * nBits + 31) / 32) * 4;
    if (cbBits < nStride * static_cast<size_t>(nHeight))
        return false;
    const BYTE* pTable = reinterpret_cast<const BYTE*>(pbmi) + h.biSize;
    const size_t nColours = nBits <= 8 ? (h.biClrUsed != 0 ? h.biClrUsed : (size_t{1} << nBits)) : 0;
    if (nBits <= 8 && (nUsage != DIB_RGB_COLORS || h.biSize + nColours * 4 > cbBmi))
        return false;
    DWORD masks[3] = {0xFF0000, 0xFF00, 0xFF};
    if (nBits == 16)
        masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
    if (h.biCompression == BI_BITFIELDS) {
        if (h.biSize + 12 > cbBmi && h.biSize < sizeof(BITMAPV4HEADER))
            return false;
        const BYTE* pMasks = h.biSize >= sizeof(BITMAPV4HEADER) ? reinterpret_cast<const BYTE*>(pbmi) + 40 : pTable;
        std::memcpy(masks, pMasks, 12);
        if (h.biSize < sizeof(BITMAPV4HEADER))
            pTable += 12;
    }
    auto channel = [](DWORD v, DWORD mask) -> BYTE {
        if (mask == 0)
            return 0;
        int nShift = 0;
        while (((mask >> nShift) & 1) == 0)
            ++nShift;
        const DWORD nMax = mask >> nShift;
        return static_cast<BYTE>(((v & mask) >> nShift) * 255 / nMax);
    };
    rgb.resize(static_cast<size_t>(nWidth) * nHeight * 3);
    const bool bTopDown = h.biHeight < 0;
    for (int y = 0; y < nHeight; ++y) {
        const BYTE* pRow = pBits + nStride * static_cast<size_t>(bTopDown ? y : nHeight - 1 - y);
        BYTE* pOut = reinterpret_cast<BYTE*>(rgb.data()) + static_cast<size_t>(y) * nWidth * 3;
        for (int x = 0; x < nWidth; ++x, pOut += 3) {
            if (nBits <= 8) {
                const size_t nBit = static_cast<size_t>(x) * nBits;
                size_t idx = (pRow[nBit / 8] >> (8 - nBits - nBit % 8)) & ((1u << nBits) - 1);
                idx = std::min(idx, nColours - 1);
                pOut[0] = pTable[idx * 4 + 2], pOut[1] = pTable[idx * 4 + 1], pOut[2] = pTable[idx * 4];
            } else if (nBits == 24 || (nBits == 32 && h.biCompression == BI_RGB)) {
                const BYTE* p = pRow + static_cast<size_t>(x) * (nBits / 8);
                pOut[0] = p[2], pOut[1] = p[1], pOut[2] = p[0];
            } else if (nBits == 16 || nBits == 32) {
                DWORD v = 0;
                std::memcpy(&v, pRow + static_cast<size_t>(x) * (nBits / 8), static_cast<size_t>(nBits / 8));
                pOut[0] = channel(v, masks[0]), pOut[1] = channel(v, masks[1]), pOut[2] = channel(v, masks[2]);
            } else {
                return false;
            }
        }
    }
    return true;
}

void Converter::Image(double x, double y, double cx, double cy, const BYTE* pRecord, size_t nSize, DWORD offBmi,
                      DWORD cbBmi, DWORD offBits, DWORD cbBits, int xSrc, int ySrc, int cxSrc, int cySrc,
                      DWORD nUsage)
{
    if (offBmi == 0 || static_cast<size_t>(offBmi) + cbBmi > nSize || static_cast<size_t>(offBits) + cbBits > nSize)
        return;
    int nWidth = 0, nHeight = 0;
    std::string rgb;
    if (!DibToRgb(reinterpret_cast<const BITMAPINFO*>(pRecord + offBmi), cbBmi, pRecord + offBits, cbBits, nUsage,
                  nWidth, nHeight, rgb))
        return;
    const bool bTopDown = reinterpret_cast<const BITMAPINFO*>(pRecord + offBmi)->bmiHeader.biHeight < 0;
    // The source rectangle, in rows from the top.
    int x0 = std::clamp(xSrc, 0, nWidth), x1 = std::clamp(xSrc + cxSrc, 0, nWidth);
    int y0 = bTopDown ? ySrc : nHeight - ySrc - cySrc;
    int y1 = y0 + cySrc;
    y0 = std::clamp(y0, 0, nHeight), y1 = std::clamp(y1, 0, nHeight);
    if (x1 <= x0 || y1 <= y0)
        return;
    if (x0 != 0 || y0 != 0 || x1 != nWidth || y1 != nHeight) {
        std::string part;
        part.reserve(static_cast<size_t>(x1 - x0) * (y1 - y0) * 3);
        for (int row = y0; row < y1; ++row)
            part.append(rgb, (static_cast<size_t>(row) * nWidth + x0) * 3, static_cast<size_t>(x1 - x0) * 3);
        rgb = std::move(part);
        nWidth = x1 - x0, nHeight = y1 - y0;
    }
    const int nImage = m_doc.AddImage(nWidth, nHeight, std::move(rgb));
    double p0x, p0y, pxx, pxy, pyx, pyy;
    ToPdf(x, y, p0x, p0y);
    ToPdf(x + cx, y, pxx, pxy);
    ToPdf(x, y + cy, pyx, pyy);
    ApplyClip();
    m_out += "q ";
    Num(pxx - p0x), Num(pxy - p0y), Num(p0x - pyx), Num(p0y - pyy), Num(pyx), Num(pyy);
    m_out += "cm /Im" + std::to_string(nImage) + " Do Q\n";
}

void Converter::Text(const EMREXTTEXTOUTW& r, const BYTE* pRecord, size_t nSize)
{
    const EMRTEXT& t = r.emrtext;
    const int nChars = static_cast<int>(t.nChars);
    if (nChars <= 0 || static_cast<size_t>(t.offString) + static_cast<size_t>(nChars) * 2 > nSize)
        return;
    std::wstring text(static_cast<size_t>(nChars), L'\0');
    std::memcpy(text.data(), pRecord + t.offString, static_cast<size_t>(nChars) * 2);
    const bool bPdy = (t.fOptions & ETO_PDY) != 0;
    std::vector<double> dx;
    if (t.offDx != 0 && static_cast<size_t>(t.offDx) + static_cast<size_t>(nChars) * (bPdy ? 8 : 4) <= nSize) {
        const INT* p = reinterpret_cast<const INT*>(pRecord + t.offDx);
        for (int i = 0; i < nChars; ++i)
            dx.push_back(p[bPdy ? 2 * i : i]);
    }

    ApplyClip();
    if ((t.fOptions & ETO_OPAQUE) != 0) {
        double ax, ay, bx, by;
        ToDevice(t.rcl.left, t.rcl.top, ax, ay);
        ToDevice(t.rcl.right, t.rcl.bottom, bx, by);
        FillDeviceRect(Rect{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)},
                       m_state.bkColour);
    }

    const LOGFONTW& lf = m_state.font.font;
    const int nFont = m_doc.GetFont(lf);
    if (nFont < 0)
        return;
    std::vector<WORD> glyphs;
    std::vector<int> advances;
    if ((t.fOptions & ETO_GLYPH_INDEX) != 0) {
        glyphs.assign(text.begin(), text.end());
        m_doc.UseGlyphs(nFont, glyphs.data(), nChars, advances);
    } else {
        m_doc.MapText(nFont, text.data(), nChars, glyphs, advances);
    }
    const CPdfFont& font = m_doc.Font(nFont);

    // Sizes in device pixels.
    const double sy = ScaleY(), sx = ScaleX();
    double dEm = std::fabs(static_cast<double>(lf.lfHeight));
    if (lf.lfHeight > 0)
        dEm = lf.lfHeight * static_cast<double>(font.nEm) / std::max(1, font.nAscent + font.nDescent);
    if (lf.lfHeight == 0)
        dEm = 12;
    const double dEmDev = dEm * sy;
    if (dEmDev <= 0)
        return;
    std::vector<double> adv(static_cast<size_t>(nChars));
    double dTotal = 0;
    for (int i = 0; i < nChars; ++i) {
        adv[static_cast<size_t>(i)] =
            dx.empty() ? advances[static_cast<size_t>(i)] * dEmDev / font.nEm : dx[static_cast<size_t>(i)] * sx;
        dTotal += adv[static_cast<size_t>(i)];
    }
    const double dAscent = font.nAscent * dEmDev / font.nEm, dDescent = font.nDescent * dEmDev / font.nEm;

    // Baseline direction and downward direction on the device (y down).
    const double e = lf.lfEscapement * 3.14159265358979 / 1800.0;
    const double bx = std::cos(e), by = -std::sin(e), nx = std::sin(e), ny = std::cos(e);
    double ox, oy;
    const bool bUpdateCp = (m_state.nTextAlign & TA_UPDATECP) != 0;
    if (bUpdateCp)
        ToDevice(m_state.curX, m_state.curY, ox, oy);
    else
        ToDevice(t.ptlReference.x, t.ptlReference.y, ox, oy);
    double dAlong = 0;
    switch (m_state.nTextAlign & (TA_LEFT | TA_RIGHT | TA_CENTER)) {
    case TA_RIGHT: dAlong = -dTotal; break;
    case TA_CENTER: dAlong = -dTotal / 2; break;
    default: break;
    }
    double dDown = 0;
    switch (m_state.nTextAlign & (TA_TOP | TA_BOTTOM | TA_BASELINE)) {
    case TA_BOTTOM: dDown = -dDescent; break;
    case TA_BASELINE: break;
    default: dDown = dAscent; break;
    }
    const double sxDev = ox + bx * dAlong + nx * dDown, syDev = oy + by * dAlong + ny * dDown;
    if (bUpdateCp) {
        // The current position moves by the advance, in logical units.
        m_state.curX += (m_state.nTextAlign & TA_RIGHT) == TA_RIGHT ? 0 : dTotal / std::max(sx, 1e-9);
    }

    if (m_state.nBkMode == OPAQUE) {
        // The character cells are filled with the background colour first.
        std::string cell;
        auto corner = [&](double a, double d) {
            double px, py;
            DeviceToPdf(sxDev + bx * a + nx * d, syDev + by * a + ny * d, px, py);
            PathNum(cell, px), PathNum(cell, py);
        };
        corner(0, -dAscent), cell += "m\n";
        corner(dTotal, -dAscent), cell += "l\n";
        corner(dTotal, dDescent), cell += "l\n";
        corner(0, dDescent), cell += "l\nh\n";
        Colour(m_state.bkColour, false);
        m_out += cell + "f\n";
    }

    const bool bClipped = (t.fOptions & ETO_CLIPPED) != 0;
    if (bClipped) {
        double ax, ay, bx2, by2;
        ToPdf(t.rcl.left, t.rcl.top, ax, ay);
        ToPdf(t.rcl.right, t.rcl.bottom, bx2, by2);
        m_out += "q ";
        Num(std::min(ax, bx2)), Num(std::min(ay, by2)), Num(std::fabs(bx2 - ax)), Num(std::fabs(by2 - ay));
        m_out += "re W n\n";
    }
    double px, py;
    DeviceToPdf(sxDev, syDev, px, py);
    const double fs = dEmDev * m_k;
    const double ce = std::cos(e), se = std::sin(e);
    Colour(m_state.textColour, false);
    m_out += "BT /F" + std::to_string(nFont) + " 1 Tf ";
    Num(fs * ce), Num(fs * se), Num(-fs * se), Num(fs * ce), Num(px), Num(py);
    m_out += "Tm [<";
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < nChars; ++i) {
        const WORD g = glyphs[static_cast<size_t>(i)];
        m_out += kHex[g >> 12], m_out += kHex[(g >> 8) & 15], m_out += kHex[(g >> 4) & 15], m_out += kHex[g & 15];
        // What the glyph's own advance leaves to the recorded one.
        const double dNatural = advances[static_cast<size_t>(i)] * 1000.0 / font.nEm;
        const double dWanted = adv[static_cast<size_t>(i)] * 1000.0 / dEmDev;
        const double dAdjust = dNatural - dWanted;
        if (i + 1 < nChars && std::fabs(dAdjust) > 0.05) {
            m_out += ">";
            Num(dAdjust);
            m_out += "<";
        }
    }
    m_out += ">] TJ ET\n";
    if (lf.lfUnderline || lf.lfStrikeOut) {
        const double dThick = std::max(1.0, font.nUnderlineSize * dEmDev / font.nEm);
        auto line = [&](double dOffsetDown) {
            double ax, ay, bx2, by2;
            DeviceToPdf(sxDev + nx * dOffsetDown, syDev + ny * dOffsetDown, ax, ay);
            DeviceToPdf(sxDev + bx * dTotal + nx * dOffsetDown, syDev + by * dTotal + ny * dOffsetDown, bx2, by2);
            Num(dThick * m_k);
            m_out += "w 0 J [] 0 d\n";
            Colour(m_state.textColour, true);
            Num(ax), Num(ay), m_out += "m ";
            Num(bx2), Num(by2), m_out += "l S\n";
        };
        if (lf.lfUnderline)
            line(-font.nUnderlinePos * dEmDev / font.nEm + dThick / 2);
        if (lf.lfStrikeOut)
            line(-dAscent * 0.3);
    }
    if (bClipped)
        m_out += "Q\n";
}

template <typename T>
const T* RecordAs(const BYTE* p, size_t nSize)
{
    return nSize >= sizeof(T) ? reinterpret_cast<const T*>(p) : nullptr;
}

bool Converter::Run(const std::vector<BYTE>& bits)
{
    for (size_t off = 0; off + sizeof(EMR) <= bits.size();) {
        const EMR* pEmr = reinterpret_cast<const EMR*>(bits.data() + off);
        const size_t nSize = pEmr->nSize;
        if (nSize < sizeof(EMR) || off + nSize > bits.size())
            return false;
        const BYTE* p = bits.data() + off;
        off += nSize;
        auto points16 = [&](const BYTE* pPoints, size_t nCount, std::vector<double>& pts) {
            pts.clear();
            if (pPoints + nCount * 4 > p + nSize)
                return false;
            for (size_t i = 0; i < nCount; ++i) {
                const POINTS* q = reinterpret_cast<const POINTS*>(pPoints + 4 * i);
                pts.push_back(q->x), pts.push_back(q->y);
            }
            return true;
        };
        auto points32 = [&](const BYTE* pPoints, size_t nCount, std::vector<double>& pts) {
            pts.clear();
            if (pPoints + nCount * 8 > p + nSize)
                return false;
            for (size_t i = 0; i < nCount; ++i) {
                const POINTL* q = reinterpret_cast<const POINTL*>(pPoints + 8 * i);
                pts.push_back(q->x), pts.push_back(q->y);
            }
            return true;
        };
        std::vector<double> pts;
        auto polyPath = [&](const std::vector<double>& v, bool bClose) {
            std::string s;
            if (v.size() < 4)
                return s;
            MoveTo(s, v[0], v[1]);
            for (size_t i = 2; i + 1 < v.size(); i += 2)
                LineTo(s, v[i], v[i + 1]);
            if (bClose)
                s += "h\n";
            return s;
        };
        switch (pEmr->iType) {
        case EMR_HEADER:
        case EMR_GDICOMMENT:
        case EMR_SETSTRETCHBLTMODE:
        case EMR_SETROP2:
        case EMR_SETBRUSHORGEX:
        case EMR_SETICMMODE:
        case EMR_SETMITERLIMIT:
        case EMR_SELECTPALETTE:
        case EMR_REALIZEPALETTE:
        case EMR_SETLAYOUT:
        case EMR_SETMAPPERFLAGS:
            break;
        case EMR_EOF: return true;
        case EMR_SETMAPMODE:
            if (auto r = RecordAs<EMRSETMAPMODE>(p, nSize))
                SetMapMode(static_cast<int>(r->iMode));
            break;
        case EMR_SETWINDOWEXTEX:
            if (auto r = RecordAs<EMRSETWINDOWEXTEX>(p, nSize);
                r && (m_state.nMapMode == MM_ISOTROPIC || m_state.nMapMode == MM_ANISOTROPIC) && r->szlExtent.cx != 0 &&
                r->szlExtent.cy != 0) {
                m_state.wex = r->szlExtent.cx, m_state.wey = r->szlExtent.cy;
                FixIsotropic();
            }
            break;
        case EMR_SETVIEWPORTEXTEX:
            if (auto r = RecordAs<EMRSETVIEWPORTEXTEX>(p, nSize);
                r && (m_state.nMapMode == MM_ISOTROPIC || m_state.nMapMode == MM_ANISOTROPIC) && r->szlExtent.cx != 0 &&
                r->szlExtent.cy != 0) {
                m_state.vex = r->szlExtent.cx, m_state.vey = r->szlExtent.cy;
                FixIsotropic();
            }
            break;
        case EMR_SCALEVIEWPORTEXTEX:
        case EMR_SCALEWINDOWEXTEX:
            if (auto r = RecordAs<EMRSCALEVIEWPORTEXTEX>(p, nSize);
                r && (m_state.nMapMode == MM_ISOTROPIC || m_state.nMapMode == MM_ANISOTROPIC) && r->xDenom != 0 &&
                r->yDenom != 0) {
                double& ex = pEmr->iType == EMR_SCALEVIEWPORTEXTEX ? m_state.vex : m_state.wex;
                double& ey = pEmr->iType == EMR_SCALEVIEWPORTEXTEX ? m_state.vey : m_state.wey;
                ex = ex * r->xNum / r->xDenom, ey = ey * r->yNum / r->yDenom;
                FixIsotropic();
            }
            break;
        case EMR_SETWINDOWORGEX:
            if (auto r = RecordAs<EMRSETWINDOWORGEX>(p, nSize))
                m_state.wox = r->ptlOrigin.x, m_state.woy = r->ptlOrigin.y;
            break;
        case EMR_SETVIEWPORTORGEX:
            if (auto r = RecordAs<EMRSETVIEWPORTORGEX>(p, nSize))
                m_state.vox = r->ptlOrigin.x, m_state.voy = r->ptlOrigin.y;
            break;
        case EMR_SETWORLDTRANSFORM:
            if (auto r = RecordAs<EMRSETWORLDTRANSFORM>(p, nSize)) {
                const XFORM& x = r->xform;
                m_state.world = Matrix{x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
            }
            break;
        case EMR_MODIFYWORLDTRANSFORM:
            if (auto r = RecordAs<EMRMODIFYWORLDTRANSFORM>(p, nSize)) {
                const XFORM& x = r->xform;
                const Matrix m{x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
                switch (r->iMode) {
                case MWT_IDENTITY: m_state.world = Matrix{}; break;
                case MWT_LEFTMULTIPLY: m_state.world = Multiply(m, m_state.world); break;
                case MWT_RIGHTMULTIPLY: m_state.world = Multiply(m_state.world, m); break;
                case 4: m_state.world = m; break;   // MWT_SET
                default: break;
                }
            }
            break;
        case EMR_SAVEDC:
            m_saved.push_back(m_state);
            break;
        case EMR_RESTOREDC:
            if (auto r = RecordAs<EMRRESTOREDC>(p, nSize)) {
                const long n = r->iRelative;
                const long nTarget = n < 0 ? static_cast<long>(m_saved.size()) + n : n - 1;
                if (nTarget >= 0 && nTarget < static_cast<long>(m_saved.size())) {
                    m_state = m_saved[static_cast<size_t>(nTarget)];
                    m_saved.resize(static_cast<size_t>(nTarget));
                }
            }
            break;
        case EMR_CREATEPEN:
            if (auto r = RecordAs<EMRCREATEPEN>(p, nSize)) {
                Object o{Object::kPen, static_cast<int>(r->lopn.lopnStyle), static_cast<double>(r->lopn.lopnWidth.x),
                         r->lopn.lopnWidth.x <= 1, r->lopn.lopnColor, {}};
                m_objects[r->ihPen] = o;
            }
            break;
        case EMR_EXTCREATEPEN:
            if (auto r = RecordAs<EMREXTCREATEPEN>(p, nSize)) {
                const bool bGeometric = (r->elp.elpPenStyle & PS_TYPE_MASK) == PS_GEOMETRIC;
                Object o{Object::kPen, static_cast<int>(r->elp.elpPenStyle & PS_STYLE_MASK),
                         static_cast<double>(r->elp.elpWidth), !bGeometric, r->elp.elpColor, {}};
                m_objects[r->ihPen] = o;
            }
            break;
        case EMR_CREATEBRUSHINDIRECT:
            if (auto r = RecordAs<EMRCREATEBRUSHINDIRECT>(p, nSize)) {
                Object o{Object::kBrush, static_cast<int>(r->lb.lbStyle), 0, true, r->lb.lbColor, {}};
                m_objects[r->ihBrush] = o;
            }
            break;
        case EMR_CREATEDIBPATTERNBRUSHPT:
        case EMR_CREATEMONOBRUSH:
            if (auto r = RecordAs<EMRCREATEDIBPATTERNBRUSHPT>(p, nSize))
                m_objects[r->ihBrush] = Object{Object::kBrush, BS_SOLID, 0, true, RGB(128, 128, 128), {}};
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            if (nSize >= offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW)) {
                auto r = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(p);
                Object o{Object::kFont, 0, 0, true, 0, {}};
                o.font = r->elfw.elfLogFont;
                m_objects[r->ihFont] = o;
            }
            break;
        case EMR_SELECTOBJECT:
            if (auto r = RecordAs<EMRSELECTOBJECT>(p, nSize)) {
                const DWORD ih = r->ihObject;
                if ((ih & 0x80000000) != 0) {
                    const DWORD n = ih & 0x7FFFFFFF;
                    if (n <= BLACK_BRUSH || n == NULL_BRUSH) {
                        static const BYTE kGrey[] = {255, 192, 128, 64, 0};
                        m_state.brush.nStyle = n == NULL_BRUSH ? BS_NULL : BS_SOLID;
                        if (n <= BLACK_BRUSH)
                            m_state.brush.colour = RGB(kGrey[n], kGrey[n], kGrey[n]);
                    } else if (n == WHITE_PEN || n == BLACK_PEN || n == NULL_PEN) {
                        m_state.pen = Object{Object::kPen, n == NULL_PEN ? PS_NULL : PS_SOLID, 0, true,
                                             n == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0), {}};
                    } else if (n >= OEM_FIXED_FONT && n <= DEFAULT_GUI_FONT) {
                        m_state.font.font = LOGFONTW{};
                        m_state.font.font.lfHeight = -13;
                        wcscpy_s(m_state.font.font.lfFaceName, L"Arial");
                    }
                } else if (auto it = m_objects.find(ih); it != m_objects.end()) {
                    switch (it->second.kind) {
                    case Object::kPen: m_state.pen = it->second; break;
                    case Object::kBrush: m_state.brush = it->second; break;
                    case Object::kFont: m_state.font = it->second; break;
                    default: break;
                    }
                }
            }
            break;
        case EMR_DELETEOBJECT:
            if (auto r = RecordAs<EMRDELETEOBJECT>(p, nSize))
                m_objects.erase(r->ihObject);
            break;
        case EMR_SETTEXTCOLOR:
            if (auto r = RecordAs<EMRSETTEXTCOLOR>(p, nSize))
                m_state.textColour = r->crColor;
            break;
        case EMR_SETBKCOLOR:
            if (auto r = RecordAs<EMRSETBKCOLOR>(p, nSize))
                m_state.bkColour = r->crColor;
            break;
        case EMR_SETBKMODE:
            if (auto r = RecordAs<EMRSETBKMODE>(p, nSize))
                m_state.nBkMode = static_cast<int>(r->iMode);
            break;
        case EMR_SETTEXTALIGN:
            if (auto r = RecordAs<EMRSETTEXTALIGN>(p, nSize))
                m_state.nTextAlign = r->iMode;
            break;
        case EMR_SETPOLYFILLMODE:
            if (auto r = RecordAs<EMRSETPOLYFILLMODE>(p, nSize))
                m_state.nFillMode = static_cast<int>(r->iMode);
            break;
        case EMR_MOVETOEX:
            if (auto r = RecordAs<EMRMOVETOEX>(p, nSize)) {
                m_state.curX = r->ptl.x, m_state.curY = r->ptl.y;
                if (m_bInPath)
                    MoveTo(m_path, r->ptl.x, r->ptl.y);
            }
            break;
        case EMR_LINETO:
            if (auto r = RecordAs<EMRLINETO>(p, nSize)) {
                std::string s;
                if (m_bInPath) {
                    LineTo(m_path, r->ptl.x, r->ptl.y);
                } else {
                    MoveTo(s, m_state.curX, m_state.curY);
                    LineTo(s, r->ptl.x, r->ptl.y);
                    Paint(s, false, true);
                }
                m_state.curX = r->ptl.x, m_state.curY = r->ptl.y;
            }
            break;
        case EMR_RECTANGLE:
        case EMR_ELLIPSE:
        case EMR_ROUNDRECT:
            if (auto r = RecordAs<EMRRECTANGLE>(p, nSize)) {
                const RECTL& b = r->rclBox;
                std::string s;
                if (pEmr->iType == EMR_ELLIPSE)
                    EllipsePath(s, b.left, b.top, b.right, b.bottom);
                else
                    RectPath(s, b.left, b.top, b.right, b.bottom);
                Paint(s, true, true);
            }
            break;
        case EMR_POLYGON16:
        case EMR_POLYLINE16:
        case EMR_POLYLINETO16:
        case EMR_POLYBEZIER16:
        case EMR_POLYBEZIERTO16:
        case EMR_POLYGON:
        case EMR_POLYLINE:
        case EMR_POLYLINETO:
        case EMR_POLYBEZIER:
        case EMR_POLYBEZIERTO: {
            const bool b16 = pEmr->iType == EMR_POLYGON16 || pEmr->iType == EMR_POLYLINE16 ||
                             pEmr->iType == EMR_POLYLINETO16 || pEmr->iType == EMR_POLYBEZIER16 ||
                             pEmr->iType == EMR_POLYBEZIERTO16;
            auto r = RecordAs<EMRPOLYLINE16>(p, nSize);
            if (r == nullptr)
                break;
            const BYTE* pPoints = p + offsetof(EMRPOLYLINE16, apts);
            if (!(b16 ? points16(pPoints, r->cpts, pts) : points32(pPoints, r->cpts, pts)))
                break;
            const DWORD k = pEmr->iType;
            const bool bTo = k == EMR_POLYLINETO16 || k == EMR_POLYBEZIERTO16 || k == EMR_POLYLINETO ||
                             k == EMR_POLYBEZIERTO;
            if (bTo)
                pts.insert(pts.begin(), {m_state.curX, m_state.curY});
            std::string s;
            if (k == EMR_POLYBEZIER16 || k == EMR_POLYBEZIERTO16 || k == EMR_POLYBEZIER || k == EMR_POLYBEZIERTO) {
                if (pts.size() >= 2) {
                    if (m_bInPath && bTo)
                        ;   // the path is already at the current position
                    else
                        MoveTo(s, pts[0], pts[1]);
                    for (size_t i = 2; i + 5 < pts.size(); i += 6)
                        CurveTo(s, &pts[i]);
                }
            } else {
                if (m_bInPath && bTo) {
                    for (size_t i = 2; i + 1 < pts.size(); i += 2)
                        LineTo(s, pts[i], pts[i + 1]);
                } else {
                    s = polyPath(pts, k == EMR_POLYGON16 || k == EMR_POLYGON);
                }
            }
            if (bTo && pts.size() >= 2)
                m_state.curX = pts[pts.size() - 2], m_state.curY = pts.back();
            const bool bPolygon = k == EMR_POLYGON16 || k == EMR_POLYGON;
            Paint(s, bPolygon, true);
            break;
        }
        case EMR_POLYPOLYGON16:
        case EMR_POLYPOLYLINE16:
        case EMR_POLYPOLYGON:
        case EMR_POLYPOLYLINE: {
            auto r = RecordAs<EMRPOLYPOLYLINE16>(p, nSize);
            if (r == nullptr)
                break;
            const bool b16 = pEmr->iType == EMR_POLYPOLYGON16 || pEmr->iType == EMR_POLYPOLYLINE16;
            const bool bPolygon = pEmr->iType == EMR_POLYPOLYGON16 || pEmr->iType == EMR_POLYPOLYGON;
            const BYTE* pCounts = p + offsetof(EMRPOLYPOLYLINE16, aPolyCounts);
            if (pCounts + 4 * static_cast<size_t>(r->nPolys) > p + nSize)
                break;
            const BYTE* pPoints = pCounts + 4 * static_cast<size_t>(r->nPolys);
            std::string s;
            for (DWORD i = 0; i < r->nPolys; ++i) {
                const DWORD n = reinterpret_cast<const DWORD*>(pCounts)[i];
                if (!(b16 ? points16(pPoints, n, pts) : points32(pPoints, n, pts)))
                    break;
                pPoints += n * (b16 ? 4 : 8);
                s += polyPath(pts, bPolygon);
            }
            Paint(s, bPolygon, true);
            break;
        }
        case EMR_BEGINPATH:
            m_bInPath = true;
            m_path.clear();
            break;
        case EMR_ENDPATH: m_bInPath = false; break;
        case EMR_CLOSEFIGURE:
            if (m_bInPath)
                m_path += "h\n";
            break;
        case EMR_ABORTPATH: m_bInPath = false, m_path.clear(); break;
        case EMR_FILLPATH: Paint(m_path, true, false), m_path.clear(); break;
        case EMR_STROKEPATH: Paint(m_path, false, true), m_path.clear(); break;
        case EMR_STROKEANDFILLPATH: Paint(m_path, true, true), m_path.clear(); break;
        case EMR_INTERSECTCLIPRECT:
            if (auto r = RecordAs<EMRINTERSECTCLIPRECT>(p, nSize)) {
                double ax, ay, bx, by;
                ToDevice(r->rclClip.left, r->rclClip.top, ax, ay);
                ToDevice(r->rclClip.right, r->rclClip.bottom, bx, by);
                Rect c{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
                if (m_state.clip) {
                    c.x0 = std::max(c.x0, m_state.clip->x0), c.y0 = std::max(c.y0, m_state.clip->y0);
                    c.x1 = std::max(c.x0, std::min(c.x1, m_state.clip->x1));
                    c.y1 = std::max(c.y0, std::min(c.y1, m_state.clip->y1));
                }
                m_state.clip = c;
            }
            break;
        case EMR_EXTSELECTCLIPRGN:
            if (auto r = RecordAs<EMREXTSELECTCLIPRGN>(p, nSize)) {
                if (r->cbRgnData < sizeof(RGNDATAHEADER)) {
                    if (r->iMode == RGN_COPY)
                        m_state.clip.reset();
                } else {
                    // The region's bounds, in device units.
                    const RGNDATAHEADER* h = reinterpret_cast<const RGNDATAHEADER*>(p + offsetof(EMREXTSELECTCLIPRGN, RgnData));
                    Rect c{static_cast<double>(h->rcBound.left), static_cast<double>(h->rcBound.top),
                           static_cast<double>(h->rcBound.right), static_cast<double>(h->rcBound.bottom)};
                    if (r->iMode == RGN_AND && m_state.clip) {
                        c.x0 = std::max(c.x0, m_state.clip->x0), c.y0 = std::max(c.y0, m_state.clip->y0);
                        c.x1 = std::max(c.x0, std::min(c.x1, m_state.clip->x1));
                        c.y1 = std::max(c.y0, std::min(c.y1, m_state.clip->y1));
                    }
                    if (r->iMode == RGN_COPY || r->iMode == RGN_AND)
                        m_state.clip = c;
                }
            }
            break;
        case EMR_EXTTEXTOUTW:
            if (auto r = RecordAs<EMREXTTEXTOUTW>(p, nSize))
                Text(*r, p, nSize);
            break;
        case EMR_BITBLT:
            if (auto r = RecordAs<EMRBITBLT>(p, nSize)) {
                double ax, ay, bx, by;
                ToDevice(r->xDest, r->yDest, ax, ay);
                ToDevice(r->xDest + r->cxDest, r->yDest + r->cyDest, bx, by);
                const Rect rc{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
                if (r->cbBmiSrc == 0) {
                    if (r->dwRop == PATCOPY && HasBrush())
                        FillDeviceRect(rc, m_state.brush.colour);
                    else if (r->dwRop == WHITENESS || r->dwRop == BLACKNESS)
                        FillDeviceRect(rc, r->dwRop == WHITENESS ? RGB(255, 255, 255) : RGB(0, 0, 0));
                } else {
                    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(p + r->offBmiSrc);
                    if (r->offBmiSrc + sizeof(BITMAPINFOHEADER) <= nSize)
                        Image(r->xDest, r->yDest, r->cxDest, r->cyDest, p, nSize, r->offBmiSrc, r->cbBmiSrc,
                              r->offBitsSrc, r->cbBitsSrc, r->xSrc, r->ySrc, r->cxDest != 0 ? std::abs(r->cxDest) : h->biWidth,
                              r->cyDest != 0 ? std::abs(r->cyDest) : std::abs(h->biHeight), r->iUsageSrc);
                }
            }
            break;
        case EMR_STRETCHBLT:
            if (auto r = RecordAs<EMRSTRETCHBLT>(p, nSize); r && r->cbBmiSrc != 0)
                Image(r->xDest, r->yDest, r->cxDest, r->cyDest, p, nSize, r->offBmiSrc, r->cbBmiSrc, r->offBitsSrc,
                      r->cbBitsSrc, r->xSrc, r->ySrc, r->cxSrc, r->cySrc, r->iUsageSrc);
            break;
        case EMR_STRETCHDIBITS:
            if (auto r = RecordAs<EMRSTRETCHDIBITS>(p, nSize))
                Image(r->xDest, r->yDest, r->cxDest, r->cyDest, p, nSize, r->offBmiSrc, r->cbBmiSrc, r->offBitsSrc,
                      r->cbBitsSrc, r->xSrc, r->ySrc, r->cxSrc, r->cySrc, r->iUsageSrc);
            break;
        case EMR_SETDIBITSTODEVICE:
            if (auto r = RecordAs<EMRSETDIBITSTODEVICE>(p, nSize))
                Image(r->xDest, r->yDest, r->cxSrc, r->cySrc, p, nSize, r->offBmiSrc, r->cbBmiSrc, r->offBitsSrc,
                      r->cbBitsSrc, r->xSrc, r->ySrc, r->cxSrc, r->cySrc, r->iUsageSrc);
            break;
        default:
            break;
        }
    }
    return true;
}

}  // namespace

bool AddMetafilePage(CPdfDocument& doc, HENHMETAFILE hMeta, const CPdfPageGeometry& page)
{
    const UINT nBytes = ::GetEnhMetaFileBits(hMeta, 0, nullptr);
    if (nBytes == 0)
        return false;
    std::vector<BYTE> bits(nBytes);
    if (::GetEnhMetaFileBits(hMeta, nBytes, bits.data()) != nBytes)
        return false;
    Converter converter(doc, page);
    if (!converter.Run(bits))
        return false;
    doc.AddPage(page.nWidthPx * 72.0 / page.nDpi, page.nHeightPx * 72.0 / page.nDpi, converter.Content());
    return true;
}
