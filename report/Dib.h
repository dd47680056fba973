// CDib: one device-independent bitmap, read from or written to a ".bmp"
// file, held in memory, in a DIB section or in a mapped bitmap file.
// Nothing in a file is trusted: every size, offset and count of its headers
// is checked against the file's length before anything is allocated or read.
// A failure leaves the object empty and its text in GetLastError; the object
// shows no message itself, so that a caller that draws (a report page) can
// report once per job instead of once per paint.
#pragma once

#include <windows.h>

#include "framework/Dc.h"
#include "framework/Document.h"
#include "framework/File.h"
#include "framework/Geometry.h"
#include "framework/Object.h"
#include "framework/String.h"

class CDib : public CObject {
    DECLARE_SERIAL(CDib)
public:
    // Header and bits ownership codes.
    enum { kNotOwned = 0, kOwned = 1, kGlobal = 2 };
    // Largest image the object allocates; beyond it allocation is refused.
    static constexpr ULONGLONG kMaxImageBytes = 512ull * 1024 * 1024;

    CDib();
    // An empty bitmap of a size and bit count: header with the colour-table
    // counts, colour table zeroed, no bits.
    CDib(CSize size, int nBitCount);
    ~CDib() override;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Stores through WriteToFile or loads through ReadFromFile.
    virtual void Serialize(CArchive& ar);

    // Reads a ".bmp" file from the file's current position; 1, or 0 with
    // "read error 1", "Invalid bitmap file" or "Read error 1".
    BOOL ReadFromFile(CFile* pFile);
    // File header, then header, colour table and bits; 0 with "write error".
    BOOL WriteToFile(CFile* pFile);
    // (width, height) from the header, (0, 0) without one.
    CSize GetImageSize() const;
    // Copies the whole image into (origin, size); 0 without header or bits.
    BOOL DrawStretched(CDC* pDC, CPoint ptOrigin, CSize size);
    // Owned 40-byte header and uninitialised bits; 0 (and empty) for a size
    // or bit count that cannot be allocated.
    BOOL AllocateImage(int nWidth, int nHeight, int nBitCount);
    // Writes the bitmap through a read-write file mapping and attaches the
    // object to the written file; 0 when it cannot be created or mapped.
    BOOL SaveToBitmapFile(const wchar_t* pszPath);
    // Releases what the object owns and resets every member.
    void Clear();
    void ResetEmpty(CSize size, int nBitCount);
    // Attaches to a bitmap file mapped read-only; 0 with "Invalid bitmap
    // file" or "Empty bitmap file".
    BOOL MapBitmapFile(const wchar_t* pszPath, BOOL bShare);
    // Attaches a packed bitmap (header, colour table, bits) of nBytes bytes
    // in memory: ownership 2 with a global handle, 1 when owned (allocated
    // with new BYTE[]), 0 when not owned. 0 when the header does not fit.
    BOOL AttachPackedDib(BITMAPINFOHEADER* pHeader, size_t nBytes, BOOL bOwned, HGLOBAL hGlobal);
    // A DIB section for the header when the object has no bits yet.
    BOOL MakeDibSection(CDC* pDC);
    // Selects and realizes the palette; the realized count, 0 without one.
    UINT SelectPaletteInto(CDC* pDC, BOOL bBackground);
    // The palette from the colour table; FALSE when there is none.
    BOOL BuildPalette();
    // A palette copied from the device's system palette, for a bitmap
    // without colour table.
    BOOL UseSystemPalette(CDC* pDC);
    // A device-dependent bitmap from the DIB (owned by the object).
    HBITMAP MakeDeviceBitmap(CDC* pDC);
    void UnmapFile();

    const CString& GetLastError() const { return m_strLastError; }
    const BITMAPINFOHEADER* GetHeader() const { return m_pHeader; }
    const BYTE* GetBits() const { return m_pBits; }
    BYTE* GetBits() { return m_pBits; }
    const RGBQUAD* GetColourTable() const { return m_pColourTable; }
    DWORD GetImageBytes() const { return m_nImageSize; }
    int GetRowSize() const { return m_nRowSize; }
    int GetColourEntries() const { return m_nColourEntries; }
    HPALETTE GetPalette() const { return m_hPalette; }

    // Checks a bitmap whose file header says the bits start at nBitsOffset
    // (from the start of the file) in a file of nFileLength bytes; pInfo
    // holds the nBitsOffset - 14 bytes after the file header. On success
    // gives the bytes of the image; else the reason is in strReason.
    static bool CheckBitmap(const BYTE* pInfo, ULONGLONG nInfoBytes, ULONGLONG nBitsOffset, ULONGLONG nFileLength,
                            ULONGLONG& nImageBytes, CString& strReason);

private:
    // Sizes and colour-table entries from the header.
    void ComputeSizes();
    void Fail(const wchar_t* pszMessage) { m_strLastError = pszMessage; }
    // Bytes of header, bit-field masks and colour table.
    ULONGLONG InfoBytes() const;

    RGBQUAD* m_pColourTable = nullptr;
    HBITMAP m_hBitmap = nullptr;
    BYTE* m_pBits = nullptr;
    BITMAPINFOHEADER* m_pHeader = nullptr;
    HGLOBAL m_hGlobal = nullptr;
    int m_nHeaderOwnership = kNotOwned;
    int m_nBitsOwnership = kNotOwned;
    DWORD m_nImageSize = 0;
    int m_nColourEntries = 0;
    int m_nRowSize = 0;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hMap = nullptr;
    void* m_pMappedView = nullptr;
    HPALETTE m_hPalette = nullptr;
    CString m_strLastError;
};
