// CTemperatureEntryDialog: the indoor and outdoor temperatures of every test
// (CGSB), per direction slot and test, and the modal dialog that edits them.
#pragma once

#include "pages/TemperatureKeys.h"

class CTemperatureEntryDialog : public CEnvironmentDialog {
public:
    enum { IDD = 159 };
    static constexpr int kMaxTests = 32;

    CTemperatureEntryDialog();
    ~CTemperatureEntryDialog() override;

    // Empties the texts of one test.
    void ClearTestValues(int nSlot, int nTestIndex);
    // Empties the current texts and those of every test of the slot.
    void ClearDirection(int nSlot) override;
    // The test's lines of the test-data section; "" while its indoor
    // temperature is empty.
    CString WriteToFile(int nSlot, int nTestIndex);
    // Reads the completed tests of both slots from the view's file text and
    // copies their temperatures into the store (a test without keys takes
    // the store's values as texts); the current texts become those of test
    // 0 of the current direction.
    void ReadFromFile();
    // 1 when the current texts are complete: indoor and outdoor set.
    int HasRequiredValues() const;
    // The same rule on test 0 of the slot.
    int HasTestValues(int nSlot) const;

    // m_bTestDataMode: set while the test data reader asks for values an
    // older file lacks; the file reading then leaves this record alone.
    // The texts the dialog shows, for one test; current temperature unit.
    CString m_strIndoorTemp;
    CString m_strOutdoorTemp;
    // Current temperature unit, as typed.
    CString m_strTestIndoorTemp[2][kMaxTests];
    CString m_strTestOutdoorTemp[2][kMaxTests];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void SetTexts() override;
    void LoadTest(int nSlot, int nTestIndex) override;
    void StoreTest(int nSlot, int nTestIndex) override;
    std::vector<CTestedText> GetTestedTexts() override;
    int GetFirstFocus() const override { return IDC_ENV_INDOOR; }

    DECLARE_MESSAGE_MAP()
};
