#pragma once

#include "editor/TextLines.h"

#include <string>
#include <vector>

// Lines held in a vector, for the rules that read text.
class VectorLines : public TextLines {
public:
    VectorLines(std::initializer_list<std::string> text) : lines(text) {}
    explicit VectorLines(std::vector<std::string> text) : lines(std::move(text)) {}
    int Count() const override { return static_cast<int>(lines.size()); }
    std::string_view Line(int line) const override { return lines[line]; }

    std::vector<std::string> lines;
};
