// add-printer.exe gives a Wine prefix a PostScript printer that prints into
// files, so that the print path can be run to the end without a real
// printer: the generic PPD that Wine's spooler carries is written to the
// driver folder, Wine's PostScript driver is registered with it, and a
// printer on port FILE: is added and made the default.
//
//   add-printer.exe [name]        (default name "Vudadar PostScript")
//
// Running it again changes nothing. Exit code 0 when the printer exists.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring SystemFolder()
{
    wchar_t sz[MAX_PATH] = {};
    ::GetSystemDirectoryW(sz, MAX_PATH);
    return sz;
}

// The PPD is resource PPDFILE 1 of the spooler library.
bool WriteGenericPpd(const std::wstring& strDriverFolder, const std::wstring& strPpd)
{
    if (::GetFileAttributesW(strPpd.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    HMODULE hSpool = ::LoadLibraryExW((SystemFolder() + L"\\winspool.drv").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE);
    if (hSpool == nullptr) {
        std::fprintf(stderr, "add-printer: winspool.drv cannot be loaded (%lu)\n", ::GetLastError());
        return false;
    }
    bool bOk = false;
    if (HRSRC hRes = ::FindResourceW(hSpool, MAKEINTRESOURCEW(1), L"PPDFILE")) {
        const DWORD cb = ::SizeofResource(hSpool, hRes);
        const void* pData = ::LockResource(::LoadResource(hSpool, hRes));
        // Each level of the folder, as CreateDirectory makes one at a time.
        for (size_t i = strDriverFolder.find(L'\\', 3); ; i = strDriverFolder.find(L'\\', i + 1)) {
            ::CreateDirectoryW(strDriverFolder.substr(0, i).c_str(), nullptr);
            if (i == std::wstring::npos)
                break;
        }
        HANDLE h = ::CreateFileW(strPpd.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD nWritten = 0;
            bOk = pData != nullptr && ::WriteFile(h, pData, cb, &nWritten, nullptr) && nWritten == cb;
            ::CloseHandle(h);
            if (!bOk)
                ::DeleteFileW(strPpd.c_str());
        }
    }
    ::FreeLibrary(hSpool);
    if (!bOk)
        std::fprintf(stderr, "add-printer: the generic PPD could not be written\n");
    return bOk;
}

bool PrinterExists(const std::wstring& strName)
{
    HANDLE h = nullptr;
    if (!::OpenPrinterW(const_cast<wchar_t*>(strName.c_str()), &h, nullptr))
        return false;
    ::ClosePrinter(h);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring strName = argc > 1 ? argv[1] : L"Vudadar PostScript";
    wchar_t szDriverName[] = L"Wine PostScript Driver";
    wchar_t szDriverFile[] = L"wineps.drv";
    wchar_t szPpdName[] = L"generic.ppd";

    const std::wstring strDriverFolder = SystemFolder() + L"\\spool\\drivers\\x64\\3";
    if (!WriteGenericPpd(strDriverFolder, strDriverFolder + L"\\generic.ppd"))
        return 1;

    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = szDriverName;
    driver.pDriverPath = szDriverFile;
    driver.pDataFile = szPpdName;
    driver.pConfigFile = szDriverFile;
    if (!::AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))
        && ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        std::fprintf(stderr, "add-printer: the driver could not be added (%lu)\n", ::GetLastError());
        return 1;
    }

    if (!PrinterExists(strName)) {
        wchar_t szPort[] = L"FILE:";
        wchar_t szProcessor[] = L"WinPrint";
        wchar_t szDatatype[] = L"RAW";
        PRINTER_INFO_2W printer{};
        printer.pPrinterName = strName.data();
        printer.pPortName = szPort;
        printer.pDriverName = szDriverName;
        printer.pPrintProcessor = szProcessor;
        printer.pDatatype = szDatatype;
        printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE h = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
        if (h == nullptr) {
            std::fprintf(stderr, "add-printer: the printer could not be added (%lu)\n", ::GetLastError());
            return 1;
        }
        ::ClosePrinter(h);
    }
    if (!::SetDefaultPrinterW(strName.c_str())) {
        std::fprintf(stderr, "add-printer: the printer could not be made the default (%lu)\n", ::GetLastError());
        return 1;
    }
    HDC hDC = ::CreateDCW(L"WINSPOOL", strName.c_str(), nullptr, nullptr);
    if (hDC == nullptr) {
        std::fprintf(stderr, "add-printer: the printer gives no device context (%lu)\n", ::GetLastError());
        return 1;
    }
    ::DeleteDC(hDC);
    return 0;
}
