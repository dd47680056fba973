// The store's operations that reach the view's other records: clearing all
// test data, the stack-effect check and the manual data hand-over.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "pages/BaselineDataEntry.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/ManualDataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"

namespace {

const wchar_t kStackEffectText[] = L"Estimated stack effect for this building exceeds acceptable limits.";

// A whole view, as the program makes it, over a data folder of its own.
class StoreWithView : public testing::Test {
protected:
    void SetUp() override
    {
        m_strSavedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"store-view").c_str();
        m_pView = std::make_unique<CSimbrel1View>();
        m_pStore = m_pView->m_pTestGraph;
        m_pDeviations = m_pView->m_pDeviations;
    }
    void TearDown() override
    {
        m_pView.reset();
        g_strUserDataRoot = m_strSavedRoot;
    }

    CString Deviation(int d, int t, int nPosition) const
    {
        const CStringArray* pList = m_pDeviations->m_pLists[d][t].get();
        return pList == nullptr ? CString(L"<no list>") : pList->GetAt(nPosition);
    }

    std::unique_ptr<CSimbrel1View> m_pView;
    CTestGraph1* m_pStore = nullptr;
    CDeviationsFromStandard* m_pDeviations = nullptr;
    CString m_strSavedRoot;
};

}  // namespace

TEST_F(StoreWithView, ClearAllTestDataAlsoClearsDeviationsAndManualRows)
{
    CTestGraph1& s = *m_pStore;
    CManualDataEntryDialog& manual = *m_pView->m_pManualEntry;
    for (int d = 0; d < 2; ++d) {
        s.m_StationCount[d] = 7;
        s.m_CompletedTests[d] = 2;
        s.m_AxisPmax[d] = 90.0;
        s.m_LastDeletedIndex[d] = 0;
        s.m_DeletedPoints[d][0] = L"1 50.0 49.8 120.0 1500 0.1 2.0 END-1";
        manual.m_strBuildingP[d][1] = L"50";
        manual.m_nRing[d][1] = 2;
        manual.m_nRowCount[d] = 1;
        m_pDeviations->SetDeviation(24, L"stack", d, 1);
    }
    m_pDeviations->SetDeviation(26, L"Depressurization test not included.", 0, 0);

    s.ClearAllTestData();

    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(0, s.m_StationCount[d]);
        EXPECT_EQ(0, s.m_CompletedTests[d]);
        EXPECT_EQ(70.0, s.m_AxisPmax[d]);
        EXPECT_EQ(-1, s.m_LastDeletedIndex[d]);
        EXPECT_TRUE(s.m_DeletedPoints[d][0].IsEmpty());
        EXPECT_TRUE(manual.m_strBuildingP[d][1].IsEmpty());
        EXPECT_EQ(-1, manual.m_nRing[d][1]);
        EXPECT_EQ(0, manual.m_nRowCount[d]);
        for (int t = 0; t < CDeviationsFromStandard::kMaxTests; ++t) {
            if (d == 0 && t == 0)
                continue;
            EXPECT_EQ(nullptr, m_pDeviations->m_pLists[d][t]) << d << "/" << t;
        }
    }
    // The record-wide list stays, empty.
    ASSERT_NE(nullptr, m_pDeviations->m_pLists[0][0]);
    EXPECT_EQ(CDeviationsFromStandard::kPositions, m_pDeviations->m_pLists[0][0]->GetSize());
    for (int i = 0; i < CDeviationsFromStandard::kPositions; ++i)
        EXPECT_TRUE(Deviation(0, 0, i).IsEmpty()) << i;
}

TEST_F(StoreWithView, DeviationsOutsideTheListsAreNotStored)
{
    m_pDeviations->ClearAllDeviations();
    m_pDeviations->SetDeviation(CDeviationsFromStandard::kPositions, L"x", 0, 0);
    m_pDeviations->SetDeviation(-1, L"x", 0, 0);
    m_pDeviations->SetDeviation(0, L"x", 2, 0);
    m_pDeviations->SetDeviation(0, L"x", 0, CDeviationsFromStandard::kMaxTests);
    EXPECT_EQ(CDeviationsFromStandard::kPositions, m_pDeviations->m_pLists[0][0]->GetSize());
    m_pStore->AddDeviation(39, IDS_OPEN, 1, 31);
    EXPECT_STREQ(L"Open", Deviation(1, 31, 39).GetString());
    EXPECT_TRUE(Deviation(1, 31, 38).IsEmpty());
}

TEST_F(StoreWithView, StackEffectAboveTwoHundredKelvinMetresIsADeviation)
{
    struct Case {
        const char* name;
        int nTemperatureUnit;   // 0 F, 1 C
        int nBuildingUnit;      // 0 ft, 1 m
        double dTinPre, dTinPost, dToutPre, dToutPost, dHeight;
        bool bDeviation;
    };
    const Case cases[] = {
        {"exactly 200 in C and m", 1, 1, 20, 20, 0, 0, 10.0, false},
        {"just above in C and m", 1, 1, 20, 20, 0, 0, 10.01, true},
        {"pre and post are averaged", 1, 1, 10, 30, -5, 5, 10.01, true},
        {"outdoors warmer", 1, 1, 0, 0, 30, 30, 7.0, true},
        {"F and ft above", 0, 0, 68, 68, 32, 32, 40.0, true},    // 20 K, 12.19 m
        {"F and ft below", 0, 0, 68, 68, 32, 32, 30.0, false},   // 20 K, 9.14 m
        {"F taken for C would exceed", 0, 1, 68, 68, 32, 32, 8.0, false},   // 20 K, 8 m
        {"ft taken for m would exceed", 1, 0, 20, 20, 0, 0, 20.0, false},   // 20 K, 6.1 m
        {"no height entered", 1, 1, 40, 40, -20, -20, 0.0, false},
    };
    CTestGraph1& s = *m_pStore;
    const int d = 1;
    const int t = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pDeviations->ClearAllDeviations();
        m_pDeviations->SetDeviation(5, L"other rule", d, t);
        m_pDeviations->SetDeviation(24, L"from an earlier check", d, t);
        m_pView->m_nTemperatureUnit = c.nTemperatureUnit;
        m_pView->m_nBuildingUnit = c.nBuildingUnit;
        m_pView->m_pBuildingInfo->m_dHeight[d] = c.dHeight;
        m_pView->m_pBuildingInfo->m_dHeight[1 - d] = 1000.0;   // the other slot's height is not used
        s.m_TestTin[0][d][t] = c.dTinPre;
        s.m_TestTin[1][d][t] = c.dTinPost;
        s.m_TestTout[0][d][t] = c.dToutPre;
        s.m_TestTout[1][d][t] = c.dToutPost;

        s.CheckStackEffect(d, t);

        EXPECT_STREQ(c.bDeviation ? kStackEffectText : L"", Deviation(d, t, 24).GetString());
        EXPECT_STREQ(L"other rule", Deviation(d, t, 5).GetString());
    }
    // Without a list and below the limit no list is made.
    m_pDeviations->ClearAllDeviations();
    m_pView->m_pBuildingInfo->m_dHeight[d] = 0.0;
    s.CheckStackEffect(d, t);
    EXPECT_EQ(nullptr, m_pDeviations->m_pLists[d][t]);
    s.CheckStackEffect(d, CTestGraph1::kMaxTests);
    s.CheckStackEffect(2, 0);
}

TEST_F(StoreWithView, StackEffectAllChecksEveryCompletedTestOfBothSlots)
{
    CTestGraph1& s = *m_pStore;
    m_pView->m_nTemperatureUnit = 1;
    m_pView->m_nBuildingUnit = 1;
    for (int d = 0; d < 2; ++d) {
        m_pView->m_pBuildingInfo->m_dHeight[d] = 20.0;
        for (int t = 0; t < 3; ++t) {
            s.m_TestTin[0][d][t] = s.m_TestTin[1][d][t] = 25.0;
            s.m_TestTout[0][d][t] = s.m_TestTout[1][d][t] = 0.0;
        }
    }
    s.m_CompletedTests[0] = 2;
    s.m_CompletedTests[1] = 1;
    m_pDeviations->ClearAllDeviations();
    s.CheckStackEffectAll();
    EXPECT_STREQ(kStackEffectText, Deviation(0, 0, 24).GetString());
    EXPECT_STREQ(kStackEffectText, Deviation(0, 1, 24).GetString());
    EXPECT_STREQ(kStackEffectText, Deviation(1, 0, 24).GetString());
    EXPECT_EQ(nullptr, m_pDeviations->m_pLists[0][2]);
    EXPECT_EQ(nullptr, m_pDeviations->m_pLists[1][1]);
}

class ManualHandOver : public StoreWithView {
protected:
    void SetUp() override
    {
        StoreWithView::SetUp();
        CManualDataEntryDialog& m = *m_pView->m_pManualEntry;
        m.m_chFanCode = L'3';
        // The selection a fan calibration without this fan would keep.
        m_pView->m_pFanCalibration->m_dSelC = 110.0;
        m_pView->m_pFanCalibration->m_dSelN = 0.5;
    }

    void SetRow(int d, int r, const wchar_t* pszBuilding, const wchar_t* pszFan, int nRing)
    {
        CManualDataEntryDialog& m = *m_pView->m_pManualEntry;
        m.m_strBuildingP[d][r] = pszBuilding;
        m.m_strFanP[d][r] = pszFan;
        m.m_nRing[d][r] = nRing;
    }

    // The flow as callers compute it from the fan calibration.
    double Flow(int nRing, double dFanPressure) const
    {
        CFanCalibrationDialog& cal = *m_pView->m_pFanCalibration;
        cal.LoadFanRingCalibration(m_pView->m_pManualEntry->m_chFanCode, nRing);
        return cal.m_dSelC * std::pow(std::fabs(dFanPressure), cal.m_dSelN);
    }
};

TEST_F(ManualHandOver, RowsBecomeOneTestBetweenTwoMarkers)
{
    CTestGraph1& s = *m_pStore;
    CManualDataEntryDialog& m = *m_pView->m_pManualEntry;
    const int d = 1;
    SetRow(d, 0, L"-0.4", L"", -1);
    SetRow(d, 1, L"-50.2", L"112.5", 3);
    SetRow(d, 2, L"-40.1", L"-88.0", 0);
    SetRow(d, 3, L"-30", L"60abc", 3);
    m.m_nRowCount[d] = 3;
    m.m_dPreBaseline[d] = -0.4;
    m.m_dPostBaseline[d] = -0.6;
    s.m_StationCount[d] = 40;
    s.m_CompletedTests[d] = 5;
    s.m_LastDeletedIndex[d] = 3;
    s.m_PStdDev[d][2] = 9.0;
    s.m_QStdDev[d][4] = 9.0;
    s.m_TargetP[d][4] = 9.0;
    s.m_Pavg[d][5] = 99.0;
    CBaselineDataEntry& baseline = *m_pView->m_pBaseline;
    baseline.m_strPretestPlus[d] = L"0.3";
    baseline.m_strPretestMinus[d] = L"-0.5";
    baseline.m_strPosttestPlus[d] = L"0.2";
    baseline.m_strPosttestMinus[d] = L"";

    s.LoadManualEntryData(d);

    EXPECT_EQ(5, s.m_StationCount[d]);
    EXPECT_EQ(1, s.m_CompletedTests[d]);
    EXPECT_EQ(3, s.m_LastDeletedIndex[d]);
    const int rings[] = {-1, 3, 0, 3, -1};
    const double pavg[] = {-0.4, -50.2, -40.1, -30.0, -0.4};   // no post-test text: the opening baseline
    const double targets[] = {0.0, -50.2, -40.1, -30.0, 0.0};
    const double pfan[] = {112.5, -88.0, 60.0};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(rings[i], s.m_Ring[d][i]);
        EXPECT_DOUBLE_EQ(pavg[i], s.m_Pavg[d][i]);
        EXPECT_DOUBLE_EQ(targets[i], s.m_TargetP[d][i]);
        EXPECT_EQ(0.0, s.m_PStdDev[d][i]);
        EXPECT_EQ(0.0, s.m_QStdDev[d][i]);
        if (i >= 1 && i <= 3) {
            EXPECT_DOUBLE_EQ(pfan[i - 1], s.m_Pfan[d][i]);
            EXPECT_DOUBLE_EQ(Flow(rings[i], pfan[i - 1]), s.m_Qavg[d][i]);
        }
    }
    EXPECT_EQ(99.0, s.m_Pavg[d][5]);
    EXPECT_EQ(0.3, s.m_TestBaselinePlusPre[d][0]);
    EXPECT_EQ(-0.5, s.m_TestBaselineMinusPre[d][0]);
    EXPECT_EQ(0.2, s.m_TestBaselinePlusPost[d][0]);
    EXPECT_EQ(0.0, s.m_TestBaselineMinusPost[d][0]);

    // With a post-test baseline the closing marker carries it.
    SetRow(d, 13, L"-0.6", L"", -1);
    s.LoadManualEntryData(d);
    EXPECT_DOUBLE_EQ(-0.6, s.m_Pavg[d][4]);
    EXPECT_EQ(0, s.m_StationCount[1 - d]);
}

TEST_F(ManualHandOver, APointOnTheBaselineMovesInTheDirectionsSign)
{
    CTestGraph1& s = *m_pStore;
    CManualDataEntryDialog& m = *m_pView->m_pManualEntry;
    for (int d = 0; d < 2; ++d) {
        const wchar_t chDirection = m_pView->m_pSettings->m_chDirectionLetter[d];
        SCOPED_TRACE(std::string("direction ") + char(chDirection));
        SetRow(d, 0, L"0.25", L"", -1);
        SetRow(d, 1, L"0.5", L"100", 1);   // the mean of 0.25 and 0.75
        SetRow(d, 2, L"0.51", L"90", 1);
        SetRow(d, 13, L"0.75", L"", -1);
        m.m_nRowCount[d] = 2;
        m.m_dPreBaseline[d] = 0.25;
        m.m_dPostBaseline[d] = 0.75;
        s.LoadManualEntryData(d);
        EXPECT_DOUBLE_EQ(chDirection == L'P' ? 0.51 : 0.49, s.m_Pavg[d][1]);
        EXPECT_DOUBLE_EQ(0.5, s.m_TargetP[d][1]);
        EXPECT_DOUBLE_EQ(0.51, s.m_Pavg[d][2]);
        EXPECT_DOUBLE_EQ(0.75, s.m_Pavg[d][3]);
    }
    EXPECT_EQ(L'P', m_pView->m_pSettings->m_chDirectionLetter[0]);
    EXPECT_EQ(L'D', m_pView->m_pSettings->m_chDirectionLetter[1]);
}

TEST_F(ManualHandOver, RowCountsOutsideTheGridStayInsideTheStore)
{
    CTestGraph1& s = *m_pStore;
    CManualDataEntryDialog& m = *m_pView->m_pManualEntry;
    const int d = 0;
    SetRow(d, 0, L"0.1", L"", -1);
    for (int r = 1; r <= 12; ++r)
        SetRow(d, r, CString::FormatText(L"%d", 70 - 5 * r), L"150", 1);
    SetRow(d, 13, L"0.5", L"", -1);

    // No rows: the direction is emptied.
    s.m_StationCount[d] = 9;
    s.m_CompletedTests[d] = 1;
    s.m_LastDeletedIndex[d] = 2;
    m.m_nRowCount[d] = 0;
    s.LoadManualEntryData(d);
    EXPECT_EQ(0, s.m_StationCount[d]);
    EXPECT_EQ(0, s.m_CompletedTests[d]);
    EXPECT_EQ(-1, s.m_LastDeletedIndex[d]);

    // More rows than the grid has points: its twelve points and the
    // post-test row, never rows past the grid.
    m.m_nRowCount[d] = 40;
    s.LoadManualEntryData(d);
    EXPECT_EQ(14, s.m_StationCount[d]);
    EXPECT_DOUBLE_EQ(10.0, s.m_Pavg[d][12]);
    EXPECT_EQ(-1, s.m_Ring[d][13]);
    EXPECT_DOUBLE_EQ(0.5, s.m_Pavg[d][13]);
    s.IndexTestGroups();
    EXPECT_EQ(14, s.m_TestRowCount[d][0]);

    m.m_nRowCount[d] = -3;
    s.LoadManualEntryData(d);
    EXPECT_EQ(0, s.m_StationCount[d]);
    s.LoadManualEntryData(2);
}
