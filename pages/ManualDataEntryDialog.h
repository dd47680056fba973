// CManualDataEntryDialog: the data points typed by hand for a manual test,
// per direction slot, and the modal grid that edits them. The computations
// live in pages/ManualDataRecord.h.
#pragma once

#include "framework/Dialog.h"
#include "pages/ManualDataRecord.h"

class CSimbrel1View;
class CFanCalibrationDialog;

class CManualDataEntryDialog : public CDialog {
public:
    enum { IDD = 161 };
    // Row 0 the pre-test baseline, rows 1 to 12 the data points, row 13 the
    // post-test baseline.
    static constexpr int kRows = 14;
    static constexpr int kGridRows = 12;
    // Control ids of the grid's rows 1 to 12 (index 0 is row 1).
    static const int kBuildingIds[kGridRows];
    static const int kRingIds[kGridRows];
    static const int kFanPIds[kGridRows];
    static const int kFlowIds[kGridRows];

    explicit CManualDataEntryDialog(CWnd* pParent = nullptr);
    ~CManualDataEntryDialog() override;

    // Record (both slots).
    // Empties the slot's rows, the grid's baseline fields and focus
    // bookkeeping, and through the view the slot's baseline and environment
    // records; the flow source and the gauge choice stay.
    void ClearData(int nSlot);
    // The slot's rows as key lines of the test-data section; "" when row 1
    // has no building pressure or no row 1 to 12 has a ring.
    CString WriteToFile(int nSlot) const;
    void ReadFromFile();
    // Reads from a file text: both slots, or (an older file) only
    // nCurrentSlot; bNewFormat chooses the prefixed keys over the older ones.
    void ReadFromText(const CString& strFileText, bool bBothSlots, bool bNewFormat, int nCurrentSlot);
    // The flow texts of rows 1 to 12 of both slots times the factor.
    void ScaleFlowTexts(double dFactor);

    // Grid computations on the record of slot d (no window needed).
    // The ring of the row as the grid counts it: -1 when none or beyond the
    // fan's list.
    int GetRowRing(int d, int nRow) const;
    // Loads the row's calibration into m_dRowC, m_dRowN, m_dRowMinP; false
    // without a usable ring or without the fan calibration.
    bool LoadRowCalibration(int d, int nRow);
    double m_dRowC = 0.0;
    double m_dRowN = 0.0;
    double m_dRowMinP = 0.0;

    // Dialog.
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // 1 accepted, 0 refused or skipped.
    int CheckCell(int nCellId);
    // 0 complete, -1 empty, 1 to 4 what is missing (from the controls).
    int GetRowStatus(int nRow);
    // 0 accepted, -1 refused (message shown, field focused).
    int CheckData(int d);
    // A fan pressure or flow typed in a row without a ring: removed, the
    // message shown and the focus on the row's ring list.
    void RefuseValueWithoutRing(CString& strValue, int nRow);
    int UpdateFlowFromFanPressure(int nRow);
    int UpdateFanPressureFromFlow(int nRow);

    CSimbrel1View* m_pView = nullptr;
    CFanCalibrationDialog* m_pFanCalibration = nullptr;
    CString m_strBuildingP[2][kRows];   // Pa, with sign
    CString m_strFanP[2][kRows];        // Pa
    CString m_strFlow[2][kRows];        // current flow unit
    int m_nRing[2][kRows] = {};         // ring list index, -1 none chosen
    int m_nGauge[2] = {};               // 0 fan pressures typed, 1 flows typed
    int m_nRowCount[2] = {};            // complete data rows
    // Numbers of the slot's pre-test and post-test baseline averages.
    double m_dPreBaseline[2] = {};
    double m_dPostBaseline[2] = {};
    wchar_t m_chFanCode = 0;            // the equipment's fan, set before the grid shows
    wchar_t m_chDirection = L'P';       // the letter of the shown slot
    // Baseline fields of the slot the grid shows.
    CString m_strPretestAvg;
    CString m_strPretestPlus;
    CString m_strPretestMinus;
    CString m_strPosttestAvg;
    CString m_strPosttestPlus;
    CString m_strPosttestMinus;
    CString m_strBaselineRange;         // hidden field 2441
    CString m_strHidden2408;
    int m_nFlowSource = 1;              // the grid's choice, 0 fan pressure, 1 flow

    // Focus bookkeeping while the grid is open.
    int m_nPendingFocusId = 0;
    int m_bMessageShown = 0;
    int m_bSettingFocus = 0;
    int m_nReturnFocusId = 0;
    double m_dLayoutScale = 1.0;
    CString m_strFanLabel;
    CString m_strDirectionLabel;
    CString m_strFlowHeader;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int ShownSlot() const;
    // Row 1..12 and kind of a cell id; 0 when the id is no grid cell.
    int FindCell(int nId, ManualCell& cell) const;
    void FillRingLists();
    void SelectRings(int d);
    void LoadBaselineFields(int d);
    void EnableCellsBySource();
    void ShowRecord() { UpdateData(FALSE); }
    void ReadRecord() { UpdateData(TRUE); }
    void ShowCellMessage(int nMessageId, int nRow, int nHelpTopic);
    int ShowGridMessage(int nMessageId, const CString& strText, int nIcon, int nKind);
    void FocusControl(int nId);
    void ReturnFocus(bool& bReturned);
    void ChangeDirection(int nNewSlot);
    void ApplyStandardLayout();
    // Fits the grid, its controls and their font to the parent window.
    void ScaleToParent();
    void RunEnvironmentPage(int d);

    void OnCommandRange(UINT nID);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnPaint();
    int m_nDefaultFocusButton = 0;

    DECLARE_MESSAGE_MAP()
};
