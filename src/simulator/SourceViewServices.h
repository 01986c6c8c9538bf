#pragma once

#include "simulator/BreakpointMarks.h"

#include <cstdint>
#include <string>

// What the simulator window and its panes ask of the source view of their document. Everything
// here is called on the user-interface thread.
class SourceViewServices {
public:
    virtual ~SourceViewServices() = default;

    // Caret to column 0 of the line of `address`, scrolled into view, marked as the execution
    // line (the mark leaves every other line). Throws CMyException code 31 when the address has no
    // source line.
    virtual void ShowSourceLine(std::uint16_t address) = 0;
    // A message in the main frame's status bar.
    virtual void ShowStatusText(const std::string& text) = 0;
    // Breakpoint at an address, with its source line's mark kept in step.
    virtual void ToggleBreakpointAt(std::uint16_t address) = 0;
    virtual void EnableDisableBreakpointAt(std::uint16_t address) = 0;
    // The breakpoint mark of a 0-based source line, for a line not compiled yet (the
    // Breakpoints dialog before the simulator opens). Views without marks ignore it.
    virtual void SetLineBreakpointMark(int /*line*/, BreakpointMarks::Mark /*mark*/) {}
};
