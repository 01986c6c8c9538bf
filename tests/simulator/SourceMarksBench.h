#pragma once

#include "assembler/CdebugData.h"
#include "editor/CTextBuffer.h"
#include "machine/C8085Object.h"
#include "simulator/BreakpointMarks.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "support/TempFolder.h"

#include <string>
#include <vector>

// A source text with a line map and a breakpoint list, as a compiled document has them, and a
// record of what the marks asked of the view.
//
// Line 0 "start: mvi a, 1" is at 0x0010, line 2 "  inr a" at 0x0012, line 3 "  hlt" at 0x0013;
// line 1 is a comment without code.
class SourceMarksBench : public CBreakpointList, public BreakpointMarks::Effects {
public:
    SourceMarksBench() : marks(text, *this, lineMap, flags, *this) {
        text.StartEmpty(0);
        int endLine = 0;
        int endChar = 0;
        text.InsertChars(nullptr, 0, 0, "start: mvi a, 1\r\n; comment\r\n  inr a\r\n  hlt", endLine,
                         endChar);
        lineMap.Open(folder.Write("t.debug", "16 1 18 3 19 4 "), "rt");
        lineMap.Load();
        machine.memory[0x12] = 0x3C;
    }

    C8085Object& GetMachine() override { return machine; }
    void Beep() override { ++beeps; }
    void RefreshSimulator() override { ++refreshes; }
    void MoveCaretToLine(int line) override { caretLines.push_back(line); }

    std::uint32_t Flags(int line) const { return text.LineFlags(line); }
    void Mark(int line, std::uint32_t flag) { text.ChangeLineFlag(line, flag, true, false); }

    TempFolder folder;
    C8085Object machine;
    CTextBuffer text;
    CdebugData lineMap;
    CSimulatorFlags flags;
    BreakpointMarks marks;
    int beeps = 0;
    int refreshes = 0;
    std::vector<int> caretLines;
};
