// CEquipmentInfoDialogIntl: the equipment of the test (fan, and the gauge
// read by hand in a manual test), its section of the files, the per-user
// defaults file every new test starts from, and the modal dialog that edits
// it and guards the test data against a change of fan or calibration.
#pragma once

#include "app/PageDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "framework/DateTimeCtrl.h"

class CSimbrel1View;

// One fan calibration table's texts, values and custom flags, and its
// custom-calibration indicator and date, as they were at one moment.
struct CFanCalibrationSnapshot {
    static constexpr int kRows = CFanCalibrationDialog::kFanRows;
    static constexpr int kRings = CFanCalibrationDialog::kRings;
    CString strC[kRows][kRings];
    CString strN[kRows][kRings];
    double dC[kRows][kRings] = {};
    double dN[kRows][kRings] = {};
    int bCustomC[kRows][kRings] = {};
    int bCustomN[kRows][kRings] = {};
    int bAnyCustom = 0;
    CString strDateUniv;
    CString strDateLocal;

    void Take(const CFanCalibrationDialog& calibration);
    // Every row's texts (the values parsed from them) and flags.
    void RestoreAll(CFanCalibrationDialog& calibration) const;
    // One row's texts with their values, its flags, the indicator and the
    // date; nothing for a row outside the table.
    void RestoreRow(CFanCalibrationDialog& calibration, int nRow) const;
    // A C or n text differs from the calibration's.
    bool TextsDiffer(const CFanCalibrationDialog& calibration) const;
};

class CEquipmentInfoDialogIntl : public CPageDialog {
public:
    enum { IDD = 252 };
    static constexpr int kFans = 5;
    static constexpr int kGauges = 4;

    CEquipmentInfoDialogIntl();
    ~CEquipmentInfoDialogIntl() override;

    // The equipment of a new test: fan 'Type S (230V)', gauge "RQ40", no
    // serial numbers. The calibration dates stay.
    void ClearData() override;
    // The "EQUIPMENT INFO" section: the fan lines, and the gauge lines of a
    // manual test.
    CString WriteToFile();
    void ReadFromFile();
    // "DefaultEquipmentInfo.dat" of the data folder. A missing file is no
    // error; one that cannot be opened is reported and read not at all. The
    // write goes to a new file that then replaces the old one: a failure is
    // reported naming the file and leaves the old file whole. True when
    // the file was written.
    void ReadDefaultsFile();
    bool WriteDefaultsFile();
    CString GetDefaultsPath() const;
    // The defaults file's text: a title line ended by CR LF, then the five
    // key lines each ended by LF.
    CString MakeDefaultsText() const;
    // The keys of a defaults file's text ('?' for a missing fan key).
    void ReadDefaultsText(const CString& strText);

    static int GetFanIndex(wchar_t chFanCode);
    static wchar_t GetFanCode(int nIndex);
    static int GetGaugeModelIndex(const CString& strName);
    static CString GetGaugeModelName(int nIndex);

    // The fan of the combo: asks before completed tests are cleared; No
    // keeps the fan. Same index: nothing.
    void SetFanIndex(int nIndex);
    void SetGaugeModel(int nIndex);
    // The calibration editor for the fan; asks before completed tests are
    // cleared, and Cancel there takes the edit back.
    void EditFanCalibration();
    bool IsManualTest() const;
    bool HasCompletedTests() const;

    wchar_t m_chFanCode = L'3';      // '3', '5', '4', 'A' or 'B'
    int m_nFanIndex = 0;             // row in the fan calibration tables, -1 unknown code
    CString m_strFanSerial;
    CString m_strGaugeModel;         // "RQ80", "RQ40", "RQ10" or "LZT"
    int m_nGaugeModel = 0;
    CString m_strGaugeSerial;
    CString m_strCalDateUniv;        // "%Y%m%d" or empty
    CString m_strCalDateLocal;       // the same in the locale's short form
    BOOL m_bSetAsDefaults = FALSE;   // OK writes the defaults file
    int m_bCalibrationChanged = 0;   // the fan calibration was edited from this dialog
    CDateTimeCtrl m_datePicker;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void SetPageTexts() override;
    void OnOK() override;
    void OnCancel() override;
    void UpdateControlStates();
    // Where the fan calibration's current row follows the fan; a fan
    // outside the table leaves the row as it is.
    void SetCalibrationRow(int nIndex);

    void OnFanChange();
    void OnGaugeChange();
    void OnDateChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDateSetFocus(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Taken when the dialog opens.
    int m_nUndoFanIndex = 0;
    wchar_t m_chUndoFanCode = L'3';
    CString m_strUndoFanSerial;
    int m_nUndoGaugeModel = 0;
    CString m_strUndoGaugeModel;
    CString m_strUndoGaugeSerial;
    CString m_strUndoDateUniv;
    CString m_strUndoDateLocal;
    CFanCalibrationSnapshot m_undoCalibration;
    bool m_bUndoTaken = false;

    DECLARE_MESSAGE_MAP()
};
