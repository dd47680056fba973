// The options object of the PDF printer driver: the program asks it for the
// driver's profile before printing a report to a PDF file and hands it back
// its printer name when it is done with the driver.
#pragma once

#include <objbase.h>

// {6A1C3E52-7F0B-4D1E-9C2A-3B5D8E4F1A70}
extern const IID IID_IPdfDriverOptions;

struct IPdfDriverOptions : public IUnknown {
    // Puts the driver's settings for the named printer back as they were
    // before the program changed them; nRestore 1 restores the defaults.
    virtual HRESULT STDMETHODCALLTYPE CleanUp(const wchar_t* pszPrinterName, int nRestore) = 0;
};

// Creates the options object (reference count 1).
HRESULT CreatePdfDriverOptions(IPdfDriverOptions** ppOptions);
