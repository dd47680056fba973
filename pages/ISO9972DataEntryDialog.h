// CISO9972DataEntryDialog: the ISO 9972 test data (limit value, purpose of
// the test, building services, wind, building preparation) and the modeless
// page that edits them; the twin of the EN 13829 page.
#pragma once

#include "pages/EN13829DataEntryDialog.h"

class CSimbrel1View;

class CISO9972DataEntryDialog : public CStandardDataPage {
public:
    enum { IDD = 283 };

    explicit CISO9972DataEntryDialog(CSimbrel1View* pView);
    ~CISO9972DataEntryDialog() override;

    CString m_strIsoTestMethod;  // building preparation, as chosen or typed

protected:
    CString WriteMethodLine() const override;
    void ReadMethod() override;
    void ClearMethod() override { m_strIsoTestMethod.Empty(); }
    void ExchangeMethod(CDataExchange* pDX) override;
    void FillMethodCombo() override;
    int MethodComboId() const override;
};
