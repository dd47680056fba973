// Test and configuration files: the text in its section order, the bytes
// on disk, saving through the file dialog, the change question, and saves
// that fail without harming the file already stored.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Utf16Bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// What the program writes for a text: the byte-order mark and the text.
std::string FileBytes(const CString& strText)
{
    return "\xFF\xFE" + Utf16Bytes(strText.str());
}

// The section headers of a text in the order they stand, and the export
// line where it stands.
std::vector<std::wstring> Sections(const CString& strText)
{
    static const wchar_t* const kHeaders[] = {
        L"BUSINESS INFO", L"EN13829 DATA INFO", L"ISO9972 DATA INFO", L"TEST SETTINGS INFO", L"COMMENTS",
        L"TEST UNITS INFO", L"CUSTOM PRESSURES INFO", L"DEPRESSURIZATION TEST DATA",
        L"DEPRESSURIZATION TEST RESULTS", L"DEPRESSURIZATION TEST DEVIATIONS FROM STANDARD",
        L"PRESSURIZATION TEST DATA", L"PRESSURIZATION TEST RESULTS", L"PRESSURIZATION TEST DEVIATIONS FROM STANDARD",
        L"EQUIPMENT INFO", L"FAN CALIBRATION INFO", L"CONNECTED MANOMETER(S) INFO"};
    const std::wstring& text = strText.str();
    std::vector<std::pair<size_t, std::wstring>> found;
    for (const wchar_t* pszHeader : kHeaders) {
        const std::wstring header = L"\n" + std::wstring(pszHeader) + L"\n";
        for (size_t p = text.find(header); p != std::wstring::npos; p = text.find(header, p + 1))
            found.emplace_back(p, pszHeader);
    }
    for (size_t p = text.find(L"\nQARMIX_Export: True\n"); p != std::wstring::npos;
         p = text.find(L"\nQARMIX_Export: True\n", p + 1))
        found.emplace_back(p + 1, L"QARMIX_Export");
    std::sort(found.begin(), found.end());
    std::vector<std::wstring> names;
    for (const auto& f : found)
        names.push_back(f.second);
    return names;
}

class TestFileTest : public ViewFileTest {
protected:
    TestFileTest() : ViewFileTest(L"TestFileView", L"TestFileSaves") {}

    void SetUp() override
    {
        ViewFileTest::SetUp();
        g_nCurrentDirection = 1;
        V()->m_strTestTitle = L"Untitled";
        V()->m_bTestOpen = 1;
    }

    std::wstring Path(const wchar_t* pszName) const { return m_folder + pszName; }

    void SetCompletedTests(int nPressurization, int nDepressurization)
    {
        Store().m_CompletedTests[0] = nPressurization;
        Store().m_CompletedTests[1] = nDepressurization;
    }
    // Method and flow unit differ between the slots, so a text shows which
    // slot its settings and units came from.
    void MarkSlots()
    {
        Settings().m_chMethodLetter[0] = L'A';
        Settings().m_chMethodLetter[1] = L'S';
        V()->m_strFlowUnitName[0] = L"cfm";
        V()->m_strFlowUnitName[1] = L"m³/h";
    }
    // The save dialog's answer, then Save Current Test File.
    CSimbrel1View::SaveResult SaveTestAs(const std::wstring& path)
    {
        m_answerer.ReplyToFileDialog(path);
        return V()->SaveCurrentTestFile();
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// The text.

TEST_F(TestFileTest, SectionsStandInTheirOrderUnderTheirConditions)
{
    struct Case {
        const char* name;
        int nStandard;
        wchar_t chMethod;   // of both slots
        int nCompleted0, nCompleted1;
        int bExported;
        int bAsConfiguration;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {"CGSB automatic, no tests", 0, L'A', 0, 0, 0, 0,
         {L"BUSINESS INFO", L"TEST SETTINGS INFO", L"COMMENTS", L"TEST UNITS INFO", L"CUSTOM PRESSURES INFO",
          L"EQUIPMENT INFO", L"FAN CALIBRATION INFO", L"CONNECTED MANOMETER(S) INFO"}},
        {"EN 13829 manual: no custom pressures, no devices", 1, L'M', 0, 2, 0, 0,
         {L"BUSINESS INFO", L"EN13829 DATA INFO", L"TEST SETTINGS INFO", L"COMMENTS", L"TEST UNITS INFO",
          L"DEPRESSURIZATION TEST DATA", L"DEPRESSURIZATION TEST RESULTS",
          L"DEPRESSURIZATION TEST DEVIATIONS FROM STANDARD", L"EQUIPMENT INFO", L"FAN CALIBRATION INFO"}},
        {"ISO 9972 export, both directions", 3, L'S', 1, 3, 1, 0,
         {L"BUSINESS INFO", L"ISO9972 DATA INFO", L"TEST SETTINGS INFO", L"COMMENTS", L"TEST UNITS INFO",
          L"CUSTOM PRESSURES INFO", L"QARMIX_Export", L"DEPRESSURIZATION TEST DATA", L"DEPRESSURIZATION TEST RESULTS",
          L"DEPRESSURIZATION TEST DEVIATIONS FROM STANDARD", L"PRESSURIZATION TEST DATA",
          L"PRESSURIZATION TEST RESULTS", L"PRESSURIZATION TEST DEVIATIONS FROM STANDARD", L"EQUIPMENT INFO",
          L"FAN CALIBRATION INFO", L"CONNECTED MANOMETER(S) INFO"}},
        {"the same as a configuration", 3, L'S', 1, 3, 1, 1,
         {L"BUSINESS INFO", L"ISO9972 DATA INFO", L"TEST SETTINGS INFO", L"COMMENTS", L"TEST UNITS INFO",
          L"CUSTOM PRESSURES INFO", L"EQUIPMENT INFO", L"FAN CALIBRATION INFO", L"CONNECTED MANOMETER(S) INFO"}},
        {"ASTM E779, pressurization only", 2, L'A', 4, 0, 0, 0,
         {L"BUSINESS INFO", L"TEST SETTINGS INFO", L"COMMENTS", L"TEST UNITS INFO", L"CUSTOM PRESSURES INFO",
          L"PRESSURIZATION TEST DATA", L"PRESSURIZATION TEST RESULTS", L"PRESSURIZATION TEST DEVIATIONS FROM STANDARD",
          L"EQUIPMENT INFO", L"FAN CALIBRATION INFO", L"CONNECTED MANOMETER(S) INFO"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings().m_nStandard = c.nStandard;
        Settings().m_chMethodLetter[0] = Settings().m_chMethodLetter[1] = c.chMethod;
        Settings().m_nMethodIndex = CTestSettingsDialog::GetMethodIndex(c.chMethod);
        SetCompletedTests(c.nCompleted0, c.nCompleted1);
        V()->m_bExportedFile = c.bExported;
        EXPECT_EQ(Sections(V()->BuildFileText(c.bAsConfiguration)), c.expected);
    }
}

TEST_F(TestFileTest, FirstLineNamesTheVersionAndTheLastKeepsItsLineFeed)
{
    const struct {
        int nStandard;
        const wchar_t* firstLine;
    } cases[] = {
        {0, L"QARSEAL_Vudadar_Version: 5.1.1.0\n"},
        {1, L"QARSEAL_Vudadar_Version: 5.1.1.0\n"},
        {2, L"QARSEAL_Vudadar_Version: 5.1.1.0\n"},
        {3, L"QARSEAL_Vudadar_ISO_Version: 5.1.1.0\n"},
    };
    // A manual test ends with the fan calibration, whose lines carry values.
    Settings().m_chMethodLetter[0] = Settings().m_chMethodLetter[1] = L'M';
    for (const auto& c : cases) {
        Settings().m_nStandard = c.nStandard;
        for (int bAsConfiguration : {0, 1}) {
            const std::wstring text = V()->BuildFileText(bAsConfiguration).str();
            EXPECT_EQ(text.substr(0, wcslen(c.firstLine)), c.firstLine) << c.nStandard;
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.back(), L'\n');
            // The last value can be read back.
            const size_t nLastLine = text.rfind(L'\n', text.size() - 2) + 1;
            const std::wstring lastLine = text.substr(nLastLine, text.size() - 1 - nLastLine);
            const size_t nBlank = lastLine.find(L' ');
            ASSERT_NE(nBlank, std::wstring::npos) << "last line: " << std::string(lastLine.begin(), lastLine.end());
            V()->m_strFileText = text.c_str();
            EXPECT_EQ(V()->GetFileValue(lastLine.substr(0, nBlank).c_str()).str(), lastLine.substr(nBlank + 1));
        }
    }
}

TEST_F(TestFileTest, SettingsAndUnitsComeFromTheSavedDirection)
{
    MarkSlots();
    const struct {
        const char* name;
        int nCompleted0, nCompleted1;
        int nCurrent;
        int nSaved;
    } cases[] = {
        {"no tests, pressurization current", 0, 0, 0, 0},
        {"no tests, depressurization current", 0, 0, 1, 1},
        {"depressurization tests only, pressurization current", 0, 2, 0, 1},
        {"pressurization tests only, depressurization current", 3, 0, 1, 0},
        {"both directions", 3, 2, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetCompletedTests(c.nCompleted0, c.nCompleted1);
        g_nCurrentDirection = c.nCurrent;
        EXPECT_EQ(V()->GetSavedDirection(), c.nSaved);
        V()->m_strFileText = V()->BuildFileText(0);
        EXPECT_EQ(V()->GetFileValue(L"Build_Test_Method:").str(), c.nSaved == 1 ? L"S" : L"A");
        EXPECT_EQ(V()->GetFileValue(L"Flow_Units:").str(), c.nSaved == 1 ? L"m³/h" : L"cfm");
    }

    // The devices' section follows the saved direction's method too.
    SetCompletedTests(0, 2);
    g_nCurrentDirection = 0;
    Settings().m_chMethodLetter[1] = L'M';
    EXPECT_EQ(V()->BuildFileText(0).Find(L"CONNECTED MANOMETER(S) INFO"), -1);
    Settings().m_chMethodLetter[0] = L'M';
    Settings().m_chMethodLetter[1] = L'A';
    EXPECT_NE(V()->BuildFileText(0).Find(L"CONNECTED MANOMETER(S) INFO"), -1);
}

TEST_F(TestFileTest, VersionNumbersAndTags)
{
    const struct {
        const wchar_t* version;
        int number;
    } cases[] = {
        {L"3.7.2.1", 3070201}, {L"3.7.2.0", 3070200}, {L"5.1.1.0", 5010100}, {L"12.34.56.78", 12345678},
        {L" 4. 5.6x.7", 4050607},   // blanks before a part, a part cut at its first non-digit
        {L"5.1", 1},                // too few parts: the ones taken so far
        {L"3.7.2", 702},   {L".5.6.7", 607},   // a leading "." ends the number too {L"", 0}, {L"abc", 0},
        {L"999999999999.1.1.1", INT_MAX},   // no overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSimbrel1View::VersionTextToNumber(c.version), c.number)
            << std::string(c.version, c.version + wcslen(c.version));

    const struct {
        const wchar_t* text;
        int number;
        const wchar_t* tag;
    } files[] = {
        {L"QARSEAL_Version: 3.7.1.9\nQARSEAL_Vudadar_Version: 5.0.0.0\n", 3070109, L"QS 3.7.1.9"},
        {L"QARSEAL_Version: \nQARVENTO_Version: 3.1.0.2\n", 3010002, L"QV 3.1.0.2"},
        {L"QARSEAL_Vudadar_ISO_Version: 5.1.1.0\n", 5010100, L"QSE 5.1.1.0"},
        {L"Test_Date: 20240101\n", 0, L"before"},
    };
    for (const auto& f : files) {
        V()->m_strFileText = f.text;
        V()->m_strFileVersionTag = L"before";
        EXPECT_EQ(V()->GetFileVersionNumber(), f.number);
        EXPECT_EQ(V()->m_strFileVersionTag.str(), f.tag);
    }
    EXPECT_EQ(V()->GetProgramVersionTag().str(), L"QSE 5.1.1.0");
}

// ---------------------------------------------------------------------------
// Saving.

TEST_F(TestFileTest, SavedTestIsTheMarkAndTheTextInUtf16AndTakesTitleAndFolder)
{
    MarkSlots();
    SetCompletedTests(0, 1);
    g_bLiveReadings = 1;
    int nLiveWhileWriting = -1;
    CScopedFileFailure watch(CFile::WriteFailureHook([&](const CFile&, ULONGLONG, UINT nCount) {
        nLiveWhileWriting = g_bLiveReadings;
        return nCount;
    }));

    const std::wstring subFolder = m_folder + L"Sub Folder";
    ASSERT_TRUE(::CreateDirectoryW(subFolder.c_str(), nullptr));
    const std::wstring path = subFolder + L"\\House.v2.bld";
    ASSERT_EQ(SaveTestAs(path), CSimbrel1View::kSaveWritten);

    const CString strExpected = V()->BuildFileText(0);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, FileBytes(strExpected));
    EXPECT_EQ(bytes.size(), 2u * (static_cast<size_t>(strExpected.GetLength()) + 1));
    EXPECT_EQ(V()->m_strFileText, strExpected);
    EXPECT_EQ(V()->m_nFileVersion, 5010100);
    EXPECT_EQ(V()->m_strFileVersionTag.str(), L"QSE 5.1.1.0");
    EXPECT_EQ(V()->m_strTestTitle.str(), L"House.v2");
    EXPECT_EQ(V()->m_strFileFolder.str(), subFolder);
    EXPECT_EQ(V()->m_strSavedText, strExpected);
    EXPECT_FALSE(FileExists(path + L".new"));
    EXPECT_EQ(nLiveWhileWriting, 0);
    EXPECT_EQ(g_bLiveReadings, 1);

    ASSERT_EQ(m_answerer.fileDialogs.size(), 1u);
    const auto& shown = m_answerer.fileDialogs[0];
    EXPECT_FALSE(shown.bOpen);
    EXPECT_EQ(shown.title, L"Save Building Test File");
    EXPECT_EQ(shown.filter, L"Building Test Files (*.bld)|*.bld||");
    EXPECT_EQ(shown.defExt, L"bld");
    EXPECT_EQ(shown.fileName, L"Untitled");
    EXPECT_EQ(shown.initialDir, m_folder.substr(0, m_folder.size() - 1));
    EXPECT_EQ(shown.dwFlags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
              static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));

    // Saved again under the same name: the file is replaced whole.
    V()->m_pSettings->m_strDataSamples = L"7";
    ASSERT_EQ(SaveTestAs(path), CSimbrel1View::kSaveWritten);
    EXPECT_EQ(ReadBytes(path), FileBytes(V()->BuildFileText(0)));
    EXPECT_EQ(m_answerer.fileDialogs[1].fileName, L"House.v2");
    EXPECT_EQ(m_answerer.fileDialogs[1].initialDir, subFolder);
}

TEST_F(TestFileTest, CfaNameThroughSaveCurrentTestWritesAConfigurationButTakesTheTitle)
{
    SetCompletedTests(0, 2);
    const CString strBefore = L"saved before";
    V()->m_strSavedText = strBefore;
    const std::wstring path = Path(L"Setup.CFA");
    ASSERT_EQ(SaveTestAs(path), CSimbrel1View::kSaveWritten);

    EXPECT_EQ(V()->m_bSaveAsConfiguration, 1);
    EXPECT_EQ(ReadBytes(path), FileBytes(V()->BuildFileText(1)));
    EXPECT_EQ(V()->m_strFileText.Find(L"TEST DATA"), -1);
    EXPECT_EQ(V()->m_strTestTitle.str(), L"Setup");
    EXPECT_EQ(V()->m_strFileFolder.str(), m_folder.substr(0, m_folder.size() - 1));
    // The measurements are in no file yet: closing must still ask.
    EXPECT_EQ(V()->m_strSavedText, strBefore);
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDNO);
    EXPECT_TRUE(V()->OfferToSaveChanges());

    // Without measurements a configuration holds the whole test.
    SetCompletedTests(0, 0);
    ASSERT_EQ(SaveTestAs(Path(L"Empty.cfa")), CSimbrel1View::kSaveWritten);
    EXPECT_EQ(V()->m_strSavedText, V()->BuildFileText(0));
    EXPECT_TRUE(V()->OfferToSaveChanges());
}

TEST_F(TestFileTest, ConfigurationSaveAsksFirstWhenThereAreTestsAndTheNameDecides)
{
    V()->m_strTestTitle = L"House";
    const CString strFolder = V()->m_strFileFolder;

    // Tests in a direction: the warning first; No writes nothing.
    SetCompletedTests(1, 0);
    m_answerer.ReplyToProgramMessage(IDS_CONFIGURATION_NO_TEST_DATA, IDNO);
    V()->OnSaveConfigurationFile();
    EXPECT_TRUE(m_answerer.fileDialogs.empty());
    ASSERT_EQ(m_answerer.programMessages.size(), 1u);
    EXPECT_EQ(m_answerer.programMessages[0].nIcon, IDI_MESSAGE_EXCLAMATION);
    EXPECT_EQ(m_answerer.programMessages[0].nKind, 4);
    EXPECT_EQ(m_answerer.programMessages[0].nHelpTopic, 128);

    // Yes: the configuration dialog; a ".bld" name writes a test text,
    // and neither title nor folder change.
    m_answerer.ReplyToProgramMessage(IDS_CONFIGURATION_NO_TEST_DATA, IDYES);
    m_answerer.ReplyToFileDialog(Path(L"Named.bld"));
    V()->OnSaveConfigurationFile();
    ASSERT_EQ(m_answerer.fileDialogs.size(), 1u);
    EXPECT_EQ(m_answerer.fileDialogs[0].title, L"Save Configuration file.");
    EXPECT_EQ(m_answerer.fileDialogs[0].filter, L"Configuration Files (*.cfa)|*.cfa||");
    EXPECT_EQ(m_answerer.fileDialogs[0].defExt, L"cfa");
    EXPECT_EQ(m_answerer.fileDialogs[0].fileName, L"");
    EXPECT_EQ(ReadBytes(Path(L"Named.bld")), FileBytes(V()->BuildFileText(0)));
    EXPECT_NE(V()->m_strFileText.Find(L"\nPRESSURIZATION TEST DATA\n"), -1);
    EXPECT_EQ(V()->m_strTestTitle.str(), L"House");
    EXPECT_EQ(V()->m_strFileFolder, strFolder);

    // No tests: no question.
    SetCompletedTests(0, 0);
    m_answerer.ReplyToFileDialog(Path(L"Plain.cfa"));
    V()->OnSaveConfigurationFile();
    EXPECT_EQ(ReadBytes(Path(L"Plain.cfa")), FileBytes(V()->BuildFileText(1)));
    EXPECT_EQ(m_answerer.programMessages.size(), 2u);
}

TEST_F(TestFileTest, LiveReadingsComeBackOnEveryWayOut)
{
    SetCompletedTests(1, 0);
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"configuration question answered No",
         [&] {
             m_answerer.ReplyToProgramMessage(IDS_CONFIGURATION_NO_TEST_DATA, IDNO);
             V()->OnSaveConfigurationFile();
         }},
        {"dialog cancelled", [&] { SaveTestAs(L""); }},
        {"file cannot be created",
         [&] {
             m_answerer.ReplyToProgramMessage(IDS_SAVE_NOT_CREATED, IDOK);
             SaveTestAs(Path(L"missing\\x.bld"));
         }},
        {"written", [&] { SaveTestAs(Path(L"x.bld")); }},
    };
    for (int bLive : {0, 1}) {
        for (const auto& way : ways) {
            g_bLiveReadings = bLive;
            way.second();
            EXPECT_EQ(g_bLiveReadings, bLive) << way.first;
        }
    }
}

TEST_F(TestFileTest, SaveConfigurationCommandIsEnabledOnlyWithATestOpen)
{
    struct CRecordingCmdUI : CCmdUI {
        int nEnabled = -1;
        void Enable(BOOL bOn) override { nEnabled = bOn ? 1 : 0; }
    };
    for (int bOpen : {0, 1}) {
        V()->m_bTestOpen = bOpen;
        CRecordingCmdUI ui;
        ui.m_nID = ID_FILE_SAVE;
        EXPECT_TRUE(ui.DoUpdate(V(), true));   // the view's own enabling handler
        EXPECT_EQ(ui.nEnabled, bOpen);
    }
    // The command itself (Ctrl+S) reaches the configuration save.
    m_answerer.ReplyToFileDialog(std::wstring());
    EXPECT_TRUE(V()->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(m_answerer.fileDialogs.size(), 1u);
    EXPECT_EQ(m_answerer.fileDialogs[0].defExt, L"cfa");
}

// ---------------------------------------------------------------------------
// The change question.

TEST_F(TestFileTest, ChangeQuestionOnlyWhenTheTestDiffersFromBothReferences)
{
    // As an opening leaves them: both references the text of the test.
    V()->m_strLoadedText = V()->BuildFileText(0);
    V()->m_strSavedText = V()->m_strLoadedText;
    EXPECT_TRUE(V()->OfferToSaveChanges());

    // Either reference alone keeps the question away.
    Settings().m_strDataSamples = L"321";
    V()->m_strSavedText = V()->BuildFileText(0);
    EXPECT_TRUE(V()->OfferToSaveChanges());
    V()->m_strLoadedText = V()->m_strSavedText;
    V()->m_strSavedText = L"older";
    EXPECT_TRUE(V()->OfferToSaveChanges());

    // No test open: nothing to ask about.
    Settings().m_strDataSamples = L"322";
    V()->m_bTestOpen = 0;
    EXPECT_TRUE(V()->OfferToSaveChanges());
    V()->m_bTestOpen = 1;

    // Changed: asked; No goes on unsaved and asks again next time.
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDNO);
    EXPECT_TRUE(V()->OfferToSaveChanges());
    ASSERT_EQ(m_answerer.programMessages.size(), 1u);
    EXPECT_EQ(m_answerer.programMessages[0].nIcon, IDI_MESSAGE_EXCLAMATION);
    EXPECT_EQ(m_answerer.programMessages[0].nKind, 4);
    EXPECT_EQ(m_answerer.programMessages[0].nHelpTopic, 119);
    EXPECT_TRUE(m_answerer.fileDialogs.empty());

    // Yes saves through Save Current Test File; right after it, no question.
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDYES);
    m_answerer.ReplyToFileDialog(Path(L"Changed.bld"));
    EXPECT_TRUE(V()->OfferToSaveChanges());
    EXPECT_EQ(ReadBytes(Path(L"Changed.bld")), FileBytes(V()->BuildFileText(0)));
    EXPECT_TRUE(V()->OfferToSaveChanges());

    // Yes, then the dialog cancelled: the test counts as unchanged and
    // closing goes on.
    Settings().m_strDataSamples = L"323";
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDYES);
    m_answerer.ReplyToFileDialog(std::wstring());
    EXPECT_TRUE(V()->OfferToSaveChanges());
    EXPECT_TRUE(V()->OfferToSaveChanges());

    // Yes, and the file cannot be written: the test stays open, unsaved.
    Settings().m_strDataSamples = L"324";
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDYES);
    m_answerer.ReplyToFileDialog(Path(L"missing\\Changed.bld"));
    m_answerer.ReplyToProgramMessage(IDS_SAVE_NOT_CREATED, IDOK);
    EXPECT_FALSE(V()->OfferToSaveChanges());
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDNO);
    EXPECT_TRUE(V()->OfferToSaveChanges());
}

// ---------------------------------------------------------------------------
// Saves that fail.

TEST_F(TestFileTest, SaveFailingPartWayKeepsTheOldFileAndTheTestUnsaved)
{
    SetCompletedTests(2, 0);
    const std::wstring path = Path(L"Good.bld");
    ASSERT_EQ(SaveTestAs(path), CSimbrel1View::kSaveWritten);
    const std::string goodBytes = ReadBytes(path);
    const CString strSavedText = V()->m_strSavedText;
    const CString strFileText = V()->m_strFileText;

    using Inject = std::function<CScopedFileFailure*()>;
    const struct {
        const char* name;
        Inject inject;
    } failures[] = {
        {"disk full after 100 bytes", [] { return new CScopedFileFailure(CFile::FailWritesAfter(100)); }},
        {"disk full at once", [] { return new CScopedFileFailure(CFile::FailWritesAfter(0)); }},
        {"the final replace refused",
         [] { return new CScopedFileFailure(CFile::RenameFailureHook([](const wchar_t*, const wchar_t*) { return true; })); }},
    };
    Settings().m_strDataSamples = L"55";
    V()->m_strTestTitle = L"Other";
    for (const auto& f : failures) {
        SCOPED_TRACE(f.name);
        for (const std::wstring& target : {path, Path(L"New.bld")}) {
            const size_t nShown = m_answerer.programMessages.size();
            m_answerer.ReplyToFileDialog(target);
            m_answerer.ReplyToProgramMessage(IDS_SAVE_NOT_WRITTEN, IDOK, target);
            {
                std::unique_ptr<CScopedFileFailure> failure(f.inject());
                EXPECT_EQ(V()->SaveCurrentTestFile(), CSimbrel1View::kSaveFailed);
            }
            ASSERT_EQ(m_answerer.programMessages.size(), nShown + 1);
            EXPECT_NE(m_answerer.programMessages.back().text.find(L"left unchanged"), std::wstring::npos);
            EXPECT_EQ(ReadBytes(path), goodBytes);
            EXPECT_FALSE(FileExists(Path(L"New.bld")));
            EXPECT_FALSE(FileExists(target + L".new"));
            EXPECT_EQ(V()->m_strSavedText, strSavedText);
            EXPECT_EQ(V()->m_strFileText, strFileText);
            EXPECT_EQ(V()->m_strTestTitle.str(), L"Other");
        }
    }
    // The test is still unsaved, so closing asks.
    m_answerer.ReplyToProgramMessage(IDS_TEST_CHANGED_SAVE_QUESTION, IDNO);
    EXPECT_TRUE(V()->OfferToSaveChanges());
}

TEST_F(TestFileTest, FileThatCannotBeCreatedIsReportedByNameAndReason)
{
    const std::wstring readOnly = Path(L"ReadOnly.bld");
    ASSERT_TRUE(WriteBytes(readOnly, "old"));
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const CString strFolder = V()->m_strFileFolder;

    const struct {
        const char* name;
        std::wstring path;
        const wchar_t* reason;
    } cases[] = {
        {"read-only file", readOnly, L"denied"},
        {"folder that is gone", Path(L"gone\\Test.bld"), L"incorrect path"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_answerer.ReplyToProgramMessage(IDS_SAVE_NOT_CREATED, IDOK, c.path);
        EXPECT_EQ(SaveTestAs(c.path), CSimbrel1View::kSaveFailed);
        ASSERT_FALSE(m_answerer.programMessages.empty());
        EXPECT_NE(m_answerer.programMessages.back().text.find(c.reason), std::wstring::npos);
        EXPECT_EQ(m_answerer.programMessages.back().nKind, 0);
        EXPECT_EQ(V()->m_strTestTitle.str(), L"Untitled");
        EXPECT_EQ(V()->m_strFileFolder, strFolder);
    }
    EXPECT_EQ(ReadBytes(readOnly), "old");
    EXPECT_FALSE(FileExists(readOnly + L".new"));
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}
