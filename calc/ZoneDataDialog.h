// CZoneDataDialog: the zone data page and the record of the zone fit. For
// every active zone it fits zone pressure against building pressure and
// tells how the 50 Pa across the building divide into building-to-zone and
// zone-to-outside pressure; its chart shows the readings and fitted lines.
#pragma once

#include "app/PageDialog.h"
#include "calc/QarGraphGenerator.h"

class CQarMathFunctions;
class CSimbrel1View;
class CTestGraph1;

class CZoneDataDialog : public CPageDialog {
public:
    enum { IDD = 182 };
    static constexpr int kZones = 6;             // rows 0 to 5: zones P3 to P8
    static constexpr int kFirstZone = 3;
    static constexpr int kReadingsPerSlot = 128;
    // Both slots together: the combined fit appends one slot to the other.
    static constexpr int kMaxReadings = 2 * kReadingsPerSlot;
    static constexpr double kReferencePressure = 50.0;   // Pa, whatever the results page shows

    explicit CZoneDataDialog(CSimbrel1View* pView);
    ~CZoneDataDialog() override;

    // Loads, fits and formats everything; bSetControls (1 only from
    // OnInitDialog) also labels and enables the zone check buttons.
    void UpdateZoneData(int bSetControls);
    // The readings of the slot's active zones into the slot's buffers, with
    // slot 1's appended (bAppend); the number of readings per zone.
    int LoadZoneReadings(int bAppend, int nSlot);
    // Fits the first nCount readings of every zone active in the slot: the
    // row texts and the chart lines (page mode), or the slot's report texts.
    void FitZones(int nSlot, int bReport, int nCount);
    // Rebuilds the labels and reference texts of the slot's rows only.
    void RefreshRowLabels(int nSlot);

    // x = building pressure counted positive in the direction of the test;
    // y = pressure across the zone's outer boundary (outside reference) or
    // its inner one (inside reference), with the same orientation.
    static void OrientReading(wchar_t chDirectionLetter, int nReference, double dP, double dZ, double& x,
                              double& y);
    // 1 only for an inside reference; every other value reads as outside.
    static int IsInsideReference(int nReference) { return nReference == 1; }
    static COLORREF GetZoneColor(int nRow);

    // The row texts as the page shows them; the slot does not change them.
    CString GetBuildingToZoneText(int nRow, int nSlot) const;
    CString GetZoneToOutsideText(int nRow, int nSlot) const;
    CString GetPressureErrorText(int nRow, int nSlot) const;
    CString GetZoneRatioText(int nRow, int nSlot) const;
    CString GetRatioErrorText(int nRow, int nSlot) const;
    CString GetReferenceText(int nRow, int nSlot) const;

    // The page window: RefreshPage also sets the texts again; the layout is
    // taken once the texts are set.
    void RefreshPage() override;
    BOOL OnInitDialog() override;
    void SetPageTexts();
    // The chart's plot rectangle in page client coordinates: that of the
    // hidden frame 1535, whatever the page's border and caption.
    CRect GetChartRect() const;

    int m_bGraphed[kZones] = {};
    CString m_strBuildingToZone[kZones];
    CString m_strZoneToOutside[kZones];
    CString m_strReference[kZones];
    CString m_strPressureError[kZones];
    CString m_strRatio[kZones];
    CString m_strRatioError[kZones];
    CTestGraph1* m_pTestGraph = nullptr;   // the measured data; not owned
    CQarMathFunctions* m_pMath = nullptr;  // the view's, taken at every fit
    CQarGraphGenerator m_Chart;            // series i is zone row i
    // Per slot, by zone number (3 to 8): the zone's name and "-P3" and so on.
    CString m_strZoneLabel[2][10];
    int m_bResetGraphed = 1;     // the next update ticks the Graphed box of every active zone
    double m_dBuildingPressure[2][kZones][kMaxReadings] = {};
    double m_dZonePressure[2][kZones][kMaxReadings] = {};
    // Each slot's own zone-to-outside pressure at 50 Pa, kept when both slots are fitted.
    CString m_strReportText[2][kZones];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The page stays until the view closes it: Enter and Esc do nothing.
    void OnOK() override {}
    void OnCancel() override {}

    void ApplyPageLayout();
    void OnZoneCheck(UINT nID);
    void OnHelpButton();
    void OnPrevious();
    void OnNext();
    void OnNoAction() {}
    void OnPaint();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

private:
    void EmptyRow(int nRow);
    // Page mode: the row texts from the slope and its error.
    void FormatZoneRow(int nRow, int bInside, double b, double seB);

    DECLARE_MESSAGE_MAP()
};
