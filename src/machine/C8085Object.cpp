#include "machine/C8085Object.h"

#include "machine/C8085Operations.h"
#include "machine/OpcodeTable.h"
#include "machine/Raise.h"
#include "machine/SystemCallHandler.h"
#include "machine/SystemCallObserver.h"

#include <algorithm>
#include <cstdio>

C8085Object::C8085Object() {
    const ExecuteBindings& bindings = C8085Operations::Bindings();
    BindExecuteOperations(bindings);
    dispatch = C8085Operations::CountingOperations();
    const auto& table = OpcodeTable();
    constexpr std::size_t ret = 0xC9;
    returnStates = static_cast<std::uint8_t>(table[ret].tStates);
    ports.fill(0);
    checkpointInterval = 63;
    checkpoints[0] = 0;
    Reset();
}

std::string C8085Object::PositionText() const {
    char text[32];
    std::snprintf(text, sizeof text, "IP = %d -  ", static_cast<int>(pc));
    return text;
}

void C8085Object::Reset() {
    static constexpr std::array<int, LedCount> digitsOneToEight = {6,   59,  47, 102,
                                                                   109, 125, 7,  127};
    for (int i = 0; i < LedCount; ++i) {
        ledCells[i].store(digitsOneToEight[i], std::memory_order_relaxed);
    }
    SetLedChanged(1);
    startAddress = 0;
    pc = 0;
    sp = 0xFFEE;
    flags = 0xA0;
    memory.fill(0);
    a = b = c = d = 0;
    callDepth = 0;
    stepOutArmed = 0;
    stepOutDepth = -1;
    ZeroCounters();
}

std::uint16_t C8085Object::WriteByte(std::uint16_t address, std::uint8_t value) {
    memory[address] = value;
    lastWritten = address;
    return address;
}

void C8085Object::WriteByteAndWord(std::uint16_t address, std::uint8_t byte, std::uint16_t word) {
    const auto second = static_cast<std::uint16_t>(address + 1);
    memory[address] = byte;
    memory[second] = static_cast<std::uint8_t>(word);
    memory[static_cast<std::uint16_t>(address + 2)] = static_cast<std::uint8_t>(word >> 8);
    lastWritten = second;
}

void C8085Object::WriteTwoBytes(std::uint16_t address, std::uint8_t first, std::uint8_t second) {
    const auto next = static_cast<std::uint16_t>(address + 1);
    memory[address] = first;
    memory[next] = second;
    lastWritten = next;
}

void C8085Object::Start() {
    pc = startAddress;
    long address = checkpoints[0];
    for (int k = 1; k < CheckpointCount; ++k) {
        for (int i = 0; i < checkpointInterval; ++i) {
            address += InstructionLength(memory[static_cast<std::size_t>(address)]);
            if (address > 0xFFFF) {
                std::fill(checkpoints.begin() + k, checkpoints.end(), 0xFFFF);
                return;
            }
        }
        checkpoints[k] = static_cast<std::uint16_t>(address);
    }
}

void C8085Object::CountReturnEndingStepOut() {
    tStateCount += static_cast<std::uint64_t>(OpcodeTable()[currentOpcode].tStatesTaken);
    ++instructionCount;
}

void C8085Object::SkipSystemCall() {
    constexpr std::size_t call = 0xCD;
    pc = static_cast<std::uint16_t>(pc + 3);
    tStateCount += static_cast<std::uint64_t>(OpcodeTable()[call].tStates) + returnStates;
    ++instructionCount;
}

int C8085Object::CheckpointIndex(std::uint16_t address) const {
    for (int k = 1; k < CheckpointCount; ++k) {
        if (checkpoints[k - 1] < address && address <= checkpoints[k]) {
            return k;
        }
    }
    return CheckpointCount;
}

std::uint16_t C8085Object::Checkpoint(int k) const {
    return checkpoints[static_cast<std::size_t>(((k % CheckpointCount) + CheckpointCount) %
                                                CheckpointCount)];
}

int C8085Object::GetLedCell(int i) const {
    if (i < 0 || i >= LedCount) {
        return 0;
    }
    return ledCells[i].load(std::memory_order_relaxed);
}

void C8085Object::SetLedCell(int i, int groupSize, int firstCell, int code) {
    // An index outside its group is ignored rather than written into a neighbour's cell.
    if (i < 0 || i >= groupSize) {
        return;
    }
    ledCells[firstCell + i].store(code, std::memory_order_relaxed);
}

void C8085Object::ClearLeds() {
    for (auto& cell : ledCells) {
        cell.store(0, std::memory_order_relaxed);
    }
}

void C8085Object::SetStepOut(int on) {
    stepOutArmed = on;
    stepOutDepth = callDepth;
}

void C8085Object::SystemCall() {
    if (systemCallHandler == nullptr) {
        Raise(*this, 1, StopCode::BadSystemCall, " Bad System Call ");
    }
    systemCallHandler->SystemCall(*this);
    if (systemCallObserver != nullptr) {
        systemCallObserver->SystemCallCompleted(*this);
    }
}

bool C8085Object::IsSystemCallAt(std::uint16_t address) const {
    constexpr std::uint8_t call = 0xCD;
    return memory[address] == call && memory[static_cast<std::uint16_t>(address + 1)] == 0x05 &&
           memory[static_cast<std::uint16_t>(address + 2)] == 0x00;
}

const char* C8085Object::InstructionTextAt(std::uint16_t address, std::string_view prefix) {
    const std::string text = InstructionText(memory, address, prefix);
    const std::size_t length = std::min(text.size(), textBuffer.size() - 1);
    std::copy_n(text.begin(), length, textBuffer.begin());
    textBuffer[length] = '\0';
    return textBuffer.data();
}
