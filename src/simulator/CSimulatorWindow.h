#pragma once

#include <cstdint>
#include <string>

// What run control needs from the simulator window: the panes, the caption, the toolbar, the
// message box, the status bar, the source view and the close request.
//
// Threads. Run control calls these on the user-interface thread (single steps, the start of a
// run, Stop) and on the run's worker thread (Animate's per-instruction refresh, the end of a run
// and its stop message). A window implementation must therefore:
//  - read what it shows from the machine inside the call: during a worker-thread call the machine
//    is between two instructions and stays there until the call returns, whereas afterwards the
//    worker may be executing again;
//  - hand the work to the user-interface thread with a queued call (a Qt window: invoke a slot
//    with Qt::QueuedConnection, or Qt::AutoConnection) and return; it must never block waiting
//    for the user-interface thread, which may itself be waiting for the worker to end;
//  - not read the machine from the user-interface thread while a run is in progress.
class CSimulatorWindow {
public:
    virtual ~CSimulatorWindow() = default;

    // Refill and repaint the six panes and redraw the LED window.
    virtual void RefreshAll() = 0;
    // Scroll the Instructions pane to the program counter when it is outside the lines shown.
    virtual void FollowPC() = 0;
    // The window caption, e.g. from CRunControl::CaptionText(title, running); the LED window
    // gets the same text followed by "   LED Display ".
    virtual void SetCaption(bool running) = 0;
    // Stop enabled exactly while executing; Run, the steps, Close, Animate and the two breakpoint
    // buttons exactly while not.
    virtual void UpdateToolbar(bool executing) = 0;
    // Keyboard focus to the Instructions pane, when a run starts.
    virtual void FocusInstructions() = 0;
    // Move the source view's caret to the line of `address` and mark it as the execution line.
    // Throws CMyException code 31 when the address has no source line.
    virtual void ShowSourceLine(std::uint16_t address) = 0;
    // A message in the main frame's status bar.
    virtual void ShowStatusText(const std::string& text) = 0;
    // A message box captioned "Exception" with an OK button.
    virtual void ShowException(const std::string& message) = 0;
    // Post a close request to the window (its close then goes through CRunControl::Close).
    virtual void RequestClose() = 0;
};
