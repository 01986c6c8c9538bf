#pragma once

#include <chrono>

class CancelSignal;

// The delay service of the simulated machine.
class Delay {
public:
    virtual ~Delay() = default;

    // Returns after `duration`, or earlier once `cancel` fires.
    virtual void Wait(std::chrono::milliseconds duration, const CancelSignal& cancel) = 0;
};
