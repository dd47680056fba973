// The test report's page dispatch and its first page, the summary: the
// technician and customer blocks, the results at the reference pressure,
// the leakage areas and curve, the test standard block and the graph. The
// page only places texts the results page has formatted.
#include "report/TestReport.h"

#include <cmath>
#include <cstdlib>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "report/MarkupText.h"
#include "report/PrintFrame.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kLabelX = 960;
constexpr int kSymbolX = 1020;
constexpr int kSubLabelX = 1200;
constexpr int kColumnDepress = 5020;
constexpr int kColumnPress = 7020;
constexpr int kColumnAverage = 9220;
constexpr int kHeadingAverage = 9020;

CString Colon(UINT nID)
{
    return LoadText(nID) + L":";
}

int TextWidth(CDC* pDC, const CString& strText)
{
    return pDC->GetTextExtent(strText).cx;
}

CString Replaced(CString strText, const wchar_t* pszOld, const wchar_t* pszNew)
{
    strText.Replace(pszOld, pszNew);
    return strText;
}

// The unit text taken out of a result text, and the blanks around it.
CString WithoutUnit(CString strText, const CString& strUnit)
{
    if (!strUnit.IsEmpty())
        strText.Replace(strUnit, L"");
    strText.TrimLeft();
    strText.TrimRight();
    return strText;
}

// A block of lines broken only at "\n"; returns its height. DrawText gives
// the height with the sign of the mapping mode's y axis (negative in
// twips), so the size is taken.
int DrawBlock(CDC* pDC, int nLeft, int nRight, int y, int L, const CString& strText)
{
    CRect rc(nLeft, y, nRight, y - 15 * L);
    return std::abs(pDC->DrawText(strText, &rc, DT_NOPREFIX));
}

}  // namespace

CString BuildCustomerBlockText(const CBuildingInfoDialog& b)
{
    if (b.m_strCustomerName.IsEmpty())
        return L" ";
    const CString strLineA = b.m_strCustomerAddressLine2.IsEmpty() ? CString() : b.m_strCustomerAddressLine2 + L"\n";
    const CString strLineC = b.m_strCustomerCity.IsEmpty()
                                 ? CString()
                                 : b.m_strCustomerCity + L", " + b.m_strCustomerState + L" " + b.m_strCustomerZip;
    CString s = b.m_strCustomerName + L"\n";
    if (!b.m_strCustomerNameLine2.IsEmpty())
        s += b.m_strCustomerNameLine2 + L"\n";
    s += b.m_strCustomerAddress + L"\n" + strLineA + strLineC + L"\n";
    s += LoadText(IDS_REPORT_PHONE) + L" " + b.m_strCustomerPhone + L"\n";
    s += LoadText(IDS_REPORT_FAX) + L" " + b.m_strCustomerFax;
    if (!b.m_strCustomerEmail.IsEmpty())
        s += L"\n" + LoadText(IDS_REPORT_EMAIL) + L" " + b.m_strCustomerEmail;
    if (!b.m_strCustomerWebsite.IsEmpty())
        s += L"\n" + LoadText(IDS_REPORT_WEBSITE) + L" " + b.m_strCustomerWebsite;
    return s;
}

CString BuildBuildingBlockText(const CBuildingInfoDialog& b)
{
    if (b.m_strBuilding.IsEmpty() && b.m_strBuildingAddress.IsEmpty())
        return L" ";
    const CString strLineC = b.m_strBuildingCity.IsEmpty()
                                 ? CString()
                                 : b.m_strBuildingCity + L", " + b.m_strBuildingState + L" " + b.m_strBuildingZip;
    CString s = b.m_strBuilding + L"\n";
    if (!b.m_strBuilding.IsEmpty() && !b.m_strApartmentNumber.IsEmpty())
        s += b.m_strApartmentNumber + L"\n";
    if (!b.m_strBuildingAddress.IsEmpty())
        s += b.m_strBuildingAddress + L"\n";
    if (!b.m_strBuildingAddressLine2.IsEmpty())
        s += b.m_strBuildingAddressLine2 + L"\n";
    return s + strLineC;
}

void CSimbrel1View::ComposeTestReportPage(CDC* pDC, CPrintInfo* pInfo, CFont* pBoldFont, CFont* pRegularFont,
                                          CFont* pUnderlinedFont, int x, int y)
{
    for (int d = 0; d < 2; ++d)
        if (m_pTestGraph->m_CompletedTests[d] > 0)
            m_pTestGraph->NumberTestGroups(d);
    CFont* pOldFont = pDC->SelectObject(pRegularFont);
    const int L = GetLineHeight(pDC);
    const int S = L * 6 / 5;
    pDC->SetTextColor(RGB(0, 0, 0));
    const int nPage = static_cast<int>(pInfo->m_nCurPage);
    if (nPage == 1)
        PrintTestReportSummary(pDC, pBoldFont, pRegularFont, pUnderlinedFont, x, y, L + 10, S);
    else if (nPage == 2)
        PrintBuildingAndEquipmentPage(pDC, pBoldFont, pRegularFont, x, y, L);
    else if (nPage >= m_nFirstCommentsPage)
        PrintCommentsPage(pDC, nPage, x, y, L, pRegularFont, pBoldFont);
    else
        PrintTestDataPage(pDC, nPage, x, y, L, pRegularFont, pBoldFont);
    pDC->SelectObject(pOldFont);
}

CString CSimbrel1View::GetReportFlowUnitLabel() const
{
    static const UINT kFlowLabels[] = {IDS_UNIT_CFM, IDS_UNIT_M3H, IDS_UNIT_LS};
    return LoadText(kFlowLabels[m_nFlowUnit >= 0 && m_nFlowUnit < 3 ? m_nFlowUnit : 0]);
}

CString CSimbrel1View::GetAirChangeRateText() const
{
    const CString strPerHour = LoadText(IDS_UNIT_PER_HOUR);
    const CString strAch = LoadText(IDS_AIR_CHANGE_RATE);
    switch (m_pSettings->m_nStandard) {
    case 1: return m_pResults->ReplaceReferencePressure(LoadText(IDS_TR_N50)) + L": " + strPerHour + L" (" + strAch + L")";
    case 3: return m_pBuildingInfo->m_strVolume.IsEmpty() ? CString() : strPerHour + L" (" + strAch + L")";
    default: return m_pResults->ReplaceReferencePressure(L"ACH50");
    }
}

CPoint CSimbrel1View::PrintTestReportSummary(CDC* pDC, CFont* pBoldFont, CFont* pRegularFont, CFont* pUnderlinedFont,
                                             int x0, int y0, int L, int S)
{
    CTestResultsDialog& r = *m_pResults;
    const CBuildingInfoDialog& b = *m_pBuildingInfo;
    const int nStandard = m_pSettings->m_nStandard;
    const bool bIso = nStandard == 3;
    const bool bEn = nStandard == 1;
    const int nWithData = m_pTestGraph->GetDirectionsWithData();
    const bool bTwo = nWithData == 2;
    const CString strFlowUnit = GetReportFlowUnitLabel();
    const CString strAirflow = LoadText(IDS_TR_AIRFLOW);
    CMarkupText markup;
    const int W = MillimetresToTwips(m_PageCaps.Get(pDC, HORZSIZE));
    const int H = MillimetresToTwips(m_PageCaps.Get(pDC, VERTSIZE));

    // Technician, project, customer and building.
    PrintText(pDC, kReportColumnWidth, x0, y0, m_strDateLine + L"        " + m_strFileLine);
    int y = y0 - 5 * L / 4;
    const int nValueColumn =
        std::max(TextWidth(pDC, LoadText(IDS_TR_TECHNICIAN_COLON)), TextWidth(pDC, LoadText(IDS_BLDG_PROJECT_NUMBER))) +
        L + 720;
    PrintText(pDC, kReportColumnWidth, 720, y, Colon(IDS_BLDG_TECHNICIAN));
    PrintText(pDC, kReportColumnWidth, nValueColumn, y, b.m_strTechnician);
    y -= L;
    PrintText(pDC, kReportColumnWidth, 720, y, Colon(IDS_BLDG_PROJECT_NUMBER));
    PrintText(pDC, kReportColumnWidth, nValueColumn, y, b.m_strProjectName);
    y -= 2 * L;
    y += L / 2;
    const CString strCustomer = LoadText(IDS_TR_CUSTOMER);
    PrintText(pDC, kReportColumnWidth, 720, y, strCustomer);
    const int hCustomer =
        DrawBlock(pDC, 720 + TextWidth(pDC, strCustomer) + L, 10800, y, L, BuildCustomerBlockText(b));
    const CString strBuilding = LoadText(IDS_TR_BUILDING_ADDRESS);
    PrintText(pDC, kReportColumnWidth, 5400, y, strBuilding);
    const int hBuilding =
        DrawBlock(pDC, 5400 + TextWidth(pDC, strBuilding) + L, 15480, y, L, BuildBuildingBlockText(b));
    y -= std::max(hCustomer, hBuilding);
    PrintRule(pDC, L, 720, y);
    y -= L;

    auto Label = [&](int x, const CString& s) { PrintText(pDC, kReportColumnWidth, x, y, s); };
    auto Symbol = [&](const CString& strSymbol, const CString& strText) {
        PrintLabelAndSymbol(pDC, markup, pRegularFont, CRect(kSymbolX, y, kSymbolX + 2 * L, y - L),
                            r.ReplaceReferencePressure(strSymbol), strText);
    };
    auto Three = [&](const CString& s1, const CString& s0, const CString& sMean) {
        Label(kColumnDepress, s1);
        Label(kColumnPress, s0);
        Label(kColumnAverage, sMean);
    };
    auto Markup = [&](int x, const CString& s) { markup.DrawLine(pDC, CRect(x, y, x + 2 * L, y - L), pRegularFont, s, 0); };
    const CString strTitle = r.ReplaceReferencePressure(LoadText(IDS_TR_RESULTS_AT_50));
    const CString strV50 = r.ReplaceReferencePressure(LoadText(IDS_TR_V50)) + L": ";
    const CString strW50 = r.ReplaceReferencePressure(LoadText(IDS_TR_W50)) + L": ";
    const CString strQ50 = r.ReplaceReferencePressure(LoadText(IDS_TR_Q50)) + L": ";
    const CString strIsoFlow = strFlowUnit + L" (" + strAirflow + L")";
    const CString strIsoAch = b.m_strVolume.IsEmpty()
                                  ? CString()
                                  : LoadText(IDS_UNIT_PER_HOUR) + L" (" + LoadText(IDS_AIR_CHANGE_RATE) + L")";
    const bool bMetric = m_nLeakageUnit == 1;
    const CString strAreaUnit = bMetric ? L"m\u00B2" : L"ft\u00B2";
    const CString strRatioUnit = bMetric ? L"m\u00B2/m\u00B2" : L"ft\u00B2/ft\u00B2";
    int vx = 0;

    if (!bTwo) {
        pDC->SelectObject(pBoldFont);
        Label(720, strTitle);
        vx = TextWidth(pDC, strTitle) + 6 * L;
        y -= L;
        pDC->SelectObject(pRegularFont);
        const int e = bEn ? 400 : (bIso ? 2 * L : 0);
        const int xv = vx + e;
        // Row 1, flow.
        if (bIso)
            Symbol(L"q \\sub50 \\reg:", strIsoFlow);
        else if (bEn)
            Label(kLabelX, strV50 + strFlowUnit + L" " + strAirflow);
        else
            Label(kLabelX, r.MakePressureLabel(strFlowUnit) + L" " + strAirflow);
        Label(xv, r.m_strFlowAtRefValue);
        y -= S;
        // Row 2, air change rate.
        if (bIso)
            Symbol(L"n \\sub50 \\reg:", strIsoAch);
        else
            Label(kLabelX, bEn ? CutLabelAfterColon(GetAirChangeRateText(), r.m_strAchValue) : GetAirChangeRateText());
        Label(xv, r.m_strAchValue);
        y -= S;
        // Row 3, flow per floor area.
        if (bIso)
            Symbol(L"q \\subF50 \\reg:", r.m_strFlowPerFloorUnit);
        else if (bEn)
            Label(930, CutLabelAfterColon(strW50 + r.m_strFlowPerFloorUnit, r.m_strFlowPerFloorValue));
        else
            Label(kLabelX, r.m_strFlowPerFloorUnit);
        Label(xv, r.m_strFlowPerFloorValue);
        y -= S;
        // Row 4, flow per envelope area.
        if (bIso)
            Symbol(L"q \\subE50 \\reg:", r.m_strFlowPerEnvelopeUnit);
        else if (bEn)
            Label(kLabelX, CutLabelAfterColon(strQ50 + r.m_strFlowPerEnvelopeUnit, r.m_strFlowPerEnvelopeValue));
        else
            Label(kLabelX, r.m_strFlowPerEnvelopeUnit);
        Label(xv, r.m_strFlowPerEnvelopeValue);
        y -= 3 * L / 2;

        pDC->SelectObject(pBoldFont);
        Label(720, LoadText(IDS_TR_LEAKAGE_AREAS));
        pDC->SelectObject(pRegularFont);
        if (bIso) {
            y -= S;
            Symbol(L"ELA  \\sub50 \\reg:", strAreaUnit);
            Markup(xv, WithoutUnit(r.m_strEla, strAreaUnit));
            y -= S;
            Symbol(L"ELA  \\subF50 \\reg:", b.m_strFloorArea.IsEmpty() ? CString() : strRatioUnit);
            Markup(xv, WithoutUnit(r.m_strIsoAreaPerFloor, strRatioUnit));
            y -= S;
            Symbol(L"ELA  \\subE50 \\reg:", b.m_strSurfaceArea.IsEmpty() ? CString() : strRatioUnit);
            Markup(xv, WithoutUnit(r.m_strIsoAreaPerEnvelope, strRatioUnit));
        } else {
            Label(vx, r.m_strEqla);
            y -= L;
            Label(vx, r.m_strEla);
        }

        y -= 2 * L;
        y += L / 2;
        pDC->SelectObject(pBoldFont);
        Label(720, LoadText(IDS_TR_LEAKAGE_CURVE));
        pDC->SelectObject(pRegularFont);
        if (bIso) {
            Markup(vx, Replaced(r.m_strCenv, L"Cenv", L"C \\subenv \\reg"));
            y -= S;
            Markup(vx, Replaced(r.m_strCl, L"CL", L"C \\subL \\reg"));
            y -= S;
            Label(vx, r.m_strN);
            y -= S;
            Markup(vx, Replaced(Replaced(r.m_strR2, L"r\u00B2", L"r \\super2 \\reg"), L"r2", L"r \\super2 \\reg"));
        } else {
            if (bEn) {
                Label(vx, r.m_strCenv);
                y -= L;
                Label(vx, r.m_strCl);
            } else {
                Label(vx, r.m_strC);
            }
            y -= S;
            Label(vx, r.m_strN);
            y -= S;
            Label(vx, r.m_strR);
        }
        y -= 2 * L;
        y += L / 2;
        y = PrintTestStandardBlock(pDC, 720, y, L, vx, pBoldFont, pRegularFont).y;
        y -= L / 2;
    } else {
        pDC->SelectObject(pUnderlinedFont);
        Label(kColumnDepress, LoadText(IDS_DEPRESSURIZATION));
        Label(kColumnPress, LoadText(IDS_PRESSURIZATION));
        Label(kHeadingAverage, LoadText(IDS_AVERAGE));
        pDC->SelectObject(pRegularFont);
        y -= L;
        y += L / 2;
        pDC->SelectObject(pBoldFont);
        Label(720, strTitle);
        y -= S;
        pDC->SelectObject(pRegularFont);
        // Row 1, flow.
        if (bIso)
            Symbol(L"q \\sub50 \\reg:", strIsoFlow);
        else if (bEn)
            Label(kLabelX, strV50 + r.MakePressureLabel(strFlowUnit) + L" (" + strAirflow + L")");
        else
            Label(kLabelX, strFlowUnit + L" (" + strAirflow + L")");
        Three(r.m_strTabFlowSlot1, r.m_strTabFlowSlot0, r.m_strTabFlowMean);
        y -= S;
        // Row 2, air change rate.
        if (bIso)
            Symbol(L"n \\sub50 \\reg:", strIsoAch);
        else
            Label(kLabelX, bEn ? CutLabelAfterColon(GetAirChangeRateText(), r.m_strTabAchSlot1) : GetAirChangeRateText());
        Three(r.m_strTabAchSlot1, r.m_strTabAchSlot0, r.m_strTabAchMean);
        y -= S;
        // Rows 3 and 4, per area.
        if (bIso)
            Symbol(L"q \\subF50 \\reg:", r.m_strTabFloorUnit);
        else
            Label(bEn ? 930 : kLabelX, bEn ? strW50 + r.m_strTabFloorUnit : r.m_strTabFloorUnit);
        Three(r.m_strTabFloorSlot1, r.m_strTabFloorSlot0, r.m_strTabFloorMean);
        y -= S;
        if (bIso)
            Symbol(L"q \\subE50 \\reg:", r.m_strTabEnvelopeUnit);
        else
            Label(kLabelX, bEn ? strQ50 + r.m_strTabEnvelopeUnit : r.m_strTabEnvelopeUnit);
        Three(r.m_strTabEnvelopeSlot1, r.m_strTabEnvelopeSlot0, r.m_strTabEnvelopeMean);
        y -= 3 * L / 2;

        pDC->SelectObject(pBoldFont);
        Label(720, LoadText(IDS_TR_LEAKAGE_AREAS));
        pDC->SelectObject(pRegularFont);
        if (bIso) {
            auto MarkupThree = [&](const CString& s1, const CString& s0, const CString& sMean) {
                Markup(kColumnDepress, s1);
                Markup(kColumnPress, s0);
                Markup(kColumnAverage, sMean);
            };
            y -= S;
            Symbol(L"ELA  \\sub50 \\reg:", strAreaUnit);
            MarkupThree(r.m_strTabEqlaSlot1, r.m_strTabEqlaSlot0, r.m_strTabEqlaMean);
            y -= S;
            Symbol(L"ELA  \\subF50 \\reg:", b.m_strFloorArea.IsEmpty() ? CString() : strRatioUnit);
            MarkupThree(r.m_strTabIsoPerFloorSlot1, r.m_strTabIsoPerFloorSlot0, r.m_strTabIsoPerFloorMean);
            y -= S;
            Symbol(L"ELA  \\subE50 \\reg:", b.m_strSurfaceArea.IsEmpty() ? CString() : strRatioUnit);
            MarkupThree(r.m_strTabIsoPerEnvSlot1, r.m_strTabIsoPerEnvSlot0, r.m_strTabIsoPerEnvMean);
        } else {
            y -= L;
            Label(kLabelX, r.m_strTabEqlaLabel);
            Three(r.m_strTabEqlaSlot1, r.m_strTabEqlaSlot0, r.m_strTabEqlaMean);
            y -= L;
            Label(kSubLabelX, r.m_strTabEqlaPerEnvLabel);
            Three(r.m_strTabEqlaPerEnvSlot1, r.m_strTabEqlaPerEnvSlot0, r.m_strTabEqlaPerEnvMean);
            y -= L;
            Label(kLabelX, r.m_strTabElaLabel);
            Three(r.m_strTabElaSlot1, r.m_strTabElaSlot0, r.m_strTabElaMean);
            y -= L;
            Label(kSubLabelX, r.m_strTabElaPerEnvLabel);
            Three(r.m_strTabElaPerEnvSlot1, r.m_strTabElaPerEnvSlot0, r.m_strTabElaPerEnvMean);
        }

        y -= 3 * L / 2;
        pDC->SelectObject(pBoldFont);
        Label(720, LoadText(IDS_TR_LEAKAGE_CURVE));
        y -= S;
        pDC->SelectObject(pRegularFont);
        const bool bAstm = nStandard == 2;
        if (bEn || bIso) {
            if (bIso)
                Markup(kLabelX, Replaced(r.m_strTabCenvLabel, L"Cenv", L"C \\subenv \\reg"));
            else
                Label(kLabelX, r.m_strTabCenvLabel);
            Label(kColumnDepress, r.m_strTabCenvSlot1);
            Label(kColumnPress, r.m_strTabCenvSlot0);
            y -= S;
        }
        if (bIso)
            Markup(kLabelX, Replaced(r.m_strTabCLabel, L"CL", L"C \\subL \\reg"));
        else
            Label(kLabelX, r.m_strTabCLabel);
        Label(kColumnDepress, r.m_strTabCSlot1);
        Label(kColumnPress, r.m_strTabCSlot0);
        if (bAstm)
            Label(kColumnAverage, r.m_strTabCMean);
        y -= S;
        Label(kLabelX, r.m_strTabNLabel);
        Label(kColumnDepress, r.m_strTabNSlot1);
        Label(kColumnPress, r.m_strTabNSlot0);
        if (bAstm)
            Label(kColumnAverage, r.m_strTabNMean);
        y -= S;
        if (bIso)
            Markup(kLabelX, r.m_strTabR2Label);
        else
            Label(kLabelX, r.m_strTabRLabel);
        Label(kColumnDepress, r.m_strTabRSlot1);
        Label(kColumnPress, r.m_strTabRSlot0);
        y -= 3 * L / 2;
        y = PrintTestStandardBlock(pDC, 720, y, L, kColumnDepress, pBoldFont, pRegularFont).y;
    }

    // The graph under the rule.
    PrintRule(pDC, L, 720, y);
    y -= L / 2;
    const CRect rcGraph(720, y, 14 * W / 16, -H);
    PrintGraph(pDC, TwipsToDeviceRect(pDC, rcGraph));
    return CPoint(720, y);
}

CPoint CSimbrel1View::PrintTestStandardBlock(CDC* pDC, int, int y, int L, int v, CFont*, CFont*)
{
    const int nStandard = m_pSettings->m_nStandard;
    if (nStandard == 3)
        v -= 1000;
    CString strStandard;
    switch (nStandard) {
    case 0: strStandard = LoadText(IDS_TR_CGSB); break;
    case 1: strStandard = LoadText(IDS_TR_EN13829); break;
    case 2: strStandard = LoadText(IDS_TR_E779) + L"-10"; break;
    case 3: strStandard = L"ISO 9972"; break;
    default: break;
    }
    PrintText(pDC, kReportColumnWidth, 720, y, Colon(IDS_TEST_STANDARD));
    PrintText(pDC, kReportColumnWidth, v, y, strStandard);
    y -= L;

    const int nWithData = m_pTestGraph->GetDirectionsWithData();
    CString strMode;
    if (nWithData == 2) {
        strMode = LoadText(IDS_DEPRESSURIZATION) + L" " + LoadText(IDS_TR_AND) + L" " + LoadText(IDS_PRESSURIZATION);
    } else {
        const int d = nWithData == -1 ? g_nCurrentDirection : nWithData;
        if (d == 0 || d == 1)
            strMode = GetTestDirectionText(m_pSettings->m_chDirectionLetter[d]);
    }
    PrintText(pDC, kReportColumnWidth, 720, y, Colon(IDS_TR_TEST_MODE));
    PrintText(pDC, kReportColumnWidth, v, y, strMode);
    y -= L;

    if (nStandard == 1 || nStandard == 3) {
        CString strMethod, strRegulation, strType, strLimit, strUnit;
        if (nStandard == 3) {
            CISO9972DataEntryDialog& iso = *m_pIso9972;
            strMethod = iso.m_strIsoTestMethod;
            strRegulation = iso.m_strRegulation;
            strType = iso.m_strLimitValueName;
            strLimit = iso.m_strLimitValue;
            strUnit = iso.GetLimitValueUnits();
        } else {
            CEN13829DataEntryDialog& en = *m_pEn13829;
            strMethod = en.m_nTestMethod == 1 ? L"A" : (en.m_nTestMethod == 2 ? L"B" : L"");
            strRegulation = en.m_strRegulation;
            strType = en.m_strLimitValueName;
            strLimit = en.m_strLimitValue;
            strUnit = en.GetLimitValueUnits();
        }
        PrintText(pDC, kReportColumnWidth, 720, y, Colon(IDS_TR_TEST_METHOD_TYPE));
        PrintText(pDC, kReportColumnWidth, v, y, strMethod);
        y -= L;
        PrintText(pDC, kReportColumnWidth, 720, y, Colon(nStandard == 3 ? IDS_TR_PURPOSE_OF_TEST : IDS_TR_REGULATION));
        const CString strLine = !strType.IsEmpty() && !strLimit.IsEmpty()
                                    ? strRegulation + L"    " + strType + L" \u2264 " + strLimit + L" " + strUnit
                                    : strRegulation;
        PrintText(pDC, kReportColumnWidth, v, y, strLine);
        y -= L;
    }
    return CPoint(720, y);
}
