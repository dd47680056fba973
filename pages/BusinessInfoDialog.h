// CBusinessInfoDialog: the tester's letterhead for the reports and the
// modal dialog that edits it.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CBusinessInfoDialog : public CDialog {
public:
    enum { IDD = 149 };

    CBusinessInfoDialog();
    ~CBusinessInfoDialog() override;

    void ClearData();
    // The "BUSINESS INFO" section of the test and configuration files.
    CString WriteToFile() const;
    void ReadFromFile();
    void ImportLogoFile(const CString& strPath);

    CSimbrel1View* m_pView = nullptr;
    CString m_strBusinessName;
    CString m_strNameLine2;
    CString m_strAddress;
    CString m_strAddressLine2;
    CString m_strCity;
    CString m_strState;
    CString m_strZip;
    CString m_strPhone;
    CString m_strFax;
    CString m_strEmail;
    CString m_strWebsite;
};
