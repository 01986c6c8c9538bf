#pragma once

#include <string_view>
#include <vector>

// The commands of the main window in one table: menus, toolbar buttons, key bindings and status
// prompts are all built from it, so an id means the same thing wherever it appears.
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
    EditCopy = 57634,
    EditCut = 57635,
    EditFind = 57636,
    EditPaste = 57637,
    EditRepeat = 57640,
    EditReplace = 57641,
    EditUndo = 57643,
    EditRedo = 57644,
    EditFindPrevious = 37126,
    BookmarkToggle = 37223,
    BookmarkNext = 37224,
    BookmarkPrevious = 37225,
    BookmarkClearAll = 37226,
    EditPreferences = 32877,
    EditPreferencesButton = 32879,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    WindowNew = 57648,
    WindowArrange = 57649,
    WindowCascade = 57650,
    WindowTile = 57651,
    NextPane = 57681,
    Compile = 32771,
    CompileKey = 32792,
    Disassembly = 32812,
    DebugCompile = 32821,
    DebugRun = 32822,
    DebugStepInto = 32823,
    DebugStepOver = 32824,
    DebugBreakpoints = 32825,
    RunKey = 32815,
    StepIntoKey = 32782,
    StepOverKey = 32817,
    RunToCursorKey = 32816,
    StopAndCloseKey = 32850,
    ToggleBreakpointKey = 32826,
    EnableBreakpointKey = 32780,
    HelpDocumentation = 32832,
    HelpKey = 32833,
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

    std::string_view Prompt() const;
    std::string_view ToolTip() const;
};

// A key of the main window: the key in portable text ("Ctrl+N", "Alt+Backspace") and its command.
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
const std::vector<Accelerator>& Accelerators();
// The keys bound to `id`, in table order.
std::vector<std::string_view> KeysOf(int id);
// The menu while no document is open (128) and while one is (129).
const std::vector<Menu>& NoDocumentMenu();
const std::vector<Menu>& DocumentMenu();
// The main toolbar, Separator between groups.
const std::vector<int>& Toolbar();

} // namespace CommandTable
