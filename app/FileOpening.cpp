// Opening test and configuration files: the file is chosen or given, read
// whole and decoded, accepted or refused, and only then does it replace the
// open test, each record reading its own keys from the loaded text.
#include "app/Simbrel1View.h"

#include <climits>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "pages/BaselineDataEntry.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {
constexpr int kNoHelpTopic = 255;
constexpr int kOkOnly = 0;
// The first version of the key layout with "P_" and "D_" prefixes.
constexpr int kFirstNewFormatVersion = 3070201;

// Live readings stay off while a file is chosen and read; the state before
// comes back on every way out.
class CLiveReadingsPause {
public:
    explicit CLiveReadingsPause(CSimbrel1View* pView) : m_pView(pView), m_bPrevious(pView->SetLiveReadingsEnabled(0))
    {
    }
    ~CLiveReadingsPause() { m_pView->SetLiveReadingsEnabled(m_bPrevious); }
    CLiveReadingsPause(const CLiveReadingsPause&) = delete;
    CLiveReadingsPause& operator=(const CLiveReadingsPause&) = delete;

private:
    CSimbrel1View* m_pView;
    int m_bPrevious;
};

// A count as the C run-time's integer conversion reads it (blanks, a sign,
// the digits up to the first other character, none: 0), but saturating
// instead of wrapping, so a huge count stays huge.
long long CountValue(const CString& strText)
{
    const wchar_t* p = strText.GetString();
    while (*p == L' ' || (*p >= L'\t' && *p <= L'\r'))
        ++p;
    const bool bNegative = *p == L'-';
    if (*p == L'+' || *p == L'-')
        ++p;
    long long nValue = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        nValue = nValue > LLONG_MAX / 20 ? LLONG_MAX / 2 : nValue * 10 + (*p - L'0');
    return bNegative ? -nValue : nValue;
}

bool EqualsAny(const CString& strValue, std::initializer_list<const wchar_t*> texts)
{
    for (const wchar_t* pszText : texts)
        if (strValue == pszText)
            return true;
    return false;
}
}  // namespace

// ---------------------------------------------------------------------------
// Decoding and recognising a file.

void CSimbrel1View::LoadFileText(const BYTE* pBytes, size_t nCount)
{
    // Only whole units count: a trailing odd byte is never read.
    const size_t nUnits = nCount / 2;
    auto unit = [pBytes](size_t i) {
        return static_cast<wchar_t>(pBytes[2 * i] | (static_cast<unsigned>(pBytes[2 * i + 1]) << 8));
    };
    size_t nMarks = 0;
    while (nMarks < nUnits && unit(nMarks) == 0xFEFF)
        ++nMarks;
    const bool bUtf16 = nMarks > 0 || (nUnits >= 3 && unit(0) == L'Q' && unit(1) == L'A' && unit(2) == L'R');

    std::wstring text;
    if (bUtf16) {
        size_t nEnd = nMarks;
        while (nEnd < nUnits && unit(nEnd) != 0)
            ++nEnd;
        // Windows is little-endian: the units are the characters' own bytes.
        text.resize(nEnd - nMarks);
        if (!text.empty())
            std::memcpy(text.data(), pBytes + 2 * nMarks, 2 * text.size());
    } else {
        // 8-bit text in the "C" locale: each byte is the character of the
        // same code.
        size_t nEnd = 0;
        while (nEnd < nCount && pBytes[nEnd] != 0)
            ++nEnd;
        text.assign(pBytes, pBytes + nEnd);
    }
    m_strFileText = CString(std::move(text));
}

int CSimbrel1View::IsNewFormatFile()
{
    return GetFileVersionNumber() >= kFirstNewFormatVersion ? 1 : 0;
}

int CSimbrel1View::IsTestFile() const
{
    return m_strFileText.Find(L"Test_Date_QAR_Univ:") >= 0 || m_strFileText.Find(L"Test_Date:") >= 0 ? 1 : 0;
}

const wchar_t* CSimbrel1View::FindCountBeyondStore(const CKeyedText& text)
{
    struct CCountKey {
        const wchar_t* pszKey;
        long long nMax;
    };
    static constexpr CCountKey kCounts[] = {
        {L"Completed_Tests:", CTestGraph1::kMaxTests},     {L"P_Completed_Tests:", CTestGraph1::kMaxTests},
        {L"D_Completed_Tests:", CTestGraph1::kMaxTests},   {L"Station_count:", CTestGraph1::kMaxEntries},
        {L"P_Station_count:", CTestGraph1::kMaxEntries},   {L"D_Station_count:", CTestGraph1::kMaxEntries},
    };
    for (const CCountKey& count : kCounts) {
        const long long nValue = CountValue(text.GetValue(count.pszKey));
        if (nValue < 0 || nValue > count.nMax)
            return count.pszKey;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Clearing and reading the records.

void CSimbrel1View::ClearAllRecords()
{
    m_pBuildingInfo->ClearData();
    m_pEn13829->ClearData();
    m_pIso9972->ClearData();
    m_pBaseline->ClearData(0);
    m_pBaseline->ClearData(1);
    m_pBusinessInfo->ClearData();
    m_pComments->ClearData();
    m_pDeviations->ClearAllDeviations();
    m_pEquipment->ClearData();
    m_pFanCalibration->ResetToFactory();
    m_pSettings->SetFactoryDefaults();
    m_pTestGraph->ResetTestData();
    m_pCustomPressures->ClearData();
    m_pManualEntry->m_nGauge[0] = 0;
    m_pManualEntry->m_nGauge[1] = 0;
    // Each slot's data, its baselines and the environment pages' entries:
    // a test not read from the file (a configuration, fewer tests) keeps
    // nothing of another.
    m_pManualEntry->ClearData(0);
    m_pManualEntry->ClearData(1);
}

void CSimbrel1View::ReadAllSections(int bIsTest, int nDirection, const CString& strPrefix)
{
    ReadUnitsKeys(nDirection);
    m_pBusinessInfo->ReadFromFile();
    m_pBuildingInfo->ReadFromFile(bIsTest);
    m_pComments->ReadFromFile();
    m_pEquipment->ReadFromFile();
    m_pFanCalibration->ReadCalibrationKeys();
    m_pSettings->ReadFromFile(nDirection, strPrefix);
    m_pEn13829->ReadFromFile();
    m_pIso9972->ReadFromFile();
    m_pCustomPressures->ReadFromFile();
    if (!bIsTest)
        return;

    m_pManualEntry->ReadFromFile();
    m_pTestGraph->ReadTestData(nDirection, strPrefix);
    if (m_pSettings->m_nMethodIndex == 0)
        m_pBaseline->ReadFromFile();
    switch (m_pSettings->m_nStandard) {
    case 0:
        // Set when the test data reader already took an old file's
        // temperatures itself.
        if (!m_pTemperature->m_bTestDataMode)
            m_pTemperature->ReadFromFile();
        m_pTemperature->m_bTestDataMode = 0;
        break;
    case 1:
    case 3:
        m_pTempBaro->ReadFromFile();
        break;
    case 2:
        m_pTempAltitude->ReadFromFile();
        break;
    default:
        break;
    }
    m_pResults->ReadResultKeys();
}

void CSimbrel1View::DisconnectAllDevices()
{
    CloseAllDevicePorts();
    m_bAnnounceScan = 1;
    m_pTestGraph->m_DevicesInUse = 0;
    m_pTestGraph->m_ChannelsInUse = 0;
}

// An export file switches the device preferences off-line for as long as
// it is the open test; this puts the user's own choices back.
void CSimbrel1View::RestoreDevicePreferences()
{
    if (!m_bExportedFile)
        return;
    m_bAutoSelect = m_bSavedAutoSelect;
    m_bOffLine = m_bSavedOffLine;
    m_bExportedFile = 0;
}

void CSimbrel1View::ShowStartPage()
{
    if (GetSafeHwnd() != nullptr) {
        CClientDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 255, 255));
    }
    m_pBuildingInfo->ShowPage();
}

// ---------------------------------------------------------------------------
// Opening.

void CSimbrel1View::OpenFile(int bAsConfiguration, const CString& strGivenPath)
{
    CLiveReadingsPause liveReadingsPause(this);
    m_pTestGraph->m_bHiddenForPrint = 0;

    CString strPath = strGivenPath;
    CString strFileName;
    bool bChosenInDialog = false;
    if (strPath.IsEmpty()) {
        CommitOpenPages();
        // A test that was to be saved first and could not be stays open.
        if (!OfferToSaveChanges())
            return;
        const CString strTitle = LoadText(bAsConfiguration ? IDS_SELECT_CONFIGURATION_FILE
                                                           : IDS_SELECT_BUILDING_TEST_FILE);
        const CString strFilter = bAsConfiguration ? LoadText(IDS_CONFIGURATION_FILES) + L" (*.cfa)|*.cfa||"
                                                   : LoadText(IDS_BUILDING_TEST_FILES) + L" (*.bld)|*.bld||";
        CString strOffered;
        if (bAsConfiguration && ::GetFileAttributesW(L"default.cfa") != INVALID_FILE_ATTRIBUTES)
            strOffered = L"Default";
        CFileDialog dlg(TRUE, bAsConfiguration ? L"cfa" : L"bld", strOffered.IsEmpty() ? nullptr : strOffered.GetString(),
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, strFilter.GetString());
        dlg.m_ofn.lpstrTitle = strTitle.GetString();
        dlg.m_ofn.lpstrInitialDir = m_strFileFolder.GetString();
        if (dlg.DoModal() != IDOK)
            return;
        strPath = dlg.GetPathName();
        strFileName = dlg.GetFileName();
        bChosenInDialog = true;
    } else {
        strFileName = strPath.Mid(strPath.ReverseFind(L'\\') + 1);
    }

    auto reportUnopened = [this, &strPath] {
        ShowMessage(0, CString::FormatText(L"Unable to open file\r\n\r\n%s\r\n\r\nPress OK to continue.", strPath.GetString()),
                    IDI_MESSAGE_EXCLAMATION, kOkOnly, kNoHelpTopic);
    };
    auto reportInvalid = [this] {
        ShowMessage(IDS_FILE_FORMAT_INVALID, CString(), IDI_MESSAGE_EXCLAMATION, kOkOnly, kNoHelpTopic);
    };

    CFile file;
    if (!file.Open(strPath.GetString(), CFile::modeRead | CFile::shareDenyWrite)) {
        reportUnopened();
        return;
    }
    const int nSlash = strPath.ReverseFind(L'\\');
    if (nSlash >= 0)
        m_strFileFolder = strPath.Left(nSlash);

    // The whole file, or nothing: a short read is a file that cannot be
    // opened, and a file far larger than any test is not read at all.
    std::vector<BYTE> bytes;
    try {
        const ULONGLONG nLength = file.GetLength();
        if (nLength > kMaxFileBytes) {
            file.Abort();
            reportInvalid();
            return;
        }
        bytes.resize(static_cast<size_t>(nLength));
        const UINT nRead = bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
        if (nRead != bytes.size()) {
            reportUnopened();
            return;
        }
    } catch (const CFileException&) {
        file.Abort();
        reportUnopened();
        return;
    }

    // The open test stays as it is until the file is accepted: a refused
    // file changes no record and not the loaded text, so a later save still
    // writes the whole test.
    CString strPreviousText = m_strFileText;
    LoadFileText(bytes.data(), bytes.size());
    std::vector<BYTE>().swap(bytes);
    if (!IsTestFile() || FindCountBeyondStore(m_strFileText) != nullptr ||
        !CTestGraph1::FindDamagedTestData(m_strFileText).IsEmpty()) {
        m_strFileText = std::move(strPreviousText);
        reportInvalid();
        return;
    }
    m_strLoadedText = m_strFileText;
    if (bChosenInDialog)
        m_pTestGraph->ClearAllTestData();

    m_bNewFormatFile = IsNewFormatFile();
    DisconnectAllDevices();
    m_nFileVersion = GetFileVersionNumber();
    CloseAllPages();
    ClearAllRecords();

    bool bBothDirections = false;
    if (strPath.Right(4).CompareNoCase(L".cfa") == 0) {
        g_nCurrentDirection = GetFileValue(L"Build_Test_Mode:") == L"D" ? 1 : 0;
        ReadAllSections(0, g_nCurrentDirection, CString());
        // The other slot takes the same settings, with the open fan.
        m_pSettings->CopyDirectionSettings(GetOtherDirection(g_nCurrentDirection), g_nCurrentDirection, 0);
        m_strTestTitle = LoadText(IDS_UNTITLED);
    } else {
        if (m_nFileVersion < kFirstNewFormatVersion) {
            if (!GetFileValue(L"P_Build_Test_Mode:").IsEmpty()) {
                // Both directions: depressurization unprefixed, pressurization "P_".
                bBothDirections = true;
                g_nCurrentDirection = 1;
                ReadAllSections(1, 1, CString());
                ReadAllSections(1, 0, g_strPressKeyPrefix);
            } else {
                g_nCurrentDirection = GetFileValue(L"Build_Test_Mode:") == L"P" ? 0 : 1;
                ReadAllSections(1, g_nCurrentDirection, CString());
                if (g_nCurrentDirection == 1)
                    m_pSettings->CopyDirectionSettings(0, 1, 0);
            }
        } else {
            const bool bExport = GetFileValue(L"Qarmix2_Export:") == L"True" ||
                                 GetFileValue(L"QARMIX3_Export:") == L"True" || GetFileValue(L"QARMIX_Export:") == L"True";
            if (bExport) {
                // A second export file in a row must not take the off-line
                // values for the user's own.
                if (!m_bExportedFile) {
                    m_bSavedAutoSelect = m_bAutoSelect;
                    m_bSavedOffLine = m_bOffLine;
                }
                m_bAutoSelect = 0;
                m_bOffLine = 1;
                m_bExportedFile = 1;
            } else {
                RestoreDevicePreferences();
            }
            // Checked against the store above.
            m_pTestGraph->m_CompletedTests[0] = static_cast<int>(CountValue(GetFileValue(L"P_Completed_Tests:")));
            m_pTestGraph->m_CompletedTests[1] = static_cast<int>(CountValue(GetFileValue(L"D_Completed_Tests:")));
            bBothDirections = m_pTestGraph->m_CompletedTests[0] > 0 && m_pTestGraph->m_CompletedTests[1] > 0;
            g_nCurrentDirection =
                m_pTestGraph->m_CompletedTests[1] == 0 && m_pTestGraph->m_CompletedTests[0] > 0 ? 0 : 1;
            ReadAllSections(1, 0, g_strPressKeyPrefix);
            ReadAllSections(1, 1, g_strDepressKeyPrefix);
            if (!bBothDirections && g_nCurrentDirection == 1)
                m_pSettings->CopyDirectionSettings(0, 1, 0);
        }
        // A name without a dot is the title whole.
        const int nDot = strFileName.ReverseFind(L'.');
        m_strTestTitle = nDot < 0 ? strFileName : strFileName.Left(nDot);
    }

    const CString strInclude = GetFileValue(L"IncludeDeviationsInTestReport:");
    m_pDeviations->m_bIncludeInReport = EqualsAny(strInclude, {L"1", L"Yes", L"Ja", L"Oui", L""}) ? 1 : 0;
    m_pFanCalibration->ResetToFactory();
    m_pFanCalibration->ReadCalibrationKeys();

    if (CDocument* pDoc = GetDocument())
        pDoc->SetTitle(m_strTestTitle.GetString());
    CloseAllPages();
    m_bTestOpen = 1;

    if (m_pTestGraph->UsedTests(g_nCurrentDirection) > 0) {
        if (bBothDirections) {
            UpdateResults(0);
            m_pSettings->m_chDirectionLetter[0] = L'P';
            UpdateResults(1);
            m_pSettings->m_chDirectionLetter[1] = L'D';
            // The means need both directions' fits, and their texts the means.
            if (m_pSettings->m_nStandard == 2) {
                m_pResults->AverageDirections();
                m_pResults->FormatResults();
            }
            g_nCurrentDirection = 1;
        } else {
            UpdateResults(g_nCurrentDirection);
        }
    }
    m_pDeviations->RecheckAllTests(0);

    // The change check compares the text of a test with this, so the test
    // text is taken whatever kind of file was opened: right after opening
    // nothing has changed.
    m_strSavedText = BuildFileText(0);

    m_pZoneData->m_bResetGraphed = 1;
    m_pZoneData->UpdateZoneData(0);
    m_bLayoutPending = 1;
    ShowStartPage();
}

void CSimbrel1View::OnRetrieveExistingTest()
{
    ClearViewBackground();
    OpenFile(0, CString());
}

void CSimbrel1View::OnNewTestWithConfiguration()
{
    ClearViewBackground();
    OpenFile(1, CString());
    // Also after a cancelled or refused opening.
    g_nCurrentDirection = 1;
    m_pSettings->m_chDirectionLetter[0] = L'P';
    m_pSettings->m_chDirectionLetter[1] = L'D';
}
