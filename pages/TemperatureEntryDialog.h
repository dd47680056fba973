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

    // Empties the texts of every test of the slot.
    void ClearDirection(int nSlot);
    // The test's lines of the test-data section.
    CString WriteToFile(int nSlot, int nTestIndex);
    void ReadFromFile();

    CSimbrel1View* m_pView = nullptr;
    // Set while the test data reader asks for values an older file lacks;
    // the file reading then leaves this record alone.
    int m_bTestDataMode = 0;
    // Current temperature unit, as typed.
    CString m_strTestIndoorTemp[2][kMaxTests];
    CString m_strTestOutdoorTemp[2][kMaxTests];
};
