#pragma once

#include <optional>
#include <string_view>

// Reads a number as a user types it into a value prompt: "0x" then hexadecimal digits (lower-case
// x only), any other text starting with "0" octal, else decimal. Leading white space and one sign
// are accepted after the prefix; the whole text must be used. "0" and "0x" alone are 0. Returns
// std::nullopt for an invalid text or a value outside the signed 32-bit range.
std::optional<int> ParseTypedNumber(std::string_view text);
