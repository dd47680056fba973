// The data-acquisition box protocol of CQarCommunications. A command is one
// byte: the operation, the channel or register address less one, and bit 3
// for range value 0. The box answers with a status or first digit byte; each
// further byte of the answer is asked for with 0xCC.
#include "comm/QarCommunications.h"

#include <climits>
#include <cmath>

#include "framework/UiAnswerer.h"

namespace {

constexpr int kReadChannel = 0x00;
constexpr int kZeroChannel = 0x20;
constexpr int kReadRegister = 0x40;
constexpr int kWriteAnalog = 0x60;
constexpr unsigned char kFanOutput = 0x80;
constexpr unsigned char kNextByte = 0xCC;
constexpr unsigned short kFailed = 9999;

constexpr int kChannelCountRegister = 18;
constexpr int kBoxGainRegister = 17;
constexpr int kSerialRegister = 19;
constexpr int kDateRegister = 20;
constexpr int kReferenceRegister = 21;

constexpr int kZeroStatusTimeoutMs = 1500;
constexpr int kRegisterTimeoutMs = 200;
constexpr int kDecimalTimeoutMs = 100;
constexpr int kDrainByteTimeoutMs = 100;
// A box has nothing longer than four bytes to finish; more than this, or
// for longer than this, is a device that keeps sending.
constexpr int kDrainMaxBytes = 64;
constexpr ULONGLONG kDrainMaxMs = 500;
constexpr int kEarliestCalDate = 10190;  // 1 January 1990

// The fan output is twelve bits: eight in the first data byte, four in the
// high half of the second.
constexpr int kFanMinimum = 40;
constexpr int kFanMaximum = 0xFFF;

}  // namespace

int CQarCommunications::MakeBoxCommand(int nOperation, int nAddress, int nRange)
{
    // The address takes the five low bits; beyond them it would change the
    // operation.
    if (nAddress < 1 || nAddress > 32)
        return -1;
    return nOperation | (nAddress - 1) | (nRange == 0 ? 0x08 : 0x00);
}

int CQarCommunications::GetBoxAddress(short nChannel) const
{
    // A box of more than two channels numbers channels 1-8 from the other end.
    if (m_nChannelCount > 2 && nChannel >= 1 && nChannel <= 8)
        return 9 - nChannel;
    return nChannel;
}

// Reads the seven packed digits of a register: the low four bits of the
// first byte, then both halves of three more bytes. bRefusable: a first byte
// equal to the command plus one is the box's refusal.
bool CQarCommunications::ReadBoxDigits(int nRegister, int nRangeFlag, int nTimeoutMs, bool bRefusable,
                                       long& nDigits)
{
    nDigits = 0;
    const int nCommand = MakeBoxCommand(kReadRegister, nRegister, nRangeFlag);
    if (nCommand < 0)
        return false;
    // A late byte of an earlier exchange would shift every digit.
    PurgeReceive();
    sendbyte(static_cast<unsigned char>(nCommand));
    unsigned short nBytes[4];
    nBytes[0] = ReadByte(nTimeoutMs);
    if (nBytes[0] == kFailed || (bRefusable && nBytes[0] == ((nCommand + 1) & 0xFF)))
        return false;
    for (int i = 1; i < 4; ++i) {
        sendbyte(kNextByte);
        nBytes[i] = ReadByte(nTimeoutMs);
        if (nBytes[i] == kFailed)
            return false;
    }
    int nNibbles[7] = {nBytes[0] & 0x0F};
    for (int i = 1; i < 4; ++i) {
        nNibbles[2 * i - 1] = nBytes[i] >> 4;
        nNibbles[2 * i] = nBytes[i] & 0x0F;
    }
    long nValue = 0;
    for (int nNibble : nNibbles) {
        // Not a decimal digit: the answer is no register value at all, not
        // the digits before it.
        if (nNibble > 9)
            return false;
        nValue = nValue * 10 + nNibble;
    }
    nDigits = nValue;
    return true;
}

int CQarCommunications::read_box(int nRegister, int nRangeFlag)
{
    if (m_bGauge) {
        AfxMessageBox(L"no calls to read_box are allowed for RQX0");
        return 0;
    }
    long nValue = 0;
    if (!ReadBoxDigits(nRegister, nRangeFlag, kRegisterTimeoutMs, true, nValue))
        return 0;
    return static_cast<int>(nValue);
}

double CQarCommunications::ReadBoxDecimal(int nRegister, int nRangeFlag)
{
    if (m_bGauge)
        return 1.0;
    long nValue = 0;
    if (!ReadBoxDigits(nRegister, nRangeFlag, kDecimalTimeoutMs, false, nValue))
        return 0.0;
    // d.dddddd
    return static_cast<double>(nValue) / 1000000.0;
}

double CQarCommunications::ReadBoxChannel(const CChannelCalibration& channel)
{
    const int nCommand = MakeBoxCommand(kReadChannel, GetBoxAddress(channel.m_nChannel), channel.m_nRange);
    if (nCommand < 0) {
        m_bFailed = 1;
        return 0.0;
    }
    PurgeReceive();
    sendbyte(static_cast<unsigned char>(nCommand));
    const unsigned short nStatus = ReadByte(m_nReplyTimeout);
    if (nStatus == kFailed) {
        m_bFailed = 1;
        DrainReceive(kDrainByteTimeoutMs, kDrainMaxBytes, kDrainMaxMs);
        return 0.0;
    }
    sendbyte(kNextByte);
    const unsigned short nData = ReadByte(m_nDataTimeout);
    if (nData == kFailed) {
        m_bFailed = 1;
        DrainReceive(kDrainByteTimeoutMs, kDrainMaxBytes, kDrainMaxMs);
        return 0.0;
    }
    int nCount = nData + (nStatus & 0x0F) * 256;
    if (nCount > 4094)
        m_bOverRange = 1;
    if (nStatus & 0x40)
        m_bLowBattery = 1;
    if (nStatus & 0x80)
        nCount = -nCount;
    return nCount;
}

void CQarCommunications::ZeroBoxChannel(CChannelCalibration& channel)
{
    const int nCommand = MakeBoxCommand(kZeroChannel, GetBoxAddress(channel.m_nChannel), channel.m_nRange);
    if (nCommand < 0) {
        m_bFailed = 1;
        return;
    }
    PurgeReceive();
    sendbyte(static_cast<unsigned char>(nCommand));
    const unsigned short nStatus = ReadByte(kZeroStatusTimeoutMs);
    if (nStatus == kFailed) {
        m_bFailed = 1;
        DrainReceive(kDrainByteTimeoutMs, kDrainMaxBytes, kDrainMaxMs);
        return;
    }
    sendbyte(kNextByte);
    const unsigned short nData = ReadByte(m_nDataTimeout);
    if (nData == kFailed) {
        m_bFailed = 1;
        DrainReceive(kDrainByteTimeoutMs, kDrainMaxBytes, kDrainMaxMs);
        return;
    }
    double dZero = (nData + (nStatus & 0x3F) * 256) / 10.0;
    if (nStatus & 0x40)
        m_bLowBattery = 1;
    if (nStatus & 0x80)
        dZero = -dZero;
    channel.m_dZero[channel.m_nRange == 0 ? 0 : 1] = dZero;
}

short CQarCommunications::IdentifyBox()
{
    // The count stays a register value until it is known to be a box's: a
    // seven-digit value narrowed first could pass for one (65538 as 2).
    const int nCount = read_box(kChannelCountRegister, 0);
    if (nCount == 0) {
        m_nChannelCount = 0;
        return 0;
    }
    m_nChannelCount = static_cast<short>(nCount > SHRT_MAX ? 0 : nCount);
    m_dReferenceVolts = read_box(kReferenceRegister, 0) / 100000.0;
    m_dBoxGain[0] = ReadBoxDecimal(kBoxGainRegister, 0);
    m_dBoxGain[1] = ReadBoxDecimal(kBoxGainRegister, 1);
    auto plausibleGain = [](double dGain) { return dGain > 0.5 && dGain < 1.5; };
    if (nCount < 2 || nCount > 8 || !(m_dReferenceVolts > 4.0 && m_dReferenceVolts < 6.0) ||
        !plausibleGain(m_dBoxGain[0]) || !plausibleGain(m_dBoxGain[1])) {
        m_nChannelCount = 0;
        return 0;
    }

    for (int i = 0; i < nCount; ++i) {
        const int nRegister = m_Channels[nCount == 2 ? i : 7 - i].m_nChannel;
        m_Channels[i].m_dGain[0] = ReadBoxDecimal(nRegister, 0);
        m_Channels[i].m_dGain[1] = ReadBoxDecimal(nRegister, 1);
    }
    for (int i = 8; i < 16; ++i) {
        m_Channels[i].m_dGain[0] = m_dBoxGain[0];
        m_Channels[i].m_dGain[1] = m_dBoxGain[1];
    }

    m_nBoxSerial = read_box(kSerialRegister, 0);
    m_nCalDate = read_box(kDateRegister, 0);
    if (m_nCalDate < kEarliestCalDate)
        m_nCalDate = kEarliestCalDate;
    const int nMonth = m_nCalDate / 10000;
    const int nDay = m_nCalDate / 100 - nMonth * 100;
    int nYear = m_nCalDate - nMonth * 10000 - nDay * 100;
    nYear += nYear < 90 ? 2000 : 1900;
    m_strCalDateLocale = FormatLocaleDate(nYear, nMonth, nDay);
    m_strCalDateNumeric = FormatNumericDate(nYear, nMonth, nDay);
    m_strCalDateShort = FormatShortDate(m_strCalDateNumeric);
    return m_nChannelCount;
}

int CQarCommunications::SetBoxFanSpeed(short nValue)
{
    // A value beyond twelve bits would lose its high bits and run the fan
    // slow when fast was asked: it is sent as the highest the output takes.
    int nSent = nValue < kFanMinimum ? kFanMinimum : nValue;
    if (nSent > kFanMaximum)
        nSent = kFanMaximum;
    sendbyte(kFanOutput);
    if (!sendbyte(static_cast<unsigned char>(nSent >> 4)) ||
        !sendbyte(static_cast<unsigned char>((nSent & 0x0F) << 4)))
        return -1;
    return nSent;
}

int CQarCommunications::ReadCalibrationDateBox()
{
    m_nCalDate = read_box(kDateRegister, 0);
    if (m_nCalDate >= 1 && m_nCalDate < kEarliestCalDate)
        m_nCalDate = kEarliestCalDate;
    return m_nCalDate;
}

void CQarCommunications::SetDigitalOutputs(int bOutputA, int bOutputB)
{
    if (m_bIoDisabled || m_bGauge)
        return;
    static const unsigned char kOutputs[2][2] = {{0x8F, 0xAF}, {0x9F, 0xBF}};
    sendbyte(kOutputs[bOutputA ? 1 : 0][bOutputB ? 1 : 0]);
}

int CQarCommunications::WriteAnalogValue(short nChannel, double dValue, int nRangeFlag)
{
    if (m_bIoDisabled || m_bGauge)
        return 0;
    const int nCommand = MakeBoxCommand(kWriteAnalog, GetBoxAddress(nChannel), nRangeFlag);
    if (nCommand < 0)
        return 0;
    // Seven digits, d.dddddd: the output takes no sign and one whole digit.
    long nDigits = 0;
    if (dValue > 0.0)
        nDigits = dValue >= 9.9999995 ? 9999999 : std::lround(dValue * 1000000.0);
    int nDigit[7];
    for (int i = 6; i >= 0; --i) {
        nDigit[i] = static_cast<int>(nDigits % 10);
        nDigits /= 10;
    }
    const unsigned char nBytes[5] = {
        static_cast<unsigned char>(nCommand),
        static_cast<unsigned char>(nDigit[0]),
        static_cast<unsigned char>(nDigit[1] << 4 | nDigit[2]),
        static_cast<unsigned char>(nDigit[3] << 4 | nDigit[4]),
        static_cast<unsigned char>(nDigit[5] << 4 | nDigit[6]),
    };
    Sleep(50);
    int bSent = 1;
    for (unsigned char nByte : nBytes)
        bSent &= sendbyte(nByte);
    Sleep(50);
    return bSent;
}

double CQarCommunications::ReadReferenceVoltage()
{
    if (m_bIoDisabled)
        return m_dReferenceVolts;
    m_dReferenceVolts = read_box(kReferenceRegister, 0) / 100000.0;
    return m_dReferenceVolts;
}
