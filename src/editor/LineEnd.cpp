#include "editor/LineEnd.h"

#include <array>

namespace LineEnd {

namespace {
constexpr std::array<std::string_view, Count> texts = {"\r\n", "\n\r", "\n", "\r"};
constexpr std::array<std::string_view, Count> labels = {"DOS", "LF CR", "UNIX", "MAC"};
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
        return firstBlock.find('\r') == std::string_view::npos ? CrLf : Cr;
    }
    if (lf > 0 && firstBlock[lf - 1] == '\r') {
        return CrLf;
    }
    if (lf + 1 < firstBlock.size() && firstBlock[lf + 1] == '\r') {
        return LfCr;
    }
    return Lf;
}

std::vector<std::string_view> SplitAtBreaks(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            pieces.push_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

} // namespace LineEnd
