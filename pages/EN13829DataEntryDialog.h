// CStandardDataPage: what the EN 13829 and the ISO 9972 data pages share
// (limit value, building services, wind, building preparation), and
// CEN13829DataEntryDialog, the EN 13829 one. Each page object is the record
// of its data; its window comes and goes with the page sequence.
#pragma once

#include "app/PageDialog.h"

class CSimbrel1View;

class CStandardDataPage : public CPageDialog {
public:
    static constexpr int kLimitTypes = 13;   // 0 none, then 12 names

    CStandardDataPage(UINT nIDTemplate, CSimbrel1View* pView, bool bIso);

    // Empties the texts and zeroes the choices; an open window keeps what it shows.
    void ClearData() override;
    // The section's key lines (a line also for an empty value).
    CString WriteToFile() const;
    // The keys from the view's loaded file text; an open window shows them.
    void ReadFromFile();
    // A per-area limit value after a change of units; then the unit label.
    void ConvertLimitValueUnits(double dFlowRatio, double dLengthRatio);
    // The unit of the current limit type; an open page shows it in its label.
    CString GetLimitValueUnits();

    // The name of limit type nType in the EN or ISO column (" " for 0, ""
    // outside the table), and the type of a name (exact, 0 when none).
    static CString GetLimitName(bool bIso, int nType);
    static int FindLimitType(bool bIso, const CString& strName);
    // The value text converted: value x flow ratio / length ratio², with
    // four significant digits (whole numbers from 1000 up, no trailing
    // zeros), so that converting back gives the value typed. Rates of air
    // change (types up to 4), no type and an empty text stay as they are.
    static CString ConvertLimitText(const CString& strValue, int nType, double dFlowRatio, double dLengthRatio);
    static CString FormatLimitValue(double dValue);
    // "0  Calm" to "8  Fresh Gale".
    static CString GetWindClassItem(int nIndex);

    int m_nLimitValueType = 0;   // 0 none, 1 to 12 a limit type
    CString m_strLimitValueName;
    CString m_strLimitValue;
    CString m_strRegulation;     // ISO: purpose of the test
    CString m_strHeatingType;
    CString m_strAirConditioningType;
    CString m_strVentilationType;
    int m_nVentilationSelection = 0;   // 0 none, 1 described in m_strVentilationType
    int m_nWindClass = 0;
    int m_nWindExposure = 0;
    CWnd m_comboLimitType;       // combo 2354 while the page is open

protected:
    // The standard's own building preparation method.
    virtual CString WriteMethodLine() const = 0;
    virtual void ReadMethod() = 0;
    virtual void ClearMethod() = 0;
    virtual void ExchangeMethod(CDataExchange* pDX) = 0;
    virtual void FillMethodCombo() = 0;
    virtual int MethodComboId() const = 0;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void SetTexts() override;
    void LayoutPage();
    void ExtendDropDownList(int nID);
    void FillCombos();
    void EnableVentilationEdit();

    void OnNext() { PostPageAction(3); }
    void OnPrevious() { PostPageAction(4); }
    void OnStoreSelection() { UpdateData(TRUE); }
    void OnVentilationNone();
    void OnVentilationDescribed();
    void OnLimitValueChange();
    void OnLimitTypeChange();

    bool m_bIso;

    DECLARE_MESSAGE_MAP()
};

class CEN13829DataEntryDialog : public CStandardDataPage {
public:
    enum { IDD = 210 };

    explicit CEN13829DataEntryDialog(CSimbrel1View* pView);
    ~CEN13829DataEntryDialog() override;

    int m_nTestMethod = -1;      // 0 none, 1 "A", 2 "B"; -1 until the first read or clear

protected:
    CString WriteMethodLine() const override;
    void ReadMethod() override;
    void ClearMethod() override { m_nTestMethod = 0; }
    void ExchangeMethod(CDataExchange* pDX) override;
    void FillMethodCombo() override;
    int MethodComboId() const override;
};
