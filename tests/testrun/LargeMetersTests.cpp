// The large meters, the zone captions, the flow and fan labels and the ring
// and direction lists of the test screen.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "res/resource.h"
#include "testrun/LargeDigitalMeter.h"
#include "testrun/TestGraph1.h"
#include "tests/MetafileRecorder.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

void DrainQueue()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_PAINT) {
            ::DispatchMessageW(&msg);
            ::ValidateRect(msg.hwnd, nullptr);
        }
    }
}

TEST(LargeMeters, GeometryOfAPlotThreeHundredPixelsHigh)
{
    const CRect rcPlot(100, 40, 700, 340);
    const CTestGraph1::CLargeMeterLayout layout = CTestGraph1::ComputeLargeMeterLayout(rcPlot);
    for (int k = 0; k < 3; ++k) {
        const CRect& rc = layout.rcMeter[k];
        EXPECT_EQ(50, rc.Height()) << k;
        EXPECT_EQ(165, rc.Width()) << k;
        EXPECT_EQ(rcPlot.right - 25, rc.right) << k;
        EXPECT_EQ(rcPlot.top + 25 + 62 * k, rc.top) << k;
    }
    // The label sits left of its box, half a box wider, the value text a
    // little above the box and short of its right edge.
    const CRect rc(400, 100, 565, 150);
    EXPECT_EQ(CRect(400 - 165 - 6 - 2 - 82, 100, 565 - 165 - 6 - 2, 150), CLargeDigitalMeter::GetLabelRect(rc, 1));
    EXPECT_EQ(CRect(400 + 173, 100, 565 + 173 + 82, 150), CLargeDigitalMeter::GetLabelRect(rc, 0));
    EXPECT_EQ(CRect(400, 94, 559, 153), CLargeDigitalMeter::GetValueTextRect(rc));
}

class LargeMeterDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pStore = m_view->m_pTestGraph;
        m_view->m_pSettings->m_chMethodLetter[0] = L'A';
    }
    void TearDown() override
    {
        if (m_pStore->GetSafeHwnd() != nullptr)
            m_pStore->DestroyWindow();
        DrainQueue();
        m_pStore->m_bLargeMeters = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    CTestView m_view{L"large-meters"};
    CTestGraph1* m_pStore = nullptr;
    int m_nSavedDirection = 0;
};

TEST_F(LargeMeterDrawing, ThreeMetersWithTheirLabelsValuesAndFonts)
{
    CTestGraph1& s = *m_pStore;
    s.m_strResults = L"4.56";
    s.m_strFlow = L"1234";
    s.m_strBuildingPressure = L"-50.1";
    m_view->m_nFlowUnit = 1;
    m_view->m_pSettings->m_nStandard = 0;
    const CRect rcPlot(100, 40, 700, 340);
    CMetafileRecorder recorder;
    s.DrawLargeMeters(&recorder.Dc(), rcPlot);
    const CRecordedDrawing drawing = recorder.Finish();
    const wchar_t* labels[3] = {L"ACH50", L"Flow (m³/h)", L"Building Pressure (Pa)"};
    const wchar_t* values[3] = {L"4.56", L"1234", L"-50.1"};
    for (int k = 0; k < 3; ++k) {
        const CRecordedText* pLabel = drawing.Find(labels[k]);
        const CRecordedText* pValue = drawing.Find(values[k]);
        ASSERT_NE(nullptr, pLabel) << k;
        ASSERT_NE(nullptr, pValue) << k;
        EXPECT_EQ(-20, pLabel->font.lfHeight) << k;   // 0.4 of the box
        EXPECT_EQ(FW_BOLD, pLabel->font.lfWeight);
        EXPECT_EQ(-56, pValue->font.lfHeight) << k;   // the box and an eighth
        EXPECT_EQ(std::wstring(L"Arial"), pValue->font.lfFaceName);
        // Label on the left of its box, value inside it.
        const CRect& rcMeter = s.m_rcLargeMeter[k];
        EXPECT_LT(pLabel->pt.x, rcMeter.left) << k;
        EXPECT_GE(pValue->pt.x, rcMeter.left) << k;
        EXPECT_LE(pValue->pt.x, rcMeter.right) << k;
    }
    // Each frame has its two bevel polygons.
    EXPECT_EQ(6u, drawing.polygons.size());
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), drawing.polygons[0].brush);
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), drawing.polygons[1].brush);

    // Never on a printer.
    CMetafileRecorder printer;
    printer.Dc().m_bPrinting = true;
    s.DrawLargeMeters(&printer.Dc(), rcPlot);
    EXPECT_TRUE(printer.Finish().texts.empty());
}

TEST_F(LargeMeterDrawing, FirstLabelByStandardAndTheFlowLabelByUnit)
{
    CTestGraph1& s = *m_pStore;
    struct Case {
        int nStandard;
        const wchar_t* pszLabel;
    } cases[] = {{0, L"ACH50"}, {1, L"n50 (1/h)"}, {2, L"ACH50"}, {3, L"n50 (1/h)"}};
    for (const Case& c : cases) {
        m_view->m_pSettings->m_nStandard = c.nStandard;
        EXPECT_STREQ(c.pszLabel, s.GetLargeMeterLabel(0).GetString()) << c.nStandard;
    }
    const wchar_t* flows[3] = {L"Flow (cfm)", L"Flow (m³/h)", L"Flow (l/s)"};
    for (int u = 0; u < 3; ++u) {
        m_view->m_nFlowUnit = u;
        s.UpdateFlowUnitLabel();
        EXPECT_STREQ(flows[u], s.m_strFlowCaption.GetString());
    }
}

TEST(LargeMeterLists, RingItemsPerFanCode)
{
    struct Case {
        wchar_t chFan;
        std::vector<std::wstring> items;
    } cases[] = {
        {L'A', {L"Open", L"Ring 1", L"Ring 2", L"Ring 3"}},
        {L'B', {L"Open", L"Ring 1", L"Ring 2", L"Ring 3", L"Ring 4"}},
        {L'4', {L"Open", L"Ring A", L"Ring B", L"Ring C", L"Ring D", L"Ring E"}},
        {L'3', {L"Open", L"Ring A", L"Ring B", L"Ring C", L"Ring D", L"Ring E"}},
        {L'5', {L"Open", L"Ring A", L"Ring B", L"Ring C", L"Ring D", L"Ring E"}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> items;
        for (const CString& str : CTestGraph1::GetRingListItems(c.chFan))
            items.emplace_back(str.GetString());
        EXPECT_EQ(c.items, items) << char(c.chFan);
    }
    EXPECT_EQ(IDS_FAN_BLOWER_DOOR_S_230, static_cast<int>(CTestGraph1::GetFanTypeStringId(L'4')));
    EXPECT_EQ(0u, CTestGraph1::GetFanTypeStringId(L'7'));
}

std::vector<std::wstring> ListItems(HWND hList)
{
    std::vector<std::wstring> items;
    const int n = static_cast<int>(::SendMessageW(hList, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t sz[64] = {};
        ::SendMessageW(hList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(sz));
        items.emplace_back(sz);
    }
    return items;
}

TEST_F(LargeMeterDrawing, ScreenListsFanLabelsAndZoneCaptions)
{
    CTestGraph1& s = *m_pStore;
    m_view->m_pEquipment->m_chFanCode = L'B';
    ASSERT_NE(0, s.ShowTestGraph());
    const HWND hWnd = s.GetSafeHwnd();
    s.FillRingCombo();
    const HWND hRing = ::GetDlgItem(hWnd, IDC_TG_RING_LIST);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Ring 1", L"Ring 2", L"Ring 3", L"Ring 4"}), ListItems(hRing));
    EXPECT_EQ(0, ::SendMessageW(hRing, CB_GETCURSEL, 0, 0));
    g_nCurrentDirection = 1;
    s.FillDirectionCombo();
    const HWND hDirection = ::GetDlgItem(hWnd, IDC_TG_DIRECTION_LIST);
    EXPECT_EQ((std::vector<std::wstring>{L"Pressurization", L"Depressurization"}), ListItems(hDirection));
    EXPECT_EQ(1, ::SendMessageW(hDirection, CB_GETCURSEL, 0, 0));
    s.m_CurrentRing[1] = 3;
    s.m_strFanType = L"unchanged";
    m_view->m_pEquipment->m_chFanCode = L'4';
    s.UpdateFanLabels();
    EXPECT_STREQ(L"Blower Door S (230V)", s.m_strFanType.GetString());
    EXPECT_EQ(3, s.m_nRingIndex);
    EXPECT_EQ(3, ::SendMessageW(hRing, CB_GETCURSEL, 0, 0));
    g_nCurrentDirection = 0;

    // Captions for P3 and P4; P5 is off, so P6 gets none though it is on.
    CTestSettingsDialog& settings = *m_view->m_pSettings;
    settings.m_bZonalActive = 1;
    const int active[6] = {1, 1, 0, 1, 0, 0};
    for (int z = 0; z < 6; ++z) {
        settings.m_nZoneActive[0][z] = active[z];
        s.m_strZoneCaption[z].Format(L"Caption P%d", z + 3);
    }
    CMetafileRecorder recorder;
    s.DrawZoneLabels(&recorder.Dc());
    const CRecordedDrawing drawing = recorder.Finish();
    ASSERT_NE(nullptr, drawing.Find(L"Zonal Pressures (Pa)"));
    EXPECT_EQ(FW_NORMAL, drawing.Find(L"Zonal Pressures (Pa)")->font.lfWeight);
    EXPECT_NE(nullptr, drawing.Find(L"Caption P3"));
    EXPECT_NE(nullptr, drawing.Find(L"Caption P4"));
    EXPECT_EQ(nullptr, drawing.Find(L"Caption P6"));
    // Each caption ends left of its readout.
    CRect rcReadout;
    ::GetWindowRect(::GetDlgItem(hWnd, 1529), &rcReadout);
    ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rcReadout), 2);
    EXPECT_LT(drawing.Find(L"Caption P4")->pt.x, rcReadout.left);
    settings.m_bZonalActive = 0;
}

TEST_F(LargeMeterDrawing, ZoneLabelsNameTheLinkAndChannelOfEachActiveZone)
{
    CTestGraph1& s = *m_pStore;
    CSimbrel1View& view = *m_view.Get();
    CTestSettingsDialog& settings = *view.m_pSettings;
    settings.m_bZonalActive = 1;
    view.m_bAutoSelect = 0;
    const int active[6] = {1, 0, 1, 0, 0, 0};
    for (int z = 0; z < 6; ++z) {
        settings.m_nZoneActive[0][z] = active[z];
        settings.m_strZoneName[0][z].Format(L"Zone %d", z + 3);
    }
    // A gauge for building and fan, a second gauge for P3 and P4, a box
    // for P5 and P6.
    const wchar_t* serials[3] = {L"RQ40 - 1", L"RQ40 - 2", L"ZEB8 - 3"};
    for (int i = 0; i < 3; ++i) {
        view.m_nComPort[i] = 201 + 2 * i;
        view.m_pLink[i]->m_bConnected = 1;
        view.m_pLink[i]->m_bGauge = i < 2 ? 1 : 0;
        view.m_pLink[i]->m_strModelSerial = serials[i];
        s.m_DeviceChannels[i] = 2;
    }
    s.m_DevicesInUse = 3;
    s.m_ChannelsInUse = 6;
    ASSERT_NE(0, s.ShowTestGraph());
    s.UpdateZoneLabels();
    EXPECT_STREQ(L"RQ40 - 2 Ch A", s.m_strZoneCaption[0].GetString());
    EXPECT_STREQ(L"Zone 3", s.m_strZoneLabel[0].GetString());
    EXPECT_EQ(0xc00000u, s.m_crZoneColour[0]);
    EXPECT_TRUE(s.m_strZoneCaption[1].IsEmpty());   // P4 is off
    EXPECT_STREQ(L"ZEB8 - 3 Ch P1", s.m_strZoneCaption[2].GetString());
    EXPECT_EQ(0x8000u, s.m_crZoneColour[2]);
    const HWND hWnd = s.GetSafeHwnd();
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hWnd, 1528)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hWnd, 1529)));

    // A link not connected: the readouts are emptied.
    view.m_pLink[2]->m_bConnected = 0;
    s.m_strZoneReadout[2] = L"5.0";
    s.UpdateZoneLabels();
    EXPECT_TRUE(s.m_strZoneReadout[2].IsEmpty());
    for (int i = 0; i < 3; ++i) {
        view.m_nComPort[i] = 0;
        view.m_pLink[i]->m_bConnected = 0;
    }
    s.m_DevicesInUse = 0;
    s.m_ChannelsInUse = 0;
    settings.m_bZonalActive = 0;
}

TEST_F(LargeMeterDrawing, ScreenshotOfLargeMeterMode)
{
    CTestGraph1& s = *m_pStore;
    m_view->m_pSettings->m_nStandard = 1;
    ASSERT_NE(0, s.ShowTestGraph());
    s.m_bLargeMeters = 1;
    s.m_strResults = L"3.42";
    s.m_strFlow = L"2310";
    s.m_strBuildingPressure = L"50.2";
    s.m_strFanPressure = L"180.4";
    s.UpdateData(FALSE);
    s.Invalidate();
    s.UpdateWindow();
    EXPECT_FALSE(s.m_rcLargeMeter[0].IsRectEmpty());
    const std::wstring path = SaveScreenshot(s.GetSafeHwnd(), L"test-screen-large-meters.png");
    if (!path.empty())
        std::wcout << L"screenshot: " << path << std::endl;
    m_view->m_pSettings->m_nStandard = 0;
}

}  // namespace
