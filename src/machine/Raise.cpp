#include "machine/Raise.h"

#include <utility>

void Raise(const InstructionSet& owner, int errorFlag, int code, std::string_view text) {
    std::string message = owner.PositionText();
    message += text;
    throw CMyException(errorFlag, code, std::move(message));
}
