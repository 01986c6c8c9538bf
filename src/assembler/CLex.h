#pragma once

#include "assembler/CScanner.h"
#include "machine/ErrorCodes.h"

#include <string>

// The tokenizer of one assembly line: comments (";" or "#" to the end of the line), directives
// (".name", letters only), words (labels when a ":" follows at once, mnemonics, identifiers),
// numbers, commas and colons.
//
// Numbers: "0x" followed by hexadecimal digits; "0" followed by octal digits; "1"-"9" followed by
// decimal digits, or binary digits with a "b" suffix. Hexadecimal and octal numbers must be
// followed by white space, ",", ";", "#" or the end of the line. The token text holds the digits
// only, without prefix or suffix; there are no signs and no expressions.
//
// Whether a word is a mnemonic is the derived class's decision (IsMnemonic).
class CLex : public CScanner {
public:
    CLex() = default;
    ~CLex() override = default;

    TokenKind NextToken() override;
    virtual bool IsMnemonic(const std::string& word) = 0;

    // The number of the line holding the current token, 1-based.
    int LineNumber() const { return lineNumber; }

protected:
    // Line 1, nothing scanned, no line pending.
    void ResetLex();
    // Starts scanning `text` as the next source line; the line number advances when the previous
    // line was used up.
    void StartLine(std::string_view text);

    int lineNumber = 1;

private:
    TokenKind LexNumber();
    void CollectDigits(bool (*isDigit)(char));
    bool AtNumberTerminator() const;

    // Set when an EndOfLine has been handed out. The end-of-line token still belongs to its line
    // (errors at the end of a line name it), so the count moves on only when the next line starts.
    bool lineEnded = false;
};
