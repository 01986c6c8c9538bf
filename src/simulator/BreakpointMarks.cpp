#include "simulator/BreakpointMarks.h"

#include "assembler/CdebugData.h"
#include "editor/CTextBuffer.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/SourceLineFlags.h"

#include <algorithm>
#include <string_view>

BreakpointMarks::BreakpointMarks(CTextBuffer& lines, CBreakpointList& list, const CdebugData& map,
                                 const CSimulatorFlags& state, Effects& sink)
    : text(lines), breakpoints(list), lineMap(map), flags(state), effects(sink) {
}

bool BreakpointMarks::Refused() {
    if (flags.IsExecuting()) {
        effects.Beep();
        return true;
    }
    return false;
}

int BreakpointMarks::LineOf(std::uint16_t address) const {
    const auto line = lineMap.FindLineOfAddress(address);
    if (!line || *line < 1 || *line > text.LineCount()) {
        return -1;
    }
    return *line - 1;
}

void BreakpointMarks::Refresh() {
    if (flags.IsSimulatorOpen()) {
        effects.RefreshSimulator();
    }
}

void BreakpointMarks::ToggleOnLine(int line) {
    if (line < 0 || line >= text.LineCount() || Refused()) {
        return;
    }
    if (!flags.IsSimulatorOpen()) {
        SetMark(text, line, MarkOf(text, line) == Mark::Enabled ? Mark::None : Mark::Enabled);
        return;
    }
    std::uint16_t address = 0;
    try {
        address = lineMap.AddressOfLine(line + 1);
    } catch (const CMyException&) {
        effects.Beep();
        return;
    }
    if (breakpoints.HasBreakpoint(address) && !breakpoints.IsBreakpointEnabled(address)) {
        breakpoints.SetBreakpointEnabled(address, 1);
        SetMark(text, line, Mark::Enabled);
    } else {
        // The entry keeps the line it was made from, so that the Breakpoints dialog names it.
        breakpoints.ToggleBreakpoint(address, line);
        SetMark(text, line, breakpoints.HasBreakpoint(address) ? Mark::Enabled : Mark::None);
    }
    effects.RefreshSimulator();
}

void BreakpointMarks::EnableDisableOnLine(int line) {
    if (Refused()) {
        return;
    }
    if (!flags.IsSimulatorOpen() || line < 0 || line >= text.LineCount()) {
        effects.Beep();
        return;
    }
    try {
        EnableDisableAt(lineMap.AddressOfLine(line + 1));
    } catch (const CMyException&) {
        effects.Beep();
    }
}

void BreakpointMarks::ToggleAt(std::uint16_t address) {
    breakpoints.ToggleBreakpoint(address, -1);
    const int line = LineOf(address);
    if (line >= 0) {
        SetMark(text, line,
                !breakpoints.HasBreakpoint(address)        ? Mark::None
                : breakpoints.IsBreakpointEnabled(address) ? Mark::Enabled
                                                           : Mark::Disabled);
    }
    Refresh();
}

void BreakpointMarks::EnableDisableAt(std::uint16_t address) {
    if (!breakpoints.HasBreakpoint(address)) {
        return;
    }
    const bool enable = !breakpoints.IsBreakpointEnabled(address);
    breakpoints.SetBreakpointEnabled(address, enable ? 1 : 0);
    const int line = LineOf(address);
    if (line >= 0) {
        effects.MoveCaretToLine(line);
        SetMark(text, line, enable ? Mark::Enabled : Mark::Disabled);
    }
    Refresh();
}

void BreakpointMarks::CarryAcrossEnter(CTextBuffer& text, int oldLine, int oldColumn, int newLine) {
    if (oldLine < 0 || oldLine >= text.LineCount() || newLine < 0 || newLine >= text.LineCount() ||
        oldLine == newLine) {
        return;
    }
    const std::uint32_t word = text.LineFlags(oldLine);
    if ((word & LineFlagBreakpoint) == 0) {
        return;
    }
    const char* chars = text.LineText(oldLine);
    const int end = std::clamp(oldColumn, 0, text.LineLength(oldLine));
    const bool blank =
        std::all_of(chars, chars + end, [](char c) { return c == ' ' || c == '\t'; });
    if (!blank) {
        return;
    }
    // Both calls act only on a word with one bit: a line with another mark keeps its marks.
    text.ChangeLineFlag(oldLine, word, false, false);
    text.ChangeLineFlag(newLine, word, true, false);
}

void BreakpointMarks::MarkExecutionLine(CTextBuffer& text, int line) {
    if (line < 0) {
        text.ChangeLineFlag(-1, LineFlagExecution, false, false);
        return;
    }
    text.ChangeLineFlag(line, LineFlagExecution, true, true);
}

void BreakpointMarks::SetMark(CTextBuffer& text, int line, Mark mark) {
    text.ChangeLineFlag(line, LineFlagBreakpoint, mark == Mark::Enabled, false);
    text.ChangeLineFlag(line, LineFlagBreakpointDisabled, mark == Mark::Disabled, false);
}

BreakpointMarks::Mark BreakpointMarks::MarkOf(const CTextBuffer& text, int line) {
    const std::uint32_t word = text.LineFlags(line);
    if ((word & LineFlagBreakpoint) != 0) {
        return Mark::Enabled;
    }
    return (word & LineFlagBreakpointDisabled) != 0 ? Mark::Disabled : Mark::None;
}

std::vector<BreakpointMarks::MarkedLine> BreakpointMarks::MarkedLines(const CTextBuffer& text) {
    std::vector<MarkedLine> marked;
    for (int line = 0; line < text.LineCount(); ++line) {
        const Mark mark = MarkOf(text, line);
        if (mark == Mark::None) {
            continue;
        }
        std::string_view chars(text.LineText(line),
                               static_cast<std::size_t>(text.LineLength(line)));
        const auto start = chars.find_first_not_of(" \t");
        chars.remove_prefix(start == std::string_view::npos ? chars.size() : start);
        marked.push_back({line, mark == Mark::Enabled, std::string(chars)});
    }
    return marked;
}
