#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// A progress bar for a terminal, "[#######.............]  35% 350/1000", shown only once a run
// has lasted a second, so that short runs print nothing but their result.
class ProgressBar {
public:
    static constexpr std::chrono::milliseconds delay{1000};

    static bool ShouldShow(std::chrono::steady_clock::duration elapsed) { return elapsed >= delay; }
    // The bar `width` characters wide (the counts follow it).
    static std::string Text(std::size_t done, std::size_t total, std::size_t width);
};
