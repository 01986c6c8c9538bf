#include "assembler/MnemonicIndex.h"

#include "machine/InstructionSet.h"
#include "machine/OpcodeTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>

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

struct Index {
    Index() {
        InstructionSet search;
        for (const OpcodeRow& row : OpcodeTable()) {
            const std::string_view mnemonic = row.mnemonic;
            if (!mnemonic.empty() && mnemonic.size() <= longestKey) {
                longest = std::max(longest, mnemonic.size());
                opcodeOfKey.emplace(Key(mnemonic), search.FindMnemonic(mnemonic));
            }
        }
    }
    std::unordered_map<std::uint64_t, int> opcodeOfKey;
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
    const auto found = index.opcodeOfKey.find(Key(word));
    return found == index.opcodeOfKey.end() ? -1 : found->second;
}
