#include "editor/LineRecord.h"

#include <cstring>

namespace {
char* NewBlock(int capacity) {
    return new char[static_cast<std::size_t>(capacity)];
}
int CapacityFor(int characters) {
    return (characters / 16 + 1) * 16;
}
} // namespace

void LineRecord::Free() {
    if (capacity > 0) {
        delete[] chars;
    }
    chars = nullptr;
    length = 0;
    capacity = 0;
}

void LineRecord::Reserve(int needed) {
    if (capacity > 0 && needed <= capacity) {
        return;
    }
    const int grown = CapacityFor(needed);
    char* block = NewBlock(grown);
    if (length > 0) {
        std::memcpy(block, chars, static_cast<std::size_t>(length));
    }
    if (capacity > 0) {
        delete[] chars;
    }
    chars = block;
    capacity = grown;
}

void LineRecord::Append(std::string_view text) {
    if (text.empty()) {
        return;
    }
    const int grownLength = length + static_cast<int>(text.size());
    if (capacity > 0 && grownLength <= capacity) {
        std::memcpy(chars + length, text.data(), text.size());
    } else {
        // The old block goes only after the text, which may lie in it, was copied.
        const int grown = CapacityFor(grownLength);
        char* block = NewBlock(grown);
        if (length > 0) {
            std::memcpy(block, chars, static_cast<std::size_t>(length));
        }
        std::memcpy(block + length, text.data(), text.size());
        if (capacity > 0) {
            delete[] chars;
        }
        chars = block;
        capacity = grown;
    }
    length = grownLength;
}

void LineRecord::Insert(int at, std::string_view text) {
    Reserve(length + static_cast<int>(text.size()));
    std::memmove(chars + at + text.size(), chars + at, static_cast<std::size_t>(length - at));
    std::memcpy(chars + at, text.data(), text.size());
    length += static_cast<int>(text.size());
}

void LineRecord::Erase(int from, int to) {
    // A line still in the loaded block loses its first characters by starting later there.
    if (capacity == 0 && from == 0) {
        chars += to;
        length -= to;
        return;
    }
    Reserve(length);
    std::memmove(chars + from, chars + to, static_cast<std::size_t>(length - to));
    length -= to - from;
}
