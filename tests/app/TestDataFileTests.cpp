// Measured data and connected gauges through the real save and open paths:
// a store with both directions comes back entry by entry, saves again as
// it was read, and damaged test-data sections are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <utility>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/QarMathFunctions.h"
#include "calc/TestResultsDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

std::wstring DecodeUtf16(const std::string& bytes)
{
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

std::string Utf16(const std::wstring& text)
{
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// The two test-data sections and the device section of a file's text.
std::wstring MeasuredSections(const std::wstring& text)
{
    std::wstring sections;
    const std::pair<const wchar_t*, const wchar_t*> bounds[] = {
        {L"\nDEPRESSURIZATION TEST DATA\n", L"\nDEPRESSURIZATION TEST RESULTS"},
        {L"\nPRESSURIZATION TEST DATA\n", L"\nPRESSURIZATION TEST RESULTS"},
        {L"\nCONNECTED MANOMETER(S) INFO\n", nullptr}};
    for (const auto& [pszStart, pszEnd] : bounds) {
        const size_t nStart = text.find(pszStart);
        if (nStart == std::wstring::npos)
            continue;
        const size_t nEnd = pszEnd != nullptr ? text.find(pszEnd, nStart) : std::wstring::npos;
        sections += text.substr(nStart, nEnd == std::wstring::npos ? std::wstring::npos : nEnd - nStart);
    }
    return sections;
}

// The store's values a round trip must keep, copied before saving.
struct CStoreCopy {
    int nStation[2], nTests[2], nLastDeleted[2];
    int nRing[2][CTestGraph1::kMaxEntries];
    double dTarget[2][CTestGraph1::kMaxEntries], dPavg[2][CTestGraph1::kMaxEntries],
        dPfan[2][CTestGraph1::kMaxEntries], dQavg[2][CTestGraph1::kMaxEntries], dPStd[2][CTestGraph1::kMaxEntries],
        dQStd[2][CTestGraph1::kMaxEntries];
    double dZone[2][CTestGraph1::kZoneChannels][CTestGraph1::kMaxEntries];
    double dTin[2][2][CTestGraph1::kMaxTests], dTout[2][2][CTestGraph1::kMaxTests],
        dBaro[2][2][CTestGraph1::kMaxTests], dAltitude[2][CTestGraph1::kMaxTests];
    double dPreSeconds[2][CTestGraph1::kMaxTests][CTestGraph1::kBaselineSeconds];
    double dPlusPre[2][CTestGraph1::kMaxTests], dMinusPost[2][CTestGraph1::kMaxTests];
    CString strDeleted[2][CTestGraph1::kMaxDeletedPoints];
    CString strDevice[CDeviceInfoStrings::kCount];

    explicit CStoreCopy(const CTestGraph1& s)
    {
        for (int d = 0; d < 2; ++d) {
            nStation[d] = s.m_StationCount[d];
            nTests[d] = s.m_CompletedTests[d];
            nLastDeleted[d] = s.m_LastDeletedIndex[d];
            for (int i = 0; i < CTestGraph1::kMaxEntries; ++i) {
                nRing[d][i] = s.m_Ring[d][i];
                dTarget[d][i] = s.m_TargetP[d][i];
                dPavg[d][i] = s.m_Pavg[d][i];
                dPfan[d][i] = s.m_Pfan[d][i];
                dQavg[d][i] = s.m_Qavg[d][i];
                dPStd[d][i] = s.m_PStdDev[d][i];
                dQStd[d][i] = s.m_QStdDev[d][i];
                for (int z = 0; z < CTestGraph1::kZoneChannels; ++z)
                    dZone[d][z][i] = s.m_ZonePavg[d][z][i];
            }
            for (int t = 0; t < CTestGraph1::kMaxTests; ++t) {
                for (int p = 0; p < 2; ++p) {
                    dTin[p][d][t] = s.m_TestTin[p][d][t];
                    dTout[p][d][t] = s.m_TestTout[p][d][t];
                    dBaro[p][d][t] = s.m_TestPbaro[p][d][t];
                }
                dAltitude[d][t] = s.m_TestAltitude[d][t];
                dPlusPre[d][t] = s.m_TestBaselinePlusPre[d][t];
                dMinusPost[d][t] = s.m_TestBaselineMinusPost[d][t];
                for (int k = 0; k < CTestGraph1::kBaselineSeconds; ++k)
                    dPreSeconds[d][t][k] = s.m_PreBaselineSeconds[d][t][k];
            }
            for (int k = 0; k < CTestGraph1::kMaxDeletedPoints; ++k)
                strDeleted[d][k] = s.m_DeletedPoints[d][k];
        }
        for (int k = 0; k < CDeviceInfoStrings::kCount; ++k)
            strDevice[k] = s.m_DeviceInfo[0].m_strText[k];
    }
};

class TestDataFileTest : public ViewFileTest {
protected:
    TestDataFileTest() : ViewFileTest(L"TestDataFileView", L"TestDataFile") {}
    void TearDown() override
    {
        V()->CloseAllPages();
        ViewFileTest::TearDown();
    }

    std::string Save(const std::wstring& name)
    {
        m_answerer.ReplyToFileDialog(m_folder + name);
        V()->m_bSaveAsTest = 1;
        EXPECT_EQ(V()->SaveFileAs(), CSimbrel1View::kSaveWritten);
        return ReadBytes(m_folder + name);
    }
    void Open(const std::wstring& name) { V()->OpenFile(0, (m_folder + name).c_str()); }

    // Both directions, two tests each of three points, two zones, deleted
    // points with minus signs and one gauge snapshot.
    void FillStore(int nStandard, int nMethodIndex)
    {
        CTestSettingsDialog& settings = Settings();
        settings.m_nStandard = nStandard;
        settings.m_chStandardLetter = CTestSettingsDialog::GetLetterOfStandard(nStandard);
        settings.m_nMethodIndex = nMethodIndex;
        settings.m_chDirectionLetter[0] = L'P';
        settings.m_chDirectionLetter[1] = L'D';
        settings.m_bZonalActive = 1;
        V()->m_bAutoSelect = 0;
        CTestGraph1& s = Store();
        s.ResetTestData();
        for (int d = 0; d < 2; ++d) {
            settings.m_chMethodLetter[d] = CTestSettingsDialog::GetMethodLetter(nMethodIndex);
            settings.m_nZoneActive[d][3] = 1;
            settings.m_nZoneActive[d][4] = 1;
            const double dSign = d == 0 ? 1.0 : -1.0;
            int i = 0;
            for (int t = 0; t < 2; ++t) {
                auto entry = [&](int nRing, double dTarget, double dPavg, double dPfan, double dQavg) {
                    s.m_Ring[d][i] = nRing;
                    s.m_TargetP[d][i] = dTarget;
                    s.m_Pavg[d][i] = dPavg;
                    s.m_Pfan[d][i] = dPfan;
                    s.m_Qavg[d][i] = dQavg;
                    s.m_PStdDev[d][i] = 0.015625 * (i + 1);
                    s.m_QStdDev[d][i] = nRing == -1 ? 0.0 : 1.5 + i;
                    s.m_ZonePavg[d][0][i] = dSign * (3.25 + i);
                    s.m_ZoneStdDev[d][0][i] = 0.125;
                    s.m_ZonePavg[d][1][i] = dSign * (1.125 + i);
                    s.m_ZoneStdDev[d][1][i] = 0.25;
                    ++i;
                };
                entry(-1, 0.0, dSign * 0.375 + t, 0.0, 0.0);
                entry(1, 60.0, dSign * 60.123456, 110.5 + t, 2100.25 + t);
                entry(2, 45.0, dSign * 45.5, 80.125, 1700.5);
                entry(3, 30.0, dSign * 30.25, 150.0, 1200.75);
                entry(-1, 0.0, dSign * -0.25, 0.0, 0.0);
                s.m_TestTin[0][d][t] = 21.5 + t;
                s.m_TestTout[0][d][t] = -3.5 - t;
                s.m_TestTin[1][d][t] = nStandard == 2 ? 22.5 : 0.0;
                s.m_TestTout[1][d][t] = nStandard == 2 ? -4.5 : 0.0;
                s.m_TestPbaro[0][d][t] = nStandard == 1 || nStandard == 3 ? 100950.5 : 0.0;
                s.m_TestAltitude[d][t] = nStandard == 2 ? 350.5 : 0.0;
                // ASTM E779 takes its air pressure from the altitude, as
                // the test screen does at a test's start.
                if (nStandard == 2) {
                    const double dBaro =
                        V()->m_pMath->BarometricPressureFromAltitude(V()->m_nBuildingUnit, s.m_TestAltitude[d][t]);
                    s.m_TestPbaro[0][d][t] = dBaro;
                    s.m_TestPbaro[1][d][t] = dBaro;
                }
                s.m_TestBaselinePlusPre[d][t] = nStandard == 1 || nStandard == 3 ? 0.5 : 0.0;
                s.m_TestBaselineMinusPost[d][t] = nStandard == 1 || nStandard == 3 ? -0.75 : 0.0;
                for (int k = 0; k < CTestGraph1::kBaselineSeconds; ++k) {
                    const bool bMeasured = (nStandard == 1 || nStandard == 3) && t == 0;
                    s.m_PreBaselineSeconds[d][t][k] = bMeasured ? dSign * 0.03125 * k : CTestGraph1::kNotMeasured;
                    s.m_PostBaselineSeconds[d][t][k] = bMeasured ? 0.5 : CTestGraph1::kNotMeasured;
                }
                // The environment pages hold what was typed for each test;
                // they are read after the section and set the store again.
                if (nStandard == 0) {
                    V()->m_pTemperature->m_strTestIndoorTemp[d][t].Format(L"%0.2f", s.m_TestTin[0][d][t]);
                    V()->m_pTemperature->m_strTestOutdoorTemp[d][t].Format(L"%0.2f", s.m_TestTout[0][d][t]);
                } else if (nStandard == 2) {
                    CTemperatureAndAltitudeEntry& page = *V()->m_pTempAltitude;
                    page.m_strTestPretestIndoorTemp[d][t].Format(L"%0.2f", s.m_TestTin[0][d][t]);
                    page.m_strTestPretestOutdoorTemp[d][t].Format(L"%0.2f", s.m_TestTout[0][d][t]);
                    page.m_strTestPosttestIndoorTemp[d][t].Format(L"%0.2f", s.m_TestTin[1][d][t]);
                    page.m_strTestPosttestOutdoorTemp[d][t].Format(L"%0.2f", s.m_TestTout[1][d][t]);
                    page.m_strTestAltitude[d][t].Format(L"%0.2f", s.m_TestAltitude[d][t]);
                } else {
                    CTemperatureAndBarometricPressure& page = *V()->m_pTempBaro;
                    page.m_strTestIndoorTemp[d][t].Format(L"%0.2f", s.m_TestTin[0][d][t]);
                    page.m_strTestOutdoorTemp[d][t].Format(L"%0.2f", s.m_TestTout[0][d][t]);
                    page.m_nTestPressureSource[d][t] = CTemperatureAndBarometricPressure::kTypedPressure;
                    page.m_strTestBaroPressure[d][t].Format(L"%0.2f", s.m_TestPbaro[0][d][t]);
                }
            }
            s.m_StationCount[d] = i;
            s.m_CompletedTests[d] = 2;
            s.m_DeletedPoints[d][0] = L" 2 50.000000 -49.500000 90.000000 1500.000000 0.100000 2.000000 END-1";
            s.m_DeletedPoints[d][1] = L" 1 40.000000 -39.750000 -0.500000 1300.000000 0.100000 2.000000 END-2";
            s.m_LastDeletedIndex[d] = 1;
        }
        CString* pDevice = s.m_DeviceInfo[0].m_strText;
        pDevice[0] = L"RQ40";
        pDevice[1] = L"2233";
        pDevice[3] = L"20200315";
        pDevice[2] = CSimbrel1View::FormatDateKeyLocal(pDevice[3]);
        pDevice[4] = L"2";
        pDevice[5] = L"2";
        pDevice[6] = L"12";
        pDevice[7] = L"9.1 Volts";
        for (int c = 0; c < 12; ++c)
            pDevice[8 + c].Format(L"%0.6f", 1.0 + c);
        s.m_DevicesCaptured = 1;
        g_nCurrentDirection = 1;
        V()->m_bTestOpen = 1;
    }

    void ExpectSameStore(const CStoreCopy& a, const CTestGraph1& s)
    {
        for (int d = 0; d < 2; ++d) {
            SCOPED_TRACE(d);
            ASSERT_EQ(a.nStation[d], s.m_StationCount[d]);
            EXPECT_EQ(a.nTests[d], s.m_CompletedTests[d]);
            for (int i = 0; i < a.nStation[d]; ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(a.nRing[d][i], s.m_Ring[d][i]);
                EXPECT_NEAR(a.dTarget[d][i], s.m_TargetP[d][i], 5e-7);
                EXPECT_NEAR(a.dPavg[d][i], s.m_Pavg[d][i], 5e-7);
                EXPECT_NEAR(a.dPfan[d][i], s.m_Pfan[d][i], 5e-7);
                EXPECT_NEAR(a.dQavg[d][i], s.m_Qavg[d][i], 5e-7);
                EXPECT_NEAR(a.dPStd[d][i], s.m_PStdDev[d][i], 5e-7);
                EXPECT_NEAR(a.dQStd[d][i], s.m_QStdDev[d][i], 5e-7);
                EXPECT_NEAR(a.dZone[d][0][i], s.m_ZonePavg[d][0][i], 5e-7);
                EXPECT_NEAR(a.dZone[d][1][i], s.m_ZonePavg[d][1][i], 5e-7);
            }
            for (int t = 0; t < a.nTests[d]; ++t) {
                SCOPED_TRACE(t);
                EXPECT_NEAR(a.dTin[0][d][t], s.m_TestTin[0][d][t], 0.05);
                EXPECT_NEAR(a.dTout[0][d][t], s.m_TestTout[0][d][t], 0.05);
                EXPECT_NEAR(a.dAltitude[d][t], s.m_TestAltitude[d][t], 0.05);
                EXPECT_NEAR(a.dPlusPre[d][t], s.m_TestBaselinePlusPre[d][t], 5e-7);
                EXPECT_NEAR(a.dMinusPost[d][t], s.m_TestBaselineMinusPost[d][t], 5e-7);
                for (int k = 0; k < CTestGraph1::kBaselineSeconds; ++k)
                    EXPECT_NEAR(a.dPreSeconds[d][t][k], s.m_PreBaselineSeconds[d][t][k], 5e-7);
            }
            EXPECT_EQ(a.nLastDeleted[d], s.m_LastDeletedIndex[d]);
            for (int k = 0; k <= a.nLastDeleted[d]; ++k)
                EXPECT_EQ(a.strDeleted[d][k].Mid(1).str(), s.m_DeletedPoints[d][k].str());
        }
        for (int k = 0; k < CDeviceInfoStrings::kCount; ++k)
            EXPECT_EQ(a.strDevice[k].str(), s.m_DeviceInfo[0].m_strText[k].str()) << k;
    }
};

}  // namespace

TEST_F(TestDataFileTest, BothDirectionsComeBackEntryByEntryAndSaveAgainAsRead)
{
    for (int nStandard = 0; nStandard < 4; ++nStandard) {
        for (int nMethod : {1, 2}) {
            SCOPED_TRACE("standard " + std::to_string(nStandard) + " method " + std::to_string(nMethod));
            FillStore(nStandard, nMethod);
            const CStoreCopy before(Store());
            const std::wstring first = DecodeUtf16(Save(L"first.bld"));
            ASSERT_NE(std::wstring::npos, first.find(L"\nCONNECTED MANOMETER(S) INFO\nMicromanometer_Model: RQ40\n"));

            Open(L"first.bld");
            EXPECT_EQ(1, Store().m_DevicesCaptured);
            ExpectSameStore(before, Store());

            // Each deleted point loses the blank the store's line began with.
            std::wstring expected = first;
            for (size_t nAt = expected.find(L"_Deleted_Data_Point_"); nAt != std::wstring::npos;
                 nAt = expected.find(L"_Deleted_Data_Point_", nAt + 1)) {
                const size_t nColon = expected.find(L':', nAt);
                ASSERT_EQ(L"  ", expected.substr(nColon + 1, 2));
                expected.erase(nColon + 1, 1);
            }
            // The other sections are their records' own (the test date is
            // stamped on saving, the checks run again on opening).
            const std::string second = Save(L"second.bld");
            EXPECT_EQ(MeasuredSections(expected), MeasuredSections(DecodeUtf16(second)));
            Open(L"second.bld");
            EXPECT_EQ(second, Save(L"third.bld"));
        }
    }
}

TEST_F(TestDataFileTest, DamagedSectionsAreRefusedAndLeaveTheOpenTestWhole)
{
    FillStore(1, 1);
    const std::wstring good = DecodeUtf16(Save(L"good.bld"));
    struct Case {
        const char* name;
        const wchar_t* from;
        const wchar_t* to;
    };
    const Case cases[] = {
        {"station count above 128", L"D_Station_count: 10", L"D_Station_count: 129"},
        {"station count negative", L"P_Station_count: 10", L"P_Station_count: -1"},
        {"completed tests above 32", L"D_Completed_Tests: 2", L"D_Completed_Tests: 33"},
        {"more tests than the markers close", L"P_Completed_Tests: 2", L"P_Completed_Tests: 3"},
        {"ring above 5", L"D_Data_pt_1: 1 ", L"D_Data_pt_1: 6 "},
        {"ring below -1", L"P_Data_pt_2: 2 ", L"P_Data_pt_2: -2 "},
        {"entry missing", L"P_Data_pt_3:", L"P_Data_pt_x:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text = good;
        const size_t nAt = text.find(c.from);
        ASSERT_NE(std::wstring::npos, nAt);
        text.replace(nAt, std::wcslen(c.from), c.to);
        const std::string bytes = Utf16(text);
        ASSERT_TRUE(WriteBytes(m_folder + L"damaged.bld", bytes));
        FillStore(2, 2);
        const CString strTextBefore = V()->m_strFileText;
        const size_t nShown = m_answerer.programMessages.size();
        m_answerer.ReplyToProgramMessage(IDS_FILE_FORMAT_INVALID, IDOK);
        Open(L"damaged.bld");
        ASSERT_EQ(nShown + 1, m_answerer.programMessages.size());
        EXPECT_EQ(static_cast<UINT>(IDS_FILE_FORMAT_INVALID), m_answerer.programMessages.back().nIDText);
        EXPECT_EQ(2, Settings().m_nStandard);
        EXPECT_EQ(10, Store().m_StationCount[1]);
        EXPECT_EQ(strTextBefore.str(), V()->m_strFileText.str());
        EXPECT_EQ(bytes, ReadBytes(m_folder + L"damaged.bld"));
    }
}

namespace {
struct CResultTexts {
    CString strTexts[8];
    CString strDeviations[2][2][40];
};
CResultTexts TakeResults(CSimbrel1View* pView)
{
    const CTestResultsDialog& r = *pView->m_pResults;
    CResultTexts texts{{r.m_strTabNSlot0, r.m_strTabNSlot1, r.m_strTabCSlot0, r.m_strTabCSlot1, r.m_strTabNMean,
                        r.m_strTabCMean, r.m_strTabFlowMean, r.m_strTabEqlaMean},
                       {}};
    for (int d = 0; d < 2; ++d)
        for (int t = 0; t < 2; ++t)
            if (const CStringArray* pList = pView->m_pDeviations->m_pLists[d][t].get())
                for (int i = 0; i < pList->GetSize() && i < 40; ++i)
                    texts.strDeviations[d][t][i] = pList->GetAt(i);
    return texts;
}
}  // namespace

// The checks and results of an opened test are computed again from what it
// measured, and come out as they were when it was saved.
TEST_F(TestDataFileTest, ChecksAndResultsAreRecomputedAsSaved)
{
    for (int nStandard : {1, 2}) {
        SCOPED_TRACE(nStandard);
        FillStore(nStandard, 1);
        V()->UpdateResults(0);
        V()->UpdateResults(1);
        V()->m_pResults->AverageDirections();
        V()->m_pResults->FormatResults();
        V()->m_pDeviations->RecheckAllTests(0);
        const CResultTexts before = TakeResults(V());
        Save(L"checked.bld");
        V()->m_pDeviations->ClearAllDeviations();
        Store().ResetTestData();

        Open(L"checked.bld");
        const CResultTexts after = TakeResults(V());
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(before.strTexts[k].str(), after.strTexts[k].str()) << k;
        for (int d = 0; d < 2; ++d)
            for (int t = 0; t < 2; ++t)
                for (int i = 0; i < 40; ++i)
                    EXPECT_EQ(before.strDeviations[d][t][i].str(), after.strDeviations[d][t][i].str()) << d << t << i;
        EXPECT_FALSE(after.strTexts[0].IsEmpty());
    }
}

// ASTM E779 with both directions: the mean texts carry the combined error
// as soon as the file is open.
TEST_F(TestDataFileTest, AstmMeansCarryTheCombinedErrorRightAfterOpening)
{
    const char* pszSource = std::getenv("VUDADAR_SOURCE_DIR");
    ASSERT_NE(pszSource, nullptr);
    CString strPath = CString(L"Z:") + CString(pszSource) + L"/tests/app/files/astm-both-directions.bld";
    strPath.Replace(L'/', L'\\');
    ASSERT_TRUE(WriteBytes(m_folder + L"astm.bld", ReadBytes(strPath.str())));
    Open(L"astm.bld");
    const CTestResultsDialog& r = *V()->m_pResults;
    ASSERT_EQ(14, Store().m_StationCount[0]);
    ASSERT_EQ(21, Store().m_StationCount[1]);
    EXPECT_GT(r.m_dMeanNError, 0.0);
    EXPECT_GT(r.m_dMeanCErrorPct, 0.0);
    EXPECT_EQ(CString::FormatText(L"%3.3f (+/- %3.3f)", r.m_dMeanN, r.m_dMeanNError).str(), r.m_strTabNMean.str());
    EXPECT_GT(r.m_strTabCMean.GetLength(), CString::FormatText(L"%5.1f", r.m_dMeanC).Trim().GetLength());

    // The file has no environment page keys: the values of the test-data
    // lines stand.
    for (int d = 0; d < 2; ++d) {
        SCOPED_TRACE(d);
        EXPECT_DOUBLE_EQ(20.0, Store().m_TestTin[0][d][0]);
        EXPECT_DOUBLE_EQ(5.0, Store().m_TestTout[0][d][0]);
        EXPECT_DOUBLE_EQ(120.0, Store().m_TestAltitude[d][0]);
        EXPECT_LT(Store().m_TestPbaro[0][d][0], 101325.0);
        EXPECT_GT(Store().m_TestPbaro[0][d][0], 99000.0);
    }
}
