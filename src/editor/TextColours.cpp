#include "editor/TextColours.h"

#include <array>

namespace TextColours {

namespace {

constexpr std::array<uint32_t, marginPictureCount> pictureFlags = {
    0x10000, 0x20000, 0x40000, 0x80000, 0x2,   0x4, 0x8,      0x10,
    0x20,    0x40,    0x80,    0x100,   0x200, 0x1, 0x100000, 0x200000};

constexpr uint32_t executionLine = 0x10000;
constexpr uint32_t enabledBreakpoint = 0x40000;
constexpr uint32_t markedLine = 0x200000;

} // namespace

std::optional<Rgb> DefaultColour(int index) {
    switch (index) {
    case AfterText:
    case Background:
    case NormalText:
    case SelectionMargin:
        return std::nullopt;
    case SelectionBackground:
        return Rgb{0, 0, 0};
    case SelectionText:
        return Rgb{255, 255, 255};
    case 6:
        return Rgb{0, 0, 255};
    case 7:
        return Rgb{128, 128, 128};
    case 8:
        return Rgb{255, 0, 255};
    case 9:
        return Rgb{0, 0, 0};
    case 11:
        return Rgb{0, 128, 192};
    default:
        return Rgb{255, 0, 0};
    }
}

LineColours MarkedLineColours(uint32_t flags) {
    const Rgb white{255, 255, 255};
    if ((flags & executionLine) != 0) {
        return {Rgb{0, 128, 0}, white, true};
    }
    if ((flags & enabledBreakpoint) != 0) {
        return {Rgb{200, 0, 0}, white, true};
    }
    if ((flags & markedLine) != 0) {
        return {Rgb{128, 128, 0}, white, true};
    }
    return {};
}

int MarginPicture(uint32_t flags) {
    for (int picture = 0; picture < marginPictureCount; ++picture) {
        if ((flags & pictureFlags[picture]) != 0) {
            return picture;
        }
    }
    return -1;
}

uint32_t MarginPictureFlag(int picture) {
    return picture >= 0 && picture < marginPictureCount ? pictureFlags[picture] : 0;
}

std::vector<Run> RunsFromBlocks(const std::vector<Block>& blocks, int length) {
    std::vector<Run> runs;
    int start = 0;
    int colour = NormalText;
    for (const Block& block : blocks) {
        if (block.charIndex < start || block.charIndex >= length) {
            continue;
        }
        if (block.charIndex > start) {
            runs.push_back({start, block.charIndex, colour});
        }
        start = block.charIndex;
        colour = block.colour;
    }
    if (start < length) {
        runs.push_back({start, length, colour});
    }
    return runs;
}

} // namespace TextColours
