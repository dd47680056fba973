// CTemperatureEntryDialog: the indoor and outdoor temperatures of every test
// (CGSB), per direction slot and test, and the modal dialog that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CTemperatureEntryDialog : public CDialog {
public:
    enum { IDD = 159 };
    static constexpr int kMaxTests = 32;

    CTemperatureEntryDialog();
    ~CTemperatureEntryDialog() override;

    // Empties the texts of one test.
    void ClearTestValues(int nSlot, int nTestIndex);
    // Empties the current texts and those of every test of the slot.
    void ClearDirection(int nSlot);
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

    CSimbrel1View* m_pView = nullptr;
    // Set while the test data reader asks for values an older file lacks;
    // the file reading then leaves this record alone.
    int m_bTestDataMode = 0;
    int m_bEditMode = 0;         // the dialog edits a test already recorded
    int m_nEditDirection = 0;    // the slot and test the dialog edits
    int m_nEditTest = 0;
    // The texts the dialog shows, for one test; current temperature unit.
    CString m_strIndoorTemp;
    CString m_strOutdoorTemp;
    // Current temperature unit, as typed.
    CString m_strTestIndoorTemp[2][kMaxTests];
    CString m_strTestOutdoorTemp[2][kMaxTests];
};
