// CTestSettingsDialog: the settings of the open test (standard, method and
// direction of each slot, the automated test's parameters, the zones) and
// the Test Settings page that edits them. The record outlives the page.
#pragma once

#include "app/PageDialog.h"

class CFanCalibrationDialog;
class CSimbrel1View;
class CTestGraph1;

class CTestSettingsDialog : public CPageDialog {
public:
    enum { IDD = 148 };

    // Zones are indexed by their gauge channel, P3 to P8; 0 to 2 are unused.
    static constexpr int kZoneSlots = 9;
    static constexpr int kFirstZone = 3;
    static constexpr int kLastZone = 8;

    explicit CTestSettingsDialog(CSimbrel1View* pView);
    ~CTestSettingsDialog() override;

    // Every record member to its factory value: ISO 9972, automatic method
    // in both slots, no zonal pressures, zones inactive with default names.
    void SetFactoryDefaults();

    // Section "TEST SETTINGS INFO" of the test and configuration files, for
    // direction slot nSlot (0 or 1). The keys are read without prefix
    // whatever strPrefix is; the writer puts strPrefix before its keys.
    void ReadFromFile(int nSlot, const CString& strPrefix);
    CString WriteToFile(int nSlot, const CString& strPrefix) const;

    // "DefaultSettings.dat" in the view's data folder: standard, direction,
    // method and the five parameter texts of new tests. A missing or
    // unreadable file changes nothing; a file that cannot be written is
    // reported with the file-error message and the old file is kept.
    void ReadDefaultsFile();
    bool WriteDefaultsFile() const;
    // The texts of the defaults file (also what WriteDefaultsFile stores).
    CString BuildDefaultsText() const;
    void ApplyDefaultsText(const CString& strText);

    // The five numbers from the five texts.
    void ParseNumericSettings();

    // Standard, method and direction in their code, name and letter forms.
    static CString GetDefaultDataSamples(int nStandard);  // "200" for ISO 9972, else "100"
    CString GetStandardName() const;
    static int GetStandardCode(const CString& strName);
    wchar_t GetStandardLetter(int nPressuresChoice) const;
    // The file letter of a standard code: 'C', 'E', 'A' or 'I'.
    static wchar_t GetLetterOfStandard(int nStandard);
    // Pressures choice, standard code and method index from the letters.
    void SetStandardFromLetter(int nSlot);
    int GetPressuresChoiceFromLetter(wchar_t chLetter) const;
    static int GetMethodIndex(wchar_t chLetter);
    static wchar_t GetMethodLetter(int nMethodIndex);
    static int GetDirectionIndex(wchar_t chLetter);
    static wchar_t GetFirstLetter(const CString& strText);  // '?' for ""
    bool IsEnOrIsoStandard() const;

    // Zones 3 to 8 of the slot: inactive, outside reference, default names.
    void SetDefaultZones(int nSlot);
    // The source slot's method, ring (or the open fan without bCopyRing)
    // and zones into the target slot; the direction letters stay.
    void CopyDirectionSettings(int nTargetSlot, int nSourceSlot, int bCopyRing);
    // Makes the direction of the letter ('P' or 'D') the current one, taking
    // over the settings of the direction that was current.
    void SetTestDirection(wchar_t chDirectionLetter);

    // The page. Enabled states of its controls for a method letter, a
    // standard letter, the open file's key layout and the zonal switch.
    struct CControlStates {
        bool bMethodEntries;     // standard's pressures choice, samples, limit, factory reset, zones
        bool bAutoOnlyEntries;   // fan adjust rate, target tolerance, fan start
        bool bEditCustom;        // "Edit Custom Pressures"
        bool bZoneSettings;      // the zonal set-up button
    };
    static CControlStates GetControlStates(wchar_t chMethodLetter, wchar_t chStandardLetter, int bNewFormatFile,
                                           int bZonalActive);
    // Outcome of a typed high-pressure limit or fan start percentage.
    enum class LimitCheck { Accepted, Warned, Refused };
    static LimitCheck CheckHighPressureLimit(double dValue);   // 0 to 150 Pa, warned above 90
    static LimitCheck CheckFanStartPercent(double dValue);     // 0 to 50 %

    void RefreshPage() override;
    // Texts, enabled and hidden states; the layout when the view asks for one.
    void RefreshControls();
    void SetTexts() override;
    void LayoutPage();
    // Method index n (0 manual, 1 automatic, 2 semi-automatic) after the
    // confirmation a change with measured data needs; 1 when it changed.
    int SetMethod(int n);
    // The five parameter texts to their factory values; nothing else.
    void RestoreFactorySettings();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    void OnDestroy();
    void OnStandardChanged();
    void OnDefaultPressures();
    void OnCustomPressures();
    void OnEditCustomPressures();
    void OnManual();
    void OnAuto();
    void OnSemiAuto();
    void OnDirectionRadio() {}
    void OnZonalActive();
    void OnZonalSettings();
    void OnLimitKillFocus();
    void OnFanStartKillFocus();
    void OnSamplesChange();
    void OnDecimalEditChange();
    void OnFactorySettings();
    void OnNext();
    void OnPrevious();

private:
    // Asks string 4342 about the change named by string nIDWhat; true on Yes.
    bool ConfirmDataClearing(int nIDWhat);
    void StoreControls();
    void PutRecordIntoControls();
    void FocusNext();
    void ApplyRadioChoices();
    // The slot's flow axis and calibration from the equipment's fan and the
    // slot's installed ring.
    void RefreshFanSetup(int nSlot);
    void CheckTypedLimit(int nID, CString& strText, double& dNumber, bool bStoreNumber,
                         LimitCheck (*check)(double), int nIDRange);

    // Set while a limit check runs: the focus moves that its message and
    // its focus return cause start no other check.
    int m_bCheckingLimit = 0;

public:

    // The five automated-test parameters as typed (the files hold these).
    CString m_strTargetTolerance;    // Pa
    CString m_strDataSamples;        // readings averaged per station
    CString m_strFanAdjust;          // fan adjust rate (gain)
    int m_nPressuresChoice = 0;      // 0 the standard's targets, 1 custom, -1 unknown letter
    int m_nMethodIndex = 0;          // 0 manual, 1 automatic, 2 semi-automatic, -1 unknown
    CString m_strHighPressureLimit;  // Pa
    CString m_strFanStartPercent;    // percent of full fan speed
    int m_bZonalActive = 0;          // one switch for both slots
    CFanCalibrationDialog* m_pFanCalibration = nullptr;   // not owned
    CTestGraph1* m_pTestGraph = nullptr;                  // not owned
    wchar_t m_chStandardLetter = 0;  // 'C', 'E', 'A', 'I', or 'U' for custom targets
    wchar_t m_chMethodLetter[2] = {};     // 'A', 'S' or 'M' per slot
    wchar_t m_chDirectionLetter[2] = {};  // 'P' in slot 0, 'D' in slot 1
    // Numbers of the texts above.
    double m_dTargetTolerance = 0.0;
    double m_dDataSamples = 0.0;
    double m_dHighPressureLimit = 0.0;
    double m_dFanStartPercent = 0.0;
    double m_dFanAdjust = 0.0;
    int m_nZoneActive[2][kZoneSlots] = {};
    CString m_strZoneName[2][kZoneSlots];
    int m_nZoneReference[2][kZoneSlots] = {};   // 0 outside, 1 inside
    int m_nStandard = 0;             // 0 CGSB, 1 EN 13829, 2 ASTM E779, 3 ISO 9972
    int m_bSetAsDefaults = 0;

    DECLARE_MESSAGE_MAP()
};
