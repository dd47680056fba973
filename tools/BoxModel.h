// CBoxModel: a data-acquisition box of 2 or 8 channels on a COM port, for
// tests (in-process, on the far end of a pseudo-terminal pair) and for
// gaugesim's box mode.
//
// It answers the box's byte protocol: a command byte names the operation
// (0x00 read channel, 0x20 zero channel, 0x40 read register, 0x60 write an
// analogue value, 0x80 fan output, 0x8F/0x9F/0xAF/0xBF digital outputs), the
// address less one and, in bit 3, range value 0. A channel answer is a status
// byte (bits 3-0 or, zeroing, 5-0 the high part of the count, bit 6 low
// battery, bit 7 negative) and a data byte; a register answer is seven packed
// decimal digits in four bytes; every byte after the first is asked for with
// 0xCC. A box of more than two channels addresses channels 1-8 in reverse
// (channel n at address 9 - n); its channel gains sit at those addresses.
//
// Control lines (each answered "ok..." or "error ..."):
//   box <2|8>                      the kind of box; also sets register 18
//   channels <n> | serial <n> | date <MMDDYY> | register <n> <value>
//                                  integer registers 18, 19, 20 or any
//   volts <v>                      register 21: the reference voltage x 100000
//   boxgain <r0> <r1>              register 17, by range flag 0 and 1
//   gain <channel 1-8> <r0> <r1>   that channel's gain register
//   count <channel> <raw count>    what reading the channel answers (+-4095)
//   zero <channel> <value>         what zeroing it answers (+-6553.5)
//   lowbattery on|off              status bit 6 in every channel answer
//   raw <read|zero|register> <address> <byte>...
//                                  these exact answer bytes for that
//                                  operation on that address (0x.. allowed)
//   zerodelay <ms>                 time a zeroing takes (default 20)
//   silent on|off                  nothing is answered
//   lose <n>                       the next n bytes asked for with 0xCC are
//                                  not sent (that exchange ends there)
//   babble <byte> [after <ms>] [for <ms>]
//                                  sends the byte without pause, answering
//                                  nothing meanwhile; "after": the next byte
//                                  asked for is not sent and the babble
//                                  starts that long after the request; it
//                                  lasts 5000 ms unless "for" says otherwise
//   babble off | clear             clear: faults and raw answers off
//   stats                          ok rx=<bytes> reads=<n> zeros=<n>
//                                  registers=<n> fan=<value> outputs=<byte>
//   log                            ok and every byte received since the last
//                                  log, in decimal
//   quit                           (gaugesim) ends the simulator
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class CBoxModel {
public:
    CBoxModel();
    ~CBoxModel();
    CBoxModel(const CBoxModel&) = delete;
    CBoxModel& operator=(const CBoxModel&) = delete;

    // Opens COMn (9600 baud, 8N1) and serves it in a thread of its own;
    // false, with the system error code in nError, when it cannot.
    bool Start(int nComNumber, DWORD& nError);
    void Stop();
    // One control line and its answer; safe while the box serves.
    std::string Control(const std::string& line);

private:
    struct State {
        int nChannels = 8;                 // the box's kind: addressing
        std::map<int, long> registers;     // integer registers
        double dGains[33][2] = {};         // decimal registers by address
        int nCounts[33] = {};              // by channel number
        double dZeros[33] = {};
        bool bLowBattery = false;
        std::map<std::pair<int, int>, std::vector<unsigned char>> raw;  // (operation, address)
        int nZeroDelayMs = 20;
        bool bSilent = false;
        int nLose = 0;
        int nBabbleByte = -1;
        int nBabbleAfterMs = -1;           // armed: starts after the next request
        int nBabbleForMs = 5000;
        double dBabbleFromMs = 0.0;
        double dBabbleUntilMs = 0.0;
        unsigned long long nReceived = 0;
        int nReads = 0;
        int nZeros = 0;
        int nRegisterReads = 0;
        int nFan = 0;
        int nOutputs = 0;
        std::vector<int> log;
    };

    void Serve();
    int ReadPortByte(int nTimeoutMs);
    void Write(const std::vector<unsigned char>& bytes);
    // One command byte; may read further bytes of its exchange. A byte that
    // is not part of the exchange comes back through nNext (-1 none).
    void Dispatch(int nByte, int& nNext);
    std::vector<unsigned char> Answer(int nOperation, int nAddress, int nRange, const State& state) const;
    bool Babbling(double dNowMs);

    HANDLE m_hPort = nullptr;
    int m_nReadTimeoutMs = -1;
    std::mutex m_mutex;
    State m_state;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

// gaugesim's box mode: serves COMn as a box. Arguments after the COM number
// are "-c <control line>" pairs (the first is "box <2|8>"); then control
// lines come from standard input as in the gauge mode.
int RunBoxSimulator(int nComNumber, int argc, wchar_t** argv);
