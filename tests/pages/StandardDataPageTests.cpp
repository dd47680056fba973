// The EN 13829 and ISO 9972 data pages: their section of the files written
// and read through the program's own writer and reader, the limit value
// through a change of units, and the real pages of the running program
// typed into and left with their buttons.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr int kEn = 1;
constexpr int kIso = 3;
constexpr UINT kEnPage = 210;
constexpr UINT kIsoPage = 283;
// The view's flow factors (cfm, m³/h) and length factors (ft, m).
constexpr double kCfm = 1.0;
constexpr double kCubicMetresPerHour = 1.6990107955200004;
constexpr double kFeet = 1.0;
constexpr double kMetres = 0.3048;

using Requests = std::vector<std::pair<WPARAM, LPARAM>>;

}  // namespace

// ---------------------------------------------------------------------------
// The records and the files.

class StandardDataRecordTest : public ViewFileTest {
protected:
    StandardDataRecordTest() : ViewFileTest(L"StandardDataView", L"StandardData") {}
    CEN13829DataEntryDialog& En() const { return *V()->m_pEn13829; }
    CISO9972DataEntryDialog& Iso() const { return *V()->m_pIso9972; }
    void ReadBoth(const wchar_t* pszText)
    {
        V()->m_strFileText = pszText;
        En().ReadFromFile();
        Iso().ReadFromFile();
    }
};

TEST_F(StandardDataRecordTest, EachPageWritesItsKeysInOrderAlsoWhenEmpty)
{
    CEN13829DataEntryDialog& en = En();
    en.m_nTestMethod = 2;
    en.m_strRegulation = L"Building Regs Part L";
    en.m_nVentilationSelection = 1;
    en.m_strLimitValueName = L"n50";
    en.m_nLimitValueType = 1;
    en.m_strLimitValue = L"3.0";
    en.m_nWindClass = 4;
    en.m_nWindExposure = 2;
    en.m_strHeatingType = L"Gas";
    en.m_strVentilationType = L"MVHR";
    EXPECT_EQ(en.WriteToFile(), L"Type_of_Test_Method: B\n"
                                L"Regulation_complied_with: Building Regs Part L\n"
                                L"Type_Of_Ventilation_Selection: 1\n"
                                L"Limiting Value: n50\n"
                                L"Limit Value: 3.0\n"
                                L"Wind_Class: 4\n"
                                L"Building_Wind_Exposure: 2\n"
                                L"Type_of_Heating: Gas\n"
                                L"Type_of_Air_Conditioning: \n"
                                L"Type_of_Ventilation: MVHR\n");

    CISO9972DataEntryDialog& iso = Iso();
    iso.m_strIsoTestMethod = L"Method 2 - Test of Building Envelope";
    const CString strIso = iso.WriteToFile();
    EXPECT_EQ(strIso.Left(strIso.Find(L'\n') + 1), L"Type_of_ISO9972_Test_Method: Method 2 - Test of Building Envelope\n");
    EXPECT_EQ(strIso.Find(L"Type_of_Test_Method:"), -1);
}

TEST_F(StandardDataRecordTest, BothPagesReadTheSameKeysEachWithItsOwnNames)
{
    ReadBoth(L"Type_of_ISO9972_Test_Method: My own way\r\n"
             L"Regulation_complied_with: Passive house\r\n"
             L"Type_Of_Ventilation_Selection: 1\r\n"
             L"Limiting Value: qF50\r\n"
             L"Limit Value: 2.5\r\n"
             L"Wind_Class: 3\r\n"
             L"Building_Wind_Exposure: 1\r\n"
             L"Type_of_Heating: Heat pump\r\n");
    // An ISO limit name is none of the EN names: type 0, the name kept.
    EXPECT_EQ(Iso().m_nLimitValueType, 5);
    EXPECT_EQ(En().m_nLimitValueType, 0);
    EXPECT_EQ(En().m_strLimitValueName, L"qF50");
    EXPECT_EQ(Iso().m_strIsoTestMethod, L"My own way");   // none of the list, kept
    for (CStandardDataPage* page : {static_cast<CStandardDataPage*>(&En()), static_cast<CStandardDataPage*>(&Iso())}) {
        EXPECT_EQ(page->m_strRegulation, L"Passive house");
        EXPECT_EQ(page->m_strLimitValue, L"2.5");
        EXPECT_EQ(page->m_nVentilationSelection, 1);
        EXPECT_EQ(page->m_nWindClass, 3);
        EXPECT_EQ(page->m_nWindExposure, 1);
        EXPECT_EQ(page->m_strHeatingType, L"Heat pump");
        EXPECT_EQ(page->m_strAirConditioningType, L"");
    }
    EXPECT_EQ(En().m_nTestMethod, 0);

    ReadBoth(L"Type_of_Test_Method: A\r\nLimiting Value: w50\r\n");
    EXPECT_EQ(En().m_nTestMethod, 1);
    EXPECT_EQ(En().m_nLimitValueType, 5);
    EXPECT_EQ(Iso().m_nLimitValueType, 0);
    EXPECT_EQ(Iso().m_strIsoTestMethod, L"");
}

TEST_F(StandardDataRecordTest, MethodLettersReadAsTheyAreWrittenAndAPageNeverReadWritesABlank)
{
    struct Case {
        const wchar_t* pszText;
        int nMethod;
    };
    const Case cases[] = {{L"Type_of_Test_Method: A\r\n", 1}, {L"Type_of_Test_Method: B\r\n", 2},
                          {L"Type_of_Test_Method: a\r\n", 0}, {L"Type_of_Test_Method: \r\n", 0},
                          {L"Type_of_Test_Method: C\r\n", 0}, {L"Wind_Class: 1\r\n", 0}};
    for (const Case& c : cases) {
        ReadBoth(c.pszText);
        EXPECT_EQ(En().m_nTestMethod, c.nMethod) << c.pszText;
    }

    CEN13829DataEntryDialog fresh(V());
    EXPECT_EQ(fresh.m_nTestMethod, -1);
    const CString strText = fresh.WriteToFile();
    EXPECT_EQ(strText.Left(strText.Find(L'\n') + 1), L"Type_of_Test_Method:  \n");
    V()->m_strFileText = strText;
    fresh.ReadFromFile();
    EXPECT_EQ(fresh.m_nTestMethod, 0);
}

TEST_F(StandardDataRecordTest, LimitNamesMatchExactlyInTheirOwnColumn)
{
    for (int nType = 1; nType < CStandardDataPage::kLimitTypes; ++nType) {
        EXPECT_EQ(CStandardDataPage::FindLimitType(false, CStandardDataPage::GetLimitName(false, nType)), nType);
        EXPECT_EQ(CStandardDataPage::FindLimitType(true, CStandardDataPage::GetLimitName(true, nType)), nType);
    }
    EXPECT_EQ(CStandardDataPage::FindLimitType(false, L"N50"), 0);
    EXPECT_EQ(CStandardDataPage::FindLimitType(false, L"n50 "), 0);
    EXPECT_EQ(CStandardDataPage::FindLimitType(true, L"w50"), 0);
    EXPECT_EQ(CStandardDataPage::GetLimitName(true, 12), L"qE75");
    EXPECT_EQ(CStandardDataPage::GetLimitName(false, 0), L" ");
}

TEST_F(StandardDataRecordTest, ConvertedLimitValuesKeepFourSignificantDigitsAndComeBack)
{
    struct Case {
        const wchar_t* pszValue;
        int nType;
        double dFlowRatio;
        double dLengthRatio;
        const wchar_t* pszExpected;
    };
    const double toM3h = kCubicMetresPerHour / kCfm;
    const double toMetres = kMetres / kFeet;
    const Case cases[] = {
        {L"2.5", 5, toM3h, 1.0, L"4.248"},          // w50, cfm to m³/h
        {L"2.5", 5, 1.0, toMetres, L"26.91"},       // w50, ft to m
        {L"4.248", 5, 1.0 / toM3h, 1.0, L"2.5"},    // and back
        {L"3.0", 9, 1.0 / toM3h, 1.0, L"1.766"},    // q50, m³/h to cfm, not 1.8
        {L"1.766", 9, toM3h, 1.0, L"3"},
        {L"0.05", 12, 1.0 / toM3h, 1.0, L"0.02943"},   // small values keep their digits
        {L"1500", 6, toM3h, 1.0, L"2549"},          // whole numbers from 1000 up
        {L"999.99", 7, 1.0, 1.0, L"1000"},
        {L"3.0", 1, toM3h, toMetres, L"3.0"},      // rates of air change stay as typed
        {L"3.0", 4, toM3h, 1.0, L"3.0"},
        {L"3.0", 0, toM3h, 1.0, L"3.0"},
        {L"", 5, toM3h, 1.0, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStandardDataPage::ConvertLimitText(c.pszValue, c.nType, c.dFlowRatio, c.dLengthRatio),
                  c.pszExpected)
            << c.pszValue << " type " << c.nType;
    }
}

// The view's units command converts the page of the current standard only.
TEST_F(StandardDataRecordTest, AUnitChangeConvertsTheLimitOfTheCurrentStandardAndBackAgain)
{
    Settings().m_nStandard = kEn;
    V()->ChangeUnits(0, 0, V()->m_nLeakageUnit, V()->m_nTemperatureUnit, 0, 0);
    En().m_nLimitValueType = 5;
    En().m_strLimitValueName = L"w50";
    En().m_strLimitValue = L"2.5";
    Iso().m_nLimitValueType = 5;
    Iso().m_strLimitValue = L"2.5";

    V()->ChangeUnits(1, 0, V()->m_nLeakageUnit, V()->m_nTemperatureUnit, 0, 0);
    EXPECT_EQ(En().m_strLimitValue, L"4.248");
    EXPECT_EQ(Iso().m_strLimitValue, L"2.5");
    EXPECT_EQ(En().GetLimitValueUnits(), V()->m_pResults->FormatPerAreaUnit(0));
    V()->ChangeUnits(1, 1, V()->m_nLeakageUnit, V()->m_nTemperatureUnit, 0, 0);
    EXPECT_EQ(En().m_strLimitValue, L"45.73");
    V()->ChangeUnits(1, 0, V()->m_nLeakageUnit, V()->m_nTemperatureUnit, 0, 0);
    EXPECT_EQ(En().m_strLimitValue, L"4.248");
    V()->ChangeUnits(0, 0, V()->m_nLeakageUnit, V()->m_nTemperatureUnit, 0, 0);
    EXPECT_EQ(En().m_strLimitValue, L"2.5");
    // An air change rate is no flow per area: it stays as typed.
    En().m_nLimitValueType = 1;
    En().m_strLimitValue = L"0.6";
    V()->ChangeUnits(1, 1, V()->m_nLeakageUnit, V()->m_nTemperatureUnit, 0, 0);
    EXPECT_EQ(En().m_strLimitValue, L"0.6");
    EXPECT_EQ(En().GetLimitValueUnits(), L"1/h");
}

// Every field of the page of the standard, saved by the program, cleared as
// New Test clears, and opened again.
TEST_F(StandardDataRecordTest, BothStandardsComeBackFromASavedTestFile)
{
    for (int nStandard : {kEn, kIso}) {
        V()->ClearAllRecords();
        Settings().m_nStandard = nStandard;
        CStandardDataPage& page = nStandard == kEn ? static_cast<CStandardDataPage&>(En()) : Iso();
        page.m_strRegulation = L"Regulation Ä";
        page.m_strLimitValueName = CStandardDataPage::GetLimitName(nStandard == kIso, 9);
        page.m_nLimitValueType = 9;
        page.m_strLimitValue = L"1.25";
        page.m_strHeatingType = L"District";
        page.m_strAirConditioningType = L"Split";
        page.m_strVentilationType = L"Exhaust";
        page.m_nVentilationSelection = 1;
        page.m_nWindClass = 8;
        page.m_nWindExposure = 2;
        En().m_nTestMethod = 2;
        Iso().m_strIsoTestMethod = L"Method 3 - Test of Building for a specific purpose";

        const std::wstring path = m_folder + (nStandard == kEn ? L"en.bld" : L"iso.bld");
        m_answerer.ReplyToFileDialog(path);
        V()->m_bSaveAsTest = 1;
        ASSERT_EQ(V()->SaveFileAs(), CSimbrel1View::kSaveWritten);
        V()->ClearAllRecords();
        ASSERT_EQ(page.m_strRegulation, L"");
        V()->OpenFile(0, path.c_str());

        EXPECT_EQ(page.m_strRegulation, L"Regulation Ä");
        EXPECT_EQ(page.m_nLimitValueType, 9);
        EXPECT_EQ(page.m_strLimitValue, L"1.25");
        EXPECT_EQ(page.m_strHeatingType, L"District");
        EXPECT_EQ(page.m_strAirConditioningType, L"Split");
        EXPECT_EQ(page.m_strVentilationType, L"Exhaust");
        EXPECT_EQ(page.m_nVentilationSelection, 1);
        EXPECT_EQ(page.m_nWindClass, 8);
        EXPECT_EQ(page.m_nWindExposure, 2);
        if (nStandard == kEn) {
            EXPECT_EQ(En().m_nTestMethod, 2);
            EXPECT_EQ(V()->m_strFileText.Find(L"ISO9972 DATA INFO"), -1);
        } else {
            EXPECT_EQ(Iso().m_strIsoTestMethod, L"Method 3 - Test of Building for a specific purpose");
            EXPECT_EQ(V()->m_strFileText.Find(L"EN13829 DATA INFO"), -1);
        }
    }
}

// ---------------------------------------------------------------------------
// The pages of the running program.

class StandardDataPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmar\\QARSEAL Vudadar 5.1\\Window size");
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }
    void TearDown() override
    {
        CloseProgram();
        g_pView = nullptr;
    }
    void Open(CStandardDataPage* pPage, int nStandard)
    {
        page = pPage;
        m_pView->m_pSettings->m_nStandard = nStandard;
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
    Requests Click(int nID)
    {
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
        return PumpCollectingRequests();
    }
    // A choice in a list as the user makes it: the selection, then its notification.
    void Choose(int nID, int nIndex)
    {
        ::SendMessageW(Item(nID), CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(nID)));
        PumpCollectingRequests();
    }

    CStandardDataPage* page = nullptr;
};

TEST_F(StandardDataPageTest, TypedValuesAndChoicesReachTheRecordAndNextAsksForTheTestScreen)
{
    CEN13829DataEntryDialog* en = m_pView->m_pEn13829;
    en->ClearData();
    ASSERT_NO_FATAL_FAILURE(Open(en, kEn));
    EXPECT_EQ(WindowText(Page()), L"EN 13829 Data Entry");
    EXPECT_EQ(ItemText(Page(), IDC_STD_LIMIT_SIGN), L"\x2264");
    EXPECT_EQ(::SendMessageW(Item(IDC_STD_WIND_CLASS), CB_GETCOUNT, 0, 0), 9);
    wchar_t szItem[64] = {};
    ::SendMessageW(Item(IDC_STD_WIND_CLASS), CB_GETLBTEXT, 8, reinterpret_cast<LPARAM>(szItem));
    EXPECT_STREQ(szItem, L"8  Fresh Gale");
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_STD_VENTILATION)));

    // Enter walks from the regulation to the heating field.
    Focus(IDC_STD_REGULATION);
    Type(L"Part L");
    EXPECT_TRUE(Press(VK_RETURN).empty());
    EXPECT_EQ(FocusId(), IDC_STD_HEATING);
    Type(L"Gas boiler");

    // A new limit type empties the value and shows its unit.
    en->m_strLimitValue = L"9";
    Choose(IDC_STD_LIMIT_TYPE, 1);
    EXPECT_EQ(en->m_nLimitValueType, 1);
    EXPECT_EQ(en->m_strLimitValueName, L"n50");
    EXPECT_EQ(ItemText(Page(), IDC_STD_LIMIT_VALUE), L"");
    EXPECT_EQ(ItemText(Page(), IDC_STD_LIMIT_UNIT), L"1/h");
    // Changing the type kept what was typed in the other fields.
    EXPECT_EQ(ItemText(Page(), IDC_STD_HEATING), L"Gas boiler");
    Focus(IDC_STD_LIMIT_VALUE);
    Type(L"1.5");
    Choose(IDC_STD_LIMIT_TYPE, 1);   // the same item: the value stays
    EXPECT_EQ(ItemText(Page(), IDC_STD_LIMIT_VALUE), L"1.5");
    Choose(IDC_STD_LIMIT_TYPE, 5);
    EXPECT_EQ(ItemText(Page(), IDC_STD_LIMIT_UNIT), m_pView->m_pResults->FormatPerAreaUnit(0).str());

    Click(IDC_STD_VENTILATION_DESCRIBED);
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_STD_VENTILATION)));
    Focus(IDC_STD_VENTILATION);
    Type(L"Natural");
    Choose(IDC_STD_WIND_CLASS, 6);
    Choose(IDC_STD_EN_METHOD, 1);

    const Requests requests = Click(IDC_STD_NEXT);
    EXPECT_EQ(requests, (Requests{{kEnPage, CSimbrel1View::kPageNext}}));
    EXPECT_EQ(en->m_strRegulation, L"Part L");
    EXPECT_EQ(en->m_strHeatingType, L"Gas boiler");
    EXPECT_EQ(en->m_strVentilationType, L"Natural");
    EXPECT_EQ(en->m_nVentilationSelection, 1);
    EXPECT_EQ(en->m_nWindClass, 6);
    EXPECT_EQ(en->m_nTestMethod, 1);
    EXPECT_EQ(en->m_nLimitValueType, 5);
    EXPECT_EQ(en->m_strLimitValueName, L"w50");
    SaveScreenshot(Page(), L"en13829-data-page");
}

TEST_F(StandardDataPageTest, CancelNextAndPreviousKeepTheEditsAsOkDoes)
{
    const std::pair<int, LPARAM> buttons[] = {{IDOK, CSimbrel1View::kPageOK},
                                              {IDCANCEL, CSimbrel1View::kPageCancel},
                                              {IDC_STD_NEXT, CSimbrel1View::kPageNext},
                                              {IDC_STD_PREVIOUS, CSimbrel1View::kPagePrevious}};
    for (const auto& [nButton, nAction] : buttons) {
        CISO9972DataEntryDialog* iso = m_pView->m_pIso9972;
        m_pView->CloseAllPages();
        iso->ClearData();
        ASSERT_NO_FATAL_FAILURE(Open(iso, kIso));
        Focus(IDC_STD_AIR_CONDITIONING);
        Type(L"Chiller");
        Focus(IDC_STD_ISO_METHOD);
        Type(L"Own method");
        EXPECT_EQ(Click(nButton), (Requests{{kIsoPage, nAction}})) << nButton;
        EXPECT_EQ(iso->m_strAirConditioningType, L"Chiller") << nButton;
        EXPECT_EQ(iso->m_strIsoTestMethod, L"Own method") << nButton;
    }
}

TEST_F(StandardDataPageTest, TheIsoPageShowsItsOwnTextsAndMethodList)
{
    CISO9972DataEntryDialog* iso = m_pView->m_pIso9972;
    iso->ClearData();
    iso->m_strIsoTestMethod = L"Method 1 - Test of Building in use";
    iso->m_nLimitValueType = 9;
    iso->m_strLimitValueName = L"qE50";
    iso->m_strLimitValue = L"2.0";
    ASSERT_NO_FATAL_FAILURE(Open(iso, kIso));
    EXPECT_EQ(WindowText(Page()), L"ISO 9972 Data Entry");
    EXPECT_EQ(ItemText(Page(), IDC_STD_REGULATION_LABEL), L"Purpose of Test");
    EXPECT_EQ(ItemText(Page(), IDC_STD_METHOD_LABEL), L"Building Preparation Method");
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_STD_ISO_METHOD)));
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_STD_ISO_VENTILATION_LABEL)));
    EXPECT_EQ(::SendMessageW(Item(IDC_STD_ISO_METHOD), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(Page(), IDC_STD_ISO_METHOD), L"Method 1 - Test of Building in use");
    EXPECT_EQ(::SendMessageW(Item(IDC_STD_LIMIT_TYPE), CB_GETCURSEL, 0, 0), 9);
    EXPECT_EQ(ItemText(Page(), IDC_STD_LIMIT_VALUE), L"2.0");
    // Enter from the method goes on to the next entry field in tab order.
    Focus(IDC_STD_REGULATION);
    EXPECT_TRUE(Press(VK_RETURN).empty());
    EXPECT_EQ(FocusId(), IDC_STD_HEATING);
    SaveScreenshot(Page(), L"iso9972-data-page");
}
