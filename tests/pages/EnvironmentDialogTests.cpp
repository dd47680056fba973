// The three environment entry dialogs of the running program, shown
// modally from their templates: typed into with WM_CHAR in the focused
// field, clicked with BM_CLICK, their messages answered with their buttons.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

enum Kind { kCgsb, kEnIso, kAstm };
constexpr int kAutomatic = 1;
constexpr int kManual = 0;

using Step = CDialogDriver::Step;

// Puts the focus in the field for real, selects its text and types.
Step TypeInto(int nID, std::wstring text)
{
    return [nID, text](HWND h) {
        const HWND hEdit = ::GetDlgItem(h, nID);
        ::SetFocus(hEdit);
        ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
        for (wchar_t ch : text)
            ::PostMessageW(hEdit, WM_CHAR, ch, 1);
    };
}

// Ends the dialog as its own code would, after a look at it.
void EndNow(HWND h)
{
    if (CDialog* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(h)))
        pDialog->EndDialog(IDCANCEL);
}

Step Click(int nID)
{
    return [nID](HWND h) { ClickItem(h, nID); };
}

}  // namespace

class EnvironmentDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        m_pView->m_pSettings->m_nMethodIndex = kAutomatic;
        g_nCurrentDirection = 0;
    }
    void TearDown() override
    {
        g_nCurrentDirection = 0;
        CloseProgram();
        g_pView = nullptr;
    }

    CEnvironmentDialog* Dialog(Kind kind) const
    {
        switch (kind) {
        case kCgsb:
            return m_pView->m_pTemperature;
        case kEnIso:
            return m_pView->m_pTempBaro;
        default:
            return m_pView->m_pTempAltitude;
        }
    }
    static UINT Template(Kind kind)
    {
        return kind == kCgsb ? IDD_TEMPERATURE_ENTRY : kind == kEnIso ? IDD_TEMPERATURE_BAROMETRIC : IDD_TEMPERATURE_ALTITUDE;
    }
    // Shows the dialog modally; the steps run from its own loop.
    INT_PTR Run(Kind kind, std::vector<Step> steps)
    {
        m_answerer.RunDialog(Template(kind), m_driver.Run(std::move(steps)));
        return Dialog(kind)->DoModal();
    }
    // The next program message is answered with its button nButton.
    void AnswerWith(UINT nIDText, int nButton)
    {
        m_answerer.RunProgramMessage(nIDText, m_messageDriver.Run({[nButton](HWND h) { ClickItem(h, nButton); }}));
    }
    // The indoor text of (slot, test) as recorded.
    CString Indoor(Kind kind, int d, int t) const
    {
        switch (kind) {
        case kCgsb:
            return m_pView->m_pTemperature->m_strTestIndoorTemp[d][t];
        case kEnIso:
            return m_pView->m_pTempBaro->m_strTestIndoorTemp[d][t];
        default:
            return m_pView->m_pTempAltitude->m_strTestPretestIndoorTemp[d][t];
        }
    }
    void SetIndoor(Kind kind, int d, int t, const wchar_t* pszText)
    {
        switch (kind) {
        case kCgsb:
            m_pView->m_pTemperature->m_strTestIndoorTemp[d][t] = pszText;
            break;
        case kEnIso:
            m_pView->m_pTempBaro->m_strTestIndoorTemp[d][t] = pszText;
            break;
        default:
            m_pView->m_pTempAltitude->m_strTestPretestIndoorTemp[d][t] = pszText;
            break;
        }
    }
    static int IndoorEdit(Kind kind) { return kind == kAstm ? IDC_ENV_PRE_INDOOR : IDC_ENV_INDOOR; }

    CDialogDriver m_driver;
    CDialogDriver m_messageDriver;
};

// Each range at and past both ends, per dialog and unit. A refused text
// shows its label and 11025 and keeps the dialog open with the focus on
// the field; an accepted one is recorded for the edited test.
TEST_F(EnvironmentDialogTest, RangesAtAndPastBothEnds)
{
    struct Case {
        Kind kind;
        int nTemperatureUnit;   // 0 F, 1 C
        int nBuildingUnit;      // 0 ft, 1 m
        int nSource;            // EN/ISO pressure source
        int nEdit;
        const wchar_t* pszTyped;
        const wchar_t* pszRecorded;   // null: refused
        const wchar_t* pszLabel;
    };
    const Case cases[] = {
        {kCgsb, 1, 0, 0, IDC_ENV_INDOOR, L"50", L"50", nullptr},
        {kCgsb, 1, 0, 0, IDC_ENV_INDOOR, L"51", nullptr, L"Indoor Temperature"},
        {kCgsb, 1, 0, 0, IDC_ENV_INDOOR, L"-50", L"-50", nullptr},
        {kCgsb, 1, 0, 0, IDC_ENV_OUTDOOR, L"-51", nullptr, L"Outdoor Temperature"},
        {kCgsb, 0, 0, 0, IDC_ENV_INDOOR, L"122", L"122", nullptr},
        {kCgsb, 0, 0, 0, IDC_ENV_INDOOR, L"123", nullptr, L"Indoor Temperature"},
        {kCgsb, 0, 0, 0, IDC_ENV_OUTDOOR, L"-58", L"-58", nullptr},
        {kCgsb, 0, 0, 0, IDC_ENV_OUTDOOR, L"-59", nullptr, L"Outdoor Temperature"},
        {kCgsb, 1, 0, 0, IDC_ENV_INDOOR, L"-", L"", nullptr},
        {kCgsb, 1, 0, 0, IDC_ENV_INDOOR, L".", L"", nullptr},
        {kCgsb, 1, 0, 0, IDC_ENV_INDOOR, L"0", L"0", nullptr},
        {kEnIso, 1, 1, 0, IDC_ENV_INDOOR, L"51", nullptr, L"Indoor Temperature"},
        {kEnIso, 0, 1, 0, IDC_ENV_OUTDOOR, L"-59", nullptr, L"Outdoor Temperature"},
        {kEnIso, 1, 1, 0, IDC_ENV_INDOOR, L"-", L"", nullptr},
        {kEnIso, 1, 1, 1, IDC_ENV_PRESSURE, L"50000", L"50000", nullptr},
        {kEnIso, 1, 1, 1, IDC_ENV_PRESSURE, L"49999", nullptr, L"Barometric Pressure"},
        {kEnIso, 1, 1, 1, IDC_ENV_PRESSURE, L"120000", L"120000", nullptr},
        {kEnIso, 1, 1, 1, IDC_ENV_PRESSURE, L"120001", nullptr, L"Barometric Pressure"},
        {kEnIso, 1, 1, 1, IDC_ENV_PRESSURE, L".", L"", nullptr},
        {kEnIso, 1, 1, 2, IDC_ENV_ALTITUDE, L"5000", L"5000", nullptr},
        {kEnIso, 1, 1, 2, IDC_ENV_ALTITUDE, L"5001", nullptr, L"Altitude"},
        {kEnIso, 1, 0, 2, IDC_ENV_ALTITUDE, L"15000", L"15000", nullptr},
        {kEnIso, 1, 0, 2, IDC_ENV_ALTITUDE, L"15001", nullptr, L"Altitude"},
        {kEnIso, 1, 1, 2, IDC_ENV_ALTITUDE, L"-334", L"334", nullptr},   // no minus gets in
        {kAstm, 1, 1, 0, IDC_ENV_PRE_INDOOR, L"51", nullptr, L"Pre-test Indoor Temperature"},
        {kAstm, 1, 1, 0, IDC_ENV_PRE_OUTDOOR, L"-51", nullptr, L"Pre-test Outdoor Temperature"},
        {kAstm, 0, 1, 0, IDC_ENV_POST_INDOOR, L"122", L"122", nullptr},
        {kAstm, 0, 1, 0, IDC_ENV_POST_OUTDOOR, L"-59", nullptr, L"Post-test Outdoor Temperature"},
        {kAstm, 1, 1, 0, IDC_ENV_ALTITUDE, L"-333", L"-333", nullptr},
        {kAstm, 1, 1, 0, IDC_ENV_ALTITUDE, L"-334", nullptr, L"Altitude"},
        {kAstm, 1, 1, 0, IDC_ENV_ALTITUDE, L"5001", nullptr, L"Altitude"},
        {kAstm, 1, 0, 0, IDC_ENV_ALTITUDE, L"-1000", L"-1000", nullptr},
        {kAstm, 1, 0, 0, IDC_ENV_ALTITUDE, L"-1001", nullptr, L"Altitude"},
        {kAstm, 1, 0, 0, IDC_ENV_ALTITUDE, L"15001", nullptr, L"Altitude"},
        {kAstm, 1, 0, 0, IDC_ENV_ALTITUDE, L"-", L"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "dialog " << c.kind << " edit " << c.nEdit << " typed "
                                          << CString(c.pszTyped).ToAnsi() << " unit " << c.nTemperatureUnit
                                          << "/" << c.nBuildingUnit);
        m_pView->m_nTemperatureUnit = c.nTemperatureUnit;
        m_pView->m_nBuildingUnit = c.nBuildingUnit;
        CEnvironmentDialog* pDialog = Dialog(c.kind);
        pDialog->ClearDirection(1);
        pDialog->m_nEditDirection = 1;
        pDialog->m_nEditTest = 4;
        m_pView->m_pTempBaro->m_nTestPressureSource[1][4] = c.nSource;
        m_pView->m_pTempAltitude->m_nStage = CTemperatureAndAltitudeEntry::kBothStages;

        bool bOpenAfter = false;
        std::vector<Step> steps = {TypeInto(c.nEdit, c.pszTyped), Click(IDOK)};
        if (c.pszRecorded == nullptr) {
            AnswerWith(0, IDOK);
            steps.push_back([&](HWND h) {
                bOpenAfter = ::IsWindowVisible(h) != FALSE;
                ClickItem(h, IDCANCEL);
            });
        }
        const size_t nShown = m_answerer.programMessages.size();
        const INT_PTR nResult = Run(c.kind, std::move(steps));
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
        if (c.pszRecorded == nullptr) {
            EXPECT_EQ(nResult, IDCANCEL);
            EXPECT_TRUE(bOpenAfter);
            ASSERT_EQ(m_answerer.programMessages.size(), nShown + 1);
            const auto& shown = m_answerer.programMessages.back();
            EXPECT_EQ(shown.text, std::wstring(c.pszLabel) + L" is out of range.\n\nPlease reenter.");
            EXPECT_EQ(shown.nIcon, 175);
            EXPECT_EQ(shown.nKind, 0);
            continue;
        }
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(m_answerer.programMessages.size(), nShown);
        CString strRecorded;
        switch (c.nEdit) {
        case IDC_ENV_PRESSURE:
            strRecorded = m_pView->m_pTempBaro->m_strTestBaroPressure[1][4];
            break;
        case IDC_ENV_ALTITUDE:
            strRecorded = c.kind == kAstm ? m_pView->m_pTempAltitude->m_strTestAltitude[1][4]
                                          : m_pView->m_pTempBaro->m_strTestAltitude[1][4];
            break;
        case IDC_ENV_OUTDOOR:
            strRecorded = c.kind == kCgsb ? m_pView->m_pTemperature->m_strTestOutdoorTemp[1][4]
                                          : m_pView->m_pTempBaro->m_strTestOutdoorTemp[1][4];
            break;
        case IDC_ENV_POST_INDOOR:
            strRecorded = m_pView->m_pTempAltitude->m_strTestPosttestIndoorTemp[1][4];
            break;
        default:
            strRecorded = Indoor(c.kind, 1, 4);
            break;
        }
        EXPECT_EQ(strRecorded, c.pszRecorded);
    }
}

// With the standard pressure no pressure text is tested and 101325 Pa is
// used, whatever the record held; the source buttons enable their fields.
TEST_F(EnvironmentDialogTest, PressureSourcesAndTheirFields)
{
    m_pView->m_nBuildingUnit = 1;
    CTemperatureAndBarometricPressure& dialog = *m_pView->m_pTempBaro;
    dialog.m_strTestBaroPressure[0][0] = L"5";
    struct Enabled {
        BOOL bPressure, bPressureUnit, bAltitude, bStandard, bStandardUnit;
    };
    std::vector<Enabled> seen;
    auto look = [&seen](HWND h) {
        seen.push_back({::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_PRESSURE)),
                        ::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_PRESSURE_UNIT)),
                        ::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_ALTITUDE)),
                        ::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_STANDARD_VALUE)),
                        ::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_STANDARD_UNIT))});
    };
    int nSourceAfterClick = -1;
    double dPressureFromAltitude = 0.0;
    const INT_PTR nResult =
        Run(kEnIso, {look, Click(IDC_ENV_SOURCE_PRESSURE), look, Click(IDC_ENV_SOURCE_ALTITUDE), look,
                     TypeInto(IDC_ENV_ALTITUDE, L"300"), Click(IDC_ENV_SOURCE_ALTITUDE),
                     [&](HWND) {
                         nSourceAfterClick = dialog.m_nPressureSource;
                         dPressureFromAltitude = dialog.m_dBaroPressure;
                     },
                     Click(IDC_ENV_SOURCE_STANDARD), look, Click(IDOK)});
    ASSERT_EQ(nResult, IDOK);
    ASSERT_EQ(seen.size(), 4u);
    const Enabled expected[] = {{FALSE, FALSE, FALSE, TRUE, TRUE},
                                {TRUE, TRUE, FALSE, FALSE, FALSE},
                                {FALSE, FALSE, TRUE, FALSE, FALSE},
                                {FALSE, FALSE, FALSE, TRUE, TRUE}};
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].bPressure, expected[i].bPressure);
        EXPECT_EQ(seen[i].bPressureUnit, expected[i].bPressureUnit);
        EXPECT_EQ(seen[i].bAltitude, expected[i].bAltitude);
        EXPECT_EQ(seen[i].bStandard, expected[i].bStandard);
        EXPECT_EQ(seen[i].bStandardUnit, expected[i].bStandardUnit);
    }
    EXPECT_EQ(nSourceAfterClick, 2);
    EXPECT_NEAR(dPressureFromAltitude, m_pView->m_pMath->BarometricPressureFromAltitude(1, 300.0), 1e-6);
    EXPECT_LT(dPressureFromAltitude, 101325.0);
    EXPECT_EQ(dialog.m_nTestPressureSource[0][0], 0);
    EXPECT_EQ(dialog.m_dBaroPressure, 101325.0);
    EXPECT_EQ(dialog.m_strTestBaroPressure[0][0], L"5");   // not tested with the standard pressure
    EXPECT_EQ(dialog.m_strTestAltitude[0][0], L"300");
}

// Texts, hint and Cancel of the ASTM stages.
TEST_F(EnvironmentDialogTest, AstmStages)
{
    struct Case {
        int nStage;
        int bEditMode;
        const wchar_t* pszHint;
        bool bPostEnabled;
        bool bCancelShown;
        int nFocus;
    };
    const Case cases[] = {
        {1, 0, L"Pretest Temperatures must be entered prior to the test.", false, true, IDC_ENV_PRE_INDOOR},
        {2, 0, L"Posttest Temperatures must be entered following the test.", true, false, IDC_ENV_POST_INDOOR},
        {3, 0, L"All Temperature and Altitude data must be entered", true, true, IDC_ENV_PRE_INDOOR},
        {2, 1, nullptr, true, true, IDC_ENV_POST_INDOOR},
    };
    m_pView->m_nTemperatureUnit = 1;
    m_pView->m_nBuildingUnit = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStage * 10 + c.bEditMode);
        CTemperatureAndAltitudeEntry& dialog = *m_pView->m_pTempAltitude;
        dialog.m_nStage = c.nStage;
        dialog.m_bEditMode = c.bEditMode;
        std::wstring hint, caption, cancel, indoorLabel, unit, head;
        BOOL bPost = FALSE, bCancel = FALSE;
        int nFocus = 0;
        Run(kAstm, {[&](HWND h) {
            hint = ItemText(h, IDC_ENV_HINT);
            caption = WindowText(h);
            cancel = ItemText(h, IDCANCEL);
            indoorLabel = ItemText(h, IDC_ENV_INDOOR_ROW_LABEL);
            unit = ItemText(h, IDC_ENV_ALTITUDE_UNIT);
            head = ItemText(h, IDC_ENV_PRE_HEAD);
            bPost = ::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_POST_INDOOR)) &&
                    ::IsWindowEnabled(::GetDlgItem(h, IDC_ENV_POST_OUTDOOR));
            bCancel = ::IsWindowVisible(::GetDlgItem(h, IDCANCEL));
            nFocus = ::GetDlgCtrlID(::GetFocus());
            EndNow(h);
        }});
        if (c.pszHint != nullptr) {
            EXPECT_EQ(hint, c.pszHint);
        }
        EXPECT_EQ(bPost != FALSE, c.bPostEnabled);
        EXPECT_EQ(bCancel != FALSE, c.bCancelShown);
        EXPECT_EQ(nFocus, c.nFocus);
        EXPECT_EQ(cancel, c.bEditMode ? L"Cancel" : L"Cancel Test");
        EXPECT_EQ(caption, c.bEditMode ? std::wstring(L"Edit Temperature and Altitude Data")
                                       : std::wstring(m_pView->m_pSettings->GetStandardName().GetString()) +
                                             L" Temperature and Altitude Entry");
        EXPECT_EQ(indoorLabel, L"Indoor Temperature (°C)");
        EXPECT_EQ(unit, L"ft");
        EXPECT_EQ(head, L"Pre-Test");
        dialog.m_bEditMode = 0;
    }
}

// Cancel ends the dialog in an automated test; in a manual test it reads
// "Clear Entries", empties all 32 tests of the slot and stays open. Esc
// does nothing.
TEST_F(EnvironmentDialogTest, CancelTestClearEntriesAndEsc)
{
    for (Kind kind : {kCgsb, kEnIso, kAstm}) {
        SCOPED_TRACE(kind);
        m_pView->m_pTempAltitude->m_nStage = CTemperatureAndAltitudeEntry::kBothStages;
        m_pView->m_pSettings->m_nMethodIndex = kAutomatic;
        SetIndoor(kind, 0, 0, L"20");
        std::wstring cancel;
        bool bOpenAfterEsc = false;
        INT_PTR nResult = Run(kind, {[&](HWND h) { cancel = ItemText(h, IDCANCEL); }, TypeInto(IndoorEdit(kind), L"21"),
                                     [](HWND) { PressKey(VK_ESCAPE); },
                                     [&](HWND h) { bOpenAfterEsc = ::IsWindowVisible(h) != FALSE; },
                                     Click(IDCANCEL)});
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_TRUE(bOpenAfterEsc);
        EXPECT_EQ(cancel, L"Cancel Test");
        EXPECT_EQ(Indoor(kind, 0, 0), L"20");   // Cancel records nothing

        m_pView->m_pSettings->m_nMethodIndex = kManual;
        for (int t = 0; t < 32; ++t)
            SetIndoor(kind, 0, t, L"18");
        SetIndoor(kind, 1, 0, L"17");
        std::wstring shownAfterClear;
        bool bOpenAfterClear = false;
        nResult = Run(kind, {[&](HWND h) { cancel = ItemText(h, IDCANCEL); }, Click(IDCANCEL), [&](HWND h) {
                                 bOpenAfterClear = ::IsWindowVisible(h) != FALSE;
                                 shownAfterClear = ItemText(h, IndoorEdit(kind));
                                 ClickItem(h, IDOK);
                             }});
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(cancel, L"Clear Entries");
        EXPECT_TRUE(bOpenAfterClear);
        EXPECT_EQ(shownAfterClear, L"");
        for (int t = 0; t < 32; ++t)
            EXPECT_TRUE(Indoor(kind, 0, t).IsEmpty()) << t;
        EXPECT_EQ(Indoor(kind, 1, 0), L"17");   // the other slot stays
    }
}

// Edit mode: the list holds the recorded tests of both directions, a
// selection loads that test, and the changes are kept only on Yes.
TEST_F(EnvironmentDialogTest, EditModeListAndConfirmation)
{
    CTestGraph1& store = *m_pView->m_pTestGraph;
    store.m_CompletedTests[0] = 2;
    store.m_CompletedTests[1] = 1;
    for (Kind kind : {kCgsb, kEnIso, kAstm}) {
        for (int nAnswer : {IDNO, IDYES}) {
            SCOPED_TRACE(::testing::Message() << "dialog " << kind << " answer " << nAnswer);
            CEnvironmentDialog* pDialog = Dialog(kind);
            m_pView->m_pTempAltitude->m_nStage = CTemperatureAndAltitudeEntry::kBothStages;
            SetIndoor(kind, 0, 0, L"20");
            SetIndoor(kind, 0, 1, L"21");
            SetIndoor(kind, 1, 0, L"22");
            pDialog->m_bEditMode = 1;
            int nItems = 0;
            int nSelected = -1;
            BOOL bListEnabled = FALSE;
            std::wstring shown, caption;
            // The question's first button says Yes, its second No.
            AnswerWith(IDS_ENV_KEEP_CHANGES, nAnswer == IDYES ? IDOK : IDCANCEL);
            const INT_PTR nResult = Run(
                kind, {[&](HWND h) {
                           const HWND hList = ::GetDlgItem(h, IDC_ENV_TEST_LIST);
                           nItems = static_cast<int>(::SendMessageW(hList, CB_GETCOUNT, 0, 0));
                           nSelected = static_cast<int>(::SendMessageW(hList, CB_GETCURSEL, 0, 0));
                           bListEnabled = ::IsWindowEnabled(hList) && ::IsWindowVisible(hList);
                           caption = WindowText(h);
                           // The user picks the depressurization test.
                           ::SendMessageW(hList, CB_SETCURSEL, 2, 0);
                           ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_ENV_TEST_LIST, CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(hList));
                           shown = ItemText(h, IndoorEdit(kind));
                       },
                       TypeInto(IndoorEdit(kind), L"30"), Click(IDOK)});
            EXPECT_EQ(nResult, IDOK);
            EXPECT_TRUE(m_answerer.AllRepliesUsed());
            EXPECT_EQ(nItems, 3);
            EXPECT_EQ(nSelected, 0);
            EXPECT_TRUE(bListEnabled);
            EXPECT_EQ(shown, L"22");
            EXPECT_EQ(pDialog->m_bEditMode, 0);
            EXPECT_EQ(pDialog->m_nEditDirection, 1);
            EXPECT_EQ(pDialog->m_nEditTest, 0);
            EXPECT_EQ(Indoor(kind, 1, 0), nAnswer == IDYES ? L"30" : L"22");
            EXPECT_EQ(Indoor(kind, 0, 0), L"20");
            const wchar_t* const kCaptions[] = {L"Edit Temperature Data", L"Edit Temperature and Barometric Pressure Data",
                                                L"Edit Temperature and Altitude Data"};
            EXPECT_EQ(caption, kCaptions[kind]);
        }
    }
}

// Edit mode on a direction without tests edits the first listed test; with
// no test at all the current direction's first test, and nothing is read
// before the pair list.
TEST_F(EnvironmentDialogTest, EditModeOnADirectionWithoutTests)
{
    CTestGraph1& store = *m_pView->m_pTestGraph;
    CTemperatureEntryDialog& dialog = *m_pView->m_pTemperature;
    dialog.m_strTestIndoorTemp[0][0] = L"19";
    dialog.m_strTestIndoorTemp[1][0] = L"23";
    struct Case {
        int nTests0;
        int nTests1;
        int nDirection;
        int nItems;
        int nEditedSlot;
        const wchar_t* pszShown;
    };
    const Case cases[] = {{2, 0, 1, 2, 0, L"19"}, {0, 0, 1, 0, 1, L"23"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nItems);
        store.m_CompletedTests[0] = c.nTests0;
        store.m_CompletedTests[1] = c.nTests1;
        g_nCurrentDirection = c.nDirection;
        dialog.m_bEditMode = 1;
        int nItems = -1;
        int nSelected = -2;
        std::wstring shown;
        const INT_PTR nResult = Run(kCgsb, {[&](HWND h) {
            const HWND hList = ::GetDlgItem(h, IDC_ENV_TEST_LIST);
            nItems = static_cast<int>(::SendMessageW(hList, CB_GETCOUNT, 0, 0));
            nSelected = static_cast<int>(::SendMessageW(hList, CB_GETCURSEL, 0, 0));
            shown = ItemText(h, IDC_ENV_INDOOR);
            EndNow(h);
        }});
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_EQ(nItems, c.nItems);
        EXPECT_EQ(nSelected, c.nItems > 0 ? 0 : -1);
        EXPECT_EQ(dialog.m_nEditDirection, c.nEditedSlot);
        EXPECT_EQ(dialog.m_nEditTest, 0);
        EXPECT_EQ(shown, c.pszShown);
        dialog.m_bEditMode = 0;
    }
}

// Test-data mode: the list shows but cannot be changed, OK moves right and
// the CGSB and EN/ISO dialogs have no Cancel.
TEST_F(EnvironmentDialogTest, TestDataMode)
{
    CTestGraph1& store = *m_pView->m_pTestGraph;
    store.m_CompletedTests[0] = 1;
    for (Kind kind : {kCgsb, kEnIso, kAstm}) {
        SCOPED_TRACE(kind);
        CEnvironmentDialog* pDialog = Dialog(kind);
        m_pView->m_pTempAltitude->m_nStage = CTemperatureAndAltitudeEntry::kBothStages;
        CRect rcNormal, rcTestData;
        Run(kind, {[&](HWND h) {
            rcNormal = ItemRect(h, IDOK);
            EndNow(h);
        }});
        pDialog->m_bTestDataMode = 1;
        BOOL bListShown = FALSE, bListEnabled = TRUE, bCancel = FALSE, bHint = TRUE;
        CRect rcCancel, rcHelp;
        Run(kind, {[&](HWND h) {
            rcTestData = ItemRect(h, IDOK);
            rcCancel = ItemRect(h, IDCANCEL);
            rcHelp = ItemRect(h, IDC_ENV_HELP);
            const HWND hList = ::GetDlgItem(h, IDC_ENV_TEST_LIST);
            bListShown = ::IsWindowVisible(hList);
            bListEnabled = ::IsWindowEnabled(hList);
            bCancel = ::IsWindowVisible(::GetDlgItem(h, IDCANCEL));
            bHint = ::IsWindowVisible(::GetDlgItem(h, kind == kEnIso ? IDC_ENV_HINT_BAROMETRIC : IDC_ENV_HINT));
            const wchar_t* const kNames[] = {L"environment-cgsb-testdata.png", L"environment-en-iso-testdata.png",
                                             L"environment-astm-testdata.png"};
            SaveScreenshot(h, kNames[kind]);
            EndNow(h);
        }});
        pDialog->m_bTestDataMode = 0;
        EXPECT_EQ(rcTestData.left - rcNormal.left, kind == kAstm ? 120 : 84);
        EXPECT_EQ(rcTestData.top, rcNormal.top);
        EXPECT_TRUE(bListShown);
        EXPECT_FALSE(bListEnabled);
        EXPECT_FALSE(bHint);
        EXPECT_EQ(bCancel != FALSE, kind == kAstm);
        if (bCancel) {
            // A Cancel that stays lies clear of the moved OK and of Help.
            EXPECT_GE(rcCancel.left, rcTestData.right);
            EXPECT_LE(rcCancel.right, rcHelp.left);
        }
    }
}

// Captions and labels of the normal mode, and a picture of each dialog in
// the normal and the edit mode.
TEST_F(EnvironmentDialogTest, TextsAndPictures)
{
    m_pView->m_nTemperatureUnit = 0;
    m_pView->m_nBuildingUnit = 1;
    m_pView->m_pTestGraph->m_CompletedTests[0] = 1;
    m_pView->m_pTempAltitude->m_nStage = CTemperatureAndAltitudeEntry::kBothStages;
    const std::wstring standard = m_pView->m_pSettings->GetStandardName().GetString();
    struct Case {
        Kind kind;
        const wchar_t* pszCaption;
        int nHint;
        const wchar_t* pszHint;
        const wchar_t* pszPicture;
    };
    const Case cases[] = {
        {kCgsb, L" Temperature Entry", IDC_ENV_HINT, L"Temperature values must be entered.", L"environment-cgsb"},
        {kEnIso, L" Temperature and Barometric Pressure Entry", IDC_ENV_HINT_BAROMETRIC,
         L"Temperature and Barometric Pressure values must be entered.", L"environment-en-iso"},
        {kAstm, L" Temperature and Altitude Entry", IDC_ENV_HINT, L"All Temperature and Altitude data must be entered",
         L"environment-astm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::wstring caption, hint, ok, help, indoor;
        std::vector<std::wstring> others;
        Run(c.kind, {[&](HWND h) {
            caption = WindowText(h);
            hint = ItemText(h, c.nHint);
            ok = ItemText(h, IDOK);
            help = ItemText(h, IDC_ENV_HELP);
            indoor = ItemText(h, c.kind == kAstm ? IDC_ENV_INDOOR_ROW_LABEL : IDC_ENV_INDOOR_LABEL);
            if (c.kind == kEnIso) {
                for (int nID : {IDC_ENV_TEMPERATURE_GROUP, IDC_ENV_PRESSURE_GROUP, IDC_ENV_SOURCE_STANDARD,
                                IDC_ENV_SOURCE_PRESSURE, IDC_ENV_SOURCE_ALTITUDE, IDC_ENV_ALTITUDE_UNIT})
                    others.push_back(ItemText(h, nID));
            }
            SaveScreenshot(h, (std::wstring(c.pszPicture) + L".png").c_str());
            EndNow(h);
        }});
        EXPECT_EQ(caption, standard + c.pszCaption);
        EXPECT_EQ(hint, c.pszHint);
        EXPECT_EQ(ok, L"OK");
        EXPECT_EQ(help, L"Help");
        EXPECT_EQ(indoor, L"Indoor Temperature (°F)");
        if (c.kind == kEnIso) {
            EXPECT_EQ(others, (std::vector<std::wstring>{L"Temperature", L"Barometric Pressure", L"Standard",
                                                         L"Barometric Pressure", L"Altitude", L"meters"}));
        }
        Dialog(c.kind)->m_bEditMode = 1;
        Run(c.kind, {[&](HWND h) {
            SaveScreenshot(h, (std::wstring(c.pszPicture) + L"-edit.png").c_str());
            EndNow(h);
        }});
        Dialog(c.kind)->m_bEditMode = 0;
    }
}

// Enter walks the temperature fields; Help opens the dialog's topic.
TEST_F(EnvironmentDialogTest, EnterMovesToTheNextTemperatureField)
{
    m_pView->m_pTempAltitude->m_nStage = CTemperatureAndAltitudeEntry::kBothStages;
    struct Case {
        Kind kind;
        int nFrom;
        int nTo;
    };
    const Case cases[] = {{kCgsb, IDC_ENV_INDOOR, IDC_ENV_OUTDOOR},
                          {kEnIso, IDC_ENV_INDOOR, IDC_ENV_OUTDOOR},
                          {kAstm, IDC_ENV_PRE_INDOOR, IDC_ENV_PRE_OUTDOOR},
                          {kAstm, IDC_ENV_PRE_OUTDOOR, IDC_ENV_POST_INDOOR},
                          {kAstm, IDC_ENV_POST_INDOOR, IDC_ENV_POST_OUTDOOR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nFrom);
        int nFocus = 0;
        Run(c.kind, {[&](HWND h) { ::SetFocus(::GetDlgItem(h, c.nFrom)); }, [](HWND) { PressKey(VK_RETURN); },
                     [&](HWND h) {
                         nFocus = ::GetDlgCtrlID(::GetFocus());
                         EndNow(h);
                     }});
        EXPECT_EQ(nFocus, c.nTo);
    }
}

namespace {

class PageRoundTripTest : public ViewFileTest {
protected:
    PageRoundTripTest() : ViewFileTest(L"PageRoundTripView", L"PageRoundTrip") {}

    void SetUp() override
    {
        ViewFileTest::SetUp();
        g_nCurrentDirection = 0;
        V()->m_strTestTitle = L"Untitled";
    }
    void TearDown() override
    {
        V()->CloseAllPages();
        ViewFileTest::TearDown();
    }

    // Both directions with two automated EN 13829 tests of three points.
    void FillStore()
    {
        CTestSettingsDialog& settings = Settings();
        settings.m_nStandard = 1;
        settings.m_chStandardLetter = CTestSettingsDialog::GetLetterOfStandard(1);
        settings.m_nMethodIndex = kAutomatic;
        settings.m_chDirectionLetter[0] = L'P';
        settings.m_chDirectionLetter[1] = L'D';
        CTestGraph1& s = Store();
        s.ResetTestData();
        for (int d = 0; d < 2; ++d) {
            settings.m_chMethodLetter[d] = CTestSettingsDialog::GetMethodLetter(kAutomatic);
            const double dSign = d == 0 ? 1.0 : -1.0;
            int i = 0;
            for (int t = 0; t < 2; ++t) {
                auto entry = [&](int nRing, double dTarget, double dPavg, double dPfan, double dQavg) {
                    s.m_Ring[d][i] = nRing;
                    s.m_TargetP[d][i] = dTarget;
                    s.m_Pavg[d][i] = dPavg;
                    s.m_Pfan[d][i] = dPfan;
                    s.m_Qavg[d][i] = dQavg;
                    ++i;
                };
                entry(-1, 0.0, dSign * 0.375, 0.0, 0.0);
                entry(1, 60.0, dSign * 60.5, 110.5, 2100.25);
                entry(2, 45.0, dSign * 45.5, 80.125, 1700.5);
                entry(3, 30.0, dSign * 30.25, 150.0, 1200.75);
                entry(-1, 0.0, dSign * -0.25, 0.0, 0.0);
            }
            s.m_StationCount[d] = i;
            s.m_CompletedTests[d] = 2;
        }
        V()->m_bTestOpen = 1;
    }
};

}  // namespace

// What the pages hold comes back after saving, a new test and opening:
// every text, the dimension numbers, both date forms, and the environment
// values of each test.
TEST_F(PageRoundTripTest, PageAndEnvironmentValuesComeBackAfterNewTestAndOpen)
{
    FillStore();
    CBuildingInfoDialog& b = *V()->m_pBuildingInfo;
    b.m_strTechnician = L"Ann Lee";
    b.m_strCustomerName = L"Cora Bell";
    b.m_strBuildingCity = L"Leeds";
    b.m_strVolume = L"28.32";
    b.m_strFloorArea = L"18.58";
    b.m_strSurfaceArea = L"95.5";
    b.m_strHeight = L"2.499";
    b.m_strUncertainty = L"5";
    b.m_strTestDateUniv = L"20240131";
    b.m_strTestDateLocal = CSimbrel1View::FormatDateKeyLocal(L"20240131");
    b.UpdateDimensionValues(1);
    CTemperatureAndBarometricPressure& e = *V()->m_pTempBaro;
    for (int d = 0; d < 2; ++d) {
        for (int t = 0; t < 2; ++t) {
            e.m_strTestIndoorTemp[d][t].Format(L"%d", 20 + d * 2 + t);
            e.m_strTestOutdoorTemp[d][t].Format(L"-%d.5", 3 + t);
            e.m_strTestBaroPressure[d][t].Format(L"%d", 99000 + 100 * t);
            e.m_strTestAltitude[d][t].Format(L"%d", 300 + d);
            e.m_nTestPressureSource[d][t] = 1 + t;
        }
    }
    const std::wstring path = m_folder + L"pages.bld";
    m_answerer.ReplyToFileDialog(path);
    ASSERT_EQ(V()->SaveCurrentTestFile(), CSimbrel1View::kSaveWritten);

    // Saved: New Test asks nothing about changes; its standard and
    // equipment dialogs are answered.
    m_answerer.ReplyToDialog(IDD_STANDARD_SELECTION, IDOK);
    m_answerer.ReplyToDialog(IDD_EQUIPMENT_INFO, IDCANCEL);
    V()->OnFileNewTest();
    ASSERT_TRUE(b.m_strTechnician.IsEmpty());
    ASSERT_TRUE(e.m_strTestIndoorTemp[1][1].IsEmpty());
    ASSERT_EQ(b.m_dHeight[0], 0.0);

    V()->OpenFile(0, path.c_str());
    EXPECT_EQ(b.m_strTechnician, L"Ann Lee");
    EXPECT_EQ(b.m_strCustomerName, L"Cora Bell");
    EXPECT_EQ(b.m_strBuildingCity, L"Leeds");
    EXPECT_EQ(b.m_strVolume, L"28.32");
    EXPECT_EQ(b.m_strHeight, L"2.499");
    EXPECT_EQ(b.m_strUncertainty, L"5");
    EXPECT_TRUE(b.m_strTestDate.IsEmpty());
    EXPECT_EQ(b.m_strTestDateUniv, L"20240131");
    EXPECT_EQ(b.m_strTestDateLocal, CSimbrel1View::FormatDateKeyLocal(L"20240131"));
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(b.m_dVolume[d], 28.32);
        EXPECT_EQ(b.m_dFloorArea[d], 18.58);
        EXPECT_EQ(b.m_dSurfaceArea[d], 95.5);
        EXPECT_EQ(b.m_dHeight[d], 2.499);
        for (int t = 0; t < 2; ++t) {
            SCOPED_TRACE(d * 10 + t);
            CString strIndoor;
            strIndoor.Format(L"%d", 20 + d * 2 + t);
            EXPECT_EQ(e.m_strTestIndoorTemp[d][t], strIndoor);
            EXPECT_EQ(e.m_nTestPressureSource[d][t], 1 + t);
            EXPECT_EQ(e.m_strTestAltitude[d][t], d == 0 ? L"300" : L"301");
        }
    }
    EXPECT_EQ(e.m_strTestBaroPressure[0][1], L"99100");
    EXPECT_EQ(e.m_strTestOutdoorTemp[1][1], L"-4.5");
}
