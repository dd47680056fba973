// CQarCommunications: one gauge link of the view (primary device or one of
// three auxiliary devices): its connection state and the device commands.
#pragma once

class CQarCommunications {
public:
    CQarCommunications();
    ~CQarCommunications();
    CQarCommunications(const CQarCommunications&) = delete;
    CQarCommunications& operator=(const CQarCommunications&) = delete;

    // Ends the exchange with the device; returns 1 when it is closed.
    int CloseDevice();
    // Sends the fan speed output; returns the value sent. While device
    // traffic is barred (m_bIoDisabled) nothing is sent.
    int SetFanSpeed(short nValue);

    int m_bConnected = 0;
    int m_bIdentified = 0;
    int m_bIoDisabled = 0;   // once set, no further traffic until the program ends
    int m_bFailed = 0;       // the last read failed
    int m_bOverRange = 0;    // the last read was beyond the gauge's range
    int m_nLastFanSpeed = 0; // the last fan speed output sent
};
