#include "assembler/CLex.h"

namespace {

bool IsWordChar(char c) {
    return SourceChar::IsLetter(c) || SourceChar::IsDigit(c) || c == '_';
}
bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}
bool IsDecimalDigit(char c) {
    return SourceChar::IsDigit(c);
}
bool IsHexDigit(char c) {
    return SourceChar::IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsBinaryDigit(char c) {
    return c == '0' || c == '1';
}
bool IsOperatorCharacter(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '(' || c == ')';
}

// The digit test of a radix suffix letter, or none when the letter is no suffix.
bool (*SuffixDigits(char suffix, TokenKind& kind))(char) {
    switch (SourceChar::ToLower(suffix)) {
    case 'h':
        kind = TokenKind::Hex;
        return IsHexDigit;
    case 'o':
    case 'q':
        kind = TokenKind::Octal;
        return IsOctalDigit;
    case 'd':
        kind = TokenKind::Decimal;
        return IsDecimalDigit;
    case 'b':
        kind = TokenKind::Binary;
        return IsBinaryDigit;
    default:
        return nullptr;
    }
}

} // namespace

std::string CLex::PositionTextAt(int line, int column) {
    return "Line - " + std::to_string(line) + " Column - " + std::to_string(column) + " ";
}

void CLex::RaiseErrorAt(int line, int column, int code, const std::string& message) {
    throw CMyException(1, code, PositionTextAt(line, column) + message);
}

char CLex::NextCharacter() const {
    if (scanPos == none) {
        return '\0';
    }
    std::size_t at = scanPos;
    while (at < lineBuffer.size() && SourceChar::IsSpace(lineBuffer[at])) {
        ++at;
    }
    return at < lineBuffer.size() ? lineBuffer[at] : '\0';
}

void CLex::Save(State& state) const {
    state.scanPos = scanPos;
    state.kind = tokenKind;
    state.lineEnded = lineEnded;
    state.text = tokenText;
}

void CLex::Restore(const State& state) {
    scanPos = state.scanPos;
    tokenKind = state.kind;
    lineEnded = state.lineEnded;
    tokenText = state.text;
}

void CLex::ResetLex() {
    Reset();
    lineNumber = 1;
    lineEnded = false;
}

void CLex::StartLine(std::string_view text) {
    if (lineEnded) {
        ++lineNumber;
        lineEnded = false;
    }
    LoadLine(text);
}

TokenKind CLex::NextToken() {
    if (CScanner::NextToken() == TokenKind::EndOfLine) {
        lineEnded = true;
        return TokenKind::EndOfLine;
    }
    const std::string& line = lineBuffer;
    const char c = line[scanPos];
    const std::size_t start = scanPos;
    tokenText.clear();

    if (c == ';' || c == '#') {
        tokenText.assign(line, start);
        scanPos = line.size();
        return TokenKind::Comment;
    }
    if (c == '.') {
        ++scanPos;
        while (scanPos < line.size() && SourceChar::IsLetter(line[scanPos])) {
            ++scanPos;
        }
        tokenText.assign(line, start + 1, scanPos - start - 1);
        return TokenKind::Directive;
    }
    if (SourceChar::IsLetter(c) || c == '_') {
        while (scanPos < line.size() && IsWordChar(line[scanPos])) {
            ++scanPos;
        }
        tokenText.assign(line, start, scanPos - start);
        if (scanPos < line.size() && line[scanPos] == ':') {
            ++scanPos;
            return TokenKind::Label;
        }
        return IsMnemonic(tokenText) ? TokenKind::Mnemonic : TokenKind::Identifier;
    }
    if (SourceChar::IsDigit(c)) {
        return LexNumber();
    }
    if (c == '\'') {
        return LexString();
    }
    if (IsOperatorCharacter(c) || c == '$') {
        tokenText.assign(1, c);
        ++scanPos;
        return c == '$' ? TokenKind::Here : TokenKind::Operator;
    }
    if (c == ',' || c == ':') {
        tokenText.assign(1, c);
        ++scanPos;
        return c == ',' ? TokenKind::Comma : TokenKind::Colon;
    }
    RaiseError(1, LexError::SyntaxError, "NextToken : Syntax Error");
}

void CLex::CollectDigits(bool (*isDigit)(char)) {
    const std::size_t start = scanPos;
    while (scanPos < lineBuffer.size() && isDigit(lineBuffer[scanPos])) {
        ++scanPos;
    }
    tokenText.assign(lineBuffer, start, scanPos - start);
}

bool CLex::AtNumberTerminator() const {
    if (scanPos >= lineBuffer.size()) {
        return true;
    }
    const char c = lineBuffer[scanPos];
    // A NUL ends the number; the next token then reports it as the syntax error it is anywhere.
    return SourceChar::IsSpace(c) || c == ',' || c == ';' || c == '#' || c == '\0' ||
           IsOperatorCharacter(c);
}

// Called at a digit.
TokenKind CLex::LexNumber() {
    const std::string& line = lineBuffer;
    // "0x" starts no number with a suffix ("0x" holds no digit of its radix).
    const bool hexPrefix =
        line[scanPos] == '0' && scanPos + 1 < line.size() && line[scanPos + 1] == 'x';
    if (const TokenKind kind = hexPrefix ? TokenKind::None : LexSuffixNumber();
        kind != TokenKind::None) {
        return kind;
    }
    if (line[scanPos] == '0') {
        if (scanPos + 1 < line.size() && line[scanPos + 1] == 'x') {
            scanPos += 2;
            CollectDigits(IsHexDigit);
            if (!AtNumberTerminator()) {
                RaiseError(1, LexError::IllegalHex, "Illegal Hexadecimal number");
            }
            return TokenKind::Hex;
        }
        ++scanPos;
        CollectDigits(IsOctalDigit);
        if (!AtNumberTerminator()) {
            RaiseError(1, LexError::IllegalOctal, "Illegal Octal number");
        }
        return TokenKind::Octal;
    }
    CollectDigits(IsDecimalDigit);
    if (scanPos < line.size() && line[scanPos] == 'b') {
        if (tokenText.find_first_not_of("01") != std::string::npos) {
            RaiseError(1, LexError::IllegalBinary, "Illegal binary number");
        }
        ++scanPos;
        return TokenKind::Binary;
    }
    return TokenKind::Decimal;
}

// Called at a digit: the number with a radix suffix that the run of word characters from here
// spells, or None (nothing read) when the run is no such number or a ":" follows it.
TokenKind CLex::LexSuffixNumber() {
    const std::string& line = lineBuffer;
    std::size_t end = scanPos;
    while (end < line.size() && IsWordChar(line[end])) {
        ++end;
    }
    TokenKind kind = TokenKind::None;
    const auto isDigit = SuffixDigits(line[end - 1], kind);
    if (isDigit == nullptr || end - scanPos < 2 || (end < line.size() && line[end] == ':')) {
        return TokenKind::None;
    }
    for (std::size_t at = scanPos; at + 1 < end; ++at) {
        if (!isDigit(line[at])) {
            return TokenKind::None;
        }
    }
    tokenText.assign(line, scanPos, end - 1 - scanPos);
    scanPos = end;
    return kind;
}

// Called at a quote.
TokenKind CLex::LexString() {
    const std::string& line = lineBuffer;
    const std::size_t start = scanPos;
    stringValue.clear();
    std::size_t at = start + 1;
    for (;; ++at) {
        if (at >= line.size()) {
            tokenText.assign(1, '\'');
            scanPos = start + 1;
            RaiseError(1, AssemblerError::MissingQuote, "Missing closing quote");
        }
        if (line[at] == '\'') {
            if (at + 1 < line.size() && line[at + 1] == '\'') {
                ++at;
            } else {
                break;
            }
        }
        stringValue += line[at];
    }
    scanPos = at + 1;
    tokenText.assign(line, start, scanPos - start);
    return TokenKind::Text;
}
