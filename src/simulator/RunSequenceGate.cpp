#include "simulator/RunSequenceGate.h"

bool RunSequenceGate::Accept(RunSequence sequence) {
    if (sequence < newest) {
        return false;
    }
    if (sequence > newest) {
        // Run control begins a sequence only after the previous worker has ended, so a newer
        // sequence also means that the run before it no longer holds the machine, even when its
        // RunEnded is still on its way (it will be dropped as late).
        newest = sequence;
        running = false;
    }
    return true;
}

bool RunSequenceGate::Started(RunSequence sequence) {
    if (!Accept(sequence)) {
        return false;
    }
    running = true;
    return true;
}

bool RunSequenceGate::Ended(RunSequence sequence) {
    if (!Accept(sequence)) {
        return false;
    }
    running = false;
    return true;
}
