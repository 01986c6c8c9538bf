// Any bytes as assembly lines: one line assembled alone at an address taken from the input, then
// the same bytes fed line by line into one parser that keeps its symbols. Every failure must be a
// CMyException with an assembler code and a position in front of its text.
#include "AssemblerCodes.h"
#include "assembler/CParse.h"
#include "machine/C8085Object.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void CheckPosition(const CMyException& error) {
    CheckAssemblerCode(error);
    if (error.GetLine() < 1 || error.GetColumn() < 0) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static C8085Object machine;
    static CParse parser;
    static bool attached = false;
    if (!attached) {
        parser.Attach(machine);
        attached = true;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto address = static_cast<std::uint16_t>(size > 1 ? data[0] << 8 | data[1] : 0);

    try {
        if (parser.AssembleLine(address, text) != TokenKind::EndOfLine) {
            std::abort();
        }
    } catch (const CMyException& error) {
        CheckPosition(error);
    }

    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        try {
            parser.ParseLine(text.substr(start, end - start));
        } catch (const CMyException& error) {
            CheckPosition(error);
        }
        start = end + 1;
    }
    return 0;
}
