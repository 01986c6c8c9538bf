#pragma once

#include "machine/Beeper.h"
#include "machine/Delay.h"
#include "machine/NumberPrompt.h"
#include "machine/Printer.h"
#include "machine/SerialPort.h"
#include "machine/SystemCalls.h"

#include <cstddef>
#include <string>
#include <vector>

class C8085Object;

// The devices of a machine under zorvan-grade, all virtual: the keyboard answers from a list,
// the serial ports read the bytes a case gives and keep the bytes sent, the printer keeps its
// text, the delay returns at once and the beeper counts. Nothing reaches the host and nothing
// waits. A serial read after the last byte given stops the run (CMyException code 28, "no
// input"). One set per worker thread; Reset() before each case.
class GradeDevices : public NumberPrompt,
                     public Beeper,
                     public Delay,
                     public SerialPort,
                     public Printer {
public:
    GradeDevices() : calls({*this, *this, *this, *this, *this}) {}
    GradeDevices(const GradeDevices&) = delete;
    GradeDevices& operator=(const GradeDevices&) = delete;

    void Reset(const std::vector<std::string>& answers, const std::string& com1Input,
               const std::string& com2Input);
    void Attach(C8085Object& machine);

    const std::string& Printed() const { return printed; }
    const std::string& Sent(int port) const { return ports[port].sent; }
    int Beeps() const { return beeps; }

    bool PromptForNumber(int& result, int min, int max, const std::string& promptText,
                         const std::string& initialText, const CancelSignal& cancel) override;
    void Beep(int frequencyHz, int durationMs, const CancelSignal& cancel) override;
    void Wait(std::chrono::milliseconds duration, const CancelSignal& cancel) override;
    void Open(const std::string& name) override;
    std::optional<std::uint8_t> ReceiveByte(const CancelSignal& cancel) override;
    bool SendByte(std::uint8_t value, const CancelSignal& cancel) override;
    void Close() override;
    bool PrintText(const std::string& text, const CancelSignal& cancel) override;

private:
    struct Line {
        std::string input;
        std::size_t read = 0;
        std::string sent;
    };

    static constexpr std::size_t longestOutput = 1u << 20; // a runaway program's output is cut

    std::vector<std::string> keyboard;
    std::size_t answered = 0;
    Line ports[2];
    int openPort = 0;
    std::string printed;
    int beeps = 0;
    SystemCalls calls;
};
