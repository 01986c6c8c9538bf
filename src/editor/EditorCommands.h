#pragma once

#include <span>

// The commands of the text and edit views: identifier and the name of the view's own action. The
// keys are bound by the window that hosts the views, from its one command table.
namespace EditorCommands {

enum Id {
    CharLeft = 37100,
    ExtCharLeft = 37101,
    CharRight = 37102,
    ExtCharRight = 37103,
    WordLeft = 37104,
    ExtWordLeft = 37105,
    WordRight = 37106,
    ExtWordRight = 37107,
    LineUp = 37108,
    ExtLineUp = 37109,
    LineDown = 37110,
    ExtLineDown = 37111,
    ScrollUp = 37112,
    ScrollDown = 37113,
    PageUp = 37114,
    ExtPageUp = 37115,
    PageDown = 37116,
    ExtPageDown = 37117,
    LineEnd = 37118,
    ExtLineEnd = 37119,
    Home = 37120,
    ExtHome = 37121,
    TextBegin = 37122,
    ExtTextBegin = 37123,
    TextEnd = 37124,
    ExtTextEnd = 37125,
    FindPrevious = 37126,
    ToggleBookmark0 = 37200, // to 37209
    GoBookmark0 = 37210,     // to 37219
    ClearBookmarks = 37220,
    TogglePlainBookmark = 37223,
    NextBookmark = 37224,
    PreviousBookmark = 37225,
    ClearAllBookmarks = 37226,
    PageSetup = 57605,
    Copy = 57634,
    Find = 57636,
    FindNext = 57640,
    SelectAll = 57642,
    // The edit view's.
    Delete = 37000,
    Backspace = 37001,
    Tab = 37003,
    Untab = 37004,
    SwitchOverwrite = 37005,
    Cut = 57635,
    Paste = 57637,
    Replace = 57641,
    Undo = 57643,
    Redo = 57644,
};

struct Command {
    int id;
    const char* name;
    bool extendsSelection; // a Shift form of a caret move
};

std::span<const Command> ViewCommands();
std::span<const Command> EditCommands();
const Command* Lookup(int id);

} // namespace EditorCommands
