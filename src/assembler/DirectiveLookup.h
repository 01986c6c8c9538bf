#pragma once

#include <string_view>

// The assembler's directives, written with a leading "." in the source.
enum class DirectiveNumber : int {
    Org = 0,
    Begin = 1,
    Equ = 2,
    Fill = 3,
    SetByte = 4,
    SetWord = 5,
};

// Finds a directive by name (without the ".", ignoring case) and remembers the one found last.
class DirectiveLookup {
public:
    DirectiveLookup() = default;
    virtual ~DirectiveLookup() = default;

    // True when `name` is a directive; it then becomes the directive found last.
    bool Find(std::string_view name);

    std::string_view Name() const { return name; }
    DirectiveNumber Number() const { return number; }
    int Index() const { return index; }

private:
    std::string_view name;
    DirectiveNumber number = DirectiveNumber::Org;
    int index = -1;
};
