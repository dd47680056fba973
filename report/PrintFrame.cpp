#include "report/PrintFrame.h"

#include <algorithm>

#include "pages/BusinessInfoDialog.h"
#include "report/MarkupText.h"
#include "res/resource.h"

int GetLineHeight(CDC* pDC)
{
    TEXTMETRICW tm{};
    pDC->GetTextMetrics(&tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

int GetBodyFontHeight(int bBothSlotsHaveTests, int nStandard)
{
    return bBothSlotsHaveTests && nStandard == 1 ? kSmallBodyFontHeight : kBodyFontHeight;
}

bool CreateReportFont(CFont& font, int nHeight, int nWeight, bool bUnderline)
{
    return font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, bUnderline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           0, FF_SWISS, L"Arial");
}

CTestReportPlan PlanTestReport(const CTestReportPlanInput& input)
{
    CTestReportPlan plan;
    int nPages = 2;
    int nTests[2];
    for (int d = 0; d < 2; ++d) {
        nTests[d] = std::clamp(input.nCompletedTests[d], 0, kMaxReportTests);
        nPages += nTests[d];
    }
    for (int d = 1; d >= 0; --d) {
        for (int t = 0; t < nTests[d]; ++t) {
            int nRows = input.nRowCount[d][t];
            if (input.nStandard != 1)
                nRows += input.nDeviations[d][t];
            plan.bTestOnTwoPages[d][t] = nRows > kTestRowsOnOnePage ? 1 : 0;
            nPages += plan.bTestOnTwoPages[d][t];
        }
    }
    ++nPages;
    plan.nFirstCommentsPage = nPages;
    // Every line gets a place: as many comments pages as the lines need.
    int nLines = std::max(input.nCommentLines, 0);
    plan.commentLinesOnPage.push_back(0);
    for (size_t k = 0; nLines > 0; ++k) {
        if (k == plan.commentLinesOnPage.size())
            plan.commentLinesOnPage.push_back(0);
        if (nLines > kCommentLinesPerPage) {
            plan.commentLinesOnPage[k] = kCommentLinesPerPage;
            nLines -= kCommentLinesPerPage;
            ++nPages;
        } else {
            plan.commentLinesOnPage[k] = nLines;
            nLines = 0;
        }
    }
    plan.nPages = nPages;
    return plan;
}

int PlanZoneDataReport(int nEntries, int nTableLines)
{
    int nPages = 1;
    int r = nEntries - 12;
    while (r > 0) {
        ++nPages;
        r -= 40;
    }
    // -r rows are free on the last page with data; the table goes there only
    // when it has fewer lines, and never on page 1.
    if (r >= -nTableLines)
        ++nPages;
    return nPages;
}

int GetZoneReportTableLines(int nActiveZones, int bBothSlotsHaveTests)
{
    return bBothSlotsHaveTests ? 2 * (nActiveZones + 8) + 3 : nActiveZones + 11;
}

bool IsReportCommand(UINT nID)
{
    return GetReportCommandType(nID) != kReportNone;
}

int GetReportCommandType(UINT nID)
{
    switch (nID) {
    case ID_PRINT_TEST_REPORT:
    case ID_PREVIEW_TEST_REPORT:
    case ID_PDF_TEST_REPORT: return kReportTest;
    case ID_PRINT_GRAPH:
    case ID_PREVIEW_GRAPH:
    case ID_PDF_GRAPH: return kReportGraph;
    case ID_PRINT_ZONE_DATA_REPORT:
    case ID_PREVIEW_ZONE_DATA_REPORT:
    case ID_PDF_ZONE_DATA_REPORT: return kReportZoneData;
    default: return kReportNone;
    }
}

int GetReportCommandAction(UINT nID)
{
    switch (nID) {
    case ID_PRINT_TEST_REPORT:
    case ID_PRINT_GRAPH:
    case ID_PRINT_ZONE_DATA_REPORT: return 1;
    case ID_PREVIEW_TEST_REPORT:
    case ID_PREVIEW_GRAPH:
    case ID_PREVIEW_ZONE_DATA_REPORT: return 2;
    case ID_PDF_TEST_REPORT:
    case ID_PDF_GRAPH:
    case ID_PDF_ZONE_DATA_REPORT: return 3;
    default: return 0;
    }
}

bool IsReportCommandEnabled(UINT nID, const CReportCommandInput& input)
{
    const int nType = GetReportCommandType(nID);
    if (nType == kReportNone)
        return false;
    const bool bStandard = input.bTestOpen && input.nDirectionsWithData != -1 && !input.bTestInProgress;
    bool bEnabled = bStandard;
    if (nType == kReportZoneData) {
        int d = input.nDirectionsWithData;
        if (d == 2 || d == -1)
            d = input.nCurrentDirection;
        const wchar_t chMethod = d >= 0 && d < 2 ? input.chMethod[d] : 0;
        bEnabled = bStandard && input.bZonal && (chMethod == L'A' || chMethod == L'S');
    }
    if (GetReportCommandAction(nID) == 3)
        bEnabled = bEnabled && input.bPdfDriverAvailable;
    return bEnabled;
}

std::vector<CString> GetLetterheadLines(const CBusinessInfoDialog& b)
{
    std::vector<CString> lines;
    if (!b.m_strBusinessName.IsEmpty())
        lines.push_back(b.m_strBusinessName);
    if (!b.m_strNameLine2.IsEmpty())
        lines.push_back(b.m_strNameLine2);
    lines.push_back(b.m_strAddress);
    if (!b.m_strAddressLine2.IsEmpty())
        lines.push_back(b.m_strAddressLine2);
    lines.push_back(b.m_strCity.IsEmpty() ? CString(L" ") : b.m_strCity + L", " + b.m_strState + L" " + b.m_strZip);

    CString strPhone;
    if (!b.m_strPhone.IsEmpty())
        strPhone = LoadText(IDS_REPORT_PHONE) + L" " + b.m_strPhone;
    if (!b.m_strFax.IsEmpty()) {
        if (!strPhone.IsEmpty())
            strPhone += L" ";
        strPhone += LoadText(IDS_REPORT_FAX) + L" " + b.m_strFax;
    }
    if (!strPhone.IsEmpty())
        lines.push_back(strPhone);

    CString strElectronic;
    if (!b.m_strEmail.IsEmpty())
        strElectronic = LoadText(IDS_REPORT_EMAIL) + L" " + b.m_strEmail;
    if (!b.m_strWebsite.IsEmpty()) {
        if (!strElectronic.IsEmpty())
            strElectronic += L"   ";
        strElectronic += LoadText(IDS_REPORT_WEBSITE) + L" " + b.m_strWebsite;
    }
    if (!strElectronic.IsEmpty())
        lines.push_back(strElectronic);
    return lines;
}

CString GetLaterPageTitle(const CString& strTitle, int nPage, int nTotalPages)
{
    CString strPages;
    strPages.Format(L"%d of %d", nPage, nTotalPages);
    return strTitle + L"   " + LoadText(IDS_REPORT_PAGE) + L" " + strPages;
}

int MillimetresToTwips(int nMillimetres)
{
    return static_cast<int>(nMillimetres / 25.4 * 1440.0);
}

CSize PrintReportText(CDC* pDC, int nWidth, int x, int y, const CString& strText)
{
    CRect rc(x, y, x + nWidth, y - 1);
    pDC->DrawText(strText, &rc, DT_NOCLIP | DT_EXPANDTABS | DT_NOPREFIX);
    return pDC->GetTextExtent(strText);
}

void DrawReportPenLine(CDC* pDC, int nThickness, int x1, int y1, int x2, int y2)
{
    const int nWidth = std::max(1, static_cast<int>(nThickness / 10.0 + 0.5));
    CPen pen;
    pen.CreatePen(PS_SOLID, nWidth, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    pDC->SelectObject(pOldPen);
}

void PrintReportRule(CDC* pDC, int nLineHeight, int x, int y)
{
    DrawReportPenLine(pDC, nLineHeight, x, y - nLineHeight / 2, x + kReportColumnWidth, y - nLineHeight / 2);
}

CRect TwipsToDevice(const CRect& rcTwips, int nHorzRes, int nPageWidthTwips)
{
    if (nPageWidthTwips <= 0)
        return CRect(0, 0, 0, 0);
    const double s = static_cast<double>(nHorzRes) / nPageWidthTwips;
    return CRect(static_cast<int>(rcTwips.left * s), -static_cast<int>(rcTwips.top * s),
                 static_cast<int>(rcTwips.right * s), -static_cast<int>(rcTwips.bottom * s));
}

void PrintReportLabelAndSymbol(CDC* pDC, CMarkupText& renderer, CFont* pFont, const CRect& rc,
                               const CString& strLabel, const CString& strSymbol)
{
    const int h = GetLineHeight(pDC);
    renderer.DrawLine(pDC, rc, pFont, strLabel, CMarkupText::kAlignRight);
    const CRect rcSymbol(rc.right + h / 2, rc.top, rc.right + h / 2 + h, rc.bottom);
    renderer.DrawLine(pDC, rcSymbol, pFont, strSymbol, CMarkupText::kAlignLeft);
}

CString CutLabelAfterColon(const CString& strLabel, const CString& strValue)
{
    if (!strValue.IsEmpty())
        return strLabel;
    const int n = strLabel.Find(L':');
    return n < 0 ? strLabel : strLabel.Left(n + 1);
}

CString GetTestDirectionText(wchar_t chLetter)
{
    if (chLetter == L'D')
        return LoadText(IDS_DEPRESSURIZATION);
    if (chLetter == L'P')
        return LoadText(IDS_PRESSURIZATION);
    return CString();
}

int CountTextLines(const CString& strText)
{
    const int n = strText.GetLength();
    if (n == 0)
        return 0;
    int nLines = 0;
    for (int i = 0; i < n; ++i) {
        const wchar_t ch = strText.GetAt(i);
        if (ch == L'\r' || ch == L'\f')
            ++nLines;
    }
    const wchar_t chLast = strText.GetAt(n - 1);
    // A CR LF pair ends with LF: the line it ends is counted at its CR.
    if (chLast != L'\r' && chLast != L'\f' && !(chLast == L'\n' && n >= 2 && strText.GetAt(n - 2) == L'\r'))
        ++nLines;
    return nLines;
}
