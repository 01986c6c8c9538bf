#include "assembler/OperandReader.h"

#include "assembler/CLex.h"
#include "machine/C8085Object.h"
#include "machine/ErrorCodes.h"

OperandReader::OperandReader(CLex& lex_, const SymbolTable& symbols, ReferenceList& references,
                             const bool& compiling_)
    : lex(lex_), reader(lex_, symbols, references), compiling(compiling_) {
}

std::uint16_t OperandReader::Known() {
    return Take(false, false, FixupList::Kind::Word, 0);
}

std::uint16_t OperandReader::Later(FixupList::Kind kind, std::uint16_t address) {
    return Take(compiling, false, kind, address);
}

std::uint16_t OperandReader::Address(std::uint16_t address) {
    return Take(true, false, FixupList::Kind::Word, address);
}

bool OperandReader::DataItem(std::uint16_t address, std::uint16_t& value) {
    value = Take(compiling, true, FixupList::Kind::Byte, address);
    return reader.WasText();
}

void OperandReader::StartAddress(C8085Object& machine) {
    const std::size_t waiting = fixups.Entries().size();
    const std::uint16_t start = Later(FixupList::Kind::Start, 0);
    if (fixups.Entries().size() == waiting) {
        fixups.CancelStart();
        machine.SetStartAddress(start);
    }
}

std::uint16_t OperandReader::Take(bool forward, bool text, FixupList::Kind kind,
                                  std::uint16_t address) {
    reader.Read(expression, {forward, text, here});
    if (reader.WasText()) {
        return 0;
    }
    if (expression.NamesUnknown()) {
        fixups.Add(kind, address, expression, reader.Line(), reader.Column());
        // Until then the names count as 0, as an unknown jump address always did.
        if (expression.Steps().size() == 1) {
            return 0;
        }
        return expression.Evaluate(expression.Steps(), {}).value_or(0);
    }
    const auto steps = expression.Steps();
    if (steps.size() == 1) {
        return static_cast<std::uint16_t>(steps[0].value); // a number alone, the usual operand
    }
    const auto value = expression.Evaluate(steps, {});
    if (!value) {
        lex.RaiseErrorAt(reader.Line(), reader.Column(), AssemblerError::DivisionByZero,
                         "Division by zero");
    }
    return *value;
}
