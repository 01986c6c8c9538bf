#pragma once

#include "assembler/SourceChar.h"
#include "machine/CMyException.h"

#include <cstddef>
#include <string>
#include <string_view>

// What the token read last is. The numbers are part of the contract: a number token's kind is its
// radix, and the parser converts the token text with it.
enum class TokenKind : int {
    None = 0,
    More = 1,
    Binary = 2,
    Octal = 8,
    Decimal = 10,
    Hex = 16,
    EndOfLine = 20,
    Comment = 21,
    Identifier = 22,
    Colon = 24,
    Comma = 25,
    Label = 26,
    Text = 27,     // a string in single quotes
    Operator = 28, // + - * / ( )
    Here = 29,     // $
    Mnemonic = 50,
    Directive = 51,
};

// The bottom of the assembler: one source line, the position scanned in it, the token read last
// and the error position text. It splits off white space only; CLex cuts the real tokens.
//
// Every assembler error leaves through RaiseError, which puts PositionText() in front of the
// message, so the caller can read line and column back out of the thrown CMyException.
class CScanner {
public:
    // The longest piece of a source line the scanner holds; longer lines arrive in pieces.
    static constexpr std::size_t maxLineLength = 1023;
    // scanPos when no line is loaded or the line is used up.
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    CScanner() = default;
    virtual ~CScanner() = default;

    // Skips white space; EndOfLine when the line is used up (scanPos becomes none), else More.
    virtual TokenKind NextToken();
    // NextToken, remembering the kind in tokenKind.
    virtual TokenKind GetToken();
    // A copy of the position text formatted last; derived classes format their own.
    virtual std::string PositionText();
    // Throws CMyException(flag, code, PositionText() + message). Never returns.
    [[noreturn]] void RaiseError(int flag, int code, const std::string& message);

    // Empty line and token, no scan position, token kind None.
    void Reset();

    // Makes `text` (at most maxLineLength characters of it) the current line, scanned from its
    // start.
    void LoadLine(std::string_view text);

    // The 1-based column of the token read last: 1 + (index just past the last character scanned)
    // - (length of the token text), or 0 when no position is held (end of line).
    int Column() const;

    const std::string& LineBuffer() const { return lineBuffer; }
    const std::string& TokenText() const { return tokenText; }
    TokenKind Kind() const { return tokenKind; }
    bool AtEndOfLine() const { return scanPos == none; }

protected:
    std::string lineBuffer;
    std::size_t scanPos = none;
    TokenKind tokenKind = TokenKind::None;
    std::string tokenText;
    std::string positionText;
};
