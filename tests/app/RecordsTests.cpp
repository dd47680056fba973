// The records the view owns, used without windows: their start values, their
// clears, and the trace of their construction and destruction.
#include <gtest/gtest.h>

#include "app/Lifecycle.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "comm/QarCommunications.h"
#include "pages/BaselineDataEntry.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "testrun/TestGraph1.h"

#include <memory>
#include <string>
#include <vector>

namespace {

struct NamedText {
    const char* name;
    CString* pText;
};
#define TEXT_FIELD(field) NamedText{#field, &(field)}

// Every text gets a value, so that a clear that misses one shows which.
void FillTexts(std::initializer_list<NamedText> texts)
{
    for (const NamedText& text : texts)
        *text.pText = L"12,000";
}

void ExpectEmpty(std::initializer_list<NamedText> texts)
{
    for (const NamedText& text : texts)
        EXPECT_TRUE(text.pText->IsEmpty()) << text.name << " = \"" << text.pText->ToAnsi() << "\"";
}

// Installs a sink for one scope and puts the previous one back.
class CScopedLifecycleSink {
public:
    CScopedLifecycleSink() : m_pOld(SetLifecycleSink(&entries)) {}
    ~CScopedLifecycleSink() { SetLifecycleSink(m_pOld); }
    CScopedLifecycleSink(const CScopedLifecycleSink&) = delete;
    CScopedLifecycleSink& operator=(const CScopedLifecycleSink&) = delete;

    std::vector<std::string> entries;

private:
    std::vector<std::string>* m_pOld;
};

// Records never dereference the view in these tests; any distinct address will do.
CSimbrel1View* FakeView()
{
    static int s_dummy;
    return reinterpret_cast<CSimbrel1View*>(&s_dummy);
}

}  // namespace

TEST(RecordLifecycle, SinkSeesConstructionAndDestructionInOrder)
{
    CScopedLifecycleSink sink;
    {
        auto pGraph = std::make_unique<CTestGraph1>(FakeView());
        auto pLink = std::make_unique<CQarCommunications>();
        auto pMath = std::make_unique<CQarMathFunctions>();
        pLink->m_bConnected = 1;
        pLink->CloseDevice();
        pMath.reset();
        pLink.reset();
    }
    EXPECT_EQ((std::vector<std::string>{"+CTestGraph1", "+CQarCommunications", "+CQarMathFunctions", "CloseDevice",
                                        "-CQarMathFunctions", "-CQarCommunications", "-CTestGraph1"}),
              sink.entries);
}

TEST(RecordLifecycle, EveryRecordTracesItsOwnName)
{
    CScopedLifecycleSink sink;
    {
        CFanCalibrationDialog fanCalibration;
        CDeviationsFromStandard deviations(FakeView());
        CZoneDataDialog zoneData(FakeView());
        CTestResultsDialog results(FakeView());
        CTestSettingsDialog settings(FakeView());
        CBuildingInfoDialog building(FakeView());
        CCommentsDialog comments(FakeView());
        CEN13829DataEntryDialog en13829(FakeView());
        CISO9972DataEntryDialog iso9972(FakeView());
        CEquipmentInfoDialogIntl equipment;
        CCustomPressuresDialog customPressures;
        CBusinessInfoDialog business;
        CManualDataEntryDialog manual;
        CBaselineDataEntry baseline;
        CTemperatureEntryDialog temperature;
        CTemperatureAndBarometricPressure tempBaro;
        CTemperatureAndAltitudeEntry tempAltitude;
    }
    const std::vector<std::string> names{
        "CFanCalibrationDialog", "CDeviationsFromStandard", "CZoneDataDialog", "CTestResultsDialog",
        "CTestSettingsDialog", "CBuildingInfoDialog", "CCommentsDialog", "CEN13829DataEntryDialog",
        "CISO9972DataEntryDialog", "CEquipmentInfoDialogIntl", "CCustomPressuresDialog", "CBusinessInfoDialog",
        "CManualDataEntryDialog", "CBaselineDataEntry", "CTemperatureEntryDialog",
        "CTemperatureAndBarometricPressure", "CTemperatureAndAltitudeEntry"};
    std::vector<std::string> expected;
    for (const std::string& name : names)
        expected.push_back("+" + name);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        expected.push_back("-" + *it);
    EXPECT_EQ(expected, sink.entries);
}

TEST(RecordLifecycle, NothingIsRecordedWithoutSinkAndTheOldSinkComesBack)
{
    std::vector<std::string> first;
    std::vector<std::string> second;
    EXPECT_EQ(nullptr, SetLifecycleSink(&first));
    EXPECT_EQ(&first, SetLifecycleSink(&second));
    EXPECT_EQ(&second, SetLifecycleSink(nullptr));
    { CQarMathFunctions math; }
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(second.empty());
}

TEST(GaugeLink, CloseDeviceLeavesTheLinkDisconnected)
{
    CQarCommunications link;
    link.m_bConnected = 1;
    EXPECT_EQ(1, link.CloseDevice());
    EXPECT_EQ(0, link.m_bConnected);
}

class TestDataStore : public testing::Test {
protected:
    // The store is large; keep it off the stack.
    std::unique_ptr<CTestGraph1> m_pStore = std::make_unique<CTestGraph1>(FakeView());

    void ExpectEmptyWithDefaultAxes() const
    {
        const CTestGraph1& s = *m_pStore;
        for (int d = 0; d < 2; ++d) {
            SCOPED_TRACE("slot " + std::to_string(d));
            EXPECT_EQ(0, s.m_StationCount[d]);
            EXPECT_EQ(0, s.m_CompletedTests[d]);
            EXPECT_EQ(0, s.m_CurrentRing[d]);
            EXPECT_EQ(-1, s.m_LastDeletedIndex[d]);
            for (const CString& point : s.m_DeletedPoints[d])
                EXPECT_TRUE(point.IsEmpty());
            EXPECT_EQ(4.0, s.m_AxisPmin[d]);
            EXPECT_EQ(70.0, s.m_AxisPmax[d]);
            EXPECT_EQ(100.0, s.m_AxisQmin[d]);
            EXPECT_EQ(6000.0, s.m_AxisQmax[d]);
            for (int t = 0; t < CTestGraph1::kMaxTests; ++t) {
                EXPECT_EQ(-1, s.m_TestFirstRow[d][t]);
                EXPECT_EQ(0, s.m_TestRowCount[d][t]);
                for (int phase = 0; phase < 2; ++phase) {
                    EXPECT_EQ(0.0, s.m_TestTin[phase][d][t]);
                    EXPECT_EQ(0.0, s.m_TestTout[phase][d][t]);
                    EXPECT_EQ(0.0, s.m_TestPbaro[phase][d][t]);
                }
            }
        }
        EXPECT_EQ(0.0, s.m_FanSpeed);
        EXPECT_EQ(0, s.m_CruiseMode);
    }

    // Two tests in each slot, as a run or a file would leave them.
    void FillBothSlots()
    {
        CTestGraph1& s = *m_pStore;
        s.m_FanSpeed = 3000.0;
        s.m_CruiseMode = 2;
        for (int d = 0; d < 2; ++d) {
            s.m_StationCount[d] = 12;
            s.m_CompletedTests[d] = 2;
            s.m_CurrentRing[d] = 3;
            s.m_LastDeletedIndex[d] = 1;
            s.m_DeletedPoints[d][0] = L"1 50.0 49.8 120.0 1500 0.1 2.0 END-1";
            s.m_DeletedPoints[d][1] = L"2 40.0 40.1 80.0 1200 0.1 2.0 END-2";
            s.m_AxisPmin[d] = 1.0;
            s.m_AxisPmax[d] = 90.0;
            s.m_AxisQmin[d] = 10.0;
            s.m_AxisQmax[d] = 9000.0;
            s.m_FitN[d] = 0.62;
            for (int t = 0; t < 2; ++t) {
                s.m_TestFirstRow[d][t] = 6 * t;
                s.m_TestRowCount[d][t] = 6;
                s.m_FlowFactor[d][t] = 0.97;
                s.m_TestAltitude[d][t] = 350.0;
                for (int phase = 0; phase < 2; ++phase) {
                    s.m_TestTin[phase][d][t] = 21.5;
                    s.m_TestTout[phase][d][t] = -3.0;
                    s.m_TestPbaro[phase][d][t] = 98500.0;
                }
            }
        }
    }
};

TEST_F(TestDataStore, FreshStoreIsEmptyWithDefaultAxesAndUnitFlowFactors)
{
    ExpectEmptyWithDefaultAxes();
    for (int d = 0; d < 2; ++d)
        for (int t = 0; t < CTestGraph1::kMaxTests; ++t)
            EXPECT_EQ(1.0, m_pStore->m_FlowFactor[d][t]);
    EXPECT_EQ(FakeView(), m_pStore->m_pView);
    EXPECT_EQ(nullptr, m_pStore->m_pFanCalibration);
    EXPECT_EQ(nullptr, m_pStore->m_pSettings);
    EXPECT_EQ(nullptr, m_pStore->m_pEquipment);
}

TEST_F(TestDataStore, ResetEmptiesBothSlotsAndKeepsFlowFactorsAltitudesAndFits)
{
    FillBothSlots();
    m_pStore->ResetTestData();
    ExpectEmptyWithDefaultAxes();
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(0.97, m_pStore->m_FlowFactor[d][1]);
        EXPECT_EQ(350.0, m_pStore->m_TestAltitude[d][1]);
        EXPECT_EQ(0.62, m_pStore->m_FitN[d]);
    }
}

TEST(TestSettingsRecord, FactoryDefaultsAreIso9972AutomaticWithoutZones)
{
    CTestSettingsDialog settings(FakeView());
    auto expectFactory = [&settings] {
        EXPECT_EQ(L'I', settings.m_chStandardLetter);
        EXPECT_EQ(3, settings.m_nStandard);
        EXPECT_EQ(0, settings.m_nPressuresChoice);
        EXPECT_EQ(1, settings.m_nMethodIndex);
        EXPECT_EQ(L'A', settings.m_chMethodLetter[0]);
        EXPECT_EQ(L'A', settings.m_chMethodLetter[1]);
        EXPECT_EQ(L'P', settings.m_chDirectionLetter[0]);
        EXPECT_EQ(L'D', settings.m_chDirectionLetter[1]);
        EXPECT_STREQ(L"2.0", settings.m_strTargetTolerance.GetString());
        EXPECT_STREQ(L"200", settings.m_strDataSamples.GetString());
        EXPECT_STREQ(L"1.0", settings.m_strFanAdjust.GetString());
        EXPECT_STREQ(L"90", settings.m_strHighPressureLimit.GetString());
        EXPECT_STREQ(L"0.0", settings.m_strFanStartPercent.GetString());
        EXPECT_EQ(2.0, settings.m_dTargetTolerance);
        EXPECT_EQ(200.0, settings.m_dDataSamples);
        EXPECT_EQ(1.0, settings.m_dFanAdjust);
        EXPECT_EQ(90.0, settings.m_dHighPressureLimit);
        EXPECT_EQ(0.0, settings.m_dFanStartPercent);
        EXPECT_EQ(0, settings.m_bZonalActive);
        const wchar_t* letters = L"ABCDEF";
        for (int d = 0; d < 2; ++d) {
            for (int z = 3; z <= 8; ++z) {
                SCOPED_TRACE("slot " + std::to_string(d) + " zone " + std::to_string(z));
                EXPECT_EQ(0, settings.m_nZoneActive[d][z]);
                EXPECT_EQ(0, settings.m_nZoneReference[d][z]);
                // The word before the letter is a string-table text.
                const CString& name = settings.m_strZoneName[d][z];
                const wchar_t expectedEnd[] = {L' ', letters[z - 3], 0};
                EXPECT_STREQ(expectedEnd, name.Right(2).GetString());
            }
        }
    };
    expectFactory();
    EXPECT_EQ(0, settings.m_nFocusCtrlId);
    EXPECT_EQ(0, settings.m_bSetAsDefaults);
    EXPECT_EQ(0, settings.m_bCreated);

    settings.m_chStandardLetter = L'U';
    settings.m_nStandard = 2;
    settings.m_nPressuresChoice = 1;
    settings.m_nMethodIndex = 0;
    settings.m_chMethodLetter[1] = L'M';
    settings.m_chDirectionLetter[0] = L'D';
    settings.m_strTargetTolerance = L"5";
    settings.m_strDataSamples = L"50";
    settings.m_dDataSamples = 50.0;
    settings.m_strHighPressureLimit = L"75";
    settings.m_bZonalActive = 1;
    settings.m_nZoneActive[1][5] = 1;
    settings.m_nZoneReference[0][8] = 1;
    settings.m_strZoneName[1][3] = L"Garage";
    settings.SetFactoryDefaults();
    expectFactory();
}

TEST(PageRecords, BuildingClearEmptiesTextsDimensionsAndFlagsButKeepsUnitLabels)
{
    CBuildingInfoDialog b(FakeView());
    const std::initializer_list<NamedText> texts{
        TEXT_FIELD(b.m_strTestDate), TEXT_FIELD(b.m_strTestDateUniv), TEXT_FIELD(b.m_strTestDateLocal),
        TEXT_FIELD(b.m_strTechnician), TEXT_FIELD(b.m_strProjectName), TEXT_FIELD(b.m_strCustomerName),
        TEXT_FIELD(b.m_strCustomerNameLine2), TEXT_FIELD(b.m_strCustomerAddress),
        TEXT_FIELD(b.m_strCustomerAddressLine2), TEXT_FIELD(b.m_strCustomerCity), TEXT_FIELD(b.m_strCustomerState),
        TEXT_FIELD(b.m_strCustomerZip), TEXT_FIELD(b.m_strCustomerPhone), TEXT_FIELD(b.m_strCustomerFax),
        TEXT_FIELD(b.m_strCustomerEmail), TEXT_FIELD(b.m_strCustomerWebsite), TEXT_FIELD(b.m_strBuilding),
        TEXT_FIELD(b.m_strBuildingAddress), TEXT_FIELD(b.m_strBuildingAddressLine2),
        TEXT_FIELD(b.m_strApartmentNumber), TEXT_FIELD(b.m_strBuildingCity), TEXT_FIELD(b.m_strBuildingState),
        TEXT_FIELD(b.m_strBuildingZip), TEXT_FIELD(b.m_strYearOfConstruction), TEXT_FIELD(b.m_strVolume),
        TEXT_FIELD(b.m_strFloorArea), TEXT_FIELD(b.m_strSurfaceArea), TEXT_FIELD(b.m_strHeight),
        TEXT_FIELD(b.m_strUncertainty)};
    FillTexts(texts);
    for (int d = 0; d < 2; ++d) {
        b.m_dVolume[d] = 12000.0;
        b.m_dFloorArea[d] = 1500.0;
        b.m_dSurfaceArea[d] = 5200.0;
        b.m_dHeight[d] = 24.0;
    }
    b.m_bCountrySpecificVolume = b.m_bCountrySpecificFloorArea = b.m_bCountrySpecificSurfaceArea = TRUE;
    b.m_strVolumeUnit = L"m³";
    b.m_strLengthUnit = L"m";

    b.ClearData();

    ExpectEmpty(texts);
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(0.0, b.m_dVolume[d]);
        EXPECT_EQ(0.0, b.m_dFloorArea[d]);
        EXPECT_EQ(0.0, b.m_dSurfaceArea[d]);
        EXPECT_EQ(0.0, b.m_dHeight[d]);
    }
    EXPECT_FALSE(b.m_bCountrySpecificVolume);
    EXPECT_FALSE(b.m_bCountrySpecificFloorArea);
    EXPECT_FALSE(b.m_bCountrySpecificSurfaceArea);
    EXPECT_STREQ(L"m³", b.m_strVolumeUnit.GetString());
    EXPECT_STREQ(L"m", b.m_strLengthUnit.GetString());
    EXPECT_EQ(FakeView(), b.m_pView);
}

TEST(PageRecords, StandardPagesClearTextsAndChoices)
{
    CEN13829DataEntryDialog en(FakeView());
    CISO9972DataEntryDialog iso(FakeView());
    // Until the first clear or read the EN page has no preparation method at all.
    EXPECT_EQ(-1, en.m_nTestMethod);

    const std::initializer_list<NamedText> enTexts{
        TEXT_FIELD(en.m_strLimitValueName), TEXT_FIELD(en.m_strLimitValue), TEXT_FIELD(en.m_strRegulation),
        TEXT_FIELD(en.m_strHeatingType), TEXT_FIELD(en.m_strAirConditioningType),
        TEXT_FIELD(en.m_strVentilationType)};
    const std::initializer_list<NamedText> isoTexts{
        TEXT_FIELD(iso.m_strLimitValueName), TEXT_FIELD(iso.m_strLimitValue), TEXT_FIELD(iso.m_strRegulation),
        TEXT_FIELD(iso.m_strHeatingType), TEXT_FIELD(iso.m_strAirConditioningType),
        TEXT_FIELD(iso.m_strVentilationType), TEXT_FIELD(iso.m_strIsoTestMethod)};
    FillTexts(enTexts);
    FillTexts(isoTexts);
    en.m_nLimitValueType = iso.m_nLimitValueType = 4;
    en.m_nVentilationSelection = iso.m_nVentilationSelection = 1;
    en.m_nWindClass = iso.m_nWindClass = 7;
    en.m_nWindExposure = iso.m_nWindExposure = 2;
    en.m_nTestMethod = 2;

    en.ClearData();
    iso.ClearData();

    ExpectEmpty(enTexts);
    ExpectEmpty(isoTexts);
    EXPECT_EQ(0, en.m_nTestMethod);
    for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{
             {"en.m_nLimitValueType", en.m_nLimitValueType},
             {"en.m_nVentilationSelection", en.m_nVentilationSelection},
             {"en.m_nWindClass", en.m_nWindClass},
             {"en.m_nWindExposure", en.m_nWindExposure},
             {"iso.m_nLimitValueType", iso.m_nLimitValueType},
             {"iso.m_nVentilationSelection", iso.m_nVentilationSelection},
             {"iso.m_nWindClass", iso.m_nWindClass},
             {"iso.m_nWindExposure", iso.m_nWindExposure}})
        EXPECT_EQ(0, value) << name;
}

TEST(PageRecords, CommentsBusinessAndCustomPressuresClearToEmpty)
{
    CCommentsDialog comments(FakeView());
    CBusinessInfoDialog business;
    CCustomPressuresDialog pressures;
    EXPECT_EQ(1, comments.m_bFirstShow);

    const std::initializer_list<NamedText> texts{
        TEXT_FIELD(comments.m_strComments), TEXT_FIELD(business.m_strBusinessName),
        TEXT_FIELD(business.m_strNameLine2), TEXT_FIELD(business.m_strAddress),
        TEXT_FIELD(business.m_strAddressLine2), TEXT_FIELD(business.m_strCity), TEXT_FIELD(business.m_strState),
        TEXT_FIELD(business.m_strZip), TEXT_FIELD(business.m_strPhone), TEXT_FIELD(business.m_strFax),
        TEXT_FIELD(business.m_strEmail), TEXT_FIELD(business.m_strWebsite)};
    FillTexts(texts);
    for (int i = 0; i < CCustomPressuresDialog::kPressureCount; ++i) {
        pressures.m_strPressure[i].Format(L"%d", 65 - 6 * i);
        pressures.m_dPressure[0][i] = pressures.m_dPressure[1][i] = 65 - 6 * i;
    }

    comments.ClearData();
    business.ClearData();
    pressures.ClearData();

    ExpectEmpty(texts);
    for (int i = 0; i < CCustomPressuresDialog::kPressureCount; ++i) {
        EXPECT_TRUE(pressures.m_strPressure[i].IsEmpty()) << i;
        EXPECT_EQ(0.0, pressures.m_dPressure[0][i]) << i;
        EXPECT_EQ(0.0, pressures.m_dPressure[1][i]) << i;
    }
}

TEST(PageRecords, EquipmentClearGivesTheNewTestEquipment)
{
    CEquipmentInfoDialogIntl equipment;
    EXPECT_EQ(L'3', equipment.m_chFanCode);
    EXPECT_EQ(nullptr, equipment.m_pView);

    equipment.m_chFanCode = L'B';
    equipment.m_nFanIndex = 4;
    equipment.m_strFanSerial = L"F-1234";
    equipment.m_strGaugeModel = L"LZT";
    equipment.m_nGaugeModel = 3;
    equipment.m_strGaugeSerial = L"G-99";
    equipment.m_bCalibrationChanged = 1;
    equipment.ClearData();

    EXPECT_EQ(L'4', equipment.m_chFanCode);
    EXPECT_EQ(2, equipment.m_nFanIndex);
    EXPECT_TRUE(equipment.m_strFanSerial.IsEmpty());
    EXPECT_STREQ(L"RQ40", equipment.m_strGaugeModel.GetString());
    EXPECT_EQ(1, equipment.m_nGaugeModel);
    EXPECT_TRUE(equipment.m_strGaugeSerial.IsEmpty());
}

// Clearing one direction slot must leave the other slot's data alone.
TEST(PageRecords, SlotClearsTouchOnlyTheirSlot)
{
    CManualDataEntryDialog manual;
    CBaselineDataEntry baseline;
    CTemperatureEntryDialog temperature;
    CTemperatureAndBarometricPressure tempBaro;
    CTemperatureAndAltitudeEntry tempAltitude;
    EXPECT_EQ(1, manual.m_nFlowSource);
    for (int d = 0; d < 2; ++d)
        for (int r = 0; r < CManualDataEntryDialog::kRows; ++r)
            EXPECT_EQ(-1, manual.m_nRing[d][r]);

    for (int cleared = 0; cleared < 2; ++cleared) {
        SCOPED_TRACE("clearing slot " + std::to_string(cleared));
        const int kept = 1 - cleared;
        auto slotTexts = [&](int d) {
            std::vector<NamedText> texts{
                TEXT_FIELD(manual.m_strBuildingP[d][0]), TEXT_FIELD(manual.m_strBuildingP[d][13]),
                TEXT_FIELD(manual.m_strFanP[d][1]), TEXT_FIELD(manual.m_strFlow[d][12]),
                TEXT_FIELD(baseline.m_strPretestAvg[d]), TEXT_FIELD(baseline.m_strPretestPlus[d]),
                TEXT_FIELD(baseline.m_strPretestMinus[d]), TEXT_FIELD(baseline.m_strPosttestAvg[d]),
                TEXT_FIELD(baseline.m_strPosttestPlus[d]), TEXT_FIELD(baseline.m_strPosttestMinus[d]),
                TEXT_FIELD(baseline.m_strPretestReadings[d]), TEXT_FIELD(baseline.m_strPosttestReadings[d]),
                TEXT_FIELD(temperature.m_strTestIndoorTemp[d][0]),
                TEXT_FIELD(temperature.m_strTestOutdoorTemp[d][31]),
                TEXT_FIELD(tempBaro.m_strTestIndoorTemp[d][5]), TEXT_FIELD(tempBaro.m_strTestOutdoorTemp[d][31]),
                TEXT_FIELD(tempBaro.m_strTestAltitude[d][0]),
                TEXT_FIELD(tempAltitude.m_strTestPretestIndoorTemp[d][0]),
                TEXT_FIELD(tempAltitude.m_strTestPretestOutdoorTemp[d][1]),
                TEXT_FIELD(tempAltitude.m_strTestPosttestIndoorTemp[d][30]),
                TEXT_FIELD(tempAltitude.m_strTestPosttestOutdoorTemp[d][31]),
                TEXT_FIELD(tempAltitude.m_strTestAltitude[d][31])};
            return texts;
        };
        for (int d = 0; d < 2; ++d) {
            for (const NamedText& text : slotTexts(d))
                *text.pText = L"-0.4";
            manual.m_nRing[d][2] = 3;
            manual.m_nRowCount[d] = 2;
            manual.m_nGauge[d] = 1;
            baseline.m_nDataSource[d] = 1;
        }
        manual.m_strPretestPlus = L"0.5";
        manual.m_strPosttestMinus = L"-0.2";

        manual.ClearData(cleared);
        baseline.ClearData(cleared);
        temperature.ClearDirection(cleared);
        tempBaro.ClearDirection(cleared);
        tempAltitude.ClearDirection(cleared);

        for (const NamedText& text : slotTexts(cleared))
            EXPECT_TRUE(text.pText->IsEmpty()) << text.name;
        for (const NamedText& text : slotTexts(kept))
            EXPECT_STREQ(L"-0.4", text.pText->GetString()) << text.name;
        EXPECT_EQ(-1, manual.m_nRing[cleared][2]);
        EXPECT_EQ(3, manual.m_nRing[kept][2]);
        EXPECT_EQ(0, manual.m_nRowCount[cleared]);
        EXPECT_EQ(2, manual.m_nRowCount[kept]);
        // The grid's baseline fields belong to the shown slot, whichever is cleared.
        EXPECT_TRUE(manual.m_strPretestPlus.IsEmpty());
        EXPECT_TRUE(manual.m_strPosttestMinus.IsEmpty());
        // The gauge choice and the data source are choices, not data.
        EXPECT_EQ(1, manual.m_nGauge[cleared]);
        EXPECT_EQ(1, baseline.m_nDataSource[cleared]);
    }
}

TEST(PageRecords, SlotClearOutsideBothSlotsChangesNoSlot)
{
    CManualDataEntryDialog manual;
    CBaselineDataEntry baseline;
    CTemperatureEntryDialog temperature;
    for (int d = 0; d < 2; ++d) {
        manual.m_strBuildingP[d][1] = L"50";
        baseline.m_strPretestAvg[d] = L"0.3";
        temperature.m_strTestIndoorTemp[d][0] = L"21";
    }
    for (int slot : {-1, 2}) {
        manual.ClearData(slot);
        baseline.ClearData(slot);
        temperature.ClearDirection(slot);
    }
    for (int d = 0; d < 2; ++d) {
        EXPECT_STREQ(L"50", manual.m_strBuildingP[d][1].GetString());
        EXPECT_STREQ(L"0.3", baseline.m_strPretestAvg[d].GetString());
        EXPECT_STREQ(L"21", temperature.m_strTestIndoorTemp[d][0].GetString());
    }
}
