// CCustomPressuresDialog: the custom target pressures of the test and the
// modal dialog that edits them. Readers take the entries in order and stop
// at the first one below 0.1 Pa.
#pragma once

#include "app/PageDialog.h"

class CSimbrel1View;

class CCustomPressuresDialog : public CPageDialog {
public:
    enum { IDD = 154 };
    static constexpr int kPressureCount = 12;
    // The pressure fields, #1 to #12.
    static const int kFieldIds[kPressureCount];

    CCustomPressuresDialog();
    ~CCustomPressuresDialog() override;

    // No custom targets: every text empty and every parsed pressure 0.
    void ClearData() override;
    // The "CUSTOM PRESSURES INFO" lines of the files ("Build_Press_#1:" to
    // "Build_Press_#12:"), each written also when empty.
    CString WriteToFile() const;
    // The twelve keys from the view's file text; a missing key leaves its
    // entry empty.
    void ReadFromFile();
    // A value that reads as exactly -1 stands for no target: "0.0".
    static CString NormalizePressureText(const CString& strValue);

    // The twelve texts into both rows of numbers; an empty text, and one
    // that is no finite number, is 0 (which ends the list).
    void ParsePressures();
    // A standard's preset targets into the texts (the rest emptied), parsed.
    void SetCgsbPressures();
    void SetEn13829Pressures();
    void SetAstmE779Pressures();
    void SetIso9972Pressures();

    // Parses what the window leaves behind, also at the end of DoModal.
    BOOL DestroyWindow() override;

    CString m_strPressure[kPressureCount];   // Pa as typed; empty = no target
    // Parsed pressures of both slots (the rows are always equal); the last
    // entry of a row is never written and only ends the list.
    double m_dPressure[2][kPressureCount + 1] = {};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void SetTexts() override;

    DECLARE_MESSAGE_MAP()
};
