#pragma once

#include "assembler/CScanner.h"
#include "machine/ErrorCodes.h"

#include <string>

// The tokenizer of one assembly line: comments (";" or "#" to the end of the line), directives
// (".name", letters only), words (labels when a ":" follows at once, mnemonics, identifiers),
// numbers, strings in single quotes, the operator characters + - * / ( ), $, commas and colons.
//
// Numbers: "0x" followed by hexadecimal digits; "0" followed by octal digits; "1"-"9" followed by
// decimal digits, or binary digits with a "b" suffix. Hexadecimal and octal numbers must be
// followed by white space, ",", ";", "#", an operator character or the end of the line. The token
// text holds the digits only, without prefix or suffix.
// A run of letters and digits starting with a digit and ending in a radix suffix is a number too
// when its digits fit the radix and no ":" follows it: H hexadecimal (0FFH, 23h), O or Q octal,
// D decimal, B binary, either case; its token text is the digits. Any other run is read by the
// rules above, so 5nop stays the number 5 and the instruction nop, and 1ah: the number 1 and the
// label ah.
// A string's token text is as written, quotes included (so that error columns point at it); its
// characters, a doubled quote standing for one, are StringValue().
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

    // The position text of the assembler's errors, "Line - L Column - C ".
    static std::string PositionTextAt(int line, int column);
    // Throws CMyException(1, code, PositionTextAt(line, column) + message).
    [[noreturn]] static void RaiseErrorAt(int line, int column, int code,
                                          const std::string& message);

    // The characters of the string token read last.
    const std::string& StringValue() const { return stringValue; }
    // The next character that is not white space, without reading it; '\0' at the end of the line.
    char NextCharacter() const;

    // What reading a token changes, so that a token read to look ahead can be read again.
    struct State {
        std::size_t scanPos = none;
        TokenKind kind = TokenKind::None;
        bool lineEnded = false;
        std::string text;
    };
    void Save(State& state) const;
    void Restore(const State& state);

protected:
    // Line 1, nothing scanned, no line pending.
    void ResetLex();
    // Starts scanning `text` as the next source line; the line number advances when the previous
    // line was used up.
    void StartLine(std::string_view text);

    int lineNumber = 1;

private:
    TokenKind LexNumber();
    TokenKind LexSuffixNumber();
    TokenKind LexString();
    void CollectDigits(bool (*isDigit)(char));
    bool AtNumberTerminator() const;

    // Set when an EndOfLine has been handed out. The end-of-line token still belongs to its line
    // (errors at the end of a line name it), so the count moves on only when the next line starts.
    bool lineEnded = false;
    std::string stringValue;
};
