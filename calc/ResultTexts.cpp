// The result texts that the results page draws and the report prints, and
// the results section of a test file.
//
// The reference pressure text comes from a file or the registry, so it is
// never part of a format: numbers are formatted alone and labels are joined
// to them as text.
#include <cmath>

#include "app/Simbrel1View.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kCgsb = 0;
constexpr int kEn13829 = 1;
constexpr int kAstmE779 = 2;
constexpr int kIso9972 = 3;
// A building dimension not above this was not entered.
constexpr double kMinDimension = 0.1;
constexpr double kSquareFeetPerSquareMetre = 10.7639104;

const wchar_t* const kRefPressureKey = L"Selected_Pressure_of_Airflow_Data_Pa:";
const wchar_t* const kSquareMetres = L"m\u00B2";
const wchar_t* const kSquareFeet = L"ft\u00B2";
const wchar_t* const kPowerN = L"\u207F";       // superscript n
const wchar_t* const kDotOperator = L"\u2219";  // the product dot of m³/(h∙Paⁿ)

using TextMember = CString CTestResultsDialog::*;

// Every text that ClearResultTexts empties.
constexpr TextMember kClearedTexts[] = {
    &CTestResultsDialog::m_strFlowAtRef,           &CTestResultsDialog::m_strFlowAtRefValue,
    &CTestResultsDialog::m_strAch,                 &CTestResultsDialog::m_strAchValue,
    &CTestResultsDialog::m_strFlowPerFloor,        &CTestResultsDialog::m_strFlowPerFloorValue,
    &CTestResultsDialog::m_strFlowPerFloorUnit,    &CTestResultsDialog::m_strFlowPerEnvelope,
    &CTestResultsDialog::m_strFlowPerEnvelopeValue, &CTestResultsDialog::m_strFlowPerEnvelopeUnit,
    &CTestResultsDialog::m_strEqla,                &CTestResultsDialog::m_strEla,
    &CTestResultsDialog::m_strIsoAreaPerFloor,     &CTestResultsDialog::m_strIsoAreaPerEnvelope,
    &CTestResultsDialog::m_strC,                   &CTestResultsDialog::m_strN,
    &CTestResultsDialog::m_strR,                   &CTestResultsDialog::m_strR2,
    &CTestResultsDialog::m_strTabFlowLabel,        &CTestResultsDialog::m_strTabFlowSlot0,
    &CTestResultsDialog::m_strTabFlowSlot1,        &CTestResultsDialog::m_strTabFlowMean,
    &CTestResultsDialog::m_strTabAchLabel,         &CTestResultsDialog::m_strTabAchSlot0,
    &CTestResultsDialog::m_strTabAchSlot1,         &CTestResultsDialog::m_strTabAchMean,
    &CTestResultsDialog::m_strTabFloorUnit,        &CTestResultsDialog::m_strTabFloorSlot0,
    &CTestResultsDialog::m_strTabFloorSlot1,       &CTestResultsDialog::m_strTabFloorMean,
    &CTestResultsDialog::m_strTabEnvelopeUnit,     &CTestResultsDialog::m_strTabEnvelopeSlot0,
    &CTestResultsDialog::m_strTabEnvelopeSlot1,    &CTestResultsDialog::m_strTabEnvelopeMean,
    &CTestResultsDialog::m_strTabEqlaLabel,        &CTestResultsDialog::m_strTabEqlaSlot0,
    &CTestResultsDialog::m_strTabEqlaSlot1,        &CTestResultsDialog::m_strTabEqlaMean,
    &CTestResultsDialog::m_strTabEqlaPerEnvLabel,  &CTestResultsDialog::m_strTabEqlaPerEnvSlot0,
    &CTestResultsDialog::m_strTabEqlaPerEnvSlot1,  &CTestResultsDialog::m_strTabEqlaPerEnvMean,
    &CTestResultsDialog::m_strTabElaLabel,         &CTestResultsDialog::m_strTabElaSlot0,
    &CTestResultsDialog::m_strTabElaSlot1,         &CTestResultsDialog::m_strTabElaMean,
    &CTestResultsDialog::m_strTabElaPerEnvLabel,   &CTestResultsDialog::m_strTabElaPerEnvSlot0,
    &CTestResultsDialog::m_strTabElaPerEnvSlot1,   &CTestResultsDialog::m_strTabElaPerEnvMean,
    &CTestResultsDialog::m_strTabIsoPerFloorSlot0, &CTestResultsDialog::m_strTabIsoPerFloorSlot1,
    &CTestResultsDialog::m_strTabIsoPerFloorMean,  &CTestResultsDialog::m_strTabIsoPerEnvSlot0,
    &CTestResultsDialog::m_strTabIsoPerEnvSlot1,   &CTestResultsDialog::m_strTabIsoPerEnvMean,
    &CTestResultsDialog::m_strTabCLabel,           &CTestResultsDialog::m_strTabCSlot0,
    &CTestResultsDialog::m_strTabCSlot1,           &CTestResultsDialog::m_strTabCMean,
    &CTestResultsDialog::m_strTabNLabel,           &CTestResultsDialog::m_strTabNSlot0,
    &CTestResultsDialog::m_strTabNSlot1,           &CTestResultsDialog::m_strTabNMean,
    &CTestResultsDialog::m_strTabRLabel,           &CTestResultsDialog::m_strTabR2Label,
    &CTestResultsDialog::m_strTabRSlot0,           &CTestResultsDialog::m_strTabRSlot1,
};

// The CL and C-at-standard-density texts, which ClearResultTexts leaves.
constexpr TextMember kStandardDensityTexts[] = {
    &CTestResultsDialog::m_strCl,           &CTestResultsDialog::m_strCenvLabel,
    &CTestResultsDialog::m_strCenv,         &CTestResultsDialog::m_strTabCenvLabel,
    &CTestResultsDialog::m_strTabCenvSlot0, &CTestResultsDialog::m_strTabCenvSlot1,
};

CString Strip(const CString& str)
{
    return CSimbrel1View::StripLeadingBlanks(str);
}

// One number in one format, leading blanks removed.
CString FormatNumber(const wchar_t* pszFormat, double dValue)
{
    return Strip(CString::FormatText(pszFormat, dValue));
}

// A value the computation could make: 0 stands for none, and neither a
// negative nor an infinite one is ever shown.
bool HasValue(double dValue)
{
    return dValue > 0.0 && std::isfinite(dValue);
}

// The percent error after a result: " (+/- 2.1 %)".
CString ErrorSuffix(double dError)
{
    return CString::FormatText(L" (+/- %3.1f %c)", dError, L'%');
}

CString ErrorSuffix(const CResultValue& entry)
{
    return entry.m_bErrorValid ? ErrorSuffix(entry.m_dError) : CString();
}

// Builds the texts of one FormatResults: the one-direction set or the table.
class CResultTextBuilder {
public:
    CResultTextBuilder(CTestResultsDialog& results, int nStandard)
        : r(results),
          m_view(*results.m_pView),
          m_graph(*results.m_pTestGraph),
          m_pBuilding(results.m_pBuildingInfo),
          m_nStandard(nStandard),
          m_bEnOrIso(nStandard == kEn13829 || nStandard == kIso9972),
          m_bIso(nStandard == kIso9972),
          m_bAstm(nStandard == kAstmE779),
          m_bInches(m_view.m_nLeakageUnit == 0),
          m_bMetres(m_view.m_nBuildingUnit == 1),
          m_strLeakageUnit(LoadText(m_bInches ? IDS_UNIT_IN2 : IDS_UNIT_CM2))
    {
    }

    void OneDirection(int d);
    void Table();

private:
    const CResultValue& E(int d, int e) const { return r.m_Results[d][e]; }
    bool EitherValid(int e) const { return E(0, e).m_bValid || E(1, e).m_bValid; }
    bool BothValid(int e) const { return E(0, e).m_bValid && E(1, e).m_bValid; }
    bool BothErrorsValid(int e) const { return BothValid(e) && E(0, e).m_bErrorValid && E(1, e).m_bErrorValid; }
    double FloorArea(int d) const { return m_pBuilding != nullptr ? m_pBuilding->m_dFloorArea[d] : 0.0; }
    double EnvelopeArea(int d) const { return m_pBuilding != nullptr ? m_pBuilding->m_dSurfaceArea[d] : 0.0; }
    CString EnvelopeAreaUnit() const { return m_pBuilding != nullptr ? m_pBuilding->m_strSurfaceAreaUnit : CString(); }

    CString FlowLabel(int d) const;
    CString CUnit(int d) const;
    const wchar_t* PerAreaFormat() const { return m_bEnOrIso && m_bMetres ? L"%5.2f" : L"%5.4f"; }
    const wchar_t* PerEnvelopeAreaFormat() const { return m_bInches ? L"%0.4f" : L"%0.2f"; }
    bool HasPerEnvelopeArea(int d, int e) const;
    CString LeakageAreaLine(int d, int e, UINT nLabelId) const;
    CString IsoAreaUnit() const { return m_bInches ? kSquareFeet : kSquareMetres; }
    double IsoAreaPerArea(double dArea, double dPerArea) const;
    CString ValueWithError(const wchar_t* pszFormat, double dValue, const CResultValue& errorOf) const;
    CString AssumedMarker(int d) const;
    void LeakageAreaRows(int e, UINT nLabelId, double dMeanErrorPct, CString& strLabel, CString& strSlot0,
                         CString& strSlot1, CString& strMean, CString& strPerEnvLabel, CString& strPerEnv0,
                         CString& strPerEnv1, CString& strPerEnvMean) const;
    void IsoLeakageAreaRows();

    CTestResultsDialog& r;
    const CSimbrel1View& m_view;
    const CTestGraph1& m_graph;
    const CBuildingInfoDialog* m_pBuilding;
    const int m_nStandard;
    const bool m_bEnOrIso;
    const bool m_bIso;
    const bool m_bAstm;
    const bool m_bInches;
    const bool m_bMetres;
    const CString m_strLeakageUnit;
};

// CGSB and ASTM E779 name the flow after the pressure: cfm50, cfm75, ...
CString CResultTextBuilder::FlowLabel(int d) const
{
    const CString& strUnit = m_view.m_strFlowUnitName[d];
    if (m_nStandard == kCgsb || m_bAstm)
        return r.ReplaceReferencePressure(strUnit + L"50");
    return strUnit;
}

CString CResultTextBuilder::CUnit(int d) const
{
    if (m_view.m_nFlowUnit == 1)
        return LoadText(IDS_UNIT_M3) + L"/(" + LoadText(IDS_UNIT_HOUR) + kDotOperator + LoadText(IDS_UNIT_PA) + kPowerN +
               L")";
    return FlowLabel(d) + L"/" + LoadText(IDS_UNIT_PA) + kPowerN + L" ";
}

// A flow per envelope area is valid only with an envelope area, which may
// have been emptied since the computation.
bool CResultTextBuilder::HasPerEnvelopeArea(int d, int e) const
{
    return E(d, e).m_bValid && E(d, CTestResultsDialog::kFlowPerEnvelope).m_bValid &&
           EnvelopeArea(d) > kMinDimension;
}

// "123.4 in² (+/- 2.1 %) Canadian EqLA @ 10 Pa  or  0.0493 in²/ft² Surface Area".
CString CResultTextBuilder::LeakageAreaLine(int d, int e, UINT nLabelId) const
{
    const CResultValue& entry = E(d, e);
    CString str = FormatNumber(L"%5.1f", entry.m_dValue) + L" " + m_strLeakageUnit + ErrorSuffix(entry) + L" " +
                  LoadText(nLabelId);
    if (HasPerEnvelopeArea(d, e)) {
        str += L"  " + LoadText(IDS_OR) + L"  ";
        str += FormatNumber(PerEnvelopeAreaFormat(), entry.m_dValue / EnvelopeArea(d)) + L" " + m_strLeakageUnit +
               L"/" + EnvelopeAreaUnit() + L" " + LoadText(IDS_SURFACE_AREA);
    }
    return str;
}

// The ISO 9972 leakage area (ft² with inches, else m²) per building area, in
// the building unit squared per building unit squared.
double CResultTextBuilder::IsoAreaPerArea(double dArea, double dPerArea) const
{
    double dRatio = dArea / dPerArea;
    if (m_bInches && m_bMetres)
        dRatio /= kSquareFeetPerSquareMetre;
    else if (!m_bInches && !m_bMetres)
        dRatio *= kSquareFeetPerSquareMetre;
    return dRatio;
}

// "%5.1f (+/- %3.1f %c)" when errorOf's error is valid, else "%5.1f".
CString CResultTextBuilder::ValueWithError(const wchar_t* pszFormat, double dValue, const CResultValue& errorOf) const
{
    return FormatNumber(pszFormat, dValue) + ErrorSuffix(errorOf);
}

CString CResultTextBuilder::AssumedMarker(int d) const
{
    return m_graph.m_NFixed[d] ? L" (" + LoadText(IDS_ASSUMED) + L")" : CString();
}

void CResultTextBuilder::OneDirection(int d)
{
    using R = CTestResultsDialog;

    const CResultValue& flow = E(d, R::kFlowAtRef);
    if (flow.m_bValid) {
        CString strFormat = m_graph.GetFlowPrecisionFormat(L"%5.0f ", d);
        if (strFormat.IsEmpty())
            strFormat = L"%5.0f ";
        const CString strNumber = CString::FormatText(strFormat, flow.m_dValue);
        r.m_strFlowAtRefValue = Strip(strNumber) + ErrorSuffix(flow);
        r.m_strFlowAtRef = Strip(strNumber + FlowLabel(d)) + ErrorSuffix(flow);
    }

    const CResultValue& ach = E(d, R::kAch);
    if (ach.m_bValid) {
        const CString strNumber = CString::FormatText(L"%5.2f ", ach.m_dValue);
        r.m_strAchValue = Strip(strNumber);
        if (m_bEnOrIso)
            r.m_strAch = Strip(strNumber + LoadText(IDS_UNIT_PER_HOUR) + L" (" + LoadText(IDS_AIR_CHANGE_RATE) + L")");
        else
            r.m_strAch = Strip(CString::FormatText(L"%5.2f", ach.m_dValue) + L" " + r.ReplaceReferencePressure(L"ACH50"));
    }

    const CResultValue& floor = E(d, R::kFlowPerFloor);
    if (floor.m_bValid) {
        r.m_strFlowPerFloorUnit = r.FormatPerAreaUnit(IDS_FLOOR_AREA);
        r.m_strFlowPerFloorValue = FormatNumber(PerAreaFormat(), floor.m_dValue);
        r.m_strFlowPerFloor = r.m_strFlowPerFloorValue + L" " + r.m_strFlowPerFloorUnit;
    }
    const CResultValue& envelope = E(d, R::kFlowPerEnvelope);
    if (envelope.m_bValid) {
        r.m_strFlowPerEnvelopeUnit = r.FormatPerAreaUnit(IDS_SURFACE_AREA);
        r.m_strFlowPerEnvelopeValue = FormatNumber(PerAreaFormat(), envelope.m_dValue);
        r.m_strFlowPerEnvelope = r.m_strFlowPerEnvelopeValue + L" " + r.m_strFlowPerEnvelopeUnit;
    }

    if (E(d, R::kEqla).m_bValid)
        r.m_strEqla = LeakageAreaLine(d, R::kEqla, IDS_CANADIAN_EQLA);
    const CResultValue& ela = E(d, R::kEla);
    if (ela.m_bValid && !m_bIso)
        r.m_strEla = LeakageAreaLine(d, R::kEla, IDS_LBL_ELA);
    if (ela.m_bValid && m_bIso) {
        r.m_strEla = FormatNumber(L"%5.4f", ela.m_dValue) + L" " + IsoAreaUnit() + ErrorSuffix(ela);
        const CString strRatioUnit = CString(L" ") + (m_bMetres ? kSquareMetres : kSquareFeet) + L"/" +
                                     (m_bMetres ? kSquareMetres : kSquareFeet);
        // Only a building area that was entered gives a ratio; 0 would divide by zero.
        if (FloorArea(d) > kMinDimension)
            r.m_strIsoAreaPerFloor =
                FormatNumber(L"%5.7f", IsoAreaPerArea(ela.m_dValue, FloorArea(d))) + strRatioUnit;
        if (EnvelopeArea(d) > kMinDimension)
            r.m_strIsoAreaPerEnvelope =
                FormatNumber(L"%5.7f", IsoAreaPerArea(ela.m_dValue, EnvelopeArea(d))) + strRatioUnit;
    }

    const CResultValue& c = E(d, R::kC);
    if (c.m_bValid) {
        if (m_bEnOrIso) {
            const CString strCl = FormatNumber(LoadText(IDS_AIR_LEAKAGE_COEFFICIENT_FORMAT), c.m_dValue);
            const CString strUnit = CUnit(d);
            r.m_strC = strCl + L" " + strUnit + ErrorSuffix(c);
            r.m_strCl = strCl + L"  " + strUnit + ErrorSuffix(c);
            r.m_strCenvLabel = LoadText(IDS_AIR_FLOW_COEFFICIENT);
            // No mean density (a test still running, no barometric pressure)
            // leaves C at standard density 0: no value to show.
            const double dCenv = E(d, R::kCStandard).m_dValue;
            r.m_strCenv = HasValue(dCenv) ? Strip(r.m_strCenvLabel + CString::FormatText(L" = %5.1f", dCenv)) +
                                                L"  " + strUnit + ErrorSuffix(c)
                                          : CString();
        } else {
            r.m_strC = FormatNumber(LoadText(IDS_FLOW_COEFFICIENT_FORMAT), c.m_dValue) + ErrorSuffix(c);
        }
    }

    const CResultValue& n = E(d, R::kN);
    if (n.m_bValid) {
        r.m_strN = FormatNumber(LoadText(IDS_EXPONENT_FORMAT), n.m_dValue) + AssumedMarker(d);
        if (n.m_bErrorValid)
            r.m_strN += L" " + Strip(CString::FormatText(L" (+/- %3.3f)", n.m_dError));
    }

    const CResultValue& corr = E(d, R::kR);
    if (corr.m_bValid) {
        if (m_bIso)
            r.m_strR2 = LoadText(IDS_COEFFICIENT_OF_DETERMINATION) + L" (r\u00B2)" +
                        CString::FormatText(L" = %7.5f", corr.m_dValue);
        else
            r.m_strR = FormatNumber(LoadText(IDS_CORRELATION_COEFFICIENT_FORMAT), corr.m_dValue);
    }
}

// The EqLA or ELA rows of the table and their per-envelope-area row.
void CResultTextBuilder::LeakageAreaRows(int e, UINT nLabelId, double dMeanErrorPct, CString& strLabel,
                                         CString& strSlot0, CString& strSlot1, CString& strMean,
                                         CString& strPerEnvLabel, CString& strPerEnv0, CString& strPerEnv1,
                                         CString& strPerEnvMean) const
{
    using R = CTestResultsDialog;
    strLabel = LoadText(nLabelId) + L" (" + m_strLeakageUnit + L")";
    CString* pSlots[2] = {&strSlot0, &strSlot1};
    CString* pPerEnv[2] = {&strPerEnv0, &strPerEnv1};
    for (int d = 0; d < 2; ++d) {
        if (E(d, e).m_bValid)
            *pSlots[d] = ValueWithError(L"%5.1f", E(d, e).m_dValue, E(d, e));
        if (HasPerEnvelopeArea(d, e))
            *pPerEnv[d] = FormatNumber(PerEnvelopeAreaFormat(), E(d, e).m_dValue / EnvelopeArea(d));
    }
    if (BothValid(e)) {
        strMean = FormatNumber(L"%5.1f", (E(0, e).m_dValue + E(1, e).m_dValue) / 2.0);
        if (m_bAstm && BothErrorsValid(e))
            strMean += ErrorSuffix(dMeanErrorPct);
    }
    if (EitherValid(R::kFlowPerEnvelope))
        strPerEnvLabel = m_strLeakageUnit + L"/" + EnvelopeAreaUnit() + L" " + LoadText(IDS_SURFACE_AREA);
    if (HasPerEnvelopeArea(0, e) && HasPerEnvelopeArea(1, e))
        strPerEnvMean = FormatNumber(PerEnvelopeAreaFormat(),
                                     (E(0, e).m_dValue / EnvelopeArea(0) + E(1, e).m_dValue / EnvelopeArea(1)) / 2.0);
}

// ISO 9972: the leakage area at the reference pressure in place of the ELA
// slots, with its ratios to the floor and envelope areas.
void CResultTextBuilder::IsoLeakageAreaRows()
{
    using R = CTestResultsDialog;
    CString* pSlots[2] = {&r.m_strTabElaSlot0, &r.m_strTabElaSlot1};
    CString* pPerFloor[2] = {&r.m_strTabIsoPerFloorSlot0, &r.m_strTabIsoPerFloorSlot1};
    CString* pPerEnvelope[2] = {&r.m_strTabIsoPerEnvSlot0, &r.m_strTabIsoPerEnvSlot1};
    for (int d = 0; d < 2; ++d) {
        const CResultValue& area = E(d, R::kEla);
        pSlots[d]->Empty();
        if (!area.m_bValid)
            continue;
        if (!area.m_bErrorValid) {
            *pSlots[d] = FormatNumber(L"%5.1f", area.m_dValue);
            continue;
        }
        *pSlots[d] = FormatNumber(L"%5.4f", area.m_dValue) + ErrorSuffix(area);
        if (FloorArea(d) > kMinDimension)
            *pPerFloor[d] = FormatNumber(L"%5.7f", IsoAreaPerArea(area.m_dValue, FloorArea(d)));
        if (EnvelopeArea(d) > kMinDimension)
            *pPerEnvelope[d] = FormatNumber(L"%5.7f", IsoAreaPerArea(area.m_dValue, EnvelopeArea(d)));
    }
    r.m_strTabElaMean.Empty();
    if (!BothValid(R::kEla))
        return;
    const double dSum = E(0, R::kEla).m_dValue + E(1, R::kEla).m_dValue;
    r.m_strTabElaMean = FormatNumber(L"%5.4f", dSum / 2.0);
    // The means take slot 0's building areas for both directions.
    if (FloorArea(0) > kMinDimension)
        r.m_strTabIsoPerFloorMean = FormatNumber(L"%5.7f", IsoAreaPerArea(dSum, 2.0 * FloorArea(0)));
    if (EnvelopeArea(0) > kMinDimension)
        r.m_strTabIsoPerEnvMean = FormatNumber(L"%5.7f", IsoAreaPerArea(dSum, 2.0 * EnvelopeArea(0)));
}

void CResultTextBuilder::Table()
{
    using R = CTestResultsDialog;

    // Flow: one decimal for slot 1 only when slot 0 has one too; when only
    // slot 0 would, its decimal goes so that both show whole numbers.
    const CString strWhole = L"%5.0f ";
    const CString strFormat0 = m_graph.GetFlowPrecisionFormat(strWhole, 0);
    const CString strFormat1 = m_graph.GetFlowPrecisionFormat(strWhole, 1);
    const bool bDecimal0 = !strFormat0.IsEmpty();
    const bool bDecimal1 = bDecimal0 && !strFormat1.IsEmpty();
    const CResultValue& flow0 = E(0, R::kFlowAtRef);
    const CResultValue& flow1 = E(1, R::kFlowAtRef);
    if (EitherValid(R::kFlowAtRef))
        r.m_strTabFlowLabel = FlowLabel(0);
    if (flow0.m_bValid)
        r.m_strTabFlowSlot0 = ValueWithError(bDecimal0 ? strFormat0 : strWhole, flow0.m_dValue, flow0);
    if (flow1.m_bValid) {
        r.m_strTabFlowSlot1 = ValueWithError(bDecimal1 ? strFormat1 : strWhole, flow1.m_dValue, flow1);
        const int nPoint = r.m_strTabFlowSlot0.Find(L'.');
        if (bDecimal0 && !bDecimal1 && nPoint >= 0)
            r.m_strTabFlowSlot0.Delete(nPoint, 2);
    }
    if (BothValid(R::kFlowAtRef)) {
        r.m_strTabFlowMean = FormatNumber(bDecimal0 && bDecimal1 ? L"%5.1f " : L"%5.0f ",
                                          (flow0.m_dValue + flow1.m_dValue) / 2.0);
        if (m_bAstm && BothErrorsValid(R::kFlowAtRef))
            r.m_strTabFlowMean +=
                ErrorSuffix(R::CombinedError(flow0.m_dError, flow0.m_dValue, flow1.m_dError, flow1.m_dValue));
    }

    struct Row {
        int nEntry;
        const wchar_t* pszFormat;
        CString* pLabel;
        CString* pSlots[2];
        CString* pMean;
    };
    const Row rows[] = {
        {R::kAch, L"%5.2f ", &r.m_strTabAchLabel, {&r.m_strTabAchSlot0, &r.m_strTabAchSlot1}, &r.m_strTabAchMean},
        {R::kFlowPerFloor, PerAreaFormat(), &r.m_strTabFloorUnit, {&r.m_strTabFloorSlot0, &r.m_strTabFloorSlot1},
         &r.m_strTabFloorMean},
        {R::kFlowPerEnvelope, PerAreaFormat(), &r.m_strTabEnvelopeUnit,
         {&r.m_strTabEnvelopeSlot0, &r.m_strTabEnvelopeSlot1}, &r.m_strTabEnvelopeMean},
    };
    for (const Row& row : rows) {
        for (int d = 0; d < 2; ++d) {
            if (E(d, row.nEntry).m_bValid)
                *row.pSlots[d] = FormatNumber(row.pszFormat, E(d, row.nEntry).m_dValue);
        }
        if (BothValid(row.nEntry))
            *row.pMean = FormatNumber(row.pszFormat, (E(0, row.nEntry).m_dValue + E(1, row.nEntry).m_dValue) / 2.0);
    }
    if (EitherValid(R::kAch))
        r.m_strTabAchLabel = m_bEnOrIso ? LoadText(IDS_UNIT_PER_HOUR) + L" (" + LoadText(IDS_AIR_CHANGE_RATE) + L")"
                                        : r.ReplaceReferencePressure(L"ACH50");
    if (EitherValid(R::kFlowPerFloor))
        r.m_strTabFloorUnit = r.FormatPerAreaUnit(IDS_FLOOR_AREA);
    if (EitherValid(R::kFlowPerEnvelope))
        r.m_strTabEnvelopeUnit = r.FormatPerAreaUnit(IDS_SURFACE_AREA);

    LeakageAreaRows(R::kEqla, IDS_CANADIAN_EQLA, r.m_dMeanEqlaErrorPct, r.m_strTabEqlaLabel, r.m_strTabEqlaSlot0,
                    r.m_strTabEqlaSlot1, r.m_strTabEqlaMean, r.m_strTabEqlaPerEnvLabel, r.m_strTabEqlaPerEnvSlot0,
                    r.m_strTabEqlaPerEnvSlot1, r.m_strTabEqlaPerEnvMean);
    // The ELA label and per-envelope row are made under every standard;
    // ISO 9972 then puts its leakage area in the ELA slots.
    LeakageAreaRows(R::kEla, IDS_LBL_ELA, r.m_dMeanElaErrorPct, r.m_strTabElaLabel, r.m_strTabElaSlot0,
                    r.m_strTabElaSlot1, r.m_strTabElaMean, r.m_strTabElaPerEnvLabel, r.m_strTabElaPerEnvSlot0,
                    r.m_strTabElaPerEnvSlot1, r.m_strTabElaPerEnvMean);
    if (m_bIso)
        IsoLeakageAreaRows();

    const CString strUnit = CUnit(0);
    if (m_bEnOrIso) {
        r.m_strTabCLabel = LoadText(IDS_AIR_LEAKAGE_COEFFICIENT) + L"  " + strUnit;
        r.m_strCenvLabel = LoadText(IDS_AIR_FLOW_COEFFICIENT);
        r.m_strTabCenvLabel = r.m_strCenvLabel + L"  " + strUnit;
    } else {
        r.m_strTabCLabel = LoadText(IDS_FLOW_COEFFICIENT);
    }
    CString* pCSlots[2] = {&r.m_strTabCSlot0, &r.m_strTabCSlot1};
    CString* pCenvSlots[2] = {&r.m_strTabCenvSlot0, &r.m_strTabCenvSlot1};
    for (int d = 0; d < 2; ++d) {
        const CResultValue& c = E(d, R::kC);
        if (!c.m_bValid)
            continue;
        *pCSlots[d] = ValueWithError(L"%5.1f", c.m_dValue, c);
        if (m_bEnOrIso) {
            const double dCenv = E(d, R::kCStandard).m_dValue;
            *pCenvSlots[d] = HasValue(dCenv) ? ValueWithError(L"%5.1f", dCenv, c) : CString();
        }
    }
    if (m_bAstm && BothValid(R::kC))
        r.m_strTabCMean = FormatNumber(L"%5.1f", r.m_dMeanC) +
                          (BothErrorsValid(R::kC) ? ErrorSuffix(r.m_dMeanCErrorPct) : CString());

    r.m_strTabNLabel = LoadText(IDS_EXPONENT);
    CString* pNSlots[2] = {&r.m_strTabNSlot0, &r.m_strTabNSlot1};
    for (int d = 0; d < 2; ++d) {
        const CResultValue& n = E(d, R::kN);
        if (!n.m_bValid)
            continue;
        *pNSlots[d] = Strip(n.m_bErrorValid ? CString::FormatText(L"%5.3f (+/- %3.3f)", n.m_dValue, n.m_dError)
                                            : CString::FormatText(L"%5.3f", n.m_dValue)) +
                      AssumedMarker(d);
    }
    if (m_bAstm && BothValid(R::kN))
        r.m_strTabNMean = Strip(BothErrorsValid(R::kN)
                                    ? CString::FormatText(L"%3.3f (+/- %3.3f)", r.m_dMeanN, r.m_dMeanNError)
                                    : CString::FormatText(L"%3.3f", r.m_dMeanN));

    if (EitherValid(R::kR)) {
        if (m_bIso)
            r.m_strTabR2Label = LoadText(IDS_COEFFICIENT_OF_DETERMINATION) + L" (r\u00B2)";
        else
            r.m_strTabRLabel = LoadText(IDS_CORRELATION_COEFFICIENT);
    }
    if (E(0, R::kR).m_bValid)
        r.m_strTabRSlot0 = FormatNumber(L"%7.5f", E(0, R::kR).m_dValue);
    if (E(1, R::kR).m_bValid)
        r.m_strTabRSlot1 = FormatNumber(L"%7.5f", E(1, R::kR).m_dValue);
}

struct ResultKey {
    int nEntry;
    const wchar_t* pszKey;
    const wchar_t* pszErrorKey;   // nullptr: the entry has no error
};

// In the order of the file.
constexpr ResultKey kResultKeys[] = {
    {CTestResultsDialog::kFlowAtRef, L"Q_at_Selected_Pressure:", L"Q_at_Selected_Pressure_err:"},
    {CTestResultsDialog::kAch, L"ACH_at_Selected_Pressure:", nullptr},
    {CTestResultsDialog::kFlowPerFloor, L"Q_at_Selected_Pressure_per_unit_floor_area:", nullptr},
    {CTestResultsDialog::kEqla, L"EqLA:", L"EqLA_err:"},
    {CTestResultsDialog::kEla, L"ELA:", L"ELA_err:"},
    {CTestResultsDialog::kFlowPerEnvelope, L"TLR:", nullptr},
    {CTestResultsDialog::kC, L"C:", L"C_err:"},
    {CTestResultsDialog::kN, L"n:", L"n_err:"},
    {CTestResultsDialog::kR, nullptr, nullptr},   // "r:", or "r²:" for ISO 9972
};

CString ValueText(double dValue)
{
    return CString::FormatText(L"%f", dValue);
}

}  // namespace

void CTestResultsDialog::ClearResultTexts()
{
    for (TextMember text : kClearedTexts)
        (this->*text).Empty();
}

void CTestResultsDialog::FormatResults()
{
    ClearResultTexts();
    // A text of a result that is no longer valid must not show the result
    // of an earlier fit, so these go as well.
    for (TextMember text : kStandardDensityTexts)
        (this->*text).Empty();
    if (m_pView == nullptr || m_pTestGraph == nullptr)
        return;
    CResultTextBuilder builder(*this, StandardCode());
    if (m_pTestGraph->GetDirectionsWithData() == 2)
        builder.Table();
    else
        builder.OneDirection(m_pTestGraph->m_CompletedTests[0] > 0 ? 0 : 1);
}

CString CTestResultsDialog::ReplaceReferencePressure(const CString& strLabel) const
{
    if (m_strRefPressure == L"50")
        return strLabel;
    const int nPos = strLabel.Find(L"50");
    if (nPos < 0)
        return strLabel;
    return strLabel.Left(nPos) + m_strRefPressure + strLabel.Mid(nPos + 2);
}

CString CTestResultsDialog::FormatPerAreaUnit(int nLabelId) const
{
    if (m_pView == nullptr)
        return CString();
    if (nLabelId == IDS_SURFACE_AREA && IsEnOrIsoStandard())
        nLabelId = IDS_ENVELOPE_AREA;
    const CString strLabel = nLabelId != 0 ? LoadText(nLabelId) : CString();
    const bool bMetres = m_pView->m_nBuildingUnit == 1;

    if (m_pView->m_nFlowUnit == 1) {
        // m³/(h∙m² Floor Area)
        CString str = LoadText(IDS_UNIT_M3) + L"/(" + LoadText(IDS_UNIT_HOUR) + kDotOperator +
                      LoadText(bMetres ? IDS_UNIT_M2 : IDS_UNIT_FT2);
        if (!strLabel.IsEmpty())
            str += L" " + strLabel;
        return str + L")";
    }
    const CString strUnit = CString(m_pView->m_nFlowUnit == 2 ? L"lps/" : L"cfm/") + (bMetres ? kSquareMetres : kSquareFeet);
    return strLabel.IsEmpty() ? strUnit : strUnit + L" (" + strLabel + L")";
}

CString CTestResultsDialog::WriteResultKeys(int d, const CString& strPrefix) const
{
    if ((d != 0 && d != 1) || m_pTestGraph == nullptr || m_pTestGraph->m_CompletedTests[d] <= 0)
        return CString();
    const int nStandard = StandardCode();
    // The errors of EN 13829, ASTM E779 and ISO 9972 are 95 % half-widths.
    const bool b95 = nStandard == kEn13829 || nStandard == kAstmE779 || nStandard == kIso9972;

    CString strText = CSimbrel1View::MakeKeyLine(L"", kRefPressureKey, m_strRefPressure);
    for (const ResultKey& key : kResultKeys) {
        const CResultValue& entry = m_Results[d][key.nEntry];
        if (!entry.m_bValid)
            continue;
        const wchar_t* pszKey = key.pszKey;
        if (key.nEntry == kR)
            pszKey = nStandard == kIso9972 ? L"r\u00B2:" : L"r:";
        strText += CSimbrel1View::MakeKeyLine(strPrefix, pszKey, ValueText(entry.m_dValue));
        if (key.pszErrorKey == nullptr || !entry.m_bErrorValid)
            continue;
        CString strErrorKey = key.pszErrorKey;
        if (b95)
            strErrorKey = strErrorKey.Left(strErrorKey.GetLength() - 1) + L"95:";
        strText += CSimbrel1View::MakeKeyLine(strPrefix, strErrorKey, ValueText(entry.m_dError));
    }
    return strText;
}

bool CTestResultsDialog::IsPlainDecimalNumber(const CString& strText)
{
    int nDigits = 0;
    int nPoints = 0;
    for (int i = 0; i < strText.GetLength(); ++i) {
        const wchar_t ch = strText[i];
        if (ch >= L'0' && ch <= L'9')
            ++nDigits;
        else if (ch == L'.')
            ++nPoints;
        else
            return false;
    }
    return nDigits > 0 && nPoints <= 1;
}

// Only the reference pressure is read back: every result is recomputed from
// the test data.
void CTestResultsDialog::ReadResultKeys()
{
    CString strText = m_pView != nullptr ? m_pView->GetFileValue(kRefPressureKey) : CString();
    strText.TrimRight(L" \t");
    if (!IsPlainDecimalNumber(strText))
        strText = StandardCode() == kIso9972 ? L"10" : L"50";
    m_strRefPressure = strText;
}
