// The view's small services: date keys and pickers, labels, text helpers,
// the adjusted-pressure warning, the environment lines' sources, the
// equipment and letterhead commands, channel tables and the page font.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "app/Globals.h"
#include "app/HelpDialog.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "framework/DateTimeCtrl.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

using Source = CSimbrel1View::EnvironmentSource;

// A child-less top-level window of a system class, destroyed with the object.
class CTestWindow {
public:
    CTestWindow(const wchar_t* pszClass, DWORD dwStyle)
        : m_hWnd(::CreateWindowExW(0, pszClass, L"", dwStyle, 10, 10, 300, 200, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~CTestWindow() { ::DestroyWindow(m_hWnd); }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    HWND m_hWnd;
};

// A picker object viewing a picker window.
class CTestPicker {
public:
    explicit CTestPicker(DWORD dwStyle = 0)
    {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_window = std::make_unique<CTestWindow>(DATETIMEPICK_CLASSW, WS_POPUP | dwStyle);
        m_picker.Attach(m_window->m_hWnd);
    }
    ~CTestPicker() { m_picker.Detach(); }
    CDateTimeCtrl* operator->() { return &m_picker; }
    CDateTimeCtrl* Get() { return &m_picker; }
    SYSTEMTIME Time()
    {
        SYSTEMTIME st{};
        EXPECT_EQ(static_cast<DWORD>(GDT_VALID), m_picker.GetTime(st));
        return st;
    }

private:
    std::unique_ptr<CTestWindow> m_window;
    CDateTimeCtrl m_picker;
};

TEST(DateKeyTest, FormatsTheShortDateOfEachLocale)
{
    // Each locale's order and separators; whether day and month get a
    // leading zero differs between versions of the locale data.
    struct Case {
        LCID lcid;
        std::vector<std::wstring> accepted;
    };
    const Case cases[] = {
        {MAKELCID(0x0409, SORT_DEFAULT), {L"7/5/2018", L"07/05/2018"}},  // English (United States)
        {MAKELCID(0x0809, SORT_DEFAULT), {L"05/07/2018"}},              // English (United Kingdom)
        {MAKELCID(0x0407, SORT_DEFAULT), {L"05.07.2018", L"5.7.2018"}},  // German
        {MAKELCID(0x0411, SORT_DEFAULT), {L"2018/07/05", L"2018/7/5"}},  // Japanese
    };
    for (const Case& c : cases) {
        const std::wstring shown = CSimbrel1View::FormatDateKeyForLocale(L"20180705", c.lcid).str();
        EXPECT_NE(c.accepted.end(), std::find(c.accepted.begin(), c.accepted.end(), shown))
            << c.lcid << ": " << CString(shown).ToAnsi();
    }

    const CString strLocal = CSimbrel1View::FormatDateKeyLocal(L"20180705");
    EXPECT_FALSE(strLocal.IsEmpty());
    EXPECT_EQ(CSimbrel1View::FormatDateKeyForLocale(L"20180705", LOCALE_USER_DEFAULT), strLocal);
    EXPECT_EQ(CString(L"2/29/2020"),
              CSimbrel1View::FormatDateKeyForLocale(L"20200229", MAKELCID(0x0409, SORT_DEFAULT)));
}

TEST(DateKeyTest, KeysThatAreNoDateHaveNoLocalDate)
{
    for (const wchar_t* pszKey : {L"", L"2018075", L"201807051", L"2018-7-5", L"20181305", L"20180230",
                                  L"20190229", L"20180700", L"00000000", L"2018070a", L" 2018070"}) {
        EXPECT_FALSE(CSimbrel1View::IsValidDateKey(pszKey)) << CString(pszKey).ToAnsi();
        EXPECT_EQ(CString(), CSimbrel1View::FormatDateKeyLocal(pszKey)) << CString(pszKey).ToAnsi();
    }
}

TEST(DateKeyTest, SplitsYearMonthAndDayReadingDigitsUpToTheFirstOther)
{
    struct Case {
        const wchar_t* key;
        int nYear, nMonth, nDay;
    };
    const Case cases[] = {
        {L"20180705", 2018, 7, 5},
        {L"2018", 2018, 0, 18},  // the day is always the last two characters
        {L"20a80b05", 20, 0, 5},
        {L"", 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.nYear, CSimbrel1View::GetDateKeyYear(c.key)) << CString(c.key).ToAnsi();
        EXPECT_EQ(c.nMonth, CSimbrel1View::GetDateKeyMonth(c.key)) << CString(c.key).ToAnsi();
        EXPECT_EQ(c.nDay, CSimbrel1View::GetDateKeyDay(c.key)) << CString(c.key).ToAnsi();
    }
}

TEST(DatePickerTest, InitialisesFromAKeyOrBlankOnTodayOrTheYear2000)
{
    CTestPicker picker;
    CString strLocal = L"before";
    CSimbrel1View::InitDatePicker(0, picker.Get(), L"20180705", strLocal);
    SYSTEMTIME st = picker.Time();
    EXPECT_EQ(2018, st.wYear);
    EXPECT_EQ(7, st.wMonth);
    EXPECT_EQ(5, st.wDay);
    EXPECT_EQ(CSimbrel1View::FormatDateKeyLocal(L"20180705"), strLocal);

    strLocal = L"kept";
    CSimbrel1View::InitDatePicker(0, picker.Get(), L"", strLocal);
    st = picker.Time();
    EXPECT_EQ(2000, st.wYear);
    EXPECT_EQ(1, st.wMonth);
    EXPECT_EQ(1, st.wDay);
    EXPECT_EQ(CString(L"kept"), strLocal);

    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    CSimbrel1View::InitDatePicker(1, picker.Get(), L"", strLocal);
    st = picker.Time();
    EXPECT_EQ(today.wYear, st.wYear);
    EXPECT_EQ(today.wMonth, st.wMonth);
    EXPECT_EQ(today.wDay, st.wDay);

    // A damaged key is treated as no date: blank, not some other day.
    CSimbrel1View::InitDatePicker(0, picker.Get(), L"20181399", strLocal);
    EXPECT_EQ(2000, picker.Time().wYear);
}

TEST(DatePickerTest, ReadsAndSetsKeysAndLeavesEverythingAloneWithoutADate)
{
    CTestPicker picker(DTS_SHOWNONE);
    CString strKey = L"old", strLocal = L"old";
    ASSERT_EQ(0, CSimbrel1View::SetDatePickerFromKey(picker.Get(), L"19991231", strLocal));
    EXPECT_EQ(CSimbrel1View::FormatDateKeyLocal(L"19991231"), strLocal);
    EXPECT_EQ(0, CSimbrel1View::ReadDatePicker(picker.Get(), strKey, strLocal));
    EXPECT_EQ(CString(L"19991231"), strKey);

    // An empty key changes nothing; an invalid one gives no local date and
    // leaves the picker's date.
    strLocal = L"kept";
    EXPECT_EQ(1, CSimbrel1View::SetDatePickerFromKey(picker.Get(), L"", strLocal));
    EXPECT_EQ(CString(L"kept"), strLocal);
    EXPECT_EQ(1, CSimbrel1View::SetDatePickerFromKey(picker.Get(), L"19990231", strLocal));
    EXPECT_EQ(CString(), strLocal);
    EXPECT_EQ(1999, picker.Time().wYear);
    EXPECT_EQ(12, picker.Time().wMonth);

    // No date in the picker: both outputs unchanged.
    // (Wine wants a time even with GDT_NONE.)
    SYSTEMTIME none{};
    ASSERT_TRUE(picker->SendMessage(DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&none)));
    strKey = L"key";
    strLocal = L"local";
    EXPECT_EQ(static_cast<int>(GDT_NONE), CSimbrel1View::ReadDatePicker(picker.Get(), strKey, strLocal));
    EXPECT_EQ(CString(L"key"), strKey);
    EXPECT_EQ(CString(L"local"), strLocal);
}

TEST(ViewTextsTest, LabelsAndCleanUps)
{
    EXPECT_EQ(CString(L"Pressurization Test: 1"), CSimbrel1View::GetTestLabel(0, 0));
    EXPECT_EQ(CString(L"Depressurization Test: 3"), CSimbrel1View::GetTestLabel(1, 2));
    EXPECT_EQ(CString(L"Depressurization Test: 1"), CSimbrel1View::GetTestLabel(5, 0));

    EXPECT_EQ(CString(), CSimbrel1View::GetRingLabel(-1, L'3'));
    EXPECT_EQ(CString(L"Ring Open"), CSimbrel1View::GetRingLabel(0, L'3'));
    EXPECT_EQ(CString(L"Ring B"), CSimbrel1View::GetRingLabel(2, L'3'));
    EXPECT_EQ(CString(L"Ring 2"), CSimbrel1View::GetRingLabel(2, L'A'));

    EXPECT_EQ(L'Y', CSimbrel1View::GetStringInitial(IDS_MSG_YES, 1));
    EXPECT_EQ(L'y', CSimbrel1View::GetStringInitial(IDS_MSG_YES, 0));
    EXPECT_EQ(L'N', CSimbrel1View::GetStringInitial(IDS_MSG_NO, 1));
    EXPECT_EQ(L'\0', CSimbrel1View::GetStringInitial(65000, 1));

    EXPECT_EQ(CString(L"5/7/2018"), CSimbrel1View::DotsToSlashes(L"5.7.2018"));
    EXPECT_EQ(CString(L"1234567.5"), CSimbrel1View::RemoveCommas(L"1,234,567.5"));
    EXPECT_EQ(CString(L""), CSimbrel1View::RemoveCommas(L",,"));
}

TEST(ViewTextsTest, PercentDeviationUsesTheMagnitudeOfThePressure)
{
    EXPECT_DOUBLE_EQ(10.0, CSimbrel1View::PercentDeviationFromCurve(-50.0, 110.0, 2.0, 1.0));
    EXPECT_DOUBLE_EQ(10.0, CSimbrel1View::PercentDeviationFromCurve(50.0, 110.0, 2.0, 1.0));
    EXPECT_NEAR(-5.0, CSimbrel1View::PercentDeviationFromCurve(-25.0, 95.0 * 5.0, 100.0, 0.5), 1e-12);
}

TEST(EnvironmentTextTest, ChoosesTheRecordsByMethodStandardAndSlotMethod)
{
    struct Case {
        int nMethodIndex;
        int nStandard;
        wchar_t chLetter;
        std::vector<Source> expected;
    };
    const Case cases[] = {
        {1, 0, L'A', {Source::Temperature}},
        {0, 0, L'M', {Source::ManualEntry, Source::Temperature}},
        {1, 1, L'A', {Source::TemperatureBarometric}},
        {2, 3, L'S', {Source::TemperatureBarometric}},
        {0, 1, L'M', {Source::ManualEntry, Source::TemperatureBarometric, Source::Baseline}},
        {1, 3, L'M', {Source::TemperatureBarometric, Source::Baseline}},
        {1, 2, L'M', {Source::TemperatureAltitude}},
        {0, 2, L'M', {Source::ManualEntry, Source::TemperatureAltitude}},
        {1, 7, L'A', {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CSimbrel1View::GetTestEnvironmentSources(c.nMethodIndex, c.nStandard, c.chLetter))
            << c.nMethodIndex << " " << c.nStandard << " " << static_cast<char>(c.chLetter);
    }
}

class ViewServicesTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        g_bLiveReadings = m_bSavedLive;
        g_nCurrentDirection = m_nSavedDirection;
    }

    CTestView m_view{L"servicesroot"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    int m_bSavedLive = g_bLiveReadings;
    int m_nSavedDirection = g_nCurrentDirection;
};

TEST_F(ViewServicesTest, FillsTheTestListAndFindsThePairToSelect)
{
    m_view->m_pTestGraph->m_CompletedTests[0] = 2;
    m_view->m_pTestGraph->m_CompletedTests[1] = 1;
    CTestWindow combo(L"COMBOBOX", WS_POPUP | CBS_DROPDOWNLIST);
    CWnd wndCombo;
    ASSERT_TRUE(wndCombo.Attach(combo.m_hWnd));
    std::vector<CSimbrel1View::CTestPair> pairs;

    EXPECT_EQ(2, m_view->FillTestCombo(&wndCombo, pairs, 1, 0));
    ASSERT_EQ(3u, pairs.size());
    const std::pair<int, int> expected[] = {{0, 0}, {0, 1}, {1, 0}};
    const wchar_t* items[] = {L"Pressurization Test 1", L"Pressurization Test 2", L"Depressurization Test 1"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i], std::make_pair(pairs[i].nDirection, pairs[i].nTestIndex));
        wchar_t szItem[64] = {};
        ::SendMessageW(combo.m_hWnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szItem));
        EXPECT_STREQ(items[i], szItem);
    }

    ::SendMessageW(combo.m_hWnd, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(-1, m_view->FillTestCombo(&wndCombo, pairs, 0, 2));
    EXPECT_EQ(3u, pairs.size());
    EXPECT_EQ(-1, m_view->FillTestCombo(nullptr, pairs, 0, 0));
    wndCombo.Detach();
}

TEST_F(ViewServicesTest, WarnsAboveTheFansAdjustedPressureLimitOnly)
{
    struct Case {
        double dPressure;
        wchar_t chFan;
        int nNamed;  // 0: no warning
    };
    const Case cases[] = {
        {100.0, L'3', 80}, {85.0, L'5', 0}, {85.01, L'5', 80}, {100.0, L'A', 0},
        {105.0, L'4', 0},  {105.5, L'B', 100}, {-200.0, L'3', 0},
    };
    for (const Case& c : cases) {
        m_answerer.programMessages.clear();
        if (c.nNamed != 0) {
            m_answerer.ReplyToProgramMessage(IDS_ADJUSTED_PRESSURE_WARNING, IDOK,
                                             c.nNamed == 80 ? L"greater than 80  Pa." : L"greater than 100  Pa.");
        }
        EXPECT_EQ(c.nNamed != 0 ? 1 : 0, m_view->CheckAdjustedPressureLimit(c.dPressure, c.chFan))
            << c.dPressure << " " << static_cast<char>(c.chFan);
        ASSERT_EQ(c.nNamed != 0 ? 1u : 0u, m_answerer.programMessages.size());
        if (c.nNamed != 0) {
            const auto& shown = m_answerer.programMessages[0];
            EXPECT_EQ(IDI_MESSAGE_NOTE, shown.nIcon);
            EXPECT_EQ(0, shown.nKind);
            EXPECT_EQ(255, shown.nHelpTopic);
            EXPECT_EQ(0u, shown.text.find(L"WARNING!  Adjusted building pressure\r\n"));
        }
    }
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(ViewServicesTest, ResetsTargetsAndEveryLinksChannelTableKeepingZeroOffsets)
{
    double (&targets)[2][CTestGraph1::kMaxTargets + 1] = m_view->m_pTestGraph->m_Targets;
    for (auto& row : targets)
        for (double& dTarget : row)
            dTarget = 42.0;
    for (CQarCommunications* pLink : m_view->m_pLink) {
        for (CChannelCalibration& channel : pLink->m_Channels) {
            channel = CChannelCalibration{};
            channel.m_nChannel = 99;
            channel.m_nRange = 7;
            channel.m_dGain[0] = channel.m_dGain[1] = 3.5;
            channel.m_dZero[0] = -1.25;
            channel.m_dZero[1] = 2.5;
        }
    }

    m_view->ResetChannelTables();

    for (const auto& row : targets) {
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(0.0, row[i]) << i;
        EXPECT_EQ(42.0, row[11]);
        EXPECT_EQ(42.0, row[12]);
    }
    const short kChannels[16] = {1, 2, 3, 4, 5, 6, 7, 8, 20, 19, 18, 17, 24, 23, 22, 21};
    for (CQarCommunications* pLink : m_view->m_pLink) {
        for (int i = 0; i < 16; ++i) {
            const CChannelCalibration& channel = pLink->m_Channels[i];
            EXPECT_EQ(kChannels[i], channel.m_nChannel) << i;
            EXPECT_EQ(i == 1 ? 0 : 1, channel.m_nRange) << i;
            EXPECT_EQ(1.0, channel.m_dGain[0]);
            EXPECT_EQ(1.0, channel.m_dGain[1]);
            EXPECT_EQ(-1.25, channel.m_dZero[0]);
            EXPECT_EQ(2.5, channel.m_dZero[1]);
        }
    }
}

// Answers the equipment dialog as a person who picks another fan (or not)
// and notes whether live readings were off meanwhile.
class CEquipmentAnswerer : public CTestAnswerer {
public:
    bool AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult) override
    {
        shownTemplates.push_back(nIDTemplate);
        bLiveDuring = g_bLiveReadings;
        if (auto* pEquipment = dynamic_cast<CEquipmentInfoDialogIntl*>(pDialog)) {
            pEquipment->m_chFanCode = chNewFan;
            pEquipment->m_bCalibrationChanged = bCalibrationChanged;
        }
        *pResult = nResult;
        return true;
    }
    std::vector<UINT> shownTemplates;
    int bLiveDuring = -1;
    wchar_t chNewFan = L'3';
    int bCalibrationChanged = 0;
    INT_PTR nResult = IDOK;
};

TEST_F(ViewServicesTest, EquipmentDialogResetsTheRingOnlyWhenTheFanOrItsCalibrationChanged)
{
    struct Case {
        const char* name;
        wchar_t chNewFan;
        int bCalibrationChanged;
        INT_PTR nResult;
        bool bReset;
    };
    const Case cases[] = {
        {"same fan", L'3', 0, IDOK, false},
        {"another fan", L'A', 0, IDOK, true},
        {"custom calibration entered", L'3', 1, IDOK, true},
        {"another fan, cancelled", L'A', 0, IDCANCEL, false},
    };
    for (const Case& c : cases) {
        CEquipmentAnswerer answerer;
        CScopedAnswerer scope(answerer);
        answerer.chNewFan = c.chNewFan;
        answerer.bCalibrationChanged = c.bCalibrationChanged;
        answerer.nResult = c.nResult;
        m_view->m_pEquipment->m_chFanCode = L'3';
        g_nCurrentDirection = 1;
        m_view->m_pTestGraph->m_CurrentRing[0] = 2;
        m_view->m_pTestGraph->m_CurrentRing[1] = 3;
        m_view->m_pManualEntry->m_strBuildingP[0][1] = L"50";
        m_view->m_pManualEntry->m_strBuildingP[1][1] = L"-50";
        g_bLiveReadings = 1;
        m_view->m_bLayoutPending = 1;

        m_view->RunEquipmentDialog(0);

        ASSERT_EQ(std::vector<UINT>{CEquipmentInfoDialogIntl::IDD}, answerer.shownTemplates) << c.name;
        EXPECT_EQ(0, answerer.bLiveDuring) << c.name;
        EXPECT_EQ(1, g_bLiveReadings) << c.name;
        EXPECT_EQ(0, m_view->m_bLayoutPending) << c.name;
        EXPECT_EQ(2, m_view->m_pTestGraph->m_CurrentRing[0]) << c.name;
        EXPECT_EQ(c.bReset ? 0 : 3, m_view->m_pTestGraph->m_CurrentRing[1]) << c.name;
        EXPECT_EQ(c.bReset, m_view->m_pManualEntry->m_strBuildingP[0][1].IsEmpty()) << c.name;
        EXPECT_EQ(c.bReset, m_view->m_pManualEntry->m_strBuildingP[1][1].IsEmpty()) << c.name;
    }

    // The keep-layout flag leaves a pending layout for the next page.
    CEquipmentAnswerer answerer;
    CScopedAnswerer scope(answerer);
    m_view->m_bLayoutPending = 1;
    g_bLiveReadings = 0;
    m_view->RunEquipmentDialog(1);
    EXPECT_EQ(1, m_view->m_bLayoutPending);
    EXPECT_EQ(0, g_bLiveReadings);
}

TEST_F(ViewServicesTest, BusinessInfoRunsTheLetterheadDialogWithLiveReadingsOff)
{
    CEquipmentAnswerer answerer;
    CScopedAnswerer scope(answerer);
    g_bLiveReadings = 1;
    m_view->m_bLayoutPending = 1;
    m_view->OnOptionsBusinessInfo();
    EXPECT_EQ(std::vector<UINT>{149}, answerer.shownTemplates);
    EXPECT_EQ(0, answerer.bLiveDuring);
    EXPECT_EQ(1, g_bLiveReadings);
    EXPECT_EQ(0, m_view->m_bLayoutPending);
}

TEST_F(ViewServicesTest, LiveReadingsSwitchReturnsThePreviousState)
{
    g_bLiveReadings = 1;
    EXPECT_EQ(1, m_view->SetLiveReadingsEnabled(0));
    EXPECT_EQ(0, g_bLiveReadings);
    EXPECT_EQ(0, m_view->SetLiveReadingsEnabled(1));
    EXPECT_EQ(1, g_bLiveReadings);
}

TEST_F(ViewServicesTest, PageFontFollowsTheClientSizeAndTheFactor)
{
    CTestWindow window(L"STATIC", WS_POPUP);
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(window.m_hWnd));
    m_view->m_ClientSize = CSize(1180, 760);
    EXPECT_DOUBLE_EQ(2.0, m_view->GetPageFontScale(&wnd));
    m_view->m_ClientSize = CSize(1180, 570);
    EXPECT_DOUBLE_EQ(1.5, m_view->GetPageFontScale(&wnd));
    EXPECT_EQ(0.0, m_view->GetPageFontScale(nullptr));
    wnd.Detach();

    // The view needs a window for its scale: lend it one.
    CTestWindow viewWindow(L"STATIC", WS_POPUP);
    ASSERT_TRUE(m_view->Attach(viewWindow.m_hWnd));
    m_view->m_ClientSize = CSize(1180, 760);
    CHelpDialog page;
    ASSERT_TRUE(page.Create(IDD_HELP_PANEL));
    const HDC hDC = ::GetDC(viewWindow.m_hWnd);
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSX);
    ::ReleaseDC(viewWindow.m_hWnd, hDC);
    const double d = 96.0 / ((nDpi - 96.0) / 7.0 + 96.0);

    for (const double dFactor : {1.0, 0.75}) {
        m_view->CreatePageFont(&page, dFactor);
        ASSERT_NE(nullptr, m_view->m_pPageFont);
        LOGFONTW lf{};
        ASSERT_NE(0, m_view->m_pPageFont->GetLogFont(&lf));
        EXPECT_EQ(-static_cast<int>(11.0 * 2.0 * dFactor * d), lf.lfHeight) << dFactor;
        if (nDpi == 96 && dFactor == 1.0) {
            EXPECT_EQ(-22, lf.lfHeight);
        }
    }
    EXPECT_EQ(1, m_view->m_bPageLogFontTaken);
    page.DestroyWindow();
    m_view->Detach();
}

}  // namespace
