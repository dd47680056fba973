// CDateTimeCtrl: views a date-time picker common control of a dialog
// (attached through DDX_Control); the dialog owns the window.
#pragma once

#include <commctrl.h>

#include "framework/Wnd.h"

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    CDateTimeCtrl() = default;

    // The display format; null restores the control's default (the
    // locale's short date). A format of one blank shows nothing.
    BOOL SetFormat(const wchar_t* pszFormat);
    // Null clears the date (only a picker with DTS_SHOWNONE can show none).
    BOOL SetTime(const SYSTEMTIME* pTime);
    // GDT_VALID with the date in time, or GDT_NONE (time unchanged).
    DWORD GetTime(SYSTEMTIME& time) const;
};
