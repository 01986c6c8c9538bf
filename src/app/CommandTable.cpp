#include "app/CommandTable.h"

#include <algorithm>

namespace CommandTable {

namespace {

using enum EnableHook;

const std::vector<Command> commands = {
    {FileNew, "&New\tCtrl+N", "Create a new document\nNew", Always},
    {FileOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen", Always},
    {FileClose, "&Close", "Close the active document\nClose", Document},
    {FileSave, "&Save\tCtrl+S", "Save the active document\nSave", Document},
    {FileSaveAs, "Save &As...", "Save the active document with a new name\nSave As", Document},
    {FilePrint, "&Print...\tCtrl+P", "Print the active document\nPrint", View},
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
    {EditUndo, "&Undo\tCtrl+Z", "Undo the last action\nUndo", View},
    {EditRedo, "", "Redo the previously undone action\nRedo", View},
    {EditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard\nCut", View},
    {EditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy", View},
    {EditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste", View},
    {EditFind, "&Find\tCtrl+F", "Find the specified text\nFind", View},
    {EditRepeat, "", "Repeat the last find\nFind Next", View},
    {EditFindPrevious, "", "Find the previous occurrence of the text\nFind Previous", View},
    {EditReplace, "&Replace\tCtrl+R", "Replace specific text with different text\nReplace", View},
    {BookmarkToggle, "", "Set or remove a bookmark on the current line\nToggle Bookmark", View},
    {BookmarkNext, "", "Go to the next bookmarked line\nNext Bookmark", View},
    {BookmarkPrevious, "", "Go to the previous bookmarked line\nPrevious Bookmark", View},
    {BookmarkClearAll, "", "Remove every bookmark\nClear All Bookmarks", View},
    {EditPreferences, "Pr&eferences", "Edit Preferences\nEdit Preferences", View},
    {EditPreferencesButton, "", "Edit Preferences\nEdit Preferences", View},
    {ViewToolbar, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", ToolbarShown},
    {ViewStatusBar, "&Status Bar", "Show or hide the status bar\nToggle StatusBar", StatusShown},
    {WindowNew, "&New Window", "Open another window for the active document\nNew Window", Document},
    {WindowCascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows", Document},
    {WindowTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows", Document},
    {NextPane, "", "Switch to the next window pane\nNext Pane", Document},
    {Compile, "", "Compiles the current file and brings up the 8085 simulator\nBuild (F7)", View},
    {CompileKey, "", "Compiles the current file and brings up the 8085 simulator\nBuild (F7)",
     View},
    {Disassembly, "",
     "Click on a source line and click this button to Show equivalent disassembly\nDisassembly",
     View},
    {DebugCompile, "&Compile (F7)", "Compile the file and open the simulator\nCompile", View},
    {DebugRun, "&Run (F5)", "Run the program\nRun", View},
    {DebugStepInto, "&Step Into (F11)", "Execute one instruction\nStep Into", View},
    {DebugStepOver, "Step &Over (F10)", "Execute one instruction, a call as a whole\nStep Over",
     View},
    {DebugBreakpoints, "&Breakpoints", "Show and edit the breakpoints\nBreakpoints", View},
    {RunKey, "", "Run the program\nRun", View},
    {StepIntoKey, "", "Execute one instruction\nStep Into", View},
    {StepOverKey, "", "Execute one instruction, a call as a whole\nStep Over", View},
    {RunToCursorKey, "", "Run to the line of the caret\nRun to Cursor", View},
    {StopAndCloseKey, "", "Stop the program and close the simulator\nStop and Close", View},
    {ToggleBreakpointKey, "", "Set or remove a breakpoint\nToggle Breakpoint", View},
    {EnableBreakpointKey, "", "Enable or disable a breakpoint\nEnable/Disable Breakpoint", View},
    {HelpDocumentation, "&HTML Documentation", "Open the help pages\nHelp", Always},
    {HelpKey, "", "Open the help pages\nHelp", Always},
    {AppAbout, "&About Zorvan...",
     "Display program information, version number and copyright\nAbout", Always},
};

const std::vector<Accelerator> accelerators = {
    {"Ctrl+F", EditFind},
    {"Ctrl+N", FileNew},
    {"Ctrl+O", FileOpen},
    {"Ctrl+P", FilePrint},
    {"Ctrl+R", EditReplace},
    {"Ctrl+S", FileSave},
    {"Ctrl+V", EditPaste},
    {"Alt+Backspace", EditUndo},
    {"Shift+Del", EditCut},
    {"F1", HelpKey},
    {"F10", StepOverKey},
    {"Ctrl+F10", RunToCursorKey},
    {"F11", StepIntoKey},
    {"F5", RunKey},
    {"Shift+F5", StopAndCloseKey},
    {"Shift+F6", NextPane},
    {"F7", CompileKey},
    {"F9", ToggleBreakpointKey},
    {"Ctrl+F9", EnableBreakpointKey},
    {"Ctrl+Ins", EditCopy},
    {"Shift+Ins", EditPaste},
    {"Ctrl+X", EditCut},
    {"Ctrl+Z", EditUndo},
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
    return accelerators;
}

std::vector<std::string_view> KeysOf(int id) {
    std::vector<std::string_view> keys;
    for (const Accelerator& accelerator : accelerators) {
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
