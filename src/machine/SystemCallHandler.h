#pragma once

class C8085Object;

// What the machine does for CALL 0x0005. The machine holds one handler, chosen by whoever builds
// the machine: the simulated devices in the program, a CP/M console in the CPU tests, a recorder
// in unit tests. A handler either returns (execution continues after the CALL) or throws
// CMyException (pc stays on the CALL).
//
// A handler whose calls can wait (for the user, a device or time) ends such a wait once
// CancelWaits() is called, from another thread or a signal handler, and stays cancelled until
// RearmWaits(), which run control calls before each step or run. Handlers that never wait keep
// the empty defaults.
class SystemCallHandler {
public:
    virtual ~SystemCallHandler() = default;
    virtual void SystemCall(C8085Object& machine) = 0;
    virtual void CancelWaits() noexcept {}
    virtual void RearmWaits() noexcept {}
};
