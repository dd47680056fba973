#include "calc/DeviationsFromStandard.h"

#include <algorithm>

#include "app/DrawButton.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kHelpTopic = 205;

}  // namespace

BEGIN_MESSAGE_MAP(CDeviationsFromStandard, CDialog)
    ON_BN_CLICKED(IDC_DEVIATIONS_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_DEVIATIONS_NEXT, OnNext)
    ON_BN_CLICKED(IDC_DEVIATIONS_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_DEVIATIONS_INCLUDE, OnIncludeClicked)
    ON_BN_CLICKED(IDC_DEVIATIONS_NO_ACTION, OnNoAction)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CDeviationsFromStandard::CDeviationsFromStandard(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CDeviationsFromStandard", true);
}

CDeviationsFromStandard::~CDeviationsFromStandard()
{
    TraceLifecycle("CDeviationsFromStandard", false);
}

// The store.

void CDeviationsFromStandard::SetDeviation(int nPosition, const CString& strText, int d, int t)
{
    if (nPosition < 0 || nPosition >= kPositions || d < 0 || d > 1 || t < 0 || t >= kMaxTests)
        return;
    std::unique_ptr<CStringArray>& pList = m_pLists[d][t];
    if (pList == nullptr) {
        pList = std::make_unique<CStringArray>();
        pList->SetSize(kPositions);
    }
    pList->SetAt(nPosition, strText);
}

void CDeviationsFromStandard::ClearAllDeviations()
{
    for (auto& slot : m_pLists)
        for (std::unique_ptr<CStringArray>& pList : slot)
            pList.reset();
    m_pLists[0][0] = std::make_unique<CStringArray>();
    m_pLists[0][0]->SetSize(kPositions);
}

const CStringArray* CDeviationsFromStandard::GetList(int d, int t) const
{
    if (d < 0 || d > 1 || t < 0 || t >= kMaxTests)
        return nullptr;
    return m_pLists[d][t].get();
}

int CDeviationsFromStandard::CountDeviations(int d, int t) const
{
    const CStringArray* pList = GetList(d, t);
    if (pList == nullptr)
        return 0;
    int nCount = 0;
    for (int i = 0; i < pList->GetSize(); ++i)
        nCount += pList->GetAt(i).IsEmpty() ? 0 : 1;
    return nCount;
}

// The completed tests of a slot, never more than there are lists: a count
// read from a damaged file must not lead past them.
int CDeviationsFromStandard::CompletedTests(int d) const
{
    if (m_pView == nullptr || m_pView->m_pTestGraph == nullptr)
        return 0;
    return std::min(m_pView->m_pTestGraph->UsedTests(d), kMaxTests);
}

void CDeviationsFromStandard::RecheckAllTests(int bRecompute)
{
    if (m_pLists[0][0] == nullptr) {
        m_pLists[0][0] = std::make_unique<CStringArray>();
        m_pLists[0][0]->SetSize(kPositions);
    }
    if (m_pView == nullptr || m_pView->m_pTestGraph == nullptr)
        return;
    for (int d = 0; d < 2; ++d) {
        const int nTests = CompletedTests(d);
        for (int t = 0; t < nTests; ++t)
            m_pView->m_pTestGraph->CheckTestAgainstStandard(d, t, bRecompute);
    }
}

CString CDeviationsFromStandard::WriteDeviationKeys(int d, const CString& strPrefix) const
{
    CString strKeys;
    const int nTests = CompletedTests(d);
    for (int t = 0; t < nTests; ++t) {
        const CStringArray* pList = GetList(d, t);
        if (pList == nullptr)
            continue;
        for (int i = 0; i < pList->GetSize(); ++i) {
            if (!pList->GetAt(i).IsEmpty())
                strKeys += strPrefix + CString::FormatText(L"Test%d_Deviation%d: %s\n", t + 1, i + 1,
                                                           pList->GetAt(i).GetString());
        }
    }
    return strKeys;
}

bool CDeviationsFromStandard::IsRecordWidePosition(int nPosition)
{
    switch (nPosition) {
    case 6: case 8: case 9: case 10: case 11: case 12: case 14: case 25: case 26:
        return true;
    default:
        return false;
    }
}

CString CDeviationsFromStandard::GetShownDeviation(int nPosition, int d, int t) const
{
    const CStringArray* pList = IsRecordWidePosition(nPosition) ? GetList(0, 0) : GetList(d, t);
    if (pList == nullptr || nPosition < 0 || nPosition >= pList->GetSize())
        return CString();
    return pList->GetAt(nPosition);
}

CString CDeviationsFromStandard::FormatDeviationLine(const CString& strText)
{
    CString strLine = L"      - " + strText;
    CString strRest;
    while (strLine.GetLength() > kLineLength) {
        const int nBlank = strLine.ReverseFind(L' ');
        if (nBlank <= 0)
            break;
        strRest = strLine.Mid(nBlank) + strRest;
        strLine = strLine.Left(nBlank);
    }
    CString strResult = strLine + L"\r\n";
    if (!strRest.IsEmpty())
        strResult += L"       " + strRest + L"\r\n";
    return strResult;
}

void CDeviationsFromStandard::FillDeviationText()
{
    m_strText.Empty();
    CString strNone;
    strNone.LoadString(IDS_NONE);
    for (int d = 1; d >= 0; --d) {
        CString strDirection;
        strDirection.LoadString(d == 1 ? IDS_DEPRESSURIZATION_TEST : IDS_PRESSURIZATION_TEST);
        const int nTests = CompletedTests(d);
        for (int t = 0; t < nTests; ++t) {
            m_strText += L"\r\n  " + CString::FormatText(L"%s %d:\r\n\r\n", strDirection.GetString(), t + 1);
            bool bAnyText = false;
            if (GetList(d, t) != nullptr || GetList(0, 0) != nullptr) {
                for (int i = 0; i < kPositions; ++i) {
                    const CString strText = GetShownDeviation(i, d, t);
                    if (strText.IsEmpty())
                        continue;
                    m_strText += FormatDeviationLine(strText);
                    bAnyText = true;
                }
            }
            if (!bAnyText)
                m_strText += CString::FormatText(L"    %s\r\n", strNone.GetString());
        }
    }
}

CPoint CDeviationsFromStandard::PrintDeviations(CDC* pDC, CRect rc, int d, int t, CFont* pFont, COLORREF crText)
{
    const int nIndent = rc.Width() / 64;
    CFont* pOldFont = pDC->SelectObject(pFont);
    const COLORREF crOld = pDC->SetTextColor(crText);

    // A dash at the left edge and the text one indent further in, each item
    // below the one before (DrawText's height carries the mapping mode's
    // sign, so this runs down the page in MM_TEXT and MM_TWIPS alike).
    auto drawItem = [&](const CString& strText) {
        CRect rcDash = rc;
        pDC->DrawText(L"-", 1, &rcDash, DT_WORDBREAK | DT_NOPREFIX);
        CRect rcText = rc;
        rcText.left += nIndent;
        rc.top += pDC->DrawText(strText, &rcText, DT_WORDBREAK | DT_NOPREFIX);
    };
    bool bAnyText = false;
    for (int i = 0; i < kPositions; ++i) {
        const CString strText = GetShownDeviation(i, d, t);
        if (strText.IsEmpty())
            continue;
        drawItem(strText);
        bAnyText = true;
    }
    if (!bAnyText) {
        CString strNone;
        strNone.LoadString(IDS_NONE);
        drawItem(strNone);
    }

    pDC->SetTextColor(crOld);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    return CPoint(rc.left, rc.top);
}

// The page.

void CDeviationsFromStandard::ShowPage()
{
    if (GetSafeHwnd() == nullptr && !Create())
        return;
    ShowWindow(SW_SHOW);
}

BOOL CDeviationsFromStandard::Create()
{
    m_bCreated = 1;
    if (!CDialog::Create(IDD)) {
        m_bCreated = 0;
        return FALSE;
    }
    if (CWnd* pControl = GetDlgItem(m_nFocusId))
        pControl->SetFocus();
    SetDlgItemText(IDC_DEVIATIONS_TEXT, m_strText);
    return TRUE;
}

void CDeviationsFromStandard::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusId))
        pControl->SetFocus();
}

void CDeviationsFromStandard::RefreshText()
{
    FillDeviationText();
    if (GetSafeHwnd() != nullptr)
        SetDlgItemText(IDC_DEVIATIONS_TEXT, m_strText);
}

BOOL CDeviationsFromStandard::DestroyWindow()
{
    StoreIncludeCheckBox();
    m_bCreated = 0;
    return CDialog::DestroyWindow();
}

BOOL CDeviationsFromStandard::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDefID(IDC_DEVIATIONS_NO_ACTION);
    const CTestSettingsDialog* pSettings = m_pView != nullptr ? m_pView->m_pSettings : nullptr;
    const bool bIncludeShown = pSettings != nullptr && (pSettings->m_nStandard == 1 || pSettings->m_nStandard == 3);
    CheckDlgButton(IDC_DEVIATIONS_INCLUDE, m_bIncludeInReport ? BST_CHECKED : BST_UNCHECKED);
    if (m_pView == nullptr || !m_pView->m_bPdfRunning) {
        auto loadText = [](UINT nID) {
            CString strText;
            strText.LoadString(nID);
            return strText;
        };
        SetWindowText(loadText(IDS_DEVIATIONS_CAPTION));
        const CString strStandard = pSettings != nullptr ? pSettings->GetStandardName() : CString();
        SetDlgItemText(IDC_DEVIATIONS_TITLE,
                       CString::FormatText(loadText(IDS_DEVIATIONS_FROM_STANDARD).GetString(), strStandard.GetString()));
        SetDlgItemText(IDC_DEVIATIONS_INCLUDE, loadText(IDS_INCLUDE_DEVIATIONS));
        GetDlgItem(IDC_DEVIATIONS_INCLUDE)->ShowWindow(bIncludeShown ? SW_SHOW : SW_HIDE);
        SetDlgItemText(IDC_DEVIATIONS_HELP, loadText(IDS_MSG_HELP));
        SetDlgItemText(IDC_DEVIATIONS_PREVIOUS, loadText(IDS_PREVIOUS));
        const bool bZones = pSettings != nullptr && pSettings->m_bZonalActive;
        SetDlgItemText(IDC_DEVIATIONS_PREVIOUS_LABEL, loadText(bZones ? IDS_TO_ZONE_DATA : IDS_TO_TEST_RESULTS));
        GetDlgItem(IDC_DEVIATIONS_NEXT)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_DEVIATIONS_NEXT_LABEL)->ShowWindow(SW_HIDE);
        // Scales the controls left visible: the check box only where it shows.
        if (m_pView != nullptr)
            m_pView->LayoutPageIfPending(this, 1.0);
    }
    FillDeviationText();
    return TRUE;
}

BOOL CDeviationsFromStandard::PreTranslateMessage(MSG* pMsg)
{
    if (!CDialog::PreTranslateMessage(pMsg))
        return FALSE;
    const HWND hFocus = ::GetFocus();
    if (GetSafeHwnd() != nullptr && hFocus != nullptr && ::IsChild(GetSafeHwnd(), hFocus)) {
        m_nFocusId = ::GetDlgCtrlID(hFocus);
        // Alt combinations belong to the main window's menu.
        if (pMsg->message == WM_SYSKEYDOWN) {
            if (CWnd* pParent = GetParent())
                pParent->SetFocus();
            else if (HWND hOwner = ::GetWindow(GetSafeHwnd(), GW_OWNER))
                ::SetFocus(hOwner);
        }
    }
    return TRUE;
}

void CDeviationsFromStandard::PostNavigation(int nAction)
{
    if (m_pView != nullptr && m_pView->GetSafeHwnd() != nullptr)
        m_pView->PostMessage(CSimbrel1View::kPageNavigateMessage, IDD, nAction);
}

void CDeviationsFromStandard::StoreIncludeCheckBox()
{
    if (GetSafeHwnd() != nullptr && GetDlgItem(IDC_DEVIATIONS_INCLUDE) != nullptr)
        m_bIncludeInReport = IsDlgButtonChecked(IDC_DEVIATIONS_INCLUDE) == BST_CHECKED ? 1 : 0;
}

void CDeviationsFromStandard::OnOK()
{
    PostNavigation(CSimbrel1View::kPageOK);
}

void CDeviationsFromStandard::OnCancel()
{
    PostNavigation(CSimbrel1View::kPageCancel);
}

void CDeviationsFromStandard::OnPrevious()
{
    PostNavigation(CSimbrel1View::kPagePrevious);
}

void CDeviationsFromStandard::OnNext()
{
    PostNavigation(CSimbrel1View::kPageNext);
}

void CDeviationsFromStandard::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

void CDeviationsFromStandard::OnIncludeClicked()
{
    StoreIncludeCheckBox();
}

void CDeviationsFromStandard::OnNoAction() {}

void CDeviationsFromStandard::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_DEVIATIONS_NO_ACTION);
}
