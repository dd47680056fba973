// A frame window that remembers its placement between runs, in the profile
// section "Window size": restored at the first activation, stored when the
// window is destroyed.
#pragma once

#include "framework/Framework.h"

// The placement stored in the profile.
struct CStoredPlacement {
    CString strRect;  // "left top right bottom", each "%04d"
    int nIcon = 0;    // 1: minimised
    int nMax = 0;     // 1: maximised, or minimised from maximised
};

// Reads the four numbers of a stored rectangle; false when the text does
// not hold four integers separated by blanks.
bool ParsePlacementRect(const CString& strRect, RECT& rect);
// The placement to apply at the first activation; bStored is false when
// nothing usable was stored. ptMaxPosition is where a maximised window goes.
WINDOWPLACEMENT MakeRestoredPlacement(const CStoredPlacement& stored, bool bStored, POINT ptMaxPosition);
// What to store for the window's current placement.
CStoredPlacement MakeStoredPlacement(const WINDOWPLACEMENT& wp);

class CPersistentFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CPersistentFrame)
public:
    CPersistentFrame() = default;
    void ActivateFrame(int nCmdShow = -1) override;

    static const wchar_t* const kSection;

protected:
    int m_bFirstTime = 1;

    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
