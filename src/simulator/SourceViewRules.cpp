#include "simulator/SourceViewRules.h"

#include "assembler/KeywordClassifier.h"
#include "editor/CTextBuffer.h"
#include "machine/CMyException.h"

#include <algorithm>

namespace SourceViewRules {

std::string CompileErrorText(const CMyException& e) {
    return e.GetMessage() + GotoSourceSuffix;
}

std::optional<CTextPosition> CompileErrorCaret(const CMyException& e, const CTextBuffer& text) {
    if (e.GetLine() < 1 || text.LineCount() == 0) {
        return std::nullopt;
    }
    const int line = std::min(e.GetLine() - 1, text.LineCount() - 1);
    const int column = std::clamp(e.GetColumn() - 1, 0, text.LineLength(line));
    return CTextPosition{column, line};
}

std::optional<std::string> MiniHelpText(std::string_view line, bool miniHelpOn) {
    if (!miniHelpOn) {
        return std::nullopt;
    }
    const auto help = GetLineHelp(line);
    if (!help) {
        return std::nullopt;
    }
    return std::string(*help);
}

std::string SaveChangesQuestion(std::string_view title) {
    std::string text = SaveChangesFormat;
    return text.replace(text.find("%1"), 2, title);
}

} // namespace SourceViewRules
