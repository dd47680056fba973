// CQarCommunications: one link between the program and one measuring device
// (a gauge on a COM port or on the network, or a data-acquisition box on a
// COM port). It keeps the device's identity, calibration and channel
// records, the state of the link and the display texts, and chooses the
// serial gauge, box or network protocol by its state.
//
// Failure values: the low-level reads give 9999; a channel reading that
// fails gives 0.0 with m_bFailed, one beyond the gauge's range 0.0 with
// m_bOverRange. The flags describe the last call only. Nothing is locked:
// one thread at a time works on a link.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <vector>

#include "comm/ChannelCalibration.h"
#include "comm/WifiDeviceInfo.h"
#include "framework/String.h"

class CQarCommunications {
public:
    CQarCommunications();
    virtual ~CQarCommunications();
    CQarCommunications(const CQarCommunications&) = delete;
    CQarCommunications& operator=(const CQarCommunications&) = delete;

    // Device-independent operations.
    void InitChannelTable();
    int OpenDevicePort();
    short IdentifyDevice();
    void ConnectDevice();
    int CloseDevice();
    int ClosePort();
    void ReleasePort();
    int ResetIdentified();
    short ReadChannelCount();
    double ReadChannel(const CChannelCalibration& channel);
    void AutoZeroChannel(CChannelCalibration& channel);
    int SetFanSpeed(short nValue);
    double ReadBatteryVoltage();
    int EnableDashRQ40Display();
    int DisableDashRQ40Display();
    unsigned short ReadEeprom(unsigned short nAddress);
    int CheckPort(int nPortIndex);
    void OpenPortNumber(int nComNumber);
    void FormatDeviceInfo();
    void ClearIdentity();
    void ClearIdentityAndPurge();
    // Operations of the serial gauge protocol that nothing calls yet.
    int ReadOneSecondAverages();
    short ReadFirmwareVersion();
    int ReadCalibrationDate();

    // The COM numbers a search covering these settings tries, in order.
    static std::vector<int> GetPortSearchOrder(short nFirstPort, short nLastPort, int nPortIndex,
                                               int nPortCount);
    // Applies the gauge's limits to a value read: beyond +-5000 sets
    // m_bFailed, beyond +-1250 (+-2500 for an RQ80) sets m_bOverRange, and
    // either gives 0.0; a value that is not a number counts as beyond the
    // hard limit.
    double CheckGaugeLimits(double dValue);

    // Byte layer of the serial protocol.
    int sendbyte(unsigned char nByte);
    unsigned short ReadByte(int nTimeoutMs);
    int SendCommand(unsigned char nCommand, int nTimeoutMs, const wchar_t* pszDescription);
    static float DecodeGaugeFloat(unsigned char b0, unsigned char b1, unsigned char b2);

    // Date texts of the identification.
    static CString FormatNumericDate(int nYear, int nMonth, int nDay);
    static CString FormatShortDate(const CString& strNumericDate);
    static CString FormatLocaleDate(int nYear, int nMonth, int nDay);
    static CString PadTwoDigits(const CString& strText);

    // Data-acquisition box protocol.
    int read_box(int nRegister, int nRangeFlag);
    double ReadBoxDecimal(int nRegister, int nRangeFlag);
    // Box operations that nothing calls yet.
    void SetDigitalOutputs(int bOutputA, int bOutputB);
    int WriteAnalogValue(short nChannel, double dValue, int nRangeFlag);
    double ReadReferenceVoltage();

    // Network gauge protocol.
    // A request has at most 31 characters; a reply is cut off (and the
    // connection closed) past kMaxReplyLength characters or kReplyTotalMs
    // of the program clock; each piece of it may take kReplyWaitMs.
    enum { kMaxRequestLength = 31, kMaxReplyLength = 4096, kReplyWaitMs = 5000, kReplyTotalMs = 15000 };
    int OpenWifiConnection(const CWifiDeviceInfo& device);
    bool CloseWifiConnection();
    int SendWifiCommand(const CString& strCommand);
    short SendWifiRequest(const wchar_t* pszCommand, int nNumber);
    short RecvWiflyDataString(const CString& strCommand, CString& strValue, int bRaw);
    int ExpectWifiConfirmation(const wchar_t* pszExpected);
    short GetWifiByte(int nTimeoutMs);
    CString GetWifiLinkSettings();
    CString GetCalibrationRecord();
    // Both channels from one "G0" request; 1 read, 0 failed (the flags tell why).
    int ReadBothChannelsWifi(double& dChannelA, double& dChannelB);
    int ReadChannelWifi(int nChannel, double& dValue);
    int ReadFirmwareWifi(short& nFirmware);
    int WifiAutoZero();
    // Requests that nothing in the system makes.
    CString GetWifiVersion();
    int ReadZeroValuesWifi(CString& strZeros);
    int SendFanSetting(short nValue);
    static CString GetWsaErrorText(int nError);
    static unsigned char HexPairToByte(const CString& strPair);
    static CString GetJsonValue(const CString& strJson, const CString& strKey);

    CString m_strCalDateDigits;
    CString m_strTypeText;
    CString m_strModelSerial;
    CString m_strCalDateLocale;
    CString m_strCalDateNumeric;
    CString m_strCalDateShort;
    float m_fConstants[12] = {};
    CString m_strConstants[12];
    double m_dAverageA = 10000.0;
    double m_dAverageB = 10000.0;
    int m_bGauge = 0;
    int m_bRQ80 = 0;
    int m_nPortCount = 256;
    short m_nFirstPort = -1;   // COM numbers, 1-based; -1 any port
    short m_nLastPort = -1;
    CString m_strRangeGain[2];
    CString m_strSupply;
    CString m_strModel;
    CString m_strChannelGain[16];
    HANDLE m_hPort = nullptr;
    int m_nReplyTimeout = 200;
    int m_nDataTimeout = 100;
    unsigned short m_nTypeCode = 0;
    unsigned short m_nMemory249 = 0;
    unsigned short m_nMemory250 = 0;
    int m_nSerial = 0;
    unsigned short m_nCalMonth = 0;
    unsigned short m_nCalDay = 0;
    unsigned short m_nCalYear = 0;  // two digits
    double m_dBattery = 0.0;
    short m_nFirmware = 0;
    CString m_strFirmware;
    int m_bIoDisabled = 0;  // once set, no further traffic until the program ends
    CChannelCalibration m_Channels[16];
    int m_nPortIndex = -1;  // COM number - 1; -1 none
    int m_bConnected = 0;
    int m_bFailed = 0;      // the last operation failed
    int m_bLowBattery = 0;
    int m_bOverRange = 0;   // the last reading was beyond the gauge's range
    int m_bIdentified = 0;
    int m_bTextsFormatted = 0;
    short m_nChannelCount = -1;
    int m_nBoxSerial = 0;
    int m_nCalDate = 0;     // MMDDYY
    double m_dReferenceVolts = 0.0;
    double m_dBoxGain[2] = {};
    int m_bNetwork = 0;
    int m_bSocketOpen = 0;
    CWifiDeviceInfo m_Device;
    // Set by a worker for the length of a network request and read by the
    // user-interface thread's keep-alive, hence atomic.
    std::atomic<int> m_bBusy{0};
    CString m_strLastError;
    SOCKET m_ConnectSocket = INVALID_SOCKET;

private:
    // Opens "\\.\COMn" for reading and writing without sharing; null on failure
    // (the system error code in *pError when given).
    static HANDLE OpenComHandle(int nComNumber, DWORD* pError);
    // Line settings 9600 8N1, every other setting of the port as it is.
    static bool SetLineSettings(HANDLE hPort);
    int TryPort(int nComNumber);
    int GaugeHandshake();
    void PurgeBoth();
    void PurgeReceive();
    // Reads what a device still sends after a failed exchange, bounded by
    // bytes and time, then clears both buffers.
    void DrainReceive(int nByteTimeoutMs, int nMaxBytes, ULONGLONG nMaxMs);
    short IdentifySerialGauge();
    // The identity part of a gauge's memory map (channel count, serial,
    // model, calibration date) read byte by byte; false when a byte cannot be
    // read or the channel count is above nMaxTypeCode.
    bool ReadGaugeMemoryMap(unsigned short nMaxTypeCode);
    int ReadMemoryFloat(int nAddress, float& fValue);

    // Branches of the box and network protocols.
    short IdentifyBox();
    double ReadBoxChannel(const CChannelCalibration& channel);
    void ZeroBoxChannel(CChannelCalibration& channel);
    int SetBoxFanSpeed(short nValue);
    int ReadCalibrationDateBox();
    // Box helpers: the command byte and a register's seven packed digits.
    static int MakeBoxCommand(int nOperation, int nAddress, int nRange);
    int GetBoxAddress(short nChannel) const;
    bool ReadBoxDigits(int nRegister, int nRangeFlag, int nTimeoutMs, bool bRefusable, long& nDigits);
    short IdentifyRQ80();
    short IdentifyWifiGauge();
    unsigned short ReadEepromWifi(unsigned short nAddress);
    double ReadBatteryWifi();
    int SetWifiFanSpeed(short nValue);
    int SetWifiDashDisplay(bool bOn);
    int SendWifiByte(unsigned char nByte);
    // Network helpers: every byte of a request out, one request with its
    // reply value, and the failure of a reply whose value is unusable.
    bool SendAllBytes(const char* pBytes, int nBytes, int& nError);
    bool WifiRequest(const wchar_t* pszCommand, int nNumber, CString& strValue);
    void RejectWifiValue(const wchar_t* pszCommand);

    // Puts the port's standing time-outs back after per-byte reads.
    bool RestoreStandingTimeouts();

    // The time-outs a port had before the link opened it, put back on closing.
    COMMTIMEOUTS m_SavedTimeouts = {};
    // Per-byte reads leave their read time-out on the port until another one,
    // or the standing time-outs, are needed: a reading then costs no further
    // calls to change them. 0 while the standing time-outs are set.
    int m_nPerByteTimeout = 0;
    COMMTIMEOUTS m_StandingTimeouts = {};
};
