#include "pages/ManualDataRecord.h"

#include <cmath>
#include <cwchar>

#include "app/Simbrel1View.h"
#include "res/resource.h"

CString MakeManualRowKey(int nSlot, int nRow, bool bNewFormat)
{
    CString strKey;
    if (bNewFormat)
        strKey.Format(L"%sManual_Entry_Data_Row_%d:", nSlot == 0 ? L"P_" : L"D_", nRow);
    else
        strKey.Format(L"Manual_Entry_Data_%d:", nRow);
    return strKey;
}

ManualRowValue ParseManualRowValue(const CString& strValue)
{
    ManualRowValue value;
    const std::wstring& s = strValue.str();
    const size_t nFirst = s.find(L' ');
    if (nFirst == std::wstring::npos)
        return value;
    value.bRing = true;
    value.nRing = _wtoi(s.substr(0, nFirst).c_str());
    const size_t nSecond = s.find(L' ', nFirst + 1);
    if (nSecond == std::wstring::npos)
        return value;
    value.bBuildingP = true;
    value.strBuildingP = CString(s.substr(nFirst + 1, nSecond - nFirst - 1).c_str());
    const size_t nThird = s.find(L' ', nSecond + 1);
    if (nThird == std::wstring::npos)
        return value;
    value.bFanAndFlow = true;
    value.strFanP = CString(s.substr(nSecond + 1, nThird - nSecond - 1).c_str());
    value.strFlow = CString(s.substr(nThird + 1).c_str());
    return value;
}

int GetManualRingItemCount(wchar_t chFanCode)
{
    switch (chFanCode) {
    case L'3':
    case L'5':
    case L'4':
        return 6;
    case L'B':
        return 5;
    default:
        return 4;
    }
}

bool IsManualRingOfFan(int nRing, wchar_t chFanCode)
{
    return nRing >= 0 && nRing < GetManualRingItemCount(chFanCode);
}

bool ManualFlowFromFanPressure(double dFanP, double dC, double dN, double& dFlow)
{
    if (!(dC > 0.0) || !(dN > 0.0))
        return false;
    const double q = dC * std::pow(std::fabs(dFanP), dN);
    if (!std::isfinite(q))
        return false;
    dFlow = q;
    return true;
}

bool ManualFanPressureFromFlow(double dFlow, double dC, double dN, double& dFanP)
{
    if (!(dC > 0.0) || !(dN > 0.0))
        return false;
    const double p = std::pow(std::fabs(dFlow) / dC, 1.0 / dN);
    if (!std::isfinite(p))
        return false;
    dFanP = p;
    return true;
}

namespace {

CString FormatTrimmed(const wchar_t* pszFormat, double d)
{
    CString strText;
    strText.Format(pszFormat, d);
    return CSimbrel1View::StripLeadingBlanks(strText);
}

}  // namespace

CString FormatManualFlow(double dFlow, wchar_t chFanCode, int nRing)
{
    return FormatTrimmed(chFanCode == L'B' && nRing == 4 ? L"%4.1f" : L"%4.0f", dFlow);
}

CString FormatManualFanPressure(double dFanP)
{
    return FormatTrimmed(L"%4.1f", dFanP);
}

double GetManualCellLimit(ManualCell cell, int nRing, wchar_t chFanCode)
{
    if (cell == ManualCell::BuildingPressure)
        return 150.0;
    if (cell == ManualCell::BaselineAverage || nRing != 0)
        return 500.0;
    switch (chFanCode) {
    case L'3':
        return 209487.0;
    case L'5':
        return 196261.0;
    case L'4':
        return 305106.0;
    default:
        return 500.0;
    }
}

ManualCellCheck CheckManualCellValue(ManualCell cell, double v, bool bHasRing, int nRing, wchar_t chFanCode,
                                     double dMinFanP, bool bCalibrationUsable, int nFlowSource)
{
    ManualCellCheck check;
    const bool bCalibrated = cell == ManualCell::Ring || cell == ManualCell::FanPressure || cell == ManualCell::Flow;
    if (bCalibrated && !bHasRing)
        return check;
    // A flow cannot be turned into a fan pressure with a C or n of 0: the
    // value is refused before "inf" or "nan" reaches a cell.
    if (bCalibrated && !bCalibrationUsable && cell != ManualCell::Ring) {
        check.bAccepted = false;
        check.nMessageId = IDS_MANUAL_CALIBRATION_NOT_USABLE;
        return check;
    }
    const double a = std::fabs(v);
    const bool bBelowMinimum = bCalibrated && a < dMinFanP;
    if (std::isfinite(v) && a <= GetManualCellLimit(cell, nRing, chFanCode) && !bBelowMinimum)
        return check;
    check.bAccepted = false;
    if (bBelowMinimum) {
        check.nMessageId = IDS_MANUAL_FLOW_BELOW_MINIMUM;
        return check;
    }
    switch (cell) {
    case ManualCell::Ring:
        check.nMessageId = nFlowSource == 0 ? IDS_MANUAL_RING_ABOVE_MAX_P : IDS_MANUAL_RING_ABOVE_MAX_Q;
        break;
    case ManualCell::FanPressure:
        check.nMessageId = IDS_MANUAL_FAN_PRESSURE_ABOVE_MAX;
        break;
    case ManualCell::Flow:
        check.nMessageId = IDS_MANUAL_FLOW_ABOVE_MAX;
        break;
    case ManualCell::BuildingPressure:
    case ManualCell::BaselineAverage:
        check.nMessageId = IDS_MANUAL_BUILDING_P_OUT_OF_RANGE;
        break;
    }
    return check;
}

int GetManualRowStatus(const CString& strBuildingP, const CString& strRingText, const CString& strFanP,
                       const CString& strFlow, int nFlowSource)
{
    const bool bBuilding = !strBuildingP.IsEmpty() && strBuildingP != L"-";
    const bool bRing = !strRingText.IsEmpty();
    const bool bFan = CSimbrel1View::TextToDouble(strFanP) != 0.0;
    const bool bFlow = CSimbrel1View::TextToDouble(strFlow) != 0.0;
    if (bBuilding && bFan && bFlow)
        return 0;
    if (!bBuilding && !bFan && !bFlow)
        return -1;
    if (!bBuilding)
        return 1;
    if (!bRing)
        return 2;
    if (!bFan && nFlowSource == 0)
        return 3;
    if (!bFlow && nFlowSource == 1)
        return 4;
    return 0;
}
