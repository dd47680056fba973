// CTemperatureAndBarometricPressure: the temperatures, barometric pressure
// and altitude of every test (EN 13829 and ISO 9972), per direction slot and
// test, and the modal dialog that edits them.
#pragma once

#include "pages/TemperatureKeys.h"

class CTemperatureAndBarometricPressure : public CEnvironmentDialog {
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
    void ClearDirection(int nSlot) override;
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

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void SetTexts() override;
    void LoadTest(int nSlot, int nTestIndex) override;
    void StoreTest(int nSlot, int nTestIndex) override;
    std::vector<CTestedText> GetTestedTexts() override;
    // The pressure edit and its unit for a typed pressure, the altitude
    // edit for an altitude, the standard value for the standard pressure.
    void AfterLoad() override;
    void BeforeAccept() override;
    int GetFirstFocus() const override { return IDC_ENV_INDOOR; }

    void OnPressureChange();
    void OnAltitudeChange();
    void OnSourceStandard() { OnSource(kStandardPressure); }
    void OnSourcePressure() { OnSource(kTypedPressure); }
    void OnSourceAltitude() { OnSource(kPressureFromAltitude); }
    void OnSource(int nSource);

    DECLARE_MESSAGE_MAP()
};
