#include "app/StandardSelectionDialog.h"

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "res/resource.h"

namespace {

constexpr int kHelpTopic = 210;
constexpr int kIso9972 = 3;

const wchar_t* const kListItems[CTestStandardSelection::kStandardCount] = {L"CGSB", L"EN 13829", L"E779-10",
                                                                          L"ISO 9972-15"};

}  // namespace

IMPLEMENT_DYNAMIC(CTestStandardSelection, CDialog)

BEGIN_MESSAGE_MAP(CTestStandardSelection, CDialog)
    ON_CBN_SELCHANGE(IDC_STANDARD_LIST, OnStandardChanged)
    ON_BN_CLICKED(IDC_STANDARD_HELP, OnHelpButton)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CTestStandardSelection::CTestStandardSelection(CWnd* pParent) : CDialog(IDD, pParent) {}

CTestStandardSelection::CTestStandardSelection(CSimbrel1View* pView) : CDialog(IDD, nullptr), m_pView(pView) {}

CTestStandardSelection::~CTestStandardSelection() = default;

BOOL CTestStandardSelection::Create(CWnd* pParent)
{
    return CDialog::Create(IDD, pParent);
}

const wchar_t* CTestStandardSelection::GetListItem(int nStandard)
{
    return nStandard >= 0 && nStandard < kStandardCount ? kListItems[nStandard] : L"";
}

void CTestStandardSelection::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STANDARD_SET_DEFAULT, m_SetAsDefaultButton);
}

BOOL CTestStandardSelection::OnInitDialog()
{
    m_nFocusButtonId = 0;
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_STANDARD_SELECTION_CAPTION).GetString());
    if (m_pView != nullptr) {
        const struct {
            int nID;
            UINT nText;
        } texts[] = {
            {IDC_STANDARD_LABEL, IDS_TEST_STANDARD},
            {IDC_STANDARD_SET_DEFAULT, IDS_SET_AS_DEFAULT_NEW_TESTS},
            {IDOK, IDS_MSG_OK},
            {IDC_STANDARD_HELP, IDS_MSG_HELP},
        };
        for (const auto& t : texts)
            SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    }
    for (const wchar_t* pszItem : kListItems)
        SendDlgItemMessage(IDC_STANDARD_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    if (m_pView != nullptr && m_pView->m_pSettings != nullptr)
        SendDlgItemMessage(IDC_STANDARD_LIST, CB_SETCURSEL, static_cast<WPARAM>(m_pView->m_pSettings->m_nStandard));
    return TRUE;
}

void CTestStandardSelection::OnStandardChanged()
{
    if (m_pView == nullptr || m_pView->m_pSettings == nullptr)
        return;
    const int nIndex = static_cast<int>(SendDlgItemMessage(IDC_STANDARD_LIST, CB_GETCURSEL));
    m_pView->m_pSettings->m_strDataSamples = nIndex == kIso9972 ? L"200" : L"100";
}

void CTestStandardSelection::OnOK()
{
    if (m_pView == nullptr || m_pView->m_pSettings == nullptr) {
        EndDialog(IDOK);
        return;
    }
    CTestSettingsDialog& settings = *m_pView->m_pSettings;
    int nSelection = static_cast<int>(SendDlgItemMessage(IDC_STANDARD_LIST, CB_GETCURSEL));
    // With nothing selected the record keeps its standard, and its letter
    // must then name that standard, never a code the record does not hold.
    if (nSelection < 0 || nSelection >= kStandardCount)
        nSelection = settings.m_nStandard;
    settings.m_chStandardLetter = CTestSettingsDialog::GetLetterOfStandard(nSelection);
    if (nSelection != settings.m_nStandard) {
        settings.m_nStandard = nSelection;
        if (CCustomPressuresDialog* pPressures = m_pView->m_pCustomPressures) {
            switch (nSelection) {
            case 0:
                pPressures->SetCgsbPressures();
                break;
            case 1:
                pPressures->SetEn13829Pressures();
                break;
            case 2:
                pPressures->SetAstmE779Pressures();
                break;
            default:
                pPressures->SetIso9972Pressures();
                break;
            }
        }
    }
    if (m_SetAsDefaultButton.SendMessage(BM_GETCHECK) == BST_CHECKED)
        settings.WriteDefaultsFile();
    settings.ParseNumericSettings();
    EndDialog(IDOK);
}

void CTestStandardSelection::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

// OK stands in for the hidden button a dialog would otherwise keep as its
// default: there is no other way out of this one.
void CTestStandardSelection::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDOK);
}

// Esc does not leave: the choice must be confirmed.
BOOL CTestStandardSelection::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
