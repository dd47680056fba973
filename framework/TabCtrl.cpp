#include "framework/TabCtrl.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

LONG CTabCtrl::InsertItem(int nItem, const wchar_t* pszItem)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(pszItem);
    return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, nItem, reinterpret_cast<LPARAM>(&item)));
}
