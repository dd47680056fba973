// CDateFormatter: a calibration date as text in the date order of the user's
// locale, always with "/" between the parts. No state.
#pragma once

#include "framework/String.h"

class CDateFormatter {
public:
    // Orders the date by the calling thread's locale identifier; empty for
    // a date that is not plausible.
    CString FormatDate(int nYear, int nMonth, int nDay) const;
    // The same for a given locale identifier.
    static CString FormatDateForLocale(LCID lcid, int nYear, int nMonth, int nDay);
    // "0" in front of a text of exactly one character.
    static CString PadTwoDigits(const CString& strText);
    // A month 1-12, a day 1-31 and a four-digit year from 1900. Every date
    // text of a device's calibration date is empty otherwise: devices report
    // whatever bytes they hold, and the C run-time's "%x" must never see an
    // invalid date.
    static bool IsPlausibleDate(int nYear, int nMonth, int nDay);
};
