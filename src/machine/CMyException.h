#pragma once

#include "machine/ErrorCodes.h"

#include <string>

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
