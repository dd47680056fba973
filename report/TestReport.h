// Plain pieces of the printed test report: the block texts, which test a
// data page shows, the cells of the data-point rows and the comment lines of
// a comments page. The view's page routines draw what these return.
#pragma once

#include "framework/String.h"

class CBuildingInfoDialog;

// The customer block of page 1: a single blank without a customer name.
CString BuildCustomerBlockText(const CBuildingInfoDialog& building);
// The building block: a single blank with neither building name nor address;
// the apartment number only under a building name.
CString BuildBuildingBlockText(const CBuildingInfoDialog& building);

// The test a data page shows: slot 1 first, then slot 0, each test one page
// or two with the two-page flag. Found: bFound with d, t and whether the
// page is the continuation part.
struct CTestDataPageChoice {
    int bFound = 0;
    int d = 0;
    int t = 0;
    int bContinuation = 0;
};
CTestDataPageChoice ChooseTestDataPage(int nPage, const int nCompletedTests[2], const int bTwoPages[2][32]);

// The error cell of a data point: (Q - F) x 100 / F with the model flow
// F = C |P - b|^n; "n/a" (nNotAvailable) when C or n is not valid or F is
// 0 or not finite, so the column never shows "inf" or "nan".
CString FormatDataPointError(double dQ, double dP, double dBaseline, double dC, int bCValid, double dN, int bNValid,
                             const CString& strNotAvailable);
// Q x C(standard) / C for the ISO column; "n/a" likewise when C is not valid
// or 0.
CString FormatIsoStandardFlow(double dQ, double dCStandard, double dC, int bCValid, const CString& strFormat,
                              const CString& strNotAvailable);
// "Open" for ring 0, else "Ring" and 'A' + ring - 1 for fans '3', '5' and
// '4', '1' + ring - 1 for the others.
CString FormatRingText(int nRing, wchar_t chFanCode, const CString& strOpen, const CString& strRing);
// "%6.1f" for fan 'B' on ring 4, "%6.0f" otherwise.
const wchar_t* GetReportFlowFormat(wchar_t chFanCode, int nRing);

// The characters of lines nFirstLine .. nFirstLine + nLines - 1 of the
// comments (CR and form feed end a line and belong to it).
CString GetCommentPageText(const CString& strComments, int nFirstLine, int nLines);
