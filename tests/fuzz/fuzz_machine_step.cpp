// Runs arbitrary bytes as a program: whatever memory and registers hold, a step either completes
// or stops with CMyException, and the disassembly and checkpoints of that memory stay in bounds.
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/SystemCallHandler.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

class IgnoringHandler : public SystemCallHandler {
public:
    void SystemCall(C8085Object&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static C8085Object machine;
    static IgnoringHandler handler;
    machine.Reset();
    // Half of the inputs run without a handler, so CALL 5 stops as a bad system call.
    machine.SetSystemCallHandler(size % 2 == 0 ? &handler : nullptr);
    constexpr std::size_t registerBytes = 10;
    if (size >= registerBytes) {
        machine.a = data[0];
        machine.b = data[1];
        machine.c = data[2];
        machine.d = data[3];
        machine.e = data[4];
        machine.h = data[5];
        machine.l = data[6];
        machine.flags = data[7];
        machine.sp = static_cast<std::uint16_t>(data[8] << 8 | data[9]);
        data += registerBytes;
        size -= registerBytes;
    }
    std::memcpy(machine.memory.data(), data,
                size < machine.memory.size() ? size : machine.memory.size());
    machine.SetStepOut(size > 0 ? data[0] & 1 : 0);
    machine.Start();
    for (int step = 0; step < 4096; ++step) {
        const char* text = machine.InstructionTextAt(machine.pc, "0x");
        if (std::strlen(text) >= machine.textBuffer.size()) {
            __builtin_trap();
        }
        const int index = machine.CheckpointIndex(machine.pc);
        if (index < 1 || index > C8085Object::CheckpointCount) {
            __builtin_trap();
        }
        try {
            machine.Step();
        } catch (const CMyException& stop) {
            if (stop.message.rfind("IP = ", 0) != 0) {
                __builtin_trap();
            }
            break;
        }
    }
    return 0;
}
