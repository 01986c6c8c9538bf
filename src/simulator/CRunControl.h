#pragma once

#include "machine/CancelSignal.h"

#include <cstdint>
#include <string>
#include <thread>

class C8085Object;
class CBreakpointList;
class CMyException;
class CSimulatorFlags;
class CSimulatorWindow;
class SystemCalls;

// Executes a document's machine for its simulator window: single steps on the calling
// (user-interface) thread; Run, Step Over, Run to Cursor, Step Out and Animate on one worker
// thread. Every stop arrives as a CMyException; breakpoints (25), the end of a step-out (10) and a
// cancelled device wait (32) are silent, a missing source line (31) after a single step goes to
// the status bar, every other stop to an "Exception" box.
//
// All public operations are called from the user-interface thread. A new step or run first waits
// until the previous worker has finished; Stop and Close cancel a device wait the worker is
// blocked in (number prompt, serial read, delay) through the machine's system calls, so neither
// ever kills a thread or waits for a device. `systemCalls` may be null when the machine has no
// devices that wait.
class CRunControl {
public:
    static constexpr int AnimateDelayMs = 400;

    CRunControl(C8085Object& machineToRun, CBreakpointList& breakpointList,
                CSimulatorFlags& simulatorFlags, CSimulatorWindow& simulatorWindow,
                SystemCalls* systemCalls);
    CRunControl(const CRunControl&) = delete;
    CRunControl& operator=(const CRunControl&) = delete;
    // Stops a run still going and waits for its worker, which may call the window until then:
    // destroy the run control before the window, the machine and the breakpoint list.
    ~CRunControl();

    // " [<title>]  [READY]" or " [<title>]  [RUNNING]".
    static std::string CaptionText(const std::string& title, bool running);

    // One instruction on this thread; an interactive step then refreshes the window and marks
    // the source line of the new program counter.
    void StepInto(bool interactive = true);
    // Steps once with the breakpoints lifted (so a run never stops on the breakpoint it stands
    // on), then plants them and runs at full speed.
    void Run();
    // Runs until the instruction after the current one is reached, whatever its kind.
    void StepOver();
    void RunToCursor(std::uint16_t address);
    // Runs, ignoring breakpoints, until the return that leaves the current subroutine.
    void StepOut();
    // Runs, ignoring breakpoints, with a refresh and a pause after every instruction.
    void Animate();
    // Ends a run or step: the worker notices within one instruction or one cancelled wait.
    void Stop();
    // Stop, then ask the window to close.
    void StopAndClose();
    // Refused (false) while executing. Otherwise clears simulatorOpen, cancels any device wait
    // and waits for the worker; the window may then be destroyed.
    bool Close();

    bool LastStepFailed() const { return lastStepFailed; }
    // Waits until the worker of the last run, if any, has ended.
    void WaitForRun();

private:
    // Clears executing and cancels any device wait: the worker ends at its next instruction.
    void StopExecuting();
    void StartRunThread(int delay);
    void RunThreadProc();
    void RunAndEnd();
    void RunFullSpeed();
    void RunAnimated();
    void EndRun();
    void OnRunException(const CMyException& e);
    void SetTemporaryBreakpoint(std::uint16_t address);
    void DropFailedTemporaryBreakpoint();
    void CancelWaits();
    void RearmWaits();
    static bool IsSilentStop(int code);

    C8085Object& machine;
    CBreakpointList& breakpoints;
    CSimulatorFlags& flags;
    CSimulatorWindow& window;
    SystemCalls* devices;
    CancelSignal animationPause; // cut short by Stop

    std::thread worker;
    int delayMs = 20;
    bool tempBreakpointSet = false;
    int tempBreakpointId = 0;
    bool lastStepFailed = false;
};
