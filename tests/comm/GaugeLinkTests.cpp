// The gauge link without a device: construction, channel defaults, the order
// of the port search, the reading limits and the display texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "comm/QarCommunications.h"

TEST(GaugeLinkRecord, ConstructionGivesTheDocumentedStartingState)
{
    CQarCommunications link;
    EXPECT_EQ(0, link.m_bGauge);
    EXPECT_EQ(256, link.m_nPortCount);
    EXPECT_EQ(-1, link.m_nFirstPort);
    EXPECT_EQ(-1, link.m_nLastPort);
    EXPECT_EQ(-1, link.m_nPortIndex);
    EXPECT_EQ(-1, link.m_nChannelCount);
    EXPECT_EQ(200, link.m_nReplyTimeout);
    EXPECT_EQ(100, link.m_nDataTimeout);
    EXPECT_EQ(nullptr, link.m_hPort);
    EXPECT_EQ(10000.0, link.m_dAverageA);
    EXPECT_EQ(10000.0, link.m_dAverageB);
    EXPECT_EQ(INVALID_SOCKET, link.m_ConnectSocket);
    EXPECT_TRUE(link.m_Device.m_strAddress.IsEmpty());
    EXPECT_EQ(0, link.m_Device.m_nSerialNumber);
    EXPECT_EQ(0, link.m_bConnected + link.m_bIdentified + link.m_bFailed + link.m_bOverRange + link.m_bNetwork);
}

TEST(GaugeLinkRecord, ChannelTableDefaults)
{
    CQarCommunications link;
    link.m_Channels[3].m_dGain[0] = 2.5;
    link.InitChannelTable();
    const short expectedChannels[16] = {1, 2, 3, 4, 5, 6, 7, 8, 20, 19, 18, 17, 24, 23, 22, 21};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(expectedChannels[i], link.m_Channels[i].m_nChannel) << i;
        EXPECT_EQ(i == 1 ? 0 : 1, link.m_Channels[i].m_nRange) << i;
        EXPECT_EQ(1.0, link.m_Channels[i].m_dGain[0]) << i;
        EXPECT_EQ(1.0, link.m_Channels[i].m_dGain[1]) << i;
    }
}

TEST(GaugeLinkPortSearch, OrderOfThePortsTried)
{
    using Order = std::vector<int>;
    // A last port below the first is raised to it: one port.
    EXPECT_EQ(Order{5}, CQarCommunications::GetPortSearchOrder(5, 3, -1, 256));
    EXPECT_EQ(Order{7}, CQarCommunications::GetPortSearchOrder(7, 7, 3, 256));
    EXPECT_EQ((Order{3, 4, 5, 6}), CQarCommunications::GetPortSearchOrder(3, 6, 40, 256));

    // Any port: from the one in use, every port once, wrapping after COM256.
    const Order fromCom255 = CQarCommunications::GetPortSearchOrder(-1, -1, 254, 256);
    ASSERT_EQ(256u, fromCom255.size());
    EXPECT_EQ(255, fromCom255[0]);
    EXPECT_EQ(256, fromCom255[1]);
    EXPECT_EQ(1, fromCom255[2]);
    EXPECT_EQ(254, fromCom255.back());
    const Order fromCom1 = CQarCommunications::GetPortSearchOrder(-1, 9, -1, 256);
    ASSERT_EQ(256u, fromCom1.size());
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(i + 1, fromCom1[i]);
}

TEST(GaugeLinkPortSearch, FirstPortAboveLastIsRaisedAndFailureLeavesNoPort)
{
    CQarCommunications link;
    link.m_nFirstPort = 197;
    link.m_nLastPort = 195;
    link.m_nPortIndex = 7;
    EXPECT_EQ(0, link.OpenDevicePort());  // the test prefix maps no COM197
    EXPECT_EQ(197, link.m_nLastPort);
    EXPECT_EQ(-1, link.m_nPortIndex);
}

TEST(GaugeLinkLimits, ValuesBeyondTheRangeOrTheHardLimitGiveZero)
{
    struct Case {
        double dValue;
        int bRQ80;
        double dResult;
        int bOverRange;
        int bFailed;
    };
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kInfinity = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {1250.0, 0, 1250.0, 0, 0},  {-1250.0, 0, -1250.0, 0, 0}, {1250.1, 0, 0.0, 1, 0},
        {-1250.1, 0, 0.0, 1, 0},    {5000.0, 0, 0.0, 1, 0},      {5000.1, 0, 0.0, 0, 1},
        {-5000.1, 0, 0.0, 0, 1},    {2500.0, 1, 2500.0, 0, 0},   {2500.1, 1, 0.0, 1, 0},
        {-2500.1, 1, 0.0, 1, 0},    {5000.1, 1, 0.0, 0, 1},      {0.0, 0, 0.0, 0, 0},
        {kNaN, 0, 0.0, 0, 1},       {kInfinity, 0, 0.0, 0, 1},   {-kInfinity, 1, 0.0, 0, 1},
    };
    for (const Case& c : cases) {
        CQarCommunications link;
        link.m_bRQ80 = c.bRQ80;
        const double dResult = link.CheckGaugeLimits(c.dValue);
        EXPECT_EQ(c.dResult, dResult) << c.dValue << (c.bRQ80 ? " RQ80" : "");
        EXPECT_EQ(c.bOverRange, link.m_bOverRange) << c.dValue << (c.bRQ80 ? " RQ80" : "");
        EXPECT_EQ(c.bFailed, link.m_bFailed) << c.dValue << (c.bRQ80 ? " RQ80" : "");
    }
}

namespace {

void FillGaugeIdentity(CQarCommunications& link)
{
    link.m_bConnected = 1;
    link.m_bGauge = 1;
    link.m_nTypeCode = 2;
    link.m_strModel = L"RQ40";
    link.m_nSerial = 1234;
    link.m_nCalMonth = 3;
    link.m_nCalDay = 5;
    link.m_nCalYear = 19;
    link.m_dBattery = 9.04;
    link.m_nFirmware = 17;
    const float constants[12] = {1.25f, -2.5f, 3.0517578125e-05f, 0.5f, 0.0f, -100.0f,
                                 2.0f, 0.0009765625f, 1024.0f, -0.75f, 6.103515625e-05f, 12.5f};
    for (int i = 0; i < 12; ++i)
        link.m_fConstants[i] = constants[i];
}

}  // namespace

TEST(GaugeLinkTexts, GaugeTextsAreFormattedOncePerIdentification)
{
    CQarCommunications link;
    FillGaugeIdentity(link);
    link.FormatDeviceInfo();
    EXPECT_EQ(1, link.m_bTextsFormatted);
    EXPECT_EQ(CString(L"2"), link.m_strTypeText);
    EXPECT_EQ(CString(L"RQ40 - 1234"), link.m_strModelSerial);
    EXPECT_EQ(CString(L"30519"), link.m_strCalDateDigits);
    EXPECT_EQ(CString(L"9.0 Volts"), link.m_strSupply);
    EXPECT_EQ(CString(L"17"), link.m_strFirmware);
    const wchar_t* constants[12] = {L"1.250000",     L"-2.500000e+00", L"3.051758e-05", L"0.500000",
                                    L"0.000000e+00", L"-1.000000e+02", L"2.000000",     L"9.765625e-04",
                                    L"1.024000e+03", L"-0.750000",     L"6.103516e-05", L"1.250000e+01"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(CString(constants[i]), link.m_strConstants[i]) << i;

    // Without clearing the flag a second call changes nothing.
    link.m_nSerial = 99;
    link.m_dBattery = 5.0;
    link.FormatDeviceInfo();
    EXPECT_EQ(CString(L"RQ40 - 1234"), link.m_strModelSerial);
    EXPECT_EQ(CString(L"9.0 Volts"), link.m_strSupply);
    link.m_bTextsFormatted = 0;
    link.FormatDeviceInfo();
    EXPECT_EQ(CString(L"RQ40 - 99"), link.m_strModelSerial);
    EXPECT_EQ(CString(L"5.0 Volts"), link.m_strSupply);
}

TEST(GaugeLinkTexts, DateDigitsAndSupplyFollowTheGauge)
{
    CQarCommunications link;
    FillGaugeIdentity(link);
    link.m_nCalMonth = 12;
    link.m_nCalDay = 31;
    link.m_nCalYear = 1;
    link.m_bRQ80 = 1;
    link.m_dBattery = 5.914;
    link.FormatDeviceInfo();
    EXPECT_EQ(CString(L"123101"), link.m_strCalDateDigits);
    EXPECT_EQ(CString(L"5.91 Volts"), link.m_strSupply);
}

TEST(GaugeLinkTexts, BoxTextsNameTheChannelsItHas)
{
    CQarCommunications link;
    link.InitChannelTable();
    link.m_bConnected = 1;
    link.m_bGauge = 0;
    link.m_nChannelCount = 4;
    link.m_nBoxSerial = 70001;
    link.m_nCalDate = 51599;
    link.m_dBoxGain[0] = 1.002;
    link.m_dBoxGain[1] = 0.998;
    link.m_dReferenceVolts = 5.0123;
    for (int k = 0; k < 8; ++k) {
        link.m_Channels[k].m_dGain[0] = 1.0 + k / 10.0;
        link.m_Channels[k].m_dGain[1] = 2.0 + k / 10.0;
    }
    for (CString& strGain : link.m_strChannelGain)
        strGain = L"stale";
    link.FormatDeviceInfo();
    EXPECT_EQ(CString(L"4"), link.m_strTypeText);
    EXPECT_EQ(CString(L"LZT8 - 70001"), link.m_strModelSerial);
    EXPECT_EQ(CString(L"51599"), link.m_strCalDateDigits);
    EXPECT_EQ(CString(L"1.002000"), link.m_strRangeGain[0]);
    EXPECT_EQ(CString(L"0.998000"), link.m_strRangeGain[1]);
    EXPECT_EQ(CString(L"5.01 Volts"), link.m_strSupply);
    // Two texts per record: the gain of range value 1, then of range value 0.
    EXPECT_EQ(CString(L"2.000000"), link.m_strChannelGain[0]);
    EXPECT_EQ(CString(L"1.000000"), link.m_strChannelGain[1]);
    EXPECT_EQ(CString(L"2.300000"), link.m_strChannelGain[6]);
    EXPECT_EQ(CString(L"1.300000"), link.m_strChannelGain[7]);
    for (int i = 8; i < 16; ++i)
        EXPECT_TRUE(link.m_strChannelGain[i].IsEmpty()) << i;

    link.m_bTextsFormatted = 0;
    link.m_nChannelCount = 2;
    link.FormatDeviceInfo();
    EXPECT_EQ(CString(L"LZT2 - 70001"), link.m_strModelSerial);
    EXPECT_EQ(CString(L"1.100000"), link.m_strChannelGain[3]);
    EXPECT_TRUE(link.m_strChannelGain[4].IsEmpty());
}

TEST(GaugeLinkTexts, ALinkThatIsNotConnectedEmptiesItsTexts)
{
    CQarCommunications link;
    FillGaugeIdentity(link);
    link.FormatDeviceInfo();
    link.m_bConnected = 0;
    link.m_bTextsFormatted = 0;
    link.FormatDeviceInfo();
    EXPECT_EQ(0, link.m_bTextsFormatted);
    EXPECT_TRUE(link.m_strTypeText.IsEmpty());
    EXPECT_TRUE(link.m_strModelSerial.IsEmpty());
    EXPECT_TRUE(link.m_strCalDateDigits.IsEmpty());
    EXPECT_TRUE(link.m_strSupply.IsEmpty());
    for (const CString& strConstant : link.m_strConstants)
        EXPECT_TRUE(strConstant.IsEmpty());
}

TEST(GaugeLinkIdentity, ClearingKeepsTheSerialNumber)
{
    CQarCommunications link;
    FillGaugeIdentity(link);
    link.m_nMemory249 = 18;
    link.ClearIdentity();
    EXPECT_EQ(0, link.m_nTypeCode);
    EXPECT_EQ(0, link.m_nMemory249);
    EXPECT_EQ(0, link.m_nCalMonth + link.m_nCalDay + link.m_nCalYear);
    EXPECT_EQ(0.0, link.m_dBattery);
    EXPECT_EQ(0, link.m_nFirmware);
    EXPECT_TRUE(link.m_strModel.IsEmpty());
    for (float fConstant : link.m_fConstants)
        EXPECT_EQ(0.0f, fConstant);
    EXPECT_EQ(1234, link.m_nSerial);
}

// Until the box and network protocols exist, their branches fail.
TEST(GaugeLinkBranches, BoxAndNetworkBranchesGiveTheirFailureValues)
{
    CQarCommunications box;
    box.m_bConnected = 1;
    EXPECT_EQ(0, box.IdentifyDevice());
    EXPECT_EQ(0.0, box.ReadChannel(box.m_Channels[0]));
    EXPECT_EQ(1, box.m_bFailed);
    EXPECT_EQ(-1, box.SetFanSpeed(500));
    EXPECT_EQ(0, box.ReadChannelCount());

    CQarCommunications network;
    network.m_bNetwork = 1;
    network.m_bGauge = 1;
    network.m_Device.m_strAddress = L"127.0.0.1";
    network.m_Device.m_nPort = 2000;
    EXPECT_EQ(0, network.OpenDevicePort());
    EXPECT_EQ(0, network.IdentifyDevice());
    network.m_nTypeCode = 2;
    network.m_bRQ80 = 1;
    EXPECT_EQ(0, network.IdentifyDevice());
    EXPECT_EQ(0, network.m_nTypeCode);
}

TEST(GaugeLinkBranches, BarredTrafficReturnsAtOnce)
{
    CQarCommunications link;
    link.m_bGauge = 1;
    link.m_bIoDisabled = 1;
    EXPECT_EQ(0, link.IdentifyDevice());
    EXPECT_EQ(0, link.ReadChannelCount());
    EXPECT_EQ(1200, link.SetFanSpeed(1200));
    EXPECT_EQ(0, link.SetFanSpeed(0));
}

TEST(GaugeLinkBranches, DashDisplayNeedsAConnectedGaugeButAnRQ80NeedsNoCommand)
{
    CQarCommunications link;
    link.m_bGauge = 1;
    EXPECT_EQ(0, link.EnableDashRQ40Display());
    EXPECT_EQ(0, link.DisableDashRQ40Display());
    link.m_bRQ80 = 1;
    EXPECT_EQ(1, link.EnableDashRQ40Display());
    EXPECT_EQ(1, link.DisableDashRQ40Display());
}

TEST(GaugeLinkBranches, WithoutAPortTheByteLayerFailsAtOnce)
{
    CQarCommunications link;
    link.m_bGauge = 1;
    EXPECT_EQ(0, link.sendbyte(1));
    EXPECT_EQ(9999, link.ReadByte(200));
    EXPECT_EQ(0, link.SendCommand(1, 200, L"initiate channel 1 reading"));
    EXPECT_EQ(9999, link.ReadEeprom(248));
    EXPECT_EQ(0.0, link.ReadChannel(link.m_Channels[0]));
    EXPECT_EQ(1, link.m_bFailed);
    EXPECT_EQ(1, link.CloseDevice());
    EXPECT_EQ(0, link.m_bConnected);
}
