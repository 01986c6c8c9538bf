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
    // The program is the whole input and the registers are its last bytes (0 where it is
    // shorter), so that even the few-byte inputs libFuzzer starts with set both: it grows its
    // inputs only slowly.
    const auto fromEnd = [data, size](std::size_t index) -> std::uint8_t {
        return index < size ? data[size - 1 - index] : 0;
    };
    machine.a = fromEnd(0);
    machine.b = fromEnd(1);
    machine.c = fromEnd(2);
    machine.d = fromEnd(3);
    machine.e = fromEnd(4);
    machine.h = fromEnd(5);
    machine.l = fromEnd(6);
    machine.flags = fromEnd(7);
    machine.sp = static_cast<std::uint16_t>(fromEnd(8) << 8 | fromEnd(9));
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
