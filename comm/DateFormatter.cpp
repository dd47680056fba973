#include "comm/DateFormatter.h"

CString CDateFormatter::FormatDate(int nYear, int nMonth, int nDay) const
{
    return FormatDateForLocale(GetThreadLocale(), nYear, nMonth, nDay);
}

bool CDateFormatter::IsPlausibleDate(int nYear, int nMonth, int nDay)
{
    return nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31 && nYear >= 1900 && nYear <= 9999;
}

CString CDateFormatter::FormatDateForLocale(LCID lcid, int nYear, int nMonth, int nDay)
{
    if (!IsPlausibleDate(nYear, nMonth, nDay))
        return CString();
    CString strYear, strMonth, strDay;
    strYear.Format(L"%d", nYear);
    strMonth.Format(L"%d", nMonth);
    strDay.Format(L"%d", nDay);

    CString strDate;
    switch (lcid) {
    case 1033:
        strDate.Format(L"%s/%s/%s", strMonth.GetString(), strDay.GetString(), strYear.GetString());
        break;
    case 2052:
        strDate.Format(L"%s/%s/%s", strYear.GetString(), strMonth.GetString(), strDay.GetString());
        break;
    case 4100:
        strDate.Format(L"%s/%s/%s", strDay.GetString(), strMonth.GetString(), strYear.GetString());
        break;
    case 3084:
    case 4105:
        strDate.Format(L"%s/%s/%s", strYear.GetString(), PadTwoDigits(strMonth).GetString(),
                       PadTwoDigits(strDay).GetString());
        break;
    default:
        strDate.Format(L"%s/%s/%s", PadTwoDigits(strDay).GetString(), PadTwoDigits(strMonth).GetString(),
                       strYear.GetString());
        break;
    }
    return strDate;
}

CString CDateFormatter::PadTwoDigits(const CString& strText)
{
    if (strText.GetLength() == 1)
        return L"0" + strText;
    return strText;
}
