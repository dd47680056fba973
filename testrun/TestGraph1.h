// CTestGraph1: the test screen and the one store of every measured value of
// the open test, for both direction slots (0 pressurization, 1
// depressurization). The store outlives every opening of the screen's window.
//
// The entries of a slot are tests laid end to end: an opening baseline
// marker (ring -1, target 0, the pre-test baseline in m_Pavg), the data
// points in the order taken, and a closing baseline marker (ring -1, the
// post-test baseline). Test indexes are 0-based here.
#pragma once

#include <windows.h>

#include <vector>

#include "comm/DeviceInfoStrings.h"
#include "comm/GaugeJobs.h"
#include "framework/Dialog.h"
#include "framework/GdiObject.h"

class CEquipmentInfoDialogIntl;
class CKeyedText;
struct CDeviationFinding;
struct CTestCheckInput;
class CFanCalibrationDialog;
class CManualDataEntryDialog;
class CQarCommThreads;
class CQarCommunications;
class CWifiDeviceInfo;
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

    // Leakage graph.
    // Draws only while the screen is shown or on a printer (normal-weight
    // fonts there); bounds are rounded to one significant digit first.
    void DrawLeakageGraph(CDC* pDC, const CRect& rcPlot, int bDrawMarks, double dPmin, double dPmax, double dQmin,
                          double dQmax);
    void DrawLeakageCurve(CDC* pDC, const CRect& rcPlot, int d);
    void DrawDataPoints(CDC* pDC, const CRect& rcPlot, int d);
    CRect DrawPointMarker(CDC* pDC, int bCircle, int t, const CRect& rcPlot, double dP, double dQ);
    void DrawSelectedMarker(int bCircle, const CRect& rcMarker);
    void DrawSelectedMarker(CDC* pDC, int bCircle, const CRect& rcMarker);
    // The live trace on the screen's window, or on pDC with the screen's plot.
    void PlotLivePixel(double dP, double dQ);
    void DrawLiveMarker(double dP, double dQ);
    void PlotLivePixel(CDC* pDC, double dP, double dQ);
    void DrawLiveMarker(CDC* pDC, double dP, double dQ);
    void DrawDashedLine(CDC* pDC, int x1, int y1, int x2, int y2);
    void DrawTargetLines(CDC* pDC, double dPmin, double dPmax);
    void DrawCruiseLine(CDC* pDC, double dPmin, double dPmax);
    void DrawPressureLines(CDC* pDC, const double* pPressures, int nCount, COLORREF crColour, int nWidth, double dPmin,
                           double dPmax);
    struct CGraphLayout {
        int nMargin[4] = {};   // left, top, right, bottom
        CRect rcPlot;          // empty when 49 pixels or less either way
    };
    static CGraphLayout ComputeGraphLayout(int cx, int cy, wchar_t chMethod, int bZoneRoom);
    static COLORREF GetTestColour(int t);
    void LayoutGraph();
    void PaintGraph(CDC* pDC);
    void DrawLargeMeters(CDC* pDC);
    void DrawZoneLabels(CDC* pDC);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    int CanDrawGraph(const CDC* pDC) const;
    int IsInsideAxes(double dP, double dQ) const;
    CPoint MapToPlot(const CRect& rcPlot, double dP, double dQ) const;
    int IsDirectionPresent(int d) const;
    CRect m_rcPlot;
    int m_nGraphMargin[4] = {};
    CRect m_rcDrawnPlot;                     // plot of the last drawn graph
    double m_dDrawnPmin = 0.0, m_dDrawnPmax = 0.0, m_dDrawnQmin = 0.0, m_dDrawnQmax = 0.0;
    double m_dLogPRange = 0.0, m_dPlotWidth = 0.0;
    double m_dLogQRange = 0.0, m_dPlotHeight = 0.0;
    double m_dGraphQmin = 0.0, m_dGraphQmax = 0.0;   // the test step's copy
    CRect m_rcMarker[2][kMaxEntries];
    int m_bGraphDrawn = 0;
    int m_bLiveMarkerErased = 0;
    DECLARE_MESSAGE_MAP()
public:

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

    // Window core: keys, status line, run buttons and the message pump.
    //
    // The ring a key chooses on the fan (fan code of the equipment page):
    // blower-door fans '3', '5', '4' take 0/O/o for the open fan and A-E
    // (a-e) for rings 1-5, the others 0/O/o and 1-4. Only rings the fan has
    // count; -1 for every other key.
    static int GetRingForKey(wchar_t chFanCode, UINT nKeyCode);
    // The run buttons in the order of CRunControlPlan::nEnable.
    static constexpr int kRunControls[8] = {1473, 1474, 1054, 1182, 1063, 1134, 1135, 2344};
    struct CRunControlInput {
        int bRestored = 0;
        int bRunning = 0;          // a test or a cruise runs
        int bBaseline = 0;         // a baseline measurement runs
        int nCruiseMode = 0;
        int bSampling = 0;         // a station is being sampled
        int bHasCompletedTests = 0;  // either direction
        wchar_t chMethod = 0;      // the current direction's method letter
    };
    struct CRunControlPlan {
        int nEnable[8] = {-1, -1, -1, -1, -1, -1, -1, -1};  // 1 enable, 0 disable, -1 leave
        int nStatusId = 0;                                  // 0 leaves the status line
    };
    static CRunControlPlan PlanRunControls(const CRunControlInput& input);
    void UpdateRunControls();
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Key probes of the measuring loops: each looks at the first waiting
    // keyboard message only and removes it when it matches.
    int PeekEscapeOrEnter();
    int PeekKeyInSet(const wchar_t* pszKeys);
    int IsSampleKeyPressed();
    int EnableControl(int nID, int bEnable);
    int EnableControlIfDisabled(int nID);
    static void WaitMs(int nMs);
    void ShowCommunicationLost(const CString& strDetail, int bTest);
    wchar_t GetCurrentMethod() const;
    // Run state the buttons follow (the test step keeps it).
    int m_bBaselineRunning = 0;
    int m_bSamplingDisplay = 0;
    int m_nPointIndex = 0;       // points stored in the running test; indexes the target
    int m_bSampleEnabled = 0;
    int m_bPauseEnabled = 0;
    // Nesting of the loops that pump messages; a close of the main window
    // that arrives meanwhile waits until the outermost one returns.
    int m_nPumpDepth = 0;
    int m_bCloseDeferred = 0;
    HWND m_hDeferredClose = nullptr;
    // Closes the main window when its close was held back and no loop pumps
    // any more.
    void FinishDeferredClose();

    // Calls into the run, fan and ring operations (they do no more than
    // this until those operations are written).
    void OnRingCloseUp();
    void OnFanSpeedKey(UINT nKeyCode);
    void SetFanSpeed(double dSpeed);
    int CheckBatteries();
    void DrainNetworkInput(int i);
    void SetDefaultTargets();
    void RestartFluctuationWatch();
    void StartRezeroWatch();
    int IsOnStopButton(CPoint pt) const;

    // Gauge links of the test: identification, channel allocation,
    // auto-zero and reconnection of a network gauge.
    // The channel allocation over the links' channel counts: nChannels[j]
    // is -1 for a link without a COM port (skipped), -2 for one that is not
    // connected and identified (the allocation fails there).
    struct CChannelPlan {
        int bSuccess = 0;
        int nUsed[4] = {};
        int nChannels[4] = {};   // cut to the channels used
        int nDevicesInUse = 0;
        int nChannelsInUse = 0;
        int bInsufficient = 0;
    };
    static CChannelPlan PlanChannels(const int (&nChannels)[4], int nLinks, int nZones);
    int ConnectDevices();
    int AllocateChannels();
    int CheckChannelCounts();
    int AutoZeroAll();
    int ReconnectWifiDevice(int i, int nSerialNumber, int n);
    int ConnectNetworkDevice(int i, const CWifiDeviceInfo& device);
    int IsAbortRequested();
    CString GetDeviceRoleName(int i) const;
    void ShowLowBatteryWarning(int bShow, int i);
    void RefreshChannelLabels();
    void DrawChannelLabels();
    void EraseChannelLabels();
    // The status line green, with the channel captions, while every link in
    // use is connected; the base colours otherwise.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    int ActiveZoneCount() const;
    // The worker pattern: job nJob on the links listed, all at once, waited
    // for at most 10 s; 1 when every thread ended and no link failed.
    int RunWorkers(const int* pLinks, int nLinks, int nJob, int nPriority);
    CQarCommunications* Link(int i) const;
    CQarCommThreads* m_Workers[4] = {};
    CGaugeJobGroup m_WorkerGroup;
    int m_DeviceUsed[4] = {};
    int m_DeviceChannels[4] = {};
    int m_InsufficientChannels = 0;
    int m_GaugeFamilyInUse = 0;
    int m_AutoZeroing = 0;
    int m_Reconnecting = 0;
    int m_bDeviceWarningShown = 0;   // the status update's device-not-connected warning
    CString m_strDeviceError;
    CRect m_rcChannelLabel[2];

    // Test-data section of the test file: its lines and their readers.
    // The one-second baseline line of test t (pre- or post-test), "" when
    // the standard or method has none or the first value was not measured.
    CString WriteBaselineSeconds(int bPreTest, int d, int t, const CString& strPrefix) const;
    // " ring target Pavg Pfan Qavg PStdDev QStdDev [zone pairs] END".
    CString FormatDataPointLine(int d, int i) const;
    void ParseEnvironmentLine(const CString& strValue, int bPreTest, int d, int t);
    // Fills the 30 one-second values of the test and phase from the line
    // (10000.0 where it has none) and returns the mean of the values read;
    // 0 for a line without any.
    double ParseBaselineSeconds(const CString& strValue, int bPreTest, int d, int t);
    // The writer's count of slot d: one fewer for a manual CGSB test whose
    // closing marker is the copy of its opening one.
    int GetWrittenEntryCount(int d) const;
    int IsManualCgsbWithoutPosttest(int d) const;
    // Environment of test t from an older file without the per-test line.
    void ReadOlderEnvironment(int d, int t);
    // A test-data section whose counts, rings or entries the store cannot
    // hold as they are: the key that shows it, or "" for a sound text.
    static CString FindDamagedTestData(const CKeyedText& text);

    // The connected-device section: one snapshot per gauge link.
    void CaptureDeviceInfo();
    int ReadDeviceInfo(int d);
    static CString MakeAuxKey(int r, const CString& strKey);
    static CString MakeGaugeCalibrationKey(int nConstant, int r);
    static CString MakeChannelCalibrationKey(int bAnalog, int bHighRange, int j, int r);
    CDeviceInfoStrings m_DeviceInfo[4];
    int m_DevicesCaptured = 0;

    // Idle monitoring and live readings.
    // One idle reading of the view's timer: running means for a second,
    // then the readouts, the live marker and the pressure warnings.
    void IdleMonitorTick();
    // Reads every link in use at once into the readings (bank 0 the live
    // zone readings, 1 the baseline ones); 1 when all were read, 0 on a
    // failure (nFailed the link that failed; stop pending set, no link in use).
    int ReadAllChannels(double& dBuilding, double& dFan, int& nFailed, int nBank = 0);
    void UpdateDeviceStatus(int bForce);
    void UpdateReadouts(int bNoBaseline, double dP, double dBaseline, double dFan, double dFlow, int bResultsBox);
    void UpdateFlowEstimate(double dP, double dFlow, double n, int bFlowValid);
    // Air changes at 50 Pa from one reading (flow in the flow unit, volume
    // in the building unit cubed); false when none is shown: a volume of
    // 0.01 or less, |dP| outside 40..60 Pa or an invalid flow.
    static bool EstimateAirChanges(double dP, double dFlow, double n, double dVolume, double dLengthFactor,
                                   double dFlowFactor, double& dEstimate);
    // The fixed target list of a standard letter ('C', 'E', 'A', 'I'),
    // ended by 0; false for any other letter.
    static bool GetStandardTargets(wchar_t chLetter, double (&targets)[kMaxTargets + 1]);
    // C |Pfan|^n of the current ring times the flow factor of the slot's
    // next test (1.0 once the slot holds all its tests).
    double GetCorrectedFlow(double dFan) const;
    double GetNextTestFlowFactor(int d) const;
    void UpdateZoneLabels();
    static int GetZoneReadoutId(int nChannel);
    CString& GetZoneReadoutText(int nChannel);
    void FormatZoneReadout(int nChannel, const double* pValues);
    void UpdateZoneReadout(int nChannel);
    void UpdateZoneReadouts();
    int AreZoneBaselinesSet() const;
    // Zone pressures on in the settings and the view's zone switch not off.
    int AreZonesShown() const;
    // The highest channel number read (building 1, fan 2, zones 3 to 8).
    int GetHighestChannel() const;
    int IsZoneActive(int nChannel) const;
    // A gauge's battery: -1 no reading (below 0.1 V), 0 fine, 1 low, 2 too
    // low to go on; the two-channel network gauge has its own limits.
    static int GetBatteryLevel(double dVolts, int bTwoChannelNetworkGauge);
    int ReadDeviceValueWithRetry(int i, double& dValue);
    int IsDeviceFailed(int i) const;
    void DrainAllNetworkInput();
    void RefreshAfterRingChange();
    int IsDepressurization(int d) const;
    void SetControlText(int nID, UINT nIDString);
    void SetItemText(const CString& strText, int nID);
    void ShowControl(int nID, int nCmdShow);
    static void FillRectWithPen(CDC* pDC, const CRect& rc, COLORREF crPen, COLORREF crBrush);
    void ClearIdleMeans();
    void StartDisplayWatch();
    int IsDisplayWatchElapsed() const;
    int IsRezeroDue() const;
    // Zone readings by zone channel 3 to 8: bank 0 live, bank 1 baseline.
    double m_ZoneReading[2][kZoneChannels] = {};
    CString m_strZoneLabel[kZoneChannels];
    CString m_strZoneCaption[kZoneChannels];
    COLORREF m_crZoneColour[kZoneChannels] = {};
    int m_bZoneBaselineSet[kZoneChannels] = {};
    int m_nIdleCount = 0;
    double m_dIdleFanMean = 0.0;
    double m_dIdleBuildingMean = 0.0;
    double m_dIdleFlowMean = 0.0;
    double m_dLiveMarkerP = 0.0;
    double m_dLiveMarkerQ = 0.0;
    int m_bFlowValid = 0;
    double m_dLastReadWaitMs = 0.0;  // the last reading's wait for its worker threads
    // Run flags this reading sets or consumes.
    int m_bStopPending = 0;
    int m_bUserStop = 0;
    int m_bRezeroRequested = 0;
    int m_bReidentified = 0;
    int m_bRezeroAfterFailure = 0;
    int m_bResetAfterFailure = 0;
    int m_bPrinting = 0;
    int m_bHadDevices = -1;          // the device status line's last state, -1 none yet
    int m_bBatteryTooLow = 0;        // a gauge's battery ended the auto-zero
    int m_bBoxBatteryWarned = 0;     // the box's low-battery message, once per screen object
    int m_bLowBatteryShown = 0;
    long long m_nDisplayWatchMs = 0;
    long long m_nRezeroWatchMs = 0;
    CString m_strKeptDeviceError;

    // Large meters, readout labels and lists.
    void DrawLargeMeters(CDC* pDC, const CRect& rcPlot);
    void UpdateLargeMeterValues(CDC* pDC);
    // The three meter boxes of a plot rectangle, top to bottom.
    struct CLargeMeterLayout {
        CRect rcMeter[3];
    };
    static CLargeMeterLayout ComputeLargeMeterLayout(const CRect& rcPlot);
    CString GetLargeMeterLabel(int k) const;
    CString GetLargeMeterValue(int k) const;
    void UpdateFanLabels();
    void FillRingCombo();
    void FillDirectionCombo();
    void SetDropDownHeight(int nID);
    // The ring list's items for a fan code, index = ring number.
    static std::vector<CString> GetRingListItems(wchar_t chFanCode);
    // The fan type text's string id; 0 for a code that leaves it unchanged.
    static UINT GetFanTypeStringId(wchar_t chFanCode);
    CString GetFlowLabel() const;
    wchar_t GetFanCode() const;
    CRect m_rcLargeMeter[3];

    // Fan speed control and the ring and settle decision.
    static constexpr double kGaugeFanMaximum = 16127.0;
    static constexpr double kBoxFanMaximum = 4095.0;
    // The one conversion of every fan command: clamped to 0..dMaximum (NaN
    // to 0) before the 16-bit truncation, so that no speed wraps round.
    static unsigned short ToFanCommand(double dSpeed, double dMaximum);
    static double GetFanStepSize(double dError);
    // The adaptive gain after one adjustment: x1.2 while the speed keeps
    // moving the same way (capped at 80 on a gauge, 20 on a box or in a
    // cruise), back to 1.0 when it turned.
    static double AdaptGain(double dGain, int nSignBefore, int nSignAfter, int bGaugeFamily, int bCruise);
    // The speed scaled towards the next target: (target / previous)^e with
    // e the fitted n (0.65 when not above 0) held to 0.5..1.0.
    static double PredictFanSpeed(double dSpeed, double dTarget, double dPreviousTarget, double dExponent);
    int IsGaugeFamilyPrimary() const;
    double GetFanMaximum() const;
    int IsSemiAutomaticMethod() const;
    // Sends the speed to the primary link through ToFanCommand.
    void SendFanCommand(double dSpeed);
    void StartFanAtPercent(double dPercent);
    void UpdateSpeedSliderRange(double dSpeed);
    void EnableFanControls(int bEnable);
    int AdjustFanStep(double dFanPressure, double dBuilding, double dBaseline, double dTarget, double dStepGain,
                      int bDepress);
    // The prediction's direct send of the first adjusting step after a
    // stored point.
    void ApplySpeedPrediction(double dTarget, double dPreviousTarget, double dExponent);
    // The last ring of a fan: 5 for '3', '5', '4', 4 for 'B', 3 otherwise.
    static int GetLastRing(wchar_t chFanCode);
    struct CRingInput {
        double dFanPressure = 0.0;
        double dP = 0.0;             // building pressure minus baseline
        int bDepress = 0;
        int nRing = 0;
        double dTarget = 0.0;
        double dTolerance = 0.0;
        const double* pWindow = nullptr;
        int nWindow = 0;
        int bWindowFull = 0;
        double dRingMinimum = 0.0;   // Pa, of the current fan and ring
        double dSpeed = 0.0;
        int bGaugeFamily = 1;
        wchar_t chFanCode = L'3';
    };
    // The decision on plain values; nPreviousRing and nOperatorRequest are
    // the run's memory of rings, updated as the decision says.
    static int DecideRing(const CRingInput& in, int& nPreviousRing, int& nOperatorRequest, int& nState);
    int DecideRing(double dFanPressure, double dP, int bDepress, int nRing, double dTarget, double dTolerance,
                   const double* pWindow, int nWindow, int bWindowFull, int& nState, double& dRingMinimum);
    void ShowControllerWarning(int nState);
    // The first button's text and help topic of a ring change.
    static CString GetRingPromptText(int nRing, wchar_t chFanCode, int& nHelpTopic);
    int RingChangePrompt(int nRing, wchar_t chFanCode);
    int CheckFlowMeasurable();
    static double MinValue(const double* pValues, int n);
    static double MaxValue(const double* pValues, int n);
    // Run state of the fan adjustment shared with the test step.
    int m_bPauseRequest = 0;
    int m_bSampleRequest = 0;
    int m_bFaultStop = 0;
    int m_bStopConfirmed = 0;
    double m_dPreviousSpeed = 0.0;
    double m_dManualSpeed = 0.0;     // the operator's last speed from the keys
    double m_dGain = 1.0;
    int m_nPreviousRing = -1;
    int m_nOperatorRingRequest = -1;
    double m_dReadingWindow[10] = {};
    int m_nWindowIndex = 0;
    int m_nWindowFill = 0;
    int m_bWindowFull = 0;
    double m_dLastDP = 0.0;          // the last dP of the adjustment passes
    int m_nFanCommandsSent = 0;      // to the primary link, every path
    int m_nLastFanCommand = -1;

    // Test step, station sampling, start and end of a test.
    // The ten-reading window of dP: the value at the write index, then the
    // fill count grows to 10 (it may start at -1 after a station at the
    // highest pressure, so that window is full only after eleven readings).
    static void PushWindowValue(double (&window)[10], int& nIndex, int& nFill, int& bFull, double dValue);
    // The mean over the fill count; 0 while the count is below 1.
    static double WindowMean(const double (&window)[10], int nFill);
    // Building pressure detection of one step: 1 when the run must stop
    // with 4041. nLowCount counts the steps with |Pbldg| < 0.3 Pa while the
    // fan runs against at least 50 Pa.
    static int IsBuildingPressureMissing(double dFan, double dSpeed, int bWarningOn, double dMaxChange,
                                         double dBuilding, int& nLowCount);
    // A station is complete after Data_samples samples, for ASTM E779 also
    // only after more than 10 s.
    static int IsStationComplete(int nSamples, double dDataSamples, int bAstm, int bAstmElapsed);
    // The means a stored point is drawn at: flow below 0.1 is 0.1, a
    // building pressure strictly between -0.1 and 0.1 is 0.1.
    static void ClampForDisplay(double& dFlow, double& dBuilding);
    // Means of the positive and of the negative baseline readings; a side
    // without readings is 0 (readings of exactly 0 count in neither).
    struct CBaselineSides {
        double dSumPlus = 0.0, dSumMinus = 0.0;
        int nPlus = 0, nMinus = 0;
        void Add(double v);
        double Plus() const { return nPlus > 0 ? dSumPlus / nPlus : 0.0; }
        double Minus() const { return nMinus > 0 ? dSumMinus / nMinus : 0.0; }
    };
    // The lowest target to suggest after an opening baseline (EN 13829:
    // nStandard 1, ISO 9972: 3); 0 when the targets need no change.
    static int SuggestLowestTarget(int nStandard, double dPlus, double dMinus, double dZeroFlow, int bDepress,
                                   const double* pTargets);
    // The lowest of the first 12 targets, stopping below 0.1; 1000 for none.
    static double LowestTarget(const double* pTargets);

    void TestStep();
    void HandleStop();
    void SampleStation();
    void StoreStationPoint();
    int IsSamplingComplete(int nSamples);
    int DeleteDataPoint(int d, int k);
    int StartTest();
    void EndTest();
    double MeasureBaseline(double& dMean, double& dStdDev, int& nCount, int bPreTest);
    int OneSecondAverage(double& dMean);
    int CheckEnvironmentData(int bEdit, int nStage, int d, int t);
    void ShowBaselinePrompt(int bPreTest);
    int CheckLowestTargetPressure(double dPlus, double dMinus, double dZeroFlow);
    int CheckLowTargets();
    int AskCustomizeTargets(int nValue);
    int AskCustomizeTargetsPlain();
    void SwitchToCustomTargets();
    int CheckDevicesBeforeStart();
    int AreZoneChannelsAvailable() const;
    void ResetRunControls();
    void ShowPrompt(UINT nID, int nHelpTopic);
    void EmptyReadingWindow();
    int IsFluctuationTimeout() const;
    void StartAstmWatch();
    int IsAstmTimeElapsed();
    void StartSecondWatch();
    int IsSecondElapsed() const;
    int GetStandard() const;
    double GetDataSamples() const;
    int m_bSettled = 0;
    int m_nSampleCount = 0;
    int m_bSpeedPredictionArmed = 0;
    int m_nSpeedSignBefore = -1;
    int m_nSpeedSignAfter = -1;
    int m_nControllerState = 0;
    int m_bCollectAtHighest = 0;
    int m_nRequestedRing = -1;
    double m_dMaxBuildingChange = 0.0;
    int m_nLowPressureCount = 0;
    int m_bFlowTooSmall = 0;
    int m_nEntriesAtStart = 0;
    int m_nFirstEntryOfTest[2] = {};
    double m_dBuilding = 0.0;        // Pa, the step's reading
    double m_dFan = 0.0;             // Pa, sign inverted by the reading
    double m_dFlow = 0.0;
    double m_dWindowMean = 0.0;
    long long m_nFluctuationWatchMs = 0;
    long long m_nAstmWatchMs = 0;
    long long m_nSecondWatchMs = 0;
    int m_nAstmElapsedSeconds = 0;
    // Sampling accumulators of the current station.
    double m_dMeanFan = 0.0, m_dMeanBuilding = 0.0, m_dSdBuilding = 0.0, m_dMeanFlow = 0.0, m_dSdFlow = 0.0;
    double m_dZoneMean[kZoneChannels] = {};
    double m_dZoneSd[kZoneChannels] = {};
    // The last baseline measurement.
    double m_dBaselineStdDev = 0.0;
    int m_nBaselineCount = 0;
    double m_dBaselinePlus = 0.0;
    double m_dBaselineMinus = 0.0;
    double m_dEnIsoBaselineMean = 0.0;
    int m_bBaselineFailed = 0;
    double m_dZoneBaselineSd[kZoneChannels] = {};
    CString m_strKeptPretestTexts[3];   // ASTM E779: the pre-test page's texts, for the post-test one

    // Test screen controls and commands.
    // The captions, visibility and enabling of the screen's controls as a
    // plain function of the method, the data and the run state.
    struct CControlInput {
        wchar_t chMethod = L'A';
        int nStandard = 0;            // 0 CGSB, 1 EN 13829, 2 ASTM E779, 3 ISO 9972
        int bAnyTests = 0;            // either direction has completed tests
        int bCurrentTests = 0;        // the current direction has completed tests
        int bDevicesInUse = 0;
        int bTestRunning = 0;         // a test (not a cruise) runs or starts
        int nCruiseMode = 0;          // a cruise runs or starts
        int bFanValueShown = 0;
    };
    struct CControlState {
        int nID = 0;
        UINT nCaptionId = 0;          // 0 leaves the caption
        int bShown = 1;
        int bEnabled = 1;
    };
    static constexpr int kPlannedControls = 40;
    struct CControlPlan {
        CControlState control[kPlannedControls];
        int nCount = 0;
        CString strDataEntryCaption;  // 1862
        const CControlState* Find(int nID) const;
    };
    static CControlPlan PlanControls(const CControlInput& in);
    CControlInput GatherControlInput() const;
    void UpdateControlTexts();
    // A run, its start or a baseline is under way: the data may change.
    int IsRunBusy() const;
    void OnStartTest();
    // The questions before a test over existing data or zones (4640, 4097,
    // 4035); 1 when the start goes on.
    int ConfirmStart();
    // The largest target of slot d; the list ends at the first value not
    // above 0.001.
    double GetLargestTarget(int d) const;
    void OnCruise();
    // The cruise dialog until its pressure is accepted, or Proceed over the
    // building limit; sets the cruise pressure and mode. 0 when cancelled.
    int AskCruiseConditions();
    void OnPause();
    void OnSample();
    void OnClear();
    void OnNext();
    void OnPrevious();
    void OnHelp();
    void OnDataTable();
    void OnDataBoxInfo();
    void OnEditEnvData();
    void OnRingDropDown();
    void OnDirectionChange();
    LRESULT OnHScrollMessage(WPARAM wParam, LPARAM lParam);
    void OnHScroll(UINT nSBCode);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnOK() override;
    void OnCancel() override;
    // Leaves the screen for the view (Next, Previous, OK, Cancel): the fan
    // stopped outside method 'S', the fields stored, the request posted.
    void LeaveScreen(int nAction);
    // Data points under a click: slot 0 before slot 1, in entry order, at
    // most four; only points of completed tests with two points or more.
    struct CPointHit {
        int d = 0;
        int t = 0;
        int k = 0;
    };
    std::vector<CPointHit> FindPointsAt(CPoint point) const;
    // Removes the entry, recording it among the slot's deleted points while
    // there is room; then the deviations are checked again.
    void DeleteSelectedPoint(const CPointHit& hit);
    // Row nRow of the selection dialog for entry i of test t in slot d: the
    // label, the slot, the pressure against the test's baselines, the
    // corrected flow and the ring.
    void FillSelectedPointRow(class CDataPointSelected& dialog, int nRow, const CString& strLabel, int d, int t,
                              int i) const;
    CString m_strStartCaption;
    CString m_strCruiseCaption;
    int m_bRingListDropped = 0;
    int m_bAdjustingFan = 0;

    // Cruise run: the test step's branch after the live point; the stop is
    // the test step's.
    void CruiseStep();
};
