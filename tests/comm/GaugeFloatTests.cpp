// The gauges' 3-byte float: the link's decoder against the examples and
// against the simulator's encoder over the whole exponent range.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "comm/QarCommunications.h"
#include "tools/GaugeFloat.h"

TEST(GaugeFloat, DecodesTheExamples)
{
    struct Case {
        unsigned char b0, b1, b2;
        float fValue;
    };
    const Case cases[] = {
        {0x81, 0x00, 0x00, 1.0f},   {0x87, 0x48, 0x00, 100.0f}, {0x85, 0xCC, 0x00, -25.5f},
        {0x00, 0xFF, 0xFF, 0.0f},   {0x00, 0x00, 0x00, 0.0f},   {0x80, 0x00, 0x00, 0.5f},
        {0x8B, 0x1C, 0x40, 1250.0f}, {0x8D, 0x9C, 0x40, -5000.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fValue, CQarCommunications::DecodeGaugeFloat(c.b0, c.b1, c.b2))
            << int(c.b0) << " " << int(c.b1) << " " << int(c.b2);
}

TEST(GaugeFloat, FirstByteOneHasNoExponentAndReadsAsZero)
{
    for (int b1 : {0x00, 0x7F, 0x80, 0xFF})
        for (int b2 : {0x00, 0x01, 0xFF}) {
            const float fValue = CQarCommunications::DecodeGaugeFloat(1, static_cast<unsigned char>(b1),
                                                                      static_cast<unsigned char>(b2));
            EXPECT_EQ(0.0f, fValue);
            EXPECT_TRUE(std::isfinite(fValue));
        }
}

// Every byte triple with a first byte of 2 to 255 comes back unchanged; a
// first byte of 2 with an empty mantissa is zero, sent back as 0 0 0.
TEST(GaugeFloat, BytesToValueToBytesIsExactOverTheWholeRange)
{
    int nMismatches = 0;
    for (int b0 = 2; b0 <= 255; ++b0) {
        for (int nMantissa = 0; nMantissa < 65536; ++nMantissa) {
            const unsigned char bytes[3] = {static_cast<unsigned char>(b0), static_cast<unsigned char>(nMantissa >> 8),
                                            static_cast<unsigned char>(nMantissa & 0xFF)};
            const float fValue = CQarCommunications::DecodeGaugeFloat(bytes[0], bytes[1], bytes[2]);
            ASSERT_TRUE(std::isfinite(fValue));
            unsigned char again[3];
            ASSERT_TRUE(EncodeGaugeFloat(fValue, again));
            const bool bZero = b0 == 2 && (nMantissa & 0x7FFF) == 0;
            const bool bSame = bZero ? again[0] == 0 && again[1] == 0 && again[2] == 0
                                     : again[0] == bytes[0] && again[1] == bytes[1] && again[2] == bytes[2];
            if (!bSame && ++nMismatches <= 5)
                ADD_FAILURE() << "bytes " << b0 << " " << (nMantissa >> 8) << " " << (nMantissa & 0xFF);
        }
    }
    EXPECT_EQ(0, nMismatches);
}

// A value sent by the gauge keeps its sign, its exponent and the upper 16
// bits of its mantissa.
TEST(GaugeFloat, ValueToBytesToValueKeepsSixteenMantissaBits)
{
    std::mt19937 random(20190305);
    std::uniform_int_distribution<std::uint32_t> mantissa(0, 0x7FFFFF);
    for (int nExponent = 0; nExponent <= 253; ++nExponent) {
        for (int nSign = 0; nSign < 2; ++nSign) {
            for (int i = 0; i < 50; ++i) {
                const std::uint32_t nBits = (static_cast<std::uint32_t>(nSign) << 31) |
                                            (static_cast<std::uint32_t>(nExponent) << 23) | mantissa(random);
                const float fValue = std::bit_cast<float>(nBits);
                unsigned char bytes[3];
                ASSERT_TRUE(EncodeGaugeFloat(fValue, bytes)) << fValue;
                const float fBack = CQarCommunications::DecodeGaugeFloat(bytes[0], bytes[1], bytes[2]);
                const float fExpected = std::bit_cast<float>(nBits & 0xFFFFFF00u);
                if (fExpected == 0.0f)
                    EXPECT_EQ(0.0f, fBack);
                else
                    ASSERT_EQ(std::bit_cast<std::uint32_t>(fExpected), std::bit_cast<std::uint32_t>(fBack))
                        << "exponent field " << nExponent << " value " << fValue;
            }
        }
    }
}

TEST(GaugeFloat, SimulatorRefusesWhatTheFormatCannotCarry)
{
    unsigned char bytes[3];
    EXPECT_FALSE(EncodeGaugeFloat(INFINITY, bytes));
    EXPECT_FALSE(EncodeGaugeFloat(NAN, bytes));
    EXPECT_FALSE(EncodeGaugeFloat(std::ldexp(1.0f, 127), bytes));
    EXPECT_TRUE(EncodeGaugeFloat(std::ldexp(1.9f, 126), bytes));
    EXPECT_EQ(255, bytes[0]);
}
