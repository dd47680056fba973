// The gauge job threads, run as their callers run them (CGaugeJobGroup),
// against the gauge simulator or a scripted device on the far end of a
// pseudo-terminal pair: autozero, reading all channels, probing a COM port
// and re-identifying; a job that outlives the wait; four gauges at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Clock.h"
#include "comm/GaugeJobs.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"

namespace {

// The pairs that tools/serial-pair joins: link port, far end.
constexpr int kPairs[4][2] = {{201, 202}, {203, 204}, {205, 206}, {207, 208}};
// Beyond the ports the test prefix maps: a COM port the machine lacks.
// (A mapped port whose device is gone opens under Wine and reads as no
// serial port instead.)
constexpr int kMissingPort = 300;

testing::AssertionResult AllPairsReady()
{
    for (const auto& pair : kPairs) {
        for (int nPort : pair) {
            CQarCommunications probe;
            if (probe.CheckPort(nPort - 1) != 0)
                return testing::AssertionFailure()
                       << "COM" << nPort << " is not joined; run the comm tests through ctest (tools/serial-pair)";
        }
    }
    return testing::AssertionSuccess();
}

int Count(const std::vector<int>& log, int nCommand)
{
    return static_cast<int>(std::count(log.begin(), log.end(), nCommand));
}

// A device scripted byte by byte on the far end of a pair: for each byte it
// receives, the responder says what to send back.
class CScriptedDevice {
public:
    using Responder = std::function<std::string(unsigned char)>;

    ~CScriptedDevice() { Stop(); }

    testing::AssertionResult Start(int nComPort, Responder responder)
    {
        wchar_t szPath[32];
        swprintf(szPath, 32, L"\\\\.\\COM%d", nComPort);
        m_hPort = CreateFileW(szPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (m_hPort == INVALID_HANDLE_VALUE) {
            m_hPort = nullptr;
            return testing::AssertionFailure() << "cannot open COM" << nComPort;
        }
        COMMTIMEOUTS timeouts{};
        timeouts.ReadTotalTimeoutConstant = 10;
        SetCommTimeouts(m_hPort, &timeouts);
        PurgeComm(m_hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
        m_responder = std::move(responder);
        m_bStop = false;
        m_worker = std::thread([this] { Serve(); });
        return testing::AssertionSuccess();
    }
    void Stop()
    {
        m_bStop = true;
        if (m_worker.joinable())
            m_worker.join();
        if (m_hPort != nullptr)
            CloseHandle(m_hPort);
        m_hPort = nullptr;
    }
    std::vector<int> Received()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

private:
    void Serve()
    {
        while (!m_bStop) {
            unsigned char nByte = 0;
            DWORD nRead = 0;
            if (!ReadFile(m_hPort, &nByte, 1, &nRead, nullptr) || nRead != 1)
                continue;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.push_back(nByte);
            }
            const std::string answer = m_responder(nByte);
            DWORD nWritten = 0;
            if (!answer.empty())
                WriteFile(m_hPort, answer.data(), static_cast<DWORD>(answer.size()), &nWritten, nullptr);
        }
    }

    HANDLE m_hPort = nullptr;
    Responder m_responder;
    std::atomic<bool> m_bStop{false};
    std::thread m_worker;
    std::mutex m_mutex;
    std::vector<int> m_received;
};

// A modem: echoes what it gets and answers a carriage return with OK.
std::string ModemAnswer(unsigned char nByte)
{
    std::string answer(1, static_cast<char>(nByte));
    if (nByte == '\r')
        answer += "\r\nOK\r\n";
    return answer;
}

// A data-acquisition box as the register protocol describes it from the
// device's side: a command byte gets its first byte at once, each 0xCC the
// next one. Commands it has no answer for are met with silence.
class CScriptedBox {
public:
    std::map<int, std::vector<unsigned char>> m_answers;  // by command byte
    std::vector<unsigned char> m_defaultAnswer;           // for other commands; empty: silence

    // A register's seven digits packed as the box sends them.
    void SetRegister(int nRegister, const char* pszDigits)
    {
        for (int nRangeBit : {0, 8}) {
            const int nCommand = 0x40 | (nRegister - 1) | nRangeBit;
            std::vector<unsigned char> bytes{static_cast<unsigned char>(pszDigits[0] - '0')};
            for (int i = 1; i < 7; i += 2)
                bytes.push_back(static_cast<unsigned char>(((pszDigits[i] - '0') << 4) | (pszDigits[i + 1] - '0')));
            m_answers[nCommand] = bytes;
        }
    }
    // An eight-channel box of serial 4321 with unit gains, 5.0 V reference.
    void SetPlausibleIdentity()
    {
        SetRegister(18, "0000008");
        SetRegister(21, "0500000");
        SetRegister(17, "1000000");
        for (int nRegister = 1; nRegister <= 8; ++nRegister)
            SetRegister(nRegister, "1000000");
        SetRegister(19, "0004321");
        SetRegister(20, "0051519");
    }

    std::string Answer(unsigned char nByte)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (nByte == 0xCC) {
            if (m_pending.empty())
                return {};
            const std::string next(1, static_cast<char>(m_pending.front()));
            m_pending.erase(m_pending.begin());
            return next;
        }
        const auto it = m_answers.find(nByte);
        const std::vector<unsigned char>& bytes = it != m_answers.end() ? it->second : m_defaultAnswer;
        m_pending.clear();
        if (bytes.empty())
            return {};
        m_pending.assign(bytes.begin() + 1, bytes.end());
        return std::string(1, static_cast<char>(bytes[0]));
    }

private:
    std::mutex m_mutex;
    std::vector<unsigned char> m_pending;
};

class GaugeJobs : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AllPairsReady()); }
    void TearDown() override
    {
        for (CQarCommunications& link : m_links)
            if (link.m_hPort != nullptr)
                link.ClosePort();
    }

    // Link i connected to a simulated gauge on the far end of pair i.
    void ConnectGauge(int i, const std::vector<std::string>& setup = {})
    {
        ASSERT_TRUE(m_gauges[i].Start(kPairs[i][1], setup));
        CQarCommunications& link = m_links[i];
        link.InitChannelTable();
        link.m_nFirstPort = static_cast<short>(kPairs[i][0]);
        link.m_nLastPort = static_cast<short>(kPairs[i][0]);
        link.ConnectDevice();
        ASSERT_EQ(1, link.m_bIdentified);
        m_gauges[i].TakeLog();
    }

    // Link i open on pair i as a box of eight channels, with a scripted box
    // on the far end.
    void OpenBox(int i, CScriptedBox& box)
    {
        ASSERT_TRUE(m_device.Start(kPairs[i][1], [&box](unsigned char nByte) { return box.Answer(nByte); }));
        CQarCommunications& link = m_links[i];
        link.InitChannelTable();
        link.OpenPortNumber(kPairs[i][0]);
        ASSERT_NE(nullptr, link.m_hPort);
        link.m_bGauge = 0;
        link.m_bConnected = 1;
        link.m_nChannelCount = 8;
    }

    // One job through the group, as its callers run it.
    static CGaugeJobGroup::Outcome RunOne(CQarCommThreads& job, int nPriority = THREAD_PRIORITY_TIME_CRITICAL)
    {
        CGaugeJobGroup group;
        CQarCommThreads* jobs[] = {&job};
        group.Run(jobs, 1, nPriority);
        return group.GetOutcomes().at(0);
    }

    CQarCommunications m_links[4];
    CGaugeSimulator m_gauges[4];
    CScriptedDevice m_device;
};

}  // namespace

TEST(GaugeJobConversion, BoxCountsUseTheDivisorOfChannelAndRange)
{
    struct Case {
        short nChannel;
        short nRange;
        double dCount;
        double dExpected;
    };
    const Case cases[] = {
        {5, 1, 1100.0, 120.0},             // (1100 - 100) x 1.2 / 10
        {8, 0, 1100.0, (1100.0 - 40.0) * 0.9 / 2.0},
        {9, 0, 1100.0, (1100.0 - 40.0) * 0.9 / 1000.0},
        {24, 1, 1100.0, (1100.0 - 100.0) * 1.2 / 10000.0},
        {1, 1, -4095.0, (-4095.0 - 100.0) * 1.2 / 10.0},
    };
    for (const Case& c : cases) {
        CChannelCalibration channel;
        channel.m_nChannel = c.nChannel;
        channel.m_nRange = c.nRange;
        channel.m_dGain[0] = 0.9;
        channel.m_dGain[1] = 1.2;
        channel.m_dZero[0] = 40.0;
        channel.m_dZero[1] = 100.0;
        EXPECT_DOUBLE_EQ(c.dExpected, CQarCommThreads::ConvertLztCounts(channel, c.dCount))
            << "channel " << c.nChannel << " range " << c.nRange;
    }
}

TEST(GaugeJobRecord, StartsAsAnAutozeroOfNothingAndEndsWithCodeZeroForOtherJobs)
{
    CQarCommThreads job;
    EXPECT_EQ(CQarCommThreads::kAutoZero, job.m_nJob);
    EXPECT_EQ(0, job.m_bEnableDash);
    EXPECT_TRUE(job.IsKindOf(RUNTIME_CLASS(CWinThread)));
    CQarCommunications link;
    job.m_pLink = &link;
    job.m_nJob = 7;
    CGaugeJobGroup group;
    CQarCommThreads* jobs[] = {&job};
    EXPECT_TRUE(group.Run(jobs, 1, THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(CGaugeJobGroup::State::Ended, group.GetOutcomes()[0].state);
    EXPECT_EQ(0u, group.GetOutcomes()[0].dwExitCode);
    EXPECT_EQ(nullptr, job.m_hThread);
}

TEST_F(GaugeJobs, AutoZeroOnAGauge)
{
    struct Case {
        const char* pszName;
        std::vector<std::string> faults;
        int bRQ80;
        int bEnableDash;
        DWORD dwExitCode;
        int nDashCommands;
        int nZeroCommands;
        long long nZeros;
        int bFailed;
    };
    const Case cases[] = {
        {"dash acknowledged", {}, 0, 1, 0, 1, 1, 1, 0},
        {"dash not acknowledged", {"fault silent 11 0 0"}, 0, 1, 10, 1, 0, 0, 0},
        {"no dash asked", {}, 0, 0, 0, 0, 1, 1, 0},
        {"RQ80 needs no dash command", {}, 1, 1, 0, 0, 1, 1, 0},
        {"two failures, then zeroed", {"fault silent 8 0 2"}, 0, 0, 0, 0, 3, 1, 0},
        {"never acknowledged", {"fault silent 8 0 0"}, 0, 0, 0, 0, 3, 0, 1},
    };
    ConnectGauge(0);
    CQarCommunications& link = m_links[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_gauges[0].Set({"clear"});
        m_gauges[0].Set(c.faults);
        const long long nZerosBefore = m_gauges[0].Stats()["zeros"];
        m_gauges[0].TakeLog();
        link.m_bRQ80 = c.bRQ80;
        CQarCommThreads job;
        job.m_pLink = &link;
        job.m_nJob = CQarCommThreads::kAutoZero;
        job.m_nChannels = 2;
        job.m_bEnableDash = c.bEnableDash;
        const CGaugeJobGroup::Outcome outcome = RunOne(job, THREAD_PRIORITY_NORMAL);
        link.m_bRQ80 = 0;
        ASSERT_EQ(CGaugeJobGroup::State::Ended, outcome.state);
        EXPECT_EQ(c.dwExitCode, outcome.dwExitCode);
        const std::vector<int> log = m_gauges[0].TakeLog();
        EXPECT_EQ(c.nDashCommands, Count(log, 11));
        EXPECT_EQ(c.nZeroCommands, Count(log, 8));
        EXPECT_EQ(c.nZeros, m_gauges[0].Stats()["zeros"] - nZerosBefore);
        EXPECT_EQ(c.bFailed, link.m_bFailed);
    }
}

TEST_F(GaugeJobs, ReadAllChannelsOfAGauge)
{
    struct Case {
        const char* pszName;
        std::vector<std::string> faults;
        int nChannels;
        double dValues[3];
        int nReadCommands[2];
        int bFailed;
        int bOverRange;
    };
    constexpr double kUntouched = -777.0;
    const Case cases[] = {
        {"both read", {}, 2, {12.5, -40.0, kUntouched}, {1, 1}, 0, 0},
        {"second fails three times", {"fault silent 2 0 0"}, 2, {12.5, 0.0, kUntouched}, {1, 3}, 1, 0},
        {"first fails once", {"fault silent 1 0 1"}, 2, {12.5, -40.0, kUntouched}, {2, 1}, 0, 0},
        {"first fails for good", {"fault silent 1 0 0"}, 2, {0.0, kUntouched, kUntouched}, {3, 0}, 1, 0},
        // A channel beyond its range is reported though a later one read well.
        {"first beyond the range", {"fault beyond 1 0 0 1300"}, 2, {0.0, -40.0, kUntouched}, {1, 1}, 0, 1},
        {"second beyond the range", {"fault beyond 2 0 0 1300"}, 2, {12.5, 0.0, kUntouched}, {1, 1}, 0, 1},
        {"no channels", {}, 0, {kUntouched, kUntouched, kUntouched}, {0, 0}, 0, 0},
        // Record 2 is channel 3, which a gauge does not have.
        {"a third record", {}, 3, {12.5, -40.0, 0.0}, {1, 1}, 1, 0},
    };
    ConnectGauge(0, {"pressure 1 12.5", "pressure 2 -40"});
    CQarCommunications& link = m_links[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_gauges[0].Set({"clear"});
        m_gauges[0].Set(c.faults);
        m_gauges[0].TakeLog();
        link.m_bFailed = 0;
        link.m_bOverRange = 0;
        CQarCommThreads job;
        job.m_pLink = &link;
        job.m_nJob = CQarCommThreads::kReadChannels;
        job.m_nChannels = c.nChannels;
        std::fill(std::begin(job.m_dValues), std::end(job.m_dValues), kUntouched);
        const CGaugeJobGroup::Outcome outcome = RunOne(job);
        ASSERT_EQ(CGaugeJobGroup::State::Ended, outcome.state);
        EXPECT_EQ(0u, outcome.dwExitCode);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.dValues[i], job.m_dValues[i]) << "value " << i;
        const std::vector<int> log = m_gauges[0].TakeLog();
        EXPECT_EQ(c.nReadCommands[0], Count(log, 1));
        EXPECT_EQ(c.nReadCommands[1], Count(log, 2));
        EXPECT_EQ(c.bFailed, link.m_bFailed);
        EXPECT_EQ(c.bOverRange, link.m_bOverRange);
    }
}

TEST_F(GaugeJobs, ReadAndZeroTheRecordsOfABox)
{
    // Eight channels: channels 1-8 are addressed as 9 - n, so record 0
    // (channel 1, range 1) reads with 0x07, record 1 with 0x06, record 2 with 0x05.
    CScriptedBox box;
    OpenBox(0, box);
    CQarCommunications& link = m_links[0];
    for (int i = 0; i < 8; ++i) {
        link.m_Channels[i].m_nRange = 1;
        link.m_Channels[i].m_dGain[1] = 1.0;
        link.m_Channels[i].m_dZero[1] = 0.0;
    }
    constexpr double kUntouched = -777.0;
    struct Case {
        const char* pszName;
        std::map<int, std::vector<unsigned char>> answers;
        int nChannels;
        std::vector<double> values;  // the first values; the rest stay untouched
        std::map<int, int> commandCounts;
        int bFailed;
    };
    const Case cases[] = {
        {"second record fails three times",
         {{0x07, {0x01, 0x00}}, {0x05, {0x00, 0x10}}},
         3,
         {25.6, 0.0, kUntouched},
         {{0x07, 1}, {0x06, 3}, {0x05, 0}},
         1},
        {"all three read", {{0x07, {0x01, 0x00}}, {0x06, {0x80, 0x64}}, {0x05, {0x00, 0x10}}}, 3, {25.6, -10.0, 1.6},
         {{0x07, 1}, {0x06, 1}, {0x05, 1}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        box.m_answers = c.answers;
        const size_t nBefore = m_device.Received().size();
        CQarCommThreads job;
        job.m_pLink = &link;
        job.m_nJob = CQarCommThreads::kReadChannels;
        job.m_nChannels = c.nChannels;
        std::fill(std::begin(job.m_dValues), std::end(job.m_dValues), kUntouched);
        ASSERT_EQ(CGaugeJobGroup::State::Ended, RunOne(job).state);
        for (size_t i = 0; i < c.values.size(); ++i)
            EXPECT_DOUBLE_EQ(c.values[i], job.m_dValues[i]) << "value " << i;
        const std::vector<int> received = m_device.Received();
        const std::vector<int> sent(received.begin() + static_cast<long>(nBefore), received.end());
        for (const auto& [nCommand, nCount] : c.commandCounts)
            EXPECT_EQ(nCount, Count(sent, nCommand)) << "command " << nCommand;
        EXPECT_EQ(c.bFailed, link.m_bFailed);
    }

    // Channel 5 at range 1 with gain 1.2 and zero 100: a count of 1100 is 120.
    CChannelCalibration& first = link.m_Channels[0];
    first.m_nChannel = 5;
    first.m_dGain[1] = 1.2;
    first.m_dZero[1] = 100.0;
    box.m_answers = {{0x03, {0x04, 0x4C}}};
    CQarCommThreads job;
    job.m_pLink = &link;
    job.m_nJob = CQarCommThreads::kReadChannels;
    job.m_nChannels = 1;
    ASSERT_EQ(CGaugeJobGroup::State::Ended, RunOne(job).state);
    EXPECT_DOUBLE_EQ(120.0, job.m_dValues[0]);
    link.InitChannelTable();

    // A channel count beyond what the values and the records hold: eight
    // readings and sixteen zeroings at most, and nothing written beyond.
    box.m_answers.clear();
    box.m_defaultAnswer = {0x00, 0x10};
    for (int nJob : {CQarCommThreads::kReadChannels, CQarCommThreads::kAutoZero}) {
        SCOPED_TRACE(nJob);
        const size_t nBefore = m_device.Received().size();
        CQarCommThreads bounded;
        bounded.m_pLink = &link;
        bounded.m_nJob = nJob;
        bounded.m_nChannels = 248;
        bounded.m_nScanIndex = 4711;
        ASSERT_EQ(CGaugeJobGroup::State::Ended, RunOne(bounded).state);
        const std::vector<int> received = m_device.Received();
        const long nCommands = std::count_if(received.begin() + static_cast<long>(nBefore), received.end(),
                                             [](int nByte) { return nByte != 0xCC; });
        EXPECT_EQ(nJob == CQarCommThreads::kReadChannels ? 8 : 16, nCommands);
        EXPECT_EQ(4711, bounded.m_nScanIndex);
        EXPECT_EQ(0, link.m_bFailed);
    }
}

TEST_F(GaugeJobs, ProbeEachKindOfPort)
{
    enum Device { kNothing, kGauge, kModem, kBox };
    struct Case {
        const char* pszName;
        int nComPort;
        Device device;
        int nProbeResult;
        int nDeviceCode;
    };
    constexpr int kUntouched = 77;
    const Case cases[] = {
        {"no such port", kMissingPort, kNothing, ERROR_FILE_NOT_FOUND, kUntouched},
        {"not a serial port", kPlainFilePort, kNothing, -1, kUntouched},
        {"a mapped port whose device is gone", 250, kNothing, -1, kUntouched},
        {"a gauge", kPairs[0][0], kGauge, 0, 4},
        {"a box", kPairs[0][0], kBox, 0, 8},
        {"a modem", kPairs[0][0], kModem, 1, 0},
        {"nothing answers", kPairs[0][0], kNothing, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CScriptedBox box;
        box.SetPlausibleIdentity();
        if (c.device == kGauge) {
            ASSERT_TRUE(m_gauges[0].Start(kPairs[0][1], {"channels 4"}));
        } else if (c.device == kModem) {
            ASSERT_TRUE(m_device.Start(kPairs[0][1], ModemAnswer));
        } else if (c.device == kBox) {
            ASSERT_TRUE(m_device.Start(kPairs[0][1], [&box](unsigned char nByte) { return box.Answer(nByte); }));
        } else if (c.nComPort == kPairs[0][0]) {
            ASSERT_TRUE(m_device.Start(kPairs[0][1], [](unsigned char) { return std::string(); }));
        }

        CQarCommunications link;
        link.InitChannelTable();
        link.m_nFirstPort = 3;
        link.m_nLastPort = 9;
        link.m_nPortIndex = c.nComPort - 1;
        CQarCommThreads job;
        job.m_pLink = &link;
        job.m_nJob = CQarCommThreads::kProbePort;
        job.m_nDeviceCode = kUntouched;
        job.m_nScanIndex = c.nComPort;
        ASSERT_EQ(CGaugeJobGroup::State::Ended, RunOne(job).state);
        EXPECT_EQ(c.nProbeResult, job.m_nProbeResult);
        EXPECT_EQ(c.nDeviceCode, job.m_nDeviceCode);
        // The port is given back and the caller's search range restored.
        EXPECT_EQ(nullptr, link.m_hPort);
        EXPECT_EQ(0, link.m_bConnected);
        EXPECT_EQ(3, link.m_nFirstPort);
        EXPECT_EQ(9, link.m_nLastPort);
        m_gauges[0].Stop();
        m_device.Stop();
    }
}

TEST_F(GaugeJobs, ReidentifyASerialLink)
{
    ConnectGauge(0, {"channels 3"});
    CQarCommunications& link = m_links[0];
    link.m_nFirstPort = 3;
    link.m_nLastPort = 9;
    link.m_bTextsFormatted = 0;

    CQarCommThreads job;
    job.m_pLink = &link;
    job.m_nJob = CQarCommThreads::kReidentify;
    ASSERT_EQ(CGaugeJobGroup::State::Ended, RunOne(job).state);
    EXPECT_EQ(0, job.m_nProbeResult);
    EXPECT_EQ(3, job.m_nDeviceCode);
    // The link stays open on its port.
    EXPECT_NE(nullptr, link.m_hPort);
    EXPECT_EQ(1, link.m_bConnected);
    EXPECT_EQ(kPairs[0][0] - 1, link.m_nPortIndex);
    EXPECT_EQ(1, link.m_bTextsFormatted);
    EXPECT_EQ(3, link.m_nFirstPort);
    EXPECT_EQ(9, link.m_nLastPort);

    // The port vanished: the system's error, the link closed, its range as before.
    link.m_nPortIndex = kMissingPort - 1;
    job.m_nDeviceCode = 55;
    ASSERT_EQ(CGaugeJobGroup::State::Ended, RunOne(job).state);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, job.m_nProbeResult);
    EXPECT_EQ(55, job.m_nDeviceCode);
    EXPECT_EQ(nullptr, link.m_hPort);
    EXPECT_EQ(0, link.m_bConnected);
    EXPECT_EQ(3, link.m_nFirstPort);
    EXPECT_EQ(9, link.m_nLastPort);
}

namespace {

// A job whose deletion the test can see.
class CWatchedJob : public CQarCommThreads {
public:
    explicit CWatchedJob(std::atomic<int>& deleted) : m_deleted(deleted) {}
    ~CWatchedJob() override { ++m_deleted; }
    std::atomic<int>& m_deleted;
};

// Fails to create the thread of the job at one position.
class CFailingGroup : public CGaugeJobGroup {
public:
    explicit CFailingGroup(int nFailAt) : m_nFailAt(nFailAt) {}

protected:
    bool StartJob(CQarCommThreads& job, int nPriority) override
    {
        if (m_nStarts++ == m_nFailAt)
            return false;
        return CGaugeJobGroup::StartJob(job, nPriority);
    }

private:
    int m_nFailAt;
    int m_nStarts = 0;
};

}  // namespace

TEST_F(GaugeJobs, AJobThatOutlivesTheWaitFailsAndKeepsItsObjectAndLink)
{
    // The gauge takes 2.5 s to zero; the callers' wait is cut to 0.5 s here.
    ConnectGauge(0, {"zerodelay 2500"});
    CQarCommunications& link = m_links[0];
    std::atomic<int> deleted{0};
    auto* pJob = new CWatchedJob(deleted);
    pJob->m_pLink = &link;
    pJob->m_nJob = CQarCommThreads::kAutoZero;

    CGaugeJobGroup group;
    std::vector<CQarCommThreads*> jobs{pJob};
    CStopwatch watch;
    EXPECT_FALSE(group.Run(jobs, THREAD_PRIORITY_NORMAL, 500));
    EXPECT_LT(watch.ElapsedMs(), 1500.0);
    EXPECT_EQ(CGaugeJobGroup::State::StillRunning, group.GetOutcomes()[0].state);
    EXPECT_NE(nullptr, pJob->m_hThread);
    EXPECT_TRUE(group.IsLinkInUse(&link));

    // Neither the same object nor another one on the same link starts meanwhile.
    CQarCommThreads other;
    other.m_pLink = &link;
    other.m_nJob = CQarCommThreads::kReadChannels;
    other.m_nChannels = 2;
    jobs = {pJob, &other};
    EXPECT_FALSE(group.Run(jobs, THREAD_PRIORITY_TIME_CRITICAL, 100));
    EXPECT_EQ(CGaugeJobGroup::State::NotStarted, group.GetOutcomes()[0].state);
    EXPECT_EQ(CGaugeJobGroup::State::NotStarted, group.GetOutcomes()[1].state);

    group.DeleteWhenEnded(pJob);
    EXPECT_EQ(0, deleted.load());
    EXPECT_TRUE(group.WaitForStragglers(5000));
    EXPECT_EQ(1, deleted.load());
    EXPECT_FALSE(group.IsLinkInUse(&link));
    EXPECT_EQ(1, m_gauges[0].Stats()["zeros"]);
    EXPECT_EQ(0, link.m_bFailed);

    // Two jobs of one group on one link: only the first runs.
    CQarCommThreads first;
    first.m_pLink = &link;
    first.m_nJob = CQarCommThreads::kReadChannels;
    first.m_nChannels = 2;
    jobs = {&first, &other};
    EXPECT_FALSE(group.Run(jobs, THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(CGaugeJobGroup::State::Ended, group.GetOutcomes()[0].state);
    EXPECT_EQ(CGaugeJobGroup::State::NotStarted, group.GetOutcomes()[1].state);
}

TEST_F(GaugeJobs, AThreadThatCannotBeCreatedStopsTheGroupAfterTheStartedOnesEnd)
{
    ConnectGauge(0, {"zerodelay 300"});
    ConnectGauge(1);
    CQarCommThreads jobs[3];
    for (int i = 0; i < 3; ++i) {
        jobs[i].m_pLink = &m_links[i];
        jobs[i].m_nJob = CQarCommThreads::kAutoZero;
    }
    CFailingGroup group(1);
    CQarCommThreads* pJobs[] = {&jobs[0], &jobs[1], &jobs[2]};
    EXPECT_FALSE(group.Run(pJobs, 3, THREAD_PRIORITY_NORMAL));
    const std::vector<CGaugeJobGroup::Outcome>& outcomes = group.GetOutcomes();
    // The first job was waited for before the group gave up.
    EXPECT_EQ(CGaugeJobGroup::State::Ended, outcomes[0].state);
    EXPECT_EQ(nullptr, jobs[0].m_hThread);
    EXPECT_EQ(1, m_gauges[0].Stats()["zeros"]);
    EXPECT_EQ(CGaugeJobGroup::State::NotStarted, outcomes[1].state);
    EXPECT_EQ(CGaugeJobGroup::State::NotStarted, outcomes[2].state);
    EXPECT_EQ(0, m_gauges[1].Stats()["zeros"]);
}

TEST_F(GaugeJobs, FourGaugesTakeAboutTheTimeOfOne)
{
    for (int i = 0; i < 4; ++i)
        ConnectGauge(i, {"zerodelay 400"});
    auto runGroup = [this](int nGauges) {
        std::vector<CQarCommThreads> jobs(static_cast<size_t>(nGauges));
        std::vector<CQarCommThreads*> pointers;
        for (int i = 0; i < nGauges; ++i) {
            jobs[i].m_pLink = &m_links[i];
            jobs[i].m_nJob = CQarCommThreads::kAutoZero;
            pointers.push_back(&jobs[i]);
        }
        CGaugeJobGroup group;
        CStopwatch watch;
        EXPECT_TRUE(group.Run(pointers, THREAD_PRIORITY_NORMAL));
        const double dElapsedMs = watch.ElapsedMs();
        for (int i = 0; i < nGauges; ++i)
            EXPECT_EQ(0, m_links[i].m_bFailed) << i;
        return dElapsedMs;
    };
    const double dOneMs = runGroup(1);
    const double dFourMs = runGroup(4);
    std::printf("[ figures  ] autozero (400 ms in the gauge): one gauge %.0f ms, four gauges at once %.0f ms "
                "(one after another would be about %.0f ms)\n",
                dOneMs, dFourMs, 4 * dOneMs);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(i == 0 ? 2 : 1, m_gauges[i].Stats()["zeros"]) << i;
    // Generous: only a group that ran its jobs one after another fails.
    EXPECT_LT(dFourMs, 2.5 * dOneMs);
}

TEST(GaugeJobsOnTheNetwork, OneRequestForBothChannelsNoDashForAnRQ80AndReidentification)
{
    // The link's waits after opening run on a clock that steps.
    CSteppingClock clock(1000);
    CScopedProgramClock scopedClock(clock);
    CNetworkGaugeModel model(CNetworkGaugeModel::kRQ80);
    ASSERT_TRUE(model.Start());
    CWifiDeviceInfo device;
    device.m_strAddress = L"127.0.0.1";
    device.m_nPort = model.GetPort();
    device.m_nDeviceType = model.GetDeviceType();

    CQarCommunications link;
    link.InitChannelTable();
    link.m_bNetwork = 1;
    link.m_Device = device;
    CQarCommThreads job;
    job.m_pLink = &link;
    job.m_nJob = CQarCommThreads::kReidentify;
    CGaugeJobGroup group;
    CQarCommThreads* jobs[] = {&job};
    ASSERT_TRUE(group.Run(jobs, 1, THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(2, job.m_nDeviceCode);
    ASSERT_EQ(1, link.m_bSocketOpen);
    model.TakeRequests();

    job.m_nJob = CQarCommThreads::kAutoZero;
    job.m_bEnableDash = 1;
    ASSERT_TRUE(group.Run(jobs, 1, THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(0u, group.GetOutcomes()[0].dwExitCode);
    EXPECT_EQ(std::vector<std::string>{"FZ"}, model.TakeRequests());

    // Set after the zeroing, which takes the pressures of the moment as zero.
    ASSERT_EQ("ok", model.Apply("pressure 1 12.5"));
    ASSERT_EQ("ok", model.Apply("pressure 2 -40"));
    job.m_nJob = CQarCommThreads::kReadChannels;
    job.m_nChannels = 2;
    ASSERT_TRUE(group.Run(jobs, 1, THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(12.5, job.m_dValues[0]);
    EXPECT_EQ(-40.0, job.m_dValues[1]);
    EXPECT_EQ(std::vector<std::string>{"G0"}, model.TakeRequests());

    // A failed network reading is not repeated: the link closed its socket.
    ASSERT_EQ("ok", model.Apply("fault nc G0"));
    ASSERT_TRUE(group.Run(jobs, 1, THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(0.0, job.m_dValues[0]);
    EXPECT_EQ(0.0, job.m_dValues[1]);
    EXPECT_EQ(1, link.m_bFailed);
    EXPECT_EQ(0, link.m_bSocketOpen);
    EXPECT_EQ(std::vector<std::string>{"G0"}, model.TakeRequests());
    model.Stop();
}
