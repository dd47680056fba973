// CTestGraph1: the test screen and the one store of every measured value of
// the open test, for both direction slots (0 pressurization, 1
// depressurization). The store outlives every opening of the screen's window.
#pragma once

#include "framework/Dialog.h"

class CEquipmentInfoDialogIntl;
class CFanCalibrationDialog;
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

    explicit CTestGraph1(CSimbrel1View* pView);
    ~CTestGraph1() override;

    // Empties both slots: no entries and no completed tests, no deleted
    // points, the graph axes back to 4-70 Pa and 100-6000 flow, the per-test
    // temperatures and barometric pressures 0, and the run state idle. Flow
    // factors, altitudes, fits and baselines stay until a test or a file
    // overwrites them.
    void ResetTestData();
    void ClearAllTestData();

    CSimbrel1View* m_pView = nullptr;
    // The view's records that the screen reads; not owned.
    CFanCalibrationDialog* m_pFanCalibration = nullptr;
    CTestSettingsDialog* m_pSettings = nullptr;
    CEquipmentInfoDialogIntl* m_pEquipment = nullptr;

    // Entries of each slot in the order taken: data points and baseline
    // markers (ring -1; the first of a pair opens a test, the second closes it).
    int m_Ring[2][kMaxEntries] = {};
    double m_TargetP[2][kMaxEntries] = {};   // Pa
    double m_Pavg[2][kMaxEntries] = {};      // Pa, baseline not subtracted
    double m_Qavg[2][kMaxEntries] = {};      // current flow unit
    double m_ZonePavg[2][kZoneChannels][kMaxEntries] = {};
    int m_StationCount[2] = {};              // used entries
    int m_CompletedTests[2] = {};
    // Opening marker of each test and its entries up to the closing marker;
    // -1 and 0 for a test that does not exist.
    int m_TestFirstRow[2][kMaxTests] = {};
    int m_TestRowCount[2][kMaxTests] = {};
    double m_Targets[2][kMaxTargets + 1] = {};
    int m_CurrentRing[2] = {};               // 0 the open fan
    int m_CruiseMode = 0;                    // 0 a test, 1 cruise without baseline, 2 with baseline

    // Latest fit of each slot.
    double m_FitN[2] = {};
    double m_FitC[2] = {};
    double m_FitR[2] = {};
    int m_NFixed[2] = {};
    int m_TwoPointFit[2] = {};
    int m_DensityMode[2] = {};

    // Per test.
    double m_FlowFactor[2][kMaxTests] = {};
    double m_TestRhoIn[2][kMaxTests] = {};   // kg/m³
    double m_TestRhoOut[2][kMaxTests] = {};
    double m_TestN[2][kMaxTests] = {};
    double m_TestC[2][kMaxTests] = {};
    double m_TestR[2][kMaxTests] = {};
    double m_TestR2[2][kMaxTests] = {};
    // First index 0 pre-test, 1 post-test; temperatures in the current
    // temperature unit, barometric pressure in Pa.
    double m_TestTin[2][2][kMaxTests] = {};
    double m_TestTout[2][2][kMaxTests] = {};
    double m_TestPbaro[2][2][kMaxTests] = {};
    double m_TestAltitude[2][kMaxTests] = {};   // ft or m, by the building dimension unit
    double m_TestPreBaseline[2][kMaxTests] = {};
    double m_TestPostBaseline[2][kMaxTests] = {};
    // Means of the positive and of the negative one-second baseline readings.
    double m_TestBaselinePlusPre[2][kMaxTests] = {};
    double m_TestBaselineMinusPre[2][kMaxTests] = {};
    double m_TestBaselinePlusPost[2][kMaxTests] = {};
    double m_TestBaselineMinusPost[2][kMaxTests] = {};

    // Deleted data points: their data lines and the last used index (-1 none).
    CString m_DeletedPoints[2][kMaxDeletedPoints];
    int m_LastDeletedIndex[2] = {};

    // Axis ranges of the leakage graph.
    double m_GraphPmin[2] = {};
    double m_GraphPmax[2] = {};
    double m_GraphQmin[2] = {};
    double m_GraphQmax[2] = {};

    double m_FanSpeed = 0.0;     // current fan speed command, device counts
    int m_bShown = 0;            // the screen's window exists
    int m_bRestored = 0;         // the screen was re-created after its pages were hidden
    int m_DevicesInUse = 0;      // gauge links in use
    int m_ChannelsInUse = 0;     // channels allocated on them
};
