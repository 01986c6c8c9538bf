#include "assembler/CScanner.h"

TokenKind CScanner::NextToken() {
    if (scanPos != none) {
        while (scanPos < lineBuffer.size() && SourceChar::IsSpace(lineBuffer[scanPos])) {
            ++scanPos;
        }
        if (scanPos < lineBuffer.size()) {
            return TokenKind::More;
        }
    }
    scanPos = none;
    return TokenKind::EndOfLine;
}

TokenKind CScanner::GetToken() {
    tokenKind = NextToken();
    return tokenKind;
}

std::string CScanner::PositionText() {
    return positionText;
}

void CScanner::RaiseError(int flag, int code, const std::string& message) {
    throw CMyException(flag, code, PositionText() + message);
}

void CScanner::Reset() {
    lineBuffer.clear();
    tokenText.clear();
    scanPos = none;
    tokenKind = TokenKind::None;
}

void CScanner::LoadLine(std::string_view text) {
    lineBuffer.assign(text.substr(0, maxLineLength));
    scanPos = 0;
}

int CScanner::Column() const {
    if (scanPos == none) {
        return 0;
    }
    return 1 + static_cast<int>(scanPos) - static_cast<int>(tokenText.size());
}
