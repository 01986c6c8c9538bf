#include "simulator/SourceViewCommands.h"

#include <algorithm>

namespace {

using A = SourceViewAction;
using E = SourceViewEnable;
namespace Id = SourceViewCommandId;

const std::vector<SourceViewCommand> commands = {
    {Id::CompileButton, A::Compile, "",
     "Compiles the current file and brings up the 8085 simulator\nBuild (F7)", E::SimulatorClosed},
    {Id::CompileKey, A::Compile, "F7", "", E::SimulatorClosed},
    {Id::CompileMenu, A::EnsureSimulator, "", "&Compile (F7)", E::DocumentAndSimulatorClosed},
    {Id::RunMenu, A::Run, "", "&Run (F5)", E::RunMenu},
    {Id::RunKey, A::Run, "F5", "", E::RunKey},
    {Id::StepIntoMenu, A::StepInto, "", "&Step Into (F11)", E::DocumentAndIdle},
    {Id::StepIntoKey, A::StepInto, "F11", "", E::Always},
    {Id::StepOverMenu, A::StepOver, "", "Step &Over (F10)", E::DocumentAndIdle},
    {Id::StepOverKey, A::StepOver, "F10", "", E::Always},
    {Id::RunToCursorKey, A::RunToCursor, "Ctrl+F10", "", E::Always},
    {Id::ShowAddressButton, A::ShowAddress, "",
     "Click on a source line and click this button to Show equivalent disassembly\nDisassembly",
     E::SimulatorOpen},
    {Id::ToggleBreakpointKey, A::ToggleBreakpoint, "F9", "", E::Always},
    {Id::EnableDisableBreakpointKey, A::EnableDisableBreakpoint, "Ctrl+F9", "", E::Always},
    {Id::BreakpointsMenu, A::Breakpoints, "", "&Breakpoints", E::Always},
    {Id::BreakpointsKey, A::Breakpoints, "Ctrl+B", "", E::Always},
    {Id::StopAndCloseKey, A::StopAndClose, "Shift+F5", "", E::Always},
    {Id::HtmlHelpMenu, A::HtmlHelp, "", "&HTML Documentation", E::Always},
    {Id::HtmlHelpKey, A::HtmlHelp, "F1", "", E::Always},
    {Id::HtmlHelpOther, A::HtmlHelp, "", "", E::Always},
    {Id::PreferencesMenu, A::Preferences, "", "Pr&eferences", E::Always},
    {Id::PreferencesButton, A::Preferences, "", "Edit Preferences\nEdit Preferences", E::Always},
    {Id::ContextUndo, A::Undo, "", "Undo", E::ContextMenu},
    {Id::ContextCut, A::Cut, "", "Cut", E::ContextMenu},
    {Id::ContextCopy, A::Copy, "", "Copy", E::ContextMenu},
    {Id::ContextPaste, A::Paste, "", "Paste", E::ContextMenu},
    {Id::ContextDelete, A::Delete, "", "&Delete", E::ContextMenu},
    {Id::ContextSelectAll, A::SelectAll, "", "Select All", E::ContextMenu},
};

} // namespace

const std::vector<SourceViewCommand>& SourceViewCommands() {
    return commands;
}

const SourceViewCommand* FindSourceViewCommand(int id) {
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [id](const SourceViewCommand& c) { return c.id == id; });
    return found == commands.end() ? nullptr : &*found;
}

bool IsSourceViewCommandEnabled(SourceViewEnable rule, const SourceViewState& state) {
    switch (rule) {
    case E::Always:
    case E::ContextMenu:
        return true;
    case E::SimulatorClosed:
        return !state.simulatorOpen;
    case E::DocumentAndSimulatorClosed:
        return state.documentPresent && !state.simulatorOpen;
    case E::RunMenu:
        return state.documentPresent && (!state.simulatorOpen || !state.executing);
    case E::RunKey:
        return !state.simulatorOpen || !state.executing;
    case E::DocumentAndIdle:
        return state.documentPresent && !state.executing;
    case E::SimulatorOpen:
        return state.simulatorOpen;
    }
    return false;
}

const std::vector<int>& SourceViewContextMenuIds() {
    static const std::vector<int> ids = {
        Id::ContextUndo,   0, Id::ContextCut,      Id::ContextCopy, Id::ContextPaste,
        Id::ContextDelete, 0, Id::ContextSelectAll};
    return ids;
}
