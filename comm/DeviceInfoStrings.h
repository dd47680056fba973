// CDeviceInfoStrings: the text snapshot of one device's identity and
// calibration that a stored test keeps, 38 texts at fixed positions.
#pragma once

#include "framework/String.h"

class CDeviceInfoStrings {
public:
    enum {
        kModel = 0,
        kSerialNumber = 1,
        kCalDateShort = 2,
        kCalDateNumeric = 3,
        kChannelCount = 4,
        kDeviceType = 5,          // "2" a gauge, "1" a data-acquisition box
        kFirmware = 6,
        kSupply = 7,
        kFirstConstant = 8,       // twelve calibration constants, 8 to 19
        kRangeGainLow = 20,       // box gain of range value 1
        kRangeGainHigh = 21,      // box gain of range value 0
        kFirstChannelGain = 22,   // two per box channel 1-8, 22 to 37
        kCount = 38
    };

    void Reset();
    // Splits a model-and-serial text ("%s - %d") into the model (up to the
    // blank before the first "-") and the serial number (from the second
    // character after it). A text without "-" is taken whole as the model.
    void SetModelSerial(const CString& strModelSerial);

    CString m_strText[kCount];
};
