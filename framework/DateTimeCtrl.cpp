#include "framework/DateTimeCtrl.h"

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

BOOL CDateTimeCtrl::SetFormat(const wchar_t* pszFormat)
{
    return static_cast<BOOL>(SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(pszFormat)));
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* pTime)
{
    const WPARAM flag = pTime != nullptr ? GDT_VALID : GDT_NONE;
    return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, flag, reinterpret_cast<LPARAM>(pTime)));
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME& time) const
{
    SYSTEMTIME st{};
    const DWORD dwResult = static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)));
    if (dwResult == GDT_VALID)
        time = st;
    return dwResult;
}
