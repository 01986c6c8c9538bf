// The LED display's geometry and the beeper's tone samples.

#include "machine/LedGeometry.h"

#include "machine/SineTone.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(LedGeometry, TopSegmentAndDigitSizeWithTheDefaults) {
    const auto a = LedGeometry::MakeSegment(25, 25, 14, 8, 0);
    const LedGeometry::Segment expected{
        {{27, 23}, {41, 23}, {43, 25}, {41, 27}, {27, 27}, {25, 25}}};
    EXPECT_EQ(a, expected);
    const auto digit = LedGeometry::MakeDigit(25, 25);
    EXPECT_EQ(digit.width, 14);
    EXPECT_EQ(digit.height, 48);
    EXPECT_EQ(digit.pointSize, 3);
    EXPECT_EQ(digit.pointX, 25 + 14 + 3 + 5);
    EXPECT_EQ(digit.pointY, 25 + 48);
    // Each segment starts from the far tip of the one before: b hangs from a's tip.
    EXPECT_EQ(digit.segments[1][5], (LedGeometry::Point{43 + 4, 25 + 4}));
}

TEST(LedGeometry, EightDigitsInGroupsOfTwoFourTwo) {
    const auto& digits = LedGeometry::Display();
    const int expectedX[] = {25, 67, 133, 175, 217, 259, 325, 367};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        EXPECT_EQ(digits[i].segments[0][5].x, expectedX[i]) << i;
        EXPECT_EQ(digits[i].segments[0][5].y, 25);
    }
    EXPECT_GT(LedGeometry::DisplayWidth(), digits.back().pointX);
    EXPECT_GT(LedGeometry::DisplayHeight(), digits.back().pointY);
}

TEST(LedGeometry, SpokenTextOfCells) {
    EXPECT_EQ(LedGeometry::SpokenText(0x5F), "0");
    EXPECT_EQ(LedGeometry::SpokenText(0x7C), "B");
    EXPECT_EQ(LedGeometry::SpokenText(0x77 | 0x80), "A.");
    EXPECT_EQ(LedGeometry::SpokenText(0x80), "0x80");
    EXPECT_EQ(LedGeometry::SpokenText(0x00), "0x00");
    EXPECT_EQ(LedGeometry::SpokenText(0x20), "0x20");
}

TEST(SineTone, LengthAndFrequency) {
    for (const int frequency : {1000, 2000}) {
        const auto samples = SineTone(frequency, 75, 44100);
        ASSERT_EQ(samples.size(), 3307u);
        int crossings = 0;
        for (std::size_t i = 1; i < samples.size(); ++i) {
            crossings += (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
        }
        // Two zero crossings per period: 75 or 150 periods in 75 ms.
        EXPECT_NEAR(crossings, 2 * frequency * 75 / 1000, 2) << frequency;
        EXPECT_EQ(samples.front(), 0);
        EXPECT_LE(std::abs(samples.back()), 200);
    }
}
