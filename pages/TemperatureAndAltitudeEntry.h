// CTemperatureAndAltitudeEntry: the pre-test and post-test temperatures and
// the altitude of every test (ASTM E779), per direction slot and test, and
// the modal dialog that edits them.
#pragma once

#include "pages/TemperatureKeys.h"

class CTemperatureAndAltitudeEntry : public CEnvironmentDialog {
public:
    enum { IDD = 253 };
    static constexpr int kMaxTests = 32;
    // Which temperatures the dialog asks for.
    enum Stage { kPretest = 1, kPosttest = 2, kBothStages = 3 };

    CTemperatureAndAltitudeEntry();
    ~CTemperatureAndAltitudeEntry() override;

    // Empties the texts of one test.
    void ClearTestValues(int nSlot, int nTestIndex);
    // Empties the current texts and those of every test of the slot.
    void ClearDirection(int nSlot) override;
    // The test's lines of the test-data section; "" while its pre-test
    // indoor temperature is empty.
    CString WriteToFile(int nSlot, int nTestIndex);
    // Reads the completed tests of both slots from the view's file text and
    // copies their numbers into the store, both barometric pressures from
    // the altitude; the current texts become those of test 0 of the current
    // direction.
    void ReadFromFile();
    // 1 when the current texts are complete for the stage: pre-test
    // temperatures and altitude, and from stage 2 on the post-test ones.
    int HasRequiredValues(int nStage) const;
    // The same rule on test 0 of the slot.
    int HasTestValues(int nStage, int nSlot) const;

    int m_nStage = kPretest;     // set by the caller before the dialog shows
    // The texts the dialog shows, for one test.
    CString m_strPretestIndoorTemp;
    CString m_strPretestOutdoorTemp;
    CString m_strPosttestIndoorTemp;
    CString m_strPosttestOutdoorTemp;
    CString m_strAltitude;
    // As typed: temperatures in the current temperature unit, altitude in
    // the building length unit.
    CString m_strTestPretestIndoorTemp[2][kMaxTests];
    CString m_strTestPretestOutdoorTemp[2][kMaxTests];
    CString m_strTestPosttestIndoorTemp[2][kMaxTests];
    CString m_strTestPosttestOutdoorTemp[2][kMaxTests];
    CString m_strTestAltitude[2][kMaxTests];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Texts, and by the stage the hint, the post-test fields and Cancel.
    void SetTexts() override;
    void LoadTest(int nSlot, int nTestIndex) override;
    void StoreTest(int nSlot, int nTestIndex) override;
    std::vector<CTestedText> GetTestedTexts() override;
    int GetFirstFocus() const override;
    int GetOkShift() const override { return 120; }
    bool HidesCancelForTestData() const override { return false; }

    DECLARE_MESSAGE_MAP()
};
