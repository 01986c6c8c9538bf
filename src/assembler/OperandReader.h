#pragma once

#include "assembler/Expression.h"
#include "assembler/ExpressionReader.h"
#include "assembler/FixupList.h"

#include <cstdint>
#include <string>

class C8085Object;
class CLex;
class ReferenceList;
class SymbolTable;

// The values of instruction operands and directives. Each is an expression worked out at once when
// every name in it is known; otherwise it leaves a fixup that writes the value once the whole file
// has been read. Three uses:
//   Known    the value decides where bytes go (ORG, DS, EQU, SET, .org, .fill...): every name
//            must be defined on an earlier line, else code 14 at the first one that is not.
//   Later    names may be defined further on while a file is compiled; a single line assembled
//            on its own (the instruction editor) has no further on, so its names must be known.
//   Address  the 16-bit address of jumps, calls and memory loads: names may always be defined
//            further on and count as 0 until then (a single line never patches them).
class OperandReader {
public:
    // Later values may name what comes further on while `compiling` is on.
    OperandReader(CLex& lex, const SymbolTable& symbols, ReferenceList& references,
                  const bool& compiling);
    virtual ~OperandReader() = default;

    // Drops every fixup.
    void Clear() { fixups.Clear(); }
    // The address of the statement being assembled, the value of $.
    void StartStatement(std::uint16_t address) { here = address; }

    std::uint16_t Known();
    std::uint16_t Later(FixupList::Kind kind, std::uint16_t address);
    std::uint16_t Address(std::uint16_t address);
    // One item of DB: true when it was a string standing alone, whose characters are Text();
    // otherwise `value` holds the byte (a Later value going to `address`).
    bool DataItem(std::uint16_t address, std::uint16_t& value);
    const std::string& Text() const { return reader.Text(); }
    // .begin and END: the start address now, or once the file has been read; the start address
    // given last wins.
    void StartAddress(C8085Object& machine);

    FixupList& Fixups() { return fixups; }

private:
    std::uint16_t Take(bool forward, bool text, FixupList::Kind kind, std::uint16_t address);

    CLex& lex;
    ExpressionReader reader;
    Expression expression;
    FixupList fixups;
    std::uint16_t here = 0;
    const bool& compiling;
};
