#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The line-end styles of a text file: 0 CR LF ("DOS"), 1 LF CR ("LF CR"), 2 LF alone ("UNIX"),
// 3 CR alone ("MAC"). Where an operation accepts a style, -1 means "detect on load" or "keep the
// buffer's on save".
namespace LineEnd {

constexpr int Automatic = -1;
constexpr int CrLf = 0;
constexpr int LfCr = 1;
constexpr int Lf = 2;
constexpr int Cr = 3;
constexpr int Count = 4;

// Only this many bytes at the start of a file decide its style.
constexpr std::size_t detectionBlockSize = 0x8000;

constexpr bool IsValid(int style) {
    return style >= 0 && style < Count;
}

// The characters that end a line in `style`, which must be valid.
std::string_view Text(int style);

// What the status bar shows for `style`: "DOS", "LF CR", "UNIX" or "MAC"; empty for any other
// value.
std::string_view Label(int style);

// The pieces of inserted text between its line breaks: CR LF and a lone CR break the line; a
// lone LF is an ordinary character.
std::vector<std::string_view> SplitAtBreaks(std::string_view text);

// The style of a file from its first detectionBlockSize bytes (the caller passes no more). The
// first LF decides: after a CR it is CR LF, before a CR LF CR, else LF alone. Without any LF,
// a CR makes it CR alone, and a block with neither is CR LF.
int Detect(std::string_view firstBlock);

} // namespace LineEnd
