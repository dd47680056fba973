// CPageDialog: what the test information pages share. The page object is
// the record of the data the page edits and lives for the whole run, while
// its window comes and goes: modeless pages of the page sequence (opened
// with ShowPage, moved on by asking the view) and modal dialogs (one
// DoModal each). Keys, the Enter walk over the entry fields, the default
// button that follows the focused owner-drawn button, the texts and
// layout, Clear and Help are here; each page gives its own ids and texts.
#pragma once

#include <vector>

#include "framework/Dialog.h"

class CSimbrel1View;

class CPageDialog : public CDialog {
public:
    CPageDialog(UINT nIDTemplate, CSimbrel1View* pView);

    // Creates the window unless it exists (one window per record: a second
    // would orphan the first), shows it and gives the remembered control the
    // focus. FALSE when the window cannot be created.
    BOOL CreateModeless();
    BOOL ShowPage() { return CreateModeless(); }
    BOOL DestroyWindow() override;
    // Gives the remembered control the focus again and sets the texts, while
    // the page is open.
    virtual void RefreshPage();
    // Default button, controls from the members, texts and layout, placement.
    BOOL OnInitDialog() override;
    // Dialog keys of a modeless page (no modal loop routes them): remembers
    // the focused control, and hands an Alt combination to the main window.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // A modeless page's hidden OK button and the Esc key ask the view to
    // close it; a modal dialog ends as usual.
    void OnOK() override;
    void OnCancel() override;

    // Stores the typed values, then asks the view (kPageNavigateMessage with
    // the template id) to act; nothing is asked without a view.
    void PostPageAction(int nAction);
    // What a page stores from its controls before it is left.
    virtual void StoreTypedValues() { UpdateData(TRUE); }

    // Caption, labels and visibility. Changes nothing while a report is
    // printed to a PDF file; lays the page out first when the view asks
    // for a new layout. Pages override SetTexts for their own labels.
    virtual void SetPageTexts();
    virtual void SetTexts() {}
    // Places the page, makes the page font and scales every control.
    void LayoutControls();
    // Scales one control with the page and gives it the page font; pages
    // whose controls need insets set them in GetControlInsets.
    void ScaleControl(int nID);
    virtual bool GetControlInsets(int /*nID*/, RECT& /*rcInsets*/) const { return false; }
    // String nStringId as the text of control nID (nID 0: the caption);
    // nothing without a view or without the control.
    void SetControlText(int nID, int nStringId);
    void ShowControl(int nShowCommand, int nID);

    // The hidden default button's handler: the focus moves forward in tab
    // order to the next entry field. When no entry field can take the focus
    // the walk stops where it started and the focus stays.
    void OnNoAction();
    bool IsEntryField(int nID) const;
    // Clear button: asks, and only on Yes empties the record and the fields.
    void OnClearButton();
    virtual void ClearData() {}
    // After a confirmed Clear has emptied the fields (a page's date picker).
    virtual void AfterClear() {}
    void OnHelpButton();

    CSimbrel1View* m_pView = nullptr;
    int m_bCreated = 0;          // the page window exists
    int m_nFocusCtrlId = 0;      // control focused at the next opening
    int m_bHiddenForPrint = 0;   // closed for printing; shown again afterwards

protected:
    // The page's part of the pattern, set by its constructor.
    int m_nNoActionId = 0;            // the hidden default button (0: none)
    std::vector<int> m_EntryFields;   // the fields Enter walks through
    int m_nHelpTopic = -1;            // context help topic (-1: none)
    int m_nFocusButtonId = 0;         // the owner-drawn button made default

    void OnDestroy();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The direct child of the page that holds hWnd, or null.
    HWND GetPageChild(HWND hWnd) const;
    void ScaleChild(HWND hChild);
    bool m_bOpenedModal = false;      // the window runs in DoModal

    DECLARE_MESSAGE_MAP()
};
