// The view's print frame: the report commands, the page plan, the page frame
// of every printed page with its header, and the drawing routines the
// report pages use.
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "report/LangPreviewView.h"
#include "report/MarkupText.h"
#include "report/PrintFrame.h"
#include "report/ReportLogos.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {


// Live readings off for one scope, and back to what they were on every way out.
class CLiveReadingsHold {
public:
    explicit CLiveReadingsHold(CSimbrel1View* pView) : m_pView(pView), m_bPrevious(pView->SetLiveReadingsEnabled(0)) {}
    ~CLiveReadingsHold() { m_pView->SetLiveReadingsEnabled(m_bPrevious); }
    CLiveReadingsHold(const CLiveReadingsHold&) = delete;
    CLiveReadingsHold& operator=(const CLiveReadingsHold&) = delete;

private:
    CSimbrel1View* m_pView;
    int m_bPrevious;
};

}  // namespace

BOOL CSimbrel1View::OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo)
{
    if (IsReportCommand(nID) && (nCode == static_cast<int>(CN_COMMAND) || nCode == static_cast<int>(CN_UPDATE_COMMAND_UI))) {
        if (pHandlerInfo != nullptr) {
            pHandlerInfo->pTarget = this;
            return TRUE;
        }
        if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI))
            static_cast<CCmdUI*>(pExtra)->Enable(IsReportCommandEnabled(nID, GetReportCommandInput()));
        else
            OnReportCommand(nID);
        return TRUE;
    }
    return CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CReportCommandInput CSimbrel1View::GetReportCommandInput() const
{
    CReportCommandInput input;
    input.bTestOpen = m_bTestOpen;
    input.nDirectionsWithData = m_pTestGraph != nullptr ? m_pTestGraph->GetDirectionsWithData() : -1;
    input.bTestInProgress = IsTestInProgress();
    input.bZonal = m_pSettings != nullptr ? m_pSettings->m_bZonalActive : 0;
    if (m_pSettings != nullptr) {
        input.chMethod[0] = m_pSettings->m_chMethodLetter[0];
        input.chMethod[1] = m_pSettings->m_chMethodLetter[1];
    }
    input.nCurrentDirection = g_nCurrentDirection;
    input.bPdfDriverAvailable = m_bPdfDriverAvailable;
    return input;
}

void CSimbrel1View::OnReportCommand(UINT nID)
{
    // A command reached by its shortcut or a stale menu obeys the same rules.
    if (!IsReportCommandEnabled(nID, GetReportCommandInput()))
        return;
    const int nType = GetReportCommandType(nID);
    switch (GetReportCommandAction(nID)) {
    case 1: PrintReport(nType); break;
    case 2: PreviewReport(nType); break;
    case 3: PdfReport(nType); break;
    default: break;
    }
}

int CSimbrel1View::CanPrintZoneReport() const
{
    return IsReportCommandEnabled(ID_PRINT_ZONE_DATA_REPORT, GetReportCommandInput()) ? 1 : 0;
}

bool CSimbrel1View::PrintReport(int nType)
{
    CLiveReadingsHold hold(this);
    m_nReportType = nType;
    CommitOpenPages();
    return OnFilePrint();
}

void CSimbrel1View::PreviewReport(int nType)
{
    CLiveReadingsHold hold(this);
    m_bPreviewStarting = 1;
    m_nReportType = nType;
    CommitOpenPages();
    StartPrintPreview();
    m_bPreviewStarting = 0;
}

void CSimbrel1View::StartPrintPreview()
{
    m_bPreviewShowing = 1;
    auto* pState = new CPrintPreviewState;
    if (!DoPrintPreview(IDD_AFX_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CLangPreviewView), pState)) {
        delete pState;
        // No end of preview follows a failed start: the flag goes now.
        m_bPreviewShowing = 0;
        AfxMessageBox(LoadText(IDS_AFX_COMMAND_FAILED).GetString(), MB_OK | MB_ICONEXCLAMATION);
    }
    m_bPreviewJustStarted = 1;
}

void CSimbrel1View::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CView* pView)
{
    CView::OnEndPrintPreview(pDC, pInfo, point, pView);
    m_bPreviewShowing = 0;
    HideOpenDialogs(0);
    RefreshOpenPages();
}

int CSimbrel1View::CountCommentLines()
{
    if (m_pComments == nullptr)
        return 0;
    if (m_pComments->GetSafeHwnd() != nullptr)
        m_pComments->UpdateCommentText();
    return CountTextLines(m_pComments->m_strComments);
}

int CSimbrel1View::CountZoneReportRows(int d) const
{
    const int bBoth = m_pTestGraph->GetDirectionsWithData() == 2 ? 1 : 0;
    const int nSlot = bBoth ? 0 : (d == 1 ? 1 : 0);
    int k = 0;
    for (int z = CTestSettingsDialog::kFirstZone; z <= CTestSettingsDialog::kLastZone; ++z)
        if (m_pSettings->m_nZoneActive[nSlot][z])
            ++k;
    return GetZoneReportTableLines(k, bBoth);
}

BOOL CSimbrel1View::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (m_bPdfMode && !PreparePdfDriver())
        return FALSE;
    const int nWithData = m_pTestGraph->GetDirectionsWithData();
    const int d = nWithData == 2 || nWithData == -1 ? g_nCurrentDirection : nWithData;

    int nMaxPage = 1;
    if (m_nReportType == kReportTest) {
        if (nWithData == 2) {
            for (int s = 0; s < 2; ++s)
                if (m_pTestGraph->UsedTests(s) > 0)
                    UpdateResults(s);
            if (m_pSettings->m_nStandard == 2)
                m_pResults->AverageDirections();
        } else if (d >= 0 && d < 2 && m_pTestGraph->UsedTests(d) > 0) {
            UpdateResults(d);
        }
        CTestReportPlanInput input;
        input.nStandard = m_pSettings->m_nStandard;
        for (int s = 0; s < 2; ++s) {
            input.nCompletedTests[s] = std::min(m_pTestGraph->UsedTests(s), kMaxReportTests);
            for (int t = 0; t < input.nCompletedTests[s]; ++t) {
                input.nRowCount[s][t] = m_pTestGraph->m_TestRowCount[s][t];
                if (input.nStandard != 1 && m_pDeviations != nullptr)
                    input.nDeviations[s][t] = m_pDeviations->CountDeviations(s, t);
            }
        }
        input.nCommentLines = CountCommentLines();
        const CTestReportPlan plan = PlanTestReport(input);
        m_nCommentLinesOnPage = plan.commentLinesOnPage;
        std::copy(&plan.bTestOnTwoPages[0][0], &plan.bTestOnTwoPages[0][0] + 2 * kMaxReportTests,
                  &m_bTestOnTwoPages[0][0]);
        m_nFirstCommentsPage = plan.nFirstCommentsPage;
        nMaxPage = plan.nPages;
    } else if (m_nReportType == kReportZoneData) {
        const int nRows = CountZoneReportRows(d);
        int nEntries = 0;
        if (nWithData == 2)
            nEntries = m_pTestGraph->UsedEntries(0) + m_pTestGraph->UsedEntries(1);
        else if (d >= 0 && d < 2)
            nEntries = m_pTestGraph->UsedEntries(d);
        nMaxPage = PlanZoneDataReport(nEntries, nRows);
    }
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(static_cast<UINT>(nMaxPage));
    m_nTotalPages = nMaxPage;
    m_strReportLogoProblem.Empty();
    const BOOL bResult = DoPreparePrinting(pInfo);
    // The dialog's range ("All" included) is the job's.
    pInfo->SetMinPage(pInfo->GetFromPage());
    pInfo->SetMaxPage(pInfo->GetToPage());
    return bResult;
}

void CSimbrel1View::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnEndPrinting(pDC, pInfo);
    if (!m_strReportLogoProblem.IsEmpty()) {
        const CString strProblem = m_strReportLogoProblem;
        m_strReportLogoProblem.Empty();
        AfxMessageBox(strProblem.GetString(), MB_OK | MB_ICONEXCLAMATION);
    }
    RefreshOpenPages();
}

void CSimbrel1View::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    m_PageCaps = CPageCaps::FromDC(pDC);
    if (pInfo != nullptr && pInfo->m_PageCaps.IsSet())
        m_PageCaps = pInfo->m_PageCaps;

    CString strDate = m_pBuildingInfo->m_strTestDateLocal;
    if (strDate.IsEmpty())
        strDate = m_pBuildingInfo->m_strTestDateUniv;
    m_strDateLine = LoadText(IDS_REPORT_DATE_OF_TEST) + L" " + strDate;
    CString strPath;
    if (GetDocument() != nullptr)
        strPath = GetDocument()->GetPathName();
    if (strPath.IsEmpty() && !m_strTestTitle.IsEmpty())
        strPath = m_strFileFolder.IsEmpty() ? m_strTestTitle : m_strFileFolder + L"\\" + m_strTestTitle;
    m_strFileLine = LoadText(IDS_REPORT_TEST_FILE) + L": " + strPath;
    m_strRunningHead = m_strDateLine + L"  " + m_strFileLine;

    pDC->SetMapMode(MM_TWIPS);
    const int nBothSlots = m_pTestGraph->GetDirectionsWithData() == 2 ? 1 : 0;
    const int nBody = GetBodyFontHeight(nBothSlots, m_pSettings->m_nStandard);
    CFont titleFont, boldFont, regularFont, underlinedFont;
    CreateReportFont(titleFont, kTitleFontHeight, FW_BOLD, false);
    CreateReportFont(boldFont, nBody, FW_BOLD, false);
    CreateReportFont(regularFont, nBody, FW_NORMAL, false);
    CreateReportFont(underlinedFont, nBody, FW_NORMAL, true);
    CFont* pOldFont = pDC->SelectObject(&boldFont);

    const int x = kReportOriginX;
    const int y = kReportOriginY;
    switch (m_nReportType) {
    case kReportZoneData: {
        const CPoint pt = PrintPageHeader(pDC, pInfo, IDS_REPORT_ZONE_DATA_REPORT, &titleFont, &regularFont, x, y);
        ComposeZoneDataReportPage(pDC, pInfo, &boldFont, &regularFont, pt.x, pt.y);
        break;
    }
    case kReportGraph: PrintGraphPage(pDC, pInfo, x, y); break;
    case kReportTest: {
        const CPoint pt = PrintPageHeader(pDC, pInfo, IDS_REPORT_BUILDING_LEAKAGE_TEST, &titleFont, &regularFont, x, y);
        ComposeTestReportPage(pDC, pInfo, &boldFont, &regularFont, &underlinedFont, pt.x, pt.y);
        break;
    }
    default: break;
    }
    pDC->SelectObject(pOldFont);
}

CPoint CSimbrel1View::PrintPageHeader(CDC* pDC, CPrintInfo* pInfo, UINT nIDTitle, CFont* pTitleFont, CFont* pTextFont,
                                      int x, int y)
{
    CFont* pOldFont = pDC->SelectObject(pTextFont);
    const int h = GetLineHeight(pDC);
    const int nPageWidth = MillimetresToTwips(m_PageCaps.Get(pDC, HORZSIZE));
    pDC->SelectObject(pTitleFont);
    const CString strTitle = LoadText(nIDTitle);

    if (pInfo->m_nCurPage == 1) {
        const int T = -nPageWidth / 20;
        const CRect rcLogo(kReportOriginX, T, kReportOriginX + kLogoBoxWidth, T - kLogoBoxHeight);
        const CSize drawn = DrawReportLogo(pDC, rcLogo, kLogoHeader);
        const int nLeft = drawn.cx > 0 ? x + kLogoBoxWidth : x;
        const int nRight = x + kReportColumnWidth;

        y = T;
        CRect rc(nLeft, y, nRight, y - 15 * h);
        y += pDC->DrawText(strTitle, &rc, DT_CENTER | DT_NOPREFIX);
        y -= h / 2;

        pDC->SelectObject(pTextFont);
        for (const CString& strLine : GetLetterheadLines(*m_pBusinessInfo)) {
            CRect rcLine(nLeft, y, nRight, y - h);
            pDC->DrawText(strLine, &rcLine, DT_CENTER | DT_NOPREFIX);
            y -= h;
        }
        y = std::min(y, T - kLogoBoxHeight - kLogoRuleGap);
        x = kReportOriginX;
        PrintRule(pDC, h, x, y);
        y -= h;
    } else {
        const CString strHead = GetLaterPageTitle(strTitle, static_cast<int>(pInfo->m_nCurPage), m_nTotalPages);
        CRect rc(x, y, x + kReportColumnWidth, y - 15 * h);
        const int nHeight = pDC->DrawText(strHead, &rc, DT_CENTER | DT_NOPREFIX);
        y += nHeight;
        y -= h;
        if (m_nReportType == kReportZoneData) {
            PrintRule(pDC, h, x, y);
            y += nHeight;
        }
    }
    pDC->SelectObject(pOldFont);
    return CPoint(x, y);
}

CSize CSimbrel1View::PrintText(CDC* pDC, int nWidth, int x, int y, const CString& strText)
{
    return PrintReportText(pDC, nWidth, x, y, strText);
}

void CSimbrel1View::PrintRule(CDC* pDC, int nLineHeight, int x, int y)
{
    PrintReportRule(pDC, nLineHeight, x, y);
}

void CSimbrel1View::DrawPenLine(CDC* pDC, int nThickness, int x1, int y1, int x2, int y2)
{
    DrawReportPenLine(pDC, nThickness, x1, y1, x2, y2);
}

CRect CSimbrel1View::TwipsToDeviceRect(CDC* pDC, const CRect& rcTwips) const
{
    return TwipsToDevice(rcTwips, m_PageCaps.Get(pDC, HORZRES), MillimetresToTwips(m_PageCaps.Get(pDC, HORZSIZE)));
}

void CSimbrel1View::PrintLabelAndSymbol(CDC* pDC, CMarkupText& renderer, CFont* pFont, const CRect& rc,
                                        const CString& strLabel, const CString& strSymbol)
{
    PrintReportLabelAndSymbol(pDC, renderer, pFont, rc, strLabel, strSymbol);
}

// Report logos of the view's data folder. A problem found while drawing is
// kept for the end of the job (the first one), as drawing runs inside paints.

CString CSimbrel1View::GetReportLogoPath(int nFormat, int nPosition) const
{
    return ::GetReportLogoPath(m_strDataFolder, nFormat, nPosition);
}

CString CSimbrel1View::GetReportLogoFile(int nPosition) const
{
    return ::GetReportLogoFile(m_strDataFolder, nPosition);
}

CSize CSimbrel1View::DrawReportLogo(CDC* pDC, const CRect& rcBox, int nPosition)
{
    CString strProblem;
    const CSize drawn = ::DrawReportLogo(pDC, rcBox, m_strDataFolder, nPosition, &strProblem);
    if (!strProblem.IsEmpty() && m_strReportLogoProblem.IsEmpty())
        m_strReportLogoProblem = strProblem;
    return drawn;
}

CSize CSimbrel1View::DrawBmpLogo(CDC* pDC, const CRect& rcBox, const CString& strPath)
{
    CString strProblem;
    const CSize drawn = ::DrawBmpLogo(pDC, rcBox, strPath, &strProblem);
    if (!strProblem.IsEmpty() && m_strReportLogoProblem.IsEmpty())
        m_strReportLogoProblem = strProblem;
    return drawn;
}

CSize CSimbrel1View::DrawEmfLogo(CDC* pDC, const CRect& rcBox, const CString& strPath)
{
    return ::DrawEmfLogo(pDC, rcBox, strPath);
}

bool CSimbrel1View::ConvertImageToDib(const CString& strPath, CDib* pDib, bool bSave)
{
    return ::ConvertImageToDib(strPath, pDib, bSave);
}
