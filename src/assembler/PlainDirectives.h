#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

class C8085Object;
class CLex;
class OperandReader;
class SymbolTable;

// The directives written without a dot, matched ignoring case:
//     ORG value            the location counter moves to value
//     name EQU value       defines name (also written "name: EQU value")
//     name SET value       the same, and name may be SET again
//     DB item, ...         bytes at the location counter: values, or strings in single quotes
//     DW value, ...        words, low byte first
//     DS count             reserves count bytes: the location counter moves, memory stays as it is
//     END [start]          the end of the source; start sets the start address as .begin does
// ORG, DS, EQU and SET decide where bytes go, so their values must be known when read.
class PlainDirectives {
public:
    enum class Word { None, Org, Db, Dw, Ds, End };

    PlainDirectives(CLex& lex, OperandReader& operands, SymbolTable& symbols);
    virtual ~PlainDirectives() = default;

    // The directive that `word` names at the start of a statement (EQU and SET need a name before
    // them, so they are none here).
    static Word StatementWord(std::string_view word);
    // Whether `word` is EQU or SET; `redefinable` tells SET.
    static bool IsDefinition(std::string_view word, bool& redefinable);

    // Carries out `word`, its name just read, at `locationCounter`.
    void Carry(Word word, C8085Object& machine, std::uint16_t& locationCounter);
    // name EQU value or name SET value; the EQU or SET has just been read.
    void Define(const std::string& name, bool redefinable);
    // Forgets which names SET defined.
    void Clear() { redefinableNames.clear(); }

private:
    void Data(bool words, C8085Object& machine, std::uint16_t& locationCounter);
    bool TakeComma();

    CLex& lex;
    OperandReader& operands;
    SymbolTable& symbols;
    std::unordered_set<std::string> redefinableNames;
};
