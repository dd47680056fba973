// The serial gauge protocol of CQarCommunications: one-byte commands, each
// acknowledged by the command plus one, then the bytes of the answer.
#include "comm/QarCommunications.h"

#include <bit>
#include <cstdint>

namespace {

enum Handshake { kBox = 0, kGauge = 1, kUnknown = 2 };

constexpr unsigned char kPresence = 0x81;
constexpr unsigned short kFailed = 9999;

}  // namespace

void CQarCommunications::PurgeBoth()
{
    if (m_hPort != nullptr)
        PurgeComm(m_hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

void CQarCommunications::PurgeReceive()
{
    if (m_hPort != nullptr)
        PurgeComm(m_hPort, PURGE_RXCLEAR);
}

// Reads what the device still sends until it has been quiet for one byte
// time, then clears both buffers. Bounded by bytes and by time, so that a
// device that keeps sending holds neither a worker nor the user-interface
// thread.
void CQarCommunications::DrainReceive(int nByteTimeoutMs, int nMaxBytes, ULONGLONG nMaxMs)
{
    const ULONGLONG nStart = GetTickCount64();
    for (int i = 0; i < nMaxBytes && GetTickCount64() - nStart < nMaxMs; ++i)
        if (ReadByte(nByteTimeoutMs) == kFailed)
            break;
    PurgeBoth();
}

int CQarCommunications::sendbyte(unsigned char nByte)
{
    if (m_bNetwork)
        return SendWifiByte(nByte);
    if (m_hPort == nullptr)
        return 0;
    DWORD nWritten = 0;
    return WriteFile(m_hPort, &nByte, 1, &nWritten, nullptr) && nWritten == 1 ? 1 : 0;
}

bool CQarCommunications::RestoreStandingTimeouts()
{
    if (m_nPerByteTimeout == 0)
        return true;
    if (!SetCommTimeouts(m_hPort, &m_StandingTimeouts))
        return false;
    m_nPerByteTimeout = 0;
    return true;
}

unsigned short CQarCommunications::ReadByte(int nTimeoutMs)
{
    if (m_bNetwork)
        return static_cast<unsigned short>(GetWifiByte(nTimeoutMs));
    if (m_hPort == nullptr)
        return kFailed;
    unsigned char nByte = 0;
    DWORD nRead = 0;
    if (nTimeoutMs > 0) {
        // A time-out of its own for this byte: read interval 0, multiplier 0,
        // the time-out as the constant, the write time-outs as they stand.
        if (m_nPerByteTimeout != nTimeoutMs) {
            if (m_nPerByteTimeout == 0 && !GetCommTimeouts(m_hPort, &m_StandingTimeouts))
                return kFailed;
            COMMTIMEOUTS perByte = m_StandingTimeouts;
            perByte.ReadIntervalTimeout = 0;
            perByte.ReadTotalTimeoutMultiplier = 0;
            perByte.ReadTotalTimeoutConstant = static_cast<DWORD>(nTimeoutMs);
            if (!SetCommTimeouts(m_hPort, &perByte))
                return kFailed;
            m_nPerByteTimeout = nTimeoutMs;
        }
        return ReadFile(m_hPort, &nByte, 1, &nRead, nullptr) && nRead == 1 ? nByte : kFailed;
    }
    // Without a time-out: wait for a character, then read it with the
    // standing time-outs. The event mask that comes back is not trusted
    // (Wine can return an empty one); the read decides.
    DWORD nMask = 0;
    if (!RestoreStandingTimeouts() || !SetCommMask(m_hPort, EV_RXCHAR) || !WaitCommEvent(m_hPort, &nMask, nullptr))
        return kFailed;
    return ReadFile(m_hPort, &nByte, 1, &nRead, nullptr) && nRead == 1 ? nByte : kFailed;
}

int CQarCommunications::SendCommand(unsigned char nCommand, int nTimeoutMs, const wchar_t* /*pszDescription*/)
{
    sendbyte(nCommand);
    return ReadByte(nTimeoutMs) == ((nCommand + 1) & 0xFF) ? 1 : 0;
}

unsigned short CQarCommunications::ReadEeprom(unsigned short nAddress)
{
    m_bOverRange = 0;
    m_bLowBattery = 0;
    m_bFailed = 0;
    if (m_bNetwork)
        return ReadEepromWifi(nAddress);
    if (!SendCommand(32, m_nReplyTimeout, L"read EEPROM") ||
        !SendCommand(static_cast<unsigned char>(nAddress), m_nReplyTimeout, L"EEPROM address"))
        return kFailed;
    return ReadByte(m_nReplyTimeout);
}

float CQarCommunications::DecodeGaugeFloat(unsigned char b0, unsigned char b1, unsigned char b2)
{
    // b0 is the exponent field plus 2; 0 means zero and 1 has no exponent
    // field to stand for, so it reads as zero as well.
    if (b0 < 2)
        return 0.0f;
    const std::uint32_t nBits = (static_cast<std::uint32_t>(b1 & 0x80) << 24) |
                                (static_cast<std::uint32_t>(b0 - 2) << 23) |
                                (static_cast<std::uint32_t>(b1 & 0x7F) << 16) | (static_cast<std::uint32_t>(b2) << 8);
    return std::bit_cast<float>(nBits);
}

// Tells a gauge (it answers the presence byte and holds 0x54 at memory 240)
// from a box (silent); kUnknown for a device that answers otherwise.
int CQarCommunications::GaugeHandshake()
{
    // The first presence byte wakes the gauge; its answer does not count.
    PurgeBoth();
    sendbyte(kPresence);
    ReadByte(500);
    PurgeBoth();
    sendbyte(kPresence);
    if (ReadByte(500) != 0x82)
        return kBox;
    PurgeBoth();
    sendbyte(32);
    if (ReadByte(m_nReplyTimeout) != 33)
        return kUnknown;
    sendbyte(240);
    ReadByte(m_nReplyTimeout);
    return ReadByte(m_nReplyTimeout) == 0x54 ? kGauge : kUnknown;
}

int CQarCommunications::ReadMemoryFloat(int nAddress, float& fValue)
{
    unsigned short nBytes[3];
    for (int i = 0; i < 3; ++i) {
        nBytes[i] = ReadEeprom(static_cast<unsigned short>(nAddress + i));
        if (nBytes[i] == kFailed)
            return 0;
    }
    fValue = DecodeGaugeFloat(static_cast<unsigned char>(nBytes[0]), static_cast<unsigned char>(nBytes[1]),
                              static_cast<unsigned char>(nBytes[2]));
    return 1;
}

bool CQarCommunications::ReadGaugeMemoryMap(unsigned short nMaxTypeCode)
{
    unsigned short nValue = ReadEeprom(248);
    if (nValue == kFailed)
        return false;
    m_nTypeCode = nValue;
    if (m_nTypeCode > nMaxTypeCode)
        return false;

    if ((nValue = ReadEeprom(249)) == kFailed)
        return false;
    m_nMemory249 = nValue;
    if ((nValue = ReadEeprom(250)) == kFailed)
        return false;
    m_nMemory250 = nValue;

    const unsigned short nLow = ReadEeprom(251);
    if (nLow == kFailed)
        return false;
    const unsigned short nHigh = ReadEeprom(252);
    if (nHigh == kFailed)
        return false;
    m_nSerial = nHigh * 256 + nLow;

    m_strModel.Empty();
    for (unsigned short nAddress = 243; nAddress <= 247; ++nAddress) {
        if ((nValue = ReadEeprom(nAddress)) == kFailed)
            return false;
        // Zero bytes pad a name shorter than five characters.
        if (nValue != 0) {
            const char ch = static_cast<char>(nValue);
            m_strModel += CString(&ch, 1);
        }
    }

    unsigned short nDate[3];
    for (int i = 0; i < 3; ++i)
        if ((nDate[i] = ReadEeprom(static_cast<unsigned short>(253 + i))) == kFailed)
            return false;
    m_nCalMonth = nDate[0];
    m_nCalDay = nDate[1];
    m_nCalYear = nDate[2];
    m_strCalDateLocale = FormatLocaleDate(m_nCalYear + 2000, m_nCalMonth, m_nCalDay);
    m_strCalDateNumeric = FormatNumericDate(m_nCalYear + 2000, m_nCalMonth, m_nCalDay);
    m_strCalDateShort = FormatShortDate(m_strCalDateNumeric);
    return true;
}

short CQarCommunications::IdentifySerialGauge()
{
    auto fail = [this]() -> short {
        ClearIdentityAndPurge();
        return 0;
    };
    // A serial gauge has at most eight channels; anything else is not one.
    if (!ReadGaugeMemoryMap(8))
        return fail();

    unsigned short nValue = 0;
    if (!SendCommand(7, m_nReplyTimeout, L"read battery") || (nValue = ReadByte(m_nReplyTimeout)) == kFailed)
        return fail();
    m_dBattery = (nValue + 13) / 25.0;
    if (!SendCommand(6, m_nReplyTimeout, L"read firmware") || (nValue = ReadByte(m_nReplyTimeout)) == kFailed)
        return fail();
    m_nFirmware = static_cast<short>(nValue);

    for (int i = 0; i < 12; ++i)
        if (!ReadMemoryFloat(3 * i, m_fConstants[i]))
            return fail();
    return static_cast<short>(m_nTypeCode);
}

int CQarCommunications::ReadOneSecondAverages()
{
    if (!m_bConnected || !m_bGauge || m_bRQ80)
        return 0;
    if (!SendCommand(3, m_nReplyTimeout, L"one-second averages"))
        return 0;
    unsigned short nBytes[6];
    for (int i = 0; i < 6; ++i) {
        nBytes[i] = ReadByte(i == 0 ? 2500 : m_nReplyTimeout);
        if (nBytes[i] == kFailed)
            return 0;
    }
    auto decode = [&nBytes](int i) {
        return static_cast<double>(DecodeGaugeFloat(static_cast<unsigned char>(nBytes[i]),
                                                    static_cast<unsigned char>(nBytes[i + 1]),
                                                    static_cast<unsigned char>(nBytes[i + 2])));
    };
    m_dAverageA = decode(0);
    m_dAverageB = decode(3);
    return 1;
}

short CQarCommunications::ReadFirmwareVersion()
{
    if (m_bNetwork) {
        short nFirmware = 0;
        if (!ReadFirmwareWifi(nFirmware))
            return static_cast<short>(kFailed);
        m_nFirmware = nFirmware;
        return nFirmware;
    }
    if (!SendCommand(6, m_nReplyTimeout, L"read firmware"))
        return static_cast<short>(kFailed);
    const unsigned short nValue = ReadByte(m_nReplyTimeout);
    if (nValue == kFailed)
        return static_cast<short>(kFailed);
    m_nFirmware = static_cast<short>(nValue);
    return m_nFirmware;
}

int CQarCommunications::ReadCalibrationDate()
{
    if (!m_bGauge)
        return ReadCalibrationDateBox();
    unsigned short nDate[3];
    for (int i = 0; i < 3; ++i) {
        nDate[i] = ReadEeprom(static_cast<unsigned short>(253 + i));
        if (nDate[i] == kFailed) {
            m_nCalDate = 0;
            return 0;
        }
    }
    m_nCalMonth = nDate[0];
    m_nCalDay = nDate[1];
    m_nCalYear = nDate[2];
    m_nCalDate = m_nCalMonth * 10000 + m_nCalDay * 100 + m_nCalYear;
    return m_nCalDate;
}
