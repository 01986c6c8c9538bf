#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One test case of zorvan-grade's CASES file: what the machine starts with beyond the assembled
// program, what the devices give it, its limits, and what it must end with. Only what a case
// names is compared.
struct GradeCase {
    // Registers as a case names them; the pairs, SP and PC take 16 bits, F is the flag byte.
    enum class Register { A, B, C, D, E, H, L, F, BC, DE, HL, SP, PC };
    enum class Flag { S, Z, AC, P, CY };
    // How a run ends.
    enum class Stop {
        Halt,
        IllegalInstruction,
        BadSystemCall,
        StepLimit,
        TimeLimit,
        Breakpoint,
        LedRange,
        NoInput, // a serial read after the last byte the case gives
        Error,   // any other stop
    };

    struct RegisterValue {
        Register name;
        std::uint16_t value;
    };
    struct FlagValue {
        Flag name;
        bool set;
    };
    struct Bytes {
        std::uint16_t address; // the bytes go on at address+1, ... modulo 65,536
        std::vector<std::uint8_t> bytes;
    };
    struct Port {
        std::uint8_t number;
        std::uint8_t value;
    };
    struct LedCell {
        int cell; // 0..7, left to right
        std::uint8_t code;
    };

    // The machine's state: a preset sets it before the run, an expectation compares it after.
    struct State {
        std::vector<RegisterValue> registers;
        std::vector<FlagValue> flags;
        std::vector<Bytes> memory;
        std::vector<Port> ports;
    };

    struct Expectations {
        std::optional<Stop> stop;
        State state;
        std::vector<LedCell> led;
        std::optional<std::string> printed;
        std::optional<std::string> com1; // bytes the program sent
        std::optional<std::string> com2;
        std::optional<int> beeps;
    };

    std::string name;
    double points = 1;
    int line = 0; // where the case starts in the CASES file
    State preset;
    std::vector<std::string> keyboard; // answers to the number prompts, as typed
    std::string com1;                  // bytes arriving on COM1
    std::string com2;
    std::uint64_t stepLimit = 0;
    double timeLimit = 0; // seconds of wall-clock time
    Expectations expect;

    static const char* RegisterName(Register name);
    static const char* FlagName(Flag name);
    static const char* StopName(Stop stop);
    static std::optional<Register> FindRegister(const std::string& name);
    static std::optional<Flag> FindFlag(const std::string& name);
    static std::optional<Stop> FindStop(const std::string& name);
    // "halt, illegal_instruction, ..." for messages.
    static std::string StopNames();
};
