#include "assembler/PlainDirectives.h"

#include "assembler/CLex.h"
#include "assembler/OperandReader.h"
#include "assembler/SourceChar.h"
#include "assembler/SymbolTable.h"
#include "machine/C8085Object.h"
#include "machine/ErrorCodes.h"

#include <array>

namespace {

struct StatementRow {
    std::string_view name;
    PlainDirectives::Word word;
};

constexpr std::array<StatementRow, 5> statementWords{{
    {"org", PlainDirectives::Word::Org},
    {"db", PlainDirectives::Word::Db},
    {"dw", PlainDirectives::Word::Dw},
    {"ds", PlainDirectives::Word::Ds},
    {"end", PlainDirectives::Word::End},
}};

} // namespace

PlainDirectives::PlainDirectives(CLex& lex_, OperandReader& operands_, SymbolTable& symbols_)
    : lex(lex_), operands(operands_), symbols(symbols_) {
}

PlainDirectives::Word PlainDirectives::StatementWord(std::string_view word) {
    for (const StatementRow& row : statementWords) {
        if (SourceChar::EqualIgnoringCase(word, row.name)) {
            return row.word;
        }
    }
    return Word::None;
}

bool PlainDirectives::IsDefinition(std::string_view word, bool& redefinable) {
    redefinable = SourceChar::EqualIgnoringCase(word, "set");
    return redefinable || SourceChar::EqualIgnoringCase(word, "equ");
}

void PlainDirectives::Carry(Word word, C8085Object& machine, std::uint16_t& locationCounter) {
    switch (word) {
    case Word::Org:
        locationCounter = operands.Known();
        break;
    case Word::Ds:
        locationCounter = static_cast<std::uint16_t>(locationCounter + operands.Known());
        break;
    case Word::Db:
    case Word::Dw:
        Data(word == Word::Dw, machine, locationCounter);
        break;
    case Word::End: {
        const char next = lex.NextCharacter();
        if (next != '\0' && next != ';' && next != '#') {
            operands.StartAddress(machine);
        }
        break;
    }
    case Word::None:
        break;
    }
}

void PlainDirectives::Data(bool words, C8085Object& machine, std::uint16_t& locationCounter) {
    do {
        const std::uint16_t at = locationCounter;
        std::uint16_t value = 0;
        if (words) {
            value = operands.Later(FixupList::Kind::Word, at);
            machine.WriteTwoBytes(at, static_cast<std::uint8_t>(value),
                                  static_cast<std::uint8_t>(value >> 8));
            machine.lastWritten = at; // a word is marked by its first byte
            locationCounter = static_cast<std::uint16_t>(at + 2);
        } else if (operands.DataItem(at, value)) {
            for (const char c : operands.Text()) {
                machine.WriteByte(locationCounter, static_cast<std::uint8_t>(c));
                locationCounter = static_cast<std::uint16_t>(locationCounter + 1);
            }
        } else {
            machine.WriteByte(at, static_cast<std::uint8_t>(value));
            locationCounter = static_cast<std::uint16_t>(at + 1);
        }
    } while (TakeComma());
}

bool PlainDirectives::TakeComma() {
    if (lex.NextCharacter() != ',') {
        return false;
    }
    lex.GetToken();
    return true;
}

void PlainDirectives::Define(const std::string& name, bool redefinable) {
    const std::uint16_t value = operands.Known();
    if (symbols.Find(name)) {
        if (!redefinable || !redefinableNames.contains(name)) {
            lex.RaiseError(1, AssemblerError::DuplicateSymbol, "Duplicate Symbol");
        }
        symbols.Assign(name, value);
        return;
    }
    if (!symbols.Add(name, value)) {
        lex.RaiseError(1, AssemblerError::SymbolTableOverflow,
                       "Internal error - Symbol Table overflow");
    }
    if (redefinable) {
        redefinableNames.insert(name);
    }
}
