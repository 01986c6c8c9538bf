#pragma once

#include "assembler/KeywordTable.h"

// Colour indices of the text view used for assembly source. 2 is the view's normal text colour;
// the others are its colouring classes.
namespace SourceColour {
constexpr int Normal = 2;
constexpr int Instruction = 6;
constexpr int Comment = 7;
constexpr int Register = 8;
constexpr int Directive = 11;
constexpr int UnknownDirective = 13;
} // namespace SourceColour

// The program-wide keyword tables, built on first use and read-only afterwards, so any thread may
// read them. The instructions are the 80 mnemonics in alphabetical order, the directives the six
// dot words, the plain directives the seven written without the dot (ORG, EQU, SET, DB, DW, DS,
// END), the registers the ten operand names.
const KeywordTable& InstructionKeywords();
const KeywordTable& DirectiveKeywords();
const KeywordTable& PlainDirectiveKeywords();
const KeywordTable& RegisterKeywords();
