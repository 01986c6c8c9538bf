#include "assembler/DirectiveLookup.h"

#include <array>

namespace {

struct DirectiveRow {
    std::string_view name;
    DirectiveNumber number;
};

// Searched in this order.
constexpr std::array<DirectiveRow, 6> directives{{
    {"equ", DirectiveNumber::Equ},
    {"begin", DirectiveNumber::Begin},
    {"org", DirectiveNumber::Org},
    {"fill", DirectiveNumber::Fill},
    {"setbyte", DirectiveNumber::SetByte},
    {"setword", DirectiveNumber::SetWord},
}};

bool EqualIgnoringCase(std::string_view word, std::string_view lowerName) {
    if (word.size() != lowerName.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowerName[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

bool DirectiveLookup::Find(std::string_view word) {
    for (std::size_t i = 0; i < directives.size(); ++i) {
        if (EqualIgnoringCase(word, directives[i].name)) {
            name = directives[i].name;
            number = directives[i].number;
            index = static_cast<int>(i);
            return true;
        }
    }
    return false;
}
