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
#include "calc/DeviationsFromStandard.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr UINT kBuilding = 133;
constexpr UINT kComments = 134;
constexpr int kCgsb = 0;
constexpr int kEn = 1;
constexpr int kAstm = 2;
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
    // EN 13829 shows the uncertainty field; the standard a start reads from
    // the registry is whatever an earlier run left there.
    m_pView->m_pSettings->m_nStandard = kEn;
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

namespace {

// What the page shows of one control under each standard: CGSB, EN 13829,
// ASTM E779, ISO 9972.
struct CVisibilityRow {
    int nID;
    bool bShown[4];
};

const CVisibilityRow kVisibility[] = {
    {IDC_BLDG_HEIGHT, {false, true, true, true}},
    {IDC_BLDG_HEIGHT_LABEL, {false, true, true, true}},
    {IDC_BLDG_UNCERTAINTY, {false, true, false, true}},
    {IDC_BLDG_UNCERTAINTY_LABEL, {false, true, false, true}},
    {IDC_BLDG_ISO_REFERENCE_LABEL, {false, false, false, true}},
    {IDC_BLDG_COUNTRY_VOLUME, {false, false, false, true}},
    {IDC_BLDG_COUNTRY_FLOOR_AREA, {false, false, false, true}},
    {IDC_BLDG_COUNTRY_SURFACE_AREA, {false, false, false, true}},
    {IDC_BLDG_DIMENSIONS_GROUP, {true, true, true, false}},
    {IDC_BLDG_UNIT_LABEL, {false, false, false, false}},
    {IDC_BLDG_UNIT_LABEL2, {false, false, false, false}},
    {IDC_BLDG_TO_TEST_GRAPH, {false, false, false, false}},
    {IDC_BLDG_DATE_PICKER, {true, true, true, true}},
    {IDC_BLDG_DATE_TEXT, {false, false, false, false}},
    {IDC_BLDG_CUSTOMER_EMAIL, {true, true, true, true}},
    {IDC_BLDG_CUSTOMER_WEBSITE_LABEL, {true, true, true, true}},
    {IDC_BLDG_VOLUME, {true, true, true, true}},
};

}  // namespace

// The fields by standard, after the layout that scales (and would show)
// every control; the ISO labels in metres; a picture per standard.
TEST_F(BuildingPageTest, FieldsAndLabelsByStandardAfterTheLayout)
{
    m_pView->m_nBuildingUnit = 1;
    page->m_strVolumeUnit = L"m³";
    page->m_strFloorAreaUnit = L"m²";
    page->m_strSurfaceAreaUnit = L"m²";
    page->m_strLengthUnit = L"m";
    for (int nStandard : {kCgsb, kEn, kAstm, kIso}) {
        SCOPED_TRACE(nStandard);
        m_pView->m_pSettings->m_nStandard = nStandard;
        ASSERT_NO_FATAL_FAILURE(Open());
        EXPECT_EQ(m_pView->m_bLayoutPending, 0);
        for (const CVisibilityRow& row : kVisibility)
            EXPECT_EQ(::IsWindowVisible(Item(row.nID)) != FALSE, row.bShown[nStandard]) << "control " << row.nID;
        if (nStandard == kIso) {
            EXPECT_EQ(ItemText(Page(), IDC_BLDG_VOLUME_LABEL), L"Internal Volume (m³)");
            EXPECT_EQ(ItemText(Page(), IDC_BLDG_FLOOR_AREA_LABEL), L"Net Floor Area (m²)");
            EXPECT_EQ(ItemText(Page(), IDC_BLDG_SURFACE_AREA_LABEL), L"Envelope Area (m²)");
            EXPECT_EQ(ItemText(Page(), IDC_BLDG_ISO_REFERENCE_LABEL), L"Building Reference Values ISO");
            EXPECT_EQ(ItemText(Page(), IDC_BLDG_COUNTRY_VOLUME), L"Specific Country");
        } else {
            EXPECT_EQ(ItemText(Page(), IDC_BLDG_VOLUME_LABEL), L"Volume (m³)");
        }
        EXPECT_EQ(ItemText(Page(), IDC_BLDG_HEIGHT_LABEL), L"Height (m)");
        static const wchar_t* const kNames[] = {L"building-cgsb.png", L"building-en13829.png",
                                                L"building-astm.png", L"building-iso9972-metres.png"};
        if (nStandard != kEn) {
            const std::wstring picture = SaveScreenshot(Page(), kNames[nStandard]);
            if (!ScreensFolder().empty()) {
                EXPECT_TRUE(FileExists(picture));
            }
        }
    }
}

TEST_F(BuildingPageTest, DimensionsParseOnlyWhatWasTypedUnlessForced)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    // Set by the program, not typed: no edit mark.
    page->m_strFloorArea = L"1,200";
    page->m_dFloorArea[0] = page->m_dFloorArea[1] = 7.0;
    page->m_bFloorAreaChanged = 0;
    Focus(IDC_BLDG_VOLUME);
    Type(L"450.5");
    EXPECT_EQ(page->m_bVolumeChanged, 1);
    EXPECT_EQ(page->m_bFloorAreaChanged, 0);
    page->UpdateData(TRUE);
    page->m_strFloorArea = L"1,200";
    page->UpdateDimensionValues(0);
    EXPECT_EQ(page->m_dVolume[0], 450.5);
    EXPECT_EQ(page->m_dVolume[1], 450.5);
    EXPECT_EQ(page->m_dFloorArea[0], 7.0);
    EXPECT_EQ(page->m_strFloorArea, L"1200");   // commas go in any case
    EXPECT_EQ(page->m_bVolumeChanged, 0);
    page->UpdateDimensionValues(1);
    EXPECT_EQ(page->m_dFloorArea[0], 1200.0);
    EXPECT_EQ(page->m_dFloorArea[1], 1200.0);
}

TEST_F(BuildingPageTest, ACommaTypedIntoADimensionIsRemovedWithAWarning)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(IDC_BLDG_VOLUME);
    m_answerer.RunProgramMessage(IDS_MSG_COMMA_IN_NUMBER, m_driver.Run({[](HWND h) { ClickItem(h, IDOK); }}));
    Type(L"12,5");
    PumpUntil([this] { return ItemText(Page(), IDC_BLDG_VOLUME) == L"125"; });
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_VOLUME), L"125");
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    // Letters and a minus sign never get in; the uncertainty is filtered too.
    Focus(IDC_BLDG_UNCERTAINTY);
    Type(L"-a5");
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_UNCERTAINTY), L"5");
}

TEST(BuildingDimensions, ConvertedTextsKeepFourSignificantDigits)
{
    struct Case {
        double dValue;
        const wchar_t* pszText;
    };
    const Case cases[] = {
        {28.316846592, L"28.32"}, {18.58060, L"18.58"}, {2.49936, L"2.499"}, {1000.4, L"1000"},
        {123456.7, L"123457"},   {999.96, L"1000"},    {9.99996, L"10"},    {0.0123456, L"0.01235"},
        {2.5, L"2.5"},           {0.0, L"0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CBuildingInfoDialog::FormatConvertedDimension(c.dValue), c.pszText) << c.dValue;
}

TEST(BuildingDimensions, ConvertingASlotMakesShownAndComputedAgree)
{
    CBuildingInfoDialog page(nullptr);
    page.m_strVolume = L"1000";
    page.m_strFloorArea = L"200";
    page.m_strHeight = L"8.2";
    page.UpdateDimensionValues(1);
    page.ConvertDimensionUnits(0.3048, 0);
    EXPECT_EQ(page.m_strVolume, L"28.32");
    EXPECT_EQ(page.m_strFloorArea, L"18.58");
    EXPECT_EQ(page.m_strHeight, L"2.499");
    EXPECT_TRUE(page.m_strSurfaceArea.IsEmpty());   // empty stays empty
    EXPECT_EQ(page.m_dVolume[0], 28.32);
    EXPECT_EQ(page.m_dHeight[0], 2.499);
    EXPECT_EQ(page.m_dSurfaceArea[0], 0.0);
    EXPECT_EQ(page.m_dVolume[1], 1000.0);   // the other slot waits for its call

    // Both slots: the texts end with the second slot's values.
    page.m_dVolume[1] = 2000.0;
    page.ConvertDimensionUnits(0.3048, 1);
    EXPECT_EQ(page.m_strVolume, L"56.63");
    EXPECT_EQ(page.m_dVolume[1], 56.63);

    // And back: no drift beyond the four digits.
    page.ConvertDimensionUnits(1.0 / 0.3048, 0);
    EXPECT_EQ(page.m_strVolume, L"1000");
    EXPECT_EQ(page.m_strHeight, L"8.199");
}

TEST_F(BuildingPageTest, EnteringTheEmptyDatePickerSetsTodayAndTheKeysFollowItsChanges)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(page->m_strTestDateUniv.IsEmpty());
    Focus(IDC_BLDG_TECHNICIAN);
    EXPECT_TRUE(page->m_strTestDateUniv.IsEmpty());   // not entered: still no date

    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    wchar_t szToday[16] = {};
    ::swprintf(szToday, 16, L"%04d%02d%02d", today.wYear, today.wMonth, today.wDay);
    Focus(IDC_BLDG_DATE_PICKER);
    EXPECT_EQ(page->m_strTestDateUniv, szToday);
    EXPECT_EQ(page->m_strTestDateLocal, CSimbrel1View::FormatDateKeyLocal(szToday));

    // Keys in the picker change its date; the record follows.
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_NE(page->m_strTestDateUniv, szToday);
    EXPECT_TRUE(CSimbrel1View::IsValidDateKey(page->m_strTestDateUniv));
    EXPECT_EQ(page->m_strTestDateLocal, CSimbrel1View::FormatDateKeyLocal(page->m_strTestDateUniv));
}

TEST_F(BuildingPageTest, LeavingWithoutEnteringThePickerKeepsTheDateEmpty)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Focus(IDC_BLDG_CITY);
    Type(L"York");
    m_pView->CloseAllPages();
    EXPECT_TRUE(page->m_strTestDateUniv.IsEmpty());
    EXPECT_TRUE(page->m_strTestDateLocal.IsEmpty());
}

TEST_F(BuildingPageTest, AFreeTextDateShowsInItsEditInPlaceOfThePicker)
{
    page->m_strTestDate = L"June 5th 2003";
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_BLDG_DATE_TEXT)));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_BLDG_DATE_PICKER)));
    EXPECT_EQ(ItemText(Page(), IDC_BLDG_DATE_TEXT), L"June 5th 2003");
    m_pView->CloseAllPages();
    EXPECT_EQ(page->m_strTestDate, L"June 5th 2003");
    EXPECT_TRUE(page->m_strTestDateUniv.IsEmpty());
}

// Under ASTM E779 a test needs the height: the test screen's check brings
// the user here, typing a height opens the way back, leaving the field runs
// the stack-effect check with it, and the button asks for the test screen.
TEST_F(BuildingPageTest, MissingHeightRoundTripFromTheTestScreen)
{
    m_pView->m_pSettings->m_nStandard = kAstm;
    m_pView->m_nTemperatureUnit = 1;
    m_pView->m_nBuildingUnit = 1;
    CTestGraph1& store = *m_pView->m_pTestGraph;
    store.m_CompletedTests[0] = 1;
    store.m_TestTin[0][0][0] = store.m_TestTin[1][0][0] = 25.0;
    store.m_TestTout[0][0][0] = store.m_TestTout[1][0][0] = 0.0;
    m_pView->m_pDeviations->ClearAllDeviations();

    m_answerer.RunProgramMessage(IDS_BUILDING_HEIGHT_REQUIRED, m_driver.Run({[](HWND h) { ClickItem(h, IDOK); }}));
    EXPECT_EQ(store.CheckBuildingHeight(), 0);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    const Requests requests = PumpCollectingRequests();
    ASSERT_EQ(requests, (Requests{{135, CSimbrel1View::kPageTestScreenToBuilding}}));
    m_pView->m_bLayoutPending = 1;
    Forward(requests);
    ASSERT_TRUE(::IsWindow(Page()));
    EXPECT_EQ(FocusId(), IDC_BLDG_HEIGHT);
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_BLDG_TO_TEST_GRAPH)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BLDG_TO_TEST_GRAPH)));

    Type(L"9");
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_BLDG_TO_TEST_GRAPH)));
    EXPECT_EQ(page->m_strHeight, L"9");   // counted at once, before any close
    EXPECT_EQ(page->m_dHeight[0], 9.0);
    EXPECT_EQ(page->m_dHeight[1], 9.0);
    Press(VK_BACK);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BLDG_TO_TEST_GRAPH)));
    Type(L"10");
    EXPECT_EQ(page->m_dHeight[0], 10.0);

    // 25 K x 10 m: above the limit once the focus leaves the field.
    EXPECT_EQ(m_pView->m_pDeviations->CountDeviations(0, 0), 0);
    Focus(IDC_BLDG_VOLUME);
    ASSERT_NE(m_pView->m_pDeviations->m_pLists[0][0], nullptr);
    EXPECT_FALSE(m_pView->m_pDeviations->m_pLists[0][0]->GetAt(24).IsEmpty());

    const Requests back = Click(IDC_BLDG_TO_TEST_GRAPH);
    EXPECT_EQ(back, (Requests{{kBuilding, CSimbrel1View::kPageBuildingToTestScreen}}));
    EXPECT_EQ(page->m_bFromTestGraph, 0);
}

TEST_F(BuildingPageTest, AnyOtherWayOutForgetsTheTestScreen)
{
    m_pView->m_pSettings->m_nStandard = kAstm;
    page->m_bFromTestGraph = 1;
    page->m_nFocusCtrlId = IDC_BLDG_HEIGHT;
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_BLDG_TO_TEST_GRAPH)));
    Type(L"3");
    Forward(Click(IDC_BLDG_NEXT));
    EXPECT_FALSE(::IsWindow(Page()));
    EXPECT_EQ(page->m_bFromTestGraph, 0);
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_BLDG_TO_TEST_GRAPH)));
}
