#pragma once

#include "machine/InstructionSet.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

class SystemCallHandler;
class SystemCallObserver;

// The simulated 8085 of one document: memory, registers, flags, ports, LED cells and the
// bookkeeping the debugger needs. The panes read and write the public fields directly.
class C8085Object : public InstructionSet {
public:
    // Flag bits of the PSW; bits 5, 3 and 1 belong to no flag but are stored like the others.
    static constexpr std::uint8_t FlagS = 0x80;
    static constexpr std::uint8_t FlagZ = 0x40;
    static constexpr std::uint8_t FlagAC = 0x10;
    static constexpr std::uint8_t FlagP = 0x04;
    static constexpr std::uint8_t FlagCY = 0x01;
    static constexpr int CheckpointCount = 1024;
    static constexpr int LedCount = 8;

    C8085Object();
    C8085Object(const C8085Object&) = delete;
    C8085Object& operator=(const C8085Object&) = delete;
    ~C8085Object() override = default;

    // "IP = <pc in decimal> -  ", in front of every stop message.
    std::string PositionText() const override;

    void Reset();
    void SetStartAddress(std::uint16_t address) { startAddress = address; }
    std::uint16_t WriteByte(std::uint16_t address, std::uint8_t value);
    void WriteByteAndWord(std::uint16_t address, std::uint8_t byte, std::uint16_t word);
    void WriteTwoBytes(std::uint16_t address, std::uint8_t first, std::uint8_t second);

    // Executes the instruction at pc; every stop leaves as a thrown CMyException. A completed
    // instruction is counted with its T-states.
    void Step() {
        tStateCount += StepUncounted();
        ++instructionCount;
    }
    // Executes the instruction at pc without counting it; returns its T-states: the figure of the
    // opcode, the taken figure when a condition held (the operation then set pc itself).
    unsigned StepUncounted() {
        const std::uint8_t opcode = memory[pc];
        currentOpcode = opcode;
        // Low 16 bits: the length to advance by, 0 when the operation has set pc itself; above
        // them the T-states (see C8085Operations::CountingOperations).
        const int result = dispatch[opcode](*this);
        pc = static_cast<std::uint16_t>(pc + (result & 0xFFFF));
        return static_cast<unsigned>(result) >> 16;
    }
    // Steps while `running` is nonzero, at most `limit` instructions, and counts them as Step
    // does; returns how many completed. The hot loop of a full-speed run: the counts stay in
    // registers until it returns or a stop leaves it.
    std::uint64_t RunWhile(const std::atomic<int>& running, std::uint64_t limit) {
        std::uint64_t left = limit;
        std::uint64_t clocks = 0;
        try {
            while (left != 0 && running.load(std::memory_order_relaxed) != 0) {
                clocks += StepUncounted();
                --left;
            }
        } catch (...) {
            instructionCount += limit - left;
            tStateCount += clocks;
            throw;
        }
        instructionCount += limit - left;
        tStateCount += clocks;
        return limit - left;
    }
    // A system call stands for a CALL and the RET that ends the routine called.
    void AddSystemCallReturnStates() { tStateCount += returnStates; }
    // The return that ends a step-out completes, then leaves Step by a throw.
    void CountReturnEndingStepOut();
    // A system call completed without executing it (a replay of its recorded effect): pc past
    // the CALL, counted as the CALL and the RET.
    void SkipSystemCall();
    void ZeroCounters() {
        instructionCount = 0;
        tStateCount = 0;
    }

    // pc = startAddress, and the checkpoints describe the memory as it is now.
    void Start();
    // The smallest k in 1..1023 with checkpoint k-1 < address <= checkpoint k; 1024 when none.
    int CheckpointIndex(std::uint16_t address) const;
    std::uint16_t Checkpoint(int k) const;
    static std::uint16_t MemoryEnd() { return 0xFFFF; }

    // The LED cells are read by the LED window while a run sets them, hence the atomics.
    int GetLedCell(int i) const;
    void SetLeftPair(int i, int code) { SetLedCell(i, 2, 0, code); }
    void SetMiddle(int i, int code) { SetLedCell(i, 4, 2, code); }
    void SetRightPair(int i, int code) { SetLedCell(i, 2, 6, code); }
    void ClearLeds();
    void SetLedChanged(int v) { ledChanged.store(v, std::memory_order_relaxed); }
    int IsLedChanged() const { return ledChanged.load(std::memory_order_relaxed); }

    void SetStepOut(int on);

    // CALL 0x0005: hands the machine to the system-call handler; without one it is a bad call.
    void SystemCall();
    // The instruction at `address` is a system call (an unconditional CALL 0x0005; conditional
    // calls to 0x0005 are ordinary calls), which may wait for a device.
    bool IsSystemCallAt(std::uint16_t address) const;
    void SetSystemCallHandler(SystemCallHandler* handler) { systemCallHandler = handler; }
    SystemCallHandler* GetSystemCallHandler() const { return systemCallHandler; }
    void SetSystemCallObserver(SystemCallObserver* observer) { systemCallObserver = observer; }
    SystemCallObserver* GetSystemCallObserver() const { return systemCallObserver; }

    // The disassembly of the instruction at `address` in this machine's memory, kept in
    // textBuffer until the next call.
    const char* InstructionTextAt(std::uint16_t address, std::string_view prefix);

    std::uint16_t HL() const { return static_cast<std::uint16_t>(h << 8 | l); }
    std::uint16_t BC() const { return static_cast<std::uint16_t>(b << 8 | c); }
    std::uint16_t DE() const { return static_cast<std::uint16_t>(d << 8 | e); }

    Memory memory{};
    std::uint16_t pc = 0;
    std::uint16_t startAddress = 0;
    std::uint8_t a = 0;
    std::uint8_t b = 0, c = 0;
    std::uint8_t d = 0, e = 0;
    std::uint8_t h = 0, l = 0;
    std::uint8_t flags = 0;
    std::uint16_t sp = 0;
    std::array<std::uint8_t, 256> ports{};
    std::array<std::uint16_t, CheckpointCount> checkpoints{};
    std::uint8_t currentOpcode = 0;
    int checkpointInterval = 63;
    std::uint16_t lastWritten = 0;
    std::array<char, 258> textBuffer{};
    std::array<std::atomic<int>, LedCount> ledCells{};
    std::atomic<int> ledChanged = 0;
    int callDepth = 0;
    int stepOutDepth = -1;
    int stepOutArmed = 0;
    // Instructions completed and their T-states since the last reset or ZeroCounters.
    std::uint64_t instructionCount = 0;
    std::uint64_t tStateCount = 0;

private:
    void SetLedCell(int i, int groupSize, int firstCell, int code);

    std::array<ExecuteOperation, 256> dispatch{};
    std::uint8_t returnStates = 0;
    SystemCallHandler* systemCallHandler = nullptr;
    SystemCallObserver* systemCallObserver = nullptr;
};
