#pragma once

#include "assembler/Expression.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class C8085Object;

// Values that name something defined further on in the file, each with the place its result goes.
// A fixup waits for the names of its expression; it is applied, once the whole file has been read,
// together with the reference record of the last of those names (records in the order of their
// first use, fixups of one record in the order they were made), which is the order in which jump
// addresses were always patched.
class FixupList {
public:
    enum class Kind : std::uint8_t {
        Byte,    // the low byte at `address`
        Word,    // low byte at `address`, high byte after it
        Restart, // an rst opcode at `address`, the number 0-7 in bits 5-3
        Start,   // the machine's start address
    };
    struct Fixup {
        Kind kind;
        bool cancelled; // a start address given later replaced this one
        std::uint16_t address;
        int record; // the reference record of the last name it waits for
        std::size_t first;
        std::size_t count; // its steps in the shared pool
        int line;          // where the expression starts, for the errors found when applying
        int column;
    };

    FixupList() = default;
    virtual ~FixupList() = default;

    // `expression` names at least one name not yet defined.
    void Add(Kind kind, std::uint16_t address, const Expression& expression, int line, int column);
    // A start address given now replaces every one still waiting.
    void CancelStart();
    void Clear();

    const std::vector<Fixup>& Entries() const { return fixups; }
    // The indexes of the entries in the order they are applied.
    std::vector<std::size_t> ApplyOrder() const;

    // Works out the value of `fixup`, names taking nameValues[record], and writes it into
    // `machine`. Throws CMyException code 8 for a restart number above 7 and code 41 for a
    // division by zero, at the position of the expression.
    void Apply(const Fixup& fixup, std::span<const std::uint16_t> nameValues, C8085Object& machine);

private:
    std::vector<Fixup> fixups;
    std::vector<Expression::Step> steps;
    Expression evaluator;
};
