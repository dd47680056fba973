// CISO9972DataEntryDialog: the ISO 9972 test data (limit value, purpose of
// the test, building services, wind, building preparation) and the modeless
// page that edits them.
#pragma once

#include "app/PageDialog.h"

class CSimbrel1View;

class CISO9972DataEntryDialog : public CPageDialog {
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
