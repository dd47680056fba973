// CWifiDeviceInfo: what discovery learns of one network device (a network
// gauge or a serial gauge behind a network adapter). Passed by value between
// discovery, the device scan, the adapter dialog, the gauge links and the view.
#pragma once

#include "framework/String.h"

class CWifiDeviceInfo {
public:
    CString m_strAddress;  // dotted IPv4 address of the sender; empty when none
    int m_nPort = 0;       // TCP port of the gauge link
    int m_nSerialNumber = 0;
    int m_nBusy = 0;       // 0 free; beacons may carry other values
    int m_nExtra = 0;      // bytes 24 and 25 of an adapter's beacon, kept as received
    int m_nDeviceType = 0; // 5 or 7 an adapter (RQ20, RQ40), 10 a network gauge
};
