// The standard selection of a new test and the units selection: both run as
// real dialogs, driven by the clicks and keys of a user.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HelpDialog.h"
#include "app/Simbrel1View.h"
#include "app/StandardSelectionDialog.h"
#include "app/TestSettingsDialog.h"
#include "app/UnitsSelectionDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

std::wstring Text(const CString& str)
{
    return str.GetString();
}

std::wstring ListText(HWND h)
{
    const HWND hList = ::GetDlgItem(h, IDC_STANDARD_LIST);
    const LRESULT nIndex = ::SendMessageW(hList, CB_GETCURSEL, 0, 0);
    if (nIndex < 0)
        return L"<none>";
    wchar_t buffer[64] = {};
    ::SendMessageW(hList, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// What the list does when a user picks an item: select it and tell its parent.
void ChooseStandard(HWND h, int nIndex)
{
    const HWND hList = ::GetDlgItem(h, IDC_STANDARD_LIST);
    ::SendMessageW(hList, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_STANDARD_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
}

bool Checked(HWND h, int nID)
{
    return ::IsDlgButtonChecked(h, nID) == BST_CHECKED;
}

class SelectionDialogTest : public ::testing::Test {
protected:
    CTestSettingsDialog& Settings() const { return *m_view->m_pSettings; }
    CCustomPressuresDialog& Pressures() const { return *m_view->m_pCustomPressures; }

    // Custom pressures no preset holds, so that a loaded preset shows.
    void MarkPressures() const
    {
        for (CString& str : Pressures().m_strPressure)
            str = L"7";
        Pressures().ParsePressures();
    }

    // Runs the standard selection from the view as New Test does.
    INT_PTR RunStandardSelection(std::vector<CDialogDriver::Step> steps)
    {
        m_answerer.RunDialog(IDD_STANDARD_SELECTION, m_driver.Run(std::move(steps)));
        CTestStandardSelection dialog;
        dialog.m_pView = m_view.Get();
        return dialog.DoModal();
    }

    CTestView m_view{L"selectionroot"};
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CDialogDriver m_driver;
};

}  // namespace

// Opening shows the record's standard; every change of the list sets the
// samples text at once; Esc does not leave; OK keeps the standard that was
// chosen back again without loading its presets.
TEST_F(SelectionDialogTest, StandardSelectionShowsTheStandardAndSetsSamplesOnEachChange)
{
    Settings().m_nStandard = 3;
    Settings().m_chStandardLetter = L'U';
    Settings().m_strDataSamples = L"150";
    MarkPressures();
    std::vector<std::wstring> samples;
    const INT_PTR nResult = RunStandardSelection({
        [](HWND h) {
            EXPECT_EQ(WindowText(h), L"Test Standard Selection");
            EXPECT_EQ(ItemText(h, IDC_STANDARD_LABEL), L"Test Standard");
            EXPECT_EQ(ItemText(h, IDC_STANDARD_SET_DEFAULT), L"Set as Default for New Tests");
            EXPECT_EQ(ItemText(h, IDOK), L"OK");
            EXPECT_EQ(ItemText(h, IDC_STANDARD_HELP), L"Help");
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDCANCEL)));
            EXPECT_EQ(ListText(h), L"ISO 9972-15");
            EXPECT_EQ(::SendDlgItemMessageW(h, IDC_STANDARD_LIST, CB_GETCOUNT, 0, 0), 4);
            ::SetFocus(::GetDlgItem(h, IDC_STANDARD_LIST));
            PressKey(VK_ESCAPE);
        },
        [&](HWND h) {
            EXPECT_TRUE(::IsWindowVisible(h)) << "Esc closed the dialog";
            samples.push_back(Text(Settings().m_strDataSamples));
            // The user's keys on the closed list: first item, then last.
            PressKey(VK_HOME);
        },
        [&](HWND h) {
            EXPECT_EQ(ListText(h), L"CGSB");
            samples.push_back(Text(Settings().m_strDataSamples));
            PressKey(VK_END);
        },
        [&](HWND h) {
            EXPECT_EQ(ListText(h), L"ISO 9972-15");
            samples.push_back(Text(Settings().m_strDataSamples));
            SaveScreenshot(h, L"standard-selection.png");
            ClickItem(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(samples, (std::vector<std::wstring>{L"150", L"100", L"200"}));
    EXPECT_EQ(Settings().m_nStandard, 3);
    EXPECT_EQ(Settings().m_chStandardLetter, L'I');
    EXPECT_DOUBLE_EQ(Settings().m_dDataSamples, 200.0);
    EXPECT_EQ(Text(Pressures().m_strPressure[0]), L"7") << "the same standard loaded its presets";
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// OK's letter for each choice, and the presets loaded only when the
// standard changes.
TEST_F(SelectionDialogTest, StandardSelectionOkSetsLetterAndLoadsPresetsOfANewStandard)
{
    struct Case {
        int nBefore;
        int nChosen;
        wchar_t chLetter;
        std::vector<double> pressures;  // empty: the marked pressures are kept
    };
    const Case cases[] = {
        {3, 0, L'C', {50, 45, 40, 35, 30, 25, 20, 15}},
        {0, 1, L'E', {65, 59, 53, 47, 41, 35, 29, 23, 17, 11}},
        {1, 2, L'A', {60, 55, 50, 45, 40, 35, 30, 25, 20, 15}},
        {2, 3, L'I', {64, 58, 52, 46, 40, 34, 28, 22, 16, 10}},
        {1, 1, L'E', {}},
        {0, 0, L'C', {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nBefore << " -> " << c.nChosen);
        Settings().m_nStandard = c.nBefore;
        Settings().m_chStandardLetter = L'U';
        Settings().m_strDataSamples = L"150";
        MarkPressures();
        const bool bChanged = c.nBefore != c.nChosen;
        const INT_PTR nResult = RunStandardSelection({
            [&](HWND h) {
                if (bChanged)
                    ChooseStandard(h, c.nChosen);
                ClickItem(h, IDOK);
            },
        });
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(Settings().m_nStandard, c.nChosen);
        EXPECT_EQ(Settings().m_chStandardLetter, c.chLetter);
        const std::wstring samples = !bChanged ? L"150" : c.nChosen == 3 ? L"200" : L"100";
        EXPECT_EQ(Text(Settings().m_strDataSamples), samples);
        EXPECT_DOUBLE_EQ(Settings().m_dDataSamples, std::stod(samples));
        if (c.pressures.empty()) {
            EXPECT_EQ(Text(Pressures().m_strPressure[0]), L"7");
            EXPECT_EQ(Text(Pressures().m_strPressure[11]), L"7");
            continue;
        }
        for (int i = 0; i < CCustomPressuresDialog::kPressureCount; ++i) {
            const bool bSet = i < static_cast<int>(c.pressures.size());
            EXPECT_EQ(Pressures().m_strPressure[i].IsEmpty(), !bSet) << i;
            for (int slot = 0; slot < 2; ++slot)
                EXPECT_DOUBLE_EQ(Pressures().m_dPressure[slot][i], bSet ? c.pressures[i] : 0.0) << i;
        }
    }
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// The box makes the choice the default of new tests; without it no file.
TEST_F(SelectionDialogTest, StandardSelectionWritesTheDefaultsOnlyWithItsBoxTicked)
{
    const std::wstring path = std::wstring(m_view->m_strDataFolder.GetString()) + L"DefaultSettings.dat";
    for (const bool bTick : {false, true}) {
        SCOPED_TRACE(bTick);
        Settings().SetFactoryDefaults();
        ASSERT_NE(Settings().m_nStandard, 1);
        EXPECT_EQ(RunStandardSelection({
                      [&](HWND h) {
                          ChooseStandard(h, 1);
                          if (bTick)
                              ClickItem(h, IDC_STANDARD_SET_DEFAULT);
                      },
                      [](HWND h) { ClickItem(h, IDOK); },
                  }),
                  IDOK);
        EXPECT_EQ(FileExists(path), bTick);
    }
    Settings().SetFactoryDefaults();
    Settings().ReadDefaultsFile();
    EXPECT_EQ(Settings().m_nStandard, 1);
}

// Both dialogs' Help buttons open their own topic.
TEST_F(SelectionDialogTest, HelpButtonsOpenTheirTopics)
{
    const std::wstring folder = MakeTempFolder(L"selectionhelp");
    m_view->m_strProgramFolder = (folder + L"\\").c_str();
    const std::wstring help = L"\xFEFF@@16 Units Topic\r\nUnits.\r\n@@210 Standard Topic\r\nStandards.\r\n@@";
    ASSERT_TRUE(WriteBytes(folder + L"\\QEhelp.txt",
                           std::string(reinterpret_cast<const char*>(help.data()), help.size() * sizeof(wchar_t))));
    const struct {
        UINT nTemplate;
        int nHelpId;
        const wchar_t* caption;
    } cases[] = {
        {IDD_STANDARD_SELECTION, IDC_STANDARD_HELP, L"Standard Topic"},
        {IDD_UNITS_SELECTION, IDC_UNITS_HELP, L"Units Topic"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nTemplate);
        // Replies are taken in the order the dialogs open: this one, then its help.
        // The click is sent, so the help has closed when the step returns;
        // it is the driver's last step, so no step runs inside the help's loop.
        m_answerer.RunDialog(c.nTemplate, m_driver.Run({[&](HWND h) {
                                 const HWND hHelp = ::GetDlgItem(h, c.nHelpId);
                                 ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(c.nHelpId, BN_CLICKED),
                                                reinterpret_cast<LPARAM>(hHelp));
                                 ClickItem(h, IDOK);
                             }}));
        std::wstring caption;
        CDialogDriver helpDriver;
        m_answerer.RunDialog(IDD_HELP_PANEL, helpDriver.Run({[&](HWND h) {
                                 caption = WindowText(h);
                                 ClickItem(h, IDOK);
                             }}));
        if (c.nTemplate == IDD_STANDARD_SELECTION) {
            CTestStandardSelection dialog;
            dialog.m_pView = m_view.Get();
            EXPECT_EQ(dialog.DoModal(), IDOK);
        } else {
            CUnitsSelectionDialog dialog;
            dialog.m_pView = m_view.Get();
            dialog.m_nFlowUnit = dialog.m_nBuildingUnit = dialog.m_nLeakageUnit = dialog.m_nTemperatureUnit = 0;
            EXPECT_EQ(dialog.DoModal(), IDOK);
        }
        EXPECT_NE(caption.find(c.caption), std::wstring::npos) << caption;
    }
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// The texts, the leakage labels by standard, the radios showing the given
// indices, Esc ignored, and Cancel leaving the caller's indices alone.
TEST_F(SelectionDialogTest, UnitsSelectionShowsTheUnitsAndLabelsLeakageByStandard)
{
    const struct {
        int nStandard;
        int units[4];  // flow, building, leakage, temperature
        const wchar_t* leakage[2];
    } cases[] = {
        {0, {0, 0, 0, 0}, {L"inches", L"centimeters"}},
        {1, {1, 1, 1, 1}, {L"inches", L"centimeters"}},
        {2, {2, 0, 1, 0}, {L"inches", L"centimeters"}},
        {3, {2, 1, 0, 1}, {L"feet", L"meters"}},
    };
    const int flowIds[] = {IDC_UNITS_FLOW_CFM, IDC_UNITS_FLOW_M3H, IDC_UNITS_FLOW_LS};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nStandard);
        Settings().m_nStandard = c.nStandard;
        int units[4] = {c.units[0], c.units[1], c.units[2], c.units[3]};
        int bDefaults = 7;
        m_answerer.RunDialog(
            IDD_UNITS_SELECTION,
            m_driver.Run({
                [&](HWND h) {
                    EXPECT_EQ(WindowText(h), L"Units Selection");
                    const std::vector<std::pair<int, std::wstring>> texts = {
                        {IDC_UNITS_FLOW_GROUP, L"Flow"},
                        {IDC_UNITS_FLOW_CFM, L"cubic feet per minute (cfm)"},
                        {IDC_UNITS_FLOW_M3H, L"cubic meters per hour (m\x00b3/h)"},
                        {IDC_UNITS_FLOW_LS, L"liters per second (l/s)"},
                        {IDC_UNITS_TEMPERATURE_GROUP, L"Temperature"},
                        {IDC_UNITS_TEMPERATURE_F, L"degrees Fahrenheit"},
                        {IDC_UNITS_TEMPERATURE_C, L"degrees Centigrade"},
                        {IDC_UNITS_BUILDING_GROUP, L"Building Dimensions"},
                        {IDC_UNITS_BUILDING_FT, L"feet"},
                        {IDC_UNITS_BUILDING_M, L"meters"},
                        {IDC_UNITS_LEAKAGE_GROUP, L"Leakage Dimensions"},
                        {IDC_UNITS_LEAKAGE_IN, c.leakage[0]},
                        {IDC_UNITS_LEAKAGE_CM, c.leakage[1]},
                        {IDC_UNITS_SET_DEFAULTS, L"Set as Defaults for New Tests"},
                        {IDOK, L"OK"},
                        {IDCANCEL, L"Cancel"},
                        {IDC_UNITS_HELP, L"Help"},
                    };
                    for (const auto& [nID, text] : texts)
                        EXPECT_EQ(ItemText(h, nID), text) << nID;
                    for (int i = 0; i < 3; ++i)
                        EXPECT_EQ(Checked(h, flowIds[i]), i == c.units[0]) << "flow " << i;
                    EXPECT_EQ(Checked(h, IDC_UNITS_BUILDING_M), c.units[1] == 1);
                    EXPECT_EQ(Checked(h, IDC_UNITS_BUILDING_FT), c.units[1] == 0);
                    EXPECT_EQ(Checked(h, IDC_UNITS_LEAKAGE_CM), c.units[2] == 1);
                    EXPECT_EQ(Checked(h, IDC_UNITS_LEAKAGE_IN), c.units[2] == 0);
                    EXPECT_EQ(Checked(h, IDC_UNITS_TEMPERATURE_C), c.units[3] == 1);
                    EXPECT_EQ(Checked(h, IDC_UNITS_TEMPERATURE_F), c.units[3] == 0);
                    EXPECT_FALSE(Checked(h, IDC_UNITS_SET_DEFAULTS));
                    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDC_UNITS_NO_ACTION)));
                    ::SetFocus(::GetDlgItem(h, IDC_UNITS_FLOW_CFM));
                    PressKey(VK_ESCAPE);
                },
                [&](HWND h) {
                    EXPECT_TRUE(::IsWindowVisible(h)) << "Esc closed the dialog";
                    ClickItem(h, flowIds[(c.units[0] + 1) % 3]);
                    ClickItem(h, IDC_UNITS_SET_DEFAULTS);
                    if (c.nStandard == 3)
                        SaveScreenshot(h, L"units-selection-iso.png");
                },
                [](HWND h) { ClickItem(h, IDCANCEL); },
            }));
        EXPECT_EQ(m_view->ShowUnitsSelectionDialog(units[0], units[1], units[2], units[3], bDefaults), IDCANCEL);
        EXPECT_EQ(std::vector<int>(units, units + 4), std::vector<int>(c.units, c.units + 4));
        EXPECT_EQ(bDefaults, 7);
    }
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

// The Units Selection command under ISO 9972: the second leakage choice,
// labelled "meters", keeps its index meaning (centimetres); the other
// choices and the defaults box reach the view.
TEST_F(SelectionDialogTest, UnitsSelectionOkReachesTheViewWithUnchangedIndices)
{
    Settings().m_nStandard = 3;
    m_view->m_nFlowUnit = 0;
    m_view->m_nBuildingUnit = 0;
    m_view->m_nLeakageUnit = 0;
    m_view->m_nTemperatureUnit = 0;
    m_view->ApplyUnits();
    m_view->AcceptCurrentUnits();
    const std::wstring path = std::wstring(m_view->m_strDataFolder.GetString()) + L"DefaultUnits.dat";
    ASSERT_FALSE(FileExists(path));
    m_answerer.RunDialog(IDD_UNITS_SELECTION, m_driver.Run({
                                                  [](HWND h) {
                                                      EXPECT_EQ(ItemText(h, IDC_UNITS_LEAKAGE_CM), L"meters");
                                                      ClickItem(h, IDC_UNITS_FLOW_LS);
                                                      ClickItem(h, IDC_UNITS_BUILDING_M);
                                                      ClickItem(h, IDC_UNITS_LEAKAGE_CM);
                                                      ClickItem(h, IDC_UNITS_TEMPERATURE_C);
                                                      ClickItem(h, IDC_UNITS_SET_DEFAULTS);
                                                  },
                                                  [](HWND h) { ClickItem(h, IDOK); },
                                              }));
    m_view->OnUnitsSelection();
    EXPECT_EQ(m_view->m_nFlowUnit, 2);
    EXPECT_EQ(m_view->m_nBuildingUnit, 1);
    EXPECT_EQ(m_view->m_nLeakageUnit, 1);
    EXPECT_EQ(m_view->m_nTemperatureUnit, 1);
    EXPECT_EQ(Text(m_view->m_strLeakageUnitName[0]), L"cm");
    EXPECT_EQ(Text(m_view->m_strFlowUnitName[0]), L"l/s");
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}
