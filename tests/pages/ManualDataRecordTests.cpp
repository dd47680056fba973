// The manual data record: its key lines, the reader's partial values and
// older files, clearing, and the flow rescaling of a unit change.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/BaselineDataEntry.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"

namespace {

void SetRow(CManualDataEntryDialog& m, int d, int r, int nRing, const wchar_t* pszBp, const wchar_t* pszFan,
            const wchar_t* pszFlow)
{
    m.m_nRing[d][r] = nRing;
    m.m_strBuildingP[d][r] = pszBp;
    m.m_strFanP[d][r] = pszFan;
    m.m_strFlow[d][r] = pszFlow;
}

}  // namespace

TEST(ManualDataRecord, WritesTheFiveLineExampleByteForByte)
{
    CManualDataEntryDialog m;
    SetRow(m, 1, 0, -1, L"-0.4", L"9.9", L"9");
    SetRow(m, 1, 1, 3, L"-50.2", L"112.5", L"1630");
    SetRow(m, 1, 2, 3, L"-40.1", L"88.0", L"1420");
    SetRow(m, 1, 13, -1, L"-0.6", L"", L"");
    m.m_nGauge[1] = 0;
    EXPECT_EQ(m.WriteToFile(1).str(), L"D_Manual_Entry_Data_Row_0: -1 -0.4 0.0 0.0\n"
                                      L"D_Manual_Entry_Data_Row_1: 3 -50.2 112.5 1630\n"
                                      L"D_Manual_Entry_Data_Row_2: 3 -40.1 88.0 1420\n"
                                      L"D_Manual_Entry_Data_Row_13: -1 -0.6 0.0 0.0\n"
                                      L"D_Manual_Gauge: 0\n");
    EXPECT_EQ(m.WriteToFile(0).str(), L"");
}

TEST(ManualDataRecord, WriterLeavesOutRowsWithoutRingAndSlotsWithoutPointOrRing)
{
    CManualDataEntryDialog m;
    // Baselines but no building pressure in row 1: nothing, not even the gauge.
    SetRow(m, 0, 0, -1, L"0.3", L"", L"");
    SetRow(m, 0, 13, -1, L"0.2", L"", L"");
    SetRow(m, 0, 2, 1, L"40", L"50", L"600");
    EXPECT_EQ(m.WriteToFile(0).str(), L"");
    // Row 1 with a building pressure but no ring in any row 1 to 12.
    CManualDataEntryDialog n;
    SetRow(n, 0, 1, -1, L"50", L"60", L"700");
    EXPECT_EQ(n.WriteToFile(0).str(), L"");
    // A row without ring between rings is left out.
    SetRow(n, 0, 2, -1, L"45", L"", L"");
    SetRow(n, 0, 3, 2, L"40", L"30", L"500");
    n.m_nGauge[0] = 1;
    EXPECT_EQ(n.WriteToFile(0).str(), L"P_Manual_Entry_Data_Row_0: -1  0.0 0.0\n"
                                      L"P_Manual_Entry_Data_Row_3: 2 40 30 500\n"
                                      L"P_Manual_Entry_Data_Row_13: -1  0.0 0.0\n"
                                      L"P_Manual_Gauge: 1\n");
}

TEST(ManualDataRecord, ReaderStoresPartialValuesAsFarAsTheirLastBlank)
{
    struct Case {
        const wchar_t* pszValue;
        int nRing;
        const wchar_t* pszBp;
        const wchar_t* pszFan;
        const wchar_t* pszFlow;
    };
    // The row held ring 5, "old", "oldF", "oldQ" before the read.
    const Case cases[] = {
        {L"2", 5, L"old", L"oldF", L"oldQ"},
        {L"2 -50", 2, L"old", L"oldF", L"oldQ"},
        {L"2 -50 112", 2, L"-50", L"oldF", L"oldQ"},
        {L"2 -50 112 1630", 2, L"-50", L"112", L"1630"},
        {L"2 -50 112 1630 extra", 2, L"-50", L"112", L"1630 extra"},
        {L"x -50 112 1630", 0, L"-50", L"112", L"1630"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.pszValue).ToAnsi());
        CManualDataEntryDialog m;
        SetRow(m, 0, 1, 5, L"old", L"oldF", L"oldQ");
        const CString strText = CString(L"P_Manual_Entry_Data_Row_1: ") + c.pszValue + L"\n";
        m.ReadFromText(strText, true, true, 0);
        EXPECT_EQ(m.m_nRing[0][1], c.nRing);
        EXPECT_EQ(m.m_strBuildingP[0][1].str(), c.pszBp);
        EXPECT_EQ(m.m_strFanP[0][1].str(), c.pszFan);
        EXPECT_EQ(m.m_strFlow[0][1].str(), c.pszFlow);
    }
}

TEST(ManualDataRecord, ReadsWhatItWroteAndGaugeDefaultsToFlows)
{
    CManualDataEntryDialog m;
    SetRow(m, 0, 0, -1, L"0.5", L"", L"");
    SetRow(m, 0, 1, 1, L"50.3", L"120.0", L"2210");
    SetRow(m, 0, 3, 2, L"30.1", L"80.0", L"900");
    SetRow(m, 0, 13, -1, L"0.7", L"", L"");
    SetRow(m, 1, 0, -1, L"-0.4", L"", L"");
    SetRow(m, 1, 1, 3, L"-50.2", L"112.5", L"1630");
    m.m_nGauge[0] = 0;
    m.m_nGauge[1] = 0;
    // The depressurization gauge line is taken out: a missing key gives 1.
    CString strText = m.WriteToFile(0) + m.WriteToFile(1);
    strText.Replace(L"D_Manual_Gauge: 0\n", L"");

    CManualDataEntryDialog r;
    r.ReadFromText(strText, true, true, 0);
    for (int d = 0; d < 2; ++d)
        for (int row : {0, 1, 3, 13}) {
            EXPECT_EQ(r.m_nRing[d][row], m.m_nRing[d][row]) << d << "/" << row;
            EXPECT_EQ(r.m_strBuildingP[d][row], m.m_strBuildingP[d][row]) << d << "/" << row;
            if (row != 0 && row != 13) {
                EXPECT_EQ(r.m_strFanP[d][row], m.m_strFanP[d][row]);
                EXPECT_EQ(r.m_strFlow[d][row], m.m_strFlow[d][row]);
            }
        }
    EXPECT_TRUE(r.m_strBuildingP[0][2].IsEmpty());
    EXPECT_EQ(r.m_nRing[0][2], -1);
    EXPECT_EQ(r.m_nGauge[0], 0);
    EXPECT_EQ(r.m_nGauge[1], 1);
}

TEST(ManualDataRecord, OldFilesFillTheCurrentDirectionAndTakeAnEarlyBaselineAsRow13)
{
    const CString strText = L"Manual_Entry_Data_0: -1 0.4 0.0 0.0\n"
                            L"Manual_Entry_Data_1: 1 50 100 2000\n"
                            L"Manual_Entry_Data_2: 1 40 90 1800\n"
                            L"Manual_Entry_Data_3: 2 30 70 900\n"
                            L"Manual_Entry_Data_4: -1 0.6 0.0 0.0\n"
                            L"Manual_Entry_Data_5: 2 20 50 700\n"
                            L"P_Manual_Gauge: 0\n";
    CManualDataEntryDialog m;
    SetRow(m, 1, 1, 4, L"-33", L"44", L"55");
    m.ReadFromText(strText, false, false, 0);
    EXPECT_EQ(m.m_strBuildingP[0][3].str(), L"30");
    EXPECT_EQ(m.m_strBuildingP[0][13].str(), L"0.6");
    EXPECT_EQ(m.m_nRing[0][13], -1);
    EXPECT_TRUE(m.m_strBuildingP[0][4].IsEmpty());
    EXPECT_TRUE(m.m_strBuildingP[0][5].IsEmpty());   // not read after the baseline
    EXPECT_EQ(m.m_nGauge[0], 0);
    // The other direction keeps what it held.
    EXPECT_EQ(m.m_strBuildingP[1][1].str(), L"-33");
    EXPECT_EQ(m.m_nRing[1][1], 4);
}

TEST(ManualDataRecord, RingOutsideTheTableReadsAsNoRingAndIsNoPostTestRow)
{
    CManualDataEntryDialog m;
    m.ReadFromText(L"P_Manual_Entry_Data_Row_1: 1 50 100 2000\n"
                   L"P_Manual_Entry_Data_Row_2: 9 45 90 1900\n"
                   L"P_Manual_Entry_Data_Row_3: -7 40 80 1800\n"
                   L"P_Manual_Entry_Data_Row_4: 2 35 70 1700\n",
                   true, true, 0);
    EXPECT_EQ(m.m_nRing[0][2], -1);
    EXPECT_EQ(m.m_nRing[0][3], -1);
    EXPECT_EQ(m.m_strBuildingP[0][3].str(), L"40");
    EXPECT_TRUE(m.m_strBuildingP[0][13].IsEmpty());
    EXPECT_EQ(m.m_nRing[0][4], 2);
    // A ring the fan's list does not have counts as none in the grid.
    m.m_chFanCode = L'A';
    m.m_nRing[0][4] = 5;
    EXPECT_EQ(m.GetRowRing(0, 4), -1);
    m.m_chFanCode = L'3';
    EXPECT_EQ(m.GetRowRing(0, 4), 5);
    EXPECT_EQ(m.GetRowRing(0, 99), -1);
    EXPECT_EQ(m.GetRowRing(2, 1), -1);
}

TEST(ManualDataRecord, ScaleFlowTextsTouchesOnlyTheDataRowsFlows)
{
    CManualDataEntryDialog m;
    SetRow(m, 0, 1, 1, L"50", L"100", L"1500");
    SetRow(m, 0, 2, 1, L"40", L"90", L"");
    SetRow(m, 1, 12, 1, L"-40", L"90", L"100");
    m.m_strFlow[0][0] = L"7";
    m.m_strFlow[0][13] = L"8";
    m.ScaleFlowTexts(0.4719474432000001);
    EXPECT_EQ(m.m_strFlow[0][1].str(), L"707.9212");
    EXPECT_TRUE(m.m_strFlow[0][2].IsEmpty());
    EXPECT_EQ(m.m_strFlow[1][12].str(), L"47.1947");
    EXPECT_EQ(m.m_strFlow[0][0].str(), L"7");
    EXPECT_EQ(m.m_strFlow[0][13].str(), L"8");
    EXPECT_EQ(m.m_strFanP[0][1].str(), L"100");
    EXPECT_EQ(m.m_strBuildingP[0][1].str(), L"50");
}

TEST(ManualDataRecord, ClearDataReachesTheBaselineAndEnvironmentRecords)
{
    CTestView view(L"ManualClearView");
    CManualDataEntryDialog& m = *view->m_pManualEntry;
    CBaselineDataEntry& baseline = *view->m_pBaseline;
    for (const int nStandard : {1, 0}) {
        SCOPED_TRACE(nStandard);
        view->m_pSettings->m_nStandard = nStandard;
        SetRow(m, 1, 1, 2, L"-50", L"100", L"1000");
        m.m_nGauge[1] = 0;
        m.m_nFlowSource = 0;
        m.m_nRowCount[1] = 1;
        m.m_strPretestAvg = L"0.2";
        SetRow(m, 0, 1, 2, L"50", L"100", L"1000");
        baseline.m_strPretestReadings[1] = L"1\r\n2";
        baseline.m_strPretestAvg[1] = L"1.50";
        baseline.m_strPretestAvg[0] = L"3.00";
        view->m_pTemperature->m_strTestIndoorTemp[1][0] = L"20";
        view->m_pTempBaro->m_strTestOutdoorTemp[1][3] = L"5";
        view->m_pTempAltitude->m_strTestAltitude[1][0] = L"300";
        view->m_pTempBaro->m_strTestIndoorTemp[0][0] = L"19";

        m.ClearData(1);
        EXPECT_TRUE(m.m_strBuildingP[1][1].IsEmpty());
        EXPECT_EQ(m.m_nRing[1][1], -1);
        EXPECT_EQ(m.m_nRowCount[1], 0);
        EXPECT_TRUE(m.m_strPretestAvg.IsEmpty());
        EXPECT_EQ(m.m_nGauge[1], 0);
        EXPECT_EQ(m.m_nFlowSource, 0);
        EXPECT_EQ(m.m_strBuildingP[0][1].str(), L"50");
        // The baseline page is cleared only for EN 13829 and ISO 9972.
        EXPECT_EQ(baseline.m_strPretestReadings[1].IsEmpty(), nStandard == 1);
        EXPECT_EQ(baseline.m_strPretestAvg[0].str(), L"3.00");
        // The environment of the slot's tests goes under every standard.
        EXPECT_TRUE(view->m_pTemperature->m_strTestIndoorTemp[1][0].IsEmpty());
        EXPECT_TRUE(view->m_pTempBaro->m_strTestOutdoorTemp[1][3].IsEmpty());
        EXPECT_TRUE(view->m_pTempAltitude->m_strTestAltitude[1][0].IsEmpty());
        EXPECT_EQ(view->m_pTempBaro->m_strTestIndoorTemp[0][0], L"19");
    }
}

