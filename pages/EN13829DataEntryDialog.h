// CEN13829DataEntryDialog: the EN 13829 test data (limit value, building
// services, wind, building preparation) and the modeless page that edits them.
#pragma once

#include "app/PageDialog.h"

class CSimbrel1View;

class CEN13829DataEntryDialog : public CPageDialog {
public:
    enum { IDD = 210 };

    explicit CEN13829DataEntryDialog(CSimbrel1View* pView);
    ~CEN13829DataEntryDialog() override;

    void ClearData();
    // The "EN13829 DATA INFO" section of the files.
    CString WriteToFile() const;
    void ReadFromFile();
    // The limit value after a change of units, and its unit text.
    void ConvertLimitValueUnits(double dFlowRatio, double dLengthRatio);
    void GetLimitValueUnits();


    int m_nLimitValueType = 0;   // 0 none, 1 to 12 a limit type
    CString m_strLimitValueName;
    CString m_strLimitValue;
    CString m_strRegulation;
    CString m_strHeatingType;
    CString m_strAirConditioningType;
    CString m_strVentilationType;
    int m_nVentilationSelection = 0;   // 0 none, 1 described in m_strVentilationType
    int m_nWindClass = 0;
    int m_nWindExposure = 0;
    int m_nTestMethod = -1;      // 0 none, 1 "A", 2 "B"; -1 until the first read or clear
};
