#include "assembler/MnemonicIndex.h"

#include "machine/InstructionSet.h"
#include "machine/OpcodeTable.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Words are packed lower-cased into one integer; no mnemonic is longer than a packed key holds.
constexpr std::size_t longestKey = sizeof(std::uint64_t);

std::uint64_t Key(std::string_view word) {
    std::uint64_t key = 0;
    for (char c : word) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        key = key << 8 | static_cast<unsigned char>(c);
    }
    return key;
}

// An open-addressing table of packed keys: a look-up is one multiplication and, nearly always,
// one comparison. The table is more than twice as large as the number of mnemonics.
struct Index {
    static constexpr std::size_t slots = 256;

    Index() {
        InstructionSet search;
        for (const OpcodeRow& row : OpcodeTable()) {
            const std::string_view mnemonic = row.mnemonic;
            if (mnemonic.empty() || mnemonic.size() > longestKey) {
                continue;
            }
            longest = std::max(longest, mnemonic.size());
            const std::uint64_t key = Key(mnemonic);
            std::size_t slot = Slot(key);
            while (keys[slot] != 0 && keys[slot] != key) {
                slot = (slot + 1) % slots;
            }
            if (keys[slot] == 0) {
                keys[slot] = key;
                opcodes[slot] = search.FindMnemonic(mnemonic);
            }
        }
    }

    static std::size_t Slot(std::uint64_t key) {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 56);
    }

    int Find(std::uint64_t key) const {
        for (std::size_t slot = Slot(key); keys[slot] != 0; slot = (slot + 1) % slots) {
            if (keys[slot] == key) {
                return opcodes[slot];
            }
        }
        return -1;
    }

    std::array<std::uint64_t, slots> keys{}; // 0: empty (no word packs to 0)
    std::array<int, slots> opcodes{};
    std::size_t longest = 0;
};

const Index& TheIndex() {
    static const Index index;
    return index;
}

} // namespace

int MnemonicIndex::Find(std::string_view word) {
    const Index& index = TheIndex();
    if (word.empty() || word.size() > index.longest) {
        return -1;
    }
    return index.Find(Key(word));
}
