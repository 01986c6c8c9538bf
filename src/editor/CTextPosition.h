#pragma once

#include <cstdint>

// A place in the text: a character index within a line and a line index, both 0-based. The
// character index counts characters; a tab is one.
struct CTextPosition {
    int32_t charIndex = 0;
    int32_t line = 0;

    friend bool operator==(const CTextPosition&, const CTextPosition&) = default;
};
