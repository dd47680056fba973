// Helpers of the zone tests: the recorder of what the chart draws, and a
// PNG of a canvas.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/GdiPlus.h"
#include "tests/MetafileRecorder.h"
#include "tests/app/MessageTestSupport.h"

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
