// CCustomPressuresDialog: the custom target pressures of the test and the
// modal dialog that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CCustomPressuresDialog : public CDialog {
public:
    enum { IDD = 154 };
    static constexpr int kPressureCount = 12;

    CCustomPressuresDialog();
    ~CCustomPressuresDialog() override;

    // No custom targets: every text empty and every parsed pressure 0.
    void ClearData();
    // The "CUSTOM PRESSURES INFO" section of the files.
    CString WriteToFile() const;
    void ReadFromFile();

    // The twelve texts into both rows of numbers; an empty text is 0.
    void ParsePressures();
    // A standard's preset targets into the texts (the rest emptied), parsed.
    void SetCgsbPressures();
    void SetEn13829Pressures();
    void SetAstmE779Pressures();
    void SetIso9972Pressures();

    CSimbrel1View* m_pView = nullptr;
    CString m_strPressure[kPressureCount];   // Pa as typed; empty = no target
    // Parsed pressures of both slots (the rows are always equal); the last
    // entry of a row is never written and only ends the list.
    double m_dPressure[2][kPressureCount + 1] = {};
};
