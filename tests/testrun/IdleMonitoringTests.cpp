// Live readings of the test screen that need no gauge: the default target
// lists, the readouts and the 50 Pa estimate, the flow factor of the next
// test, the zone readouts and the battery limits.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/FanCalibrationDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

// The store of a whole view (its settings, custom pressures, building and
// fan calibration), with the screen's window closed.
class IdleReadings : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pStore = m_view->m_pTestGraph;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
        m_view->m_pSettings->m_chMethodLetter[1] = L'A';
    }
    void TearDown() override { g_nCurrentDirection = m_nSavedDirection; }

    CSimbrel1View& View() const { return *m_view.Get(); }

    CTestView m_view{L"idle-readings"};
    CTestGraph1* m_pStore = nullptr;
    int m_nSavedDirection = 0;
};

std::vector<double> TargetList(const CTestGraph1& s, int d)
{
    std::vector<double> v;
    for (int k = 0; k <= CTestGraph1::kMaxTargets && s.m_Targets[d][k] != 0.0; ++k)
        v.push_back(s.m_Targets[d][k]);
    return v;
}

TEST_F(IdleReadings, DefaultTargetsByStandardLetterAndTheCopyToTheOtherSlot)
{
    CTestGraph1& s = *m_pStore;
    for (int k = 0; k < CTestGraph1::kMaxTargets; ++k)
        View().m_pCustomPressures->m_dPressure[0][k] = 100.0 - 7.0 * k;
    View().m_pCustomPressures->m_dPressure[0][CTestGraph1::kMaxTargets] = 55.0;   // never copied
    std::vector<double> custom;
    for (int k = 0; k < CTestGraph1::kMaxTargets; ++k)
        custom.push_back(100.0 - 7.0 * k);
    const std::vector<double> earlier = {33, 22, 11};

    struct Case {
        wchar_t chLetter;
        int nDirection;
        std::vector<double> expected;
    } cases[] = {
        {L'C', 0, {50, 45, 40, 35, 30, 25, 20, 15}},
        {L'E', 0, {65, 59, 53, 47, 41, 35, 29, 23, 17, 11}},
        {L'A', 1, {60, 55, 50, 45, 40, 35, 30, 25, 20, 15}},
        {L'I', 0, {64, 58, 52, 46, 40, 34, 28, 22, 16, 10}},
        {L'U', 0, custom},
        {L'X', 0, earlier},   // no list of its own: the slot's list stays
        {0, 1, earlier},
    };
    for (const Case& c : cases) {
        g_nCurrentDirection = c.nDirection;
        const int o = 1 - c.nDirection;
        for (int d = 0; d < 2; ++d)
            for (int k = 0; k <= CTestGraph1::kMaxTargets; ++k)
                s.m_Targets[d][k] = -1.0;
        for (size_t k = 0; k < earlier.size(); ++k)
            s.m_Targets[c.nDirection][k] = earlier[k];
        s.m_Targets[c.nDirection][earlier.size()] = 0.0;
        View().m_pSettings->m_chStandardLetter = c.chLetter;
        s.SetDefaultTargets();
        EXPECT_EQ(TargetList(s, c.nDirection), c.expected) << char(c.chLetter);
        // The other slot takes the whole list, the ending 0 included.
        for (int k = 0; k <= CTestGraph1::kMaxTargets; ++k)
            EXPECT_EQ(s.m_Targets[o][k], s.m_Targets[c.nDirection][k]) << char(c.chLetter) << " " << k;
    }
    // A custom list ends after its 12 values.
    g_nCurrentDirection = 0;
    View().m_pSettings->m_chStandardLetter = L'U';
    s.SetDefaultTargets();
    EXPECT_EQ(0.0, s.m_Targets[0][CTestGraph1::kMaxTargets]);
}

TEST(IdleEstimate, FiftyPascalEstimateOnlyBetweenFortyAndSixtyAndForAVolume)
{
    struct Case {
        double dP, dVolume, n;
        bool bShown;
    } cases[] = {
        {40.0, 300, 0.65, false}, {40.01, 300, 0.65, true}, {-50.0, 300, 0.65, true}, {59.99, 300, 0.65, true},
        {60.0, 300, 0.65, false}, {-60.0, 300, 0.65, false}, {50.0, 0.01, 0.65, false}, {50.0, 0.0101, 0.65, true},
        {50.0, -300, 0.65, false},
    };
    for (const Case& c : cases) {
        double dEstimate = -1.0;
        EXPECT_EQ(c.bShown, CTestGraph1::EstimateAirChanges(c.dP, 1000.0, c.n, c.dVolume, 1.0, 1.0, dEstimate))
            << c.dP << " Pa, " << c.dVolume;
    }
    // 60 x flow / V x (50 / |dP|)^e x L^3 / F.
    double dEstimate = 0.0;
    ASSERT_TRUE(CTestGraph1::EstimateAirChanges(-45.0, 1200.0, 0.6, 500.0, 1.0, 1.0, dEstimate));
    EXPECT_DOUBLE_EQ(60.0 * 1200.0 / 500.0 * std::pow(50.0 / 45.0, 0.6), dEstimate);
    // m³/h and m: the flow factor per cfm and the length factor per ft.
    ASSERT_TRUE(CTestGraph1::EstimateAirChanges(50.0, 1699.0, 0.65, 400.0, 0.3048, 1.699, dEstimate));
    EXPECT_NEAR(60.0 * 1000.0 / (400.0 / (0.3048 * 0.3048 * 0.3048)), dEstimate, 1e-9);
    // A failed fit (n = -1) uses the usual exponent, never a negative one.
    double dFailed = 0.0, dUsual = 0.0;
    ASSERT_TRUE(CTestGraph1::EstimateAirChanges(42.0, 1000.0, -1.0, 300.0, 1.0, 1.0, dFailed));
    ASSERT_TRUE(CTestGraph1::EstimateAirChanges(42.0, 1000.0, 0.65, 300.0, 1.0, 1.0, dUsual));
    EXPECT_DOUBLE_EQ(dUsual, dFailed);
}

TEST_F(IdleReadings, EstimateTextUsesTheFitOnlyOnceTheSlotHasTests)
{
    CTestGraph1& s = *m_pStore;
    View().m_pBuildingInfo->m_dVolume[0] = 300.0;
    View().m_dBuildingFactor = 1.0;
    View().m_dFlowFactor = 1.0;
    auto expected = [](double e) {
        CString str;
        str.Format(L"%3.2f", 60.0 * 1000.0 / 300.0 * std::pow(50.0 / 45.0, e));
        return std::wstring(str.GetString());
    };
    s.m_CompletedTests[0] = 0;
    s.UpdateFlowEstimate(45.0, 1000.0, 0.5, 1);
    EXPECT_EQ(expected(0.65), s.m_strResults.GetString());
    s.m_CompletedTests[0] = 1;
    s.UpdateFlowEstimate(45.0, 1000.0, 0.5, 1);
    EXPECT_EQ(expected(0.5), s.m_strResults.GetString());
    s.UpdateFlowEstimate(45.0, 1000.0, -1.0, 1);
    EXPECT_EQ(expected(0.65), s.m_strResults.GetString());
    // A small estimate has no leading blanks.
    s.UpdateFlowEstimate(45.0, 10.0, 0.5, 1);
    EXPECT_NE(L' ', s.m_strResults.GetString()[0]);
    EXPECT_FALSE(s.m_strResults.IsEmpty());
    s.UpdateFlowEstimate(45.0, 1000.0, 0.5, 0);
    EXPECT_TRUE(s.m_strResults.IsEmpty());
    s.UpdateFlowEstimate(30.0, 1000.0, 0.5, 1);
    EXPECT_TRUE(s.m_strResults.IsEmpty());
    s.m_CompletedTests[0] = 0;
}

TEST_F(IdleReadings, ReadoutsShowLowAtTheRingMinimumAndADecimalForTheSmallestRing)
{
    CTestGraph1& s = *m_pStore;
    CFanCalibrationDialog& cal = *View().m_pFanCalibration;
    cal.m_dSelMinFanPressure = 10.0;
    View().m_pEquipment->m_chFanCode = L'4';
    s.m_nIdleCount = 7;
    s.UpdateReadouts(1, 12.34, 0.0, -10.0, 512.3, 0);
    EXPECT_STREQ(L"Low", s.m_strFlow.GetString());
    EXPECT_EQ(0, s.m_bFlowValid);
    EXPECT_STREQ(L"-10.0", s.m_strFanPressure.GetString());
    EXPECT_STREQ(L"12.3", s.m_strBuildingPressure.GetString());
    EXPECT_TRUE(s.m_strBaseline.IsEmpty());
    EXPECT_EQ(0, s.m_nIdleCount);
    s.UpdateReadouts(0, 12.34, -0.46, 10.01, 512.3, 0);
    EXPECT_STREQ(L" 512", s.m_strFlow.GetString());
    EXPECT_EQ(1, s.m_bFlowValid);
    EXPECT_STREQ(L"-0.5", s.m_strBaseline.GetString());
    View().m_pEquipment->m_chFanCode = L'B';
    s.m_CurrentRing[0] = 4;
    s.UpdateReadouts(0, 12.34, 0.0, 20.0, 51.26, 0);
    EXPECT_STREQ(L"51.3", s.m_strFlow.GetString());
    s.m_CurrentRing[0] = 3;
    s.UpdateReadouts(0, 12.34, 0.0, 20.0, 51.26, 0);
    EXPECT_STREQ(L"  51", s.m_strFlow.GetString());
    s.m_CurrentRing[0] = 0;
}

TEST_F(IdleReadings, FlowOfTheNextTestUsesOneOnceTheSlotIsFull)
{
    CTestGraph1& s = *m_pStore;
    CFanCalibrationDialog& cal = *View().m_pFanCalibration;
    cal.m_dSelC = 80.0;
    cal.m_dSelN = 0.5;
    s.m_FlowFactor[0][2] = 1.25;
    s.m_CompletedTests[0] = 2;
    EXPECT_DOUBLE_EQ(1.25 * 80.0 * 10.0, s.GetCorrectedFlow(-100.0));
    s.m_CompletedTests[0] = CTestGraph1::kMaxTests;
    EXPECT_DOUBLE_EQ(1.0, s.GetNextTestFlowFactor(0));
    EXPECT_DOUBLE_EQ(800.0, s.GetCorrectedFlow(100.0));
    s.m_CompletedTests[0] = 0;
}

TEST_F(IdleReadings, ZoneReadoutsAreLiveLessBaselineForActiveZonesOnly)
{
    CTestGraph1& s = *m_pStore;
    const int ids[][2] = {{3, 1528}, {4, 1529}, {8, 1533}, {2, 1528}, {9, 1528}, {-1, 1528}};
    for (const auto& [nChannel, nID] : ids)
        EXPECT_EQ(nID, CTestGraph1::GetZoneReadoutId(nChannel)) << nChannel;

    CTestSettingsDialog& settings = *View().m_pSettings;
    settings.m_bZonalActive = 1;
    View().m_bAutoSelect = 0;
    settings.m_nZoneActive[0][0] = 1;   // P3
    settings.m_nZoneActive[0][1] = 0;   // P4
    settings.m_nZoneActive[0][2] = 1;   // P5
    s.m_ChannelsInUse = 5;              // building, fan, P3 to P5
    s.m_ZoneReading[0][0] = 12.25;
    s.m_ZoneReading[1][0] = 0.5;
    s.m_ZoneReading[0][1] = 7.0;
    s.m_ZoneReading[0][2] = -3.0;
    s.m_ZoneReading[1][2] = -0.04;
    s.m_strZoneReadout[1] = L"old";
    s.m_strZoneReadout[3] = L"beyond";
    s.UpdateZoneReadouts();
    EXPECT_STREQ(L"11.8", s.m_strZoneReadout[0].GetString());
    EXPECT_TRUE(s.m_strZoneReadout[1].IsEmpty());
    EXPECT_STREQ(L"-3.0", s.m_strZoneReadout[2].GetString());
    EXPECT_STREQ(L"beyond", s.m_strZoneReadout[3].GetString());   // P6 is not read

    const double values[9] = {0, 0, 0, 1.25, 2.0, 3.0, 4.0, 5.0, -6.06};
    s.FormatZoneReadout(8, values);
    EXPECT_STREQ(L"-6.1", s.m_strZoneReadout[5].GetString());
    s.FormatZoneReadout(9, values);   // no such readout: nothing written
    EXPECT_STREQ(L"-6.1", s.m_strZoneReadout[5].GetString());

    // No code sets the per-zone baseline flags: an active zone in use reads unset.
    EXPECT_EQ(0, s.AreZoneBaselinesSet());
    View().m_bAutoSelect = 1;
    EXPECT_EQ(1, s.AreZoneBaselinesSet());
    View().m_bAutoSelect = 0;
    s.m_ChannelsInUse = 2;
    EXPECT_EQ(1, s.AreZoneBaselinesSet());
    settings.m_bZonalActive = 0;
    s.m_ChannelsInUse = 0;
}

TEST(IdleBattery, GaugeBatteryLimits)
{
    struct Case {
        double dVolts;
        int bNetwork;
        int nLevel;
    } cases[] = {
        {0.09, 0, -1}, {0.0, 1, -1}, {0.1, 0, 2},  {5.83, 0, 0}, {5.82, 0, 1}, {5.53, 0, 1}, {5.52, 0, 1},
        {5.51, 0, 2},  {3.50, 1, 0}, {3.49, 1, 1}, {3.33, 1, 1}, {3.32, 1, 2}, {4.0, 1, 0},  {4.0, 0, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nLevel, CTestGraph1::GetBatteryLevel(c.dVolts, c.bNetwork)) << c.dVolts << " V, " << c.bNetwork;
}

}  // namespace
