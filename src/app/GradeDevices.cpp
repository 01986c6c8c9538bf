#include "app/GradeDevices.h"

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/ErrorCodes.h"
#include "simulator/ParseTypedNumber.h"

void GradeDevices::Reset(const std::vector<std::string>& answers, const std::string& com1Input,
                         const std::string& com2Input) {
    keyboard = answers;
    answered = 0;
    ports[0] = {com1Input, 0, {}};
    ports[1] = {com2Input, 0, {}};
    openPort = 0;
    printed.clear();
    beeps = 0;
}

void GradeDevices::Attach(C8085Object& machine) {
    machine.SetSystemCallHandler(&calls);
}

// As a user at the number prompt: an answer that is no number or out of range is refused and the
// next one is tried; with no answer left the prompt is cancelled and the program goes on.
bool GradeDevices::PromptForNumber(int& result, int min, int max, const std::string&,
                                   const std::string&, const CancelSignal&) {
    while (answered < keyboard.size()) {
        const auto value = ParseTypedNumber(keyboard[answered++]);
        if (value && *value >= min && *value <= max) {
            result = *value;
            return true;
        }
    }
    return false;
}

void GradeDevices::Beep(int, int, const CancelSignal&) {
    ++beeps;
}

void GradeDevices::Wait(std::chrono::milliseconds, const CancelSignal&) {
}

void GradeDevices::Open(const std::string& name) {
    openPort = name == "COM2" ? 1 : 0;
}

std::optional<std::uint8_t> GradeDevices::ReceiveByte(const CancelSignal&) {
    auto& line = ports[openPort];
    if (line.read >= line.input.size()) {
        throw CMyException(1, StopCode::SerialIo,
                           std::string(openPort == 0 ? "COM1" : "COM2") + " has no more input");
    }
    return static_cast<std::uint8_t>(line.input[line.read++]);
}

bool GradeDevices::SendByte(std::uint8_t value, const CancelSignal&) {
    auto& sent = ports[openPort].sent;
    if (sent.size() < longestOutput) {
        sent.push_back(static_cast<char>(value));
    }
    return true;
}

void GradeDevices::Close() {
}

bool GradeDevices::PrintText(const std::string& text, const CancelSignal&) {
    printed.append(text, 0, longestOutput - std::min(printed.size(), longestOutput));
    return true;
}
