// CTestStandardSelection: the standard of a new test, chosen when the test
// is started; it sets the settings record's standard, the standard's preset
// target pressures and samples per station, and can make the choice the
// default for new tests.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CTestStandardSelection : public CDialog {
    DECLARE_DYNAMIC(CTestStandardSelection)
public:
    enum { IDD = 259 };

    explicit CTestStandardSelection(CWnd* pParent = nullptr);
    // A modeless window from the same template.
    explicit CTestStandardSelection(CSimbrel1View* pView);
    ~CTestStandardSelection() override;
    using CDialog::Create;
    BOOL Create(CWnd* pParent = nullptr);

    // The list items, in standard-code order.
    static const wchar_t* GetListItem(int nStandard);
    static constexpr int kStandardCount = 4;

    CSimbrel1View* m_pView = nullptr;
    CWnd m_SetAsDefaultButton;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;

    void OnStandardChanged();
    void OnHelpButton();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
