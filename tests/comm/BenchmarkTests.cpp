// How many full channel readings a second the link achieves against the
// simulator: paced at the line rate beside the protocol's limit at 9600 baud,
// and unpaced beside plain write/read round trips of the same bytes over the
// same pseudo-terminal pair. The figures are printed; time never fails a test.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "comm/QarCommunications.h"
#include "tests/comm/CommTestSupport.h"

namespace {

// A reading is the command byte out, then the acknowledgement and three value bytes.
constexpr int kBytesPerReading = 5;
constexpr double kByteMs = 10.0 / 9.6;  // start bit, eight data bits, stop bit at 9600 baud

HANDLE OpenRawPort(int nComNumber)
{
    wchar_t szPath[32];
    swprintf(szPath, 32, L"\\\\.\\COM%d", nComNumber);
    HANDLE hPort = CreateFileW(szPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hPort == INVALID_HANDLE_VALUE)
        return nullptr;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(hPort, &dcb);
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(hPort, &dcb);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = 200;
    timeouts.WriteTotalTimeoutConstant = 100;
    SetCommTimeouts(hPort, &timeouts);
    PurgeComm(hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return hPort;
}

// One byte out and four back, with nothing in between but the system calls.
double PlainRoundTripsPerSecond(int nRoundTrips, int& nComplete)
{
    HANDLE hNear = OpenRawPort(kLinkPort);
    HANDLE hFar = OpenRawPort(kGaugePort);
    if (hNear == nullptr || hFar == nullptr) {
        if (hNear != nullptr)
            CloseHandle(hNear);
        if (hFar != nullptr)
            CloseHandle(hFar);
        return 0.0;
    }
    COMMTIMEOUTS peerTimeouts{};
    peerTimeouts.ReadTotalTimeoutConstant = 20;
    peerTimeouts.WriteTotalTimeoutConstant = 100;
    SetCommTimeouts(hFar, &peerTimeouts);
    std::atomic<bool> bStop{false};
    std::thread peer([&] {
        const unsigned char reply[4] = {2, 0x87, 0x48, 0x00};
        while (!bStop) {
            unsigned char nByte;
            DWORD nRead = 0, nWritten = 0;
            if (ReadFile(hFar, &nByte, 1, &nRead, nullptr) && nRead == 1)
                WriteFile(hFar, reply, 4, &nWritten, nullptr);
        }
    });
    nComplete = 0;
    CStopwatch watch;
    for (int i = 0; i < nRoundTrips; ++i) {
        const unsigned char nCommand = 1;
        unsigned char reply[4];
        DWORD nWritten = 0, nRead = 0;
        WriteFile(hNear, &nCommand, 1, &nWritten, nullptr);
        if (ReadFile(hNear, reply, 4, &nRead, nullptr) && nRead == 4)
            ++nComplete;
    }
    const double dElapsedMs = watch.ElapsedMs();
    bStop = true;
    peer.join();
    CloseHandle(hNear);
    CloseHandle(hFar);
    return nRoundTrips * 1000.0 / dElapsedMs;
}

double ReadingsPerSecond(CQarCommunications& link, int nReadings, int& nGood)
{
    nGood = 0;
    CStopwatch watch;
    for (int i = 0; i < nReadings; ++i) {
        const double dValue = link.ReadChannel(link.m_Channels[0]);
        if (!link.m_bFailed && !link.m_bOverRange && dValue == 100.0)
            ++nGood;
    }
    return nReadings * 1000.0 / watch.ElapsedMs();
}

}  // namespace

TEST(Benchmark, ChannelReadingsPerSecondAgainstTheLineAndPlainRoundTrips)
{
    ASSERT_TRUE(SerialPortsReady());
    int nComplete = 0;
    const double dPlain = PlainRoundTripsPerSecond(1000, nComplete);
    EXPECT_EQ(1000, nComplete);

    CGaugeSimulator gauge;
    ASSERT_TRUE(gauge.Start(kGaugePort, {"pressure 1 100"}));
    CQarCommunications link;
    link.InitChannelTable();
    link.m_nFirstPort = link.m_nLastPort = kLinkPort;
    link.ConnectDevice();
    ASSERT_EQ(1, link.m_bIdentified);

    int nGood = 0;
    ReadingsPerSecond(link, 20, nGood);  // warm-up
    const double dUnpaced = ReadingsPerSecond(link, 1000, nGood);
    EXPECT_EQ(1000, nGood);
    gauge.Set({"pace on"});
    const double dPaced = ReadingsPerSecond(link, 300, nGood);
    EXPECT_EQ(300, nGood);
    link.CloseDevice();

    const double dLineLimit = 1000.0 / (kBytesPerReading * kByteMs);
    std::printf("[ figures  ] line limit at 9600 baud: %d bytes x %.3f ms = %.2f ms a reading, %.1f readings/s\n",
                kBytesPerReading, kByteMs, kBytesPerReading * kByteMs, dLineLimit);
    std::printf("[ figures  ] paced simulator:   %.1f readings/s (%.3f ms each), %.2f of the line limit\n", dPaced,
                1000.0 / dPaced, dPaced / dLineLimit);
    std::printf("[ figures  ] unpaced simulator: %.1f readings/s (%.3f ms each)\n", dUnpaced, 1000.0 / dUnpaced);
    std::printf("[ figures  ] plain round trips: %.1f a second (%.3f ms each); unpaced readings are %.2f of them\n",
                dPlain, 1000.0 / dPlain, dUnpaced / dPlain);
    RecordProperty("paced_readings_per_second", static_cast<int>(dPaced));
    RecordProperty("unpaced_readings_per_second", static_cast<int>(dUnpaced));
    RecordProperty("plain_round_trips_per_second", static_cast<int>(dPlain));
}
