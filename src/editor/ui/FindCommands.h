#pragma once

class QWidget;
class SearchTarget;

// The view's search commands: Find (Ctrl+F), Find Next (F3), Find Previous (Shift+F3) and
// Replace (Ctrl+H, Ctrl+R). The dialogs read their settings when they open and write them
// when they close.
class FindCommands {
public:
    static void Find(SearchTarget& target, QWidget* parent);
    // Enables both repeat commands.
    static bool CanRepeat(const SearchTarget& target);
    static void FindNext(SearchTarget& target);
    static void FindPrevious(SearchTarget& target);
    // Only in a view whose text can be changed.
    static void Replace(SearchTarget& target, QWidget* parent);
};
