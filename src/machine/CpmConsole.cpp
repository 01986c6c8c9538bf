#include "machine/CpmConsole.h"

#include "files/RegularFile.h"
#include "machine/C8085Object.h"
#include "machine/Raise.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr std::uint8_t PrintCharacter = 2;
constexpr std::uint8_t PrintString = 9;
constexpr std::uint8_t Jmp = 0xC3;
constexpr std::uint8_t Hlt = 0x76;

} // namespace

CpmConsole::CpmConsole(Sink sink_) : sink(std::move(sink_)) {
}

void CpmConsole::SystemCall(C8085Object& machine) {
    if (machine.c == PrintCharacter) {
        sink(static_cast<char>(machine.e));
        return;
    }
    if (machine.c == PrintString) {
        // Bounded by the size of memory, so a string without its '$' cannot print for ever.
        std::uint16_t address = machine.DE();
        for (int count = 0; count < 0x10000; ++count, ++address) {
            if (machine.memory[address] == '$') {
                return;
            }
            sink(static_cast<char>(machine.memory[address]));
        }
        Raise(machine, 1, StopCode::BadSystemCall, " Bad System Call ");
    }
    Raise(machine, 1, StopCode::BadSystemCall, " Bad System Call ");
}

bool CpmConsole::LoadCom(C8085Object& machine, std::span<const std::uint8_t> image,
                         std::string& error) {
    if (image.empty()) {
        error = "The program is empty";
        return false;
    }
    if (image.size() > static_cast<std::size_t>(TopOfMemory - LoadAddress)) {
        error = "The program is too large: " + std::to_string(image.size()) + " bytes, at most " +
                std::to_string(TopOfMemory - LoadAddress);
        return false;
    }
    machine.Reset();
    for (std::size_t i = 0; i < image.size(); ++i) {
        machine.memory[LoadAddress + i] = image[i];
    }
    machine.memory[0x0000] = Hlt;
    machine.memory[0x0005] = Jmp;
    machine.memory[0x0006] = static_cast<std::uint8_t>(TopOfMemory & 0xFF);
    machine.memory[0x0007] = static_cast<std::uint8_t>(TopOfMemory >> 8);
    machine.memory[TopOfMemory] = Hlt;
    machine.sp = TopOfMemory;
    machine.SetStartAddress(LoadAddress);
    machine.pc = LoadAddress;
    return true;
}

bool CpmConsole::LoadComFile(C8085Object& machine, const std::string& path, std::string& error) {
    // Regular files only, opened without waiting: a named pipe would hold the runner for ever.
    std::string problem;
    const int fd = RegularFile::OpenForReading(path, problem);
    if (fd < 0) {
        error = "Cannot open " + path + ": " + problem;
        return false;
    }
    // One byte more than fits is enough to tell that the file is too large; the rest is only
    // counted, so that the message names the file's real size.
    const std::size_t limit = TopOfMemory - LoadAddress + 1u;
    std::vector<std::uint8_t> image;
    std::uint64_t size = 0;
    std::uint8_t block[4096];
    for (;;) {
        const ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = "Cannot read " + path + ": " + std::strerror(errno);
            close(fd);
            return false;
        }
        if (got == 0) {
            break;
        }
        const auto count = static_cast<std::size_t>(got);
        const std::size_t kept = std::min(count, limit - std::min(limit, image.size()));
        image.insert(image.end(), block, block + kept);
        size += count;
    }
    close(fd);
    if (size >= limit) {
        error = path + ": The program is too large: " + std::to_string(size) + " bytes, at most " +
                std::to_string(limit - 1);
        return false;
    }
    if (!LoadCom(machine, image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::uint64_t CpmConsole::RunCpm(C8085Object& machine, std::uint64_t maxSteps) {
    std::uint64_t steps = 0;
    while (steps < maxSteps && machine.pc != 0x0000) {
        machine.Step();
        ++steps;
    }
    return steps;
}
