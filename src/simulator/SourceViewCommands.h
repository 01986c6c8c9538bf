#pragma once

#include <string_view>
#include <vector>

// What the source view does for each of its commands.
enum class SourceViewAction {
    Compile,         // the opening sequence, nothing when the simulator is open
    EnsureSimulator, // compile unless open; the menu's Compile
    Run,
    StepInto,
    StepOver,
    RunToCursor,
    ShowAddress,
    ToggleBreakpoint,
    EnableDisableBreakpoint,
    Breakpoints,
    StopAndClose,
    HtmlHelp,
    Preferences,
    Undo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
};

// When a command is offered.
enum class SourceViewEnable {
    Always,
    SimulatorClosed,
    DocumentAndSimulatorClosed,
    RunMenu,         // no document: off; simulator open: not executing; else on
    RunKey,          // simulator closed: on; else not executing
    DocumentAndIdle, // a document and not executing
    SimulatorOpen,
    ContextMenu, // set from the buffer and the clipboard when the context menu opens
};

struct SourceViewState {
    bool documentPresent = true;
    bool simulatorOpen = false;
    bool executing = false;
};

struct SourceViewCommand {
    int id = 0;
    SourceViewAction action = SourceViewAction::Compile;
    SourceViewEnable enable = SourceViewEnable::Always;
};

namespace SourceViewCommandId {
constexpr int CompileButton = 32771;
constexpr int CompileKey = 32792;
constexpr int CompileMenu = 32821;
constexpr int RunMenu = 32822;
constexpr int RunKey = 32815;
constexpr int StepIntoMenu = 32823;
constexpr int StepIntoKey = 32782;
constexpr int StepOverMenu = 32824;
constexpr int StepOverKey = 32817;
constexpr int RunToCursorKey = 32816;
constexpr int ShowAddressButton = 32812;
constexpr int ToggleBreakpointKey = 32826;
constexpr int EnableDisableBreakpointKey = 32780;
constexpr int BreakpointsMenu = 32825;
constexpr int BreakpointsKey = 32880;
constexpr int StopAndCloseKey = 32850;
constexpr int HtmlHelpMenu = 32832;
constexpr int HtmlHelpKey = 32833;
constexpr int HtmlHelpOther = 32834;
constexpr int PreferencesMenu = 32877;
constexpr int PreferencesButton = 32879;
constexpr int ContextUndo = 32867;
constexpr int ContextCut = 32806;
constexpr int ContextCopy = 32807;
constexpr int ContextPaste = 32808;
constexpr int ContextDelete = 32809;
constexpr int ContextSelectAll = 32810;
} // namespace SourceViewCommandId

// What each command of the source view does and when it is offered; its texts and keys are the
// main window's (the program's command table).
const std::vector<SourceViewCommand>& SourceViewCommands();
// The command with `id`, or null.
const SourceViewCommand* FindSourceViewCommand(int id);
// Whether a command with the rule is offered in `state`. ContextMenu answers true: the menu sets
// those itself when it opens.
bool IsSourceViewCommandEnabled(SourceViewEnable rule, const SourceViewState& state);

// The context menu's entries in order, with a separator (id 0) between the groups.
const std::vector<int>& SourceViewContextMenuIds();
