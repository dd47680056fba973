// Date texts of a device's calibration date: a device may report any bytes
// as its date, and every text is empty for a month outside 1-12, a day
// outside 1-31 or a year outside 1900-9999, whichever protocol read it.
#include <gtest/gtest.h>

#include "comm/DateFormatter.h"
#include "comm/QarCommunications.h"

TEST(CalibrationDateTexts, ImplausibleDatesGiveNoTextAtAll)
{
    struct Case {
        int nYear, nMonth, nDay;
        const wchar_t* pszLocale;  // locale 1033
        const wchar_t* pszNumeric;
    };
    const Case cases[] = {
        {2019, 3, 5, L"3/5/2019", L"20190305"},     {1900, 1, 1, L"1/1/1900", L"19000101"},
        {9999, 12, 31, L"12/31/9999", L"99991231"}, {2019, 2, 31, L"2/31/2019", L"20190231"},
        {2019, 0, 5, L"", L""},                     {2019, 13, 5, L"", L""},
        {2019, 3, 0, L"", L""},                     {2019, 3, 32, L"", L""},
        {1899, 12, 31, L"", L""},                   {10000, 1, 1, L"", L""},
        {2255, 255, 255, L"", L""},                 {2000, 0, 0, L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nYear << "-" << c.nMonth << "-" << c.nDay);
        EXPECT_EQ(CString(c.pszLocale), CDateFormatter::FormatDateForLocale(1033, c.nYear, c.nMonth, c.nDay));
        EXPECT_EQ(*c.pszLocale == L'\0', CDateFormatter::FormatDateForLocale(1031, c.nYear, c.nMonth, c.nDay).IsEmpty());
        const CString strNumeric = CQarCommunications::FormatNumericDate(c.nYear, c.nMonth, c.nDay);
        EXPECT_EQ(CString(c.pszNumeric), strNumeric);
        if (strNumeric.IsEmpty()) {
            EXPECT_TRUE(CQarCommunications::FormatShortDate(strNumeric).IsEmpty());
        }
    }
}
