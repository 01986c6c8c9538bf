#pragma once

#include "simulator/CSimulatorWindow.h"

// The window's side of run sequences (see CSimulatorWindow): which delivered calls are late, and
// whether a run's worker may still be using the machine. Used on the user-interface thread only,
// as each call is delivered there.
class RunSequenceGate {
public:
    // True when a call of `sequence` should be applied: it is not older than the newest sequence
    // applied so far, and becomes the newest. False for a late call, which is to be dropped.
    bool Accept(RunSequence sequence);
    // RunStarted delivered: true (apply it) unless late; the run then holds the machine.
    bool Started(RunSequence sequence);
    // RunEnded delivered: true unless late; the machine is free again.
    bool Ended(RunSequence sequence);

    // A run's worker may be reading or writing the machine: pane edits wait until it is false.
    bool RunInProgress() const { return running; }
    RunSequence Newest() const { return newest; }

private:
    RunSequence newest = 0;
    bool running = false;
};
