// The gauge link against the gauge simulator through a pseudo-terminal pair:
// port search, handshake, identification, readings, zeroing, fan speed and
// closing, and every way the gauge can fail, each within its time-outs.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <iterator>

#include "comm/QarCommunications.h"
#include "tests/comm/CommTestSupport.h"

namespace {

// Time beyond a protocol time-out that Wine and the pseudo-terminal may add.
constexpr double kSlackMs = 400.0;

class SerialGauge : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SerialPortsReady());
        m_link.InitChannelTable();
        m_link.m_nFirstPort = kLinkPort;
        m_link.m_nLastPort = kLinkPort;
    }
    void TearDown() override
    {
        if (m_link.m_hPort != nullptr)
            m_link.ClosePort();
    }

    // A simulator on the far end of the link's port, and the link connected to it.
    void StartAndConnect(const std::vector<std::string>& setup = {})
    {
        ASSERT_TRUE(m_gauge.Start(kGaugePort, setup));
        m_link.ConnectDevice();
        ASSERT_EQ(1, m_link.m_bConnected);
        ASSERT_EQ(1, m_link.m_bIdentified);
        m_gauge.TakeLog();
    }

    double ReadTimed(int nChannel, double& dElapsedMs)
    {
        CStopwatch watch;
        const double dValue = m_link.ReadChannel(m_link.m_Channels[nChannel - 1]);
        dElapsedMs = watch.ElapsedMs();
        return dValue;
    }

    CQarCommunications m_link;
    CGaugeSimulator m_gauge;
};

}  // namespace

TEST_F(SerialGauge, ConnectsIdentifiesAndFormatsEveryText)
{
    const LCID previousLocale = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(1031));
    const std::string previousTime = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    StartAndConnect({"model RQ40", "channels 2", "mem249 18", "mem250 52", "serial 1234", "cal 3 5 19",
                     "battery 212", "firmware 17", "constant 0 1.25", "constant 1 -2.5",
                     "constant 2 3.0517578125e-05", "constant 3 0.5", "constant 4 0", "constant 5 -100",
                     "constant 6 2", "constant 7 0.0009765625", "constant 8 1024", "constant 9 -0.75",
                     "constant 10 6.103515625e-05", "constant 11 12.5"});
    SetThreadLocale(previousLocale);
    std::setlocale(LC_TIME, previousTime.c_str());

    EXPECT_EQ(kLinkPort - 1, m_link.m_nPortIndex);
    EXPECT_EQ(1, m_link.m_bGauge);
    EXPECT_EQ(1, m_link.m_bTextsFormatted);
    EXPECT_EQ(2, m_link.m_nTypeCode);
    EXPECT_EQ(18, m_link.m_nMemory249);
    EXPECT_EQ(52, m_link.m_nMemory250);
    EXPECT_EQ(1234, m_link.m_nSerial);
    EXPECT_EQ(CString(L"RQ40"), m_link.m_strModel);
    EXPECT_EQ(CString(L"2"), m_link.m_strTypeText);
    EXPECT_EQ(CString(L"RQ40 - 1234"), m_link.m_strModelSerial);
    EXPECT_EQ(CString(L"30519"), m_link.m_strCalDateDigits);
    EXPECT_EQ(CString(L"20190305"), m_link.m_strCalDateNumeric);
    EXPECT_EQ(CString(L"05/03/2019"), m_link.m_strCalDateLocale);
    EXPECT_EQ(CString(L"03/05/19"), m_link.m_strCalDateShort);
    EXPECT_EQ(9.0, m_link.m_dBattery);
    EXPECT_EQ(CString(L"9.0 Volts"), m_link.m_strSupply);
    EXPECT_EQ(17, m_link.m_nFirmware);
    EXPECT_EQ(CString(L"17"), m_link.m_strFirmware);
    const wchar_t* constants[12] = {L"1.250000",     L"-2.500000e+00", L"3.051758e-05", L"0.500000",
                                    L"0.000000e+00", L"-1.000000e+02", L"2.000000",     L"9.765625e-04",
                                    L"1.024000e+03", L"-0.750000",     L"6.103516e-05", L"1.250000e+01"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(CString(constants[i]), m_link.m_strConstants[i]) << i;
    // Identification leaves the box's date number alone.
    EXPECT_EQ(0, m_link.m_nCalDate);
}

TEST_F(SerialGauge, FiveCharacterModelAndAnotherDate)
{
    const LCID previousLocale = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(2052));
    StartAndConnect({"model RQ20X", "serial 65535", "cal 12 31 1", "battery 0", "channels 1"});
    SetThreadLocale(previousLocale);
    EXPECT_EQ(CString(L"RQ20X - 65535"), m_link.m_strModelSerial);
    EXPECT_EQ(CString(L"123101"), m_link.m_strCalDateDigits);
    EXPECT_EQ(CString(L"20011231"), m_link.m_strCalDateNumeric);
    EXPECT_EQ(CString(L"2001/12/31"), m_link.m_strCalDateLocale);
    EXPECT_EQ(CString(L"0.5 Volts"), m_link.m_strSupply);
    EXPECT_DOUBLE_EQ(0.52, m_link.m_dBattery);
    EXPECT_EQ(CString(L"1"), m_link.m_strTypeText);
}

TEST_F(SerialGauge, ImpossibleCalibrationDateStillIdentifies)
{
    StartAndConnect({"cal 13 40 99"});
    EXPECT_EQ(CString(L"134099"), m_link.m_strCalDateDigits);
    EXPECT_TRUE(m_link.m_strCalDateNumeric.IsEmpty());
    EXPECT_TRUE(m_link.m_strCalDateLocale.IsEmpty());
    EXPECT_TRUE(m_link.m_strCalDateShort.IsEmpty());
}

TEST_F(SerialGauge, SearchOverARangeSkipsMissingAndSilentPorts)
{
    // COM199 and COM200 do not exist; COM201 leads to nobody (silent: taken
    // for a box, which does not identify), COM202 is the far end of the same
    // pair; COM203 has the gauge.
    ASSERT_TRUE(m_gauge.Start(kSecondGaugePort, {"serial 777"}));
    m_link.m_nFirstPort = kLinkPort - 2;
    m_link.m_nLastPort = kSecondLinkPort;
    m_link.m_nPortIndex = 4;
    CStopwatch watch;
    EXPECT_EQ(1, m_link.OpenDevicePort());
    EXPECT_EQ(kSecondLinkPort - 1, m_link.m_nPortIndex);
    EXPECT_EQ(777, m_link.m_nSerial);
    // Two silent handshakes of two 500 ms presence reads each, then the gauge.
    EXPECT_LT(watch.ElapsedMs(), 2 * 1000.0 + 1500.0);
}

TEST_F(SerialGauge, ASilentPortIsNoDeviceAndTheSearchEndsWithinTheHandshake)
{
    // Nothing answers on COM12's side.
    m_link.m_nPortIndex = 3;
    CStopwatch watch;
    m_link.ConnectDevice();
    EXPECT_LT(watch.ElapsedMs(), 1000.0 + kSlackMs);
    EXPECT_EQ(0, m_link.m_bConnected);
    EXPECT_EQ(0, m_link.m_bIdentified);
    EXPECT_EQ(-1, m_link.m_nPortIndex);
    EXPECT_EQ(0, m_link.m_bGauge);
    EXPECT_EQ(nullptr, m_link.m_hPort);
}

TEST_F(SerialGauge, HandshakeCountsOnlyTheSecondPresenceAnswer)
{
    struct Case {
        const char* pszFault;
        int bIdentified;
    };
    const Case cases[] = {
        {"fault silent 129 0 1", 1},  // the first presence byte unanswered
        {"fault badack 129 0 1", 1},  // or answered wrongly
        {"fault silent 129 0 2", 0},  // the second unanswered: a box
        {"fault badack 129 1 1", 0},  // the second answered wrongly
        {"poke 240 0", 0},            // answers, but holds no 0x54 at 240
        {"channels 9", 0},            // more channels than a serial gauge has
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_gauge.Start(kGaugePort, {c.pszFault}));
        CQarCommunications link;
        link.m_nFirstPort = link.m_nLastPort = kLinkPort;
        EXPECT_EQ(c.bIdentified, link.OpenDevicePort()) << c.pszFault;
        EXPECT_EQ(c.bIdentified ? kLinkPort - 1 : -1, link.m_nPortIndex) << c.pszFault;
        EXPECT_EQ(c.bIdentified != 0, link.m_hPort != nullptr) << c.pszFault;
        link.ClosePort();
        m_gauge.Stop();
    }
}

TEST_F(SerialGauge, AGaugeOfNineChannelsIsNotIdentifiedAndItsIdentityIsCleared)
{
    StartAndConnect();
    m_gauge.Set({"channels 9"});
    EXPECT_EQ(0, m_link.IdentifyDevice());
    EXPECT_EQ(0, m_link.m_nTypeCode);
    EXPECT_TRUE(m_link.m_strModel.IsEmpty());
    EXPECT_EQ(1234, m_link.m_nSerial);
}

TEST_F(SerialGauge, IdentificationFailingHalfwayClearsTheIdentity)
{
    StartAndConnect();
    for (const char* pszFault : {"fault silent 7", "fault drop 6", "fault badack 32 20 1"}) {
        m_gauge.Set({pszFault});
        CStopwatch watch;
        EXPECT_EQ(0, m_link.IdentifyDevice()) << pszFault;
        EXPECT_LT(watch.ElapsedMs(), 49 * 3 * 5.0 + 200.0 + kSlackMs) << pszFault;
        EXPECT_EQ(0, m_link.m_nTypeCode) << pszFault;
        EXPECT_EQ(0.0, m_link.m_dBattery) << pszFault;
        EXPECT_TRUE(m_link.m_strModel.IsEmpty()) << pszFault;
        EXPECT_EQ(2, m_link.IdentifyDevice()) << pszFault;  // the next one works again
    }
}

TEST_F(SerialGauge, ReadsChannelValuesAndAppliesTheRangeLimits)
{
    StartAndConnect({"pressure 2 -100"});
    struct Case {
        double dSent;
        double dRead;
        int bOverRange;
        int bFailed;
    };
    const Case cases[] = {
        {25.5, 25.5, 0, 0},       {-25.5, -25.5, 0, 0},   {100, 100, 0, 0},          {0, 0, 0, 0},
        {1250, 1250, 0, 0},       {-1250, -1250, 0, 0},   {1250.1, 0, 1, 0},         {-1250.1, 0, 1, 0},
        // The gauge sends 16 mantissa bits: 5000.1 arrives as 5000.0, 5000.2 as 5000.125.
        {5000, 0, 1, 0},          {5000.1, 0, 1, 0},      {5000.2, 0, 0, 1},         {-5000.2, 0, 0, 1},
        {1e30, 0, 0, 1},
        {0.0009765625, 0.0009765625, 0, 0},               {1.17549435e-38, 1.17549435e-38, 0, 0},
    };
    std::string sequence = "pressure 1 seq";
    for (const Case& c : cases) {
        char szValue[40];
        std::snprintf(szValue, sizeof szValue, " %.17g", c.dSent);
        sequence += szValue;
    }
    m_gauge.Set({sequence});
    for (const Case& c : cases) {
        const double dValue = m_link.ReadChannel(m_link.m_Channels[0]);
        EXPECT_FLOAT_EQ(static_cast<float>(c.dRead), static_cast<float>(dValue)) << c.dSent;
        EXPECT_EQ(c.bOverRange, m_link.m_bOverRange) << c.dSent;
        EXPECT_EQ(c.bFailed, m_link.m_bFailed) << c.dSent;
    }
    EXPECT_EQ(-100.0, m_link.ReadChannel(m_link.m_Channels[1]));
    EXPECT_EQ(0, m_link.m_bFailed);
    std::vector<int> expectedLog(std::size(cases), 1);
    expectedLog.push_back(2);
    EXPECT_EQ(expectedLog, m_gauge.TakeLog());
}

TEST_F(SerialGauge, AChannelOtherThanOneOrTwoFailsWithoutTraffic)
{
    StartAndConnect();
    CChannelCalibration channel;
    channel.m_nChannel = 3;
    double dElapsedMs = 0.0;
    CStopwatch watch;
    EXPECT_EQ(0.0, m_link.ReadChannel(channel));
    dElapsedMs = watch.ElapsedMs();
    EXPECT_EQ(1, m_link.m_bFailed);
    EXPECT_LT(dElapsedMs, 50.0);
    EXPECT_TRUE(m_gauge.TakeLog().empty());
}

TEST_F(SerialGauge, EveryFailedReadingGivesZeroWithinItsTimeouts)
{
    StartAndConnect({"pressure 1 42"});
    struct Case {
        const char* pszFault;
        const char* pszWhat;
        double dWithinMs;  // the time-outs the failure may take
    };
    const Case cases[] = {
        {"fault silent 1", "no answer", 200.0},
        {"fault badack 1", "a wrong acknowledgement", 0.0},
        {"fault drop 1", "a byte dropped mid-reply", 200.0},
    };
    for (const Case& c : cases) {
        m_gauge.Set({c.pszFault});
        double dElapsedMs = 0.0;
        EXPECT_EQ(0.0, ReadTimed(1, dElapsedMs)) << c.pszWhat;
        EXPECT_EQ(1, m_link.m_bFailed) << c.pszWhat;
        EXPECT_EQ(0, m_link.m_bOverRange) << c.pszWhat;
        EXPECT_LT(dElapsedMs, c.dWithinMs + kSlackMs) << c.pszWhat;
        // Whatever the failure left on the line does not spoil the next reading.
        EXPECT_EQ(42.0, ReadTimed(1, dElapsedMs)) << c.pszWhat;
        EXPECT_EQ(0, m_link.m_bFailed) << c.pszWhat;
    }
    // Beyond the range on request, then in range again.
    m_gauge.Set({"fault beyond 1 0 1 1300", "fault beyond 1 0 1 6000"});
    EXPECT_EQ(0.0, m_link.ReadChannel(m_link.m_Channels[0]));
    EXPECT_EQ(1, m_link.m_bOverRange);
    EXPECT_EQ(0, m_link.m_bFailed);
    EXPECT_EQ(0.0, m_link.ReadChannel(m_link.m_Channels[0]));
    EXPECT_EQ(0, m_link.m_bOverRange);
    EXPECT_EQ(1, m_link.m_bFailed);
    EXPECT_EQ(42.0, m_link.ReadChannel(m_link.m_Channels[0]));
    EXPECT_EQ(0, m_link.m_bOverRange + m_link.m_bFailed);
}

TEST_F(SerialGauge, AGaugeUnpluggedMidReadingFailsAndIsLostOnReconnecting)
{
    StartAndConnect({"pressure 1 42"});
    m_gauge.Set({"fault unplug 1"});
    double dElapsedMs = 0.0;
    EXPECT_EQ(0.0, ReadTimed(1, dElapsedMs));
    EXPECT_EQ(1, m_link.m_bFailed);
    EXPECT_LT(dElapsedMs, 200.0 + kSlackMs);
    for (int nChannel : {1, 2, 1}) {
        EXPECT_EQ(0.0, ReadTimed(nChannel, dElapsedMs));
        EXPECT_EQ(1, m_link.m_bFailed);
        EXPECT_LT(dElapsedMs, 200.0 + kSlackMs);
    }

    // Ten identifications, closing (dash off, re-enable autozero) and a new
    // search of the one port: nothing is found.
    CStopwatch watch;
    m_link.ConnectDevice();
    EXPECT_LT(watch.ElapsedMs(), 10 * 200.0 + 2 * 200.0 + 2 * 500.0 + 3 * kSlackMs);
    EXPECT_EQ(0, m_link.m_bConnected);
    EXPECT_EQ(0, m_link.m_bIdentified);
    EXPECT_EQ(-1, m_link.m_nPortIndex);
    EXPECT_EQ(nullptr, m_link.m_hPort);

    // Plugged in again, the next connection finds it.
    m_gauge.Set({"plug"});
    m_link.ConnectDevice();
    EXPECT_EQ(1, m_link.m_bIdentified);
    EXPECT_EQ(42.0, m_link.ReadChannel(m_link.m_Channels[0]));
}

TEST_F(SerialGauge, ReconnectingRetriesTheIdentificationOnTheOpenPort)
{
    StartAndConnect();
    m_gauge.Set({"fault silent 32 0 3"});
    m_link.m_bTextsFormatted = 0;
    m_link.ConnectDevice();
    EXPECT_EQ(1, m_link.m_bConnected);
    EXPECT_EQ(1, m_link.m_bIdentified);
    EXPECT_EQ(1, m_link.m_bTextsFormatted);
    // No new search: the handshake's presence byte was never sent.
    for (int nCommand : m_gauge.TakeLog())
        EXPECT_NE(0x81, nCommand);
}

// The second identification after a successful search fails: the link is
// connected but its identity was cleared, so it is not identified.
TEST_F(SerialGauge, ALinkWhoseLastIdentificationFailedIsNotIdentified)
{
    ASSERT_TRUE(m_gauge.Start(kGaugePort, {"fault silent 7 1 1"}));
    m_link.ConnectDevice();
    EXPECT_EQ(1, m_link.m_bConnected);
    EXPECT_EQ(0, m_link.m_bIdentified);
    EXPECT_EQ(0, m_link.m_nTypeCode);
    EXPECT_EQ(kLinkPort - 1, m_link.m_nPortIndex);
    m_link.ConnectDevice();
    EXPECT_EQ(1, m_link.m_bIdentified);
    EXPECT_EQ(2, m_link.m_nTypeCode);
}

TEST_F(SerialGauge, AutozeroZeroesBothChannels)
{
    StartAndConnect({"pressure 1 10", "pressure 2 5"});
    EXPECT_EQ(10.0, m_link.ReadChannel(m_link.m_Channels[0]));
    m_link.m_Channels[0].m_dZero[0] = 3.0;
    m_link.m_Channels[0].m_dZero[1] = 4.0;
    m_link.AutoZeroChannel(m_link.m_Channels[0]);
    EXPECT_EQ(0, m_link.m_bFailed);
    EXPECT_EQ(0.0, m_link.m_Channels[0].m_dZero[0]);
    EXPECT_EQ(0.0, m_link.m_Channels[0].m_dZero[1]);
    EXPECT_EQ(1, m_gauge.Stats()["zeros"]);
    EXPECT_EQ(0.0, m_link.ReadChannel(m_link.m_Channels[0]));
    EXPECT_EQ(0.0, m_link.ReadChannel(m_link.m_Channels[1]));
    m_gauge.TakeLog();

    // The record of channel 2 sends nothing: the gauge zeroes both on one command.
    m_link.m_Channels[1].m_dZero[1] = 2.0;
    m_link.AutoZeroChannel(m_link.m_Channels[1]);
    EXPECT_EQ(0.0, m_link.m_Channels[1].m_dZero[1]);
    EXPECT_TRUE(m_gauge.TakeLog().empty());
}

TEST_F(SerialGauge, AutozeroMayTakeNearlyItsWholeTimeout)
{
    StartAndConnect({"zerodelay 3000"});
    m_link.AutoZeroChannel(m_link.m_Channels[0]);
    EXPECT_EQ(0, m_link.m_bFailed);
}

TEST_F(SerialGauge, AutozeroFailuresLeaveTheLineClean)
{
    StartAndConnect({"pressure 1 7"});
    struct Case {
        const char* pszFault;
        double dWithinMs;
    };
    const Case cases[] = {
        {"fault silent 8", 200.0},
        {"fault badack 8", 0.0},
        {"fault drop 8", 30.0 + 200.0},
        {"zerodelay 3700", 3500.0 + 200.0 + 200.0},  // answered too late: drained
    };
    for (const Case& c : cases) {
        m_gauge.Set({c.pszFault});
        CStopwatch watch;
        m_link.AutoZeroChannel(m_link.m_Channels[0]);
        EXPECT_EQ(1, m_link.m_bFailed) << c.pszFault;
        EXPECT_LT(watch.ElapsedMs(), c.dWithinMs + kSlackMs) << c.pszFault;
        // A zeroing gauge zeroed; the reading after it comes in step.
        m_gauge.Set({"zerodelay 30", "pressure 1 7"});
        EXPECT_EQ(7.0, m_link.ReadChannel(m_link.m_Channels[0])) << c.pszFault;
        EXPECT_EQ(0, m_link.m_bFailed) << c.pszFault;
    }
}

TEST_F(SerialGauge, FanSpeedIsSentAsLowAndHighByteWithAFloorOfForty)
{
    StartAndConnect();
    const struct {
        short nValue;
        int nSent;
    } cases[] = {{10, 40}, {0, 40}, {-5, 40}, {40, 40}, {300, 300}, {1023, 1023}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.nSent, m_link.SetFanSpeed(c.nValue)) << c.nValue;
        EXPECT_EQ(c.nSent, m_gauge.Stats()["fan"]) << c.nValue;
    }
    for (const char* pszFault : {"fault silent 16", "fault badack 16", "fault drop 16"}) {
        m_gauge.Set({pszFault});
        CStopwatch watch;
        EXPECT_EQ(-1, m_link.SetFanSpeed(500)) << pszFault;
        EXPECT_LT(watch.ElapsedMs(), 200.0 + kSlackMs) << pszFault;
        m_link.ClearIdentityAndPurge();
    }
    // Barred traffic: the value comes back and nothing reaches the gauge.
    const long long nReceived = m_gauge.Stats()["rx"];
    m_link.m_bIoDisabled = 1;
    EXPECT_EQ(700, m_link.SetFanSpeed(700));
    EXPECT_EQ(0, m_link.IdentifyDevice());
    EXPECT_EQ(0, m_link.ReadChannelCount());
    EXPECT_EQ(nReceived, m_gauge.Stats()["rx"]);
}

TEST_F(SerialGauge, BatteryFirmwareDateChannelCountAndAverages)
{
    StartAndConnect({"battery 212", "firmware 33", "cal 11 2 20", "channels 2", "pressure 1 25.5",
                     "pressure 2 -100"});
    EXPECT_EQ(9.0, m_link.ReadBatteryVoltage());
    m_gauge.Set({"battery 0"});
    EXPECT_DOUBLE_EQ(0.52, m_link.ReadBatteryVoltage());
    m_gauge.Set({"fault silent 7"});
    EXPECT_EQ(0.0, m_link.ReadBatteryVoltage());
    EXPECT_EQ(0.0, m_link.m_dBattery);
    m_gauge.Set({"fault drop 7"});
    EXPECT_EQ(0.0, m_link.ReadBatteryVoltage());

    EXPECT_EQ(33, m_link.ReadFirmwareVersion());
    EXPECT_EQ(2, m_link.ReadChannelCount());
    EXPECT_EQ(2, m_link.m_nChannelCount);
    EXPECT_EQ(110220, m_link.ReadCalibrationDate());
    EXPECT_EQ(1, m_link.ReadOneSecondAverages());
    EXPECT_EQ(25.5, m_link.m_dAverageA);
    EXPECT_EQ(-100.0, m_link.m_dAverageB);

    m_gauge.Set({"fault silent 32"});
    EXPECT_EQ(0, m_link.ReadChannelCount());
    m_gauge.Set({"fault drop 32 2 1"});
    EXPECT_EQ(0, m_link.ReadCalibrationDate());
}

TEST_F(SerialGauge, ByteLayerAcknowledgementsAndReadsWithoutTimeout)
{
    StartAndConnect({"serial 1234", "cal 3 5 19"});
    // The address of a memory read is acknowledged by the address plus one.
    EXPECT_EQ(1, m_link.SendCommand(32, 200, L"read EEPROM"));
    EXPECT_EQ(1, m_link.SendCommand(251, 200, L"EEPROM address"));
    EXPECT_EQ(1234 & 0xFF, m_link.ReadByte(200));
    // Address 255 is acknowledged by 0.
    EXPECT_EQ(19, m_link.ReadEeprom(255));
    // Reading without a time-out waits for the character event.
    EXPECT_EQ(1, m_link.sendbyte(6));
    EXPECT_EQ(7, m_link.ReadByte(0));
    EXPECT_EQ(17, m_link.ReadByte(0));
    // A memory read that is not answered, answered wrongly or cut short gives 9999.
    for (const char* pszFault : {"fault silent 32", "fault badack 32", "fault drop 32"}) {
        m_gauge.Set({pszFault});
        CStopwatch eepromWatch;
        EXPECT_EQ(9999, m_link.ReadEeprom(251)) << pszFault;
        EXPECT_LT(eepromWatch.ElapsedMs(), 200.0 + kSlackMs) << pszFault;
        EXPECT_EQ(1234 & 0xFF, m_link.ReadEeprom(251)) << pszFault;
    }
    // A command the gauge does not know is not acknowledged.
    CStopwatch watch;
    EXPECT_EQ(0, m_link.SendCommand(255, 200, L"unknown"));
    EXPECT_LT(watch.ElapsedMs(), 200.0 + kSlackMs);
    EXPECT_GE(watch.ElapsedMs(), 150.0);
}

TEST_F(SerialGauge, DashDisplayAndClosing)
{
    StartAndConnect();
    EXPECT_EQ(1, m_link.EnableDashRQ40Display());
    EXPECT_EQ(1, m_gauge.Stats()["dash"]);
    EXPECT_EQ(1, m_link.DisableDashRQ40Display());
    EXPECT_EQ(0, m_gauge.Stats()["dash"]);
    m_gauge.Set({"fault silent 11"});
    EXPECT_EQ(0, m_link.EnableDashRQ40Display());
    EXPECT_EQ(1, m_link.EnableDashRQ40Display());
    m_gauge.TakeLog();

    EXPECT_EQ(1, m_link.CloseDevice());
    EXPECT_EQ(0, m_link.m_bConnected);
    EXPECT_EQ(nullptr, m_link.m_hPort);
    EXPECT_EQ((std::vector<int>{12, 10}), m_gauge.TakeLog());
    EXPECT_EQ(0, m_gauge.Stats()["dash"]);
    EXPECT_EQ(1, m_gauge.Stats()["reenable"]);

    // A closed link opens again.
    m_link.ConnectDevice();
    EXPECT_EQ(1, m_link.m_bIdentified);
    // Closing a gauge that no longer answers takes the two acknowledgement time-outs.
    m_gauge.Set({"fault silent any 0 0"});
    CStopwatch watch;
    EXPECT_EQ(1, m_link.CloseDevice());
    EXPECT_LT(watch.ElapsedMs(), 2 * 200.0 + kSlackMs);
}

TEST_F(SerialGauge, PortProbingAndOpeningByNumber)
{
    EXPECT_EQ(0, m_link.CheckPort(kLinkPort - 1));
    // A port that leads nowhere: absent (2) on Windows; the test prefix maps
    // every COM number, most to a missing target, whose state cannot be read (-1).
    const int nNowhere = m_link.CheckPort(kLinkPort - 3);
    EXPECT_TRUE(nNowhere == 2 || nNowhere == -1) << nNowhere;
    EXPECT_EQ(-1, m_link.CheckPort(kPlainFilePort - 1));

    m_link.OpenPortNumber(kLinkPort);
    ASSERT_NE(nullptr, m_link.m_hPort);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(m_link.m_hPort, &dcb));
    EXPECT_EQ(static_cast<DWORD>(CBR_9600), dcb.BaudRate);
    EXPECT_EQ(8, dcb.ByteSize);
    EXPECT_EQ(NOPARITY, dcb.Parity);
    EXPECT_EQ(ONESTOPBIT, dcb.StopBits);
    m_link.ReleasePort();
    EXPECT_EQ(nullptr, m_link.m_hPort);

    m_link.OpenPortNumber(kLinkPort - 2);
    EXPECT_EQ(nullptr, m_link.m_hPort);
    m_link.OpenPortNumber(kPlainFilePort);
    EXPECT_EQ(nullptr, m_link.m_hPort);
    // The port search passes over what is no serial port.
    m_link.m_nFirstPort = m_link.m_nLastPort = kPlainFilePort;
    EXPECT_EQ(0, m_link.OpenDevicePort());
}
