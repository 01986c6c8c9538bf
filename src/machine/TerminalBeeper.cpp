#include "machine/TerminalBeeper.h"

#include "machine/CancelSignal.h"

#include <unistd.h>

void TerminalBeeper::Beep(int /*frequencyHz*/, int durationMs, const CancelSignal& cancel) {
    if (isatty(fd) != 0) {
        const char bell = '\a';
        [[maybe_unused]] const auto written = write(fd, &bell, 1);
    }
    cancel.SleepFor(std::chrono::milliseconds(durationMs));
}
