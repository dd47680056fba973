// Plain pieces of the printed zone data report: which data entry a report
// row shows, the rows a page holds, the zone-to-outside sign under
// depressurization, and the ZPD input table's figures.
#pragma once

#include <vector>

#include "framework/String.h"

class CTestGraph1;

// Data rows on page 1 and on each later page.
constexpr int kZoneRowsOnFirstPage = 12;
constexpr int kZoneRowsPerPage = 40;

// The entries the report rows show. Single: the slot's own entries in
// order. Both directions: slot 1's entries, then slot 0's.
struct CZoneReportEntry {
    int nSlot = 0;
    int nEntry = 0;
};
std::vector<CZoneReportEntry> GetZoneReportEntries(int bBothDirections, int d, const int nEntryCount[2]);

// What page p (from 1) of the zone data report draws: the report rows
// [nFirstRow, nFirstRow + nRows), a data table heading when it has rows,
// and whether the ZPD input table follows them.
struct CZoneReportPage {
    int nFirstRow = 0;
    int nRows = 0;
    int bDataTable = 0;
    int bZpdTable = 0;
};
CZoneReportPage GetZoneReportPage(int nPage, int nEntries, int nTableLines);

// A zone-to-outside text as printed for a test whose direction letter is
// chDirection: under depressurization ('D') the sign is turned ("12.3"
// gives "-12.3", "-4.0" gives "4.0"), leading blanks kept; other letters
// and an empty text leave it unchanged.
CString TurnZoneToOutsideSign(const CString& strValue, wchar_t chDirection);

// The mean standard deviation of the building pressure over the slot's
// baseline markers (ring below 0); NaN when the slot has none.
double GetAverageBaselineMarkerValue(const CTestGraph1& graph, int nSlot);
// "   %1.2f <unit>", or "   " + strNotAvailable when the mean is not finite.
CString FormatBaselineValue(double dMean, const CString& strUnit, const CString& strNotAvailable);
// The most open ring the slot used: the smallest ring from 0 to 5 among its
// entries; -1 when none.
int GetLargestRing(const CTestGraph1& graph, int nSlot);
// "Open" for ring 0, "Ring" + " " + 'A' + ring - 1 for fans '3', '5' and
// '4', else "Ring" + " " + '1' + ring - 1; empty for -1.
CString FormatLargestRingText(int nRing, wchar_t chFanCode, const CString& strOpen, const CString& strRing);
