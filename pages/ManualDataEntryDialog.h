// CManualDataEntryDialog: the data points typed by hand for a manual test,
// per direction slot, and the modal grid that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CManualDataEntryDialog : public CDialog {
public:
    enum { IDD = 161 };
    // Row 0 the pre-test baseline, rows 1 to 12 the data points, row 13 the
    // post-test baseline.
    static constexpr int kRows = 14;

    CManualDataEntryDialog();
    ~CManualDataEntryDialog() override;

    // Empties the slot's rows and the baseline fields of the grid; the flow
    // source and the gauge choice stay.
    void ClearData(int nSlot);
    // The slot's rows as key lines of the test-data section.
    CString WriteToFile(int nSlot);
    void ReadFromFile();
    // The flow texts of both slots times the factor (a change of flow unit).
    void ScaleFlowTexts(double dFactor);

    CSimbrel1View* m_pView = nullptr;
    CString m_strBuildingP[2][kRows];   // Pa, with sign
    CString m_strFanP[2][kRows];        // Pa
    CString m_strFlow[2][kRows];        // current flow unit
    int m_nRing[2][kRows] = {};         // ring list index, -1 none chosen
    int m_nGauge[2] = {};               // 0 fan pressures typed, 1 flows typed
    int m_nRowCount[2] = {};            // complete data rows
    // Numbers of the slot's pre-test and post-test baseline averages.
    double m_dPreBaseline[2] = {};
    double m_dPostBaseline[2] = {};
    wchar_t m_chFanCode = 0;            // the equipment's fan, set before the grid shows
    // Baseline fields of the slot the grid shows.
    CString m_strPretestAvg;
    CString m_strPretestPlus;
    CString m_strPretestMinus;
    CString m_strPosttestAvg;
    CString m_strPosttestPlus;
    CString m_strPosttestMinus;
    int m_nFlowSource = 1;              // the grid's choice, 0 fan pressure, 1 flow
};
