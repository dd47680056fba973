#include "report/ZoneReport.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "testrun/TestGraph1.h"

std::vector<CZoneReportEntry> GetZoneReportEntries(int bBothDirections, int d, const int nEntryCount[2])
{
    std::vector<CZoneReportEntry> entries;
    auto Add = [&](int nSlot) {
        for (int e = 0; e < nEntryCount[nSlot]; ++e)
            entries.push_back(CZoneReportEntry{nSlot, e});
    };
    if (bBothDirections) {
        Add(1);
        Add(0);
    } else if (d == 0 || d == 1) {
        Add(d);
    }
    return entries;
}

CZoneReportPage GetZoneReportPage(int nPage, int nEntries, int nTableLines)
{
    CZoneReportPage page;
    if (nPage <= 1) {
        page.nFirstRow = 0;
        page.nRows = std::clamp(nEntries, 0, kZoneRowsOnFirstPage);
        page.bDataTable = 1;
        return page;
    }
    page.nFirstRow = (nPage - 2) * kZoneRowsPerPage + kZoneRowsOnFirstPage;
    if (page.nFirstRow >= nEntries) {
        page.bZpdTable = 1;
        return page;
    }
    page.bDataTable = 1;
    page.nRows = std::min(nEntries - page.nFirstRow, kZoneRowsPerPage);
    // The table follows the last rows only where it fits below them; a full
    // page of rows leaves it to the next page, as the page plan does.
    page.bZpdTable = page.nFirstRow + page.nRows == nEntries && nTableLines < kZoneRowsPerPage - page.nRows ? 1 : 0;
    return page;
}

CString TurnZoneToOutsideSign(const CString& strValue, wchar_t chDirection)
{
    if (chDirection != L'D')
        return strValue;
    int nStart = 0;
    while (nStart < strValue.GetLength() && strValue[nStart] == L' ')
        ++nStart;
    if (nStart == strValue.GetLength())
        return strValue;
    if (strValue[nStart] == L'-')
        return strValue.Left(nStart) + strValue.Mid(nStart + 1);
    if (strValue[nStart] == L'+')
        return strValue.Left(nStart) + L"-" + strValue.Mid(nStart + 1);
    return strValue.Left(nStart) + L"-" + strValue.Mid(nStart);
}

double GetAverageBaselineMarkerValue(const CTestGraph1& graph, int nSlot)
{
    const int n = graph.UsedEntries(nSlot);
    double dSum = 0.0;
    int nMarkers = 0;
    for (int e = 0; e < n; ++e) {
        if (graph.m_Ring[nSlot][e] < 0) {
            dSum += graph.m_PStdDev[nSlot][e];
            ++nMarkers;
        }
    }
    return nMarkers > 0 ? dSum / nMarkers : std::numeric_limits<double>::quiet_NaN();
}

CString FormatBaselineValue(double dMean, const CString& strUnit, const CString& strNotAvailable)
{
    if (!std::isfinite(dMean))
        return L"   " + strNotAvailable;
    return CString::FormatText(L"   %1.2f %s", dMean, strUnit.GetString());
}

int GetLargestRing(const CTestGraph1& graph, int nSlot)
{
    const int n = graph.UsedEntries(nSlot);
    int nRing = -1;
    for (int e = 0; e < n; ++e) {
        const int r = graph.m_Ring[nSlot][e];
        if (r >= 0 && r <= 5 && (nRing < 0 || r < nRing))
            nRing = r;
    }
    return nRing;
}

CString FormatLargestRingText(int nRing, wchar_t chFanCode, const CString& strOpen, const CString& strRing)
{
    if (nRing < 0 || nRing > 5)
        return CString();
    if (nRing == 0)
        return strOpen;
    const bool bLetters = chFanCode == L'3' || chFanCode == L'5' || chFanCode == L'4';
    const wchar_t ch = static_cast<wchar_t>((bLetters ? L'A' : L'1') + nRing - 1);
    return strRing + L" " + CString(ch);
}
