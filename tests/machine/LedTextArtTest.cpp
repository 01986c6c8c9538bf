#include "machine/LedTextArt.h"

#include "machine/SegmentCodes.h"

#include <array>
#include <gtest/gtest.h>

namespace {

TEST(LedTextArt, DrawsEverySegmentThePointAndTheThreeGroups) {
    // 8. in cell 0, dark cell 1, then 1 2 A b, then a lone point and the minus.
    const std::array<int, 8> cells = {DigitCode(8) | 0x80, 0,
                                      DigitCode(1),        DigitCode(2),
                                      DigitCode(10),       DigitCode(11),
                                      DigitCode(17),       DigitCode(18)};
    EXPECT_EQ(LedTextArt(cells), " _             _   _\n"
                                 "|_|         |  _| |_| |_         _\n"
                                 "|_|.        | |_  | | |_|      .\n");
}

TEST(LedTextArt, AllDarkIsThreeEmptyLines) {
    const std::array<int, 8> dark{};
    EXPECT_EQ(LedTextArt(dark), "\n\n\n");
}

} // namespace
