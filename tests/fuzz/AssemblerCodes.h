#pragma once

#include "machine/CMyException.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

// The codes the assembler and its line map may throw; anything else is a fault.
inline void CheckAssemblerCode(const CMyException& error) {
    constexpr std::array<int, 20> codes{2,  3,  5,  6,  7,  8,  11, 12, 13, 14,
                                        16, 17, 19, 20, 21, 31, 40, 41, 42, 43};
    if (std::find(codes.begin(), codes.end(), error.GetCode()) == codes.end() ||
        error.GetMessage().empty()) {
        std::fprintf(stderr, "unexpected error code %d: %s\n", error.GetCode(),
                     error.GetMessage().c_str());
        std::abort();
    }
}
