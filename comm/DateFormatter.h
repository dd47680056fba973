// CDateFormatter: a calibration date as text in the date order of the user's
// locale, always with "/" between the parts. No state.
#pragma once

#include "framework/String.h"

class CDateFormatter {
public:
    // Orders the date by the calling thread's locale identifier.
    CString FormatDate(int nYear, int nMonth, int nDay) const;
    // The same for a given locale identifier.
    static CString FormatDateForLocale(LCID lcid, int nYear, int nMonth, int nDay);
    // "0" in front of a text of exactly one character.
    static CString PadTwoDigits(const CString& strText);
};
