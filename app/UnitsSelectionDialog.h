// CUnitsSelectionDialog: the form of the Units Selection command. The
// caller sets the four unit indices, runs it modally and on OK reads them
// back with the "Set as Defaults" box; the view applies and converts.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CUnitsSelectionDialog : public CDialog {
public:
    enum { IDD = 179 };

    explicit CUnitsSelectionDialog(CWnd* pParent = nullptr);
    ~CUnitsSelectionDialog() override;

    // The string ids of the two leakage-dimension choices: ISO 9972 (code 3)
    // gives its leakage dimensions in feet or meters, the others in inches
    // or centimeters. The indices keep their meaning either way.
    static UINT GetLeakageLabel(int nStandard, int nChoice);

    int m_nFlowUnit = -1;         // 0 cfm, 1 m³/h, 2 l/s
    int m_nBuildingUnit = -1;     // 0 ft, 1 m
    int m_nLeakageUnit = -1;      // 0 in, 1 cm
    int m_nTemperatureUnit = -1;  // 0 °F, 1 °C
    int m_bSetAsDefaults = 0;
    CSimbrel1View* m_pView = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnHelpButton();
    void OnNoAction() {}
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
