// CNetworkGaugeModel: a network pressure gauge for tests and for people
// trying the program without an instrument. A TCP server on 127.0.0.1 that
// answers the gauges' text protocol either as an RQ80 (its calibration
// record through "CG") or as an RQ40 behind its network adapter (the gauge's
// memory map through "GE"), with readings from a settable pressure source.
// Every request is logged. It announces itself by UDP on loopback in the
// form the discovery listens for (a JSON text for an RQ80, a beacon for an
// adapter). Tests run it in-process; gaugesim.exe runs it with "net".
//
// Control lines (Apply), each answered "ok..." or "error ...":
//   serial <n> | firmware <byte> | battery <byte> (RQ40) | volts <value> (RQ80)
//   cal <month> <day> <year>      the year as the gauge holds it (RQ40 two digits)
//   channels <byte> | poke <address> <byte> | constant <0-11> <value>
//   record <text>                 the RQ80's "CG" record as given; "record auto" builds it again
//   settings <text>               the adapter's "GW" settings text
//   cc first|second               the adapter confirms "CC" at once, or only
//                                 the second "CC" of a connection (the first
//                                 is answered "CCERR")
//     "CH", "RT", "SS" and "PW" set the channel, mode, SSID and password of a
//     connection's pending settings (from the settings text when it began);
//     "RS" makes them the settings text and restarts: the connection closes.
//   status free|busy              as announced
//   okline on|off                 "GE" replies begin with the line "GEOK"
//   rcvbuf <bytes>                receive buffer of the next connections (a line that fills soon)
//   pressure <1|2> <value> | pressure <1|2> seq <v>... | pressure <1|2> ramp <start> <step>
//   fault <kind> <command|any> [skip=<n>] [count=<n>] [<argument>]
//       silent             no reply
//       nc                 the adapter's "no gauge" answer, CR LF "NC" CR LF
//       close              half the reply, then the connection is closed
//       pieces <n>,<ms>    the reply in n pieces with a pause of ms between them
//       babble <ms>        bytes without CR LF, one every ms (0: as fast as the
//                          line takes them) until the client goes
//       raw <text>         this text in place of the reply (\r \n \\ escapes;
//                          \p ends a piece, the next follows 100 ms later)
//     The first <skip> matching requests pass; then <count> of them (0: all
//     from then on; 1 unless given) misbehave.
//   clear                         no faults
//   announce once | announce every <ms> | announce off
//   stats                         ok requests=<n> connections=<n> fan=<n> zeros=<n> dash=<0|1> keepalives=<n>
#pragma once

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/SimulatorSupport.h"

class CNetworkGaugeModel {
public:
    enum Kind { kRQ80, kRQ40Adapter };

    explicit CNetworkGaugeModel(Kind kind = kRQ80);
    ~CNetworkGaugeModel();
    CNetworkGaugeModel(const CNetworkGaugeModel&) = delete;
    CNetworkGaugeModel& operator=(const CNetworkGaugeModel&) = delete;

    // Listens on 127.0.0.1 (port 0: any free port) and serves one client at
    // a time on a thread of its own; false when the port cannot be had.
    bool Start(unsigned short nPort = 0);
    void Stop();
    unsigned short GetPort() const { return m_nPort; }
    Kind GetKind() const { return m_kind; }
    // The device type that discovery gives this device (10 or 7).
    int GetDeviceType() const { return m_kind == kRQ80 ? 10 : 7; }

    // True while a client is connected and being served.
    bool IsServingClient() const { return m_bServing; }

    std::string Apply(const std::string& line);
    // The requests received since the last call, without their CR LF.
    std::vector<std::string> TakeRequests();
    // The datagram this device announces itself with.
    std::string GetAnnouncement();
    // Sends the announcement once to the discovery port of the given address.
    bool Announce(const char* pszAddress = "127.0.0.1");

private:
    struct Fault {
        enum Kind { kSilent, kNoConnection, kClose, kPieces, kBabble, kRaw } kind = kSilent;
        std::string command;  // empty: any
        int nSkip = 0;
        int nCount = 1;       // 0 for ever
        int nPieces = 2;
        int nPauseMs = 0;
        std::string text;
    };

    void Run();
    void ServeClient(SOCKET hClient);
    // Serves one request line; false when the client is gone or was closed.
    bool ServeRequest(SOCKET hClient, const std::string& request);
    std::string BuildReply(const std::string& request, const std::string& command, int nNumber, bool bHasNumber);
    // The adapter's settings commands; false when the command is not one.
    bool BuildAdapterReply(const std::string& request, const std::string& command, std::string& reply);
    std::string BuildRecord() const;
    bool TakeFault(const std::string& command, Fault& fault);
    bool SendText(SOCKET hClient, const std::string& text);
    // Sleeps in short steps; false once the model stops.
    bool Pause(int nMs);
    void AnnounceIfDue();

    Kind m_kind;
    std::mutex m_mutex;  // guards everything below that Apply changes
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bServing{false};
    std::thread m_thread;
    SOCKET m_hListen = INVALID_SOCKET;
    unsigned short m_nPort = 0;

    unsigned char m_memory[256] = {};
    int m_nSerial = 4321;
    unsigned char m_nBattery = 212;
    double m_dVolts = 5.91;
    unsigned char m_nFirmware = 17;
    std::string m_strRecord;  // empty: built from the memory's date and constants
    std::string m_strSettings = "6,0,RQ40-4321,secret";
    bool m_bCcSecondTry = false;
    int m_nCcInConnection = 0;
    bool m_bRestart = false;  // "RS" served: the connection closes
    // Channel, mode, SSID, password of the connection being served.
    std::string m_pending[4];
    bool m_bFree = true;
    bool m_bOkLine = false;
    int m_nReceiveBuffer = 0;  // 0: the system's
    PressureSource m_sources[2];
    double m_dZero[2] = {};
    std::vector<Fault> m_faults;
    int m_nAnnounceEveryMs = 0;
    ULONGLONG m_nNextAnnounce = 0;

    std::vector<std::string> m_requests;
    long long m_nRequests = 0;
    int m_nConnections = 0;
    int m_nFan = 0;
    int m_nZeros = 0;
    int m_bDash = 0;
    int m_nKeepAlives = 0;
    int m_nRecordYear = 2019;  // the RQ80 keeps a four-digit year
};

// gaugesim.exe net rq80|rq40 [port] [-c "<control line>"]...: the model on
// 127.0.0.1, "ready 127.0.0.1:<port>" once it listens, then control lines
// from standard input ("log" lists the requests, "quit" ends).
int RunNetworkGaugeModel(int argc, wchar_t** argv);
