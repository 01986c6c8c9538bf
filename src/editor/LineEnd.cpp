#include "editor/LineEnd.h"

#include <array>

namespace LineEnd {

namespace {
constexpr std::array<std::string_view, Count> texts = {"\r\n", "\n\r", "\n"};
constexpr std::array<std::string_view, Count> labels = {"DOS", "UNIX", "MAC"};
} // namespace

std::string_view Text(int style) {
    return texts.at(static_cast<std::size_t>(style));
}

std::string_view Label(int style) {
    return IsValid(style) ? labels[static_cast<std::size_t>(style)] : std::string_view();
}

int Detect(std::string_view firstBlock) {
    const std::size_t lf = firstBlock.find('\n');
    if (lf == std::string_view::npos) {
        return 0;
    }
    if (lf > 0 && firstBlock[lf - 1] == '\r') {
        return 0;
    }
    if (lf + 1 < firstBlock.size() && firstBlock[lf + 1] == '\r') {
        return 1;
    }
    return 2;
}

} // namespace LineEnd
