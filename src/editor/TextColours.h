#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The colours of the text view by index, the colours of marked lines and the margin picture of
// a line, independent of any window system.
namespace TextColours {

enum Index {
    AfterText = 0,
    Background = 1,
    NormalText = 2,
    SelectionMargin = 3,
    SelectionBackground = 4,
    SelectionText = 5,
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The default colour of an index; none for the four that follow the desktop's colours (after
// the text and background: window; normal text: window text; margin: scroll bar).
std::optional<Rgb> DefaultColour(int index);

// Marked lines draw in their own colours over the whole row: execution line, enabled
// breakpoint, plain bookmark. No value means the per-character colours.
struct LineColours {
    std::optional<Rgb> background;
    std::optional<Rgb> text;
    bool fillRow = false;
};
LineColours MarkedLineColours(uint32_t flags);

constexpr int marginPictureCount = 16;
// The picture (0 to 15) of the first of the margin flags a line carries; -1 for none.
int MarginPicture(uint32_t flags);
// The flag bit each picture stands for.
uint32_t MarginPictureFlag(int picture);

// A colour block from the colouring hook: from `charIndex` on, `colour`.
struct Block {
    int charIndex = 0;
    int colour = 0;
};
// A run of characters [start, end) in one colour.
struct Run {
    int start = 0;
    int end = 0;
    int colour = 0;
    friend bool operator==(const Run&, const Run&) = default;
};
// The runs of a line of `length` characters: normal text up to the first block, each block up
// to the next. Blocks out of order or outside the line are ignored.
std::vector<Run> RunsFromBlocks(const std::vector<Block>& blocks, int length);

} // namespace TextColours
