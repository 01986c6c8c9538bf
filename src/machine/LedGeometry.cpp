#include "machine/LedGeometry.h"

#include "machine/SegmentCodes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace LedGeometry {
namespace {

// Radians per degree as the display was first drawn with; keeping it keeps every truncated
// pixel where it was.
constexpr double radiansPerDegree = 0.017453292519444445;
constexpr int originX = 25;
constexpr int originY = 25;
constexpr int margin = 10;

int Scaled(int length, double radians, double (*function)(double)) {
    return static_cast<int>(length * function(radians));
}

} // namespace

Segment MakeSegment(int x, int y, int length, int width, int angle) {
    const int f = width / 2;
    const double k = radiansPerDegree;
    const int dx1 = Scaled(f, (angle + 45) * k, std::cos);
    const int dy1 = Scaled(f, (angle + 45) * k, std::sin);
    const int dx2 = Scaled(length, angle * k, std::cos);
    const int dy2 = Scaled(length, angle * k, std::sin);
    const int dx3 = Scaled(f, (angle - 45) * k, std::cos);
    const int dy3 = Scaled(f, (angle - 45) * k, std::sin);
    Segment s;
    s[0] = {x + dx1, y - dy1};
    s[1] = {s[0].x + dx2, s[0].y - dy2};
    s[2] = {s[1].x + dx3, s[1].y - dy3};
    s[3] = {s[2].x - dx1, s[2].y + dy1};
    s[4] = {s[3].x - dx2, s[3].y + dy2};
    s[5] = {x, y};
    return s;
}

Digit MakeDigit(int x, int y, int length, int width) {
    const int e = width / 2;
    const int angle = 0;
    Digit digit;
    auto& s = digit.segments;
    const auto tip = [&](int i) { return s[static_cast<std::size_t>(i)][2]; };
    s[0] = MakeSegment(x, y, length, width, angle);
    s[1] = MakeSegment(tip(0).x + e, tip(0).y + e, length, width, angle - 90);
    s[2] = MakeSegment(tip(1).x, tip(1).y + e, length, width, angle - 90);
    s[3] = MakeSegment(tip(2).x - e, tip(2).y + e, length, width, angle + 180);
    s[4] = MakeSegment(tip(3).x - e, tip(3).y - e / 2, length, width, angle + 90);
    s[5] = MakeSegment(tip(4).x + e, tip(4).y - e, length, width, angle);
    s[6] = MakeSegment(tip(4).x, tip(4).y - 2 * e, length, width, angle + 90);
    const int right = s[0][3].x;
    digit.width = std::min(right - s[0][0].x, right - s[3][3].x);
    digit.height = s[3][0].y - s[0][3].y;
    digit.pointSize = width / 3 + 1;
    digit.pointX = x + digit.width + digit.pointSize + 5;
    digit.pointY = y + digit.height;
    return digit;
}

const std::array<Digit, DigitCount>& Display() {
    static const std::array<Digit, DigitCount> digits = [] {
        std::array<Digit, DigitCount> made;
        // Two digits, a gap, four, a gap, two; each element moves the cursor by three times its
        // width.
        int x = originX;
        std::size_t cell = 0;
        for (int element = 0; element < 10; ++element) {
            if (element == 2 || element == 7) {
                x += 3 * GapWidth;
                continue;
            }
            made[cell] = MakeDigit(x, originY);
            x += 3 * made[cell].width;
            ++cell;
        }
        return made;
    }();
    return digits;
}

int DisplayWidth() {
    const Digit& last = Display().back();
    return last.pointX + last.pointSize + originX + margin;
}

int DisplayHeight() {
    const Digit& first = Display().front();
    return first.pointY + first.pointSize + originY + margin;
}

std::string SpokenText(int code) {
    for (int digit = 0; digit < 16; ++digit) {
        if ((code & 0x7F) == DigitCode(digit) && (code & 0x7F) != 0) {
            std::string text(1, "0123456789ABCDEF"[digit]);
            return (code & 0x80) != 0 ? text + "." : text;
        }
    }
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code & 0xFF);
    return text;
}

} // namespace LedGeometry
