#include "machine/LedTextArt.h"

namespace {

constexpr int segA = 0x01, segB = 0x02, segC = 0x04, segD = 0x08, segE = 0x10, segG = 0x20,
              segF = 0x40, point = 0x80;

char Lit(int code, int segment, char shape) {
    return (code & segment) != 0 ? shape : ' ';
}

// Row `row` of one cell: three columns for the digit and one for its point.
std::string CellRow(int code, int row) {
    switch (row) {
    case 0:
        return {' ', Lit(code, segA, '_'), ' ', ' '};
    case 1:
        return {Lit(code, segF, '|'), Lit(code, segG, '_'), Lit(code, segB, '|'), ' '};
    default:
        return {Lit(code, segE, '|'), Lit(code, segD, '_'), Lit(code, segC, '|'),
                Lit(code, point, '.')};
    }
}

} // namespace

std::string LedTextArt(std::span<const int> cells) {
    std::string art;
    for (int row = 0; row < 3; ++row) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i == 2 || i == 6) {
                line += "  "; // between the groups
            }
            line += CellRow(cells[i], row);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        art += line + '\n';
    }
    return art;
}
