#include "app/GradeComparison.h"

#include "app/GradeDevices.h"
#include "machine/C8085Object.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t shownBytes = 32; // of a long text, around its first difference

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, value);
    return text;
}

std::string Byte(unsigned value) {
    return Hex(value, 2);
}

bool IsWide(GradeCase::Register name) {
    return name >= GradeCase::Register::BC;
}

} // namespace

std::uint16_t GradeComparison::RegisterValue(const C8085Object& machine, GradeCase::Register name) {
    using R = GradeCase::Register;
    switch (name) {
    case R::A:
        return machine.a;
    case R::B:
        return machine.b;
    case R::C:
        return machine.c;
    case R::D:
        return machine.d;
    case R::E:
        return machine.e;
    case R::H:
        return machine.h;
    case R::L:
        return machine.l;
    case R::F:
        return machine.flags;
    case R::BC:
        return machine.BC();
    case R::DE:
        return machine.DE();
    case R::HL:
        return machine.HL();
    case R::SP:
        return machine.sp;
    case R::PC:
        return machine.pc;
    }
    return 0;
}

std::uint8_t GradeComparison::FlagMask(GradeCase::Flag name) {
    using F = GradeCase::Flag;
    switch (name) {
    case F::S:
        return C8085Object::FlagS;
    case F::Z:
        return C8085Object::FlagZ;
    case F::AC:
        return C8085Object::FlagAC;
    case F::P:
        return C8085Object::FlagP;
    case F::CY:
        return C8085Object::FlagCY;
    }
    return 0;
}

std::string GradeComparison::Quoted(const std::string& bytes) {
    std::string text = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string GradeComparison::TextDifference(const std::string& what, const std::string& got,
                                            const std::string& want) {
    if (got.size() <= shownBytes && want.size() <= shownBytes) {
        return what + " = " + Quoted(got) + ", expected " + Quoted(want);
    }
    const auto mismatch = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    const auto at = static_cast<std::size_t>(mismatch.first - got.begin());
    const auto from = at > shownBytes / 4 ? at - shownBytes / 4 : 0;
    return what + "[" + std::to_string(from) + "..] = " + Quoted(got.substr(from, shownBytes)) +
           ", expected " + Quoted(want.substr(std::min(from, want.size()), shownBytes)) + " (" +
           std::to_string(got.size()) + " bytes, expected " + std::to_string(want.size()) + ")";
}

std::optional<std::string> GradeComparison::FirstDifference(const GradeCase::Expectations& expect,
                                                            GradeCase::Stop stop,
                                                            const C8085Object& machine,
                                                            const GradeDevices& devices) {
    if (expect.stop && *expect.stop != stop) {
        return std::string("stop = ") + GradeCase::StopName(stop) + ", expected " +
               GradeCase::StopName(*expect.stop);
    }
    for (const auto& [name, value] : expect.state.registers) {
        const auto got = RegisterValue(machine, name);
        if (got != value) {
            const int digits = IsWide(name) ? 4 : 2;
            return std::string(GradeCase::RegisterName(name)) + " = " + Hex(got, digits) +
                   ", expected " + Hex(value, digits);
        }
    }
    for (const auto& [name, set] : expect.state.flags) {
        const bool got = (machine.flags & FlagMask(name)) != 0;
        if (got != set) {
            return std::string("flag ") + GradeCase::FlagName(name) + " = " + (got ? "1" : "0") +
                   ", expected " + (set ? "1" : "0");
        }
    }
    for (const auto& range : expect.state.memory) {
        for (std::size_t i = 0; i < range.bytes.size(); ++i) {
            const auto address = static_cast<std::uint16_t>(range.address + i);
            if (machine.memory[address] != range.bytes[i]) {
                return "memory[" + Hex(address, 4) + "] = " + Byte(machine.memory[address]) +
                       ", expected " + Byte(range.bytes[i]);
            }
        }
    }
    for (const auto& [number, value] : expect.state.ports) {
        if (machine.ports[number] != value) {
            return "port[" + Byte(number) + "] = " + Byte(machine.ports[number]) + ", expected " +
                   Byte(value);
        }
    }
    for (const auto& [cell, code] : expect.led) {
        const auto got = static_cast<unsigned>(machine.GetLedCell(cell) & 0xFF);
        if (got != code) {
            return "led[" + std::to_string(cell) + "] = " + Byte(got) + ", expected " + Byte(code);
        }
    }
    if (expect.printed && devices.Printed() != *expect.printed) {
        return TextDifference("printed", devices.Printed(), *expect.printed);
    }
    if (expect.com1 && devices.Sent(0) != *expect.com1) {
        return TextDifference("com1", devices.Sent(0), *expect.com1);
    }
    if (expect.com2 && devices.Sent(1) != *expect.com2) {
        return TextDifference("com2", devices.Sent(1), *expect.com2);
    }
    if (expect.beeps && devices.Beeps() != *expect.beeps) {
        return "beeps = " + std::to_string(devices.Beeps()) + ", expected " +
               std::to_string(*expect.beeps);
    }
    return std::nullopt;
}
