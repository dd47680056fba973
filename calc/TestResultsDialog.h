// CTestResultsDialog: the results page and the store of the results of the
// open test, with the computation that fills the store from the fits.
#pragma once

#include "app/PageDialog.h"

class CBuildingInfoDialog;
class CSimbrel1View;
class CTestGraph1;

// One result: a value and its error, each with its own valid flag. The error
// is a confidence half-width in percent of the value, except for the
// exponent n, whose error is absolute.
struct CResultValue {
    double m_dValue = 0.0;
    int m_bValid = 0;
    double m_dError = 0.0;
    int m_bErrorValid = 0;
};

class CTestResultsDialog : public CPageDialog {
public:
    // The page is created modeless from this template when it is shown.
    enum { IDD = 146 };

    static constexpr int kEntries = 25;
    // The entries in use; the others are never valid.
    enum Entry {
        kFlowAtRef = 0,         // flow at the reference pressure
        kAch = 1,               // air changes per hour at the reference pressure
        kFlowPerFloor = 2,      // flow per floor area
        kFlowPerEnvelope = 3,   // flow per envelope area
        kEqla = 5,              // equivalent leakage area at 10 Pa
        kEla = 6,               // effective leakage area at 4 Pa; ISO 9972: leakage area at the reference pressure
        kC = 7,                 // flow coefficient
        kN = 8,                 // flow exponent
        kR = 9,                 // correlation r; ISO 9972: r²
        kCStandard = 13,        // C at standard air density; read together with entry 7
    };

    explicit CTestResultsDialog(CSimbrel1View* pView);
    ~CTestResultsDialog() override;

    // Rebuilds every entry of direction slot d from its data; the other
    // slot's entries and the averages stay as they are.
    void ComputeResults(int d);
    // m_dRefPressure from m_strRefPressure, and the fit's flow error at that
    // pressure for slot d.
    void SelectReferencePressure(int d);
    // Entries 0 to 3 (and entry 6 for ISO 9972) at dRefPressure, from the
    // slot's C and n (entries 7 and 8) when both are valid.
    void ComputeDerivedResults(int d, double dRefPressure);
    // Means of both directions' n, C, EqLA and ELA with their errors.
    void AverageDirections();
    // Percent error of the mean of two values with percent errors.
    static double CombinedError(double dError1, double dValue1, double dError2, double dValue2);
    int IsEnOrIsoStandard() const;

    // Empties the result texts, all but the six C-at-standard-density and CL
    // texts, which keep their last contents until FormatResults writes them.
    void ClearResultTexts();
    // Rebuilds the result texts from the entries: the one-direction texts
    // when one slot holds completed tests, the table texts when both do.
    void FormatResults();
    // The results section of direction d in a test file (keys with strPrefix).
    CString WriteResultKeys(int d, const CString& strPrefix) const;
    // The reference pressure text from the loaded file text, or the
    // standard's default when the file has none.
    void ReadResultKeys();
    // True for digits with at most one decimal point: the only reference
    // pressure texts taken from a file or the registry.
    static bool IsPlainDecimalNumber(const CString& strText);
    // strLabel with its first "50" replaced by the reference pressure text.
    CString ReplaceReferencePressure(const CString& strLabel) const;
    // The unit text of a flow-per-area result, with the label of string id
    // nLabelId after it (0: no label).
    CString FormatPerAreaUnit(int nLabelId) const;

    // The page window (calc/TestResultsPage.cpp), owned by the main window.
    // Each opening computes and formats the results before the page shows them.
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The control that had the focus gets it again, and the texts are set again.
    void RefreshPage() override;
    void SetPageTexts();
    // When the view asks for a layout: places the page, makes the page font,
    // scales the visible controls and lengthens the reference pressure list.
    void ApplyPageLayout();
    void SetDropDownHeight(int nID);
    // A new reference pressure from list 2349: recomputes what depends on it
    // for the slots with tests, reformats and repaints.
    void OnSelchangeReferencePressure();
    // strLabel followed by "50", that "50" then made the reference pressure
    // ("cfm" gives cfm50, or cfm75 at 75 Pa).
    CString MakePressureLabel(const CString& strLabel) const;
    void ShowControl(int nID, int bShow);
    // The string nIDText and ":" as the control's text when it is to be
    // shown; then shows or hides it.
    void SetControlLabel(int nID, UINT nIDText, int bShow);
    // The three result groups, on the page window's own DC; or on any DC,
    // as they would stand in a page whose client area is rcClient.
    void PaintResults();
    void PaintResults(CDC* pDC, const CRect& rcClient);

    // The owner-drawn button that is the default while it has the focus
    // (the hidden "No Action" button otherwise); one for every results page.
    static int s_nFocusButtonId;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnPrevious();
    void OnNext();
    void OnHelpButton();
    void OnNoAction() {}
    void OnPaint();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    DECLARE_MESSAGE_MAP()

public:

    CTestGraph1* m_pTestGraph = nullptr;              // not owned
    CBuildingInfoDialog* m_pBuildingInfo = nullptr;   // not owned

    // Result texts (FormatResults). One direction: the slot that holds tests.
    CString m_strFlowAtRef;
    CString m_strFlowAtRefValue;
    CString m_strAch;
    CString m_strAchValue;
    CString m_strFlowPerFloor;
    CString m_strFlowPerFloorValue;
    CString m_strFlowPerFloorUnit;
    CString m_strFlowPerEnvelope;
    CString m_strFlowPerEnvelopeValue;
    CString m_strFlowPerEnvelopeUnit;
    CString m_strEqla;
    CString m_strEla;                 // ISO 9972: the leakage area at the reference pressure
    CString m_strIsoAreaPerFloor;
    CString m_strIsoAreaPerEnvelope;
    CString m_strC;
    CString m_strN;
    CString m_strR;
    CString m_strR2;                  // ISO 9972
    // Table texts, both slots side by side with their mean.
    CString m_strTabFlowLabel;
    CString m_strTabFlowSlot0;
    CString m_strTabFlowSlot1;
    CString m_strTabFlowMean;
    CString m_strTabAchLabel;
    CString m_strTabAchSlot0;
    CString m_strTabAchSlot1;
    CString m_strTabAchMean;
    CString m_strTabFloorUnit;
    CString m_strTabFloorSlot0;
    CString m_strTabFloorSlot1;
    CString m_strTabFloorMean;
    CString m_strTabEnvelopeUnit;
    CString m_strTabEnvelopeSlot0;
    CString m_strTabEnvelopeSlot1;
    CString m_strTabEnvelopeMean;
    CString m_strTabEqlaLabel;
    CString m_strTabEqlaSlot0;
    CString m_strTabEqlaSlot1;
    CString m_strTabEqlaMean;
    CString m_strTabEqlaPerEnvLabel;
    CString m_strTabEqlaPerEnvSlot0;
    CString m_strTabEqlaPerEnvSlot1;
    CString m_strTabEqlaPerEnvMean;
    CString m_strTabElaLabel;
    CString m_strTabElaSlot0;
    CString m_strTabElaSlot1;
    CString m_strTabElaMean;
    CString m_strTabElaPerEnvLabel;
    CString m_strTabElaPerEnvSlot0;
    CString m_strTabElaPerEnvSlot1;
    CString m_strTabElaPerEnvMean;
    CString m_strTabIsoPerFloorSlot0;
    CString m_strTabIsoPerFloorSlot1;
    CString m_strTabIsoPerFloorMean;
    CString m_strTabIsoPerEnvSlot0;
    CString m_strTabIsoPerEnvSlot1;
    CString m_strTabIsoPerEnvMean;
    CString m_strTabCLabel;
    CString m_strTabCSlot0;
    CString m_strTabCSlot1;
    CString m_strTabCMean;            // ASTM E779
    CString m_strTabNLabel;
    CString m_strTabNSlot0;
    CString m_strTabNSlot1;
    CString m_strTabNMean;            // ASTM E779
    CString m_strTabRLabel;
    CString m_strTabR2Label;          // ISO 9972
    CString m_strTabRSlot0;
    CString m_strTabRSlot1;

    CResultValue m_Results[2][kEntries];
    // The selected reference pressure, one for both directions: "50", "75",
    // "10" or "4" (Pa); any other text counts as 50 Pa.
    double m_dRefPressure = 50.0;
    CString m_strRefPressure = L"50";
    double m_dRefPressureFlowErrorPct[2] = {};

    // Averages of both directions (ASTM E779); 0 where a value, or an error,
    // is not valid in both.
    double m_dMeanN = 0.0;
    double m_dMeanC = 0.0;
    double m_dMeanEqla = 0.0;
    double m_dMeanEla = 0.0;
    double m_dMeanNError = 0.0;       // absolute
    double m_dMeanCErrorPct = 0.0;
    double m_dMeanEqlaErrorPct = 0.0;
    double m_dMeanElaErrorPct = 0.0;

    // EN 13829 and ISO 9972: the CL line and C at standard density. Not
    // emptied by ClearResultTexts.
    CString m_strCl;
    CString m_strCenvLabel;
    CString m_strCenv;
    CString m_strTabCenvLabel;
    CString m_strTabCenvSlot0;
    CString m_strTabCenvSlot1;

private:
    int StandardCode() const;
};
