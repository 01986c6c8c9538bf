#include "machine/SineTone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<std::int16_t> SineTone(int frequencyHz, int durationMs, int sampleRate) {
    const auto count = static_cast<std::size_t>(
        std::max<long long>(0, static_cast<long long>(durationMs) * sampleRate / 1000));
    const std::size_t fade = std::max<std::size_t>(1, static_cast<std::size_t>(sampleRate / 1000));
    constexpr double amplitude = 0.4 * 32767;
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double edge =
            std::min({1.0, static_cast<double>(i) / static_cast<double>(fade),
                      static_cast<double>(count - 1 - i) / static_cast<double>(fade)});
        const double phase =
            2 * std::numbers::pi * frequencyHz * static_cast<double>(i) / sampleRate;
        samples[i] = static_cast<std::int16_t>(amplitude * edge * std::sin(phase));
    }
    return samples;
}
