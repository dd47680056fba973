// Printing: the print dialog, what a print job tells the view's printing
// overrides, and the seams through which tests print without a printer.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Dc.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CWnd;

// What the page looks like to the drawing code: size in millimetres and in
// device pixels, and pixels per inch. A metafile DC answers GetDeviceCaps
// for its reference device, so a job on such a DC carries the page's own
// figures here.
struct CPageCaps {
    int nHorzSize = 0;     // HORZSIZE, mm
    int nVertSize = 0;     // VERTSIZE, mm
    int nHorzRes = 0;      // HORZRES, pixels
    int nVertRes = 0;      // VERTRES, pixels
    int nLogPixelsX = 0;
    int nLogPixelsY = 0;

    bool IsSet() const { return nHorzSize > 0 && nVertSize > 0 && nHorzRes > 0 && nVertRes > 0; }
    // The caps of the device behind the DC.
    static CPageCaps FromDC(const CDC* pDC);
    // One of HORZSIZE, VERTSIZE, HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY;
    // any other index is asked of the DC.
    int Get(const CDC* pDC, int nIndex) const;
};

// The print dialog as an answerer sees it.
struct CUiPrintDialog {
    UINT nMinPage;
    UINT nMaxPage;
};

// The reply to a print dialog: either a DC the caller made (the job then
// draws on it but does not delete it), or a printer name whose DC the
// dialog creates; with the page range chosen (0, 0: all pages).
struct CUiPrintAnswer {
    HDC hDC = nullptr;
    CString strPrinter;
    CPageCaps caps;        // with hDC: the page it stands for (unset: the DC's own)
    UINT nFromPage = 0;
    UINT nToPage = 0;
    // Print to file: the file the printer's output goes to (empty: the port).
    CString strOutputFile;
};

// Implemented by an installed UI answerer (framework/UiAnswerer.h) that
// answers print dialogs. An installed answerer without it cancels them, so
// an unattended run never waits for a person.
class CUiPrintAnswerer {
public:
    virtual ~CUiPrintAnswerer() = default;
    // IDOK with the answer filled in, or IDCANCEL.
    virtual INT_PTR AnswerPrintDialog(const CUiPrintDialog& dialog, CUiPrintAnswer& answer) = 0;
};

class CPrintDialog {
public:
    explicit CPrintDialog(CWnd* pParentWnd = nullptr);
    ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // Shows the dialog (or asks the answerer); IDOK leaves the chosen
    // printer's DC in the dialog until TakePrinterDC.
    INT_PTR DoModal();

    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;   // not counted
    // The range chosen; All gives the whole minimum to maximum.
    UINT m_nFromPage = 1;
    UINT m_nToPage = 0xFFFF;

    HDC GetPrinterDC() const { return m_hDC; }
    bool OwnsPrinterDC() const { return m_bOwnsDC; }
    const CPageCaps& GetPageCaps() const { return m_caps; }
    // A page writer's job: its DC (not owned), its page, all pages.
    void UsePageWriterDC(HDC hDC, const CPageCaps& caps);
    // Hands the DC to the caller, who then deletes it when it was made here.
    HDC TakePrinterDC(bool& bOwns);
    CString GetDeviceName() const { return m_strDevice; }
    // Where the job's output goes when printing to a file; empty otherwise.
    CString GetOutputFile() const { return m_strOutputFile; }

private:
    INT_PTR RunSystemDialog();
    void ReleaseDC();

    CWnd* m_pParentWnd;
    HDC m_hDC = nullptr;
    bool m_bOwnsDC = false;
    CPageCaps m_caps;
    CString m_strDevice;
    CString m_strOutputFile;
};

// Called at every page boundary and by the system while it spools: returns
// false to end the job (abort). Tests install one through CPrintInfo.
using PrintAbortCheck = bool (*)(void* pContext);

// The document calls of a print job. The standard one calls StartDoc,
// StartPage, EndPage, EndDoc and AbortDoc on the DC; tests may install their
// own to record pages of a DC that is no printer (a metafile DC answers no
// document calls).
class CPrintJobSink {
public:
    virtual ~CPrintJobSink() = default;
    virtual int StartDoc(CDC* pDC, const DOCINFOW* pInfo);
    virtual int StartPage(CDC* pDC);
    virtual int EndPage(CDC* pDC);
    virtual int EndDoc(CDC* pDC);
    virtual int AbortDoc(CDC* pDC);
};

// A printer of the program's own that takes each page as a metafile and
// writes the document itself (the PDF writer). A job on it shows no print
// dialog and prints all pages once; the writer swaps the job's DC for the
// next page's at every EndPage.
class CPrintPageWriter : public CPrintJobSink {
public:
    // The DC the job starts on (the first page's) and the page it stands
    // for; nullptr when the writer cannot take a job.
    virtual HDC BeginJob(CPageCaps& caps) = 0;
};

// What a print or preview job tells the view's printing overrides.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CRect m_rectDraw;
    std::unique_ptr<CPrintDialog> m_pPD;
    // Set when the job's DC stands for a page other than its own device.
    CPageCaps m_PageCaps;
    // Null: the standard document calls.
    CPrintJobSink* m_pJobSink = nullptr;

    void SetMinPage(UINT nMinPage) { m_pPD->m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_pPD->m_nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_nMaxPage; }
    UINT GetFromPage() const { return m_pPD->m_nFromPage; }
    UINT GetToPage() const { return m_pPD->m_nToPage; }
    // The page figures OnPrint draws to: m_PageCaps when set, else the DC's.
    int GetPageCaps(const CDC* pDC, int nIndex) const;
};

// Runs the pages From to To of an accepted print job on pDC: StartDoc, and
// for each page OnPrepareDC, StartPage, OnPrint and EndPage, then EndDoc;
// AbortDoc when a document call fails or the abort check says so. The
// caller's begin and end calls (OnBeginPrinting, OnEndPrinting) stay with
// it. Returns true when the document was ended normally.
class CView;
bool AfxRunPrintPages(CView* pView, CDC* pDC, CPrintInfo* pInfo, const CString& strDocName);

// The abort check of every print job (nullptr: none); returns the previous.
struct CPrintAbort {
    PrintAbortCheck pCheck = nullptr;
    void* pContext = nullptr;
};
CPrintAbort AfxSetPrintAbortCheck(CPrintAbort check);
