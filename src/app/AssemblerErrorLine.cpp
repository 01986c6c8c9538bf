#include "app/AssemblerErrorLine.h"

#include "machine/CMyException.h"

namespace {

// The message of an assembler error without its "Line - L Column - C " position text.
std::string TextAfterPosition(const std::string& message) {
    std::size_t start = 0;
    if (message.starts_with("Line - ")) {
        const auto column = message.find("Column - ");
        if (column != std::string::npos) {
            start = column + 9;
            if (start < message.size() && message[start] == '-') {
                ++start;
            }
            while (start < message.size() && message[start] >= '0' && message[start] <= '9') {
                ++start;
            }
        }
    }
    const auto first = message.find_first_not_of(" \t", start);
    if (first == std::string::npos) {
        return {};
    }
    const auto last = message.find_last_not_of(" \t");
    return message.substr(first, last - first + 1);
}

} // namespace

std::string AssemblerErrorLine::Format(const std::string& file, const CMyException& error) {
    std::string position;
    if (error.line >= 0) {
        position = std::to_string(error.line) + ":" + std::to_string(error.column) + ":";
    }
    return file + ":" + position + " error: " + TextAfterPosition(error.message) + " (code " +
           std::to_string(error.code) + ")";
}
