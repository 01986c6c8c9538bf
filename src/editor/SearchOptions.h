#pragma once

#include <string>

// The values the Find and Replace dialogs keep in the settings between runs.
struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
    std::string findWhat;
    std::string replaceWith; // the Replace dialog's only

    friend bool operator==(const SearchOptions&, const SearchOptions&) = default;
};
