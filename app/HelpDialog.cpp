// The help panel and the reading of the help text file.
#include "app/HelpDialog.h"

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"

namespace {
// A help file is a few kilobytes; anything this large is not one.
constexpr ULONGLONG kMaxHelpFileBytes = 16u * 1024u * 1024u;

bool IsWide(const std::string& bytes, size_t nAt, wchar_t ch)
{
    return bytes.size() >= nAt + 2 && static_cast<unsigned char>(bytes[nAt]) == ch && bytes[nAt + 1] == '\0';
}
}  // namespace

CString DecodeHelpFile(const std::string& bytes)
{
    size_t nStart = 0;
    bool bWide = IsWide(bytes, 0, L'@') && IsWide(bytes, 2, L'@');
    // A file saved as "Unicode" by an editor starts with the byte-order
    // mark; taking it as 8-bit text would find no topic at all.
    if (!bWide && bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bWide = true;
        nStart = 2;
    }

    std::wstring text;
    if (bWide) {
        text.reserve((bytes.size() - nStart + 1) / 2);
        for (size_t i = nStart; i < bytes.size(); i += 2) {
            const unsigned lo = static_cast<unsigned char>(bytes[i]);
            const unsigned hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
            const wchar_t ch = static_cast<wchar_t>(lo | (hi << 8));
            if (ch == L'\0')
                break;
            text += ch;
        }
    } else {
        text.reserve(bytes.size());
        for (const char c : bytes) {
            if (c == '\0')
                break;
            text += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
    }
    return CString(std::move(text));
}

bool FindHelpTopic(const CString& strHelp, int nTopic, CString& strTitle, CString& strText)
{
    CString strMarker;
    strMarker.Format(L"@@%d", nTopic);
    const int nMarker = strHelp.Find(strMarker.GetString());
    if (nMarker < 0)
        return false;

    const int nLength = strHelp.GetLength();
    const int nTitle = nMarker + strMarker.GetLength();
    int nBreak = nTitle;
    while (nBreak < nLength && strHelp[nBreak] != L'\r' && strHelp[nBreak] != L'\n')
        ++nBreak;
    strTitle = strHelp.Mid(nTitle, nBreak - nTitle);

    // The line ends with CR LF; a file with bare LF or CR line ends loses
    // no character of its text.
    int nText = nBreak;
    if (nText < nLength && strHelp[nText] == L'\r')
        ++nText;
    if (nText < nLength && strHelp[nText] == L'\n')
        ++nText;
    const int nNext = strHelp.Find(L"@@", nText);
    strText = nNext < 0 ? CString() : strHelp.Mid(nText, nNext - nText);
    return true;
}

bool LoadHelpTopic(const CString& strPath, int nTopic, CString& strTitle, CString& strText)
{
    CFile file;
    if (!file.Open(strPath.GetString(), CFile::modeRead | CFile::shareDenyWrite))
        return false;
    const ULONGLONG nSize = file.GetLength();
    if (nSize > kMaxHelpFileBytes)
        return false;
    std::string bytes(static_cast<size_t>(nSize), '\0');
    const UINT nRead = bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    bytes.resize(nRead);
    return FindHelpTopic(DecodeHelpFile(bytes), nTopic, strTitle, strText);
}

BEGIN_MESSAGE_MAP(CHelpDialog, CDialog)
    ON_WM_DRAWITEM()
    ON_EN_CHANGE(IDC_HELP_TEXT, OnTextChanged)
END_MESSAGE_MAP()

CHelpDialog::CHelpDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

double CHelpDialog::GetPanelScale(int w, int h, int vw, int vh)
{
    if (w <= 0 || h <= 0 || vw <= 0 || vh <= 0)
        return 1.0;
    const double dAspect = static_cast<double>(h) / w;
    const double dViewAspect = static_cast<double>(vh) / vw;
    double dScale = static_cast<double>(vw) / w;
    if (dAspect > dViewAspect)
        dScale = dViewAspect / dAspect * dScale;
    return dScale;
}

void CHelpDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_HELP_TEXT, m_strText);
}

void CHelpDialog::FitToView()
{
    CRect rcPanel;
    GetWindowRect(&rcPanel);
    m_nLeft = rcPanel.left;
    m_nTop = rcPanel.top;
    CRect rcView;
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->GetWindowRect(&rcView);
    m_dScale = GetPanelScale(rcPanel.Width(), rcPanel.Height(), rcView.Width(), rcView.Height());
    SetWindowPos(nullptr, m_nLeft, m_nTop, static_cast<int>(rcPanel.Width() * m_dScale),
                 static_cast<int>(rcPanel.Height() * m_dScale), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHelpDialog::ScaleControl(int nID)
{
    CWnd* pControl = GetDlgItem(nID);
    if (pControl == nullptr)
        return;
    CRect rc;
    pControl->GetWindowRect(&rc);
    ScreenToClient(&rc);
    pControl->MoveWindow(static_cast<int>(rc.left * m_dScale), static_cast<int>(rc.top * m_dScale),
                         static_cast<int>(rc.right * m_dScale) - static_cast<int>(rc.left * m_dScale),
                         static_cast<int>(rc.bottom * m_dScale) - static_cast<int>(rc.top * m_dScale));
}

BOOL CHelpDialog::OnInitDialog()
{
    FitToView();
    m_strSavedText = m_strText;
    CDialog::OnInitDialog();

    ScaleControl(IDC_HELP_TEXT);
    ScaleControl(IDOK);
    if (m_pView != nullptr) {
        if (m_pView->m_pPageFont == nullptr)
            m_pView->CreatePageFont(this, 1.0);
        if (m_pView->m_pPageFont != nullptr) {
            for (const int nID : {IDC_HELP_TEXT, IDOK}) {
                if (CWnd* pControl = GetDlgItem(nID))
                    pControl->SetFont(m_pView->m_pPageFont);
            }
        }
    }

    CString strCaption = m_strTitle;
    if (strCaption.IsEmpty())
        strCaption.LoadString(IDS_MSG_HELP);
    SetWindowText(strCaption.GetString());
    CString strExit;
    strExit.LoadString(IDS_HELP_EXIT);
    SetDlgItemText(IDOK, strExit.GetString());
    SetDlgItemText(IDC_HELP_TEXT, m_strText.GetString());
    return TRUE;
}

BOOL CHelpDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CHelpDialog::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType != ODT_BUTTON) {
        Default();
        return;
    }
    CDrawButton painter;
    painter.Draw(GetDlgItem(nIDCtl), lpDrawItemStruct);
}

void CHelpDialog::OnTextChanged()
{
    CString strShown;
    GetDlgItemText(IDC_HELP_TEXT, strShown);
    if (strShown != m_strSavedText)
        SetDlgItemText(IDC_HELP_TEXT, m_strSavedText.GetString());
}
