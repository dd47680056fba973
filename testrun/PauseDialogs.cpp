#include "testrun/PauseDialogs.h"

#include <algorithm>

#include "app/DrawButton.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"

namespace {

constexpr int kAdjustHelpTopic = 137;
constexpr int kExclamationIcon = 175;
constexpr int kNoEntryIcon = 176;
constexpr int kKindOk = 0;
constexpr int kNoHelpTopic = 255;
constexpr int kHighPressureHelpTopic = 132;

CRect ItemRectInClient(const CWnd* pDialog, int nID)
{
    RECT rc{};
    const HWND hItem = ::GetDlgItem(pDialog->GetSafeHwnd(), nID);
    if (hItem == nullptr)
        return CRect();
    ::GetWindowRect(hItem, &rc);
    ::MapWindowPoints(nullptr, pDialog->GetSafeHwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return CRect(rc);
}

}  // namespace

BEGIN_MESSAGE_MAP(CTestPauseDialog, CDialog)
    ON_BN_CLICKED(IDC_PAUSE_ADJUST, OnAdjust)
    ON_BN_CLICKED(IDC_PAUSE_PROCEED, OnProceed)
    ON_BN_CLICKED(IDC_PAUSE_STOP, OnStop)
    ON_BN_CLICKED(IDC_PAUSE_HELP, OnHelpButton)
    ON_WM_PAINT()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CTestPauseDialog::CTestPauseDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

void CTestPauseDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PAUSE_ADJUST, m_AdjustButton);
    DDX_Control(pDX, IDC_PAUSE_PROCEED, m_ProceedButton);
    DDX_Control(pDX, IDC_PAUSE_STOP, m_StopButton);
}

BOOL CTestPauseDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    CDialog::OnInitDialog();
    SetDefID(IDC_PAUSE_NO_ACTION);
    SetWindowText(LoadText(IDS_TEST_PAUSE_CAPTION).GetString());
    SetDlgItemText(IDC_PAUSE_ADJUST, LoadText(IDS_ADJUST_AUTO_SETTINGS).GetString());
    SetDlgItemText(IDC_PAUSE_PROCEED, LoadText(m_bTest ? IDS_MSG_PROCEED_WITH_TEST : IDS_PROCEED_WITH_CRUISE).GetString());
    SetDlgItemText(IDC_PAUSE_STOP, LoadText(m_bTest ? IDS_STOP_TEST_CAPTION : IDS_STOP_CRUISE).GetString());
    SetDlgItemText(IDC_PAUSE_HELP, LoadText(IDS_MSG_HELP).GetString());
    return TRUE;
}

// Esc must not leave a paused test by accident: only the buttons and the
// close box do.
BOOL CTestPauseDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CTestPauseDialog::OnAdjust()
{
    CAdjustSettingsDialog dialog(nullptr);
    dialog.DoModal();
}

void CTestPauseDialog::OnProceed()
{
    EndDialog(kResultProceed);
}

void CTestPauseDialog::OnStop()
{
    EndDialog(kResultStop);
}

void CTestPauseDialog::OnHelpButton()
{
    if (g_pView != nullptr)
        g_pView->ShowContextHelp(m_nHelpTopic);
}

void CTestPauseDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_PAUSE_NO_ACTION);
}

int CTestPauseDialog::ChooseMessageHeight(int nWidth, int nHeight, CSize measured)
{
    const int nCap = nHeight / 7;
    // Nothing measured (an empty text) gives no ratio: the cap alone holds.
    if (measured.cx <= 0 || measured.cy <= 0)
        return nCap;
    const double dTrial = nHeight / 20.0;
    const int nByWidth = static_cast<int>(nWidth / static_cast<double>(measured.cx) * dTrial);
    const int nByHeight = static_cast<int>(nHeight / static_cast<double>(measured.cy) * dTrial);
    return std::min({nByWidth, nByHeight, nCap});
}

CRect CTestPauseDialog::GetMessageArea() const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    const CRect rcHelp = ItemRectInClient(this, IDC_PAUSE_HELP);
    const CRect rcAdjust = ItemRectInClient(this, IDC_PAUSE_ADJUST);
    return CRect(rcClient.left, rcHelp.bottom, rcClient.right, rcAdjust.top);
}

int CTestPauseDialog::DrawMessage(CDC* pDC, const CRect& rcArea)
{
    const int nHeight = rcArea.Height();
    if (nHeight <= 0 || rcArea.Width() <= 0)
        return 0;
    const UINT nFormat = DT_CENTER | DT_NOPREFIX | DT_NOCLIP;
    CFont trialFont;
    trialFont.CreateFont(nHeight / 20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
    CFont* pOld = pDC->SelectObject(&trialFont);
    CRect rcMeasure(0, 0, rcArea.Width(), 0);
    pDC->DrawText(m_strMessage, &rcMeasure, nFormat | DT_CALCRECT);
    int nFinal = ChooseMessageHeight(rcArea.Width(), nHeight, CSize(rcMeasure.Width(), rcMeasure.Height()));

    // Glyph widths do not scale exactly with the height: the height scaled
    // from the trial can come out a little too wide, so it is lowered until
    // the text fits.
    CFont font;
    CRect rcFinal;
    for (;;) {
        pDC->SelectObject(pOld);
        font.DeleteObject();
        font.CreateFont(nFinal, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
        pDC->SelectObject(&font);
        rcFinal = CRect(0, 0, rcArea.Width(), 0);
        pDC->DrawText(m_strMessage, &rcFinal, nFormat | DT_CALCRECT);
        if (nFinal <= 1 || (rcFinal.Width() <= rcArea.Width() && rcFinal.Height() <= nHeight))
            break;
        --nFinal;
    }
    CRect rcText = rcArea;
    const int nShrink = (rcArea.Height() - rcFinal.Height()) / 2;
    rcText.top += nShrink;
    rcText.bottom -= nShrink;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strMessage, &rcText, nFormat);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
    m_nLastMessageHeight = nFinal;
    return nFinal;
}

void CTestPauseDialog::OnPaint()
{
    CPaintDC dc(this);
    DrawMessage(&dc, GetMessageArea());
}

BEGIN_MESSAGE_MAP(CAdjustSettingsDialog, CDialog)
    ON_EN_CHANGE(IDC_ADJUST_FAN_ADJUST, OnEditChange)
    ON_EN_CHANGE(IDC_ADJUST_TOLERANCE, OnEditChange)
    ON_EN_CHANGE(IDC_ADJUST_LIMIT, OnEditChange)
    ON_EN_CHANGE(IDC_ADJUST_FAN_START, OnEditChange)
    ON_BN_CLICKED(IDC_ADJUST_HELP, OnHelpButton)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CAdjustSettingsDialog::CAdjustSettingsDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CSimbrel1View* CAdjustSettingsDialog::View() const
{
    return g_pView;
}

CTestSettingsDialog* CAdjustSettingsDialog::Settings() const
{
    return g_pView != nullptr ? g_pView->m_pSettings : nullptr;
}

void CAdjustSettingsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADJUST_FAN_ADJUST, m_FanAdjustEdit);
    DDX_Control(pDX, IDC_ADJUST_TOLERANCE, m_ToleranceEdit);
    DDX_Control(pDX, IDC_ADJUST_LIMIT, m_LimitEdit);
    DDX_Control(pDX, IDC_ADJUST_FAN_START, m_FanStartEdit);
}

BOOL CAdjustSettingsDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    CDialog::OnInitDialog();
    SetDefID(IDC_ADJUST_NO_ACTION);
    SetWindowText(LoadText(IDS_ADJUST_SETTINGS_CAPTION).GetString());
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_ADJUST_FAN_ADJUST_LABEL, IDS_FAN_ADJUST_RATE},
        {IDC_ADJUST_TOLERANCE_LABEL, IDS_TARGET_TOLERANCE_PA},
        {IDC_ADJUST_LIMIT_LABEL, IDS_HIGH_PRESSURE_LIMIT_PA},
        {IDC_ADJUST_FAN_START_LABEL, IDS_FAN_START_PERCENT},
        {IDOK, IDS_MSG_OK},
        {IDCANCEL, IDS_MSG_CANCEL},
        {IDC_ADJUST_HELP, IDS_MSG_HELP},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    if (const CTestSettingsDialog* pSettings = Settings()) {
        m_FanAdjustEdit.SetWindowText(pSettings->m_strFanAdjust.GetString());
        m_ToleranceEdit.SetWindowText(pSettings->m_strTargetTolerance.GetString());
        m_LimitEdit.SetWindowText(pSettings->m_strHighPressureLimit.GetString());
        m_FanStartEdit.SetWindowText(pSettings->m_strFanStartPercent.GetString());
    }
    return TRUE;
}

// The limit and the fan start pass the same checks as on the Test Settings
// page, with its messages: a running test must not take a value that page
// refuses. A refused value keeps the dialog open and writes nothing.
void CAdjustSettingsDialog::OnOK()
{
    CTestSettingsDialog* pSettings = Settings();
    CSimbrel1View* pView = View();
    if (pSettings == nullptr || pView == nullptr) {
        EndDialog(IDOK);
        return;
    }
    const CString strFanAdjust = m_FanAdjustEdit.GetWindowText();
    const CString strTolerance = m_ToleranceEdit.GetWindowText();
    const CString strLimit = m_LimitEdit.GetWindowText();
    const CString strFanStart = m_FanStartEdit.GetWindowText();
    const double dLimit = CSimbrel1View::TextToDouble(strLimit);
    const double dFanStart = CSimbrel1View::TextToDouble(strFanStart);

    const CTestSettingsDialog::LimitCheck limitCheck = CTestSettingsDialog::CheckHighPressureLimit(dLimit);
    if (limitCheck == CTestSettingsDialog::LimitCheck::Refused) {
        pView->ShowMessage(IDS_MSG_HIGH_PRESSURE_RANGE, CString(), kExclamationIcon, kKindOk, kNoHelpTopic);
        m_LimitEdit.SetFocus();
        return;
    }
    if (CTestSettingsDialog::CheckFanStartPercent(dFanStart) == CTestSettingsDialog::LimitCheck::Refused) {
        pView->ShowMessage(IDS_MSG_FAN_START_RANGE, CString(), kExclamationIcon, kKindOk, kNoHelpTopic);
        m_FanStartEdit.SetFocus();
        return;
    }
    if (limitCheck == CTestSettingsDialog::LimitCheck::Warned)
        pView->ShowMessage(IDS_MSG_HIGH_PRESSURE_WARNING, CString(), kNoEntryIcon, kKindOk, kHighPressureHelpTopic);

    pSettings->m_strFanAdjust = strFanAdjust;
    pSettings->m_dFanAdjust = CSimbrel1View::TextToDouble(strFanAdjust);
    pSettings->m_strTargetTolerance = strTolerance;
    pSettings->m_dTargetTolerance = CSimbrel1View::TextToDouble(strTolerance);
    pSettings->m_strHighPressureLimit = strLimit;
    pSettings->m_dHighPressureLimit = dLimit;
    pSettings->m_strFanStartPercent = strFanStart;
    pSettings->m_dFanStartPercent = dFanStart;
    EndDialog(IDOK);
}

void CAdjustSettingsDialog::OnEditChange()
{
    if (CSimbrel1View* pView = View())
        pView->FilterNumericEdit(this, 1, 1, 0);
}

void CAdjustSettingsDialog::OnHelpButton()
{
    if (CSimbrel1View* pView = View())
        pView->ShowContextHelp(kAdjustHelpTopic);
}

void CAdjustSettingsDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_ADJUST_NO_ACTION);
}
