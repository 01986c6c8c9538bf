#include "app/ProgressBar.h"

#include <algorithm>

std::string ProgressBar::Text(std::size_t done, std::size_t total, std::size_t width) {
    done = std::min(done, total);
    const auto filled = total == 0 ? width : done * width / total;
    const auto percent = total == 0 ? 100 : done * 100 / total;
    auto text = "[" + std::string(filled, '#') + std::string(width - filled, '.') + "] ";
    const auto number = std::to_string(percent);
    text += std::string(3 - std::min<std::size_t>(3, number.size()), ' ') + number + "% " +
            std::to_string(done) + "/" + std::to_string(total);
    return text;
}
