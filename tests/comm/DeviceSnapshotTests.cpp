// The connected-device section from real links: a serial gauge and a box
// identified through their simulators, and network gauges connected by
// auto-selection to the network gauge model, snapshotted at the end of a
// test, written, and read back by another store.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"

namespace {

class DeviceSnapshot : public testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedDirection = g_nCurrentDirection;
        g_nCurrentDirection = 0;
        m_pScreen = m_view->m_pTestGraph;
        m_view->m_bAutoSelect = 0;
        CTestSettingsDialog& settings = *m_view->m_pSettings;
        settings.m_chMethodLetter[0] = L'A';
        settings.m_chMethodLetter[1] = L'A';
    }
    void TearDown() override
    {
        m_view->CloseAllDevicePorts();
        for (int& nPort : m_view->m_nComPort)
            nPort = 0;
        g_nCurrentDirection = m_nSavedDirection;
    }
    void SetZones(int nZones)
    {
        CTestSettingsDialog& settings = *m_view->m_pSettings;
        settings.m_bZonalActive = nZones > 0 ? 1 : 0;
        for (int z = 0; z < CTestGraph1::kZoneChannels; ++z)
            settings.m_nZoneActive[0][z] = z < nZones ? 1 : 0;
    }
    CQarCommunications& Link(int i) const { return *m_view->m_pLink[i]; }

    // Everything a link shows of itself must be what the snapshot holds, and
    // the written section must give it back to a store reading the file.
    void ExpectSnapshotComesBack(int nDevices)
    {
        m_pScreen->CaptureDeviceInfo();
        ASSERT_EQ(nDevices, m_pScreen->m_DevicesCaptured);
        const CString strSection = m_pScreen->WriteDeviceInfo();
        for (int r = 0; r < nDevices; ++r) {
            SCOPED_TRACE(r);
            const CQarCommunications& link = Link(r);
            const CString* pText = m_pScreen->m_DeviceInfo[r].m_strText;
            EXPECT_EQ(link.m_strModelSerial,
                      pText[CDeviceInfoStrings::kModel] + L" - " + pText[CDeviceInfoStrings::kSerialNumber]);
            EXPECT_EQ(link.m_strSupply, pText[CDeviceInfoStrings::kSupply]);
            EXPECT_EQ(link.m_strCalDateNumeric, pText[CDeviceInfoStrings::kCalDateNumeric]);
            const CString strModelKey = CTestGraph1::MakeAuxKey(r, L"Micromanometer_Model:");
            EXPECT_GE(strSection.Find(strModelKey + L" " + pText[CDeviceInfoStrings::kModel] + L"\n"), 0)
                << strSection.ToAnsi();
            if (link.m_bGauge) {
                for (int c = 0; c < 12; ++c) {
                    EXPECT_EQ(link.m_strConstants[c], pText[CDeviceInfoStrings::kFirstConstant + c]) << c;
                    EXPECT_GE(strSection.Find(CTestGraph1::MakeGaugeCalibrationKey(c, r) + L" " +
                                              link.m_strConstants[c] + L"\n"),
                              0)
                        << c;
                }
            } else {
                for (int j = 0; j < link.m_nChannelCount; ++j)
                    EXPECT_GE(strSection.Find(CTestGraph1::MakeChannelCalibrationKey(0, 1, j, r) + L" " +
                                              link.m_strChannelGain[2 * j + 1] + L"\n"),
                              0)
                        << j;
            }
        }

        // Another copy of the program opens the file: the reader's store has
        // the same texts, with the local date in its own date form.
        CTestView reader{L"snapshot-reader"};
        reader->m_pSettings->m_chMethodLetter[0] = L'A';
        reader->m_strFileText = strSection;
        ASSERT_EQ(nDevices, reader->m_pTestGraph->ReadDeviceInfo(0));
        for (int r = 0; r < nDevices; ++r) {
            SCOPED_TRACE(r);
            const CString* pWritten = m_pScreen->m_DeviceInfo[r].m_strText;
            const CString* pRead = reader->m_pTestGraph->m_DeviceInfo[r].m_strText;
            for (int k = 0; k < CDeviceInfoStrings::kCount; ++k) {
                if (k == CDeviceInfoStrings::kCalDateShort)
                    continue;
                EXPECT_EQ(pWritten[k], pRead[k]) << k;
            }
            EXPECT_EQ(CSimbrel1View::FormatDateKeyLocal(pWritten[CDeviceInfoStrings::kCalDateNumeric]),
                      pRead[CDeviceInfoStrings::kCalDateShort]);
        }
    }

    CTestView m_view{L"device-snapshot"};
    CTestGraph1* m_pScreen = nullptr;
    int m_nSavedDirection = 0;
};

}  // namespace

TEST_F(DeviceSnapshot, SerialGaugeAndBoxAsTheirSimulatorsIdentifiedThem)
{
    ASSERT_TRUE(SerialPortsReady());
    CGaugeSimulator gauge, box;
    ASSERT_TRUE(gauge.Start(kGaugePort, {"model RQ40", "channels 2", "serial 4321", "firmware 17", "battery 91",
                                         "cal 7 5 18", "constant 0 1.25", "constant 4 -0.5", "constant 11 3e-4"}));
    ASSERT_TRUE(box.Start(kSecondGaugePort, {"box 8"}));
    m_view->m_nComPort[0] = kLinkPort;
    m_view->m_nComPort[1] = kSecondLinkPort;
    SetZones(3);
    ASSERT_EQ(1, m_pScreen->AllocateChannels());
    ASSERT_EQ(2, m_pScreen->m_DevicesInUse);
    ASSERT_EQ(1, Link(0).m_bGauge);
    ASSERT_EQ(0, Link(1).m_bGauge);
    EXPECT_EQ(CString(L"RQ40 - 4321"), Link(0).m_strModelSerial);
    EXPECT_EQ(CString(L"20180705"), Link(0).m_strCalDateNumeric);

    ExpectSnapshotComesBack(2);
    EXPECT_EQ(CString(L"4321"), m_pScreen->m_DeviceInfo[0].m_strText[CDeviceInfoStrings::kSerialNumber]);
    EXPECT_EQ(CString(L"1.250000"), m_pScreen->m_DeviceInfo[0].m_strText[CDeviceInfoStrings::kFirstConstant]);
    EXPECT_EQ(CString(L"2"), m_pScreen->m_DeviceInfo[0].m_strText[CDeviceInfoStrings::kChannelCount]);
    EXPECT_EQ(CString(L"8"), m_pScreen->m_DeviceInfo[1].m_strText[CDeviceInfoStrings::kChannelCount]);
}

// Auto-selection takes a network gauge either from the descriptor known from
// an earlier run or from the scan. Either way the link is identified after
// the connection, and each snapshot is of the gauge connected now: the cases
// run one after another on the same link, as a technician changes gauges.
TEST_F(DeviceSnapshot, NetworkGaugesAsAutoSelectionConnectedThem)
{
    using Kind = CNetworkGaugeModel::Kind;
    struct Case {
        const char* pszName;
        Kind kind;
        bool bScan;
        std::vector<std::string> setup;
        const wchar_t* pszModelSerial;
        const wchar_t* pszCalDate;
        const wchar_t* pszSupply;
        const wchar_t* pszConstants[2];  // the first and the last
    };
    const Case cases[] = {
        {"RQ80 known from an earlier run", Kind::kRQ80, false,
         {"serial 5150", "cal 3 5 2019", "volts 5.91", "firmware 17", "constant 0 1.5", "constant 11 -0.25"},
         L"RQ80 - 5150", L"20190305", L"5.91 Volts", {L"1.500000", L"-2.500000e-01"}},
        {"RQ40 behind its adapter, found by the scan", Kind::kRQ40Adapter, true,
         {"serial 6262", "cal 7 5 18", "battery 212", "constant 0 2.5", "constant 11 0.125"},
         L"RQ40 - 6262", L"20180705", L"9.0 Volts", {L"2.500000", L"1.250000e-01"}},
        {"RQ80 found by the scan", Kind::kRQ80, true,
         {"serial 7373", "cal 11 28 2021", "volts 4.87", "constant 0 0.75", "constant 11 3"},
         L"RQ80 - 7373", L"20211128", L"4.87 Volts", {L"0.750000", L"3.000000e+00"}},
    };
    // The waits after opening a connection pass on a clock that steps.
    CSteppingClock clock(1000);
    CScopedProgramClock scopedClock(clock);
    SetZones(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CNetworkGaugeModel model(c.kind);
        for (const std::string& line : c.setup)
            ASSERT_EQ("ok", model.Apply(line)) << line;
        ASSERT_TRUE(model.Start());
        m_view->m_bAutoSelect = 1;
        m_view->m_nPrimaryPort = -1;
        m_view->ResetNetDeviceRecord(m_view->m_NetDevice);
        if (c.bScan) {
            ASSERT_EQ("ok", model.Apply("announce every 100"));
        } else {
            CWifiDeviceInfo& known = m_view->m_NetDevice;
            known.m_strAddress = L"127.0.0.1";
            known.m_nPort = model.GetPort();
            known.m_nDeviceType = model.GetDeviceType();
            known.m_nSerialNumber = _wtoi(std::wcschr(c.pszModelSerial, L'-') + 2);
        }
        ASSERT_EQ(1, m_pScreen->AllocateChannels());
        ASSERT_EQ(1, m_pScreen->m_DevicesInUse);
        EXPECT_EQ(CString(c.pszModelSerial), Link(0).m_strModelSerial);

        ExpectSnapshotComesBack(1);
        const CString* pText = m_pScreen->m_DeviceInfo[0].m_strText;
        EXPECT_EQ(CString(c.pszCalDate), pText[CDeviceInfoStrings::kCalDateNumeric]);
        EXPECT_EQ(CString(c.pszSupply), pText[CDeviceInfoStrings::kSupply]);
        EXPECT_EQ(CString(L"2"), pText[CDeviceInfoStrings::kChannelCount]);
        EXPECT_EQ(CString(c.pszConstants[0]), pText[CDeviceInfoStrings::kFirstConstant]);
        EXPECT_EQ(CString(c.pszConstants[1]), pText[CDeviceInfoStrings::kFirstConstant + 11]);
        const CString strSection = m_pScreen->WriteDeviceInfo();
        int nConstantLines = 0;
        for (int nAt = strSection.Find(L"_Calibration:"); nAt >= 0; nAt = strSection.Find(L"_Calibration:", nAt + 1))
            ++nConstantLines;
        EXPECT_EQ(12, nConstantLines) << strSection.ToAnsi();
        EXPECT_GE(strSection.Find(L"Pr_Channels: 2\nDevice_Type: 2\n"), 0) << strSection.ToAnsi();

        Link(0).CloseDevice();
        model.Stop();
    }
    m_view->m_bAutoSelect = 0;
}
