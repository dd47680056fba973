// What the simulators (serial gauge, box, network gauge) share: the clock,
// the serial port they serve, their pressure sources, their server thread and
// the control lines they take from the command line and standard input.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <istream>
#include <string>
#include <thread>
#include <vector>

// Milliseconds of the high-resolution counter.
double NowMs();

// Opens COMn for reading and writing at 9600 baud, 8N1, with bytes an earlier
// user left on the line cleared; null, with the system error code in nError,
// when it cannot.
HANDLE OpenSimulatorPort(int nComNumber, DWORD& nError);
// One byte within nTimeoutMs; -1 none. nSetTimeoutMs is the time-out the
// port has (-1 not set yet): a run of reads with the same one sets it once.
int ReadSimulatorPortByte(HANDLE hPort, int nTimeoutMs, int& nSetTimeoutMs);

// What a simulated channel reads: one value, values in turn, or a ramp.
struct PressureSource {
    enum Kind { kConstant, kSequence, kRamp } kind = kConstant;
    std::vector<double> values{0.0};
    double dStart = 0.0;
    double dStep = 0.0;
    size_t nNext = 0;

    double Current() const;
    double Take();
};

// The rest of a "pressure <1|2> <value>", "... seq <value>..." or
// "... ramp <start> <step>" control line: that channel's new source, its
// zero cleared. The error answer, or empty.
std::string ApplyPressureLine(std::istream& in, PressureSource (&sources)[2], double (&dZero)[2]);

// The rest of a "cal <month> <day> <year>" control line: the calibration
// date bytes (253-255) of a gauge's memory map, and the year as given in
// nYear. The error answer, or empty.
std::string ApplyCalibrationLine(std::istream& in, unsigned char (&memory)[256], int& nYear);

// Asks a server thread to end and waits for it.
void StopServerThread(std::atomic<bool>& bStop, std::thread& thread);

// One line on standard output.
void WriteOutputLine(const std::string& line);
// Applies each "-c <control line>" among argv[nFirst] onwards; at the first
// answer that does not begin "ok" writes that answer and gives false.
bool ApplyControlArguments(int argc, wchar_t** argv, int nFirst,
                           const std::function<std::string(const std::string&)>& apply);
// Hands each line of standard input that is not empty, without its line
// end, to handle until handle gives false or the input ends.
void ForEachInputLine(const std::function<bool(const std::string&)>& handle);
