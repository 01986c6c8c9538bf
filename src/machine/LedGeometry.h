#pragma once

#include <array>
#include <string>

// Where the LED window draws its eight seven-segment digits. Segments are hexagons along a line;
// each digit is laid out from the far tip of its previous segment, with integer pixel positions,
// so the picture is the same on every screen.
namespace LedGeometry {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A segment's outline, p0..p5.
using Segment = std::array<Point, 6>;

struct Digit {
    // Indexed by the bit of the segment code: a, b, c, d, e, g, f.
    std::array<Segment, 7> segments;
    // The decimal point (bit 7): a circle of pointSize x pointSize at (pointX, pointY).
    int pointX = 0;
    int pointY = 0;
    int pointSize = 0;
    int width = 0;
    int height = 0;
};

constexpr int DefaultLength = 14;
constexpr int DefaultWidth = 8;
constexpr int GapWidth = 8;
constexpr int DigitCount = 8;

// A hexagon starting at (x, y), `length` long and `width` wide, at `angle` degrees (0 rightwards,
// anticlockwise, the y axis pointing down).
Segment MakeSegment(int x, int y, int length, int width, int angle);

// A digit whose top segment starts at (x, y).
Digit MakeDigit(int x, int y, int length = DefaultLength, int width = DefaultWidth);

// The eight digits of the display in cell order: two, a gap, four, a gap, two.
const std::array<Digit, DigitCount>& Display();

// The size of a window that shows the display with its margins.
int DisplayWidth();
int DisplayHeight();

// What a screen reader says for a cell: the hexadecimal digit it shows (with "." when its point is
// lit), or its segment code in hexadecimal when it shows no digit.
std::string SpokenText(int code);

} // namespace LedGeometry
