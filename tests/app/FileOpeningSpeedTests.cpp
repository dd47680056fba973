// Reading a whole file key by key: the index of the keys at line starts
// gives what a plain scan from the text's start gives, and the largest file
// the format allows opens quickly.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/KeyValueText.h"
#include "app/Simbrel1View.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// The lookup as the key-value rules state it, done the slow way: a copy of
// the text, every position tried from the start.
CString NaiveValue(const std::wstring& key, const CString& strFileText)
{
    const std::wstring text = strFileText.str();
    for (size_t p = 0; p + key.size() <= text.size(); ++p) {
        if (text.compare(p, key.size(), key) != 0)
            continue;
        if (p > 0 && text[p - 1] != L'\r' && text[p - 1] != L'\n')
            continue;
        size_t nStart = p + key.size();
        const size_t nEnd = text.find_first_of(L"\r\n", nStart);
        if (nEnd == std::wstring::npos)
            return CString();
        while (nStart < nEnd && text[nStart] == L' ')
            ++nStart;
        return CString(text.substr(nStart, nEnd - nStart));
    }
    return CString();
}

}  // namespace

TEST(KeyIndexTest, AgreesWithThePlainScanOnRandomTexts)
{
    // Pieces that make keys, keys inside keys and values, colons in odd
    // places and every kind of line break.
    static const wchar_t* const kPieces[] = {L"A:", L"AB:", L"B:", L"A",   L"B",    L":",  L" ",  L"  ",
                                             L"\r", L"\n",  L"\r\n", L"x", L"A:B:", L"\t", L"BA:", L"\n\n"};
    static const wchar_t* const kKeys[] = {L"A:", L"AB:", L"B:", L"BA:", L"A",    L"AB",  L"A:B:",
                                           L":",  L"x:",  L"B: ", L"\nA:", L"A:\r", L"Q:"};
    std::mt19937 rng(20240612);
    CKeyedText keyed;
    int nMismatches = 0;
    for (int nRound = 0; nRound < 3000 && nMismatches < 5; ++nRound) {
        std::wstring text;
        const int nPieces = static_cast<int>(rng() % 40);
        for (int i = 0; i < nPieces; ++i)
            text += kPieces[rng() % std::size(kPieces)];
        // Every third text replaces the last one in place, so a stale index
        // would show.
        if (nRound % 3 == 0)
            keyed.Empty();
        keyed = CString(text);
        for (const wchar_t* pszKey : kKeys) {
            const CString strExpected = NaiveValue(pszKey, CString(text));
            if (keyed.GetValue(pszKey) != strExpected) {
                ++nMismatches;
                ADD_FAILURE() << "round " << nRound << " key " << CString(pszKey).ToAnsi() << " in \""
                              << CString(text).ToAnsi() << "\"";
            }
        }
    }
    EXPECT_EQ(nMismatches, 0);
}

TEST(KeyIndexTest, FollowsTheViewsTextThroughEveryChange)
{
    CTestView view(L"KeyIndexView");
    const struct {
        const char* name;
        std::function<void(CSimbrel1View*)> change;
        const wchar_t* expected;
    } steps[] = {
        {"assigned text", [](CSimbrel1View* p) { p->m_strFileText = L"K: one\n"; }, L"one"},
        {"assigned again", [](CSimbrel1View* p) { p->m_strFileText = CString(L"X: 1\nK: two\n"); }, L"two"},
        {"emptied", [](CSimbrel1View* p) { p->m_strFileText.Empty(); }, L""},
        {"copied from another text",
         [](CSimbrel1View* p) {
             CKeyedText other;
             other = L"K: three\n";
             other.GetValue(L"K:");
             p->m_strFileText = other;
         },
         L"three"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        view->GetFileValue(L"K:");   // an index of the text before the change
        s.change(view.Get());
        EXPECT_EQ(view->GetFileValue(L"K:").str(), s.expected);
    }
}

namespace {

// The largest test file the format allows: ISO 9972, both directions of 32
// tests in 128 entries with six zones, both one-second baseline lines of
// every test, every per-test key, 12 deleted points, 40 deviations per
// test, every result, four connected gauges and a long comment, in the
// sections' own layout. Returns the text and every key it holds.
CString MakeLargestFile(std::vector<CString>& keys)
{
    CString strText = L"QARSEAL_Vudadar_ISO_Version: 5.1.1.0\n";
    auto line = [&](const CString& strKey, const CString& strValue) {
        strText += CSimbrel1View::MakeKeyLine(L"", strKey, strValue);
        keys.push_back(strKey);
    };
    strText += L"\nBUSINESS INFO\n";
    for (const wchar_t* pszKey : {L"Business_Name:", L"Business_Name_Line2:", L"Business_Address:",
                                  L"Business_Address_Line2:", L"Business_City:", L"Business_State:", L"Business_Zip:",
                                  L"Business_Phone:", L"Business_Fax:", L"Business_Email:", L"Business_Website:"})
        line(pszKey, L"Airtight Testing Ltd. of the long business name");
    strText += L"\nTEST INFO\n";
    line(L"Test_Date_QAR_Univ:", L"20240612");
    line(L"Test_Date_Local:", L"6/12/2024");
    line(L"Technician:", L"R. Tester");
    line(L"IncludeDeviationsInTestReport:", L"1");
    strText += L"\nCUSTOMER INFO\n";
    for (const wchar_t* pszKey : {L"Project_Name:", L"Name:", L"Name_Line2:", L"Address:", L"Address_Line2:", L"City:",
                                  L"State:", L"Zip:", L"Phone:", L"Fax:", L"Email:", L"Website:"})
        line(pszKey, L"a customer's text of some length");
    strText += L"\nBUILDING INFO\n";
    for (const wchar_t* pszKey : {L"Building:", L"Building_Address:", L"Building_Address_Line2:",
                                  L"Building_Apartment_Number:", L"Building_City:", L"Building_State:",
                                  L"Building_Zip:", L"Year_of_Construction:"})
        line(pszKey, L"a building's text");
    strText += L"\nBUILDING DIMENSIONS\n";
    for (const wchar_t* pszKey : {L"Volume:", L"Floor:", L"Surface:", L"Country_Specific_Volume:",
                                  L"Country_Specific_Floor_Area:", L"Country_Specific_Surface_Area:", L"Height:",
                                  L"Percent_Uncertainty_In_Measured_Dimensions:"})
        line(pszKey, L"12000");
    strText += L"\nISO9972 DATA INFO\n";
    line(L"Type_of_ISO9972_Test_Method:", L"Method 1");
    strText += L"\nTEST SETTINGS INFO\n";
    for (const wchar_t* pszKey : {L"Build_Standard:", L"Build_Test_Method:", L"Target_Tolerance:", L"Fan_adjust:",
                                  L"Data_samples:", L"Building_High_Pressure_Limit:", L"Fan_Start_Percent:"})
        line(pszKey, L"A");
    // The standard's letter decides which environment keys the test data
    // hold; a file whose letter disagrees with them asks for them instead.
    strText.Replace(L"Build_Standard: A\n", L"Build_Standard: I\n");
    line(L"Test_Standard_QSE:", L"ISO 9972");
    line(L"Zonal_Pressures_Active:", L"1");
    for (int z = 3; z <= 8; ++z) {
        line(CString::FormatText(L"Zone%d_Active:", z), L"1");
        line(CString::FormatText(L"Zone%d_Name:", z), L"Zone name");
        line(CString::FormatText(L"Zone%d_Reference:", z), L"0");
    }
    strText += L"\nCOMMENTS\n";
    for (int i = 0; i < 200; ++i)
        strText += L"A long comment about the building and the weather on the day of the test, line after line.\r\n";
    strText += L"\nTEST UNITS INFO\n";
    for (const wchar_t* pszKey :
         {L"Flow_Units:", L"Building_Dimension_Units:", L"Leakage_Dimension_Units:", L"Temperature_Units:"})
        line(pszKey, L"m");
    strText += L"\nCUSTOM PRESSURES INFO\n";
    for (int i = 1; i <= 12; ++i)
        line(CString::FormatText(L"Build_Press_#%d:", i), L"50");

    // The environment page's keys of each test (the barometric page of
    // ISO 9972, with the post-test temperatures another standard adds).
    static const wchar_t* const kPerTestKeys[] = {
        L"Manual_Entry_Pretest_Indoor_Temperature:",  L"Manual_Entry_Pretest_Outdoor_Temperature:",
        L"Manual_Entry_Posttest_Indoor_Temperature:", L"Manual_Entry_Posttest_Outdoor_Temperature:",
        L"Manual_Entry_Pretest_Barometric_Pressure_Source:", L"Manual_Entry_Pretest_Barometric_Pressure:",
        L"Manual_Entry_Altitude:"};
    CString strSeconds;
    for (int i = 0; i < 30; ++i)
        strSeconds.AppendFormat(L" %0.6f", 0.1 * i);
    strSeconds += L" ";
    for (const int d : {1, 0}) {
        const CString strPrefix = d == 0 ? L"P_" : L"D_";
        const wchar_t* pszWord = d == 0 ? L"PRESSURIZATION" : L"DEPRESSURIZATION";
        strText += CString::FormatText(L"\n%s TEST DATA\n", pszWord);
        line(strPrefix + L"Station_count:", L"128");
        line(strPrefix + L"Completed_Tests:", L"32");
        int nEntry = 0;
        for (int t = 0; t < 32; ++t) {
            strText += CString::FormatText(L"\n%s TEST %d\n", pszWord, t + 1);
            for (const wchar_t* pszKey : kPerTestKeys) {
                const CString strKey = pszKey;
                const wchar_t* pszValue = strKey.Find(L"Source") >= 0     ? L"1"
                                          : strKey.Find(L"Pressure:") >= 0 ? L"101325.0"
                                                                           : L"20.5";
                line(CSimbrel1View::MakePerTestKey(pszKey, d, t), pszValue);
            }
            line(CString::FormatText(L"%sPretest_InTemp_OutTemp_BarPr_for_Test_%d:", strPrefix.GetString(), t + 1),
                 L" 20.0 5.0 101325.0");
            line(CString::FormatText(L"%sPretest_Baseline_One_Second_Averages_For_Test_%d:", strPrefix.GetString(), t + 1),
                 strSeconds);
            strText += L"\nDATA FORMAT: Ring TargetP   Pavg      Pfan      Qavg      PStdDev  QStdDev  Zn1Pavg Zn1StdDev\n";
            for (int k = 0; k < 4; ++k, ++nEntry) {
                CString strPoint = CString::FormatText(L" %d %f %f %f %f %f %f", k == 0 || k == 3 ? -1 : 0, 50.0,
                                                       50.3, 120.5, 2950.0, 0.9, 21.0);
                for (int z = 3; z <= 8; ++z)
                    strPoint.AppendFormat(L" %f %f", 12.5, 0.2);
                line(CString::FormatText(L"%sData_pt_%d:", strPrefix.GetString(), nEntry), strPoint + L" END");
            }
            line(CString::FormatText(L"%sPosttest_Baseline_One_Second_Averages_For_Test_%d:", strPrefix.GetString(), t + 1),
                 strSeconds);
            line(CString::FormatText(L"%sBaseline_Plus_Minus_for_Test_%d:", strPrefix.GetString(), t + 1),
                 L" 0.100000 -0.100000 0.200000 -0.200000 ");
        }
        strText += CString::FormatText(L"\nDELETED %s TEST DATA POINTS\n", pszWord);
        for (int k = 0; k < 12; ++k)
            line(CString::FormatText(L"%sTest%d_Deleted_Data_Point_%d:", strPrefix.GetString(), 1 + k % 32, k),
                 L"0 50.000000 50.300000 120.500000 2950.000000 0.900000 21.000000 END");
        strText += CString::FormatText(L"\n%s TEST RESULTS\n", pszWord);
        line(strPrefix + L"Selected_Pressure_of_Airflow_Data_Pa:", L"50");
        for (const wchar_t* pszKey : {L"Q_at_Selected_Pressure:", L"EqLA:", L"ELA:", L"C:", L"n:"}) {
            line(strPrefix + pszKey, L"2451.123456");
            line(strPrefix + CString(pszKey).Left(CString(pszKey).GetLength() - 1) + L"_err95:", L"2.123456");
        }
        for (const wchar_t* pszKey : {L"ACH_at_Selected_Pressure:", L"Q_at_Selected_Pressure_per_unit_floor_area:",
                                      L"TLR:", L"r\u00B2:"})
            line(strPrefix + pszKey, L"0.998765");
        strText += CString::FormatText(L"\n%s TEST DEVIATIONS FROM STANDARD\n", pszWord);
        for (int t = 0; t < 32; ++t)
            for (int i = 0; i < 40; ++i)
                line(CString::FormatText(L"%sTest%d_Deviation%d:", strPrefix.GetString(), t + 1, i + 1),
                     L"Test pressure range is less than required by the standard.");
    }
    strText += L"\nEQUIPMENT INFO\n";
    for (const wchar_t* pszKey : {L"Fan_Type:", L"Fan_Serial:", L"Gauge_Model:", L"Gauge_Serial:"})
        line(pszKey, L"RQ40");
    strText += L"\nFAN CALIBRATION INFO\n";
    for (const wchar_t* pszFan : {L"TypeR", L"TypeR_230V", L"TypeS_230V", L"AVA", L"AVB"})
        for (int r = 0; r < 6; ++r)
            line(CString::FormatText(L"Fan_Calib_%s_Ring%d:", pszFan, r), L"2400.0 0.5100");
    strText += L"\nCONNECTED MANOMETER(S) INFO\n";
    for (int g = 0; g < 4; ++g)
        for (int i = 0; i < 40; ++i)
            line(CString::FormatText(L"Device%d_Info_%d:", g + 1, i), L"a device text 1.234567");
    return strText;
}

}  // namespace

TEST(KeyIndexTest, BenchmarkOpeningTheLargestFile)
{
    CTestView view(L"KeyIndexBenchmark");
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    const CString strSavedVersion = g_strProgramVersion;
    const int nSavedDirection = g_nCurrentDirection;
    g_strProgramVersion = L"5.1.1.0";

    std::vector<CString> keys;
    const CString strText = MakeLargestFile(keys);
    const std::wstring folder = MakeTempFolder(L"KeyIndexBenchmark");
    view->m_strProgramFolder = folder.c_str();
    const std::wstring path = folder + L"Largest.bld";
    ASSERT_TRUE(WriteBytes(path, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(strText.GetString()),
                                                            static_cast<size_t>(strText.GetLength()) * 2)));

    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    // The first opening, then the best of three more.
    double dFirstOpenMs = 0.0;
    double dOpenMs = 1e9;
    for (int i = 0; i < 4; ++i) {
        const auto openStart = Clock::now();
        view->OpenFile(0, path.c_str());
        (i == 0 ? dFirstOpenMs : dOpenMs) = i == 0 ? ms(openStart) : std::min(dOpenMs, ms(openStart));
    }
    // Of which the start page's window, made and closed as an opening does.
    double dPageMs = 1e9;
    for (int i = 0; i < 3; ++i) {
        view->CloseAllPages();
        const auto pageStart = Clock::now();
        view->ShowStartPage();
        view->CloseAllPages();
        dPageMs = std::min(dPageMs, ms(pageStart));
    }
    ASSERT_TRUE(answerer.programMessages.empty());
    ASSERT_EQ(view->m_pTestGraph->m_CompletedTests[0], 32);
    ASSERT_EQ(view->m_pTestGraph->m_CompletedTests[1], 32);

    // Every key of the file through the view's lookup, index built anew.
    std::vector<CString> values(keys.size());
    const auto indexedStart = Clock::now();
    view->m_strFileText = strText;
    for (size_t i = 0; i < keys.size(); ++i)
        values[i] = view->GetFileValue(keys[i]);
    const double dIndexedMs = ms(indexedStart);

    // The same lookups done naively, a copy of the text and a scan from the
    // start each: timed on one key in 32 and scaled up to keep the test short.
    constexpr size_t kStep = 32;
    std::vector<CString> naive;
    const auto naiveStart = Clock::now();
    for (size_t i = 0; i < keys.size(); i += kStep)
        naive.push_back(NaiveValue(keys[i].str(), strText));
    const double dNaiveMs = ms(naiveStart) * static_cast<double>(keys.size()) / static_cast<double>(naive.size());

    for (size_t i = 0; i < keys.size(); i += kStep)
        ASSERT_EQ(values[i], naive[i / kStep]) << keys[i].ToAnsi();
    for (size_t i = 0; i < keys.size(); ++i)
        ASSERT_FALSE(values[i].IsEmpty()) << keys[i].ToAnsi();

    std::printf("[ benchmark ] largest file: %d characters, %zu keys; opening %.1f ms the first time, then %.1f ms, "
                "of which %.1f ms make and close the start page's window; every key through the index %.1f ms "
                "(index built included), naively about %.0f ms (%.0fx)\n",
                strText.GetLength(), keys.size(), dFirstOpenMs, dOpenMs, dPageMs, dIndexedMs, dNaiveMs,
                dNaiveMs / dIndexedMs);
    view->CloseAllPages();
    g_strProgramVersion = strSavedVersion;
    g_nCurrentDirection = nSavedDirection;
}
