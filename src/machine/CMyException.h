#pragma once

#include <string>

// Codes of the machine's stops and of its devices. The assembler's codes (2 to 21) and the line
// map's (31) are named beside their throwers.
namespace StopCode {
constexpr int IllegalInstruction = 1;
constexpr int BadSystemCall = 9;
constexpr int StepOutEnd = 10;
constexpr int LedRange = 24;
constexpr int Breakpoint = 25;
constexpr int Halt = 26;
constexpr int SerialOpen = 27;
constexpr int SerialIo = 28;
constexpr int Printing = 30;
constexpr int NoSourceLine = 31;
// A blocking device wait (number prompt, serial read or write, delay, beep) was cancelled because
// the user stopped or closed the run. Silent like a breakpoint; pc stays on the CALL, so running
// again repeats the system call.
constexpr int Cancelled = 32;
} // namespace StopCode

// The one exception type of the simulator and the assembler: every stop of the machine and every
// assembler, line-map, device or printing error arrives at its catcher as a CMyException thrown by
// value. Line and column are read back out of the message (the assembler's position text puts
// them there), so a message built anywhere can still lead the editor to its source position.
class CMyException {
public:
    CMyException() = default;
    CMyException(int errorFlag, int code, std::string message);
    CMyException(const CMyException&) = default;
    CMyException& operator=(const CMyException&) = default;
    virtual ~CMyException() = default;

    int GetLine() const { return line; }
    int GetColumn() const { return column; }
    int GetCode() const { return code; }
    const std::string& GetMessage() const { return message; }
    bool IsBreakpoint() const { return code == StopCode::Breakpoint; }
    bool IsStepOutEnd() const { return code == StopCode::StepOutEnd; }

    int line = -1;
    int column = -1;
    std::string message = "No Error";
    int code = 0;
    int errorFlag = 0;
    int errorSet = 0;
};
