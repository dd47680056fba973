// CBaselineDataEntry: the baseline pressures of a manual EN 13829 or
// ISO 9972 test, per direction slot, and the modal dialog that edits them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

// The three averages of baseline readings, as "%0.2f" texts.
struct BaselineAverages {
    CString strAvg = L"0.00";
    CString strPlus = L"0.00";
    CString strMinus = L"0.00";
};
// Every non-empty line of the text is one reading (CR LF, CR, LF and form
// feed each end a line): p(avg) the mean of all, p(+) of the positive and
// p(-) of the negative readings, 0 where there are none. Used while typing
// and for a stored text alike, so a saved test reads back the same values.
BaselineAverages ComputeBaselineAverages(const CString& strReadings);
// The readings block of a key in a file text: the first occurrence of the
// key that starts a line, the text after it up to the first form feed,
// without leading blanks and without its last line break on; "" when the
// key or the form feed is missing.
CString ExtractBaselineReadings(const CString& strFileText, const CString& strKey);
// The checks of gauge mode on the six averages, in order: 0 when they pass,
// else the message (5107, 5108, 5101, 5102).
int CheckBaselineAverages(const CString& strPreAvg, const CString& strPrePlus, const CString& strPreMinus,
                          const CString& strPostAvg, const CString& strPostPlus, const CString& strPostMinus);
// A readings text that ends with two line breaks loses its last one (true);
// texts of 3 characters or fewer are left alone.
bool DropDoubleLineBreak(CString& strText);

class CBaselineDataEntry : public CDialog {
public:
    enum { IDD = 220 };

    CBaselineDataEntry();
    ~CBaselineDataEntry() override;

    // Empties the slot's eight texts; its data source stays.
    void ClearData(int nSlot);
    // The slot's lines of the test-data section.
    CString WriteToFile(int nSlot);
    void ReadFromFile();
    // Reads from a file text: both slots with the prefixed keys, or (an
    // older file) only nCurrentSlot with the old keys.
    void ReadFromText(const CString& strFileText, bool bNewFormat, int nCurrentSlot);
    void ComputePretestAverages(int nSlot);
    void ComputePosttestAverages(int nSlot);
    void ClearAverages(int nSlot);
    bool AllAveragesEmpty(int nSlot) const;
    bool IsPretestPartlyFilled(int nSlot) const;
    bool IsPosttestPartlyFilled(int nSlot) const;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CSimbrel1View* m_pView = nullptr;
    int m_nDataSource[2] = {};   // 0 individual readings, 1 the gauge's baseline mode
    // Pa as typed.
    CString m_strPretestAvg[2];
    CString m_strPretestPlus[2];
    CString m_strPretestMinus[2];
    CString m_strPosttestAvg[2];
    CString m_strPosttestPlus[2];
    CString m_strPosttestMinus[2];
    // One reading per line, lines separated by CR LF.
    CString m_strPretestReadings[2];
    CString m_strPosttestReadings[2];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    int Slot() const;
    void SetPageTexts();
    void UpdateControlStates();
    void UpdatePretestAverages();
    void UpdatePosttestAverages();
    void UpdateAverages(int nEditId, bool bPretest);
    void ChangeSource(int nNewSource);
    int Ask(UINT nString, int nKind);
    // Undo copies of the shown slot.
    int m_nUndoSource = 0;
    CString m_strUndo[8];
    bool m_bUpdating = false;
    // The owner-drawn buttons in the program's style; the one drawn with the
    // focus is the default button.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
