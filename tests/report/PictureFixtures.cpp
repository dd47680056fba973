#include "tests/report/PictureFixtures.h"

#include <gdiplus.h>

#include "tests/TestSupport.h"

std::string SolidBitmap(int w, int h, BYTE r, BYTE g, BYTE b)
{
    const int nRow = ((24 * w + 31) / 32) * 4;
    std::string bytes(54 + static_cast<size_t>(nRow) * h, '\0');
    Put<WORD>(bytes, 0, 0x4D42);
    Put<DWORD>(bytes, 2, static_cast<DWORD>(bytes.size()));
    Put<DWORD>(bytes, 10, 54);
    Put<DWORD>(bytes, 14, 40);
    Put<LONG>(bytes, 18, w);
    Put<LONG>(bytes, 22, h);
    Put<WORD>(bytes, 26, 1);
    Put<WORD>(bytes, 28, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bytes[54 + y * nRow + 3 * x] = static_cast<char>(b);
            bytes[54 + y * nRow + 3 * x + 1] = static_cast<char>(g);
            bytes[54 + y * nRow + 3 * x + 2] = static_cast<char>(r);
        }
    return bytes;
}

bool WriteSolidMetafile(const std::wstring& path, int w, int h, COLORREF colour)
{
    const RECT rcFrame{0, 0, w, h};
    HDC hRef = ::GetDC(nullptr);
    HDC hMeta = ::CreateEnhMetaFileW(hRef, path.c_str(), &rcFrame, nullptr);
    ::ReleaseDC(nullptr, hRef);
    if (hMeta == nullptr)
        return false;
    ::SetMapMode(hMeta, MM_HIMETRIC);
    HBRUSH hBrush = ::CreateSolidBrush(colour);
    const RECT rcFill{0, 0, w, -h};
    ::FillRect(hMeta, &rcFill, hBrush);
    ::DeleteObject(hBrush);
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(hMeta));
    return true;
}

std::string MakeTiff(int w, int h, int nSamples, int nBits, const std::vector<WORD>& samples)
{
    const int nEntries = 10;
    const size_t nIfd = 8, nBpsAt = nIfd + 2 + 12 * nEntries + 4, nDataAt = nBpsAt + 8;
    const size_t nBytesPerSample = nBits / 8;
    std::string b(nDataAt + samples.size() * nBytesPerSample, '\0');
    b[0] = 'I', b[1] = 'I';
    Put<WORD>(b, 2, 42);
    Put<DWORD>(b, 4, static_cast<DWORD>(nIfd));
    Put<WORD>(b, nIfd, nEntries);
    size_t at = nIfd + 2;
    auto entry = [&](WORD tag, WORD type, DWORD count, DWORD value) {
        Put<WORD>(b, at, tag), Put<WORD>(b, at + 2, type), Put<DWORD>(b, at + 4, count);
        if (type == 3 && count == 1)
            Put<WORD>(b, at + 8, static_cast<WORD>(value));
        else
            Put<DWORD>(b, at + 8, value);
        at += 12;
    };
    entry(256, 3, 1, static_cast<DWORD>(w));
    entry(257, 3, 1, static_cast<DWORD>(h));
    entry(258, 3, static_cast<DWORD>(nSamples), nSamples == 1 ? static_cast<DWORD>(nBits) : static_cast<DWORD>(nBpsAt));
    entry(259, 3, 1, 1);
    entry(262, 3, 1, nSamples == 3 ? 2 : 1);
    entry(273, 4, 1, static_cast<DWORD>(nDataAt));
    entry(277, 3, 1, static_cast<DWORD>(nSamples));
    entry(278, 3, 1, static_cast<DWORD>(h));
    entry(279, 4, 1, static_cast<DWORD>(samples.size() * nBytesPerSample));
    entry(284, 3, 1, 1);
    for (int i = 0; i < 3; ++i)
        Put<WORD>(b, nBpsAt + 2 * i, static_cast<WORD>(nBits));
    for (size_t i = 0; i < samples.size(); ++i) {
        if (nBits == 8)
            b[nDataAt + i] = static_cast<char>(samples[i]);
        else
            Put<WORD>(b, nDataAt + 2 * i, samples[i]);
    }
    return b;
}

bool WriteJpeg(const std::wstring& path, int w, int h)
{
    Gdiplus::Bitmap source(w, h, PixelFormat24bppRGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            source.SetPixel(x, y, Gdiplus::Color(BYTE(30 * x), BYTE(50 * y), 90));
    const CLSID jpegClsid = GetEncoderClsid(L"image/jpeg");
    return source.Save(path.c_str(), &jpegClsid, nullptr) == Gdiplus::Ok;
}

CLSID GetEncoderClsid(const wchar_t* pszMimeType)
{
    UINT nCount = 0, nSize = 0;
    Gdiplus::GetImageEncodersSize(&nCount, &nSize);
    std::vector<BYTE> buffer(nSize);
    auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(nCount, nSize, pCodecs);
    for (UINT i = 0; i < nCount; ++i)
        if (std::wstring(pCodecs[i].MimeType) == pszMimeType)
            return pCodecs[i].Clsid;
    return GUID_NULL;
}

std::wstring FolderFromEnvironment(const wchar_t* pszVariable, const wchar_t* pszTempName)
{
    const wchar_t* psz = _wgetenv(pszVariable);
    std::wstring folder = psz != nullptr && *psz != 0 ? psz : MakeTempFolder(pszTempName);
    if (folder[0] == L'/')
        folder = L"Z:" + folder;
    for (wchar_t& ch : folder)
        ch = ch == L'/' ? L'\\' : ch;
    if (folder.back() != L'\\')
        folder += L'\\';
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}
