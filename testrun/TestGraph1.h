// CTestGraph1: the test screen and the one store of every measured value of
// the open test, for both direction slots (0 pressurization, 1
// depressurization). The store outlives every opening of the screen's window.
//
// The entries of a slot are tests laid end to end: an opening baseline
// marker (ring -1, target 0, the pre-test baseline in m_Pavg), the data
// points in the order taken, and a closing baseline marker (ring -1, the
// post-test baseline). Test indexes are 0-based here.
#pragma once

#include <vector>

#include "framework/Dialog.h"
#include "framework/GdiObject.h"

class CEquipmentInfoDialogIntl;
struct CDeviationFinding;
struct CTestCheckInput;
class CFanCalibrationDialog;
class CManualDataEntryDialog;
class CSimbrel1View;
class CTestSettingsDialog;

class CTestGraph1 : public CDialog {
public:
    enum { IDD = 135 };

    // Limits of the store per direction slot.
    static constexpr int kMaxEntries = 128;
    static constexpr int kMaxTests = 32;
    static constexpr int kMaxTargets = 12;   // the target list ends with a 0 after them
    static constexpr int kMaxDeletedPoints = 12;
    static constexpr int kZoneChannels = 6;  // P3 to P8
    static constexpr int kBaselineSeconds = 30;
    // A one-second baseline average that was never measured.
    static constexpr double kNotMeasured = 10000.0;
    // Deviation position of the stack-effect check.
    static constexpr int kStackEffectPosition = 24;

    explicit CTestGraph1(CSimbrel1View* pView);
    ~CTestGraph1() override;

    // Empties both slots: no entries and no completed tests, no deleted
    // points, the graph axes back to 4-70 Pa and 100-6000 flow, the per-test
    // temperatures and barometric pressures 0, and the run state idle. Flow
    // factors, altitudes, fits and baselines stay until a test or a file
    // overwrites them.
    void ResetTestData();
    // ResetTestData, and every deviation and both slots of the manual grid.
    void ClearAllTestData();
    // The test-data section of slot d (keys with strPrefix) and the
    // "CONNECTED MANOMETER(S) INFO" section of a test file, without headers.
    CString WriteTestData(int d, const CString& strPrefix);
    void ReadTestData(int d, const CString& strPrefix);
    CString WriteDeviceInfo();

    // Room for the writers of a slot. Every test keeps one entry free for its
    // closing marker, so a running test can always be closed.
    //   HasRoomForTest: fewer than 32 completed tests and room for an opening
    //     marker, one data point and the closing marker.
    //   HasRoomForDataPoint: room for the point and the closing marker.
    //   HasRoomForEntry: room for one more entry (the closing marker).
    //   HasRoomForDeletedPoint: a deleted point can still be recorded.
    // All are false for a slot other than 0 and 1.
    bool HasRoomForTest(int d) const;
    bool HasRoomForDataPoint(int d) const;
    bool HasRoomForEntry(int d) const;
    bool HasRoomForDeletedPoint(int d) const;
    // m_StationCount and m_CompletedTests held to what the arrays can hold
    // (0 for a slot other than 0 and 1); every walk over a slot uses these.
    int UsedEntries(int d) const;
    int UsedTests(int d) const;

    // Pairs the markers of both slots into tests: m_TestFirstRow and
    // m_TestRowCount. An opening marker without its closing one keeps its
    // first row with a count of 0.
    void IndexTestGroups();
    // m_EntryTestNumber of slot d: -1 at an opening marker, the 1-based test
    // number at a closing marker, 0 at data points.
    void NumberTestGroups(int d);
    // Multiplies every stored flow of slot d by x once the slot holds a
    // completed test (the flow unit changed); the flow deviations stay.
    void ScaleFlows(double x, int d);
    // Builds slot d as one test from the manual grid and the baseline page.
    void LoadManualEntryData(int d);

    // The smallest and largest |value| over the first count entries whose
    // ring is not -1 (markers skipped); 0 when there is none.
    static double MinAbsValue(const double* pValues, const int* pRings, int nCount);
    static double MaxAbsValue(const double* pValues, const int* pRings, int nCount);
    // Gap test of the standards' checks: the gap from a pressure's magnitude
    // down to the nearest smaller one, for the last pressure whose gap is
    // above 10 Pa and below 100 Pa; 0 when none. dMin and dMax receive the
    // smallest and largest magnitude (1000 and 0 for no pressures).
    static double FindLargePressureInterval(const double* pPressures, int nCount, double& dMin, double& dMax);

    void CheckStackEffectAll();
    // Position 24 of the test's deviations: cleared, then set when the
    // temperature difference in K times the building height in m exceeds 200.
    void CheckStackEffect(int d, int t);
    void AddDeviation(int nPosition, UINT nStringId, int d, int t);

    // Checks of each test against its standard (tests of slot d, index t):
    // each rule a test breaks leaves its text at its position of the test's
    // deviation list; the positions a check owns are emptied first.
    void CheckTestAgainstStandard(int d, int t, int bRecompute);
    void CheckCgsbTest(int d, int t);
    void CheckEn13829Test(int d, int t);
    void CheckIso9972Test(int d, int t);
    void CheckAstmE779Test(int d, int t);
    void CheckFitLimits(int d, int t);
    void ClearTestDeviations(int d, int t);
    // 1 when the building height is entered; otherwise sends the user to
    // the building page's height field and returns 0.
    int CheckBuildingHeight();
    // Data points of test t (markers left out); 0 for a test that does not
    // exist or whose group is not closed within the used entries.
    int GetTestPointCount(int d, int t) const;
    int GetCheckStandard() const;
    CTestCheckInput GatherCheckInput(int d, int t) const;
    void StoreFindings(int d, int t, const std::vector<CDeviationFinding>& findings);
    // The start all four standards' checks share; false when the test is
    // not checked.
    bool BeginTestCheck(int d, int t, bool bStandardFits);

    // Ring name for display: "A" to "E" on the blower-door fans, "1" to "4"
    // on the others, "Open" for the open fan and anything else.
    static CString GetRingLabel(int nRing, wchar_t chFanCode);
    // strFormat with its first ".0f" made ".1f" when the fan is 'B' and every
    // data point of slot d used ring 4, so that its small flows show a
    // decimal; otherwise "".
    CString GetFlowPrecisionFormat(const CString& strFormat, int d) const;

    // Leakage fits of a direction and of each of its tests. Result codes:
    // 0 fitted, 1 no data point, 2 a flow (or the test's flow factor or air
    // density) not above 0, 3 a baseline-corrected pressure of the wrong
    // sign, 4 an implausible fit, 5 exponent fixed at 0.65 because the
    // pressures span too little. With 1 to 3, n = C = r = -1.
    void ComputeFlowCorrections(int d);
    int FitDirection(const double* pPressures, const double* pFlows, const int* pRings, int nCount, double& n,
                     double& C, int d);
    // Fits entries nFirst .. nFirst + nCount - 1 (both markers included) as
    // test t; writes the test's own r into m_TestR and m_TestR2, its flags
    // into m_TestNFixed and m_TestTwoPointFit, and leaves the direction's
    // fit (its r in fit slot 0, m_NFixed, m_TwoPointFit) as it was.
    int FitTest(const double* pPressures, const double* pFlows, const int* pRings, int nFirst, int nCount,
                double& n, double& C, int d, int t);
    void FitAllTests();
    int OtherDirectionHasTests() const;
    int GetDirectionsWithData() const;
    int m_TestNFixed[2][kMaxTests] = {};
    int m_TestTwoPointFit[2][kMaxTests] = {};
    double m_dCruisePressure = 0.0;          // Pa, target of a cruise run

    // Graph and screen operations.
    void RecalculateGraph(int d);
    void RedrawGraph();
    void UpdateRingCalibration(int d);
    void UpdateFlowUnitLabel();

    // The screen's window: ShowTestGraph opens it and returns non-zero when
    // it was created (its layout taken when the view asks for one);
    // DestroyWindow closes it; RefreshControls gives the remembered control
    // the focus again while it is shown. The placement of its last layout is
    // the view's m_TestGraphPlacement.
    int ShowTestGraph();
    BOOL DestroyWindow() override;
    void RefreshControls();
    // The status line: string nID (nothing when it is already shown), or
    // strText with nID -1; the shown screen is repainted.
    void SetStatusText(int nID, const CString& strText);
    BOOL OnInitDialog() override;
    int m_bHiddenForPrint = 0;   // closed while the pages are hidden; opened again afterwards
    int m_bOpenFails = 0;        // while set, ShowTestGraph opens nothing and returns 0

    // Message pump of the long operations (scans, reconnections): leaves a
    // waiting left click queued for the caller (returns 1 at once), else
    // dispatches every waiting message but timer and quit messages; 1 when
    // it dispatched one. Works whether or not the screen's window exists.
    int PumpMessages();

    // Axis ranges of the leakage graph per slot (Pa and flow units).
    double m_AxisPmin[2] = {};
    double m_AxisPmax[2] = {};
    double m_AxisQmin[2] = {};
    double m_AxisQmax[2] = {};
    int m_CurrentRing[2] = {};               // ring installed on the fan, 0 the open fan
    // Deleted data points: their data lines with "-" and the 1-based test
    // number, and the last used index (-1 none).
    int m_LastDeletedIndex[2] = {};
    CString m_DeletedPoints[2][kMaxDeletedPoints];

    // Latest fit of each slot; the two flags tell a fit with the fixed
    // exponent 0.65 and the exact two-point solution.
    double m_FitN[2] = {};
    double m_FitC[2] = {};
    double m_FitR[2] = {};
    int m_NFixed[2] = {};
    int m_TwoPointFit[2] = {};

    // Target pressures in test order; the first 0 ends the list.
    double m_Targets[2][kMaxTargets + 1] = {};

    // The entries of each slot.
    int m_EntryTestNumber[2][kMaxEntries] = {};  // filled by NumberTestGroups
    double m_Pavg[2][kMaxEntries] = {};      // Pa, baseline not subtracted
    double m_Qavg[2][kMaxEntries] = {};      // current flow unit, before the test's flow factor
    double m_Pfan[2][kMaxEntries] = {};      // Pa
    int m_DensityMode[2] = {};               // 1 for a 'D' slot
    int m_Ring[2][kMaxEntries] = {};         // -1 a baseline marker
    double m_ZonePavg[2][kZoneChannels][kMaxEntries] = {};
    int m_StationCount[2] = {};              // used entries, markers included
    double m_FlowFactor[2][kMaxTests] = {};
    double m_PStdDev[2][kMaxEntries] = {};
    // Closed tests; while a test runs also the index of that test.
    int m_CompletedTests[2] = {};
    double m_ZoneStdDev[2][kZoneChannels][kMaxEntries] = {};
    double m_QStdDev[2][kMaxEntries] = {};
    double m_TargetP[2][kMaxEntries] = {};   // Pa, 0 for markers

    // Per test. The baseline means are those of the positive and of the
    // negative one-second readings (EN 13829, ISO 9972).
    double m_TestBaselinePlusPre[2][kMaxTests] = {};
    double m_TestBaselineMinusPre[2][kMaxTests] = {};
    double m_TestBaselinePlusPost[2][kMaxTests] = {};
    double m_TestBaselineMinusPost[2][kMaxTests] = {};
    double m_TestRhoIn[2][kMaxTests] = {};   // kg/m³
    double m_TestRhoOut[2][kMaxTests] = {};
    double m_TestN[2][kMaxTests] = {};
    double m_TestC[2][kMaxTests] = {};
    double m_TestR[2][kMaxTests] = {};
    double m_TestR2[2][kMaxTests] = {};
    double m_TestPreBaseline[2][kMaxTests] = {};
    double m_TestPostBaseline[2][kMaxTests] = {};
    // First index 0 pre-test, 1 post-test, then slot and test; temperatures
    // in the current temperature unit, barometric pressure in Pa.
    double m_TestTin[2][2][kMaxTests] = {};
    double m_TestTout[2][2][kMaxTests] = {};
    double m_TestPbaro[2][2][kMaxTests] = {};
    double m_TestAltitude[2][kMaxTests] = {};   // ft or m, by the building dimension unit
    // Opening marker of each test and its entries up to the closing marker;
    // -1 and 0 for a test that does not exist.
    int m_TestFirstRow[2][kMaxTests] = {};
    int m_TestRowCount[2][kMaxTests] = {};
    CString m_strLastIndoorTemp;
    CString m_strLastOutdoorTemp;
    // One-second baseline averages before and after each test; kNotMeasured
    // in every place, or above 9000 in the first, when not measured.
    double m_PreBaselineSeconds[2][kMaxTests][kBaselineSeconds];
    double m_PostBaselineSeconds[2][kMaxTests][kBaselineSeconds];

    // Texts bound to the screen's controls.
    CString m_strFanSpeed;                   // 1071
    CString m_strBuildingPressure;           // 1058
    CString m_strFanType;                    // 1059
    CString m_strFanPressure;                // 1056
    CString m_strFlow;                       // 1057
    CString m_strBaseline;                   // 1074
    CString m_strCompletedTests;             // 1061, both slots
    CString m_strSampleCount;                // 1081
    CString m_strElapsedSeconds;             // 1082
    CString m_strFlowCaption;                // 1278
    CString m_strResults;                    // 1196
    CString m_strStatus;                     // 1475
    CString m_strZoneReadout[kZoneChannels]; // 1528 to 1533
    int m_nRingIndex = 0;                    // 1064

    CSimbrel1View* m_pView = nullptr;
    // The view's records that the screen reads; not owned.
    CFanCalibrationDialog* m_pFanCalibration = nullptr;
    CTestSettingsDialog* m_pSettings = nullptr;
    CManualDataEntryDialog* m_pManualEntry = nullptr;
    CEquipmentInfoDialogIntl* m_pEquipment = nullptr;

    int m_bShown = 0;            // the screen's window exists
    int m_bRestored = 0;         // the screen was re-created after its pages were hidden
    int m_nStatusId = 0;         // string shown in the status line, -1 a free text, 0 none
    int m_nFocusCtrlId = 0;      // child control that had the focus last
    int m_bFanValueShown = 0;
    int m_bSliderDragging = 0;
    int m_bFanKeyDown = 0;
    int m_nFanKeyStep = 1;
    double m_dSavedSliderPos = 0.0;
    CBrush m_hStatusBrush;       // the status line's green

    // Run state kept beside the data.
    double m_FanSpeed = 0.0;     // current fan speed command, device counts
    double m_dBaseline = 0.0;    // baseline of the running test, Pa
    int m_CruiseMode = 0;        // 0 a test, 1 cruise without baseline, 2 with baseline
    int m_bCurveValid = 0;       // the graph may draw the fitted curve
    double m_ZoneLiveMean[kZoneChannels] = {};
    int m_DevicesInUse = 0;      // gauge links in use
    // Run flags the view's commands read: a test running, its start and its
    // step or end sequence under way; the large meters shown and the
    // technician's choice of them; the screen to open afresh (not re-shown
    // after printing); the current slot holding test data; the device set-up
    // changed since the last reading.
    int m_bTestRunning = 0;
    int m_bTestStarting = 0;
    int m_bTestStepping = 0;
    int m_bLargeMeters = 0;
    int m_bDisplayLargeMeters = 0;
    int m_bReshow = 0;
    int m_bHasTestData = 0;
    int m_bDeviceSetupChanged = 0;
    int m_ChannelsInUse = 0;     // channels allocated on them
};
