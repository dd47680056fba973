// gaugesim: a digital pressure gauge on a COM port, for tests and for people
// trying the program without an instrument.
//
//   gaugesim.exe <COM number> [-c "<control line>"]...
//
// It answers the serial gauge protocol: one-byte commands acknowledged by the
// command plus one, the memory map (constants at 0-35, 0x54 at 240, model at
// 243-247, channel count at 248, 249 and 250, serial at 251-252, calibration
// month, day and two-digit year at 253-255), channel readings from a
// configurable pressure source, autozero, fan speed, battery, firmware and
// the dash display. Control lines come from -c arguments and then from
// standard input, one per line; each is answered on standard output with a
// line that begins "ok" or "error". "ready COMn" is printed once the port is
// open. The simulator ends on "quit" or when standard input closes.
//
// Control lines:
//   model <text>                  five characters at most, zero-padded
//   channels <n> | mem249 <n> | mem250 <n> | serial <n> | battery <byte> | firmware <byte>
//   cal <month> <day> <two-digit year>
//   constant <0-11> <value>       stored in the 3-byte float format
//   poke <address> <byte>         any memory byte
//   pressure <1|2> <value>        a constant reading (before zeroing)
//   pressure <1|2> seq <v>...     values in turn, one per reading
//   pressure <1|2> ramp <start> <step>
//   zerodelay <ms>                time the autozero takes (default 30)
//   pace on|off                   send at the line rate of 9600 baud, 1.042 ms a byte
//   pace <ms>                     send one byte every <ms> milliseconds (a slow line)
//   fault <kind> <command|any> [skip [count [value]]]
//       silent   the command is ignored, as if it never arrived
//       badack   the acknowledgement is the command plus two, and the
//                command is dropped (no further bytes are awaited or sent)
//       drop     the byte in the middle of the reply is left out
//       unplug   half the reply is sent, then nothing more until "plug"
//       beyond   a channel reading of the given value (default 1300)
//     The first <skip> matching commands pass; then <count> of them (0: all
//     from then on, the default 1) misbehave.
//   clear | plug | stats | log | quit
//     stats: rx=<bytes> fan=<value> zeros=<count> dash=<0|1> reenable=<count> readings=<count>
//     log: the command bytes received since the last "log"
//
// Plant mode ("plant on"): a building and a fan behind the gauge instead of
// the pressure sources. The commanded fan speed gives a flow (flow per
// count times the speed above 40, the speed a serial link sends for "off"),
// reached at the lag's fraction per building reading; channel 1 reads
//   baseline +/- (flow / cb)^(1 / nb)     (- when depressurizing)
// and channel 2 the fan pressure -(flow / C)^(1 / n) of the installed ring,
// whose C and n are the program's own fan calibration for that fan and ring
// (the gauge reads the fan pressure negative; the program turns it).
// Both readings carry seeded normal noise. Autozero leaves the readings as
// they are (the sensors have no drift to take out).
//   plant on|off
//   plant <key> <value>...         any of: cb <C> | nb <n> | baseline <Pa>
//       | noise <Pa> | seed <n> | dir P|D | ring <C> <n> | flow <per count>
//       | lag <0-1>
//   plant fault <kind> [after <n>] from the n-th next channel reading on
//       (default at once) until "plant clear":
//       silent     no command is answered
//       overrange  both channels read 1300 Pa
//       zerofail   autozero is acknowledged but never completes
//       wrongsign  the fan pressure comes with the wrong sign
//   plant clear                    no plant fault
//   fanlog                         the fan speeds commanded since the last
//                                  "fanlog", in order: "ok <speed>..."
//   plant                          "ok flow=<flow> p1=<Pa> p2=<Pa>"
//
// With "box 2" or "box 8" as the first control line it is a data-acquisition
// box instead, with the control lines of tools/BoxModel.h.
//
// "gaugesim.exe net rq80|rq40 [port]" is a network gauge on 127.0.0.1
// instead, with the control lines of tools/NetworkGaugeModel.h.
#include <windows.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/BoxModel.h"
#include "tools/NetworkGaugeModel.h"
#include "tools/GaugeFloat.h"
#include "tools/SimulatorSupport.h"

namespace {

constexpr double kByteMs = 10.0 / 9.6;  // one start bit, eight data bits, one stop bit at 9600 baud

void WaitUntil(double dDueMs)
{
    while (NowMs() < dDueMs) {
    }
}

struct Fault {
    enum Kind { kSilent, kBadAck, kDrop, kUnplug, kBeyond } kind = kSilent;
    int nCommand = -1;  // -1 any
    int nSkip = 0;
    int nCount = 1;     // 0 for ever
    double dValue = 1300.0;
};

// The building and fan of plant mode.
struct Plant {
    enum FaultKind { kNone, kSilent, kOverRange, kZeroFail, kWrongSign };
    bool bOn = false;
    double dCb = 100.0;         // building leakage coefficient
    double dNb = 0.65;          // building leakage exponent
    double dBaseline = 0.0;     // Pa
    double dNoise = 0.0;        // Pa, standard deviation
    bool bDepress = false;
    double dRingC = 500.0;      // the installed ring's calibration
    double dRingN = 0.5;
    double dFlowPerCount = 0.2;
    double dLag = 1.0;
    double dFlow = 0.0;
    std::mt19937 random{1};
    FaultKind fault = kNone;
    int nFaultAt = 0;           // the building reading from which the fault acts

    std::string Apply(std::istream& in, int nReadings);
    bool Faulty(FaultKind kind, int nReadings) const { return fault == kind && nReadings >= nFaultAt; }
    // Moves the flow towards the commanded speed's flow: one building reading.
    void Advance(int nFan)
    {
        const double dWanted = nFan > 40 ? dFlowPerCount * (nFan - 40) : 0.0;
        dFlow += dLag * (dWanted - dFlow);
    }
    double Noise()
    {
        if (dNoise <= 0.0)
            return 0.0;
        return std::normal_distribution<double>(0.0, dNoise)(random);
    }
    double Building() const { return dBaseline + (bDepress ? -1.0 : 1.0) * std::pow(dFlow / dCb, 1.0 / dNb); }
    double Fan() const { return std::pow(dFlow / dRingC, 1.0 / dRingN); }
};

std::string Plant::Apply(std::istream& in, int nReadings)
{
    std::string key;
    if (!(in >> key)) {
        std::ostringstream out;
        out << "ok flow=" << dFlow << " p1=" << Building() << " p2=" << -Fan();
        return out.str();
    }
    if (key == "fault") {
        std::string kind, after;
        int nAfter = 0;
        in >> kind;
        if (in >> after && (after != "after" || !(in >> nAfter) || nAfter < 0))
            return "error expected after <readings>";
        if (kind == "silent") fault = kSilent;
        else if (kind == "overrange") fault = kOverRange;
        else if (kind == "zerofail") fault = kZeroFail;
        else if (kind == "wrongsign") fault = kWrongSign;
        else return "error unknown plant fault " + kind;
        nFaultAt = nReadings + nAfter;
        return "ok";
    }
    if (key == "clear") {
        fault = kNone;
        return "ok";
    }
    for (; !key.empty(); key.clear(), in >> key) {
        double d = 0.0;
        if (key == "on" || key == "off") {
            bOn = key == "on";
            continue;
        }
        if (key == "dir") {
            std::string direction;
            in >> direction;
            if (direction != "P" && direction != "D")
                return "error expected dir P or D";
            bDepress = direction == "D";
            continue;
        }
        if (key == "ring") {
            double dC = 0.0, dN = 0.0;
            if (!(in >> dC >> dN) || dC <= 0.0 || dN <= 0.0)
                return "error expected ring C and n above 0";
            dRingC = dC;
            dRingN = dN;
            continue;
        }
        if (!(in >> d))
            return "error expected a value after " + key;
        if (key == "cb" && d > 0.0) dCb = d;
        else if (key == "nb" && d > 0.0) dNb = d;
        else if (key == "baseline") dBaseline = d;
        else if (key == "noise" && d >= 0.0) dNoise = d;
        else if (key == "seed") random.seed(static_cast<unsigned>(d));
        else if (key == "flow" && d > 0.0) dFlowPerCount = d;
        else if (key == "lag" && d > 0.0 && d <= 1.0) dLag = d;
        else return "error bad plant " + key;
    }
    return "ok";
}

class CGauge {
public:
    explicit CGauge(HANDLE hPort) : m_hPort(hPort)
    {
        m_memory[240] = 0x54;
        Apply("model RQ40");
        Apply("channels 2");
        Apply("mem249 18");
        Apply("mem250 52");
        Apply("serial 1234");
        Apply("cal 3 5 19");
        const char* constants[12] = {"1.0", "0.0", "0.0", "1.0", "0.0", "0.0",
                                     "1.0", "0.0", "0.0", "1.0", "0.0", "0.0"};
        for (int i = 0; i < 12; ++i)
            Apply("constant " + std::to_string(i) + " " + constants[i]);
    }

    // One control line; the answer line.
    std::string Apply(const std::string& line);
    // Serves the port until quit; control lines are applied between exchanges.
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    struct Request {
        std::string line;
        std::string answer;
        bool bDone = false;
    };
    std::deque<Request*> m_requests;
    bool m_bQuit = false;

private:
    int ReadPortByte(int nTimeoutMs);
    void Send(std::vector<unsigned char> reply, double dReceivedMs);
    void ServeCommand(unsigned char nCommand, double dReceivedMs);
    Fault* TakeFault(unsigned char nCommand);
    // bFirst: the part with the command's acknowledgement; bFinal: the part
    // that ends the exchange.
    void SendWithFault(std::vector<unsigned char> reply, double dReceivedMs, unsigned char nCommand, Fault* pFault,
                       bool bFirst, bool bFinal);
    void ApplyPending();
    void AppendFloat(std::vector<unsigned char>& reply, double dValue);
    // A channel reading of plant mode; a building reading moves the plant on.
    double PlantReading(int nChannel);

    HANDLE m_hPort;
    int m_nReadTimeoutMs = -1;
    unsigned char m_memory[256] = {};
    unsigned char m_nBattery = 212;
    unsigned char m_nFirmware = 17;
    PressureSource m_sources[2];
    double m_dZero[2] = {};
    int m_nZeroDelayMs = 30;
    bool m_bPace = false;
    double m_dByteMs = kByteMs;
    double m_dLineFreeMs = 0.0;
    bool m_bUnplugged = false;
    std::vector<Fault> m_faults;
    unsigned long long m_nReceived = 0;
    int m_nFan = 0;
    int m_nZeros = 0;
    int m_bDash = 0;
    int m_nReenables = 0;
    int m_nReadings = 0;
    std::vector<int> m_log;
    Plant m_plant;
    std::vector<int> m_fanLog;
};

std::string CGauge::Apply(const std::string& line)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    auto number = [&in](double& d) { return static_cast<bool>(in >> d); };
    auto byteArg = [&in](int& n) { return static_cast<bool>(in >> n) && n >= 0 && n <= 255; };
    int n = 0;
    double d = 0.0;
    if (word == "model") {
        std::string text;
        std::getline(in >> std::ws, text);
        if (text.size() > 5)
            return "error a model has five characters at most";
        for (int i = 0; i < 5; ++i)
            m_memory[243 + i] = i < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[i]) : 0;
    } else if (word == "channels" || word == "mem249" || word == "mem250") {
        if (!byteArg(n))
            return "error expected a byte";
        m_memory[word == "channels" ? 248 : word == "mem249" ? 249 : 250] = static_cast<unsigned char>(n);
    } else if (word == "serial") {
        if (!(in >> n) || n < 0 || n > 65535)
            return "error expected a serial number 0-65535";
        m_memory[251] = static_cast<unsigned char>(n & 0xFF);
        m_memory[252] = static_cast<unsigned char>(n >> 8);
    } else if (word == "cal") {
        int nYear = 0;
        const std::string error = ApplyCalibrationLine(in, m_memory, nYear);
        if (!error.empty())
            return error;
    } else if (word == "constant") {
        unsigned char bytes[3];
        if (!(in >> n) || n < 0 || n > 11 || !number(d) || !EncodeGaugeFloat(static_cast<float>(d), bytes))
            return "error expected constant index and value";
        for (int i = 0; i < 3; ++i)
            m_memory[3 * n + i] = bytes[i];
    } else if (word == "poke") {
        int nAddress;
        if (!(in >> nAddress) || nAddress < 0 || nAddress > 255 || !byteArg(n))
            return "error expected address and byte";
        m_memory[nAddress] = static_cast<unsigned char>(n);
    } else if (word == "battery" || word == "firmware") {
        if (!byteArg(n))
            return "error expected a byte";
        (word == "battery" ? m_nBattery : m_nFirmware) = static_cast<unsigned char>(n);
    } else if (word == "pressure") {
        const std::string error = ApplyPressureLine(in, m_sources, m_dZero);
        if (!error.empty())
            return error;
    } else if (word == "zerodelay") {
        if (!(in >> n) || n < 0)
            return "error expected milliseconds";
        m_nZeroDelayMs = n;
    } else if (word == "pace") {
        std::string onOff;
        in >> onOff;
        const double dMs = std::atof(onOff.c_str());
        m_bPace = onOff == "on" || dMs > 0.0;
        m_dByteMs = dMs > 0.0 ? dMs : kByteMs;
    } else if (word == "fault") {
        std::string kind, command;
        Fault fault;
        if (!(in >> kind >> command))
            return "error expected kind and command";
        if (kind == "silent") fault.kind = Fault::kSilent;
        else if (kind == "badack") fault.kind = Fault::kBadAck;
        else if (kind == "drop") fault.kind = Fault::kDrop;
        else if (kind == "unplug") fault.kind = Fault::kUnplug;
        else if (kind == "beyond") fault.kind = Fault::kBeyond;
        else return "error unknown fault " + kind;
        fault.nCommand = command == "any" ? -1 : std::atoi(command.c_str());
        int nSkip = 0, nCount = 0;
        if (in >> nSkip) {
            fault.nSkip = nSkip;
            if (in >> nCount) {
                fault.nCount = nCount;
                number(fault.dValue);
            }
        }
        m_faults.push_back(fault);
    } else if (word == "clear") {
        m_faults.clear();
    } else if (word == "plug") {
        m_bUnplugged = false;
    } else if (word == "stats") {
        std::ostringstream out;
        out << "ok rx=" << m_nReceived << " fan=" << m_nFan << " zeros=" << m_nZeros << " dash=" << m_bDash
            << " reenable=" << m_nReenables << " readings=" << m_nReadings;
        return out.str();
    } else if (word == "log") {
        std::ostringstream out;
        out << "ok";
        for (int nCommand : m_log)
            out << ' ' << nCommand;
        m_log.clear();
        return out.str();
    } else if (word == "plant") {
        return m_plant.Apply(in, m_nReadings);
    } else if (word == "fanlog") {
        std::ostringstream out;
        out << "ok";
        for (int nSpeed : m_fanLog)
            out << ' ' << nSpeed;
        m_fanLog.clear();
        return out.str();
    } else if (word == "quit") {
        m_bQuit = true;
    } else {
        return "error unknown control " + word;
    }
    return "ok";
}

int CGauge::ReadPortByte(int nTimeoutMs)
{
    const int nByte = ReadSimulatorPortByte(m_hPort, nTimeoutMs, m_nReadTimeoutMs);
    if (nByte >= 0)
        ++m_nReceived;
    return nByte;
}

void CGauge::Send(std::vector<unsigned char> reply, double dReceivedMs)
{
    if (reply.empty())
        return;
    DWORD nWritten = 0;
    if (!m_bPace) {
        WriteFile(m_hPort, reply.data(), static_cast<DWORD>(reply.size()), &nWritten, nullptr);
        return;
    }
    // The byte that asked took one byte time to arrive; each byte of the
    // answer leaves when it would have been fully on the line.
    double dStart = dReceivedMs + m_dByteMs;
    if (dStart < m_dLineFreeMs)
        dStart = m_dLineFreeMs;
    for (size_t i = 0; i < reply.size(); ++i) {
        WaitUntil(dStart + m_dByteMs * static_cast<double>(i + 1));
        WriteFile(m_hPort, &reply[i], 1, &nWritten, nullptr);
    }
    m_dLineFreeMs = dStart + m_dByteMs * static_cast<double>(reply.size());
}

Fault* CGauge::TakeFault(unsigned char nCommand)
{
    for (size_t i = 0; i < m_faults.size(); ++i) {
        Fault& fault = m_faults[i];
        if (fault.nCommand != -1 && fault.nCommand != nCommand)
            continue;
        if (fault.nSkip > 0) {
            --fault.nSkip;
            continue;
        }
        if (fault.nCount == 0)
            return &fault;
        // The last use of a counted fault: hand out a copy and forget it.
        if (--fault.nCount == 0) {
            static Fault s_last;
            s_last = fault;
            m_faults.erase(m_faults.begin() + static_cast<std::ptrdiff_t>(i));
            return &s_last;
        }
        return &fault;
    }
    return nullptr;
}

void CGauge::SendWithFault(std::vector<unsigned char> reply, double dReceivedMs, unsigned char nCommand,
                           Fault* pFault, bool bFirst, bool bFinal)
{
    if (pFault != nullptr && !reply.empty()) {
        if (pFault->kind == Fault::kBadAck && bFirst)
            reply[0] = static_cast<unsigned char>(nCommand + 2);
        if (pFault->kind == Fault::kDrop && bFinal)
            reply.erase(reply.begin() + static_cast<std::ptrdiff_t>(reply.size() / 2));
        if (pFault->kind == Fault::kUnplug && bFinal) {
            reply.resize(reply.size() > 1 ? 2 : 1);
            Send(reply, dReceivedMs);
            m_bUnplugged = true;
            return;
        }
    }
    Send(reply, dReceivedMs);
}

void CGauge::AppendFloat(std::vector<unsigned char>& reply, double dValue)
{
    unsigned char bytes[3] = {};
    EncodeGaugeFloat(static_cast<float>(dValue), bytes);
    reply.insert(reply.end(), bytes, bytes + 3);
}

double CGauge::PlantReading(int nChannel)
{
    if (m_plant.Faulty(Plant::kOverRange, m_nReadings))
        return 1300.0;
    if (nChannel == 0) {
        m_plant.Advance(m_nFan);
        return m_plant.Building() + m_plant.Noise();
    }
    const double dFan = m_plant.Fan() + m_plant.Noise();
    return m_plant.Faulty(Plant::kWrongSign, m_nReadings) ? dFan : -dFan;
}

void CGauge::ServeCommand(unsigned char nCommand, double dReceivedMs)
{
    m_log.push_back(nCommand);
    if (m_plant.bOn && m_plant.Faulty(Plant::kSilent, m_nReadings))
        return;
    Fault* pFault = TakeFault(nCommand);
    if (pFault != nullptr && pFault->kind == Fault::kSilent)
        return;
    const unsigned char nAck = static_cast<unsigned char>(nCommand + 1);
    // The parts of an exchange that take further bytes from the program.
    auto awaitByte = [this](double& dAtMs) {
        const int nByte = ReadPortByte(1000);
        dAtMs = NowMs();
        return nByte;
    };
    // A gauge that garbled its acknowledgement drops the command.
    auto abandoned = [pFault] { return pFault != nullptr && pFault->kind == Fault::kBadAck; };
    switch (nCommand) {
    case 0x81:
        SendWithFault({0x82}, dReceivedMs, nCommand, pFault, true, true);
        break;
    case 1:
    case 2: {
        const int nChannel = nCommand - 1;
        double dValue = m_sources[nChannel].Take() - m_dZero[nChannel];
        if (m_plant.bOn)
            dValue = PlantReading(nChannel);
        if (pFault != nullptr && pFault->kind == Fault::kBeyond)
            dValue = pFault->dValue;
        ++m_nReadings;
        std::vector<unsigned char> reply{nAck};
        AppendFloat(reply, dValue);
        SendWithFault(reply, dReceivedMs, nCommand, pFault, true, true);
        break;
    }
    case 3: {
        std::vector<unsigned char> reply{nAck};
        AppendFloat(reply, m_plant.bOn ? m_plant.Building() : m_sources[0].Current() - m_dZero[0]);
        AppendFloat(reply, m_plant.bOn ? -m_plant.Fan() : m_sources[1].Current() - m_dZero[1]);
        SendWithFault(reply, dReceivedMs, nCommand, pFault, true, true);
        break;
    }
    case 6:
        SendWithFault({nAck, m_nFirmware}, dReceivedMs, nCommand, pFault, true, true);
        break;
    case 7:
        SendWithFault({nAck, m_nBattery}, dReceivedMs, nCommand, pFault, true, true);
        break;
    case 8: {
        SendWithFault({nAck}, dReceivedMs, nCommand, pFault, true, false);
        if (m_bUnplugged || abandoned())
            break;
        if (m_plant.bOn && m_plant.Faulty(Plant::kZeroFail, m_nReadings))
            break;
        Sleep(static_cast<DWORD>(m_nZeroDelayMs));
        for (int i = 0; i < 2 && !m_plant.bOn; ++i)
            m_dZero[i] = m_sources[i].Current();
        ++m_nZeros;
        SendWithFault({0, 0, 0, 0}, NowMs() - kByteMs, nCommand, pFault, false, true);
        break;
    }
    case 10:
        ++m_nReenables;
        SendWithFault({nAck}, dReceivedMs, nCommand, pFault, true, true);
        break;
    case 11:
    case 12:
        m_bDash = nCommand == 11;
        SendWithFault({nAck}, dReceivedMs, nCommand, pFault, true, true);
        break;
    case 16: {
        SendWithFault({nAck}, dReceivedMs, nCommand, pFault, true, false);
        if (abandoned())
            break;
        double dAt = 0.0;
        const int nLow = awaitByte(dAt);
        if (nLow < 0)
            break;
        Send({static_cast<unsigned char>(nLow + 1)}, dAt);
        const int nHigh = awaitByte(dAt);
        if (nHigh < 0)
            break;
        Send({static_cast<unsigned char>(nHigh + 1)}, dAt);
        if (awaitByte(dAt) != 176)
            break;
        m_nFan = nHigh * 256 + nLow;
        m_fanLog.push_back(m_nFan);
        SendWithFault({177, 176}, dAt, nCommand, pFault, false, true);
        break;
    }
    case 32: {
        SendWithFault({nAck}, dReceivedMs, nCommand, pFault, true, false);
        if (abandoned())
            break;
        double dAt = 0.0;
        const int nAddress = awaitByte(dAt);
        if (nAddress < 0)
            break;
        SendWithFault({static_cast<unsigned char>(nAddress + 1), m_memory[nAddress]}, dAt,
                      nCommand, pFault, false, true);
        break;
    }
    default:
        break;  // not a command of this gauge: no answer
    }
}

void CGauge::ApplyPending()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    while (!m_requests.empty()) {
        Request* pRequest = m_requests.front();
        m_requests.pop_front();
        pRequest->answer = Apply(pRequest->line);
        pRequest->bDone = true;
    }
    m_changed.notify_all();
}

void CGauge::Run()
{
    for (;;) {
        ApplyPending();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bQuit)
                return;
        }
        const int nByte = ReadPortByte(20);
        if (nByte < 0 || m_bUnplugged)
            continue;
        ServeCommand(static_cast<unsigned char>(nByte), NowMs());
    }
}

// Hands each line of standard input to the gauge and prints its answer.
void ReadControlLines(CGauge& gauge)
{
    ForEachInputLine([&gauge](const std::string& line) {
        CGauge::Request request;
        request.line = line;
        std::unique_lock<std::mutex> lock(gauge.m_mutex);
        gauge.m_requests.push_back(&request);
        gauge.m_changed.wait(lock, [&request] { return request.bDone; });
        const std::string answer = request.answer;
        const bool bQuit = gauge.m_bQuit;
        lock.unlock();
        WriteOutputLine(answer);
        return !bQuit;
    });
    // Quit, or whoever started the simulator is gone.
    std::lock_guard<std::mutex> lock(gauge.m_mutex);
    gauge.m_bQuit = true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wstring(argv[1]) == L"net")
        return RunNetworkGaugeModel(argc, argv);
    if (argc < 2 || _wtoi(argv[1]) <= 0) {
        std::fputs("usage: gaugesim <COM number> [-c \"control line\"]...\n", stderr);
        return 1;
    }
    const int nComNumber = _wtoi(argv[1]);
    if (argc > 3 && std::wstring(argv[2]) == L"-c" && std::wstring(argv[3]).rfind(L"box", 0) == 0)
        return RunBoxSimulator(nComNumber, argc - 2, argv + 2);
    DWORD nError = 0;
    HANDLE hPort = OpenSimulatorPort(nComNumber, nError);
    if (hPort == nullptr) {
        WriteOutputLine("error cannot open COM" + std::to_string(nComNumber) + " (" + std::to_string(nError) + ")");
        return 2;
    }

    CGauge gauge(hPort);
    if (!ApplyControlArguments(argc, argv, 2, [&gauge](const std::string& line) { return gauge.Apply(line); }))
        return 1;
    WriteOutputLine("ready COM" + std::to_string(nComNumber));
    std::thread control(ReadControlLines, std::ref(gauge));
    gauge.Run();
    CloseHandle(hPort);
    // Quitting comes from the control thread, which ends after its answer.
    control.join();
    return 0;
}
