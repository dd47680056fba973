// CISO9972DataEntryDialog: the ISO 9972 test data (limit value, purpose of
// the test, building services, wind, building preparation) and the modeless
// page that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CISO9972DataEntryDialog : public CDialog {
public:
    enum { IDD = 283 };

    explicit CISO9972DataEntryDialog(CSimbrel1View* pView);
    ~CISO9972DataEntryDialog() override;

    void ClearData();
    // The "ISO9972 DATA INFO" section of the files.
    CString WriteToFile() const;
    void ReadFromFile();
    // The limit value after a change of units, and its unit text.
    void ConvertLimitValueUnits(double dFlowRatio, double dLengthRatio);
    void GetLimitValueUnits();

    // The page window: ShowPage creates and shows it (its layout taken when
    // the view asks for one), DestroyWindow closes it, RefreshPage gives the
    // remembered control the focus again while it is open.
    void ShowPage();
    BOOL DestroyWindow() override;
    void RefreshPage();
    BOOL OnInitDialog() override;

    CSimbrel1View* m_pView = nullptr;
    int m_bCreated = 0;          // the page window exists
    int m_nFocusCtrlId = 0;
    int m_bHiddenForPrint = 0;   // closed for printing; shown again afterwards
    int m_nLimitValueType = 0;   // 0 none, 1 to 12 a limit type
    CString m_strLimitValueName;
    CString m_strLimitValue;
    CString m_strRegulation;     // purpose of the test
    CString m_strHeatingType;
    CString m_strAirConditioningType;
    CString m_strVentilationType;
    int m_nVentilationSelection = 0;   // 0 none, 1 described in m_strVentilationType
    int m_nWindClass = 0;
    int m_nWindExposure = 0;
    CString m_strIsoTestMethod;  // building preparation, as chosen or typed
};
