// CTemperatureAndBarometricPressure: the temperatures, barometric pressure
// and altitude of every test (EN 13829 and ISO 9972), per direction slot and
// test, and the modal dialog that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CTemperatureAndBarometricPressure : public CDialog {
public:
    enum { IDD = 221 };
    static constexpr int kMaxTests = 32;

    CTemperatureAndBarometricPressure();
    ~CTemperatureAndBarometricPressure() override;

    // Empties the texts of every test of the slot.
    void ClearDirection(int nSlot);
    // The test's lines of the test-data section.
    CString WriteToFile(int nSlot, int nTestIndex);
    void ReadFromFile();

    CSimbrel1View* m_pView = nullptr;
    // As typed: temperatures in the current temperature unit, altitude in
    // the building length unit.
    CString m_strTestIndoorTemp[2][kMaxTests];
    CString m_strTestOutdoorTemp[2][kMaxTests];
    CString m_strTestAltitude[2][kMaxTests];
};
