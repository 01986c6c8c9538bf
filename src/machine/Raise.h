#pragma once

#include "machine/CMyException.h"
#include "machine/InstructionSet.h"

#include <string_view>

// Throws CMyException(errorFlag, code, owner's position text followed directly by text).
[[noreturn]] void Raise(const InstructionSet& owner, int errorFlag, int code,
                        std::string_view text);
