#pragma once

#include <string_view>

// Read access to the lines a search looks through. A match never spans a line end.
class SearchLines {
public:
    virtual ~SearchLines() = default;
    virtual int LineCount() const = 0;
    // Valid until the text changes; the caller passes a line index below LineCount().
    virtual std::string_view LineText(int line) const = 0;
};
