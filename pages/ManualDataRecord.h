// The computations of the manual data grid and its record, free of any
// window: row keys and values of the test file, the ring lists of the fans,
// the conversions between fan pressure and flow, the cell limits and the
// completeness of a row.
#pragma once

#include "framework/String.h"

// "P_Manual_Entry_Data_Row_3:" (current format) or "Manual_Entry_Data_3:"
// (older files, no direction prefix).
CString MakeManualRowKey(int nSlot, int nRow, bool bNewFormat);

// One row's value "ring building-pressure fan-pressure flow" split at single
// blanks. What a short value holds is stored only up to its last blank: no
// blank stores nothing, one blank the ring, two blanks the ring and the
// building pressure, three or more everything (the flow is the rest).
struct ManualRowValue {
    bool bRing = false;
    bool bBuildingP = false;
    bool bFanAndFlow = false;
    int nRing = -1;
    CString strBuildingP;
    CString strFanP;
    CString strFlow;
};
ManualRowValue ParseManualRowValue(const CString& strValue);

// The items of a fan's ring list: "Open" and its rings (6 for fans '3', '5',
// '4', 5 for duct fan 'B', 4 for any other code).
int GetManualRingItemCount(wchar_t chFanCode);
// A ring the fan has (0 the open fan ... the last ring); -1 and rings beyond
// the fan's list are not.
bool IsManualRingOfFan(int nRing, wchar_t chFanCode);

// Q = C * |P|^n. False (and no number) when C or n is not above 0 or the
// result is not finite.
bool ManualFlowFromFanPressure(double dFanP, double dC, double dN, double& dFlow);
// P = (Q / C)^(1/n), from |Q|. False under the same conditions.
bool ManualFanPressureFromFlow(double dFlow, double dC, double dN, double& dFanP);
// "%4.1f" for duct fan 'B' on ring 4, else "%4.0f"; leading blanks removed.
CString FormatManualFlow(double dFlow, wchar_t chFanCode, int nRing);
// "%4.1f", leading blanks removed.
CString FormatManualFanPressure(double dFanP);

enum class ManualCell { BuildingPressure, Ring, FanPressure, Flow, BaselineAverage };
// The largest magnitude a cell accepts, Pa: 150 for a building pressure, 500
// for the baseline averages and the fan cells, except the open fan (ring 0)
// of fans '3' (209487), '5' (196261) and '4' (305106).
double GetManualCellLimit(ManualCell cell, int nRing, wchar_t chFanCode);

// The outcome of checking a cell's value: 0 accepted, else the message.
// dMinFanP is the row's minimum fan pressure; bCalibrationUsable false when
// the row's C or n is not above 0 (a flow cannot be converted then).
struct ManualCellCheck {
    bool bAccepted = true;
    int nMessageId = 0;   // 4392, 3000 to 3003, 4366, or the calibration text
};
// v is the number to check: the building or fan pressure, for a flow cell
// the fan pressure it converts to, for a ring list the row's fan pressure.
// bHasRing false: calibrated cells pass (the conversion reports the ring).
ManualCellCheck CheckManualCellValue(ManualCell cell, double v, bool bHasRing, int nRing, wchar_t chFanCode,
                                     double dMinFanP, bool bCalibrationUsable, int nFlowSource);

// The row's status from its texts: 0 complete, -1 empty, 1 no building
// pressure, 2 no ring, 3 no fan pressure (flow source 0), 4 no flow (flow
// source 1). A building pressure of only "-" counts as none.
int GetManualRowStatus(const CString& strBuildingP, const CString& strRingText, const CString& strFanP,
                       const CString& strFlow, int nFlowSource);
