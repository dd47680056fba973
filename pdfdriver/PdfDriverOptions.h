// The options object of the PDF printer driver: the program configures the
// driver's profile (save folder, file name, save behaviour) through it before
// printing a report to the PDF printer, waits through it for the file, and
// puts the driver's previous profile back afterwards.
#pragma once

#include <objbase.h>

// {6A1C3E52-7F0B-4D1E-9C2A-3B5D8E4F1A70}
extern const IID IID_IPdfDriverOptions;

struct IPdfDriverOptions : public IUnknown {
    // S_OK when the printer is installed and ready.
    virtual HRESULT STDMETHODCALLTYPE OpenPrinter(const wchar_t* pszPrinterName) = 0;
    // A process whose print jobs the driver accepts.
    virtual HRESULT STDMETHODCALLTYPE AddProcess(const wchar_t* pszProcessName) = 0;
    // The driver posts the message of this name to the registered window.
    virtual HRESULT STDMETHODCALLTYPE RegisterMessage(const wchar_t* pszMessageName) = 0;
    // Opens the driver's profiles for changes.
    virtual HRESULT STDMETHODCALLTYPE BeginProfileChanges() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddProfile(const wchar_t* pszProfile, int nShared) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTextOption(const wchar_t* pszOption, const wchar_t* pszValue,
                                                    const wchar_t* pszProfile, int nShared) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetNumberOption(const wchar_t* pszOption, long nValue, const wchar_t* pszProfile,
                                                      int nShared) = 0;
    // The active profile; *ppszProfile is allocated with CoTaskMemAlloc and
    // freed by the caller with CoTaskMemFree.
    virtual HRESULT STDMETHODCALLTYPE GetActiveProfile(wchar_t** ppszProfile, long* pnShared) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetActiveProfile(const wchar_t* pszProfile, long nShared) = 0;
    // Stores the changed profiles, then hands them to the printer.
    virtual HRESULT STDMETHODCALLTYPE SaveProfileChanges() = 0;
    virtual HRESULT STDMETHODCALLTYPE ApplyProfileChanges() = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterWindow(HWND hWnd) = 0;
    // Returns when the job's file is written (S_OK, *pnWritten 1) or when
    // the time-out has passed (S_FALSE, *pnWritten 0).
    virtual HRESULT STDMETHODCALLTYPE WaitForFile(DWORD nTimeoutMs, long* pnWritten) = 0;
    // Opens the profiles for the restore, then ends it.
    virtual HRESULT STDMETHODCALLTYPE BeginRestore() = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteProfile(const wchar_t* pszProfile, int nShared) = 0;
    virtual HRESULT STDMETHODCALLTYPE EndRestore() = 0;
    // Closes the printer; nRestore 1 puts its default profile back.
    virtual HRESULT STDMETHODCALLTYPE CleanUp(const wchar_t* pszPrinterName, int nRestore) = 0;
};

// Creates the options object (reference count 1).
HRESULT CreatePdfDriverOptions(IPdfDriverOptions** ppOptions);
