#include "tests/comm/CommTestSupport.h"

#include <winsock2.h>

#include <sstream>

#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"

namespace {

// Winsock for the discovery tests; the program starts it in its view.
class CWinsockEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    void TearDown() override { WSACleanup(); }
};

const testing::Environment* const g_pWinsock = testing::AddGlobalTestEnvironment(new CWinsockEnvironment);

std::wstring SimulatorPath()
{
    wchar_t szPath[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"VUDADAR_GAUGESIM", szPath, MAX_PATH) > 0)
        return szPath;
    // The test program is <build>\tests\comm_tests.exe, the simulator <build>\tools\gaugesim.exe.
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath);
    path.erase(path.find_last_of(L"\\/"));
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"tools\\gaugesim.exe";
}

}  // namespace

testing::AssertionResult SerialPortsReady()
{
    CQarCommunications probe;
    for (int nPort : {kLinkPort, kGaugePort, kSecondLinkPort, kSecondGaugePort})
        if (probe.CheckPort(nPort - 1) != 0)
            return testing::AssertionFailure()
                   << "COM" << nPort << " is not mapped to a pseudo-terminal; run "
                   << "'WINEPREFIX=<test prefix> tools/serial-pair start <build>/serial 201:202 203:204 210:file' "
                   << "(ctest does it through the serial_pair fixture)";
    return testing::AssertionSuccess();
}

double CStopwatch::ElapsedMs() const
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - m_start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

testing::AssertionResult CGaugeSimulator::Start(int nComPort, const std::vector<std::string>& setup)
{
    Stop();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE hChildInput = nullptr, hChildOutput = nullptr;
    if (!CreatePipe(&hChildInput, &m_hInput, &inherit, 0) || !CreatePipe(&m_hOutput, &hChildOutput, &inherit, 0))
        return testing::AssertionFailure() << "no pipes for the simulator";
    // The test's own ends stay with the test.
    SetHandleInformation(m_hInput, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);

    const std::wstring path = SimulatorPath();
    std::wostringstream commandLine;
    commandLine << L'"' << path << L"\" " << nComPort;
    for (const std::string& line : setup)
        commandLine << L" -c \"" << std::wstring(line.begin(), line.end()) << L'"';
    std::wstring text = commandLine.str();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = hChildInput;
    startup.hStdOutput = hChildOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL bStarted = CreateProcessW(path.c_str(), text.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                         nullptr, &startup, &process);
    CloseHandle(hChildInput);
    CloseHandle(hChildOutput);
    if (!bStarted) {
        const DWORD nError = GetLastError();
        Stop();
        return testing::AssertionFailure() << "cannot start the gauge simulator (error " << nError << ")";
    }
    CloseHandle(process.hThread);
    m_hProcess = process.hProcess;
    const std::string ready = ReadLine();
    if (ready.rfind("ready", 0) != 0) {
        Stop();
        return testing::AssertionFailure() << "gauge simulator on COM" << nComPort << ": " << ready << " ("
                                           << SerialPortsReady().message() << ")";
    }
    return testing::AssertionSuccess();
}

std::string CGaugeSimulator::ReadLine()
{
    std::string line;
    for (;;) {
        char ch;
        DWORD nRead = 0;
        if (m_hOutput == nullptr || !ReadFile(m_hOutput, &ch, 1, &nRead, nullptr) || nRead == 0)
            return line.empty() ? "error the simulator has ended" : line;
        if (ch == '\n')
            return line;
        if (ch != '\r')
            line += ch;
    }
}

std::string CGaugeSimulator::Control(const std::string& line)
{
    if (m_hInput == nullptr)
        return "error the simulator is not running";
    const std::string text = line + "\n";
    DWORD nWritten = 0;
    if (!WriteFile(m_hInput, text.data(), static_cast<DWORD>(text.size()), &nWritten, nullptr))
        return "error the simulator does not listen";
    return ReadLine();
}

void CGaugeSimulator::Set(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        EXPECT_EQ("ok", Control(line)) << line;
}

std::map<std::string, long long> CGaugeSimulator::Stats()
{
    std::map<std::string, long long> stats;
    std::istringstream in(Control("stats"));
    std::string word;
    in >> word;
    while (in >> word) {
        const size_t nEquals = word.find('=');
        if (nEquals != std::string::npos)
            stats[word.substr(0, nEquals)] = std::stoll(word.substr(nEquals + 1));
    }
    return stats;
}

std::vector<int> CGaugeSimulator::TakeNumbers(const std::string& command)
{
    std::vector<int> numbers;
    std::istringstream in(Control(command));
    std::string word;
    in >> word;
    for (int n; in >> n;)
        numbers.push_back(n);
    return numbers;
}

std::vector<int> CGaugeSimulator::TakeLog()
{
    return TakeNumbers("log");
}

std::vector<int> CGaugeSimulator::TakeFanLog()
{
    return TakeNumbers("fanlog");
}

void CGaugeSimulator::Stop()
{
    if (m_hProcess != nullptr) {
        Control("quit");
        if (WaitForSingleObject(m_hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(m_hProcess, 1);
        CloseHandle(m_hProcess);
        m_hProcess = nullptr;
    }
    if (m_hInput != nullptr)
        CloseHandle(m_hInput);
    if (m_hOutput != nullptr)
        CloseHandle(m_hOutput);
    m_hInput = nullptr;
    m_hOutput = nullptr;
}

void DisconnectLink(CSimbrel1View& view, int nLink)
{
    CQarCommunications* pLink = view.m_pLink[nLink];
    if (pLink->m_hPort != nullptr)
        pLink->ClosePort();
}

void SetAutomaticTestOnFanThree(CSimbrel1View& view)
{
    view.m_bAutoSelect = 0;
    CTestSettingsDialog& settings = *view.m_pSettings;
    settings.m_chMethodLetter[0] = L'A';
    settings.m_nMethodIndex = 1;
    settings.m_dHighPressureLimit = 150.0;
    settings.m_dFanStartPercent = 10.0;
    view.m_pEquipment->m_chFanCode = L'3';
}

void ConnectPrimaryGauge(CSimbrel1View& view, CTestGraph1& store)
{
    CQarCommunications& link = *view.m_pLink[0];
    link.InitChannelTable();
    link.m_nFirstPort = static_cast<short>(kLinkPort);
    link.m_nLastPort = static_cast<short>(kLinkPort);
    link.ConnectDevice();
    ASSERT_EQ(1, link.m_bIdentified);
    ASSERT_EQ(1, link.m_bGauge);
    view.m_nComPort[0] = kLinkPort;
    store.m_DeviceUsed[0] = 1;
    store.m_DeviceChannels[0] = 2;
    store.m_DevicesInUse = 1;
    store.m_ChannelsInUse = 2;
}
