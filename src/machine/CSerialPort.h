#pragma once

#include "machine/SerialPort.h"

#include <string>
#include <termios.h>

// A serial line on a POSIX terminal device. "COM1" and "COM2" name the devices in the
// environment variables ZORVAN_COM1 and ZORVAN_COM2, by default /dev/ttyS0 and /dev/ttyS1; any
// other name is taken as a device path. The port is opened only when the device exists, for this
// process alone (an exclusive lock, and TIOCEXCL against other openers), in raw mode with its
// speed as it stands; Close puts the line's previous settings back.
class CSerialPort : public SerialPort {
public:
    CSerialPort() = default;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;
    ~CSerialPort() override;

    static std::string DevicePath(const std::string& name);

    void Open(const std::string& name) override;
    std::optional<std::uint8_t> ReceiveByte(const CancelSignal& cancel) override;
    bool SendByte(std::uint8_t value, const CancelSignal& cancel) override;
    void Close() override;

    bool IsOpen() const { return fd >= 0; }

private:
    [[noreturn]] void ThrowIoError(int error);

    std::string deviceName;
    int fd = -1;
    termios savedSettings{};
};
