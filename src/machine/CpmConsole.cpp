#include "machine/CpmConsole.h"

#include "machine/C8085Object.h"
#include "machine/Raise.h"

#include <fstream>
#include <iterator>
#include <limits>
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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "Cannot open " + path;
        return false;
    }
    // One byte more than fits is enough to tell that the file is too large.
    std::vector<std::uint8_t> image;
    const std::size_t limit = TopOfMemory - LoadAddress + 1u;
    char byte = 0;
    while (image.size() < limit && file.get(byte)) {
        image.push_back(static_cast<std::uint8_t>(byte));
    }
    // Counted to the end, so that the message names the file's real size.
    std::uint64_t size = image.size();
    if (image.size() == limit) {
        file.ignore(std::numeric_limits<std::streamsize>::max());
        size += static_cast<std::uint64_t>(file.gcount());
    }
    if (file.bad()) {
        error = "Cannot read " + path;
        return false;
    }
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
