// CFanCalibrationDialog: the fan calibration table (factory and custom C and
// n of every fan and ring, in the test's flow unit), its section of the test
// and configuration files, and the modal editor of one fan's values.
#pragma once

#include "framework/DateTimeCtrl.h"
#include "framework/Dialog.h"

class CSimbrel1View;

class CFanCalibrationDialog : public CDialog {
public:
    enum { IDD = 163 };
    static constexpr int kFanRows = 5;
    static constexpr int kRings = 6;

    CFanCalibrationDialog();
    ~CFanCalibrationDialog() override;

    // The editor's field texts: C and n of rings 0..5, the fan title and
    // the labels of rings 1..5.
    CString m_strFieldC[kRings];
    CString m_strFieldN[kRings];
    CString m_strFanTitle;
    CString m_strRingLabel[kRings - 1];

    int m_bAnyCustom = 0;
    // The selected fan and ring: Q = C * |Pfan|^n.
    double m_dSelN = 0.0;
    double m_dSelC = 0.0;                  // current flow unit
    double m_dSelMinFanPressure = 0.0;     // Pa
    int m_nFanRow = 0;                     // the row the editor shows
    CSimbrel1View* m_pView = nullptr;

    // The calibration in use (C in the current flow unit), what counts as
    // custom, and the texts shown and written to files.
    double m_dFanC[kFanRows][kRings] = {};
    double m_dFanN[kFanRows][kRings] = {};
    int m_bCustomC[kFanRows][kRings] = {};
    int m_bCustomN[kFanRows][kRings] = {};
    CString m_strFanC[kFanRows][kRings];
    CString m_strFanN[kFanRows][kRings];
    CString m_strCalDateUniv;    // YYYYMMDD, empty when none
    CString m_strCalDateLocal;   // the user's short date form
    // The editor's C fields by ring, then its n fields.
    CString* m_pFieldText[2 * kRings];
    CDateTimeCtrl m_DatePicker;

    // Fan code ('3', '5', '4', 'A', 'B') to row; -1 for any other.
    static int GetFanRow(wchar_t chFanCode);
    // The rings a row has: 6, 4 for row 3, 5 for row 4.
    static int GetRingCount(int nRow);
    static const wchar_t* GetFanKeyName(int nRow);
    static double GetFactoryN(int nRow, int nRing);
    static double GetFactoryMinFanPressure(int nRow, int nRing);

    // Selects C, n and the minimum fan pressure of a fan and ring; a code or
    // ring outside the table keeps the previous selection.
    void LoadFanRingCalibration(wchar_t chFanCode, int nRing);
    // The ring's nominal flow range in the current flow unit; 0-0 for a
    // code or ring outside the table.
    void GetNominalFlowRange(wchar_t chFanCode, int nRing, double& dMin, double& dMax) const;
    void ResetToFactory();
    // After a change of flow unit (factor = new unit factor / old one).
    void RescaleCustomC(double dFactor);
    // The "FAN CALIBRATION INFO" keys: read from the view's loaded file text
    // (after ResetToFactory), and the section's lines.
    void ReadCalibrationKeys();
    CString WriteCalibrationKeys() const;
    void ResetFanRowToFactory(int nRow);
    int IsCustomC(int nRow, int nRing) const;
    int IsCustomN(int nRow, int nRing) const;
    int AnyCustomForCurrentFan() const;
    // In the view's current flow unit (0 cfm, 1 m³/h, 2 l/s; another unit 0).
    double GetFactoryC(int nRow, int nRing) const;
    // Widens a "%.5g" text to nWidth characters (appending a point and
    // zeros); a value that does not fit the width keeps five significant
    // digits as a plain decimal instead, so the text reads back as its value.
    static void FormatToWidth(CString& strText, int nWidth);
    // The texts of a C (width 5) and an n (width 6).
    static CString FormatC(double dValue);
    static CString FormatN(double dValue);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnFieldUpdate();
    void OnSetToDefaults();
    void OnHelpButton();
    void OnNoAction();
    void OnDateChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDateSetFocus(NMHDR* pNMHDR, LRESULT* pResult);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

private:
    // Field i of the 12 (C rings 0..5, then n rings 0..5) and its control.
    static int FieldIndexOf(int nID);
    int FieldIsCustom(int nField) const;
    // Copies the row's texts into the fields (and the fields' windows).
    void RefreshFields();
    void EmptyDates();
    void ShowDate();
    void StoreDateFromPicker();
    // A C or n field of a ring the fan has that is empty or not above 0;
    // -1 when every field holds a value.
    int FindInvalidField() const;
    // Such fields take back the values the editor opened with.
    void RestoreInvalidFields();

    // The row's values when the editor opened.
    CString m_strOpenText[2 * kRings];
    double m_dOpenValue[2 * kRings] = {};
    int m_bOpenCustom[2 * kRings] = {};
    int m_bFilling = 0;          // the program is setting the fields
    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
