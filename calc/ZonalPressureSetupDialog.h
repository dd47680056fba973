// CZonalPressureSetupDialog: the modal editor of the six zone channels P3 to
// P8 of one test direction: active or not, name, and whether the zone's
// gauge measures against the outside or the inside. The active zones are
// always P3 up to some Pn.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CZonalPressureSetupDialog : public CDialog {
public:
    enum { IDD = 181 };
    static constexpr int kZones = 6;

    explicit CZonalPressureSetupDialog(CWnd* pParent = nullptr);
    ~CZonalPressureSetupDialog() override;

    // Zone numbers 3 to 8; any other number addresses zone 3.
    void SetZoneActive(int nZone, int bActive);
    int GetZoneActive(int nZone) const;
    // A line break in a name becomes a blank: names are file values, and a
    // value never holds a line break.
    void SetZoneName(int nZone, const CString& strName);
    CString GetZoneName(int nZone) const;
    // 1 inside; any other side reads as outside (0).
    void SetZoneReference(int nZone, int nSide);
    int GetZoneReference(int nZone) const;

    // The row a zone number addresses (0 for P3).
    static int ZoneRow(int nZone);
    // The activation rule: after box nRow changed to bTicked, the boxes
    // below a ticked one are ticked and those above a cleared one cleared.
    static void ApplyContiguousActivation(int* pActive, int nRow, int bTicked);
    static CString JoinLines(const CString& strText);

    int m_bActive[kZones] = {};
    CString m_strName[kZones];
    int m_nReference[kZones] = {-1, -1, -1, -1, -1, -1};
    CSimbrel1View* m_pView = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnActivate(UINT nID);
    void OnHelpButton();
    void OnNoAction() {}
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
