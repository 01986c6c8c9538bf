#pragma once

#include <string_view>

// The assembler meets a word on nearly every line and must know at once whether it is a
// mnemonic. This index gives the same answer as InstructionSet::FindMnemonic (the lowest opcode
// whose mnemonic equals the word ignoring case, or -1) by one hashed look-up instead of a search
// through the opcode table. Built from that table on first use; read-only afterwards.
class MnemonicIndex {
public:
    static int Find(std::string_view word);
};
