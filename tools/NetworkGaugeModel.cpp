#include "tools/NetworkGaugeModel.h"

#include <ws2tcpip.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tools/GaugeFloat.h"

namespace {

constexpr unsigned short kDiscoveryPort = 60417;
constexpr int kPiecePauseMs = 100;

std::string Hex2(unsigned int nByte)
{
    char szText[8];
    std::snprintf(szText, sizeof szText, "%02X", nByte & 0xFF);
    return szText;
}

// \r, \n and \\ in a control line's text.
std::string Unescape(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char ch = text[++i];
            result += ch == 'r' ? '\r' : ch == 'n' ? '\n' : ch;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

CNetworkGaugeModel::CNetworkGaugeModel(Kind kind) : m_kind(kind)
{
    m_memory[240] = 0x54;
    const char szModel[] = "RQ40";
    for (int i = 0; i < 4; ++i)
        m_memory[243 + i] = static_cast<unsigned char>(szModel[i]);
    m_memory[248] = 2;
    m_memory[249] = 18;
    m_memory[250] = 52;
    Apply("serial 4321");
    Apply(kind == kRQ80 ? "cal 3 5 2019" : "cal 3 5 19");
    const char* constants[12] = {"1.0", "0.0", "0.0", "1.0", "0.0", "0.0", "1.0", "0.0", "0.0", "1.0", "0.0", "0.0"};
    for (int i = 0; i < 12; ++i)
        Apply("constant " + std::to_string(i) + " " + constants[i]);
}

CNetworkGaugeModel::~CNetworkGaugeModel()
{
    Stop();
}

bool CNetworkGaugeModel::Start(unsigned short nPort)
{
    Stop();
    SOCKET hListen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (hListen == INVALID_SOCKET)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(nPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int nSize = sizeof address;
    if (bind(hListen, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR ||
        listen(hListen, 4) == SOCKET_ERROR ||
        getsockname(hListen, reinterpret_cast<sockaddr*>(&address), &nSize) == SOCKET_ERROR) {
        closesocket(hListen);
        return false;
    }
    m_hListen = hListen;
    m_nPort = ntohs(address.sin_port);
    m_bStop = false;
    m_thread = std::thread(&CNetworkGaugeModel::Run, this);
    return true;
}

void CNetworkGaugeModel::Stop()
{
    StopServerThread(m_bStop, m_thread);
    if (m_hListen != INVALID_SOCKET)
        closesocket(m_hListen);
    m_hListen = INVALID_SOCKET;
}

std::string CNetworkGaugeModel::Apply(const std::string& line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::istringstream in(line);
    std::string word;
    in >> word;
    int n = 0;
    double d = 0.0;
    auto byteArg = [&in](int& nByte) { return static_cast<bool>(in >> nByte) && nByte >= 0 && nByte <= 255; };
    auto rest = [&in] {
        std::string text;
        std::getline(in >> std::ws, text);
        return text;
    };
    // The text after the control word and one blank, exactly as given.
    auto literal = [&line, &word] {
        const size_t nAt = line.find(word) + word.size() + 1;
        return nAt < line.size() ? line.substr(nAt) : std::string();
    };
    if (word == "serial") {
        if (!(in >> n) || n < 0)
            return "error expected a serial number";
        m_nSerial = n;
        m_memory[251] = static_cast<unsigned char>(n & 0xFF);
        m_memory[252] = static_cast<unsigned char>((n >> 8) & 0xFF);
    } else if (word == "firmware" || word == "battery" || word == "channels") {
        if (!byteArg(n))
            return "error expected a byte";
        (word == "firmware" ? m_nFirmware : word == "battery" ? m_nBattery : m_memory[248]) =
            static_cast<unsigned char>(n);
    } else if (word == "volts") {
        if (!(in >> d))
            return "error expected volts";
        m_dVolts = d;
    } else if (word == "cal") {
        const std::string error = ApplyCalibrationLine(in, m_memory, m_nRecordYear);
        if (!error.empty())
            return error;
    } else if (word == "poke") {
        int nAddress;
        if (!(in >> nAddress) || nAddress < 0 || nAddress > 255 || !byteArg(n))
            return "error expected address and byte";
        m_memory[nAddress] = static_cast<unsigned char>(n);
    } else if (word == "constant") {
        unsigned char bytes[3];
        if (!(in >> n) || n < 0 || n > 11 || !(in >> d) || !EncodeGaugeFloat(static_cast<float>(d), bytes))
            return "error expected constant index and value";
        for (int i = 0; i < 3; ++i)
            m_memory[3 * n + i] = bytes[i];
    } else if (word == "record") {
        const std::string text = literal();
        m_strRecord = text == "auto" ? std::string() : text;
    } else if (word == "settings") {
        m_strSettings = literal();
    } else if (word == "cc") {
        in >> word;
        if (word != "first" && word != "second")
            return "error expected first or second";
        m_bCcSecondTry = word == "second";
    } else if (word == "status") {
        in >> word;
        m_bFree = word == "free";
    } else if (word == "rcvbuf") {
        if (!(in >> n) || n <= 0)
            return "error expected bytes";
        m_nReceiveBuffer = n;
    } else if (word == "okline") {
        in >> word;
        m_bOkLine = word == "on";
    } else if (word == "pressure") {
        const std::string error = ApplyPressureLine(in, m_sources, m_dZero);
        if (!error.empty())
            return error;
    } else if (word == "fault") {
        std::string kind, command;
        if (!(in >> kind >> command))
            return "error expected kind and command";
        Fault fault;
        if (kind == "silent") fault.kind = Fault::kSilent;
        else if (kind == "nc") fault.kind = Fault::kNoConnection;
        else if (kind == "close") fault.kind = Fault::kClose;
        else if (kind == "pieces") fault.kind = Fault::kPieces;
        else if (kind == "babble") fault.kind = Fault::kBabble;
        else if (kind == "raw") fault.kind = Fault::kRaw;
        else return "error unknown fault " + kind;
        fault.command = command == "any" ? std::string() : command;
        std::string argument = rest();
        for (const char* pszOption : {"skip=", "count="}) {
            if (argument.rfind(pszOption, 0) != 0)
                continue;
            const size_t nEnd = argument.find(' ');
            const int nValue = std::atoi(argument.c_str() + std::string(pszOption).size());
            (pszOption[0] == 's' ? fault.nSkip : fault.nCount) = nValue;
            argument = nEnd == std::string::npos ? std::string() : argument.substr(nEnd + 1);
        }
        if (fault.kind == Fault::kPieces &&
            std::sscanf(argument.c_str(), "%d,%d", &fault.nPieces, &fault.nPauseMs) != 2)
            return "error expected <pieces>,<pause ms>";
        if (fault.kind == Fault::kBabble)
            fault.nPauseMs = std::atoi(argument.c_str());
        if (fault.kind == Fault::kRaw)
            fault.text = argument;
        m_faults.push_back(fault);
    } else if (word == "clear") {
        m_faults.clear();
    } else if (word == "announce") {
        in >> word;
        if (word == "every" && (in >> n) && n > 0) {
            m_nAnnounceEveryMs = n;
            m_nNextAnnounce = 0;
        } else if (word == "off") {
            m_nAnnounceEveryMs = 0;
        } else if (word == "once") {
            m_nAnnounceEveryMs = -1;
            m_nNextAnnounce = 0;
        } else {
            return "error expected once, every <ms> or off";
        }
    } else if (word == "stats") {
        std::ostringstream out;
        out << "ok requests=" << m_nRequests << " connections=" << m_nConnections << " fan=" << m_nFan
            << " zeros=" << m_nZeros << " dash=" << m_bDash << " keepalives=" << m_nKeepAlives;
        return out.str();
    } else {
        return "error unknown control " + word;
    }
    return "ok";
}

std::vector<std::string> CNetworkGaugeModel::TakeRequests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> requests;
    requests.swap(m_requests);
    return requests;
}

std::string CNetworkGaugeModel::GetAnnouncement()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    char szText[256];
    if (m_kind == kRQ80) {
        std::snprintf(szText, sizeof szText,
                      "{\"qar\":{\"type\":\"RQ80\",\"sn\":\"%d\",\"port\":\"%u\",\"status\":\"%s\",\"ver\":\"1.0\"}}",
                      m_nSerial, m_nPort, m_bFree ? "free" : "busy");
    } else {
        // The device type travels as the character code of its digit.
        std::snprintf(szText, sizeof szText, "wifilinkRQ%08X%04X%02X%02X%02X", static_cast<unsigned int>(m_nSerial),
                      m_nPort, m_bFree ? 0u : 1u, 0u, static_cast<unsigned int>('7'));
    }
    return szText;
}

bool CNetworkGaugeModel::Announce(const char* pszAddress)
{
    const std::string datagram = GetAnnouncement();
    SOCKET hSocket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (hSocket == INVALID_SOCKET)
        return false;
    const BOOL bBroadcast = TRUE;
    setsockopt(hSocket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&bBroadcast), sizeof bBroadcast);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(kDiscoveryPort);
    inet_pton(AF_INET, pszAddress, &target.sin_addr);
    const int nSent = sendto(hSocket, datagram.data(), static_cast<int>(datagram.size()), 0,
                             reinterpret_cast<const sockaddr*>(&target), sizeof target);
    closesocket(hSocket);
    return nSent == static_cast<int>(datagram.size());
}

void CNetworkGaugeModel::AnnounceIfDue()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const ULONGLONG nNow = GetTickCount64();
        if (m_nAnnounceEveryMs == 0 || nNow < m_nNextAnnounce)
            return;
        if (m_nAnnounceEveryMs < 0)
            m_nAnnounceEveryMs = 0;
        else
            m_nNextAnnounce = nNow + static_cast<ULONGLONG>(m_nAnnounceEveryMs);
    }
    Announce();
}

bool CNetworkGaugeModel::Pause(int nMs)
{
    const ULONGLONG nEnd = GetTickCount64() + static_cast<ULONGLONG>(nMs);
    while (GetTickCount64() < nEnd) {
        if (m_bStop)
            return false;
        Sleep(5);
    }
    return !m_bStop;
}

void CNetworkGaugeModel::Run()
{
    while (!m_bStop) {
        AnnounceIfDue();
        fd_set readSet;
        FD_ZERO(&readSet);
        FD_SET(m_hListen, &readSet);
        timeval wait{0, 20000};
        if (select(0, &readSet, nullptr, nullptr, &wait) != 1)
            continue;
        SOCKET hClient = accept(m_hListen, nullptr, nullptr);
        if (hClient == INVALID_SOCKET)
            continue;
        // A client that stops reading must not hold the model on a full line.
        const DWORD nSendTimeoutMs = 1000;
        setsockopt(hClient, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&nSendTimeoutMs),
                   sizeof nSendTimeoutMs);
        int nReceiveBuffer = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_nConnections;
            nReceiveBuffer = m_nReceiveBuffer;
        }
        if (nReceiveBuffer > 0)
            setsockopt(hClient, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&nReceiveBuffer),
                       sizeof nReceiveBuffer);
        m_bServing = true;
        ServeClient(hClient);
        closesocket(hClient);
        m_bServing = false;
    }
}

void CNetworkGaugeModel::ServeClient(SOCKET hClient)
{
    {
        // The adapter's pending settings start from its settings text.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_nCcInConnection = 0;
        std::string rest = m_strSettings;
        for (int i = 0; i < 3; ++i) {
            const size_t nComma = rest.find(',');
            m_pending[i] = rest.substr(0, nComma);
            rest = nComma == std::string::npos ? std::string() : rest.substr(nComma + 1);
        }
        m_pending[3] = rest;
    }
    std::string pending;
    while (!m_bStop) {
        AnnounceIfDue();
        fd_set readSet;
        FD_ZERO(&readSet);
        FD_SET(hClient, &readSet);
        timeval wait{0, 20000};
        const int nReady = select(0, &readSet, nullptr, nullptr, &wait);
        if (nReady == SOCKET_ERROR)
            return;
        if (nReady == 0)
            continue;
        char buffer[512];
        const int nReceived = recv(hClient, buffer, sizeof buffer, 0);
        if (nReceived <= 0)
            return;
        pending.append(buffer, static_cast<size_t>(nReceived));
        size_t nEnd;
        while ((nEnd = pending.find("\r\n")) != std::string::npos) {
            const std::string request = pending.substr(0, nEnd);
            pending.erase(0, nEnd + 2);
            if (!ServeRequest(hClient, request))
                return;
        }
    }
}

bool CNetworkGaugeModel::SendText(SOCKET hClient, const std::string& text)
{
    size_t nSent = 0;
    while (nSent < text.size()) {
        const int nResult = send(hClient, text.data() + nSent, static_cast<int>(text.size() - nSent), 0);
        if (nResult == SOCKET_ERROR)
            return false;
        nSent += static_cast<size_t>(nResult);
    }
    return true;
}

bool CNetworkGaugeModel::TakeFault(const std::string& command, Fault& fault)
{
    for (size_t i = 0; i < m_faults.size(); ++i) {
        Fault& candidate = m_faults[i];
        if (!candidate.command.empty() && candidate.command != command)
            continue;
        if (candidate.nSkip > 0) {
            --candidate.nSkip;
            continue;
        }
        fault = candidate;
        if (candidate.nCount > 0 && --candidate.nCount == 0)
            m_faults.erase(m_faults.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

std::string CNetworkGaugeModel::BuildRecord() const
{
    if (!m_strRecord.empty())
        return m_strRecord;
    static const char* const kKeys[12] = {"a_pos_l", "a_pos_q", "a_pos_c", "a_neg_l", "a_neg_q", "a_neg_c",
                                          "b_pos_l", "b_pos_q", "b_pos_c", "b_neg_l", "b_neg_q", "b_neg_c"};
    std::ostringstream out;
    out << "{\"qar\":{\"day\":\"" << int(m_memory[254]) << "\",\"month\":\"" << int(m_memory[253])
        << "\",\"year\":\"" << m_nRecordYear << '"';
    for (int i = 0; i < 12; ++i) {
        const unsigned char* pBytes = m_memory + 3 * i;
        float fValue = 0.0f;
        if (pBytes[0] >= 2) {
            const std::uint32_t nBits = (static_cast<std::uint32_t>(pBytes[1] & 0x80) << 24) |
                                        (static_cast<std::uint32_t>(pBytes[0] - 2) << 23) |
                                        (static_cast<std::uint32_t>(pBytes[1] & 0x7F) << 16) |
                                        (static_cast<std::uint32_t>(pBytes[2]) << 8);
            fValue = std::bit_cast<float>(nBits);
        }
        char szValue[32];
        std::snprintf(szValue, sizeof szValue, "%.6g", static_cast<double>(fValue));
        out << ",\"" << kKeys[i] << "\":\"" << szValue << '"';
    }
    out << "}}";
    return out.str();
}

// "CC" enters the adapter's command mode; the settings commands change the
// connection's pending settings, which "RS" keeps.
bool CNetworkGaugeModel::BuildAdapterReply(const std::string& request, const std::string& command,
                                           std::string& reply)
{
    static const char* const kSettings[4] = {"CH", "RT", "SS", "PW"};
    if (command == "CC") {
        reply = m_bCcSecondTry && ++m_nCcInConnection == 1 ? "CCERR\r\n" : "CCOK\r\n";
        return true;
    }
    if (command == "RS") {
        m_strSettings = m_pending[0] + "," + m_pending[1] + "," + m_pending[2] + "," + m_pending[3];
        m_bRestart = true;
        reply.clear();
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (command != kSettings[i])
            continue;
        m_pending[i] = request.size() > 3 ? request.substr(3) : std::string();
        reply = command + "OK\r\n";
        return true;
    }
    return false;
}

// The reply to one request, CR LF included; empty when the device says nothing.
std::string CNetworkGaugeModel::BuildReply(const std::string& request, const std::string& command, int nNumber,
                                           bool bHasNumber)
{
    const bool bRQ80 = m_kind == kRQ80;
    std::string adapterReply;
    if (!bRQ80 && BuildAdapterReply(request, command, adapterReply))
        return adapterReply;
    if (command == "CG")
        return bRQ80 ? "CG " + BuildRecord() + "\r\n" : std::string();
    if (command == "GE") {
        if (!bHasNumber || nNumber < 0 || nNumber > 255)
            return std::string();
        return (m_bOkLine ? "GEOK\r\n" : "") + std::string("GE ") + Hex2(m_memory[nNumber]) + "\r\n";
    }
    if (command == "GB") {
        if (!bRQ80)
            return "GB " + Hex2(m_nBattery) + "\r\n";
        char szVolts[32];
        std::snprintf(szVolts, sizeof szVolts, "GB2 %.2f\r\n", m_dVolts);
        return szVolts;
    }
    if (command == "GF")
        return "GF " + Hex2(m_nFirmware) + "\r\n";
    if (command == "G0") {
        std::string reply = "G0 ";
        for (int i = 0; i < 2; ++i) {
            unsigned char bytes[3] = {};
            EncodeGaugeFloat(static_cast<float>(m_sources[i].Take() - m_dZero[i]), bytes);
            for (unsigned char nByte : bytes)
                reply += Hex2(nByte);
        }
        return reply + "\r\n";
    }
    if (command == "FZ") {
        for (int i = 0; i < 2; ++i)
            m_dZero[i] = m_sources[i].Current();
        ++m_nZeros;
        return "FZOK\r\n";
    }
    if (command == "SF" || command == "FS") {
        m_nFan = nNumber;
        return command + "OK\r\n";
    }
    if (command == "DD" || command == "UD") {
        m_bDash = command == "DD";
        return command + "OK\r\n";
    }
    if (command == "KA") {
        ++m_nKeepAlives;
        return std::string();
    }
    if (command == "GW")
        return bRQ80 ? std::string() : "GW " + m_strSettings + "\r\n";
    if (command == "GV")
        return "GV 1.04\r\n";
    if (command == "GZ")
        return "GZ 00000000\r\n";
    return std::string();
}

bool CNetworkGaugeModel::ServeRequest(SOCKET hClient, const std::string& request)
{
    const std::string command = request.substr(0, 2);
    int nNumber = 0;
    const bool bHasNumber = request.size() > 3 && request[2] == ' ' &&
                            std::sscanf(request.c_str() + 3, "%d", &nNumber) == 1;
    std::string reply;
    Fault fault;
    bool bFault = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
        ++m_nRequests;
        reply = BuildReply(request, command, nNumber, bHasNumber);
        bFault = TakeFault(command, fault);
        if (m_bRestart) {
            m_bRestart = false;
            return false;
        }
    }
    if (!bFault)
        return reply.empty() || SendText(hClient, reply);
    switch (fault.kind) {
    case Fault::kSilent:
        return true;
    case Fault::kNoConnection:
        return SendText(hClient, "\r\nNC\r\n");
    case Fault::kRaw: {
        // "\p" ends a piece: the next one follows after a pause.
        size_t nStart = 0;
        for (;;) {
            const size_t nMark = fault.text.find("\\p", nStart);
            if (!SendText(hClient, Unescape(fault.text.substr(nStart, nMark - nStart))))
                return false;
            if (nMark == std::string::npos)
                return true;
            if (!Pause(kPiecePauseMs))
                return false;
            nStart = nMark + 2;
        }
    }
    case Fault::kClose:
        SendText(hClient, reply.substr(0, reply.size() / 2));
        return false;
    case Fault::kPieces: {
        const size_t nPieces = fault.nPieces > 0 ? static_cast<size_t>(fault.nPieces) : 1;
        const size_t nSize = (reply.size() + nPieces - 1) / nPieces;
        for (size_t nStart = 0; nStart < reply.size(); nStart += nSize) {
            if (nStart > 0 && !Pause(fault.nPauseMs))
                return false;
            if (!SendText(hClient, reply.substr(nStart, nSize)))
                return false;
        }
        return true;
    }
    case Fault::kBabble: {
        // Until the client goes: nothing it could take for the end of a line.
        const std::string chunk = fault.nPauseMs > 0 ? std::string("7") : std::string(256, '7');
        while (!m_bStop) {
            if (!SendText(hClient, chunk))
                return false;
            if (fault.nPauseMs > 0 && !Pause(fault.nPauseMs))
                return false;
            fd_set readSet;
            FD_ZERO(&readSet);
            FD_SET(hClient, &readSet);
            timeval now{0, 0};
            if (select(0, &readSet, nullptr, nullptr, &now) == 1) {
                char nByte;
                if (recv(hClient, &nByte, 1, MSG_PEEK) <= 0)
                    return false;
            }
        }
        return false;
    }
    }
    return true;
}

int RunNetworkGaugeModel(int argc, wchar_t** argv)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        WriteOutputLine("error no Windows Sockets");
        return 2;
    }
    const bool bRQ40 = argc > 2 && std::wstring(argv[2]) == L"rq40";
    const int nPort = argc > 3 && argv[3][0] != L'-' ? _wtoi(argv[3]) : 0;
    CNetworkGaugeModel model(bRQ40 ? CNetworkGaugeModel::kRQ40Adapter : CNetworkGaugeModel::kRQ80);
    if (!ApplyControlArguments(argc, argv, 2, [&model](const std::string& line) { return model.Apply(line); }))
        return 1;
    if (!model.Start(static_cast<unsigned short>(nPort))) {
        WriteOutputLine("error cannot listen on 127.0.0.1:" + std::to_string(nPort));
        return 2;
    }
    WriteOutputLine("ready 127.0.0.1:" + std::to_string(model.GetPort()));
    // Control lines from standard input until "quit" or its end.
    ForEachInputLine([&model](const std::string& line) {
        if (line == "quit") {
            WriteOutputLine("ok");
            return false;
        }
        if (line == "log") {
            std::string answer = "ok";
            for (const std::string& request : model.TakeRequests())
                answer += " " + request;
            WriteOutputLine(answer);
            return true;
        }
        WriteOutputLine(model.Apply(line));
        return true;
    });
    model.Stop();
    WSACleanup();
    return 0;
}
