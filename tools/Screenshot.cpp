// screenshot.exe: saves a top-level window, or the whole screen, as a PNG.
// It runs under Wine beside the program (same prefix, same display) so that a
// person can look at what the program shows; tools/screenshot wraps it.
//
//   screenshot <part of a window title> <out.png> [wait-seconds]
//   screenshot --all <out.png>
//   screenshot --list
//   screenshot --command <part of a window title> <command id>
//
// The copy is what the display shows: parts of the window that another
// window covers come out as that window.
//
// Exit codes: 0 saved (or listed), 1 usage, 2 no such window, 3 capture
// failed, 4 saving failed.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kNotFound = 2, kCaptureFailed = 3, kSaveFailed = 4 };

// Console output as UTF-8: window titles may hold any character, and the
// wrapper's terminal expects UTF-8.
void PrintUtf8(FILE* stream, const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                        utf8.data(), n, nullptr, nullptr);
    fwrite(utf8.data(), 1, utf8.size(), stream);
    fflush(stream);
}

std::wstring Lower(std::wstring text)
{
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring WindowTitle(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return std::wstring();
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(hwnd, title.data(), length + 1)));
    return title;
}

// Visible top-level windows that have a title, topmost first (EnumWindows
// walks the Z order from the top).
std::vector<HWND> TitledWindows()
{
    std::vector<HWND> windows;
    EnumWindows([](HWND hwnd, LPARAM param) -> BOOL {
        if (IsWindowVisible(hwnd) && GetWindowTextLengthW(hwnd) > 0)
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindWindowByTitlePart(const std::wstring& part)
{
    const std::wstring wanted = Lower(part);
    for (HWND hwnd : TitledWindows())
        if (Lower(WindowTitle(hwnd)).find(wanted) != std::wstring::npos)
            return hwnd;
    return nullptr;
}

int ListWindows()
{
    for (HWND hwnd : TitledWindows()) {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        wchar_t geometry[64];
        swprintf(geometry, 64, L"%ldx%ld+%ld+%ld\t", rc.right - rc.left, rc.bottom - rc.top,
                 rc.left, rc.top);
        PrintUtf8(stdout, geometry + WindowTitle(hwnd) + L"\n");
    }
    return kOk;
}

// A 24-bit top-down DIB section holding a copy of part of a device context.
struct Capture {
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    Capture() = default;
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    ~Capture()
    {
        if (bitmap)
            DeleteObject(bitmap);
    }
};

bool CopyFromDC(HDC source, int x, int y, int width, int height, Capture& capture)
{
    if (!source || width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    capture.bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &capture.bits, nullptr, 0);
    if (!capture.bitmap)
        return false;
    capture.width = width;
    capture.height = height;
    capture.stride = ((width * 3) + 3) & ~3;

    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, capture.bitmap);
    BOOL copied = BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
    return copied != FALSE;
}

// The whole window, frame and caption included.
bool CaptureWindow(HWND hwnd, Capture& capture)
{
    RECT rc{};
    if (!GetWindowRect(hwnd, &rc))
        return false;
    HDC dc = GetWindowDC(hwnd);
    bool ok = CopyFromDC(dc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, capture);
    if (dc)
        ReleaseDC(hwnd, dc);
    return ok;
}

bool CaptureScreen(Capture& capture)
{
    HDC dc = GetDC(nullptr);
    bool ok = CopyFromDC(dc, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         capture);
    if (dc)
        ReleaseDC(nullptr, dc);
    return ok;
}

bool FindEncoder(const wchar_t* mimeType, CLSID& clsid)
{
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, mimeType) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool SavePng(const Capture& capture, const std::wstring& path)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool saved = false;
    {
        CLSID png{};
        // The bitmap only wraps the DIB section's pixels, which outlive it.
        Gdiplus::Bitmap image(capture.width, capture.height, capture.stride,
                              PixelFormat24bppRGB, static_cast<BYTE*>(capture.bits));
        saved = FindEncoder(L"image/png", png) && image.GetLastStatus() == Gdiplus::Ok &&
                image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

int Usage()
{
    PrintUtf8(stderr, L"usage: screenshot <part of a window title> <out.png> [wait-seconds]\n"
                      L"       screenshot --all <out.png>\n"
                      L"       screenshot --list\n"
                      L"       screenshot --command <part of a window title> <command id>\n");
    return kUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && wcscmp(argv[1], L"--list") == 0)
        return ListWindows();
    // Posts a menu command to a window, so a dialog or page can be opened
    // before it is captured.
    if (argc == 4 && wcscmp(argv[1], L"--command") == 0) {
        HWND hwnd = FindWindowByTitlePart(argv[2]);
        wchar_t* end = nullptr;
        const unsigned long id = wcstoul(argv[3], &end, 10);
        if (end == argv[3] || *end != L'\0')
            return Usage();
        if (!hwnd) {
            PrintUtf8(stderr, L"screenshot: no visible window whose title contains \"" + std::wstring(argv[2]) +
                                  L"\"\n");
            return kNotFound;
        }
        return PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? kOk : kCaptureFailed;
    }
    if (argc < 3 || argc > 4)
        return Usage();

    const std::wstring target = argv[1];
    const std::wstring path = argv[2];
    Capture capture;

    if (target == L"--all") {
        if (argc != 3)
            return Usage();
        if (!CaptureScreen(capture)) {
            PrintUtf8(stderr, L"screenshot: could not copy the screen\n");
            return kCaptureFailed;
        }
    } else {
        double waitSeconds = 10;
        if (argc == 4) {
            wchar_t* end = nullptr;
            waitSeconds = wcstod(argv[3], &end);
            if (end == argv[3] || *end != L'\0' || waitSeconds < 0)
                return Usage();
        }
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitSeconds * 1000);
        HWND hwnd = FindWindowByTitlePart(target);
        while (!hwnd && GetTickCount64() < deadline) {
            Sleep(100);
            hwnd = FindWindowByTitlePart(target);
        }
        if (!hwnd) {
            PrintUtf8(stderr, L"screenshot: no visible window whose title contains \"" + target +
                                  L"\"\n");
            return kNotFound;
        }
        // A window that has just appeared may not have painted yet.
        Sleep(500);
        if (!CaptureWindow(hwnd, capture)) {
            PrintUtf8(stderr, L"screenshot: could not copy the window \"" + WindowTitle(hwnd) +
                                  L"\"\n");
            return kCaptureFailed;
        }
    }

    if (!SavePng(capture, path)) {
        PrintUtf8(stderr, L"screenshot: could not save " + path + L"\n");
        return kSaveFailed;
    }
    return kOk;
}
