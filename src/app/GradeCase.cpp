#include "app/GradeCase.h"

#include <array>
#include <utility>

namespace {

template <typename Value, std::size_t Count>
using Names = std::array<std::pair<Value, const char*>, Count>;

constexpr Names<GradeCase::Register, 13> registerNames{{
    {GradeCase::Register::A, "a"},
    {GradeCase::Register::B, "b"},
    {GradeCase::Register::C, "c"},
    {GradeCase::Register::D, "d"},
    {GradeCase::Register::E, "e"},
    {GradeCase::Register::H, "h"},
    {GradeCase::Register::L, "l"},
    {GradeCase::Register::F, "f"},
    {GradeCase::Register::BC, "bc"},
    {GradeCase::Register::DE, "de"},
    {GradeCase::Register::HL, "hl"},
    {GradeCase::Register::SP, "sp"},
    {GradeCase::Register::PC, "pc"},
}};

constexpr Names<GradeCase::Flag, 5> flagNames{{
    {GradeCase::Flag::S, "s"},
    {GradeCase::Flag::Z, "z"},
    {GradeCase::Flag::AC, "ac"},
    {GradeCase::Flag::P, "p"},
    {GradeCase::Flag::CY, "cy"},
}};

constexpr Names<GradeCase::Stop, 9> stopNames{{
    {GradeCase::Stop::Halt, "halt"},
    {GradeCase::Stop::IllegalInstruction, "illegal_instruction"},
    {GradeCase::Stop::BadSystemCall, "bad_system_call"},
    {GradeCase::Stop::StepLimit, "step_limit"},
    {GradeCase::Stop::TimeLimit, "time_limit"},
    {GradeCase::Stop::Breakpoint, "breakpoint"},
    {GradeCase::Stop::LedRange, "led_range"},
    {GradeCase::Stop::NoInput, "no_input"},
    {GradeCase::Stop::Error, "error"},
}};

template <typename Value, std::size_t Count>
const char* NameOf(const Names<Value, Count>& names, Value value) {
    for (const auto& [known, name] : names) {
        if (known == value) {
            return name;
        }
    }
    return "?";
}

template <typename Value, std::size_t Count>
std::optional<Value> Find(const Names<Value, Count>& names, const std::string& name) {
    for (const auto& [value, known] : names) {
        if (name == known) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace

const char* GradeCase::RegisterName(Register name) {
    return NameOf(registerNames, name);
}

const char* GradeCase::FlagName(Flag name) {
    return NameOf(flagNames, name);
}

const char* GradeCase::StopName(Stop stop) {
    return NameOf(stopNames, stop);
}

std::optional<GradeCase::Register> GradeCase::FindRegister(const std::string& name) {
    return Find(registerNames, name);
}

std::optional<GradeCase::Flag> GradeCase::FindFlag(const std::string& name) {
    return Find(flagNames, name);
}

std::optional<GradeCase::Stop> GradeCase::FindStop(const std::string& name) {
    return Find(stopNames, name);
}

std::string GradeCase::StopNames() {
    std::string text;
    for (const auto& [value, name] : stopNames) {
        text += (text.empty() ? "" : ", ") + std::string(name);
    }
    return text;
}
