#pragma once

class CancelSignal;

// The beeper of the simulated machine.
class Beeper {
public:
    virtual ~Beeper() = default;

    // Sounds `frequencyHz` for `durationMs` and returns after it, or earlier once `cancel` fires.
    virtual void Beep(int frequencyHz, int durationMs, const CancelSignal& cancel) = 0;
};
