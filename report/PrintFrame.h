// What the three printed reports share: the page plan, the report fonts,
// the enabling of the report commands, the letterhead lines and the small
// drawing routines of the report pages. Pages are drawn in MM_TWIPS (y up,
// the page at negative y).
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Dc.h"
#include "framework/GdiObject.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CBusinessInfoDialog;
class CMarkupText;

// Report types of the view's m_nReportType.
enum ReportType { kReportNone = 0, kReportTest = 1, kReportGraph = 2, kReportZoneData = 3 };

// Geometry, twips.
constexpr int kReportOriginX = 720;
constexpr int kReportOriginY = -720;
constexpr int kReportColumnWidth = 10080;
constexpr int kLogoBoxWidth = 3240;
constexpr int kLogoBoxHeight = 1980;
constexpr int kLogoRuleGap = 180;
// Test data rows a page takes before a test needs two pages.
constexpr int kTestRowsOnOnePage = 30;
constexpr int kCommentLinesPerPage = 48;
constexpr int kMaxReportTests = 32;

// Title font height and the two body heights.
constexpr int kTitleFontHeight = -220;
constexpr int kBodyFontHeight = -200;
constexpr int kSmallBodyFontHeight = -180;

// -180 when both direction slots have completed tests under EN 13829
// (standard code 1), else -200.
int GetBodyFontHeight(int bBothSlotsHaveTests, int nStandard);
// One of the report's Arial fonts.
bool CreateReportFont(CFont& font, int nHeight, int nWeight, bool bUnderline);

// The test report's page plan.
struct CTestReportPlanInput {
    int nCompletedTests[2] = {};
    int nRowCount[2][kMaxReportTests] = {};    // data rows of each test
    int nDeviations[2][kMaxReportTests] = {};  // deviations from the standard of each test
    int nStandard = 0;
    int nCommentLines = 0;
};
struct CTestReportPlan {
    int nPages = 0;
    int nFirstCommentsPage = 0;
    // Comment lines on each comments page, in page order; as many pages as
    // the lines need (the first one is always there, possibly with 0 lines).
    std::vector<int> commentLinesOnPage;
    int bTestOnTwoPages[2][kMaxReportTests] = {};
};
CTestReportPlan PlanTestReport(const CTestReportPlanInput& input);

// The zone data report's page count for nEntries data rows and a ZPD input
// table of nTableLines lines.
int PlanZoneDataReport(int nEntries, int nTableLines);
// The lines reserved for the ZPD input table: k zones switched on gives
// k + 11, or with both slots' tests 2 x (k + 8) + 3.
int GetZoneReportTableLines(int nActiveZones, int bBothSlotsHaveTests);

// The report commands' enabling.
struct CReportCommandInput {
    int bTestOpen = 0;
    int nDirectionsWithData = -1;   // -1 none, 0 or 1 that slot, 2 both
    int bTestInProgress = 0;        // a test or cruise runs or is being started
    int bZonal = 0;
    wchar_t chMethod[2] = {};
    int nCurrentDirection = 0;
    int bPdfDriverAvailable = 0;
};
// For the nine report commands; false for any other id.
bool IsReportCommandEnabled(UINT nID, const CReportCommandInput& input);
bool IsReportCommand(UINT nID);
// The type a report command prints, previews or writes as PDF.
int GetReportCommandType(UINT nID);
// 1 print, 2 preview, 3 PDF; 0 for another id.
int GetReportCommandAction(UINT nID);

// The letterhead lines under the title of page 1, in order.
std::vector<CString> GetLetterheadLines(const CBusinessInfoDialog& business);
// Title + "   Page n of m" for pages after the first.
CString GetLaterPageTitle(const CString& strTitle, int nPage, int nTotalPages);
// Page size in twips from GetDeviceCaps millimetres, truncated.
int MillimetresToTwips(int nMillimetres);
// The height of a line of the font selected into pDC, leading included.
int GetLineHeight(CDC* pDC);

// Drawing routines.
// The text with its top-left corner at (x, y), neither clipped nor
// wrapped; its extent in the current font.
CSize PrintReportText(CDC* pDC, int nWidth, int x, int y, const CString& strText);
// A line of thickness t / 10 + 0.5 (at least 1), solid black.
void DrawReportPenLine(CDC* pDC, int nThickness, int x1, int y1, int x2, int y2);
// A 10080-wide rule half a line below y.
void PrintReportRule(CDC* pDC, int nLineHeight, int x, int y);
// Twips to device pixels with s = nHorzRes / nPageWidthTwips on both axes;
// y changes sign.
CRect TwipsToDevice(const CRect& rcTwips, int nHorzRes, int nPageWidthTwips);
// The label right-aligned in the rectangle and the symbol left of a gap of
// half a line right of it, both through the mark-up renderer.
void PrintReportLabelAndSymbol(CDC* pDC, CMarkupText& renderer, CFont* pFont, const CRect& rc,
                               const CString& strLabel, const CString& strSymbol);
// The label cut after its first ':' when the value is empty.
CString CutLabelAfterColon(const CString& strLabel, const CString& strValue);
// 4285 for 'D', 4286 for 'P', else empty.
CString GetTestDirectionText(wchar_t chLetter);
// The number of lines of a comment text: CR and form feed end a line; a
// last line without either counts too; an empty text has none.
int CountTextLines(const CString& strText);
