// Small services of the view that many pages share: dates, date pickers,
// labels, text clean-ups, the adjusted-pressure warning, the per-test
// environment lines, the equipment and letterhead commands, the default
// channel tables, the live-readings switch, the page font and context help.
#include "app/Clock.h"
#include "app/Globals.h"
#include "app/HelpDialog.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "framework/DateTimeCtrl.h"
#include "pages/BaselineDataEntry.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "testrun/TestGraph1.h"

#include <cmath>

namespace {
constexpr int kNoHelpTopic = 255;
constexpr int kOkOnly = 0;
// Targets of a direction that the channel reset clears; the rest of the
// list keeps its end marker.
constexpr int kResetTargets = 11;

// The decimal digits at the start of the text, up to the first non-digit.
int LeadingNumber(const CString& strText)
{
    int nValue = 0;
    for (int i = 0; i < strText.GetLength() && strText[i] >= L'0' && strText[i] <= L'9'; ++i)
        nValue = nValue * 10 + (strText[i] - L'0');
    return nValue;
}

int DaysInMonth(int nYear, int nMonth)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    return nMonth == 2 && bLeap ? 29 : kDays[nMonth - 1];
}

SYSTEMTIME DateKeyToSystemTime(const CString& strKey)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(CSimbrel1View::GetDateKeyYear(strKey));
    st.wMonth = static_cast<WORD>(CSimbrel1View::GetDateKeyMonth(strKey));
    st.wDay = static_cast<WORD>(CSimbrel1View::GetDateKeyDay(strKey));
    return st;
}
}  // namespace

// Dates.

bool CSimbrel1View::IsValidDateKey(const CString& strKey)
{
    if (strKey.GetLength() != 8)
        return false;
    for (int i = 0; i < 8; ++i) {
        if (strKey[i] < L'0' || strKey[i] > L'9')
            return false;
    }
    const int nYear = GetDateKeyYear(strKey);
    const int nMonth = GetDateKeyMonth(strKey);
    const int nDay = GetDateKeyDay(strKey);
    // The system's calendar starts in 1601.
    return nYear >= 1601 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= DaysInMonth(nYear, nMonth);
}

CString CSimbrel1View::FormatDateKeyLocal(const CString& strKey)
{
    return FormatDateKeyForLocale(strKey, LOCALE_USER_DEFAULT);
}

CString CSimbrel1View::FormatDateKeyForLocale(const CString& strKey, LCID lcid)
{
    // A key that is not a date (a damaged file) has no local form; the key
    // itself stays as it was read.
    if (!IsValidDateKey(strKey))
        return CString();
    const SYSTEMTIME st = DateKeyToSystemTime(strKey);
    wchar_t szDate[128] = {};
    if (::GetDateFormatW(lcid, DATE_SHORTDATE, &st, nullptr, szDate, 128) == 0)
        return CString();
    return CString(szDate);
}

int CSimbrel1View::GetDateKeyYear(const CString& strKey)
{
    return LeadingNumber(strKey.Left(4));
}

int CSimbrel1View::GetDateKeyMonth(const CString& strKey)
{
    return LeadingNumber(strKey.Mid(4, 2));
}

int CSimbrel1View::GetDateKeyDay(const CString& strKey)
{
    return LeadingNumber(strKey.Right(2));
}

void CSimbrel1View::InitDatePicker(int bUseToday, CDateTimeCtrl* pPicker, const CString& strKey, CString& strLocal)
{
    if (pPicker == nullptr || pPicker->GetSafeHwnd() == nullptr)
        return;
    if (IsValidDateKey(strKey)) {
        pPicker->SetFormat(nullptr);
        SetDatePickerFromKey(pPicker, strKey, strLocal);
        return;
    }
    // Blank, but holding a date the user can start from when opening it.
    pPicker->SetFormat(L" ");
    SYSTEMTIME st{};
    if (bUseToday) {
        ::GetLocalTime(&st);
    } else {
        st.wYear = 2000;
        st.wMonth = 1;
        st.wDay = 1;
    }
    pPicker->SetTime(&st);
}

void CSimbrel1View::ResetDatePickerFormat(CDateTimeCtrl* pPicker)
{
    if (pPicker != nullptr && pPicker->GetSafeHwnd() != nullptr)
        pPicker->SetFormat(nullptr);
}

int CSimbrel1View::ReadDatePicker(CDateTimeCtrl* pPicker, CString& strKey, CString& strLocal)
{
    if (pPicker == nullptr || pPicker->GetSafeHwnd() == nullptr)
        return GDT_NONE;
    SYSTEMTIME st{};
    const DWORD dwStatus = pPicker->GetTime(st);
    if (dwStatus != GDT_VALID)
        return static_cast<int>(dwStatus);
    strKey.Format(L"%04d%02d%02d", st.wYear, st.wMonth, st.wDay);
    strLocal = FormatDateKeyLocal(strKey);
    return 0;
}

int CSimbrel1View::SetDatePickerFromKey(CDateTimeCtrl* pPicker, const CString& strKey, CString& strLocal)
{
    if (strKey.IsEmpty())
        return 1;
    strLocal = FormatDateKeyLocal(strKey);
    if (strLocal.IsEmpty())
        return 1;
    if (pPicker != nullptr && pPicker->GetSafeHwnd() != nullptr) {
        const SYSTEMTIME st = DateKeyToSystemTime(strKey);
        pPicker->SetTime(&st);
    }
    return 0;
}

CString CSimbrel1View::DotsToSlashes(const CString& strText)
{
    CString str = strText;
    str.Replace(L'.', L'/');
    return str;
}

// Labels.

CString CSimbrel1View::GetTestLabel(int bDepress, int nTestIndex)
{
    const CString strName = LoadText(bDepress == 0 ? IDS_PRESSURIZATION_TEST : IDS_DEPRESSURIZATION_TEST);
    CString str;
    str.Format(L"%s: %d", strName.GetString(), nTestIndex + 1);
    return str;
}

int CSimbrel1View::FillTestCombo(CWnd* pCombo, std::vector<CTestPair>& pairs, int nDirection, int nTestIndex) const
{
    if (pCombo == nullptr || pCombo->GetSafeHwnd() == nullptr)
        return -1;
    pairs.clear();
    int nSelect = -1;
    for (int d = 0; d < 2; ++d) {
        const CString strName = LoadText(d == 0 ? IDS_PRESSURIZATION_TEST : IDS_DEPRESSURIZATION_TEST);
        const int nTests = m_pTestGraph != nullptr ? m_pTestGraph->UsedTests(d) : 0;
        for (int t = 0; t < nTests; ++t) {
            CString strItem;
            strItem.Format(L"%s %d", strName.GetString(), t + 1);
            const LRESULT nItem = pCombo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
            pairs.push_back({d, t});
            if (d == nDirection && t == nTestIndex)
                nSelect = static_cast<int>(nItem);
        }
    }
    return nSelect;
}

CString CSimbrel1View::GetRingLabel(int nRing, wchar_t chFanCode)
{
    if (nRing < 0)
        return CString();
    return LoadText(IDS_RING) + L" " + CTestGraph1::GetRingLabel(nRing, chFanCode);
}

wchar_t CSimbrel1View::GetStringInitial(UINT nIDString, int bUpper)
{
    CString str = LoadText(nIDString);
    if (str.IsEmpty())
        return L'\0';
    str = str.Left(1);
    if (bUpper)
        str.MakeUpper();
    else
        str.MakeLower();
    return str[0];
}

// Texts and numbers.

CString CSimbrel1View::RemoveCommas(const CString& strText)
{
    CString str = strText;
    str.Remove(L',');
    return str;
}

double CSimbrel1View::PercentDeviationFromCurve(double dPressure, double dFlow, double dC, double dN)
{
    const double dCurveFlow = dC * std::pow(std::fabs(dPressure), dN);
    return (dFlow - dCurveFlow) * 100.0 / dCurveFlow;
}

// Warnings and page services.

int CSimbrel1View::CheckAdjustedPressureLimit(double dPressure, wchar_t chFanCode)
{
    const bool bHighLimitFan = chFanCode == L'4' || chFanCode == L'A' || chFanCode == L'B';
    const double dLimit = bHighLimitFan ? 105.0 : 85.0;
    const int nNamed = bHighLimitFan ? 100 : 80;
    if (!(dPressure > dLimit))
        return 0;
    CString strText;
    strText.Format(LoadText(IDS_ADJUSTED_PRESSURE_WARNING).GetString(), nNamed);
    ShowMessage(IDS_ADJUSTED_PRESSURE_WARNING, strText, IDI_MESSAGE_NOTE, kOkOnly, kNoHelpTopic);
    return 1;
}

std::vector<CSimbrel1View::EnvironmentSource> CSimbrel1View::GetTestEnvironmentSources(int nMethodIndex,
                                                                                       int nStandard,
                                                                                       wchar_t chMethodLetter)
{
    std::vector<EnvironmentSource> sources;
    if (nMethodIndex == 0)
        sources.push_back(EnvironmentSource::ManualEntry);
    switch (nStandard) {
    case 0:
        sources.push_back(EnvironmentSource::Temperature);
        break;
    case 1:
    case 3:
        sources.push_back(EnvironmentSource::TemperatureBarometric);
        if (chMethodLetter == L'M')
            sources.push_back(EnvironmentSource::Baseline);
        break;
    case 2:
        sources.push_back(EnvironmentSource::TemperatureAltitude);
        break;
    default:
        break;
    }
    return sources;
}

CString CSimbrel1View::GetTestEnvironmentText(int nDirection, int nTestIndex) const
{
    if (m_pSettings == nullptr || nDirection < 0 || nDirection > 1)
        return CString();
    CString strText;
    for (const EnvironmentSource source : GetTestEnvironmentSources(
             m_pSettings->m_nMethodIndex, m_pSettings->m_nStandard, m_pSettings->m_chMethodLetter[nDirection])) {
        switch (source) {
        case EnvironmentSource::ManualEntry:
            strText += m_pManualEntry->WriteToFile(nDirection);
            break;
        case EnvironmentSource::Temperature:
            strText += m_pTemperature->WriteToFile(nDirection, nTestIndex);
            break;
        case EnvironmentSource::TemperatureBarometric:
            strText += m_pTempBaro->WriteToFile(nDirection, nTestIndex);
            break;
        case EnvironmentSource::Baseline:
            strText += m_pBaseline->WriteToFile(nDirection);
            break;
        case EnvironmentSource::TemperatureAltitude:
            strText += m_pTempAltitude->WriteToFile(nDirection, nTestIndex);
            break;
        }
    }
    return strText;
}

void CSimbrel1View::RunEquipmentDialog(int bKeepLayout)
{
    const int bLiveReadings = SetLiveReadingsEnabled(0);
    const wchar_t chFanCode = m_pEquipment->m_chFanCode;
    m_pEquipment->m_bCalibrationChanged = 0;

    const INT_PTR nResult = m_pEquipment->DoModal();
    if (nResult != IDCANCEL && (m_pEquipment->m_chFanCode != chFanCode || m_pEquipment->m_bCalibrationChanged)) {
        // Another fan: the rings of the old one mean nothing for it.
        const int d = g_nCurrentDirection == 0 ? 0 : 1;
        m_pTestGraph->m_CurrentRing[d] = 0;
        m_pTestGraph->UpdateRingCalibration(d);
        m_pManualEntry->ClearData(0);
        m_pManualEntry->ClearData(1);
    }

    SetLiveReadingsEnabled(bLiveReadings);
    if (!bKeepLayout)
        m_bLayoutPending = 0;
    RefreshOpenPages();
}

void CSimbrel1View::OnOptionsBusinessInfo()
{
    const int bLiveReadings = SetLiveReadingsEnabled(0);
    m_pBusinessInfo->DoModal();
    SetLiveReadingsEnabled(bLiveReadings);
    m_bLayoutPending = 0;
    RefreshOpenPages();
}

void CSimbrel1View::ResetChannelTables()
{
    if (m_pTestGraph != nullptr) {
        for (auto& targets : m_pTestGraph->m_Targets) {
            for (int i = 0; i < kResetTargets; ++i)
                targets[i] = 0.0;
        }
    }
    for (CQarCommunications* pLink : m_pLink) {
        if (pLink != nullptr)
            pLink->InitChannelTable();
    }
}

int CSimbrel1View::SetLiveReadingsEnabled(int bEnabled)
{
    const int bPrevious = g_bLiveReadings;
    g_bLiveReadings = bEnabled;
    return bPrevious;
}

// Page font.

double CSimbrel1View::GetPageFontScale(CWnd* pWnd) const
{
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return 0.0;
    return std::min(m_ClientSize.cx / 590.0, m_ClientSize.cy / 380.0);
}

void CSimbrel1View::CreatePageFont(CWnd* pPage, double dFactor)
{
    if (!m_bPageLogFontTaken && pPage != nullptr && pPage->GetSafeHwnd() != nullptr) {
        CWnd* pControl = pPage->GetDlgItem(1);
        CFont* pFont = pControl != nullptr ? pControl->GetFont() : nullptr;
        if (pFont != nullptr && pFont->GetLogFont(&m_PageLogFont) != 0)
            m_bPageLogFontTaken = 1;
    }

    double dScale = GetPageFontScale(this) * dFactor;
    if (GetSafeHwnd() != nullptr) {
        if (HDC hDC = ::GetDC(m_hWnd)) {
            const double dDpi = ::GetDeviceCaps(hDC, LOGPIXELSX);
            ::ReleaseDC(m_hWnd, hDC);
            dScale *= 96.0 / ((dDpi - 96.0) / 7.0 + 96.0);
        }
    }

    LOGFONTW lf = m_PageLogFont;
    lf.lfHeight = -static_cast<int>(11.0 * dScale);
    lf.lfWidth = 0;
    delete m_pPageFont;
    m_pPageFont = new CFont;
    m_pPageFont->CreateFontIndirect(&lf);
}

// Context help and the two small helpers of its Part.

void CSimbrel1View::ShowContextHelp(int nTopic)
{
    const int bLiveReadings = SetLiveReadingsEnabled(0);
    CHelpDialog dlg;
    dlg.m_pView = this;
    if (!LoadHelpTopic(m_strProgramFolder + L"QEhelp.txt", nTopic, dlg.m_strTitle, dlg.m_strText)) {
        dlg.m_strTitle.Empty();
        dlg.m_strText = LoadText(IDS_HELP_NOT_AVAILABLE);
    }
    dlg.DoModal();
    SetLiveReadingsEnabled(bLiveReadings);
}

CString CSimbrel1View::StripLeadingBlanks(const CString& strText)
{
    CString str = strText;
    str.TrimLeft(L' ');
    return str;
}

void CSimbrel1View::DelayMs(int nMs)
{
    CClock& clock = GetProgramClock();
    const std::int64_t nEnd = clock.GetMilliseconds() + nMs;
    while (clock.GetMilliseconds() < nEnd) {
    }
}
