// CBusinessInfoDialog: the tester's letterhead for the reports and the
// modal dialog that edits it, with the report's header logo picture.
#pragma once

#include "app/PageDialog.h"


class CSimbrel1View;

class CBusinessInfoDialog : public CPageDialog {
public:
    enum { IDD = 149 };
    static constexpr int kKeyCount = 11;

    CBusinessInfoDialog();
    ~CBusinessInfoDialog() override;

    void ClearData() override;
    // The "BUSINESS INFO" lines of the test and configuration files: the
    // eleven keys, each written also when empty.
    CString WriteToFile() const;
    // The eleven keys from the view's file text; a missing key leaves its
    // text empty.
    void ReadFromFile();

    // Makes a picture the header logo without asking: ".jpg" and ".tif",
    // as written, become a ".bmp"; other extensions are copied as they are.
    // The old logo stays unless the new one is complete; false when the
    // picture could not be copied or converted.
    bool ImportLogoFile(const CString& strPath);
    // Load New Logo, Delete Logo (buttons 2339 and 2340).
    void OnLoadNewLogo();
    void OnDeleteLogo();

    // The header logo file of the data folder, empty when there is none.
    CString GetHeaderLogoFile() const;

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

    // Folder the logo file dialog opens in: empty at every opening, the
    // Documents folder at the first choice, then the last chosen file's.
    CString m_strLogoFolder;
    CWnd m_comboLogoPosition;      // combo 2343, always hidden

    BOOL OnInitDialog() override;
    // Esc does not leave the dialog: only Cancel does.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void SetTexts() override;

    // Copies the picture into the data folder as the header logo with the
    // given extension (".bmp" or ".emf" once converted). The copy and the
    // conversion go to a temporary file first; only a complete, readable
    // picture replaces the logo, and with bReplaceOther the header logo of
    // the other type goes too, so that one header logo remains.
    bool InstallLogo(const CString& strSource, const CString& strExtension, bool bConvert, bool bReplaceOther);

    DECLARE_MESSAGE_MAP()
};
