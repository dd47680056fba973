#include "app/MessageDialog.h"

#include <cwctype>

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"

namespace {
constexpr UINT_PTR kAutoCloseTimer = 1;
constexpr int kNoHelpTopic = 255;
constexpr int kIconX = 18;
constexpr int kIconY = 15;

}  // namespace

CMessageKindLayout GetMessageKindLayout(int nKind)
{
    // Start: both buttons, "OK" and "Cancel"; each kind changes what it needs.
    CMessageKindLayout layout{IDS_MSG_OK, IDOK, true, IDS_MSG_CANCEL, IDCANCEL, true, false, 0};
    switch (nKind) {
    case 0:
        layout.bShow2 = false;
        layout.bCentre1 = true;
        break;
    case 1:
        break;
    case 4:
        layout = {IDS_MSG_YES, IDYES, true, IDS_MSG_NO, IDNO, true, false, 0};
        break;
    case 5:
        layout = {IDS_MSG_RETRY, IDRETRY, true, IDS_MSG_CANCEL, IDCANCEL, true, false, 0};
        break;
    case 6:
        layout.bShow1 = false;
        layout.bShow2 = false;
        layout.nAutoCloseMs = 4000;
        break;
    case 7:
        layout = {IDS_MSG_PROCEED_WITH_TEST, IDYES, true, IDS_MSG_CANCEL_TEST, IDNO, true, false, 0};
        break;
    case 8:
        layout = {IDS_MSG_END_TEST, IDOK, true, IDS_MSG_CANCEL, IDCANCEL, false, true, 0};
        break;
    case 9:
        layout = {IDS_MSG_REENTER, IDRETRY, true, IDS_MSG_PROCEED, IDCANCEL, true, false, 0};
        break;
    case 10:
        layout = {IDS_MSG_SELECT_PRIMARY_DEVICE, IDYES, true, IDS_MSG_SET_TO_AUTO_SELECT, IDNO, true, false, 0};
        break;
    case 11:
        layout = {IDS_MSG_SELECT_CONNECTED_DEVICES, IDYES, true, IDS_MSG_SET_TO_OFF_LINE, IDNO, true, false, 0};
        break;
    default:  // 2, 3 and every other kind: "OK" alone, where it stands
        layout.bShow2 = false;
        break;
    }
    return layout;
}

CMessageTextLayout GetMessageTextLayout(int nWidth, int nHeight, int nCapDivisor)
{
    const int m = nWidth / 16;
    const int t = nHeight / 6;
    CMessageTextLayout layout;
    layout.rcText = CRect(m, t, nWidth - m, nHeight - t - t / 2);
    layout.nFirstHeight = nHeight / 20;
    layout.nMaxHeight = nHeight / nCapDivisor;
    return layout;
}

int FitMessageFontHeight(CSize szText, CSize szExtent, int nFirstHeight, int nMaxHeight)
{
    if (szExtent.cx <= 0 || szExtent.cy <= 0)
        return 0;
    const int nByWidth = static_cast<int>(static_cast<double>(szText.cx) / szExtent.cx * nFirstHeight);
    const int nByHeight = static_cast<int>(static_cast<double>(szText.cy) / szExtent.cy * nFirstHeight);
    int h = nByWidth < nByHeight ? nByWidth : nByHeight;
    if (h > nMaxHeight)
        h = nMaxHeight;
    // A box too small for any text still gets a readable smallest font.
    return h > 0 ? h : 1;
}

namespace {
bool CreateMessageFont(CFont& font, int nHeight)
{
    return font.CreateFont(nHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
}

void DrawMessageIcon(CDC& dc, int nIcon)
{
    if (nIcon == IDI_MESSAGE_EXCLAMATION) {
        // A shared system icon: not destroyed.
        dc.DrawIcon(kIconX, kIconY, ::LoadIconW(nullptr, IDI_EXCLAMATION));
        return;
    }
    auto hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIcon), IMAGE_ICON, 0, 0,
                                                 LR_DEFAULTSIZE));
    if (hIcon == nullptr)
        return;
    dc.DrawIcon(kIconX, kIconY, hIcon);
    ::DestroyIcon(hIcon);
}
}  // namespace

void PaintMessage(CDC& dc, const CRect& rcClient, int nIcon, const CString& strText, int nCapDivisor)
{
    DrawMessageIcon(dc, nIcon);

    const CMessageTextLayout layout = GetMessageTextLayout(rcClient.Width(), rcClient.Height(), nCapDivisor);
    CRect rcText = layout.rcText;
    if (layout.nFirstHeight <= 0)
        return;

    // Measured on its own line breaks only, at the first height.
    CFont fontFirst;
    CreateMessageFont(fontFirst, layout.nFirstHeight);
    CFont* pOldFont = dc.SelectObject(&fontFirst);
    CRect rcExtent(0, 0, 0, 0);
    dc.DrawText(strText, &rcExtent, DT_CALCRECT | DT_NOPREFIX);
    dc.SelectObject(pOldFont);

    const int h = FitMessageFontHeight(rcText.Size(), rcExtent.Size(), layout.nFirstHeight, layout.nMaxHeight);
    if (h <= 0)
        return;

    CFont font;
    CreateMessageFont(font, h);
    pOldFont = dc.SelectObject(&font);
    CRect rcMeasure(rcText.left, 0, rcText.right, 0);
    dc.DrawText(strText, &rcMeasure, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    const int nFree = rcText.Height() - rcMeasure.Height();
    rcText.top += nFree / 2;
    rcText.bottom -= nFree / 2;

    const int nOldBkMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(strText, &rcText, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    dc.SetBkMode(nOldBkMode);
    dc.SelectObject(pOldFont);
}

MessageKeyAction GetMessageKeyAction(int nKind, UINT nVirtKey)
{
    if (nVirtKey == VK_ESCAPE)
        return MessageKeyAction::Swallow;
    if (nKind != 4)
        return MessageKeyAction::PassOn;
    // Letter keys have the upper-case letter as their virtual-key code.
    const CString strYes = LoadText(IDS_MSG_YES);
    const CString strNo = LoadText(IDS_MSG_NO);
    if (!strYes.IsEmpty() && nVirtKey == static_cast<UINT>(std::towupper(strYes[0])))
        return MessageKeyAction::Button1;
    if (!strNo.IsEmpty() && nVirtKey == static_cast<UINT>(std::towupper(strNo[0])))
        return MessageKeyAction::Button2;
    return MessageKeyAction::PassOn;
}

bool TranslateMessageKey(CDialog* pDialog, const MSG* pMsg, int nKind, int nResult1, int nResult2)
{
    // Only keys meant for this box: a dialog opened over it (the help panel)
    // passes its keys up here too.
    const HWND hDialog = pDialog->GetSafeHwnd();
    if (pMsg->message != WM_KEYDOWN || hDialog == nullptr ||
        (pMsg->hwnd != hDialog && !::IsChild(hDialog, pMsg->hwnd)))
        return false;
    switch (GetMessageKeyAction(nKind, static_cast<UINT>(pMsg->wParam))) {
    case MessageKeyAction::Swallow:
        return true;
    case MessageKeyAction::Button1:
        pDialog->EndDialog(nResult1);
        return true;
    case MessageKeyAction::Button2:
        pDialog->EndDialog(nResult2);
        return true;
    case MessageKeyAction::PassOn:
        break;
    }
    return false;
}

void SetUpMessageButtons(CDialog* pDialog, const CMessageKindLayout& layout, bool bHideButton1)
{
    CWnd* pButton1 = pDialog->GetDlgItem(IDOK);
    pButton1->SetWindowText(LoadText(layout.nIDText1).GetString());
    pButton1->EnableWindow(layout.bShow1);
    if (layout.bCentre1) {
        // Centred on the window's width, in client coordinates. Placing it
        // shows it, so this comes before it is shown or hidden.
        CRect rcDialog;
        pDialog->GetWindowRect(&rcDialog);
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        pButton1->GetWindowPlacement(&wp);
        const int nHalfButton = (wp.rcNormalPosition.right - wp.rcNormalPosition.left) / 2;
        wp.rcNormalPosition.left = rcDialog.Width() / 2 - nHalfButton;
        wp.rcNormalPosition.right = rcDialog.Width() / 2 + nHalfButton;
        pButton1->SetWindowPlacement(&wp);
    }
    pButton1->ShowWindow(layout.bShow1 && !bHideButton1 ? SW_SHOW : SW_HIDE);

    CWnd* pButton2 = pDialog->GetDlgItem(IDCANCEL);
    pButton2->SetWindowText(LoadText(layout.nIDText2).GetString());
    pButton2->EnableWindow(layout.bShow2);
    pButton2->ShowWindow(layout.bShow2 ? SW_SHOW : SW_HIDE);
}

BEGIN_MESSAGE_MAP(CMessageDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DRAWITEM()
    ON_BN_CLICKED(IDC_MESSAGE_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_MESSAGE_TURN_OFF_WARNING, OnTurnOffWarning)
END_MESSAGE_MAP()

CMessageDialog::CMessageDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CMessageDialog::~CMessageDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CMessageDialog::Create()
{
    if (!CDialog::Create(IDD, nullptr))
        return FALSE;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

void CMessageDialog::SetMessageText(const CString& strText)
{
    m_strText = strText;
    if (m_hWnd != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

CUiMessage CMessageDialog::GetUiMessage() const
{
    return {static_cast<UINT>(m_nIDText), m_strText.GetString(), m_nIcon, m_nKind, m_nHelpTopic};
}

void CMessageDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_MESSAGE_TURN_OFF_WARNING, m_bTurnOffWarning);
}

BOOL CMessageDialog::OnInitDialog()
{
    // Enter does nothing until an owner-drawn button has the focus.
    SetDefID(IDC_MESSAGE_NO_ACTION);
    CDialog::OnInitDialog();

    SetWindowText((CSimbrel1View::GetAppTitle() + L" " + LoadText(IDS_MSG_CAPTION)).GetString());
    SetDlgItemText(IDC_MESSAGE_HELP, LoadText(IDS_MSG_HELP).GetString());
    SetDlgItemText(IDC_MESSAGE_TURN_OFF_WARNING, LoadText(IDS_MSG_TURN_OFF_WARNING).GetString());
    SetDlgItemText(IDCANCEL, LoadText(IDS_MSG_CANCEL).GetString());

    if (m_bShowTurnOff)
        GetDlgItem(IDC_MESSAGE_TURN_OFF_WARNING)->ShowWindow(SW_SHOW);
    const bool bPdfRunning = m_pView != nullptr && m_pView->m_bPdfRunning;
    if (m_nHelpTopic == kNoHelpTopic || bPdfRunning)
        GetDlgItem(IDC_MESSAGE_HELP)->ShowWindow(SW_HIDE);

    const CMessageKindLayout layout = GetMessageKindLayout(m_nKind);
    m_nAutoCloseMs = layout.nAutoCloseMs;
    m_nResult1 = layout.nResult1;
    m_nResult2 = layout.nResult2;
    if (m_nAutoCloseMs > 0) {
        m_nTimerId = static_cast<int>(kAutoCloseTimer);
        SetTimer(kAutoCloseTimer, static_cast<UINT>(m_nAutoCloseMs));
    }

    SetUpMessageButtons(this, layout, bPdfRunning);
    return TRUE;
}

void CMessageDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(m_nResult1);
}

void CMessageDialog::OnCancel()
{
    EndDialog(m_nResult2);
}

BOOL CMessageDialog::PreTranslateMessage(MSG* pMsg)
{
    if (TranslateMessageKey(this, pMsg, m_nKind, m_nResult1, m_nResult2))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CMessageDialog::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    PaintMessage(dc, rcClient, m_nIcon, m_strText, 16);
}

void CMessageDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kAutoCloseTimer) {
        Default();
        return;
    }
    KillTimer(kAutoCloseTimer);
    OnOK();
}

void CMessageDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_MESSAGE_NO_ACTION))
        Default();
}

void CMessageDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(m_nHelpTopic);
}

void CMessageDialog::OnTurnOffWarning()
{
    m_bTurnOffWarning = !m_bTurnOffWarning;
}
