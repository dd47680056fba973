// The device panels and the Data Box Info dialog: where each table goes and
// what it shows for a gauge on a COM port, a network gauge and a box; every
// paint identifies the device again (the simulators see the traffic); and
// the dialog's tabs, one page shown at a time, against the view's links.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "comm/DeviceDataDialog.h"
#include "comm/DevicePanelPainter.h"
#include "comm/QarCommunications.h"
#include "res/resource.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/BoxModel.h"
#include "tools/NetworkGaugeModel.h"

namespace {

using Cells = std::vector<std::vector<CString>>;

// 640 x 424 leaves 640 x 400: margin 20, text height 12, base rectangle
// (20, 20, 310, 92), 72 high.
const CRect kClient(0, 0, 640, 424);

CWifiDeviceInfo Descriptor(const CNetworkGaugeModel& model)
{
    CWifiDeviceInfo device;
    device.m_strAddress = L"127.0.0.1";
    device.m_nPort = model.GetPort();
    device.m_nSerialNumber = 4321;
    device.m_nDeviceType = model.GetDeviceType();
    return device;
}

bool HasInk(CCanvas& canvas)
{
    return canvas.CountPixels(RGB(255, 255, 255), CRect(0, 0, canvas.Width(), canvas.Height())) <
           canvas.Width() * canvas.Height();
}

std::wstring TabText(HWND hTab, int nItem)
{
    wchar_t szText[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = szText;
    item.cchTextMax = 64;
    ::SendMessageW(hTab, TCM_GETITEMW, nItem, reinterpret_cast<LPARAM>(&item));
    return szText;
}

// What a click on a tab makes the tab control do.
void SelectTab(HWND hDialog, int nItem)
{
    HWND hTab = ::GetDlgItem(hDialog, IDC_DEVICE_DATA_TABS);
    ::SendMessageW(hTab, TCM_SETCURSEL, nItem, 0);
    NMHDR header{hTab, IDC_DEVICE_DATA_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(hDialog, WM_NOTIFY, IDC_DEVICE_DATA_TABS, reinterpret_cast<LPARAM>(&header));
}

}  // namespace

TEST(DevicePanelLayout, GaugeTablesFollowTheClientAreaAndTheLink)
{
    CQarCommunications link;
    link.m_bGauge = 1;
    link.m_strModelSerial = L"RQ40 - 4321";
    link.m_strCalDateShort = L"03/05/19";
    link.m_strFirmware = L"17";
    link.m_strTypeText = L"2";
    link.m_strSupply = L"9.0 Volts";
    link.m_nPortIndex = 201;
    for (int i = 0; i < 12; ++i)
        link.m_strConstants[i] = CString::FormatText(L"c%d", i);

    CPanelLayout serial = CDevicePanelPainter::LayoutDevicePanel(link, kClient);
    EXPECT_EQ(12, serial.nTextHeight);
    ASSERT_EQ(3u, serial.tables.size());
    // Identity: the base moved down by a quarter of 72; link: moved right by
    // 290 + 20, widened by 20 and moved back 20; constants: 3/2 of 72 lower,
    // from the margin.
    EXPECT_EQ(CRect(20, 38, 310, 110), serial.tables[0].rcArea);
    EXPECT_EQ(CRect(310, 38, 620, 110), serial.tables[1].rcArea);
    EXPECT_EQ(CRect(20, 146, 620, 218), serial.tables[2].rcArea);
    EXPECT_EQ((Cells{{L"\\boldSerial Number", L"RQ40 - 4321"},
                     {L"\\boldCalibration Date", L"03/05/19"},
                     {L"\\boldFirmware Version", L"17"}}),
              serial.tables[0].cells);
    EXPECT_EQ((std::vector<double>{0.75, 0.25}), serial.tables[1].columnFractions);
    EXPECT_EQ((std::vector<CString>{L"\\boldSerial Port", L"COM 202"}), serial.tables[1].cells[2]);
    EXPECT_EQ(CString(L"\\boldCalibration Readings"), serial.tables[2].strTitle);
    EXPECT_EQ((std::vector<double>{0.19, 0.27, 0.27, 0.27}), serial.tables[2].columnFractions);
    EXPECT_EQ((Cells{{L"\\boldCh A Pos", L"c0", L"c1", L"c2"},
                     {L"\\boldCh A Neg", L"c3", L"c4", L"c5"},
                     {L"\\boldCh B Pos", L"c6", L"c7", L"c8"},
                     {L"\\boldCh B Neg", L"c9", L"c10", L"c11"}}),
              serial.tables[2].cells);

    link.m_bSocketOpen = 1;
    link.m_Device.m_strAddress = L"127.0.0.1";
    link.m_Device.m_nPort = 6001;
    CPanelLayout network = CDevicePanelPainter::LayoutDevicePanel(link, kClient);
    EXPECT_EQ((std::vector<double>{0.62, 0.38}), network.tables[1].columnFractions);
    EXPECT_EQ((std::vector<CString>{L"\\boldWifi IP Address : Port", L"127.0.0.1:6001"}), network.tables[1].cells[2]);
}

TEST(DevicePanelLayout, BoxTablesShowGainsByRange)
{
    CQarCommunications link;
    link.m_strModelSerial = L"LZT8 - 77";
    link.m_strTypeText = L"8";
    link.m_strSupply = L"4.75 Volts";
    link.m_nPortIndex = 0;
    link.m_strRangeGain[0] = L"r0";
    link.m_strRangeGain[1] = L"r1";
    for (int i = 0; i < 16; ++i)
        link.m_strChannelGain[i] = CString::FormatText(L"g%d", i);

    CPanelLayout layout = CDevicePanelPainter::LayoutDevicePanel(link, kClient);
    ASSERT_EQ(3u, layout.tables.size());
    // Identity a sixth of 72 lower; link beside it; gains 4/3 of 72 below the link.
    EXPECT_EQ(CRect(20, 32, 310, 104), layout.tables[0].rcArea);
    EXPECT_EQ(2, layout.tables[0].nRows);
    EXPECT_EQ((std::vector<double>{0.65, 0.35}), layout.tables[0].columnFractions);
    EXPECT_EQ(CRect(330, 32, 620, 104), layout.tables[1].rcArea);
    EXPECT_EQ((Cells{{L"\\boldNumber of Pressure Sensors", L"8"},
                     {L"\\boldVoltage:", L"4.75 Volts"},
                     {L"\\boldSerial Port", L"COM 1"}}),
              layout.tables[1].cells);
    const CPanelTable& gains = layout.tables[2];
    EXPECT_EQ(CRect(20, 128, 620, 200), gains.rcArea);
    ASSERT_EQ(10, gains.nRows);
    EXPECT_EQ((std::vector<CString>{L"", L"\\boldLo Range", L"\\boldHi Range"}), gains.cells[0]);
    EXPECT_EQ((std::vector<CString>{L"\\boldAnalog:", L"r1", L"r0"}), gains.cells[1]);
    EXPECT_EQ((std::vector<CString>{L"\\boldPressure #1:", L"g0", L"g1"}), gains.cells[2]);
    EXPECT_EQ((std::vector<CString>{L"\\boldPressure #8:", L"g14", L"g15"}), gains.cells[9]);
}

// An RQ80's twelve JSON constants in channel A positive, A negative, B
// positive, B negative order, read again by every paint.
TEST(DevicePanelPaint, NetworkGaugeIsIdentifiedAgainAtEachPaint)
{
    CSteppingClock clock{1000};
    CScopedProgramClock scopedClock{clock};
    CNetworkGaugeModel model(CNetworkGaugeModel::kRQ80);
    const char* const kKeys[12] = {"a_pos_l", "a_pos_q", "a_pos_c", "a_neg_l", "a_neg_q", "a_neg_c",
                                   "b_pos_l", "b_pos_q", "b_pos_c", "b_neg_l", "b_neg_q", "b_neg_c"};
    std::string record = R"({"qar":{"day":"5","month":"3","year":"2019")";
    for (int i = 0; i < 12; ++i)
        record += std::string(",\"") + kKeys[i] + "\":\"" + std::to_string(i + 1) + ".5\"";
    ASSERT_EQ("ok", model.Apply("record " + record + "}}"));
    ASSERT_TRUE(model.Start());
    CQarCommunications link;
    link.m_bNetwork = 1;
    link.m_Device = Descriptor(model);
    link.ConnectDevice();
    ASSERT_EQ(1, link.m_bIdentified) << link.m_strLastError.GetString();

    CDevicePanelPainter painter;
    for (int nPaint = 0; nPaint < 2; ++nPaint) {
        model.TakeRequests();
        CCanvas canvas(640, 424, RGB(255, 255, 255));
        painter.DrawLinkPanel(&canvas.DC(), kClient, &link);
        EXPECT_EQ((std::vector<std::string>{"CG", "GB", "GF"}), model.TakeRequests()) << "paint " << nPaint;
        EXPECT_TRUE(HasInk(canvas));
    }
    const CPanelLayout layout = CDevicePanelPainter::LayoutDevicePanel(link, kClient);
    EXPECT_EQ((Cells{{L"\\boldCh A Pos", L"1.500000", L"2.500000e+00", L"3.500000e+00"},
                     {L"\\boldCh A Neg", L"4.500000", L"5.500000e+00", L"6.500000e+00"},
                     {L"\\boldCh B Pos", L"7.500000", L"8.500000e+00", L"9.500000e+00"},
                     {L"\\boldCh B Neg", L"10.500000", L"1.150000e+01", L"1.250000e+01"}}),
              layout.tables[2].cells);
    link.CloseDevice();

    // A link that is not identified shows nothing and says nothing.
    CQarCommunications idle;
    CCanvas canvas(640, 424, RGB(255, 255, 255));
    painter.DrawLinkPanel(&canvas.DC(), kClient, &idle);
    EXPECT_FALSE(HasInk(canvas));
}

TEST(DevicePanelPaint, SerialGaugeAndBoxAreIdentifiedAgainAtEachPaint)
{
    ASSERT_TRUE(SerialPortsReady());
    CDevicePanelPainter painter;
    {
        CGaugeSimulator gauge;
        ASSERT_TRUE(gauge.Start(kGaugePort, {"serial 555"}));
        CQarCommunications link;
        link.InitChannelTable();
        link.m_nFirstPort = link.m_nLastPort = kLinkPort;
        link.ConnectDevice();
        ASSERT_EQ(1, link.m_bIdentified);
        gauge.TakeLog();
        CCanvas canvas(640, 424, RGB(255, 255, 255));
        painter.DrawLinkPanel(&canvas.DC(), kClient, &link);
        const std::vector<int> log = gauge.TakeLog();
        EXPECT_GE(std::count(log.begin(), log.end(), 32), 49) << "every memory byte read again";
        EXPECT_TRUE(HasInk(canvas));
        link.CloseDevice();
    }
    CBoxModel box;
    DWORD nError = 0;
    ASSERT_TRUE(box.Start(kGaugePort, nError)) << nError;
    CQarCommunications link;
    link.InitChannelTable();
    link.m_nFirstPort = link.m_nLastPort = kLinkPort;
    link.ConnectDevice();
    ASSERT_EQ(1, link.m_bIdentified);
    ASSERT_EQ(0, link.m_bGauge);
    box.Control("log");
    CCanvas canvas(640, 424, RGB(255, 255, 255));
    painter.DrawLinkPanel(&canvas.DC(), kClient, &link);
    EXPECT_NE(std::string::npos, (box.Control("log") + " ").find(" 89 ")) << "register 18 (0x59) read again";
    EXPECT_TRUE(HasInk(canvas));
    link.ClosePort();
    box.Stop();
}

// Tabs per device count, one page at a time, and the pages painting the
// view's links: the network gauge on the primary tab, the box on aux 1.
TEST(DeviceDataDialogTest, TabsShowOnePageAtATime)
{
    ASSERT_TRUE(SerialPortsReady());
    CSteppingClock clock{1000};
    CScopedProgramClock scopedClock{clock};
    CTestView view(L"DeviceDataDialog");
    CSimbrel1View* pSavedView = g_pView;
    g_pView = view.Get();
    struct RestoreView {
        CSimbrel1View* p;
        ~RestoreView() { g_pView = p; }
    } restore{pSavedView};

    CNetworkGaugeModel model(CNetworkGaugeModel::kRQ80);
    ASSERT_TRUE(model.Start());
    CQarCommunications& gauge = *view->m_pLink[0];
    gauge.m_bNetwork = 1;
    gauge.m_Device = Descriptor(model);
    gauge.ConnectDevice();
    ASSERT_EQ(1, gauge.m_bIdentified);
    CBoxModel box;
    DWORD nError = 0;
    ASSERT_TRUE(box.Start(kGaugePort, nError)) << nError;
    CQarCommunications& boxLink = *view->m_pLink[1];
    boxLink.m_nFirstPort = boxLink.m_nLastPort = kLinkPort;
    boxLink.ConnectDevice();
    ASSERT_EQ(1, boxLink.m_bIdentified);
    model.TakeRequests();
    box.Control("log");

    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver driver;
    CDeviceDataDialog dialog;
    dialog.m_TabCtrl.m_nTabCount = 3;
    auto pageShown = [&](int nPage) {
        for (int i = 0; i < 3; ++i) {
            HWND hPage = dialog.m_TabCtrl.m_pPages[i]->GetSafeHwnd();
            EXPECT_EQ(i == nPage, ::IsWindowVisible(hPage) != FALSE) << "page " << i;
        }
        EXPECT_TRUE(::IsWindowEnabled(dialog.m_TabCtrl.m_pPages[nPage]->GetSafeHwnd()));
    };
    answerer.RunDialog(
        IDD_DEVICE_DATA,
        driver.Run({
            [&](HWND h) {
                EXPECT_EQ(L"Data Box Info", WindowText(h));
                HWND hTab = ::GetDlgItem(h, IDC_DEVICE_DATA_TABS);
                ASSERT_EQ(3, static_cast<int>(::SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0)));
                EXPECT_EQ(L"Primary Device", TabText(hTab, 0));
                EXPECT_EQ(L"Aux 2 Device", TabText(hTab, 2));
                EXPECT_EQ(nullptr, dialog.m_TabCtrl.m_Aux3Page.GetSafeHwnd());
                pageShown(0);
                ::UpdateWindow(dialog.m_TabCtrl.m_pPages[0]->GetSafeHwnd());
                EXPECT_FALSE(model.TakeRequests().empty()) << "the primary page's paint identified the gauge";
                SaveScreenshot(h, L"device-data-gauge.png");
                SelectTab(h, 1);
            },
            [&](HWND h) {
                pageShown(1);
                EXPECT_FALSE(::IsWindowEnabled(dialog.m_TabCtrl.m_pPages[0]->GetSafeHwnd()));
                ::UpdateWindow(dialog.m_TabCtrl.m_pPages[1]->GetSafeHwnd());
                EXPECT_FALSE(box.Control("log") == "ok") << "the box page's paint identified the box";
                SaveScreenshot(h, L"device-data-box.png");
                SelectTab(h, 1);
                PressKey(VK_ESCAPE);
            },
            [&](HWND h) {
                pageShown(1);
                EXPECT_TRUE(::IsWindowVisible(h)) << "Esc closed the dialog";
                ClickItem(h, IDOK);
            },
        }));
    EXPECT_EQ(IDOK, dialog.DoModal());

    CDeviceDataDialog single;
    single.m_TabCtrl.m_nTabCount = 1;
    answerer.RunDialog(IDD_DEVICE_DATA, driver.Run({
                                            [&](HWND h) {
                                                HWND hTab = ::GetDlgItem(h, IDC_DEVICE_DATA_TABS);
                                                EXPECT_EQ(1, static_cast<int>(::SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0)));
                                                ClickItem(h, IDOK);
                                            },
                                        }));
    EXPECT_EQ(IDOK, single.DoModal());
    gauge.CloseDevice();
    boxLink.ClosePort();
    box.Stop();
}
