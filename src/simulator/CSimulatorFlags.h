#pragma once

#include <atomic>

// The three state flags of a document's simulator. The user-interface thread and the run's worker
// thread both read and write them, so each is an atomic integer used as a boolean.
//
// simulatorOpen: a simulator window is open on the document (the compile command and the
//                document's close refuse while it is set).
// runInProgress: a run or animation is on the worker thread; the panes ignore input meanwhile.
// executing:     the machine is executing a step or a run; every command that starts execution
//                refuses while it is set, and the worker ends its run when it finds it clear.
class CSimulatorFlags {
public:
    void SetSimulatorOpen(bool flag) { simulatorOpen.store(flag ? 1 : 0); }
    bool IsSimulatorOpen() const { return simulatorOpen.load() != 0; }
    void SetRunInProgress(bool flag) { runInProgress.store(flag ? 1 : 0); }
    bool IsRunInProgress() const { return runInProgress.load() != 0; }
    void SetExecuting(bool flag) { executing.store(flag ? 1 : 0); }
    bool IsExecuting() const { return executing.load() != 0; }
    void ClearSimulatorFlags() {
        simulatorOpen.store(0);
        runInProgress.store(0);
        executing.store(0);
    }

    std::atomic<int> simulatorOpen{0};
    std::atomic<int> runInProgress{0};
    std::atomic<int> executing{0};
};
