#pragma once

#include <string_view>

// Read access to lines of text, for the caret rules. There is always at least one line.
class TextLines {
public:
    virtual ~TextLines() = default;
    virtual int Count() const = 0;
    virtual std::string_view Line(int line) const = 0;
};
