#pragma once

#include <string_view>

// Character classes of the source text. Text is 8-bit; bytes 0x80-0xFF belong to no class, and
// neither the locale nor the sign of char plays a part.
namespace SourceChar {

constexpr bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool IsLetterOrDigit(char c) {
    return IsLetter(c) || IsDigit(c);
}

// The characters the lexer collects into one identifier.
constexpr bool IsWordCharacter(char c) {
    return IsLetterOrDigit(c) || c == '_';
}

constexpr char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
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

} // namespace SourceChar
