#include "framework/Print.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/UiAnswerer.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

CPrintAbort g_abort;

// The system calls this while it spools; it keeps the program's windows
// answering and asks the installed check.
BOOL CALLBACK PrintAbortProc(HDC, int)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return g_abort.pCheck == nullptr || !g_abort.pCheck(g_abort.pContext);
}

bool IsAborted()
{
    return g_abort.pCheck != nullptr && g_abort.pCheck(g_abort.pContext);
}

}  // namespace

CPrintAbort AfxSetPrintAbortCheck(CPrintAbort check)
{
    const CPrintAbort previous = g_abort;
    g_abort = check;
    return previous;
}

CPageCaps CPageCaps::FromDC(const CDC* pDC)
{
    CPageCaps caps;
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return caps;
    caps.nHorzSize = pDC->GetDeviceCaps(HORZSIZE);
    caps.nVertSize = pDC->GetDeviceCaps(VERTSIZE);
    caps.nHorzRes = pDC->GetDeviceCaps(HORZRES);
    caps.nVertRes = pDC->GetDeviceCaps(VERTRES);
    caps.nLogPixelsX = pDC->GetDeviceCaps(LOGPIXELSX);
    caps.nLogPixelsY = pDC->GetDeviceCaps(LOGPIXELSY);
    return caps;
}

int CPageCaps::Get(const CDC* pDC, int nIndex) const
{
    if (IsSet()) {
        switch (nIndex) {
        case HORZSIZE: return nHorzSize;
        case VERTSIZE: return nVertSize;
        case HORZRES: return nHorzRes;
        case VERTRES: return nVertRes;
        case LOGPIXELSX: return nLogPixelsX;
        case LOGPIXELSY: return nLogPixelsY;
        default: break;
        }
    }
    return pDC != nullptr && pDC->GetSafeHdc() != nullptr ? pDC->GetDeviceCaps(nIndex) : 0;
}

CPrintDialog::CPrintDialog(CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {}

CPrintDialog::~CPrintDialog()
{
    ReleaseDC();
}

void CPrintDialog::ReleaseDC()
{
    if (m_hDC != nullptr && m_bOwnsDC)
        ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_bOwnsDC = false;
}

HDC CPrintDialog::TakePrinterDC(bool& bOwns)
{
    HDC hDC = m_hDC;
    bOwns = m_bOwnsDC;
    m_hDC = nullptr;
    m_bOwnsDC = false;
    return hDC;
}

void CPrintDialog::UsePageWriterDC(HDC hDC, const CPageCaps& caps)
{
    ReleaseDC();
    m_strOutputFile.Empty();
    m_hDC = hDC;
    m_bOwnsDC = false;
    m_caps = caps;
    if (m_nMaxPage < m_nMinPage)
        m_nMaxPage = m_nMinPage;
    m_nFromPage = m_nMinPage;
    m_nToPage = m_nMaxPage;
}

INT_PTR CPrintDialog::DoModal()
{
    ReleaseDC();
    m_strOutputFile.Empty();
    if (m_nMaxPage < m_nMinPage)
        m_nMaxPage = m_nMinPage;
    m_nFromPage = m_nMinPage;
    m_nToPage = m_nMaxPage;
    CUiAnswerer* pAnswerer = AfxGetUiAnswerer();
    if (pAnswerer == nullptr)
        return RunSystemDialog();

    auto* pPrintAnswerer = dynamic_cast<CUiPrintAnswerer*>(pAnswerer);
    if (pPrintAnswerer == nullptr)
        return IDCANCEL;
    CUiPrintAnswer answer;
    if (pPrintAnswerer->AnswerPrintDialog(CUiPrintDialog{m_nMinPage, m_nMaxPage}, answer) != IDOK)
        return IDCANCEL;
    if (answer.hDC != nullptr) {
        m_hDC = answer.hDC;
        m_bOwnsDC = false;
    } else {
        m_hDC = ::CreateDCW(L"WINSPOOL", answer.strPrinter.GetString(), nullptr, nullptr);
        m_bOwnsDC = true;
        if (m_hDC == nullptr)
            return IDCANCEL;
    }
    m_strDevice = answer.strPrinter;
    m_strOutputFile = answer.strOutputFile;
    m_caps = answer.caps;
    if (answer.nFromPage != 0 || answer.nToPage != 0) {
        // A range outside the document is held to it.
        m_nFromPage = std::max(m_nMinPage, std::min(answer.nFromPage, m_nMaxPage));
        m_nToPage = std::max(m_nFromPage, std::min(answer.nToPage, m_nMaxPage));
    }
    return IDOK;
}

INT_PTR CPrintDialog::RunSystemDialog()
{
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    HWND hOwner = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (hOwner == nullptr && AfxGetMainWnd() != nullptr)
        hOwner = AfxGetMainWnd()->GetSafeHwnd();
    pd.hwndOwner = hOwner;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_ALLPAGES;
    pd.nMinPage = static_cast<WORD>(std::min<UINT>(m_nMinPage, 0xFFFF));
    pd.nMaxPage = static_cast<WORD>(std::min<UINT>(m_nMaxPage, 0xFFFF));
    pd.nFromPage = pd.nMinPage;
    pd.nToPage = pd.nMaxPage;
    pd.nCopies = 1;
    const BOOL bOk = ::PrintDlgW(&pd);
    if (pd.hDevMode != nullptr)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames != nullptr) {
        if (const auto* pNames = static_cast<const DEVNAMES*>(::GlobalLock(pd.hDevNames))) {
            m_strDevice = reinterpret_cast<const wchar_t*>(pNames) + pNames->wDeviceOffset;
            ::GlobalUnlock(pd.hDevNames);
        }
        ::GlobalFree(pd.hDevNames);
    }
    if (!bOk || pd.hDC == nullptr) {
        if (pd.hDC != nullptr)
            ::DeleteDC(pd.hDC);
        return IDCANCEL;
    }
    m_hDC = pd.hDC;
    m_bOwnsDC = true;
    if ((pd.Flags & PD_PAGENUMS) != 0) {
        m_nFromPage = std::max(m_nMinPage, std::min<UINT>(pd.nFromPage, m_nMaxPage));
        m_nToPage = std::max(m_nFromPage, std::min<UINT>(pd.nToPage, m_nMaxPage));
    }
    return IDOK;
}

int CPrintJobSink::StartDoc(CDC* pDC, const DOCINFOW* pInfo)
{
    return ::StartDocW(pDC->GetSafeHdc(), pInfo);
}

int CPrintJobSink::StartPage(CDC* pDC)
{
    return ::StartPage(pDC->GetSafeHdc());
}

int CPrintJobSink::EndPage(CDC* pDC)
{
    return ::EndPage(pDC->GetSafeHdc());
}

int CPrintJobSink::EndDoc(CDC* pDC)
{
    return ::EndDoc(pDC->GetSafeHdc());
}

int CPrintJobSink::AbortDoc(CDC* pDC)
{
    return ::AbortDoc(pDC->GetSafeHdc());
}

CPrintInfo::CPrintInfo() : m_pPD(std::make_unique<CPrintDialog>()) {}

CPrintInfo::~CPrintInfo() = default;

int CPrintInfo::GetPageCaps(const CDC* pDC, int nIndex) const
{
    return m_PageCaps.Get(pDC, nIndex);
}

bool AfxRunPrintPages(CView* pView, CDC* pDC, CPrintInfo* pInfo, const CString& strDocName)
{
    CPrintJobSink standardSink;
    CPrintJobSink* pSink = pInfo->m_pJobSink != nullptr ? pInfo->m_pJobSink : &standardSink;
    if (pInfo->m_pJobSink == nullptr)
        ::SetAbortProc(pDC->GetSafeHdc(), PrintAbortProc);

    DOCINFOW di{};
    di.cbSize = sizeof di;
    di.lpszDocName = strDocName.GetString();
    const CString strOutput = pInfo->m_pPD->GetOutputFile();
    if (!strOutput.IsEmpty())
        di.lpszOutput = strOutput.GetString();
    if (pSink->StartDoc(pDC, &di) <= 0)
        return false;

    const int nHorzRes = pInfo->GetPageCaps(pDC, HORZRES);
    const int nVertRes = pInfo->GetPageCaps(pDC, VERTRES);
    bool bOk = true;
    for (pInfo->m_nCurPage = pInfo->GetFromPage(); pInfo->m_nCurPage <= pInfo->GetToPage(); ++pInfo->m_nCurPage) {
        pInfo->m_rectDraw.SetRect(0, 0, nHorzRes, nVertRes);
        pView->OnPrepareDC(pDC, pInfo);
        if (!pInfo->m_bContinuePrinting)
            break;
        if (IsAborted() || pSink->StartPage(pDC) <= 0) {
            bOk = false;
            break;
        }
        // Each page starts from the DC as the job found it.
        const int nSaved = pDC->SaveDC();
        pView->OnPrint(pDC, pInfo);
        pDC->RestoreDC(nSaved);
        if (pSink->EndPage(pDC) <= 0 || IsAborted()) {
            bOk = false;
            break;
        }
    }
    if (!bOk) {
        pSink->AbortDoc(pDC);
        return false;
    }
    return pSink->EndDoc(pDC) > 0;
}
