#include "app/CommandEnabling.h"

namespace CommandEnabling {

State Evaluate(const CommandTable::Command& command, const FrameState& frame,
               std::optional<State> viewAnswer) {
    using enum CommandTable::EnableHook;
    switch (command.hook) {
    case Always:
        return {true, false};
    case Document:
        return {frame.hasDocument, false};
    case RecentFile:
        return {command.id - CommandTable::FileRecentFirst < frame.recentFileCount, false};
    case ToolbarShown:
        return {true, frame.toolbarShown};
    case StatusShown:
        return {true, frame.statusBarShown};
    case View:
        return frame.hasDocument ? viewAnswer.value_or(State{}) : State{};
    case PrintSetupHook:
        // The frame's own page setup when no view offers one.
        return viewAnswer.value_or(State{true, false});
    }
    return {};
}

} // namespace CommandEnabling
