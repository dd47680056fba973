// Moving between the pages and laying them out over the main window: the
// program is started in this process, pages ask the view to move on with the
// message their buttons post, and the tests look at which page is open,
// where it lies and how large its controls and font are.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1App.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr UINT kBuilding = 133;
constexpr UINT kComments = 134;
constexpr UINT kTestScreen = 135;
constexpr UINT kResults = 146;
constexpr UINT kSettings = 148;
constexpr UINT kZoneData = 182;
constexpr UINT kEn13829 = 210;
constexpr UINT kDeviations = 240;
constexpr UINT kIso9972 = 283;
constexpr UINT kAllPages[] = {kBuilding, kComments, kTestScreen, kResults, kSettings,
                              kZoneData, kEn13829,  kDeviations, kIso9972};

constexpr int kCgsb = 0;
constexpr int kEn = 1;
constexpr int kAstm = 2;
constexpr int kIso = 3;

// A child window's rectangle in its parent's client coordinates.
CRect ChildRect(HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::string RectText(const RECT& rc)
{
    char text[80];
    std::snprintf(text, sizeof text, "(%ld, %ld, %ld, %ld)", rc.left, rc.top, rc.right, rc.bottom);
    return text;
}

std::string PageName(UINT nPage)
{
    return nPage == 0 ? std::string("none") : std::to_string(nPage);
}

}  // namespace

class PageNavigationTest : public ProgramTest {
protected:
    void SetUp() override
    {
        // Every test starts with the main window maximised, as on a first start.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmar\\QARSEAL Vudadar 5.1\\Window size");
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }
    void TearDown() override
    {
        CloseProgram();
        g_pView = nullptr;
    }

    CDialog* Record(UINT nPage) const
    {
        switch (nPage) {
        case kBuilding: return m_pView->m_pBuildingInfo;
        case kComments: return m_pView->m_pComments;
        case kTestScreen: return m_pView->m_pTestGraph;
        case kResults: return m_pView->m_pResults;
        case kSettings: return m_pView->m_pSettings;
        case kZoneData: return m_pView->m_pZoneData;
        case kEn13829: return m_pView->m_pEn13829;
        case kDeviations: return m_pView->m_pDeviations;
        case kIso9972: return m_pView->m_pIso9972;
        default: return nullptr;
        }
    }
    int WindowFlag(UINT nPage) const
    {
        switch (nPage) {
        case kBuilding: return m_pView->m_pBuildingInfo->m_bCreated;
        case kComments: return m_pView->m_pComments->m_bCreated;
        case kTestScreen: return m_pView->m_pTestGraph->m_bShown;
        case kResults: return m_pView->m_pResults->m_bCreated;
        case kSettings: return m_pView->m_pSettings->m_bCreated;
        case kZoneData: return m_pView->m_pZoneData->m_bCreated;
        case kEn13829: return m_pView->m_pEn13829->m_bCreated;
        case kDeviations: return m_pView->m_pDeviations->m_bCreated;
        case kIso9972: return m_pView->m_pIso9972->m_bCreated;
        default: return 0;
        }
    }
    // The pages whose window exists; a flag that disagrees with the window
    // fails the test.
    std::vector<UINT> OpenPages() const
    {
        std::vector<UINT> pages;
        for (const UINT nPage : kAllPages) {
            const bool bWindow = ::IsWindow(Record(nPage)->GetSafeHwnd()) != FALSE;
            EXPECT_EQ(bWindow, WindowFlag(nPage) != 0) << "page " << nPage;
            if (bWindow)
                pages.push_back(nPage);
        }
        return pages;
    }
    // The one open page, or 0 when none is.
    UINT OpenPage() const
    {
        const std::vector<UINT> pages = OpenPages();
        EXPECT_LE(pages.size(), 1u) << "more than one page open";
        return pages.empty() ? 0 : pages.front();
    }
    // Opens a page as the Goto commands do (every other page closed).
    void GotoPage(UINT nPage)
    {
        m_pView->CloseAllPages();
        m_pView->m_bLayoutPending = 1;
        switch (nPage) {
        case kBuilding: m_pView->m_pBuildingInfo->ShowPage(); break;
        case kComments: m_pView->m_pComments->ShowPage(); break;
        case kTestScreen: m_pView->m_pTestGraph->ShowTestGraph(); break;
        case kResults: m_pView->m_pResults->CreateModeless(); break;
        case kSettings: m_pView->m_pSettings->ShowPage(); break;
        case kZoneData: m_pView->m_pZoneData->CreateModeless(); break;
        case kEn13829: m_pView->m_pEn13829->ShowPage(); break;
        case kDeviations: m_pView->m_pDeviations->ShowPage(); break;
        case kIso9972: m_pView->m_pIso9972->ShowPage(); break;
        default: break;
        }
        PumpPending();
        ASSERT_EQ(nPage, OpenPage());
    }
    void SetStandard(int nStandard, bool bZones)
    {
        m_pView->m_pSettings->m_nStandard = nStandard;
        m_pView->m_pSettings->m_bZonalActive = bZones ? 1 : 0;
    }
    // The frame's client area in screen coordinates.
    CRect ClientAreaOnScreen() const
    {
        CRect rc;
        ::GetClientRect(m_pFrame->m_hWnd, &rc);
        POINT origin{0, 0};
        ::ClientToScreen(m_pFrame->m_hWnd, &origin);
        rc.OffsetRect(origin.x, origin.y);
        return rc;
    }
};

TEST_F(PageNavigationTest, NextFollowsTheUsualOrderForEachStandardAndZoneChoice)
{
    struct Case {
        int nStandard;
        bool bZones;
        std::vector<UINT> path;   // from the building page on, Next each time
    };
    const Case cases[] = {
        {kCgsb, false, {kBuilding, kComments, kSettings, kTestScreen, kResults, kDeviations, kResults}},
        {kEn, true, {kBuilding, kComments, kSettings, kEn13829, kTestScreen, kResults, kZoneData, kDeviations, kResults}},
        {kAstm, true, {kBuilding, kComments, kSettings, kTestScreen, kResults, kZoneData, kDeviations, kResults}},
        {kIso, false, {kBuilding, kComments, kSettings, kIso9972, kTestScreen, kResults, kDeviations, kResults}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("standard " + std::to_string(c.nStandard) + (c.bZones ? " with zones" : ""));
        SetStandard(c.nStandard, c.bZones);
        GotoPage(c.path.front());
        for (size_t i = 1; i < c.path.size(); ++i) {
            Post(c.path[i - 1], CSimbrel1View::kPageNext);
            ASSERT_EQ(PageName(c.path[i]), PageName(OpenPage())) << "step " << i;
            EXPECT_EQ(0, m_pView->m_bPagesHidden);
        }
    }
}

TEST_F(PageNavigationTest, EveryOtherActionFollowsTheTransitionTable)
{
    struct Case {
        UINT nSender;
        int nAction;
        int nStandard;
        bool bZones;
        UINT nExpected;   // 0: no page open afterwards
    };
    using V = CSimbrel1View;
    const Case cases[] = {
        // Previous.
        {kBuilding, V::kPagePrevious, kCgsb, false, 0},
        {kComments, V::kPagePrevious, kCgsb, false, kBuilding},
        {kSettings, V::kPagePrevious, kIso, false, kComments},
        {kEn13829, V::kPagePrevious, kEn, false, kSettings},
        {kIso9972, V::kPagePrevious, kIso, false, kSettings},
        {kTestScreen, V::kPagePrevious, kEn, false, kEn13829},
        {kTestScreen, V::kPagePrevious, kIso, false, kIso9972},
        {kTestScreen, V::kPagePrevious, kAstm, false, kSettings},
        {kResults, V::kPagePrevious, kCgsb, true, kTestScreen},
        {kZoneData, V::kPagePrevious, kCgsb, true, kResults},
        {kDeviations, V::kPagePrevious, kCgsb, true, kZoneData},
        {kDeviations, V::kPagePrevious, kCgsb, false, kResults},
        // Between the building page and the test screen.
        {kBuilding, V::kPageBuildingToTestScreen, kCgsb, false, kTestScreen},
        {kTestScreen, V::kPageTestScreenToBuilding, kCgsb, false, kBuilding},
        {kTestScreen, V::kPageBuildingToTestScreen, kCgsb, false, kResults},
        {kComments, V::kPageBuildingToTestScreen, kCgsb, false, 0},
        // OK, Cancel and unknown actions.
        {kTestScreen, V::kPageOK, kCgsb, false, kResults},
        {kTestScreen, V::kPageCancel, kCgsb, false, kResults},
        {kResults, V::kPageOK, kCgsb, false, kTestScreen},
        {kResults, V::kPageTestScreenToBuilding, kCgsb, false, kTestScreen},
        {kDeviations, V::kPageCancel, kCgsb, true, kResults},
        {kBuilding, V::kPageOK, kCgsb, false, 0},
        {kSettings, V::kPageCancel, kCgsb, false, 0},
        {kZoneData, 99, kCgsb, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.nSender) + " action " + std::to_string(c.nAction) + " standard " +
                     std::to_string(c.nStandard) + (c.bZones ? " with zones" : ""));
        SetStandard(c.nStandard, c.bZones);
        GotoPage(c.nSender);
        Post(c.nSender, c.nAction);
        EXPECT_EQ(PageName(c.nExpected), PageName(OpenPage()));
    }
}

TEST_F(PageNavigationTest, AMessageFromAnUnknownPageChangesNothing)
{
    GotoPage(kComments);
    m_pView->m_bPagesHidden = 1;
    Post(999, CSimbrel1View::kPageNext);
    EXPECT_EQ(PageName(kComments), PageName(OpenPage()));
    // Navigation forgets hidden pages even when it moves nowhere.
    EXPECT_EQ(0, m_pView->m_bPagesHidden);
}

TEST_F(PageNavigationTest, WhenTheTestScreenCannotOpenThePageBeforeItOpensAgain)
{
    struct Case {
        UINT nSender;
        int nStandard;
    };
    const Case cases[] = {{kSettings, kCgsb}, {kSettings, kAstm}, {kEn13829, kEn}, {kIso9972, kIso}};
    m_pView->m_pTestGraph->m_bOpenFails = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.nSender) + " standard " + std::to_string(c.nStandard));
        SetStandard(c.nStandard, false);
        GotoPage(c.nSender);
        const HWND hBefore = Record(c.nSender)->GetSafeHwnd();
        Post(c.nSender, CSimbrel1View::kPageNext);
        EXPECT_EQ(PageName(c.nSender), PageName(OpenPage()));
        // A new window: the page was closed and opened again.
        EXPECT_FALSE(::IsWindow(hBefore));
    }
    m_pView->m_pTestGraph->m_bOpenFails = 0;
}

TEST_F(PageNavigationTest, ThePageOpenedFillsTheClientAreaAtTheLargestScaleThatKeepsItsShape)
{
    // The template's own size and a button's own rectangle (one without
    // insets of its own): a page opened without a pending layout keeps them.
    m_pView->CloseAllPages();
    m_pView->m_bLayoutPending = 0;
    m_pView->m_pComments->ShowPage();
    ASSERT_TRUE(m_pView->m_pComments->m_bCreated);
    CRect rcTemplate;
    ::GetWindowRect(m_pView->m_pComments->m_hWnd, &rcTemplate);
    const CRect rcFieldTemplate = ItemRect(m_pView->m_pComments->m_hWnd, IDC_COMMENTS_CLEAR);
    m_pView->CloseAllPages();

    // Client areas of every shape: the maximised window, a wide one, a tall one.
    const CRect frames[] = {CRect(), CRect(40, 30, 1000, 400), CRect(100, 20, 500, 740)};
    for (const CRect& rcFrame : frames) {
        SCOPED_TRACE("frame " + std::to_string(rcFrame.Width()) + " x " + std::to_string(rcFrame.Height()));
        if (!rcFrame.IsRectEmpty()) {
            m_pFrame->ShowWindow(SW_RESTORE);
            m_pFrame->MoveWindow(rcFrame);
            PumpPending();
        }
        const CRect rcClient = ClientAreaOnScreen();
        ASSERT_EQ(rcClient.Width(), m_pView->m_ClientSize.cx);
        ASSERT_EQ(rcClient.Height(), m_pView->m_ClientSize.cy);

        GotoPage(kBuilding);
        Post(kBuilding, CSimbrel1View::kPageNext);
        ASSERT_EQ(PageName(kComments), PageName(OpenPage()));
        const HWND hPage = m_pView->m_pComments->m_hWnd;

        const double dScale = std::min(static_cast<double>(rcClient.Width()) / rcTemplate.Width(),
                                       static_cast<double>(rcClient.Height()) / rcTemplate.Height());
        EXPECT_DOUBLE_EQ(dScale, m_pView->m_dPageScale);
        CRect rcPage;
        ::GetWindowRect(hPage, &rcPage);
        EXPECT_EQ(rcClient.left + 3, rcPage.left);
        EXPECT_EQ(rcClient.top + 5, rcPage.top);
        EXPECT_EQ(static_cast<int>(rcTemplate.Width() * dScale) - 8, rcPage.Width());
        EXPECT_EQ(static_cast<int>(rcTemplate.Height() * dScale), rcPage.Height());
        // As large as the client area allows on one side (the page keeps
        // its offset of 3, 5 from the client area's corner).
        EXPECT_LE(rcPage.Height(), rcClient.Height());
        EXPECT_LE(rcPage.Width() + 8, rcClient.Width());
        EXPECT_TRUE(rcPage.Height() >= rcClient.Height() - 1 || rcPage.Width() + 8 >= rcClient.Width() - 1);

        const CRect rcField = ItemRect(hPage, IDC_COMMENTS_CLEAR);
        EXPECT_EQ(static_cast<int>(rcFieldTemplate.left * dScale), rcField.left);
        EXPECT_EQ(static_cast<int>(rcFieldTemplate.top * dScale), rcField.top);
        EXPECT_EQ(static_cast<int>(rcFieldTemplate.right * dScale), rcField.right);
        EXPECT_EQ(static_cast<int>(rcFieldTemplate.bottom * dScale), rcField.bottom);
        // The hidden buttons stay hidden.
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hPage, IDOK)));

        // The button shows the page font, 11 points at the scale of the view
        // (the null driver's screen has 96 dpi).
        const HFONT hFont =
            reinterpret_cast<HFONT>(::SendDlgItemMessageW(hPage, IDC_COMMENTS_CLEAR, WM_GETFONT, 0, 0));
        ASSERT_NE(nullptr, hFont);
        ASSERT_NE(nullptr, m_pView->m_pPageFont);
        EXPECT_EQ(m_pView->m_pPageFont->GetSafeHandle(), hFont);
        LOGFONTW lf{};
        ASSERT_NE(0, ::GetObjectW(hFont, sizeof lf, &lf));
        const double dFontScale = std::min(rcClient.Width() / 590.0, rcClient.Height() / 380.0);
        EXPECT_EQ(-static_cast<int>(11.0 * dFontScale), lf.lfHeight);
        EXPECT_EQ(0, m_pView->m_bLayoutPending);
    }
}

TEST_F(PageNavigationTest, APageOpenedWithoutALayoutRequestKeepsItsPlacement)
{
    GotoPage(kSettings);
    CRect rcLaidOut;
    ::GetWindowRect(m_pView->m_pSettings->m_hWnd, &rcLaidOut);
    const double dScale = m_pView->m_dPageScale;
    m_pView->m_pSettings->DestroyWindow();
    m_pView->m_bLayoutPending = 0;
    m_pView->m_pComments->ShowPage();
    CRect rcComments;
    ::GetWindowRect(m_pView->m_pComments->m_hWnd, &rcComments);
    EXPECT_NE(RectText(rcLaidOut), RectText(rcComments));
    EXPECT_EQ(dScale, m_pView->m_dPageScale);
}

TEST_F(PageNavigationTest, TheTestScreensPlacementIsKept)
{
    GotoPage(kTestScreen);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ASSERT_TRUE(m_pView->m_pTestGraph->GetWindowPlacement(&wp));
    EXPECT_EQ(RectText(wp.rcNormalPosition), RectText(m_pView->m_TestGraphPlacement.rcNormalPosition));
    EXPECT_EQ(static_cast<UINT>(SW_RESTORE), m_pView->m_TestGraphPlacement.showCmd);
}

TEST_F(PageNavigationTest, PlacingAndScalingWindowsByTheArithmetic)
{
    const HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    // A page of 590 x 380 over a client area of 1180 x 760: scale 2.
    const HWND hPage = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 50, 60, 590, 380, nullptr, nullptr, hInstance,
                                         nullptr);
    const HWND hChild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 20, 100, 20, hPage, nullptr,
                                          hInstance, nullptr);
    ASSERT_NE(nullptr, hChild);
    CWnd page;
    CWnd child;
    ASSERT_TRUE(page.Attach(hPage));
    ASSERT_TRUE(child.Attach(hChild));

    m_pView->m_bMainIconic = 0;
    m_pView->m_ClientSize = CSize(1180, 760);
    m_pView->m_FrameOrigin = CPoint(10, 20);
    m_pView->PlacePageDialog(&page);
    EXPECT_DOUBLE_EQ(2.0, m_pView->m_dPageScale);
    CRect rc;
    ::GetWindowRect(hPage, &rc);
    EXPECT_EQ(RectText(CRect(13, 25, 13 + 1180 - 8, 25 + 760)), RectText(rc));
    // Its font: 11 x 2 at the null driver's 96 dpi.
    m_pView->CreatePageFont(&page, 1.0);
    ASSERT_NE(nullptr, m_pView->m_pPageFont);
    LOGFONTW lf{};
    ASSERT_NE(0, m_pView->m_pPageFont->GetLogFont(&lf));
    EXPECT_EQ(-22, lf.lfHeight);

    // Insets grow the rectangle before it is scaled, side by side; the
    // result is truncated.
    m_pView->m_dPageScale = 1.5;
    m_pView->SetPageInsets(1, 2, 3, 4);
    m_pView->ScalePageDialog(&child);
    EXPECT_EQ(RectText(CRect(16, 33, 169, 66)), RectText(ChildRect(hChild)));
    m_pView->ClearPageInsets();
    m_pView->ScalePageDialog(&child);
    EXPECT_EQ(RectText(CRect(24, 49, 253, 99)), RectText(ChildRect(hChild)));

    // A page without extent keeps its place, and the scale stays.
    ::SetWindowPos(hPage, nullptr, 70, 80, 0, 0, SWP_NOZORDER);
    m_pView->PlacePageDialog(&page);
    EXPECT_EQ(1.5, m_pView->m_dPageScale);
    ::GetWindowRect(hPage, &rc);
    EXPECT_EQ(RectText(CRect(70, 80, 70, 80)), RectText(rc));

    // No window: nothing happens.
    CWnd none;
    m_pView->PlacePageDialog(&none);
    m_pView->PlacePageDialog(nullptr);
    m_pView->ScalePageDialog(&none);
    EXPECT_EQ(1.5, m_pView->m_dPageScale);

    child.Detach();
    page.Detach();
    ::DestroyWindow(hPage);
}

TEST_F(PageNavigationTest, AMinimisedMainWindowHidesThePagesAndRestoringBringsThemBack)
{
    GotoPage(kBuilding);

    m_pFrame->ShowWindow(SW_MINIMIZE);
    PumpPending();
    ASSERT_TRUE(m_pFrame->IsIconic());
    EXPECT_EQ(1, m_pView->m_bMainIconic);
    EXPECT_EQ(PageName(0), PageName(OpenPage()));
    EXPECT_EQ(1, m_pView->m_pBuildingInfo->m_bHiddenForPrint);
    EXPECT_EQ(1, m_pView->m_bPagesHidden);

    // A page placed meanwhile is minimised too.
    m_pView->m_bLayoutPending = 1;
    m_pView->m_pComments->ShowPage();
    ASSERT_TRUE(m_pView->m_pComments->m_bCreated);
    EXPECT_TRUE(::IsIconic(m_pView->m_pComments->m_hWnd));
    m_pView->m_pComments->DestroyWindow();

    m_pFrame->ShowWindow(SW_MAXIMIZE);
    PumpPending();
    EXPECT_EQ(0, m_pView->m_bMainIconic);
    EXPECT_EQ(0, m_pView->m_bPagesHidden);
    EXPECT_EQ(0, m_pView->m_pBuildingInfo->m_bHiddenForPrint);
    ASSERT_EQ(PageName(kBuilding), PageName(OpenPage()));
    const HWND hPage = m_pView->m_pBuildingInfo->m_hWnd;
    EXPECT_FALSE(::IsIconic(hPage));
    CRect rcPage;
    ::GetWindowRect(hPage, &rcPage);
    const CRect rcClient = ClientAreaOnScreen();
    EXPECT_EQ(rcClient.left + 3, rcPage.left);
    EXPECT_EQ(rcClient.top + 5, rcPage.top);
}

TEST_F(PageNavigationTest, PagesPutBackAroundAPreview)
{
    GotoPage(kComments);
    const HWND hBefore = m_pView->m_pComments->m_hWnd;
    // While a preview is being set up nothing is touched.
    m_pView->m_bPreviewStarting = 1;
    m_pView->HideOpenDialogs(0);
    EXPECT_EQ(hBefore, m_pView->m_pComments->m_hWnd);
    m_pView->m_bPreviewStarting = 0;

    // Put back right after a preview started: the page comes anew, and no
    // layout request is left for the preview's frame to act on.
    m_pView->m_bPreviewJustStarted = 1;
    m_pView->m_bLayoutPending = 0;
    m_pView->HideOpenDialogs(0);
    EXPECT_NE(hBefore, m_pView->m_pComments->m_hWnd);
    EXPECT_EQ(PageName(kComments), PageName(OpenPage()));
    EXPECT_EQ(0, m_pView->m_bPreviewJustStarted);
    EXPECT_EQ(0, m_pView->m_bLayoutPending);

    // Otherwise the pages are laid out again.
    m_pView->HideOpenDialogs(0);
    EXPECT_EQ(1, m_pView->m_bLayoutPending);
}

TEST_F(PageNavigationTest, MovingTheMainWindowLaysTheOpenPageOutAgain)
{
    GotoPage(kResults);
    m_pFrame->ShowWindow(SW_RESTORE);
    m_pFrame->MoveWindow(100, 80, 700, 500);
    PumpPending();
    const HWND hBefore = m_pView->m_pResults->m_hWnd;
    m_pFrame->MoveWindow(160, 120, 700, 500);
    PumpPending();
    ASSERT_EQ(PageName(kResults), PageName(OpenPage()));
    EXPECT_NE(hBefore, m_pView->m_pResults->m_hWnd);
    const CRect rcClient = ClientAreaOnScreen();
    EXPECT_EQ(CPoint(rcClient.left, rcClient.top), m_pView->m_FrameOrigin);
    CRect rcPage;
    ::GetWindowRect(m_pView->m_pResults->m_hWnd, &rcPage);
    EXPECT_EQ(rcClient.left + 3, rcPage.left);
    EXPECT_EQ(rcClient.top + 5, rcPage.top);
    EXPECT_EQ(1, m_pView->m_bLayoutPending);
}

TEST_F(PageNavigationTest, CommitReCreatesTheOpenPagesOnlyWhenAsked)
{
    for (const int bRecreate : {0, 1}) {
        SCOPED_TRACE(bRecreate ? "re-created" : "kept");
        for (const UINT nPage : kAllPages) {
            // The deviations page holds nothing to store and is never re-created.
            const bool bExpectNew = bRecreate != 0 && nPage != kDeviations;
            GotoPage(nPage);
            const HWND hBefore = Record(nPage)->GetSafeHwnd();
            m_pView->m_bRecreatePages = bRecreate;
            m_pView->m_bLayoutPending = 1;
            m_pView->CommitOpenPages();
            PumpPending();
            EXPECT_EQ(PageName(nPage), PageName(OpenPage())) << "page " << nPage;
            EXPECT_EQ(bExpectNew, ::IsWindow(hBefore) == FALSE) << "page " << nPage;
        }
    }
    m_pView->m_bRecreatePages = 0;
}

TEST_F(PageNavigationTest, CloseAllPagesClosesEveryOpenPage)
{
    m_pView->CloseAllPages();
    m_pView->m_bLayoutPending = 0;
    m_pView->m_pBuildingInfo->ShowPage();
    m_pView->m_pTestGraph->ShowTestGraph();
    m_pView->m_pResults->CreateModeless();
    m_pView->m_pZoneData->CreateModeless();
    m_pView->m_pDeviations->ShowPage();
    m_pView->m_pIso9972->ShowPage();
    ASSERT_EQ(6u, OpenPages().size());
    m_pView->CloseAllPages();
    EXPECT_TRUE(OpenPages().empty());
}

TEST_F(PageNavigationTest, RefreshGivesTheOpenPageItsFocusBack)
{
    GotoPage(kIso9972);
    m_pView->m_pIso9972->m_nFocusCtrlId = IDC_STD_REGULATION;
    const HWND hField = ::GetDlgItem(m_pView->m_pIso9972->m_hWnd, IDC_STD_REGULATION);
    ::SetFocus(m_pFrame->m_hWnd);
    ASSERT_NE(hField, ::GetFocus());
    m_pView->RefreshOpenPages();
    EXPECT_EQ(hField, ::GetFocus());
}

TEST(PageHelpersTest, NumberCharactersDirectionsAndVolume)
{
    struct Case {
        wchar_t ch;
        int bWithBreaks;
        int bWithoutBreaks;
    };
    const Case cases[] = {{L'+', 1, 1}, {L',', 1, 1},  {L'-', 1, 1},  {L'.', 1, 1},  {L'0', 1, 1},
                          {L'9', 1, 1}, {L'/', 0, 0},  {L'e', 0, 0},  {L'E', 0, 0},  {L' ', 0, 0},
                          {L':', 0, 0}, {L'\r', 1, 0}, {L'\n', 1, 0}, {L'\t', 0, 0}, {0x0660, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.bWithBreaks, CSimbrel1View::IsNumberChar(c.ch, 1)) << static_cast<int>(c.ch);
        EXPECT_EQ(c.bWithoutBreaks, CSimbrel1View::IsNumberChar(c.ch, 0)) << static_cast<int>(c.ch);
    }
    EXPECT_EQ(1, CSimbrel1View::GetOtherDirection(0));
    EXPECT_EQ(0, CSimbrel1View::GetOtherDirection(1));
    EXPECT_EQ(0, CSimbrel1View::GetOtherDirection(-1));

    CTestView view(L"page-helpers");
    view->m_pBuildingInfo->m_dVolume[0] = 250.0;
    view->m_pBuildingInfo->m_dVolume[1] = 410.0;
    const int nSaved = g_nCurrentDirection;
    g_nCurrentDirection = 0;
    EXPECT_EQ(250.0, view->GetBuildingVolume());
    g_nCurrentDirection = 1;
    EXPECT_EQ(410.0, view->GetBuildingVolume());
    g_nCurrentDirection = nSaved;
}
