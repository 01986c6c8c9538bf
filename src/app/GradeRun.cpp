#include "app/GradeRun.h"

#include "app/AssembledProgram.h"
#include "app/GradeComparison.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/ErrorCodes.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace {

// Instructions between two looks at the clock: the look costs far less than the slice.
constexpr std::uint64_t sliceSteps = 4096;

GradeCase::Stop StopOf(const CMyException& stop) {
    using S = GradeCase::Stop;
    switch (stop.code) {
    case StopCode::Halt:
        return S::Halt;
    case StopCode::IllegalInstruction:
        return S::IllegalInstruction;
    case StopCode::BadSystemCall:
        return S::BadSystemCall;
    case StopCode::Breakpoint:
        return S::Breakpoint;
    case StopCode::LedRange:
        return S::LedRange;
    case StopCode::SerialIo:
        return S::NoInput;
    default:
        return S::Error;
    }
}

void SetRegister(C8085Object& machine, GradeCase::Register name, std::uint16_t value) {
    using R = GradeCase::Register;
    const auto low = static_cast<std::uint8_t>(value & 0xFF);
    const auto high = static_cast<std::uint8_t>(value >> 8);
    switch (name) {
    case R::A:
        machine.a = low;
        break;
    case R::B:
        machine.b = low;
        break;
    case R::C:
        machine.c = low;
        break;
    case R::D:
        machine.d = low;
        break;
    case R::E:
        machine.e = low;
        break;
    case R::H:
        machine.h = low;
        break;
    case R::L:
        machine.l = low;
        break;
    case R::F:
        machine.flags = low;
        break;
    case R::BC:
        machine.b = high;
        machine.c = low;
        break;
    case R::DE:
        machine.d = high;
        machine.e = low;
        break;
    case R::HL:
        machine.h = high;
        machine.l = low;
        break;
    case R::SP:
        machine.sp = value;
        break;
    case R::PC:
        machine.pc = value;
        break;
    }
}

} // namespace

GradeRun::GradeRun() : machine(std::make_unique<C8085Object>()) {
    devices.Attach(*machine);
}

GradeRun::~GradeRun() = default;

GradeReport::CaseResult GradeRun::Run(const AssembledProgram& program, const GradeCase& test) {
    program.LoadInto(*machine);
    devices.Reset(test.keyboard, test.com1, test.com2);
    ApplyPreset(test.preset);
    GradeReport::CaseResult result;
    const auto stop = Execute(test, result.steps);
    result.stop = GradeCase::StopName(stop);
    const auto difference = GradeComparison::FirstDifference(test.expect, stop, *machine, devices);
    result.passed = !difference;
    result.points = result.passed ? test.points : 0;
    result.difference = difference.value_or("");
    return result;
}

void GradeRun::ApplyPreset(const GradeCase::State& preset) {
    for (const auto& range : preset.memory) {
        for (std::size_t i = 0; i < range.bytes.size(); ++i) {
            machine->memory[static_cast<std::uint16_t>(range.address + i)] = range.bytes[i];
        }
    }
    for (const auto& [name, value] : preset.registers) {
        SetRegister(*machine, name, value);
    }
    for (const auto& [name, set] : preset.flags) {
        const auto mask = GradeComparison::FlagMask(name);
        machine->flags =
            static_cast<std::uint8_t>(set ? machine->flags | mask : machine->flags & ~mask);
    }
    for (const auto& [number, value] : preset.ports) {
        machine->ports[number] = value;
    }
}

GradeCase::Stop GradeRun::Execute(const GradeCase& test, std::uint64_t& steps) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(test.timeLimit));
    // The machine's own loop keeps its counts in registers; only the limits are looked at
    // between slices.
    const std::atomic<int> running{1};
    const std::uint64_t countBefore = machine->instructionCount;
    steps = 0;
    try {
        for (;;) {
            const auto slice = std::min(test.stepLimit - steps, sliceSteps);
            if (slice == 0) {
                return GradeCase::Stop::StepLimit;
            }
            if (Clock::now() >= deadline) {
                return GradeCase::Stop::TimeLimit;
            }
            steps += machine->RunWhile(running, slice);
        }
    } catch (const CMyException& stop) {
        steps = machine->instructionCount - countBefore;
        return StopOf(stop);
    }
}
