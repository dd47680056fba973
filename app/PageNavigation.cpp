// Page navigation and the layout of the pages over the view.
#include "app/Simbrel1View.h"

#include <algorithm>

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "testrun/TestGraph1.h"

namespace {

// The page ids are the dialog ids of the page records.
constexpr UINT kBuildingPage = CBuildingInfoDialog::IDD;
constexpr UINT kCommentsPage = CCommentsDialog::IDD;
constexpr UINT kTestScreen = CTestGraph1::IDD;
constexpr UINT kResultsPage = CTestResultsDialog::IDD;
constexpr UINT kSettingsPage = CTestSettingsDialog::IDD;
constexpr UINT kZoneDataPage = CZoneDataDialog::IDD;
constexpr UINT kEn13829Page = CEN13829DataEntryDialog::IDD;
constexpr UINT kDeviationsPage = CDeviationsFromStandard::IDD;
constexpr UINT kIso9972Page = CISO9972DataEntryDialog::IDD;

constexpr int kEn13829 = 1;
constexpr int kIso9972 = 3;

// A page record seen through what navigation needs of it.
struct CPageRecord {
    CDialog* pDialog;
    int* pOpen;     // the record's window flag
    int* pHidden;   // its mark while the pages are hidden
};

CPageRecord GetPageRecord(const CSimbrel1View& view, UINT nPage)
{
    switch (nPage) {
    case kBuildingPage:
        return {view.m_pBuildingInfo, &view.m_pBuildingInfo->m_bCreated, &view.m_pBuildingInfo->m_bHiddenForPrint};
    case kCommentsPage:
        return {view.m_pComments, &view.m_pComments->m_bCreated, &view.m_pComments->m_bHiddenForPrint};
    case kTestScreen:
        return {view.m_pTestGraph, &view.m_pTestGraph->m_bShown, &view.m_pTestGraph->m_bHiddenForPrint};
    case kResultsPage:
        return {view.m_pResults, &view.m_pResults->m_bCreated, &view.m_pResults->m_bHiddenForPrint};
    case kSettingsPage:
        return {view.m_pSettings, &view.m_pSettings->m_bCreated, &view.m_pSettings->m_bHiddenForPrint};
    case kZoneDataPage:
        return {view.m_pZoneData, &view.m_pZoneData->m_bCreated, &view.m_pZoneData->m_bHiddenForPrint};
    case kEn13829Page:
        return {view.m_pEn13829, &view.m_pEn13829->m_bCreated, &view.m_pEn13829->m_bHiddenForPrint};
    case kDeviationsPage:
        return {view.m_pDeviations, &view.m_pDeviations->m_bCreated, &view.m_pDeviations->m_bHiddenForPrint};
    case kIso9972Page:
        return {view.m_pIso9972, &view.m_pIso9972->m_bCreated, &view.m_pIso9972->m_bHiddenForPrint};
    default:
        return {nullptr, nullptr, nullptr};
    }
}

bool IsPageOpen(const CSimbrel1View& view, UINT nPage)
{
    const CPageRecord page = GetPageRecord(view, nPage);
    return page.pOpen != nullptr && *page.pOpen != 0;
}

// The record's own DestroyWindow, which also clears its window flag.
void ClosePage(const CSimbrel1View& view, UINT nPage)
{
    if (CDialog* pDialog = GetPageRecord(view, nPage).pDialog)
        pDialog->DestroyWindow();
}

// The record's open operation; false when the page did not open.
bool OpenPage(const CSimbrel1View& view, UINT nPage)
{
    switch (nPage) {
    case kBuildingPage:
        view.m_pBuildingInfo->ShowPage();
        return view.m_pBuildingInfo->m_bCreated != 0;
    case kCommentsPage:
        view.m_pComments->ShowPage();
        return view.m_pComments->m_bCreated != 0;
    case kTestScreen:
        return view.m_pTestGraph->ShowTestGraph() != 0;
    case kResultsPage:
        return view.m_pResults->CreateModeless() != FALSE;
    case kSettingsPage:
        view.m_pSettings->ShowPage();
        return view.m_pSettings->m_bCreated != 0;
    case kZoneDataPage:
        return view.m_pZoneData->CreateModeless() != FALSE;
    case kEn13829Page:
        view.m_pEn13829->ShowPage();
        return view.m_pEn13829->m_bCreated != 0;
    case kDeviationsPage:
        view.m_pDeviations->ShowPage();
        return view.m_pDeviations->m_bCreated != 0;
    case kIso9972Page:
        view.m_pIso9972->ShowPage();
        return view.m_pIso9972->m_bCreated != 0;
    default:
        return false;
    }
}

// The data page of the standard (EN 13829 or ISO 9972), or 0 for the
// standards without one.
UINT GetStandardDataPage(int nStandard)
{
    if (nStandard == kEn13829)
        return kEn13829Page;
    if (nStandard == kIso9972)
        return kIso9972Page;
    return 0;
}

// The page a page's action leads to; 0 for none. nFallBack receives the page
// to open instead when the test screen does not open (0: none).
UINT GetNextPage(UINT nPage, int nAction, int nStandard, bool bZonesActive, UINT& nFallBack)
{
    using V = CSimbrel1View;
    nFallBack = 0;
    const UINT nStandardPage = GetStandardDataPage(nStandard);
    switch (nPage) {
    case kBuildingPage:
        if (nAction == V::kPageNext)
            return kCommentsPage;
        return nAction == V::kPageBuildingToTestScreen ? kTestScreen : 0;
    case kCommentsPage:
        if (nAction == V::kPageNext)
            return kSettingsPage;
        return nAction == V::kPagePrevious ? kBuildingPage : 0;
    case kSettingsPage:
        if (nAction == V::kPageNext) {
            if (nStandardPage != 0)
                return nStandardPage;
            nFallBack = kSettingsPage;
            return kTestScreen;
        }
        return nAction == V::kPagePrevious ? kCommentsPage : 0;
    case kEn13829Page:
    case kIso9972Page:
        if (nAction == V::kPageNext) {
            nFallBack = nStandard == kIso9972 ? kIso9972Page : kEn13829Page;
            return kTestScreen;
        }
        return nAction == V::kPagePrevious ? kSettingsPage : 0;
    case kTestScreen:
        if (nAction == V::kPagePrevious)
            return nStandardPage != 0 ? nStandardPage : kSettingsPage;
        if (nAction == V::kPageTestScreenToBuilding)
            return kBuildingPage;
        return kResultsPage;
    case kResultsPage:
        if (nAction == V::kPageNext)
            return bZonesActive ? kZoneDataPage : kDeviationsPage;
        return kTestScreen;
    case kZoneDataPage:
        if (nAction == V::kPageNext)
            return kDeviationsPage;
        return nAction == V::kPagePrevious ? kResultsPage : 0;
    case kDeviationsPage:
        if (nAction == V::kPagePrevious && bZonesActive)
            return kZoneDataPage;
        return kResultsPage;
    default:
        return 0;
    }
}

}  // namespace

LRESULT CSimbrel1View::OnPageNavigate(WPARAM nPageId, LPARAM nAction)
{
    const UINT nPage = static_cast<UINT>(nPageId);
    const int nPageAction = static_cast<int>(nAction);
    m_bLayoutPending = 1;
    if (GetPageRecord(*this, nPage).pDialog != nullptr) {
        // The sender is the one closed, so a page is never left open beside
        // the next one.
        ClosePage(*this, nPage);
        UINT nFallBack = 0;
        const UINT nNext =
            GetNextPage(nPage, nPageAction, m_pSettings->m_nStandard, m_pSettings->m_bZonalActive != 0, nFallBack);
        if (nNext != 0 && !OpenPage(*this, nNext) && nFallBack != 0)
            OpenPage(*this, nFallBack);
    }
    m_bPagesHidden = 0;
    return 0;
}

void CSimbrel1View::SetPageInsets(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nPageInsetLeft = nLeft;
    m_nPageInsetTop = nTop;
    m_nPageInsetRight = nRight;
    m_nPageInsetBottom = nBottom;
}

void CSimbrel1View::ClearPageInsets()
{
    m_nPageInsetLeft = 0;
    m_nPageInsetTop = 0;
    m_nPageInsetRight = 0;
    m_nPageInsetBottom = 0;
}

void CSimbrel1View::RefreshOpenPages()
{
    if (m_pBuildingInfo->m_bCreated)
        m_pBuildingInfo->RefreshPage();
    if (m_pEn13829->m_bCreated)
        m_pEn13829->RefreshPage();
    if (m_pIso9972->m_bCreated)
        m_pIso9972->RefreshPage();
    if (m_pZoneData->m_bCreated)
        m_pZoneData->RefreshPage();
    if (m_pResults->m_bCreated)
        m_pResults->RefreshPage();
    if (m_pComments->m_bCreated)
        m_pComments->RefreshPage();
    if (m_pSettings->m_bCreated)
        m_pSettings->RefreshPage();
    if (m_pTestGraph->m_bShown)
        m_pTestGraph->RefreshControls();
}

void CSimbrel1View::CommitOpenPages()
{
    static constexpr UINT kOrder[] = {kZoneDataPage, kBuildingPage, kEn13829Page, kIso9972Page,
                                      kResultsPage,  kCommentsPage, kSettingsPage, kTestScreen};
    for (const UINT nPage : kOrder) {
        if (!IsPageOpen(*this, nPage))
            continue;
        switch (nPage) {
        case kBuildingPage:
            m_pBuildingInfo->UpdateData(TRUE);
            m_pBuildingInfo->UpdateDimensionValues(0);
            break;
        case kEn13829Page:
        case kIso9972Page:
        case kSettingsPage:
            GetPageRecord(*this, nPage).pDialog->UpdateData(TRUE);
            break;
        case kCommentsPage:
            m_pComments->UpdateCommentText();
            break;
        default:
            break;   // the zone data, results and test screen hold no edits
        }
        if (m_bRecreatePages) {
            ClosePage(*this, nPage);
            OpenPage(*this, nPage);
        }
    }
    if (m_pTestGraph->UsedTests(g_nCurrentDirection) > 0)
        UpdateResults(g_nCurrentDirection);
}

void CSimbrel1View::CloseAllPages()
{
    static constexpr UINT kOrder[] = {kBuildingPage, kResultsPage,    kSettingsPage, kCommentsPage, kTestScreen,
                                      kZoneDataPage, kDeviationsPage, kEn13829Page,  kIso9972Page};
    for (const UINT nPage : kOrder)
        if (IsPageOpen(*this, nPage))
            ClosePage(*this, nPage);
}

void CSimbrel1View::HideOpenDialogs(int bHide)
{
    if (m_bPreviewStarting)
        return;
    static constexpr UINT kOrder[] = {kBuildingPage, kEn13829Page,  kIso9972Page, kResultsPage, kDeviationsPage,
                                      kCommentsPage, kSettingsPage, kTestScreen,  kZoneDataPage};
    int bAnyHidden = 0;
    for (const UINT nPage : kOrder) {
        const CPageRecord page = GetPageRecord(*this, nPage);
        if (*page.pHidden) {
            if (!bHide) {
                // Marks left from before a navigation (which forgets hidden
                // pages) open nothing.
                if (m_bPagesHidden) {
                    m_bLayoutPending = 1;
                    OpenPage(*this, nPage);
                }
                *page.pHidden = 0;
            } else {
                bAnyHidden = 1;
            }
        } else if (*page.pOpen) {
            page.pDialog->UpdateData(TRUE);
            ClosePage(*this, nPage);
            if (bHide) {
                *page.pHidden = 1;
                bAnyHidden = 1;
            } else {
                m_bLayoutPending = 1;
                OpenPage(*this, nPage);
            }
        }
    }
    m_bPagesHidden = bAnyHidden;
    // A preview started just now keeps the whole client area; the pages are
    // laid out again when it ends.
    if (!m_bPreviewJustStarted)
        m_bLayoutPending = 1;
    m_bPreviewJustStarted = 0;
}

void CSimbrel1View::PlacePageDialog(CWnd* pPage)
{
    if (pPage == nullptr || pPage->GetSafeHwnd() == nullptr)
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!pPage->GetWindowPlacement(&wp))
        return;
    if (m_bMainIconic) {
        wp.showCmd = SW_MINIMIZE;
        pPage->SetWindowPlacement(&wp);
        return;
    }

    RECT& rc = wp.rcNormalPosition;
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    // A page without extent has no scale to take.
    if (w <= 0 || h <= 0)
        return;
    const double sx = static_cast<double>(m_ClientSize.cx) / w;
    const double sy = static_cast<double>(m_ClientSize.cy) / h;
    m_dPageScale = std::min(sx, sy);
    const int nWidth = static_cast<int>(w * m_dPageScale);
    const int nHeight = static_cast<int>(h * m_dPageScale);
    rc.left = m_FrameOrigin.x + 3;
    rc.top = m_FrameOrigin.y + 5;
    rc.right = rc.left + nWidth - 8;
    rc.bottom = rc.top + nHeight;
    wp.showCmd = SW_RESTORE;
    if (pPage == static_cast<CWnd*>(m_pTestGraph))
        m_TestGraphPlacement = wp;
    pPage->SetWindowPlacement(&wp);
}

void CSimbrel1View::ScalePageDialog(CWnd* pWnd)
{
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!pWnd->GetWindowPlacement(&wp))
        return;
    RECT& rc = wp.rcNormalPosition;
    rc.left = static_cast<int>((rc.left + m_nPageInsetLeft) * m_dPageScale);
    rc.top = static_cast<int>((rc.top + m_nPageInsetTop) * m_dPageScale);
    rc.right = static_cast<int>((rc.right + m_nPageInsetRight) * m_dPageScale);
    rc.bottom = static_cast<int>((rc.bottom + m_nPageInsetBottom) * m_dPageScale);
    pWnd->SetWindowPlacement(&wp);
}

void CSimbrel1View::LayoutPageIfPending(CWnd* pPage, double dFactor)
{
    if (!m_bLayoutPending || pPage == nullptr || pPage->GetSafeHwnd() == nullptr)
        return;
    PlacePageDialog(pPage);
    CreatePageFont(pPage, dFactor);
    // Placing a control also shows it, so the hidden ones are left alone.
    for (HWND hChild = ::GetWindow(pPage->m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(hChild))
            continue;
        CWnd* pControl = CWnd::FromHandle(hChild);
        ClearPageInsets();
        ScalePageDialog(pControl);
        ClearPageInsets();
        pControl->SetFont(m_pPageFont);
    }
    m_bLayoutPending = 0;
}

void CSimbrel1View::OnFrameMoved(int x, int y)
{
    m_FrameOrigin = CPoint(x, y);
    if (m_bPreviewStarting)
        return;
    CWnd* pForeground = CWnd::GetForegroundWindow();
    if (pForeground == nullptr || pForeground->GetSafeHwnd() == nullptr)
        return;
    m_bMainIconic = pForeground->IsIconic() ? 1 : 0;
    m_bLayoutPending = 1;
    if (!m_bPreviewShowing)
        HideOpenDialogs(m_bMainIconic);
}

void CSimbrel1View::OnFrameSized(UINT nType, int cx, int cy)
{
    // The frame has done its own size handling and laid out this view.
    m_ClientSize = CSize(cx, cy);
    CWnd* pForeground = CWnd::GetForegroundWindow();
    if (pForeground == nullptr || pForeground->GetSafeHwnd() == nullptr)
        return;
    m_bMainIconic = nType == SIZE_MINIMIZED ? 1 : 0;
    if (!m_bPreviewShowing)
        HideOpenDialogs(m_bMainIconic);
}

void CSimbrel1View::UpdateResults(int nDirection)
{
    m_pResults->ComputeResults(nDirection);
    m_pResults->FormatResults();
}

double CSimbrel1View::GetBuildingVolume() const
{
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    return m_pBuildingInfo->m_dVolume[d];
}

int CSimbrel1View::IsNumberChar(wchar_t ch, int bLineBreaks)
{
    if (ch == L'+' || ch == L',' || ch == L'-' || ch == L'.' || (ch >= L'0' && ch <= L'9'))
        return 1;
    if (ch == L'\r' || ch == L'\n')
        return bLineBreaks ? 1 : 0;
    return 0;
}

int CSimbrel1View::GetOtherDirection(int nDirection)
{
    return nDirection == 0 ? 1 : 0;
}
