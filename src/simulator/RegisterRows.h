#pragma once

#include "machine/C8085Object.h"
#include "simulator/SimSnapshot.h"

#include <array>
#include <cstdint>
#include <string_view>

// The rows of the Registers and Flags panes, in the order shown. The machine and the copies the
// panes draw from keep their registers under the same member names, so one table reads and
// writes either of them.
namespace RegisterRows {

template <class Registers> struct Row {
    const char* name;
    int bits;
    int (*read)(const Registers&);
    void (*write)(Registers&, int);
};

template <class R, std::uint8_t R::*reg> int ReadByte(const R& r) {
    return r.*reg;
}
template <class R, std::uint8_t R::*reg> void WriteByte(R& r, int value) {
    r.*reg = static_cast<std::uint8_t>(value);
}
template <class R, std::uint8_t R::*high, std::uint8_t R::*low> int ReadPair(const R& r) {
    return r.*high << 8 | r.*low;
}
template <class R, std::uint8_t R::*high, std::uint8_t R::*low> void WritePair(R& r, int value) {
    r.*high = static_cast<std::uint8_t>(value >> 8);
    r.*low = static_cast<std::uint8_t>(value);
}
template <class R, std::uint16_t R::*reg> int ReadWord(const R& r) {
    return r.*reg;
}
template <class R, std::uint16_t R::*reg> void WriteWord(R& r, int value) {
    r.*reg = static_cast<std::uint16_t>(value);
}

template <class R> constexpr std::array<Row<R>, 12> Table() {
    return {{{"A", 8, ReadByte<R, &R::a>, WriteByte<R, &R::a>},
             {"B", 8, ReadByte<R, &R::b>, WriteByte<R, &R::b>},
             {"C", 8, ReadByte<R, &R::c>, WriteByte<R, &R::c>},
             {"D", 8, ReadByte<R, &R::d>, WriteByte<R, &R::d>},
             {"E", 8, ReadByte<R, &R::e>, WriteByte<R, &R::e>},
             {"H", 8, ReadByte<R, &R::h>, WriteByte<R, &R::h>},
             {"L", 8, ReadByte<R, &R::l>, WriteByte<R, &R::l>},
             {"BC", 16, ReadPair<R, &R::b, &R::c>, WritePair<R, &R::b, &R::c>},
             {"DE", 16, ReadPair<R, &R::d, &R::e>, WritePair<R, &R::d, &R::e>},
             {"HL", 16, ReadPair<R, &R::h, &R::l>, WritePair<R, &R::h, &R::l>},
             {"IP", 16, ReadWord<R, &R::pc>, WriteWord<R, &R::pc>},
             {"SP", 16, ReadWord<R, &R::sp>, WriteWord<R, &R::sp>}}};
}

inline constexpr auto machineRows = Table<C8085Object>();
inline constexpr auto snapshotRows = Table<SimSnapshot>();
inline constexpr int count = static_cast<int>(machineRows.size());

// The row of the register `name`, or -1.
constexpr int RowOf(std::string_view name) {
    for (int row = 0; row < count; ++row) {
        if (machineRows[static_cast<std::size_t>(row)].name == name) {
            return row;
        }
    }
    return -1;
}

constexpr bool IsRow(int row) {
    return row >= 0 && row < count;
}

// The rows of the Flags pane: the flag's name and its bit in the PSW.
struct FlagRow {
    const char* name;
    std::uint8_t mask;
};
inline constexpr std::array<FlagRow, 5> flagRows{{{"S", C8085Object::FlagS},
                                                  {"Z", C8085Object::FlagZ},
                                                  {"AC", C8085Object::FlagAC},
                                                  {"P", C8085Object::FlagP},
                                                  {"CY", C8085Object::FlagCY}}};

} // namespace RegisterRows
