// Baseline data entry: the averages (typed and stored alike), the checks of
// gauge mode, the readings block of the file, and the dialog itself.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/BaselineDataEntry.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"

TEST(BaselineAverages, EveryNonEmptyLineIsOneReading)
{
    struct Case {
        const wchar_t* pszText;
        const wchar_t* pszAvg;
        const wchar_t* pszPlus;
        const wchar_t* pszMinus;
    };
    const Case cases[] = {
        {L"1.2\r\n-0.5\r\n0.8", L"0.50", L"1.00", L"-0.50"},
        {L"0\r\n0", L"0.00", L"0.00", L"0.00"},
        {L"", L"0.00", L"0.00", L"0.00"},
        // Blank lines and every kind of line end change nothing.
        {L"1.2\r\n\r\n-0.5\n0.8\r\n", L"0.50", L"1.00", L"-0.50"},
        {L"1.2\r-0.5\f0.8\n", L"0.50", L"1.00", L"-0.50"},
        {L"\n", L"0.00", L"0.00", L"0.00"},
        // A reading that is no number counts as 0.
        {L"2\r\nabc", L"1.00", L"2.00", L"0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.pszText).ToAnsi());
        const BaselineAverages a = ComputeBaselineAverages(c.pszText);
        EXPECT_EQ(a.strAvg.str(), c.pszAvg);
        EXPECT_EQ(a.strPlus.str(), c.pszPlus);
        EXPECT_EQ(a.strMinus.str(), c.pszMinus);
    }
}

TEST(BaselineAverages, EnterTwiceLeavesOneLineBreak)
{
    CString s = L"1.2\r\n\r\n";
    EXPECT_TRUE(DropDoubleLineBreak(s));
    EXPECT_EQ(s.str(), L"1.2\r\n");
    EXPECT_FALSE(DropDoubleLineBreak(s));
    CString shortText = L"\r\n\r\n";
    EXPECT_TRUE(DropDoubleLineBreak(shortText));
    CString three = L"1\r\n";
    EXPECT_FALSE(DropDoubleLineBreak(three));
}

TEST(BaselineAverages, GaugeModeChecksInTheirOrder)
{
    struct Case {
        const wchar_t* pre[3];   // avg, plus, minus
        const wchar_t* post[3];
        int nMessage;
    };
    const Case cases[] = {
        {{L"1.5", L"", L""}, {L"", L"", L""}, IDS_BASELINE_PRETEST_PARTLY},
        {{L"1.5", L"", L""}, {L"1", L"", L""}, IDS_BASELINE_PRETEST_PARTLY},
        {{L"", L"", L""}, {L"1", L"2", L""}, IDS_BASELINE_POSTTEST_PARTLY},
        {{L"1.5", L"2.0", L"1.0"}, {L"", L"", L""}, IDS_BASELINE_WRONG_SIGN},
        {{L"0.5", L"-1.0", L"-1.0"}, {L"", L"", L""}, IDS_BASELINE_WRONG_SIGN},
        {{L"0", L"1", L"-1"}, {L"0", L"1", L"0.5"}, IDS_BASELINE_WRONG_SIGN},
        // The sign check comes before the order check.
        {{L"2.5", L"2.0", L"1.0"}, {L"", L"", L""}, IDS_BASELINE_WRONG_SIGN},
        {{L"2.5", L"2.0", L"-1.0"}, {L"", L"", L""}, IDS_BASELINE_AVG_OUTSIDE},
        {{L"-1.5", L"2.0", L"-1.0"}, {L"", L"", L""}, IDS_BASELINE_AVG_OUTSIDE},
        {{L"0.5", L"2.0", L"-1.0"}, {L"0.1", L"0.5", L"-0.2"}, 0},
        {{L"0.5", L"2.0", L"-1.0"}, {L"0.9", L"0.5", L"-0.2"}, IDS_BASELINE_AVG_OUTSIDE},
        // A phase with three empty fields passes.
        {{L"", L"", L""}, {L"", L"", L""}, 0},
        {{L"0.5", L"2.0", L"-1.0"}, {L"", L"", L""}, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(CheckBaselineAverages(c.pre[0], c.pre[1], c.pre[2], c.post[0], c.post[1], c.post[2]), c.nMessage)
            << "case " << i;
    }
}

TEST(BaselineFile, ReadingsBlockIsWrittenWithLfFormFeedCrLfAndReadBack)
{
    CBaselineDataEntry b;
    b.m_nDataSource[0] = 0;
    b.m_strPretestReadings[0] = L"1.2\r\n-0.5\r\n0.8";
    const CString strText = b.WriteToFile(0);
    EXPECT_EQ(strText.str(), L"P_Manual_Entry_Baseline_Data_Source: 0\n"
                             L"P_Manual_Entry_Pretest_Baseline_Data: 1.2\r\n-0.5\r\n0.8\n\f\r\n");

    CBaselineDataEntry r;
    r.m_strPosttestAvg[0] = L"9";
    r.ReadFromText(L"X: 1\n" + strText, true, 0);
    EXPECT_EQ(r.m_strPretestReadings[0].str(), L"1.2\r\n-0.5\r\n0.8");
    EXPECT_EQ(r.m_strPretestAvg[0].str(), L"0.50");
    EXPECT_EQ(r.m_strPretestPlus[0].str(), L"1.00");
    EXPECT_EQ(r.m_strPretestMinus[0].str(), L"-0.50");
    // No post-test readings: "0.00" in all three.
    EXPECT_TRUE(r.m_strPosttestReadings[0].IsEmpty());
    EXPECT_EQ(r.m_strPosttestAvg[0].str(), L"0.00");
    EXPECT_EQ(r.m_strPosttestMinus[0].str(), L"0.00");
}

TEST(BaselineFile, StoredReadingsGiveTheTypedAveragesWhateverTheLineBreaks)
{
    // A blank line, a lone LF and a text whose block runs to the end: the
    // averages are those of the same readings typed.
    const wchar_t* const texts[] = {L"1.2\r\n\r\n-0.5\r\n0.8", L"1.2\n-0.5\r\n0.8", L"1.2\r\n-0.5\r\n\r\n0.8\r\n"};
    for (const wchar_t* pszReadings : texts) {
        SCOPED_TRACE(CString(pszReadings).ToAnsi());
        CBaselineDataEntry b;
        b.m_strPretestReadings[1] = pszReadings;
        b.m_strPosttestReadings[1] = L"0\r\n0";
        CBaselineDataEntry r;
        r.ReadFromText(b.WriteToFile(1), true, 0);
        const BaselineAverages typed = ComputeBaselineAverages(pszReadings);
        EXPECT_EQ(r.m_strPretestAvg[1], typed.strAvg);
        EXPECT_EQ(r.m_strPretestPlus[1], typed.strPlus);
        EXPECT_EQ(r.m_strPretestMinus[1], typed.strMinus);
        EXPECT_EQ(r.m_strPretestAvg[1].str(), L"0.50");
        EXPECT_EQ(r.m_strPosttestAvg[1].str(), L"0.00");
    }
    // A key with no form feed after it reads as no readings; the reader
    // never runs past the end.
    CBaselineDataEntry r;
    r.ReadFromText(L"P_Manual_Entry_Pretest_Baseline_Data: 1.2\r\n-0.5", true, 0);
    EXPECT_TRUE(r.m_strPretestReadings[0].IsEmpty());
    EXPECT_EQ(r.m_strPretestAvg[0].str(), L"0.00");
    // The key inside a line does not count.
    EXPECT_EQ(ExtractBaselineReadings(L"X P_K: 9\n\f\r\nP_K: 2\n\f", L"P_K:").str(), L"2");
}

TEST(BaselineFile, GaugeModeWritesAndReadsTheSixAveragesIntoTheStore)
{
    CTestView view(L"BaselineGaugeView");
    CBaselineDataEntry& b = *view->m_pBaseline;
    b.m_nDataSource[1] = 1;
    const wchar_t* const values[6] = {L"0.5", L"2.0", L"-1.0", L"0.1", L"0.5", L"-0.2"};
    CString* texts[6] = {&b.m_strPretestAvg[1],  &b.m_strPretestPlus[1],  &b.m_strPretestMinus[1],
                         &b.m_strPosttestAvg[1], &b.m_strPosttestPlus[1], &b.m_strPosttestMinus[1]};
    for (int i = 0; i < 6; ++i)
        *texts[i] = values[i];
    b.m_strPretestReadings[1] = L"7";
    const CString strText = b.WriteToFile(1);
    EXPECT_EQ(strText.str(), L"D_Manual_Entry_Baseline_Data_Source: 1\n"
                             L"D_Manual_Entry_Pretest_Baseline_Average: 0.5\n"
                             L"D_Manual_Entry_Pretest_Baseline_Plus: 2.0\n"
                             L"D_Manual_Entry_Pretest_Baseline_Minus: -1.0\n"
                             L"D_Manual_Entry_Posttest_Baseline_Average: 0.1\n"
                             L"D_Manual_Entry_Posttest_Baseline_Plus: 0.5\n"
                             L"D_Manual_Entry_Posttest_Baseline_Minus: -0.2\n");
    b.ClearData(1);
    b.m_nDataSource[1] = 0;
    b.ReadFromText(strText, true, 0);
    EXPECT_EQ(b.m_nDataSource[1], 1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(texts[i]->str(), values[i]);
    EXPECT_EQ(view->m_pTestGraph->m_TestBaselinePlusPre[1][0], 2.0);
    EXPECT_EQ(view->m_pTestGraph->m_TestBaselineMinusPre[1][0], -1.0);
    EXPECT_EQ(view->m_pTestGraph->m_TestBaselinePlusPost[1][0], 0.5);
    EXPECT_EQ(view->m_pTestGraph->m_TestBaselineMinusPost[1][0], -0.2);
}

TEST(BaselineFile, OldFormatFillsTheCurrentDirectionOnly)
{
    CBaselineDataEntry b;
    b.m_nDataSource[0] = 1;
    b.m_strPretestAvg[0] = L"4";
    b.ReadFromText(L"Baseline_Data_Source: 0\nPretestBaselineData: 1\r\n3\n\f\r\n"
                   L"P_Manual_Entry_Pretest_Baseline_Data: 9\n\f\r\n",
                   false, 1);
    EXPECT_EQ(b.m_nDataSource[0], 1);
    EXPECT_EQ(b.m_strPretestAvg[0].str(), L"4");
    EXPECT_EQ(b.m_strPretestReadings[1].str(), L"1\r\n3");
    EXPECT_EQ(b.m_strPretestAvg[1].str(), L"2.00");
}

namespace {

class BaselineDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pView->m_pSettings->m_nStandard = 1;
    }
    void TearDown() override
    {
        g_nCurrentDirection = m_nSavedDirection;
        CloseProgram();
    }
    CBaselineDataEntry& Baseline() const { return *m_pView->m_pBaseline; }
    INT_PTR Run(std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(IDD_BASELINE_ENTRY, m_driver.Run(std::move(steps)));
        return Baseline().DoModal();
    }
    void Answer(UINT nIDText, int nButton)
    {
        m_answerer.RunProgramMessage(nIDText, m_messageDriver.Run({[nButton](HWND h) { ClickItem(h, nButton); }}));
    }
    static bool Enabled(HWND h, int nID) { return ::IsWindowEnabled(::GetDlgItem(h, nID)) != FALSE; }
    static bool Checked(HWND h, int nID) { return ::IsDlgButtonChecked(h, nID) == BST_CHECKED; }

    int m_nSavedDirection = 0;
    CDialogDriver m_driver;
    CDialogDriver m_messageDriver;
};

}  // namespace

// Readings typed into the real edit give the averages at once and letters
// never get in; a change of source asks 5099, No puts the source back and
// Yes empties the readings for the gauge's averages; Cancel then restores
// what the dialog opened with. A picture of each source.
TEST_F(BaselineDialogTest, SourcesQuestionKeysAndCancel)
{
    CBaselineDataEntry& b = Baseline();
    b.m_nDataSource[0] = 0;
    b.m_strPretestReadings[0] = L"1.2\r\n-0.5";
    // The question's buttons: Yes first, No second.
    Answer(IDS_BASELINE_SOURCE_CHANGE, IDCANCEL);
    Answer(IDS_BASELINE_SOURCE_CHANGE, IDOK);
    // One step: the keys, clicks and answered questions run in order inside
    // the dialog's own loop.
    const INT_PTR nResult = Run({[&](HWND h) {
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_AVG), L"0.35");
        EXPECT_TRUE(Checked(h, IDC_BASELINE_SOURCE_READINGS));
        EXPECT_TRUE(Enabled(h, IDC_BASELINE_PRE_READINGS));
        EXPECT_FALSE(Enabled(h, IDC_BASELINE_PRE_AVG));
        // The keys of the readings edit: a letter is swallowed, Enter and
        // digits get in and the averages follow.
        ::SetFocus(::GetDlgItem(h, IDC_BASELINE_PRE_READINGS));
        ::SendDlgItemMessageW(h, IDC_BASELINE_PRE_READINGS, EM_SETSEL, 100, 100);
        PressKey('A');
        PumpPending();
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_READINGS), L"1.2\r\n-0.5");
        const HWND hEdit = ::GetFocus();
        for (const wchar_t ch : std::wstring(L"\r0.8"))
            ::PostMessageW(hEdit, WM_CHAR, ch, 1);
        PumpPending();
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_READINGS), L"1.2\r\n-0.5\r\n0.8");
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_AVG), L"0.50");
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_PLUS), L"1.00");
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_MINUS), L"-0.50");
        SaveScreenshot(h, L"baseline-readings.png");

        // No: the source goes back and the readings stay.
        ClickItem(h, IDC_BASELINE_SOURCE_GAUGE);
        PumpPending();
        EXPECT_TRUE(Checked(h, IDC_BASELINE_SOURCE_READINGS));
        EXPECT_FALSE(Checked(h, IDC_BASELINE_SOURCE_GAUGE));
        EXPECT_EQ(b.m_nDataSource[0], 0);
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_READINGS), L"1.2\r\n-0.5\r\n0.8");

        // Yes: the gauge's averages are typed instead.
        ClickItem(h, IDC_BASELINE_SOURCE_GAUGE);
        PumpPending();
        EXPECT_TRUE(Checked(h, IDC_BASELINE_SOURCE_GAUGE));
        EXPECT_EQ(b.m_nDataSource[0], 1);
        EXPECT_EQ(ItemText(h, IDC_BASELINE_PRE_READINGS), L"");
        EXPECT_FALSE(Enabled(h, IDC_BASELINE_PRE_READINGS));
        EXPECT_TRUE(Enabled(h, IDC_BASELINE_PRE_AVG));
        ::SetDlgItemTextW(h, IDC_BASELINE_PRE_AVG, L"0.4");
        SaveScreenshot(h, L"baseline-gauge.png");
        ClickItem(h, IDCANCEL);
    }});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    EXPECT_EQ(b.m_nDataSource[0], 0);
    EXPECT_EQ(b.m_strPretestReadings[0], L"1.2\r\n-0.5");
    EXPECT_EQ(b.m_strPretestAvg[0], L"0.35");
}

// Opened for a direction without tests while the other one has tests, the
// page takes the other direction's source and starts empty, unless this
// direction already has a pre-test average.
TEST_F(BaselineDialogTest, OpeningWithoutTestsTakesTheOtherDirectionsSource)
{
    struct Case {
        const wchar_t* pszPretestAvg;
        int nSource;
        const wchar_t* pszReadings;
    };
    const Case cases[] = {
        {L"", 1, L""},
        {L"0.35", 0, L"0.3\r\n0.4"},
    };
    CBaselineDataEntry& b = Baseline();
    g_nCurrentDirection = 1;
    m_pView->m_pTestGraph->m_CompletedTests[0] = 1;
    m_pView->m_pTestGraph->m_CompletedTests[1] = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszPretestAvg);
        b.m_nDataSource[0] = 1;
        b.m_nDataSource[1] = 0;
        b.m_strPretestReadings[1] = L"0.3\r\n0.4";
        b.m_strPretestAvg[1] = c.pszPretestAvg;
        int nSourceShown = -1;
        std::wstring readings;
        Run({[&](HWND h) {
            nSourceShown = Checked(h, IDC_BASELINE_SOURCE_GAUGE) ? 1 : Checked(h, IDC_BASELINE_SOURCE_READINGS) ? 0 : -1;
            readings = ItemText(h, IDC_BASELINE_PRE_READINGS);
            ClickItem(h, IDOK);
        }});
        EXPECT_EQ(nSourceShown, c.nSource);
        EXPECT_EQ(b.m_nDataSource[1], c.nSource);
        EXPECT_EQ(readings, c.pszReadings);
        EXPECT_EQ(b.m_strPretestReadings[1], c.pszReadings);
    }
    EXPECT_EQ(b.m_nDataSource[0], 1);
}

// Gauge mode: the averages shown when the page opens come back through OK
// as typed, and Cancel leaves every one as it was.
TEST_F(BaselineDialogTest, GaugeAveragesSurviveOpeningWithOkAndCancel)
{
    CBaselineDataEntry& b = Baseline();
    const wchar_t* const kAverages[6] = {L"0.5", L"1.0", L"-0.5", L"0.4", L"0.9", L"-0.2"};
    CString* const pTexts[6] = {&b.m_strPretestAvg[0],  &b.m_strPretestPlus[0],  &b.m_strPretestMinus[0],
                                &b.m_strPosttestAvg[0], &b.m_strPosttestPlus[0], &b.m_strPosttestMinus[0]};
    const int nIds[6] = {IDC_BASELINE_PRE_AVG,  IDC_BASELINE_PRE_PLUS,  IDC_BASELINE_PRE_MINUS,
                         IDC_BASELINE_POST_AVG, IDC_BASELINE_POST_PLUS, IDC_BASELINE_POST_MINUS};
    for (const int nButton : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(nButton);
        b.m_nDataSource[0] = 1;
        for (int i = 0; i < 6; ++i)
            *pTexts[i] = kAverages[i];
        std::vector<std::wstring> shown;
        const INT_PTR nResult = Run({[&](HWND h) {
            for (const int nId : nIds)
                shown.push_back(ItemText(h, nId));
            ClickItem(h, nButton);
        }});
        EXPECT_EQ(nResult, nButton);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(shown[static_cast<size_t>(i)], kAverages[i]) << i;
            EXPECT_EQ(*pTexts[i], kAverages[i]) << i;
        }
    }
}
