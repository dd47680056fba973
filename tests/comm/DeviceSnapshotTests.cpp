// The connected-device section from real links: a serial gauge and a box
// identified through their simulators, snapshotted at the end of a test,
// written, and read back by another store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"
#include "tests/app/MessageTestSupport.h"
#include "tests/comm/CommTestSupport.h"

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
}
