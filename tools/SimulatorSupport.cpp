#include "tools/SimulatorSupport.h"

#include <cstdlib>

double NowMs()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HANDLE OpenSimulatorPort(int nComNumber, DWORD& nError)
{
    wchar_t szPath[32];
    swprintf(szPath, 32, L"\\\\.\\COM%d", nComNumber);
    HANDLE hPort = CreateFileW(szPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hPort == INVALID_HANDLE_VALUE) {
        nError = GetLastError();
        return nullptr;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(hPort, &dcb)) {
        nError = GetLastError();
        CloseHandle(hPort);
        return nullptr;
    }
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    SetCommState(hPort, &dcb);
    // Bytes an earlier user left on the line are no commands for this one.
    PurgeComm(hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return hPort;
}

int ReadSimulatorPortByte(HANDLE hPort, int nTimeoutMs, int& nSetTimeoutMs)
{
    if (nTimeoutMs != nSetTimeoutMs) {
        COMMTIMEOUTS timeouts{};
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(nTimeoutMs);
        timeouts.WriteTotalTimeoutConstant = 100;
        SetCommTimeouts(hPort, &timeouts);
        nSetTimeoutMs = nTimeoutMs;
    }
    unsigned char nByte = 0;
    DWORD nRead = 0;
    if (!ReadFile(hPort, &nByte, 1, &nRead, nullptr) || nRead != 1)
        return -1;
    return nByte;
}

double PressureSource::Current() const
{
    switch (kind) {
    case kSequence: return values[nNext % values.size()];
    case kRamp: return dStart + dStep * static_cast<double>(nNext);
    default: return values[0];
    }
}

double PressureSource::Take()
{
    const double dValue = Current();
    ++nNext;
    return dValue;
}

std::string ApplyPressureLine(std::istream& in, PressureSource (&sources)[2], double (&dZero)[2])
{
    int nChannel = 0;
    std::string word;
    if (!(in >> nChannel) || (nChannel != 1 && nChannel != 2) || !(in >> word))
        return "error expected channel and value";
    PressureSource source;
    if (word == "seq") {
        source.kind = PressureSource::kSequence;
        source.values.clear();
        for (double d; in >> d;)
            source.values.push_back(d);
        if (source.values.empty())
            return "error expected values";
    } else if (word == "ramp") {
        source.kind = PressureSource::kRamp;
        if (!(in >> source.dStart >> source.dStep))
            return "error expected start and step";
    } else {
        source.values[0] = std::strtod(word.c_str(), nullptr);
    }
    sources[nChannel - 1] = source;
    dZero[nChannel - 1] = 0.0;
    return std::string();
}

std::string ApplyCalibrationLine(std::istream& in, unsigned char (&memory)[256], int& nYear)
{
    int nMonth, nDay, nGivenYear;
    if (!(in >> nMonth >> nDay >> nGivenYear))
        return "error expected month day year";
    memory[253] = static_cast<unsigned char>(nMonth);
    memory[254] = static_cast<unsigned char>(nDay);
    memory[255] = static_cast<unsigned char>(nGivenYear);
    nYear = nGivenYear;
    return std::string();
}

void StopServerThread(std::atomic<bool>& bStop, std::thread& thread)
{
    bStop = true;
    if (thread.joinable())
        thread.join();
}

void WriteOutputLine(const std::string& line)
{
    const std::string text = line + "\n";
    DWORD nWritten = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &nWritten, nullptr);
}

bool ApplyControlArguments(int argc, wchar_t** argv, int nFirst,
                           const std::function<std::string(const std::string&)>& apply)
{
    for (int i = nFirst; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) != L"-c")
            continue;
        char line[512] = {};
        WideCharToMultiByte(CP_ACP, 0, argv[++i], -1, line, sizeof line - 1, nullptr, nullptr);
        const std::string answer = apply(line);
        if (answer.rfind("ok", 0) != 0) {
            WriteOutputLine(answer);
            return false;
        }
    }
    return true;
}

void ForEachInputLine(const std::function<bool(const std::string&)>& handle)
{
    HANDLE hInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char buffer[256];
    DWORD nRead = 0;
    while (ReadFile(hInput, buffer, sizeof buffer, &nRead, nullptr) && nRead > 0) {
        pending.append(buffer, nRead);
        size_t nEnd;
        while ((nEnd = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, nEnd);
            pending.erase(0, nEnd + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && !handle(line))
                return;
        }
    }
}
