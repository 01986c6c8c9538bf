#pragma once

#include "machine/CancelSignal.h"
#include "machine/MachineImage.h"
#include "machine/StepHistory.h"
#include "simulator/CSimulatorWindow.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

class C8085Object;
class CBreakpointList;
class CMyException;
class CSimulatorFlags;

// Executes a document's machine for its simulator window: single steps on the calling
// (user-interface) thread; Run, Step Over, Run to Cursor, Step Out and Animate on one worker
// thread. Every stop arrives as a CMyException; breakpoints (25), the end of a step-out (10) and a
// cancelled device wait (32) are silent, a missing source line (31) after a single step goes to
// the status bar, every other stop to an "Exception" box.
//
// All public operations are called from the user-interface thread. A new step or run first waits
// until the previous worker has finished; Stop and Close cancel a device wait the worker is
// blocked in (number prompt, serial read or write, delay, beep, printing) through the machine's
// system-call handler, so neither ever kills a thread or waits for a device.
//
// No device wait runs on the user-interface thread: a step whose instruction is a system call
// (CALL 0x0005) runs on the worker like a run, with Stop enabled while it lasts; so does the
// first step of Run when it is one. Every step and run takes a new RunSequence, which all its
// window calls carry (see CSimulatorWindow).
//
// Teaching tools beside the stated commands: every instruction executed here can be recorded in
// a StepHistory (on unless switched off) and undone by StepBack; Reset puts back the machine as
// the compile left it (taken when the run control is built, right after the compile); Refresh
// during a run has the worker hand over a copy at its next instruction boundary.
class CRunControl {
public:
    static constexpr int AnimateDelayMs = 400;
    static constexpr int MinAnimateDelayMs = 50;
    static constexpr int MaxAnimateDelayMs = 2000;
    // Instructions a full-speed run executes between two looks at a refresh request.
    static constexpr std::uint64_t RefreshChunk = 1 << 14;

    CRunControl(C8085Object& machineToRun, CBreakpointList& breakpointList,
                CSimulatorFlags& simulatorFlags, CSimulatorWindow& simulatorWindow);
    CRunControl(const CRunControl&) = delete;
    CRunControl& operator=(const CRunControl&) = delete;
    // Stops a run still going and waits for its worker, which may call the window until then:
    // destroy the run control before the window, the machine, its system-call handler (the
    // document's DeviceSet) and the breakpoint list.
    ~CRunControl();

    // " [<title>]  [READY]" or " [<title>]  [RUNNING]".
    static std::string CaptionText(const std::string& title, bool running);

    // One instruction on this thread; an interactive step then refreshes the window and marks
    // the source line of the new program counter. A system call is stepped on the worker
    // instead (LastStepFailed then stays false; the worker shows its stop itself).
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

    // Undoes the last instruction executed (refused while executing): the panes show what it had
    // changed, the source view its line; a system call whose effect left the machine (a beep,
    // serial bytes, printed text) is named in the status bar, since that effect stays done.
    void StepBack();
    // The machine as the compile left it, breakpoints kept, counters zeroed, history cleared,
    // panes refreshed without change marks (refused while executing).
    void Reset();
    // The worker hands the window a copy of the machine at its next instruction boundary (a
    // refresh of the panes that follows the program counter). False when no run is in progress.
    bool RequestRefresh();
    // Pause of Animate after each instruction, read at every step; clamped to 50 ms .. 2 s.
    void SetAnimateDelay(int milliseconds);
    int AnimateDelay() const { return animateDelay.load(std::memory_order_relaxed); }
    // Whether steps and runs record their instructions for Step Back; switching it off drops the
    // history at the next step or run.
    void SetHistoryEnabled(bool enabled) { historyEnabled.store(enabled); }
    bool HistoryEnabled() const { return historyEnabled.load(); }
    // Instructions Step Back can undo now (user-interface thread, not while executing).
    std::uint64_t HistoryReach() const { return history.Reach(); }
    // The status-bar note of an undone system call whose effect left the machine, if any.
    static std::optional<std::string> StepBackNote(const StepHistory::Undone& undone);

    bool LastStepFailed() const { return lastStepFailed; }
    // Waits until the worker of the last run, if any, has ended.
    void WaitForRun();
    // The sequence of the latest step or run (0 before the first).
    RunSequence CurrentSequence() const { return sequence; }

private:
    enum class RunMode {
        FullSpeed,         // until Stop or a stop of the machine
        Animated,          // the same, with a refresh and a pause after every instruction
        SingleStep,        // one instruction (a system call stepped into)
        ArmAfterFirstStep, // Run standing on a system call: step it, plant, then full speed
    };

    // Clears executing and cancels any device wait: the worker ends at its next instruction.
    void StopExecuting();
    RunSequence BeginSequence();
    // The start of a command that needs the machine idle (Step Back, Reset): a new sequence with
    // the caption and toolbar of an idle window; null while executing.
    std::optional<RunSequence> BeginIdleCommand();
    // The source line of the program counter, or the reason there is none in the status bar.
    void ShowSourceLineOrStatus(RunSequence shown);
    // One instruction; with the history on, a checkpoint when one is due.
    void Execute();
    // Decides for the step or run about to start whether it records.
    void PrepareHistory();
    // Frame an execution in the history (when recording): Begin with the breakpoints as they
    // are planted now, End with the code of the stop that ended it.
    void BeginRecording();
    void EndRecording(std::optional<int> stopCode);
    // Serves a refresh asked for during a run, on the worker.
    void ServeRefreshRequest();
    void StartRunThread(RunMode mode);
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
    CancelSignal animationPause; // cut short by Stop
    const MachineImage compiled;
    StepHistory history;
    std::atomic<bool> historyEnabled{true};
    bool recording = true; // for the step or run in progress
    std::atomic<bool> refreshRequested{false};
    std::atomic<int> animateDelay{AnimateDelayMs};

    std::thread worker;
    // Written on this thread only while no worker exists; the worker reads it.
    RunSequence sequence = 0;
    RunMode mode = RunMode::FullSpeed;
    bool tempBreakpointSet = false;
    int tempBreakpointId = 0;
    bool lastStepFailed = false;
};
