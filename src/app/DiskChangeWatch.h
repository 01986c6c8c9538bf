#pragma once

#include "app/DiskFileState.h"

#include <optional>

// Notices that another program changed or removed a document's file while it was open, and
// decides what to do about it, so that a save never overwrites that change unseen and a compile
// never assembles a text other than the one shown.
//
// The watch remembers the file as the document last read or wrote it. A later look that finds
// the file the same needs nothing. A document without changes of its own simply takes the new
// text; one with changes asks whether to reload. A removed file is told once and its text kept.
// Once the user has answered for one state of the file on disk ("Keep mine", or a removal told),
// that same state is not asked about again; the next save or load starts afresh.
class DiskChangeWatch {
public:
    enum class Occasion {
        Activated,     // a window of the document became the active one
        BeforeSave,    // the document is about to be written to its file
        BeforeCompile, // the file is about to be assembled
    };

    enum class Action {
        None,
        Reload,      // take the file's new text without asking: the document has no changes
        AskReload,   // the file changed and so did the document: ask which to keep
        TellDeleted, // the file is gone: say so, keep the text as a change to be saved
    };

    // The document's text now equals the file at `state` (after a load or a save).
    void Remember(const DiskFileState& state);
    // The document has no file (a new document).
    void Forget();
    bool IsWatching() const { return known.has_value(); }

    // What to do now that the file is at `now`, for a document that `modified` or not.
    Action Decide(const DiskFileState& now, bool modified, Occasion occasion) const;
    // The user has answered for the file at `now`; it is not asked about again.
    void Acknowledge(const DiskFileState& now);

private:
    std::optional<DiskFileState> known;
    std::optional<DiskFileState> acknowledged;
};
