#include "machine/SystemCalls.h"

#include "machine/Beeper.h"
#include "machine/C8085Object.h"
#include "machine/Delay.h"
#include "machine/NumberPrompt.h"
#include "machine/Printer.h"
#include "machine/Raise.h"
#include "machine/SegmentCodes.h"
#include "machine/SerialPort.h"

#include <cstdio>

namespace {

constexpr int pointCode = 0x80;
constexpr int errLetterCode = 0x30; // segments e and g: a small "r"
constexpr int beepMs = 75;
constexpr int delayMsPerCount = 7;

[[noreturn]] void BadCall(const C8085Object& machine) {
    Raise(machine, 1, StopCode::BadSystemCall, " Bad System Call ");
}

void SetCell(C8085Object& machine, int cell, int code) {
    if (cell < 2) {
        machine.SetLeftPair(cell, code);
    } else if (cell < 6) {
        machine.SetMiddle(cell - 2, code);
    } else {
        machine.SetRightPair(cell - 6, code);
    }
}

std::uint8_t MemoryAfterHL(const C8085Object& machine, int offset) {
    return machine.memory[static_cast<std::uint16_t>(machine.HL() + offset)];
}

// The middle group shows "Err" on an otherwise dark display.
void ShowErr(C8085Object& machine) {
    machine.ClearLeds();
    SetCell(machine, 2, DigitCode(14));
    SetCell(machine, 3, errLetterCode);
    SetCell(machine, 4, errLetterCode);
}

// The cells shown by the byte-per-cell calls: first cell and count by sub-function.
struct CellRange {
    int first;
    int count;
};

std::uint8_t AsciiHexDigit(int nibble) {
    return static_cast<std::uint8_t>(nibble < 10 ? '0' + nibble : 'A' + nibble - 10);
}

// Either case of A-F counts 10-15; other characters give what the arithmetic gives.
int HexCharValue(std::uint8_t ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    const int upper = ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch;
    return upper > 'A' ? (ch - 0x37) & 0x0F : (ch - 0x57) & 0x0F;
}

std::string HexInitialText(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%.4x", value);
    return text;
}

} // namespace

void SystemCalls::SystemCall(C8085Object& machine) {
    bool ledTouched = false;
    switch (machine.a) {
    case 0:
    case 10:
        break;
    case 1:
        ledTouched = ClearCells(machine);
        break;
    case 2:
        ledTouched = SetPoints(machine);
        break;
    case 3:
        ledTouched = DigitsFromMemory(machine);
        break;
    case 4:
        ShowErr(machine);
        ledTouched = true;
        break;
    case 5:
        ReadKey(machine);
        break;
    case 6:
        AsciiConversion(machine);
        break;
    case 7:
        ledTouched = Subtract(machine);
        break;
    case 8:
        Beep(machine);
        break;
    case 9:
        Wait(machine);
        break;
    case 11:
        ledTouched = ShowBytes(machine);
        break;
    case 12:
        ledTouched = ReadKeysWithDisplay(machine);
        break;
    case 13:
        ledTouched = RawFromMemory(machine);
        break;
    case 14:
        SerialReceive(machine);
        break;
    case 15:
        SerialSend(machine);
        break;
    case 16:
        Print(machine);
        break;
    case 17:
        PrintText(machine, "\r\n");
        break;
    default:
        BadCall(machine);
    }
    if (ledTouched) {
        machine.SetLedChanged(1);
    }
}

bool SystemCalls::ClearCells(C8085Object& machine) {
    static constexpr CellRange ranges[] = {{2, 4}, {6, 2}, {0, 2}, {0, 8}};
    if (machine.c >= std::size(ranges)) {
        BadCall(machine);
    }
    const auto range = ranges[machine.c];
    for (int i = 0; i < range.count; ++i) {
        SetCell(machine, range.first + i, 0);
    }
    return true;
}

bool SystemCalls::SetPoints(C8085Object& machine) {
    static constexpr CellRange ranges[] = {{7, 1}, {5, 1}, {4, 2}, {1, 1}};
    if (machine.c >= std::size(ranges)) {
        BadCall(machine);
    }
    const auto range = ranges[machine.c];
    for (int i = 0; i < range.count; ++i) {
        SetCell(machine, range.first + i, pointCode);
    }
    return true;
}

bool SystemCalls::DigitsFromMemory(C8085Object& machine) {
    static constexpr CellRange groups[] = {{6, 2}, {2, 4}, {0, 2}, {0, 8}}; // C = 8, 9, 10, 11
    CellRange range{};
    if (machine.c <= 7) {
        range = {machine.c, 1};
    } else if (machine.c <= 11) {
        range = groups[machine.c - 8];
    } else {
        BadCall(machine);
    }
    for (int i = 0; i < range.count; ++i) {
        // A byte above 19 throws here, after the cells of the bytes before it are set.
        SetCell(machine, range.first + i, DigitCode(MemoryAfterHL(machine, i)));
    }
    return true;
}

void SystemCalls::ReadKey(C8085Object& machine) {
    int key = 0;
    if (Prompt(machine, key, PromptMaxKey,
               "Read a key from keyboard and return the key code in reg 'A'", machine.a)) {
        machine.a = static_cast<std::uint8_t>(key);
    }
}

void SystemCalls::AsciiConversion(C8085Object& machine) {
    if (machine.c == 0) {
        machine.d = AsciiHexDigit(machine.l >> 4);
        machine.e = AsciiHexDigit(machine.l & 0x0F);
    } else if (machine.c == 1) {
        machine.a =
            static_cast<std::uint8_t>(16 * HexCharValue(machine.h) + HexCharValue(machine.l));
    } else {
        BadCall(machine);
    }
}

bool SystemCalls::Subtract(C8085Object& machine) {
    const auto difference = static_cast<std::uint16_t>(machine.BC() - machine.HL());
    machine.d = static_cast<std::uint8_t>(difference >> 8);
    machine.e = static_cast<std::uint8_t>(difference & 0xFF);
    if (machine.BC() < machine.HL()) {
        ShowErr(machine);
        return true; // otherwise the display would keep showing its old digits
    }
    return false;
}

void SystemCalls::Beep(C8085Object& machine) {
    if (machine.c > 1) {
        BadCall(machine);
    }
    devices.beeper.Beep(machine.c == 0 ? 1000 : 2000, beepMs, cancel);
    ThrowIfCancelled(machine);
}

void SystemCalls::Wait(C8085Object& machine) {
    devices.delay.Wait(std::chrono::milliseconds(machine.HL() * delayMsPerCount), cancel);
    ThrowIfCancelled(machine);
}

bool SystemCalls::ShowBytes(C8085Object& machine) {
    const auto showByte = [&machine](int firstCell, std::uint8_t value) {
        SetCell(machine, firstCell, DigitCode(value >> 4));
        SetCell(machine, firstCell + 1, DigitCode(value & 0x0F));
    };
    switch (machine.c) {
    case 0:
        showByte(0, machine.l);
        break;
    case 1:
        showByte(2, machine.h);
        showByte(4, machine.l);
        break;
    case 2:
        showByte(6, machine.l);
        break;
    default:
        BadCall(machine);
    }
    return true;
}

bool SystemCalls::ReadKeysWithDisplay(C8085Object& machine) {
    int value = 0;
    if (machine.c == 0) {
        if (!Prompt(machine, value, 0xFFFF,
                    "Read 4 keys as 16 bit data into 'HL' and display the data in address Led",
                    0)) {
            return false;
        }
        machine.h = static_cast<std::uint8_t>(value >> 8);
        machine.l = static_cast<std::uint8_t>(value & 0xFF);
        for (int digit = 0; digit < 4; ++digit) {
            SetCell(machine, 2 + digit, DigitCode((value >> (12 - 4 * digit)) & 0x0F));
        }
        return true;
    }
    if (machine.c == 1) {
        if (!Prompt(machine, value, 0xFF,
                    "Read 2 keys as 8 bit data into 'L' and display the data in data Led", 0)) {
            return false;
        }
        machine.l = static_cast<std::uint8_t>(value);
        SetCell(machine, 4, DigitCode(value >> 4));
        SetCell(machine, 5, DigitCode(value & 0x0F));
        return true;
    }
    BadCall(machine);
}

bool SystemCalls::RawFromMemory(C8085Object& machine) {
    static constexpr CellRange ranges[] = {{0, 2}, {2, 4}, {6, 2}, {0, 8}};
    if (machine.c >= std::size(ranges)) {
        BadCall(machine);
    }
    const auto range = ranges[machine.c];
    for (int i = 0; i < range.count; ++i) {
        SetCell(machine, range.first + i, RawCode(MemoryAfterHL(machine, i)));
    }
    return true;
}

void SystemCalls::SerialReceive(C8085Object& machine) {
    const char* name = PortName(machine);
    auto& port = devices.serial;
    port.Open(name);
    std::optional<std::uint8_t> value;
    try {
        value = port.ReceiveByte(cancel);
    } catch (...) {
        port.Close();
        throw;
    }
    port.Close();
    if (!value) {
        Raise(machine, 0, StopCode::Cancelled, " Run stopped");
    }
    machine.b = *value;
}

void SystemCalls::SerialSend(C8085Object& machine) {
    const char* name = PortName(machine);
    auto& port = devices.serial;
    port.Open(name);
    bool sent = false;
    try {
        sent = port.SendByte(machine.b, cancel);
    } catch (...) {
        port.Close();
        throw;
    }
    port.Close();
    if (!sent) {
        Raise(machine, 0, StopCode::Cancelled, " Run stopped");
    }
}

void SystemCalls::Print(C8085Object& machine) {
    if (machine.c == 0) {
        // The character is printed as a C string: a NUL byte is an empty text.
        PrintText(machine,
                  machine.b == 0 ? std::string() : std::string(1, static_cast<char>(machine.b)));
    } else if (machine.c == 1) {
        PrintText(machine, std::to_string(machine.b));
    } else {
        BadCall(machine);
    }
}

void SystemCalls::PrintText(C8085Object& machine, const std::string& text) {
    if (!devices.printer.PrintText(text, cancel)) {
        Raise(machine, 0, StopCode::Cancelled, " Run stopped");
    }
}

bool SystemCalls::Prompt(C8085Object& machine, int& result, int max, const std::string& text,
                         int initialValue) {
    if (devices.prompt.PromptForNumber(result, 0, max, text, HexInitialText(initialValue),
                                       cancel)) {
        return true;
    }
    ThrowIfCancelled(machine);
    return false;
}

void SystemCalls::ThrowIfCancelled(C8085Object& machine) const {
    if (cancel.IsCancelled()) {
        Raise(machine, 0, StopCode::Cancelled, " Run stopped");
    }
}

const char* SystemCalls::PortName(C8085Object& machine) const {
    if (machine.c > 1) {
        BadCall(machine);
    }
    return machine.c == 0 ? "COM1" : "COM2";
}
