#pragma once

#include <cstdint>
#include <vector>

// The beeper's tone: `durationMs` of a sine at `frequencyHz`, as signed 16-bit mono samples at
// `sampleRate`, faded in and out over a millisecond so that it starts and ends without a click.
std::vector<std::int16_t> SineTone(int frequencyHz, int durationMs, int sampleRate);
