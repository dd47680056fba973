// The window of the results page: opening and closing it, the computation
// each opening runs, the reference pressure list, the buttons and keys. What
// the page shows is painted by calc/ResultsPageDisplay.cpp.
#include "calc/TestResultsDialog.h"

#include <iterator>

#include "app/DrawButton.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kHelpTopic = 7;
constexpr int kAstmE779 = 2;

// The pressures the list offers, in their order.
const wchar_t* const kPressureChoices[] = {L"75", L"50", L"10", L"4"};

}  // namespace

int CTestResultsDialog::s_nFocusButtonId = IDC_RESULTS_NO_ACTION;

BEGIN_MESSAGE_MAP(CTestResultsDialog, CPageDialog)
    ON_BN_CLICKED(IDC_RESULTS_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_RESULTS_NEXT, OnNext)
    ON_BN_CLICKED(IDC_RESULTS_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_RESULTS_NO_ACTION, OnNoAction)
    ON_CBN_SELCHANGE(IDC_REFERENCE_PRESSURE, OnSelchangeReferencePressure)
    ON_WM_DRAWITEM()
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CTestResultsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CTestResultsDialog::OnInitDialog()
{
    SetDefID(IDC_RESULTS_NO_ACTION);

    // Both slots when both hold tests (and, for ASTM E779, their averages,
    // which read both fits); otherwise the one with tests, or the current
    // direction when neither has any. The texts are made after all of it.
    const int nWithData = m_pTestGraph != nullptr ? m_pTestGraph->GetDirectionsWithData() : -1;
    const int nShown = nWithData == 0 || nWithData == 1 ? nWithData : g_nCurrentDirection;
    if (nWithData == 2) {
        ComputeResults(0);
        ComputeResults(1);
        if (StandardCode() == kAstmE779)
            AverageDirections();
    } else {
        ComputeResults(nShown);
    }
    FormatResults();

    // Not the page's own: the layout waits until SetPageTexts has set the texts.
    CDialog::OnInitDialog();
    SetPageTexts();

    if (GetDlgItem(IDC_REFERENCE_PRESSURE) != nullptr) {
        SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_RESETCONTENT);
        const CString strPa = LoadText(IDS_UNIT_PA);
        for (const wchar_t* pszPressure : kPressureChoices) {
            const CString strItem = CString(pszPressure) + L" " + strPa;
            SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
        }
        // The list's prefix search from the second entry on, wrapping to the
        // top. A text that only begins like a choice ("7") is a pressure the
        // results do not use (they take 50 Pa for it), so nothing is
        // selected for it, as for any other text the list does not offer.
        int nItem = CB_ERR;
        if (!m_strRefPressure.IsEmpty())
            nItem = static_cast<int>(SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_FINDSTRING, 0,
                                                        reinterpret_cast<LPARAM>(m_strRefPressure.GetString())));
        if (nItem < 0 || nItem >= static_cast<int>(std::size(kPressureChoices)) ||
            m_strRefPressure != kPressureChoices[nItem])
            nItem = -1;
        SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_SETCURSEL, static_cast<WPARAM>(nItem));
        SelectReferencePressure(nShown);
        UpdateData(FALSE);
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CTestResultsDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!CDialog::PreTranslateMessage(pMsg))
        return FALSE;
    // The dialog manager has handled the key or click; the focus it left
    // comes back at the next opening.
    if (m_bCreated && GetSafeHwnd() != nullptr) {
        const HWND hFocus = ::GetFocus();
        if (hFocus != nullptr && ::IsChild(m_hWnd, hFocus))
            m_nFocusCtrlId = ::GetDlgCtrlID(hFocus);
        // An Alt combination belongs to the main window's menu.
        if (pMsg->message == WM_SYSKEYDOWN) {
            if (const HWND hParent = ::GetParent(m_hWnd))
                ::SetFocus(hParent);
        }
    }
    return TRUE;
}

// The page's OK button is hidden: IDOK comes from the program, Esc sends
// IDCANCEL. Either way the view decides where to go.
void CTestResultsDialog::OnOK()
{
    if (m_bCreated)
        UpdateData(TRUE);
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, CSimbrel1View::kPageOK);
}

void CTestResultsDialog::OnCancel()
{
    if (m_bCreated)
        UpdateData(TRUE);
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, CSimbrel1View::kPageCancel);
}

void CTestResultsDialog::OnPrevious()
{
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, CSimbrel1View::kPagePrevious);
}

void CTestResultsDialog::OnNext()
{
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, CSimbrel1View::kPageNext);
}

void CTestResultsDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

void CTestResultsDialog::OnPaint()
{
    CPaintDC dc(this);
    PaintResults();
}

void CTestResultsDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, s_nFocusButtonId, IDC_RESULTS_NO_ACTION);
}

void CTestResultsDialog::SetDropDownHeight(int nID)
{
    CWnd* pCombo = GetDlgItem(nID);
    if (pCombo == nullptr)
        return;
    // The return value says nothing: Windows gives non-zero, Wine CB_OKAY (0).
    CRect rc;
    SendDlgItemMessage(nID, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rc));
    if (rc.Width() <= 0)
        return;
    ScreenToClient(&rc);
    rc.bottom += 20 * rc.Height();
    pCombo->MoveWindow(rc, TRUE);
}
