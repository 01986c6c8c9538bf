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

} // namespace

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
    return SourceChar::IsSpace(c) || c == ',' || c == ';' || c == '#' || c == '\0';
}

// Called at a digit.
TokenKind CLex::LexNumber() {
    const std::string& line = lineBuffer;
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
