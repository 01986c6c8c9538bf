#pragma once

#include <cstdint>
#include <string>

// The search a view remembers for F3 and Shift+F3.
struct SearchState {
    bool hasLastSearch = false; // set up with the Find dialog in this view
    uint32_t lastFlags = 0;     // SearchFlags of that search
    std::string lastWhat;
    bool repeatedSearch = false; // a repeated search has found something
};
