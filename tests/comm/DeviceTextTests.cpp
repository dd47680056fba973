// Calibration dates in the locale's order, the link's other date texts and
// the device information record.
#include <gtest/gtest.h>

#include <clocale>

#include "comm/DateFormatter.h"
#include "comm/DeviceInfoStrings.h"
#include "comm/QarCommunications.h"

TEST(DateFormatter, OrdersTheDateByTheLocaleTable)
{
    struct Case {
        LCID lcid;
        const wchar_t* pszMarch5;     // 5 March 2019
        const wchar_t* pszOctober12;  // 12 October 2021: two-digit month and day
    };
    const Case cases[] = {
        {1033, L"3/5/2019", L"10/12/2021"},   {2052, L"2019/3/5", L"2021/10/12"},
        {4100, L"5/3/2019", L"12/10/2021"},   {3084, L"2019/03/05", L"2021/10/12"},
        {4105, L"2019/03/05", L"2021/10/12"}, {1031, L"05/03/2019", L"12/10/2021"},
        {1034, L"05/03/2019", L"12/10/2021"}, {1036, L"05/03/2019", L"12/10/2021"},
        {1040, L"05/03/2019", L"12/10/2021"}, {1044, L"05/03/2019", L"12/10/2021"},
        {1049, L"05/03/2019", L"12/10/2021"}, {2055, L"05/03/2019", L"12/10/2021"},
        {2057, L"05/03/2019", L"12/10/2021"}, {2064, L"05/03/2019", L"12/10/2021"},
        {3079, L"05/03/2019", L"12/10/2021"}, {1041, L"05/03/2019", L"12/10/2021"},
        {0, L"05/03/2019", L"12/10/2021"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CString(c.pszMarch5), CDateFormatter::FormatDateForLocale(c.lcid, 2019, 3, 5)) << c.lcid;
        EXPECT_EQ(CString(c.pszOctober12), CDateFormatter::FormatDateForLocale(c.lcid, 2021, 10, 12)) << c.lcid;
    }
}

TEST(DateFormatter, FormatDateFollowsTheCallingThreadsLocale)
{
    const LCID previous = GetThreadLocale();
    const struct {
        LCID lcid;
        const wchar_t* pszText;
    } cases[] = {{2052, L"2019/3/5"}, {1033, L"3/5/2019"}, {1031, L"05/03/2019"}, {4105, L"2019/03/05"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetThreadLocale(c.lcid));
        EXPECT_EQ(CString(c.pszText), CDateFormatter().FormatDate(2019, 3, 5)) << c.lcid;
        EXPECT_EQ(CString(c.pszText), CQarCommunications::FormatLocaleDate(2019, 3, 5)) << c.lcid;
    }
    SetThreadLocale(previous);
}

TEST(DateFormatter, PadTwoDigitsPadsOnlyASingleCharacter)
{
    EXPECT_EQ(CString(L"05"), CDateFormatter::PadTwoDigits(L"5"));
    EXPECT_EQ(CString(L""), CDateFormatter::PadTwoDigits(L""));
    EXPECT_EQ(CString(L"12"), CDateFormatter::PadTwoDigits(L"12"));
    EXPECT_EQ(CString(L"123"), CDateFormatter::PadTwoDigits(L"123"));
    // The link's own helper pads anything shorter than two characters.
    EXPECT_EQ(CString(L"0"), CQarCommunications::PadTwoDigits(L""));
    EXPECT_EQ(CString(L"07"), CQarCommunications::PadTwoDigits(L"7"));
    EXPECT_EQ(CString(L"19"), CQarCommunications::PadTwoDigits(L"19"));
}

TEST(CalibrationDateTexts, NumericDateIsYearMonthDayWithTwoDigitMonthAndDay)
{
    EXPECT_EQ(CString(L"20190305"), CQarCommunications::FormatNumericDate(2019, 3, 5));
    EXPECT_EQ(CString(L"20211231"), CQarCommunications::FormatNumericDate(2021, 12, 31));
    EXPECT_EQ(CString(L"20001009"), CQarCommunications::FormatNumericDate(2000, 10, 9));
}

TEST(CalibrationDateTexts, ShortDateIsTheRuntimesDateForm)
{
    // The C locale's "%x" is month/day/two-digit year.
    const std::string previous = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(CString(L"03/05/19"), CQarCommunications::FormatShortDate(L"20190305"));
    EXPECT_EQ(CString(L"12/31/21"), CQarCommunications::FormatShortDate(L"20211231"));
    EXPECT_EQ(CString(L"02/29/24"), CQarCommunications::FormatShortDate(L"20240229"));
    EXPECT_EQ(CString(L""), CQarCommunications::FormatShortDate(L""));
    std::setlocale(LC_TIME, previous.c_str());
}

// A gauge may report any bytes as its date; what is no calendar date gives
// no short text instead of ending the program in the C run-time.
TEST(CalibrationDateTexts, ShortDateOfAnImpossibleDateIsEmpty)
{
    const wchar_t* impossible[] = {L"20191305", L"20190005", L"20190230", L"20230229", L"20190532",
                                   L"20190300", L"2255255255", L"2019035", L"2019-3-5", L"00000000"};
    for (const wchar_t* pszDate : impossible)
        EXPECT_EQ(CString(L""), CQarCommunications::FormatShortDate(pszDate)) << pszDate;
}

TEST(DeviceInfoStrings, HoldsThirtyEightTextsThatResetEmpties)
{
    CDeviceInfoStrings info;
    ASSERT_EQ(38, static_cast<int>(sizeof info.m_strText / sizeof info.m_strText[0]));
    for (const CString& strText : info.m_strText)
        EXPECT_TRUE(strText.IsEmpty());
    for (int i = 0; i < CDeviceInfoStrings::kCount; ++i)
        info.m_strText[i].Format(L"text %d", i);
    info.Reset();
    for (const CString& strText : info.m_strText)
        EXPECT_TRUE(strText.IsEmpty());
    EXPECT_EQ(22, CDeviceInfoStrings::kFirstChannelGain);
    EXPECT_EQ(37, CDeviceInfoStrings::kFirstChannelGain + 2 * 7 + 1);
}

TEST(DeviceInfoStrings, ModelSerialTextSplitsAtTheFirstDash)
{
    const struct {
        const wchar_t* pszModelSerial;
        const wchar_t* pszModel;
        const wchar_t* pszSerial;
    } cases[] = {
        {L"RQ40 - 1234", L"RQ40", L"1234"},
        {L"LZT8 - 70001", L"LZT8", L"70001"},
        {L"RQ-40 - 12", L"R", L"0 - 12"},  // the first "-" counts, wherever it is
        {L"RQ40", L"RQ40", L""},
        {L"", L"", L""},
        {L"-", L"", L""},
    };
    for (const auto& c : cases) {
        CDeviceInfoStrings info;
        info.m_strText[CDeviceInfoStrings::kSerialNumber] = L"stale";
        info.SetModelSerial(c.pszModelSerial);
        EXPECT_EQ(CString(c.pszModel), info.m_strText[CDeviceInfoStrings::kModel]) << c.pszModelSerial;
        EXPECT_EQ(CString(c.pszSerial), info.m_strText[CDeviceInfoStrings::kSerialNumber]) << c.pszModelSerial;
    }
}
