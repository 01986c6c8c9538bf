#pragma once

#include <functional>
#include <set>
#include <vector>

// The colouring state after each line, cached. A change forgets the states from the changed line
// on, but a later recomputation that arrives at the state a line had before takes the cached
// states below it as they are, up to the next changed line: an edit recolours only as far as
// its effect reaches.
class ColouringStates {
public:
    // The colouring hook without blocks: the state after `line` given the state before it.
    using Colorize = std::function<int(int stateBefore, int line)>;

    void Reset(int lineCount);
    int LineCount() const { return static_cast<int>(states.size()); }

    // The text of `line` changed.
    void LineChanged(int line);
    // The text of every line from `first` to `last` changed.
    void LinesChanged(int first, int last);
    // `count` lines were inserted after `line` (whose text changed too).
    void LinesInserted(int line, int count);
    // The `count` lines after `line` were removed (and `line` changed).
    void LinesRemoved(int line, int count);

    // The state before `line` (0 for the first line), computing what is missing.
    int StateBefore(int line, const Colorize& colorize);
    // The state after `line` as a paint just computed it; `line`'s state before was taken
    // with StateBefore.
    void Store(int line, int state);

    // How many lines had to be coloured again since the last reset, for tests and benchmarks.
    long long Recomputed() const { return recomputed; }

private:
    void Settle(int line, int state);

    std::vector<int> states;
    // States of lines before this one are current.
    int validUpTo = 0;
    // The cached state at validUpTo was computed from the same state before it as now.
    bool chained = false;
    // Changed lines at or after validUpTo.
    std::set<int> changed;
    long long recomputed = 0;
};
