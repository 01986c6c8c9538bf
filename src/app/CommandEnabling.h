#pragma once

#include "app/CommandTable.h"

#include <optional>

// The enabling rules of the main window's commands: the frame's own commands follow the frame's
// state; a view's command is what the active view answers, and off when no view answers.
namespace CommandEnabling {

struct State {
    bool enabled = false;
    bool checked = false;
    bool operator==(const State&) const = default;
};

struct FrameState {
    bool hasDocument = false; // a document window is active
    bool toolbarShown = true;
    bool statusBarShown = true;
    int recentFileCount = 0;
};

// `viewAnswer`: the active view's state for the command, none when there is no active view or it
// does not carry out the command.
State Evaluate(const CommandTable::Command& command, const FrameState& frame,
               std::optional<State> viewAnswer);

} // namespace CommandEnabling
