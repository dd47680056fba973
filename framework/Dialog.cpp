#include "framework/Dialog.h"

#include "framework/Ddx.h"
#include "framework/UiAnswerer.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {
// The style of a template in either layout (DLGTEMPLATEEX starts with 1, 0xFFFF).
DWORD TemplateStyle(LPCDLGTEMPLATE lpTemplate)
{
    auto* pWords = reinterpret_cast<const WORD*>(lpTemplate);
    if (pWords[0] == 1 && pWords[1] == 0xFFFF)
        return *reinterpret_cast<const DWORD*>(pWords + 6);
    return lpTemplate->style;
}

HWND TopLevelOf(HWND hWnd)
{
    while (hWnd != nullptr && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return hWnd;
}
}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

LPCDLGTEMPLATE CDialog::LoadTemplate(UINT nIDTemplate)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInst, MAKEINTRESOURCEW(nIDTemplate), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (hResource == nullptr)
        return nullptr;
    HGLOBAL hGlobal = ::LoadResource(hInst, hResource);
    return hGlobal != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hGlobal)) : nullptr;
}

HWND CDialog::CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, HWND hWndOwner)
{
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpTemplate, hWndOwner, &DialogProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd == nullptr) {
        if (m_hWnd != nullptr)
            Detach();
        return nullptr;
    }
    m_bOwnsWindow = true;
    return hWnd;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // Every other message reaches the object through its subclassed window
    // procedure; the dialog manager only needs the answer to WM_INITDIALOG:
    // TRUE lets it set the focus to the first control.
    if (message == WM_INITDIALOG) {
        auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
        if (pDialog != nullptr) {
            try {
                return pDialog->OnInitDialog();
            } catch (...) {
                return TRUE;
            }
        }
        return TRUE;
    }
    return FALSE;
}

INT_PTR CDialog::DoModal()
{
    if (CUiAnswerer* pAnswerer = AfxGetUiAnswerer()) {
        INT_PTR nResult = IDCANCEL;
        if (pAnswerer->AnswerDialog(this, m_nIDTemplate, &nResult))
            return nResult;
    }
    LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate != nullptr ? m_lpDialogTemplate : LoadTemplate(m_nIDTemplate);
    if (lpTemplate == nullptr)
        return -1;

    HWND hWndOwner = TopLevelOf(m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : AfxGetMainWndHandle());
    // An owner that is disabled has a modal dialog running: this one belongs
    // to that dialog and must disable it in turn, or it stays open to input.
    if (hWndOwner != nullptr && !::IsWindowEnabled(hWndOwner)) {
        HWND hPopup = ::GetLastActivePopup(hWndOwner);
        if (hPopup != nullptr && hPopup != hWndOwner && ::IsWindowEnabled(hPopup))
            hWndOwner = hPopup;
    }
    bool bOwnerDisabled = false;
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        bOwnerDisabled = true;
    }

    m_bModal = true;
    m_nModalResult = -1;
    bool bEnded = false;
    HWND hWnd = CreateFromTemplate(lpTemplate, hWndOwner);
    if (hWnd != nullptr) {
        // EndDialog may already have been called by OnInitDialog.
        if (m_bModal) {
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
            ::UpdateWindow(hWnd);
        }
        while (m_bModal && ::IsWindow(hWnd)) {
            MSG msg;
            BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
            if (bGot == 0) {
                // Keep the quit request for the outer loop.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (bGot == -1)
                break;
            if (!CWnd::WalkPreTranslateTree(AfxGetMainWndHandle(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        bEnded = true;
    }
    m_bModal = false;

    // Give the activation back to the owner before the dialog goes, so
    // another application does not come to the front.
    if (bOwnerDisabled)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWnd != nullptr && ::IsWindow(hWnd)) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (hWndOwner != nullptr && ::GetActiveWindow() == hWnd)
            ::SetActiveWindow(hWndOwner);
        if (FromHandlePermanent(hWnd) == this)
            DestroyWindow();
    }
    (void)bEnded;
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(nIDTemplate);
    if (lpTemplate == nullptr)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    HWND hWndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    if (hWndParent == nullptr && !(TemplateStyle(lpDialogTemplate) & WS_CHILD))
        hWndParent = AfxGetMainWndHandle();
    m_bModal = false;
    return CreateFromTemplate(lpDialogTemplate, hWndParent) != nullptr;
}

void CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bModal = false;
        // Wake the modal loop if it waits for a message.
        if (m_hWnd != nullptr)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd != nullptr) {
        m_nModalResult = nResult;
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchangeFailure&) {
        OnDataExchangeFailed();
        return FALSE;
    }
    return TRUE;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != nullptr)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

CWnd* CDialog::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return CWnd::FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl != nullptr ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput || m_hWnd == nullptr)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}
