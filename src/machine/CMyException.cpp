#include "machine/CMyException.h"

#include <cctype>
#include <utility>

namespace {

// The first decimal number after the first occurrence of `word`: -1 when the word is absent,
// 0 when no digit follows it.
int NumberAfter(const std::string& message, const char* word) {
    const auto found = message.find(word);
    if (found == std::string::npos) {
        return -1;
    }
    auto at = message.find_first_of("0123456789", found);
    if (at == std::string::npos) {
        return 0;
    }
    long value = 0;
    for (; at < message.size() && std::isdigit(static_cast<unsigned char>(message[at])); ++at) {
        if (value < 100000000) {
            value = value * 10 + (message[at] - '0');
        }
    }
    return static_cast<int>(value);
}

} // namespace

CMyException::CMyException(int errorFlag_, int code_, std::string message_)
    : message(std::move(message_)), code(code_), errorFlag(errorFlag_),
      errorSet(errorFlag_ != 0 ? 1 : 0) {
    if (!message.empty()) {
        line = NumberAfter(message, "Line");
        column = NumberAfter(message, "Column");
    }
}
