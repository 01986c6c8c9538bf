#include "machine/SleepingDelay.h"

#include "machine/CancelSignal.h"

void SleepingDelay::Wait(std::chrono::milliseconds duration, const CancelSignal& cancel) {
    cancel.SleepFor(duration);
}
