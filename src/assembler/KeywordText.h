#pragma once

#include <string_view>

// Character tests for source text. Source files are 8-bit text, so bytes above 0x7F are never
// letters here, and no locale or sign of char is involved.
namespace KeywordText {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The characters the lexer collects into one identifier.
inline bool IsWordCharacter(char c) {
    return IsLetterOrDigit(c) || c == '_';
}

inline char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::string_view::size_type i = 0; i < a.size(); ++i) {
        if (ToLower(a[i]) != ToLower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace KeywordText
