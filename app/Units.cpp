// Units of measure: the view's one units state, the default units file, the
// units section of test and configuration files, and the conversion of the
// stored values when the user changes units.
#include "app/Simbrel1View.h"

#include <cmath>

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "app/UnitsSelectionDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
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

const wchar_t* const kFlowKey = L"Flow_Units:";
const wchar_t* const kBuildingKey = L"Building_Dimension_Units:";
const wchar_t* const kLeakageKey = L"Leakage_Dimension_Units:";
const wchar_t* const kTemperatureKey = L"Temperature_Units:";
const wchar_t* const kDefaultUnitsFile = L"DefaultUnits.dat";

const UINT kFlowNames[] = {IDS_UNIT_CFM, IDS_UNIT_M3H, IDS_UNIT_LS};
const double kFlowFactors[] = {1.0, 1.6990107955200004, 0.4719474432000001};
const UINT kBuildingNames[] = {IDS_UNIT_FT, IDS_UNIT_M};
const double kBuildingFactors[] = {1.0, 0.3048};
const UINT kLeakageNames[] = {IDS_UNIT_IN, IDS_UNIT_CM};
const double kLeakageFactors[] = {1.0, 0.39370078740157477};
const UINT kTemperatureNames[] = {IDS_UNIT_F, IDS_UNIT_C};

constexpr double kMetresPerFoot = 0.3048;

// An index outside the family's table counts as its first unit.
template <size_t N>
int ValidIndex(int nIndex, const UINT (&)[N])
{
    return nIndex >= 0 && nIndex < static_cast<int>(N) ? nIndex : 0;
}

// Only the first character decides, exactly (case included); an empty or
// unknown name gives the family's first unit.
template <size_t N>
int IndexFromName(const CString& strName, const UINT (&names)[N])
{
    if (strName.IsEmpty())
        return 0;
    for (size_t i = 0; i < N; ++i) {
        const CString strUnit = LoadText(names[i]);
        if (!strUnit.IsEmpty() && strUnit[0] == strName[0])
            return static_cast<int>(i);
    }
    return 0;
}

int DirectionSlot(int nDirection)
{
    return nDirection == 0 ? 0 : 1;
}

int CompletedTests(const CTestGraph1& graph, int nSlot)
{
    const int n = graph.m_CompletedTests[nSlot];
    return n < 0 ? 0 : (n > CTestGraph1::kMaxTests ? CTestGraph1::kMaxTests : n);
}

// A text the user left empty (or blank) stays so: converting it would make
// a value nobody typed.
bool IsBlank(const CString& strText)
{
    for (int i = 0; i < strText.GetLength(); ++i)
        if (strText[i] != L' ' && strText[i] != L'\t')
            return false;
    return true;
}

// Shows its data again and repaints, when the page's window is open.
bool RefreshIfOpen(CDialog* pPage)
{
    if (pPage == nullptr || pPage->GetSafeHwnd() == nullptr)
        return false;
    pPage->UpdateData(FALSE);
    pPage->Invalidate();
    return true;
}

}  // namespace

void CSimbrel1View::SetUnitsFromNames(const CString& strFlow, const CString& strBuilding, const CString& strLeakage,
                                      const CString& strTemperature)
{
    m_nFlowUnit = IndexFromName(strFlow, kFlowNames);
    m_nBuildingUnit = IndexFromName(strBuilding, kBuildingNames);
    m_nLeakageUnit = IndexFromName(strLeakage, kLeakageNames);
    m_nTemperatureUnit = IndexFromName(strTemperature, kTemperatureNames);
    ApplyUnits();
    // Values read with these units are held in them.
    AcceptCurrentUnits();
}

void CSimbrel1View::AcceptCurrentUnits()
{
    m_nPrevFlowUnit = m_nFlowUnit;
    m_dPrevFlowFactor = m_dFlowFactor;
    m_nPrevBuildingUnit = m_nBuildingUnit;
    m_dPrevBuildingFactor = m_dBuildingFactor;
    m_nPrevLeakageUnit = m_nLeakageUnit;
    m_nPrevTemperatureUnit = m_nTemperatureUnit;
}

void CSimbrel1View::ApplyUnits()
{
    m_nFlowUnit = ValidIndex(m_nFlowUnit, kFlowNames);
    m_nBuildingUnit = ValidIndex(m_nBuildingUnit, kBuildingNames);
    m_nLeakageUnit = ValidIndex(m_nLeakageUnit, kLeakageNames);
    m_nTemperatureUnit = ValidIndex(m_nTemperatureUnit, kTemperatureNames);

    const CString strFlow = LoadText(kFlowNames[m_nFlowUnit]);
    const CString strBuilding = LoadText(kBuildingNames[m_nBuildingUnit]);
    const CString strLeakage = LoadText(kLeakageNames[m_nLeakageUnit]);
    const CString strTemperature = LoadText(kTemperatureNames[m_nTemperatureUnit]);
    for (int d = 0; d < 2; ++d) {
        m_strFlowUnitName[d] = strFlow;
        m_strBuildingUnitName[d] = strBuilding;
        m_strLeakageUnitName[d] = strLeakage;
        m_strTemperatureUnitName[d] = strTemperature;
    }
    m_dFlowFactor = kFlowFactors[m_nFlowUnit];
    m_dBuildingFactor = kBuildingFactors[m_nBuildingUnit];
    m_dLeakageFactor = kLeakageFactors[m_nLeakageUnit];

    if (m_pBuildingInfo != nullptr) {
        const bool bMetres = m_nBuildingUnit == 1;
        m_pBuildingInfo->m_strLengthUnit = strBuilding;
        m_pBuildingInfo->m_strFloorAreaUnit = LoadText(bMetres ? IDS_UNIT_M2 : IDS_UNIT_FT2);
        m_pBuildingInfo->m_strSurfaceAreaUnit = m_pBuildingInfo->m_strFloorAreaUnit;
        m_pBuildingInfo->m_strVolumeUnit = LoadText(bMetres ? IDS_UNIT_M3 : IDS_UNIT_FT3);
    }
}

void CSimbrel1View::ReadDefaultUnitsFile()
{
    CString strText;
    if (!ReadUtf16TextFile(m_strDataFolder + kDefaultUnitsFile, strText))
        return;
    // Until the next file is opened or saved, the loaded text is this one.
    m_strFileText = strText;
    const CString strFlow = GetFileValue(kFlowKey);
    const CString strBuilding = GetFileValue(kBuildingKey);
    const CString strLeakage = GetFileValue(kLeakageKey);
    const CString strTemperature = GetFileValue(kTemperatureKey);
    for (int d = 0; d < 2; ++d) {
        m_strFlowUnitName[d] = strFlow;
        m_strBuildingUnitName[d] = strBuilding;
        m_strLeakageUnitName[d] = strLeakage;
        m_strTemperatureUnitName[d] = strTemperature;
    }
    const int d = DirectionSlot(g_nCurrentDirection);
    SetUnitsFromNames(m_strFlowUnitName[d], m_strBuildingUnitName[d], m_strLeakageUnitName[d],
                      m_strTemperatureUnitName[d]);
}

void CSimbrel1View::WriteDefaultUnitsFile()
{
    const CString strText = L"Default Units\r\n" + WriteUnitsKeys(g_nCurrentDirection);
    // The user asked for these defaults: a file that could not be written
    // is told, while the units in use stay as chosen.
    CFileException error;
    if (!WriteUtf16TextFile(m_strDataFolder + kDefaultUnitsFile, strText, &error))
        error.ReportError();
}

CString CSimbrel1View::WriteUnitsKeys(int nDirection) const
{
    const int d = DirectionSlot(nDirection);
    return MakeKeyLine(L"", kFlowKey, m_strFlowUnitName[d]) + MakeKeyLine(L"", kBuildingKey, m_strBuildingUnitName[d]) +
           MakeKeyLine(L"", kLeakageKey, m_strLeakageUnitName[d]) +
           MakeKeyLine(L"", kTemperatureKey, m_strTemperatureUnitName[d]);
}

// The unit keys carry no direction prefix in either key layout.
void CSimbrel1View::ReadUnitsKeys(int nDirection)
{
    const int d = DirectionSlot(nDirection);
    m_strFlowUnitName[d] = GetFileValue(kFlowKey);
    m_strBuildingUnitName[d] = GetFileValue(kBuildingKey);
    m_strLeakageUnitName[d] = GetFileValue(kLeakageKey);
    m_strTemperatureUnitName[d] = GetFileValue(kTemperatureKey);
    SetUnitsFromNames(m_strFlowUnitName[d], m_strBuildingUnitName[d], m_strLeakageUnitName[d],
                      m_strTemperatureUnitName[d]);
}

void CSimbrel1View::ConvertFahrenheitToCelsius(double& dValue)
{
    dValue = (dValue - 32.0) * 0.5555555555555556;
}

void CSimbrel1View::ConvertCelsiusToFahrenheit(double& dValue)
{
    dValue = 1.8 * dValue + 32.0;
}

void CSimbrel1View::ConvertTemperatureText(int bToCelsius, CString& strText)
{
    if (IsBlank(strText))
        return;
    double dValue = TextToDouble(strText);
    if (bToCelsius)
        ConvertFahrenheitToCelsius(dValue);
    else
        ConvertCelsiusToFahrenheit(dValue);
    strText.Format(L"%4.1f", dValue);
}

void CSimbrel1View::ConvertAltitudeText(int bToMetres, CString& strText)
{
    if (IsBlank(strText))
        return;
    double dValue = TextToDouble(strText);
    dValue = bToMetres ? dValue * kMetresPerFoot : dValue / kMetresPerFoot;
    strText.Format(L"%4.1f", dValue);
}

// Only completed tests are converted: the texts of a test not yet run are
// still as the user typed them, in the unit shown when typing.
void CSimbrel1View::ConvertStoredTemperatures(int nNewTemperatureUnit)
{
    const int bToCelsius = nNewTemperatureUnit == 1;
    auto convert = [bToCelsius](double& dValue) {
        if (bToCelsius)
            ConvertFahrenheitToCelsius(dValue);
        else
            ConvertCelsiusToFahrenheit(dValue);
    };
    const int nStandard = m_pSettings->m_nStandard;
    for (int d = 0; d < 2; ++d) {
        for (int t = 0; t < CompletedTests(*m_pTestGraph, d); ++t) {
            for (int k = 0; k < 2; ++k) {
                convert(m_pTestGraph->m_TestTin[k][d][t]);
                convert(m_pTestGraph->m_TestTout[k][d][t]);
            }
            switch (nStandard) {
            case 0:
                ConvertTemperatureText(bToCelsius, m_pTemperature->m_strTestIndoorTemp[d][t]);
                ConvertTemperatureText(bToCelsius, m_pTemperature->m_strTestOutdoorTemp[d][t]);
                break;
            case 1:
            case 3:
                ConvertTemperatureText(bToCelsius, m_pTempBaro->m_strTestIndoorTemp[d][t]);
                ConvertTemperatureText(bToCelsius, m_pTempBaro->m_strTestOutdoorTemp[d][t]);
                break;
            case 2:
                ConvertTemperatureText(bToCelsius, m_pTempAltitude->m_strTestPretestIndoorTemp[d][t]);
                ConvertTemperatureText(bToCelsius, m_pTempAltitude->m_strTestPretestOutdoorTemp[d][t]);
                ConvertTemperatureText(bToCelsius, m_pTempAltitude->m_strTestPosttestIndoorTemp[d][t]);
                ConvertTemperatureText(bToCelsius, m_pTempAltitude->m_strTestPosttestOutdoorTemp[d][t]);
                break;
            default:
                break;
            }
        }
    }
}

void CSimbrel1View::ConvertStoredAltitudes(int nNewBuildingUnit)
{
    const int bToMetres = nNewBuildingUnit == 1;
    const int nStandard = m_pSettings->m_nStandard;
    for (int d = 0; d < 2; ++d) {
        for (int t = 0; t < CompletedTests(*m_pTestGraph, d); ++t) {
            double& dAltitude = m_pTestGraph->m_TestAltitude[d][t];
            dAltitude = bToMetres ? dAltitude * kMetresPerFoot : dAltitude / kMetresPerFoot;
            if (nStandard == 1 || nStandard == 3)
                ConvertAltitudeText(bToMetres, m_pTempBaro->m_strTestAltitude[d][t]);
            else if (nStandard == 2)
                ConvertAltitudeText(bToMetres, m_pTempAltitude->m_strTestAltitude[d][t]);
        }
    }
}

void CSimbrel1View::OnUnitsSelection()
{
    if (m_pBuildingInfo->m_bCreated) {
        m_pBuildingInfo->UpdateData(TRUE);
        m_pBuildingInfo->UpdateDimensionValues(0);
    }
    const int nDirection = GetUnitsDirection();

    int nFlowUnit = m_nFlowUnit;
    int nBuildingUnit = m_nBuildingUnit;
    int nLeakageUnit = m_nLeakageUnit;
    int nTemperatureUnit = m_nTemperatureUnit;
    int bSetAsDefaults = 0;
    if (ShowUnitsSelectionDialog(nFlowUnit, nBuildingUnit, nLeakageUnit, nTemperatureUnit, bSetAsDefaults) == IDOK)
        ChangeUnits(nFlowUnit, nBuildingUnit, nLeakageUnit, nTemperatureUnit, bSetAsDefaults, nDirection);

    m_bLayoutPending = 0;
    RefreshOpenPages();
}

INT_PTR CSimbrel1View::ShowUnitsSelectionDialog(int& nFlowUnit, int& nBuildingUnit, int& nLeakageUnit,
                                                 int& nTemperatureUnit, int& bSetAsDefaults)
{
    CUnitsSelectionDialog dialog(this);
    dialog.m_pView = this;
    dialog.m_nFlowUnit = nFlowUnit;
    dialog.m_nBuildingUnit = nBuildingUnit;
    dialog.m_nLeakageUnit = nLeakageUnit;
    dialog.m_nTemperatureUnit = nTemperatureUnit;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK) {
        nFlowUnit = dialog.m_nFlowUnit;
        nBuildingUnit = dialog.m_nBuildingUnit;
        nLeakageUnit = dialog.m_nLeakageUnit;
        nTemperatureUnit = dialog.m_nTemperatureUnit;
        bSetAsDefaults = dialog.m_bSetAsDefaults;
    }
    return nResult;
}

int CSimbrel1View::GetUnitsDirection() const
{
    const bool bPress = m_pTestGraph->m_CompletedTests[0] > 0;
    const bool bDepress = m_pTestGraph->m_CompletedTests[1] > 0;
    if (bPress != bDepress)
        return bPress ? 0 : 1;
    return DirectionSlot(g_nCurrentDirection);
}

void CSimbrel1View::ChangeUnits(int nFlowUnit, int nBuildingUnit, int nLeakageUnit, int nTemperatureUnit,
                                int bSetAsDefaults, int nDirection)
{
    m_nFlowUnit = nFlowUnit;
    m_nBuildingUnit = nBuildingUnit;
    m_nLeakageUnit = nLeakageUnit;
    m_nTemperatureUnit = nTemperatureUnit;
    ApplyUnits();
    if (bSetAsDefaults)
        WriteDefaultUnitsFile();

    // The directions whose data are converted: both when both hold tests,
    // else the one that does (or the current one).
    const bool bBoth = m_pTestGraph->m_CompletedTests[0] > 0 && m_pTestGraph->m_CompletedTests[1] > 0;
    const int nFirst = bBoth ? 0 : DirectionSlot(nDirection);
    const int nLast = bBoth ? 1 : nFirst;
    const int nStandard = m_pSettings->m_nStandard;

    if (m_nTemperatureUnit != m_nPrevTemperatureUnit) {
        ConvertStoredTemperatures(m_nTemperatureUnit);
        m_nPrevTemperatureUnit = m_nTemperatureUnit;
    }

    if (m_nFlowUnit != m_nPrevFlowUnit) {
        const double dRatio = m_dFlowFactor / m_dPrevFlowFactor;
        m_pFanCalibration->RescaleCustomC(dRatio);
        m_pManualEntry->ScaleFlowTexts(dRatio);
        for (int d = nFirst; d <= nLast; ++d) {
            m_pFanCalibration->LoadFanRingCalibration(m_pEquipment->m_chFanCode, m_pTestGraph->m_CurrentRing[d]);
            m_pTestGraph->ScaleFlows(dRatio, d);
        }
        if (nStandard == 1) {
            m_pEn13829->ConvertLimitValueUnits(dRatio, 1.0);
            m_pEn13829->GetLimitValueUnits();
        } else if (nStandard == 3) {
            m_pIso9972->ConvertLimitValueUnits(dRatio, 1.0);
            m_pIso9972->GetLimitValueUnits();
        }
        m_nPrevFlowUnit = m_nFlowUnit;
        m_dPrevFlowFactor = m_dFlowFactor;
    }

    if (m_nBuildingUnit != m_nPrevBuildingUnit) {
        const double dRatio = m_dBuildingFactor / m_dPrevBuildingFactor;
        for (int d = nFirst; d <= nLast; ++d)
            m_pBuildingInfo->ConvertDimensionUnits(dRatio, d);
        if (nStandard == 1)
            m_pEn13829->ConvertLimitValueUnits(1.0, dRatio);
        else if (nStandard == 3)
            m_pIso9972->ConvertLimitValueUnits(1.0, dRatio);
        ConvertStoredAltitudes(m_nBuildingUnit);
        m_nPrevBuildingUnit = m_nBuildingUnit;
        m_dPrevBuildingFactor = m_dBuildingFactor;
    }

    // Leakage areas are recomputed with the results below.
    m_nPrevLeakageUnit = m_nLeakageUnit;

    if (m_pTestGraph->m_bShown) {
        for (int d = nFirst; d <= nLast; ++d) {
            m_pTestGraph->UpdateRingCalibration(d);
            m_pTestGraph->RecalculateGraph(d);
        }
        m_pTestGraph->UpdateFlowUnitLabel();
        m_pTestGraph->RedrawGraph();
    }

    if (bBoth && nStandard == 2) {
        // The mean texts must show the new averages: average before formatting.
        m_pResults->ComputeResults(0);
        m_pResults->ComputeResults(1);
        m_pResults->AverageDirections();
        m_pResults->FormatResults();
    } else if (bBoth) {
        UpdateResults(0);
        UpdateResults(1);
    } else if (m_pTestGraph->m_CompletedTests[nFirst] > 0) {
        UpdateResults(nFirst);
    }
    CDialog* const pages[] = {m_pResults, m_pBuildingInfo, m_pEn13829, m_pIso9972};
    for (CDialog* pPage : pages)
        if (RefreshIfOpen(pPage))
            break;
}
