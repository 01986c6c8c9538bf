#include "simulator/SourceViewCommands.h"

#include <algorithm>

namespace {

using A = SourceViewAction;
using E = SourceViewEnable;
namespace Id = SourceViewCommandId;

const std::vector<SourceViewCommand> commands = {
    {Id::CompileButton, A::Compile, E::SimulatorClosed},
    {Id::CompileKey, A::Compile, E::SimulatorClosed},
    {Id::CompileMenu, A::EnsureSimulator, E::DocumentAndSimulatorClosed},
    {Id::RunMenu, A::Run, E::RunMenu},
    {Id::RunKey, A::Run, E::RunKey},
    {Id::StepIntoMenu, A::StepInto, E::DocumentAndIdle},
    {Id::StepIntoKey, A::StepInto, E::Always},
    {Id::StepOverMenu, A::StepOver, E::DocumentAndIdle},
    {Id::StepOverKey, A::StepOver, E::Always},
    {Id::RunToCursorKey, A::RunToCursor, E::Always},
    {Id::ShowAddressButton, A::ShowAddress, E::SimulatorOpen},
    {Id::ToggleBreakpointKey, A::ToggleBreakpoint, E::Always},
    {Id::EnableDisableBreakpointKey, A::EnableDisableBreakpoint, E::Always},
    {Id::BreakpointsMenu, A::Breakpoints, E::Always},
    {Id::BreakpointsKey, A::Breakpoints, E::Always},
    {Id::StopAndCloseKey, A::StopAndClose, E::Always},
    {Id::HtmlHelpMenu, A::HtmlHelp, E::Always},
    {Id::HtmlHelpKey, A::HtmlHelp, E::Always},
    {Id::HtmlHelpOther, A::HtmlHelp, E::Always},
    {Id::PreferencesMenu, A::Preferences, E::Always},
    {Id::PreferencesButton, A::Preferences, E::Always},
    {Id::ContextUndo, A::Undo, E::ContextMenu},
    {Id::ContextCut, A::Cut, E::ContextMenu},
    {Id::ContextCopy, A::Copy, E::ContextMenu},
    {Id::ContextPaste, A::Paste, E::ContextMenu},
    {Id::ContextDelete, A::Delete, E::ContextMenu},
    {Id::ContextSelectAll, A::SelectAll, E::ContextMenu},
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
