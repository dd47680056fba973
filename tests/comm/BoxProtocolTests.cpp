// The gauge link against a data-acquisition box through a pseudo-terminal
// pair: the box model serves the far end in this process (and once as
// gaugesim's box mode). Command bytes, channel, zero and register answers,
// identification and its refusals, the fan and the other outputs, and every
// way the box can fail, each within its time-outs.
#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

#include "comm/QarCommunications.h"
#include "tests/TestSupport.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/BoxModel.h"

namespace {

// Time beyond a protocol time-out that Wine and the pseudo-terminal may add.
constexpr double kSlackMs = 400.0;
// A box drain stops after 500 ms and a last read of 100 ms.
constexpr double kDrainMs = 600.0;
// A register read: the command and three requests, each answered at once.
constexpr double kRegisterReadMs = 4 * 5.0;

std::vector<int> ParseLog(const std::string& answer)
{
    std::istringstream in(answer);
    std::string word;
    in >> word;
    std::vector<int> log;
    for (int nByte; in >> nByte;)
        log.push_back(nByte);
    return log;
}

class BoxProtocol : public testing::Test {
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
        m_box.Stop();
    }

    void Set(const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines)
            EXPECT_EQ("ok", m_box.Control(line)) << line;
    }
    std::vector<int> TakeLog() { return ParseLog(m_box.Control("log")); }
    // The log once it holds at least nBytes, or after a second: bytes that
    // no answer waits for may still be on their way.
    std::vector<int> TakeLog(size_t nBytes)
    {
        std::vector<int> log = TakeLog();
        for (CStopwatch watch; log.size() < nBytes && watch.ElapsedMs() < 1000.0; Sleep(5)) {
            const std::vector<int> more = TakeLog();
            log.insert(log.end(), more.begin(), more.end());
        }
        return log;
    }

    void StartBox(const std::vector<std::string>& setup = {})
    {
        Set(setup);
        DWORD nError = 0;
        ASSERT_TRUE(m_box.Start(kGaugePort, nError)) << "COM" << kGaugePort << " error " << nError;
    }
    // The box on the far end and the link connected to it by the port search.
    void StartAndConnect(const std::vector<std::string>& setup = {})
    {
        ASSERT_NO_FATAL_FAILURE(StartBox(setup));
        m_link.ConnectDevice();
        ASSERT_EQ(1, m_link.m_bConnected);
        ASSERT_EQ(1, m_link.m_bIdentified);
        ASSERT_EQ(0, m_link.m_bGauge);
        TakeLog();
    }

    CQarCommunications m_link;
    CBoxModel m_box;
};

constexpr int kNext = 0xCC;

}  // namespace

TEST_F(BoxProtocol, CommandBytesAnswersAndValues)
{
    ASSERT_NO_FATAL_FAILURE(StartAndConnect());
    enum class Op { kRead, kZero, kRegister, kDecimal, kFan };
    struct Case {
        const char* pszWhat;
        int nBox;                        // channels of the box
        std::vector<std::string> setup;  // the box, just before the call
        Op op;
        short nArgument;                 // channel, register or fan value
        short nRange;                    // range value or range flag
        std::vector<int> received;       // what the box received
        double dResult;                  // zeroing: the record's zero (-1 untouched)
        int bOverRange, bLowBattery, bFailed;
        double dWithinMs;
    };
    const Case cases[] = {
        {"channel 3 of eight, range 1: address 6", 8, {"count 3 300"}, Op::kRead, 3, 1, {0x05, kNext}, 300, 0, 0, 0, 0},
        {"channel 3 of eight, range 0", 8, {"count 3 300"}, Op::kRead, 3, 0, {0x0D, kNext}, 300, 0, 0, 0, 0},
        {"channel 3 of two, range 1", 2, {"count 3 300"}, Op::kRead, 3, 1, {0x02, kNext}, 300, 0, 0, 0, 0},
        {"channel 1 of eight: address 8", 8, {"count 1 -17"}, Op::kRead, 1, 1, {0x07, kNext}, -17, 0, 0, 0, 0},
        {"input 20 by its number, range 0", 8, {"count 20 4094"}, Op::kRead, 20, 0, {0x1B, kNext}, 4094, 0, 0, 0, 0},
        {"status 0x8F, data 0xFF", 8, {"raw read 6 0x8F 0xFF"}, Op::kRead, 3, 1, {0x05, kNext}, -4095, 1, 0, 0, 0},
        {"status 0x4A, data 0x10", 8, {"raw read 6 0x4A 0x10"}, Op::kRead, 3, 1, {0x05, kNext}, 2576, 0, 1, 0, 0},
        {"data byte lost", 8, {"lose 1"}, Op::kRead, 3, 1, {0x05, kNext}, 0, 0, 0, 1, 100 + kDrainMs},
        {"nothing answered", 8, {"silent on"}, Op::kRead, 3, 1, {0x05}, 0, 0, 0, 1, 200 + kDrainMs},
        {"zero status 0x21, data 0x34", 8, {"raw zero 6 0x21 0x34"}, Op::kZero, 3, 1, {0x25, kNext}, 850, 0, 0, 0, 0},
        {"zero status 0xE1: negative, low battery", 8, {"raw zero 6 0xE1 0x34"}, Op::kZero, 3, 0, {0x2D, kNext},
         -850, 0, 1, 0, 0},
        {"zero of channel 8 at address 1", 8, {"zero 8 12.3"}, Op::kZero, 8, 1, {0x20, kNext}, 12.3, 0, 0, 0, 0},
        {"zero data byte lost", 8, {"lose 1"}, Op::kZero, 3, 1, {0x25, kNext}, -1, 0, 0, 1, 100 + kDrainMs},
        {"register 18, range flag 0", 8, {}, Op::kRegister, 18, 0, {0x59, kNext, kNext, kNext}, 8, 0, 0, 0, 0},
        {"register 18 refused with 0x5A", 8, {"raw register 18 0x5A"}, Op::kRegister, 18, 0, {0x59}, 0, 0, 0, 0, 0},
        {"bytes 0x02 0x13 0x57 0x90", 8, {"raw register 19 0x02 0x13 0x57 0x90"}, Op::kRegister, 19, 0,
         {0x5A, kNext, kNext, kNext}, 2135790, 0, 0, 0, 0},
        {"the same bytes as a decimal", 8, {"raw register 17 0x02 0x13 0x57 0x90"}, Op::kDecimal, 17, 1,
         {0x50, kNext, kNext, kNext}, 2.13579, 0, 0, 0, 0},
        {"a decimal's first byte is never a refusal", 8, {"raw register 17 0x51 0 0 0"}, Op::kDecimal, 17, 1,
         {0x50, kNext, kNext, kNext}, 1.0, 0, 0, 0, 0},
        {"the first byte's high half is no digit", 8, {"raw register 19 0xF2 0x13 0x57 0x90"}, Op::kRegister, 19, 0,
         {0x5A, kNext, kNext, kNext}, 2135790, 0, 0, 0, 0},
        // A half-byte above 9 makes the answer no value at all.
        {"a digit above 9", 8, {"raw register 19 0x02 0x1A 0x57 0x90"}, Op::kRegister, 19, 0,
         {0x5A, kNext, kNext, kNext}, 0, 0, 0, 0, 0},
        {"register byte lost", 8, {"lose 1"}, Op::kRegister, 19, 0, {0x5A, kNext}, 0, 0, 0, 0, 200},
        {"decimal byte lost", 8, {"lose 1"}, Op::kDecimal, 5, 0, {0x4C, kNext}, 0, 0, 0, 0, 100},
        {"fan 1000", 8, {}, Op::kFan, 1000, 0, {128, 62, 128}, 1000, 0, 0, 0, 0},
        {"fan 10 is sent as 40", 8, {}, Op::kFan, 10, 0, {128, 2, 128}, 40, 0, 0, 0, 0},
        // The output has twelve bits: more would wrap into a slow fan.
        {"fan beyond twelve bits", 8, {}, Op::kFan, 5000, 0, {128, 255, 240}, 4095, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Set({"clear", "lowbattery off", c.nBox == 2 ? "box 2" : "box 8"});
        ASSERT_EQ(c.nBox, m_link.ReadChannelCount()) << c.pszWhat;
        Set(c.setup);
        TakeLog();
        CChannelCalibration record;
        record.m_nChannel = c.nArgument;
        record.m_nRange = c.nRange;
        record.m_dZero[0] = record.m_dZero[1] = -1.0;
        m_link.m_bFailed = m_link.m_bOverRange = m_link.m_bLowBattery = 0;
        CStopwatch watch;
        double dResult = 0.0;
        switch (c.op) {
        case Op::kRead: dResult = m_link.ReadChannel(record); break;
        case Op::kZero:
            m_link.AutoZeroChannel(record);
            dResult = record.m_dZero[c.nRange == 0 ? 0 : 1];
            EXPECT_EQ(-1.0, record.m_dZero[c.nRange == 0 ? 1 : 0]) << c.pszWhat;
            break;
        case Op::kRegister: dResult = m_link.read_box(c.nArgument, c.nRange); break;
        case Op::kDecimal: dResult = m_link.ReadBoxDecimal(c.nArgument, c.nRange); break;
        case Op::kFan: dResult = m_link.SetFanSpeed(c.nArgument); break;
        }
        const double dElapsedMs = watch.ElapsedMs();
        EXPECT_DOUBLE_EQ(c.dResult, dResult) << c.pszWhat;
        EXPECT_EQ(c.received, TakeLog(c.received.size())) << c.pszWhat;
        EXPECT_EQ(c.bOverRange, m_link.m_bOverRange) << c.pszWhat;
        EXPECT_EQ(c.bLowBattery, m_link.m_bLowBattery) << c.pszWhat;
        EXPECT_EQ(c.bFailed, m_link.m_bFailed) << c.pszWhat;
        EXPECT_LT(dElapsedMs, c.dWithinMs + kSlackMs) << c.pszWhat;
    }
}

TEST_F(BoxProtocol, IdentifiesAnEightChannelBoxReadingEachGainAtItsChannelsAddress)
{
    const LCID previousLocale = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(1033));
    const std::string previousTime = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    ASSERT_NO_FATAL_FAILURE(StartAndConnect({"serial 4321", "date 51599", "volts 4.75", "boxgain 0.98 1.02",
                                             "gain 1 1.11 1.01", "gain 2 1.12 1.02", "gain 3 1.13 1.03",
                                             "gain 4 1.14 1.04", "gain 5 1.15 1.05", "gain 6 1.16 1.06",
                                             "gain 7 1.17 1.07", "gain 8 1.18 1.08"}));
    SetThreadLocale(previousLocale);
    std::setlocale(LC_TIME, previousTime.c_str());

    EXPECT_EQ(kLinkPort - 1, m_link.m_nPortIndex);
    EXPECT_EQ(8, m_link.m_nChannelCount);
    EXPECT_DOUBLE_EQ(4.75, m_link.m_dReferenceVolts);
    EXPECT_DOUBLE_EQ(0.98, m_link.m_dBoxGain[0]);
    EXPECT_DOUBLE_EQ(1.02, m_link.m_dBoxGain[1]);
    for (int i = 0; i < 8; ++i) {
        EXPECT_DOUBLE_EQ(1.11 + 0.01 * i, m_link.m_Channels[i].m_dGain[0]) << "record " << i;
        EXPECT_DOUBLE_EQ(1.01 + 0.01 * i, m_link.m_Channels[i].m_dGain[1]) << "record " << i;
    }
    for (int i = 8; i < 16; ++i) {
        EXPECT_DOUBLE_EQ(0.98, m_link.m_Channels[i].m_dGain[0]) << "record " << i;
        EXPECT_DOUBLE_EQ(1.02, m_link.m_Channels[i].m_dGain[1]) << "record " << i;
    }
    EXPECT_EQ(4321, m_link.m_nBoxSerial);
    EXPECT_EQ(51599, m_link.m_nCalDate);
    EXPECT_EQ(CString(L"19990515"), m_link.m_strCalDateNumeric);
    EXPECT_EQ(CString(L"5/15/1999"), m_link.m_strCalDateLocale);
    EXPECT_EQ(CString(L"05/15/99"), m_link.m_strCalDateShort);
    EXPECT_EQ(CString(L"8"), m_link.m_strTypeText);
    EXPECT_EQ(CString(L"LZT8 - 4321"), m_link.m_strModelSerial);
    EXPECT_EQ(CString(L"51599"), m_link.m_strCalDateDigits);
    EXPECT_EQ(CString(L"4.75 Volts"), m_link.m_strSupply);
    EXPECT_EQ(CString(L"0.980000"), m_link.m_strRangeGain[0]);
    EXPECT_EQ(CString(L"1.020000"), m_link.m_strRangeGain[1]);
    EXPECT_EQ(CString(L"1.010000"), m_link.m_strChannelGain[0]);
    EXPECT_EQ(CString(L"1.110000"), m_link.m_strChannelGain[1]);
    EXPECT_EQ(CString(L"1.080000"), m_link.m_strChannelGain[14]);
    EXPECT_EQ(CString(L"1.180000"), m_link.m_strChannelGain[15]);

    // Registers in the order read: count, reference, box gain by both range
    // flags, the channel gains of records 0-7 (registers 8 down to 1), serial
    // and date; each first byte followed by three requests.
    EXPECT_EQ(8, m_link.IdentifyDevice());
    const int commands[] = {0x59, 0x5C, 0x58, 0x50, 0x4F, 0x47, 0x4E, 0x46, 0x4D, 0x45, 0x4C,
                            0x44, 0x4B, 0x43, 0x4A, 0x42, 0x49, 0x41, 0x48, 0x40, 0x5A, 0x5B};
    std::vector<int> expected;
    for (int nCommand : commands)
        expected.insert(expected.end(), {nCommand, kNext, kNext, kNext});
    EXPECT_EQ(expected, TakeLog());
}

TEST_F(BoxProtocol, GaugesimServesATwoChannelBox)
{
    ASSERT_TRUE(SerialPortsReady());
    CGaugeSimulator simulator;
    ASSERT_TRUE(simulator.Start(kGaugePort, {"box 2", "serial 99", "gain 1 1.1 1.2", "gain 2 0.9 0.8",
                                             "gain 3 1.3 1.3", "date 123121", "count 2 -1234"}));
    m_link.ConnectDevice();
    ASSERT_EQ(1, m_link.m_bIdentified);
    EXPECT_EQ(2, m_link.m_nChannelCount);
    EXPECT_EQ(CString(L"LZT2 - 99"), m_link.m_strModelSerial);
    EXPECT_EQ(CString(L"20211231"), m_link.m_strCalDateNumeric);
    EXPECT_DOUBLE_EQ(1.1, m_link.m_Channels[0].m_dGain[0]);
    EXPECT_DOUBLE_EQ(1.2, m_link.m_Channels[0].m_dGain[1]);
    EXPECT_DOUBLE_EQ(0.9, m_link.m_Channels[1].m_dGain[0]);
    EXPECT_DOUBLE_EQ(0.8, m_link.m_Channels[1].m_dGain[1]);
    EXPECT_DOUBLE_EQ(1.0, m_link.m_Channels[2].m_dGain[0]);
    EXPECT_EQ(CString(L"0.800000"), m_link.m_strChannelGain[2]);
    EXPECT_TRUE(m_link.m_strChannelGain[4].IsEmpty());

    simulator.TakeLog();
    EXPECT_EQ(2, m_link.IdentifyDevice());
    std::vector<int> expected;
    for (int nCommand : {0x59, 0x5C, 0x58, 0x50, 0x48, 0x40, 0x49, 0x41, 0x5A, 0x5B})
        expected.insert(expected.end(), {nCommand, kNext, kNext, kNext});
    EXPECT_EQ(expected, simulator.TakeLog());

    // Channel 2 of a two-channel box is at its own address, range value 0.
    EXPECT_EQ(-1234.0, m_link.ReadChannel(m_link.m_Channels[1]));
    EXPECT_EQ((std::vector<int>{0x09, kNext}), simulator.TakeLog());
    EXPECT_EQ(1000, m_link.SetFanSpeed(1000));
    EXPECT_EQ(2, m_link.ReadChannelCount());  // answered after the fan bytes are in
    EXPECT_EQ(1000, simulator.Stats()["fan"]);
}

TEST_F(BoxProtocol, IdentificationRefusesImplausibleBoxes)
{
    ASSERT_NO_FATAL_FAILURE(StartAndConnect());
    struct Case {
        const char* pszWhat;
        std::vector<std::string> setup;
        short nResult;
        std::vector<int> received;  // when only the count register is read
    };
    const Case cases[] = {
        {"nine channels", {"channels 9"}, 0, {}},
        {"one channel", {"channels 1"}, 0, {}},
        {"no channels", {"channels 0"}, 0, {0x59, kNext, kNext, kNext}},
        {"count register refused", {"raw register 18 0x5A"}, 0, {0x59}},
        {"65538 channels, which a short would take for 2", {"channels 65538"}, 0, {}},
        {"a reference of 6.0 V", {"volts 6.0"}, 0, {}},
        {"a reference of 4.0 V", {"volts 4.0"}, 0, {}},
        {"a box gain of 0.5", {"boxgain 0.5 1.0"}, 0, {}},
        {"a box gain of 1.5", {"boxgain 1.0 1.5"}, 0, {}},
        {"a silent box", {"silent on"}, 0, {0x59}},
        {"just inside every limit", {"channels 2", "volts 5.99999", "boxgain 0.500001 1.499999"}, 2, {}},
        {"a reference just above 4.0 V", {"volts 4.00001"}, 8, {}},
    };
    for (const Case& c : cases) {
        Set({"clear", "box 8", "volts 5.0", "boxgain 1.0 1.0"});
        Set(c.setup);
        TakeLog();
        CStopwatch watch;
        EXPECT_EQ(c.nResult, m_link.IdentifyDevice()) << c.pszWhat;
        EXPECT_LT(watch.ElapsedMs(), 22 * kRegisterReadMs + 200 + kSlackMs) << c.pszWhat;
        EXPECT_EQ(c.nResult, m_link.m_nChannelCount) << c.pszWhat;
        const std::vector<int> received = TakeLog();
        if (!c.received.empty()) {
            EXPECT_EQ(c.received, received) << c.pszWhat;
        }
    }
}

TEST_F(BoxProtocol, CalibrationDates)
{
    ASSERT_NO_FATAL_FAILURE(StartAndConnect());
    struct Case {
        const char* pszRegister;
        int nCalDate;
        const wchar_t* pszDigits;
        const wchar_t* pszNumeric;
        const wchar_t* pszLocale;  // locale 1033
        const wchar_t* pszShort;   // "%x" in the C locale
    };
    const Case cases[] = {
        {"51599", 51599, L"51599", L"19990515", L"5/15/1999", L"05/15/99"},
        {"101", 10190, L"10190", L"19900101", L"1/1/1990", L"01/01/90"},
        {"0", 10190, L"10190", L"19900101", L"1/1/1990", L"01/01/90"},
        {"123121", 123121, L"123121", L"20211231", L"12/31/2021", L"12/31/21"},
        {"10189", 10190, L"10190", L"19900101", L"1/1/1990", L"01/01/90"},
        // Month 99, day 99: the box is still identified, with no date texts.
        {"999999", 999999, L"999999", L"", L"", L""},
    };
    const LCID previousLocale = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(1033));
    const std::string previousTime = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    for (const Case& c : cases) {
        Set({std::string("date ") + c.pszRegister});
        EXPECT_EQ(8, m_link.IdentifyDevice()) << c.pszRegister;
        EXPECT_EQ(c.nCalDate, m_link.m_nCalDate) << c.pszRegister;
        m_link.m_bTextsFormatted = 0;
        m_link.FormatDeviceInfo();
        EXPECT_EQ(CString(c.pszDigits), m_link.m_strCalDateDigits) << c.pszRegister;
        EXPECT_EQ(CString(c.pszNumeric), m_link.m_strCalDateNumeric) << c.pszRegister;
        EXPECT_EQ(CString(c.pszLocale), m_link.m_strCalDateLocale) << c.pszRegister;
        EXPECT_EQ(CString(c.pszShort), m_link.m_strCalDateShort) << c.pszRegister;
    }
    SetThreadLocale(previousLocale);
    std::setlocale(LC_TIME, previousTime.c_str());
}

TEST_F(BoxProtocol, FailedExchangesEndInTimeAndLeaveTheLineClean)
{
    ASSERT_NO_FATAL_FAILURE(StartAndConnect({"count 5 1000"}));
    CChannelCalibration& record = m_link.m_Channels[4];
    struct Case {
        const char* pszFault;
        bool bZero;
        double dWithinMs;
        DWORD nSettleMs;  // until the box has sent what it was going to
    };
    const Case cases[] = {
        {"lose 1", false, 100 + kDrainMs, 0},
        // The status comes after the zeroing's 1500 ms: too late, and stale
        // when the next exchange begins.
        {"zerodelay 1800", true, 1500 + kDrainMs, 300},
        // The box sends nothing for the data byte, then keeps sending: the
        // drain gives up on it.
        {"babble 0x55 after 150", false, 100 + kDrainMs, 50},
        {"babble 0x55 after 150", true, 100 + kDrainMs, 50},
    };
    for (const Case& c : cases) {
        Set({c.pszFault});
        CStopwatch watch;
        if (c.bZero)
            m_link.AutoZeroChannel(record);
        else
            m_link.ReadChannel(record);
        EXPECT_EQ(1, m_link.m_bFailed) << c.pszFault;
        EXPECT_LT(watch.ElapsedMs(), c.dWithinMs + kSlackMs) << c.pszFault;

        Set({"clear", "zerodelay 20"});
        Sleep(c.nSettleMs);
        EXPECT_EQ(1000.0, m_link.ReadChannel(record)) << c.pszFault;
        EXPECT_EQ(0, m_link.m_bFailed) << c.pszFault;
    }

    // A zeroing may take most of its 1500 ms.
    Set({"zerodelay 1300", "zero 5 -4.5"});
    m_link.AutoZeroChannel(record);
    EXPECT_EQ(0, m_link.m_bFailed);
    EXPECT_EQ(-4.5, record.m_dZero[1]);
}

TEST_F(BoxProtocol, ABabblingBoxHoldsNoCaller)
{
    ASSERT_NO_FATAL_FAILURE(StartBox({"babble 0x55 for 3000"}));
    CStopwatch watch;
    m_link.ConnectDevice();
    EXPECT_LT(watch.ElapsedMs(), 1000.0);
    EXPECT_EQ(0, m_link.m_bConnected);
    EXPECT_EQ(0, m_link.m_bIdentified);
    EXPECT_EQ(-1, m_link.m_nPortIndex);

    // On an open link each exchange ends as soon as its bytes are in, junk
    // or not.
    Set({"babble off"});
    m_link.ConnectDevice();
    ASSERT_EQ(1, m_link.m_bIdentified);
    Set({"babble 0x55 for 3000"});
    watch.Restart();
    m_link.ReadChannel(m_link.m_Channels[0]);
    m_link.AutoZeroChannel(m_link.m_Channels[0]);
    EXPECT_EQ(0, m_link.IdentifyDevice());
    EXPECT_LT(watch.ElapsedMs(), 500.0);
}

TEST_F(BoxProtocol, ReadBoxOnAGaugeLinkIsRefusedWithoutTraffic)
{
    ASSERT_NO_FATAL_FAILURE(StartAndConnect());
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    answerer.ReplyToMessage(IDOK);
    m_link.m_bGauge = 1;
    EXPECT_EQ(0, m_link.read_box(18, 0));
    EXPECT_EQ(1.0, m_link.ReadBoxDecimal(17, 0));
    m_link.SetDigitalOutputs(1, 1);
    EXPECT_EQ(0, m_link.WriteAnalogValue(3, 1.0, 1));
    m_link.m_bGauge = 0;
    ASSERT_EQ(1u, answerer.messages.size());
    EXPECT_EQ(L"no calls to read_box are allowed for RQX0", answerer.messages[0].text);
    EXPECT_TRUE(answerer.AllRepliesUsed());
    // The box has answered this, so it has seen everything sent before.
    EXPECT_EQ(8, m_link.read_box(18, 0));
    EXPECT_EQ((std::vector<int>{0x59, kNext, kNext, kNext}), TakeLog());
}

TEST_F(BoxProtocol, OutputsReferenceVoltageDateAndChannelCount)
{
    ASSERT_NO_FATAL_FAILURE(StartAndConnect());
    m_link.SetDigitalOutputs(0, 0);
    m_link.SetDigitalOutputs(1, 0);
    m_link.SetDigitalOutputs(0, 1);
    m_link.SetDigitalOutputs(1, 1);
    EXPECT_EQ((std::vector<int>{0x8F, 0x9F, 0xAF, 0xBF}), TakeLog(4));

    // Channel 3 of eight at address 6; seven digits d.dddddd, clipped to what
    // the output takes.
    const struct {
        double dValue;
        int nRange;
        std::vector<int> received;
    } analog[] = {
        {2.13579, 1, {0x65, 0x02, 0x13, 0x57, 0x90}},
        {0.0000004, 0, {0x6D, 0x00, 0x00, 0x00, 0x00}},
        {-1.0, 1, {0x65, 0x00, 0x00, 0x00, 0x00}},
        {12.5, 1, {0x65, 0x09, 0x99, 0x99, 0x99}},
    };
    for (const auto& a : analog) {
        EXPECT_EQ(1, m_link.WriteAnalogValue(3, a.dValue, a.nRange)) << a.dValue;
        EXPECT_EQ(a.received, TakeLog(a.received.size())) << a.dValue;
    }

    Set({"volts 4.5"});
    EXPECT_DOUBLE_EQ(4.5, m_link.ReadReferenceVoltage());
    EXPECT_DOUBLE_EQ(4.5, m_link.m_dReferenceVolts);
    const struct {
        const char* pszDate;
        int nCalDate;
    } dates[] = {{"date 101", 10190}, {"date 0", 0}, {"date 51599", 51599}};
    for (const auto& d : dates) {
        Set({d.pszDate});
        EXPECT_EQ(d.nCalDate, m_link.ReadCalibrationDate()) << d.pszDate;
        EXPECT_EQ(d.nCalDate, m_link.m_nCalDate) << d.pszDate;
    }
    const struct {
        const char* pszCount;
        short nCount;
    } counts[] = {{"channels 9", 9}, {"channels 65538", 0}, {"channels 2", 2}};
    for (const auto& c : counts) {
        Set({c.pszCount});
        EXPECT_EQ(c.nCount, m_link.ReadChannelCount()) << c.pszCount;
        EXPECT_EQ(c.nCount, m_link.m_nChannelCount) << c.pszCount;
    }
    TakeLog();

    // Once input and output are barred, nothing reaches the box.
    m_link.m_bIoDisabled = 1;
    m_link.SetDigitalOutputs(1, 1);
    EXPECT_EQ(0, m_link.WriteAnalogValue(3, 1.0, 1));
    EXPECT_DOUBLE_EQ(4.5, m_link.ReadReferenceVoltage());
    EXPECT_EQ(700, m_link.SetFanSpeed(700));
    EXPECT_EQ(0, m_link.IdentifyDevice());
    EXPECT_EQ(0, m_link.ReadChannelCount());
    m_link.m_bIoDisabled = 0;
    // The box has answered this, so it has seen everything sent before.
    EXPECT_EQ(2, m_link.ReadChannelCount());
    EXPECT_EQ((std::vector<int>{0x59, kNext, kNext, kNext}), TakeLog());
}
