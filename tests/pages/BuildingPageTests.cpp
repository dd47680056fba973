// The building information page of the running program: opened over the
// view as the page navigation opens it, typed into with the keys a user
// presses, left with its buttons. The record keeps what was typed, the
// page asks the view to move on with its own template id, Enter walks the
// page's entry fields, and the texts and layout are the page's own.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Globals.h"
#include "app/HelpDialog.h"
#include "app/MainFrm.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr UINT kBuilding = 133;
constexpr UINT kComments = 134;
constexpr int kCgsb = 0;
constexpr int kIso = 3;

using Requests = std::vector<std::pair<WPARAM, LPARAM>>;

bool Contains(const RECT& rcOuter, const RECT& rcInner)
{
    return rcInner.left >= rcOuter.left && rcInner.top >= rcOuter.top && rcInner.right <= rcOuter.right &&
           rcInner.bottom <= rcOuter.bottom;
}

}  // namespace

class BuildingPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        // The main window maximised, as on a first start.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmar\\QARSEAL Vudadar 5.1\\Window size");
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        page = m_pView->m_pBuildingInfo;
    }
    void TearDown() override
    {
        CloseProgram();
        g_pView = nullptr;
    }

    // Opens the page as the Goto commands do: every other page closed and
    // the page laid out over the view.
    void Open()
    {
        m_pView->CloseAllPages();
        m_pView->m_bLayoutPending = 1;
        ASSERT_TRUE(page->ShowPage());
        PumpCollectingRequests();
        ASSERT_TRUE(::IsWindow(Page()));
    }
    HWND Page() const { return page->GetSafeHwnd(); }
    HWND Item(int nID) const { return ::GetDlgItem(Page(), nID); }
    int FocusId() const { return ::GetDlgCtrlID(::GetFocus()); }
    void Focus(int nID)
    {
        ::SetFocus(Item(nID));
        PumpCollectingRequests();
    }
    // Characters as the keyboard sends them to the focused control.
    void Type(const wchar_t* pszText)
    {
        const HWND hFocus = ::GetFocus();
        for (const wchar_t* p = pszText; *p != 0; ++p)
            ::PostMessageW(hFocus, WM_CHAR, *p, 1);
        EXPECT_TRUE(PumpCollectingRequests().empty());
    }
    Requests Press(UINT nKey)
    {
        PressKey(nKey);
        return PumpCollectingRequests();
    }
    // The BN_CLICKED a click on the button sends.
    Requests Click(int nID)
    {
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
        return PumpCollectingRequests();
    }
    // Lets the view act on the requests the page made.
    void Forward(const Requests& requests)
    {
        for (const auto& request : requests)
            Post(static_cast<UINT>(request.first), static_cast<int>(request.second));
    }

    CBuildingInfoDialog* page = nullptr;
    CDialogDriver m_driver;
};

TEST_F(BuildingPageTest, TypedTextsReachTheRecordAndTheDimensionsTheirNumbersWhenNextClosesThePage)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(IDC_BLDG_TECHNICIAN);
    Type(L"Ann Lee");
    EXPECT_TRUE(Press(VK_RETURN).empty());
    ASSERT_EQ(FocusId(), IDC_BLDG_PROJECT);
    Type(L"P-17");
    Focus(IDC_BLDG_VOLUME);
    Type(L"1500");
    Focus(IDC_BLDG_HEIGHT);
    Type(L"8.5");

    // Enter on the focused Next button presses it.
    Focus(IDC_BLDG_NEXT);
    EXPECT_EQ(LOWORD(page->GetDefID()), IDC_BLDG_NEXT);
    const Requests requests = Press(VK_RETURN);
    ASSERT_EQ(requests, (Requests{{kBuilding, CSimbrel1View::kPageNext}}));
    // Stored before the view is asked.
    EXPECT_EQ(page->m_strTechnician, L"Ann Lee");
    EXPECT_EQ(page->m_strProjectName, L"P-17");

    Forward(requests);
    EXPECT_FALSE(::IsWindow(Page()));
    EXPECT_EQ(page->m_bCreated, 0);
    EXPECT_EQ(m_pView->m_pComments->m_bCreated, 1);
    EXPECT_EQ(page->m_strTechnician, L"Ann Lee");
    EXPECT_EQ(page->m_strVolume, L"1500");
    EXPECT_EQ(page->m_strHeight, L"8.5");
    // Only the edited dimensions were parsed, into both direction slots.
    for (int nSlot = 0; nSlot < 2; ++nSlot) {
        EXPECT_EQ(page->m_dVolume[nSlot], 1500.0) << nSlot;
        EXPECT_EQ(page->m_dHeight[nSlot], 8.5) << nSlot;
        EXPECT_EQ(page->m_dFloorArea[nSlot], 0.0) << nSlot;
    }
}

TEST_F(BuildingPageTest, OpeningFillsTheFieldsAndMarksNoDimensionAsEdited)
{
    page->m_strBuildingCity = L"Leeds";
    page->m_strFloorArea = L"120";
    page->m_dFloorArea[0] = 7.0;   // a value the next parse must not touch
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_CITY), L"Leeds");
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_FLOOR_AREA), L"120");
    EXPECT_EQ(page->m_bFloorAreaChanged, 0);
    m_pView->CloseAllPages();
    EXPECT_EQ(page->m_dFloorArea[0], 7.0);
}

// Closing all pages (a Goto command, New Test) stores nothing first: the
// page itself takes the window's texts before it parses them.
TEST_F(BuildingPageTest, ClosingThePageWithoutNavigationStillParsesTheLastEdits)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    page->m_bFromTestGraph = 1;
    Focus(IDC_BLDG_SURFACE_AREA);
    Type(L"240");
    m_pView->CloseAllPages();
    EXPECT_FALSE(::IsWindow(Page()));
    EXPECT_EQ(page->m_strSurfaceArea, L"240");
    EXPECT_EQ(page->m_dSurfaceArea[0], 240.0);
    EXPECT_EQ(page->m_dSurfaceArea[1], 240.0);
    EXPECT_EQ(page->m_bSurfaceAreaChanged, 0);
    EXPECT_EQ(page->m_bFromTestGraph, 0);
}

TEST_F(BuildingPageTest, NextThenPreviousPutsTheFocusBackInTheFieldLeft)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(IDC_BLDG_CUSTOMER_NAME);
    EXPECT_TRUE(Press(VK_TAB).empty());
    ASSERT_EQ(FocusId(), IDC_BLDG_CUSTOMER_NAME2);
    EXPECT_EQ(page->m_nFocusCtrlId, IDC_BLDG_CUSTOMER_NAME2);
    Type(L"c/o Smith");

    const Requests requests = Click(IDC_BLDG_NEXT);
    ASSERT_EQ(requests, (Requests{{kBuilding, CSimbrel1View::kPageNext}}));
    Forward(requests);
    ASSERT_EQ(m_pView->m_pComments->m_bCreated, 1);
    ASSERT_FALSE(::IsWindow(Page()));

    // The comments page's Previous brings the building page back.
    Post(kComments, CSimbrel1View::kPagePrevious);
    ASSERT_EQ(page->m_bCreated, 1);
    ASSERT_TRUE(::IsWindow(Page()));
    EXPECT_EQ(FocusId(), IDC_BLDG_CUSTOMER_NAME2);
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_CUSTOMER_NAME2), L"c/o Smith");
}

TEST_F(BuildingPageTest, ButtonsAndEscAskTheViewWithTheBuildingTemplate)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    struct Case {
        int nButton;
        LPARAM nAction;
    };
    const Case cases[] = {{IDOK, CSimbrel1View::kPageOK},
                          {IDC_BLDG_PREVIOUS, CSimbrel1View::kPagePrevious},
                          {IDC_BLDG_NEXT, CSimbrel1View::kPageNext}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nButton);
        const std::wstring text = L"typed " + std::to_wstring(c.nButton);
        ::SetDlgItemTextW(Page(), IDC_BLDG_CUSTOMER_EMAIL, text.c_str());
        EXPECT_EQ(Click(c.nButton), (Requests{{kBuilding, c.nAction}}));
        EXPECT_EQ(page->m_strCustomerEmail, text.c_str());
    }
    Focus(IDC_BLDG_CITY);
    EXPECT_EQ(Press(VK_ESCAPE), (Requests{{kBuilding, CSimbrel1View::kPageCancel}}));
    // The page is still open: only the view closes it.
    EXPECT_TRUE(::IsWindow(Page()));
}

TEST_F(BuildingPageTest, EnterWalksThePagesEntryFieldsInTabOrder)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    struct WalkCase {
        int nFrom;
        int nTo;
    };
    const WalkCase cases[] = {
        {IDC_BLDG_TECHNICIAN, IDC_BLDG_PROJECT},
        {IDC_BLDG_PROJECT, IDC_BLDG_CUSTOMER_NAME},
        {IDC_BLDG_CUSTOMER_WEBSITE, IDC_BLDG_NAME},
        {IDC_BLDG_ADDRESS2, IDC_BLDG_CITY},     // the apartment is no entry field
        {IDC_BLDG_APARTMENT, IDC_BLDG_CITY},
        {IDC_BLDG_YEAR, IDC_BLDG_VOLUME},
        {IDC_BLDG_HEIGHT, IDC_BLDG_UNCERTAINTY},
        {IDC_BLDG_UNCERTAINTY, IDC_BLDG_DATE_PICKER},   // past the buttons and round
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.nFrom);
        Focus(c.nFrom);
        EXPECT_TRUE(Press(VK_RETURN).empty());
        EXPECT_EQ(FocusId(), c.nTo);
    }
}

TEST_F(BuildingPageTest, ClearEmptiesTheFieldsOnYesAndKeepsTheUnits)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    const CString strUnit = page->m_strVolumeUnit;
    ASSERT_FALSE(strUnit.IsEmpty());
    Focus(IDC_BLDG_CUSTOMER_PHONE);
    Type(L"555 0101");

    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDNO);
    Click(IDC_BLDG_CLEAR);
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_CUSTOMER_PHONE), L"555 0101");

    page->UpdateData(TRUE);
    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDYES);
    Click(IDC_BLDG_CLEAR);
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_CUSTOMER_PHONE), L"");
    EXPECT_TRUE(page->m_strCustomerPhone.IsEmpty());
    EXPECT_EQ(page->m_strVolumeUnit, strUnit);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(BuildingPageTest, HelpShowsTheBuildingTopic)
{
    const std::wstring folder = MakeTempFolder(L"building-help");
    ASSERT_TRUE(WriteBytes(folder + L"\\QEhelp.txt",
                           "@@3 Building Information\r\nThe building.\r\n@@4 Comments\r\nNotes.\r\n@@"));
    m_pView->m_strProgramFolder = (folder + L"\\").c_str();
    ASSERT_NO_FATAL_FAILURE(Open());
    std::wstring caption;
    std::wstring text;
    m_answerer.RunDialog(IDD_HELP_PANEL, m_driver.Run({[&](HWND h) {
                             caption = WindowText(h);
                             text = ItemText(h, IDC_HELP_TEXT);
                             ClickItem(h, IDOK);
                         }}));
    Click(IDC_BLDG_HELP);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    EXPECT_NE(caption.find(L"Building Information"), std::wstring::npos) << CString(caption.c_str()).ToAnsi();
    EXPECT_EQ(text, L"The building.\r\n");
}

// The texts come from the string table, the page lies over the view's
// client area and no visible control covers another or leaves the page.
// The picture (saved when VUDADAR_SCREENS names a folder) is for a person
// to look at.
TEST_F(BuildingPageTest, TextsAndLayoutOverTheView)
{
    for (const int nStandard : {kIso, kCgsb}) {
        SCOPED_TRACE(nStandard);
        m_pView->m_pSettings->m_nStandard = nStandard;
        ASSERT_NO_FATAL_FAILURE(Open());
        const bool bIso = nStandard == kIso;
        EXPECT_EQ(WindowText(Page()), L"Building Test Info");
        const std::wstring volume = bIso ? L"Internal Volume (" : L"Volume (";
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_VOLUME_LABEL), volume + page->m_strVolumeUnit.GetString() + L")");
        const std::wstring surface = bIso ? L"Envelope Area (" : L"Surface Area (";
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_SURFACE_AREA_LABEL),
                  surface + page->m_strSurfaceAreaUnit.GetString() + L")");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_HEIGHT_LABEL),
                  std::wstring(L"Height (") + page->m_strLengthUnit.GetString() + L")");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_UNCERTAINTY_LABEL), L"Uncertainty of\r\nBuilding Dimensions (%)");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_PROJECT_LABEL), L"Project Number");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_APARTMENT_LABEL), L"Apartment");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_NEXT), L"Next");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_NEXT_LABEL), L"to Comments");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_CLEAR), L"Clear");
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_HELP), L"Help");
        EXPECT_EQ(m_pView->m_bLayoutPending, 0);

        // Over the view's client area.
        RECT rcClient{};
        ::GetClientRect(m_pFrame->m_hWnd, &rcClient);
        ::MapWindowPoints(m_pFrame->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
        RECT rcPage{};
        ::GetWindowRect(Page(), &rcPage);
        EXPECT_TRUE(Contains(rcClient, rcPage));
        EXPECT_GT(rcPage.right - rcPage.left, (rcClient.right - rcClient.left) / 2);

        // The visible controls, group boxes aside (they hold the others).
        RECT rcInside{};
        ::GetClientRect(Page(), &rcInside);
        std::vector<std::pair<int, CRect>> controls;
        for (HWND h = ::GetWindow(Page(), GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(h))
                continue;
            const int nID = ::GetDlgCtrlID(h);
            const CRect rc = ItemRect(Page(), nID);
            EXPECT_TRUE(Contains(rcInside, rc)) << "control " << nID << " leaves the page";
            wchar_t szClass[32] = {};
            ::GetClassNameW(h, szClass, 32);
            if (::lstrcmpiW(szClass, L"Button") == 0 && (::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
                continue;
            controls.emplace_back(nID, rc);
        }
        EXPECT_GT(controls.size(), 50u);
        for (size_t i = 0; i < controls.size(); ++i) {
            for (size_t j = i + 1; j < controls.size(); ++j) {
                CRect rcBoth;
                EXPECT_FALSE(rcBoth.IntersectRect(&controls[i].second, &controls[j].second))
                    << "controls " << controls[i].first << " and " << controls[j].first << " overlap";
            }
        }
    }
    const std::wstring picture = SaveScreenshot(Page(), L"building-page.png");
    if (!ScreensFolder().empty()) {
        EXPECT_TRUE(FileExists(picture));
    }
}
