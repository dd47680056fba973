#include "pdfdriver/PdfPrinter.h"

#include "framework/Dc.h"

CPdfPrinter& CPdfPrinter::Get()
{
    static CPdfPrinter printer;
    return printer;
}

CPdfPrinter::CPdfPrinter()
{
    m_hJobEnded = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    wchar_t sz[8] = {};
    // Letter where the user's locale prints on it, A4 elsewhere.
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IPAPERSIZE, sz, 8) > 0 && sz[0] == L'9' && sz[1] == 0) {
        m_page.nWidthPx = 4961;
        m_page.nHeightPx = 7016;
    }
}

CPdfPrinter::~CPdfPrinter()
{
    DiscardPages();
    if (m_hIdleDC != nullptr)
        ::DeleteDC(m_hIdleDC);
    if (m_hJobEnded != nullptr)
        ::CloseHandle(m_hJobEnded);
}

CPageCaps CPdfPrinter::GetPageCaps() const
{
    CPageCaps caps;
    caps.nHorzRes = m_page.nWidthPx;
    caps.nVertRes = m_page.nHeightPx;
    caps.nHorzSize = static_cast<int>(m_page.nWidthPx * 25.4 / m_page.nDpi);
    caps.nVertSize = static_cast<int>(m_page.nHeightPx * 25.4 / m_page.nDpi);
    caps.nLogPixelsX = caps.nLogPixelsY = m_page.nDpi;
    return caps;
}

HDC CPdfPrinter::NewPageDC()
{
    // The frame is the page in 0.01 mm; the drawing keeps its own units.
    const RECT rcFrame{0, 0, m_page.nWidthPx * 2540 / m_page.nDpi, m_page.nHeightPx * 2540 / m_page.nDpi};
    return ::CreateEnhMetaFileW(nullptr, nullptr, &rcFrame, nullptr);
}

void CPdfPrinter::DiscardPages()
{
    for (HENHMETAFILE h : m_pages)
        ::DeleteEnhMetaFile(h);
    m_pages.clear();
    if (m_hPageDC != nullptr)
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(m_hPageDC));
    m_hPageDC = nullptr;
}

HDC CPdfPrinter::BeginJob(CPageCaps& caps)
{
    if (m_bInJob)
        return nullptr;
    DiscardPages();
    m_hPageDC = NewPageDC();
    caps = GetPageCaps();
    return m_hPageDC;
}

int CPdfPrinter::StartDoc(CDC*, const DOCINFOW* pInfo)
{
    if (m_hPageDC == nullptr)
        return -1;
    m_bInJob = true;
    m_strDocName = pInfo != nullptr && pInfo->lpszDocName != nullptr ? pInfo->lpszDocName : L"";
    m_bWritten = false;
    ::ResetEvent(m_hJobEnded);
    return 1;
}

int CPdfPrinter::StartPage(CDC* pDC)
{
    return pDC->GetSafeHdc() == m_hPageDC && m_hPageDC != nullptr ? 1 : -1;
}

int CPdfPrinter::EndPage(CDC* pDC)
{
    if (pDC->GetSafeHdc() != m_hPageDC || m_hPageDC == nullptr)
        return -1;
    pDC->Detach();
    HENHMETAFILE hMeta = ::CloseEnhMetaFile(m_hPageDC);
    m_hPageDC = nullptr;
    if (hMeta == nullptr)
        return -1;
    m_pages.push_back(hMeta);
    // The next page is drawn on a fresh metafile of its own.
    m_hPageDC = NewPageDC();
    if (m_hPageDC == nullptr)
        return -1;
    pDC->Attach(m_hPageDC);
    return 1;
}

void CPdfPrinter::Report(const wchar_t* pszMessage, WPARAM nCode)
{
    if (m_hWnd != nullptr && m_messages.count(pszMessage) != 0)
        ::PostMessageW(m_hWnd, ::RegisterWindowMessageW(pszMessage), nCode, 0);
}

void CPdfPrinter::EndJob(bool bWritten)
{
    m_bWritten = bWritten;
    m_bInJob = false;
    ::SetEvent(m_hJobEnded);
}

int CPdfPrinter::EndDoc(CDC* pDC)
{
    // The spare page the job did not draw goes; the DC the job still holds
    // is one that draws nowhere.
    if (m_hIdleDC == nullptr)
        m_hIdleDC = ::CreateCompatibleDC(nullptr);
    if (pDC->GetSafeHdc() == m_hPageDC)
        pDC->Detach();
    if (m_hPageDC != nullptr)
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(m_hPageDC));
    m_hPageDC = nullptr;
    pDC->Attach(m_hIdleDC);

    std::wstring strFolder, strFile, strTitle;
    auto it = m_profiles.find(m_strActiveProfile);
    if (it != m_profiles.end()) {
        strFolder = it->second.text[L"Save Folder"];
        strFile = it->second.text[L"Save File"];
        strTitle = it->second.text[L"Document Title"];
    }
    if (strFile.empty()) {
        m_strLastFile.clear();
        DiscardPages();
        Report(L"NOVAPDF2_PRINTERROR", kPdfErrorNoProfile);
        EndJob(false);
        return -1;
    }
    m_strLastFile = strFolder.empty() ? strFile : strFolder + L"\\" + strFile;
    const std::string pdf = MakePdf(m_pages, m_page, strTitle.empty() ? m_strDocName : strTitle);
    DiscardPages();
    if (pdf.empty()) {
        Report(L"NOVAPDF2_PRINTERROR", kPdfErrorConvert);
        EndJob(false);
        return -1;
    }
    if (!WriteFileSafely(m_strLastFile, pdf)) {
        Report(L"NOVAPDF2_PRINTERROR", kPdfErrorWrite);
        EndJob(false);
        return -1;
    }
    Report(L"NOVAPDF2_FILESAVED", 0);
    EndJob(true);
    return 1;
}

int CPdfPrinter::AbortDoc(CDC* pDC)
{
    if (m_hIdleDC == nullptr)
        m_hIdleDC = ::CreateCompatibleDC(nullptr);
    if (pDC->GetSafeHdc() == m_hPageDC)
        pDC->Detach();
    DiscardPages();
    pDC->Attach(m_hIdleDC);
    m_strLastFile.clear();
    Report(L"NOVAPDF2_PRINTERROR", kPdfErrorCancelled);
    EndJob(false);
    return 1;
}

bool CPdfPrinter::WaitForJob(DWORD nTimeoutMs)
{
    if (::WaitForSingleObject(m_hJobEnded, nTimeoutMs) != WAIT_OBJECT_0)
        return false;
    return m_bWritten && ::GetFileAttributesW(m_strLastFile.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CPdfPrinter::MakePdf(const std::vector<HENHMETAFILE>& pages, const CPdfPageGeometry& page,
                                 const std::wstring& strTitle)
{
    CPdfDocument doc(strTitle);
    for (HENHMETAFILE h : pages)
        if (!AddMetafilePage(doc, h, page))
            return std::string();
    return doc.Finish();
}

bool CPdfPrinter::WriteFileSafely(const std::wstring& strPath, const std::string& bytes)
{
    const std::wstring strTemp = strPath + L".writing";
    HANDLE h = ::CreateFileW(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    size_t nDone = 0;
    bool bOk = true;
    while (bOk && nDone < bytes.size()) {
        DWORD nWritten = 0;
        const DWORD nChunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - nDone, 1 << 20));
        bOk = ::WriteFile(h, bytes.data() + nDone, nChunk, &nWritten, nullptr) && nWritten == nChunk;
        nDone += nWritten;
    }
    bOk = ::FlushFileBuffers(h) && bOk;
    ::CloseHandle(h);
    if (bOk)
        bOk = ::MoveFileExW(strTemp.c_str(), strPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!bOk)
        ::DeleteFileW(strTemp.c_str());
    return bOk;
}
