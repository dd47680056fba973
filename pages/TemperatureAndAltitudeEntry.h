// CTemperatureAndAltitudeEntry: the pre-test and post-test temperatures and
// the altitude of every test (ASTM E779), per direction slot and test, and
// the modal dialog that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CTemperatureAndAltitudeEntry : public CDialog {
public:
    enum { IDD = 253 };
    static constexpr int kMaxTests = 32;

    CTemperatureAndAltitudeEntry();
    ~CTemperatureAndAltitudeEntry() override;

    // Empties the texts of every test of the slot.
    void ClearDirection(int nSlot);
    // The test's lines of the test-data section.
    CString WriteToFile(int nSlot, int nTestIndex);
    void ReadFromFile();

    CSimbrel1View* m_pView = nullptr;
    // As typed: temperatures in the current temperature unit, altitude in
    // the building length unit.
    CString m_strTestPretestIndoorTemp[2][kMaxTests];
    CString m_strTestPretestOutdoorTemp[2][kMaxTests];
    CString m_strTestPosttestIndoorTemp[2][kMaxTests];
    CString m_strTestPosttestOutdoorTemp[2][kMaxTests];
    CString m_strTestAltitude[2][kMaxTests];
};
