// CQarCommThreads: the worker that runs one job on one gauge link (autozero,
// reading all channels, probing a COM port, re-identifying), so that several
// devices are served at once while the user-interface thread waits for all
// of them. The caller sets the link, the job and its inputs, starts the
// thread (CGaugeJobGroup does it for a group) and reads the results from this
// object and from the link once the thread has ended. Failures are told by
// the link's m_bFailed and m_bOverRange; the only non-zero exit code is
// kDashRefused.
#pragma once

#include "comm/ChannelCalibration.h"
#include "framework/WinThread.h"

class CQarCommunications;

class CQarCommThreads : public CWinThread {
    DECLARE_DYNCREATE(CQarCommThreads)
public:
    enum { kAutoZero = 1, kReadChannels = 2, kProbePort = 3, kReidentify = 4 };
    static constexpr UINT kDashRefused = 10;
    static constexpr int kMaxValues = 8;
    static constexpr int kMaxRecords = 16;

    CQarCommThreads();
    ~CQarCommThreads() override;

    // Runs the job and ends the thread with its exit code; the object stays.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The job chosen by m_nJob, on the calling thread; its exit code.
    UINT RunJob();

    // A box's raw count as a value: (count - zero) x gain / divisor, the
    // divisor chosen by the channel number (up to 8, or above) and the range.
    static double ConvertLztCounts(const CChannelCalibration& channel, double dCount);

    CQarCommunications* m_pLink = nullptr;  // not owned
    int m_nProbeResult = 0;  // jobs 3 and 4: CheckPort's result, or 1 for a modem
    int m_nChannels = 0;     // jobs 1 and 2: channel records to process
    int m_nDeviceCode = 0;   // jobs 3 and 4: type code or box channel count, 0 none
    int m_bEnableDash = 0;   // job 1: switch the dash display on first
    int m_nJob = kAutoZero;
    double m_dValues[kMaxValues] = {};  // job 2: one value per channel record
    int m_nScanIndex = 0;    // free for the caller

protected:
    UINT AutoZero();
    UINT ReadChannels();
    UINT ProbePort();
    UINT Reidentify();

private:
    // m_nDeviceCode from what the last connect identified.
    void TakeDeviceCode();
    // Sends "AT" and a carriage return on the port and looks for "OK".
    bool AnswersLikeAModem(int nComNumber);

    DECLARE_MESSAGE_MAP()
};
