#include "tools/BoxModel.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tools/SimulatorSupport.h"

namespace {

constexpr unsigned char kNextByte = 0xCC;
constexpr int kExchangeByteTimeoutMs = 1000;

bool ParseInteger(const std::string& word, long& nValue)
{
    if (word.empty())
        return false;
    char* pEnd = nullptr;
    nValue = std::strtol(word.c_str(), &pEnd, 0);
    return *pEnd == '\0';
}

bool ParseNumber(const std::string& word, double& dValue)
{
    if (word.empty())
        return false;
    char* pEnd = nullptr;
    dValue = std::strtod(word.c_str(), &pEnd);
    return *pEnd == '\0' && std::isfinite(dValue);
}

// Seven decimal digits packed into four bytes: one in the low half of the
// first, two in each of the others.
std::vector<unsigned char> PackDigits(long nValue)
{
    if (nValue < 0)
        nValue = 0;
    if (nValue > 9999999)
        nValue = 9999999;
    int nDigit[7];
    for (int i = 6; i >= 0; --i) {
        nDigit[i] = static_cast<int>(nValue % 10);
        nValue /= 10;
    }
    return {static_cast<unsigned char>(nDigit[0]), static_cast<unsigned char>(nDigit[1] << 4 | nDigit[2]),
            static_cast<unsigned char>(nDigit[3] << 4 | nDigit[4]),
            static_cast<unsigned char>(nDigit[5] << 4 | nDigit[6])};
}

// Status and data byte of a channel answer; nHighMask selects the status
// bits that carry the high part of the magnitude.
std::vector<unsigned char> ChannelAnswer(long nSigned, int nHighMask, bool bLowBattery)
{
    const long nLimit = nHighMask * 256L + 255L;
    long nMagnitude = std::labs(nSigned);
    if (nMagnitude > nLimit)
        nMagnitude = nLimit;
    unsigned char nStatus = static_cast<unsigned char>((nMagnitude >> 8) & nHighMask);
    if (bLowBattery)
        nStatus |= 0x40;
    if (nSigned < 0)
        nStatus |= 0x80;
    return {nStatus, static_cast<unsigned char>(nMagnitude & 0xFF)};
}

}  // namespace

CBoxModel::CBoxModel()
{
    Control("box 8");
    Control("serial 4321");
    Control("date 30519");
    Control("volts 5.0");
    for (int nAddress : {1, 2, 3, 4, 5, 6, 7, 8, 17})
        m_state.dGains[nAddress][0] = m_state.dGains[nAddress][1] = 1.0;
}

CBoxModel::~CBoxModel()
{
    Stop();
}

bool CBoxModel::Start(int nComNumber, DWORD& nError)
{
    Stop();
    HANDLE hPort = OpenSimulatorPort(nComNumber, nError);
    if (hPort == nullptr)
        return false;
    m_hPort = hPort;
    m_nReadTimeoutMs = -1;
    m_bStop = false;
    m_thread = std::thread(&CBoxModel::Serve, this);
    return true;
}

void CBoxModel::Stop()
{
    StopServerThread(m_bStop, m_thread);
    if (m_hPort != nullptr)
        CloseHandle(m_hPort);
    m_hPort = nullptr;
}

std::string CBoxModel::Control(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty())
        return "error empty control line";
    const std::string& command = words[0];
    const size_t nArgs = words.size() - 1;
    long n = 0, nValue = 0;
    double d0 = 0.0, d1 = 0.0;

    std::lock_guard<std::mutex> lock(m_mutex);
    State& state = m_state;
    if (command == "box") {
        if (nArgs != 1 || !ParseInteger(words[1], n) || (n != 2 && n != 8))
            return "error a box has 2 or 8 channels";
        state.nChannels = static_cast<int>(n);
        state.registers[18] = n;
    } else if (command == "channels" || command == "serial" || command == "date") {
        if (nArgs != 1 || !ParseInteger(words[1], n))
            return "error expected a number";
        state.registers[command == "channels" ? 18 : command == "serial" ? 19 : 20] = n;
    } else if (command == "register") {
        if (nArgs != 2 || !ParseInteger(words[1], n) || n < 1 || n > 32 || !ParseInteger(words[2], nValue))
            return "error expected register and value";
        state.registers[static_cast<int>(n)] = nValue;
    } else if (command == "volts") {
        if (nArgs != 1 || !ParseNumber(words[1], d0))
            return "error expected volts";
        state.registers[21] = std::lround(d0 * 100000.0);
    } else if (command == "boxgain" || command == "gain") {
        const bool bBox = command == "boxgain";
        const size_t nFirst = bBox ? 1 : 2;
        if (nArgs != nFirst + 1 || (!bBox && (!ParseInteger(words[1], n) || n < 1 || n > 8)) ||
            !ParseNumber(words[nFirst], d0) || !ParseNumber(words[nFirst + 1], d1))
            return "error expected gains for range flag 0 and 1";
        const int nIndex = bBox ? 17 : static_cast<int>(n);
        state.dGains[nIndex][0] = d0;
        state.dGains[nIndex][1] = d1;
    } else if (command == "count" || command == "zero") {
        if (nArgs != 2 || !ParseInteger(words[1], n) || n < 1 || n > 32 || !ParseNumber(words[2], d0))
            return "error expected channel and value";
        if (command == "count")
            state.nCounts[n] = static_cast<int>(std::lround(d0));
        else
            state.dZeros[n] = d0;
    } else if (command == "lowbattery" || command == "silent") {
        if (nArgs != 1 || (words[1] != "on" && words[1] != "off"))
            return "error expected on or off";
        (command == "lowbattery" ? state.bLowBattery : state.bSilent) = words[1] == "on";
    } else if (command == "raw") {
        const int nOperation = nArgs < 1 ? -1 : words[1] == "read" ? 0x00 : words[1] == "zero" ? 0x20
                                                : words[1] == "register"                  ? 0x40 : -1;
        if (nOperation < 0 || nArgs < 3 || !ParseInteger(words[2], n) || n < 1 || n > 32)
            return "error expected read, zero or register, an address and bytes";
        std::vector<unsigned char> bytes;
        for (size_t i = 3; i < words.size(); ++i) {
            if (!ParseInteger(words[i], nValue) || nValue < 0 || nValue > 255)
                return "error expected bytes";
            bytes.push_back(static_cast<unsigned char>(nValue));
        }
        state.raw[{nOperation, static_cast<int>(n)}] = bytes;
    } else if (command == "zerodelay") {
        if (nArgs != 1 || !ParseInteger(words[1], n) || n < 0)
            return "error expected milliseconds";
        state.nZeroDelayMs = static_cast<int>(n);
    } else if (command == "lose") {
        if (nArgs != 1 || !ParseInteger(words[1], n) || n < 0)
            return "error expected a count";
        state.nLose = static_cast<int>(n);
    } else if (command == "babble") {
        if (nArgs == 1 && words[1] == "off") {
            state.nBabbleByte = -1;
            state.nBabbleAfterMs = -1;
            return "ok";
        }
        if (nArgs < 1 || !ParseInteger(words[1], nValue) || nValue < 0 || nValue > 255)
            return "error expected a byte";
        long nAfter = -1, nFor = 5000;
        for (size_t i = 2; i < words.size(); i += 2) {
            long nMs = 0;
            if (i + 1 >= words.size() || !ParseInteger(words[i + 1], nMs) || nMs < 0 ||
                (words[i] != "after" && words[i] != "for"))
                return "error expected after <ms> or for <ms>";
            (words[i] == "after" ? nAfter : nFor) = nMs;
        }
        state.nBabbleByte = static_cast<int>(nValue);
        state.nBabbleAfterMs = static_cast<int>(nAfter);
        state.nBabbleForMs = static_cast<int>(nFor);
        state.dBabbleFromMs = NowMs();
        state.dBabbleUntilMs = state.dBabbleFromMs + static_cast<double>(nFor);
    } else if (command == "clear") {
        state.bSilent = false;
        state.nLose = 0;
        state.nBabbleByte = -1;
        state.nBabbleAfterMs = -1;
        state.raw.clear();
    } else if (command == "stats") {
        std::ostringstream out;
        out << "ok rx=" << state.nReceived << " reads=" << state.nReads << " zeros=" << state.nZeros
            << " registers=" << state.nRegisterReads << " fan=" << state.nFan << " outputs=" << state.nOutputs;
        return out.str();
    } else if (command == "log") {
        std::ostringstream out;
        out << "ok";
        for (int nByte : state.log)
            out << ' ' << nByte;
        state.log.clear();
        return out.str();
    } else if (command == "quit") {
        return "ok";
    } else {
        return "error unknown control " + command;
    }
    return "ok";
}

int CBoxModel::ReadPortByte(int nTimeoutMs)
{
    return ReadSimulatorPortByte(m_hPort, nTimeoutMs, m_nReadTimeoutMs);
}

void CBoxModel::Write(const std::vector<unsigned char>& bytes)
{
    DWORD nWritten = 0;
    if (!bytes.empty())
        WriteFile(m_hPort, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr);
}

// Called with the lock held.
bool CBoxModel::Babbling(double dNowMs)
{
    State& state = m_state;
    if (state.nBabbleByte < 0 || state.nBabbleAfterMs >= 0)
        return false;
    if (dNowMs >= state.dBabbleUntilMs) {
        state.nBabbleByte = -1;
        return false;
    }
    return dNowMs >= state.dBabbleFromMs;
}

std::vector<unsigned char> CBoxModel::Answer(int nOperation, int nAddress, int nRange, const State& state) const
{
    const auto raw = state.raw.find({nOperation, nAddress});
    if (raw != state.raw.end())
        return raw->second;
    // The channel at an address: 1-8 from the other end on a box of more than two.
    const int nChannel = state.nChannels > 2 && nAddress <= 8 ? 9 - nAddress : nAddress;
    switch (nOperation) {
    case 0x00:
        return ChannelAnswer(state.nCounts[nChannel], 0x0F, state.bLowBattery);
    case 0x20:
        return ChannelAnswer(std::lround(state.dZeros[nChannel] * 10.0), 0x3F, state.bLowBattery);
    default: {
        if (nAddress <= 8 || nAddress == 17) {
            const double dGain = state.dGains[nAddress == 17 ? 17 : nChannel][nRange];
            return PackDigits(std::lround(dGain * 1000000.0));
        }
        const auto value = state.registers.find(nAddress);
        if (value == state.registers.end()) {
            // No such register: the box says so with the command plus one.
            const int nCommand = 0x40 | (nAddress - 1) | (nRange == 0 ? 0x08 : 0x00);
            return {static_cast<unsigned char>(nCommand + 1)};
        }
        return PackDigits(value->second);
    }
    }
}

void CBoxModel::Dispatch(int nByte, int& nNext)
{
    State config;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_state.nReceived;
        m_state.log.push_back(nByte);
        if (m_state.bSilent || Babbling(NowMs()))
            return;
        config.nChannels = m_state.nChannels;
        config.registers = m_state.registers;
        for (int i = 0; i < 33; ++i) {
            config.dGains[i][0] = m_state.dGains[i][0];
            config.dGains[i][1] = m_state.dGains[i][1];
            config.nCounts[i] = m_state.nCounts[i];
            config.dZeros[i] = m_state.dZeros[i];
        }
        config.bLowBattery = m_state.bLowBattery;
        config.raw = m_state.raw;
        config.nZeroDelayMs = m_state.nZeroDelayMs;
    }
    // The data bytes that follow a fan or analogue command.
    auto takeData = [this](int nCount, std::vector<int>& data) {
        for (int i = 0; i < nCount; ++i) {
            const int nData = ReadPortByte(kExchangeByteTimeoutMs);
            if (nData < 0)
                return false;
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_state.nReceived;
            m_state.log.push_back(nData);
            data.push_back(nData);
        }
        return true;
    };

    std::vector<int> data;
    if (nByte == 0x80) {
        if (takeData(2, data)) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_state.nFan = data[0] << 4 | data[1] >> 4;
        }
        return;
    }
    if (nByte == 0x8F || nByte == 0x9F || nByte == 0xAF || nByte == 0xBF) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_state.nOutputs = nByte;
        return;
    }
    if (nByte >= 0x80)
        return;  // not a box command (a gauge's presence byte, a stray 0xCC)

    const int nOperation = nByte & 0x60;
    const int nAddress = (nByte & 0x17) + 1;
    const int nRange = (nByte & 0x08) ? 0 : 1;
    if (nOperation == 0x60) {
        takeData(4, data);
        return;
    }
    if (nOperation == 0x20)
        Sleep(static_cast<DWORD>(config.nZeroDelayMs));
    const std::vector<unsigned char> answer = Answer(nOperation, nAddress, nRange, config);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++(nOperation == 0x00 ? m_state.nReads : nOperation == 0x20 ? m_state.nZeros : m_state.nRegisterReads);
    }
    if (answer.empty())
        return;
    Write({answer[0]});
    for (size_t i = 1; i < answer.size(); ++i) {
        const int nRequest = ReadPortByte(kExchangeByteTimeoutMs);
        if (nRequest < 0)
            return;
        if (nRequest != kNextByte) {
            // The program has given up on this exchange and begun another.
            nNext = nRequest;
            return;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_state.nReceived;
            m_state.log.push_back(nRequest);
            if (m_state.nLose > 0) {
                --m_state.nLose;
                return;
            }
            if (m_state.nBabbleByte >= 0 && m_state.nBabbleAfterMs >= 0) {
                m_state.dBabbleFromMs = NowMs() + m_state.nBabbleAfterMs;
                m_state.dBabbleUntilMs = m_state.dBabbleFromMs + m_state.nBabbleForMs;
                m_state.nBabbleAfterMs = -1;
                return;
            }
        }
        Write({answer[i]});
    }
}

void CBoxModel::Serve()
{
    int nNext = -1;
    for (;;) {
        int nBabble = -1;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bStop)
                return;
            if (Babbling(NowMs()))
                nBabble = m_state.nBabbleByte;
        }
        if (nBabble >= 0)
            Write({static_cast<unsigned char>(nBabble)});
        int nByte = nNext;
        nNext = -1;
        if (nByte < 0)
            nByte = ReadPortByte(nBabble >= 0 ? 1 : 20);
        if (nByte >= 0)
            Dispatch(nByte, nNext);
    }
}

int RunBoxSimulator(int nComNumber, int argc, wchar_t** argv)
{
    CBoxModel box;
    if (!ApplyControlArguments(argc, argv, 0, [&box](const std::string& line) { return box.Control(line); }))
        return 1;
    DWORD nError = 0;
    if (!box.Start(nComNumber, nError)) {
        WriteOutputLine("error cannot open COM" + std::to_string(nComNumber) + " (" + std::to_string(nError) + ")");
        return 2;
    }
    WriteOutputLine("ready COM" + std::to_string(nComNumber));
    // Until "quit" or the end of standard input (whoever started the
    // simulator is gone).
    ForEachInputLine([&box](const std::string& line) {
        const std::string answer = box.Control(line);
        if (line == "quit") {
            box.Stop();
            WriteOutputLine(answer);
            return false;
        }
        WriteOutputLine(answer);
        return true;
    });
    box.Stop();
    return 0;
}
