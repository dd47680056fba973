// What the results page shows: the three framed groups of result texts
// painted on the page, its control texts and layout, and a new reference
// pressure chosen in its list.
#include "calc/TestResultsDialog.h"

#include <vector>

#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/DevicePanelPainter.h"
#include "report/MarkupText.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kEn13829 = 1;
constexpr int kAstmE779 = 2;
constexpr int kIso9972 = 3;

using TextMember = CString CTestResultsDialog::*;

// The plain notations of the coefficient texts, drawn as sub- and superscripts.
CString MarkUpNotations(CString strText)
{
    strText.Replace(L"(Cenv)", L"(C\\subenv\\reg)");
    strText.Replace(L"(CL)", L"(C\\subL\\reg)");
    strText.Replace(L"(r2)", L"(r\\super2\\reg)");
    return strText;
}

// The row labels of the airflow group; the other standards have none.
CString AirflowLabel(int nStandard, int nRow, bool bTwoDirections)
{
    static const wchar_t* const en[] = {L"V\\sub50 \\reg:", L"n\\sub50 \\reg:", L"w\\sub50 \\reg:",
                                        L"q\\sub50 \\reg:"};
    static const wchar_t* const iso[] = {L"q\\sub50 \\reg:", L"n\\sub50 \\reg:", L"q\\subF50 \\reg:",
                                         L"q\\subE50 \\reg:"};
    if (nStandard == kEn13829)
        return en[nRow];
    if (nStandard == kIso9972)
        return nRow == 0 && !bTwoDirections ? L" q\\sub50 \\reg:" : iso[nRow];
    return CString();
}

// A row of the table view: its description or unit, then slot 1
// (depressurization), slot 0 (pressurization) and the mean; null for none.
struct TableRow {
    TextMember pDescription;
    TextMember pSlot1;
    TextMember pSlot0;
    TextMember pMean;
};

using D = CTestResultsDialog;

const TextMember kAirflowOneDirection[] = {&D::m_strFlowAtRef, &D::m_strAch, &D::m_strFlowPerFloor,
                                           &D::m_strFlowPerEnvelope};
const TableRow kAirflowTable[] = {
    {&D::m_strTabFlowLabel, &D::m_strTabFlowSlot1, &D::m_strTabFlowSlot0, &D::m_strTabFlowMean},
    {&D::m_strTabAchLabel, &D::m_strTabAchSlot1, &D::m_strTabAchSlot0, &D::m_strTabAchMean},
    {&D::m_strTabFloorUnit, &D::m_strTabFloorSlot1, &D::m_strTabFloorSlot0, &D::m_strTabFloorMean},
    {&D::m_strTabEnvelopeUnit, &D::m_strTabEnvelopeSlot1, &D::m_strTabEnvelopeSlot0, &D::m_strTabEnvelopeMean},
};

const wchar_t* const kIsoAreaLabels[] = {L"ELA\\sub50 \\reg:", L"ELA\\subF50 \\reg:", L"ELA\\subE50 \\reg:"};
const TextMember kIsoAreaOneDirection[] = {&D::m_strEla, &D::m_strIsoAreaPerFloor, &D::m_strIsoAreaPerEnvelope};
// The first row's unit is the area unit itself, not a text of the record.
const TableRow kIsoAreaTable[] = {
    {nullptr, &D::m_strTabElaSlot1, &D::m_strTabElaSlot0, &D::m_strTabElaMean},
    {nullptr, &D::m_strTabIsoPerFloorSlot1, &D::m_strTabIsoPerFloorSlot0, &D::m_strTabIsoPerFloorMean},
    {nullptr, &D::m_strTabIsoPerEnvSlot1, &D::m_strTabIsoPerEnvSlot0, &D::m_strTabIsoPerEnvMean},
};

// Leakage areas of the other standards: unlabelled rows, the per-envelope
// rows indented further.
struct AreaRow {
    int nIndent;   // in text heights from the frame's left edge
    TableRow row;
};
const AreaRow kAreaTable[] = {
    {2, {&D::m_strTabEqlaLabel, &D::m_strTabEqlaSlot1, &D::m_strTabEqlaSlot0, &D::m_strTabEqlaMean}},
    {3, {&D::m_strTabEqlaPerEnvLabel, &D::m_strTabEqlaPerEnvSlot1, &D::m_strTabEqlaPerEnvSlot0,
         &D::m_strTabEqlaPerEnvMean}},
    {2, {&D::m_strTabElaLabel, &D::m_strTabElaSlot1, &D::m_strTabElaSlot0, &D::m_strTabElaMean}},
    {3, {&D::m_strTabElaPerEnvLabel, &D::m_strTabElaPerEnvSlot1, &D::m_strTabElaPerEnvSlot0,
         &D::m_strTabElaPerEnvMean}},
};

// The leakage curve has no mean column on the page.
const TextMember kCurveOneDirectionIso[] = {&D::m_strCenv, &D::m_strC, &D::m_strN, &D::m_strR2};
const TextMember kCurveOneDirection[] = {&D::m_strC, &D::m_strN, &D::m_strR};

// Where everything of one paint stands, from the client rectangle and the
// height h of a line of the page font.
struct ResultsLayout {
    int p = 0;            // row pitch
    CRect rcArea;         // the client rectangle less its margins
    CRect rcGroup[3];     // airflow, leakage areas, leakage curve
    int xHeading[3] = {}; // centres of the column headings: slot 1, slot 0, mean
    int xSlot1 = 0;       // value columns of the table view
    int xSlot0 = 0;
    int xMean = 0;
};

ResultsLayout LayOutResults(const CRect& rcClient, int h, bool bTwoDirections, int nStandard)
{
    ResultsLayout l;
    l.p = static_cast<int>(1.12 * h);
    l.rcArea = rcClient;
    const int nWidth = rcClient.Width();
    l.rcArea.DeflateRect(bTwoDirections ? nWidth / 36 : nWidth / 12, rcClient.Height() / 14);
    l.rcArea.OffsetRect(0, -h / 3);

    const CRect& a = l.rcArea;
    const int c1 = a.left + a.Width() / 2 - h;
    int c3 = a.left + 7 * a.Width() / 8;
    int c2 = (c1 + c3) / 2 + h;
    // The means of ASTM E779 carry their errors: their column needs more room.
    if (nStandard == kAstmE779) {
        c2 -= h / 2;
        c3 -= h;
    }
    l.xHeading[0] = c1;
    l.xHeading[1] = c2;
    l.xHeading[2] = c3;
    l.xSlot1 = c1 - 3 * h;
    l.xSlot0 = c2 - 3 * h;
    l.xMean = c3 - h;

    const bool bIso = nStandard == kIso9972;
    int nTop = a.top + 3 * h / 2;
    l.rcGroup[0] = CRect(a.left, nTop, a.right, nTop + 6 * h - h / 4);
    nTop = l.rcGroup[0].bottom + 7 * h / 8;
    const int nAreaHeight = bIso ? 5 * h - h / 4 : 4 * h + (bTwoDirections ? 2 * h : 0);
    l.rcGroup[1] = CRect(a.left, nTop, a.right, nTop + nAreaHeight);
    nTop = l.rcGroup[1].bottom + 7 * h / 8;
    l.rcGroup[2] = CRect(a.left, nTop, a.right, nTop + 5 * h - h / 3 + (bIso ? 5 * h / 4 : 0));
    return l;
}

// Draws the texts of one paint in one font: left-aligned from a point,
// right-aligned or centred in a box two lines high.
class CResultsPainter {
public:
    CResultsPainter(CDC* pDC, CFont* pFont, int h) : m_pDC(pDC), m_pFont(pFont), m_h(h) {}

    void Text(int x, int y, const CString& strText) const
    {
        Draw(CRect(x, y, x + 40 * m_h, y + 2 * m_h), strText, CMarkupText::kAlignLeft);
    }
    // A row label, right-aligned in the four text heights next to the frame's edge.
    void Label(const CRect& rcFrame, int y, const CString& strLabel) const
    {
        Draw(CRect(rcFrame.left, y, rcFrame.left + 4 * m_h, y + 2 * m_h), strLabel, CMarkupText::kAlignRight);
    }
    void Centred(int x, int y, const CString& strText) const
    {
        Draw(CRect(x - 9 * m_h, y, x + 9 * m_h, y + 2 * m_h), strText, CMarkupText::kAlignCentre);
    }

private:
    void Draw(const CRect& rc, const CString& strText, int nAlign) const
    {
        if (strText.IsEmpty())
            return;
        CMarkupText markup;
        markup.DrawLine(m_pDC, rc, m_pFont, strText, nAlign);
    }

    CDC* m_pDC;
    CFont* m_pFont;
    int m_h;
};

}  // namespace

// Page texts and layout.

void CTestResultsDialog::SetPageTexts()
{
    if (GetSafeHwnd() == nullptr || (m_pView != nullptr && m_pView->m_bPdfRunning))
        return;
    const bool bZones = m_pView != nullptr && m_pView->m_pSettings != nullptr && m_pView->m_pSettings->m_bZonalActive;
    UINT nNextLabel = IDS_RESULTS_TO_DEV_FROM_STD;
    if (bZones)
        nNextLabel = IDS_TO_ZONE_DATA;
    else if (StandardCode() == kEn13829)
        nNextLabel = IDS_RESULTS_TO_INFORMATION;
    SetWindowText(ReplaceReferencePressure(LoadText(IDS_RESULTS_CAPTION)).GetString());
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_RESULTS_HELP, IDS_MSG_HELP},
        {IDC_RESULTS_NEXT, IDS_NEXT},
        {IDC_RESULTS_PREVIOUS, IDS_PREVIOUS},
        {IDC_RESULTS_PREVIOUS_LABEL, IDS_TO_TEST_GRAPH},
        {IDC_RESULTS_NEXT_LABEL, nNextLabel},
        {IDC_REFERENCE_PRESSURE_LABEL, IDS_REFERENCE_PRESSURE},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, ReplaceReferencePressure(LoadText(t.nText)).GetString());
    ApplyPageLayout();
}

void CTestResultsDialog::ApplyPageLayout()
{
    if (m_pView == nullptr || !m_pView->m_bLayoutPending || GetSafeHwnd() == nullptr)
        return;
    // The visible controls are the ones to scale: the list, its caption,
    // the three buttons and the captions under Previous and Next.
    m_pView->LayoutPageIfPending(this, 1.0);
    SetDropDownHeight(IDC_REFERENCE_PRESSURE);
    Invalidate();
}

void CTestResultsDialog::RefreshPage()
{
    if (CWnd* pControl = GetDlgItem(m_nFocusCtrlId)) {
        pControl->SetFocus();
        SetPageTexts();
    }
}

CString CTestResultsDialog::MakePressureLabel(const CString& strLabel) const
{
    return ReplaceReferencePressure(strLabel + L"50");
}

void CTestResultsDialog::ShowControl(int nID, int bShow)
{
    if (CWnd* pControl = GetDlgItem(nID))
        pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CTestResultsDialog::SetControlLabel(int nID, UINT nIDText, int bShow)
{
    if (bShow)
        SetDlgItemText(nID, ReplaceReferencePressure(LoadText(nIDText) + L":").GetString());
    ShowControl(nID, bShow);
}

// A new reference pressure.

void CTestResultsDialog::OnSelchangeReferencePressure()
{
    const int nItem = static_cast<int>(SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_GETCURSEL));
    if (nItem < 0)
        return;
    const int nLength = static_cast<int>(SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_GETLBTEXTLEN, nItem));
    if (nLength < 0)
        return;
    CString strItem;
    SendDlgItemMessage(IDC_REFERENCE_PRESSURE, CB_GETLBTEXT, nItem,
                       reinterpret_cast<LPARAM>(strItem.GetBuffer(nLength + 1)));
    strItem.ReleaseBuffer();

    // "75 Pa" gives "75"; an item without the unit is taken whole.
    const int nUnit = strItem.Find(CString(L" ") + LoadText(IDS_UNIT_PA));
    m_strRefPressure = nUnit > 0 ? strItem.Left(nUnit) : strItem;

    // The fit does not depend on the pressure; what is taken at it does.
    // A slot without tests keeps what it has.
    for (int d = 0; d < 2; ++d) {
        if (m_pTestGraph != nullptr && m_pTestGraph->m_CompletedTests[d] > 0) {
            SelectReferencePressure(d);
            ComputeDerivedResults(d, m_dRefPressure);
        }
    }
    FormatResults();
    UpdateData(FALSE);
    SetPageTexts();
    // Every group and the first title change; erasing first leaves nothing
    // of a longer old text beside a shorter new one.
    Invalidate(TRUE);
}

// Painting.

void CTestResultsDialog::PaintResults()
{
    if (GetSafeHwnd() == nullptr)
        return;
    // The whole results area, whatever part of the page was invalid.
    CClientDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    PaintResults(&dc, rcClient);
}

void CTestResultsDialog::PaintResults(CDC* pDC, const CRect& rcClient)
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return;
    // The page font; before any page has made one, the font of the page
    // itself, and without a page window the system's dialog font.
    CFont fallback;
    CFont* pFont = m_pView != nullptr ? m_pView->m_pPageFont : nullptr;
    if (pFont == nullptr || pFont->GetSafeHandle() == nullptr)
        pFont = GetSafeHwnd() != nullptr ? GetFont() : nullptr;
    if (pFont == nullptr || pFont->GetSafeHandle() == nullptr) {
        fallback.CreateStockObject(DEFAULT_GUI_FONT);
        pFont = &fallback;
    }

    CFont* pOldFont = pDC->SelectObject(pFont);
    const COLORREF crOldBack = pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
    const COLORREF crOldText = pDC->GetTextColor();
    CRect rcLine(0, 0, 0, 0);
    pDC->DrawText(L"XX", 2, &rcLine, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int h = rcLine.Height();

    const int nStandard = StandardCode();
    const bool bIso = nStandard == kIso9972;
    const bool bTwo = m_pTestGraph != nullptr && m_pTestGraph->GetDirectionsWithData() == 2;
    const ResultsLayout l = LayOutResults(rcClient, h, bTwo, nStandard);
    const CResultsPainter painter(pDC, pFont, h);
    CDevicePanelPainter frames;
    auto text = [this](TextMember pMember) { return pMember != nullptr ? this->*pMember : CString(); };
    auto tableRow = [&](int y, const TableRow& row) {
        painter.Text(l.xSlot1, y, text(row.pSlot1));
        painter.Text(l.xSlot0, y, text(row.pSlot0));
        painter.Text(l.xMean, y, text(row.pMean));
    };

    // Group 1: the airflow at the reference pressure and what follows from it.
    const CRect& g1 = l.rcGroup[0];
    frames.DrawGroupFrame(pDC, g1, ReplaceReferencePressure(LoadText(IDS_AIRFLOW_AT_50_PASCALS)), pFont);
    if (bTwo) {
        const UINT nHeadings[] = {IDS_DEPRESSURIZATION, IDS_PRESSURIZATION, IDS_AVERAGE};
        for (int i = 0; i < 3; ++i)
            painter.Centred(l.xHeading[i], g1.top - 5 * h / 4, LoadText(nHeadings[i]));
    }
    // Labelled rows: the label beside the frame's edge, the texts after it.
    const int xText = g1.left + 4 * h + h / 2;
    for (int i = 0; i < 4; ++i) {
        const int y = g1.top + 5 * h / 6 + i * l.p;
        painter.Label(g1, y, ReplaceReferencePressure(AirflowLabel(nStandard, i, bTwo)));
        if (!bTwo) {
            painter.Text(xText, y, this->*kAirflowOneDirection[i]);
        } else {
            painter.Text(xText, y, text(kAirflowTable[i].pDescription));
            tableRow(y, kAirflowTable[i]);
        }
    }

    // Group 2: the leakage areas.
    const CRect& g2 = l.rcGroup[1];
    frames.DrawGroupFrame(pDC, g2, LoadText(IDS_LEAKAGE_AREAS), pFont);
    const int yArea = g2.top + 5 * h / 6;
    if (bIso) {
        const CString strAreaUnit = m_pView != nullptr && m_pView->m_nLeakageUnit == 1 ? L"m\u00B2" : L"ft\u00B2";
        for (int i = 0; i < 3; ++i) {
            const int y = yArea + i * l.p;
            painter.Label(g2, y, ReplaceReferencePressure(kIsoAreaLabels[i]));
            if (!bTwo) {
                painter.Text(xText, y, this->*kIsoAreaOneDirection[i]);
            } else {
                if (i == 0)
                    painter.Text(xText, y, strAreaUnit);
                tableRow(y, kIsoAreaTable[i]);
            }
        }
    } else if (!bTwo) {
        painter.Text(g2.left + 2 * h, yArea, m_strEqla);
        painter.Text(g2.left + 2 * h, yArea + l.p, m_strEla);
    } else {
        for (int i = 0; i < 4; ++i) {
            const int y = yArea + i * l.p;
            painter.Text(g2.left + kAreaTable[i].nIndent * h, y, text(kAreaTable[i].row.pDescription));
            tableRow(y, kAreaTable[i].row);
        }
    }

    // Group 3: the leakage curve, without a mean column.
    const CRect& g3 = l.rcGroup[2];
    frames.DrawGroupFrame(pDC, g3, LoadText(IDS_BUILDING_LEAKAGE_CURVE), pFont);
    const int xCurve = g3.left + 2 * h;
    const int yCurve = g3.top + h;
    if (!bTwo) {
        const TextMember* pRows = bIso ? kCurveOneDirectionIso : kCurveOneDirection;
        const int nRows = bIso ? 4 : 3;
        for (int i = 0; i < nRows; ++i)
            painter.Text(xCurve, yCurve + i * l.p, MarkUpNotations(this->*pRows[i]));
    } else {
        struct CurveRow {
            CString strDescription;
            TextMember pSlot1;
            TextMember pSlot0;
        };
        std::vector<CurveRow> rows;
        if (bIso)
            rows.push_back({m_strTabCenvLabel, &D::m_strTabCenvSlot1, &D::m_strTabCenvSlot0});
        rows.push_back({m_strTabCLabel, &D::m_strTabCSlot1, &D::m_strTabCSlot0});
        rows.push_back({LoadText(IDS_EXPONENT), &D::m_strTabNSlot1, &D::m_strTabNSlot0});
        rows.push_back({bIso ? LoadText(IDS_COEFFICIENT_OF_DETERMINATION) + L" (r\u00B2)"
                             : LoadText(IDS_CORRELATION_COEFFICIENT),
                        &D::m_strTabRSlot1, &D::m_strTabRSlot0});
        for (size_t i = 0; i < rows.size(); ++i) {
            const int y = yCurve + static_cast<int>(i) * l.p;
            painter.Text(xCurve, y, MarkUpNotations(rows[i].strDescription));
            painter.Text(l.xSlot1, y, MarkUpNotations(this->*rows[i].pSlot1));
            painter.Text(l.xSlot0, y, MarkUpNotations(this->*rows[i].pSlot0));
        }
    }

    pDC->SetTextColor(crOldText);
    pDC->SetBkColor(crOldBack);
    pDC->SelectObject(pOldFont);
}
