#include "app/CommandTable.h"

#include <algorithm>

namespace CommandTable {

namespace {

using enum EnableHook;

const std::vector<Command> commands = {
    {FileNew, "&New\tCtrl+N", "Create a new document\nNew", Always, "Ctrl+N"},
    {FileOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen", Always, "Ctrl+O"},
    {FileClose, "&Close", "Close the active document\nClose", Document},
    {FileSave, "&Save\tCtrl+S", "Save the active document\nSave", Document, "Ctrl+S"},
    {FileSaveAs, "Save &As...", "Save the active document with a new name\nSave As", Document},
    {FilePrint, "&Print...\tCtrl+P", "Print the active document\nPrint", View, "Ctrl+P"},
    {FilePrintPreview, "Print Pre&view", "Display full pages\nPrint Preview", View},
    {FilePrintSetup, "P&rint Setup...", "Change the printer and printing options\nPrint Setup",
     PrintSetupHook},
    {FileRecentFirst + 0, "", "Open this document", RecentFile},
    {FileRecentFirst + 1, "", "Open this document", RecentFile},
    {FileRecentFirst + 2, "", "Open this document", RecentFile},
    {FileRecentFirst + 3, "", "Open this document", RecentFile},
    {FileRecentFirst + 4, "", "Open this document", RecentFile},
    {FileRecentFirst + 5, "", "Open this document", RecentFile},
    {FileRecentFirst + 6, "", "Open this document", RecentFile},
    {FileRecentFirst + 7, "", "Open this document", RecentFile},
    {AppExit, "E&xit", "Quit the application; prompts to save documents\nExit", Always},
    {EditUndo, "&Undo\tCtrl+Z", "Undo the last action\nUndo", View, "Ctrl+Z; Alt+Backspace"},
    {EditRedo, "", "Redo the previously undone action\nRedo", View, "Ctrl+Y"},
    {EditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard\nCut", View,
     "Ctrl+X; Shift+Del"},
    {EditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy", View,
     "Ctrl+C; Ctrl+Ins"},
    {EditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste", View, "Ctrl+V; Shift+Ins"},
    {EditFind, "&Find\tCtrl+F", "Find the specified text\nFind", View, "Ctrl+F"},
    {EditRepeat, "", "Repeat the last find\nFind Next", View, "F3"},
    {EditFindPrevious, "", "Find the previous occurrence of the text\nFind Previous", View,
     "Shift+F3"},
    {EditReplace, "&Replace\tCtrl+R", "Replace specific text with different text\nReplace", View,
     "Ctrl+R; Ctrl+H"},
    {BookmarkToggle, "", "Set or remove a bookmark on the current line\nToggle Bookmark", View,
     "Ctrl+F2"},
    {BookmarkNext, "", "Go to the next bookmarked line\nNext Bookmark", View, "F2"},
    {BookmarkPrevious, "", "Go to the previous bookmarked line\nPrevious Bookmark", View,
     "Shift+F2"},
    {BookmarkClearAll, "", "Remove every bookmark\nClear All Bookmarks", View, "Ctrl+Shift+F2"},
    {EditPreferences, "Pr&eferences", "Edit Preferences\nEdit Preferences", View},
    {EditPreferencesButton, "", "Edit Preferences\nEdit Preferences", View},
    {ViewToolbar, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", ToolbarShown},
    {ViewStatusBar, "&Status Bar", "Show or hide the status bar\nToggle StatusBar", StatusShown},
    {WindowNew, "&New Window", "Open another window for the active document\nNew Window", Document},
    {WindowCascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows", Document},
    {WindowTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows", Document},
    {NextPane, "", "Switch to the next window pane\nNext Pane", Document, "Shift+F6"},
    {Compile, "", "Compiles the current file and brings up the 8085 simulator\nBuild (F7)", View},
    {CompileKey, "", "Compiles the current file and brings up the 8085 simulator\nBuild (F7)", View,
     "F7"},
    {Disassembly, "",
     "Click on a source line and click this button to Show equivalent disassembly\nDisassembly",
     View},
    {DebugCompile, "&Compile (F7)", "Compile the file and open the simulator\nCompile", View},
    {DebugRun, "&Run (F5)", "Run the program\nRun", View},
    {DebugStepInto, "&Step Into (F11)", "Execute one instruction\nStep Into", View},
    {DebugStepOver, "Step &Over (F10)", "Execute one instruction, a call as a whole\nStep Over",
     View},
    {DebugBreakpoints, "&Breakpoints", "Show and edit the breakpoints\nBreakpoints", View},
    {RunKey, "", "Run the program\nRun", View, "F5"},
    {StepIntoKey, "", "Execute one instruction\nStep Into", View, "F11"},
    {StepOverKey, "", "Execute one instruction, a call as a whole\nStep Over", View, "F10"},
    {RunToCursorKey, "", "Run to the line of the caret\nRun to Cursor", View, "Ctrl+F10"},
    {StopAndCloseKey, "", "Stop the program and close the simulator\nStop and Close", View,
     "Shift+F5"},
    {ToggleBreakpointKey, "", "Set or remove a breakpoint\nToggle Breakpoint", View, "F9"},
    {EnableBreakpointKey, "", "Enable or disable a breakpoint\nEnable/Disable Breakpoint", View,
     "Ctrl+F9"},
    {HelpDocumentation, "&HTML Documentation", "Open the help pages\nHelp", Always},
    {HelpKey, "", "Open the help pages\nHelp", Always, "F1"},
    {AppAbout, "&About Zorvan...",
     "Display program information, version number and copyright\nAbout", Always},
    // The keys of the text view and the edit view.
    {EditorCommands::CharLeft, "", "", View, "Left"},
    {EditorCommands::ExtCharLeft, "", "", View, "Shift+Left"},
    {EditorCommands::CharRight, "", "", View, "Right"},
    {EditorCommands::ExtCharRight, "", "", View, "Shift+Right"},
    {EditorCommands::WordLeft, "", "", View, "Ctrl+Left"},
    {EditorCommands::ExtWordLeft, "", "", View, "Ctrl+Shift+Left"},
    {EditorCommands::WordRight, "", "", View, "Ctrl+Right"},
    {EditorCommands::ExtWordRight, "", "", View, "Ctrl+Shift+Right"},
    {EditorCommands::LineUp, "", "", View, "Up"},
    {EditorCommands::ExtLineUp, "", "", View, "Shift+Up"},
    {EditorCommands::LineDown, "", "", View, "Down"},
    {EditorCommands::ExtLineDown, "", "", View, "Shift+Down"},
    {EditorCommands::ScrollUp, "", "", View, "Ctrl+Up"},
    {EditorCommands::ScrollDown, "", "", View, "Ctrl+Down"},
    {EditorCommands::PageUp, "", "", View, "PgUp"},
    {EditorCommands::ExtPageUp, "", "", View, "Shift+PgUp"},
    {EditorCommands::PageDown, "", "", View, "PgDown"},
    {EditorCommands::ExtPageDown, "", "", View, "Shift+PgDown"},
    {EditorCommands::LineEnd, "", "", View, "End"},
    {EditorCommands::ExtLineEnd, "", "", View, "Shift+End"},
    {EditorCommands::Home, "", "", View, "Home"},
    {EditorCommands::ExtHome, "", "", View, "Shift+Home"},
    {EditorCommands::TextBegin, "", "", View, "Ctrl+Home"},
    {EditorCommands::ExtTextBegin, "", "", View, "Ctrl+Shift+Home"},
    {EditorCommands::TextEnd, "", "", View, "Ctrl+End"},
    {EditorCommands::ExtTextEnd, "", "", View, "Ctrl+Shift+End"},
    {EditorCommands::SelectAll, "", "", View, "Ctrl+A"},
    {EditorCommands::ToggleBookmark0 + 0, "", "", View, "Ctrl+0"},
    {EditorCommands::ToggleBookmark0 + 1, "", "", View, "Ctrl+1"},
    {EditorCommands::ToggleBookmark0 + 2, "", "", View, "Ctrl+2"},
    {EditorCommands::ToggleBookmark0 + 3, "", "", View, "Ctrl+3"},
    {EditorCommands::ToggleBookmark0 + 4, "", "", View, "Ctrl+4"},
    {EditorCommands::ToggleBookmark0 + 5, "", "", View, "Ctrl+5"},
    {EditorCommands::ToggleBookmark0 + 6, "", "", View, "Ctrl+6"},
    {EditorCommands::ToggleBookmark0 + 7, "", "", View, "Ctrl+7"},
    {EditorCommands::ToggleBookmark0 + 8, "", "", View, "Ctrl+8"},
    {EditorCommands::ToggleBookmark0 + 9, "", "", View, "Ctrl+9"},
    {EditorCommands::GoBookmark0 + 0, "", "", View, "Alt+0"},
    {EditorCommands::GoBookmark0 + 1, "", "", View, "Alt+1"},
    {EditorCommands::GoBookmark0 + 2, "", "", View, "Alt+2"},
    {EditorCommands::GoBookmark0 + 3, "", "", View, "Alt+3"},
    {EditorCommands::GoBookmark0 + 4, "", "", View, "Alt+4"},
    {EditorCommands::GoBookmark0 + 5, "", "", View, "Alt+5"},
    {EditorCommands::GoBookmark0 + 6, "", "", View, "Alt+6"},
    {EditorCommands::GoBookmark0 + 7, "", "", View, "Alt+7"},
    {EditorCommands::GoBookmark0 + 8, "", "", View, "Alt+8"},
    {EditorCommands::GoBookmark0 + 9, "", "", View, "Alt+9"},
    {EditorCommands::ClearBookmarks, "", "", View},
    {EditorCommands::PageSetup, "", "", View},
    {EditorCommands::Delete, "", "", View, "Del"},
    {EditorCommands::Backspace, "", "", View, "Backspace"},
    {EditorCommands::Tab, "", "", View, "Tab"},
    {EditorCommands::Untab, "", "", View, "Shift+Tab; Shift+Backtab"},
    {EditorCommands::SwitchOverwrite, "", "", View, "Ins"},
    // The source view's own key and its context menu (resource 168).
    {BreakpointsKey, "", "Show and edit the breakpoints\nBreakpoints", View, "Ctrl+B"},
    {SourceViewCommandId::ContextUndo, "Undo", "Undo the last action\nUndo", View},
    {SourceViewCommandId::ContextCut, "Cut", "Cut the selection and put it on the Clipboard\nCut",
     View},
    {SourceViewCommandId::ContextCopy, "Copy",
     "Copy the selection and put it on the Clipboard\nCopy", View},
    {SourceViewCommandId::ContextPaste, "Paste", "Insert Clipboard contents\nPaste", View},
    {SourceViewCommandId::ContextDelete, "&Delete", "Erase the selection\nDelete", View},
    {SourceViewCommandId::ContextSelectAll, "Select All", "Select the entire document\nSelect All",
     View},
};

const std::vector<Menu> noDocumentMenu = {
    {"&File",
     {{FileNew},
      {FileOpen},
      {Separator},
      {FilePrintSetup},
      {Separator},
      {RecentFiles},
      {Separator},
      {AppExit}}},
    {"&View", {{ViewToolbar}, {ViewStatusBar}}},
    {"&Help", {{AppAbout}}},
};

const std::vector<Menu> documentMenu = {
    {"&File",
     {{FileNew},
      {FileOpen},
      {FileClose},
      {FileSave},
      {FileSaveAs},
      {Separator},
      {FilePrint},
      {FilePrintPreview},
      {FilePrintSetup},
      {Separator},
      {RecentFiles},
      {Separator},
      {AppExit}}},
    {"&Edit",
     {{EditUndo},
      {Separator},
      {EditCut},
      {EditCopy},
      {EditPaste},
      {Separator},
      {EditFind},
      {EditReplace},
      {Separator},
      {EditPreferences}}},
    {"&View", {{ViewToolbar}, {ViewStatusBar}}},
    {"&Window", {{WindowNew}, {WindowCascade}, {WindowTile}}},
    {"&Debug",
     {{DebugCompile},
      {DebugRun},
      {DebugStepInto},
      {DebugStepOver},
      {Separator},
      {DebugBreakpoints}}},
    {"&Help", {{HelpDocumentation}, {Separator}, {AppAbout}}},
};

const std::vector<int> toolbar = {
    FileNew,          FileOpen,       FileSave,         Separator,
    EditCut,          EditCopy,       EditPaste,        Separator,
    FilePrint,        Separator,      Compile,          Disassembly,
    Separator,        EditUndo,       EditRedo,         Separator,
    EditFind,         EditRepeat,     EditFindPrevious, EditReplace,
    Separator,        BookmarkToggle, BookmarkNext,     BookmarkPrevious,
    BookmarkClearAll, Separator,      AppAbout,         EditPreferencesButton,
};

} // namespace

std::string_view Command::Prompt() const {
    return resource.substr(0, resource.find('\n'));
}

std::string_view Command::ToolTip() const {
    const auto lineFeed = resource.find('\n');
    return lineFeed == std::string_view::npos ? std::string_view() : resource.substr(lineFeed + 1);
}

const std::vector<Command>& Commands() {
    return commands;
}

const Command* Find(int id) {
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [id](const Command& c) { return c.id == id; });
    return found == commands.end() ? nullptr : &*found;
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> accelerators = [] {
        std::vector<Accelerator> all;
        for (const Command& command : commands) {
            std::string_view rest = command.keys;
            while (!rest.empty()) {
                const auto separator = rest.find("; ");
                all.push_back({rest.substr(0, separator), command.id});
                rest = separator == std::string_view::npos ? std::string_view()
                                                           : rest.substr(separator + 2);
            }
        }
        return all;
    }();
    return accelerators;
}

std::vector<std::string_view> KeysOf(int id) {
    std::vector<std::string_view> keys;
    for (const Accelerator& accelerator : Accelerators()) {
        if (accelerator.id == id) {
            keys.push_back(accelerator.key);
        }
    }
    return keys;
}

const std::vector<Menu>& NoDocumentMenu() {
    return noDocumentMenu;
}

const std::vector<Menu>& DocumentMenu() {
    return documentMenu;
}

const std::vector<int>& Toolbar() {
    return toolbar;
}

} // namespace CommandTable
