#pragma once

#include "machine/Delay.h"

// The delay service: sleeps for the asked time, waking early when the run is stopped.
class SleepingDelay : public Delay {
public:
    void Wait(std::chrono::milliseconds duration, const CancelSignal& cancel) override;
};
