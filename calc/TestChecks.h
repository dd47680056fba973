// The rules a test is held to under each standard, on plain data: which
// deviation positions a test breaks and their texts. CTestGraph1's check
// members gather the data from the store and the results, and store what
// these rules find in the deviations record.
#pragma once

#include <vector>

#include "calc/TestResultsDialog.h"
#include "framework/String.h"

// One test and what the rules read of its direction and settings.
struct CTestCheckInput {
    int nStandard = 0;            // 0 CGSB, 1 EN 13829, 2 ASTM E779, 3 ISO 9972
    wchar_t chMethod = L'A';      // method letter of the test's slot
    // The data points (markers left out): raw building pressure, target
    // pressure and flow before the test's flow factor.
    std::vector<double> pressures;
    std::vector<double> targets;
    std::vector<double> flows;
    double dFlowFactor = 1.0;
    double dTestN = 0.0;          // the test's own fit
    double dTestR = 0.0;
    double dTestR2 = 0.0;
    double dPreBaseline = 0.0;    // Pa, pre-test and post-test markers
    double dPostBaseline = 0.0;
    // Means of the positive and negative one-second baseline readings,
    // before and after the test (EN 13829, ISO 9972).
    double dBaselineMeans[4] = {};
    // The direction's results: C (7), n (8), r or r² (9) and the
    // equivalent leakage area (5), whose error is read.
    CResultValue C;
    CResultValue n;
    CResultValue r;
    CResultValue eqla;
    int nCompletedTests[2] = {};  // both slots (ASTM E779 wants both directions)
};

// A rule broken: the position of the test's deviation list (or of the list
// of slot 0, test 0 for a rule about the whole record) and its text.
struct CDeviationFinding {
    int nPosition = 0;
    UINT nStringId = 0;
    CString strText;
    bool bRecordWide = false;
};

namespace TestChecks {

// Positions the rules own.
enum Position {
    kNValue = 0,
    kCorrelation = 1,
    kPointFlowError = 15,
    kOffTarget = 16,
    kTooFewCgsbPoints = 17,
    kBaseline = 18,
    kPressureGap = 22,
    kTooFewPoints = 23,
    kStackEffect = 24,
    kNoPressurization = 25,
    kNoDepressurization = 26,
    kLowestPressure = 34,
    kHighestBelow25 = 35,
    kHighestBelow50 = 36,
    kEqlaError = 38,
};

// The flow exponent and correlation rules of every standard.
std::vector<CDeviationFinding> CheckFitLimits(const CTestCheckInput& in);
// The standard's own rules (the fit limits not included).
std::vector<CDeviationFinding> CheckCgsb(const CTestCheckInput& in);
std::vector<CDeviationFinding> CheckEn13829(const CTestCheckInput& in);
std::vector<CDeviationFinding> CheckIso9972(const CTestCheckInput& in);
// The stack effect rule is the store's own (CTestGraph1::CheckStackEffect).
std::vector<CDeviationFinding> CheckAstmE779(const CTestCheckInput& in);
// Everything a test of in.nStandard is held to: fit limits first.
std::vector<CDeviationFinding> CheckTest(const CTestCheckInput& in);

}  // namespace TestChecks
