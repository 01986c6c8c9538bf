#pragma once

#include "editor/CTextPosition.h"

#include <optional>
#include <string>
#include <string_view>

class CMyException;
class CTextBuffer;

// Small decisions of the source view, kept apart from its window.
namespace SourceViewRules {

constexpr const char* AppCaption = "Zorvan";
constexpr const char* GotoSourceSuffix = "\n\nPress OK to goto source";
constexpr const char* SaveChangesFormat = "Save changes to %1?";

// The box text of an assembler error.
std::string CompileErrorText(const CMyException& e);
// Where OK in the error box puts the caret: line and column of the message, 1-based there,
// clamped to the text. Nothing for an error without a line (a file error).
std::optional<CTextPosition> CompileErrorCaret(const CMyException& e, const CTextBuffer& text);
// The mini help of a line: its instruction's or directive's help text while the preference is
// on; nothing otherwise.
std::optional<std::string> MiniHelpText(std::string_view line, bool miniHelpOn);
// "Save changes to <title>?"
std::string SaveChangesQuestion(std::string_view title);

} // namespace SourceViewRules
