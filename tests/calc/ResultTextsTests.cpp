// The result texts: whole texts for each standard, unit set, one or both
// directions and reference pressure; the results section of a test file and
// the reference pressure read back from it.
//
// The entries are set directly, so each expected text follows from the
// numbers written here; the rounded figures were worked out by hand (and
// checked with a desk calculator where a quotient is involved).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "tests/calc/DirectionFitFixture.h"

using namespace dirfit;

namespace {

using TextMember = CString CTestResultsDialog::*;

struct NamedText {
    const char* name;
    TextMember member;
};

#define RESULT_TEXT(m) NamedText{#m, &CTestResultsDialog::m}
// Every result text: a text a case does not list must be empty.
const NamedText kAllTexts[] = {
    RESULT_TEXT(m_strFlowAtRef),          RESULT_TEXT(m_strFlowAtRefValue),     RESULT_TEXT(m_strAch),
    RESULT_TEXT(m_strAchValue),           RESULT_TEXT(m_strFlowPerFloor),       RESULT_TEXT(m_strFlowPerFloorValue),
    RESULT_TEXT(m_strFlowPerFloorUnit),   RESULT_TEXT(m_strFlowPerEnvelope),    RESULT_TEXT(m_strFlowPerEnvelopeValue),
    RESULT_TEXT(m_strFlowPerEnvelopeUnit), RESULT_TEXT(m_strEqla),              RESULT_TEXT(m_strEla),
    RESULT_TEXT(m_strIsoAreaPerFloor),    RESULT_TEXT(m_strIsoAreaPerEnvelope), RESULT_TEXT(m_strC),
    RESULT_TEXT(m_strN),                  RESULT_TEXT(m_strR),                  RESULT_TEXT(m_strR2),
    RESULT_TEXT(m_strTabFlowLabel),       RESULT_TEXT(m_strTabFlowSlot0),       RESULT_TEXT(m_strTabFlowSlot1),
    RESULT_TEXT(m_strTabFlowMean),        RESULT_TEXT(m_strTabAchLabel),        RESULT_TEXT(m_strTabAchSlot0),
    RESULT_TEXT(m_strTabAchSlot1),        RESULT_TEXT(m_strTabAchMean),         RESULT_TEXT(m_strTabFloorUnit),
    RESULT_TEXT(m_strTabFloorSlot0),      RESULT_TEXT(m_strTabFloorSlot1),      RESULT_TEXT(m_strTabFloorMean),
    RESULT_TEXT(m_strTabEnvelopeUnit),    RESULT_TEXT(m_strTabEnvelopeSlot0),   RESULT_TEXT(m_strTabEnvelopeSlot1),
    RESULT_TEXT(m_strTabEnvelopeMean),    RESULT_TEXT(m_strTabEqlaLabel),       RESULT_TEXT(m_strTabEqlaSlot0),
    RESULT_TEXT(m_strTabEqlaSlot1),       RESULT_TEXT(m_strTabEqlaMean),        RESULT_TEXT(m_strTabEqlaPerEnvLabel),
    RESULT_TEXT(m_strTabEqlaPerEnvSlot0), RESULT_TEXT(m_strTabEqlaPerEnvSlot1), RESULT_TEXT(m_strTabEqlaPerEnvMean),
    RESULT_TEXT(m_strTabElaLabel),        RESULT_TEXT(m_strTabElaSlot0),        RESULT_TEXT(m_strTabElaSlot1),
    RESULT_TEXT(m_strTabElaMean),         RESULT_TEXT(m_strTabElaPerEnvLabel),  RESULT_TEXT(m_strTabElaPerEnvSlot0),
    RESULT_TEXT(m_strTabElaPerEnvSlot1),  RESULT_TEXT(m_strTabElaPerEnvMean),   RESULT_TEXT(m_strTabIsoPerFloorSlot0),
    RESULT_TEXT(m_strTabIsoPerFloorSlot1), RESULT_TEXT(m_strTabIsoPerFloorMean), RESULT_TEXT(m_strTabIsoPerEnvSlot0),
    RESULT_TEXT(m_strTabIsoPerEnvSlot1),  RESULT_TEXT(m_strTabIsoPerEnvMean),   RESULT_TEXT(m_strTabCLabel),
    RESULT_TEXT(m_strTabCSlot0),          RESULT_TEXT(m_strTabCSlot1),          RESULT_TEXT(m_strTabCMean),
    RESULT_TEXT(m_strTabNLabel),          RESULT_TEXT(m_strTabNSlot0),          RESULT_TEXT(m_strTabNSlot1),
    RESULT_TEXT(m_strTabNMean),           RESULT_TEXT(m_strTabRLabel),          RESULT_TEXT(m_strTabR2Label),
    RESULT_TEXT(m_strTabRSlot0),          RESULT_TEXT(m_strTabRSlot1),          RESULT_TEXT(m_strCl),
    RESULT_TEXT(m_strCenvLabel),          RESULT_TEXT(m_strCenv),               RESULT_TEXT(m_strTabCenvLabel),
    RESULT_TEXT(m_strTabCenvSlot0),       RESULT_TEXT(m_strTabCenvSlot1),
};
#undef RESULT_TEXT

// The six texts that ClearResultTexts leaves as they are.
const TextMember kKeptByClear[] = {
    &CTestResultsDialog::m_strCl,           &CTestResultsDialog::m_strCenvLabel,
    &CTestResultsDialog::m_strCenv,         &CTestResultsDialog::m_strTabCenvLabel,
    &CTestResultsDialog::m_strTabCenvSlot0, &CTestResultsDialog::m_strTabCenvSlot1,
};

using Texts = std::vector<std::pair<TextMember, std::wstring>>;

void ExpectTexts(const CTestResultsDialog& results, const Texts& expected)
{
    for (const NamedText& text : kAllTexts) {
        std::wstring want;
        for (const auto& [member, value] : expected) {
            if (member == text.member)
                want = value;
        }
        EXPECT_EQ(want, (results.*text.member).str()) << text.name;
    }
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// One slot's results; a value of kNone leaves the entry invalid, an error
// of kNone leaves the error invalid.
struct SlotValues {
    double q, qErr;
    double ach, floor, envelope;
    double eqla, eqlaErr;
    double ela, elaErr;   // ISO 9972: the leakage area at the reference pressure
    double c, cErr, cStandard;
    double n, nErr;
    double r;             // ISO 9972: r²
};

constexpr SlotValues kPress = {2451.123, 2.1, 3.456, 1.23456, 0.56789, 123.44, 4.2, 65.43, 5.5,
                               123.4,    3.2, 120.1, 0.65432, 0.0123,  0.99876};
constexpr SlotValues kDepress = {2600.6, 1.9, 3.667, 1.30991, 0.60104, 130.08, 3.8, 70.11, 4.9,
                                 130.2,  2.8, 127.3, 0.64811, 0.0111,  0.99912};

SlotValues Iso(SlotValues v, double dArea, double dAreaErr, double r2)
{
    v.ela = dArea;
    v.elaErr = dAreaErr;
    v.r = r2;
    return v;
}

// A fallback fit: the fixed exponent and no errors at all.
SlotValues Fallback(SlotValues v)
{
    v.qErr = v.eqlaErr = v.elaErr = v.cErr = v.nErr = kNone;
    v.n = 0.65;
    return v;
}

struct Units {
    int flow, building, leakage;
};
constexpr Units kCfmFtIn = {0, 0, 0};
constexpr Units kCfmMIn = {0, 1, 0};
constexpr Units kLsMCm = {2, 1, 1};
constexpr Units kLsMIn = {2, 1, 0};
constexpr Units kM3hMCm = {1, 1, 1};
constexpr Units kM3hFtCm = {1, 0, 1};

// Building areas per slot; 0 for an area not entered.
struct Areas {
    double floor[2];
    double envelope[2];
};
constexpr Areas kAreas = {{100.0, 110.0}, {250.0, 260.0}};

class ResultTexts : public DirectionFitFixture {
protected:
    void SetUp() override
    {
        DirectionFitFixture::SetUp();
        results = m_pView->m_pResults;
        building = m_pView->m_pBuildingInfo;
    }

    void Prepare(int nStandard, Units units, const wchar_t* pszRefPressure, const Areas& areas = kAreas)
    {
        settings->m_nStandard = nStandard;
        m_pView->m_nFlowUnit = units.flow;
        m_pView->m_nBuildingUnit = units.building;
        m_pView->m_nLeakageUnit = units.leakage;
        m_pView->ApplyUnits();
        results->m_strRefPressure = pszRefPressure;
        for (int d = 0; d < 2; ++d) {
            building->m_dFloorArea[d] = areas.floor[d];
            building->m_dSurfaceArea[d] = areas.envelope[d];
            s->m_CompletedTests[d] = 0;
            s->m_NFixed[d] = 0;
            for (CResultValue& entry : results->m_Results[d])
                entry = CResultValue{};
        }
    }

    void Set(int d, int e, double dValue, double dError = kNone)
    {
        CResultValue& entry = results->m_Results[d][e];
        entry.m_dValue = std::isnan(dValue) ? 0.0 : dValue;
        entry.m_bValid = std::isnan(dValue) ? 0 : 1;
        entry.m_dError = std::isnan(dError) ? 0.0 : dError;
        entry.m_bErrorValid = entry.m_bValid && !std::isnan(dError) ? 1 : 0;
    }

    // A slot with completed tests and these results.
    void Fill(int d, const SlotValues& v)
    {
        using R = CTestResultsDialog;
        s->m_CompletedTests[d] = 2;
        s->m_NFixed[d] = v.n == 0.65 && std::isnan(v.nErr) ? 1 : 0;
        Set(d, R::kFlowAtRef, v.q, v.qErr);
        Set(d, R::kAch, v.ach);
        Set(d, R::kFlowPerFloor, v.floor);
        Set(d, R::kFlowPerEnvelope, v.envelope);
        Set(d, R::kEqla, v.eqla, v.eqlaErr);
        Set(d, R::kEla, v.ela, v.elaErr);
        Set(d, R::kC, v.c, v.cErr);
        // Read beside entry 7; its own flag is never set.
        results->m_Results[d][R::kCStandard].m_dValue = v.cStandard;
        Set(d, R::kN, v.n, v.nErr);
        Set(d, R::kR, v.r);
    }

    CTestResultsDialog* results = nullptr;
    CBuildingInfoDialog* building = nullptr;
};

using R = CTestResultsDialog;

struct OneDirectionCase {
    const char* name;
    int standard;
    Units units;
    const wchar_t* ref;
    int slot;
    SlotValues values;
    Areas areas;
    Texts expected;
};

const std::vector<OneDirectionCase>& OneDirectionCases()
{
    static const std::vector<OneDirectionCase> cases = {
        {"CGSB, cfm, ft, in, 50 Pa, pressurization", 0, kCfmFtIn, L"50", 0, kPress, kAreas,
         {{&R::m_strFlowAtRef, L"2451 cfm50 (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 ACH50"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.2346 cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.2346"},
          {&R::m_strFlowPerFloorUnit, L"cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerEnvelope, L"0.5679 cfm/ft² (Surface Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.5679"},
          {&R::m_strFlowPerEnvelopeUnit, L"cfm/ft² (Surface Area)"},
          {&R::m_strEqla, L"123.4 in² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.4938 in²/ft² Surface Area"},
          {&R::m_strEla, L"65.4 in² (+/- 5.5 %) LBL ELA @ 4 Pa  or  0.2617 in²/ft² Surface Area"},
          {&R::m_strC, L"Flow Coefficient (C) = 123.4  (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR, L"Correlation Coefficient = 0.99876"}}},
        {"ASTM E779, l/s, m, cm, 75 Pa, depressurization only", 2, kLsMCm, L"75", 1, kPress,
         {{0.0, 100.0}, {0.0, 250.0}},
         {{&R::m_strFlowAtRef, L"2451 l/s75 (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 ACH75"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.2346 lps/m² (Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.2346"},
          {&R::m_strFlowPerFloorUnit, L"lps/m² (Floor Area)"},
          {&R::m_strFlowPerEnvelope, L"0.5679 lps/m² (Surface Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.5679"},
          {&R::m_strFlowPerEnvelopeUnit, L"lps/m² (Surface Area)"},
          {&R::m_strEqla, L"123.4 cm² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.49 cm²/m² Surface Area"},
          {&R::m_strEla, L"65.4 cm² (+/- 5.5 %) LBL ELA @ 4 Pa  or  0.26 cm²/m² Surface Area"},
          {&R::m_strC, L"Flow Coefficient (C) = 123.4  (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR, L"Correlation Coefficient = 0.99876"}}},
        {"EN 13829, m³/h, m, cm, 50 Pa", 1, kM3hMCm, L"50", 0, kPress, kAreas,
         {{&R::m_strFlowAtRef, L"2451 m³/h (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 1/h (Air Change Rate)"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.23 m³/(h\u2219m² Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.23"},
          {&R::m_strFlowPerFloorUnit, L"m³/(h\u2219m² Floor Area)"},
          {&R::m_strFlowPerEnvelope, L"0.57 m³/(h\u2219m² Envelope Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.57"},
          {&R::m_strFlowPerEnvelopeUnit, L"m³/(h\u2219m² Envelope Area)"},
          {&R::m_strEqla, L"123.4 cm² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.49 cm²/m² Surface Area"},
          {&R::m_strEla, L"65.4 cm² (+/- 5.5 %) LBL ELA @ 4 Pa  or  0.26 cm²/m² Surface Area"},
          {&R::m_strC, L"Air Leakage Coefficient (CL) = 123.4 m³/(h\u2219Pa\u207F) (+/- 3.2 %)"},
          {&R::m_strCl, L"Air Leakage Coefficient (CL) = 123.4  m³/(h\u2219Pa\u207F) (+/- 3.2 %)"},
          {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
          {&R::m_strCenv, L"Air Flow Coefficient (Cenv) = 120.1  m³/(h\u2219Pa\u207F) (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR, L"Correlation Coefficient = 0.99876"}}},
        {"EN 13829, cfm, ft, in, 75 Pa: no pressure in the flow label", 1, kCfmFtIn, L"75", 0, kPress, kAreas,
         {{&R::m_strFlowAtRef, L"2451 cfm (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 1/h (Air Change Rate)"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.2346 cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.2346"},
          {&R::m_strFlowPerFloorUnit, L"cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerEnvelope, L"0.5679 cfm/ft² (Envelope Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.5679"},
          {&R::m_strFlowPerEnvelopeUnit, L"cfm/ft² (Envelope Area)"},
          {&R::m_strEqla, L"123.4 in² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.4938 in²/ft² Surface Area"},
          {&R::m_strEla, L"65.4 in² (+/- 5.5 %) LBL ELA @ 4 Pa  or  0.2617 in²/ft² Surface Area"},
          {&R::m_strC, L"Air Leakage Coefficient (CL) = 123.4 cfm/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strCl, L"Air Leakage Coefficient (CL) = 123.4  cfm/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
          {&R::m_strCenv, L"Air Flow Coefficient (Cenv) = 120.1  cfm/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR, L"Correlation Coefficient = 0.99876"}}},
        {"ISO 9972, cfm, ft, in, 10 Pa: leakage area in ft²", 3, kCfmFtIn, L"10", 0, Iso(kPress, 1.3289, 2.5, 0.99752),
         kAreas,
         {{&R::m_strFlowAtRef, L"2451 cfm (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 1/h (Air Change Rate)"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.2346 cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.2346"},
          {&R::m_strFlowPerFloorUnit, L"cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerEnvelope, L"0.5679 cfm/ft² (Envelope Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.5679"},
          {&R::m_strFlowPerEnvelopeUnit, L"cfm/ft² (Envelope Area)"},
          {&R::m_strEqla, L"123.4 in² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.4938 in²/ft² Surface Area"},
          {&R::m_strEla, L"1.3289 ft² (+/- 2.5 %)"},
          {&R::m_strIsoAreaPerFloor, L"0.0132890 ft²/ft²"},
          {&R::m_strIsoAreaPerEnvelope, L"0.0053156 ft²/ft²"},
          {&R::m_strC, L"Air Leakage Coefficient (CL) = 123.4 cfm/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strCl, L"Air Leakage Coefficient (CL) = 123.4  cfm/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
          {&R::m_strCenv, L"Air Flow Coefficient (Cenv) = 120.1  cfm/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR2, L"Coefficient of Determination (r²) = 0.99752"}}},
        // ft² over m²: the ratio is divided by 10.7639104. No floor area was
        // entered, so there is no ratio to it (and no division by 0).
        {"ISO 9972, l/s, m, in, no floor area", 3, kLsMIn, L"50", 0,
         [] {
             SlotValues v = Iso(kPress, 1.3289, 2.5, 0.99752);
             v.floor = kNone;
             return v;
         }(),
         {{0.0, 0.0}, {250.0, 0.0}},
         {{&R::m_strFlowAtRef, L"2451 l/s (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 1/h (Air Change Rate)"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerEnvelope, L"0.57 lps/m² (Envelope Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.57"},
          {&R::m_strFlowPerEnvelopeUnit, L"lps/m² (Envelope Area)"},
          {&R::m_strEqla, L"123.4 in² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.4938 in²/m² Surface Area"},
          {&R::m_strEla, L"1.3289 ft² (+/- 2.5 %)"},
          {&R::m_strIsoAreaPerEnvelope, L"0.0004938 m²/m²"},
          {&R::m_strC, L"Air Leakage Coefficient (CL) = 123.4 l/s/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strCl, L"Air Leakage Coefficient (CL) = 123.4  l/s/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
          {&R::m_strCenv, L"Air Flow Coefficient (Cenv) = 120.1  l/s/Pa\u207F  (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR2, L"Coefficient of Determination (r²) = 0.99752"}}},
        // m² over ft²: the ratio is multiplied by 10.7639104.
        {"ISO 9972, m³/h, ft, cm, 4 Pa: leakage area in m²", 3, kM3hFtCm, L"4", 0,
         Iso(kPress, 0.12346, 2.5, 0.99752), {{1000.0, 0.0}, {2500.0, 0.0}},
         {{&R::m_strFlowAtRef, L"2451 m³/h (+/- 2.1 %)"},
          {&R::m_strFlowAtRefValue, L"2451  (+/- 2.1 %)"},
          {&R::m_strAch, L"3.46 1/h (Air Change Rate)"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.2346 m³/(h\u2219ft² Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.2346"},
          {&R::m_strFlowPerFloorUnit, L"m³/(h\u2219ft² Floor Area)"},
          {&R::m_strFlowPerEnvelope, L"0.5679 m³/(h\u2219ft² Envelope Area)"},
          {&R::m_strFlowPerEnvelopeValue, L"0.5679"},
          {&R::m_strFlowPerEnvelopeUnit, L"m³/(h\u2219ft² Envelope Area)"},
          {&R::m_strEqla, L"123.4 cm² (+/- 4.2 %) Canadian EqLA @ 10 Pa  or  0.05 cm²/ft² Surface Area"},
          {&R::m_strEla, L"0.1235 m² (+/- 2.5 %)"},
          {&R::m_strIsoAreaPerFloor, L"0.0013289 ft²/ft²"},
          {&R::m_strIsoAreaPerEnvelope, L"0.0005316 ft²/ft²"},
          {&R::m_strC, L"Air Leakage Coefficient (CL) = 123.4 m³/(h\u2219Pa\u207F) (+/- 3.2 %)"},
          {&R::m_strCl, L"Air Leakage Coefficient (CL) = 123.4  m³/(h\u2219Pa\u207F) (+/- 3.2 %)"},
          {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
          {&R::m_strCenv, L"Air Flow Coefficient (Cenv) = 120.1  m³/(h\u2219Pa\u207F) (+/- 3.2 %)"},
          {&R::m_strN, L"Exponent (n) = 0.654 (+/- 0.012)"},
          {&R::m_strR2, L"Coefficient of Determination (r²) = 0.99752"}}},
        {"CGSB fixed exponent: no error anywhere; no envelope area", 0, kCfmFtIn, L"50", 0,
         [] {
             SlotValues v = Fallback(kPress);
             v.envelope = kNone;
             return v;
         }(),
         {{100.0, 0.0}, {0.0, 0.0}},
         {{&R::m_strFlowAtRef, L"2451 cfm50"},
          {&R::m_strFlowAtRefValue, L"2451 "},
          {&R::m_strAch, L"3.46 ACH50"},
          {&R::m_strAchValue, L"3.46 "},
          {&R::m_strFlowPerFloor, L"1.2346 cfm/ft² (Floor Area)"},
          {&R::m_strFlowPerFloorValue, L"1.2346"},
          {&R::m_strFlowPerFloorUnit, L"cfm/ft² (Floor Area)"},
          {&R::m_strEqla, L"123.4 in² Canadian EqLA @ 10 Pa"},
          {&R::m_strEla, L"65.4 in² LBL ELA @ 4 Pa"},
          {&R::m_strC, L"Flow Coefficient (C) = 123.4 "},
          {&R::m_strN, L"Exponent (n) = 0.650 (Assumed)"},
          {&R::m_strR, L"Correlation Coefficient = 0.99876"}}},
    };
    return cases;
}

}  // namespace

TEST_F(ResultTexts, OneDirectionTextsAreWholeForEachStandardUnitsAndPressure)
{
    for (const OneDirectionCase& c : OneDirectionCases()) {
        SCOPED_TRACE(c.name);
        Prepare(c.standard, c.units, c.ref, c.areas);
        Fill(c.slot, c.values);
        results->FormatResults();
        ExpectTexts(*results, c.expected);
    }
}

TEST_F(ResultTexts, TableTextsAreWholeForEachStandardUnitsAndPressure)
{
    struct Case {
        const char* name;
        int standard;
        Units units;
        const wchar_t* ref;
        SlotValues press, depress;
        Texts expected;
    };
    // Rows shared by several cases.
    const Texts cgsbFlowToEnvelope = {
        {&R::m_strTabFlowSlot0, L"2451  (+/- 2.1 %)"},
        {&R::m_strTabFlowSlot1, L"2601  (+/- 1.9 %)"},
        {&R::m_strTabAchSlot0, L"3.46 "},
        {&R::m_strTabAchSlot1, L"3.67 "},
        {&R::m_strTabAchMean, L"3.56 "},
        {&R::m_strTabFloorUnit, L"cfm/ft² (Floor Area)"},
        {&R::m_strTabFloorSlot0, L"1.2346"},
        {&R::m_strTabFloorSlot1, L"1.3099"},
        {&R::m_strTabFloorMean, L"1.2722"},
        {&R::m_strTabEnvelopeUnit, L"cfm/ft² (Surface Area)"},
        {&R::m_strTabEnvelopeSlot0, L"0.5679"},
        {&R::m_strTabEnvelopeSlot1, L"0.6010"},
        {&R::m_strTabEnvelopeMean, L"0.5845"},
    };
    const Texts inchAreas = {
        {&R::m_strTabEqlaLabel, L"Canadian EqLA @ 10 Pa (in²)"},
        {&R::m_strTabEqlaSlot0, L"123.4 (+/- 4.2 %)"},
        {&R::m_strTabEqlaSlot1, L"130.1 (+/- 3.8 %)"},
        {&R::m_strTabEqlaPerEnvLabel, L"in²/ft² Surface Area"},
        {&R::m_strTabEqlaPerEnvSlot0, L"0.4938"},
        {&R::m_strTabEqlaPerEnvSlot1, L"0.5003"},
        {&R::m_strTabEqlaPerEnvMean, L"0.4970"},
        {&R::m_strTabElaLabel, L"LBL ELA @ 4 Pa (in²)"},
        {&R::m_strTabElaSlot0, L"65.4 (+/- 5.5 %)"},
        {&R::m_strTabElaSlot1, L"70.1 (+/- 4.9 %)"},
        {&R::m_strTabElaPerEnvLabel, L"in²/ft² Surface Area"},
        {&R::m_strTabElaPerEnvSlot0, L"0.2617"},
        {&R::m_strTabElaPerEnvSlot1, L"0.2697"},
        {&R::m_strTabElaPerEnvMean, L"0.2657"},
    };
    const Texts curve = {
        {&R::m_strTabCSlot0, L"123.4 (+/- 3.2 %)"}, {&R::m_strTabCSlot1, L"130.2 (+/- 2.8 %)"},
        {&R::m_strTabNLabel, L"Exponent (n)"},      {&R::m_strTabNSlot0, L"0.654 (+/- 0.012)"},
        {&R::m_strTabNSlot1, L"0.648 (+/- 0.011)"},
    };
    const Texts correlation = {
        {&R::m_strTabRLabel, L"Correlation Coefficient"},
        {&R::m_strTabRSlot0, L"0.99876"},
        {&R::m_strTabRSlot1, L"0.99912"},
    };
    auto join = [](std::initializer_list<Texts> parts) {
        Texts all;
        for (const Texts& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };

    const std::vector<Case> cases = {
        {"CGSB, cfm, ft, in, 50 Pa: no averages of C and n", 0, kCfmFtIn, L"50", kPress, kDepress,
         join({cgsbFlowToEnvelope, inchAreas, curve, correlation,
               {{&R::m_strTabFlowLabel, L"cfm50"},
                {&R::m_strTabFlowMean, L"2526 "},
                {&R::m_strTabAchLabel, L"ACH50"},
                {&R::m_strTabEqlaMean, L"126.8"},
                {&R::m_strTabElaMean, L"67.8"},
                {&R::m_strTabCLabel, L"Flow Coefficient (C)"}}})},
        // The combined error of the mean flow: 100 * 0.5 * sqrt((0.021 *
        // 2451.123)² + (0.019 * 2600.6)²) / 2525.8615 = 1.41 %.
        {"ASTM E779, cfm, ft, in, 75 Pa: means with their errors", 2, kCfmFtIn, L"75", kPress, kDepress,
         join({cgsbFlowToEnvelope, inchAreas, curve, correlation,
               {{&R::m_strTabFlowLabel, L"cfm75"},
                {&R::m_strTabFlowMean, L"2526  (+/- 1.4 %)"},
                {&R::m_strTabAchLabel, L"ACH75"},
                {&R::m_strTabEqlaMean, L"126.8 (+/- 2.8 %)"},
                {&R::m_strTabElaMean, L"67.8 (+/- 3.7 %)"},
                {&R::m_strTabCLabel, L"Flow Coefficient (C)"},
                {&R::m_strTabCMean, L"126.8 (+/- 2.1 %)"},
                {&R::m_strTabNMean, L"0.651 (+/- 0.008)"}}})},
        {"EN 13829, m³/h, m, cm, 50 Pa", 1, kM3hMCm, L"50", kPress, kDepress,
         join({curve, correlation,
               {{&R::m_strTabFlowLabel, L"m³/h"},
                {&R::m_strTabFlowSlot0, L"2451  (+/- 2.1 %)"},
                {&R::m_strTabFlowSlot1, L"2601  (+/- 1.9 %)"},
                {&R::m_strTabFlowMean, L"2526 "},
                {&R::m_strTabAchLabel, L"1/h (Air Change Rate)"},
                {&R::m_strTabAchSlot0, L"3.46 "},
                {&R::m_strTabAchSlot1, L"3.67 "},
                {&R::m_strTabAchMean, L"3.56 "},
                {&R::m_strTabFloorUnit, L"m³/(h\u2219m² Floor Area)"},
                {&R::m_strTabFloorSlot0, L"1.23"},
                {&R::m_strTabFloorSlot1, L"1.31"},
                {&R::m_strTabFloorMean, L"1.27"},
                {&R::m_strTabEnvelopeUnit, L"m³/(h\u2219m² Envelope Area)"},
                {&R::m_strTabEnvelopeSlot0, L"0.57"},
                {&R::m_strTabEnvelopeSlot1, L"0.60"},
                {&R::m_strTabEnvelopeMean, L"0.58"},
                {&R::m_strTabEqlaLabel, L"Canadian EqLA @ 10 Pa (cm²)"},
                {&R::m_strTabEqlaSlot0, L"123.4 (+/- 4.2 %)"},
                {&R::m_strTabEqlaSlot1, L"130.1 (+/- 3.8 %)"},
                {&R::m_strTabEqlaMean, L"126.8"},
                {&R::m_strTabEqlaPerEnvLabel, L"cm²/m² Surface Area"},
                {&R::m_strTabEqlaPerEnvSlot0, L"0.49"},
                {&R::m_strTabEqlaPerEnvSlot1, L"0.50"},
                {&R::m_strTabEqlaPerEnvMean, L"0.50"},
                {&R::m_strTabElaLabel, L"LBL ELA @ 4 Pa (cm²)"},
                {&R::m_strTabElaSlot0, L"65.4 (+/- 5.5 %)"},
                {&R::m_strTabElaSlot1, L"70.1 (+/- 4.9 %)"},
                {&R::m_strTabElaMean, L"67.8"},
                {&R::m_strTabElaPerEnvLabel, L"cm²/m² Surface Area"},
                {&R::m_strTabElaPerEnvSlot0, L"0.26"},
                {&R::m_strTabElaPerEnvSlot1, L"0.27"},
                {&R::m_strTabElaPerEnvMean, L"0.27"},
                {&R::m_strTabCLabel, L"Air Leakage Coefficient (CL)  m³/(h\u2219Pa\u207F)"},
                {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
                {&R::m_strTabCenvLabel, L"Air Flow Coefficient (Cenv)  m³/(h\u2219Pa\u207F)"},
                {&R::m_strTabCenvSlot0, L"120.1 (+/- 3.2 %)"},
                {&R::m_strTabCenvSlot1, L"127.3 (+/- 2.8 %)"}}})},
        // The leakage-area means take slot 0's building areas:
        // (0.12346 + 0.13582) / 200 and / 500.
        {"ISO 9972, l/s, m, cm, 10 Pa: leakage areas in m²", 3, kLsMCm, L"10", Iso(kPress, 0.12346, 2.5, 0.99752),
         Iso(kDepress, 0.13582, 2.2, 0.99824),
         join({curve,
               {{&R::m_strTabFlowLabel, L"l/s"},
                {&R::m_strTabFlowSlot0, L"2451  (+/- 2.1 %)"},
                {&R::m_strTabFlowSlot1, L"2601  (+/- 1.9 %)"},
                {&R::m_strTabFlowMean, L"2526 "},
                {&R::m_strTabAchLabel, L"1/h (Air Change Rate)"},
                {&R::m_strTabAchSlot0, L"3.46 "},
                {&R::m_strTabAchSlot1, L"3.67 "},
                {&R::m_strTabAchMean, L"3.56 "},
                {&R::m_strTabFloorUnit, L"lps/m² (Floor Area)"},
                {&R::m_strTabFloorSlot0, L"1.23"},
                {&R::m_strTabFloorSlot1, L"1.31"},
                {&R::m_strTabFloorMean, L"1.27"},
                {&R::m_strTabEnvelopeUnit, L"lps/m² (Envelope Area)"},
                {&R::m_strTabEnvelopeSlot0, L"0.57"},
                {&R::m_strTabEnvelopeSlot1, L"0.60"},
                {&R::m_strTabEnvelopeMean, L"0.58"},
                {&R::m_strTabEqlaLabel, L"Canadian EqLA @ 10 Pa (cm²)"},
                {&R::m_strTabEqlaSlot0, L"123.4 (+/- 4.2 %)"},
                {&R::m_strTabEqlaSlot1, L"130.1 (+/- 3.8 %)"},
                {&R::m_strTabEqlaMean, L"126.8"},
                {&R::m_strTabEqlaPerEnvLabel, L"cm²/m² Surface Area"},
                {&R::m_strTabEqlaPerEnvSlot0, L"0.49"},
                {&R::m_strTabEqlaPerEnvSlot1, L"0.50"},
                {&R::m_strTabEqlaPerEnvMean, L"0.50"},
                {&R::m_strTabElaLabel, L"LBL ELA @ 4 Pa (cm²)"},
                {&R::m_strTabElaSlot0, L"0.1235 (+/- 2.5 %)"},
                {&R::m_strTabElaSlot1, L"0.1358 (+/- 2.2 %)"},
                {&R::m_strTabElaMean, L"0.1296"},
                {&R::m_strTabElaPerEnvLabel, L"cm²/m² Surface Area"},
                {&R::m_strTabElaPerEnvSlot0, L"0.00"},
                {&R::m_strTabElaPerEnvSlot1, L"0.00"},
                {&R::m_strTabElaPerEnvMean, L"0.00"},
                {&R::m_strTabIsoPerFloorSlot0, L"0.0012346"},
                {&R::m_strTabIsoPerFloorSlot1, L"0.0012347"},
                {&R::m_strTabIsoPerFloorMean, L"0.0012964"},
                {&R::m_strTabIsoPerEnvSlot0, L"0.0004938"},
                {&R::m_strTabIsoPerEnvSlot1, L"0.0005224"},
                {&R::m_strTabIsoPerEnvMean, L"0.0005186"},
                {&R::m_strTabCLabel, L"Air Leakage Coefficient (CL)  l/s/Pa\u207F "},
                {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
                {&R::m_strTabCenvLabel, L"Air Flow Coefficient (Cenv)  l/s/Pa\u207F "},
                {&R::m_strTabCenvSlot0, L"120.1 (+/- 3.2 %)"},
                {&R::m_strTabCenvSlot1, L"127.3 (+/- 2.8 %)"},
                {&R::m_strTabR2Label, L"Coefficient of Determination (r²)"},
                {&R::m_strTabRSlot0, L"0.99752"},
                {&R::m_strTabRSlot1, L"0.99824"}}})},
        // Slot 1 fell back to the fixed exponent: its texts have no errors,
        // its leakage area one decimal and no ratios. ft² over m²: the
        // ratios are divided by 10.7639104.
        {"ISO 9972, cfm, m, in, 50 Pa: one slot without errors", 3, kCfmMIn, L"50",
         Iso(kPress, 1.3289, 2.5, 0.99752), Iso(Fallback(kDepress), 1.4013, kNone, 0.99824),
         {{&R::m_strTabFlowLabel, L"cfm"},
          {&R::m_strTabFlowSlot0, L"2451  (+/- 2.1 %)"},
          {&R::m_strTabFlowSlot1, L"2601 "},
          {&R::m_strTabFlowMean, L"2526 "},
          {&R::m_strTabAchLabel, L"1/h (Air Change Rate)"},
          {&R::m_strTabAchSlot0, L"3.46 "},
          {&R::m_strTabAchSlot1, L"3.67 "},
          {&R::m_strTabAchMean, L"3.56 "},
          {&R::m_strTabFloorUnit, L"cfm/m² (Floor Area)"},
          {&R::m_strTabFloorSlot0, L"1.23"},
          {&R::m_strTabFloorSlot1, L"1.31"},
          {&R::m_strTabFloorMean, L"1.27"},
          {&R::m_strTabEnvelopeUnit, L"cfm/m² (Envelope Area)"},
          {&R::m_strTabEnvelopeSlot0, L"0.57"},
          {&R::m_strTabEnvelopeSlot1, L"0.60"},
          {&R::m_strTabEnvelopeMean, L"0.58"},
          {&R::m_strTabEqlaLabel, L"Canadian EqLA @ 10 Pa (in²)"},
          {&R::m_strTabEqlaSlot0, L"123.4 (+/- 4.2 %)"},
          {&R::m_strTabEqlaSlot1, L"130.1"},
          {&R::m_strTabEqlaMean, L"126.8"},
          {&R::m_strTabEqlaPerEnvLabel, L"in²/m² Surface Area"},
          {&R::m_strTabEqlaPerEnvSlot0, L"0.4938"},
          {&R::m_strTabEqlaPerEnvSlot1, L"0.5003"},
          {&R::m_strTabEqlaPerEnvMean, L"0.4970"},
          {&R::m_strTabElaLabel, L"LBL ELA @ 4 Pa (in²)"},
          {&R::m_strTabElaSlot0, L"1.3289 (+/- 2.5 %)"},
          {&R::m_strTabElaSlot1, L"1.4"},
          {&R::m_strTabElaMean, L"1.3651"},
          {&R::m_strTabElaPerEnvLabel, L"in²/m² Surface Area"},
          {&R::m_strTabElaPerEnvSlot0, L"0.0053"},
          {&R::m_strTabElaPerEnvSlot1, L"0.0054"},
          {&R::m_strTabElaPerEnvMean, L"0.0054"},
          {&R::m_strTabIsoPerFloorSlot0, L"0.0012346"},
          {&R::m_strTabIsoPerFloorMean, L"0.0012682"},
          {&R::m_strTabIsoPerEnvSlot0, L"0.0004938"},
          {&R::m_strTabIsoPerEnvMean, L"0.0005073"},
          {&R::m_strTabCLabel, L"Air Leakage Coefficient (CL)  cfm/Pa\u207F "},
          {&R::m_strTabCSlot0, L"123.4 (+/- 3.2 %)"},
          {&R::m_strTabCSlot1, L"130.2"},
          {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
          {&R::m_strTabCenvLabel, L"Air Flow Coefficient (Cenv)  cfm/Pa\u207F "},
          {&R::m_strTabCenvSlot0, L"120.1 (+/- 3.2 %)"},
          {&R::m_strTabCenvSlot1, L"127.3"},
          {&R::m_strTabNLabel, L"Exponent (n)"},
          {&R::m_strTabNSlot0, L"0.654 (+/- 0.012)"},
          {&R::m_strTabNSlot1, L"0.650 (Assumed)"},
          {&R::m_strTabR2Label, L"Coefficient of Determination (r²)"},
          {&R::m_strTabRSlot0, L"0.99752"},
          {&R::m_strTabRSlot1, L"0.99824"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(c.standard, c.units, c.ref);
        Fill(0, c.press);
        Fill(1, c.depress);
        // The averages of both directions as the computation leaves them
        // for ASTM E779.
        results->m_dMeanC = 126.8;
        results->m_dMeanCErrorPct = 2.13;
        results->m_dMeanN = 0.65121;
        results->m_dMeanNError = 0.00831;
        results->m_dMeanEqlaErrorPct = 2.84;
        results->m_dMeanElaErrorPct = 3.71;
        results->FormatResults();
        ExpectTexts(*results, c.expected);
    }
}

// The second duct fan on ring 4 reads its flows to a tenth; both slots show
// a tenth only when both were measured so.
TEST_F(ResultTexts, FlowsShowATenthOnlyWhenEverySlotShownUsedTheSmallestRing)
{
    struct Case {
        const char* name;
        int ring[2];
        Texts expected;
    };
    const Case cases[] = {
        {"both on ring 4", {4, 4},
         {{&R::m_strTabFlowSlot0, L"2451.1  (+/- 2.1 %)"},
          {&R::m_strTabFlowSlot1, L"2600.6  (+/- 1.9 %)"},
          {&R::m_strTabFlowMean, L"2525.9 "}}},
        {"pressurization only on ring 4: its tenth goes", {4, 2},
         {{&R::m_strTabFlowSlot0, L"2451  (+/- 2.1 %)"},
          {&R::m_strTabFlowSlot1, L"2601  (+/- 1.9 %)"},
          {&R::m_strTabFlowMean, L"2526 "}}},
        {"depressurization only on ring 4", {2, 4},
         {{&R::m_strTabFlowSlot0, L"2451  (+/- 2.1 %)"},
          {&R::m_strTabFlowSlot1, L"2601  (+/- 1.9 %)"},
          {&R::m_strTabFlowMean, L"2526 "}}},
    };
    m_pView->m_pEquipment->m_chFanCode = L'B';
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(0, kCfmFtIn, L"50");
        Fill(0, kPress);
        Fill(1, kDepress);
        for (int d = 0; d < 2; ++d) {
            Lay(d, {Marker(0.0), Point(50.0, 50.0, 2000.0), Point(25.0, 25.0, 1000.0), Marker(0.0)});
            s->m_Ring[d][1] = s->m_Ring[d][2] = c.ring[d];
        }
        results->FormatResults();
        for (const auto& [member, text] : c.expected)
            EXPECT_EQ(text, (results->*member).str());
    }

    // One direction on ring 4.
    Prepare(0, kCfmFtIn, L"50");
    Fill(0, kPress);
    Lay(0, {Marker(0.0), Point(50.0, 50.0, 2000.0), Marker(0.0)});
    s->m_Ring[0][1] = 4;
    results->FormatResults();
    EXPECT_EQ(L"2451.1 cfm50 (+/- 2.1 %)", results->m_strFlowAtRef.str());
    EXPECT_EQ(L"2451.1  (+/- 2.1 %)", results->m_strFlowAtRefValue.str());
}

// The CL and Cenv texts survive ClearResultTexts, but a new FormatResults
// never leaves them showing a fit that no longer gives results.
TEST_F(ResultTexts, TextsOfResultsNoLongerValidAreEmpty)
{
    for (int nBoth = 0; nBoth < 2; ++nBoth) {
        SCOPED_TRACE(nBoth ? "table" : "one direction");
        Prepare(1, kM3hMCm, L"50");
        Fill(0, kPress);
        if (nBoth)
            Fill(1, kDepress);
        results->FormatResults();
        results->ClearResultTexts();
        for (TextMember member : kKeptByClear) {
            const bool bTableText = member == &R::m_strTabCenvLabel || member == &R::m_strTabCenvSlot0 ||
                                    member == &R::m_strTabCenvSlot1;
            const bool bMade = member == &R::m_strCenvLabel || (bTableText ? nBoth == 1 : nBoth == 0);
            EXPECT_EQ(bMade, !(results->*member).IsEmpty());
        }

        // The fit of both slots failed: every entry invalid.
        for (int d = 0; d < 2; ++d) {
            for (CResultValue& entry : results->m_Results[d])
                entry.m_bValid = entry.m_bErrorValid = 0;
        }
        results->FormatResults();
        ExpectTexts(*results, nBoth ? Texts{{&R::m_strTabEqlaLabel, L"Canadian EqLA @ 10 Pa (cm²)"},
                                            {&R::m_strTabElaLabel, L"LBL ELA @ 4 Pa (cm²)"},
                                            {&R::m_strTabCLabel, L"Air Leakage Coefficient (CL)  m³/(h\u2219Pa\u207F)"},
                                            {&R::m_strCenvLabel, L"Air Flow Coefficient (Cenv)"},
                                            {&R::m_strTabCenvLabel, L"Air Flow Coefficient (Cenv)  m³/(h\u2219Pa\u207F)"},
                                            {&R::m_strTabNLabel, L"Exponent (n)"}}
                                    : Texts{});
    }
}

// A reference pressure text from a file or the registry is joined to the
// labels as text: a format in it is shown, never obeyed.
TEST_F(ResultTexts, ReferencePressureTextIsNeverAFormat)
{
    const wchar_t* const pszHostile = L"%s%n%s%n%d";
    Prepare(0, kCfmFtIn, pszHostile);
    Fill(0, kPress);
    results->FormatResults();
    EXPECT_EQ(L"2451 cfm%s%n%s%n%d (+/- 2.1 %)", results->m_strFlowAtRef.str());
    EXPECT_EQ(L"3.46 ACH%s%n%s%n%d", results->m_strAch.str());

    Prepare(2, kCfmFtIn, pszHostile);
    Fill(0, kPress);
    Fill(1, kDepress);
    results->FormatResults();
    EXPECT_EQ(L"cfm%s%n%s%n%d", results->m_strTabFlowLabel.str());
    EXPECT_EQ(L"ACH%s%n%s%n%d", results->m_strTabAchLabel.str());
}

TEST_F(ResultTexts, ReplaceReferencePressureChangesTheFirst50Only)
{
    const struct {
        const wchar_t* ref;
        const wchar_t* label;
        const wchar_t* expected;
    } cases[] = {
        {L"50", L"ACH50", L"ACH50"},
        {L"4", L"ACH50", L"ACH4"},
        {L"75", L"Airflow at 50 Pascals", L"Airflow at 75 Pascals"},
        {L"10", L"5050", L"1050"},
        {L"75", L"cfm", L"cfm"},
        {L"75", L"", L""},
    };
    for (const auto& c : cases) {
        results->m_strRefPressure = c.ref;
        EXPECT_EQ(c.expected, results->ReplaceReferencePressure(c.label).str()) << c.ref << " " << c.label;
    }
}

TEST_F(ResultTexts, PerAreaUnitsForEveryFlowAndDimensionUnit)
{
    const struct {
        int standard;
        Units units;
        int nLabelId;
        const wchar_t* expected;
    } cases[] = {
        {0, {0, 0, 0}, IDS_FLOOR_AREA, L"cfm/ft² (Floor Area)"},
        {0, {0, 1, 0}, 0, L"cfm/m²"},
        {2, {2, 1, 0}, IDS_SURFACE_AREA, L"lps/m² (Surface Area)"},
        {1, {2, 0, 0}, IDS_SURFACE_AREA, L"lps/ft² (Envelope Area)"},
        {3, {1, 1, 1}, IDS_FLOOR_AREA, L"m³/(h\u2219m² Floor Area)"},
        {2, {1, 0, 1}, 0, L"m³/(h\u2219ft²)"},
        {3, {1, 0, 0}, IDS_SURFACE_AREA, L"m³/(h\u2219ft² Envelope Area)"},
    };
    for (const auto& c : cases) {
        Prepare(c.standard, c.units, L"50");
        EXPECT_EQ(c.expected, results->FormatPerAreaUnit(c.nLabelId).str());
    }
}

TEST_F(ResultTexts, ResultKeysOfEachStandardAndWhatIsValid)
{
    SlotValues partial = kPress;
    partial.floor = kNone;    // no floor area
    partial.elaErr = kNone;   // the 4 Pa error was not valid
    const struct {
        const char* name;
        int standard;
        int slot;
        const wchar_t* prefix;
        const wchar_t* ref;
        SlotValues values;
        const wchar_t* expected;
    } cases[] = {
        {"CGSB: one standard error", 0, 0, L"P_", L"50", kPress,
         L"Selected_Pressure_of_Airflow_Data_Pa: 50\n"
         L"P_Q_at_Selected_Pressure: 2451.123000\n"
         L"P_Q_at_Selected_Pressure_err: 2.100000\n"
         L"P_ACH_at_Selected_Pressure: 3.456000\n"
         L"P_Q_at_Selected_Pressure_per_unit_floor_area: 1.234560\n"
         L"P_EqLA: 123.440000\n"
         L"P_EqLA_err: 4.200000\n"
         L"P_ELA: 65.430000\n"
         L"P_ELA_err: 5.500000\n"
         L"P_TLR: 0.567890\n"
         L"P_C: 123.400000\n"
         L"P_C_err: 3.200000\n"
         L"P_n: 0.654320\n"
         L"P_n_err: 0.012300\n"
         L"P_r: 0.998760\n"},
        {"EN 13829: 95 % errors, invalid values and errors left out", 1, 1, L"D_", L"75", partial,
         L"Selected_Pressure_of_Airflow_Data_Pa: 75\n"
         L"D_Q_at_Selected_Pressure: 2451.123000\n"
         L"D_Q_at_Selected_Pressure_err95: 2.100000\n"
         L"D_ACH_at_Selected_Pressure: 3.456000\n"
         L"D_EqLA: 123.440000\n"
         L"D_EqLA_err95: 4.200000\n"
         L"D_ELA: 65.430000\n"
         L"D_TLR: 0.567890\n"
         L"D_C: 123.400000\n"
         L"D_C_err95: 3.200000\n"
         L"D_n: 0.654320\n"
         L"D_n_err95: 0.012300\n"
         L"D_r: 0.998760\n"},
        {"ISO 9972: r²", 3, 0, L"P_", L"10", Iso(Fallback(kPress), 1.3289, kNone, 0.99752),
         L"Selected_Pressure_of_Airflow_Data_Pa: 10\n"
         L"P_Q_at_Selected_Pressure: 2451.123000\n"
         L"P_ACH_at_Selected_Pressure: 3.456000\n"
         L"P_Q_at_Selected_Pressure_per_unit_floor_area: 1.234560\n"
         L"P_EqLA: 123.440000\n"
         L"P_ELA: 1.328900\n"
         L"P_TLR: 0.567890\n"
         L"P_C: 123.400000\n"
         L"P_n: 0.650000\n"
         L"P_r²: 0.997520\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(c.standard, kCfmFtIn, c.ref);
        Fill(c.slot, c.values);
        const CString strText = results->WriteResultKeys(c.slot, c.prefix);
        EXPECT_EQ(c.expected, strText.str());
        // The other slot has no completed tests and no section.
        EXPECT_TRUE(results->WriteResultKeys(1 - c.slot, c.slot == 0 ? L"D_" : L"P_").IsEmpty());

        // The reference pressure is what comes back.
        m_pView->m_strFileText = L"QARSEAL_Vudadar_Version: 5.1.1.0\n" + strText;
        results->m_strRefPressure = L"4";
        results->ReadResultKeys();
        EXPECT_EQ(c.ref, results->m_strRefPressure.str());
    }
}

TEST_F(ResultTexts, ReferencePressureReadBackOrTheStandardsDefault)
{
    const struct {
        int standard;
        const wchar_t* line;   // nullptr: no such key
        const wchar_t* expected;
    } cases[] = {
        {0, L"Selected_Pressure_of_Airflow_Data_Pa: 75", L"75"},
        {3, L"Selected_Pressure_of_Airflow_Data_Pa: 4", L"4"},
        {2, L"Selected_Pressure_of_Airflow_Data_Pa: 25", L"25"},
        {1, L"Selected_Pressure_of_Airflow_Data_Pa: 7.5", L"7.5"},
        {0, L"Selected_Pressure_of_Airflow_Data_Pa: 75  ", L"75"},
        {0, nullptr, L"50"},
        {3, nullptr, L"10"},
        {1, L"Selected_Pressure_of_Airflow_Data_Pa:", L"50"},
        {3, L"Selected_Pressure_of_Airflow_Data_Pa: ", L"10"},
        // Not a plain decimal number: as if missing.
        {0, L"Selected_Pressure_of_Airflow_Data_Pa: %s%n%s%n", L"50"},
        {3, L"Selected_Pressure_of_Airflow_Data_Pa: 1e3", L"10"},
        {2, L"Selected_Pressure_of_Airflow_Data_Pa: -50", L"50"},
        {0, L"Selected_Pressure_of_Airflow_Data_Pa: 75 Pa", L"50"},
        {1, L"Selected_Pressure_of_Airflow_Data_Pa: 1.2.3", L"50"},
        {0, L"Selected_Pressure_of_Airflow_Data_Pa: .", L"50"},
    };
    for (const auto& c : cases) {
        settings->m_nStandard = c.standard;
        CString strText = L"Test_Date: 20240101\n";
        if (c.line != nullptr)
            strText += CString(c.line) + L"\r\n";
        m_pView->m_strFileText = strText + L"P_C: 123.4\n";
        results->m_strRefPressure = L"?";
        results->ReadResultKeys();
        EXPECT_EQ(c.expected, results->m_strRefPressure.str()) << (c.line != nullptr ? c.line : L"(none)");
    }
}

// Numbers in the texts and in the file keep their decimal point whatever
// the user's locale.
TEST_F(ResultTexts, DecimalPointsUnderACommaLocale)
{
    CScopedCommaLocale comma;
    if (!comma.Switched())
        GTEST_SKIP() << "no locale with a decimal comma on this system";
    const OneDirectionCase& c = OneDirectionCases().front();
    Prepare(c.standard, c.units, c.ref, c.areas);
    Fill(c.slot, c.values);
    results->FormatResults();
    ExpectTexts(*results, c.expected);
    const CString strKeys = results->WriteResultKeys(0, L"P_");
    EXPECT_NE(-1, strKeys.Find(L"\nP_Q_at_Selected_Pressure: 2451.123000\n"));
    EXPECT_EQ(-1, strKeys.Find(L','));
}
