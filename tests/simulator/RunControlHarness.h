#pragma once

// What the run-control tests share: a window that records what run control asks of it, and a
// document-like bench with a machine, its breakpoint list, its flags and its run control.

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"
#include "simulator/RunSequenceGate.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Records what run control asks of the window, as the window would apply it: through a
// RunSequenceGate, so a late call is dropped. Calls from the thread that built the window (the
// "user-interface thread") apply at once; calls from other threads apply at once too, unless
// `deliverLate` is set: then they wait in a queue until DeliverQueued(), as queued calls wait for
// a busy event loop. Called on the worker thread as well, so it records under a mutex.
class RecordingWindow : public CSimulatorWindow {
public:
    void RefreshAll(RunSequence s, Follow follow) override {
        if (failRefresh) {
            throw std::runtime_error("refresh failed");
        }
        Record(s, follow == Follow::Pc ? "RefreshAll following PC" : "RefreshAll");
    }
    void SetCaption(RunSequence s, bool running) override {
        Record(s, running ? "[RUNNING]" : "[READY]");
    }
    void UpdateToolbar(RunSequence s, bool executing) override {
        Record(s, executing ? "Toolbar executing" : "Toolbar idle");
    }
    void FocusInstructions(RunSequence s) override { Record(s, "Focus"); }
    void ShowSourceLine(RunSequence s, std::uint16_t address) override {
        if (sourceAddresses.count(address) == 0) {
            throw CMyException(0, StopCode::NoSourceLine, "No equivalent source line");
        }
        Record(s, "SourceLine " + std::to_string(address));
    }
    void ShowStatusText(RunSequence s, const std::string& text) override {
        Record(s, "Status " + text);
    }
    void ShowException(RunSequence s, const std::string& message) override {
        Record(s, "Exception " + message);
    }
    void RequestClose(RunSequence s) override { Record(s, "RequestClose"); }
    void RunStarted(RunSequence s) override { Record(s, "RunStarted"); }
    void RunEnded(RunSequence s) override { Record(s, "RunEnded"); }
    void ShowBreakpoints(RunSequence s) override { Record(s, "Breakpoints"); }

    // Applies the calls held back by `deliverLate`, in the order they were made.
    void DeliverQueued() {
        std::vector<std::pair<RunSequence, std::string>> held;
        {
            std::lock_guard lock(mutex);
            held.swap(queued);
        }
        for (auto& [s, event] : held) {
            std::lock_guard lock(mutex);
            Apply(s, std::move(event));
        }
    }
    // What the window shows now: the last caption and toolbar applied, and whether the gate
    // counts a run as holding the machine.
    std::string Caption() const { return Last("["); }
    std::string Toolbar() const { return Last("Toolbar"); }
    bool RunHoldsMachine() const {
        std::lock_guard lock(mutex);
        return gate.RunInProgress();
    }

    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex);
        return events;
    }
    std::vector<std::string> EventsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& event : Events()) {
            if (event.rfind(prefix, 0) == 0) {
                found.push_back(event);
            }
        }
        return found;
    }
    void Clear() {
        std::lock_guard lock(mutex);
        events.clear();
    }
    // Waits until `event` has been recorded, or queued when delivered late (or a generous time
    // has passed).
    bool WaitFor(const std::string& event) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] {
            for (const auto& e : events) {
                if (e == event) {
                    return true;
                }
            }
            for (const auto& q : queued) {
                if (q.second == event) {
                    return true;
                }
            }
            return false;
        });
    }

    // Addresses the source view knows a line for; set before a run starts.
    std::set<std::uint16_t> sourceAddresses;
    // Makes RefreshAll throw, as a faulty window might.
    std::atomic<bool> failRefresh{false};
    std::atomic<bool> deliverLate{false};

private:
    void Record(RunSequence s, std::string event) {
        std::lock_guard lock(mutex);
        if (deliverLate && std::this_thread::get_id() != uiThread) {
            queued.emplace_back(s, std::move(event));
            changed.notify_all();
            return;
        }
        Apply(s, std::move(event));
    }
    void Apply(RunSequence s, std::string event) {
        const bool current = event == "RunStarted" ? gate.Started(s)
                             : event == "RunEnded" ? gate.Ended(s)
                                                   : gate.Accept(s);
        if (current) {
            events.push_back(std::move(event));
        }
        changed.notify_all();
    }
    std::string Last(const std::string& prefix) const {
        const auto found = EventsStartingWith(prefix);
        return found.empty() ? std::string() : found.back();
    }

    const std::thread::id uiThread = std::this_thread::get_id();
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> events;
    std::vector<std::pair<RunSequence, std::string>> queued;
    RunSequenceGate gate;
};

// A one-shot event between threads.
class Signal {
public:
    void Set() {
        std::lock_guard lock(mutex);
        set = true;
        changed.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [this] { return set; });
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
};

// Machine, breakpoints, flags and window of one document, and the run control over them.
class RunBench : public CBreakpointList {
public:
    RunBench() : control(machine, *this, flags, window) { flags.SetSimulatorOpen(true); }
    ~RunBench() override {
        // The worker may still call the window; stop it before the members go.
        control.Stop();
        control.WaitForRun();
    }

    C8085Object& GetMachine() override { return machine; }

    void Load(std::initializer_list<int> bytes, std::uint16_t at = 0) {
        for (int byte : bytes) {
            machine.memory[at++] = static_cast<std::uint8_t>(byte);
        }
    }

    bool FlagsClear() const { return !flags.IsExecuting() && !flags.IsRunInProgress(); }

    C8085Object machine;
    CSimulatorFlags flags;
    RecordingWindow window;
    CRunControl control;
};

// The window calls of a run: `expected` in any order, and RunEnded, which must come last (after
// it the window owns the machine again). The order of the others is run control's own business.
inline testing::AssertionResult RunCallsAre(std::vector<std::string> actual,
                                            std::vector<std::string> expected) {
    if (actual.empty() || actual.back() != "RunEnded") {
        return testing::AssertionFailure() << "RunEnded is not the last call";
    }
    actual.pop_back();
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    if (actual != expected) {
        std::string shown;
        for (const auto& call : actual) {
            shown += "\n  " + call;
        }
        return testing::AssertionFailure() << "the calls before RunEnded were:" << shown;
    }
    return testing::AssertionSuccess();
}
