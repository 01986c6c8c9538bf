#pragma once

#include <cstdint>

// Segment codes of the LED cells: bit 0..7 light segments a, b, c, d, e, g, f and the point.

// The code that shows digit or sign `index` (0..9, A, b, C, d, E, F, blank, point, minus, G).
// Throws CMyException code 24 for any index outside 0..19.
int DigitCode(int index);

// Converts a program-supplied raw pattern (active low, a different bit order) to a segment code:
// raw 0xFF is blank, raw 0x00 lights every segment and the point.
int RawCode(std::uint8_t raw);
