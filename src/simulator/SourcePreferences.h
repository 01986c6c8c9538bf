#pragma once

// The two editor preferences of the source views. They start on at every program start, are
// shared by every view and are never stored.
struct SourcePreferences {
    bool syntaxHighlighting = true;
    bool miniHelp = true;

    // The process's preferences (user-interface thread only).
    static SourcePreferences& Current() {
        static SourcePreferences preferences;
        return preferences;
    }
};
