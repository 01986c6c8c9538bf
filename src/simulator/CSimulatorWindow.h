#pragma once

#include <cstdint>
#include <string>

// Numbers the commands of run control: every single step and every run takes the next number,
// and every window call made for it carries that number. Starts at 1; 0 is never used.
using RunSequence = std::uint64_t;

// Whether a refresh scrolls the Instructions pane to the program counter when it is outside the
// lines shown.
enum class Follow { Stay, Pc };

// What run control needs from the simulator window: the panes, the caption, the toolbar, the
// message box, the status bar, the source view and the close request.
//
// Threads. Run control calls these on the user-interface thread (single steps, the start of a
// run, Stop) and on the run's worker thread (Animate's per-instruction refresh, a single step of
// a system call, the end of a run and its stop message). A window implementation must therefore:
//  - read what it shows from the machine inside the call: during a worker-thread call the machine
//    is between two instructions and stays there until the call returns, whereas afterwards the
//    worker may be executing again;
//  - hand the work to the user-interface thread with a queued call (a Qt window: invoke a slot
//    with Qt::QueuedConnection, or Qt::AutoConnection) and return; it must never block waiting
//    for the user-interface thread, which may itself be waiting for the worker to end;
//  - not read the machine from the user-interface thread while a run is in progress.
//
// Late calls. A queued call of a run that has just ended can be delivered after the calls of
// the next step or run were made on the user-interface thread (an idle toolbar or "[READY]"
// after the next "[RUNNING]"). Each call therefore carries its RunSequence, and a window
// applies a delivered call only when its sequence is not older than the newest one it has
// applied; RunSequenceGate does that bookkeeping. Dropping late calls is safe because run control
// begins a new sequence only after the previous worker has ended, and every new sequence sets
// the caption and the toolbar before anything else.
//
// The machine's owner. RunStarted(s) is called on the user-interface thread just before the
// worker of sequence s starts; RunEnded(s) is the worker's very last act: once it is called, the
// worker neither reads nor writes the machine, the breakpoint list or the flags again, so the
// window may re-enable pane edits without waiting for the worker. A run that ends by Stop,
// Close or a stop of the machine ends with RunEnded as well.
class CSimulatorWindow {
public:
    virtual ~CSimulatorWindow() = default;

    // Refill and repaint the six panes and redraw the LED window.
    virtual void RefreshAll(RunSequence sequence, Follow follow) = 0;
    // The window caption, e.g. from CRunControl::CaptionText(title, running); the LED window
    // gets the same text followed by "   LED Display ".
    virtual void SetCaption(RunSequence sequence, bool running) = 0;
    // Stop enabled exactly while executing; Run, the steps, Close, Animate and the two breakpoint
    // buttons exactly while not.
    virtual void UpdateToolbar(RunSequence sequence, bool executing) = 0;
    // Keyboard focus to the Instructions pane, when a run starts.
    virtual void FocusInstructions(RunSequence sequence) = 0;
    // Move the source view's caret to the line of `address` and mark it as the execution line.
    // Throws CMyException code 31 when the address has no source line (decide that inside the
    // call, from the line map, which does not change during a run).
    virtual void ShowSourceLine(RunSequence sequence, std::uint16_t address) = 0;
    // A message in the main frame's status bar.
    virtual void ShowStatusText(RunSequence sequence, const std::string& text) = 0;
    // A message box captioned "Exception" with an OK button.
    virtual void ShowException(RunSequence sequence, const std::string& message) = 0;
    // Post a close request to the window (its close then goes through CRunControl::Close).
    virtual void RequestClose(RunSequence sequence) = 0;
    // The worker of `sequence` is about to start: the machine is the worker's until RunEnded.
    virtual void RunStarted(RunSequence sequence) = 0;
    // The worker of `sequence` is done with the machine (its last act).
    virtual void RunEnded(RunSequence sequence) = 0;
    // The breakpoint list changed while a run holds the machine (a temporary breakpoint of Step
    // Over or Run to Cursor): redraw the Instructions pane's breakpoint markers from the list,
    // without reading the machine. Called on the user-interface thread.
    virtual void ShowBreakpoints(RunSequence) {}
};
