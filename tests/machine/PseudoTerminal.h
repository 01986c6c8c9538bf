#pragma once

#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

// A pseudo-terminal pair standing in for a serial line: the program under test opens the
// device by its name, the test talks through the master side.
class PseudoTerminal {
public:
    PseudoTerminal() {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        deviceName = name;
    }
    ~PseudoTerminal() {
        CloseMaster();
        close(slave);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    void Write(const std::string& bytes) const {
        if (write(master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            throw std::runtime_error("write to the pseudo-terminal failed");
        }
    }

    // Whatever arrives within `waitMs`.
    std::string Read(int waitMs = 2000) const {
        std::string got;
        pollfd in{master, POLLIN, 0};
        while (poll(&in, 1, got.empty() ? waitMs : 50) > 0) {
            char buffer[64];
            const auto n = read(master, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    void CloseMaster() {
        if (master >= 0) {
            close(master);
            master = -1;
        }
    }

    int master = -1;
    int slave = -1; // held open by the test, as another user of the line would
    std::string deviceName;
};
