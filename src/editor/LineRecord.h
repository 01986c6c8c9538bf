#pragma once

#include <cstdint>

// One line of a text buffer. `chars` holds the line without its line end and without a
// terminating zero. A line with `capacity` 0 owns no block: its characters (if any) lie in the
// block its file was loaded into, which the buffer keeps for as long as such lines exist. A line
// that changes first gets a block of its own, sized in steps of 16 characters.
struct LineRecord {
    char* chars = nullptr;
    int32_t length = 0;
    int32_t capacity = 0;
    uint32_t flags = 0;
};
