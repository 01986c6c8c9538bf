#include "editor/EditorCommands.h"

#include <string>
#include <vector>

namespace EditorCommands {

namespace {

constexpr Command fixedViewCommands[] = {
    {CharLeft, "Left", false},
    {ExtCharLeft, "Extend Left", true},
    {CharRight, "Right", false},
    {ExtCharRight, "Extend Right", true},
    {WordLeft, "Word Left", false},
    {ExtWordLeft, "Extend Word Left", true},
    {WordRight, "Word Right", false},
    {ExtWordRight, "Extend Word Right", true},
    {LineUp, "Up", false},
    {ExtLineUp, "Extend Up", true},
    {LineDown, "Down", false},
    {ExtLineDown, "Extend Down", true},
    {ScrollUp, "Scroll Up", false},
    {ScrollDown, "Scroll Down", false},
    {PageUp, "Page Up", false},
    {ExtPageUp, "Extend Page Up", true},
    {PageDown, "Page Down", false},
    {ExtPageDown, "Extend Page Down", true},
    {LineEnd, "End", false},
    {ExtLineEnd, "Extend End", true},
    {Home, "Home", false},
    {ExtHome, "Extend Home", true},
    {TextBegin, "Text Start", false},
    {ExtTextBegin, "Extend Text Start", true},
    {TextEnd, "Text End", false},
    {ExtTextEnd, "Extend Text End", true},
    {SelectAll, "Select All", false},
    {Copy, "&Copy", false},
    {ClearBookmarks, "Clear Numbered Bookmarks", false},
    {TogglePlainBookmark, "Toggle Bookmark", false},
    {NextBookmark, "Next Bookmark", false},
    {PreviousBookmark, "Previous Bookmark", false},
    {ClearAllBookmarks, "Clear All Bookmarks", false},
    {PageSetup, "Page Set&up...", false},
    {Find, "&Find...", false},
    {FindNext, "Find Next", false},
    {FindPrevious, "Find Previous", false},
};

constexpr Command editCommands[] = {
    {Delete, "&Delete", false}, {Backspace, "Backspace", false},       {Tab, "Indent", false},
    {Untab, "Outdent", false},  {SwitchOverwrite, "Overwrite", false}, {Cut, "Cu&t", false},
    {Paste, "&Paste", false},   {Replace, "&Replace...", false},       {Undo, "&Undo", false},
    {Redo, "&Redo", false},
};

const std::vector<Command>& AllViewCommands() {
    static const std::vector<Command> commands = [] {
        std::vector<Command> all(std::begin(fixedViewCommands), std::end(fixedViewCommands));
        static std::vector<std::string> texts;
        texts.reserve(20);
        for (int n = 0; n < 10; ++n) {
            texts.push_back("Toggle Bookmark " + std::to_string(n));
            texts.push_back("Go To Bookmark " + std::to_string(n));
        }
        for (int n = 0; n < 10; ++n) {
            const std::string* t = &texts[static_cast<std::size_t>(2 * n)];
            all.push_back({ToggleBookmark0 + n, t[0].c_str(), false});
            all.push_back({GoBookmark0 + n, t[1].c_str(), false});
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
