// Support of the gauge communication tests: the COM ports that the test
// fixture joins through socat pseudo-terminal pairs, a stopwatch, and the
// gauge simulator (tools/gaugesim.exe) run as a child process.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// tools/serial-pair joins COM201 with COM202 and COM203 with COM204, and maps
// COM210 to a plain file (tests/CMakeLists.txt starts it before the tests).
// Wine gives a machine's own serial devices the lowest free COM numbers, so
// the tests keep to numbers far above them and never search every port.
constexpr int kLinkPort = 201;
constexpr int kGaugePort = 202;
constexpr int kSecondLinkPort = 203;
constexpr int kSecondGaugePort = 204;
constexpr int kPlainFilePort = 210;

// A failure with the way to set the ports up, when they are not there.
testing::AssertionResult SerialPortsReady();

class CSimbrel1View;
class CTestGraph1;
// Connects the view's primary link on kLinkPort to the gauge simulated on
// its far end and gives the test screen that one gauge of two channels.
void ConnectPrimaryGauge(CSimbrel1View& view, CTestGraph1& store);
// Closes the port of the view's link nLink when it is open.
void DisconnectLink(CSimbrel1View& view, int nLink = 0);
// An automatic test on fan '3': 150 Pa high limit, fan started at 10 %.
void SetAutomaticTestOnFanThree(CSimbrel1View& view);

class CStopwatch {
public:
    CStopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&m_start); }
    double ElapsedMs() const;

private:
    LARGE_INTEGER m_start;
};

class CGaugeSimulator {
public:
    CGaugeSimulator() = default;
    ~CGaugeSimulator() { Stop(); }
    CGaugeSimulator(const CGaugeSimulator&) = delete;
    CGaugeSimulator& operator=(const CGaugeSimulator&) = delete;

    // Starts the simulator on a COM port with control lines applied first;
    // returns once its port is open.
    testing::AssertionResult Start(int nComPort, const std::vector<std::string>& setup = {});
    // One control line and the simulator's answer ("ok ..." or "error ...").
    std::string Control(const std::string& line);
    // Control lines that must all be accepted.
    void Set(const std::vector<std::string>& lines);
    // The counters of "stats": rx, fan, zeros, dash, reenable, readings.
    std::map<std::string, long long> Stats();
    // The command bytes received since the last call.
    std::vector<int> TakeLog();
    // The fan speeds commanded since the last call (a serial link sends 40
    // for 0).
    std::vector<int> TakeFanLog();
    void Stop();
    bool IsRunning() const { return m_hProcess != nullptr; }

private:
    std::vector<int> TakeNumbers(const std::string& command);
    std::string ReadLine();

    HANDLE m_hProcess = nullptr;
    HANDLE m_hInput = nullptr;   // the simulator's standard input
    HANDLE m_hOutput = nullptr;  // its standard output
};
