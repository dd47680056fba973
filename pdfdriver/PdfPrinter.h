// The PDF printer "Quillmar PDF Writer" and the driver state it shares with
// the options object: profiles of save options, the active profile, the
// messages and the window the driver reports to. A print job on it takes
// each page as an enhanced metafile of the printer's page and, at its end,
// writes one PDF file where the active profile says.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/Print.h"
#include "pdfdriver/EmfToPdf.h"

constexpr const wchar_t* kPdfPrinterName = L"Quillmar PDF Writer";

// Error codes of the driver's error message.
enum PdfPrintError { kPdfErrorNoProfile = 1, kPdfErrorConvert = 2, kPdfErrorWrite = 3, kPdfErrorCancelled = 4 };

struct CPdfProfile {
    std::map<std::wstring, std::wstring> text;
    std::map<std::wstring, long> numbers;
};

class CPdfPrinter : public CPrintPageWriter {
public:
    // The one printer of the machine (here: of the process).
    static CPdfPrinter& Get();
    ~CPdfPrinter() override;

    // Driver state.
    std::map<std::wstring, CPdfProfile> m_profiles;
    std::wstring m_strActiveProfile;
    long m_nActiveShared = 0;
    std::set<std::wstring> m_messages;
    HWND m_hWnd = nullptr;
    int m_nOpenCount = 0;

    // The page of every job: the default paper of the user's locale at 600 dpi.
    CPdfPageGeometry m_page;
    CPageCaps GetPageCaps() const;

    // The last job: its target, whether the file was written, and a signal
    // set when the job has ended either way.
    std::wstring m_strLastFile;
    bool m_bWritten = false;
    HANDLE m_hJobEnded = nullptr;
    // Writes the file (waits for the job): true when this job's file is there.
    bool WaitForJob(DWORD nTimeoutMs);

    // The page writer.
    HDC BeginJob(CPageCaps& caps) override;
    int StartDoc(CDC* pDC, const DOCINFOW* pInfo) override;
    int StartPage(CDC* pDC) override;
    int EndPage(CDC* pDC) override;
    int EndDoc(CDC* pDC) override;
    int AbortDoc(CDC* pDC) override;

    // The PDF of pages (for the job and for tests); empty when a page
    // cannot be read.
    static std::string MakePdf(const std::vector<HENHMETAFILE>& pages, const CPdfPageGeometry& page,
                               const std::wstring& strTitle);
    // Writes bytes to a temporary file beside the target and then puts it
    // in the target's place, so the target is either the whole new file or
    // what it was before.
    static bool WriteFileSafely(const std::wstring& strPath, const std::string& bytes);

private:
    CPdfPrinter();
    HDC NewPageDC();
    void DiscardPages();
    void Report(const wchar_t* pszMessage, WPARAM nCode);
    void EndJob(bool bWritten);

    std::vector<HENHMETAFILE> m_pages;
    HDC m_hPageDC = nullptr;
    HDC m_hIdleDC = nullptr;
    std::wstring m_strDocName;
    bool m_bInJob = false;
};
