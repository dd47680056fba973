// The test report's test data pages (environment, baseline, data points,
// deviations; one or two pages per test) and its comments pages.
#include <cmath>
#include <cstdlib>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "report/MarkupText.h"
#include "report/PrintFrame.h"
#include "report/TestReport.h"
#include "report/TextTable.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

CTestDataPageChoice ChooseTestDataPage(int nPage, const int nCompletedTests[2], const int bTwoPages[2][32])
{
    CTestDataPageChoice choice;
    int k = 0;
    for (int d : {1, 0}) {
        const int nTests = std::clamp(nCompletedTests[d], 0, 32);
        for (int t = 0; t < nTests; ++t) {
            if (k == nPage - 3) {
                choice = {1, d, t, 0};
                return choice;
            }
            ++k;
            if (bTwoPages[d][t]) {
                if (k == nPage - 3) {
                    choice = {1, d, t, 1};
                    return choice;
                }
                ++k;
            }
        }
    }
    return choice;
}

CString FormatDataPointError(double dQ, double dP, double dBaseline, double dC, int bCValid, double dN, int bNValid,
                             const CString& strNotAvailable)
{
    if (!bCValid || !bNValid)
        return strNotAvailable;
    const double dF = dC * std::pow(std::fabs(dP - dBaseline), dN);
    if (!std::isfinite(dF) || dF == 0.0)
        return strNotAvailable;
    const double dE = (dQ - dF) * 100.0 / dF;
    if (!std::isfinite(dE))
        return strNotAvailable;
    return CString::FormatText(L"%5.1f", dE);
}

CString FormatIsoStandardFlow(double dQ, double dCStandard, double dC, int bCValid, const CString& strFormat,
                              const CString& strNotAvailable)
{
    if (!bCValid || dC == 0.0 || !std::isfinite(dC))
        return strNotAvailable;
    const double dValue = dQ * dCStandard / dC;
    if (!std::isfinite(dValue))
        return strNotAvailable;
    return CString::FormatText(strFormat.GetString(), dValue);
}

CString FormatRingText(int nRing, wchar_t chFanCode, const CString& strOpen, const CString& strRing)
{
    if (nRing == 0)
        return strOpen;
    const bool bLetters = chFanCode == L'3' || chFanCode == L'5' || chFanCode == L'4';
    const wchar_t ch = static_cast<wchar_t>((bLetters ? L'A' : L'1') + nRing - 1);
    return strRing + CString(ch);
}

const wchar_t* GetReportFlowFormat(wchar_t chFanCode, int nRing)
{
    return chFanCode == L'B' && nRing == 4 ? L"%6.1f" : L"%6.0f";
}

CString GetCommentPageText(const CString& strComments, int nFirstLine, int nLines)
{
    CString s;
    int nLine = 0;
    const int nEnd = nFirstLine + nLines;
    for (int i = 0; i < strComments.GetLength(); ++i) {
        const wchar_t ch = strComments[i];
        // The line feed of a CR LF pair belongs to the line its CR ended, so
        // a page never starts with the previous page's feed.
        const bool bPairedFeed = ch == L'\n' && i > 0 && strComments[i - 1] == L'\r';
        const int nOwnLine = bPairedFeed ? nLine - 1 : nLine;
        if (nOwnLine >= nEnd)
            break;
        if (nOwnLine >= nFirstLine)
            s += ch;
        if (ch == L'\r' || ch == L'\f')
            ++nLine;
    }
    return s;
}

namespace {

CString Format1(double dValue)
{
    return CString::FormatText(L"%0.1f", dValue);
}

void PrepareTable(CTextTable& table, const CRect& rc, int nRows, int nColumns, const CString& strTitle,
                  CFont* pBoldFont, CFont* pRegularFont)
{
    table.m_rcArea = rc;
    table.m_nRows = nRows;
    table.m_nColumns = nColumns;
    table.m_strTitle = strTitle;
    table.m_pTitleFont = pBoldFont;
    table.m_pCellFont = pRegularFont;
    table.Allocate();
}

}  // namespace

CPoint CSimbrel1View::PrintTestDataPage(CDC* pDC, int nPage, int, int y, int L, CFont* pRegularFont, CFont* pBoldFont)
{
    CTestGraph1& g = *m_pTestGraph;
    const int nStandard = m_pSettings->m_nStandard;
    CFont* pOld = pDC->SelectObject(pRegularFont);
    pDC->SetTextColor(RGB(0, 0, 0));
    PrintText(pDC, kReportColumnWidth, 720, y, m_strRunningHead);
    y -= L;
    PrintRule(pDC, L, 720, y);
    y -= L;
    const CTestDataPageChoice page = ChooseTestDataPage(nPage, g.m_CompletedTests, m_bTestOnTwoPages);
    if (!page.bFound) {
        pDC->SelectObject(pOld);
        return CPoint(720, y);
    }
    const int d = page.d, t = page.t;
    const bool bNumbered = g.m_CompletedTests[0] + g.m_CompletedTests[1] > 1;
    const CString strName = LoadText(d == 0 ? IDS_PRESSURIZATION_TEST : IDS_DEPRESSURIZATION_TEST);
    const CString strHeading = bNumbered ? CString::FormatText(L"%s %d:", strName.GetString(), t + 1)
                                         : CString::FormatText(L"%s:", strName.GetString());
    pDC->SelectObject(pBoldFont);
    if (!page.bContinuation) {
        y -= L / 2;
        PrintText(pDC, kReportColumnWidth, 720, y, strHeading);
        y -= L;
        y = PrintEnvironmentSection(pDC, 720, y, L, d, t, pRegularFont, pBoldFont).y;
        y -= L;
        if (nStandard == 1 || nStandard == 3)
            y = PrintBaselineSection(pDC, 720, y, L, d, t, pRegularFont, pBoldFont).y;
        if (nStandard == 3)
            y = PrintDataPointsTableIso(pDC, 720, y, L, d, t, pRegularFont, pBoldFont).y;
        else
            y = PrintDataPointsTable(pDC, 720, y, L, d, t, pRegularFont, pBoldFont).y;
        if (m_bTestOnTwoPages[d][t]) {
            PrintRule(pDC, L, 720, y);
            pDC->SelectObject(pBoldFont);
            y -= L + L / 2;
            CRect rc(1320, y, 10720, y - 10000);
            pDC->DrawText(strHeading + L" Continued on next page", &rc, DT_CENTER | DT_NOPREFIX);
            pDC->SelectObject(pOld);
            return CPoint(720, y);
        }
    } else {
        y -= L;
        const CString strContinued = bNumbered ? CString::FormatText(L"%s %d (Continued):", strName.GetString(), t + 1)
                                               : CString::FormatText(L"%s (Continued):", strName.GetString());
        PrintText(pDC, kReportColumnWidth, 720, y, strContinued);
        y -= L;
    }
    PrintRule(pDC, L, 720, y);
    pDC->SelectObject(pBoldFont);
    y -= L;
    const bool bEnOrIso = nStandard == 1 || nStandard == 3;
    if (!bEnOrIso || (m_pDeviations != nullptr && m_pDeviations->m_bIncludeInReport)) {
        y = PrintDeviationsSection(pDC, 720, y, L, d, t, pBoldFont, pRegularFont).y;
        y -= L / 2;
        PrintRule(pDC, L, 720, y);
    }
    pDC->SelectObject(pOld);
    return CPoint(720, y);
}

CPoint CSimbrel1View::PrintEnvironmentSection(CDC* pDC, int, int y, int, int d, int t, CFont* pRegularFont,
                                              CFont* pBoldFont)
{
    const CTestGraph1& g = *m_pTestGraph;
    const int nStandard = m_pSettings->m_nStandard;
    const CString strTemp = LoadText(m_nTemperatureUnit == 1 ? IDS_UNIT_C : IDS_UNIT_F);
    const CString strLength = LoadText(m_nBuildingUnit == 1 ? IDS_UNIT_M : IDS_UNIT_FT);
    const CString strIndoor =
        CString::FormatText(L"\\bold%s (\u00B0%s)", LoadText(IDS_TR_INDOOR_TEMPERATURE).GetString(), strTemp.GetString());
    const CString strOutdoor = CString::FormatText(L"\\bold%s (\u00B0%s)",
                                                   LoadText(IDS_TR_OUTDOOR_TEMPERATURE).GetString(), strTemp.GetString());
    const CString strBaro = CString::FormatText(L"\\bold%s (%s)", LoadText(IDS_TR_BAROMETRIC_PRESSURE).GetString(),
                                                LoadText(IDS_UNIT_PA).GetString());
    const CString strAltitude =
        CString::FormatText(L"\\bold%s (%s)", LoadText(IDS_TR_ALTITUDE).GetString(), strLength.GetString());
    auto Bold = [](UINT nID) { return CString::FormatText(L"\\bold  %s", LoadText(nID).GetString()); };
    const double dInPre = g.m_TestTin[0][d][t], dInPost = g.m_TestTin[1][d][t];
    const double dOutPre = g.m_TestTout[0][d][t], dOutPost = g.m_TestTout[1][d][t];

    CTextTable table;
    const CRect rc(720, y, 720 + 10200, y - 1600);
    if (nStandard == 2) {
        PrepareTable(table, rc, 4, 4, LoadText(IDS_TR_ENVIRONMENTAL_DATA), pBoldFont, pRegularFont);
        const double kShares[4] = {0.16, 0.28, 0.28, 0.28};
        std::copy(kShares, kShares + 4, table.m_dColumnFraction);
        const CString rows[4][4] = {
            {L"", strIndoor, strOutdoor, strAltitude},
            {Bold(IDS_TR_PRE_TEST), Format1(dInPre), Format1(dOutPre), L""},
            {Bold(IDS_TR_POST_TEST), Format1(dInPost), Format1(dOutPost), L""},
            {Bold(IDS_AVERAGE), Format1((dInPre + dInPost) / 2), Format1((dOutPre + dOutPost) / 2),
             Format1(g.m_TestAltitude[d][t])},
        };
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                table.m_pRowTexts[r][c] = rows[r][c];
    } else if (nStandard == 1 || nStandard == 3) {
        PrepareTable(table, rc, 2, 4, LoadText(IDS_TR_ENVIRONMENTAL_DATA), pBoldFont, pRegularFont);
        const double kShares[4] = {0, 0.33, 0.33, 0.34};
        std::copy(kShares, kShares + 4, table.m_dColumnFraction);
        const CString rows[2][4] = {{L"", strIndoor, strOutdoor, strBaro},
                                    {L"", Format1(dInPre), Format1(dOutPre), Format1(g.m_TestPbaro[0][d][t])}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 4; ++c)
                table.m_pRowTexts[r][c] = rows[r][c];
    } else {
        PrepareTable(table, rc, 2, 3, LoadText(IDS_TR_ENVIRONMENTAL_DATA), pBoldFont, pRegularFont);
        const double kShares[3] = {0, 0.5, 0.5};
        std::copy(kShares, kShares + 3, table.m_dColumnFraction);
        const CString rows[2][3] = {{L"", strIndoor, strOutdoor}, {L"", Format1(dInPre), Format1(dOutPre)}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                table.m_pRowTexts[r][c] = rows[r][c];
    }
    table.SetColumnAlignment(0, 0, 0);
    table.m_dRowFactor[0] = 1.2;
    const int L = GetLineHeight(pDC);
    return CPoint(720, table.Draw(pDC) - L / 4);
}

CPoint CSimbrel1View::PrintBaselineSection(CDC* pDC, int, int y, int L, int d, int t, CFont* pRegularFont,
                                           CFont* pBoldFont)
{
    const CTestGraph1& g = *m_pTestGraph;
    CFont* pOld = pDC->SelectObject(pBoldFont);
    CRect rcTitle(4820, y, 6820, y - 200);
    pDC->DrawText(LoadText(IDS_TR_BASELINE_DATA), &rcTitle,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    const int nTop = y - L / 2;
    CTextTable pre, post;
    PrepareTable(pre, CRect(720, nTop, 5720, nTop - 1600), 2, 3, LoadText(IDS_TR_BASELINE_PRE), pBoldFont,
                 pRegularFont);
    PrepareTable(post, CRect(5920, nTop, 10920, nTop - 1600), 2, 3, LoadText(IDS_TR_BASELINE_POST), pBoldFont,
                 pRegularFont);
    const CString preCells[2][3] = {
        {L"\\bold\u0394p\\sub0,1\\reg-", L"\\bold\u0394p\\sub0,1\\reg+", L"\\bold\u0394p\\sub0,1\\reg"},
        {Format1(g.m_TestBaselineMinusPre[d][t]), Format1(g.m_TestBaselinePlusPre[d][t]),
         Format1(g.m_TestPreBaseline[d][t])}};
    const CString postCells[2][3] = {
        {L"\\bold\u0394p\\sub0,2\\reg-", L"\\bold\u0394p\\sub0,2\\reg+", L"\\bold\u0394p\\sub0,2\\reg"},
        {Format1(g.m_TestBaselineMinusPost[d][t]), Format1(g.m_TestBaselinePlusPost[d][t]),
         Format1(g.m_TestPostBaseline[d][t])}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            pre.m_pRowTexts[r][c] = preCells[r][c];
            post.m_pRowTexts[r][c] = postCells[r][c];
        }
    pre.Draw(pDC);
    const int nBottom = post.Draw(pDC);
    pDC->SelectObject(pOld);
    return CPoint(720, nBottom - L / 2);
}

CPoint CSimbrel1View::PrintDataPointsTable(CDC* pDC, int x, int y, int L, int d, int t, CFont* pRegularFont,
                                           CFont* pBoldFont)
{
    const int c[7] = {6 * L, 14 * L, 21 * L, 27 * L, 32 * L, 36 * L, 42 * L};
    y -= L / 2;
    y -= PrintDataPointsHeader(pDC, d, x, y, L, c, pRegularFont, pBoldFont, 0);
    y -= L;
    return CPoint(x, PrintDataPointRows(pDC, y, L, d, t, c, 0));
}

CPoint CSimbrel1View::PrintDataPointsTableIso(CDC* pDC, int x, int y, int L, int d, int t, CFont* pRegularFont,
                                              CFont* pBoldFont)
{
    int c[8];
    for (int i = 0; i < 8; ++i)
        c[i] = (10 + 11 * i) * L / 2;
    y -= L / 4;
    y -= PrintDataPointsHeader(pDC, d, x, y, L, c, pRegularFont, pBoldFont, 1);
    y -= L;
    return CPoint(x, PrintDataPointRows(pDC, y, L, d, t, c, 1));
}

int CSimbrel1View::PrintDataPointsHeader(CDC* pDC, int d, int x, int y, int L, const int* c, CFont* pRegularFont,
                                         CFont* pBoldFont, int bIso)
{
    const int y0 = y;
    pDC->SelectObject(pBoldFont);
    CString strHead = LoadText(IDS_TR_DATA_POINTS);
    if (m_bExportedFile)
        strHead += L" - " + LoadText(IDS_TR_COLLECTED_USING);
    switch (m_pSettings->m_chMethodLetter[d]) {
    case L'M': strHead += L" - " + LoadText(IDS_TR_METHOD_MANUAL); break;
    case L'A': strHead += L" - " + LoadText(IDS_TR_METHOD_AUTOMATED); break;
    case L'S': strHead += L" - " + LoadText(IDS_TR_METHOD_SEMI); break;
    default: break;
    }
    if (!m_strFileVersionTag.IsEmpty() && !m_bExportedFile)
        strHead += L" (" + m_strFileVersionTag + L")";
    PrintText(pDC, kReportColumnWidth, x, y, strHead);
    y -= 2 * L;

    const CString strUnit = GetReportFlowUnitLabel();
    auto Title = [&](int nColumn, const CString& strText, int nShift) {
        const int cx = c[nColumn] + 3 * L / 2 + nShift;
        CRect rc(cx, y, cx + 1, y - 10000);
        // The size: DrawText's height is negative in twips.
        return std::abs(pDC->DrawText(strText, &rc, DT_CENTER | DT_NOCLIP | DT_NOPREFIX));
    };
    // An ISO title: the string's lines in bold, its symbol, the unit below.
    auto IsoTitle = [&](int nColumn, UINT nID, const wchar_t* pszSymbol) {
        CString s = LoadText(nID);
        const int nFirst = s.Find(L'\n');
        if (nFirst >= 0)
            s = s.Left(nFirst) + s.Mid(nFirst + 1);
        s.Replace(L"\n", L"\\n\\bold");
        const CString strTitle =
            CString::FormatText(L"\\bold %s\\bold  %s \\n\\bold (%s)", s.GetString(), pszSymbol, strUnit.GetString());
        const int cx = c[nColumn] + 3 * L / 2;
        CMarkupText markup;
        markup.DrawMultiLine(pDC, CRect(cx, y, cx + 1, y - 10000), pRegularFont, strTitle, CMarkupText::kAlignCentre);
    };
    const int h = Title(0, LoadText(IDS_TR_COL_NOMINAL_PRESSURE), 0);
    Title(1, LoadText(IDS_TR_COL_ADJUSTED_PRESSURE), 0);
    Title(2, LoadText(IDS_TR_COL_FAN_PRESSURE), 0);
    if (bIso) {
        IsoTitle(3, IDS_TR_COL_NOMINAL_FLOW, L"q \\subr \\reg");
        IsoTitle(4, IDS_TR_COL_ADJUSTED_FLOW, L"q \\subenv \\reg");
        IsoTitle(5, IDS_TR_COL_ADJUSTED_FLOW, L"q \\subL \\reg");
        pDC->SelectObject(pBoldFont);
        Title(6, LoadText(IDS_TR_COL_ERROR), 0);
        Title(7, LoadText(IDS_TR_COL_FAN_CONFIGURATION), 0);
    } else {
        Title(3, LoadText(IDS_TR_COL_NOMINAL_FLOW) + L" (" + strUnit + L")", 0);
        Title(4, LoadText(IDS_TR_COL_ADJUSTED_FLOW) + L" (" + strUnit + L")", 0);
        Title(5, LoadText(IDS_TR_COL_ERROR), 120);
        Title(6, LoadText(IDS_TR_COL_FAN_CONFIGURATION), 0);
    }
    y -= h;
    PrintRule(pDC, L, 720, y);
    pDC->SelectObject(pRegularFont);
    return y0 - y;
}

int CSimbrel1View::PrintDataPointRows(CDC* pDC, int y, int L, int d, int t, const int* c, int bIso)
{
    const CTestGraph1& g = *m_pTestGraph;
    const CResultValue& C = m_pResults->m_Results[d][CTestResultsDialog::kC];
    const CResultValue& n = m_pResults->m_Results[d][CTestResultsDialog::kN];
    const CResultValue& Cstd = m_pResults->m_Results[d][CTestResultsDialog::kCStandard];
    const CString strNA = LoadText(IDS_TR_NOT_AVAILABLE);
    const wchar_t chFan = m_pEquipment->m_chFanCode;
    const bool bManualCgsb = m_pSettings->m_nStandard == 0 && m_pSettings->m_chMethodLetter[d] == L'M';
    const bool bNoPostBaseline = bManualCgsb && m_pManualEntry->m_strBuildingP[d][13].IsEmpty();
    const int nEntries = std::clamp(g.m_StationCount[d], 0, CTestGraph1::kMaxEntries);
    const double dFlowFactor = t >= 0 && t < CTestGraph1::kMaxTests ? g.m_FlowFactor[d][t] : 0.0;
    auto Text = [&](int x, const CString& s) { PrintText(pDC, kReportColumnWidth, x, y, s); };

    int nCounter = 0;
    bool bClosing = false;
    double dOpening = 0.0;
    for (int i = 0; i < nEntries; ++i) {
        if (g.m_Ring[d][i] == -1) {
            if (!bClosing)
                dOpening = g.m_Pavg[d][i];
            if (nCounter == t && !(bClosing && bNoPostBaseline)) {
                Text(c[0], CString::FormatText(L"%7.1f", g.m_Pavg[d][i]));
                const CString strCell = m_bExportedFile ? CString() : strNA;
                Text(c[1] + L, strCell);
                Text(c[2] + L, strCell);
                y -= L;
            }
            if (bClosing) {
                if (nCounter == t) {
                    y -= L;
                    break;
                }
                ++nCounter;
            }
            bClosing = !bClosing;
            continue;
        }
        if (nCounter != t || !bClosing)
            continue;
        double dClosing = dOpening;
        for (int j = i + 1; j < nEntries; ++j)
            if (g.m_Ring[d][j] == -1) {
                dClosing = g.m_Pavg[d][j];
                break;
            }
        const double P = g.m_Pavg[d][i];
        const double b = (dOpening + dClosing) / 2.0;
        const double Q = g.m_Qavg[d][i] * dFlowFactor;
        const int nRing = g.m_Ring[d][i];
        const wchar_t* pszFlow = GetReportFlowFormat(chFan, nRing);
        const CString strError =
            FormatDataPointError(Q, P, b, C.m_dValue, C.m_bValid, n.m_dValue, n.m_bValid, strNA);
        const CString strRing =
            m_bExportedFile ? CString() : FormatRingText(nRing, chFan, LoadText(IDS_OPEN), LoadText(IDS_RING));
        Text(c[0], CString::FormatText(L"%7.1f", P));
        Text(c[1], CString::FormatText(L"%7.1f", P - b));
        Text(c[2], m_bExportedFile ? CString(L"     -") : CString::FormatText(L"%7.1f", g.m_Pfan[d][i]));
        Text(c[3], CString::FormatText(pszFlow, g.m_Qavg[d][i]));
        if (bIso) {
            Text(c[4], FormatIsoStandardFlow(Q, Cstd.m_dValue, C.m_dValue, C.m_bValid, pszFlow, strNA));
            Text(c[5], CString::FormatText(pszFlow, Q));
            Text(c[6], strError);
            Text(c[7], strRing);
        } else {
            Text(c[4], CString::FormatText(pszFlow, Q));
            Text(c[5] + L, strError);
            Text(c[6], strRing);
        }
        y -= L;
    }
    return y;
}

CPoint CSimbrel1View::PrintDeviationsSection(CDC* pDC, int, int y, int L, int d, int t, CFont* pBoldFont,
                                             CFont* pRegularFont)
{
    CFont* pOld = pDC->SelectObject(pBoldFont);
    const COLORREF crOld = pDC->SetTextColor(RGB(0, 0, 0));
    CRect rcTitle(1320, y, 10720, y - 10000);
    pDC->DrawText(CString::FormatText(LoadText(IDS_TR_DEVIATIONS_TITLE).GetString(),
                                      m_pSettings->GetStandardName().GetString()),
                  &rcTitle, DT_CENTER | DT_NOPREFIX);
    y -= 2 * L;
    pDC->SetTextColor(RGB(200, 0, 0));
    const bool bList = m_pDeviations != nullptr && d >= 0 && d < 2 && t >= 0 && t < CTestGraph1::kMaxTests &&
                       (m_pDeviations->m_pLists[d][t] != nullptr || m_pDeviations->m_pLists[0][0] != nullptr);
    if (bList) {
        y = m_pDeviations->PrintDeviations(pDC, CRect(1320, y, 10720, y - 10000), d, t, pRegularFont, RGB(0, 0, 0)).y;
    } else {
        CRect rc(1320, y, 10720, y - L);
        pDC->DrawText(LoadText(IDS_NONE), &rc, DT_NOPREFIX | DT_NOCLIP);
        y -= L;
    }
    pDC->SetTextColor(crOld);
    pDC->SelectObject(pOld);
    return CPoint(720, y);
}

CPoint CSimbrel1View::PrintCommentsPage(CDC* pDC, int nPage, int, int y, int L, CFont* pRegularFont, CFont* pBoldFont)
{
    const int k = nPage - m_nFirstCommentsPage;
    const int nPages = static_cast<int>(m_nCommentLinesOnPage.size());
    // Counts past the plan's last page are 0: no read beyond it.
    const int nLines = k >= 0 && k < nPages ? m_nCommentLinesOnPage[k] : 0;
    const int nNextLines = k + 1 >= 0 && k + 1 < nPages ? m_nCommentLinesOnPage[k + 1] : 0;
    CFont* pOld = pDC->SelectObject(pRegularFont);
    PrintText(pDC, kReportColumnWidth, 720, y, m_strRunningHead);
    y -= L;
    PrintRule(pDC, L, 720, y);
    y -= L;
    const CString strComments = m_pComments != nullptr ? m_pComments->m_strComments : CString();
    CString strText = strComments.IsEmpty() ? LoadText(IDS_NONE)
                                            : GetCommentPageText(strComments, kCommentLinesPerPage * k, nLines);
    pDC->SelectObject(pBoldFont);
    y -= L;
    CString strTitle = LoadText(IDS_TR_COMMENTS);
    if (k > 0)
        strTitle += L"  " + LoadText(IDS_TR_CONTINUED);
    CRect rcTitle(1320, y, 10720, y - L);
    pDC->DrawText(strTitle, &rcTitle, DT_CENTER | DT_NOPREFIX | DT_NOCLIP);
    y -= 2 * L;
    pDC->SelectObject(pRegularFont);
    if (strText.IsEmpty())
        strText = L"None";
    CRect rcText(920, y, 11120, y - 10000);
    y -= std::abs(pDC->DrawText(strText, &rcText, DT_NOPREFIX | DT_NOCLIP));
    if (nNextLines > 0)
        y += L / 2;
    else
        y -= L / 2;
    PrintRule(pDC, L, 720, y);
    if (nNextLines > 0) {
        y -= L;
        pDC->SelectObject(pBoldFont);
        CRect rc(1320, y, 10720, y - L);
        pDC->DrawText(LoadText(IDS_TR_COMMENTS_CONTINUED), &rc, DT_CENTER | DT_NOPREFIX | DT_NOCLIP);
    }
    pDC->SelectObject(pOld);
    return CPoint(720, y);
}
