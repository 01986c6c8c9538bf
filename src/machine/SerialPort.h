#pragma once

#include <cstdint>
#include <optional>
#include <string>

class CancelSignal;

// One serial line of the simulated machine, opened by name ("COM1", "COM2") for each transfer.
// Failures are CMyException: code 27 for Open, code 28 for a failed read or write.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void Open(const std::string& name) = 0;
    // Waits for one byte; std::nullopt when `cancel` fired first.
    virtual std::optional<std::uint8_t> ReceiveByte(const CancelSignal& cancel) = 0;
    // Writes one byte, waiting for room on the line; false when `cancel` fired first (a line
    // nobody reads, or one held by flow control, would otherwise block a run for ever).
    virtual bool SendByte(std::uint8_t value, const CancelSignal& cancel) = 0;
    virtual void Close() = 0;
};
