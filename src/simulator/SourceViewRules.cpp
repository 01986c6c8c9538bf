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
    const std::string_view format = SaveChangesFormat;
    const std::size_t at = format.find("%1");
    std::string text(format.substr(0, at));
    text += title;
    text += format.substr(at + 2);
    return text;
}

} // namespace SourceViewRules
