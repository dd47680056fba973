// CTabCtrl: views a common tab control (a dialog item bound with
// DDX_Control); forwards to its TCM_ messages.
#pragma once

#include <commctrl.h>

#include "framework/Wnd.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl() = default;
    ~CTabCtrl() override = default;

    // The index of the new tab, or -1 when it could not be inserted.
    LONG InsertItem(int nItem, const wchar_t* pszItem);
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    // The previous selection, or -1.
    int SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, nItem)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    // bLarger: from a display area to the window rectangle that holds it;
    // otherwise the window rectangle to its display area.
    void AdjustRect(BOOL bLarger, LPRECT lpRect) { SendMessage(TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect)); }
};
