#pragma once

#include "editor/CTextPosition.h"
#include "editor/TextLines.h"

// Where the caret goes for each move of the text view. Positions passed in are inside the text.
namespace CaretMoves {

// Letters, digits and "_".
bool IsWordChar(char c);

CTextPosition CharLeft(const TextLines& text, CTextPosition at);
CTextPosition CharRight(const TextLines& text, CTextPosition at);
// To the start of the word (or of the run of other non-blank characters) before the caret.
CTextPosition WordLeft(const TextLines& text, CTextPosition at);
CTextPosition WordRight(const TextLines& text, CTextPosition at);
// The first non-blank character; column 0 when already there or when the line is all blank.
CTextPosition SmartHome(const TextLines& text, CTextPosition at);
CTextPosition LineEnd(const TextLines& text, CTextPosition at);
CTextPosition TextEnd(const TextLines& text);
// `lines` up (negative) or down, clamped to the text, at the character nearest `idealColumn`.
CTextPosition LineUpDown(const TextLines& text, CTextPosition at, int lines, int idealColumn,
                         int tabSize);
// The run of word characters on both sides of `at` (empty when there is none).
void WordAround(const TextLines& text, CTextPosition at, CTextPosition& start, CTextPosition& end);
// The position after the last character of `line`'s line, or the start of the next line.
CTextPosition AfterLine(const TextLines& text, int line);

bool IsBefore(CTextPosition a, CTextPosition b);
// Inside the range [start, end) once ordered.
bool IsInside(CTextPosition at, CTextPosition start, CTextPosition end);
void Order(CTextPosition& start, CTextPosition& end);

} // namespace CaretMoves
