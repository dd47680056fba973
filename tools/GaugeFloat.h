// The gauges' 3-byte float, from the gauge's side: the IEEE single-precision
// number with its exponent field plus 2 in the first byte, sign and mantissa
// bits 22-16 in the second, mantissa bits 15-8 in the third. The low eight
// mantissa bits are dropped. Shared by the gauge simulator and its tests.
#pragma once

#include <bit>
#include <cstdint>

// False when the value cannot be sent: not finite, or 2^127 and beyond in
// magnitude (the first byte would pass 255). Zero is sent as 0 0 0.
inline bool EncodeGaugeFloat(float fValue, unsigned char bytes[3])
{
    const std::uint32_t nBits = std::bit_cast<std::uint32_t>(fValue);
    const std::uint32_t nExponent = (nBits >> 23) & 0xFF;
    if (nExponent > 253)
        return false;
    if ((nBits & 0x7FFFFFFFu) == 0) {
        bytes[0] = bytes[1] = bytes[2] = 0;
        return true;
    }
    bytes[0] = static_cast<unsigned char>(nExponent + 2);
    bytes[1] = static_cast<unsigned char>(((nBits >> 24) & 0x80) | ((nBits >> 16) & 0x7F));
    bytes[2] = static_cast<unsigned char>((nBits >> 8) & 0xFF);
    return true;
}
