// The business letterhead: its section of the files, the header logo put
// in place from a picture (through the open-file dialog, and at start-up
// without asking) so that a picture that cannot be used never costs the
// logo in use, and the real dialog with its logo buttons, Clear, Enter and
// Esc.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/GdiPlus.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "pages/BusinessInfoDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/report/PictureFixtures.h"

namespace {

const wchar_t* const kLogoFilter =
    L"Windows Bitmap (*.bmp)|*.bmp|TIFF (*.tif)|*.tif|JPEG (*.jpg)|*.jpg|Extended MetaFile (*.emf)|*.emf|"
    L"All (*.bmp;*.jpg;*.tif;*.emf)|*.bmp;*.jpg;*.tif;*.emf||";

void ClickButton(HWND hDialog, int nID)
{
    ::SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, nID)));
}

}  // namespace

class BusinessInfoTest : public ViewFileTest {
protected:
    BusinessInfoTest() : ViewFileTest(L"BusinessView", L"Business") {}
    void SetUp() override
    {
        ViewFileTest::SetUp();
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_nGdiplusToken, &input, nullptr), Gdiplus::Ok);
        m_strSavedDocuments = g_strDocumentsFolder;
        m_documents = MakeTempFolder(L"BusinessDocuments");
        g_strDocumentsFolder = m_documents.substr(0, m_documents.size() - 1).c_str();
        m_pictures = MakeTempFolder(L"BusinessPictures");
        m_data = V()->m_strDataFolder.GetString();
        ASSERT_FALSE(m_data.empty());
        ASSERT_EQ(m_data.back(), L'\\');
        Biz().m_pView = V();
    }
    void TearDown() override
    {
        g_strDocumentsFolder = m_strSavedDocuments;
        Gdiplus::GdiplusShutdown(m_nGdiplusToken);
        ViewFileTest::TearDown();
    }
    CBusinessInfoDialog& Biz() const { return *V()->m_pBusinessInfo; }
    std::wstring Logo(const wchar_t* pszExtension) const { return m_data + L"ReportLogo-Header" + pszExtension; }
    // A picture in the pictures folder; its path.
    std::wstring Picture(const wchar_t* pszName, const std::string& bytes) const
    {
        const std::wstring path = m_pictures + pszName;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    std::wstring Jpeg(const wchar_t* pszName) const
    {
        const std::wstring path = m_pictures + pszName;
        EXPECT_TRUE(WriteJpeg(path, 9, 6));
        return path;
    }
    std::wstring Metafile(const wchar_t* pszName) const
    {
        const std::wstring path = m_pictures + pszName;
        EXPECT_TRUE(WriteSolidMetafile(path, 2000, 1000, RGB(0, 0, 200)));
        return path;
    }
    // The data folder's files whose names begin with "ReportLogo".
    std::vector<std::wstring> LogoFiles() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data{};
        HANDLE hFind = ::FindFirstFileW((m_data + L"ReportLogo*").c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(data.cFileName);
        while (::FindNextFileW(hFind, &data));
        ::FindClose(hFind);
        std::sort(names.begin(), names.end());
        return names;
    }
    void RemoveLogos() const
    {
        for (const std::wstring& name : LogoFiles())
            ::DeleteFileW((m_data + name).c_str());
    }

    ULONG_PTR m_nGdiplusToken = 0;
    CString m_strSavedDocuments;
    std::wstring m_documents;
    std::wstring m_pictures;
    std::wstring m_data;
    CDialogDriver m_driver;
};

using Names = std::vector<std::wstring>;

TEST_F(BusinessInfoTest, TheElevenKeysAreWrittenInOrderAlsoWhenEmptyAndReadBack)
{
    Biz().ClearData();
    EXPECT_EQ(Biz().WriteToFile(), L"Business: \nBusiness_Name_Line2: \nB_Address: \nB_Address_Line2: \nB_City: \n"
                                   L"B_State: \nB_Zip: \nB_Phone: \nB_Fax: \nBusiness_Email: \nBusiness_Website: \n");

    V()->m_strFileText = L"QARSEAL_Vudadar_Version: 5.1.1.0\r\n\r\nBUSINESS INFO\r\n"
                         L"Business: Tight Homes Ltd\r\nBusiness_Name_Line2: Testing Dept.\r\n"
                         L"B_Address: 1 High St\r\nB_Address_Line2: Unit 4\r\nB_City: Leeds\r\nB_State: Yorks\r\n"
                         L"B_Zip: LS1 1AA\r\nB_Phone: 0113 000\r\nB_Fax: 0113 001\r\n"
                         L"Business_Email: a@b.example\r\nBusiness_Website: www.b.example\r\n"
                         L"XB_City: not this\r\n";
    Biz().ReadFromFile();
    EXPECT_EQ(Biz().m_strBusinessName, L"Tight Homes Ltd");
    EXPECT_EQ(Biz().m_strNameLine2, L"Testing Dept.");
    EXPECT_EQ(Biz().m_strAddress, L"1 High St");
    EXPECT_EQ(Biz().m_strAddressLine2, L"Unit 4");
    EXPECT_EQ(Biz().m_strCity, L"Leeds");
    EXPECT_EQ(Biz().m_strState, L"Yorks");
    EXPECT_EQ(Biz().m_strZip, L"LS1 1AA");
    EXPECT_EQ(Biz().m_strPhone, L"0113 000");
    EXPECT_EQ(Biz().m_strFax, L"0113 001");
    EXPECT_EQ(Biz().m_strEmail, L"a@b.example");
    EXPECT_EQ(Biz().m_strWebsite, L"www.b.example");
    EXPECT_EQ(Biz().WriteToFile(), L"Business: Tight Homes Ltd\nBusiness_Name_Line2: Testing Dept.\n"
                                   L"B_Address: 1 High St\nB_Address_Line2: Unit 4\nB_City: Leeds\nB_State: Yorks\n"
                                   L"B_Zip: LS1 1AA\nB_Phone: 0113 000\nB_Fax: 0113 001\n"
                                   L"Business_Email: a@b.example\nBusiness_Website: www.b.example\n");

    // An older file without the section leaves every text empty.
    V()->m_strFileText = L"QARSEAL_Vudadar_Version: 3.0\r\nBuilding: House\r\n";
    Biz().ReadFromFile();
    EXPECT_EQ(Biz().WriteToFile().Find(L"Business: \nBusiness_Name_Line2: \n"), 0);
}

// Every part of the letterhead saved in a test file, cleared as New Test
// clears, and opened again; an empty letterhead is written as keys only.
TEST_F(BusinessInfoTest, TheLetterheadComesBackFromASavedTestFile)
{
    V()->m_strTestTitle = L"Untitled";
    V()->m_bTestOpen = 1;
    Biz().ClearData();
    Biz().m_strBusinessName = L"Blöwer & Söns";
    Biz().m_strCity = L"Zürich";
    Biz().m_strWebsite = L"www.example.ch";
    const std::wstring path = m_folder + L"letterhead.bld";
    m_answerer.ReplyToFileDialog(path);
    V()->m_bSaveAsTest = 1;
    ASSERT_EQ(V()->SaveFileAs(), CSimbrel1View::kSaveWritten);
    V()->ClearAllRecords();
    ASSERT_EQ(Biz().m_strBusinessName, L"");
    V()->OpenFile(0, path.c_str());
    EXPECT_EQ(Biz().m_strBusinessName, L"Blöwer & Söns");
    EXPECT_EQ(Biz().m_strCity, L"Zürich");
    EXPECT_EQ(Biz().m_strWebsite, L"www.example.ch");
    EXPECT_EQ(Biz().m_strFax, L"");
    CString strFileText = V()->m_strFileText;
    strFileText.Replace(L"\r\n", L"\n");
    EXPECT_GE(strFileText.Find(L"\nBUSINESS INFO\nBusiness: Blöwer & Söns\nBusiness_Name_Line2: \n"), 0);
}

TEST_F(BusinessInfoTest, ImportLogoFileConvertsOnlyTheExtensionsAsWritten)
{
    struct Case {
        const wchar_t* pszName;
        bool bJpeg;
        Names expected;
    };
    const Case cases[] = {
        {L"partner.jpg", true, {L"ReportLogo-Header.bmp"}},
        // Capitals are not converted: the copy keeps its name, and the
        // report, which looks for ".bmp" and ".emf", does not use it.
        {L"partner.JPG", true, {L"ReportLogo-Header.JPG"}},
        {L"partner.bmp", false, {L"ReportLogo-Header.bmp"}},
    };
    for (const Case& c : cases) {
        RemoveLogos();
        const std::wstring path = c.bJpeg ? Jpeg(c.pszName) : Picture(c.pszName, SolidBitmap(4, 3, 10, 20, 30));
        EXPECT_TRUE(Biz().ImportLogoFile(path.c_str())) << c.pszName;
        EXPECT_EQ(LogoFiles(), c.expected) << c.pszName;
    }

    // No question, and a header logo of the other type stays.
    RemoveLogos();
    ASSERT_TRUE(WriteSolidMetafile(Logo(L".emf"), 1000, 1000, RGB(1, 2, 3)));
    EXPECT_TRUE(Biz().ImportLogoFile(Picture(L"plain.bmp", SolidBitmap(2, 2, 0, 0, 0)).c_str()));
    EXPECT_EQ(LogoFiles(), (Names{L"ReportLogo-Header.bmp", L"ReportLogo-Header.emf"}));
    EXPECT_TRUE(m_answerer.programMessages.empty());

    // A damaged picture leaves the logo in use as it was.
    const std::string logo = ReadBytes(Logo(L".bmp"));
    const std::string jpeg = ReadBytes(Jpeg(L"whole.jpg"));
    EXPECT_FALSE(Biz().ImportLogoFile(Picture(L"cut.jpg", jpeg.substr(0, 40)).c_str()));
    EXPECT_FALSE(Biz().ImportLogoFile((m_pictures + L"missing.bmp").c_str()));
    EXPECT_EQ(ReadBytes(Logo(L".bmp")), logo);
    EXPECT_EQ(LogoFiles(), (Names{L"ReportLogo-Header.bmp", L"ReportLogo-Header.emf"}));
}

// Load New Logo through the scripted open-file dialog, case by case.
TEST_F(BusinessInfoTest, LoadNewLogoKeepsOneHeaderLogoAndNeverLosesTheOldOne)
{
    enum Start { kNone, kBmp, kEmf };
    struct Case {
        const char* pszName;
        Start start;
        INT_PTR nReplace;         // answer to "replace?" when a logo exists
        std::wstring chosen;      // "" cancels the file dialog
        Names expected;
        bool bSameLogo;           // the logo's bytes are those before
        bool bReported;           // the picture is reported as not usable
    };
    const std::string jpeg = ReadBytes(Jpeg(L"photo.jpg"));
    const std::string tiff = MakeTiff(3, 2, 3, 8, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 80, 80, 80, 1, 2, 3});
    std::string cutBitmap = SolidBitmap(20, 20, 1, 2, 3);
    cutBitmap.resize(80);
    const Case cases[] = {
        {"jpg in capitals", kNone, 0, Picture(L"PHOTO.JPG", jpeg), {L"ReportLogo-Header.bmp"}, false, false},
        {"tif", kNone, 0, Picture(L"scan.tif", tiff), {L"ReportLogo-Header.bmp"}, false, false},
        {"No keeps the logo", kBmp, IDNO, L"unused", {L"ReportLogo-Header.bmp"}, true, false},
        {"png ignored", kBmp, IDYES, Picture(L"pic.png", "\x89PNG"), {L"ReportLogo-Header.bmp"}, true, false},
        {"cancelled", kBmp, IDYES, std::wstring(), {L"ReportLogo-Header.bmp"}, true, false},
        {"emf replaces bmp", kBmp, IDYES, Metafile(L"vector.emf"), {L"ReportLogo-Header.emf"}, false, false},
        {"bmp replaces emf", kEmf, IDYES, Picture(L"new.bmp", SolidBitmap(5, 5, 9, 9, 9)), {L"ReportLogo-Header.bmp"},
         false, false},
        {"damaged jpg", kBmp, IDYES, Picture(L"cut.jpg", jpeg.substr(0, 60)), {L"ReportLogo-Header.bmp"}, true,
         true},
        {"damaged bmp", kEmf, IDYES, Picture(L"cut.bmp", cutBitmap), {L"ReportLogo-Header.emf"}, true, true},
        {"damaged emf", kBmp, IDYES, Picture(L"cut.emf", "not a metafile"), {L"ReportLogo-Header.bmp"}, true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        RemoveLogos();
        if (c.start == kBmp) {
            ASSERT_TRUE(WriteBytes(Logo(L".bmp"), SolidBitmap(3, 3, 200, 0, 0)));
        }
        if (c.start == kEmf) {
            ASSERT_TRUE(WriteSolidMetafile(Logo(L".emf"), 500, 500, RGB(0, 200, 0)));
        }
        const std::wstring before = c.start == kBmp ? Logo(L".bmp") : Logo(L".emf");
        const std::string beforeBytes = c.start == kNone ? std::string() : ReadBytes(before);
        m_answerer.programMessages.clear();
        m_answerer.fileDialogs.clear();
        if (c.start != kNone)
            m_answerer.ReplyToProgramMessage(IDS_BUS_REPLACE_LOGO, c.nReplace);
        if (c.nReplace != IDNO)
            m_answerer.ReplyToFileDialog(c.chosen);
        if (c.bReported)
            m_answerer.ReplyToProgramMessage(IDS_BUS_LOGO_NOT_USABLE, IDOK);

        Biz().OnLoadNewLogo();

        EXPECT_TRUE(m_answerer.AllRepliesUsed());
        EXPECT_EQ(LogoFiles(), c.expected);
        if (c.bSameLogo) {
            EXPECT_EQ(ReadBytes(before), beforeBytes);
        }
        ASSERT_EQ(m_answerer.fileDialogs.size(), c.nReplace == IDNO ? 0u : 1u);
        if (c.nReplace != IDNO) {
            const CTestAnswerer::ShownFileDialog& shown = m_answerer.fileDialogs[0];
            EXPECT_TRUE(shown.bOpen);
            EXPECT_EQ(shown.title, L"Select Logo File");
            EXPECT_EQ(shown.filter, kLogoFilter);
            EXPECT_NE(shown.dwFlags & OFN_HIDEREADONLY, 0u);
        }
        if (c.bReported) {
            ASSERT_FALSE(m_answerer.programMessages.empty());
            const CTestAnswerer::ShownProgramMessage& shown = m_answerer.programMessages.back();
            EXPECT_NE(shown.text.find(c.chosen), std::wstring::npos) << "the message names the picture";
        }
        // The converted picture is the one chosen.
        if (std::string(c.pszName) == "jpg in capitals") {
            EXPECT_EQ(ReadBytes(Logo(L".bmp")).substr(18, 8), std::string("\x09\0\0\0\x06\0\0\0", 8));
        }
    }
}

// ---------------------------------------------------------------------------
// The real dialog.

TEST_F(BusinessInfoTest, TheDialogLoadsAndDeletesTheLogoStartingInDocumentsThenTheLastFolder)
{
    RemoveLogos();
    Biz().ClearData();
    Biz().m_strBusinessName = L"Airtight Inc";
    const std::wstring otherFolder = MakeTempFolder(L"BusinessOther");
    const std::wstring first = Metafile(L"first.emf");
    const std::wstring second = otherFolder + L"second.bmp";
    ASSERT_TRUE(WriteBytes(second, SolidBitmap(6, 4, 0, 0, 255)));
    m_answerer.ReplyToFileDialog(first);
    m_answerer.ReplyToProgramMessage(IDS_BUS_REPLACE_LOGO, IDYES);
    m_answerer.ReplyToFileDialog(second);
    m_answerer.ReplyToProgramMessage(IDS_BUS_DELETE_LOGO_QUESTION, IDNO);
    m_answerer.ReplyToProgramMessage(IDS_CLEAR_ALL_ENTRIES, IDYES);
    m_answerer.ReplyToProgramMessage(IDS_BUS_DELETE_LOGO_QUESTION, IDYES);

    bool bDeleteAtFirst = true;
    bool bHiddenCombo = false;
    std::wstring caption, headerLabel;
    int nFocusAfterEnter = 0;
    bool bOpenAfterEsc = false;
    std::vector<bool> deleteEnabled;
    std::wstring nameAfterClear;
    Names logosAfterClear;
    auto deleteState = [&](HWND h) {
        deleteEnabled.push_back(::IsWindowEnabled(::GetDlgItem(h, IDC_BUS_DELETE_LOGO)) != FALSE);
    };
    m_answerer.RunDialog(CBusinessInfoDialog::IDD, m_driver.Run({
        [&](HWND h) {
            caption = WindowText(h);
            headerLabel = ItemText(h, IDC_BUS_HEADER_LOGO_LABEL);
            bDeleteAtFirst = ::IsWindowEnabled(::GetDlgItem(h, IDC_BUS_DELETE_LOGO)) != FALSE;
            bHiddenCombo = !::IsWindowVisible(::GetDlgItem(h, IDC_BUS_LOGO_POSITION)) &&
                           !::IsWindowVisible(::GetDlgItem(h, IDC_BUS_LOGO_POSITION_LABEL));
            TypeInto(h, IDC_BUS_PHONE, L"555-0100");
            PressKey(VK_ESCAPE);
        },
        [&](HWND h) {
            bOpenAfterEsc = ::IsWindowVisible(h) != FALSE;
            ::SetFocus(::GetDlgItem(h, IDC_BUS_NAME));
            PressKey(VK_RETURN);
        },
        [&](HWND h) {
            nFocusAfterEnter = ::GetDlgCtrlID(::GetFocus());
            ClickButton(h, IDC_BUS_LOAD_LOGO);
            deleteState(h);
            ClickButton(h, IDC_BUS_LOAD_LOGO);
            deleteState(h);
            SaveScreenshot(h, L"business-info-dialog");
            ClickButton(h, IDC_BUS_DELETE_LOGO);   // No
            deleteState(h);
            ClickButton(h, IDC_BUS_CLEAR);
            nameAfterClear = ItemText(h, IDC_BUS_NAME);
            logosAfterClear = LogoFiles();
            TypeInto(h, IDC_BUS_CITY, L"Boston");
            ClickButton(h, IDC_BUS_DELETE_LOGO);   // Yes
            deleteState(h);
            ClickButton(h, IDOK);
        },
    }));
    EXPECT_EQ(Biz().DoModal(), IDOK);
    EXPECT_EQ(caption, L"Business Info");
    EXPECT_EQ(headerLabel, L"Report Header Logo");
    EXPECT_FALSE(bDeleteAtFirst);
    EXPECT_TRUE(bHiddenCombo);
    EXPECT_TRUE(bOpenAfterEsc);
    EXPECT_EQ(nFocusAfterEnter, IDC_BUS_NAME2);
    EXPECT_EQ(deleteEnabled, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(nameAfterClear, L"");
    EXPECT_EQ(logosAfterClear, (Names{L"ReportLogo-Header.bmp"}));
    ASSERT_EQ(m_answerer.fileDialogs.size(), 2u);
    EXPECT_EQ(m_answerer.fileDialogs[0].initialDir, g_strDocumentsFolder.GetString());
    EXPECT_EQ(m_answerer.fileDialogs[1].initialDir, m_pictures.substr(0, m_pictures.size() - 1));
    // Clear emptied the texts and left the logo; Delete removed it.
    EXPECT_EQ(Biz().m_strBusinessName, L"");
    EXPECT_EQ(Biz().m_strPhone, L"");
    EXPECT_EQ(Biz().m_strCity, L"Boston");
    EXPECT_TRUE(LogoFiles().empty());

    // The next opening starts in Documents again.
    m_answerer.fileDialogs.clear();
    m_answerer.ReplyToFileDialog(std::wstring());
    m_answerer.RunDialog(CBusinessInfoDialog::IDD, m_driver.Run({
        [](HWND h) {
            ClickButton(h, IDC_BUS_LOAD_LOGO);
            ClickButton(h, IDCANCEL);
        },
    }));
    EXPECT_EQ(Biz().DoModal(), IDCANCEL);
    ASSERT_EQ(m_answerer.fileDialogs.size(), 1u);
    EXPECT_EQ(m_answerer.fileDialogs[0].initialDir, g_strDocumentsFolder.GetString());
}

TEST_F(BusinessInfoTest, ALogoHeldOpenElsewhereIsReportedAndTheDialogStaysOpen)
{
    RemoveLogos();
    ASSERT_TRUE(WriteBytes(Logo(L".bmp"), SolidBitmap(3, 3, 1, 1, 1)));
    HANDLE hHeld = ::CreateFileW(Logo(L".bmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    m_answerer.ReplyToProgramMessage(IDS_BUS_DELETE_LOGO_QUESTION, IDYES);
    m_answerer.ReplyToMessage(IDOK);
    bool bStillOpen = false;
    bool bDeleteEnabled = false;
    m_answerer.RunDialog(CBusinessInfoDialog::IDD, m_driver.Run({
        [](HWND h) { ClickButton(h, IDC_BUS_DELETE_LOGO); },
        [&](HWND h) {
            bStillOpen = ::IsWindowVisible(h) != FALSE;
            bDeleteEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_BUS_DELETE_LOGO)) != FALSE;
            ClickButton(h, IDCANCEL);
        },
    }));
    EXPECT_EQ(Biz().DoModal(), IDCANCEL);
    ::CloseHandle(hHeld);
    EXPECT_TRUE(bStillOpen);
    EXPECT_TRUE(bDeleteEnabled);
    ASSERT_EQ(m_answerer.messages.size(), 1u);
    EXPECT_NE(m_answerer.messages[0].text.find(L"ReportLogo-Header.bmp"), std::wstring::npos);
    EXPECT_EQ(LogoFiles(), (Names{L"ReportLogo-Header.bmp"}));
}
