#include "app/CCompileCommand.h"

#include "app/CMyZorvanDoc.h"
#include "simulator/SourceLineFlags.h"

std::string CCompileCommand::LineMapInCacheText(const std::string& path) {
    return "The source's folder is read-only: its line map is kept in " + path;
}

CCompileCommand::Result CCompileCommand::Open(const std::function<void()>& openWindow) {
    Result result;
    if (document.IsSimulatorOpen()) {
        return result;
    }
    try {
        AssembleIntoMachine();
        openWindow();
    } catch (const CMyException& e) {
        result.outcome = Outcome::Failed;
        result.error = e;
        return result;
    }
    result.outcome = Outcome::Opened;
    if (document.GetAssembler().LineMapInCache()) {
        result.lineMapInCache = document.GetAssembler().GetDebugPath();
    }
    result.lineMapError = ReloadLineMap();
    result.removedBreakpoints = RebuildBreakpoints(result.lineMapError.empty());
    return result;
}

void CCompileCommand::AssembleIntoMachine() {
    document.lineMap.Close();
    CTextBuffer& text = document.GetTextBuffer();
    while (text.FindFlaggedLine(LineFlagExecution) >= 0) {
        text.ChangeLineFlag(text.FindFlaggedLine(LineFlagExecution), LineFlagExecution, false,
                            false);
    }
    C8085Object& machine = document.GetMachine();
    machine.Reset();
    document.Assemble(document.GetPathName());
    machine.Start();
}

std::string CCompileCommand::ReloadLineMap() {
    try {
        document.lineMap.Open(document.GetAssembler().GetDebugPath(), "rt");
        document.lineMap.Load();
    } catch (const CMyException& e) {
        return e.GetMessage();
    }
    return {};
}

int CCompileCommand::RebuildBreakpoints(bool lineMapRead) {
    document.ClearBreakpoints();
    CTextBuffer& text = document.GetTextBuffer();
    int removed = 0;
    for (int line = 0; line < text.LineCount(); ++line) {
        const std::uint32_t flags = text.LineFlags(line);
        if ((flags & (LineFlagBreakpoint | LineFlagBreakpointDisabled)) == 0) {
            continue;
        }
        try {
            const std::uint16_t address = document.lineMap.AddressOfLine(line + 1);
            const int enabled = (flags & LineFlagBreakpointDisabled) != 0 ? 0 : 1;
            document.AddBreakpoint(address, line, enabled);
        } catch (const CMyException&) {
            if (!lineMapRead) {
                continue;
            }
            text.ChangeLineFlag(line, LineFlagBreakpoint, false, false);
            text.ChangeLineFlag(line, LineFlagBreakpointDisabled, false, false);
            ++removed;
        }
    }
    return removed;
}
