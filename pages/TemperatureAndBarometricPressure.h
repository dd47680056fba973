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
    // Where the barometric pressure of a test comes from.
    enum PressureSource { kStandardPressure = 0, kTypedPressure = 1, kPressureFromAltitude = 2 };
    static constexpr double kStandardPressurePa = 101325.0;

    CTemperatureAndBarometricPressure();
    ~CTemperatureAndBarometricPressure() override;

    // Empties the texts of one test; its pressure source becomes standard.
    void ClearTestValues(int nSlot, int nTestIndex);
    // The same for the current values and every test of the slot.
    void ClearDirection(int nSlot);
    // The test's lines of the test-data section; "" while its indoor
    // temperature is empty.
    CString WriteToFile(int nSlot, int nTestIndex);
    // Reads the completed tests of both slots from the view's file text and
    // copies their numbers into the store; the current values become those
    // of test 0 of the current direction.
    void ReadFromFile();
    // 1 when the current values are complete: both temperatures, and the
    // pressure or the altitude that the source needs.
    int HasRequiredValues() const;
    // The same rule on test 0 of the slot, with its source.
    int HasTestValues(int nSlot) const;
    // Removes the commas from the current pressure and altitude texts and
    // parses the edited ones (both when forced); clears the edit flags.
    void ParsePressureAndAltitude(int bForce);
    // The current pressure by the source, kept in m_dBaroPressure.
    double ComputeBarometricPressure();

    CSimbrel1View* m_pView = nullptr;
    int m_bEditMode = 0;         // the dialog edits a test already recorded
    int m_bTestDataMode = 0;     // the dialog asks for what an older file lacks
    int m_nEditDirection = 0;    // the slot and test the dialog edits
    int m_nEditTest = 0;
    // The values the dialog shows, for one test.
    CString m_strIndoorTemp;
    CString m_strOutdoorTemp;
    CString m_strBaroPressure;   // Pa
    CString m_strAltitude;       // building length unit
    int m_nPressureSource = kStandardPressure;
    double m_dBaroPressure = 0.0;
    double m_dAltitude = 0.0;
    int m_bPressureEdited = 0;
    int m_bAltitudeEdited = 0;
    // As typed: temperatures in the current temperature unit, altitude in
    // the building length unit.
    CString m_strTestIndoorTemp[2][kMaxTests];
    CString m_strTestOutdoorTemp[2][kMaxTests];
    CString m_strTestBaroPressure[2][kMaxTests];
    CString m_strTestAltitude[2][kMaxTests];
    int m_nTestPressureSource[2][kMaxTests] = {};
};
