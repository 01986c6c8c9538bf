#pragma once

#include "app/LinePrinter.h"
#include "machine/CSerialPort.h"
#include "machine/SleepingDelay.h"
#include "machine/SystemCalls.h"
#include "machine/TerminalBeeper.h"
#include "simulator/DialogNumberPrompt.h"

class C8085Object;
class NumberDialog;

// The standard devices of one simulated machine and the system calls over them: the number
// prompt over a NumberDialog, a beeper, the delay, the serial ports COM1 and COM2, and the line
// printer. The desktop builds one per document (with its own dialog and beeper), zorvan-run one
// per run; any device can be replaced by the caller's own (a tone beeper, no delay, a fake).
//
// Stop and Close reach every wait of these devices through the machine's system-call handler
// (SystemCallHandler::CancelWaits), so run control needs nothing from the set itself.
class DeviceSet {
public:
    // Devices to use instead of the standard ones; null keeps the standard device. The standard
    // beeper rings the bell of the terminal on standard error.
    struct Replacements {
        Beeper* beeper = nullptr;
        Delay* delay = nullptr;
        SerialPort* serial = nullptr;
        Printer* printer = nullptr;
    };

    explicit DeviceSet(NumberDialog& dialog);
    DeviceSet(NumberDialog& dialog, const Replacements& replacements);
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;

    SystemCalls& Calls() { return calls; }
    // From now on the machine's system calls use this set. The set must outlive that use.
    void Attach(C8085Object& machine);

private:
    DialogNumberPrompt prompt;
    TerminalBeeper terminalBeeper;
    SleepingDelay sleepingDelay;
    CSerialPort serialPort;
    LinePrinter linePrinter;
    SystemCalls calls;
};
