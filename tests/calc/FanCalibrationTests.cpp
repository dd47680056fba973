// The fan calibration: the factory table per fan and ring in each flow
// unit, the flow callers compute from a selection, custom values and their
// rescaling after a unit change, the file section written and read back,
// and the editor run as a real dialog with the clicks and keys of a user.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "calc/FanCalibrationDialog.h"
#include "res/resource.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

const wchar_t kFanCodes[5] = {L'3', L'5', L'4', L'A', L'B'};
const int kRingCounts[5] = {6, 6, 6, 4, 5};

// The factory values in cfm, as shipped.
const double kCfmC[5][6] = {
    {506.8, 190.1, 60.67, 21.37, 7.216, 2.726},
    {498.9, 190.1, 60.35, 20.47, 6.87, 2.817},
    {438.7, 160.8, 48.08, 11.36, 7.246, 2.802},
    {104.4, 39.25, 15.31, 6.26, 0, 0},
    {108.7, 40.5, 15.27, 5.84, 1.064, 0},
};
const double kN[5][6] = {
    {0.4879, 0.4876, 0.4955, 0.5132, 0.4942, 0.5267},
    {0.4918, 0.4889, 0.4958, 0.5178, 0.5022, 0.5139},
    {0.4848, 0.4952, 0.4968, 0.5157, 0.5032, 0.5166},
    {0.5, 0.5, 0.5, 0.5, 0, 0},
    {0.5032, 0.5038, 0.5064, 0.514, 0.502, 0},
};
const double kMinP[5][6] = {
    {25, 25, 25, 15, 15, 15},
    {25, 25, 25, 25, 15, 15},
    {25, 25, 20, 15, 15, 15},
    {25, 25, 25, 10, 0, 0},
    {25, 25, 25, 3, 5, 0},
};
// Flow unit per cfm: m³/h and l/s.
const double kUnitPerCfm[3] = {1.0, 1.69901079552, 0.4719474432};

class FanCalibrationTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_strSavedRoot = g_strUserDataRoot;
        g_strUserDataRoot = MakeTempFolder(L"fancal").c_str();
        m_pView = std::make_unique<CSimbrel1View>();
    }
    void TearDown() override
    {
        m_pView.reset();
        g_strUserDataRoot = m_strSavedRoot;
    }

    CFanCalibrationDialog& Cal() const { return *m_pView->m_pFanCalibration; }

    // What the units change does to the calibration.
    void ChangeFlowUnit(int nUnit)
    {
        const double dOld = m_pView->m_dFlowFactor;
        m_pView->m_nFlowUnit = nUnit;
        m_pView->ApplyUnits();
        Cal().RescaleCustomC(m_pView->m_dFlowFactor / dOld);
    }

    // The calibration read from a file text, as opening a file does.
    void ReadFile(const CString& strText)
    {
        m_pView->m_strFileText = strText;
        Cal().ResetToFactory();
        Cal().ReadCalibrationKeys();
    }

    // The flow through the fan, as the test screen computes it.
    double Flow(wchar_t chFan, int nRing, double dFanPressure) const
    {
        Cal().LoadFanRingCalibration(chFan, nRing);
        return Cal().m_dSelC * std::pow(std::fabs(dFanPressure), Cal().m_dSelN);
    }

    std::unique_ptr<CSimbrel1View> m_pView;
    CString m_strSavedRoot;
};

}  // namespace

TEST_F(FanCalibrationTest, TheViewStartsWithTheFactoryTableInCfm)
{
    CFanCalibrationDialog& cal = Cal();
    for (int row = 0; row < 5; ++row) {
        for (int ring = 0; ring < 6; ++ring) {
            SCOPED_TRACE(testing::Message() << "row " << row << " ring " << ring);
            EXPECT_EQ(cal.m_dFanC[row][ring], kCfmC[row][ring]);
            EXPECT_EQ(cal.m_dFanN[row][ring], kN[row][ring]);
            EXPECT_EQ(cal.GetFactoryMinFanPressure(row, ring), kMinP[row][ring]);
            EXPECT_EQ(0, cal.m_bCustomC[row][ring] + cal.m_bCustomN[row][ring]);
            // The texts read back as the values.
            EXPECT_EQ(CSimbrel1View::TextToDouble(cal.m_strFanC[row][ring]), kCfmC[row][ring]);
            EXPECT_EQ(CSimbrel1View::TextToDouble(cal.m_strFanN[row][ring]), kN[row][ring]);
            EXPECT_EQ(cal.m_strFanC[row][ring].GetLength(), 5);
            EXPECT_EQ(cal.m_strFanN[row][ring].GetLength(), 6);
        }
    }
    EXPECT_EQ(cal.m_strFanC[0][0], L"506.8");
    EXPECT_EQ(cal.m_strFanN[3][0], L"0.5000");
    EXPECT_EQ(cal.m_strFanC[3][4], L"0.000");
    EXPECT_EQ(cal.m_strFanN[3][4], L"0.0000");
    EXPECT_EQ(cal.m_bAnyCustom, 0);
    EXPECT_TRUE(cal.m_strCalDateUniv.IsEmpty());
}

TEST_F(FanCalibrationTest, ASelectionGivesTheFlowOfEachFanAndRingInEachFlowUnit)
{
    for (int nUnit : {0, 1, 2, 0}) {
        ChangeFlowUnit(nUnit);
        for (int row = 0; row < 5; ++row) {
            for (int ring = 0; ring < kRingCounts[row]; ++ring) {
                SCOPED_TRACE(testing::Message() << "unit " << nUnit << " row " << row << " ring " << ring);
                for (double dP : {-50.0, 3.0, 120.5}) {
                    const double dExpected = kCfmC[row][ring] * kUnitPerCfm[nUnit] * std::pow(std::fabs(dP), kN[row][ring]);
                    // The shipped tables are rounded to four significant digits.
                    EXPECT_NEAR(Flow(kFanCodes[row], ring, dP), dExpected, dExpected * 5e-4);
                }
                EXPECT_EQ(Cal().m_dSelMinFanPressure, kMinP[row][ring]);
                double dMin = -1.0;
                double dMax = -1.0;
                Cal().GetNominalFlowRange(kFanCodes[row], ring, dMin, dMax);
                EXPECT_GT(dMax, dMin);
            }
        }
    }
    // Table values, not a computed conversion.
    ChangeFlowUnit(1);
    Cal().LoadFanRingCalibration(L'3', 0);
    EXPECT_EQ(Cal().m_dSelC, 861.1);
    Cal().LoadFanRingCalibration(L'B', 4);
    EXPECT_EQ(Cal().m_dSelC, 1.808);
    ChangeFlowUnit(2);
    Cal().LoadFanRingCalibration(L'B', 4);
    EXPECT_EQ(Cal().m_dSelC, 0.502);
    Cal().LoadFanRingCalibration(L'4', 3);
    EXPECT_EQ(Cal().m_dSelC, 5.361);
}

TEST_F(FanCalibrationTest, ACodeOrRingOutsideTheTableKeepsTheSelection)
{
    // A fresh table selects nothing: flow 0, never an undefined number.
    CFanCalibrationDialog fresh;
    EXPECT_EQ(fresh.m_dSelC, 0.0);
    EXPECT_EQ(fresh.m_dSelN, 0.0);
    EXPECT_EQ(fresh.m_dSelMinFanPressure, 0.0);

    Cal().LoadFanRingCalibration(L'5', 3);
    const double dFlow = Cal().m_dSelC * std::pow(50.0, Cal().m_dSelN);
    const struct {
        wchar_t chFan;
        int nRing;
    } outside[] = {{L'A', 4}, {L'A', 5}, {L'B', 5}, {L'3', 6}, {L'3', -1}, {L'Z', 0}, {L'a', 0}, {L'0', 1}};
    for (const auto& c : outside) {
        EXPECT_EQ(Flow(c.chFan, c.nRing, 50.0), dFlow) << static_cast<char>(c.chFan) << c.nRing;
        EXPECT_EQ(Cal().m_dSelMinFanPressure, 25.0);
        double dMin = -1.0;
        double dMax = -1.0;
        Cal().GetNominalFlowRange(c.chFan, c.nRing, dMin, dMax);
        EXPECT_EQ(dMin, 0.0);
        EXPECT_EQ(dMax, 0.0);
    }
}

TEST_F(FanCalibrationTest, NominalRangesFollowTheFlowUnit)
{
    const struct {
        wchar_t chFan;
        int nRing;
        double dMin;
        double dMax;
    } cases[] = {{L'3', 0, 2000, 6000}, {L'4', 5, 10, 40}, {L'5', 2, 200, 1100}, {L'A', 1, 100, 900},
                 {L'A', 3, 20, 160}, {L'B', 1, 200, 900}, {L'B', 4, 2, 30}};
    for (int nUnit : {0, 1}) {
        ChangeFlowUnit(nUnit);
        for (const auto& c : cases) {
            double dMin = 0.0;
            double dMax = 0.0;
            Cal().GetNominalFlowRange(c.chFan, c.nRing, dMin, dMax);
            EXPECT_DOUBLE_EQ(dMin, c.dMin * kUnitPerCfm[nUnit]);
            EXPECT_DOUBLE_EQ(dMax, c.dMax * kUnitPerCfm[nUnit]);
        }
    }
}

TEST_F(FanCalibrationTest, AValueIsCustomBeyondTheRelativeTolerance)
{
    CFanCalibrationDialog& cal = Cal();
    const struct {
        double dFactorC;
        double dFactorN;
        int bCustomC;
        int bCustomN;
    } cases[] = {
        {1.0 + 0.9e-5, 1.0 + 0.9e-6, 0, 0},
        {1.0 - 0.9e-5, 1.0 - 0.9e-6, 0, 0},
        {1.0 + 1.1e-5, 1.0 + 1.1e-6, 1, 1},
        {1.0 - 1.1e-5, 1.0, 1, 0},
        {0.0, 1.0, 1, 0},
    };
    for (const auto& c : cases) {
        cal.m_dFanC[2][1] = kCfmC[2][1] * c.dFactorC;
        cal.m_dFanN[2][1] = kN[2][1] * c.dFactorN;
        EXPECT_EQ(cal.IsCustomC(2, 1), c.bCustomC) << c.dFactorC;
        EXPECT_EQ(cal.IsCustomN(2, 1), c.bCustomN) << c.dFactorN;
    }
    // Rings the fan does not have are never custom.
    cal.m_dFanC[3][5] = 7.0;
    EXPECT_EQ(cal.IsCustomC(3, 5), 0);

    // Only the shown fan's rings count.
    cal.ResetToFactory();
    cal.m_nFanRow = 3;
    cal.m_dFanN[2][0] = 0.6;
    EXPECT_EQ(cal.AnyCustomForCurrentFan(), 0);
    cal.m_dFanC[3][3] = 6.0;
    EXPECT_EQ(cal.AnyCustomForCurrentFan(), 1);
}

TEST_F(FanCalibrationTest, TextsAreWidenedAndReadBackAsTheirValues)
{
    const struct {
        double dValue;
        int nWidth;
        const wchar_t* expected;
    } cases[] = {
        {0.5, 6, L"0.5000"},     {0.0, 5, L"0.000"},     {0.0, 6, L"0.0000"},    {2.726, 5, L"2.726"},
        {506.8, 5, L"506.8"},    {12.0, 5, L"12.00"},    {0.4879, 6, L"0.4879"}, {1000.0, 5, L"1000."},
        // Values the width cannot hold keep five significant digits.
        {1234.5, 5, L"1234.5"},  {0.000204, 5, L"0.000204"}, {123456.0, 5, L"123460"},
        {849.50917, 5, L"849.51"}, {0.000012345678, 6, L"0.000012346"},
    };
    for (const auto& c : cases) {
        CString str;
        str.Format(L"%.5g", c.dValue);
        CFanCalibrationDialog::FormatToWidth(str, c.nWidth);
        EXPECT_EQ(str, CString(c.expected)) << c.dValue;
        CString strG;
        strG.Format(L"%.5g", c.dValue);
        EXPECT_EQ(CSimbrel1View::TextToDouble(str), CSimbrel1View::TextToDouble(strG)) << c.dValue;
    }
}

TEST_F(FanCalibrationTest, AUnitChangeScalesCustomCoefficientsAndReloadsTheOthers)
{
    CFanCalibrationDialog& cal = Cal();
    cal.m_dFanC[0][1] = 500.0;
    cal.m_bCustomC[0][1] = 1;
    cal.m_dFanC[1][2] = 0.000204;
    cal.m_bCustomC[1][2] = 1;
    cal.m_dFanN[0][1] = 0.6;
    cal.m_bCustomN[0][1] = 1;
    // A C that differs but is not flagged comes back from the table.
    cal.m_dFanC[4][0] = 1.0;

    ChangeFlowUnit(1);
    EXPECT_EQ(cal.m_dFanC[0][0], 861.1);
    EXPECT_EQ(cal.m_strFanC[0][0], L"861.1");
    EXPECT_DOUBLE_EQ(cal.m_dFanC[0][1], 500.0 * kUnitPerCfm[1]);
    EXPECT_EQ(cal.m_strFanC[0][1], L"849.51");
    EXPECT_EQ(cal.m_dFanC[4][0], 184.7);
    EXPECT_EQ(cal.m_dFanN[0][1], 0.6);
    EXPECT_EQ(cal.m_bCustomC[0][1], 1);
    EXPECT_EQ(cal.m_bCustomN[0][1], 1);
    EXPECT_EQ(cal.m_bCustomC[0][0], 0);
    // A small custom C keeps a text that reads back as its value.
    EXPECT_NEAR(CSimbrel1View::TextToDouble(cal.m_strFanC[1][2]), 0.000204 * kUnitPerCfm[1], 1e-8);

    ChangeFlowUnit(0);
    EXPECT_NEAR(cal.m_dFanC[0][1], 500.0, 1e-9);
    EXPECT_EQ(cal.m_dFanC[0][0], 506.8);
}

TEST_F(FanCalibrationTest, TheSectionIsWrittenInOrderAndReadsBackTheSame)
{
    CFanCalibrationDialog& cal = Cal();
    cal.m_strFanC[0][0] = L"510.0";
    cal.m_dFanC[0][0] = 510.0;
    cal.m_bCustomC[0][0] = 1;
    cal.m_strFanN[3][2] = L"0.5100";
    cal.m_dFanN[3][2] = 0.51;
    cal.m_bCustomN[3][2] = 1;
    cal.m_strCalDateUniv = L"20180705";
    cal.m_strCalDateLocal = L"05.07.2018";

    const CString strText = cal.WriteCalibrationKeys();
    EXPECT_EQ(strText.Left(85), CString(L"Custom_Calibration_Date_QAR_Univ: 20180705\n"
                                        L"Custom_Calibration_Date_Local: 05/07/2018\n"));
    EXPECT_GE(strText.Find(L"\nFan_Calib_TypeR_Ring0: 510.0 0.4879\n"), 0);
    EXPECT_GE(strText.Find(L"\nFan_Calib_TypeR_230V_Ring5: 2.817 0.5139\n"), 0);
    EXPECT_GE(strText.Find(L"\nFan_Calib_AVA_Ring5: 0.000 0.0000\n"), 0);
    EXPECT_GE(strText.Find(L"\nFan_Calib_AVB_Ring4: 1.064 0.5020\n"), 0);
    int nLines = 0;
    for (int i = 0; i < strText.GetLength(); ++i)
        nLines += strText[i] == L'\n' ? 1 : 0;
    EXPECT_EQ(nLines, 32);

    // Through a file text, as saving and opening do (CR LF line ends).
    CString strFile = L"\nFAN CALIBRATION INFO\n" + strText;
    strFile.Replace(L"\n", L"\r\n");
    CFanCalibrationDialog before;
    for (int row = 0; row < 5; ++row) {
        for (int ring = 0; ring < 6; ++ring) {
            before.m_strFanC[row][ring] = cal.m_strFanC[row][ring];
            before.m_strFanN[row][ring] = cal.m_strFanN[row][ring];
        }
    }
    ReadFile(strFile);
    for (int row = 0; row < 5; ++row) {
        for (int ring = 0; ring < 6; ++ring) {
            EXPECT_EQ(cal.m_strFanC[row][ring], before.m_strFanC[row][ring]);
            EXPECT_EQ(cal.m_strFanN[row][ring], before.m_strFanN[row][ring]);
        }
    }
    EXPECT_EQ(cal.m_dFanC[0][0], 510.0);
    EXPECT_EQ(cal.m_bCustomC[0][0], 1);
    EXPECT_EQ(cal.m_dFanN[3][2], 0.51);
    EXPECT_EQ(cal.m_bCustomN[3][2], 1);
    EXPECT_EQ(cal.m_bCustomN[0][0], 0);
    EXPECT_EQ(cal.m_bAnyCustom, 1);  // row 0 is shown
    EXPECT_EQ(cal.m_strCalDateUniv, L"20180705");
    EXPECT_EQ(cal.m_strCalDateLocal, CSimbrel1View::FormatDateKeyLocal(L"20180705"));
    EXPECT_FALSE(cal.m_strCalDateLocal.IsEmpty());
}

TEST_F(FanCalibrationTest, ASmallCustomCoefficientSurvivesSavingAndOpening)
{
    CFanCalibrationDialog& cal = Cal();
    ChangeFlowUnit(1);
    cal.m_dFanC[2][5] = 0.000204;
    cal.m_strFanC[2][5] = CFanCalibrationDialog::FormatC(0.000204);
    cal.m_bCustomC[2][5] = 1;
    const double dFlow = Flow(L'4', 5, 40.0);
    ASSERT_GT(dFlow, 0.0);

    CString strFile = cal.WriteCalibrationKeys();
    strFile.Replace(L"\n", L"\r\n");
    ReadFile(strFile);
    EXPECT_EQ(Flow(L'4', 5, 40.0), dFlow);
    EXPECT_EQ(cal.m_bCustomC[2][5], 1);
}

TEST_F(FanCalibrationTest, TheReaderKeepsFactoryValuesWhereAFileHasNone)
{
    CFanCalibrationDialog& cal = Cal();
    struct Case {
        const char* name;
        const wchar_t* text;
        int row;
        int ring;
        double dC;
        double dN;
        int bCustom;
    };
    const Case cases[] = {
        {"no keys", L"OTHER: 1\r\n", 4, 4, 1.064, 0.502, 0},
        {"AVB ring 4 written empty", L"Fan_Calib_AVB_Ring4: 0.000 0.0000\r\n", 4, 4, 1.064, 0.502, 0},
        {"AVB ring 4 custom", L"Fan_Calib_AVB_Ring4: 1.100 0.5100\r\n", 4, 4, 1.1, 0.51, 1},
        {"an older key form", L"Fan_Calib_TypeR (230V) Ring2: 60.00 0.5000\r\n", 1, 2, 60.0, 0.5, 1},
        {"the current key wins", L"Fan_Calib_TypeS_230V_Ring1: 150.0 0.4952\r\nFan_Calib_TypeS (230V) Ring1: 1 1\r\n",
         2, 1, 150.0, 0.4952, 1},
        {"no separator", L"Fan_Calib_TypeR_Ring3: 22.22\r\n", 0, 3, 21.37, 0.5132, 0},
        {"C only with its blank", L"Fan_Calib_TypeR_Ring3: 22.00 \r\n", 0, 3, 22.0, 0.5132, 1},
        {"a key without a line end", L"Fan_Calib_TypeR_Ring3: 22.00 0.6000", 0, 3, 21.37, 0.5132, 0},
        {"a ring the fan does not have", L"Fan_Calib_AVA_Ring4: 9.000 0.5000\r\n", 3, 4, 0.0, 0.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile(c.text);
        EXPECT_EQ(cal.m_dFanC[c.row][c.ring], c.dC);
        EXPECT_EQ(cal.m_dFanN[c.row][c.ring], c.dN);
        EXPECT_EQ(cal.m_bCustomC[c.row][c.ring] | cal.m_bCustomN[c.row][c.ring], c.bCustom);
        EXPECT_TRUE(cal.m_strCalDateUniv.IsEmpty());
        EXPECT_TRUE(cal.m_strCalDateLocal.IsEmpty());
    }
    // A malformed value keeps its text and reads as its longest number.
    ReadFile(L"Fan_Calib_TypeR_Ring1: 19x.5 abc\r\n");
    EXPECT_EQ(cal.m_strFanC[0][1], L"19x.5");
    EXPECT_EQ(cal.m_dFanC[0][1], 19.0);
    EXPECT_EQ(cal.m_strFanN[0][1], L"abc");
    EXPECT_EQ(cal.m_dFanN[0][1], 0.0);
}

TEST_F(FanCalibrationTest, AnInvalidDateHasNoLocalDateAndIsWrittenBackAsRead)
{
    for (const wchar_t* pszDate : {L"2018133", L"20181345", L"2018-7-5", L"abcdefgh"}) {
        ReadFile(CString(L"Custom_Calibration_Date_QAR_Univ: ") + pszDate + L"\r\n");
        EXPECT_EQ(Cal().m_strCalDateUniv, pszDate);
        EXPECT_TRUE(Cal().m_strCalDateLocal.IsEmpty());
        const CString strText = Cal().WriteCalibrationKeys();
        EXPECT_EQ(strText.Left(strText.Find(L"Fan_Calib_")),
                  CString(L"Custom_Calibration_Date_QAR_Univ: ") + pszDate + L"\nCustom_Calibration_Date_Local: \n");
    }
}

// The editor, run modally as the equipment page runs it.
namespace {

// Runs the steps one per timer tick from the dialog's own loop once its
// window is shown, so what a step posts is handled before the next. A
// dialog still open two seconds after the last step fails the test.
class CEditorDriver {
public:
    using Step = std::function<void(HWND)>;
    static constexpr INT_PTR kStuck = -77;

    ~CEditorDriver() { Stop(); }

    std::function<void(CDialog*)> Run(std::vector<Step> steps)
    {
        return [this, steps](CDialog* pDialog) {
            m_pDialog = pDialog;
            m_steps = steps;
            m_nNext = 0;
            s_pCurrent = this;
            m_nTimer = ::SetTimer(nullptr, 0, 15, &CEditorDriver::OnTick);
        };
    }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_pCurrent != nullptr)
            s_pCurrent->Tick();
    }
    void Tick()
    {
        HWND hDialog = m_pDialog->GetSafeHwnd();
        if (hDialog == nullptr || !::IsWindowVisible(hDialog))
            return;
        if (m_nNext < m_steps.size()) {
            m_steps[m_nNext++](hDialog);
            m_dwLastStep = ::GetTickCount();
        } else if (::GetTickCount() - m_dwLastStep > 2000) {
            ADD_FAILURE() << "the editor is still open after the last step";
            m_pDialog->EndDialog(static_cast<int>(kStuck));
        }
    }
    void Stop()
    {
        if (m_nTimer != 0)
            ::KillTimer(nullptr, m_nTimer);
        m_nTimer = 0;
        if (s_pCurrent == this)
            s_pCurrent = nullptr;
    }

    static inline CEditorDriver* s_pCurrent = nullptr;
    CDialog* m_pDialog = nullptr;
    std::vector<Step> m_steps;
    size_t m_nNext = 0;
    UINT_PTR m_nTimer = 0;
    DWORD m_dwLastStep = 0;
};

std::wstring Text(HWND hDialog, int nID)
{
    wchar_t sz[256] = {};
    ::GetDlgItemTextW(hDialog, nID, sz, 256);
    return sz;
}


COLORREF FieldTextColour(HWND hDialog, int nID)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    ::SendMessageW(hDialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, nID)));
    const COLORREF cr = ::GetTextColor(hDC);
    ::DeleteDC(hDC);
    return cr;
}

std::wstring KeyOf(const SYSTEMTIME& st)
{
    wchar_t sz[16] = {};
    swprintf(sz, 16, L"%04u%02u%02u", st.wYear, st.wMonth, st.wDay);
    return sz;
}

std::wstring TodayKey()
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return KeyOf(st);
}

const std::wstring kCoefficientOutOfRange = L"Coefficient is out of range.\n\nPlease reenter.";
const std::wstring kExponentOutOfRange = L"Exponent is out of range.\n\nPlease reenter.";

class FanCalibrationEditorTest : public FanCalibrationTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(m_answerer.AllRepliesUsed());
        FanCalibrationTest::TearDown();
    }

    // then: the replies to what the editor itself opens.
    INT_PTR RunEditor(int nRow, std::vector<CEditorDriver::Step> steps, const std::function<void()>& then = {})
    {
        Cal().m_nFanRow = nRow;
        m_answerer.RunDialog(IDD_FAN_CALIBRATION, m_driver.Run(std::move(steps)));
        if (then)
            then();
        return Cal().DoModal();
    }

    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CEditorDriver m_driver;
};

}  // namespace

TEST_F(FanCalibrationEditorTest, OpensWithTheFanRowsTextsAndRings)
{
    Cal().m_strFanC[3][1] = L"40.00";
    Cal().m_dFanC[3][1] = 40.0;
    Cal().m_bCustomC[3][1] = 1;
    std::wstring title;
    std::vector<std::wstring> labels;
    bool bRing4Hidden = false;
    bool bRing3Shown = false;
    UINT nDefault = 0;
    std::wstring c1;
    COLORREF crCustom = 0;
    COLORREF crFactory = 0;
    const INT_PTR nResult = RunEditor(3, {[&](HWND h) {
        wchar_t sz[128] = {};
        ::GetWindowTextW(h, sz, 128);
        title = sz;
        for (int nID : {IDC_FANCAL_FAN_TITLE, IDC_FANCAL_OPEN, IDC_FANCAL_RING1_LABEL, IDC_FANCAL_RING3_LABEL,
                        IDC_FANCAL_RING4_LABEL, IDC_FANCAL_RING5_LABEL, IDC_FANCAL_COEFFICIENT, IDC_FANCAL_EXPONENT,
                        IDC_FANCAL_CUSTOM_NOTE, IDC_FANCAL_SET_TO_DEFAULTS, IDC_FANCAL_DATE_LABEL, IDOK,
                        IDC_FANCAL_HELP})
            labels.push_back(Text(h, nID));
        bRing4Hidden = !::IsWindowVisible(::GetDlgItem(h, IDC_FANCAL_C_RING4)) &&
                       !::IsWindowEnabled(::GetDlgItem(h, IDC_FANCAL_N_RING4)) &&
                       !::IsWindowVisible(::GetDlgItem(h, IDC_FANCAL_N_RING5));
        bRing3Shown = ::IsWindowVisible(::GetDlgItem(h, IDC_FANCAL_N_RING3)) != FALSE;
        nDefault = LOWORD(::SendMessageW(h, DM_GETDEFID, 0, 0));
        c1 = Text(h, IDC_FANCAL_C_RING1);
        crCustom = FieldTextColour(h, IDC_FANCAL_C_RING1);
        crFactory = FieldTextColour(h, IDC_FANCAL_N_RING1);
        SendClicked(h, IDOK);
    }});
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(title, L"Fan Calibration Parameters");
    const std::vector<std::wstring> expected = {L"Airvane A", L"Open", L"Ring 1", L"Ring 3", L"", L"",
                                                L"Coefficient", L"Exponent", L"Values in RED are custom (Not default)",
                                                L"Set to Defaults", L"Custom Calibration Date", L"OK", L"Help"};
    EXPECT_EQ(labels, expected);
    EXPECT_TRUE(bRing4Hidden);
    EXPECT_TRUE(bRing3Shown);
    EXPECT_EQ(nDefault, static_cast<UINT>(IDC_FANCAL_NO_ACTION));
    EXPECT_EQ(c1, L"40.00");
    EXPECT_EQ(crCustom, RGB(255, 0, 0));
    EXPECT_NE(crFactory, RGB(255, 0, 0));

    // The 230 V fans label their rings by letter and show all six.
    std::vector<std::wstring> rows;
    RunEditor(1, {[&](HWND h) {
        rows = {Text(h, IDC_FANCAL_FAN_TITLE), Text(h, IDC_FANCAL_RING1_LABEL), Text(h, IDC_FANCAL_RING5_LABEL),
                Text(h, IDC_FANCAL_C_RING5), Text(h, IDC_FANCAL_N_RING5)};
        SendClicked(h, IDOK);
    }});
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Type R (230V)", L"Ring A", L"Ring E", L"2.817", L"0.5139"}));
}

TEST_F(FanCalibrationEditorTest, TypedValuesAreInTheRecordAtOnceAndShownInRed)
{
    int bCustomWhileOpen = 0;
    COLORREF crTyped = 0;
    std::wstring filtered;
    const INT_PTR nResult = RunEditor(0, {
        [&](HWND h) { TypeInto(h, IDC_FANCAL_C_RING2, L"6-1.5a"); },
        [&](HWND h) {
            filtered = Text(h, IDC_FANCAL_C_RING2);
            bCustomWhileOpen = Cal().m_bAnyCustom;
            crTyped = FieldTextColour(h, IDC_FANCAL_C_RING2);
            SendClicked(h, IDOK);
        },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(filtered, L"61.5");
    EXPECT_EQ(bCustomWhileOpen, 1);
    EXPECT_EQ(crTyped, RGB(255, 0, 0));
    EXPECT_EQ(Cal().m_strFanC[0][2], L"61.5");
    EXPECT_EQ(Cal().m_dFanC[0][2], 61.5);
    EXPECT_EQ(Cal().m_bCustomC[0][2], 1);
    EXPECT_EQ(Flow(L'3', 2, 50.0), 61.5 * std::pow(50.0, 0.4955));
}

TEST_F(FanCalibrationEditorTest, OkRefusesAnEmptyOrNonPositiveFieldOfARingTheFanHas)
{
    m_answerer.ReplyToProgramMessage(IDS_OUT_OF_RANGE, IDOK);
    m_answerer.ReplyToProgramMessage(IDS_OUT_OF_RANGE, IDOK);
    m_answerer.ReplyToProgramMessage(IDS_OUT_OF_RANGE, IDOK);
    std::vector<int> focus;
    const INT_PTR nResult = RunEditor(4, {
        [&](HWND h) { TypeInto(h, IDC_FANCAL_C_RING3, L""); },
        [&](HWND h) { SendClicked(h, IDOK); },
        [&](HWND) { focus.push_back(::GetDlgCtrlID(::GetFocus())); },
        [&](HWND h) { TypeInto(h, IDC_FANCAL_C_RING3, L"0.00"); },
        [&](HWND h) { SendClicked(h, IDOK); },
        [&](HWND) { focus.push_back(::GetDlgCtrlID(::GetFocus())); },
        [&](HWND h) {
            TypeInto(h, IDC_FANCAL_C_RING3, L"6.1");
            TypeInto(h, IDC_FANCAL_N_RING4, L".");
        },
        [&](HWND h) { SendClicked(h, IDOK); },
        [&](HWND) { focus.push_back(::GetDlgCtrlID(::GetFocus())); },
        [&](HWND h) { TypeInto(h, IDC_FANCAL_N_RING4, L".52"); },
        [&](HWND h) { SendClicked(h, IDOK); },
    });
    EXPECT_EQ(nResult, IDOK);
    ASSERT_EQ(m_answerer.programMessages.size(), 3u);
    EXPECT_EQ(m_answerer.programMessages[0].text, kCoefficientOutOfRange);
    EXPECT_EQ(m_answerer.programMessages[1].text, kCoefficientOutOfRange);
    EXPECT_EQ(m_answerer.programMessages[2].text, kExponentOutOfRange);
    EXPECT_EQ(m_answerer.programMessages[0].nIcon, 175);
    EXPECT_EQ(m_answerer.programMessages[0].nKind, 0);
    EXPECT_EQ(m_answerer.programMessages[0].nHelpTopic, 255);
    EXPECT_EQ(focus, (std::vector<int>{IDC_FANCAL_C_RING3, IDC_FANCAL_C_RING3, IDC_FANCAL_N_RING4}));
    EXPECT_EQ(Cal().m_dFanC[4][3], 6.1);
    EXPECT_EQ(Cal().m_dFanN[4][4], 0.52);
    EXPECT_EQ(Cal().m_strFanN[4][4], L".52");
}

TEST_F(FanCalibrationEditorTest, ClosedAnotherWayAnInvalidFieldTakesBackItsValue)
{
    Cal().m_strFanN[0][1] = L"0.4900";
    Cal().m_dFanN[0][1] = 0.49;
    Cal().m_bCustomN[0][1] = 1;
    int bOpenAfterEsc = 0;
    const INT_PTR nResult = RunEditor(0, {
        [&](HWND h) {
            TypeInto(h, IDC_FANCAL_C_RING1, L"");
            TypeInto(h, IDC_FANCAL_N_RING1, L"0");
            TypeInto(h, IDC_FANCAL_C_RING0, L"500");
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        },
        [&](HWND h) {
            bOpenAfterEsc = ::IsWindowVisible(h);
            ::PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(bOpenAfterEsc, 1);
    // The emptied and zeroed fields as they were, with what the file will say.
    EXPECT_EQ(Cal().m_strFanC[0][1], L"190.1");
    EXPECT_EQ(Cal().m_dFanC[0][1], 190.1);
    EXPECT_EQ(Cal().m_bCustomC[0][1], 0);
    EXPECT_EQ(Cal().m_strFanN[0][1], L"0.4900");
    EXPECT_EQ(Cal().m_dFanN[0][1], 0.49);
    EXPECT_EQ(Cal().m_bCustomN[0][1], 1);
    // A valid change stays.
    EXPECT_EQ(Cal().m_dFanC[0][0], 500.0);
    EXPECT_EQ(Cal().m_bAnyCustom, 1);

    CString strFile = Cal().WriteCalibrationKeys();
    strFile.Replace(L"\n", L"\r\n");
    ReadFile(strFile);
    EXPECT_EQ(Flow(L'3', 1, 30.0), 190.1 * std::pow(30.0, 0.49));
}

TEST_F(FanCalibrationEditorTest, SetToDefaultsAndTheLastFactoryValueEmptyTheDate)
{
    Cal().m_strCalDateUniv = L"20180705";
    Cal().m_strCalDateLocal = CSimbrel1View::FormatDateKeyLocal(L"20180705");
    Cal().m_strFanC[2][0] = L"440.0";
    Cal().m_dFanC[2][0] = 440.0;
    Cal().m_bCustomC[2][0] = 1;
    SYSTEMTIME shown{};
    DWORD dwShown = 0;
    std::wstring dateAfterEdit;
    std::wstring c0;
    RunEditor(2, {
        [&](HWND h) {
            dwShown = static_cast<DWORD>(::SendDlgItemMessageW(h, IDC_FANCAL_DATE, DTM_GETSYSTEMTIME, 0,
                                                               reinterpret_cast<LPARAM>(&shown)));
            TypeInto(h, IDC_FANCAL_N_RING3, L"0.6");
        },
        [&](HWND h) {
            // The date stays while a value is custom.
            dateAfterEdit = Cal().m_strCalDateUniv.GetString();
            SendClicked(h, IDC_FANCAL_SET_TO_DEFAULTS);
        },
        [&](HWND h) {
            c0 = Text(h, IDC_FANCAL_C_RING0);
            SendClicked(h, IDOK);
        },
    });
    EXPECT_EQ(dwShown, static_cast<DWORD>(GDT_VALID));
    EXPECT_EQ(shown.wYear, 2018);
    EXPECT_EQ(shown.wMonth, 7);
    EXPECT_EQ(shown.wDay, 5);
    EXPECT_EQ(dateAfterEdit, L"20180705");
    EXPECT_EQ(c0, L"438.7");
    EXPECT_EQ(Cal().m_dFanC[2][0], 438.7);
    EXPECT_EQ(Cal().m_dFanN[2][3], 0.5157);
    EXPECT_EQ(Cal().m_bAnyCustom, 0);
    EXPECT_TRUE(Cal().m_strCalDateUniv.IsEmpty());
    EXPECT_TRUE(Cal().m_strCalDateLocal.IsEmpty());

    // Typing the factory value back over the only custom one empties it too.
    Cal().m_strCalDateUniv = L"20180705";
    Cal().m_strFanC[2][1] = L"161.0";
    Cal().m_dFanC[2][1] = 161.0;
    Cal().m_bCustomC[2][1] = 1;
    RunEditor(2, {
        [&](HWND h) { TypeInto(h, IDC_FANCAL_C_RING1, L"160.8"); },
        [&](HWND h) { SendClicked(h, IDOK); },
    });
    EXPECT_EQ(Cal().m_bCustomC[2][1], 0);
    EXPECT_TRUE(Cal().m_strCalDateUniv.IsEmpty());
}

TEST_F(FanCalibrationEditorTest, AnInvalidDateShowsABlankPickerAndIsKept)
{
    Cal().m_strCalDateUniv = L"2018x705";
    Cal().m_strFanC[0][0] = L"510.0";
    Cal().m_dFanC[0][0] = 510.0;
    Cal().m_bCustomC[0][0] = 1;
    SYSTEMTIME shown{};
    RunEditor(0, {[&](HWND h) {
        ::SendDlgItemMessageW(h, IDC_FANCAL_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        SendClicked(h, IDOK);
    }});
    // Blank: the picker holds today under the format " ".
    EXPECT_EQ(KeyOf(shown), TodayKey());
    EXPECT_EQ(Cal().m_strCalDateUniv, L"2018x705");
    EXPECT_TRUE(Cal().m_strCalDateLocal.IsEmpty());
}

TEST_F(FanCalibrationEditorTest, EnterMovesToTheNextFieldAndHelpShowsTopic13)
{
    std::vector<int> focus;
    RunEditor(0, {
        [&](HWND h) {
            ::SendMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(h, IDC_FANCAL_C_RING5)), TRUE);
            PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
        },
        [&](HWND) {
            focus.push_back(::GetDlgCtrlID(::GetFocus()));
            PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
        },
        [&](HWND h) {
            focus.push_back(::GetDlgCtrlID(::GetFocus()));
            SendClicked(h, IDC_FANCAL_HELP);
        },
        [&](HWND h) { SendClicked(h, IDOK); },
    }, [&] { m_answerer.ReplyToDialog(IDD_HELP_PANEL, IDOK); });
    // Past the last field the date and buttons are skipped, back to the first.
    EXPECT_EQ(focus, (std::vector<int>{IDC_FANCAL_N_RING5, IDC_FANCAL_C_RING0}));
    ASSERT_FALSE(m_answerer.dialogs.empty());
    bool bHelpShown = false;
    for (const auto& shown : m_answerer.dialogs)
        bHelpShown = bHelpShown || shown.nIDTemplate == IDD_HELP_PANEL;
    EXPECT_TRUE(bHelpShown);
}

TEST_F(FanCalibrationEditorTest, ThePickedDateIsStoredWithItsLocalForm)
{
    Cal().m_strFanC[0][0] = L"510.0";
    Cal().m_dFanC[0][0] = 510.0;
    Cal().m_bCustomC[0][0] = 1;
    std::wstring onFocus;
    RunEditor(0, {
        [&](HWND h) {
            // A blank picker that takes the focus shows and stores its date.
            ::SendMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(h, IDC_FANCAL_DATE)), TRUE);
            onFocus = Cal().m_strCalDateUniv.GetString();
            // The user picks the next day, month or year with the arrow keys.
            ::PostMessageW(::GetDlgItem(h, IDC_FANCAL_DATE), WM_KEYDOWN, VK_RIGHT, 1);
            ::PostMessageW(::GetDlgItem(h, IDC_FANCAL_DATE), WM_KEYDOWN, VK_UP, 1);
        },
        [&](HWND h) { SendClicked(h, IDOK); },
    });
    EXPECT_EQ(onFocus, TodayKey());
    EXPECT_NE(Cal().m_strCalDateUniv.GetString(), onFocus);
    EXPECT_TRUE(CSimbrel1View::IsValidDateKey(Cal().m_strCalDateUniv));
    EXPECT_EQ(Cal().m_strCalDateLocal, CSimbrel1View::FormatDateKeyLocal(Cal().m_strCalDateUniv));
}
