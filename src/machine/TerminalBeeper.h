#pragma once

#include "machine/Beeper.h"

// A beeper for machines without a tone generator: rings the bell of the terminal on `fd` (when
// it is a terminal; otherwise stays silent) and then waits for the length of the beep, so that a
// program's timing is the same with or without sound.
class TerminalBeeper : public Beeper {
public:
    explicit TerminalBeeper(int terminalFd) : fd(terminalFd) {}

    void Beep(int frequencyHz, int durationMs, const CancelSignal& cancel) override;

private:
    int fd;
};
