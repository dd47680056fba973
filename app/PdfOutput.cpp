// Reports written to PDF files through the PDF printer driver: the file
// choice, the driver's set-up before the job and its restore afterwards,
// the wait for the file, and the driver's two messages.
#include <versionhelpers.h>

#include "app/Globals.h"
#include "app/MessageDialog.h"
#include "app/Simbrel1View.h"
#include "framework/FileDialog.h"
#include "pdfdriver/PdfDriverOptions.h"
#include "pdfdriver/PdfPrinter.h"
#include "res/resource.h"

namespace {

constexpr const wchar_t* kPdfPrinter = L"Quillmar PDF Writer";
constexpr const wchar_t* kPdfProfile = L"Quillmar PDF Profile";
constexpr const wchar_t* kFileSavedMessage = L"NOVAPDF2_FILESAVED";
constexpr const wchar_t* kPrintErrorMessage = L"NOVAPDF2_PRINTERROR";
// The file dialog's buffers hold no more.
constexpr int kMaxDialogPath = 260;

int ShowDriverMessage(HWND hOwner, const wchar_t* pszText)
{
    if (CUiAnswerer* pAnswerer = AfxGetUiAnswerer())
        return pAnswerer->AnswerMessageBox(pszText, MB_OK);
    return ::MessageBoxW(hOwner, pszText, L"QAR novaPDF", MB_OK);
}

}  // namespace

void CSimbrel1View::PdfReport(int nType)
{
    if (!AskPdfFileName())
        return;
    m_bPdfMode = 1;
    m_bPdfDriverConfigured = 0;
    PrintReport(nType);
    // A job whose driver set-up failed has nothing to wait for or restore.
    if (m_bPdfDriverConfigured)
        FinishPdfOutput();
    m_pPageWriter = nullptr;
    m_bLayoutPending = 0;
    m_bPdfMode = 0;
    HideOpenDialogs(0);
}

int CSimbrel1View::AskPdfFileName()
{
    const int bLive = SetLiveReadingsEnabled(0);
    const CString strFilter = LoadText(IDS_PDF_FILE_FILTER) + L" (*.pdf)|*.pdf||";
    const CString strTitle = LoadText(IDS_PDF_SAVE_TITLE);
    CString strName = m_strTestTitle;
    const int nDot = strName.ReverseFind(L'.');
    if (nDot > 0)
        strName = strName.Left(nDot);
    // A name or folder longer than the dialog takes is not offered.
    if (strName.GetLength() >= kMaxDialogPath)
        strName.Empty();
    CFileDialog dlg(FALSE, L"pdf", strName.IsEmpty() ? nullptr : strName.GetString(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, strFilter.GetString(), this);
    dlg.m_ofn.lpstrTitle = strTitle.GetString();
    if (!m_strPdfFolder.IsEmpty() && m_strPdfFolder.GetLength() < kMaxDialogPath)
        dlg.m_ofn.lpstrInitialDir = m_strPdfFolder.GetString();
    int bChosen = 0;
    if (dlg.DoModal() == IDOK) {
        const CString strPath = dlg.GetPathName();
        const int nSlash = strPath.ReverseFind(L'\\');
        m_strPdfFolder = nSlash >= 0 ? strPath.Left(nSlash) : CString();
        m_strPdfFileName = nSlash >= 0 ? strPath.Mid(nSlash + 1) : strPath;
        bChosen = 1;
    }
    SetLiveReadingsEnabled(bLive);
    return bChosen;
}

BOOL CSimbrel1View::PreparePdfDriver()
{
    IPdfDriverOptions* p = m_pPdfOptions;
    if (p == nullptr)
        return TRUE;
    m_bPdfError = 0;
    if (p->OpenPrinter(kPdfPrinter) != S_OK) {
        CString strText;
        strText.Format(L"The Quillmar PDF Writer Driver\nis not installed or is inoperative.\n\n"
                       L"Please reinstall %s\nto reinstall the writer driver.",
                       GetAppTitle().GetString());
        AfxMessageBox(strText.GetString());
        m_bPdfDriverAvailable = 0;
        return FALSE;
    }
    p->AddProcess(L"SPLWOW64.exe");
    p->RegisterMessage(kFileSavedMessage);
    p->RegisterMessage(kPrintErrorMessage);
    p->BeginProfileChanges();
    p->AddProfile(kPdfProfile, 0);
    p->SetTextOption(L"Document Title", kPdfPrinter, kPdfProfile, 0);
    p->SetTextOption(L"Save Folder", m_strPdfFolder.GetString(), kPdfProfile, 0);
    p->SetTextOption(L"Save File", m_strPdfFileName.GetString(), kPdfProfile, 0);
    p->SetNumberOption(L"Prompt Save Dialog", 0, kPdfProfile, 0);
    p->SetNumberOption(L"Save Local", 1, kPdfProfile, 0);
    p->SetNumberOption(L"Use Default Viewer", 0, kPdfProfile, 0);
    p->SetNumberOption(L"Post Save Open", 0, kPdfProfile, 0);
    p->SetNumberOption(L"File Conflict Strategy", 3, kPdfProfile, 0);
    if (m_pszSavedPdfProfile != nullptr)
        ::CoTaskMemFree(m_pszSavedPdfProfile);
    m_pszSavedPdfProfile = nullptr;
    m_nSavedPdfProfile = 0;
    p->GetActiveProfile(&m_pszSavedPdfProfile, &m_nSavedPdfProfile);
    p->SetActiveProfile(kPdfProfile, 0);
    p->SaveProfileChanges();
    p->ApplyProfileChanges();
    p->RegisterWindow(GetSafeHwnd());
    // The pages go to the driver's printer, which asks no print dialog.
    m_pPageWriter = &CPdfPrinter::Get();
    m_bPdfDriverConfigured = 1;
    return TRUE;
}

void CSimbrel1View::RestorePdfDriver()
{
    IPdfDriverOptions* p = m_pPdfOptions;
    m_pPageWriter = nullptr;
    if (p == nullptr || !m_bPdfDriverConfigured)
        return;
    m_bPdfDriverConfigured = 0;
    p->BeginRestore();
    p->SetActiveProfile(m_pszSavedPdfProfile != nullptr ? m_pszSavedPdfProfile : L"", m_nSavedPdfProfile);
    p->DeleteProfile(kPdfProfile, 0);
    if (m_pszSavedPdfProfile != nullptr)
        ::CoTaskMemFree(m_pszSavedPdfProfile);
    m_pszSavedPdfProfile = nullptr;
    p->EndRestore();
    p->CleanUp(kPdfPrinter, 1);
}

void CSimbrel1View::DispatchPdfDriverMessages()
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == nullptr)
        return;
    for (UINT nMessage : {g_nPdfFileSavedMessage, g_nPdfPrintErrorMessage}) {
        MSG msg;
        while (::PeekMessageW(&msg, hWnd, nMessage, nMessage, PM_REMOVE))
            ::DispatchMessageW(&msg);   // to the handlers of the view's message map
    }
}

void CSimbrel1View::FinishPdfOutput()
{
    // What the driver reported during the job is handled first: an error
    // has already cleaned up and ended the job.
    DispatchPdfDriverMessages();
    if (m_bPdfError || !m_bPdfDriverConfigured)
        return;

    CMessageDialog* pWait = new CMessageDialog;
    pWait->m_pView = this;
    pWait->m_nIDText = IDS_PDF_BEING_GENERATED;
    pWait->m_strText = LoadText(IDS_PDF_BEING_GENERATED);
    pWait->Create();
    long nWritten = 0;
    {
        CWaitCursor wait;
        m_pPdfOptions->WaitForFile(IsWindowsVistaOrGreater() ? 5000 : 15000, &nWritten);
    }
    DispatchPdfDriverMessages();
    const CString strFile = m_strPdfFolder.IsEmpty() ? m_strPdfFileName : m_strPdfFolder + L"\\" + m_strPdfFileName;
    const bool bError = m_bPdfError != 0;
    RestorePdfDriver();
    pWait->DestroyWindow();
    delete pWait;
    if (!bError && (nWritten == 0 || ::GetFileAttributesW(strFile.GetString()) == INVALID_FILE_ATTRIBUTES)) {
        CString strText;
        strText.Format(LoadText(IDS_PDF_NOT_WRITTEN).GetString(), strFile.GetString());
        AfxMessageBox(strText.GetString(), MB_OK | MB_ICONEXCLAMATION);
    }
}

LRESULT CSimbrel1View::OnPdfFileSaved(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CSimbrel1View::OnPdfPrintError(WPARAM wParam, LPARAM)
{
    const wchar_t* pszText = nullptr;
    switch (wParam) {
    case 1: pszText = L"Error saving PDF file - 1"; break;
    case 2: pszText = L"Error saving PDF file"; break;
    case 3:
        pszText = L"There is an error in saving the PDF file.\n\nThe file with this name may be open\n in another "
                  L"program such as the PDF Viewer.";
        break;
    case 4: pszText = L"The PDF Print job was canceled"; break;
    default: break;
    }
    if (pszText != nullptr)
        ShowDriverMessage(GetSafeHwnd(), pszText);
    RestorePdfDriver();
    m_bPdfError = 1;
    m_bPdfMode = 0;
    m_bLayoutPending = 1;
    return 0;
}
