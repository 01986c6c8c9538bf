#include "assembler/DirectiveLookup.h"

#include "assembler/SourceChar.h"

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

} // namespace

bool DirectiveLookup::Find(std::string_view word) {
    for (std::size_t i = 0; i < directives.size(); ++i) {
        if (SourceChar::EqualIgnoringCase(word, directives[i].name)) {
            name = directives[i].name;
            number = directives[i].number;
            index = static_cast<int>(i);
            return true;
        }
    }
    return false;
}
