// The equipment record and dialog: its section of the files by test
// method, the per-user defaults file byte for byte (and when it cannot be
// read or written), the table look-ups, and the real dialog guarding the
// test data against a change of fan or calibration, with Cancel taking
// back everything it changed.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr int kDepress = 1;

// UTF-16LE bytes of a text, as the defaults file holds them.
std::string Utf16Bytes(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t ch : text) {
        bytes.push_back(static_cast<char>(ch & 0xFF));
        bytes.push_back(static_cast<char>((ch >> 8) & 0xFF));
    }
    return bytes;
}

void Choose(HWND hDialog, int nID, int nIndex)
{
    HWND hCombo = ::GetDlgItem(hDialog, nID);
    ::SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ::SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

void ClickButton(HWND hDialog, int nID)
{
    ::SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, nID)));
}

}  // namespace

class EquipmentTest : public ViewFileTest {
protected:
    EquipmentTest() : ViewFileTest(L"EquipmentView", L"Equipment") {}
    void SetUp() override
    {
        ViewFileTest::SetUp();
        g_nCurrentDirection = kDepress;
        V()->m_strDataFolder = m_folder.c_str();
        Settings().m_chMethodLetter[kDepress] = L'A';
        Store().m_CompletedTests[kDepress] = 0;
        Eq().ClearData();
        Eq().m_strCalDateUniv.Empty();
        Eq().m_strCalDateLocal.Empty();
        ::SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(Path().c_str());
        ::RemoveDirectoryW(Path().c_str());
    }
    void TearDown() override
    {
        ::SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(Path().c_str());
        ::RemoveDirectoryW(Path().c_str());
        ViewFileTest::TearDown();
    }
    CEquipmentInfoDialogIntl& Eq() const { return *V()->m_pEquipment; }
    CFanCalibrationDialog& Cal() const { return *V()->m_pFanCalibration; }
    std::wstring Path() const { return m_folder + L"DefaultEquipmentInfo.dat"; }
    void SetManual(bool bManual) { Settings().m_chMethodLetter[kDepress] = bManual ? L'M' : L'A'; }
    // One completed test in the current direction.
    void CompleteATest()
    {
        Store().m_StationCount[kDepress] = 3;
        Store().m_CompletedTests[kDepress] = 1;
    }
    // Replies are used in order: those of what the dialog opens come after its own.
    INT_PTR Run(std::vector<CDialogDriver::Step> steps, const std::function<void()>& scriptInside = nullptr)
    {
        m_answerer.RunDialog(CEquipmentInfoDialogIntl::IDD, m_driver.Run(std::move(steps)));
        if (scriptInside)
            scriptInside();
        return Eq().DoModal();
    }

    CDialogDriver m_driver;
    CDialogDriver m_calibrationDriver;
};

TEST_F(EquipmentTest, TheSectionHoldsTheFanLinesAndForAManualTestTheGauge)
{
    Eq().m_chFanCode = L'A';
    Eq().m_strFanSerial = L"F-100";
    Eq().m_strGaugeModel.Empty();
    Eq().m_nGaugeModel = 3;
    Eq().m_strGaugeSerial = L"G-7";
    Eq().m_strCalDateUniv = L"20261211";
    Eq().m_strCalDateLocal = L"11.12.2026";
    EXPECT_EQ(Eq().WriteToFile(), L"Build_Fan_Model: A\nFan_Serial_Number: F-100\n");

    SetManual(true);
    EXPECT_EQ(Eq().WriteToFile(), L"Build_Fan_Model: A\n"
                                  L"Fan_Serial_Number: F-100\n"
                                  L"Micromanometer_Model: LZT\n"
                                  L"Micromanometer_Serial_Number: G-7\n"
                                  L"Manual_Test_Micromanometer_Calibration_Date_QAR_Univ: 20261211\n"
                                  L"Manual_Test_Micromanometer_Calibration_Date_Local: 11/12/2026\n");
    EXPECT_EQ(Eq().m_strGaugeModel, L"LZT");
}

TEST_F(EquipmentTest, TheDefaultsFileIsWrittenByteForByteAndReadBack)
{
    Eq().m_chFanCode = L'5';
    Eq().m_strFanSerial = L"S-12";
    Eq().m_strGaugeModel = L"RQ10";
    Eq().m_strGaugeSerial = L"G-3";
    Eq().m_strCalDateUniv = L"20250301";
    ASSERT_TRUE(Eq().WriteDefaultsFile());
    EXPECT_EQ(ReadBytes(Path()), Utf16Bytes(L"Default Equipment Info\r\n"
                                            L"Build_Fan_Model: 5\n"
                                            L"Fan_Serial_Number: S-12\n"
                                            L"Micromanometer_Model: RQ10\n"
                                            L"Micromanometer_Serial_Number: G-3\n"
                                            L"Manual_Test_Micromanometer_Calibration_Date_QAR_Univ: 20250301\n"));

    Eq().ClearData();
    Eq().m_strCalDateUniv.Empty();
    Eq().ReadDefaultsFile();
    EXPECT_EQ(Eq().m_chFanCode, L'5');
    EXPECT_EQ(Eq().m_nFanIndex, 1);
    EXPECT_EQ(Cal().m_nFanRow, 1);
    EXPECT_EQ(Eq().m_strFanSerial, L"S-12");
    EXPECT_EQ(Eq().m_strGaugeModel, L"RQ10");
    EXPECT_EQ(Eq().m_nGaugeModel, 2);
    EXPECT_EQ(Eq().m_strGaugeSerial, L"G-3");
    EXPECT_EQ(Eq().m_strCalDateUniv, L"20250301");
    EXPECT_EQ(Eq().m_strCalDateLocal, CSimbrel1View::FormatDateKeyLocal(L"20250301"));
    EXPECT_FALSE(Eq().m_strCalDateLocal.IsEmpty());
    EXPECT_TRUE(m_answerer.messages.empty());
}

TEST_F(EquipmentTest, ReadingMissingAndUnknownValues)
{
    struct Case {
        bool bDefaultsFile;
        const wchar_t* pszText;
        wchar_t chFan;
        int nFanIndex;
        const wchar_t* pszGauge;
        int nGauge;
        const wchar_t* pszDate;
    };
    const Case cases[] = {
        // A test file without the fan key has fan '3'; a defaults file '?'.
        {false, L"Fan_Serial_Number: X\r\n", L'3', 0, L"RQ40", 1, L""},
        {true, L"Default Equipment Info\r\nFan_Serial_Number: X\n", L'?', -1, L"RQ40", 1, L""},
        {false, L"Build_Fan_Model: Z\r\nMicromanometer_Model: DG9\r\n", L'Z', -1, L"DG9", 1, L""},
        {false, L"Build_Fan_Model: B\r\nMicromanometer_Model: RQ80\r\n", L'B', 4, L"RQ80", 0, L""},
        // The older date key, read only when the newer one is empty.
        {false, L"Manual_Test_Micromanometer_Calibration_Date: 20200115\r\n", L'3', 0, L"RQ40", 1, L"20200115"},
        {false,
         L"Manual_Test_Micromanometer_Calibration_Date_QAR_Univ: 20210101\r\n"
         L"Manual_Test_Micromanometer_Calibration_Date: 20200115\r\n",
         L'3', 0, L"RQ40", 1, L"20210101"},
        {true, L"Default Equipment Info\r\nManual_Test_Micromanometer_Calibration_Date: 20200115\n", L'?', -1,
         L"RQ40", 1, L""},
    };
    for (const Case& c : cases) {
        Cal().m_nFanRow = 3;
        if (c.bDefaultsFile) {
            ASSERT_TRUE(WriteBytes(Path(), Utf16Bytes(c.pszText)));
            Eq().ReadDefaultsFile();
        } else {
            V()->m_strFileText = c.pszText;
            Eq().ReadFromFile();
        }
        EXPECT_EQ(Eq().m_chFanCode, c.chFan) << c.pszText;
        EXPECT_EQ(Eq().m_nFanIndex, c.nFanIndex) << c.pszText;
        // An unknown fan leaves the calibration's row as it was.
        EXPECT_EQ(Cal().m_nFanRow, c.nFanIndex == -1 ? 3 : c.nFanIndex) << c.pszText;
        EXPECT_EQ(Cal().AnyCustomForCurrentFan(), 0);
        EXPECT_EQ(Eq().m_strGaugeModel, c.pszGauge) << c.pszText;
        EXPECT_EQ(Eq().m_nGaugeModel, c.nGauge) << c.pszText;
        EXPECT_EQ(Eq().m_strCalDateUniv, c.pszDate) << c.pszText;
    }

    // What was read is written back unchanged.
    SetManual(true);
    V()->m_strFileText = L"Build_Fan_Model: Z\r\nMicromanometer_Model: DG9\r\n";
    Eq().ReadFromFile();
    const CString strSection = Eq().WriteToFile();
    EXPECT_EQ(strSection.Left(strSection.Find(L'\n') + 1), L"Build_Fan_Model: Z\n");
    EXPECT_NE(strSection.Find(L"\nMicromanometer_Model: DG9\n"), -1);
    ASSERT_TRUE(WriteBytes(Path(), Utf16Bytes(L"Default Equipment Info\r\nFan_Serial_Number: X\n")));
    Eq().ReadDefaultsFile();
    ASSERT_TRUE(Eq().WriteDefaultsFile());
    EXPECT_NE(ReadBytes(Path()).find(Utf16Bytes(L"\nBuild_Fan_Model: ?\n")), std::string::npos);
}

TEST_F(EquipmentTest, ACalibrationDateThatIsNoDateGivesNoLocalDate)
{
    for (const wchar_t* pszDate : {L"20261332", L"2026121", L"abcdefgh", L"20260230"}) {
        V()->m_strFileText = CString(L"Manual_Test_Micromanometer_Calibration_Date_QAR_Univ: ") + pszDate + L"\r\n";
        Eq().ReadFromFile();
        EXPECT_EQ(Eq().m_strCalDateUniv, pszDate);
        EXPECT_EQ(Eq().m_strCalDateLocal, L"") << pszDate;
    }
}

TEST_F(EquipmentTest, ADefaultsFileThatCannotBeWrittenIsReportedAndTheOldOneStays)
{
    const std::string old = Utf16Bytes(L"Default Equipment Info\r\nBuild_Fan_Model: A\n");
    ASSERT_TRUE(WriteBytes(Path(), old));
    ::SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_READONLY);
    m_answerer.ReplyToMessage(IDOK, L"DefaultEquipmentInfo.dat");
    Eq().m_chFanCode = L'B';
    EXPECT_FALSE(Eq().WriteDefaultsFile());
    ASSERT_EQ(m_answerer.messages.size(), 1u);
    EXPECT_NE(m_answerer.messages[0].text.find(Path()), std::wstring::npos);
    EXPECT_EQ(ReadBytes(Path()), old);
    EXPECT_EQ(::GetFileAttributesW((Path() + L".new").c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder of that name: neither read nor written, both told.
    ::SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(Path().c_str());
    ASSERT_TRUE(::CreateDirectoryW(Path().c_str(), nullptr));
    m_answerer.ReplyToMessage(IDOK, L"DefaultEquipmentInfo.dat file could not be opened: ");
    Eq().m_strFanSerial = L"kept";
    Eq().ReadDefaultsFile();
    EXPECT_EQ(Eq().m_strFanSerial, L"kept");
    m_answerer.ReplyToMessage(IDOK, L"DefaultEquipmentInfo.dat");
    EXPECT_FALSE(Eq().WriteDefaultsFile());
    EXPECT_EQ(m_answerer.messages.size(), 3u);

    // No file at all: nothing read, nothing told.
    ::RemoveDirectoryW(Path().c_str());
    Eq().ReadDefaultsFile();
    EXPECT_EQ(Eq().m_strFanSerial, L"kept");
    EXPECT_EQ(m_answerer.messages.size(), 3u);
}

TEST_F(EquipmentTest, TableLookUps)
{
    const wchar_t codes[] = {L'3', L'5', L'4', L'A', L'B'};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(CEquipmentInfoDialogIntl::GetFanIndex(codes[i]), i);
        EXPECT_EQ(CEquipmentInfoDialogIntl::GetFanCode(i), codes[i]);
    }
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetFanIndex(L'a'), -1);
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetFanCode(-1), L'3');
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetFanCode(5), L'3');
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetGaugeModelIndex(L"rq80"), 1);
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetGaugeModelIndex(L"LZT"), 3);
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetGaugeModelName(4), L"");
    EXPECT_EQ(CEquipmentInfoDialogIntl::GetGaugeModelName(0), L"RQ80");
}

// ---------------------------------------------------------------------------
// The dialog.

TEST_F(EquipmentTest, AnotherFanWithoutTestsChangesAtOnceAndEmptiesItsSerial)
{
    Eq().m_strFanSerial = L"old";
    const INT_PTR nResult = Run({
        [](HWND h) { Choose(h, IDC_EQUIP_FAN, 2); },   // the same fan: nothing
        [](HWND h) {
            EXPECT_EQ(ItemText(h, IDC_EQUIP_FAN_SERIAL), L"old");
            Choose(h, IDC_EQUIP_FAN, 3);
        },
        [](HWND h) {
            EXPECT_EQ(ItemText(h, IDC_EQUIP_FAN_SERIAL), L"");
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDC_EQUIP_GAUGE)));
            TypeInto(h, IDC_EQUIP_FAN_SERIAL, L"AV-9");
            ClickButton(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(Eq().m_chFanCode, L'A');
    EXPECT_EQ(Eq().m_nFanIndex, 3);
    EXPECT_EQ(Cal().m_nFanRow, 3);
    EXPECT_EQ(Eq().m_strFanSerial, L"AV-9");
    EXPECT_TRUE(m_answerer.programMessages.empty());
}

TEST_F(EquipmentTest, AnotherFanWithCompletedTestsAsksFirst)
{
    for (INT_PTR nAnswer : {IDNO, IDYES}) {
        Eq().ClearData();
        CompleteATest();
        m_answerer.programMessages.clear();
        m_answerer.ReplyToProgramMessage(IDS_MSG_CHANGE_CLEARS_DATA, nAnswer, L"fan type");
        int nSelected = -2;
        Run({
            [](HWND h) { Choose(h, IDC_EQUIP_FAN, 0); },
            [&](HWND h) {
                nSelected = static_cast<int>(::SendDlgItemMessageW(h, IDC_EQUIP_FAN, CB_GETCURSEL, 0, 0));
                ClickButton(h, IDOK);
            },
        });
        ASSERT_EQ(m_answerer.programMessages.size(), 1u);
        EXPECT_EQ(m_answerer.programMessages[0].nIcon, 176);
        EXPECT_EQ(m_answerer.programMessages[0].nHelpTopic, 105);
        if (nAnswer == IDNO) {
            EXPECT_EQ(nSelected, 2);
            EXPECT_EQ(Eq().m_chFanCode, L'4');
            EXPECT_EQ(Store().m_CompletedTests[kDepress], 1);
        } else {
            EXPECT_EQ(nSelected, 0);
            EXPECT_EQ(Eq().m_chFanCode, L'3');
            EXPECT_EQ(Store().m_CompletedTests[kDepress], 0);
        }
    }
}

TEST_F(EquipmentTest, ACalibrationEditWithCompletedTestsIsKeptOnlyWhenConfirmed)
{
    const CString strFactory = Cal().m_strFanC[2][0];
    for (INT_PTR nAnswer : {IDCANCEL, IDOK}) {
        CompleteATest();
        m_answerer.programMessages.clear();
        // The editor runs inside the click: nothing may follow it as a step.
        Run({
                [](HWND h) {
                    ClickButton(h, IDC_EQUIP_CALIBRATION);
                    ClickButton(h, IDOK);
                },
            },
            [&] {
                m_answerer.RunDialog(CFanCalibrationDialog::IDD, m_calibrationDriver.Run({
                    [](HWND h) {
                        TypeInto(h, IDC_FANCAL_C_RING0, L"123.4");
                        ClickButton(h, IDOK);
                    },
                }));
                m_answerer.ReplyToProgramMessage(IDS_EQUIP_CALIBRATION_CHANGED, nAnswer);
            });
        ASSERT_EQ(m_answerer.programMessages.size(), 1u);
        EXPECT_EQ(m_answerer.programMessages[0].nKind, 1);
        if (nAnswer == IDCANCEL) {
            EXPECT_EQ(Cal().m_strFanC[2][0], strFactory);
            EXPECT_EQ(Cal().m_dFanC[2][0], CSimbrel1View::TextToDouble(strFactory));
            EXPECT_EQ(Eq().m_bCalibrationChanged, 0);
            EXPECT_EQ(Store().m_CompletedTests[kDepress], 1);
        } else {
            EXPECT_EQ(Cal().m_dFanC[2][0], 123.4);
            EXPECT_EQ(Eq().m_bCalibrationChanged, 1);
            EXPECT_EQ(Store().m_CompletedTests[kDepress], 0);
        }
    }
}

TEST_F(EquipmentTest, CancelTakesBackFanSerialsGaugeDateAndTheOpeningFansCalibration)
{
    SetManual(true);
    Eq().m_strFanSerial = L"F-1";
    Eq().m_strGaugeSerial = L"G-1";
    Eq().m_strCalDateUniv = L"20240102";
    Eq().m_strCalDateLocal = CSimbrel1View::FormatDateKeyLocal(L"20240102");
    const CString strC = Cal().m_strFanC[2][0];
    const double dC = Cal().m_dFanC[2][0];
    bool bGaugeShown = false;
    const INT_PTR nResult = Run({
        [&](HWND h) {
            bGaugeShown = ::IsWindowVisible(::GetDlgItem(h, IDC_EQUIP_GAUGE)) != FALSE;
            SaveScreenshot(h, L"equipment-dialog-manual");
        },
        // The editor runs inside the click: the rest follows in the same step.
        [](HWND h) {
            ClickButton(h, IDC_EQUIP_CALIBRATION);
            Choose(h, IDC_EQUIP_FAN, 4);
            TypeInto(h, IDC_EQUIP_FAN_SERIAL, L"F-2");
            Choose(h, IDC_EQUIP_GAUGE, 3);
            EXPECT_EQ(ItemText(h, IDC_EQUIP_GAUGE_SERIAL), L"");
            TypeInto(h, IDC_EQUIP_GAUGE_SERIAL, L"G-2");
            ClickButton(h, IDCANCEL);
        },
    }, [&] {
        m_answerer.RunDialog(CFanCalibrationDialog::IDD, m_calibrationDriver.Run({
            [](HWND h) {
                TypeInto(h, IDC_FANCAL_C_RING0, L"150");
                ClickButton(h, IDOK);
            },
        }));
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(bGaugeShown);
    EXPECT_EQ(Eq().m_chFanCode, L'4');
    EXPECT_EQ(Eq().m_nFanIndex, 2);
    EXPECT_EQ(Cal().m_nFanRow, 2);
    EXPECT_EQ(Eq().m_strFanSerial, L"F-1");
    EXPECT_EQ(Eq().m_nGaugeModel, 1);
    EXPECT_EQ(Eq().m_strGaugeModel, L"RQ40");
    EXPECT_EQ(Eq().m_strGaugeSerial, L"G-1");
    EXPECT_EQ(Eq().m_strCalDateUniv, L"20240102");
    EXPECT_EQ(Cal().m_strFanC[2][0], strC);
    EXPECT_EQ(Cal().m_dFanC[2][0], dC);
    EXPECT_EQ(Cal().AnyCustomForCurrentFan(), 0);
    EXPECT_EQ(Eq().m_bCalibrationChanged, 0);
}

TEST_F(EquipmentTest, OkWithSetAsDefaultsWritesTheDefaultsFile)
{
    const INT_PTR nResult = Run({
        [](HWND h) {
            TypeInto(h, IDC_EQUIP_FAN_SERIAL, L"D-5");
            ClickButton(h, IDC_EQUIP_SET_AS_DEFAULTS);
            ::SendDlgItemMessageW(h, IDC_EQUIP_SET_AS_DEFAULTS, BM_SETCHECK, BST_CHECKED, 0);
            ClickButton(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(Eq().m_bSetAsDefaults, TRUE);
    EXPECT_NE(ReadBytes(Path()).find(Utf16Bytes(L"\nFan_Serial_Number: D-5\n")), std::string::npos);
}

// Every part of the equipment of a manual test saved, cleared as New Test
// clears, and opened again.
TEST_F(EquipmentTest, TheEquipmentComesBackFromASavedTestFile)
{
    V()->m_strTestTitle = L"Untitled";
    V()->m_bTestOpen = 1;
    SetManual(true);
    Settings().m_chMethodLetter[0] = L'M';
    Eq().m_chFanCode = L'B';
    Eq().m_strFanSerial = L"B-77";
    Eq().m_nGaugeModel = 0;
    Eq().m_strGaugeModel = L"RQ80";
    Eq().m_strGaugeSerial = L"G-88";
    Eq().m_strCalDateUniv = L"20230405";
    Eq().m_strCalDateLocal = CSimbrel1View::FormatDateKeyLocal(L"20230405");
    const std::wstring path = m_folder + L"equipment.bld";
    m_answerer.ReplyToFileDialog(path);
    V()->m_bSaveAsTest = 1;
    ASSERT_EQ(V()->SaveFileAs(), CSimbrel1View::kSaveWritten);
    V()->ClearAllRecords();
    Eq().m_strCalDateUniv.Empty();
    ASSERT_EQ(Eq().m_chFanCode, L'4');
    V()->OpenFile(0, path.c_str());
    EXPECT_EQ(Eq().m_chFanCode, L'B');
    EXPECT_EQ(Eq().m_nFanIndex, 4);
    EXPECT_EQ(Eq().m_strFanSerial, L"B-77");
    EXPECT_EQ(Eq().m_strGaugeModel, L"RQ80");
    EXPECT_EQ(Eq().m_nGaugeModel, 0);
    EXPECT_EQ(Eq().m_strGaugeSerial, L"G-88");
    EXPECT_EQ(Eq().m_strCalDateUniv, L"20230405");
    EXPECT_EQ(Eq().m_strCalDateLocal, CSimbrel1View::FormatDateKeyLocal(L"20230405"));
}
