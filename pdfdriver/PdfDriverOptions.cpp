#include "pdfdriver/PdfDriverOptions.h"

#include <atomic>
#include <cstring>
#include <new>
#include <string>

#include "pdfdriver/PdfPrinter.h"

const IID IID_IPdfDriverOptions = {0x6a1c3e52, 0x7f0b, 0x4d1e, {0x9c, 0x2a, 0x3b, 0x5d, 0x8e, 0x4f, 0x1a, 0x70}};

namespace {

// Every call works on the printer's state, as the driver keeps its profiles
// for the machine and not for one options object.
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
    HRESULT STDMETHODCALLTYPE OpenPrinter(const wchar_t* pszPrinterName) override
    {
        if (pszPrinterName == nullptr || std::wstring(pszPrinterName) != kPdfPrinterName)
            return E_FAIL;
        ++Printer().m_nOpenCount;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddProcess(const wchar_t* pszProcessName) override
    {
        return pszProcessName != nullptr ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE RegisterMessage(const wchar_t* pszMessageName) override
    {
        if (pszMessageName == nullptr)
            return E_INVALIDARG;
        Printer().m_messages.insert(pszMessageName);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BeginProfileChanges() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddProfile(const wchar_t* pszProfile, int) override
    {
        if (pszProfile == nullptr)
            return E_INVALIDARG;
        Printer().m_profiles[pszProfile];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTextOption(const wchar_t* pszOption, const wchar_t* pszValue,
                                            const wchar_t* pszProfile, int) override
    {
        if (pszOption == nullptr || pszValue == nullptr || pszProfile == nullptr)
            return E_INVALIDARG;
        auto it = Printer().m_profiles.find(pszProfile);
        if (it == Printer().m_profiles.end())
            return E_FAIL;
        it->second.text[pszOption] = pszValue;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetNumberOption(const wchar_t* pszOption, long nValue, const wchar_t* pszProfile,
                                              int) override
    {
        if (pszOption == nullptr || pszProfile == nullptr)
            return E_INVALIDARG;
        auto it = Printer().m_profiles.find(pszProfile);
        if (it == Printer().m_profiles.end())
            return E_FAIL;
        it->second.numbers[pszOption] = nValue;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetActiveProfile(wchar_t** ppszProfile, long* pnShared) override
    {
        if (ppszProfile == nullptr || pnShared == nullptr)
            return E_POINTER;
        const std::wstring& s = Printer().m_strActiveProfile;
        *ppszProfile = static_cast<wchar_t*>(::CoTaskMemAlloc((s.size() + 1) * sizeof(wchar_t)));
        if (*ppszProfile == nullptr)
            return E_OUTOFMEMORY;
        std::memcpy(*ppszProfile, s.c_str(), (s.size() + 1) * sizeof(wchar_t));
        *pnShared = Printer().m_nActiveShared;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetActiveProfile(const wchar_t* pszProfile, long nShared) override
    {
        Printer().m_strActiveProfile = pszProfile != nullptr ? pszProfile : L"";
        Printer().m_nActiveShared = nShared;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SaveProfileChanges() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ApplyProfileChanges() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RegisterWindow(HWND hWnd) override
    {
        Printer().m_hWnd = hWnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE WaitForFile(DWORD nTimeoutMs, long* pnWritten) override
    {
        const bool bWritten = Printer().WaitForJob(nTimeoutMs);
        if (pnWritten != nullptr)
            *pnWritten = bWritten ? 1 : 0;
        return bWritten ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE BeginRestore() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeleteProfile(const wchar_t* pszProfile, int) override
    {
        if (pszProfile == nullptr)
            return E_INVALIDARG;
        Printer().m_profiles.erase(pszProfile);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EndRestore() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CleanUp(const wchar_t* pszPrinterName, int) override
    {
        if (pszPrinterName == nullptr)
            return E_INVALIDARG;
        CPdfPrinter& printer = Printer();
        if (printer.m_nOpenCount > 0 && --printer.m_nOpenCount == 0) {
            // The last user gone, the driver forgets the window it reported to.
            printer.m_hWnd = nullptr;
        }
        return S_OK;
    }

private:
    static CPdfPrinter& Printer() { return CPdfPrinter::Get(); }
    std::atomic<ULONG> m_nRefs{1};
};
}  // namespace

HRESULT CreatePdfDriverOptions(IPdfDriverOptions** ppOptions)
{
    if (ppOptions == nullptr)
        return E_POINTER;
    *ppOptions = new (std::nothrow) CPdfDriverOptions;
    return *ppOptions != nullptr ? S_OK : E_OUTOFMEMORY;
}
