// CWifiDeviceInfo: what discovery learns of one network device (a network
// gauge or a serial gauge behind a network adapter). Passed by value between
// discovery, the device scan, the adapter dialog, the gauge links and the view.
#pragma once

#include "framework/String.h"

class CWifiDeviceInfo {
public:
    CString m_strAddress;      // dotted address text, empty when none
    int m_nPort = 0;           // TCP port
    int m_nSerialNumber = 0;
    int m_bBusy = 0;           // 0 free
    int m_nSpare = 0;          // bytes 24 and 25 of an adapter's beacon, kept as received
    int m_nDeviceType = 0;     // 5 or 7 an adapter, 10 a network gauge, 0 unknown
};
