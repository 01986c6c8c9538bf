#pragma once

#include <array>
#include <cstdio>
#include <string>

// printf-style text of the panes and their prompts; every text they make fits 95 characters.
template <class... Values> std::string FormatText(const char* format, Values... values) {
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), format, values...);
    return text.data();
}
