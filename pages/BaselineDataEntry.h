// CBaselineDataEntry: the baseline pressures of a manual EN 13829 or
// ISO 9972 test, per direction slot, and the modal dialog that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CBaselineDataEntry : public CDialog {
public:
    enum { IDD = 220 };

    CBaselineDataEntry();
    ~CBaselineDataEntry() override;

    // Empties the slot's eight texts; its data source stays.
    void ClearData(int nSlot);
    // The slot's lines of the test-data section.
    CString WriteToFile(int nSlot);
    void ReadFromFile();

    CSimbrel1View* m_pView = nullptr;
    int m_nDataSource[2] = {};   // 0 individual readings, 1 the gauge's baseline mode
    // Pa as typed.
    CString m_strPretestAvg[2];
    CString m_strPretestPlus[2];
    CString m_strPretestMinus[2];
    CString m_strPosttestAvg[2];
    CString m_strPosttestPlus[2];
    CString m_strPosttestMinus[2];
    // One reading per line, lines separated by CR LF.
    CString m_strPretestReadings[2];
    CString m_strPosttestReadings[2];
};
