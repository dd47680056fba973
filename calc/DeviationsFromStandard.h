// CDeviationsFromStandard: the deviations of each test from its standard
// and the Deviations from Standard page that shows them.
#pragma once

#include <memory>

#include "framework/Dialog.h"

class CSimbrel1View;

class CDeviationsFromStandard : public CDialog {
public:
    enum { IDD = 240 };
    static constexpr int kPositions = 40;   // one per rule of the standards' checks
    static constexpr int kMaxTests = 32;
    static constexpr int kLineLength = 110; // page text lines are cut at a blank before this
    static constexpr int kIncludeCheckBox = 2537;

    explicit CDeviationsFromStandard(CSimbrel1View* pView);
    ~CDeviationsFromStandard() override;

    // Stores the text at that position of the list of (d, t), making the
    // list first when it is missing. A position, slot or test outside the
    // lists changes nothing.
    void SetDeviation(int nPosition, const CString& strText, int d, int t);
    // Drops every list of both slots and leaves one empty list for slot 0,
    // test 0 (it holds the deviations that concern the whole test set).
    void ClearAllDeviations();
    // Non-empty texts of the test's own list; 0 when it has none.
    int CountDeviations(int d, int t) const;
    // Runs the standard checks for every completed test, slot 0 first.
    void RecheckAllTests(int bRecompute);
    // prefix + "Test%d_Deviation%d: %s\n" for every text of every completed
    // test of slot d (numbers counted from 1).
    CString WriteDeviationKeys(int d, const CString& strPrefix) const;
    // Rebuilds m_strText: every completed test, depressurization first.
    void FillDeviationText();
    // Draws the texts of one test with word-wrapping in the font and colour
    // given (both put back afterwards); returns (left, y below the last).
    CPoint PrintDeviations(CDC* pDC, CRect rc, int d, int t, CFont* pFont, COLORREF crText);
    // The text of a position as the page and the report show it for (d, t):
    // the record-wide positions come from slot 0, test 0.
    CString GetShownDeviation(int nPosition, int d, int t) const;
    static bool IsRecordWidePosition(int nPosition);
    // "      - " + text, cut at blanks to at most kLineLength characters where
    // possible, the rest on a second line after seven blanks; CR LF after
    // each line.
    static CString FormatDeviationLine(const CString& strText);

    // The page window: ShowPage creates it (Create) when it is missing and
    // shows it; the view destroys it when the user leaves the page.
    void ShowPage();
    using CDialog::Create;
    BOOL Create();
    void RefreshPage();
    void RefreshText();
    BOOL DestroyWindow() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnCancel() override;

    CString m_strText;            // the page text
    CSimbrel1View* m_pView = nullptr;
    int m_bCreated = 0;           // the page window exists
    // The deviation texts of each slot and test (kPositions each), null
    // until the test has one.
    std::unique_ptr<CStringArray> m_pLists[2][kMaxTests];
    int m_nFocusId = 0;           // control focused last, given the focus again
    int m_bIncludeInReport = 1;   // the deviations go into the test report (EN 13829, ISO 9972)
    int m_bHiddenForPrint = 0;    // closed while the pages are hidden; opened again afterwards

private:
    const CStringArray* GetList(int d, int t) const;
    int CompletedTests(int d) const;
    void PostNavigation(int nAction);
    void StoreIncludeCheckBox();

    void OnPrevious();
    void OnNext();
    void OnHelpButton();
    void OnIncludeClicked();
    void OnNoAction();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;     // owner-drawn button made default while focused

    DECLARE_MESSAGE_MAP()
};
