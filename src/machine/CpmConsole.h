#pragma once

#include "machine/SystemCallHandler.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

// Runs CP/M .COM programs (the CPU test programs among them) on the machine: the system call
// behaves as the console functions of the CP/M BDOS, selected by register C.
//   C = 2: print the character in E.
//   C = 9: print the string at DE up to '$'.
// Any other function is a bad system call, so a program that needs more stops visibly.
class CpmConsole : public SystemCallHandler {
public:
    using Sink = std::function<void(char)>;

    static constexpr std::uint16_t LoadAddress = 0x0100;
    // Top of the program's memory, read by programs from the word at 0x0006; they set their
    // stack there. It holds a HLT, so a stray jump to the BDOS entry stops with a halt.
    static constexpr std::uint16_t TopOfMemory = 0xFF00;

    explicit CpmConsole(Sink sink);

    void SystemCall(C8085Object& machine) override;

    // Resets the machine, puts the image at 0x0100, prepares page zero and sets pc = 0x0100.
    // Returns false with a message when the image is empty or does not fit below TopOfMemory.
    static bool LoadCom(C8085Object& machine, std::span<const std::uint8_t> image,
                        std::string& error);
    // Reads the file and loads it as LoadCom does; false with a message on any failure.
    static bool LoadComFile(C8085Object& machine, const std::string& path, std::string& error);

    // Steps until the program jumps to 0x0000 (its end) or maxSteps have been taken; returns the
    // steps taken. Stops of the machine (halt, illegal instruction, ...) leave as CMyException.
    static std::uint64_t RunCpm(C8085Object& machine, std::uint64_t maxSteps);

private:
    Sink sink;
};
