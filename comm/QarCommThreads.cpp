#include "comm/QarCommThreads.h"

#include <algorithm>
#include <string>

#include "comm/QarCommunications.h"

IMPLEMENT_DYNCREATE(CQarCommThreads, CWinThread)

BEGIN_MESSAGE_MAP(CQarCommThreads, CWinThread)
END_MESSAGE_MAP()

namespace {

constexpr int kAttempts = 3;
constexpr int kModemByteMs = 100;

void PurgePort(CQarCommunications& link)
{
    if (link.m_hPort != nullptr)
        PurgeComm(link.m_hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

// Narrows a link's port search to one port for the length of a job and puts
// the caller's range back afterwards.
class CSinglePortSearch {
public:
    CSinglePortSearch(CQarCommunications& link, int nPortIndex)
        : m_link(link), m_nFirstPort(link.m_nFirstPort), m_nLastPort(link.m_nLastPort)
    {
        link.m_nFirstPort = static_cast<short>(nPortIndex + 1);
        link.m_nLastPort = static_cast<short>(nPortIndex + 1);
    }
    ~CSinglePortSearch()
    {
        m_link.m_nFirstPort = m_nFirstPort;
        m_link.m_nLastPort = m_nLastPort;
    }
    CSinglePortSearch(const CSinglePortSearch&) = delete;
    CSinglePortSearch& operator=(const CSinglePortSearch&) = delete;

private:
    CQarCommunications& m_link;
    short m_nFirstPort;
    short m_nLastPort;
};

}  // namespace

CQarCommThreads::CQarCommThreads() = default;

CQarCommThreads::~CQarCommThreads() = default;

BOOL CQarCommThreads::InitInstance()
{
    AfxEndThread(RunJob(), FALSE);
}

int CQarCommThreads::ExitInstance()
{
    return CWinThread::ExitInstance();
}

UINT CQarCommThreads::RunJob()
{
    if (m_pLink == nullptr)
        return 0;
    switch (m_nJob) {
    case kAutoZero: return AutoZero();
    case kReadChannels: return ReadChannels();
    case kProbePort: return ProbePort();
    case kReidentify: return Reidentify();
    default: return 0;
    }
}

double CQarCommThreads::ConvertLztCounts(const CChannelCalibration& channel, double dCount)
{
    const int nRange = channel.m_nRange != 0 ? 1 : 0;
    double dDivisor;
    if (channel.m_nChannel <= 8)
        dDivisor = nRange == 0 ? 2.0 : 10.0;
    else
        dDivisor = nRange == 0 ? 1000.0 : 10000.0;
    return (dCount - channel.m_dZero[nRange]) * channel.m_dGain[nRange] / dDivisor;
}

UINT CQarCommThreads::AutoZero()
{
    CQarCommunications& link = *m_pLink;
    if (link.m_bGauge && !link.m_bRQ80 && m_bEnableDash && !link.EnableDashRQ40Display())
        return kDashRefused;
    // A gauge zeroes all its channels on one command. A box has its records
    // zeroed one by one; the link holds sixteen, whatever the caller asks.
    const int nRecords = link.m_bGauge ? 1 : std::clamp(m_nChannels, 0, kMaxRecords);
    for (int i = 0; i < nRecords; ++i) {
        for (int nAttempt = 0; nAttempt < kAttempts; ++nAttempt) {
            link.AutoZeroChannel(link.m_Channels[i]);
            if (!link.m_bFailed)
                break;
        }
        if (link.m_bFailed)
            return 0;
    }
    return 0;
}

UINT CQarCommThreads::ReadChannels()
{
    CQarCommunications& link = *m_pLink;
    if (link.m_bSocketOpen) {
        m_dValues[0] = 0.0;
        m_dValues[1] = 0.0;
        double dA = 0.0;
        double dB = 0.0;
        if (link.ReadBothChannelsWifi(dA, dB)) {
            m_dValues[0] = dA;
            m_dValues[1] = dB;
        }
        return 0;
    }
    // m_nChannels may come from the device (gauge memory 248, box register
    // 18); the values never go past their eight places.
    const int nRecords = std::clamp(m_nChannels, 0, kMaxValues);
    // Each reading clears the link's flags: an earlier channel beyond its
    // range (its value read as 0.0) would pass unnoticed once a later one
    // read well, so the job reports it at its end.
    int bOverRange = 0;
    for (int i = 0; i < nRecords; ++i) {
        const CChannelCalibration& channel = link.m_Channels[i];
        for (int nAttempt = 0; nAttempt < kAttempts; ++nAttempt) {
            PurgePort(link);
            m_dValues[i] = link.ReadChannel(channel);
            if (!link.m_bFailed || link.m_bSocketOpen)
                break;
        }
        if (link.m_bFailed)
            return 0;
        if (link.m_bOverRange)
            bOverRange = 1;
        if (!link.m_bGauge)
            m_dValues[i] = ConvertLztCounts(channel, m_dValues[i]);
    }
    if (bOverRange)
        link.m_bOverRange = 1;
    return 0;
}

UINT CQarCommThreads::ProbePort()
{
    CQarCommunications& link = *m_pLink;
    if (link.m_bConnected)
        link.CloseDevice();
    // A connect that finds nothing forgets the link's port index; the modem
    // probe still has to try the port this job was given.
    const int nPortIndex = link.m_nPortIndex;
    {
        CSinglePortSearch search(link, nPortIndex);
        m_nProbeResult = link.CheckPort(nPortIndex);
        if (m_nProbeResult == 0) {
            link.ConnectDevice();
            TakeDeviceCode();
            if (!link.m_bIdentified && AnswersLikeAModem(nPortIndex + 1))
                m_nProbeResult = 1;
        }
    }
    link.CloseDevice();
    return 0;
}

UINT CQarCommThreads::Reidentify()
{
    CQarCommunications& link = *m_pLink;
    if (link.m_bNetwork) {
        link.ConnectDevice();
        TakeDeviceCode();
        return 0;
    }
    if (link.m_bConnected)
        link.ClosePort();
    CSinglePortSearch search(link, link.m_nPortIndex);
    m_nProbeResult = link.CheckPort(link.m_nPortIndex);
    if (m_nProbeResult == 0) {
        link.ConnectDevice();
        TakeDeviceCode();
    }
    return 0;
}

void CQarCommThreads::TakeDeviceCode()
{
    const CQarCommunications& link = *m_pLink;
    m_nDeviceCode = 0;
    if (link.m_bIdentified)
        m_nDeviceCode = link.m_bGauge ? link.m_nTypeCode : link.m_nChannelCount;
}

bool CQarCommThreads::AnswersLikeAModem(int nComNumber)
{
    CQarCommunications& link = *m_pLink;
    link.OpenPortNumber(nComNumber);
    if (link.m_hPort == nullptr)
        return false;
    PurgePort(link);
    auto take = [&link](std::string& text) {
        const unsigned short nByte = link.ReadByte(kModemByteMs);
        text += nByte == 9999 ? 'A' : static_cast<char>(nByte);
    };
    std::string text = "A";
    link.sendbyte('A');
    take(text);
    link.sendbyte('T');
    take(text);
    link.sendbyte('\r');
    for (int i = 0; i < 7; ++i)
        take(text);
    return text.find("OK") != std::string::npos;
}
