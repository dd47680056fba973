// CEquipmentInfoDialogIntl: the equipment of the test (fan, and the gauge
// read by hand in a manual test) and the modal dialog that edits it.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CEquipmentInfoDialogIntl : public CDialog {
public:
    enum { IDD = 252 };

    CEquipmentInfoDialogIntl();
    ~CEquipmentInfoDialogIntl() override;

    // The equipment of a new test: fan 'Type S (230V)', gauge "RQ40", no
    // serial numbers. The calibration dates stay.
    void ClearData();
    // The "EQUIPMENT INFO" section of the files.
    CString WriteToFile() const;
    void ReadFromFile();
    void ReadDefaultsFile();

    CSimbrel1View* m_pView = nullptr;
    wchar_t m_chFanCode = L'3';      // '3', '5', '4', 'A' or 'B'
    int m_nFanIndex = 0;             // row in the fan calibration tables, -1 unknown code
    CString m_strFanSerial;
    CString m_strGaugeModel;         // "RQ80", "RQ40", "RQ10" or "LZT"
    int m_nGaugeModel = 0;
    CString m_strGaugeSerial;
    BOOL m_bSetAsDefaults = FALSE;   // OK writes the defaults file
    int m_bCalibrationChanged = 0;   // the fan calibration was edited from this dialog
};
