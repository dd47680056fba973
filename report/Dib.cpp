#include "report/Dib.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

IMPLEMENT_SERIAL(CDib, CObject, 0)

namespace {

constexpr WORD kBitmapSignature = 0x4D42;   // "BM"
constexpr ULONGLONG kFileHeaderBytes = sizeof(BITMAPFILEHEADER);

bool IsValidBitCount(int nBitCount)
{
    return nBitCount == 1 || nBitCount == 4 || nBitCount == 8 || nBitCount == 16 || nBitCount == 24 ||
           nBitCount == 32;
}

int DefaultColourEntries(int nBitCount)
{
    return nBitCount <= 8 ? (1 << nBitCount) : 0;
}

ULONGLONG RowBytes(int nBitCount, LONG nWidth)
{
    return ((static_cast<ULONGLONG>(nBitCount) * static_cast<ULONGLONG>(nWidth) + 31) / 32) * 4;
}

ULONGLONG AbsHeight(LONG nHeight)
{
    return nHeight < 0 ? static_cast<ULONGLONG>(-static_cast<LONGLONG>(nHeight)) : static_cast<ULONGLONG>(nHeight);
}

// The masks of a bit-field bitmap follow a 40-byte header; larger headers hold them.
ULONGLONG MaskBytes(const BITMAPINFOHEADER& header)
{
    return header.biSize == sizeof(BITMAPINFOHEADER) && header.biCompression == BI_BITFIELDS ? 12 : 0;
}

// A header of the given entries with zeroed colour table; nullptr when it cannot be allocated.
BITMAPINFOHEADER* NewHeader(LONG nWidth, LONG nHeight, int nBitCount, int nEntries)
{
    const size_t nBytes = sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<size_t>(nEntries);
    BYTE* pBytes = new (std::nothrow) BYTE[nBytes];
    if (pBytes == nullptr)
        return nullptr;
    std::memset(pBytes, 0, nBytes);
    auto* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pBytes);
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = nWidth;
    pHeader->biHeight = nHeight;
    pHeader->biPlanes = 1;
    pHeader->biBitCount = static_cast<WORD>(nBitCount);
    pHeader->biCompression = BI_RGB;
    return pHeader;
}

}   // namespace

CDib::CDib() = default;

CDib::CDib(CSize size, int nBitCount)
{
    ResetEmpty(size, nBitCount);
}

CDib::~CDib()
{
    Clear();
}

bool CDib::CheckBitmap(const BYTE* pInfo, ULONGLONG nInfoBytes, ULONGLONG nBitsOffset, ULONGLONG nFileLength,
                       ULONGLONG& nImageBytes, CString& strReason)
{
    nImageBytes = 0;
    auto fail = [&strReason](const wchar_t* pszReason) {
        strReason = pszReason;
        return false;
    };
    if (pInfo == nullptr || nInfoBytes < sizeof(BITMAPINFOHEADER))
        return fail(L"header larger than the space before the bits");
    BITMAPINFOHEADER header;
    std::memcpy(&header, pInfo, sizeof header);
    if (header.biSize != sizeof(BITMAPINFOHEADER) && header.biSize != sizeof(BITMAPV4HEADER) &&
        header.biSize != sizeof(BITMAPV5HEADER))
        return fail(L"unknown header size");
    if (header.biSize > nInfoBytes)
        return fail(L"header larger than the space before the bits");
    if (header.biWidth <= 0)
        return fail(L"width not above 0");
    if (header.biHeight == 0 || header.biHeight == LONG_MIN)
        return fail(L"height 0");
    if (header.biPlanes != 1)
        return fail(L"planes not 1");
    if (!IsValidBitCount(header.biBitCount))
        return fail(L"bit count");

    const ULONGLONG nRow = RowBytes(header.biBitCount, header.biWidth);
    ULONGLONG nImage = nRow * AbsHeight(header.biHeight);   // below 2^32 * 2^31 * 2: no overflow
    switch (header.biCompression) {
    case BI_RGB:
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (header.biBitCount != (header.biCompression == BI_RLE8 ? 8 : 4) || header.biHeight < 0)
            return fail(L"compression does not fit the bit count");
        if (header.biSizeImage == 0)
            return fail(L"compressed image without size");
        nImage = header.biSizeImage;
        break;
    case BI_BITFIELDS:
        if (header.biBitCount != 16 && header.biBitCount != 32)
            return fail(L"bit fields need 16 or 32 bits");
        break;
    default:
        return fail(L"compression");
    }

    if (header.biBitCount <= 8 && header.biClrUsed > static_cast<DWORD>(DefaultColourEntries(header.biBitCount)))
        return fail(L"colour table larger than the bit count allows");
    const ULONGLONG nEntries =
        header.biClrUsed != 0 ? header.biClrUsed : static_cast<ULONGLONG>(DefaultColourEntries(header.biBitCount));
    if (header.biSize + MaskBytes(header) + nEntries * sizeof(RGBQUAD) > nInfoBytes)
        return fail(L"colour table beyond the bits offset");
    if (nImage > kMaxImageBytes)
        return fail(L"image too large");
    if (nBitsOffset > nFileLength || nImage > nFileLength - nBitsOffset)
        return fail(L"image beyond the end of the file");
    nImageBytes = nImage;
    return true;
}

ULONGLONG CDib::InfoBytes() const
{
    if (m_pHeader == nullptr)
        return 0;
    return m_pHeader->biSize + MaskBytes(*m_pHeader) + static_cast<ULONGLONG>(m_nColourEntries) * sizeof(RGBQUAD);
}

void CDib::ComputeSizes()
{
    const ULONGLONG nRow = RowBytes(m_pHeader->biBitCount, m_pHeader->biWidth);
    m_nRowSize = static_cast<int>(nRow);
    m_nImageSize = m_pHeader->biCompression == BI_RLE4 || m_pHeader->biCompression == BI_RLE8
                       ? m_pHeader->biSizeImage
                       : static_cast<DWORD>(nRow * AbsHeight(m_pHeader->biHeight));
    m_nColourEntries = m_pHeader->biClrUsed != 0 ? static_cast<int>(m_pHeader->biClrUsed)
                                                 : DefaultColourEntries(m_pHeader->biBitCount);
    m_pColourTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_pHeader) + m_pHeader->biSize +
                                                MaskBytes(*m_pHeader));
}

void CDib::Clear()
{
    if (m_hPalette != nullptr)
        ::DeleteObject(m_hPalette);
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    if (m_nHeaderOwnership == kOwned)
        delete[] reinterpret_cast<BYTE*>(m_pHeader);
    else if (m_nHeaderOwnership == kGlobal && m_hGlobal != nullptr) {
        ::GlobalUnlock(m_hGlobal);
        ::GlobalFree(m_hGlobal);
    }
    if (m_nBitsOwnership == kOwned)
        delete[] m_pBits;
    UnmapFile();
    m_pColourTable = nullptr;
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_pHeader = nullptr;
    m_hGlobal = nullptr;
    m_nHeaderOwnership = kNotOwned;
    m_nBitsOwnership = kNotOwned;
    m_nImageSize = 0;
    m_nColourEntries = 0;
    m_nRowSize = 0;
    m_hPalette = nullptr;
}

void CDib::UnmapFile()
{
    if (m_pMappedView != nullptr) {
        // Pointers into the view die with it.
        if (m_nHeaderOwnership == kNotOwned && m_pHeader != nullptr) {
            m_pHeader = nullptr;
            m_pColourTable = nullptr;
        }
        if (m_nBitsOwnership == kNotOwned)
            m_pBits = nullptr;
        ::UnmapViewOfFile(m_pMappedView);
    }
    if (m_hMap != nullptr)
        ::CloseHandle(m_hMap);
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_pMappedView = nullptr;
    m_hMap = nullptr;
    m_hFile = INVALID_HANDLE_VALUE;
}

void CDib::ResetEmpty(CSize size, int nBitCount)
{
    Clear();
    if (size.cx <= 0 || size.cy == 0 || !IsValidBitCount(nBitCount))
        return;
    const int nEntries = DefaultColourEntries(nBitCount);
    m_pHeader = NewHeader(size.cx, size.cy, nBitCount, nEntries);
    if (m_pHeader == nullptr)
        return;
    m_pHeader->biClrUsed = static_cast<DWORD>(nEntries);
    m_nHeaderOwnership = kOwned;
    ComputeSizes();
}

BOOL CDib::AllocateImage(int nWidth, int nHeight, int nBitCount)
{
    Clear();
    m_strLastError.Empty();
    if (nWidth <= 0 || nHeight == 0 || nHeight == INT_MIN || !IsValidBitCount(nBitCount) ||
        RowBytes(nBitCount, nWidth) * AbsHeight(nHeight) > kMaxImageBytes) {
        Fail(L"Image too large");
        return FALSE;
    }
    m_pHeader = NewHeader(nWidth, nHeight, nBitCount, DefaultColourEntries(nBitCount));
    if (m_pHeader == nullptr) {
        Fail(L"Image too large");
        return FALSE;
    }
    m_nHeaderOwnership = kOwned;
    ComputeSizes();
    m_pBits = new (std::nothrow) BYTE[m_nImageSize];
    if (m_pBits == nullptr) {
        Clear();
        Fail(L"Image too large");
        return FALSE;
    }
    m_nBitsOwnership = kOwned;
    BuildPalette();
    return TRUE;
}

BOOL CDib::ReadFromFile(CFile* pFile)
{
    Clear();
    m_strLastError.Empty();
    try {
        const ULONGLONG nStart = pFile->GetPosition();
        const ULONGLONG nTotal = pFile->GetLength();
        const ULONGLONG nLength = nTotal > nStart ? nTotal - nStart : 0;

        BITMAPFILEHEADER fileHeader{};
        if (pFile->Read(&fileHeader, sizeof fileHeader) != sizeof fileHeader) {
            Fail(L"read error 1");
            return FALSE;
        }
        if (fileHeader.bfType != kBitmapSignature || fileHeader.bfOffBits < kFileHeaderBytes + 40 ||
            fileHeader.bfOffBits > nLength) {
            Fail(L"Invalid bitmap file");
            return FALSE;
        }
        const ULONGLONG nInfoBytes = fileHeader.bfOffBits - kFileHeaderBytes;
        BYTE* pInfo = new (std::nothrow) BYTE[nInfoBytes];
        if (pInfo == nullptr) {
            Fail(L"Invalid bitmap file");
            return FALSE;
        }
        m_pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pInfo);
        m_nHeaderOwnership = kOwned;
        if (pFile->Read(pInfo, static_cast<UINT>(nInfoBytes)) != nInfoBytes) {
            Clear();
            Fail(L"Read error 1");
            return FALSE;
        }
        ULONGLONG nImageBytes = 0;
        CString strReason;
        if (!CheckBitmap(pInfo, nInfoBytes, fileHeader.bfOffBits, nLength, nImageBytes, strReason)) {
            Clear();
            Fail(L"Invalid bitmap file");
            return FALSE;
        }
        ComputeSizes();
        m_pBits = new (std::nothrow) BYTE[nImageBytes];
        if (m_pBits == nullptr) {
            Clear();
            Fail(L"Invalid bitmap file");
            return FALSE;
        }
        m_nBitsOwnership = kOwned;
        if (pFile->Read(m_pBits, static_cast<UINT>(nImageBytes)) != nImageBytes) {
            Clear();
            Fail(L"Read error 1");
            return FALSE;
        }
    } catch (const CFileException&) {
        Clear();
        Fail(L"Read error 1");
        return FALSE;
    }
    BuildPalette();
    return TRUE;
}

BOOL CDib::WriteToFile(CFile* pFile)
{
    m_strLastError.Empty();
    if (m_pHeader == nullptr || m_pBits == nullptr) {
        Fail(L"write error");
        return FALSE;
    }
    const ULONGLONG nInfo = InfoBytes();
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = kBitmapSignature;
    fileHeader.bfOffBits = static_cast<DWORD>(kFileHeaderBytes + nInfo);
    fileHeader.bfSize = static_cast<DWORD>(kFileHeaderBytes + nInfo + m_nImageSize);
    try {
        pFile->Write(&fileHeader, sizeof fileHeader);
        pFile->Write(m_pHeader, static_cast<UINT>(nInfo));
        pFile->Write(m_pBits, m_nImageSize);
    } catch (const CFileException&) {
        Fail(L"write error");
        return FALSE;
    }
    return TRUE;
}

void CDib::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        WriteToFile(ar.GetFile());
    else
        ReadFromFile(ar.GetFile());
}

CSize CDib::GetImageSize() const
{
    if (m_pHeader == nullptr)
        return CSize(0, 0);
    return CSize(m_pHeader->biWidth, static_cast<int>(AbsHeight(m_pHeader->biHeight)));
}

BOOL CDib::DrawStretched(CDC* pDC, CPoint ptOrigin, CSize size)
{
    if (m_pHeader == nullptr || m_pBits == nullptr)
        return FALSE;
    HDC hDC = pDC->GetSafeHdc();
    HPALETTE hOldPalette = nullptr;
    if (m_hPalette != nullptr) {
        hOldPalette = ::SelectPalette(hDC, m_hPalette, TRUE);
        ::RealizePalette(hDC);
    }
    const CSize image = GetImageSize();
    ::StretchDIBits(hDC, ptOrigin.x, ptOrigin.y, size.cx, size.cy, 0, 0, image.cx, image.cy, m_pBits,
                    reinterpret_cast<const BITMAPINFO*>(m_pHeader), DIB_RGB_COLORS, SRCCOPY);
    if (hOldPalette != nullptr)
        ::SelectPalette(hDC, hOldPalette, TRUE);
    return TRUE;
}

BOOL CDib::SaveToBitmapFile(const wchar_t* pszPath)
{
    m_strLastError.Empty();
    if (m_pHeader == nullptr || m_pBits == nullptr)
        return FALSE;
    const ULONGLONG nInfo = InfoBytes();
    const ULONGLONG nTotal = kFileHeaderBytes + nInfo + m_nImageSize;
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        Fail(L"write error");
        return FALSE;
    }
    HANDLE hMap = ::CreateFileMappingW(hFile, nullptr, PAGE_READWRITE, static_cast<DWORD>(nTotal >> 32),
                                       static_cast<DWORD>(nTotal), nullptr);
    void* pView = hMap != nullptr ? ::MapViewOfFile(hMap, FILE_MAP_WRITE, 0, 0, 0) : nullptr;
    if (pView == nullptr) {
        if (hMap != nullptr)
            ::CloseHandle(hMap);
        ::CloseHandle(hFile);
        // No half-made file is left where a picture is expected.
        ::DeleteFileW(pszPath);
        Fail(L"write error");
        return FALSE;
    }

    BYTE* pOut = static_cast<BYTE*>(pView);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = kBitmapSignature;
    fileHeader.bfSize = static_cast<DWORD>(nTotal);
    fileHeader.bfOffBits = static_cast<DWORD>(kFileHeaderBytes + nInfo);
    std::memcpy(pOut, &fileHeader, sizeof fileHeader);
    std::memcpy(pOut + kFileHeaderBytes, m_pHeader, nInfo);
    std::memcpy(pOut + kFileHeaderBytes + nInfo, m_pBits, m_nImageSize);

    ::FlushViewOfFile(pView, 0);
    ::UnmapViewOfFile(pView);
    ::CloseHandle(hMap);
    ::CloseHandle(hFile);

    // From now on the object shows the written file, opened so that others
    // (the report reading the logo) can read it meanwhile; changes to the
    // bits stay in memory.
    Clear();
    hFile = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    hMap = hFile != INVALID_HANDLE_VALUE ? ::CreateFileMappingW(hFile, nullptr, PAGE_WRITECOPY, 0, 0, nullptr) : nullptr;
    pView = hMap != nullptr ? ::MapViewOfFile(hMap, FILE_MAP_COPY, 0, 0, 0) : nullptr;
    m_hFile = hFile;
    m_hMap = hMap;
    m_pMappedView = pView;
    if (pView == nullptr) {
        UnmapFile();
        Fail(L"Empty bitmap file");
        return FALSE;
    }
    pOut = static_cast<BYTE*>(pView);
    m_pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pOut + kFileHeaderBytes);
    ComputeSizes();
    m_pBits = pOut + kFileHeaderBytes + nInfo;
    BuildPalette();
    return TRUE;
}

BOOL CDib::MapBitmapFile(const wchar_t* pszPath, BOOL bShare)
{
    Clear();
    m_strLastError.Empty();
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ, bShare ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER length{};
    if (hFile == INVALID_HANDLE_VALUE || !::GetFileSizeEx(hFile, &length) || length.QuadPart == 0) {
        if (hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(hFile);
        Fail(L"Empty bitmap file");
        return FALSE;
    }
    HANDLE hMap = ::CreateFileMappingW(hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    void* pView = hMap != nullptr ? ::MapViewOfFile(hMap, FILE_MAP_READ, 0, 0, 0) : nullptr;
    m_hFile = hFile;
    m_hMap = hMap;
    m_pMappedView = pView;
    if (pView == nullptr) {
        UnmapFile();
        Fail(L"Empty bitmap file");
        return FALSE;
    }
    const BYTE* pBytes = static_cast<const BYTE*>(pView);
    const ULONGLONG nLength = static_cast<ULONGLONG>(length.QuadPart);
    BITMAPFILEHEADER fileHeader{};
    ULONGLONG nImageBytes = 0;
    CString strReason;
    if (nLength < kFileHeaderBytes) {
        UnmapFile();
        Fail(L"Invalid bitmap file");
        return FALSE;
    }
    std::memcpy(&fileHeader, pBytes, sizeof fileHeader);
    if (fileHeader.bfType != kBitmapSignature || fileHeader.bfOffBits < kFileHeaderBytes + 40 ||
        fileHeader.bfOffBits > nLength ||
        !CheckBitmap(pBytes + kFileHeaderBytes, fileHeader.bfOffBits - kFileHeaderBytes, fileHeader.bfOffBits,
                     nLength, nImageBytes, strReason)) {
        UnmapFile();
        Fail(L"Invalid bitmap file");
        return FALSE;
    }
    m_pHeader = reinterpret_cast<BITMAPINFOHEADER*>(const_cast<BYTE*>(pBytes) + kFileHeaderBytes);
    ComputeSizes();
    m_pBits = const_cast<BYTE*>(pBytes) + fileHeader.bfOffBits;
    BuildPalette();
    return TRUE;
}

BOOL CDib::AttachPackedDib(BITMAPINFOHEADER* pHeader, size_t nBytes, BOOL bOwned, HGLOBAL hGlobal)
{
    Clear();
    m_strLastError.Empty();
    auto release = [&]() {
        if (!bOwned)
            return;
        if (hGlobal != nullptr) {
            ::GlobalUnlock(hGlobal);
            ::GlobalFree(hGlobal);
        } else {
            delete[] reinterpret_cast<BYTE*>(pHeader);
        }
    };
    if (pHeader == nullptr || nBytes < sizeof(BITMAPINFOHEADER)) {
        release();
        Fail(L"Invalid bitmap file");
        return FALSE;
    }
    // The colour table's end is where the bits start; it must be inside the block.
    const BITMAPINFOHEADER& header = *pHeader;
    const ULONGLONG nEntries = header.biClrUsed != 0 ? header.biClrUsed
                               : header.biBitCount <= 8 ? static_cast<ULONGLONG>(1) << (header.biBitCount & 31)
                                                        : 0;
    const ULONGLONG nInfo = static_cast<ULONGLONG>(header.biSize) + MaskBytes(header) + nEntries * sizeof(RGBQUAD);
    ULONGLONG nImageBytes = 0;
    CString strReason;
    if (nInfo > nBytes || !CheckBitmap(reinterpret_cast<const BYTE*>(pHeader), nInfo, kFileHeaderBytes + nInfo,
                                       kFileHeaderBytes + nBytes, nImageBytes, strReason)) {
        release();
        Fail(L"Invalid bitmap file");
        return FALSE;
    }
    m_pHeader = pHeader;
    m_hGlobal = bOwned ? hGlobal : nullptr;
    m_nHeaderOwnership = !bOwned ? kNotOwned : hGlobal != nullptr ? kGlobal : kOwned;
    ComputeSizes();
    m_pBits = reinterpret_cast<BYTE*>(pHeader) + nInfo;
    BuildPalette();
    return TRUE;
}

BOOL CDib::MakeDibSection(CDC* pDC)
{
    if (m_pHeader == nullptr || m_pBits != nullptr || m_pHeader->biCompression == BI_RLE4 ||
        m_pHeader->biCompression == BI_RLE8)
        return FALSE;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(pDC != nullptr ? pDC->GetSafeHdc() : nullptr,
                                         reinterpret_cast<const BITMAPINFO*>(m_pHeader), DIB_RGB_COLORS, &pBits,
                                         nullptr, 0);
    if (hBitmap == nullptr)
        return FALSE;
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hBitmap;
    m_pBits = static_cast<BYTE*>(pBits);   // owned by the section
    m_nBitsOwnership = kNotOwned;
    return TRUE;
}

UINT CDib::SelectPaletteInto(CDC* pDC, BOOL bBackground)
{
    if (m_hPalette == nullptr)
        return 0;
    ::SelectPalette(pDC->GetSafeHdc(), m_hPalette, bBackground);
    return ::RealizePalette(pDC->GetSafeHdc());
}

BOOL CDib::BuildPalette()
{
    if (m_hPalette != nullptr) {
        ::DeleteObject(m_hPalette);
        m_hPalette = nullptr;
    }
    if (m_pHeader == nullptr || m_nColourEntries <= 0)
        return FALSE;
    const int nEntries = m_nColourEntries < 256 ? m_nColourEntries : 256;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(nEntries));
    auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLogPalette->palVersion = 0x300;
    pLogPalette->palNumEntries = static_cast<WORD>(nEntries);
    for (int i = 0; i < nEntries; ++i) {
        pLogPalette->palPalEntry[i].peRed = m_pColourTable[i].rgbRed;
        pLogPalette->palPalEntry[i].peGreen = m_pColourTable[i].rgbGreen;
        pLogPalette->palPalEntry[i].peBlue = m_pColourTable[i].rgbBlue;
        pLogPalette->palPalEntry[i].peFlags = 0;
    }
    m_hPalette = ::CreatePalette(pLogPalette);
    return m_hPalette != nullptr;
}

BOOL CDib::UseSystemPalette(CDC* pDC)
{
    if (m_nColourEntries != 0 || pDC == nullptr || (::GetDeviceCaps(pDC->GetSafeHdc(), RASTERCAPS) & RC_PALETTE) == 0)
        return FALSE;
    const int nEntries = ::GetDeviceCaps(pDC->GetSafeHdc(), SIZEPALETTE);
    if (nEntries <= 0)
        return FALSE;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(nEntries));
    auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLogPalette->palVersion = 0x300;
    pLogPalette->palNumEntries = static_cast<WORD>(nEntries);
    ::GetSystemPaletteEntries(pDC->GetSafeHdc(), 0, static_cast<UINT>(nEntries), pLogPalette->palPalEntry);
    if (m_hPalette != nullptr)
        ::DeleteObject(m_hPalette);
    m_hPalette = ::CreatePalette(pLogPalette);
    return m_hPalette != nullptr;
}

HBITMAP CDib::MakeDeviceBitmap(CDC* pDC)
{
    // A DIB section holds the bits: it must not be replaced.
    if (m_pHeader == nullptr || m_pBits == nullptr || pDC == nullptr || m_hBitmap != nullptr)
        return nullptr;
    m_hBitmap = ::CreateDIBitmap(pDC->GetSafeHdc(), m_pHeader, CBM_INIT, m_pBits,
                                 reinterpret_cast<const BITMAPINFO*>(m_pHeader), DIB_RGB_COLORS);
    return m_hBitmap;
}
