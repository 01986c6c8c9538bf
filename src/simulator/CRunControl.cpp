#include "simulator/CRunControl.h"

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/SystemCalls.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"

#include <chrono>
#include <exception>
#include <optional>
#include <system_error>

namespace {

// Anything but a CMyException escaping a step (a device's system error, memory exhaustion) is
// shown like a machine stop instead of ending the program.
CMyException AsStop(const std::exception& e) {
    return CMyException(1, 0, e.what());
}

} // namespace

CRunControl::CRunControl(C8085Object& machineToRun, CBreakpointList& breakpointList,
                         CSimulatorFlags& simulatorFlags, CSimulatorWindow& simulatorWindow,
                         SystemCalls* systemCalls)
    : machine(machineToRun), breakpoints(breakpointList), flags(simulatorFlags),
      window(simulatorWindow), devices(systemCalls) {
}

CRunControl::~CRunControl() {
    flags.executing.store(0);
    CancelWaits();
    WaitForRun();
}

std::string CRunControl::CaptionText(const std::string& title, bool running) {
    return " [" + title + "]  " + (running ? "[RUNNING]" : "[READY]");
}

void CRunControl::CancelWaits() {
    animationPause.Cancel();
    if (devices != nullptr) {
        devices->CancelWaits();
    }
}

void CRunControl::RearmWaits() {
    animationPause.Rearm();
    if (devices != nullptr) {
        devices->RearmWaits();
    }
}

bool CRunControl::IsSilentStop(int code) {
    return code == StopCode::Breakpoint || code == StopCode::StepOutEnd ||
           code == StopCode::Cancelled;
}

void CRunControl::WaitForRun() {
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) {
        worker.join();
    }
}

void CRunControl::StepInto(bool interactive) {
    if (flags.IsExecuting()) {
        return;
    }
    WaitForRun();
    RearmWaits();
    lastStepFailed = false;
    flags.executing.store(1);
    window.UpdateToolbar(true);
    std::optional<CMyException> stop;
    try {
        machine.Step();
        if (interactive) {
            window.FollowPC();
            window.RefreshAll();
            window.ShowSourceLine(machine.pc);
        }
    } catch (const CMyException& e) {
        stop = e;
    } catch (const std::exception& e) {
        stop = AsStop(e);
    }
    if (stop) {
        lastStepFailed = true;
        if (stop->GetCode() == StopCode::NoSourceLine) {
            window.ShowStatusText(stop->GetMessage());
        } else if (stop->GetCode() != StopCode::Cancelled) {
            window.ShowException(stop->GetMessage());
        }
    }
    flags.executing.store(0);
    window.UpdateToolbar(false);
}

void CRunControl::Run() {
    if (flags.IsExecuting()) {
        return;
    }
    StepInto(false);
    if (lastStepFailed) {
        DropFailedTemporaryBreakpoint();
        return;
    }
    breakpoints.PlantBreakpoints(true);
    StartRunThread(0);
}

void CRunControl::StepOver() {
    if (flags.IsExecuting()) {
        return;
    }
    WaitForRun();
    const int length = C8085Object::InstructionLength(machine.memory[machine.pc]);
    SetTemporaryBreakpoint(static_cast<std::uint16_t>(machine.pc + length));
    Run();
}

void CRunControl::RunToCursor(std::uint16_t address) {
    if (flags.IsExecuting()) {
        return;
    }
    WaitForRun();
    SetTemporaryBreakpoint(address);
    Run();
}

void CRunControl::StepOut() {
    if (flags.IsExecuting()) {
        return;
    }
    WaitForRun();
    machine.SetStepOut(1);
    StartRunThread(0);
}

void CRunControl::Animate() {
    // Unlike the other commands this one is reached only through a button that is disabled while
    // executing; testing anyway keeps two workers from ever sharing the machine.
    if (flags.IsExecuting()) {
        return;
    }
    StartRunThread(AnimateDelayMs);
}

void CRunControl::SetTemporaryBreakpoint(std::uint16_t address) {
    tempBreakpointId = breakpoints.AddTemporaryBreakpoint(address);
    tempBreakpointSet = true;
}

void CRunControl::DropFailedTemporaryBreakpoint() {
    // The run did not start, so no EndRun will remove it; left behind, it would stop later runs.
    if (tempBreakpointSet) {
        tempBreakpointSet = false;
        breakpoints.RemoveTemporaryBreakpoint(tempBreakpointId);
    }
}

void CRunControl::StartRunThread(int delay) {
    WaitForRun();
    RearmWaits();
    window.SetCaption(true);
    flags.executing.store(1);
    flags.runInProgress.store(1);
    delayMs = delay;
    window.FocusInstructions();
    window.UpdateToolbar(true);
    breakpoints.HoldMemoryForRun();
    try {
        worker = std::thread([this] { RunThreadProc(); });
    } catch (const std::system_error& e) {
        // No thread to run on: the run ends here, the way a failing worker would end it.
        OnRunException(AsStop(e));
    }
}

void CRunControl::RunThreadProc() {
    try {
        RunAndEnd();
    } catch (...) {
        // Only a window call can get here. The run must still end: no breakpoint byte left in
        // the program and no document left marked as executing for ever.
        breakpoints.RestoreSavedBytes();
        machine.SetStepOut(0);
        flags.runInProgress.store(0);
        flags.executing.store(0);
    }
}

void CRunControl::RunAndEnd() {
    std::optional<CMyException> stop;
    try {
        if (delayMs == 0) {
            RunFullSpeed();
        } else {
            RunAnimated();
        }
    } catch (const CMyException& e) {
        stop = e;
    } catch (const std::exception& e) {
        stop = AsStop(e);
    }
    if (stop) {
        OnRunException(*stop);
    } else {
        EndRun();
        // A Step Out ended by Stop leaves step-out mode too; left on, it would end a later step
        // or run at an unrelated return.
        machine.SetStepOut(0);
    }
}

void CRunControl::RunFullSpeed() {
    // The hot loop: one relaxed load and one step per instruction. Stop's store becomes visible
    // within an instruction or two; the join at the end orders everything else.
    const std::atomic<int>& executing = flags.executing;
    C8085Object& running = machine;
    while (executing.load(std::memory_order_relaxed) != 0) {
        running.Step();
    }
}

void CRunControl::RunAnimated() {
    while (flags.IsExecuting()) {
        std::optional<CMyException> stop;
        try {
            machine.Step();
        } catch (const CMyException& e) {
            stop = e;
        }
        window.FollowPC();
        window.RefreshAll();
        animationPause.SleepFor(std::chrono::milliseconds(delayMs));
        if (stop) {
            throw *stop;
        }
    }
}

void CRunControl::EndRun() {
    breakpoints.RestoreSavedBytes();
    if (tempBreakpointSet) {
        tempBreakpointSet = false;
        breakpoints.RemoveTemporaryBreakpoint(tempBreakpointId);
    }
    flags.runInProgress.store(0);
    window.FollowPC();
    window.RefreshAll();
    window.SetCaption(false);
    try {
        window.ShowSourceLine(machine.pc);
    } catch (const CMyException& e) {
        window.ShowStatusText(e.GetMessage());
    }
}

void CRunControl::OnRunException(const CMyException& e) {
    EndRun();
    machine.SetStepOut(0);
    flags.executing.store(0);
    window.UpdateToolbar(false);
    if (IsSilentStop(e.GetCode())) {
        return;
    }
    breakpoints.RestoreSavedBytes();
    window.FollowPC();
    window.RefreshAll();
    window.ShowException(e.GetMessage());
}

void CRunControl::Stop() {
    if (flags.IsExecuting()) {
        StopExecuting();
    }
}

void CRunControl::StopAndClose() {
    StopExecuting();
    window.RequestClose();
}

void CRunControl::StopExecuting() {
    flags.executing.store(0);
    CancelWaits();
    window.UpdateToolbar(false);
    // A worker refreshes the window itself once it has stopped; until then the machine is its.
    if (!worker.joinable()) {
        window.RefreshAll();
    }
}

bool CRunControl::Close() {
    if (flags.IsExecuting()) {
        return false;
    }
    flags.simulatorOpen.store(0);
    CancelWaits();
    WaitForRun();
    return true;
}
