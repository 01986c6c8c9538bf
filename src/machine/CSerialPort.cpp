#include "machine/CSerialPort.h"

#include "machine/CMyException.h"
#include "machine/CancelSignal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string SystemErrorText(int error) {
    return std::system_category().message(error);
}

} // namespace

CSerialPort::~CSerialPort() {
    Close();
}

std::string CSerialPort::DevicePath(const std::string& name) {
    const char* variable = nullptr;
    const char* fallback = nullptr;
    if (name == "COM1") {
        variable = "ZORVAN_COM1";
        fallback = "/dev/ttyS0";
    } else if (name == "COM2") {
        variable = "ZORVAN_COM2";
        fallback = "/dev/ttyS1";
    } else {
        return name;
    }
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : fallback;
}

void CSerialPort::Open(const std::string& name) {
    Close();
    const auto fail = [&name]() {
        throw CMyException(1, StopCode::SerialOpen, "Error opening " + name);
    };
    // No O_CREAT: a missing device is an error, never a new file. O_NONBLOCK keeps the open
    // from waiting for a modem carrier; every transfer polls instead.
    const int opened = open(DevicePath(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        fail();
    }
    termios settings{};
    if (tcgetattr(opened, &settings) != 0 || flock(opened, LOCK_EX | LOCK_NB) != 0) {
        close(opened);
        fail();
    }
    savedSettings = settings;
    cfmakeraw(&settings); // leaves the line speed alone
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (tcsetattr(opened, TCSANOW, &settings) != 0 || ioctl(opened, TIOCEXCL) != 0) {
        tcsetattr(opened, TCSANOW, &savedSettings);
        close(opened);
        fail();
    }
    fd = opened;
    deviceName = name;
}

std::optional<std::uint8_t> CSerialPort::ReceiveByte(const CancelSignal& cancel) {
    if (fd < 0) {
        ThrowIoError(EBADF);
    }
    for (;;) {
        if (!cancel.WaitReadable(fd)) {
            return std::nullopt;
        }
        std::uint8_t value = 0;
        const auto got = read(fd, &value, 1);
        if (got == 1) {
            return value;
        }
        if (got == 0) {
            ThrowIoError(EIO); // the other side hung up
        }
        if (errno != EAGAIN && errno != EINTR) {
            ThrowIoError(errno);
        }
    }
}

bool CSerialPort::SendByte(std::uint8_t value, const CancelSignal& cancel) {
    if (fd < 0) {
        ThrowIoError(EBADF);
    }
    for (;;) {
        const auto put = write(fd, &value, 1);
        if (put == 1) {
            return true;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            ThrowIoError(errno);
        }
        if (!cancel.WaitWritable(fd)) {
            // Drop what the line still holds, so that closing it does not wait for the output
            // to drain either.
            tcflush(fd, TCOFLUSH);
            return false;
        }
    }
}

void CSerialPort::Close() {
    if (fd < 0) {
        return;
    }
    // The exclusive mode belongs to the terminal, not to this descriptor: clear it, or the next
    // Open would find the line busy while anyone else still holds it open.
    ioctl(fd, TIOCNXCL);
    tcsetattr(fd, TCSANOW, &savedSettings);
    close(fd); // also releases the lock
    fd = -1;
}

void CSerialPort::ThrowIoError(int error) {
    Close();
    throw CMyException(1, StopCode::SerialIo, SystemErrorText(error));
}
