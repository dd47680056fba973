// Small pictures the report tests write: bitmaps, metafiles, TIFF and JPEG
// files made byte by byte or with the platform's own encoders.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

template <typename T>
void Put(std::string& bytes, size_t at, T value)
{
    std::memcpy(&bytes[at], &value, sizeof value);
}

// A 24-bit bitmap file of w x h pixels, every pixel the given colour.
std::string SolidBitmap(int w, int h, BYTE r, BYTE g, BYTE b);
// An enhanced metafile file whose picture is a frame of w x h (0.01 mm)
// filled with one colour.
bool WriteSolidMetafile(const std::wstring& path, int w, int h, COLORREF colour);
// Uncompressed little-endian TIFF of w x h: 3 samples (RGB) or 1 (grey), of 8 or 16 bits.
std::string MakeTiff(int w, int h, int nSamples, int nBits, const std::vector<WORD>& samples);
// A w x h JPEG of a colour ramp, written by GDI+ (which must be started).
bool WriteJpeg(const std::wstring& path, int w, int h);
// The folder an environment variable names (a Linux path taken through
// drive Z:), else a fresh temporary folder; with a trailing backslash,
// created when missing.
std::wstring FolderFromEnvironment(const wchar_t* pszVariable, const wchar_t* pszTempName);
// The GDI+ encoder of a MIME type ("image/png"); GUID_NULL when there is none.
CLSID GetEncoderClsid(const wchar_t* pszMimeType);
