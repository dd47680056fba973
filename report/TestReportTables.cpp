// Page 2 of the test report: the building table of the standard and the
// equipment table.
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "comm/DeviceInfoStrings.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "report/PrintFrame.h"
#include "report/TextTable.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

CString BoldWithUnit(UINT nID, const CString& strUnit)
{
    return CString::FormatText(L"\\bold  %s (%s)", LoadText(nID).GetString(), strUnit.GetString());
}

CString Bold(UINT nID)
{
    return CString::FormatText(L"\\bold  %s", LoadText(nID).GetString());
}

// The table frame both tables of the page share.
void PrepareTable(CTextTable& table, int y, int nRows, int nColumns, CFont* pBoldFont, CFont* pRegularFont)
{
    table.m_rcArea = CRect(720, y, 720 + 10200, y - 1600);
    table.m_nRows = nRows;
    table.m_nColumns = nColumns;
    table.m_pTitleFont = pBoldFont;
    table.m_pCellFont = pRegularFont;
    table.Allocate();
    table.SetColumnAlignment(0, 0, 0);
}

}  // namespace

CString CSimbrel1View::FormatIsoDimensionLabel(UINT nID, const CString& strSymbol, const CString& strUnit,
                                               int bNational)
{
    const CString strLabel = LoadText(nID) + L", " + strSymbol + L" (" + strUnit + L")    (" +
                             LoadText(bNational ? IDS_TR_ACCORDING_TO_NATIONAL : IDS_TR_ACCORDING_TO_ISO) + L")";
    return CString::FormatText(L"\\bold  %s", strLabel.GetString());
}

CPoint CSimbrel1View::PrintBuildingAndEquipmentPage(CDC* pDC, CFont* pBoldFont, CFont* pRegularFont, int, int y,
                                                    int L)
{
    const CBuildingInfoDialog& b = *m_pBuildingInfo;
    PrintText(pDC, kReportColumnWidth, 720, y, m_strRunningHead);
    y -= L;
    PrintRule(pDC, L, 720, y);
    const int L2 = 4 * L / 7;
    y -= 3 * L2;
    CFont* pOld = pDC->SelectObject(pBoldFont);
    PrintText(pDC, kReportColumnWidth, 4320, y, LoadText(IDS_BLDG_BUILDING_INFO));
    pDC->SelectObject(pOld);
    y -= 2 * L2;

    const int nStandard = m_pSettings->m_nStandard;
    CTextTable table;
    int nBottom = y;
    if (nStandard == 0 || nStandard == 2) {
        const int nRows = nStandard == 0 ? 4 : 5;
        PrepareTable(table, y, nRows, 2, pBoldFont, pRegularFont);
        table.m_dColumnFraction[0] = 0.65;
        table.m_dColumnFraction[1] = 0.35;
        int r = 0;
        auto Row = [&](const CString& strLabel, const CString& strValue) {
            table.m_dRowFactor[r] = 1.2;
            table.m_pRowTexts[r][0] = strLabel;
            table.m_pRowTexts[r][1] = strValue;
            ++r;
        };
        Row(BoldWithUnit(IDS_BLDG_VOLUME, b.m_strVolumeUnit), b.m_strVolume);
        Row(BoldWithUnit(IDS_TR_SURFACE_AREA, b.m_strSurfaceAreaUnit), b.m_strSurfaceArea);
        Row(BoldWithUnit(IDS_TR_FLOOR_AREA, b.m_strFloorAreaUnit), b.m_strFloorArea);
        if (nStandard == 2)
            Row(BoldWithUnit(IDS_BLDG_HEIGHT, b.m_strLengthUnit), b.m_strHeight);
        Row(Bold(IDS_BLDG_YEAR), b.m_strYearOfConstruction);
        nBottom = table.Draw(pDC);
    } else if (nStandard == 1 || nStandard == 3) {
        const bool bIso = nStandard == 3;
        CString strHeating, strCooling, strVentilation;
        int nVentilation = 0, nExposure = 0, nClass = 0;
        if (bIso) {
            const CISO9972DataEntryDialog& p = *m_pIso9972;
            strHeating = p.m_strHeatingType, strCooling = p.m_strAirConditioningType;
            strVentilation = p.m_strVentilationType, nVentilation = p.m_nVentilationSelection;
            nExposure = p.m_nWindExposure, nClass = p.m_nWindClass;
        } else {
            const CEN13829DataEntryDialog& p = *m_pEn13829;
            strHeating = p.m_strHeatingType, strCooling = p.m_strAirConditioningType;
            strVentilation = p.m_strVentilationType, nVentilation = p.m_nVentilationSelection;
            nExposure = p.m_nWindExposure, nClass = p.m_nWindClass;
        }
        PrepareTable(table, y, 11, 2, pBoldFont, pRegularFont);
        table.m_dColumnFraction[0] = 0.6;
        table.m_dColumnFraction[1] = 0.4;
        int r = 0;
        auto Row = [&](const CString& strLabel, const CString& strValue) {
            table.m_dRowFactor[r] = 1.1;
            table.m_pRowTexts[r][0] = strLabel;
            table.m_pRowTexts[r][1] = strValue;
            ++r;
        };
        if (bIso) {
            Row(FormatIsoDimensionLabel(IDS_BLDG_INTERNAL_VOLUME, L"V", b.m_strVolumeUnit, b.m_bCountrySpecificVolume),
                b.m_strVolume);
            Row(FormatIsoDimensionLabel(IDS_BLDG_NET_FLOOR_AREA, L"A\\sub F\\reg", b.m_strFloorAreaUnit,
                                        b.m_bCountrySpecificFloorArea),
                b.m_strFloorArea);
            Row(FormatIsoDimensionLabel(IDS_ENVELOPE_AREA, L"A\\sub E\\reg", b.m_strSurfaceAreaUnit,
                                        b.m_bCountrySpecificSurfaceArea),
                b.m_strSurfaceArea);
        } else {
            Row(BoldWithUnit(IDS_BLDG_VOLUME, b.m_strVolumeUnit), b.m_strVolume);
            Row(BoldWithUnit(IDS_TR_FLOOR_AREA, b.m_strFloorAreaUnit), b.m_strFloorArea);
            Row(BoldWithUnit(IDS_TR_SURFACE_AREA, b.m_strSurfaceAreaUnit), b.m_strSurfaceArea);
        }
        Row(BoldWithUnit(IDS_BLDG_HEIGHT, b.m_strLengthUnit), b.m_strHeight);
        Row(CString::FormatText(L"\\bold  %s (%%)", LoadText(IDS_TR_UNCERTAINTY).GetString()), b.m_strUncertainty);
        Row(Bold(IDS_BLDG_YEAR), b.m_strYearOfConstruction);
        Row(Bold(IDS_TR_HEATING), strHeating);
        Row(Bold(IDS_TR_AIR_CONDITIONING), strCooling);
        Row(Bold(IDS_TR_VENTILATION),
            strVentilation.IsEmpty() || nVentilation == 0 ? LoadText(IDS_NONE) : strVentilation);
        Row(Bold(IDS_TR_WIND_EXPOSURE),
            LoadText(nExposure >= 0 && nExposure <= 2 ? IDS_TR_EXPOSURE_PROTECTED + nExposure : IDS_TR_EXPOSURE_PROTECTED));
        Row(Bold(IDS_TR_WIND_CLASS), LoadText(nClass >= 0 && nClass <= 8 ? IDS_TR_WIND_CALM + nClass : IDS_TR_WIND_CALM));
        nBottom = table.Draw(pDC);
    }
    y = nBottom - 2 * L2;
    return PrintEquipmentSection(pDC, 720, y, pRegularFont, pBoldFont);
}

CPoint CSimbrel1View::PrintEquipmentSection(CDC* pDC, int, int y, CFont* pRegularFont, CFont* pBoldFont)
{
    static const UINT kFanModels[] = {IDS_FAN_TYPE_R_110V, IDS_FAN_TYPE_R_230V, IDS_FAN_TYPE_S_230V, IDS_FAN_AIRVANE_A,
                                      IDS_FAN_AIRVANE_B};
    const CEquipmentInfoDialogIntl& eq = *m_pEquipment;
    const CTestGraph1& g = *m_pTestGraph;
    const int d = g_nCurrentDirection == 1 ? 1 : 0;
    // A manual test lists the gauge of the equipment page; the store's
    // snapshots stay as they are, so a later save writes every device.
    const bool bManual = m_pSettings->m_chMethodLetter[d] == L'M';
    const int nSnapshots = std::clamp(g.m_DevicesCaptured, 0, 4);
    const int nGauges = bManual ? 1 : nSnapshots;

    CTextTable table;
    table.m_rcArea = CRect(720, y, 720 + 10200, y - 1600);
    table.m_nRows = nGauges + 2;
    table.m_nColumns = 5;
    table.m_pTitleFont = pBoldFont;
    table.m_pCellFont = pRegularFont;
    table.m_strTitle = LoadText(IDS_TR_EQUIPMENT_INFORMATION);
    table.Allocate();
    table.SetColumnAlignment(0, 0, 0);
    const double kShares[5] = {0.2, 0.22, 0.18, 0.16, 0.24};
    for (int c = 0; c < 5; ++c)
        table.m_dColumnFraction[c] = kShares[c];
    for (int r = 0; r < table.m_nRows && r < CTextTable::kMaxRows; ++r)
        table.m_dRowFactor[r] = r == 0 ? 1.3 : 1.1;
    const UINT kHeadings[5] = {IDS_TR_TYPE, IDS_TR_MANUFACTURER, IDS_TR_MODEL, IDS_TR_SERIAL_NUMBER,
                               IDS_FANCAL_DATE_LABEL};
    for (int c = 0; c < 5; ++c)
        table.SetCell(0, c, kHeadings[c], CString(), 1, 1, 0);

    CString strFanDate = m_pFanCalibration->m_strCalDateLocal;
    if (strFanDate.IsEmpty() && !m_pFanCalibration->AnyCustomForCurrentFan())
        strFanDate = L"-";
    const int nFan = eq.m_nFanIndex >= 0 && eq.m_nFanIndex < 5 ? eq.m_nFanIndex : 0;
    table.SetCell(1, 0, IDS_TR_FAN, CString(), 1, 0, 2);
    const CString strFanCells[4] = {L"Quillmar", LoadText(kFanModels[nFan]), eq.m_strFanSerial, strFanDate};
    for (int c = 1; c < 5; ++c)
        table.SetCell(1, c, 0, strFanCells[c - 1], 0, 1, 0);
    for (int i = 0; i < nGauges; ++i) {
        const int r = 2 + i;
        table.SetCell(r, 0, IDS_TR_MICROMANOMETER, CString(), 1, 0, 2);
        CString strModel, strSerial, strDate;
        if (bManual) {
            strModel = eq.m_strGaugeModel;
            strSerial = eq.m_strGaugeSerial;
            strDate = eq.m_strCalDateLocal;
        } else {
            const CDeviceInfoStrings& info = g.m_DeviceInfo[i];
            strModel = info.m_strText[CDeviceInfoStrings::kModel];
            strSerial = info.m_strText[CDeviceInfoStrings::kSerialNumber];
            strDate = info.m_strText[CDeviceInfoStrings::kCalDateShort];
        }
        const CString strCells[4] = {L"Quillmar", strModel, strSerial, strDate};
        for (int c = 1; c < 5; ++c)
            table.SetCell(r, c, 0, strCells[c - 1], 0, 1, 0);
    }
    return CPoint(720, table.Draw(pDC));
}
