// Test and configuration files: the text of a saved file in its fixed
// section order, saving it, and the question whether a changed test should
// be saved first.
#include "app/Simbrel1View.h"

#include <algorithm>
#include <climits>

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {
constexpr int kNoHelpTopic = 255;
constexpr int kSaveQuestionTopic = 119;
constexpr int kConfigurationWarningTopic = 128;
constexpr int kOkOnly = 0;
constexpr int kYesNo = 4;

// Its presence in the program folder adds the calculations data to test files.
const wchar_t* const kFitErrorMarkerFile = L"FitErrorData.txt";

struct CVersionKey {
    const wchar_t* pszKey;
    const wchar_t* pszTag;
};
// Tried in this order when a file's version is taken; the first with a
// value wins.
constexpr CVersionKey kVersionKeys[] = {
    {L"QARSEAL_Version:", L"QS "},
    {L"QARSEAL_Vudadar_Version:", L"QSE "},
    {L"QARSEAL_Vudadar_ISO_Version:", L"QSE "},
    {L"QARVENTO_Version:", L"QV "},
};

// Live readings stay off while a file is chosen and written; the state
// before comes back on every way out.
class CLiveReadingsOff {
public:
    explicit CLiveReadingsOff(CSimbrel1View* pView) : m_pView(pView), m_bPrevious(pView->SetLiveReadingsEnabled(0)) {}
    ~CLiveReadingsOff() { m_pView->SetLiveReadingsEnabled(m_bPrevious); }
    CLiveReadingsOff(const CLiveReadingsOff&) = delete;
    CLiveReadingsOff& operator=(const CLiveReadingsOff&) = delete;

private:
    CSimbrel1View* m_pView;
    int m_bPrevious;
};

// One part of a version text: leading blanks skipped, then the decimal
// digits up to the first other character (none: 0). A part too large for
// the number stops growing instead of overflowing.
long long VersionPartValue(const CString& strPart)
{
    constexpr long long kLimit = INT_MAX;
    int i = 0;
    while (i < strPart.GetLength() && (strPart[i] == L' ' || strPart[i] == L'\t'))
        ++i;
    long long nValue = 0;
    for (; i < strPart.GetLength() && strPart[i] >= L'0' && strPart[i] <= L'9'; ++i)
        nValue = std::min(kLimit, nValue * 10 + (strPart[i] - L'0'));
    return nValue;
}

bool HasCompletedTests(const CTestGraph1* pTestGraph, int d)
{
    return pTestGraph->m_CompletedTests[d] > 0;
}
}  // namespace

// ---------------------------------------------------------------------------
// The file text.

int CSimbrel1View::GetSavedDirection() const
{
    if (HasCompletedTests(m_pTestGraph, 1))
        return 1;
    if (HasCompletedTests(m_pTestGraph, 0))
        return 0;
    return g_nCurrentDirection == 0 ? 0 : 1;
}

CString CSimbrel1View::BuildFileText(int bAsConfiguration) const
{
    const int nStandard = m_pSettings->m_nStandard;
    const int d = GetSavedDirection();
    auto section = [](CString& strText, const wchar_t* pszHeader, const CString& strLines) {
        strText += pszHeader;
        strText += strLines;
    };

    CString strText = nStandard == 3 ? L"QARSEAL_Vudadar_ISO_Version: " : L"QARSEAL_Vudadar_Version: ";
    strText += g_strProgramVersion;
    strText += L"\n";
    section(strText, L"\nBUSINESS INFO\n", m_pBusinessInfo->WriteToFile());
    // The building record writes its own four headers.
    strText += m_pBuildingInfo->WriteToFile();
    if (nStandard == 1)
        section(strText, L"\nEN13829 DATA INFO\n", m_pEn13829->WriteToFile());
    if (nStandard == 3)
        section(strText, L"\nISO9972 DATA INFO\n", m_pIso9972->WriteToFile());
    section(strText, L"\nTEST SETTINGS INFO\n", m_pSettings->WriteToFile(d, L""));
    section(strText, L"\nCOMMENTS\n", m_pComments->WriteToFile());
    section(strText, L"\nTEST UNITS INFO\n", WriteUnitsKeys(d));
    if (m_pSettings->m_nMethodIndex != 0)
        section(strText, L"\nCUSTOM PRESSURES INFO\n", m_pCustomPressures->WriteToFile());

    if (!bAsConfiguration) {
        if (m_bExportedFile)
            strText += L"QARMIX_Export: True\n";
        CFileStatus status;
        const bool bCalculationsData = CFile::GetStatus((m_strProgramFolder + kFitErrorMarkerFile).GetString(), status);
        const bool bDepressurization = HasCompletedTests(m_pTestGraph, 1);
        const bool bPressurization = HasCompletedTests(m_pTestGraph, 0);
        if (bDepressurization) {
            section(strText, L"\nDEPRESSURIZATION TEST DATA\n", m_pTestGraph->WriteTestData(1, g_strDepressKeyPrefix));
            section(strText, L"\nDEPRESSURIZATION TEST RESULTS\n",
                    m_pResults->WriteResultKeys(1, g_strDepressKeyPrefix));
            section(strText, L"\nDEPRESSURIZATION TEST DEVIATIONS FROM STANDARD\n",
                    m_pDeviations->WriteDeviationKeys(1, g_strDepressKeyPrefix));
            if (bCalculationsData)
                strText += WriteCalculationsData(1);
        }
        if (bPressurization) {
            section(strText, L"\nPRESSURIZATION TEST DATA\n", m_pTestGraph->WriteTestData(0, g_strPressKeyPrefix));
            section(strText, L"\nPRESSURIZATION TEST RESULTS\n", m_pResults->WriteResultKeys(0, g_strPressKeyPrefix));
            section(strText, L"\nPRESSURIZATION TEST DEVIATIONS FROM STANDARD\n",
                    m_pDeviations->WriteDeviationKeys(0, g_strPressKeyPrefix));
            if (bCalculationsData) {
                strText += WriteCalculationsData(0);
                if (bDepressurization && nStandard == 2)
                    strText += WriteCombinedCalculationsData();
            }
        }
    }

    section(strText, L"\nEQUIPMENT INFO\n", m_pEquipment->WriteToFile());
    section(strText, L"\nFAN CALIBRATION INFO\n", m_pFanCalibration->WriteCalibrationKeys());
    if (m_pSettings->m_chMethodLetter[d] != L'M' && m_pLink[0] != nullptr)
        section(strText, L"\nCONNECTED MANOMETER(S) INFO\n", m_pTestGraph->WriteDeviceInfo());
    return strText;
}

// ---------------------------------------------------------------------------
// Versions.

CString CSimbrel1View::GetProgramVersionTag() const
{
    return L"QSE " + g_strProgramVersion;
}

int CSimbrel1View::VersionTextToNumber(const CString& strVersion)
{
    // From the right: d, c x 100, b x 10000, and what is left x 1000000. A
    // missing or leading "." ends the number with the parts taken so far.
    static constexpr long long kFactors[] = {1, 100, 10000};
    CString strRest = strVersion;
    long long nNumber = 0;
    for (const long long nFactor : kFactors) {
        const int nDot = strRest.ReverseFind(L'.');
        if (nDot <= 0)
            return static_cast<int>(std::min<long long>(nNumber, INT_MAX));
        nNumber += VersionPartValue(strRest.Mid(nDot + 1)) * nFactor;
        strRest = strRest.Left(nDot);
    }
    nNumber += VersionPartValue(strRest) * 1000000;
    return static_cast<int>(std::min<long long>(nNumber, INT_MAX));
}

int CSimbrel1View::GetFileVersionNumber()
{
    for (const CVersionKey& key : kVersionKeys) {
        const CString strVersion = GetFileValue(key.pszKey);
        if (strVersion.IsEmpty())
            continue;
        m_strFileVersionTag = key.pszTag + strVersion;
        return VersionTextToNumber(strVersion);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Saving.

CSimbrel1View::SaveResult CSimbrel1View::SaveFileAs()
{
    CLiveReadingsOff liveReadingsOff(this);

    CString strTitle;
    CString strFilter;
    CString strDefExt;
    CString strFileName;
    if (m_bSaveAsTest) {
        strTitle = LoadText(IDS_SAVE_BUILDING_TEST_FILE);
        strFilter = LoadText(IDS_BUILDING_TEST_FILES) + L" (*.bld)|*.bld||";
        strDefExt = L"bld";
        strFileName = m_strTestTitle;
    } else {
        if (m_pTestGraph->GetDirectionsWithData() != -1 &&
            ShowMessage(IDS_CONFIGURATION_NO_TEST_DATA, CString(), IDI_MESSAGE_EXCLAMATION, kYesNo,
                        kConfigurationWarningTopic) != IDYES)
            return kSaveCancelled;
        strTitle = LoadText(IDS_SAVE_CONFIGURATION_FILE);
        strFilter = LoadText(IDS_CONFIGURATION_FILES) + L" (*.cfa)|*.cfa||";
        strDefExt = L"cfa";
    }

    CFileDialog dlg(FALSE, strDefExt.GetString(), strFileName.GetString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    strFilter.GetString());
    dlg.m_ofn.lpstrTitle = strTitle.GetString();
    dlg.m_ofn.lpstrInitialDir = m_strFileFolder.GetString();
    if (dlg.DoModal() != IDOK)
        return kSaveCancelled;
    const CString strPath = dlg.GetPathName();
    // The name decides what is written, whichever command asked.
    m_bSaveAsConfiguration = strPath.Right(4).CompareNoCase(L".cfa") == 0 ? 1 : 0;

    CommitOpenPages();
    const CString strPreviousText = m_strFileText;
    const int nPreviousVersion = m_nFileVersion;
    const CString strPreviousTag = m_strFileVersionTag;
    m_strFileText = BuildFileText(m_bSaveAsConfiguration);
    m_nFileVersion = GetFileVersionNumber();

    CFileException error;
    if (!WriteUtf16TextFile(strPath, m_strFileText, &error, true)) {
        // Nothing was saved: the view goes on as if the save was not tried.
        m_strFileText = strPreviousText;
        m_nFileVersion = nPreviousVersion;
        m_strFileVersionTag = strPreviousTag;
        CString strReason;
        error.GetErrorMessage(strReason);
        const UINT nIDText = error.m_operation == CFileException::opOpen ? IDS_SAVE_NOT_CREATED : IDS_SAVE_NOT_WRITTEN;
        ShowMessage(static_cast<int>(nIDText), CString::FormatText(LoadText(nIDText).GetString(), strReason.GetString()),
                    IDI_MESSAGE_EXCLAMATION, kOkOnly, kNoHelpTopic);
        return kSaveFailed;
    }

    if (m_bSaveAsTest) {
        const int nSlash = strPath.ReverseFind(L'\\');
        if (nSlash >= 0)
            m_strFileFolder = strPath.Left(nSlash);
        const CString strName = strPath.Mid(nSlash + 1);
        const int nDot = strName.ReverseFind(L'.');
        m_strTestTitle = nDot < 0 ? strName : strName.Left(nDot);
        if (CDocument* pDoc = GetDocument())
            pDoc->SetTitle(m_strTestTitle.GetString());
    }
    return kSaveWritten;
}

CSimbrel1View::SaveResult CSimbrel1View::SaveCurrentTestFile()
{
    CLiveReadingsOff liveReadingsOff(this);
    m_bSaveAsTest = 1;
    const SaveResult result = SaveFileAs();
    // A cancelled save counts the test as saved too; a failed one leaves it
    // unsaved, and so does a configuration written under this command while
    // there are measurements, which a configuration does not hold.
    const bool bMeasurementsLeftOut = result == kSaveWritten && m_bSaveAsConfiguration &&
                                      m_pTestGraph->GetDirectionsWithData() != -1;
    if (result != kSaveFailed && !bMeasurementsLeftOut)
        m_strSavedText = BuildFileText(0);
    return result;
}

void CSimbrel1View::OnFileSaveCurrentTest()
{
    SaveCurrentTestFile();
    RefreshOpenPages();
}

void CSimbrel1View::OnSaveConfigurationFile()
{
    CLiveReadingsOff liveReadingsOff(this);
    m_bSaveAsTest = 0;
    SaveFileAs();
    RefreshOpenPages();
}

void CSimbrel1View::OnUpdateSaveConfigurationFile(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bTestOpen && !IsTestInProgress());
}

bool CSimbrel1View::OfferToSaveChanges()
{
    if (!m_bTestOpen)
        return true;
    const CString strText = BuildFileText(0);
    if (strText == m_strSavedText || strText == m_strLoadedText)
        return true;
    if (ShowMessage(IDS_TEST_CHANGED_SAVE_QUESTION, CString(), IDI_MESSAGE_EXCLAMATION, kYesNo, kSaveQuestionTopic) !=
        IDYES)
        return true;
    // The test stays open only when it was to be saved and could not be.
    const SaveResult result = SaveCurrentTestFile();
    RefreshOpenPages();
    return result != kSaveFailed;
}
