#pragma once

#include "machine/CancelSignal.h"
#include "machine/SystemCallHandler.h"

#include <cstdint>
#include <string>

class Beeper;
class Delay;
class NumberPrompt;
class Printer;
class SerialPort;

// The system calls of the simulated machine (CALL 0x0005 with the function in A and the
// sub-function in C): LED display, keyboard prompts, ASCII and subtraction helpers, beeper,
// delay, serial ports and printer. The devices are services given by whoever builds the machine.
//
// Stopping a run that waits in a device: another thread (or a signal handler) calls
// CancelWaits(); the waiting call then throws the silent stop StopCode::Cancelled with pc still
// on the CALL, so running again repeats the call. Call RearmWaits() before the next run starts.
class SystemCalls : public SystemCallHandler {
public:
    struct Devices {
        NumberPrompt& prompt;
        Beeper& beeper;
        Delay& delay;
        SerialPort& serial;
        Printer& printer;
    };

    explicit SystemCalls(const Devices& services) : devices(services) {}

    void SystemCall(C8085Object& machine) override;

    void CancelWaits() noexcept override { cancel.Cancel(); }
    void RearmWaits() noexcept override { cancel.Rearm(); }

    static constexpr int PromptMaxKey = 15;

private:
    // Each returns true when it changed the LED cells.
    bool ClearCells(C8085Object& machine);
    bool SetPoints(C8085Object& machine);
    bool DigitsFromMemory(C8085Object& machine);
    void ReadKey(C8085Object& machine);
    void AsciiConversion(C8085Object& machine);
    bool Subtract(C8085Object& machine);
    void Beep(C8085Object& machine);
    void Wait(C8085Object& machine);
    bool ShowBytes(C8085Object& machine);
    bool ReadKeysWithDisplay(C8085Object& machine);
    bool RawFromMemory(C8085Object& machine);
    void SerialReceive(C8085Object& machine);
    void SerialSend(C8085Object& machine);
    void Print(C8085Object& machine);
    void PrintText(C8085Object& machine, const std::string& text);

    bool Prompt(C8085Object& machine, int& result, int max, const std::string& text,
                int initialValue);
    void ThrowIfCancelled(C8085Object& machine) const;
    const char* PortName(C8085Object& machine) const;

    Devices devices;
    CancelSignal cancel;
};
