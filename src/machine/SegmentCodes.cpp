#include "machine/SegmentCodes.h"

#include "machine/CMyException.h"

#include <array>
#include <string>

namespace {

constexpr std::array<int, 20> digitCodes = {0x5F, 0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D,
                                            0x07, 0x7F, 0x6F, 0x77, 0x7C, 0x59, 0x3E,
                                            0x79, 0x71, 0x00, 0x80, 0x20, 0x5D};

// For each segment bit 0..7 (a, b, c, d, e, g, f, point), the raw bit that drives it.
constexpr std::array<int, 8> rawBitOfSegment = {4, 5, 6, 7, 1, 0, 2, 3};

} // namespace

int DigitCode(int index) {
    if (index < 0 || index >= static_cast<int>(digitCodes.size())) {
        throw CMyException(1, StopCode::LedRange,
                           "Illegal data '" + std::to_string(index) +
                               "' requested for display on LED.  Valid values are from 0 to " +
                               std::to_string(digitCodes.size() - 1));
    }
    return digitCodes[static_cast<std::size_t>(index)];
}

int RawCode(std::uint8_t raw) {
    int code = 0;
    for (int segment = 0; segment < 8; ++segment) {
        if ((raw & (1 << rawBitOfSegment[static_cast<std::size_t>(segment)])) == 0) {
            code |= 1 << segment;
        }
    }
    return code;
}
