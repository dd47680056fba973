// CTestSettingsDialog: the settings of the open test (standard, method and
// direction of each slot, the automated test's parameters, the zones) and
// the Test Settings page that edits them. The record outlives the page.
#pragma once

#include "framework/Dialog.h"

class CFanCalibrationDialog;
class CSimbrel1View;
class CTestGraph1;

class CTestSettingsDialog : public CDialog {
public:
    enum { IDD = 148 };

    // Zones are indexed by their gauge channel, P3 to P8; 0 to 2 are unused.
    static constexpr int kZoneSlots = 9;
    static constexpr int kFirstZone = 3;
    static constexpr int kLastZone = 8;

    explicit CTestSettingsDialog(CSimbrel1View* pView);
    ~CTestSettingsDialog() override;

    // Every record member to its factory value: ISO 9972, automatic method
    // in both slots, no zonal pressures, zones inactive with default names.
    void SetFactoryDefaults();
    void ReadDefaultsFile();

    // The five automated-test parameters as typed (the files hold these).
    CString m_strTargetTolerance;    // Pa
    CString m_strDataSamples;        // readings averaged per station
    CString m_strFanAdjust;          // fan adjust rate (gain)
    int m_nPressuresChoice = 0;      // 0 the standard's targets, 1 custom, -1 unknown letter
    int m_nMethodIndex = 0;          // 0 manual, 1 automatic, 2 semi-automatic, -1 unknown
    CString m_strHighPressureLimit;  // Pa
    CString m_strFanStartPercent;    // percent of full fan speed
    int m_bZonalActive = 0;          // one switch for both slots
    CSimbrel1View* m_pView = nullptr;
    CFanCalibrationDialog* m_pFanCalibration = nullptr;   // not owned
    CTestGraph1* m_pTestGraph = nullptr;                  // not owned
    int m_bCreated = 0;              // the page window exists
    wchar_t m_chStandardLetter = 0;  // 'C', 'E', 'A', 'I', or 'U' for custom targets
    wchar_t m_chMethodLetter[2] = {};     // 'A', 'S' or 'M' per slot
    wchar_t m_chDirectionLetter[2] = {};  // 'P' in slot 0, 'D' in slot 1
    // Numbers of the texts above.
    double m_dTargetTolerance = 0.0;
    double m_dDataSamples = 0.0;
    double m_dHighPressureLimit = 0.0;
    double m_dFanStartPercent = 0.0;
    double m_dFanAdjust = 0.0;
    int m_nZoneActive[2][kZoneSlots] = {};
    CString m_strZoneName[2][kZoneSlots];
    int m_nZoneReference[2][kZoneSlots] = {};   // 0 outside, 1 inside
    int m_nFocusCtrlId = 0;
    int m_nStandard = 0;             // 0 CGSB, 1 EN 13829, 2 ASTM E779, 3 ISO 9972
    int m_bSetAsDefaults = 0;
};
