#include "app/SizableMessageDialog.h"

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"

namespace {
constexpr UINT_PTR kAutoCloseTimer = 1;

}  // namespace

CMessageKindLayout GetSizableMessageKindLayout(int nKind)
{
    return GetMessageKindLayout(nKind == 10 || nKind == 11 ? 2 : nKind);
}

IMPLEMENT_DYNAMIC(CSizableMessageDialog, CDialog)

BEGIN_MESSAGE_MAP(CSizableMessageDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CSizableMessageDialog::CSizableMessageDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CSizableMessageDialog::~CSizableMessageDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CUiMessage CSizableMessageDialog::GetUiMessage() const
{
    return {static_cast<UINT>(m_nIDText), m_strText.GetString(), m_nIcon, m_nKind, m_nHelpTopic};
}

BOOL CSizableMessageDialog::OnInitDialog()
{
    // Enter does nothing until an owner-drawn button has the focus.
    SetDefID(IDC_MESSAGE_NO_ACTION);
    CDialog::OnInitDialog();

    SetWindowPos(nullptr, m_nX, m_nY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowText((CSimbrel1View::GetAppTitle() + L" " + LoadText(IDS_MSG_CAPTION)).GetString());
    SetDlgItemText(IDCANCEL, LoadText(IDS_MSG_CANCEL).GetString());

    const CMessageKindLayout layout = GetSizableMessageKindLayout(m_nKind);
    m_nAutoCloseMs = layout.nAutoCloseMs;
    m_nResult1 = layout.nResult1;
    m_nResult2 = layout.nResult2;
    if (m_nAutoCloseMs > 0)
        SetTimer(kAutoCloseTimer, static_cast<UINT>(m_nAutoCloseMs));

    SetUpMessageButtons(this, layout, false);
    return TRUE;
}

void CSizableMessageDialog::OnOK()
{
    EndDialog(m_nResult1);
}

void CSizableMessageDialog::OnCancel()
{
    EndDialog(m_nResult2);
}

BOOL CSizableMessageDialog::PreTranslateMessage(MSG* pMsg)
{
    if (TranslateMessageKey(this, pMsg, m_nKind, m_nResult1, m_nResult2))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CSizableMessageDialog::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    PaintMessage(dc, rcClient, m_nIcon, m_strText, 12);
}

void CSizableMessageDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kAutoCloseTimer) {
        Default();
        return;
    }
    KillTimer(kAutoCloseTimer);
    OnOK();
}

void CSizableMessageDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_MESSAGE_NO_ACTION))
        Default();
}
