#include "assembler/FixupList.h"

#include "assembler/CLex.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/ErrorCodes.h"

void FixupList::Add(Kind kind, std::uint16_t address, const Expression& expression, int line,
                    int column) {
    if (kind == Kind::Start) {
        CancelStart();
    }
    const auto program = expression.Steps();
    fixups.push_back(
        {kind, false, address, expression.LastName(), steps.size(), program.size(), line, column});
    steps.insert(steps.end(), program.begin(), program.end());
}

void FixupList::CancelStart() {
    for (Fixup& fixup : fixups) {
        if (fixup.kind == Kind::Start) {
            fixup.cancelled = true;
        }
    }
}

void FixupList::Clear() {
    fixups.clear();
    steps.clear();
}

std::vector<std::size_t> FixupList::ApplyOrder() const {
    // A counting sort by record keeps the order of making within one record.
    std::vector<std::size_t> start;
    for (const Fixup& fixup : fixups) {
        const auto record = static_cast<std::size_t>(fixup.record);
        if (start.size() <= record + 1) {
            start.resize(record + 2, 0);
        }
        ++start[record + 1];
    }
    for (std::size_t i = 1; i < start.size(); ++i) {
        start[i] += start[i - 1];
    }
    std::vector<std::size_t> order(fixups.size());
    for (std::size_t i = 0; i < fixups.size(); ++i) {
        order[start[static_cast<std::size_t>(fixups[i].record)]++] = i;
    }
    return order;
}

void FixupList::Apply(const Fixup& fixup, std::span<const std::uint16_t> nameValues,
                      C8085Object& machine) {
    if (fixup.cancelled) {
        return;
    }
    const auto raise = [&fixup](int code, const std::string& message) {
        throw CMyException(1, code, CLex::PositionTextAt(fixup.line, fixup.column) + message);
    };
    const auto value = evaluator.Evaluate(
        std::span<const Expression::Step>(steps).subspan(fixup.first, fixup.count), nameValues);
    if (!value) {
        raise(AssemblerError::DivisionByZero, "Division by zero");
    }
    const auto low = static_cast<std::uint8_t>(*value);
    switch (fixup.kind) {
    case Kind::Byte:
        machine.WriteByte(fixup.address, low);
        break;
    case Kind::Word:
        machine.memory[fixup.address] = low;
        machine.memory[static_cast<std::uint16_t>(fixup.address + 1)] =
            static_cast<std::uint8_t>(*value >> 8);
        machine.lastWritten = fixup.address;
        break;
    case Kind::Restart:
        if (*value > 7) {
            raise(AssemblerError::IllegalRst, "Illegal RST instruction");
        }
        machine.WriteByte(fixup.address, static_cast<std::uint8_t>(0xC7 + 8 * *value));
        break;
    case Kind::Start:
        machine.SetStartAddress(*value);
        break;
    }
}
