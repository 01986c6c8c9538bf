#pragma once

#include "editor/EditorCommands.h"
#include "simulator/SourceViewCommands.h"

#include <string_view>
#include <vector>

// Every command of the main window and of the views it hosts, in one table: menus, toolbar
// buttons, key bindings and status prompts are all built from it, so an id means the same thing
// wherever it appears and each key is bound once. The main window owns every key and offers each
// command to the active view first; the editor's and the source view's commands keep the ids
// their implementations declare.
namespace CommandTable {

// Command ids of the main window.
enum Id : int {
    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSave = 57603,
    FileSaveAs = 57604,
    FilePrintSetup = 57606,
    FilePrint = 57607,
    FilePrintPreview = 57609,
    FileRecentFirst = 57616, // "File1" of the recent-file list; the eighth is 57623
    AppExit = 57665,
    AppAbout = 57664,
    EditCopy = EditorCommands::Copy,
    EditCut = EditorCommands::Cut,
    EditFind = EditorCommands::Find,
    EditPaste = EditorCommands::Paste,
    EditRepeat = EditorCommands::FindNext,
    EditReplace = EditorCommands::Replace,
    EditUndo = EditorCommands::Undo,
    EditRedo = EditorCommands::Redo,
    EditFindPrevious = EditorCommands::FindPrevious,
    BookmarkToggle = EditorCommands::TogglePlainBookmark,
    BookmarkNext = EditorCommands::NextBookmark,
    BookmarkPrevious = EditorCommands::PreviousBookmark,
    BookmarkClearAll = EditorCommands::ClearAllBookmarks,
    EditPreferences = SourceViewCommandId::PreferencesMenu,
    EditPreferencesButton = SourceViewCommandId::PreferencesButton,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    WindowNew = 57648,
    WindowArrange = 57649,
    WindowCascade = 57650,
    WindowTile = 57651,
    NextPane = 57681,
    Compile = SourceViewCommandId::CompileButton,
    CompileKey = SourceViewCommandId::CompileKey,
    Disassembly = SourceViewCommandId::ShowAddressButton,
    DebugCompile = SourceViewCommandId::CompileMenu,
    DebugRun = SourceViewCommandId::RunMenu,
    DebugStepInto = SourceViewCommandId::StepIntoMenu,
    DebugStepOver = SourceViewCommandId::StepOverMenu,
    DebugBreakpoints = SourceViewCommandId::BreakpointsMenu,
    BreakpointsKey = SourceViewCommandId::BreakpointsKey,
    RunKey = SourceViewCommandId::RunKey,
    StepIntoKey = SourceViewCommandId::StepIntoKey,
    StepOverKey = SourceViewCommandId::StepOverKey,
    RunToCursorKey = SourceViewCommandId::RunToCursorKey,
    StopAndCloseKey = SourceViewCommandId::StopAndCloseKey,
    ToggleBreakpointKey = SourceViewCommandId::ToggleBreakpointKey,
    EnableBreakpointKey = SourceViewCommandId::EnableDisableBreakpointKey,
    HelpDocumentation = SourceViewCommandId::HtmlHelpMenu,
    HelpKey = SourceViewCommandId::HtmlHelpKey,
};

constexpr int RecentFileCount = 8;

// Who decides whether a command is enabled (see CommandEnabling).
enum class EnableHook {
    Always,        // the frame's own, always on (New, Open, Exit, About, help)
    Document,      // the frame's own, on while a document window is active
    RecentFile,    // on while the recent-file slot holds a file
    ToolbarShown,  // always on, checked while the toolbar shows
    StatusShown,   // always on, checked while the status bar shows
    View,          // carried out and enabled by the active view; off without one
    PrintSetupHook // the view's when it has one, else the frame's page setup
};

struct Command {
    int id;
    // The menu text with its "&" mnemonic and, after a tab, the key shown; empty when the
    // command is in no menu.
    std::string_view menuText;
    // The string resource of the id: the status-bar prompt, a line feed, the tool tip.
    std::string_view resource;
    EnableHook hook;
    // The keys that carry the command out, in portable text separated by "; " ("Ctrl+Z;
    // Alt+Backspace"); empty for none.
    std::string_view keys = {};

    std::string_view Prompt() const;
    std::string_view ToolTip() const;
};

// A key of the main window: the key in portable text ("Ctrl+N", "Alt+Backspace") and its command.
// Every key is bound to one command only.
struct Accelerator {
    std::string_view key;
    int id;
};

// One item of a menu: a command id, or Separator, or RecentFiles (the recent-file slots, shown
// only while they hold files).
struct MenuItem {
    int id;
};
constexpr int Separator = 0;
constexpr int RecentFiles = -1;

struct Menu {
    std::string_view title;
    std::vector<MenuItem> items;
};

const std::vector<Command>& Commands();
// Null for an id not in the table.
const Command* Find(int id);
// Every key of the table, in table order.
const std::vector<Accelerator>& Accelerators();
// The keys bound to `id`, in table order.
std::vector<std::string_view> KeysOf(int id);
// The menu while no document is open (128) and while one is (129).
const std::vector<Menu>& NoDocumentMenu();
const std::vector<Menu>& DocumentMenu();
// The main toolbar, Separator between groups.
const std::vector<int>& Toolbar();

} // namespace CommandTable
