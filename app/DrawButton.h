// Paints the owner-drawn push buttons of the program's dialogs in one look:
// a caption-coloured face with a bevel, a focus frame and centred text;
// and the tab-shaped buttons of the manual-entry page.
#pragma once

#include "framework/Framework.h"

class CDrawButton : public CObject {
    DECLARE_DYNAMIC(CDrawButton)
public:
    CDrawButton() = default;
    ~CDrawButton() override = default;

    void Draw(CWnd* pButton, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // pDC is not used: the owner-draw description carries the DC.
    void DrawTab(CDC* pDC, CWnd* pButton, int bSelected, LPDRAWITEMSTRUCT lpDrawItemStruct);

    // The owner-draw handler of the dialogs: paints a button item and makes
    // the focused button the dialog's default button; when the button that
    // was made default loses the focus, the hidden "No Action" button
    // becomes the default again. nFocusButtonId is the dialog's own memory
    // of the button it made default. False for an item that is not a
    // button (the caller passes it on).
    static bool DrawDialogButton(CDialog* pDialog, LPDRAWITEMSTRUCT lpDrawItemStruct, int& nFocusButtonId,
                                 int nNoActionId);
};
