#include "editor/EditorCommands.h"

#include <string>
#include <vector>

namespace EditorCommands {

namespace {

constexpr Command fixedViewCommands[] = {
    {CharLeft, "Left", "Left", false},
    {ExtCharLeft, "Extend Left", "Shift+Left", true},
    {CharRight, "Right", "Right", false},
    {ExtCharRight, "Extend Right", "Shift+Right", true},
    {WordLeft, "Word Left", "Ctrl+Left", false},
    {ExtWordLeft, "Extend Word Left", "Ctrl+Shift+Left", true},
    {WordRight, "Word Right", "Ctrl+Right", false},
    {ExtWordRight, "Extend Word Right", "Ctrl+Shift+Right", true},
    {LineUp, "Up", "Up", false},
    {ExtLineUp, "Extend Up", "Shift+Up", true},
    {LineDown, "Down", "Down", false},
    {ExtLineDown, "Extend Down", "Shift+Down", true},
    {ScrollUp, "Scroll Up", "Ctrl+Up", false},
    {ScrollDown, "Scroll Down", "Ctrl+Down", false},
    {PageUp, "Page Up", "PgUp", false},
    {ExtPageUp, "Extend Page Up", "Shift+PgUp", true},
    {PageDown, "Page Down", "PgDown", false},
    {ExtPageDown, "Extend Page Down", "Shift+PgDown", true},
    {LineEnd, "End", "End", false},
    {ExtLineEnd, "Extend End", "Shift+End", true},
    {Home, "Home", "Home", false},
    {ExtHome, "Extend Home", "Shift+Home", true},
    {TextBegin, "Text Start", "Ctrl+Home", false},
    {ExtTextBegin, "Extend Text Start", "Ctrl+Shift+Home", true},
    {TextEnd, "Text End", "Ctrl+End", false},
    {ExtTextEnd, "Extend Text End", "Ctrl+Shift+End", true},
    {SelectAll, "Select All", "Ctrl+A", false},
    {Copy, "&Copy", "Ctrl+C; Ctrl+Ins", false},
    {ClearBookmarks, "Clear Numbered Bookmarks", "", false},
    {TogglePlainBookmark, "Toggle Bookmark", "Ctrl+F2", false},
    {NextBookmark, "Next Bookmark", "F2", false},
    {PreviousBookmark, "Previous Bookmark", "Shift+F2", false},
    {ClearAllBookmarks, "Clear All Bookmarks", "Ctrl+Shift+F2", false},
    {PageSetup, "Page Set&up...", "", false},
    {Find, "&Find...", "Ctrl+F", false},
    {FindNext, "Find Next", "F3", false},
    {FindPrevious, "Find Previous", "Shift+F3", false},
};

constexpr Command editCommands[] = {
    {Delete, "&Delete", "Del", false},
    {Backspace, "Backspace", "Backspace", false},
    {Tab, "Indent", "Tab", false},
    {Untab, "Outdent", "Shift+Tab; Shift+Backtab", false},
    {SwitchOverwrite, "Overwrite", "Ins", false},
    {Cut, "Cu&t", "Ctrl+X; Shift+Del", false},
    {Paste, "&Paste", "Ctrl+V; Shift+Ins", false},
    {Replace, "&Replace...", "Ctrl+H", false},
    {Undo, "&Undo", "Ctrl+Z; Alt+Backspace", false},
    {Redo, "&Redo", "Ctrl+Y", false},
};

const std::vector<Command>& AllViewCommands() {
    static const std::vector<Command> commands = [] {
        std::vector<Command> all(std::begin(fixedViewCommands), std::end(fixedViewCommands));
        static std::vector<std::string> texts;
        texts.reserve(40);
        for (int n = 0; n < 10; ++n) {
            texts.push_back("Toggle Bookmark " + std::to_string(n));
            texts.push_back("Ctrl+" + std::to_string(n));
            texts.push_back("Go To Bookmark " + std::to_string(n));
            texts.push_back("Alt+" + std::to_string(n));
        }
        for (int n = 0; n < 10; ++n) {
            const std::string* t = &texts[static_cast<std::size_t>(4 * n)];
            all.push_back({ToggleBookmark0 + n, t[0].c_str(), t[1].c_str(), false});
            all.push_back({GoBookmark0 + n, t[2].c_str(), t[3].c_str(), false});
        }
        return all;
    }();
    return commands;
}

} // namespace

std::span<const Command> ViewCommands() {
    return AllViewCommands();
}

std::span<const Command> EditCommands() {
    return editCommands;
}

const Command* Lookup(int id) {
    for (const Command& command : AllViewCommands()) {
        if (command.id == id) {
            return &command;
        }
    }
    for (const Command& command : editCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace EditorCommands
