// Paints the owner-drawn push buttons of the program's dialogs in one look:
// a caption-coloured face with a bevel, a focus frame and centred text.
#pragma once

#include "framework/Framework.h"

class CDrawButton : public CObject {
    DECLARE_DYNAMIC(CDrawButton)
public:
    CDrawButton() = default;
    ~CDrawButton() override = default;

    void Draw(CWnd* pButton, LPDRAWITEMSTRUCT lpDrawItemStruct);
};
