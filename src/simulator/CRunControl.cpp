#include "simulator/CRunControl.h"

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/SystemCallHandler.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"

#include <algorithm>
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
                         CSimulatorFlags& simulatorFlags, CSimulatorWindow& simulatorWindow)
    : machine(machineToRun), breakpoints(breakpointList), flags(simulatorFlags),
      window(simulatorWindow), compiled(MachineImage::Take(machineToRun)) {
    machine.SetSystemCallObserver(&history);
}

CRunControl::~CRunControl() {
    flags.executing.store(0);
    CancelWaits();
    WaitForRun();
    if (machine.GetSystemCallObserver() == &history) {
        machine.SetSystemCallObserver(nullptr);
    }
}

std::string CRunControl::CaptionText(const std::string& title, bool running) {
    return " [" + title + "]  " + (running ? "[RUNNING]" : "[READY]");
}

void CRunControl::CancelWaits() {
    animationPause.Cancel();
    if (SystemCallHandler* devices = machine.GetSystemCallHandler()) {
        devices->CancelWaits();
    }
}

void CRunControl::RearmWaits() {
    animationPause.Rearm();
    if (SystemCallHandler* devices = machine.GetSystemCallHandler()) {
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

RunSequence CRunControl::BeginSequence() {
    // Only ever called with no worker left, so the worker never sees the number change.
    return ++sequence;
}

void CRunControl::PrepareHistory() {
    // Only ever called with no worker left: the history is this thread's until the next run.
    recording = historyEnabled.load();
    if (!recording) {
        history.Clear();
    }
}

void CRunControl::Execute() {
    machine.Step();
    if (recording) {
        history.Checkpoint(machine);
    }
}

void CRunControl::BeginRecording() {
    if (!recording) {
        return;
    }
    std::vector<StepHistory::SavedByte> planted;
    for (const auto& [address, byte] : breakpoints.PlantedBytes()) {
        planted.push_back({address, byte});
    }
    history.Begin(machine, std::move(planted));
}

void CRunControl::EndRecording(std::optional<int> stopCode) {
    if (recording) {
        history.End(machine, stopCode);
    }
}

void CRunControl::StepInto(bool interactive) {
    if (flags.IsExecuting()) {
        return;
    }
    WaitForRun();
    lastStepFailed = false;
    if (machine.IsSystemCallAt(machine.pc)) {
        // A device may wait for minutes; the window must stay responsive and Stop reachable.
        StartRunThread(RunMode::SingleStep);
        return;
    }
    RearmWaits();
    PrepareHistory();
    const RunSequence step = BeginSequence();
    window.SetCaption(step, false);
    flags.executing.store(1);
    window.UpdateToolbar(step, true);
    std::optional<CMyException> stop;
    BeginRecording();
    try {
        Execute();
        EndRecording(std::nullopt);
        if (interactive) {
            window.RefreshAll(step, Follow::Pc);
            window.ShowSourceLine(step, machine.pc);
        }
    } catch (const CMyException& e) {
        stop = e;
    } catch (const std::exception& e) {
        stop = AsStop(e);
    }
    if (stop) {
        EndRecording(stop->GetCode()); // nothing when the step itself had ended it
        lastStepFailed = true;
        if (stop->GetCode() == StopCode::NoSourceLine) {
            window.ShowStatusText(step, stop->GetMessage());
        } else if (stop->GetCode() != StopCode::Cancelled) {
            window.ShowException(step, stop->GetMessage());
        }
    }
    flags.executing.store(0);
    window.UpdateToolbar(step, false);
}

void CRunControl::Run() {
    if (flags.IsExecuting()) {
        return;
    }
    WaitForRun();
    if (machine.IsSystemCallAt(machine.pc)) {
        lastStepFailed = false;
        StartRunThread(RunMode::ArmAfterFirstStep);
        return;
    }
    StepInto(false);
    if (lastStepFailed) {
        DropFailedTemporaryBreakpoint();
        return;
    }
    breakpoints.PlantBreakpoints(true);
    StartRunThread(RunMode::FullSpeed);
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
    StartRunThread(RunMode::FullSpeed);
}

void CRunControl::Animate() {
    // Unlike the other commands this one is reached only through a button that is disabled while
    // executing; testing anyway keeps two workers from ever sharing the machine.
    if (flags.IsExecuting()) {
        return;
    }
    StartRunThread(RunMode::Animated);
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

void CRunControl::StartRunThread(RunMode runMode) {
    WaitForRun();
    RearmWaits();
    PrepareHistory();
    refreshRequested.store(false);
    const RunSequence run = BeginSequence();
    window.SetCaption(run, true);
    flags.executing.store(1);
    flags.runInProgress.store(1);
    mode = runMode;
    window.FocusInstructions(run);
    window.UpdateToolbar(run, true);
    // A temporary breakpoint of Step Over or Run to Cursor shows while its run goes on.
    if (tempBreakpointSet) {
        window.ShowBreakpoints(run);
    }
    BeginRecording();
    breakpoints.HoldMemoryForRun();
    window.RunStarted(run);
    try {
        worker = std::thread([this] { RunThreadProc(); });
    } catch (const std::system_error& e) {
        // No thread to run on: the run ends here, the way a failing worker would end it.
        OnRunException(AsStop(e));
        window.RunEnded(run);
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
    try {
        window.RunEnded(sequence);
    } catch (...) {
        // Nothing is left to undo; the worker ends either way.
    }
}

void CRunControl::RunAndEnd() {
    std::optional<CMyException> stop;
    try {
        switch (mode) {
        case RunMode::FullSpeed:
            RunFullSpeed();
            break;
        case RunMode::Animated:
            RunAnimated();
            break;
        case RunMode::SingleStep:
            Execute();
            break;
        case RunMode::ArmAfterFirstStep:
            // The first step with the breakpoints lifted, as Run does on the calling thread.
            Execute();
            EndRecording(std::nullopt);
            breakpoints.PlantBreakpoints(true);
            BeginRecording();
            RunFullSpeed();
            break;
        }
    } catch (const CMyException& e) {
        stop = e;
    } catch (const std::exception& e) {
        stop = AsStop(e);
    }
    EndRecording(stop ? std::optional<int>(stop->GetCode()) : std::nullopt);
    if (stop) {
        OnRunException(*stop);
    } else {
        EndRun();
        // A Step Out ended by Stop leaves step-out mode too; left on, it would end a later step
        // or run at an unrelated return.
        machine.SetStepOut(0);
        // A single step ends by itself, not by Stop.
        flags.executing.store(0);
        window.UpdateToolbar(sequence, false);
    }
}

void CRunControl::RunFullSpeed() {
    // The hot loop: one relaxed load and one step per instruction. Stop's store becomes visible
    // within an instruction or two; the join at the end orders everything else. Between chunks
    // of instructions the worker takes a history checkpoint when one is due and looks whether
    // the window asked for a copy of the machine.
    const std::atomic<int>& executing = flags.executing;
    C8085Object& running = machine;
    for (;;) {
        running.RunWhile(executing, RefreshChunk);
        if (recording) {
            history.Checkpoint(running);
        }
        if (executing.load(std::memory_order_relaxed) == 0) {
            return;
        }
        ServeRefreshRequest();
    }
}

void CRunControl::ServeRefreshRequest() {
    if (refreshRequested.load(std::memory_order_relaxed) && refreshRequested.exchange(false)) {
        window.RefreshAll(sequence, Follow::Pc);
    }
}

void CRunControl::RunAnimated() {
    while (flags.IsExecuting()) {
        std::optional<CMyException> stop;
        try {
            Execute();
        } catch (const CMyException& e) {
            stop = e;
        }
        refreshRequested.store(false); // this refresh serves it
        window.RefreshAll(sequence, Follow::Pc);
        animationPause.SleepFor(std::chrono::milliseconds(AnimateDelay()));
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
    window.RefreshAll(sequence, Follow::Pc);
    window.SetCaption(sequence, false);
    ShowSourceLineOrStatus(sequence);
}

void CRunControl::OnRunException(const CMyException& e) {
    EndRun();
    machine.SetStepOut(0);
    flags.executing.store(0);
    window.UpdateToolbar(sequence, false);
    if (IsSilentStop(e.GetCode())) {
        return;
    }
    // EndRun has already written the saved bytes back and shown the stopped state. A second
    // refresh here would find nothing changed and take away the red marks of the run.
    breakpoints.RestoreSavedBytes();
    window.ShowException(sequence, e.GetMessage());
}

void CRunControl::Stop() {
    if (flags.IsExecuting()) {
        StopExecuting();
    }
}

void CRunControl::StopAndClose() {
    StopExecuting();
    window.RequestClose(sequence);
}

void CRunControl::StopExecuting() {
    flags.executing.store(0);
    CancelWaits();
    window.UpdateToolbar(sequence, false);
    // A worker refreshes the window itself once it has stopped; until then the machine is its.
    if (!worker.joinable()) {
        window.RefreshAll(sequence, Follow::Stay);
    }
}

bool CRunControl::RequestRefresh() {
    if (!flags.IsRunInProgress()) {
        return false;
    }
    refreshRequested.store(true);
    return true;
}

void CRunControl::SetAnimateDelay(int milliseconds) {
    animateDelay.store(std::clamp(milliseconds, MinAnimateDelayMs, MaxAnimateDelayMs));
}

std::optional<std::string> CRunControl::StepBackNote(const StepHistory::Undone& undone) {
    const char* what = nullptr;
    const char* port = undone.subFunction == 1 ? "COM2" : "COM1";
    std::string text;
    switch (undone.systemCall) {
    case 8:
        what = "the beep";
        break;
    case 14:
        text = std::string("the byte read from ") + port + " stays read";
        break;
    case 15:
        text = std::string("the byte sent on ") + port + " stays sent";
        break;
    case 16:
    case 17:
        what = "the printed text";
        break;
    default:
        return std::nullopt;
    }
    if (what != nullptr) {
        text = std::string(what) + " stays done";
    }
    return "Stepped back over a system call: " + text;
}

std::optional<RunSequence> CRunControl::BeginIdleCommand() {
    if (flags.IsExecuting()) {
        return std::nullopt;
    }
    WaitForRun();
    const RunSequence step = BeginSequence();
    window.SetCaption(step, false);
    window.UpdateToolbar(step, false);
    return step;
}

void CRunControl::ShowSourceLineOrStatus(RunSequence shown) {
    try {
        window.ShowSourceLine(shown, machine.pc);
    } catch (const CMyException& e) {
        window.ShowStatusText(shown, e.GetMessage());
    }
}

void CRunControl::StepBack() {
    const auto step = BeginIdleCommand();
    if (!step) {
        return;
    }
    if (!historyEnabled.load()) {
        window.ShowStatusText(*step, "Step Back is off: switch the history on in Preferences");
        return;
    }
    const auto undone = history.StepBack(machine);
    if (!undone) {
        window.ShowStatusText(*step, "No earlier instruction to step back to");
        return;
    }
    window.RefreshAll(*step, Follow::Pc);
    ShowSourceLineOrStatus(*step);
    if (const auto note = StepBackNote(*undone)) {
        window.ShowStatusText(*step, *note);
    }
}

void CRunControl::Reset() {
    const auto step = BeginIdleCommand();
    if (!step) {
        return;
    }
    compiled.Restore(machine);
    history.Clear();
    // Twice: the second refill finds nothing changed, so no row stays red.
    window.RefreshAll(*step, Follow::Pc);
    window.RefreshAll(*step, Follow::Stay);
    ShowSourceLineOrStatus(*step);
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
