#include "app/DeviceSet.h"

#include "machine/C8085Object.h"

#include <unistd.h>

namespace {

template <typename Device, typename Standard>
Device& Choose(Device* replacement, Standard& standard) {
    return replacement != nullptr ? *replacement : standard;
}

} // namespace

DeviceSet::DeviceSet(NumberDialog& dialog) : DeviceSet(dialog, Replacements{}) {
}

DeviceSet::DeviceSet(NumberDialog& dialog, const Replacements& replacements)
    : prompt(dialog), terminalBeeper(STDERR_FILENO),
      calls({prompt, Choose<Beeper>(replacements.beeper, terminalBeeper),
             Choose<Delay>(replacements.delay, sleepingDelay),
             Choose<SerialPort>(replacements.serial, serialPort),
             Choose<Printer>(replacements.printer, linePrinter)}) {
}

void DeviceSet::Attach(C8085Object& machine) {
    machine.SetSystemCallHandler(&calls);
}
