#include "report/ReportLogos.h"

#include <gdiplus.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "framework/File.h"
#include "report/Dib.h"

namespace {

bool FileExists(const CString& strPath)
{
    CFileStatus status;
    return CFile::GetStatus(strPath.GetString(), status);
}

// GDI+ for the length of one conversion; the program may have it started already.
class CGdiplusSession {
public:
    CGdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        m_bStarted = Gdiplus::GdiplusStartup(&m_nToken, &input, nullptr) == Gdiplus::Ok;
    }
    ~CGdiplusSession()
    {
        if (m_bStarted)
            Gdiplus::GdiplusShutdown(m_nToken);
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;
    bool IsStarted() const { return m_bStarted; }

private:
    ULONG_PTR m_nToken = 0;
    bool m_bStarted = false;
};

}   // namespace

CString GetReportLogoName(int nPosition)
{
    switch (nPosition) {
    case kLogoFooterLeft: return L"ReportLogo-FooterLeft";
    case kLogoFooterCenter: return L"ReportLogo-FooterCenter";
    case kLogoFooterRight: return L"ReportLogo-FooterRight";
    default: return L"ReportLogo-Header";
    }
}

CString GetReportLogoPath(const CString& strDataFolder, int nFormat, int nPosition)
{
    const CString strPath = strDataFolder + GetReportLogoName(nPosition) + (nFormat == kLogoFormatEmf ? L".emf" : L".bmp");
    return FileExists(strPath) ? strPath : CString();
}

CString GetReportLogoFile(const CString& strDataFolder, int nPosition)
{
    CString strPath = GetReportLogoPath(strDataFolder, kLogoFormatBmp, nPosition);
    if (strPath.IsEmpty())
        strPath = GetReportLogoPath(strDataFolder, kLogoFormatEmf, nPosition);
    return strPath;
}

CSize FitBmpLogo(CSize image, const CRect& rcBox)
{
    const int nBoxHeight = std::abs(rcBox.Height());
    const int nBoxWidth = rcBox.Width();
    if (image.cx <= 0 || image.cy <= 0 || nBoxWidth <= 0)
        return CSize(nBoxWidth, 0);
    const double a = static_cast<double>(image.cy) / image.cx;
    const double b = static_cast<double>(nBoxHeight) / nBoxWidth;
    if (a > b)
        return CSize(static_cast<int>(nBoxHeight / a), -nBoxHeight);
    return CSize(nBoxWidth, -static_cast<int>(nBoxWidth * a));
}

CSize FitEmfLogo(CSize frame, const CRect& rcBox)
{
    const int nBoxHeight = std::abs(rcBox.Height());
    const int nBoxWidth = rcBox.Width();
    if (frame.cx <= 0 || frame.cy <= 0 || nBoxWidth <= 0)
        return CSize(0, 0);
    const double d = static_cast<double>(frame.cy) / frame.cx;
    if (d > static_cast<double>(nBoxHeight) / nBoxWidth)
        return CSize(static_cast<int>(nBoxHeight / d), nBoxHeight);
    return CSize(nBoxWidth, static_cast<int>(nBoxWidth * d));
}

CSize DrawBmpLogo(CDC* pDC, const CRect& rcBox, const CString& strPath, CString* pProblem)
{
    CDib dib;
    CString strLower = strPath;
    strLower.MakeLower();
    if (strLower.Right(3) == L"bmp") {
        CFile file;
        if (file.Open(strPath.GetString(), CFile::modeRead | CFile::shareDenyWrite)) {
            dib.ReadFromFile(&file);
            file.Close();
        }
    }
    const CSize size = FitBmpLogo(dib.GetImageSize(), rcBox);
    if (dib.GetHeader() == nullptr) {
        if (pProblem != nullptr && !dib.GetLastError().IsEmpty())
            *pProblem = dib.GetLastError();
        return size;
    }
    dib.DrawStretched(pDC, rcBox.TopLeft(), size);
    return size;
}

CSize DrawEmfLogo(CDC* pDC, const CRect& rcBox, const CString& strPath)
{
    HENHMETAFILE hMeta = ::GetEnhMetaFileW(strPath.GetString());
    if (hMeta == nullptr)
        return CSize(0, 0);
    ENHMETAHEADER header{};
    CSize size(0, 0);
    if (::GetEnhMetaFileHeader(hMeta, sizeof header, &header) != 0) {
        const CSize frame(header.rclFrame.right - header.rclFrame.left, header.rclFrame.bottom - header.rclFrame.top);
        size = FitEmfLogo(frame, rcBox);
        if (size.cx > 0 && size.cy > 0) {
            const RECT rcPlay{rcBox.left, rcBox.top, rcBox.left + size.cx, rcBox.top - size.cy};
            ::PlayEnhMetaFile(pDC->GetSafeHdc(), hMeta, &rcPlay);
        }
    }
    ::DeleteEnhMetaFile(hMeta);
    return size;
}

CSize DrawReportLogo(CDC* pDC, const CRect& rcBox, const CString& strDataFolder, int nPosition, CString* pProblem)
{
    const CString strBmp = GetReportLogoPath(strDataFolder, kLogoFormatBmp, nPosition);
    if (!strBmp.IsEmpty())
        return DrawBmpLogo(pDC, rcBox, strBmp, pProblem);
    const CString strEmf = GetReportLogoPath(strDataFolder, kLogoFormatEmf, nPosition);
    if (!strEmf.IsEmpty())
        return DrawEmfLogo(pDC, rcBox, strEmf);
    return CSize(0, 0);
}

bool ConvertImageToDib(const CString& strPath, CDib* pDib, bool bSave)
{
    CGdiplusSession session;
    if (!session.IsStarted())
        return false;
    std::unique_ptr<CDib> pOwnDib;
    if (pDib == nullptr) {
        pOwnDib = std::make_unique<CDib>();
        pDib = pOwnDib.get();
    }
    pDib->Clear();

    bool bDone = false;
    {
        // Colours as stored: no embedded colour management.
        Gdiplus::Bitmap picture(strPath.GetString(), FALSE);
        if (picture.GetLastStatus() != Gdiplus::Ok)
            return false;
        const UINT w = picture.GetWidth();
        const UINT h = picture.GetHeight();
        if (w == 0 || h == 0 || w > INT_MAX || h > INT_MAX ||
            !pDib->AllocateImage(static_cast<int>(w), static_cast<int>(h), 24))
            return false;

        Gdiplus::Rect rcAll(0, 0, static_cast<INT>(w), static_cast<INT>(h));
        Gdiplus::BitmapData data{};
        if (picture.LockBits(&rcAll, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok) {
            pDib->Clear();
            return false;
        }
        BYTE* pBits = pDib->GetBits();
        const int nRow = pDib->GetRowSize();
        for (UINT i = 0; i < h; ++i) {
            // Bottom-up rows; the padding up to the row's 4-byte multiple is zeroed.
            BYTE* pOut = pBits + static_cast<size_t>(h - 1 - i) * static_cast<size_t>(nRow);
            const BYTE* pIn = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(i) * data.Stride;
            std::memcpy(pOut, pIn, static_cast<size_t>(w) * 3);
            std::memset(pOut + static_cast<size_t>(w) * 3, 0, static_cast<size_t>(nRow) - static_cast<size_t>(w) * 3);
        }
        picture.UnlockBits(&data);
        bDone = true;
    }
    if (bDone && bSave) {
        const int nDot = strPath.ReverseFind(L'.');
        const CString strBmp = (nDot >= 0 ? strPath.Left(nDot) : strPath) + L".bmp";
        if (!pDib->SaveToBitmapFile(strBmp.GetString()))
            return false;
    }
    return bDone;
}
