// The test-data section of a test file, one per direction: the counts, each
// test's header, environment and one-second baseline lines, the data-point
// lines and the deleted points; and the reader that rebuilds the store from
// it, with the fallbacks for files that lack the per-test lines.
#include "testrun/TestGraph1.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "app/KeyValueText.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "framework/WinApp.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"

namespace {
constexpr int kNoHelpTopic = 255;
constexpr int kOkOnly = 0;
// The first version whose markers' deviations are worth keeping (2.0.5.5).
constexpr int kMarkerDeviationVersion = 2000505;
constexpr int kHighestRing = 5;

bool IsSlot(int d)
{
    return d == 0 || d == 1;
}

// Blank-separated tokens of a value: a token counts only when a blank
// follows it, so the writer's trailing " END" or " " ends every number.
class CTokens {
public:
    explicit CTokens(const CString& strText) : m_rest(strText.str()) {}
    bool Next(CString& strToken)
    {
        const size_t nBlank = m_rest.find(L' ');
        if (nBlank == std::wstring_view::npos)
            return false;
        strToken = CString(std::wstring(m_rest.substr(0, nBlank)));
        m_rest.remove_prefix(nBlank + 1);
        return true;
    }
    std::wstring_view Rest() const { return m_rest; }

private:
    std::wstring_view m_rest;
};

// The C run-time's integer reading (blanks, sign, digits up to the first
// other character), saturating at the ends of int instead of wrapping.
long long IntegerValue(const CString& strText)
{
    const wchar_t* p = strText.GetString();
    while (*p == L' ' || (*p >= L'\t' && *p <= L'\r'))
        ++p;
    const bool bNegative = *p == L'-';
    if (*p == L'+' || *p == L'-')
        ++p;
    long long nValue = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        nValue = std::min<long long>(nValue * 10 + (*p - L'0'), static_cast<long long>(INT_MAX) + 1);
    return bNegative ? -nValue : nValue;
}

int ClampedInt(const CString& strText, int nMin, int nMax)
{
    return static_cast<int>(std::clamp<long long>(IntegerValue(strText), nMin, nMax));
}

CString DataPointKey(const CString& strPrefix, int i)
{
    return strPrefix + CString::FormatText(L"Data_pt_%d:", i);
}

CString PerTestLineKey(const CString& strPrefix, const wchar_t* pszKey, int n)
{
    return strPrefix + CString::FormatText(pszKey, n);
}

const wchar_t* PreEnvironmentKey(int nStandard)
{
    switch (nStandard) {
    case 0:
        return L"Pretest_InTemp_OutTemp_for_Test_%d: ";
    case 2:
        return L"Pretest_InTemp_OutTemp_Altitude_for_Test_%d: ";
    default:
        return L"Pretest_InTemp_OutTemp_BarPr_for_Test_%d: ";
    }
}

CString FormatNumber(const wchar_t* pszFormat, double dValue)
{
    return CString::FormatText(pszFormat, dValue);
}
}  // namespace

// ---------------------------------------------------------------------------
// Writing.

int CTestGraph1::IsManualCgsbWithoutPosttest(int d) const
{
    // The manual page is the view's; the test screen's own link to it is
    // made only once the screen opens, and files are saved without it.
    const CManualDataEntryDialog* pManual =
        m_pManualEntry != nullptr ? m_pManualEntry : m_pView != nullptr ? m_pView->m_pManualEntry : nullptr;
    if (!IsSlot(d) || m_pSettings == nullptr || pManual == nullptr)
        return 0;
    return m_pSettings->m_chMethodLetter[d] == L'M' && m_pSettings->m_nStandard == 0 &&
                   pManual->m_strBuildingP[d][CManualDataEntryDialog::kRows - 1].IsEmpty()
               ? 1
               : 0;
}

int CTestGraph1::GetWrittenEntryCount(int d) const
{
    const int nCount = UsedEntries(d);
    return IsManualCgsbWithoutPosttest(d) && nCount > 1 ? nCount - 1 : nCount;
}

CString CTestGraph1::FormatDataPointLine(int d, int i) const
{
    if (!IsSlot(d) || i < 0 || i >= kMaxEntries)
        return CString();
    CString strLine = CString::FormatText(L" %d", m_Ring[d][i]);
    for (const double dValue : {m_TargetP[d][i], m_Pavg[d][i], m_Pfan[d][i], m_Qavg[d][i], m_PStdDev[d][i],
                                m_QStdDev[d][i]})
        strLine += FormatNumber(L" %f", dValue);
    const bool bZones = m_pSettings != nullptr && m_pSettings->m_bZonalActive && m_pView != nullptr &&
                        !m_pView->m_bAutoSelect;
    if (bZones) {
        for (int z = CTestSettingsDialog::kFirstZone; z <= CTestSettingsDialog::kLastZone; ++z) {
            const int nZone = z - CTestSettingsDialog::kFirstZone;
            if (m_pSettings->m_nZoneActive[d][z]) {
                strLine += FormatNumber(L" %f", m_ZonePavg[d][nZone][i]);
                strLine += FormatNumber(L" %f", m_ZoneStdDev[d][nZone][i]);
            } else {
                const CString strInactive = CString::FormatText(L" P%d-Inactive", z);
                strLine += strInactive + strInactive;
            }
        }
    }
    strLine += L" END";
    return strLine;
}

CString CTestGraph1::WriteBaselineSeconds(int bPreTest, int d, int t, const CString& strPrefix) const
{
    if (!IsSlot(d) || t < 0 || t >= kMaxTests || m_pSettings == nullptr)
        return CString();
    const int nStandard = m_pSettings->m_nStandard;
    const wchar_t chMethod = m_pSettings->m_chMethodLetter[d];
    if ((nStandard != 1 && nStandard != 3) || (chMethod != L'A' && chMethod != L'S'))
        return CString();
    const double* pValues = bPreTest ? m_PreBaselineSeconds[d][t] : m_PostBaselineSeconds[d][t];
    if (pValues[0] > 9000.0)
        return CString();
    CString strLine = strPrefix;
    strLine += bPreTest ? L"Pretest_Baseline_One_Second_Averages_For_Test" : L"Posttest_Baseline_One_Second_Averages_For_Test";
    strLine += CString::FormatText(L"_%d:", t + 1);
    for (int s = 0; s < kBaselineSeconds; ++s)
        strLine += FormatNumber(L" %0.6f", pValues[s]);
    strLine += L" \n";
    return strLine;
}

CString CTestGraph1::WriteTestData(int d, const CString& strPrefix)
{
    if (!IsSlot(d) || m_pSettings == nullptr)
        return CString();
    const int nStandard = m_pSettings->m_nStandard;
    const bool bZones = m_pSettings->m_bZonalActive && m_pView != nullptr && !m_pView->m_bAutoSelect;
    const CString strSlotPrefix = d == 0 ? L"P_" : L"D_";
    const int nCount = GetWrittenEntryCount(d);
    NumberTestGroups(d);

    CString strText = strPrefix + CString::FormatText(L"Station_count: %d\n", nCount);
    strText += strSlotPrefix + CString::FormatText(L"Completed_Tests: %d\n", UsedTests(d));
    // The section is the same whatever runs while it is saved: every test
    // keeps its header, environment and baselines.
    int nOpened = 0;
    for (int i = 0; i < nCount; ++i) {
        const bool bOpening = m_Ring[d][i] == -1 && m_EntryTestNumber[d][i] == -1;
        if (bOpening && nOpened < kMaxTests) {
            const int t = nOpened++;
            const int n = t + 1;
            strText += CString::FormatText(d == 0 ? L"\nPRESSURIZATION TEST %d\n" : L"\nDEPRESSURIZATION TEST %d\n", n);
            if (m_pView != nullptr)
                strText += m_pView->GetTestEnvironmentText(d, t);
            strText += PerTestLineKey(strPrefix, PreEnvironmentKey(nStandard), n);
            if (nStandard == 0)
                strText += CString::FormatText(L" %0.1f %0.1f\n", m_TestTin[0][d][t], m_TestTout[0][d][t]);
            else
                strText += CString::FormatText(L" %0.1f %0.1f %0.1f\n", m_TestTin[0][d][t], m_TestTout[0][d][t],
                                               nStandard == 2 ? m_TestAltitude[d][t] : m_TestPbaro[0][d][t]);
            strText += WriteBaselineSeconds(1, d, t, strPrefix);
            strText += L"\nDATA FORMAT: Ring TargetP   Pavg      Pfan      Qavg      PStdDev  QStdDev";
            if (bZones) {
                for (int z = CTestSettingsDialog::kFirstZone;
                     z <= CTestSettingsDialog::kLastZone && m_pSettings->m_nZoneActive[d][z]; ++z)
                    strText += CString::FormatText(L"  Zn%dPavg Zn%dStdDev", z - 2, z - 2);
            }
            strText += L"\n";
        }
        if (m_Ring[d][i] == -1) {
            m_Pfan[d][i] = 0.0;
            m_Qavg[d][i] = 0.0;
            m_QStdDev[d][i] = 0.0;
        }
        strText += DataPointKey(strPrefix, i) + FormatDataPointLine(d, i) + L"\n";
        const int nClosed = m_EntryTestNumber[d][i];
        if (m_Ring[d][i] == -1 && nClosed > 0) {
            const int t = nClosed - 1;
            strText += WriteBaselineSeconds(0, d, t, strPrefix);
            if (nStandard == 1 || nStandard == 3) {
                strText += strPrefix + CString::FormatText(L"Baseline_Plus_Minus_for_Test_%d:", nClosed);
                for (const double dValue : {m_TestBaselinePlusPre[d][t], m_TestBaselineMinusPre[d][t],
                                            m_TestBaselinePlusPost[d][t], m_TestBaselineMinusPost[d][t]})
                    strText += FormatNumber(L" %0.6f", dValue);
                strText += L" \n";
            } else if (nStandard == 2) {
                strText += PerTestLineKey(strPrefix, L"Posttest_InTemp_OutTemp_Altitude_for_Test_%d: ", nClosed);
                strText += CString::FormatText(L" %0.1f %0.1f %0.1f\n", m_TestTin[1][d][t], m_TestTout[1][d][t],
                                               m_TestAltitude[d][t]);
            }
        }
    }

    const int nLastDeleted = std::min(m_LastDeletedIndex[d], kMaxDeletedPoints - 1);
    if (nLastDeleted >= 0) {
        strText += d == 0 ? L"\nDELETED PRESSURIZATION TEST DATA POINTS\n" : L"\nDELETED DEPRESSURIZATION TEST DATA POINTS\n";
        for (int k = 0; k <= nLastDeleted; ++k) {
            const CString& strPoint = m_DeletedPoints[d][k];
            const int nDash = strPoint.ReverseFind(L'-');
            // A line without its test number cannot be given a key.
            if (nDash < 0)
                continue;
            const int nTest = ClampedInt(strPoint.Mid(nDash + 1), INT_MIN, INT_MAX);
            strText += CString::FormatText(L"%sTest%d_Deleted_Data_Point_%d:", strSlotPrefix.GetString(), nTest, k);
            strText += L" " + strPoint.Left(nDash) + L"\n";
        }
    }
    return strText;
}

// ---------------------------------------------------------------------------
// Reading.

void CTestGraph1::ParseEnvironmentLine(const CString& strValue, int bPreTest, int d, int t)
{
    if (!IsSlot(d) || t < 0 || t >= kMaxTests || m_pSettings == nullptr)
        return;
    const int nStandard = m_pSettings->m_nStandard;
    if (!bPreTest && nStandard != 2)
        return;
    const int nPhase = bPreTest ? 0 : 1;
    std::wstring_view rest = strValue.str();
    size_t nBlank = rest.find(L' ');
    if (nBlank != 0) {
        if (nBlank == std::wstring_view::npos)
            return;
        m_TestTin[nPhase][d][t] = CSimbrel1View::TextToDouble(CString(std::wstring(rest.substr(0, nBlank))));
        rest.remove_prefix(nBlank + 1);
    }
    nBlank = rest.find(L' ');
    m_TestTout[nPhase][d][t] = CSimbrel1View::TextToDouble(CString(std::wstring(rest.substr(0, nBlank))));
    if (nBlank == std::wstring_view::npos)
        return;
    rest.remove_prefix(nBlank + 1);
    const double dLast = CSimbrel1View::TextToDouble(CString(std::wstring(rest)));
    if (nStandard == 1 || nStandard == 3)
        m_TestPbaro[nPhase][d][t] = dLast;
    else if (nStandard == 2)
        m_TestAltitude[d][t] = dLast;
}

double CTestGraph1::ParseBaselineSeconds(const CString& strValue, int bPreTest, int d, int t)
{
    if (!IsSlot(d) || t < 0 || t >= kMaxTests)
        return 0.0;
    double* pValues = bPreTest ? m_PreBaselineSeconds[d][t] : m_PostBaselineSeconds[d][t];
    std::fill_n(pValues, kBaselineSeconds, kNotMeasured);
    CTokens tokens(strValue);
    CString strToken;
    double dSum = 0.0;
    int nRead = 0;
    while (nRead < kBaselineSeconds && tokens.Next(strToken)) {
        pValues[nRead] = CSimbrel1View::TextToDouble(strToken);
        dSum += pValues[nRead];
        ++nRead;
    }
    // The mean of what the line holds; a shorter line is not padded with zeros.
    return nRead > 0 ? dSum / nRead : 0.0;
}

void CTestGraph1::ReadOlderEnvironment(int d, int t)
{
    CSimbrel1View& view = *m_pView;
    const int nStandard = m_pSettings->m_nStandard;
    auto value = [&view](const wchar_t* pszKey) { return view.GetFileValue(pszKey); };
    auto setBoth = [](double (&values)[2][2][kMaxTests], int d, int t, double dValue) {
        values[0][d][t] = dValue;
        values[1][d][t] = dValue;
    };
    const CString strInside = value(L"Inside_Temp:");
    if (nStandard == 0) {
        CTemperatureEntryDialog& page = *view.m_pTemperature;
        if (!strInside.IsEmpty()) {
            setBoth(m_TestTin, d, t, CSimbrel1View::TextToDouble(strInside));
            setBoth(m_TestTout, d, t, CSimbrel1View::TextToDouble(value(L"Outside_Temp:")));
            page.m_strTestIndoorTemp[d][t] = CString::FormatText(L"%0.2f", m_TestTin[0][d][t]);
            page.m_strTestOutdoorTemp[d][t] = CString::FormatText(L"%0.2f", m_TestTout[0][d][t]);
            const CString strBaro = value(L"Barometric_Pressure:");
            if (!strBaro.IsEmpty())
                setBoth(m_TestPbaro, d, t, CSimbrel1View::TextToDouble(strBaro));
        } else {
            // Asked as the other standards ask: for this very test, with
            // nothing to confirm afterwards.
            page.m_bTestDataMode = 1;
            page.m_nEditDirection = d;
            page.m_nEditTest = t;
            for (;;) {
                const INT_PTR nResult = page.DoModal();
                // A page that could not be shown or was closed otherwise
                // ends the asking rather than looping without a user.
                if (nResult != IDOK)
                    break;
                if (!page.m_strTestIndoorTemp[d][t].IsEmpty() && !page.m_strTestOutdoorTemp[d][t].IsEmpty()) {
                    setBoth(m_TestTin, d, t, CSimbrel1View::TextToDouble(page.m_strTestIndoorTemp[d][t]));
                    setBoth(m_TestTout, d, t, CSimbrel1View::TextToDouble(page.m_strTestOutdoorTemp[d][t]));
                    break;
                }
                view.ShowMessage(IDS_MANUAL_ALL_TEMPERATURE, CString(), IDI_MESSAGE_EXCLAMATION, kOkOnly, kNoHelpTopic);
            }
        }
        // The temperature page's own keys must not overwrite these.
        page.m_bTestDataMode = 1;
        return;
    }
    if (nStandard == 1 || nStandard == 3) {
        if (!strInside.IsEmpty()) {
            setBoth(m_TestTin, d, t, CSimbrel1View::TextToDouble(strInside));
            setBoth(m_TestTout, d, t, CSimbrel1View::TextToDouble(value(L"Outside_Temp:")));
            switch (IntegerValue(value(L"Barometric_Pressure_Source:"))) {
            case 0:
                setBoth(m_TestPbaro, d, t, CTemperatureAndBarometricPressure::kStandardPressurePa);
                break;
            case 1:
                setBoth(m_TestPbaro, d, t, CSimbrel1View::TextToDouble(value(L"Barometric_Pressure:")));
                break;
            case 2:
                setBoth(m_TestPbaro, d, t,
                        view.m_pMath->BarometricPressureFromAltitude(view.m_nBuildingUnit,
                                                                     CSimbrel1View::TextToDouble(value(L"Altitude:"))));
                break;
            default:
                break;
            }
            return;
        }
        CTemperatureAndBarometricPressure& page = *view.m_pTempBaro;
        page.m_bTestDataMode = 1;
        page.m_nEditDirection = d;
        page.m_nEditTest = t;
        for (;;) {
            const INT_PTR nResult = page.DoModal();
            if (nResult != IDOK)
                break;
            if (page.HasRequiredValues()) {
                m_strLastIndoorTemp = page.m_strIndoorTemp;
                m_strLastOutdoorTemp = page.m_strOutdoorTemp;
                setBoth(m_TestTin, d, t, CSimbrel1View::TextToDouble(page.m_strIndoorTemp));
                setBoth(m_TestTout, d, t, CSimbrel1View::TextToDouble(page.m_strOutdoorTemp));
                double dPressure = CTemperatureAndBarometricPressure::kStandardPressurePa;
                if (page.m_nPressureSource == CTemperatureAndBarometricPressure::kTypedPressure)
                    dPressure = CSimbrel1View::TextToDouble(page.m_strBaroPressure);
                else if (page.m_nPressureSource == CTemperatureAndBarometricPressure::kPressureFromAltitude)
                    dPressure = view.m_pMath->BarometricPressureFromAltitude(
                        view.m_nBuildingUnit, CSimbrel1View::TextToDouble(page.m_strAltitude));
                m_TestPbaro[0][d][t] = dPressure;
                break;
            }
            view.ShowMessage(IDS_MANUAL_ALL_TEMP_BARO, CString(), IDI_MESSAGE_EXCLAMATION, kOkOnly, kNoHelpTopic);
        }
        page.m_bTestDataMode = 0;
        return;
    }
    if (nStandard == 2) {
        CTemperatureAndAltitudeEntry& page = *view.m_pTempAltitude;
        page.m_bTestDataMode = 1;
        page.m_nStage = CTemperatureAndAltitudeEntry::kBothStages;
        page.m_nEditDirection = d;
        page.m_nEditTest = t;
        for (;;) {
            const INT_PTR nResult = page.DoModal();
            if (nResult != IDOK)
                break;
            if (page.HasRequiredValues(CTemperatureAndAltitudeEntry::kBothStages)) {
                m_strLastIndoorTemp = page.m_strPretestIndoorTemp;
                m_strLastOutdoorTemp = page.m_strPretestOutdoorTemp;
                m_TestTin[0][d][t] = CSimbrel1View::TextToDouble(page.m_strPretestIndoorTemp);
                m_TestTout[0][d][t] = CSimbrel1View::TextToDouble(page.m_strPretestOutdoorTemp);
                m_TestTin[1][d][t] = CSimbrel1View::TextToDouble(page.m_strPosttestIndoorTemp);
                m_TestTout[1][d][t] = CSimbrel1View::TextToDouble(page.m_strPosttestOutdoorTemp);
                m_TestAltitude[d][t] = CSimbrel1View::TextToDouble(page.m_strAltitude);
                setBoth(m_TestPbaro, d, t,
                        view.m_pMath->BarometricPressureFromAltitude(view.m_nBuildingUnit, m_TestAltitude[d][t]));
                break;
            }
            view.ShowMessage(IDS_MANUAL_ALL_TEMP_ALTITUDE, CString(), IDI_MESSAGE_EXCLAMATION, kOkOnly, kNoHelpTopic);
        }
        page.m_bTestDataMode = 0;
        page.m_nStage = CTemperatureAndAltitudeEntry::kPretest;
    }
}

void CTestGraph1::ReadTestData(int d, const CString& strPrefix)
{
    if (!IsSlot(d) || m_pView == nullptr || m_pSettings == nullptr)
        return;
    CSimbrel1View& view = *m_pView;
    const int nStandard = m_pSettings->m_nStandard;
    // The opening refuses a file whose counts the store cannot hold; these
    // bounds keep the store whole whoever calls.
    const int nCount = ClampedInt(view.GetFileValue(strPrefix + L"Station_count:"), 0, kMaxEntries);
    CString strCompleted = view.GetFileValue(strPrefix + L"Completed_Tests:");
    if (strCompleted.IsEmpty())
        strCompleted = view.GetFileValue(strPrefix + L"Complete_test:");
    const int nTests = ClampedInt(strCompleted, 0, kMaxTests);
    m_DevicesCaptured = ReadDeviceInfo(d);
    // An environment page that asks for a test of an older file lists the
    // tests read, so what is typed is kept for the test asked for.
    m_CompletedTests[d] = nTests;

    for (int t = 0; t < nTests; ++t) {
        const int n = t + 1;
        if (m_pSettings->m_nMethodIndex != 0) {
            const CString strPre = view.GetFileValue(PerTestLineKey(strPrefix, PreEnvironmentKey(nStandard), n));
            if (strPre.IsEmpty()) {
                ReadOlderEnvironment(d, t);
            } else {
                ParseEnvironmentLine(strPre, 1, d, t);
                if (nStandard == 0 &&
                    view.GetFileValue(CSimbrel1View::MakePerTestKey(L"Manual_Entry_Pretest_Outdoor_Temperature:", d, t))
                        .IsEmpty()) {
                    view.m_pTemperature->m_strTestIndoorTemp[d][t] = CString::FormatText(L"%0.2f", m_TestTin[0][d][t]);
                    view.m_pTemperature->m_strTestOutdoorTemp[d][t] = CString::FormatText(L"%0.2f", m_TestTout[0][d][t]);
                } else if (nStandard == 2) {
                    m_TestPbaro[0][d][t] = view.m_pMath->BarometricPressureFromAltitude(view.m_nBuildingUnit,
                                                                                        m_TestAltitude[d][t]);
                    ParseEnvironmentLine(
                        view.GetFileValue(PerTestLineKey(strPrefix, L"Posttest_InTemp_OutTemp_Altitude_for_Test_%d: ", n)),
                        0, d, t);
                    m_TestPbaro[1][d][t] = view.m_pMath->BarometricPressureFromAltitude(view.m_nBuildingUnit,
                                                                                        m_TestAltitude[d][t]);
                }
            }
        }
        m_TestPreBaseline[d][t] = ParseBaselineSeconds(
            view.GetFileValue(strPrefix + CString::FormatText(L"Pretest_Baseline_One_Second_Averages_For_Test_%d:", n)),
            1, d, t);
        m_TestPostBaseline[d][t] = ParseBaselineSeconds(
            view.GetFileValue(strPrefix + CString::FormatText(L"Posttest_Baseline_One_Second_Averages_For_Test_%d:", n)),
            0, d, t);
        const CString strPlusMinus =
            view.GetFileValue(strPrefix + CString::FormatText(L"Baseline_Plus_Minus_for_Test_%d:", n));
        if (!strPlusMinus.IsEmpty()) {
            CTokens tokens(strPlusMinus);
            CString strToken;
            for (double* pValue : {&m_TestBaselinePlusPre[d][t], &m_TestBaselineMinusPre[d][t],
                                   &m_TestBaselinePlusPost[d][t], &m_TestBaselineMinusPost[d][t]}) {
                if (!tokens.Next(strToken))
                    break;
                *pValue = CSimbrel1View::TextToDouble(strToken);
            }
        }
    }

    for (int i = 0; i < nCount; ++i) {
        const CString strLine = view.GetFileValue(DataPointKey(strPrefix, i));
        if (strLine.IsEmpty())
            continue;
        CTokens tokens(strLine);
        CString strToken;
        if (!tokens.Next(strToken))
            continue;
        m_Ring[d][i] = ClampedInt(strToken, -1, kHighestRing);
        bool bWhole = true;
        for (double* pValue : {&m_TargetP[d][i], &m_Pavg[d][i], &m_Pfan[d][i], &m_Qavg[d][i], &m_PStdDev[d][i],
                               &m_QStdDev[d][i]}) {
            if (!tokens.Next(strToken)) {
                bWhole = false;
                break;
            }
            *pValue = CSimbrel1View::TextToDouble(strToken);
        }
        for (int nZone = 0; bWhole && nZone < kZoneChannels; ++nZone) {
            for (double* pValue : {&m_ZonePavg[d][nZone][i], &m_ZoneStdDev[d][nZone][i]}) {
                if (!tokens.Next(strToken) || strToken == L"END") {
                    bWhole = false;
                    break;
                }
                // " P3-Inactive" reads as 0 like any other text.
                *pValue = CSimbrel1View::TextToDouble(strToken);
            }
        }
    }
    m_StationCount[d] = nCount;
    m_CompletedTests[d] = nTests;

    if (view.m_nFileVersion < kMarkerDeviationVersion) {
        for (int i = 0; i < nCount; ++i) {
            if (m_Ring[d][i] != -1)
                continue;
            m_PStdDev[d][i] = 0.0;
            for (int nZone = 0; nZone < kZoneChannels; ++nZone)
                m_ZoneStdDev[d][nZone][i] = 0.0;
        }
    }

    // A manual CGSB test without a post-test baseline was written without
    // its closing marker, the copy of its opening one.
    if (IsManualCgsbWithoutPosttest(d) && nCount > 1 && nCount < kMaxEntries && m_Ring[d][nCount - 1] != -1) {
        m_Ring[d][nCount] = m_Ring[d][0];
        m_TargetP[d][nCount] = m_TargetP[d][0];
        m_Pavg[d][nCount] = m_Pavg[d][0];
        m_Pfan[d][nCount] = m_Pfan[d][0];
        m_Qavg[d][nCount] = m_Qavg[d][0];
        m_PStdDev[d][nCount] = m_PStdDev[d][0];
        m_QStdDev[d][nCount] = m_QStdDev[d][0];
        ++m_StationCount[d];
    }

    const wchar_t* pszSlotPrefix = d == 0 ? L"P_" : L"D_";
    m_LastDeletedIndex[d] = -1;
    for (CString& strPoint : m_DeletedPoints[d])
        strPoint.Empty();
    for (int t = 0; t < nTests; ++t) {
        for (int k = 0; k < kMaxDeletedPoints; ++k) {
            const CString strValue =
                view.GetFileValue(CString::FormatText(L"%sTest%d_Deleted_Data_Point_%d:", pszSlotPrefix, t + 1, k));
            // A repeated index, or one beyond the list, is not taken.
            if (strValue.IsEmpty() || !m_DeletedPoints[d][k].IsEmpty() || m_LastDeletedIndex[d] >= kMaxDeletedPoints - 1)
                continue;
            m_DeletedPoints[d][k] = strValue + CString::FormatText(L"-%d", t + 1);
            ++m_LastDeletedIndex[d];
        }
    }
}

// ---------------------------------------------------------------------------
// Damaged sections.

CString CTestGraph1::FindDamagedTestData(const CKeyedText& text)
{
    auto value = [&text](const CString& strKey) { return text.GetValue(strKey.str()); };
    const bool bCgsb = value(L"Test_Standard_QSE:") == L"CGSB" || value(L"Build_Standard:") == L"C";
    for (const wchar_t* pszPrefix : {L"", L"P_", L"D_"}) {
        const CString strPrefix = pszPrefix;
        const CString strCountKey = strPrefix + L"Station_count:";
        const CString strCount = value(strCountKey);
        CString strCompletedKey = strPrefix + L"Completed_Tests:";
        CString strCompleted = value(strCompletedKey);
        if (strCompleted.IsEmpty()) {
            strCompletedKey = strPrefix + L"Complete_test:";
            strCompleted = value(strCompletedKey);
        }
        const long long nCount = IntegerValue(strCount);
        const long long nTests = IntegerValue(strCompleted);
        if (nCount < 0 || nCount > kMaxEntries)
            return strCountKey;
        if (nTests < 0 || nTests > kMaxTests)
            return strCompletedKey;

        int nClosed = 0;
        bool bPointSeen = false;
        int nLastRing = -1;
        for (int i = 0; i < nCount; ++i) {
            const CString strKey = DataPointKey(strPrefix, i);
            const CString strLine = value(strKey);
            if (strLine.IsEmpty())
                return strKey;
            const long long nRing = IntegerValue(strLine);
            if (nRing < -1 || nRing > kHighestRing)
                return strKey;
            nLastRing = static_cast<int>(nRing);
            if (nRing != -1) {
                bPointSeen = true;
            } else if (bPointSeen) {
                ++nClosed;
                bPointSeen = false;
            }
        }
        // A manual CGSB test is saved without its closing marker.
        CString strMethod = value(strPrefix + L"Build_Test_Method:");
        if (strMethod.IsEmpty())
            strMethod = value(L"Build_Test_Method:");
        if (bCgsb && strMethod == L"M" && nCount > 1 && nLastRing != -1 && bPointSeen)
            ++nClosed;
        if (nTests > nClosed)
            return strCompletedKey;
    }
    return CString();
}
