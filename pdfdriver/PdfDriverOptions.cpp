#include "pdfdriver/PdfDriverOptions.h"

#include <atomic>
#include <new>
#include <string>

const IID IID_IPdfDriverOptions = {0x6a1c3e52, 0x7f0b, 0x4d1e, {0x9c, 0x2a, 0x3b, 0x5d, 0x8e, 0x4f, 0x1a, 0x70}};

namespace {

class CPdfDriverOptions final : public IPdfDriverOptions {
public:
    virtual ~CPdfDriverOptions() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPdfDriverOptions)) {
            *ppv = static_cast<IPdfDriverOptions*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --m_nRefs;
        if (n == 0)
            delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE CleanUp(const wchar_t* pszPrinterName, int nRestore) override
    {
        if (pszPrinterName == nullptr)
            return E_INVALIDARG;
        // The stand-in keeps no profile of its own yet; the printer's
        // settings are what they were.
        m_strLastPrinter = pszPrinterName;
        m_nLastRestore = nRestore;
        return S_OK;
    }

private:
    std::atomic<ULONG> m_nRefs{1};
    std::wstring m_strLastPrinter;
    int m_nLastRestore = 0;
};
}  // namespace

HRESULT CreatePdfDriverOptions(IPdfDriverOptions** ppOptions)
{
    if (ppOptions == nullptr)
        return E_POINTER;
    *ppOptions = new (std::nothrow) CPdfDriverOptions;
    return *ppOptions != nullptr ? S_OK : E_OUTOFMEMORY;
}
