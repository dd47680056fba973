// How many readings of both channels a second a network gauge gives on
// loopback: through the link's "G0" request, through the reading job (one
// worker thread per reading, as its callers run it), and beside plain
// blocking send/recv round trips of the same request and reply to the same
// model in the same run. The figures are printed; time never fails a test.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/Clock.h"
#include "comm/GaugeJobs.h"
#include "comm/QarCommThreads.h"
#include "comm/QarCommunications.h"
#include "tests/comm/CommTestSupport.h"
#include "tools/NetworkGaugeModel.h"

namespace {

const char kRequest[] = "G0\r\n";
const char kReply[] = "G0 874800874800\r\n";  // both channels 100.0

// "G0" out and its reply back over a blocking socket, nothing else between.
double PlainRoundTripsPerSecond(unsigned short nPort, int nRoundTrips, int& nComplete)
{
    nComplete = 0;
    SOCKET hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(nPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (hSocket == INVALID_SOCKET ||
        connect(hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
        if (hSocket != INVALID_SOCKET)
            closesocket(hSocket);
        return 0.0;
    }
    const int nReply = static_cast<int>(std::strlen(kReply));
    CStopwatch watch;
    for (int i = 0; i < nRoundTrips; ++i) {
        if (send(hSocket, kRequest, static_cast<int>(std::strlen(kRequest)), 0) == SOCKET_ERROR)
            break;
        char buffer[64];
        int nReceived = 0;
        while (nReceived < nReply) {
            const int n = recv(hSocket, buffer + nReceived, static_cast<int>(sizeof buffer) - nReceived, 0);
            if (n <= 0)
                break;
            nReceived += n;
        }
        if (nReceived == nReply && std::memcmp(buffer, kReply, nReply) == 0)
            ++nComplete;
    }
    const double dElapsedMs = watch.ElapsedMs();
    closesocket(hSocket);
    return nRoundTrips * 1000.0 / dElapsedMs;
}

double LinkReadingsPerSecond(CQarCommunications& link, int nReadings, int& nGood)
{
    nGood = 0;
    CStopwatch watch;
    for (int i = 0; i < nReadings; ++i) {
        double dA = 0.0, dB = 0.0;
        if (link.ReadBothChannelsWifi(dA, dB) && dA == 100.0 && dB == 100.0)
            ++nGood;
    }
    return nReadings * 1000.0 / watch.ElapsedMs();
}

double JobReadingsPerSecond(CQarCommunications& link, int nReadings, int& nGood)
{
    nGood = 0;
    CStopwatch watch;
    for (int i = 0; i < nReadings; ++i) {
        CQarCommThreads job;
        job.m_pLink = &link;
        job.m_nJob = CQarCommThreads::kReadChannels;
        job.m_nChannels = 2;
        CGaugeJobGroup group;
        CQarCommThreads* jobs[] = {&job};
        if (group.Run(jobs, 1, THREAD_PRIORITY_TIME_CRITICAL) && !link.m_bFailed && !link.m_bOverRange &&
            job.m_dValues[0] == 100.0 && job.m_dValues[1] == 100.0)
            ++nGood;
    }
    return nReadings * 1000.0 / watch.ElapsedMs();
}

}  // namespace

TEST(Benchmark, NetworkReadingsPerSecondAgainstPlainRoundTrips)
{
    CNetworkGaugeModel model(CNetworkGaugeModel::kRQ40Adapter);
    ASSERT_EQ("ok", model.Apply("pressure 1 100"));
    ASSERT_EQ("ok", model.Apply("pressure 2 100"));
    ASSERT_TRUE(model.Start());

    int nComplete = 0;
    PlainRoundTripsPerSecond(model.GetPort(), 50, nComplete);  // warm-up
    const double dPlain = PlainRoundTripsPerSecond(model.GetPort(), 500, nComplete);
    EXPECT_EQ(500, nComplete);

    // The pause after connecting passes on a stepping clock.
    CSteppingClock clock(1000);
    CScopedProgramClock scopedClock(clock);
    CQarCommunications link;
    CWifiDeviceInfo device;
    device.m_strAddress = L"127.0.0.1";
    device.m_nPort = model.GetPort();
    device.m_nDeviceType = 7;
    ASSERT_EQ(1, link.OpenWifiConnection(device)) << link.m_strLastError.GetString();

    int nGood = 0;
    LinkReadingsPerSecond(link, 50, nGood);  // warm-up
    const double dLink = LinkReadingsPerSecond(link, 500, nGood);
    EXPECT_EQ(500, nGood) << link.m_strLastError.GetString();
    const double dJob = JobReadingsPerSecond(link, 100, nGood);
    EXPECT_EQ(100, nGood) << link.m_strLastError.GetString();
    link.CloseWifiConnection();
    model.Stop();

    std::printf("[ figures  ] plain send/recv round trips: %.1f a second (%.3f ms each)\n", dPlain, 1000.0 / dPlain);
    std::printf("[ figures  ] ReadBothChannelsWifi:        %.1f readings/s (%.3f ms each), %.2f of the round trips\n",
                dLink, 1000.0 / dLink, dLink / dPlain);
    std::printf("[ figures  ] reading job (a thread each): %.1f readings/s (%.3f ms each), %.2f of the round trips\n",
                dJob, 1000.0 / dJob, dJob / dPlain);
    RecordProperty("network_plain_round_trips_per_second", static_cast<int>(dPlain));
    RecordProperty("network_link_readings_per_second", static_cast<int>(dLink));
    RecordProperty("network_job_readings_per_second", static_cast<int>(dJob));
}
