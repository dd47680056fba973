// The zone data report's pages: the zone pressure chart and zone table on
// page 1, the data rows over the pages, and the ZPD input table at the end.
#include <algorithm>
#include <cmath>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "report/PrintFrame.h"
#include "report/ZoneReport.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kZoneFontHeight = -180;
constexpr int kZoneColumns = 7;
constexpr int kZoneColumnStep = 1440;
constexpr int kZpdLeft = 720;
constexpr int kZpdIndent = 1000;
constexpr int kZpdValueX = 3200;
constexpr int kZpdUnderline = 4000;
constexpr int kZoneTableTop = -7800;

CString ZoneLabel(const CTestSettingsDialog& settings, int nSlot, int z)
{
    return settings.m_strZoneName[nSlot][z] + CString::FormatText(L"-P%d", z);
}

}  // namespace

int CSimbrel1View::PrintZoneTableRow(CDC* pDC, int y, int L, const CString* pTexts)
{
    int nLowest = 0;
    for (int k = 1; k <= kZoneColumns; ++k) {
        CRect rc(kZoneColumnStep * k - kZoneColumnStep, y, kZoneColumnStep * k + kZoneColumnStep, y - 15 * L);
        nLowest = std::min(nLowest, pDC->DrawText(pTexts[k - 1], &rc, DT_CENTER | DT_NOPREFIX));
    }
    return nLowest;
}

int CSimbrel1View::PrintTwoCellRow(CDC* pDC, int x0, int y, int L, const CString& strFirst,
                                   const CString& strSecond)
{
    CRect rcFirst(x0, y, x0 + 2880, y - 15 * L);
    CRect rcSecond(x0 + 2160, y, x0 + 5040, y - 15 * L);
    const int h1 = pDC->DrawText(strFirst, &rcFirst, DT_CENTER | DT_NOPREFIX);
    const int h2 = pDC->DrawText(strSecond, &rcSecond, DT_CENTER | DT_NOPREFIX);
    return std::min({0, h1, h2});
}

double CSimbrel1View::AverageBaselineMarkerValue(int nSlot) const
{
    return GetAverageBaselineMarkerValue(*m_pTestGraph, nSlot);
}

CString CSimbrel1View::GetLargestRingText(int nSlot) const
{
    const wchar_t chFan = m_pEquipment != nullptr ? m_pEquipment->m_chFanCode : L'3';
    return FormatLargestRingText(GetLargestRing(*m_pTestGraph, nSlot), chFan, LoadText(IDS_OPEN), LoadText(IDS_RING));
}

int CSimbrel1View::PrintZpdInputTable(CDC* pDC, int y, int L, CFont* pBoldFont, CFont* pRegularFont)
{
    const CTestSettingsDialog& settings = *m_pSettings;
    CFont* pOldFont = pDC->SelectObject(pBoldFont);
    y -= 3 * L;
    PrintText(pDC, kReportColumnWidth, kZpdLeft, y, LoadText(IDS_ZR_ZPD_INPUT_TABLE));

    const int nWithData = m_pTestGraph->GetDirectionsWithData();
    const bool bTwoBlocks = nWithData == 2;
    int nSingle = nWithData == 0 || nWithData == 1 ? nWithData : g_nCurrentDirection;
    if (nSingle != 1)
        nSingle = 0;
    const int nBlocks[2] = {bTwoBlocks ? 1 : nSingle, 0};
    const int nBlockCount = bTwoBlocks ? 2 : 1;
    const int nIndent = bTwoBlocks ? kZpdIndent : 0;
    const int w = 3 * L / 2;
    const CString strUnitPa = LoadText(IDS_UNIT_PA);
    for (int b = 0; b < nBlockCount; ++b) {
        const int nSlot = nBlocks[b];
        int x = kZpdLeft;
        pDC->SelectObject(pBoldFont);
        if (bTwoBlocks) {
            y -= L + w;
            PrintText(pDC, kReportColumnWidth, kZpdLeft, y, LoadText(nSlot == 1 ? IDS_DEPRESSURIZATION : IDS_PRESSURIZATION));
            x = kZpdLeft + kZpdIndent;
        }
        y -= w;
        pDC->SelectObject(pRegularFont);
        PrintText(pDC, kReportColumnWidth, x, y,
                  LoadText(IDS_ZR_BASELINE_STD_DEVIATION) +
                      FormatBaselineValue(AverageBaselineMarkerValue(nSlot), strUnitPa, LoadText(IDS_TR_NOT_AVAILABLE)));
        y -= w;

        pDC->SelectObject(pBoldFont);
        y += PrintTwoCellRow(pDC, nIndent, y, L, LoadText(IDS_ZR_ZONE_NAME), LoadText(IDS_ZR_ZONE_TO_OUTSIDE_AT_50));
        y -= L / 4;
        DrawPenLine(pDC, L, x, y, x + kZpdUnderline, y);

        pDC->SelectObject(pRegularFont);
        y -= L;
        for (int z = CTestSettingsDialog::kFirstZone; z <= CTestSettingsDialog::kLastZone; ++z) {
            if (!settings.m_nZoneActive[nSlot][z])
                continue;
            const int nRow = z - CTestSettingsDialog::kFirstZone;
            CString strValue;
            if (m_pZoneData != nullptr)
                strValue = bTwoBlocks ? m_pZoneData->m_strReportText[nSlot][nRow]
                                      : m_pZoneData->GetZoneToOutsideText(nRow, nSlot);
            strValue = TurnZoneToOutsideSign(strValue, settings.m_chDirectionLetter[nSlot]);
            y += PrintTwoCellRow(pDC, nIndent, y, L, ZoneLabel(settings, nSlot, z), strValue);
        }

        y -= L;
        PrintText(pDC, kReportColumnWidth, x, y, LoadText(IDS_ZR_BLOWER_DOOR_FLOW));
        CString strUnit = m_strFlowUnitName[nSlot];
        if (strUnit.IsEmpty())
            strUnit = GetReportFlowUnitLabel();
        const double dFlow = m_pResults != nullptr ? m_pResults->m_Results[nSlot][CTestResultsDialog::kFlowAtRef].m_dValue : 0.0;
        PrintText(pDC, kReportColumnWidth, kZpdValueX + nIndent, y, CString::FormatText(L"%0.0f ", dFlow) + strUnit);

        y -= L;
        PrintText(pDC, kReportColumnWidth, kZpdLeft + nIndent, y, LoadText(IDS_ZR_LARGEST_RING_USED));
        PrintText(pDC, kReportColumnWidth, kZpdValueX + nIndent, y, GetLargestRingText(nSlot));
    }
    pDC->SelectObject(pOldFont);
    return y;
}

void CSimbrel1View::PrintZonePressureChart(CDC* pDC)
{
    const int s = std::min(m_PageCaps.Get(pDC, HORZRES), m_PageCaps.Get(pDC, VERTRES));
    const CRect rc(static_cast<int>(0.18 * s), static_cast<int>(0.32 * s), static_cast<int>(0.18 * s + 0.53 * s),
                   static_cast<int>(0.32 * s + 0.26 * s));
    const int nOldMode = pDC->SetMapMode(MM_ISOTROPIC);
    ::SetWindowExtEx(pDC->GetSafeHdc(), s, s, nullptr);
    ::SetViewportExtEx(pDC->GetSafeHdc(), s, s, nullptr);
    pDC->SetViewportOrg(0, 0);
    if (m_pZoneData != nullptr) {
        m_pZoneData->m_Chart.m_bLegend = 1;
        m_pZoneData->m_Chart.Draw(pDC, rc);
    }
    m_bPrintingGraph = 0;
    pDC->SetMapMode(nOldMode);
}

CPoint CSimbrel1View::ComposeZoneDataReportPage(CDC* pDC, CPrintInfo* pInfo, CFont*, CFont* pRegularFont, int x, int y)
{
    const CTestSettingsDialog& settings = *m_pSettings;
    const CTestGraph1& graph = *m_pTestGraph;
    // Both slots with tests: slot 1's entries first, the tables after slot
    // 0's zones. One slot with tests (whichever the current direction is):
    // that slot alone, as the page plan counts it.
    const int nWithData = graph.GetDirectionsWithData();
    const int bBoth = nWithData == 2 ? 1 : 0;
    const int d = bBoth ? 0 : nWithData == 0 || nWithData == 1 ? nWithData : (g_nCurrentDirection == 1 ? 1 : 0);
    const int nCounts[2] = {graph.UsedEntries(0), graph.UsedEntries(1)};
    const std::vector<CZoneReportEntry> entries = GetZoneReportEntries(bBoth, d, nCounts);
    const int n = nWithData == -1 ? 0 : static_cast<int>(entries.size());

    CFont bold, regular;
    CreateReportFont(bold, kZoneFontHeight, FW_BOLD, false);
    CreateReportFont(regular, kZoneFontHeight, FW_NORMAL, false);
    CFont* pOldFont = pDC->SelectObject(pRegularFont);
    const int L = GetLineHeight(pDC);

    CRect rcHead(x, y, x + kReportColumnWidth, y - 15 * L);
    pDC->DrawText(m_strRunningHead, &rcHead, DT_CENTER | DT_NOPREFIX);
    y -= 2 * L;

    auto ZonesOf = [&](int nSlot) {
        std::vector<int> zones;
        for (int z = CTestSettingsDialog::kFirstZone; z <= CTestSettingsDialog::kLastZone; ++z)
            if (settings.m_nZoneActive[nSlot][z])
                zones.push_back(z);
        return zones;
    };
    auto DataTableHeading = [&]() {
        CString texts[kZoneColumns];
        texts[0] = LoadText(IDS_ZR_NOMINAL_BUILDING_PRESSURE);
        int k = 1;
        for (int z : ZonesOf(d))
            if (k < kZoneColumns)
                texts[k++] = L"\r\n" + ZoneLabel(settings, d, z) + L"\r\n" + LoadText(IDS_ZR_ZONE_PRESSURE_PA);
        y -= L;
        pDC->SelectObject(&bold);
        y += PrintZoneTableRow(pDC, y, L, texts);
        PrintRule(pDC, L, kReportOriginX, y);
        y -= L;
    };
    auto DataRows = [&](int nFirst, int nRows) {
        pDC->SelectObject(&regular);
        for (int k = nFirst; k < nFirst + nRows && k < n; ++k) {
            const CZoneReportEntry& e = entries[static_cast<size_t>(k)];
            CString texts[kZoneColumns];
            texts[0] = CString::FormatText(L"%3.2f", graph.m_Pavg[e.nSlot][e.nEntry]);
            int c = 1;
            for (int z : ZonesOf(e.nSlot))
                if (c < kZoneColumns)
                    texts[c++] = CString::FormatText(
                        L"%3.2f", graph.m_ZonePavg[e.nSlot][z - CTestSettingsDialog::kFirstZone][e.nEntry]);
            y += PrintZoneTableRow(pDC, y, L, texts);
        }
    };

    const int nPage = pInfo != nullptr ? static_cast<int>(pInfo->m_nCurPage) : 1;
    const CZoneReportPage page = GetZoneReportPage(nPage, n, CountZoneReportRows(d));
    if (nPage <= 1) {
        if (m_pZoneData != nullptr) {
            m_pZoneData->m_pTestGraph = m_pTestGraph;
            m_pZoneData->UpdateZoneData(0);
        }
        y = kZoneTableTop;
        PrintZonePressureChart(pDC);

        pDC->SelectObject(&bold);
        const CString strPa = LoadText(IDS_UNIT_PA);
        const CString heading[kZoneColumns] = {
            L"\r\n\r\n" + LoadText(IDS_ZR_ZONE_NAME),
            L"\r\n\r\n\r\n" + LoadText(IDS_ZR_REFERENCE),
            LoadText(IDS_ZR_BUILDING_TO_ZONE),
            LoadText(IDS_ZR_ZONE_TO_OUTSIDE),
            LoadText(IDS_ZR_ZONE_PRESSURE_ERROR) + L"\r\n(" + strPa + L")",
            L"\r\n\r\n" + LoadText(IDS_ZR_PRESSURE_RATIO),
            L"\r\n" + LoadText(IDS_ZR_PRESSURE_RATIO_ERROR),
        };
        y += PrintZoneTableRow(pDC, y, L, heading);
        PrintRule(pDC, L, kReportOriginX, y);
        y -= L;
        pDC->SelectObject(&regular);
        for (int z : ZonesOf(d)) {
            const int r = z - CTestSettingsDialog::kFirstZone;
            CString row[kZoneColumns] = {ZoneLabel(settings, d, z)};
            if (m_pZoneData != nullptr) {
                row[1] = m_pZoneData->GetReferenceText(r, d);
                row[2] = m_pZoneData->GetBuildingToZoneText(r, d);
                row[3] = m_pZoneData->GetZoneToOutsideText(r, d);
                row[4] = m_pZoneData->GetPressureErrorText(r, d);
                row[5] = m_pZoneData->GetZoneRatioText(r, d);
                row[6] = m_pZoneData->GetRatioErrorText(r, d);
            }
            y += PrintZoneTableRow(pDC, y, L, row);
        }
        DataTableHeading();
        DataRows(0, page.nRows);
    } else {
        if (page.bDataTable) {
            DataTableHeading();
            DataRows(page.nFirstRow, page.nRows);
        }
        if (page.bZpdTable)
            y = PrintZpdInputTable(pDC, y, L, &bold, &regular);
    }
    pDC->SelectObject(pOldFont);
    return CPoint(x, y);
}
