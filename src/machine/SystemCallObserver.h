#pragma once

class C8085Object;

// Told of every system call that completed, right after its handler returned and before the
// CALL's program counter advance: the registers and LED cells then hold the call's effect. The
// Step Back history records it, so that going over the call again needs no device.
class SystemCallObserver {
public:
    virtual ~SystemCallObserver() = default;
    virtual void SystemCallCompleted(const C8085Object& machine) = 0;
};
