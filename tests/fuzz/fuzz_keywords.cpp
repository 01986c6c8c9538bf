// Any bytes as one source line: classification, line help and colouring must stay inside the line
// and keep the colour blocks in the order the text view needs; line help comes from a keyword.
#include "assembler/KeywordClassifier.h"
#include "assembler/KeywordTables.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    std::vector<ColourBlock> blocks;
    if (ColourLine(line, 3, blocks) != 3 || blocks.size() > 3 * line.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].index >= line.size() || (i > 0 && blocks[i].index <= blocks[i - 1].index)) {
            std::abort();
        }
    }

    for (std::size_t position = 0; position <= line.size(); ++position) {
        const WordClass word = ClassifyWord(line, position);
        if (word.start < position || word.start + word.length > line.size()) {
            std::abort();
        }
    }

    // Help comes from the first word, or from the EQU or SET after a name.
    const std::optional<std::string_view> help = GetLineHelp(line);
    if (help && ClassifyWord(line, 0).entry == nullptr) {
        const auto* equ = PlainDirectiveKeywords().MatchAt("equ", 0);
        const auto* set = PlainDirectiveKeywords().MatchAt("set", 0);
        if (*help != equ->help && *help != set->help) {
            std::abort();
        }
    }
    return 0;
}
