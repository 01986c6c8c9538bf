#pragma once

#include "editor/CTextPosition.h"
#include "editor/SearchFlags.h"
#include "editor/SearchLines.h"

#include <cstdint>
#include <string_view>

// Looks for `what` within the block from `blockBegin` to `blockEnd`, from `start` on (downwards)
// or back from `start` (SearchFlags::Upwards), line by line; with `wrap`, the rest of the block is
// searched once more from its other end. A match lies wholly inside the block; searching upwards,
// a match on the start line ends at or before `start`, and the last such match of a line wins.
// Without SearchFlags::MatchCase, letters compare regardless of case; with SearchFlags::WholeWord,
// the characters beside the match in its line must not be letters, digits or "_". False for an
// empty text, an empty block or no match; otherwise `found` is the match's first character.
bool FindInBlock(const SearchLines& text, std::string_view what, CTextPosition start,
                 CTextPosition blockBegin, CTextPosition blockEnd, uint32_t flags, bool wrap,
                 CTextPosition& found);

// FindInBlock over the whole text.
bool FindInText(const SearchLines& text, std::string_view what, CTextPosition start, uint32_t flags,
                bool wrap, CTextPosition& found);

// The end of the text's last line.
CTextPosition EndOfText(const SearchLines& text);
