// The results page in the running program: what each opening computes, the
// reference pressure list and a new choice in it, what its buttons and keys
// ask of the view, the focus kept from one opening to the next; and what its
// painter draws, recorded on an enhanced metafile: each text in its group and
// column for every standard and mode, labels and notations as mark-up, the
// font it falls back on, and no GDI object left behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1App.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/TestResultsDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"
#include "tests/MetafileRecorder.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

constexpr int kCgsb = 0;
constexpr int kEn = 1;
constexpr int kAstm = 2;
constexpr int kIso = 3;

using TextMember = CString CTestResultsDialog::*;
using D = CTestResultsDialog;

std::wstring Fixed(const wchar_t* pszFormat, double d)
{
    wchar_t text[64];
    std::swprintf(text, 64, pszFormat, d);
    return text;
}

bool Contains(const CString& strText, const std::wstring& part)
{
    return std::wstring(strText.GetString()).find(part) != std::wstring::npos;
}

// Every text member the painter may draw, named by itself.
struct NamedText {
    TextMember pMember;
    const wchar_t* pszName;
};
#define RESULT_TEXT(name) {&D::name, L"" #name}
const NamedText kAllTexts[] = {
    RESULT_TEXT(m_strFlowAtRef), RESULT_TEXT(m_strFlowAtRefValue), RESULT_TEXT(m_strAch),
    RESULT_TEXT(m_strAchValue), RESULT_TEXT(m_strFlowPerFloor), RESULT_TEXT(m_strFlowPerFloorValue),
    RESULT_TEXT(m_strFlowPerFloorUnit), RESULT_TEXT(m_strFlowPerEnvelope), RESULT_TEXT(m_strFlowPerEnvelopeValue),
    RESULT_TEXT(m_strFlowPerEnvelopeUnit), RESULT_TEXT(m_strEqla), RESULT_TEXT(m_strEla),
    RESULT_TEXT(m_strIsoAreaPerFloor), RESULT_TEXT(m_strIsoAreaPerEnvelope), RESULT_TEXT(m_strC),
    RESULT_TEXT(m_strN), RESULT_TEXT(m_strR), RESULT_TEXT(m_strR2), RESULT_TEXT(m_strTabFlowLabel),
    RESULT_TEXT(m_strTabFlowSlot0), RESULT_TEXT(m_strTabFlowSlot1), RESULT_TEXT(m_strTabFlowMean),
    RESULT_TEXT(m_strTabAchLabel), RESULT_TEXT(m_strTabAchSlot0), RESULT_TEXT(m_strTabAchSlot1),
    RESULT_TEXT(m_strTabAchMean), RESULT_TEXT(m_strTabFloorUnit), RESULT_TEXT(m_strTabFloorSlot0),
    RESULT_TEXT(m_strTabFloorSlot1), RESULT_TEXT(m_strTabFloorMean), RESULT_TEXT(m_strTabEnvelopeUnit),
    RESULT_TEXT(m_strTabEnvelopeSlot0), RESULT_TEXT(m_strTabEnvelopeSlot1), RESULT_TEXT(m_strTabEnvelopeMean),
    RESULT_TEXT(m_strTabEqlaLabel), RESULT_TEXT(m_strTabEqlaSlot0), RESULT_TEXT(m_strTabEqlaSlot1),
    RESULT_TEXT(m_strTabEqlaMean), RESULT_TEXT(m_strTabEqlaPerEnvLabel), RESULT_TEXT(m_strTabEqlaPerEnvSlot0),
    RESULT_TEXT(m_strTabEqlaPerEnvSlot1), RESULT_TEXT(m_strTabEqlaPerEnvMean), RESULT_TEXT(m_strTabElaLabel),
    RESULT_TEXT(m_strTabElaSlot0), RESULT_TEXT(m_strTabElaSlot1), RESULT_TEXT(m_strTabElaMean),
    RESULT_TEXT(m_strTabElaPerEnvLabel), RESULT_TEXT(m_strTabElaPerEnvSlot0), RESULT_TEXT(m_strTabElaPerEnvSlot1),
    RESULT_TEXT(m_strTabElaPerEnvMean), RESULT_TEXT(m_strTabIsoPerFloorSlot0), RESULT_TEXT(m_strTabIsoPerFloorSlot1),
    RESULT_TEXT(m_strTabIsoPerFloorMean), RESULT_TEXT(m_strTabIsoPerEnvSlot0), RESULT_TEXT(m_strTabIsoPerEnvSlot1),
    RESULT_TEXT(m_strTabIsoPerEnvMean), RESULT_TEXT(m_strTabCLabel), RESULT_TEXT(m_strTabCSlot0),
    RESULT_TEXT(m_strTabCSlot1), RESULT_TEXT(m_strTabCMean), RESULT_TEXT(m_strTabNLabel),
    RESULT_TEXT(m_strTabNSlot0), RESULT_TEXT(m_strTabNSlot1), RESULT_TEXT(m_strTabNMean),
    RESULT_TEXT(m_strTabRLabel), RESULT_TEXT(m_strTabR2Label), RESULT_TEXT(m_strTabRSlot0),
    RESULT_TEXT(m_strTabRSlot1), RESULT_TEXT(m_strCl), RESULT_TEXT(m_strCenvLabel), RESULT_TEXT(m_strCenv),
    RESULT_TEXT(m_strTabCenvLabel), RESULT_TEXT(m_strTabCenvSlot0), RESULT_TEXT(m_strTabCenvSlot1),
};
#undef RESULT_TEXT

// Where the texts must stand, worked out from the page's layout rules: the
// client area less its margins, three group frames, and the value columns.
struct Geometry {
    int h = 0;
    int p = 0;
    CRect g[3];
    int xText = 0;              // labelled rows: after the label box
    int xSlot1 = 0;
    int xSlot0 = 0;
    int xMean = 0;
    int xHeading[3] = {};
    int Row(int nGroup, int nRow) const
    {
        const int nFirst = nGroup == 2 ? g[2].top + h : g[nGroup].top + 5 * h / 6;
        return nFirst + nRow * p;
    }
};

Geometry ExpectedGeometry(const CRect& rcClient, int h, bool bTwo, int nStandard)
{
    Geometry geo;
    geo.h = h;
    geo.p = static_cast<int>(1.12 * h);
    CRect a = rcClient;
    a.left += rcClient.Width() / (bTwo ? 36 : 12);
    a.right -= rcClient.Width() / (bTwo ? 36 : 12);
    a.top += rcClient.Height() / 14 - h / 3;
    a.bottom -= rcClient.Height() / 14 + h / 3;
    const bool bAstm = nStandard == kAstm;
    const int c1 = a.left + a.Width() / 2 - h;
    const int c3 = a.left + 7 * a.Width() / 8 - (bAstm ? h : 0);
    const int c2 = (c1 + a.left + 7 * a.Width() / 8) / 2 + h - (bAstm ? h / 2 : 0);
    geo.xHeading[0] = c1;
    geo.xHeading[1] = c2;
    geo.xHeading[2] = c3;
    geo.xSlot1 = c1 - 3 * h;
    geo.xSlot0 = c2 - 3 * h;
    geo.xMean = c3 - h;
    const int nTop1 = a.top + 3 * h / 2;
    geo.g[0] = CRect(a.left, nTop1, a.right, nTop1 + 6 * h - h / 4);
    const int nTop2 = geo.g[0].bottom + 7 * h / 8;
    const int nHeight2 = nStandard == kIso ? 5 * h - h / 4 : (bTwo ? 6 * h : 4 * h);
    geo.g[1] = CRect(a.left, nTop2, a.right, nTop2 + nHeight2);
    const int nTop3 = geo.g[1].bottom + 7 * h / 8;
    geo.g[2] = CRect(a.left, nTop3, a.right, nTop3 + 5 * h - h / 3 + (nStandard == kIso ? 5 * h / 4 : 0));
    geo.xText = a.left + 4 * h + h / 2;
    return geo;
}

// The height of a line of the font, as the painter measures it.
int LineHeight(CFont* pFont)
{
    const HDC hdc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ hOld = ::SelectObject(hdc, pFont->GetSafeHandle());
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(hdc, L"XX", 2, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    return rc.bottom - rc.top;
}

std::string PointText(const POINT& pt)
{
    char text[48];
    std::snprintf(text, sizeof text, "(%ld, %ld)", pt.x, pt.y);
    return text;
}

}  // namespace

class ResultsPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        page = m_pView->m_pResults;
        CTestSettingsDialog& settings = *m_pView->m_pSettings;
        settings.m_nStandard = kCgsb;
        settings.m_bZonalActive = 0;
        for (int d = 0; d < 2; ++d) {
            settings.m_chDirectionLetter[d] = d == 0 ? L'P' : L'D';
            settings.m_chMethodLetter[d] = L'A';
        }
        // Equal temperatures inside and out: the flows need no correction.
        m_pView->m_nTemperatureUnit = 1;
        page->m_strRefPressure = L"50";
    }
    void TearDown() override
    {
        if (page != nullptr && page->GetSafeHwnd() != nullptr)
            page->DestroyWindow();
        CloseProgram();
        g_pView = nullptr;
        g_nCurrentDirection = m_nSavedDirection;
    }

    // One completed test in slot d whose six points follow Q = C P^n exactly
    // (depressurization pressures negative), in a building of 500 x 200 x 350.
    void LaySlot(int d, double C, double n)
    {
        CTestGraph1& s = *m_pView->m_pTestGraph;
        int i = 0;
        auto put = [&](int nRing, double dTarget, double dP, double dQ) {
            s.m_Ring[d][i] = nRing;
            s.m_TargetP[d][i] = dTarget;
            s.m_Pavg[d][i] = dP;
            s.m_Qavg[d][i] = dQ;
            ++i;
        };
        put(-1, 0.0, 0.0, 0.0);
        for (const double p : {15.0, 25.0, 35.0, 45.0, 55.0, 60.0})
            put(1, p, d == 1 ? -p : p, C * std::pow(p, n));
        put(-1, 0.0, 0.0, 0.0);
        s.m_StationCount[d] = i;
        s.m_CompletedTests[d] = 1;
        for (int phase = 0; phase < 2; ++phase) {
            s.m_TestTin[phase][d][0] = 20.0;
            s.m_TestTout[phase][d][0] = 20.0;
            s.m_TestPbaro[phase][d][0] = 101325.0;
        }
        s.m_TestAltitude[d][0] = 0.0;
        m_pView->m_pBuildingInfo->m_dVolume[d] = 500.0;
        m_pView->m_pBuildingInfo->m_dFloorArea[d] = 200.0;
        m_pView->m_pBuildingInfo->m_dSurfaceArea[d] = 350.0;
    }

    void Open(int bLayout = 1)
    {
        m_pView->m_bLayoutPending = bLayout;
        ASSERT_TRUE(page->CreateModeless());
        ASSERT_NE(nullptr, Page());
        PumpCollectingRequests();
    }
    HWND Page() const { return page->GetSafeHwnd(); }
    HWND Item(int nID) const { return ::GetDlgItem(Page(), nID); }

    std::vector<std::wstring> ListItems() const
    {
        std::vector<std::wstring> items;
        const int nCount = static_cast<int>(::SendMessageW(Item(IDC_REFERENCE_PRESSURE), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < nCount; ++i) {
            wchar_t text[64] = {};
            ::SendMessageW(Item(IDC_REFERENCE_PRESSURE), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.emplace_back(text);
        }
        return items;
    }
    int ListSelection() const
    {
        return static_cast<int>(::SendMessageW(Item(IDC_REFERENCE_PRESSURE), CB_GETCURSEL, 0, 0));
    }
    // What the list sends when the user picks an item.
    void ChooseItem(int nItem)
    {
        const HWND hList = Item(IDC_REFERENCE_PRESSURE);
        ::SendMessageW(hList, CB_SETCURSEL, nItem, 0);
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_REFERENCE_PRESSURE, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hList));
    }

    // Every text member set to its own name, the slots with tests as the
    // mode needs them.
    void FillTexts(int nStandard, bool bTwo)
    {
        m_pView->m_pSettings->m_nStandard = nStandard;
        m_pView->m_pTestGraph->m_CompletedTests[0] = bTwo ? 1 : 0;
        m_pView->m_pTestGraph->m_CompletedTests[1] = 1;
        for (const NamedText& t : kAllTexts)
            page->*t.pMember = t.pszName;
    }
    CRecordedDrawing Record(const CRect& rcClient)
    {
        CMetafileRecorder recorder;
        EXPECT_TRUE(recorder.IsReady());
        page->PaintResults(&recorder.Dc(), rcClient);
        return recorder.Finish();
    }

    CTestResultsDialog* page = nullptr;
    int m_nSavedDirection = 0;
};

// Opening computes the slots with tests (both, and for ASTM E779 their
// averages, which read both fits) before it makes the texts; a slot it does
// not compute keeps its entries.
TEST_F(ResultsPageTest, OpeningComputesTheSlotsWithTestsBeforeTheTexts)
{
    struct Case {
        const char* pszName;
        int nStandard;
        bool bSlot0, bSlot1;
        int nCurrent;
        bool bComputed0, bComputed1;
        bool bMeans;
    } cases[] = {
        {"ASTM E779, both slots", kAstm, true, true, 0, true, true, true},
        {"CGSB, both slots", kCgsb, true, true, 1, true, true, false},
        {"only slot 1, slot 0 current", kCgsb, false, true, 0, false, true, false},
        {"no test, slot 1 current", kEn, false, false, 1, false, true, false},
    };
    const double nExponent[2] = {0.60, 0.70};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTestGraph1& s = *m_pView->m_pTestGraph;
        s.m_CompletedTests[0] = s.m_CompletedTests[1] = 0;
        s.m_StationCount[0] = s.m_StationCount[1] = 0;
        if (c.bSlot0)
            LaySlot(0, 110.0, nExponent[0]);
        if (c.bSlot1)
            LaySlot(1, 95.0, nExponent[1]);
        m_pView->m_pSettings->m_nStandard = c.nStandard;
        g_nCurrentDirection = c.nCurrent;
        page->m_strRefPressure = L"75";
        for (int d = 0; d < 2; ++d)
            page->m_Results[d][CTestResultsDialog::kN] = {-9.0, 1, 0.0, 0};
        page->m_dMeanN = -9.0;

        Open();
        for (int d = 0; d < 2; ++d) {
            const CResultValue& n = page->m_Results[d][CTestResultsDialog::kN];
            const bool bComputed = d == 0 ? c.bComputed0 : c.bComputed1;
            const bool bHasTest = d == 0 ? c.bSlot0 : c.bSlot1;
            if (!bComputed) {
                EXPECT_EQ(-9.0, n.m_dValue) << "slot " << d;
            } else {
                EXPECT_EQ(bHasTest ? 1 : 0, n.m_bValid) << "slot " << d;
                if (bHasTest) {
                    EXPECT_NEAR(nExponent[d], n.m_dValue, 0.01) << "slot " << d;
                }
            }
        }
        if (c.bMeans) {
            EXPECT_DOUBLE_EQ((s.m_FitN[0] + s.m_FitN[1]) / 2.0, page->m_dMeanN);
        } else {
            EXPECT_EQ(-9.0, page->m_dMeanN);
        }

        // The texts show what was computed.
        const double n0 = page->m_Results[0][CTestResultsDialog::kN].m_dValue;
        const double n1 = page->m_Results[1][CTestResultsDialog::kN].m_dValue;
        if (c.bSlot0 && c.bSlot1) {
            EXPECT_TRUE(Contains(page->m_strTabNSlot0, Fixed(L"%.3f", n0))) << page->m_strTabNSlot0.ToAnsi();
            EXPECT_TRUE(Contains(page->m_strTabNSlot1, Fixed(L"%.3f", n1))) << page->m_strTabNSlot1.ToAnsi();
            EXPECT_TRUE(page->m_strN.IsEmpty());
        } else if (c.bSlot1) {
            EXPECT_TRUE(Contains(page->m_strN, Fixed(L"%.3f", n1))) << page->m_strN.ToAnsi();
            EXPECT_TRUE(page->m_strTabNSlot1.IsEmpty());
        } else {
            EXPECT_TRUE(page->m_strN.IsEmpty());
            EXPECT_TRUE(page->m_strFlowAtRef.IsEmpty());
        }
        if (c.bMeans) {
            EXPECT_TRUE(Contains(page->m_strTabNMean, Fixed(L"%.3f", page->m_dMeanN))) << page->m_strTabNMean.ToAnsi();
        }
        // With or without tests, the list shows the stored pressure.
        EXPECT_EQ(0, ListSelection());
        EXPECT_EQ(75.0, page->m_dRefPressure);
        page->DestroyWindow();
    }
}

// The four choices always, in their order; the stored text selects the
// choice that is that pressure, and nothing when there is none (the results
// then use 50 Pa).
TEST_F(ResultsPageTest, TheListOffersFourPressuresAndSelectsTheStoredOne)
{
    struct Case {
        const wchar_t* pszStored;
        int nSelected;
        double dPressure;
    } cases[] = {
        {L"75", 0, 75.0}, {L"50", 1, 50.0}, {L"10", 2, 10.0}, {L"4", 3, 4.0},
        {L"25", -1, 50.0}, {L"7", -1, 50.0}, {L"", -1, 50.0},
    };
    const std::vector<std::wstring> choices = {L"75 Pa", L"50 Pa", L"10 Pa", L"4 Pa"};
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.pszStored).ToAnsi());
        page->m_strRefPressure = c.pszStored;
        page->m_dRefPressure = -1.0;
        Open();
        EXPECT_EQ(choices, ListItems());
        EXPECT_EQ(c.nSelected, ListSelection());
        EXPECT_EQ(c.dPressure, page->m_dRefPressure);
        EXPECT_EQ(std::wstring(c.pszStored), page->m_strRefPressure.GetString());
        page->DestroyWindow();
    }
}

// A new choice recomputes what depends on the pressure for the slots with
// tests only, reformats the texts and has the whole page painted again.
TEST_F(ResultsPageTest, ANewReferencePressureRecomputesOnlySlotsWithTestsAndRepaintsThePage)
{
    LaySlot(0, 120.0, 0.62);
    Open();
    ASSERT_EQ(1, page->m_Results[0][CTestResultsDialog::kC].m_bValid);
    const double C = page->m_Results[0][CTestResultsDialog::kC].m_dValue;
    const double n = page->m_Results[0][CTestResultsDialog::kN].m_dValue;
    // Slot 1 has no test: whatever it holds stays.
    page->m_Results[1][CTestResultsDialog::kFlowAtRef] = {-5.0, 1, -5.0, 1};
    page->m_dRefPressureFlowErrorPct[1] = -5.0;

    const int nExtra100 = static_cast<int>(
        ::SendMessageW(Item(IDC_REFERENCE_PRESSURE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"100")));
    const int nExtra33 = static_cast<int>(
        ::SendMessageW(Item(IDC_REFERENCE_PRESSURE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"33 Pa")));
    struct Case {
        int nItem;
        const wchar_t* pszText;
        double dPressure;
    } cases[] = {
        {0, L"75", 75.0}, {2, L"10", 10.0}, {3, L"4", 4.0}, {1, L"50", 50.0},
        // An item without " Pa" is taken whole; an unknown pressure counts as 50 Pa.
        {nExtra100, L"100", 50.0}, {nExtra33, L"33", 50.0},
    };
    CRect rcClient;
    ::GetClientRect(Page(), &rcClient);
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.pszText).ToAnsi());
        ::ValidateRect(Page(), nullptr);
        ChooseItem(c.nItem);
        EXPECT_EQ(std::wstring(c.pszText), page->m_strRefPressure.GetString());
        EXPECT_EQ(c.dPressure, page->m_dRefPressure);
        const CResultValue& q = page->m_Results[0][CTestResultsDialog::kFlowAtRef];
        EXPECT_EQ(1, q.m_bValid);
        EXPECT_NEAR(C * std::pow(c.dPressure, n), q.m_dValue, 1e-9 * q.m_dValue);
        EXPECT_EQ(-5.0, page->m_Results[1][CTestResultsDialog::kFlowAtRef].m_dValue);
        EXPECT_EQ(-5.0, page->m_dRefPressureFlowErrorPct[1]);
        // The CGSB flow label names the pressure: cfm75, cfm100 ...
        EXPECT_TRUE(Contains(page->m_strFlowAtRef, std::wstring(L"cfm") + c.pszText)) << page->m_strFlowAtRef.ToAnsi();
        RECT rcUpdate{};
        ASSERT_TRUE(::GetUpdateRect(Page(), &rcUpdate, FALSE));
        EXPECT_TRUE(::EqualRect(&rcUpdate, &rcClient)) << "only part of the page is painted again";
    }
}

// Each button and key asks the view for its step; Enter presses the
// owner-drawn button that has the focus, and the hidden "No Action" button
// otherwise.
TEST_F(ResultsPageTest, ButtonsAndKeysAskTheViewToMoveOn)
{
    Open();
    auto focus = [&](int nID) {
        ::SetFocus(Item(nID));
        PumpCollectingRequests();
    };
    auto defaultId = [&] { return LOWORD(::SendMessageW(Page(), DM_GETDEFID, 0, 0)); };
    struct Step {
        const char* pszName;
        std::function<void()> act;
        LPARAM nAction;   // 0: nothing asked
    } steps[] = {
        {"Previous", [&] { ClickItem(Page(), IDC_RESULTS_PREVIOUS); }, CSimbrel1View::kPagePrevious},
        {"Next", [&] { ClickItem(Page(), IDC_RESULTS_NEXT); }, CSimbrel1View::kPageNext},
        {"Esc", [&] { focus(IDC_REFERENCE_PRESSURE); PressKey(VK_ESCAPE); }, CSimbrel1View::kPageCancel},
        {"hidden OK", [&] { ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); },
         CSimbrel1View::kPageOK},
        {"Enter on Next",
         [&] {
             focus(IDC_RESULTS_NEXT);
             EXPECT_EQ(IDC_RESULTS_NEXT, defaultId());
             PressKey(VK_RETURN);
         },
         CSimbrel1View::kPageNext},
        {"Enter on Previous",
         [&] {
             focus(IDC_RESULTS_PREVIOUS);
             EXPECT_EQ(IDC_RESULTS_PREVIOUS, defaultId());
             PressKey(VK_RETURN);
         },
         CSimbrel1View::kPagePrevious},
        {"Enter on the list",
         [&] {
             focus(IDC_REFERENCE_PRESSURE);
             EXPECT_EQ(IDC_RESULTS_NO_ACTION, defaultId());
             PressKey(VK_RETURN);
         },
         0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.pszName);
        s.act();
        const auto requests = PumpCollectingRequests();
        if (s.nAction == 0) {
            EXPECT_TRUE(requests.empty());
            continue;
        }
        ASSERT_EQ(1u, requests.size());
        EXPECT_EQ(146u, requests[0].first);
        EXPECT_EQ(s.nAction, requests[0].second);
    }

    // Help shows topic 7 modally and asks nothing of the view.
    const std::wstring folder = MakeTempFolder(L"results-help");
    const std::wstring help = L"\xFEFF@@17 Other Topic\r\nNot this.\r\n@@7 Results Topic\r\nThe results.\r\n@@";
    ASSERT_TRUE(WriteBytes(folder + L"\\QEhelp.txt",
                           std::string(reinterpret_cast<const char*>(help.data()), help.size() * sizeof(wchar_t))));
    m_pView->m_strProgramFolder = (folder + L"\\").c_str();
    CDialogDriver driver;
    std::wstring caption;
    m_answerer.RunDialog(IDD_HELP_PANEL, driver.Run({[&](HWND h) {
                             caption = WindowText(h);
                             ClickItem(h, IDOK);
                         }}));
    ClickItem(Page(), IDC_RESULTS_HELP);
    EXPECT_TRUE(PumpCollectingRequests().empty());
    EXPECT_EQ(L" Results Topic", caption);
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
}

TEST_F(ResultsPageTest, FocusComesBackAtEveryOpeningAndAltGoesToTheMainWindow)
{
    Open();
    ::SetFocus(Item(IDC_RESULTS_PREVIOUS));
    PressKey(VK_TAB);   // the dialog manager moves on and the page notes where to
    PumpCollectingRequests();
    const HWND hFocus = ::GetFocus();
    ASSERT_TRUE(::IsChild(Page(), hFocus));
    const int nFocusId = ::GetDlgCtrlID(hFocus);
    EXPECT_NE(IDC_RESULTS_PREVIOUS, nFocusId);
    EXPECT_EQ(nFocusId, page->m_nFocusCtrlId);
    const long nLive = CGdiObject::GetLiveObjectCount();
    for (int i = 0; i < 20; ++i) {
        page->DestroyWindow();
        EXPECT_EQ(0, page->m_bCreated);
        Open(i % 2);
        EXPECT_EQ(1, page->m_bCreated);
        ASSERT_EQ(nFocusId, ::GetDlgCtrlID(::GetFocus())) << "opening " << i;
    }
    EXPECT_EQ(nLive, CGdiObject::GetLiveObjectCount());

    const UINT nScan = ::MapVirtualKeyW(VK_MENU, MAPVK_VK_TO_VSC);
    ::PostMessageW(::GetFocus(), WM_SYSKEYDOWN, VK_MENU, static_cast<LPARAM>(1 | (nScan << 16) | (1u << 29)));
    PumpCollectingRequests();
    // The frame hands its focus on to its view.
    const HWND hAfterAlt = ::GetFocus();
    EXPECT_TRUE(hAfterAlt == m_pFrame->GetSafeHwnd() || ::IsChild(m_pFrame->GetSafeHwnd(), hAfterAlt));
    EXPECT_FALSE(::IsChild(Page(), hAfterAlt));
}

TEST_F(ResultsPageTest, PageTextsFollowTheStandardTheZonesAndThePressure)
{
    struct Case {
        int nStandard;
        int bZones;
        const wchar_t* pszNextLabel;
    } cases[] = {
        {kCgsb, 0, L"to Dev from Std"}, {kEn, 0, L"to Information"}, {kEn, 1, L"to Zone Data"},
        {kIso, 0, L"to Dev from Std"},  {kAstm, 1, L"to Zone Data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStandard);
        m_pView->m_pSettings->m_nStandard = c.nStandard;
        m_pView->m_pSettings->m_bZonalActive = c.bZones;
        Open();
        EXPECT_EQ(L"Test Results", WindowText(Page()));
        EXPECT_EQ(L"Help", ItemText(Page(), IDC_RESULTS_HELP));
        EXPECT_EQ(L"Next", ItemText(Page(), IDC_RESULTS_NEXT));
        EXPECT_EQ(L"Previous", ItemText(Page(), IDC_RESULTS_PREVIOUS));
        EXPECT_EQ(L"to Test Graph", ItemText(Page(), IDC_RESULTS_PREVIOUS_LABEL));
        EXPECT_EQ(c.pszNextLabel, ItemText(Page(), IDC_RESULTS_NEXT_LABEL));
        EXPECT_EQ(L"Reference Pressure", ItemText(Page(), IDC_REFERENCE_PRESSURE_LABEL));
        for (const int nHidden : {IDOK, IDCANCEL, IDC_RESULTS_SAVE, IDC_RESULTS_NO_ACTION})
            EXPECT_FALSE(::IsWindowVisible(Item(nHidden))) << nHidden;
        page->DestroyWindow();
    }

    // While a report is written to PDF the texts are left alone.
    Open();
    ::SetDlgItemTextW(Page(), IDC_RESULTS_NEXT_LABEL, L"x");
    m_pView->m_bPdfRunning = 1;
    page->SetPageTexts();
    m_pView->m_bPdfRunning = 0;
    EXPECT_EQ(L"x", ItemText(Page(), IDC_RESULTS_NEXT_LABEL));
    page->SetPageTexts();
    EXPECT_EQ(L"to Zone Data", ItemText(Page(), IDC_RESULTS_NEXT_LABEL));

    // The label operations take the pressure too.
    page->m_strRefPressure = L"75";
    EXPECT_EQ(L"cfm75", std::wstring(page->MakePressureLabel(L"cfm").GetString()));
    page->m_strRefPressure = L"50";
    EXPECT_EQ(L"ACH50", std::wstring(page->MakePressureLabel(L"ACH").GetString()));
    page->m_strRefPressure = L"10";
    page->SetControlLabel(IDC_REFERENCE_PRESSURE_LABEL, IDS_AIRFLOW_AT_50_PASCALS, 1);
    EXPECT_EQ(L"Airflow at 10 Pascals:", ItemText(Page(), IDC_REFERENCE_PRESSURE_LABEL));
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_REFERENCE_PRESSURE_LABEL)));
    page->SetControlLabel(IDC_REFERENCE_PRESSURE_LABEL, IDS_LEAKAGE_AREAS, 0);
    EXPECT_EQ(L"Airflow at 10 Pascals:", ItemText(Page(), IDC_REFERENCE_PRESSURE_LABEL));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_REFERENCE_PRESSURE_LABEL)));
    page->ShowControl(IDC_REFERENCE_PRESSURE_LABEL, 1);
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_REFERENCE_PRESSURE_LABEL)));
}

// The list is laid out with the page and then made 20 times its dropped
// height longer.
TEST_F(ResultsPageTest, TheLayoutScalesTheControlsAndLengthensTheList)
{
    Open(0);
    const CRect rcButtonTemplate = ItemRect(Page(), IDC_RESULTS_NEXT);
    page->DestroyWindow();
    Open(1);
    const double s = m_pView->m_dPageScale;
    const CRect rcButton = ItemRect(Page(), IDC_RESULTS_NEXT);
    EXPECT_EQ(static_cast<int>(rcButtonTemplate.left * s), rcButton.left);
    EXPECT_EQ(static_cast<int>(rcButtonTemplate.bottom * s), rcButton.bottom);
    const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(Item(IDC_REFERENCE_PRESSURE), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, m_pView->m_pPageFont);
    EXPECT_EQ(m_pView->m_pPageFont->GetSafeHandle(), hFont);

    // The size the page asks of the list, seen on its way: what the list
    // then reports as its dropped rectangle differs between systems.
    CRect rcDropped;
    ::SendMessageW(Item(IDC_REFERENCE_PRESSURE), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcDropped));
    ASSERT_GT(rcDropped.Width(), 0);
    ::MapWindowPoints(nullptr, Page(), reinterpret_cast<POINT*>(&rcDropped), 2);
    static WINDOWPOS s_asked;
    static WNDPROC s_pOldProc;
    s_asked = WINDOWPOS{};
    s_pOldProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        Item(IDC_REFERENCE_PRESSURE), GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_WINDOWPOSCHANGING && s_asked.cy == 0)
                s_asked = *reinterpret_cast<const WINDOWPOS*>(lParam);
            return ::CallWindowProcW(s_pOldProc, hWnd, message, wParam, lParam);
        })));
    page->SetDropDownHeight(IDC_REFERENCE_PRESSURE);
    ::SetWindowLongPtrW(Item(IDC_REFERENCE_PRESSURE), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_pOldProc));
    EXPECT_EQ(rcDropped.left, s_asked.x);
    EXPECT_EQ(rcDropped.top, s_asked.y);
    EXPECT_EQ(rcDropped.Width(), s_asked.cx);
    EXPECT_EQ(21 * rcDropped.Height(), s_asked.cy);
}

// Every text of the record set to its own name: each mode and standard draws
// exactly its texts, each at the start of its row in its group and column.
TEST_F(ResultsPageTest, EachTextStandsInItsGroupAndColumn)
{
    enum Column { kText, kIndent2, kIndent3, kSlot1, kSlot0, kMean };
    struct Placed {
        TextMember pMember;
        int nGroup;
        int nRow;
        Column column;
    };
    struct Case {
        const char* pszName;
        int nStandard;
        bool bTwo;
        std::vector<Placed> texts;
    };
    const std::vector<Placed> airflowTable = {
        {&D::m_strTabFlowLabel, 0, 0, kText},     {&D::m_strTabFlowSlot1, 0, 0, kSlot1},
        {&D::m_strTabFlowSlot0, 0, 0, kSlot0},    {&D::m_strTabFlowMean, 0, 0, kMean},
        {&D::m_strTabAchLabel, 0, 1, kText},      {&D::m_strTabAchSlot1, 0, 1, kSlot1},
        {&D::m_strTabAchSlot0, 0, 1, kSlot0},     {&D::m_strTabAchMean, 0, 1, kMean},
        {&D::m_strTabFloorUnit, 0, 2, kText},     {&D::m_strTabFloorSlot1, 0, 2, kSlot1},
        {&D::m_strTabFloorSlot0, 0, 2, kSlot0},   {&D::m_strTabFloorMean, 0, 2, kMean},
        {&D::m_strTabEnvelopeUnit, 0, 3, kText},  {&D::m_strTabEnvelopeSlot1, 0, 3, kSlot1},
        {&D::m_strTabEnvelopeSlot0, 0, 3, kSlot0}, {&D::m_strTabEnvelopeMean, 0, 3, kMean},
    };
    const std::vector<Placed> airflowOne = {
        {&D::m_strFlowAtRef, 0, 0, kText}, {&D::m_strAch, 0, 1, kText},
        {&D::m_strFlowPerFloor, 0, 2, kText}, {&D::m_strFlowPerEnvelope, 0, 3, kText}};
    auto join = [](std::vector<Placed> a, const std::vector<Placed>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<Placed> areasTable = {
        {&D::m_strTabEqlaLabel, 1, 0, kIndent2},      {&D::m_strTabEqlaSlot1, 1, 0, kSlot1},
        {&D::m_strTabEqlaSlot0, 1, 0, kSlot0},        {&D::m_strTabEqlaMean, 1, 0, kMean},
        {&D::m_strTabEqlaPerEnvLabel, 1, 1, kIndent3}, {&D::m_strTabEqlaPerEnvSlot1, 1, 1, kSlot1},
        {&D::m_strTabEqlaPerEnvSlot0, 1, 1, kSlot0},  {&D::m_strTabEqlaPerEnvMean, 1, 1, kMean},
        {&D::m_strTabElaLabel, 1, 2, kIndent2},       {&D::m_strTabElaSlot1, 1, 2, kSlot1},
        {&D::m_strTabElaSlot0, 1, 2, kSlot0},         {&D::m_strTabElaMean, 1, 2, kMean},
        {&D::m_strTabElaPerEnvLabel, 1, 3, kIndent3},  {&D::m_strTabElaPerEnvSlot1, 1, 3, kSlot1},
        {&D::m_strTabElaPerEnvSlot0, 1, 3, kSlot0},   {&D::m_strTabElaPerEnvMean, 1, 3, kMean},
    };
    const std::vector<Placed> isoAreasTable = {
        {&D::m_strTabElaSlot1, 1, 0, kSlot1},         {&D::m_strTabElaSlot0, 1, 0, kSlot0},
        {&D::m_strTabElaMean, 1, 0, kMean},           {&D::m_strTabIsoPerFloorSlot1, 1, 1, kSlot1},
        {&D::m_strTabIsoPerFloorSlot0, 1, 1, kSlot0}, {&D::m_strTabIsoPerFloorMean, 1, 1, kMean},
        {&D::m_strTabIsoPerEnvSlot1, 1, 2, kSlot1},   {&D::m_strTabIsoPerEnvSlot0, 1, 2, kSlot0},
        {&D::m_strTabIsoPerEnvMean, 1, 2, kMean},
    };
    const std::vector<Placed> curveTable = {
        {&D::m_strTabCSlot1, 2, 0, kSlot1}, {&D::m_strTabCSlot0, 2, 0, kSlot0},
        {&D::m_strTabNSlot1, 2, 1, kSlot1}, {&D::m_strTabNSlot0, 2, 1, kSlot0},
        {&D::m_strTabRSlot1, 2, 2, kSlot1}, {&D::m_strTabRSlot0, 2, 2, kSlot0},
    };
    const std::vector<Placed> isoCurveTable = {
        {&D::m_strTabCenvSlot1, 2, 0, kSlot1}, {&D::m_strTabCenvSlot0, 2, 0, kSlot0},
        {&D::m_strTabCSlot1, 2, 1, kSlot1},    {&D::m_strTabCSlot0, 2, 1, kSlot0},
        {&D::m_strTabNSlot1, 2, 2, kSlot1},    {&D::m_strTabNSlot0, 2, 2, kSlot0},
        {&D::m_strTabRSlot1, 2, 3, kSlot1},    {&D::m_strTabRSlot0, 2, 3, kSlot0},
    };
    const std::vector<Case> cases = {
        {"CGSB, one direction", kCgsb, false,
         join(airflowOne, {{&D::m_strEqla, 1, 0, kIndent2}, {&D::m_strEla, 1, 1, kIndent2},
                           {&D::m_strC, 2, 0, kIndent2}, {&D::m_strN, 2, 1, kIndent2},
                           {&D::m_strR, 2, 2, kIndent2}})},
        {"ISO 9972, one direction", kIso, false,
         join(airflowOne, {{&D::m_strEla, 1, 0, kText}, {&D::m_strIsoAreaPerFloor, 1, 1, kText},
                           {&D::m_strIsoAreaPerEnvelope, 1, 2, kText}, {&D::m_strCenv, 2, 0, kIndent2},
                           {&D::m_strC, 2, 1, kIndent2}, {&D::m_strN, 2, 2, kIndent2},
                           {&D::m_strR2, 2, 3, kIndent2}})},
        {"EN 13829, two directions", kEn, true,
         join(join(join(airflowTable, areasTable), curveTable), {{&D::m_strTabCLabel, 2, 0, kIndent2}})},
        {"ASTM E779, two directions", kAstm, true,
         join(join(join(airflowTable, areasTable), curveTable), {{&D::m_strTabCLabel, 2, 0, kIndent2}})},
        {"ISO 9972, two directions", kIso, true,
         join(join(join(airflowTable, isoAreasTable), isoCurveTable),
              {{&D::m_strTabCenvLabel, 2, 0, kIndent2}, {&D::m_strTabCLabel, 2, 1, kIndent2}})},
    };

    Open();
    CFont* pFont = m_pView->m_pPageFont;
    ASSERT_NE(nullptr, pFont);
    const int h = LineHeight(pFont);
    ASSERT_GT(h, 5);
    const CRect rcClient(0, 0, 760, 440);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        FillTexts(c.nStandard, c.bTwo);
        const CRecordedDrawing drawing = Record(rcClient);
        const Geometry geo = ExpectedGeometry(rcClient, h, c.bTwo, c.nStandard);
        std::map<std::wstring, const Placed*> expected;
        for (const Placed& t : c.texts) {
            for (const NamedText& named : kAllTexts)
                if (named.pMember == t.pMember)
                    expected[named.pszName] = &t;
        }
        ASSERT_EQ(c.texts.size(), expected.size());
        for (const NamedText& named : kAllTexts) {
            const CRecordedText* pDrawn = drawing.Find(named.pszName);
            auto it = expected.find(named.pszName);
            if (it == expected.end()) {
                EXPECT_EQ(nullptr, pDrawn) << CString(named.pszName).ToAnsi() << " is drawn";
                continue;
            }
            ASSERT_NE(nullptr, pDrawn) << CString(named.pszName).ToAnsi() << " is not drawn";
            const Placed& t = *it->second;
            const CRect& g = geo.g[t.nGroup];
            const int xByColumn[] = {geo.xText, g.left + 2 * h, g.left + 3 * h, geo.xSlot1, geo.xSlot0, geo.xMean};
            const POINT want{xByColumn[t.column], geo.Row(t.nGroup, t.nRow)};
            EXPECT_EQ(PointText(want), PointText(pDrawn->pt)) << CString(named.pszName).ToAnsi();
        }

        // The frames, top to bottom, filled in the button-face colour.
        std::vector<CRecordedRectangle> frames;
        for (const CRecordedRectangle& r : drawing.rectangles)
            if (r.brush == ::GetSysColor(COLOR_BTNFACE))
                frames.push_back(r);
        ASSERT_EQ(3u, frames.size());
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(::EqualRect(&frames[i].rc, &geo.g[i])) << "frame " << i;

        // The column headings of the table view, each centred on its column.
        const wchar_t* const headings[] = {L"Depressurization", L"Pressurization", L"Average"};
        for (int i = 0; i < 3; ++i) {
            const CRecordedText* pHeading = drawing.Find(headings[i]);
            if (!c.bTwo) {
                EXPECT_EQ(nullptr, pHeading);
                continue;
            }
            ASSERT_NE(nullptr, pHeading) << i;
            EXPECT_EQ(geo.g[0].top - 5 * h / 4, pHeading->pt.y);
            EXPECT_LT(pHeading->pt.x, geo.xHeading[i]);
            EXPECT_GT(pHeading->pt.x, geo.xHeading[i] - 9 * h);
        }
    }
}

// The labels of the EN 13829 and ISO 9972 rows and the first title take the
// reference pressure; the labels and the coefficient notations are drawn as
// sub- and superscripts.
TEST_F(ResultsPageTest, LabelsTitlesAndNotationsAreMarkUpWithThePressure)
{
    Open();
    CFont* pFont = m_pView->m_pPageFont;
    ASSERT_NE(nullptr, pFont);
    const int h = LineHeight(pFont);
    const CRect rcClient(0, 0, 760, 440);

    FillTexts(kEn, false);
    page->m_strRefPressure = L"75";
    page->m_strC = L"Air Leakage Coefficient (CL) = 123.4";
    page->m_strN = L"Exponent (n) = 0.650";
    page->m_strR = L"Fit (r2) = 0.99";
    CRecordedDrawing drawing = Record(rcClient);
    Geometry geo = ExpectedGeometry(rcClient, h, false, kEn);
    EXPECT_NE(nullptr, drawing.Find(L" Airflow at 75 Pascals "));
    EXPECT_NE(nullptr, drawing.Find(L" Leakage Areas "));
    EXPECT_NE(nullptr, drawing.Find(L" Building Leakage Curve "));
    // "V\sub75 \reg:" right-aligned before the row's text, "75 " lowered and smaller.
    const std::wstring bases[] = {L"V", L"n", L"w", L"q"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int y = geo.Row(0, i);
        const CRecordedText* pBase = nullptr;
        const CRecordedText* pSub = nullptr;
        for (const CRecordedText& t : drawing.texts) {
            if (t.text == bases[i] && t.pt.y == y)
                pBase = &t;
            if (t.text == L"75 " && t.pt.y > y && t.pt.y < y + h)
                pSub = &t;
        }
        ASSERT_NE(nullptr, pBase);
        ASSERT_NE(nullptr, pSub);
        EXPECT_GT(pBase->pt.x, geo.g[0].left);
        EXPECT_LT(pSub->pt.x, geo.g[0].left + 4 * h);
        EXPECT_LT(std::abs(pSub->font.lfHeight), std::abs(pBase->font.lfHeight));
    }
    EXPECT_EQ(nullptr, drawing.Find(L"50 "));
    // (CL) and (r2) as C with a subscript L and r with a superscript 2.
    const CRecordedText* pC = drawing.Find(L"Air Leakage Coefficient (C");
    const CRecordedText* pL = drawing.Find(L"L");
    const CRecordedText* pAfterL = drawing.Find(L") = 123.4");
    ASSERT_TRUE(pC != nullptr && pL != nullptr && pAfterL != nullptr);
    EXPECT_GT(pL->pt.y, pC->pt.y);
    EXPECT_EQ(pC->pt.y, pAfterL->pt.y);
    const CRecordedText* pR = drawing.Find(L"Fit (r");
    const CRecordedText* pSquare = drawing.Find(L"2");
    ASSERT_TRUE(pR != nullptr && pSquare != nullptr);
    EXPECT_LT(pSquare->pt.y, pR->pt.y);

    // ISO 9972 in one direction: its first label begins with a blank; in
    // two directions it does not, the curve's descriptions come from the
    // string table, Cenv is marked up and the area unit is m² in centimetres.
    FillTexts(kIso, false);
    drawing = Record(rcClient);
    EXPECT_NE(nullptr, drawing.Find(L" q"));
    EXPECT_NE(nullptr, drawing.Find(L"ELA"));
    FillTexts(kIso, true);
    m_pView->m_nLeakageUnit = 1;
    page->m_strTabCenvLabel = L"Air Flow Coefficient (Cenv)  m3";
    drawing = Record(rcClient);
    geo = ExpectedGeometry(rcClient, h, true, kIso);
    EXPECT_EQ(nullptr, drawing.Find(L" q"));
    EXPECT_NE(nullptr, drawing.Find(L"q"));
    const CRecordedText* pUnit = drawing.Find(L"m\u00B2");
    ASSERT_NE(nullptr, pUnit);
    EXPECT_EQ(PointText(POINT{geo.xText, geo.Row(1, 0)}), PointText(pUnit->pt));
    EXPECT_EQ(nullptr, drawing.Find(L"ft\u00B2"));
    const CRecordedText* pEnv = drawing.Find(L"env");
    ASSERT_NE(nullptr, pEnv);
    EXPECT_GT(pEnv->pt.y, geo.Row(2, 0));
    const CRecordedText* pExponent = drawing.Find(L"Exponent (n)");
    const CRecordedText* pDetermination = drawing.Find(L"Coefficient of Determination (r\u00B2)");
    ASSERT_TRUE(pExponent != nullptr && pDetermination != nullptr);
    EXPECT_EQ(PointText(POINT{geo.g[2].left + 2 * h, geo.Row(2, 2)}), PointText(pExponent->pt));
    EXPECT_EQ(PointText(POINT{geo.g[2].left + 2 * h, geo.Row(2, 3)}), PointText(pDetermination->pt));
    m_pView->m_nLeakageUnit = 0;
    drawing = Record(rcClient);
    EXPECT_NE(nullptr, drawing.Find(L"ft\u00B2"));

    // The other standards name the correlation, and CGSB rows have no labels.
    FillTexts(kCgsb, true);
    drawing = Record(rcClient);
    geo = ExpectedGeometry(rcClient, h, true, kCgsb);
    const CRecordedText* pCorrelation = drawing.Find(L"Correlation Coefficient");
    ASSERT_NE(nullptr, pCorrelation);
    EXPECT_EQ(geo.Row(2, 2), pCorrelation->pt.y);
    for (const CRecordedText& t : drawing.texts) {
        if (t.pt.y > geo.g[0].top && t.pt.y < geo.g[0].bottom) {
            EXPECT_GE(t.pt.x, geo.xText) << CString(t.text.c_str()).ToAnsi();
        }
    }
}

// Before any page has made the page font, the painter takes the page's own;
// painting many times leaves no GDI object behind and the DC as it was.
TEST_F(ResultsPageTest, PaintingUsesThePageFontFirstAndLeavesNothingBehind)
{
    delete m_pView->m_pPageFont;
    m_pView->m_pPageFont = nullptr;
    Open(0);
    ASSERT_EQ(nullptr, m_pView->m_pPageFont);
    LOGFONTW lfPage{};
    ASSERT_NE(0, ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Page(), WM_GETFONT, 0, 0)), sizeof lfPage,
                              &lfPage));
    FillTexts(kCgsb, false);
    const CRecordedDrawing drawing = Record(CRect(0, 0, 600, 380));
    const CRecordedText* pText = drawing.Find(L"m_strFlowAtRef");
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(lfPage.lfHeight, pText->font.lfHeight);
    EXPECT_EQ(std::wstring(lfPage.lfFaceName), std::wstring(pText->font.lfFaceName));

    // Leaks: the page's own DC and a memory DC, many times, both modes.
    CCanvas canvas(600, 380, RGB(255, 255, 255));
    CDC& dc = canvas.DC();
    const HGDIOBJ hFont = ::GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ hBrush = ::GetCurrentObject(dc, OBJ_BRUSH);
    const HGDIOBJ hPen = ::GetCurrentObject(dc, OBJ_PEN);
    const COLORREF crBack = dc.GetBkColor();
    const COLORREF crText = dc.SetTextColor(RGB(0, 0, 255));
    const long nLive = CGdiObject::GetLiveObjectCount();
    for (int i = 0; i < 50; ++i) {
        FillTexts(i % 2 ? kIso : kAstm, i % 2 == 0);
        page->PaintResults();
        page->PaintResults(&dc, CRect(0, 0, 600, 380));
    }
    EXPECT_EQ(nLive, CGdiObject::GetLiveObjectCount());
    EXPECT_EQ(hFont, ::GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(hBrush, ::GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(hPen, ::GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(crBack, dc.GetBkColor());
    EXPECT_EQ(RGB(0, 0, 255), dc.GetTextColor());
    dc.SetTextColor(crText);
    // The paint did draw: the frames' button face stands on the white canvas.
    EXPECT_GT(canvas.CountPixels(::GetSysColor(COLOR_BTNFACE), CRect(0, 0, 600, 380)), 1000);
}

// Real results for a person to look at (saved when VUDADAR_SCREENS names a
// folder); the recorded painting holds what each picture must show.
TEST_F(ResultsPageTest, Screenshots)
{
    struct Shot {
        const wchar_t* pszFile;
        int nStandard;
        bool bSlot0, bSlot1;
        const wchar_t* pszPressure;
        int nLeakageUnit;
        std::vector<std::wstring> mustShow;
    } shots[] = {
        {L"results-cgsb-one-direction.png", kCgsb, false, true, L"50", 0,
         {L" Airflow at 50 Pascals ", L"Correlation Coefficient = 1.00000"}},
        {L"results-en13829-75pa.png", kEn, true, false, L"75", 0, {L" Airflow at 75 Pascals ", L"75 "}},
        {L"results-iso9972-both-cm.png", kIso, true, true, L"50", 1,
         {L"m\u00B2", L"Coefficient of Determination (r\u00B2)", L"Average"}},
        {L"results-astm-e779-both.png", kAstm, true, true, L"50", 0, {L"Depressurization", L"Average"}},
    };
    for (const Shot& shot : shots) {
        SCOPED_TRACE(CString(shot.pszFile).ToAnsi());
        CTestGraph1& s = *m_pView->m_pTestGraph;
        s.m_CompletedTests[0] = s.m_CompletedTests[1] = 0;
        if (shot.bSlot0)
            LaySlot(0, 182.0, 0.63);
        if (shot.bSlot1)
            LaySlot(1, 171.0, 0.66);
        m_pView->m_pSettings->m_nStandard = shot.nStandard;
        m_pView->m_nLeakageUnit = shot.nLeakageUnit;
        m_pView->m_nFlowUnit = shot.nLeakageUnit == 1 ? 1 : 0;
        m_pView->m_nBuildingUnit = shot.nLeakageUnit;
        m_pView->ApplyUnits();
        m_pView->AcceptCurrentUnits();
        page->m_strRefPressure = shot.pszPressure;
        Open();
        CRect rcClient;
        ::GetClientRect(Page(), &rcClient);
        const CRecordedDrawing drawing = Record(rcClient);
        for (const std::wstring& text : shot.mustShow)
            EXPECT_NE(nullptr, drawing.Find(text)) << CString(text.c_str()).ToAnsi();
        EXPECT_NE(std::wstring::npos, drawing.AllText().find(page->m_strN.IsEmpty() ? page->m_strTabNSlot0.GetString()
                                                                                    : page->m_strN.GetString()));
        SaveScreenshot(Page(), shot.pszFile);
        page->DestroyWindow();
    }
}
