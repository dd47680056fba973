// The rules of the standards on small data sets, one row per boundary; then
// the store's checks with a whole view: emptying and re-running, the
// record-wide texts, and the building height guard.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestChecks.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/calc/DirectionFitFixture.h"

namespace {

constexpr double kC = 100.0;
constexpr double kN = 0.65;

CResultValue Valid(double dValue, double dError = 0.0)
{
    return {dValue, 1, dError, 1};
}

// A test whose points lie on Q = 100 P^0.65 at exactly their targets: no
// rule of any standard but the point counts fires for it.
CTestCheckInput CleanTest(int nStandard, std::vector<double> pressures)
{
    CTestCheckInput in;
    in.nStandard = nStandard;
    in.chMethod = L'A';
    for (double p : pressures) {
        in.pressures.push_back(p);
        in.targets.push_back(p);
        in.flows.push_back(kC * std::pow(p, kN));
    }
    in.dTestN = kN;
    in.dTestR = 0.999;
    in.dTestR2 = 0.998;
    in.dPreBaseline = 1.0;
    in.dPostBaseline = -1.0;   // mean 0: the points are exact
    for (double& dMean : in.dBaselineMeans)
        dMean = 0.5;
    in.C = Valid(kC, 1.0);
    in.n = Valid(kN, 0.01);
    in.r = Valid(0.999);
    in.eqla = Valid(50.0, 2.0);
    in.nCompletedTests[0] = 1;
    in.nCompletedTests[1] = 1;
    return in;
}

const std::vector<double> kCgsbPressures = {50, 45, 40, 35, 30, 25, 20, 15};
const std::vector<double> kEnPressures = {60, 54, 48, 42, 36, 30, 24, 18};
const std::vector<double> kIsoPressures = {52, 46, 40, 34, 28, 22, 16, 10};

using Change = std::function<void(CTestCheckInput&)>;

struct Expected {
    int nPosition;
    UINT nStringId;
    const wchar_t* pszText;   // the exact text when it carries a value
    bool bRecordWide = false;
};

struct CheckCase {
    const char* pszName;
    int nStandard;
    std::vector<double> pressures;
    Change change;
    std::vector<Expected> expected;
};

void MovePoint(CTestCheckInput& in, size_t i, double dPressure)
{
    in.pressures[i] = dPressure;
    in.flows[i] = kC * std::pow(dPressure, kN);   // still on the curve
}

}  // namespace

TEST(TestChecksTest, EachRuleFiresExactlyAtItsBoundary)
{
    const CheckCase cases[] = {
        {"CGSB 8 points on target", 0, kCgsbPressures, [](CTestCheckInput&) {}, {}},
        {"CGSB 7 points", 0, {50, 45, 40, 35, 30, 25, 20}, [](CTestCheckInput&) {},
         {{17, IDS_DEV_NOT_ALL_8_TARGETS, nullptr}}},
        {"CGSB 2.5 Pa off target", 0, kCgsbPressures, [](CTestCheckInput& in) { MovePoint(in, 0, 52.5); }, {}},
        {"CGSB 2.51 Pa off target", 0, kCgsbPressures, [](CTestCheckInput& in) { MovePoint(in, 0, 47.49); },
         {{16, IDS_DEV_OFF_TARGET, nullptr}}},
        {"CGSB 2.51 Pa off target, semi-automatic", 0, kCgsbPressures,
         [](CTestCheckInput& in) { MovePoint(in, 3, 37.51); in.chMethod = L'S'; },
         {{16, IDS_DEV_OFF_TARGET, nullptr}}},
        {"CGSB 2.51 Pa off target, manual", 0, kCgsbPressures,
         [](CTestCheckInput& in) { MovePoint(in, 0, 52.51); in.chMethod = L'M'; }, {}},
        {"test n 0.495", 0, kCgsbPressures, [](CTestCheckInput& in) { in.dTestN = 0.495; }, {}},
        {"test n 1.0", 0, kCgsbPressures, [](CTestCheckInput& in) { in.dTestN = 1.0; }, {}},
        {"test n 0.494", 0, kCgsbPressures, [](CTestCheckInput& in) { in.dTestN = 0.494; },
         {{0, IDS_DEV_N_VALUE, L"n value (0.494) outside of acceptable limits (0,5 ≤ n ≤ 1)."}}},
        {"test n 1.001", 2, kCgsbPressures, [](CTestCheckInput& in) { in.dTestN = 1.001; },
         {{0, IDS_DEV_N_VALUE, L"n value (1.001) outside of acceptable limits (0,5 ≤ n ≤ 1)."}}},
        {"test n 0.3 without a valid direction n", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.dTestN = 0.3; in.n.m_bValid = 0; }, {}},
        {"failed test fit, n -1, whatever the direction's n", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.dTestN = -1.0; in.n.m_bValid = 0; },
         {{0, IDS_DEV_N_VALUE, L"n value (-1.000) outside of acceptable limits (0,5 ≤ n ≤ 1)."}}},
        {"CGSB r 0.99 with 3 points", 0, {50, 45, 40}, [](CTestCheckInput& in) { in.dTestR = 0.99; },
         {{1, IDS_DEV_CORRELATION, L"Correlation coefficient (0.990) outside of acceptable limits."},
          {17, IDS_DEV_NOT_ALL_8_TARGETS, nullptr}}},
        {"CGSB r 0.99 with 2 points", 0, {50, 45}, [](CTestCheckInput& in) { in.dTestR = 0.99; },
         {{17, IDS_DEV_NOT_ALL_8_TARGETS, nullptr}}},
        {"CGSB r 0.5 without a valid direction r", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.dTestR = 0.5; in.r.m_bValid = 0; }, {}},
        {"ASTM E779 r 0.99 with 3 points", 2, {50, 45, 40}, [](CTestCheckInput& in) { in.dTestR = 0.99; },
         {{1, IDS_DEV_CORRELATION, L"Correlation coefficient (0.990) outside of acceptable limits."},
          {23, IDS_DEV_FEWER_THAN_5_POINTS, nullptr}}},
        {"EN 13829 has no correlation rule", 1, kEnPressures, [](CTestCheckInput& in) { in.dTestR = 0.5; }, {}},
        {"ISO 9972 r² 0.98", 3, kIsoPressures, [](CTestCheckInput& in) { in.dTestR2 = 0.98; }, {}},
        {"ISO 9972 r² 0.979", 3, kIsoPressures, [](CTestCheckInput& in) { in.dTestR2 = 0.979; },
         {{1, IDS_DEV_DETERMINATION,
           L"Coefficient of Determination (0.979) outside of acceptable limits (0,98 ≤ r² ≤ 1)."}}},
        {"CGSB point 5.99 % above its curve", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.flows[4] *= 1.0599; }, {}},
        {"CGSB point 6.01 % below its curve", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.flows[4] *= 0.9399; }, {{15, IDS_DEV_POINT_FLOW_ERROR, nullptr}}},
        {"CGSB flow factor moves a point off its curve", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.dFlowFactor = 1.07; }, {{15, IDS_DEV_POINT_FLOW_ERROR, nullptr}}},
        {"CGSB curve flow 0 (C 0) counts as deviating", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.C.m_dValue = 0.0; }, {{15, IDS_DEV_POINT_FLOW_ERROR, nullptr}}},
        {"CGSB flow that is not a number counts as deviating", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.flows[2] = std::nan(""); }, {{15, IDS_DEV_POINT_FLOW_ERROR, nullptr}}},
        {"CGSB failed direction fit: no curve to compare with", 0, kCgsbPressures,
         [](CTestCheckInput& in) { in.C.m_bValid = 0; in.C.m_dValue = 0.0; in.flows[2] *= 3.0; }, {}},
        {"CGSB EqLA error 6.99 %", 0, kCgsbPressures, [](CTestCheckInput& in) { in.eqla.m_dError = 6.99; }, {}},
        {"CGSB EqLA error 7.0 %", 0, kCgsbPressures, [](CTestCheckInput& in) { in.eqla.m_dError = 7.0; },
         {{38, IDS_DEV_EQLA_ERROR, nullptr}}},
        {"EN 13829 baseline mean 5.0 Pa", 1, kEnPressures, [](CTestCheckInput& in) { in.dBaselineMeans[2] = -5.0; },
         {}},
        {"EN 13829 baseline mean 5.01 Pa", 1, kEnPressures,
         [](CTestCheckInput& in) { in.dBaselineMeans[3] = 5.01; }, {{18, IDS_DEV_BASELINE, nullptr}}},
        {"ISO 9972 baseline mean 5.05 Pa", 3, kIsoPressures,
         [](CTestCheckInput& in) { in.dBaselineMeans[0] = -5.05; }, {}},
        {"ISO 9972 baseline mean 5.06 Pa", 3, kIsoPressures,
         [](CTestCheckInput& in) { in.dBaselineMeans[1] = 5.06; }, {{18, IDS_DEV_BASELINE, nullptr}}},
        {"EN 13829 gap 10 Pa", 1, {60, 50, 44, 38, 32, 26, 20}, [](CTestCheckInput&) {}, {}},
        {"EN 13829 gap 10.5 Pa", 1, {60, 49.5, 44, 38, 32, 26, 20}, [](CTestCheckInput&) {},
         {{22, IDS_DEV_PRESSURE_GAP, nullptr}}},
        {"EN 13829 4 points", 1, {60, 54, 48, 42}, [](CTestCheckInput&) {}, {{23, IDS_DEV_FEWER_THAN_5_POINTS, nullptr}}},
        {"ISO 9972 pre-test baseline 3 Pa, lowest 12 Pa", 3, {52, 46, 40, 34, 28, 22, 16, 12},
         [](CTestCheckInput& in) { in.dPreBaseline = -3.0; in.dPostBaseline = 3.0; }, {}},
        {"ISO 9972 pre-test baseline 3 Pa, lowest 11.9 Pa", 3, {52, 46, 40, 34, 28, 22, 16, 11.9},
         [](CTestCheckInput& in) { in.dPreBaseline = 3.0; }, {{34, IDS_DEV_LOWEST_PRESSURE, nullptr}}},
        {"ISO 9972 pre-test baseline 3 Pa, lowest 18 Pa", 3, {52, 46, 40, 34, 28, 22, 18},
         [](CTestCheckInput& in) { in.dPreBaseline = 3.0; }, {}},
        {"ISO 9972 pre-test baseline 1 Pa, lowest 13 Pa", 3, {52, 46, 40, 34, 28, 22, 16, 13},
         [](CTestCheckInput&) {}, {}},
        {"ISO 9972 pre-test baseline 1 Pa, lowest 13.1 Pa", 3, {52, 46, 40, 34, 28, 22, 16, 13.1},
         [](CTestCheckInput&) {}, {{34, IDS_DEV_LOWEST_PRESSURE, nullptr}}},
        {"ISO 9972 highest 25 Pa", 3, {25, 22, 19, 16, 13, 10}, [](CTestCheckInput&) {}, {}},
        {"ISO 9972 highest 24 Pa", 3, {24, 21, 18, 15, 12, 10}, [](CTestCheckInput&) {},
         {{35, IDS_DEV_HIGHEST_BELOW_25, nullptr}}},
        {"ISO 9972 highest 49 Pa", 3, {49, 43, 37, 31, 25, 19, 13, 10}, [](CTestCheckInput&) {},
         {{36, IDS_DEV_HIGHEST_BELOW_50, nullptr}}},
        {"ISO 9972 highest 50 Pa", 3, {50, 43, 37, 31, 25, 19, 13, 10}, [](CTestCheckInput&) {}, {}},
        {"ASTM E779 both directions", 2, kCgsbPressures, [](CTestCheckInput&) {}, {}},
        {"ASTM E779 depressurization only", 2, kCgsbPressures,
         [](CTestCheckInput& in) { in.nCompletedTests[0] = 0; },
         {{25, IDS_DEV_NO_PRESSURIZATION, L"Pressurization test not included.", true}}},
        {"ASTM E779 pressurization only", 2, kCgsbPressures,
         [](CTestCheckInput& in) { in.nCompletedTests[1] = 0; },
         {{26, IDS_DEV_NO_DEPRESSURIZATION, L"Depressurization test not included.", true}}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTestCheckInput in = CleanTest(c.nStandard, c.pressures);
        c.change(in);
        const std::vector<CDeviationFinding> findings = TestChecks::CheckTest(in);
        std::map<int, const CDeviationFinding*> byPosition;
        for (const CDeviationFinding& finding : findings) {
            EXPECT_EQ(byPosition.count(finding.nPosition), 0u) << "position " << finding.nPosition << " twice";
            byPosition[finding.nPosition] = &finding;
        }
        ASSERT_EQ(findings.size(), c.expected.size());
        for (const Expected& e : c.expected) {
            ASSERT_EQ(byPosition.count(e.nPosition), 1u) << "position " << e.nPosition;
            const CDeviationFinding& finding = *byPosition[e.nPosition];
            EXPECT_EQ(finding.nStringId, e.nStringId);
            EXPECT_EQ(finding.bRecordWide, e.bRecordWide);
            CString strExpected;
            if (e.pszText != nullptr)
                strExpected = e.pszText;
            else
                ASSERT_TRUE(strExpected.LoadString(e.nStringId));
            EXPECT_EQ(finding.strText, strExpected) << finding.strText.ToAnsi();
        }
    }
}

namespace {

using dirfit::Law;
using dirfit::Marker;
using dirfit::Point;

// Depressurization (dSign -1) has building pressures below the outside's.
std::vector<dirfit::Entry> OnCurveTest(const std::vector<double>& targets, double dSign = 1.0)
{
    std::vector<dirfit::Entry> entries{Marker(0.0)};
    for (double p : targets)
        entries.push_back(Point(p, dSign * p, Law(kC, kN, p)));
    entries.push_back(Marker(0.0));
    return entries;
}

}  // namespace

class StoreChecksTest : public dirfit::DirectionFitFixture {
protected:
    void SetUp() override
    {
        DirectionFitFixture::SetUp();
        m_pDeviations = m_pView->m_pDeviations;
        m_pDeviations->ClearAllDeviations();
    }
    // As the store's writers leave it: tests paired and refitted.
    void LayAndFit(int d, const std::vector<dirfit::Entry>& entries)
    {
        Lay(d, entries);
        s->FitAllTests();
    }
    CString Text(int d, int t, int nPosition) const
    {
        return m_pDeviations->m_pLists[d][t] != nullptr ? m_pDeviations->m_pLists[d][t]->GetAt(nPosition) : CString();
    }

    CDeviationsFromStandard* m_pDeviations = nullptr;
};


TEST_F(StoreChecksTest, RerunningEmptiesWhatNowPassesAndLeavesTestsWithoutPoints)
{
    // Slot 0: eight points on their targets and one 4 Pa off its own.
    std::vector<dirfit::Entry> entries = OnCurveTest({50, 45, 40, 35, 30, 25, 20, 15});
    entries.insert(entries.end() - 1, Point(12.0, 16.0, Law(kC, kN, 16.0)));
    LayAndFit(0, entries);
    // Slot 1: a test whose group holds no point keeps the text it had.
    LayAndFit(1, {Marker(0.0), Marker(0.0)});
    m_pDeviations->SetDeviation(17, L"kept", 1, 0);

    m_pDeviations->RecheckAllTests(0);
    CString strOffTarget;
    strOffTarget.LoadString(IDS_DEV_OFF_TARGET);
    EXPECT_EQ(Text(0, 0, 16), strOffTarget);
    EXPECT_EQ(m_pDeviations->CountDeviations(0, 0), 1);
    EXPECT_EQ(Text(1, 0, 17), CString(L"kept"));

    // The off point deleted: its text goes; one more deleted: too few points.
    LayAndFit(0, OnCurveTest({50, 45, 40, 35, 30, 25, 20, 15}));
    m_pDeviations->RecheckAllTests(0);
    EXPECT_EQ(m_pDeviations->CountDeviations(0, 0), 0) << m_pDeviations->WriteDeviationKeys(0, L"P_").ToAnsi();
    LayAndFit(0, OnCurveTest({50, 45, 40, 35, 30, 25, 20}));
    m_pDeviations->RecheckAllTests(0);
    CString strTooFew;
    strTooFew.LoadString(IDS_DEV_NOT_ALL_8_TARGETS);
    EXPECT_EQ(Text(0, 0, 17), strTooFew);
    EXPECT_EQ(m_pDeviations->CountDeviations(0, 0), 1);
    EXPECT_EQ(Text(1, 0, 17), CString(L"kept"));
}

TEST_F(StoreChecksTest, AstmRecordWithOneDirectionNamesTheMissingOneUnderEveryTest)
{
    settings->m_nStandard = 2;
    std::vector<dirfit::Entry> entries = OnCurveTest({50, 45, 40, 35, 30, 25, 20, 15}, -1.0);
    const std::vector<dirfit::Entry> second = OnCurveTest({48, 43, 38, 33, 28, 23, 18, 13}, -1.0);
    entries.insert(entries.end(), second.begin(), second.end());
    LayAndFit(1, entries);
    ASSERT_EQ(s->m_CompletedTests[1], 2);

    m_pDeviations->RecheckAllTests(0);
    CString strMissing;
    strMissing.LoadString(IDS_DEV_NO_PRESSURIZATION);
    EXPECT_EQ(Text(0, 0, 25), strMissing);
    EXPECT_EQ(m_pDeviations->CountDeviations(1, 0), 0) << m_pDeviations->WriteDeviationKeys(1, L"D_").ToAnsi();
    EXPECT_EQ(m_pDeviations->CountDeviations(1, 1), 0);
    EXPECT_EQ(m_pDeviations->CountDeviations(0, 0), 1);
    // Shown under both tests, never written: slot 0 has no completed test.
    m_pDeviations->FillDeviationText();
    const std::wstring text = m_pDeviations->m_strText.str();
    size_t nShown = 0;
    for (size_t pos = text.find(strMissing.str()); pos != std::wstring::npos; pos = text.find(strMissing.str(), pos + 1))
        ++nShown;
    EXPECT_EQ(nShown, 2u) << m_pDeviations->m_strText.ToAnsi();
    EXPECT_EQ(m_pDeviations->WriteDeviationKeys(0, L"P_"), CString());
    EXPECT_EQ(m_pDeviations->WriteDeviationKeys(1, L"D_"), CString());
}

TEST_F(StoreChecksTest, ChecksStayInsideTheStoreWhateverTheCounts)
{
    // A damaged record: more completed tests than lists, and a group that
    // never closes before the used entries end.
    LayAndFit(0, OnCurveTest({50, 45, 40, 35, 30, 25, 20, 15}));
    s->m_TestFirstRow[0][1] = 9;
    s->m_TestRowCount[0][1] = 40;
    s->m_CompletedTests[0] = 1000;
    m_pDeviations->RecheckAllTests(0);
    for (int t = 1; t < CTestGraph1::kMaxTests; ++t)
        EXPECT_EQ(m_pDeviations->CountDeviations(0, t), 0) << t;
    EXPECT_EQ(s->GetTestPointCount(0, 1), 0);
    EXPECT_EQ(s->GetTestPointCount(0, 0), 8);
    EXPECT_EQ(s->GetTestPointCount(2, 0), 0);
    EXPECT_EQ(s->GetTestPointCount(0, 32), 0);
}

TEST_F(StoreChecksTest, BuildingHeightGuardSendsTheUserToTheHeightField)
{
    CTestAnswerer answerer;
    CScopedAnswerer scoped(answerer);
    CBuildingInfoDialog* pBuilding = m_pView->m_pBuildingInfo;
    pBuilding->m_strHeight = L"8.5";
    EXPECT_EQ(s->CheckBuildingHeight(), 1);
    EXPECT_TRUE(answerer.programMessages.empty());
    EXPECT_EQ(pBuilding->m_bFromTestGraph, 0);

    // The view has no window here: the page request goes to this thread's queue.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, CSimbrel1View::kPageNavigateMessage, CSimbrel1View::kPageNavigateMessage,
                          PM_REMOVE)) {
    }
    pBuilding->m_strHeight.Empty();
    answerer.ReplyToProgramMessage(IDS_BUILDING_HEIGHT_REQUIRED, IDOK);
    EXPECT_EQ(s->CheckBuildingHeight(), 0);
    ASSERT_EQ(answerer.programMessages.size(), 1u);
    EXPECT_EQ(answerer.programMessages[0].text, L"Building height must be entered\nto determine stack effect.");
    EXPECT_EQ(answerer.programMessages[0].nKind, 0);
    EXPECT_EQ(answerer.programMessages[0].nIcon, 175);
    EXPECT_EQ(answerer.programMessages[0].nHelpTopic, 255);
    EXPECT_EQ(pBuilding->m_bFromTestGraph, 1);
    EXPECT_EQ(pBuilding->m_nFocusCtrlId, 1036);
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, CSimbrel1View::kPageNavigateMessage,
                               CSimbrel1View::kPageNavigateMessage, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 135u);
    EXPECT_EQ(msg.lParam, 10);
    EXPECT_TRUE(answerer.AllRepliesUsed());
}
