#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CBreakpointList;
class CdebugData;
class CSimulatorFlags;
class CTextBuffer;

// The breakpoint marks of a source view's lines kept in step with the document's breakpoint
// list. Marks are what lasts: every compile rebuilds the list from them. Between compiles these
// operations change list and mark together, so a mark always shows what the list holds: toggling a
// disabled breakpoint enables it, removing one removes its mark too.
//
// User-interface thread only. Breakpoint commands are refused with a beep while the program
// executes, as the simulator toolbar's breakpoint buttons are.
class BreakpointMarks {
public:
    // What an operation asks of the view and the simulator window.
    class Effects {
    public:
        virtual ~Effects() = default;
        virtual void Beep() = 0;
        // Refill the simulator window's panes (only called while it is open).
        virtual void RefreshSimulator() = 0;
        // Caret to column 0 of a 0-based line, scrolled into view.
        virtual void MoveCaretToLine(int line) = 0;
    };

    BreakpointMarks(CTextBuffer& text, CBreakpointList& breakpoints, const CdebugData& lineMap,
                    const CSimulatorFlags& flags, Effects& effects);

    // F9 on a 0-based line. Simulator closed: only the mark toggles (a disabled one becomes
    // enabled). Open: the line's address (none: beep) is toggled in the list, with the line as
    // the entry's source line, and the mark follows.
    void ToggleOnLine(int line);
    // Ctrl+F9 on a line: only while the simulator is open and the line has an address; beeps
    // otherwise.
    void EnableDisableOnLine(int line);
    // From the Instructions pane and the Breakpoints dialog: the entry at `address` is toggled
    // (entries made here carry no source line), and the mark of its source line, if any, follows.
    void ToggleAt(std::uint16_t address);
    // Swaps the enabled state of the entry at `address` (none: nothing) and puts the caret on its
    // source line, whose mark follows.
    void EnableDisableAt(std::uint16_t address);

    // After Enter typed with the caret at (oldLine, oldColumn), now on `newLine`: a line with only
    // an enabled breakpoint mark and only blanks before the old caret column hands the mark to the
    // line the statement moved to.
    static void CarryAcrossEnter(CTextBuffer& text, int oldLine, int oldColumn, int newLine);
    // `line` becomes the only line marked as the execution line; -1 clears the mark.
    static void MarkExecutionLine(CTextBuffer& text, int line);
    // Sets the line's mark to enabled, disabled or none.
    enum class Mark { None, Enabled, Disabled };
    static void SetMark(CTextBuffer& text, int line, Mark mark);
    static Mark MarkOf(const CTextBuffer& text, int line);

    // A line with a breakpoint mark: its 0-based number, whether the mark is enabled, and the
    // line's text without leading blanks.
    struct MarkedLine {
        int line = 0;
        bool enabled = true;
        std::string text;
    };
    static std::vector<MarkedLine> MarkedLines(const CTextBuffer& text);

private:
    bool Refused();
    // The 0-based source line of `address`, or -1.
    int LineOf(std::uint16_t address) const;
    void Refresh();

    CTextBuffer& text;
    CBreakpointList& breakpoints;
    const CdebugData& lineMap;
    const CSimulatorFlags& flags;
    Effects& effects;
};
