#include "editor/ColouringStates.h"

#include <algorithm>

namespace {
constexpr int unknown = -1;
}

void ColouringStates::Reset(int lineCount) {
    states.assign(static_cast<std::size_t>(std::max(lineCount, 0)), unknown);
    validUpTo = 0;
    chained = false;
    changed.clear();
    recomputed = 0;
}

void ColouringStates::LineChanged(int line) {
    if (line < 0 || line >= LineCount()) {
        return;
    }
    if (line < validUpTo) {
        validUpTo = line;
        chained = false;
    }
    changed.insert(line);
}

void ColouringStates::LinesChanged(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, LineCount() - 1);
    if (first > last) {
        return;
    }
    // Forgotten states are computed again, and the first line after the range that arrives at
    // its old state ends the recolouring as a changed line's would; no set of a million
    // changed lines is needed for that.
    std::fill(states.begin() + first, states.begin() + last + 1, unknown);
    LineChanged(first);
}

void ColouringStates::LinesInserted(int line, int count) {
    if (count <= 0 || line < 0 || line >= LineCount()) {
        return;
    }
    states.insert(states.begin() + line + 1, static_cast<std::size_t>(count), unknown);
    std::set<int> moved;
    for (int changedLine : changed) {
        moved.insert(changedLine > line ? changedLine + count : changedLine);
    }
    changed.swap(moved);
    LineChanged(line);
}

void ColouringStates::LinesRemoved(int line, int count) {
    count = std::min(count, LineCount() - 1 - line);
    if (count <= 0 || line < 0) {
        return;
    }
    states.erase(states.begin() + line + 1, states.begin() + line + 1 + count);
    std::set<int> moved;
    for (int changedLine : changed) {
        if (changedLine <= line) {
            moved.insert(changedLine);
        } else if (changedLine > line + count) {
            moved.insert(changedLine - count);
        }
    }
    changed.swap(moved);
    // The line after the removed ones now follows a different line.
    if (line + 1 < LineCount()) {
        changed.insert(line + 1);
    }
    LineChanged(line);
}

int ColouringStates::StateBefore(int line, const Colorize& colorize) {
    line = std::min(line, LineCount());
    while (validUpTo < line) {
        const int i = validUpTo;
        const bool reusable =
            chained && states[i] != unknown && (changed.empty() || *changed.begin() != i);
        if (reusable) {
            ++validUpTo;
            continue;
        }
        const int before = i == 0 ? 0 : states[i - 1];
        ++recomputed;
        Settle(i, colorize(before, i));
    }
    return line == 0 ? 0 : states[line - 1];
}

void ColouringStates::Store(int line, int state) {
    if (line < 0 || line >= LineCount()) {
        return;
    }
    if (line < validUpTo) {
        states[line] = state;
    } else if (line == validUpTo) {
        Settle(line, state);
    }
}

void ColouringStates::Settle(int line, int state) {
    chained = states[line] == state;
    states[line] = state;
    if (!changed.empty() && *changed.begin() == line) {
        changed.erase(changed.begin());
    }
    validUpTo = line + 1;
}
