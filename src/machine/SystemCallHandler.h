#pragma once

class C8085Object;

// What the machine does for CALL 0x0005. The machine holds one handler, chosen by whoever builds
// the machine: the simulated devices in the program, a CP/M console in the CPU tests, a recorder
// in unit tests. A handler either returns (execution continues after the CALL) or throws
// CMyException (pc stays on the CALL).
class SystemCallHandler {
public:
    virtual ~SystemCallHandler() = default;
    virtual void SystemCall(C8085Object& machine) = 0;
};
