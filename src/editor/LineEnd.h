#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The three line-end styles of a text file: 0 CR LF ("DOS"), 1 LF CR ("UNIX"), 2 LF ("MAC").
// Where an operation accepts a style, -1 means "detect on load" or "keep the buffer's on save".
namespace LineEnd {

constexpr int Automatic = -1;
constexpr int Count = 3;

// Only this many bytes at the start of a file decide its style.
constexpr std::size_t detectionBlockSize = 0x8000;

constexpr bool IsValid(int style) {
    return style >= 0 && style < Count;
}

// The characters that end a line in `style`, which must be valid.
std::string_view Text(int style);

// "DOS", "UNIX" or "MAC"; empty for any other value.
std::string_view Label(int style);

// The pieces of inserted text between its line breaks: CR LF and a lone CR break the line; a
// lone LF is an ordinary character.
std::vector<std::string_view> SplitAtBreaks(std::string_view text);

// The style of a file from its first detectionBlockSize bytes (the caller passes no more).
int Detect(std::string_view firstBlock);

} // namespace LineEnd
