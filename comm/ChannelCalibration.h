// CChannelCalibration: one channel of a device, with the gain and zero offset
// of each of its two range values.
#pragma once

class CChannelCalibration {
public:
    short m_nChannel = 0;          // 1-8 pressure channels, 17-24 further box inputs
    short m_nRange = 1;            // 0 or 1: chooses gain and zero, and the box's command bit
    double m_dGain[2] = {1.0, 1.0};
    double m_dZero[2] = {0.0, 0.0};
};
